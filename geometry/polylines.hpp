// Arclength on open (polyline) and closed (polyloop) chains of points in any
// dimension, one point per column: the cumulative arclength at each vertex,
// the total length, the point at a given arclength and points equally
// spaced by arclength.  A point asked for beyond the ends, or taken on a
// segment outside its range, lies on the line of that segment.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// S(1) = 0, S(i) = S(i - 1) + |P(:, i) - P(:, i - 1)|; n < 1 writes nothing.
void polyline_arclength_nd(int32_t dim_num, int32_t n, const double* p, double* s);
void polyline_length_nd(int32_t dim_num, int32_t n, const double* p, double& length);
// The point at arclength T; n < 1 ends the run.
void polyline_index_point_nd(int32_t dim_num, int32_t n, const double* p, double t, double* pt);
// NT points equally spaced by arclength from P(:, 1) to P(:, n).
void polyline_points_nd(int32_t dim_num, int32_t n, const double* p, int32_t nt, double* pt);
// SK(1 .. nk + 1), SK(nk + 1) the length of the whole loop.
void polyloop_arclength_nd(int32_t dim_num, int32_t nk, const double* pk, double* sk);
void polyloop_length_nd(int32_t dim_num, int32_t nk, const double* pk, double& length);
// NT points equally spaced by arclength once round the loop, from PK(:, 1)
// back to it.
void polyloop_points_nd(int32_t dim_num, int32_t nk, const double* pk, int32_t nt, double* pt);

}  // namespace orvel::geometry
