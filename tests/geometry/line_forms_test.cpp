#include "geometry/line_forms.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;

std::string degenerate_warning(std::string_view title) {
  return lines({" ", std::string(title) + " - Warning!", "  The line is degenerate."});
}

TEST(GeometryLineForms, ExplicitToImplicitScalesAndTurnsA) {
  const struct {
    double p1[2], p2[2];
    double a, b, c;
  } rows[] = {
      {{0, 0}, {1, 0}, 0, -1, 0},                        // N = 1, A = 0 is not turned
      {{1, 0}, {1, 1}, 0.5, 0, -0.5},                    // raw (1, 0, -1), N = 2
      {{0, 1}, {0, 0}, 1, 0, 0},                         // raw (-1, 0, 0) turned
      {{1, 2}, {3, 5}, 3.0 / 14, -2.0 / 14, 1.0 / 14},   // raw (3, -2, 1), N = 14
      {{3, 5}, {1, 2}, 3.0 / 14, -2.0 / 14, 1.0 / 14},   // raw (-3, 2, -1) turned
  };
  for (const auto& r : rows) {
    double a = 9, b = 9, c = 9;
    EXPECT_EQ(stdout_of([&] { line_exp2imp_2d(r.p1, r.p2, a, b, c); }), "");
    EXPECT_TRUE(rel_near(a, r.a, 1e-16));
    EXPECT_TRUE(rel_near(b, r.b, 1e-16));
    EXPECT_TRUE(rel_near(c, r.c, 1e-16));
  }
  const double p[] = {2, -1};
  double a = 9, b = 9, c = 9;
  EXPECT_EQ(stdout_of([&] { line_exp2imp_2d(p, p, a, b, c); }), degenerate_warning("LINE_EXP2IMP_2D"));
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(c, 0.0);
}

TEST(GeometryLineForms, ExplicitToParametricUnitDirectionWithFNotNegative) {
  const struct {
    double p1[2], p2[2];
    double f, g;
  } rows[] = {
      {{3, 1}, {0, 5}, 0.6, -0.8},  // (-3, 4) / 5 turned
      {{2, 3}, {2, 1}, 0, -1},      // a zero F keeps G's sign
      {{2, 1}, {2, 3}, 0, 1},
      {{0, 0}, {5, 12}, 5.0 / 13, 12.0 / 13},
  };
  for (const auto& r : rows) {
    double f = 9, g = 9, x0 = 9, y0 = 9;
    line_exp2par_2d(r.p1, r.p2, f, g, x0, y0);
    EXPECT_TRUE(rel_near(f, r.f, 1e-16));
    EXPECT_TRUE(rel_near(g, r.g, 1e-16));
    EXPECT_EQ(x0, r.p1[0]);
    EXPECT_EQ(y0, r.p1[1]);
  }
  const double q1[] = {1, 1, 1}, q2[] = {-1, -1, 0};
  double f, g, h, x0, y0, z0;
  line_exp2par_3d(q1, q2, f, g, h, x0, y0, z0);  // (-2, -2, -1) / 3 turned
  EXPECT_TRUE(rel_near(f, 2.0 / 3, 1e-16));
  EXPECT_TRUE(rel_near(g, 2.0 / 3, 1e-16));
  EXPECT_TRUE(rel_near(h, 1.0 / 3, 1e-16));
  EXPECT_EQ(x0, 1.0);
  EXPECT_EQ(y0, 1.0);
  EXPECT_EQ(z0, 1.0);
  const double q3[] = {0, 0, 4}, q4[] = {0, -3, 0};
  line_exp2par_3d(q3, q4, f, g, h, x0, y0, z0);
  EXPECT_EQ(f, 0.0);
  EXPECT_TRUE(rel_near(g, -0.6, 1e-16));
  EXPECT_TRUE(rel_near(h, -0.8, 1e-16));

  // A degenerate line: the warning, a zero direction and base point P1.
  f = g = h = x0 = y0 = z0 = 9;
  EXPECT_EQ(stdout_of([&] { line_exp2par_2d(q3, q3, f, g, x0, y0); }), degenerate_warning("LINE_EXP2PAR_2D"));
  EXPECT_EQ(f, 0.0);
  EXPECT_EQ(g, 0.0);
  EXPECT_EQ(x0, 0.0);
  EXPECT_EQ(y0, 0.0);
  EXPECT_EQ(stdout_of([&] { line_exp2par_3d(q3, q3, f, g, h, x0, y0, z0); }), degenerate_warning("LINE_EXP2PAR_3D"));
  EXPECT_EQ(f, 0.0);
  EXPECT_EQ(g, 0.0);
  EXPECT_EQ(h, 0.0);
  EXPECT_EQ(z0, 4.0);
}

TEST(GeometryLineForms, ImplicitToExplicitAndParametric) {
  const struct {
    double a, b, c;
    double p1[2], p2[2];
  } rows[] = {
      {1, 1, -2, {1, 1}, {2, 0}},         // |A| = |B|: the second branch
      {2, 1, -4, {1.6, 0.8}, {1.2, 1.6}},  // |A| > |B|
      {1, -3, 5, {-0.5, 1.5}, {-1, 4.0 / 3}},
  };
  for (const auto& r : rows) {
    double p1[2], p2[2];
    line_imp2exp_2d(r.a, r.b, r.c, p1, p2);
    for (int i = 0; i < 2; ++i) {
      EXPECT_TRUE(rel_near(p1[i], r.p1[i], 1e-15));
      EXPECT_TRUE(rel_near(p2[i], r.p2[i], 1e-15));
    }
  }
  // A line through the origin: P1 the origin, P2 one unit along the line in
  // the direction of line_imp2par_2d.
  double p1[2], p2[2];
  line_imp2exp_2d(3, 4, 0, p1, p2);
  EXPECT_EQ(p1[0], 0.0);
  EXPECT_EQ(p1[1], 0.0);
  EXPECT_TRUE(rel_near(p2[0], 0.8, 1e-16));
  EXPECT_TRUE(rel_near(p2[1], -0.6, 1e-15));
  line_imp2exp_2d(0, -2, 0, p1, p2);  // the x axis
  EXPECT_EQ(p2[0], 1.0);
  EXPECT_EQ(p2[1], 0.0);

  const struct {
    double a, b, c;
    double f, g, x0, y0;
  } pars[] = {
      {0, -2, 4, 1, 0, 0, 2},  // y = 2; B S = -1 < 0
      {0, 2, -4, 1, 0, 0, 2},
      {3, 4, -10, 0.8, -0.6, 1.2, 1.6},
      {-3, 0, 6, 0, 1, 2, 0},  // B = 0: (B, -A) / 3 = (0, 1), not turned
  };
  for (const auto& r : pars) {
    double f, g, x0, y0;
    line_imp2par_2d(r.a, r.b, r.c, f, g, x0, y0);
    EXPECT_TRUE(rel_near(f, r.f, 1e-15)) << r.a << " " << r.b;
    EXPECT_TRUE(rel_near(g, r.g, 1e-15)) << r.a << " " << r.b;
    EXPECT_TRUE(rel_near(x0, r.x0, 1e-15));
    EXPECT_TRUE(rel_near(y0, r.y0, 1e-15));
  }
  expect_fatal([&] { line_imp2exp_2d(0, 0, 1, p1, p2); },
               {" ", "LINE_IMP2EXP_2D - Fatal error!", "  The line is degenerate."});
  double f, g, x0, y0;
  expect_fatal([&] { line_imp2par_2d(0, 0, 1, f, g, x0, y0); },
               {" ", "LINE_IMP2PAR_2D - Fatal error!", "  The line is degenerate."});
}

TEST(GeometryLineForms, ParametricToExplicitAndImplicitTakeTheDirectionAsGiven) {
  double p1[2], p2[2], a, b, c;
  line_par2exp_2d(2, 1, 1, 1, p1, p2);
  EXPECT_EQ(p1[0], 1.0);
  EXPECT_EQ(p1[1], 1.0);
  EXPECT_EQ(p2[0], 3.0);
  EXPECT_EQ(p2[1], 2.0);
  line_par2imp_2d(2, 1, 1, 1, a, b, c);
  EXPECT_EQ(a, -1.0);
  EXPECT_EQ(b, 2.0);
  EXPECT_EQ(c, -1.0);
  // A zero direction is accepted silently and gives a degenerate result.
  EXPECT_EQ(stdout_of([&] {
              line_par2exp_2d(0, 0, 4, 5, p1, p2);
              line_par2imp_2d(0, 0, 4, 5, a, b, c);
            }),
            "");
  EXPECT_TRUE(r8vec_eq(2, p1, p2));
  EXPECT_TRUE(line_imp_is_degenerate_2d(a, b));
}

TEST(GeometryLineForms, DegeneracyTests) {
  EXPECT_TRUE(line_imp_is_degenerate_2d(0, 0));
  EXPECT_FALSE(line_imp_is_degenerate_2d(0, -1e-100));
  EXPECT_FALSE(line_imp_is_degenerate_2d(3, 0));
  const double p[] = {1, 2, 3, 4}, q[] = {1, 2, 3, 5};
  EXPECT_TRUE(line_exp_is_degenerate_nd(0, p, q));
  EXPECT_TRUE(line_exp_is_degenerate_nd(3, p, q));
  EXPECT_FALSE(line_exp_is_degenerate_nd(4, p, q));
  EXPECT_TRUE(line_exp_is_degenerate_nd(4, p, p));
}

TEST(GeometryLineForms, NormalAndPerpendicularFoot) {
  const double p1[] = {1, 1}, p2[] = {4, 5};
  double normal[2];
  line_exp_normal_2d(p1, p2, normal);  // (3, 4) / 5 turned a quarter counterclockwise
  EXPECT_TRUE(rel_near(normal[0], -0.8, 1e-16));
  EXPECT_TRUE(rel_near(normal[1], 0.6, 1e-16));
  EXPECT_EQ(stdout_of([&] { line_exp_normal_2d(p1, p1, normal); }), "");
  EXPECT_EQ(normal[0], 1.4142135623730951);
  EXPECT_EQ(normal[1], 1.4142135623730951);

  const double q1[] = {0, 0}, q2[] = {2, 0};
  const struct {
    double p3[2], p4[2];
  } rows[] = {{{1, 5}, {1, 0}}, {{-3, 2}, {-3, 0}}, {{7, 0}, {7, 0}}};
  for (const auto& r : rows) {
    double p4[2];
    bool flag = true;
    line_exp_perp_2d(q1, q2, r.p3, p4, flag);
    EXPECT_FALSE(flag);
    EXPECT_EQ(p4[0], r.p4[0]);
    EXPECT_EQ(p4[1], r.p4[1]);
  }
  // Slanted: the foot is on the line and P3 - P4 is normal to it.
  const double p3[] = {-2, 7};
  double p4[2];
  bool flag = true;
  line_exp_perp_2d(p1, p2, p3, p4, flag);
  EXPECT_FALSE(flag);
  EXPECT_NEAR((p4[0] - p1[0]) * 4 - (p4[1] - p1[1]) * 3, 0.0, 1e-13);
  EXPECT_NEAR((p3[0] - p4[0]) * 3 + (p3[1] - p4[1]) * 4, 0.0, 1e-13);
  EXPECT_EQ(stdout_of([&] { line_exp_perp_2d(p1, p1, p3, p4, flag); }), "");
  EXPECT_TRUE(flag);
  EXPECT_EQ(p4[0], 1.0e30);
  EXPECT_EQ(p4[1], 1.0e30);
}

// Random explicit lines, converted through every form: the original points
// stay on every line the chain produces.
TEST(GeometryLineForms, ChainsOfConversionsKeepThePointsOnTheLine) {
  int32_t seed = 123456789;
  for (int k = 0; k < 300; ++k) {
    const auto pts = testing::random_points(2, 2, -10.0, 10.0, seed);
    const double* p1 = &pts[0];
    const double* p2 = &pts[2];
    const double tol = 1e-12 * (1.0 + r8vec_norm(4, pts.data()));
    const auto on_implicit = [&](double a, double b, double c) {
      double d1, d2;
      line_imp_point_dist_2d(a, b, c, p1, d1);
      line_imp_point_dist_2d(a, b, c, p2, d2);
      EXPECT_LE(d1, tol);
      EXPECT_LE(d2, tol);
    };
    const auto on_parametric = [&](double f, double g, double x0, double y0) {
      EXPECT_TRUE(rel_near(f * f + g * g, 1.0, 1e-15));
      EXPECT_GE(f, 0.0);
      double d1, d2;
      line_par_point_dist_2d(f, g, x0, y0, p1, d1);
      line_par_point_dist_2d(f, g, x0, y0, p2, d2);
      EXPECT_LE(d1, tol);
      EXPECT_LE(d2, tol);
    };
    double a, b, c, f, g, x0, y0, r1[2], r2[2], s1[2], s2[2];
    line_exp2imp_2d(p1, p2, a, b, c);  // explicit to implicit
    EXPECT_GE(a, 0.0);
    on_implicit(a, b, c);
    line_imp2exp_2d(a, b, c, r1, r2);  // implicit to explicit
    EXPECT_FALSE(r8vec_eq(2, r1, r2));
    line_exp2par_2d(r1, r2, f, g, x0, y0);  // explicit to parametric
    on_parametric(f, g, x0, y0);
    line_par2imp_2d(f, g, x0, y0, a, b, c);  // parametric to implicit
    on_implicit(a, b, c);
    line_imp2par_2d(a, b, c, f, g, x0, y0);  // implicit to parametric
    on_parametric(f, g, x0, y0);
    line_par2exp_2d(f, g, x0, y0, s1, s2);  // parametric to explicit
    line_exp2imp_2d(s1, s2, a, b, c);
    on_implicit(a, b, c);
    // In space, on the plane z = 3: the direction matches the plane one.
    const double t1[] = {s1[0], s1[1], 3.0}, t2[] = {s2[0], s2[1], 3.0};
    double h, z0, f2, g2;
    line_exp2par_3d(t1, t2, f, g, h, x0, y0, z0);
    line_exp2par_2d(s1, s2, f2, g2, x0, y0);
    EXPECT_EQ(f, f2);
    EXPECT_EQ(g, g2);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(z0, 3.0);
  }
}

TEST(GeometryLineForms, PointDistancesAgreeAcrossForms) {
  int32_t seed = 42;
  for (int k = 0; k < 300; ++k) {
    const auto pts = testing::random_points(2, 3, -10.0, 10.0, seed);
    const double* p1 = &pts[0];
    const double* p2 = &pts[2];
    const double* p = &pts[4];
    double de, ds, di, dp, a, b, c, f, g, x0, y0, pn[2], dn, t;
    line_exp_point_dist_2d(p1, p2, p, de);
    line_exp_point_dist_signed_2d(p1, p2, p, ds);
    line_exp2imp_2d(p1, p2, a, b, c);
    line_imp_point_dist_2d(a, b, c, p, di);
    line_exp2par_2d(p1, p2, f, g, x0, y0);
    line_par_point_dist_2d(f, g, x0, y0, p, dp);
    line_exp_point_near_2d(p1, p2, p, pn, dn, t);
    EXPECT_TRUE(rel_near(std::fabs(ds), de, 1e-12));
    EXPECT_TRUE(rel_near(di, de, 1e-12));
    EXPECT_TRUE(rel_near(dp, de, 1e-12));
    EXPECT_TRUE(rel_near(dn, de, 1e-12));
    // The sign: positive right of P1 -> P2 (a negative cross product).
    const double cross = (p2[0] - p1[0]) * (p[1] - p1[1]) - (p2[1] - p1[1]) * (p[0] - p1[0]);
    EXPECT_EQ(ds > 0.0, cross < 0.0);
    // PN = P1 + T (P2 - P1), and P - PN is normal to the line.
    EXPECT_TRUE(rel_near(pn[0], p1[0] + t * (p2[0] - p1[0]), 1e-12));
    EXPECT_TRUE(rel_near(pn[1], p1[1] + t * (p2[1] - p1[1]), 1e-12));
    EXPECT_NEAR((p[0] - pn[0]) * (p2[0] - p1[0]) + (p[1] - pn[1]) * (p2[1] - p1[1]), 0.0, 1e-10);

    const auto q = testing::random_points(3, 3, -10.0, 10.0, seed);
    double h, z0, d3e, d3p, d3n, pn3[3], t3;
    line_exp_point_dist_3d(&q[0], &q[3], &q[6], d3e);
    line_exp2par_3d(&q[0], &q[3], f, g, h, x0, y0, z0);
    line_par_point_dist_3d(f, g, h, x0, y0, z0, &q[6], d3p);
    line_exp_point_near_3d(&q[0], &q[3], &q[6], pn3, d3n, t3);
    EXPECT_TRUE(rel_near(d3p, d3e, 1e-12));
    EXPECT_TRUE(rel_near(d3n, d3e, 1e-12));
    EXPECT_TRUE(rel_near(r8vec_distance(3, pn3, &q[6]), d3e, 1e-12));
    // The parametric distances do not need a unit direction.
    line_par_point_dist_3d(-7 * f, -7 * g, -7 * h, x0, y0, z0, &q[6], d3p);
    EXPECT_TRUE(rel_near(d3p, d3e, 1e-12));
    line_exp2par_2d(p1, p2, f, g, x0, y0);
    line_par_point_dist_2d(0.25 * f, 0.25 * g, x0, y0, p, dp);
    EXPECT_TRUE(rel_near(dp, de, 1e-12));
  }
}

TEST(GeometryLineForms, SignedDistanceSides) {
  const double o[] = {0, 0}, e[] = {1, 0}, up[] = {0, 1}, down[] = {0, -1};
  double d;
  line_exp_point_dist_signed_2d(o, e, up, d);
  EXPECT_EQ(d, -1.0);
  line_exp_point_dist_signed_2d(o, e, down, d);
  EXPECT_EQ(d, 1.0);
  line_exp_point_dist_2d(o, e, up, d);
  EXPECT_EQ(d, 1.0);
  line_exp_point_dist_2d(o, e, down, d);
  EXPECT_EQ(d, 1.0);
  // A degenerate line: the unsigned distance to its point.
  const double p[] = {3, 4};
  line_exp_point_dist_signed_2d(o, o, p, d);
  EXPECT_EQ(d, 5.0);

  const struct {
    double a, b, c, p[2], dist;
  } rows[] = {
      {0, 1, -2, {0, 0}, -2}, {0, 1, -2, {0, 5}, 3}, {0, -1, 2, {0, 0}, -2}, {0, -1, 2, {0, 5}, 3},
      {1, 0, 0, {1, 0}, -1},  {1, 0, 0, {-1, 0}, 1}, {-1, 0, 0, {1, 0}, 1},  {-1, 0, 0, {-1, 0}, -1},
      {3, 4, 10, {0, 0}, -2}, {3, 4, 10, {0, -5}, 2},
  };
  for (const auto& r : rows) {
    double ds, du;
    line_imp_point_dist_signed_2d(r.a, r.b, r.c, r.p, ds);
    line_imp_point_dist_2d(r.a, r.b, r.c, r.p, du);
    EXPECT_EQ(ds, r.dist) << r.a << " " << r.b << " " << r.c;
    EXPECT_EQ(du, std::fabs(r.dist));
  }
}

TEST(GeometryLineForms, NearestPointsAndTheirFailures) {
  const double p1[] = {0, 0}, p2[] = {2, 0}, p[] = {3, 4};
  auto pn = testing::canaries(2);
  double dist, t;
  line_exp_point_near_2d(p1, p2, p, pn.data(), dist, t);
  EXPECT_EQ(t, 1.5);
  EXPECT_EQ(pn[0], 3.0);
  EXPECT_EQ(pn[1], 0.0);
  EXPECT_EQ(dist, 4.0);
  const double q1[] = {1, 1, 1}, q2[] = {1, 1, 3}, q[] = {4, 5, 0};
  double pn3[3];
  line_exp_point_near_3d(q1, q2, q, pn3, dist, t);
  EXPECT_EQ(t, -0.5);
  EXPECT_EQ(pn3[2], 0.0);
  EXPECT_EQ(dist, 5.0);
  // The point may be passed as the output too.
  double same[] = {3, 4};
  line_exp_point_near_2d(p1, p2, same, same, dist, t);
  EXPECT_EQ(same[0], 3.0);
  EXPECT_EQ(same[1], 0.0);
  EXPECT_EQ(dist, 4.0);

  expect_fatal([&] { line_exp_point_near_2d(p1, p1, p, pn.data(), dist, t); },
               {" ", "LINE_POINT_NEAR_2D - Fatal error!", "  The line is degenerate."});
  expect_fatal([&] { line_exp_point_near_3d(q1, q1, q, pn3, dist, t); },
               {" ", "LINE_EXP_POINT_NEAR_3D - Fatal error!", "  The line is degenerate."});
  expect_fatal([&] { line_imp_point_dist_2d(0, 0, 1, p, dist); },
               {" ", "LINE_IMP_POINT_DIST_2D - Fatal error!", "  The line is degenerate."});
  expect_fatal([&] { line_imp_point_dist_signed_2d(0, 0, 1, p, dist); },
               {" ", "LINE_IMP_POINT_DIST_SIGNED_2D - Fatal error!", "  The line is degenerate."});

  // The other explicit routines measure a degenerate line as its point.
  const double r1[] = {1, 2, 3}, r[] = {1, 2, 5};
  EXPECT_EQ(stdout_of([&] { line_exp_point_dist_3d(r1, r1, r, dist); }), "");
  EXPECT_EQ(dist, 2.0);
  line_exp_point_dist_2d(p2, p2, p, dist);
  EXPECT_EQ(dist, std::sqrt(17.0));
}

TEST(GeometryLineForms, ParametricDistances) {
  const double p[] = {4, 7};
  double d;
  line_par_point_dist_2d(0, 2, 1, 0, p, d);
  EXPECT_EQ(d, 3.0);
  line_par_point_dist_2d(3, 4, 0, 0, p, d);  // |3 * 7 - 4 * 4| / 5
  EXPECT_TRUE(rel_near(d, 1.0, 1e-15));
  const double q[] = {4, 5, 9};
  line_par_point_dist_3d(0, 0, 2, 1, 1, 1, q, d);
  EXPECT_EQ(d, 5.0);
  // A zero direction is the base point alone.
  line_par_point_dist_2d(0, 0, 1, 3, p, d);
  EXPECT_EQ(d, 5.0);
  line_par_point_dist_3d(0, 0, 0, 4, 1, 9, q, d);
  EXPECT_EQ(d, 4.0);
}

}  // namespace
}  // namespace orvel::geometry
