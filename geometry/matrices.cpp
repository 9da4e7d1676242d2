#include "geometry/matrices.hpp"

#include <cmath>
#include <utility>

namespace orvel::geometry {

double r8mat_det_2d(const double* a) {
  const mat_ref A(a, 2, 2);
  return A(1, 1) * A(2, 2) - A(1, 2) * A(2, 1);
}

double r8mat_det_3d(const double* a) {
  const mat_ref A(a, 3, 3);
  return A(1, 1) * (A(2, 2) * A(3, 3) - A(2, 3) * A(3, 2)) + A(1, 2) * (A(2, 3) * A(3, 1) - A(2, 1) * A(3, 3)) +
         A(1, 3) * (A(2, 1) * A(3, 2) - A(2, 2) * A(3, 1));
}

double r8mat_det_4d(const double* a) {
  const mat_ref A(a, 4, 4);
  // The 2 by 2 minors of rows 3 and 4, shared by the four 3 by 3 minors.
  const double m12 = A(3, 1) * A(4, 2) - A(3, 2) * A(4, 1);
  const double m13 = A(3, 1) * A(4, 3) - A(3, 3) * A(4, 1);
  const double m14 = A(3, 1) * A(4, 4) - A(3, 4) * A(4, 1);
  const double m23 = A(3, 2) * A(4, 3) - A(3, 3) * A(4, 2);
  const double m24 = A(3, 2) * A(4, 4) - A(3, 4) * A(4, 2);
  const double m34 = A(3, 3) * A(4, 4) - A(3, 4) * A(4, 3);
  return A(1, 1) * (A(2, 2) * m34 - A(2, 3) * m24 + A(2, 4) * m23) -
         A(1, 2) * (A(2, 1) * m34 - A(2, 3) * m14 + A(2, 4) * m13) +
         A(1, 3) * (A(2, 1) * m24 - A(2, 2) * m14 + A(2, 4) * m12) -
         A(1, 4) * (A(2, 1) * m23 - A(2, 2) * m13 + A(2, 3) * m12);
}

double r8mat_det_5d(const double* a) {
  const mat_ref A(a, 5, 5);
  double b[16];
  const mat_ref B(b, 4, 4);
  double det = 0.0;
  for (int32_t k = 1; k <= 5; ++k) {
    // Minor of row 1 and column k.
    for (int32_t i = 1; i <= 4; ++i) {
      int32_t jj = 0;
      for (int32_t j = 1; j <= 5; ++j) {
        if (j == k) continue;
        B(i, ++jj) = A(i + 1, j);
      }
    }
    const double term = A(1, k) * r8mat_det_4d(b);
    det = k % 2 == 1 ? det + term : det - term;
  }
  return det;
}

void r8mat_inverse_2d(const double* a, double* b, double& det) {
  const mat_ref A(a, 2, 2);
  const mat_ref B(b, 2, 2);
  det = A(1, 1) * A(2, 2) - A(1, 2) * A(2, 1);
  if (det == 0.0) {
    for (int32_t j = 1; j <= 2; ++j)
      for (int32_t i = 1; i <= 2; ++i) B(i, j) = 0.0;
    return;
  }
  B(1, 1) = A(2, 2) / det;
  B(1, 2) = -A(1, 2) / det;
  B(2, 1) = -A(2, 1) / det;
  B(2, 2) = A(1, 1) / det;
}

void r8mat_inverse_3d(const double* a, double* b, double& det) {
  const mat_ref A(a, 3, 3);
  const mat_ref B(b, 3, 3);
  det = A(1, 1) * (A(2, 2) * A(3, 3) - A(2, 3) * A(3, 2)) - A(1, 2) * (A(2, 1) * A(3, 3) - A(2, 3) * A(3, 1)) +
        A(1, 3) * (A(2, 1) * A(3, 2) - A(2, 2) * A(3, 1));
  if (det == 0.0) {
    for (int32_t j = 1; j <= 3; ++j)
      for (int32_t i = 1; i <= 3; ++i) B(i, j) = 0.0;
    return;
  }
  B(1, 1) = (A(2, 2) * A(3, 3) - A(2, 3) * A(3, 2)) / det;
  B(1, 2) = -(A(1, 2) * A(3, 3) - A(1, 3) * A(3, 2)) / det;
  B(1, 3) = (A(1, 2) * A(2, 3) - A(1, 3) * A(2, 2)) / det;
  B(2, 1) = -(A(2, 1) * A(3, 3) - A(2, 3) * A(3, 1)) / det;
  B(2, 2) = (A(1, 1) * A(3, 3) - A(1, 3) * A(3, 1)) / det;
  B(2, 3) = -(A(1, 1) * A(2, 3) - A(1, 3) * A(2, 1)) / det;
  B(3, 1) = (A(2, 1) * A(3, 2) - A(2, 2) * A(3, 1)) / det;
  B(3, 2) = -(A(1, 1) * A(3, 2) - A(1, 2) * A(3, 1)) / det;
  B(3, 3) = (A(1, 1) * A(2, 2) - A(1, 2) * A(2, 1)) / det;
}

void r8mat_solve_2d(const double* a, const double* b, double& det, double* x) {
  const mat_ref A(a, 2, 2);
  const vec_ref B(b, 2);
  const vec_ref X(x, 2);
  det = A(1, 1) * A(2, 2) - A(1, 2) * A(2, 1);
  if (det == 0.0) {
    X(1) = 0.0;
    X(2) = 0.0;
    return;
  }
  X(1) = (A(2, 2) * B(1) - A(1, 2) * B(2)) / det;
  X(2) = (A(1, 1) * B(2) - A(2, 1) * B(1)) / det;
}

void r8mat_solve(int32_t n, int32_t rhs_num, double* a, int32_t& info) {
  info = 0;
  if (n < 1) return;
  const int32_t nc = n + (rhs_num > 0 ? rhs_num : 0);
  const mat_ref A(a, n, nc);
  for (int32_t j = 1; j <= n; ++j) {
    int32_t ipivot = j;
    double apivot = A(j, j);
    for (int32_t i = j + 1; i <= n; ++i) {
      if (std::fabs(apivot) < std::fabs(A(i, j))) {
        apivot = A(i, j);
        ipivot = i;
      }
    }
    if (apivot == 0.0) {
      info = j;
      return;
    }
    for (int32_t k = 1; k <= nc; ++k) {
      const double t = A(ipivot, k);
      A(ipivot, k) = A(j, k);
      A(j, k) = t;
    }
    A(j, j) = 1.0;
    for (int32_t k = j + 1; k <= nc; ++k) A(j, k) = A(j, k) / apivot;
    for (int32_t i = 1; i <= n; ++i) {
      if (i == j) continue;
      const double t = A(i, j);
      A(i, j) = 0.0;
      for (int32_t k = j + 1; k <= nc; ++k) A(i, k) = A(i, k) - t * A(j, k);
    }
  }
}

void r8ge_fa(int32_t n, double* a, int32_t* pivot, int32_t& info) {
  info = 0;
  if (n < 1) return;
  const mat_ref A(a, n, n);
  const vec_ref PIVOT(pivot, n);
  for (int32_t k = 1; k <= n - 1; ++k) {
    int32_t l = k;
    for (int32_t i = k + 1; i <= n; ++i) {
      if (std::fabs(A(l, k)) < std::fabs(A(i, k))) l = i;
    }
    PIVOT(k) = l;
    if (A(l, k) == 0.0) {
      info = k;
      warning("DGE_FA", {"  Zero pivot on step " + fmt_i(info, 8)});
      return;
    }
    if (l != k) std::swap(A(l, k), A(k, k));
    for (int32_t i = k + 1; i <= n; ++i) A(i, k) = -A(i, k) / A(k, k);
    for (int32_t j = k + 1; j <= n; ++j) {
      if (l != k) std::swap(A(l, j), A(k, j));
      for (int32_t i = k + 1; i <= n; ++i) A(i, j) = A(i, j) + A(i, k) * A(k, j);
    }
  }
  PIVOT(n) = n;
  if (A(n, n) == 0.0) {
    info = n;
    warning("DGE_FA", {"  Zero pivot on step " + fmt_i(info, 8)});
  }
}

void r8ge_sl(int32_t n, const double* a, const int32_t* pivot, double* b, int32_t job) {
  const mat_ref A(a, n, n);
  const vec_ref PIVOT(pivot, n);
  const vec_ref B(b, n);
  if (job == 0) {
    for (int32_t k = 1; k <= n - 1; ++k) {
      const int32_t l = PIVOT(k);
      check_index("R8GE_SL", l, 1, n);
      if (l != k) std::swap(B(l), B(k));
      for (int32_t i = k + 1; i <= n; ++i) B(i) = B(i) + A(i, k) * B(k);
    }
    for (int32_t k = n; k >= 1; --k) {
      B(k) = B(k) / A(k, k);
      for (int32_t i = 1; i <= k - 1; ++i) B(i) = B(i) - A(i, k) * B(k);
    }
    return;
  }
  for (int32_t k = 1; k <= n; ++k) {
    double t = 0.0;
    for (int32_t i = 1; i <= k - 1; ++i) t += A(i, k) * B(i);
    B(k) = (B(k) - t) / A(k, k);
  }
  for (int32_t k = n - 1; k >= 1; --k) {
    double t = 0.0;
    for (int32_t i = k + 1; i <= n; ++i) t += A(i, k) * B(i);
    B(k) = B(k) + t;
    const int32_t l = PIVOT(k);
    check_index("R8GE_SL", l, 1, n);
    if (l != k) std::swap(B(l), B(k));
  }
}

void r8ge_det(int32_t n, const double* a, const int32_t* pivot, double& det) {
  const mat_ref A(a, n, n);
  const vec_ref PIVOT(pivot, n);
  det = 1.0;
  for (int32_t i = 1; i <= n; ++i) {
    det = det * A(i, i);
    if (PIVOT(i) != i) det = -det;
  }
}

}  // namespace orvel::geometry
