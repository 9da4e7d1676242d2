// Cones, tori and square pyramids (closed-form measures), points along a
// circular helix, and the oblique projection of points onto a coordinate
// plane.  Sizes are taken as given, zero and negative ones included.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Lateral area of a right circular cone of height H and base radius R.
void cone_area_3d(double h, double r, double& area);
// Centroid of the solid cone with base centre PC and tip PT (R not used).
void cone_centroid_3d(double r, const double* pc, const double* pt, double* centroid);
void cone_volume_3d(double h, double r, double& volume);
// Torus: R1 from the centre to the tube's centre, R2 the tube's radius.
double torus_area_3d(double r1, double r2);
void torus_volume_3d(double r1, double r2, double& volume);
// Square pyramid of height H and base side S.
void pyramid_volume_3d(double h, double s, double& volume);
// N points (R cos T, R sin T, A T) with T running evenly from THETA1 to
// THETA2 (the middle angle alone when N = 1).
void helix_shape_3d(double a, int32_t n, double r, double theta1, double theta2, double* p);
// COR3(3, N) projected along the axis named by AXIS ('X', 'Y', 'Z' in either
// case) to COR2(2, N): the two other coordinates, each less sin(THETA
// degrees) times the dropped one.  Any other axis ends the run.
void conv3d(char axis, double theta, int32_t n, const double* cor3, double* cor2);

}  // namespace orvel::geometry
