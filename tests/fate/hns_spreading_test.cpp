// Growth of a chemical slick: Fay-type spreading with the calibrated
// constant, the thick-slick growth of each surface particle's area, and
// Lehr's slick against the chemical's own reference area.  Expected values
// worked out from the formulas apart from the code.
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

struct spread_out {
  double area, coef_r, coef_q;
};

spread_out spread(int32_t step, double previous_area) {
  farray<double, 1> area;
  area.allocate(1);
  area(1) = previous_area;
  double r = -1.0, q = -1.0;
  spreadinghns(1, step, area, r, q);
  return {area(1), r, q};
}

// Fay set-up: 10 m3, relative density difference 0.15, sea water 1e-6 m2/s,
// 600 s steps; a large reference area that Fay must not apply.
void fay_slick(double k2, double start_s) {
  hns_slick(4);
  var_cfg.spreadalgorithm__adios2_leher_hns = 1;
  var_cfg.spillvolume(1) = 10.0;
  var_cfg.spillstarttime(1) = start_s;
  var_spill.deltarho(1) = 0.15f;
  var_spill.area_hns(1) = 1.0e6f;
  var_calib.k2 = k2;
}

TEST(HnsSpreadingFay, CalibratedConstantAndNoFloor) {
  // X = V^2 g drho / sqrt(nu) = 100 * 9.81 * 0.15 / 1e-3 = 147150 m^4.5/s.
  // A = k2^2 pi (tau^1.5 X)^(1/3); K = 0.033 tau^0.16 + k2^2 / 16 X^(1/3)
  // tau^(-1/2), tau the time since the release (3600 s less the start);
  // coef_r = sqrt(2 K / dt).  k2 = 1.21 gives the oil slick's 14569.96 m2.
  const double x = 147150.0;
  struct row {
    double k2, start_s;
  };
  for (const row& r : {row{1.21, 0.0}, row{2.0, 0.0}, row{2.0, 1800.0}, row{0.0, 0.0}}) {
    fay_slick(r.k2, r.start_s);
    const auto o = spread(6, 5.0e6);
    const double tau = 3600.0 - r.start_s;
    const double area = r.k2 * r.k2 * 3.14159265358979 * std::cbrt(std::pow(tau, 1.5) * x);
    const double k = 0.033 * std::pow(tau, 0.16) + r.k2 * r.k2 / 16.0 * std::cbrt(x) / std::sqrt(tau);
    const std::string what = "k2 " + std::to_string(r.k2) + " start " + std::to_string(r.start_s);
    EXPECT_NEAR(o.area, area, 3e-6 * area + 1e-12) << what;
    EXPECT_NEAR(o.coef_r, std::sqrt(2.0 * k / 600.0), 1e-6 * o.coef_r) << what;
    EXPECT_EQ(o.coef_q, 0.0) << what;
  }
  fay_slick(1.21, 0.0);
  EXPECT_NEAR(spread(6, 0.0).area, 14569.96, 3e-6 * 14569.96);
  fay_slick(0.0, 0.0);
  EXPECT_EQ(spread(6, 5.0e6).area, 0.0);
}

TEST(HnsSpreadingFay, ProductDenserThanTheWaterDoesNotSpreadAndStaysFinite) {
  fay_slick(1.0, 0.0);
  var_spill.deltarho(1) = -0.02f;
  const auto o = spread(6, 300.0);
  EXPECT_EQ(o.area, 0.0);
  EXPECT_NEAR(o.coef_r, std::sqrt(2.0 * 0.033 * std::pow(3600.0, 0.16) / 600.0), 1e-6 * 0.0143);
}

// Thick-slick set-up: rate constant 2, 600 s steps.
void thick_slick(int32_t surface_particles, double volume_each) {
  hns_slick(8);
  var_cfg.spreadalgorithm__adios2_leher_hns = 3;
  var_calib.spreadingrateconstant = 2.0;
  var_part.par_surf(1) = surface_particles;
  var4.volumeparticle(1) = volume_each;
  var4.areaparticlesurf(1) = -1.0;
}

TEST(HnsSpreadingThickSlick, EachSurfaceParticleGrowsAtTheCalibratedRate) {
  // m = c Ap^(1/3) (Vp / Ap)^(4/3) (Ap / A)^(2/3) with Ap = A / n; the new
  // area is A + n dt m, each particle's Ap + dt m; coef_r = sqrt(6 m / dt).
  // One surface particle: Ap = A and the third factor is 1.
  struct row {
    int32_t n;
    double area, volume_each;
  };
  for (const row& r : {row{4, 400.0, 0.1}, row{1, 50.0, 0.2}, row{8, 2.0e4, 2.5}}) {
    thick_slick(r.n, r.volume_each);
    const double ap = r.area / r.n;
    const double m = 2.0 * std::cbrt(ap) * std::pow(r.volume_each / ap, 4.0 / 3.0) * std::pow(1.0 / r.n, 2.0 / 3.0);
    const auto o = spread(3, r.area);
    const std::string what = "n " + std::to_string(r.n);
    EXPECT_NEAR(o.area, r.area + r.n * 600.0 * m, 1e-6 * r.n * 600.0 * m) << what;
    EXPECT_NEAR(var4.areaparticlesurf(1), ap + 600.0 * m, 1e-6 * 600.0 * m) << what;
    EXPECT_EQ(o.area, var4.areaparticlesurf(1) * r.n) << what;
    EXPECT_NEAR(var4.spreadingdiffcoef(1), m, 1e-6 * m) << what;
    EXPECT_NEAR(o.coef_r, std::sqrt(6.0 * m / 600.0), 1e-6 * o.coef_r) << what;
    EXPECT_EQ(o.coef_q, 0.0) << what;
  }
  // A hand value: n 4, A 400 m2, 0.1 m3 each: m = 2 * 100^(1/3) * 1e-4 *
  // 0.25^(2/3) = 3.68403e-4 m2/s, the slick 400.88417 m2 after 600 s.
  thick_slick(4, 0.1);
  EXPECT_NEAR(spread(3, 400.0).area, 400.88417, 1e-5);
}

TEST(HnsSpreadingThickSlick, NoAreaOrNoSurfaceParticleGivesNoGrowth) {
  thick_slick(4, 0.1);
  auto o = spread(3, 0.0);
  EXPECT_EQ(o.area, 0.0);
  EXPECT_EQ(o.coef_r, 0.0);
  EXPECT_EQ(var4.areaparticlesurf(1), 0.0);

  thick_slick(0, 0.0);
  o = spread(3, 400.0);
  EXPECT_EQ(o.area, 400.0);
  EXPECT_EQ(o.coef_r, 0.0);
  EXPECT_EQ(o.coef_q, 0.0);
  EXPECT_EQ(var4.areaparticlesurf(1), -1.0);
}

// Lehr set-up of the oil tests: 10 m3 (62.9 bbl), r = 0.1765, one-hour
// steps, reference area 1000 m2 in area_hns; the oil area, which a chemical
// does not use, far larger.
void lehr_slick(int32_t algorithm, double wind) {
  hns_slick(4);
  var_run.deltat = 3600.0f;
  var_cfg.spillstarttime(1) = 0.0;  // released at the start: 60 min old at the end of step 1
  var_cfg.spreadalgorithm__adios2_leher_hns = algorithm;
  var_cfg.vol0(1) = 10.0;
  var_spill.deltarho(1) = 0.1765f;
  var_spill.waterdensity(1) = 1000.0f;
  var_spill.density(1) = 1000.0f;
  var_spill.area_hns(1) = 1000.0f;
  var_spill.area_oil(1) = 1.0e7f;
  var_currwindwave.uwind(1) = wind;
}

TEST(HnsSpreadingLehr, SameSlickAsOilAgainstTheChemicalsArea) {
  // Calm, first step: A = 1000 * 2.27 r^(2/3) Vb^(2/3) tm^(1/2) = 87504.77
  // m2 at 60 min, Q = R = 1.7 Vb^(1/3) r^(1/3) tm^(1/4) = 10.554845, S0 =
  // 1000 / 3.14159: coef_q = 10 R / S0, coef_r = 10 coef_q.  Every algorithm
  // but 1 and 3 is Lehr.
  for (int32_t algorithm : {2, 0, 7}) {
    lehr_slick(algorithm, 0.0);
    const auto o = spread(1, 0.0);
    EXPECT_NEAR(o.area, 87504.77, 2e-6 * 87504.77) << algorithm;
    const double s0 = 1000.0 / 3.14159;
    EXPECT_NEAR(o.coef_q, 10.0 * 10.554845 / s0, 1e-6 * 0.33) << algorithm;
    EXPECT_NEAR(o.coef_r, 10.0 * o.coef_q, 1e-14 * o.coef_r) << algorithm;
  }
  // Never below the reference area.
  lehr_slick(2, 0.0);
  var_spill.area_hns(1) = 2.0e5f;
  EXPECT_EQ(spread(1, 0.0).area, 2.0e5);
}

TEST(HnsSpreadingLehr, LaterStepsScaleTheLastGrowthByTheAxesIncrements) {
  // Step 7 of one hour, 5 m/s: coef_q = (7^.25 - 6^.25) / (6^.25 - 5^.25).
  lehr_slick(2, 5.0);
  var_part.x_oldpt.allocate(4, 1);
  var_part.x_oldpt.fill(351.0);
  const auto o = spread(7, 0.0);
  EXPECT_NEAR(o.coef_q, 0.8817850, 1e-6);
  EXPECT_GT(o.coef_r, o.coef_q);
  EXPECT_LT(o.coef_r, 1.0);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

TEST(HnsSpreadArea, TheOneSlickOfAReleaseFollowsTheLawOfItsVolume) {
  // The law's area for a given volume and age, as the spill's own spreading
  // gives it: Fay from the floating volume (10 m3 an hour old: 14569.96 m2
  // with k2 = 1.21; A goes as V^(2/3), so twice the volume gives 2^(2/3)
  // times the area), Lehr from the released volume (87504.77 m2 at 60 min
  // in a calm; eight times the volume, four times the area), none for the
  // per-particle growth.
  fay_slick(1.21, 0.0);
  EXPECT_NEAR(hns_spread_area(1, 10.0, 0.0, 3600.0), 14569.96, 3e-6 * 14569.96);
  EXPECT_NEAR(hns_spread_area(1, 20.0, 0.0, 3600.0), 14569.96 * std::cbrt(4.0), 3e-6 * 23128.0);
  lehr_slick(2, 0.0);
  const double released = var_cfg.vol0(1);
  EXPECT_NEAR(hns_spread_area(1, 0.0, released, 3600.0), 87504.77, 2e-6 * 87504.77);
  EXPECT_NEAR(hns_spread_area(1, 0.0, 8.0 * released, 3600.0), 4.0 * 87504.77, 2e-6 * 4.0 * 87504.77);
  var_cfg.spreadalgorithm__adios2_leher_hns = 3;
  EXPECT_EQ(hns_spread_area(1, 10.0, released, 3600.0), 0.0);
}

TEST(HnsSpreadArea, TheAgeAtWhichTheLawGivesAnArea) {
  // The inverse of the law, by which the one slick of a release goes on
  // spreading from the area it has: an hour for the two hand values above,
  // and back to the age the law was asked for, Lehr with a wind too (its
  // area then grows as sqrt(t) plus t).  No area, or no law: age 0.
  fay_slick(1.21, 0.0);
  EXPECT_NEAR(hns_spread_age(1, 10.0, 0.0, 14569.96), 3600.0, 1e-5 * 3600.0);
  // (The law's powers are single-precision thirds: the way back is good to
  // a few parts in ten million.)
  EXPECT_NEAR(hns_spread_age(1, 20.0, 0.0, hns_spread_area(1, 20.0, 0.0, 900.0)), 900.0, 1e-6 * 900.0);
  EXPECT_EQ(hns_spread_age(1, 10.0, 0.0, 0.0), 0.0);
  for (const double wind : {0.0, 5.0, 15.0}) {
    lehr_slick(2, wind);
    const double released = var_cfg.vol0(1);
    if (wind == 0.0) {
      EXPECT_NEAR(hns_spread_age(1, 0.0, released, 87504.77), 3600.0, 1e-5 * 3600.0);
    }
    for (const double age : {600.0, 7200.0, 86400.0}) {
      // The law's minutes are held in single precision.
      EXPECT_NEAR(hns_spread_age(1, 0.0, released, hns_spread_area(1, 0.0, released, age)), age, 1e-6 * age)
          << wind << " m/s, " << age << " s";
    }
  }
  var_cfg.spreadalgorithm__adios2_leher_hns = 3;
  EXPECT_EQ(hns_spread_age(1, 10.0, 10.0, 1000.0), 0.0);
}

}  // namespace
}  // namespace orvel
