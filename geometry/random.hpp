// The library's random numbers: Park and Miller's minimal standard generator
// (multiplier 16807, modulus 2^31 - 1, Schrage's decomposition) on a seed
// that the caller owns and every routine advances in place, once per uniform
// drawn.  A seed of 0 ends the run.  The normal generators hold back the
// second value of a Box-Muller pair between calls; random_initialize seeds
// the run-time generator RANDOM_NUMBER (geometry/platform.hpp).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

double r8_uniform_01(int32_t& seed);  // (0, 1)
float r4_uniform_01(int32_t& seed);   // (0, 1], 4-byte arithmetic
double r8_uniform(double a, double b, int32_t& seed);
int32_t i4_uniform(int32_t a, int32_t b, int32_t& seed);  // [min(a, b), max(a, b)]
void r8vec_uniform_01(int32_t n, int32_t& seed, double* r);
void r8vec_uniform(int32_t n, double a, double b, int32_t& seed, double* r);
void i4vec_uniform(int32_t n, int32_t a, int32_t b, int32_t& seed, int32_t* x);
void r8mat_uniform_01(int32_t m, int32_t n, int32_t& seed, double* r);
void r8mat_uniform(int32_t m, int32_t n, double a, double b, int32_t& seed, double* r);
// Standard normal values; every second call returns the held-back value.
double r8_normal_01(int32_t& seed);
// n standard normal values into x; n < 0 sets n to the count made so far and
// clears the held-back value.
void r8vec_normal_01(int32_t& n, int32_t& seed, double* x);
// A seed from the local date and time.
void get_seed(int32_t& seed);
// Seeds RANDOM_NUMBER with seed, or with the tick count when seed is 0
// (which it then returns).
void random_initialize(int32_t& seed);

// Tests only: the normal generators' state back to its start.
void random_reset_normal_state();

}  // namespace orvel::geometry
