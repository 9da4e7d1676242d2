#include "transport/random.hpp"

namespace orvel {

int32_t rand_state_after(int32_t s, int64_t n) {
  using namespace random_detail;
  if (n <= 0) return s;
  // The first step is the literal one (it maps every state, 0 and negative
  // ones included, into 1 .. 2^31 - 1); the rest multiply by 48271^(n - 1)
  // modulo 2^31 - 1.
  s = next_literal(s);
  --n;
  if (s == modulus) return s;  // a fixed point of the literal step
  uint64_t result = static_cast<uint64_t>(s);
  uint64_t base = 48271;
  const uint64_t m = static_cast<uint64_t>(modulus);
  while (n > 0) {
    if (n & 1) result = result * base % m;
    base = base * base % m;
    n >>= 1;
  }
  return static_cast<int32_t>(result);
}

}  // namespace orvel
