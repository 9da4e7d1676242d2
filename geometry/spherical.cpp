#include "geometry/spherical.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double half_pi = 1.5707963267948966;
constexpr double two_pi = 6.283185307179586;

// The angles of a spherical triangle from its sides (as angles), by the
// half-angle formulas; nothing guards a degenerate triangle.
void half_angles(double as, double bs, double cs, double& a, double& b, double& c) {
  const double s = (as + bs + cs) / 2.0;
  const double ss = std::sin(s), sa = std::sin(s - as), sb = std::sin(s - bs), sc = std::sin(s - cs);
  a = 2.0 * std::atan(std::sqrt((sb * sc) / (ss * sa)));
  b = 2.0 * std::atan(std::sqrt((sc * sa) / (ss * sb)));
  c = 2.0 * std::atan(std::sqrt((sa * sb) / (ss * sc)));
}

// Latitude and longitude of the direction of a point of space: the third
// coordinate is divided by the point's length, so that a point off the unit
// sphere keeps its latitude (a point of the unit sphere is unchanged).  The
// origin has latitude 0.
void lat_lon(const double* p, double& lat, double& lon) {
  const vec_ref P(p, 3);
  const double norm = r8vec_norm(3, p);
  lat = arc_sine(norm == 0.0 ? 0.0 : P(3) / norm);
  lon = atan4(P(2), P(1));
}

double xyz_angle(const double* p1, const double* p2) {
  double lat1, lon1, lat2, lon2, angle;
  lat_lon(p1, lat1, lon1);
  lat_lon(p2, lat2, lon2);
  sphere_distance3(lat1, lon1, lat2, lon2, 1.0, angle);
  return angle;
}

void mean_on_sphere(double r, const double* v1, const double* v2, const double* v3, double* g) {
  const vec_ref V1(v1, 3), V2(v2, 3), V3(v3, 3);
  double m[3];
  for (int32_t i = 1; i <= 3; ++i) m[i - 1] = (V1(i) + V2(i) + V3(i)) / 3.0;
  const double norm = r8vec_norm(3, m);
  const vec_ref G(g, 3);
  for (int32_t i = 1; i <= 3; ++i) G(i) = r * m[i - 1] / norm;
}

}  // namespace

void sphere_distance1(double lat1, double lon1, double lat2, double lon2, double r, double& dist) {
  const double c = std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2);
  dist = r * std::acos(c);
}

void sphere_distance2(double lat1, double lon1, double lat2, double lon2, double r, double& dist) {
  const double s1 = std::sin((lat1 - lat2) / 2.0), s2 = std::sin((lon1 - lon2) / 2.0);
  dist = 2.0 * r * std::asin(std::sqrt(s1 * s1 + std::cos(lat1) * std::cos(lat2) * s2 * s2));
}

void sphere_distance3(double lat1, double lon1, double lat2, double lon2, double r, double& dist) {
  const double dl = lon1 - lon2;
  const double s1 = std::sin(lat1), c1 = std::cos(lat1), s2 = std::sin(lat2), c2 = std::cos(lat2);
  const double top1 = c2 * std::sin(dl), top2 = c1 * s2 - s1 * c2 * std::cos(dl);
  dist = r * std::atan2(std::sqrt(top1 * top1 + top2 * top2), s1 * s2 + c1 * c2 * std::cos(dl));
}

void sphere_distance_xyz(const double* p1, const double* p2, double& dist) {
  dist = r8vec_norm(3, p1) * xyz_angle(p1, p2);
}

void sphere01_distance_xyz(const double* p1, const double* p2, double& dist) { dist = xyz_angle(p1, p2); }

void sphere_triangle_vertices_to_sides(double r, const double* v1, const double* v2, const double* v3, double& as,
                                       double& bs, double& cs) {
  as = r * arc_cosine(r8vec_dot_product(3, v2, v3) / (r * r));
  bs = r * arc_cosine(r8vec_dot_product(3, v3, v1) / (r * r));
  cs = r * arc_cosine(r8vec_dot_product(3, v1, v2) / (r * r));
}

void sphere01_triangle_vertices_to_sides(const double* v1, const double* v2, const double* v3, double& as,
                                         double& bs, double& cs) {
  as = std::acos(r8vec_dot_product(3, v2, v3));
  bs = std::acos(r8vec_dot_product(3, v3, v1));
  cs = std::acos(r8vec_dot_product(3, v1, v2));
}

void sphere_triangle_sides_to_angles(double r, double as, double bs, double cs, double& a, double& b, double& c) {
  half_angles(as / r, bs / r, cs / r, a, b, c);
}

void sphere01_triangle_sides_to_angles(double as, double bs, double cs, double& a, double& b, double& c) {
  half_angles(as, bs, cs, a, b, c);
}

void sphere_triangle_vertices_to_angles(double r, const double* v1, const double* v2, const double* v3, double& a,
                                        double& b, double& c) {
  double as, bs, cs;
  sphere_triangle_vertices_to_sides(r, v1, v2, v3, as, bs, cs);
  sphere_triangle_sides_to_angles(r, as, bs, cs, a, b, c);
}

void sphere01_triangle_vertices_to_angles(const double* v1, const double* v2, const double* v3, double& a, double& b,
                                          double& c) {
  double as, bs, cs;
  sphere01_triangle_vertices_to_sides(v1, v2, v3, as, bs, cs);
  sphere01_triangle_sides_to_angles(as, bs, cs, a, b, c);
}

void sphere_triangle_angles_to_area(double r, double a, double b, double c, double& area) {
  area = r * r * (a + b + c - pi);
}

void sphere01_triangle_angles_to_area(double a, double b, double c, double& area) { area = a + b + c - pi; }

void sphere_triangle_vertices_to_area(double r, const double* v1, const double* v2, const double* v3, double& area) {
  double a, b, c;
  sphere_triangle_vertices_to_angles(r, v1, v2, v3, a, b, c);
  sphere_triangle_angles_to_area(r, a, b, c, area);
}

void sphere01_triangle_vertices_to_area(const double* v1, const double* v2, const double* v3, double& area) {
  double a, b, c;
  sphere01_triangle_vertices_to_angles(v1, v2, v3, a, b, c);
  sphere01_triangle_angles_to_area(a, b, c, area);
}

void sphere_triangle_vertices_to_centroid(double r, const double* v1, const double* v2, const double* v3, double* g) {
  mean_on_sphere(r, v1, v2, v3, g);
}

void sphere01_triangle_vertices_to_centroid(const double* v1, const double* v2, const double* v3, double* g) {
  mean_on_sphere(1.0, v1, v2, v3, g);
}

void sphere01_triangle_vertices_to_midpoints(const double* v1, const double* v2, const double* v3, double* m1,
                                             double* m2, double* m3) {
  const double* ends[3][2] = {{v1, v2}, {v2, v3}, {v3, v1}};
  double* mids[3] = {m1, m2, m3};
  for (int k = 0; k < 3; ++k) {
    const vec_ref A(ends[k][0], 3), B(ends[k][1], 3);
    double m[3];
    for (int32_t i = 1; i <= 3; ++i) m[i - 1] = (A(i) + B(i)) / 2.0;
    const double norm = r8vec_norm(3, m);
    const vec_ref M(mids[k], 3);
    for (int32_t i = 1; i <= 3; ++i) M(i) = m[i - 1] / norm;
  }
}

void sphere_triangle_vertices_to_orientation(const double* v1, const double* v2, const double* v3, int32_t& orient) {
  const vec_ref V1(v1, 3), V2(v2, 3), V3(v3, 3);
  double cd[3], a[3], b[3], cp[3];
  for (int32_t i = 1; i <= 3; ++i) {
    cd[i - 1] = (V1(i) + V2(i) + V3(i)) / 3.0;
    a[i - 1] = V3(i) - V2(i);
    b[i - 1] = V1(i) - V2(i);
  }
  r8vec_cross_product_3d(a, b, cp);
  orient = r8vec_dot_product(3, cp, cd) < 0.0 ? -1 : 1;
}

void sphere_triangle_contains_point(const double* v1, const double* v2, const double* v3, const double* p,
                                    double& dist) {
  double normal[3];
  r8vec_cross_product_affine_3d(v1, v2, v3, normal);
  const double normal_norm = r8vec_norm(3, normal);
  const double p_norm = r8vec_norm(3, p);
  if (normal_norm == 0.0 || p_norm == 0.0) {
    dist = -r8_largest();
    return;
  }
  const vec_ref P(p, 3);
  double pd[3];
  for (int32_t i = 0; i < 3; ++i) {
    normal[i] = normal[i] / normal_norm;
    pd[i] = P(i + 1) / p_norm;
  }
  dist = r8vec_dot_product(3, normal, pd);
}

double sphere01_polygon_area(int32_t n, const double* lat, const double* lon) {
  if (n < 1) return 0.0;
  const vec_ref LAT(lat, n), LON(lon, n);
  double sum = 0.0;
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t next = k < n ? k + 1 : 1;
    const double beta1 = LAT(k), lam1 = LON(k), beta2 = LAT(next), lam2 = LON(next);
    if (lam1 == lam2) continue;
    const double a =
        2.0 * std::asin(std::sqrt(haversine(beta2 - beta1) + std::cos(beta1) * std::cos(beta2) * haversine(lam2 - lam1)));
    const double b = half_pi - beta2, c = half_pi - beta1;
    const double s = (a + b + c) / 2.0;
    const double t = std::tan(s / 2.0) * std::tan((s - a) / 2.0) * std::tan((s - b) / 2.0) * std::tan((s - c) / 2.0);
    double excess = std::fabs(4.0 * std::atan(std::sqrt(std::fabs(t))));
    const double lam = lam1 < lam2 ? lam2 - lam1 : lam2 - lam1 + two_pi;
    if (lam > pi) excess = -excess;
    sum = sum + excess;
  }
  return std::fabs(sum);
}

}  // namespace orvel::geometry
