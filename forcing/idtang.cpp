// Triangulation of scattered points: the convex hull of the data points is
// divided into triangles, starting from the closest pair, adding the other
// points in order of distance from its midpoint, joining each to the part of
// the border it sees, and exchanging diagonals of convex quadrilaterals by
// the max-min angle criterion.
#include <algorithm>
#include <cmath>

#include "forcing/idbvip.hpp"
#include "forcing/idbvip_detail.hpp"
#include "forcing/idtang_search.hpp"

namespace orvel {

using idbvip_detail::cross;
using idbvip_detail::dot;
using idbvip_detail::one_based;
using idbvip_detail::ratio;

int32_t idxchg(std::span<const float> x, std::span<const float> y, int32_t i1, int32_t i2,
               int32_t i3, int32_t i4) {
  const one_based<const float> xs(x, "x");
  const one_based<const float> ys(y, "y");
  const float x1 = xs(i1), y1 = ys(i1);
  const float x2 = xs(i2), y2 = ys(i2);
  const float x3 = xs(i3), y3 = ys(i3);
  const float x4 = xs(i4), y4 = ys(i4);
  const float u3 = (y2 - y3) * (x1 - x3) - (x2 - x3) * (y1 - y3);
  const float u4 = (y1 - y4) * (x2 - x4) - (x1 - x4) * (y2 - y4);
  // i3 and i4 on the same side of the line i1-i2: the quadrilateral is not
  // convex and the diagonal stays.
  if (!(u3 * u4 > 0.0f)) return 0;
  const float u1 = (y3 - y1) * (x4 - x1) - (x3 - x1) * (y4 - y1);
  const float u2 = (y4 - y2) * (x3 - x2) - (x4 - x2) * (y3 - y2);
  const float a1 = (x1 - x3) * (x1 - x3) + (y1 - y3) * (y1 - y3);
  const float b1 = (x1 - x4) * (x1 - x4) + (y1 - y4) * (y1 - y4);
  const float c1 = (x3 - x4) * (x3 - x4) + (y3 - y4) * (y3 - y4);
  const float a2 = (x2 - x4) * (x2 - x4) + (y2 - y4) * (y2 - y4);
  const float b2 = (x2 - x3) * (x2 - x3) + (y2 - y3) * (y2 - y3);
  const float c3 = (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
  // Squared sines of the smaller angles at the ends of each diagonal.
  const float s1 = u1 * u1 / (c1 * std::max(a1, b1));
  const float s2 = u2 * u2 / (c1 * std::max(a2, b2));
  const float s3 = u3 * u3 / (c3 * std::max(b2, a1));
  const float s4 = u4 * u4 / (c3 * std::max(b1, a2));
  return (std::min(s3, s4) - std::min(s1, s2) > ratio) ? 1 : 0;
}

namespace {

// The triangulation, with the indexed searches or with the plain scans.
void triangulate(bool indexed, int32_t ndp, std::span<const float> xd, std::span<const float> yd,
                 int32_t& nt, std::span<int32_t> ipt_s, int32_t& nl, std::span<int32_t> ipl_s,
                 std::vector<int32_t>& iwl, std::span<int32_t> iwp_s, std::span<float> wk_s) {
  if (ndp < 4) {
    idbvip_detail::fatal("IDTANG - Fatal error!", "  Input parameter NDP out of range.");
  }
  idbvip_detail::need(xd.size(), ndp, "idtang", "xd");
  idbvip_detail::need(yd.size(), ndp, "idtang", "yd");
  idbvip_detail::need(ipt_s.size(), 6 * int64_t{ndp} - 15, "idtang", "ipt");
  idbvip_detail::need(ipl_s.size(), 6 * int64_t{ndp}, "idtang", "ipl");
  idbvip_detail::need(iwp_s.size(), ndp, "idtang", "iwp");
  idbvip_detail::need(wk_s.size(), ndp, "idtang", "wk");
  const one_based<const float> x(xd, "xd");
  const one_based<const float> y(yd, "yd");
  const one_based<int32_t> ipt(ipt_s, "ipt");
  const one_based<int32_t> ipl(ipl_s, "ipl");
  const one_based<int32_t> iwp(iwp_s, "iwp");
  const one_based<float> wk(wk_s, "wk");

  // Closest pair; ties keep the pair found first.
  const std::span<const float> xn = xd.first(static_cast<std::size_t>(ndp));
  const std::span<const float> yn = yd.first(static_cast<std::size_t>(ndp));
  const idtang_search::closest_pair pair = indexed ? idtang_search::closest_pair_sweep(xn, yn)
                                                   : idtang_search::closest_pair_scan(xn, yn);
  if (!pair.distinct) {
    idbvip_detail::fatal("IDTANG - Fatal error!", "  Two of the input data points are identical.");
  }
  const int32_t ipmn1 = pair.i;
  const int32_t ipmn2 = pair.j;

  // The other points in order of squared distance from the pair's midpoint,
  // by a selection sort that keeps the first of equal distances.
  const float xdmp = (x(ipmn1) + x(ipmn2)) * 0.5f;
  const float ydmp = (y(ipmn1) + y(ipmn2)) * 0.5f;
  iwp(1) = ipmn1;
  iwp(2) = ipmn2;
  int32_t jp = 2;
  for (int32_t i = 1; i <= ndp; ++i) {
    if (i == ipmn1 || i == ipmn2) continue;
    ++jp;
    iwp(jp) = i;
    const float dx = x(i) - xdmp;
    const float dy = y(i) - ydmp;
    wk(jp) = dx * dx + dy * dy;
  }
  if (indexed) {
    idtang_search::selection_order_indexed(iwp_s.first(static_cast<std::size_t>(ndp)),
                                           wk_s.first(static_cast<std::size_t>(ndp)));
  } else {
    idtang_search::selection_order_scan(iwp_s.first(static_cast<std::size_t>(ndp)),
                                        wk_s.first(static_cast<std::size_t>(ndp)));
  }

  // Third point: the first not collinear with the pair.
  const float x1 = x(ipmn1), y1 = y(ipmn1);
  const float x2 = x(ipmn2), y2 = y(ipmn2);
  int32_t found = 0;
  for (int32_t a = 3; a <= ndp; ++a) {
    const int32_t ip = iwp(a);
    const float xp = x(ip), yp = y(ip);
    const float ar = cross(x1, y1, x2, y2, xp, yp);
    const float dp = dot(x1, y1, x2, y2, xp, yp);
    if (std::fabs(ar) > ratio * std::fabs(dp)) {
      found = a;
      break;
    }
  }
  if (found == 0) {
    idbvip_detail::fatal("IDTANG - Fatal error!", "  All collinear data points.");
  }
  if (found > 3) {
    const int32_t ip = iwp(found);
    for (int32_t a = found; a >= 4; --a) iwp(a) = iwp(a - 1);
    iwp(3) = ip;
  }

  // First triangle, counter-clockwise.
  int32_t ip1 = ipmn1, ip2 = ipmn2;
  const int32_t ip3 = iwp(3);
  if ((x(ip2) - x(ip1)) * (y(ip3) - y(ip1)) - (y(ip2) - y(ip1)) * (x(ip3) - x(ip1)) < 0.0f) {
    std::swap(ip1, ip2);
  }
  // Triangles by vertex, for finding the triangles of an edge.
  idtang_search::triangles_by_vertex by_vertex(indexed ? ndp : 0);
  auto set_triangle = [&](int32_t t, int32_t a, int32_t b, int32_t c, bool fresh) {
    if (indexed) {
      const int32_t old[3] = {ipt(3 * t - 2), ipt(3 * t - 1), ipt(3 * t)};
      by_vertex.set(t, fresh ? std::span<const int32_t>() : std::span<const int32_t>(old), a, b,
                    c);
    }
    ipt(3 * t - 2) = a;
    ipt(3 * t - 1) = b;
    ipt(3 * t) = c;
  };

  nt = 1;
  set_triangle(1, ip1, ip2, ip3, true);
  nl = 3;
  ipl(1) = ip1;
  ipl(2) = ip2;
  ipl(3) = 1;
  ipl(4) = ip2;
  ipl(5) = ip3;
  ipl(6) = 1;
  ipl(7) = ip3;
  ipl(8) = ip1;
  ipl(9) = 1;

  // The vertex of triangle t that is neither e1 nor e2 (the first such).
  auto other_vertex = [&](int32_t t, int32_t e1, int32_t e2) {
    for (int32_t k = 1; k <= 3; ++k) {
      const int32_t v = ipt(3 * t - 3 + k);
      if (v != e1 && v != e2) return v;
    }
    return ipt(3 * t - 2);  // not reached: a triangle has three distinct vertices
  };

  std::vector<int32_t> next;  // edges appended during an improvement sweep
  for (int32_t jp1 = 4; jp1 <= ndp; ++jp1) {
    const int32_t ip = iwp(jp1);
    const float xp = x(ip), yp = y(ip);
    auto visible = [&](int32_t s) {
      const int32_t ia = ipl(3 * s - 2), ib = ipl(3 * s - 1);
      const float c = cross(x(ia), y(ia), x(ib), y(ib), xp, yp);
      const float d = dot(x(ia), y(ia), x(ib), y(ib), xp, yp);
      return c <= -ratio * std::fabs(d);
    };

    // The run of border segments visible from the new point.
    int32_t jinv = 1;  // first-invisible mark
    int32_t jvis = 1;  // first-visible mark
    bool prev = visible(1);
    for (int32_t s = 2; s <= nl; ++s) {
      const bool vis = visible(s);
      if (vis != prev) {
        if (vis) {
          jvis = s;
          if (jinv != 1) break;
        } else {
          jinv = s;
          if (jvis != 1) break;
        }
      }
      prev = vis;
    }
    if (jinv == 1 && jvis == 1) {
      jvis = nl;
    } else if (jinv != 1) {
      if (jvis < jinv) jvis += nl;
      // Rotate so that the first invisible segment becomes segment 1.
      const int32_t shift = jinv - 1;
      std::rotate(ipl_s.begin(), ipl_s.begin() + 3 * shift, ipl_s.begin() + 3 * nl);
      jvis -= shift;
    }

    // Join the new point to every visible segment.
    iwl.clear();
    for (int32_t s = jvis; s <= nl; ++s) {
      const int32_t ia = ipl(3 * s - 2);
      const int32_t ib = ipl(3 * s - 1);
      const int32_t it = ipl(3 * s);
      ++nt;
      const int32_t itn = nt;
      set_triangle(itn, ib, ia, ip, true);
      if (s == jvis) {
        ipl(3 * s - 1) = ip;
        ipl(3 * s) = itn;
      }
      if (s == nl) {
        const int32_t sn = jvis + 1;
        ipl(3 * sn - 2) = ip;
        ipl(3 * sn - 1) = ipl(1);
        ipl(3 * sn) = itn;
      }
      const int32_t io = other_vertex(it, ia, ib);
      if (idxchg(xd, yd, ip, io, ia, ib) == 1) {
        set_triangle(it, io, ia, ip, false);
        set_triangle(itn, ib, io, ip, false);
        if (s == jvis) ipl(3 * s) = it;
        if (s == nl && ipl(3) == it) ipl(3) = itn;
        iwl.push_back(ia);
        iwl.push_back(io);
        iwl.push_back(io);
        iwl.push_back(ib);
      }
    }
    nl = jvis + 1;

    // Local improvement by diagonal exchanges.
    for (int32_t sweep = 1; sweep <= 100 && !iwl.empty(); ++sweep) {
      next.clear();
      const std::size_t nedges = iwl.size() / 2;
      for (std::size_t e = 0; e < nedges; ++e) {
        const int32_t e1 = iwl[2 * e];
        const int32_t e2 = iwl[2 * e + 1];
        // The two highest-numbered triangles having both ends.
        int32_t it1 = 0, it2 = 0;
        if (indexed) {
          by_vertex.find(e1, e2, ipt_s, it1, it2);
        } else {
          for (int32_t t = nt; t >= 1; --t) {
            const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
            const bool has1 = (v1 == e1 || v2 == e1 || v3 == e1);
            const bool has2 = (v1 == e2 || v2 == e2 || v3 == e2);
            if (!(has1 && has2)) continue;
            if (it1 == 0) {
              it1 = t;
            } else {
              it2 = t;
              break;
            }
          }
        }
        if (it2 == 0) continue;
        const int32_t io1 = other_vertex(it1, e1, e2);
        const int32_t io2 = other_vertex(it2, e1, e2);
        if (idxchg(xd, yd, io1, io2, e1, e2) != 1) continue;
        set_triangle(it1, io1, io2, e1, false);
        set_triangle(it2, io2, io1, e2, false);
        next.insert(next.end(), {e1, io1, io1, e2, e2, io2, io2, e1});
        for (int32_t s = 1; s <= nl; ++s) {
          const int32_t a = ipl(3 * s - 2), b = ipl(3 * s - 1);
          if ((a == e1 && b == io2) || (a == io2 && b == e1)) ipl(3 * s) = it1;
          if ((a == e2 && b == io1) || (a == io1 && b == e2)) ipl(3 * s) = it2;
        }
      }
      iwl.swap(next);
    }
  }

  // Every triangle counter-clockwise.
  for (int32_t t = 1; t <= nt; ++t) {
    const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
    if ((x(v2) - x(v1)) * (y(v3) - y(v1)) - (y(v2) - y(v1)) * (x(v3) - x(v1)) < 0.0f) {
      ipt(3 * t - 2) = v2;
      ipt(3 * t - 1) = v1;
    }
  }
}

}  // namespace

void idtang(int32_t ndp, std::span<const float> xd, std::span<const float> yd, int32_t& nt,
            std::span<int32_t> ipt, int32_t& nl, std::span<int32_t> ipl,
            std::vector<int32_t>& iwl, std::span<int32_t> iwp, std::span<float> wk) {
  triangulate(true, ndp, xd, yd, nt, ipt, nl, ipl, iwl, iwp, wk);
}

void idtang_search::idtang_literal(int32_t ndp, std::span<const float> xd,
                                   std::span<const float> yd, int32_t& nt, std::span<int32_t> ipt,
                                   int32_t& nl, std::span<int32_t> ipl, std::vector<int32_t>& iwl,
                                   std::span<int32_t> iwp, std::span<float> wk) {
  triangulate(false, ndp, xd, yd, nt, ipt, nl, ipl, iwl, iwp, wk);
}

}  // namespace orvel
