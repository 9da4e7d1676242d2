// The indexed searches of the triangulation against the plain scans they
// replace, on random, gridded and degenerate point sets: the same answer
// every time, down to the scratch arrays.
#include "forcing/idtang_search.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::points;
namespace ts = idtang_search;

struct named_points {
  std::string name;
  points p;
};

// Points on a lattice of `cells` x `cells` cells of size d, chosen at
// random: many equal distances, equal x and equal y.
points lattice_points(uint32_t seed, int32_t n, int32_t cells, float d) {
  std::mt19937 g(seed);
  points p;
  for (int32_t k = 0; k < n; ++k) {
    p.x.push_back(d * static_cast<float>(g() % static_cast<uint32_t>(cells)));
    p.y.push_back(d * static_cast<float>(g() % static_cast<uint32_t>(cells)));
  }
  return p;
}

points shuffled(points p, uint32_t seed) {
  std::mt19937 g(seed);
  for (std::size_t i = p.x.size(); i > 1; --i) {
    const std::size_t j = g() % i;
    std::swap(p.x[i - 1], p.x[j]);
    std::swap(p.y[i - 1], p.y[j]);
  }
  return p;
}

// Point sets the triangulation can take (no two equal, not all collinear).
std::vector<named_points> triangulable_sets() {
  std::vector<named_points> c;
  for (int32_t n : {4, 5, 7, 12, 50, 333, 1500}) {
    c.push_back({"random " + std::to_string(n), interp_test::random_points(100 + n, n)});
  }
  // Longitudes + 360 as the regridding gives them.
  c.push_back({"random degrees", interp_test::random_points(7, 800, 355.5f, 42.0f, 2.0f, 1.5f)});
  c.push_back({"grid 2x2", interp_test::grid_points(2, 2)});
  c.push_back({"grid 10x10", interp_test::grid_points(10, 10)});
  c.push_back({"grid 31x17", interp_test::grid_points(31, 17, 350.0f, 40.0f, 0.125f)});
  c.push_back({"grid 30x30 shuffled", shuffled(interp_test::grid_points(30, 30), 3)});
  c.push_back({"circle 64", interp_test::circle_points(64, 0.0f, 0.0f, 1.0f)});
  {
    points p = interp_test::circle_points(90, 2.0f, 2.0f, 1.0f);
    p.x.push_back(2.0f);
    p.y.push_back(2.0f);
    c.push_back({"circle and centre", p});
  }
  {
    // Collinear runs before the first point off the line.
    points p{{0, 1, 2, 3, 4, 5}, {0, 0, 0, 0, 0, 0}};
    for (int k = 0; k < 20; ++k) {
      p.x.push_back(0.5f + static_cast<float>(k));
      p.y.push_back(k % 2 == 0 ? 1.0f : -1.0f);
    }
    c.push_back({"lines", p});
  }
  {
    // A thin sliver: nearly collinear points with a few off the line.
    std::mt19937 g(9);
    points p;
    for (int k = 0; k < 300; ++k) {
      p.x.push_back(static_cast<float>(k) * 0.01f);
      p.y.push_back(static_cast<float>(g() % 3) * 1e-5f);
    }
    c.push_back({"sliver", p});
  }
  {
    // Clusters of close points far apart.
    std::mt19937 g(11);
    points p;
    for (int k = 0; k < 400; ++k) {
      const float cx = static_cast<float>(k % 4) * 2.0f, cy = static_cast<float>(k % 3) * 2.0f;
      p.x.push_back(cx + interp_test::unit(g) * 1e-3f);
      p.y.push_back(cy + interp_test::unit(g) * 1e-3f);
    }
    c.push_back({"clusters", p});
  }
  return c;
}

// ---------------------------------------------------------------------------

TEST(IdtangSearch, ClosestPairSweepEqualsScan) {
  std::vector<named_points> sets = triangulable_sets();
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    // Lattices hold many pairs at the smallest distance, and equal points.
    const int32_t n = 2 + static_cast<int32_t>(seed * 7 % 60);
    sets.push_back({"lattice " + std::to_string(seed), lattice_points(seed, n, 12, 0.25f)});
  }
  sets.push_back({"two points", points{{3, 1}, {0, 0}}});
  sets.push_back({"vertical line", points{{1, 1, 1, 1, 1}, {5, 1, 3, 2, 4.5f}}});
  sets.push_back({"equal later", points{{0, 10, 1, 11, 20}, {0, 0, 0, 0, 0}}});
  // Distinct points whose squared distance underflows to 0.
  sets.push_back({"underflow", points{{0, 1, 2, 2 + 1e-30f}, {0, 5, 0, 0}}});
  // Squared distances that overflow to infinity.
  sets.push_back({"overflow", points{{-3e38f, 3e38f, 0, 1e38f}, {0, 0, 3e38f, -3e38f}}});
  const float nan = std::numeric_limits<float>::quiet_NaN();
  sets.push_back({"not a number", points{{0, nan, 1, 2, 2.5f}, {0, 0, 1, 0, 0}}});
  sets.push_back({"not a number first", points{{nan, 0, 1, 2}, {0, 0, 1, 0}}});
  int duplicates = 0;
  for (const auto& c : sets) {
    SCOPED_TRACE(c.name);
    const ts::closest_pair a = ts::closest_pair_scan(c.p.x, c.p.y);
    const ts::closest_pair b = ts::closest_pair_sweep(c.p.x, c.p.y);
    EXPECT_EQ(a.distinct, b.distinct);
    if (a.distinct) {
      EXPECT_EQ(a.i, b.i);
      EXPECT_EQ(a.j, b.j);
    } else {
      ++duplicates;
    }
  }
  EXPECT_GE(duplicates, 10);  // the lattices hold equal points often enough
}

TEST(IdtangSearch, ClosestPairByHand) {
  // (1,2) and (3,4) at distance 1, (2,5) too: the first in scan order wins.
  const points p{{0, 1, 5, 6, 1}, {0, 0, 0, 0, 1}};
  const ts::closest_pair r = ts::closest_pair_sweep(p.x, p.y);
  EXPECT_TRUE(r.distinct);
  EXPECT_EQ(r.i, 1);
  EXPECT_EQ(r.j, 2);
  const points q{{0, 9, 5, 5.5f, 9.25f}, {0, 0, 0, 0, 0}};
  const ts::closest_pair s = ts::closest_pair_sweep(q.x, q.y);
  EXPECT_EQ(s.i, 2);
  EXPECT_EQ(s.j, 5);
}

TEST(IdtangSearch, SelectionOrderIndexedEqualsScan) {
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<std::vector<float>> cases = {
      {0, 0, 3, 1, 2},
      {0, 0, 1, 1, 1, 1, 0.5f, 1},
      {0, 0, inf, 2, inf, 1, 0},
      {0, 0, 5},
      {0, 0, 5, 4},
      {0, 0, 2, std::numeric_limits<float>::quiet_NaN(), 1, 0.5f},
  };
  std::mt19937 g(5);
  for (int k = 0; k < 60; ++k) {
    std::vector<float> w(2 + g() % 300);
    // Few distinct values: many ties.
    for (float& v : w) v = static_cast<float>(g() % (k % 3 == 0 ? 4 : 1000)) * 0.5f;
    cases.push_back(w);
  }
  for (std::size_t c = 0; c < cases.size(); ++c) {
    SCOPED_TRACE(c);
    std::vector<float> wa = cases[c], wb = cases[c];
    std::vector<int32_t> pa(wa.size()), pb;
    for (std::size_t i = 0; i < pa.size(); ++i) pa[i] = static_cast<int32_t>(i + 1) * 3;
    pb = pa;
    ts::selection_order_scan(pa, wa);
    ts::selection_order_indexed(pb, wb);
    EXPECT_EQ(pa, pb);
    // Bytes of the distances, so that NaN compares too.
    ASSERT_EQ(wa.size(), wb.size());
    for (std::size_t i = 0; i < wa.size(); ++i) {
      EXPECT_EQ(std::memcmp(&wa[i], &wb[i], sizeof(float)), 0) << i;
    }
  }
}

// Runs a triangulation and returns everything it writes, or the stop text.
struct outcome {
  std::string stop;
  int32_t nt = 0, nl = 0;
  std::vector<int32_t> ipt, ipl, iwl, iwp;
  std::vector<float> wk;
};
template <typename F>
outcome run(const points& p, F triangulate) {
  const int32_t n = p.n();
  outcome o;
  o.ipt.assign(static_cast<std::size_t>(std::max(6 * n - 15, 0)), -7);
  o.ipl.assign(static_cast<std::size_t>(6 * n), -7);
  o.iwp.assign(static_cast<std::size_t>(n), -7);
  o.wk.assign(static_cast<std::size_t>(n), -7.0f);
  try {
    triangulate(n, p.x, p.y, o.nt, o.ipt, o.nl, o.ipl, o.iwl, o.iwp, o.wk);
  } catch (const run_stop& e) {
    o.stop = e.what();
  }
  return o;
}

void expect_same(const outcome& a, const outcome& b) {
  EXPECT_EQ(a.stop, b.stop);
  EXPECT_EQ(a.nt, b.nt);
  EXPECT_EQ(a.nl, b.nl);
  EXPECT_EQ(a.ipt, b.ipt);
  EXPECT_EQ(a.ipl, b.ipl);
  EXPECT_EQ(a.iwl, b.iwl);
  EXPECT_EQ(a.iwp, b.iwp);
  EXPECT_EQ(a.wk, b.wk);
}

TEST(IdtangSearch, IndexedTriangulationEqualsLiteral) {
  for (const auto& c : triangulable_sets()) {
    SCOPED_TRACE(c.name);
    const outcome a = run(c.p, ts::idtang_literal);
    const outcome b = run(c.p, idtang);
    EXPECT_EQ(a.stop, "");
    expect_same(a, b);
  }
}

TEST(IdtangSearch, IndexedTriangulationEqualsLiteralOnLattices) {
  // Random subsets of a lattice: equal distances everywhere, equal points
  // in some (both stop the same way), collinear runs.
  int stops = 0;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    const int32_t n = 4 + static_cast<int32_t>(seed * 13 % 90);
    const points p = lattice_points(1000 + seed, n, 6 + static_cast<int32_t>(seed % 10), 1.0f);
    SCOPED_TRACE(seed);
    const outcome a = run(p, ts::idtang_literal);
    const outcome b = run(p, idtang);
    expect_same(a, b);
    if (!a.stop.empty()) ++stops;
  }
  EXPECT_GT(stops, 0);
  EXPECT_LT(stops, 60);
}

TEST(IdtangSearch, StopsAreTheSame) {
  const std::vector<named_points> sets = {
      {"identical", points{{0, 1, 5, 0.5f, 5}, {0, 0, 3, 1, 3}}},
      {"identical after rounding", points{{356.5f, 356.500001f, 357, 356}, {43.5f, 43.5f, 44, 44}}},
      {"collinear", points{{0, 1, 2, 3, 4.5f}, {0, 2, 4, 6, 9}}},
      {"nearly collinear", points{{0, 1, 2, 3}, {0, 0, 1e-7f, -2e-7f}}},
  };
  for (const auto& c : sets) {
    SCOPED_TRACE(c.name);
    const outcome a = run(c.p, ts::idtang_literal);
    const outcome b = run(c.p, idtang);
    EXPECT_NE(a.stop, "");
    expect_same(a, b);
  }
}

}  // namespace
}  // namespace orvel
