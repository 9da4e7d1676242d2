#include "geometry/platform.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

std::vector<double> draws(int n) {
  std::vector<double> v(n);
  for (auto& x : v) x = random_number();
  return v;
}

TEST(GeometryPlatform, RandomNumberRepeatsForOneSeed) {
  EXPECT_EQ(random_number_seed_size(), 8);
  const int32_t seed_a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const int32_t seed_b[8] = {1, 2, 3, 4, 5, 6, 7, 9};
  random_number_put_seed(seed_a);
  const auto a = draws(1000);
  random_number_put_seed(seed_a);
  EXPECT_EQ(draws(1000), a);
  random_number_put_seed(seed_b);
  EXPECT_NE(draws(1000), a);  // the last element of the seed counts
  // Re-initialisation gives one fixed state, that of a seed of zeros.
  random_number_init();
  const auto z = draws(10);
  const int32_t zeros[8] = {};
  random_number_put_seed(zeros);
  EXPECT_EQ(draws(10), z);
}

TEST(GeometryPlatform, RandomNumberIsUniformOnDoubles) {
  const int32_t seed[8] = {-1, 0, 7, 0, 0, 0, 0, 2147483647};
  random_number_put_seed(seed);
  double sum = 0.0, sumsq = 0.0;
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    const double x = random_number();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    // 53 random bits: x * 2^53 is a whole number.
    ASSERT_EQ(std::ldexp(x, 53), std::floor(std::ldexp(x, 53)));
    sum += x;
    sumsq += x * x;
  }
  // Mean 1/2 and variance 1/12, within about five standard errors.
  EXPECT_NEAR(sum / n, 0.5, 5.0 * std::sqrt(1.0 / 12.0 / n));
  EXPECT_NEAR(sumsq / n - (sum / n) * (sum / n), 1.0 / 12.0, 0.002);
}

TEST(GeometryPlatform, CalendarAndTicksCanBePinned) {
  calendar_reading c;
  c.year = 2024;
  c.month = 2;
  c.day = 29;
  c.hour = 13;
  c.millisecond = 999;
  {
    testing::scoped_calendar pin(c);
    testing::scoped_ticks ticks(-5);
    EXPECT_EQ(local_calendar().day, 29);
    EXPECT_EQ(local_calendar().millisecond, 999);
    EXPECT_EQ(tick_count(), -5);
  }
  const calendar_reading now = local_calendar();
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
  EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
  EXPECT_TRUE(now.second >= 0 && now.second <= 60);
  EXPECT_TRUE(now.millisecond >= 0 && now.millisecond <= 999);
  EXPECT_NE(tick_count(), -5);
}

}  // namespace
}  // namespace orvel::geometry
