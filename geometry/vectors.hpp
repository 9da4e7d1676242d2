// Single vectors as geometric objects: normalising in place, direction
// angles, the angle between two vectors, rotations in the plane and about an
// axis in space, and the projection onto the span of a basis made
// orthonormal in place.  Angles in radians.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// P divided by its length; a zero P stays as it is.
void vector_unit_nd(int32_t dim_num, double* p);
// ANGLE(i) = the angle between V and axis i (the quotient is not clamped);
// a zero V gives zeros.
void vector_directions_nd(int32_t dim_num, const double* v, double* angle);
// The angle in [0, pi]; a zero vector gives pi.
void vector_separation_nd(int32_t dim_num, const double* v1, const double* v2, double& theta);
void vector_rotate_2d(const double* v1, double angle, double* v2);
// P1 rotated about the base point PB.
void vector_rotate_base_2d(const double* p1, const double* pb, double angle, double* p2);
// V1 rotated about AXIS (of any length); a zero axis gives V2 = V1.
void vector_rotate_3d(const double* v1, const double* axis, double angle, double* v2);
// Makes the columns of BASE (m by n) orthonormal by modified Gram-Schmidt
// (zero columns stay zero), then VECN = the coordinates of the projection of
// VECM in that basis and VECNM = the projection itself.
void provec(int32_t m, int32_t n, double* base, const double* vecm, double* vecn, double* vecnm);

}  // namespace orvel::geometry
