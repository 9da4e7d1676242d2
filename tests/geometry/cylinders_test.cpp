#include "geometry/cylinders.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/platform.hpp"
#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::random_points;
using testing::rel_near;
using testing::stdout_of;
using testing::vec_rel_near;

constexpr double largest = 1.7976931348623157e308;

void seed_run_time_generator(int32_t seed) {
  stdout_of([&] { random_initialize(seed); });
}

TEST(GeometryCylinders, HandWorkedPoints) {
  const double p1[3] = {0, 0, 0}, p2[3] = {0, 0, 10};
  const double r8 = std::sqrt(8.0);
  const struct {
    const char* what;
    double p[3], dist, signed_dist;
    bool inside;
    double pn[3];
  } rows[] = {
      {"inside, side nearest", {0, 0.5, 5}, 0.5, -0.5, true, {0, 1, 5}},
      {"inside, cap at P1 nearest", {0, 0.5, 0.2}, 0.2, -0.2, true, {0, 0.5, 0}},
      {"side ties with cap at P2", {0, 0.5, 9.5}, 0.5, -0.5, true, {0, 1, 9.5}},
      {"outside the side", {0, 3, 5}, 2, 2, false, {0, 1, 5}},
      {"beyond P2, outside the rim", {0, 3, 12}, r8, r8, false, {0, 1, 10}},
      {"below P1, over the cap", {0, 0.5, -2}, 2, 2, false, {0, 0.5, 0}},
      {"on the rim", {0, 1, 10}, 0, 0, true, {0, 1, 10}},
      {"on the axis: the side along the axis' normal", {0, 0, 0.2}, 0.2, -0.2, true, {1, 0, 0.2}},
  };
  for (const auto& r : rows) {
    double dist, signed_dist, pn[3];
    bool inside;
    cylinder_point_dist_3d(p1, p2, 1.0, r.p, dist);
    cylinder_point_dist_signed_3d(p1, p2, 1.0, r.p, signed_dist);
    cylinder_point_inside_3d(p1, p2, 1.0, r.p, inside);
    cylinder_point_near_3d(p1, p2, 1.0, r.p, pn);
    EXPECT_TRUE(rel_near(dist, r.dist, 1e-15)) << r.what;
    EXPECT_TRUE(rel_near(signed_dist, r.signed_dist, 1e-15)) << r.what;
    EXPECT_EQ(inside, r.inside) << r.what;
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1], pn[2]}, {r.pn[0], r.pn[1], r.pn[2]}, 1e-15)) << r.what;
  }
  double volume;
  cylinder_volume_3d(p1, p2, 1.0, volume);
  EXPECT_EQ(volume, 31.41592653589793);
}

TEST(GeometryCylinders, NearestPointTieRules) {
  // A short wide cylinder: the side, the cap at P2 and the cap at P1 compete.
  const double p1[3] = {0, 0, 0}, p2[3] = {0, 0, 2};
  const struct {
    const char* what;
    double r, p[3], pn[3];
  } rows[] = {
      {"all three at 1: the side stays", 2, {0, 1, 1}, {0, 2, 1}},
      {"caps tie at 1: P2 stays", 3, {0, 1, 1}, {0, 1, 2}},
      {"cap at P1 nearest", 3, {0, 1, 0.5}, {0, 1, 0}},
      {"cap at P2 nearest", 3, {0, 1, 1.5}, {0, 1, 2}},
  };
  for (const auto& r : rows) {
    double pn[3];
    cylinder_point_near_3d(p1, p2, r.r, r.p, pn);
    EXPECT_TRUE(vec_rel_near({pn[0], pn[1], pn[2]}, {r.pn[0], r.pn[1], r.pn[2]}, 0.0)) << r.what;
  }
}

TEST(GeometryCylinders, DiskDistances) {
  const double pc[3] = {0, 0, 0}, axis[3] = {0, 0, 2}, zero[3] = {0, 0, 0};
  const struct {
    double p[3], dist;
  } rows[] = {
      {{0.5, 0.5, 0}, 0},
      {{3, -3, 0}, std::sqrt(18.0) - 1},
      {{0, 0, -4}, 4},
      {{0.5, 0, 3}, 3},
      {{4, 0, 4}, 5},
      {{0, 0, 0}, 0},
  };
  for (const auto& r : rows) {
    double dist;
    disk_point_dist_3d(pc, 1.0, axis, r.p, dist);
    EXPECT_TRUE(rel_near(dist, r.dist, 1e-15)) << r.p[0] << " " << r.p[2];
  }
  double dist;
  disk_point_dist_3d(pc, 1.0, zero, pc, dist);  // P = PC even for a zero axis
  EXPECT_EQ(dist, 0.0);
  disk_point_dist_3d(pc, 1.0, zero, axis, dist);
  EXPECT_EQ(dist, -largest);
}

TEST(GeometryCylinders, ZeroLengthAxis) {
  const double p1[3] = {1, 2, 3}, p[3] = {1, 2, 3.5};
  double dist = 0.0, signed_dist = 0.0, pn[3];
  bool inside = true;
  cylinder_point_dist_3d(p1, p1, 1.0, p, dist);
  cylinder_point_dist_signed_3d(p1, p1, 1.0, p, signed_dist);
  cylinder_point_inside_3d(p1, p1, 1.0, p, inside);
  cylinder_point_near_3d(p1, p1, 1.0, p, pn);
  EXPECT_EQ(dist, -largest);
  EXPECT_EQ(signed_dist, -largest);
  EXPECT_FALSE(inside);
  EXPECT_EQ(std::vector<double>(pn, pn + 3), std::vector<double>(3, -largest));

  // The sample neither draws nor writes.
  seed_run_time_generator(2718);
  std::vector<double> sample = canaries(6);
  int32_t seed = 5;
  cylinder_sample_3d(p1, p1, 1.0, 2, seed, sample.data());
  EXPECT_EQ(sample, canaries(6));
  const double next = random_number();
  seed_run_time_generator(2718);
  EXPECT_EQ(random_number(), next);
}

TEST(GeometryCylinders, RandomPointsAgreeAcrossRoutines) {
  int32_t seed = 8080;
  for (int k = 0; k < 40; ++k) {
    const std::vector<double> ends = random_points(3, 2, -5.0, 5.0, seed);
    const double* p1 = &ends[0];
    const double* p2 = &ends[3];
    const double r = r8_uniform(0.2, 3.0, seed);
    for (int m = 0; m < 25; ++m) {
      const std::vector<double> p = random_points(3, 1, -8.0, 8.0, seed);
      double dist, signed_dist, pn[3];
      bool inside;
      cylinder_point_dist_3d(p1, p2, r, p.data(), dist);
      cylinder_point_dist_signed_3d(p1, p2, r, p.data(), signed_dist);
      cylinder_point_inside_3d(p1, p2, r, p.data(), inside);
      cylinder_point_near_3d(p1, p2, r, p.data(), pn);
      EXPECT_EQ(inside, signed_dist < 0.0);
      EXPECT_EQ(std::fabs(signed_dist), dist);
      EXPECT_TRUE(rel_near(std::hypot(p[0] - pn[0], p[1] - pn[1], p[2] - pn[2]), dist, 1e-12));
      double on_surface;
      cylinder_point_dist_3d(p1, p2, r, pn, on_surface);
      EXPECT_TRUE(rel_near(on_surface, 0.0, 1e-12));
    }
  }
}

TEST(GeometryCylinders, PointOnASlantedAxisIsInside) {
  // |P - P1|^2 rounds below T^2 for this midpoint of the axis; the distance
  // from the axis is then 0, not the root of a negative number.
  const double p1[3] = {-2, 2, 2}, p2[3] = {3, -2, 0}, p[3] = {0.5, 0, 1};
  double dist, signed_dist, pn[3];
  bool inside;
  cylinder_point_dist_3d(p1, p2, 1.0, p, dist);
  cylinder_point_dist_signed_3d(p1, p2, 1.0, p, signed_dist);
  cylinder_point_inside_3d(p1, p2, 1.0, p, inside);
  cylinder_point_near_3d(p1, p2, 1.0, p, pn);
  EXPECT_EQ(dist, 1.0);
  EXPECT_EQ(signed_dist, -1.0);
  EXPECT_TRUE(inside);
  EXPECT_TRUE(rel_near(std::hypot(pn[0] - p[0], pn[1] - p[1], pn[2] - p[2]), 1.0, 1e-12));
}

TEST(GeometryCylinders, SampleDrawsRadiiThenAnglesThenHeights) {
  const double p1[3] = {1, 2, 3}, p2[3] = {1, 2, 7};
  const double r = 1.5, length = 4.0;
  const int32_t n = 5;
  seed_run_time_generator(1234);
  std::vector<double> u(3 * n);
  for (double& x : u) x = random_number();

  seed_run_time_generator(1234);
  std::vector<double> p = canaries(3 * n + 3);
  int32_t seed = 99;
  cylinder_sample_3d(p1, p2, r, n, seed, p.data());
  EXPECT_EQ(seed, 99);
  EXPECT_EQ(p[3 * n], testing::canary);
  const double next = random_number();  // exactly 3 N values were drawn
  seed_run_time_generator(1234);
  for (int i = 0; i < 3 * n; ++i) random_number();
  EXPECT_EQ(next, random_number());

  const double a0 = std::atan2(p[1] - p1[1], p[0] - p1[0]);
  for (int j = 0; j < n; ++j) {
    const double* q = &p[3 * j];
    EXPECT_TRUE(rel_near(std::hypot(q[0] - p1[0], q[1] - p1[1]), r * std::sqrt(u[j]), 1e-14)) << j;
    EXPECT_TRUE(rel_near(q[2] - p1[2], length * u[2 * n + j], 1e-14)) << j;
    // Angles about the axis differ by 2 pi times the differences of the draws.
    const double turn = std::remainder(std::atan2(q[1] - p1[1], q[0] - p1[0]) - a0 -
                                           testing::two_pi * (u[n + j] - u[n]), testing::two_pi);
    EXPECT_TRUE(rel_near(turn, 0.0, 1e-12)) << j;
  }

  // Every point lies in the solid; the same seed repeats the sample.
  const double q1[3] = {-1, 0.5, 2}, q2[3] = {3, -2, 6};
  std::vector<double> s1(3 * 200), s2(3 * 200);
  seed_run_time_generator(77);
  cylinder_sample_3d(q1, q2, 0.75, 200, seed, s1.data());
  seed_run_time_generator(77);
  cylinder_sample_3d(q1, q2, 0.75, 200, seed, s2.data());
  EXPECT_EQ(s1, s2);
  for (int j = 0; j < 200; ++j) {
    double signed_dist;
    cylinder_point_dist_signed_3d(q1, q2, 0.75, &s1[3 * j], signed_dist);
    EXPECT_LE(signed_dist, 1e-14) << j;
  }
  std::vector<double> none = canaries(3);
  cylinder_sample_3d(q1, q2, 0.75, 0, seed, none.data());
  EXPECT_EQ(none, canaries(3));
}

}  // namespace
}  // namespace orvel::geometry
