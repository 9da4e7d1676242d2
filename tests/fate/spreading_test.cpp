// Growth of an oil slick: Fay-type spreading with its diffusivity, and Lehr's
// wind-elongated slick with the coefficients of the particle offsets.
// Expected values worked out from the published formulas apart from the code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fate/oil_weathering.hpp"
#include "tests/fate/oil_spill_state.hpp"

namespace orvel {
namespace {

using testing::one_oil_spill;

// Fay set-up: 10 m3, relative density difference 0.15, sea water 1e-6 m2/s,
// a small initial area.
void fay_spill(double start_s) {
  one_oil_spill(4, 600.0f);
  var_cfg.spreadalgorithm__adios2_leher_hns = 1;
  var_cfg.spillvolume(1) = 10.0;
  var_cfg.vol0(1) = 10.0;
  var_cfg.spillstarttime(1) = start_s;
  var_spill.deltarho(1) = 0.15f;
  var_spill.area_oil(1) = 100.0f;
}

struct spread_out {
  double area, coef_r, coef_q;
};

spread_out spread(int32_t step, double previous_area = 0.0) {
  farray<double, 1> area;
  area.allocate(1);
  area(1) = previous_area;
  double r = -1.0, q = -1.0;
  spreading(1, step, area, r, q);
  return {area(1), r, q};
}

TEST(SpreadingFay, AreaAndDiffusivityFromTheTimeSinceRelease) {
  // A = pi 1.21^2 (V^2 g drho tau^1.5 / sqrt(nu))^(1/3): one hour after the
  // release 14569.96 m2, half an hour after it 10302.52 m2.  K = 0.033
  // tau^0.16 + 1.21^2/16 X^(1/3) tau^(-1/2), tau the time since the release:
  // 0.1223270 + 0.0805168 = 0.2028438 m2/s at 3600 s, coef_r = sqrt(2K/dt) =
  // 0.0260028; at 1800 s 0.0330 1800^0.16 + 0.0805168 sqrt(2) = 0.2233537,
  // coef_r = 0.0272858 (a spill released at 1800 s spreads at the rate of
  // one half an hour old, not one an hour old).
  struct row {
    double start_s, area, coef_r;
  } rows[] = {{0.0, 14569.96, 0.02600281}, {1800.0, 10302.52, 0.02728575}};
  for (const auto& r : rows) {
    fay_spill(r.start_s);
    const auto o = spread(6);  // 6 steps of 600 s: t = 3600 s
    EXPECT_NEAR(o.area, r.area, 2e-6 * r.area) << r.start_s;
    EXPECT_NEAR(o.coef_r, r.coef_r, 1e-6 * 0.026) << r.start_s;
    EXPECT_EQ(o.coef_q, 0.0);
  }
}

TEST(SpreadingFay, NeverBelowTheInitialOrPreviousArea) {
  // At 10 minutes the Fay area is 1.4570e4 / 6^(1/2) = 5948 m2: the
  // reference area wins when it is larger, whatever the area passed in.
  fay_spill(0.0);
  var_spill.area_oil(1) = 20000.0f;
  EXPECT_EQ(spread(1, 30000.0).area, 20000.0);
  var_spill.area_oil(1) = 100.0f;
  EXPECT_NEAR(spread(1, 30000.0).area, 14569.96 / std::pow(6.0, 0.5), 1e-5 * 5948.0);
}

TEST(SpreadingFay, SlickDenserThanTheWaterDoesNotSpreadAndStaysFinite) {
  fay_spill(0.0);
  var_spill.deltarho(1) = -0.02f;  // a heavy emulsion
  const auto o = spread(6);
  EXPECT_EQ(o.area, 100.0);
  // Only the first term of K: 0.033 * 3600^0.16 = 0.0615549.
  EXPECT_NEAR(o.coef_r, std::sqrt(2.0 * 0.033 * std::pow(3600.0, 0.16) / 600.0), 1e-6 * 0.0143);
  EXPECT_TRUE(std::isfinite(o.coef_r));
}

// Lehr set-up: 10 m3 (62.9 bbl), r = drho rho_w / rho = 0.1765, one-hour
// steps.
void lehr_spill(int32_t algorithm, double wind) {
  one_oil_spill(4, 3600.0f);
  var_cfg.spreadalgorithm__adios2_leher_hns = algorithm;
  var_cfg.vol0(1) = 10.0;
  var_spill.deltarho(1) = 0.1765f;
  var_spill.waterdensity(1) = 1000.0f;
  var_spill.density(1) = 1000.0f;
  var_spill.area_oil(1) = 1000.0f;
  var_currwindwave.uwind(1) = wind;
}

TEST(SpreadingLehr, CalmFirstStepAreaAndCoefficients) {
  // No wind: A = 1000 * 2.27 r^(2/3) Vb^(2/3) tm^(1/2) = 87504.77 m2 at 60
  // min, and Q = R = 1.7 Vb^(1/3) r^(1/3) tm^(1/4) = 10.554845, so with
  // S0 = 1000 / 3.14159: coef_q = 10 R / S0, coef_r = 100 R / S0 = 10 coef_q.
  // Algorithm 3 is not an oil algorithm and runs Lehr too.
  for (int32_t algorithm : {2, 3}) {
    lehr_spill(algorithm, 0.0);
    const auto o = spread(1);
    EXPECT_NEAR(o.area, 87504.77, 2e-6 * 87504.77) << algorithm;
    const double s0 = 1000.0 / 3.14159;
    EXPECT_NEAR(o.coef_q, 10.0 * 10.554845 / s0, 1e-6 * 0.33) << algorithm;
    EXPECT_NEAR(o.coef_r, 10.0 * o.coef_q, 1e-14 * o.coef_r) << algorithm;
  }
}

TEST(SpreadingLehr, WindLengthensTheSlick) {
  // 5 m/s = 9.713075 kn: A = 87504.77 + 1000 * 0.04 r^(1/3) Vb^(1/3) U^(4/3)
  // tm = 87504.77 + 1000 * 0.04 * 0.56096 * 3.97477 * 20.7044 * 60.
  lehr_spill(2, 5.0);
  const double u = 1.942615 * 5.0;
  const double extra = 1000.0 * 0.04 * std::cbrt(0.1765) * std::cbrt(62.9) * std::pow(u, 4.0 / 3.0) * 60.0;
  EXPECT_NEAR(spread(1).area, 87504.77 + extra, 2e-6 * (87504.77 + extra));
}

TEST(SpreadingLehr, LaterStepsScaleTheLastGrowthByTheAxesIncrements) {
  // Step 7 of one hour with the references of earlier steps written: the
  // ratios of the last two increments of R ~ tm^(1/4) and of
  // Q = 0.03 U^(4/3) tm^(3/4) + R at 420, 360 and 300 min.
  lehr_spill(2, 5.0);
  var_part.x_oldpt.allocate(4, 1);
  var_part.x_oldpt.fill(351.0);
  const auto o = spread(7);
  auto ratio = [](auto f) { return (f(420.0) - f(360.0)) / (f(360.0) - f(300.0)); };
  const double r_factor = 1.7 * std::cbrt(62.9) * std::cbrt(0.1765);
  const double q_factor = 0.03 * std::pow(1.942615 * 5.0, 4.0 / 3.0);
  auto big_r = [&](double tm) { return r_factor * std::pow(tm, 0.25); };
  auto big_q = [&](double tm) { return q_factor * std::pow(tm, 0.75) + big_r(tm); };
  EXPECT_NEAR(o.coef_q, 0.8817850, 1e-6);  // (7^.25 - 6^.25) / (6^.25 - 5^.25)
  EXPECT_NEAR(o.coef_q, ratio(big_r), 1e-6);
  EXPECT_NEAR(o.coef_r, ratio(big_q), 1e-6);
  EXPECT_LT(o.coef_r, 1.0);
  EXPECT_GT(o.coef_r, o.coef_q);
}

TEST(SpreadingLehr, FirstSpreadingStepOfALateSpillAndHeavyOilStayFinite) {
  struct row {
    std::string what;
    float deltarho;
    bool references;
  } rows[] = {{"spill first spreading at step 7, references unset", 0.1765f, false},
              {"step 7 with references unset but allocated", 0.1765f, true},
              {"slick denser than the water", -0.05f, false}};
  for (const auto& r : rows) {
    lehr_spill(2, 5.0);
    var_spill.deltarho(1) = r.deltarho;
    if (r.references) var_part.x_oldpt.allocate(4, 1);  // zeros: never written
    const auto o = spread(7);
    EXPECT_TRUE(std::isfinite(o.area) && std::isfinite(o.coef_r) && std::isfinite(o.coef_q)) << r.what;
    EXPECT_GE(o.area, 1000.0) << r.what;
    if (r.deltarho > 0.0f) {
      // The step-1 formula at tm = 420 min: coef_q = 10 R / S0.
      const double big_r = 1.7 * std::cbrt(62.9) * std::cbrt(0.1765) * std::pow(420.0, 0.25);
      EXPECT_NEAR(o.coef_q, 10.0 * big_r / (1000.0 / 3.14159), 1e-5) << r.what;
    } else {
      EXPECT_EQ(o.area, 1000.0) << r.what;
      EXPECT_EQ(o.coef_q, 0.0) << r.what;
    }
  }
}

}  // namespace
}  // namespace orvel
