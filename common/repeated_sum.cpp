#include "common/repeated_sum.hpp"

#include <algorithm>
#include <cmath>

namespace orvel {
namespace {

// Additions that can be made at once from a partial sum of `big` last
// places of its binade (top / 2 <= big < top), each adding `f` last places
// (exact, below top) rounded to a whole number of them, ties to even:
// `added` gets the last places each one adds.  0 when the next addition
// must be made alone: a tie from an odd partial sum (the ties then
// alternate), or the end of the binade within one addition.  All `left`
// when an addition leaves the sum as it is (added 0): so do the rest.
int64_t additions_at_once(int64_t big, double f, int64_t top, int64_t left, int64_t& added) {
  const double qd = std::floor(f);
  const auto q = static_cast<int64_t>(qd);
  const double r = f - qd;  // the fraction of a last place, exact
  added = q;
  if (r > 0.5) {
    added = q + 1;
  } else if (r == 0.5) {
    // With an even partial sum and an even increment every addition ties
    // the same way.
    added = (q % 2 == 0) ? q : q + 1;
    if (big % 2 != 0) return 0;
  }
  if (added == 0) return left;
  // Addition j (from 0) stays in the binade while its exact sum is below
  // top: big + j added + f < top, which big + j added + q + 1 <= top
  // ensures.
  const int64_t room = top - 1 - q - big;
  if (room < 0) return 0;
  return std::min(room / added + 1, left);
}

}  // namespace

double repeated_sum(double c, int64_t n) {
  double s = 0.0;
  if (n <= 0) return s;
  // Zeros, infinities and NaNs: one addition gives what every later one
  // keeps.
  if (c == 0.0 || !std::isfinite(c)) return s + c;
  // Rounding to nearest is symmetric: the sum of -c is minus that of c.
  const bool negative = c < 0.0;
  const double a = std::fabs(c);
  constexpr int64_t top = int64_t{1} << 53;  // 2^53: one binade in last places
  int64_t k = 0;
  while (k < n) {
    int e = 0;
    (void)std::frexp(s, &e);  // s in [2^(e-1), 2^e)
    // Far from the exponent range's ends, or one addition at a time.
    if (!(s >= 0x1p-900 && e <= 1000)) {
      s += a;
      ++k;
      if (std::isinf(s)) break;
      continue;
    }
    const double u = std::ldexp(1.0, e - 53);  // last place of the binade
    const double au = a / u;                   // exact: a power-of-two scaling
    if (!(au < 0x1p53)) {
      s += a;
      ++k;
      continue;
    }
    const int64_t big = static_cast<int64_t>(s / u);  // s in last places, exact
    int64_t d = 0;
    const int64_t m = additions_at_once(big, au, top, n - k, d);
    if (m == 0) {
      s += a;
      ++k;
      continue;
    }
    s = static_cast<double>(big + m * d) * u;  // at most 2^53: exact
    k += m;
  }
  return negative ? -s : s;
}

float repeated_sum_single(double c, int64_t n) {
  float s = 0.0f;
  if (n <= 0) return s;
  // Not a number: the additions one by one, whatever they make of it.
  if (std::isnan(c)) {
    for (int64_t k = 0; k < n; ++k) s = static_cast<float>(static_cast<double>(s) + c);
    return s;
  }
  // Zeros and infinities: one addition gives what every later one keeps.
  if (c == 0.0 || std::isinf(c)) return static_cast<float>(static_cast<double>(s) + c);
  // Both roundings to nearest are symmetric: the sum of -c is minus that of c.
  const bool negative = c < 0.0;
  const double a = std::fabs(c);
  constexpr int64_t top = int64_t{1} << 24;  // 2^24: one single-precision binade in last places
  int64_t k = 0;
  while (k < n) {
    // Near the ends of the single-precision range, or while c is not small
    // against the sum: one addition at a time.
    if (!(s >= 0x1p-100f && s < 0x1p100f)) {
      s = static_cast<float>(static_cast<double>(s) + a);
      ++k;
      if (std::isinf(s)) break;
      continue;
    }
    int e = 0;
    (void)std::frexp(s, &e);                     // s in [2^(e-1), 2^e)
    const double u = std::ldexp(1.0, e - 24);  // last place of s
    const double au = a / u;                     // exact: a power-of-two scaling
    if (!(au < 0x1p22)) {
      s = static_cast<float>(static_cast<double>(s) + a);
      ++k;
      continue;
    }
    const auto big = static_cast<int64_t>(static_cast<double>(s) / u);  // s in last places, exact
    // While s + c stays below 2^e, the double sum has last places of
    // u / 2^29: it is s plus c rounded to such a place, ties to even (s is a
    // multiple of u, even in those places), the same a1 for every s of the
    // binade.
    // (The binade's end is also where s + c would leave this rounding of
    // the double sum.)
    const double a1 = std::nearbyint(au * 0x1p29) * 0x1p-29;
    int64_t d = 0;
    const int64_t m = additions_at_once(big, a1, top, n - k, d);
    if (m == 0) {
      s = static_cast<float>(static_cast<double>(s) + a);
      ++k;
      continue;
    }
    s = static_cast<float>(static_cast<double>(big + m * d) * u);  // at most 2^24 last places: exact
    k += m;
  }
  return negative ? -s : s;
}

}  // namespace orvel
