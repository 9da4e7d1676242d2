// Point location: the triangle, strip or wedge of the triangulation in which
// a point lies.  A three-by-three section index limits the search inside the
// hull, and the region of the previous point is tried first, since
// consecutive points are usually neighbours.
#include <algorithm>
#include <limits>

#include "forcing/idbvip.hpp"
#include "forcing/idbvip_detail.hpp"

namespace orvel {

using idbvip_detail::cross;
using idbvip_detail::dot;
using idbvip_detail::one_based;

namespace idbvip_detail {

int32_t nearest_triangle(std::span<const float> xd, std::span<const float> yd, int32_t nt,
                         std::span<const int32_t> ipt_s, float x, float y) {
  const one_based<const float> xs(xd, "xd");
  const one_based<const float> ys(yd, "yd");
  const one_based<const int32_t> ipt(ipt_s, "ipt");
  int32_t best = 1;
  float best_worst = -std::numeric_limits<float>::infinity();
  for (int32_t t = 1; t <= nt; ++t) {
    const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
    const float c1 = cross(xs(v1), ys(v1), xs(v2), ys(v2), x, y);
    const float c2 = cross(xs(v2), ys(v2), xs(v3), ys(v3), x, y);
    const float c3 = cross(xs(v3), ys(v3), xs(v1), ys(v1), x, y);
    const float worst = std::min(c1, std::min(c2, c3));
    if (worst > best_worst) {
      best_worst = worst;
      best = t;
    }
  }
  return best;
}

}  // namespace idbvip_detail

void idlctn(int32_t ndp, std::span<const float> xd, std::span<const float> yd, int32_t nt,
            std::span<const int32_t> ipt_s, int32_t nl, std::span<const int32_t> ipl_s,
            double xii, double yii, region_code& iti, std::span<int32_t> iwk_s,
            std::span<float> wk_s, idlc_record& idlc) {
  const one_based<const float> xs(xd, "xd");
  const one_based<const float> ys(yd, "yd");
  const one_based<const int32_t> ipt(ipt_s, "ipt");
  const one_based<const int32_t> ipl(ipl_s, "ipl");
  const one_based<int32_t> itsc(iwk_s, "itsc");
  const one_based<float> bbox(wk_s, "wk");
  const region_code ntl = region_code{nt} + nl;

  const float x = static_cast<float>(xii);
  const float y = static_cast<float>(yii);

  auto in_triangle = [&](int32_t t) {
    const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
    return cross(xs(v1), ys(v1), xs(v2), ys(v2), x, y) >= 0.0f &&
           cross(xs(v2), ys(v2), xs(v3), ys(v3), x, y) >= 0.0f &&
           cross(xs(v3), ys(v3), xs(v1), ys(v1), x, y) >= 0.0f;
  };

  auto finish = [&](region_code r) {
    iti = r;
    idlc.itipv = r;
  };

  // Same region as the previous point.
  const region_code prev = idlc.itipv;
  if (prev != 0) {
    if (prev <= nt) {
      if (in_triangle(static_cast<int32_t>(prev))) return finish(prev);
    } else {
      const int32_t s = static_cast<int32_t>(prev / ntl);
      const int32_t s2 = static_cast<int32_t>(prev % ntl);
      const int32_t ia = ipl(3 * s - 2), ib = ipl(3 * s - 1);
      const float xa = xs(ia), ya = ys(ia), xb = xs(ib), yb = ys(ib);
      if (s == s2) {
        if (dot(x, y, xa, ya, xb, yb) >= 0.0f && dot(x, y, xb, yb, xa, ya) >= 0.0f &&
            cross(xa, ya, xb, yb, x, y) <= 0.0f) {
          return finish(prev);
        }
      } else {
        const int32_t ic = ipl(3 * s2 - 1);
        if (dot(xa, ya, x, y, xb, yb) <= 0.0f && dot(x, y, xs(ic), ys(ic), xb, yb) <= 0.0f) {
          return finish(prev);
        }
      }
    }
  } else {
    // Build the section index of this triangulation.
    idbvip_detail::need(iwk_s.size(), 18 * int64_t{ndp}, "idlctn", "iwk");
    idbvip_detail::need(wk_s.size(), 4 * int64_t{nt}, "idlctn", "wk");
    float xmn = xs(1), xmx = xs(1), ymn = ys(1), ymx = ys(1);
    for (int32_t i = 2; i <= ndp; ++i) {
      xmn = std::min(xmn, xs(i));
      xmx = std::max(xmx, xs(i));
      ymn = std::min(ymn, ys(i));
      ymx = std::max(ymx, ys(i));
    }
    idlc.xs1 = ((xmn + xmn) + xmx) / 3.0f;
    idlc.xs2 = ((xmn + xmx) + xmx) / 3.0f;
    idlc.ys1 = ((ymn + ymn) + ymx) / 3.0f;
    idlc.ys2 = ((ymn + ymx) + ymx) / 3.0f;
    idlc.ntsc.fill(0);
    for (int32_t t = 1; t <= nt; ++t) {
      const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
      const float tx0 = std::min(xs(v1), std::min(xs(v2), xs(v3)));
      const float tx1 = std::max(xs(v1), std::max(xs(v2), xs(v3)));
      const float ty0 = std::min(ys(v1), std::min(ys(v2), ys(v3)));
      const float ty1 = std::max(ys(v1), std::max(ys(v2), ys(v3)));
      const bool row[3] = {ty0 <= idlc.ys1, ty1 >= idlc.ys1 && ty0 <= idlc.ys2,
                           ty1 >= idlc.ys2};
      const bool col[3] = {tx0 <= idlc.xs1, tx1 >= idlc.xs1 && tx0 <= idlc.xs2,
                           tx1 >= idlc.xs2};
      for (int32_t r = 0; r < 3; ++r) {
        if (!row[r]) continue;
        for (int32_t c = 0; c < 3; ++c) {
          if (!col[c]) continue;
          const int32_t isc = 1 + c + 3 * r;
          const int32_t n = ++idlc.ntsc[isc - 1];
          itsc(9 * int64_t{n - 1} + isc) = t;
        }
      }
      bbox(4 * int64_t{t} - 3) = tx0;
      bbox(4 * int64_t{t} - 2) = tx1;
      bbox(4 * int64_t{t} - 1) = ty0;
      bbox(4 * int64_t{t}) = ty1;
    }
  }

  // Inside search among the triangles of the point's section.
  const int32_t isc = 1 + (x >= idlc.xs1 ? 1 : 0) + (x >= idlc.xs2 ? 1 : 0) +
                      3 * (y >= idlc.ys1 ? 1 : 0) + 3 * (y >= idlc.ys2 ? 1 : 0);
  const int32_t ntsci = idlc.ntsc[isc - 1];
  for (int32_t n = 1; n <= ntsci; ++n) {
    const int32_t t = itsc(9 * int64_t{n - 1} + isc);
    if (x < bbox(4 * int64_t{t} - 3) || x > bbox(4 * int64_t{t} - 2) ||
        y < bbox(4 * int64_t{t} - 1) || y > bbox(4 * int64_t{t})) {
      continue;
    }
    if (in_triangle(t)) return finish(t);
  }

  // Outside search: the strip beyond a border segment or the wedge beyond
  // the vertex at its end.
  for (int32_t s = 1; s <= nl; ++s) {
    const int32_t ia = ipl(3 * s - 2), ib = ipl(3 * s - 1);
    const float xa = xs(ia), ya = ys(ia), xb = xs(ib), yb = ys(ib);
    if (dot(x, y, xb, yb, xa, ya) < 0.0f) continue;
    if (dot(x, y, xa, ya, xb, yb) < 0.0f) {
      const int32_t s2 = s % nl + 1;
      const int32_t ic = ipl(3 * s2 - 1);
      if (dot(x, y, xs(ic), ys(ic), xb, yb) <= 0.0f) return finish(s * ntl + s2);
      continue;
    }
    if (cross(xa, ya, xb, yb, x, y) <= 0.0f) return finish(s * ntl + s);
  }

  // No region claims the point: the triangle it is least outside of.
  finish(idbvip_detail::nearest_triangle(xd, yd, nt, ipt_s, x, y));
}

}  // namespace orvel
