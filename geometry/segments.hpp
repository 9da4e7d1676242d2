// Line segments given by their end points P1, P2 (Q1, Q2 for a second one):
// a point's position relative to a segment, point-segment distances and
// nearest points, distances between segments, intersections in one and two
// dimensions, and the curvature of the circle through three points.  The
// line parameter of P is T = ((P - P1) . (P2 - P1)) / |P2 - P1|^2, 0 for a
// degenerate segment; the distance routines clamp it to [0, 1].
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// U = (P3 - P1) / (P2 - P1); a degenerate segment gives 0.5 at P1 and minus
// or plus the largest double before or beyond it.
void segment_contains_point_1d(double p1, double p2, double p3, double& u);
// U(1) = the unclamped parameter of P3, U(2) = its distance from the line
// relative to the segment's length; a degenerate segment gives (0.5, 0) at
// P1 and (0.5, largest double) elsewhere.
void segment_contains_point_2d(const double* p1, const double* p2, const double* p3, double* u);
// T unclamped and S the distance from the line through the segment.
void segment_point_coords_2d(const double* p1, const double* p2, const double* p, double& s, double& t);
void segment_point_coords_3d(const double* p1, const double* p2, const double* p, double& s, double& t);
void segment_point_dist_2d(const double* p1, const double* p2, const double* p, double& dist);
void segment_point_dist_3d(const double* p1, const double* p2, const double* p, double& dist);
void segment_point_near_2d(const double* p1, const double* p2, const double* p, double* pn, double& dist, double& t);
void segment_point_near_3d(const double* p1, const double* p2, const double* p, double* pn, double& dist, double& t);
// 1 / R of the circle through the points, 0 when there is none (collinear
// or equal points).
void segments_curvature_2d(const double* p1, const double* p2, const double* p3, double& curvature);
void segments_dist_2d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist);
// By the nearest points of the two lines, falling back on the end points.
void segments_dist_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist);
// By a parabola through three squared distances along the second segment.
void segments_dist_3d_old(const double* p1, const double* p2, const double* q1, const double* q2, double& dist);
// Two intervals: they meet in [R1, R2] when DIST = R1 - R2 <= 0; a positive
// DIST is the gap between them.
void segments_int_1d(double p1, double p2, double q1, double q2, double& dist, double& r1, double& r2);
// flag = 1 with p a point of both segments, else 0.  Crossing lines give p
// their crossing point whatever flag is; collinear segments give their first
// common point along P1 -> P2 or (0, 0).
void segments_int_2d(const double* p1, const double* p2, const double* q1, const double* q2, int32_t& flag,
                     double* p);

}  // namespace orvel::geometry
