#include "geometry/sphere_measures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::rel_near;

const double pi = 3.141592653589793;

double cap_area(int32_t n, double r, double h) {
  double a = -7;
  sphere_cap_area_nd(n, r, h, a);
  return a;
}
double cap_volume(int32_t n, double r, double h) {
  double v = -7;
  sphere_cap_volume_nd(n, r, h, v);
  return v;
}
double whole_area(int32_t n, double r) {
  double a = -7;
  sphere_imp_area_nd(n, r, a);
  return a;
}
double whole_volume(int32_t n, double r) {
  double v = -7;
  sphere_imp_volume_nd(n, r, v);
  return v;
}

TEST(GeometrySphereMeasures, UnitSphereByHand) {
  const struct {
    int32_t n;
    double area, volume;
  } rows[] = {{1, 2, 2},
              {2, 2 * pi, pi},
              {3, 4 * pi, 4 * pi / 3},
              {4, 2 * pi * pi, pi * pi / 2},
              {5, 8 * pi * pi / 3, 8 * pi * pi / 15},
              {6, pi * pi * pi, pi * pi * pi / 6}};
  for (const auto& r : rows) {
    EXPECT_TRUE(rel_near(sphere_unit_area_nd(r.n), r.area, 1e-15)) << r.n;
    EXPECT_TRUE(rel_near(sphere_unit_volume_nd(r.n), r.volume, 1e-15)) << r.n;
    EXPECT_TRUE(rel_near(sphere_k(r.n), r.area, 1e-15)) << r.n;
  }
  // The sphere factor is the area in every dimension, and the area of the
  // sphere of radius R is N times the volume of its ball over R.
  for (int32_t n = 1; n <= 20; ++n) {
    EXPECT_TRUE(rel_near(sphere_k(n), sphere_unit_area_nd(n), 1e-14)) << n;
    for (double r : {0.5, 1.0, 3.0}) EXPECT_TRUE(rel_near(whole_area(n, r), n * whole_volume(n, r) / r, 1e-14)) << n;
  }
  for (double r : {0.0, 0.25, 1.0, 7.5}) {
    double a3, v3;
    sphere_imp_area_3d(r, a3);
    sphere_imp_volume_3d(r, v3);
    EXPECT_TRUE(rel_near(a3, whole_area(3, r), 1e-15));
    EXPECT_TRUE(rel_near(v3, whole_volume(3, r), 1e-15));
    EXPECT_TRUE(rel_near(a3, 4 * pi * r * r, 1e-15));
  }
}

TEST(GeometrySphereMeasures, StoredTablesAndTheirIterators) {
  const int32_t area_dims[] = {2, 3, 4, 5, 6, 7, 8, 9, 10};
  int32_t k = 0, dim = -1, calls = 0;
  double value = -1;
  for (int32_t want : area_dims) {
    sphere_unit_area_values(k, dim, value);
    ++calls;
    EXPECT_EQ(k, calls);
    EXPECT_EQ(dim, want);
    EXPECT_TRUE(rel_near(value, sphere_unit_area_nd(dim), 1e-14)) << dim;
  }
  sphere_unit_area_values(k, dim, value);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(dim, 0);
  EXPECT_EQ(value, 0.0);
  // The first row as stored, and a negative K starting over.
  k = -5;
  sphere_unit_area_values(k, dim, value);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(dim, 2);
  EXPECT_EQ(value, 6.28318530717959);

  k = 0;
  for (int32_t want = 1; want <= 10; ++want) {
    sphere_unit_volume_values(k, dim, value);
    EXPECT_EQ(k, want);
    EXPECT_EQ(dim, want);
    EXPECT_TRUE(rel_near(value, sphere_unit_volume_nd(dim), 1e-14)) << dim;
  }
  EXPECT_EQ(value, 2.55016403987735);
  sphere_unit_volume_values(k, dim, value);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(dim, 0);
  EXPECT_EQ(value, 0.0);
  k = 1000;
  sphere_unit_volume_values(k, dim, value);
  EXPECT_EQ(k, 0);
}

TEST(GeometrySphereMeasures, CapsByHand) {
  const struct {
    double r, h, area3, volume3, area2, volume2;
  } rows[] = {
      {1, 0.5, pi, 5 * pi / 24, 2 * pi / 3, pi / 3 - std::sqrt(3.0) / 4},
      {1, 1, 2 * pi, 2 * pi / 3, pi, pi / 2},
      {1, 1.5, 3 * pi, 27 * pi / 24, 4 * pi / 3, 2 * pi / 3 + std::sqrt(3.0) / 4},
      {2, 1, 4 * pi, 5 * pi / 3, 4 * pi / 3, 4 * pi / 3 - std::sqrt(3.0)},
      {1, 3, 4 * pi, 4 * pi / 3, 2 * pi, pi},     // beyond the sphere: all of it
      {1, 2, 4 * pi, 4 * pi / 3, 2 * pi, pi},
      {1, -1, 0, 0, 0, 0},
      {1, 0, 0, 0, 0, 0},
  };
  for (const auto& c : rows) {
    double a3, v3, a2, v2;
    sphere_cap_area_3d(c.r, c.h, a3);
    sphere_cap_volume_3d(c.r, c.h, v3);
    sphere_cap_area_2d(c.r, c.h, a2);
    sphere_cap_volume_2d(c.r, c.h, v2);
    EXPECT_TRUE(rel_near(a3, c.area3, 1e-15)) << c.r << " " << c.h;
    EXPECT_TRUE(rel_near(v3, c.volume3, 1e-15)) << c.r << " " << c.h;
    EXPECT_TRUE(rel_near(a2, c.area2, 1e-15)) << c.r << " " << c.h;
    EXPECT_TRUE(rel_near(v2, c.volume2, 1e-15)) << c.r << " " << c.h;
  }
  // No dimensions: -1 inside, the whole-sphere formula or 0 outside.
  EXPECT_EQ(cap_volume(0, 1, 0.5), -1.0);
  EXPECT_EQ(cap_area(0, 1, 0.5), -1.0);
  EXPECT_EQ(cap_area(-2, 1, 1.5), -1.0);
  EXPECT_EQ(cap_volume(0, 1, 3), whole_volume(0, 1));
  EXPECT_EQ(cap_area(0, 1, -1), 0.0);
  // One dimension: the cap is a segment of length H; its boundary is one
  // point below the middle and both beyond it.
  EXPECT_EQ(cap_volume(1, 1, 0.5), 0.5);
  EXPECT_EQ(cap_volume(1, 1, 1.5), 1.5);
  EXPECT_EQ(cap_area(1, 1, 0.5), 0.0);
  EXPECT_EQ(cap_area(1, 1, 1.5), 2.0);
}

TEST(GeometrySphereMeasures, CapsInAnyDimension) {
  int32_t seed = 151;
  for (int k = 0; k < 200; ++k) {
    const double r = r8_uniform(0.1, 5.0, seed);
    const double h = r8_uniform(-0.2 * r, 2.2 * r, seed);
    // The N-dimensional caps agree with the plane and space ones.
    double a2, v2, a3, v3;
    sphere_cap_area_2d(r, h, a2);
    sphere_cap_volume_2d(r, h, v2);
    sphere_cap_area_3d(r, h, a3);
    sphere_cap_volume_3d(r, h, v3);
    EXPECT_TRUE(rel_near(cap_area(2, r, h), a2, 1e-13)) << r << " " << h;
    EXPECT_TRUE(rel_near(cap_volume(2, r, h), v2, 1e-13)) << r << " " << h;
    EXPECT_TRUE(rel_near(cap_area(3, r, h), a3, 1e-13)) << r << " " << h;
    EXPECT_TRUE(rel_near(cap_volume(3, r, h), v3, 1e-13)) << r << " " << h;

    for (int32_t n = 1; n <= 10; ++n) {
      // A cap and its complement make the whole sphere and the whole ball.
      EXPECT_TRUE(rel_near(cap_area(n, r, h) + cap_area(n, r, 2 * r - h), whole_area(n, r), 1e-13)) << n;
      EXPECT_TRUE(rel_near(cap_volume(n, r, h) + cap_volume(n, r, 2 * r - h), whole_volume(n, r), 1e-13)) << n;
      // Below the middle the cap and the cone from the centre to its rim
      // fill the sector, whose volume is its area times R / N.
      if (n >= 2 && h > 0 && h < r) {
        const double rim = std::sqrt((2 * r - h) * h);
        const double cone = sphere_unit_volume_nd(n - 1) * std::pow(rim, n - 1) * (r - h) / n;
        EXPECT_TRUE(rel_near(cap_area(n, r, h) * r / n, cap_volume(n, r, h) + cone, 1e-12)) << n;
      }
    }
  }
}

TEST(GeometrySphereMeasures, CapVolumeIsTheIntegralOfItsSlices) {
  // Slices at distance x from the centre are balls of dimension N - 1 and
  // radius sqrt(R^2 - x^2); Simpson's rule over [R - H, R].
  for (int32_t n : {4, 5, 6}) {
    for (double h : {0.3, 1.0, 1.7}) {
      const double r = 1.3;
      const int m = 4000;
      const double a = r - h, step = h / m;
      double sum = 0;
      for (int i = 0; i <= m; ++i) {
        const double x = a + i * step;
        const double w = (i == 0 || i == m) ? 1 : (i % 2 ? 4 : 2);
        sum += w * sphere_unit_volume_nd(n - 1) * std::pow(std::max(r * r - x * x, 0.0), (n - 1) / 2.0);
      }
      EXPECT_TRUE(rel_near(cap_volume(n, r, h), sum * step / 3, 1e-7)) << n << " " << h;
    }
  }
}

TEST(GeometrySphereMeasures, Zones) {
  const struct {
    double r, h1, h2, area, volume;
  } rows[] = {{1, 0, 2, 4 * pi, 4 * pi / 3},  {1, -1, 0.5, 3 * pi, pi / 3 * 0.625},
              {1, 3, 4, 2 * pi, 0},           {1, 0.5, 0.5, 0, 0},
              {1, 1.5, 0.5, 2 * pi, 11 * pi / 12}, {2, -5, 9, 16 * pi, 32 * pi / 3}};
  for (const auto& z : rows) {
    double area, volume;
    sphere_imp_zone_area_3d(z.r, z.h1, z.h2, area);
    sphere_imp_zone_volume_3d(z.r, z.h1, z.h2, volume);
    EXPECT_TRUE(rel_near(area, z.area, 1e-15)) << z.h1 << " " << z.h2;
    EXPECT_TRUE(rel_near(volume, z.volume, 1e-15)) << z.h1 << " " << z.h2;
  }
  // A zone is the difference of the caps measured from the top.
  int32_t seed = 4;
  for (int k = 0; k < 200; ++k) {
    const double r = r8_uniform(0.1, 5.0, seed);
    const double h1 = r8_uniform(-0.5 * r, 2.5 * r, seed), h2 = r8_uniform(-0.5 * r, 2.5 * r, seed);
    double area, volume, c1, c2;
    sphere_imp_zone_volume_3d(r, h1, h2, volume);
    sphere_cap_volume_3d(r, 2 * r - std::min(h1, h2), c1);
    sphere_cap_volume_3d(r, 2 * r - std::max(h1, h2), c2);
    EXPECT_NEAR(volume, c1 - c2, 1e-12 * r * r * r);
    if (h1 >= 0 && h1 <= 2 * r && h2 >= 0 && h2 <= 2 * r) {
      sphere_imp_zone_area_3d(r, h1, h2, area);
      sphere_cap_area_3d(r, 2 * r - std::min(h1, h2), c1);
      sphere_cap_area_3d(r, 2 * r - std::max(h1, h2), c2);
      EXPECT_NEAR(area, c1 - c2, 1e-12 * r * r);
    }
  }
}

}  // namespace
}  // namespace orvel::geometry
