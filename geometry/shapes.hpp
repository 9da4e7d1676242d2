// Planar tools: the regular-polygon shape (centre PC, first vertex P1 and
// SIDE_NUM sides, the other vertices following P1 counterclockwise) with
// its distance and nearest point to a point and the crossing of a ray with
// its boundary; string_2d, which joins unordered segments into connected
// strings; angle_box_2d, which places two points at a given distance on
// either side of a corner; and tube_2d, the outline of a band around a path.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Distance to the edge of the sector (seen from PC) that holds P; P = PC
// gives the inradius, a shape of radius 0 is its centre.
void shape_point_dist_2d(const double* pc, const double* p1, int32_t side_num, const double* p, double& dist);
void shape_point_near_2d(const double* pc, const double* p1, int32_t side_num, const double* p, double* pn,
                         double& dist);
// The crossing of the line through PA and PB with the first edge whose
// wedge, seen from PA, holds the ray.  PA should lie inside the shape; from
// outside, the crossing is with the accepted edge's line.  A shape of radius
// 0, or no edge found, ends the run.
void shape_ray_int_2d(const double* pc, const double* p1, int32_t side_num, const double* pa, const double* pb,
                      double* pi);

// Joins the segments P1(:, i) -> P2(:, i) at exactly equal end points into
// strings, reversing segments where needed, then sorts them by string and
// by ORDER along the string (the seed 0, earlier segments negative, later
// ones positive): afterwards P2 of each segment equals P1 of the next one
// of its string.  VEC_NUM < 1 gives STRING_NUM = 0 and writes nothing.
void string_2d(int32_t vec_num, double* p1, double* p2, int32_t& string_num, int32_t* order, int32_t* string);

// The two points at distance DIST from both legs of the corner P1, P2, P3,
// on either side of it.  DIST = 0 gives P2 twice; three equal points end
// the run.
void angle_box_2d(double dist, const double* p1, const double* p2, const double* p3, double* p4, double* p5);
// The two sides P1, P2 (2 by N) of a band of half-width DIST about the path
// P (N >= 3 points, no two consecutive ones equal), extended by DIST beyond
// its ends, P1 kept on one side of the path.
void tube_2d(double dist, int32_t n, const double* p, double* p1, double* p2);

}  // namespace orvel::geometry
