#include "geometry/parallelograms.hpp"

#include <cmath>

#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"
#include "geometry/segments.hpp"

namespace orvel::geometry {
namespace {

// (P2 - P1) x (P3 - P1).
void edge_cross(const double* p1, const double* p2, const double* p3, double* n) {
  double e2[3], e3[3];
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3);
  for (int32_t i = 1; i <= 3; ++i) {
    e2[i - 1] = P2(i) - P1(i);
    e3[i - 1] = P3(i) - P1(i);
  }
  r8vec_cross_product_3d(e2, e3, n);
}

bool unit_interval(double x) { return 0.0 <= x && x <= 1.0; }

}  // namespace

void parallelogram_area_2d(const double* p, double& area) {
  const mat_ref P(p, 2, 4);
  area = (P(1, 2) - P(1, 1)) * (P(2, 3) - P(2, 1)) - (P(2, 2) - P(2, 1)) * (P(1, 3) - P(1, 1));
}

void parallelogram_area_3d(const double* p, double& area) {
  const mat_ref P(p, 3, 4);
  double n[3];
  edge_cross(P.col(1), P.col(2), P.col(3), n);
  area = r8vec_norm(3, n);
}

bool parallelogram_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2), P(p, 2);
  double a[6];
  const mat_ref A(a, 2, 3);
  for (int32_t i = 1; i <= 2; ++i) {
    A(i, 1) = P2(i) - P1(i);
    A(i, 2) = P3(i) - P1(i);
    A(i, 3) = P(i) - P1(i);
  }
  int32_t info;
  r8mat_solve(2, 1, a, info);
  if (info != 0) {
    fatal("PARALLELOGRAM_CONTAINS_CONTAIN_2D",
          {"  The linear system is singular.", "  The input data does not form a proper triangle."});
  }
  return unit_interval(A(1, 3)) && unit_interval(A(2, 3));
}

bool parallelogram_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3), P(p, 3);
  double n[3];
  edge_cross(p1, p2, p3, n);
  const double norm = r8vec_norm(3, n);
  if (norm != 0.0) {
    for (double& x : n) x = x / norm;
  }
  double a[12];
  const mat_ref A(a, 3, 4);
  for (int32_t i = 1; i <= 3; ++i) {
    A(i, 1) = P2(i) - P1(i);
    A(i, 2) = P3(i) - P1(i);
    A(i, 3) = n[i - 1];
    A(i, 4) = P(i) - P1(i);
  }
  int32_t info;
  r8mat_solve(3, 1, a, info);
  if (info != 0) {
    fatal("PARALLELOGRAM_CONTAINS_CONTAIN_3D",
          {"  The linear system is singular.", "  The input data does not form a proper triangle."});
  }
  return unit_interval(A(1, 4)) && unit_interval(A(2, 4)) && std::fabs(A(3, 4)) <= 0.0001;
}

void parallelogram_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p,
                                 double& dist) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3), P(p, 3);
  double n[3];
  edge_cross(p1, p2, p3, n);
  const double norm = r8vec_norm(3, n);
  if (norm == 0.0) fatal("PARALLELOGRAM_POINT_DIST_3D", {"  The normal vector is zero."});
  for (double& x : n) x = x / norm;
  double d[3];
  for (int32_t i = 1; i <= 3; ++i) d[i - 1] = P(i) - P1(i);
  const double t = r8vec_dot_product(3, n, d);
  double pn[3];
  for (int32_t i = 1; i <= 3; ++i) pn[i - 1] = P(i) - t * n[i - 1];
  if (parallelogram_contains_point_3d(p1, p2, p3, pn)) {
    dist = r8vec_distance(3, pn, p);
    return;
  }
  double p4[3];
  for (int32_t i = 1; i <= 3; ++i) p4[i - 1] = P2(i) + P3(i) - P1(i);
  const double* edges[4][2] = {{p1, p3}, {p3, p4}, {p4, p2}, {p2, p1}};
  double best = 0.0;
  for (int32_t k = 0; k < 4; ++k) {
    double e;
    segment_point_dist_3d(edges[k][0], edges[k][1], p, e);
    if (k == 0 || e < best) best = e;
  }
  dist = best;
}

bool parallelepiped_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                      const double* p) {
  const vec_ref P1(p1, 3), P(p, 3);
  double d[3];
  for (int32_t i = 1; i <= 3; ++i) d[i - 1] = P(i) - P1(i);
  for (const double* q : {p2, p3, p4}) {
    const vec_ref Q(q, 3);
    double e[3];
    for (int32_t i = 1; i <= 3; ++i) e[i - 1] = Q(i) - P1(i);
    const double de = r8vec_dot_product(3, d, e);
    if (!(0.0 <= de && de <= r8vec_dot_product(3, e, e))) return false;
  }
  return true;
}

void parallelepiped_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                  const double* p, double& dist) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3), P4(p4, 3);
  double p5[3], p6[3], p7[3], p8[3];
  for (int32_t i = 1; i <= 3; ++i) {
    p5[i - 1] = P2(i) + P3(i) - P1(i);
    p6[i - 1] = P2(i) + P4(i) - P1(i);
    p7[i - 1] = P3(i) + P4(i) - P1(i);
    p8[i - 1] = P2(i) + P3(i) + P4(i) - 2.0 * P1(i);
  }
  const double* faces[6][3] = {{p1, p2, p3}, {p1, p2, p4}, {p1, p3, p4},
                               {p8, p5, p6}, {p8, p5, p7}, {p8, p6, p7}};
  double best = 0.0;
  for (int32_t k = 0; k < 6; ++k) {
    double d;
    parallelogram_point_dist_3d(faces[k][0], faces[k][1], faces[k][2], p, d);
    if (k == 0 || d < best) best = d;
  }
  dist = best;
}

}  // namespace orvel::geometry
