#include "geometry/circle_pieces.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

TEST(GeometryCirclePieces, AreasAddUp) {
  int32_t seed = 314;
  const double pc[2] = {7, -3};
  for (int k = 0; k < 100; ++k) {
    const double r = r8_uniform(0.1, 4.0, seed), r2 = r + r8_uniform(0.0, 3.0, seed);
    const double t1 = r8_uniform(-10.0, 10.0, seed), t2 = t1 + r8_uniform(0.0, two_pi, seed);
    double sector, lune, triangle, sector2, annulus_sector, circle, circle2, annulus;
    circle_sector_area_2d(r, pc, t1, t2, sector);
    circle_lune_area_2d(r, pc, t1, t2, lune);
    circle_triangle_area_2d(r, pc, t1, t2, triangle);
    EXPECT_TRUE(rel_near(lune + triangle, sector, 1e-13));
    // The triangle by its vertices: half the cross product of the radii.
    const double tri = 0.5 * r * r * (std::cos(t1) * std::sin(t2) - std::sin(t1) * std::cos(t2));
    EXPECT_TRUE(rel_near(triangle, tri, 1e-12));
    EXPECT_TRUE(rel_near(sector, 0.5 * r * r * (t2 - t1), 1e-15));

    circle_sector_area_2d(r2, pc, t1, t2, sector2);
    annulus_sector_area_2d(r, r2, t1, t2, annulus_sector);
    EXPECT_TRUE(rel_near(annulus_sector, sector2 - sector, 1e-12));
    circle_area_2d(r, circle);
    circle_area_2d(r2, circle2);
    annulus_area_2d(r, r2, annulus);
    EXPECT_TRUE(rel_near(annulus, circle2 - circle, 1e-12));
    EXPECT_TRUE(rel_near(circle, pi * r * r, 1e-15));
  }
  double a;
  annulus_area_2d(2.0, 1.0, a);  // swapped radii: the negated area
  EXPECT_TRUE(rel_near(a, -3.0 * pi, 1e-15));
}

TEST(GeometryCirclePieces, CentroidsBalanceTheirParts) {
  const double pc[2] = {1, 2};
  double c[2];
  circle_sector_centroid_2d(1.0, pc, 0.0, pi, c);
  EXPECT_TRUE(vec_rel_near({c[0], c[1]}, {1.0, 2.0 + 4.0 / (3.0 * pi)}, 1e-15));
  // Zero angles: the limits 2R/3 for the sector, R for the lune, 2/3 of the
  // radius-weighted mean for the annulus sector; R1 + R2 = 0 gives PC.
  const double t = 0.7;
  const struct {
    const char* what;
    int which;
    double r1, r2, d;
  } zero_rows[] = {
      {"sector", 0, 3, 0, 2}, {"lune", 1, 3, 0, 3}, {"annulus sector", 2, 1, 2, 14.0 / 9.0},
      {"annulus sector with R1 + R2 = 0", 2, -1, 1, 0},
  };
  for (const auto& r : zero_rows) {
    if (r.which == 0) circle_sector_centroid_2d(r.r1, pc, t, t, c);
    if (r.which == 1) circle_lune_centroid_2d(r.r1, pc, t, t, c);
    if (r.which == 2) annulus_sector_centroid_2d(pc, r.r1, r.r2, t, t, c);
    EXPECT_TRUE(vec_rel_near({c[0], c[1]}, {1.0 + r.d * std::cos(t), 2.0 + r.d * std::sin(t)}, 1e-15)) << r.what;
  }

  // Area-weighted centroids: sector = lune + triangle, annulus sector =
  // sector(R2) - sector(R1); the triangle's centroid is the mean of its
  // vertices.
  int32_t seed = 271;
  for (int k = 0; k < 100; ++k) {
    const double r1 = r8_uniform(0.1, 3.0, seed), r2 = r1 + r8_uniform(0.1, 3.0, seed);
    const double t1 = r8_uniform(-7.0, 7.0, seed), t2 = t1 + r8_uniform(0.1, two_pi - 0.1, seed);
    double sector, lune, triangle, cs[2], cl[2];
    circle_sector_area_2d(r2, pc, t1, t2, sector);
    circle_lune_area_2d(r2, pc, t1, t2, lune);
    circle_triangle_area_2d(r2, pc, t1, t2, triangle);
    circle_sector_centroid_2d(r2, pc, t1, t2, cs);
    circle_lune_centroid_2d(r2, pc, t1, t2, cl);
    for (int i = 0; i < 2; ++i) {
      const double ends = i == 0 ? std::cos(t1) + std::cos(t2) : std::sin(t1) + std::sin(t2);
      const double ct = pc[i] + r2 * ends / 3.0;
      EXPECT_TRUE(rel_near(sector * (cs[i] - pc[i]), lune * (cl[i] - pc[i]) + triangle * (ct - pc[i]), 1e-11));
    }
    double inner, inner_c[2], ring, ring_c[2];
    circle_sector_area_2d(r1, pc, t1, t2, inner);
    circle_sector_centroid_2d(r1, pc, t1, t2, inner_c);
    annulus_sector_area_2d(r1, r2, t1, t2, ring);
    annulus_sector_centroid_2d(pc, r1, r2, t1, t2, ring_c);
    for (int i = 0; i < 2; ++i)
      EXPECT_TRUE(rel_near(ring * (ring_c[i] - pc[i]), sector * (cs[i] - pc[i]) - inner * (inner_c[i] - pc[i]), 1e-11));
    // R1 = 0: the annulus sector is the sector.
    annulus_sector_centroid_2d(pc, 0.0, r2, t1, t2, ring_c);
    EXPECT_TRUE(vec_rel_near({ring_c[0], ring_c[1]}, {cs[0], cs[1]}, 1e-14));
  }
}

TEST(GeometryCirclePieces, PointsOnCirclesAndArcs) {
  const double o[2] = {0, 0};
  std::vector<double> p = canaries(10);
  circle_imp_points_2d(1.0, o, 4, p.data());
  EXPECT_TRUE(vec_rel_near(std::vector<double>(p.begin(), p.begin() + 8), {1, 0, 0, 1, -1, 0, 0, -1}, 1e-15));
  EXPECT_EQ(p[8], testing::canary);
  std::vector<double> none = canaries(2);
  circle_imp_points_2d(1.0, o, 0, none.data());
  circle_imp_points_arc_2d(1.0, o, 0.0, 1.0, 0, none.data());
  EXPECT_EQ(none, canaries(2));

  // Distance R at the stated angles.
  const double pc[2] = {-2, 5};
  const int32_t n = 7;
  std::vector<double> q(2 * n);
  circle_imp_points_2d(1.5, pc, n, q.data());
  for (int j = 0; j < n; ++j) {
    EXPECT_TRUE(rel_near(q[2 * j], -2 + 1.5 * std::cos(two_pi * j / n), 1e-14));
    EXPECT_TRUE(rel_near(q[2 * j + 1], 5 + 1.5 * std::sin(two_pi * j / n), 1e-14));
  }

  // An arc through angle 0: both ends included, one point in the middle.
  std::vector<double> a(6);
  circle_imp_points_arc_2d(2.0, o, 1.5 * pi, 0.5 * pi, 3, a.data());
  EXPECT_TRUE(vec_rel_near(a, {0, -2, 2, 0, 0, 2}, 1e-15));
  circle_imp_points_arc_2d(2.0, o, 1.5 * pi, 0.5 * pi, 1, a.data());
  EXPECT_TRUE(vec_rel_near({a[0], a[1]}, {2, 0}, 1e-15));

  // In space: distance R from PC, normal to NORMAL, equal steps.
  const double c3[3] = {1, -1, 2}, normal[3] = {1, 2, 2};
  std::vector<double> s(3 * 6);
  circle_imp_points_3d(2.0, c3, normal, 6, s.data());
  for (int j = 0; j < 6; ++j) {
    const double d[3] = {s[3 * j] - c3[0], s[3 * j + 1] - c3[1], s[3 * j + 2] - c3[2]};
    EXPECT_TRUE(rel_near(std::hypot(d[0], d[1], d[2]), 2.0, 1e-14));
    EXPECT_TRUE(rel_near(d[0] * normal[0] + d[1] * normal[1] + d[2] * normal[2], 0.0, 1e-14));
    const int k = (j + 1) % 6;
    EXPECT_TRUE(rel_near(std::hypot(s[3 * k] - s[3 * j], s[3 * k + 1] - s[3 * j + 1], s[3 * k + 2] - s[3 * j + 2]),
                         2.0, 1e-14));  // a hexagon's side is its radius
  }
  const double zero[3] = {0, 0, 0};
  expect_fatal([&] { circle_imp_points_3d(1.0, c3, zero, 0, s.data()); },
               {" ", "PLANE_NORMAL_BASIS_3D - Fatal error!", "  The normal vector is 0."});
}

TEST(GeometryCirclePieces, NearestPointOfAnArc) {
  const double o[2] = {0, 0};
  const double h = std::sqrt(2.0) / 2.0;
  const struct {
    const char* what;
    double r, t1, t2, p[2], pn[2], dist;
  } rows[] = {
      {"within the arc", 1, 0, pi / 2, {2, 2}, {h, h}, 2 * std::sqrt(2.0) - 1},
      {"nearer the THETA2 end", 1, 0, pi / 2, {-1, 0}, {0, 1}, std::sqrt(2.0)},
      {"nearer the THETA1 end", 1, 0, pi / 2, {0, -2}, {1, 0}, std::sqrt(5.0)},
      // Arcs given past 2 pi or backwards through angle 0 choose against
      // the middle of the arc as reduced, so the nearer end wins.
      {"THETA2 beyond THETA1 + 2 pi", 1, 0, 2.5 * pi, {-1, -0.1}, {0, 1}, std::sqrt(2.21)},
      {"THETA2 below THETA1", 1, 1.5 * pi, 0.5 * pi, {-2, 0.1}, {0, 1}, std::sqrt(4.81)},
      {"THETA2 below THETA1, other end", 1, 1.5 * pi, 0.5 * pi, {-2, -0.1}, {0, -1}, std::sqrt(4.81)},
      {"zero radius", 0, 0, 1, {3, 4}, {0, 0}, 5},
      {"P at the centre: the THETA1 end", -2, pi, 1.5 * pi, {0, 0}, {2, 0}, 2},
  };
  for (const auto& r : rows) {
    double pn[2], dist;
    circle_arc_point_near_2d(r.r, o, r.t1, r.t2, r.p, pn, dist);
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1]}, {r.pn[0], r.pn[1]}, 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(dist, r.dist, 1e-15)) << r.what;
  }

  // Random arcs, however given: a point of the arc, no farther than either end.
  int32_t seed = 1009;
  const double pc[2] = {3, -1};
  for (int k = 0; k < 500; ++k) {
    const double r = r8_uniform(0.5, 3.0, seed);
    const double t1 = r8_uniform(-10.0, 10.0, seed), t2 = r8_uniform(-10.0, 20.0, seed);
    const std::vector<double> p = testing::random_points(2, 1, -5.0, 9.0, seed);
    double pn[2], dist;
    circle_arc_point_near_2d(r, pc, t1, t2, p.data(), pn, dist);
    EXPECT_TRUE(rel_near(std::hypot(pn[0] - pc[0], pn[1] - pc[1]), r, 1e-14));
    EXPECT_TRUE(rel_near(std::hypot(pn[0] - p[0], pn[1] - p[1]), dist, 1e-14));
    const double span = std::fmod(std::fmod(t2 - t1, two_pi) + two_pi, two_pi);
    const double at = std::fmod(std::fmod(std::atan2(pn[1] - pc[1], pn[0] - pc[0]) - t1, two_pi) + two_pi, two_pi);
    EXPECT_TRUE(at <= span + 1e-12 || at >= two_pi - 1e-12) << k;
    for (double e : {t1, t2}) {
      const double end_dist = std::hypot(pc[0] + r * std::cos(e) - p[0], pc[1] + r * std::sin(e) - p[1]);
      EXPECT_LE(dist, end_dist + 1e-12) << k;
    }
  }
}

TEST(GeometryCirclePieces, SectorContainsPoint) {
  const double o[2] = {0, 0};
  const struct {
    const char* what;
    double t1, t2, p[2];
    bool inside;
  } rows[] = {
      {"right half disc", 1.5 * pi, 0.5 * pi, {0.5, 0}, true},
      {"right half disc, left point", 1.5 * pi, 0.5 * pi, {-0.5, 0}, false},
      {"on the circle", 0, pi / 2, {0.6, 0.8}, true},
      {"on the first radius", 0, pi / 2, {0.5, 0}, true},
      {"on the second radius", 0, pi / 2, {0, 0.5}, true},
      {"beyond the circle", 0, pi / 2, {0.6, 0.81}, false},
      {"full turn: the ray at THETA1 only", 0, two_pi, {0.5, 0}, true},
      {"full turn, off the ray", 0, two_pi, {0, 0.5}, false},
  };
  for (const auto& r : rows) {
    bool inside;
    circle_sector_contains_point_2d(1.0, o, r.t1, r.t2, r.p, inside);
    EXPECT_EQ(inside, r.inside) << r.what;
  }

  // Against a radius-and-angle test of our own, away from the boundaries.
  int32_t seed = 606;
  const double pc[2] = {-1, 2};
  int checked = 0;
  for (int k = 0; k < 2000; ++k) {
    const double r = r8_uniform(0.5, 3.0, seed);
    const double t1 = r8_uniform(-10.0, 10.0, seed), t2 = r8_uniform(-10.0, 10.0, seed);
    const std::vector<double> p = testing::random_points(2, 1, -5.0, 3.0, seed);
    const double dx = p[0] - pc[0], dy = p[1] - pc[1];
    const double rho = std::hypot(dx, dy);
    const auto wrap = [](double x) { return x - two_pi * std::floor(x / two_pi); };
    const double span = wrap(t2 - t1), at = wrap(std::atan2(dy, dx) - t1);
    if (std::fabs(rho - r) < 1e-9 || std::fabs(at - span) < 1e-9 || at < 1e-9 || two_pi - at < 1e-9) continue;
    bool inside;
    circle_sector_contains_point_2d(r, pc, t1, t2, p.data(), inside);
    EXPECT_EQ(inside, rho < r && at < span) << k;
    ++checked;
  }
  EXPECT_GT(checked, 1900);
}

TEST(GeometryCirclePieces, Prints) {
  const double pc[2] = {1, -3}, pc3[3] = {0.5, 1234.5, 0}, normal[3] = {0, 0, 1};
  EXPECT_EQ(stdout_of([&] { circle_imp_print_2d(2.5, pc, "  My circle   "); }),
            lines({" ", "  My circle", " ", "  Radius =    2.50000    ", "  Center =    1.00000      -3.00000    "}));
  EXPECT_EQ(stdout_of([&] { circle_imp_print_2d(2.5, pc, "    "); }),
            lines({" ", "  Radius =    2.50000    ", "  Center =    1.00000      -3.00000    "}));
  EXPECT_EQ(stdout_of([&] { circle_imp_print_3d(0.001, pc3, normal, "Ring "); }),
            lines({" ", "Ring", " ", "  Radius =   0.100000E-02", "  Center =   0.500000       1234.50       0.00000    ",
                   "  Normal =    0.00000       0.00000       1.00000    "}));
  EXPECT_EQ(stdout_of([&] { circle_imp_print_3d(1.0, pc3, normal, ""); }).substr(0, 5), lines({" ", "", " "}));
  EXPECT_EQ(stdout_of([&] { circle_sector_print_2d(1.0, pc, 0.0, pi); }),
            lines({" ", "  Circular sector definition:", " ", "    Radius =    1.00000    ",
                   "    Center =    1.00000      -3.00000    ", "    Theta  =    0.00000       3.14159    "}));
}

}  // namespace
}  // namespace orvel::geometry
