// Evaporated fraction of a step and water uptake of the slick, against
// values worked out by hand from the published formulas.
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

// 10 m3 of oil with T0 = TG = 500 K in water of 288 K, no evaporation yet:
// E = exp(6.3 - 10.3 * 500 / 288) = 9.33309e-6.
constexpr double e_fresh = 9.33309e-6;
// K = 0.0015 U^0.78 at 10 m/s.
constexpr double k_10 = 0.0090384;

// The fraction that dF/dh = E(F) = E0 exp(-b (F - F0)), b = 10.3 TG / Tw,
// takes over an exposure h from F0 (E0 = E(F0), x = E0 h): ln(1 + b x) / b,
// here with TG = 500 K and Tw = 288 K.  Below E0 h for any b > 0, and close
// to it while b x is small.
double integrated(double x, double tg = 500.0) {
  const double b = 10.3 * tg / 288.0;
  return std::log(1.0 + b * x) / b;
}

void evaporating_spill() {
  one_oil_spill(5, 600.0f);
  var_cfg.vol0(1) = 10.0;
  var_cfg.area0(1) = 1.0e4;
  var_spill.area_maxima(1) = 5.0e3f;
  var_spill.t0(1) = 500.0f;
  var_spill.tg(1) = 500.0f;
  var_spill.watertemperature(1) = 288.0f;
  var_spill.maxevaporation(1) = 40.0f;
  uniform_wind(6.0, 8.0);  // 10 m/s
}

farray<double, 1> areas(double a) {
  farray<double, 1> r;
  r.allocate(1);
  r(1) = a;
  return r;
}

TEST(Evaporation, FractionOfTheStepFromEachAreaChoice) {
  // E h = E * dt * A * K / V0: 0.0506137 for 1e4 m2, halved for 5e3;
  // integrated over the step, 0.0360430 and 0.0208764.
  struct row {
    std::string what;
    bool spread_variant;
    int32_t spreading_on;
    double slick_area;
    double area_used;
  } rows[] = {
      {"plain, spreading off: the configured area0", false, 0, 2.0e4, 1.0e4},
      {"plain, spreading on: the slick area", false, 1, 5.0e3, 5.0e3},
      {"plain, spreading on, no slick area yet", false, 1, 0.0, 0.0},
      {"spreading variant below the maximum area", true, 0, 2.5e3, 2.5e3},
      {"spreading variant above the maximum area", true, 0, 2.0e4, 5.0e3},
  };
  for (const auto& r : rows) {
    evaporating_spill();
    var_cfg.spreading__y_n = r.spreading_on;
    auto a = areas(r.slick_area);
    if (r.spread_variant) {
      evaporacion_spread(1, a);
    } else {
      evaporacion(1, a);
    }
    const double expected = integrated(e_fresh * 600.0 * r.area_used * k_10 / 10.0);
    EXPECT_NEAR(var4.diff_evp(1), expected, 1e-5 * expected + 1e-12) << r.what;
    EXPECT_NEAR(var_currwindwave.wind10(1), 10.0, 1e-6) << r.what;
  }
}

TEST(Evaporation, EvaporatedOilRaisesTheBoilingPointAndSlowsTheRate) {
  // At 20 % evaporated the boiling point is 600 K: E = exp(6.3 - 10.3 * 600 / 288).
  evaporating_spill();
  var4.per_evp(1) = 0.2;
  auto a = areas(0.0);
  evaporacion(1, a);
  const double expected = integrated(std::exp(6.3 - 10.3 * 600.0 / 288.0) * 600.0 * 1.0e4 * k_10 / 10.0);
  EXPECT_NEAR(var4.diff_evp(1), expected, 1e-5 * expected);
}

TEST(Evaporation, MeanWindOfAllParticlesCalmAndCapAndNoVolume) {
  auto a = areas(0.0);
  // Winds 0, 5, 10, 15, 20 m/s, the last two particles beached or on the
  // floor: they count in the mean of 10 m/s.
  evaporating_spill();
  for (int32_t j = 1; j <= 5; ++j) var_currwindwave.wintx(j) = 5.0 * (j - 1);
  var_currwindwave.winty.fill(0.0);
  var_part.indp(4, 1) = 0;
  var_part.indp(5, 1) = -1;
  evaporacion(1, a);
  EXPECT_EQ(var_currwindwave.wind10(1), 10.0);
  EXPECT_NEAR(var4.diff_evp(1), integrated(e_fresh * 600.0 * 1.0e4 * k_10 / 10.0), 1e-7);
  // No wind: no evaporation (no fallback wind here).
  evaporating_spill();
  uniform_wind(0.0, 0.0);
  evaporacion(1, a);
  EXPECT_EQ(var4.diff_evp(1), 0.0);
  // A volatile oil over a long step stops at the maximum fraction.
  evaporating_spill();
  var_spill.t0(1) = 100.0f;
  evaporacion(1, a);
  EXPECT_EQ(var4.diff_evp(1), static_cast<double>(0.4f));
  // A spill of no volume gives 0, not 0/0.
  evaporating_spill();
  var_cfg.vol0(1) = 0.0;
  evaporacion(1, a);
  EXPECT_EQ(var4.diff_evp(1), 0.0);
}

TEST(Evaporation, BoilingCurveWithoutSlopeOrFallingWithTheFraction) {
  // TG = 0: the rate does not change within the step, the fraction is E h.
  // TG < 0 (an API gravity beyond the curve's range): the rate grows with
  // the fraction, ln(1 + b E h) / b with b < 0 while b E h > -1, and the
  // law runs away within the step (the maximum fraction) beyond.
  struct row {
    float tg;
    double expected;
  };
  const double x = e_fresh * 600.0 * 1.0e4 * k_10 / 10.0;  // E h with T0 = 500 K
  for (const row& r : {row{0.0f, x}, row{-10.0f, integrated(x, -10.0)}, row{-1000.0f, 0.4}}) {
    evaporating_spill();
    var_spill.tg(1) = r.tg;
    auto a = areas(0.0);
    evaporacion(1, a);
    EXPECT_NEAR(var4.diff_evp(1), r.expected, 1e-5 * r.expected) << r.tg;
  }
  EXPECT_GT(integrated(x, -10.0), x);
}

void emulsifying_spill(float max_percent, double wind) {
  one_oil_spill(3, 600.0f);
  var_spill.maxemulsification(1) = max_percent;
  var4.mass_surf(1) = 1000.0;
  var_cfg.evaporo(1) = 1;
  var_currwindwave.wind10(1) = wind;
  uniform_wind(30.0, 0.0);  // not used while evaporation is on
}

TEST(Emulsion, TheLawTowardsTheMaximumWhateverTheStep) {
  // dY/dt = k (1 - Y/Ymax), k = 1.085e-6 (1 + U)^2 = 3.906e-5 /s at 5 m/s:
  // Y(t) = Ymax (1 - exp(-k t / Ymax)) = 0.490274 after 6 h, reached by
  // 36 steps of 600 s, 6 of 3600 s or one of 21600 s alike (the
  // step-by-step recurrence gave 0.494558 with 600 s steps and the
  // maximum itself with one step of 6 h).
  const double six_hours = 0.7 * (1.0 - std::exp(-3.906e-5 * 21600.0 / 0.7));
  EXPECT_NEAR(six_hours, 0.490274, 1e-6);
  for (int steps : {36, 6, 1}) {
    emulsifying_spill(70.0f, 5.0);
    var_run.deltat = static_cast<float>(21600 / steps);
    for (int n = 0; n < steps; ++n) emulsion(1);
    EXPECT_NEAR(var4.agua(1), six_hours, 1e-6) << steps;
    EXPECT_EQ(var4.agua(1), static_cast<double>(var4.aguatot(1)));
  }
  // Calm wind: Ymax (1 - exp(-1.085e-6 * 600 / Ymax)) from a fresh slick.
  emulsifying_spill(70.0f, 0.0);
  emulsion(1);
  EXPECT_NEAR(var4.agua(1), 6.506974e-4, 1e-9);
}

TEST(Emulsion, OvershootHoldAndNoChangeCases) {
  struct row {
    std::string what;
    float max_percent;
    float y0;
    double surface;
    float expected;
  } rows[] = {
      // The fraction closes its gap to the maximum and stops there (the
      // step-by-step recurrence carried it to 0.625, then to 1.25).
      {"a long step reaches the maximum, not past it", 37.5f, 0.25f, 1000.0, 0.375f},
      {"from halfway to a maximum of 75 %", 75.0f, 0.5f, 1000.0, 0.75f},
      {"already at the maximum", 37.5f, 0.375f, 1000.0, 0.375f},
      {"already past the maximum", 37.5f, 0.625f, 1000.0, 0.625f},
      {"no floating mass", 37.5f, 0.125f, 0.0, 0.125f},
  };
  for (const auto& r : rows) {
    emulsifying_spill(r.max_percent, 20.0);
    var_run.deltat = 86400.0f;  // a day in a strong wind: the cap applies
    var4.aguatot(1) = r.y0;
    var4.agua(1) = r.y0;
    var4.mass_surf(1) = r.surface;
    emulsion(1);
    EXPECT_EQ(var4.aguatot(1), r.expected) << r.what;
    EXPECT_EQ(var4.agua(1), static_cast<double>(r.expected)) << r.what;
  }
  // Once at the maximum the next step adds nothing.
  emulsifying_spill(37.5f, 20.0);
  var_run.deltat = 86400.0f;
  var4.aguatot(1) = 0.25f;
  emulsion(1);
  emulsion(1);
  EXPECT_EQ(var4.aguatot(1), 0.375f);
}

TEST(Emulsion, WindFromAllParticlesWhenEvaporationIsOff) {
  // Evaporation off: the mean wind of all particles (30 m/s) replaces the
  // stored 5 m/s; k dt = 600 * 1.085e-6 * 31^2 = 0.625611, so Y = 0.7 (1 -
  // exp(-0.625611 / 0.7)) = 0.413611.
  emulsifying_spill(70.0f, 5.0);
  var_cfg.evaporo(1) = 0;
  var_part.indp(2, 1) = 0;
  emulsion(1);
  EXPECT_EQ(var_currwindwave.wind10(1), 30.0);
  EXPECT_NEAR(var4.agua(1), 0.7 * (1.0 - std::exp(-600.0 * 1.085e-6 * 31.0 * 31.0 / 0.7)), 1e-6);
}

TEST(Weathering, ASpillStartedWithinTheStepWeathersFromItsStartAndOverItsShare) {
  // Steps of 600 s; a spill that started 420 s before the end of the step
  // weathers for 420 s, and a pulse holding a quarter of the floating oil
  // of its release weathers over a quarter of the rectangle (1e4 m2).
  // Hand values: evaporation ln(1 + b E h) / b with E h = E dt A K / V0;
  // water Ymax (1 - exp(-k dt / Ymax)), k = 1.085e-6 (1 + 5)^2 per second.
  struct row {
    const char* what;
    float dt;       // weathering_dt, s
    double share;   // area_share
    double seconds, area;  // what the hand value takes
  } rows[] = {
      {"a whole step", 600.0f, 1.0, 600.0, 1.0e4},
      {"started 420 s before the step's end", 420.0f, 1.0, 420.0, 1.0e4},
      {"a quarter of the release afloat", 600.0f, 0.25, 600.0, 2.5e3},
      {"both", 420.0f, 0.25, 420.0, 2.5e3},
  };
  for (const auto& r : rows) {
    evaporating_spill();
    var_cfg.spreading__y_n = 0;
    var4.weathering_dt.allocate(1);
    var4.weathering_dt(1) = r.dt;
    var_spill.area_share.allocate(1);
    var_spill.area_share(1) = r.share;
    auto a = areas(0.0);
    evaporacion(1, a);
    const double evaporated = integrated(e_fresh * r.seconds * r.area * k_10 / 10.0);
    EXPECT_NEAR(var4.diff_evp(1), evaporated, 1e-5 * evaporated) << r.what;

    emulsifying_spill(70.0f, 5.0);
    var4.weathering_dt.allocate(1);
    var4.weathering_dt(1) = r.dt;
    emulsion(1);
    EXPECT_NEAR(var4.agua(1), 0.7 * (1.0 - std::exp(-r.seconds * 1.085e-6 * 36.0 / 0.7)), 1e-6) << r.what;
  }
}

}  // namespace
}  // namespace orvel
