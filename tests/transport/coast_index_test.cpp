// The coast indexes against the linear scans: the same answer, bit for bit,
// on a million queries (700,000 positions, each through the nearest-coast and
// the radar search, and 300,000 paths), random and built to hit the edge
// cases (window and cell limits, equal distances, duplicate points,
// vertices, collinear paths, duplicate edges).

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "tests/transport/transport_setup.hpp"
#include "transport/coast.hpp"
#include "transport/coast_index.hpp"

namespace orvel {
namespace {

using testing::fresh_state;
using testing::set_coast;
using testing::set_grid;
using testing::set_polygon;

bool same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct rng {
  std::mt19937_64 g;
  explicit rng(uint64_t seed) : g(seed) {}
  double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g); }
  int64_t integer(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(g); }
  // A multiple of 2^-q in [lo, hi].
  double dyadic(double lo, double hi, int q) {
    const double u = std::ldexp(1.0, -q);
    return std::ldexp(static_cast<double>(integer(static_cast<int64_t>(std::ceil(lo / u)),
                                                  static_cast<int64_t>(std::floor(hi / u)))),
                      -q);
  }
};

// A coastline: a random walk on a 1/512-degree lattice drifting east, some
// points repeated later in the list, and scattered islets.
void make_coast(rng& r, std::vector<double>& x, std::vector<double>& y) {
  double px = 300.5, py = 40.25;
  for (int k = 0; k < 250; ++k) {
    px += r.integer(-2, 6) / 512.0;
    py += r.integer(-4, 4) / 512.0;
    x.push_back(px);
    y.push_back(py);
  }
  for (int k = 0; k < 20; ++k) {
    const size_t j = static_cast<size_t>(r.integer(0, static_cast<int64_t>(x.size()) - 1));
    const size_t at = static_cast<size_t>(r.integer(0, static_cast<int64_t>(x.size())));
    const double cx = x[j], cy = y[j];
    x.insert(x.begin() + static_cast<long>(at), cx);
    y.insert(y.begin() + static_cast<long>(at), cy);
  }
  for (int k = 0; k < 30; ++k) {
    x.push_back(r.dyadic(300.0, 301.5, 9));
    y.push_back(r.dyadic(40.0, 40.5, 9));
  }
}

TEST(CoastIndex, NearestPointsAgreeWithTheLinearScans) {
  fresh_state fs;
  rng r(20240611);
  set_grid(299.75, 39.75, 1.0 / 64, 1.0 / 64, 160, 80);
  std::vector<double> cx, cy;
  make_coast(r, cx, cy);
  set_coast(cx, cy);
  coast_index::build(nullptr);
  ASSERT_TRUE(coast_index::points_ready());
  const int32_t n = static_cast<int32_t>(cx.size());

  // Grid spacings and latitudes the searches run with (the index was built
  // with the first spacing; a search must not depend on it).
  const double spacings[][2] = {{1.0 / 64, 1.0 / 64}, {1.0 / 128, 1.0 / 32}, {0.01, 0.013}, {1.0 / 8, 1.0 / 8},
                                {0.0, 1.0 / 64}, {-1.0 / 64, 1.0 / 64}};
  const double latitudes[] = {40.25, 0.0, 63.0};
  const int per_setting = 700000 / 18;
  int64_t found = 0, ties = 0;
  for (const auto& sp : spacings) {
    for (double lat : latitudes) {
      var_mallas.deltax = sp[0];
      var_mallas.deltay = sp[1];
      var_mallas.latmean = lat;
      for (int q = 0; q < per_setting; ++q) {
        double x, y;
        const int kind = static_cast<int>(r.integer(0, 6));
        const int32_t j = static_cast<int32_t>(r.integer(0, n - 1));
        switch (kind) {
          case 0:  // anywhere around the coast
            x = r.uniform(299.8, 301.8);
            y = r.uniform(39.9, 41.0);
            break;
          case 1:  // on a fine lattice: many equal distances
            x = r.dyadic(300.4, 301.2, 10);
            y = r.dyadic(40.0, 40.6, 10);
            break;
          case 2: {  // a coast point exactly on a window limit (or next to it)
            const double cells = r.integer(0, 1) ? 5.0 : 3.0, side = r.integer(0, 1) ? 1.0 : -1.0;
            if (r.integer(0, 1)) {
              x = cx[j] + side * cells * sp[0];
              y = cy[j] + r.dyadic(-0.05, 0.05, 8);
              if (r.integer(0, 2) == 0) x = std::nextafter(x, side * 1e9);
            } else {
              x = cx[j] + r.dyadic(-0.05, 0.05, 8);
              y = cy[j] + side * cells * sp[1];
              if (r.integer(0, 2) == 0) y = std::nextafter(y, side * 1e9);
            }
            break;
          }
          case 3:  // close to a coast point
            x = cx[j] + r.uniform(-0.02, 0.02);
            y = cy[j] + r.uniform(-0.02, 0.02);
            break;
          case 4:  // on a coast point
            x = cx[j];
            y = cy[j];
            break;
          case 5:  // on cell limits of the index (multiples of its cell)
            x = 299.75 + r.integer(0, 200) / 32.0;
            y = 39.75 + r.integer(0, 80) / 32.0;
            break;
          default:  // far away
            x = r.integer(0, 1) ? 250.0 : 300.5;
            y = r.integer(0, 1) ? 80.0 : -10.0;
            break;
        }
        // The caller's acceptance distance: the usual one, or a tight one.
        double dist_in = 100000.0;
        if (r.integer(0, 9) == 0) dist_in = r.integer(0, 1) ? 0.005 : 0.0;
        double xa = -1, ya = -1, da = dist_in, xb = -1, yb = -1, db = dist_in;
        int32_t ka = -1, kb = -1;
        const bool fa = buscacosta_linear(x, y, xa, ya, ka, da);
        const bool fb = buscacosta(x, y, xb, yb, kb, db);
        ASSERT_EQ(fa, fb) << x << " " << y;
        ASSERT_EQ(ka, kb) << x << " " << y;
        ASSERT_TRUE(same(xa, xb) && same(ya, yb) && same(da, db)) << x << " " << y;
        found += fa;
        double ra = -1, sa = -1, ea = -3, rb = -1, sb = -1, eb = -3;
        const bool ga = buscacosta_radar_linear(x, y, ra, sa, ea);
        const bool gb = buscacosta_radar(x, y, rb, sb, eb);
        ASSERT_EQ(ga, gb) << x << " " << y;
        ASSERT_TRUE(same(ra, rb) && same(sa, sb) && same(ea, eb)) << x << " " << y;
        // Queries whose nearest point has a twin at the same distance.
        if (fa && kind == 1) {
          for (int32_t m = 0; m < n; ++m)
            if (m + 1 != ka && cx[m] != xa && std::hypot((x - cx[m]) * coast_distance_scale(), y - cy[m]) == da) {
              ++ties;
              break;
            }
        }
      }
    }
  }
  EXPECT_GT(found, per_setting);  // the queries do find points
  EXPECT_GT(ties, 10);            // and meet equal distances
}

// Coast polygons: a closed random-walk coast, its copy (every edge twice),
// a long frame along the domain box, small islets with repeated points, a
// comb of vertical edges, a one-point polygon and an empty one.
void make_polygons(rng& r, farray<coast_polygon, 1>& polys) {
  std::vector<std::vector<double>> px, py;
  std::vector<double> x, y;
  double cx = 300.25, cy = 40.25;
  for (int k = 0; k < 120; ++k) {
    cx += r.integer(-2, 8) / 512.0;
    cy += r.integer(-6, 6) / 512.0;
    x.push_back(cx);
    y.push_back(cy);
  }
  for (double v : {x.back(), x.front()}) {  // close it to the north
    x.push_back(v);
    y.push_back(40.75);
  }
  x.push_back(x.front());
  y.push_back(y.front());
  px.push_back(x);
  py.push_back(y);
  px.push_back(x);
  py.push_back(y);
  px.push_back({299.875, 301.875, 301.875, 299.875, 299.875});
  py.push_back({39.875, 39.875, 41.125, 41.125, 39.875});
  for (int k = 0; k < 25; ++k) {
    const double ox = r.dyadic(300.0, 301.5, 8), oy = r.dyadic(40.0, 40.5, 8);
    std::vector<double> ix, iy;
    const int m = static_cast<int>(r.integer(3, 7));
    for (int i = 0; i < m; ++i) {
      ix.push_back(ox + r.integer(0, 8) / 256.0);
      iy.push_back(oy + r.integer(0, 8) / 256.0);
      if (r.integer(0, 4) == 0) {  // a repeated point: a zero-length edge
        ix.push_back(ix.back());
        iy.push_back(iy.back());
      }
    }
    ix.push_back(ix.front());
    iy.push_back(iy.front());
    px.push_back(ix);
    py.push_back(iy);
  }
  {
    std::vector<double> ix, iy;
    for (int t = 0; t < 40; ++t) {
      ix.push_back(300.5 + (t / 2) / 128.0);
      iy.push_back((t % 4 == 0 || t % 4 == 3) ? 40.0 : 40.125);
    }
    px.push_back(ix);
    py.push_back(iy);
  }
  px.push_back({300.6});
  py.push_back({40.3});
  polys.allocate(static_cast<int32_t>(px.size()) + 1);  // the last one stays empty
  for (size_t j = 0; j < px.size(); ++j) set_polygon(polys(static_cast<int32_t>(j) + 1), px[j], py[j]);
}

// The crossing search without the box test, as the bare edge test gives it,
// over the edges in polygon and edge order.
void unfiltered(double x1, double y1, double x2, double y2, const std::vector<std::array<double, 4>>& edges,
                double& xo, double& yo, int32_t& num) {
  num = 0;
  if (x2 - x1 == 0.0 && y2 - y1 == 0.0) return;
  bool found = false;
  double best = 0;
  for (const auto& e : edges) {
    if (e[2] - e[0] == 0.0 && e[3] - e[1] == 0.0) continue;
    double s, u, v;
    bool at_start;
    if (coast_detail::edge_crossing(x1, y1, x2, y2, e[0], e[1], e[2], e[3], s, u, v, at_start) !=
        coast_detail::edge_result::point)
      continue;
    ++num;
    if (!found || s < best) {
      found = true;
      best = s;
      xo = u;
      yo = v;
    }
  }
}

TEST(CoastIndex, PolygonCrossingsAgreeWithTheLinearScan) {
  fresh_state fs;
  rng r(77);
  set_grid(299.75, 39.75, 1.0 / 64, 1.0 / 64, 160, 80);
  farray<coast_polygon, 1> polys{"polys"};
  make_polygons(r, polys);
  coast_index::build(&polys);
  ASSERT_TRUE(coast_index::edges_ready(polys));
  // Every edge, for picking vertices and edges to aim at.
  std::vector<std::array<double, 4>> edges;
  for (int32_t j = 1; j <= polys.size(1); ++j)
    for (int32_t i = 1; i < polys(j).n; ++i)
      edges.push_back({polys(j).x(i), polys(j).y(i), polys(j).x(i + 1), polys(j).y(i + 1)});

  const int queries = 300000;
  int64_t crossed = 0, at_vertex = 0;
  for (int q = 0; q < queries; ++q) {
    double a1, a2, b1, b2;
    const auto& e = edges[static_cast<size_t>(r.integer(0, static_cast<int64_t>(edges.size()) - 1))];
    const int kind = static_cast<int>(r.integer(0, 8));
    switch (kind) {
      case 0: {  // a step of up to 0.05 degrees anywhere
        a1 = r.uniform(299.8, 301.9);
        a2 = r.uniform(39.8, 41.2);
        const double l = r.uniform(0, 0.05), t = r.uniform(0, 6.283185307179586);
        b1 = a1 + l * std::cos(t);
        b2 = a2 + l * std::sin(t);
        break;
      }
      case 1:  // a short step on a fine lattice
        a1 = r.dyadic(300.2, 301.0, 10);
        a2 = r.dyadic(40.0, 40.8, 10);
        b1 = a1 + r.integer(-16, 16) / 1024.0;
        b2 = a2 + r.integer(-16, 16) / 1024.0;
        break;
      case 2: {  // through a vertex
        const double d1 = r.integer(-8, 8) / 1024.0, d2 = r.integer(-8, 8) / 1024.0;
        const double t = r.integer(1, 8) / 8.0, u = r.integer(0, 8) / 8.0;
        a1 = e[0] - t * d1;
        a2 = e[1] - t * d2;
        b1 = e[0] + u * d1;
        b2 = e[1] + u * d2;
        break;
      }
      case 3: {  // along an edge's line: overlaps, touches, beyond
        const double al = r.integer(-8, 16) / 8.0, be = r.integer(-8, 16) / 8.0;
        a1 = e[0] + al * (e[2] - e[0]);
        a2 = e[1] + al * (e[3] - e[1]);
        b1 = e[0] + be * (e[2] - e[0]);
        b2 = e[1] + be * (e[3] - e[1]);
        break;
      }
      case 4:  // ending on a vertex or in the middle of an edge
        b1 = r.integer(0, 1) ? e[0] : 0.5 * (e[0] + e[2]);
        b2 = b1 == e[0] ? e[1] : 0.5 * (e[1] + e[3]);
        a1 = b1 + r.integer(-16, 16) / 1024.0;
        a2 = b2 + r.integer(-16, 16) / 1024.0;
        break;
      case 5:  // starting on a vertex or in the middle of an edge
        a1 = r.integer(0, 1) ? e[2] : 0.5 * (e[0] + e[2]);
        a2 = a1 == e[2] ? e[3] : 0.5 * (e[1] + e[3]);
        b1 = a1 + r.integer(-16, 16) / 1024.0;
        b2 = a2 + r.integer(-16, 16) / 1024.0;
        break;
      case 6:  // almost along an edge
        a1 = e[0] + r.uniform(-1e-9, 1e-9);
        a2 = e[1] + r.uniform(-1e-9, 1e-9);
        b1 = e[2] + (e[2] - e[0]) * r.uniform(-0.5, 0.5) + r.uniform(-1e-9, 1e-9);
        b2 = e[3] + (e[3] - e[1]) * r.uniform(-0.5, 0.5) + r.uniform(-1e-9, 1e-9);
        break;
      case 7:  // across the whole region
        a1 = r.uniform(299.7, 302.0);
        a2 = r.uniform(39.7, 41.3);
        b1 = r.uniform(299.7, 302.0);
        b2 = r.uniform(39.7, 41.3);
        break;
      default:  // no move
        a1 = b1 = r.uniform(300.0, 301.5);
        a2 = b2 = r.uniform(40.0, 40.5);
        break;
    }
    double xa = -1, ya = -1, xb = -1, yb = -1;
    int32_t sa = 9, sb = 9, na = -1, nb = -1;
    busca_costa_interseccion_linear(a1, a2, b1, b2, polys, xa, ya, sa, na);
    busca_costa_interseccion_str(a1, a2, b1, b2, polys, xb, yb, sb, nb);
    ASSERT_EQ(na, nb) << q << " " << a1 << " " << a2 << " " << b1 << " " << b2;
    ASSERT_EQ(sa, sb);
    ASSERT_TRUE(same(xa, xb) && same(ya, yb)) << q;
    if (na > 0) ++crossed;
    if (na > 0 && kind == 2) ++at_vertex;
    // The box test only saves work: without it the answer is the same.
    if (q % 4 == 0) {
      double xu = -1, yu = -1;
      int32_t nu = -1;
      unfiltered(a1, a2, b1, b2, edges, xu, yu, nu);
      ASSERT_EQ(na, nu) << q;
      ASSERT_TRUE(same(xa, xu) && same(ya, yu)) << q;
    }
  }
  EXPECT_GT(crossed, queries / 10);
  EXPECT_GT(at_vertex, queries / 100);
}

// Runs f on a thread of its own and ends the whole test program when it has
// not returned within `seconds`: a hang is a failure, not a stuck suite.
template <typename F>
void within(double seconds, F f) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread([done, seconds] {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
      if (done->load()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::fprintf(stderr, "still running after %g s: a hang\n", seconds);
    std::_Exit(1);
  }).detach();
  f();
  done->store(true);
}

// Coordinates that no reader lets through, but finite: the index build
// finishes on them, and the searches through it still give the scans'
// answers.  Spans beyond the double range (1e308 - (-1e308)), widths that
// underflow, a grid spacing wider than the coast.
TEST(CoastIndex, WildFiniteCoordinatesBuildAndAgree) {
  struct wild {
    const char* name;
    std::vector<double> x, y;
    double dx;
  };
  const double big = 1e308, tiny = 5e-324;
  const std::vector<wild> cases = {
      {"a vertex at latitude -1e308", {350.70, 350.70, 350.8}, {43.00, -big, 43.1}, 1.0 / 64},
      {"a span beyond the double range", {-big, 350.7, big}, {43.0, 43.05, 43.1}, 1.0 / 64},
      {"both axes beyond the range", {-big, 350.7, big}, {big, 43.05, -big}, 1.0 / 64},
      {"the largest doubles", {-1.7976931348623157e308, 1.7976931348623157e308}, {0.0, 1.0}, 1.0 / 64},
      {"a span of one denormal", {350.0, 350.0 + tiny * 0x1p52}, {43.0, 43.0}, tiny},
      {"denormal coordinates", {0.0, tiny, 2 * tiny}, {0.0, tiny, -tiny}, 1.0 / 64},
      {"a cell width of a denormal", {350.7, 350.8, 351.2}, {43.0, 43.1, 42.7}, tiny},
      {"a cell width of 1e300", {350.7, 350.8, 351.2}, {43.0, 43.1, 42.7}, 1e300},
  };
  for (const wild& c : cases) {
    SCOPED_TRACE(c.name);
    fresh_state fs;
    set_grid(350.0, 42.5, 1.0 / 64, 1.0 / 64, 160, 80);
    var_mallas.deltax = c.dx;
    var_mallas.deltay = c.dx;
    set_coast(c.x, c.y);
    farray<coast_polygon, 1> polys{"polys"};
    polys.allocate(2);
    set_polygon(polys(1), c.x, c.y);
    set_polygon(polys(2), {350.75, 350.65}, {43.02, 43.02});
    within(10.0, [&] { coast_index::build(&polys); });
    ASSERT_TRUE(coast_index::points_ready());
    ASSERT_TRUE(coast_index::edges_ready(polys));
    std::vector<std::array<double, 2>> at;
    for (std::size_t k = 0; k < c.x.size(); ++k) {
      at.push_back({c.x[k], c.y[k]});
      at.push_back({c.x[k] + 0.003, c.y[k] - 0.002});
    }
    at.push_back({350.7, 43.02});
    for (const auto& a : at) {
      for (const auto& b : at) {
        double xa = -1, ya = -1, xb = -1, yb = -1, da = 100000.0, db = 100000.0;
        int32_t ka = 0, kb = 0;
        const bool fa = buscacosta_linear(a[0], a[1], xa, ya, ka, da);
        const bool fb = buscacosta(a[0], a[1], xb, yb, kb, db);
        ASSERT_EQ(fa, fb) << a[0] << " " << a[1];
        ASSERT_EQ(ka, kb);
        ASSERT_TRUE(same(xa, xb) && same(ya, yb) && same(da, db));
        const bool ra = buscacosta_radar_linear(a[0], a[1], xa, ya, da);
        const bool rb = buscacosta_radar(a[0], a[1], xb, yb, db);
        ASSERT_EQ(ra, rb);
        ASSERT_TRUE(same(xa, xb) && same(ya, yb) && same(da, db));
        int32_t sa = 9, sb = 9, na = -1, nb = -1;
        busca_costa_interseccion_linear(a[0], a[1], b[0], b[1], polys, xa, ya, sa, na);
        busca_costa_interseccion_str(a[0], a[1], b[0], b[1], polys, xb, yb, sb, nb);
        ASSERT_EQ(na, nb) << a[0] << " " << a[1] << " -> " << b[0] << " " << b[1];
        ASSERT_EQ(sa, sb);
        ASSERT_TRUE(same(xa, xb) && same(ya, yb));
      }
    }
  }
}

TEST(CoastIndex, StaleOrMissingIndexFallsBackToTheScans) {
  fresh_state fs;
  set_grid(299.75, 39.75, 1.0 / 64, 1.0 / 64, 160, 80);
  set_coast({300.5}, {40.5});
  coast_index::build(nullptr);
  EXPECT_TRUE(coast_index::points_ready());
  // A new coastline replaces the arrays: the index no longer applies.
  set_coast({300.25, 300.5}, {40.5, 40.5});
  EXPECT_FALSE(coast_index::points_ready());
  double xo, yo, dist = 100000.0;
  int32_t k = 0;
  ASSERT_TRUE(buscacosta(300.26, 40.5, xo, yo, k, dist));
  EXPECT_EQ(k, 1);
  farray<coast_polygon, 1> polys{"polys"}, other{"other"};
  polys.allocate(1);
  other.allocate(1);
  set_polygon(polys(1), {300, 301}, {40, 41});
  set_polygon(other(1), {300, 301}, {41, 40});
  coast_index::build(&polys);
  EXPECT_TRUE(coast_index::edges_ready(polys));
  EXPECT_FALSE(coast_index::edges_ready(other));
  int32_t state = 9, num = 0;
  busca_costa_interseccion_str(300, 40.5, 301, 40.5, other, xo, yo, state, num);
  EXPECT_EQ(num, 1);
  EXPECT_EQ(xo, 300.5);
  // Non-finite queries take the scans.
  EXPECT_FALSE(buscacosta(std::nan(""), 40.5, xo, yo, k, dist));
  busca_costa_interseccion_str(std::nan(""), 40.5, 301, 40.5, polys, xo, yo, state, num);
  EXPECT_EQ(num, 0);
  coast_index::release();
  EXPECT_FALSE(coast_index::points_ready());
  EXPECT_FALSE(coast_index::edges_ready(polys));
}

}  // namespace
}  // namespace orvel
