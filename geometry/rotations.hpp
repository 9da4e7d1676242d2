// Rotations of space as an axis with an angle, a 3 by 3 matrix (W = A V) or
// a unit quaternion (Q(1) the scalar part; a rotation by T about the unit
// axis U is (cos(T/2), sin(T/2) U)), the conversions between the three
// forms, the rotation of a vector by each, and the quaternion operations
// that the conversions need.  Angles in radians; a positive angle turns
// counterclockwise when the axis points at the viewer.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void quat_conj(const double* q, double* q2);
// The zero quaternion gives (0, 0, 0, 0).
void quat_inv(const double* q, double* q2);
// Q3 = Q1 Q2, the Hamilton product.
void quat_mul(const double* q1, const double* q2, double* q3);
double quat_norm(const double* q);

// A zero axis gives the zero matrix.
void rotation_axis2mat_3d(const double* axis, double angle, double* a);
// A zero axis ends the run.
void rotation_axis2quat_3d(const double* axis, double angle, double* q);
// A zero axis gives W = 0.
void rotation_axis_vector_3d(const double* axis, double angle, const double* v, double* w);
// Unit axis and angle in [0, pi]; a symmetric A (the identity, any rotation
// by pi) ends the run.
void rotation_mat2axis_3d(const double* a, double* axis, double& angle);
void rotation_mat2quat_3d(const double* a, double* q);
void rotation_mat_vector_3d(const double* a, const double* v, double* w);
// Unit axis and angle in [0, 2 pi]; a zero vector part gives the axis
// (1, 0, 0).
void rotation_quat2axis_3d(const double* q, double* axis, double& angle);
void rotation_quat2mat_3d(const double* q, double* a);
// Q is taken as a unit quaternion as it stands.
void rotation_quat_vector_3d(const double* q, const double* v, double* w);

// Writes the rotation by ANGLE about the unit axis (x, y, z) into rows and
// columns 1 to 3 of M (3 by 3 or 4 by 4); the other entries are left alone.
void axis_matrix(double x, double y, double z, double angle, const mat_ref<double>& m);

// W = PARALLEL + the normal part NORMAL (of length NORMAL_NORM > 0) turned
// by ANGLE about AXIS, which is normal to it: NORMAL is made a unit vector in
// place, and its partner AXIS x NORMAL is scaled to length 1.
void turn_normal_part(const double* axis, const double* parallel, double* normal, double normal_norm, double angle,
                      double* w);

}  // namespace orvel::geometry
