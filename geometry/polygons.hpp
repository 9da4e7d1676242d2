// Measures of a polygon V given by its N vertices (columns of a 2 by N or
// 3 by N array) in boundary order, the closing edge implied: signed areas
// in the plane, areas and the unit normal in space, centroids, the six
// low-order integrals over a plane polygon, the angle at every vertex and
// the area of a lattice polygon.  Counterclockwise order is positive.
// Several routines split the polygon into the fan of triangles
// (V(:,i), V(:,i+1), V(:,N)), i = 1 .. N - 2.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Signed, by the edge formula (N < 1: 0) and by the fan (N < 3: 0).
void polygon_area_2d(int32_t n, const double* v, double& area);
void polygon_area_2d_2(int32_t n, const double* v, double& area);
// Half the length of the vector area and its direction; a vector area of
// length 0 (also N < 1) gives AREA = 0 and NORMAL = (1, 1, 1) / sqrt(3).
void polygon_area_3d(int32_t n, const double* v, double& area, double* normal);
// Half the length of the sum of the fan triangles' area vectors.
void polygon_area_3d_2(int32_t n, const double* v, double& area);
// Centroids by the edge formula, by the fan with signed areas and, in space,
// by the fan with unsigned areas (right for convex polygons).  A total area
// of 0 gives V(:,1); an empty polygon (N < 1) gives 0.
void polygon_centroid_2d(int32_t n, const double* v, double* centroid);
void polygon_centroid_2d_2(int32_t n, const double* v, double* centroid);
void polygon_centroid_3d(int32_t n, const double* v, double* centroid);
// Integrals of 1, x, y, x^2, x y, y^2 over the interior, not divided by the
// area; N < 3 gives 0 with a warning.
void polygon_1_2d(int32_t n, const double* v, double& result);
void polygon_x_2d(int32_t n, const double* v, double& result);
void polygon_y_2d(int32_t n, const double* v, double& result);
void polygon_xx_2d(int32_t n, const double* v, double& result);
void polygon_xy_2d(int32_t n, const double* v, double& result);
void polygon_yy_2d(int32_t n, const double* v, double& result);
// Unit normal by the right-hand rule; (0, 0, 0) for N < 3 or a zero sum.
void polygon_normal_3d(int32_t n, const double* v, double* normal);
// The counterclockwise angle at each vertex from the next vertex round to
// the previous one, in [0, 2 pi); N <= 2 gives zeros.
void polygon_angles_2d(int32_t n, const double* v, double* angle);
// Pick's theorem: I inner and B boundary lattice points.
void polygon_lattice_area_2d(int32_t i, int32_t b, double& area);

}  // namespace orvel::geometry
