// Point sets and independent checks for the tests of the scattered-data
// interpolator.  Geometry here is done in double precision.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "forcing/idbvip.hpp"

namespace orvel::interp_test {

struct points {
  std::vector<float> x, y;
  int32_t n() const { return static_cast<int32_t>(x.size()); }
};

// Uniform in [0, 1) from the raw generator, the same on every platform.
inline float unit(std::mt19937& g) { return static_cast<float>(g() >> 8) * (1.0f / 16777216.0f); }

inline points random_points(uint32_t seed, int32_t n, float x0 = 0.0f, float y0 = 0.0f,
                            float w = 1.0f, float h = 1.0f) {
  std::mt19937 g(seed);
  points p;
  for (int32_t i = 0; i < n; ++i) {
    p.x.push_back(x0 + w * unit(g));
    p.y.push_back(y0 + h * unit(g));
  }
  return p;
}

// nx by ny nodes, spacing d, x fastest.
inline points grid_points(int32_t nx, int32_t ny, float x0 = 0.0f, float y0 = 0.0f,
                          float d = 1.0f) {
  points p;
  for (int32_t j = 0; j < ny; ++j) {
    for (int32_t i = 0; i < nx; ++i) {
      p.x.push_back(x0 + d * static_cast<float>(i));
      p.y.push_back(y0 + d * static_cast<float>(j));
    }
  }
  return p;
}

// n points on a circle, in the order given by `order` (a permutation of
// 0..n-1, or empty for counter-clockwise order).
inline points circle_points(int32_t n, float cx, float cy, float r,
                            const std::vector<int32_t>& order = {}) {
  points p;
  for (int32_t k = 0; k < n; ++k) {
    const int32_t m = order.empty() ? k : order[static_cast<std::size_t>(k)];
    const double a = 2.0 * 3.14159265358979323846 * m / n;
    p.x.push_back(cx + r * static_cast<float>(std::cos(a)));
    p.y.push_back(cy + r * static_cast<float>(std::sin(a)));
  }
  return p;
}

struct triangulation {
  int32_t nt = 0, nl = 0;
  std::vector<int32_t> ipt, ipl;
  int32_t tri(int32_t t, int32_t k) const { return ipt[static_cast<std::size_t>(3 * (t - 1) + k - 1)]; }
  int32_t seg(int32_t s, int32_t k) const { return ipl[static_cast<std::size_t>(3 * (s - 1) + k - 1)]; }
};

inline triangulation triangulate(const points& p) {
  const int32_t n = p.n();
  triangulation t;
  t.ipt.assign(static_cast<std::size_t>(6 * n - 15), 0);
  t.ipl.assign(static_cast<std::size_t>(6 * n), 0);
  std::vector<int32_t> iwl, iwp(static_cast<std::size_t>(n));
  std::vector<float> wk(static_cast<std::size_t>(n));
  idtang(n, p.x, p.y, t.nt, t.ipt, t.nl, t.ipl, iwl, iwp, wk);
  return t;
}

inline double cross_d(const points& p, int32_t a, int32_t b, double x, double y) {
  const double xa = p.x[a - 1], ya = p.y[a - 1], xb = p.x[b - 1], yb = p.y[b - 1];
  return (xa - x) * (yb - y) - (xb - x) * (ya - y);
}

// Convex hull of the points by the monotone chain, counter-clockwise from
// the lowest of the leftmost, closed by that point again.
inline std::vector<std::pair<double, double>> hull_monotone_chain(const points& p) {
  std::vector<std::pair<double, double>> v;
  for (int32_t i = 0; i < p.n(); ++i) v.emplace_back(p.x[i], p.y[i]);
  std::sort(v.begin(), v.end());
  auto turn = [](auto o, auto a, auto b) {
    return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
  };
  std::vector<std::pair<double, double>> h(2 * v.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    while (k >= 2 && turn(h[k - 2], h[k - 1], v[i]) <= 0) --k;
    h[k++] = v[i];
  }
  for (std::size_t i = v.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && turn(h[k - 2], h[k - 1], v[i - 1]) <= 0) --k;
    h[k++] = v[i - 1];
  }
  h.resize(k);
  return h;
}

inline double hull_area_monotone_chain(const points& p) {
  const auto h = hull_monotone_chain(p);
  const std::size_t k = h.size();
  double a = 0.0;
  for (std::size_t i = 0; i + 1 < k; ++i) {
    a += h[i].first * h[i + 1].second - h[i + 1].first * h[i].second;
  }
  return 0.5 * a;
}

// Checks everything a triangulation of the convex hull must satisfy.
inline void expect_valid(const points& p, const triangulation& t) {
  const int32_t n = p.n();
  ASSERT_GE(t.nl, 3);
  EXPECT_EQ(t.nt, 2 * n - 2 - t.nl);
  std::vector<int32_t> used(static_cast<std::size_t>(n + 1), 0);
  std::map<std::pair<int32_t, int32_t>, int32_t> directed;  // directed edge -> triangle
  double area = 0.0;
  for (int32_t k = 1; k <= t.nt; ++k) {
    const int32_t a = t.tri(k, 1), b = t.tri(k, 2), c = t.tri(k, 3);
    ASSERT_TRUE(a >= 1 && a <= n && b >= 1 && b <= n && c >= 1 && c <= n) << "triangle " << k;
    ASSERT_TRUE(a != b && b != c && c != a) << "triangle " << k;
    const double twice = cross_d(p, a, b, p.x[c - 1], p.y[c - 1]);
    EXPECT_GT(twice, 0.0) << "triangle " << k << " is not counter-clockwise";
    area += 0.5 * twice;
    used[a] = used[b] = used[c] = 1;
    for (auto e : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}}) {
      EXPECT_TRUE(directed.emplace(e, k).second) << "edge " << e.first << "-" << e.second
                                                 << " twice in the same direction";
    }
  }
  for (int32_t i = 1; i <= n; ++i) EXPECT_EQ(used[i], 1) << "point " << i << " in no triangle";

  // Border: a closed chain through distinct points whose segments are sides
  // of the named triangles, with the interior on the left.
  std::vector<int32_t> on_border(static_cast<std::size_t>(n + 1), 0);
  double hull = 0.0;
  for (int32_t s = 1; s <= t.nl; ++s) {
    const int32_t a = t.seg(s, 1), b = t.seg(s, 2), k = t.seg(s, 3);
    const int32_t next = t.seg(s % t.nl + 1, 1);
    EXPECT_EQ(b, next) << "segment " << s << " does not end where the next starts";
    EXPECT_EQ(on_border[a], 0) << "point " << a << " twice on the border";
    on_border[a] = 1;
    auto it = directed.find({a, b});
    ASSERT_TRUE(it != directed.end()) << "segment " << s << " is no triangle side";
    EXPECT_EQ(it->second, k) << "segment " << s << " names the wrong triangle";
    EXPECT_TRUE(directed.find({b, a}) == directed.end()) << "segment " << s << " is interior";
    hull += p.x[a - 1] * static_cast<double>(p.y[b - 1]) - p.x[b - 1] * static_cast<double>(p.y[a - 1]);
    // No data point lies outside the segment's line (quadratic: small sets).
    if (n > 3000) continue;
    const double len = std::hypot(p.x[b - 1] - static_cast<double>(p.x[a - 1]),
                                  p.y[b - 1] - static_cast<double>(p.y[a - 1]));
    for (int32_t i = 1; i <= n; ++i) {
      EXPECT_GE(cross_d(p, a, b, p.x[i - 1], p.y[i - 1]) / len, -1e-6 * (1.0 + len))
          << "point " << i << " outside border segment " << s;
    }
  }
  hull *= 0.5;
  // Every interior edge in exactly two triangles, every border edge in one.
  std::size_t border_edges = 0;
  for (const auto& [e, k] : directed) {
    if (directed.find({e.second, e.first}) == directed.end()) ++border_edges;
  }
  EXPECT_EQ(border_edges, static_cast<std::size_t>(t.nl));
  const double hull_ref = hull_area_monotone_chain(p);
  EXPECT_NEAR(area, hull, 1e-9 * std::fabs(hull));
  EXPECT_NEAR(hull, hull_ref, 1e-9 * std::fabs(hull_ref));
}

// Locates points one after the other over one triangulation, as the driver
// does (the section index is built for the first point).
class locator {
 public:
  locator(const points& p, const triangulation& t)
      : p_(p), t_(t), iwk_(static_cast<std::size_t>(18 * p.n())),
        wk_(static_cast<std::size_t>(8 * p.n())) {}
  region_code operator()(double x, double y) {
    region_code r = -1;
    idlctn(p_.n(), p_.x, p_.y, t_.nt, t_.ipt, t_.nl, t_.ipl, x, y, r, iwk_, wk_, idlc_);
    EXPECT_EQ(idlc_.itipv, r);
    return r;
  }
  void forget() { idlc_.itipv = 0; }

 private:
  const points& p_;
  const triangulation& t_;
  std::vector<int32_t> iwk_;
  std::vector<float> wk_;
  idlc_record idlc_;
};

// The text of a run_stop thrown by f, with a check of its stream and status.
template <typename F>
std::string stop_text(F&& f) {
  try {
    f();
  } catch (const run_stop& e) {
    EXPECT_EQ(e.where(), run_stop::stream::out);
    EXPECT_NE(e.status(), 0);
    return e.what();
  }
  ADD_FAILURE() << "no run_stop thrown";
  return "";
}

}  // namespace orvel::interp_test
