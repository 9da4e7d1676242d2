#include "transport/random.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace orvel {
namespace {

// Reference: the state sequence s(k+1) = 48271 s(k) mod (2^31 - 1) in 64-bit
// arithmetic, with a zero seed standing for 2^31 - 2 (= -1 mod m).
int64_t next(int64_t s) { return (48271 * s) % 2147483647; }

float value(int64_t s) {
  const float v = std::ldexp(static_cast<float>(s), -31);
  return v >= 0.9999998807907104f ? 0.9999998807907104f : v;
}

TEST(Random, SeededWithZero) {
  srand(0);
  EXPECT_EQ(rand(0), value(2147483647 - 48271));
  EXPECT_EQ(rand_state(), 2147483647 - 48271);
  // The second state: 2^31 - 1 - (48271^2 mod (2^31 - 1)).
  EXPECT_EQ(int64_t{rand_state()}, 2147483647 - 48271);
  rand(0);
  EXPECT_EQ(int64_t{rand_state()}, 2147483647 - (int64_t{48271} * 48271) % 2147483647);
  int64_t s = rand_state();
  for (int k = 0; k < 100000; ++k) {
    s = next(s);
    const float v = rand(0);
    ASSERT_EQ(rand_state(), s);
    ASSERT_EQ(v, value(s));
    ASSERT_GT(v, 0.0f);
    ASSERT_LT(v, 1.0f);
  }
}

TEST(Random, FirstValuesWorkedOutByHand) {
  // Seed 0 stands for 2^31 - 2 = -1 mod m, so the first state is m - 48271 =
  // 2147435376.  Between 2^30 and 2^31 single precision has a spacing of 128:
  // 2147435376 / 128 = 16776838.875 rounds to 16776839, and the value is
  // 16776839 * 128 / 2^31 = 16776839 / 2^24.  The second state is
  // m - (48271^2 mod m) = 2147483647 - (2330089441 - 2147483647) = 1964877853,
  // / 128 = 15350608.23 -> 15350608 / 2^24.
  srand(0);
  EXPECT_EQ(rand(0), 16776839.0f / 16777216.0f);
  EXPECT_EQ(rand(0), 15350608.0f / 16777216.0f);
  EXPECT_EQ(rand_state(), 1964877853);
  // Unseeded (state 1): 48271 / 2^31 exactly (48271 needs 16 bits), then
  // 48271^2 mod m = 182605794, which rounds (spacing 16 between 2^27 and
  // 2^28) to 182605792 = 11412862 * 16, the value 11412862 / 2^27.
  srand(1);
  EXPECT_EQ(rand(0), 48271.0f / 2147483648.0f);
  EXPECT_EQ(rand(0), 11412862.0f / 134217728.0f);
}

TEST(Random, UnseededStartsFromOne) {
  srand(1);  // the state a fresh process has
  EXPECT_EQ(rand(0), value(48271));
  EXPECT_EQ(rand(0), value(int64_t{48271} * 48271 % 2147483647));
}

TEST(Random, LargestValuesAreClamped) {
  // Seed with the predecessor of a state whose value rounds to 1.0f in single
  // precision: the draw gives 0.9999998807907104, never 1.
  const int64_t m = 2147483647;
  int64_t inv = 1;  // 48271^(m-2) mod m, the inverse of the multiplier
  for (int64_t b = 48271, e = m - 2; e > 0; e >>= 1, b = b * b % m)
    if (e & 1) inv = inv * b % m;
  for (int64_t target : {int64_t{2147483600}, int64_t{2147483646}, int64_t{2147483580}}) {
    srand(static_cast<int32_t>(target * inv % m));
    EXPECT_EQ(rand(0), 0.9999998807907104f) << target;
    EXPECT_EQ(rand_state(), target);
  }
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// The division-free step against Schrage's method: every state of a long
// run and random ones, the ends of the range, zero and negative seeds.
TEST(RandomGenerator, FastStepMatchesSchrage) {
  using random_detail::next;
  using random_detail::next_literal;
  std::mt19937 gen(3);
  for (int n = 0; n < 2000000; ++n) {
    const auto s = static_cast<int32_t>(gen() & 0x7fffffffu);
    ASSERT_EQ(next(s), next_literal(s)) << s;
  }
  for (const int32_t s : {0, 1, 2, -1, -2, 44488, 44487, 48271, 2147483646, 2147483647, -2147483647,
                          std::numeric_limits<int32_t>::min()}) {
    EXPECT_EQ(next(s), next_literal(s)) << s;
  }
  int32_t a = 12345, b = 12345;
  for (int n = 0; n < 1000000; ++n) {
    a = next(a);
    b = next_literal(b);
    ASSERT_EQ(a, b) << n;
  }
}

// Jumping ahead gives the state that the draws themselves reach.
TEST(RandomGenerator, JumpAheadMatchesDrawing) {
  for (const int32_t seed : {0, 1, 7, -5, 2147483646, 2147483647, std::numeric_limits<int32_t>::min()}) {
    srand(seed);
    for (int64_t n = 0; n <= 3000; ++n) {
      ASSERT_EQ(rand_state_after(seed, n), rand_state()) << seed << " after " << n;
      rand(0);
    }
  }
  srand(99);
  for (int64_t n = 0; n < 1234567; ++n) rand(0);
  EXPECT_EQ(rand_state_after(99, 1234567), rand_state());
}

}  // namespace
}  // namespace orvel
