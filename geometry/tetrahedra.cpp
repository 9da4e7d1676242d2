#include "geometry/tetrahedra.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;

// The vertices of face f in their listed order.
constexpr int32_t face_vertex[4][3] = {{1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {2, 3, 4}};

void face(const double* tetra, int32_t f, double* t) {
  const mat_ref TETRA(tetra, 3, 4);
  const mat_ref T(t, 3, 3);
  for (int32_t k = 1; k <= 3; ++k)
    for (int32_t i = 1; i <= 3; ++i) T(i, k) = TETRA(i, face_vertex[f - 1][k - 1]);
}

// arccos of the cosine between two normals (the lengths are not tested).
double normal_angle(const double* n1, const double* n2) {
  return arc_cosine(r8vec_dot_product(3, n1, n2) / (r8vec_norm(3, n1) * r8vec_norm(3, n2)));
}

}  // namespace

void tetrahedron_barycentric_3d(const double* tetra, const double* p, double* xsi) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref P(p, 3);
  const vec_ref XSI(xsi, 4);
  double s[12];
  const mat_ref S(s, 3, 4);
  for (int32_t i = 1; i <= 3; ++i) {
    S(i, 1) = TETRA(i, 2) - TETRA(i, 1);
    S(i, 2) = TETRA(i, 3) - TETRA(i, 1);
    S(i, 3) = TETRA(i, 4) - TETRA(i, 1);
    S(i, 4) = P(i) - TETRA(i, 1);
  }
  int32_t info;
  r8mat_solve(3, 1, s, info);
  if (info != 0) {
    fatal("TETRAHEDRON_BARYCENTRIC_3D",
          {"  The linear system is singular.", "  The input data does not form a proper tetrahedron."});
  }
  XSI(2) = S(1, 4);
  XSI(3) = S(2, 4);
  XSI(4) = S(3, 4);
  XSI(1) = 1.0 - (XSI(2) + XSI(3) + XSI(4));
}

void tetrahedron_centroid_3d(const double* tetra, double* centroid) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref CENTROID(centroid, 3);
  for (int32_t i = 1; i <= 3; ++i)
    CENTROID(i) = 0.25 * (TETRA(i, 1) + TETRA(i, 2) + TETRA(i, 3) + TETRA(i, 4));
}

void tetrahedron_volume_3d(const double* tetra, double& volume) {
  const mat_ref TETRA(tetra, 3, 4);
  double a[16];
  const mat_ref A(a, 4, 4);
  for (int32_t j = 1; j <= 4; ++j) {
    for (int32_t i = 1; i <= 3; ++i) A(i, j) = TETRA(i, j);
    A(4, j) = 1.0;
  }
  volume = std::fabs(r8mat_det_4d(a)) / 6.0;
}

void tetrahedron_edge_length_3d(const double* tetra, double* edge_length) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref E(edge_length, 6);
  int32_t k = 0;
  for (int32_t j1 = 1; j1 <= 3; ++j1)
    for (int32_t j2 = j1 + 1; j2 <= 4; ++j2) E(++k) = r8vec_distance(3, TETRA.col(j2), TETRA.col(j1));
}

void tetrahedron_face_areas_3d(const double* tetra, double* areas) {
  const vec_ref AREAS(areas, 4);
  for (int32_t f = 1; f <= 4; ++f) {
    double t[9];
    face(tetra, f, t);
    triangle_area_3d(t, AREAS(f));
  }
}

void tetrahedron_face_angles_3d(const double* tetra, double* angles) {
  const mat_ref ANGLES(angles, 3, 4);
  for (int32_t f = 1; f <= 4; ++f) {
    double t[9];
    face(tetra, f, t);
    triangle_angles_3d(t, ANGLES.col(f));
  }
}

void tetrahedron_dihedral_angles_3d(const double* tetra, double* angles) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref ANGLES(angles, 6);
  const double* a = TETRA.col(1);
  const double* b = TETRA.col(2);
  const double* c = TETRA.col(3);
  const double* d = TETRA.col(4);
  // Each normal points out of the solid when (AB x AC) . AD > 0, into it
  // otherwise.
  double abc[3], abd[3], acd[3], bcd[3];
  r8vec_cross_product_affine_3d(a, c, b, abc);
  r8vec_cross_product_affine_3d(a, b, d, abd);
  r8vec_cross_product_affine_3d(a, d, c, acd);
  r8vec_cross_product_affine_3d(b, c, d, bcd);
  ANGLES(1) = pi - normal_angle(abc, abd);
  ANGLES(2) = pi - normal_angle(abc, acd);
  ANGLES(3) = pi - normal_angle(abd, acd);
  ANGLES(4) = pi - normal_angle(abc, bcd);
  ANGLES(5) = pi - normal_angle(abd, bcd);
  ANGLES(6) = pi - normal_angle(acd, bcd);
}

void tetrahedron_solid_angles_3d(const double* tetra, double* angle) {
  const vec_ref ANGLE(angle, 4);
  double d[6];
  tetrahedron_dihedral_angles_3d(tetra, d);
  ANGLE(1) = d[0] + d[1] + d[2] - pi;
  ANGLE(2) = d[0] + d[3] + d[4] - pi;
  ANGLE(3) = d[1] + d[3] + d[5] - pi;
  ANGLE(4) = d[2] + d[4] + d[5] - pi;
}

}  // namespace orvel::geometry
