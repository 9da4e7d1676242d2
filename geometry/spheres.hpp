// Spheres in space: implicit (radius R and centre PC) and explicit (four
// points P1..P4 on it).  Conversions, containment, nearest points, radial
// projections and the point of given spherical angles (THETA the longitude
// from +x, PHI the angle from +z).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void sphere_dia2imp_3d(const double* p1, const double* p2, double& r, double* pc);
// The circumsphere of P1..P4; coplanar or coincident points give R = -1
// and PC = 0.
void sphere_exp2imp_3d(const double* p1, const double* p2, const double* p3, const double* p4, double& r,
                       double* pc);
// The north pole and three points at polar angle 2 pi / 3, longitudes 0,
// 2 pi / 3 and 4 pi / 3.
void sphere_imp2exp_3d(double r, const double* pc, double* p1, double* p2, double* p3, double* p4);
// By the sign of a 5 by 5 determinant (the sphere counts as inside): the
// answer reverses with the order of P1..P4.  A NaN determinant leaves
// INSIDE as it was.
void sphere_exp_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                  const double* p, bool& inside);
bool sphere_imp_contains_point_3d(double r, const double* pc, const double* p);
// The nearest point of the sphere; P = PC gives the point towards (1, 1, 1).
// The explicit form uses the failure values of the conversion as they are.
void sphere_exp_point_near_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                              const double* p, double* pn);
void sphere_imp_point_near_3d(double r, const double* pc, const double* p, double* pn);
// As the nearest point, and R = 0 gives PC.
void sphere_imp_point_project_3d(double r, const double* pc, const double* p, double* q);
void sphere_imp_local2xyz_3d(double r, const double* pc, double theta, double phi, double* p);
// The polyline X(3,N) projected from PC onto the sphere: a point less than
// TMIN (angle at PC) from its predecessor is dropped unless it is the last,
// a gap wider than TMAX is filled with points spaced along the chord (TMAX
// <= 0 fills none), points equal to PC are skipped.  At most MAXOUT points
// are written to Y; when full, a warning and NOUT = MAXOUT.
void sphere_imp_line_project_3d(double r, const double* pc, int32_t n, const double* x, int32_t maxout,
                                int32_t& nout, double* y, double tmin, double tmax);

}  // namespace orvel::geometry
