#include "geometry/spherical.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::rel_near;
using testing::vec_rel_near;

constexpr double pi = 3.141592653589793;
constexpr double largest = 1.7976931348623157e308;

std::vector<double> xyz(double lat, double lon, double r = 1.0) {
  return {r * std::cos(lat) * std::cos(lon), r * std::cos(lat) * std::sin(lon), r * std::sin(lat)};
}

double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

std::vector<double> cross(const double* a, const double* b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The angle between two vectors, by atan2 of the cross and dot products.
double between(const double* a, const double* b) {
  const std::vector<double> c = cross(a, b);
  return std::atan2(std::sqrt(dot(c.data(), c.data())), dot(a, b));
}

TEST(GeometrySpherical, DistancesByHand) {
  const struct {
    double lat1, lon1, lat2, lon2, dist;
  } rows[] = {{0, 0, 0, pi / 2, pi / 2}, {0, 0, 0, pi, pi}, {pi / 2, 0, 0, 0, pi / 2}};
  for (const auto& r : rows) {
    double d1, d2, d3;
    sphere_distance1(r.lat1, r.lon1, r.lat2, r.lon2, 1.0, d1);
    sphere_distance2(r.lat1, r.lon1, r.lat2, r.lon2, 1.0, d2);
    sphere_distance3(r.lat1, r.lon1, r.lat2, r.lon2, 1.0, d3);
    EXPECT_TRUE(rel_near(d1, r.dist, 1e-15)) << r.lon2;
    EXPECT_TRUE(rel_near(d2, r.dist, 1e-15)) << r.lon2;
    EXPECT_TRUE(rel_near(d3, r.dist, 1e-15)) << r.lon2;
  }
  const double a[3] = {2, 0, 0}, b[3] = {0, 2, 0};
  double d;
  sphere_distance_xyz(a, b, d);
  EXPECT_TRUE(rel_near(d, pi, 1e-15));
  // Points off the unit sphere keep their latitudes: +-pi/4 here, a right
  // angle between them on the sphere of radius 2.
  const double s = std::sqrt(2.0);
  const double c[3] = {s, 0, s}, e[3] = {s, 0, -s};
  sphere_distance_xyz(c, e, d);
  EXPECT_TRUE(rel_near(d, pi, 1e-15));
  sphere01_distance_xyz(c, e, d);
  EXPECT_TRUE(rel_near(d, pi / 2, 1e-15));
  // (2, 0, 1) and (0, 2, 1), both of length sqrt(5): the cosine of the angle
  // between them is 1/5, and haversine of the latitudes asin(1/sqrt(5)) and
  // longitudes 0 and pi/2 gives the same angle, about 1.3694.
  const double f[3] = {2, 0, 1}, g[3] = {0, 2, 1};
  const double lat = std::asin(1 / std::sqrt(5.0));
  const double h = std::sin(pi / 4);
  const double angle = 2 * std::asin(std::sqrt(std::cos(lat) * std::cos(lat) * h * h));
  EXPECT_TRUE(rel_near(angle, std::acos(0.2), 1e-15));
  sphere01_distance_xyz(f, g, d);
  EXPECT_TRUE(rel_near(d, angle, 1e-15));
  sphere_distance_xyz(f, g, d);
  EXPECT_TRUE(rel_near(d, std::sqrt(5.0) * angle, 1e-15));  // about 3.0622
  // The origin has latitude and longitude 0.
  const double o[3] = {0, 0, 0};
  sphere01_distance_xyz(o, g, d);
  EXPECT_TRUE(rel_near(d, pi / 2, 1e-15));
}

TEST(GeometrySpherical, DistancesAgreeOnRandomPairs) {
  int32_t seed = 123;
  for (int k = 0; k < 300; ++k) {
    const double lat1 = r8_uniform(-1.5, 1.5, seed), lon1 = r8_uniform(-3, 3, seed);
    const double lat2 = r8_uniform(-1.5, 1.5, seed), lon2 = r8_uniform(-3, 3, seed);
    const double r = r8_uniform(0.5, 5, seed);
    const std::vector<double> p = xyz(lat1, lon1), q = xyz(lat2, lon2);
    const double angle = between(p.data(), q.data());
    if (angle < 1e-3 || angle > pi - 1e-3) continue;
    double d1, d2, d3, d01, dxyz;
    sphere_distance1(lat1, lon1, lat2, lon2, r, d1);
    sphere_distance2(lat1, lon1, lat2, lon2, r, d2);
    sphere_distance3(lat1, lon1, lat2, lon2, r, d3);
    sphere01_distance_xyz(p.data(), q.data(), d01);
    EXPECT_TRUE(rel_near(d01, angle, 1e-13)) << k;
    EXPECT_TRUE(rel_near(d1, r * d01, 1e-12)) << k;
    EXPECT_TRUE(rel_near(d2, r * d01, 1e-12)) << k;
    EXPECT_TRUE(rel_near(d3, r * d01, 1e-13)) << k;
    // On the sphere of radius r: the same angle, scaled by r.
    const std::vector<double> pr = {p[0] * r, p[1] * r, p[2] * r};
    double a01;
    sphere01_distance_xyz(pr.data(), pr.data(), a01);
    EXPECT_EQ(a01, 0.0);
    const std::vector<double> qr = {q[0] * r, q[1] * r, q[2] * r};
    sphere_distance_xyz(pr.data(), qr.data(), dxyz);
    double a;
    sphere01_distance_xyz(pr.data(), qr.data(), a);
    EXPECT_TRUE(rel_near(a, angle, 1e-13)) << k;
    EXPECT_TRUE(rel_near(dxyz, r * angle, 1e-13)) << k;
    sphere_distance_xyz(p.data(), q.data(), dxyz);
    EXPECT_TRUE(rel_near(dxyz, d01, 1e-15)) << k;
  }
}

TEST(GeometrySpherical, OctantTriangle) {
  for (const double r : {1.0, 2.0}) {
    const double v1[3] = {r, 0, 0}, v2[3] = {0, r, 0}, v3[3] = {0, 0, r};
    double as, bs, cs, a, b, c, area, g[3];
    sphere_triangle_vertices_to_sides(r, v1, v2, v3, as, bs, cs);
    EXPECT_TRUE(vec_rel_near({as, bs, cs}, {r * pi / 2, r * pi / 2, r * pi / 2}, 1e-15));
    sphere_triangle_vertices_to_angles(r, v1, v2, v3, a, b, c);
    EXPECT_TRUE(vec_rel_near({a, b, c}, {pi / 2, pi / 2, pi / 2}, 1e-15));
    sphere_triangle_vertices_to_area(r, v1, v2, v3, area);
    EXPECT_TRUE(rel_near(area, r * r * pi / 2, 1e-15));
    sphere_triangle_vertices_to_centroid(r, v1, v2, v3, g);
    const double t = r / std::sqrt(3.0);
    EXPECT_TRUE(vec_rel_near({g[0], g[1], g[2]}, {t, t, t}, 1e-15));
  }
  const double v1[3] = {1, 0, 0}, v2[3] = {0, 1, 0}, v3[3] = {0, 0, 1};
  double as, bs, cs, a, b, c, area, g[3], m1[3], m2[3], m3[3];
  sphere01_triangle_vertices_to_sides(v1, v2, v3, as, bs, cs);
  EXPECT_TRUE(vec_rel_near({as, bs, cs}, {pi / 2, pi / 2, pi / 2}, 1e-15));
  sphere01_triangle_vertices_to_angles(v1, v2, v3, a, b, c);
  EXPECT_TRUE(vec_rel_near({a, b, c}, {pi / 2, pi / 2, pi / 2}, 1e-15));
  sphere01_triangle_vertices_to_area(v1, v2, v3, area);
  EXPECT_TRUE(rel_near(area, pi / 2, 1e-15));
  sphere01_triangle_vertices_to_centroid(v1, v2, v3, g);
  const double t = 1 / std::sqrt(3.0), h = 1 / std::sqrt(2.0);
  EXPECT_TRUE(vec_rel_near({g[0], g[1], g[2]}, {t, t, t}, 1e-15));
  sphere01_triangle_vertices_to_midpoints(v1, v2, v3, m1, m2, m3);
  EXPECT_TRUE(vec_rel_near({m1[0], m1[1], m1[2], m2[0], m2[1], m2[2], m3[0], m3[1], m3[2]},
                           {h, h, 0, 0, h, h, h, 0, h}, 1e-15));
  int32_t orient;
  sphere_triangle_vertices_to_orientation(v1, v2, v3, orient);
  EXPECT_EQ(orient, 1);
  sphere_triangle_vertices_to_orientation(v2, v1, v3, orient);
  EXPECT_EQ(orient, -1);

  const double lat[3] = {0, 0, pi / 2}, lon[3] = {0, pi / 2, 0};
  EXPECT_TRUE(rel_near(sphere01_polygon_area(3, lat, lon), pi / 2, 1e-15));
  EXPECT_EQ(sphere01_polygon_area(0, lat, lon), 0.0);

  const struct {
    double p[3], dist;
  } rows[] = {{{1, 1, 1}, 1}, {{-1, -1, -1}, -1}, {{0, 0, 0}, -largest}, {{2, -1, -1}, 0}};
  for (const auto& r : rows) {
    double dist;
    sphere_triangle_contains_point(v1, v2, v3, r.p, dist);
    EXPECT_TRUE(rel_near(dist, r.dist, 1e-15)) << r.p[0];
  }
  const double w2[3] = {2, 0, 0}, w3[3] = {3, 0, 0}, p[3] = {1, 1, 1};
  double dist;
  sphere_triangle_contains_point(v1, w2, w3, p, dist);
  EXPECT_EQ(dist, -largest);
}

TEST(GeometrySpherical, SmallTrianglesAgree) {
  int32_t seed = 8642;
  for (int k = 0; k < 200; ++k) {
    const double lat0 = r8_uniform(-1.0, 1.0, seed), lon0 = r8_uniform(-3.0, 3.0, seed);
    const double size = r8_uniform(0.02, 0.3, seed);
    double lat[3], lon[3];
    for (int i = 0; i < 3; ++i) {  // counterclockwise seen from outside
      const double a = 2 * pi * i / 3 + r8_uniform(-0.3, 0.3, seed);
      lat[i] = lat0 + size * std::sin(a);
      lon[i] = lon0 + size * std::cos(a) / std::cos(lat0);
    }
    const std::vector<double> v1 = xyz(lat[0], lon[0]), v2 = xyz(lat[1], lon[1]), v3 = xyz(lat[2], lon[2]);
    // Van Oosterom and Strackee: tan(E / 2) = |V1 . V2 x V3| / (1 + V1.V2 + V2.V3 + V3.V1).
    const std::vector<double> n23 = cross(v2.data(), v3.data());
    const double excess = 2 * std::atan2(std::fabs(dot(v1.data(), n23.data())),
                                         1 + dot(v1.data(), v2.data()) + dot(v2.data(), v3.data()) +
                                             dot(v3.data(), v1.data()));
    double area01, area_r1, area_poly;
    sphere01_triangle_vertices_to_area(v1.data(), v2.data(), v3.data(), area01);
    sphere_triangle_vertices_to_area(1.0, v1.data(), v2.data(), v3.data(), area_r1);
    area_poly = sphere01_polygon_area(3, lat, lon);
    EXPECT_TRUE(rel_near(area01, excess, 1e-7)) << k;
    EXPECT_TRUE(rel_near(area_poly, excess, 1e-7)) << k;
    EXPECT_EQ(area_r1, area01);

    // Angles: from sides equal from vertices, and equal the angles between
    // the planes of the sides meeting at each vertex.
    double as, bs, cs, a, b, c, a2, b2, c2;
    sphere01_triangle_vertices_to_sides(v1.data(), v2.data(), v3.data(), as, bs, cs);
    sphere01_triangle_sides_to_angles(as, bs, cs, a, b, c);
    sphere01_triangle_vertices_to_angles(v1.data(), v2.data(), v3.data(), a2, b2, c2);
    EXPECT_EQ(std::vector<double>({a, b, c}), std::vector<double>({a2, b2, c2}));
    const std::vector<double> n12 = cross(v1.data(), v2.data()), n13 = cross(v1.data(), v3.data());
    EXPECT_TRUE(rel_near(a, between(n12.data(), n13.data()), 1e-8)) << k;
    EXPECT_TRUE(rel_near(as, between(v2.data(), v3.data()), 1e-10)) << k;

    // R = 1 against the unit-sphere twins, and scaling by R.
    double s1[3], ang1[3], g1[3], g01[3];
    sphere_triangle_vertices_to_sides(1.0, v1.data(), v2.data(), v3.data(), s1[0], s1[1], s1[2]);
    EXPECT_EQ(std::vector<double>(s1, s1 + 3), std::vector<double>({as, bs, cs}));
    sphere_triangle_sides_to_angles(1.0, as, bs, cs, ang1[0], ang1[1], ang1[2]);
    EXPECT_EQ(std::vector<double>(ang1, ang1 + 3), std::vector<double>({a, b, c}));
    sphere_triangle_vertices_to_angles(1.0, v1.data(), v2.data(), v3.data(), ang1[0], ang1[1], ang1[2]);
    EXPECT_EQ(std::vector<double>(ang1, ang1 + 3), std::vector<double>({a, b, c}));
    double e1, e01;
    sphere_triangle_angles_to_area(1.0, a, b, c, e1);
    sphere01_triangle_angles_to_area(a, b, c, e01);
    EXPECT_EQ(e1, e01);
    sphere_triangle_vertices_to_centroid(1.0, v1.data(), v2.data(), v3.data(), g1);
    sphere01_triangle_vertices_to_centroid(v1.data(), v2.data(), v3.data(), g01);
    EXPECT_EQ(std::vector<double>(g1, g1 + 3), std::vector<double>(g01, g01 + 3));
    const double r = r8_uniform(0.5, 4.0, seed);
    const std::vector<double> w1 = xyz(lat[0], lon[0], r), w2 = xyz(lat[1], lon[1], r), w3 = xyz(lat[2], lon[2], r);
    double area_r;
    sphere_triangle_vertices_to_area(r, w1.data(), w2.data(), w3.data(), area_r);
    EXPECT_TRUE(rel_near(area_r, r * r * excess, 1e-7)) << k;
    int32_t orient;
    sphere_triangle_vertices_to_orientation(v1.data(), v2.data(), v3.data(), orient);
    EXPECT_EQ(orient, 1);
    sphere_triangle_vertices_to_orientation(v1.data(), v3.data(), v2.data(), orient);
    EXPECT_EQ(orient, -1);
  }
}

TEST(GeometrySpherical, UnclampedRoutinesGiveNaN) {
  // A unit vector whose dot product with itself rounds to 1 + 2^-52.
  const double v[3] = {-0.31698744451299626, -0.7480583484598153, 0.5830331614245401};
  const double w[3] = {0, 0, 1};
  double as, bs, cs;
  sphere01_triangle_vertices_to_sides(v, v, w, as, bs, cs);
  EXPECT_TRUE(std::isnan(cs));
  sphere_triangle_vertices_to_sides(1.0, v, v, w, as, bs, cs);
  EXPECT_EQ(cs, 0.0);
  // The law of cosines for a point and itself: the argument rounds past 1.
  double d1, d2, d3;
  sphere_distance1(-1.2076370708073685, -2.184186838795987, -1.2076370708073685, -2.184186838795987, 1.0, d1);
  sphere_distance2(-1.2076370708073685, -2.184186838795987, -1.2076370708073685, -2.184186838795987, 1.0, d2);
  sphere_distance3(-1.2076370708073685, -2.184186838795987, -1.2076370708073685, -2.184186838795987, 1.0, d3);
  EXPECT_TRUE(std::isnan(d1));
  EXPECT_EQ(d2, 0.0);
  EXPECT_EQ(d3, 0.0);

  // A degenerate triangle has non-finite angles; vertices about the origin
  // a non-finite centroid.
  const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, mx[3] = {-1, 0, 0}, o[3] = {0, 0, 0};
  double a, b, c, g[3];
  sphere01_triangle_vertices_to_angles(x, x, y, a, b, c);
  EXPECT_FALSE(std::isfinite(a) && std::isfinite(b) && std::isfinite(c));
  sphere01_triangle_vertices_to_centroid(x, mx, o, g);
  EXPECT_FALSE(std::isfinite(g[0]));
}

}  // namespace
}  // namespace orvel::geometry
