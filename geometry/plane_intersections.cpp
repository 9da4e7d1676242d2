#include "geometry/plane_intersections.hpp"

#include <cmath>

#include "geometry/line_forms.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/quads.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

void set_point(double* p, double x, double y, double z) {
  const vec_ref P(p, 3);
  P(1) = x;
  P(2) = y;
  P(3) = z;
}

void copy_point(const double* from, double* to) {
  const vec_ref F(from, 3);
  set_point(to, F(1), F(2), F(3));
}

// alpha Pa + (1 - alpha) Pb, alpha = sb / (sb - sa).
void crossing(const double* pa, const double* pb, double sa, double sb, double* p) {
  const vec_ref PA(pa, 3), PB(pb, 3);
  const double alpha = sb / (sb - sa);
  set_point(p, alpha * PA(1) + (1.0 - alpha) * PB(1), alpha * PA(2) + (1.0 - alpha) * PB(2),
            alpha * PA(3) + (1.0 - alpha) * PB(3));
}

// Foot P = Q - t n of a point Q at signed distance t.
void foot(const double* q, double t, const double* n, double* p) {
  const vec_ref Q(q, 3);
  set_point(p, Q(1) - t * n[0], Q(2) - t * n[1], Q(3) - t * n[2]);
}

double value_at(double a, double b, double c, double d, const double* q) {
  const vec_ref Q(q, 3);
  return a * Q(1) + b * Q(2) + c * Q(3) + d;
}

}  // namespace

void plane_imp_line_par_int_3d(double a, double b, double c, double d, double x0, double y0, double z0, double f,
                               double g, double h, bool& found, double* p) {
  const double norm1 = std::sqrt(a * a + b * b + c * c);
  if (norm1 == 0.0) fatal("PLANE_IMP_LINE_PAR_INT_3D", {"  The plane normal vector is null."});
  const double norm2 = std::sqrt(f * f + g * g + h * h);
  if (norm2 == 0.0) fatal("PLANE_IMP_LINE_PAR_INT_3D", {"  The line direction vector is null."});
  const double denom = a * f + b * g + c * h;
  const double value = a * x0 + b * y0 + c * z0 + d;
  if (0.00001 * norm1 * norm2 > std::fabs(denom)) {
    if (value == 0.0) {
      found = true;
      set_point(p, x0, y0, z0);
    } else {
      found = false;
      set_point(p, 0.0, 0.0, 0.0);
    }
    return;
  }
  found = true;
  const double t = -value / denom;
  set_point(p, x0 + t * f, y0 + t * g, z0 + t * h);
}

void plane_normal_line_exp_int_3d(const double* pp, double* normal, const double* p1, const double* p2,
                                  int32_t& code, double* p) {
  const vec_ref PP(pp, 3), P1(p1, 3), P2(p2, 3);
  const vec_ref NORMAL(normal, 3);
  if (line_exp_is_degenerate_nd(3, p1, p2)) fatal("PLANE_NORMAL_LINE_EXP_INT_3D", {"  The line is degenerate."});
  const double norm = r8vec_norm(3, normal);
  if (norm == 0.0) fatal("PLANE_NORMAL_LINE_EXP_INT_3D", {"  The normal vector of the plane is degenerate."});
  for (int32_t i = 1; i <= 3; ++i) NORMAL(i) = NORMAL(i) / norm;
  double direction[3], w_vec[3];
  const double length = r8vec_distance(3, p1, p2);
  for (int32_t i = 1; i <= 3; ++i) {
    direction[i - 1] = (P2(i) - P1(i)) / length;
    w_vec[i - 1] = PP(i) - P1(i);
  }
  const double temp = r8vec_dot_product(3, normal, direction);
  const double w = r8vec_dot_product(3, normal, w_vec);
  if (temp != 0.0) {
    code = 1;
    const double s = w / temp;
    set_point(p, P1(1) + s * direction[0], P1(2) + s * direction[1], P1(3) + s * direction[2]);
  } else if (w != 0.0) {
    code = 0;
    set_point(p, r8_largest(), r8_largest(), r8_largest());
  } else {
    code = 2;
    copy_point(p1, p);
  }
}

void plane_imp_segment_near_3d(const double* p1, const double* p2, double a, double b, double c, double d,
                               double& dist, double* p, double* pt) {
  const double norm = std::sqrt(a * a + b * b + c * c);
  if (norm == 0.0) fatal("PLANE_IMP_SEGMENT_NEAR_3D", {"  Plane normal vector is null."});
  const double n[3] = {a / norm, b / norm, c / norm};
  const double dn = d / norm;
  const double t1 = r8vec_dot_product(3, n, p1) + dn;
  const double t2 = r8vec_dot_product(3, n, p2) + dn;
  if (r8vec_eq(3, p1, p2)) {
    dist = std::fabs(t1);
    copy_point(p1, pt);
    foot(p1, t1, n, p);
    return;
  }
  if ((t1 > 0.0 && t2 > 0.0) || (t1 < 0.0 && t2 < 0.0)) {
    if (std::fabs(t2) > std::fabs(t1)) {
      copy_point(p1, pt);
      dist = std::fabs(t1);
      foot(p1, t1, n, p);
    } else {
      copy_point(p2, pt);
      dist = std::fabs(t2);
      foot(p2, t2, n, p);
    }
    return;
  }
  dist = 0.0;
  if (t1 == 0.0) {
    copy_point(p1, pt);
  } else if (t2 == 0.0) {
    copy_point(p2, pt);
  } else {
    crossing(p1, p2, t1, t2, pt);
  }
  copy_point(pt, p);
}

void plane_imp_triangle_int_add_3d(const double* p1, const double* p2, double s1, double s2, int32_t& k,
                                   double* p) {
  const mat_ref P(p, 3, k + 1);
  if (s1 == 0.0) {
    copy_point(p1, P.col(k + 1));
  } else if (s2 == 0.0) {
    copy_point(p2, P.col(k + 1));
  } else if (s1 * s2 < 0.0) {
    crossing(p1, p2, s1, s2, P.col(k + 1));
  } else {
    return;
  }
  k = k + 1;
}

void plane_imp_triangle_int_3d(double a, double b, double c, double d, const double* t, int32_t& k, double* p) {
  const mat_ref T(t, 3, 3);
  const mat_ref P(p, 3, 3);
  const double s1 = value_at(a, b, c, d, T.col(1));
  const double s2 = value_at(a, b, c, d, T.col(2));
  const double s3 = value_at(a, b, c, d, T.col(3));
  k = 0;
  const double s[3] = {s1, s2, s3};
  for (int32_t j = 1; j <= 3; ++j) {
    if (s[j - 1] == 0.0) {
      k = k + 1;
      copy_point(T.col(j), P.col(k));
    }
  }
  if (k >= 2) return;
  if (k == 1) {
    if (s1 == 0.0) {
      plane_imp_triangle_int_add_3d(T.col(2), T.col(3), s2, s3, k, p);
    } else if (s2 == 0.0) {
      plane_imp_triangle_int_add_3d(T.col(1), T.col(3), s1, s3, k, p);
    } else {
      plane_imp_triangle_int_add_3d(T.col(1), T.col(2), s1, s2, k, p);
    }
    return;
  }
  if (s1 * s2 < 0.0 && s1 * s3 < 0.0) {
    plane_imp_triangle_int_add_3d(T.col(1), T.col(2), s1, s2, k, p);
    plane_imp_triangle_int_add_3d(T.col(1), T.col(3), s1, s3, k, p);
  } else if (s2 * s1 < 0.0 && s2 * s3 < 0.0) {
    plane_imp_triangle_int_add_3d(T.col(2), T.col(1), s2, s1, k, p);
    plane_imp_triangle_int_add_3d(T.col(2), T.col(3), s2, s3, k, p);
  } else if (s3 * s1 < 0.0 && s3 * s2 < 0.0) {
    plane_imp_triangle_int_add_3d(T.col(3), T.col(1), s3, s1, k, p);
    plane_imp_triangle_int_add_3d(T.col(3), T.col(2), s3, s2, k, p);
  }
}

void plane_normal_triangle_int_3d(const double* pp, const double* normal, const double* t, int32_t& k, double* p) {
  double a, b, c, d;
  plane_normal2imp_3d(pp, normal, a, b, c, d);
  plane_imp_triangle_int_3d(a, b, c, d, t, k, p);
}

void plane_imp_triangle_near_3d(const double* t, double a, double b, double c, double d, double& dist, int32_t& k,
                                double* pn) {
  const mat_ref T(t, 3, 3);
  const mat_ref PN(pn, 3, 6);
  k = 0;
  for (int32_t e = 1; e <= 3; ++e) {
    double de, p[3], pt[3];
    plane_imp_segment_near_3d(T.col(e), T.col(e % 3 + 1), a, b, c, d, de, p, pt);
    if (e == 1) {
      dist = de;
    } else if (de < dist) {
      dist = de;
      k = 0;
    } else if (de > dist) {
      continue;
    }
    k = k + 1;
    copy_point(pt, PN.col(k));
    if (de > 0.0) {
      k = k + 1;
      copy_point(p, PN.col(k));
    }
  }
}

void plane_normal_tetrahedron_intersect(const double* pp, const double* normal, const double* t, int32_t& k,
                                        double* p) {
  const mat_ref T(t, 3, 4);
  const mat_ref P(p, 3, 4);
  const double nn = r8vec_dot_product(3, normal, normal);
  const double np = r8vec_dot_product(3, normal, pp);
  double dv[4];
  for (int32_t j = 1; j <= 4; ++j) dv[j - 1] = (nn - r8vec_dot_product(3, normal, T.col(j))) - (nn - np);
  for (int32_t j = 2; j <= 4; ++j) set_point(P.col(j), 0.0, 0.0, 0.0);
  const bool all_below = dv[0] < 0.0 && dv[1] < 0.0 && dv[2] < 0.0 && dv[3] < 0.0;
  const bool all_above = dv[0] > 0.0 && dv[1] > 0.0 && dv[2] > 0.0 && dv[3] > 0.0;
  if (all_below || all_above) {
    k = 0;
    set_point(P.col(1), 0.0, 0.0, 0.0);
    return;
  }
  k = 0;
  for (int32_t i = 1; i <= 4; ++i) {
    const double di = dv[i - 1];
    if (di == 0.0) {
      k = k + 1;
      copy_point(T.col(i), P.col(k));
      continue;
    }
    for (int32_t j = i + 1; j <= 4; ++j) {
      const double dj = dv[j - 1];
      if (!r8_sign_opposite_strict(di, dj)) continue;
      const vec_ref TI(T.col(i), 3), TJ(T.col(j), 3);
      k = k + 1;
      set_point(P.col(k), (di * TJ(1) - dj * TI(1)) / (di - dj), (di * TJ(2) - dj * TI(2)) / (di - dj),
                (di * TJ(3) - dj * TI(3)) / (di - dj));
    }
  }
  if (k == 4) {
    double area1, area2;
    quad_area_3d(p, area1);
    r8vec_swap(3, P.col(3), P.col(4));
    quad_area_3d(p, area2);
    if (area1 > area2) r8vec_swap(3, P.col(3), P.col(4));
  }
}

}  // namespace orvel::geometry
