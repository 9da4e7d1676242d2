// Voxels: unit cells of the integer grid, voxel (i, j, k) centred on the
// point (i, j, k).  Taxicab distances, face-connected voxel paths along a
// segment, the next voxel on a ray, and the connected regions of the active
// voxels of an array.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Sum of |V1(i) - V2(i)|; 0 for DIM_NUM <= 0.
int32_t voxels_dist_l1_nd(int32_t dim_num, const int32_t* v1, const int32_t* v2);

// N voxels V(3, N) of a path from P1 toward P2, each a single unit step in
// one coordinate from the one before (a three-axis Bresenham walk).  With N
// = the L1 distance + 1 the path ends at P2.
void voxels_line_3d(const int32_t* p1, const int32_t* p2, int32_t n, int32_t* v);

// The voxel after V2 on the ray from the centre of V1 in the direction
// (INC, JNC, KNC).  A zero direction, or a ray that has no face of V2 ahead
// of it, gives V2.
void voxels_step_3d(const int32_t* v1, const int32_t* v2, int32_t inc, int32_t jnc, int32_t knc, int32_t* v3);

// Labels the regions of ISHOW(NX, NY, NZ) (0 empty, anything else active)
// connected through faces, edges or corners, numbered 1, 2, ... in the order
// of their first voxel (k slowest, i fastest).  LIST(LIST_MAX) gets, region
// by region, the (i, j, k) of its voxels in the order labelled and then its
// voxel count; LIST_NUM is the length needed.  A LIST too short is warned
// about (ISHOW is still complete); a region too deep for the 100-entry work
// stack ends the run.
void voxels_region_3d(int32_t list_max, int32_t nx, int32_t ny, int32_t nz, int32_t* ishow, int32_t& list_num,
                      int32_t* list, int32_t& region_num);

}  // namespace orvel::geometry
