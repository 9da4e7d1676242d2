#include "geometry/plane_forms.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

std::vector<double> v3(const double* p) { return {p[0], p[1], p[2]}; }

TEST(GeometryPlaneForms, ExplicitToImplicitAndNormal) {
  const double o[] = {0, 0, 0}, x[] = {1, 0, 0}, y[] = {0, 1, 0};
  double a, b, c, d, n[3], pp[3];
  plane_exp2imp_3d(o, x, y, a, b, c, d);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(c, 1.0);
  EXPECT_EQ(d, 0.0);
  plane_exp_normal_3d(o, x, y, n);
  EXPECT_EQ(v3(n), (std::vector<double>{0, 0, 1}));
  plane_exp_normal_3d(o, y, x, n);  // two points exchanged: the normal turns
  EXPECT_EQ(v3(n), (std::vector<double>{0, 0, -1}));
  plane_exp2normal_3d(y, o, x, pp, n);
  EXPECT_EQ(v3(pp), v3(y));
  EXPECT_EQ(v3(n), (std::vector<double>{0, 0, 1}));

  const double p1[] = {0, 0, 1}, p2[] = {1, 0, 1}, p3[] = {0, 1, 1};
  plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
  EXPECT_EQ(d, -1.0);
  // Not normalised: (2, 3, 6) x ... scaled.
  const double q1[] = {1, 1, 1}, q2[] = {4, 1, 0}, q3[] = {1, 3, 2};
  plane_exp2imp_3d(q1, q2, q3, a, b, c, d);  // (3, 0, -1) x (0, 2, 1) = (2, -3, 6)
  EXPECT_EQ(a, 2.0);
  EXPECT_EQ(b, -3.0);
  EXPECT_EQ(c, 6.0);
  EXPECT_EQ(d, -5.0);
  plane_exp_normal_3d(q1, q2, q3, n);
  EXPECT_TRUE(vec_rel_near(v3(n), {2.0 / 7, -3.0 / 7, 6.0 / 7}, 1e-15));
}

// D is -(A, B, C) . P2: on points where P1 and P3 would round it otherwise.
TEST(GeometryPlaneForms, ImplicitOffsetIsTakenAtTheSecondPoint) {
  int32_t seed = 5150;
  int differing = 0;
  for (int k = 0; k < 200; ++k) {
    const auto p = testing::random_points(3, 3, -1000.0, 1000.0, seed);
    double a, b, c, d;
    plane_exp2imp_3d(&p[0], &p[3], &p[6], a, b, c, d);
    const auto at = [&](int j) { return -(a * p[3 * j] + b * p[3 * j + 1] + c * p[3 * j + 2]); };
    EXPECT_EQ(d, at(1));
    if (at(0) != at(1)) ++differing;
  }
  EXPECT_GT(differing, 0);
}

TEST(GeometryPlaneForms, CollinearPoints) {
  const double p1[] = {1, 1, 1}, p2[] = {2, 3, 4}, p3[] = {4, 7, 10};
  double a = 9, b = 9, c = 9, d = 9, n[3], pp[3];
  plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(c, 0.0);
  EXPECT_EQ(d, 0.0);
  EXPECT_TRUE(plane_imp_is_degenerate_3d(a, b, c));
  EXPECT_FALSE(plane_imp_is_degenerate_3d(0, 0, 1e-300));
  EXPECT_FALSE(plane_imp_is_degenerate_3d(-1, 0, 0));
  expect_fatal([&] { plane_exp_normal_3d(p1, p2, p3, n); },
               {" ", "PLANE_EXP_NORMAL_3D - Fatal error!", "  The plane is poorly defined."});
  expect_fatal([&] { plane_exp2normal_3d(p1, p1, p3, pp, n); },
               {" ", "PLANE_EXP2NORMAL_3D - Fatal error!", "  The normal vector is null.",
                "  Two points coincide, or nearly so."});
}

TEST(GeometryPlaneForms, ImplicitToNormalAndBack) {
  const struct {
    double a, b, c, d;
    double pp[3], n[3];
  } rows[] = {
      {0, 2, 0, -4, {0, 2, 0}, {0, 1, 0}},
      {0, 0, 2, 4, {0, 0, -2}, {0, 0, 1}},
      {2, 0, 0, 6, {-3, 0, 0}, {1, 0, 0}},
      {1, -2, 2, -6, {6, 0, 0}, {1.0 / 3, -2.0 / 3, 2.0 / 3}},  // A first even with B and C
      {0, 3, -4, 10, {0, -10.0 / 3, 0}, {0, 0.6, -0.8}},
  };
  for (const auto& r : rows) {
    double pp[3], n[3];
    plane_imp2normal_3d(r.a, r.b, r.c, r.d, pp, n);
    EXPECT_TRUE(vec_rel_near(v3(pp), v3(r.pp), 1e-15));
    EXPECT_TRUE(vec_rel_near(v3(n), v3(r.n), 1e-15));
  }
  double pp[3], n[3], p1[3], p2[3], p3[3];
  expect_fatal([&] { plane_imp2normal_3d(0, 0, 0, 1, pp, n); },
               {" ", "PLANE_IMP2NORMAL_3D - Fatal error!", "  The plane (A,B,C) has zero norm."});
  expect_fatal([&] { plane_imp2exp_3d(0, 0, 0, 1, p1, p2, p3); },
               {" ", "PLANE_IMP2NORMAL_3D - Fatal error!", "  The plane (A,B,C) has zero norm."});

  const double q[] = {5, 5, 1}, normal[] = {0, 0, 2};
  double a, b, c, d;
  plane_normal2imp_3d(q, normal, a, b, c, d);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(c, 2.0);
  EXPECT_EQ(d, -2.0);
}

TEST(GeometryPlaneForms, NormalBasisIsARightHandedOrthonormalFrame) {
  int32_t seed = 2718;
  std::vector<std::vector<double>> normals = {{0, 0, 5}, {1, 0, 0}, {0, -1e-8, 0}, {1, 1, 1}, {-3, 4, 0}};
  for (int k = 0; k < 200; ++k) {
    auto n = testing::random_direction(3, seed);
    const double scale = std::pow(10.0, r8_uniform(-3.0, 3.0, seed));
    for (double& x : n) x *= scale;
    normals.push_back(n);
  }
  for (const auto& n : normals) {
    const double pp[] = {7, -7, 7};
    double pq[3], pr[3], cross[3];
    plane_normal_basis_3d(pp, n.data(), pq, pr);
    const double nn = r8vec_norm(3, n.data());
    EXPECT_TRUE(rel_near(r8vec_norm(3, pq), 1.0, 1e-15));
    EXPECT_TRUE(rel_near(r8vec_norm(3, pr), 1.0, 1e-15));
    EXPECT_NEAR(r8vec_dot_product(3, pq, n.data()) / nn, 0.0, 1e-15);
    EXPECT_NEAR(r8vec_dot_product(3, pr, n.data()) / nn, 0.0, 1e-15);
    EXPECT_NEAR(r8vec_dot_product(3, pq, pr), 0.0, 1e-15);
    r8vec_cross_product_3d(pq, pr, cross);
    EXPECT_TRUE(rel_near(r8vec_dot_product(3, cross, n.data()) / nn, 1.0, 1e-15));

    // The explicit form: P1 = PP and unit steps along PQ and PR.
    double p1[3], p2[3], p3[3];
    plane_normal2exp_3d(pp, n.data(), p1, p2, p3);
    EXPECT_EQ(v3(p1), v3(pp));
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(p2[i], pp[i] + pq[i]);
      EXPECT_EQ(p3[i], pp[i] + pr[i]);
    }
  }
  const double zero[] = {0, 0, 0}, pp[] = {1, 2, 3};
  double pq[3], pr[3], p1[3], p2[3], p3[3];
  const std::initializer_list<std::string_view> message = {" ", "PLANE_NORMAL_BASIS_3D - Fatal error!",
                                                           "  The normal vector is 0."};
  expect_fatal([&] { plane_normal_basis_3d(pp, zero, pq, pr); }, message);
  expect_fatal([&] { plane_normal2exp_3d(pp, zero, p1, p2, p3); }, message);
}

// Explicit to implicit to normal to explicit keeps the points on the plane
// and the normal's direction; implicit to explicit to implicit divides the
// coefficients by |(A, B, C)|.
TEST(GeometryPlaneForms, RoundTripsThroughTheForms) {
  int32_t seed = 8080;
  for (int k = 0; k < 200; ++k) {
    const auto t = testing::random_triangle_3d(seed);
    const double *p1 = &t[0], *p2 = &t[3], *p3 = &t[6];
    double a, b, c, d, pp[3], n[3], q1[3], q2[3], q3[3], n0[3], n1[3];
    plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
    plane_imp2normal_3d(a, b, c, d, pp, n);
    plane_normal2exp_3d(pp, n, q1, q2, q3);
    double a2, b2, c2, d2;
    plane_exp2imp_3d(q1, q2, q3, a2, b2, c2, d2);
    // The point on an axis can lie far out when the plane nearly contains
    // the axis: rounding grows with it.
    const double tol = 1e-13 * (1.0 + r8vec_norm(3, pp));
    for (const double* p : {p1, p2, p3}) EXPECT_NEAR(a2 * p[0] + b2 * p[1] + c2 * p[2] + d2, 0.0, tol);
    plane_exp_normal_3d(p1, p2, p3, n0);
    plane_exp_normal_3d(q1, q2, q3, n1);
    EXPECT_TRUE(vec_rel_near(v3(n1), v3(n0), 1e-13));

    plane_exp2normal_3d(p1, p2, p3, pp, n);
    plane_normal2imp_3d(pp, n, a, b, c, d);
    EXPECT_TRUE(rel_near(r8vec_norm(3, n), 1.0, 1e-15));
    const double scale = r8_uniform(-20.0, 20.0, seed);
    plane_imp2exp_3d(scale * a, scale * b, scale * c, scale * d, q1, q2, q3);
    plane_exp2imp_3d(q1, q2, q3, a2, b2, c2, d2);
    const double f = scale / std::fabs(scale);
    EXPECT_TRUE(vec_rel_near({a2, b2, c2, d2}, {f * a, f * b, f * c, f * d}, 1e-13 * (1.0 + r8vec_norm(3, q1))));
  }
}

}  // namespace
}  // namespace orvel::geometry
