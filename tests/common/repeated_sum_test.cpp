// The closed-form repeated sum against the loop it replaces: every result
// bit, for values that tie at some binade, values of every magnitude, signs,
// zeros and non-finite values.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <type_traits>

#include "common/repeated_sum.hpp"

namespace orvel {
namespace {

double loop_sum(double c, int64_t n) {
  double s = 0.0;
  for (int64_t i = 0; i < n; ++i) s += c;
  return s;
}

// The closed form's sum of n times c against the loop's, bit for bit
// (double or single precision).
template <typename T>
void expect_bits(T got, T want, double c, int64_t n) {
  using bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  EXPECT_EQ(std::bit_cast<bits>(got), std::bit_cast<bits>(want))
      << "c = " << std::hexfloat << c << ", n = " << std::dec << n << ": " << std::hexfloat << got << " against "
      << want;
}

void expect_same(double c, int64_t n) { expect_bits(repeated_sum(c, n), loop_sum(c, n), c, n); }

// 1.xxx with the given 52 mantissa bits.
double mantissa(uint64_t bits) { return std::bit_cast<double>((uint64_t{1023} << 52) | bits); }

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
    const double c = std::ldexp(mantissa(bits), exponent(g)) * (t % 3 == 0 ? -1.0 : 1.0);
    expect_same(c, count(g));
  }
}

// Values whose runs of equal additions end exactly where the partial sum
// reaches the end of its binade, each addition rounding up (the value lies
// between two last places of the sum, nearer the upper one): one addition
// too many in a run crosses into the next binade, where the last place is
// twice as long.  The sums run through four binades.
TEST(RepeatedSum, RunsEndAtTheBinadeEnd) {
  const struct {
    double c;
    int64_t n;
  } cases[] = {{0x1.227143eade88p-9, 1806}, {0x1.73398c81878p-13, 22598}, {0x1.20ad8910faf8p-8, 909},
               {0x1.63d3a0eaf664p-8, 737},  {0x1.42efda92a29cp-8, 812},    {0x1.bf4af0f326a4p-8, 587}};
  for (const auto& c : cases) {
    expect_same(c.c, c.n);
    expect_same(-c.c, c.n);
  }
}

float loop_sum_single(double c, int64_t n) {
  float s = 0.0f;
  for (int64_t i = 0; i < n; ++i) s = static_cast<float>(static_cast<double>(s) + c);
  return s;
}

void expect_same_single(double c, int64_t n) { expect_bits(repeated_sum_single(c, n), loop_sum_single(c, n), c, n); }

TEST(RepeatedSumSingle, ChosenValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {
      0.0, -0.0, 1.0, -1.0, 0.1, 1.0 / 3.0, 7.0710678118654755, 10.440306508910549,
      // Ties in single precision: c half a last place of the sum in some
      // binade, with and without bits below the double's last place there.
      1.5, 0x1.000001p0, 0x1.0000008p0, 0x1.0000018p0, 0x1.00000080000001p0, 0x1.0000007ffffffp0,
      // Ties made by the double rounding: bits of c 29 and 30 places below
      // the sum's last place.
      0x1.00000080000002p-3, 0x1.0000007fffffffp-3, 0x1p-30, 0x1.8p-40,
      // Tiny and huge values; a sum that overflows.
      0x1p-60, 0x1p-110, 1e30, 3e38, 1e300, std::numeric_limits<double>::min(),
      std::numeric_limits<double>::denorm_min(), inf, -inf, std::numeric_limits<double>::quiet_NaN()};
  const int64_t counts[] = {0, 1, 2, 3, 7, 100, 4097, 100000, 1000003};
  for (const double c : values) {
    for (const int64_t n : counts) expect_same_single(c, n);
  }
}

TEST(RepeatedSumSingle, RandomValues) {
  std::mt19937_64 g(20261211);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_int_distribution<int64_t> count(1, 300000);
  for (int t = 0; t < 600; ++t) {
    // A random mantissa; a third of them with few bits, which tie often in
    // single precision, some with a bit far below.
    uint64_t bits = g() & ((uint64_t{1} << 52) - 1);
    if (t % 3 == 0) bits &= ~((uint64_t{1} << 40) - 1);
    if (t % 6 == 0) bits |= 1;
    const double c = std::ldexp(mantissa(bits), exponent(g)) * (t % 5 == 0 ? -1.0 : 1.0);
    expect_same_single(c, count(g));
  }
}

// Values of q + 1/2 last places of the sum in one binade (q odd), give or
// take a bit 30 or 31 places further down: the double sum s + c then rounds
// to the tie (or next to it), and the single rounding of a tie goes to the
// even neighbour, up from an even sum with q odd.  Truncating c to the double's places below the sum
// misses the tie and rounds down every time; one addition too many in a run
// crosses the binade end.  The sums reach 4.
TEST(RepeatedSumSingle, DoubleRoundingTiesAtBinadeEnds) {
  for (const int q : {101, 1001, 4095}) {
    for (const int d : {30, 31}) {
      for (const double side : {-1.0, 1.0}) {
        const double c = std::ldexp(q + 0.5 + side * std::ldexp(1.0, -d), -23);
        expect_same_single(c, static_cast<int64_t>(std::ldexp(1.0, 25) / (q + 0.5)));
      }
    }
  }
}

}  // namespace
}  // namespace orvel
