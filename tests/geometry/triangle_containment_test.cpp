#include "geometry/triangle_containment.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

const double big = 1.7976931348623157e308;
const double unit[] = {0, 0, 1, 0, 0, 1};
const double unit_cw[] = {0, 0, 0, 1, 1, 0};
const double unit_3d[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};

struct containment {
  bool m1, m2, m3;
};

containment contains(const double* t, const double* p) {
  containment c{};
  triangle_contains_point_2d_1(t, p, c.m1);
  triangle_contains_point_2d_2(t, p, c.m2);
  triangle_contains_point_2d_3(t, p, c.m3);
  return c;
}

TEST(GeometryTriangleContainment, ThreePointTestsByHand) {
  const struct {
    const double* t;
    double p[2];
    containment want;
  } rows[] = {
      {unit, {0.5, 0.0}, {true, true, true}},     // on an edge
      {unit, {0.0, 1.0}, {true, true, true}},     // a vertex
      {unit, {0.25, 0.25}, {true, true, true}},   //
      {unit, {1.0, 1.0}, {false, false, false}},  //
      {unit, {-0.1, 0.5}, {false, false, false}},
      // Clockwise: the edge test that assumes counterclockwise order sees
      // nothing inside.
      {unit_cw, {0.2, 0.2}, {true, false, true}},
      {unit_cw, {0.5, 0.0}, {true, false, true}},
      {unit_cw, {1.0, 1.0}, {false, false, false}},
  };
  for (const auto& r : rows) {
    const containment c = contains(r.t, r.p);
    EXPECT_EQ(c.m1, r.want.m1) << r.p[0] << " " << r.p[1];
    EXPECT_EQ(c.m2, r.want.m2) << r.p[0] << " " << r.p[1];
    EXPECT_EQ(c.m3, r.want.m3) << r.p[0] << " " << r.p[1];
  }
  const double flat[] = {0, 0, 1, 1, 2, 2};
  const double p[] = {0.5, 0.5};
  bool inside;
  expect_fatal([&] { triangle_contains_point_2d_1(flat, p, inside); },
               {" ", "TRIANGLE_BARYCENTRIC_2D - Fatal error!", "  The linear system is singular.",
                "  The input data does not form a proper triangle."});
}

TEST(GeometryTriangleContainment, DistancesByHand) {
  const struct {
    double p[2];
    double dist, signed_dist;
  } rows[] = {
      {{0.25, 0.25}, 0.25, -0.25},
      {{2.0, 0.0}, 1.0, 1.0},
      {{0.5, 0.0}, 0.0, 0.0},
      {{0.1, 0.2}, 0.1, -0.1},
      {{-3.0, -4.0}, 5.0, 5.0},
  };
  for (const auto& r : rows) {
    double d, sd;
    triangle_point_dist_2d(unit, r.p, d);
    triangle_point_dist_signed_2d(unit, r.p, sd);
    EXPECT_TRUE(rel_near(d, r.dist, 1e-15)) << r.p[0] << " " << r.p[1];
    EXPECT_TRUE(rel_near(sd, r.signed_dist, 1e-15)) << r.p[0] << " " << r.p[1];
  }
  // Clockwise: the unsigned distance, also inside.
  const double in[] = {0.25, 0.25};
  double sd;
  triangle_point_dist_signed_2d(unit_cw, in, sd);
  EXPECT_EQ(sd, 0.25);

  double pn[2], d;
  const double far[] = {2, 2};
  triangle_point_near_2d(unit, far, pn, d);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], d}, {0.5, 0.5, std::sqrt(4.5)}, 1e-15));
  // (0.2, 0.2) is 0.2 from edges 1 and 3: edge 1 wins the tie.
  const double tie[] = {0.2, 0.2};
  triangle_point_near_2d(unit, tie, pn, d);
  EXPECT_EQ(pn[0], 0.2);
  EXPECT_EQ(pn[1], 0.0);

  // In space the distance is to the nearest edge, not to the face.
  const double above[] = {0.2, 0.2, 1.0};
  triangle_point_dist_3d(unit_3d, above, d);
  EXPECT_TRUE(rel_near(d, std::sqrt(1.04), 1e-15));
}

// On random counterclockwise triangles the three point tests agree with each
// other and with the sign of the signed distance, whose size is the distance
// to the boundary; the nearest point lies on the boundary at that distance.
// Turned clockwise, the first and third tests keep their answers and the
// second sees nothing.  Lifted into space by a rotation and a shift, the
// distance to the nearest edge stays the same for points of the plane.
TEST(GeometryTriangleContainment, RandomTrianglesAgree) {
  int32_t seed = 3702;
  int inside_count = 0;
  for (int k = 0; k < 3000; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    auto p = testing::random_points(2, 1, -6.0, 6.0, seed);
    p[0] += (t[0] + t[2] + t[4]) / 3.0;
    p[1] += (t[1] + t[3] + t[5]) / 3.0;
    double d, sd, pn[2], dn;
    triangle_point_dist_2d(t.data(), p.data(), d);
    triangle_point_dist_signed_2d(t.data(), p.data(), sd);
    triangle_point_near_2d(t.data(), p.data(), pn, dn);
    EXPECT_TRUE(rel_near(std::fabs(sd), d, 1e-12));
    EXPECT_EQ(dn, d);
    EXPECT_TRUE(rel_near(r8vec_distance(2, pn, p.data()), d, 1e-12));
    double on;
    triangle_point_dist_2d(t.data(), pn, on);
    EXPECT_LT(on, 1e-12);

    const std::vector<double> cw = {t[0], t[1], t[4], t[5], t[2], t[3]};
    const containment c = contains(t.data(), p.data());
    const containment c_cw = contains(cw.data(), p.data());
    EXPECT_FALSE(c_cw.m2);
    if (d < 1e-9) continue;
    const bool want = sd < 0.0;
    inside_count += want;
    EXPECT_EQ(c.m1, want);
    EXPECT_EQ(c.m2, want);
    EXPECT_EQ(c.m3, want);
    EXPECT_EQ(c_cw.m1, want);
    EXPECT_EQ(c_cw.m3, want);

    const auto r = testing::random_rotation(seed);
    const auto shift = testing::random_points(3, 1, -5.0, 5.0, seed);
    const auto t3 = testing::place_3d({t[0], t[1], 0, t[2], t[3], 0, t[4], t[5], 0}, r, shift);
    const auto p3 = testing::place_3d({p[0], p[1], 0}, r, shift);
    double d3;
    triangle_point_dist_3d(t3.data(), p3.data(), d3);
    EXPECT_TRUE(rel_near(d3, d, 1e-11));
  }
  EXPECT_GT(inside_count, 200);
  EXPECT_LT(inside_count, 2800);
}

TEST(GeometryTriangleContainment, ImplicitLineCrossingsByHand) {
  // x = y: the vertex (0, 0) comes from edges 1 and 3.
  auto pint = canaries(6);
  int32_t int_num;
  triangle_line_imp_int_2d(unit, 1, -1, 0, int_num, pint.data());
  EXPECT_EQ(int_num, 3);
  EXPECT_TRUE(vec_rel_near(pint, {0, 0, 0.5, 0.5, 0, 0}, 1e-15));
  // The line of edge 1 gives that edge's ends from edges 2 and 3.
  pint = canaries(6);
  triangle_line_imp_int_2d(unit, 0, 1, 0, int_num, pint.data());
  EXPECT_EQ(int_num, 2);
  EXPECT_TRUE(vec_rel_near({pint[0], pint[1], pint[2], pint[3]}, {1, 0, 0, 0}, 1e-15));
  EXPECT_EQ(pint[4], testing::canary);
  // A line that misses.
  triangle_line_imp_int_2d(unit, 1, 1, -3, int_num, pint.data());
  EXPECT_EQ(int_num, 0);
  // An edge of length 0 warns and adds nothing; a degenerate line meets
  // nothing.
  const double t[] = {0, 0, 0, 0, 1, 1};
  const std::string out = stdout_of([&] { triangle_line_imp_int_2d(t, 1, 0, -0.5, int_num, pint.data()); });
  EXPECT_EQ(out, lines({" ", "LINE_EXP2IMP_2D - Warning!", "  The line is degenerate."}));
  EXPECT_EQ(int_num, 2);
  EXPECT_TRUE(vec_rel_near({pint[0], pint[1], pint[2], pint[3]}, {0.5, 0.5, 0.5, 0.5}, 1e-15));
  triangle_line_imp_int_2d(unit, 0, 0, 1, int_num, pint.data());
  EXPECT_EQ(int_num, 0);
}

// A random line through a random triangle's interior meets two edges at
// points of the line and the boundary; one with all vertices on one side
// meets none.
TEST(GeometryTriangleContainment, ImplicitLineCrossingsOfRandomLines) {
  int32_t seed = 8120;
  for (int k = 0; k < 500; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    const auto dir = testing::random_direction(2, seed);
    const auto q = testing::random_points(2, 1, -12.0, 12.0, seed);
    const double a = dir[0], b = dir[1], c = -(a * q[0] + b * q[1]);
    int sides = 0;
    double smallest = big;
    for (int j = 0; j < 3; ++j) {
      const double s = a * t[2 * j] + b * t[2 * j + 1] + c;
      sides += s > 0.0;
      smallest = std::fmin(smallest, std::fabs(s));
    }
    if (smallest < 1e-9) continue;
    double pint[6];
    int32_t int_num;
    triangle_line_imp_int_2d(t.data(), a, b, c, int_num, pint);
    EXPECT_EQ(int_num, sides == 0 || sides == 3 ? 0 : 2);
    for (int32_t i = 0; i < int_num; ++i) {
      double d;
      triangle_point_dist_2d(t.data(), pint + 2 * i, d);
      EXPECT_LT(d, 1e-11);
      EXPECT_LT(std::fabs(a * pint[2 * i] + b * pint[2 * i + 1] + c), 1e-11);
    }
  }
}

TEST(GeometryTriangleContainment, DegeneracyIsEqualVertices) {
  const struct {
    int32_t dim;
    std::vector<double> t;
    bool want;
  } rows[] = {
      {2, {0, 0, 1, 1, 2, 2}, false},  // distinct collinear
      {2, {0, 0, 1, 0, 0, 1}, false},  {2, {1, 2, 1, 2, 0, 0}, true},
      {2, {0, 0, 1, 2, 1, 2}, true},   {2, {3, 4, 0, 1, 3, 4}, true},
      {4, {1, 2, 3, 4, 1, 2, 3, 5, 0, 0, 0, 0}, false},
      {4, {1, 2, 3, 4, 0, 0, 0, 0, 1, 2, 3, 4}, true},
      {0, {}, true},
  };
  for (const auto& r : rows) EXPECT_EQ(triangle_is_degenerate_nd(r.dim, r.t.data()), r.want) << r.dim;
}

TEST(GeometryTriangleContainment, ExplicitLineThroughTriangleByHand) {
  bool inside;
  double pint[3];
  const double up1[] = {0.2, 0.2, -1}, up2[] = {0.2, 0.2, 1};
  triangle_contains_line_exp_3d(unit_3d, up1, up2, inside, pint);
  EXPECT_TRUE(inside);
  EXPECT_TRUE(vec_rel_near({pint[0], pint[1], pint[2]}, {0.2, 0.2, 0}, 1e-15));
  // Through the edge: inside.  Beside it: outside.
  const double e1[] = {0.5, 0.0, -1}, e2[] = {0.5, 0.0, 3};
  triangle_contains_line_exp_3d(unit_3d, e1, e2, inside, pint);
  EXPECT_TRUE(inside);
  const double o1[] = {0.6, 0.6, -1}, o2[] = {0.6, 0.6, 1};
  triangle_contains_line_exp_3d(unit_3d, o1, o2, inside, pint);
  EXPECT_FALSE(inside);
  EXPECT_TRUE(vec_rel_near({pint[0], pint[1], pint[2]}, {0.6, 0.6, 0}, 1e-15));
  const double h1[] = {0, 0, 1}, h2[] = {1, 0, 1};
  triangle_contains_line_exp_3d(unit_3d, h1, h2, inside, pint);
  EXPECT_FALSE(inside);
  EXPECT_EQ(pint[0], big);
  EXPECT_EQ(pint[1], big);
  EXPECT_EQ(pint[2], big);
  const double i1[] = {0.1, 0.1, 0}, i2[] = {1, 0.3, 0};
  triangle_contains_line_exp_3d(unit_3d, i1, i2, inside, pint);
  EXPECT_FALSE(inside);
  EXPECT_TRUE(vec_rel_near({pint[0], pint[1], pint[2]}, {0.1, 0.1, 0}, 0));
  // The clockwise triangle gives the same answers.
  const double cw[] = {0, 0, 0, 0, 1, 0, 1, 0, 0};
  triangle_contains_line_exp_3d(cw, up1, up2, inside, pint);
  EXPECT_TRUE(inside);
  triangle_contains_line_exp_3d(cw, o1, o2, inside, pint);
  EXPECT_FALSE(inside);

  const std::string_view head = "TRIANGLE_CONTAINS_LINE_EXP_3D - Fatal error!";
  expect_fatal([&] { triangle_contains_line_exp_3d(unit_3d, up1, up1, inside, pint); },
               {" ", head, "  The explicit line is degenerate."});
  const double equal[] = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  expect_fatal([&] { triangle_contains_line_exp_3d(equal, up1, up2, inside, pint); },
               {" ", head, "  The triangle is degenerate."});
  // Three distinct collinear vertices span no plane either.
  const double collinear[] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  expect_fatal([&] { triangle_contains_line_exp_3d(collinear, up1, up2, inside, pint); },
               {" ", head, "  The triangle is degenerate."});
}

TEST(GeometryTriangleContainment, ParametricLineThroughTriangleByHand) {
  const struct {
    double p0[3], pd[3];
    bool inside;
    double p[3];
  } rows[] = {
      {{0.2, 0.2, 5}, {0, 0, 1}, true, {0.2, 0.2, 0}},
      {{0, 0, 1}, {1, 0, 0}, false, {0, 0, 0}},       // parallel, off the plane
      {{0, 0, 0}, {1, 0, 0}, false, {0, 0, 0}},       // in the plane: P0
      {{0.3, 0.4, 0}, {1, 2, 0}, false, {0.3, 0.4, 0}},
      {{7, 7, 2}, {1, 0, 1e-6}, false, {0, 0, 0}},    // parallel within 1e-5
      {{1, 0, 7}, {0, 0, -2}, true, {1, 0, 0}},       // through a vertex
      // Just outside the hypotenuse the angles still add up to more than
      // 1.5 pi: reported inside.
      {{0.55, 0.55, 0}, {0, 0, 1}, true, {0.55, 0.55, 0}},
      {{2, 2, 0}, {0, 0, 1}, false, {2, 2, 0}},
  };
  for (const auto& r : rows) {
    bool inside = !r.inside;
    double p[3];
    triangle_contains_line_par_3d(unit_3d, r.p0, r.pd, inside, p);
    EXPECT_EQ(inside, r.inside) << r.p0[0] << " " << r.p0[1] << " " << r.p0[2];
    EXPECT_TRUE(vec_rel_near({p[0], p[1], p[2]}, {r.p[0], r.p[1], r.p[2]}, 1e-15));
  }
  bool inside;
  double p[3];
  const double p0[] = {0, 0, 1}, pd[] = {0, 0, 1}, zero[] = {0, 0, 0};
  const double flat[] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  expect_fatal([&] { triangle_contains_line_par_3d(flat, p0, pd, inside, p); },
               {" ", "TRIANGLE_LINE_PAR_INT_3D - Fatal error!", "  The plane normal vector is null."});
  expect_fatal([&] { triangle_contains_line_par_3d(unit_3d, p0, zero, inside, p); },
               {" ", "TRIANGLE_LINE_PAR_INT_3D - Fatal error!", "  The line direction vector is null."});
}

// Random triangles in space (plane triangles turned and moved) and lines
// through random points of their plane in random directions: both line
// tests find that point, and the explicit one agrees with the plane test;
// the parametric one accepts every point inside.
TEST(GeometryTriangleContainment, LinesThroughRandomTrianglesInSpace) {
  int32_t seed = 515;
  for (int k = 0; k < 1000; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    auto q = testing::random_points(2, 1, -5.0, 5.0, seed);
    q[0] += (t[0] + t[2] + t[4]) / 3.0;
    q[1] += (t[1] + t[3] + t[5]) / 3.0;
    const auto r = testing::random_rotation(seed);
    const auto shift = testing::random_points(3, 1, -5.0, 5.0, seed);
    const auto t3 = testing::place_3d({t[0], t[1], 0, t[2], t[3], 0, t[4], t[5], 0}, r, shift);
    const auto q3 = testing::place_3d({q[0], q[1], 0}, r, shift);
    auto dir = testing::random_direction(3, seed);
    const double lift = dir[0] * r[6] + dir[1] * r[7] + dir[2] * r[8];  // . normal
    if (std::fabs(lift) < 0.1) continue;
    const double s1 = r8_uniform(-3.0, 3.0, seed), s2 = s1 + r8_uniform(0.5, 3.0, seed);
    double p1[3], p2[3];
    for (int i = 0; i < 3; ++i) {
      p1[i] = q3[i] + s1 * dir[i];
      p2[i] = q3[i] + s2 * dir[i];
    }
    bool in_exp, in_par, in_2d;
    double pint[3], p[3];
    triangle_contains_line_exp_3d(t3.data(), p1, p2, in_exp, pint);
    triangle_contains_line_par_3d(t3.data(), p1, dir.data(), in_par, p);
    EXPECT_LT(r8vec_distance(3, pint, q3.data()), 1e-10);
    EXPECT_LT(r8vec_distance(3, p, q3.data()), 1e-10);
    double d;
    triangle_point_dist_2d(t.data(), q.data(), d);
    if (d < 1e-8) continue;
    triangle_contains_point_2d_3(t.data(), q.data(), in_2d);
    EXPECT_EQ(in_exp, in_2d);
    if (in_2d) {
      EXPECT_TRUE(in_par);
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
