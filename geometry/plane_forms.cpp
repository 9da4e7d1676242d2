#include "geometry/plane_forms.hpp"

#include <cmath>

#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

void copy3(const double* from, double* to) {
  const vec_ref FROM(from, 3);
  const vec_ref TO(to, 3);
  for (int32_t i = 1; i <= 3; ++i) TO(i) = FROM(i);
}

// (P2 - P1) x (P3 - P1) divided by its length, or false when that length is
// 0 (normal unset).
bool unit_normal(const double* p1, const double* p2, const double* p3, double* normal) {
  double n[3];
  r8vec_cross_product_affine_3d(p1, p2, p3, n);
  const double norm = r8vec_norm(3, n);
  if (norm == 0.0) return false;
  const vec_ref NORMAL(normal, 3);
  for (int32_t i = 1; i <= 3; ++i) NORMAL(i) = n[i - 1] / norm;
  return true;
}

}  // namespace

void plane_exp2imp_3d(const double* p1, const double* p2, const double* p3, double& a, double& b, double& c,
                      double& d) {
  const vec_ref P2(p2, 3);
  double n[3];
  r8vec_cross_product_affine_3d(p1, p2, p3, n);
  a = n[0];
  b = n[1];
  c = n[2];
  d = -(n[0] * P2(1) + n[1] * P2(2) + n[2] * P2(3));
}

void plane_exp2normal_3d(const double* p1, const double* p2, const double* p3, double* pp, double* normal) {
  double n[3];
  if (!unit_normal(p1, p2, p3, n)) {
    fatal("PLANE_EXP2NORMAL_3D", {"  The normal vector is null.", "  Two points coincide, or nearly so."});
  }
  copy3(p1, pp);
  copy3(n, normal);
}

void plane_exp_normal_3d(const double* p1, const double* p2, const double* p3, double* normal) {
  double n[3];
  if (!unit_normal(p1, p2, p3, n)) fatal("PLANE_EXP_NORMAL_3D", {"  The plane is poorly defined."});
  copy3(n, normal);
}

void plane_imp2normal_3d(double a, double b, double c, double d, double* pp, double* normal) {
  const vec_ref PP(pp, 3), NORMAL(normal, 3);
  const double abc[3] = {a, b, c};
  const double norm = r8vec_norm(3, abc);
  if (norm == 0.0) fatal("PLANE_IMP2NORMAL_3D", {"  The plane (A,B,C) has zero norm."});
  NORMAL(1) = a / norm;
  NORMAL(2) = b / norm;
  NORMAL(3) = c / norm;
  if (a != 0.0) {
    PP(1) = -d / a;
    PP(2) = 0.0;
    PP(3) = 0.0;
  } else if (b != 0.0) {
    PP(1) = 0.0;
    PP(2) = -d / b;
    PP(3) = 0.0;
  } else {
    PP(1) = 0.0;
    PP(2) = 0.0;
    PP(3) = -d / c;
  }
}

void plane_normal2imp_3d(const double* pp, const double* normal, double& a, double& b, double& c, double& d) {
  const vec_ref PP(pp, 3), NORMAL(normal, 3);
  a = NORMAL(1);
  b = NORMAL(2);
  c = NORMAL(3);
  d = -(a * PP(1) + b * PP(2) + c * PP(3));
}

bool plane_imp_is_degenerate_3d(double a, double b, double c) { return a == 0.0 && b == 0.0 && c == 0.0; }

void plane_normal_basis_3d(const double*, const double* normal, double* pq, double* pr) {
  if (r8vec_norm(3, normal) == 0.0) fatal("PLANE_NORMAL_BASIS_3D", {"  The normal vector is 0."});
  double q[3], r[3];
  r8vec_any_normal(3, normal, q);
  r8vec_cross_product_3d(normal, q, r);
  const double norm = r8vec_norm(3, r);
  const vec_ref PQ(pq, 3), PR(pr, 3);
  for (int32_t i = 1; i <= 3; ++i) {
    PQ(i) = q[i - 1];
    PR(i) = r[i - 1] / norm;
  }
}

void plane_normal2exp_3d(const double* pp, const double* normal, double* p1, double* p2, double* p3) {
  double q[3], r[3], base[3];
  plane_normal_basis_3d(pp, normal, q, r);
  copy3(pp, base);
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3);
  for (int32_t i = 1; i <= 3; ++i) {
    P1(i) = base[i - 1];
    P2(i) = base[i - 1] + q[i - 1];
    P3(i) = base[i - 1] + r[i - 1];
  }
}

void plane_imp2exp_3d(double a, double b, double c, double d, double* p1, double* p2, double* p3) {
  double pp[3], normal[3];
  plane_imp2normal_3d(a, b, c, d, pp, normal);
  plane_normal2exp_3d(pp, normal, p1, p2, p3);
}

}  // namespace orvel::geometry
