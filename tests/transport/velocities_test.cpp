#include "transport/velocities.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "forcing/series.hpp"
#include "tests/transport/particles_fixture.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::small_world;

// Hand values at 43 N: cos 43 deg = 0.7313537016, so a degree of longitude is
// 0.7313537016 * 111317.359375 = 81412.3628 m.  The code takes pi as
// 3.1416, which moves this by 1.6e-6 relative; the comparisons allow 3e-6.
constexpr double m_per_deg_x = 81412.3628;
constexpr double rel = 3e-6;

void expect_rel(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * rel) << what;
}

// Two particles of spill 1 at the surface with the given forcing.
void forcing(double wx, double wy, double hx, double hy, double period, double u, double v) {
  auto& w = var_currwindwave;
  for (int32_t i = 1; i <= var_run.particle_number; ++i) {
    w.wintx(i) = wx;
    w.winty(i) = wy;
    w.hintx(i, 1) = hx;
    w.hinty(i, 1) = hy;
    w.tint(i, 1) = period;
    w.u_curr_int(i) = u;
    w.v_curr_int(i) = v;
  }
}

void drift_coefficients(double a, double b, double waves, double current) {
  var_cfg.dragcoeff_a(1) = a;
  var_cfg.dragcoeff_b(1) = b;
  var_cfg.wavescoeff(1) = waves;
  var_cfg.currentcoeff(1) = current;
}

TEST(VelAdv2d, EachDriftAgainstHandValuesAt43N) {
  struct drift_case {
    const char* what;
    double wx, wy, hx, hy, period, u, v;
    double east_ms, north_ms;  // hand values, m/s
  };
  // Wind drag (0.03 + 0.001 |W|) W with W = (3, 4), |W| = 5: factor 0.035,
  // drift (0.105, 0.14) m/s.  Wave drift H g / (12.48 T): 1 m, 5 s gives
  // 9.81 / 62.4 = 0.1572115 m/s.  Current 0.5 east, 0.25 north.
  const drift_case cases[] = {
      {"current", 0, 0, 0, 0, 5, 0.5, 0.25, 0.5, 0.25},
      {"wind", 3, 4, 0, 0, 5, 0, 0, 0.105, 0.14},
      {"waves toward the east", 0, 0, 1, 0, 5, 0, 0, 0.15721153846, 0.0},
      {"waves toward the north-west", 0, 0, -2, 2, 10, 0, 0, -0.15721153846, 0.15721153846},
      {"all three", 3, 4, 1, 0, 5, 0.5, 0.25, 0.105 + 0.15721153846 + 0.5, 0.14 + 0.25},
      {"calm: the wind factor is a", 0, 0, 0, 0, 5, 0, 0, 0.0, 0.0},
      {"zero wave period: no wave drift", 3, 4, 1, 1, 0, 0, 0, 0.105, 0.14},
  };
  for (const auto& c : cases) {
    small_world(2, 1);
    drift_coefficients(0.03, 0.001, 1.0, 1.0);
    forcing(c.wx, c.wy, c.hx, c.hy, c.period, c.u, c.v);
    vel_adv_2d(1, 1);
    const auto& w = var_currwindwave;
    for (int32_t i = 1; i <= 2; ++i) {
      expect_rel(w.uadv(i, 1), c.east_ms / m_per_deg_x, c.what);
      expect_rel(w.vadv(i, 1), c.north_ms / factor, c.what);
      EXPECT_EQ(w.uadv_viento_oleaje(i, 1), w.uadv(i, 1)) << c.what;
      EXPECT_EQ(w.vadv_viento_oleaje(i, 1), w.vadv(i, 1)) << c.what;
      EXPECT_TRUE(std::isfinite(w.uadv(i, 1))) << c.what;
    }
    expect_rel(w.uwind(1), std::hypot(c.wx, c.wy), c.what);
  }
}

TEST(VelAdv2d, CoefficientsScaleTheirOwnTerm) {
  small_world(1, 1);
  drift_coefficients(0.0, 0.0, 2.0, 0.5);
  forcing(3, 4, 1, 0, 5, 0.5, 0.0);
  vel_adv_2d(1, 1);
  expect_rel(var_currwindwave.uadv(1, 1), (2.0 * 0.15721153846 + 0.25) / m_per_deg_x, "scaled");
  // Wind factor b |W| alone: 0.01 * 5 = 0.05, drift (0.15, 0.2) m/s.
  drift_coefficients(0.0, 0.01, 0.0, 0.0);
  vel_adv_2d(1, 1);
  expect_rel(var_currwindwave.uadv(1, 1), 0.15 / m_per_deg_x, "b only");
  expect_rel(var_currwindwave.vadv(1, 1), 0.2 / factor, "b only");
}

TEST(VelAdv2d, ThreeDimensionalRun) {
  small_world(3, 1);
  var_run.sim__2d_3d = 2;
  drift_coefficients(0.03, 0.001, 1.0, 1.0);
  forcing(3, 4, 1, 0, 5, 0.5, 0.25);
  var_part.z_part(2, 1) = 5.0 / factor;  // below the surface
  var_currwindwave.uadv(2, 1) = 123.0;
  var_currwindwave.vadv(2, 1) = -7.0;
  var_currwindwave.winty(3) = 0.0;
  var_currwindwave.wintx(3) = 0.0;
  vel_adv_2d(1, 1);
  const auto& w = var_currwindwave;
  // At the surface: wind and waves, no current.
  expect_rel(w.uadv_viento_oleaje(1, 1), (0.105 + 0.15721153846) / m_per_deg_x, "surface");
  expect_rel(w.vadv_viento_oleaje(1, 1), 0.14 / factor, "surface");
  EXPECT_EQ(w.uadv(1, 1), w.uadv_viento_oleaje(1, 1));
  // Below it: no wind or wave part, the velocity left as it was.
  EXPECT_EQ(w.uadv_viento_oleaje(2, 1), 0.0);
  EXPECT_EQ(w.vadv_viento_oleaje(2, 1), 0.0);
  EXPECT_EQ(w.uadv(2, 1), 123.0);
  EXPECT_EQ(w.vadv(2, 1), -7.0);
  // The mean wind speed counts every particle: (5 + 5 + 0) / 3.
  expect_rel(w.uwind(1), 10.0 / 3, "mean wind");
}

// Five surface particles: the wind (wx, wy) at every particle but the
// northward wind `odd_wy` at particle 3 when it is not NaN; waves of 1 m
// (0.5 m at particle 2 unless they are uniform) and a current.  With
// `series` each forcing that is one value for all (the wind, and the waves
// and current when `uniform_rest`) is filled as a uniform series fills it;
// otherwise every forcing is read particle by particle.
void wind_world(bool series, bool uniform_rest, double wx, double wy, double odd_wy) {
  small_world(5, 1);
  // The wind factor b |W| alone, so that the speed's last place shows.
  drift_coefficients(0.0, 0.001, 1.0, 1.0);
  auto& c = var_cfg;
  auto& w = var_currwindwave;
  const bool one_wind = std::isnan(odd_wy);
  c.windtype__file_constant = series ? 2 : 1;
  c.wavestype__file_constant = series && uniform_rest ? 2 : 1;
  c.currenttype__file_constant = series && uniform_rest ? 2 : 1;
  forcing(wx, wy, 1.0, 0.0, 5.0, 0.5, 0.25);
  for (auto* a : {&w.wintx, &w.winty, &w.u_curr_int, &w.v_curr_int}) forget_uniform(*a);
  for (auto* a : {&w.hintx, &w.hinty, &w.tint}) forget_uniform(*a);
  if (c.windtype__file_constant == 2) {
    fill_uniform(w.wintx, wx);
    if (one_wind) fill_uniform(w.winty, wy);
  }
  if (!one_wind) w.winty(3) = odd_wy;
  if (c.wavestype__file_constant == 2) {
    fill_uniform(w.hintx, 1.0);
    fill_uniform(w.hinty, 0.0);
    fill_uniform(w.tint, 5.0);
    fill_uniform(w.u_curr_int, 0.5);
    fill_uniform(w.v_curr_int, 0.25);
  }
  if (!uniform_rest) w.hintx(2, 1) = 0.5;
}

TEST(VelAdv2d, OneWindForEveryParticleGivesTheParticleLoopsFigures) {
  // A wind that is one value for every particle (a uniform series) takes a
  // shortcut for the mean wind speed and, with uniform waves and current,
  // for the drift: its figures must be those of the loop over the particles
  // bit for bit.  (4.35, 17.21) m/s is a wind whose speed sqrt(wx^2 + wy^2),
  // as the loop rounds it, is one unit in the last place from hypot's.
  struct wind_case {
    const char* what;
    bool uniform_rest;
    double wx, wy, odd_wy;
  };
  const double one = std::numeric_limits<double>::quiet_NaN();
  const wind_case cases[] = {
      {"one wind, varying waves", false, 4.35, 17.21, one},
      {"everything uniform", true, 4.35, 17.21, one},
      {"3-4-5, varying waves", false, 3.0, 4.0, one},
      {"the eastward wind uniform, the northward not", false, 4.35, 17.21, 12.0},
      {"the eastward wind uniform, the northward not, uniform rest", true, 4.35, 17.21, 12.0},
  };
  const auto& w = var_currwindwave;
  for (const auto& c : cases) {
    wind_world(false, c.uniform_rest, c.wx, c.wy, c.odd_wy);
    vel_adv_2d(1, 1);
    const double uwind = w.uwind(1);
    std::vector<double> u, v;
    for (int32_t i = 1; i <= 5; ++i) u.push_back(w.uadv(i, 1)), v.push_back(w.vadv(i, 1));
    wind_world(true, c.uniform_rest, c.wx, c.wy, c.odd_wy);
    vel_adv_2d(1, 1);
    EXPECT_EQ(std::bit_cast<uint64_t>(w.uwind(1)), std::bit_cast<uint64_t>(uwind))
        << c.what << ": " << std::hexfloat << w.uwind(1) << " against " << uwind;
    for (int32_t i = 1; i <= 5; ++i) {
      EXPECT_EQ(w.uadv(i, 1), u[static_cast<std::size_t>(i - 1)]) << c.what << ", particle " << i;
      EXPECT_EQ(w.vadv(i, 1), v[static_cast<std::size_t>(i - 1)]) << c.what << ", particle " << i;
    }
  }
  // The speed itself, by hand: five particles of (3, 4) m/s, 5 m/s.
  wind_world(true, false, 3.0, 4.0, one);
  vel_adv_2d(1, 1);
  EXPECT_EQ(w.uwind(1), 5.0);
}

TEST(DomainBox, ResetToTheUCurrentGrid) {
  struct box_case {
    int32_t variable, kind, mode;
    bool reset;
  };
  const box_case cases[] = {
      {1, 1, 1, true},  {1, 2, 1, true},  {0, 1, 2, true},  // mode 2 with a wet/dry switch, fixed grid
      {1, 1, 2, true},  {1, 2, 2, false}, {0, 1, 1, false}, {0, 2, 2, false},
  };
  for (const auto& c : cases) {
    small_world(1, 1);
    var_cfg.currentgrid_variable__y_n = c.variable;
    var_cfg.variablecurrgrid__wetdry_radar = c.kind;
    var_run.search_land__mask_maskandcoast = c.mode;
    auto& f = var_mallasforz;
    f.gridformatcurru_0x = 350.0;
    f.gridformatcurru_0y = 40.0;
    f.gridformatcurru_deltax = 0.1;
    f.gridformatcurru_deltay = 0.05;
    f.gridformatcurru_xcells = 11;
    f.gridformatcurru_ycells = 21;
    var_run.blowout__y_n = 1;
    vel_adv_3d(1, 1);
    const auto& g = var_mallas;
    if (c.reset) {
      EXPECT_EQ(g.loni, 350.0);
      EXPECT_DOUBLE_EQ(g.lons, 351.0);
      EXPECT_EQ(g.lati, 40.0);
      EXPECT_DOUBLE_EQ(g.lats, 41.0);
    } else {
      EXPECT_EQ(g.loni, 356.0);
      EXPECT_DOUBLE_EQ(g.lons, 356.3);
    }
  }
}

TEST(VelAdv3d, CurrentAndBuoyancy) {
  // Oil of 850 kg/m3 in water of 1025: g' = 175/1025 = 0.1707317.  A droplet
  // of 1e-4 m: Stokes, g' 9.81 (1e-4)^2 / -2.07e-5 = -8.0912e-4 m/s; 1e-3 m:
  // -sqrt(g' 19.62 1e-3) = -0.0578771 m/s.
  small_world(3, 1);
  var_run.sim__2d_3d = 2;
  var4.dens(1) = 850.0;
  var_spill.waterdensity(1) = 1025.0f;
  var_cfg.currentcoeff(1) = 0.8;
  var_part.diam_part(1, 1) = 1e-4;
  var_part.diam_part(2, 1) = 1e-3;
  var_part.diam_part(3, 1) = 0.0;
  auto& w = var_currwindwave;
  for (int32_t i = 1; i <= 3; ++i) {
    w.u_curr_int(i) = 0.5;
    w.v_curr_int(i) = 0.25;
    w.w_curr_int(i) = 0.001;
  }
  vel_adv_3d(1, 1);
  const auto& p = var_part;
  EXPECT_NEAR(p.w_float(1, 1), -8.0911983e-4, 8.1e-4 * 1e-6);
  EXPECT_NEAR(p.w_float(2, 1), -0.057877077, 0.058 * 1e-6);
  EXPECT_EQ(p.w_float(3, 1), 0.0);
  for (int32_t i = 1; i <= 3; ++i) {
    expect_rel(w.uadv_corrientes(i, 1), 0.8 * 0.5 / m_per_deg_x, "current east");
    expect_rel(w.vadv_corrientes(i, 1), 0.8 * 0.25 / factor, "current north");
    // The vertical current is not scaled by the current coefficient.
    EXPECT_DOUBLE_EQ(w.wadv_corrientes_y_float(i, 1), (0.001 + p.w_float(i, 1)) / factor);
  }
}

TEST(VelAdv3d, RiseSpeedIsContinuousAtTheCriticalDiameter) {
  // The Stokes law g' g d^2 / (18 nu) and the large-drop law sqrt(2 g' g d)
  // meet at dc^3 = 2 (18 nu)^2 / (g' g), 18 nu = 2.07e-5 m2/s.  By hand, for
  // oil of 850 kg/m3 in water of 1025: g' g = 0.1707317 x 9.81 = 1.674878,
  // dc^3 = 2 x 4.2849e-10 / 1.674878 = 5.11667e-10 m3, dc = 0.79983 mm, where
  // both laws give 1.674878 x dc^2 / 2.07e-5 = sqrt(2 x 1.674878 x dc) =
  // 0.051761 m/s.  Below dc the Stokes law holds, above it the large-drop
  // law: 0.5 mm rises at 1.674878 x 2.5e-7 / 2.07e-5 = 0.020228 m/s (the
  // large-drop law would give 0.040925), 0.2 mm at 0.0032365 m/s, 2 mm at
  // sqrt(2 x 1.674878 x 0.002) = 0.081851 m/s.  A denser substance
  // (1100 kg/m3, |g'| g = 0.717805) sinks, with dc^3 = 1.19389e-9 m3, dc =
  // 1.0609 mm: 0.5 mm at 0.0086691 m/s, 2 mm at 0.053584 m/s.  Oil of 1020
  // kg/m3 (g' g = 0.047854) has dc^3 = 1.79083e-8 m3, dc = 2.6163 mm.
  // Droplets below dc but above (18 nu)^2 / (g' g) cubed-rooted (0.635 mm
  // and 0.842 mm, where a critical diameter without its factor 2 would
  // fall) still follow the Stokes law: 0.7 mm of oil rises at 1.674878 x
  // 4.9e-7 / 2.07e-5 = 0.039647 m/s (not 0.048423), 0.9 mm of the dense
  // substance sinks at 0.717805 x 8.1e-7 / 2.07e-5 = 0.028088 m/s (not
  // 0.035945).
  struct rise_case {
    double oil, d, w;  // kg/m3, m, rise speed (m/s, upward)
  };
  const rise_case cases[] = {
      {850.0, 0.5e-3, 0.020228}, {850.0, 0.2e-3, 0.0032365}, {850.0, 2e-3, 0.081851},
      {850.0, 0.7998e-3, 0.051758}, {1100.0, 0.5e-3, -0.0086691}, {1100.0, 2e-3, -0.053584},
      {850.0, 0.7e-3, 0.039647},   {1100.0, 0.9e-3, -0.028088},
  };
  for (const auto& c : cases) {
    small_world(1, 1);
    var4.dens(1) = c.oil;
    var_spill.waterdensity(1) = 1025.0f;
    var_part.diam_part(1, 1) = c.d;
    vel_adv_3d(1, 1);
    EXPECT_NEAR(-var_part.w_float(1, 1), c.w, std::fabs(c.w) * 1e-4) << c.oil << " kg/m3, " << c.d << " m";
  }
  // Just below and just above the meeting point of each density the two
  // laws agree to well within 1 %.
  for (const auto& [oil, dc] : {std::pair{850.0, 0.79983e-3}, std::pair{1100.0, 1.0609e-3},
                                std::pair{1020.0, 2.6163e-3}}) {
    small_world(2, 1);
    var4.dens(1) = oil;
    var_spill.waterdensity(1) = 1025.0f;
    var_part.diam_part(1, 1) = dc * 0.999;
    var_part.diam_part(2, 1) = dc * 1.001;
    vel_adv_3d(1, 1);
    const double below = var_part.w_float(1, 1), above = var_part.w_float(2, 1);
    EXPECT_NE(below, 0.0) << oil;
    EXPECT_NEAR(above / below, 1.0, 0.004) << oil << " kg/m3: " << below << " below, " << above << " above";
  }
}

TEST(VelAdv3d, DenseSubstanceSinks) {
  // 1100 kg/m3 in 1025: g' = -75/1025.  The laws take |g'| and the droplet
  // sinks at the speed a droplet of 950 kg/m3 (g' = +75/1025) rises.
  for (const double d : {1e-5, 1e-4, 1e-3, 5e-3}) {
    small_world(1, 1);
    var_spill.waterdensity(1) = 1025.0f;
    var_part.diam_part(1, 1) = d;
    var4.dens(1) = 950.0;
    vel_adv_3d(1, 1);
    const double rise = var_part.w_float(1, 1);
    var4.dens(1) = 1100.0;
    vel_adv_3d(1, 1);
    const double sink = var_part.w_float(1, 1);
    EXPECT_LT(rise, 0.0) << d;
    EXPECT_GT(sink, 0.0) << d;
    EXPECT_NEAR(sink, -rise, std::fabs(rise) * 1e-12) << d;
  }
  // Density of the water itself: no buoyancy.
  small_world(1, 1);
  var_spill.waterdensity(1) = 1025.0f;
  var4.dens(1) = 1025.0;
  var_part.diam_part(1, 1) = 1e-3;
  vel_adv_3d(1, 1);
  EXPECT_EQ(var_part.w_float(1, 1), 0.0);
}

TEST(VelAdv3d, BlowoutKeepsTheDropletFileVelocities) {
  small_world(2, 1);
  var_run.blowout__y_n = 1;
  var_part.w_float(1, 1) = -0.02;
  var_part.w_float(2, 1) = -0.03;
  vel_adv_3d(1, 1);
  EXPECT_EQ(var_part.w_float(1, 1), -0.02);
  EXPECT_EQ(var_part.w_float(2, 1), -0.03);
  EXPECT_DOUBLE_EQ(var_currwindwave.wadv_corrientes_y_float(2, 1), -0.03 / factor);
}

}  // namespace
}  // namespace orvel
