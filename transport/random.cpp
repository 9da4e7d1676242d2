#include "transport/random.hpp"

namespace orvel {
namespace {
int32_t state = 1;
}

void srand(int32_t seed) { state = seed; }

int32_t rand_state() { return state; }

float rand(int32_t) {
  // A zero state would stay zero for ever: it is taken as -1, so seeding with
  // 0 behaves as seeding with 2^31 - 2.
  int32_t s = state == 0 ? -1 : state;
  // Schrage's method: 48271 * s mod (2^31 - 1) without overflow.
  const int32_t q = s / 44488;
  const int32_t r = s - 44488 * q;
  int32_t t = 48271 * r - 3399 * q;
  if (t <= 0) t += 2147483647;
  state = t;
  const float v = static_cast<float>(t) * 4.656612873077393e-10f;
  return v >= 0.9999998807907104f ? 0.9999998807907104f : v;
}

}  // namespace orvel
