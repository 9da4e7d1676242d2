#include "geometry/simplices.hpp"

#include <cmath>
#include <vector>

#include "geometry/integers.hpp"
#include "geometry/matrices.hpp"

namespace orvel::geometry {
namespace {

// LCM of the weights, or 0 when the lattice simplex is not a proper one
// (a weight <= 0, a negative bound, or an lcm beyond the 4-byte range).
int32_t lattice_scale(int32_t dim_num, const int32_t* c) {
  const vec_ref C(c, dim_num + 1);
  for (int32_t i = 1; i <= dim_num; ++i)
    if (C(i) <= 0) return 0;
  if (C(dim_num + 1) < 0) return 0;
  const int32_t lcm = i4vec_lcm(dim_num, c);
  for (int32_t i = 1; i <= dim_num; ++i)
    if (lcm <= 0 || lcm % C(i) != 0) return 0;
  return lcm;
}

// LCM s(V).
int32_t scaled_sum(int32_t dim_num, const int32_t* c, const int32_t* v, int32_t lcm) {
  const vec_ref C(c, dim_num);
  const vec_ref V(v, dim_num);
  int32_t lhs = 0;
  for (int32_t i = 1; i <= dim_num; ++i) lhs = wrap_add(lhs, wrap_mul(lcm / C(i), V(i)));
  return lhs;
}

void finish(int32_t dim_num, int32_t* v, bool& more) {
  const vec_ref V(v, dim_num);
  for (int32_t i = 1; i <= dim_num; ++i) V(i) = 0;
  more = false;
}

}  // namespace

void simplex_volume_nd(int32_t dim_num, const double* a, double& volume) {
  const mat_ref A(a, dim_num, dim_num + 1);
  const int32_t n = dim_num > 0 ? dim_num : 0;
  std::vector<double> b(static_cast<std::size_t>(n) * n);
  std::vector<int32_t> pivot(n);
  const mat_ref B(b.data(), n, n);
  for (int32_t j = 1; j <= n; ++j)
    for (int32_t i = 1; i <= n; ++i) B(i, j) = A(i, j) - A(i, dim_num + 1);
  int32_t info;
  r8ge_fa(n, b.data(), pivot.data(), info);
  if (info != 0) {
    volume = -1.0;
    return;
  }
  double det;
  r8ge_det(n, b.data(), pivot.data(), det);
  volume = std::fabs(det);
  for (int32_t i = 1; i <= dim_num; ++i) volume = volume / static_cast<double>(i);
}

void simplex_unit_volume_nd(int32_t dim_num, double& volume) {
  volume = 1.0;
  for (int32_t i = 1; i <= dim_num; ++i) volume = volume / static_cast<double>(i);
}

void simplex_lattice_point_next(int32_t dim_num, const int32_t* c, int32_t* v, bool& more) {
  const vec_ref C(c, dim_num + 1);
  const vec_ref V(v, dim_num);
  const int32_t lcm = lattice_scale(dim_num, c);
  if (lcm == 0) {
    finish(dim_num, v, more);
    return;
  }
  if (!more) {
    for (int32_t i = 1; i <= dim_num; ++i) V(i) = 0;
    more = true;
    return;
  }
  const int32_t rhs = wrap_mul(lcm, C(dim_num + 1));
  int32_t lhs = scaled_sum(dim_num, c, v, lcm);
  for (int32_t j = 1; j <= dim_num; ++j) {
    if (wrap_add(lhs, lcm / C(j)) <= rhs) {
      V(j) = wrap_add(V(j), 1);
      return;
    }
    lhs = wrap_sub(lhs, wrap_mul(lcm / C(j), V(j)));
    V(j) = 0;
  }
  more = false;
}

void simplex_lattice_layer_point_next(int32_t dim_num, const int32_t* c, int32_t* v, bool& more) {
  const vec_ref C(c, dim_num + 1);
  const vec_ref V(v, dim_num);
  const int32_t lcm = lattice_scale(dim_num, c);
  if (lcm == 0) {
    finish(dim_num, v, more);
    return;
  }
  const int32_t layer = C(dim_num + 1);
  if (layer == 0) {
    if (more) {
      more = false;
    } else {
      for (int32_t i = 1; i <= dim_num; ++i) V(i) = 0;
      more = true;
    }
    return;
  }
  if (!more) {
    for (int32_t i = 1; i <= dim_num; ++i) V(i) = 0;
    if (dim_num >= 1) V(1) = wrap_add(wrap_mul(layer - 1, C(1)), 1);
    more = true;
    return;
  }
  const int32_t rhs1 = wrap_mul(lcm, layer - 1);
  const int32_t rhs2 = wrap_mul(lcm, layer);
  for (int32_t i = 1; i <= dim_num; ++i) {
    V(i) = wrap_add(V(i), 1);
    for (int32_t j = 1; j < i; ++j) V(j) = 0;
    if (i > 1) {
      // The first V(1) of the new line, less one where the division is
      // exact: T C(1) / LCM, formed as T / (LCM / C(1)) (the same quotient,
      // without the product's overflow).
      int32_t t = rhs1;
      for (int32_t j = 2; j <= dim_num; ++j) t = wrap_sub(t, wrap_mul(lcm / C(j), V(j)));
      V(1) = t / (lcm / C(1));
      if (V(1) < 0) V(1) = 0;
    }
    int32_t lhs = scaled_sum(dim_num, c, v, lcm);
    if (lhs <= rhs1) {
      V(1) = wrap_add(V(1), 1);
      lhs = wrap_add(lhs, lcm / C(1));
    }
    if (lhs <= rhs2) return;
  }
  finish(dim_num, v, more);
}

void simplex_unit_lattice_point_num_nd(int32_t dim_num, int32_t s, int32_t& n) {
  n = 1;
  for (int32_t i = 1; i <= dim_num; ++i) n = wrap_mul(n, wrap_add(s, i)) / i;
}

}  // namespace orvel::geometry
