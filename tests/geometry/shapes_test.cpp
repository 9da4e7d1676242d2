#include "geometry/shapes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::icanaries;
using testing::rel_near;
using testing::vec_rel_near;

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

// Distance from P to the segment AB, and its nearest point.
double seg_dist(const double* a, const double* b, const double* p, double* near = nullptr) {
  const double dx = b[0] - a[0], dy = b[1] - a[1];
  const double len2 = dx * dx + dy * dy;
  double t = len2 == 0.0 ? 0.0 : ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len2;
  t = std::clamp(t, 0.0, 1.0);
  const double q[2] = {a[0] + t * dx, a[1] + t * dy};
  if (near != nullptr) {
    near[0] = q[0];
    near[1] = q[1];
  }
  return std::hypot(p[0] - q[0], p[1] - q[1]);
}

// The vertices of the regular polygon with centre PC, first vertex P1 and
// SIDE_NUM sides, the first repeated at the end.
std::vector<double> polygon(const double* pc, const double* p1, int side_num) {
  const double r = std::hypot(p1[0] - pc[0], p1[1] - pc[1]), a0 = std::atan2(p1[1] - pc[1], p1[0] - pc[0]);
  std::vector<double> v;
  for (int k = 0; k <= side_num; ++k) {
    v.push_back(pc[0] + r * std::cos(a0 + two_pi * k / side_num));
    v.push_back(pc[1] + r * std::sin(a0 + two_pi * k / side_num));
  }
  return v;
}

TEST(GeometryShapes, DistanceAndNearestPointOfTheSquare) {
  const double pc[2] = {0, 0}, p1[2] = {1, 0};
  const double s = 0.2 / std::sqrt(2.0), h = std::cos(pi / 4);
  const struct {
    double p[2], dist, pn[2];
  } rows[] = {
      {{0.4, 0.4}, s, {0.5, 0.5}},
      {{0.4, -0.4}, s, {0.5, -0.5}},
      {{0, 0}, h, {0.5, 0.5}},  // the centre: the middle of the first edge
      {{2, 0}, 1, {1, 0}},
  };
  for (const auto& r : rows) {
    double dist, pn[2], dist2;
    shape_point_dist_2d(pc, p1, 4, r.p, dist);
    shape_point_near_2d(pc, p1, 4, r.p, pn, dist2);
    EXPECT_TRUE(rel_near(dist, r.dist, 1e-15)) << r.p[0] << " " << r.p[1];
    EXPECT_EQ(dist2, dist);
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1]}, {r.pn[0], r.pn[1]}, 1e-15)) << r.p[0] << " " << r.p[1];
  }
  // A shape of radius 0 is its centre.
  const double p[2] = {3, 4};
  double dist, pn[2];
  shape_point_dist_2d(p1, p1, 5, p, dist);
  EXPECT_TRUE(rel_near(dist, std::sqrt(20.0), 1e-15));
  shape_point_near_2d(p1, p1, 5, p, pn, dist);
  EXPECT_EQ(pn[0], 1.0);
  EXPECT_EQ(pn[1], 0.0);
}

TEST(GeometryShapes, DistanceIsTheLeastOverTheEdges) {
  int32_t seed = 777;
  for (int k = 0; k < 60; ++k) {
    const double pc[2] = {r8_uniform(-5, 5, seed), r8_uniform(-5, 5, seed)};
    const double p1[2] = {pc[0] + r8_uniform(-3, 3, seed), pc[1] + r8_uniform(-3, 3, seed)};
    const int32_t sides = i4_uniform(3, 9, seed);
    const std::vector<double> v = polygon(pc, p1, sides);
    for (int m = 0; m < 20; ++m) {
      const std::vector<double> p = testing::random_points(2, 1, -10.0, 10.0, seed);
      double best = std::numeric_limits<double>::max();
      for (int e = 0; e < sides; ++e) best = std::min(best, seg_dist(&v[2 * e], &v[2 * e + 2], p.data()));
      double dist, dist2, pn[2];
      shape_point_dist_2d(pc, p1, sides, p.data(), dist);
      shape_point_near_2d(pc, p1, sides, p.data(), pn, dist2);
      EXPECT_TRUE(rel_near(dist, best, 1e-12)) << k << " " << m;
      EXPECT_EQ(dist2, dist);
      EXPECT_TRUE(rel_near(std::hypot(p[0] - pn[0], p[1] - pn[1]), dist, 1e-12));
    }
  }
}

TEST(GeometryShapes, RayCrossesTheBoundary) {
  const double pc[2] = {0, 0}, p1[2] = {1, 0}, pa[2] = {0, 0};
  const struct {
    double pb[2], pi[2];
  } rows[] = {{{1, 1}, {0.5, 0.5}}, {{-1, 0.5}, {-2.0 / 3, 1.0 / 3}}, {{0, -3}, {0, -1}}};
  for (const auto& r : rows) {
    double pi_[2];
    shape_ray_int_2d(pc, p1, 4, pa, r.pb, pi_);
    EXPECT_TRUE(vec_rel_near({pi_[0], pi_[1]}, {r.pi[0], r.pi[1]}, 1e-15)) << r.pb[0];
  }
  // From random inner points: the crossing lies on the ray and on the shape.
  int32_t seed = 4242;
  for (int k = 0; k < 300; ++k) {
    const double c[2] = {r8_uniform(-5, 5, seed), r8_uniform(-5, 5, seed)};
    const double q1[2] = {c[0] + r8_uniform(-3, 3, seed), c[1] + r8_uniform(-3, 3, seed)};
    const int32_t sides = i4_uniform(3, 9, seed);
    const double rin = std::hypot(q1[0] - c[0], q1[1] - c[1]) * std::cos(pi / sides);
    const double a = r8_uniform(0, two_pi, seed), d = r8_uniform(0, 0.9 * rin, seed);
    const double from[2] = {c[0] + d * std::cos(a), c[1] + d * std::sin(a)};
    const double b = r8_uniform(0, two_pi, seed);
    const double to[2] = {from[0] + std::cos(b), from[1] + std::sin(b)};
    double x[2], on;
    shape_ray_int_2d(c, q1, sides, from, to, x);
    const double rx = x[0] - from[0], ry = x[1] - from[1];
    EXPECT_TRUE(rel_near(rx * std::sin(b) - ry * std::cos(b), 0.0, 1e-12)) << k;
    EXPECT_GT(rx * std::cos(b) + ry * std::sin(b), 0.0) << k;
    shape_point_dist_2d(c, q1, sides, x, on);
    EXPECT_TRUE(rel_near(on, 0.0, 1e-12)) << k;
  }
  // From outside, the crossing with the accepted edge's line: seen from
  // (3, 0) the first edge's wedge sweeps most of the turn, and the line
  // x = 3 meets the line x + y = 1 below the ray's start.
  const double out_a[2] = {3, 0}, out_b[2] = {3, 1};
  double x[2];
  shape_ray_int_2d(pc, p1, 4, out_a, out_b, x);
  EXPECT_TRUE(vec_rel_near({x[0], x[1]}, {3, -2}, 1e-15));

  expect_fatal([&] { shape_ray_int_2d(pc, pc, 4, pa, p1, x); },
               {" ", "SHAPE_RAY_INT_2D - Fatal error!", "  The shape has radius zero."});
  expect_fatal([&] { shape_ray_int_2d(pc, p1, 0, pa, p1, x); },
               {" ", "SHAPE_RAY_INT_2D - Fatal error!", "  Cannot find intersection of ray and shape."});
}

struct segment_set {
  std::vector<double> p1, p2;
};

TEST(GeometryShapes, StringsByHand) {
  {
    std::vector<double> p1 = {1, 0, 0, 0, 3, 0}, p2 = {2, 0, 1, 0, 2, 0};
    std::vector<int32_t> order(3), string(3);
    int32_t string_num = -1;
    string_2d(3, p1.data(), p2.data(), string_num, order.data(), string.data());
    EXPECT_EQ(string_num, 1);
    EXPECT_EQ(p1, std::vector<double>({0, 0, 1, 0, 2, 0}));
    EXPECT_EQ(p2, std::vector<double>({1, 0, 2, 0, 3, 0}));
    EXPECT_EQ(order, std::vector<int32_t>({-1, 0, 1}));
    EXPECT_EQ(string, std::vector<int32_t>({1, 1, 1}));
  }
  {
    std::vector<double> p1 = {0, 0, 5, 5}, p2 = {1, 0, 6, 6};
    std::vector<int32_t> order(2), string(2);
    int32_t string_num = -1;
    string_2d(2, p1.data(), p2.data(), string_num, order.data(), string.data());
    EXPECT_EQ(string_num, 2);
    EXPECT_EQ(order, std::vector<int32_t>({0, 0}));
    EXPECT_EQ(string, std::vector<int32_t>({1, 2}));
  }
  {
    // The square closes in the first pass, before the spur at (1, 1) is
    // scanned again: the spur is a string of its own.
    std::vector<double> p1 = {0, 0, 1, 1, 1, 0, 1, 1, 0, 1}, p2 = {1, 0, 2, 2, 1, 1, 0, 1, 0, 0};
    std::vector<int32_t> order(5), string(5);
    int32_t string_num = -1;
    string_2d(5, p1.data(), p2.data(), string_num, order.data(), string.data());
    EXPECT_EQ(string_num, 2);
    EXPECT_EQ(string, std::vector<int32_t>({1, 1, 1, 1, 2}));
    EXPECT_EQ(order, std::vector<int32_t>({-1, 0, 1, 2, 0}));
    EXPECT_EQ(p1, std::vector<double>({0, 1, 0, 0, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(p2, std::vector<double>({0, 0, 1, 0, 1, 1, 0, 1, 2, 2}));
  }
  // No segments: no strings, nothing written.
  std::vector<double> p1 = canaries(2), p2 = canaries(2);
  std::vector<int32_t> order = icanaries(1), string = icanaries(1);
  int32_t string_num = -1;
  string_2d(0, p1.data(), p2.data(), string_num, order.data(), string.data());
  EXPECT_EQ(string_num, 0);
  EXPECT_EQ(order, icanaries(1));
  EXPECT_EQ(string, icanaries(1));
  EXPECT_EQ(p1, canaries(2));
}

TEST(GeometryShapes, StringsRebuildShuffledChainsAndLoops) {
  int32_t seed = 1357;
  for (int k = 0; k < 40; ++k) {
    // Components: open chains and closed loops through distinct random points.
    const int comps = i4_uniform(1, 4, seed);
    std::vector<std::pair<std::vector<double>, std::vector<double>>> segs;
    std::vector<int> sizes;
    for (int c = 0; c < comps; ++c) {
      const bool loop = i4_uniform(0, 1, seed) == 1;
      const int npts = i4_uniform(loop ? 3 : 2, 8, seed);
      const std::vector<double> pts = testing::random_points(2, npts, -10.0, 10.0, seed);
      const int nseg = loop ? npts : npts - 1;
      for (int s = 0; s < nseg; ++s) {
        const int t = (s + 1) % npts;
        segs.push_back({{pts[2 * s], pts[2 * s + 1]}, {pts[2 * t], pts[2 * t + 1]}});
      }
      sizes.push_back(nseg);
    }
    // Shuffle and reverse at random.
    const int32_t n = static_cast<int32_t>(segs.size());
    for (int32_t i = n - 1; i > 0; --i) std::swap(segs[i], segs[i4_uniform(0, i, seed)]);
    std::vector<double> p1, p2;
    for (auto& s : segs) {
      if (i4_uniform(0, 1, seed) == 1) std::swap(s.first, s.second);
      p1.insert(p1.end(), s.first.begin(), s.first.end());
      p2.insert(p2.end(), s.second.begin(), s.second.end());
    }
    std::vector<int32_t> order(n), string(n);
    int32_t string_num = 0;
    string_2d(n, p1.data(), p2.data(), string_num, order.data(), string.data());
    EXPECT_EQ(string_num, comps) << k;
    std::vector<int> count(comps + 1, 0);
    for (int32_t i = 0; i < n; ++i) {
      ASSERT_GE(string[i], 1);
      ASSERT_LE(string[i], comps);
      ++count[string[i]];
      if (i + 1 < n && string[i + 1] == string[i]) {
        EXPECT_EQ(order[i + 1], order[i] + 1) << k;
        EXPECT_EQ(p2[2 * i], p1[2 * i + 2]) << k;
        EXPECT_EQ(p2[2 * i + 1], p1[2 * i + 3]) << k;
      } else if (i + 1 < n) {
        EXPECT_EQ(string[i + 1], string[i] + 1) << k;
      }
    }
    std::vector<int> got(count.begin() + 1, count.end());
    std::sort(got.begin(), got.end());
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(got, sizes) << k;
    // The same segments, as unordered pairs.
    std::vector<std::vector<double>> before, after;
    for (const auto& s : segs) before.push_back(std::min(s.first, s.second) == s.first
                                                    ? std::vector<double>{s.first[0], s.first[1], s.second[0], s.second[1]}
                                                    : std::vector<double>{s.second[0], s.second[1], s.first[0], s.first[1]});
    for (int32_t i = 0; i < n; ++i) {
      std::vector<double> a = {p1[2 * i], p1[2 * i + 1]}, b = {p2[2 * i], p2[2 * i + 1]};
      if (b < a) std::swap(a, b);
      after.push_back({a[0], a[1], b[0], b[1]});
    }
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after) << k;
  }
}

TEST(GeometryShapes, AngleBoxCases) {
  const struct {
    const char* what;
    double dist, p1[2], p2[2], p3[2], p4[2], p5[2];
  } rows[] = {
      {"straight", 1, {-1, 0}, {0, 0}, {1, 0}, {0, -1}, {0, 1}},
      {"left turn", 1, {-1, 0}, {0, 0}, {0, 1}, {-1, 1}, {1, -1}},
      {"folds back", 1, {-1, 0}, {0, 0}, {-1, 0.01}, {1, 1}, {1, -1}},
      {"DIST = 0", 0, {-1, 0}, {2, 3}, {1, 0}, {2, 3}, {2, 3}},
      {"P1 = P2: the second leg's normal", 1, {0, 0}, {0, 0}, {1, 0}, {0, -1}, {0, 1}},
      {"P2 = P3: the first leg's normal", 2, {-1, 0}, {0, 0}, {0, 0}, {0, 2}, {0, -2}},
  };
  for (const auto& r : rows) {
    double p4[2], p5[2];
    angle_box_2d(r.dist, r.p1, r.p2, r.p3, p4, p5);
    EXPECT_TRUE(vec_rel_near({p4[0], p4[1], p5[0], p5[1]}, {r.p4[0], r.p4[1], r.p5[0], r.p5[1]}, 1e-15)) << r.what;
  }
  // Random corners: both points at DIST from the lines of both legs.
  int32_t seed = 9001;
  for (int k = 0; k < 200; ++k) {
    const std::vector<double> p = testing::random_points(2, 3, -5.0, 5.0, seed);
    const double* a = &p[0];
    const double* b = &p[2];
    const double* c = &p[4];
    const double u[2] = {a[0] - b[0], a[1] - b[1]}, w[2] = {c[0] - b[0], c[1] - b[1]};
    const double cosine = (u[0] * w[0] + u[1] * w[1]) / (std::hypot(u[0], u[1]) * std::hypot(w[0], w[1]));
    if (cosine > 0.9) continue;  // nearly folded back: a square end instead
    const double dist = r8_uniform(0.1, 2.0, seed);
    double p4[2], p5[2];
    angle_box_2d(dist, a, b, c, p4, p5);
    const auto line_dist = [](const double* x, const double* y, const double* q) {
      return std::fabs((y[0] - x[0]) * (q[1] - x[1]) - (y[1] - x[1]) * (q[0] - x[0])) /
             std::hypot(y[0] - x[0], y[1] - x[1]);
    };
    for (const double* q : {static_cast<const double*>(p4), static_cast<const double*>(p5)}) {
      EXPECT_TRUE(rel_near(line_dist(a, b, q), dist, 1e-10)) << k;
      EXPECT_TRUE(rel_near(line_dist(b, c, q), dist, 1e-10)) << k;
    }
    EXPECT_TRUE(rel_near((p4[0] + p5[0]) / 2, b[0], 1e-12));  // symmetric about the corner
  }
  const double q[2] = {1.5, -2};
  double p4[2], p5[2];
  expect_fatal([&] { angle_box_2d(1, q, q, q, p4, p5); },
               {" ", "ANGLE_BOX_2D - Fatal error!", "  Input points P1 = P2 = P3.",
                "  P1 =    1.50000      -2.00000    "});
}

TEST(GeometryShapes, TubeAroundAPath) {
  // A straight path: the ends reach past the path, and at the last point
  // the sides are swapped so that P1 stays below the path.
  const double p[6] = {0, 0, 1, 0, 2, 0};
  std::vector<double> p1(6), p2(6);
  tube_2d(1, 3, p, p1.data(), p2.data());
  EXPECT_TRUE(vec_rel_near(p1, {-2, -1, 1, -1, 4, -1}, 1e-15));
  EXPECT_TRUE(vec_rel_near(p2, {-2, 1, 1, 1, 4, 1}, 1e-15));

  // A random zigzag: P1 stays on one side of each segment it follows.
  int32_t seed = 31337;
  for (int k = 0; k < 30; ++k) {
    const int32_t n = 6;
    std::vector<double> q;
    double x = 0, y = 0;
    for (int i = 0; i < n; ++i) {
      q.push_back(x);
      q.push_back(y);
      x += r8_uniform(1.0, 2.0, seed);
      y += r8_uniform(-1.0, 1.0, seed);
    }
    std::vector<double> s1(2 * n), s2(2 * n);
    tube_2d(0.25, n, q.data(), s1.data(), s2.data());
    for (int i = 1; i < n - 1; ++i) {
      const auto side = [&](const double* r) {
        return (q[2 * i] - q[2 * i - 2]) * (r[1] - q[2 * i - 1]) - (q[2 * i + 1] - q[2 * i - 1]) * (r[0] - q[2 * i - 2]);
      };
      EXPECT_EQ(side(&s1[2 * i - 2]) < 0, side(&s1[2 * i]) < 0) << k << " " << i;
      EXPECT_NE(side(&s1[2 * i]) < 0, side(&s2[2 * i]) < 0) << k << " " << i;
    }
  }

  std::vector<double> o(8);
  expect_fatal([&] { tube_2d(1, 2, p, o.data(), o.data()); },
               {" ", "TUBE_2D - Fatal error!", "  N must be at least 3", "  but your input value was N =        2"});
  const double twice[8] = {0, 0, 1, 0, 1, 0, 2, 2};
  expect_fatal([&] { tube_2d(1, 4, twice, o.data(), o.data()); },
               {" ", "TUBE_2D - Fatal error!", "  P(1:2,I) = P(1:2,I+1) for I =        2",
                "  P(1:2,I) =    1.00000       0.00000    "});
  // A closed path repeats its first point at the end: that pair is not compared.
  const double closed[8] = {0, 0, 1, 0, 1, 1, 0, 0};
  tube_2d(0.5, 4, closed, o.data(), o.data());
}

}  // namespace
}  // namespace orvel::geometry
