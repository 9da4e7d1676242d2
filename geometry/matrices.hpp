// Real matrices and linear systems: small determinants and inverses,
// Cramer's rule, Gauss-Jordan elimination with several right-hand sides and
// the LU factorisation with partial pivoting, its solver and determinant.
// Matrices are stored column by column.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

double r8mat_det_2d(const double* a);
double r8mat_det_3d(const double* a);
double r8mat_det_4d(const double* a);
double r8mat_det_5d(const double* a);
// B = inverse of A; det = 0 gives B = 0.
void r8mat_inverse_2d(const double* a, double* b, double& det);
void r8mat_inverse_3d(const double* a, double* b, double& det);
// Solves A x = b by Cramer's rule; det = 0 gives x = 0.
void r8mat_solve_2d(const double* a, const double* b, double& det, double* x);
// Gauss-Jordan on the n by n + rhs_num augmented matrix; column n + r ends
// holding solution r.  info = j > 0: zero pivot in column j.
void r8mat_solve(int32_t n, int32_t rhs_num, double* a, int32_t& info);
// LU factors of A in place; info = k > 0: zero pivot at step k (a warning is
// printed).  n < 1 gives info = 0 and touches nothing.
void r8ge_fa(int32_t n, double* a, int32_t* pivot, int32_t& info);
// Overwrites b with the solution of A x = b (job = 0) or A' x = b.
void r8ge_sl(int32_t n, const double* a, const int32_t* pivot, double* b, int32_t job);
void r8ge_det(int32_t n, const double* a, const int32_t* pivot, double& det);

}  // namespace orvel::geometry
