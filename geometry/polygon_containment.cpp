#include "geometry/polygon_containment.hpp"

#include <cmath>

#include "geometry/integers.hpp"
#include "geometry/reals.hpp"
#include "geometry/segments.hpp"
#include "geometry/triangle_containment.hpp"

namespace orvel::geometry {

void polygon_contains_point_2d(int32_t n, const double* v, const double* p, bool& inside) {
  inside = false;
  if (n < 1) return;
  const mat_ref V(v, 2, n);
  const vec_ref P(p, 2);
  const double px = P(1), py = P(2);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t ip1 = i4_wrap(i + 1, 1, n);
    const double x1 = V(1, i), y1 = V(2, i), x2 = V(1, ip1), y2 = V(2, ip1);
    if ((y1 < py && py <= y2) || (py <= y1 && y2 < py)) {
      if (px - x1 - (py - y1) * (x2 - x1) / (y2 - y1) < 0.0) inside = !inside;
    }
  }
}

void polygon_contains_point_2d_2(int32_t n, const double* v, const double* p, bool& inside) {
  inside = false;
  if (n < 3) return;
  const mat_ref V(v, 2, n);
  for (int32_t i = 2; i <= n - 1; ++i) {
    const double t[6] = {V(1, 1), V(2, 1), V(1, i), V(2, i), V(1, i + 1), V(2, i + 1)};
    triangle_contains_point_2d_1(t, p, inside);
    if (inside) return;
  }
}

int32_t polygon_is_convex_2d(int32_t n, const double* v) {
  if (n < 3) return 0;
  const mat_ref V(v, 2, n);
  const double rad_to_deg = 57.29577951308232;
  int32_t sense = 0;
  double angle_sum = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t j = i4_wrap(i + 1, 1, n);
    const int32_t k = i4_wrap(i + 2, 1, n);
    const double a1 = V(1, i) - V(1, j), a2 = V(2, i) - V(2, j);
    const double b1 = V(1, k) - V(1, j), b2 = V(2, k) - V(2, j);
    const double cross = b1 * a2 - a1 * b2;
    const double dot = a1 * b1 + a2 * b2;
    // A straight-through vertex has CROSS = +0 and DOT < 0: ANGLE = +pi.
    const double angle = std::atan2(cross, dot);
    if (sense == 0) {
      if (angle < 0.0) {
        sense = -1;
      } else if (angle > 0.0) {
        sense = 1;
      }
    } else if (sense == 1 && angle < 0.0) {
      return -1;
    } else if (sense == -1 && angle > 0.0) {
      return -1;
    }
    angle_sum = angle_sum + std::atan2(-cross, -dot);
    if (std::fabs(angle_sum) * rad_to_deg > 361.0) return -1;
  }
  if (sense == 1) return 1;
  if (sense == -1) return 2;
  return 0;
}

void polygon_point_dist_2d(int32_t n, const double* v, const double* p, double& dist) {
  dist = r8_largest();
  if (n < 1) return;
  const mat_ref V(v, 2, n);
  for (int32_t i = 1; i <= n; ++i) {
    double d;
    segment_point_dist_2d(V.col(i), V.col(i4_wrap(i + 1, 1, n)), p, d);
    if (d < dist) dist = d;
  }
}

void polygon_point_near_2d(int32_t n, const double* v, const double* p, double* pn, double& dist) {
  const vec_ref PN(pn, 2);
  dist = r8_largest();
  PN(1) = 0.0;
  PN(2) = 0.0;
  if (n < 1) return;
  const mat_ref V(v, 2, n);
  for (int32_t i = 1; i <= n; ++i) {
    double pn2[2], d, s;
    segment_point_near_2d(V.col(i), V.col(i4_wrap(i + 1, 1, n)), p, pn2, d, s);
    if (d < dist) {
      dist = d;
      PN(1) = pn2[0];
      PN(2) = pn2[1];
    }
  }
}

void polygon_diameter_2d(int32_t n, const double* v, double& diameter) {
  diameter = 0.0;
  if (n < 2) return;
  const mat_ref V(v, 2, n);
  for (int32_t i = 1; i <= n; ++i) {
    for (int32_t j = i + 1; j <= n; ++j) {
      const double d = r8vec_distance(2, V.col(i), V.col(j));
      if (d > diameter) diameter = d;
    }
  }
}

}  // namespace orvel::geometry
