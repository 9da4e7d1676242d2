// Evaporation of a chemical slick: the mass-transfer law against hand
// values, the cap on the total evaporated fraction, the droplet equivalents
// of the parcels of a 3-D slick, and the mass over a sequence of steps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fate/hns_slick.hpp"
#include "tests/fate/hns_slick_state.hpp"

namespace orvel {
namespace {

using testing::hns_slick;
using testing::masses;
using testing::states;

constexpr double pi = 3.14159265358979323846;

// A benzene-like floater (12.7 kPa, 78.11 g/mol) under air at 293.15 K,
// 600 s steps, 1000 t released of which 80 % may evaporate; every particle
// afloat in a 4 m/s wind; the fixed transfer coefficient 0.005 m/s.
void benzene(int32_t np, int32_t dims = 1) {
  hns_slick(np, dims);
  auto& sp = var_spill;
  sp.vaporpressure(1) = 12.7f;
  sp.hnsmolweight(1) = 78.11f;
  sp.airtemperature(1) = 293.15f;
  sp.maxevaporation(1) = 80.0f;
  var_cfg.masa0(1) = 1.0e6;
  var4.mass_surf(1) = 1.0e6;
  var_cfg.evaporo(1) = 1;
  var_calib.calibevap_option = 0;
  var_calib.km = 0.005f;
  var_calib.wind_min = 2.5f;
  var_currwindwave.wintx.fill(0.0);
  var_currwindwave.winty.fill(4.0);
}

void evaporate() {
  farray<double, 1> unused;
  evaporacionhns(1, unused);
}

// MW P A Km / (R T): the molar flux times the molar mass, kg/s, with R =
// 8314 J/(kmol K) for an area in m2.
double flux(double p_pa, double area, double km) { return 78.11 * p_pa * area * km / (8314.0 * 293.15); }

// The computed transfer coefficient a U^(7/9) d^(-1/9) Sc^(-2/3) over an
// area of equivalent diameter d = sqrt(4 A / pi), Sc = 1.5e-5 / (sqrt(18 /
// MW) 2.3e-5) the Schmidt number of the vapour in air (the kinematic
// viscosity of air over the diffusivity of water vapour in air scaled by
// the molar masses), with the law's published exponents.
double coefficient(double a, double u, double area) {
  const double sc = 1.5e-5 / (std::sqrt(18.0 / 78.11) * 2.3e-5);
  return a * std::pow(u, 0.77777) * std::pow(std::sqrt(4.0 * area / pi), -0.111111) * std::pow(sc, -0.666666);
}

TEST(HnsEvaporation2d, BenzeneFloaterWithAFixedCoefficient) {
  // Nf = 78.11 * 12700 * 1000 * 0.005 / (8314 * 293.15) = 2.035075 kg/s;
  // the step moves Nf * 600 s from the slick to the evaporated mass.
  benzene(4);
  var4.areaparticlesurftotal(1) = 1000.0;
  evaporate();
  const double step = 2.035075118 * 600.0;
  EXPECT_NEAR(flux(12700.0, 1000.0, 0.005), 2.035075, 1e-6);
  EXPECT_NEAR(var4.diff_evp(1), step, 1e-6 * step);
  EXPECT_NEAR(var4.masaevp(1), step, 1e-6 * step);
  EXPECT_EQ(var4.masaevp(1), var4.diff_evp(1));
  EXPECT_EQ(var4.mass_surf(1), 1.0e6 - var4.diff_evp(1));
  EXPECT_EQ(var4.per_evp(1), var4.diff_evp(1) / 1.0e6);
  EXPECT_EQ(var_currwindwave.wind10(1), 4.0);
  EXPECT_EQ(var_cfg.evaporo(1), 1);
}

TEST(HnsEvaporation2d, ComputedCoefficientAndCalmWind) {
  // a = 0.002 over 1000 m2 (d = 35.68 m), Sc = 1.358565.  A calm wind at
  // every particle is taken as wind_min, which wind10 also reports.
  struct row {
    double wx, wy, u;
  };
  for (const row& r : {row{3.0, 4.0, 5.0}, row{0.0, 0.0, 2.5}}) {
    benzene(4);
    var_calib.calibevap_option = 1;
    var_calib.a = 0.002f;
    var_currwindwave.wintx.fill(r.wx);
    var_currwindwave.winty.fill(r.wy);
    var4.areaparticlesurftotal(1) = 1000.0;
    evaporate();
    const double step = flux(12700.0, 1000.0, coefficient(0.002, r.u, 1000.0)) * 600.0;
    EXPECT_NEAR(var4.diff_evp(1), step, 2e-5 * step) << r.u;
    EXPECT_EQ(var_currwindwave.wind10(1), r.u);
  }
  // Benzene's Schmidt number in air: a diffusivity of about 1.1e-5 m2/s,
  // close to the 0.93e-5 m2/s measured at 25 C (Sc about 1.6).
  EXPECT_NEAR(1.5e-5 / (std::sqrt(18.0 / 78.11) * 2.3e-5), 1.358565, 1e-6);
  // A slick of no area evaporates nothing (and stays a number).
  benzene(4);
  var_calib.calibevap_option = 1;
  var_calib.a = 0.002f;
  var4.areaparticlesurftotal(1) = 0.0;
  evaporate();
  EXPECT_EQ(var4.diff_evp(1), 0.0);
  EXPECT_EQ(var4.mass_surf(1), 1.0e6);
  EXPECT_EQ(var4.per_evp(1), 0.0);
}

// A 3-D slick of 2 pi m2 formed by two surface parcels of 1 mm droplets,
// 1e6 droplets each, beside a column and a beached parcel; droplet mass
// 5e-4 kg, so 1000 kg afloat.
void slick_3d() {
  benzene(4, 2);
  states({1, 5, 1, 0});
  masses({5.0e-4, 5.0e-4, 5.0e-4, 5.0e-4});
  var_part.diam_part.fill(1.0e-3);
  var_hns_extra.equiv_part.fill(1.0e6f);
  var_calib.a = 0.002f;
  var_cfg.masa0(1) = 2000.0;
  var4.mass_surf(1) = 1000.0;
  var4.areaparticlesurftotal(1) = 2.0 * pi;
  var_part.numpartsurfevap = 2;
}

TEST(HnsEvaporation, GasAboveAtmosphericPressure) {
  // Above one atmosphere the flux is multiplied by -(patm/P) ln(1 -
  // patm/P), in both dimensions: -(1/2) ln(1/2) = 0.346574 at 2 atm,
  // -(1/10) ln(9/10) = 0.0105361 at 10 atm.  At exactly one atmosphere
  // (101.325 kPa, 101325 Pa once in pascals) the substance does not boil:
  // the flux is the plain one, finite (the correction there would be the
  // logarithm of 0).
  struct row {
    float kpa;
    double factor;
  };
  for (const row& r : {row{202.65f, 0.3465736}, row{1013.25f, 0.01053605}, row{101.325f, 1.0}}) {
    benzene(4);
    var_spill.vaporpressure(1) = r.kpa;
    var4.areaparticlesurftotal(1) = 10.0;
    evaporate();
    const double step2d = flux(1000.0 * r.kpa, 10.0, 0.005) * 600.0 * r.factor;
    EXPECT_NEAR(var4.diff_evp(1), step2d, 1e-5 * step2d) << r.kpa;

    slick_3d();
    var_spill.vaporpressure(1) = r.kpa;
    evaporate();
    const double step3d = flux(1000.0 * r.kpa, 2.0 * pi, coefficient(0.002, 4.0, 2.0 * pi)) * 600.0 * r.factor;
    EXPECT_NEAR(var4.diff_evp(1), step3d, 5e-5 * step3d) << r.kpa;
  }
}

TEST(HnsEvaporation, ThreeDimensionalSlickEvaporatesAsTheTwoDimensionalOne) {
  // The floating parcels of a 3-D spill form its slick: over the same slick
  // area and wind the step's mass is that of a 2-D slick with the computed
  // coefficient (the 3-D form ignores the fixed coefficient whatever the
  // option says), the gas constant being 8314 J/(kmol K) in both.
  slick_3d();
  var_calib.calibevap_option = 0;
  evaporate();
  const double step3d = var4.diff_evp(1);
  EXPECT_EQ(var4.areaparticlesurftotal(1), 2.0 * pi);

  benzene(4);
  var_calib.calibevap_option = 1;
  var_calib.a = 0.002f;
  var4.areaparticlesurftotal(1) = 2.0 * pi;
  evaporate();
  EXPECT_EQ(step3d, var4.diff_evp(1));
  EXPECT_NEAR(step3d, flux(12700.0, 2.0 * pi, coefficient(0.002, 4.0, 2.0 * pi)) * 600.0, 5e-5 * step3d);

  // Without a calibrated a there is no 3-D evaporation, fixed coefficient or
  // not.
  slick_3d();
  var_calib.a = 0.0f;
  evaporate();
  EXPECT_EQ(var4.diff_evp(1), 0.0);
  EXPECT_EQ(var4.mass_surf(1), 1000.0);
}

TEST(HnsEvaporation, CapOnTheTotalEvaporatedFraction) {
  // 1000 kg released, at most 50 % may evaporate; a flux far beyond the
  // floating mass, so the step's mass is what floats (or the whole
  // allowance when that is more).
  struct row {
    std::string what;
    double evaporated_before, floating;
    double evaporated, floating_after, fraction, step;
    int32_t still_on;
  };
  const std::vector<row> rows = {
      {"reaching the maximum exactly leaves evaporation on", 400, 100, 500, 0, 0.5, 100, 1},
      {"a step beyond the whole allowance takes the allowance", 0, 1000, 500, 500, 0.5, 500, 1},
      {"past the maximum only the remaining allowance moves", 100, 900, 500, 500, 0.5, 0, 0},
      {"no floating mass: nothing moves", 300, 0, 300, 0, 0.3, 0, 1},
  };
  for (const auto& r : rows) {
    benzene(4);
    var_spill.maxevaporation(1) = 50.0f;
    var_cfg.masa0(1) = 1000.0;
    var4.areaparticlesurftotal(1) = 1.0e6;
    var4.masaevp(1) = r.evaporated_before;
    var4.mass_surf(1) = r.floating;
    evaporate();
    EXPECT_EQ(var4.masaevp(1), r.evaporated) << r.what;
    EXPECT_EQ(var4.mass_surf(1), r.floating_after) << r.what;
    EXPECT_EQ(var4.per_evp(1), r.fraction) << r.what;
    EXPECT_EQ(var4.diff_evp(1), r.step) << r.what;
    EXPECT_EQ(var_cfg.evaporo(1), r.still_on) << r.what;
    EXPECT_EQ(var4.masaevp(1) + var4.mass_surf(1), r.evaporated_before + r.floating) << r.what;
  }
}

TEST(HnsEvaporation, SpillWithoutMassEvaporatesNothing) {
  benzene(4);
  var_cfg.masa0(1) = 0.0;
  var4.mass_surf(1) = 0.0;
  var4.areaparticlesurftotal(1) = 1000.0;
  evaporate();
  EXPECT_EQ(var4.diff_evp(1), 0.0);
  EXPECT_EQ(var4.per_evp(1), 0.0);
  EXPECT_EQ(var4.masaevp(1), 0.0);
}

TEST(HnsEvaporation3d, SurfaceParcelsLoseTheMassThatLeft) {
  struct row {
    std::string what;
    float a;  // the calibrated coefficient factor of the transfer law
    double allowance_pct;
    double moved, equiv;
    int32_t still_on;
  };
  // A step over the slick's 2 pi m2 at 4 m/s with a = 0.0048: 15.7 kg of
  // the floating 1000 kg, so the parcels keep 1e6 (1 - 15.7 / 1000)
  // droplets.  With a ten million times larger the whole floating 1000 kg
  // leaves (2000 kg released): no droplet stays.  With a 40 % allowance
  // (800 kg) of which 700 kg is spent, only the remaining 100 kg leaves: the
  // parcels keep 90 %.
  const double step = flux(12700.0, 2.0 * pi, coefficient(0.0048, 4.0, 2.0 * pi)) * 600.0;
  EXPECT_NEAR(step, 15.7, 0.1);
  const std::vector<row> rows = {
      {"a step", 0.0048f, 80.0, step, 1.0e6 * (1.0 - step / 1000.0), 1},
      {"the whole floating mass", 4.8e4f, 80.0, 1000.0, 0.0, 1},
      {"the last of the allowance", 4.8e4f, 40.0, 100.0, 9.0e5, 0},
  };
  for (const auto& r : rows) {
    slick_3d();
    var_calib.a = r.a;
    var_spill.maxevaporation(1) = static_cast<float>(r.allowance_pct);
    var4.masaevp(1) = r.allowance_pct == 40.0 ? 700.0 : 0.0;
    const double before = var4.masaevp(1);
    evaporate();
    EXPECT_NEAR(var4.masaevp(1) - before, r.moved, 5e-5 * r.moved) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), 1000.0 - (var4.masaevp(1) - before), 1e-9) << r.what;
    EXPECT_EQ(var_cfg.evaporo(1), r.still_on) << r.what;
    for (int32_t j : {1, 3}) EXPECT_NEAR(var_hns_extra.equiv_part(j, 1), r.equiv, 1e-6 * 1e6) << r.what;
    // The column and beached parcels keep their droplets.
    for (int32_t j : {2, 4}) EXPECT_EQ(var_hns_extra.equiv_part(j, 1), 1.0e6f) << r.what;
  }
}

TEST(HnsEvaporation3d, APulseEvaporatesItsShareOfTheOneSlick) {
  // A pulse of a continuous release that floats a quarter of the release's
  // floating mass evaporates over a quarter of the one slick's 2 pi m2 with
  // the coefficient of the whole slick's diameter: a quarter of the whole
  // slick's step (over a slick of its own quarter, the coefficient would be
  // 4^(1/18), 8 % larger).  An instantaneous spill, and a 2-D pulse, take
  // no share.
  const double whole = flux(12700.0, 2.0 * pi, coefficient(0.0048, 4.0, 2.0 * pi)) * 600.0;
  struct row {
    const char* what;
    int32_t release, dims;
    double expected;
  };
  const row rows[] = {
      {"a pulse of a continuous 3-D release", 2, 2, 0.25 * whole},
      {"an instantaneous 3-D spill", 1, 2, whole},
  };
  for (const auto& r : rows) {
    slick_3d();
    var_calib.a = 0.0048f;
    var_cfg.spill__instant_contin = r.release;
    // A pulse's evaporated fraction refers to its own mass.
    ensure(var_cfg.spilledmass, 1);
    var_cfg.spilledmass(1) = 2000.0;
    ensure(var_spill.area_share, 1);
    var_spill.area_share(1) = 0.25;
    evaporate();
    EXPECT_NEAR(var4.diff_evp(1), r.expected, 5e-5 * r.expected) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), 1000.0 - r.expected, 5e-5 * r.expected) << r.what;
  }
  EXPECT_GT(flux(12700.0, 0.5 * pi, coefficient(0.0048, 4.0, 0.5 * pi)) * 600.0, 1.05 * 0.25 * whole);
  // 2-D: the whole slick area whatever the share.
  benzene(4);
  var_cfg.spill__instant_contin = 2;
  ensure(var_cfg.spilledmass, 1);
  var_cfg.spilledmass(1) = 1.0e6;
  ensure(var_spill.area_share, 1);
  var_spill.area_share(1) = 0.25;
  var4.areaparticlesurftotal(1) = 2.0 * pi;
  evaporate();
  EXPECT_NEAR(var4.diff_evp(1), flux(12700.0, 2.0 * pi, 0.005) * 600.0, 5e-5 * var4.diff_evp(1));
  var_spill.area_share(1) = 1.0;
  var_cfg.spill__instant_contin = 1;
}

TEST(HnsEvaporation3d, NoSurfaceParticleEvaporatesNothing) {
  slick_3d();
  var_part.numpartsurfevap = 0;
  var4.areaparticlesurftotal(1) = 123.0;
  var4.diff_evp(1) = 55.0;
  evaporate();
  EXPECT_EQ(var4.diff_evp(1), 0.0);
  EXPECT_EQ(var4.mass_surf(1), 1000.0);
  EXPECT_EQ(var4.masaevp(1), 0.0);
  EXPECT_EQ(var4.areaparticlesurftotal(1), 123.0);
  EXPECT_EQ(var_hns_extra.equiv_part(1, 1), 1.0e6f);
}

// Sum of the five re-summed compartments of spill 1.
double compartments_total() {
  const auto& m = var4;
  return m.mass_surf(1) + m.mass_beached(1) + m.mass_column(1) + m.mass_floor(1) + m.mass_radar(1);
}

TEST(HnsEvaporationMass, TwoDimensionalStepsKeepTheReleasedMass) {
  // 20 particles of 50 kg in every counted state and one paused over land;
  // 30 steps of re-sum, evaporation and share-back at a rate that reaches
  // the 25 % cap on the way.  Compartments + evaporated + the paused
  // particle's own mass = 1000 kg at every step.
  benzene(20);
  states({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 5, 5, -1, -1, -2, -2, 1, 2});
  var4.massparticle.fill(50.0);
  var_cfg.masa0(1) = 1000.0;
  var_spill.maxevaporation(1) = 25.0f;
  var_spill.area_hns(1) = 50.0f;
  var4.areaparticlesurftotal(1) = 50.0;
  for (int step = 1; step <= 30; ++step) {
    balance_vertido_tierra_hns(1);
    ASSERT_NEAR(compartments_total() + var4.masaevp(1) + 50.0, 1000.0, 1e-9) << step;
    if (var_cfg.evaporo(1) == 1) evaporate();
    updateparthnsproperties(1);
  }
  balance_vertido_tierra_hns(1);
  EXPECT_EQ(var_cfg.evaporo(1), 0);
  EXPECT_NEAR(var4.masaevp(1), 250.0, 1e-9);
  EXPECT_NEAR(compartments_total() + var4.masaevp(1) + 50.0, 1000.0, 1e-9);
  EXPECT_NEAR(var4.mass_surf(1), 550.0 - 250.0, 1e-9);
}

TEST(HnsEvaporationMass, ThreeDimensionalStepsKeepTheReleasedMass) {
  // Ten parcels of 1e6 droplets of 5e-4 kg (500 kg each, 5000 kg), six of
  // them afloat; steps of re-sum and evaporation up to the 25 % cap
  // (1250 kg), the re-sum turning the lowered droplet counts back into the
  // floating mass.  The droplet counts are single precision, so the budget
  // closes to single-precision rounding.
  benzene(10, 2);
  states({1, 1, 1, 1, 1, 1, 5, 0, -1, -2});
  var4.massparticle.fill(5.0e-4);
  var_part.diam_part.fill(1.0e-3);
  var_hns_extra.equiv_part.fill(1.0e6f);
  var_cfg.masa0(1) = 5000.0;
  var_spill.maxevaporation(1) = 25.0f;
  var_calib.a = 0.05f;  // a fast evaporator: the cap within a few steps
  var_spill.area_hns(1) = 1000.0f;  // the slick, taken by every re-sum
  for (int step = 1; step <= 20; ++step) {
    balance_vertido_tierra_hns_3d(1);
    ASSERT_EQ(var4.areaparticlesurftotal(1), 1000.0) << step;
    ASSERT_NEAR(compartments_total() + var4.masaevp(1), 5000.0, 5000.0 * 1e-6) << step;
    if (var_cfg.evaporo(1) == 1) evaporate();
  }
  balance_vertido_tierra_hns_3d(1);
  EXPECT_EQ(var_cfg.evaporo(1), 0);
  EXPECT_NEAR(var4.masaevp(1), 1250.0, 1e-9);
  EXPECT_NEAR(var4.mass_surf(1), 3000.0 - 1250.0, 3000.0 * 1e-6);
}

}  // namespace
}  // namespace orvel
