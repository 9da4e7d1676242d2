#include "transport/placement.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/transport/particles_fixture.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::metres_per_degree_lon;
using testing::small_world;

// One spill at (-3.85, 43.1), the middle of the small world's grid.
void one_spill(int32_t np, double sidex_m, double sidey_m, double z_m = 0.0) {
  small_world(np, 1);
  var_cfg.spillposition_x(1) = -3.85;
  var_cfg.spillposition_y(1) = 43.1;
  var_cfg.spillposition_z(1) = z_m;
  var_cfg.spillsize_sidex(1) = sidex_m;
  var_cfg.spillsize_sidey(1) = sidey_m;
  var_cfg.spillstarttime(1) = 2.0;
}

struct moments {
  double mean = 0.0;
  double variance = 0.0;
};

template <typename F>
moments moments_of(int32_t n, F value) {
  double s = 0.0, s2 = 0.0;
  for (int32_t i = 1; i <= n; ++i) s += value(i);
  const double mean = s / n;
  for (int32_t i = 1; i <= n; ++i) s2 += (value(i) - mean) * (value(i) - mean);
  return {mean, s2 / (n - 1)};
}

TEST(PartIni2d, RectangleIsUniform) {
  const int32_t n = 10000;
  one_spill(n, 2000.0, 1000.0);
  part_ini_2d(1);
  const auto& c = var_cfg;
  // The sides are now degrees: metres over metres per degree.
  EXPECT_NEAR(c.spillsize_sidex(1) * metres_per_degree_lon(43.0) / 2000.0, 1.0, 3e-6);
  EXPECT_DOUBLE_EQ(c.spillsize_sidey(1) * factor, 1000.0);
  const double x0 = c.spillposition_x(1), y0 = c.spillposition_y(1);
  const double sx = c.spillsize_sidex(1), sy = c.spillsize_sidey(1);
  // Offsets in units of the side: uniform on [-0.5, 0.5), mean 0 and variance
  // 1/12.  Bounds of four standard errors: 1/sqrt(12 n) for the mean and
  // sqrt((1/80 - 1/144)/n) for the variance (fourth moment 1/80).
  const double mean_bound = 4.0 / std::sqrt(12.0 * n);
  const double var_bound = 4.0 * std::sqrt((1.0 / 80 - 1.0 / 144) / n);
  const auto mx = moments_of(n, [&](int32_t i) { return (var_part.x_part(i, 1) - x0) / sx; });
  const auto my = moments_of(n, [&](int32_t i) { return (var_part.y_part(i, 1) - y0) / sy; });
  EXPECT_NEAR(mx.mean, 0.0, mean_bound);
  EXPECT_NEAR(my.mean, 0.0, mean_bound);
  EXPECT_NEAR(mx.variance, 1.0 / 12, var_bound);
  EXPECT_NEAR(my.variance, 1.0 / 12, var_bound);
  // x and y come from independent draws: no correlation.
  double cxy = 0.0;
  for (int32_t i = 1; i <= n; ++i)
    cxy += ((var_part.x_part(i, 1) - x0) / sx - mx.mean) * ((var_part.y_part(i, 1) - y0) / sy - my.mean);
  EXPECT_NEAR(cxy / n / (1.0 / 12), 0.0, 4.0 / std::sqrt(n));
  for (int32_t i = 1; i <= n; ++i) {
    ASSERT_GT(var_part.x_part(i, 1), x0 - 0.5 * sx);
    ASSERT_LT(var_part.x_part(i, 1), x0 + 0.5 * sx);
    ASSERT_EQ(var_part.indp(i, 1), 1);
    ASSERT_EQ(var_part.z_part(i, 1), 0.0);
  }
  // Centre of mass: the mean of the positions.
  EXPECT_NEAR(var_part.x_cg(1), x0 + mx.mean * sx, 1e-9);
  EXPECT_NEAR(var_part.y_cg(1), y0 + my.mean * sy, 1e-9);
}

TEST(PartIni2d, FirstParticleByHand) {
  // Seeded with 0 the state is taken as 2^31 - 2, so the first state is
  // 48271 (2^31 - 2) mod (2^31 - 1) = 2^31 - 1 - 48271 = 2147435376; in single
  // precision (spacing 128 between 2^30 and 2^31) it becomes 2147435392 =
  // 16776839 * 128, so R1 = 16776839 / 2^24 and R1 - 0.5 = 8388231 / 2^24.
  // The second state is 2^31 - 1 - (48271^2 mod (2^31 - 1)) = 2147483647 -
  // 182605794 = 1964877853, rounded to 1964877824 = 15350608 * 128, so
  // R2 - 0.5 = (15350608 - 8388608) / 2^24 = 6962000 / 2^24.
  one_spill(3, 2000.0, 1000.0);
  part_ini_2d(1);
  const double mx = std::cos(43.0 * 3.1415998935699463 / 180.0) * 111317.359375;
  const double x = (-3.85 + 360.0) + (8388231.0 / 16777216.0) * (2000.0 / mx);
  const double y = 43.1 + (6962000.0 / 16777216.0) * (1000.0 / 111317.359375);
  EXPECT_EQ(var_part.x_part(1, 1), x);
  EXPECT_EQ(var_part.y_part(1, 1), y);
  // Two draws per particle: the generator stands after the sixth draw.
  srand(0);
  for (int k = 0; k < 6; ++k) rand(0);
  const int32_t after_six = rand_state();
  one_spill(3, 2000.0, 1000.0);
  part_ini_2d(1);
  EXPECT_EQ(rand_state(), after_six);
}

TEST(PartIni2d, ConversionsOnlyInTheFirstSimulation) {
  one_spill(50, 2000.0, 1000.0);
  part_ini_2d(1);
  const auto x1 = var_part.x_part;
  const double sidex = var_cfg.spillsize_sidex(1);
  EXPECT_EQ(var_cfg.spillstarttime(1), 7200.0);
  EXPECT_EQ(var_cfg.spillposition_x(1), -3.85 + 360.0);
  var_part.indp.deallocate();  // the engine releases it at the end of a simulation
  part_ini_2d(2);
  EXPECT_EQ(var_cfg.spillstarttime(1), 7200.0);
  EXPECT_EQ(var_cfg.spillposition_x(1), -3.85 + 360.0);
  EXPECT_EQ(var_cfg.spillsize_sidex(1), sidex);
  for (int32_t i = 1; i <= 50; ++i) EXPECT_EQ(var_part.x_part(i, 1), x1(i, 1));
}

TEST(PartIni2d, ZeroSizeReleasesAtThePoint) {
  one_spill(20, 0.0, 0.0);
  part_ini_2d(1);
  for (int32_t i = 1; i <= 20; ++i) {
    EXPECT_EQ(var_part.x_part(i, 1), -3.85 + 360.0);
    EXPECT_EQ(var_part.y_part(i, 1), 43.1);
  }
  one_spill(20, 0.0, 0.0);
  var_spill.area_oil(1) = 0.0f;
  part_ini_2d_circle(1);
  for (int32_t i = 1; i <= 20; ++i) {
    EXPECT_EQ(var_part.x_part(i, 1), -3.85 + 360.0);
    EXPECT_EQ(var_part.y_part(i, 1), 43.1);
  }
}

TEST(PartIni2dCircle, DiscRadiusIsUniformSoTheCentreIsDenser) {
  const int32_t n = 10000;
  one_spill(n, 0.0, 0.0);
  const double radius = 100.0;
  var_spill.area_oil(1) = static_cast<float>(3.14159 * radius * radius);
  part_ini_2d_circle(1);
  EXPECT_TRUE(var_part.diam_part.allocated());
  const double x0 = -3.85 + 360.0, y0 = 43.1;
  const double mx = metres_per_degree_lon(43.0);
  auto r_of = [&](int32_t i) {
    const double e = (var_part.x_part(i, 1) - x0) * mx;
    const double nn = (var_part.y_part(i, 1) - y0) * factor;
    return std::sqrt(e * e + nn * nn) / radius;
  };
  int32_t inner = 0;
  for (int32_t i = 1; i <= n; ++i) {
    ASSERT_LE(r_of(i), 1.0 + 1e-5);
    if (r_of(i) < 0.5) ++inner;
  }
  // r / R is uniform: mean 1/2, half the particles inside half the radius (a
  // uniform disc would put a quarter there).
  const auto mr = moments_of(n, r_of);
  EXPECT_NEAR(mr.mean, 0.5, 4.0 / std::sqrt(12.0 * n));
  EXPECT_NEAR(static_cast<double>(inner) / n, 0.5, 4.0 * 0.5 / std::sqrt(n));
  const auto me = moments_of(n, [&](int32_t i) { return (var_part.x_part(i, 1) - x0) * mx / radius; });
  EXPECT_NEAR(me.mean, 0.0, 4.0 * std::sqrt(1.0 / 6 / n));
  // Particle 1 by hand: R1 = 0.99997752904891968 gives an angle just short
  // of 2 pi (6.28303880 rad), R2 = 0.91496753692626953 a radius of 91.4968 m.
  const double theta = 0.99997752904891968 * 6.28318;
  const double r1 = 0.91496753692626953 * radius;
  EXPECT_NEAR((var_part.x_part(1, 1) - x0) * mx, r1 * std::cos(theta), 1e-3);
  EXPECT_NEAR((var_part.y_part(1, 1) - y0) * factor, r1 * std::sin(theta), 1e-3);
  EXPECT_EQ(var_cfg.spillstarttime(1), 2.0);  // converted by the spreading set-up, not here
}

TEST(Release, DepthTestsOfRectangleAndDisc) {
  struct release_case {
    const char* what;
    bool disc;
    int32_t dims;  // 1 = 2-D, 2 = 3-D
    double z_m;
    float depth;
    int32_t state;
    int32_t beached;
    int32_t floor;
    double placed_m;  // depth after placement
  };
  const release_case cases[] = {
      {"rectangle over land", false, 1, 0.0, -2.0f, 0, 10, 0, 0.0},
      {"rectangle over a cell of depth 0", false, 1, 0.0, 0.0f, 0, 10, 0, 0.0},
      {"rectangle over water", false, 1, 0.0, 5.0f, 1, 0, 0, 0.0},
      {"rectangle, 3-D release at 20 m over land", false, 2, 20.0, -2.0f, 5, 0, 0, 20.0},
      // The state update of the first step puts these on the floor.
      {"rectangle, 3-D release at 20 m over 15 m", false, 2, 20.0, 15.0f, 5, 0, 0, 20.0},
      {"rectangle, 2-D run ignores the release depth", false, 1, 20.0, 5.0f, 1, 0, 0, 20.0},
      {"disc over land", true, 1, 0.0, -2.0f, 0, 10, 0, 0.0},
      {"disc over a cell of depth 0 (water)", true, 1, 0.0, 0.0f, 1, 0, 0, 0.0},
      {"disc, 3-D release at 20 m over 15 m: on the floor", true, 2, 20.0, 15.0f, -1, 0, 10, 15.0},
      {"disc, 3-D release at 20 m over 25 m", true, 2, 20.0, 25.0f, 5, 0, 0, 20.0},
      {"disc, 3-D release at 20 m over land", true, 2, 20.0, -2.0f, -1, 0, 10, 20.0},
      // factor / 16384 m is 2^-14 degrees of depth exactly, a single-precision
      // value: released on the bottom itself.
      {"disc, 3-D release exactly at the bottom", true, 2, factor / 16384.0,
       static_cast<float>(factor / 16384.0), -1, 0, 10, factor / 16384.0},
  };
  for (const auto& c : cases) {
    one_spill(10, 500.0, 500.0, c.z_m);
    var_run.sim__2d_3d = c.dims;
    var_mallas.d.fill(c.depth);
    var_spill.area_oil(1) = 1.0e5f;
    var_part.par_floor(1) = 0;
    if (c.disc) {
      part_ini_2d_circle(1);
    } else {
      part_ini_2d(1);
    }
    for (int32_t i = 1; i <= 10; ++i) {
      EXPECT_EQ(var_part.indp(i, 1), c.state) << c.what;
      EXPECT_EQ(var_part.z_part(i, 1), c.placed_m / factor) << c.what;
    }
    EXPECT_EQ(var_part.par_beached(1), c.beached) << c.what;
    EXPECT_EQ(var_part.par_floor(1), c.floor) << c.what;
  }
}

TEST(Release, APositionBetweenNodesIsTestedAtItsCellsSouthWestNode) {
  // A 2 km square centred on the water node (3, 2) at 3.8 W, 43.1 N: its
  // particles fall in the four cells around the node, each tested at its
  // south-west node, with no interpolation.  One neighbour of land puts
  // ashore exactly the particles of the cell whose south-west node it is
  // (about a quarter of the release): the western one those west of the
  // node and north of it, the south-western one those west and south, the
  // southern one those east and south; land east or north of the node puts
  // none ashore, however close the particles come to it.
  struct land_case {
    const char* what;
    int32_t i, j;                  // the land node
    int west, south;               // the quarter ashore: -1 west / south of the node, 1 east / north, 0 none
  };
  const land_case cases[] = {
      {"western neighbour", 2, 2, -1, 1},  {"south-western neighbour", 2, 1, -1, -1},
      {"southern neighbour", 3, 1, 1, -1}, {"eastern neighbour", 4, 2, 0, 0},
      {"northern neighbour", 3, 3, 0, 0},  {"north-eastern neighbour", 4, 3, 0, 0},
  };
  const int32_t n = 400;
  for (const auto& c : cases) {
    one_spill(n, 2000.0, 2000.0);
    var_cfg.spillposition_x(1) = -3.8;
    var_mallas.d(c.i, c.j) = -5.0f;
    part_ini_2d(1);
    int32_t ashore = 0;
    for (int32_t p = 1; p <= n; ++p) {
      const double x = var_part.x_part(p, 1) - 356.2;
      const double y = var_part.y_part(p, 1) - 43.1;
      const bool in_quarter = c.west != 0 && (c.west < 0 ? x < 0.0 : x >= 0.0) && (c.south < 0 ? y < 0.0 : y >= 0.0);
      EXPECT_EQ(var_part.indp(p, 1), in_quarter ? 0 : 1) << c.what << ", particle " << p << " at " << x << ", " << y;
      ashore += in_quarter ? 1 : 0;
    }
    EXPECT_EQ(var_part.par_beached(1), ashore) << c.what;
    if (c.west != 0) {
      // A quarter of 400 uniform draws: 100 +- 3 standard deviations.
      EXPECT_NEAR(ashore, n / 4, 26) << c.what;
    }
  }
}

TEST(Release, CentreOfMassCountsBeachedParticles) {
  one_spill(100, 2000.0, 2000.0);
  var_mallas.d.fill(-1.0f);
  part_ini_2d(1);
  double sx = 0.0;
  for (int32_t i = 1; i <= 100; ++i) sx += var_part.x_part(i, 1);
  EXPECT_DOUBLE_EQ(var_part.x_cg(1), sx / 100);
  EXPECT_EQ(var_part.par_beached(1), 100);
}

// U-current nodes on the model grid (latitude fastest) and a mask whose
// column 2 is dry.
void mask_grid(int32_t mode, int32_t kind, int32_t format) {
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.variablecurrgrid__wetdry_radar = kind;
  var_cfg.currentgridformat__xyz_grid = format;
  var_run.search_land__mask_maskandcoast = mode;
  var_cfg.xyzcurrentnodes_number[0] = 12;
  var2.xcorr_u.allocate(12);
  var2.ycorr_u.allocate(12);
  for (int32_t ix = 1; ix <= 4; ++ix) {
    for (int32_t iy = 1; iy <= 3; ++iy) {
      var2.xcorr_u((ix - 1) * 3 + iy) = 356.0 + (ix - 1) * 0.1;
      var2.ycorr_u((ix - 1) * 3 + iy) = 43.0 + (iy - 1) * 0.1;
    }
  }
  var2.mask.allocate(4, 3);
  var2.mask.fill(1);
  for (int32_t iy = 1; iy <= 3; ++iy) var2.mask(2, iy) = 0;
}

// Places over most of the grid and checks that exactly the particles of the
// dry column are over land (when `tested`), counted in par_beached.
void expect_dry_column(bool disc, bool tested, const char* what) {
  const int32_t n = 400;
  if (disc) {
    part_ini_2d_circle(1);
  } else {
    part_ini_2d(1);
  }
  int32_t dry = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t column = static_cast<int32_t>((var_part.x_part(i, 1) - 356.0) / 0.1) + 1;
    const bool in_dry = tested && column == 2;
    dry += in_dry;
    EXPECT_EQ(var_part.indp(i, 1), in_dry ? 2 : 1) << what << ", particle " << i;
  }
  EXPECT_GT(tested ? dry : 1, 0) << what;
  EXPECT_EQ(var_part.par_beached(1), dry) << what;
}

TEST(Release, MaskTest) {
  struct mask_case {
    const char* what;
    int32_t mode, kind, format;
    bool disc;
    bool tested;
  };
  const mask_case cases[] = {
      {"rectangle, mode 1, wet/dry", 1, 1, 2, false, true},
      {"rectangle, mode 1, radar", 1, 2, 2, false, true},
      {"rectangle, mode 2, wet/dry, node lists", 2, 1, 1, false, true},
      {"rectangle, mode 2, wet/dry, grid files: no test", 2, 1, 2, false, false},
      {"disc, mode 2, wet/dry, grid files", 2, 1, 2, true, true},
      {"disc, mode 1", 1, 1, 1, true, true},
      {"rectangle, mode 3: no test", 3, 1, 1, false, false},
  };
  for (const auto& c : cases) {
    one_spill(400, 20000.0, 15000.0);
    var_spill.area_oil(1) = 1.0e8f;
    mask_grid(c.mode, c.kind, c.format);
    expect_dry_column(c.disc, c.tested, c.what);
  }
  // With time blending the start-of-interval mask is read.
  one_spill(400, 20000.0, 15000.0);
  mask_grid(1, 1, 1);
  var_run.temporalinterpcurr__y_n = 1;
  var2.mask0.allocate(4, 3);
  var2.mask0.fill(1);
  part_ini_2d(1);
  EXPECT_EQ(var_part.par_beached(1), 0);
}

TEST(Release, PointOutsideTheGridIsNotTestedAndIsReported) {
  // Depth test: the spill point lies east of the bathymetry.
  one_spill(10, 100.0, 100.0);
  var_cfg.spillposition_x(1) = -3.0;
  var_mallas.d.fill(-1.0f);
  ::testing::internal::CaptureStderr();
  part_ini_2d(1);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("spill 1 lies outside the model grid"), std::string::npos) << err;
  // Outside the domain box nothing would move them: counted outside.
  for (int32_t i = 1; i <= 10; ++i) EXPECT_EQ(var_part.indp(i, 1), -2);
  EXPECT_EQ(var_part.par_beached(1), 0);

  // Mask test: outside the U nodes' grid.
  one_spill(10, 100.0, 100.0);
  var_cfg.spillposition_y(1) = 45.0;
  var_spill.area_oil(1) = 1.0e4f;
  mask_grid(1, 1, 1);
  var2.mask.fill(0);
  ::testing::internal::CaptureStderr();
  part_ini_2d_circle(1);
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("spill 1 lies outside the current grid"), std::string::npos) << err;
  for (int32_t i = 1; i <= 10; ++i) EXPECT_EQ(var_part.indp(i, 1), 1);

  // A single U node gives no mask grid: nothing is tested.
  one_spill(10, 100.0, 100.0);
  mask_grid(1, 1, 1);
  var2.mask.fill(0);
  var_cfg.xyzcurrentnodes_number[0] = 1;
  ::testing::internal::CaptureStderr();
  part_ini_2d(1);
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("spill 1 are not tested against the current mask"), std::string::npos) << err;
  EXPECT_EQ(var_part.par_beached(1), 0);

  // No bathymetry loaded (a land-search mode that reads none): no test, no word.
  one_spill(10, 100.0, 100.0);
  var_run.search_land__mask_maskandcoast = 3;
  var_mallas.d.deallocate();
  ::testing::internal::CaptureStderr();
  part_ini_2d(1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  for (int32_t i = 1; i <= 10; ++i) EXPECT_EQ(var_part.indp(i, 1), 1);
}

TEST(Release, SeveralSpillsDrawInOrderAndStartFromSeedZero) {
  // Two identical spills: the second continues the sequence, so its
  // particles differ from the first's; placing again repeats both.
  small_world(5, 2);
  for (int32_t s = 1; s <= 2; ++s) {
    var_cfg.spillposition_x(s) = -3.85;
    var_cfg.spillposition_y(s) = 43.1;
    var_cfg.spillsize_sidex(s) = 1000.0;
    var_cfg.spillsize_sidey(s) = 1000.0;
  }
  srand(12345);  // placement seeds afresh
  part_ini_2d(1);
  const auto x = var_part.x_part;
  EXPECT_NE(x(1, 1), x(1, 2));
  var_part.indp.deallocate();
  part_ini_2d(2);
  for (int32_t s = 1; s <= 2; ++s)
    for (int32_t i = 1; i <= 5; ++i) EXPECT_EQ(var_part.x_part(i, s), x(i, s));
}

// A particle placed outside the domain box is lost, whether it is afloat,
// in the water column or on the floor; one on the box's edge or corner is
// inside (the box includes its bounds); a beached particle, or one over land
// or in the air, keeps its state.  Box 350-352 E, 42-44 N (longitudes + 360).
TEST(Release, PlacedOutsideTheDomainBoxIsLost) {
  const domain_box box{350.0, 352.0, 42.0, 44.0};
  const struct {
    double x, y;
    bool inside;
  } points[] = {{351.0, 43.0, true},  {351.0, 44.0, true},  {351.0, 42.0, true},   {350.0, 43.0, true},
                {352.0, 43.0, true},  {352.0, 44.0, true},  {350.0, 42.0, true},   {351.0, 44.001, false},
                {351.0, 41.999, false}, {349.999, 43.0, false}, {352.001, 43.0, false}};
  for (const int32_t state : {indp_surf, indp_column, indp_floor, indp_beached, indp_land, indp_air}) {
    const bool loses = state == indp_surf || state == indp_column || state == indp_floor;
    for (const auto& q : points) {
      small_world(1, 1);
      if (!var_part.indp.allocated()) var_part.indp.allocate(1, 1);
      var_part.x_part(1, 1) = q.x;
      var_part.y_part(1, 1) = q.y;
      var_part.indp(1, 1) = state;
      const bool lost = !q.inside && loses;
      EXPECT_EQ(lose_if_placed_outside(box, 1, 1), lost) << q.x << ", " << q.y << ", state " << state;
      EXPECT_EQ(var_part.indp(1, 1), lost ? indp_radar : state) << q.x << ", " << q.y << ", state " << state;
    }
  }
}

}  // namespace
}  // namespace orvel
