// Polyhedral shapes: eight stored solids, the dual of any solid, and a
// printed description.
//
// A solid is described by POINT_COORD(3, POINT_NUM), FACE_ORDER(FACE_NUM)
// and FACE_POINT(FACE_ORDER_MAX, FACE_NUM): column f lists the 1-based
// vertices of face f counterclockwise as seen from outside, entries past
// FACE_ORDER(f) padded (-1 in the stored tables).  Call a size routine
// first and its shape routine with exactly the counts it gave.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void cube_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void cube_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                   int32_t* face_order, int32_t* face_point);
void dodec_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void dodec_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                    int32_t* face_order, int32_t* face_point);
void icos_size(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
// Also gives the 30 edges, EDGE_POINT(2, EDGE_NUM), lower vertex first.
void icos_shape(int32_t point_num, int32_t edge_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                int32_t* edge_point, int32_t* face_order, int32_t* face_point);
void octahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void octahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                         int32_t* face_order, int32_t* face_point);
// The truncated icosahedron.
void soccer_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void soccer_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                     int32_t* face_order, int32_t* face_point);
void tetrahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void tetrahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                          int32_t* face_order, int32_t* face_point);
// A tetrahedron with its edge midpoints: four six-node faces.  EDGE_NUM
// counts the six edges of the tetrahedron.
void tetrahedron_rhombic_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void tetrahedron_rhombic_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                                  int32_t* face_order, int32_t* face_point);
void truncated_octahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max);
void truncated_octahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                                   int32_t* face_order, int32_t* face_point);

// Counts of the dual: its vertices are the faces, its faces the vertices,
// and FACE_ORDER_MAX2 the most faces meeting at one vertex (-2147483648
// when there is no vertex).  The coordinates are not read.
void dual_size_3d(int32_t point_num, int32_t edge_num, int32_t face_num, int32_t face_order_max,
                  const double* point_coord, const int32_t* face_order, const int32_t* face_point, int32_t& point_num2,
                  int32_t& edge_num2, int32_t& face_num2, int32_t& face_order_max2);
// The dual: vertex f is the direction of the centroid of face f on the unit
// sphere (not finite when the face's vertices sum to zero); dual face I
// lists the faces around vertex I, starting with the first face naming it
// and turning across the edges at I.  Ends the run when a vertex is in no
// face, an edge has no face on its other side, or more than FACE_ORDER_MAX2
// faces meet at a vertex.
void dual_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, const double* point_coord,
                   const int32_t* face_order, const int32_t* face_point, int32_t point_num2, int32_t face_num2,
                   int32_t face_order_max2, double* point_coord2, int32_t* face_order2, int32_t* face_point2);

void shape_print_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, const double* point_coord,
                    const int32_t* face_order, const int32_t* face_point);

}  // namespace orvel::geometry
