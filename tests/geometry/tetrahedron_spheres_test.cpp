#include "geometry/tetrahedron_spheres.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "geometry/polyhedra.hpp"
#include "geometry/random.hpp"
#include "geometry/reals.hpp"
#include "geometry/simplices.hpp"
#include "geometry/tetrahedra.hpp"
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

const double corner[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
const double regular[] = {1, 1, 1, 1, -1, -1, -1, 1, -1, -1, -1, 1};
const double flat[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};

struct qualities {
  double q1, q2, q3, q4;
};

qualities quality(const double* t) {
  qualities q{};
  tetrahedron_quality1_3d(t, q.q1);
  tetrahedron_quality2_3d(t, q.q2);
  tetrahedron_quality3_3d(t, q.q3);
  tetrahedron_quality4_3d(t, q.q4);
  return q;
}

// Distance from P to the plane through three vertices of T.
double plane_distance(const std::vector<double>& t, int a, int b, int c, const double* p) {
  double n[3];
  r8vec_cross_product_affine_3d(&t[3 * a], &t[3 * b], &t[3 * c], n);
  const double d[] = {p[0] - t[3 * a], p[1] - t[3 * a + 1], p[2] - t[3 * a + 2]};
  return std::fabs(r8vec_dot_product(3, n, d)) / r8vec_norm(3, n);
}

TEST(GeometryTetrahedronSpheres, SpheresByHand) {
  double r, pc[3];
  tetrahedron_circumsphere_3d(corner, r, pc);
  EXPECT_TRUE(rel_near(r, std::sqrt(3.0) / 2, 1e-15));
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1], pc[2]}, {0.5, 0.5, 0.5}, 1e-15));
  tetrahedron_insphere_3d(corner, r, pc);
  const double rin = 1.0 / (3.0 + std::sqrt(3.0));
  EXPECT_TRUE(rel_near(r, rin, 1e-15));
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1], pc[2]}, {rin, rin, rin}, 1e-15));

  // Regular: both centres at the centroid, R_out = 3 R_in.
  double r_out, c_out[3], r_in, c_in[3];
  tetrahedron_circumsphere_3d(regular, r_out, c_out);
  tetrahedron_insphere_3d(regular, r_in, c_in);
  EXPECT_TRUE(rel_near(r_out, std::sqrt(3.0), 1e-15));
  EXPECT_TRUE(rel_near(r_out, 3 * r_in, 1e-14));
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(c_out[i], 0.0, 1e-15);
    EXPECT_NEAR(c_in[i], 0.0, 1e-15);
  }

  // Coplanar: no circumsphere, an insphere of radius 0.
  tetrahedron_circumsphere_3d(flat, r, pc);
  EXPECT_EQ(r, -1.0);
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1], pc[2]}, {0, 0, 0}, 0));
  tetrahedron_insphere_3d(flat, r, pc);
  EXPECT_EQ(r, 0.0);
  // Four equal vertices: no face at all; a sphere of radius 0 at them.
  const double point[] = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3};
  tetrahedron_insphere_3d(point, r, pc);
  EXPECT_EQ(r, 0.0);
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1], pc[2]}, {1, 2, 3}, 0));
}

TEST(GeometryTetrahedronSpheres, QualitiesOfRegularAndFlatTetrahedra) {
  const qualities reg = quality(regular);
  EXPECT_TRUE(rel_near(reg.q1, 1.0, 1e-14));
  EXPECT_TRUE(rel_near(reg.q2, 1.0, 1e-14));
  EXPECT_TRUE(rel_near(reg.q3, 1.0, 1e-14));
  EXPECT_TRUE(rel_near(reg.q4, 1.0, 1e-14));
  const double collinear[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 5, 0, 1};
  const double point[] = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3};
  for (const double* t : {flat, collinear, point}) {
    const qualities q = quality(t);
    EXPECT_EQ(q.q1, 0.0);
    EXPECT_EQ(q.q2, 0.0);
    EXPECT_EQ(q.q3, 0.0);
    EXPECT_EQ(q.q4, 0.0);
  }
  // The corner tetrahedron: 3 R_in / R_out by hand.
  const qualities c = quality(corner);
  EXPECT_TRUE(rel_near(c.q1, 3.0 / (3.0 + std::sqrt(3.0)) / (std::sqrt(3.0) / 2), 1e-14));
  EXPECT_TRUE(rel_near(c.q2, 4.898979485566356 / (3.0 + std::sqrt(3.0)) / std::sqrt(2.0), 1e-14));
  EXPECT_TRUE(rel_near(c.q3, 12.0 * std::pow(0.5, 2.0 / 3.0) / 9.0, 1e-14));
}

// On random tetrahedra: the circumcentre is R from every vertex, the
// incentre R from every face plane and inside; every quality lies in (0, 1]
// and ignores rotation, translation and scaling.
TEST(GeometryTetrahedronSpheres, RandomTetrahedra) {
  int32_t seed = 1710;
  for (int k = 0; k < 300; ++k) {
    const auto t = testing::random_tetrahedron(seed);
    double r, pc[3];
    tetrahedron_circumsphere_3d(t.data(), r, pc);
    for (int v = 0; v < 4; ++v) EXPECT_TRUE(rel_near(r8vec_distance(3, pc, &t[3 * v]), r, 1e-12));
    tetrahedron_insphere_3d(t.data(), r, pc);
    const int faces[4][3] = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}};
    for (const auto& f : faces) EXPECT_TRUE(rel_near(plane_distance(t, f[0], f[1], f[2], pc), r, 1e-11));
    bool inside;
    tetrahedron_contains_point_3d(t.data(), pc, inside);
    EXPECT_TRUE(inside);

    const qualities q = quality(t.data());
    auto moved = testing::place_3d(t, testing::random_rotation(seed), {4, -1, 7});
    for (double& x : moved) x *= 2.5;
    const qualities m = quality(moved.data());
    for (const auto& [a, b] : {std::pair{q.q1, m.q1}, {q.q2, m.q2}, {q.q3, m.q3}, {q.q4, m.q4}}) {
      EXPECT_GT(a, 0.0);
      EXPECT_LE(a, 1.0 + 1e-14);
      EXPECT_TRUE(rel_near(a, b, 1e-10));
    }
  }
}

TEST(GeometryTetrahedronSpheres, ContainmentByHand) {
  const struct {
    double p[3];
    bool inside;
  } rows[] = {
      {{0, 0, 0}, true},       {{1, 0, 0}, true},         {{0, 1, 0}, true},       {{0, 0, 1}, true},
      {{0.25, 0.25, 0.25}, true}, {{0.5, 0.5, 0}, true},  {{0.5, 0.5, 0.5}, false}, {{-0.1, 0.2, 0.2}, false},
  };
  for (const auto& r : rows) {
    bool inside = !r.inside;
    tetrahedron_contains_point_3d(corner, r.p, inside);
    EXPECT_EQ(inside, r.inside) << r.p[0] << " " << r.p[1] << " " << r.p[2];
  }
  bool inside;
  const double p[] = {0, 0, 0};
  expect_fatal([&] { tetrahedron_contains_point_3d(flat, p, inside); },
               {" ", "TETRAHEDRON_BARYCENTRIC_3D - Fatal error!", "  The linear system is singular.",
                "  The input data does not form a proper tetrahedron."});
}

// Containment agrees with the polyhedron test on the same tetrahedron, its
// faces counterclockwise from outside, away from the boundary.
TEST(GeometryTetrahedronSpheres, ContainmentAgreesWithPolyhedron) {
  int32_t seed = 31;
  const int32_t face_order[] = {3, 3, 3, 3};
  const int32_t face_point[] = {1, 3, 2, 1, 2, 4, 1, 4, 3, 2, 3, 4};
  int inside_count = 0;
  for (int k = 0; k < 1000; ++k) {
    const auto t = testing::random_tetrahedron(seed);
    double c[3];
    tetrahedron_centroid_3d(t.data(), c);
    auto p = testing::random_points(3, 1, -1.5, 1.5, seed);
    for (int i = 0; i < 3; ++i) p[i] += c[i];
    double xsi[4];
    tetrahedron_barycentric_3d(t.data(), p.data(), xsi);
    if (std::fabs(xsi[0]) < 1e-9 || std::fabs(xsi[1]) < 1e-9 || std::fabs(xsi[2]) < 1e-9 || std::fabs(xsi[3]) < 1e-9)
      continue;
    bool inside, poly;
    tetrahedron_contains_point_3d(t.data(), p.data(), inside);
    polyhedron_contains_point_3d(4, 4, 3, t.data(), face_order, face_point, p.data(), poly);
    EXPECT_EQ(inside, xsi[0] >= 0 && xsi[1] >= 0 && xsi[2] >= 0 && xsi[3] >= 0);
    EXPECT_EQ(inside, poly);
    inside_count += inside;
  }
  EXPECT_GT(inside_count, 50);
  EXPECT_LT(inside_count, 950);
}

// Every sampled point is inside; SEED moves on by three numbers per point;
// the same SEED gives the same points; the mean is near the centroid.
TEST(GeometryTetrahedronSpheres, Sampling) {
  int32_t seed = 5;
  const auto t = testing::random_tetrahedron(seed);
  const int32_t n = 20000;
  std::vector<double> p(3 * n), again(3 * n);
  int32_t s1 = 123456, s2 = 123456, s3 = 123456;
  tetrahedron_sample_3d(t.data(), n, s1, p.data());
  tetrahedron_sample_3d(t.data(), n, s2, again.data());
  EXPECT_EQ(p, again);
  for (int k = 0; k < 3 * n; ++k) r8_uniform_01(s3);
  EXPECT_EQ(s1, s3);
  double mean[3] = {0, 0, 0}, c[3];
  for (int32_t j = 0; j < n; ++j) {
    double xsi[4];
    tetrahedron_barycentric_3d(t.data(), &p[3 * j], xsi);
    for (double x : xsi) EXPECT_GE(x, -1e-12);
    for (int i = 0; i < 3; ++i) mean[i] += p[3 * j + i] / n;
  }
  tetrahedron_centroid_3d(t.data(), c);
  double edges[6];
  tetrahedron_edge_length_3d(t.data(), edges);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(mean[i], c[i], 0.02 * edges[0]);

  // N = 0: nothing drawn or written.
  auto none = canaries(3);
  int32_t s4 = 99;
  tetrahedron_sample_3d(t.data(), 0, s4, none.data());
  EXPECT_EQ(s4, 99);
  EXPECT_EQ(none, canaries(3));
  int32_t zero = 0;
  expect_fatal([&] { tetrahedron_sample_3d(t.data(), 2, zero, none.data()); },
               {" ", "R8_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
}

TEST(GeometryTetrahedronSpheres, LatticeByHand) {
  const auto next = [](std::vector<int32_t> c) {
    return [c](int32_t* v, bool& more) { tetrahedron_lattice_point_next(c.data(), v, more); };
  };
  const auto layer = [](std::vector<int32_t> c) {
    return [c](int32_t* v, bool& more) { tetrahedron_lattice_layer_point_next(c.data(), v, more); };
  };
  const auto all = enumerate(3, next({1, 1, 1, 1}));
  EXPECT_EQ(all.points, (std::vector<lattice_point>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
  EXPECT_EQ(all.last, (lattice_point{0, 0, 0}));
  EXPECT_EQ(enumerate(3, layer({1, 1, 1, 2})).points,
            (std::vector<lattice_point>{{2, 0, 0}, {1, 1, 0}, {0, 2, 0}, {1, 0, 1}, {0, 1, 1}, {0, 0, 2}}));
  EXPECT_EQ(enumerate(3, layer({2, 3, 4, 0})).points, (std::vector<lattice_point>{{0, 0, 0}}));
  EXPECT_TRUE(enumerate(3, next({1, 0, 1, 2})).points.empty());
  EXPECT_TRUE(enumerate(3, layer({1, 1, 1, -1})).points.empty());

  const struct {
    int32_t s, n;
  } counts[] = {{0, 1}, {1, 4}, {2, 10}, {3, 20}, {10, 286}};
  for (const auto& r : counts) {
    int32_t n;
    tetrahedron_unit_lattice_point_num_3d(r.s, n);
    EXPECT_EQ(n, r.n);
  }
}

// Random weights (common factors included): the points are those of the
// brute-force search, the unit weights give the count, and the simplex
// enumerators in three dimensions give the same sequences.
TEST(GeometryTetrahedronSpheres, LatticeMatchesBruteForceAndSimplex) {
  int32_t seed = 2024;
  for (int k = 0; k < 40; ++k) {
    std::vector<int32_t> c(4);
    for (int i = 0; i < 3; ++i) c[i] = k < 5 ? 1 : i4_uniform(1, 6, seed);
    c[3] = k < 5 ? k : i4_uniform(0, 3, seed);
    const auto tet = enumerate(3, [&](int32_t* v, bool& more) { tetrahedron_lattice_point_next(c.data(), v, more); });
    const auto sim = enumerate(3, [&](int32_t* v, bool& more) { simplex_lattice_point_next(3, c.data(), v, more); });
    EXPECT_EQ(tet.points, sim.points);
    const std::set<lattice_point> got(tet.points.begin(), tet.points.end());
    EXPECT_EQ(got.size(), tet.points.size());
    EXPECT_EQ(got, testing::brute_force(c, 3, -1, testing::weight_lcm(c, 3) * c[3]));
    if (k < 5) {
      int32_t n;
      tetrahedron_unit_lattice_point_num_3d(c[3], n);
      EXPECT_EQ(static_cast<int32_t>(tet.points.size()), n);
    }
    const auto tl =
        enumerate(3, [&](int32_t* v, bool& more) { tetrahedron_lattice_layer_point_next(c.data(), v, more); });
    const auto sl =
        enumerate(3, [&](int32_t* v, bool& more) { simplex_lattice_layer_point_next(3, c.data(), v, more); });
    EXPECT_EQ(tl.points, sl.points);
  }
}

}  // namespace
}  // namespace orvel::geometry
