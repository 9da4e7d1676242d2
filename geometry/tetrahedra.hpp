// Measures of one tetrahedron TETRA(3,4), vertices A, B, C, D in columns 1
// to 4.  Edges 1 = AB, 2 = AC, 3 = AD, 4 = BC, 5 = BD, 6 = CD; faces 1 = ABC,
// 2 = ABD, 3 = ACD, 4 = BCD (their vertices in that order); vertex k is
// column k.  No routine needs a particular orientation.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// XSI(k) weighs vertex k, summing to 1; coplanar vertices end the run.
void tetrahedron_barycentric_3d(const double* tetra, const double* p, double* xsi);
void tetrahedron_centroid_3d(const double* tetra, double* centroid);
// Never negative.
void tetrahedron_volume_3d(const double* tetra, double& volume);
void tetrahedron_edge_length_3d(const double* tetra, double* edge_length);
void tetrahedron_face_areas_3d(const double* tetra, double* areas);
// Column f: the angles of face f at its first, second and third vertex.
void tetrahedron_face_angles_3d(const double* tetra, double* angles);
// Interior angle between the two faces that meet at each edge, in [0, pi].
void tetrahedron_dihedral_angles_3d(const double* tetra, double* angles);
// Solid angle at each vertex: its three dihedral angles less pi.
void tetrahedron_solid_angles_3d(const double* tetra, double* angle);

}  // namespace orvel::geometry
