#include "geometry/quads.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/line_forms.hpp"
#include "geometry/parallelograms.hpp"
#include "geometry/point_sets.hpp"
#include "geometry/random.hpp"
#include "geometry/segments.hpp"
#include "geometry/triangles.hpp"

namespace orvel::geometry {
namespace {

constexpr double hexagon_factor = 2.598076211353316;
constexpr double half_root_three = 0.8660254037844386;
constexpr double root_three = 1.7320508075688772;

// M(:,k) = the midpoint of edge k, in dim dimensions.
void edge_midpoints(int32_t dim, const double* q, double* m) {
  const mat_ref Q(q, dim, 4);
  const mat_ref M(m, dim, 4);
  for (int32_t k = 1; k <= 4; ++k) {
    const int32_t k1 = k % 4 + 1;
    for (int32_t i = 1; i <= dim; ++i) M(i, k) = (Q(i, k) + Q(i, k1)) / 2.0;
  }
}

void set_point(double* p, double x, double y) {
  const vec_ref P(p, 2);
  P(1) = x;
  P(2) = y;
}

}  // namespace

void quad_area_2d(const double* q, double& area) {
  const mat_ref Q(q, 2, 4);
  double t[6], a1, a2;
  const mat_ref T(t, 2, 3);
  const int32_t first[3] = {1, 2, 3}, second[3] = {3, 4, 1};
  for (int32_t j = 1; j <= 3; ++j)
    for (int32_t i = 1; i <= 2; ++i) T(i, j) = Q(i, first[j - 1]);
  triangle_area_2d(t, a1);
  for (int32_t j = 1; j <= 3; ++j)
    for (int32_t i = 1; i <= 2; ++i) T(i, j) = Q(i, second[j - 1]);
  triangle_area_2d(t, a2);
  area = a1 + a2;
}

void quad_area2_2d(const double* q, double& area) {
  double m[8], a;
  edge_midpoints(2, q, m);
  parallelogram_area_2d(m, a);
  area = 2.0 * a;
}

void quad_area_3d(const double* q, double& area) {
  double m[12], a;
  edge_midpoints(3, q, m);
  parallelogram_area_3d(m, a);
  area = 2.0 * a;
}

void quad_contains_point_2d(const double* q, const double* p, bool& inside) {
  const mat_ref Q(q, 2, 4);
  // The sector at vertex k, tested at vertices 2, 3, 4, 1 in turn.
  for (int32_t k : {2, 3, 4, 1}) {
    angle_contains_point_2d(Q.col((k + 2) % 4 + 1), Q.col(k), Q.col(k % 4 + 1), p, inside);
    if (!inside) return;
  }
}

void quad_point_dist_2d(const double* q, const double* p, double& dist) {
  const mat_ref Q(q, 2, 4);
  double best = r8_largest();
  for (int32_t k = 1; k <= 4; ++k) {
    double d;
    segment_point_dist_2d(Q.col(k), Q.col(k % 4 + 1), p, d);
    if (d < best) best = d;
  }
  dist = best;
}

void quad_point_dist_signed_2d(const double* q, const double* p, double& dist) {
  const mat_ref Q(q, 2, 4);
  double best = 0.0;
  for (int32_t k = 1; k <= 4; ++k) {
    const double* a = Q.col(k);
    const double* b = Q.col(k % 4 + 1);
    // The midpoint of the opposite edge lies on the interior side.
    const int32_t o1 = (k + 1) % 4 + 1, o2 = (k + 2) % 4 + 1;
    const double ref[2] = {(Q(1, o1) + Q(1, o2)) / 2.0, (Q(2, o1) + Q(2, o2)) / 2.0};
    double d, r;
    line_exp_point_dist_signed_2d(a, b, p, d);
    line_exp_point_dist_signed_2d(a, b, ref, r);
    if (r > 0.0) d = -d;
    if (k == 1 || d > best) best = d;
  }
  dist = best;
}

void quad_point_near_2d(const double* q, const double* p, double* pn, double& dist) {
  const mat_ref Q(q, 2, 4);
  const vec_ref PN(pn, 2);
  dist = r8_largest();
  for (int32_t k = 1; k <= 4; ++k) {
    double near[2], d, t;
    segment_point_near_2d(Q.col(k), Q.col(k % 4 + 1), p, near, d, t);
    if (d < dist) {
      dist = d;
      PN(1) = near[0];
      PN(2) = near[1];
    }
  }
}

void quad_convex_random(int32_t& seed, double* xy) {
  const mat_ref XY(xy, 2, 4);
  double xy_random[8];
  const mat_ref R(xy_random, 2, 4);
  int32_t hull[4], hull_num;
  do {
    r8mat_uniform_01(2, 4, seed, xy_random);
    points_hull_2d(4, xy_random, hull_num, hull);
  } while (hull_num < 4);
  for (int32_t j = 1; j <= 4; ++j) {
    XY(1, j) = R(1, hull[j - 1]);
    XY(2, j) = R(2, hull[j - 1]);
  }
}

double hexagon_area_2d(double r) { return hexagon_factor * r * r; }

double hexagon_unit_area_2d() { return hexagon_factor; }

bool hexagon_contains_point_2d(const double* v, const double* p) {
  const mat_ref V(v, 2, 6);
  const vec_ref P(p, 2);
  for (int32_t j = 1; j <= 6; ++j) {
    const int32_t j1 = j % 6 + 1;
    if (V(1, j) * (V(2, j1) - P(2)) + V(1, j1) * (P(2) - V(2, j)) + P(1) * (V(2, j) - V(2, j1)) < 0.0) return false;
  }
  return true;
}

void hexagon_shape_2d(double angle, double* p) {
  double a = std::fmod(angle, 360.0);
  if (a < 0.0) a = a + 360.0;
  const double s = half_root_three;
  double x, y;
  // Each boundary angle belongs to the interval that it closes; a
  // non-finite ANGLE falls through to the last one.
  if (0.0 <= a && a <= 60.0) {
    x = root_three / (root_three + tan_deg(a));
    y = tan_deg(a) * x;
  } else if (a <= 120.0) {
    y = s;
    x = cot_deg(a) * s;
  } else if (a <= 180.0) {
    x = root_three / (tan_deg(a) - root_three);
    y = tan_deg(a) * x;
  } else if (a <= 240.0) {
    x = -root_three / (root_three + tan_deg(a));
    y = tan_deg(a) * x;
  } else if (a <= 300.0) {
    y = -s;
    x = cot_deg(a) * (-s);
  } else {
    x = -root_three / (tan_deg(a) - root_three);
    y = tan_deg(a) * x;
  }
  set_point(p, x, y);
}

void hexagon_vertices_2d(double* p) {
  const mat_ref P(p, 2, 6);
  const double s = half_root_three;
  const double xs[6] = {1.0, 0.5, -0.5, -1.0, -0.5, 0.5}, ys[6] = {0.0, s, s, 0.0, -s, -s};
  for (int32_t j = 1; j <= 6; ++j) {
    P(1, j) = xs[j - 1];
    P(2, j) = ys[j - 1];
  }
}

}  // namespace orvel::geometry
