#include "geometry/cones.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::canary;
using testing::expect_fatal;
using testing::rel_near;

constexpr double pi = 3.141592653589793;

TEST(GeometryCones, Measures) {
  double v = 0.0;
  cone_area_3d(4.0, 3.0, v);
  EXPECT_TRUE(rel_near(v, 15.0 * pi, 1e-15));
  cone_volume_3d(3.0, 1.0, v);
  EXPECT_TRUE(rel_near(v, pi, 1e-15));
  cone_volume_3d(-3.0, 1.0, v);  // sizes are taken as given
  EXPECT_TRUE(rel_near(v, -pi, 1e-15));
  cone_area_3d(0.0, 0.0, v);
  EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(rel_near(torus_area_3d(2.0, 1.0), 8.0 * pi * pi, 1e-15));
  torus_volume_3d(2.0, 1.0, v);
  EXPECT_TRUE(rel_near(v, 4.0 * pi * pi, 1e-15));
  pyramid_volume_3d(3.0, 2.0, v);
  EXPECT_EQ(v, 4.0);
  pyramid_volume_3d(-3.0, 2.0, v);
  EXPECT_EQ(v, -4.0);

  const double pc[3] = {0, 0, 0}, pt[3] = {0, 0, 4};
  for (double r : {0.0, 1.0, -7.5}) {
    double c[3] = {canary, canary, canary};
    cone_centroid_3d(r, pc, pt, c);
    EXPECT_EQ((std::vector<double>{c, c + 3}), (std::vector<double>{0, 0, 1}));
  }
  // A quarter of the way from the base centre to the tip, anywhere.
  const double pc2[3] = {1, -2, 8}, pt2[3] = {5, 2, -4};
  double c[3];
  cone_centroid_3d(1.0, pc2, pt2, c);
  EXPECT_EQ((std::vector<double>{c, c + 3}), (std::vector<double>{2, -1, 5}));
}

TEST(GeometryCones, Helix) {
  std::vector<double> p = canaries(9);
  helix_shape_3d(1.0, 3, 1.0, 0.0, pi, p.data());
  const double want[9] = {1, 0, 0, 0, 1, pi / 2, -1, 0, pi};
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(p[k], want[k], 1e-15) << k;

  p = canaries(6);
  helix_shape_3d(2.0, 1, 3.0, 0.5, 1.5, p.data());
  EXPECT_TRUE(rel_near(p[0], 3.0 * std::cos(1.0), 1e-15));
  EXPECT_TRUE(rel_near(p[1], 3.0 * std::sin(1.0), 1e-15));
  EXPECT_EQ(p[2], 2.0);
  EXPECT_EQ(p[3], canary);
  helix_shape_3d(2.0, 0, 3.0, 0.5, 1.5, p.data());
  EXPECT_EQ(p[3], canary);

  // Points at radius R, z = A theta, the angles evenly spaced.
  int32_t seed = 8080;
  for (int trial = 0; trial < 20; ++trial) {
    const double a = r8_uniform(-2.0, 2.0, seed), r = r8_uniform(0.1, 5.0, seed);
    const double t1 = r8_uniform(-10.0, 10.0, seed), t2 = r8_uniform(-10.0, 10.0, seed);
    const int32_t n = i4_uniform(2, 30, seed);
    p = canaries(3 * n);
    helix_shape_3d(a, n, r, t1, t2, p.data());
    for (int32_t i = 0; i < n; ++i) {
      const double theta = t1 + i * (t2 - t1) / (n - 1);
      EXPECT_TRUE(rel_near(std::hypot(p[3 * i], p[3 * i + 1]), r, 1e-14));
      EXPECT_TRUE(rel_near(p[3 * i + 2], a * theta, 1e-13));
      EXPECT_NEAR(p[3 * i], r * std::cos(theta), 1e-12 * r);
      EXPECT_NEAR(p[3 * i + 1], r * std::sin(theta), 1e-12 * r);
    }
    EXPECT_EQ(p[2], a * t1);
  }
}

TEST(GeometryCones, CoordinatePlaneProjection) {
  int32_t seed = 555;
  const std::vector<double> pts = testing::random_points(3, 6, -5.0, 5.0, seed);
  // Theta = 0 drops the axis coordinate and keeps the others in order.
  const struct {
    char axis;
    int keep1, keep2;
  } plain[] = {{'x', 1, 2}, {'X', 1, 2}, {'y', 0, 2}, {'Y', 0, 2}, {'z', 0, 1}, {'Z', 0, 1}};
  for (const auto& row : plain) {
    std::vector<double> out = canaries(14);
    conv3d(row.axis, 0.0, 6, pts.data(), out.data());
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(out[2 * i], pts[3 * i + row.keep1]) << row.axis;
      EXPECT_EQ(out[2 * i + 1], pts[3 * i + row.keep2]) << row.axis;
    }
    EXPECT_EQ(out[12], canary);
  }
  // At 90 degrees along x, (1, 2, 3) goes to (2 - 1, 3 - 1); at 30 degrees
  // along y each kept coordinate loses half the dropped one.
  const double p[3] = {1, 2, 3};
  double q[2];
  conv3d('X', 90.0, 1, p, q);
  EXPECT_EQ((std::vector<double>{q, q + 2}), (std::vector<double>{1, 2}));
  conv3d('y', 30.0, 1, p, q);
  EXPECT_NEAR(q[0], 0.0, 1e-15);
  EXPECT_NEAR(q[1], 2.0, 1e-15);

  double untouched[2] = {canary, canary};
  expect_fatal([&] { conv3d('W', 0.0, 1, p, untouched); },
               {" ", "CONV3D - Fatal error!", "  Illegal coordinate index = \"W\"."});
  expect_fatal([&] { conv3d('1', 0.0, 0, p, untouched); },
               {" ", "CONV3D - Fatal error!", "  Illegal coordinate index = \"1\"."});
  EXPECT_EQ(untouched[0], canary);
}

}  // namespace
}  // namespace orvel::geometry
