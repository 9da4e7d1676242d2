#include "geometry/reals.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "geometry/matrices.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;

const double nan = std::numeric_limits<double>::quiet_NaN();
const double pi = 3.141592653589793;

TEST(GeometryReals, Constants) {
  EXPECT_EQ(r8_huge(), 1.0e30);
  EXPECT_EQ(r8_pi(), 3.141592653589793);
  EXPECT_NE(r8_huge(), r8_largest());
  double x = 1.5, y = -2.0;
  r8_swap(x, y);
  EXPECT_EQ(x, -2.0);
  EXPECT_EQ(y, 1.5);
}

TEST(GeometryReals, ModpIsNeverNegative) {
  const double rows[][3] = {
      {7, 4, 3},  {-7, 4, 1},        {7, -4, 3},         {-7, -4, 1},    {8, 4, 0},
      {-8, 4, 0}, {0.75, 0.5, 0.25}, {-0.75, 0.5, 0.25}, {-1e-300, 2, 2}};  // |X| far below |Y|: the sum rounds to |Y|
  for (const auto& r : rows) EXPECT_EQ(r8_modp(r[0], r[1]), r[2]) << r[0] << " " << r[1];
  expect_fatal([] { r8_modp(3.0, 0.0); },
               {" ", "R8_MODP - Fatal error!", "  R8_MODP ( X_part, Y_part ) called with Y_part =    0.00000    "});
}

TEST(GeometryReals, ScalarTests) {
  const struct {
    double r;
    bool is_int;
  } ints[] = {{3.0, true},           {-3.0, true},          {3.5, false},           {2147483647.0, true},
              {2147483648.0, false}, {-2147483647.0, true}, {-2147483648.0, false}, {0.0, true},
              {-0.0, true},          {1e300, false},        {nan, false},           {1e-300, false}};
  for (const auto& c : ints) EXPECT_EQ(r8_is_int(c.r), c.is_int) << c.r;

  const struct {
    double a, b;
    bool opposite;
  } signs[] = {{-1, 2, true}, {2, -1, true}, {0, 5, false},  {-3, 0, false},
               {0, 0, false}, {2, 3, false}, {-2, -3, false}};
  for (const auto& c : signs) EXPECT_EQ(r8_sign_opposite_strict(c.a, c.b), c.opposite) << c.a << " " << c.b;
}

TEST(GeometryReals, SumsOfHandValues) {
  const double a[] = {3, 4, 12};
  const double b[] = {1, 1, 1};
  const double c[] = {-1, 2, 0};
  EXPECT_EQ(r8vec_normsq(3, a), 169.0);
  EXPECT_EQ(r8vec_norm(3, a), 13.0);
  EXPECT_EQ(r8vec_norm(2, a), 5.0);
  EXPECT_EQ(r8vec_normsq_affine(3, b, a), 4.0 + 9.0 + 121.0);
  EXPECT_EQ(r8vec_norm_affine(2, b, a), std::sqrt(13.0));
  EXPECT_EQ(r8vec_distance(2, a, b), std::sqrt(13.0));
  EXPECT_EQ(r8vec_dot_product(3, a, c), 5.0);
  // (A - B) . (C - B) = (2, 3, 11) . (-2, 1, -1)
  EXPECT_EQ(r8vec_dot_product_affine(3, b, a, c), -4.0 + 3.0 - 11.0);
  // Counts of 0 or less: every sum is 0 and nothing is read.
  for (int32_t n : {0, -3}) {
    EXPECT_EQ(r8vec_norm(n, nullptr), 0.0);
    EXPECT_EQ(r8vec_normsq(n, nullptr), 0.0);
    EXPECT_EQ(r8vec_norm_affine(n, nullptr, nullptr), 0.0);
    EXPECT_EQ(r8vec_normsq_affine(n, nullptr, nullptr), 0.0);
    EXPECT_EQ(r8vec_distance(n, nullptr, nullptr), 0.0);
    EXPECT_EQ(r8vec_dot_product(n, nullptr, nullptr), 0.0);
    EXPECT_EQ(r8vec_dot_product_affine(n, nullptr, nullptr, nullptr), 0.0);
    EXPECT_TRUE(r8vec_eq(n, nullptr, nullptr));
    EXPECT_FALSE(r8vec_gt(n, nullptr, nullptr));
    EXPECT_FALSE(r8vec_lt(n, nullptr, nullptr));
  }
}

TEST(GeometryReals, ExactAndLexicographicComparisons) {
  const struct {
    std::vector<double> a1, a2;
    bool eq, gt, lt;
  } rows[] = {
      {{1, 5}, {2, 0}, false, false, true},  // the first entry decides
      {{2, 0}, {1, 5}, false, true, false},           {{1, 5}, {1, 5}, true, false, false},
      {{1, 5}, {1, 6}, false, false, true},           {{0.0, 1}, {-0.0, 1}, true, false, false},  // exact: 0 = -0
      {{1, 1}, {1, 1 + 1e-16}, true, false, false},  // 1 + 1e-16 rounds to 1
      {{1, 1}, {1, 1 + 2.3e-16}, false, false, true},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(r8vec_eq(2, r.a1.data(), r.a2.data()), r.eq);
    EXPECT_EQ(r8vec_gt(2, r.a1.data(), r.a2.data()), r.gt);
    EXPECT_EQ(r8vec_lt(2, r.a1.data(), r.a2.data()), r.lt);
  }
}

TEST(GeometryReals, Bracket) {
  const double x[] = {1, 2, 3, 4};
  const struct {
    double xval;
    int32_t left, right;
  } rows[] = {{0, 1, 2}, {1, 1, 2}, {2, 2, 3}, {2.5, 2, 3}, {3, 3, 4}, {4, 3, 4}, {9, 3, 4}, {nan, 3, 4}};
  for (const auto& r : rows) {
    int32_t left = -9, right = -9;
    r8vec_bracket(4, x, r.xval, left, right);
    EXPECT_EQ(left, r.left) << r.xval;
    EXPECT_EQ(right, r.right) << r.xval;
  }
  // Fewer than two entries: nothing is read and the result is (N - 1, N).
  for (int32_t n : {1, 0, -2}) {
    int32_t left = -9, right = -9;
    r8vec_bracket(n, nullptr, 1.0, left, right);
    EXPECT_EQ(left, n - 1);
    EXPECT_EQ(right, n);
  }
  int32_t left = 0, right = 0;
  r8vec_bracket(std::numeric_limits<int32_t>::min(), nullptr, 1.0, left, right);
  EXPECT_EQ(left, std::numeric_limits<int32_t>::max());  // wraps
}

TEST(GeometryReals, SwapVectors) {
  std::vector<double> a = {1, 2, 3}, b = {4, 5, 6};
  r8vec_swap(3, a.data(), b.data());
  EXPECT_EQ(a, (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(b, (std::vector<double>{1, 2, 3}));
}

TEST(GeometryReals, AnyNormalHandCases) {
  const double r = 1.0 / std::sqrt(2.0);
  const struct {
    std::vector<double> v1, v2;
  } rows[] = {
      {{0, 0, 0}, {1, 0, 0}},
      {{0, 0, 5}, {1, 0, -0.0}},  // K = 3, J = 1
      {{1, 1, 1}, {-r, r, 0}},    // K = 1, J = 2: ties keep the earlier
      {{3, -4}, {-0.8, -0.6}},    // N = 2: K = 2, J = 1
      {{0, 2, 0, -1}, {0, 1 / std::sqrt(5.0), 0, 2 / std::sqrt(5.0)}},
  };
  for (const auto& c : rows) {
    const int32_t n = static_cast<int32_t>(c.v1.size());
    auto v2 = testing::canaries(c.v1.size());
    r8vec_any_normal(n, c.v1.data(), v2.data());
    for (int32_t i = 0; i < n; ++i) EXPECT_TRUE(rel_near(v2[i], c.v2[i], 1e-15)) << "entry " << i + 1;
  }
  // V1 = (0, 0, 5) gives -0 in V2(3): -VJ / S with VJ = 0.
  const double v1[] = {0, 0, 5};
  double v2[3];
  r8vec_any_normal(3, v1, v2);
  EXPECT_TRUE(std::signbit(v2[2]));
  expect_fatal([&] { r8vec_any_normal(1, v1, v2); },
               {" ", "R8VEC_ANY_NORMAL - Fatal error!", "  Called with DIM_NUM < 2."});
}

TEST(GeometryReals, AnyNormalIsAUnitNormal) {
  int32_t seed = 20201;
  for (int32_t n = 2; n <= 6; ++n) {
    for (int k = 0; k < 50; ++k) {
      const auto v1 = testing::random_points(n, 1, -5.0, 5.0, seed);
      std::vector<double> v2(n);
      r8vec_any_normal(n, v1.data(), v2.data());
      EXPECT_TRUE(rel_near(r8vec_norm(n, v2.data()), 1.0, 1e-15));
      EXPECT_NEAR(r8vec_dot_product(n, v1.data(), v2.data()), 0.0, 1e-14);
      // At most two entries are nonzero.
      int nonzero = 0;
      for (double x : v2) nonzero += x != 0.0;
      EXPECT_LE(nonzero, 2);
    }
  }
}

TEST(GeometryReals, CrossAndTripleProducts) {
  const double v0[] = {1, 1, 1}, v1[] = {2, 1, 1}, v2[] = {1, 3, 1}, v3[] = {1, 1, 4};
  EXPECT_EQ(r8vec_cross_product_2d(v1, v2), 2.0 * 3.0 - 1.0 * 1.0);
  EXPECT_EQ(r8vec_cross_product_affine_2d(v0, v1, v2), 2.0);  // (1, 0) x (0, 2)
  double w[3];
  r8vec_cross_product_affine_3d(v0, v1, v2, w);  // (1, 0, 0) x (0, 2, 0)
  EXPECT_EQ(w[0], 0.0);
  EXPECT_EQ(w[1], 0.0);
  EXPECT_EQ(w[2], 2.0);
  const double x[] = {1, 0, 0}, y[] = {0, 1, 0};
  r8vec_cross_product_3d(x, y, w);
  EXPECT_EQ(std::vector<double>(w, w + 3), (std::vector<double>{0, 0, 1}));
  r8vec_cross_product_3d(y, x, w);
  EXPECT_EQ(std::vector<double>(w, w + 3), (std::vector<double>{0, 0, -1}));
  EXPECT_EQ(r8vec_scalar_triple_product(x, y, v3), 4.0);

  // On random vectors: the triple product is the determinant of the matrix
  // with rows V1, V2, V3, and the cross product is normal to both factors.
  int32_t seed = 4711;
  for (int k = 0; k < 100; ++k) {
    const auto p = testing::random_points(3, 3, -3.0, 3.0, seed);
    const double a[9] = {p[0], p[3], p[6], p[1], p[4], p[7], p[2], p[5], p[8]};
    EXPECT_TRUE(rel_near(r8vec_scalar_triple_product(&p[0], &p[3], &p[6]), r8mat_det_3d(a), 1e-13));
    r8vec_cross_product_3d(&p[0], &p[3], w);
    EXPECT_NEAR(r8vec_dot_product(3, w, &p[0]), 0.0, 1e-12);
    EXPECT_NEAR(r8vec_dot_product(3, w, &p[3]), 0.0, 1e-12);
  }
}

TEST(GeometryReals, Angle3d) {
  const double u[] = {1, 2, 3}, twice[] = {2, 4, 6}, opposite[] = {-1, -2, -3}, zero[] = {0, 0, 0};
  const double x[] = {1, 0, 0}, xy[] = {1, 1, 0};
  double angle = testing::canary;
  r8vec_angle_3d(u, twice, angle);
  EXPECT_NEAR(angle, 0.0, 1e-7);
  r8vec_angle_3d(u, opposite, angle);
  EXPECT_NEAR(angle, pi, 1e-7);
  r8vec_angle_3d(u, zero, angle);
  EXPECT_EQ(angle, pi);  // 0 / 0 is clamped to -1
  r8vec_angle_3d(x, xy, angle);
  EXPECT_TRUE(rel_near(angle, pi / 4.0, 1e-15));
  // Parallel and opposite pairs whose cosine rounds beyond 1 in magnitude.
  int32_t seed = 99;
  for (int k = 0; k < 1000; ++k) {
    const auto v = testing::random_points(3, 1, -1.0, 1.0, seed);
    const double s = r8_uniform(-3.0, 3.0, seed);
    const double w[] = {s * v[0], s * v[1], s * v[2]};
    r8vec_angle_3d(v.data(), w, angle);
    ASSERT_FALSE(std::isnan(angle));
    EXPECT_NEAR(angle, s > 0 ? 0.0 : pi, 1e-7);
  }
}

TEST(GeometryReals, Polarize) {
  const double a[] = {3, 4, 5}, zero[] = {0, 0, 0};
  std::vector<double> an = testing::canaries(3), ap = testing::canaries(3);
  r8vec_polarize(3, a, zero, an.data(), ap.data());
  EXPECT_EQ(an, (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(ap, (std::vector<double>{0, 0, 0}));
  const double p[] = {0, 0, 2};
  r8vec_polarize(3, a, p, an.data(), ap.data());
  EXPECT_EQ(an, (std::vector<double>{3, 4, 0}));
  EXPECT_EQ(ap, (std::vector<double>{0, 0, 5}));

  int32_t seed = 31337;
  for (int32_t n = 1; n <= 6; ++n) {
    for (int k = 0; k < 30; ++k) {
      const auto va = testing::random_points(n, 1, -4.0, 4.0, seed);
      const auto vp = testing::random_points(n, 1, -4.0, 4.0, seed);
      std::vector<double> vn(n), vl(n);
      r8vec_polarize(n, va.data(), vp.data(), vn.data(), vl.data());
      for (int32_t i = 0; i < n; ++i) EXPECT_TRUE(rel_near(vn[i] + vl[i], va[i], 1e-14));
      EXPECT_NEAR(r8vec_dot_product(n, vn.data(), vp.data()), 0.0, 1e-12);
      // The parallel part is a multiple of P: its cross ratio with P is zero.
      const double t = r8vec_dot_product(n, vl.data(), vp.data()) / r8vec_normsq(n, vp.data());
      for (int32_t i = 0; i < n; ++i) EXPECT_NEAR(vl[i], t * vp[i], 1e-12);
      // A parallel to P has no normal part.
      std::vector<double> a2(n);
      for (int32_t i = 0; i < n; ++i) a2[i] = -2.5 * vp[i];
      r8vec_polarize(n, a2.data(), vp.data(), vn.data(), vl.data());
      for (int32_t i = 0; i < n; ++i) EXPECT_NEAR(vn[i], 0.0, 1e-13);
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
