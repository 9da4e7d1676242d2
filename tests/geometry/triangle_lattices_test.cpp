#include "geometry/triangle_lattices.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "geometry/random.hpp"
#include "geometry/simplices.hpp"
#include "geometry/triangle_containment.hpp"
#include "geometry/triangles.hpp"
#include "tests/geometry/geometry_support.hpp"
#include "tests/geometry/lattice_check.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::enumerate;
using testing::expect_fatal;
using testing::lattice_point;
using testing::rel_near;
using testing::vec_rel_near;

const double t[] = {1, 2, 5, 2, 3, 6};  // P1, P2, P3

TEST(GeometryTriangleLattices, GridPointsByHand) {
  auto p = canaries(20);
  int32_t n;
  triangle_gridpoints_2d(t, 1, 10, n, p.data());
  EXPECT_EQ(n, 3);
  EXPECT_TRUE(vec_rel_near({p.begin(), p.begin() + 6}, {3, 6, 5, 2, 1, 2}, 0));  // P3, P2, P1
  EXPECT_EQ(p[6], testing::canary);
  triangle_gridpoints_2d(t, 2, 10, n, p.data());
  EXPECT_EQ(n, 6);
  EXPECT_TRUE(vec_rel_near({p.begin() + 6, p.begin() + 8}, {2, 4}, 0));  // (P1 + P3) / 2
  p = canaries(20);
  triangle_gridpoints_2d(t, 2, 2, n, p.data());
  EXPECT_EQ(n, 2);
  EXPECT_EQ(p[4], testing::canary);
  triangle_gridpoints_2d(t, 0, 1, n, p.data());
  EXPECT_EQ(n, 1);
  EXPECT_TRUE(vec_rel_near({p[0], p[1]}, {3, 10.0 / 3.0}, 1e-15));
  p = canaries(4);
  triangle_gridpoints_2d(t, 0, 0, n, p.data());
  EXPECT_EQ(n, 0);
  triangle_gridpoints_2d(t, -1, 5, n, p.data());
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p, canaries(4));
  // Every point of a finer grid is in the triangle; there are (S + 1)(S + 2) / 2.
  std::vector<double> g(2 * 66);
  triangle_gridpoints_2d(t, 10, 66, n, g.data());
  EXPECT_EQ(n, 66);
  for (int32_t j = 0; j < n; ++j) {
    double d;
    bool inside;
    triangle_contains_point_2d_3(t, &g[2 * j], inside);
    triangle_point_dist_2d(t, &g[2 * j], d);
    EXPECT_TRUE(inside || d < 1e-14);
  }
}

TEST(GeometryTriangleLattices, CountsByHand) {
  const struct {
    int32_t s, n;
  } unit[] = {{0, 1}, {3, 10}, {10, 66}};
  for (const auto& r : unit) {
    int32_t n;
    triangle_unit_lattice_point_num_2d(r.s, n);
    EXPECT_EQ(n, r.n);
  }
  const struct {
    int32_t a, b, n;
  } right[] = {{2, 3, 7}, {4, 2, 9}, {0, 0, 1}, {3, 0, 4}, {0, 5, 6}, {6, 6, 28}};
  for (const auto& r : right) {
    int32_t n;
    triangle_right_lattice_point_num_2d(r.a, r.b, n);
    EXPECT_EQ(n, r.n) << r.a << " " << r.b;
  }
}

TEST(GeometryTriangleLattices, EnumeratorsByHand) {
  const auto next = [](std::vector<int32_t> c) {
    return [c](int32_t* v, bool& more) { triangle_lattice_point_next(c.data(), v, more); };
  };
  const auto layer = [](std::vector<int32_t> c) {
    return [c](int32_t* v, bool& more) { triangle_lattice_layer_point_next(c.data(), v, more); };
  };
  const auto e = enumerate(2, next({2, 3, 1}));
  EXPECT_EQ(e.points, (std::vector<lattice_point>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}, {0, 3}}));
  EXPECT_EQ(e.last, (lattice_point{0, 0}));
  EXPECT_EQ(enumerate(2, layer({1, 1, 0})).points, (std::vector<lattice_point>{{0, 0}}));
  EXPECT_EQ(enumerate(2, layer({1, 1, 2})).points, (std::vector<lattice_point>{{2, 0}, {1, 1}, {0, 2}}));
  // Weights with a common factor enumerate the whole triangle x / 2 + y / 4
  // <= 1: on the lcm scale 2 x + y <= 4.
  EXPECT_EQ(enumerate(2, next({2, 4, 1})).points,
            (std::vector<lattice_point>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {0, 4}}));
  EXPECT_TRUE(enumerate(2, next({0, 4, 1})).points.empty());
  EXPECT_TRUE(enumerate(2, layer({2, 4, -1})).points.empty());
}

// Random weights, common factors included: the points are those of a brute
// force search, as many as the right triangle with legs C(1) C(3) and
// C(2) C(3) holds, the same as the simplex enumerators give; the layers
// partition them.
TEST(GeometryTriangleLattices, EnumeratorsMatchBruteForce) {
  int32_t seed = 1380;
  for (int k = 0; k < 80; ++k) {
    std::vector<int32_t> c = {i4_uniform(1, 8, seed), i4_uniform(1, 8, seed), i4_uniform(0, 4, seed)};
    const auto all = enumerate(2, [&](int32_t* v, bool& more) { triangle_lattice_point_next(c.data(), v, more); });
    const auto sim = enumerate(2, [&](int32_t* v, bool& more) { simplex_lattice_point_next(2, c.data(), v, more); });
    EXPECT_EQ(all.points, sim.points);
    const std::set<lattice_point> got(all.points.begin(), all.points.end());
    EXPECT_EQ(got.size(), all.points.size());
    const int64_t lcm = testing::weight_lcm(c, 2);
    EXPECT_EQ(got, testing::brute_force(c, 2, -1, lcm * c[2]));
    int32_t n;
    triangle_right_lattice_point_num_2d(c[0] * c[2], c[1] * c[2], n);
    EXPECT_EQ(static_cast<int32_t>(got.size()), n) << c[0] << " " << c[1] << " " << c[2];

    std::set<lattice_point> layers;
    std::size_t total = 0;
    for (int32_t l = 0; l <= c[2]; ++l) {
      const std::vector<int32_t> cl = {c[0], c[1], l};
      const auto e =
          enumerate(2, [&](int32_t* v, bool& more) { triangle_lattice_layer_point_next(cl.data(), v, more); });
      EXPECT_EQ(std::set<lattice_point>(e.points.begin(), e.points.end()),
                testing::brute_force(c, 2, l == 0 ? -1 : lcm * (l - 1), lcm * l));
      total += e.points.size();
      layers.insert(e.points.begin(), e.points.end());
    }
    EXPECT_EQ(total, got.size());
    EXPECT_EQ(layers, got);
  }
}

// Every sampled point is inside; SEED moves on by two numbers per point; the
// same SEED gives the same points; the mean is near the centroid.
TEST(GeometryTriangleLattices, Sampling) {
  int32_t seed = 3;
  const auto tri = testing::random_triangle_2d(seed);
  const int32_t n = 20000;
  std::vector<double> p(2 * n), again(2 * n);
  int32_t s1 = 4711, s2 = 4711, s3 = 4711;
  triangle_sample(tri.data(), n, s1, p.data());
  triangle_sample(tri.data(), n, s2, again.data());
  EXPECT_EQ(p, again);
  for (int k = 0; k < 2 * n; ++k) r8_uniform_01(s3);
  EXPECT_EQ(s1, s3);
  double mean[2] = {0, 0}, c[2];
  for (int32_t j = 0; j < n; ++j) {
    double xsi[3];
    triangle_xy_to_xsi_2d(tri.data(), &p[2 * j], xsi);
    for (double x : xsi) EXPECT_GE(x, -1e-12);
    mean[0] += p[2 * j] / n;
    mean[1] += p[2 * j + 1] / n;
  }
  triangle_centroid_2d(tri.data(), c);
  double edges[3];
  triangle_edge_length_2d(tri.data(), edges);
  EXPECT_NEAR(mean[0], c[0], 0.02 * edges[0]);
  EXPECT_NEAR(mean[1], c[1], 0.02 * edges[0]);

  auto none = canaries(2);
  int32_t s4 = 17;
  triangle_sample(tri.data(), 0, s4, none.data());
  EXPECT_EQ(s4, 17);
  EXPECT_EQ(none, canaries(2));
  int32_t zero = 0;
  expect_fatal([&] { triangle_sample(tri.data(), 1, zero, none.data()); },
               {" ", "R8VEC_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
  EXPECT_EQ(none, canaries(2));
}

}  // namespace
}  // namespace orvel::geometry
