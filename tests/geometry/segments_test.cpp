#include "geometry/segments.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/line_forms.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::rel_near;

const double huge = 1.7976931348623157e308;

TEST(GeometrySegments, ContainmentParameters) {
  const struct {
    double p1, p2, p3, u;
  } rows[] = {{3, 3, 3, 0.5}, {3, 3, 1, -huge}, {3, 3, 7, huge}, {2, 6, 4, 0.5}, {6, 2, 5, 0.25}, {0, 1, -2, -2}};
  for (const auto& r : rows) {
    double u = 0;
    segment_contains_point_1d(r.p1, r.p2, r.p3, u);
    EXPECT_EQ(u, r.u) << r.p1 << " " << r.p2 << " " << r.p3;
  }
  const struct {
    double p1[2], p2[2], p3[2], u[2];
  } rows2[] = {
      {{0, 0}, {2, 0}, {1, 1}, {0.5, 0.5}},  // offset 1 relative to length 2
      {{0, 0}, {2, 0}, {3, 4}, {1.5, 2}},
      {{0, 0}, {2, 0}, {-1, 0}, {-0.5, 0}},
      {{1, 1}, {1, 1}, {1, 1}, {0.5, 0}},
      {{1, 1}, {1, 1}, {1, 2}, {0.5, huge}},
  };
  for (const auto& r : rows2) {
    double u[2];
    segment_contains_point_2d(r.p1, r.p2, r.p3, u);
    EXPECT_EQ(u[0], r.u[0]);
    EXPECT_EQ(u[1], r.u[1]);
  }
}

TEST(GeometrySegments, PointCoordinatesAndDistances) {
  const double p1[] = {0, 0}, p2[] = {2, 0};
  const struct {
    double p[2], s, t, dist;
  } rows[] = {
      {{1, 1}, 1, 0.5, 1},
      {{3, 4}, 4, 1.5, std::sqrt(17.0)},  // beyond P2: the offset from the line, the distance from P2
      {{-3, 0}, 0, -1.5, 3},
      {{2, -2}, 2, 1, 2},
  };
  for (const auto& r : rows) {
    double s, t, dist, pn[2], dn, tn;
    segment_point_coords_2d(p1, p2, r.p, s, t);
    segment_point_dist_2d(p1, p2, r.p, dist);
    segment_point_near_2d(p1, p2, r.p, pn, dn, tn);
    EXPECT_EQ(s, r.s);
    EXPECT_EQ(t, r.t);
    EXPECT_EQ(dist, r.dist);
    EXPECT_EQ(dn, r.dist);
    EXPECT_EQ(tn, std::clamp(r.t, 0.0, 1.0));
    EXPECT_EQ(pn[0], 2 * tn);
    EXPECT_EQ(pn[1], 0.0);
    // The same in space, in the plane z = -1.
    const double q1[] = {0, 0, -1}, q2[] = {2, 0, -1}, q[] = {r.p[0], r.p[1], -1};
    double pn3[3];
    segment_point_coords_3d(q1, q2, q, s, t);
    EXPECT_EQ(s, r.s);
    EXPECT_EQ(t, r.t);
    segment_point_dist_3d(q1, q2, q, dist);
    EXPECT_EQ(dist, r.dist);
    segment_point_near_3d(q1, q2, q, pn3, dn, tn);
    EXPECT_EQ(dn, r.dist);
    EXPECT_EQ(pn3[2], -1.0);
  }
  // A degenerate segment: T = 0 and everything measured from P1.
  const double p[] = {4, 3};
  double s, t, dist, pn[2];
  segment_point_coords_2d(p2, p2, p, s, t);
  EXPECT_EQ(t, 0.0);
  EXPECT_EQ(s, std::sqrt(13.0));
  segment_point_near_2d(p1, p1, p, pn, dist, t);
  EXPECT_EQ(t, 0.0);
  EXPECT_EQ(dist, 5.0);
  EXPECT_EQ(pn[0], 0.0);
}

// On random segments and points: the nearest point is a point of the
// segment at the reported distance; the distance is at least the line
// distance, equal when the foot falls inside, and no sampled point of the
// segment is nearer.
TEST(GeometrySegments, NearestPointsOnRandomSegments) {
  int32_t seed = 6543;
  for (int k = 0; k < 300; ++k) {
    for (int32_t dim : {2, 3}) {
      const auto q = testing::random_points(dim, 3, -5.0, 5.0, seed);
      const double *p1 = &q[0], *p2 = &q[dim], *p = &q[2 * dim];
      double pn[3], dist, t, line_dist, s, tu, seg_dist;
      if (dim == 2) {
        segment_point_near_2d(p1, p2, p, pn, dist, t);
        segment_point_dist_2d(p1, p2, p, seg_dist);
        segment_point_coords_2d(p1, p2, p, s, tu);
        line_exp_point_dist_2d(p1, p2, p, line_dist);
      } else {
        segment_point_near_3d(p1, p2, p, pn, dist, t);
        segment_point_dist_3d(p1, p2, p, seg_dist);
        segment_point_coords_3d(p1, p2, p, s, tu);
        line_exp_point_dist_3d(p1, p2, p, line_dist);
      }
      EXPECT_EQ(seg_dist, dist);
      EXPECT_GE(t, 0.0);
      EXPECT_LE(t, 1.0);
      EXPECT_EQ(t, std::clamp(tu, 0.0, 1.0));
      for (int i = 0; i < dim; ++i) EXPECT_NEAR(pn[i], p1[i] + t * (p2[i] - p1[i]), 1e-13);
      EXPECT_TRUE(rel_near(r8vec_distance(dim, pn, p), dist, 1e-14));
      EXPECT_TRUE(rel_near(s, line_dist, 1e-12));
      EXPECT_GE(dist, line_dist - 1e-12);
      if (tu >= 0.0 && tu <= 1.0) {
        EXPECT_TRUE(rel_near(dist, line_dist, 1e-12));
      }
      double brute = 1e300;
      for (int j = 0; j <= 200; ++j) {
        double x[3];
        for (int i = 0; i < dim; ++i) x[i] = p1[i] + (j / 200.0) * (p2[i] - p1[i]);
        brute = std::min(brute, r8vec_distance(dim, x, p));
      }
      EXPECT_LE(dist, brute + 1e-12);
      EXPECT_GE(dist, brute - r8vec_distance(dim, p1, p2) / 400.0 - 1e-12);
    }
  }
}

TEST(GeometrySegments, Curvature) {
  const struct {
    double p1[2], p2[2], p3[2], curvature;
  } rows[] = {
      {{1, 0}, {0, 1}, {-1, 0}, 1},
      {{0, 0}, {2, 0}, {0, 2}, 1 / 1.4142135623730951},
      {{0, 0}, {1, 1}, {3, 3}, 0},    // collinear
      {{2, 2}, {2, 2}, {2, 2}, 0},    // equal
      {{0, 0}, {0, 0}, {4, 0}, 0.5},  // two equal: the circle on the other two as diameter
  };
  for (const auto& r : rows) {
    double c = -1;
    segments_curvature_2d(r.p1, r.p2, r.p3, c);
    EXPECT_TRUE(rel_near(c, r.curvature, 1e-15));
  }
}

TEST(GeometrySegments, IntervalsOnALine) {
  const struct {
    double p1, p2, q1, q2, dist, r1, r2;
  } rows[] = {
      {0, 2, 1, 5, -1, 1, 2}, {0, 1, 3, 4, 2, 3, 1}, {0, 1, 1, 2, 0, 1, 1},
      {2, 0, 5, 1, -1, 1, 2}, {0, 10, 4, 3, -1, 3, 4}, {4, 3, 1, 0, 2, 3, 1},
  };
  for (const auto& r : rows) {
    double dist, r1, r2;
    segments_int_1d(r.p1, r.p2, r.q1, r.q2, dist, r1, r2);
    EXPECT_EQ(dist, r.dist);
    EXPECT_EQ(r1, r.r1);
    EXPECT_EQ(r2, r.r2);
  }
}

TEST(GeometrySegments, IntersectionInThePlane) {
  const struct {
    const char* what;
    double p1[2], p2[2], q1[2], q2[2];
    int32_t flag;
    double p[2];
  } rows[] = {
      {"crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 1, {1, 1}},
      {"lines cross beyond P", {0, 0}, {1, 1}, {3, 0}, {0, 3}, 0, {1.5, 1.5}},
      {"lines cross beyond Q", {0, 0}, {4, 4}, {3, 0}, {2, 1}, 0, {1.5, 1.5}},
      {"touching at an end of Q", {0, 0}, {2, 0}, {1, 0}, {1, 5}, 1, {1, 0}},
      {"parallel", {0, 0}, {2, 0}, {0, 1}, {2, 1}, 0, {0, 0}},
      {"Q contained in P", {0, 0}, {4, 0}, {1, 0}, {2, 0}, 1, {1, 0}},
      {"overlapping", {0, 0}, {4, 0}, {3, 0}, {6, 0}, 1, {3, 0}},
      {"overlapping, Q reversed", {0, 0}, {4, 0}, {6, 0}, {3, 0}, 1, {3, 0}},
      {"touching at an end", {0, 0}, {4, 0}, {4, 0}, {7, 0}, 1, {4, 0}},
      {"disjoint", {0, 0}, {4, 0}, {5, 0}, {7, 0}, 0, {0, 0}},
      {"disjoint, before P1", {0, 0}, {4, 0}, {-5, 0}, {-1, 0}, 0, {0, 0}},
      {"P contained in Q", {0, 0}, {4, 0}, {-1, 0}, {9, 0}, 1, {0, 0}},
      {"P reversed", {4, 0}, {0, 0}, {1, 0}, {2, 0}, 1, {2, 0}},
      {"slanted, overlapping", {1, 1}, {3, 3}, {2, 2}, {5, 5}, 1, {2, 2}},
      {"single point inside Q", {1, 1}, {1, 1}, {0, 0}, {2, 2}, 1, {1, 1}},
      {"single point off Q", {1, 1}, {1, 1}, {2, 2}, {3, 3}, 0, {1, 1}},
      {"T: P ends inside Q", {0, 0}, {2, 0}, {2, -1}, {2, 1}, 1, {2, 0}},
      // The solved crossing lies a rounding off the shared end (3, 1).
      {"ends meeting at an angle", {0, 0}, {3, 1}, {3, 1}, {5, -2}, 1, {3, 1}},
      // Collinear pairs whose scaled implicit coefficients, rounded, are not
      // exactly proportional.
      {"overlapping on y = 3", {0, 3}, {4, 3}, {-6, 3}, {1, 3}, 1, {0, 3}},
      {"P inside Q, slanted", {8, 4}, {24, 16}, {-16, -14}, {24, 16}, 1, {8, 4}},
  };
  for (const auto& r : rows) {
    int32_t flag = testing::icanary;
    auto p = testing::canaries(2);
    segments_int_2d(r.p1, r.p2, r.q1, r.q2, flag, p.data());
    EXPECT_EQ(flag, r.flag) << r.what;
    EXPECT_TRUE(rel_near(p[0], r.p[0], 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(p[1], r.p[1], 1e-15)) << r.what;
    double dist;
    segments_dist_2d(r.p1, r.p2, r.q1, r.q2, dist);
    EXPECT_EQ(dist == 0.0, flag == 1) << r.what;
  }
}

// Every pair of segments between integer points of [-3, 3]^2 and the same
// points moved by integer steps in [-2, 2]^2, and collinear pairs on the
// integer lines of [-5, 5]^2 with steps in [-3, 3]^2: FLAG agrees with the
// exact integer orientation test, and a meeting point lies on both
// segments, exactly at the end point where one segment ends on the other.
TEST(GeometrySegments, IntegerSegmentsAgainstExactArithmetic) {
  using i64 = int64_t;
  const auto orient = [](i64 ax, i64 ay, i64 bx, i64 by, i64 cx, i64 cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  };
  int64_t pairs = 0, meeting = 0, wrong = 0;
  // p = P1 + s (P2 - P1): within the segment to rounding.
  const auto on_segment = [](const double* a, const double* b, const double* p) {
    const double dx = b[0] - a[0], dy = b[1] - a[1];
    const double len2 = dx * dx + dy * dy;
    const double s = ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len2;
    const double off = std::fabs((p[0] - a[0]) * dy - (p[1] - a[1]) * dx) / len2;
    return s >= -1e-13 && s <= 1 + 1e-13 && off <= 1e-13;
  };
  const auto check = [&](int x1, int y1, int x2, int y2, int u1, int v1, int u2, int v2) {
    const double p1[2] = {double(x1), double(y1)}, p2[2] = {double(x2), double(y2)};
    const double q1[2] = {double(u1), double(v1)}, q2[2] = {double(u2), double(v2)};
    const i64 o1 = orient(x1, y1, x2, y2, u1, v1), o2 = orient(x1, y1, x2, y2, u2, v2);
    const i64 o3 = orient(u1, v1, u2, v2, x1, y1), o4 = orient(u1, v1, u2, v2, x2, y2);
    bool meet;
    const double* end = nullptr;
    if (o1 == 0 && o2 == 0) {
      // Collinear: the ranges along the line overlap.
      const i64 dx = x2 - x1, dy = y2 - y1;
      const i64 t1 = (u1 - x1) * dx + (v1 - y1) * dy, t2 = (u2 - x1) * dx + (v2 - y1) * dy;
      meet = std::max(t1, t2) >= 0 && std::min(t1, t2) <= dx * dx + dy * dy;
    } else {
      meet = ((o1 >= 0 && o2 <= 0) || (o1 <= 0 && o2 >= 0)) && ((o3 >= 0 && o4 <= 0) || (o3 <= 0 && o4 >= 0));
      end = o1 == 0 ? q1 : o2 == 0 ? q2 : o3 == 0 ? p1 : o4 == 0 ? p2 : nullptr;
    }
    int32_t flag;
    double p[2];
    segments_int_2d(p1, p2, q1, q2, flag, p);
    ++pairs;
    meeting += meet ? 1 : 0;
    bool ok = flag == (meet ? 1 : 0);
    if (ok && meet) ok = end ? p[0] == end[0] && p[1] == end[1] : on_segment(p1, p2, p) && on_segment(q1, q2, p);
    if (!ok && ++wrong <= 5)
      ADD_FAILURE() << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") and (" << u1 << "," << v1 << ")-("
                    << u2 << "," << v2 << "): FLAG " << flag << ", P (" << p[0] << "," << p[1] << ")";
  };
  testing::for_each_integer_line(3, 2, [&](int x, int y, int dx, int dy) {
    testing::for_each_integer_line(3, 2, [&](int u, int v, int ex, int ey) {
      check(x, y, x + dx, y + dy, u, v, u + ex, v + ey);
    });
  });
  testing::for_each_integer_line(5, 3, [&](int x, int y, int dx, int dy) {
    for (int a = -3; a <= 3; ++a)
      for (int b = -3; b <= 3; ++b)
        if (a != b) check(x, y, x + dx, y + dy, x + a * dx, y + a * dy, x + b * dx, y + b * dy);
  });
  EXPECT_EQ(wrong, 0) << "of " << pairs << " pairs, " << meeting << " meeting";
}

TEST(GeometrySegments, DistancesOfHandCases) {
  const struct {
    const char* what;
    double p1[2], p2[2], q1[2], q2[2], dist;
  } rows[] = {
      {"crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 0},
      {"parallel", {0, 0}, {2, 0}, {1, 1}, {3, 1}, 1},
      {"collinear, overlapping", {0, 0}, {2, 0}, {1, 0}, {3, 0}, 0},
      {"collinear, apart", {0, 0}, {1, 0}, {3, 0}, {4, 0}, 2},
      {"lines cross outside", {0, 0}, {1, 0}, {3, -1}, {3, 1}, 2},
      {"T", {0, 0}, {4, 0}, {2, 3}, {2, 1}, 1},
      {"a single point", {1, 1}, {1, 1}, {0, 4}, {5, 4}, 3},
  };
  for (const auto& r : rows) {
    double d2, d3, d3old;
    segments_dist_2d(r.p1, r.p2, r.q1, r.q2, d2);
    EXPECT_EQ(d2, r.dist) << r.what;
    const double p1[] = {r.p1[0], 2, r.p1[1]}, p2[] = {r.p2[0], 2, r.p2[1]};
    const double q1[] = {r.q1[0], 2, r.q1[1]}, q2[] = {r.q2[0], 2, r.q2[1]};
    segments_dist_3d(p1, p2, q1, q2, d3);
    segments_dist_3d_old(p1, p2, q1, q2, d3old);
    EXPECT_TRUE(rel_near(d3, r.dist, 1e-15)) << r.what;
    EXPECT_NEAR(d3old, r.dist, 1e-7) << r.what;
  }
  // Skew: the nearest points of the lines lie outside the second segment.
  const double p1[] = {0, 0, 0}, p2[] = {1, 0, 0}, q1[] = {0, 1, 1}, q2[] = {0, 2, 1};
  double d, dold;
  segments_dist_3d(p1, p2, q1, q2, d);
  segments_dist_3d_old(p1, p2, q1, q2, dold);
  EXPECT_EQ(d, std::sqrt(2.0));
  EXPECT_TRUE(rel_near(dold, std::sqrt(2.0), 1e-15));
  // Q a single point: its distance from segment P by either method.
  const double s[] = {1, 3, 4}, r2[] = {2, 0, 0};
  segments_dist_3d(p1, r2, s, s, d);
  segments_dist_3d_old(p1, r2, s, s, dold);
  EXPECT_EQ(d, 5.0);
  EXPECT_EQ(dold, 5.0);
}

// Brute force over sampled parameter pairs: the routines are never above
// the sampled minimum and lie within its sampling error.
TEST(GeometrySegments, DistancesAgainstSampledPairs) {
  int32_t seed = 8642;
  const int n = 60;
  for (int k = 0; k < 150; ++k) {
    for (int32_t dim : {2, 3}) {
      const auto q = testing::random_points(dim, 4, -5.0, 5.0, seed);
      const double *p1 = &q[0], *p2 = &q[dim], *q1 = &q[2 * dim], *q2 = &q[3 * dim];
      double brute = 1e300;
      for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
          double a[3], b[3];
          for (int c = 0; c < dim; ++c) {
            a[c] = p1[c] + (double(i) / n) * (p2[c] - p1[c]);
            b[c] = q1[c] + (double(j) / n) * (q2[c] - q1[c]);
          }
          brute = std::min(brute, r8vec_distance(dim, a, b));
        }
      }
      const double error = (r8vec_distance(dim, p1, p2) + r8vec_distance(dim, q1, q2)) / (2.0 * n);
      std::vector<double> got;
      double d;
      if (dim == 2) {
        segments_dist_2d(p1, p2, q1, q2, d);
        got.push_back(d);
      } else {
        double line_dist;
        lines_exp_dist_3d(p1, p2, q1, q2, line_dist);
        segments_dist_3d(p1, p2, q1, q2, d);
        EXPECT_GE(d, line_dist - 1e-12);
        got.push_back(d);
        segments_dist_3d_old(p1, p2, q1, q2, d);
        EXPECT_TRUE(rel_near(d, got[0], 1e-9));
        got.push_back(d);
      }
      for (double g : got) {
        EXPECT_LE(g, brute + 1e-12);
        EXPECT_GE(g, brute - error - 1e-12);
      }
    }
  }
}

// Segments that cross: in the plane FLAG = 1 exactly when the distance is 0;
// in space the parabola method gives a finite 0, not the root of a rounding
// below it.
TEST(GeometrySegments, CrossingSegments) {
  int32_t seed = 97531;
  int crossing = 0;
  for (int k = 0; k < 500; ++k) {
    const auto q = testing::random_points(2, 4, -5.0, 5.0, seed);
    const double *p1 = &q[0], *p2 = &q[2], *q1 = &q[4], *q2 = &q[6];
    int32_t ival, flag;
    double x[2], p[2], dist, s, t1, t2;
    lines_exp_int_2d(p1, p2, q1, q2, ival, x);
    ASSERT_EQ(ival, 1);
    segment_point_coords_2d(p1, p2, x, s, t1);
    segment_point_coords_2d(q1, q2, x, s, t2);
    // Away from touching: both parameters clear of the ends.
    if (std::min({std::fabs(t1), std::fabs(t1 - 1), std::fabs(t2), std::fabs(t2 - 1)}) < 1e-9) continue;
    segments_int_2d(p1, p2, q1, q2, flag, p);
    segments_dist_2d(p1, p2, q1, q2, dist);
    EXPECT_EQ(flag == 1, dist == 0.0);
    EXPECT_EQ(p[0], x[0]);
    EXPECT_EQ(p[1], x[1]);
    if (flag == 1) ++crossing;
  }
  EXPECT_GT(crossing, 50);

  for (int k = 0; k < 300; ++k) {
    const auto q = testing::random_points(3, 3, -5.0, 5.0, seed);
    const double s = r8_uniform(0.05, 0.95, seed), t = r8_uniform(0.05, 0.95, seed);
    double x[3], q1[3], q2[3];
    for (int i = 0; i < 3; ++i) {
      x[i] = q[i] + s * (q[3 + i] - q[i]);
      q1[i] = x[i] - t * q[6 + i];
      q2[i] = x[i] + (1 - t) * q[6 + i];
    }
    double d, dold;
    segments_dist_3d(&q[0], &q[3], q1, q2, d);
    segments_dist_3d_old(&q[0], &q[3], q1, q2, dold);
    EXPECT_LE(d, 1e-12);
    EXPECT_TRUE(std::isfinite(dold));
    EXPECT_LE(dold, 1e-7);
  }
}

}  // namespace
}  // namespace orvel::geometry
