#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::points;
using interp_test::triangulation;

std::vector<int32_t> triangles_of(const triangulation& t) {
  return std::vector<int32_t>(t.ipt.begin(), t.ipt.begin() + 3 * t.nt);
}
std::vector<int32_t> border_of(const triangulation& t) {
  return std::vector<int32_t>(t.ipl.begin(), t.ipl.begin() + 3 * t.nl);
}

// Both diagonals of a square have the same angles, so the first one made
// (1-3) stays.
TEST(Idtang, UnitSquareByHand) {
  const points p{{0, 1, 1, 0}, {0, 0, 1, 1}};
  const triangulation t = interp_test::triangulate(p);
  EXPECT_EQ(t.nt, 2);
  EXPECT_EQ(t.nl, 4);
  EXPECT_EQ(triangles_of(t), (std::vector<int32_t>{1, 2, 3, 1, 3, 4}));
  EXPECT_EQ(border_of(t), (std::vector<int32_t>{1, 2, 1, 2, 3, 1, 3, 4, 2, 4, 1, 2}));
}

// Square with its centre: closest pair 1-5, points added in the order 2,
// 4, 3 (the selection sort swaps positions 4 and 5), the first triangle
// turned to (5, 1, 2); point 4 sees the segment 5-1 and point 3 a run of
// two segments after a rotation of the border by three.  Every exchange
// test meets three collinear points and keeps its diagonal.
TEST(Idtang, SquareWithCentreByHand) {
  const points p{{0, 2, 2, 0, 1}, {0, 0, 2, 2, 1}};
  const triangulation t = interp_test::triangulate(p);
  EXPECT_EQ(t.nt, 4);
  EXPECT_EQ(t.nl, 4);
  EXPECT_EQ(triangles_of(t), (std::vector<int32_t>{5, 1, 2, 1, 5, 4, 5, 2, 3, 4, 5, 3}));
  EXPECT_EQ(border_of(t), (std::vector<int32_t>{4, 1, 2, 1, 2, 1, 2, 3, 3, 3, 4, 4}));
  interp_test::expect_valid(p, t);
}

// Square with an off-centre inner point: closest pair 3-5, order 4, 2, 1.
// When point 1 joins the segment 4-2 the quadrilateral 1-4-5-2 is convex and
// the diagonal 4-2 gives way to 5-1 (min squared sines 0.41 against 0.008);
// the improvement sweep then re-examines 4-5 (not convex) and 5-2 (0.008
// against 0.41) and keeps both.
TEST(Idtang, ExchangeWhenJoiningByHand) {
  const points p{{0, 2, 2, 0, 1}, {0, 0, 2, 2, 1.2f}};
  const triangulation t = interp_test::triangulate(p);
  EXPECT_EQ(t.nt, 4);
  EXPECT_EQ(t.nl, 4);
  EXPECT_EQ(triangles_of(t), (std::vector<int32_t>{5, 3, 4, 5, 4, 1, 3, 5, 2, 2, 5, 1}));
  EXPECT_EQ(border_of(t), (std::vector<int32_t>{2, 3, 3, 3, 4, 1, 4, 1, 2, 1, 2, 4}));
  interp_test::expect_valid(p, t);
}

TEST(Idxchg, HandCases) {
  // Square: equal angles either way, no exchange.
  const std::vector<float> sx{0, 1, 1, 0}, sy{0, 0, 1, 1};
  EXPECT_EQ(idxchg(sx, sy, 2, 4, 1, 3), 0);
  EXPECT_EQ(idxchg(sx, sy, 1, 3, 2, 4), 0);
  // Flat rhombus: the long diagonal 1-3 gives way to the short one 2-4, and
  // the short one stays.
  const std::vector<float> rx{0, 2, 4, 2}, ry{0, -1, 0, 1};
  EXPECT_EQ(idxchg(rx, ry, 2, 4, 1, 3), 1);
  EXPECT_EQ(idxchg(rx, ry, 1, 3, 2, 4), 0);
  // Not convex (3 and 4 on the same side of 1-2): never exchanged.
  const std::vector<float> cx{0, 4, 1, 2}, cy{0, 0, 1, 3};
  EXPECT_EQ(idxchg(cx, cy, 1, 2, 3, 4), 0);
  // Degenerate: 4 on the line 1-2.
  const std::vector<float> dx{0, 2, 1, 1}, dy{0, 0, 1, 0};
  EXPECT_EQ(idxchg(dx, dy, 1, 2, 3, 4), 0);
}

struct property_case {
  std::string name;
  points p;
};

std::vector<property_case> property_cases() {
  std::vector<property_case> c;
  for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    c.push_back({"random" + std::to_string(seed), interp_test::random_points(seed, 150)});
  }
  c.push_back({"random_lon360", interp_test::random_points(11, 120, 355.0f, 40.0f, 10.0f, 6.0f)});
  c.push_back({"random_thin", interp_test::random_points(12, 80, 0.0f, 0.0f, 100.0f, 0.5f)});
  c.push_back({"grid20", interp_test::grid_points(20, 20)});
  c.push_back({"grid_lon360", interp_test::grid_points(12, 9, 356.0f, 42.0f, 0.25f)});
  c.push_back({"circle", interp_test::circle_points(64, 0.0f, 0.0f, 1.0f)});
  std::vector<int32_t> order(48);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  c.push_back({"circle_shuffled", interp_test::circle_points(48, 3.0f, -2.0f, 5.0f, order)});
  points cc = interp_test::circle_points(40, 0.0f, 0.0f, 1.0f);
  cc.x.push_back(0.0f);
  cc.y.push_back(0.0f);
  c.push_back({"circle_and_centre", cc});
  return c;
}

TEST(Idtang, PropertiesOnPointSets) {
  for (const property_case& c : property_cases()) {
    SCOPED_TRACE(c.name);
    const triangulation t = interp_test::triangulate(c.p);
    interp_test::expect_valid(c.p, t);
    // The exchange sweeps leave no interior edge that the angle test would
    // still exchange.
    std::map<std::pair<int32_t, int32_t>, int32_t> opposite;
    for (int32_t k = 1; k <= t.nt; ++k) {
      for (int32_t e = 1; e <= 3; ++e) {
        opposite[{t.tri(k, e), t.tri(k, e % 3 + 1)}] = t.tri(k, (e + 1) % 3 + 1);
      }
    }
    for (const auto& [e, o1] : opposite) {
      auto it = opposite.find({e.second, e.first});
      if (it == opposite.end() || e.first > e.second) continue;
      EXPECT_EQ(idxchg(c.p.x, c.p.y, o1, it->second, e.first, e.second), 0)
          << "edge " << e.first << "-" << e.second;
    }
  }
}

TEST(Idtang, GridCounts) {
  const triangulation t = interp_test::triangulate(interp_test::grid_points(20, 20));
  // Every boundary node of the grid is a border vertex.
  EXPECT_EQ(t.nl, 76);
  EXPECT_EQ(t.nt, 722);
}

TEST(Idtang, CircleCounts) {
  const triangulation t = interp_test::triangulate(interp_test::circle_points(64, 0.0f, 0.0f, 1.0f));
  EXPECT_EQ(t.nl, 64);
  EXPECT_EQ(t.nt, 62);
}

TEST(Idtang, SameInputSameTriangulation) {
  const points p = interp_test::random_points(21, 60);
  const triangulation a = interp_test::triangulate(p);
  const triangulation b = interp_test::triangulate(p);
  EXPECT_EQ(triangles_of(a), triangles_of(b));
  EXPECT_EQ(border_of(a), border_of(b));
}

TEST(Idtang, FatalErrors) {
  const std::string head = " \nIDTANG - Fatal error!\n";
  const points three{{0, 1, 0}, {0, 0, 1}};
  EXPECT_EQ(interp_test::stop_text([&] {
              std::vector<int32_t> ipt(16), ipl(18), iwl, iwp(3);
              std::vector<float> wk(3);
              int32_t nt = 0, nl = 0;
              idtang(3, three.x, three.y, nt, ipt, nl, ipl, iwl, iwp, wk);
            }),
            head + "  Input parameter NDP out of range.");
  // Identical points, wherever they are in the list.
  const points same{{0, 1, 5, 0.5f, 5}, {0, 0, 3, 1, 3}};
  EXPECT_EQ(interp_test::stop_text([&] { interp_test::triangulate(same); }),
            head + "  Two of the input data points are identical.");
  const points line{{0, 1, 2, 3, 4.5f}, {0, 2, 4, 6, 9}};
  EXPECT_EQ(interp_test::stop_text([&] { interp_test::triangulate(line); }),
            head + "  All collinear data points.");
  // Off the line by less than 1e-6 of the dot product: still collinear.
  const points near_line{{0, 1, 2, 3}, {0, 0, 1e-7f, -2e-7f}};
  EXPECT_EQ(interp_test::stop_text([&] { interp_test::triangulate(near_line); }),
            head + "  All collinear data points.");
}

// The third point is the first not collinear with the closest pair; the
// collinear points before it keep their order behind it.
TEST(Idtang, CollinearPointsBeforeTheThird) {
  const points p{{0, 1, 2, 3, 1.5f}, {0, 0, 0, 0, 4}};
  const triangulation t = interp_test::triangulate(p);
  interp_test::expect_valid(p, t);
  EXPECT_EQ(t.nl, 5);
  EXPECT_EQ(t.nt, 3);
}

}  // namespace
}  // namespace orvel
