#include "geometry/triangle_centres.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/circles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

const double sqrt2 = 1.4142135623730951;

TEST(GeometryTriangleCentres, RightIsoscelesByHand) {
  const double t[] = {0, 0, 2, 0, 0, 2};
  double pc[2], pc2[2], pcn[2], r, r2, rr;
  double cc[2], cc2[2];
  triangle_circumcenter_2d(t, pc);
  triangle_circumcenter_2d_2(t, pc2);
  triangle_circumcenter(2, t, pcn);
  triangle_circumcircle_2d(t, r, cc);
  triangle_circumcircle_2d_2(t, r2, cc2);
  triangle_circumradius_2d(t, rr);
  for (const double* c : {pc, pc2, pcn, cc, cc2}) {
    EXPECT_EQ(c[0], 1.0);
    EXPECT_EQ(c[1], 1.0);
  }
  EXPECT_TRUE(rel_near(r, sqrt2, 1e-15));
  EXPECT_TRUE(rel_near(r2, sqrt2, 1e-15));
  EXPECT_TRUE(rel_near(rr, sqrt2, 1e-15));
  // The same triangle in the plane z = 5.
  const double t3[] = {0, 0, 5, 2, 0, 5, 0, 2, 5};
  double p3[3];
  triangle_circumcenter(3, t3, p3);
  EXPECT_TRUE(vec_rel_near({p3[0], p3[1], p3[2]}, {1, 1, 5}, 1e-15));
  // DIM_NUM < 1 writes nothing.
  auto none = canaries(1);
  triangle_circumcenter(0, t3, none.data());
  EXPECT_EQ(none[0], testing::canary);
}

TEST(GeometryTriangleCentres, RightAndEquilateralByHand) {
  const double right[] = {0, 0, 3, 0, 0, 4};
  double pc[2], r, ri;
  triangle_incircle_2d(right, r, pc);
  triangle_inradius_2d(right, ri);
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1], r, ri}, {1, 1, 1, 1}, 1e-15));
  triangle_incenter_2d(right, pc);
  EXPECT_TRUE(vec_rel_near({pc[0], pc[1]}, {1, 1}, 1e-15));
  triangle_orthocenter_2d(right, pc);
  EXPECT_NEAR(pc[0], 0.0, 1e-15);
  EXPECT_NEAR(pc[1], 0.0, 1e-15);

  const double s = std::sqrt(3.0);
  const double eq[] = {0, 0, 1, 0, 0.5, s / 2};
  double inr, outr, ic[2], oc[2], hc[2], g[2];
  triangle_inradius_2d(eq, inr);
  triangle_circumradius_2d(eq, outr);
  triangle_incenter_2d(eq, ic);
  triangle_circumcenter_2d(eq, oc);
  triangle_orthocenter_2d(eq, hc);
  triangle_centroid_2d(eq, g);
  EXPECT_TRUE(rel_near(inr, s / 6, 1e-15));
  EXPECT_TRUE(rel_near(outr, s / 3, 1e-15));
  for (const double* c : {ic, oc, hc}) EXPECT_TRUE(vec_rel_near({c[0], c[1]}, {g[0], g[1]}, 1e-15));
}

// The circumcentre routines agree with the circle through the three points;
// the radius is that circle's; the orthocentre, centroid and circumcentre
// lie on the Euler line with H = 3 G - 2 O; the inradius is 2 area /
// perimeter and the incentre lies at that distance from each edge line.
TEST(GeometryTriangleCentres, IdentitiesOnRandomTriangles) {
  int32_t seed = 136;
  for (int k = 0; k < 300; ++k) {
    const auto t = testing::random_triangle_2d(seed);
    double r0, c0[2];
    circle_exp2imp_2d(&t[0], &t[2], &t[4], r0, c0);
    double c1[2], c2[2], c3[2], c4[2], c5[2], r4, r5, r6;
    triangle_circumcenter_2d(t.data(), c1);
    triangle_circumcenter_2d_2(t.data(), c2);
    triangle_circumcenter(2, t.data(), c3);
    triangle_circumcircle_2d(t.data(), r4, c4);
    triangle_circumcircle_2d_2(t.data(), r5, c5);
    triangle_circumradius_2d(t.data(), r6);
    const double scale = 10.0 + r0;
    for (const double* c : {c1, c2, c3, c4, c5}) {
      EXPECT_NEAR(c[0], c0[0], 1e-12 * scale);
      EXPECT_NEAR(c[1], c0[1], 1e-12 * scale);
    }
    for (double r : {r4, r5, r6}) EXPECT_TRUE(rel_near(r, r0, 1e-12));

    double h[2], g[2];
    triangle_orthocenter_2d(t.data(), h);
    triangle_centroid_2d(t.data(), g);
    EXPECT_NEAR(h[0], 3 * g[0] - 2 * c0[0], 1e-11 * scale);
    EXPECT_NEAR(h[1], 3 * g[1] - 2 * c0[1], 1e-11 * scale);

    double area, e[3], ri, rc, ic[2], ic2[2];
    triangle_area_2d(t.data(), area);
    triangle_edge_length_2d(t.data(), e);
    triangle_inradius_2d(t.data(), ri);
    triangle_incircle_2d(t.data(), rc, ic);
    triangle_incenter_2d(t.data(), ic2);
    EXPECT_TRUE(rel_near(ri, 2 * area / (e[0] + e[1] + e[2]), 1e-12));
    EXPECT_EQ(rc, ri);
    EXPECT_EQ(ic[0], ic2[0]);
    EXPECT_EQ(ic[1], ic2[1]);
    for (int j = 0; j < 3; ++j) {
      double d;
      line_exp_point_dist_signed_2d(&t[2 * j], &t[2 * ((j + 1) % 3)], ic, d);
      // Counterclockwise: the inside lies left of every edge, at negative
      // signed distance.
      EXPECT_TRUE(rel_near(-d, ri, 1e-11));
    }
  }
}

TEST(GeometryTriangleCentres, DegenerateTriangles) {
  const double huge = 1.0e30;
  const double collinear[] = {0, 0, 1, 0, 2, 0};
  double r = 7, pc[2] = {7, 7};
  triangle_circumradius_2d(collinear, r);
  EXPECT_EQ(r, -1.0);
  triangle_circumcircle_2d(collinear, r, pc);
  EXPECT_EQ(r, -1.0);
  EXPECT_EQ(pc[0], 0.0);
  EXPECT_EQ(pc[1], 0.0);
  pc[0] = pc[1] = 7;
  triangle_circumcenter_2d_2(collinear, pc);
  EXPECT_EQ(pc[0], 0.0);
  EXPECT_EQ(pc[1], 0.0);
  r = 7, pc[0] = pc[1] = 7;
  triangle_circumcircle_2d_2(collinear, r, pc);
  EXPECT_EQ(r, -1.0);
  EXPECT_EQ(pc[0], 0.0);
  EXPECT_EQ(pc[1], 0.0);
  // The closed formulas do not test the determinant.
  triangle_circumcenter_2d(collinear, pc);
  EXPECT_FALSE(std::isfinite(pc[0]) && std::isfinite(pc[1]));
  triangle_circumcenter(2, collinear, pc);
  EXPECT_FALSE(std::isfinite(pc[0]) && std::isfinite(pc[1]));
  // The collinear triangle has inradius 0 and its incentre on the line.
  triangle_incircle_2d(collinear, r, pc);
  EXPECT_EQ(r, 0.0);
  EXPECT_EQ(pc[1], 0.0);

  const double same[] = {3, -2, 3, -2, 3, -2};
  triangle_incircle_2d(same, r, pc);
  EXPECT_EQ(r, 0.0);
  EXPECT_EQ(pc[0], 3.0);
  EXPECT_EQ(pc[1], -2.0);
  triangle_incenter_2d(same, pc);
  EXPECT_EQ(pc[0], 3.0);
  r = 7;
  triangle_inradius_2d(same, r);
  EXPECT_EQ(r, 0.0);

  const struct {
    const char* what;
    double t[6];
  } no_orthocentre[] = {
      {"all equal", {3, -2, 3, -2, 3, -2}},
      {"P2 = P3", {0, 0, 4, 1, 4, 1}},
      {"P3 = P1", {0, 0, 4, 1, 0, 0}},
      {"collinear: parallel altitudes", {0, 0, 1, 0, 3, 0}},
  };
  for (const auto& c : no_orthocentre) {
    double h[2];
    EXPECT_EQ(stdout_of([&] { triangle_orthocenter_2d(c.t, h); }), "") << c.what;
    EXPECT_EQ(h[0], huge) << c.what;
    EXPECT_EQ(h[1], huge) << c.what;
  }
}

// Rounding makes the product under the inradius's root a little negative
// for these collinear points; the radius is 0, not NaN.
TEST(GeometryTriangleCentres, FlatTriangleHasInradiusZero) {
  const double t[] = {0, 0, 1.3, 3.9000000000000004, 3.9000000000000004, 11.700000000000001};
  double e[3];
  triangle_edge_length_2d(t, e);
  const double a = e[0], b = e[1], c = e[2];
  ASSERT_LT((-a + b + c) * (a - b + c) * (a + b - c), 0.0);
  double r = 7, rc = 7, pc[2];
  triangle_inradius_2d(t, r);
  triangle_incircle_2d(t, rc, pc);
  EXPECT_EQ(r, 0.0);
  EXPECT_EQ(rc, 0.0);
  EXPECT_TRUE(std::isfinite(pc[0]) && std::isfinite(pc[1]));
}

}  // namespace
}  // namespace orvel::geometry
