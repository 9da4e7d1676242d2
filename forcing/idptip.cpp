// Partial derivatives at the data points and the value at an output point.
#include <cmath>

#include "forcing/idbvip.hpp"
#include "forcing/idbvip_detail.hpp"

namespace orvel {

using idbvip_detail::one_based;
using idbvip_detail::ratio;

void idpdrv(int32_t ndp, std::span<const float> xd, std::span<const float> yd,
            std::span<const float> zd, int32_t nt, std::span<const int32_t> ipt_s,
            std::span<float> pd_s, std::span<float> wk_s) {
  idbvip_detail::need(pd_s.size(), 5 * int64_t{ndp}, "idpdrv", "pd");
  idbvip_detail::need(wk_s.size(), ndp, "idpdrv", "wk");
  const one_based<const float> x(xd, "xd");
  const one_based<const float> y(yd, "yd");
  const one_based<const float> z(zd, "zd");
  const one_based<const int32_t> ipt(ipt_s, "ipt");
  const one_based<float> pd(pd_s, "pd");
  const one_based<float> ws(wk_s, "wk");

  for (int64_t k = 1; k <= 5 * int64_t{ndp}; ++k) pd(k) = 0.0f;
  for (int32_t i = 1; i <= ndp; ++i) ws(i) = 0.0f;

  // Per triangle: its vertices, the two sides from vertex 1, whether it is
  // flat enough to use, and the vertex weights.
  struct tri {
    int32_t v[3];
    float dx1, dy1, dx2, dy2;
    float w[3];
    bool used;
  };
  auto prepare = [&](int32_t t) {
    tri r{};
    r.v[0] = ipt(3 * t - 2);
    r.v[1] = ipt(3 * t - 1);
    r.v[2] = ipt(3 * t);
    const float x1 = x(r.v[0]), y1 = y(r.v[0]);
    const float x2 = x(r.v[1]), y2 = y(r.v[1]);
    const float x3 = x(r.v[2]), y3 = y(r.v[2]);
    r.dx1 = x2 - x1;
    r.dy1 = y2 - y1;
    r.dx2 = x3 - x1;
    r.dy2 = y3 - y1;
    const float nz = r.dx1 * r.dy2 - r.dy1 * r.dx2;
    r.used = std::fabs(nz) > ratio * std::fabs(r.dx1 * r.dx2 + r.dy1 * r.dy2);
    if (r.used) {
      const float d12 = std::sqrt(r.dx1 * r.dx1 + r.dy1 * r.dy1);
      const float d23 = std::sqrt((x3 - x2) * (x3 - x2) + (y3 - y2) * (y3 - y2));
      const float d31 = std::sqrt(r.dx2 * r.dx2 + r.dy2 * r.dy2);
      r.w[0] = 1.0f / (d31 * d12);
      r.w[1] = 1.0f / (d12 * d23);
      r.w[2] = 1.0f / (d23 * d31);
    }
    return r;
  };

  // First derivatives: weighted average of the gradients of the triangle
  // planes meeting at each point.
  for (int32_t t = 1; t <= nt; ++t) {
    const tri r = prepare(t);
    if (!r.used) continue;
    const float dz1 = z(r.v[1]) - z(r.v[0]);
    const float dz2 = z(r.v[2]) - z(r.v[0]);
    const float nx = r.dy1 * dz2 - dz1 * r.dy2;
    const float ny = dz1 * r.dx2 - r.dx1 * dz2;
    const float nz = r.dx1 * r.dy2 - r.dy1 * r.dx2;
    for (int k = 0; k < 3; ++k) {
      const float wi = r.w[k];
      const float q = wi * wi * (nz * wi);
      const int32_t i = r.v[k];
      pd(5 * i - 4) += nx * q;
      pd(5 * i - 3) += ny * q;
      ws(i) += nz * q;
    }
  }
  for (int32_t i = 1; i <= ndp; ++i) {
    const float w = ws(i);
    // A point without a usable triangle gets zero derivatives.
    pd(5 * i - 4) = (w != 0.0f) ? -pd(5 * i - 4) / w : 0.0f;
    pd(5 * i - 3) = (w != 0.0f) ? -pd(5 * i - 3) / w : 0.0f;
  }

  // Second derivatives: the same average applied to the first derivatives.
  for (int32_t t = 1; t <= nt; ++t) {
    const tri r = prepare(t);
    if (!r.used) continue;
    const int32_t i1 = r.v[0], i2 = r.v[1], i3 = r.v[2];
    const float dzx1 = pd(5 * i2 - 4) - pd(5 * i1 - 4);
    const float dzx2 = pd(5 * i3 - 4) - pd(5 * i1 - 4);
    const float dzy1 = pd(5 * i2 - 3) - pd(5 * i1 - 3);
    const float dzy2 = pd(5 * i3 - 3) - pd(5 * i1 - 3);
    const float nxx = r.dy1 * dzx2 - dzx1 * r.dy2;
    const float nxy = dzx1 * r.dx2 - r.dx1 * dzx2;
    const float nyx = r.dy1 * dzy2 - dzy1 * r.dy2;
    const float nyy = dzy1 * r.dx2 - r.dx1 * dzy2;
    const float nz = r.dx1 * r.dy2 - r.dy1 * r.dx2;
    for (int k = 0; k < 3; ++k) {
      const float wi = r.w[k];
      const float q = wi * wi * (nz * wi);
      const int32_t i = r.v[k];
      pd(5 * i - 2) += nxx * q;
      pd(5 * i - 1) += (nxy + nyx) * q;
      pd(5 * i) += nyy * q;
    }
  }
  for (int32_t i = 1; i <= ndp; ++i) {
    const float w = ws(i);
    pd(5 * i - 2) = (w != 0.0f) ? -pd(5 * i - 2) / w : 0.0f;
    pd(5 * i - 1) = (w != 0.0f) ? -pd(5 * i - 1) / (2.0f * w) : 0.0f;
    pd(5 * i) = (w != 0.0f) ? -pd(5 * i) / w : 0.0f;
  }
}

namespace {

// Positions of the coefficients p_jk in idpt_record::p.
enum : int {
  p00, p10, p20, p30, p40, p50, p01, p11, p21, p31, p41,
  p02, p12, p22, p32, p03, p13, p23, p04, p14, p05
};

// Derivatives of the field at one data point in local coordinates
// x = x0 + a*u + b*v, y = y0 + c*u + d*v.
struct local_derivatives {
  float zu, zv, zuu, zuv, zvv;
};
local_derivatives to_local(const one_based<const float>& pd, int32_t i, float a, float b,
                           float c, float d) {
  const float zx = pd(5 * i - 4), zy = pd(5 * i - 3);
  const float zxx = pd(5 * i - 2), zxy = pd(5 * i - 1), zyy = pd(5 * i);
  local_derivatives r{};
  r.zu = a * zx + c * zy;
  r.zv = b * zx + d * zy;
  r.zuu = a * a * zxx + 2.0f * a * c * zxy + c * c * zyy;
  r.zuv = a * b * zxx + (a * d + b * c) * zxy + c * d * zyy;
  r.zvv = b * b * zxx + 2.0f * b * d * zxy + d * d * zyy;
  return r;
}

}  // namespace

void idptip(std::span<const float> xd, std::span<const float> yd, std::span<const float> zd,
            int32_t nt, std::span<const int32_t> ipt_s, int32_t nl, std::span<const int32_t> ipl_s,
            std::span<const float> pd_s, region_code iti, double xii, double yii, float& zii,
            idpt_record& idpt) {
  const one_based<const float> x(xd, "xd");
  const one_based<const float> y(yd, "yd");
  const one_based<const float> z(zd, "zd");
  const one_based<const int32_t> ipt(ipt_s, "ipt");
  const one_based<const int32_t> ipl(ipl_s, "ipl");
  const one_based<const float> pd(pd_s, "pd");
  const region_code ntl = region_code{nt} + nl;

  // Kind of region: 0 triangle, 1 strip, 2 wedge.
  int kind = 0;
  int32_t s = 0, s2 = 0;
  if (iti > ntl) {
    s = static_cast<int32_t>(iti / ntl);
    s2 = static_cast<int32_t>(iti % ntl);
    kind = (s == s2) ? 1 : 2;
  }
  auto& p = idpt.p;

  if (iti != idpt.itpv) {
    if (kind == 0) {
      // Triangle: origin at vertex 1, local coordinates mapping the
      // vertices to (0, 0), (1, 0) and (0, 1).
      const int32_t t = static_cast<int32_t>(iti);
      const int32_t i1 = ipt(3 * t - 2), i2 = ipt(3 * t - 1), i3 = ipt(3 * t);
      const float x1 = x(i1), y1 = y(i1);
      const float a = x(i2) - x1, b = x(i3) - x1;
      const float c = y(i2) - y1, d = y(i3) - y1;
      const float delta = a * d - b * c;
      idpt.x0 = x1;
      idpt.y0 = y1;
      idpt.ap = d / delta;
      idpt.bp = -b / delta;
      idpt.cp = -c / delta;
      idpt.dp = a / delta;
      const local_derivatives l1 = to_local(pd, i1, a, b, c, d);
      const local_derivatives l2 = to_local(pd, i2, a, b, c, d);
      const local_derivatives l3 = to_local(pd, i3, a, b, c, d);
      const float z1 = z(i1), z2 = z(i2), z3 = z(i3);
      p[p00] = z1;
      p[p10] = l1.zu;
      p[p01] = l1.zv;
      p[p20] = 0.5f * l1.zuu;
      p[p11] = l1.zuv;
      p[p02] = 0.5f * l1.zvv;
      // Along side 1-2 ...
      float h1 = z2 - p[p00] - p[p10] - p[p20];
      float h2 = l2.zu - p[p10] - l1.zuu;
      float h3 = l2.zuu - l1.zuu;
      p[p30] = 10.0f * h1 - 4.0f * h2 + 0.5f * h3;
      p[p40] = -15.0f * h1 + 7.0f * h2 - h3;
      p[p50] = 6.0f * h1 - 3.0f * h2 + 0.5f * h3;
      // ... and side 1-3.
      h1 = z3 - p[p00] - p[p01] - p[p02];
      h2 = l3.zv - p[p01] - l1.zvv;
      h3 = l3.zvv - l1.zvv;
      p[p03] = 10.0f * h1 - 4.0f * h2 + 0.5f * h3;
      p[p04] = -15.0f * h1 + 7.0f * h2 - h3;
      p[p05] = 6.0f * h1 - 3.0f * h2 + 0.5f * h3;
      // The derivative across each side varies at most cubically along it.
      const float lu = std::sqrt(a * a + c * c);
      const float lv = std::sqrt(b * b + d * d);
      const float thxu = std::atan2(c, a);
      const float thuv = std::atan2(d, b) - thxu;
      const float csuv = std::cos(thuv);
      p[p41] = 5.0f * lv * csuv / lu * p[p50];
      p[p14] = 5.0f * lu * csuv / lv * p[p05];
      h1 = l2.zv - p[p01] - p[p11] - p[p41];
      h2 = l2.zuv - p[p11] - 4.0f * p[p41];
      p[p21] = 3.0f * h1 - h2;
      p[p31] = -2.0f * h1 + h2;
      h1 = l3.zu - p[p10] - p[p11] - p[p14];
      h2 = l3.zuv - p[p11] - 4.0f * p[p14];
      p[p12] = 3.0f * h1 - h2;
      p[p13] = -2.0f * h1 + h2;
      const float thus = std::atan2(d - c, b - a) - thxu;
      const float thsv = thuv - thus;
      const float aa = std::sin(thsv) / lu;
      const float bb = -std::cos(thsv) / lu;
      const float cc = std::sin(thus) / lv;
      const float dd = std::cos(thus) / lv;
      const float ac = aa * cc;
      const float g1 = aa * ac * (3.0f * bb * cc + 2.0f * aa * dd);
      const float g2 = cc * ac * (3.0f * aa * dd + 2.0f * bb * cc);
      h1 = -aa * aa * aa * (5.0f * aa * bb * p[p50] + (4.0f * bb * cc + aa * dd) * p[p41]) -
           cc * cc * cc * (5.0f * cc * dd * p[p05] + (4.0f * aa * dd + bb * cc) * p[p14]);
      h2 = 0.5f * l2.zvv - p[p02] - p[p12];
      h3 = 0.5f * l3.zuu - p[p20] - p[p21];
      p[p22] = (g1 * h2 + g2 * h3 - h1) / (g1 + g2);
      p[p32] = h2 - p[p22];
      p[p23] = h3 - p[p22];
    } else if (kind == 1) {
      // Strip: origin at the segment's start, v along the segment and u
      // along its outward normal, both in units of the segment length.
      const int32_t ia = ipl(3 * s - 2), ib = ipl(3 * s - 1);
      const float a = y(ib) - y(ia);
      const float b = x(ib) - x(ia);
      const float delta = a * a + b * b;
      idpt.x0 = x(ia);
      idpt.y0 = y(ia);
      idpt.ap = a / delta;
      idpt.bp = -b / delta;
      idpt.cp = b / delta;
      idpt.dp = a / delta;
      const local_derivatives l1 = to_local(pd, ia, a, b, -b, a);
      const local_derivatives l2 = to_local(pd, ib, a, b, -b, a);
      p[p00] = z(ia);
      p[p10] = l1.zu;
      p[p01] = l1.zv;
      p[p20] = 0.5f * l1.zuu;
      p[p11] = l1.zuv;
      p[p02] = 0.5f * l1.zvv;
      float h1 = z(ib) - p[p00] - p[p01] - p[p02];
      float h2 = l2.zv - p[p01] - l1.zvv;
      const float h3 = l2.zvv - l1.zvv;
      p[p03] = 10.0f * h1 - 4.0f * h2 + 0.5f * h3;
      p[p04] = -15.0f * h1 + 7.0f * h2 - h3;
      p[p05] = 6.0f * h1 - 3.0f * h2 + 0.5f * h3;
      h1 = l2.zu - p[p10] - p[p11];
      h2 = l2.zuv - p[p11];
      p[p12] = 3.0f * h1 - h2;
      p[p13] = -2.0f * h1 + h2;
      p[p21] = 0.0f;
      p[p23] = l1.zuu - l2.zuu;
      p[p22] = -1.5f * p[p23];
    } else {
      // Wedge: the second-order Taylor polynomial of the vertex.
      const int32_t iv = ipl(3 * s - 1);
      idpt.x0 = x(iv);
      idpt.y0 = y(iv);
      p[p00] = z(iv);
      p[p10] = pd(5 * iv - 4);
      p[p01] = pd(5 * iv - 3);
      p[p20] = 0.5f * pd(5 * iv - 2);
      p[p11] = pd(5 * iv - 1);
      p[p02] = 0.5f * pd(5 * iv);
    }
    idpt.itpv = iti;
  }

  const float dx = static_cast<float>(xii - static_cast<double>(idpt.x0));
  const float dy = static_cast<float>(yii - static_cast<double>(idpt.y0));
  if (kind == 0) {
    const float u = idpt.ap * dx + idpt.bp * dy;
    const float v = idpt.cp * dx + idpt.dp * dy;
    const float q0 = p[p00] + v * (p[p01] + v * (p[p02] + v * (p[p03] + v * (p[p04] + v * p[p05]))));
    const float q1 = p[p10] + v * (p[p11] + v * (p[p12] + v * (p[p13] + v * p[p14])));
    const float q2 = p[p20] + v * (p[p21] + v * (p[p22] + v * p[p23]));
    const float q3 = p[p30] + v * (p[p31] + v * p[p32]);
    const float q4 = p[p40] + v * p[p41];
    const float q5 = p[p50];
    zii = q0 + u * (q1 + u * (q2 + u * (q3 + u * (q4 + u * q5))));
  } else if (kind == 1) {
    const float u = idpt.ap * dx + idpt.bp * dy;
    const float v = idpt.cp * dx + idpt.dp * dy;
    const float q0 = p[p00] + v * (p[p01] + v * (p[p02] + v * (p[p03] + v * (p[p04] + v * p[p05]))));
    const float q1 = p[p10] + v * (p[p11] + v * (p[p12] + v * p[p13]));
    const float q2 = p[p20] + v * (p[p21] + v * (p[p22] + v * p[p23]));
    zii = q0 + u * (q1 + u * q2);
  } else {
    zii = p[p00] + dx * (p[p10] + p[p20] * dx + p[p11] * dy) + dy * (p[p01] + p[p02] * dy);
  }
}

}  // namespace orvel
