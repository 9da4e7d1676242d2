#include "geometry/matrices.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::lines;
using testing::rel_near;
using testing::stdout_of;

// A matrix written row by row, stored column by column.
std::vector<double> by_rows(int32_t n, int32_t m, std::initializer_list<double> rows) {
  std::vector<double> a(static_cast<std::size_t>(n) * m);
  int32_t k = 0;
  for (double x : rows) {
    const int32_t i = k / m, j = k % m;
    a[static_cast<std::size_t>(j) * n + i] = x;
    ++k;
  }
  return a;
}

std::vector<double> identity(int32_t n) {
  std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0);
  for (int32_t i = 0; i < n; ++i) a[static_cast<std::size_t>(i) * n + i] = 1.0;
  return a;
}

std::vector<double> product(int32_t n, const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> c(static_cast<std::size_t>(n) * n, 0.0);
  for (int32_t j = 0; j < n; ++j)
    for (int32_t k = 0; k < n; ++k)
      for (int32_t i = 0; i < n; ++i) c[j * n + i] += a[k * n + i] * b[j * n + k];
  return c;
}

// Vandermonde matrix of x: row i is (1, x_i, x_i^2, ...); its determinant is
// the product of x_j - x_i over i < j.
std::vector<double> vandermonde(const std::vector<double>& x, double& det) {
  const int32_t n = static_cast<int32_t>(x.size());
  std::vector<double> a(static_cast<std::size_t>(n) * n);
  det = 1.0;
  for (int32_t i = 0; i < n; ++i) {
    double p = 1.0;
    for (int32_t j = 0; j < n; ++j, p *= x[i]) a[j * n + i] = p;
    for (int32_t j = i + 1; j < n; ++j) det *= x[j] - x[i];
  }
  return a;
}

double det_fixed(int32_t n, const double* a) {
  switch (n) {
    case 2:
      return r8mat_det_2d(a);
    case 3:
      return r8mat_det_3d(a);
    case 4:
      return r8mat_det_4d(a);
    default:
      return r8mat_det_5d(a);
  }
}

TEST(GeometryMatrices, DeterminantsOfKnownMatrices) {
  EXPECT_EQ(r8mat_det_2d(by_rows(2, 2, {1, 2, 3, 4}).data()), -2.0);
  EXPECT_EQ(r8mat_det_3d(identity(3).data()), 1.0);
  EXPECT_EQ(r8mat_det_3d(by_rows(3, 3, {1, 2, 3, 4, 5, 6, 1, 2, 3}).data()), 0.0);  // two equal rows
  EXPECT_EQ(r8mat_det_4d(identity(4).data()), 1.0);
  EXPECT_EQ(r8mat_det_5d(identity(5).data()), 1.0);
  std::vector<double> d = identity(5);
  for (int32_t i = 0; i < 5; ++i) d[i * 5 + i] = i + 1;
  EXPECT_EQ(r8mat_det_5d(d.data()), 120.0);
  // Vandermonde matrices: whole-number arithmetic, exact.
  const std::vector<std::vector<double>> nodes = {{3, 7}, {1, 2, 4}, {1, 2, 3, 5}, {0, 1, 2, 3, 4}, {-2, 1, 0, 3, 5}};
  for (const auto& x : nodes) {
    double want = 0.0;
    const auto a = vandermonde(x, want);
    EXPECT_EQ(det_fixed(static_cast<int32_t>(x.size()), a.data()), want) << "n = " << x.size();
  }
  // Swapping two columns of the 5 by 5 changes the sign (every column is
  // expanded through a different minor).
  double want = 0.0;
  auto a = vandermonde({-2, 1, 0, 3, 5}, want);
  for (int32_t i = 0; i < 5; ++i) std::swap(a[0 * 5 + i], a[3 * 5 + i]);
  EXPECT_EQ(r8mat_det_5d(a.data()), -want);
}

TEST(GeometryMatrices, SmallInversesAndCramer) {
  std::vector<double> b = testing::canaries(4);
  double det = testing::canary;
  r8mat_inverse_2d(by_rows(2, 2, {2, 0, 0, 4}).data(), b.data(), det);
  EXPECT_EQ(det, 8.0);
  EXPECT_EQ(b, by_rows(2, 2, {0.5, 0, 0, 0.25}));
  r8mat_inverse_2d(by_rows(2, 2, {1, 2, 2, 4}).data(), b.data(), det);
  EXPECT_EQ(det, 0.0);
  EXPECT_EQ(b, std::vector<double>(4, 0.0));
  std::vector<double> b3 = testing::canaries(9);
  r8mat_inverse_3d(by_rows(3, 3, {1, 2, 3, 2, 4, 6, 0, 1, 1}).data(), b3.data(), det);
  EXPECT_EQ(det, 0.0);
  EXPECT_EQ(b3, std::vector<double>(9, 0.0));
  r8mat_inverse_3d(by_rows(3, 3, {2, 0, 0, 0, 4, 0, 0, 0, 8}).data(), b3.data(), det);
  EXPECT_EQ(det, 64.0);
  EXPECT_EQ(b3, by_rows(3, 3, {0.5, 0, 0, 0, 0.25, 0, 0, 0, 0.125}));

  std::vector<double> x = testing::canaries(2);
  const double rhs[] = {3, 5};
  r8mat_solve_2d(by_rows(2, 2, {2, 1, 1, 3}).data(), rhs, det, x.data());
  EXPECT_EQ(det, 5.0);
  EXPECT_EQ(x, (std::vector<double>{4.0 / 5.0, 7.0 / 5.0}));
  r8mat_solve_2d(by_rows(2, 2, {1, 2, 2, 4}).data(), rhs, det, x.data());
  EXPECT_EQ(det, 0.0);
  EXPECT_EQ(x, (std::vector<double>{0.0, 0.0}));
}

TEST(GeometryMatrices, InversesTimesAGiveTheIdentity) {
  int32_t seed = 777;
  for (int k = 0; k < 100; ++k) {
    for (int32_t n : {2, 3}) {
      const auto a = testing::random_matrix(n, n, -2.0, 2.0, seed);
      std::vector<double> b(static_cast<std::size_t>(n) * n);
      double det = 0.0;
      if (n == 2)
        r8mat_inverse_2d(a.data(), b.data(), det);
      else
        r8mat_inverse_3d(a.data(), b.data(), det);
      EXPECT_TRUE(rel_near(det, det_fixed(n, a.data()), 1e-13));
      if (std::fabs(det) < 1e-3) continue;  // too near singular for a tight check
      const auto ab = product(n, a, b), ba = product(n, b, a);
      const auto id = identity(n);
      for (int32_t i = 0; i < n * n; ++i) {
        EXPECT_NEAR(ab[i], id[i], 1e-10);
        EXPECT_NEAR(ba[i], id[i], 1e-10);
      }
    }
  }
}

TEST(GeometryMatrices, GaussJordanHandCases) {
  // Rows (0, 1, 2) and (1, 0, 3): rows interchanged at step 1, solution (3, 2).
  auto a = by_rows(2, 3, {0, 1, 2, 1, 0, 3});
  int32_t info = -1;
  r8mat_solve(2, 1, a.data(), info);
  EXPECT_EQ(info, 0);
  EXPECT_EQ(a, by_rows(2, 3, {1, 0, 3, 0, 1, 2}));
  // A tie in magnitude keeps the earlier row as pivot; column 2 then
  // vanishes and A stays as far as it was reduced.
  a = by_rows(2, 3, {1, 2, 5, -1, -2, 7});
  r8mat_solve(2, 1, a.data(), info);
  EXPECT_EQ(info, 2);
  EXPECT_EQ(a, by_rows(2, 3, {1, 2, 5, 0, 0, 12}));
  // A zero column from the start.
  a = by_rows(3, 4, {1, 0, 1, 1, 2, 0, 3, 1, 3, 0, 4, 1});
  r8mat_solve(3, 1, a.data(), info);
  EXPECT_EQ(info, 2);
  info = -1;
  r8mat_solve(0, 1, nullptr, info);
  EXPECT_EQ(info, 0);
}

TEST(GeometryMatrices, FactorHandCases) {
  // Rows (2, 1) and (4, 3): pivot row 2, negated multiplier -0.5.
  auto a = by_rows(2, 2, {2, 1, 4, 3});
  std::vector<int32_t> pivot = testing::icanaries(2);
  int32_t info = -1;
  EXPECT_EQ(stdout_of([&] { r8ge_fa(2, a.data(), pivot.data(), info); }), "");
  EXPECT_EQ(info, 0);
  EXPECT_EQ(pivot, (std::vector<int32_t>{2, 2}));
  EXPECT_EQ(a, (std::vector<double>{4, -0.5, 3, -0.5}));
  double det = 0.0;
  r8ge_det(2, a.data(), pivot.data(), det);
  EXPECT_EQ(det, 2.0);
  std::vector<double> b = {3, 7};  // A (1, 1)
  r8ge_sl(2, a.data(), pivot.data(), b.data(), 0);
  EXPECT_EQ(b, (std::vector<double>{1, 1}));
  b = {10, 7};  // A' (1, 2)
  r8ge_sl(2, a.data(), pivot.data(), b.data(), 1);
  EXPECT_EQ(b, (std::vector<double>{1, 2}));

  // Pivot rows come from the caller: one outside 1..N ends the call.
  const std::vector<int32_t> bad = {3, 2};
  for (int32_t job : {0, 1}) {
    testing::expect_fatal([&] { r8ge_sl(2, a.data(), bad.data(), b.data(), job); },
                          {" ", "R8GE_SL - Fatal error!", "  Index out of range."});
  }

  a = by_rows(2, 2, {0, 1, 1, 0});
  r8ge_fa(2, a.data(), pivot.data(), info);
  EXPECT_EQ(pivot, (std::vector<int32_t>{2, 2}));
  r8ge_det(2, a.data(), pivot.data(), det);
  EXPECT_EQ(det, -1.0);
}

TEST(GeometryMatrices, FactorZeroPivotWarns) {
  // First column zero: warning at step 1, factorisation stopped there.
  auto a = by_rows(3, 3, {0, 1, 2, 0, 3, 4, 0, 5, 7});
  const auto before = a;
  std::vector<int32_t> pivot = testing::icanaries(3);
  int32_t info = -1;
  EXPECT_EQ(stdout_of([&] { r8ge_fa(3, a.data(), pivot.data(), info); }),
            lines({" ", "DGE_FA - Warning!", "  Zero pivot on step        1"}));
  EXPECT_EQ(info, 1);
  EXPECT_EQ(pivot, (std::vector<int32_t>{1, testing::icanary, testing::icanary}));
  EXPECT_EQ(a, before);
  // Singular only in the last pivot; equal magnitudes keep the earlier row.
  a = by_rows(3, 3, {1, 1, 1, 1, 2, 2, 1, 2, 2});
  EXPECT_EQ(stdout_of([&] { r8ge_fa(3, a.data(), pivot.data(), info); }),
            lines({" ", "DGE_FA - Warning!", "  Zero pivot on step        3"}));
  EXPECT_EQ(info, 3);
  EXPECT_EQ(pivot, (std::vector<int32_t>{1, 2, 3}));
  // No rows: nothing read or written, and the determinant of nothing is 1.
  info = -1;
  EXPECT_EQ(stdout_of([&] { r8ge_fa(0, nullptr, nullptr, info); }), "");
  EXPECT_EQ(info, 0);
  double det = 0.0;
  r8ge_det(0, nullptr, nullptr, det);
  EXPECT_EQ(det, 1.0);
}

// Random systems of order 1 to 8: the factors solve A x = b and A' x = b,
// and agree with Gauss-Jordan on the same right-hand sides.
TEST(GeometryMatrices, FactorAndSolveRandomSystems) {
  int32_t seed = 123456789;
  for (int32_t n = 1; n <= 8; ++n) {
    for (int rep = 0; rep < 20; ++rep) {
      const auto a = testing::random_matrix(n, n, -1.0, 1.0, seed);
      const auto x = testing::random_points(n, 1, -3.0, 3.0, seed);
      std::vector<double> b(n, 0.0), bt(n, 0.0);
      for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j) {
          b[i] += a[j * n + i] * x[j];
          bt[i] += a[i * n + j] * x[j];
        }
      auto lu = a;
      std::vector<int32_t> pivot(n);
      int32_t info = -1;
      r8ge_fa(n, lu.data(), pivot.data(), info);
      ASSERT_EQ(info, 0);
      auto s = b, st = bt;
      r8ge_sl(n, lu.data(), pivot.data(), s.data(), 0);
      r8ge_sl(n, lu.data(), pivot.data(), st.data(), 1);
      // Gauss-Jordan on [A | b | b'], with A' for the second column.
      std::vector<double> g(static_cast<std::size_t>(n) * (n + 1)), gt = g;
      for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j) {
          g[j * n + i] = a[j * n + i];
          gt[j * n + i] = a[i * n + j];
        }
      for (int32_t i = 0; i < n; ++i) {
        g[n * n + i] = b[i];
        gt[n * n + i] = bt[i];
      }
      r8mat_solve(n, 1, g.data(), info);
      ASSERT_EQ(info, 0);
      r8mat_solve(n, 1, gt.data(), info);
      ASSERT_EQ(info, 0);
      for (int32_t i = 0; i < n; ++i) {
        EXPECT_NEAR(s[i], x[i], 1e-8) << "n = " << n;
        EXPECT_NEAR(st[i], x[i], 1e-8) << "n = " << n;
        EXPECT_NEAR(g[n * n + i], s[i], 1e-8) << "n = " << n;
        EXPECT_NEAR(gt[n * n + i], st[i], 1e-8) << "n = " << n;
      }
      if (n >= 2 && n <= 5) {
        double det = 0.0;
        r8ge_det(n, lu.data(), pivot.data(), det);
        EXPECT_TRUE(rel_near(det, det_fixed(n, a.data()), 1e-12)) << "n = " << n;
      }
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
