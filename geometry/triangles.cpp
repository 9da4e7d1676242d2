#include "geometry/triangles.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

// The three angles of a triangle in dim dimensions, from its side lengths.
void angles_from_sides(int32_t dim, const double* t, double* angle) {
  const mat_ref T(t, dim, 3);
  const vec_ref ANGLE(angle, 3);
  const double pi = 3.141592653589793;
  const double a = r8vec_distance(dim, T.col(1), T.col(2));
  const double b = r8vec_distance(dim, T.col(2), T.col(3));
  const double c = r8vec_distance(dim, T.col(3), T.col(1));
  if (a == 0.0 && b == 0.0 && c == 0.0) {
    ANGLE(1) = ANGLE(2) = ANGLE(3) = 2.0943951023931953;
    return;
  }
  ANGLE(1) = (c == 0.0 || a == 0.0) ? pi : arc_cosine((c * c + a * a - b * b) / (2.0 * c * a));
  ANGLE(2) = (a == 0.0 || b == 0.0) ? pi : arc_cosine((a * a + b * b - c * c) / (2.0 * a * b));
  ANGLE(3) = (b == 0.0 || c == 0.0) ? pi : arc_cosine((b * b + c * c - a * a) / (2.0 * b * c));
}

void centroid(int32_t dim, const double* t, double* c) {
  const mat_ref T(t, dim, 3);
  const vec_ref C(c, dim);
  for (int32_t i = 1; i <= dim; ++i) C(i) = (T(i, 1) + T(i, 2) + T(i, 3)) / 3.0;
}

}  // namespace

void triangle_area_2d(const double* t, double& area) {
  const mat_ref T(t, 2, 3);
  area = 0.5 * (T(1, 1) * (T(2, 2) - T(2, 3)) + T(1, 2) * (T(2, 3) - T(2, 1)) + T(1, 3) * (T(2, 1) - T(2, 2)));
}

void triangle_area_3d(const double* t, double& area) {
  double v[3];
  triangle_area_vector_3d(t, v);
  area = 0.5 * r8vec_norm(3, v);
}

void triangle_area_3d_2(const double* t, double& area) {
  const mat_ref T(t, 3, 3);
  double e2[3], e3[3];
  for (int32_t i = 1; i <= 3; ++i) {
    e2[i - 1] = T(i, 2) - T(i, 1);
    e3[i - 1] = T(i, 3) - T(i, 1);
  }
  const double base = r8vec_norm(3, e2);
  double height = 0.0;
  if (base != 0.0) {
    const double alpha = r8vec_dot_product(3, e2, e3) / (base * base);
    double d[3];
    for (int32_t i = 0; i < 3; ++i) d[i] = alpha * e2[i] - e3[i];
    height = r8vec_norm(3, d);
  }
  area = 0.5 * base * height;
}

void triangle_area_3d_3(const double* t, double& area) {
  const mat_ref T(t, 3, 3);
  const double s[3] = {r8vec_distance(3, T.col(1), T.col(2)), r8vec_distance(3, T.col(2), T.col(3)),
                       r8vec_distance(3, T.col(3), T.col(1))};
  triangle_area_heron(s, area);
}

void triangle_area_heron(const double* s, double& area) {
  const vec_ref S(s, 3);
  const double s1 = S(1), s2 = S(2), s3 = S(3);
  const double q = (s1 + s2 + s3) * (-s1 + s2 + s3) * (s1 - s2 + s3) * (s1 + s2 - s3);
  area = q < 0.0 ? -1.0 : std::sqrt(q) / 4.0;
}

void triangle_area_vector_3d(const double* t, double* v) {
  const mat_ref T(t, 3, 3);
  const vec_ref V(v, 3);
  V(1) = (T(2, 2) - T(2, 1)) * (T(3, 3) - T(3, 1)) - (T(3, 2) - T(3, 1)) * (T(2, 3) - T(2, 1));
  V(2) = (T(3, 2) - T(3, 1)) * (T(1, 3) - T(1, 1)) - (T(1, 2) - T(1, 1)) * (T(3, 3) - T(3, 1));
  V(3) = (T(1, 2) - T(1, 1)) * (T(2, 3) - T(2, 1)) - (T(2, 2) - T(2, 1)) * (T(1, 3) - T(1, 1));
}

void triangle_angles_2d(const double* t, double* angle) { angles_from_sides(2, t, angle); }

void triangle_angles_3d(const double* t, double* angle) { angles_from_sides(3, t, angle); }

void triangle_edge_length_2d(const double* t, double* edge_length) {
  const mat_ref T(t, 2, 3);
  const vec_ref E(edge_length, 3);
  E(1) = r8vec_distance(2, T.col(2), T.col(1));
  E(2) = r8vec_distance(2, T.col(3), T.col(2));
  E(3) = r8vec_distance(2, T.col(1), T.col(3));
}

void triangle_diameter_2d(const double* t, double& diameter) {
  const mat_ref T(t, 2, 3);
  const double asq = r8vec_normsq_affine(2, T.col(1), T.col(2));
  const double bsq = r8vec_normsq_affine(2, T.col(2), T.col(3));
  const double csq = r8vec_normsq_affine(2, T.col(3), T.col(1));
  if (asq == 0.0) {
    diameter = std::sqrt(bsq);
    return;
  }
  if (bsq == 0.0) {
    diameter = std::sqrt(csq);
    return;
  }
  if (csq == 0.0) {
    diameter = std::sqrt(asq);
    return;
  }
  double lsq, msq, nsq;
  if (asq >= bsq && asq >= csq) {
    lsq = asq, msq = bsq, nsq = csq;
  } else if (bsq >= csq) {
    lsq = bsq, msq = csq, nsq = asq;
  } else {
    lsq = csq, msq = asq, nsq = bsq;
  }
  if (lsq > msq + nsq) {
    diameter = std::sqrt(lsq);
    return;
  }
  const double l = std::sqrt(lsq), m = std::sqrt(msq), n = std::sqrt(nsq);
  diameter = 2.0 * l * m * n / std::sqrt((l + m + n) * (-l + m + n) * (l - m + n) * (l + m - n));
}

void triangle_quality_2d(const double* t, double& quality) {
  const mat_ref T(t, 2, 3);
  const double a = r8vec_distance(2, T.col(1), T.col(2));
  const double b = r8vec_distance(2, T.col(2), T.col(3));
  const double c = r8vec_distance(2, T.col(3), T.col(1));
  if (a * b * c == 0.0) {
    quality = 0.0;
    return;
  }
  quality = (-a + b + c) * (a - b + c) * (a + b - c) / (a * b * c);
}

int32_t triangle_orientation_2d(const double* t) {
  const mat_ref T(t, 2, 3);
  if (r8vec_eq(2, T.col(1), T.col(2)) || r8vec_eq(2, T.col(2), T.col(3)) || r8vec_eq(2, T.col(3), T.col(1))) return 3;
  const double det = (T(1, 1) - T(1, 3)) * (T(2, 2) - T(2, 3)) - (T(1, 2) - T(1, 3)) * (T(2, 1) - T(2, 3));
  if (det == 0.0) return 2;
  return det < 0.0 ? 1 : 0;
}

void triangle_centroid_2d(const double* t, double* c) { centroid(2, t, c); }

void triangle_centroid_3d(const double* t, double* c) { centroid(3, t, c); }

void triangle_barycentric_2d(const double* t, const double* p, double* xsi) {
  const mat_ref T(t, 2, 3);
  const vec_ref P(p, 2);
  const vec_ref XSI(xsi, 3);
  double a[6];
  const mat_ref A(a, 2, 3);
  for (int32_t i = 1; i <= 2; ++i) {
    A(i, 1) = T(i, 2) - T(i, 1);
    A(i, 2) = T(i, 3) - T(i, 1);
    A(i, 3) = P(i) - T(i, 1);
  }
  int32_t info;
  r8mat_solve(2, 1, a, info);
  if (info != 0) {
    fatal("TRIANGLE_BARYCENTRIC_2D",
          {"  The linear system is singular.", "  The input data does not form a proper triangle."});
  }
  XSI(1) = A(1, 3);
  XSI(2) = A(2, 3);
  XSI(3) = 1.0 - XSI(1) - XSI(2);
}

void triangle_xsi_to_xy_2d(const double* t, const double* xsi, double* p) {
  const mat_ref T(t, 2, 3);
  const vec_ref XSI(xsi, 3);
  const vec_ref P(p, 2);
  const double w1 = XSI(1), w2 = XSI(2), w3 = XSI(3);
  for (int32_t i = 1; i <= 2; ++i) P(i) = w1 * T(i, 1) + w2 * T(i, 2) + w3 * T(i, 3);
}

void triangle_xy_to_xsi_2d(const double* t, const double* p, double* xsi) {
  const mat_ref T(t, 2, 3);
  const vec_ref P(p, 2);
  const vec_ref XSI(xsi, 3);
  const double x = P(1), y = P(2);
  const double det = (T(1, 1) - T(1, 3)) * (T(2, 2) - T(2, 3)) - (T(1, 2) - T(1, 3)) * (T(2, 1) - T(2, 3));
  const double x1 = ((T(2, 2) - T(2, 3)) * (x - T(1, 3)) - (T(1, 2) - T(1, 3)) * (y - T(2, 3))) / det;
  const double x2 = ((T(1, 1) - T(1, 3)) * (y - T(2, 3)) - (T(2, 1) - T(2, 3)) * (x - T(1, 3))) / det;
  XSI(1) = x1;
  XSI(2) = x2;
  XSI(3) = 1.0 - x1 - x2;
}

}  // namespace orvel::geometry
