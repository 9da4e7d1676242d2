#include "geometry/ellipses.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

TEST(GeometryEllipses, NearestPointByHand) {
  const struct {
    const char* what;
    double r1, r2, p[2], pn[2], tol;
  } rows[] = {
      {"beyond the x vertex", 2, 1, {3, 0}, {2, 0}, 0},
      {"beyond the y vertex: cos(pi/2) times 2", 2, 1, {0, 3}, {1.2246467991473532e-16, 1}, 0},
      {"a circle: f is 0 at the start", 1, 1, {3, 4}, {0.6, 0.8}, 1e-15},
      // The x vertex test takes R1 as passed: R1 x = -6 < 3, so Newton runs
      // from y = 2^-26 |R2| and stops next to the vertex.
      {"negative axes: x vertex test fails", -2, -1, {-3, 0}, {-2, 0}, 1e-8},
      // A zero semi-axis: the ellipse is a segment of the other axis.
      {"R1 = 0", 0, 2, {3, 1}, {0, 1}, 0},
      {"R1 = 0, beyond the end", 0, 2, {3, 5}, {0, 2}, 0},
      {"R1 = 0, beyond the other end", 0, -2, {-1, -7}, {0, -2}, 0},
      {"R2 = 0", -3, 0, {5, 4}, {3, 0}, 0},
      {"R2 = 0, within", 3, 0, {-1, 2}, {-1, 0}, 0},
      {"both zero", 0, 0, {-1, 2}, {0, 0}, 0},
  };
  for (const auto& r : rows) {
    double pn[2];
    const std::string out = stdout_of([&] { ellipse_point_near_2d(r.r1, r.r2, r.p, pn); });
    EXPECT_EQ(out, "") << r.what;
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1]}, {r.pn[0], r.pn[1]}, r.tol)) << r.what;
  }
  double d;
  const double above[2] = {0, 3}, beside[2] = {3, 0};
  ellipse_point_dist_2d(2, 1, above, d);
  EXPECT_EQ(d, 2.0);
  ellipse_point_dist_2d(2, 1, beside, d);
  EXPECT_EQ(d, 1.0);
  const double p[2] = {3, 0.5};
  double pn[2];
  ellipse_point_near_2d(2, 1, p, pn);
  EXPECT_NEAR(pn[0], 1.97, 0.01);
  EXPECT_NEAR(pn[1], 0.16, 0.01);
  // Inside, on the x axis short of the cusp (1.5, 0): the nearest points
  // are off the axis, at x = a^2 P(1) / (a^2 - b^2) = 4/3, y = sqrt(5) / 3,
  // 0.816 away (the vertex, also a normal foot, is 1 away).  The iteration
  // starts just above the axis and stays in the first quadrant.
  const double inner[2] = {1, 0};
  ellipse_point_near_2d(2, 1, inner, pn);
  EXPECT_NEAR(pn[0], 4.0 / 3.0, 1e-7);
  EXPECT_NEAR(pn[1], std::sqrt(5.0) / 3.0, 1e-7);
}

TEST(GeometryEllipses, NearestPointIsNearestNormalAndMirrors) {
  int32_t seed = 5150;
  for (int k = 0; k < 300; ++k) {
    const double a = r8_uniform(0.5, 4.0, seed), b = r8_uniform(0.5, 4.0, seed);
    const double t = r8_uniform(0.0, two_pi, seed), s = r8_uniform(1.05, 3.0, seed);
    const double p[2] = {s * a * std::cos(t), s * b * std::sin(t)};  // outside
    double pn[2];
    ellipse_point_near_2d(a, b, p, pn);
    EXPECT_TRUE(rel_near(pn[0] * pn[0] / (a * a) + pn[1] * pn[1] / (b * b), 1.0, 1e-13)) << k;
    // P - PN along the gradient (x / a^2, y / b^2) of the ellipse.
    const double gx = pn[0] / (a * a), gy = pn[1] / (b * b);
    const double cross = (p[0] - pn[0]) * gy - (p[1] - pn[1]) * gx;
    EXPECT_TRUE(rel_near(cross / std::hypot(gx, gy), 0.0, 1e-11)) << k;
    // PN lies in P's quadrant and no point of a fine scan of the ellipse is
    // nearer (the scan's step bounds how much farther its best can be).
    EXPECT_GE(pn[0] * p[0], 0.0) << k;
    EXPECT_GE(pn[1] * p[1], 0.0) << k;
    double dist;
    ellipse_point_dist_2d(a, b, p, dist);
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < 20000; ++i) {
      const double u = two_pi * i / 20000.0;
      best = std::min(best, std::hypot(p[0] - a * std::cos(u), p[1] - b * std::sin(u)));
    }
    EXPECT_LE(dist, best + 1e-12) << k;
    EXPECT_GE(dist, best - 1e-6) << k;
    // Mirror images of P give mirror images of PN.
    for (const double sx : {-1.0, 1.0})
      for (const double sy : {-1.0, 1.0}) {
        const double q[2] = {sx * p[0], sy * p[1]};
        double qn[2];
        ellipse_point_near_2d(a, b, q, qn);
        EXPECT_EQ(qn[0], sx * pn[0]);
        EXPECT_EQ(qn[1], sy * pn[1]);
      }
  }
  // An eccentric ellipse on which the plain Newton iteration leaves the
  // first quadrant and stops at the normal foot above the x axis, although
  // P lies below it: the nearest point is below, nearer than that foot.
  const double a = 3.9233704782255545, b = 0.58763057392914653;
  const double p[2] = {2.5098656630444252, -1.1089653647732385};
  double pn[2];
  ellipse_point_near_2d(a, b, p, pn);
  EXPECT_LT(pn[1], 0.0);
  const double above[2] = {pn[0], -pn[1]};
  EXPECT_LT(std::hypot(p[0] - pn[0], p[1] - pn[1]), std::hypot(p[0] - above[0], p[1] - above[1]));
  const double gx = pn[0] / (a * a), gy = pn[1] / (b * b);
  EXPECT_TRUE(rel_near(((p[0] - pn[0]) * gy - (p[1] - pn[1]) * gx) / std::hypot(gx, gy), 0.0, 1e-11));
}

TEST(GeometryEllipses, IterationLimitWarning) {
  const double p[2] = {std::numeric_limits<double>::quiet_NaN(), 0.5};
  double pn[2], dist = 0.0;
  const std::string want = lines({" ", "ELLIPSE_POINT_NEAR_2D - Warning!", "  Reached iteration limit.",
                                  "  T =      NaN", "  F =            NaN"});
  EXPECT_EQ(stdout_of([&] { ellipse_point_near_2d(2, 1, p, pn); }), want);
  EXPECT_TRUE(std::isnan(pn[0]));
  EXPECT_EQ(stdout_of([&] { ellipse_point_dist_2d(2, 1, p, dist); }), want);
  EXPECT_TRUE(std::isnan(dist));
}

TEST(GeometryEllipses, PointsAroundAndAlong) {
  const double o[2] = {0, 0};
  std::vector<double> p = canaries(10);
  ellipse_points_2d(o, 2, 1, pi / 2, 4, p.data());
  EXPECT_TRUE(vec_rel_near(std::vector<double>(p.begin(), p.begin() + 8), {0, 2, -1, 0, 0, -2, 1, 0}, 1e-15));
  EXPECT_EQ(p[8], testing::canary);

  // An arc given backwards runs through the parameter angle 2 pi.
  std::vector<double> a(6);
  ellipse_points_arc_2d(o, 2, 1, 0, 1.5 * pi, 0.5 * pi, 3, a.data());
  EXPECT_TRUE(vec_rel_near(a, {0, -1, 2, 0, 0, 1}, 1e-15));
  ellipse_points_arc_2d(o, 2, 1, 0, 1.5 * pi, 0.5 * pi, 1, a.data());
  EXPECT_TRUE(vec_rel_near({a[0], a[1]}, {2, 0}, 1e-15));
  std::vector<double> none = canaries(2);
  ellipse_points_2d(o, 2, 1, 0, 0, none.data());
  ellipse_points_arc_2d(o, 2, 1, 0, 0, 1, -1, none.data());
  super_ellipse_points_2d(o, 2, 1, 2, 0, 0, none.data());
  EXPECT_EQ(none, canaries(2));

  // Random rotated ellipses and super-ellipses: every point satisfies the
  // curve's equation in the turned frame; EXPO = 1 is the ellipse itself.
  int32_t seed = 42;
  for (int k = 0; k < 50; ++k) {
    const double pc[2] = {r8_uniform(-5, 5, seed), r8_uniform(-5, 5, seed)};
    const double r1 = r8_uniform(0.5, 3, seed), r2 = r8_uniform(0.5, 3, seed), psi = r8_uniform(-4, 4, seed);
    const double expo = r8_uniform(0.3, 3, seed);
    const int32_t n = 9;
    std::vector<double> e(2 * n), s1(2 * n), s(2 * n), arc(2 * n);
    ellipse_points_2d(pc, r1, r2, psi, n, e.data());
    super_ellipse_points_2d(pc, r1, r2, 1.0, psi, n, s1.data());
    EXPECT_EQ(e, s1);
    super_ellipse_points_2d(pc, r1, r2, expo, psi, n, s.data());
    const double t1 = r8_uniform(-7, 7, seed), t2 = r8_uniform(-7, 7, seed);
    ellipse_points_arc_2d(pc, r1, r2, psi, t1, t2, n, arc.data());
    for (int j = 0; j < n; ++j) {
      const auto turned = [&](const std::vector<double>& v, double& x, double& y) {
        const double dx = v[2 * j] - pc[0], dy = v[2 * j + 1] - pc[1];
        x = (dx * std::cos(psi) + dy * std::sin(psi)) / r1;
        y = (-dx * std::sin(psi) + dy * std::cos(psi)) / r2;
      };
      double x, y;
      turned(e, x, y);
      EXPECT_TRUE(rel_near(x * x + y * y, 1.0, 1e-13));
      EXPECT_TRUE(rel_near(std::atan2(y, x), std::remainder(two_pi * j / n, two_pi), 1e-12));
      turned(arc, x, y);
      EXPECT_TRUE(rel_near(x * x + y * y, 1.0, 1e-13));
      turned(s, x, y);
      EXPECT_TRUE(rel_near(std::pow(std::fabs(x), 2 / expo) + std::pow(std::fabs(y), 2 / expo), 1.0, 1e-10));
    }
  }
  // EXPO = 2 on the unit circle: the point at t = pi / 4 is (1/2, 1/2).
  std::vector<double> q(16);
  super_ellipse_points_2d(o, 1, 1, 2, 0, 8, q.data());
  EXPECT_TRUE(vec_rel_near({q[2], q[3]}, {0.5, 0.5}, 1e-15));
  double area;
  ellipse_area_2d(2, 3, area);
  EXPECT_TRUE(rel_near(area, 6 * pi, 1e-15));
}

}  // namespace
}  // namespace orvel::geometry
