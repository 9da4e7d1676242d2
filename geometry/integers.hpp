// Integer utilities: gcd and lcm, the nonnegative remainder, cyclic index
// wrapping, the double factorial, Dedekind sums, the indicator vector, the
// binomial coefficient and the inverse of a permutation.  Overflow wraps
// modulo 2^32; the absolute value of -2147483648 stays negative.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

int32_t i4_huge();
void i4_swap(int32_t& i, int32_t& j);
// 1 when both are 0.
int32_t i4_gcd(int32_t i, int32_t j);
// 0 when i or j is 0.
int32_t i4_lcm(int32_t i, int32_t j);
// Remainder of i by j in [0, |j| - 1]; j = 0 ends the run.
int32_t i4_modp(int32_t i, int32_t j);
// i wrapped into the range between ilo and ihi (either order).
int32_t i4_wrap(int32_t i, int32_t ilo, int32_t ihi);
int32_t i4_factorial2(int32_t n);
// ((p/q)), the sawtooth of p/q; 0 when q divides p and when q = 0.
double i4_dedekind_factor(int32_t p, int32_t q);
void i4_dedekind_sum(int32_t p, int32_t q, double& s);
void i4vec_indicator(int32_t n, int32_t* a);
// Least common multiple of v(1..n): 1 for n < 1, 0 when an entry is 0.
int32_t i4vec_lcm(int32_t n, const int32_t* v);
void combin2(int32_t n, int32_t k, int32_t& c);
// Replaces p by its inverse; n < 1 or a p that is not a permutation of 1..n
// ends the run (p then unchanged).
void perm_inverse(int32_t n, int32_t* p);

}  // namespace orvel::geometry
