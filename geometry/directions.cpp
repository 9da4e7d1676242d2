#include "geometry/directions.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/frames.hpp"
#include "geometry/reals.hpp"
#include "geometry/random.hpp"
#include "geometry/rotations.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

// Every element of X divided by its length.
void normalise(int32_t dim_num, double* x) {
  const vec_ref X(x, dim_num);
  const double norm = r8vec_norm(dim_num, x);
  for (int32_t i = 1; i <= dim_num; ++i) X(i) = X(i) / norm;
}

}  // namespace

void direction_uniform_2d(int32_t& seed, double* vec) {
  const double theta = two_pi * r8_uniform_01(seed);
  const vec_ref VEC(vec, 2);
  VEC(1) = std::cos(theta);
  VEC(2) = std::sin(theta);
}

void sphere_unit_sample_2d(int32_t& seed, double* x) { direction_uniform_2d(seed, x); }

void direction_uniform_3d(int32_t& seed, double* vec) {
  const double phi = arc_cosine(2.0 * r8_uniform_01(seed) - 1.0);
  const double theta = two_pi * r8_uniform_01(seed);
  tp_to_xyz(theta, phi, vec);
}

void sphere_unit_sample_3d(int32_t& seed, double* x) { direction_uniform_3d(seed, x); }

void sphere_unit_sample_3d_2(int32_t& seed, double* x) {
  const double phi = pi * r8_uniform_01(seed);
  const double theta = two_pi * r8_uniform_01(seed);
  tp_to_xyz(theta, phi, x);
}

void direction_uniform_nd(int32_t dim_num, int32_t& seed, double* w) {
  // A count below 1 would be taken by r8vec_normal_01 as a query that clears
  // its held-back value: nothing is drawn here.
  if (dim_num < 1) return;
  int32_t n = dim_num;
  r8vec_normal_01(n, seed, w);
  normalise(dim_num, w);
}

void sphere_unit_sample_nd_2(int32_t dim_num, int32_t& seed, double* x) { direction_uniform_nd(dim_num, seed, x); }

void sphere_unit_sample_nd(int32_t dim_num, int32_t& seed, double* x) {
  if (dim_num < 1) return;
  const vec_ref X(x, dim_num);
  X(1) = 1.0;
  for (int32_t i = 2; i <= dim_num; ++i) X(i) = 0.0;
  for (int32_t i = 1; i <= dim_num - 1; ++i) {
    const double c = 2.0 * r8_uniform_01(seed) - 1.0;
    const double sign = static_cast<double>(2 * trunc(2.0 * r8_uniform_01(seed)) - 1);
    const double s = sign * std::sqrt(1.0 - c * c);
    const double xi = X(i);
    X(i) = c * xi;
    X(i + 1) = s * xi;
  }
}

void sphere_unit_sample_nd_3(int32_t dim_num, int32_t& seed, double* x) {
  const vec_ref X(x, dim_num);
  for (;;) {
    r8vec_uniform_01(dim_num, seed, x);
    for (int32_t i = 1; i <= dim_num; ++i) X(i) = 2.0 * X(i) - 1.0;
    if (r8vec_norm(dim_num, x) <= 1.0) break;
  }
  normalise(dim_num, x);
}

void ball_unit_sample_2d(int32_t& seed, double* x) {
  double u[2];
  r8vec_uniform_01(2, seed, u);
  const double r = std::sqrt(u[0]);
  const double theta = two_pi * u[1];
  const vec_ref X(x, 2);
  X(1) = r * std::cos(theta);
  X(2) = r * std::sin(theta);
}

void ball_unit_sample_3d(int32_t& seed, double* x) {
  double u[3];
  r8vec_uniform_01(3, seed, u);
  const double phi = arc_cosine(2.0 * u[0] - 1.0);
  const double theta = two_pi * u[1];
  rtp_to_xyz(std::cbrt(u[2]), theta, phi, x);
}

void ball_unit_sample_nd(int32_t dim_num, int32_t& seed, double* x) {
  if (dim_num < 1) return;
  sphere_unit_sample_nd(dim_num, seed, x);
  const double r = std::pow(r8_uniform_01(seed), 1.0 / static_cast<double>(dim_num));
  const vec_ref X(x, dim_num);
  for (int32_t i = 1; i <= dim_num; ++i) X(i) = r * X(i);
}

void direction_pert_3d(double sigma, const double* vbase, int32_t& seed, double* vran) {
  const vec_ref VBASE(vbase, 3);
  const vec_ref VRAN(vran, 3);
  if (1.0 <= sigma) {
    const double v[3] = {VBASE(1), VBASE(2), VBASE(3)};
    for (int32_t i = 1; i <= 3; ++i) VRAN(i) = v[i - 1];
    return;
  }
  if (sigma <= 0.0) {
    direction_uniform_3d(seed, vran);
    return;
  }
  const double theta = std::atan2(VBASE(2), VBASE(1));
  const double phi = arc_cosine(VBASE(3));
  // The tilt PSI away from VBASE in its meridian plane, with cos PSI = 2 Q - 1.
  const double q = std::exp((1.0 - sigma) * std::log(r8_uniform_01(seed)));
  const double psi = arc_cosine(2.0 * q - 1.0);
  double v[3];
  tp_to_xyz(theta, phi + psi, v);
  // V turned about VBASE by a uniform angle.
  const double alpha = two_pi * r8_uniform_01(seed);
  rotation_axis_vector_3d(vbase, alpha, v, vran);
}

}  // namespace orvel::geometry
