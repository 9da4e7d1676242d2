// Simplices in DIM_NUM dimensions: the volume of one given by its DIM_NUM + 1
// vertices (columns of A), the unit simplex, and the integer lattice points
// V >= 0 of a lattice simplex.  The lattice simplex C(DIM_NUM + 1) has the
// positive weights C(1..DIM_NUM) and the bound (or layer) C(DIM_NUM + 1);
// the weighted sum s(V) = sum V(i) / C(i) is evaluated exactly on the scale
// LCM = lcm(C(1..DIM_NUM)).  The enumerators keep their state in V and MORE:
// call first with MORE false, use V while MORE comes back true.  A weight
// <= 0, a negative bound or layer, or weights whose lcm overflows give an
// empty enumeration (MORE false, V = 0).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// |det| / DIM_NUM! of the edges from the last vertex; a degenerate simplex
// gives -1 after the factorisation's warning.
void simplex_volume_nd(int32_t dim_num, const double* a, double& volume);
// 1 / DIM_NUM! (1 for DIM_NUM <= 0).
void simplex_unit_volume_nd(int32_t dim_num, double& volume);
// Every V with s(V) <= C(DIM_NUM + 1), from the origin, V(1) fastest.
void simplex_lattice_point_next(int32_t dim_num, const int32_t* c, int32_t* v, bool& more);
// Every V with C(DIM_NUM + 1) - 1 < s(V) <= C(DIM_NUM + 1), V(1) fastest,
// each line starting at the smallest V(1) in the layer; layer 0 is the
// origin alone.
void simplex_lattice_layer_point_next(int32_t dim_num, const int32_t* c, int32_t* v, bool& more);
// (DIM_NUM + S choose DIM_NUM): the points V >= 0 with sum <= S.
void simplex_unit_lattice_point_num_nd(int32_t dim_num, int32_t s, int32_t& n);

}  // namespace orvel::geometry
