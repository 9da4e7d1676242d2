#include "geometry/transforms.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::expect_fatal;

using tmat = std::vector<double>;

tmat identity() {
  tmat a(16);
  tmat_init(a.data());
  return a;
}

std::vector<double> image(const tmat& a, std::vector<double> x) {
  std::vector<double> y(3);
  tmat_mxp(a.data(), x.data(), y.data());
  return y;
}

void expect_near3(const std::vector<double>& got, const std::vector<double>& want, double tol) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tol) << "coordinate " << i + 1;
}

// A transformation with random linear part and translation, row 4 (0, 0, 0, 1).
tmat random_tmat(int32_t& seed) {
  tmat a = testing::random_matrix(4, 4, -2.0, 2.0, seed);
  a[3] = a[7] = a[11] = 0.0;
  a[15] = 1.0;
  return a;
}

TEST(GeometryTransforms, IdentityFixesEveryPoint) {
  const tmat a = identity();
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) EXPECT_EQ(a[4 * j + i], i == j ? 1.0 : 0.0);
  int32_t seed = 5;
  for (int k = 0; k < 20; ++k) {
    const auto x = testing::random_points(3, 1, -100.0, 100.0, seed);
    EXPECT_EQ(image(a, x), x);
  }
}

TEST(GeometryTransforms, BuildersMapPointsByHand) {
  const tmat id = identity();
  tmat b(16);
  const struct {
    const char* axis;
    double angle;
    std::vector<double> x, y;
  } rot[] = {
      {"z", 90, {1, 0, 0}, {0, 1, 0}},    {"Z", 90, {0, 1, 0}, {-1, 0, 0}}, {"X", 90, {0, 1, 0}, {0, 0, 1}},
      {"x", -90, {0, 1, 0}, {0, 0, -1}},  {"Y", 90, {0, 0, 1}, {1, 0, 0}},  {"y", 180, {1, 2, 3}, {-1, 2, -3}},
      {"Z", 45, {1, 0, 5}, {std::sqrt(0.5), std::sqrt(0.5), 5}},
  };
  for (const auto& r : rot) {
    tmat_rot_axis(id.data(), r.angle, r.axis, b.data());
    expect_near3(image(b, r.x), r.y, 1e-15);
  }

  // Shears with S = 2 on the point (1, 2, 3), both cases of every code.
  const struct {
    const char* upper;
    const char* lower;
    std::vector<double> y;
  } shear[] = {{"XY", "xy", {5, 2, 3}}, {"XZ", "xz", {7, 2, 3}}, {"YX", "yx", {1, 4, 3}},
               {"YZ", "yz", {1, 8, 3}}, {"ZX", "zx", {1, 2, 5}}, {"ZY", "zy", {1, 2, 7}}};
  for (const auto& s : shear) {
    tmat_shear(id.data(), s.upper, 2.0, b.data());
    EXPECT_EQ(image(b, {1, 2, 3}), s.y) << s.upper;
    tmat_shear(id.data(), s.lower, 2.0, b.data());
    EXPECT_EQ(image(b, {1, 2, 3}), s.y) << s.lower;
  }
  tmat_shear(id.data(), "xy", 2.0, b.data());
  EXPECT_EQ(image(b, {1, 1, 0}), (std::vector<double>{3, 1, 0}));

  const double s[3] = {2, 3, 4};
  tmat_scale(id.data(), s, b.data());
  EXPECT_EQ(image(b, {1, 1, 1}), (std::vector<double>{2, 3, 4}));
  const double v[3] = {1, 2, 3};
  tmat_trans(id.data(), v, b.data());
  EXPECT_EQ(image(b, {0, 0, 0}), (std::vector<double>{1, 2, 3}));
}

TEST(GeometryTransforms, BuildersActAfterTheGivenTransformation) {
  const tmat id = identity();
  const double s[3] = {2, -3, 0.5}, v[3] = {10, 20, 30};
  tmat scaled(16), both(16);
  // Scale, then translate: X goes to S X + V.
  tmat_scale(id.data(), s, scaled.data());
  tmat_trans(scaled.data(), v, both.data());
  EXPECT_EQ(image(both, {1, 1, 1}), (std::vector<double>{12, 17, 30.5}));
  // Translate, then scale: the translation column is scaled too, S (X + V).
  tmat moved(16);
  tmat_trans(id.data(), v, moved.data());
  tmat_scale(moved.data(), s, both.data());
  EXPECT_EQ(image(both, {1, 1, 1}), (std::vector<double>{22, -63, 15.5}));
  // A translation after a rotation adds to the rotation's own column 4.
  tmat rotated(16);
  tmat_rot_axis(moved.data(), 90, "z", rotated.data());
  tmat_trans(rotated.data(), v, both.data());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(both[12 + i], rotated[12 + i] + v[i]);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(both[i], rotated[i]);
  // Every builder equals tmat_mxm with its elementary matrix on the left.
  int32_t seed = 808;
  const tmat a = random_tmat(seed);
  tmat c(16), b(16), want(16);
  tmat_rot_axis(id.data(), 33, "y", c.data());
  tmat_rot_axis(a.data(), 33, "y", b.data());
  tmat_mxm(c.data(), a.data(), want.data());
  EXPECT_EQ(b, want);
  tmat_shear(id.data(), "ZX", -1.5, c.data());
  tmat_shear(a.data(), "ZX", -1.5, b.data());
  tmat_mxm(c.data(), a.data(), want.data());
  EXPECT_EQ(b, want);
}

TEST(GeometryTransforms, ProductsAndPointLists) {
  int32_t seed = 2718;
  for (int k = 0; k < 50; ++k) {
    const tmat a = random_tmat(seed), b = random_tmat(seed), c = random_tmat(seed);
    tmat ab(16), ab_c(16), bc(16), a_bc(16);
    tmat_mxm(a.data(), b.data(), ab.data());
    tmat_mxm(ab.data(), c.data(), ab_c.data());
    tmat_mxm(b.data(), c.data(), bc.data());
    tmat_mxm(a.data(), bc.data(), a_bc.data());
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(ab_c[i], a_bc[i], 1e-13);
    // The image under A B is the image under B, then under A.
    const auto x = testing::random_points(3, 1, -5.0, 5.0, seed);
    expect_near3(image(ab, x), image(a, image(b, x)), 1e-13);

    // A list of points maps column by column exactly as one point does, and
    // tmat_mxv is the same computation.
    const int32_t n = 7;
    const auto p = testing::random_points(3, n, -5.0, 5.0, seed);
    std::vector<double> p2(3 * n);
    tmat_mxp2(a.data(), n, p.data(), p2.data());
    for (int j = 0; j < n; ++j) {
      const std::vector<double> col(p.begin() + 3 * j, p.begin() + 3 * j + 3);
      std::vector<double> y(3);
      tmat_mxv(a.data(), col.data(), y.data());
      EXPECT_EQ(std::vector<double>(p2.begin() + 3 * j, p2.begin() + 3 * j + 3), image(a, col));
      EXPECT_EQ(y, image(a, col));
    }
  }
  const tmat id = identity();
  const double p[3] = {1, 2, 3};
  auto p2 = canaries(3);
  tmat_mxp2(id.data(), 0, p, p2.data());
  EXPECT_EQ(p2, canaries(3));
}

TEST(GeometryTransforms, RotationAboutAVector) {
  const tmat id = identity();
  const struct {
    const char* code;
    double axis[3];
  } axes[] = {{"X", {1, 0, 0}}, {"Y", {0, 1, 0}}, {"Z", {0, 0, 1}}, {"z", {0, 0, 2}}, {"x", {0.5, 0, 0}}};
  for (double angle : {0.0, 17.0, 90.0, -135.0, 400.0}) {
    for (const auto& a : axes) {
      tmat b1(16), b2(16);
      tmat_rot_axis(id.data(), angle, a.code, b1.data());
      tmat_rot_vector(id.data(), angle, a.axis, b2.data());
      EXPECT_EQ(b1, b2) << a.code << " " << angle;
    }
  }
  // The axis is fixed and a normal vector turns by the angle.
  const double axis[3] = {1, 2, 2};
  tmat b(16);
  tmat_rot_vector(id.data(), 60, axis, b.data());
  expect_near3(image(b, {2, 4, 4}), {2, 4, 4}, 1e-14);
  const std::vector<double> n = {2, -1, 0}, w = image(b, n);
  EXPECT_NEAR(w[0] * n[0] + w[1] * n[1] + w[2] * n[2], 5 * 0.5, 1e-14);
  // A zero axis leaves B exactly as it was.
  const double zero[3] = {0, 0, 0};
  auto kept = canaries(16);
  tmat_rot_vector(id.data(), 30, zero, kept.data());
  EXPECT_EQ(kept, canaries(16));
}

TEST(GeometryTransforms, IllegalAxisCodesEndTheRun) {
  const tmat id = identity();
  tmat b(16);
  for (const char* code : {"W", "1", " "}) {
    expect_fatal([&] { tmat_rot_axis(id.data(), 10, code, b.data()); },
                 {" ", "TMAT_ROT_AXIS - Fatal error!", std::string("  Illegal rotation axis: ") + code});
  }
  for (const char* code : {"Xy", "xY", "XX", "zz", "AB", "X "}) {
    expect_fatal([&] { tmat_shear(id.data(), code, 1.0, b.data()); },
                 {" ", "TMAT_SHEAR - Fatal error!", std::string("  Illegal shear axis: \"") + code + "\".",
                  "  Legal choices are XY, XZ, YX, YZ, ZX, or ZY."});
  }
}

}  // namespace
}  // namespace orvel::geometry
