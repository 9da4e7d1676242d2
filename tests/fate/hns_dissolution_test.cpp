// Dissolution of a chemical, against values worked out by hand for benzene
// (78.11 g/mol, organic, 1780 mg/L) in water of 1 cP: molar volume 4.9807 *
// 78.11^0.651 = 85.0046 cm3/mol and the Hayduk-Laudie diffusivity 1.326e-4 /
// 85.0046^0.589 = 9.6851e-6 cm2/s (the literature gives about 1.0e-5), so
// a Schmidt number of 10000 * 1e-6 / D = 1032.52 in both dimensions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"

namespace orvel {
namespace {

using testing::hns_water_spill;
using testing::metres_per_degree_lon;

constexpr double diffusivity = 9.6851e-6;  // cm2/s
constexpr double pi = 3.14159265358979323846;

farray<double, 1> no_area() {
  farray<double, 1> a;
  a.allocate(1);
  return a;
}

// A 2-D slick of 1000 kg afloat over 1e4 m2 under a 5 m/s wind (left in
// wind10 by the evaporation of the step), nothing dispersed, no current.
void slick_2d() {
  hns_water_spill(4, 1);
  var4.mass_surf(1) = 1000.0;
  var4.mass_surf_ini(1) = 1000.0;
  var4.areaparticlesurftotal(1) = 1.0e4;
  var_currwindwave.wind10(1) = 5.0;
  var_cfg.spreading__y_n = 1;
}

TEST(HnsDissolution, SlickTermWithTheComputedAndTheFixedCoefficient) {
  // Computed: L = sqrt(4e4 / 3.14159) = 112.838 m, v = 1032.52^(1/3) * 0.578
  // * sqrt(5 L / 1e-6) = 138762.8, kd = v * D * 1e-4 / L = 1.19102e-6 m/s,
  // m = 1e4 m2 * 1.78 kg/m3 * kd * 600 s = 12.72012 kg.  A calibration of
  // 1.5 in place of 13.26 gives D = 1.09559e-6 cm2/s and 2.975246 kg.
  // Fixed kd 1e-5 m/s: 1e4 * 1.78 * 1e-5 * 600 = 106.8 kg.
  struct row {
    std::string what;
    int32_t option;
    float dissolparam;
    int32_t spreading;
    double floating, first, area;
    double dissolved;
  } rows[] = {
      {"computed kd", 1, 13.26f, 1, 1000.0, 1000.0, 1.0e4, 12.720117},
      {"calibrated diffusivity", 1, 1.5f, 1, 1000.0, 1000.0, 1.0e4, 2.9752463},
      {"fixed kd", 0, 0.0f, 1, 1000.0, 1000.0, 1.0e4, 106.8},
      // Without spreading, in proportion to the share still afloat.
      {"spreading off, half afloat", 0, 0.0f, 0, 500.0, 1000.0, 1.0e4, 53.4},
      {"spreading off, no first mass", 0, 0.0f, 0, 500.0, 0.0, 1.0e4, 106.8},
      // Limits: no more than floats; nothing without a slick or its area.
      {"more than afloat", 0, 0.0f, 1, 50.0, 1000.0, 1.0e4, 50.0},
      {"nothing afloat", 1, 13.26f, 1, 0.0, 1000.0, 1.0e4, 0.0},
      {"no slick area, computed kd", 1, 13.26f, 1, 1000.0, 1000.0, 0.0, 0.0},
      {"no slick area, fixed kd", 0, 0.0f, 1, 1000.0, 1000.0, 0.0, 0.0},
  };
  for (const auto& r : rows) {
    slick_2d();
    var_calib.calibdisol_option = r.option;
    var_calib.dissolparam = r.dissolparam;
    var_calib.kd = 1.0e-5f;
    var_cfg.spreading__y_n = r.spreading;
    var4.mass_surf(1) = r.floating;
    var4.mass_surf_ini(1) = r.first;
    var4.areaparticlesurftotal(1) = r.area;
    var4.mass_diss_cumul(1) = 2.0f;
    var4.mass_diss_surf_cumul(1) = 1.0f;
    var4.mass_diss_column_cumul(1) = 0.5f;
    auto a = no_area();
    dissolve_2d(1, a);
    const double tol = 2e-6 * r.floating + 1e-12;
    EXPECT_NEAR(var4.mdissolved_surf, r.dissolved, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_dt(1), r.dissolved, tol) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), r.floating - r.dissolved, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_cumul(1), 2.0 + r.dissolved, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_surf_cumul(1), 1.0 + r.dissolved, tol) << r.what;
    EXPECT_EQ(var4.mass_diss_column_cumul(1), 0.0f) << r.what;
    EXPECT_GE(var4.mass_surf(1), 0.0) << r.what;
  }
}

TEST(HnsDissolution, ColdWaterSlowsTheDiffusivity) {
  // The Hayduk-Laudie diffusivity falls with the water's viscosity as
  // mu^-1.14: in cold water of 1.4e-6 m2/s (1.4 cP) D = 9.6851e-6 / 1.4^1.14
  // cm2/s, the Schmidt number 1e4 nu / D; the slick's computed coefficient
  // kd = Sc^(1/3) 0.578 sqrt(U L / nu) D 1e-4 / L over L = sqrt(4 A / pi).
  for (double nu : {1.0e-6, 1.4e-6}) {
    slick_2d();
    var_spill.kinemviscosity_water = nu;
    var_calib.calibdisol_option = 1;
    var_calib.dissolparam = 13.26f;
    auto a = no_area();
    dissolve_2d(1, a);
    const double d = diffusivity / std::pow(nu * 1.0e6, 1.14);
    const double sc = 1.0e4 * nu / d;
    const double l = std::sqrt(4.0e4 / pi);
    const double kd = std::cbrt(sc) * 0.578 * std::sqrt(5.0 * l / nu) * d * 1.0e-4 / l;
    const double m = 1.0e4 * 1.78 * kd * 600.0;
    EXPECT_NEAR(var4.mdissolved_surf, m, 2e-5 * m) << nu;
    if (nu == 1.0e-6) {
      EXPECT_NEAR(m, 12.720117, 2e-4);
    }
  }
}

TEST(HnsDissolution, DropletsOfTheDispersedMass) {
  // 1 cSt: d50 = 25.710402 um, classes from 2.571 um to d50 (2.314 um
  // wide).  1 g dispersed at 876.5 kg/m3 gives 1.1409e-7 m3 per class, or
  // n_1 = 5607353714 droplets of pi r^3 (more than 2^31) in the first class.
  // At zero current Sh = 2 and each class dissolves S * dt * (2 D'/d) *
  // n * pi d^2 = S * dt * 16 D' Vd / d^2: 4.471211e-4 kg in a 1 s step over
  // the ten classes.  A current of 0.01 deg/s (used as held) gives Re = d *
  // 0.01 / 1e-6 and 7.604939e-4 kg.  In a 600 s step the droplets would
  // dissolve 0.268 kg: all of the gram goes.
  struct row {
    std::string what;
    float dt;
    double current;
    double dissolved;
  } rows[] = {
      {"still water", 1.0f, 0.0, 4.471211e-4},
      {"current of 0.01 deg/s", 1.0f, 0.01, 7.604939e-4},
      {"all of it", 600.0f, 0.0, 1.0e-3},
  };
  for (const auto& r : rows) {
    hns_water_spill(4, 1);
    var_run.deltat = r.dt;
    var4.mass_disp_cumul(1) = 1.0e-3;
    var_currwindwave.uadv.fill(r.current);
    var_currwindwave.wind10(1) = 5.0;
    auto a = no_area();
    dissolve_2d(1, a);
    EXPECT_NEAR(var4.mass_diss_dt(1), r.dissolved, 2e-5 * r.dissolved) << r.what;
    EXPECT_NEAR(var4.mass_disp_cumul(1), 1.0e-3 - r.dissolved, 2e-5 * r.dissolved) << r.what;
    EXPECT_GE(var4.mass_disp_cumul(1), 0.0) << r.what;
    EXPECT_EQ(var4.mdissolved_surf, 0.0f) << r.what;  // nothing afloat
    EXPECT_NEAR(var_currwindwave.currmean(1), r.current, 1e-9) << r.what;
  }
  // The class table left for the spill: the largest class ends at d50.
  const auto& vd = varverticaldispersion;
  EXPECT_NEAR(vd.d50_disp, 25.710402, 1e-5);
  EXPECT_NEAR(vd.dmax_disp, 25.710402e-6, 1e-12);
  EXPECT_NEAR(vd.dropdiam[0], 2.5710402e-6 + 0.5 * 2.31393618e-6, 1e-12);
  EXPECT_NEAR(vd.dropdiam[9], 2.5710402e-6 + 9.5 * 2.31393618e-6, 1e-12);

  // The analytic sum 16 D' Vd S dt / d^2 over the classes (the counts are so
  // large that their rounding does not show).
  double sum = 0.0;
  for (int k = 0; k < 10; ++k) {
    const double d = 2.5710402e-6 + (k + 0.5) * 2.31393618e-6;
    sum += 16.0 * diffusivity * 1e-4 * (1.0e-3 / 876.5 / 10.0) / (d * d);
  }
  EXPECT_NEAR(1.78 * sum, 4.471211e-4, 1e-5 * 4.47e-4);
}

TEST(HnsDissolution, WindOfTheParticlesWhenEvaporationIsOff) {
  hns_water_spill(4, 1);
  var_cfg.evaporo(1) = 0;
  var_currwindwave.wintx.fill(3.0);
  var_currwindwave.winty.fill(4.0);
  var_currwindwave.wind10(1) = 9.0;
  auto a = no_area();
  dissolve_2d(1, a);
  EXPECT_EQ(var_currwindwave.wind10(1), 5.0);
  // Evaporation on: wind10 is the one evaporation left.
  var_cfg.evaporo(1) = 1;
  var_currwindwave.wind10(1) = 9.0;
  dissolve_2d(1, a);
  EXPECT_EQ(var_currwindwave.wind10(1), 9.0);
}

TEST(HnsDissolution, ThreeDimensionalSlickDissolvesAsTheTwoDimensionalOne) {
  // The floating parcels of a 3-D spill form its slick: the slick of the
  // 2-D case above (1e4 m2, 5 m/s, 1000 kg afloat) gives the same 12.720117
  // kg in the step, the computed coefficient whatever the calibration, and
  // each surface parcel loses the share of its mass.  The parcels in the
  // column keep theirs (none dissolves here: no droplet diameter).
  hns_water_spill(3, 2);
  var_calib.calibdisol_option = 0;
  var_cfg.evaporo(1) = 1;
  var_currwindwave.wind10(1) = 5.0;
  var4.areaparticlesurftotal(1) = 1.0e4;
  const int32_t state[] = {1, 1, 5};
  const float equiv[] = {600.0f, 400.0f, 100.0f};
  for (int32_t j = 1; j <= 3; ++j) {
    var_part.indp(j, 1) = state[j - 1];
    var4.massparticle(j, 1) = 1.0;
    var_hns_extra.equiv_part(j, 1) = equiv[j - 1];
  }
  var4.mass_surf(1) = 1000.0;
  var4.mass_column(1) = 100.0;
  dissolve_3d(1);
  const double m = 12.720117;
  EXPECT_NEAR(var4.mdissolved_surf, m, 2e-6 * 1000.0);
  EXPECT_NEAR(var4.mass_surf(1), 1000.0 - m, 2e-6 * 1000.0);
  EXPECT_NEAR(var_hns_extra.equiv_part(1, 1), 600.0 * (1.0 - m / 1000.0), 1e-4);
  EXPECT_NEAR(var_hns_extra.equiv_part(2, 1), 400.0 * (1.0 - m / 1000.0), 1e-4);
  EXPECT_EQ(var_hns_extra.equiv_part(3, 1), 100.0f);
  EXPECT_EQ(var4.mass_column(1), 100.0);
  EXPECT_EQ(var4.mdissolved_col, 0.0f);

  // More than floats: all of it, and no droplet stays afloat.
  var_hns_extra.equiv_part(1, 1) = 0.006f;
  var_hns_extra.equiv_part(2, 1) = 0.004f;
  var4.mass_surf(1) = 0.01;
  dissolve_3d(1);
  EXPECT_FLOAT_EQ(var4.mdissolved_surf, 0.01f);
  EXPECT_EQ(var_hns_extra.equiv_part(1, 1), 0.0f);
  EXPECT_EQ(var_hns_extra.equiv_part(2, 1), 0.0f);
}

TEST(HnsDissolution, APulseDissolvesItsShareOfTheOneSlick) {
  // A pulse of a continuous 3-D release floating 250 kg of the release's
  // 1000 kg afloat dissolves over a quarter of the one slick (the 1e4 m2
  // slick of the case above) with the whole slick's coefficient: a quarter
  // of 12.720117 kg.  Over a slick of its own quarter (half the length, so
  // sqrt(2) times the coefficient) it would take 4.4967 kg.  An
  // instantaneous spill takes no share.
  struct row {
    const char* what;
    int32_t release;
    double share, dissolved;
  };
  const row rows[] = {
      {"a pulse with a quarter of the floating mass", 2, 0.25, 0.25 * 12.720117},
      {"an instantaneous spill", 1, 0.25, 12.720117},
  };
  for (const auto& r : rows) {
    hns_water_spill(2, 2);
    var_cfg.evaporo(1) = 1;
    var_cfg.spill__instant_contin = r.release;
    ensure(var_spill.area_share, 1);
    var_spill.area_share(1) = r.share;
    var_currwindwave.wind10(1) = 5.0;
    var4.areaparticlesurftotal(1) = 1.0e4;
    for (int32_t j = 1; j <= 2; ++j) {
      var_part.indp(j, 1) = 1;
      var4.massparticle(j, 1) = 1.0;
      var_hns_extra.equiv_part(j, 1) = 500.0f;
    }
    var4.mass_surf(1) = 1000.0;
    dissolve_3d(1);
    EXPECT_NEAR(var4.mdissolved_surf, r.dissolved, 2e-6 * 1000.0) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), 1000.0 - r.dissolved, 2e-6 * 1000.0) << r.what;
  }
  var_spill.area_share(1) = 1.0;
  var_cfg.spill__instant_contin = 1;
}

TEST(HnsDissolution, ThreeDimensionalDropletsShrinkAsTheyDissolve) {
  // Droplets of 50 um, 1000 to a particle, each of 4.302509e-11 kg, of a
  // chemical of 876.5 kg/m3 and 1.78 kg/m3 solubility; D = 9.6851e-10
  // m2/s; steps of 1 s.  A droplet loses mass over its surface, pi d^2 k S
  // with k = Sh D / d, so its squared diameter falls by 4 Sh D S / rho in
  // the second and it keeps (1 - that / d^2)^(3/2) of its mass; the
  // particle keeps its number of droplets.  Still water (Sh = 2, and so on
  // the floor whatever the current): a fall of 1.5737e-11 m2, 0.990574 of
  // the mass kept.  At 0.2 m/s east: Re = 10, Sh = 2 + 0.552 * 1032.52^(1/3)
  // * sqrt(10) = 19.6429 (19.6433 in the single precision of the model),
  // 0.908725 kept.  A droplet of 1 um is gone within
  // the second.  Afloat the droplets are the slick's (of no area here):
  // nothing; beached, in the air, over land: nothing.
  constexpr double droplet = 4.302509e-11;
  const double still = 8.0 * diffusivity * 1e-4 * 1.78 / 876.5;
  const double sh = 2.0 + 0.552 * std::cbrt(1.0e4 * 1e-6 / diffusivity) * std::sqrt(10.0);
  EXPECT_NEAR(sh, 19.6429, 1e-4);
  auto kept = [](double d, double fall) { return fall < d * d ? std::pow(1.0 - fall / (d * d), 1.5) : 0.0; };
  EXPECT_NEAR(kept(50e-6, still), 0.990574, 1e-6);
  EXPECT_NEAR(kept(50e-6, 0.5 * sh * still), 0.908725, 1e-6);
  struct particle {
    std::string what;
    int32_t state;
    double diameter, mass;
    float equiv;
    double current;  // m/s
    double fall;     // m2, of the squared diameter; 0: none
  } rows[] = {
      {"column, still", 5, 50e-6, droplet, 1000.0f, 0.0, still},
      {"column, 0.2 m/s", 5, 50e-6, droplet, 1000.0f, 0.2, 0.5 * sh * still},
      {"column, wholly dissolved", 5, 1e-6, droplet, 1.0f, 0.0, still},
      {"sea floor, 0.2 m/s", -1, 50e-6, droplet, 1000.0f, 0.2, still},
      {"afloat", 1, 50e-6, droplet, 1000.0f, 0.2, 0.0},
      {"beached", 0, 50e-6, droplet, 1000.0f, 0.2, 0.0},
      {"air", 4, 50e-6, droplet, 1000.0f, 0.2, 0.0},
      {"over land", 2, 50e-6, droplet, 1000.0f, 0.2, 0.0},
      // No size or no mass: nothing to dissolve (no 0/0).
      {"column, no diameter", 5, 0.0, droplet, 1000.0f, 0.0, 0.0},
      {"column, no mass", 5, 50e-6, 0.0, 1000.0f, 0.2, 0.0},
  };
  const int32_t np = static_cast<int32_t>(std::size(rows));
  hns_water_spill(np, 2);
  var_run.deltat = 1.0f;
  const double lon = metres_per_degree_lon(43.0);
  for (int32_t j = 1; j <= np; ++j) {
    const auto& r = rows[j - 1];
    var_part.indp(j, 1) = r.state;
    var_part.diam_part(j, 1) = r.diameter;
    var4.massparticle(j, 1) = r.mass;
    var_hns_extra.equiv_part(j, 1) = r.equiv;
    var_currwindwave.uadv(j, 1) = r.current / lon;
  }
  var4.mass_surf(1) = 1.0;
  var4.mass_column(1) = 2.0;
  var4.mass_floor(1) = 3.0;
  var4.mass_diss_surf_cumul(1) = 0.25f;
  var4.mass_diss_column_cumul(1) = 0.5f;
  var4.mass_diss_cumul(1) = 0.0f;  // rebuilt from its two parts
  dissolve_3d(1);
  double from_column = 0.0, from_floor = 0.0;
  for (int32_t j = 1; j <= np; ++j) {
    const auto& r = rows[j - 1];
    const double carried = r.equiv * r.mass;
    const double left = r.fall > 0.0 ? kept(r.diameter, r.fall) : 1.0;
    const double dissolved = carried * (1.0 - left);
    const double now = static_cast<double>(var_hns_extra.equiv_part(j, 1)) * var4.massparticle(j, 1);
    // Within the single precision of the diffusivity and Sherwood number.
    EXPECT_NEAR(now, carried - dissolved, 1e-5 * carried + 1e-30) << r.what;
    if (left > 0.0) {
      // The number of droplets stays; each is smaller.
      EXPECT_EQ(var_hns_extra.equiv_part(j, 1), r.equiv) << r.what;
      EXPECT_NEAR(var_part.diam_part(j, 1), std::sqrt(r.diameter * r.diameter - r.fall), 1e-6 * r.diameter)
          << r.what;
    }
    (r.state == -1 ? from_floor : from_column) += dissolved;
  }
  EXPECT_EQ(var_hns_extra.equiv_part(3, 1), 0.0f);
  EXPECT_EQ(var4.mdissolved_surf, 0.0f);
  const double below = from_column + from_floor;
  EXPECT_NEAR(var4.mdissolved_col, below, 1e-5 * below);
  EXPECT_NEAR(var4.mass_diss_dt(1), below, 1e-5 * below);
  EXPECT_EQ(var4.mass_surf(1), 1.0);
  EXPECT_NEAR(var4.mass_column(1), 2.0 - from_column, 1e-5 * from_column);
  EXPECT_NEAR(var4.mass_floor(1), 3.0 - from_floor, 1e-5 * from_floor);
  EXPECT_NEAR(var4.mass_diss_cumul(1), 0.75 + below, 1e-7);
}

TEST(HnsDissolution, ADropletShrinksAndIsGoneInTheTimeOfItsDiffusionLimit) {
  // A sphere of diameter d dissolving in still water (Sh = 2) is gone after
  // T = rho d^2 / (8 D S): 876.5 kg/m3, 50 um, D = 9.6851e-10 m2/s, S = 1.78
  // kg/m3 give T = 158.88 s.  Its squared diameter falls linearly, so the
  // mass left is m0 (1 - t / T)^(3/2): 35.36 % at T / 2 and nothing at T,
  // in the water column (no current) as on the floor, by steps of T / 1000
  // or in one step: the step is integrated exactly.
  const double rho = 876.5, d = 50e-6, s = 1.78;
  const double t = rho * d * d / (8.0 * diffusivity * 1e-4 * s);
  EXPECT_NEAR(t, 158.88, 0.01);
  for (const int32_t state : {5, -1}) {
    for (const int steps : {1000, 1}) {
      SCOPED_TRACE(std::to_string(state) + " " + std::to_string(steps));
      hns_water_spill(1, 2);
      var_part.indp(1, 1) = state;
      var_part.diam_part(1, 1) = d;
      const double m0 = rho * pi * std::pow(d / 2.0, 3) * 1.0e6;
      var4.massparticle(1, 1) = m0 / 1.0e6;
      var_hns_extra.equiv_part(1, 1) = 1.0e6f;
      var4.mass_column(1) = state == 5 ? m0 : 0.0;
      var4.mass_floor(1) = state == -1 ? m0 : 0.0;
      var_run.deltat = static_cast<float>(0.5 * t / steps);
      double dissolved = 0.0;
      for (int k = 1; k <= steps; ++k) {
        dissolve_3d(1);
        dissolved += var4.mass_diss_dt(1);
      }
      const double half = var_hns_extra.equiv_part(1, 1) * var4.massparticle(1, 1);
      EXPECT_NEAR(half / m0, std::pow(0.5, 1.5), 1e-5);
      EXPECT_NEAR(dissolved + half, m0, 1e-9 * m0);
      EXPECT_NEAR(var4.mass_column(1) + var4.mass_floor(1), half, 1e-9 * m0);
      for (int k = 1; k <= steps + 1; ++k) dissolve_3d(1);
      EXPECT_EQ(var_hns_extra.equiv_part(1, 1), 0.0f);
      EXPECT_NEAR(var4.mass_column(1) + var4.mass_floor(1), 0.0, 1e-9 * m0);
    }
  }
}

}  // namespace
}  // namespace orvel
