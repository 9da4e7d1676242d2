// Regular and integer point sets in triangles and uniform random points.
// T is 2 by 3 (vertices P1, P2, P3 as columns).  The lattice triangle C(3)
// holds the points V >= 0 with V(1) / C(1) + V(2) / C(2) <= C(3), weighed
// exactly on the scale lcm(C(1), C(2)); its layer C(3) the points with
// C(3) - 1 < V(1) / C(1) + V(2) / C(2) <= C(3).  The enumerators keep their
// state in V and MORE (start with MORE false), x running fastest; weights
// <= 0 or a negative bound give none.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// (i P1 + j P2 + k P3) / SUB_NUM for i + j + k = SUB_NUM, i outermost, up to
// GRID_MAX points (the rest dropped); SUB_NUM = 0 gives the centroid.
void triangle_gridpoints_2d(const double* t, int32_t sub_num, int32_t grid_max, int32_t& grid_num, double* p);
void triangle_lattice_point_next(const int32_t* c, int32_t* v, bool& more);
// Layer 0 is the origin alone.
void triangle_lattice_layer_point_next(const int32_t* c, int32_t* v, bool& more);
// Points of x, y >= 0, x + y <= S.
void triangle_unit_lattice_point_num_2d(int32_t s, int32_t& n);
// Points of the triangle (0, 0), (A, 0), (0, B).
void triangle_right_lattice_point_num_2d(int32_t a, int32_t b, int32_t& n);
// 2N numbers from SEED: N for the distance from P1, then N across.
void triangle_sample(const double* t, int32_t n, int32_t& seed, double* p);

}  // namespace orvel::geometry
