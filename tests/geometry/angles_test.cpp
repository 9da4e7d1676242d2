#include "geometry/angles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;

const double pi = 3.141592653589793;

TEST(GeometryAngles, PlaneAngleHandCases) {
  const struct {
    double p1[2], p2[2], p3[2];
    double rad;
  } rows[] = {
      {{1, 0}, {0, 0}, {0, 1}, 3 * pi / 2}, {{0, 1}, {0, 0}, {1, 0}, pi / 2}, {{0, 0}, {0, 0}, {1, 0}, 0},  // P1 = P2
      {{1, 1}, {1, 1}, {1, 1}, 0},    // all three equal
      {{2, 0}, {0, 0}, {5, 0}, 0},    // the same ray
      {{-1, 0}, {0, 0}, {3, 0}, pi},  // opposite rays
      {{3, 4}, {2, 3}, {3, 3}, pi / 4},
  };
  for (const auto& r : rows) {
    EXPECT_TRUE(rel_near(angle_rad_2d(r.p1, r.p2, r.p3), r.rad, 1e-15));
    EXPECT_TRUE(rel_near(angle_deg_2d(r.p1, r.p2, r.p3), r.rad / pi * 180.0, 1e-13));
  }
  EXPECT_EQ(angle_deg_2d(rows[0].p1, rows[0].p2, rows[0].p3), 270.0);
}

TEST(GeometryAngles, PlaneAnglesOfBothOrdersMakeAFullTurn) {
  int32_t seed = 2024;
  for (int k = 0; k < 500; ++k) {
    const auto p = testing::random_points(2, 3, -5.0, 5.0, seed);
    const double a = angle_rad_2d(&p[0], &p[2], &p[4]);
    const double b = angle_rad_2d(&p[4], &p[2], &p[0]);
    EXPECT_TRUE(rel_near(a + b, 2 * pi, 1e-14));
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 2 * pi);
    // The turn of the path P1, P2, P3 is pi less the angle, folded into (-pi, pi].
    double turn = 0.0;
    angle_turn_2d(&p[0], &p[2], &p[4], turn);
    EXPECT_NEAR(turn, pi - a, 1e-13);
  }
}

TEST(GeometryAngles, ContainsPoint) {
  const double p1[] = {1, 0}, p2[] = {0, 0}, p3[] = {0, 1};
  const struct {
    double p[2];
    bool inside;
  } rows[] = {{{1, 1}, false}, {{-1, -1}, true}, {{2, 0}, true}, {{0, 0}, true}, {{0, 2}, true}, {{1, -1e-9}, true}};
  for (const auto& r : rows) {
    bool inside = !r.inside;
    angle_contains_point_2d(p1, p2, p3, r.p, inside);
    EXPECT_EQ(inside, r.inside) << r.p[0] << " " << r.p[1];
  }
}

TEST(GeometryAngles, HalfAngle) {
  const double s = 1.0 / std::sqrt(2.0);
  const struct {
    double p1[2], p2[2], p3[2], p4[2];
  } rows[] = {
      {{1, 0}, {0, 0}, {0, 1}, {s, s}},  // the bisector of the smaller angle
      {{0, 2}, {1, 1}, {3, 1}, {1 + std::cos(3 * pi / 8), 1 + std::sin(3 * pi / 8)}},
      {{-1, 0}, {0, 0}, {2, 0}, {0, 1}},  // straight: the ray to P3 turned left
      {{4, 5}, {1, 5}, {-2, 5}, {1, 4}},  // straight the other way round
      {{1, 1}, {1, 1}, {1, 3}, {1, 2}},   // P1 = P2: the unit ray to P3
      {{4, 1}, {1, 1}, {1, 1}, {2, 1}},   // P3 = P2: the unit ray to P1
      {{1, 1}, {1, 1}, {1, 1}, {2, 1}},   // both: (1, 0)
  };
  for (const auto& r : rows) {
    double p4[2] = {testing::canary, testing::canary};
    angle_half_2d(r.p1, r.p2, r.p3, p4);
    EXPECT_NEAR(p4[0], r.p4[0], 1e-14);
    EXPECT_NEAR(p4[1], r.p4[1], 1e-14);
  }
  // On random angles: P4 is at distance 1 from P2 and halves the smaller of
  // the two angles between the rays.
  auto smaller = [](double a) { return std::min(a, 2 * pi - a); };
  int32_t seed = 5;
  for (int k = 0; k < 200; ++k) {
    const auto p = testing::random_points(2, 3, -5.0, 5.0, seed);
    double p4[2];
    angle_half_2d(&p[0], &p[2], &p[4], p4);
    EXPECT_NEAR(r8vec_distance(2, p4, &p[2]), 1.0, 1e-14);
    const double whole = smaller(angle_rad_2d(&p[0], &p[2], &p[4]));
    EXPECT_NEAR(smaller(angle_rad_2d(p4, &p[2], &p[4])), whole / 2, 1e-12);
    EXPECT_NEAR(smaller(angle_rad_2d(&p[0], &p[2], p4)), whole / 2, 1e-12);
  }
}

TEST(GeometryAngles, Turn) {
  const struct {
    double p1[2], p2[2], p3[2];
    double turn;
  } rows[] = {
      {{0, 0}, {1, 0}, {2, 0}, 0},  {{0, 0}, {1, 0}, {1, 1}, pi / 2}, {{0, 0}, {1, 0}, {1, -1}, -pi / 2},
      {{0, 0}, {1, 0}, {0, 0}, pi}, {{1, 0}, {1, 0}, {3, 3}, 0},      {{0, 0}, {1, 0}, {-1, 0}, pi},
  };
  for (const auto& r : rows) {
    double turn = testing::canary;
    angle_turn_2d(r.p1, r.p2, r.p3, turn);
    EXPECT_TRUE(rel_near(turn, r.turn, 1e-15));
  }
}

TEST(GeometryAngles, Atan4) {
  const struct {
    double y, x, want;
  } rows[] = {{0, 0, 0},           {1, 0, pi / 2}, {-1, 0, 3 * pi / 2}, {0, -1, pi},          {0, 2, 0},
              {-1, 1, 7 * pi / 4}, {1, 1, pi / 4}, {1, -1, 3 * pi / 4}, {-1, -1, 5 * pi / 4}, {-0.0, -1, pi}};
  for (const auto& r : rows) EXPECT_TRUE(rel_near(atan4(r.y, r.x), r.want, 1e-15)) << r.y << " " << r.x;
  EXPECT_EQ(atan4(-1, 0), 4.71238898038469);
  // Elsewhere atan4 is atan2 moved into [0, 2 pi).
  int32_t seed = 11;
  for (int k = 0; k < 1000; ++k) {
    const double y = r8_uniform(-3.0, 3.0, seed), x = r8_uniform(-3.0, 3.0, seed);
    const double a = std::atan2(y, x);
    EXPECT_NEAR(atan4(y, x), a < 0 ? a + 2 * pi : a, 1e-14);
  }
}

TEST(GeometryAngles, ArcCosineAndSineClamp) {
  EXPECT_EQ(arc_cosine(1.5), 0.0);
  EXPECT_EQ(arc_cosine(1.0000000001), 0.0);
  EXPECT_EQ(arc_cosine(-1.5), pi);
  EXPECT_EQ(arc_sine(2.0), pi / 2);
  EXPECT_EQ(arc_sine(-1.0000000001), -pi / 2);
  EXPECT_EQ(arc_cosine(0.5), std::acos(0.5));
  EXPECT_EQ(arc_cosine(std::numeric_limits<double>::quiet_NaN()), pi);  // NaN is clamped to -1
}

TEST(GeometryAngles, AnglesInSpaceAgree) {
  const double o[] = {0, 0, 0}, z[] = {0, 0, 0}, a[] = {1, 2, 3};
  EXPECT_EQ(angle_rad_3d(o, z, a), 0.0);  // P1 = P2
  EXPECT_EQ(angle_rad_3d(a, z, o), 0.0);  // P3 = P2
  EXPECT_EQ(angle_rad_nd(3, z, a), 0.0);
  EXPECT_EQ(angle_rad_nd(3, a, z), 0.0);
  EXPECT_EQ(angle_rad_nd(0, nullptr, nullptr), 0.0);
  int32_t seed = 42;
  for (int k = 0; k < 300; ++k) {
    const auto p = testing::random_points(3, 3, -5.0, 5.0, seed);
    double u[3], v[3];
    for (int i = 0; i < 3; ++i) {
      u[i] = p[i] - p[3 + i];
      v[i] = p[6 + i] - p[3 + i];
    }
    double angle = 0.0;
    r8vec_angle_3d(u, v, angle);
    const double a3 = angle_rad_3d(&p[0], &p[3], &p[6]);
    EXPECT_NEAR(a3, angle, 1e-12);
    EXPECT_NEAR(angle_rad_nd(3, u, v), angle, 1e-12);
    // In the plane z = 0 the angle in space is the smaller of the two plane angles.
    const double q1[] = {p[0], p[1]}, q2[] = {p[3], p[4]}, q3[] = {p[6], p[7]};
    const double r1[] = {p[0], p[1], 0}, r2[] = {p[3], p[4], 0}, r3[] = {p[6], p[7], 0};
    const double plane = angle_rad_2d(q1, q2, q3);
    EXPECT_NEAR(angle_rad_3d(r1, r2, r3), std::min(plane, 2 * pi - plane), 1e-10);
  }
  // Parallel and opposite directions never give an undefined value.
  const double b[] = {3, 6, 9}, c[] = {-0.1, -0.2, -0.3};
  EXPECT_NEAR(angle_rad_nd(3, a, b), 0.0, 1e-7);
  EXPECT_NEAR(angle_rad_nd(3, a, c), pi, 1e-7);
  EXPECT_FALSE(std::isnan(angle_rad_3d(b, z, a)));
}

TEST(GeometryAngles, DegreeFunctions) {
  EXPECT_EQ(degrees_to_radians(180.0), pi);
  EXPECT_EQ(radians_to_degrees(pi), 180.0);
  EXPECT_TRUE(rel_near(sin_deg(30.0), 0.5, 1e-15));
  EXPECT_TRUE(rel_near(cos_deg(60.0), 0.5, 1e-15));
  EXPECT_TRUE(rel_near(tan_deg(45.0), 1.0, 1e-15));
  EXPECT_TRUE(rel_near(cot_deg(45.0), 1.0, 1e-15));
  EXPECT_TRUE(rel_near(csc_deg(30.0), 2.0, 1e-15));
  EXPECT_TRUE(rel_near(sec_deg(60.0), 2.0, 1e-14));
  EXPECT_TRUE(rel_near(cot_rad(pi / 4), 1.0, 1e-15));
  // At a zero of the divisor the quotient is what the division gives.
  EXPECT_EQ(cot_deg(0.0), std::numeric_limits<double>::infinity());
  EXPECT_EQ(csc_deg(-0.0), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(haversine(0.0), 0.0);
  EXPECT_EQ(haversine(pi), 1.0);
  EXPECT_TRUE(rel_near(haversine(pi / 2), 0.5, 1e-15));
}

TEST(GeometryAngles, DegreesMinutesSeconds) {
  const struct {
    double radians;
    int32_t d, m, s;
  } rows[] = {{-pi / 4, -45, 0, 0}, {1.0, 57, 17, 45}, {pi / 6, 29, 59, 60}, {0.0, 0, 0, 0}};
  for (const auto& r : rows) {
    int32_t d = testing::icanary, m = testing::icanary, s = testing::icanary;
    radians_to_dms(r.radians, d, m, s);
    EXPECT_EQ(d, r.d) << r.radians;
    EXPECT_EQ(m, r.m) << r.radians;
    EXPECT_EQ(s, r.s) << r.radians;
  }
  double rad = 0.0;
  dms_to_radians(180, 0, 0, rad);
  EXPECT_EQ(rad, pi);
  dms_to_radians(-45, -30, -36, rad);  // -45.51 degrees
  EXPECT_TRUE(rel_near(rad, -45.51 / 180 * pi, 1e-15));
  // Whole seconds go there and back.
  int32_t seed = 8;
  for (int k = 0; k < 500; ++k) {
    const int32_t d0 = i4_uniform(-179, 179, seed), m0 = i4_uniform(0, 59, seed), s0 = i4_uniform(0, 59, seed);
    const int32_t sign = d0 < 0 ? -1 : 1;
    dms_to_radians(d0, sign * m0, sign * s0, rad);
    int32_t d, m, s;
    radians_to_dms(rad, d, m, s);
    // A value just below a whole minute can come back as 60 seconds.
    const int32_t total = (d * 60 + m) * 60 + s, want = (d0 * 60 + sign * m0) * 60 + sign * s0;
    EXPECT_EQ(total, want) << d0 << " " << m0 << " " << s0;
  }
}

double sin_power_closed(double a, double b, int n) {
  auto f = [n](double t) {
    switch (n) {
      case 0:
        return t;
      case 1:
        return -std::cos(t);
      case 2:
        return t / 2 - std::sin(2 * t) / 4;
      default:
        return std::pow(std::cos(t), 3) / 3 - std::cos(t);
    }
  };
  return f(b) - f(a);
}

TEST(GeometryAngles, SinPowerIntegral) {
  EXPECT_EQ(sin_power_int(0, pi, 0), pi);
  EXPECT_TRUE(rel_near(sin_power_int(0, pi, 1), 2.0, 1e-15));
  EXPECT_TRUE(rel_near(sin_power_int(0, pi, 2), pi / 2, 1e-15));
  EXPECT_TRUE(rel_near(sin_power_int(0, pi, 4), 3 * pi / 8, 1e-15));
  EXPECT_TRUE(rel_near(sin_power_int(0, pi, 5), 16.0 / 15.0, 1e-15));
  EXPECT_EQ(sin_power_int(1.25, 1.25, 7), 0.0);
  int32_t seed = 3;
  for (int k = 0; k < 100; ++k) {
    const double a = r8_uniform(-4, 4, seed), b = r8_uniform(-4, 4, seed), c = r8_uniform(-4, 4, seed);
    for (int32_t n = 0; n <= 9; ++n) {
      const double ab = sin_power_int(a, b, n), bc = sin_power_int(b, c, n);
      EXPECT_NEAR(ab + bc, sin_power_int(a, c, n), 1e-12);  // adds over [a, b] and [b, c]
      EXPECT_NEAR(sin_power_int(b, a, n), -ab, 1e-12);
      if (n <= 3) {
        EXPECT_NEAR(ab, sin_power_closed(a, b, n), 1e-12) << n;
      }
    }
  }
  expect_fatal([] { sin_power_int(0, 1, -1); }, {" ", "SIN_POWER_INT - Fatal error!", "  Power N < 0."});
}

}  // namespace
}  // namespace orvel::geometry
