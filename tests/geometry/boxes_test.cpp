#include "geometry/boxes.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::canary;
using testing::expect_fatal;
using testing::random_points;
using testing::rel_near;
using testing::vec_rel_near;

TEST(GeometryBoxes, ContainmentAgreesAcrossRoutines) {
  const struct {
    double p[2];
    bool inside;
  } rows[] = {{{0, 1}, true}, {{1, 1}, true}, {{1.0000001, 0.5}, false}, {{0.5, -1e-300}, false}, {{0, 0}, true}};
  for (const auto& r : rows) {
    EXPECT_EQ(box_01_contains_point_2d(r.p), r.inside) << r.p[0];
    EXPECT_EQ(box_01_contains_point_nd(2, r.p), r.inside) << r.p[0];
  }
  const double nothing[1] = {5};
  EXPECT_TRUE(box_contains_point_nd(0, nothing, nothing, nothing));
  EXPECT_TRUE(box_01_contains_point_nd(0, nothing));
  EXPECT_TRUE(box_contains_segment_nd(-1, nothing, nothing, nothing, nothing));

  int32_t seed = 55;
  const double zero[4] = {0, 0, 0, 0}, one[4] = {1, 1, 1, 1};
  for (int k = 0; k < 500; ++k) {
    const std::vector<double> a = random_points(2, 1, -2, 2, seed), b = random_points(2, 1, -2, 2, seed);
    const double lo[2] = {std::min(a[0], b[0]), std::min(a[1], b[1])};
    const double hi[2] = {std::max(a[0], b[0]), std::max(a[1], b[1])};
    const std::vector<double> p = random_points(2, 1, -2.5, 2.5, seed);
    const bool in = lo[0] <= p[0] && p[0] <= hi[0] && lo[1] <= p[1] && p[1] <= hi[1];
    EXPECT_EQ(box_contains_point_2d(lo, hi, p.data()), in);
    EXPECT_EQ(box_contains_point_nd(2, lo, hi, p.data()), in);
    const std::vector<double> q = random_points(4, 1, -0.5, 1.5, seed);
    EXPECT_EQ(box_01_contains_point_nd(4, q.data()), box_contains_point_nd(4, zero, one, q.data()));
    EXPECT_EQ(box_01_contains_point_2d(q.data()), box_contains_point_2d(zero, one, q.data()));
    const std::vector<double> r = random_points(4, 1, -0.5, 1.5, seed);
    EXPECT_EQ(box_contains_segment_nd(4, zero, one, q.data(), r.data()),
              box_01_contains_point_nd(4, q.data()) && box_01_contains_point_nd(4, r.data()));
  }
}

// The box [-1, 3] x [2, 5]: every corner and a point inside each edge
// belongs to it; the same points moved by the least step outward do not.
TEST(GeometryBoxes, EdgesAndCornersBelongToTheBox) {
  const double lo[2] = {-1, 2}, hi[2] = {3, 5};
  const struct {
    const char* what;
    double p[2], out[2];  // the point and its outward direction
  } rows[] = {
      {"bottom edge", {1, 2}, {0, -1}},         {"right edge", {3, 3.5}, {1, 0}},
      {"top edge", {1, 5}, {0, 1}},             {"left edge", {-1, 3.5}, {-1, 0}},
      {"lower left corner", {-1, 2}, {-1, -1}}, {"lower right corner", {3, 2}, {1, -1}},
      {"upper right corner", {3, 5}, {1, 1}},   {"upper left corner", {-1, 5}, {-1, 1}},
  };
  for (const auto& r : rows) {
    EXPECT_TRUE(box_contains_point_2d(lo, hi, r.p)) << r.what;
    EXPECT_TRUE(box_contains_point_nd(2, lo, hi, r.p)) << r.what;
    for (int i = 0; i < 2; ++i) {
      if (r.out[i] == 0) continue;
      double q[2] = {r.p[0], r.p[1]};
      q[i] = std::nextafter(q[i], r.out[i] * 1e300);
      EXPECT_FALSE(box_contains_point_2d(lo, hi, q)) << r.what << ", moved along " << i + 1;
      EXPECT_FALSE(box_contains_point_nd(2, lo, hi, q)) << r.what << ", moved along " << i + 1;
    }
  }
  // The unit box likewise, and a segment along its top edge.
  const double top_a[2] = {0, 1}, top_b[2] = {1, 1}, top_mid[2] = {0.5, 1}, zero[2] = {0, 0}, one[2] = {1, 1};
  EXPECT_TRUE(box_01_contains_point_2d(top_mid));
  EXPECT_TRUE(box_01_contains_point_nd(2, top_mid));
  EXPECT_TRUE(box_contains_segment_nd(2, zero, one, top_a, top_b));
}

TEST(GeometryBoxes, SegmentClipping) {
  const double p1[2] = {0, 0}, p2[2] = {1, 1};
  const struct {
    const char* what;
    double a[2], b[2];
    int32_t ival;
    double ca[2], cb[2];
  } rows[] = {
      {"PA moved", {-1, 0.5}, {0.5, 0.5}, 1, {0, 0.5}, {0.5, 0.5}},
      {"PB moved", {0.5, 0.5}, {2, 0.5}, 2, {0.5, 0.5}, {1, 0.5}},
      {"both moved", {-1, 0.5}, {2, 0.5}, 3, {0, 0.5}, {1, 0.5}},
      {"inside", {0, 0}, {1, 1}, 0, {0, 0}, {1, 1}},
      {"diagonal through two sides", {-0.5, 0.25}, {1.5, 1.25}, 3, {0, 0.5}, {1, 1}},
      {"through the bottom and the right", {0.25, -0.5}, {1.25, 0.5}, 3, {0.75, 0}, {1, 0.25}},
      {"outside below the corner", {0.5, -1}, {2, 0.5}, -1, {0, 0}, {0, 0}},
  };
  for (const auto& r : rows) {
    double a[2] = {r.a[0], r.a[1]}, b[2] = {r.b[0], r.b[1]};
    int32_t ival;
    box_segment_clip_2d(p1, p2, a, b, ival);
    EXPECT_EQ(ival, r.ival) << r.what;
    if (r.ival >= 0) {
      EXPECT_TRUE(vec_rel_near({a[0], a[1], b[0], b[1]}, {r.ca[0], r.ca[1], r.cb[0], r.cb[1]}, 1e-15)) << r.what;
    }
  }
  // Rejected at the first bound, untouched; rejected at a later bound,
  // with what the earlier bounds did.
  double a[2] = {2, 0}, b[2] = {3, 1};
  int32_t ival;
  box_segment_clip_2d(p1, p2, a, b, ival);
  EXPECT_EQ(ival, -1);
  EXPECT_TRUE(vec_rel_near({a[0], a[1], b[0], b[1]}, {2, 0, 3, 1}, 0));
  double c[2] = {-1, 3}, d[2] = {0.5, 2};
  box_segment_clip_2d(p1, p2, c, d, ival);
  EXPECT_EQ(ival, -1);
  EXPECT_TRUE(vec_rel_near({c[0], c[1], d[0], d[1]}, {0, 7.0 / 3, 0.5, 2}, 1e-15));

  // Random segments: clipped ends lie in the box and on the original line.
  int32_t seed = 999;
  const double lo[2] = {-1, 2}, hi[2] = {3, 4};
  int clipped = 0;
  for (int k = 0; k < 500; ++k) {
    const std::vector<double> s = random_points(2, 2, -3, 6, seed);
    double e[2] = {s[0], s[1]}, f[2] = {s[2], s[3]};
    box_segment_clip_2d(lo, hi, e, f, ival);
    if (ival < 0) continue;
    ++clipped;
    for (const double* q : {static_cast<const double*>(e), static_cast<const double*>(f)}) {
      EXPECT_TRUE(q[0] >= lo[0] - 1e-12 && q[0] <= hi[0] + 1e-12 && q[1] >= lo[1] - 1e-12 && q[1] <= hi[1] + 1e-12)
          << k;
      const double cross = (s[2] - s[0]) * (q[1] - s[1]) - (s[3] - s[1]) * (q[0] - s[0]);
      EXPECT_TRUE(rel_near(cross, 0.0, 1e-11)) << k;
    }
    EXPECT_EQ((ival & 1) != 0, e[0] != s[0] || e[1] != s[1]) << k;
    EXPECT_EQ((ival & 2) != 0, f[0] != s[2] || f[1] != s[3]) << k;
  }
  EXPECT_GT(clipped, 100);
}

TEST(GeometryBoxes, RayLeavesTheBox) {
  const double p1[2] = {0, 0}, p2[2] = {5, 3}, pa[2] = {2, 1};
  const struct {
    double pb[2], pint[2];
  } rows[] = {{{3, 1}, {5, 1}}, {{2, 2}, {2, 3}}, {{1, 0}, {1, 0}}, {{0, 1}, {0, 1}}, {{5, 3}, {5, 3}}};
  for (const auto& r : rows) {
    double pint[2];
    box_ray_int_2d(p1, p2, pa, r.pb, pint);
    EXPECT_TRUE(vec_rel_near({pint[0], pint[1]}, {r.pint[0], r.pint[1]}, 1e-15)) << r.pb[0] << " " << r.pb[1];
  }
  int32_t seed = 2468;
  for (int k = 0; k < 300; ++k) {
    const std::vector<double> a = {r8_uniform(0.01, 4.99, seed), r8_uniform(0.01, 2.99, seed)};
    const double t = r8_uniform(0, testing::two_pi, seed);
    const double b[2] = {a[0] + std::cos(t), a[1] + std::sin(t)};
    double q[2];
    box_ray_int_2d(p1, p2, a.data(), b, q);
    const double edge = std::min(std::min(std::fabs(q[0]), std::fabs(q[0] - 5)), std::min(std::fabs(q[1]), std::fabs(q[1] - 3)));
    EXPECT_TRUE(rel_near(edge, 0.0, 1e-12)) << k;
    EXPECT_TRUE(q[0] > -1e-12 && q[0] < 5 + 1e-12 && q[1] > -1e-12 && q[1] < 3 + 1e-12) << k;
    EXPECT_TRUE(rel_near((q[0] - a[0]) * std::sin(t) - (q[1] - a[1]) * std::cos(t), 0.0, 1e-12)) << k;
    EXPECT_GT((q[0] - a[0]) * std::cos(t) + (q[1] - a[1]) * std::sin(t), 0.0) << k;
  }
  // No side's wedge holds a point that is not a number.
  double pint[2];
  const double nowhere[2] = {std::nan(""), 1};
  expect_fatal([&] { box_ray_int_2d(p1, p2, pa, nowhere, pint); },
               {" ", "BOX_RAY_INT_2D - Fatal error!", "  No intersection could be found."});
}

TEST(GeometryBoxes, HalfPlane) {
  const double pa[2] = {0, 0}, pb[2] = {1, 0};
  const struct {
    double p[2];
    bool inside;
  } rows[] = {{{0.5, 1}, true}, {{7, 0}, true}, {{0.5, -1}, false}, {{-3, 1e-9}, true}};
  for (const auto& r : rows) EXPECT_EQ(halfplane_contains_point_2d(pa, pb, r.p), r.inside) << r.p[0];
}

// Area of a planar polygon in space (points as columns), by the fan of
// cross products.
double polygon_area_3d(int n, const double* p) {
  double s[3] = {0, 0, 0};
  for (int k = 1; k + 1 < n; ++k) {
    const double u[3] = {p[3 * k] - p[0], p[3 * k + 1] - p[1], p[3 * k + 2] - p[2]};
    const double v[3] = {p[3 * k + 3] - p[0], p[3 * k + 4] - p[1], p[3 * k + 5] - p[2]};
    s[0] += u[1] * v[2] - u[2] * v[1];
    s[1] += u[2] * v[0] - u[0] * v[2];
    s[2] += u[0] * v[1] - u[1] * v[0];
  }
  return 0.5 * std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
}

TEST(GeometryBoxes, HalfSpacePartsOfATriangle) {
  {
    const double t[9] = {0, 0, 0, 2, 0, 2, 0, 2, 2};
    std::vector<double> pint = canaries(12);
    int32_t n;
    halfspace_imp_triangle_int_3d(0, 0, 1, -1, t, n, pint.data());
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(vec_rel_near(std::vector<double>(pint.begin(), pint.begin() + 9), {0, 0, 0, 1, 0, 1, 0, 1, 1}, 0));
    EXPECT_EQ(pint[9], canary);
  }
  {
    // All outside: nothing; all inside: the vertices in order; a vertex at
    // distance 0 is a vertex and makes no edge point.
    const double t[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::vector<double> pint = canaries(12);
    int32_t n;
    halfspace_triangle_int_3d(1, 2, 3, t, n, pint.data());
    EXPECT_EQ(n, 0);
    EXPECT_EQ(pint, canaries(12));
    halfspace_triangle_int_3d(-1, 0, -3, t, n, pint.data());
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::vector<double>(pint.begin(), pint.begin() + 9), std::vector<double>(t, t + 9));
    halfspace_triangle_int_3d(0, 1, -1, t, n, pint.data());
    EXPECT_EQ(n, 3);  // vertex 1, the zero of edge 2-3, vertex 3
    EXPECT_TRUE(vec_rel_near(std::vector<double>(pint.begin(), pint.begin() + 9), {1, 2, 3, 5.5, 6.5, 7.5, 7, 8, 9}, 1e-15));
  }
  // A random plane cuts a random triangle: the parts on either side add up
  // to the triangle; the normal form agrees with the implicit one.
  int32_t seed = 1212;
  for (int k = 0; k < 200; ++k) {
    const std::vector<double> t = testing::random_triangle_3d(seed);
    const std::vector<double> n = testing::random_direction(3, seed);
    // A point of the plane near the triangle's centroid.
    const double pp[3] = {(t[0] + t[3] + t[6]) / 3 + r8_uniform(-2, 2, seed),
                          (t[1] + t[4] + t[7]) / 3 + r8_uniform(-2, 2, seed),
                          (t[2] + t[5] + t[8]) / 3 + r8_uniform(-2, 2, seed)};
    const double mn[3] = {-n[0], -n[1], -n[2]};
    std::vector<double> below(12), above(12), imp(12);
    int32_t nb, na, ni;
    halfspace_normal_triangle_int_3d(pp, n.data(), t.data(), nb, below.data());
    halfspace_normal_triangle_int_3d(pp, mn, t.data(), na, above.data());
    const double d = -(n[0] * pp[0] + n[1] * pp[1] + n[2] * pp[2]);
    halfspace_imp_triangle_int_3d(n[0], n[1], n[2], d, t.data(), ni, imp.data());
    EXPECT_EQ(ni, nb);
    EXPECT_TRUE(vec_rel_near(std::vector<double>(imp.begin(), imp.begin() + 3 * ni),
                             std::vector<double>(below.begin(), below.begin() + 3 * nb), 1e-12));
    EXPECT_TRUE(nb + na == 3 || nb + na == 7) << k;
    const double whole = polygon_area_3d(3, t.data());
    const double parts = (nb >= 3 ? polygon_area_3d(nb, below.data()) : 0) + (na >= 3 ? polygon_area_3d(na, above.data()) : 0);
    EXPECT_TRUE(rel_near(parts, whole, 1e-12)) << k;
    for (int j = 0; j < nb; ++j)
      EXPECT_LE(n[0] * (below[3 * j] - pp[0]) + n[1] * (below[3 * j + 1] - pp[1]) + n[2] * (below[3 * j + 2] - pp[2]),
                1e-12);
  }
}

}  // namespace
}  // namespace orvel::geometry
