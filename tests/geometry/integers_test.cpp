#include "geometry/integers.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;

constexpr int32_t imin = std::numeric_limits<int32_t>::min();
constexpr int32_t imax = std::numeric_limits<int32_t>::max();

TEST(GeometryIntegers, HugeAndSwap) {
  EXPECT_EQ(i4_huge(), 2147483647);
  int32_t i = 3, j = -4;
  i4_swap(i, j);
  EXPECT_EQ(i, -4);
  EXPECT_EQ(j, 3);
}

// Hand values, and the extreme integers where the arithmetic wraps (the
// sanitizer build checks that no step overflows).
TEST(GeometryIntegers, GcdAndLcm) {
  const struct {
    int32_t i, j, gcd, lcm;
  } rows[] = {
      {0, 0, 1, 0},        {0, -6, 6, 0},       {-12, 18, 6, 36},    {4, 6, 2, 12},
      {0, 5, 5, 0},        {-4, 6, 2, 12},      {17, 5, 1, 85},      {7, 7, 7, 7},
      {imin, -1, 1, imin}, {-1, imin, 1, imin}, {imin, 0, 1, 0},     {imin, imin, imin, imin},
      {imin, 6, -2, imin}, {imax, 2, 1, 2},     {imax, -1, 1, imax}, {imax, imax, imax, imax},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(i4_gcd(r.i, r.j), r.gcd) << r.i << " " << r.j;
    EXPECT_EQ(i4_lcm(r.i, r.j), r.lcm) << r.i << " " << r.j;
  }
  // gcd times lcm is |I J|; the gcd divides both.
  for (int32_t i = -30; i <= 30; ++i) {
    for (int32_t j = -30; j <= 30; ++j) {
      if (i == 0 || j == 0) continue;
      const int32_t g = i4_gcd(i, j);
      EXPECT_EQ(g * i4_lcm(i, j), std::abs(i * j)) << i << " " << j;
      EXPECT_EQ(i % g, 0);
      EXPECT_EQ(j % g, 0);
    }
  }
  const int32_t v[] = {4, 6, 10};
  EXPECT_EQ(i4vec_lcm(3, v), 60);
  EXPECT_EQ(i4vec_lcm(0, nullptr), 1);
  EXPECT_EQ(i4vec_lcm(-2, nullptr), 1);
  const int32_t with_zero[] = {4, 0, 10};
  EXPECT_EQ(i4vec_lcm(3, with_zero), 0);  // like i4_lcm with a zero argument
  const int32_t zero_first[] = {0, 6};
  EXPECT_EQ(i4vec_lcm(2, zero_first), 0);
}

TEST(GeometryIntegers, Modp) {
  const struct {
    int32_t i, j, r;
  } rows[] = {
      {-1, 3, 2},      {-1, -3, 2},        {4, -3, 1},
      {7, 3, 1},       {-6, 3, 0},         {imin, -1, 0},
      {imin, imin, 0}, {-1, imin, imax},   {imin, imax, imax - 1},
      {imax, -1, 0},   {imax, imin, imax}, {imin, 2, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(i4_modp(r.i, r.j), r.r) << r.i << " " << r.j;
  // Congruent to I and within [0, |J| - 1].
  for (int32_t i = -40; i <= 40; ++i) {
    for (int32_t j = -9; j <= 9; ++j) {
      if (j == 0) continue;
      const int32_t r = i4_modp(i, j);
      EXPECT_GE(r, 0);
      EXPECT_LT(r, std::abs(j));
      EXPECT_EQ((i - r) % j, 0);
    }
  }
  expect_fatal([] { i4_modp(7, 0); }, {" ", "I4_MODP - Fatal error!", "  I4_MODP ( I, J ) called with J =        0"});
}

TEST(GeometryIntegers, Wrap) {
  const struct {
    int32_t i, ilo, ihi, r;
  } rows[] = {
      {5, 7, 7, 7},  {12, 10, 1, 2},        {-3, 1, 5, 2},       {0, 1, 10, 10},         {11, 1, 10, 1},
      {4, 1, 10, 4}, {imax, 0, imax, imax}, {-1, 0, imax, imax}, {imin, imin, -1, imin}, {imax, imin, -1, -1},
  };
  for (const auto& r : rows) EXPECT_EQ(i4_wrap(r.i, r.ilo, r.ihi), r.r) << r.i << " " << r.ilo << " " << r.ihi;
  // The whole 4-byte range has a width that wraps to 0.
  expect_fatal([] { i4_wrap(5, imin, imax); },
               {" ", "I4_MODP - Fatal error!", "  I4_MODP ( I, J ) called with J =        0"});
}

TEST(GeometryIntegers, DoubleFactorial) {
  // Products beyond the 4-byte range wrap modulo 2^32.
  const struct {
    int32_t n, r;
  } rows[] = {{0, 1},   {1, 1},          {-5, 1},          {imin, 1},         {2, 2},  {6, 48},        {7, 105},
              {8, 384}, {19, 654729075}, {20, -579076096}, {33, -1070540479}, {34, 0}, {41, 832818673}};
  for (const auto& r : rows) EXPECT_EQ(i4_factorial2(r.n), r.r) << r.n;
}

TEST(GeometryIntegers, Dedekind) {
  EXPECT_EQ(i4_dedekind_factor(4, 2), 0.0);
  EXPECT_EQ(i4_dedekind_factor(1, 4), -0.25);
  EXPECT_EQ(i4_dedekind_factor(-1, 4), -0.75);  // truncation toward zero
  EXPECT_EQ(i4_dedekind_factor(7, 0), 0.0);
  EXPECT_EQ(i4_dedekind_factor(imin, -1), 0.0);
  double s = testing::canary;
  i4_dedekind_sum(1, 3, s);
  EXPECT_NEAR(s, 1.0 / 18.0, 1e-15);
  for (int32_t q : {0, -4}) {
    i4_dedekind_sum(5, q, s);
    EXPECT_EQ(s, 0.0);
  }
  // s(1, q) = (q - 1)(q - 2) / (12 q), and reciprocity for coprime p, q.
  for (int32_t q = 1; q <= 40; ++q) {
    i4_dedekind_sum(1, q, s);
    EXPECT_NEAR(s, (q - 1.0) * (q - 2.0) / (12.0 * q), 1e-13) << q;
    for (int32_t p = 1; p <= 40; ++p) {
      if (i4_gcd(p, q) != 1) continue;
      double spq = 0.0, sqp = 0.0;
      i4_dedekind_sum(p, q, spq);
      i4_dedekind_sum(q, p, sqp);
      const double want = (double(p) / q + double(q) / p + 1.0 / (double(p) * q)) / 12.0 - 0.25;
      EXPECT_NEAR(spq + sqp, want, 1e-12) << p << " " << q;
    }
  }
  // The running multiple P i wraps: P = 2147483647 gives P, -2, 2147483645.
  i4_dedekind_sum(imax, 3, s);
  EXPECT_NEAR(s, (-1.0 / 6.0) * (-1.0 / 6.0) + (1.0 / 6.0) * (-2.0 / 3.0 - 0.5), 1e-7);
}

TEST(GeometryIntegers, Indicator) {
  std::vector<int32_t> a = testing::icanaries(5);
  i4vec_indicator(4, a.data());
  EXPECT_EQ(a, (std::vector<int32_t>{1, 2, 3, 4, testing::icanary}));
  i4vec_indicator(0, nullptr);
}

TEST(GeometryIntegers, Combin2) {
  const struct {
    int32_t n, k, c;
  } rows[] = {{5, 2, 10},   {5, 0, 1},       {5, 5, 1},
              {3, 4, 0},    {4, -1, 0},      {0, 0, 1},
              {10, 3, 120}, {imax, 1, imax}, {imax, 2, -1073741823},  // the product wraps before the division
              {-1, imin, 0}};
  for (const auto& r : rows) {
    int32_t c = testing::icanary;
    combin2(r.n, r.k, c);
    EXPECT_EQ(c, r.c) << r.n << " " << r.k;
  }
  // Pascal's rule and symmetry where nothing wraps.
  for (int32_t n = 1; n <= 20; ++n) {
    for (int32_t k = 0; k <= n; ++k) {
      int32_t c = 0, left = 0, up = 0, mirror = 0;
      combin2(n, k, c);
      combin2(n - 1, k - 1, left);
      combin2(n - 1, k, up);
      combin2(n, n - k, mirror);
      EXPECT_EQ(c, left + up) << n << " " << k;
      EXPECT_EQ(c, mirror);
    }
  }
}

TEST(GeometryIntegers, PermInverse) {
  const struct {
    std::vector<int32_t> p, inverse;
  } rows[] = {
      {{1, 2, 3}, {1, 2, 3}},       {{3, 1, 2}, {2, 3, 1}}, {{2, 3, 1, 5, 4}, {3, 1, 2, 5, 4}}, {{1}, {1}},
      {{4, 3, 2, 1}, {4, 3, 2, 1}},
  };
  for (const auto& r : rows) {
    auto p = r.p;
    perm_inverse(static_cast<int32_t>(p.size()), p.data());
    EXPECT_EQ(p, r.inverse);
  }
  // Random permutations: the inverse composes to the identity, and inverting
  // twice gives the permutation back.
  int32_t seed = 1357;
  for (int32_t n = 1; n <= 30; ++n) {
    std::vector<int32_t> p(n);
    i4vec_indicator(n, p.data());
    for (int32_t i = n; i >= 2; --i) std::swap(p[i - 1], p[i4_uniform(1, i, seed) - 1]);
    auto q = p;
    perm_inverse(n, q.data());
    for (int32_t i = 1; i <= n; ++i) EXPECT_EQ(q[p[i - 1] - 1], i);
    perm_inverse(n, q.data());
    EXPECT_EQ(q, p);
  }
  expect_fatal([] { perm_inverse(0, nullptr); }, {" ", "PERM_INVERSE - Fatal error!", "  Input value of N =        0"});
  // Not a permutation: the call ends before P is changed.
  const std::vector<std::vector<int32_t>> bad = {{1, 1, 3}, {0, 1, 2}, {1, 2, 4}, {-1, 2, 3}, {3, 3, 3}};
  for (const auto& b : bad) {
    auto p = b;
    expect_fatal([&] { perm_inverse(3, p.data()); },
                 {" ", "PERM_INVERSE - Fatal error!", "  P is not a permutation of 1 to N."});
    EXPECT_EQ(p, b);
  }
}

}  // namespace
}  // namespace orvel::geometry
