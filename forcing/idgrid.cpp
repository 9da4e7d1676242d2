// Sorting the points of a rectangular grid by the region of the
// triangulation in which they lie, and the time stamp of the package.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <vector>

#include "forcing/idbvip.hpp"
#include "forcing/idbvip_detail.hpp"

namespace orvel {

using idbvip_detail::cross;
using idbvip_detail::dot;
using idbvip_detail::one_based;

void idgrid(std::span<const float> xd, std::span<const float> yd, int32_t nt,
            std::span<const int32_t> ipt_s, int32_t nl, std::span<const int32_t> ipl_s,
            int32_t nxi, int32_t nyi, std::span<const double> xi, std::span<const double> yi,
            std::span<int32_t> ngp_s, std::span<int32_t> igp_s) {
  const int64_t nregions = int64_t{nt} + 2 * int64_t{nl};
  const int64_t ngrid = int64_t{nxi} * nyi;
  idbvip_detail::need(ngp_s.size(), 2 * nregions, "idgrid", "ngp");
  idbvip_detail::need(igp_s.size(), ngrid, "idgrid", "igp");
  const one_based<const float> x(xd, "xd");
  const one_based<const float> y(yd, "yd");
  const one_based<const int32_t> ipt(ipt_s, "ipt");
  const one_based<const int32_t> ipl(ipl_s, "ipl");
  const one_based<int32_t> ngp(ngp_s, "ngp");
  const one_based<int32_t> igp(igp_s, "igp");

  // Grid coordinates in single precision, as the tests use them.
  std::vector<float> gx(static_cast<std::size_t>(nxi)), gy(static_cast<std::size_t>(nyi));
  for (int32_t i = 0; i < nxi; ++i) gx[i] = static_cast<float>(xi[i]);
  for (int32_t j = 0; j < nyi; ++j) gy[j] = static_cast<float>(yi[j]);

  // Points of each region (slot 1..nregions), inside and on the boundary.
  // A point goes to the first region that claims it, so that every grid
  // point is listed once even where rounding lets two regions overlap.
  std::vector<std::vector<int32_t>> inside(static_cast<std::size_t>(nregions));
  std::vector<std::vector<int32_t>> boundary(static_cast<std::size_t>(nregions));
  std::vector<int32_t> claimed(static_cast<std::size_t>(ngrid), 0);
  auto claim = [&](int64_t slot, int32_t g, bool strict) {
    int32_t& c = claimed[static_cast<std::size_t>(g - 1)];
    if (c != 0) return;
    c = 1;
    (strict ? inside : boundary)[static_cast<std::size_t>(slot - 1)].push_back(g);
  };

  for (int32_t t = 1; t <= nt; ++t) {
    const int32_t v1 = ipt(3 * t - 2), v2 = ipt(3 * t - 1), v3 = ipt(3 * t);
    const float x1 = x(v1), y1 = y(v1), x2 = x(v2), y2 = y(v2), x3 = x(v3), y3 = y(v3);
    const float xmn = std::min(x1, std::min(x2, x3)), xmx = std::max(x1, std::max(x2, x3));
    const float ymn = std::min(y1, std::min(y2, y3)), ymx = std::max(y1, std::max(y2, y3));
    for (int32_t j = 1; j <= nyi; ++j) {
      const float py = gy[j - 1];
      if (py < ymn || py > ymx) continue;
      for (int32_t i = 1; i <= nxi; ++i) {
        const float px = gx[i - 1];
        if (px < xmn || px > xmx) continue;
        const float c1 = cross(x1, y1, x2, y2, px, py);
        const float c2 = cross(x2, y2, x3, y3, px, py);
        const float c3 = cross(x3, y3, x1, y1, px, py);
        const int32_t g = (j - 1) * nxi + i;
        if (c1 > 0.0f && c2 > 0.0f && c3 > 0.0f) {
          claim(t, g, true);
        } else if (c1 >= 0.0f && c2 >= 0.0f && c3 >= 0.0f) {
          claim(t, g, false);
        }
      }
    }
  }

  for (int32_t s = 1; s <= nl; ++s) {
    const int32_t ia = ipl(3 * s - 2), ib = ipl(3 * s - 1);
    const int32_t ic = ipl(3 * (s % nl + 1) - 1);
    const float xa = x(ia), ya = y(ia), xb = x(ib), yb = y(ib), xc = x(ic), yc = y(ic);
    const int64_t strip = nt + 2 * int64_t{s} - 1;
    const int64_t wedge = strip + 1;
    for (int32_t j = 1; j <= nyi; ++j) {
      const float py = gy[j - 1];
      for (int32_t i = 1; i <= nxi; ++i) {
        const float px = gx[i - 1];
        const int32_t g = (j - 1) * nxi + i;
        const float d1 = dot(px, py, xa, ya, xb, yb);
        const float d2 = dot(px, py, xb, yb, xa, ya);
        const float c = cross(xa, ya, xb, yb, px, py);
        if (d1 > 0.0f && d2 > 0.0f && c < 0.0f) {
          claim(strip, g, true);
        } else if (d1 >= 0.0f && d2 >= 0.0f && c <= 0.0f) {
          claim(strip, g, false);
        }
      }
    }
    for (int32_t j = 1; j <= nyi; ++j) {
      const float py = gy[j - 1];
      for (int32_t i = 1; i <= nxi; ++i) {
        const float px = gx[i - 1];
        const int32_t g = (j - 1) * nxi + i;
        const float e1 = dot(xa, ya, px, py, xb, yb);
        const float e2 = dot(px, py, xc, yc, xb, yb);
        if (e1 < 0.0f && e2 < 0.0f) {
          claim(wedge, g, true);
        } else if (e1 <= 0.0f && e2 <= 0.0f) {
          claim(wedge, g, false);
        }
      }
    }
  }

  // A point that no region claims (rounding at region borders, or a
  // coordinate that is not a number) goes to the triangle it is least
  // outside of, so that none is left without a value.
  for (int32_t j = 1; j <= nyi; ++j) {
    for (int32_t i = 1; i <= nxi; ++i) {
      const int32_t g = (j - 1) * nxi + i;
      if (claimed[static_cast<std::size_t>(g - 1)] != 0) continue;
      claim(idbvip_detail::nearest_triangle(xd, yd, nt, ipt_s, gx[i - 1], gy[j - 1]), g, false);
    }
  }

  int64_t front = 0;
  int64_t back = ngrid + 1;
  for (int64_t slot = 1; slot <= nregions; ++slot) {
    const auto& in = inside[static_cast<std::size_t>(slot - 1)];
    const auto& on = boundary[static_cast<std::size_t>(slot - 1)];
    ngp(2 * slot - 1) = static_cast<int32_t>(in.size());
    ngp(2 * slot) = static_cast<int32_t>(on.size());
    for (int32_t g : in) igp(++front) = g;
    for (int32_t g : on) igp(--back) = g;
  }
}

std::string timestamp_line(int year, int month, int day, int hour, int minute, int second,
                           int millisecond) {
  static const char* const months[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};
  const char* ampm = "AM";
  int h = hour;
  if (hour == 12) {
    ampm = (minute == 0 && second == 0) ? "Noon" : "PM";
  } else if (hour > 12) {
    h = hour - 12;
    ampm = "PM";
  }
  const char* name = (month >= 1 && month <= 12) ? months[month - 1] : "";
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s %2d %4d  %2d:%02d:%02d.%03d %s", name, day, year, h, minute,
                second, millisecond, ampm);
  return buf;
}

void timestamp(std::ostream& out) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t tt = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm tm{};
  localtime_r(&tt, &tm);
  out << timestamp_line(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec, static_cast<int>(ms.count()))
      << '\n';
}

void timestamp() { timestamp(std::cout); }

}  // namespace orvel
