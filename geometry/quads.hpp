// Quadrilaterals Q (2 by 4, or 3 by 4 in space, vertices in order round the
// figure, edge k from Q(:,k) to Q(:,k+1), edge 4 back to Q(:,1)) and the
// regular hexagon: areas, containment, distances, the nearest boundary
// point, a random convex quadrilateral, and the unit hexagon (centre at the
// origin, circumradius 1, first vertex (1, 0)).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Signed, by two triangles and by the midpoint parallelogram; in space the
// unsigned area of the midpoint parallelogram, doubled.
void quad_area_2d(const double* q, double& area);
void quad_area2_2d(const double* q, double& area);
void quad_area_3d(const double* q, double& area);
// For a convex counterclockwise quadrilateral, boundary included.
void quad_contains_point_2d(const double* q, const double* p, bool& inside);
// Distance to the boundary (not 0 inside).
void quad_point_dist_2d(const double* q, const double* p, double& dist);
// Negative inside a convex quadrilateral, positive outside.
void quad_point_dist_signed_2d(const double* q, const double* p, double& dist);
// The nearest boundary point; on ties the earlier edge.
void quad_point_near_2d(const double* q, const double* p, double* pn, double& dist);
// Four points of the unit square, in the order of their convex hull, drawn
// again until all four are hull vertices.
void quad_convex_random(int32_t& seed, double* xy);
double hexagon_area_2d(double r);
double hexagon_unit_area_2d();
// V (2 by 6) convex and counterclockwise; the boundary is inside.
bool hexagon_contains_point_2d(const double* v, const double* p);
// The boundary point of the unit hexagon in the direction ANGLE (degrees).
void hexagon_shape_2d(double angle, double* p);
void hexagon_vertices_2d(double* p);

}  // namespace orvel::geometry
