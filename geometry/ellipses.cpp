#include "geometry/ellipses.hpp"

#include <algorithm>
#include <cmath>

#include "common/format.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

double sign_of(double v) { return v < 0.0 ? -1.0 : 1.0; }

// The point of the rotated (super-)ellipse with the factors c and s of the
// two semi-axes.
void put_turned(const double* pc, double r1, double r2, double psi, double c, double s, double* p) {
  const vec_ref PC(pc, 2);
  const vec_ref P(p, 2);
  const double cp = std::cos(psi), sp = std::sin(psi);
  const double x = PC(1) + r1 * c * cp - r2 * s * sp;
  const double y = PC(2) + r1 * c * sp + r2 * s * cp;
  P(1) = x;
  P(2) = y;
}

void put_ellipse_point(const double* pc, double r1, double r2, double psi, double t, double* p) {
  put_turned(pc, r1, r2, psi, std::cos(t), std::sin(t), p);
}

}  // namespace

void ellipse_area_2d(double r1, double r2, double& area) { area = pi * r1 * r2; }

void ellipse_point_near_2d(double r1, double r2, const double* p, double* pn) {
  const vec_ref P(p, 2);
  const vec_ref PN(pn, 2);
  if (r1 == 0.0 || r2 == 0.0) {
    double x = 0.0, y = 0.0;
    if (r1 == 0.0) {
      y = std::clamp(P(2), -std::fabs(r2), std::fabs(r2));
    } else {
      x = std::clamp(P(1), -std::fabs(r1), std::fabs(r1));
    }
    PN(1) = x;
    PN(2) = y;
    return;
  }
  const double a = std::fabs(r1), b = std::fabs(r2);
  double x = std::fabs(P(1)), y = std::fabs(P(2));
  double c, s;
  if (y == 0.0 && r1 * x >= r1 * r1 - r2 * r2) {
    c = 1.0;
    s = 0.0;
  } else if (x == 0.0 && r2 * y >= r2 * r2 - r1 * r1) {
    c = 6.123233995736766e-17;
    s = 1.0;
  } else {
    if (y == 0.0) y = 1.4901161193847656e-8 * b;
    if (x == 0.0) x = 1.4901161193847656e-8 * a;
    // The nearest point lies in the first quadrant, where f runs from
    // f(0) = -b y < 0 to f(pi/2) = a x > 0.  A Newton step that would leave
    // [0, pi/2] (on an eccentric ellipse it can, and then stops at a normal
    // foot of another quadrant) is replaced by the midpoint of the bracket
    // [lo, hi] that the signs of f have narrowed so far.
    double t = std::atan2(y, x);
    double lo = 0.0, hi = 1.5707963267948966;
    for (int32_t steps = 0;; ++steps) {
      c = std::cos(t);
      s = std::sin(t);
      const double f = a * s * (x - a * c) - b * c * (y - b * s);
      if (std::fabs(f) <= 2.220446049250313e-14) break;
      if (steps == 100) {
        warning("ELLIPSE_POINT_NEAR_2D", {"  Reached iteration limit.", "  T = " + fmt_f(t, 8, 6),
                                          "  F = " + fmt_g(f, 14, 6)});
        break;
      }
      if (f < 0.0) {
        lo = t;
      } else if (f > 0.0) {
        hi = t;
      }
      const double fp = c * (b * b * c + a * (x - a * c)) + s * (a * a * s + b * (y - b * s));
      t = t - f / fp;
      if (t < 0.0 || t > 1.5707963267948966) t = 0.5 * (lo + hi);
    }
  }
  const double px = sign_of(P(1)) * a * c, py = sign_of(P(2)) * b * s;
  PN(1) = px;
  PN(2) = py;
}

void ellipse_point_dist_2d(double r1, double r2, const double* p, double& dist) {
  double pn[2];
  ellipse_point_near_2d(r1, r2, p, pn);
  dist = r8vec_distance(2, p, pn);
}

void ellipse_points_2d(const double* pc, double r1, double r2, double psi, int32_t n, double* p) {
  if (n < 1) return;
  const mat_ref P(p, 2, n);
  for (int32_t j = 1; j <= n; ++j)
    put_ellipse_point(pc, r1, r2, psi, two_pi * static_cast<double>(j - 1) / static_cast<double>(n), P.col(j));
}

void ellipse_points_arc_2d(const double* pc, double r1, double r2, double psi, double theta1, double theta2,
                           int32_t n, double* p) {
  const double theta3 = theta1 + r8_modp(theta2 - theta1, two_pi);
  if (n < 1) return;
  const mat_ref P(p, 2, n);
  if (n == 1) {
    put_ellipse_point(pc, r1, r2, psi, (theta1 + theta3) / 2.0, P.col(1));
    return;
  }
  for (int32_t i = 1; i <= n; ++i) {
    const double t = (static_cast<double>(n - i) * theta1 + static_cast<double>(i - 1) * theta3) /
                     static_cast<double>(n - 1);
    put_ellipse_point(pc, r1, r2, psi, t, P.col(i));
  }
}

void super_ellipse_points_2d(const double* pc, double r1, double r2, double expo, double psi, int32_t n, double* p) {
  if (n < 1) return;
  const mat_ref P(p, 2, n);
  for (int32_t j = 1; j <= n; ++j) {
    const double t = two_pi * static_cast<double>(j - 1) / static_cast<double>(n);
    const double ct = std::cos(t), st = std::sin(t);
    const double c = sign_of(ct) * std::pow(std::fabs(ct), expo);
    const double s = sign_of(st) * std::pow(std::fabs(st), expo);
    put_turned(pc, r1, r2, psi, c, s, P.col(j));
  }
}

}  // namespace orvel::geometry
