#include "geometry/line_pairs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/line_forms.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::stdout_of;

const double pi = 3.141592653589793;

TEST(GeometryLinePairs, ExplicitIntersectionCodes) {
  const struct {
    const char* what;
    double p1[2], p2[2], q1[2], q2[2];
    int32_t ival;
    double p[2];
  } rows[] = {
      {"crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 1, {1, 1}},
      {"crossing outside both", {0, 0}, {1, 0}, {5, 1}, {5, 2}, 1, {5, 0}},
      {"coincident", {0, 0}, {1, 0}, {5, 0}, {-3, 0}, 2, {0, 0}},
      {"parallel", {0, 0}, {1, 0}, {0, 1}, {1, 1}, 0, {0, 0}},
      {"first a point on the second", {1, 1}, {1, 1}, {0, 0}, {2, 2}, 1, {1, 1}},
      {"first a point off the second", {1, 0}, {1, 0}, {0, 0}, {2, 2}, 0, {0, 0}},
      {"second a point on the first", {0, 0}, {2, 2}, {3, 3}, {3, 3}, 1, {3, 3}},
      {"second a point off the first", {0, 0}, {2, 2}, {3, 1}, {3, 1}, 0, {0, 0}},
      {"the same single point", {4, -1}, {4, -1}, {4, -1}, {4, -1}, 1, {4, -1}},
      {"two single points", {4, -1}, {4, -1}, {4, 1}, {4, 1}, 0, {0, 0}},
      // Integer lines whose scaled implicit coefficients, rounded, are not
      // exactly proportional: the points decide.
      {"parallel, rounded offsets unequal", {0, 0}, {3, 1}, {0, 1}, {3, 2}, 0, {0, 0}},
      {"coincident, rounded normals unequal", {0, 0}, {1, 3}, {-1, -3}, {2, 6}, 2, {0, 0}},
      {"first a point at the second's start", {-5, -5}, {-5, -5}, {-5, -5}, {-4, -2}, 1, {-5, -5}},
      {"second a point on the first", {-5, -5}, {-4, -3}, {-1, 3}, {-1, 3}, 1, {-1, 3}},
      // Coefficients that overflow scale to A = B = 0: the codes of a
      // degenerate implicit line reach the caller.
      {"first overflows", {1e200, 0}, {0, 1e200}, {0, 0}, {1, 1}, -1, {0, 0}},
      {"second overflows", {0, 0}, {1, 1}, {1e200, 0}, {0, 1e200}, -2, {0, 0}},
  };
  for (const auto& r : rows) {
    auto p = testing::canaries(2);
    int32_t ival = testing::icanary;
    EXPECT_EQ(stdout_of([&] { lines_exp_int_2d(r.p1, r.p2, r.q1, r.q2, ival, p.data()); }), "") << r.what;
    EXPECT_EQ(ival, r.ival) << r.what;
    EXPECT_NEAR(p[0], r.p[0], 1e-15) << r.what;
    EXPECT_NEAR(p[1], r.p[1], 1e-15) << r.what;
  }
}

// Every line through an integer point of [-5, 5]^2 with an integer
// direction D in [-3, 3]^2, against the same line given by two other of its
// points, against parallel lines through the other integer points, and
// against single integer points: the codes agree with exact integer
// arithmetic (the cross product of the directions, and of the direction
// with the offset).
TEST(GeometryLinePairs, IntegerLinesAgainstExactArithmetic) {
  int64_t coincident = 0, parallel = 0, points = 0, wrong = 0;
  const auto check = [&](const char* what, const double* p1, const double* p2, const double* q1, const double* q2,
                         int32_t want, const double* want_p) {
    int32_t ival;
    double p[2];
    lines_exp_int_2d(p1, p2, q1, q2, ival, p);
    if (ival == want && p[0] == want_p[0] && p[1] == want_p[1]) return;
    if (++wrong <= 5)
      ADD_FAILURE() << what << ": (" << p1[0] << "," << p1[1] << ")-(" << p2[0] << "," << p2[1] << ") and ("
                    << q1[0] << "," << q1[1] << ")-(" << q2[0] << "," << q2[1] << ") give " << ival;
  };
  const double origin[2] = {0, 0};
  testing::for_each_integer_line(5, 3, [&](int x, int y, int dx, int dy) {
    const double p1[2] = {double(x), double(y)}, p2[2] = {double(x + dx), double(y + dy)};
    for (int a = -3; a <= 3; ++a)
      for (int b = -3; b <= 3; ++b) {
        if (a == b) continue;
        const double q1[2] = {double(x + a * dx), double(y + a * dy)};
        const double q2[2] = {double(x + b * dx), double(y + b * dy)};
        check("coincident", p1, p2, q1, q2, 2, origin);
        ++coincident;
      }
    for (int u = -5; u <= 5; ++u)
      for (int v = -5; v <= 5; ++v) {
        const double q[2] = {double(u), double(v)};
        const bool on = dx * (v - y) - dy * (u - x) == 0;
        check("single point", q, q, p1, p2, on ? 1 : 0, on ? q : origin);
        ++points;
        if (on) continue;
        const double q2[2] = {double(u - 2 * dx), double(v - 2 * dy)};
        check("parallel", p1, p2, q, q2, 0, origin);
        ++parallel;
      }
  });
  EXPECT_EQ(wrong, 0) << "of " << coincident << " coincident, " << parallel << " parallel and " << points
                      << " point pairs";
}

TEST(GeometryLinePairs, ImplicitIntersectionCodes) {
  const struct {
    double a1, b1, c1, a2, b2, c2;
    int32_t ival;
    double p[2];
  } rows[] = {
      {0, 0, 1, 0, 0, 1, -1, {0, 0}},   // the first is tested first
      {0, 0, 1, 1, 1, 1, -1, {0, 0}},   //
      {1, 1, 1, 0, 0, 5, -2, {0, 0}},   //
      {1, -1, 0, 1, 1, -2, 1, {1, 1}},  // x = y and x + y = 2
      {0, 2, -6, 3, 0, 3, 1, {-1, 3}},  //
      {1, 2, 3, 2, 4, 6, 2, {0, 0}},    // the same line, A1 not 0
      {1, 2, 3, 2, 4, 5, 0, {0, 0}},    //
      {0, 1, -1, 0, 2, -2, 2, {0, 0}},  // A1 = 0: B2 C1 = B1 C2 decides
      {0, 1, -1, 0, 2, -3, 0, {0, 0}},  //
  };
  for (const auto& r : rows) {
    auto p = testing::canaries(2);
    int32_t ival = testing::icanary;
    lines_imp_int_2d(r.a1, r.b1, r.c1, r.a2, r.b2, r.c2, ival, p.data());
    EXPECT_EQ(ival, r.ival) << r.a1 << " " << r.b1 << " " << r.c1;
    EXPECT_TRUE(rel_near(p[0], r.p[0], 1e-15));
    EXPECT_TRUE(rel_near(p[1], r.p[1], 1e-15));
  }
}

TEST(GeometryLinePairs, ParametricIntersection) {
  double t1, t2, pint[2];
  lines_par_int_2d(1, 0, 0, 0, 0, 2, 3, -2, t1, t2, pint);
  EXPECT_EQ(t1, 3.0);
  EXPECT_EQ(t2, 1.0);
  EXPECT_EQ(pint[0], 3.0);
  EXPECT_EQ(pint[1], 0.0);
  // Parallel or coincident: the zero answer.
  for (double y2 : {0.0, 5.0}) {
    t1 = t2 = pint[0] = pint[1] = 7;
    lines_par_int_2d(1, 2, 0, 0, -2, -4, 1, y2, t1, t2, pint);
    EXPECT_EQ(t1, 0.0);
    EXPECT_EQ(t2, 0.0);
    EXPECT_EQ(pint[0], 0.0);
    EXPECT_EQ(pint[1], 0.0);
  }
}

// Random crossing lines: both intersection routines find one point, on both
// lines, at the parameters reported.
TEST(GeometryLinePairs, IntersectionsAgreeAcrossForms) {
  int32_t seed = 987654;
  for (int k = 0; k < 300; ++k) {
    const auto pts = testing::random_points(2, 4, -10.0, 10.0, seed);
    const double *p1 = &pts[0], *p2 = &pts[2], *q1 = &pts[4], *q2 = &pts[6];
    int32_t ival;
    double p[2], f1, g1, x1, y1, f2, g2, x2, y2, t1, t2, pint[2];
    lines_exp_int_2d(p1, p2, q1, q2, ival, p);
    ASSERT_EQ(ival, 1);
    line_exp2par_2d(p1, p2, f1, g1, x1, y1);
    line_exp2par_2d(q1, q2, f2, g2, x2, y2);
    lines_par_int_2d(f1, g1, x1, y1, f2, g2, x2, y2, t1, t2, pint);
    const double tol = 1e-9;
    EXPECT_NEAR(pint[0], p[0], tol * (1 + std::fabs(p[0])));
    EXPECT_NEAR(pint[1], p[1], tol * (1 + std::fabs(p[1])));
    EXPECT_NEAR(x2 + f2 * t2, pint[0], tol * (1 + std::fabs(p[0])));
    EXPECT_NEAR(y2 + g2 * t2, pint[1], tol * (1 + std::fabs(p[1])));
    double d1, d2;
    line_exp_point_dist_2d(p1, p2, p, d1);
    line_exp_point_dist_2d(q1, q2, p, d2);
    EXPECT_LE(d1, tol * (1 + r8vec_norm(2, p)));
    EXPECT_LE(d2, tol * (1 + r8vec_norm(2, p)));
  }
}

TEST(GeometryLinePairs, AnglesOfHandCases) {
  const double o[] = {0, 0, 0}, x[] = {1, 0, 0}, mx[] = {-3, 0, 0}, y[] = {0, 2, 0}, d[] = {1, 1, 0};
  const struct {
    const double *p2, *q2;
    double angle;
  } rows[] = {{x, x, 0}, {x, mx, pi}, {x, y, pi / 2}, {x, d, pi / 4}, {mx, d, 3 * pi / 4}};
  for (const auto& r : rows) {
    double a3, an;
    lines_exp_angle_3d(o, r.p2, o, r.q2, a3);
    lines_exp_angle_nd(3, o, r.p2, o, r.q2, an);
    EXPECT_TRUE(rel_near(a3, r.angle, 1e-15));
    EXPECT_EQ(an, a3);
  }
  double angle = 0;
  lines_exp_angle_3d(x, x, o, y, angle);
  EXPECT_EQ(angle, -1.0);
  angle = 0;
  lines_exp_angle_3d(o, y, x, x, angle);
  EXPECT_EQ(angle, -1.0);

  double theta;
  lines_imp_angle_2d(1, 0, 5, 1, 1, -9, theta);
  EXPECT_TRUE(rel_near(theta, pi / 4, 1e-15));
  lines_imp_angle_2d(1, 0, 5, -2, 0, 0, theta);  // opposite normals, not the acute angle
  EXPECT_EQ(theta, pi);
  lines_par_angle_2d(0, 3, 1, 1, 2, 0, 7, 7, theta);
  EXPECT_TRUE(rel_near(theta, pi / 2, 1e-15));
  lines_par_angle_3d(1, 1, 0, 0, 0, 0, 0, 0, 5, 1, 2, 3, theta);
  EXPECT_TRUE(rel_near(theta, pi / 2, 1e-15));
  // Cosines a rounding beyond 1 stay 0; a zero normal or direction gives pi
  // through the clamp, never NaN.
  lines_par_angle_3d(0.1, 0.2, 0.3, 0, 0, 0, 0.3, 0.6, 0.9, 0, 0, 0, theta);
  EXPECT_LT(theta, 1e-7);
  lines_imp_angle_2d(0, 0, 1, 1, 1, 1, theta);
  EXPECT_EQ(theta, pi);
  lines_par_angle_2d(1, 1, 0, 0, 0, 0, 0, 0, theta);
  EXPECT_EQ(theta, pi);
  lines_par_angle_3d(0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, theta);
  EXPECT_EQ(theta, pi);
}

TEST(GeometryLinePairs, AngleInNDimensionsEndsTheRunOnADegenerateLine) {
  const double p[] = {1, 2, 3, 4}, q[] = {1, 2, 3, 5}, b_first[] = {1, 2, 3, 9};
  double angle = 0;
  lines_exp_angle_nd(4, p, q, q, p, angle);
  EXPECT_EQ(angle, pi);
  const std::initializer_list<std::string_view> p_message = {" ", "LINES_EXP_ANGLE_3D - Fatal error!", "  The line (P1,P2) is degenerate!"};
  const std::initializer_list<std::string_view> q_message = {" ", "LINES_EXP_ANGLE_3D - Fatal error!", "  The line (Q1,Q2) is degenerate!"};
  expect_fatal([&] { lines_exp_angle_nd(3, p, q, q, p, angle); }, p_message);
  expect_fatal([&] { lines_exp_angle_nd(3, p, q, p, q, angle); }, p_message);  // both: P first
  expect_fatal([&] { lines_exp_angle_nd(4, p, q, p, p, angle); }, q_message);
  expect_fatal([&] { lines_exp_angle_nd(0, p, q, p, q, angle); }, p_message);
  expect_fatal([&] { lines_exp_angle_nd(3, b_first, q, p, q, angle); }, p_message);  // the first 3 coordinates agree
  EXPECT_EQ(angle, -1.0);
}

TEST(GeometryLinePairs, AnglesAgreeAcrossRoutines) {
  int32_t seed = 31337;
  for (int k = 0; k < 200; ++k) {
    const auto pts = testing::random_points(3, 4, -5.0, 5.0, seed);
    const double *p1 = &pts[0], *p2 = &pts[3], *q1 = &pts[6], *q2 = &pts[9];
    double a3, an, av, ap;
    lines_exp_angle_3d(p1, p2, q1, q2, a3);
    lines_exp_angle_nd(3, p1, p2, q1, q2, an);
    const double u[] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    const double v[] = {q2[0] - q1[0], q2[1] - q1[1], q2[2] - q1[2]};
    r8vec_angle_3d(u, v, av);
    lines_par_angle_3d(u[0], u[1], u[2], 0, 0, 0, v[0], v[1], v[2], 1, 1, 1, ap);
    EXPECT_EQ(an, a3);
    EXPECT_TRUE(rel_near(av, a3, 1e-14));
    EXPECT_TRUE(rel_near(ap, a3, 1e-14));
    // In the plane: the normals (-G, F) of line_par2imp_2d turn with the
    // directions, so the angles agree; the normalised forms of the explicit
    // lines may each be reversed, which leaves the acute angle.
    double a1, b1, c1, a2, b2, c2, ti, tp, f1, g1, x1, y1, f2, g2, x2, y2;
    line_exp2par_2d(p1, p2, f1, g1, x1, y1);
    line_exp2par_2d(q1, q2, f2, g2, x2, y2);
    lines_par_angle_2d(f1, g1, x1, y1, f2, g2, x2, y2, tp);
    line_par2imp_2d(f1, g1, x1, y1, a1, b1, c1);
    line_par2imp_2d(f2, g2, x2, y2, a2, b2, c2);
    lines_imp_angle_2d(a1, b1, c1, a2, b2, c2, ti);
    EXPECT_TRUE(rel_near(ti, tp, 1e-14));
    line_exp2imp_2d(p1, p2, a1, b1, c1);
    line_exp2imp_2d(q1, q2, a2, b2, c2);
    lines_imp_angle_2d(a1, b1, c1, a2, b2, c2, ti);
    EXPECT_TRUE(rel_near(std::min(ti, pi - ti), std::min(tp, pi - tp), 1e-12));
    double d2[] = {p1[0] + u[0], p1[1] + u[1]};
    double t2d;
    lines_par_angle_2d(u[0], u[1], 0, 0, v[0], v[1], 0, 0, t2d);
    lines_exp_angle_nd(2, p1, d2, q1, q2, an);
    EXPECT_TRUE(rel_near(an, t2d, 1e-12));
  }
}

TEST(GeometryLinePairs, DistancesAndNearestPointsInSpace) {
  // Skew lines one unit apart.
  const double p1[] = {0, 0, 0}, p2[] = {1, 0, 0}, q1[] = {0, 1, 1}, q2[] = {0, 2, 1};
  double d1, d2, pn[3], qn[3];
  lines_exp_dist_3d(p1, p2, q1, q2, d1);
  lines_exp_dist_3d_2(p1, p2, q1, q2, d2);
  lines_exp_near_3d(p1, p2, q1, q2, pn, qn);
  EXPECT_EQ(d1, 1.0);
  EXPECT_EQ(d2, 1.0);
  EXPECT_TRUE(r8vec_eq(3, pn, p1));
  const double want_qn[] = {0, 0, 1};
  EXPECT_TRUE(r8vec_eq(3, qn, want_qn));

  // Parallel lines: measured from Q1 to line P; the nearest points are P1
  // and its foot on Q.
  const double r1[] = {5, 3, 4}, r2[] = {7, 3, 4};
  lines_exp_dist_3d(p1, p2, r1, r2, d1);
  lines_exp_dist_3d_2(p1, p2, r1, r2, d2);
  lines_exp_near_3d(p1, p2, r1, r2, pn, qn);
  EXPECT_EQ(d1, 5.0);
  EXPECT_EQ(d2, 5.0);
  EXPECT_TRUE(r8vec_eq(3, pn, p1));
  const double want_foot[] = {0, 3, 4};
  EXPECT_TRUE(r8vec_eq(3, qn, want_foot));

  // Line Q a single point: QN = Q1 and PN its foot on P, not a division by
  // zero.
  const double s[] = {2, 3, 0};
  lines_exp_near_3d(p1, p2, s, s, pn, qn);
  const double want_pn[] = {2, 0, 0};
  EXPECT_TRUE(r8vec_eq(3, pn, want_pn));
  EXPECT_TRUE(r8vec_eq(3, qn, s));
  lines_exp_dist_3d(p1, p2, s, s, d1);
  lines_exp_dist_3d_2(p1, p2, s, s, d2);
  EXPECT_EQ(d1, 3.0);
  EXPECT_EQ(d2, 3.0);
  // Both single points; then line P a single point.
  lines_exp_near_3d(r1, r1, s, s, pn, qn);
  EXPECT_TRUE(r8vec_eq(3, pn, r1));
  EXPECT_TRUE(r8vec_eq(3, qn, s));
  lines_exp_dist_3d_2(r1, r1, s, s, d2);
  EXPECT_EQ(d2, 5.0);
  lines_exp_near_3d(s, s, p1, p2, pn, qn);
  EXPECT_TRUE(r8vec_eq(3, pn, s));
  EXPECT_TRUE(r8vec_eq(3, qn, want_pn));
  // The cross-product method measures from Q1 to a single-point line P, not
  // from that point to line Q.
  lines_exp_dist_3d(s, s, p1, p2, d1);
  EXPECT_EQ(d1, std::sqrt(13.0));
  lines_exp_dist_3d_2(s, s, p1, p2, d2);
  EXPECT_EQ(d2, 3.0);
}

TEST(GeometryLinePairs, DistancesAgreeOnRandomLines) {
  int32_t seed = 777;
  for (int k = 0; k < 300; ++k) {
    const auto pts = testing::random_points(3, 4, -10.0, 10.0, seed);
    const double *p1 = &pts[0], *p2 = &pts[3], *q1 = &pts[6], *q2 = &pts[9];
    double d1, d2, dp, pn[3], qn[3];
    lines_exp_dist_3d(p1, p2, q1, q2, d1);
    lines_exp_dist_3d_2(p1, p2, q1, q2, d2);
    lines_exp_near_3d(p1, p2, q1, q2, pn, qn);
    EXPECT_TRUE(rel_near(d2, d1, 1e-10));
    EXPECT_EQ(d2, r8vec_distance(3, pn, qn));
    // PN - QN is normal to both lines, and PN, QN lie on them.
    double w[3], u[3], v[3];
    for (int i = 0; i < 3; ++i) {
      w[i] = pn[i] - qn[i];
      u[i] = p2[i] - p1[i];
      v[i] = q2[i] - q1[i];
    }
    EXPECT_NEAR(r8vec_dot_product(3, w, u) / r8vec_norm(3, u), 0.0, 1e-10);
    EXPECT_NEAR(r8vec_dot_product(3, w, v) / r8vec_norm(3, v), 0.0, 1e-10);
    double off_p, off_q;
    line_exp_point_dist_3d(p1, p2, pn, off_p);
    line_exp_point_dist_3d(q1, q2, qn, off_q);
    EXPECT_LE(off_p, 1e-10);
    EXPECT_LE(off_q, 1e-10);
    // No pair of points of the lines is nearer.
    for (double s : {-1.0, 0.3, 2.0}) {
      for (double t : {-0.5, 0.7, 1.5}) {
        double a[3], b[3];
        for (int i = 0; i < 3; ++i) {
          a[i] = p1[i] + s * u[i];
          b[i] = q1[i] + t * v[i];
        }
        EXPECT_GE(r8vec_distance(3, a, b), d1 - 1e-10);
      }
    }
    lines_par_dist_3d(u[0], u[1], u[2], p1[0], p1[1], p1[2], v[0], v[1], v[2], q1[0], q1[1], q1[2], dp);
    EXPECT_TRUE(rel_near(dp, d1, 1e-10));
  }
}

TEST(GeometryLinePairs, ParametricDistanceOfParallelLines) {
  double d;
  lines_par_dist_3d(1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, d);
  EXPECT_EQ(d, 2.0);
  // Parallel: the distance of the second base point from line 1.
  lines_par_dist_3d(1, 0, 0, 0, 0, 0, -2, 0, 0, 4, 3, 4, d);
  EXPECT_EQ(d, 5.0);
  lines_par_dist_3d(0, 0, 0, 1, 1, 1, 1, 0, 0, 4, 5, 1, d);  // no first direction: the base points
  EXPECT_EQ(d, 5.0);
}

TEST(GeometryLinePairs, ImplicitDistance) {
  const struct {
    double a1, b1, c1, a2, b2, c2, dist;
  } rows[] = {
      {1, 0, -1, 0, 1, 5, 0},     // crossing
      {1, 0, -1, 2, 0, -6, 2},    // x = 1 and x = 3, normals the same way
      {1, 0, -1, -1, 0, 3, 2},    // x = 1 and x = 3, opposite normals
      {0, 1, -1, 0, -2, 6, 2},    // y = 1 and y = 3, opposite normals
      {0, 1, -1, 0, -2, 2, 0},    // y = 1 twice, opposite normals
      {3, 4, 0, -6, -8, 20, 2},   // through the origin and 3x + 4y = 10
      {3, 4, 10, 3, 4, -10, 4},   //
  };
  for (const auto& r : rows) {
    double d;
    lines_imp_dist_2d(r.a1, r.b1, r.c1, r.a2, r.b2, r.c2, d);
    EXPECT_EQ(d, r.dist) << r.a1 << " " << r.b1 << " " << r.c1 << " / " << r.a2 << " " << r.b2 << " " << r.c2;
  }
  double d;
  expect_fatal([&] { lines_imp_dist_2d(0, 0, 1, 0, 0, 1, d); },
               {" ", "LINES_IMP_DIST_2D - Fatal error!", "  Line 1 is degenerate."});
  expect_fatal([&] { lines_imp_dist_2d(1, 0, 1, 0, 0, 1, d); },
               {" ", "LINES_IMP_DIST_2D - Fatal error!", "  Line 2 is degenerate."});
}

TEST(GeometryLinePairs, ExactEqualityAndParallelism) {
  const struct {
    double p1[2], p2[2], q1[2], q2[2];
    bool equal, parallel;
  } rows[] = {
      {{0, 0}, {1, 1}, {3, 3}, {-2, -2}, true, true},
      {{0, 0}, {1, 1}, {5, 0}, {7, 2}, false, true},
      {{0, 0}, {1, 1}, {5, 0}, {7, 2.5}, false, false},
      {{0, 0}, {1, 0}, {0, 0}, {0, 1}, false, false},
      {{2, 2}, {2, 2}, {0, 0}, {1, 1}, true, true},  // a single point on the line
      {{2, 3}, {2, 3}, {0, 0}, {1, 1}, false, true},  // a single point is parallel to all
  };
  for (const auto& r : rows) {
    EXPECT_EQ(lines_exp_equal_2d(r.p1, r.p2, r.q1, r.q2), r.equal);
    EXPECT_EQ(lines_exp_parallel_2d(r.p1, r.p2, r.q1, r.q2), r.parallel);
    const double p1[] = {r.p1[0], r.p1[1], 1}, p2[] = {r.p2[0], r.p2[1], 1};
    const double q1[] = {r.q1[0], r.q1[1], -4}, q2[] = {r.q2[0], r.q2[1], -4};
    EXPECT_EQ(lines_exp_parallel_3d(p1, p2, q1, q2), r.parallel);
  }
  const double a[] = {0, 0, 0}, b[] = {1, 2, 3}, c[] = {5, 5, 5}, d[] = {7, 9, 11}, e[] = {7, 9, 12};
  EXPECT_TRUE(lines_exp_parallel_3d(a, b, c, d));
  EXPECT_FALSE(lines_exp_parallel_3d(a, b, c, e));
  EXPECT_TRUE(lines_exp_parallel_3d(a, a, c, e));
  EXPECT_TRUE(lines_exp_parallel_3d(a, b, e, e));
}

}  // namespace
}  // namespace orvel::geometry
