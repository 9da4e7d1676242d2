#include "geometry/angles.hpp"

#include <cmath>

#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;
constexpr double half_pi = 1.5707963267948966;
constexpr double three_half_pi = 4.71238898038469;
constexpr double degree = 0.017453292519943295;

// DOT and CROSS of the rays U = P3 - P2 and V = P1 - P2.
void dot_cross(const double* p1, const double* p2, const double* p3, double& dot, double& cross) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2);
  dot = (P3(1) - P2(1)) * (P1(1) - P2(1)) + (P3(2) - P2(2)) * (P1(2) - P2(2));
  cross = (P3(1) - P2(1)) * (P1(2) - P2(2)) - (P1(1) - P2(1)) * (P3(2) - P2(2));
}

}  // namespace

double angle_rad_2d(const double* p1, const double* p2, const double* p3) {
  double dot, cross;
  dot_cross(p1, p2, p3, dot, cross);
  if (dot == 0.0 && cross == 0.0) return 0.0;
  double value = std::atan2(cross, dot);
  if (value < 0.0) value = value + two_pi;
  return value;
}

double angle_deg_2d(const double* p1, const double* p2, const double* p3) {
  return (angle_rad_2d(p1, p2, p3) / pi) * 180.0;
}

void angle_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p, bool& inside) {
  inside = angle_rad_2d(p1, p2, p) <= angle_rad_2d(p1, p2, p3);
}

void angle_half_2d(const double* p1, const double* p2, const double* p3, double* p4) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2);
  const vec_ref P4(p4, 2);
  const double n1 = r8vec_norm_affine(2, p2, p1);
  const double n3 = r8vec_norm_affine(2, p2, p3);
  double h1, h2;
  if (n1 == 0.0 && n3 == 0.0) {
    h1 = 1.0;
    h2 = 0.0;
  } else if (n1 == 0.0) {
    h1 = (P3(1) - P2(1)) / n3;
    h2 = (P3(2) - P2(2)) / n3;
  } else if (n3 == 0.0) {
    h1 = (P1(1) - P2(1)) / n1;
    h2 = (P1(2) - P2(2)) / n1;
  } else {
    const double u1[2] = {(P1(1) - P2(1)) / n1, (P1(2) - P2(2)) / n1};
    const double u3[2] = {(P3(1) - P2(1)) / n3, (P3(2) - P2(2)) / n3};
    const double h[2] = {0.5 * (u1[0] + u3[0]), 0.5 * (u1[1] + u3[1])};
    const double hn = r8vec_norm(2, h);
    if (hn == 0.0) {
      // A straight angle: the bisector of the half turn from the ray to P3
      // counterclockwise onto the ray to P1.
      h1 = -u3[1];
      h2 = u3[0];
    } else {
      h1 = h[0] / hn;
      h2 = h[1] / hn;
    }
  }
  P4(1) = P2(1) + h1;
  P4(2) = P2(2) + h2;
}

void angle_turn_2d(const double* p1, const double* p2, const double* p3, double& turn) {
  double dot, cross;
  dot_cross(p1, p2, p3, dot, cross);
  if (dot == 0.0 && cross == 0.0) {
    turn = 0.0;
    return;
  }
  turn = pi - atan4(cross, dot);
}

double angle_rad_3d(const double* p1, const double* p2, const double* p3) {
  const vec_ref P1(p1, 3), P2(p2, 3), P3(p3, 3);
  double v1[3], v3[3];
  for (int32_t i = 1; i <= 3; ++i) v1[i - 1] = P1(i) - P2(i);
  const double v1norm = r8vec_norm(3, v1);
  if (v1norm == 0.0) return 0.0;
  for (int32_t i = 1; i <= 3; ++i) v3[i - 1] = P3(i) - P2(i);
  const double v3norm = r8vec_norm(3, v3);
  if (v3norm == 0.0) return 0.0;
  return arc_cosine(r8vec_dot_product(3, v1, v3) / (v1norm * v3norm));
}

double angle_rad_nd(int32_t dim_num, const double* v1, const double* v2) {
  const double dot = r8vec_dot_product(dim_num, v1, v2);
  const double n1 = r8vec_norm(dim_num, v1);
  if (n1 == 0.0) return 0.0;
  const double n2 = r8vec_norm(dim_num, v2);
  if (n2 == 0.0) return 0.0;
  return arc_cosine(dot / (n1 * n2));
}

double atan4(double y, double x) {
  if (x == 0.0) {
    if (0.0 < y) return half_pi;
    if (y < 0.0) return three_half_pi;
    return 0.0;
  }
  if (y == 0.0) return 0.0 < x ? 0.0 : pi;
  const double a = std::atan2(std::fabs(y), std::fabs(x));
  if (0.0 < x && 0.0 < y) return a;
  if (x < 0.0 && 0.0 < y) return pi - a;
  if (x < 0.0 && y < 0.0) return pi + a;
  return two_pi - a;
}

double arc_cosine(double c) { return std::acos(clamp_unit(c)); }

double arc_sine(double s) { return std::asin(clamp_unit(s)); }

double degrees_to_radians(double degrees) { return (degrees / 180.0) * pi; }

double radians_to_degrees(double radians) { return (radians / pi) * 180.0; }

void dms_to_radians(int32_t degrees, int32_t minutes, int32_t seconds, double& radians) {
  const double angle =
      static_cast<double>(degrees) + (static_cast<double>(minutes) + static_cast<double>(seconds) / 60.0) / 60.0;
  radians = (angle / 180.0) * pi;
}

void radians_to_dms(double radians, int32_t& degrees, int32_t& minutes, int32_t& seconds) {
  double t = (std::fabs(radians) * 180.0) / pi;
  degrees = trunc(t);
  t = (t - degrees) * 60.0;
  minutes = trunc(t);
  t = (t - minutes) * 60.0;
  seconds = nint(t);
  if (radians < 0.0) {
    degrees = wrap_neg(degrees);
    minutes = wrap_neg(minutes);
    seconds = wrap_neg(seconds);
  }
}

double sin_deg(double angle) { return std::sin(angle * degree); }
double cos_deg(double angle) { return std::cos(angle * degree); }
double tan_deg(double angle) { return std::sin(angle * degree) / std::cos(angle * degree); }
double cot_deg(double angle) { return std::cos(angle * degree) / std::sin(angle * degree); }
double csc_deg(double angle) { return 1.0 / std::sin(angle * degree); }
double sec_deg(double angle) { return 1.0 / std::cos(angle * degree); }
double cot_rad(double angle) { return std::cos(angle) / std::sin(angle); }

double haversine(double a) { return (1.0 - std::cos(a)) * 0.5; }

double sin_power_int(double a, double b, int32_t n) {
  if (n < 0) fatal("SIN_POWER_INT", {"  Power N < 0."});
  const double sa = std::sin(a), ca = std::cos(a);
  const double sb = std::sin(b), cb = std::cos(b);
  double value;
  int32_t mlo;
  if (n % 2 == 1) {
    value = ca - cb;
    mlo = 3;
  } else {
    value = b - a;
    mlo = 2;
  }
  // SA^(M-1) and SB^(M-1) by repeated multiplication, carried from one M to
  // the next (the same products, in the same order, as starting from 1).
  double pa = 1.0, pb = 1.0;
  int32_t power = 0;
  for (int32_t m = mlo; m <= n; m += 2) {
    for (; power < m - 1; ++power) {
      pa *= sa;
      pb *= sb;
    }
    value = (pa * ca - pb * cb + (m - 1) * value) / m;
    if (n - m < 2) break;
  }
  return value;
}

}  // namespace orvel::geometry
