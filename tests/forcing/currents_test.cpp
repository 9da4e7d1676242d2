// Current field records: grid rows, joint files, masks, layers, corrections,
// the depth-mean series and the start-of-interval twin.
#include "forcing/currents.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forcing/lists.hpp"
#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class Currents : public forcing_files {};

std::vector<double> column(const farray<double, 2>& a, int32_t l) {
  std::vector<double> v;
  for (int32_t k = 1; k <= a.size(1); ++k) v.push_back(a(k, l));
  return v;
}

template <typename T>
std::vector<T> all(const farray<T, 1>& a) {
  return std::vector<T>(a.begin(), a.end());
}

// A 3 x 2 U grid "1 2 3 / 4 5 6" (northern row first) gives the nodes, in
// node order (latitude fastest), 4, 1, 5, 2, 6, 3; a V grid of 2 x 3 is
// stored over its own size.
TEST_F(Currents, GridRowsNorthernRowFirst) {
  allocate_currents(6, 6, 0, 1, 2);
  current_grids(3, 2, 2, 3);
  var_cfg.currentgridformat__xyz_grid = 2;
  fixture("grid_u_3x2.txt");
  fixture("grid_v_2x3.txt");
  var1.fichvel_u(1) = name256("grid_u_3x2.txt");
  var1.fichvel_v(1) = name256("grid_v_2x3.txt");
  lee_velocidad(1);
  EXPECT_EQ(column(var2.u_curr_read, 1), (std::vector<double>{4, 1, 5, 2, 6, 3}));
  EXPECT_EQ(column(var2.v_curr_read, 1), (std::vector<double>{50, 30, 10, 60, 40, 20}));
  EXPECT_EQ(all(var2.xcorr_u), (std::vector<double>{370, 370, 370.5, 370.5, 371, 371}));
  EXPECT_EQ(all(var2.ycorr_u), (std::vector<double>{40, 40.25, 40, 40.25, 40, 40.25}));
  EXPECT_EQ(all(var2.xcorr_v), (std::vector<double>{371, 371, 371, 371.125, 371.125, 371.125}));
  EXPECT_EQ(all(var2.ycorr_v), (std::vector<double>{41, 41.5, 42, 41, 41.5, 42}));

  // Record 2: a row split over two lines; the node coordinates of record 1
  // stay.
  write("u2.txt", "7 8\n9\n10 11 12\n");
  var1.fichvel_u(2) = name256("u2.txt");
  var1.fichvel_v(2) = name256("grid_v_2x3.txt");
  var_mallasforz.gridformatcurru_0x = 0.0;
  lee_velocidad(2);
  EXPECT_EQ(column(var2.u_curr_read, 1), (std::vector<double>{10, 7, 11, 8, 12, 9}));
  EXPECT_EQ(var2.xcorr_u(6), 371.0);

  // Values left over, on a row's last line or after the last row, are
  // refused as a file short of values is.
  write("u2.txt", "7 8\n9 99 99\n10 11 12\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(2); }).what(),
               "u2.txt:2: a grid row holds 3 values, but this line holds 2 more after the row's last one: check the "
               "node counts of the grid");
  write("u2.txt", "7 8 9\n10 11 12\n13 14 15\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(2); }).what(),
               "u2.txt:3: values after the last of the grid's 2 rows: the file holds more rows than the grid has "
               "(check the node counts of the grid)");
  write("u2.txt", "7,5 8,5 9,5\n10 11 12\n");
  EXPECT_NE(std::string(input_error_of([] { lee_velocidad(2); }).what()).find("is the comma the decimal mark?"),
            std::string::npos);
}

TEST_F(Currents, JointFilesFourAndFiveColumns) {
  allocate_currents(3, 3, 3, 1, 1);
  var_cfg.currentfilesjointuvw__y_n = 1;
  var2.w_curr_read.fill(-7.0);
  var2.xcorr_v.fill(-1.0);
  fixture("joint_4col.txt");
  fixture("joint_5col.txt");
  fixture("joint_5col_w_equal.txt");

  var1.fichvel_uvw(1) = name256("joint_4col.txt");
  var_currwindwave.wcurrentsflag = 1;
  lee_velocidad(1);
  EXPECT_EQ(var_currwindwave.wcurrentsflag, 0);
  EXPECT_EQ(column(var2.u_curr_read, 1), (std::vector<double>{0.1, 0.3, 0.5}));
  EXPECT_EQ(column(var2.v_curr_read, 1), (std::vector<double>{0.2, 0.4, 0.6}));
  EXPECT_EQ(column(var2.w_curr_read, 1), (std::vector<double>{-7, -7, -7}));  // no W read
  EXPECT_EQ(all(var2.xcorr_u), (std::vector<double>{352, 352, 352.5}));
  EXPECT_EQ(all(var2.ycorr_u), (std::vector<double>{43, 43.5, 43}));
  EXPECT_EQ(all(var2.xcorr_v), (std::vector<double>{-1, -1, -1}));  // V nodes not set

  var1.fichvel_uvw(1) = name256("joint_5col.txt");
  lee_velocidad(1);
  EXPECT_EQ(var_currwindwave.wcurrentsflag, 1);
  EXPECT_EQ(column(var2.w_curr_read, 1), (std::vector<double>{0.01, 0.02, 0.03}));

  // The first w equals the first value of line 2: still five columns.
  var1.fichvel_uvw(1) = name256("joint_5col_w_equal.txt");
  var_currwindwave.wcurrentsflag = 0;
  lee_velocidad(1);
  EXPECT_EQ(var_currwindwave.wcurrentsflag, 1);
  EXPECT_EQ(column(var2.w_curr_read, 1), (std::vector<double>{-0.8, 0.02, 0.03}));
}

TEST_F(Currents, JointFileOfOneLineAndBadFirstLines) {
  allocate_currents(1, 1, 1, 1, 1);
  var_cfg.currentfilesjointuvw__y_n = 1;
  var1.fichvel_uvw(1) = name256("j.txt");
  write("j.txt", "\n-3 40 0.5 0.25 0.125\n");  // a blank line before the first node
  lee_velocidad(1);
  EXPECT_EQ(var_currwindwave.wcurrentsflag, 1);
  EXPECT_EQ(var2.w_curr_read(1, 1), 0.125);
  EXPECT_EQ(var2.xcorr_u(1), 357.0);

  write("j.txt", "-3 40 0.5\n1 2 3\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "j.txt:1: expected 4 or 5 values (longitude, latitude, u, v and maybe w), found 3");

  // Five columns, but no room for a vertical current at every node.
  reset_state();
  allocate_currents(2, 2, 1, 1, 1);
  var_cfg.currentfilesjointuvw__y_n = 1;
  var1.fichvel_uvw(1) = name256("j.txt");
  write("j.txt", "-3 40 0.5 0.25 0.125\n-3 41 0.5 0.25 0.125\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "j.txt:1: a five-column joint current file gives a vertical current at each of its 2 nodes, "
               "but xyzcurrentnodes_number(3) = 1 W nodes");
}

// A time-varying node list of 12 nodes whose longitude changes after every
// 5 nodes: ny = 5, nx = 2, and only the first 10 lines fill the mask.
TEST_F(Currents, MaskFromTwelveNodeList) {
  allocate_currents(12, 1, 0, 1, 1);
  var_cfg.currentgrid_variable__y_n = 1;
  fixture("mask_nodes_12.txt");
  var1.fichvel_u(1) = name256("mask_nodes_12.txt");
  write("v.txt", "-9 42 0.5\n");
  var1.fichvel_v(1) = name256("v.txt");
  lee_velocidad(1);
  ASSERT_TRUE(var2.mask.allocated());
  EXPECT_EQ(var2.mask.size(1), 2);
  EXPECT_EQ(var2.mask.size(2), 5);
  const std::vector<int32_t> indicator{1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 1, 0};
  for (int32_t ix = 1; ix <= 2; ++ix)
    for (int32_t iy = 1; iy <= 5; ++iy) EXPECT_EQ(var2.mask(ix, iy), indicator[(ix - 1) * 5 + iy - 1]);
  EXPECT_EQ(all(var2.indland), indicator);
  EXPECT_DOUBLE_EQ(var2.u_curr_read(12, 1), 0.12);
  EXPECT_FALSE(var2.mask0.allocated());
}

// On a regular grid each node of a node list is placed by its coordinates:
// a U file written row by row with its wet/dry indicator, a V file and its
// corrections in other orders give the values, the indicators and the mask
// of each node where the node is.
TEST_F(Currents, NodeListsOnARegularGridArePlacedByTheirCoordinates) {
  allocate_currents(6, 6, 0, 1, 1);
  allocate_corrections(1);
  var_mallas.currentgrid_regular__y_n = 1;
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.currentcorrection__y_n = 1;
  var_cfg.currcorrectgridformat__xyz_grid = 1;
  // Node (i, j) at longitude -10 + i, latitude 41.5 + 0.5 j: u = i + j / 10,
  // v = -u, wet when i + j is odd, correction j / 100.
  auto u_at = [](int i, int j) { return i + j / 10.0; };
  std::string u, v, uc, vc;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 2; ++i)
      u += std::to_string(-10 + i) + " " + std::to_string(41.5 + 0.5 * j) + " " + std::to_string(u_at(i, j)) + " " +
           std::to_string((i + j) % 2) + "\n";
  const int shuffled[6][2] = {{2, 3}, {1, 1}, {2, 1}, {1, 3}, {2, 2}, {1, 2}};
  for (const auto& n : shuffled) {
    const std::string at = std::to_string(-10 + n[0]) + " " + std::to_string(41.5 + 0.5 * n[1]) + " ";
    v += at + std::to_string(-u_at(n[0], n[1])) + "\n";
    uc += at + std::to_string(n[1] / 100.0) + "\n";
    vc += at + "0\n";
  }
  write("u.txt", u);
  write("v.txt", v);
  write("uc.txt", uc);
  write("vc.txt", vc);
  var1.fichvel_u(1) = name256("u.txt");
  var1.fichvel_v(1) = name256("v.txt");
  var1.fichvel_uc(1) = name256("uc.txt");
  var1.fichvel_vc(1) = name256("vc.txt");
  lee_velocidad(1);
  ASSERT_TRUE(var2.mask.allocated());
  ASSERT_EQ(var2.mask.size(1), 2);
  ASSERT_EQ(var2.mask.size(2), 3);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const int k = (i - 1) * 3 + j;
      EXPECT_EQ(var2.xcorr_u(k), 350.0 + i) << k;
      EXPECT_EQ(var2.ycorr_u(k), 41.5 + 0.5 * j) << k;
      EXPECT_NEAR(var2.u_curr_read(k, 1), u_at(i, j) + j / 100.0, 1e-12) << k;
      EXPECT_NEAR(var2.v_curr_read(k, 1), -u_at(i, j), 1e-12) << k;
      EXPECT_EQ(var2.indland(k), (i + j) % 2) << k;
      EXPECT_EQ(var2.mask(i, j), (i + j) % 2) << k;
    }
  }
}

// On a time-varying grid a dry node of the U file may hold any number (the
// mask says it is dry); the V file has no mask and keeps its range.
TEST_F(Currents, DryNodesExemptInTheUFilesOnly) {
  allocate_currents(4, 4, 0, 1, 1);
  var_cfg.currentgrid_variable__y_n = 1;
  var1.fichvel_u(1) = name256("u.txt");
  var1.fichvel_v(1) = name256("v.txt");
  write("u.txt", "-9 42 0.1 1\n-9 43 999.0 0\n-8 42 0.1 1\n-8 43 0.1 1\n");
  write("v.txt", "-9 42 0.5\n-9 43 0.5\n-8 42 0.5\n-8 43 0.5\n");
  EXPECT_NO_THROW(lee_velocidad(1));
  write("v.txt", "-9 42 0.5\n-9 43 999.0\n-8 42 0.5\n-8 43 0.5\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(), "v.txt:2: v = 999: must be from -15 to 15 m/s");
}

// The positions of a time-varying grid's U file keep their own ranges: a
// grid at 120 E and 30 S is read; a longitude or a latitude off the globe is
// refused as such.
TEST_F(Currents, DryNodeFilesKeepThePositionRanges) {
  allocate_currents(4, 4, 0, 1, 1);
  var_cfg.currentgrid_variable__y_n = 1;
  var1.fichvel_u(1) = name256("u.txt");
  var1.fichvel_v(1) = name256("v.txt");
  write("u.txt", "120 -30 0.1 1\n120 -29 999.0 0\n121 -30 0.1 1\n121 -29 0.1 1\n");
  write("v.txt", "120 -30 0.5\n120 -29 0.5\n121 -30 0.5\n121 -29 0.5\n");
  EXPECT_NO_THROW(lee_velocidad(1));
  EXPECT_EQ(var2.xcorr_u(3), 481.0);
  write("u.txt", "120 -30 0.1 1\n120 -29 999.0 0\n121 -30 0.1 1\n121 -95 0.1 1\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(), "u.txt:4: latitude = -95: must be from -90 to 90 degrees");
  write("u.txt", "120 -30 0.1 1\n400 -29 999.0 0\n121 -30 0.1 1\n121 -29 0.1 1\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "u.txt:2: longitude = 400: must be from -360 to 360 degrees");
}

TEST_F(Currents, MaskValuesOtherThanZeroAndOne) {
  allocate_currents(4, 1, 0, 1, 1);
  var_cfg.currentgrid_variable__y_n = 1;
  var1.fichvel_u(1) = name256("u.txt");
  var1.fichvel_v(1) = name256("v.txt");
  write("v.txt", "-9 42 0.5\n");
  write("u.txt", "-9 42 0.1 1\n-9 43 0.1 0\n-8 42 0.1 2\n-8 43 0.1 1\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "u.txt:3: expected a mask value of 0 or 1, found 2");

  // One longitude only: no column length.
  write("u.txt", "-9 42 0.1 1\n-9 43 0.1 0\n-9 44 0.1 1\n-9 45 0.1 1\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "u.txt:0: a time-varying current grid given as a node list needs at least two longitudes to "
               "find its columns; its 4 nodes lie at one longitude");

  // Mask grid file.
  reset_state();
  allocate_currents(6, 6, 0, 1, 1);
  current_grids(3, 2, 3, 2);
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.currentgridformat__xyz_grid = 2;
  fixture("grid_u_3x2.txt");
  var1.fichvel_u(1) = name256("grid_u_3x2.txt");
  var1.fichvel_v(1) = name256("grid_u_3x2.txt");
  var1.fichvel_mask(1) = name256("m.txt");
  write("m.txt", "1 0 1\n0 1 1\n");
  lee_velocidad(1);
  // mask(ix, iy) in storage order: the southern row (the file's last) first.
  EXPECT_EQ(std::vector<int32_t>(var2.mask.begin(), var2.mask.end()), (std::vector<int32_t>{0, 1, 1, 1, 0, 1}));
  EXPECT_EQ(all(var2.indland), (std::vector<int32_t>{0, 1, 1, 0, 1, 1}));
  write("m.txt", "1 0 1\n0 -1 1\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "m.txt:2: expected a mask value of 0 or 1, found -1");
}

// Three layers and four records: record 2 reads entries 4, 5, 6.
TEST_F(Currents, LayersOfARecord) {
  allocate_currents(1, 1, 0, 3, 4);
  for (int r = 1; r <= 4; ++r) {
    for (int l = 1; l <= 3; ++l) {
      const std::string id = std::to_string(r) + std::to_string(l);
      write("u" + id, "-9 42 0." + id + "\n");
      write("v" + id, "-9 42 -0." + id + "\n");
      var1.fichvel_u((r - 1) * 3 + l) = name256("u" + id);
      var1.fichvel_v((r - 1) * 3 + l) = name256("v" + id);
    }
  }
  lee_velocidad(2);
  EXPECT_EQ(var2.u_curr_read(1, 1), 0.21);
  EXPECT_EQ(var2.u_curr_read(1, 2), 0.22);
  EXPECT_EQ(var2.u_curr_read(1, 3), 0.23);
  EXPECT_EQ(var2.v_curr_read(1, 3), -0.23);
  lee_velocidad(4);
  EXPECT_EQ(var2.u_curr_read(1, 3), 0.43);
}

// Corrections are added to layer 1, for node lists and for grids.
TEST_F(Currents, CorrectionsAddToTheSurfaceLayer) {
  allocate_currents(2, 2, 0, 2, 1);
  allocate_corrections(1);
  var_cfg.currcorrectgridformat__xyz_grid = 1;
  write("u1", "-9 42 1.0\n-9 43 2.0\n");
  write("u2", "-9 42 3.0\n-9 43 4.0\n");
  write("v1", "-9 42 5.0\n-9 43 6.0\n");
  write("v2", "-9 42 7.0\n-9 43 8.0\n");
  write("uc", "1e40 0 0.25\n0 0 -0.5\n");  // longitude and latitude are not used
  write("vc", "0 0 0.125\n0 0 0.0625\n");
  var1.fichvel_u(1) = name256("u1");
  var1.fichvel_u(2) = name256("u2");
  var1.fichvel_v(1) = name256("v1");
  var1.fichvel_v(2) = name256("v2");
  var1.fichvel_uc(1) = name256("uc");
  var1.fichvel_vc(1) = name256("vc");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "uc:1: expected a single-precision real number (longitude), found \"1e40\"");
  write("uc", "0 0 0.25\n0 0 -0.5\n");
  lee_velocidad(1);
  EXPECT_EQ(column(var2.u_curr_read, 1), (std::vector<double>{1.25, 1.5}));
  EXPECT_EQ(column(var2.u_curr_read, 2), (std::vector<double>{3.0, 4.0}));
  EXPECT_EQ(column(var2.v_curr_read, 1), (std::vector<double>{5.125, 6.0625}));
  EXPECT_EQ(column(var2.v_curr_read, 2), (std::vector<double>{7.0, 8.0}));

  // Grid format with correction grids.
  reset_state();
  allocate_currents(6, 6, 0, 1, 1);
  current_grids(3, 2, 3, 2);
  allocate_corrections(1);
  var_cfg.currentgridformat__xyz_grid = 2;
  var_cfg.currcorrectgridformat__xyz_grid = 2;
  var2.ucpg.allocate(3, 2);
  var2.vcpg.allocate(3, 2);
  fixture("grid_u_3x2.txt");
  write("ucg", "0.1 0.2 0.3\n0.4 0.5 0.6\n");
  var1.fichvel_u(1) = name256("grid_u_3x2.txt");
  var1.fichvel_v(1) = name256("grid_u_3x2.txt");
  var1.fichvel_uc(1) = name256("ucg");
  var1.fichvel_vc(1) = name256("ucg");
  lee_velocidad(1);
  EXPECT_EQ(column(var2.u_curr_read, 1),
            (std::vector<double>{4 + 0.4, 1 + 0.1, 5 + 0.5, 2 + 0.2, 6 + 0.6, 3 + 0.3}));
  EXPECT_EQ(all(var2.vcp), (std::vector<double>{0.4, 0.1, 0.5, 0.2, 0.6, 0.3}));
}

// The depth-mean series moves on one line per call, whatever the record
// index, and holds its last line once a run outlasts it.
TEST_F(Currents, DepthMeanSeriesHoldsItsLastLine) {
  allocate_currents(1, 1, 0, 1, 1);
  var_run.sim__2d_3d = 2;
  var_cfg.current3dinputformat_layers_average = 2;
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = name256("data/");
  write("data/u", "-9 42 1.5\n");
  write("data/v", "-9 42 2.5\n");
  write("data/lstcurr_UVW_col.pre", "0.1 0.2 surplus\n\n0.3,0.4\n   \n\n");
  write("lstcurr_UVW_col.pre", "9 9\n");  // the working directory's series is not the one read
  var1.fichvel_u(1) = name256("u");
  var1.fichvel_v(1) = name256("v");

  const double expected[][2] = {{0.1, 0.2}, {0.3, 0.4}, {0.3, 0.4}, {0.3, 0.4}};
  for (const auto& e : expected) {
    lee_velocidad(1);
    EXPECT_EQ(var2.u_curr_read_colprom(1), e[0]);
    EXPECT_EQ(var2.v_curr_read_colprom(1), e[1]);
    EXPECT_EQ(var2.u_curr_read(1, 1), 1.5);  // the same record every time
  }
  EXPECT_EQ(var_capas.flag_currcol, 1);

  // Closed, it starts again from its first line.
  reset_forcing_readers();
  lee_velocidad(1);
  EXPECT_EQ(var2.u_curr_read_colprom(1), 0.1);

  // A series without values is an error at the first read.
  reset_forcing_readers();
  var_capas.flag_currcol = 0;
  write("data/lstcurr_UVW_col.pre", "\n\n");
  EXPECT_STREQ(input_error_of([] { lee_velocidad(1); }).what(),
               "data/lstcurr_UVW_col.pre:1: expected a real number (depth-mean u), found end of file");
}

// The depth-mean series read record by record: the values as read, what
// went to standard error and the error's text ("" when none).
struct depth_mean_read {
  std::vector<std::pair<double, double>> values;
  std::string warnings;
  std::string error;
};

// Extra columns in the depth-mean series read as the series without them,
// warned once for the file; a decimal comma on any record, even one the run
// has not reached, is refused before the first is used.
TEST_F(Currents, DepthMeanSeriesWarnsOfExtraColumnsAndRefusesDecimalCommas) {
  allocate_currents(1, 1, 0, 1, 1);
  var_run.sim__2d_3d = 2;
  var_cfg.current3dinputformat_layers_average = 2;
  var_run.datafolder__same_other = 2;
  auto read_depth_means = [this](const std::string& name, const std::string& text, int reads) {
    reset_forcing_readers();
    var_cfg.ruta = name256(name + "/");
    write(name + "/u", "-9 42 1.5\n");
    write(name + "/v", "-9 42 2.5\n");
    write(name + "/lstcurr_UVW_col.pre", text);
    var1.fichvel_u(1) = name256("u");
    var1.fichvel_v(1) = name256("v");
    var_capas.flag_currcol = 0;
    depth_mean_read out;
    ::testing::internal::CaptureStderr();
    try {
      for (int k = 0; k < reads; ++k) {
        lee_velocidad(1);
        out.values.emplace_back(var2.u_curr_read_colprom(1), var2.v_curr_read_colprom(1));
      }
    } catch (const input_error& e) {
      out.error = e.what();
    }
    out.warnings = ::testing::internal::GetCapturedStderr();
    return out;
  };
  const auto correct = read_depth_means("plain", "0.1 0.2\n0.3 0.4\n-0.5 0.25\n", 3);
  ASSERT_EQ(correct.error, "");
  EXPECT_EQ(correct.warnings, "");
  ASSERT_EQ(correct.values.size(), 3u);
  EXPECT_EQ(correct.values[2], std::make_pair(-0.5, 0.25));

  const auto extra = read_depth_means("extra", "0.1 0.2\n0.3 0.4 0.0 12\n-0.5 0.25 0.0 12\n", 3);
  EXPECT_EQ(extra.error, "");
  EXPECT_EQ(extra.values, correct.values);
  EXPECT_EQ(extra.warnings,
            "orvel: warning: extra/lstcurr_UVW_col.pre:2: the line holds 4 values, but its record takes 2: the values "
            "beyond the first 2 are not read (said once for this file; a file written for another tool may carry "
            "extra columns)\n");

  struct row {
    const char* what;
    const char* text;
    const char* says;
  };
  const row rows[] = {
      {"comma", "0.1 0.2\n0.3 0.4\n-0,5 0,25\n",
       "comma/lstcurr_UVW_col.pre:3: the line holds 4 values, but its record takes 2: is the comma the decimal mark?"},
      {"comma_first", "0,1 0,2\n0.3 0.4\n",
       "comma_first/lstcurr_UVW_col.pre:1: the line holds 4 values, but its record takes 2: is the comma the decimal "
       "mark?"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const auto refused = read_depth_means(r.what, r.text, 1);
    EXPECT_EQ(refused.error.rfind(r.says, 0), 0u) << refused.error;
    EXPECT_TRUE(refused.values.empty());
    EXPECT_EQ(refused.warnings, "");
  }
}

// The start-of-interval twin: every layer of record i (entries (i - 1) L + l),
// with its vertical current, from separate U, V and W files even when the
// joint switch is on; corrections added to layer 1 of u0 and v0; the
// end-of-interval fields untouched; the mask is the last layer's.
TEST_F(Currents, StartOfIntervalRecord) {
  allocate_currents(2, 2, 2, 2, 2);
  allocate_corrections(2);
  var_cfg.currcorrectgridformat__xyz_grid = 1;
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.currentfilesjointuvw__y_n = 1;
  var_currwindwave.wcurrentsflag = 1;
  write("u1", "-9 42 1.0 1\n-8 42 2.0 0\n");
  write("u2", "-9 42 5.0 0\n-8 42 6.0 1\n");
  write("v1", "-9 42 3.0\n-8 42 4.0\n");
  write("v2", "-9 42 7.0\n-8 42 8.0\n");
  write("w1", "-9 42 -0.001\n-8 42 -0.002\n");
  write("w2", "-9 42 -0.003\n-8 42 -0.004\n");
  write("c", "0 0 0.5\n0 0 0.25\n");
  // Record 2: entries 3 (layer 1) and 4 (layer 2).
  for (const char* layer : {"1", "2"}) {
    const int32_t e = 2 + std::stoi(layer);
    var1.fichvel_u(e) = name256(std::string("u") + layer);
    var1.fichvel_v(e) = name256(std::string("v") + layer);
    var1.fichvel_w(e) = name256(std::string("w") + layer);
  }
  var1.fichvel_uc(2) = name256("c");
  var1.fichvel_vc(2) = name256("c");
  var2.v_curr_read.fill(-1.0);
  var2.w_curr_read.fill(-1.0);
  lee_velocidad0(2);
  EXPECT_EQ(column(var2.u0, 1), (std::vector<double>{1.5, 2.25}));
  EXPECT_EQ(column(var2.u0, 2), (std::vector<double>{5, 6}));
  EXPECT_EQ(column(var2.v0, 1), (std::vector<double>{3.5, 4.25}));
  EXPECT_EQ(column(var2.v0, 2), (std::vector<double>{7, 8}));
  EXPECT_EQ(column(var2.w0, 1), (std::vector<double>{-0.001, -0.002}));
  EXPECT_EQ(column(var2.w0, 2), (std::vector<double>{-0.003, -0.004}));
  EXPECT_EQ(column(var2.v_curr_read, 1), (std::vector<double>{-1, -1}));
  EXPECT_EQ(column(var2.w_curr_read, 2), (std::vector<double>{-1, -1}));
  EXPECT_EQ(all(var2.indland0), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(all(var2.indland), (std::vector<int32_t>{0, 0}));
  ASSERT_TRUE(var2.mask0.allocated());
  EXPECT_EQ(std::vector<int32_t>(var2.mask0.begin(), var2.mask0.end()), (std::vector<int32_t>{0, 1}));
  EXPECT_FALSE(var2.mask.allocated());
  EXPECT_EQ(var_currwindwave.wcurrentsflag, 1);
}

// Grid node coordinates: the twin builds them at every call, the reader of
// the latest record for record 1 only.
TEST_F(Currents, GridNodeCoordinatesOfTheTwins) {
  allocate_currents(6, 6, 0, 1, 2);
  current_grids(3, 2, 3, 2);
  var_cfg.currentgridformat__xyz_grid = 2;
  fixture("grid_u_3x2.txt");
  for (int32_t k = 1; k <= 2; ++k) {
    var1.fichvel_u(k) = name256("grid_u_3x2.txt");
    var1.fichvel_v(k) = name256("grid_u_3x2.txt");
  }
  var_mallasforz.gridformatcurru_0x = 100.0;
  lee_velocidad(2);
  EXPECT_EQ(var2.xcorr_u(1), 0.0);
  lee_velocidad0(2);
  EXPECT_EQ(var2.xcorr_u(1), 100.0);
  EXPECT_EQ(column(var2.u0, 1), (std::vector<double>{4, 1, 5, 2, 6, 3}));
  EXPECT_EQ(std::vector<double>(var2.ug0.begin(), var2.ug0.end()), (std::vector<double>{4, 5, 6, 1, 2, 3}));
}

// A missing field file is an error naming it and the list line that named
// it; a record index beyond the list is an error too.
TEST_F(Currents, MissingFieldFile) {
  allocate_currents(1, 1, 0, 1, 2);
  var_mallas.currentgrid_regular__y_n = 1;
  write("U_lstcurr.pre", "u1\nu2\n");
  write("V_lstcurr.pre", "v1\nv2\n");
  write("u1", "-9 42 1\n");
  write("v1", "-9 42 1\n");
  int32_t wflag = 0;
  lee_listafich(1, 1, wflag);
  lee_velocidad(1);
  input_error e = input_error_of([] { lee_velocidad(2); });
  EXPECT_STREQ(e.what(), "u2:0: cannot open the file (missing or unreadable) (named on line 2 of U_lstcurr.pre)");
  EXPECT_EQ(dir_.files(), (std::vector<std::string>{"U_lstcurr.pre", "V_lstcurr.pre", "u1", "v1"}));
  EXPECT_STREQ(input_error_of([] { lee_velocidad(3); }).what(),
               "U_lstcurr.pre:0: record 3 has no file name: the list gives 2 names");
  write("U_lstcurr.pre", "u1\n   \n");
  lee_listafich(1, 1, wflag);
  EXPECT_STREQ(input_error_of([] { lee_velocidad(2); }).what(),
               "U_lstcurr.pre:2: blank line where the file name of record 2 belongs");
  lee_corrientes_hd();  // reads nothing
}

}  // namespace
}  // namespace orvel::forcing_test
