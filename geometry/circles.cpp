#include "geometry/circles.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/matrices.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double sqrt_two = 1.4142135623730951;
constexpr double eps = 2.220446049250313e-16;

void set_point(double* p, double x, double y) {
  const vec_ref P(p, 2);
  P(1) = x;
  P(2) = y;
}

void circle_on_diameter(const double* p1, const double* p2, double& r, double* pc) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  r = 0.5 * r8vec_distance(2, p1, p2);
  set_point(pc, 0.5 * (P1(1) + P2(1)), 0.5 * (P1(2) + P2(2)));
}

}  // namespace

void circle_dia2imp_2d(const double* p1, const double* p2, double& r, double* pc) {
  circle_on_diameter(p1, p2, r, pc);
}

void circle_exp2imp_2d(const double* p1, const double* p2, const double* p3, double& r, double* pc) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2);
  const bool e12 = r8vec_eq(2, p1, p2), e13 = r8vec_eq(2, p1, p3);
  if (e12 && e13) {
    r = 0.0;
    set_point(pc, P1(1), P1(2));
    return;
  }
  if (e12) {
    circle_on_diameter(p1, p3, r, pc);
    return;
  }
  if (e13 || r8vec_eq(2, p2, p3)) {
    circle_on_diameter(p1, p2, r, pc);
    return;
  }
  const double x1 = P1(1), y1 = P1(2), x2 = P2(1), y2 = P2(2), x3 = P3(1), y3 = P3(2);
  const double det = (y3 - y2) * (x2 - x1) - (x3 - x2) * (y2 - y1);
  if (det == 0.0) {
    r = -1.0;
    set_point(pc, 0.0, 0.0);
    return;
  }
  const double u1 = x2 - x1, u2 = y2 - y1, w1 = x3 - x1, w2 = y3 - y1;
  const double m = (x2 + x1) * (x2 - x1) + (y2 + y1) * (y2 - y1);
  const double o = (x1 + x3) * (x3 - x1) + (y1 + y3) * (y3 - y1);
  const double centre[2] = {0.5 * (w2 * m - u2 * o) / det, 0.5 * (u1 * o - w1 * m) / det};
  r = r8vec_distance(2, p1, centre);
  set_point(pc, centre[0], centre[1]);
}

void circle_imp2exp_2d(double r, const double* pc, double* p1, double* p2, double* p3) {
  const vec_ref PC(pc, 2);
  const double x = PC(1), y = PC(2);
  double* out[3] = {p1, p2, p3};
  const double angles[3] = {0.0, 2.0943951023931953, 4.1887902047863905};
  for (int k = 0; k < 3; ++k) set_point(out[k], x + r * std::cos(angles[k]), y + r * std::sin(angles[k]));
}

void circle_llr2imp_2d(const double* p1, const double* p2, const double* q1, const double* q2, double r, double* pc) {
  const vec_ref P1(p1, 2), P2(p2, 2), Q1(q1, 2), Q2(q2, 2);
  const mat_ref PC(pc, 2, 4);
  double n1[2], n2[2];
  line_exp_normal_2d(p1, p2, n1);
  line_exp_normal_2d(q1, q2, n2);
  // Columns P2 - P1 and Q1 - Q2: A x = b crosses line 1 moved by e1 with
  // line 2 moved by e2.
  const double a[4] = {P2(1) - P1(1), P2(2) - P1(2), Q1(1) - Q2(1), Q1(2) - Q2(2)};
  // Signs of e1 = s1 R N1 and e2 = s2 R N2 for the four centres.
  const double s1[4] = {-1.0, -1.0, 1.0, 1.0};
  const double s2[4] = {1.0, -1.0, 1.0, -1.0};
  double centres[8];
  for (int32_t k = 1; k <= 4; ++k) {
    double e1[2], e2[2], b[2], x[2], det;
    for (int32_t i = 0; i < 2; ++i) {
      e1[i] = s1[k - 1] * r * n1[i];
      e2[i] = s2[k - 1] * r * n2[i];
    }
    for (int32_t i = 1; i <= 2; ++i) b[i - 1] = Q1(i) - P1(i) + e2[i - 1] - e1[i - 1];
    r8mat_solve_2d(a, b, det, x);
    for (int32_t i = 1; i <= 2; ++i) centres[2 * (k - 1) + i - 1] = P1(i) + e1[i - 1] + x[0] * (P2(i) - P1(i));
  }
  for (int32_t k = 1; k <= 4; ++k)
    for (int32_t i = 1; i <= 2; ++i) PC(i, k) = centres[2 * (k - 1) + i - 1];
}

void circle_ppr2imp_2d(const double* p1, const double* p2, double r, double* pc) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  const mat_ref PC(pc, 2, 2);
  const double d = r8vec_distance(2, p1, p2);
  const double m[2] = {0.5 * (P1(1) + P2(1)), 0.5 * (P1(2) + P2(2))};
  if (d > 2.0 * r || d == 0.0) {
    // No circle, or no chord to fix one: the midpoint twice.
    for (int32_t j = 1; j <= 2; ++j) {
      PC(1, j) = m[0];
      PC(2, j) = m[1];
    }
    return;
  }
  const double normal[2] = {(P2(2) - P1(2)) / d, -(P2(1) - P1(1)) / d};
  const double h = std::sqrt((r + d / 2.0) * (r - d / 2.0));
  for (int32_t i = 1; i <= 2; ++i) {
    const double c1 = m[i - 1] + h * normal[i - 1];
    const double c2 = m[i - 1] - h * normal[i - 1];
    PC(i, 1) = c1;
    PC(i, 2) = c2;
  }
}

void circle_pppr2imp_3d(const double* p1, const double* p2, const double* p3, double r, double* pc, double* normal) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3);
  const mat_ref PC(pc, 3, 2);
  const double d = r8vec_distance(3, p1, p2);
  double m[3];
  for (int32_t i = 1; i <= 3; ++i) m[i - 1] = 0.5 * (P1(i) + P2(i));
  if (d > 2.0 * r) {
    for (int32_t j = 1; j <= 2; ++j)
      for (int32_t i = 1; i <= 3; ++i) PC(i, j) = m[i - 1];
    return;
  }
  // Collinear points have no plane: the run ends here, before any output is
  // written.
  double n[3];
  plane_exp_normal_3d(p1, p2, p3, n);
  const double dot = r8vec_dot_product_affine(3, p1, p2, p3);
  double v[3];
  for (int32_t i = 1; i <= 3; ++i) v[i - 1] = (P3(i) - P1(i)) - (dot / d) * (P2(i) - P1(i)) / d;
  const double vnorm = r8vec_norm(3, v);
  for (int32_t i = 0; i < 3; ++i) v[i] = v[i] / vnorm;
  const double h = std::sqrt((r + d / 2.0) * (r - d / 2.0));
  for (int32_t i = 1; i <= 3; ++i) {
    PC(i, 1) = m[i - 1] + h * v[i - 1];
    PC(i, 2) = m[i - 1] - h * v[i - 1];
  }
  const vec_ref NORMAL(normal, 3);
  for (int32_t i = 1; i <= 3; ++i) NORMAL(i) = n[i - 1];
}

// ---------------------------------------------------------------------------
// Containment and distances

void circle_exp_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p,
                                  int32_t& inside) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2), P(p, 2);
  const double x1 = P1(1), y1 = P1(2), x2 = P2(1), y2 = P2(2), x3 = P3(1), y3 = P3(2), x = P(1), y = P(2);
  if (r8vec_eq(2, p1, p2)) {
    if (r8vec_eq(2, p1, p3)) {
      inside = r8vec_eq(2, p, p1) ? 6 : 7;
    } else {
      inside = (y - y3) * (x1 - x3) - (y1 - y3) * (x - x3) == 0.0 ? 4 : 5;
    }
    return;
  }
  if (r8vec_eq(2, p1, p3)) {
    inside = (x1 - x2) * (y - y2) - (x - x2) * (y1 - y2) == 0.0 ? 4 : 5;
    return;
  }
  if ((y3 - y2) * (x1 - x2) - (x3 - x2) * (y1 - y2) == 0.0) {
    inside = (x1 - x2) * (y - y2) - (x - x2) * (y1 - y2) == 0.0 ? 2 : 3;
    return;
  }
  // Rows (x, y, x^2 + y^2, 1) of P1, P2, P3 and P, stored column by column.
  const double a[16] = {x1, x2, x3, x, y1, y2, y3, y, x1 * x1 + y1 * y1, x2 * x2 + y2 * y2, x3 * x3 + y3 * y3,
                        x * x + y * y, 1.0, 1.0, 1.0, 1.0};
  const double det = r8mat_det_4d(a);
  inside = det < 0.0 ? 1 : (det == 0.0 ? 0 : -1);
}

void circle_imp_contains_point_2d(double r, const double* pc, const double* p, bool& inside) {
  inside = r8vec_normsq_affine(2, p, pc) <= r * r;
}

void circle_imp_point_dist_2d(double r, const double* pc, const double* p, double& dist) {
  dist = std::fabs(r8vec_distance(2, p, pc) - r);
}

void circle_imp_point_dist_signed_2d(double r, const double* pc, const double* p, double& dist) {
  dist = r8vec_distance(2, p, pc) - r;
}

void circle_imp_point_near_2d(double r, const double* pc, const double* p, double* pn, double& dist) {
  const vec_ref PC(pc, 2), P(p, 2);
  if (r8vec_eq(2, p, pc)) {
    dist = r;
    const double s = r / sqrt_two;
    set_point(pn, PC(1) + s, PC(2) + s);
    return;
  }
  const double rp = r8vec_distance(2, p, pc);
  dist = std::fabs(rp - r);
  set_point(pn, PC(1) + r * (P(1) - PC(1)) / rp, PC(2) + r * (P(2) - PC(2)) / rp);
}

void circle_imp_line_exp_dist_2d(double r, const double* pc, const double* p1, const double* p2, double& dist) {
  double d;
  line_exp_point_dist_2d(p1, p2, pc, d);
  dist = d - r < 0.0 ? 0.0 : d - r;
}

// ---------------------------------------------------------------------------
// Intersections and tangent circles

void circle_imp_line_par_int_2d(double r, const double* pc, double x0, double y0, double f, double g,
                                int32_t& int_num, double* p) {
  const vec_ref PC(pc, 2);
  const mat_ref P(p, 2, 2);
  const double l = f * f + g * g;
  if (l == 0.0) {
    // No direction: the line is the single point (X0, Y0).
    const double base[2] = {x0, y0};
    if (r8vec_normsq_affine(2, base, pc) == r * r) {
      int_num = 1;
      P(1, 1) = x0;
      P(2, 1) = y0;
    } else {
      int_num = 0;
    }
    return;
  }
  const double m = f * (PC(2) - y0) - g * (PC(1) - x0);
  const double disc = r * r * l - m * m;
  if (disc < 0.0) {
    int_num = 0;
    return;
  }
  const double s = (PC(1) - x0) * f + (PC(2) - y0) * g;
  if (disc == 0.0) {
    int_num = 1;
    P(1, 1) = x0 + f * s / l;
    P(2, 1) = y0 + g * s / l;
    return;
  }
  int_num = 2;
  const double t1 = (s - std::sqrt(disc)) / l;
  const double t2 = (s + std::sqrt(disc)) / l;
  P(1, 1) = x0 + f * t1;
  P(2, 1) = y0 + g * t1;
  P(1, 2) = x0 + f * t2;
  P(2, 2) = y0 + g * t2;
}

void circles_imp_int_2d(double r1, const double* pc1, double r2, const double* pc2, int32_t& int_num, double* p) {
  const vec_ref PC1(pc1, 2), PC2(pc2, 2);
  const mat_ref P(p, 2, 2);
  const auto zero_points = [&P] {
    for (int32_t j = 1; j <= 2; ++j)
      for (int32_t i = 1; i <= 2; ++i) P(i, j) = 0.0;
  };
  const double gap = (std::fabs(PC1(1) - PC2(1)) + std::fabs(PC1(2) - PC2(2))) / 2.0;
  const double scale = 1.0 + std::fabs(PC1(1)) + std::fabs(PC2(1)) + std::fabs(PC1(2)) + std::fabs(PC2(2));
  if (gap <= eps * scale / 5.0) {
    zero_points();
    int_num = std::fabs(r1 - r2) <= eps * (1.0 + std::fabs(r1) + std::fabs(r2)) / 3.0 ? 3 : 0;
    return;
  }
  const double d[2] = {PC2(1) - PC1(1), PC2(2) - PC1(2)};
  const double q = d[0] * d[0] + d[1] * d[1];
  const double dr = r1 - r2, sr = r1 + r2;
  const double g = (2.0 * (r1 * r1 + r2 * r2) - q) * q - (dr * dr) * (sr * sr);
  if (g < -eps) {
    zero_points();
    int_num = 0;
    return;
  }
  const double a = (r1 * r1 + q - r2 * r2) / q;
  const double x = PC1(1) + (a / 2.0) * d[0];
  const double y = PC1(2) + (a / 2.0) * d[1];
  if (g < eps) {
    int_num = 1;
    P(1, 1) = x;
    P(2, 1) = y;
    P(1, 2) = 0.0;
    P(2, 2) = 0.0;
    return;
  }
  int_num = 2;
  const double w = std::sqrt(g) / q;
  P(1, 1) = x + (w / 2.0) * -d[1];
  P(2, 1) = y + (w / 2.0) * d[0];
  P(1, 2) = x - (w / 2.0) * -d[1];
  P(2, 2) = y - (w / 2.0) * d[0];
}

void circle_triple_angles_2d(double r1, double r2, double r3, double& angle1, double& angle2, double& angle3) {
  const double a = r1 + r2;
  const double b = r1 + r3;
  const double c = r2 + r3;
  // A side of length 0 (zero radii): the rules of a triangle with coincident
  // vertices, pi beside the zero side and 2 pi / 3 when all three are 0.
  if (a == 0.0 && b == 0.0 && c == 0.0) {
    angle1 = 2.0943951023931953;
    angle2 = 2.0943951023931953;
    angle3 = 2.0943951023931953;
    return;
  }
  const auto angle = [](double s, double t, double u) {
    if (s == 0.0 || t == 0.0) return r8_pi();
    return arc_cosine((s * s + t * t - u * u) / (2.0 * s * t));
  };
  angle1 = angle(a, b, c);
  angle2 = angle(a, c, b);
  angle3 = angle(b, c, a);
}

}  // namespace orvel::geometry
