#include "control/geography.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "common/values_left.hpp"
#include "control/state/reset_state.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_costa.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasconc.hpp"
#include "control/state/var_run.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;
using testing::write_file;

const std::string geo = std::string(ORVEL_FIXTURES) + "/geography/";

// The 3 x 4 grid: longitudes -4.0, -3.9, -3.8, latitudes 43.0 to 43.3; the
// depth of node (i, j) is 10 i + j.
const std::string nodes_3x4 =
    "-4.0 43.0 11\n-4.0 43.1 12\n-4.0 43.2 13\n-4.0 43.3 14\n"
    "-3.9 43.0 21\n-3.9 43.1 22\n-3.9 43.2 23\n-3.9 43.3 24\n"
    "-3.8 43.0 31\n-3.8 43.1 32\n-3.8 43.2 33\n-3.8 43.3 34\n";
// The same depths as rows, the northernmost first.
const std::string rows_3x4 = "14 24 34\n13 23 33\n12 22 32\n11 21 31\n";

void node_list_grid(const std::string& name) {
  var_mallas.gridname = fixlen(name, 12);
  var_cfg.gridformat__xyz_grid = 1;
}

void regular_grid(const std::string& name, double x0, double y0, double dx, double dy, int32_t nx, int32_t ny,
                  double latmean) {
  auto& g = var_mallas;
  g.gridname = fixlen(name, 12);
  var_cfg.gridformat__xyz_grid = 2;
  g.grid0_x = x0;
  g.grid0_y = y0;
  g.deltax = dx;
  g.deltay = dy;
  g.xcells_number = nx;
  g.ycells_number = ny;
  g.latmean = latmean;
}

struct grid_copy {
  int32_t nx, ny;
  std::vector<float> d;
  std::vector<double> x, y;
  double x0, y0, dx, dy, latmean, loni, lons, lati, lats;
};

grid_copy take_grid() {
  const auto& g = var_mallas;
  grid_copy c;
  c.nx = g.xcells_number;
  c.ny = g.ycells_number;
  c.x0 = g.grid0_x;
  c.y0 = g.grid0_y;
  c.dx = g.deltax;
  c.dy = g.deltay;
  c.latmean = g.latmean;
  c.loni = g.loni;
  c.lons = g.lons;
  c.lati = g.lati;
  c.lats = g.lats;
  c.d.assign(g.d.begin(), g.d.end());
  c.x.assign(g.xbat.begin(), g.xbat.end());
  c.y.assign(g.ybat.begin(), g.ybat.end());
  return c;
}

// Node-list and regular layouts of one grid agree: depths exactly, the
// coordinates and derived values to rounding.
void expect_same_grid(const grid_copy& a, const grid_copy& b) {
  ASSERT_EQ(a.nx, b.nx);
  ASSERT_EQ(a.ny, b.ny);
  EXPECT_EQ(a.d, b.d);
  ASSERT_EQ(a.x.size(), b.x.size());
  for (std::size_t k = 0; k < a.x.size(); ++k) {
    EXPECT_NEAR(a.x[k], b.x[k], 1e-9) << k;
    EXPECT_NEAR(a.y[k], b.y[k], 1e-9) << k;
  }
  EXPECT_NEAR(a.x0, b.x0, 1e-9);
  EXPECT_NEAR(a.y0, b.y0, 1e-9);
  EXPECT_NEAR(a.dx, b.dx, 1e-9);
  EXPECT_NEAR(a.dy, b.dy, 1e-9);
  EXPECT_NEAR(a.latmean, b.latmean, 1e-9);
  EXPECT_NEAR(a.loni, b.loni, 1e-9);
  EXPECT_NEAR(a.lons, b.lons, 1e-9);
  EXPECT_NEAR(a.lati, b.lati, 1e-9);
  EXPECT_NEAR(a.lats, b.lats, 1e-9);
}

TEST(LeoBat, NodeListOfThreeColumnsOfFourNodes) {
  temp_dir dir;
  reset_state();
  write_file("grid.dat", nodes_3x4);
  node_list_grid("grid.dat");
  leo_bat();
  const auto& g = var_mallas;
  EXPECT_EQ(g.ycells_number, 4);
  EXPECT_EQ(g.xcells_number, 3);
  EXPECT_EQ(g.grid0_x, 356.0);
  EXPECT_EQ(g.grid0_y, 43.0);
  EXPECT_NEAR(g.deltax, 0.1, 1e-12);
  EXPECT_NEAR(g.deltay, 0.1, 1e-12);
  EXPECT_NEAR(g.latmean, 43.15, 1e-12);
  EXPECT_EQ(g.loni, 356.0);
  EXPECT_NEAR(g.lons, 356.2, 1e-12);
  EXPECT_EQ(g.lati, 43.0);
  EXPECT_NEAR(g.lats, 43.3, 1e-12);
  // Node 5 is the first of the second column, with the depth of line 5.
  EXPECT_EQ(g.xbat(5), -3.9 + 360.0);
  EXPECT_EQ(g.ybat(5), 43.0);
  EXPECT_EQ(g.d(2, 1), 21.0f);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(g.d(i, j), static_cast<float>(10 * i + j));
  EXPECT_EQ(g.zcells_number, 1);
}

TEST(LeoBat, LinesAfterTheLastCompleteColumnAreIgnored) {
  temp_dir dir;
  reset_state();
  write_file("a.dat", nodes_3x4);
  node_list_grid("a.dat");
  leo_bat();
  const grid_copy plain = take_grid();

  reset_state();
  write_file("b.dat", "\n" + nodes_3x4.substr(0, 52) + "\n  \n" + nodes_3x4.substr(52) +
                          "-3.7 43.0 41\n-3.7 43.1 42\nend of data\n");
  node_list_grid("b.dat");
  leo_bat();
  EXPECT_EQ(var_mallas.xcells_number, 3);
  expect_same_grid(plain, take_grid());
}

TEST(LeoBat, RegularLayoutMatchesTheNodeList) {
  temp_dir dir;
  reset_state();
  write_file("nodes.dat", nodes_3x4);
  node_list_grid("nodes.dat");
  leo_bat();
  const grid_copy from_nodes = take_grid();

  reset_state();
  // A row may run over several lines.
  write_file("rows.dat", "14 24\n 34\n13,23,33\n12 22 32\n11 21 31\n");
  regular_grid("rows.dat", -4.0, 43.0, 0.1, 0.1, 3, 4, 43.15);
  leo_bat();
  expect_same_grid(from_nodes, take_grid());
  // The first row of the file is the northern row.
  EXPECT_EQ(var_mallas.d(1, 4), 14.0f);
  EXPECT_EQ(var_mallas.d(3, 1), 31.0f);
}

TEST(LeoBat, DepthsLeftOverOrNotNumbersAreRefused) {
  // Each file against the 3 x 4 grid; the correct file beside them reads.
  struct row {
    const char* what;
    const char* text;
    int64_t line;
    const char* says;
  };
  const row rows[] = {
      {"a value beyond its row", "14 24\n 34 99\n13,23,33\n12 22 32\n11 21 31\n", 2,
       "row 1 of the depths holds 3 values, but this line holds 1 more after its last one: the grid has 3 nodes "
       "west-east (xcells_number = 3, ycells_number = 4)"},
      {"decimal commas", "14,5 24,5 34,5\n13 23 33\n12 22 32\n11 21 31\n", 1, "is the comma the decimal mark?"},
      {"a row too many", "14 24 34\n13 23 33\n12 22 32\n11 21 31\n10 20 30\n", 5,
       "values after the last of the grid's 4 rows of depths"},
      {"a depth that is not a number", "14 24 34\n13 nan 33\n12 22 32\n11 21 31\n", 2, "finite"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    temp_dir dir;
    reset_state();
    write_file("rows.dat", r.text);
    regular_grid("rows.dat", -4.0, 43.0, 0.1, 0.1, 3, 4, 43.15);
    try {
      leo_bat();
      ADD_FAILURE() << "not refused";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "rows.dat");
      EXPECT_EQ(e.line(), r.line);
      EXPECT_NE(e.message().find(r.says), std::string::npos) << e.message();
    }
  }
  {
    // The same for a depth in a node list.
    temp_dir dir;
    reset_state();
    std::string nodes = nodes_3x4;
    nodes.replace(nodes.find("43.2 23"), 7, "43.2 nan");
    write_file("nodes.dat", nodes);
    node_list_grid("nodes.dat");
    try {
      leo_bat();
      ADD_FAILURE() << "not refused";
    } catch (const input_error& e) {
      EXPECT_EQ(e.line(), 7);
      EXPECT_NE(e.message().find("a finite real number (depth)"), std::string::npos) << e.message();
    }
  }
  temp_dir dir;
  reset_state();
  write_file("rows.dat", "14 24 34\n13 23 33\n12 22 32\n11 21 31\n\n");
  regular_grid("rows.dat", -4.0, 43.0, 0.1, 0.1, 3, 4, 43.15);
  EXPECT_NO_THROW(leo_bat());  // blank lines after the last row are nothing
}

TEST(LeoBat, RealGridInBothLayouts) {
  reset_state();
  node_list_grid(geo + "fisterra_nodes.txt");
  var_mallas.gridname = geo + "fisterra_nodes.txt";  // longer than 12 characters: set directly
  leo_bat();
  const grid_copy from_nodes = take_grid();
  EXPECT_EQ(from_nodes.nx, 11);
  EXPECT_EQ(from_nodes.ny, 9);
  EXPECT_NEAR(from_nodes.x0, 350.7, 1e-9);
  EXPECT_NEAR(from_nodes.dx, 0.01, 1e-9);
  EXPECT_NEAR(from_nodes.latmean, 42.92, 1e-9);

  reset_state();
  regular_grid("", -9.3, 42.88, 0.01, 0.01, 11, 9, 42.92);
  var_mallas.gridname = geo + "fisterra_rows.txt";
  leo_bat();
  expect_same_grid(from_nodes, take_grid());
}

TEST(LeoBat, RegularOriginTakes360) {
  temp_dir dir;
  reset_state();
  write_file("g.dat", "1 2\n3 4\n");
  regular_grid("g.dat", -10.0, 35.0, 0.5, 0.25, 2, 2, 35.1);
  leo_bat();
  const auto& g = var_mallas;
  EXPECT_EQ(g.xbat(1), 350.0);
  EXPECT_EQ(g.xbat(3), 350.5);
  EXPECT_EQ(g.ybat(2), 35.25);
  EXPECT_EQ(g.grid0_x, 350.0);
  EXPECT_EQ(g.latmean, 35.1);  // as given
  EXPECT_EQ(g.lons, 350.5);
  EXPECT_EQ(g.lats, 35.25);
}

TEST(LeoBat, DataFolderPrefixOnlyWhenAsked) {
  temp_dir dir;
  std::filesystem::create_directory("sub");
  write_file("sub/grid.dat", nodes_3x4);
  reset_state();
  var_cfg.ruta = fixlen("sub/", 256);
  node_list_grid("grid.dat");
  EXPECT_THROW(leo_bat(), input_error);  // bare name: not in the working directory
  reset_state();
  var_cfg.ruta = fixlen("sub/", 256);
  var_run.datafolder__same_other = 2;
  node_list_grid("grid.dat");
  leo_bat();
  EXPECT_EQ(var_mallas.xcells_number, 3);
}

// Bad grid files: the error names the file and the line, and nothing is
// created.
TEST(LeoBat, BadNodeListsNameFileAndLine) {
  struct bad_case {
    const char* what;
    std::string text;
    int64_t line;
    const char* message;
  };
  const std::string col1 = "-4.0 43.0 1\n-4.0 43.1 1\n-4.0 43.2 1\n";
  const std::string col2 = "-3.9 43.0 1\n-3.9 43.1 1\n-3.9 43.2 1\n";
  const std::vector<bad_case> cases = {
      {"empty file", "", 1, "no node"},
      {"one column", col1, 1, "at least 2 columns"},
      {"one row", "-4.0 43.0 1\n-3.9 43.0 1\n-3.8 43.0 1\n", 2, "at least 2 nodes per column"},
      {"second column short", col1 + "-3.9 43.0 1\n-3.9 43.1 1\n", 4, "at least 2 complete columns"},
      {"longitude changes within a column", col1 + "-3.9 43.0 1\n-3.8 43.1 1\n-3.8 43.2 1\n", 5,
       "complete columns of 3 nodes of equal longitude"},
      {"column repeated", col1 + col2 + col2, 7, "from west to east"},
      {"columns east to west", col1 + "-4.1 43.0 1\n-4.1 43.1 1\n-4.1 43.2 1\n", 4, "from west to east"},
      {"latitudes not south to north", "-4.0 43.0 1\n-4.0 43.2 1\n-4.0 43.1 1\n" + col2, 3, "from south to north"},
      {"depth missing", col1 + "-3.9 43.0\n-3.9 43.1 1\n-3.9 43.2 1\n", 4, "fewer values on the line"},
      {"depth not a number", col1 + col2.substr(0, 10) + "x\n", 4, "depth"},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    reset_state();
    write_file("grid.dat", c.text);
    node_list_grid("grid.dat");
    try {
      leo_bat();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "grid.dat") << c.what;
      EXPECT_EQ(e.line(), c.line) << c.what << ": " << e.what();
      EXPECT_NE(e.message().find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"grid.dat"}) << c.what;
  }
}

TEST(LeoBat, MissingShortOrUndefinedGridsAreErrors) {
  temp_dir dir;
  reset_state();
  node_list_grid("none.dat");
  EXPECT_THROW(leo_bat(), input_error);
  EXPECT_TRUE(dir.files().empty());  // not created by reading

  reset_state();
  regular_grid("none.dat", 0, 0, 1, 1, 2, 2, 0);
  EXPECT_THROW(leo_bat(), input_error);
  EXPECT_TRUE(dir.files().empty());

  reset_state();
  write_file("short.dat", "1 2\n3\n");
  regular_grid("short.dat", 0, 0, 1, 1, 2, 2, 0);
  EXPECT_THROW(leo_bat(), input_error);

  reset_state();
  write_file("g.dat", "1 2\n3 4\n");
  regular_grid("g.dat", 0, 0, 1, 1, 0, 2, 0);
  EXPECT_THROW(leo_bat(), input_error);

  reset_state();
  regular_grid("g.dat", 0, 0, 1, 1, 2, 2, 0);
  var_cfg.gridformat__xyz_grid = 3;
  EXPECT_THROW(leo_bat(), input_error);
}

TEST(LeoBat, ConcentrationGridIsTheModelGridUnlessItsOwnIsAsked) {
  temp_dir dir;
  write_file("grid.dat", nodes_3x4);
  const auto& g = var_mallas;
  const auto& c = var_mallasconc;
  for (int out : {0, 1}) {
    for (int same : {0, 1}) {
      if (out == 1 && same == 0) continue;  // its own grid: below
      reset_state();
      node_list_grid("grid.dat");
      var_mallasconc.concgridname = fixlen("absent.dat", 12);  // never opened
      var_run.outputconcs__y_n = out;
      var_cfg.concgrid_same_grid__y_n = same;
      leo_bat();
      EXPECT_EQ(c.concxcells_number, 3);
      EXPECT_EQ(c.concycells_number, 4);
      ASSERT_EQ(c.xbatcc.size(), 12);
      for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(c.xbatcc(k), g.xbat(k));
        EXPECT_EQ(c.ybatcc(k), g.ybat(k));
      }
      EXPECT_EQ(c.concgrid0_x, g.grid0_x);
      EXPECT_EQ(c.concgrid0_y, g.grid0_y);
      EXPECT_EQ(c.concdeltax, g.deltax);
      EXPECT_EQ(c.concdeltay, g.deltay);
      EXPECT_EQ(c.conclatmean, g.latmean);
      if (out == 1) {
        EXPECT_EQ(c.lonicc, g.loni);
        EXPECT_EQ(c.lonscc, g.lons);
        EXPECT_EQ(c.laticc, g.lati);
        EXPECT_EQ(c.latscc, g.lats);
      } else {
        EXPECT_EQ(c.lonicc, 0.0);  // the counting window is not set
        EXPECT_EQ(c.latscc, 0.0);
      }
    }
  }
}

TEST(LeoBat, OwnConcentrationGrid) {
  temp_dir dir;
  write_file("grid.dat", nodes_3x4);
  const auto& c = var_mallasconc;

  // Regular, from the scenario file only: the file is not opened.
  reset_state();
  node_list_grid("grid.dat");
  var_run.outputconcs__y_n = 1;
  var_cfg.concgridformat__xyz_grid = 2;
  var_mallasconc.concgridname = fixlen("absent.dat", 12);
  auto& cw = var_mallasconc;
  cw.concgrid0_x = -5.0;
  cw.concgrid0_y = 43.0;
  cw.concdeltax = 0.25;
  cw.concdeltay = 0.5;
  cw.concxcells_number = 2;
  cw.concycells_number = 3;
  cw.conclatmean = 43.4;
  leo_bat();
  EXPECT_EQ(c.xbatcc(1), 355.0);
  EXPECT_EQ(c.xbatcc(4), 355.25);
  EXPECT_EQ(c.ybatcc(3), 44.0);
  EXPECT_EQ(c.concgrid0_x, 355.0);
  EXPECT_EQ(c.lonicc, 355.0);
  EXPECT_EQ(c.lonscc, 355.25);
  EXPECT_EQ(c.laticc, 43.0);
  EXPECT_EQ(c.latscc, 44.0);
  EXPECT_EQ(c.conclatmean, 43.4);

  // A node list of its own, third value present but unused.
  reset_state();
  node_list_grid("grid.dat");
  var_run.outputconcs__y_n = 1;
  var_cfg.concgridformat__xyz_grid = 1;
  var_mallasconc.concgridname = fixlen("conc.dat", 12);
  write_file("conc.dat", "1.0 2.0 x\n1.0 2.5 x\n1.0 3.0 x\n1.5 2.0 x\n1.5 2.5 x\n1.5 3.0 x\n");
  EXPECT_THROW(leo_bat(), input_error);  // the third value must be a number
  reset_state();
  node_list_grid("grid.dat");
  var_run.outputconcs__y_n = 1;
  var_cfg.concgridformat__xyz_grid = 1;
  var_mallasconc.concgridname = fixlen("conc.dat", 12);
  write_file("conc.dat", "1.0 2.0 0\n1.0 2.5 0\n1.0 3.0 0\n1.5 2.0 0\n1.5 2.5 0\n1.5 3.0 0\n");
  leo_bat();
  EXPECT_EQ(c.concxcells_number, 2);
  EXPECT_EQ(c.concycells_number, 3);
  EXPECT_EQ(c.concgrid0_x, 361.0);
  EXPECT_EQ(c.concdeltax, 0.5);
  EXPECT_EQ(c.concdeltay, 0.5);
  EXPECT_EQ(c.conclatmean, 2.5);
  EXPECT_EQ(c.lonscc, 361.5);
  EXPECT_EQ(c.latscc, 3.0);
  EXPECT_EQ(var_mallas.xcells_number, 3);  // the model grid is its own

  // Without the third value the line is an error.
  reset_state();
  node_list_grid("grid.dat");
  var_run.outputconcs__y_n = 1;
  var_cfg.concgridformat__xyz_grid = 1;
  var_mallasconc.concgridname = fixlen("conc.dat", 12);
  write_file("conc.dat", "1.0 2.0 0\n1.0 2.5\n1.5 2.0 0\n1.5 2.5 0\n");
  try {
    leo_bat();
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "conc.dat");
    EXPECT_EQ(e.line(), 2);
  }
}

TEST(LeoCapas, LayersFromTheFile) {
  temp_dir dir;
  reset_state();
  write_file("currents_layerDepths.pre", "layer depth(m)\n1 0\n2 5.0\n\n3 10 extra\n4 20\n");
  leo_capas();
  const auto& v = var_capas;
  ASSERT_EQ(v.numcapascorr, 4);
  ASSERT_EQ(v.depth.size(), 4);
  const double depths[] = {0.0, 5.0, 10.0, 20.0};
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(v.layer(j), j);
    EXPECT_EQ(v.depth(j), depths[j - 1]);
  }
}

// Layer depths from a file written for another tool, with extra columns,
// read as the file without them and warned once; a decimal comma ("5,5",
// read as 5 and a value left over) refused on its line, naming the comma,
// before it can pass for a depth or for depths out of order.
TEST(LeoCapas, ExtraColumnsAreWarnedOnceAndDecimalCommasRefused) {
  auto layers = [](const char* text, std::string& warnings) {
    temp_dir dir;
    reset_state();
    forget_values_left_warnings();
    write_file("currents_layerDepths.pre", text);
    ::testing::internal::CaptureStderr();
    std::string error;
    try {
      leo_capas();
    } catch (const input_error& e) {
      error = e.what();
    }
    warnings = ::testing::internal::GetCapturedStderr();
    std::vector<double> depths;
    if (error.empty())
      for (int32_t j = 1; j <= var_capas.numcapascorr; ++j) depths.push_back(var_capas.depth(j));
    return std::make_pair(error, depths);
  };
  std::string warnings;
  const auto correct = layers("layer depth(m)\n1 0\n2 5.5\n3 12.5\n", warnings);
  ASSERT_EQ(correct.first, "");
  EXPECT_EQ(correct.second, (std::vector<double>{0.0, 5.5, 12.5}));
  EXPECT_EQ(warnings, "");

  const auto extra = layers("layer depth(m) thickness(m)\n1 0 5.5\n\n2 5.5 7.0\n3 12.5 7.0\n", warnings);
  EXPECT_EQ(extra.first, "");
  EXPECT_EQ(extra.second, correct.second);
  EXPECT_EQ(warnings,
            "orvel: warning: currents_layerDepths.pre:2: the line holds 3 values, but its record takes 2: the values "
            "beyond the first 2 are not read (said once for this file; a file written for another tool may carry "
            "extra columns)\n");

  struct row {
    const char* what;
    const char* text;
    const char* says;
  };
  const row rows[] = {
      {"a depth with a decimal comma", "layers\n1 0\n2 5,5\n3 12.5\n",
       "currents_layerDepths.pre:3: the line holds 3 values, but its record takes 2: is the comma the decimal mark?"},
      // Read as 0 it would be refused as out of order, for the wrong cause.
      {"a depth below one metre", "layers\n1 0\n2 0,5\n3 12.5\n",
       "currents_layerDepths.pre:3: the line holds 3 values, but its record takes 2: is the comma the decimal mark?"},
      {"every depth", "layers\n1 0,0\n2 5,5\n",
       "currents_layerDepths.pre:2: the line holds 3 values, but its record takes 2: is the comma the decimal mark?"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const auto refused = layers(r.text, warnings);
    EXPECT_EQ(refused.first.rfind(r.says, 0), 0u) << refused.first;
    EXPECT_EQ(warnings, "");
  }
}

TEST(LeoCapas, BadLayerFiles) {
  struct bad_case {
    const char* what;
    const char* text;
    int64_t line;
  };
  const bad_case cases[] = {
      {"empty", "", 1},
      {"header only", "layers\n", 2},
      {"header and blank lines", "layers\n\n \n", 2},
      {"depths equal", "layers\n1 0\n2 5\n3 5\n", 4},
      {"depths decreasing", "layers\n1 10\n2 5\n", 3},
      {"depth missing", "layers\n1 0\n2\n3 10\n", 3},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    reset_state();
    write_file("currents_layerDepths.pre", c.text);
    try {
      leo_capas();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "currents_layerDepths.pre") << c.what;
      EXPECT_EQ(e.line(), c.line) << c.what << ": " << e.what();
    }
  }
  temp_dir dir;
  reset_state();
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = fixlen("sub/", 256);  // never prefixed
  EXPECT_THROW(leo_capas(), input_error);
  EXPECT_TRUE(dir.files().empty());
}

void grid_box(double loni, double lons, double lati, double lats) {
  var_mallas.loni = loni;
  var_mallas.lons = lons;
  var_mallas.lati = lati;
  var_mallas.lats = lats;
}

TEST(LeoCosta, RealCoastlineKeepsThePointsInsideTheGridBox) {
  temp_dir dir;
  reset_state();
  write_file("costa.dat", read_file(geo + "fisterra_coast.txt"));
  var_mallas.gridname = geo + "fisterra_nodes.txt";
  var_cfg.gridformat__xyz_grid = 1;
  leo_bat();
  leo_costa();
  const auto& v = var_costa;
  ASSERT_EQ(v.ptos_lc, 321);
  // File order: the first point kept is the first of the file inside the box.
  EXPECT_EQ(v.xlc(1), -9.2879683 + 360.0);
  EXPECT_EQ(v.ylc(1), 42.9183032);
  for (int k = 1; k <= v.ptos_lc; ++k) {
    EXPECT_GE(v.xlc(k), var_mallas.loni);
    EXPECT_LE(v.xlc(k), var_mallas.lons);
    EXPECT_GE(v.ylc(k), var_mallas.lati);
    EXPECT_LE(v.ylc(k), var_mallas.lats);
    EXPECT_EQ(v.ind_coast(k), 0);
  }
}

TEST(LeoCosta, BoxLimitsAreIncluded) {
  temp_dir dir;
  reset_state();
  grid_box(356.0, 356.5, 43.0, 43.5);
  write_file("costa.dat",
             "-4.0 43.0\n"        // south-west corner: kept
             "-3.5 43.5\n"        // north-east corner: kept
             "-3.4999999 43.2\n"  // just beyond the east limit
             "-4.0000001 43.2\n"  // just beyond the west limit
             "-3.7 43.5000001\n"  // just beyond the north limit
             "-3.7 42.9999999\n"  // just beyond the south limit
             "-3.7 43.2\n");
  leo_costa();
  const auto& v = var_costa;
  ASSERT_EQ(v.ptos_lc, 3);
  EXPECT_EQ(v.xlc(1), 356.0);
  EXPECT_EQ(v.ylc(2), 43.5);
  EXPECT_EQ(v.xlc(3), -3.7 + 360.0);
}

TEST(LeoCosta, StickIndex) {
  temp_dir dir;
  reset_state();
  grid_box(356.0, 357.0, 43.0, 44.0);
  write_file("costa.dat", "-3.9 43.1 1\n-3.8 43.2 0\n-2.0 43.2 1\n-3.7 43.3 5\n");
  var_cfg.coastline_sticknostick_option__y_n = 1;
  leo_costa();
  ASSERT_EQ(var_costa.ptos_lc, 3);
  EXPECT_EQ(var_costa.ind_coast(1), 1);
  EXPECT_EQ(var_costa.ind_coast(2), 0);
  EXPECT_EQ(var_costa.ind_coast(3), 5);

  // Without the option the third column is ignored.
  reset_state();
  grid_box(356.0, 357.0, 43.0, 44.0);
  leo_costa();
  ASSERT_EQ(var_costa.ptos_lc, 3);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(var_costa.ind_coast(k), 0);

  // With it, a line without its index is an error naming the line, also
  // outside the box and on the last line.
  for (const auto& [text, line] :
       std::vector<std::pair<std::string, int64_t>>{{"-3.9 43.1 1\n-3.8 43.2\n-3.7 43.3 1\n", 2},
                                                    {"-3.9 43.1 1\n-9.0 43.2\n", 2},
                                                    {"-3.9 43.1 1\n\n-3.7 43.3\n", 3}}) {
    reset_state();
    grid_box(356.0, 357.0, 43.0, 44.0);
    var_cfg.coastline_sticknostick_option__y_n = 1;
    write_file("costa.dat", text);
    try {
      leo_costa();
      ADD_FAILURE() << text << ": no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "costa.dat");
      EXPECT_EQ(e.line(), line) << e.what();
      EXPECT_NE(e.message().find("stick index"), std::string::npos) << e.what();
    }
  }
}

TEST(LeoCosta, MissingFileIsAnErrorAndEmptyFileHasNoPoints) {
  temp_dir dir;
  reset_state();
  grid_box(356.0, 357.0, 43.0, 44.0);
  try {
    leo_costa();
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "costa.dat");
  }
  EXPECT_TRUE(dir.files().empty());

  write_file("costa.dat", "");
  leo_costa();
  EXPECT_EQ(var_costa.ptos_lc, 0);
  EXPECT_TRUE(var_costa.xlc.allocated());
  EXPECT_EQ(var_costa.xlc.size(), 0);
}

TEST(LeoCosta, AlwaysInTheDataFolder) {
  temp_dir dir;
  std::filesystem::create_directory("geo");
  write_file("costa.dat", "-3.9 43.1\n");
  write_file("geo/costa.dat", "-3.9 43.1\n-3.8 43.2\n");
  reset_state();
  grid_box(356.0, 357.0, 43.0, 44.0);
  var_run.datafolder__same_other = 1;
  var_cfg.ruta = fixlen("geo/", 256);
  leo_costa();
  EXPECT_EQ(var_costa.ptos_lc, 2);
}

TEST(LeePoligonos, FileNamesAndContents) {
  temp_dir dir;
  reset_state();
  const int count = 1000;
  for (int j = 1; j <= count; ++j) {
    write_file("costa_poligono" + std::to_string(j) + ".dat", std::to_string(j * 0.25) + " 43.5\n");
  }
  write_file("costa_poligono7.dat", "");                         // no point
  write_file("costa_poligono8.dat", "-1 43\n\n-2 44\n-1 43\n");  // closed ring, stored as read
  var_run.coast_polygonnumber = count;
  farray<coast_polygon> polys{"coord_str"};
  polys.allocate(count);
  lee_poligonos(polys);
  for (int j : {1, 9, 10, 99, 100, 999, 1000}) {
    ASSERT_EQ(polys(j).n, 1) << j;
    EXPECT_EQ(polys(j).x(1), j * 0.25 + 360.0) << j;
    EXPECT_EQ(polys(j).y(1), 43.5);
  }
  EXPECT_EQ(polys(7).n, 0);
  EXPECT_EQ(polys(7).x.size(), 0);
  ASSERT_EQ(polys(8).n, 3);
  EXPECT_EQ(polys(8).x(1), 359.0);
  EXPECT_EQ(polys(8).x(2), 358.0);
  EXPECT_EQ(polys(8).x(3), 359.0);
  EXPECT_EQ(polys(8).y(2), 44.0);
}

TEST(LeePoligonos, NoneAskedNoneOpenedAndMissingIsAnError) {
  temp_dir dir;
  reset_state();
  farray<coast_polygon> polys{"coord_str"};
  polys.allocate(0);
  lee_poligonos(polys);  // nothing opened: no files exist
  EXPECT_TRUE(dir.files().empty());

  reset_state();
  std::filesystem::create_directory("d");
  write_file("d/costa_poligono1.dat", "1 2\n");
  var_cfg.ruta = fixlen("d/", 256);
  var_run.coast_polygonnumber = 2;
  farray<coast_polygon> two{"coord_str"};
  two.allocate(2);
  try {
    lee_poligonos(two);
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "d/costa_poligono2.dat");
  }
  EXPECT_EQ(two(1).n, 1);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"d"});
}

// Coordinates that are not a place on the Earth end the reading with the
// file and line, in the coastline and in the polygons alike; the limits
// themselves are places.
TEST(CoastReaders, PointsOffTheEarthNameFileAndLine) {
  struct bad_case {
    const char* point;
    const char* message;
  };
  const std::vector<bad_case> cases = {
      {"-9.30 -1e308", "latitude -1e+308 is out of range: expected a finite value from -90 to 90 degrees"},
      {"1e308 43.0", "longitude 1e+308 is out of range: expected a finite value from -360 to 360 degrees"},
      {"-360.5 43.0", "longitude -360.5 is out of range: expected a finite value from -360 to 360 degrees"},
      {"-9.3 90.25", "latitude 90.25 is out of range: expected a finite value from -90 to 90 degrees"},
      {"inf 43.0", "longitude inf is out of range: expected a finite value from -360 to 360 degrees"},
      {"-9.3 nan", "latitude nan is out of range: expected a finite value from -90 to 90 degrees"},
  };
  for (const bad_case& c : cases) {
    SCOPED_TRACE(c.point);
    // Line 3 after a blank line; the coastline point lies far outside the
    // grid box, which does not spare it.
    const std::string text = std::string("-9.30 43.00\n\n") + c.point + "\n-9.2 43.1\n";
    temp_dir dir;
    reset_state();
    grid_box(350.0, 351.0, 43.0, 44.0);
    write_file("costa.dat", text);
    try {
      leo_costa();
      ADD_FAILURE() << "coastline: no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "costa.dat");
      EXPECT_EQ(e.line(), 3);
      EXPECT_EQ(e.message(), c.message);
    }
    reset_state();
    write_file("costa_poligono1.dat", "-9.1 43.0\n");
    write_file("costa_poligono2.dat", text);
    var_run.coast_polygonnumber = 2;
    farray<coast_polygon> polys{"coord_str"};
    polys.allocate(2);
    try {
      lee_poligonos(polys);
      ADD_FAILURE() << "polygon: no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "costa_poligono2.dat");
      EXPECT_EQ(e.line(), 3);
      EXPECT_EQ(e.message(), c.message);
    }
  }

  temp_dir dir;
  reset_state();
  grid_box(0.0, 720.0, -90.0, 90.0);
  write_file("costa.dat", "-360 -90\n360 90\n0 0\n");
  leo_costa();
  EXPECT_EQ(var_costa.ptos_lc, 3);
  EXPECT_EQ(var_costa.xlc(2), 720.0);
  write_file("costa_poligono1.dat", "-360 -90\n360 90\n");
  var_run.coast_polygonnumber = 1;
  farray<coast_polygon> polys{"coord_str"};
  polys.allocate(1);
  lee_poligonos(polys);
  EXPECT_EQ(polys(1).n, 2);
  EXPECT_EQ(polys(1).x(1), 0.0);
}

farray<double> values(std::initializer_list<double> v) {
  farray<double> a{"a"};
  a.allocate(static_cast<int32_t>(v.size()));
  int k = 1;
  for (double x : v) a(k++) = x;
  return a;
}

TEST(Locpt, HandCheckedCases) {
  // Unit square, counter-clockwise, without and with its closing point.
  const farray<double> sx = values({0, 1, 1, 0});
  const farray<double> sy = values({0, 0, 1, 1});
  const farray<double> cx = values({0, 1, 1, 0, 0});
  const farray<double> cy = values({0, 0, 1, 1, 0});
  // Clockwise, and counter-clockwise twice round.
  const farray<double> wx = values({0, 0, 1, 1});
  const farray<double> wy = values({0, 1, 1, 0});
  const farray<double> tx = values({0, 1, 1, 0, 0, 1, 1, 0});
  const farray<double> ty = values({0, 0, 1, 1, 0, 0, 1, 1});
  struct point_case {
    const farray<double>* x;
    const farray<double>* y;
    double x0, y0;
    int32_t l, m;
  };
  const point_case cases[] = {
      {&sx, &sy, 0.5, 0.5, 1, 1},  {&sx, &sy, 2.0, 0.5, -1, 0},   {&sx, &sy, 0.0, 0.0, 0, 0},
      {&sx, &sy, 1.0, 1.0, 0, 0},  {&sx, &sy, 0.5, 0.0, 0, 0},    {&sx, &sy, 1.0, 0.25, 0, 0},
      {&sx, &sy, 0.0, 0.5, 0, 0},  {&sx, &sy, -0.5, -0.5, -1, 0}, {&cx, &cy, 0.5, 0.5, 1, 1},
      {&cx, &cy, 0.5, 1.5, -1, 0}, {&cx, &cy, 0.5, 0.0, 0, 0},    {&wx, &wy, 0.5, 0.5, 1, -1},
      {&wx, &wy, 1.5, 0.5, -1, 0}, {&tx, &ty, 0.5, 0.5, 1, 2},    {&tx, &ty, 3.0, 3.0, -1, 0},
  };
  for (const auto& c : cases) {
    int32_t l = 99;
    int32_t m = 99;
    locpt(c.x0, c.y0, *c.x, *c.y, static_cast<int32_t>(c.x->size()), l, m);
    EXPECT_EQ(l, c.l) << c.x0 << "," << c.y0 << " n=" << c.x->size();
    EXPECT_EQ(m, c.m) << c.x0 << "," << c.y0 << " n=" << c.x->size();
  }
  // Fewer than two vertices: outside, unless the point is the vertex.
  const farray<double> one = values({1});
  int32_t l = 99;
  int32_t m = 99;
  locpt(0.0, 0.0, one, one, 1, l, m);
  EXPECT_EQ(l, -1);
  EXPECT_EQ(m, 0);
  locpt(1.0, 1.0, one, one, 1, l, m);
  EXPECT_EQ(l, 0);
  const farray<double> none = values({});
  locpt(0.0, 0.0, none, none, 0, l, m);
  EXPECT_EQ(l, -1);
  EXPECT_EQ(m, 0);
}

// Real land polygons against the land mask of the grid made from them: a
// node is land (depth -1) exactly when it lies inside a polygon.
TEST(Locpt, RealPolygonsAgreeWithTheGridLandMask) {
  temp_dir dir;
  reset_state();
  write_file("costa_poligono1.dat", read_file(geo + "arousa_poly1.txt"));
  write_file("costa_poligono2.dat", read_file(geo + "arousa_poly2.txt"));
  var_run.coast_polygonnumber = 2;
  farray<coast_polygon> polys{"coord_str"};
  polys.allocate(2);
  lee_poligonos(polys);
  EXPECT_EQ(polys(1).n, 131);
  EXPECT_EQ(polys(2).n, 7);

  var_mallas.gridname = geo + "arousa_nodes.txt";
  var_cfg.gridformat__xyz_grid = 1;
  leo_bat();
  const auto& g = var_mallas;
  ASSERT_EQ(g.xcells_number * g.ycells_number, 49);
  int land = 0;
  for (int i = 1; i <= g.xcells_number; ++i) {
    for (int j = 1; j <= g.ycells_number; ++j) {
      const int k = (i - 1) * g.ycells_number + j;
      bool inside = false;
      for (int p = 1; p <= 2; ++p) {
        int32_t l = 0;
        int32_t m = 0;
        locpt(g.xbat(k), g.ybat(k), polys(p).x, polys(p).y, polys(p).n, l, m);
        if (l >= 0) inside = true;
        if (l == 1) {
          EXPECT_EQ(m, 1);  // counter-clockwise rings
        }
      }
      EXPECT_EQ(inside, g.d(i, j) <= 0.0f) << g.xbat(k) - 360.0 << " " << g.ybat(k);
      land += inside;
    }
  }
  EXPECT_EQ(land, 9);
}

}  // namespace
}  // namespace orvel
