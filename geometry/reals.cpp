#include "geometry/reals.hpp"

#include <cmath>
#include <vector>

namespace orvel::geometry {

double r8_huge() { return 1.0e30; }

double r8_pi() { return 3.141592653589793; }

void r8_swap(double& x, double& y) {
  const double z = x;
  x = y;
  y = z;
}

double r8_modp(double x, double y) {
  if (y == 0.0) {
    fatal("R8_MODP", {"  R8_MODP ( X_part, Y_part ) called with Y_part = " + fmt_g(y, 14, 6)});
  }
  double value = std::fmod(x, y);
  if (value < 0.0) value = value + std::fabs(y);
  return value;
}

bool r8_is_int(double r) {
  // The range test comes first: NaN and huge values are not integers.
  if (!(r <= 2147483647.0 && r >= -2147483647.0)) return false;
  return r == static_cast<double>(static_cast<int32_t>(r));
}

bool r8_sign_opposite_strict(double r1, double r2) { return (r1 < 0.0 && 0.0 < r2) || (r2 < 0.0 && 0.0 < r1); }

double r8vec_normsq(int32_t n, const double* a) {
  const vec_ref A(a, n);
  double sum = 0.0;
  for (int32_t i = 1; i <= n; ++i) sum += A(i) * A(i);
  return sum;
}

double r8vec_norm(int32_t n, const double* a) { return std::sqrt(r8vec_normsq(n, a)); }

double r8vec_normsq_affine(int32_t n, const double* v0, const double* v1) {
  const vec_ref V0(v0, n), V1(v1, n);
  double sum = 0.0;
  for (int32_t i = 1; i <= n; ++i) sum += (V0(i) - V1(i)) * (V0(i) - V1(i));
  return sum;
}

double r8vec_norm_affine(int32_t n, const double* v0, const double* v1) {
  return std::sqrt(r8vec_normsq_affine(n, v0, v1));
}

double r8vec_distance(int32_t n, const double* v1, const double* v2) {
  return std::sqrt(r8vec_normsq_affine(n, v1, v2));
}

double r8vec_dot_product(int32_t n, const double* v1, const double* v2) {
  const vec_ref V1(v1, n), V2(v2, n);
  double sum = 0.0;
  for (int32_t i = 1; i <= n; ++i) sum += V1(i) * V2(i);
  return sum;
}

double r8vec_dot_product_affine(int32_t n, const double* v0, const double* v1, const double* v2) {
  const vec_ref V0(v0, n), V1(v1, n), V2(v2, n);
  double sum = 0.0;
  for (int32_t i = 1; i <= n; ++i) sum += (V1(i) - V0(i)) * (V2(i) - V0(i));
  return sum;
}

bool r8vec_eq(int32_t n, const double* a1, const double* a2) {
  const vec_ref A1(a1, n), A2(a2, n);
  for (int32_t i = 1; i <= n; ++i) {
    if (A1(i) != A2(i)) return false;
  }
  return true;
}

bool r8vec_gt(int32_t n, const double* a1, const double* a2) {
  const vec_ref A1(a1, n), A2(a2, n);
  for (int32_t i = 1; i <= n; ++i) {
    if (A1(i) != A2(i)) return A1(i) > A2(i);
  }
  return false;
}

bool r8vec_lt(int32_t n, const double* a1, const double* a2) { return r8vec_gt(n, a2, a1); }

void r8vec_bracket(int32_t n, const double* x, double xval, int32_t& left, int32_t& right) {
  const vec_ref X(x, n);
  for (int32_t i = 2; i <= n - 1; ++i) {
    if (xval < X(i)) {
      left = i - 1;
      right = i;
      return;
    }
  }
  left = wrap_sub(n, 1);
  right = n;
}

void r8vec_swap(int32_t n, double* a1, double* a2) {
  const vec_ref A1(a1, n), A2(a2, n);
  for (int32_t i = 1; i <= n; ++i) r8_swap(A1(i), A2(i));
}

void r8vec_any_normal(int32_t n, const double* v1, double* v2) {
  if (n < 2) fatal("R8VEC_ANY_NORMAL", {"  Called with DIM_NUM < 2."});
  const vec_ref V1(v1, n);
  const vec_ref V2(v2, n);
  if (r8vec_norm(n, v1) == 0.0) {
    V2(1) = 1.0;
    for (int32_t i = 2; i <= n; ++i) V2(i) = 0.0;
    return;
  }
  // K: the component of largest magnitude, J: the second; strict comparisons
  // keep the earlier of equal magnitudes ahead.
  int32_t j = -1, k = -1;
  double vj = 0.0, vk = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    if (std::fabs(vj) < std::fabs(V1(i)) || j < 1) {
      if (std::fabs(vk) < std::fabs(V1(i)) || k < 1) {
        j = k;
        vj = vk;
        k = i;
        vk = V1(i);
      } else {
        j = i;
        vj = V1(i);
      }
    }
  }
  for (int32_t i = 1; i <= n; ++i) V2(i) = 0.0;
  const double s = std::sqrt(vk * vk + vj * vj);
  V2(k) = -vj / s;
  V2(j) = vk / s;
}

void r8vec_polarize(int32_t n, const double* a, const double* p, double* a_normal, double* a_parallel) {
  const vec_ref A(a, n), P(p, n);
  const vec_ref A_NORMAL(a_normal, n), A_PARALLEL(a_parallel, n);
  const double p_norm = r8vec_norm(n, p);
  if (p_norm == 0.0) {
    for (int32_t i = 1; i <= n; ++i) {
      A_NORMAL(i) = A(i);
      A_PARALLEL(i) = 0.0;
    }
    return;
  }
  const double t = r8vec_dot_product(n, a, p) / p_norm;
  for (int32_t i = 1; i <= n; ++i) {
    A_PARALLEL(i) = t * P(i) / p_norm;
    A_NORMAL(i) = A(i) - A_PARALLEL(i);
  }
}

double r8vec_cross_product_2d(const double* v1, const double* v2) {
  const vec_ref V1(v1, 2), V2(v2, 2);
  return V1(1) * V2(2) - V1(2) * V2(1);
}

double r8vec_cross_product_affine_2d(const double* v0, const double* v1, const double* v2) {
  const vec_ref V0(v0, 2), V1(v1, 2), V2(v2, 2);
  return (V1(1) - V0(1)) * (V2(2) - V0(2)) - (V2(1) - V0(1)) * (V1(2) - V0(2));
}

void r8vec_cross_product_3d(const double* v1, const double* v2, double* v3) {
  const vec_ref V1(v1, 3), V2(v2, 3);
  const vec_ref V3(v3, 3);
  V3(1) = V1(2) * V2(3) - V1(3) * V2(2);
  V3(2) = V1(3) * V2(1) - V1(1) * V2(3);
  V3(3) = V1(1) * V2(2) - V1(2) * V2(1);
}

void r8vec_cross_product_affine_3d(const double* v0, const double* v1, const double* v2, double* v3) {
  const vec_ref V0(v0, 3), V1(v1, 3), V2(v2, 3);
  const vec_ref V3(v3, 3);
  V3(1) = (V1(2) - V0(2)) * (V2(3) - V0(3)) - (V1(3) - V0(3)) * (V2(2) - V0(2));
  V3(2) = (V1(3) - V0(3)) * (V2(1) - V0(1)) - (V1(1) - V0(1)) * (V2(3) - V0(3));
  V3(3) = (V1(1) - V0(1)) * (V2(2) - V0(2)) - (V1(2) - V0(2)) * (V2(1) - V0(1));
}

double r8vec_scalar_triple_product(const double* v1, const double* v2, const double* v3) {
  const vec_ref V1(v1, 3);
  double w[3];
  r8vec_cross_product_3d(v2, v3, w);
  const vec_ref W(w, 3);
  return V1(1) * W(1) + V1(2) * W(2) + V1(3) * W(3);
}

void r8vec_angle_3d(const double* u, const double* v, double& angle) {
  const double t = r8vec_dot_product(3, u, v) / r8vec_norm(3, u) / r8vec_norm(3, v);
  angle = std::acos(clamp_unit(t));
}

}  // namespace orvel::geometry
