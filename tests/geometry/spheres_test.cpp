#include "geometry/spheres.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

std::vector<double> v3(const double* p) { return {p[0], p[1], p[2]}; }

TEST(GeometrySpheres, FormsByHand) {
  double r, pc[3];
  const double a[] = {0, 0, 0}, b[] = {2, 0, 0};
  sphere_dia2imp_3d(a, b, r, pc);
  EXPECT_EQ(r, 1.0);
  EXPECT_EQ(v3(pc), (std::vector<double>{1, 0, 0}));

  const double p1[] = {1, 0, 0}, p2[] = {0, 1, 0}, p3[] = {0, 0, 1}, p4[] = {-1, 0, 0};
  sphere_exp2imp_3d(p1, p2, p3, p4, r, pc);
  EXPECT_TRUE(rel_near(r, 1.0, 1e-15));
  EXPECT_TRUE(vec_rel_near(v3(pc), {0, 0, 0}, 1e-15));
  const double q4[] = {3, 7, 0};
  const double f1[] = {1, 0, 0}, f2[] = {0, 1, 0}, f3[] = {-1, 0, 0};
  sphere_exp2imp_3d(f1, f2, f3, q4, r, pc);
  EXPECT_EQ(r, -1.0);
  EXPECT_EQ(v3(pc), (std::vector<double>{0, 0, 0}));

  double e1[3], e2[3], e3[3], e4[3];
  const double origin[] = {0, 0, 0};
  sphere_imp2exp_3d(1.0, origin, e1, e2, e3, e4);
  EXPECT_EQ(v3(e1), (std::vector<double>{0, 0, 1}));
  const double h = std::sqrt(3.0);
  const double tol = 1e-15;
  EXPECT_NEAR(e2[0], h / 2, tol);
  EXPECT_NEAR(e2[1], 0, tol);
  EXPECT_NEAR(e2[2], -0.5, tol);
  EXPECT_NEAR(e3[0], -h / 4, tol);
  EXPECT_NEAR(e3[1], 0.75, tol);
  EXPECT_NEAR(e3[2], -0.5, tol);
  EXPECT_NEAR(e4[0], -h / 4, tol);
  EXPECT_NEAR(e4[1], -0.75, tol);
  EXPECT_NEAR(e4[2], -0.5, tol);

  double p[3];
  const double pc2[] = {1, -2, 3};
  sphere_imp_local2xyz_3d(2.0, pc2, 0.5 * std::acos(-1.0), 0.5 * std::acos(-1.0), p);
  EXPECT_TRUE(vec_rel_near(v3(p), {1, 0, 3}, 1e-15));
}

TEST(GeometrySpheres, ContainmentByHand) {
  const double p1[] = {1, 0, 0}, p2[] = {0, 1, 0}, p3[] = {0, 0, 1}, p4[] = {-1, 0, 0};
  const struct {
    double p[3];
    bool inside, swapped;
  } rows[] = {
      {{0, 0, 0}, true, false},
      {{0, 0, 2}, false, true},
      {{0, 0, -1}, true, true},  // on the sphere: det = 0
  };
  for (const auto& r : rows) {
    bool inside = !r.inside;
    sphere_exp_contains_point_3d(p1, p2, p3, p4, r.p, inside);
    EXPECT_EQ(inside, r.inside) << r.p[2];
    inside = !r.swapped;
    sphere_exp_contains_point_3d(p2, p1, p3, p4, r.p, inside);
    EXPECT_EQ(inside, r.swapped) << r.p[2];
  }
  // A NaN determinant leaves INSIDE as it was.
  const double nan_point[] = {std::nan(""), 0, 0};
  for (bool before : {true, false}) {
    bool inside = before;
    sphere_exp_contains_point_3d(p1, p2, p3, p4, nan_point, inside);
    EXPECT_EQ(inside, before);
  }
  const double origin[] = {0, 0, 0};
  EXPECT_TRUE(sphere_imp_contains_point_3d(1.0, origin, p1));
  const double out[] = {0.6, 0.6, 0.6};
  EXPECT_FALSE(sphere_imp_contains_point_3d(1.0, origin, out));
}

TEST(GeometrySpheres, NearestAndProjectedPointsByHand) {
  double pn[3];
  const double pc[] = {1, 1, 1}, top[] = {1, 1, 5};
  sphere_imp_point_near_3d(3.0, pc, pc, pn);
  const double s = 1 + std::sqrt(3.0);
  EXPECT_TRUE(vec_rel_near(v3(pn), {s, s, s}, 1e-15));
  sphere_imp_point_near_3d(3.0, pc, top, pn);
  EXPECT_EQ(v3(pn), (std::vector<double>{1, 1, 4}));
  sphere_imp_point_project_3d(3.0, pc, top, pn);
  EXPECT_EQ(v3(pn), (std::vector<double>{1, 1, 4}));
  sphere_imp_point_project_3d(3.0, pc, pc, pn);
  EXPECT_TRUE(vec_rel_near(v3(pn), {s, s, s}, 1e-15));
  sphere_imp_point_project_3d(0.0, pc, top, pn);
  EXPECT_EQ(v3(pn), (std::vector<double>{1, 1, 1}));
  // Coplanar points: the failure values R = -1, PC = 0 are used as they are.
  const double f1[] = {1, 0, 0}, f2[] = {0, 1, 0}, f3[] = {-1, 0, 0}, f4[] = {3, 7, 0}, p[] = {0, 3, 4};
  sphere_exp_point_near_3d(f1, f2, f3, f4, p, pn);
  EXPECT_TRUE(vec_rel_near(v3(pn), {0, -0.6, -0.8}, 1e-15));
}

// Random spheres: four random points of one give it back; its four explicit
// points lie on it; nearest and projected points lie on it, on the ray from
// the centre; the explicit and implicit containment tests agree when the
// four points are ordered to put the centre inside.
TEST(GeometrySpheres, RandomSpheres) {
  int32_t seed = 150;
  int inside_count = 0;
  for (int k = 0; k < 500; ++k) {
    const double r = r8_uniform(0.5, 5.0, seed);
    const auto pc = testing::random_points(3, 1, -10.0, 10.0, seed);
    double q[4][3];
    for (auto& point : q) {
      const auto d = testing::random_direction(3, seed);
      for (int i = 0; i < 3; ++i) point[i] = pc[i] + r * d[i];
    }
    double r2, pc2[3];
    sphere_exp2imp_3d(q[0], q[1], q[2], q[3], r2, pc2);
    EXPECT_TRUE(rel_near(r2, r, 1e-8));
    EXPECT_LT(r8vec_distance(3, pc2, pc.data()), 1e-8 * r);

    double e[4][3];
    sphere_imp2exp_3d(r, pc.data(), e[0], e[1], e[2], e[3]);
    for (const auto& point : e) EXPECT_TRUE(rel_near(r8vec_distance(3, point, pc.data()), r, 1e-14));

    auto p = testing::random_points(3, 1, -1.6 * r, 1.6 * r, seed);
    for (int i = 0; i < 3; ++i) p[i] += pc[i];
    double pn[3], pp[3];
    sphere_imp_point_near_3d(r, pc.data(), p.data(), pn);
    sphere_imp_point_project_3d(r, pc.data(), p.data(), pp);
    EXPECT_EQ(v3(pn), v3(pp));
    EXPECT_TRUE(rel_near(r8vec_distance(3, pn, pc.data()), r, 1e-14));
    const double dist = r8vec_distance(3, p.data(), pc.data());
    EXPECT_TRUE(rel_near(r8vec_distance(3, pn, p.data()), std::fabs(dist - r), 1e-12));
    double pe[3];
    sphere_exp_point_near_3d(e[0], e[1], e[2], e[3], p.data(), pe);
    EXPECT_LT(r8vec_distance(3, pe, pn), 1e-12 * (1 + r));

    // The centre decides the order.
    bool centre_inside = false;
    sphere_exp_contains_point_3d(q[0], q[1], q[2], q[3], pc.data(), centre_inside);
    const double* order[4] = {q[0], q[1], q[2], q[3]};
    if (!centre_inside) std::swap(order[0], order[1]);
    if (std::fabs(dist - r) < 1e-8) continue;
    bool inside = !sphere_imp_contains_point_3d(r, pc.data(), p.data());
    sphere_exp_contains_point_3d(order[0], order[1], order[2], order[3], p.data(), inside);
    EXPECT_EQ(inside, sphere_imp_contains_point_3d(r, pc.data(), p.data()));
    inside_count += inside;
  }
  EXPECT_GT(inside_count, 30);
  EXPECT_LT(inside_count, 470);
}

TEST(GeometrySpheres, LineProjectionByHand) {
  const double origin[] = {0, 0, 0};
  const double x[] = {2, 0, 0, 0, 3, 0};
  const double s5 = std::sqrt(5.0);
  const std::vector<double> filled = {1, 0, 0, 2 / s5, 1 / s5, 0, 1 / s5, 2 / s5, 0, 0, 1, 0};
  for (double tmin : {0.0, 2.0}) {
    auto y = canaries(15);
    int32_t nout;
    sphere_imp_line_project_3d(1.0, origin, 2, x, 5, nout, y.data(), tmin, 0.5);
    EXPECT_EQ(nout, 4);
    EXPECT_TRUE(vec_rel_near({y.begin(), y.begin() + 12}, filled, 1e-15)) << tmin;
    EXPECT_EQ(y[12], testing::canary);
  }
  // The middle point is too close to the first and dropped; the last is
  // always written.
  const double near[] = {1, 0, 0, 1, 0.01, 0, 1, 0.02, 0};
  auto y = canaries(9);
  int32_t nout;
  sphere_imp_line_project_3d(1.0, origin, 3, near, 3, nout, y.data(), 0.05, 1.0);
  EXPECT_EQ(nout, 2);
  const double n2 = std::sqrt(1.0004);
  EXPECT_TRUE(vec_rel_near({y.begin(), y.begin() + 6}, {1, 0, 0, 1 / n2, 0.02 / n2, 0}, 1e-15));
  EXPECT_EQ(y[6], testing::canary);
  // Points at the centre are skipped; R = 0 writes nothing; TMAX <= 0
  // fills no gap.
  const double with_centre[] = {0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 3, 0};
  y = canaries(12);
  sphere_imp_line_project_3d(1.0, origin, 4, with_centre, 4, nout, y.data(), 0.0, 0.0);
  EXPECT_EQ(nout, 2);
  EXPECT_TRUE(vec_rel_near({y.begin(), y.begin() + 6}, {1, 0, 0, 0, 1, 0}, 0));
  sphere_imp_line_project_3d(0.0, origin, 2, x, 4, nout, y.data(), 0.0, 0.5);
  EXPECT_EQ(nout, 0);
}

// A capacity that fills: the points that fit are written, then the warning,
// and NOUT is the capacity.
TEST(GeometrySpheres, LineProjectionStopsWhenFull) {
  const double origin[] = {0, 0, 0};
  const double x[] = {2, 0, 0, 0, 3, 0};
  for (int32_t maxout : {0, 1, 3}) {
    auto y = canaries(12);
    int32_t nout = -5;
    const std::string out =
        stdout_of([&] { sphere_imp_line_project_3d(1.0, origin, 2, x, maxout, nout, y.data(), 0.0, 0.5); });
    EXPECT_EQ(out, lines({" ", "SPHERE_IMP_LINE_PROJECT_3D - Warning!",
                          "  The output is full at MAXOUT = " + fmt_i(maxout, 8)}));
    EXPECT_EQ(nout, maxout);
    auto full = canaries(12);
    sphere_imp_line_project_3d(1.0, origin, 2, x, 4, nout, full.data(), 0.0, 0.5);
    for (int32_t i = 0; i < 12; ++i) EXPECT_EQ(y[i], i < 3 * maxout ? full[i] : testing::canary) << maxout;
  }
  // Exactly enough room: no warning.
  auto y = canaries(12);
  int32_t nout;
  EXPECT_EQ(stdout_of([&] { sphere_imp_line_project_3d(1.0, origin, 2, x, 4, nout, y.data(), 0.0, 0.5); }), "");
  // A tiny TMAX asks for far more points than fit.
  auto many = canaries(30);
  const std::string out =
      stdout_of([&] { sphere_imp_line_project_3d(1.0, origin, 2, x, 10, nout, many.data(), 0.0, 1e-6); });
  EXPECT_EQ(nout, 10);
  EXPECT_FALSE(out.empty());
  for (int32_t j = 0; j < 10; ++j) EXPECT_TRUE(rel_near(r8vec_norm(3, &many[3 * j]), 1.0, 1e-15));
}

// Random polylines, no point dropped (TMIN = 0): every written point is on
// the sphere; a gap of angle A > TMAX between projected input points gets
// floor(A / TMAX) - 1 points in between, in the plane of the two and the
// centre; the input points' projections are written in order, the last at
// the end.
TEST(GeometrySpheres, LineProjectionOfRandomPolylines) {
  int32_t seed = 808;
  for (int k = 0; k < 100; ++k) {
    const double r = r8_uniform(0.5, 3.0, seed);
    const auto pc = testing::random_points(3, 1, -5.0, 5.0, seed);
    const int32_t n = 2 + k % 9;
    auto x = testing::random_points(3, n, -4.0, 4.0, seed);
    for (int32_t j = 0; j < n; ++j)
      for (int i = 0; i < 3; ++i) x[3 * j + i] += pc[i];
    const double tmax = r8_uniform(0.1, 1.0, seed);
    std::vector<double> y(3 * 400);
    int32_t nout;
    sphere_imp_line_project_3d(r, pc.data(), n, x.data(), 400, nout, y.data(), 0.0, tmax);
    for (int32_t j = 0; j < nout; ++j) EXPECT_TRUE(rel_near(r8vec_distance(3, &y[3 * j], pc.data()), r, 1e-14));
    int32_t at = 0;
    std::vector<double> prev(3), cur(3);
    for (int32_t j = 0; j < n; ++j) {
      sphere_imp_point_project_3d(r, pc.data(), &x[3 * j], cur.data());
      if (j > 0) {
        double a[3], b[3];
        for (int i = 0; i < 3; ++i) {
          a[i] = prev[i] - pc[i];
          b[i] = cur[i] - pc[i];
        }
        const double ang = std::acos(r8vec_dot_product(3, a, b) / (r8vec_norm(3, a) * r8vec_norm(3, b)));
        const int32_t fill = ang > tmax ? static_cast<int32_t>(ang / tmax) - 1 : 0;
        for (int32_t l = 0; l < fill; ++l, ++at) {
          ASSERT_LT(at, nout);
          double c[3];
          for (int i = 0; i < 3; ++i) c[i] = y[3 * at + i] - pc[i];
          EXPECT_LT(std::fabs(r8vec_scalar_triple_product(a, b, c)), 1e-12 * r * r * r);
        }
      }
      ASSERT_LT(at, nout);
      EXPECT_EQ(v3(&y[3 * at]), cur);
      ++at;
      prev = cur;
    }
    EXPECT_EQ(at, nout);
  }
}

}  // namespace
}  // namespace orvel::geometry
