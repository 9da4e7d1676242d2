// Parallelograms and parallelepipeds.  For the area routines a
// parallelogram is P, 2 by 4 or 3 by 4, vertices in order (only the first
// three columns are read); elsewhere it is the corner P1 with neighbours P2
// and P3, the set P1 + A (P2 - P1) + B (P3 - P1), 0 <= A, B <= 1.  A
// parallelepiped is the corner P1 with neighbours P2, P3, P4.
#pragma once

#include "geometry/support.hpp"

namespace orvel::geometry {

// Signed: positive when the vertices run counterclockwise.
void parallelogram_area_2d(const double* p, double& area);
void parallelogram_area_3d(const double* p, double& area);
// Collinear P1, P2, P3 end the run.  In space P must also lie within
// 0.0001 of the plane.
bool parallelogram_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p);
bool parallelogram_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p);
// Collinear P1, P2, P3 end the run.
void parallelogram_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p,
                                 double& dist);
// 0 <= (P - P1) . Ek <= Ek . Ek for the edges E2, E3, E4: exact containment
// for a rectangular box only; a point inside a sheared one can be reported
// outside.
bool parallelepiped_contains_point_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                      const double* p);
// Distance to the nearest of the six faces (not 0 inside).
void parallelepiped_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p4,
                                  const double* p, double& dist);

}  // namespace orvel::geometry
