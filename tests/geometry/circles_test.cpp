#include "geometry/circles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/line_forms.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canary;
using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

const double pi = 3.141592653589793;
const double sqrt2 = 1.4142135623730951;

TEST(GeometryCircles, CircleThroughThreePointsAndDiameter) {
  const struct {
    const char* what;
    double p1[2], p2[2], p3[2];
    double r, pc[2];
  } rows[] = {
      {"right angle", {0, 0}, {2, 0}, {0, 2}, sqrt2, {1, 1}},
      {"general", {1, 0}, {-1, 2}, {-1, -2}, 2, {-1, 0}},  // centre (-1, 0), radius 2
      {"collinear", {0, 0}, {1, 1}, {2, 2}, -1, {0, 0}},
      {"P1 = P2", {0, 0}, {0, 0}, {4, 0}, 2, {2, 0}},
      {"P1 = P3", {1, 1}, {5, 1}, {1, 1}, 2, {3, 1}},
      {"P2 = P3", {0, 0}, {0, 6}, {0, 6}, 3, {0, 3}},
      {"all equal", {3, -2}, {3, -2}, {3, -2}, 0, {3, -2}},
  };
  for (const auto& r : rows) {
    double rad, pc[2];
    circle_exp2imp_2d(r.p1, r.p2, r.p3, rad, pc);
    EXPECT_TRUE(rel_near(rad, r.r, 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(pc[0], r.pc[0], 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(pc[1], r.pc[1], 1e-15)) << r.what;
  }
  const double p1[] = {1, 2}, p2[] = {7, 10};
  double rad, pc[2];
  circle_dia2imp_2d(p1, p2, rad, pc);
  EXPECT_EQ(rad, 5.0);
  EXPECT_EQ(pc[0], 4.0);
  EXPECT_EQ(pc[1], 6.0);
}

TEST(GeometryCircles, ImplicitToExplicitAndBack) {
  double p1[2], p2[2], p3[2];
  const double o[] = {0, 0};
  circle_imp2exp_2d(1, o, p1, p2, p3);
  EXPECT_EQ(p1[0], 1.0);
  EXPECT_EQ(p1[1], 0.0);
  EXPECT_TRUE(vec_rel_near({p2[0], p2[1], p3[0], p3[1]}, {-0.5, std::sqrt(3.0) / 2, -0.5, -std::sqrt(3.0) / 2}, 1e-15));
  int32_t seed = 1618;
  for (int k = 0; k < 200; ++k) {
    const double r = r8_uniform(0.01, 50.0, seed);
    const auto pc = testing::random_points(2, 1, -100.0, 100.0, seed);
    circle_imp2exp_2d(r, pc.data(), p1, p2, p3);
    EXPECT_EQ(p1[0], pc[0] + r);
    EXPECT_EQ(p1[1], pc[1]);
    double r2, pc2[2];
    circle_exp2imp_2d(p1, p2, p3, r2, pc2);
    EXPECT_TRUE(rel_near(r2, r, 1e-12));
    EXPECT_NEAR(pc2[0], pc[0], 1e-12 * (r + 100));
    EXPECT_NEAR(pc2[1], pc[1], 1e-12 * (r + 100));
  }
}

TEST(GeometryCircles, ExplicitContainmentCodes) {
  const struct {
    const char* what;
    double p1[2], p2[2], p3[2], p[2];
    int32_t code;
  } rows[] = {
      {"counterclockwise, inside", {1, 0}, {0, 1}, {-1, 0}, {0, 0}, -1},
      {"counterclockwise, on", {1, 0}, {0, 1}, {-1, 0}, {0, -1}, 0},
      {"counterclockwise, outside", {1, 0}, {0, 1}, {-1, 0}, {2, 0}, 1},
      {"clockwise, inside", {-1, 0}, {0, 1}, {1, 0}, {0, 0}, 1},
      {"clockwise, outside", {-1, 0}, {0, 1}, {1, 0}, {2, 0}, -1},
      {"collinear, on the line", {0, 0}, {1, 1}, {2, 2}, {5, 5}, 2},
      {"collinear, off the line", {0, 0}, {1, 1}, {2, 2}, {5, 4}, 3},
      {"P2 = P3, on the line", {0, 0}, {1, 1}, {1, 1}, {-3, -3}, 2},
      {"P2 = P3, off the line", {0, 0}, {1, 1}, {1, 1}, {-3, 3}, 3},
      {"P1 = P2, on the line", {0, 0}, {0, 0}, {3, 0}, {7, 0}, 4},
      {"P1 = P2, off the line", {0, 0}, {0, 0}, {3, 0}, {7, 1}, 5},
      {"P1 = P3, on the line", {0, 0}, {0, 2}, {0, 0}, {0, 9}, 4},
      {"P1 = P3, off the line", {0, 0}, {0, 2}, {0, 0}, {1, 9}, 5},
      {"all four equal", {2, 2}, {2, 2}, {2, 2}, {2, 2}, 6},
      {"three equal", {2, 2}, {2, 2}, {2, 2}, {2, 3}, 7},
  };
  for (const auto& r : rows) {
    int32_t code = testing::icanary;
    circle_exp_contains_point_2d(r.p1, r.p2, r.p3, r.p, code);
    EXPECT_EQ(code, r.code) << r.what;
  }
}

// For counterclockwise points the codes -1 / 0 / 1 follow the signed
// distance from the circle through them, as does the implicit test.
TEST(GeometryCircles, ContainmentAgreesWithSignedDistance) {
  int32_t seed = 4242;
  int counts[3] = {0, 0, 0};
  for (int k = 0; k < 500; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    double r, pc[2];
    circle_exp2imp_2d(&t[0], &t[2], &t[4], r, pc);
    const auto p = testing::random_points(2, 1, -12.0, 12.0, seed);
    double sd, d;
    bool inside;
    int32_t code;
    circle_imp_point_dist_signed_2d(r, pc, p.data(), sd);
    circle_imp_point_dist_2d(r, pc, p.data(), d);
    circle_imp_contains_point_2d(r, pc, p.data(), inside);
    circle_exp_contains_point_2d(&t[0], &t[2], &t[4], p.data(), code);
    EXPECT_EQ(d, std::fabs(sd));
    if (std::fabs(sd) < 1e-9) continue;
    EXPECT_EQ(inside, sd < 0.0);
    EXPECT_EQ(code, sd < 0.0 ? -1 : 1);
    ++counts[sd < 0.0 ? 0 : 2];
  }
  EXPECT_GT(counts[0], 15);
  EXPECT_GT(counts[2], 15);
  // The vertices themselves lie on the circle: code 0 for exact cases.
  const double p1[] = {0, 5}, p2[] = {-5, 0}, p3[] = {3, -4}, on[] = {4, 3};
  int32_t code;
  circle_exp_contains_point_2d(p1, p2, p3, on, code);
  EXPECT_EQ(code, 0);
}

TEST(GeometryCircles, ImplicitContainmentAndPointDistances) {
  const double pc[] = {0, 0}, on[] = {3, 4}, out[] = {3, 4.0000001};
  bool inside = false;
  circle_imp_contains_point_2d(5, pc, on, inside);
  EXPECT_TRUE(inside);
  circle_imp_contains_point_2d(-5, pc, on, inside);  // squares are compared
  EXPECT_TRUE(inside);
  circle_imp_contains_point_2d(5, pc, out, inside);
  EXPECT_FALSE(inside);

  const double c[] = {1, 1}, far[] = {4, 5}, near[] = {1, 2};
  double d, sd, pn[2];
  circle_imp_point_dist_2d(2, c, far, d);
  circle_imp_point_dist_signed_2d(2, c, far, sd);
  EXPECT_EQ(d, 3.0);
  EXPECT_EQ(sd, 3.0);
  circle_imp_point_near_2d(2, c, far, pn, d);
  EXPECT_EQ(d, 3.0);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1]}, {2.2, 2.6}, 1e-15));
  circle_imp_point_dist_2d(2, c, near, d);
  circle_imp_point_dist_signed_2d(2, c, near, sd);
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(sd, -1.0);
  circle_imp_point_near_2d(2, c, near, pn, d);
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(pn[0], 1.0);
  EXPECT_EQ(pn[1], 3.0);
  // At the centre: PC + (R / sqrt 2) (1, 1) at distance R.
  circle_imp_point_near_2d(2, c, c, pn, d);
  EXPECT_EQ(d, 2.0);
  EXPECT_EQ(pn[0], 1.0 + 2.0 / sqrt2);
  EXPECT_EQ(pn[1], 1.0 + 2.0 / sqrt2);

  int32_t seed = 99;
  for (int k = 0; k < 200; ++k) {
    const double r = r8_uniform(0.1, 10.0, seed);
    const auto q = testing::random_points(2, 2, -10.0, 10.0, seed);
    circle_imp_point_near_2d(r, &q[0], &q[2], pn, d);
    EXPECT_TRUE(rel_near(r8vec_distance(2, pn, &q[0]), r, 1e-14));
    EXPECT_TRUE(rel_near(r8vec_distance(2, pn, &q[2]), d, 1e-12));
    double d2;
    circle_imp_point_dist_2d(r, &q[0], &q[2], d2);
    EXPECT_EQ(d2, d);
  }
}

TEST(GeometryCircles, DistanceToAnExplicitLine) {
  const double pc[] = {0, 0}, a[] = {-5, 3}, b[] = {5, 3}, c[] = {-5, 0.5}, e[] = {5, 0.5}, f[] = {0, 5};
  double d;
  circle_imp_line_exp_dist_2d(1, pc, a, b, d);
  EXPECT_EQ(d, 2.0);
  circle_imp_line_exp_dist_2d(1, pc, c, e, d);  // the line cuts the circle
  EXPECT_EQ(d, 0.0);
  circle_imp_line_exp_dist_2d(1, pc, f, f, d);  // a single point
  EXPECT_EQ(d, 4.0);
}

TEST(GeometryCircles, CircleAndParametricLine) {
  const double o[] = {0, 0};
  int32_t n;
  auto p = testing::canaries(4);
  circle_imp_line_par_int_2d(1, o, 0, 0, 1, 0, n, p.data());
  EXPECT_EQ(n, 2);
  EXPECT_EQ(p, (std::vector<double>{-1, 0, 1, 0}));
  p = testing::canaries(4);
  circle_imp_line_par_int_2d(1, o, 0, 1, 1, 0, n, p.data());  // touching at (0, 1)
  EXPECT_EQ(n, 1);
  EXPECT_EQ(p, (std::vector<double>{0, 1, canary, canary}));
  p = testing::canaries(4);
  circle_imp_line_par_int_2d(1, o, 0, 2, 1, 0, n, p.data());
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p, testing::canaries(4));
  // A zero direction: the single point (X0, Y0), counted when exactly on
  // the circle.
  circle_imp_line_par_int_2d(5, o, 3, 4, 0, 0, n, p.data());
  EXPECT_EQ(n, 1);
  EXPECT_EQ(p, (std::vector<double>{3, 4, canary, canary}));
  p = testing::canaries(4);
  for (double y0 : {0.0, 4.5}) {
    circle_imp_line_par_int_2d(5, o, 3, y0, 0, 0, n, p.data());
    EXPECT_EQ(n, 0);
    EXPECT_EQ(p, testing::canaries(4));
  }

  int32_t seed = 31415;
  int counts[3] = {0, 0, 0};
  for (int k = 0; k < 300; ++k) {
    const double r = r8_uniform(0.5, 5.0, seed);
    const auto pc = testing::random_points(2, 1, -5.0, 5.0, seed);
    const auto base = testing::random_points(2, 1, -8.0, 8.0, seed);
    const auto dir = testing::random_points(2, 1, -3.0, 3.0, seed);
    p = testing::canaries(4);
    circle_imp_line_par_int_2d(r, pc.data(), base[0], base[1], dir[0], dir[1], n, p.data());
    double gap;
    line_par_point_dist_2d(dir[0], dir[1], base[0], base[1], pc.data(), gap);
    EXPECT_EQ(n, gap < r ? 2 : 0);
    ++counts[n];
    for (int j = 0; j < n; ++j) {
      double on_line;
      line_par_point_dist_2d(dir[0], dir[1], base[0], base[1], &p[2 * j], on_line);
      EXPECT_NEAR(on_line, 0.0, 1e-12);
      EXPECT_TRUE(rel_near(r8vec_distance(2, &p[2 * j], pc.data()), r, 1e-12));
    }
  }
  EXPECT_GT(counts[0], 30);
  EXPECT_GT(counts[2], 30);
}

TEST(GeometryCircles, TwoCircles) {
  const double o[] = {0, 0}, c[] = {2, 0};
  int32_t n;
  auto p = testing::canaries(4);
  circles_imp_int_2d(sqrt2, o, sqrt2, c, n, p.data());
  EXPECT_EQ(n, 2);
  EXPECT_TRUE(testing::vec_rel_near(p, {1, 1, 1, -1}, 1e-15));
  p = testing::canaries(4);
  circles_imp_int_2d(1, o, 1, c, n, p.data());
  EXPECT_EQ(n, 1);
  EXPECT_EQ(p, (std::vector<double>{1, 0, 0, 0}));
  p = testing::canaries(4);
  circles_imp_int_2d(1, o, 1, o, n, p.data());
  EXPECT_EQ(n, 3);
  EXPECT_EQ(p, (std::vector<double>{0, 0, 0, 0}));
  p = testing::canaries(4);
  circles_imp_int_2d(1, o, 2, o, n, p.data());
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p, (std::vector<double>{0, 0, 0, 0}));
  p = testing::canaries(4);
  circles_imp_int_2d(0.5, o, 0.5, c, n, p.data());  // apart
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p, (std::vector<double>{0, 0, 0, 0}));
  // Centres within the tolerance count as equal; radii likewise.
  const double nearly[] = {1e-17, 0};
  circles_imp_int_2d(1, o, 1 + 1e-16, nearly, n, p.data());
  EXPECT_EQ(n, 3);

  int32_t seed = 27182;
  int counts[3] = {0, 0, 0};
  for (int k = 0; k < 300; ++k) {
    const double r1 = r8_uniform(0.5, 4.0, seed), r2 = r8_uniform(0.5, 4.0, seed);
    const auto pc = testing::random_points(2, 2, -4.0, 4.0, seed);
    const double d = r8vec_distance(2, &pc[0], &pc[2]);
    if (std::fabs(d - (r1 + r2)) < 1e-6 || std::fabs(d - std::fabs(r1 - r2)) < 1e-6) continue;
    p = testing::canaries(4);
    circles_imp_int_2d(r1, &pc[0], r2, &pc[2], n, p.data());
    EXPECT_EQ(n, std::fabs(r1 - r2) < d && d < r1 + r2 ? 2 : 0);
    ++counts[n];
    for (int j = 0; j < n; ++j) {
      EXPECT_TRUE(rel_near(r8vec_distance(2, &p[2 * j], &pc[0]), r1, 1e-12));
      EXPECT_TRUE(rel_near(r8vec_distance(2, &p[2 * j], &pc[2]), r2, 1e-12));
    }
  }
  EXPECT_GT(counts[0], 30);
  EXPECT_GT(counts[2], 30);
}

TEST(GeometryCircles, CentresThroughTwoPoints) {
  const double p1[] = {0, 0}, p2[] = {2, 0};
  double pc[4];
  circle_ppr2imp_2d(p1, p2, sqrt2, pc);  // the first centre right of P1 -> P2
  EXPECT_TRUE(testing::vec_rel_near({pc[0], pc[1], pc[2], pc[3]}, {1, -1, 1, 1}, 1e-15));
  circle_ppr2imp_2d(p1, p2, 0.5, pc);  // too far apart: the midpoint twice
  EXPECT_EQ((std::vector<double>{pc[0], pc[1], pc[2], pc[3]}), (std::vector<double>{1, 0, 1, 0}));
  circle_ppr2imp_2d(p1, p2, 1, pc);  // a diameter
  EXPECT_EQ((std::vector<double>{pc[0], pc[1], pc[2], pc[3]}), (std::vector<double>{1, 0, 1, 0}));
  const double q[] = {3, -4};
  circle_ppr2imp_2d(q, q, 2, pc);  // no chord: the point twice, never NaN
  EXPECT_EQ((std::vector<double>{pc[0], pc[1], pc[2], pc[3]}), (std::vector<double>{3, -4, 3, -4}));

  int32_t seed = 1414;
  for (int k = 0; k < 200; ++k) {
    const auto p = testing::random_points(2, 2, -5.0, 5.0, seed);
    const double d = r8vec_distance(2, &p[0], &p[2]);
    const double r = d / 2 * r8_uniform(1.0, 3.0, seed);
    circle_ppr2imp_2d(&p[0], &p[2], r, pc);
    for (int j = 0; j < 2; ++j) {
      EXPECT_TRUE(rel_near(r8vec_distance(2, &pc[2 * j], &p[0]), r, 1e-12));
      EXPECT_TRUE(rel_near(r8vec_distance(2, &pc[2 * j], &p[2]), r, 1e-12));
    }
    double side;
    line_exp_point_dist_signed_2d(&p[0], &p[2], &pc[0], side);
    EXPECT_GE(side, 0.0);
  }
}

TEST(GeometryCircles, CentresInSpace) {
  int32_t seed = 1732;
  for (int k = 0; k < 200; ++k) {
    const auto t = testing::random_triangle_3d(seed);
    const double *p1 = &t[0], *p2 = &t[3], *p3 = &t[6];
    const double d = r8vec_distance(3, p1, p2);
    const double r = d / 2 * r8_uniform(1.0, 3.0, seed);
    double pc[6], normal[3], want[3];
    circle_pppr2imp_3d(p1, p2, p3, r, pc, normal);
    plane_exp_normal_3d(p1, p2, p3, want);
    EXPECT_EQ(std::vector<double>(normal, normal + 3), std::vector<double>(want, want + 3));
    for (int j = 0; j < 2; ++j) {
      const double* c = &pc[3 * j];
      EXPECT_TRUE(rel_near(r8vec_distance(3, c, p1), r, 1e-12));
      EXPECT_TRUE(rel_near(r8vec_distance(3, c, p2), r, 1e-12));
      double in_plane[3] = {c[0] - p1[0], c[1] - p1[1], c[2] - p1[2]};
      EXPECT_NEAR(r8vec_dot_product(3, in_plane, normal), 0.0, 1e-11);
    }
    // The first centre lies on P3's side of the chord.
    const double m[] = {(p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2, (p1[2] + p2[2]) / 2};
    EXPECT_GE(r8vec_dot_product_affine(3, m, &pc[0], p3), r8vec_dot_product_affine(3, m, &pc[3], p3));
  }
  // Too far apart: the midpoint twice and the normal left as it was.
  const double a[] = {0, 0, 0}, b[] = {4, 0, 0}, c[] = {0, 1, 0};
  double pc[6];
  auto normal = testing::canaries(3);
  circle_pppr2imp_3d(a, b, c, 1.5, pc, normal.data());
  EXPECT_EQ(std::vector<double>(pc, pc + 6), (std::vector<double>{2, 0, 0, 2, 0, 0}));
  EXPECT_EQ(normal, testing::canaries(3));
  circle_pppr2imp_3d(a, b, c, 2.5, pc, normal.data());  // chord 4, offset 1.5 towards c
  EXPECT_EQ(std::vector<double>(pc, pc + 6), (std::vector<double>{2, 1.5, 0, 2, -1.5, 0}));
  EXPECT_EQ(normal, (std::vector<double>{0, 0, 1}));
  const std::initializer_list<std::string_view> message = {" ", "PLANE_EXP_NORMAL_3D - Fatal error!",
                                                           "  The plane is poorly defined."};
  const double on_line[] = {9, 0, 0};
  expect_fatal([&] { circle_pppr2imp_3d(a, b, on_line, 3, pc, normal.data()); }, message);
  expect_fatal([&] { circle_pppr2imp_3d(a, a, c, 3, pc, normal.data()); }, message);
}

TEST(GeometryCircles, CentresTouchingTwoLines) {
  const double o[] = {0, 0}, x[] = {1, 0}, y[] = {0, 1};
  double pc[8];
  circle_llr2imp_2d(o, x, o, y, 1, pc);
  EXPECT_EQ(std::vector<double>(pc, pc + 8), (std::vector<double>{-1, -1, 1, -1, -1, 1, 1, 1}));
  // Parallel lines: each centre is P1 moved off line 1.
  const double a[] = {0, 3}, b[] = {1, 3};
  circle_llr2imp_2d(o, x, a, b, 2, pc);
  EXPECT_EQ(std::vector<double>(pc, pc + 8), (std::vector<double>{0, -2, 0, -2, 0, 2, 0, 2}));

  int32_t seed = 5772;
  for (int k = 0; k < 200; ++k) {
    const auto p = testing::random_points(2, 4, -5.0, 5.0, seed);
    const double r = r8_uniform(0.1, 3.0, seed);
    circle_llr2imp_2d(&p[0], &p[2], &p[4], &p[6], r, pc);
    for (int j = 0; j < 4; ++j) {
      double d1, d2;
      line_exp_point_dist_2d(&p[0], &p[2], &pc[2 * j], d1);
      line_exp_point_dist_2d(&p[4], &p[6], &pc[2 * j], d2);
      EXPECT_TRUE(rel_near(d1, r, 1e-9));
      EXPECT_TRUE(rel_near(d2, r, 1e-9));
    }
    // The four centres are distinct: one per pair of sides.
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) EXPECT_GT(r8vec_distance(2, &pc[2 * i], &pc[2 * j]), 1e-6);
  }
}

TEST(GeometryCircles, TripleAngles) {
  const struct {
    double r1, r2, r3, a1, a2, a3;
  } rows[] = {
      {1, 1, 1, pi / 3, pi / 3, pi / 3},
      {1, 2, 3, pi / 2, std::acos(0.6), std::acos(0.8)},  // sides 3, 4, 5
      {0, 0, 1, pi, pi, 0},                               // zero sides: the rules of a flat triangle
      {0, 0, 0, 2 * pi / 3, 2 * pi / 3, 2 * pi / 3},
  };
  for (const auto& r : rows) {
    double a1, a2, a3;
    circle_triple_angles_2d(r.r1, r.r2, r.r3, a1, a2, a3);
    EXPECT_TRUE(rel_near(a1, r.a1, 1e-15)) << r.r1 << " " << r.r2 << " " << r.r3;
    EXPECT_TRUE(rel_near(a2, r.a2, 1e-15)) << r.r1 << " " << r.r2 << " " << r.r3;
    EXPECT_TRUE(rel_near(a3, r.a3, 1e-15)) << r.r1 << " " << r.r2 << " " << r.r3;
  }
  int32_t seed = 3;
  for (int k = 0; k < 200; ++k) {
    const auto r = testing::random_points(3, 1, 0.0, 10.0, seed);
    double a1, a2, a3;
    circle_triple_angles_2d(r[0], r[1], r[2], a1, a2, a3);
    EXPECT_TRUE(rel_near(a1 + a2 + a3, pi, 1e-14));
    // The largest angle faces the largest side: side c = R2 + R3 faces ANGLE1.
    EXPECT_EQ(a1 > a3, r[1] + r[2] > r[1] + r[0]);
  }
}

}  // namespace
}  // namespace orvel::geometry
