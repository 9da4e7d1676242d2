#include "geometry/line_forms.hpp"

#include <cmath>

#include "geometry/reals.hpp"

namespace orvel::geometry {

namespace detail {

double line_parameter(int32_t n, const double* p1, const double* p2, const double* p) {
  const double dd = r8vec_normsq_affine(n, p1, p2);
  if (dd == 0.0) return 0.0;
  return r8vec_dot_product_affine(n, p1, p, p2) / dd;
}

void line_point(int32_t n, const double* p1, const double* p2, double t, double* pn) {
  const vec_ref P1(p1, n), P2(p2, n);
  const vec_ref PN(pn, n);
  for (int32_t i = 1; i <= n; ++i) PN(i) = P1(i) + t * (P2(i) - P1(i));
}

}  // namespace detail

namespace {

constexpr double sqrt_two = 1.4142135623730951;

void warn_degenerate(std::string_view title) { warning(title, {"  The line is degenerate."}); }

[[noreturn]] void fatal_degenerate(std::string_view title) { fatal(title, {"  The line is degenerate."}); }

// Unit direction P2 - P1 (zero for P1 = P2) turned so that its first
// component is not negative, and the base point P1.
void exp2par(int32_t n, const double* p1, const double* p2, double* dir, double* base) {
  const vec_ref P1(p1, n), P2(p2, n);
  const vec_ref DIR(dir, n), BASE(base, n);
  for (int32_t i = 1; i <= n; ++i) {
    BASE(i) = P1(i);
    DIR(i) = P2(i) - P1(i);
  }
  const double norm = r8vec_norm(n, dir);
  if (norm != 0.0) {
    for (int32_t i = 1; i <= n; ++i) DIR(i) = DIR(i) / norm;
  }
  if (DIR(1) < 0.0) {
    for (int32_t i = 1; i <= n; ++i) DIR(i) = -DIR(i);
  }
}

// The point of P's line nearest to p: p itself when P1 = P2.
void exp_foot(int32_t n, const double* p1, const double* p2, const double* p, double* pn) {
  if (r8vec_eq(n, p1, p2)) {
    const vec_ref P1(p1, n);
    const vec_ref PN(pn, n);
    for (int32_t i = 1; i <= n; ++i) PN(i) = P1(i);
    return;
  }
  detail::line_point(n, p1, p2, detail::line_parameter(n, p1, p2, p), pn);
}

void exp_near(std::string_view title, int32_t n, const double* p1, const double* p2, const double* p, double* pn,
              double& dist, double& t) {
  if (r8vec_eq(n, p1, p2)) fatal_degenerate(title);
  double foot[3];
  const double tt = detail::line_parameter(n, p1, p2, p);
  detail::line_point(n, p1, p2, tt, foot);
  dist = r8vec_distance(n, foot, p);
  t = tt;
  const vec_ref PN(pn, n);
  for (int32_t i = 1; i <= n; ++i) PN(i) = foot[i - 1];
}

}  // namespace

void line_exp2imp_2d(const double* p1, const double* p2, double& a, double& b, double& c) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  if (r8vec_eq(2, p1, p2)) warn_degenerate("LINE_EXP2IMP_2D");
  double aa = P2(2) - P1(2);
  double bb = P1(1) - P2(1);
  double cc = P2(1) * P1(2) - P1(1) * P2(2);
  const double norm = aa * aa + bb * bb + cc * cc;
  if (norm > 0.0) {
    aa = aa / norm;
    bb = bb / norm;
    cc = cc / norm;
  }
  if (aa < 0.0) {
    aa = -aa;
    bb = -bb;
    cc = -cc;
  }
  a = aa;
  b = bb;
  c = cc;
}

void line_exp2par_2d(const double* p1, const double* p2, double& f, double& g, double& x0, double& y0) {
  if (r8vec_eq(2, p1, p2)) warn_degenerate("LINE_EXP2PAR_2D");
  double dir[2], base[2];
  exp2par(2, p1, p2, dir, base);
  f = dir[0];
  g = dir[1];
  x0 = base[0];
  y0 = base[1];
}

void line_exp2par_3d(const double* p1, const double* p2, double& f, double& g, double& h, double& x0, double& y0,
                     double& z0) {
  if (r8vec_eq(3, p1, p2)) warn_degenerate("LINE_EXP2PAR_3D");
  double dir[3], base[3];
  exp2par(3, p1, p2, dir, base);
  f = dir[0];
  g = dir[1];
  h = dir[2];
  x0 = base[0];
  y0 = base[1];
  z0 = base[2];
}

void line_imp2exp_2d(double a, double b, double c, double* p1, double* p2) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  const double norm = a * a + b * b;
  if (norm == 0.0) fatal_degenerate("LINE_IMP2EXP_2D");
  const double x1 = -a * c / norm;
  const double y1 = -b * c / norm;
  double x2, y2;
  if (c == 0.0) {
    // Through the origin: the formulas below would give the origin twice.
    double f, g, x0, y0;
    line_imp2par_2d(a, b, c, f, g, x0, y0);
    x2 = x1 + f;
    y2 = y1 + g;
  } else if (std::fabs(a) > std::fabs(b)) {
    x2 = -(a - b / a) * c / norm;
    y2 = -(b + 1.0) * c / norm;
  } else {
    x2 = -(a + 1.0) * c / norm;
    y2 = -(b - a / b) * c / norm;
  }
  P1(1) = x1;
  P1(2) = y1;
  P2(1) = x2;
  P2(2) = y2;
}

void line_imp2par_2d(double a, double b, double c, double& f, double& g, double& x0, double& y0) {
  const double norm = a * a + b * b;
  if (norm == 0.0) fatal_degenerate("LINE_IMP2PAR_2D");
  x0 = -a * c / norm;
  y0 = -b * c / norm;
  const double s = 1.0 / std::sqrt(norm);
  if (b * s < 0.0) {
    f = -b * s;
    g = a * s;
  } else {
    f = b * s;
    g = -a * s;
  }
}

void line_par2exp_2d(double f, double g, double x0, double y0, double* p1, double* p2) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  P1(1) = x0;
  P1(2) = y0;
  P2(1) = x0 + f;
  P2(2) = y0 + g;
}

void line_par2imp_2d(double f, double g, double x0, double y0, double& a, double& b, double& c) {
  a = -g;
  b = f;
  c = g * x0 - f * y0;
}

bool line_imp_is_degenerate_2d(double a, double b) { return a * a + b * b == 0.0; }

bool line_exp_is_degenerate_nd(int32_t dim_num, const double* p1, const double* p2) {
  return r8vec_eq(dim_num, p1, p2);
}

void line_exp_normal_2d(const double* p1, const double* p2, double* normal) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  const vec_ref NORMAL(normal, 2);
  if (r8vec_eq(2, p1, p2)) {
    NORMAL(1) = sqrt_two;
    NORMAL(2) = sqrt_two;
    return;
  }
  const double norm = r8vec_norm_affine(2, p1, p2);
  const double n1 = -(P2(2) - P1(2)) / norm;
  const double n2 = (P2(1) - P1(1)) / norm;
  NORMAL(1) = n1;
  NORMAL(2) = n2;
}

void line_exp_perp_2d(const double* p1, const double* p2, const double* p3, double* p4, bool& flag) {
  const vec_ref P4(p4, 2);
  if (r8vec_eq(2, p1, p2)) {
    flag = true;
    P4(1) = r8_huge();
    P4(2) = r8_huge();
    return;
  }
  flag = false;
  const double t = r8vec_dot_product_affine(2, p1, p3, p2) / r8vec_normsq_affine(2, p1, p2);
  detail::line_point(2, p1, p2, t, p4);
}

// ---------------------------------------------------------------------------
// Distances from a point

void line_exp_point_dist_2d(const double* p1, const double* p2, const double* p, double& dist) {
  double pn[2];
  exp_foot(2, p1, p2, p, pn);
  dist = r8vec_distance(2, p, pn);
}

void line_exp_point_dist_3d(const double* p1, const double* p2, const double* p, double& dist) {
  double pn[3];
  exp_foot(3, p1, p2, p, pn);
  dist = r8vec_distance(3, p, pn);
}

void line_exp_point_dist_signed_2d(const double* p1, const double* p2, const double* p, double& dist) {
  const vec_ref P1(p1, 2), P2(p2, 2), P(p, 2);
  if (r8vec_eq(2, p1, p2)) {
    dist = r8vec_distance(2, p, p1);
    return;
  }
  const double a = P2(2) - P1(2);
  const double b = P1(1) - P2(1);
  const double c = P2(1) * P1(2) - P1(1) * P2(2);
  dist = (a * P(1) + b * P(2) + c) / std::sqrt(a * a + b * b);
}

void line_exp_point_near_2d(const double* p1, const double* p2, const double* p, double* pn, double& dist,
                            double& t) {
  exp_near("LINE_POINT_NEAR_2D", 2, p1, p2, p, pn, dist, t);
}

void line_exp_point_near_3d(const double* p1, const double* p2, const double* p, double* pn, double& dist,
                            double& t) {
  exp_near("LINE_EXP_POINT_NEAR_3D", 3, p1, p2, p, pn, dist, t);
}

void line_imp_point_dist_2d(double a, double b, double c, const double* p, double& dist) {
  const vec_ref P(p, 2);
  const double norm = a * a + b * b;
  if (norm == 0.0) fatal_degenerate("LINE_IMP_POINT_DIST_2D");
  dist = std::fabs(a * P(1) + b * P(2) + c) / std::sqrt(norm);
}

void line_imp_point_dist_signed_2d(double a, double b, double c, const double* p, double& dist) {
  const vec_ref P(p, 2);
  const double norm = a * a + b * b;
  if (norm == 0.0) fatal_degenerate("LINE_IMP_POINT_DIST_SIGNED_2D");
  const double s = c < 0.0 ? -1.0 : 1.0;
  dist = -s * (a * P(1) + b * P(2) + c) / std::sqrt(norm);
}

void line_par_point_dist_2d(double f, double g, double x0, double y0, const double* p, double& dist) {
  const vec_ref P(p, 2);
  const double dx = P(1) - x0;
  const double dy = P(2) - y0;
  const double norm = f * f + g * g;
  if (norm == 0.0) {
    // No direction: the line is its base point.
    dist = std::sqrt(dx * dx + dy * dy);
    return;
  }
  const double e = f * dy - g * dx;
  const double offset[2] = {-g * e / norm, f * e / norm};
  dist = r8vec_norm(2, offset);
}

void line_par_point_dist_3d(double f, double g, double h, double x0, double y0, double z0, const double* p,
                            double& dist) {
  const vec_ref P(p, 3);
  const double v[3] = {f, g, h};
  const double w[3] = {P(1) - x0, P(2) - y0, P(3) - z0};
  const double vv = r8vec_dot_product(3, v, v);
  if (vv == 0.0) {
    // No direction: the line is its base point.
    dist = r8vec_norm(3, w);
    return;
  }
  double vw[3], vvw[3];
  r8vec_cross_product_3d(v, w, vw);
  r8vec_cross_product_3d(v, vw, vvw);
  const double offset[3] = {-vvw[0] / vv, -vvw[1] / vv, -vvw[2] / vv};
  dist = r8vec_norm(3, offset);
}

}  // namespace orvel::geometry
