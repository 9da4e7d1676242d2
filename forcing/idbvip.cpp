// The scattered-data interpolator driver: checks, triangulation (mode 1),
// point location (modes 1 and 2), derivatives and values (every mode).
#include "forcing/idbvip.hpp"

#include <algorithm>
#include <stdexcept>

#include "forcing/idbvip_detail.hpp"

namespace orvel {

namespace {

// Integer work positions.
constexpr int32_t pos_ndp = 1;
constexpr int32_t pos_nip = 3;
constexpr int32_t pos_nyi = 4;
constexpr int32_t pos_nt = 5;
constexpr int32_t pos_nl = 6;
constexpr int32_t pos_ipt = 16;

// Slice of a work array from 1-based position `from`, n elements.
template <typename T>
std::span<T> slice(farray<T>& a, int64_t from, int64_t n) {
  return std::span<T>(a.data() + (from - 1), static_cast<std::size_t>(n));
}

}  // namespace

scattered_interpolator::scattered_interpolator() { iwk_.allocate(15); }

int32_t scattered_interpolator::border(int32_t s, int32_t k) const {
  return iwk_(24 * iwk_(pos_ndp) + 3 * (s - 1) + k);
}

void scattered_interpolator::triangulate(int32_t ndp, std::span<const float> xd,
                                         std::span<const float> yd) {
  // Until the triangulation has succeeded nothing may be reused.
  located_ = located::none;
  iwk_(pos_ndp) = 0;
  const int64_t n = ndp;
  if (iwk_.size() != 31 * n) {
    iwk_.deallocate();
    iwk_.allocate(31 * n);
  }
  if (wk_.allocated() && wk_.size() != 8 * n) wk_.deallocate();
  if (!wk_.allocated()) wk_.allocate(8 * n);
  int32_t nt = 0, nl = 0;
  idtang(ndp, xd, yd, nt, slice(iwk_, pos_ipt, 6 * n - 15), nl, slice(iwk_, 24 * n + 1, 6 * n),
         iwl_, slice(iwk_, 30 * n + 1, n), slice(wk_, 1, n));
  iwk_(pos_nt) = nt;
  iwk_(pos_nl) = nl;
  iwk_(pos_ndp) = ndp;
}

void scattered_interpolator::idbvip(int32_t md, int32_t ndp, std::span<const float> xd,
                                    std::span<const float> yd, std::span<const float> zd,
                                    int32_t nip, std::span<const double> xi,
                                    std::span<const double> yi, std::span<float> zi) {
  constexpr const char* head = "IDBVIP - Fatal error!";
  if (md < 1 || md > 3) idbvip_detail::fatal(head, "  Input parameter MD out of range.");
  if (ndp < 4) idbvip_detail::fatal(head, "  Input parameter NDP out of range.");
  if (nip < 1) idbvip_detail::fatal(head, "  Input parameter NIP out of range.");
  if (md != 1) {
    if (ndp != iwk_(pos_ndp)) {
      idbvip_detail::fatal(head, "  MD = 2 or 3 but NDP was changed since last call.");
    }
    // Mode 3 needs the region codes of these output points: a grid sorted
    // by the surface fitting in between does not hold them.
    if (md == 3 && (nip != iwk_(pos_nip) || located_ != located::points)) {
      idbvip_detail::fatal(head, "  MD = 3 but NIP was changed since last call.");
    }
  }
  idbvip_detail::need(xd.size(), ndp, "idbvip", "xd");
  idbvip_detail::need(yd.size(), ndp, "idbvip", "yd");
  idbvip_detail::need(zd.size(), ndp, "idbvip", "zd");
  idbvip_detail::need(xi.size(), nip, "idbvip", "xi");
  idbvip_detail::need(yi.size(), nip, "idbvip", "yi");
  idbvip_detail::need(zi.size(), nip, "idbvip", "zi");

  const int64_t n = ndp;
  if (md == 1) triangulate(ndp, xd, yd);
  const int32_t nt = iwk_(pos_nt);
  const int32_t nl = iwk_(pos_nl);
  const std::span<const int32_t> ipt = slice(iwk_, pos_ipt, 6 * n - 15);
  const std::span<const int32_t> ipl = slice(iwk_, 24 * n + 1, 6 * n);

  if (md != 3) {
    iwk_(pos_nip) = nip;
    if (ipc_.allocated() && ipc_.size() != nip) ipc_.deallocate();
    if (!ipc_.allocated()) ipc_.allocate(nip);
    const std::span<int32_t> itsc = slice(iwk_, 6 * n + 1, 18 * n);
    const std::span<float> bbox = slice(wk_, 1, 8 * n);
    idlc_.itipv = 0;
    for (int32_t k = 1; k <= nip; ++k) {
      region_code r = 0;
      idlctn(ndp, xd, yd, nt, ipt, nl, ipl, xi[k - 1], yi[k - 1], r, itsc, bbox, idlc_);
      ipc_(k) = r;
    }
    located_ = located::points;
  }

  const std::span<float> pd = slice(wk_, 1, 5 * n);
  idpdrv(ndp, xd, yd, zd, nt, ipt, pd, slice(wk_, 5 * n + 1, n));
  idpt_.itpv = 0;
  for (int32_t k = 1; k <= nip; ++k) {
    idptip(xd, yd, zd, nt, ipt, nl, ipl, pd, ipc_(k), xi[k - 1], yi[k - 1], zi[k - 1], idpt_);
  }
}

int32_t scattered_interpolator::hold_beyond_hull(std::span<const float> xd,
                                                 std::span<const float> yd,
                                                 std::span<const float> zd,
                                                 std::span<const double> xi,
                                                 std::span<const double> yi,
                                                 std::span<float> zi) const {
  if (located_ != located::points) {
    throw std::logic_error("hold_beyond_hull: no output points located by the point driver");
  }
  const int32_t ndp = iwk_(pos_ndp);
  const int32_t nip = iwk_(pos_nip);
  idbvip_detail::need(xd.size(), ndp, "hold_beyond_hull", "xd");
  idbvip_detail::need(yd.size(), ndp, "hold_beyond_hull", "yd");
  idbvip_detail::need(zd.size(), ndp, "hold_beyond_hull", "zd");
  idbvip_detail::need(xi.size(), nip, "hold_beyond_hull", "xi");
  idbvip_detail::need(yi.size(), nip, "hold_beyond_hull", "yi");
  idbvip_detail::need(zi.size(), nip, "hold_beyond_hull", "zi");
  const int64_t n = ndp;
  const int32_t nt = iwk_(pos_nt);
  const int32_t nl = iwk_(pos_nl);
  const region_code ntl = region_code{nt} + nl;
  const std::span<const int32_t> ipt(iwk_.data() + (pos_ipt - 1), static_cast<std::size_t>(6 * n - 15));
  const std::span<const int32_t> ipl(iwk_.data() + 24 * n, static_cast<std::size_t>(6 * n));
  const std::span<const float> pd(wk_.data(), static_cast<std::size_t>(5 * n));
  idpt_record rec;
  int32_t changed = 0;
  for (int32_t k = 1; k <= nip; ++k) {
    const region_code r = ipc_(k);
    if (r <= ntl) continue;
    const auto s = static_cast<int32_t>(r / ntl);
    const int32_t ia = border(s, 1), ib = border(s, 2);
    double px = xd[static_cast<std::size_t>(ib - 1)];
    double py = yd[static_cast<std::size_t>(ib - 1)];
    if (r % ntl == s) {
      // Strip beyond segment s: the foot of the perpendicular, which lies
      // on the segment (up to rounding) by the strip's definition.
      const double ax = xd[static_cast<std::size_t>(ia - 1)], ay = yd[static_cast<std::size_t>(ia - 1)];
      const double ex = px - ax, ey = py - ay;
      double t = ((xi[k - 1] - ax) * ex + (yi[k - 1] - ay) * ey) / (ex * ex + ey * ey);
      t = std::clamp(t, 0.0, 1.0);
      px = ax + t * ex;
      py = ay + t * ey;
    }
    // The wedge beyond the vertex where segment s ends: that vertex.
    idptip(xd, yd, zd, nt, ipt, nl, ipl, pd, r, px, py, zi[k - 1], rec);
    ++changed;
  }
  return changed;
}

void scattered_interpolator::idsfft(int32_t md, int32_t ndp, std::span<const float> xd,
                                    std::span<const float> yd, std::span<const float> zd,
                                    int32_t nxi, int32_t nyi, int32_t nzi,
                                    std::span<const double> xi, std::span<const double> yi,
                                    std::span<float> zi) {
  constexpr const char* head = "IDSFFT - Fatal error!";
  // The MD line is written as a list-directed item, with one more blank.
  if (md < 1 || md > 3) idbvip_detail::fatal(head, "   Input parameter MD out of range.");
  if (ndp < 4) idbvip_detail::fatal(head, "  Input parameter NDP out of range.");
  if (nxi < 1 || nyi < 1) idbvip_detail::fatal(head, "  Input parameter NXI or NYI out of range.");
  if (nzi < nxi) idbvip_detail::fatal(head, "  Input parameter NZI is less than NXI.");
  if (md != 1 && ndp != iwk_(pos_ndp)) {
    idbvip_detail::fatal(head, "  MD = 2 or 3 but ndp was changed since last call.");
  }
  if (md == 3) {
    // Mode 3 needs this grid sorted by region: points located by the point
    // driver in between do not count.
    if (nxi != iwk_(pos_nip) || located_ != located::grid) {
      idbvip_detail::fatal(head, "MD = 3 but nxi was changed since last call.");
    }
    if (nyi != iwk_(pos_nyi)) {
      idbvip_detail::fatal(head, "  MD = 3 but nyi was changed since last call.");
    }
  }
  const int64_t ngrid = int64_t{nxi} * nyi;
  idbvip_detail::need(xd.size(), ndp, "idsfft", "xd");
  idbvip_detail::need(yd.size(), ndp, "idsfft", "yd");
  idbvip_detail::need(zd.size(), ndp, "idsfft", "zd");
  idbvip_detail::need(xi.size(), nxi, "idsfft", "xi");
  idbvip_detail::need(yi.size(), nyi, "idsfft", "yi");
  idbvip_detail::need(zi.size(), int64_t{nzi} * (nyi - 1) + nxi, "idsfft", "zi");

  const int64_t n = ndp;
  if (md == 1) triangulate(ndp, xd, yd);
  const int32_t nt = iwk_(pos_nt);
  const int32_t nl = iwk_(pos_nl);
  const std::span<const int32_t> ipt = slice(iwk_, pos_ipt, 6 * n - 15);
  const std::span<const int32_t> ipl = slice(iwk_, 24 * n + 1, 6 * n);
  const std::span<int32_t> ngp = slice(iwk_, 6 * n + 1, 18 * n);

  if (md != 3) {
    iwk_(pos_nip) = nxi;
    iwk_(pos_nyi) = nyi;
    if (igp_.allocated() && igp_.size() != ngrid) igp_.deallocate();
    if (!igp_.allocated()) igp_.allocate(ngrid);
    idgrid(xd, yd, nt, ipt, nl, ipl, nxi, nyi, xi, yi, ngp,
           std::span<int32_t>(igp_.data(), static_cast<std::size_t>(ngrid)));
    located_ = located::grid;
  }

  const std::span<float> pd = slice(wk_, 1, 5 * n);
  idpdrv(ndp, xd, yd, zd, nt, ipt, pd, slice(wk_, 5 * n + 1, n));
  idpt_.itpv = 0;

  // Regions in order: triangles, then per border segment its strip and the
  // wedge after its end.  Inside points are listed from the front of igp,
  // boundary points from the back.
  const region_code ntl = region_code{nt} + nl;
  int64_t front = 0;
  int64_t back = ngrid + 1;
  auto evaluate = [&](int64_t slot, region_code r) {
    const int32_t ninside = iwk_(6 * n + 2 * slot - 1);
    const int32_t nbound = iwk_(6 * n + 2 * slot);
    auto one = [&](int32_t g) {
      const int32_t i = (g - 1) % nxi + 1;
      const int32_t j = (g - 1) / nxi + 1;
      float v = 0.0f;
      idptip(xd, yd, zd, nt, ipt, nl, ipl, pd, r, xi[i - 1], yi[j - 1], v, idpt_);
      zi[static_cast<std::size_t>(int64_t{j - 1} * nzi + i - 1)] = v;
    };
    for (int32_t k = 0; k < ninside; ++k) one(igp_(++front));
    for (int32_t k = 0; k < nbound; ++k) one(igp_(--back));
  };
  for (int32_t t = 1; t <= nt; ++t) evaluate(t, t);
  for (int32_t s = 1; s <= nl; ++s) {
    evaluate(nt + 2 * int64_t{s} - 1, s * ntl + s);
    evaluate(nt + 2 * int64_t{s}, s * ntl + (s % nl + 1));
  }
}

}  // namespace orvel
