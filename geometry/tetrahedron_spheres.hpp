// The circumscribed and inscribed spheres of a tetrahedron TETRA(3,4)
// (vertices A, B, C, D in columns 1 to 4), four shape qualities (1 for a
// regular tetrahedron, 0 for a flat one), point containment, uniform random
// points, and the lattice points V >= 0 of the lattice tetrahedron C(4):
// weights C(1..3) and bound (or layer) C(4), as the simplex enumerators in
// three dimensions (simplices.hpp).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// R = -1 and PC = 0 for a degenerate tetrahedron (nothing printed).
void tetrahedron_circumsphere_3d(const double* tetra, double& r, double* pc);
// Centre: the vertices weighted by the areas of their opposite faces;
// R = 3 volume / surface area.  No surface at all: R = 0, PC = A.
void tetrahedron_insphere_3d(const double* tetra, double& r, double* pc);
// 3 inradius / circumradius.
void tetrahedron_quality1_3d(const double* tetra, double& quality);
// 2 sqrt(6) inradius / longest edge (0 when every edge has length 0).
void tetrahedron_quality2_3d(const double* tetra, double& quality);
// 12 (3 volume)^(2/3) / sum of squared edges.
void tetrahedron_quality3_3d(const double* tetra, double& quality);
// 3 sqrt(6) / 2 times the smallest sine of half a vertex's solid angle.
void tetrahedron_quality4_3d(const double* tetra, double& quality);
// The closed tetrahedron; a degenerate one ends the run.
void tetrahedron_contains_point_3d(const double* tetra, const double* p, bool& inside);
// Three uniform numbers per point from SEED (N < 1 draws none).
void tetrahedron_sample_3d(const double* tetra, int32_t n, int32_t& seed, double* p);
void tetrahedron_lattice_point_next(const int32_t* c, int32_t* v, bool& more);
void tetrahedron_lattice_layer_point_next(const int32_t* c, int32_t* v, bool& more);
// (S + 1)(S + 2)(S + 3) / 6.
void tetrahedron_unit_lattice_point_num_3d(int32_t s, int32_t& n);

}  // namespace orvel::geometry
