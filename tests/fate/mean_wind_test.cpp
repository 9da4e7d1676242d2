// The spill's mean wind over all particles and the entrainment's wind over
// the surface particles, against the literal loop in particle order (each
// speed in double precision, the running sum in single), for every thread
// count: one wind for every particle (the closed-form sum of equal speeds,
// with speeds whose additions tie), one particle different at either end
// (the loop), a NaN, and surface particles among others.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/parallel.hpp"
#include "fate/oil_weathering.hpp"
#include "fate/wave_entrainment.hpp"
#include "tests/fate/oil_spill_state.hpp"

namespace orvel {
namespace {

using testing::one_oil_spill;

struct wind_threads : ::testing::TestWithParam<int> {
  void SetUp() override { set_thread_count(GetParam()); }
  void TearDown() override { set_thread_count(0); }
};

// Enough particles for several threads, the last block short.
constexpr int32_t np = static_cast<int32_t>(3 * items_per_thread + 5);

// The sum of the speeds of the particles for which `take(j)` holds
// (0-based), as the particle loop forms it.
template <typename Take>
float literal_sum(Take take) {
  const auto& w = var_currwindwave;
  float sum = 0.0f;
  for (int32_t j = 1; j <= np; ++j) {
    if (!take(j - 1)) continue;
    sum = static_cast<float>(static_cast<double>(sum) + std::sqrt(w.wintx(j) * w.wintx(j) + w.winty(j) * w.winty(j)));
  }
  return sum;
}

void expect_bits(float got, float want, const char* what) {
  EXPECT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(want))
      << what << ": " << std::hexfloat << got << " against " << want;
}

struct wind_case {
  const char* what;
  double wx, wy;
  int32_t odd_one;  // particle (1-based) with another wind, 0 none
  double odd_wx, odd_wy;
};

TEST_P(wind_threads, MeanWindOfAllParticles) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const wind_case cases[] = {
      {"3-4-5", 3.0, 4.0, 0, 0.0, 0.0},
      {"half a last place of the sum", 0x1.0000008p0, 0.0, 0, 0.0, 0.0},
      {"a tie made by the double rounding", 0x1.00000080000002p-3, 0.0, 0, 0.0, 0.0},
      {"an irrational speed", 7.3, -2.9, 0, 0.0, 0.0},
      // sqrt(wx^2 + wy^2) in double precision lands on the tie between two
      // floats, 5.25 and the next, which hypot's speed, one unit in the
      // last place above, does not.
      {"a speed that hypot rounds otherwise", 0x1.6ea57654bc974p-1, 0x1.4cdc123bf063cp+2, 0, 0.0, 0.0},
      {"calm", 0.0, -0.0, 0, 0.0, 0.0},
      {"the first particle differs", 7.3, -2.9, 1, 7.4, -2.9},
      {"the last particle differs", 7.3, -2.9, np, 7.4, -2.9},
      {"only the northward wind of one differs", 7.3, -2.9, np / 3, 7.3, 4.0},
      {"a NaN", 7.3, -2.9, np / 2, nan, -2.9},
  };
  for (const auto& c : cases) {
    one_oil_spill(np);
    testing::uniform_wind(c.wx, c.wy);
    if (c.odd_one != 0) {
      var_currwindwave.wintx(c.odd_one) = c.odd_wx;
      var_currwindwave.winty(c.odd_one) = c.odd_wy;
    }
    const float want = literal_sum([](int32_t) { return true; }) / static_cast<float>(np);
    expect_bits(mean_wind_all(var_currwindwave.wintx.data(), var_currwindwave.winty.data(), np), want, c.what);
  }
}

TEST_P(wind_threads, EntrainmentWindOfTheSurfaceParticles) {
  for (const double wx : {3.0, 0x1.0000008p0, 7.3}) {
    for (const bool odd : {false, true}) {
      one_oil_spill(np);
      var4.visc(1) = 100.0;
      var_spill.waterdensity(1) = 1025.0f;
      testing::uniform_wind(wx, 1.5);
      if (odd) var_currwindwave.wintx(np) = wx + 1.0;
      // Every third particle beached, every fifth in the column.
      for (int32_t j = 1; j <= np; ++j) var_part.indp(j, 1) = j % 3 == 0 ? 0 : j % 5 == 0 ? 5 : 1;
      entrainment_rates(1, largest_droplet::twice_median);
      const float want = literal_sum([](int32_t j) { return var_part.indp(j + 1, 1) == 1; }) / static_cast<float>(np);
      expect_bits(static_cast<float>(var_currwindwave.wind10(1)), want, odd ? "one particle differs" : "one wind");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, wind_threads, ::testing::Values(1, 3, 8));

TEST(ParallelAllAndCount, SameForAnyThreadCount) {
  const int64_t n = 5 * items_per_thread + 3;
  for (const int threads : {1, 2, 8}) {
    set_thread_count(threads);
    EXPECT_TRUE(parallel_all(n, [](int64_t j) { return j >= 0; }));
    for (const int64_t bad : {int64_t{0}, parallel_block, n - 1}) {
      EXPECT_FALSE(parallel_all(n, [bad](int64_t j) { return j != bad; })) << bad << ", " << threads << " threads";
    }
    EXPECT_EQ(parallel_count(n, [](int64_t j) { return j % 7 == 3; }), (n - 4) / 7 + 1);
    EXPECT_EQ(parallel_count(0, [](int64_t) { return true; }), 0);
  }
  set_thread_count(0);
}

}  // namespace
}  // namespace orvel
