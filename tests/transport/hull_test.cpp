#include "transport/hull.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace orvel {
namespace {

struct hull {
  std::vector<int32_t> vertex;
  int32_t nvert;
};

hull run_envelope(const std::vector<double>& x, const std::vector<double>& y, int32_t nvert_before = -99) {
  const int32_t n = static_cast<int32_t>(x.size());
  std::vector<int32_t> vertex(std::max(n, 1), -5), iwk(std::max(n, 1), 0);
  int32_t nvert = nvert_before;
  envelope(x.data(), y.data(), n, vertex.data(), nvert, iwk.data());
  vertex.resize(std::max(nvert, 0));
  return {vertex, nvert};
}

float area_of(const std::vector<double>& x, const std::vector<double>& y) {
  float a = -1.0f;
  polyarea(x.data(), y.data(), static_cast<int32_t>(x.size()), a);
  return a;
}

TEST(Envelope, SmallCases) {
  // The unit square with its centre: corners clockwise from (0, 0).
  const hull sq = run_envelope({0, 1, 1, 0, 0.5}, {0, 0, 1, 1, 0.5});
  EXPECT_EQ(sq.nvert, 4);
  EXPECT_EQ(sq.vertex, (std::vector<int32_t>{1, 4, 3, 2}));
  // A point in the middle of an edge is not a corner.
  EXPECT_EQ(run_envelope({0, 1, 1, 0, 0.5}, {0, 0, 1, 1, 1}).vertex, (std::vector<int32_t>{1, 4, 3, 2}));
  // A point on the line from a corner to the corner found after it (on a
  // side of the final hull) is dropped, as is one inside.
  EXPECT_EQ(run_envelope({0, 4, 2, 1, 2, 2}, {0, 0, 4, 2, -1, 1}).vertex, (std::vector<int32_t>{1, 3, 2, 5}));
  // Points on a vertical line: the lowest, then the highest.
  EXPECT_EQ(run_envelope({2, 2, 2, 2, 2}, {3, 1, 5, 4, 2}).vertex, (std::vector<int32_t>{2, 3}));
  // All points identical: the first one.
  EXPECT_EQ(run_envelope({7, 7, 7}, {1, 1, 1}).vertex, (std::vector<int32_t>{1}));
  // Two points.
  EXPECT_EQ(run_envelope({3, 1}, {0, 0}).vertex, (std::vector<int32_t>{2, 1}));
  // One point, and none: the points it has, not a stale count.
  const hull one = run_envelope({4}, {4});
  EXPECT_EQ(one.nvert, 1);
  EXPECT_EQ(one.vertex, (std::vector<int32_t>{1}));
  EXPECT_EQ(run_envelope({}, {}).nvert, 0);
}

// Hull by brute force on points with exact orientation tests: the corners
// (points strictly outside the line through any two others' hull edge),
// clockwise from the point of least x.
std::vector<int32_t> brute_force_hull(const std::vector<double>& x, const std::vector<double>& y) {
  const int n = static_cast<int>(x.size());
  std::vector<int32_t> idx(n);
  std::iota(idx.begin(), idx.end(), 1);
  std::sort(idx.begin(), idx.end(), [&](int32_t a, int32_t b) {
    return x[a - 1] != x[b - 1] ? x[a - 1] < x[b - 1] : y[a - 1] < y[b - 1];
  });
  auto cross = [&](int32_t o, int32_t a, int32_t b) {
    return (x[a - 1] - x[o - 1]) * (y[b - 1] - y[o - 1]) - (y[a - 1] - y[o - 1]) * (x[b - 1] - x[o - 1]);
  };
  // Andrew's monotone chain, counter-clockwise, collinear points removed.
  std::vector<int32_t> h(2 * n);
  int k = 0;
  for (int i = 0; i < n; ++i) {
    while (k >= 2 && cross(h[k - 2], h[k - 1], idx[i]) <= 0) --k;
    h[k++] = idx[i];
  }
  for (int i = n - 2, t = k + 1; i >= 0; --i) {
    while (k >= t && cross(h[k - 2], h[k - 1], idx[i]) <= 0) --k;
    h[k++] = idx[i];
  }
  h.resize(k - 1);
  std::reverse(h.begin(), h.end());  // clockwise
  const auto first = std::find(h.begin(), h.end(), idx[0]);
  std::rotate(h.begin(), first, h.end());
  return h;
}

TEST(Envelope, AgreesWithABruteForceHullOnRandomClouds) {
  // Coordinates on a 2^-20 lattice in [0, 1]: exact in single precision, and
  // every orientation test above is exact in double precision.  Longitudes
  // are distinct, so the point of least x is unique.
  std::mt19937_64 g(5);
  for (int cloud = 0; cloud < 300; ++cloud) {
    const int n = 3 + static_cast<int>(g() % 400);
    std::vector<double> x, y;
    std::vector<int64_t> used;
    while (static_cast<int>(x.size()) < n) {
      const int64_t ix = static_cast<int64_t>(g() % (1 << 20));
      if (std::find(used.begin(), used.end(), ix) != used.end()) continue;
      used.push_back(ix);
      x.push_back(std::ldexp(static_cast<double>(ix), -20));
      const double u = std::ldexp(static_cast<double>(g() % (1 << 20)), -20);
      // Half the clouds fill the square, half lie near a circle (many corners).
      double v = u;
      if (cloud % 2) {
        const double half = std::sqrt(std::max(0.0, 0.25 - (x.back() - 0.5) * (x.back() - 0.5)));
        v = 0.5 + (g() % 2 ? half : -half) * (1.0 - 0.01 * u);
      }
      y.push_back(std::ldexp(std::round(std::ldexp(v, 20)), -20));
    }
    const hull h = run_envelope(x, y);
    ASSERT_EQ(h.vertex, brute_force_hull(x, y)) << "cloud " << cloud << ", " << n << " points";
  }
}

TEST(Envelope, MoreThanTenThousandCorners) {
  // A convex polygon with integer corners: its edges are the primitive
  // vectors (a, b), 1 <= a, b <= 71, and their rotations by 90 degrees,
  // sorted by angle (12260 corners).  Shuffled, with interior points added.
  std::vector<std::pair<int, int>> dirs;
  for (int a = 1; a <= 71; ++a)
    for (int b = 1; b <= 71; ++b)
      if (std::gcd(a, b) == 1) dirs.push_back({a, b});
  std::vector<std::pair<int, int>> all;
  for (auto [a, b] : dirs) {
    all.push_back({a, b});
    all.push_back({-b, a});
    all.push_back({-a, -b});
    all.push_back({b, -a});
  }
  std::sort(all.begin(), all.end(), [](auto p, auto q) { return std::atan2(p.second, p.first) < std::atan2(q.second, q.first); });
  std::vector<double> cx, cy;
  long long px = 0, py = 0;
  for (auto [a, b] : all) {
    cx.push_back(static_cast<double>(px));
    cy.push_back(static_cast<double>(py));
    px += a;
    py += b;
  }
  ASSERT_EQ(px, 0);
  ASSERT_EQ(py, 0);
  const int corners = static_cast<int>(cx.size());
  ASSERT_GT(corners, 10000);
  const double mx = std::accumulate(cx.begin(), cx.end(), 0.0) / corners;
  const double my = std::accumulate(cy.begin(), cy.end(), 0.0) / corners;
  std::mt19937_64 g(11);
  std::vector<int> order(corners + 3000);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), g);
  std::vector<double> x(order.size()), y(order.size());
  for (size_t k = 0; k < order.size(); ++k) {
    if (order[k] < corners) {
      x[k] = cx[order[k]];
      y[k] = cy[order[k]];
    } else {  // well inside
      x[k] = std::round(mx + static_cast<double>(g() % 20001) - 10000.0);
      y[k] = std::round(my + static_cast<double>(g() % 20001) - 10000.0);
    }
  }
  const hull h = run_envelope(x, y);
  EXPECT_EQ(h.nvert, corners);
  EXPECT_EQ(h.vertex, brute_force_hull(x, y));
}

TEST(PolyArea, ExactAreas) {
  EXPECT_EQ(area_of({0, 1, 1, 0}, {0, 0, 1, 1}), 1.0f);
  EXPECT_EQ(area_of({0, 0, 1, 1, 0}, {0, 1, 1, 0, 0}), 1.0f);  // closing point repeated, clockwise
  EXPECT_EQ(area_of({0, 0, 1}, {0, 1, 0}), 0.5f);
  EXPECT_EQ(area_of({0, 1, 0}, {0, 0, 1}), 0.5f);
  EXPECT_EQ(area_of({0, 0, 1, 0}, {0, 1, 0, 0}), 0.5f);  // a closed triangle
  EXPECT_EQ(area_of({0, 1}, {0, 1}), 0.0f);
  EXPECT_EQ(area_of({}, {}), 0.0f);
  // A square of side 2 centred on (300, 40), as hull corners arrive.
  EXPECT_EQ(area_of({299, 299, 301, 301}, {39, 41, 41, 39}), 4.0f);
  // Regular polygons of radius 2: N/2 R^2 sin(2 pi / N).
  for (int n : {5, 12, 100, 1000}) {
    std::vector<double> x, y;
    for (int k = 0; k < n; ++k) {
      x.push_back(2.0 * std::cos(2 * M_PI * k / n));
      y.push_back(2.0 * std::sin(2 * M_PI * k / n));
    }
    const double exact = n / 2.0 * 4.0 * std::sin(2 * M_PI / n);
    EXPECT_NEAR(area_of(x, y), exact, 2e-6 * exact) << n << " sides";
  }
}

TEST(PolyArea, HullOfACloudGivesItsArea) {
  // The hull of a cloud filling a 0.02 x 0.01 degree rectangle at (300, 40).
  // The hull's dividing lines are taken in single precision (steps of about
  // 3e-5 degree here), so points along the sides within such a step of the
  // line count as corners; every corner lies on the rectangle's sides and
  // the area is the rectangle's to within that precision.
  std::vector<double> x, y;
  for (int i = 0; i <= 40; ++i)
    for (int j = 0; j <= 20; ++j) {
      x.push_back(300.0 + i * 0.0005);
      y.push_back(40.0 + j * 0.0005);
    }
  const hull h = run_envelope(x, y);
  ASSERT_GE(h.nvert, 4);
  std::vector<double> hx, hy;
  for (int32_t v : h.vertex) {
    hx.push_back(x[v - 1]);
    hy.push_back(y[v - 1]);
    const bool on_side = std::fabs(hx.back() - 300.0) < 1e-9 || std::fabs(hx.back() - 300.02) < 1e-9 ||
                         std::fabs(hy.back() - 40.0) < 1e-9 || std::fabs(hy.back() - 40.01) < 1e-9;
    EXPECT_TRUE(on_side) << hx.back() << " " << hy.back();
  }
  EXPECT_EQ(h.vertex[0], 1);  // clockwise from the point of least x
  EXPECT_NEAR(area_of(hx, hy), 0.0002, 0.0002 * 0.01);
}

}  // namespace
}  // namespace orvel
