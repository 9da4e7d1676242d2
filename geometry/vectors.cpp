#include "geometry/vectors.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/reals.hpp"
#include "geometry/rotations.hpp"

namespace orvel::geometry {

void vector_unit_nd(int32_t dim_num, double* p) {
  const vec_ref P(p, dim_num);
  const double norm = r8vec_norm(dim_num, p);
  if (norm == 0.0) return;
  for (int32_t i = 1; i <= dim_num; ++i) P(i) = P(i) / norm;
}

void vector_directions_nd(int32_t dim_num, const double* v, double* angle) {
  const vec_ref V(v, dim_num);
  const vec_ref ANGLE(angle, dim_num);
  const double vnorm = r8vec_norm(dim_num, v);
  for (int32_t i = 1; i <= dim_num; ++i) ANGLE(i) = vnorm == 0.0 ? 0.0 : std::acos(V(i) / vnorm);
}

void vector_separation_nd(int32_t dim_num, const double* v1, const double* v2, double& theta) {
  const double n1 = r8vec_norm(dim_num, v1);
  const double n2 = r8vec_norm(dim_num, v2);
  theta = arc_cosine(r8vec_dot_product(dim_num, v1, v2) / (n1 * n2));
}

void vector_rotate_2d(const double* v1, double angle, double* v2) {
  const vec_ref V1(v1, 2);
  const double x = V1(1), y = V1(2);
  const vec_ref V2(v2, 2);
  V2(1) = std::cos(angle) * x - std::sin(angle) * y;
  V2(2) = std::sin(angle) * x + std::cos(angle) * y;
}

void vector_rotate_base_2d(const double* p1, const double* pb, double angle, double* p2) {
  const vec_ref P1(p1, 2), PB(pb, 2);
  const double bx = PB(1), by = PB(2);
  const double dx = P1(1) - bx, dy = P1(2) - by;
  const vec_ref P2(p2, 2);
  P2(1) = bx + (std::cos(angle) * dx - std::sin(angle) * dy);
  P2(2) = by + (std::sin(angle) * dx + std::cos(angle) * dy);
}

void vector_rotate_3d(const double* v1, const double* axis, double angle, double* v2) {
  const vec_ref V1(v1, 3), AXIS(axis, 3);
  const vec_ref V2(v2, 3);
  const double axis_norm = r8vec_norm(3, axis);
  if (axis_norm == 0.0) {
    const double v[3] = {V1(1), V1(2), V1(3)};
    for (int32_t i = 1; i <= 3; ++i) V2(i) = v[i - 1];
    return;
  }
  const double dot = r8vec_dot_product(3, v1, axis) / axis_norm;
  const double vp[3] = {dot * AXIS(1) / axis_norm, dot * AXIS(2) / axis_norm, dot * AXIS(3) / axis_norm};
  double vn[3] = {V1(1) - vp[0], V1(2) - vp[1], V1(3) - vp[2]};
  const double vn_norm = r8vec_norm(3, vn);
  if (vn_norm == 0.0) {
    for (int32_t i = 1; i <= 3; ++i) V2(i) = vp[i - 1];
    return;
  }
  turn_normal_part(axis, vp, vn, vn_norm, angle, v2);
}

void provec(int32_t m, int32_t n, double* base, const double* vecm, double* vecn, double* vecnm) {
  const mat_ref BASE(base, m, n);
  const vec_ref VECM(vecm, m);
  const vec_ref VECN(vecn, n), VECNM(vecnm, m);
  // Modified Gram-Schmidt: each earlier column is taken off column J as
  // updated so far.  A column that lies in the span of the earlier ones
  // keeps only a rounding residue, which would otherwise be normalised into
  // a spurious unit vector: a column left with at most dependent_tol of its
  // starting length becomes zero and contributes nothing.
  constexpr double dependent_tol = 256.0 * 2.220446049250313e-16;
  for (int32_t j = 1; j <= n; ++j) {
    double normsq_before = 0.0;
    for (int32_t k = 1; k <= m; ++k) normsq_before += BASE(k, j) * BASE(k, j);
    const double norm_before = std::sqrt(normsq_before);
    for (int32_t i = 1; i < j; ++i) {
      double dot = 0.0;
      for (int32_t k = 1; k <= m; ++k) dot += BASE(k, i) * BASE(k, j);
      for (int32_t k = 1; k <= m; ++k) BASE(k, j) = BASE(k, j) - dot * BASE(k, i);
    }
    double normsq = 0.0;
    for (int32_t k = 1; k <= m; ++k) normsq += BASE(k, j) * BASE(k, j);
    const double norm = std::sqrt(normsq);
    if (norm > dependent_tol * norm_before) {
      for (int32_t k = 1; k <= m; ++k) BASE(k, j) = BASE(k, j) / norm;
    } else {
      for (int32_t k = 1; k <= m; ++k) BASE(k, j) = 0.0;
    }
  }
  for (int32_t j = 1; j <= n; ++j) {
    double dot = 0.0;
    for (int32_t k = 1; k <= m; ++k) dot += VECM(k) * BASE(k, j);
    VECN(j) = dot;
  }
  for (int32_t k = 1; k <= m; ++k) VECNM(k) = 0.0;
  for (int32_t j = 1; j <= n; ++j)
    for (int32_t k = 1; k <= m; ++k) VECNM(k) = VECNM(k) + VECN(j) * BASE(k, j);
}

}  // namespace orvel::geometry
