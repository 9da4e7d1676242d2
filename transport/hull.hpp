// Convex hull of a particle cloud and the area of a polygon, for the initial
// area of a spill.
#pragma once

#include <cstdint>

namespace orvel {

// Convex hull of the n points x(1..n), y(1..n) (x and y point to element 1):
// vertex(1..nvert) receives the 1-based indices of the hull corners in
// clockwise order, starting at the point of least x; points on a hull edge
// are not corners.  vertex and iwk hold at least n entries (iwk is work
// space).  With no point nvert is 0; with one point it is that point.
void envelope(const double* x, const double* y, int32_t n, int32_t* vertex, int32_t& nvert, int32_t* iwk);

// Area of the polygon x(1..n), y(1..n) (shoelace formula, single-precision
// sums), positive whatever its direction; a last point equal to the first
// closes the polygon and is not counted; fewer than three points give 0.
void polyarea(const double* x, const double* y, int32_t n, float& area);

}  // namespace orvel
