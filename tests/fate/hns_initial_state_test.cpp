// First states and positions of the particles of a chemical spill, and its
// initial slick area.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "fate/hns_setup.hpp"
#include "fate/hns_water.hpp"
#include "tests/fate/hns_spill_state.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::hns_world;
using testing::release_x;
using testing::release_y;

const double x0 = release_x + 360.0;
const double y0 = release_y;
// Metres per degree of longitude at the small world's 43 N, with the true pi.
const double mx = testing::metres_per_degree_lon(43.0);

struct moments {
  double mean = 0.0;
  double variance = 0.0;
};

moments moments_of(int32_t n, const std::function<double(int32_t)>& value) {
  double s = 0.0, s2 = 0.0;
  for (int32_t i = 1; i <= n; ++i) s += value(i);
  const double mean = s / n;
  for (int32_t i = 1; i <= n; ++i) s2 += (value(i) - mean) * (value(i) - mean);
  return {mean, s2 / (n - 1)};
}

// A disc of radius `radius` metres: the area that gives it.
float disc_area(double radius) { return static_cast<float>(3.14159 * radius * radius); }

TEST(HnsInitialArea, FormulaByAlgorithmAndStartTime) {
  struct area_case {
    const char* what;
    int32_t spreading, algorithm;
    double volume;
    float area;  // m2
  };
  // The HNS algorithm: a disc of radius 2.81 sqrt(V), pi 2.81^2 V =
  // 24.8063 m2 for 1 m3.  Otherwise the spreading oil's 2.67 (V^5 g drho /
  // nu^2)^(1/6): 266.2953 m2 for 1 m3, drho 0.1, nu 1e-6 m2/s.
  const area_case cases[] = {
      {"algorithm 3", 1, 3, 1.0, 24.8063088f},
      {"algorithm 3, 4 m3", 1, 3, 4.0, 99.2252352f},
      {"algorithm 1: the oil slick", 1, 1, 1.0, 266.2952880859375f},
      {"no spreading: the oil slick", 0, 3, 1.0, 266.2952880859375f},
  };
  for (const auto& c : cases) {
    hns_world(5, 1);
    var_cfg.spreading__y_n = c.spreading;
    var_cfg.spreadalgorithm__adios2_leher_hns = c.algorithm;
    var_cfg.vol0(1) = c.volume;
    var_spill.deltarho(1) = 0.1f;
    farray<double, 1> tstart;
    tstart.allocate(1);
    initialareahns(1, tstart, 1);
    EXPECT_NEAR(var_spill.area_hns(1), c.area, 2e-6 * c.area) << c.what;
    // 1.5 h is 5400 s, converted once per run.
    EXPECT_EQ(var_cfg.spillstarttime(1), 5400.0) << c.what;
    EXPECT_EQ(tstart(1), 5400.0) << c.what;
    initialareahns(1, tstart, 2);
    EXPECT_EQ(var_cfg.spillstarttime(1), 5400.0) << c.what;
    EXPECT_EQ(tstart(1), 5400.0) << c.what;
  }
}

TEST(HnsPlacement, FirstParticleByHandTwoDrawsEach) {
  // Seeded with 0, the generator's first two values are 16776839 / 2^24 and
  // 15350608 / 2^24 (see the rectangle placement's hand derivation).  The
  // angle is the first times 6.28318 and the radius the second times R, in
  // single precision; the offsets in metres are turned into degrees in
  // double precision, rounded to single and added to the release point.
  hns_world(3, 1);
  var_spill.area_hns(1) = 31415.9f;
  getparthnsinitialstate(1);
  const float u1 = 16776839.0f / 16777216.0f;
  const float u2 = 15350608.0f / 16777216.0f;
  const float radius = std::sqrt(31415.9f / 3.14159f);
  const float theta = u1 * 6.28318f;
  const float r = u2 * radius;
  const double m_lon = std::cos(43.0 * static_cast<double>(3.1416f) / 180.0) * factor;
  const float east = static_cast<float>(static_cast<double>(std::cos(theta) * r) / m_lon);
  const float north = static_cast<float>(static_cast<double>(std::sin(theta) * r) / factor);
  EXPECT_EQ(var_part.x_part(1, 1), x0 + static_cast<double>(east));
  EXPECT_EQ(var_part.y_part(1, 1), y0 + static_cast<double>(north));
  EXPECT_EQ(var_part.z_part(1, 1), 0.0);
  // Two draws per particle.
  srand(0);
  for (int k = 0; k < 6; ++k) rand(0);
  const int32_t after_six = rand_state();
  hns_world(3, 1);
  var_spill.area_hns(1) = 31415.9f;
  srand(777);  // the placement seeds afresh
  getparthnsinitialstate(1);
  EXPECT_EQ(rand_state(), after_six);
  // A second simulation: the longitude is converted once, the positions repeat.
  const auto x = var_part.x_part;
  getparthnsinitialstate(2);
  EXPECT_EQ(var_cfg.spillposition_x(1), x0);
  for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(var_part.x_part(i, 1), x(i, 1));
}

TEST(HnsPlacement, DiscRadiusIsUniformSoHalfLieWithinHalfTheRadius) {
  const int32_t n = 10000;
  const double radius = 1000.0;
  hns_world(n, 1);
  var_spill.area_hns(1) = disc_area(radius);
  getparthnsinitialstate(1);
  auto r_of = [&](int32_t i) {
    const double e = (var_part.x_part(i, 1) - x0) * mx;
    const double nn = (var_part.y_part(i, 1) - y0) * factor;
    return std::sqrt(e * e + nn * nn) / radius;
  };
  int32_t inner = 0;
  for (int32_t i = 1; i <= n; ++i) {
    ASSERT_LE(r_of(i), 1.0 + 1e-5);
    inner += r_of(i) < 0.5;
  }
  // r / R is uniform: half the particles within R/2 (a disc filled evenly
  // would hold a quarter there).  Four standard errors of a proportion.
  EXPECT_NEAR(static_cast<double>(inner) / n, 0.5, 4.0 * 0.5 / std::sqrt(n));
  // The offsets have mean 0 and variance R^2 / 6 along each axis.
  const auto me = moments_of(n, [&](int32_t i) { return (var_part.x_part(i, 1) - x0) * mx / radius; });
  const auto mn = moments_of(n, [&](int32_t i) { return (var_part.y_part(i, 1) - y0) * factor / radius; });
  const double bound = 4.0 * std::sqrt(1.0 / 6 / n);
  EXPECT_NEAR(me.mean, 0.0, bound);
  EXPECT_NEAR(mn.mean, 0.0, bound);
  EXPECT_NEAR(me.variance, 1.0 / 6, 0.01);
  // The centre of mass is the mean of the positions.
  EXPECT_NEAR(var_part.x_cg(1), x0 + me.mean * radius / mx, 1e-9);
  EXPECT_NEAR(var_part.y_cg(1), y0 + mn.mean * radius / factor, 1e-9);
}

// U-current nodes 4 x 3 every 1/16 degree of longitude from 356 E and every
// 1/8 degree of latitude from 43 N (values exact in single precision, so the
// cells are known exactly), mask 1 everywhere.
void current_grid(int32_t mode, int32_t kind, int32_t format) {
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.variablecurrgrid__wetdry_radar = kind;
  var_cfg.currentgridformat__xyz_grid = format;
  var_run.search_land__mask_maskandcoast = mode;
  var_cfg.xyzcurrentnodes_number[0] = 12;
  var2.xcorr_u.allocate(12);
  var2.ycorr_u.allocate(12);
  for (int32_t ix = 1; ix <= 4; ++ix) {
    for (int32_t iy = 1; iy <= 3; ++iy) {
      var2.xcorr_u((ix - 1) * 3 + iy) = 356.0 + (ix - 1) * 0.0625;
      var2.ycorr_u((ix - 1) * 3 + iy) = 43.0 + (iy - 1) * 0.125;
    }
  }
  var2.mask.allocate(4, 3);
  var2.mask.fill(1);
}

// Cell int((x - origin) / dx) + 1 on an axis of n cells (the integer part
// truncated toward zero), 0 outside.
int32_t cell(double x, double origin, double dx, int32_t n) {
  const double q = (x - origin) / dx;
  return q > -1.0 && q < n ? static_cast<int32_t>(q) + 1 : 0;
}

bool in_model_column_3(double x, double) { return cell(x, 356.0, 0.1, 4) == 3; }
bool in_current_column_4(double x, double) { return cell(x, 356.0, 0.0625, 4) == 4; }
bool on_current_grid(double x, double y) { return cell(x, 356.0, 0.0625, 4) != 0 && cell(y, 43.0, 0.125, 3) != 0; }
bool nowhere(double, double) { return false; }

TEST(HnsPlacement, LandAndDryCellsHoldParticlesBackAtTheReleasePoint) {
  // The same disc (radius 10 km, 400 particles) is placed once over open
  // water and once with land or dry cells under part of it: a particle held
  // back lies at the release point, every other one where it was drawn.
  struct ground_case {
    const char* what;
    int32_t dims;
    int32_t hnsclass;
    std::function<void()> ground;
    bool (*held)(double, double);  // where a particle drawn there is held back
  };
  auto land_column_3 = [] {
    for (int32_t iy = 1; iy <= 3; ++iy) var_mallas.d(3, iy) = -1.0f;
  };
  auto dry_column_4 = [] {
    current_grid(1, 1, 1);
    for (int32_t iy = 1; iy <= 3; ++iy) var2.mask(4, iy) = 0;
  };
  auto all_dry = [] {
    current_grid(1, 1, 1);
    var2.mask.fill(0);
  };
  auto no_longitude_step = [] {
    current_grid(1, 1, 1);
    var2.mask.fill(0);
    for (int32_t k = 1; k <= 12; ++k) var2.xcorr_u(k) = 356.0;
  };
  auto wetdry_grid_files = [] {
    current_grid(2, 1, 2);
    var2.mask.fill(0);
  };
  auto no_test_mode = [] {
    current_grid(3, 1, 1);
    var2.mask.fill(0);
    var_mallas.d.fill(-1.0f);
  };
  const ground_case cases[] = {
      {"depth test, surface particles", 1, 3, land_column_3, in_model_column_3},
      {"depth test leaves air particles", 1, 1, land_column_3, nowhere},
      {"depth test leaves sea-floor particles", 1, 12, land_column_3, nowhere},
      {"depth test, 3-D surface release", 2, 3, land_column_3, in_model_column_3},
      {"mask test, surface particles", 1, 3, dry_column_4, in_current_column_4},
      {"mask test moves air particles too", 1, 1, dry_column_4, in_current_column_4},
      {"mask test moves sea-floor particles too", 1, 12, dry_column_4, in_current_column_4},
      {"mask test, 3-D release of a gas", 2, 1, dry_column_4, in_current_column_4},
      {"mask test: beyond the current grid nothing is tested", 1, 3, all_dry, on_current_grid},
      {"mask test: nodes without a longitude step locate no grid", 1, 3, no_longitude_step, nowhere},
      {"wet/dry mask in mode 2 is tested whatever the file format", 1, 3, wetdry_grid_files, on_current_grid},
      {"a land-search mode without a test", 1, 3, no_test_mode, nowhere},
  };
  for (const auto& c : cases) {
    auto place = [&](bool with_ground) {
      hns_world(400, 1, c.dims);
      var_spill.hnsbehaviourclass(1) = c.hnsclass;
      var_cfg.spreading__y_n = 1;
      var_cfg.spreadalgorithm__adios2_leher_hns = 3;
      var_cfg.vol0(1) = 1.0e8 / (2.81 * 2.81);  // a disc of 10 km radius in 3-D
      var_spill.area_hns(1) = disc_area(10000.0);
      if (with_ground) c.ground();
      if (c.dims == 1) {
        getparthnsinitialstate(1);
      } else {
        getparthnsinitialstate3d(1);
      }
    };
    place(false);
    const auto free_x = var_part.x_part;
    const auto free_y = var_part.y_part;
    const auto free_states = var_part.indp;
    place(true);
    // Particles drawn outside the domain box (the model grid's, or the
    // current grid's over a time-varying one) are counted outside (-2) and
    // left out here; the others keep their state.
    int32_t held = 0;
    for (int32_t i = 1; i <= 400; ++i) {
      const bool h = c.held(free_x(i, 1), free_y(i, 1));
      held += h;
      EXPECT_EQ(var_part.x_part(i, 1), h ? x0 : free_x(i, 1)) << c.what << ", particle " << i;
      EXPECT_EQ(var_part.y_part(i, 1), h ? y0 : free_y(i, 1)) << c.what << ", particle " << i;
      if (var_part.indp(i, 1) == -2 || free_states(i, 1) == -2) continue;
      EXPECT_EQ(var_part.indp(i, 1), free_states(i, 1)) << c.what << ": the state stays";
    }
    if (c.held != nowhere) {
      EXPECT_GT(held, 20) << c.what;
    }
    EXPECT_EQ(var_part.par_beached(1), 0) << c.what;
  }
}

TEST(HnsPlacement, ReleaseCellOnLandBeachesTheWholeSpill) {
  struct land_case {
    const char* what;
    std::function<void()> setup;
    int32_t state;
    int32_t beached;
  };
  const land_case cases[] = {
      {"every cell land", [] { var_mallas.d.fill(-1.0f); }, 0, 50},
      {"land at the release cell only", [] { var_mallas.d(2, 2) = -0.5f; }, 0, 50},
      {"a cell of depth 0 is water", [] { var_mallas.d.fill(0.0f); }, 1, 0},
      // Outside the domain box nothing would move them: counted outside.
      {"release point beyond the model grid", [] {
         var_mallas.d.fill(-1.0f);
         var_cfg.spillposition_y(1) = 44.0;
       }, -2, 0},
      // The mask mode over a time-varying current grid reads no depths.
      {"a run without depths", [] {
         var_mallas.d.fill(-1.0f);
         var_cfg.currentgrid_variable__y_n = 1;
         var_run.search_land__mask_maskandcoast = 1;
       }, 1, 0},
  };
  for (const auto& c : cases) {
    auto place = [&](bool with_land) {
      hns_world(50, 1);
      var_spill.area_hns(1) = disc_area(2000.0);
      if (with_land) c.setup();
      getparthnsinitialstate(1);
    };
    place(false);
    const auto free_x = var_part.x_part;
    place(true);
    for (int32_t i = 1; i <= 50; ++i) {
      EXPECT_EQ(var_part.indp(i, 1), c.state) << c.what;
      // Beached particles are no surface particles: the depth test keeps
      // them where they were drawn, spread over the disc.
      if (var_cfg.spillposition_y(1) == y0) {
        EXPECT_EQ(var_part.x_part(i, 1), free_x(i, 1)) << c.what;
      }
    }
    EXPECT_EQ(var_part.par_beached(1), c.beached) << c.what;
    EXPECT_EQ(var_part.par_air(1), 0) << c.what;
  }
}

TEST(HnsPlacement, StatesByClassDimensionAndDepth) {
  struct state_case {
    const char* what;
    int32_t dims, hnsclass;
    double z_m;
    int32_t state, air;
    float rho = 900.0f;  // in sea water of 1025 kg/m3
  };
  const state_case cases[] = {
      {"2-D floater", 1, 3, 0.0, 1, 0},
      {"2-D gas in the air", 1, 1, 0.0, 4, 20},
      {"2-D sinker on the floor", 1, 12, 0.0, -1, 0},
      {"2-D sinker-dissolver denser than the water on the floor", 1, 11, 0.0, -1, 0, 1326.0f},
      {"2-D sinker-dissolver lighter than the water afloat", 1, 11, 0.0, 1, 0, 950.0f},
      {"2-D sinker-dissolver as dense as the water afloat", 1, 11, 0.0, 1, 0, 1025.0f},
      {"3-D surface floater", 2, 3, 0.0, 1, 0},
      {"3-D surface gas in the air", 2, 1, 0.0, 4, 20},
      {"3-D surface sinker afloat", 2, 12, 0.0, 1, 0},
      {"3-D gas at depth in the column", 2, 1, 30.0, 5, 0},
      {"3-D sinker at depth in the column", 2, 12, 30.0, 5, 0},
      {"3-D floater above the floor where released", 2, 3, 12.5, 5, 0},
      {"2-D dissolver denser than the water on the floor", 1, 10, 0.0, -1, 0, 1113.0f},
      {"2-D gas-dissolver denser than the water afloat", 1, 2, 0.0, 1, 0, 1190.0f},
      {"2-D gas denser than the water in the air", 1, 1, 0.0, 4, 20, 1410.0f},
  };
  for (const auto& c : cases) {
    hns_world(20, 1, c.dims);
    var_spill.hnsbehaviourclass(1) = c.hnsclass;
    var_spill.density(1) = c.rho;
    var_spill.waterdensity(1) = 1025.0f;
    var_cfg.spillposition_z(1) = c.z_m;
    var_cfg.spillsize_sidex(1) = 100.0;
    var_cfg.spillsize_sidey(1) = 100.0;
    var_cfg.vol0(1) = 2.0;
    var_cfg.thick(1) = -7.0;
    var_spill.deltarho(1) = 0.1f;
    var_spill.area_hns(1) = disc_area(50.0);
    var_part.par_air(1) = 3;  // stale counts of an earlier simulation
    var_part.par_beached(1) = 20;
    if (c.dims == 1) {
      getparthnsinitialstate(1);
    } else {
      getparthnsinitialstate3d(1);
    }
    // The world's floor is 20 m deep: a release at or below it starts just
    // above it (1 cm), in the water column.
    const double z = c.z_m >= 20.0 ? 20.0 - 0.01 : c.z_m;
    for (int32_t i = 1; i <= 20; ++i) {
      EXPECT_EQ(var_part.indp(i, 1), c.state) << c.what;
      EXPECT_NEAR(var_part.z_part(i, 1) * factor, z, 1e-9) << c.what;
    }
    EXPECT_EQ(var_part.par_air(1), c.air) << c.what;
    EXPECT_EQ(var_part.par_beached(1), 0) << c.what;
    if (c.dims == 2 && c.z_m == 0.0) {
      // The 3-D surface release sets its area (the oil slick's, 266.3 m2
      // for 1 m3 with drho 0.1, here 2 m3) and thickness.
      EXPECT_EQ(var_cfg.thick(1), 2.0 / var_spill.area_hns(1)) << c.what;
      EXPECT_EQ(var_cfg.spillstarttime(1), 5400.0) << c.what;
    } else if (c.dims == 2) {
      EXPECT_EQ(var_cfg.thick(1), -7.0) << c.what << ": thickness not set at depth";
    }
  }
}

// A 3-D release at 20 m depth in a rectangle of `sidex` by `sidey` metres.
void depth_release(int32_t np, double sidex, double sidey) {
  hns_world(np, 1, 2);
  var_cfg.spillposition_z(1) = 20.0;
  var_cfg.spillsize_sidex(1) = sidex;
  var_cfg.spillsize_sidey(1) = sidey;
  var_cfg.thick(1) = -7.0;
}

TEST(HnsPlacement3d, DepthReleaseFillsTheRectangleAndTakesItsHullArea) {
  const int32_t n = 10000;
  depth_release(n, 2000.0, 1000.0);
  getparthnsinitialstate3d(1);
  const auto& c = var_cfg;
  // The sides are now degrees, the start time seconds, the longitude + 360.
  EXPECT_NEAR(c.spillsize_sidex(1) * mx / 2000.0, 1.0, 3e-6);
  EXPECT_DOUBLE_EQ(c.spillsize_sidey(1) * factor, 1000.0);
  EXPECT_EQ(c.spillstarttime(1), 5400.0);
  EXPECT_EQ(c.spillposition_x(1), x0);
  const double sx = c.spillsize_sidex(1), sy = c.spillsize_sidey(1);
  for (int32_t i = 1; i <= n; ++i) {
    ASSERT_EQ(var_part.indp(i, 1), 5);
    // Released at the floor's depth (20 m): just above the floor.
    ASSERT_EQ(var_part.z_part(i, 1), above_floor(20.0f) / factor);
    ASSERT_GE(var_part.x_part(i, 1), x0 - 0.5 * sx);
    ASSERT_LT(var_part.x_part(i, 1), x0 + 0.5 * sx);
    ASSERT_GE(var_part.y_part(i, 1), y0 - 0.5 * sy);
    ASSERT_LT(var_part.y_part(i, 1), y0 + 0.5 * sy);
  }
  // Offsets uniform over the sides: mean 0 within four standard errors.
  const auto mxo = moments_of(n, [&](int32_t i) { return (var_part.x_part(i, 1) - x0) / sx; });
  EXPECT_NEAR(mxo.mean, 0.0, 4.0 / std::sqrt(12.0 * n));
  EXPECT_NEAR(mxo.variance, 1.0 / 12, 4.0 * std::sqrt((1.0 / 80 - 1.0 / 144) / n));
  // The hull of 10000 points uniform in a 2 km x 1 km rectangle misses only
  // a thin rim of it (a few thousandths of the area).
  EXPECT_GT(var_spill.area_hns(1), 0.99 * 2.0e6);
  EXPECT_LE(var_spill.area_hns(1), 2.0e6 * (1.0 + 1e-5));
  EXPECT_EQ(var_cfg.thick(1), -7.0);  // not set for a release below the surface
  EXPECT_EQ(var_part.par_beached(1), 0);
  // A second simulation converts nothing again and repeats the cloud.
  const auto x = var_part.x_part;
  const float area = var_spill.area_hns(1);
  getparthnsinitialstate3d(2);
  EXPECT_EQ(c.spillsize_sidex(1), sx);
  EXPECT_EQ(c.spillsize_sidey(1), sy);
  EXPECT_EQ(c.spillstarttime(1), 5400.0);
  EXPECT_EQ(c.spillposition_x(1), x0);
  EXPECT_EQ(var_part.x_part(n, 1), x(n, 1));
  EXPECT_EQ(var_spill.area_hns(1), area);
}

TEST(HnsPlacement3d, HullOfACloudWithoutThreeCornersHasNoArea) {
  struct hull_case {
    const char* what;
    int32_t np;
    double sidex, sidey;
  };
  const hull_case cases[] = {
      {"one particle", 1, 100.0, 100.0},
      {"all at one point", 30, 0.0, 0.0},
      {"on one meridian", 30, 0.0, 100.0},
  };
  for (const auto& c : cases) {
    depth_release(c.np, c.sidex, c.sidey);
    var_spill.area_hns(1) = 5.0f;
    getparthnsinitialstate3d(1);
    EXPECT_EQ(var_spill.area_hns(1), 0.0f) << c.what;
  }
}

TEST(HnsPlacement3d, DryCellsHoldDepthParticlesWhereTheyWereDrawn) {
  struct dry_case {
    const char* what;
    int32_t mode, kind, format;
    bool tested;
  };
  const dry_case cases[] = {
      {"mask mode", 1, 1, 2, true},
      {"mode 2, wet/dry, node lists", 2, 1, 1, true},
      {"mode 2, wet/dry, grid files: no test", 2, 1, 2, false},
      {"mode 2, radar: the depth test, which leaves column particles", 2, 2, 1, false},
  };
  for (const auto& c : cases) {
    // Two spills: the first over the dry column 4 of the current grid, the
    // second, smaller one, over wet cells only.
    auto place = [&](bool with_mask) {
      hns_world(400, 2, 2);
      for (int32_t s = 1; s <= 2; ++s) var_cfg.spillposition_z(s) = 20.0;
      var_cfg.spillposition_x(1) = 356.2 - 360.0;
      var_cfg.spillsize_sidex(1) = 8000.0;
      var_cfg.spillsize_sidey(1) = 4000.0;
      var_cfg.spillposition_x(2) = 356.03 - 360.0;
      var_cfg.spillsize_sidex(2) = 1000.0;
      var_cfg.spillsize_sidey(2) = 500.0;
      var_mallas.d.fill(-1.0f);  // land under everything: tested only for surface particles
      if (with_mask) {
        current_grid(c.mode, c.kind, c.format);
        for (int32_t iy = 1; iy <= 3; ++iy) var2.mask(4, iy) = 0;
      }
      getparthnsinitialstate3d(1);
    };
    place(false);
    const auto free_x = var_part.x_part;
    const float free_area2 = var_spill.area_hns(2);
    place(true);
    int32_t dry = 0;
    for (int32_t i = 1; i <= 400; ++i) {
      const bool d = c.tested && in_current_column_4(free_x(i, 1), 0.0);
      dry += d;
      EXPECT_EQ(var_part.indp(i, 1), d ? 2 : 5) << c.what;
      EXPECT_EQ(var_part.x_part(i, 1), free_x(i, 1)) << c.what << ": the position stays";
      EXPECT_EQ(var_part.indp(i, 2), 5) << c.what;
    }
    if (c.tested) {
      EXPECT_GT(dry, 20) << c.what;
    }
    EXPECT_EQ(var_part.par_beached(1), dry) << c.what;
    EXPECT_EQ(var_part.par_beached(2), 0) << c.what;
    // Each spill's area is the hull of its own particles (400 points miss
    // some 4 % of their rectangle).
    EXPECT_GT(var_spill.area_hns(1), 0.9 * 8000.0 * 4000.0) << c.what;
    EXPECT_LE(var_spill.area_hns(1), 8000.0 * 4000.0 * (1.0 + 1e-5)) << c.what;
    EXPECT_EQ(var_spill.area_hns(2), free_area2) << c.what;
    EXPECT_GT(var_spill.area_hns(2), 0.9 * 1000.0 * 500.0) << c.what;
    EXPECT_LE(var_spill.area_hns(2), 1000.0 * 500.0 * (1.0 + 1e-5)) << c.what;
  }
}

}  // namespace
}  // namespace orvel
