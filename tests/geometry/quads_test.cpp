#include "geometry/quads.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/point_sets.hpp"
#include "geometry/polygons.hpp"
#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

const double s = 0.8660254037844386;

TEST(GeometryQuads, UnitSquareByHand) {
  const double q[] = {0, 0, 1, 0, 1, 1, 0, 1};
  const double cw[] = {0, 0, 0, 1, 1, 1, 1, 0};
  const double q3[] = {0, 0, 2, 1, 0, 2, 1, 1, 2, 0, 1, 2};
  double a;
  quad_area_2d(q, a);
  EXPECT_EQ(a, 1.0);
  quad_area2_2d(q, a);
  EXPECT_EQ(a, 1.0);
  quad_area_2d(cw, a);
  EXPECT_EQ(a, -1.0);
  quad_area2_2d(cw, a);
  EXPECT_EQ(a, -1.0);
  quad_area_3d(q3, a);
  EXPECT_EQ(a, 1.0);

  const struct {
    double p[2];
    bool inside;
    double dist, signed_dist;
  } rows[] = {
      {{0.5, 0.5}, true, 0.5, -0.5},  {{1, 1}, true, 0, 0},          {{1.5, 0.5}, false, 0.5, 0.5},
      {{0.25, 0.5}, true, 0.25, -0.25}, {{0.5, 0}, true, 0, 0},      {{-3, 5}, false, 5, 4},
  };
  for (const auto& r : rows) {
    bool inside = !r.inside;
    double d, sd;
    quad_contains_point_2d(q, r.p, inside);
    quad_point_dist_2d(q, r.p, d);
    quad_point_dist_signed_2d(q, r.p, sd);
    EXPECT_EQ(inside, r.inside) << r.p[0] << " " << r.p[1];
    EXPECT_EQ(d, r.dist) << r.p[0] << " " << r.p[1];
    EXPECT_EQ(sd, r.signed_dist) << r.p[0] << " " << r.p[1];
  }
  // All four edges are 0.5 from the centre: the first wins.
  const double centre[] = {0.5, 0.5};
  double pn[2], d;
  quad_point_near_2d(q, centre, pn, d);
  EXPECT_EQ(pn[0], 0.5);
  EXPECT_EQ(pn[1], 0.0);
  EXPECT_EQ(d, 0.5);
  const double right[] = {1.75, 0.25};
  quad_point_near_2d(q, right, pn, d);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], d}, {1, 0.25, 0.75}, 1e-15));
}

// On random convex counterclockwise quadrilaterals containment agrees with
// the sign of the signed distance, whose size is the distance to the
// boundary inside and at most that outside; the nearest point is at the
// boundary distance.
TEST(GeometryQuads, ContainmentAgreesWithSignedDistance) {
  int32_t seed = 131;
  int inside_count = 0;
  for (int k = 0; k < 2000; ++k) {
    const auto q = testing::random_convex_polygon(4, seed);
    auto p = testing::random_points(2, 1, -6.0, 6.0, seed);
    p[0] += 0.25 * (q[0] + q[2] + q[4] + q[6]);
    p[1] += 0.25 * (q[1] + q[3] + q[5] + q[7]);
    bool inside;
    double sd, d, nd, pn[2];
    quad_contains_point_2d(q.data(), p.data(), inside);
    quad_point_dist_signed_2d(q.data(), p.data(), sd);
    quad_point_dist_2d(q.data(), p.data(), d);
    quad_point_near_2d(q.data(), p.data(), pn, nd);
    if (std::fabs(sd) < 1e-9) continue;
    EXPECT_EQ(inside, sd < 0.0);
    inside_count += inside ? 1 : 0;
    EXPECT_EQ(nd, d);
    if (inside) {
      EXPECT_NEAR(-sd, d, 1e-12);
    } else {
      EXPECT_LE(sd, d + 1e-12);
    }
  }
  EXPECT_GT(inside_count, 200);
}

TEST(GeometryQuads, RandomConvexQuadrilaterals) {
  int32_t rejections = 0;
  for (int32_t start : {1, 2, 123456789, 987654321, 42}) {
    for (int k = 0; k < 40; ++k) {
      int32_t seed = start + 7919 * k;
      const int32_t seed0 = seed;
      double xy[8];
      quad_convex_random(seed, xy);
      int32_t hull_num, hull[4];
      points_hull_2d(4, xy, hull_num, hull);
      EXPECT_EQ(hull_num, 4);
      EXPECT_EQ(std::vector<int32_t>(hull, hull + 4), (std::vector<int32_t>{1, 2, 3, 4}));
      double area;
      polygon_area_2d(4, xy, area);
      EXPECT_GT(area, 0.0);
      for (double x : xy) EXPECT_TRUE(x >= 0.0 && x < 1.0);
      // The same seed, the same quadrilateral.
      int32_t again = seed0;
      double xy2[8];
      quad_convex_random(again, xy2);
      EXPECT_EQ(again, seed);
      EXPECT_EQ(std::vector<double>(xy, xy + 8), std::vector<double>(xy2, xy2 + 8));
      // Redraw the first four points by hand: a rejected draw advances the
      // seed past them.
      int32_t first = seed0;
      double r[8];
      r8mat_uniform_01(2, 4, first, r);
      if (first != seed) ++rejections;
    }
  }
  EXPECT_GT(rejections, 10);
  expect_fatal(
      [] {
        int32_t zero = 0;
        double xy[8];
        quad_convex_random(zero, xy);
      },
      {" ", "R8MAT_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
}

TEST(GeometryQuads, HexagonByHand) {
  double v[12];
  hexagon_vertices_2d(v);
  EXPECT_EQ(std::vector<double>(v, v + 12), (std::vector<double>{1, 0, 0.5, s, -0.5, s, -1, 0, -0.5, -s, 0.5, -s}));
  EXPECT_EQ(hexagon_unit_area_2d(), 2.598076211353316);
  EXPECT_EQ(hexagon_area_2d(2.0), 4 * 2.598076211353316);
  const struct {
    double p[2];
    bool inside;
  } rows[] = {{{0, 0}, true}, {{1, 0}, true}, {{0, 0.9}, false}, {{0, s}, true}, {{-0.75, -0.4}, true},
              {{-0.76, -0.42}, false}};
  for (const auto& r : rows) EXPECT_EQ(hexagon_contains_point_2d(v, r.p), r.inside) << r.p[0] << " " << r.p[1];

  const struct {
    double angle, p[2];
  } shapes[] = {
      {0, {1, 0}},          {90, {0, s}},          {-60, {0.5, -s}},    {30, {0.75, 0.75 * std::tan(M_PI / 6)}},
      {60, {0.5, s}},       {120, {-0.5, s}},      {180, {-1, 0}},      {240, {-0.5, -s}},
      {300, {0.5, -s}},     {360, {1, 0}},         {720 + 150, {-0.75, 0.75 * std::tan(M_PI / 6)}},
      {-90, {0, -s}},       {210, {-0.75, -0.75 * std::tan(M_PI / 6)}},
  };
  for (const auto& r : shapes) {
    double p[2];
    hexagon_shape_2d(r.angle, p);
    EXPECT_NEAR(p[0], r.p[0], 1e-15) << r.angle;
    EXPECT_NEAR(p[1], r.p[1], 1e-15) << r.angle;
  }
}

// Every boundary point lies on the hexagon's boundary in the direction
// asked for.
TEST(GeometryQuads, HexagonShapeLiesOnTheBoundary) {
  double v[12];
  hexagon_vertices_2d(v);
  int32_t seed = 60;
  for (int k = 0; k < 500; ++k) {
    const double a = r8_uniform(-720.0, 720.0, seed);
    double p[2];
    hexagon_shape_2d(a, p);
    const double t = a * M_PI / 180;
    EXPECT_NEAR(p[0] * std::sin(t) - p[1] * std::cos(t), 0.0, 1e-14) << a;
    EXPECT_GT(p[0] * std::cos(t) + p[1] * std::sin(t), 0.0) << a;
    double q[2] = {1.000001 * p[0], 1.000001 * p[1]}, r[2] = {0.999999 * p[0], 0.999999 * p[1]};
    EXPECT_FALSE(hexagon_contains_point_2d(v, q)) << a;
    EXPECT_TRUE(hexagon_contains_point_2d(v, r)) << a;
  }
}

}  // namespace
}  // namespace orvel::geometry
