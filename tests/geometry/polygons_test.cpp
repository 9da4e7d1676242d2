#include "geometry/polygons.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/parallelograms.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/quads.hpp"
#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::lines;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

const double pi = 3.141592653589793;

std::vector<double> reversed(const std::vector<double>& v, int dim) {
  std::vector<double> r(v.size());
  const std::size_t n = v.size() / dim;
  for (std::size_t j = 0; j < n; ++j)
    for (int i = 0; i < dim; ++i) r[dim * (n - 1 - j) + i] = v[dim * j + i];
  return r;
}

std::vector<double> lifted(const std::vector<double>& v, double z) {
  std::vector<double> r;
  for (std::size_t j = 0; j < v.size() / 2; ++j) r.insert(r.end(), {v[2 * j], v[2 * j + 1], z});
  return r;
}

struct integrals {
  double one, x, y, xx, xy, yy;
};

integrals integrate(int32_t n, const double* v) {
  integrals r{};
  polygon_1_2d(n, v, r.one);
  polygon_x_2d(n, v, r.x);
  polygon_y_2d(n, v, r.y);
  polygon_xx_2d(n, v, r.xx);
  polygon_xy_2d(n, v, r.xy);
  polygon_yy_2d(n, v, r.yy);
  return r;
}

TEST(GeometryPolygons, UnitSquareBothWays) {
  const std::vector<double> ccw = {0, 0, 1, 0, 1, 1, 0, 1};
  for (int sign : {1, -1}) {
    const auto v = sign > 0 ? ccw : reversed(ccw, 2);
    double a1, a2, c1[2], c2[2], angle[4];
    polygon_area_2d(4, v.data(), a1);
    polygon_area_2d_2(4, v.data(), a2);
    polygon_centroid_2d(4, v.data(), c1);
    polygon_centroid_2d_2(4, v.data(), c2);
    polygon_angles_2d(4, v.data(), angle);
    EXPECT_EQ(a1, sign * 1.0);
    EXPECT_EQ(a2, sign * 1.0);
    EXPECT_TRUE(vec_rel_near({c1[0], c1[1], c2[0], c2[1]}, {0.5, 0.5, 0.5, 0.5}, 1e-15));
    const double corner = sign > 0 ? pi / 2 : 3 * pi / 2;
    EXPECT_TRUE(vec_rel_near({angle[0], angle[1], angle[2], angle[3]}, {corner, corner, corner, corner}, 1e-15));
    const integrals r = integrate(4, v.data());
    EXPECT_TRUE(vec_rel_near({r.one, r.x, r.y, r.xx, r.xy, r.yy},
                             {sign * 1.0, sign * 0.5, sign * 0.5, sign / 3.0, sign * 0.25, sign / 3.0}, 1e-15));

    // The square in the plane z = 2.
    const auto v3 = lifted(v, 2.0);
    double s1, s2, normal[3], n3[3], c3[3];
    polygon_area_3d(4, v3.data(), s1, normal);
    polygon_area_3d_2(4, v3.data(), s2);
    polygon_normal_3d(4, v3.data(), n3);
    polygon_centroid_3d(4, v3.data(), c3);
    EXPECT_TRUE(rel_near(s1, 1.0, 1e-15));
    EXPECT_TRUE(rel_near(s2, 1.0, 1e-15));
    EXPECT_TRUE(vec_rel_near({normal[0], normal[1], normal[2]}, {0, 0, sign * 1.0}, 1e-15));
    EXPECT_TRUE(vec_rel_near({n3[0], n3[1], n3[2]}, {0, 0, sign * 1.0}, 1e-15));
    EXPECT_TRUE(vec_rel_near({c3[0], c3[1], c3[2]}, {0.5, 0.5, 2}, 1e-15));
  }
}

// The integrals of a rectangle [a, b] x [c, d] by hand.
TEST(GeometryPolygons, RectangleIntegrals) {
  const double a = -1, b = 3, c = 2, d = 7;
  const std::vector<double> v = {a, c, b, c, b, d, a, d};
  const integrals r = integrate(4, v.data());
  const double w = b - a, h = d - c;
  EXPECT_TRUE(rel_near(r.one, w * h, 1e-15));
  EXPECT_TRUE(rel_near(r.x, (b * b - a * a) / 2 * h, 1e-15));
  EXPECT_TRUE(rel_near(r.y, (d * d - c * c) / 2 * w, 1e-15));
  EXPECT_TRUE(rel_near(r.xx, (b * b * b - a * a * a) / 3 * h, 1e-15));
  EXPECT_TRUE(rel_near(r.xy, (b * b - a * a) * (d * d - c * c) / 4, 1e-15));
  EXPECT_TRUE(rel_near(r.yy, (d * d * d - c * c * c) / 3 * w, 1e-15));
}

TEST(GeometryPolygons, DegenerateAndEmptyPolygons) {
  const std::vector<double> line2 = {0, 0, 1, 0, 2, 0};
  const std::vector<double> line3 = {0, 0, 0, 1, 0, 0, 2, 0, 0};
  double area = 7, normal[3], c[3];
  polygon_area_3d(3, line3.data(), area, normal);
  EXPECT_EQ(area, 0.0);
  for (double x : normal) EXPECT_EQ(x, 0.5773502691896258);
  polygon_normal_3d(3, line3.data(), normal);
  for (double x : normal) EXPECT_EQ(x, 0.0);
  polygon_centroid_2d(3, line2.data(), c);
  EXPECT_EQ(c[0], 0.0);
  EXPECT_EQ(c[1], 0.0);
  polygon_centroid_2d_2(3, line2.data(), c);
  EXPECT_EQ(c[0], 0.0);
  EXPECT_EQ(c[1], 0.0);
  // One or two vertices: the first vertex.
  const std::vector<double> two = {4, 5, 6, 7, 8, 9};
  polygon_centroid_2d(2, two.data(), c);
  EXPECT_TRUE(c[0] == 4 && c[1] == 5);
  polygon_centroid_2d_2(1, two.data(), c);
  EXPECT_TRUE(c[0] == 4 && c[1] == 5);
  polygon_centroid_3d(2, two.data(), c);
  EXPECT_TRUE(c[0] == 4 && c[1] == 5 && c[2] == 6);
  // No vertex at all: no vertex is read and the centroid is 0.
  for (auto f : {polygon_centroid_2d, polygon_centroid_2d_2, polygon_centroid_3d}) {
    double z[3] = {7, 7, 7};
    f(0, nullptr, z);
    EXPECT_EQ(z[0], 0.0);
    EXPECT_EQ(z[1], 0.0);
  }
  double z[3] = {7, 7, 7};
  polygon_centroid_3d(-3, nullptr, z);
  EXPECT_TRUE(z[0] == 0 && z[1] == 0 && z[2] == 0);
  area = 7;
  polygon_area_3d(0, nullptr, area, normal);
  EXPECT_EQ(area, 0.0);
  EXPECT_EQ(normal[2], 0.5773502691896258);
  for (auto f : {polygon_area_2d, polygon_area_2d_2}) {
    area = 7;
    f(0, nullptr, area);
    EXPECT_EQ(area, 0.0);
  }
  polygon_area_2d_2(2, two.data(), area);
  EXPECT_EQ(area, 0.0);
  polygon_area_3d_2(2, two.data(), area);
  EXPECT_EQ(area, 0.0);
  double angle[2] = {7, 7};
  polygon_angles_2d(2, two.data(), angle);
  EXPECT_TRUE(angle[0] == 0 && angle[1] == 0);
  polygon_normal_3d(2, two.data(), normal);
  EXPECT_TRUE(normal[0] == 0 && normal[1] == 0 && normal[2] == 0);
}

TEST(GeometryPolygons, IntegralWarnings) {
  const double v[] = {0, 0, 1, 1};
  const struct {
    const char* title;
    void (*f)(int32_t, const double*, double&);
  } rows[] = {{"POLYGON_1_2D", polygon_1_2d},
              {"POLYGON_X_2D", polygon_x_2d},
              {"POLYGON_Y_2D", polygon_y_2d},
              {"POLYGON_XX_2D", polygon_xx_2d},
              {"POLYGON_XY_2D", polygon_xy_2d}};
  for (const auto& r : rows) {
    double result = 7;
    EXPECT_EQ(stdout_of([&] { r.f(2, v, result); }),
              lines({" ", std::string(r.title) + " - Warning!", "  The number of vertices must be at least 3.",
                     "  The input value of N =        2"}));
    EXPECT_EQ(result, 0.0);
  }
  double result = 7;
  EXPECT_EQ(stdout_of([&] { polygon_yy_2d(-1, v, result); }),
            lines({" ", "POLYGON_YY_2D - Warning!", "  The number of polygonal vertices must be ",
                   "  at least 3, but the input polygon has N =       -1"}));
  EXPECT_EQ(result, 0.0);
}

// An L whose fan from the last vertex (0, 2) holds a clockwise triangle:
// the signed methods agree on the true centroid (5/6, 5/6), the unsigned
// fan in space does not.
TEST(GeometryPolygons, ReentrantPolygonCentroids) {
  const std::vector<double> l = {0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2};
  double c1[2], c2[2], c3[3], area;
  polygon_centroid_2d(6, l.data(), c1);
  polygon_centroid_2d_2(6, l.data(), c2);
  polygon_area_2d(6, l.data(), area);
  EXPECT_EQ(area, 3.0);
  EXPECT_TRUE(vec_rel_near({c1[0], c1[1], c2[0], c2[1]}, {5.0 / 6, 5.0 / 6, 5.0 / 6, 5.0 / 6}, 1e-15));
  const auto l3 = lifted(l, 1.0);
  polygon_centroid_3d(6, l3.data(), c3);
  // Fan triangle 3 (area 0.5, centroid (1, 4/3)) adds instead of subtracts:
  // (3 (5/6, 5/6) + 2 * 0.5 (1, 4/3)) / 4.
  EXPECT_TRUE(vec_rel_near({c3[0], c3[1], c3[2]}, {(2.5 + 1) / 4, (2.5 + 4.0 / 3) / 4, 1}, 1e-15));
  double angle[6];
  polygon_angles_2d(6, l.data(), angle);
  EXPECT_TRUE(rel_near(angle[3], 3 * pi / 2, 1e-15));
  double sum = 0;
  for (double a : angle) sum += a;
  EXPECT_TRUE(rel_near(sum, 4 * pi, 1e-15));
}

// On random convex polygons: the plane areas and the integral of 1 agree;
// the integrals of x and y over that of 1 give the centroid; translation
// moves all three centroids with the polygon; reversal negates the signed
// measures and keeps the centroids; the angles sum to (N - 2) pi.
TEST(GeometryPolygons, InvariancesOnRandomConvexPolygons) {
  int32_t seed = 139;
  for (int trial = 0; trial < 200; ++trial) {
    const int32_t n = i4_uniform(3, 12, seed);
    const auto v = testing::random_convex_polygon(n, seed);
    const auto d = testing::random_points(2, 1, -30.0, 30.0, seed);
    double a1, a2, c1[2], c2[2], c3[3];
    polygon_area_2d(n, v.data(), a1);
    polygon_area_2d_2(n, v.data(), a2);
    const integrals r = integrate(n, v.data());
    EXPECT_GT(a1, 0.0);
    EXPECT_TRUE(rel_near(a2, a1, 1e-12));
    EXPECT_TRUE(rel_near(r.one, a1, 1e-12));
    polygon_centroid_2d(n, v.data(), c1);
    polygon_centroid_2d_2(n, v.data(), c2);
    const auto v3 = lifted(v, -4.0);
    polygon_centroid_3d(n, v3.data(), c3);
    const double tol = 1e-11 * 15;
    for (const double* c : {c1, c2, c3}) {
      EXPECT_NEAR(c[0], r.x / r.one, tol);
      EXPECT_NEAR(c[1], r.y / r.one, tol);
    }

    auto moved = v;
    for (int32_t j = 0; j < n; ++j) {
      moved[2 * j] += d[0];
      moved[2 * j + 1] += d[1];
    }
    double m1[2], m2[2], m3[3];
    polygon_centroid_2d(n, moved.data(), m1);
    polygon_centroid_2d_2(n, moved.data(), m2);
    const auto moved3 = lifted(moved, -4.0);
    polygon_centroid_3d(n, moved3.data(), m3);
    for (int i = 0; i < 2; ++i) {
      EXPECT_NEAR(m1[i], c1[i] + d[i], tol * 3);
      EXPECT_NEAR(m2[i], c2[i] + d[i], tol * 3);
      EXPECT_NEAR(m3[i], c3[i] + d[i], tol * 3);
    }

    const auto back = reversed(v, 2);
    double b1, b2, bc1[2], bc2[2];
    polygon_area_2d(n, back.data(), b1);
    polygon_area_2d_2(n, back.data(), b2);
    polygon_centroid_2d(n, back.data(), bc1);
    polygon_centroid_2d_2(n, back.data(), bc2);
    const integrals rb = integrate(n, back.data());
    EXPECT_TRUE(rel_near(b1, -a1, 1e-12));
    EXPECT_TRUE(rel_near(b2, -a1, 1e-12));
    EXPECT_TRUE(vec_rel_near({rb.one, rb.x, rb.y, rb.xx, rb.xy, rb.yy}, {-r.one, -r.x, -r.y, -r.xx, -r.xy, -r.yy},
                             1e-11));
    for (int i = 0; i < 2; ++i) {
      EXPECT_NEAR(bc1[i], c1[i], tol);
      EXPECT_NEAR(bc2[i], c2[i], tol);
    }

    std::vector<double> angle(n);
    polygon_angles_2d(n, v.data(), angle.data());
    double sum = 0;
    for (double a : angle) sum += a;
    EXPECT_TRUE(rel_near(sum, (n - 2) * pi, 1e-13));
  }
}

// Every area routine gives the same value for one triangle (and for one
// quadrilateral), in the plane and after a rigid motion in space.
TEST(GeometryPolygons, AreasAgreeAcrossFigures) {
  int32_t seed = 2735;
  for (int trial = 0; trial < 200; ++trial) {
    const auto t = testing::random_triangle_2d(seed);
    double at, ap, ap2, a1, apg;
    triangle_area_2d(t.data(), at);
    polygon_area_2d(3, t.data(), ap);
    polygon_area_2d_2(3, t.data(), ap2);
    polygon_1_2d(3, t.data(), a1);
    std::vector<double> pg = t;
    pg.insert(pg.end(), {t[2] + t[4] - t[0], t[3] + t[5] - t[1]});
    parallelogram_area_2d(pg.data(), apg);
    for (double a : {ap, ap2, a1, 0.5 * apg}) EXPECT_TRUE(rel_near(a, at, 1e-12));

    // In space: the triangle carried into the plane of a random normal by
    // that plane's frame and moved.
    const auto n = testing::random_direction(3, seed);
    double pq[3], pr[3];
    const double o[3] = {0, 0, 0};
    plane_normal_basis_3d(o, n.data(), pq, pr);
    const std::vector<double> frame = {pq[0], pq[1], pq[2], pr[0], pr[1], pr[2], n[0], n[1], n[2]};
    const auto t3 = testing::place_3d(lifted(t, 0.0), frame, testing::random_points(3, 1, -20.0, 20.0, seed));
    double s1, s2, s3, sh, sv[3], sp, sp2, normal[3], pn[3];
    triangle_area_3d(t3.data(), s1);
    triangle_area_3d_2(t3.data(), s2);
    triangle_area_3d_3(t3.data(), s3);
    const double sides[3] = {r8vec_distance(3, &t3[0], &t3[3]), r8vec_distance(3, &t3[3], &t3[6]),
                             r8vec_distance(3, &t3[6], &t3[0])};
    triangle_area_heron(sides, sh);
    triangle_area_vector_3d(t3.data(), sv);
    polygon_area_3d(3, t3.data(), sp, normal);
    polygon_area_3d_2(3, t3.data(), sp2);
    polygon_normal_3d(3, t3.data(), pn);
    for (double a : {s1, s2, s3, sh, 0.5 * r8vec_norm(3, sv), sp, sp2}) EXPECT_TRUE(rel_near(a, at, 1e-11));
    // A counterclockwise triangle in the frame's plane faces along its normal.
    EXPECT_TRUE(vec_rel_near({normal[0], normal[1], normal[2]}, {pn[0], pn[1], pn[2]}, 1e-11));
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1], pn[2]}, n, 1e-11));

    // Quadrilaterals, convex or not: vertex 3 moved next to the middle of
    // the diagonal from vertex 1 makes a dart or a thin convex one.
    const auto q = testing::random_convex_polygon(4, seed);
    auto dent = q;
    dent[4] = 0.5 * (q[0] + q[4]) + r8_uniform(-0.5, 0.5, seed);
    dent[5] = 0.5 * (q[1] + q[5]);
    for (const auto& quad : {q, dent}) {
      double qa, qa2, pa;
      quad_area_2d(quad.data(), qa);
      quad_area2_2d(quad.data(), qa2);
      polygon_area_2d(4, quad.data(), pa);
      EXPECT_TRUE(rel_near(qa, pa, 1e-12));
      EXPECT_TRUE(rel_near(qa2, pa, 1e-12));
    }
  }
}

TEST(GeometryPolygons, LatticeArea) {
  const struct {
    int32_t i, b;
    double area;
  } rows[] = {{0, 4, 1.0}, {1, 8, 4.0}, {0, 3, 0.5}, {2, 7, 4.5}};
  for (const auto& r : rows) {
    double area;
    polygon_lattice_area_2d(r.i, r.b, area);
    EXPECT_EQ(area, r.area);
  }
}

}  // namespace
}  // namespace orvel::geometry
