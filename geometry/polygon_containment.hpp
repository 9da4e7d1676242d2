// Containment, convexity, distances and diameter of a plane polygon V given
// by its N vertices (columns of a 2 by N array) in boundary order, the
// closing edge from V(:,N) to V(:,1) implied.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Even-odd crossing rule, any simple polygon and either orientation.  An
// edge counts when P's height lies in (lower end, upper end]; a crossing
// counts when P lies strictly left of it (so of the unit square the left
// edge is inside, the right edge outside).  N < 1: false.
void polygon_contains_point_2d(int32_t n, const double* v, const double* p, bool& inside);
// Convex polygons: the fan of triangles from vertex 1, boundary inside.  A
// degenerate fan triangle reached before one holding P ends the run.
void polygon_contains_point_2d_2(int32_t n, const double* v, const double* p, bool& inside);
// -1 not convex (the turn changes sense, or the boundary winds through more
// than 361 degrees), 0 degenerate (N < 3 or no turn), 1 convex
// counterclockwise, 2 convex clockwise.
int32_t polygon_is_convex_2d(int32_t n, const double* v);
// Distance to the boundary (positive inside too); N < 1 gives the largest
// double (and PN = 0).  On a tie the earlier edge gives PN.
void polygon_point_dist_2d(int32_t n, const double* v, const double* p, double& dist);
void polygon_point_near_2d(int32_t n, const double* v, const double* p, double* pn, double& dist);
// The largest distance between two vertices; N < 2 gives 0.
void polygon_diameter_2d(int32_t n, const double* v, double& diameter);

}  // namespace orvel::geometry
