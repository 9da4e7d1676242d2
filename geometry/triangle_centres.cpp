#include "geometry/triangle_centres.hpp"

#include <cmath>

#include "geometry/line_forms.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

void set_point(double* p, double x, double y) {
  const vec_ref P(p, 2);
  P(1) = x;
  P(2) = y;
}

// The side lengths a = |P1 - P2|, b = |P2 - P3|, c = |P3 - P1|.
void sides(const double* t, double& a, double& b, double& c) {
  const mat_ref T(t, 2, 3);
  a = r8vec_distance(2, T.col(1), T.col(2));
  b = r8vec_distance(2, T.col(2), T.col(3));
  c = r8vec_distance(2, T.col(3), T.col(1));
}

// The circumradius a b c / sqrt(BOT), or -1 when BOT <= 0.
double circumradius(const double* t) {
  double a, b, c;
  sides(t, a, b, c);
  const double bot = (a + b + c) * (-a + b + c) * (a - b + c) * (a + b - c);
  if (bot <= 0.0) return -1.0;
  return a * b * c / std::sqrt(bot);
}

// Twice the offset Q of the circumcentre from P1, by Gauss-Jordan
// elimination; false when the system is singular.
bool circumcentre_offset(const double* t, double* q) {
  const mat_ref T(t, 2, 3);
  double a[6];
  const mat_ref A(a, 2, 3);
  for (int32_t i = 1; i <= 2; ++i) {
    A(i, 1) = T(1, i + 1) - T(1, 1);
    A(i, 2) = T(2, i + 1) - T(2, 1);
    A(i, 3) = r8vec_normsq_affine(2, T.col(i + 1), T.col(1));
  }
  int32_t info;
  r8mat_solve(2, 1, a, info);
  if (info != 0) return false;
  q[0] = A(1, 3);
  q[1] = A(2, 3);
  return true;
}

// The incentre (when pc is not null) and the inradius (when r is not
// null).  A flat triangle, whose product under the root can come out a
// little below 0 by rounding, gets radius 0.
void inscribed(const double* t, double* r, double* pc) {
  const mat_ref T(t, 2, 3);
  double a, b, c;
  sides(t, a, b, c);
  const double perim = a + b + c;
  if (perim == 0.0) {
    if (pc) set_point(pc, T(1, 1), T(2, 1));
    if (r) *r = 0.0;
    return;
  }
  if (pc) {
    set_point(pc, (b * T(1, 1) + c * T(1, 2) + a * T(1, 3)) / perim,
              (b * T(2, 1) + c * T(2, 2) + a * T(2, 3)) / perim);
  }
  if (r) {
    const double product = (-a + b + c) * (a - b + c) * (a + b - c);
    *r = product > 0.0 ? 0.5 * std::sqrt(product / perim) : 0.0;
  }
}

}  // namespace

void triangle_circumcenter_2d(const double* t, double* pc) {
  const mat_ref T(t, 2, 3);
  const double ax = T(1, 2) - T(1, 1), ay = T(2, 2) - T(2, 1);
  const double bx = T(1, 3) - T(1, 1), by = T(2, 3) - T(2, 1);
  const double asq = ax * ax + ay * ay, bsq = bx * bx + by * by;
  const double top1 = asq * by - bsq * ay, top2 = bsq * ax - asq * bx;
  const double bot = ax * by - ay * bx;
  set_point(pc, T(1, 1) + 0.5 * top1 / bot, T(2, 1) + 0.5 * top2 / bot);
}

void triangle_circumcenter_2d_2(const double* t, double* pc) {
  const mat_ref T(t, 2, 3);
  double q[2];
  if (!circumcentre_offset(t, q)) {
    set_point(pc, 0.0, 0.0);
    return;
  }
  set_point(pc, T(1, 1) + 0.5 * q[0], T(2, 1) + 0.5 * q[1]);
}

void triangle_circumcenter(int32_t dim_num, const double* t, double* pc) {
  if (dim_num < 1) return;
  const mat_ref T(t, dim_num, 3);
  const vec_ref PC(pc, dim_num);
  const double a = r8vec_normsq_affine(dim_num, T.col(2), T.col(3));
  const double b = r8vec_normsq_affine(dim_num, T.col(3), T.col(1));
  const double c = r8vec_normsq_affine(dim_num, T.col(1), T.col(2));
  const double w1 = a * (b + c - a), w2 = b * (c + a - b), w3 = c * (a + b - c);
  for (int32_t i = 1; i <= dim_num; ++i) PC(i) = (w1 * T(i, 1) + w2 * T(i, 2) + w3 * T(i, 3)) / (w1 + w2 + w3);
}

void triangle_circumcircle_2d(const double* t, double& r, double* pc) {
  r = circumradius(t);
  if (r == -1.0) {
    set_point(pc, 0.0, 0.0);
    return;
  }
  triangle_circumcenter_2d(t, pc);
}

void triangle_circumcircle_2d_2(const double* t, double& r, double* pc) {
  const mat_ref T(t, 2, 3);
  double q[2];
  if (!circumcentre_offset(t, q)) {
    r = -1.0;
    set_point(pc, 0.0, 0.0);
    return;
  }
  r = 0.5 * std::sqrt(q[0] * q[0] + q[1] * q[1]);
  set_point(pc, T(1, 1) + 0.5 * q[0], T(2, 1) + 0.5 * q[1]);
}

void triangle_circumradius_2d(const double* t, double& r) { r = circumradius(t); }

void triangle_incenter_2d(const double* t, double* pc) { inscribed(t, nullptr, pc); }

void triangle_incircle_2d(const double* t, double& r, double* pc) { inscribed(t, &r, pc); }

void triangle_inradius_2d(const double* t, double& r) { inscribed(t, &r, nullptr); }

void triangle_orthocenter_2d(const double* t, double* pc) {
  const mat_ref T(t, 2, 3);
  const double huge = r8_huge();
  double p23[2], p31[2];
  bool flag;
  line_exp_perp_2d(T.col(2), T.col(3), T.col(1), p23, flag);
  if (flag) {
    set_point(pc, huge, huge);
    return;
  }
  line_exp_perp_2d(T.col(3), T.col(1), T.col(2), p31, flag);
  if (flag) {
    set_point(pc, huge, huge);
    return;
  }
  int32_t ival;
  double p[2];
  lines_exp_int_2d(T.col(1), p23, T.col(2), p31, ival, p);
  if (ival != 1) {
    set_point(pc, huge, huge);
    return;
  }
  set_point(pc, p[0], p[1]);
}

}  // namespace orvel::geometry
