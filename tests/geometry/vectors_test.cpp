#include "geometry/vectors.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/angles.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::rel_near;

const double pi = 3.141592653589793;

using vec = std::vector<double>;

TEST(GeometryVectors, UnitAndDirectionsByHand) {
  const struct {
    vec p, unit;
  } units[] = {{{3, 4}, {0.6, 0.8}}, {{0, 0}, {0, 0}}, {{0, -2, 0}, {0, -1, 0}}, {{2, 2, 2, 2}, {0.5, 0.5, 0.5, 0.5}}};
  for (auto u : units) {
    vector_unit_nd(static_cast<int32_t>(u.p.size()), u.p.data());
    EXPECT_EQ(u.p, u.unit);
  }
  int32_t seed = 3;
  for (int32_t n = 1; n <= 8; ++n) {
    vec p = testing::random_points(n, 1, -10.0, 10.0, seed);
    vector_unit_nd(n, p.data());
    EXPECT_TRUE(rel_near(r8vec_norm(n, p.data()), 1.0, 1e-15));
  }

  const struct {
    vec v, angle;
  } dirs[] = {{{1, 1}, {pi / 4, pi / 4}},
              {{0, 0, 0}, {0, 0, 0}},
              {{0, -2}, {pi / 2, pi}},
              {{1, 1, 1, 1}, {pi / 3, pi / 3, pi / 3, pi / 3}}};
  for (const auto& d : dirs) {
    vec angle(d.v.size(), -1.0);
    vector_directions_nd(static_cast<int32_t>(d.v.size()), d.v.data(), angle.data());
    EXPECT_TRUE(testing::vec_rel_near(angle, d.angle, 1e-15));
  }
  // The quotient is not clamped: a subnormal length can round below the
  // coordinate, and the arccosine of more than 1 is not a number.
  const vec tiny = {2.65e-162, 0.0};
  vec angle(2);
  vector_directions_nd(2, tiny.data(), angle.data());
  EXPECT_TRUE(std::isnan(angle[0]));
  EXPECT_EQ(angle[1], pi / 2);
  // The separation clamps the same quotient.
  double theta = -1;
  vector_separation_nd(2, tiny.data(), vec{1, 0}.data(), theta);
  EXPECT_EQ(theta, 0.0);
}

TEST(GeometryVectors, Separation) {
  const struct {
    vec v1, v2;
    double theta;
  } rows[] = {{{1, 0}, {-1, 0}, pi},
              {{1, 0}, {0, 5}, pi / 2},
              {{2, 2, 0}, {3, 0, 0}, pi / 4},
              {{0, 0, 0}, {1, 2, 3}, pi},  // a zero vector: the clamp gives pi
              {{1, 2, 3}, {0, 0, 0}, pi}};
  for (const auto& r : rows) {
    double theta = -1;
    vector_separation_nd(static_cast<int32_t>(r.v1.size()), r.v1.data(), r.v2.data(), theta);
    EXPECT_TRUE(rel_near(theta, r.theta, 1e-15));
  }
  int32_t seed = 17;
  for (int k = 0; k < 200; ++k) {
    const int32_t n = 1 + k % 6;
    const vec v1 = testing::random_points(n, 1, -3.0, 3.0, seed), v2 = testing::random_points(n, 1, -3.0, 3.0, seed);
    double theta;
    vector_separation_nd(n, v1.data(), v2.data(), theta);
    EXPECT_EQ(theta, angle_rad_nd(n, v1.data(), v2.data()));
  }
}

TEST(GeometryVectors, PlaneRotations) {
  vec v2(2);
  vector_rotate_2d(vec{1, 0}.data(), pi / 2, v2.data());
  EXPECT_EQ(v2, (vec{6.123233995736766e-17, 1.0}));
  vector_rotate_base_2d(vec{2, 1}.data(), vec{1, 1}.data(), pi, v2.data());
  EXPECT_TRUE(testing::vec_rel_near(v2, {0, 1}, 1e-15));

  int32_t seed = 271;
  for (int k = 0; k < 200; ++k) {
    const vec p = testing::random_points(2, 1, -5.0, 5.0, seed), b = testing::random_points(2, 1, -5.0, 5.0, seed);
    const double angle = r8_uniform(-7.0, 7.0, seed);
    // About a base point: the difference turns about the origin.
    vec d = {p[0] - b[0], p[1] - b[1]}, turned(2), about(2), back(2);
    vector_rotate_2d(d.data(), angle, turned.data());
    vector_rotate_base_2d(p.data(), b.data(), angle, about.data());
    EXPECT_TRUE(testing::vec_rel_near(about, {b[0] + turned[0], b[1] + turned[1]}, 1e-14));
    // Turning back by the same angle.
    vector_rotate_base_2d(about.data(), b.data(), -angle, back.data());
    EXPECT_TRUE(testing::vec_rel_near(back, p, 1e-13));
    // The plane turn is the turn about the z axis in space.
    vec v3(3);
    vector_rotate_3d(vec{d[0], d[1], 0}.data(), vec{0, 0, 3}.data(), angle, v3.data());
    EXPECT_TRUE(testing::vec_rel_near(v3, {turned[0], turned[1], 0}, 1e-14));
  }
}

TEST(GeometryVectors, TurnAboutAnAxisInSpace) {
  const struct {
    vec v1, axis;
    double angle;
    vec v2;
  } rows[] = {{{1, 0, 0}, {0, 0, 2}, pi / 2, {0, 1, 0}},
              {{0, 0, 5}, {0, 0, 1}, 1.0, {0, 0, 5}},    // along the axis
              {{1, 2, 3}, {0, 0, 0}, 1.0, {1, 2, 3}},    // zero axis: unchanged
              {{1, 1, 1}, {1, 0, 0}, pi, {1, -1, -1}}};
  for (const auto& r : rows) {
    vec v2(3);
    vector_rotate_3d(r.v1.data(), r.axis.data(), r.angle, v2.data());
    EXPECT_TRUE(testing::vec_rel_near(v2, r.v2, 1e-15));
  }
}

// Bases with a column in the span of the earlier ones: that column leaves
// only a rounding residue, which must come back as a zero column with a
// zero coefficient, not as a spurious unit vector.  The expected values are
// the orthonormal bases and projections worked by hand.
TEST(GeometryVectors, ProjectionDropsDependentColumns) {
  const double r2 = std::sqrt(2.0), r10 = std::sqrt(10.0);
  const struct {
    const char* what;
    int32_t m, n;
    vec base, vecm, want_base, want_vecn, want_vecnm;
    double tol;
  } rows[] = {
      {"a multiple of the first", 3, 2, {1, 1, 0, 2, 2, 0}, {1, 2, 3},
       {1 / r2, 1 / r2, 0, 0, 0, 0}, {3 / r2, 0}, {1.5, 1.5, 0}, 1e-15},
      {"a combination of two", 4, 3, {1, 0, 1, 0, 0, 1, 0, 1, 3, -2, 3, -2}, {1, 2, 3, 4},
       {1 / r2, 0, 1 / r2, 0, 0, 1 / r2, 0, 1 / r2, 0, 0, 0, 0}, {4 / r2, 6 / r2, 0}, {2, 3, 2, 3}, 1e-15},
      {"small, negative multiple, then independent", 3, 3, {1e-8, 3e-8, 0, -3e-8, -9e-8, 0, 0, 0, 5}, {1, 1, 1},
       {1 / r10, 3 / r10, 0, 0, 0, 0, 0, 0, 1}, {4 / r10, 0, 1}, {0.4, 1.2, 1}, 1e-15},
      // Nearly but not quite dependent: kept.
      {"a millionth out of the span", 3, 2, {1, 1, 0, 1, 1, 1e-6}, {1, 2, 3},
       {1 / r2, 1 / r2, 0, 0, 0, 1}, {3 / r2, 3}, {1.5, 1.5, 3}, 1e-9},
  };
  for (const auto& r : rows) {
    vec base = r.base, vecn(r.n), vecnm(r.m);
    provec(r.m, r.n, base.data(), r.vecm.data(), vecn.data(), vecnm.data());
    for (std::size_t i = 0; i < base.size(); ++i) {
      if (r.want_base[i] == 0) {
        EXPECT_NEAR(base[i], 0.0, r.tol) << r.what << ", base entry " << i + 1;
      } else {
        EXPECT_TRUE(rel_near(base[i], r.want_base[i], r.tol)) << r.what << ", base entry " << i + 1;
      }
    }
    for (int32_t j = 0; j < r.n; ++j) {
      if (r.want_vecn[j] == 0) {
        // A dropped column is zero exactly, and so is its coefficient.
        for (int32_t i = 0; i < r.m; ++i) EXPECT_EQ(base[r.m * j + i], 0.0) << r.what;
        EXPECT_EQ(vecn[j], 0.0) << r.what;
      } else {
        EXPECT_TRUE(rel_near(vecn[j], r.want_vecn[j], r.tol)) << r.what;
      }
    }
    EXPECT_TRUE(testing::vec_rel_near(vecnm, r.want_vecnm, r.tol)) << r.what;
  }
}

// Whether a column is dependent is judged against its own length: the
// residue that modified Gram-Schmidt leaves of a multiple of an earlier
// column is one or two units of rounding of that column, whatever its
// scale, and an independent column is kept however short.  Each dependent
// row's vecm is orthogonal to the span, so that a residue normalised into
// a spurious unit vector would show as a projection away from zero.
TEST(GeometryVectors, ProjectionJudgesDependenceRelativeToTheColumn) {
  const double s7 = 1.0 / 7.0;
  const struct {
    const char* what;
    int32_t m, n;
    vec base, vecm;
    bool dependent;  // the second column drops out
    vec want_vecn, want_vecnm;
  } rows[] = {
      // Independent columns of length 1e-20: kept, an exact basis.
      {"tiny independent columns", 3, 2, {1e-20, 0, 0, 1e-20, 1e-20, 0}, {1, 2, 3}, false, {1, 2}, {1, 2, 0}},
      // A seventh of (1, 1, 1): the residue is 1.75 units of rounding of
      // the column, at any scale.
      {"a seventh of the first", 3, 2, {1, 1, 1, s7, s7, s7}, {1, -1, 0}, true, {0, 0}, {0, 0, 0}},
      {"a seventh of the first, at 1e20", 3, 2, {1e20, 1e20, 1e20, 1e20 * s7, 1e20 * s7, 1e20 * s7}, {1, -1, 0},
       true, {0, 0}, {0, 0, 0}},
      // Nearly all of the column's length in its last entry: the residue
      // (0.83 units of rounding of the column) is many units of the rest.
      {"a multiple held in the last entry", 3, 2, {1e-3, 2e-3, 1, 0.3 * 1e-3, 0.3 * 2e-3, 0.3}, {2, -1, 0}, true,
       {0, 0}, {0, 0, 0}},
  };
  for (const auto& r : rows) {
    vec base = r.base, vecn(r.n, -1.0), vecnm(r.m, -1.0);
    provec(r.m, r.n, base.data(), r.vecm.data(), vecn.data(), vecnm.data());
    if (r.dependent) {
      for (int32_t i = 0; i < r.m; ++i) EXPECT_EQ(base[r.m + i], 0.0) << r.what << ", base entry " << r.m + i + 1;
      EXPECT_EQ(vecn[1], 0.0) << r.what;
    }
    for (int32_t j = 0; j < r.n; ++j) EXPECT_NEAR(vecn[j], r.want_vecn[j], 1e-15) << r.what << ", vecn " << j + 1;
    for (int32_t i = 0; i < r.m; ++i) EXPECT_NEAR(vecnm[i], r.want_vecnm[i], 1e-15) << r.what << ", vecnm " << i + 1;
  }
}

TEST(GeometryVectors, ProjectionOntoASpan) {
  vec base = {2, 0, 0, 1, 1, 0}, vecn(2), vecnm(3);
  provec(3, 2, base.data(), vec{1, 2, 3}.data(), vecn.data(), vecnm.data());
  EXPECT_EQ(base, (vec{1, 0, 0, 0, 1, 0}));
  EXPECT_EQ(vecn, (vec{1, 2}));
  EXPECT_EQ(vecnm, (vec{1, 2, 0}));

  // A column that repeats an earlier one's direction drops out.
  base = {1, 2, 2, -2, -4, -4, 0, 1, 0};
  vecn.assign(3, -1.0);
  provec(3, 3, base.data(), vec{3, 3, 3}.data(), vecn.data(), vecnm.data());
  for (int i = 3; i < 6; ++i) EXPECT_NEAR(base[i], 0.0, 1e-15);
  EXPECT_NEAR(vecn[1], 0.0, 1e-14);
  // M <= 0: no coordinates, no projection.
  vecn.assign(2, -1.0);
  provec(0, 2, nullptr, nullptr, vecn.data(), nullptr);
  EXPECT_EQ(vecn, (vec{0, 0}));

  int32_t seed = 9001;
  for (int k = 0; k < 100; ++k) {
    const int32_t m = 3 + k % 5, n = 1 + k % 3;
    const vec original = testing::random_points(m, n, -2.0, 2.0, seed);
    const vec vecm = testing::random_points(m, 1, -2.0, 2.0, seed);
    base = original;
    vecn.assign(n, 0.0);
    vecnm.assign(m, 0.0);
    provec(m, n, base.data(), vecm.data(), vecn.data(), vecnm.data());
    // The residual is orthogonal to every input column.
    vec residual(m);
    for (int i = 0; i < m; ++i) residual[i] = vecm[i] - vecnm[i];
    for (int j = 0; j < n; ++j) EXPECT_NEAR(r8vec_dot_product(m, residual.data(), &original[m * j]), 0.0, 1e-13);
    // The basis is orthonormal.
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        EXPECT_NEAR(r8vec_dot_product(m, &base[m * i], &base[m * j]), i == j ? 1.0 : 0.0, 1e-14);
    // Projecting the projection changes nothing.
    vec base2 = original, vecn2(n), vecnm2(m);
    provec(m, n, base2.data(), vecnm.data(), vecn2.data(), vecnm2.data());
    EXPECT_TRUE(testing::vec_rel_near(vecnm2, vecnm, 1e-14));
    EXPECT_TRUE(testing::vec_rel_near(vecn2, vecn, 1e-14));
  }
}

}  // namespace
}  // namespace orvel::geometry
