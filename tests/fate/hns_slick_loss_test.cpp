// The loss of a chemical slick within one step, shared by evaporation and
// dissolution, against the closed forms of its two regimes: constant rates
// while the slick is thicker than its minimum, exponential decay once its
// area follows its volume.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "fate/hns_slick_loss.hpp"

namespace orvel {
namespace {

TEST(HnsSlickLoss, ConstantRatesThenExponentialDecaySplitByTheRates) {
  // m kg afloat, evaporation and dissolution that would take e and d kg
  // over the step at the rates of its start, the slick at its minimum
  // thickness below m_thin kg; sixty pieces (a 600 s step).
  struct row {
    std::string what;
    double m, e, d, m_thin;
    bool follows;
    double lost;
  } rows[] = {
      // Thin from the start: m (1 - exp(-(e + d) / m)).
      {"thin: one exponential", 1000.0, 300.0, 200.0, 2000.0, false, 1000.0 * (1.0 - std::exp(-0.5))},
      {"thin, faster than the slick", 100.0, 300.0, 200.0, 2000.0, false, 100.0 * (1.0 - std::exp(-5.0))},
      // Thick all the step: the rates hold.
      {"thick", 1000.0, 300.0, 200.0, 400.0, false, 500.0},
      {"no minimum", 1000.0, 300.0, 200.0, 0.0, false, 500.0},
      // Thin after 0.8 of the step (400 kg at 500 kg a step), then the rest
      // of the step decaying from 600 kg: 400 + 600 (1 - exp(-0.2 * 500 / 600)).
      {"thick, then thin", 1000.0, 300.0, 200.0, 600.0, false, 400.0 + 600.0 * (1.0 - std::exp(-1.0 / 6.0))},
      // Dissolution alone in proportion to what floats: m (1 - exp(-d / m)).
      {"dissolution following the mass", 1000.0, 0.0, 200.0, 0.0, true, 1000.0 * (1.0 - std::exp(-0.2))},
  };
  for (const auto& r : rows) {
    const slick_loss l = shared_slick_loss(r.m, r.e, r.d, r.m_thin, r.follows, 60);
    // Runge-Kutta over the sixty pieces: within 1e-8 of the closed form.
    EXPECT_NEAR(l.evaporated + l.dissolved, r.lost, 1e-8 * r.lost) << r.what;
    // Each process keeps its rate's share of the loss.
    EXPECT_NEAR(l.evaporated * r.d, l.dissolved * r.e, 1e-9 * r.lost * (r.e + r.d)) << r.what;
    EXPECT_LE(l.evaporated + l.dissolved, r.m) << r.what;
  }
  // One process alone in the thin regime: the same loss, all of it its own.
  const slick_loss alone = shared_slick_loss(1000.0, 500.0, 0.0, 2000.0, false, 60);
  EXPECT_NEAR(alone.evaporated, 1000.0 * (1.0 - std::exp(-0.5)), 1e-9 * 1000.0);
  EXPECT_EQ(alone.dissolved, 0.0);
}

TEST(HnsSlickLoss, MoreThanFloatsNothingAndNonsense) {
  // Constant rates beyond what floats: all of it goes, shared by the rates,
  // and exactly all of it to a single process (the slick is gone, mass 0).
  const slick_loss both = shared_slick_loss(100.0, 300.0, 100.0, 0.0, false, 60);
  EXPECT_DOUBLE_EQ(both.evaporated, 75.0);
  EXPECT_EQ(both.evaporated + both.dissolved, 100.0);
  EXPECT_EQ(shared_slick_loss(100.0, 300.0, 0.0, 0.0, false, 60).evaporated, 100.0);
  EXPECT_EQ(shared_slick_loss(100.0, 0.0, 300.0, 0.0, false, 60).dissolved, 100.0);
  // No mass, no rate, negative or non-number rates: nothing.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& l : {shared_slick_loss(0.0, 300.0, 100.0, 0.0, false, 60),
                        shared_slick_loss(-5.0, 300.0, 100.0, 50.0, false, 60),
                        shared_slick_loss(100.0, 0.0, 0.0, 50.0, true, 60),
                        shared_slick_loss(100.0, -3.0, nan, 50.0, true, 60)}) {
    EXPECT_EQ(l.evaporated, 0.0);
    EXPECT_EQ(l.dissolved, 0.0);
  }
  // A negative rate counts as none beside a real one.
  const slick_loss one = shared_slick_loss(1000.0, 300.0, -100.0, 0.0, false, 60);
  EXPECT_EQ(one.evaporated, 300.0);
  EXPECT_EQ(one.dissolved, 0.0);
}

TEST(HnsSlickLoss, TheSplitDoesNotHangOnTheStep) {
  // A thin slick of 1000 kg under rates that would take 300 and 200 kg an
  // hour: one step of an hour against six of ten minutes, each taking the
  // rates of its start (rates in proportion to the slick's mass).
  const slick_loss hour = shared_slick_loss(1000.0, 300.0, 200.0, 1.0e9, false, 360);
  double m = 1000.0, evaporated = 0.0, dissolved = 0.0;
  for (int i = 0; i < 6; ++i) {
    const slick_loss l = shared_slick_loss(m, 50.0 * m / 1000.0, 100.0 / 3.0 * m / 1000.0, 1.0e9, false, 60);
    evaporated += l.evaporated;
    dissolved += l.dissolved;
    m -= l.evaporated + l.dissolved;
  }
  EXPECT_NEAR(evaporated, hour.evaporated, 1e-9 * 1000.0);
  EXPECT_NEAR(dissolved, hour.dissolved, 1e-9 * 1000.0);
  EXPECT_NEAR(hour.evaporated, 0.6 * 1000.0 * (1.0 - std::exp(-0.5)), 1e-9 * 1000.0);
}

}  // namespace
}  // namespace orvel
