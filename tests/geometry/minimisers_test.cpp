#include "geometry/minimisers.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canary;
using testing::expect_fatal;
using testing::rel_near;

struct vertex_case {
  double x1, y1, x2, y2, x3, y3;
  int32_t ierror;
  double x, y;  // canary: left as the caller had it
};

const vertex_case vertex_cases[] = {
    {0, 1, 1, 0, 2, 1, 0, 1, 0},
    {0, 7, 1, 4, 5, 12, 0, 2, 3},             // (x - 2)^2 + 3
    {5, 12, 0, 7, 1, 4, 0, 2, 3},             // the same, in another order
    {-1, -2, 1, -2, 3, -10, 0, 0, -1},        // -(x^2) - 1: a maximum
    {0, 5, 1, 5, 2, 5, 0, 0, 5},              // horizontal: the first point
    {0, 0, 1, 1, 2, 2, 2, canary, canary},    // a sloping line
    {0, 0, 1, 1, 0, 2, 1, canary, canary},    // X1 = X3
    {4, 0, 4, 1, 0, 2, 1, canary, canary},    // X1 = X2
    {4, 0, 1, 1, 1, 2, 1, canary, canary},    // X2 = X3
};

TEST(GeometryMinimisers, ParabolaVertexHandCases) {
  for (const auto& r : vertex_cases) {
    double x = canary, y = canary;
    int32_t ierror = testing::icanary;
    parabola_ex(r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, x, y, ierror);
    EXPECT_EQ(ierror, r.ierror) << r.x1 << " " << r.x2 << " " << r.x3;
    EXPECT_TRUE(rel_near(x, r.x, 1e-15)) << r.x1 << " " << r.x2 << " " << r.x3;
    EXPECT_TRUE(rel_near(y, r.y, 1e-15)) << r.x1 << " " << r.x2 << " " << r.x3;
  }
}

TEST(GeometryMinimisers, ParabolaCoefficients) {
  for (const auto& r : vertex_cases) {
    double x = canary, y = canary, a = canary, b = canary, c = canary;
    int32_t ierror = testing::icanary;
    parabola_ex2(r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, x, y, a, b, c, ierror);
    EXPECT_EQ(ierror, r.ierror);
    EXPECT_TRUE(rel_near(x, r.x, 1e-14)) << r.x1 << " " << r.x2 << " " << r.x3;
    EXPECT_TRUE(rel_near(y, r.y, 1e-14)) << r.x1 << " " << r.x2 << " " << r.x3;
    // Equal X or equal Y: the coefficients are not written.
    if (r.ierror == 1 || (r.y1 == r.y2 && r.y2 == r.y3)) {
      EXPECT_EQ(a, canary);
      EXPECT_EQ(b, canary);
      EXPECT_EQ(c, canary);
    }
  }
  double x = canary, y = canary, a, b, c;
  int32_t ierror;
  parabola_ex2(0, 1, 1, 0, 2, 1, x, y, a, b, c, ierror);
  EXPECT_TRUE(rel_near(a, 1, 1e-15));
  EXPECT_TRUE(rel_near(b, -2, 1e-15));
  EXPECT_TRUE(rel_near(c, 1, 1e-15));
  // A sloping line: A = 0 with the line's B and C, the vertex unwritten.
  x = y = canary;
  parabola_ex2(0, 1, 1, 3, 2, 5, x, y, a, b, c, ierror);
  EXPECT_EQ(ierror, 2);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 2.0);
  EXPECT_EQ(c, 1.0);
  EXPECT_EQ(x, canary);
  EXPECT_EQ(y, canary);
}

// Random parabolas a (x - h)^2 + k: both routines find (h, k).
TEST(GeometryMinimisers, BothVertexRoutinesAgreeOnRandomParabolas) {
  int32_t seed = 1234;
  for (int k = 0; k < 300; ++k) {
    const double a = r8_uniform(-3.0, 3.0, seed), h = r8_uniform(-5.0, 5.0, seed), v = r8_uniform(-5.0, 5.0, seed);
    double xs[3];
    for (double& x : xs) x = r8_uniform(-6.0, 6.0, seed);
    const auto f = [&](double x) { return a * (x - h) * (x - h) + v; };
    double x1, y1, x2, y2, pa, pb, pc;
    int32_t e1, e2;
    parabola_ex(xs[0], f(xs[0]), xs[1], f(xs[1]), xs[2], f(xs[2]), x1, y1, e1);
    parabola_ex2(xs[0], f(xs[0]), xs[1], f(xs[1]), xs[2], f(xs[2]), x2, y2, pa, pb, pc, e2);
    ASSERT_EQ(e1, 0);
    ASSERT_EQ(e2, 0);
    EXPECT_NEAR(x1, h, 1e-9);
    EXPECT_NEAR(y1, v, 1e-9);
    EXPECT_NEAR(x2, x1, 1e-9);
    EXPECT_NEAR(y2, y1, 1e-9);
    EXPECT_TRUE(rel_near(pa, a, 1e-9));
  }
}

TEST(GeometryMinimisers, MinquadHandCases) {
  const struct {
    double x1, y1, x2, y2, x3, y3, xmin, ymin;
  } rows[] = {
      {0, 1, 1, 0, 2, 1, 1, 0},    // the vertex
      {0, 1, 1, 2, 2, 1, 0, 1},    // a maximum: the best sample, the earlier of a tie
      {0, 9, 1, 4, 2, 1, 2, 1},    // vertex at 3, beyond the samples
      {0, 7, 1, 4, 5, 12, 2, 3},   // (x - 2)^2 + 3
      {2, 3, 0, 3, 1, 3, 2, 3},    // all equal: (X1, Y1)
      {0, 0, 1, 1, 2, 2, 0, 0},    // a sloping line: the best sample
      {0, 1, 2, 1, 3, 4, 1, 0},    // vertex (1, 0) between the samples
  };
  for (const auto& r : rows) {
    double xmin = canary, ymin = canary;
    minquad(r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, xmin, ymin);
    EXPECT_TRUE(rel_near(xmin, r.xmin, 1e-15)) << r.x1 << " " << r.y1 << " " << r.y2 << " " << r.y3;
    EXPECT_TRUE(rel_near(ymin, r.ymin, 1e-15)) << r.x1 << " " << r.y1 << " " << r.y2 << " " << r.y3;
  }
  double xmin, ymin;
  expect_fatal([&] { minquad(1, 0, 1, 2, 3, 4, xmin, ymin); },
               {" ", "MINQUAD - Fatal error!", "  X_part values are equal."});
}

TEST(GeometryMinimisers, MinquadIsNeverAboveItsSamples) {
  int32_t seed = 4321;
  int vertices = 0;
  for (int k = 0; k < 500; ++k) {
    const auto p = testing::random_points(2, 3, -5.0, 5.0, seed);
    double xmin, ymin;
    minquad(p[0], p[1], p[2], p[3], p[4], p[5], xmin, ymin);
    EXPECT_LE(ymin, std::min({p[1], p[3], p[5]}));
    EXPECT_GE(xmin, std::min({p[0], p[2], p[4]}));
    EXPECT_LE(xmin, std::max({p[0], p[2], p[4]}));
    if (xmin != p[0] && xmin != p[2] && xmin != p[4]) ++vertices;
  }
  EXPECT_GT(vertices, 50);
}

TEST(GeometryMinimisers, MinabsSortsTheCallersPoints) {
  double x1 = 2, y1 = 1, x2 = 0, y2 = 1, x3 = 1, y3 = 0, xmin, ymin;
  minabs(x1, y1, x2, y2, x3, y3, xmin, ymin);
  EXPECT_EQ(x1, 0.0);
  EXPECT_EQ(y1, 1.0);
  EXPECT_EQ(x2, 1.0);
  EXPECT_EQ(y2, 0.0);
  EXPECT_EQ(x3, 2.0);
  EXPECT_EQ(y3, 1.0);
  EXPECT_EQ(xmin, 1.0);
  EXPECT_EQ(ymin, 0.0);

  const struct {
    double x1, y1, x2, y2, x3, y3, xmin, ymin;
  } rows[] = {
      {0, 0, 1, 1, 2, 2, 0, 0},          // rising: the left end
      {0, 3, 1, 2, 2, 1, 2, 1},          // falling straight: the right end
      {0, 3, 1, 3, 2, 3, 2, 3},          // flat: a tie goes to the right end
      {0, 2, 1, 1, 2, 2, 1, 1},          // slopes -1 and +1
      {0, 4, 1, 1, 3, 3, 5.0 / 3, -1},   // slopes -3 and +1: both sides of slope 3
      {3, 3, 0, 4, 1, 1, 5.0 / 3, -1},   // the same points unsorted
  };
  for (const auto& r : rows) {
    double a1 = r.x1, b1 = r.y1, a2 = r.x2, b2 = r.y2, a3 = r.x3, b3 = r.y3;
    minabs(a1, b1, a2, b2, a3, b3, xmin, ymin);
    EXPECT_TRUE(a1 < a2 && a2 < a3);
    EXPECT_TRUE(rel_near(xmin, r.xmin, 1e-15)) << r.x1 << " " << r.y1;
    EXPECT_TRUE(rel_near(ymin, r.ymin, 1e-15)) << r.x1 << " " << r.y1;
  }
  expect_fatal([&] { minabs(x1, y1, x2, y2, x1, y3, xmin, ymin); },
               {" ", "MINABS - Fatal error!", "  X_part values are equal."});
}

}  // namespace
}  // namespace orvel::geometry
