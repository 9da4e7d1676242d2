#include "transport/states.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "tests/transport/particles_fixture.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::small_world;

// Centre of model cell (2, 1).
constexpr double cx = 356.15;
constexpr double cy = 43.05;

// One particle in state `state` at (x, y), depth z metres; returns its state
// after update_indp at step `step`.
int32_t after_update(int32_t state, double x, double y, double z_m, int32_t step = 2) {
  var_part.indp.allocate(1, 1);
  var_part.indp(1, 1) = state;
  var_part.x_part(1, 1) = x;
  var_part.y_part(1, 1) = y;
  var_part.z_part(1, 1) = z_m / factor;
  update_indp(1, step);
  const int32_t result = var_part.indp(1, 1);
  var_part.indp.deallocate();
  return result;
}

struct fixed_case {
  const char* what;
  int32_t state;
  double z_m;
  float depth;
  int32_t expected;
  double expected_z_m;  // NaN: depth unchanged
};

TEST(UpdateIndp, FixedGridStateTable) {
  const double same = std::numeric_limits<double>::quiet_NaN();
  const fixed_case cases[] = {
      {"surface over water", 1, 0.0, 10.0f, 1, same},
      {"column below the bottom rests on it", 5, 12.0, 10.0f, -1, 10.0},
      {"column above the bottom", 5, 8.0, 10.0f, 5, same},
      {"surface state at depth goes to the column", 1, 8.0, 10.0f, 5, same},
      {"column back at depth 0", 5, 0.0, 10.0f, 1, same},
      {"cell depth exactly 0 is land", 1, 0.0, 0.0f, 2, same},
      {"cell depth 0, particle at depth", 5, 5.0, 0.0f, 2, same},
      {"negative depth is land", 1, 0.0, -3.0f, 2, same},
      {"lost particle over water comes back", -2, 0.0, 10.0f, 1, same},
      {"dry-cell state over water", 3, 0.0, 10.0f, 1, same},
      {"land state over water", 2, 0.0, 10.0f, 1, same},
      {"beached over water stays", 0, 0.0, 10.0f, 0, same},
      {"beached over land stays", 0, 0.0, -1.0f, 0, same},
      {"sea floor stays", -1, 3.0, 10.0f, -1, same},
      {"air stays", 4, 0.0, 10.0f, 4, same},
      {"air over land stays", 4, 0.0, -1.0f, 4, same},
      {"negative depth keeps the state", 2, -1.0, 10.0f, 2, same},
      {"negative depth, column state", 5, -1.0, 10.0f, 5, same},
      {"unknown code at the surface", 7, 0.0, 10.0f, 1, same},
  };
  for (const auto& c : cases) {
    small_world(1, 1);
    var_mallas.d.fill(c.depth);
    var_part.indp.allocate(1, 1);
    var_part.indp(1, 1) = c.state;
    var_part.x_part(1, 1) = cx;
    var_part.y_part(1, 1) = cy;
    var_part.z_part(1, 1) = c.z_m / factor;
    update_indp(1, 1);
    EXPECT_EQ(var_part.indp(1, 1), c.expected) << c.what;
    const double z = std::isnan(c.expected_z_m) ? c.z_m / factor : double{float(c.expected_z_m)} / factor;
    EXPECT_EQ(var_part.z_part(1, 1), z) << c.what;
  }
}

TEST(UpdateIndp, FixedGridBoxLimitsAreInclusive) {
  small_world(1, 1);
  const auto& g = var_mallas;
  // A dry-cell state at depth 0 over water becomes 1 when the particle is inside.
  EXPECT_EQ(after_update(3, g.lons, cy, 0.0), 1);
  EXPECT_EQ(after_update(3, g.loni, cy, 0.0), 1);
  EXPECT_EQ(after_update(3, cx, g.lats, 0.0), 1);
  EXPECT_EQ(after_update(3, cx, g.lati, 0.0), 1);
  EXPECT_EQ(after_update(3, g.lons, g.lats, 0.0), 1);
  EXPECT_EQ(after_update(3, std::nextafter(g.lons, 400.0), cy, 0.0), 3);
  EXPECT_EQ(after_update(3, std::nextafter(g.loni, 0.0), cy, 0.0), 3);
  EXPECT_EQ(after_update(3, cx, std::nextafter(g.lats, 90.0), 0.0), 3);
  EXPECT_EQ(after_update(3, cx, std::nextafter(g.lati, 0.0), 0.0), 3);
  EXPECT_EQ(after_update(3, std::nan(""), cy, 0.0), 3);
  EXPECT_EQ(after_update(3, cx, std::nan(""), 0.0), 3);
}

TEST(UpdateIndp, ColumnParticleExactlyAtTheBottomRestsOnIt) {
  // 2^-14 degrees of depth is exactly factor / 16384 metres, a single-precision
  // value: the particle lies on the bottom, not above it.
  small_world(1, 1);
  const double z = 1.0 / 16384.0;
  const float bottom = static_cast<float>(factor / 16384.0);
  ASSERT_EQ(z * factor, static_cast<double>(bottom));
  var_mallas.d.fill(bottom);
  EXPECT_EQ(after_update(5, cx, cy, z * factor), -1);
  EXPECT_EQ(var_part.z_part(1, 1), z);
  // A depth one single-precision step deeper leaves it in the column.
  var_mallas.d.fill(std::nextafter(bottom, 100.0f));
  EXPECT_EQ(after_update(5, cx, cy, z * factor), 5);
}

TEST(UpdateIndp, BoxBeyondTheBathymetryDoesNotReadOutsideIt) {
  // The box can be the (larger) current grid: a particle inside the box but
  // outside the bathymetry takes its state from its depth alone.
  small_world(1, 1);
  var_mallas.d.fill(-5.0f);
  var_mallas.lons = 357.0;
  var_mallas.lats = 44.0;
  EXPECT_EQ(after_update(2, 356.8, cy, 0.0), 1);
  EXPECT_EQ(after_update(1, cx, 43.9, 4.0), 5);
  EXPECT_EQ(after_update(1, cx, cy, 0.0), 2);  // inside the bathymetry: land
}

// A U-current grid of the model grid's geometry, with its masks.
void current_grid(int32_t variable, int32_t kind, int32_t mode) {
  var_cfg.currentgrid_variable__y_n = variable;
  var_cfg.variablecurrgrid__wetdry_radar = kind;
  var_run.search_land__mask_maskandcoast = mode;
  auto& f = var_mallasforz;
  f.gridformatcurru_0x = 356.0;
  f.gridformatcurru_0y = 43.0;
  f.gridformatcurru_deltax = 0.1;
  f.gridformatcurru_deltay = 0.1;
  f.gridformatcurru_xcells = 4;
  f.gridformatcurru_ycells = 3;
  var2.mask.allocate(4, 3);
  var2.mask0.allocate(4, 3);
}

struct mask_case {
  int32_t state;
  int32_t mask;
  float depth;
  int32_t step;
  int32_t expected;
};

void run_mask_cases(int32_t kind, int32_t mode, std::initializer_list<mask_case> cases) {
  for (const auto& c : cases) {
    small_world(1, 1);
    current_grid(1, kind, mode);
    var2.mask.fill(c.mask);
    var2.mask0.fill(c.mask == 0 ? 1 : 0);  // not read without time blending
    var_mallas.d.fill(c.depth);
    EXPECT_EQ(after_update(c.state, cx, cy, 0.0, c.step), c.expected)
        << "kind " << kind << " mode " << mode << ": state " << c.state << ", mask " << c.mask
        << ", depth " << c.depth << ", step " << c.step;
  }
}

TEST(UpdateIndp, WetDryGridLandSearchMode1) {
  run_mask_cases(1, 1, {
                           {2, 1, 10.0f, 1, 2},   // wet cell, first step: unchanged
                           {2, 1, 10.0f, 2, 1},   // later steps: afloat
                           {0, 0, 10.0f, 2, 3},   // dry cell takes even beached particles
                           {-1, 0, 10.0f, 1, 3},  // and sea-floor ones
                           {-1, 1, 10.0f, 2, 1},
                           {5, 1, -4.0f, 2, 1},   // the depth is not read
                           {5, 7, 10.0f, 2, 5},   // other mask values change nothing
                           {4, 0, 10.0f, 2, 4},   // air particles keep their state
                           {4, 1, 10.0f, 2, 4},
                       });
}

TEST(UpdateIndp, WetDryGridLandSearchMode2) {
  run_mask_cases(1, 2, {
                           {1, 0, 0.0f, 2, 2},   {3, 0, -1.0f, 2, 2}, {5, 0, 0.0f, 2, 5},
                           {2, 0, -1.0f, 2, 2},  {-1, 0, 0.0f, 2, -1}, {1, 0, 10.0f, 2, 3},
                           {5, 0, 10.0f, 2, 3},  {-1, 0, 10.0f, 2, 3}, {-2, 0, 10.0f, 2, 3},
                           {3, 1, 10.0f, 2, 1},  {2, 1, 10.0f, 1, 1},  {-1, 1, 10.0f, 2, 1},
                           {1, 1, -1.0f, 2, 2},  {3, 1, -1.0f, 2, 3},  {5, 1, -1.0f, 2, 5},
                           {1, 1, 0.0f, 2, 1},   {3, 1, 0.0f, 2, 3},   {2, 1, 0.0f, 2, 2},
                           {1, 9, 10.0f, 2, 1},  {3, 9, -1.0f, 2, 3},
                           {0, 0, 10.0f, 2, 0},  {0, 0, -1.0f, 2, 0},  {0, 1, 10.0f, 2, 0},
                           {0, 1, -1.0f, 2, 0},  {4, 0, 10.0f, 2, 4},  {4, 1, 10.0f, 2, 4},
                       });
}

TEST(UpdateIndp, RadarGrid) {
  run_mask_cases(2, 1, {
                           {1, 0, 10.0f, 2, 2},
                           {1, 1, -1.0f, 2, 1},  // mode 1 reads no depth
                           {5, 0, 10.0f, 2, 5},
                           {2, 0, 10.0f, 2, 2},
                       });
  run_mask_cases(2, 2, {
                           {1, 0, 10.0f, 2, -2},  // left the coverage over water
                           {1, 0, 0.0f, 2, 2},
                           {1, 1, -1.0f, 2, 2},
                           {1, 1, 10.0f, 2, 1},
                           {1, 5, -1.0f, 2, 1},
                           {5, 0, 10.0f, 2, 5},   // only surface particles change
                           {5, 0, -1.0f, 2, 5},
                           {0, 0, 10.0f, 2, 0},
                       });
}

TEST(UpdateIndp, OtherModesChangeNothing) {
  run_mask_cases(1, 3, {{1, 0, 10.0f, 2, 1}, {2, 1, 10.0f, 2, 2}});
  run_mask_cases(2, 3, {{1, 0, 10.0f, 2, 1}});
  run_mask_cases(3, 1, {{1, 0, 10.0f, 2, 1}});
  for (int32_t variable : {2, -1}) {
    small_world(1, 1);
    current_grid(variable, 1, 1);
    var_mallas.d.fill(-1.0f);
    EXPECT_EQ(after_update(3, cx, cy, 0.0), 3) << variable;
  }
}

TEST(UpdateIndp, MaskGridBoxLimitsAreInclusive) {
  // A dry (wet/dry grid) or uncovered (radar grid) cell under a surface
  // particle on each limit of the box changes its state; just beyond the box,
  // where the mask still covers the position, it does not.
  for (int32_t kind : {1, 2}) {
    const int32_t changed = kind == 1 ? 3 : 2;
    small_world(1, 1);
    current_grid(1, kind, 1);
    var_mallasforz.gridformatcurru_xcells = 5;  // the mask reaches one node east of the box
    var2.mask.deallocate();
    var2.mask.allocate(5, 3);
    var2.mask.fill(0);
    const auto& g = var_mallas;
    EXPECT_EQ(after_update(1, g.lons, cy, 0.0), changed) << "east limit, kind " << kind;
    EXPECT_EQ(after_update(1, g.loni, cy, 0.0), changed) << "west limit, kind " << kind;
    EXPECT_EQ(after_update(1, cx, g.lats, 0.0), changed) << "north limit, kind " << kind;
    EXPECT_EQ(after_update(1, cx, g.lati, 0.0), changed) << "south limit, kind " << kind;
    EXPECT_EQ(after_update(1, std::nextafter(g.lons, 400.0), cy, 0.0), 1) << "east of the box, kind " << kind;
  }
}

TEST(UpdateIndp, TimeBlendedCurrentsReadTheStartOfIntervalMask) {
  small_world(1, 1);
  current_grid(1, 1, 1);
  var_run.temporalinterpcurr__y_n = 1;
  var2.mask.fill(1);
  var2.mask0.fill(0);
  EXPECT_EQ(after_update(1, cx, cy, 0.0), 3);
  var_run.temporalinterpcurr__y_n = 0;
  EXPECT_EQ(after_update(3, cx, cy, 0.0), 1);
}

TEST(UpdateIndp, MaskCellsAreReadOnlyInsideTheMask) {
  // Box wider than the current grid: no mask value outside it.
  small_world(1, 1);
  current_grid(1, 1, 1);
  var2.mask.fill(0);
  var_mallas.lons = 358.0;
  EXPECT_EQ(after_update(1, 357.5, cy, 0.0), 1);
  EXPECT_EQ(after_update(1, cx, cy, 0.0), 3);
}

TEST(UpdateIndp, WetDryMode2ClampsTheModelCellByOne) {
  // Current grid three cells wider to the west than the model grid: a
  // particle in the first cell west of the grid reads column 1; one further
  // west is not tested against the bathymetry.
  small_world(1, 1);
  current_grid(1, 1, 2);
  var_mallasforz.gridformatcurru_0x = 355.7;
  var_mallasforz.gridformatcurru_xcells = 7;
  var2.mask.deallocate();
  var2.mask.allocate(7, 3);
  var2.mask.fill(1);
  var_mallas.d.fill(10.0f);
  var_mallas.d(1, 1) = -1.0f;
  var_mallas.d(1, 2) = -1.0f;
  var_mallas.loni = 355.7;
  EXPECT_EQ(after_update(1, 355.85, cy, 0.0), 2);   // model index 0 -> 1 (land)
  EXPECT_EQ(after_update(1, 355.95, cy, 0.0), 2);   // truncation toward zero gives 1 as well
  EXPECT_EQ(after_update(1, 356.05, cy, 0.0), 2);
  EXPECT_EQ(after_update(1, 356.15, cy, 0.0), 1);
  EXPECT_EQ(after_update(1, 355.75, cy, 0.0), 1);   // index -1: outside, unchanged
  EXPECT_EQ(after_update(3, 355.75, 43.15, 0.0), 3);
}

TEST(UpdatePar, CountsOneSpillAndZeroesTheOthers) {
  small_world(10, 2);
  var_part.indp.allocate(10, 2);
  const int32_t states[10] = {1, 1, 5, -1, 0, 2, 3, -2, 4, 7};
  for (int32_t i = 1; i <= 10; ++i) {
    var_part.indp(i, 1) = 1;
    var_part.indp(i, 2) = states[i - 1];
  }
  var_part.par_air(2) = 3;
  update_par(1, 1);
  EXPECT_EQ(var_part.par_surf(1), 10);
  update_par(2, 1);
  const auto& p = var_part;
  EXPECT_EQ(p.par_surf(2), 2);
  EXPECT_EQ(p.par_column(2), 1);
  EXPECT_EQ(p.par_floor(2), 1);
  EXPECT_EQ(p.par_beached(2), 1);
  EXPECT_EQ(p.par_pause(2), 5);
  EXPECT_EQ(p.par_air(2), 3);
  for (const auto* counter : {&p.par_surf, &p.par_column, &p.par_floor, &p.par_beached, &p.par_pause})
    EXPECT_EQ((*counter)(1), 0);
  // Without particles every counter is still zeroed.
  var_run.particle_number = 0;
  update_par(2, 1);
  for (const auto* counter : {&p.par_surf, &p.par_column, &p.par_floor, &p.par_beached, &p.par_pause})
    EXPECT_EQ((*counter)(2), 0);
}

// A second update_indp over the same positions changes nothing, in every
// kind of current grid and land-search mode: the Runge-Kutta stages, which
// leave the positions alone, derive the states once per step.
TEST(UpdateIndp, ASecondUpdateAtTheSamePositionsChangesNothing) {
  struct grid_case {
    int32_t variable, kind, mode;
  };
  const grid_case grids[] = {{0, 0, 1}, {0, 0, 2}, {1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {1, 2, 2}};
  const int32_t codes[] = {1, 5, -1, 0, 2, 3, -2, 4};
  const int32_t np = 400;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (const auto& gc : grids) {
    for (const int32_t step : {1, 2}) {
      small_world(np, 1);
      current_grid(gc.variable, gc.kind, gc.mode);
      var_part.indp.allocate(np, 1);
      for (int32_t i = 1; i <= 4; ++i) {
        for (int32_t j = 1; j <= 3; ++j) {
          var_mallas.d(i, j) = static_cast<float>(static_cast<int32_t>(next() % 5) - 1) * 10.0f;
          var2.mask(i, j) = static_cast<int32_t>(next() % 2);
          var2.mask0(i, j) = static_cast<int32_t>(next() % 2);
        }
      }
      for (int32_t p = 1; p <= np; ++p) {
        var_part.x_part(p, 1) = 355.95 + 0.5 * (next() % 10000) / 10000.0;
        var_part.y_part(p, 1) = 42.95 + 0.4 * (next() % 10000) / 10000.0;
        var_part.z_part(p, 1) = (next() % 3 == 0 ? 0.0 : 40.0 * (next() % 1000) / 1000.0) / factor;
        var_part.indp(p, 1) = codes[next() % 8];
      }
      update_indp(1, step);
      const auto states = std::vector<int32_t>(var_part.indp.begin(), var_part.indp.end());
      const auto depths = std::vector<double>(var_part.z_part.begin(), var_part.z_part.end());
      update_indp(1, step);
      EXPECT_EQ(std::vector<int32_t>(var_part.indp.begin(), var_part.indp.end()), states)
          << gc.variable << " " << gc.kind << " " << gc.mode << " step " << step;
      EXPECT_EQ(std::vector<double>(var_part.z_part.begin(), var_part.z_part.end()), depths);
    }
  }
}

TEST(CentreOfMass, EveryParticleWhateverItsState) {
  small_world(4, 1);
  var_part.indp.allocate(4, 1);
  const double xs[4] = {356.0, 356.1, 356.2, 356.5};
  const int32_t states[4] = {1, 0, -2, 2};
  for (int32_t i = 1; i <= 4; ++i) {
    var_part.x_part(i, 1) = xs[i - 1];
    var_part.y_part(i, 1) = 43.0 + i;
    var_part.z_part(i, 1) = i / factor;
    var_part.indp(i, 1) = states[i - 1];
  }
  centre_of_mass(1);
  EXPECT_DOUBLE_EQ(var_part.x_cg(1), (356.0 + 356.1 + 356.2 + 356.5) / 4);
  EXPECT_DOUBLE_EQ(var_part.y_cg(1), 45.5);
  EXPECT_DOUBLE_EQ(var_part.z_cg(1), 2.5 / factor);
  var_run.particle_number = 0;  // no particles: no 0/0
  centre_of_mass(1);
  EXPECT_DOUBLE_EQ(var_part.y_cg(1), 45.5);
}

TEST(CurrentGridCheck, AVaryingGridMustFallInTheModelGrid) {
  struct check_case {
    const char* what;
    int32_t kind;        // 1 wet/dry, 2 radar
    double x0;           // west node of the U grid
    int32_t xcells;
    int32_t format;
    int32_t mode;
    bool fails;
  };
  const check_case cases[] = {
      {"radar grid equal to the model grid", 2, 356.0, 4, 2, 2, false},
      {"radar grid inside", 2, 356.1, 2, 2, 2, false},
      {"radar grid half a cell beyond to the east", 2, 356.05, 5, 2, 2, true},
      {"radar grid beyond to the west", 2, 355.75, 6, 2, 2, true},
      {"wet/dry grid within the clamped cell to the east", 1, 356.05, 5, 2, 2, false},
      {"wet/dry grid within the clamped cell to the west", 1, 355.85, 5, 2, 2, false},
      {"wet/dry grid beyond the clamped cell to the west", 1, 355.75, 6, 2, 2, true},
      {"node-list grid: not known before the first record", 2, 355.0, 9, 1, 2, false},
      {"land-search mode 1 reads no depth", 2, 355.0, 9, 2, 1, false},
  };
  for (const auto& c : cases) {
    small_world(1, 1);
    current_grid(1, c.kind, c.mode);
    var_cfg.currentgridformat__xyz_grid = c.format;
    var_mallasforz.gridformatcurru_0x = c.x0;
    var_mallasforz.gridformatcurru_xcells = c.xcells;
    if (c.fails) {
      try {
        check_current_grid_in_model_grid("RUN1.cfg");
        ADD_FAILURE() << c.what;
      } catch (const input_error& e) {
        EXPECT_EQ(e.file(), "RUN1.cfg");
        EXPECT_NE(e.message().find("beyond the model grid"), std::string::npos);
      }
    } else {
      EXPECT_NO_THROW(check_current_grid_in_model_grid("RUN1.cfg")) << c.what;
    }
  }
  // North-south as well.
  small_world(1, 1);
  current_grid(1, 2, 2);
  var_cfg.currentgridformat__xyz_grid = 2;
  var_mallasforz.gridformatcurru_ycells = 5;
  EXPECT_THROW(check_current_grid_in_model_grid("RUN1.cfg"), input_error);
  var_cfg.currentgrid_variable__y_n = 0;  // fixed grid: the box is the model grid
  EXPECT_NO_THROW(check_current_grid_in_model_grid("RUN1.cfg"));
}

// The cell left in x_int, y_int is that of the last particle (in particle
// order) that finds a model cell, also when it lies in an early block of
// the particles and the later blocks hold none in a cell: neither the first
// particle's cell nor none at all.  On one thread and on several.
TEST(UpdateIndp, TheLastParticleInACellLeavesItsCellAcrossBlocks) {
  const int32_t np = static_cast<int32_t>(2 * parallel_block + 100);
  for (const int threads : {1, 8}) {
    set_thread_count(threads);
    small_world(np, 1);
    var_part.indp.allocate(np, 1);
    for (int32_t i = 1; i <= np; ++i) {
      var_part.x_part(i, 1) = 350.0;  // outside the grid
      var_part.y_part(i, 1) = cy;
      var_part.indp(i, 1) = 1;
    }
    var_part.x_part(1, 1) = 356.05;  // cell (1, 1)
    var_part.x_part(100, 1) = cx;    // cell (2, 1)
    var_part.x_part(200, 1) = 356.25;  // cell (3, 2), the last in a cell
    var_part.y_part(200, 1) = 43.15;
    var_mallas.x_int = 0;
    var_mallas.y_int = 0;
    update_indp(1, 2);
    EXPECT_EQ(var_mallas.x_int, 3) << threads << " threads";
    EXPECT_EQ(var_mallas.y_int, 2) << threads << " threads";
    var_part.indp.deallocate();
  }
  set_thread_count(0);
}

}  // namespace
}  // namespace orvel
