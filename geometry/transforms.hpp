// Homogeneous 4 by 4 transformation matrices of space: the upper left 3 by 3
// block is the linear part, rows 1 to 3 of column 4 the translation.  Every
// builder forms an elementary matrix C and returns B = C A, so the new
// operation acts after A; A is left unchanged.  Angles in degrees.
#pragma once

#include <cstdint>
#include <string_view>

#include "geometry/support.hpp"

namespace orvel::geometry {

void tmat_init(double* a);
// C = A B.
void tmat_mxm(const double* a, const double* b, double* c);
// Y = the image of the point X.
void tmat_mxp(const double* a, const double* x, double* y);
// The same computation as tmat_mxp: the translation is added too.
void tmat_mxv(const double* a, const double* x, double* y);
// P2(:, k) = the image of P(:, k), k = 1 .. n; n < 1 writes nothing.
void tmat_mxp2(const double* a, int32_t n, const double* p, double* p2);
// AXIS: one of X, Y, Z in either case; anything else ends the run.
void tmat_rot_axis(const double* a, double angle, std::string_view axis, double* b);
// A zero axis returns at once and leaves B unwritten.
void tmat_rot_vector(const double* a, double angle, const double* axis, double* b);
void tmat_scale(const double* a, const double* s, double* b);
// AXIS: XY, XZ, YX, YZ, ZX or ZY, both letters upper or both lower case;
// anything else ends the run.
void tmat_shear(const double* a, std::string_view axis, double s, double* b);
void tmat_trans(const double* a, const double* v, double* b);

}  // namespace orvel::geometry
