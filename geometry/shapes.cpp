#include "geometry/shapes.hpp"

#include <cmath>
#include <string>
#include <utility>

#include "common/format.hpp"
#include "geometry/angles.hpp"
#include "geometry/integers.hpp"
#include "geometry/line_pairs.hpp"
#include "geometry/reals.hpp"
#include "geometry/segments.hpp"
#include "geometry/sorting.hpp"
#include "geometry/vectors.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;

// Vertex k of the shape: P1 turned about PC by k steps of 360 / SIDE_NUM
// degrees.
void shape_vertex(const double* pc, const double* p1, int32_t side_num, int32_t k, double* v) {
  const double degrees = static_cast<double>(k) * (360.0 / static_cast<double>(side_num));
  vector_rotate_base_2d(p1, pc, degrees * (pi / 180.0), v);
}

// The sector of the shape, seen from PC, that holds P (P not at PC).
int32_t shape_sector(const double* pc, const double* p1, int32_t side_num, const double* p) {
  return trunc(angle_deg_2d(p, pc, p1) / (360.0 / static_cast<double>(side_num)));
}

void copy2(const double* a, double* b) {
  const vec_ref A(a, 2);
  const vec_ref B(b, 2);
  const double x = A(1), y = A(2);
  B(1) = x;
  B(2) = y;
}

}  // namespace

void shape_point_dist_2d(const double* pc, const double* p1, int32_t side_num, const double* p, double& dist) {
  const double radius = r8vec_distance(2, p1, pc);
  if (radius == 0.0) {
    dist = r8vec_distance(2, p, pc);
    return;
  }
  if (r8vec_eq(2, p, pc)) {
    dist = radius * std::cos(pi / static_cast<double>(side_num));
    return;
  }
  const int32_t k = shape_sector(pc, p1, side_num, p);
  double pa[2], pb[2];
  shape_vertex(pc, p1, side_num, k, pa);
  shape_vertex(pc, p1, side_num, wrap_add(k, 1), pb);
  segment_point_dist_2d(pa, pb, p, dist);
}

void shape_point_near_2d(const double* pc, const double* p1, int32_t side_num, const double* p, double* pn,
                         double& dist) {
  const double radius = r8vec_distance(2, p1, pc);
  if (radius == 0.0) {
    dist = r8vec_distance(2, p, pc);
    copy2(pc, pn);
    return;
  }
  if (r8vec_eq(2, p, pc)) {
    // The middle of the first edge.
    const double half = pi / static_cast<double>(side_num);
    const vec_ref PC(pc, 2);
    double turned[2];
    vector_rotate_base_2d(p1, pc, half, turned);
    dist = radius * std::cos(half);
    const vec_ref PN(pn, 2);
    const double x = PC(1) + std::cos(half) * (turned[0] - PC(1));
    const double y = PC(2) + std::cos(half) * (turned[1] - PC(2));
    PN(1) = x;
    PN(2) = y;
    return;
  }
  const int32_t k = shape_sector(pc, p1, side_num, p);
  double pa[2], pb[2], t;
  shape_vertex(pc, p1, side_num, k, pa);
  shape_vertex(pc, p1, side_num, wrap_add(k, 1), pb);
  segment_point_near_2d(pa, pb, p, pn, dist, t);
}

void shape_ray_int_2d(const double* pc, const double* p1, int32_t side_num, const double* pa, const double* pb,
                      double* pi) {
  if (r8vec_distance(2, p1, pc) == 0.0) fatal("SHAPE_RAY_INT_2D", {"  The shape has radius zero."});
  for (int32_t k = 1; k <= side_num; ++k) {
    double v1[2], v2[2];
    shape_vertex(pc, p1, side_num, k - 1, v1);
    shape_vertex(pc, p1, side_num, k, v2);
    if (angle_rad_2d(pb, pa, v1) <= angle_rad_2d(v2, pa, v1)) {
      int32_t ival;
      lines_exp_int_2d(pa, pb, v1, v2, ival, pi);
      return;
    }
  }
  fatal("SHAPE_RAY_INT_2D", {"  Cannot find intersection of ray and shape."});
}

void string_2d(int32_t vec_num, double* p1, double* p2, int32_t& string_num, int32_t* order, int32_t* string) {
  if (vec_num < 1) {
    string_num = 0;
    return;
  }
  const mat_ref P1(p1, 2, vec_num), P2(p2, 2, vec_num);
  const vec_ref ORDER(order, vec_num), STRING(string, vec_num);
  for (int32_t i = 1; i <= vec_num; ++i) {
    ORDER(i) = 0;
    STRING(i) = vec_num;
  }
  const auto reverse = [&](int32_t j) { r8vec_swap(2, P1.col(j), P2.col(j)); };

  // Segment j is free while STRING(j) > s, the number of the string growing.
  int32_t s = 1, seed = 1;
  STRING(1) = 1;
  for (;;) {
    double b[2], e[2];
    copy2(P1.col(seed), b);
    copy2(P2.col(seed), e);
    int32_t lo = 0, hi = 0;
    for (;;) {
      bool joined = false;
      for (int32_t j = 1; j <= vec_num; ++j) {
        if (STRING(j) <= s) continue;
        if (r8vec_eq(2, b, P1.col(j))) {
          reverse(j);
          ORDER(j) = --lo;
          copy2(P1.col(j), b);
        } else if (r8vec_eq(2, b, P2.col(j))) {
          ORDER(j) = --lo;
          copy2(P1.col(j), b);
        } else if (r8vec_eq(2, e, P1.col(j))) {
          ORDER(j) = ++hi;
          copy2(P2.col(j), e);
        } else if (r8vec_eq(2, e, P2.col(j))) {
          reverse(j);
          ORDER(j) = ++hi;
          copy2(P2.col(j), e);
        } else {
          continue;
        }
        STRING(j) = s;
        joined = true;
      }
      if (r8vec_eq(2, b, e) || !joined) break;
    }
    seed = 0;
    for (int32_t j = 1; j <= vec_num && seed == 0; ++j)
      if (STRING(j) > s) seed = j;
    if (seed == 0) break;
    s = s + 1;
    STRING(seed) = s;
  }
  string_num = s;

  // Sort by string, then by place along the string.
  const auto key = [&](int32_t k) { return std::pair(STRING(k), ORDER(k)); };
  run_external_sort(
      vec_num, [&](int32_t i, int32_t j) { return key(i) < key(j) ? -1 : key(j) < key(i) ? 1 : 0; },
      [&](int32_t i, int32_t j) {
        i4_swap(ORDER(i), ORDER(j));
        i4_swap(STRING(i), STRING(j));
        r8vec_swap(2, P1.col(i), P1.col(j));
        r8vec_swap(2, P2.col(i), P2.col(j));
      });
}

void angle_box_2d(double dist, const double* p1, const double* p2, const double* p3, double* p4, double* p5) {
  const vec_ref P1(p1, 2), P2(p2, 2), P3(p3, 2);
  const vec_ref P4(p4, 2), P5(p5, 2);
  const double x2 = P2(1), y2 = P2(2);
  // P4 = P2 + T + DIST U and P5 = P2 + T - DIST U.
  const auto put = [&](const double* t, const double* u) {
    P4(1) = x2 + t[0] + dist * u[0];
    P4(2) = y2 + t[1] + dist * u[1];
    P5(1) = x2 + t[0] - dist * u[0];
    P5(2) = y2 + t[1] - dist * u[1];
  };
  const double none[2] = {0.0, 0.0};
  if (dist == 0.0) {
    put(none, none);
    return;
  }
  const bool e12 = r8vec_eq(2, p1, p2), e23 = r8vec_eq(2, p2, p3);
  if (e12 && e23) {
    fatal("ANGLE_BOX_2D",
          {"  Input points P1 = P2 = P3.", "  P1 = " + fmt_g(P1(1), 14, 6) + fmt_g(P1(2), 14, 6)});
  }
  double u1[2] = {0.0, 0.0}, u2[2] = {0.0, 0.0};
  if (!e23) {
    const double len = r8vec_distance(2, p2, p3);
    u2[0] = (P3(2) - P2(2)) / len;
    u2[1] = (P2(1) - P3(1)) / len;
  }
  if (e12) {
    put(none, u2);
    return;
  }
  const double len12 = r8vec_distance(2, p1, p2);
  u1[0] = (P1(2) - P2(2)) / len12;
  u1[1] = (P2(1) - P1(1)) / len12;
  if (e23) {
    put(none, u1);
    return;
  }

  const double d1[2] = {P1(1) - P2(1), P1(2) - P2(2)}, d3[2] = {P3(1) - P2(1), P3(2) - P2(2)};
  const auto negate = [](double* u) {
    u[0] = -u[0];
    u[1] = -u[1];
  };
  double dot1 = r8vec_dot_product(2, u1, d3);
  if (dot1 < 0.0) {
    negate(u1);
    dot1 = -dot1;
  }
  double dot2 = r8vec_dot_product(2, u2, d1);
  if (dot2 < 0.0) {
    negate(u2);
    dot2 = -dot2;
  }
  if ((dot1 == 0.0 || dot2 == 0.0) && r8vec_dot_product(2, u1, u2) < 0.0) negate(u1);

  // Legs that nearly fold back on each other: a square end DIST beyond P2.
  const double len23 = r8vec_distance(2, p2, p3);
  if (-(r8vec_dot_product(2, d1, d3) / (len12 * len23)) < -0.99) {
    const double t[2] = {dist * (P2(1) - P1(1)) / len12, dist * (P2(2) - P1(2)) / len12};
    put(t, u1);
    return;
  }
  if (r8vec_dot_product(2, u2, u1) < 0.0) negate(u2);
  double u[2] = {(u1[0] + u2[0]) / 2.0, (u1[1] + u2[1]) / 2.0};
  const double ulen = r8vec_norm(2, u);
  u[0] = u[0] / ulen;
  u[1] = u[1] / ulen;
  const double scale = r8vec_dot_product(2, u, u1);
  P4(1) = x2 + dist * u[0] / scale;
  P4(2) = y2 + dist * u[1] / scale;
  P5(1) = x2 - dist * u[0] / scale;
  P5(2) = y2 - dist * u[1] / scale;
}

void tube_2d(double dist, int32_t n, const double* p, double* p1, double* p2) {
  if (n < 3) fatal("TUBE_2D", {"  N must be at least 3", "  but your input value was N = " + fmt_i(n, 8)});
  const mat_ref P(p, 2, n);
  for (int32_t i = 1; i < n; ++i) {
    if (r8vec_eq(2, P.col(i), P.col(i + 1))) {
      fatal("TUBE_2D", {"  P(1:2,I) = P(1:2,I+1) for I = " + fmt_i(i, 8),
                        "  P(1:2,I) = " + fmt_g(P(1, i), 14, 6) + fmt_g(P(2, i), 14, 6)});
    }
  }
  const mat_ref P1(p1, 2, n), P2(p2, 2, n);
  // -1 strictly to the right of the direction P(:, i - 1) -> P(:, i), +1
  // to its left and on it.
  const auto side = [&](int32_t i, const double* q) {
    const vec_ref Q(q, 2);
    const double a = P(2, i - 1) - P(2, i), b = P(1, i) - P(1, i - 1);
    const double c = P(1, i - 1) * P(2, i) - P(1, i) * P(2, i - 1);
    return (a * Q(1) + b * Q(2) + c) / std::sqrt(a * a + b * b) < 0.0 ? -1 : 1;
  };
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t im1 = i4_wrap(i - 1, 1, n), ip1 = i4_wrap(i + 1, 1, n);
    angle_box_2d(dist, P.col(im1), P.col(i), P.col(ip1), P1.col(i), P2.col(i));
    if (i == 1 || i == n) {
      // The tube reaches DIST beyond the path's ends.
      const int32_t from = i == 1 ? 1 : n - 1, to = i == 1 ? 2 : n;
      const double len = r8vec_distance(2, P.col(from), P.col(to));
      const double sign = i == 1 ? -1.0 : 1.0;
      for (int32_t k = 1; k <= 2; ++k) {
        const double d = dist * (P(k, to) - P(k, from)) / len;
        P1(k, i) = P1(k, i) + sign * d;
        P2(k, i) = P2(k, i) + sign * d;
      }
    }
    if (i > 1 && side(i, P1.col(i - 1)) != side(i, P1.col(i))) r8vec_swap(2, P1.col(i), P2.col(i));
  }
}

}  // namespace orvel::geometry
