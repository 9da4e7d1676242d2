// Measures of one triangle T given by its vertices P1, P2, P3 as the columns
// of a 2 by 3 (plane) or 3 by 3 (space) array: areas, the area vector,
// angles, edge lengths, the diameter, a quality ratio, the orientation, the
// centroid and barycentric coordinates.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Signed: positive when P1, P2, P3 run counterclockwise.
void triangle_area_2d(const double* t, double& area);
// Three methods in space: the cross product, base and height (P1 = P2 gives
// 0), and the side lengths through Heron's formula (-1 when rounding makes
// the product negative).
void triangle_area_3d(const double* t, double& area);
void triangle_area_3d_2(const double* t, double& area);
void triangle_area_3d_3(const double* t, double& area);
// From three side lengths; -1 when they break the triangle inequality.
void triangle_area_heron(const double* s, double& area);
// (P2 - P1) x (P3 - P1), twice the area in length.
void triangle_area_vector_3d(const double* t, double* v);
// Unoriented angles in [0, pi] at P1, P2, P3; a vertex beside a side of
// length 0 gets pi, three equal vertices 2 pi / 3 each.
void triangle_angles_2d(const double* t, double* angle);
void triangle_angles_3d(const double* t, double* angle);
// |P2 - P1|, |P3 - P2|, |P1 - P3|.
void triangle_edge_length_2d(const double* t, double* edge_length);
// Diameter of the smallest circle holding the triangle.
void triangle_diameter_2d(const double* t, double& diameter);
// Twice the inradius over the circumradius; 0 when a side has length 0.
void triangle_quality_2d(const double* t, double& quality);
// 0 counterclockwise, 1 clockwise, 2 three distinct collinear vertices,
// 3 two vertices equal.
int32_t triangle_orientation_2d(const double* t);
void triangle_centroid_2d(const double* t, double* centroid);
void triangle_centroid_3d(const double* t, double* centroid);
// XSI(1), XSI(2), XSI(3) weigh P2, P3, P1 (in that order); a degenerate
// triangle ends the run.
void triangle_barycentric_2d(const double* t, const double* p, double* xsi);
// XSI(i) weighs Pi; the weights are used as given.
void triangle_xsi_to_xy_2d(const double* t, const double* xsi, double* p);
// XSI(i) weighs Pi; a degenerate triangle divides by 0.
void triangle_xy_to_xsi_2d(const double* t, const double* p, double* xsi);

}  // namespace orvel::geometry
