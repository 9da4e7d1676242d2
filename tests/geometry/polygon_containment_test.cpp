#include "geometry/polygon_containment.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/quads.hpp"
#include "geometry/reals.hpp"
#include "geometry/shapes.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

const std::vector<double> square = {0, 0, 1, 0, 1, 1, 0, 1};
const std::vector<double> square_cw = {0, 0, 0, 1, 1, 1, 1, 0};
const std::vector<double> l_shape = {2, 1, 1, 1, 1, 2, 0, 2, 0, 0, 2, 0};

std::vector<double> reversed(const std::vector<double>& v) {
  std::vector<double> w(v.size());
  const std::size_t n = v.size() / 2;
  for (std::size_t k = 0; k < n; ++k) {
    w[2 * k] = v[2 * (n - 1 - k)];
    w[2 * k + 1] = v[2 * (n - 1 - k) + 1];
  }
  return w;
}

TEST(GeometryPolygonContainment, ContainmentByHand) {
  const struct {
    const std::vector<double>* v;
    double p[2];
    bool even_odd, fan;
  } rows[] = {
      {&square, {0.5, 0.5}, true, true},     {&square, {1.5, 0.5}, false, false},
      {&square, {0.0, 0.5}, true, true},     // left edge
      {&square, {1.0, 0.5}, false, true},    // right edge
      {&square_cw, {0.5, 0.5}, true, true},  {&square_cw, {1.5, 0.5}, false, false},
      {&square_cw, {0.0, 0.5}, true, true},  {&square_cw, {1.0, 0.5}, false, true},
      // The notch of the L: outside, but covered by the first fan triangle.
      {&l_shape, {1.2, 1.5}, false, true},   {&l_shape, {0.5, 1.5}, true, true},
      {&l_shape, {1.5, 0.5}, true, true},    {&l_shape, {2.5, 0.5}, false, false},
  };
  for (const auto& r : rows) {
    const int32_t n = static_cast<int32_t>(r.v->size() / 2);
    bool inside = !r.even_odd;
    polygon_contains_point_2d(n, r.v->data(), r.p, inside);
    EXPECT_EQ(inside, r.even_odd) << r.p[0] << " " << r.p[1];
    inside = !r.fan;
    polygon_contains_point_2d_2(n, r.v->data(), r.p, inside);
    EXPECT_EQ(inside, r.fan) << r.p[0] << " " << r.p[1];
  }
  // Too few vertices: outside.
  const double p[] = {0, 0};
  bool inside = true;
  polygon_contains_point_2d(0, square.data(), p, inside);
  EXPECT_FALSE(inside);
  inside = true;
  polygon_contains_point_2d_2(2, square.data(), p, inside);
  EXPECT_FALSE(inside);

  // A flat fan triangle ends the run before a later one that holds P.
  const double v[] = {0, 0, 1, 0, 2, 0, 1, 1};
  const double q[] = {1, 0.5};
  expect_fatal([&] { polygon_contains_point_2d_2(4, v, q, inside); },
               {" ", "TRIANGLE_BARYCENTRIC_2D - Fatal error!", "  The linear system is singular.",
                "  The input data does not form a proper triangle."});
}

// The even-odd rule and the fan agree on random convex polygons away from
// their boundary (either orientation); the hexagon test agrees with the
// even-odd rule on the unit hexagon; the distance to a regular shape is the
// distance to the polygon of its vertices.
TEST(GeometryPolygonContainment, ContainmentTestsAgree) {
  int32_t seed = 1404;
  int inside_count = 0;
  for (int k = 0; k < 1500; ++k) {
    const int32_t n = 3 + k % 8;
    const auto v = testing::random_convex_polygon(n, seed);
    const auto w = reversed(v);
    auto p = testing::random_points(2, 1, -6.0, 6.0, seed);
    p[0] += v[0] / 2 + v[2] / 2;
    p[1] += v[1] / 2 + v[3] / 2;
    double d;
    polygon_point_dist_2d(n, v.data(), p.data(), d);
    if (d < 1e-9) continue;
    bool a, b, a_cw, b_cw;
    polygon_contains_point_2d(n, v.data(), p.data(), a);
    polygon_contains_point_2d_2(n, v.data(), p.data(), b);
    polygon_contains_point_2d(n, w.data(), p.data(), a_cw);
    polygon_contains_point_2d_2(n, w.data(), p.data(), b_cw);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, a_cw);
    EXPECT_EQ(a, b_cw);
    inside_count += a;
  }
  EXPECT_GT(inside_count, 200);

  double hex[12];
  hexagon_vertices_2d(hex);
  for (int k = 0; k < 1000; ++k) {
    const auto p = testing::random_points(2, 1, -1.2, 1.2, seed);
    double d;
    polygon_point_dist_2d(6, hex, p.data(), d);
    if (d < 1e-12) continue;
    bool inside;
    polygon_contains_point_2d(6, hex, p.data(), inside);
    EXPECT_EQ(hexagon_contains_point_2d(hex, p.data()), inside);
  }

  for (int k = 0; k < 300; ++k) {
    const int32_t sides = 3 + k % 6;
    const auto pc = testing::random_points(2, 1, -5.0, 5.0, seed);
    const auto p1 = testing::random_points(2, 1, -5.0, 5.0, seed);
    const auto p = testing::random_points(2, 1, -10.0, 10.0, seed);
    // The vertices: P1 turned about PC by 2 pi j / SIDES.
    std::vector<double> v(2 * sides);
    const double dx = p1[0] - pc[0], dy = p1[1] - pc[1];
    for (int32_t j = 0; j < sides; ++j) {
      const double a = testing::two_pi * j / sides;
      v[2 * j] = pc[0] + std::cos(a) * dx - std::sin(a) * dy;
      v[2 * j + 1] = pc[1] + std::sin(a) * dx + std::cos(a) * dy;
    }
    double d_shape, d_poly;
    shape_point_dist_2d(pc.data(), p1.data(), sides, p.data(), d_shape);
    polygon_point_dist_2d(sides, v.data(), p.data(), d_poly);
    EXPECT_TRUE(rel_near(d_shape, d_poly, 1e-11)) << sides;
  }
}

TEST(GeometryPolygonContainment, ConvexityCodes) {
  // The diamond with a straight-through vertex between (0,-1) and (1,0).
  const std::vector<double> diamond = {0, -1, 0.5, -0.5, 1, 0, 0, 1, -1, 0};
  // The pentagram: the five points of a regular pentagon taken two apart.
  std::vector<double> star(10);
  for (int k = 0; k < 5; ++k) {
    const double a = testing::two_pi * (2 * k) / 5.0;
    star[2 * k] = std::cos(a);
    star[2 * k + 1] = std::sin(a);
  }
  const struct {
    const char* what;
    std::vector<double> v;
    int32_t want;
  } rows[] = {
      {"square", square, 1},
      {"square clockwise", square_cw, 2},
      {"L", l_shape, -1},
      {"diamond", diamond, 1},
      {"diamond clockwise", reversed(diamond), -1},
      {"pentagram", star, -1},
      {"two vertices", {0, 0, 1, 0}, 0},
      // An edge of length 0 gives no turn, but adds atan2(-0, -0) = -pi to
      // the winding sum: the sum passes 361 degrees.
      {"one point thrice", {1, 1, 1, 1, 1, 1}, -1},
      {"square with a repeated vertex", {0, 0, 1, 0, 1, 0, 1, 1, 0, 1}, -1},
  };
  for (const auto& r : rows)
    EXPECT_EQ(polygon_is_convex_2d(static_cast<int32_t>(r.v.size() / 2), r.v.data()), r.want) << r.what;

  int32_t seed = 77;
  for (int k = 0; k < 200; ++k) {
    const int32_t n = 3 + k % 10;
    const auto v = testing::random_convex_polygon(n, seed);
    EXPECT_EQ(polygon_is_convex_2d(n, v.data()), 1);
    EXPECT_EQ(polygon_is_convex_2d(n, reversed(v).data()), 2);
  }
}

TEST(GeometryPolygonContainment, DistancesAndDiameterByHand) {
  double d, pn[2];
  const double centre[] = {0.5, 0.5};
  polygon_point_dist_2d(4, square.data(), centre, d);
  EXPECT_EQ(d, 0.5);
  const double right[] = {2, 0.5};
  polygon_point_near_2d(4, square.data(), right, pn, d);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], d}, {1, 0.5, 1}, 0));
  const double corner[] = {2, 2};
  polygon_point_near_2d(4, square.data(), corner, pn, d);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], d}, {1, 1, std::sqrt(2.0)}, 1e-15));
  // The centre is 0.5 from every edge: edge 1 wins.
  polygon_point_near_2d(4, square.data(), centre, pn, d);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], d}, {0.5, 0, 0.5}, 0));
  // No vertex: the largest double and PN = 0.
  polygon_point_near_2d(0, square.data(), right, pn, d);
  EXPECT_EQ(d, 1.7976931348623157e308);
  EXPECT_EQ(pn[0], 0.0);
  EXPECT_EQ(pn[1], 0.0);
  polygon_point_dist_2d(0, square.data(), right, d);
  EXPECT_EQ(d, 1.7976931348623157e308);

  double diameter;
  polygon_diameter_2d(4, square.data(), diameter);
  EXPECT_TRUE(rel_near(diameter, std::sqrt(2.0), 1e-15));
  polygon_diameter_2d(1, square.data(), diameter);
  EXPECT_EQ(diameter, 0.0);
  polygon_diameter_2d(6, l_shape.data(), diameter);
  EXPECT_TRUE(rel_near(diameter, std::sqrt(8.0), 1e-15));
}

// The nearest point lies on the boundary at the distance, and no vertex or
// edge midpoint is nearer.
TEST(GeometryPolygonContainment, NearestPointOfRandomPolygons) {
  int32_t seed = 99;
  for (int k = 0; k < 500; ++k) {
    const int32_t n = 3 + k % 7;
    const auto v = testing::random_convex_polygon(n, seed);
    const auto p = testing::random_points(2, 1, -15.0, 15.0, seed);
    double d, dn, pn[2], on;
    polygon_point_dist_2d(n, v.data(), p.data(), d);
    polygon_point_near_2d(n, v.data(), p.data(), pn, dn);
    EXPECT_EQ(d, dn);
    EXPECT_TRUE(rel_near(r8vec_distance(2, pn, p.data()), d, 1e-12));
    polygon_point_dist_2d(n, v.data(), pn, on);
    EXPECT_LT(on, 1e-12);
    for (int32_t j = 0; j < n; ++j) {
      const int32_t j1 = (j + 1) % n;
      const double mid[] = {(v[2 * j] + v[2 * j1]) / 2, (v[2 * j + 1] + v[2 * j1 + 1]) / 2};
      EXPECT_LE(d, r8vec_distance(2, v.data() + 2 * j, p.data()) + 1e-12);
      EXPECT_LE(d, r8vec_distance(2, mid, p.data()) + 1e-12);
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
