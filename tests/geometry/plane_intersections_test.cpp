#include "geometry/plane_intersections.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/quads.hpp"
#include "geometry/reals.hpp"
#include "geometry/segments.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

std::vector<double> cols(const double* p, int32_t k) { return std::vector<double>(p, p + 3 * k); }

TEST(GeometryPlaneCuts, ParametricLineByHand) {
  const struct {
    const char* what;
    double x0[3], f[3];
    bool found;
    double p[3];
  } rows[] = {
      {"parallel above", {0, 0, 1}, {1, 0, 0}, false, {0, 0, 0}},
      {"in the plane", {0, 0, 0}, {1, 0, 0}, true, {0, 0, 0}},
      {"nearly parallel counts as parallel", {0, 0, 1}, {1, 0, 0.000001}, false, {0, 0, 0}},
      {"just steep enough", {0, 0, 1}, {1, 0, 0.0001}, true, {-10000, 0, 0}},
      {"vertical", {3, 4, 5}, {0, 0, 2}, true, {3, 4, 0}},
      {"in the plane elsewhere", {2, 7, 0}, {1, 1, 0}, true, {2, 7, 0}},
  };
  for (const auto& r : rows) {
    bool found = !r.found;
    auto p = canaries(3);
    plane_imp_line_par_int_3d(0, 0, 1, 0, r.x0[0], r.x0[1], r.x0[2], r.f[0], r.f[1], r.f[2], found, p.data());
    EXPECT_EQ(found, r.found) << r.what;
    EXPECT_TRUE(vec_rel_near(p, {r.p[0], r.p[1], r.p[2]}, 1e-12)) << r.what;
  }
  bool found;
  double p[3];
  expect_fatal([&] { plane_imp_line_par_int_3d(0, 0, 0, 1, 0, 0, 0, 1, 0, 0, found, p); },
               {" ", "PLANE_IMP_LINE_PAR_INT_3D - Fatal error!", "  The plane normal vector is null."});
  expect_fatal([&] { plane_imp_line_par_int_3d(0, 0, 1, 1, 0, 0, 0, 0, 0, 0, found, p); },
               {" ", "PLANE_IMP_LINE_PAR_INT_3D - Fatal error!", "  The line direction vector is null."});
}

TEST(GeometryPlaneCuts, ExplicitLineByHand) {
  const double pp[] = {0, 0, 0};
  const double huge = 1.7976931348623157e308;
  const struct {
    const char* what;
    double p1[3], p2[3];
    int32_t code;
    double p[3];
  } rows[] = {
      {"crossing", {1, 1, 1}, {1, 1, 2}, 1, {1, 1, 0}},
      {"parallel", {1, 1, 1}, {2, 1, 1}, 0, {huge, huge, huge}},
      {"in the plane", {1, 1, 0}, {2, 1, 0}, 2, {1, 1, 0}},
      {"oblique", {0, 0, 4}, {1, 2, 2}, 1, {2, 4, 0}},
  };
  for (const auto& r : rows) {
    double normal[] = {0, 0, 2}, p[3];
    int32_t code = -1;
    plane_normal_line_exp_int_3d(pp, normal, r.p1, r.p2, code, p);
    EXPECT_EQ(code, r.code) << r.what;
    EXPECT_TRUE(vec_rel_near({p[0], p[1], p[2]}, {r.p[0], r.p[1], r.p[2]}, 1e-15)) << r.what;
    // NORMAL comes back scaled to unit length.
    EXPECT_EQ(std::vector<double>(normal, normal + 3), (std::vector<double>{0, 0, 1})) << r.what;
  }
  double normal[] = {0, 0, 1}, zero[] = {0, 0, 0}, p[3];
  const double p1[] = {1, 2, 3}, p2[] = {1, 2, 4};
  int32_t code;
  expect_fatal([&] { plane_normal_line_exp_int_3d(pp, normal, p1, p1, code, p); },
               {" ", "PLANE_NORMAL_LINE_EXP_INT_3D - Fatal error!", "  The line is degenerate."});
  expect_fatal([&] { plane_normal_line_exp_int_3d(pp, zero, p1, p2, code, p); },
               {" ", "PLANE_NORMAL_LINE_EXP_INT_3D - Fatal error!", "  The normal vector of the plane is degenerate."});
}

TEST(GeometryPlaneCuts, SegmentNearestPointsByHand) {
  const struct {
    const char* what;
    double p1[3], p2[3];
    double dist, pt[3], p[3];
  } rows[] = {
      {"above, P1 nearer", {0, 0, 1}, {1, 0, 3}, 1, {0, 0, 1}, {0, 0, 0}},
      {"below, P1 nearer", {0, 0, -1}, {1, 0, -3}, 1, {0, 0, -1}, {0, 0, 0}},
      {"a tie takes P2", {0, 0, 1}, {1, 0, 1}, 1, {1, 0, 1}, {1, 0, 0}},
      {"below, P2 nearer", {0, 0, -5}, {1, 0, -2}, 2, {1, 0, -2}, {1, 0, 0}},
      {"crossing", {0, 0, -1}, {2, 0, 1}, 0, {1, 0, 0}, {1, 0, 0}},
      {"P1 in the plane", {0, 0, 0}, {1, 0, 1}, 0, {0, 0, 0}, {0, 0, 0}},
      {"P2 in the plane", {1, 0, 1}, {0, 0, 0}, 0, {0, 0, 0}, {0, 0, 0}},
      {"a point", {3, 4, -2}, {3, 4, -2}, 2, {3, 4, -2}, {3, 4, 0}},
  };
  for (const auto& r : rows) {
    // z = 0 given as 0 x + 0 y + 2 z + 0 = 0.
    double dist, p[3], pt[3];
    plane_imp_segment_near_3d(r.p1, r.p2, 0, 0, 2, 0, dist, p, pt);
    EXPECT_EQ(dist, r.dist) << r.what;
    EXPECT_TRUE(vec_rel_near({pt[0], pt[1], pt[2]}, {r.pt[0], r.pt[1], r.pt[2]}, 1e-15)) << r.what;
    EXPECT_TRUE(vec_rel_near({p[0], p[1], p[2]}, {r.p[0], r.p[1], r.p[2]}, 1e-15)) << r.what;
  }
  const double a[] = {0, 0, 0}, t[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  double dist, p[3], pt[3], pn[18];
  int32_t k;
  expect_fatal([&] { plane_imp_segment_near_3d(a, a, 0, 0, 0, 1, dist, p, pt); },
               {" ", "PLANE_IMP_SEGMENT_NEAR_3D - Fatal error!", "  Plane normal vector is null."});
  expect_fatal([&] { plane_imp_triangle_near_3d(t, 0, 0, 0, 1, dist, k, pn); },
               {" ", "PLANE_IMP_SEGMENT_NEAR_3D - Fatal error!", "  Plane normal vector is null."});
}

TEST(GeometryPlaneCuts, TriangleSectionsByHand) {
  const struct {
    const char* what;
    std::vector<double> t;
    std::vector<double> points;
  } rows[] = {
      {"T1 alone below", {0, 0, -1, 1, 0, 1, 0, 1, 1}, {0.5, 0, 0, 0, 0.5, 0}},
      {"T2 alone below", {1, 0, 1, 0, 0, -1, 0, 1, 1}, {0.5, 0, 0, 0, 0.5, 0}},
      {"T3 alone above", {1, 0, -1, 0, 1, -1, 0, 0, 3}, {0.75, 0, 0, 0, 0.75, 0}},
      {"T1 in the plane", {0, 0, 0, 1, 0, 1, 0, 1, -1}, {0, 0, 0, 0.5, 0.5, 0}},
      {"T2 in the plane", {1, 0, 1, 0, 0, 0, 0, 1, -1}, {0, 0, 0, 0.5, 0.5, 0}},
      {"T3 in the plane", {1, 0, 1, 0, 1, -1, 0, 0, 0}, {0, 0, 0, 0.5, 0.5, 0}},
      {"T1 in the plane, the rest above", {0, 0, 0, 1, 0, 1, 0, 1, 1}, {0, 0, 0}},
      {"an edge in the plane", {0, 0, 0, 1, 0, 1, 0, 1, 0}, {0, 0, 0, 0, 1, 0}},
      {"in the plane", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 0, 1, 0, 0, 0, 1, 0}},
      {"above", {0, 0, 1, 1, 0, 1, 0, 1, 2}, {}},
  };
  for (const auto& r : rows) {
    auto p = canaries(9);
    int32_t k = -1;
    plane_imp_triangle_int_3d(0, 0, 1, 0, r.t.data(), k, p.data());
    ASSERT_EQ(k, static_cast<int32_t>(r.points.size() / 3)) << r.what;
    EXPECT_TRUE(vec_rel_near(cols(p.data(), k), r.points, 1e-15)) << r.what;
    for (std::size_t i = 3 * k; i < 9; ++i) EXPECT_EQ(p[i], testing::canary) << r.what;
    // The normal form of the same plane gives the same points.
    const double pp[] = {5, -3, 0}, normal[] = {0, 0, 3};
    auto q = canaries(9);
    int32_t kq = -1;
    plane_normal_triangle_int_3d(pp, normal, r.t.data(), kq, q.data());
    EXPECT_EQ(kq, k) << r.what;
    EXPECT_EQ(cols(q.data(), kq), cols(p.data(), k)) << r.what;
  }
  // Appending to a list that already holds points.
  double list[9] = {9, 9, 9};
  int32_t k = 1;
  const double a[] = {0, 0, 2}, b[] = {0, 0, -6};
  plane_imp_triangle_int_add_3d(a, b, 2, -6, k, list);
  EXPECT_EQ(k, 2);
  EXPECT_TRUE(vec_rel_near(cols(list, 2), {9, 9, 9, 0, 0, 0}, 1e-15));
  plane_imp_triangle_int_add_3d(a, a, 2, 2, k, list);
  EXPECT_EQ(k, 2);
}

TEST(GeometryPlaneCuts, TriangleNearestPointsByHand) {
  const struct {
    const char* what;
    std::vector<double> t;
    double dist;
    std::vector<double> pn;
  } rows[] = {
      {"two edges tie", {0, 0, 1, 1, 0, 1, 0, 1, 2}, 1, {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"the last edge restarts", {0, 0, 5, 1, 0, 4, 0, 1, 2}, 2, {0, 1, 2, 0, 1, 0, 0, 1, 2, 0, 1, 0}},
      {"crossing: distance 0, one point per edge", {0, 0, -1, 2, 0, 1, 0, 2, 1}, 0, {1, 0, 0, 0, 1, 0}},
  };
  for (const auto& r : rows) {
    double dist = -1;
    int32_t k = -1;
    auto pn = canaries(18);
    plane_imp_triangle_near_3d(r.t.data(), 0, 0, 1, 0, dist, k, pn.data());
    EXPECT_EQ(dist, r.dist) << r.what;
    ASSERT_EQ(k, static_cast<int32_t>(r.pn.size() / 3)) << r.what;
    EXPECT_TRUE(vec_rel_near(cols(pn.data(), k), r.pn, 1e-15)) << r.what;
  }
}

TEST(GeometryPlaneCuts, TetrahedronSectionsByHand) {
  const double t[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  const struct {
    const char* what;
    double pp[3], normal[3];
    std::vector<double> points;
  } rows[] = {
      {"three crossings", {0, 0, 0.5}, {0, 0, 1}, {0, 0, 0.5, 0.5, 0, 0.5, 0, 0.5, 0.5}},
      {"four crossings, reordered", {0.5, 0, 0}, {1, 1, 0}, {0.5, 0, 0, 0, 0.5, 0, 0, 0.5, 0.5, 0.5, 0, 0.5}},
      {"a face in the plane", {0, 0, 0}, {0, 0, -2}, {0, 0, 0, 1, 0, 0, 0, 1, 0}},
      {"a vertex and the opposite edge", {0, 0, 0}, {1, -1, 0}, {0, 0, 0, 0.5, 0.5, 0, 0, 0, 1}},
      // Both orders of the four vertices have equal midpoint areas: the
      // exchanged order stays.
      {"zero normal: every vertex", {9, 9, 9}, {0, 0, 0}, {0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0}},
      {"missing", {0, 0, 2}, {0, 0, 1}, {}},
  };
  for (const auto& r : rows) {
    auto p = canaries(12);
    int32_t k = -1;
    plane_normal_tetrahedron_intersect(r.pp, r.normal, t, k, p.data());
    ASSERT_EQ(k, static_cast<int32_t>(r.points.size() / 3)) << r.what;
    EXPECT_TRUE(vec_rel_near(cols(p.data(), k), r.points, 1e-15)) << r.what;
    for (std::size_t i = 3 * k; i < 12; ++i) EXPECT_EQ(p[i], 0.0) << r.what;
  }
}

// Random triangles and tetrahedra cut by random planes through an inner
// point: every point lies in the plane and on an edge of the figure; four
// section points come back as a simple quadrilateral (the larger of the
// two orders' midpoint areas).
TEST(GeometryPlaneCuts, SectionsLieOnThePlaneAndTheEdges) {
  int32_t seed = 149;
  auto on_edge = [](const double* x, const double* t, int32_t nv) {
    double best = r8_largest();
    for (int32_t i = 0; i < nv; ++i)
      for (int32_t j = i + 1; j < nv; ++j) {
        double d;
        segment_point_dist_3d(&t[3 * i], &t[3 * j], x, d);
        best = std::fmin(best, d);
      }
    return best;
  };
  int counts[5] = {0, 0, 0, 0, 0};
  for (int trial = 0; trial < 300; ++trial) {
    const auto tri = testing::random_triangle_3d(seed);
    const auto tet = testing::random_tetrahedron(seed);
    const auto n = testing::random_direction(3, seed);
    const auto w = testing::random_points(3, 1, 0.0, 1.0, seed);
    // A point inside the tetrahedron (a convex combination of its vertices
    // with the first weight free), so the plane through it cuts it.
    double pp[3];
    const double sw = w[0] + w[1] + w[2] + 0.5;
    for (int i = 0; i < 3; ++i)
      pp[i] = (w[0] * tet[i] + w[1] * tet[3 + i] + w[2] * tet[6 + i] + 0.5 * tet[9 + i]) / sw;
    int32_t k;
    double p[12];
    plane_normal_tetrahedron_intersect(pp, n.data(), tet.data(), k, p);
    ASSERT_TRUE(k == 3 || k == 4);
    ++counts[k];
    for (int32_t j = 0; j < k; ++j) {
      double d[3] = {p[3 * j] - pp[0], p[3 * j + 1] - pp[1], p[3 * j + 2] - pp[2]};
      EXPECT_NEAR(r8vec_dot_product(3, n.data(), d), 0.0, 1e-12);
      EXPECT_LT(on_edge(&p[3 * j], tet.data(), 4), 1e-12);
    }
    if (k == 4) {
      double q[12], a1, a2;
      std::copy(p, p + 12, q);
      quad_area_3d(p, a1);
      r8vec_swap(3, &q[6], &q[9]);
      quad_area_3d(q, a2);
      EXPECT_GE(a1, a2);
    }

    // The triangle against the plane through its centroid moved a little.
    const double s = r8_uniform(-0.3, 0.3, seed);
    double tpp[3];
    for (int i = 0; i < 3; ++i) tpp[i] = (tri[i] + tri[3 + i] + tri[6 + i]) / 3 + s * n[i];
    double a, b, c, dd, pt[9];
    a = n[0], b = n[1], c = n[2];
    dd = -(a * tpp[0] + b * tpp[1] + c * tpp[2]);
    int32_t kt;
    plane_imp_triangle_int_3d(a, b, c, dd, tri.data(), kt, pt);
    EXPECT_TRUE(kt == 0 || kt == 2);
    for (int32_t j = 0; j < kt; ++j) {
      EXPECT_NEAR(a * pt[3 * j] + b * pt[3 * j + 1] + c * pt[3 * j + 2] + dd, 0.0, 1e-12);
      EXPECT_LT(on_edge(&pt[3 * j], tri.data(), 3), 1e-12);
    }
    // The nearest points: each pair DIST apart, the first on an edge, the
    // second its foot in the plane.
    double dist, pn[18];
    int32_t kn;
    plane_imp_triangle_near_3d(tri.data(), a, b, c, dd, dist, kn, pn);
    EXPECT_EQ(dist == 0.0, kt == 2);
    for (int32_t j = 0; j < kn;) {
      EXPECT_LT(on_edge(&pn[3 * j], tri.data(), 3), 1e-12);
      const double v = a * pn[3 * j] + b * pn[3 * j + 1] + c * pn[3 * j + 2] + dd;
      EXPECT_NEAR(std::fabs(v), dist, 1e-12);
      if (dist > 0.0) {
        EXPECT_NEAR(a * pn[3 * j + 3] + b * pn[3 * j + 4] + c * pn[3 * j + 5] + dd, 0.0, 1e-12);
        EXPECT_NEAR(r8vec_distance(3, &pn[3 * j], &pn[3 * j + 3]), dist, 1e-12);
        j += 2;
      } else {
        j += 1;
      }
    }
  }
  EXPECT_GT(counts[3], 20);
  EXPECT_GT(counts[4], 20);
}

}  // namespace
}  // namespace orvel::geometry
