// The start-up sequence after the scenario file, run on state set by hand.
#include "app/startup.hpp"
#include "app/validation.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "engines/engines.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;
using testing::write_file;

const std::string fixtures = std::string(ORVEL_FIXTURES) + "/control/";

// Standard output of the test's lifetime, captured in memory.
class cout_capture {
 public:
  cout_capture() : old_(std::cout.rdbuf(buf_.rdbuf())) {}
  ~cout_capture() { std::cout.rdbuf(old_); }
  std::string text() const { return buf_.str(); }

 private:
  std::ostringstream buf_;
  std::streambuf* old_;
};

// A run that needs nothing but a regular 3 x 2 model grid at 10 E, 40 N with
// 0.1 degree spacing ("grid.dat"): land-search mode 1, uniform forcing,
// concentrations on the model grid, an object type that runs no engine.
void minimal_run() {
  reset_state();
  auto& r = var_run;
  // Every option in its range, so that the start-up validation passes.
  r.simenvironment__sea_river = 1;
  r.simdirection__fore_back = 1;
  r.datafolder__same_other = 1;
  r.numericalmethod__euler_rungekut = 1;
  r.deltat = 900.0f;
  r.search_land__mask_maskandcoast = 1;
  r.searchcoastalgorithm__lr_hr = 1;
  r.particle_number = 4;
  r.sim__2d_3d = 1;
  auto& c = var_cfg;
  c.spills_number = 2;
  c.spill__instant_contin = 1;
  c.deltat_currents = 3600.0f;
  c.deltat_wind = 3600.0f;
  c.deltat_waves = 3600.0f;
  c.gridformat__xyz_grid = 2;
  c.concgrid_same_grid__y_n = 1;
  c.obj__floating_fuel_hns = 0;
  c.currenttype__file_constant = 2;
  c.windtype__file_constant = 2;
  c.wavestype__file_constant = 2;
  c.currentfilesorlines_number = 3;
  c.windfilesorlines_number = 3;
  c.wavesfilesorlines_number = 3;
  // A product lighter than the water, whose droplets a 3-D run can size.
  auto& s = var_spill;
  for (auto* a : {&s.density, &s.viscosity, &s.waterdensity}) a->allocate(c.spills_number);
  s.density.fill(900.0f);
  s.viscosity.fill(10.0f);
  s.waterdensity.fill(1025.0f);
  s.kinemviscosity_water = 1.0e-6;
  auto& g = var_mallas;
  g.gridname = fixlen("grid.dat", 12);
  g.grid0_x = 10.0;
  g.grid0_y = 40.0;
  g.deltax = 0.1;
  g.deltay = 0.1;
  g.xcells_number = 3;
  g.ycells_number = 2;
  g.latmean = 40.05;
  write_file("grid.dat", "5 6 7\n1 2 3\n");
}

// The uniform series files that the forcing types now set ask for, three
// zero records each, which the start-up checks before anything is written;
// gives their names.
std::vector<std::string> write_series() {
  std::vector<std::string> names;
  const auto& c = var_cfg;
  if (c.currenttype__file_constant == 2) names.push_back(var_run.sim__2d_3d == 1 ? "lstcurr.pre" : "lstcurr3D.pre");
  if (c.windtype__file_constant == 2) names.push_back("lstwinds.pre");
  if (c.wavestype__file_constant == 2) names.push_back("lstwaves.pre");
  for (const auto& n : names) {
    // The 3-D current series begins with two header lines.
    write_file(n, std::string(n == "lstcurr3D.pre" ? "header\nheader\n" : "") +
                      "0.0 0.0 0.0 0.0\n0.0 0.0 0.0 0.0\n0.0 0.0 0.0 0.0\n");
  }
  return names;
}

// `files` with `more` added, in order.
std::vector<std::string> with(std::vector<std::string> files, const std::vector<std::string>& more) {
  files.insert(files.end(), more.begin(), more.end());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(StartUpSequence, RunWithoutEngineWritesCoordinatesBannerAndFinalMessage) {
  temp_dir dir;
  minimal_run();
  const auto series = write_series();
  cout_capture out;
  start_up("TEST");
  EXPECT_EQ(out.text(), read_file(fixtures + "banner.txt") + read_file(fixtures + "final_message.txt"));
  EXPECT_EQ(read_file("grid_coordinates.txt"), read_file(fixtures + "grid_coordinates_3x2.txt"));
  EXPECT_EQ(dir.files(), with({"grid.dat", "grid_coordinates.txt"}, series));
}

TEST(StartUpSequence, BannerLinesAreABlankAnd58Characters) {
  cout_capture out;
  print_banner();
  std::istringstream lines(out.text());
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) {
    ++n;
    EXPECT_EQ(line.size(), 59u) << n;
    EXPECT_EQ(line[0], ' ') << n;
  }
  EXPECT_EQ(n, 14);
}

// The same 3 x 2 cells as the concentration grid: the model grid itself, a
// regular grid of its own, a node list of its own.
TEST(GridCoordinates, ThreeByTwoGridByteForByte) {
  const std::string want = read_file(fixtures + "grid_coordinates_3x2.txt");
  {
    temp_dir dir;
    minimal_run();
    set_current_layers();
    farray<coast_polygon> coord_str{"coord_str"};
    read_geography(coord_str);
    write_grid_coordinates();
    EXPECT_EQ(read_file("grid_coordinates.txt"), want);
  }
  {
    temp_dir dir;
    minimal_run();
    var_run.outputconcs__y_n = 1;
    var_cfg.concgrid_same_grid__y_n = 0;
    var_cfg.concgridformat__xyz_grid = 2;
    auto& c = var_mallasconc;
    c.concgrid0_x = 10.0;
    c.concgrid0_y = 40.0;
    c.concdeltax = 0.1;
    c.concdeltay = 0.1;
    c.concxcells_number = 3;
    c.concycells_number = 2;
    // A different model grid.
    var_mallas.grid0_x = -4.0;
    var_mallas.deltax = 0.5;
    farray<coast_polygon> coord_str{"coord_str"};
    read_geography(coord_str);
    write_grid_coordinates();
    EXPECT_EQ(read_file("grid_coordinates.txt"), want);
  }
  {
    temp_dir dir;
    minimal_run();
    var_run.outputconcs__y_n = 1;
    var_cfg.concgrid_same_grid__y_n = 0;
    var_cfg.concgridformat__xyz_grid = 1;
    var_mallasconc.concgridname = fixlen("conc.dat", 12);
    write_file("conc.dat", "10.0 40.0 0\n10.0 40.1 0\n10.1 40.0 0\n10.1 40.1 0\n10.2 40.0 0\n10.2 40.1 0\n");
    farray<coast_polygon> coord_str{"coord_str"};
    read_geography(coord_str);
    write_grid_coordinates();
    EXPECT_EQ(read_file("grid_coordinates.txt"), want);
  }
}

TEST(GridCoordinates, HeaderAloneWithoutModelGrid) {
  temp_dir dir;
  minimal_run();
  var_cfg.currentgrid_variable__y_n = 1;  // mode 1 with a time-varying current grid: no grid read
  var_cfg.variablecurrgrid__wetdry_radar = 1;
  var_mallasforz.gridformatcurru_xcells = var_mallasforz.gridformatcurru_ycells = 2;  // the domain box
  var_cfg.concgrid_same_grid__y_n = 0;
  var_cfg.concgridformat__xyz_grid = 2;
  var_mallasconc.concxcells_number = 3;  // counts from the scenario file, but no coordinates
  var_mallasconc.concycells_number = 2;
  var_mallasconc.concdeltax = var_mallasconc.concdeltay = 0.1;
  write_series();
  cout_capture out;
  start_up("TEST");
  EXPECT_EQ(read_file("grid_coordinates.txt"), read_file(fixtures + "grid_coordinates_3x2.txt").substr(0, 30));
  EXPECT_FALSE(var_mallas.xbat.allocated());
}

TEST(CurrentLayers, OneLayerAtTheSurfaceUnlessLayeredFiles) {
  struct layer_case {
    int32_t sim, type, input;
    int32_t count;
    int32_t flag_currcol;  // after the step, starting from 7
  };
  const layer_case cases[] = {
      {1, 1, 1, 1, 7},  // 2-D
      {2, 2, 1, 1, 7},  // 3-D, uniform series
      {2, 1, 2, 1, 0},  // 3-D, surface fields and depth-mean series
      {2, 1, 3, 1, 7},  // 3-D, other input format
      {3, 1, 1, 1, 7},  // only 2 selects the layer handling
      {2, 1, 1, 3, 7},  // layered files: the layer file
  };
  for (const auto& c : cases) {
    temp_dir dir;
    reset_state();
    write_file("currents_layerDepths.pre", "header\n1 0\n2 5\n3 12.5\n");
    var_run.sim__2d_3d = c.sim;
    var_cfg.currenttype__file_constant = c.type;
    var_cfg.current3dinputformat_layers_average = c.input;
    var_capas.flag_currcol = 7;
    set_current_layers();
    const auto& v = var_capas;
    ASSERT_EQ(v.numcapascorr, c.count) << c.sim << c.type << c.input;
    ASSERT_EQ(v.layer.size(), c.count);
    ASSERT_EQ(v.depth.size(), c.count);
    EXPECT_EQ(v.flag_currcol, c.flag_currcol);
    if (c.count == 1) {
      EXPECT_EQ(v.layer(1), 0);
      EXPECT_EQ(v.depth(1), 0.0);
    } else {
      EXPECT_EQ(v.depth(3), 12.5);
    }
  }
}

TEST(Geography, ReadersByLandSearchModeAndCoastAlgorithm) {
  struct geo_case {
    int32_t mode, algorithm, polygons, variable_grid;
    bool grid, coast;
    int64_t coord_str;  // -1: not allocated
  };
  const geo_case cases[] = {
      {1, 1, 2, 0, true, false, -1}, {1, 1, 2, 1, false, false, -1}, {2, 1, 2, 0, true, true, -1},
      {2, 1, 2, 1, true, true, -1},  {2, 2, 2, 0, true, true, 2},    {2, 2, 0, 0, true, true, 0},
      {2, 2, -3, 0, true, true, 0},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    minimal_run();
    write_file("costa.dat", "10.05 40.05\n11 41\n");
    write_file("costa_poligono1.dat", "10 40\n10.1 40\n");
    write_file("costa_poligono2.dat", "10 40\n");
    var_run.search_land__mask_maskandcoast = c.mode;
    var_run.searchcoastalgorithm__lr_hr = c.algorithm;
    var_run.coast_polygonnumber = c.polygons;
    var_cfg.currentgrid_variable__y_n = c.variable_grid;
    farray<coast_polygon> coord_str{"coord_str"};
    read_geography(coord_str);
    const std::string what = std::to_string(c.mode) + "/" + std::to_string(c.algorithm) + "/" +
                             std::to_string(c.polygons) + "/" + std::to_string(c.variable_grid);
    EXPECT_EQ(var_mallas.xbat.allocated(), c.grid) << what;
    EXPECT_EQ(var_costa.xlc.allocated(), c.coast) << what;
    if (c.coast) {
      EXPECT_EQ(var_costa.ptos_lc, 1) << what;
    }
    if (c.coord_str < 0) {
      EXPECT_FALSE(coord_str.allocated()) << what;
    } else {
      ASSERT_TRUE(coord_str.allocated()) << what;
      EXPECT_EQ(coord_str.size(), c.coord_str) << what;
      if (c.coord_str == 2) {
        EXPECT_EQ(coord_str(1).n, 2);
        EXPECT_EQ(coord_str(2).n, 1);
      }
    }
    EXPECT_EQ(coord_str.size(), c.coord_str < 0 ? 0 : c.coord_str) << what;
  }
}

TEST(CheckOptions, CombinationsThatWouldUseDataNeverRead) {
  struct option_case {
    const char* what;
    int32_t mode, algorithm, variable_grid, conc_output;
    bool scattered_currents, scattered_wind, scattered_waves;
    const char* file;  // "" when accepted
    const char* message;
  };
  const option_case cases[] = {
      {"mask", 1, 1, 0, 1, true, true, true, "", ""},
      {"mask and coast, polygons", 2, 2, 1, 1, true, true, true, "", ""},
      {"variable grid, no grid use", 1, 1, 1, 0, false, false, false, "", ""},
      {"land-search mode 0", 0, 1, 0, 0, false, false, false, "KEY .run", "search_land__mask_maskandcoast"},
      {"land-search mode 3", 3, 1, 0, 0, false, false, false, "KEY .run", "found 3"},
      {"polygons without coastline", 1, 2, 0, 0, false, false, false, "KEY .run", "searchcoastalgorithm__lr_hr"},
      {"concentrations without grid", 1, 1, 1, 1, false, false, false, "KEY .run", "outputconcs__y_n"},
      {"current regridding without grid", 1, 1, 1, 0, true, false, false, "KEY .cfg", "current"},
      {"wind regridding without grid", 1, 1, 1, 0, false, true, false, "KEY .cfg", "wind"},
      {"wave regridding without grid", 1, 1, 1, 0, false, false, true, "KEY .cfg", "wave"},
  };
  for (const auto& c : cases) {
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.search_land__mask_maskandcoast = c.mode;
    var_run.searchcoastalgorithm__lr_hr = c.algorithm;
    var_cfg.currentgrid_variable__y_n = c.variable_grid;
    var_run.outputconcs__y_n = c.conc_output;
    var_cfg.currenttype__file_constant = c.scattered_currents ? 1 : 2;
    var_cfg.currentgridformat__xyz_grid = 1;
    var_cfg.windtype__file_constant = 1;
    var_cfg.windgridformat__xyz_grid = c.scattered_wind ? 1 : 2;
    var_cfg.wavestype__file_constant = 1;
    var_cfg.wavesgridformat__xyz_grid = 1;
    var_mallas.wavesgrid_regular__y_n = c.scattered_waves ? 0 : 1;
    if (std::string(c.file).empty()) {
      EXPECT_NO_THROW(check_options("KEY ")) << c.what;
      continue;
    }
    try {
      check_options("KEY ");
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), c.file) << c.what;
      EXPECT_NE(e.message().find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
}

TEST(CheckOptions, CoastPolygonsOnlyInTwoDimensions) {
  reset_state();
  var_run.search_land__mask_maskandcoast = 2;
  var_run.searchcoastalgorithm__lr_hr = 2;
  var_run.sim__2d_3d = 1;
  EXPECT_NO_THROW(check_options("KEY "));
  var_run.sim__2d_3d = 2;
  try {
    check_options("KEY ");
    ADD_FAILURE() << "accepted";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "KEY .run");
    EXPECT_NE(e.message().find("sim__2d_3d"), std::string::npos) << e.what();
  }
}

TEST(CheckOptions, RejectedBeforeAnythingIsReadOrWritten) {
  temp_dir dir;
  minimal_run();
  var_run.searchcoastalgorithm__lr_hr = 2;
  cout_capture out;
  EXPECT_THROW(start_up("TEST"), input_error);
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"grid.dat"});
  EXPECT_FALSE(var_capas.depth.allocated());
}

TEST(Regridding, EachScatteredForcingByFilesInOrder) {
  // The regridding of the first scattered forcing starts by reading its raw
  // list, missing here: the error names it.
  struct regrid_case {
    bool currents, wind, waves;
    const char* first_list;  // list read first, "" for no regridding
  };
  const regrid_case cases[] = {
      {false, false, false, ""},
      {true, true, true, "U_lstcurr.pre"},
      {false, true, false, "lstwinds.pre"},
      {false, false, true, "lstwaves.pre"},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    minimal_run();
    auto& cfg = var_cfg;
    cfg.currenttype__file_constant = 1;
    cfg.currentgridformat__xyz_grid = c.currents ? 1 : 2;
    cfg.windtype__file_constant = c.wind ? 1 : 2;
    cfg.windgridformat__xyz_grid = 1;
    cfg.wavestype__file_constant = 1;
    cfg.wavesgridformat__xyz_grid = 1;
    var_mallas.wavesgrid_regular__y_n = c.waves ? 0 : 1;
    // Node counts and current grids that the validation accepts.
    cfg.xyzcurrentnodes_number = {4, 4, 0};
    cfg.xyzwindnodes_number = 4;
    cfg.xyzwavesnodes_number = 4;
    auto& g = var_mallasforz;
    for (double* d : {&g.gridformatcurru_deltax, &g.gridformatcurru_deltay, &g.gridformatcurrv_deltax,
                      &g.gridformatcurrv_deltay}) {
      *d = 0.1;
    }
    g.gridformatcurru_0y = g.gridformatcurrv_0y = 40.0;
    g.gridformatcurru_xcells = g.gridformatcurru_ycells = g.gridformatcurrv_xcells = g.gridformatcurrv_ycells = 2;
    auto series = write_series();
    if (!c.waves) {
      // Wave files read as listed: the list and its file are checked at
      // start-up, before any regridding.
      write_file("w.txt", "10.0 40.0 1.0 0.0 5.0\n10.1 40.0 1.0 0.0 5.0\n10.0 40.1 1.0 0.0 5.0\n10.1 40.1 1.0 0.0 5.0\n");
      write_file("lstwaves.pre", "w.txt\nw.txt\nw.txt\n");
      series.insert(series.end(), {"lstwaves.pre", "w.txt"});
    }
    cout_capture out;
    if (std::string(c.first_list).empty()) {
      EXPECT_NO_THROW(start_up("TEST"));
      continue;
    }
    try {
      start_up("TEST");
      ADD_FAILURE() << "no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), c.first_list);
    }
    // After "grid_coordinates.txt", before the arrays and the banner; the
    // failed start-up takes "grid_coordinates.txt" back.
    EXPECT_EQ(dir.files(), with({"grid.dat"}, series));
    EXPECT_FALSE(var_part.x_part.allocated());
    EXPECT_EQ(out.text().find("ORVEL"), std::string::npos);
  }
}

template <typename T>
void expect_extents(const farray<T, 1>& a, int32_t n) {
  ASSERT_TRUE(a.allocated()) << a.name();
  EXPECT_EQ(a.size(1), n) << a.name();
  EXPECT_EQ(a.lbound(1), 1) << a.name();
}
template <typename T>
void expect_extents(const farray<T, 2>& a, int32_t n1, int32_t n2) {
  ASSERT_TRUE(a.allocated()) << a.name();
  EXPECT_EQ(a.size(1), n1) << a.name();
  EXPECT_EQ(a.size(2), n2) << a.name();
  EXPECT_EQ(a.lbound(1), 1) << a.name();
  EXPECT_EQ(a.lbound(2), 1) << a.name();
}

// Every count distinct, so that an array sized by the wrong one shows.
void distinct_counts() {
  reset_state();
  var_run.particle_number = 7;
  auto& c = var_cfg;
  c.spills_number = 3;
  var_capas.numcapascorr = 2;
  c.xyzcurrentnodes_number = {17, 19, 23};
  c.xyzwindnodes_number = 11;
  c.xyzwavesnodes_number = 13;
  c.currentfilesorlines_number = 5;
  c.windfilesorlines_number = 29;
  c.wavesfilesorlines_number = 31;
  c.currentcorrectionfiles_number = 37;
  auto& f = var_mallasforz;
  f.gridformatcurru_xcells = 2;
  f.gridformatcurru_ycells = 3;
  f.gridformatcurrv_xcells = 4;
  f.gridformatcurrv_ycells = 5;
  f.gridformatwind_xcells = 6;
  f.gridformatwind_ycells = 8;
  f.gridformatwaves_xcells = 9;
  f.gridformatwaves_ycells = 10;
}

TEST(RunWideArrays, AlwaysAllocatedWithTheirExtents) {
  distinct_counts();
  allocate_run_arrays();
  const auto& p = var_part;
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) expect_extents(*a, 3);
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part, &p.xp1, &p.yp1, &p.xcirc, &p.ycirc}) expect_extents(*a, 7, 3);
  expect_extents(p.part_inter, 7, 3);
  EXPECT_FALSE(p.x_oldpt.allocated());
  EXPECT_FALSE(p.y_oldpt.allocated());

  const auto& f = var1;
  expect_extents(f.dispersioninit_flag, 3);
  expect_extents(f.fichviento, 29);
  expect_extents(f.fichola, 31);
  for (auto* a : {&f.fichvel_u, &f.fichvel_v, &f.fichvel_w, &f.fichvel_uvw}) expect_extents(*a, 10);
  EXPECT_EQ(f.fichvel_u(10), std::string(256, ' '));
  for (auto* a : {&f.fichviento_u, &f.fichviento_v, &f.fichola_hs, &f.fichola_t, &f.fichola_dir, &f.fichvel_mask,
                  &f.fichvel_uc, &f.fichvel_vc}) {
    EXPECT_FALSE(a->allocated()) << a->name();
  }

  const auto& w = var_currwindwave;
  for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) expect_extents(*a, 11);
  for (auto* a : {&w.hwavex, &w.hwavey, &w.twave, &w.hwavex0, &w.hwavey0, &w.twave0, &w.xh, &w.yh}) {
    expect_extents(*a, 13);
  }
  for (auto* a : {&w.hwavec, &w.angc, &w.twavec}) expect_extents(*a, 31);
  for (auto* a : {&w.windc, &w.angw}) expect_extents(*a, 29);
  for (auto* a : {&w.velcu, &w.angcu, &w.velcusup, &w.angcusup, &w.velcucol, &w.angcucol}) expect_extents(*a, 5);
  for (auto* a : {&w.u_int_xypart, &w.v_int_xypart, &w.w_int_xypart}) expect_extents(*a, 7, 2);
  for (auto* a : {&w.u_curr_int, &w.v_curr_int, &w.u_curr_intsup, &w.v_curr_intsup, &w.u_curr_intcol, &w.v_curr_intcol,
                  &w.w_curr_int, &w.vuint0, &w.vvint0, &w.vuint_t1, &w.vvint_t1, &w.wintx, &w.winty, &w.wintx0,
                  &w.winty0, &w.wintx_t1, &w.winty_t1}) {
    expect_extents(*a, 7);
  }
  for (auto* a : {&w.hintx, &w.hinty, &w.tint, &w.hintx0, &w.hinty0, &w.tint0, &w.hintx_t1, &w.hinty_t1, &w.tint_t1}) {
    expect_extents(*a, 7, 3);
  }
  for (auto* a : {&w.uadv_viento_oleaje, &w.vadv_viento_oleaje, &w.uadv_corrientes, &w.vadv_corrientes,
                  &w.wadv_corrientes_y_float, &w.uadv, &w.vadv, &w.wadv}) {
    expect_extents(*a, 7, 3);
  }
  expect_extents(w.uwind, 3);
  for (auto* a : {&w.uwg, &w.vwg, &w.uwg0, &w.vwg0, &w.hsg, &w.tetahg, &w.t_g, &w.hsg0, &w.tetahg0, &w.t_g0}) {
    EXPECT_FALSE(a->allocated()) << a->name();
  }

  const auto& v = var2;
  for (auto* a : {&v.xcorr_u, &v.ycorr_u}) expect_extents(*a, 17);
  expect_extents(v.indland, 17);
  expect_extents(v.indland0, 17);
  for (auto* a : {&v.xcorr_v, &v.ycorr_v}) expect_extents(*a, 19);
  for (auto* a : {&v.xcorr_w, &v.ycorr_w}) expect_extents(*a, 23);
  expect_extents(v.u_curr_read, 17, 2);
  expect_extents(v.v_curr_read, 19, 2);
  expect_extents(v.w_curr_read, 23, 2);
  expect_extents(v.u0, 17, 2);
  expect_extents(v.v0, 19, 2);
  expect_extents(v.w0, 23, 2);
  expect_extents(v.u_curr_read_colprom, 2);
  expect_extents(v.v_curr_read_colprom, 2);
  for (auto* a : {&v.ucp, &v.vcp}) EXPECT_FALSE(a->allocated()) << a->name();
  for (auto* a : {&v.ug, &v.ug0, &v.vg, &v.vg0, &v.ucpg, &v.vcpg}) EXPECT_FALSE(a->allocated()) << a->name();
}

TEST(RunWideArrays, ConditionalArrays) {
  distinct_counts();
  auto& c = var_cfg;
  c.windgridformat__xyz_grid = 2;
  c.wavesgridformat__xyz_grid = 2;
  c.currentgridformat__xyz_grid = 2;
  c.currentgrid_variable__y_n = 1;
  c.currentcorrection__y_n = 1;
  c.currcorrectgridformat__xyz_grid = 2;
  c.spreadalgorithm__adios2_leher_hns = 2;
  allocate_run_arrays();
  const auto& f = var1;
  for (auto* a : {&f.fichviento_u, &f.fichviento_v}) expect_extents(*a, 29);
  for (auto* a : {&f.fichola_hs, &f.fichola_t, &f.fichola_dir}) expect_extents(*a, 31);
  EXPECT_FALSE(f.fichviento.allocated());
  EXPECT_FALSE(f.fichola.allocated());
  expect_extents(f.fichvel_mask, 5);
  expect_extents(f.fichvel_uc, 37);
  expect_extents(f.fichvel_vc, 37);
  const auto& w = var_currwindwave;
  for (auto* a : {&w.uwg, &w.vwg, &w.uwg0, &w.vwg0}) expect_extents(*a, 6, 8);
  for (auto* a : {&w.hsg, &w.tetahg, &w.t_g, &w.hsg0, &w.tetahg0, &w.t_g0}) expect_extents(*a, 9, 10);
  const auto& v = var2;
  for (auto* a : {&v.ug, &v.ug0, &v.ucpg}) expect_extents(*a, 2, 3);
  for (auto* a : {&v.vg, &v.vg0, &v.vcpg}) expect_extents(*a, 4, 5);
  expect_extents(v.ucp, 17);
  expect_extents(v.vcp, 19);
  expect_extents(var_part.x_oldpt, 7, 3);
  expect_extents(var_part.y_oldpt, 7, 3);

  // The mask list needs both gridded currents and a time-varying grid; the
  // gridded corrections need gridded correction files.
  distinct_counts();
  c.currentgridformat__xyz_grid = 2;
  c.currentcorrection__y_n = 1;
  c.currcorrectgridformat__xyz_grid = 1;
  allocate_run_arrays();
  EXPECT_FALSE(var1.fichvel_mask.allocated());
  EXPECT_TRUE(var2.ucp.allocated());
  EXPECT_FALSE(var2.ucpg.allocated());
  EXPECT_TRUE(var2.ug.allocated());
}

TEST(RunWideArrays, ZeroOrNegativeCountsGiveEmptyArrays) {
  distinct_counts();
  var_cfg.xyzwindnodes_number = 0;
  var_cfg.currentfilesorlines_number = -4;
  var_cfg.spills_number = 0;
  allocate_run_arrays();
  expect_extents(var_currwindwave.windx, 0);
  expect_extents(var1.fichvel_u, 0);
  expect_extents(var_part.x_part, 7, 0);
  expect_extents(var_currwindwave.velcu, 0);
}

TEST(RunWideArrays, LehrArraysWheneverTheAlgorithmInForceIs2) {
  distinct_counts();
  allocate_run_arrays();
  EXPECT_FALSE(var_part.x_oldpt.allocated());
  // A calibration file choosing Lehr spreading after the run-wide arrays.
  var_cfg.spreadalgorithm__adios2_leher_hns = 2;
  allocate_lehr_arrays();
  expect_extents(var_part.x_oldpt, 7, 3);
  expect_extents(var_part.y_oldpt, 7, 3);
  allocate_lehr_arrays();  // already there: kept
  expect_extents(var_part.x_oldpt, 7, 3);
}

TEST(EngineDispatch, ObjectTypeAndDimensionSelectTheEngine) {
  struct engine_case {
    int32_t obj, sim;
    engine_routine engine;
    bool calibration;
  };
  const engine_case cases[] = {
      {1, 1, &fuel2d, false}, {1, 2, &fuel3d, false}, {2, 1, &fuel2d, false}, {2, 2, &fuel3d, false},
      {2, 3, &fuel3d, false}, {2, 0, &fuel3d, false}, {3, 1, &hns2d, true},   {3, 2, &hns3d, true},
      {3, 3, &hns3d, true},   {0, 1, nullptr, false}, {4, 2, nullptr, false}, {-1, 1, nullptr, false},
  };
  for (const auto& c : cases) {
    const engine_choice e = choose_engine(c.obj, c.sim);
    EXPECT_EQ(e.engine, c.engine) << c.obj << "," << c.sim;
    EXPECT_EQ(e.calibration, c.calibration) << c.obj << "," << c.sim;
  }
}

TEST(EngineDispatch, TheEngineRunsAfterTheBannerAndBeforeTheFinalMessage) {
  // The oil and floating-object engines of both dimensions are built: each
  // runs the minimal run's horizon of 0 s to the end between the banner and
  // the final message.
  for (int32_t sim : {1, 2}) {
    for (int32_t obj : {1, 2}) {
      temp_dir dir;
      minimal_run();
      var_cfg.obj__floating_fuel_hns = obj;
      var_run.sim__2d_3d = sim;
      write_series();
      cout_capture out;
      start_up("TEST");
      EXPECT_EQ(out.text(), read_file(fixtures + "banner.txt") + read_file(fixtures + "final_message.txt"))
          << obj << ", " << sim;
      EXPECT_TRUE(var_part.x_part.allocated());
    }
  }
  // A model step of 0 s is refused by the start-up validation: no banner.
  temp_dir dir;
  minimal_run();
  var_cfg.obj__floating_fuel_hns = 1;
  var_run.deltat = 0.0f;
  cout_capture out;
  try {
    start_up("TEST");
    ADD_FAILURE() << "the run completed";
  } catch (const input_error& e) {
    EXPECT_EQ(std::string(e.what()), "TEST.run:0: deltat = 0: must be a finite number greater than 0 and at most 315360000 s");
  }
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"grid.dat"});
}

TEST(EngineDispatch, HnsReadsTheCalibrationFileFirst) {
  for (int32_t sim : {1, 2}) {
    temp_dir dir;
    minimal_run();
    var_cfg.obj__floating_fuel_hns = 3;
    var_run.sim__2d_3d = sim;
    cout_capture out;
    try {
      start_up("TEST");
      ADD_FAILURE() << "no calibration file, yet the run completed";
    } catch (const std::exception& e) {
      // The calibration reader stops the run (the file is missing) before
      // the banner, so no HNS engine is reached.
      const std::string w = e.what();
      EXPECT_NE(w.find("calib"), std::string::npos) << w;
      EXPECT_EQ(w.find("hns"), std::string::npos) << w;
    }
    EXPECT_EQ(out.text(), "");
    EXPECT_EQ(dir.files(), std::vector<std::string>{"grid.dat"});
  }
}

}  // namespace
}  // namespace orvel
