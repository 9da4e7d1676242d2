// Natural dispersion by breaking waves, against values worked out by hand
// from the published formulas (Delvigne and Sweeney's entrainment rate over
// ten droplet classes).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fate/oil_weathering.hpp"
#include "tests/fate/oil_spill_state.hpp"

namespace orvel {
namespace {

using testing::one_oil_spill;
using testing::uniform_wind;

// Oil of `visc` cSt over the configured 1e4 m2 (spreading off), steps of
// 600 s, sea water 1025 kg/m3, waves of height `h` in the uniform series.
void dispersing_spill(double visc, double wind, double h) {
  one_oil_spill(4, 600.0f);
  var4.visc(1) = visc;
  var_cfg.area0(1) = 1.0e4;
  var_spill.waterdensity(1) = 1025.0f;
  uniform_wind(wind, 0.0);
  var_currwindwave.hwavec.allocate(2);
  var_currwindwave.hwavec(2) = h;
  var1.i_ola = 2;
}

void disperse() {
  farray<double, 1> area;
  area.allocate(1);
  area(1) = 5.0e3;
  verticaldispersion(1, area);
}

TEST(NaturalDispersion, MassOfOneStepByHand) {
  // 100 cSt, 10 m/s, waves of 2 m: C* = exp(-0.1023 ln 100 + 7.572) =
  // 1213.05; Hb = 2/sqrt(2); D = 0.033354 * 1025 * Hb^2 = 68.3757; T = 8.13 *
  // 10 / 9.81 = 8.28746 s; F = 0.032 (10 - 6) / T = 0.0154450; d50 = 25.7104
  // * 100^0.34 = 123.0577 um, classes of 23.380967 um from 12.305772 um: centres 24.0
  // and 47.4 um entrain, 70.7 um and above do not.  Sum of C* D^0.57 F 0.75
  // d^0.7 dd over the two classes: 5.56170e-6 kg/m2/s; times 1e4 m2 and
  // 600 s: 33.3702 kg.
  dispersing_spill(100.0, 10.0, 2.0);
  disperse();
  const auto& vd = varverticaldispersion;
  EXPECT_NEAR(var4.massdisp(1), 33.3702, 2e-5 * 33.37);
  EXPECT_NEAR(vd.qtot, 5.56170e-6, 2e-5 * 5.56e-6);
  EXPECT_NEAR(vd.cstar, 1213.0475, 1e-3);
  EXPECT_NEAR(vd.d50_disp, 123.0577, 1e-4);
  EXPECT_NEAR(var_currwindwave.hbreak, std::sqrt(2.0), 1e-7);
  EXPECT_NEAR(var_currwindwave.dbwe, 68.37571, 1e-4);
  EXPECT_NEAR(var_currwindwave.ts, 8.287462, 1e-5);
  EXPECT_NEAR(var_currwindwave.fracsurfacehit, 0.01544502, 1e-8);
  EXPECT_EQ(var_currwindwave.wind10(1), 10.0);
  for (int k = 0; k < 10; ++k) {
    EXPECT_NEAR(vd.dropdiam[static_cast<std::size_t>(k)], (12.305772 + (k + 0.5) * 23.380967) * 1e-6, 5e-11) << k;
    EXPECT_EQ(vd.qd[static_cast<std::size_t>(k)] > 0.0f, k < 2) << k;
  }
  // With spreading on, the engine's slick area (half the configured one)
  // takes the place of area0.
  var_cfg.spreading__y_n = 1;
  disperse();
  EXPECT_NEAR(var4.massdisp(1), 33.3702 / 2.0, 2e-5 * 16.7);
}

TEST(NaturalDispersion, ViscosityAndWindBranches) {
  struct row {
    std::string what;
    double visc, wind, h;
    double cstar, hbreak;
    bool entrains;
  } rows[] = {
      // C* on both sides of 132 cSt.
      {"just below 132 cSt", 131.99, 10.0, 2.0, 1179.0887, std::sqrt(2.0), true},
      {"at 132 cSt", 132.0, 10.0, 2.0, 1177.7025, std::sqrt(2.0), true},
      // No waves: Hb = 0.70710677 * 0.17253 U^1.23 / 9.81 = 0.0291707 at 2 m/s.
      {"no waves, 2 m/s", 10.0, 2.0, 0.0, 1535.2454, 0.0291707, true},
      // F = 0 at exactly 6 m/s: nothing is entrained.
      {"exactly 6 m/s", 10.0, 6.0, 2.0, 1535.2454, std::sqrt(2.0), false},
      // d50 of 360 um (2347 cSt): the first class centre 0.195 d50 is past
      // 70 um, every class is cut.
      {"d50 of 360 um", 2347.0, 10.0, 2.0, 5.073127, std::sqrt(2.0), false},
  };
  for (const auto& r : rows) {
    dispersing_spill(r.visc, r.wind, r.h);
    disperse();
    EXPECT_NEAR(varverticaldispersion.cstar, r.cstar, 1e-4 * r.cstar) << r.what;
    EXPECT_NEAR(var_currwindwave.hbreak, r.hbreak, 1e-7) << r.what;
    EXPECT_EQ(var4.massdisp(1) > 0.0, r.entrains) << r.what;
    EXPECT_TRUE(std::isfinite(var4.massdisp(1))) << r.what;
  }
  // d50 = 25.71 nu^0.34 um: 56.248 um at 10 cSt; 358 um (2320 cSt) keeps
  // its first class.
  dispersing_spill(10.0, 10.0, 2.0);
  disperse();
  EXPECT_NEAR(varverticaldispersion.d50_disp, 56.2482, 1e-4);
  dispersing_spill(2320.0, 10.0, 2.0);
  disperse();
  EXPECT_GT(varverticaldispersion.qd[0], 0.0f);
  EXPECT_EQ(varverticaldispersion.qd[1], 0.0f);
}

TEST(NaturalDispersion, SurfaceWindOverAllParticlesWithTheCalmFallback) {
  // Surface particles at 8 m/s, one beached at 40 m/s: U = 3 * 8 / 4 = 6
  // (the beached wind is left out, the divisor counts every particle).
  dispersing_spill(100.0, 8.0, 2.0);
  var_currwindwave.wintx(4) = 40.0;
  var_part.indp(4, 1) = 0;
  disperse();
  EXPECT_EQ(var_currwindwave.wind10(1), 6.0);
  // No surface particle, or no wind at them: 2 m/s, and without waves the
  // breaking height of 2 m/s.
  for (bool calm : {false, true}) {
    dispersing_spill(100.0, calm ? 0.0 : 8.0, 0.0);
    if (!calm) var_part.indp.fill(0);
    disperse();
    EXPECT_EQ(var_currwindwave.wind10(1), 2.0) << calm;
    EXPECT_NEAR(var_currwindwave.hbreak, 0.0291707, 1e-7) << calm;
  }
  // Below 6 m/s, F = 3e-6 U^3.5 / T: at 5 m/s without waves 0.0189295 kg
  // over the step.
  dispersing_spill(100.0, 5.0, 0.0);
  disperse();
  EXPECT_NEAR(var4.massdisp(1), 0.0189295, 2e-5 * 0.0189);
}

TEST(NaturalDispersion, WaveFieldsFromFilesUseTheWindBreakingHeight) {
  // Wave files leave the series at zeros; with no series at all the height
  // is 0 too (no read past its end).
  dispersing_spill(100.0, 2.0, 0.0);
  var_currwindwave.hwavec.deallocate();
  var_currwindwave.hwavec.allocate(0);
  disperse();
  EXPECT_NEAR(var_currwindwave.hbreak, 0.0291707, 1e-7);
}

TEST(NaturalDispersion, FromTheSpillsStartAndOverItsShareOfTheRectangle) {
  // The dispersed mass is rate x time x area: a spill out for 420 s of a
  // 600 s step disperses 0.7 of a whole step's mass, a pulse over a quarter
  // of the rectangle a quarter of it.
  struct row {
    const char* what;
    float dt;
    double share;
    double ratio;
  } rows[] = {{"started within the step", 420.0f, 1.0, 0.7},
              {"a quarter of the rectangle", 600.0f, 0.25, 0.25},
              {"both", 420.0f, 0.25, 0.175}};
  dispersing_spill(100.0, 10.0, 2.0);
  farray<double, 1> area;
  area.allocate(1);
  verticaldispersion(1, area);
  const double whole = var4.massdisp(1);
  ASSERT_GT(whole, 0.0);
  for (const auto& r : rows) {
    dispersing_spill(100.0, 10.0, 2.0);
    var4.weathering_dt.allocate(1);
    var4.weathering_dt(1) = r.dt;
    var_spill.area_share.allocate(1);
    var_spill.area_share(1) = r.share;
    verticaldispersion(1, area);
    EXPECT_NEAR(var4.massdisp(1) / whole, r.ratio, 1e-6) << r.what;
  }
}

}  // namespace
}  // namespace orvel
