#include "geometry/regular_polygons.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/integers.hpp"
#include "geometry/polygons.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;

// The half central angle pi / N, after the check N >= 3.
double half_angle(std::string_view title, int32_t n) {
  if (n < 3) {
    fatal(title, {"  Input value of N must be at least 3", "  but your input value was N = " + fmt_i(n, 8)});
  }
  return pi / static_cast<double>(n);
}

}  // namespace

void polygon_inrad_data_2d(int32_t n, double radin, double& area, double& radout, double& side) {
  const double angle = half_angle("POLYGON_INRAD_DATA_2D", n);
  area = static_cast<double>(n) * radin * radin * std::tan(angle);
  side = 2.0 * radin * std::tan(angle);
  radout = 0.5 * side / std::sin(angle);
}

void polygon_outrad_data_2d(int32_t n, double radout, double& area, double& radin, double& side) {
  const double angle = half_angle("POLYGON_OUTRAD_DATA_2D", n);
  area = 0.5 * static_cast<double>(n) * radout * radout * std::sin(2.0 * angle);
  side = 2.0 * radout * std::sin(angle);
  radin = 0.5 * side / std::tan(angle);
}

void polygon_side_data_2d(int32_t n, double side, double& area, double& radin, double& radout) {
  const double angle = half_angle("POLYGON_SIDE_DATA_2D", n);
  area = 0.25 * static_cast<double>(n) * side * side / std::tan(angle);
  radin = 0.5 * side / std::tan(angle);
  radout = 0.5 * side / std::sin(angle);
}

void polygon_expand_2d(int32_t n, const double* v, double h, double* w) {
  const mat_ref V(v, 2, n);
  const mat_ref W(w, 2, n);
  const double offset = h;
  for (int32_t i = 1; i <= n; ++i) {
    const double* p1 = V.col(i4_wrap(i - 1, 1, n));
    const double* p2 = V.col(i);
    const double* p3 = V.col(i4_wrap(i + 1, 1, n));
    double p4[2];
    angle_half_2d(p1, p2, p3, p4);
    const double angle = angle_rad_2d(p1, p2, p4);
    const double hyp = offset / std::sin(angle);
    W(1, i) = V(1, i) - hyp * (p4[0] - V(1, i));
    W(2, i) = V(2, i) - hyp * (p4[1] - V(2, i));
  }
}

void polygon_solid_angle_3d(int32_t n, const double* v, const double* p, double& solid_angle) {
  if (n < 3) {
    solid_angle = 0.0;
    return;
  }
  const mat_ref V(v, 3, n);
  const vec_ref P(p, 3);
  double plane[3];
  polygon_normal_3d(n, v, plane);
  double a[3], b[3], r1[3];
  for (int32_t k = 1; k <= 3; ++k) a[k - 1] = V(k, n) - V(k, 1);
  double area = 0.0;
  for (int32_t j = 1; j <= n; ++j) {
    const int32_t jp1 = i4_wrap(j + 1, 1, n);
    for (int32_t k = 1; k <= 3; ++k) {
      r1[k - 1] = V(k, j) - P(k);
      b[k - 1] = V(k, jp1) - V(k, j);
    }
    double normal1[3], normal2[3];
    r8vec_cross_product_3d(a, r1, normal1);
    r8vec_cross_product_3d(r1, b, normal2);
    const double angle = arc_cosine(r8vec_dot_product(3, normal1, normal2) /
                                    (r8vec_norm(3, normal1) * r8vec_norm(3, normal2)));
    const double s = r8vec_scalar_triple_product(b, a, plane);
    area = s > 0.0 ? area + pi - angle : area + pi + angle;
    for (int32_t k = 0; k < 3; ++k) a[k] = -b[k];
  }
  area = area - pi * static_cast<double>(n - 2);
  solid_angle = r8vec_dot_product(3, plane, r1) > 0.0 ? -area : area;
}

}  // namespace orvel::geometry
