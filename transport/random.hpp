// The run's single uniform random generator: the minimal-standard
// multiplicative congruential generator (multiplier 48271, modulus 2^31 - 1).
// Every random draw of the model comes from it, in a fixed order, so a run
// is reproducible bit for bit.
#pragma once

#include <cstdint>

namespace orvel {

// Sets the generator state (a never-seeded generator starts from state 1).
void srand(int32_t seed);

// Next value, single precision, above 0 and at most 0.9999998807907104.  The
// argument is unused (callers pass 0).
float rand(int32_t flag = 0);

// The current state, for tests and diagnostics.
int32_t rand_state();

}  // namespace orvel
