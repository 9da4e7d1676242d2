#include "geometry/rotations.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/reals.hpp"
#include "geometry/transforms.hpp"
#include "geometry/vectors.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;

const double pi = 3.141592653589793;

using vec = std::vector<double>;

vec product(const vec& q1, const vec& q2) {
  vec q3(4);
  quat_mul(q1.data(), q2.data(), q3.data());
  return q3;
}

TEST(GeometryRotations, QuaternionAlgebraByHand) {
  const vec one = {1, 0, 0, 0}, i = {0, 1, 0, 0}, j = {0, 0, 1, 0}, k = {0, 0, 0, 1};
  const vec minus_one = {-1, 0, 0, 0}, minus_k = {0, 0, 0, -1};
  const struct {
    vec a, b, ab;
  } rows[] = {{i, i, minus_one}, {i, j, k},         {j, i, minus_k},    {j, k, i}, {k, i, j},
              {k, k, minus_one}, {one, k, k},       {{1, 2, 3, 4}, {5, 6, 7, 8}, {-60, 12, 30, 24}}};
  for (const auto& r : rows) EXPECT_EQ(product(r.a, r.b), r.ab);

  vec q2(4);
  const vec q = {1, 1, 1, 1};
  quat_inv(q.data(), q2.data());
  EXPECT_EQ(q2, (vec{0.25, -0.25, -0.25, -0.25}));
  quat_conj(q.data(), q2.data());
  EXPECT_EQ(q2, (vec{1, -1, -1, -1}));
  const vec q5 = {1, 2, 2, 4};
  EXPECT_EQ(quat_norm(q5.data()), 5.0);
  // The zero quaternion has no inverse: zero comes back.
  const vec zero = {0, 0, 0, 0};
  q2 = {9, 9, 9, 9};
  quat_inv(zero.data(), q2.data());
  EXPECT_EQ(q2, zero);

  int32_t seed = 77;
  for (int n = 0; n < 100; ++n) {
    const vec a = testing::random_points(4, 1, -3.0, 3.0, seed), b = testing::random_points(4, 1, -3.0, 3.0, seed);
    quat_inv(a.data(), q2.data());
    EXPECT_TRUE(testing::vec_rel_near(product(a, q2), one, 1e-15));
    EXPECT_TRUE(testing::vec_rel_near(product(q2, a), one, 1e-15));
    // The norm is multiplicative; the conjugate of a product is the product
    // of the conjugates in the other order.
    const vec ab = product(a, b);
    EXPECT_TRUE(rel_near(quat_norm(ab.data()), quat_norm(a.data()) * quat_norm(b.data()), 1e-14));
    vec ca(4), cb(4), cab(4);
    quat_conj(a.data(), ca.data());
    quat_conj(b.data(), cb.data());
    quat_conj(ab.data(), cab.data());
    EXPECT_TRUE(testing::vec_rel_near(cab, product(cb, ca), 1e-13));
  }
}

TEST(GeometryRotations, FormsByHand) {
  vec a(9), q(4), w(3), axis(3);
  const vec z5 = {0, 0, 5};
  rotation_axis2mat_3d(z5.data(), pi / 2, a.data());
  EXPECT_TRUE(testing::vec_rel_near(a, {0, 1, 0, -1, 0, 0, 0, 0, 1}, 1e-16));  // rows (0,-1,0), (1,0,0), (0,0,1)
  const vec zero = {0, 0, 0};
  a.assign(9, 7.0);
  rotation_axis2mat_3d(zero.data(), 1.0, a.data());
  EXPECT_EQ(a, vec(9, 0.0));

  const vec z2 = {0, 0, 2};
  rotation_axis2quat_3d(z2.data(), pi, q.data());
  EXPECT_TRUE(testing::vec_rel_near(q, {0, 0, 0, 1}, 1e-16));

  const struct {
    vec axis;
    double angle;
    vec v, w;
  } turns[] = {{{0, 0, 1}, pi / 2, {1, 0, 3}, {0, 1, 3}},
               {{0, 0, -4}, pi / 2, {1, 0, 3}, {0, -1, 3}},
               {{1, 1, 0}, pi, {1, 0, 0}, {0, 1, 0}},
               {{0, 0, 1}, 0.7, {0, 0, 5}, {0, 0, 5}},  // along the axis
               {{0, 0, 0}, 0.7, {1, 2, 3}, {0, 0, 0}}};  // zero axis
  for (const auto& t : turns) {
    rotation_axis_vector_3d(t.axis.data(), t.angle, t.v.data(), w.data());
    EXPECT_TRUE(testing::vec_rel_near(w, t.w, 1e-15));
  }

  // Matrix to axis: the quarter turn about z.
  double angle = -1;
  rotation_mat2axis_3d(vec{0, 1, 0, -1, 0, 0, 0, 0, 1}.data(), axis.data(), angle);
  EXPECT_EQ(axis, (vec{0, 0, 1}));
  EXPECT_TRUE(rel_near(angle, pi / 2, 1e-15));

  const struct {
    vec q, axis;
    double angle;
  } quats[] = {{{1, 0, 0, 0}, {1, 0, 0}, 0},
               {{2, 0, 0, 0}, {1, 0, 0}, 0},
               {{-1, 0, 0, 0}, {1, 0, 0}, 2 * pi},
               {{0, 0, 0, 3}, {0, 0, 1}, pi},
               {{1, 0, -1, 0}, {0, -1, 0}, pi / 2},
               {{-1, 0, 0, -1}, {0, 0, -1}, 3 * pi / 2}};
  for (const auto& c : quats) {
    rotation_quat2axis_3d(c.q.data(), axis.data(), angle);
    EXPECT_EQ(axis, c.axis);
    EXPECT_TRUE(rel_near(angle, c.angle, 1e-15));
  }
}

TEST(GeometryRotations, EveryFormTurnsAVectorAlike) {
  int32_t seed = 1234;
  const vec id = [] {
    vec m(16);
    tmat_init(m.data());
    return m;
  }();
  for (int n = 0; n < 300; ++n) {
    // Axes of any length, angles of either sign and beyond a full turn.
    vec axis = testing::random_direction(3, seed);
    const double length = r8_uniform(0.01, 100.0, seed);
    for (double& x : axis) x *= length;
    const double angle = r8_uniform(-8.0, 8.0, seed);
    const vec v = testing::random_points(3, 1, -10.0, 10.0, seed);

    vec w1(3), w2(3), w3(3), w4(3), w5(3), a(9), q(4), b(16);
    rotation_axis_vector_3d(axis.data(), angle, v.data(), w1.data());
    rotation_axis2mat_3d(axis.data(), angle, a.data());
    rotation_mat_vector_3d(a.data(), v.data(), w2.data());
    rotation_axis2quat_3d(axis.data(), angle, q.data());
    rotation_quat_vector_3d(q.data(), v.data(), w3.data());
    vector_rotate_3d(v.data(), axis.data(), angle, w4.data());
    tmat_rot_vector(id.data(), angle * 180.0 / pi, axis.data(), b.data());
    tmat_mxp(b.data(), v.data(), w5.data());
    const double tol = 1e-13;
    EXPECT_TRUE(testing::vec_rel_near(w2, w1, tol));
    EXPECT_TRUE(testing::vec_rel_near(w3, w1, tol));
    EXPECT_TRUE(testing::vec_rel_near(w4, w1, tol));
    EXPECT_TRUE(testing::vec_rel_near(w5, w1, tol));

    // Length and the component along the axis are kept.
    EXPECT_TRUE(rel_near(r8vec_norm(3, w1.data()), r8vec_norm(3, v.data()), 1e-14));
    EXPECT_NEAR(r8vec_dot_product(3, w1.data(), axis.data()) / length,
                r8vec_dot_product(3, v.data(), axis.data()) / length, 1e-13);
    // The quaternion is a unit one whatever the length of the axis.
    EXPECT_TRUE(rel_near(quat_norm(q.data()), 1.0, 1e-15));
  }
}

TEST(GeometryRotations, ConversionsRoundTrip) {
  int32_t seed = 4242;
  for (int n = 0; n < 300; ++n) {
    const vec u = testing::random_direction(3, seed);
    vec axis = u;
    const double length = r8_uniform(0.1, 10.0, seed);
    for (double& x : axis) x *= length;
    const double angle = r8_uniform(0.01, pi - 0.01, seed);

    vec a(9), q(4), axis2(3), a2(9), q2(4);
    double angle2 = -1;
    rotation_axis2mat_3d(axis.data(), angle, a.data());
    rotation_mat2axis_3d(a.data(), axis2.data(), angle2);
    EXPECT_TRUE(testing::vec_rel_near(axis2, u, 1e-13));
    EXPECT_NEAR(angle2, angle, 1e-12);

    rotation_axis2quat_3d(axis.data(), angle, q.data());
    rotation_quat2axis_3d(q.data(), axis2.data(), angle2);
    EXPECT_TRUE(testing::vec_rel_near(axis2, u, 1e-14));
    EXPECT_NEAR(angle2, angle, 1e-14);

    // Matrix to quaternion and back.
    const vec r = testing::random_rotation(seed);
    rotation_mat2quat_3d(r.data(), q2.data());
    rotation_quat2mat_3d(q2.data(), a2.data());
    EXPECT_TRUE(testing::vec_rel_near(a2, r, 1e-12));

    // The matrix of a product of unit quaternions is the product of the
    // matrices.
    vec qa(4), qb(4), qab(4), ma(9), mb(9), mab(9);
    rotation_axis2quat_3d(testing::random_direction(3, seed).data(), r8_uniform(-4.0, 4.0, seed), qa.data());
    rotation_axis2quat_3d(testing::random_direction(3, seed).data(), r8_uniform(-4.0, 4.0, seed), qb.data());
    quat_mul(qa.data(), qb.data(), qab.data());
    rotation_quat2mat_3d(qa.data(), ma.data());
    rotation_quat2mat_3d(qb.data(), mb.data());
    rotation_quat2mat_3d(qab.data(), mab.data());
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) {
        double s = 0;
        for (int k = 0; k < 3; ++k) s += ma[3 * k + i] * mb[3 * j + k];
        EXPECT_NEAR(mab[3 * j + i], s, 1e-13);
      }
  }
}

TEST(GeometryRotations, ImpossibleInputsEndTheRun) {
  const vec zero = {0, 0, 0};
  vec q(4), axis(3);
  expect_fatal([&] { rotation_axis2quat_3d(zero.data(), 1.0, q.data()); },
               {" ", "ROTATION_AXIS2QUAT_3D - Fatal error!", "  The axis vector is null."});
  // The identity and every half turn have a symmetric matrix.
  vec half(9);
  rotation_axis2mat_3d(vec{1, 2, 2}.data(), pi, half.data());
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) half[3 * j + i] = half[3 * i + j];  // exactly symmetric
  for (const vec& a : {vec{1, 0, 0, 0, 1, 0, 0, 0, 1}, vec{-1, 0, 0, 0, -1, 0, 0, 0, 1}, half}) {
    double angle;
    expect_fatal([&] { rotation_mat2axis_3d(a.data(), axis.data(), angle); },
                 {" ", "ROTATION_MAT2AXIS_3D - Fatal error!", "  A is not a rotation matrix,",
                  "  or there are multiple axes of rotation."});
    expect_fatal([&] { rotation_mat2quat_3d(a.data(), q.data()); },
                 {" ", "ROTATION_MAT2QUAT_3D - Fatal error!", "  A is not a rotation matrix,",
                  "  or there are multiple axes of rotation."});
  }
}

}  // namespace
}  // namespace orvel::geometry
