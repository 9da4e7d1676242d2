#include "geometry/simplices.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "geometry/integers.hpp"
#include "geometry/random.hpp"
#include "geometry/tetrahedra.hpp"
#include "tests/geometry/geometry_support.hpp"
#include "tests/geometry/lattice_check.hpp"

namespace orvel::geometry {
namespace {

using testing::enumerate;
using testing::lattice_point;
using testing::rel_near;
using testing::stdout_of;

TEST(GeometrySimplices, VolumesByHand) {
  const double unit3[] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  const double unit3_reordered[] = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1};
  double v, u;
  simplex_volume_nd(3, unit3, v);
  simplex_unit_volume_nd(3, u);
  EXPECT_TRUE(rel_near(v, 1.0 / 6.0, 1e-15));
  EXPECT_EQ(u, 1.0 / 6.0);
  simplex_volume_nd(3, unit3_reordered, v);
  EXPECT_TRUE(rel_near(v, 1.0 / 6.0, 1e-15));

  // The unit simplex in n dimensions: 1 / n!.
  double factorial = 1.0;
  for (int32_t n = 1; n <= 6; ++n) {
    factorial *= n;
    std::vector<double> a(static_cast<std::size_t>(n) * (n + 1), 0.0);
    for (int32_t j = 0; j < n; ++j) a[static_cast<std::size_t>(j) * n + j] = 1.0;
    simplex_volume_nd(n, a.data(), v);
    simplex_unit_volume_nd(n, u);
    EXPECT_TRUE(rel_near(v, 1.0 / factorial, 1e-15)) << n;
    EXPECT_TRUE(rel_near(u, 1.0 / factorial, 1e-15)) << n;
  }
  simplex_unit_volume_nd(0, u);
  EXPECT_EQ(u, 1.0);
  simplex_unit_volume_nd(-3, u);
  EXPECT_EQ(u, 1.0);

  // Three collinear points: -1 after the factorisation's warning.
  const double flat[] = {0, 0, 1, 1, 2, 2};
  const std::string out = stdout_of([&] { simplex_volume_nd(2, flat, v); });
  EXPECT_EQ(v, -1.0);
  EXPECT_EQ(out, testing::lines({" ", "DGE_FA - Warning!", "  Zero pivot on step        2"}));
}

// The volume of a random tetrahedron is that of the simplex, whatever the
// order of its vertices.
TEST(GeometrySimplices, VolumeIsTheTetrahedronVolume) {
  int32_t seed = 4242;
  for (int k = 0; k < 200; ++k) {
    auto t = testing::random_tetrahedron(seed);
    double vs, vt;
    simplex_volume_nd(3, t.data(), vs);
    tetrahedron_volume_3d(t.data(), vt);
    EXPECT_TRUE(rel_near(vs, vt, 1e-12));
    for (int i = 0; i < 3; ++i) std::swap(t[i], t[9 + i]);
    simplex_volume_nd(3, t.data(), vs);
    EXPECT_TRUE(rel_near(vs, vt, 1e-12));
  }
}

TEST(GeometrySimplices, LatticeCounts) {
  const struct {
    int32_t dim, s, n;
  } rows[] = {{2, 2, 6}, {3, 1, 4}, {1, 5, 6}, {4, 0, 1}, {0, 7, 1}, {-2, 7, 1}, {5, 3, 56}};
  for (const auto& r : rows) {
    int32_t n;
    simplex_unit_lattice_point_num_nd(r.dim, r.s, n);
    EXPECT_EQ(n, r.n) << r.dim << " " << r.s;
  }
  for (int32_t dim = 1; dim <= 6; ++dim) {
    for (int32_t s = 0; s <= 6; ++s) {
      int32_t n, c;
      simplex_unit_lattice_point_num_nd(dim, s, n);
      combin2(dim + s, dim, c);
      EXPECT_EQ(n, c) << dim << " " << s;
    }
  }
}

TEST(GeometrySimplices, EnumeratorsByHand) {
  const auto next = [](const std::vector<int32_t>& c) {
    return [c](int32_t* v, bool& more) { simplex_lattice_point_next(2, c.data(), v, more); };
  };
  const auto layer = [](const std::vector<int32_t>& c) {
    return [c](int32_t* v, bool& more) { simplex_lattice_layer_point_next(2, c.data(), v, more); };
  };
  const auto all = enumerate(2, next({1, 1, 2}));
  EXPECT_EQ(all.points, (std::vector<lattice_point>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}));
  EXPECT_EQ(all.last, (lattice_point{0, 0}));
  const auto two = enumerate(2, layer({1, 1, 2}));
  EXPECT_EQ(two.points, (std::vector<lattice_point>{{2, 0}, {1, 1}, {0, 2}}));
  EXPECT_EQ(two.last, (lattice_point{0, 0}));
  EXPECT_EQ(enumerate(2, next({2, 3, 1})).points,
            (std::vector<lattice_point>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}, {0, 3}}));
  // Layer 0: the origin once; V stays as it was at the end.
  const auto zero = enumerate(2, layer({3, 5, 0}));
  EXPECT_EQ(zero.points, (std::vector<lattice_point>{{0, 0}}));
  EXPECT_EQ(zero.last, (lattice_point{0, 0}));
  // A weight of 0 or below, or a negative bound or layer: nothing.
  for (const auto& c : std::vector<std::vector<int32_t>>{{0, 1, 2}, {1, -1, 2}, {1, 1, -1}}) {
    const auto e = enumerate(2, next(c));
    EXPECT_TRUE(e.points.empty());
    EXPECT_EQ(e.last, (lattice_point{0, 0}));
    const auto l = enumerate(2, layer(c));
    EXPECT_TRUE(l.points.empty());
    EXPECT_EQ(l.last, (lattice_point{0, 0}));
  }
}

// For weights with and without common factors in one to four dimensions:
// the enumerated points are distinct, in the simplex and all of it (by brute
// force); the layers 0 .. bound partition it; unit weights give the count.
TEST(GeometrySimplices, EnumeratorsMatchBruteForce) {
  int32_t seed = 909;
  for (int k = 0; k < 60; ++k) {
    const int32_t dim = 1 + k % 4;
    std::vector<int32_t> c(dim + 1);
    for (int32_t i = 0; i < dim; ++i) c[i] = k < 8 ? 1 : i4_uniform(1, 6, seed);
    c[dim] = i4_uniform(0, dim == 4 ? 2 : 3, seed);
    const int64_t lcm = testing::weight_lcm(c, dim);
    const auto all = enumerate(dim, [&](int32_t* v, bool& more) { simplex_lattice_point_next(dim, c.data(), v, more); });
    const std::set<lattice_point> got(all.points.begin(), all.points.end());
    EXPECT_EQ(got.size(), all.points.size()) << "repeated points";
    EXPECT_EQ(got, testing::brute_force(c, dim, -1, lcm * c[dim])) << k;
    EXPECT_EQ(all.last, lattice_point(dim, 0));
    if (k < 8) {
      int32_t n;
      simplex_unit_lattice_point_num_nd(dim, c[dim], n);
      EXPECT_EQ(static_cast<int32_t>(all.points.size()), n);
    }
    // The layers, each point once and V(1) fastest.
    std::set<lattice_point> layers;
    std::size_t layer_total = 0;
    for (int32_t l = 0; l <= c[dim]; ++l) {
      std::vector<int32_t> cl = c;
      cl[dim] = l;
      const auto e =
          enumerate(dim, [&](int32_t* v, bool& more) { simplex_lattice_layer_point_next(dim, cl.data(), v, more); });
      const std::set<lattice_point> one(e.points.begin(), e.points.end());
      EXPECT_EQ(one, testing::brute_force(c, dim, l == 0 ? -1 : lcm * (l - 1), lcm * l)) << k << " layer " << l;
      for (std::size_t j = 1; j < e.points.size(); ++j) {
        const auto& a = e.points[j - 1];
        const auto& b = e.points[j];
        EXPECT_TRUE(std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend()));
      }
      layer_total += e.points.size();
      layers.insert(one.begin(), one.end());
    }
    EXPECT_EQ(layer_total, got.size());
    EXPECT_EQ(layers, got);
  }
}

}  // namespace
}  // namespace orvel::geometry
