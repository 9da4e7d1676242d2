// The closed-form repeated sum against the loop it replaces: every result
// bit, for values that tie at some binade, values of every magnitude, signs,
// zeros and non-finite values.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "common/repeated_sum.hpp"

namespace orvel {
namespace {

double loop_sum(double c, int64_t n) {
  double s = 0.0;
  for (int64_t i = 0; i < n; ++i) s += c;
  return s;
}

void expect_same(double c, int64_t n) {
  const double want = loop_sum(c, n);
  const double got = repeated_sum(c, n);
  EXPECT_EQ(std::bit_cast<uint64_t>(got), std::bit_cast<uint64_t>(want))
      << "c = " << std::hexfloat << c << ", n = " << std::dec << n << ": " << std::hexfloat << got << " against "
      << want;
}

TEST(RepeatedSum, ChosenValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {
      0.0, -0.0, 1.0, -1.0, 0.1, 1.0 / 3.0, 10.440306508910549,
      // Ties in the binades above the value's own: the last bit of c falls
      // half-way between two last places of the partial sum.
      1.0 + 0x1p-52, 1.0 + 0x1p-51 + 0x1p-52, 3.0 + 0x1p-51, 0x1.fffffffffffffp0, 0x1.0000000000003p0,
      // Values below the sum's last place late in the run; huge and tiny
      // values; the largest finite value overflows.
      0x1p-60, 1e300, 1.7e308, std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
      std::numeric_limits<double>::denorm_min(), 0x1p-890, 0x1.8p-900, inf, -inf,
      std::numeric_limits<double>::quiet_NaN()};
  const int64_t counts[] = {0, 1, 2, 3, 7, 100, 4097, 100000, 1000003};
  for (const double c : values) {
    for (const int64_t n : counts) expect_same(c, n);
  }
}

TEST(RepeatedSum, RandomValues) {
  std::mt19937_64 g(20240519);
  std::uniform_int_distribution<int> exponent(-40, 40);
  std::uniform_int_distribution<int64_t> count(1, 300000);
  for (int t = 0; t < 400; ++t) {
    // A random mantissa; a quarter of them with few bits, which tie often.
    uint64_t bits = g() & ((uint64_t{1} << 52) - 1);
    if (t % 4 == 0) bits &= ~((uint64_t{1} << 40) - 1);
    const double m = std::bit_cast<double>((uint64_t{1023} << 52) | bits);
    const double c = std::ldexp(m, exponent(g)) * (t % 3 == 0 ? -1.0 : 1.0);
    expect_same(c, count(g));
  }
}

}  // namespace
}  // namespace orvel
