#include "geometry/triangle_lattices.hpp"

#include <cmath>
#include <vector>

#include "geometry/integers.hpp"
#include "geometry/random.hpp"
#include "geometry/simplices.hpp"

namespace orvel::geometry {

void triangle_gridpoints_2d(const double* t, int32_t sub_num, int32_t grid_max, int32_t& grid_num, double* p) {
  const mat_ref T(t, 2, 3);
  const mat_ref P(p, 2, grid_max);
  grid_num = 0;
  if (sub_num == 0) {
    if (grid_max > 0) {
      grid_num = 1;
      for (int32_t i = 1; i <= 2; ++i) P(i, 1) = (T(i, 1) + T(i, 2) + T(i, 3)) / 3.0;
    }
    return;
  }
  if (sub_num < 0) return;
  const double s = static_cast<double>(sub_num);
  for (int32_t i = 0; i <= sub_num; ++i) {
    for (int32_t j = 0; j <= sub_num - i; ++j) {
      if (grid_num >= grid_max) continue;
      const int32_t k = sub_num - i - j;
      grid_num = grid_num + 1;
      for (int32_t d = 1; d <= 2; ++d)
        P(d, grid_num) = (static_cast<double>(i) * T(d, 1) + static_cast<double>(j) * T(d, 2) +
                          static_cast<double>(k) * T(d, 3)) /
                         s;
    }
  }
}

void triangle_lattice_point_next(const int32_t* c, int32_t* v, bool& more) {
  simplex_lattice_point_next(2, c, v, more);
}

void triangle_lattice_layer_point_next(const int32_t* c, int32_t* v, bool& more) {
  simplex_lattice_layer_point_next(2, c, v, more);
}

void triangle_unit_lattice_point_num_2d(int32_t s, int32_t& n) {
  n = wrap_mul(wrap_add(s, 1), wrap_add(s, 2)) / 2;
}

void triangle_right_lattice_point_num_2d(int32_t a, int32_t b, int32_t& n) {
  n = wrap_add(wrap_add(wrap_mul(wrap_add(a, 1), wrap_add(b, 1)), i4_gcd(a, b)), 1) / 2;
}

void triangle_sample(const double* t, int32_t n, int32_t& seed, double* p) {
  const mat_ref T(t, 2, 3);
  const mat_ref P(p, 2, n);
  const int32_t m = n > 0 ? n : 0;
  std::vector<double> alpha(m), beta(m);
  r8vec_uniform_01(n, seed, alpha.data());
  for (double& a : alpha) a = std::sqrt(a);
  r8vec_uniform_01(n, seed, beta.data());
  for (int32_t j = 1; j <= n; ++j) {
    const double a = alpha[j - 1], b = beta[j - 1];
    for (int32_t i = 1; i <= 2; ++i) {
      // Two points at the fraction ALPHA along the edges from P1, then one
      // between them.
      const double p12 = (1.0 - a) * T(i, 1) + a * T(i, 2);
      const double p13 = (1.0 - a) * T(i, 1) + a * T(i, 3);
      P(i, j) = (1.0 - b) * p12 + b * p13;
    }
  }
}

}  // namespace orvel::geometry
