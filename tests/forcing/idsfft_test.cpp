#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::points;

// Unit square; grid x = 0.25, 0.75, 1.5 and y = 0.25, 0.75, -0.5.  Points 1
// and 5 lie on the diagonal 1-3 (boundary of triangle 1, which claims them
// first), 2 inside triangle 1, 4 inside triangle 2, 7 and 8 in the strip of
// segment 1, 9 in the wedge after it, 3 and 6 in the strip of segment 2.
TEST(Idgrid, UnitSquareByHand) {
  const points p{{0, 1, 1, 0}, {0, 0, 1, 1}};
  const interp_test::triangulation t = interp_test::triangulate(p);
  const std::vector<double> xi{0.25, 0.75, 1.5}, yi{0.25, 0.75, -0.5};
  std::vector<int32_t> ngp(20, -1), igp(9, -1);
  idgrid(p.x, p.y, t.nt, t.ipt, t.nl, t.ipl, 3, 3, xi, yi, ngp, igp);
  EXPECT_EQ(ngp, (std::vector<int32_t>{1, 2, 1, 0, 2, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(igp, (std::vector<int32_t>{2, 4, 7, 8, 9, 3, 6, 5, 1}));
}

// Data points on the grid nodes themselves: many points on region borders,
// every one listed exactly once.
TEST(Idgrid, EveryGridPointListedOnce) {
  const points p = interp_test::grid_points(6, 5, 0.0f, 0.0f, 1.0f);
  const interp_test::triangulation t = interp_test::triangulate(p);
  std::vector<double> xi, yi;
  for (int i = -2; i <= 7; ++i) xi.push_back(i);
  for (int j = -3; j <= 6; ++j) yi.push_back(0.5 * j);
  const int32_t nxi = static_cast<int32_t>(xi.size()), nyi = static_cast<int32_t>(yi.size());
  std::vector<int32_t> ngp(2 * (t.nt + 2 * t.nl)), igp(static_cast<std::size_t>(nxi * nyi));
  idgrid(p.x, p.y, t.nt, t.ipt, t.nl, t.ipl, nxi, nyi, xi, yi, ngp, igp);
  int64_t total = 0;
  for (int32_t c : ngp) total += c;
  EXPECT_EQ(total, nxi * nyi);
  std::vector<int32_t> sorted = igp;
  std::sort(sorted.begin(), sorted.end());
  for (int32_t g = 1; g <= nxi * nyi; ++g) EXPECT_EQ(sorted[g - 1], g);
}

std::vector<float> column(const points& p, uint32_t seed) {
  std::mt19937 g(seed);
  std::vector<float> z;
  for (int32_t i = 0; i < p.n(); ++i) z.push_back(4.0f * interp_test::unit(g) - 2.0f);
  return z;
}

// The grid fit gives, point for point, what the point driver gives at the
// same coordinates (no grid point falls on a region border here).
TEST(Idsfft, SameValuesAsThePointDriver) {
  const points p = interp_test::random_points(81, 70, 355.0f, 40.0f, 8.0f, 5.0f);
  const std::vector<float> z = column(p, 82);
  std::vector<double> xi, yi;
  for (int i = 0; i < 23; ++i) xi.push_back(352.0 + 0.6123 * i);
  for (int j = 0; j < 17; ++j) yi.push_back(37.0 + 0.6571 * j);
  const int32_t nxi = 23, nyi = 17, nzi = 25;
  std::vector<float> grid(static_cast<std::size_t>(nzi * nyi), -7.0f);
  scattered_interpolator s;
  s.idsfft(1, p.n(), p.x, p.y, z, nxi, nyi, nzi, xi, yi, grid);
  std::vector<double> px, py;
  for (int j = 0; j < nyi; ++j) {
    for (int i = 0; i < nxi; ++i) {
      px.push_back(xi[i]);
      py.push_back(yi[j]);
    }
  }
  std::vector<float> pts(px.size());
  scattered_interpolator d;
  d.idbvip(1, p.n(), p.x, p.y, z, static_cast<int32_t>(px.size()), px, py, pts);
  for (int j = 0; j < nyi; ++j) {
    for (int i = 0; i < nxi; ++i) EXPECT_EQ(grid[j * nzi + i], pts[j * nxi + i]) << i << "," << j;
    // Positions beyond NXI in each row are left untouched.
    for (int i = nxi; i < nzi; ++i) EXPECT_EQ(grid[j * nzi + i], -7.0f);
  }
}

TEST(Idsfft, ModesTwoAndThreeEqualAFreshModeOne) {
  const points p = interp_test::random_points(83, 50);
  const std::vector<double> xa{-0.2, 0.1, 0.4, 0.7, 1.0, 1.3}, ya{-0.1, 0.35, 0.8, 1.25};
  const std::vector<double> xb{0.05, 0.55, 1.05}, yb{0.15, 0.45, 0.75, 0.95, 1.4};
  auto fit = [&](scattered_interpolator& s, int32_t md, const std::vector<float>& z,
                 const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<float> out(x.size() * y.size());
    s.idsfft(md, p.n(), p.x, p.y, z, static_cast<int32_t>(x.size()), static_cast<int32_t>(y.size()),
             static_cast<int32_t>(x.size()), x, y, out);
    return out;
  };
  const std::vector<float> z1 = column(p, 84), z2 = column(p, 85);
  scattered_interpolator kept, f1, f2, f3;
  fit(kept, 1, z1, xa, ya);
  EXPECT_EQ(fit(kept, 3, z2, xa, ya), fit(f1, 1, z2, xa, ya));
  EXPECT_EQ(fit(kept, 2, z1, xb, yb), fit(f2, 1, z1, xb, yb));
  EXPECT_EQ(fit(kept, 3, z2, xb, yb), fit(f3, 1, z2, xb, yb));
}

TEST(Idsfft, FatalErrors) {
  const std::string head = " \nIDSFFT - Fatal error!\n";
  const points p = interp_test::random_points(86, 8);
  const std::vector<float> z(8, 1.0f);
  const std::vector<double> x{0.2, 0.5, 0.8}, y{0.3, 0.6};
  std::vector<float> out(12);
  scattered_interpolator s;
  auto call = [&](int32_t md, int32_t ndp, int32_t nxi, int32_t nyi, int32_t nzi) {
    return interp_test::stop_text([&] { s.idsfft(md, ndp, p.x, p.y, z, nxi, nyi, nzi, x, y, out); });
  };
  // The MD line is a list-directed item: one blank more in front.
  EXPECT_EQ(call(0, 3, 0, 0, 0), head + "   Input parameter MD out of range.");
  EXPECT_EQ(call(4, 8, 3, 2, 3), head + "   Input parameter MD out of range.");
  EXPECT_EQ(call(1, 3, 0, 2, 3), head + "  Input parameter NDP out of range.");
  EXPECT_EQ(call(1, 8, 0, 2, 3), head + "  Input parameter NXI or NYI out of range.");
  EXPECT_EQ(call(1, 8, 3, 0, 3), head + "  Input parameter NXI or NYI out of range.");
  EXPECT_EQ(call(1, 8, 3, 2, 2), head + "  Input parameter NZI is less than NXI.");
  EXPECT_EQ(call(2, 8, 3, 2, 3), head + "  MD = 2 or 3 but ndp was changed since last call.");
  s.idsfft(1, 8, p.x, p.y, z, 3, 2, 3, x, y, out);
  EXPECT_EQ(call(3, 7, 3, 2, 3), head + "  MD = 2 or 3 but ndp was changed since last call.");
  EXPECT_EQ(call(3, 8, 2, 2, 3), head + "MD = 3 but nxi was changed since last call.");
  EXPECT_EQ(call(3, 8, 3, 1, 3), head + "  MD = 3 but nyi was changed since last call.");
  s.idsfft(3, 8, p.x, p.y, z, 3, 2, 3, x, y, out);
}

// The grid fit and the point driver share the triangulation, but neither's
// located points serve the other's mode 3.
TEST(Idsfft, LocatedPointsAreNotShared) {
  const points p = interp_test::random_points(87, 8);
  const std::vector<float> z(8, 1.0f);
  const std::vector<double> x{0.2, 0.5, 0.8}, y{0.3, 0.6, 0.9};
  std::vector<float> out(9);
  scattered_interpolator s;
  s.idbvip(1, 8, p.x, p.y, z, 3, x, y, out);
  EXPECT_EQ(interp_test::stop_text([&] { s.idsfft(3, 8, p.x, p.y, z, 3, 3, 3, x, y, out); }),
            " \nIDSFFT - Fatal error!\nMD = 3 but nxi was changed since last call.");
  s.idsfft(2, 8, p.x, p.y, z, 3, 3, 3, x, y, out);  // mode 2 reuses the triangulation
  EXPECT_EQ(interp_test::stop_text([&] { s.idbvip(3, 8, p.x, p.y, z, 3, x, y, out); }),
            " \nIDBVIP - Fatal error!\n  MD = 3 but NIP was changed since last call.");
  s.idbvip(2, 8, p.x, p.y, z, 3, x, y, out);
  s.idbvip(3, 8, p.x, p.y, z, 3, x, y, out);
}

TEST(Timestamp, Lines) {
  struct {
    int y, mo, d, h, mi, s, ms;
    const char* want;
  } table[] = {
      {2024, 1, 5, 9, 5, 3, 7, "January  5 2024   9:05:03.007 AM"},
      {2026, 12, 31, 12, 0, 0, 0, "December 31 2026  12:00:00.000 Noon"},
      {2026, 12, 31, 12, 0, 1, 0, "December 31 2026  12:00:01.000 PM"},
      {2025, 9, 10, 0, 30, 0, 250, "September 10 2025   0:30:00.250 AM"},
      {2025, 3, 1, 23, 59, 59, 999, "March  1 2025  11:59:59.999 PM"},
  };
  for (const auto& r : table) {
    EXPECT_EQ(timestamp_line(r.y, r.mo, r.d, r.h, r.mi, r.s, r.ms), r.want);
  }
  std::ostringstream out;
  timestamp(out);
  EXPECT_EQ(out.str().back(), '\n');
  EXPECT_NE(out.str().find(':'), std::string::npos);
}

}  // namespace
}  // namespace orvel
