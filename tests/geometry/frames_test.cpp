#include "geometry/frames.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "geometry/transforms.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::rel_near;

const double pi = 3.141592653589793;

TEST(GeometryFrames, InverseConversionsHandCases) {
  const struct {
    double x, y;
    double r, t;
  } polar[] = {{0, 0, 0, 0}, {0, -1, 1, 3 * pi / 2}, {-1, 0, 1, pi}, {3, 4, 5, std::atan(4.0 / 3.0)}, {1, -1, std::sqrt(2.0), 7 * pi / 4}};
  for (const auto& c : polar) {
    const double xy[2] = {c.x, c.y};
    double r = -1, t = -1;
    xy_to_polar(xy, r, t);
    EXPECT_TRUE(rel_near(r, c.r, 1e-15)) << c.x << " " << c.y;
    EXPECT_TRUE(rel_near(t, c.t, 1e-15)) << c.x << " " << c.y;
  }
  const struct {
    double xyz[3];
    double r, theta, phi;
  } sph[] = {{{0, 0, 0}, 0, 0, 0},          {{0, 0, 2}, 2, 0, 0},
             {{0, 0, -2}, 2, 0, pi},        {{1, 1, 0}, std::sqrt(2.0), pi / 4, pi / 2},
             {{0, -3, 4}, 5, 3 * pi / 2, std::acos(0.8)}};
  for (const auto& c : sph) {
    double r = -1, theta = -1, phi = -1, theta2 = -1, phi2 = -1;
    xyz_to_rtp(c.xyz, r, theta, phi);
    xyz_to_tp(c.xyz, theta2, phi2);
    EXPECT_TRUE(rel_near(r, c.r, 1e-15));
    EXPECT_TRUE(rel_near(theta, c.theta, 1e-15));
    EXPECT_TRUE(rel_near(phi, c.phi, 1e-15));
    EXPECT_EQ(theta2, theta);
    EXPECT_EQ(phi2, phi);
  }
}

TEST(GeometryFrames, CelestialHandCases) {
  double p[3];
  radec_to_xyz(6.0, 0.0, p);
  EXPECT_NEAR(p[0], 0.0, 1e-16);
  EXPECT_EQ(p[1], 1.0);
  EXPECT_EQ(p[2], 0.0);
  radec_to_xyz(3.0, 60.0, p);  // longitude 45 degrees, latitude 60
  EXPECT_TRUE(rel_near(p[0], 0.5 * std::sqrt(0.5), 1e-15));
  EXPECT_TRUE(rel_near(p[1], 0.5 * std::sqrt(0.5), 1e-15));
  EXPECT_TRUE(rel_near(p[2], 0.5 * std::sqrt(3.0), 1e-15));

  const struct {
    double p[3];
    double ra, dec;
  } rows[] = {{{0, 1, 0}, 6, 0}, {{0, 0, 5}, 0, 90}, {{0, 0, 0}, 0, 0}, {{0, 0, -1}, 0, -90},
              {{-2, 0, 2}, 12, 45}, {{1, -1, 0}, 21, 0}};
  for (const auto& r : rows) {
    double ra = -1, dec = -1;
    xyz_to_radec(r.p, ra, dec);
    EXPECT_TRUE(rel_near(ra, r.ra, 1e-14)) << r.p[0] << " " << r.p[1] << " " << r.p[2];
    EXPECT_TRUE(rel_near(dec, r.dec, 1e-14)) << r.p[0] << " " << r.p[1] << " " << r.p[2];
  }

  const struct {
    double ra1, dec1, ra2, dec2, theta;
  } dist[] = {{5.5, 20, 5.5, 20, 0}, {0, 0, 12, 0, pi}, {0, 90, 0, -90, pi}, {0, 0, 6, 0, pi / 2}, {3, 0, 17, 90, pi / 2}};
  for (const auto& d : dist) EXPECT_NEAR(radec_distance_3d(d.ra1, d.dec1, d.ra2, d.dec2), d.theta, 2e-8);
}

TEST(GeometryFrames, RoundTripsOnRandomPoints) {
  int32_t seed = 4711;
  for (int k = 0; k < 300; ++k) {
    const auto p = testing::random_points(3, 1, -10.0, 10.0, seed);
    const double length = r8vec_norm(3, p.data());
    double back[3];

    double r, t;
    xy_to_polar(p.data(), r, t);
    EXPECT_GE(t, 0.0);
    EXPECT_LT(t, 2 * pi);
    polar_to_xy(r, t, back);
    EXPECT_TRUE(testing::vec_rel_near({back[0], back[1]}, {p[0], p[1]}, 1e-14));

    double theta, phi;
    xyz_to_rtp(p.data(), r, theta, phi);
    EXPECT_GE(theta, 0.0);
    EXPECT_LT(theta, 2 * pi);
    EXPECT_GE(phi, 0.0);
    EXPECT_LE(phi, pi);
    rtp_to_xyz(r, theta, phi, back);
    EXPECT_TRUE(testing::vec_rel_near({back[0], back[1], back[2]}, p, 1e-14));

    // The direction alone, and the angles back from a direction.
    xyz_to_tp(p.data(), theta, phi);
    tp_to_xyz(theta, phi, back);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], p[i] / length, 1e-15);

    // Angles given outside their ranges come back reduced.
    const double theta_in = r8_uniform(-20.0, 20.0, seed), phi_in = r8_uniform(0.01, pi - 0.01, seed);
    rtp_to_xyz(2.0, theta_in, phi_in, back);
    xyz_to_rtp(back, r, theta, phi);
    EXPECT_NEAR(theta, theta_in - 2 * pi * std::floor(theta_in / (2 * pi)), 1e-13);
    EXPECT_NEAR(phi, phi_in, 1e-11);

    double ra, dec;
    xyz_to_radec(p.data(), ra, dec);
    EXPECT_GE(ra, 0.0);
    EXPECT_LT(ra, 24.0);
    radec_to_xyz(ra, dec, back);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], p[i] / length, 1e-14);

    // The celestial distance is the angle between the unit vectors.
    const double ra2 = r8_uniform(0.0, 24.0, seed), dec2 = r8_uniform(-90.0, 90.0, seed);
    double v1[3], v2[3], angle;
    radec_to_xyz(ra, dec, v1);
    radec_to_xyz(ra2, dec2, v2);
    r8vec_angle_3d(v1, v2, angle);
    EXPECT_NEAR(radec_distance_3d(ra, dec, ra2, dec2), angle, 1e-14);
  }
}

TEST(GeometryFrames, BasisMap) {
  const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  const double v[9] = {2, -1, 3, 0.5, 4, -2, 7, 1, 1};
  double a[9];
  int32_t ierror = -1;
  basis_map_3d(identity, v, a, ierror);
  EXPECT_EQ(ierror, 0);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(a[i], v[i]);

  int32_t seed = 99;
  for (int k = 0; k < 100; ++k) {
    const auto u = testing::random_matrix(3, 3, -5.0, 5.0, seed);
    const auto w = testing::random_matrix(3, 3, -5.0, 5.0, seed);
    basis_map_3d(u.data(), w.data(), a, ierror);
    ASSERT_EQ(ierror, 0);
    // A carries column j of U onto column j of V.
    for (int j = 0; j < 3; ++j) {
      double au[3];
      for (int i = 0; i < 3; ++i) au[i] = a[i] * u[3 * j] + a[3 + i] * u[3 * j + 1] + a[6 + i] * u[3 * j + 2];
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(au[i], w[3 * j + i], 1e-9 * (1 + std::fabs(w[3 * j + i])));
    }
  }

  // Two equal columns: no map, A as it was.
  const double singular[9] = {1, 2, 3, 1, 2, 3, 0, 0, 1};
  auto kept = canaries(9);
  basis_map_3d(singular, v, kept.data(), ierror);
  EXPECT_EQ(ierror, 1);
  EXPECT_EQ(kept, canaries(9));
}

TEST(GeometryFrames, LocalFrameHandCases) {
  const double origin[3] = {1, 2, 3};
  const double global[3] = {2, 2, 3};  // GLOBAL - ORIGIN = (1, 0, 0)
  double local[3], back[3];
  glob2loc_3d(1, 1, 1, 0, 0, 0, origin, global, local);
  EXPECT_EQ(local[0], 1.0);
  EXPECT_EQ(local[1], 0.0);
  EXPECT_EQ(local[2], 0.0);
  // c = pi/2: the local x axis is the global y axis.
  glob2loc_3d(1, 1, 0, 0, 0, 1, origin, global, local);
  EXPECT_EQ(local[0], 0.0);
  EXPECT_EQ(local[1], -1.0);
  EXPECT_EQ(local[2], 0.0);
  loc2glob_3d(1, 1, 0, 0, 0, 1, origin, local, back);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back[i], global[i]);
}

TEST(GeometryFrames, LocalFrameIsThreeTurnsOfTheAxes) {
  int32_t seed = 31337;
  for (int k = 0; k < 200; ++k) {
    const double a = r8_uniform(-pi, pi, seed), b = r8_uniform(-pi, pi, seed), c = r8_uniform(-pi, pi, seed);
    const auto origin = testing::random_points(3, 1, -10.0, 10.0, seed);
    const auto global = testing::random_points(3, 1, -10.0, 10.0, seed);
    const double ca = std::cos(a), cb = std::cos(b), cc = std::cos(c);
    const double sa = std::sin(a), sb = std::sin(b), sc = std::sin(c);
    double local[3], back[3];
    glob2loc_3d(ca, cb, cc, sa, sb, sc, origin.data(), global.data(), local);
    loc2glob_3d(ca, cb, cc, sa, sb, sc, origin.data(), local, back);
    EXPECT_TRUE(testing::vec_rel_near({back[0], back[1], back[2]}, global, 1e-13));

    // Turning the axes by c about z, then by a about the new y and by b about
    // the new x turns every point the other way: by -c, -a, -b in turn.
    double m[16], m2[16], d[3];
    tmat_init(m);
    tmat_rot_axis(m, -c * 180.0 / pi, "z", m2);
    tmat_rot_axis(m2, -a * 180.0 / pi, "y", m);
    tmat_rot_axis(m, -b * 180.0 / pi, "x", m2);
    for (int i = 0; i < 3; ++i) d[i] = global[i] - origin[i];
    double want[3];
    tmat_mxp(m2, d, want);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(local[i], want[i], 1e-13);
  }
}

}  // namespace
}  // namespace orvel::geometry
