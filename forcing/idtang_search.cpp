// Plain and indexed searches of the triangulation.
#include "forcing/idtang_search.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orvel::idtang_search {

namespace {

// Squared distance of points i and j (1-based) as the triangulation forms it.
float dsq(std::span<const float> x, std::span<const float> y, int32_t i, int32_t j) {
  const float dx = x[j - 1] - x[i - 1];
  const float dy = y[j - 1] - y[i - 1];
  return dx * dx + dy * dy;
}

bool all_finite(std::span<const float> v) {
  return std::all_of(v.begin(), v.end(), [](float a) { return std::isfinite(a); });
}

}  // namespace

closest_pair closest_pair_scan(std::span<const float> x, std::span<const float> y) {
  const auto n = static_cast<int32_t>(x.size());
  closest_pair r;
  float best = dsq(x, y, 1, 2);
  for (int32_t i = 1; i <= n - 1; ++i) {
    for (int32_t j = i + 1; j <= n; ++j) {
      const float d = dsq(x, y, i, j);
      if (d == 0.0f) return closest_pair{0, 0, false};
      if (d < best) {
        best = d;
        r.i = i;
        r.j = j;
      }
    }
  }
  return r;
}

closest_pair closest_pair_sweep(std::span<const float> x, std::span<const float> y) {
  if (!all_finite(x) || !all_finite(y)) return closest_pair_scan(x, y);
  const auto n = static_cast<int32_t>(x.size());
  std::vector<int32_t> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return x[a - 1] < x[b - 1]; });
  // The squared distance of a pair is at least the square of its x
  // distance (rounding is monotonic), and the x distance grows along the
  // sorted order: past the first point whose squared x distance exceeds the
  // best squared distance no pair can beat or equal it.  Every pair at the
  // best distance (and every pair at distance 0) is therefore met, and the
  // ties are settled by the scan order.
  closest_pair r;
  float best = dsq(x, y, 1, 2);
  for (std::size_t a = 0; a < order.size(); ++a) {
    const int32_t pa = order[a];
    for (std::size_t b = a + 1; b < order.size(); ++b) {
      const int32_t pb = order[b];
      const float dx = x[pb - 1] - x[pa - 1];
      if (dx * dx > best) break;
      const int32_t i = std::min(pa, pb), j = std::max(pa, pb);
      const float d = dsq(x, y, i, j);
      if (d == 0.0f) return closest_pair{0, 0, false};
      if (d < best || (d == best && (i < r.i || (i == r.i && j < r.j)))) {
        best = d;
        r.i = i;
        r.j = j;
      }
    }
  }
  return r;
}

void selection_order_scan(std::span<int32_t> iwp, std::span<float> wk) {
  const auto n = static_cast<int32_t>(iwp.size());
  for (int32_t p = 3; p <= n - 1; ++p) {
    int32_t q = p;
    float dmin = wk[p - 1];
    for (int32_t r = p + 1; r <= n; ++r) {
      if (wk[r - 1] < dmin) {
        dmin = wk[r - 1];
        q = r;
      }
    }
    std::swap(iwp[p - 1], iwp[q - 1]);
    wk[q - 1] = wk[p - 1];
  }
}

void selection_order_indexed(std::span<int32_t> iwp, std::span<float> wk) {
  const auto n = static_cast<int32_t>(iwp.size());
  if (n < 4) return;
  if (std::any_of(wk.begin() + 2, wk.end(), [](float a) { return std::isnan(a); })) {
    return selection_order_scan(iwp, wk);
  }
  // Tournament tree over positions 3..n: each node holds the position of
  // the smallest distance below it, the lower position among equal ones
  // (0 for a node with no position left).
  const int32_t m = n - 2;
  int32_t leaves = 1;
  while (leaves < m) leaves *= 2;
  std::vector<int32_t> tree(2 * static_cast<std::size_t>(leaves), 0);
  auto better = [&](int32_t a, int32_t b) {  // a and b in position order
    if (a == 0) return b;
    if (b == 0) return a;
    return wk[b - 1] < wk[a - 1] ? b : a;
  };
  for (int32_t k = 0; k < m; ++k) tree[static_cast<std::size_t>(leaves + k)] = k + 3;
  for (int32_t v = leaves - 1; v >= 1; --v) tree[v] = better(tree[2 * v], tree[2 * v + 1]);
  auto update = [&](int32_t pos, bool present) {
    std::size_t v = static_cast<std::size_t>(leaves + pos - 3);
    tree[v] = present ? pos : 0;
    for (v /= 2; v >= 1; v /= 2) tree[v] = better(tree[2 * v], tree[2 * v + 1]);
  };
  for (int32_t p = 3; p <= n - 1; ++p) {
    const int32_t q = tree[1];  // positions below p have left the tree
    std::swap(iwp[p - 1], iwp[q - 1]);
    wk[q - 1] = wk[p - 1];
    if (q != p) update(q, true);
    update(p, false);
  }
}

triangles_by_vertex::triangles_by_vertex(int32_t ndp)
    : of_vertex_(static_cast<std::size_t>(std::max(ndp, 0)) + 1) {}

void triangles_by_vertex::set(int32_t t, std::span<const int32_t> old, int32_t a, int32_t b,
                              int32_t c) {
  for (int32_t v : old) {
    auto& l = of_vertex_[static_cast<std::size_t>(v)];
    const auto it = std::find(l.begin(), l.end(), t);
    if (it != l.end()) {
      *it = l.back();
      l.pop_back();
    }
  }
  for (int32_t v : {a, b, c}) of_vertex_[static_cast<std::size_t>(v)].push_back(t);
}

void triangles_by_vertex::find(int32_t e1, int32_t e2, std::span<const int32_t> ipt, int32_t& it1,
                               int32_t& it2) const {
  it1 = 0;
  it2 = 0;
  for (int32_t t : of_vertex_[static_cast<std::size_t>(e1)]) {
    if (t == it1 || t == it2) continue;
    const std::size_t k = 3 * static_cast<std::size_t>(t - 1);
    if (ipt[k] != e2 && ipt[k + 1] != e2 && ipt[k + 2] != e2) continue;
    if (t > it1) {
      it2 = it1;
      it1 = t;
    } else if (t > it2) {
      it2 = t;
    }
  }
}

}  // namespace orvel::idtang_search
