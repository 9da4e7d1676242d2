#include "geometry/boxes.hpp"

#include "geometry/angles.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {

bool box_01_contains_point_2d(const double* p) {
  const vec_ref P(p, 2);
  return 0.0 <= P(1) && P(1) <= 1.0 && 0.0 <= P(2) && P(2) <= 1.0;
}

bool box_01_contains_point_nd(int32_t dim_num, const double* p) {
  const vec_ref P(p, dim_num);
  for (int32_t i = 1; i <= dim_num; ++i)
    if (P(i) < 0.0 || 1.0 < P(i)) return false;
  return true;
}

bool box_contains_point_2d(const double* p1, const double* p2, const double* p) {
  const vec_ref P1(p1, 2), P2(p2, 2), P(p, 2);
  return P1(1) <= P(1) && P(1) <= P2(1) && P1(2) <= P(2) && P(2) <= P2(2);
}

bool box_contains_point_nd(int32_t dim_num, const double* p1, const double* p2, const double* p) {
  const vec_ref P1(p1, dim_num), P2(p2, dim_num), P(p, dim_num);
  for (int32_t i = 1; i <= dim_num; ++i)
    if (P(i) < P1(i) || P2(i) < P(i)) return false;
  return true;
}

bool box_contains_segment_nd(int32_t dim_num, const double* p1, const double* p2, const double* pa,
                             const double* pb) {
  return box_contains_point_nd(dim_num, p1, p2, pa) && box_contains_point_nd(dim_num, p1, p2, pb);
}

void box_ray_int_2d(const double* p1, const double* p2, const double* pa, const double* pb, double* pint) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  const double corners[5][2] = {{P1(1), P1(2)}, {P2(1), P1(2)}, {P2(1), P2(2)}, {P1(1), P2(2)}, {P1(1), P1(2)}};
  for (int side = 0; side < 4; ++side) {
    const double* pd = corners[side];
    const double* pc = corners[side + 1];
    if (angle_rad_2d(pc, pa, pb) <= angle_rad_2d(pc, pa, pd)) {
      int32_t ival;
      lines_exp_int_2d(pa, pb, pd, pc, ival, pint);
      return;
    }
  }
  fatal("BOX_RAY_INT_2D", {"  No intersection could be found."});
}

void box_segment_clip_2d(const double* p1, const double* p2, double* pa, double* pb, int32_t& ival) {
  const vec_ref P1(p1, 2), P2(p2, 2);
  const vec_ref PA(pa, 2), PB(pb, 2);
  bool moved_a = false, moved_b = false;
  // Coordinate k against the bound `bound`; `below` marks a lower bound.
  // The other coordinate of the moved end follows the line through the
  // current PA and PB.
  const auto clip = [&](int32_t k, double bound, bool below) {
    const auto outside = [&](double x) { return below ? x < bound : bound < x; };
    const bool out_a = outside(PA(k)), out_b = outside(PB(k));
    if (out_a && out_b) return false;
    if (!out_a && !out_b) return true;
    const int32_t o = 3 - k;
    const double other = PA(o) + (bound - PA(k)) * (PB(o) - PA(o)) / (PB(k) - PA(k));
    const vec_ref<double>& end = out_a ? PA : PB;
    end(o) = other;
    end(k) = bound;
    (out_a ? moved_a : moved_b) = true;
    return true;
  };
  if (!clip(1, P1(1), true) || !clip(1, P2(1), false) || !clip(2, P1(2), true) || !clip(2, P2(2), false)) {
    ival = -1;
    return;
  }
  ival = (moved_a ? 1 : 0) + (moved_b ? 2 : 0);
}

bool halfplane_contains_point_2d(const double* pa, const double* pb, const double* p) {
  const vec_ref PA(pa, 2), PB(pb, 2), P(p, 2);
  const double area = 0.5 * (PA(1) * (PB(2) - P(2)) + PB(1) * (P(2) - PA(2)) + P(1) * (PA(2) - PB(2)));
  return area >= 0.0;
}

void halfspace_triangle_int_3d(double dist1, double dist2, double dist3, const double* t, int32_t& int_num,
                               double* pint) {
  const mat_ref T(t, 3, 3);
  const mat_ref PINT(pint, 3, 4);
  const double dist[3] = {dist1, dist2, dist3};
  int_num = 0;
  for (int32_t k = 1; k <= 3; ++k) {
    const int32_t next = k % 3 + 1;
    const double dk = dist[k - 1], dn = dist[next - 1];
    if (dk <= 0.0) {
      int_num = int_num + 1;
      for (int32_t i = 1; i <= 3; ++i) PINT(i, int_num) = T(i, k);
    }
    if (dk * dn < 0.0) {
      int_num = int_num + 1;
      for (int32_t i = 1; i <= 3; ++i) PINT(i, int_num) = (dk * T(i, next) - dn * T(i, k)) / (dk - dn);
    }
  }
}

void halfspace_imp_triangle_int_3d(double a, double b, double c, double d, const double* t, int32_t& int_num,
                                   double* pint) {
  const mat_ref T(t, 3, 3);
  double dist[3];
  for (int32_t k = 1; k <= 3; ++k) dist[k - 1] = a * T(1, k) + b * T(2, k) + c * T(3, k) + d;
  halfspace_triangle_int_3d(dist[0], dist[1], dist[2], t, int_num, pint);
}

void halfspace_normal_triangle_int_3d(const double* pp, const double* pn, const double* t, int32_t& int_num,
                                      double* pint) {
  const mat_ref T(t, 3, 3);
  const double d = -r8vec_dot_product(3, pn, pp);
  double dist[3];
  for (int32_t k = 1; k <= 3; ++k) dist[k - 1] = r8vec_dot_product(3, pn, T.col(k)) + d;
  halfspace_triangle_int_3d(dist[0], dist[1], dist[2], t, int_num, pint);
}

}  // namespace orvel::geometry
