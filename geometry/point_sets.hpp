// Small operations on sets of points (one point per column): clearance from
// a point, perpendicular bisectors, the most central member, collinearity
// measures, distances, the nearest member and the planar convex hull.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// False when a member lies closer than 2.220446049250313e-14 to P.
bool points_avoid_point_naive_2d(int32_t n, const double* pset, const double* p);
// The points equidistant from P1 and P2, not normalised (P1 = P2: all 0).
void points_bisect_line_imp_2d(const double* p1, const double* p2, double& a, double& b, double& c);
// Through the midpoint, unit direction with F >= 0 (P1 = P2: F = G = 0).
void points_bisect_line_par_2d(const double* p1, const double* p2, double& f, double& g, double& x0, double& y0);
// The member with the least sum of squared distances to all members (the
// first on ties); -1 for an empty set.
void points_centroid_2d(int32_t n, const double* p, int32_t& centroid_index);
// Area relative to the equilateral triangle of the same mean side: 1 for an
// equilateral triangle, 0 for collinear points.
void points_colin_2d(const double* p1, const double* p2, const double* p3, double& colin);
void points_colin_3d(const double* p1, const double* p2, const double* p3, double& colin);
void points_dist_nd(int32_t dim_num, const double* p1, const double* p2, double& dist);
// The first nearest member and its distance; an empty set gives -1 and the
// root of the largest double.
void points_point_near_naive_nd(int32_t dim_num, int32_t nset, const double* pset, const double* ptest,
                                int32_t& i_min, double& d_min);
// Gift wrapping: HULL(1 .. HULL_NUM) lists the hull vertices
// counterclockwise from the lowest of the leftmost points; points inside an
// edge are listed too, nearest first, and repeated points once.  A set with
// every point on one line gives its two end points (the start first), or
// one point when all coincide.  A walk that does not close within NODE_NUM
// vertices ends the run.  hull needs room for node_num entries.
void points_hull_2d(int32_t node_num, const double* node_xy, int32_t& hull_num, int32_t* hull);

}  // namespace orvel::geometry
