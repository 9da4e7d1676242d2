// Regular polygons of N sides from one measure (inradius, circumradius or
// side), the outward offset of a plane polygon, and the solid angle that a
// planar polygon in space subtends at a point.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// N < 3 ends the run.
void polygon_inrad_data_2d(int32_t n, double radin, double& area, double& radout, double& side);
void polygon_outrad_data_2d(int32_t n, double radout, double& area, double& radin, double& side);
void polygon_side_data_2d(int32_t n, double side, double& area, double& radin, double& radout);
// W(:,i) = V(:,i) moved along the bisector of its angle so that every edge
// of a counterclockwise polygon moves out by H (in for a clockwise one).  A
// vertex where the boundary goes straight on moves out by H; an edge of
// length 0 gives non-finite coordinates.
void polygon_expand_2d(int32_t n, const double* v, double h, double* w);
// Signed: positive when P lies on the side into which the right-hand-rule
// normal points (or in the plane), negative on the other side.  N < 3
// gives 0.
void polygon_solid_angle_3d(int32_t n, const double* v, const double* p, double& solid_angle);

}  // namespace orvel::geometry
