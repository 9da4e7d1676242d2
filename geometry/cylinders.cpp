#include "geometry/cylinders.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/plane_forms.hpp"
#include "geometry/platform.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

// The cylinder's axial frame: the unit axis A, the length L and, for a
// point P, its height T above P1 along A.
struct axial_frame {
  double a[3];
  double length;
};

bool make_frame(const double* p1, const double* p2, axial_frame& fr) {
  const vec_ref P1(p1, 3), P2(p2, 3);
  for (int32_t i = 1; i <= 3; ++i) fr.a[i - 1] = P2(i) - P1(i);
  fr.length = r8vec_norm(3, fr.a);
  if (fr.length == 0.0) return false;
  for (double& x : fr.a) x = x / fr.length;
  return true;
}

double height(const axial_frame& fr, const double* p1, const double* p) {
  const vec_ref P1(p1, 3), P(p, 3);
  double t = 0.0;
  for (int32_t i = 1; i <= 3; ++i) t += fr.a[i - 1] * (P(i) - P1(i));
  return t;
}

// Distance from P to the axis line at height T.  Rounding can make
// |P - P1|^2 fall just below T^2 for a point on the axis; that is distance 0.
double off_axis(const double* p1, const double* p, double t) {
  const double s = r8vec_normsq_affine(3, p1, p) - t * t;
  return s > 0.0 ? std::sqrt(s) : 0.0;
}

}  // namespace

void disk_point_dist_3d(const double* pc, double r, const double* axis, const double* p, double& dist) {
  if (r8vec_eq(3, p, pc)) {
    dist = 0.0;
    return;
  }
  const double axis_length = r8vec_norm(3, axis);
  if (axis_length == 0.0) {
    dist = -r8_largest();
    return;
  }
  const vec_ref PC(pc, 3), AXIS(axis, 3), P(p, 3);
  double d[3];
  for (int32_t i = 1; i <= 3; ++i) d[i - 1] = P(i) - PC(i);
  const double h = r8vec_dot_product(3, axis, d) / axis_length;
  double off[3];
  for (int32_t i = 1; i <= 3; ++i) off[i - 1] = d[i - 1] - h * AXIS(i) / axis_length;
  const double w = r8vec_norm(3, off);
  dist = w <= r ? std::fabs(h) : std::sqrt(h * h + (w - r) * (w - r));
}

void cylinder_point_dist_3d(const double* p1, const double* p2, double r, const double* p, double& distance) {
  axial_frame fr;
  if (!make_frame(p1, p2, fr)) {
    distance = -r8_largest();
    return;
  }
  const double t = height(fr, p1, p);
  if (t <= 0.0) {
    disk_point_dist_3d(p1, r, fr.a, p, distance);
  } else if (t <= fr.length) {
    const double off = off_axis(p1, p, t);
    const double d = std::fabs(off - r);
    distance = off < r ? std::min(std::min(d, fr.length - t), t) : d;
  } else {
    disk_point_dist_3d(p2, r, fr.a, p, distance);
  }
}

void cylinder_point_dist_signed_3d(const double* p1, const double* p2, double r, const double* p, double& distance) {
  axial_frame fr;
  if (!make_frame(p1, p2, fr)) {
    distance = -r8_largest();
    return;
  }
  const double t = height(fr, p1, p);
  if (t <= 0.0) {
    disk_point_dist_3d(p1, r, fr.a, p, distance);
  } else if (t <= fr.length) {
    const double d = off_axis(p1, p, t) - r;
    distance = d < 0.0 ? std::max(std::max(d, t - fr.length), -t) : d;
  } else {
    disk_point_dist_3d(p2, r, fr.a, p, distance);
  }
}

void cylinder_point_inside_3d(const double* p1, const double* p2, double r, const double* p, bool& inside) {
  axial_frame fr;
  if (!make_frame(p1, p2, fr)) {
    inside = false;
    return;
  }
  const double t = height(fr, p1, p);
  inside = t >= 0.0 && t <= fr.length && off_axis(p1, p, t) <= r;
}

void cylinder_point_near_3d(const double* p1, const double* p2, double r, const double* p, double* pn) {
  const vec_ref PN(pn, 3);
  axial_frame fr;
  if (!make_frame(p1, p2, fr)) {
    for (int32_t i = 1; i <= 3; ++i) PN(i) = -r8_largest();
    return;
  }
  const vec_ref P1(p1, 3), P2(p2, 3), P(p, 3);
  const double t = height(fr, p1, p);
  double off[3];
  for (int32_t i = 1; i <= 3; ++i) off[i - 1] = (P(i) - P1(i)) - t * fr.a[i - 1];
  const double w = r8vec_norm(3, off);
  double near[3];

  if (t <= 0.0 || t > fr.length) {
    // Over a cap: its foot on the cap, or the nearest point of the rim.
    const vec_ref<const double>& end = t <= 0.0 ? P1 : P2;
    const double scale = w <= r ? 1.0 : r / w;
    for (int32_t i = 1; i <= 3; ++i) near[i - 1] = end(i) + (w <= r ? off[i - 1] : scale * off[i - 1]);
  } else if (w == 0.0) {
    double normal[3];
    r8vec_any_normal(3, fr.a, normal);
    for (int32_t i = 1; i <= 3; ++i) near[i - 1] = P(i) + r * normal[i - 1];
  } else {
    for (int32_t i = 1; i <= 3; ++i) near[i - 1] = P1(i) + t * fr.a[i - 1] + (r / w) * off[i - 1];
    double d = std::fabs(w - r);
    if (w < r) {
      if (fr.length - t < d) {
        for (int32_t i = 1; i <= 3; ++i) near[i - 1] = P2(i) + off[i - 1];
        d = fr.length - t;
      }
      if (t < d) {
        for (int32_t i = 1; i <= 3; ++i) near[i - 1] = P1(i) + off[i - 1];
      }
    }
  }
  for (int32_t i = 1; i <= 3; ++i) PN(i) = near[i - 1];
}

void cylinder_sample_3d(const double* p1, const double* p2, double r, int32_t n, int32_t& /*seed*/, double* p) {
  axial_frame fr;
  if (n <= 0 || !make_frame(p1, p2, fr)) return;
  const vec_ref P1(p1, 3);
  double v2[3], v3[3];
  plane_normal_basis_3d(p1, fr.a, v2, v3);

  const auto count = static_cast<std::size_t>(n);
  std::vector<double> radius(count), theta(count), z(count);
  for (double& x : radius) x = r * std::sqrt(random_number());
  for (double& x : theta) x = two_pi * random_number();
  for (double& x : z) x = fr.length * random_number();

  const mat_ref P(p, 3, n);
  for (int32_t i = 1; i <= 3; ++i) {
    for (int32_t j = 1; j <= n; ++j) {
      const std::size_t k = static_cast<std::size_t>(j - 1);
      P(i, j) = P1(i) + z[k] * fr.a[i - 1] +
                radius[k] * (std::cos(theta[k]) * v2[i - 1] + std::sin(theta[k]) * v3[i - 1]);
    }
  }
}

void cylinder_volume_3d(const double* p1, const double* p2, double r, double& volume) {
  volume = pi * r * r * r8vec_distance(3, p1, p2);
}

}  // namespace orvel::geometry
