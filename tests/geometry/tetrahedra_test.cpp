#include "geometry/tetrahedra.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "geometry/regular_polygons.hpp"
#include "geometry/triangles.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

const double pi = 3.141592653589793;
const double corner[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
const double corner_swapped[] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1};  // B and C exchanged
const double regular[] = {1, 1, 1, 1, -1, -1, -1, 1, -1, -1, -1, 1};

TEST(GeometryTetrahedra, CornerTetrahedronByHand) {
  const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0);
  const double b = std::acos(1.0 / r3);  // between a coordinate plane and x + y + z = 1
  for (const double* t : {corner, corner_swapped}) {
    double volume, centroid[3], edges[6], areas[4], dihedral[6], solid[4];
    tetrahedron_volume_3d(t, volume);
    tetrahedron_centroid_3d(t, centroid);
    tetrahedron_edge_length_3d(t, edges);
    tetrahedron_face_areas_3d(t, areas);
    tetrahedron_dihedral_angles_3d(t, dihedral);
    tetrahedron_solid_angles_3d(t, solid);
    EXPECT_TRUE(rel_near(volume, 1.0 / 6.0, 1e-15));
    EXPECT_TRUE(vec_rel_near({centroid[0], centroid[1], centroid[2]}, {0.25, 0.25, 0.25}, 0));
    EXPECT_TRUE(vec_rel_near({edges, edges + 6}, {1, 1, 1, r2, r2, r2}, 1e-15));
    EXPECT_TRUE(vec_rel_near({areas, areas + 4}, {0.5, 0.5, 0.5, r3 / 2}, 1e-15));
    EXPECT_TRUE(vec_rel_near({dihedral, dihedral + 6}, {pi / 2, pi / 2, pi / 2, b, b, b}, 1e-14));
    EXPECT_TRUE(vec_rel_near({solid, solid + 4}, {pi / 2, 2 * b - pi / 2, 2 * b - pi / 2, 2 * b - pi / 2}, 1e-14));
  }
  // Face angles: faces ABC, ABD, ACD are right isosceles triangles with the
  // right angle at A; BCD is equilateral.
  double angles[12];
  tetrahedron_face_angles_3d(corner, angles);
  const double q = pi / 4, r = pi / 2, s = pi / 3;
  EXPECT_TRUE(vec_rel_near({angles, angles + 12}, {r, q, q, r, q, q, r, q, q, s, s, s}, 1e-15));

  // Barycentric weights: (1 - x - y - z, x, y, z); vertex k the k-th unit
  // vector; the centroid 1/4 each.
  const struct {
    double p[3];
    std::vector<double> xsi;
  } rows[] = {
      {{0.1, 0.2, 0.3}, {0.4, 0.1, 0.2, 0.3}}, {{1, 0, 0}, {0, 1, 0, 0}},         {{0, 0, 1}, {0, 0, 0, 1}},
      {{0, 0, 0}, {1, 0, 0, 0}},               {{0.25, 0.25, 0.25}, {0.25, 0.25, 0.25, 0.25}},
      {{2, -1, 0.5}, {-0.5, 2, -1, 0.5}},
  };
  for (const auto& row : rows) {
    double xsi[4];
    tetrahedron_barycentric_3d(corner, row.p, xsi);
    EXPECT_TRUE(vec_rel_near({xsi, xsi + 4}, row.xsi, 1e-15));
  }
}

TEST(GeometryTetrahedra, RegularAndFlatTetrahedra) {
  double dihedral[6], solid[4];
  tetrahedron_dihedral_angles_3d(regular, dihedral);
  tetrahedron_solid_angles_3d(regular, solid);
  for (double d : dihedral) EXPECT_TRUE(rel_near(d, std::acos(1.0 / 3.0), 1e-14));
  for (double s : solid) EXPECT_TRUE(rel_near(s, 3 * std::acos(1.0 / 3.0) - pi, 1e-14));

  const double flat[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
  double volume, xsi[4];
  tetrahedron_volume_3d(flat, volume);
  EXPECT_EQ(volume, 0.0);
  const double p[] = {0.5, 0.5, 0};
  expect_fatal([&] { tetrahedron_barycentric_3d(flat, p, xsi); },
               {" ", "TETRAHEDRON_BARYCENTRIC_3D - Fatal error!", "  The linear system is singular.",
                "  The input data does not form a proper tetrahedron."});
}

// Identities on random tetrahedra: the weights rebuild P and sum to 1; the
// volume is a sixth of the scalar triple product and ignores the vertex
// order and a rotation; the face areas and angles are those of the face
// triangles (angles summing to pi); the solid angle at D is the solid angle
// of face ABC seen from D, and the four solid angles follow from the
// dihedral angles.
TEST(GeometryTetrahedra, RandomTetrahedronIdentities) {
  int32_t seed = 170;
  for (int k = 0; k < 300; ++k) {
    const auto t = testing::random_tetrahedron(seed);
    const auto p = testing::random_points(3, 1, -12.0, 12.0, seed);
    double xsi[4];
    tetrahedron_barycentric_3d(t.data(), p.data(), xsi);
    EXPECT_TRUE(rel_near(xsi[0] + xsi[1] + xsi[2] + xsi[3], 1.0, 1e-14));
    for (int i = 0; i < 3; ++i) {
      const double back = xsi[0] * t[i] + xsi[1] * t[3 + i] + xsi[2] * t[6 + i] + xsi[3] * t[9 + i];
      EXPECT_TRUE(rel_near(back, p[i], 1e-12));
    }

    double volume, moved_volume, swapped_volume;
    tetrahedron_volume_3d(t.data(), volume);
    const double e1[] = {t[3] - t[0], t[4] - t[1], t[5] - t[2]};
    const double e2[] = {t[6] - t[0], t[7] - t[1], t[8] - t[2]};
    const double e3[] = {t[9] - t[0], t[10] - t[1], t[11] - t[2]};
    EXPECT_TRUE(rel_near(volume, r8vec_scalar_triple_product(e1, e2, e3) / 6.0, 1e-12));
    const auto moved = testing::place_3d(t, testing::random_rotation(seed), {3, -2, 1});
    tetrahedron_volume_3d(moved.data(), moved_volume);
    EXPECT_TRUE(rel_near(moved_volume, volume, 1e-11));
    const std::vector<double> swapped = {t[6], t[7], t[8], t[3], t[4], t[5], t[0], t[1], t[2], t[9], t[10], t[11]};
    tetrahedron_volume_3d(swapped.data(), swapped_volume);
    EXPECT_TRUE(rel_near(swapped_volume, volume, 1e-12));

    double areas[4], angles[12];
    tetrahedron_face_areas_3d(t.data(), areas);
    tetrahedron_face_angles_3d(t.data(), angles);
    const int faces[4][3] = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}};
    for (int f = 0; f < 4; ++f) {
      std::vector<double> tri;
      for (int v : faces[f]) tri.insert(tri.end(), t.begin() + 3 * v, t.begin() + 3 * v + 3);
      double a, ang[3];
      triangle_area_3d(tri.data(), a);
      triangle_angles_3d(tri.data(), ang);
      EXPECT_EQ(areas[f], a);
      EXPECT_TRUE(vec_rel_near({angles + 3 * f, angles + 3 * f + 3}, {ang[0], ang[1], ang[2]}, 0));
      EXPECT_TRUE(rel_near(ang[0] + ang[1] + ang[2], pi, 1e-14));
    }

    double dihedral[6], solid[4];
    tetrahedron_dihedral_angles_3d(t.data(), dihedral);
    tetrahedron_solid_angles_3d(t.data(), solid);
    for (double d : dihedral) {
      EXPECT_GT(d, 0.0);
      EXPECT_LT(d, pi);
    }
    EXPECT_TRUE(rel_near(solid[0], dihedral[0] + dihedral[1] + dihedral[2] - pi, 1e-15));
    double face_abc_from_d;
    polygon_solid_angle_3d(3, t.data(), t.data() + 9, face_abc_from_d);
    EXPECT_TRUE(rel_near(solid[3], std::fabs(face_abc_from_d), 1e-11));
  }
}

}  // namespace
}  // namespace orvel::geometry
