#include "geometry/polygons.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/integers.hpp"
#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"

namespace orvel::geometry {
namespace {

constexpr double inv_sqrt_three = 0.5773502691896258;

// Fan triangle i of the polygon: columns i, i + 1 and n.
void fan_triangle(int32_t dim, int32_t n, const double* v, int32_t i, double* t) {
  const mat_ref V(v, dim, n);
  const mat_ref T(t, dim, 3);
  for (int32_t k = 1; k <= dim; ++k) {
    T(k, 1) = V(k, i);
    T(k, 2) = V(k, i + 1);
    T(k, 3) = V(k, n);
  }
}

// Centroid of the fan, each triangle weighted by its signed (dim 2) or
// unsigned (dim 3) area; a total of 0 gives the first vertex, an empty
// polygon 0.
void fan_centroid(int32_t dim, int32_t n, const double* v, double* centroid) {
  const vec_ref C(centroid, dim);
  if (n < 1) {
    for (int32_t k = 1; k <= dim; ++k) C(k) = 0.0;
    return;
  }
  const mat_ref V(v, dim, n);
  double sum[3] = {0.0, 0.0, 0.0};
  double area = 0.0;
  for (int32_t i = 1; i <= n - 2; ++i) {
    double t[9], at;
    fan_triangle(dim, n, v, i, t);
    if (dim == 2) {
      triangle_area_2d(t, at);
    } else {
      triangle_area_3d(t, at);
    }
    const mat_ref T(t, dim, 3);
    for (int32_t k = 1; k <= dim; ++k) sum[k - 1] += at * (T(k, 1) + T(k, 2) + T(k, 3)) / 3.0;
    area += at;
  }
  for (int32_t k = 1; k <= dim; ++k) C(k) = area == 0.0 ? V(k, 1) : sum[k - 1] / area;
}

// The integral routines' guard: N < 3 gives 0 and the warning.
bool too_few(std::string_view title, int32_t n, double& result) {
  if (n >= 3) return false;
  result = 0.0;
  warning(title, {"  The number of vertices must be at least 3.", "  The input value of N = " + fmt_i(n, 8)});
  return true;
}

// Sum over the edges (im1 -> i) of term(x, y, xm, ym).
template <typename F>
double edge_sum(int32_t n, const double* v, F term) {
  const mat_ref V(v, 2, n);
  double s = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t im1 = i4_wrap(i - 1, 1, n);
    s += term(V(1, i), V(2, i), V(1, im1), V(2, im1));
  }
  return s;
}

}  // namespace

void polygon_area_2d(int32_t n, const double* v, double& area) {
  const mat_ref V(v, 2, n);
  double s = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t im1 = i4_wrap(i - 1, 1, n), ip1 = i4_wrap(i + 1, 1, n);
    s += V(1, i) * (V(2, ip1) - V(2, im1));
  }
  area = 0.5 * s;
}

void polygon_area_2d_2(int32_t n, const double* v, double& area) {
  double s = 0.0;
  for (int32_t i = 1; i <= n - 2; ++i) {
    double t[6], at;
    fan_triangle(2, n, v, i, t);
    triangle_area_2d(t, at);
    s += at;
  }
  area = s;
}

void polygon_area_3d(int32_t n, const double* v, double& area, double* normal) {
  const mat_ref V(v, 3, n);
  const vec_ref NORMAL(normal, 3);
  double s[3] = {0.0, 0.0, 0.0};
  for (int32_t i = 1; i <= n; ++i) {
    double c[3];
    r8vec_cross_product_3d(V.col(i), V.col(i4_wrap(i + 1, 1, n)), c);
    for (int32_t k = 0; k < 3; ++k) s[k] += c[k];
  }
  const double norm = r8vec_norm(3, s);
  if (norm == 0.0) {
    area = 0.0;
    NORMAL(1) = NORMAL(2) = NORMAL(3) = inv_sqrt_three;
    return;
  }
  area = 0.5 * norm;
  for (int32_t k = 1; k <= 3; ++k) NORMAL(k) = s[k - 1] / norm;
}

void polygon_area_3d_2(int32_t n, const double* v, double& area) {
  double av[3] = {0.0, 0.0, 0.0};
  for (int32_t i = 1; i <= n - 2; ++i) {
    double t[9], tv[3];
    fan_triangle(3, n, v, i, t);
    triangle_area_vector_3d(t, tv);
    for (int32_t k = 0; k < 3; ++k) av[k] += tv[k];
  }
  area = 0.5 * r8vec_norm(3, av);
}

void polygon_centroid_2d(int32_t n, const double* v, double* centroid) {
  const vec_ref C(centroid, 2);
  if (n < 1) {
    C(1) = C(2) = 0.0;
    return;
  }
  const mat_ref V(v, 2, n);
  double area = 0.0, cx = 0.0, cy = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t ip1 = i4_wrap(i + 1, 1, n);
    const double t = V(1, i) * V(2, ip1) - V(1, ip1) * V(2, i);
    area += t;
    cx += (V(1, i) + V(1, ip1)) * t;
    cy += (V(2, i) + V(2, ip1)) * t;
  }
  area = 0.5 * area;
  if (area == 0.0) {
    C(1) = V(1, 1);
    C(2) = V(2, 1);
    return;
  }
  C(1) = cx / (6.0 * area);
  C(2) = cy / (6.0 * area);
}

void polygon_centroid_2d_2(int32_t n, const double* v, double* centroid) { fan_centroid(2, n, v, centroid); }

void polygon_centroid_3d(int32_t n, const double* v, double* centroid) { fan_centroid(3, n, v, centroid); }

void polygon_1_2d(int32_t n, const double* v, double& result) {
  if (too_few("POLYGON_1_2D", n, result)) return;
  result = edge_sum(n, v, [](double x, double y, double xm, double ym) { return 0.5 * (xm + x) * (y - ym); });
}

void polygon_x_2d(int32_t n, const double* v, double& result) {
  if (too_few("POLYGON_X_2D", n, result)) return;
  result = edge_sum(n, v, [](double x, double y, double xm, double ym) {
             return (x * x + x * xm + xm * xm) * (y - ym);
           }) / 6.0;
}

void polygon_y_2d(int32_t n, const double* v, double& result) {
  if (too_few("POLYGON_Y_2D", n, result)) return;
  result = -edge_sum(n, v, [](double x, double y, double xm, double ym) {
    return (y * y + y * ym + ym * ym) * (x - xm);
  }) / 6.0;
}

void polygon_xx_2d(int32_t n, const double* v, double& result) {
  if (too_few("POLYGON_XX_2D", n, result)) return;
  result = edge_sum(n, v, [](double x, double y, double xm, double ym) {
             return (x * x * x + x * x * xm + x * xm * xm + xm * xm * xm) * (y - ym);
           }) / 12.0;
}

void polygon_xy_2d(int32_t n, const double* v, double& result) {
  if (too_few("POLYGON_XY_2D", n, result)) return;
  result = edge_sum(n, v, [](double x, double y, double xm, double ym) {
             return ((3.0 * x * x + 2.0 * x * xm + xm * xm) * y + (x * x + 2.0 * x * xm + 3.0 * xm * xm) * ym) *
                    (y - ym);
           }) / 24.0;
}

void polygon_yy_2d(int32_t n, const double* v, double& result) {
  if (n < 3) {
    result = 0.0;
    warning("POLYGON_YY_2D", {"  The number of polygonal vertices must be ",
                              "  at least 3, but the input polygon has N = " + fmt_i(n, 8)});
    return;
  }
  result = -edge_sum(n, v, [](double x, double y, double xm, double ym) {
    return (y * y * y + y * y * ym + y * ym * ym + ym * ym * ym) * (x - xm);
  }) / 12.0;
}

void polygon_normal_3d(int32_t n, const double* v, double* normal) {
  const vec_ref NORMAL(normal, 3);
  NORMAL(1) = NORMAL(2) = NORMAL(3) = 0.0;
  if (n < 3) return;
  const mat_ref V(v, 3, n);
  double sum[3] = {0.0, 0.0, 0.0}, v1[3], v2[3];
  for (int32_t k = 1; k <= 3; ++k) v1[k - 1] = V(k, 2) - V(k, 1);
  for (int32_t j = 3; j <= n; ++j) {
    double c[3];
    for (int32_t k = 1; k <= 3; ++k) v2[k - 1] = V(k, j) - V(k, 1);
    r8vec_cross_product_3d(v1, v2, c);
    for (int32_t k = 0; k < 3; ++k) {
      sum[k] += c[k];
      v1[k] = v2[k];
    }
  }
  const double norm = r8vec_norm(3, sum);
  for (int32_t k = 1; k <= 3; ++k) NORMAL(k) = norm != 0.0 ? sum[k - 1] / norm : sum[k - 1];
}

void polygon_angles_2d(int32_t n, const double* v, double* angle) {
  const vec_ref ANGLE(angle, n);
  if (n <= 2) {
    for (int32_t i = 1; i <= n; ++i) ANGLE(i) = 0.0;
    return;
  }
  const mat_ref V(v, 2, n);
  for (int32_t i = 1; i <= n; ++i) {
    ANGLE(i) = angle_rad_2d(V.col(i4_wrap(i - 1, 1, n)), V.col(i), V.col(i4_wrap(i + 1, 1, n)));
  }
}

void polygon_lattice_area_2d(int32_t i, int32_t b, double& area) {
  area = static_cast<double>(i) + static_cast<double>(b) / 2.0 - 1.0;
}

}  // namespace orvel::geometry
