#include "geometry/directions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "geometry/angles.hpp"
#include "geometry/random.hpp"
#include "geometry/reals.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;
using testing::rel_near;
using testing::reset_normals;

using vec = std::vector<double>;

const double pi = 3.141592653589793;
const double two_pi = 6.283185307179586;

// The seed stream stepped by hand in 64-bit arithmetic.
struct stream {
  int64_t s;
  double next() {
    s = ((16807 * s) % 2147483647 + 2147483647) % 2147483647;
    return static_cast<double>(s) * 4.656612875E-10;
  }
  int32_t after(int steps) {
    for (int k = 0; k < steps; ++k) next();
    return static_cast<int32_t>(s);
  }
};

// A routine of the Part as a function of the seed and the output.
struct sampler {
  const char* name;
  int32_t dim;
  std::function<void(int32_t&, double*)> draw;
  int steps;   // uniforms drawn from a fresh normal state
  bool ball;   // a point of the ball rather than of the sphere
};

std::vector<sampler> samplers() {
  std::vector<sampler> s = {
      {"direction_uniform_2d", 2, direction_uniform_2d, 1, false},
      {"sphere_unit_sample_2d", 2, sphere_unit_sample_2d, 1, false},
      {"direction_uniform_3d", 3, direction_uniform_3d, 2, false},
      {"sphere_unit_sample_3d", 3, sphere_unit_sample_3d, 2, false},
      {"sphere_unit_sample_3d_2", 3, sphere_unit_sample_3d_2, 2, false},
      {"ball_unit_sample_2d", 2, ball_unit_sample_2d, 2, true},
      {"ball_unit_sample_3d", 3, ball_unit_sample_3d, 3, true},
  };
  for (int32_t d : {1, 2, 3, 5, 8}) {
    s.push_back({"direction_uniform_nd", d, [d](int32_t& seed, double* x) { direction_uniform_nd(d, seed, x); },
                 d == 1 ? 2 : d + d % 2, false});
    s.push_back({"sphere_unit_sample_nd_2", d,
                 [d](int32_t& seed, double* x) { sphere_unit_sample_nd_2(d, seed, x); }, d == 1 ? 2 : d + d % 2,
                 false});
    s.push_back({"sphere_unit_sample_nd", d, [d](int32_t& seed, double* x) { sphere_unit_sample_nd(d, seed, x); },
                 2 * (d - 1), false});
    s.push_back({"ball_unit_sample_nd", d, [d](int32_t& seed, double* x) { ball_unit_sample_nd(d, seed, x); },
                 2 * (d - 1) + 1, true});
  }
  return s;
}

TEST(GeometryDirections, LengthsAndSeedSteps) {
  for (const auto& s : samplers()) {
    for (int32_t seed0 : {1, 12345, -98765, 2147483646, 600613}) {
      reset_normals();
      int32_t seed = seed0;
      vec x(s.dim);
      s.draw(seed, x.data());
      const double length = r8vec_norm(s.dim, x.data());
      if (s.ball)
        EXPECT_LE(length, 1.0 + 1e-15) << s.name << " " << s.dim;
      else
        EXPECT_TRUE(rel_near(length, 1.0, 1e-15)) << s.name << " " << s.dim;
      stream h{seed0};
      EXPECT_EQ(seed, h.after(s.steps)) << s.name << " " << s.dim;
    }
  }
  // Rejection from the cube: a whole number of attempts of DIM_NUM draws.
  for (int32_t d : {1, 2, 3, 6}) {
    for (int32_t seed0 : {1, 777, 31415}) {
      int32_t seed = seed0;
      vec x(d);
      sphere_unit_sample_nd_3(d, seed, x.data());
      EXPECT_TRUE(rel_near(r8vec_norm(d, x.data()), 1.0, 1e-15));
      stream h{seed0};
      int attempts = 0;
      while (h.s != seed && attempts < 1000) {
        h.after(d);
        ++attempts;
      }
      EXPECT_EQ(h.s, seed) << d;
    }
  }
}

TEST(GeometryDirections, TwinsGiveTheSameVectorsAndSeeds) {
  const struct {
    std::function<void(int32_t&, double*)> a, b;
    int32_t dim;
  } pairs[] = {
      {direction_uniform_2d, sphere_unit_sample_2d, 2},
      {direction_uniform_3d, sphere_unit_sample_3d, 3},
      {[](int32_t& s, double* x) { direction_uniform_nd(5, s, x); },
       [](int32_t& s, double* x) { sphere_unit_sample_nd_2(5, s, x); }, 5},
  };
  for (const auto& p : pairs) {
    int32_t s1 = 4321, s2 = 4321;
    for (int k = 0; k < 25; ++k) {
      vec x1(p.dim), x2(p.dim);
      // The normal method is compared from the same generator state.
      reset_normals();
      p.a(s1, x1.data());
      reset_normals();
      p.b(s2, x2.data());
      EXPECT_EQ(x1, x2);
      EXPECT_EQ(s1, s2);
    }
  }
}

TEST(GeometryDirections, WhichUniformsGoWhere) {
  // SEED = 1: the first uniform is 16807 times the scale.
  int32_t seed = 1;
  vec x(3);
  direction_uniform_2d(seed, x.data());
  EXPECT_EQ(seed, 16807);
  EXPECT_NEAR(x[0], 0.9999999988, 1e-10);
  EXPECT_NEAR(x[1], 0.0000491745, 1e-10);

  for (int32_t seed0 : {5, 99991, 123456789}) {
    stream h{seed0};
    const double u1 = h.next(), u2 = h.next(), u3 = h.next();
    // Uniform on the sphere: the height is 2 U1 - 1, the longitude 2 pi U2.
    seed = seed0;
    direction_uniform_3d(seed, x.data());
    EXPECT_NEAR(x[2], 2 * u1 - 1, 1e-15);
    EXPECT_NEAR(atan4(x[1], x[0]), two_pi * u2, 1e-13);
    // Uniform polar angle: pi U1.
    seed = seed0;
    sphere_unit_sample_3d_2(seed, x.data());
    EXPECT_NEAR(std::acos(x[2]), pi * u1, 1e-7);
    EXPECT_NEAR(atan4(x[1], x[0]), two_pi * u2, 1e-13);
    // The disk: radius sqrt(U1), angle 2 pi U2.
    seed = seed0;
    ball_unit_sample_2d(seed, x.data());
    EXPECT_NEAR(std::hypot(x[0], x[1]), std::sqrt(u1), 1e-15);
    EXPECT_NEAR(atan4(x[1], x[0]), two_pi * u2, 1e-13);
    // The ball: height over radius 2 U1 - 1, longitude 2 pi U2, radius U3^(1/3).
    seed = seed0;
    ball_unit_sample_3d(seed, x.data());
    const double r = r8vec_norm(3, x.data());
    EXPECT_NEAR(r, std::cbrt(u3), 1e-15);
    EXPECT_NEAR(x[2] / r, 2 * u1 - 1, 1e-14);
    EXPECT_NEAR(atan4(x[1], x[0]), two_pi * u2, 1e-13);
  }

  // Successive turns: coordinate k is s_1 .. s_(k-1) c_k, the last one the
  // product of all the s, with c = 2U - 1 and the sign of s from the next U.
  for (int32_t d : {1, 2, 3, 4, 7}) {
    for (int32_t seed0 : {3, 80808}) {
      stream h{seed0};
      vec want(d);
      double prod = 1.0;
      for (int k = 0; k < d - 1; ++k) {
        const double c = 2 * h.next() - 1;
        const double s = (h.next() < 0.5 ? -1.0 : 1.0) * std::sqrt(1 - c * c);
        want[k] = prod * c;
        prod *= s;
      }
      want[d - 1] = prod;
      vec got(d), ball(d);
      seed = seed0;
      sphere_unit_sample_nd(d, seed, got.data());
      for (int k = 0; k < d; ++k) EXPECT_NEAR(got[k], want[k], 1e-15) << d;
      // The ball point takes one more uniform for its radius.
      const double radius = std::pow(h.next(), 1.0 / d);
      seed = seed0;
      ball_unit_sample_nd(d, seed, ball.data());
      for (int k = 0; k < d; ++k) EXPECT_NEAR(ball[k], radius * want[k], 1e-15) << d;
    }
  }
  // One dimension: (1) with nothing drawn, even from SEED = 0; the ball
  // point is (U).
  seed = 0;
  sphere_unit_sample_nd(1, seed, x.data());
  EXPECT_EQ(x[0], 1.0);
  EXPECT_EQ(seed, 0);
  seed = 1;
  ball_unit_sample_nd(1, seed, x.data());
  EXPECT_EQ(x[0], 7.826369259012501e-06);

  // The normal method: the normal values scaled to length 1.
  for (int32_t d : {1, 2, 5}) {
    reset_normals();
    int32_t s1 = 2024, s2 = 2024, n = d;
    vec w(d), z(d);
    direction_uniform_nd(d, s1, w.data());
    reset_normals();
    r8vec_normal_01(n, s2, z.data());
    const double norm = r8vec_norm(d, z.data());
    for (int k = 0; k < d; ++k) EXPECT_NEAR(w[k], z[k] / norm, 1e-15);
  }

  // Rejection: the first attempt whose cube point falls in the ball.
  for (int32_t d : {2, 4}) {
    stream h{55555};
    vec want(d);
    for (;;) {
      for (double& c : want) c = 2 * h.next() - 1;
      if (r8vec_norm(d, want.data()) <= 1.0) break;
    }
    const double norm = r8vec_norm(d, want.data());
    vec got(d);
    seed = 55555;
    sphere_unit_sample_nd_3(d, seed, got.data());
    for (int k = 0; k < d; ++k) EXPECT_NEAR(got[k], want[k] / norm, 1e-15);
    EXPECT_EQ(seed, h.s);
  }
}

TEST(GeometryDirections, NoDimensionsDrawAndWriteNothing) {
  for (int32_t d : {0, -3}) {
    int32_t seed = 1234;
    auto x = canaries(2);
    sphere_unit_sample_nd(d, seed, x.data());
    ball_unit_sample_nd(d, seed, x.data());
    direction_uniform_nd(d, seed, x.data());
    sphere_unit_sample_nd_2(d, seed, x.data());
    sphere_unit_sample_nd_3(d, seed, x.data());
    EXPECT_EQ(x, canaries(2));
    EXPECT_EQ(seed, 1234);
  }
  // A negative count is no query of the normal generator: its held-back value
  // stays.
  reset_normals();
  int32_t seed = 10, n = 1;
  vec z(1);
  r8vec_normal_01(n, seed, z.data());
  direction_uniform_nd(-1, seed, z.data());
  n = -1;
  r8vec_normal_01(n, seed, z.data());
  EXPECT_EQ(n, 2);
  // The cube method still rejects SEED = 0 with no coordinates.
  seed = 0;
  vec x(1);
  expect_fatal([&] { sphere_unit_sample_nd_3(0, seed, x.data()); },
               {" ", "R8VEC_UNIFORM_01 - Fatal error!", "  Input value of SEED = 0."});
}

TEST(GeometryDirections, NormalMethodSharesTheHeldBackValue) {
  reset_normals();
  int32_t seed = 31;
  vec w(3), x(1);
  // Three values: two pairs drawn, the second pair's sine held back.
  direction_uniform_nd(3, seed, w.data());
  const int32_t after = seed;
  EXPECT_EQ(after, stream{31}.after(4));
  // A one-dimensional direction from the held-back value: nothing drawn.
  sphere_unit_sample_nd_2(1, seed, x.data());
  EXPECT_EQ(seed, after);
  EXPECT_EQ(std::fabs(x[0]), 1.0);
  int32_t n = -1;
  r8vec_normal_01(n, seed, x.data());
  EXPECT_EQ(n, 3);
}

TEST(GeometryDirections, SphereSamplesAreUniformAndThePolarOneIsNot) {
  // The fraction of points with |z| > 0.9: 0.1 on the uniform sphere, and
  // 2 arccos(0.9) / pi = 0.287 when the polar angle is uniform.
  const int count = 20000;
  int32_t s1 = 1, s2 = 1, s3 = 1;
  int near1 = 0, near2 = 0;
  double mean[3] = {0, 0, 0};
  vec x(3);
  for (int k = 0; k < count; ++k) {
    direction_uniform_3d(s1, x.data());
    if (std::fabs(x[2]) > 0.9) ++near1;
    for (int i = 0; i < 3; ++i) mean[i] += x[i] / count;
    sphere_unit_sample_3d_2(s2, x.data());
    if (std::fabs(x[2]) > 0.9) ++near2;
  }
  EXPECT_NEAR(near1 / double(count), 0.1, 0.01);
  EXPECT_NEAR(near2 / double(count), 2 * std::acos(0.9) / pi, 0.015);
  for (double m : mean) EXPECT_NEAR(m, 0.0, 0.02);
  // Points of the unit ball: a fraction 1/8 within radius 1/2.
  int inner = 0;
  for (int k = 0; k < count; ++k) {
    ball_unit_sample_3d(s3, x.data());
    if (r8vec_norm(3, x.data()) < 0.5) ++inner;
  }
  EXPECT_NEAR(inner / double(count), 0.125, 0.01);
}

TEST(GeometryDirections, PerturbedDirection) {
  int32_t seed = 0;
  vec vran(3);
  const vec vbase = {0.0, 0.6, 0.8};
  // SIGMA >= 1: VBASE itself; nothing drawn, so even SEED = 0 passes.
  for (double sigma : {1.0, 2.5}) {
    direction_pert_3d(sigma, vbase.data(), seed, vran.data());
    EXPECT_EQ(vran, vbase);
    EXPECT_EQ(seed, 0);
  }
  // SIGMA <= 0: a uniform direction, the same as direction_uniform_3d.
  for (double sigma : {0.0, -1.0}) {
    int32_t s1 = 777, s2 = 777;
    vec want(3);
    direction_pert_3d(sigma, vbase.data(), s1, vran.data());
    direction_uniform_3d(s2, want.data());
    EXPECT_EQ(vran, want);
    EXPECT_EQ(s1, s2);
  }
  // About the z axis the height is cos PSI = 2 U1^(1 - SIGMA) - 1.
  seed = 1001;
  direction_pert_3d(0.5, vec{0, 0, 1}.data(), seed, vran.data());
  stream h{1001};
  EXPECT_NEAR(vran[2], 2 * std::sqrt(h.next()) - 1, 1e-15);
  EXPECT_EQ(seed, h.after(1));

  // In general: a unit vector at the angle arccos(2Q - 1) from VBASE, Q fixed
  // by the first uniform, two uniforms drawn.
  int32_t fixture = 65;
  for (int k = 0; k < 200; ++k) {
    const vec base = testing::random_direction(3, fixture);
    const double sigma = r8_uniform(0.01, 0.99, fixture);
    const int32_t seed0 = 1 + k * 7919;
    seed = seed0;
    direction_pert_3d(sigma, base.data(), seed, vran.data());
    stream g{seed0};
    const double q = std::pow(g.next(), 1.0 - sigma);
    EXPECT_EQ(seed, g.after(1));
    EXPECT_TRUE(rel_near(r8vec_norm(3, vran.data()), 1.0, 1e-14));
    EXPECT_NEAR(r8vec_dot_product(3, vran.data(), base.data()), 2 * q - 1, 1e-13);
  }
  // A zero VBASE gives the zero vector.
  seed = 5;
  direction_pert_3d(0.5, vec{0, 0, 0}.data(), seed, vran.data());
  EXPECT_EQ(vran, (vec{0, 0, 0}));
}

TEST(GeometryDirections, SeedZeroEndsTheRunInTheRoutineThatDraws) {
  const auto uniform = [](const char* title) {
    return std::vector<std::string>{" ", std::string(title) + " - Fatal error!", "  Input value of SEED = 0."};
  };
  const struct {
    std::function<void(int32_t&, double*)> draw;
    const char* title;
  } rows[] = {
      {direction_uniform_2d, "R8_UNIFORM_01"},
      {sphere_unit_sample_3d_2, "R8_UNIFORM_01"},
      {[](int32_t& s, double* x) { sphere_unit_sample_nd(3, s, x); }, "R8_UNIFORM_01"},
      {[](int32_t& s, double* x) { ball_unit_sample_nd(2, s, x); }, "R8_UNIFORM_01"},
      {[](int32_t& s, double* x) { direction_pert_3d(0.5, std::vector<double>{0, 0, 1}.data(), s, x); },
       "R8_UNIFORM_01"},
      {ball_unit_sample_2d, "R8VEC_UNIFORM_01"},
      {ball_unit_sample_3d, "R8VEC_UNIFORM_01"},
      {[](int32_t& s, double* x) { sphere_unit_sample_nd_3(3, s, x); }, "R8VEC_UNIFORM_01"},
      {[](int32_t& s, double* x) { direction_uniform_nd(1, s, x); }, "R8_UNIFORM_01"},
      {[](int32_t& s, double* x) { direction_uniform_nd(2, s, x); }, "R8VEC_UNIFORM_01"},
  };
  for (const auto& r : rows) {
    reset_normals();
    int32_t seed = 0;
    vec x(3);
    const auto want = uniform(r.title);
    expect_fatal([&] { r.draw(seed, x.data()); }, {want[0], want[1], want[2]});
  }
}

}  // namespace
}  // namespace orvel::geometry
