#include "geometry/random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "geometry/platform.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::lines;
using testing::stdout_of;

constexpr int64_t m = 2147483647;
constexpr double scale = 4.656612875E-10;
constexpr double two_pi = 6.283185307179586;

// The next seed by 64-bit arithmetic: 16807 seed mod (2^31 - 1), in [0, m).
int64_t next(int64_t s) { return ((16807 * s) % m + m) % m; }

TEST(GeometryRandom, SeedStreamIsTheMinimalStandardGenerator) {
  int32_t seed = 1;
  const int32_t want[] = {16807, 282475249, 1622650073};
  for (int32_t w : want) {
    r8_uniform_01(seed);
    EXPECT_EQ(seed, w);
  }
  seed = 1;
  EXPECT_EQ(r8_uniform_01(seed), 7.826369259012501e-06);
  for (int32_t s0 : {-1, std::numeric_limits<int32_t>::min()}) {
    seed = s0;
    r8_uniform_01(seed);
    EXPECT_EQ(seed, 2147466840);
  }
  // Long streams from seeds of both signs and both ends of the range.
  for (int32_t s0 : {1, 12345, -987654321, 2147483646, -2147483646, 65536}) {
    seed = s0;
    int64_t ref = s0;
    for (int k = 0; k < 20000; ++k) {
      ref = next(ref);
      const double u = r8_uniform_01(seed);
      ASSERT_EQ(seed, ref) << s0 << " step " << k;
      ASSERT_EQ(u, static_cast<double>(ref) * scale);
      ASSERT_GT(u, 0.0);
      ASSERT_LT(u, 1.0);
    }
  }
  // 739806647 steps to 2147483646, the largest seed, whose uniform is below 1.
  seed = 739806647;
  EXPECT_EQ(r8_uniform_01(seed), 0.9999999994815543);
  EXPECT_EQ(seed, 2147483646);
}

TEST(GeometryRandom, SeedsThatStepToZero) {
  for (int32_t s0 : {2147483647, -2147483647}) {
    int32_t seed = s0;
    EXPECT_EQ(r8_uniform_01(seed), 0.0);
    EXPECT_EQ(seed, 0);
    expect_fatal([&] { r8_uniform_01(seed); }, {" ", "R8_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
  }
}

TEST(GeometryRandom, SeedZeroEndsEveryUniformRoutine) {
  double r[4];
  int32_t x[4];
  const struct {
    const char* title;
    std::function<void(int32_t&)> call;
  } rows[] = {
      {"R8_UNIFORM_01", [](int32_t& s) { r8_uniform_01(s); }},
      {"R4_UNIFORM_01", [](int32_t& s) { r4_uniform_01(s); }},
      {"R8_UNIFORM", [](int32_t& s) { r8_uniform(1.0, 2.0, s); }},
      {"I4_UNIFORM", [](int32_t& s) { i4_uniform(1, 6, s); }},
      {"R8VEC_UNIFORM_01", [&](int32_t& s) { r8vec_uniform_01(0, s, r); }},  // checked before N
      {"R8VEC_UNIFORM", [&](int32_t& s) { r8vec_uniform(2, 1.0, 2.0, s, r); }},
      {"I4VEC_UNIFORM", [&](int32_t& s) { i4vec_uniform(0, 1, 6, s, x); }},
      {"R8MAT_UNIFORM_01", [&](int32_t& s) { r8mat_uniform_01(2, 2, s, r); }},
      {"R8MAT_UNIFORM", [&](int32_t& s) { r8mat_uniform(0, 0, 1.0, 2.0, s, r); }},
  };
  for (const auto& row : rows) {
    int32_t seed = 0;
    const std::string title = std::string(row.title) + " - Fatal error!";
    expect_fatal([&] { row.call(seed); }, {" ", title, "  Input value of SEED = 0."});
  }
}

TEST(GeometryRandom, FourByteUniform) {
  // The 4-byte value is the seed rounded to a float, times 2^-31.
  int32_t seed = 987654321;
  for (int k = 0; k < 10000; ++k) {
    const float u = r4_uniform_01(seed);
    ASSERT_EQ(u, std::ldexp(static_cast<float>(seed), -31));
  }
  // 1510662174 and 102985174 step to 2147483584 and 2147483583: the first
  // rounds up to 2^31 as a float and gives exactly 1.
  seed = 1510662174;
  EXPECT_EQ(r4_uniform_01(seed), 1.0f);
  EXPECT_EQ(seed, 2147483584);
  seed = 102985174;
  EXPECT_LT(r4_uniform_01(seed), 1.0f);
  EXPECT_EQ(seed, 2147483583);
}

TEST(GeometryRandom, UniformBetweenBounds) {
  int32_t seed = 2468, ref = 2468;
  for (int k = 0; k < 1000; ++k) {
    const double u = r8_uniform_01(ref);
    EXPECT_EQ(r8_uniform(-2.0, 6.0, seed), -2.0 + 8.0 * (u / scale) * scale);
  }
  seed = 5;
  for (int k = 0; k < 1000; ++k) {
    const double v = r8_uniform(3.0, -1.0, seed);  // B < A
    EXPECT_GE(v, -1.0);
    EXPECT_LE(v, 3.0);
  }
}

TEST(GeometryRandom, IntegerUniform) {
  int32_t seed = 12345;
  EXPECT_EQ(i4_uniform(1, 6, seed), 1);
  EXPECT_EQ(seed, 207482415);
  int32_t s1 = 777, s2 = 777;
  for (int k = 0; k < 1000; ++k) ASSERT_EQ(i4_uniform(6, 1, s1), i4_uniform(1, 6, s2));
  EXPECT_EQ(s1, s2);
  seed = 3;
  EXPECT_EQ(i4_uniform(5, 5, seed), 5);
  EXPECT_EQ(seed, 3 * 16807);
  // Within the range, both ends reached.
  const int32_t ranges[][2] = {{1, 6}, {-3, 3}, {0, 1}, {-1000, -990}};
  for (const auto& r : ranges) {
    seed = 4321;
    int32_t lo = r[1], hi = r[0];
    for (int k = 0; k < 5000; ++k) {
      const int32_t v = i4_uniform(r[0], r[1], seed);
      ASSERT_GE(v, r[0]);
      ASSERT_LE(v, r[1]);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, r[0]);
    EXPECT_EQ(hi, r[1]);
  }
}

TEST(GeometryRandom, FillsEqualSuccessiveScalarCalls) {
  const int32_t start = 55555;
  std::vector<double> r = testing::canaries(7);
  int32_t seed = start, ref = start;
  r8vec_uniform_01(6, seed, r.data());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r[i], r8_uniform_01(ref));
  EXPECT_EQ(r[6], testing::canary);
  EXPECT_EQ(seed, ref);

  seed = ref = start;
  r8vec_uniform(6, 10.0, 20.0, seed, r.data());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r[i], r8_uniform(10.0, 20.0, ref));
  EXPECT_EQ(seed, ref);

  std::vector<int32_t> x = testing::icanaries(6);
  seed = ref = start;
  i4vec_uniform(5, -7, 7, seed, x.data());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(x[i], i4_uniform(-7, 7, ref));
  EXPECT_EQ(x[5], testing::icanary);
  EXPECT_EQ(seed, ref);

  // Matrices column by column: R(1,1), R(2,1), R(3,1), R(1,2), ...
  seed = ref = start;
  r8mat_uniform_01(3, 2, seed, r.data());
  for (int k = 0; k < 6; ++k) EXPECT_EQ(r[k], r8_uniform_01(ref));
  EXPECT_EQ(seed, ref);
  seed = ref = start;
  r8mat_uniform(2, 3, -1.0, 1.0, seed, r.data());
  for (int k = 0; k < 6; ++k) EXPECT_EQ(r[k], r8_uniform(-1.0, 1.0, ref));
  EXPECT_EQ(seed, ref);

  // Nothing to fill: the seed stays.
  seed = start;
  r8vec_uniform_01(0, seed, nullptr);
  r8mat_uniform_01(0, 5, seed, nullptr);
  i4vec_uniform(-1, 1, 2, seed, nullptr);
  EXPECT_EQ(seed, start);
}

// A Box-Muller pair from two uniforms.
void box_muller(double u1, double u2, double& c, double& s) {
  const double r = std::sqrt(-2.0 * std::log(u1));
  c = r * std::cos(two_pi * u2);
  s = r * std::sin(two_pi * u2);
}

TEST(GeometryRandom, NormalHoldsBackTheSine) {
  testing::reset_normals();
  int32_t seed = 1;
  double c = 0, s = 0;
  box_muller(16807 * scale, 282475249 * scale, c, s);
  EXPECT_EQ(r8_normal_01(seed), c);
  EXPECT_NEAR(c, 3.285285953, 1e-9);
  EXPECT_EQ(seed, 16807);
  seed = 99;  // ignored: the held-back value comes with its own seed
  EXPECT_EQ(r8_normal_01(seed), s);
  EXPECT_NEAR(s, 3.566920228, 1e-9);
  EXPECT_EQ(seed, 282475249);
  // The next pair starts from there.
  int32_t ref = seed;
  const double u1 = r8_uniform_01(ref), u2 = r8_uniform_01(ref);
  box_muller(u1, u2, c, s);
  EXPECT_EQ(r8_normal_01(seed), c);
  EXPECT_EQ(r8_normal_01(seed), s);
  EXPECT_EQ(seed, ref);

  testing::reset_normals();
  seed = 2147483647;  // the first uniform is 0
  expect_fatal([&] { r8_normal_01(seed); },
               {" ", "R8_NORMAL_01 - Fatal error!", "  R8_UNIFORM_01 returned a value of 0."});
  testing::reset_normals();
  seed = 0;
  expect_fatal([&] { r8_normal_01(seed); }, {" ", "R8_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
  testing::reset_normals();
}

TEST(GeometryRandom, NormalVectorCountsAndHeldValue) {
  testing::reset_normals();
  const int32_t start = 1234;
  int32_t seed = start, ref = start;
  std::vector<double> u(4);
  auto draw = [&](int n) {
    for (int i = 0; i < n; ++i) u[i] = r8_uniform_01(ref);
  };
  double c = 0, s = 0, c2 = 0, s2 = 0;
  std::vector<double> x = testing::canaries(4);

  // N = 1: two uniforms, one value returned and one kept (MADE = 2).
  int32_t n = 1;
  r8vec_normal_01(n, seed, x.data());
  draw(2);
  box_muller(u[0], u[1], c, s);
  EXPECT_EQ(x[0], c);
  EXPECT_EQ(x[1], testing::canary);
  EXPECT_EQ(seed, ref);
  // N = 1 again: the kept value, nothing drawn.
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(x[0], s);
  EXPECT_EQ(seed, ref);
  // N = 3: four uniforms; X(3) is the cosine of the second pair, its sine kept.
  n = 3;
  r8vec_normal_01(n, seed, x.data());
  draw(4);
  box_muller(u[0], u[1], c, s);
  box_muller(u[2], u[3], c2, s2);
  EXPECT_EQ(x[0], c);
  EXPECT_EQ(x[1], s);
  EXPECT_EQ(x[2], c2);
  EXPECT_EQ(seed, ref);
  // N = 2 with a value kept: X(1) is the kept sine, X(2) the cosine of a
  // new pair (K = 1).
  n = 2;
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(x[0], s2);
  draw(2);
  box_muller(u[0], u[1], c, s);
  EXPECT_EQ(x[1], c);
  // N = 4 with a value kept: K = 3 makes two pairs, the last one's sine kept.
  n = 4;
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(x[0], s);
  draw(4);
  box_muller(u[0], u[1], c, s);
  box_muller(u[2], u[3], c2, s2);
  EXPECT_EQ(x[1], c);
  EXPECT_EQ(x[2], s);
  EXPECT_EQ(x[3], c2);
  // N < 0 reports the count, 2 + 0 + 3 + 2 + 3 (a single value counts the
  // pair it came from), and clears the kept value.
  n = -1;
  const int32_t seed_before = seed;
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(n, 10);
  EXPECT_EQ(seed, seed_before);
  n = 2;  // K even: one pair, nothing kept
  r8vec_normal_01(n, seed, x.data());
  draw(2);
  box_muller(u[0], u[1], c, s);
  EXPECT_EQ(x[0], c);
  EXPECT_EQ(x[1], s);
  n = -1;
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(n, 2);
  n = 0;
  r8vec_normal_01(n, seed, nullptr);
  EXPECT_EQ(seed, ref);

  // Zero uniforms and zero seeds end the run through the routine that draws.
  testing::reset_normals();
  seed = 2147483647;
  n = 1;
  expect_fatal([&] { r8vec_normal_01(n, seed, x.data()); },
               {" ", "R8VEC_NORMAL_01 - Fatal error!", "  R8_UNIFORM_01 returned a value of 0."});
  seed = 0;
  n = 2;
  expect_fatal([&] { r8vec_normal_01(n, seed, x.data()); },
               {" ", "R8VEC_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
  testing::reset_normals();
}

TEST(GeometryRandom, SeedFromTheCalendar) {
  calendar_reading first;
  first.month = 1;
  first.day = 1;
  calendar_reading last;
  last.month = 12;
  last.day = 31;
  last.hour = 23;
  last.minute = 59;
  last.second = 59;
  last.millisecond = 999;
  calendar_reading noon;
  noon.month = 7;
  noon.day = 16;
  noon.hour = 12;
  const struct {
    calendar_reading c;
    int32_t seed;
  } rows[] = {{first, 2147483646}, {last, 2147483646}, {noon, 560920465}};
  for (const auto& r : rows) {
    testing::scoped_calendar pin(r.c);
    int32_t seed = testing::icanary;
    get_seed(seed);
    EXPECT_EQ(seed, r.seed);
  }
  int32_t seed = 0;
  get_seed(seed);  // the real clock
  EXPECT_GE(seed, 1);
  EXPECT_LE(seed, 2147483646);
}

TEST(GeometryRandom, InitializeTheRunTimeGenerator) {
  int32_t seed = 5;
  EXPECT_EQ(stdout_of([&] { random_initialize(seed); }),
            lines({" ", "RANDOM_INITIALIZE", "  Initialize RANDOM_NUMBER with user SEED =            5"}));
  EXPECT_EQ(seed, 5);
  std::vector<double> a(10);
  for (auto& v : a) v = random_number();
  // The same seed repeats the sequence: eight copies of the seed, 100 draws discarded.
  stdout_of([&] { random_initialize(seed); });
  for (double v : a) EXPECT_EQ(random_number(), v);
  const int32_t eight[8] = {5, 5, 5, 5, 5, 5, 5, 5};
  random_number_put_seed(eight);
  for (int k = 0; k < 100; ++k) random_number();
  for (double v : a) EXPECT_EQ(random_number(), v);

  testing::scoped_ticks ticks(-123456);
  seed = 0;
  EXPECT_EQ(stdout_of([&] { random_initialize(seed); }),
            lines({" ", "RANDOM_INITIALIZE", "  Initialize RANDOM_NUMBER with arbitrary SEED =      -123456"}));
  EXPECT_EQ(seed, -123456);
}

}  // namespace
}  // namespace orvel::geometry
