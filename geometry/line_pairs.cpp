#include "geometry/line_pairs.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {

namespace detail {

bool lines_near_parameters_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& s,
                              double& t, double& a, double& d) {
  const vec_ref P1(p1, 3), P2(p2, 3), Q1(q1, 3), Q2(q2, 3);
  double u[3], v[3], w0[3];
  for (int32_t i = 1; i <= 3; ++i) {
    u[i - 1] = P2(i) - P1(i);
    v[i - 1] = Q2(i) - Q1(i);
    w0[i - 1] = P1(i) - Q1(i);
  }
  a = r8vec_dot_product(3, u, u);
  const double b = r8vec_dot_product(3, u, v);
  const double c = r8vec_dot_product(3, v, v);
  d = r8vec_dot_product(3, u, w0);
  const double e = r8vec_dot_product(3, v, w0);
  const double den = b * b - a * c;
  if (den != 0.0) {
    s = (c * d - b * e) / den;
    t = (b * d - a * e) / den;
    return true;
  }
  // Parallel lines (or line P a single point): the point of Q nearest to
  // P1, dividing by the larger of c and b.
  if (std::fabs(c) > std::fabs(b)) {
    s = 0.0;
    t = e / c;
    return true;
  }
  if (b != 0.0) {
    s = 0.0;
    t = d / b;
    return true;
  }
  return false;
}

}  // namespace detail

namespace {

// Whether q lies on the line through p1 and p2, from the points themselves by
// the cross product (p2 - p1) x (q - p1): exact for exactly representable
// data, where the rounded normalised coefficients of the implicit form
// seldom give an exact zero.  An overflow gives NaN, never a false zero.
bool on_exp_line(const double* p1, const double* p2, const double* q) {
  return r8vec_cross_product_affine_2d(p1, p2, q) == 0.0;
}

void set_point(double* p, double x, double y) {
  const vec_ref P(p, 2);
  P(1) = x;
  P(2) = y;
}

// Arc cosine of u . v / (|u| |v|) over n coordinates; a zero vector gives pi
// through the clamp.
double angle_between(int32_t n, const double* u, const double* v) {
  const double dot = r8vec_dot_product(n, u, v);
  return arc_cosine(dot / (r8vec_norm(n, u) * r8vec_norm(n, v)));
}

}  // namespace

void lines_exp_int_2d(const double* p1, const double* p2, const double* q1, const double* q2, int32_t& ival,
                      double* p) {
  const vec_ref P1(p1, 2), Q1(q1, 2);
  ival = 0;
  set_point(p, 0.0, 0.0);
  const bool p_point = r8vec_eq(2, p1, p2);
  const bool q_point = r8vec_eq(2, q1, q2);
  if (p_point && q_point) {
    if (r8vec_eq(2, p1, q1)) {
      ival = 1;
      set_point(p, P1(1), P1(2));
    }
  } else if (p_point) {
    if (on_exp_line(q1, q2, p1)) {
      ival = 1;
      set_point(p, P1(1), P1(2));
    }
  } else if (q_point) {
    if (on_exp_line(p1, p2, q1)) {
      ival = 1;
      set_point(p, Q1(1), Q1(2));
    }
  } else {
    double a1, b1, c1, a2, b2, c2;
    line_exp2imp_2d(p1, p2, a1, b1, c1);
    line_exp2imp_2d(q1, q2, a2, b2, c2);
    // Parallel or the same line: decided from the points, as the solve of
    // the rounded coefficients may miss a zero pivot or unequal offsets.
    // Coefficients lost to overflow keep their codes -1 and -2.
    const vec_ref P2(p2, 2), Q2(q2, 2);
    const double u[2] = {P2(1) - P1(1), P2(2) - P1(2)}, v[2] = {Q2(1) - Q1(1), Q2(2) - Q1(2)};
    if (a1 * a1 + b1 * b1 != 0.0 && a2 * a2 + b2 * b2 != 0.0 && r8vec_cross_product_2d(u, v) == 0.0) {
      if (on_exp_line(p1, p2, q1)) ival = 2;
      return;
    }
    lines_imp_int_2d(a1, b1, c1, a2, b2, c2, ival, p);
  }
}

void lines_imp_int_2d(double a1, double b1, double c1, double a2, double b2, double c2, int32_t& ival, double* p) {
  set_point(p, 0.0, 0.0);
  if (a1 * a1 + b1 * b1 == 0.0) {
    ival = -1;
    return;
  }
  if (a2 * a2 + b2 * b2 == 0.0) {
    ival = -2;
    return;
  }
  double a[6] = {a1, a2, b1, b2, -c1, -c2};
  int32_t info;
  r8mat_solve(2, 1, a, info);
  if (info == 0) {
    ival = 1;
    set_point(p, a[4], a[5]);
    return;
  }
  // Parallel: the same line when the offsets agree.
  if (a1 != 0.0) {
    ival = a2 * c1 == a1 * c2 ? 2 : 0;
  } else {
    ival = b2 * c1 == b1 * c2 ? 2 : 0;
  }
}

void lines_par_int_2d(double f1, double g1, double x1, double y1, double f2, double g2, double x2, double y2,
                      double& t1, double& t2, double* pint) {
  const double det = f2 * g1 - f1 * g2;
  if (det == 0.0) {
    t1 = 0.0;
    t2 = 0.0;
    set_point(pint, 0.0, 0.0);
    return;
  }
  t1 = (f2 * (y2 - y1) - g2 * (x2 - x1)) / det;
  t2 = (f1 * (y2 - y1) - g1 * (x2 - x1)) / det;
  set_point(pint, x1 + f1 * t1, y1 + g1 * t1);
}

// ---------------------------------------------------------------------------
// Angles

void lines_exp_angle_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& angle) {
  if (r8vec_eq(3, p1, p2) || r8vec_eq(3, q1, q2)) {
    angle = -1.0;
    return;
  }
  const vec_ref P1(p1, 3), P2(p2, 3), Q1(q1, 3), Q2(q2, 3);
  double u[3], v[3];
  for (int32_t i = 1; i <= 3; ++i) {
    u[i - 1] = P2(i) - P1(i);
    v[i - 1] = Q2(i) - Q1(i);
  }
  angle = angle_between(3, u, v);
}

void lines_exp_angle_nd(int32_t dim_num, const double* p1, const double* p2, const double* q1, const double* q2,
                        double& angle) {
  if (line_exp_is_degenerate_nd(dim_num, p1, p2)) {
    angle = -1.0;
    fatal("LINES_EXP_ANGLE_3D", {"  The line (P1,P2) is degenerate!"});
  }
  if (line_exp_is_degenerate_nd(dim_num, q1, q2)) {
    angle = -1.0;
    fatal("LINES_EXP_ANGLE_3D", {"  The line (Q1,Q2) is degenerate!"});
  }
  const vec_ref P1(p1, dim_num), P2(p2, dim_num), Q1(q1, dim_num), Q2(q2, dim_num);
  double pdotq = 0.0, pp = 0.0, qq = 0.0;
  for (int32_t i = 1; i <= dim_num; ++i) {
    const double u = P2(i) - P1(i);
    const double v = Q2(i) - Q1(i);
    pdotq += u * v;
    pp += u * u;
    qq += v * v;
  }
  angle = arc_cosine(pdotq / (std::sqrt(pp) * std::sqrt(qq)));
}

void lines_imp_angle_2d(double a1, double b1, double, double a2, double b2, double, double& theta) {
  const double n1[2] = {a1, b1}, n2[2] = {a2, b2};
  theta = angle_between(2, n1, n2);
}

void lines_par_angle_2d(double f1, double g1, double, double, double f2, double g2, double, double, double& theta) {
  const double d1[2] = {f1, g1}, d2[2] = {f2, g2};
  theta = angle_between(2, d1, d2);
}

void lines_par_angle_3d(double f1, double g1, double h1, double, double, double, double f2, double g2, double h2,
                        double, double, double, double& theta) {
  const double d1[3] = {f1, g1, h1}, d2[3] = {f2, g2, h2};
  theta = angle_between(3, d1, d2);
}

// ---------------------------------------------------------------------------
// Distances and nearest points

void lines_exp_dist_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist) {
  const vec_ref P1(p1, 3), P2(p2, 3), Q1(q1, 3), Q2(q2, 3);
  double u[3], v[3], w[3], n[3];
  for (int32_t i = 1; i <= 3; ++i) {
    u[i - 1] = P2(i) - P1(i);
    v[i - 1] = Q2(i) - Q1(i);
    w[i - 1] = Q1(i) - P1(i);
  }
  r8vec_cross_product_3d(u, v, n);
  const double norm = r8vec_norm(3, n);
  if (norm != 0.0) {
    dist = std::fabs(r8vec_dot_product(3, n, w)) / norm;
    return;
  }
  line_exp_point_dist_3d(p1, p2, q1, dist);
}

void lines_exp_near_3d(const double* p1, const double* p2, const double* q1, const double* q2, double* pn,
                       double* qn) {
  double s, t, a, d;
  if (!detail::lines_near_parameters_3d(p1, p2, q1, q2, s, t, a, d)) {
    // Line Q is the single point Q1: the point of P nearest to it.
    t = 0.0;
    s = a != 0.0 ? -d / a : 0.0;
  }
  double pp[3], qq[3];
  detail::line_point(3, p1, p2, s, pp);
  detail::line_point(3, q1, q2, t, qq);
  const vec_ref PN(pn, 3), QN(qn, 3);
  for (int32_t i = 1; i <= 3; ++i) {
    PN(i) = pp[i - 1];
    QN(i) = qq[i - 1];
  }
}

void lines_exp_dist_3d_2(const double* p1, const double* p2, const double* q1, const double* q2, double& dist) {
  double pn[3], qn[3];
  lines_exp_near_3d(p1, p2, q1, q2, pn, qn);
  dist = r8vec_distance(3, pn, qn);
}

void lines_imp_dist_2d(double a1, double b1, double c1, double a2, double b2, double c2, double& dist) {
  if (a1 * a1 + b1 * b1 == 0.0) fatal("LINES_IMP_DIST_2D", {"  Line 1 is degenerate."});
  if (a2 * a2 + b2 * b2 == 0.0) fatal("LINES_IMP_DIST_2D", {"  Line 2 is degenerate."});
  if (a1 * b2 != a2 * b1) {
    dist = 0.0;
    return;
  }
  // Parallel: the offsets along a common unit normal.  Opposite normals
  // flip the sign of the second line's offset.
  const double o1 = c1 / std::sqrt(a1 * a1 + b1 * b1);
  const double o2 = c2 / std::sqrt(a2 * a2 + b2 * b2);
  dist = a1 * a2 + b1 * b2 < 0.0 ? std::fabs(-o2 - o1) : std::fabs(o2 - o1);
}

void lines_par_dist_3d(double f1, double g1, double h1, double x1, double y1, double z1, double f2, double g2,
                       double h2, double x2, double y2, double z2, double& dist) {
  const double v1[3] = {f1, g1, h1}, v2[3] = {f2, g2, h2};
  double n[3];
  r8vec_cross_product_3d(v1, v2, n);
  const double norm = r8vec_norm(3, n);
  if (norm == 0.0) {
    // Parallel: the distance of the second base point from line 1.
    const double b2[3] = {x2, y2, z2};
    line_par_point_dist_3d(f1, g1, h1, x1, y1, z1, b2, dist);
    return;
  }
  const double w[3] = {x2 - x1, y2 - y1, z2 - z1};
  dist = std::fabs(r8vec_dot_product(3, w, n)) / norm;
}

// ---------------------------------------------------------------------------
// Exact tests

bool lines_exp_equal_2d(const double* p1, const double* p2, const double* q1, const double* q2) {
  const vec_ref P1(p1, 2), P2(p2, 2), Q1(q1, 2), Q2(q2, 2);
  // (a, b) x (c, d) = a d - b c for the triples (P1, P2, Q1), (P2, Q1, Q2),
  // (P1, P2, Q2) and (P1, Q1, Q2).
  const auto cross = [](double a, double b, double c, double d) { return a * d - b * c; };
  if (cross(P2(1) - P1(1), P2(2) - P1(2), Q1(1) - P2(1), Q1(2) - P2(2)) != 0.0) return false;
  if (cross(Q1(1) - P2(1), Q1(2) - P2(2), Q2(1) - Q1(1), Q2(2) - Q1(2)) != 0.0) return false;
  if (cross(P2(1) - P1(1), P2(2) - P1(2), Q2(1) - P1(1), Q2(2) - P1(2)) != 0.0) return false;
  if (cross(Q2(1) - P1(1), Q2(2) - P1(2), Q2(1) - Q1(1), Q2(2) - Q1(2)) != 0.0) return false;
  return true;
}

bool lines_exp_parallel_2d(const double* p1, const double* p2, const double* q1, const double* q2) {
  const vec_ref P1(p1, 2), P2(p2, 2), Q1(q1, 2), Q2(q2, 2);
  return (P2(1) - P1(1)) * (Q2(2) - Q1(2)) == (Q2(1) - Q1(1)) * (P2(2) - P1(2));
}

bool lines_exp_parallel_3d(const double* p1, const double* p2, const double* q1, const double* q2) {
  const vec_ref P1(p1, 3), P2(p2, 3), Q1(q1, 3), Q2(q2, 3);
  double u[3], v[3];
  for (int32_t i = 1; i <= 3; ++i) {
    u[i - 1] = P2(i) - P1(i);
    v[i - 1] = Q2(i) - Q1(i);
  }
  const double uv = r8vec_dot_product(3, u, v);
  return uv * uv == r8vec_dot_product(3, u, u) * r8vec_dot_product(3, v, v);
}

}  // namespace orvel::geometry
