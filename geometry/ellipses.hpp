// Ellipses and super-ellipses in the plane.  The axis-aligned ellipse of the
// area and nearest-point routines is centred at the origin with semi-axes
// R1 along x and R2 along y.  The rotated ellipse has centre PC, semi-axes
// R1, R2 and the R1 axis turned by PSI from the x axis; its point of
// parameter angle t is PC + R1 cos t (cos PSI, sin PSI) + R2 sin t
// (-sin PSI, cos PSI).  The super-ellipse raises |cos t| and |sin t| to the
// power EXPO and puts their signs back.  Point lists are 2 by N.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void ellipse_area_2d(double r1, double r2, double& area);
// Newton's method on the parameter angle in the first quadrant (a step that
// would leave it bisects the bracket found so far), mirrored back into P's
// quadrant: for P outside, the nearest point.  A point on an axis beyond the evolute's cusp
// gives the vertex at once; 100 steps without |f| <= 2.22e-14 print a
// warning and give the last point.  A zero semi-axis makes the ellipse a
// segment of the other axis, whose nearest point is P clamped to it.
void ellipse_point_near_2d(double r1, double r2, const double* p, double* pn);
void ellipse_point_dist_2d(double r1, double r2, const double* p, double& dist);
// N points from t = 0 at steps of 2 pi / N, not closed; N < 1 writes nothing.
void ellipse_points_2d(const double* pc, double r1, double r2, double psi, int32_t n, double* p);
// N points from THETA1 counterclockwise to THETA1 + r8_modp(THETA2 - THETA1,
// 2 pi), ends included; one point lies at the middle of the arc.
void ellipse_points_arc_2d(const double* pc, double r1, double r2, double psi, double theta1, double theta2,
                           int32_t n, double* p);
void super_ellipse_points_2d(const double* pc, double r1, double r2, double expo, double psi, int32_t n, double* p);

}  // namespace orvel::geometry
