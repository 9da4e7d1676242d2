#include "geometry/plane_measures.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/directions.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/random.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

double plane_value(double a, double b, double c, double d, const double* p) {
  const vec_ref P(p, 3);
  return a * P(1) + b * P(2) + c * P(3) + d;
}

double coefficient_norm(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

// The unit direction of P2 - P1 and the unit part of P3 - P1 normal to it
// (zero vectors stay zero).
void plane_exp_axes(const double* p1, const double* p2, const double* p3, double* v1, double* v2) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3);
  for (int32_t i = 1; i <= 3; ++i) v1[i - 1] = P2(i) - P1(i);
  const double n1 = r8vec_norm(3, v1);
  if (n1 != 0.0)
    for (int32_t i = 0; i < 3; ++i) v1[i] = v1[i] / n1;
  for (int32_t i = 1; i <= 3; ++i) v2[i - 1] = P3(i) - P1(i);
  const double dot = r8vec_dot_product(3, v2, v1);
  for (int32_t i = 0; i < 3; ++i) v2[i] = v2[i] - dot * v1[i];
  const double n2 = r8vec_norm(3, v2);
  if (n2 != 0.0)
    for (int32_t i = 0; i < 3; ++i) v2[i] = v2[i] / n2;
}

// A random unit normal, drawn after the point.
void random_unit_normal(int32_t dim_num, int32_t& seed, double* normal) {
  int32_t n = dim_num;
  r8vec_normal_01(n, seed, normal);
  const double norm = r8vec_norm(dim_num, normal);
  const vec_ref NORMAL(normal, dim_num);
  for (int32_t i = 1; i <= dim_num; ++i) NORMAL(i) = NORMAL(i) / norm;
}

}  // namespace

void plane_imp_point_dist_3d(double a, double b, double c, double d, const double* p, double& dist) {
  const double norm = coefficient_norm(a, b, c);
  if (norm == 0.0) fatal("PLANE_IMP_POINT_DIST_3D", {"  The plane normal vector is null."});
  dist = std::fabs(plane_value(a, b, c, d, p)) / norm;
}

void plane_imp_point_dist_signed_3d(double a, double b, double c, double d, const double* p, double& dist) {
  const double norm = coefficient_norm(a, b, c);
  if (norm == 0.0) fatal("PLANE_IMP_POINT_DIST_SIGNED_3D", {"  The plane normal vector is null."});
  const double s = d < 0.0 ? -1.0 : 1.0;
  dist = -s * plane_value(a, b, c, d, p) / norm;
}

void plane_exp_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p, double& dist) {
  double a, b, c, d;
  plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
  plane_imp_point_dist_3d(a, b, c, d, p, dist);
}

void plane_imp_point_near_3d(double a, double b, double c, double d, const double* p, double* pn) {
  if (plane_imp_is_degenerate_3d(a, b, c)) fatal("PLANE_IMP_POINT_NEAR_3D", {"  A = B = C = 0."});
  const vec_ref P(p, 3);
  const double t = -plane_value(a, b, c, d, p) / (a * a + b * b + c * c);
  const double near[3] = {P(1) + t * a, P(2) + t * b, P(3) + t * c};
  const vec_ref PN(pn, 3);
  for (int32_t i = 1; i <= 3; ++i) PN(i) = near[i - 1];
}

void plane_exp_pro3(const double* p1, const double* p2, const double* p3, int32_t n, const double* x, double* y) {
  double a, b, c, d;
  plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
  const mat_ref X(x, 3, n);
  const mat_ref Y(y, 3, n);
  for (int32_t j = 1; j <= n; ++j) plane_imp_point_near_3d(a, b, c, d, X.col(j), Y.col(j));
}

void plane_exp_pro2(const double* p1, const double* p2, const double* p3, int32_t n, const double* x, double* y) {
  const vec_ref P1(p1, 3), P2(p2, 3);
  double v1[3], v2[3];
  plane_exp_axes(p1, p2, p3, v1, v2);
  const mat_ref X(x, 3, n);
  const mat_ref Y(y, 2, n);
  for (int32_t j = 1; j <= n; ++j) {
    double s1 = 0.0, s2 = 0.0;
    for (int32_t i = 1; i <= 3; ++i) {
      s1 += (X(i, j) - P1(i)) * v1[i - 1];
      s2 += (X(i, j) - P2(i)) * v2[i - 1];
    }
    Y(1, j) = s1;
    Y(2, j) = s2;
  }
}

void plane_exp_project_3d(const double* p1, const double* p2, const double* p3, const double* f, int32_t n,
                          const double* x, double* y, int32_t* code) {
  double a, b, c, d;
  plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
  const vec_ref F(f, 3);
  double pn[3];
  plane_imp_point_near_3d(a, b, c, d, f, pn);
  const double alpha = r8vec_distance(3, f, pn);
  const mat_ref X(x, 3, n);
  const mat_ref Y(y, 3, n);
  const vec_ref CODE(code, n);
  const auto set = [&](int32_t j, int32_t k, const double* q) {
    for (int32_t i = 1; i <= 3; ++i) Y(i, j) = q[i - 1];
    CODE(j) = k;
  };
  const double focus[3] = {F(1), F(2), F(3)};
  for (int32_t j = 1; j <= n; ++j) {
    if (alpha == 0.0) {
      set(j, 0, focus);
      continue;
    }
    const double beta = r8vec_distance(3, X.col(j), focus);
    if (beta == 0.0) {
      set(j, 0, pn);
      continue;
    }
    const double cosine = std::cos(angle_rad_3d(X.col(j), focus, pn));
    if (cosine == 0.0) {
      set(j, 0, pn);
      continue;
    }
    const double ratio = alpha / (cosine * beta);
    double q[3];
    for (int32_t i = 1; i <= 3; ++i) q[i - 1] = focus[i - 1] + ratio * (X(i, j) - focus[i - 1]);
    set(j, ratio > 1.0 ? 1 : ratio == 1.0 ? 2 : ratio > 0.0 ? 3 : -1, q);
  }
}

void plane_normal_qr_to_xyz(const double* pp, const double* /*normal*/, const double* pq, const double* pr, int32_t n,
                            const double* qr, double* xyz) {
  const vec_ref PP(pp, 3), PQ(pq, 3), PR(pr, 3);
  const mat_ref QR(qr, 2, n);
  const mat_ref XYZ(xyz, 3, n);
  for (int32_t j = 1; j <= n; ++j) {
    const double q = QR(1, j), r = QR(2, j);
    for (int32_t i = 1; i <= 3; ++i) XYZ(i, j) = PP(i) + q * PQ(i) + r * PR(i);
  }
}

void plane_normal_xyz_to_qr(const double* pp, const double* /*normal*/, const double* pq, const double* pr, int32_t n,
                            const double* xyz, double* qr) {
  const mat_ref XYZ(xyz, 3, n);
  const mat_ref QR(qr, 2, n);
  const double q0 = r8vec_dot_product(3, pq, pp), r0 = r8vec_dot_product(3, pr, pp);
  for (int32_t j = 1; j <= n; ++j) {
    const double q = r8vec_dot_product(3, pq, XYZ.col(j)) - q0;
    const double r = r8vec_dot_product(3, pr, XYZ.col(j)) - r0;
    QR(1, j) = q;
    QR(2, j) = r;
  }
}

void plane_exp_grid_3d(const double* p1, const double* p2, const double* p3, int32_t& npoint, int32_t& nline,
                       double* point, int32_t* line, int32_t maxpoint, int32_t maxline, int32_t& status) {
  if (npoint < 1) npoint = 0;
  if (nline <= 0) nline = 0;
  double v1[3], v2[3];
  plane_exp_axes(p1, p2, p3, v1, v2);
  const mat_ref POINT(point, 3, maxpoint);
  const vec_ref LINE(line, maxline);

  double amin = 0.0, amax = 1.0, bmin = 0.0, bmax = 1.0;
  if (npoint > 0) {
    const mat_ref OLD(point, 3, npoint);
    for (int32_t j = 1; j <= npoint; ++j) {
      const double a = r8vec_dot_product(3, v1, OLD.col(j));
      const double b = r8vec_dot_product(3, v2, OLD.col(j));
      if (j == 1 || a < amin) amin = a;
      if (j == 1 || a > amax) amax = a;
      if (j == 1 || b < bmin) bmin = b;
      if (j == 1 || b > bmax) bmax = b;
    }
  }
  if (static_cast<int64_t>(npoint) + 25 > maxpoint) {
    status = 1;
    return;
  }
  const int32_t k0 = npoint;
  for (int32_t j = 1; j <= 5; ++j) {
    const double bj = (static_cast<double>(5 - j) * bmin + static_cast<double>(j - 1) * bmax) / 4.0;
    for (int32_t i = 1; i <= 5; ++i) {
      const double ai = (static_cast<double>(5 - i) * amin + static_cast<double>(i - 1) * amax) / 4.0;
      for (int32_t r = 1; r <= 3; ++r) POINT(r, k0 + 5 * (j - 1) + i) = ai * v1[r - 1] + bj * v2[r - 1];
    }
  }
  npoint = k0 + 25;

  // Lines along which b varies, then lines along which a varies; each entry
  // is refused once the list is full.
  const auto append = [&](int32_t entry) {
    if (nline >= maxline) return false;
    nline = nline + 1;
    LINE(nline) = entry;
    return true;
  };
  for (int32_t i = 1; i <= 5; ++i) {
    for (int32_t j = 1; j <= 5; ++j) {
      if (!append(k0 + i + 5 * (j - 1))) {
        status = 2;
        return;
      }
    }
    if (!append(0)) {
      status = 2;
      return;
    }
  }
  for (int32_t j = 1; j <= 5; ++j) {
    for (int32_t i = 1; i <= 5; ++i) {
      if (!append(k0 + 5 * (j - 1) + i)) {
        status = 2;
        return;
      }
    }
    if (!append(0)) {
      status = 2;
      return;
    }
  }
  status = 0;
}

void plane_normal_uniform_3d(int32_t& seed, double* pp, double* normal) {
  ball_unit_sample_3d(seed, pp);
  random_unit_normal(3, seed, normal);
}

void plane_normal_uniform_nd(int32_t dim_num, int32_t& seed, double* pp, double* normal) {
  ball_unit_sample_nd(dim_num, seed, pp);
  random_unit_normal(dim_num, seed, normal);
}

void planes_imp_angle_3d(double a1, double b1, double c1, double /*d1*/, double a2, double b2, double c2,
                         double /*d2*/, double& angle) {
  const double norm1 = coefficient_norm(a1, b1, c1);
  const double norm2 = coefficient_norm(a2, b2, c2);
  if (norm1 == 0.0 || norm2 == 0.0) {
    angle = r8_largest();
    return;
  }
  angle = arc_cosine((a1 * a2 + b1 * b2 + c1 * c2) / (norm1 * norm2));
}

}  // namespace orvel::geometry
