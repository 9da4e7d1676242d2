#include "geometry/cones.hpp"

#include <cmath>
#include <string>

#include "geometry/reals.hpp"

namespace orvel::geometry {

void cone_area_3d(double h, double r, double& area) { area = r8_pi() * r * std::sqrt(h * h + r * r); }

void cone_centroid_3d(double /*r*/, const double* pc, const double* pt, double* centroid) {
  const vec_ref PC(pc, 3), PT(pt, 3);
  const vec_ref CENTROID(centroid, 3);
  for (int32_t i = 1; i <= 3; ++i) CENTROID(i) = 0.75 * PC(i) + 0.25 * PT(i);
}

void cone_volume_3d(double h, double r, double& volume) { volume = r8_pi() * r * r * h / 3.0; }

double torus_area_3d(double r1, double r2) { return 39.47841760435743 * r1 * r2; }

void torus_volume_3d(double r1, double r2, double& volume) { volume = 19.739208802178716 * r1 * r2 * r2; }

void pyramid_volume_3d(double h, double s, double& volume) { volume = s * s * h / 3.0; }

void helix_shape_3d(double a, int32_t n, double r, double theta1, double theta2, double* p) {
  if (n <= 0) return;
  const mat_ref P(p, 3, n);
  for (int32_t i = 1; i <= n; ++i) {
    const double theta = n == 1 ? 0.5 * (theta1 + theta2)
                                : (static_cast<double>(n - i) * theta1 + static_cast<double>(i - 1) * theta2) /
                                      static_cast<double>(n - 1);
    P(1, i) = r * std::cos(theta);
    P(2, i) = r * std::sin(theta);
    P(3, i) = a * theta;
  }
}

void conv3d(char axis, double theta, int32_t n, const double* cor3, double* cor2) {
  const double sn = std::sin((theta / 180.0) * r8_pi());
  // The coordinate dropped, and the two kept in their order.
  int32_t drop = 0;
  if (axis == 'X' || axis == 'x') {
    drop = 1;
  } else if (axis == 'Y' || axis == 'y') {
    drop = 2;
  } else if (axis == 'Z' || axis == 'z') {
    drop = 3;
  } else {
    fatal("CONV3D", {"  Illegal coordinate index = \"" + std::string(1, axis) + "\"."});
  }
  const int32_t keep1 = drop == 1 ? 2 : 1;
  const int32_t keep2 = drop == 3 ? 2 : 3;
  const mat_ref COR3(cor3, 3, n);
  const mat_ref COR2(cor2, 2, n);
  for (int32_t i = 1; i <= n; ++i) {
    COR2(1, i) = COR3(keep1, i) - sn * COR3(drop, i);
    COR2(2, i) = COR3(keep2, i) - sn * COR3(drop, i);
  }
}

}  // namespace orvel::geometry
