// Random unit vectors in 2, 3 and N dimensions, random points in the unit
// ball and a random perturbation of a direction in space, all drawn through
// the caller's SEED (geometry/random.hpp).  Each routine fixes which uniforms
// or normals it draws and in which order; the pairs of names with one method
// give identical vectors and leave identical seeds.  The N-dimensional
// normal method shares the held-back value of r8vec_normal_01 with every
// other caller of it.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// One uniform: the angle.
void direction_uniform_2d(int32_t& seed, double* vec);
void sphere_unit_sample_2d(int32_t& seed, double* x);
// Two uniforms: the cosine of the polar angle, then the longitude.
void direction_uniform_3d(int32_t& seed, double* vec);
void sphere_unit_sample_3d(int32_t& seed, double* x);
// Two uniforms: the polar angle itself (crowding toward the poles), then the
// longitude.
void sphere_unit_sample_3d_2(int32_t& seed, double* x);
// dim_num normal values, normalised; dim_num < 1 draws and writes nothing.
void direction_uniform_nd(int32_t dim_num, int32_t& seed, double* w);
void sphere_unit_sample_nd_2(int32_t dim_num, int32_t& seed, double* x);
// Two uniforms per coordinate after the first (a cosine, then a sign);
// dim_num < 1 draws and writes nothing.
void sphere_unit_sample_nd(int32_t dim_num, int32_t& seed, double* x);
// dim_num uniforms per attempt until a point of the cube falls in the ball.
void sphere_unit_sample_nd_3(int32_t dim_num, int32_t& seed, double* x);
void ball_unit_sample_2d(int32_t& seed, double* x);
void ball_unit_sample_3d(int32_t& seed, double* x);
// sphere_unit_sample_nd, then one uniform for the radius; dim_num < 1 draws
// and writes nothing.
void ball_unit_sample_nd(int32_t dim_num, int32_t& seed, double* x);
// A unit vector at a random angle from VBASE whose spread SIGMA sets:
// SIGMA >= 1 gives VBASE (nothing drawn), SIGMA <= 0 a uniform direction.
void direction_pert_3d(double sigma, const double* vbase, int32_t& seed, double* vran);

}  // namespace orvel::geometry
