#include "transport/coast.hpp"

#include <cmath>

#include "control/run_rules.hpp"
#include "control/state/var_costa.hpp"
#include "control/state/var_mallas.hpp"
#include "transport/coast_index.hpp"

namespace orvel {

using coast_detail::box;
using coast_detail::edge_result;

double coast_distance_scale() {
  return cos_latmean();
}

bool buscacosta_linear(double x, double y, double& xo, double& yo, int32_t& k, double& dist) {
  const double c = coast_distance_scale();
  const double xlo = x - 5.0 * var_mallas.deltax, xhi = x + 5.0 * var_mallas.deltax;
  const double ylo = y - 5.0 * var_mallas.deltay, yhi = y + 5.0 * var_mallas.deltay;
  const int32_t n = var_costa.ptos_lc;
  const double* xl = n > 0 ? var_costa.xlc.ptr(1) : nullptr;
  const double* yl = n > 0 ? var_costa.ylc.ptr(1) : nullptr;
  double best = dist;
  int32_t kbest = 0;
  for (int32_t j = 0; j < n; ++j) {
    if (xlo <= xl[j] && xl[j] <= xhi && ylo <= yl[j] && yl[j] <= yhi) {
      const double ex = (x - xl[j]) * c, ey = y - yl[j];
      const double d = std::sqrt(ex * ex + ey * ey);
      if (d <= best) {
        best = d;
        kbest = j + 1;
      }
    }
  }
  if (kbest == 0) return false;
  xo = xl[kbest - 1];
  yo = yl[kbest - 1];
  k = kbest;
  dist = best;
  return true;
}

bool buscacosta_radar_linear(double x, double y, double& xo, double& yo, double& dist) {
  const double c = coast_distance_scale();
  const double xlo = x - 3.0 * var_mallas.deltax, xhi = x + 3.0 * var_mallas.deltax;
  const double ylo = y - 3.0 * var_mallas.deltay, yhi = y + 3.0 * var_mallas.deltay;
  const int32_t n = var_costa.ptos_lc;
  const double* xl = n > 0 ? var_costa.xlc.ptr(1) : nullptr;
  const double* yl = n > 0 ? var_costa.ylc.ptr(1) : nullptr;
  double best = (var_mallas.deltax + var_mallas.deltay) * 0.5;
  int32_t kbest = 0;
  for (int32_t j = 0; j < n; ++j) {
    if (xlo <= xl[j] && xl[j] <= xhi && ylo <= yl[j] && yl[j] <= yhi) {
      const double ex = (x - xl[j]) * c, ey = y - yl[j];
      const double d = std::sqrt(ex * ex + ey * ey);
      if (d < best) {
        best = d;
        kbest = j + 1;
      }
    }
  }
  if (kbest == 0) return false;
  xo = xl[kbest - 1];
  yo = yl[kbest - 1];
  dist = best;
  return true;
}

bool buscacosta(double x, double y, double& xo, double& yo, int32_t& k, double& dist) {
  if (coast_index::points_ready() && std::isfinite(x) && std::isfinite(y)) {
    return coast_index::nearest(x, y, xo, yo, k, dist);
  }
  return buscacosta_linear(x, y, xo, yo, k, dist);
}

bool buscacosta_radar(double x, double y, double& xo, double& yo, double& dist) {
  if (coast_index::points_ready() && std::isfinite(x) && std::isfinite(y)) {
    return coast_index::nearest_radar(x, y, xo, yo, dist);
  }
  return buscacosta_radar_linear(x, y, xo, yo, dist);
}

namespace coast_detail {

namespace {
constexpr double tol21 = 0x1p-21;  // 4.76837158203125e-07
constexpr double tol22 = 0x1p-22;  // 2.384185791015625e-07

// The larger of two magnitudes (finite arguments).
inline double maxabs(double a, double b) {
  const double fa = std::fabs(a), fb = std::fabs(b);
  return fa > fb ? fa : fb;
}

// a - b, taken as 0 when it is within `tol` of the larger magnitude.
inline double snapped_difference(double a, double b, double tol) {
  const double r = a - b;
  return std::fabs(r) <= tol * maxabs(a, b) ? 0.0 : r;
}
}  // namespace

edge_result edge_crossing(double a1, double a2, double b1, double b2, double x1, double y1, double x2,
                          double y2, double& s, double& u, double& v, bool& at_start) {
  const double dx = b1 - a1, dy = b2 - a2;
  const double ex = x2 - x1, ey = y2 - y1;
  const double p = dy * ex, q = dx * ey;
  const double den = p - q;
  if (!(std::fabs(den) <= tol21 * maxabs(p, q))) {
    // Not parallel: position s along the path, t along the edge.
    const double sn = snapped_difference(ex * (y1 - a2), ey * (x1 - a1), tol21);
    const double tn = snapped_difference((y1 - a2) * dx, (x1 - a1) * dy, tol21);
    const double ss = sn / den, t = tn / den;
    if (!(0.0 < ss && ss <= 1.0 + tol21 && 0.0 <= t && t <= 1.0 + tol21)) return edge_result::none;
    s = ss;
    if (ss >= 1.0 - tol22) {
      u = b1;
      v = b2;
    } else {
      u = a1 + ss * dx;
      v = a2 + ss * dy;
    }
    at_start = t == 0.0;
    return edge_result::point;
  }
  // Parallel: is the path on the edge's line, and where do a and b lie on it?
  double ta, tb;
  if (std::fabs(ex) > std::fabs(ey)) {
    const double na = std::fabs(a1 - x1) <= tol22 * maxabs(a1, x1) ? 0.0 : a1 - x1;
    ta = na / ex;
    const double ye = y1 + ey * ta;
    if (!(std::fabs(ye - a2) <= tol21 * maxabs(ye, a2))) return edge_result::none;
    const double nb = std::fabs(b1 - x1) <= tol22 * maxabs(b1, x1) ? 0.0 : b1 - x1;
    tb = nb / ex;
  } else {
    const double na = std::fabs(a2 - y1) <= tol22 * maxabs(a2, y1) ? 0.0 : a2 - y1;
    ta = na / ey;
    const double xe = x1 + ex * ta;
    if (!(std::fabs(a1 - xe) <= tol21 * maxabs(a1, xe))) return edge_result::none;
    const double nb = std::fabs(b2 - y1) <= tol22 * maxabs(b2, y1) ? 0.0 : b2 - y1;
    tb = nb / ey;
  }
  if ((0.0 < ta && ta < 1.0 - tol22) || (0.0 < tb && tb < 1.0 - tol22)) return edge_result::overlap;
  const double hi = ta > tb ? ta : tb, lo = ta > tb ? tb : ta;
  if (hi > 0.0) {
    if (lo < 1.0 - tol22) return edge_result::overlap;
    if (lo <= 1.0 && lo != ta) {  // b at the end of the edge, a beyond it
      s = 1.0;
      u = b1;
      v = b2;
      at_start = false;
      return edge_result::point;
    }
  } else if (hi == 0.0 && hi != ta) {  // b at the start of the edge, a before it
    s = 1.0;
    u = b1;
    v = b2;
    at_start = true;
    return edge_result::point;
  }
  return edge_result::none;
}

}  // namespace coast_detail

void poly_intercept(double a1, double a2, double b1, double b2, const double* x, const double* y,
                    int32_t n, double* u, double* v, int32_t m, int32_t& num, int32_t& ierr) {
  num = 0;
  if (n < 2 || (b1 - a1 == 0.0 && b2 - a2 == 0.0)) {
    ierr = 1;
    return;
  }
  const box path = coast_detail::segment_box(a1, a2, b1, b2);
  bool any_edge = false;
  for (int32_t i = 1; i < n; ++i) {
    const double x1 = x[i - 1], y1 = y[i - 1], x2 = x[i], y2 = y[i];
    if (x2 - x1 == 0.0 && y2 - y1 == 0.0) continue;
    any_edge = true;
    if (!coast_detail::overlap(path, coast_detail::segment_box(x1, y1, x2, y2))) continue;
    double s, pu, pv;
    bool at_start;
    const edge_result r = coast_detail::edge_crossing(a1, a2, b1, b2, x1, y1, x2, y2, s, pu, pv, at_start);
    if (r == edge_result::overlap) {
      ierr = -i;
      return;
    }
    if (r != edge_result::point) continue;
    if (at_start && num > 0) continue;  // the end of the previous edge, already counted
    if (num >= m) {
      num = m;
      ierr = 2;
      return;
    }
    u[num] = pu;
    v[num] = pv;
    ++num;
  }
  if (!any_edge) {
    num = 0;
    ierr = 1;
    return;
  }
  ierr = 0;
  if (num > 1 && u[num - 1] == x[0] && v[num - 1] == y[0]) --num;
}

namespace {
inline bool finite4(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}
}  // namespace

void busca_costa_interseccion_linear(double x1, double y1, double x2, double y2,
                                     const farray<coast_polygon, 1>& polys, double& xo, double& yo,
                                     int32_t& state, int32_t& num) {
  num = 0;
  if (x2 - x1 == 0.0 && y2 - y1 == 0.0) return;
  const box path = coast_detail::segment_box(x1, y1, x2, y2);
  bool found = false;
  double best = 0.0, bu = 0.0, bv = 0.0;
  const int32_t np = polys.allocated() ? polys.size(1) : 0;
  for (int32_t j = 1; j <= np; ++j) {
    const coast_polygon& pg = polys(j);
    if (pg.n < 2) continue;
    const double* px = pg.x.ptr(1);
    const double* py = pg.y.ptr(1);
    for (int32_t i = 1; i < pg.n; ++i) {
      const double ax = px[i - 1], ay = py[i - 1], bx = px[i], by = py[i];
      if (bx - ax == 0.0 && by - ay == 0.0) continue;
      if (!finite4(ax, ay, bx, by)) continue;
      if (!coast_detail::overlap(path, coast_detail::segment_box(ax, ay, bx, by))) continue;
      double s, u, v;
      bool at_start;
      if (coast_detail::edge_crossing(x1, y1, x2, y2, ax, ay, bx, by, s, u, v, at_start) !=
          edge_result::point) {
        continue;
      }
      ++num;
      if (!found || s < best) {
        found = true;
        best = s;
        bu = u;
        bv = v;
      }
    }
  }
  if (found) {
    xo = bu;
    yo = bv;
    state = 0;
  }
}

void busca_costa_interseccion_str(double x1, double y1, double x2, double y2,
                                  const farray<coast_polygon, 1>& polys, double& xo, double& yo,
                                  int32_t& state, int32_t& num) {
  if (coast_index::edges_ready(polys) && finite4(x1, y1, x2, y2)) {
    coast_index::crossing(x1, y1, x2, y2, xo, yo, state, num);
    return;
  }
  busca_costa_interseccion_linear(x1, y1, x2, y2, polys, xo, yo, state, num);
}

}  // namespace orvel
