// Axis-aligned boxes (the unit box, or corners P1 <= P2 coordinate by
// coordinate, boundaries included): containment of points and segments, the
// exit point of a ray and the clipping of a segment in the plane; the
// half-plane left of a directed line; and the part of a triangle in space
// inside a half-space, where the plane's signed distance function is <= 0.
//
// The box's sides in the plane run counterclockwise from the corner P1:
// 1 bottom, 2 right, 3 top, 4 left, each from its first corner PD to its
// second corner PC.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

bool box_01_contains_point_2d(const double* p);
// True for DIM_NUM <= 0, as are the other N-dimensional tests.
bool box_01_contains_point_nd(int32_t dim_num, const double* p);
bool box_contains_point_2d(const double* p1, const double* p2, const double* p);
bool box_contains_point_nd(int32_t dim_num, const double* p1, const double* p2, const double* p);
bool box_contains_segment_nd(int32_t dim_num, const double* p1, const double* p2, const double* pa,
                             const double* pb);
// Where the ray from PA (inside the box) through PB leaves it: the first
// side, in order, whose wedge seen from PA holds PB.  No such side (PA
// outside, or PA = PB) ends the run.
void box_ray_int_2d(const double* p1, const double* p2, const double* pa, const double* pb, double* pint);
// Clips PA-PB to the box in place, bound by bound (x lower, x upper, y
// lower, y upper).  IVAL: -1 nothing inside (PA, PB as the earlier bounds
// left them), 0 unchanged, 1 PA moved, 2 PB moved, 3 both moved.
void box_segment_clip_2d(const double* p1, const double* p2, double* pa, double* pb, int32_t& ival);
// On the left of PA -> PB or on the line.
bool halfplane_contains_point_2d(const double* pa, const double* pb, const double* p);

// The clipped polygon (INT_NUM of 0 to 4 points, columns of PINT 3 by 4) in
// order around the triangle T (3 by 3): each vertex whose distance is <= 0,
// followed by the zero of its edge to the next vertex when their distances
// have strictly opposite signs.
void halfspace_triangle_int_3d(double dist1, double dist2, double dist3, const double* t, int32_t& int_num,
                               double* pint);
// A x + B y + C z + D <= 0.
void halfspace_imp_triangle_int_3d(double a, double b, double c, double d, const double* t, int32_t& int_num,
                                   double* pint);
// The side of the plane through PP opposite to its normal PN.
void halfspace_normal_triangle_int_3d(const double* pp, const double* pn, const double* t, int32_t& int_num,
                                      double* pint);

}  // namespace orvel::geometry
