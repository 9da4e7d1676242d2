#include "geometry/triangle_containment.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/plane_intersections.hpp"
#include "geometry/reals.hpp"
#include "geometry/segments.hpp"
#include "geometry/triangles.hpp"

namespace orvel::geometry {
namespace {

// (x - xj)(yk - yj) - (y - yj)(xk - xj) for edge j: negative on the inner
// side of a counterclockwise triangle's edge, 0 on its line.
double edge_side(const mat_ref<const double>& T, int32_t j, const vec_ref<const double>& P) {
  const int32_t k = j % 3 + 1;
  return (P(1) - T(1, j)) * (T(2, k) - T(2, j)) - (P(2) - T(2, j)) * (T(1, k) - T(1, j));
}

}  // namespace

void triangle_contains_point_2d_1(const double* t, const double* p, bool& inside) {
  double xsi[3];
  triangle_barycentric_2d(t, p, xsi);
  inside = xsi[0] >= 0.0 && xsi[1] >= 0.0 && xsi[2] >= 0.0;
}

void triangle_contains_point_2d_2(const double* t, const double* p, bool& inside) {
  const mat_ref T(t, 2, 3);
  const vec_ref P(p, 2);
  for (int32_t j = 1; j <= 3; ++j) {
    if (edge_side(T, j, P) > 0.0) {
      inside = false;
      return;
    }
  }
  inside = true;
}

void triangle_contains_point_2d_3(const double* t, const double* p, bool& inside) {
  const mat_ref T(t, 2, 3);
  const vec_ref P(p, 2);
  double dir_old = 0.0;
  for (int32_t j = 1; j <= 3; ++j) {
    const double dir_new = edge_side(T, j, P);
    if (dir_old * dir_new < 0.0) {
      inside = false;
      return;
    }
    if (dir_new != 0.0) dir_old = dir_new;
  }
  inside = true;
}

void triangle_point_dist_2d(const double* t, const double* p, double& dist) {
  const mat_ref T(t, 2, 3);
  dist = r8_largest();
  for (int32_t j = 1; j <= 3; ++j) {
    double d;
    segment_point_dist_2d(T.col(j), T.col(j % 3 + 1), p, d);
    if (d < dist) dist = d;
  }
}

void triangle_point_dist_3d(const double* t, const double* p, double& dist) {
  const mat_ref T(t, 3, 3);
  dist = r8_largest();
  for (int32_t j = 1; j <= 3; ++j) {
    double d;
    segment_point_dist_3d(T.col(j), T.col(j % 3 + 1), p, d);
    if (d < dist) dist = d;
  }
}

void triangle_point_dist_signed_2d(const double* t, const double* p, double& dist_signed) {
  const mat_ref T(t, 2, 3);
  double dis12, dis23, dis31;
  line_exp_point_dist_signed_2d(T.col(1), T.col(2), p, dis12);
  line_exp_point_dist_signed_2d(T.col(2), T.col(3), p, dis23);
  line_exp_point_dist_signed_2d(T.col(3), T.col(1), p, dis31);
  if (dis12 <= 0.0 && dis23 <= 0.0 && dis31 <= 0.0) {
    dist_signed = std::max(dis12, std::max(dis23, dis31));
  } else {
    triangle_point_dist_2d(t, p, dist_signed);
  }
}

void triangle_point_near_2d(const double* t, const double* p, double* pn, double& dist) {
  const mat_ref T(t, 2, 3);
  const vec_ref PN(pn, 2);
  dist = r8_largest();
  for (int32_t j = 1; j <= 3; ++j) {
    double pn2[2], d, s;
    segment_point_near_2d(T.col(j), T.col(j % 3 + 1), p, pn2, d, s);
    if (d < dist) {
      dist = d;
      PN(1) = pn2[0];
      PN(2) = pn2[1];
    }
  }
}

void triangle_line_imp_int_2d(const double* t, double a, double b, double c, int32_t& int_num, double* pint) {
  const mat_ref T(t, 2, 3);
  const mat_ref PINT(pint, 2, 3);
  int_num = 0;
  for (int32_t j = 1; j <= 3; ++j) {
    const int32_t k = j % 3 + 1;
    double a2, b2, c2;
    line_exp2imp_2d(T.col(j), T.col(k), a2, b2, c2);
    int32_t ival;
    double q[2];
    lines_imp_int_2d(a, b, c, a2, b2, c2, ival, q);
    if (ival != 1) continue;
    const double dx = T(1, k) - T(1, j), dy = T(2, k) - T(2, j);
    const double s = (q[0] - T(1, j)) * dx + (q[1] - T(2, j)) * dy;
    if (0.0 <= s && s <= dx * dx + dy * dy) {
      int_num = int_num + 1;
      PINT(1, int_num) = q[0];
      PINT(2, int_num) = q[1];
    }
  }
}

bool triangle_is_degenerate_nd(int32_t dim_num, const double* t) {
  if (dim_num < 1) return true;
  const mat_ref T(t, dim_num, 3);
  return r8vec_eq(dim_num, T.col(1), T.col(2)) || r8vec_eq(dim_num, T.col(2), T.col(3)) ||
         r8vec_eq(dim_num, T.col(3), T.col(1));
}

void triangle_contains_line_exp_3d(const double* t, const double* p1, const double* p2, bool& inside, double* pint) {
  constexpr std::string_view title = "TRIANGLE_CONTAINS_LINE_EXP_3D";
  const mat_ref T(t, 3, 3);
  const vec_ref PINT(pint, 3);
  if (r8vec_eq(3, p1, p2)) fatal(title, {"  The explicit line is degenerate."});
  if (triangle_is_degenerate_nd(3, t)) fatal(title, {"  The triangle is degenerate."});
  double normal[3];
  r8vec_cross_product_affine_3d(T.col(1), T.col(2), T.col(3), normal);
  const double norm = r8vec_norm(3, normal);
  // Three distinct collinear vertices have no plane either.
  if (norm == 0.0) fatal(title, {"  The triangle is degenerate."});
  for (double& x : normal) x = x / norm;

  int32_t code;
  double q[3];
  double plane_normal[3] = {normal[0], normal[1], normal[2]};
  plane_normal_line_exp_int_3d(T.col(1), plane_normal, p1, p2, code, q);
  if (code == 0) {
    inside = false;
    for (int32_t i = 1; i <= 3; ++i) PINT(i) = r8_largest();
    return;
  }
  if (code == 2) {
    inside = false;
    for (int32_t i = 1; i <= 3; ++i) PINT(i) = p1[i - 1];
    return;
  }
  for (int32_t i = 1; i <= 3; ++i) PINT(i) = q[i - 1];
  // PINT must lie on the inner side of every edge (or on it).
  for (int32_t j = 1; j <= 3; ++j) {
    double normal2[3];
    r8vec_cross_product_affine_3d(T.col(j), T.col(j % 3 + 1), q, normal2);
    if (r8vec_dot_product(3, normal, normal2) < 0.0) {
      inside = false;
      return;
    }
  }
  inside = true;
}

void triangle_contains_line_par_3d(const double* t, const double* p0, const double* pd, bool& inside, double* p) {
  constexpr std::string_view title = "TRIANGLE_LINE_PAR_INT_3D";
  const mat_ref T(t, 3, 3);
  const vec_ref P0(p0, 3), PD(pd, 3);
  const vec_ref P(p, 3);
  double a, b, c, d;
  plane_exp2imp_3d(T.col(1), T.col(2), T.col(3), a, b, c, d);
  const double abc[3] = {a, b, c};
  const double norm1 = r8vec_norm(3, abc);
  if (norm1 == 0.0) fatal(title, {"  The plane normal vector is null."});
  const double norm2 = r8vec_norm(3, pd);
  if (norm2 == 0.0) fatal(title, {"  The line direction vector is null."});

  const double denom = a * PD(1) + b * PD(2) + c * PD(3);
  const double val = a * P0(1) + b * P0(2) + c * P0(3) + d;
  if (std::fabs(denom) < 1.0e-5 * norm1 * norm2) {
    inside = false;
    for (int32_t i = 1; i <= 3; ++i) P(i) = val == 0.0 ? P0(i) : 0.0;
    return;
  }
  const double s = -val / denom;
  for (int32_t i = 1; i <= 3; ++i) P(i) = P0(i) + s * PD(i);

  double v[3][3];
  for (int32_t k = 1; k <= 3; ++k) {
    for (int32_t i = 1; i <= 3; ++i) v[k - 1][i - 1] = T(i, k) - P(i);
    const double len = r8vec_norm(3, v[k - 1]);
    if (len == 0.0) {
      inside = true;
      return;
    }
    for (double& x : v[k - 1]) x = x / len;
  }
  const double angle_sum = arc_cosine(r8vec_dot_product(3, v[0], v[2])) +
                           arc_cosine(r8vec_dot_product(3, v[1], v[2])) +
                           arc_cosine(r8vec_dot_product(3, v[0], v[1]));
  inside = nint(angle_sum / r8_pi()) == 2;
}

}  // namespace orvel::geometry
