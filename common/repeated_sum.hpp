// The sum that `double s = 0.0; for (n times) s += c;` computes, without the
// n dependent additions.
#pragma once

#include <cstdint>

namespace orvel {

// 0.0 + c + c + ... + c (n terms), rounded after each addition exactly as
// the loop rounds it (round to nearest, ties to even).  While the partial
// sum stays in one binade, each addition adds the same multiple of its last
// place, so whole runs of additions are made at once; ties and the edges
// of the exponent range are taken one addition at a time.
double repeated_sum(double c, int64_t n);

// The sum that `float s = 0.0f; for (n times) s = (float)((double)s + c);`
// computes: each addition in double precision, the running sum rounded to
// single precision after each one.  Within one single-precision binade of
// the sum the double rounding of s + c adds the same fraction of the sum's
// last place every time, so the same runs of additions are made at once.
float repeated_sum_single(double c, int64_t n);

}  // namespace orvel
