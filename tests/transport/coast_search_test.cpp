#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/transport/transport_setup.hpp"
#include "transport/coast.hpp"

namespace orvel {
namespace {

using testing::fresh_state;
using testing::set_coast;
using testing::set_grid;
using testing::set_polygon;

// Grid of 1/64-degree cells: every offset below is exact in binary.
constexpr double cell = 1.0 / 64.0;

TEST(NearestCoast, WindowOfFiveCellsLimitsIncluded) {
  fresh_state fs;
  set_grid(299.0, 39.0, cell, cell, 200, 200);
  const double x = 300.0, y = 40.0;
  // Exactly five cells east (a candidate), just beyond five cells north (not).
  set_coast({x + 5 * cell, x}, {y, std::nextafter(y + 5 * cell, 1e9)});
  double xo = 0, yo = 0, dist = 100000.0;
  int32_t k = 0;
  ASSERT_TRUE(buscacosta(x, y, xo, yo, k, dist));
  EXPECT_EQ(k, 1);
  EXPECT_EQ(xo, x + 5 * cell);
  EXPECT_EQ(yo, y);
  EXPECT_EQ(dist, 5 * cell * coast_distance_scale());

  // Nothing within the window: nothing written.
  set_coast({x + 6 * cell}, {y});
  xo = yo = -1.0;
  k = -7;
  dist = 100000.0;
  EXPECT_FALSE(buscacosta(x, y, xo, yo, k, dist));
  EXPECT_EQ(xo, -1.0);
  EXPECT_EQ(yo, -1.0);
  EXPECT_EQ(k, -7);
  EXPECT_EQ(dist, 100000.0);
}

TEST(NearestCoast, LongitudeScaledByTheMeanLatitude) {
  fresh_state fs;
  set_grid(299.0, 39.0, cell, cell, 200, 200);
  const double x = 300.0, y = 40.0;
  // Point 1 three cells east, point 2 two cells north.
  set_coast({x + 3 * cell, x}, {y, y + 2 * cell});
  for (auto [lat, nearest] : {std::pair{60.0, 1}, std::pair{0.0, 2}}) {
    var_mallas.latmean = lat;
    double xo, yo, dist = 100000.0;
    int32_t k = 0;
    ASSERT_TRUE(buscacosta(x, y, xo, yo, k, dist));
    EXPECT_EQ(k, nearest) << "latmean " << lat;
    const double c = std::cos(lat * static_cast<double>(3.1416f) / 180.0);
    EXPECT_EQ(dist, nearest == 1 ? 3 * cell * c : 2 * cell);
  }
}

TEST(NearestCoast, TiesGoToTheHighestIndexAndRadarToTheLowest) {
  fresh_state fs;
  set_grid(299.0, 39.0, cell, cell, 200, 200);
  const double x = 300.0, y = 40.0, h = cell / 2;
  // Points 2 and 3 at the same distance (west and east), point 1 farther.
  set_coast({x + 2 * h, x - h, x + h, x + 3 * h}, {y, y, y, y});
  double xo, yo, dist = 100000.0;
  int32_t k = 0;
  ASSERT_TRUE(buscacosta(x, y, xo, yo, k, dist));
  EXPECT_EQ(k, 3);
  EXPECT_EQ(xo, x + h);
  ASSERT_TRUE(buscacosta_radar(x, y, xo, yo, dist));
  EXPECT_EQ(xo, x - h);
}

TEST(RadarCoast, StrictlyCloserThanHalfTheTwoSpacings) {
  fresh_state fs;
  set_grid(299.0, 39.0, cell, 2 * cell, 200, 200);
  const double x = 300.0, y = 40.0;
  const double limit = (cell + 2 * cell) * 0.5;
  // At exactly the limit: not taken.  The caller's distance is ignored.
  set_coast({x}, {y + limit});
  double xo = -1, yo = -1, dist = 1e9;
  EXPECT_FALSE(buscacosta_radar(x, y, xo, yo, dist));
  EXPECT_EQ(xo, -1.0);
  EXPECT_EQ(dist, 1e9);
  // Just inside, and exactly three cells away in x is still in the window
  // (but too far); four cells away is out of the window.
  set_coast({x + 3 * cell, x}, {y, y + limit - cell / 4});
  ASSERT_TRUE(buscacosta_radar(x, y, xo, yo, dist));
  EXPECT_EQ(yo, y + limit - cell / 4);
  EXPECT_EQ(dist, limit - cell / 4);
  set_coast({x + 3 * cell}, {y});
  var_mallas.deltay = 8 * cell;  // the limit is now far beyond three x cells
  ASSERT_TRUE(buscacosta_radar(x, y, xo, yo, dist));
  EXPECT_EQ(xo, x + 3 * cell);
  set_coast({x + 4 * cell}, {y});
  EXPECT_FALSE(buscacosta_radar(x, y, xo, yo, dist));
}

// A unit square ring around (300, 40), first point repeated at the end.
struct ring {
  std::vector<double> x{300, 301, 301, 300, 300};
  std::vector<double> y{40, 40, 41, 41, 40};
};

struct intercept {
  int32_t num, ierr;
  std::vector<double> u, v;
};

intercept run_intercept(double a1, double a2, double b1, double b2, const std::vector<double>& x,
                        const std::vector<double>& y, int32_t m = 100) {
  intercept r;
  r.u.assign(m, 0.0);
  r.v.assign(m, 0.0);
  poly_intercept(a1, a2, b1, b2, x.data(), y.data(), static_cast<int32_t>(x.size()), r.u.data(), r.v.data(), m,
                 r.num, r.ierr);
  r.u.resize(std::max(r.num, 0));
  r.v.resize(std::max(r.num, 0));
  return r;
}

TEST(PolyIntercept, CasesOnASquareRing) {
  const ring sq;
  struct row {
    const char* what;
    double a1, a2, b1, b2;
    int32_t num, ierr;
    std::vector<double> u, v;
  };
  const std::vector<row> rows = {
      {"crosses the south edge", 300.5, 39.5, 300.5, 40.5, 1, 0, {300.5}, {40}},
      {"crosses two edges, in edge order", 300.5, 39.5, 300.5, 41.5, 2, 0, {300.5, 300.5}, {40, 41}},
      {"two edges backwards: still edge order", 300.5, 41.5, 300.5, 39.5, 2, 0, {300.5, 300.5}, {40, 41}},
      {"ends exactly on an edge", 300.5, 39.5, 300.5, 40, 1, 0, {300.5}, {40}},
      {"starts exactly on an edge", 300.5, 40, 300.5, 39.5, 0, 0, {}, {}},
      {"through the vertex joining edges 1 and 2: once", 301.5, 39.5, 300.5, 40.5, 1, 0, {301}, {40}},
      {"through the first point: the repeat is dropped", 299.5, 40.5, 300.5, 39.5, 1, 0, {300}, {40}},
      {"along the south edge: overlap of edge 1", 300.25, 40, 300.75, 40, 0, -1, {}, {}},
      {"no move", 300.5, 39.5, 300.5, 39.5, 0, 1, {}, {}},
      {"misses", 302, 39, 303, 42, 0, 0, {}, {}},
  };
  for (const row& r : rows) {
    const intercept got = run_intercept(r.a1, r.a2, r.b1, r.b2, sq.x, sq.y);
    EXPECT_EQ(got.num, r.num) << r.what;
    EXPECT_EQ(got.ierr, r.ierr) << r.what;
    EXPECT_EQ(got.u, r.u) << r.what;
    EXPECT_EQ(got.v, r.v) << r.what;
  }
  // A path from outside to the middle of the east edge, crossing the south
  // edge on its way: one point on edge 1, then the end on edge 2.
  const intercept got = run_intercept(300.5, 39.5, 301, 40.5, sq.x, sq.y);
  EXPECT_EQ(got.ierr, 0);
  ASSERT_EQ(got.num, 2);
  EXPECT_EQ(got.u[0], 300.75);
  EXPECT_EQ(got.v[0], 40);
  EXPECT_EQ(got.u[1], 301);
  EXPECT_EQ(got.v[1], 40.5);
}

TEST(PolyIntercept, DegenerateInputsAndCapacity) {
  EXPECT_EQ(run_intercept(0, 0, 1, 1, {5}, {5}).ierr, 1);                   // one point
  EXPECT_EQ(run_intercept(0, 0, 1, 1, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}).ierr, 1);  // only zero-length edges
  // A zigzag crossing the path four times, with room for two points.
  const std::vector<double> zx{300, 301, 302, 303, 304}, zy{39, 41, 39, 41, 39};
  const intercept all = run_intercept(299, 40, 305, 40, zx, zy);
  EXPECT_EQ(all.num, 4);
  EXPECT_EQ(all.ierr, 0);
  const intercept two = run_intercept(299, 40, 305, 40, zx, zy, 2);
  EXPECT_EQ(two.num, 2);
  EXPECT_EQ(two.ierr, 2);
  EXPECT_EQ(two.u, (std::vector<double>{300.5, 301.5}));
}

struct crossing_result {
  int32_t num = -1, state = 99;
  double xo = -1, yo = -1;
};

crossing_result cross(double x1, double y1, double x2, double y2, const farray<coast_polygon, 1>& polys) {
  crossing_result r;
  busca_costa_interseccion_str(x1, y1, x2, y2, polys, r.xo, r.yo, r.state, r.num);
  return r;
}

TEST(CoastCrossing, NearestCrossingOverAllPolygonsAndEdges) {
  fresh_state fs;
  farray<coast_polygon, 1> polys{"polys"};
  polys.allocate(2);
  // Polygon 1: a wall at x = 302 (far along the path).  Polygon 2: a thin
  // headland between x = 300.5 and 300.5 + 1/64, listed so that its exit
  // (east) side is edge 1 and its entry (west) side is edge 3.
  set_polygon(polys(1), {302, 302}, {39, 41});
  const double w = 300.5, e = 300.5 + cell;
  set_polygon(polys(2), {e, e, w, w, e}, {39.5, 40.5, 40.5, 39.5, 39.5});
  const crossing_result r = cross(300, 40, 303, 40, polys);
  EXPECT_EQ(r.num, 3);
  EXPECT_EQ(r.state, 0);
  EXPECT_EQ(r.xo, w);  // the entry side, nearest to the start
  EXPECT_EQ(r.yo, 40);
  // Nothing crossed: nothing written.
  const crossing_result none = cross(300, 40, 300.25, 40, polys);
  EXPECT_EQ(none.num, 0);
  EXPECT_EQ(none.state, 99);
  EXPECT_EQ(none.xo, -1);
}

TEST(CoastCrossing, AnOverlappedEdgeSkipsOnlyThatEdge) {
  fresh_state fs;
  farray<coast_polygon, 1> polys{"polys"};
  polys.allocate(1);
  // Edge 1 runs along the path; edge 4 crosses it at x = 300.5.
  set_polygon(polys(1), {300, 301, 301, 300.5, 300.5}, {40, 40, 41, 41, 39});
  const crossing_result r = cross(300.25, 40, 300.75, 40, polys);
  EXPECT_EQ(r.num, 1);
  EXPECT_EQ(r.xo, 300.5);
  EXPECT_EQ(r.yo, 40);
}

TEST(CoastCrossing, ManyCrossingsOfOnePolygonAreAllTried) {
  fresh_state fs;
  farray<coast_polygon, 1> polys{"polys"};
  polys.allocate(1);
  // A comb of 150 teeth across the path: more crossings than a fixed list
  // of 100 would hold; the nearest is the first tooth.
  std::vector<double> x, y;
  for (int t = 0; t < 150; ++t) {
    x.push_back(300 + (2 * t) * cell / 8);
    y.push_back(t % 2 ? 41 : 39);
  }
  set_polygon(polys(1), x, y);
  const crossing_result r = cross(303, 40, 299, 40, polys);
  EXPECT_EQ(r.num, 149);
  EXPECT_EQ(r.xo, 300 + (2 * 148 + 1) * cell / 8);  // between the last two teeth, nearest to x = 303
}

TEST(CoastCrossing, EmptyAndShortPolygonsStopNothing) {
  fresh_state fs;
  farray<coast_polygon, 1> polys{"polys"};
  EXPECT_EQ(cross(300, 40, 301, 41, polys).num, 0);  // no polygon array at all
  polys.allocate(2);
  set_polygon(polys(1), {300.5}, {40.5});
  EXPECT_EQ(cross(300, 40, 301, 41, polys).num, 0);
}

}  // namespace
}  // namespace orvel
