// Measures of a closed polyhedron: vertex coordinates COORD(3, NODE_NUM),
// face orders ORDER(FACE_NUM) and 1-based vertex lists, each face
// counterclockwise seen from outside for a positive volume.  Two layouts of
// the lists: a face per row, NODE(FACE_NUM, ORDER_MAX), for the area,
// centroid and volumes; a face per column, FACE_POINT(FACE_ORDER_MAX,
// FACE_NUM) as the stored solids give it, for the containment test (which
// also takes its arguments in another order).  A face order outside
// 0 .. ORDER_MAX or a vertex number outside 1 .. NODE_NUM ends the run.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void polyhedron_area_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                        int32_t node_num, const int32_t* order, double& area);
// The tetrahedra from each face's fan to an inner reference point (the
// area-weighted mean of the face centroids), weighted by their volumes:
// right for convex solids.  A zero total face area takes vertex 1 as the
// reference point, a zero total volume gives the reference point, and
// NODE_NUM < 1 gives 0.
void polyhedron_centroid_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                            int32_t node_num, const int32_t* order, double* centroid);
// Signed volumes: by each face's fan from its last vertex, and by the face
// area vectors.  They agree for planar faces.
void polyhedron_volume_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                          int32_t node_num, const int32_t* order, double& volume);
void polyhedron_volume_3d_2(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                            int32_t node_num, const int32_t* order, double& volume);
// By the total solid angle of the faces seen from P (about 4 pi inside, 0
// outside), either orientation.
void polyhedron_contains_point_3d(int32_t node_num, int32_t face_num, int32_t face_order_max, const double* v,
                                  const int32_t* face_order, const int32_t* face_point, const double* p,
                                  bool& inside);

}  // namespace orvel::geometry
