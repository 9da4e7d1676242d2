// Containment, distances and edge crossings of one triangle T (vertices P1,
// P2, P3 as the columns of a 2 by 3 or 3 by 3 array; edge j runs from Pj to
// the next vertex, visited in the order P1P2, P2P3, P3P1), the degeneracy
// test in any dimension, and whether a line in space passes through T.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Boundary points are inside for all three.  _1: barycentric weights, any
// orientation (a degenerate triangle ends the run); _2: edge signs,
// counterclockwise triangles only; _3: edge signs, any orientation.
void triangle_contains_point_2d_1(const double* t, const double* p, bool& inside);
void triangle_contains_point_2d_2(const double* t, const double* p, bool& inside);
void triangle_contains_point_2d_3(const double* t, const double* p, bool& inside);
// Distance to the boundary (positive inside too); in space, to the nearest
// edge, not to the face.
void triangle_point_dist_2d(const double* t, const double* p, double& dist);
void triangle_point_dist_3d(const double* t, const double* p, double& dist);
// Counterclockwise T: minus the distance to the nearest edge line inside,
// the distance to the boundary outside.
void triangle_point_dist_signed_2d(const double* t, const double* p, double& dist_signed);
// Nearest boundary point; on a tie the earlier edge wins.
void triangle_point_near_2d(const double* t, const double* p, double* pn, double& dist);
// Crossings of the line A x + B y + C = 0 with the edges, ends included and
// not merged: a vertex on the line comes twice, so PINT needs 3 columns.
void triangle_line_imp_int_2d(const double* t, double a, double b, double c, int32_t& int_num, double* pint);
// Two vertices equal (exactly, in every coordinate); DIM_NUM < 1 is true.
bool triangle_is_degenerate_nd(int32_t dim_num, const double* t);
// The line through P1 and P2: PINT its crossing with T's plane (the largest
// double three times when parallel, P1 when it lies in the plane, and then
// INSIDE is false).  P1 = P2 or a degenerate triangle (two equal or three
// collinear vertices) ends the run.
void triangle_contains_line_exp_3d(const double* t, const double* p1, const double* p2, bool& inside, double* pint);
// The line P0 + s PD: P its crossing with T's plane, by the sum of the
// angles that the vertices subtend at P (a sum from 1.5 pi counts as
// inside).  Parallel within a relative 1e-5: INSIDE false, P = P0 when P0
// is in the plane, else 0.  A null plane normal or direction ends the run.
void triangle_contains_line_par_3d(const double* t, const double* p0, const double* pd, bool& inside, double* p);

}  // namespace orvel::geometry
