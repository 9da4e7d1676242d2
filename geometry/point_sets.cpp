#include "geometry/point_sets.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/reals.hpp"
#include "geometry/triangles.hpp"

namespace orvel::geometry {
namespace {

// COLIN = |area| / (sqrt(3) / 4 side^2) with side the mean side length.
double colin_measure(int32_t dim, const double* p1, const double* p2, const double* p3, double area) {
  if (area == 0.0) return 0.0;
  const double side =
      (r8vec_distance(dim, p2, p1) + r8vec_distance(dim, p3, p2) + r8vec_distance(dim, p1, p3)) / 3.0;
  return std::fabs(area) / (0.4330127018922193 * side * side);
}

// The 2 by 3 or 3 by 3 triangle of three points.
void triangle_of(int32_t dim, const double* p1, const double* p2, const double* p3, double* t) {
  const mat_ref T(t, dim, 3);
  const vec_ref P1(p1, dim), P2(p2, dim), P3(p3, dim);
  for (int32_t i = 1; i <= dim; ++i) {
    T(i, 1) = P1(i);
    T(i, 2) = P2(i);
    T(i, 3) = P3(i);
  }
}

}  // namespace

bool points_avoid_point_naive_2d(int32_t n, const double* pset, const double* p) {
  const mat_ref PSET(pset, 2, n);
  for (int32_t j = 1; j <= n; ++j) {
    if (r8vec_distance(2, PSET.col(j), p) < 2.220446049250313e-14) return false;
  }
  return true;
}

void points_bisect_line_imp_2d(const double* p1, const double* p2, double& a, double& b, double& c) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  a = P1(1) - P2(1);
  b = P1(2) - P2(2);
  c = -0.5 * (P1(1) * P1(1) + P1(2) * P1(2) - P2(1) * P2(1) - P2(2) * P2(2));
}

void points_bisect_line_par_2d(const double* p1, const double* p2, double& f, double& g, double& x0, double& y0) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  x0 = 0.5 * (P1(1) + P2(1));
  y0 = 0.5 * (P1(2) + P2(2));
  double ff = -(P2(2) - P1(2)), gg = P2(1) - P1(1);
  const double norm = std::sqrt(ff * ff + gg * gg);
  if (norm != 0.0) {
    ff = ff / norm;
    gg = gg / norm;
  }
  if (ff < 0.0) {
    ff = -ff;
    gg = -gg;
  }
  f = ff;
  g = gg;
}

void points_centroid_2d(int32_t n, const double* p, int32_t& centroid_index) {
  centroid_index = -1;
  const mat_ref P(p, 2, n);
  double best = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    double s = 0.0;
    for (int32_t j = 1; j <= n; ++j) s += r8vec_normsq_affine(2, P.col(i), P.col(j));
    if (i == 1 || s < best) {
      best = s;
      centroid_index = i;
    }
  }
}

void points_colin_2d(const double* p1, const double* p2, const double* p3, double& colin) {
  double t[6], area;
  triangle_of(2, p1, p2, p3, t);
  triangle_area_2d(t, area);
  colin = colin_measure(2, p1, p2, p3, area);
}

void points_colin_3d(const double* p1, const double* p2, const double* p3, double& colin) {
  double t[9], area;
  triangle_of(3, p1, p2, p3, t);
  triangle_area_3d(t, area);
  colin = colin_measure(3, p1, p2, p3, area);
}

void points_dist_nd(int32_t dim_num, const double* p1, const double* p2, double& dist) {
  dist = r8vec_distance(dim_num, p1, p2);
}

void points_point_near_naive_nd(int32_t dim_num, int32_t nset, const double* pset, const double* ptest,
                                int32_t& i_min, double& d_min) {
  double d = r8_largest();
  i_min = -1;
  const mat_ref PSET(pset, dim_num, nset);
  for (int32_t j = 1; j <= nset; ++j) {
    const double s = r8vec_normsq_affine(dim_num, ptest, PSET.col(j));
    if (s < d) {
      d = s;
      i_min = j;
    }
  }
  d_min = std::sqrt(d);
}

void points_hull_2d(int32_t node_num, const double* node_xy, int32_t& hull_num, int32_t* hull) {
  const mat_ref XY(node_xy, 2, node_num);
  const vec_ref HULL(hull, node_num);
  if (node_num < 1) {
    hull_num = 0;
    return;
  }
  if (node_num <= 2) {
    hull_num = 1;
    HULL(1) = 1;
    if (node_num == 2 && !r8vec_eq(2, XY.col(1), XY.col(2))) {
      hull_num = 2;
      HULL(2) = 2;
    }
    return;
  }
  // The lowest of the leftmost points, the first of exact duplicates.
  int32_t q = 1;
  for (int32_t j = 2; j <= node_num; ++j) {
    if (XY(1, j) < XY(1, q) || (XY(1, j) == XY(1, q) && XY(2, j) < XY(2, q))) q = j;
  }
  double qxy[2] = {XY(1, q), XY(2, q)};
  // The incoming edge of the start comes from straight below it.
  double pxy[2] = {qxy[0], qxy[1] - 1.0};
  hull_num = 1;
  HULL(1) = q;
  for (;;) {
    // The next vertex makes the largest counterclockwise angle from the
    // incoming edge; of collinear candidates the nearer comes first.
    int32_t r = 0;
    double ar = 0.0, dr = 0.0;
    for (int32_t j = 1; j <= node_num; ++j) {
      if (j == q || (XY(1, j) == qxy[0] && XY(2, j) == qxy[1])) continue;
      const double aj = angle_rad_2d(pxy, qxy, XY.col(j));
      const double dj = r8vec_normsq_affine(2, XY.col(j), qxy);
      if (r == 0 || aj > ar || (aj == ar && dj < dr)) {
        r = j;
        ar = aj;
        dr = dj;
      }
    }
    if (r == 0 || r == HULL(1)) return;
    hull_num = hull_num + 1;
    if (hull_num > node_num) fatal("POINTS_HULL_2D", {"  The algorithm has failed."});
    HULL(hull_num) = r;
    pxy[0] = qxy[0];
    pxy[1] = qxy[1];
    qxy[0] = XY(1, r);
    qxy[1] = XY(2, r);
    q = r;
  }
}

}  // namespace orvel::geometry

