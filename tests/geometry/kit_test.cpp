// The random fixtures of the test kit have the shapes they promise.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/angles.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::rel_near;

TEST(GeometryKit, FixturesAreWellShaped) {
  int32_t seed = 1;
  for (int k = 0; k < 200; ++k) {
    // Directions: unit length.
    for (int32_t n = 1; n <= 5; ++n)
      EXPECT_TRUE(rel_near(r8vec_norm(n, testing::random_direction(n, seed).data()), 1.0, 1e-15));
    // Rotations: orthogonal with determinant 1.
    const auto r = testing::random_rotation(seed);
    EXPECT_NEAR(r8mat_det_3d(r.data()), 1.0, 1e-14);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(r8vec_dot_product(3, &r[3 * i], &r[3 * j]), i == j ? 1.0 : 0.0, 1e-14);
    // Plane triangles: counterclockwise, every angle between 30 and 100 degrees.
    const auto t = testing::random_triangle_2d(seed);
    EXPECT_GT(r8vec_cross_product_affine_2d(&t[0], &t[2], &t[4]), 0.0);
    for (int v = 0; v < 3; ++v) {
      // The previous vertex, the vertex, the next: the interior angle.
      const double a = angle_deg_2d(&t[2 * ((v + 2) % 3)], &t[2 * v], &t[2 * ((v + 1) % 3)]);
      EXPECT_GT(a, 30.0);
      EXPECT_LT(a, 100.0);
    }
    // Triangles in space: the same angles.
    const auto t3 = testing::random_triangle_3d(seed);
    for (int v = 0; v < 3; ++v) {
      const double a = angle_rad_3d(&t3[3 * ((v + 1) % 3)], &t3[3 * v], &t3[3 * ((v + 2) % 3)]);
      EXPECT_GT(a, 30.0 * 0.017453292519943295);
      EXPECT_LT(a, 100.0 * 0.017453292519943295);
    }
    // Tetrahedra: positive orientation, no face nearly flat.
    const auto q = testing::random_tetrahedron(seed);
    double e[9];
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) e[3 * j + i] = q[3 * (j + 1) + i] - q[i];
    const double volume = r8vec_scalar_triple_product(&e[0], &e[3], &e[6]) / 6.0;
    const double edge = r8vec_norm(3, &e[0]);
    EXPECT_GT(volume, 0.05 * edge * edge * edge);
    // Convex polygons: every turn is to the left.
    const int32_t n = 3 + k % 8;
    const auto p = testing::random_convex_polygon(n, seed);
    for (int32_t v = 0; v < n; ++v) {
      const double* a = &p[2 * v];
      const double* b = &p[2 * ((v + 1) % n)];
      const double* c = &p[2 * ((v + 2) % n)];
      EXPECT_GT(r8vec_cross_product_affine_2d(a, b, c), 0.0);
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
