#include "geometry/spheres.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"
#include "geometry/tetrahedron_spheres.hpp"

namespace orvel::geometry {
namespace {

constexpr double root_three = 1.7320508075688772;

// PC + R (P - PC) / |P - PC|, or the point towards (1, 1, 1) when P = PC.
void radial_point(double r, const double* pc, const double* p, double* q) {
  const vec_ref PC(pc, 3), P(p, 3);
  const vec_ref Q(q, 3);
  if (r8vec_eq(3, p, pc)) {
    for (int32_t i = 1; i <= 3; ++i) Q(i) = PC(i) + r / root_three;
    return;
  }
  const double dist = r8vec_distance(3, p, pc);
  for (int32_t i = 1; i <= 3; ++i) Q(i) = PC(i) + r * (P(i) - PC(i)) / dist;
}

}  // namespace

void sphere_dia2imp_3d(const double* p1, const double* p2, double& r, double* pc) {
  const vec_ref P1(p1, 3), P2(p2, 3);
  const vec_ref PC(pc, 3);
  for (int32_t i = 1; i <= 3; ++i) PC(i) = (P1(i) + P2(i)) * 0.5;
  r = 0.5 * r8vec_distance(3, p1, p2);
}

void sphere_exp2imp_3d(const double* p1, const double* p2, const double* p3, const double* p4, double& r,
                       double* pc) {
  double tetra[12];
  const mat_ref T(tetra, 3, 4);
  const double* p[4] = {p1, p2, p3, p4};
  for (int32_t k = 1; k <= 4; ++k)
    for (int32_t i = 1; i <= 3; ++i) T(i, k) = p[k - 1][i - 1];
  tetrahedron_circumsphere_3d(tetra, r, pc);
}

void sphere_imp2exp_3d(double r, const double* pc, double* p1, double* p2, double* p3, double* p4) {
  const double a = 2.0943951023931953, b = 4.1887902047863905;
  sphere_imp_local2xyz_3d(r, pc, 0.0, 0.0, p1);
  sphere_imp_local2xyz_3d(r, pc, 0.0, a, p2);
  sphere_imp_local2xyz_3d(r, pc, a, a, p3);
  sphere_imp_local2xyz_3d(r, pc, b, a, p4);
}

void sphere_exp_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                  const double* p, bool& inside) {
  double a[25];
  const mat_ref A(a, 5, 5);
  const double* rows[5] = {p1, p2, p3, p4, p};
  for (int32_t k = 1; k <= 5; ++k) {
    const vec_ref X(rows[k - 1], 3);
    A(k, 1) = X(1);
    A(k, 2) = X(2);
    A(k, 3) = X(3);
    A(k, 4) = X(1) * X(1) + X(2) * X(2) + X(3) * X(3);
    A(k, 5) = 1.0;
  }
  const double det = r8mat_det_5d(a);
  if (det < 0.0) {
    inside = false;
  } else if (det >= 0.0) {
    inside = true;
  }
}

bool sphere_imp_contains_point_3d(double r, const double* pc, const double* p) {
  const vec_ref PC(pc, 3), P(p, 3);
  const double dx = P(1) - PC(1), dy = P(2) - PC(2), dz = P(3) - PC(3);
  return dx * dx + dy * dy + dz * dz <= r * r;
}

void sphere_exp_point_near_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                              const double* p, double* pn) {
  double r, pc[3];
  sphere_exp2imp_3d(p1, p2, p3, p4, r, pc);
  sphere_imp_point_near_3d(r, pc, p, pn);
}

void sphere_imp_point_near_3d(double r, const double* pc, const double* p, double* pn) {
  radial_point(r, pc, p, pn);
}

void sphere_imp_point_project_3d(double r, const double* pc, const double* p, double* q) {
  if (r == 0.0) {
    const vec_ref PC(pc, 3);
    const vec_ref Q(q, 3);
    for (int32_t i = 1; i <= 3; ++i) Q(i) = PC(i);
    return;
  }
  radial_point(r, pc, p, q);
}

void sphere_imp_local2xyz_3d(double r, const double* pc, double theta, double phi, double* p) {
  const vec_ref PC(pc, 3);
  const vec_ref P(p, 3);
  P(1) = PC(1) + r * std::cos(theta) * std::sin(phi);
  P(2) = PC(2) + r * std::sin(theta) * std::sin(phi);
  P(3) = PC(3) + r * std::cos(phi);
}

void sphere_imp_line_project_3d(double r, const double* pc, int32_t n, const double* x, int32_t maxout,
                                int32_t& nout, double* y, double tmin, double tmax) {
  nout = 0;
  if (r == 0.0) return;
  const vec_ref PC(pc, 3);
  const mat_ref X(x, 3, n);
  const int32_t capacity = maxout > 0 ? maxout : 0;
  const mat_ref Y(y, 3, capacity);
  // Appends Q; false (after the warning) when Y is full.
  const auto put = [&](const double* q) {
    if (nout >= capacity) {
      warning("SPHERE_IMP_LINE_PROJECT_3D", {"  The output is full at MAXOUT = " + fmt_i(maxout, 8)});
      return false;
    }
    nout = nout + 1;
    for (int32_t k = 1; k <= 3; ++k) Y(k, nout) = q[k - 1];
    return true;
  };

  // The last two projected input points, written or dropped.
  double prev[3], cur[3];
  for (int32_t k = 1; k <= 3; ++k) prev[k - 1] = cur[k - 1] = PC(k);
  for (int32_t i = 1; i <= n; ++i) {
    if (r8vec_eq(3, X.col(i), pc)) continue;
    const double dist = r8vec_distance(3, X.col(i), pc);
    for (int32_t k = 1; k <= 3; ++k) {
      prev[k - 1] = cur[k - 1];
      cur[k - 1] = PC(k) + r * (X(k, i) - PC(k)) / dist;
    }
    if (nout == 0) {
      if (!put(cur)) return;
      continue;
    }
    double a[3], b[3];
    for (int32_t k = 1; k <= 3; ++k) {
      a[k - 1] = prev[k - 1] - PC(k);
      b[k - 1] = cur[k - 1] - PC(k);
    }
    const double ang = std::fabs(arc_cosine(r8vec_dot_product(3, a, b) / (r * r)));
    if (!(tmin < ang || i == n)) continue;
    if (tmax > 0.0 && tmax < ang) {
      // Points equally spaced along the chord, projected.
      const double steps = std::floor(ang / tmax);
      for (double l = 1.0; l < steps; l = l + 1.0) {
        double v[3];
        for (int32_t k = 0; k < 3; ++k) v[k] = (steps - l) * a[k] + l * b[k];
        const double norm = r8vec_norm(3, v);
        if (norm == 0.0) continue;
        double q[3];
        for (int32_t k = 1; k <= 3; ++k) q[k - 1] = PC(k) + r * v[k - 1] / norm;
        if (!put(q)) return;
      }
    }
    if (!put(cur)) return;
  }
}

}  // namespace orvel::geometry
