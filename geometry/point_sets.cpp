#include "geometry/point_sets.hpp"

#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/reals.hpp"
#include "geometry/sorting.hpp"
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
  // The distinct points in ascending order of x, then y, each by the first
  // column that holds it: the first is the start (the lowest of the leftmost
  // points), the last the far end of the set.
  std::vector<int32_t> order(static_cast<std::size_t>(node_num));
  r82vec_sort_heap_index_a(node_num, node_xy, order.data());
  std::vector<int32_t> pts;
  pts.reserve(order.size());
  for (const int32_t j : order) {
    if (!pts.empty() && r8vec_eq(2, XY.col(pts.back()), XY.col(j))) {
      if (j < pts.back()) pts.back() = j;
    } else {
      pts.push_back(j);
    }
  }
  const int32_t q = pts.front(), far = pts.back();
  hull_num = 1;
  HULL(1) = q;
  if (pts.size() == 1) return;
  // Every point on one line: the hull is the segment between the ends.
  bool flat = true;
  for (const int32_t j : pts) flat = flat && r8vec_cross_product_affine_2d(XY.col(q), XY.col(far), XY.col(j)) == 0.0;
  if (flat) {
    hull_num = 2;
    HULL(2) = far;
    return;
  }
  // The lower chain from the start to the far end, then the upper chain
  // back, each keeping a point while the chain turns left or runs straight
  // on there (so points inside an edge stay, nearest first).  One cross
  // product decides each turn, so nearly collinear points cannot send the
  // walk back along itself; the upper chain passes over the points of the
  // lower one, so none is listed twice.
  const auto right_turn = [&](int32_t a, int32_t b, int32_t c) {
    return r8vec_cross_product_affine_2d(XY.col(a), XY.col(b), XY.col(c)) < 0.0;
  };
  std::vector<int32_t> chain;
  chain.reserve(pts.size() + 1);
  for (const int32_t j : pts) {
    while (chain.size() >= 2 && right_turn(chain[chain.size() - 2], chain.back(), j)) chain.pop_back();
    chain.push_back(j);
  }
  const std::size_t lower = chain.size();
  std::vector<bool> on_lower(static_cast<std::size_t>(node_num) + 1, false);
  for (const int32_t j : chain) on_lower[j] = true;
  for (std::size_t k = pts.size() - 1; k-- > 0;) {
    const int32_t j = pts[k];
    if (on_lower[j] && j != q) continue;
    while (chain.size() > lower && right_turn(chain[chain.size() - 2], chain.back(), j)) chain.pop_back();
    chain.push_back(j);
  }
  // The chain closes on the start again.
  hull_num = static_cast<int32_t>(chain.size()) - 1;
  for (int32_t k = 1; k <= hull_num; ++k) HULL(k) = chain[k - 1];
}

}  // namespace orvel::geometry

