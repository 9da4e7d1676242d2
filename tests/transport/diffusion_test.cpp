#include "transport/diffusion.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "tests/transport/particles_fixture.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::metres_per_degree_lon;
using testing::small_world;

// `np` particles of spill 1 moving with (u, v) deg/s at latitude `lat`.
void moving(int32_t np, double u, double v, double lat = 43.0) {
  small_world(np, 1);
  var_mallas.latmean = lat;
  var_cfg.turbdiffusion__y_n(1) = 1;
  for (int32_t i = 1; i <= np; ++i) {
    var_currwindwave.uadv(i, 1) = u;
    var_currwindwave.vadv(i, 1) = v;
  }
}

void release() {
  var2.dxx.deallocate();
  var2.dyy.deallocate();
}

TEST(Dispersion2d, AlongAndAcrossTheMotionAt40N) {
  // K = 1 m2/s at 40 N: disp_l = 1 / (cos 40 deg * 111317.359375)^2 =
  // 1.3752013e-10 deg2/s (hand value), disp_t a tenth of it, both in
  // degrees of longitude.  In metres the east diffusivity is dxx times the
  // square of a degree of longitude, the north one dyy times the square of a
  // degree of latitude: K along the motion, K / 10 across it, whichever way
  // the particle moves.
  struct direction_case {
    const char* what;
    double u, v;
    double dxx_over_l, dyy_over_l;
  };
  const double c40 = std::cos(40.0 * 3.14159265358979323846 / 180.0);
  const double diagonal = std::sqrt(2.0 / 101.0);  // 1 / sqrt(0.5 + 0.5 * 100)
  const direction_case cases[] = {
      {"east", 1e-6, 0.0, 1.0, 0.1},
      {"west", -1e-6, 0.0, 1.0, 0.1},
      {"north", 0.0, 1e-6, 0.1, 1.0},
      {"south", 0.0, -3e-6, 0.1, 1.0},
      // 45 degrees in metres: the same speed in m/s east and north.
      {"north-east", 1e-6, 1e-6 * c40, diagonal, diagonal},
  };
  for (const auto& c : cases) {
    moving(2, c.u, c.v, 40.0);
    var_cfg.diffusioncoeff_kh(1) = 1.0f;
    dispersion_2d(1);
    EXPECT_NEAR(var_disp.disp_l, 1.3752013e-10, 1.3752013e-10 * 4e-6) << c.what;
    EXPECT_EQ(var_disp.disp_t, 0.1f * var_disp.disp_l) << c.what;
    const double mx = metres_per_degree_lon(40.0);
    for (int32_t i = 1; i <= 2; ++i) {
      EXPECT_NEAR(var2.dxx(i) / var_disp.disp_l, c.dxx_over_l, 1e-5) << c.what;
      EXPECT_NEAR(var2.dyy(i) / var_disp.disp_l, c.dyy_over_l * c40 * c40, 1e-5) << c.what;
      EXPECT_NEAR(var2.dxx(i) * mx * mx, c.dxx_over_l, 1e-5) << c.what << ": east, m2/s";
      EXPECT_NEAR(var2.dyy(i) * factor * factor, c.dyy_over_l, 1e-5) << c.what << ": north, m2/s";
      EXPECT_EQ(var2.dxx(i), double{static_cast<float>(var2.dxx(i))}) << "single precision";
      EXPECT_EQ(var2.dyy(i), double{static_cast<float>(var2.dyy(i))}) << "single precision";
    }
    if (c.v == 0.0) {
      EXPECT_EQ(var2.dxx(1), double{var_disp.disp_l}) << c.what;
    }
    release();
  }
}

TEST(Dispersion2d, SwitchOffAndParticlesAtRest) {
  moving(3, 1e-6, 0.0);
  var_cfg.diffusioncoeff_kh(1) = 5.0f;
  var_currwindwave.uadv(2, 1) = 0.0;  // at rest
  dispersion_2d(1);
  EXPECT_GT(var2.dxx(1), 0.0);
  EXPECT_EQ(var2.dxx(2), 0.0);
  EXPECT_EQ(var2.dyy(2), 0.0);
  EXPECT_GT(var2.dyy(3), 0.0);
  release();
  var_cfg.turbdiffusion__y_n(1) = 0;
  dispersion_2d(1);
  ASSERT_EQ(var2.dxx.size(), 3);
  for (int32_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(var2.dxx(i), 0.0);
    EXPECT_EQ(var2.dyy(i), 0.0);
  }
  release();
}

TEST(Dispersion2d, InvalidSwitchStopsTheRun) {
  for (const int32_t option : {2, -1, 9}) {
    moving(3, 0.0, 0.0);  // every particle at rest: the switch is still checked
    var_cfg.turbdiffusion__y_n(1) = option;
    try {
      dispersion_2d(1);
      ADD_FAILURE() << option;
    } catch (const run_stop& e) {
      EXPECT_EQ(std::string(e.what()), " OPCION NO VALIDA PARA DISPERSION");
      EXPECT_EQ(e.where(), run_stop::stream::out);
      EXPECT_NE(e.status(), 0);
    }
    EXPECT_FALSE(var2.dxx.allocated());
  }
}

TEST(CheckDiffusionOption, EverySpillAtStartUp) {
  small_world(1, 3);
  var_cfg.turbdiffusion__y_n(1) = 1;
  var_cfg.turbdiffusion__y_n(2) = 0;
  var_cfg.turbdiffusion__y_n(3) = 1;
  var_cfg.spill__instant_contin = 1;
  EXPECT_NO_THROW(check_diffusion_option("T.cfg"));
  var_cfg.turbdiffusion__y_n(3) = 2;
  try {
    check_diffusion_option("T.cfg");
    ADD_FAILURE();
  } catch (const input_error& e) {
    // The stop text stays for standard output; the error names the file
    // (line 0: no control file was read here) and the spill line.
    EXPECT_EQ(e.stop_text(), " OPCION NO VALIDA PARA DISPERSION");
    EXPECT_EQ(std::string(e.what()),
              "T.cfg:0: turbdiffusion__y_n of spill line 3 = 2: must be 0 (no random walk) or 1 (random walk)");
  }
  reset_state();
  EXPECT_NO_THROW(check_diffusion_option("T.cfg"));  // no spills read yet
}

TEST(CalcCoefdisprios, RiverCoefficientFromTheCellDepth) {
  struct river_case {
    float depth;
    float slope;
    double coefficient;  // hand value, m2/s
  };
  // 0.6 h sqrt(9.81 h s): h = 2, s = 1e-4 gives u* = 0.0442945 m/s and
  // 0.0531534 m2/s; h = 5, s = 1e-3 gives 0.664417 m2/s; land gives 0.
  const river_case cases[] = {
      {2.0f, 1e-4f, 0.05315336}, {5.0f, 1e-3f, 0.66441704}, {0.0f, 1e-3f, 0.0}, {-3.0f, 1e-3f, 0.0}};
  for (const auto& c : cases) {
    small_world(1, 1);
    var_mallas.d.fill(c.depth);
    var_cfg.riverfreesurfaceslope(1) = c.slope;
    var_part.x_part(1, 1) = 356.15;
    var_part.y_part(1, 1) = 43.05;
    float coefficient = -1.0f;
    calc_coefdisprios(1, 1, coefficient);
    EXPECT_NEAR(coefficient, c.coefficient, 1e-6) << c.depth;
  }
  // Outside the model grid there is no depth: 0, and nothing read out of bounds.
  small_world(1, 1);
  var_cfg.riverfreesurfaceslope(1) = 1e-3f;
  var_part.x_part(1, 1) = 360.0;
  var_part.y_part(1, 1) = 43.05;
  float coefficient = -1.0f;
  calc_coefdisprios(1, 1, coefficient);
  EXPECT_EQ(coefficient, 0.0f);
}

TEST(Dispersion2d, RiverUsesTheLocalCoefficientAndKeepsTheSpills) {
  moving(3, 1e-6, 0.0);
  var_run.simenvironment__sea_river = 2;
  var_cfg.diffusioncoeff_kh(1) = 7.0f;
  var_cfg.riverfreesurfaceslope(1) = 1e-3f;
  var_mallas.d.fill(5.0f);
  var_mallas.d(3, 1) = 0.0f;  // land under particle 3
  const double xs[3] = {356.05, 356.15, 356.25};
  for (int32_t i = 1; i <= 3; ++i) {
    var_part.x_part(i, 1) = xs[i - 1];
    var_part.y_part(i, 1) = 43.05;
  }
  dispersion_2d(1);
  const double scale = 1.0 / (std::cos(43.0 * double{3.1416f} / 180.0) * factor);
  float k = 0.0f;
  calc_coefdisprios(1, 1, k);
  EXPECT_EQ(var2.dxx(1), double{static_cast<float>(k * scale * scale)});
  EXPECT_EQ(var2.dxx(2), var2.dxx(1));
  // A zero coefficient and motion exactly east: no diffusion, not 0/0.
  EXPECT_EQ(var2.dxx(3), 0.0);
  EXPECT_EQ(var2.dyy(3), 0.0);
  EXPECT_EQ(var_disp.e_t, 0.0f);  // the last particle's coefficient
  EXPECT_EQ(var_cfg.diffusioncoeff_kh(1), 7.0f);
  release();
}

TEST(Dispersion2dSpread, SpreadingCoefficient) {
  moving(2, 0.0, 2e-6);
  var_cfg.turbdiffusion__y_n(1) = 5;  // not consulted while spreading
  var_run.simenvironment__sea_river = 2;  // nor the river coefficient
  dispersion_2d_spread(1, 2.5);
  const double scale = 1.0 / (std::cos(43.0 * double{3.1416f} / 180.0) * factor);
  EXPECT_EQ(var_disp.disp_l, static_cast<float>(2.5 * scale * scale));
  // Moving north: 2.5 m2/s along (north, in degrees of latitude), 0.25
  // across (east, in degrees of longitude).
  EXPECT_NEAR(var2.dyy(1) * factor * factor, 2.5, 2.5e-6);
  EXPECT_EQ(var2.dxx(1), double{var_disp.disp_t});
  release();
  for (const double u : {1e-6, 0.0}) {
    moving(2, u, 1e-6 - u);  // east, then north
    dispersion_2d_spread(1, 0.0);
    EXPECT_EQ(var2.dxx(1), 0.0);
    EXPECT_EQ(var2.dyy(1), 0.0);
    release();
  }
}

TEST(DispXY, DirectionalSplit) {
  // disp_l and disp_t are in degrees of longitude; the north value is in
  // degrees of latitude, cos^2(43) = 0.534878 times as many.
  small_world(1, 1);
  const double cos2 = 0.534878;
  var_disp.disp_l = 2.0e-10f;
  var_disp.disp_t = 2.0e-11f;
  EXPECT_EQ(disp_x(1e-6, 0.0), 2.0e-10f);
  EXPECT_NEAR(disp_y(1e-6, 0.0), 2.0e-11 * cos2, 2.0e-11 * 1e-5);
  EXPECT_EQ(var_disp.dx, 2.0e-10f);
  EXPECT_NEAR(var_disp.dy, 2.0e-11 * cos2, 2.0e-11 * 1e-5);
  EXPECT_EQ(disp_x(0.0, -1e-6), 2.0e-11f);
  EXPECT_NEAR(disp_y(0.0, -1e-6), 2.0e-10 * cos2, 2.0e-10 * 1e-5);
}

TEST(Verticaldiffusionvelocity, FullCoefficientDownTo30Metres) {
  const double kz = 0.01;
  const double full = double{0.01f} / (factor * factor);
  const double hundredth = double{0.01f / 100.0f} / (factor * factor);
  struct depth_case {
    double z;  // z_part
    double dzz;
  };
  const depth_case cases[] = {
      {0.0, 0.0},
      {10.0 / factor, full},
      {30.0 / factor, full},
      {std::nextafter(30.0 / factor, 1.0), hundredth},
      {200.0 / factor, hundredth},
      {-1.0 / factor, full},
  };
  small_world(6, 1);
  var_cfg.diffusioncoeff_kz(1) = static_cast<float>(kz);
  for (int32_t i = 1; i <= 6; ++i) var_part.z_part(i, 1) = cases[i - 1].z;
  verticaldiffusionvelocity(1, 1);
  for (int32_t i = 1; i <= 6; ++i) EXPECT_EQ(var2.dzz(i), cases[i - 1].dzz) << i;
}

// The random-walk velocity of the position update: 2 (R - 0.5) sqrt(C D / dt),
// R - 0.5 in single precision, C = 6 at sea and 4 in a river.  Its variance
// is C D / (3 dt), so a step of dt has variance 2 D dt at sea.
double walk(double d, double c, float dt) {
  const float r = rand(0);
  return 2.0 * static_cast<double>(r - 0.5f) * std::sqrt(c * d / dt);
}

struct variances {
  double x = 0.0, y = 0.0;  // m2
};

// Variance in metres of one random-walk step of each of the spill's
// particles, drawn x then y per particle.
variances step_variances(int32_t np, double c) {
  const float dt = var_run.deltat;
  const double mx = metres_per_degree_lon(var_mallas.latmean);
  srand(0);
  double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0;
  for (int32_t i = 1; i <= np; ++i) {
    const double ex = walk(var2.dxx(i), c, dt) * dt * mx;
    const double ey = walk(var2.dyy(i), c, dt) * dt * factor;
    sx += ex;
    sy += ey;
    sxx += ex * ex;
    syy += ey * ey;
  }
  return {(sxx - sx * sx / np) / (np - 1), (syy - sy * sy / np) / (np - 1)};
}

TEST(RandomWalk, VarianceIsTwoKDtAtSea) {
  const int32_t np = 10000;
  const double k = 10.0, dt = 600.0;
  // Motion east: along-flow K east, a tenth of it north, in metres whatever
  // the latitude.
  moving(np, 1e-6, 0.0);
  var_cfg.diffusioncoeff_kh(1) = static_cast<float>(k);
  dispersion_2d(1);
  auto v = step_variances(np, 6.0);
  EXPECT_NEAR(v.x / (2 * k * dt), 1.0, 0.03);
  EXPECT_NEAR(v.y / (2 * 0.1 * k * dt), 1.0, 0.03);
  release();
  // Motion north: along-flow K north.
  moving(np, 0.0, 1e-6);
  var_cfg.diffusioncoeff_kh(1) = static_cast<float>(k);
  dispersion_2d(1);
  v = step_variances(np, 6.0);
  EXPECT_NEAR(v.y / (2 * k * dt), 1.0, 0.03);
  EXPECT_NEAR(v.x / (2 * 0.1 * k * dt), 1.0, 0.03);
  release();
}

TEST(RandomWalk, RiverVarianceIsFourThirdsKDt) {
  // River: the walk takes C = 4, variance (4/3) K dt, with K the river
  // coefficient 0.6 h sqrt(9.81 h s) = 0.664417 m2/s for h = 5 m, s = 1e-3.
  const int32_t np = 10000;
  const double k = 0.6 * 5.0 * std::sqrt(9.81 * 5.0 * 1e-3), dt = 600.0;
  moving(np, 1e-6, 0.0);
  var_run.simenvironment__sea_river = 2;
  var_cfg.riverfreesurfaceslope(1) = 1e-3f;
  var_mallas.d.fill(5.0f);
  for (int32_t i = 1; i <= np; ++i) {
    var_part.x_part(i, 1) = 356.15;
    var_part.y_part(i, 1) = 43.05;
  }
  dispersion_2d(1);
  const auto v = step_variances(np, 4.0);
  EXPECT_NEAR(v.x / (4.0 / 3.0 * k * dt), 1.0, 0.03);
  release();
}

// var_disp is left as the last moving particle (in particle order) leaves
// it, also when it lies in an early block and the later blocks hold no
// moving particle: neither the first particle's motion nor that of a
// particle at rest.  Particle 1 and the later blocks are at rest (read as
// motion east); the last mover goes north, so its along-motion diffusivity
// lies along y.  On one thread and on several.
TEST(Dispersion2d, TheLastMoverAcrossBlocksLeavesTheDiffusivities) {
  const int32_t np = static_cast<int32_t>(2 * parallel_block + 100);
  for (const int threads : {1, 8}) {
    set_thread_count(threads);
    moving(np, 0.0, 0.0);
    var_currwindwave.uadv(3, 1) = 1e-6;  // east
    var_currwindwave.vadv(50, 1) = 1e-6;  // north: the last mover
    var_cfg.diffusioncoeff_kh(1) = 1.0f;
    dispersion_2d(1);
    EXPECT_GT(var_disp.disp_l, 0.0f);
    EXPECT_EQ(var_disp.dx, var_disp.disp_t) << threads << " threads";
    // disp_l in degrees of latitude: cos^2(43) = 0.534878 of it.
    EXPECT_NEAR(var_disp.dy / var_disp.disp_l, 0.534878, 1e-5) << threads << " threads";
    release();
  }
  set_thread_count(0);
}

}  // namespace
}  // namespace orvel
