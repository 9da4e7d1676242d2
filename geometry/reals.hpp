// Real scalars and vectors: constants, scalar tests, norms, dot, cross and
// triple products, distances, comparisons, bracketing, normals and the split
// of a vector into parts parallel and normal to another.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

double r8_huge();  // 1.0e30
double r8_pi();    // 3.141592653589793
void r8_swap(double& x, double& y);
// Remainder of x by y in [0, |y|); y = 0 ends the run.
double r8_modp(double x, double y);
// r holds an integer value within +-2147483647 (NaN gives false).
bool r8_is_int(double r);
bool r8_sign_opposite_strict(double r1, double r2);

double r8vec_norm(int32_t n, const double* a);
double r8vec_normsq(int32_t n, const double* a);
double r8vec_norm_affine(int32_t n, const double* v0, const double* v1);
double r8vec_normsq_affine(int32_t n, const double* v0, const double* v1);
double r8vec_distance(int32_t n, const double* v1, const double* v2);
double r8vec_dot_product(int32_t n, const double* v1, const double* v2);
double r8vec_dot_product_affine(int32_t n, const double* v0, const double* v1, const double* v2);
bool r8vec_eq(int32_t n, const double* a1, const double* a2);
bool r8vec_gt(int32_t n, const double* a1, const double* a2);
bool r8vec_lt(int32_t n, const double* a1, const double* a2);
// The interval [left, right] of the ascending x that holds xval.  Needs
// n >= 2: for a smaller n no element is read and the result is
// left = n - 1, right = n.
void r8vec_bracket(int32_t n, const double* x, double xval, int32_t& left, int32_t& right);
void r8vec_swap(int32_t n, double* a1, double* a2);
// A unit vector v2 normal to v1 (n >= 2, else the run ends).
void r8vec_any_normal(int32_t n, const double* v1, double* v2);
void r8vec_polarize(int32_t n, const double* a, const double* p, double* a_normal, double* a_parallel);

double r8vec_cross_product_2d(const double* v1, const double* v2);
double r8vec_cross_product_affine_2d(const double* v0, const double* v1, const double* v2);
void r8vec_cross_product_3d(const double* v1, const double* v2, double* v3);
void r8vec_cross_product_affine_3d(const double* v0, const double* v1, const double* v2, double* v3);
double r8vec_scalar_triple_product(const double* v1, const double* v2, const double* v3);
// Angle between u and v in [0, pi]; a zero vector gives pi.
void r8vec_angle_3d(const double* u, const double* v, double& angle);

}  // namespace orvel::geometry
