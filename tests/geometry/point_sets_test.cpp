#include "geometry/point_sets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::icanaries;
using testing::rel_near;

struct hull_case {
  const char* what;
  std::vector<double> xy;
  std::vector<int32_t> hull;
};

// The hull of the case's points is its list, and the entries after it are
// not written.
void expect_hull(const hull_case& r) {
  const int32_t n = static_cast<int32_t>(r.xy.size() / 2);
  auto hull = icanaries(n);
  int32_t hull_num = -1;
  points_hull_2d(n, r.xy.data(), hull_num, hull.data());
  ASSERT_EQ(hull_num, static_cast<int32_t>(r.hull.size())) << r.what;
  EXPECT_EQ(std::vector<int32_t>(hull.begin(), hull.begin() + hull_num), r.hull) << r.what;
  for (int32_t j = hull_num; j < n; ++j) EXPECT_EQ(hull[j], testing::icanary) << r.what;
}

TEST(GeometryPointSets, HullByHand) {
  const hull_case rows[] = {
      {"unit square", {0, 0, 1, 0, 1, 1, 0, 1}, {1, 2, 3, 4}},
      {"unit square from another corner", {1, 1, 0, 1, 0, 0, 1, 0}, {3, 4, 1, 2}},
      {"edge midpoint listed", {0, 0, 2, 0, 1, 0, 2, 1, 0, 1}, {1, 3, 2, 4, 5}},
      {"interior point left out", {0, 0, 4, 0, 2, 1, 4, 4, 0, 4}, {1, 2, 4, 5}},
      {"two equal start points", {1, 1, 0, 0, 1, 0, 0, 0, 0, 1}, {2, 3, 1, 5}},
      {"repeated corner", {0, 0, 2, 0, 2, 0, 0, 2}, {1, 2, 4}},
      {"lowest of the leftmost", {0, 3, 5, 1, 0, 1, 0, 2}, {3, 2, 1, 4}},
      {"points on every edge, nearest first", {0, 0, 3, 0, 3, 3, 0, 3, 2, 0, 1, 0, 3, 2, 0, 2, 1, 1},
       {1, 6, 5, 2, 7, 3, 4, 8}},
      {"one point", {5, 5}, {1}},
      {"two points", {5, 5, 1, 2}, {1, 2}},
      {"two equal points", {5, 5, 5, 5}, {1}},
      {"three equal points", {5, 5, 5, 5, 5, 5}, {1}},
  };
  for (const auto& r : rows) expect_hull(r);
  int32_t hull_num = -1;
  points_hull_2d(0, nullptr, hull_num, nullptr);
  EXPECT_EQ(hull_num, 0);
}

double cross(const double* a, const double* b, const double* p) {
  return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
}

// Sets with every point on one line: the hull is the segment between the
// two points farthest apart, from the lowest of the leftmost, each end by
// the first column that holds it.
TEST(GeometryPointSets, HullOfCollinearPoints) {
  const hull_case rows[] = {
      {"three on the x axis", {0, 0, 2, 0, 1, 0}, {1, 2}},
      {"four on the diagonal", {0, 0, 1, 1, 2, 2, 3, 3}, {1, 4}},
      {"four on the diagonal, reversed", {3, 3, 2, 2, 1, 1, 0, 0}, {4, 1}},
      {"vertical, shuffled", {4, 2, 4, -1, 4, 7, 4, 0}, {2, 3}},
      {"falling, the start on the left", {5, -5, -1, 1, 2, -2, 0, 0}, {2, 1}},
      {"repeated ends", {1, 2, 3, 3, 1, 2, 5, 4, 3, 3, 5, 4}, {1, 4}},
      {"two distinct points, repeated", {7, 1, 7, 1, 2, 3}, {3, 1}},
  };
  for (const auto& r : rows) expect_hull(r);
}

// Points of a line given by decimal or random coordinates: rounding puts
// them a little off the line, on either side, so that comparing angles
// could walk back along the line.  The hull never stops the run, lists
// each point at most once and starts at the lowest of the leftmost points.
TEST(GeometryPointSets, HullOfNearlyCollinearPoints) {
  int32_t seed = 4162;
  for (int trial = 0; trial < 2000; ++trial) {
    const int32_t n = 3 + trial % 8;
    double a[2], d[2];
    for (int i = 0; i < 2; ++i) {
      a[i] = trial % 2 ? r8_uniform(-10, 10, seed) : i4_uniform(-5, 5, seed) / 10.0;
      d[i] = trial % 2 ? r8_uniform(-10, 10, seed) : i4_uniform(-5, 5, seed) / 10.0;
    }
    std::vector<double> xy(2 * n);
    for (int32_t k = 0; k < n; ++k) {
      const double t = trial % 4 < 2 ? r8_uniform_01(seed) : i4_uniform(-5, 5, seed) / 3.0;
      xy[2 * k] = a[0] + t * d[0];
      xy[2 * k + 1] = a[1] + t * d[1];
    }
    std::vector<int32_t> hull(n);
    int32_t m = -1;
    points_hull_2d(n, xy.data(), m, hull.data());
    ASSERT_GE(m, 1);
    ASSERT_LE(m, n);
    std::vector<int> seen(n + 1, 0);
    for (int32_t k = 0; k < m; ++k) {
      ASSERT_TRUE(hull[k] >= 1 && hull[k] <= n);
      EXPECT_EQ(++seen[hull[k]], 1) << "trial " << trial << ": point " << hull[k] << " listed twice";
    }
    int32_t q = 1;
    for (int32_t j = 2; j <= n; ++j)
      if (xy[2 * j - 2] < xy[2 * q - 2] || (xy[2 * j - 2] == xy[2 * q - 2] && xy[2 * j - 1] < xy[2 * q - 1])) q = j;
    EXPECT_EQ(hull[0], q) << "trial " << trial;
    // The far end (the highest of the rightmost points, the first of equal
    // ones) is an extreme point: always listed.
    int32_t far = 1;
    for (int32_t j = 2; j <= n; ++j)
      if (xy[2 * j - 2] > xy[2 * far - 2] || (xy[2 * j - 2] == xy[2 * far - 2] && xy[2 * j - 1] > xy[2 * far - 1]))
        far = j;
    EXPECT_EQ(seen[far], 1) << "trial " << trial << ": the far end " << far << " is not listed";
  }
}

// Four points within 1e-15 of one line whose rounded turns put the upper
// chain's first point just right of the lower chain's last edge: the upper
// chain must stop at the far end (point 1) and not pop it.
TEST(GeometryPointSets, HullKeepsTheFarEndOfNearlyCollinearPoints) {
  const std::vector<double> xy = {-0.2585176391945383, -9.4765135252951911, -0.57958301849805105, -9.7431943065934217,
                                  -1.3354557070165036, -10.371031289744254, -1.4620510607372987, -10.476182919335162};
  std::vector<int32_t> hull(4);
  int32_t m = -1;
  points_hull_2d(4, xy.data(), m, hull.data());
  ASSERT_GE(m, 2);
  EXPECT_EQ(hull[0], 4);
  EXPECT_NE(std::find(hull.begin(), hull.begin() + m, 1), hull.begin() + m) << "the far end is not listed";
}

// Random sets of points on a small integer grid (so that collinear and
// repeated points are exact): the hull runs counterclockwise from the
// lowest leftmost point without doubling back, every point lies on or left
// of every hull edge, and the listed points are exactly the distinct
// points of the boundary; a set on one line gives its two ends.
TEST(GeometryPointSets, HullPropertiesOnGridSets) {
  int32_t seed = 162;
  int flat_sets = 0;
  for (int trial = 0; trial < 600; ++trial) {
    const int32_t n = i4_uniform(3, 40, seed);
    std::vector<double> xy(2 * n);
    for (auto& x : xy) x = i4_uniform(0, 6, seed);
    // Every third set on a line through a grid point.
    if (trial % 3 == 0) {
      const double x0 = xy[0], y0 = xy[1];
      const int32_t dx = i4_uniform(-2, 2, seed), dy = i4_uniform(-2, 2, seed);
      for (int32_t k = 0; k < n; ++k) {
        const int32_t t = i4_uniform(-3, 3, seed);
        xy[2 * k] = x0 + t * dx;
        xy[2 * k + 1] = y0 + t * dy;
      }
    }
    auto pt = [&](int32_t j) { return &xy[2 * (j - 1)]; };
    std::vector<int32_t> hull(n);
    int32_t m;
    points_hull_2d(n, xy.data(), m, hull.data());
    // Start: the lowest of the leftmost, the first of equal ones.
    int32_t q = 1;
    for (int32_t j = 2; j <= n; ++j)
      if (xy[2 * (j - 1)] < pt(q)[0] || (xy[2 * (j - 1)] == pt(q)[0] && xy[2 * j - 1] < pt(q)[1])) q = j;
    EXPECT_EQ(hull[0], q);
    // A set on one line (every point on the line through the start and the
    // point farthest from it, the first of equally far ones): that point
    // closes the hull.
    int32_t far = q;
    for (int32_t j = 1; j <= n; ++j)
      if (r8vec_distance(2, pt(q), pt(j)) > r8vec_distance(2, pt(q), pt(far))) far = j;
    bool flat = true;
    for (int32_t j = 1; j <= n; ++j) flat = flat && cross(pt(q), pt(far), pt(j)) == 0.0;
    if (flat) {
      ++flat_sets;
      ASSERT_EQ(m, far == q ? 1 : 2);
      if (m == 2) {
        EXPECT_EQ(hull[1], far);
      }
      continue;
    }
    ASSERT_GE(m, 3);
    for (int32_t k = 0; k < m; ++k) {
      const double* a = pt(hull[k]);
      const double* b = pt(hull[(k + 1) % m]);
      const double* c = pt(hull[(k + 2) % m]);
      for (int32_t j = 1; j <= n; ++j) EXPECT_GE(cross(a, b, pt(j)), 0.0);
      // A left turn, or straight on (never back).
      const double turn = cross(a, b, c);
      const double dot = (b[0] - a[0]) * (c[0] - b[0]) + (b[1] - a[1]) * (c[1] - b[1]);
      EXPECT_TRUE(turn > 0.0 || (turn == 0.0 && dot > 0.0));
    }
    // Boundary points: on some hull edge, i.e. not strictly left of all.
    for (int32_t j = 1; j <= n; ++j) {
      double least = r8_largest();
      for (int32_t k = 0; k < m; ++k) {
        const double c = cross(pt(hull[k]), pt(hull[(k + 1) % m]), pt(j));
        if (c < least) least = c;
      }
      int32_t listed = 0;
      for (int32_t k = 0; k < m; ++k) listed += r8vec_eq(2, pt(hull[k]), pt(j)) ? 1 : 0;
      EXPECT_EQ(listed, least == 0.0 ? 1 : 0) << "point " << j;
    }
  }
  EXPECT_GT(flat_sets, 150);
}

TEST(GeometryPointSets, BisectorsByHandAndEquidistance) {
  const double p1[] = {0, 0}, p2[] = {2, 0};
  double a, b, c, f, g, x0, y0;
  points_bisect_line_imp_2d(p1, p2, a, b, c);
  points_bisect_line_par_2d(p1, p2, f, g, x0, y0);
  EXPECT_EQ(a, -2.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(c, 2.0);
  EXPECT_EQ(f, 0.0);
  EXPECT_EQ(g, 1.0);
  EXPECT_EQ(x0, 1.0);
  EXPECT_EQ(y0, 0.0);
  // The quarter turn of (0, 2) is (-2, 0): negated to F >= 0.
  const double q1[] = {1, 1}, q2[] = {1, 3};
  points_bisect_line_par_2d(q1, q2, f, g, x0, y0);
  EXPECT_EQ(f, 1.0);
  EXPECT_EQ(g, -0.0);
  EXPECT_EQ(y0, 2.0);
  points_bisect_line_par_2d(q1, q1, f, g, x0, y0);
  EXPECT_EQ(f, 0.0);
  EXPECT_EQ(g, 0.0);

  int32_t seed = 31;
  for (int k = 0; k < 100; ++k) {
    const auto p = testing::random_points(2, 2, -10.0, 10.0, seed);
    const double s = r8_uniform(-20.0, 20.0, seed);
    points_bisect_line_imp_2d(&p[0], &p[2], a, b, c);
    points_bisect_line_par_2d(&p[0], &p[2], f, g, x0, y0);
    EXPECT_TRUE(rel_near(f * f + g * g, 1.0, 1e-15));
    EXPECT_GE(f, 0.0);
    const double x[2] = {x0 + s * f, y0 + s * g};
    EXPECT_NEAR(r8vec_distance(2, x, &p[0]), r8vec_distance(2, x, &p[2]), 1e-12 * (20 + std::fabs(s)));
    EXPECT_NEAR(a * x[0] + b * x[1] + c, 0.0, 1e-11 * (20 + std::fabs(s)) * std::hypot(a, b));
  }
}

TEST(GeometryPointSets, CentroidNearestAvoidanceAndDistance) {
  const double line[] = {0, 0, 1, 0, 5, 0};
  int32_t ci = 0;
  points_centroid_2d(3, line, ci);
  EXPECT_EQ(ci, 2);
  const double tie[] = {0, 0, 2, 0};
  points_centroid_2d(2, tie, ci);
  EXPECT_EQ(ci, 1);
  points_centroid_2d(0, nullptr, ci);
  EXPECT_EQ(ci, -1);

  const double pset[] = {5, 5, 5, 0, 0, 3, 0, 0, -3};  // members 2 and 3 tie for the origin
  const double ptest[] = {0, 0, 0};
  const double away[] = {0, 0, -2};
  int32_t i_min = 0;
  double d_min = 0;
  points_point_near_naive_nd(3, 3, pset, away, i_min, d_min);
  EXPECT_EQ(i_min, 3);
  EXPECT_EQ(d_min, 1.0);
  points_point_near_naive_nd(3, 3, pset, ptest, i_min, d_min);
  EXPECT_EQ(i_min, 2);
  EXPECT_EQ(d_min, 3.0);
  points_point_near_naive_nd(3, 0, nullptr, ptest, i_min, d_min);
  EXPECT_EQ(i_min, -1);
  EXPECT_EQ(d_min, std::sqrt(1.7976931348623157e308));

  const double set2[] = {0, 0, 1, 1};
  const double near[] = {1 + 1e-14, 1}, clear[] = {1 + 1e-13, 1};
  EXPECT_FALSE(points_avoid_point_naive_2d(2, set2, near));
  EXPECT_TRUE(points_avoid_point_naive_2d(2, set2, clear));
  EXPECT_TRUE(points_avoid_point_naive_2d(0, nullptr, near));

  const double a[] = {1, 2, 3, 4}, b[] = {2, 4, 6, 4};
  double dist = -1;
  points_dist_nd(4, a, b, dist);
  EXPECT_TRUE(rel_near(dist, std::sqrt(14.0), 1e-15));
  points_dist_nd(0, a, b, dist);
  EXPECT_EQ(dist, 0.0);
}

TEST(GeometryPointSets, Collinearity) {
  const double s = std::sqrt(3.0) / 2;
  const struct {
    const char* what;
    double p[9];
    double colin;
  } rows[] = {
      {"equilateral", {0, 0, 0, 1, 0, 0, 0.5, s, 0}, 1.0},
      {"collinear", {0, 0, 0, 1, 1, 0, 2, 2, 0}, 0.0},
      // Area 0.5, sides 1, 1, sqrt 2.
      {"right isosceles", {0, 0, 0, 1, 0, 0, 0, 1, 0},
       0.5 / (0.4330127018922193 * std::pow((2 + std::sqrt(2.0)) / 3, 2))},
  };
  for (const auto& r : rows) {
    const double p2d[6] = {r.p[0], r.p[1], r.p[3], r.p[4], r.p[6], r.p[7]};
    double c2 = -1, c3 = -1;
    points_colin_2d(&p2d[0], &p2d[2], &p2d[4], c2);
    points_colin_3d(&r.p[0], &r.p[3], &r.p[6], c3);
    EXPECT_TRUE(rel_near(c2, r.colin, 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(c3, r.colin, 1e-15)) << r.what;
  }
  // Clockwise order gives the same measure.
  const double cw[] = {0, 0, 0.5, s, 1, 0};
  double c = -1;
  points_colin_2d(&cw[0], &cw[2], &cw[4], c);
  EXPECT_TRUE(rel_near(c, 1.0, 1e-15));
}

}  // namespace
}  // namespace orvel::geometry
