// Checks shared by the lattice enumerators of triangles, tetrahedra and
// simplices: the points an enumerator gives, and the same set found by
// brute force over a box.
#pragma once

#include <cstdint>
#include <functional>
#include <numeric>
#include <set>
#include <vector>

namespace orvel::geometry::testing {

using lattice_point = std::vector<int32_t>;

// The points of one enumeration, in order (at most `limit`, to stop a
// runaway enumerator), with the final V after MORE came back false.
struct enumeration {
  std::vector<lattice_point> points;
  lattice_point last;
};

inline enumeration enumerate(int32_t dim, const std::function<void(int32_t*, bool&)>& next, int limit = 100000) {
  enumeration e;
  lattice_point v(dim, -99);
  bool more = false;
  for (int k = 0; k < limit; ++k) {
    next(v.data(), more);
    if (!more) break;
    e.points.push_back(v);
  }
  e.last = v;
  return e;
}

// LCM times the weighted sum of V for the weights C(1..dim).
inline int64_t scaled_sum(const std::vector<int32_t>& c, const lattice_point& v, int64_t lcm) {
  int64_t s = 0;
  for (std::size_t i = 0; i < v.size(); ++i) s += lcm / c[i] * v[i];
  return s;
}

inline int64_t weight_lcm(const std::vector<int32_t>& c, std::size_t dim) {
  int64_t l = 1;
  for (std::size_t i = 0; i < dim; ++i) l = std::lcm(l, static_cast<int64_t>(c[i]));
  return l;
}

// Every V >= 0 with lo < LCM s(V) <= hi (lo < 0 takes the origin in), by
// brute force over the box V(i) <= C(i) hi / LCM.
inline std::set<lattice_point> brute_force(const std::vector<int32_t>& c, std::size_t dim, int64_t lo, int64_t hi) {
  const int64_t lcm = weight_lcm(c, dim);
  std::set<lattice_point> found;
  lattice_point v(dim, 0);
  for (;;) {
    const int64_t s = scaled_sum(c, v, lcm);
    if (lo < s && s <= hi) found.insert(v);
    std::size_t i = 0;
    for (; i < dim; ++i) {
      if ((v[i] + 1) * (lcm / c[i]) <= hi) {
        ++v[i];
        break;
      }
      v[i] = 0;
    }
    if (i == dim) break;
  }
  return found;
}

}  // namespace orvel::geometry::testing
