#include "geometry/circle_pieces.hpp"

#include <cmath>
#include <string>

#include "common/format.hpp"
#include "common/text.hpp"
#include "geometry/angles.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

void put_polar(const double* pc, double r, double angle, double* p) {
  const vec_ref PC(pc, 2);
  const vec_ref P(p, 2);
  const double x = PC(1) + r * std::cos(angle), y = PC(2) + r * std::sin(angle);
  P(1) = x;
  P(2) = y;
}

// The end angle reached counterclockwise from THETA1.
double arc_end(double theta1, double theta2) { return theta1 + r8_modp(theta2 - theta1, two_pi); }

std::string g_fields(std::initializer_list<double> xs) {
  std::string s;
  for (double x : xs) s += fmt_g(x, 14, 6);
  return s;
}

}  // namespace

void circle_area_2d(double r, double& area) { area = pi * r * r; }

void circle_imp_points_2d(double r, const double* pc, int32_t n, double* p) {
  if (n < 1) return;
  const mat_ref P(p, 2, n);
  for (int32_t j = 1; j <= n; ++j) put_polar(pc, r, two_pi * static_cast<double>(j - 1) / static_cast<double>(n), P.col(j));
}

void circle_imp_points_3d(double r, const double* pc, const double* normal, int32_t n, double* p) {
  double n1[3], n2[3];
  plane_normal_basis_3d(pc, normal, n1, n2);
  if (n < 1) return;
  const vec_ref PC(pc, 3);
  const mat_ref P(p, 3, n);
  for (int32_t j = 1; j <= n; ++j) {
    const double a = two_pi * static_cast<double>(j - 1) / static_cast<double>(n);
    for (int32_t i = 1; i <= 3; ++i) P(i, j) = PC(i) + r * (std::cos(a) * n1[i - 1] + std::sin(a) * n2[i - 1]);
  }
}

void circle_imp_points_arc_2d(double r, const double* pc, double theta1, double theta2, int32_t n, double* p) {
  const double theta3 = arc_end(theta1, theta2);
  if (n < 1) return;
  const mat_ref P(p, 2, n);
  if (n == 1) {
    put_polar(pc, r, (theta1 + theta3) / 2.0, P.col(1));
    return;
  }
  for (int32_t i = 1; i <= n; ++i) {
    const double a = (static_cast<double>(n - i) * theta1 + static_cast<double>(i - 1) * theta3) /
                     static_cast<double>(n - 1);
    put_polar(pc, r, a, P.col(i));
  }
}

void circle_arc_point_near_2d(double r, const double* pc, double theta1, double theta2, const double* p, double* pn,
                              double& dist) {
  const vec_ref PC(pc, 2), P(p, 2);
  const vec_ref PN(pn, 2);
  if (r == 0.0) {
    const double x = PC(1), y = PC(2);
    dist = r8vec_distance(2, p, pc);
    PN(1) = x;
    PN(2) = y;
    return;
  }
  double near[2];
  if (r8vec_eq(2, p, pc)) {
    // Every point of the circle is at |R|: the arc's first end.
    put_polar(pc, r, theta1, near);
  } else {
    const double a = atan4(P(2) - PC(2), P(1) - PC(1));
    if (r8_modp(a - theta1, two_pi) <= r8_modp(theta2 - theta1, two_pi)) {
      const double len = r8vec_distance(2, p, pc);
      for (int32_t i = 1; i <= 2; ++i) near[i - 1] = PC(i) + r * (P(i) - PC(i)) / len;
    } else {
      // The nearer end, judged against the middle of the arc as reduced.
      const double m = theta2 < theta1 || theta2 > theta1 + two_pi ? theta1 + r8_modp(theta2 - theta1, two_pi) / 2.0
                                                                   : (theta1 + theta2) / 2.0;
      put_polar(pc, r, r8_modp(a - m, two_pi) <= pi ? theta2 : theta1, near);
    }
  }
  dist = r8vec_distance(2, p, near);
  PN(1) = near[0];
  PN(2) = near[1];
}

void circle_sector_area_2d(double r, const double* /*pc*/, double theta1, double theta2, double& area) {
  area = 0.5 * r * r * (theta2 - theta1);
}

void circle_sector_centroid_2d(double r, const double* pc, double theta1, double theta2, double* centroid) {
  const double t = theta2 - theta1;
  const double d = t == 0.0 ? 2.0 * r / 3.0 : 4.0 * r * std::sin(t / 2.0) / (3.0 * t);
  put_polar(pc, d, (theta1 + theta2) / 2.0, centroid);
}

void circle_sector_contains_point_2d(double r, const double* pc, double theta1, double theta2, const double* p,
                                     bool& inside) {
  const vec_ref PC(pc, 2), P(p, 2);
  if (r8vec_normsq_affine(2, pc, p) > r * r) {
    inside = false;
    return;
  }
  const double a = atan4(P(2) - PC(2), P(1) - PC(1));
  inside = r8_modp(a - theta1, two_pi) <= r8_modp(theta2 - theta1, two_pi);
}

void circle_triangle_area_2d(double r, const double* /*pc*/, double theta1, double theta2, double& area) {
  area = 0.5 * r * r * std::sin(theta2 - theta1);
}

void circle_lune_area_2d(double r, const double* /*pc*/, double theta1, double theta2, double& area) {
  const double t = theta2 - theta1;
  area = 0.5 * r * r * (t - std::sin(t));
}

void circle_lune_centroid_2d(double r, const double* pc, double theta1, double theta2, double* centroid) {
  const double t = theta2 - theta1;
  const double s = std::sin(t / 2.0);
  const double d = t == 0.0 ? r : 4.0 * r * s * s * s / (3.0 * (t - std::sin(t)));
  put_polar(pc, d, (theta1 + theta2) / 2.0, centroid);
}

void annulus_area_2d(double r1, double r2, double& area) { area = pi * (r1 + r2) * (r2 - r1); }

void annulus_sector_area_2d(double r1, double r2, double theta1, double theta2, double& area) {
  area = 0.5 * (theta2 - theta1) * (r1 + r2) * (r2 - r1);
}

void annulus_sector_centroid_2d(const double* pc, double r1, double r2, double theta1, double theta2,
                                double* centroid) {
  const double t = theta2 - theta1;
  const double factor = t == 0.0 ? 2.0 / 3.0 : 4.0 * std::sin(t / 2.0) / (3.0 * t);
  const double d = r1 + r2 == 0.0 ? 0.0 : factor * (r1 * (r1 + r2) + r2 * r2) / (r1 + r2);
  put_polar(pc, d, theta1 + t / 2.0, centroid);
}

void circle_imp_print_2d(double r, const double* pc, std::string_view title) {
  const vec_ref PC(pc, 2);
  const std::string_view head = trimmed(title);
  if (head.find_first_not_of(' ') != std::string_view::npos) print_lines({" ", head});
  print_lines({" ", "  Radius = " + g_fields({r}), "  Center = " + g_fields({PC(1), PC(2)})});
}

void circle_imp_print_3d(double r, const double* pc, const double* normal, std::string_view title) {
  const vec_ref PC(pc, 3), NORMAL(normal, 3);
  print_lines({" ", trimmed(title), " ", "  Radius = " + g_fields({r}),
               "  Center = " + g_fields({PC(1), PC(2), PC(3)}),
               "  Normal = " + g_fields({NORMAL(1), NORMAL(2), NORMAL(3)})});
}

void circle_sector_print_2d(double r, const double* pc, double theta1, double theta2) {
  const vec_ref PC(pc, 2);
  print_lines({" ", "  Circular sector definition:", " ", "    Radius = " + g_fields({r}),
               "    Center = " + g_fields({PC(1), PC(2)}), "    Theta  = " + g_fields({theta1, theta2})});
}

}  // namespace orvel::geometry
