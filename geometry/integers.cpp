#include "geometry/integers.hpp"

#include <algorithm>
#include <vector>

namespace orvel::geometry {

int32_t i4_huge() { return 2147483647; }

void i4_swap(int32_t& i, int32_t& j) {
  const int32_t k = i;
  i = j;
  j = k;
}

int32_t i4_gcd(int32_t i, int32_t j) {
  if (i == 0) return std::max(1, wrap_abs(j));
  if (j == 0) return std::max(1, wrap_abs(i));
  int32_t p = std::max(wrap_abs(i), wrap_abs(j));
  int32_t q = std::min(wrap_abs(i), wrap_abs(j));
  for (;;) {
    const int32_t r = wrap_rem(p, q);
    if (r == 0) return q;
    p = q;
    q = r;
  }
}

int32_t i4_lcm(int32_t i, int32_t j) { return wrap_abs(wrap_mul(i, wrap_div(j, i4_gcd(i, j)))); }

int32_t i4_modp(int32_t i, int32_t j) {
  if (j == 0) fatal("I4_MODP", {"  I4_MODP ( I, J ) called with J = " + fmt_i(j, 8)});
  int32_t value = wrap_rem(i, j);
  if (value < 0) value = wrap_add(value, wrap_abs(j));
  return value;
}

int32_t i4_wrap(int32_t i, int32_t ilo, int32_t ihi) {
  const int32_t jlo = std::min(ilo, ihi);
  const int32_t jhi = std::max(ilo, ihi);
  const int32_t wide = wrap_sub(wrap_add(jhi, 1), jlo);
  if (wide == 1) return jlo;
  return wrap_add(jlo, i4_modp(wrap_sub(i, jlo), wide));
}

int32_t i4_factorial2(int32_t n) {
  if (n < 2) return 1;
  int32_t value = 1;
  for (int32_t k = n; k > 1; k -= 2) value = wrap_mul(value, k);
  return value;
}

double i4_dedekind_factor(int32_t p, int32_t q) {
  if (q == 0) return 0.0;
  if (wrap_rem(p, q) == 0) return 0.0;
  return static_cast<double>(p) / static_cast<double>(q) - static_cast<double>(wrap_div(p, q)) - 0.5;
}

void i4_dedekind_sum(int32_t p, int32_t q, double& s) {
  s = 0.0;
  int32_t pi = 0;  // p * i as a running sum
  for (int32_t i = 1; i <= q; ++i) {
    pi = wrap_add(pi, p);
    s = s + i4_dedekind_factor(i, q) * i4_dedekind_factor(pi, q);
    if (i == q) break;
  }
}

void i4vec_indicator(int32_t n, int32_t* a) {
  const vec_ref A(a, n);
  for (int32_t i = 1; i <= n; ++i) A(i) = i;
}

int32_t i4vec_lcm(int32_t n, const int32_t* v) {
  const vec_ref V(v, n);
  int32_t lcm = 1;
  for (int32_t i = 1; i <= n; ++i) {
    if (V(i) == 0) return 0;
    lcm = i4_lcm(lcm, V(i));
  }
  return lcm;
}

void combin2(int32_t n, int32_t k, int32_t& c) {
  const int32_t mn = std::min(k, wrap_sub(n, k));
  if (mn < 0) {
    c = 0;
    return;
  }
  if (mn == 0) {
    c = 1;
    return;
  }
  const int32_t mx = std::max(k, wrap_sub(n, k));
  c = wrap_add(mx, 1);
  for (int32_t i = 2; i <= mn; ++i) c = wrap_mul(c, wrap_add(mx, i)) / i;
}

void perm_inverse(int32_t n, int32_t* p) {
  if (n < 1) fatal("PERM_INVERSE", {"  Input value of N = " + fmt_i(n, 8)});
  const vec_ref P(p, n);
  // The sign marks below follow the cycles through P: an entry outside 1..N
  // or a repeated one would lead them outside the array.
  std::vector<char> seen(static_cast<std::size_t>(n) + 1, 0);
  for (int32_t i = 1; i <= n; ++i) {
    if (P(i) < 1 || P(i) > n || seen[P(i)]) {
      fatal("PERM_INVERSE", {"  P is not a permutation of 1 to N."});
    }
    seen[P(i)] = 1;
  }
  for (int32_t i = 1; i <= n; ++i) {
    int32_t i1 = P(i);
    while (i < i1) {
      const int32_t i2 = P(i1);
      P(i1) = -i2;
      i1 = i2;
    }
    P(i) = -P(i);
  }
  for (int32_t i = 1; i <= n; ++i) {
    int32_t i1 = -P(i);
    if (0 <= i1) {
      int32_t i0 = i;
      for (;;) {
        const int32_t i2 = P(i1);
        P(i1) = i0;
        if (i2 < 0) break;
        i0 = i1;
        i1 = i2;
      }
    }
  }
}

}  // namespace orvel::geometry
