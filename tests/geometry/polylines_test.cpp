#include "geometry/polylines.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::rel_near;

using vec = std::vector<double>;

const vec bent = {0, 0, 3, 4, 3, 5};               // segments of length 5 and 1
const vec square = {0, 0, 1, 0, 1, 1, 0, 1};       // the unit square

TEST(GeometryPolylines, ArclengthsAndLengthsByHand) {
  vec s(3);
  double length = -1;
  polyline_arclength_nd(2, 3, bent.data(), s.data());
  EXPECT_EQ(s, (vec{0, 5, 6}));
  polyline_length_nd(2, 3, bent.data(), length);
  EXPECT_EQ(length, 6.0);
  polyline_arclength_nd(2, 1, bent.data(), s.data());
  EXPECT_EQ(s[0], 0.0);
  polyline_length_nd(2, 1, bent.data(), length);
  EXPECT_EQ(length, 0.0);
  auto none = canaries(1);
  polyline_arclength_nd(2, 0, bent.data(), none.data());
  EXPECT_EQ(none, canaries(1));

  vec sk(5);
  polyloop_arclength_nd(2, 4, square.data(), sk.data());
  EXPECT_EQ(sk, (vec{0, 1, 2, 3, 4}));
  polyloop_length_nd(2, 4, square.data(), length);
  EXPECT_EQ(length, 4.0);
  polyloop_arclength_nd(2, 1, square.data(), sk.data());
  EXPECT_EQ(sk[0], 0.0);
  EXPECT_EQ(sk[1], 0.0);
  sk.assign(1, 9.0);
  polyloop_arclength_nd(2, 0, square.data(), sk.data());
  EXPECT_EQ(sk[0], 0.0);
  polyloop_length_nd(2, 0, square.data(), length);
  EXPECT_EQ(length, 0.0);

  // The loop is the line with its closing edge, added last.
  int32_t seed = 12;
  for (int k = 0; k < 50; ++k) {
    const int32_t dim = 1 + k % 4, n = 2 + k % 7;
    const vec p = testing::random_points(dim, n, -5.0, 5.0, seed);
    double line = 0, loop = 0;
    polyline_length_nd(dim, n, p.data(), line);
    polyloop_length_nd(dim, n, p.data(), loop);
    EXPECT_EQ(loop, line + r8vec_distance(dim, &p[dim * (n - 1)], &p[0]));
    vec sl(n), sp(n + 1);
    polyline_arclength_nd(dim, n, p.data(), sl.data());
    polyloop_arclength_nd(dim, n, p.data(), sp.data());
    EXPECT_EQ(sl[n - 1], line);
    EXPECT_EQ(sp[n], loop);
    EXPECT_EQ(vec(sp.begin(), sp.end() - 1), sl);
  }
}

TEST(GeometryPolylines, PointAtArclength) {
  const struct {
    double t;
    vec pt;
  } rows[] = {{2.5, {1.5, 2}},  {5, {3, 4}},       {5.5, {3, 4.5}},  {7, {3, 6}},  // beyond the end
              {-5, {-3, -4}},   {0, {0, 0}},       {6, {3, 5}}};
  for (const auto& r : rows) {
    vec pt(2);
    polyline_index_point_nd(2, 3, bent.data(), r.t, pt.data());
    EXPECT_TRUE(testing::vec_rel_near(pt, r.pt, 1e-15));
  }
  vec pt(2);
  polyline_index_point_nd(2, 1, bent.data(), 3.0, pt.data());
  EXPECT_EQ(pt, (vec{0, 0}));
  expect_fatal([&] { polyline_index_point_nd(2, 0, bent.data(), 1.0, pt.data()); },
               {" ", "POLYLINE_INDEX_POINT_ND - Fatal error!", "  The input quantity N is nonpositive.",
                "  N =        0"});
  expect_fatal([&] { polyline_index_point_nd(2, -12, bent.data(), 1.0, pt.data()); },
               {" ", "POLYLINE_INDEX_POINT_ND - Fatal error!", "  The input quantity N is nonpositive.",
                "  N =      -12"});
  // A segment of length 0 chosen for the point gives its first point.
  const vec doubled_start = {0, 0, 0, 0, 1, 0}, doubled_end = {0, 0, 1, 0, 1, 0};
  polyline_index_point_nd(2, 3, doubled_start.data(), -1.0, pt.data());
  EXPECT_EQ(pt, (vec{0, 0}));
  polyline_index_point_nd(2, 3, doubled_end.data(), 5.0, pt.data());
  EXPECT_EQ(pt, (vec{1, 0}));

  // At each vertex's arclength, the vertex itself.
  int32_t seed = 606;
  for (int k = 0; k < 50; ++k) {
    const int32_t dim = 1 + k % 3, n = 2 + k % 6;
    const vec p = testing::random_points(dim, n, -5.0, 5.0, seed);
    vec s(n), q(dim);
    polyline_arclength_nd(dim, n, p.data(), s.data());
    for (int i = 0; i < n; ++i) {
      polyline_index_point_nd(dim, n, p.data(), s[i], q.data());
      EXPECT_TRUE(testing::vec_rel_near(q, vec(p.begin() + dim * i, p.begin() + dim * (i + 1)), 1e-13));
    }
  }
}

TEST(GeometryPolylines, EquallySpacedPointsByHand) {
  vec pt(6);
  polyline_points_nd(2, 3, bent.data(), 3, pt.data());
  EXPECT_TRUE(testing::vec_rel_near(pt, {0, 0, 1.8, 2.4, 3, 5}, 1e-15));
  pt.assign(10, 0.0);
  polyloop_points_nd(2, 4, square.data(), 5, pt.data());
  EXPECT_TRUE(testing::vec_rel_near(pt, {0, 0, 1, 0, 1, 1, 0, 1, 0, 0}, 1e-15));

  // One point asked for: the first point.
  pt = canaries(4);
  polyline_points_nd(2, 3, bent.data(), 1, pt.data());
  EXPECT_EQ(pt, (vec{0, 0, testing::canary, testing::canary}));
  pt = canaries(4);
  polyloop_points_nd(2, 4, square.data(), 1, pt.data());
  EXPECT_EQ(pt, (vec{0, 0, testing::canary, testing::canary}));
  // One point given: that point, every time.
  const vec single = {4, -1};
  pt = canaries(6);
  polyline_points_nd(2, 1, single.data(), 3, pt.data());
  EXPECT_EQ(pt, (vec{4, -1, 4, -1, 4, -1}));
  pt = canaries(6);
  polyloop_points_nd(2, 1, single.data(), 3, pt.data());
  EXPECT_EQ(pt, (vec{4, -1, 4, -1, 4, -1}));
  // No points given or asked for: nothing written.
  for (int32_t n : {0, -1}) {
    pt = canaries(6);
    polyline_points_nd(2, n, bent.data(), 3, pt.data());
    polyloop_points_nd(2, n, square.data(), 3, pt.data());
    polyline_points_nd(2, 3, bent.data(), n, pt.data());
    polyloop_points_nd(2, 4, square.data(), n, pt.data());
    EXPECT_EQ(pt, canaries(6));
  }
  // A first segment of length 0 on which the first point falls.
  const vec doubled = {0, 0, 0, 0, 2, 0};
  pt.assign(6, -1.0);
  polyline_points_nd(2, 3, doubled.data(), 3, pt.data());
  EXPECT_EQ(pt, (vec{0, 0, 1, 0, 2, 0}));
}

TEST(GeometryPolylines, PointsOnAStraightLineAreEquallySpaced) {
  int32_t seed = 8080;
  for (int k = 0; k < 40; ++k) {
    const int32_t dim = 1 + k % 4, n = 2 + k % 6, nt = 2 + k % 11;
    // Vertices at increasing parameters along one direction, unevenly spaced.
    const vec dir = testing::random_direction(dim, seed), base = testing::random_points(dim, 1, -3.0, 3.0, seed);
    vec p(dim * n);
    double t = 0;
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < dim; ++i) p[dim * j + i] = base[i] + t * dir[i];
      t += r8_uniform(0.1, 3.0, seed);
    }
    vec pt(dim * nt);
    polyline_points_nd(dim, n, p.data(), nt, pt.data());
    double length;
    polyline_length_nd(dim, n, p.data(), length);
    for (int j = 0; j + 1 < nt; ++j)
      EXPECT_TRUE(rel_near(r8vec_distance(dim, &pt[dim * j], &pt[dim * (j + 1)]), length / (nt - 1), 1e-12));
    EXPECT_TRUE(testing::vec_rel_near(vec(pt.begin(), pt.begin() + dim), vec(p.begin(), p.begin() + dim), 1e-14));
    EXPECT_TRUE(testing::vec_rel_near(vec(pt.end() - dim, pt.end()), vec(p.end() - dim, p.end()), 1e-13));

    // Round a loop the points start and end at the first point, and each
    // lies at its share of the length along the boundary.
    const int32_t nk = n + 1;
    const vec pk = testing::random_points(dim, nk, -5.0, 5.0, seed);
    vec ptk(dim * nt);
    polyloop_points_nd(dim, nk, pk.data(), nt, ptk.data());
    EXPECT_TRUE(testing::vec_rel_near(vec(ptk.begin(), ptk.begin() + dim), vec(pk.begin(), pk.begin() + dim), 1e-14));
    EXPECT_TRUE(testing::vec_rel_near(vec(ptk.end() - dim, ptk.end()), vec(pk.begin(), pk.begin() + dim), 1e-13));
    vec closed(pk);
    closed.insert(closed.end(), pk.begin(), pk.begin() + dim);  // the loop as a line
    vec q(dim);
    double loop;
    polyloop_length_nd(dim, nk, pk.data(), loop);
    for (int j = 0; j < nt; ++j) {
      polyline_index_point_nd(dim, nk + 1, closed.data(), j * loop / (nt - 1), q.data());
      EXPECT_TRUE(testing::vec_rel_near(vec(ptk.begin() + dim * j, ptk.begin() + dim * (j + 1)), q, 1e-12));
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
