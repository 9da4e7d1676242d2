#include "geometry/triangles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/plane_forms.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

const double pi = 3.141592653589793;

// The 3 by 3 triangle of a plane one lifted to z.
std::vector<double> lifted(const std::vector<double>& t, double z) {
  return {t[0], t[1], z, t[2], t[3], z, t[4], t[5], z};
}

TEST(GeometryTriangles, PlaneAreaIsSignedAndSpaceAreasAgree) {
  const struct {
    const char* what;
    std::vector<double> t;
    double area;
  } rows[] = {
      {"counterclockwise", {0, 0, 1, 0, 0, 1}, 0.5},
      {"clockwise", {0, 0, 0, 1, 1, 0}, -0.5},
      {"collinear", {0, 0, 1, 1, 3, 3}, 0.0},
      {"3-4-5", {1, 1, 4, 1, 1, 5}, 6.0},
  };
  for (const auto& r : rows) {
    double a2, a3, a3_2, a3_3;
    triangle_area_2d(r.t.data(), a2);
    EXPECT_EQ(a2, r.area) << r.what;
    const auto t3 = lifted(r.t, -2.5);
    triangle_area_3d(t3.data(), a3);
    triangle_area_3d_2(t3.data(), a3_2);
    triangle_area_3d_3(t3.data(), a3_3);
    EXPECT_EQ(a3, std::fabs(r.area)) << r.what;
    EXPECT_TRUE(rel_near(a3_2, std::fabs(r.area), 1e-15)) << r.what;
    if (r.area != 0.0) {
      EXPECT_TRUE(rel_near(a3_3, std::fabs(r.area), 1e-14)) << r.what;
    }
  }
  // P1 = P2: the base has length 0 and the area is exactly 0.
  const double t[] = {1, 2, 3, 1, 2, 3, 7, -1, 4};
  double area = -1;
  triangle_area_3d_2(t, area);
  EXPECT_EQ(area, 0.0);
}

// A flat triangle whose rounded side lengths break the triangle inequality:
// Heron's product is negative and the side-length method reports -1.
TEST(GeometryTriangles, HeronOnImpossibleAndFlatSides) {
  const struct {
    double s[3];
    double area;
  } rows[] = {{{1, 1, 3}, -1.0}, {{1, 1, 2}, 0.0}, {{3, 4, 5}, 6.0}, {{5, 3, 4}, 6.0}, {{0, 0, 0}, 0.0}};
  for (const auto& r : rows) {
    double area;
    triangle_area_heron(r.s, area);
    EXPECT_EQ(area, r.area) << r.s[0] << " " << r.s[1] << " " << r.s[2];
  }
  const double flat[] = {0, 0, 0, 1.3, 3.9000000000000004, 0, 3.9000000000000004, 11.700000000000001, 0};
  double area;
  triangle_area_3d_3(flat, area);
  EXPECT_EQ(area, -1.0);
  triangle_area_3d(flat, area);
  EXPECT_LT(area, 1e-14);
}

// Every space method gives the same area, half the area vector's length,
// and none changes under a rigid motion: the frame of a random plane
// normal and a translation.
TEST(GeometryTriangles, SpaceAreasAgreeAndAreInvariant) {
  int32_t seed = 135;
  for (int k = 0; k < 200; ++k) {
    const auto t = testing::random_triangle_3d(seed);
    double a1, a2, a3, av[3];
    triangle_area_3d(t.data(), a1);
    triangle_area_3d_2(t.data(), a2);
    triangle_area_3d_3(t.data(), a3);
    triangle_area_vector_3d(t.data(), av);
    EXPECT_TRUE(rel_near(a2, a1, 1e-12));
    EXPECT_TRUE(rel_near(a3, a1, 1e-12));
    EXPECT_TRUE(rel_near(0.5 * r8vec_norm(3, av), a1, 1e-12));
    double s[3] = {r8vec_distance(3, &t[0], &t[3]), r8vec_distance(3, &t[3], &t[6]), r8vec_distance(3, &t[6], &t[0])};
    double heron;
    triangle_area_heron(s, heron);
    EXPECT_TRUE(rel_near(heron, a1, 1e-12));
    // The area vector is normal to both edges.
    double e2[3], e3[3];
    for (int i = 0; i < 3; ++i) e2[i] = t[3 + i] - t[i], e3[i] = t[6 + i] - t[i];
    EXPECT_NEAR(r8vec_dot_product(3, av, e2), 0.0, 1e-11 * r8vec_norm(3, av) * r8vec_norm(3, e2));
    EXPECT_NEAR(r8vec_dot_product(3, av, e3), 0.0, 1e-11 * r8vec_norm(3, av) * r8vec_norm(3, e3));

    const auto n = testing::random_direction(3, seed);
    double pq[3], pr[3];
    const double o[3] = {0, 0, 0};
    plane_normal_basis_3d(o, n.data(), pq, pr);
    const std::vector<double> frame = {pq[0], pq[1], pq[2], pr[0], pr[1], pr[2], n[0], n[1], n[2]};
    const auto moved = testing::place_3d(t, frame, testing::random_points(3, 1, -50.0, 50.0, seed));
    double b1, b2, b3;
    triangle_area_3d(moved.data(), b1);
    triangle_area_3d_2(moved.data(), b2);
    triangle_area_3d_3(moved.data(), b3);
    EXPECT_TRUE(rel_near(b1, a1, 1e-11));
    EXPECT_TRUE(rel_near(b2, a1, 1e-11));
    EXPECT_TRUE(rel_near(b3, a1, 1e-11));
  }
}

TEST(GeometryTriangles, AreaVectorPointsToTheCounterclockwiseSide) {
  const double t[] = {1, 1, 1, 3, 1, 1, 1, 4, 1};
  double v[3];
  triangle_area_vector_3d(t, v);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 0.0);
  EXPECT_EQ(v[2], 6.0);
}

TEST(GeometryTriangles, AnglesByHandAndTheirSum) {
  const double third = 2.0943951023931953;
  const struct {
    const char* what;
    std::vector<double> t;
    double angle[3];
  } rows[] = {
      {"3-4-5 right at P1", {0, 0, 4, 0, 0, 3}, {pi / 2, std::atan2(3.0, 4.0), std::atan2(4.0, 3.0)}},
      {"equilateral", {0, 0, 1, 0, 0.5, std::sqrt(3.0) / 2}, {pi / 3, pi / 3, pi / 3}},
      {"three equal vertices", {2, 2, 2, 2, 2, 2}, {third, third, third}},
      {"P1 = P2", {1, 1, 1, 1, 5, 3}, {pi, pi, 0}},
      {"P2 = P3", {1, 1, 5, 3, 5, 3}, {0, pi, pi}},
      {"collinear, P2 between", {0, 0, 1, 0, 3, 0}, {0, pi, 0}},
  };
  for (const auto& r : rows) {
    double a2[3], a3[3];
    triangle_angles_2d(r.t.data(), a2);
    const auto t3 = lifted(r.t, 7.0);
    triangle_angles_3d(t3.data(), a3);
    EXPECT_TRUE(vec_rel_near({a2[0], a2[1], a2[2]}, {r.angle[0], r.angle[1], r.angle[2]}, 1e-14)) << r.what;
    EXPECT_TRUE(vec_rel_near({a3[0], a3[1], a3[2]}, {r.angle[0], r.angle[1], r.angle[2]}, 1e-14)) << r.what;
  }
  int32_t seed = 2024;
  for (int k = 0; k < 200; ++k) {
    const auto t2 = testing::random_triangle_2d(seed);
    const auto t3 = testing::random_triangle_3d(seed);
    double a2[3], a3[3];
    triangle_angles_2d(t2.data(), a2);
    triangle_angles_3d(t3.data(), a3);
    EXPECT_TRUE(rel_near(a2[0] + a2[1] + a2[2], pi, 1e-13));
    EXPECT_TRUE(rel_near(a3[0] + a3[1] + a3[2], pi, 1e-13));
  }
}

TEST(GeometryTriangles, EdgeLengthsDiameterAndQuality) {
  const double s = std::sqrt(3.0) / 2;
  const struct {
    const char* what;
    std::vector<double> t;
    double edges[3], diameter, quality;
  } rows[] = {
      {"obtuse at (1, 1)", {0, 0, 4, 0, 1, 1}, {4, std::sqrt(10.0), std::sqrt(2.0)}, 4, -1},  // quality unchecked
      {"equilateral of side 1", {0, 0, 1, 0, 0.5, s}, {1, 1, 1}, 2 / std::sqrt(3.0), 1},
      {"right 3-4-5", {0, 0, 3, 0, 0, 4}, {3, 5, 4}, 5, 0.8},  // 2 r / R = 2 * 1 / 2.5
      {"P1 = P2", {1, 1, 1, 1, 4, 5}, {0, 5, 5}, 5, 0},
      {"P2 = P3", {1, 1, 4, 5, 4, 5}, {5, 0, 5}, 5, 0},
      {"P3 = P1", {4, 5, 1, 1, 4, 5}, {5, 5, 0}, 5, 0},
  };
  for (const auto& r : rows) {
    double e[3], d, q;
    triangle_edge_length_2d(r.t.data(), e);
    triangle_diameter_2d(r.t.data(), d);
    triangle_quality_2d(r.t.data(), q);
    EXPECT_TRUE(vec_rel_near({e[0], e[1], e[2]}, {r.edges[0], r.edges[1], r.edges[2]}, 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(d, r.diameter, 1e-15)) << r.what;
    if (r.quality >= 0) {
      EXPECT_TRUE(rel_near(q, r.quality, 1e-15)) << r.what;
    }
  }
  // Acute triangles: the diameter is that of the circumscribed circle, 2 a b c
  // / (4 area); the quality lies in (0, 1].
  int32_t seed = 77;
  for (int k = 0; k < 100; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    double e[3], d, q, area;
    triangle_edge_length_2d(t.data(), e);
    triangle_diameter_2d(t.data(), d);
    triangle_quality_2d(t.data(), q);
    triangle_area_2d(t.data(), area);
    EXPECT_TRUE(rel_near(d, e[0] * e[1] * e[2] / (2 * area), 1e-12));
    EXPECT_GT(q, 0.0);
    EXPECT_LE(q, 1.0 + 1e-15);
  }
}

TEST(GeometryTriangles, OrientationCodes) {
  const struct {
    const char* what;
    double t[6];
    int32_t code;
  } rows[] = {
      {"counterclockwise", {0, 0, 1, 0, 0, 1}, 0},
      {"clockwise", {0, 0, 0, 1, 1, 0}, 1},
      {"collinear", {0, 0, 1, 1, 2, 2}, 2},
      {"P1 = P2", {1, 1, 1, 1, 0, 5}, 3},
      {"P2 = P3 and collinear", {0, 0, 1, 1, 1, 1}, 3},
      {"P3 = P1", {0, 0, 1, 0, 0, 0}, 3},
      {"all equal", {2, 2, 2, 2, 2, 2}, 3},
  };
  for (const auto& r : rows) EXPECT_EQ(triangle_orientation_2d(r.t), r.code) << r.what;
}

TEST(GeometryTriangles, Centroids) {
  const double t2[] = {0, 0, 3, 0, 0, 6};
  const double t3[] = {0, 0, 3, 3, 0, 0, 0, 6, -3};
  double c2[2], c3[3];
  triangle_centroid_2d(t2, c2);
  triangle_centroid_3d(t3, c3);
  EXPECT_EQ(c2[0], 1.0);
  EXPECT_EQ(c2[1], 2.0);
  EXPECT_EQ(c3[0], 1.0);
  EXPECT_EQ(c3[1], 2.0);
  EXPECT_EQ(c3[2], 0.0);
}

TEST(GeometryTriangles, BarycentricOrdersAndRoundTrips) {
  // The vertex P2: barycentric_2d weighs P2 first, xy_to_xsi weighs P1 first.
  const double t[] = {1, 1, 5, 2, 2, 6};
  double xb[3], xs[3];
  triangle_barycentric_2d(t, &t[2], xb);
  triangle_xy_to_xsi_2d(t, &t[2], xs);
  EXPECT_TRUE(vec_rel_near({xb[0], xb[1], xb[2]}, {1, 0, 0}, 1e-15));
  EXPECT_TRUE(vec_rel_near({xs[0], xs[1], xs[2]}, {0, 1, 0}, 1e-15));

  int32_t seed = 9;
  for (int k = 0; k < 200; ++k) {
    const auto tr = testing::random_triangle_2d(seed);
    const auto p = testing::random_points(2, 1, -15.0, 15.0, seed);
    double b[3], x[3], q[2];
    triangle_barycentric_2d(tr.data(), p.data(), b);
    triangle_xy_to_xsi_2d(tr.data(), p.data(), x);
    // The same weights in the rotated order.
    EXPECT_TRUE(vec_rel_near({b[0], b[1], b[2]}, {x[1], x[2], x[0]}, 1e-11));
    triangle_xsi_to_xy_2d(tr.data(), x, q);
    EXPECT_NEAR(q[0], p[0], 1e-11);
    EXPECT_NEAR(q[1], p[1], 1e-11);
  }
  // The weights are used as given: the sum need not be 1.
  const double w[] = {2, 0, 0};
  double q[2];
  triangle_xsi_to_xy_2d(t, w, q);
  EXPECT_EQ(q[0], 2.0);
  EXPECT_EQ(q[1], 2.0);
}

TEST(GeometryTriangles, DegenerateBarycentricCoordinates) {
  const double collinear[] = {0, 0, 1, 1, 2, 2};
  const double p[] = {0.5, 0.2};
  expect_fatal(
      [&] {
        double xsi[3];
        triangle_barycentric_2d(collinear, p, xsi);
      },
      {" ", "TRIANGLE_BARYCENTRIC_2D - Fatal error!", "  The linear system is singular.",
       "  The input data does not form a proper triangle."});
  // The closed formula divides by det = 0 without a word.
  auto xsi = canaries(3);
  EXPECT_EQ(stdout_of([&] { triangle_xy_to_xsi_2d(collinear, p, xsi.data()); }), "");
  EXPECT_FALSE(std::isfinite(xsi[0]));
  EXPECT_FALSE(std::isfinite(xsi[1]));
}

}  // namespace
}  // namespace orvel::geometry
