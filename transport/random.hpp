// The run's single uniform random generator: the minimal-standard
// multiplicative congruential generator (multiplier 48271, modulus 2^31 - 1).
// Every random draw of the model comes from it, in a fixed order, so a run
// is reproducible bit for bit.
#pragma once

#include <cstdint>

namespace orvel {

namespace random_detail {

// The generator state (a never-seeded generator starts from state 1).
inline int32_t state = 1;

inline constexpr int32_t modulus = 2147483647;

// The state that follows s, by Schrage's method: 48271 * s mod (2^31 - 1)
// without overflow.  A zero state would stay zero for ever: it is taken as
// -1, so seeding with 0 behaves as seeding with 2^31 - 2.
inline int32_t next_literal(int32_t s) {
  if (s == 0) s = -1;
  const int32_t q = s / 44488;
  const int32_t r = s - 44488 * q;
  int32_t t = 48271 * r - 3399 * q;
  if (t <= 0) t += modulus;
  return t;
}

// The same for the states 1 .. 2^31 - 2 that a run passes through after its
// first draw, without a division: 2^31 = 1 modulo 2^31 - 1, so the high part
// of the product folds onto the low part.
inline int32_t next(int32_t s) {
  if (s <= 0 || s == modulus) return next_literal(s);
  const uint64_t p = uint64_t{48271} * static_cast<uint64_t>(s);
  uint64_t t = (p & 0x7fffffffu) + (p >> 31);
  if (t >= static_cast<uint64_t>(modulus)) t -= static_cast<uint64_t>(modulus);
  return static_cast<int32_t>(t);
}

// The value drawn when the generator moves to state t.
inline float value(int32_t t) {
  const float v = static_cast<float>(t) * 4.656612873077393e-10f;
  return v >= 0.9999998807907104f ? 0.9999998807907104f : v;
}

}  // namespace random_detail

// Sets the generator state.
inline void srand(int32_t seed) { random_detail::state = seed; }

// Next value, single precision, above 0 and at most 0.9999998807907104.  The
// argument is unused (callers pass 0).
inline float rand(int32_t = 0) {
  random_detail::state = random_detail::next(random_detail::state);
  return random_detail::value(random_detail::state);
}

// The current state, for tests and diagnostics.
inline int32_t rand_state() { return random_detail::state; }

// The state after n further draws from state s (n >= 0), in O(log n) steps:
// a block of draws can start where the draws before it end without making
// them.
int32_t rand_state_after(int32_t s, int64_t n);

}  // namespace orvel
