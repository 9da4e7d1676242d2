#include "geometry/segments.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/circles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/minimisers.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

// T raised to at least 0, then lowered to at most 1.
double clamp_parameter(double t) {
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  return t;
}

// Nearest point of the segment to p, its distance and parameter.
void point_near(int32_t n, const double* p1, const double* p2, const double* p, double* pn, double& dist,
                double& t) {
  double foot[3];
  const double tt = clamp_parameter(detail::line_parameter(n, p1, p2, p));
  detail::line_point(n, p1, p2, tt, foot);
  dist = r8vec_distance(n, p, foot);
  t = tt;
  if (pn != nullptr) {
    const vec_ref PN(pn, n);
    for (int32_t i = 1; i <= n; ++i) PN(i) = foot[i - 1];
  }
}

void point_coords(int32_t n, const double* p1, const double* p2, const double* p, double& s, double& t) {
  double foot[3];
  const double tt = detail::line_parameter(n, p1, p2, p);
  detail::line_point(n, p1, p2, tt, foot);
  s = r8vec_distance(n, p, foot);
  t = tt;
}

// The least of the four distances from an end point of one segment to the
// other segment.
double end_point_distance(int32_t n, const double* p1, const double* p2, const double* q1, const double* q2) {
  double d[4], t;
  point_near(n, q1, q2, p1, nullptr, d[0], t);
  point_near(n, q1, q2, p2, nullptr, d[1], t);
  point_near(n, p1, p2, q1, nullptr, d[2], t);
  point_near(n, p1, p2, q2, nullptr, d[3], t);
  return std::min({d[0], d[1], d[2], d[3]});
}

// u(1) in [0, 1] and u(2) at most 0.001.
bool within(const double* u) { return !(u[0] < 0.0 || u[0] > 1.0 || u[1] > 0.001); }

// For two segments of positive length on crossing lines: the end point of
// one that lies on the other's line (by an exact cross product), which is
// the crossing of the lines itself; nullptr when there is none.
const double* end_point_on_other_line(const double* p1, const double* p2, const double* q1, const double* q2) {
  if (r8vec_eq(2, p1, p2) || r8vec_eq(2, q1, q2)) return nullptr;
  if (r8vec_cross_product_affine_2d(p1, p2, q1) == 0.0) return q1;
  if (r8vec_cross_product_affine_2d(p1, p2, q2) == 0.0) return q2;
  if (r8vec_cross_product_affine_2d(q1, q2, p1) == 0.0) return p1;
  if (r8vec_cross_product_affine_2d(q1, q2, p2) == 0.0) return p2;
  return nullptr;
}

}  // namespace

void segment_contains_point_1d(double p1, double p2, double p3, double& u) {
  if (p2 != p1) {
    u = (p3 - p1) / (p2 - p1);
  } else if (p3 == p1) {
    u = 0.5;
  } else if (p3 < p1) {
    u = -r8_largest();
  } else {
    u = r8_largest();
  }
}

void segment_contains_point_2d(const double* p1, const double* p2, const double* p3, double* u) {
  const vec_ref U(u, 2);
  const double l2 = r8vec_normsq_affine(2, p1, p2);
  if (l2 == 0.0) {
    U(1) = 0.5;
    U(2) = r8vec_eq(2, p1, p3) ? 0.0 : r8_largest();
    return;
  }
  const double t = r8vec_dot_product_affine(2, p1, p3, p2) / l2;
  double pn[2];
  detail::line_point(2, p1, p2, t, pn);
  const double offset = r8vec_distance(2, p3, pn) / std::sqrt(l2);
  U(1) = t;
  U(2) = offset;
}

void segment_point_coords_2d(const double* p1, const double* p2, const double* p, double& s, double& t) {
  point_coords(2, p1, p2, p, s, t);
}

void segment_point_coords_3d(const double* p1, const double* p2, const double* p, double& s, double& t) {
  point_coords(3, p1, p2, p, s, t);
}

void segment_point_dist_2d(const double* p1, const double* p2, const double* p, double& dist) {
  double t;
  point_near(2, p1, p2, p, nullptr, dist, t);
}

void segment_point_dist_3d(const double* p1, const double* p2, const double* p, double& dist) {
  double t;
  point_near(3, p1, p2, p, nullptr, dist, t);
}

void segment_point_near_2d(const double* p1, const double* p2, const double* p, double* pn, double& dist, double& t) {
  point_near(2, p1, p2, p, pn, dist, t);
}

void segment_point_near_3d(const double* p1, const double* p2, const double* p, double* pn, double& dist, double& t) {
  point_near(3, p1, p2, p, pn, dist, t);
}

void segments_curvature_2d(const double* p1, const double* p2, const double* p3, double& curvature) {
  double r, pc[2];
  circle_exp2imp_2d(p1, p2, p3, r, pc);
  curvature = r > 0.0 ? 1.0 / r : 0.0;
}

void segments_dist_2d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist) {
  int32_t ival;
  double r[2];
  lines_exp_int_2d(p1, p2, q1, q2, ival, r);
  if (ival == 1) {
    double s, t1, t2;
    segment_point_coords_2d(p1, p2, r, s, t1);
    segment_point_coords_2d(q1, q2, r, s, t2);
    if (0.0 <= t1 && t1 <= 1.0 && 0.0 <= t2 && t2 <= 1.0) {
      dist = 0.0;
      return;
    }
  }
  dist = end_point_distance(2, p1, p2, q1, q2);
}

void segments_dist_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist) {
  double s, t, a, d;
  // No value of t (Q1 = Q2): the end points decide.
  if (detail::lines_near_parameters_3d(p1, p2, q1, q2, s, t, a, d) && 0.0 <= s && s <= 1.0 && 0.0 <= t &&
      t <= 1.0) {
    double pn[3], qn[3];
    detail::line_point(3, p1, p2, s, pn);
    detail::line_point(3, q1, q2, t, qn);
    dist = r8vec_distance(3, pn, qn);
    return;
  }
  dist = end_point_distance(3, p1, p2, q1, q2);
}

void segments_dist_3d_old(const double* p1, const double* p2, const double* q1, const double* q2, double& dist) {
  double pn1[3], pn2[3], d1, d2, t1, t2;
  segment_point_near_3d(q1, q2, p1, pn1, d1, t1);
  segment_point_near_3d(q1, q2, p2, pn2, d2, t2);
  if (t1 == t2) {
    segment_point_dist_3d(p1, p2, pn1, dist);
    return;
  }
  double pm[3];
  for (int32_t i = 0; i < 3; ++i) pm[i] = 0.5 * (pn1[i] + pn2[i]);
  double e1, em, e2;
  segment_point_dist_3d(p1, p2, pn1, e1);
  segment_point_dist_3d(p1, p2, pm, em);
  segment_point_dist_3d(p1, p2, pn2, e2);
  double tmin, dmin;
  minquad(0.0, e1 * e1, 0.5, em * em, 1.0, e2 * e2, tmin, dmin);
  // A vertex at a true distance of 0 can come out a rounding below it.
  dist = std::sqrt(std::max(dmin, 0.0));
}

void segments_int_1d(double p1, double p2, double q1, double q2, double& dist, double& r1, double& r2) {
  r1 = std::max(std::min(p1, p2), std::min(q1, q2));
  r2 = std::min(std::max(p1, p2), std::max(q1, q2));
  dist = r1 - r2;
}

void segments_int_2d(const double* p1, const double* p2, const double* q1, const double* q2, int32_t& flag,
                     double* p) {
  const vec_ref P(p, 2);
  int32_t ival;
  double x[2] = {0.0, 0.0};
  lines_exp_int_2d(p1, p2, q1, q2, ival, x);
  flag = 0;
  if (ival == 1) {
    // A crossing at an end point is taken as that point: the solved one may
    // lie a rounding beyond the end and fail the exact parameter bounds.
    if (const double* e = end_point_on_other_line(p1, p2, q1, q2)) {
      x[0] = e[0];
      x[1] = e[1];
    }
    double u[2];
    segment_contains_point_2d(p1, p2, x, u);
    if (within(u)) {
      segment_contains_point_2d(q1, q2, x, u);
      if (within(u)) flag = 1;
    }
  } else if (ival == 2) {
    // One supporting line: the overlap of the parameter ranges [0, 1] of P
    // and [t1, t2] of Q along P1 -> P2, and its first point.
    const double t1 = detail::line_parameter(2, p1, p2, q1);
    const double t2 = detail::line_parameter(2, p1, p2, q2);
    const double lo = std::max(0.0, std::min(t1, t2));
    const double hi = std::min(1.0, std::max(t1, t2));
    if (lo <= hi) {
      flag = 1;
      detail::line_point(2, p1, p2, lo, x);
    }
  }
  P(1) = x[0];
  P(2) = x[1];
}

}  // namespace orvel::geometry
