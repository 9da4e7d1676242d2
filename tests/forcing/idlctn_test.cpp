#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::points;
using interp_test::triangulation;
using interp_test::locator;

// Brute force in double precision: the one region that contains (x, y) with
// a margin of tol, or 0 when the point is within tol of some region border.
region_code clear_region(const points& p, const triangulation& t, double x, double y,
                         double tol) {
  const region_code ntl = t.nt + t.nl;
  auto X = [&](int32_t i) { return static_cast<double>(p.x[i - 1]); };
  auto Y = [&](int32_t i) { return static_cast<double>(p.y[i - 1]); };
  auto len = [&](int32_t a, int32_t b) { return std::hypot(X(b) - X(a), Y(b) - Y(a)); };
  // Signed distance of (x, y) to the left of a->b.
  auto left = [&](int32_t a, int32_t b) {
    return ((X(b) - X(a)) * (y - Y(a)) - (Y(b) - Y(a)) * (x - X(a))) / len(a, b);
  };
  // Distance of (x, y) from a along the direction a->b.
  auto along = [&](int32_t a, int32_t b) {
    return ((X(b) - X(a)) * (x - X(a)) + (Y(b) - Y(a)) * (y - Y(a))) / len(a, b);
  };
  region_code found = 0;
  int touching = 0;
  auto consider = [&](region_code r, double margin) {
    if (margin > -tol) ++touching;
    if (margin > tol) found = r;
  };
  for (int32_t k = 1; k <= t.nt; ++k) {
    const int32_t a = t.tri(k, 1), b = t.tri(k, 2), c = t.tri(k, 3);
    consider(k, std::min({left(a, b), left(b, c), left(c, a)}));
  }
  for (int32_t s = 1; s <= t.nl; ++s) {
    const int32_t s2 = s % t.nl + 1;
    const int32_t a = t.seg(s, 1), b = t.seg(s, 2), c = t.seg(s2, 2);
    consider(s * ntl + s, std::min({along(a, b), along(b, a), -left(a, b)}));
    consider(s * ntl + s2, std::min({-along(b, a), -along(b, c)}));
  }
  return touching == 1 ? found : 0;
}

struct location_case {
  std::string name;
  points p;
  float x0, y0, w, h;  // box of the query points
};

TEST(Idlctn, AgreesWithBruteForce) {
  std::vector<location_case> cases;
  cases.push_back({"random", interp_test::random_points(31, 120), -0.5f, -0.5f, 2.0f, 2.0f});
  cases.push_back({"random_lon360", interp_test::random_points(32, 100, 355.0f, 40.0f, 10.0f, 6.0f),
                   350.0f, 36.0f, 20.0f, 14.0f});
  cases.push_back({"grid20", interp_test::grid_points(20, 20), -5.0f, -5.0f, 29.0f, 29.0f});
  cases.push_back({"circle", interp_test::circle_points(40, 0.0f, 0.0f, 1.0f), -2.0f, -2.0f, 4.0f,
                   4.0f});
  for (const location_case& c : cases) {
    SCOPED_TRACE(c.name);
    const triangulation t = interp_test::triangulate(c.p);
    const double tol = 1e-4 * std::max(c.w, c.h);
    locator scan(c.p, t);
    locator fresh(c.p, t);
    // Random points, then a raster scan whose neighbours share regions.
    std::vector<std::pair<float, float>> q;
    std::mt19937 g(99);
    for (int k = 0; k < 1500; ++k) {
      q.emplace_back(c.x0 + c.w * interp_test::unit(g), c.y0 + c.h * interp_test::unit(g));
    }
    for (int j = 0; j < 40; ++j) {
      for (int i = 0; i < 40; ++i) q.emplace_back(c.x0 + c.w * (i + 0.37f) / 40.0f, c.y0 + c.h * (j + 0.61f) / 40.0f);
    }
    int checked = 0, strips = 0, wedges = 0;
    for (const auto& [x, y] : q) {
      const region_code got = scan(x, y);
      fresh.forget();
      const region_code got_fresh = fresh(x, y);
      const region_code want = clear_region(c.p, t, x, y, tol);
      if (want == 0) continue;
      ++checked;
      if (want > t.nt) {
        const region_code ntl = t.nt + t.nl;
        (want / ntl == want % ntl ? strips : wedges)++;
      }
      EXPECT_EQ(got, want) << "at " << x << ", " << y;
      EXPECT_EQ(got_fresh, want) << "at " << x << ", " << y;
    }
    EXPECT_GT(checked, 2800);
    EXPECT_GT(strips, 50);
    EXPECT_GT(wedges, 20);
  }
}

// Unit square: triangles (1,2,3) and (1,3,4), border 1-2, 2-3, 3-4, 4-1,
// NTL = 6.
class UnitSquare : public ::testing::Test {
 protected:
  points p{{0, 1, 1, 0}, {0, 0, 1, 1}};
  triangulation t = interp_test::triangulate(p);
};

TEST_F(UnitSquare, RegionCodesByHand) {
  locator loc(p, t);
  struct {
    double x, y;
    region_code want;
  } table[] = {
      {0.7, 0.2, 1},   {0.2, 0.7, 2},              // triangles
      {0.5, -1, 7},    {2, 0.5, 14},  {0.5, 2, 21}, {-1, 0.5, 28},  // strips s*6+s
      {2, -1, 8},      {2, 2, 15},    {-1, 2, 22},  {-1, -1, 25},   // wedges s*6+s'
      {1e6, 0.5, 14},  {-3e5, -3e5, 25},            // far out: outer sections
  };
  for (const auto& row : table) {
    loc.forget();
    EXPECT_EQ(loc(row.x, row.y), row.want) << row.x << ", " << row.y;
  }
}

TEST_F(UnitSquare, SharedEdgeKeepsThePreviousRegion) {
  locator loc(p, t);
  // Fresh: the first triangle of the section's list that contains it.
  EXPECT_EQ(loc(0.5, 0.5), 1);
  EXPECT_EQ(loc(0.2, 0.7), 2);
  EXPECT_EQ(loc(0.5, 0.5), 2);
  EXPECT_EQ(loc(0.25, 0.25), 2);
}

TEST_F(UnitSquare, DataPointOnTheBorder) {
  locator loc(p, t);
  EXPECT_EQ(loc(1, 0), 1);  // fresh: a triangle with this vertex
  EXPECT_EQ(loc(0.5, -1), 7);
  EXPECT_EQ(loc(1, 0), 7);  // the strip touches the vertex
  EXPECT_EQ(loc(2, -1), 8);
  EXPECT_EQ(loc(1, 0), 8);  // so does the wedge
  EXPECT_EQ(loc(0, 1), 2);  // the only region at hand
}

// A point that no region claims: here a triangle list with a hole (the
// border is the square, the triangles cover it except for 4-1-5).  The
// point is evaluated in the triangle it is least outside of.
TEST(Idlctn, PointInNoRegionGoesToTheNearestTriangle) {
  const points p{{0, 1, 1, 0, 0.5f}, {0, 0, 1, 1, 0.5f}};
  triangulation t;
  t.nt = 3;
  t.ipt = {3, 4, 5, 2, 3, 5, 1, 2, 5};
  t.nl = 4;
  t.ipl = {1, 2, 3, 2, 3, 2, 3, 4, 1, 4, 1, 0};
  locator loc(p, t);
  // Worst edge tests at (0.1, 0.4): -0.25 for (3,4,5), -0.25 for (2,3,5),
  // -0.15 for (1,2,5).
  EXPECT_EQ(loc(0.1, 0.4), 3);
  loc.forget();
  EXPECT_EQ(loc(0.1, 0.6), 1);
  loc.forget();
  // (0.1, 0.5): -0.2 for all three: the lowest number.
  EXPECT_EQ(loc(0.1, 0.5), 1);
  loc.forget();
  // Not a number: no test holds; the first triangle.
  EXPECT_EQ(loc(std::numeric_limits<double>::quiet_NaN(), 0.5), 1);
}

// Region codes of the strips and wedges of a hull with 60,000 segments pass
// 2^31 and must be formed and decoded in 64 bits.  The hull is a square
// with 15,000 integer points per side, fanned from its centre (point n + 1).
TEST(Idlctn, RegionCodesOfALargeHull) {
  const int32_t m = 15000;
  const int32_t n = 4 * m;
  points p;
  for (int32_t i = 0; i < m; ++i) p.x.push_back(static_cast<float>(i)), p.y.push_back(0.0f);
  for (int32_t j = 0; j < m; ++j) p.x.push_back(static_cast<float>(m)), p.y.push_back(static_cast<float>(j));
  for (int32_t i = 0; i < m; ++i) p.x.push_back(static_cast<float>(m - i)), p.y.push_back(static_cast<float>(m));
  for (int32_t j = 0; j < m; ++j) p.x.push_back(0.0f), p.y.push_back(static_cast<float>(m - j));
  p.x.push_back(0.5f * m);
  p.y.push_back(0.5f * m);
  triangulation t;
  t.nt = n;
  t.nl = n;
  for (int32_t s = 1; s <= n; ++s) {
    t.ipt.insert(t.ipt.end(), {n + 1, s, s % n + 1});
    t.ipl.insert(t.ipl.end(), {s, s % n + 1, s});
  }
  interp_test::expect_valid(p, t);
  const region_code ntl = t.nt + t.nl;
  locator loc(p, t);
  // Beyond the middle of the last segment, from (0, 1) to (0, 0).
  const region_code r = loc(-100.0, 0.5);
  EXPECT_EQ(r, region_code{n} * ntl + n);
  EXPECT_GT(r, region_code{std::numeric_limits<int32_t>::max()});
  // Beyond the corner where the last segment ends (and the first starts).
  EXPECT_EQ(loc(-3.0, -4.0), region_code{n} * ntl + 1);

  // The value there decodes the same segment: origin at its start point.
  std::vector<float> z(static_cast<std::size_t>(n + 1), 2.5f);
  std::vector<float> pd(5 * static_cast<std::size_t>(n + 1), 0.0f);
  idpt_record idpt;
  float v = 0.0f;
  idptip(p.x, p.y, z, t.nt, t.ipt, t.nl, t.ipl, pd, r, -100.0, 0.5, v, idpt);
  EXPECT_EQ(v, 2.5f);
  EXPECT_EQ(idpt.itpv, r);
  EXPECT_EQ(idpt.x0, 0.0f);
  EXPECT_EQ(idpt.y0, 1.0f);
}

}  // namespace
}  // namespace orvel
