#include "geometry/regular_polygons.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/line_forms.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

const double pi = 3.141592653589793;

TEST(GeometryRegularPolygons, MeasuresByHand) {
  const double s3 = std::sqrt(3.0);
  double area, radout, radin, side;
  polygon_inrad_data_2d(4, 1.0, area, radout, side);
  EXPECT_TRUE(vec_rel_near({area, side, radout}, {4, 2, std::sqrt(2.0)}, 1e-15));
  polygon_outrad_data_2d(6, 1.0, area, radin, side);
  EXPECT_TRUE(vec_rel_near({area, side, radin}, {1.5 * s3, 1, s3 / 2}, 1e-15));
  polygon_side_data_2d(3, 1.0, area, radin, radout);
  EXPECT_TRUE(vec_rel_near({area, radin, radout}, {s3 / 4, s3 / 6, s3 / 3}, 1e-15));
}

// Each routine's outputs fed to the other two give back the same polygon.
TEST(GeometryRegularPolygons, TheThreeCalculatorsAgree) {
  for (int32_t n = 3; n <= 40; ++n) {
    const double radin = 0.25 * n;
    double a1, radout1, side1, a2, radin2, side2, a3, radin3, radout3;
    polygon_inrad_data_2d(n, radin, a1, radout1, side1);
    polygon_outrad_data_2d(n, radout1, a2, radin2, side2);
    polygon_side_data_2d(n, side1, a3, radin3, radout3);
    EXPECT_TRUE(vec_rel_near({a2, radin2, side2}, {a1, radin, side1}, 1e-13)) << n;
    EXPECT_TRUE(vec_rel_near({a3, radin3, radout3}, {a1, radin, radout1}, 1e-13)) << n;
    // The area is N triangles of base SIDE and height RADIN.
    EXPECT_TRUE(rel_near(a1, 0.5 * n * side1 * radin, 1e-13)) << n;
  }
}

TEST(GeometryRegularPolygons, FewerThanThreeSidesEndTheRun) {
  double a, b, c;
  expect_fatal([&] { polygon_inrad_data_2d(2, 1.0, a, b, c); },
               {" ", "POLYGON_INRAD_DATA_2D - Fatal error!", "  Input value of N must be at least 3",
                "  but your input value was N =        2"});
  expect_fatal([&] { polygon_outrad_data_2d(2, 1.0, a, b, c); },
               {" ", "POLYGON_OUTRAD_DATA_2D - Fatal error!", "  Input value of N must be at least 3",
                "  but your input value was N =        2"});
  expect_fatal([&] { polygon_side_data_2d(-5, 1.0, a, b, c); },
               {" ", "POLYGON_SIDE_DATA_2D - Fatal error!", "  Input value of N must be at least 3",
                "  but your input value was N =       -5"});
}

std::vector<double> expand(const std::vector<double>& v, double h) {
  std::vector<double> w(v.size());
  polygon_expand_2d(static_cast<int32_t>(v.size() / 2), v.data(), h, w.data());
  return w;
}

TEST(GeometryRegularPolygons, ExpansionByHand) {
  const std::vector<double> square = {0, 0, 1, 0, 1, 1, 0, 1};
  EXPECT_TRUE(vec_rel_near(expand(square, 0.5), {-0.5, -0.5, 1.5, -0.5, 1.5, 1.5, -0.5, 1.5}, 1e-15));
  EXPECT_EQ(expand(square, 0.0), square);
  // Clockwise, the same H moves every vertex in, to the centre.
  const std::vector<double> clockwise = {0, 0, 0, 1, 1, 1, 1, 0};
  EXPECT_TRUE(vec_rel_near(expand(clockwise, 0.5), {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}, 1e-15));
  // A negative H moves a counterclockwise polygon in.
  EXPECT_TRUE(vec_rel_near(expand(square, -0.25), {0.25, 0.25, 0.75, 0.25, 0.75, 0.75, 0.25, 0.75}, 1e-15));
  // The L: the reflex vertex (1, 1) and the corner (0, 0).
  const std::vector<double> l = {0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2};
  const auto w = expand(l, 0.1);
  EXPECT_TRUE(vec_rel_near({w[0], w[1], w[6], w[7]}, {-0.1, -0.1, 1.1, 1.1}, 1e-15));
  // A vertex where the boundary goes straight on moves out by H.
  const std::vector<double> straight = {0, 0, 1, 0, 2, 0, 2, 2, 0, 2};
  const auto ws = expand(straight, 0.5);
  EXPECT_TRUE(vec_rel_near({ws[2], ws[3]}, {1, -0.5}, 1e-15));
  // Kept: an edge of length 0 gives a non-finite vertex.
  const std::vector<double> repeated = {0, 0, 1, 0, 1, 0, 0, 1};
  const auto wr = expand(repeated, 0.5);
  EXPECT_FALSE(std::isfinite(wr[2]) && std::isfinite(wr[3]));
}

// Counterclockwise convex polygons with straight-through vertices added,
// and the L: both ends of every edge of W lie H outside (to the right of)
// the line of the matching edge of V.
TEST(GeometryRegularPolygons, ExpansionMovesEveryEdgeOutByH) {
  int32_t seed = 141;
  std::vector<std::vector<double>> polygons = {{0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2}};
  for (int k = 0; k < 100; ++k) {
    const int32_t n = i4_uniform(3, 9, seed);
    const auto v = testing::random_convex_polygon(n, seed);
    std::vector<double> with_mid;
    for (int32_t j = 0; j < n; ++j) {
      const int32_t j1 = (j + 1) % n;
      with_mid.insert(with_mid.end(), {v[2 * j], v[2 * j + 1]});
      // A point on edge j: a vertex where the boundary goes straight on.
      if (j % 2 == 0) {
        with_mid.insert(with_mid.end(), {0.5 * (v[2 * j] + v[2 * j1]), 0.5 * (v[2 * j + 1] + v[2 * j1 + 1])});
      }
    }
    polygons.push_back(with_mid);
  }
  for (const auto& v : polygons) {
    const double h = r8_uniform(0.01, 2.0, seed);
    const auto w = expand(v, h);
    const int32_t n = static_cast<int32_t>(v.size() / 2);
    for (int32_t j = 0; j < n; ++j) {
      const int32_t j1 = (j + 1) % n;
      double d0, d1;
      line_exp_point_dist_signed_2d(&v[2 * j], &v[2 * j1], &w[2 * j], d0);
      line_exp_point_dist_signed_2d(&v[2 * j], &v[2 * j1], &w[2 * j1], d1);
      EXPECT_NEAR(d0, h, 1e-10);
      EXPECT_NEAR(d1, h, 1e-10);
    }
  }
}

TEST(GeometryRegularPolygons, SolidAngleOfASquare) {
  const std::vector<double> square = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  std::vector<double> clockwise = {0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
  for (double h : {0.5, 0.1, 1.0, 3.0, 1e-6}) {
    // 4 arcsin(a^2 / (a^2 + 4 h^2)) for a = 1.
    const double want = 4 * std::asin(1 / (1 + 4 * h * h));
    for (double side : {1.0, -1.0}) {
      const double p[] = {0.5, 0.5, side * h};
      double s, sc;
      polygon_solid_angle_3d(4, square.data(), p, s);
      polygon_solid_angle_3d(4, clockwise.data(), p, sc);
      EXPECT_TRUE(rel_near(s, side * want, 1e-12)) << h;
      EXPECT_TRUE(rel_near(sc, -side * want, 1e-12)) << h;
    }
  }
  const double p[] = {0.5, 0.5, 0.5};
  double s;
  polygon_solid_angle_3d(4, square.data(), p, s);
  EXPECT_TRUE(rel_near(s, 2 * pi / 3, 1e-14));
  s = 7;
  polygon_solid_angle_3d(2, square.data(), p, s);
  EXPECT_EQ(s, 0.0);
}

// The six faces of a cube, counterclockwise seen from outside, cover the
// whole sphere seen from any inside point: -4 pi (each face's normal points
// away from the point).  From outside they cancel.
TEST(GeometryRegularPolygons, CubeFacesCoverTheSphere) {
  const double c[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
  const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  int32_t seed = 6;
  for (int k = 0; k < 50; ++k) {
    const auto inside = testing::random_points(3, 1, 0.05, 0.95, seed);
    auto outside = testing::random_points(3, 1, 1.5, 3.0, seed);
    double sum_in = 0, sum_out = 0;
    for (const auto& f : faces) {
      std::vector<double> v;
      for (int j : f) v.insert(v.end(), {c[j][0], c[j][1], c[j][2]});
      double s;
      polygon_solid_angle_3d(4, v.data(), inside.data(), s);
      EXPECT_LT(s, 0.0);
      sum_in += s;
      polygon_solid_angle_3d(4, v.data(), outside.data(), s);
      sum_out += s;
    }
    EXPECT_TRUE(rel_near(sum_in, -4 * pi, 1e-12));
    EXPECT_NEAR(sum_out, 0.0, 1e-12);
  }
}

}  // namespace
}  // namespace orvel::geometry
