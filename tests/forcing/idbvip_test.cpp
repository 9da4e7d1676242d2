#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::points;

struct outputs {
  std::vector<double> x, y;
  int32_t n() const { return static_cast<int32_t>(x.size()); }
};

// Random output points over the data box widened by `margin` on each side,
// then a raster over the same area.
outputs output_points(const points& p, double margin, uint32_t seed, int32_t nrandom,
                      int32_t raster) {
  const auto [xa, xb] = std::minmax_element(p.x.begin(), p.x.end());
  const auto [ya, yb] = std::minmax_element(p.y.begin(), p.y.end());
  const double w = *xb - *xa, h = *yb - *ya;
  const double x0 = *xa - margin * w, y0 = *ya - margin * h;
  const double ww = (1 + 2 * margin) * w, hh = (1 + 2 * margin) * h;
  outputs o;
  std::mt19937 g(seed);
  for (int32_t k = 0; k < nrandom; ++k) {
    o.x.push_back(x0 + ww * interp_test::unit(g));
    o.y.push_back(y0 + hh * interp_test::unit(g));
  }
  for (int32_t j = 0; j < raster; ++j) {
    for (int32_t i = 0; i < raster; ++i) {
      o.x.push_back(x0 + ww * i / (raster - 1));
      o.y.push_back(y0 + hh * j / (raster - 1));
    }
  }
  return o;
}

std::vector<float> run(scattered_interpolator& s, int32_t md, const points& p,
                       const std::vector<float>& z, const outputs& o) {
  std::vector<float> zi(static_cast<std::size_t>(o.n()), std::numeric_limits<float>::quiet_NaN());
  s.idbvip(md, p.n(), p.x, p.y, z, o.n(), o.x, o.y, zi);
  return zi;
}

std::vector<float> values(const points& p, double a, double b, double c) {
  std::vector<float> z;
  for (int32_t i = 0; i < p.n(); ++i) z.push_back(static_cast<float>(a + b * p.x[i] + c * p.y[i]));
  return z;
}

struct data_case {
  std::string name;
  points p;
};

std::vector<data_case> data_cases() {
  std::vector<data_case> c;
  c.push_back({"random", interp_test::random_points(51, 120)});
  c.push_back({"random_lon360", interp_test::random_points(52, 100, 355.0f, 40.0f, 10.0f, 6.0f)});
  c.push_back({"grid20", interp_test::grid_points(20, 20, 0.0f, 0.0f, 0.05f)});
  c.push_back({"grid_lon360", interp_test::grid_points(20, 20, 357.5f, 41.0f, 0.25f)});
  c.push_back({"circle", interp_test::circle_points(48, 0.5f, 0.5f, 0.5f)});
  return c;
}

TEST(Idbvip, ConstantFieldBitForBit) {
  for (const data_case& c : data_cases()) {
    SCOPED_TRACE(c.name);
    const outputs o = output_points(c.p, 2.0, 61, 500, 25);
    scattered_interpolator s;
    const std::vector<float> z(static_cast<std::size_t>(c.p.n()), 0.8125f);
    for (float v : run(s, 1, c.p, z, o)) ASSERT_EQ(v, 0.8125f);
  }
}

// a + b x + c y is reproduced to within rounding everywhere: inside the
// hull, in the strips and wedges outside it (up to a hull width away).
TEST(Idbvip, LinearFieldReproduced) {
  for (const data_case& c : data_cases()) {
    SCOPED_TRACE(c.name);
    const outputs o = output_points(c.p, 1.0, 62, 1500, 30);
    const double x0 = c.p.x[0], y0 = c.p.y[0];
    // Values of order 1 with gradients of order 1 per data box.
    const auto [xa, xb] = std::minmax_element(c.p.x.begin(), c.p.x.end());
    const auto [ya, yb] = std::minmax_element(c.p.y.begin(), c.p.y.end());
    const double scale = *xb - *xa;
    const double b = 0.6 / scale, cc = -0.45 / scale;
    const double a = 0.3 - b * x0 - cc * y0;
    scattered_interpolator s;
    const std::vector<float> zi = run(s, 1, c.p, values(c.p, a, b, cc), o);
    const region_code ntl = s.nt() + s.nl();
    int kinds[3] = {0, 0, 0};
    for (int32_t k = 0; k < o.n(); ++k) {
      const region_code r = s.region(k + 1);
      const int kind = r <= s.nt() ? 0 : (r / ntl == r % ntl ? 1 : 2);
      ++kinds[kind];
      const double want = a + b * o.x[k] + cc * o.y[k];
      // Outside, rounding noise in the second derivatives grows with the
      // square of the distance.
      const double dx = std::max({0.0, *xa - o.x[k], o.x[k] - *xb}) / scale;
      const double dy = std::max({0.0, *ya - o.y[k], o.y[k] - *yb}) / scale;
      const double tol = kind == 0 ? 2e-6 * (1.0 + std::fabs(want))
                                   : 5e-5 * (1.0 + std::fabs(want)) * (1.0 + 10.0 * (dx * dx + dy * dy));
      ASSERT_NEAR(zi[k], want, tol) << "at " << o.x[k] << ", " << o.y[k];
    }
    EXPECT_GT(kinds[0], 100);
    EXPECT_GT(kinds[1], 100);
    EXPECT_GT(kinds[2], 100);
  }
}

TEST(Idbvip, DataValuesAtDataPoints) {
  for (const data_case& c : data_cases()) {
    SCOPED_TRACE(c.name);
    std::mt19937 g(63);
    std::vector<float> z;
    for (int32_t i = 0; i < c.p.n(); ++i) z.push_back(2.0f * interp_test::unit(g) - 1.0f);
    outputs o;
    for (int32_t i = 0; i < c.p.n(); ++i) {
      o.x.push_back(c.p.x[i]);
      o.y.push_back(c.p.y[i]);
    }
    scattered_interpolator s;
    const std::vector<float> zi = run(s, 1, c.p, z, o);
    for (int32_t i = 0; i < c.p.n(); ++i) EXPECT_NEAR(zi[i], z[i], 2e-5) << "point " << i + 1;
  }
}

TEST(Idbvip, NoOutputLeftUnset) {
  const points p = interp_test::random_points(53, 40);
  outputs o = output_points(p, 50.0, 64, 300, 10);
  o.x.push_back(1e4);
  o.y.push_back(-1e4);
  std::mt19937 g(65);
  std::vector<float> z;
  for (int32_t i = 0; i < p.n(); ++i) z.push_back(interp_test::unit(g));
  scattered_interpolator s;
  for (float v : run(s, 1, p, z, o)) EXPECT_TRUE(std::isfinite(v));
}

// Mode 3 reuses the triangulation and the located points; mode 2 reuses the
// triangulation: both give exactly what a fresh mode 1 gives.
TEST(Idbvip, ModesTwoAndThreeEqualAFreshModeOne) {
  for (const data_case& c : data_cases()) {
    SCOPED_TRACE(c.name);
    const outputs o1 = output_points(c.p, 0.5, 66, 400, 20);
    const outputs o2 = output_points(c.p, 0.3, 67, 250, 12);
    std::mt19937 g(68);
    std::vector<std::vector<float>> columns(3);
    for (auto& z : columns) {
      for (int32_t i = 0; i < c.p.n(); ++i) z.push_back(10.0f * interp_test::unit(g));
    }
    scattered_interpolator kept;
    run(kept, 1, c.p, columns[0], o1);
    for (int col = 1; col < 3; ++col) {
      scattered_interpolator fresh;
      EXPECT_EQ(run(kept, 3, c.p, columns[col], o1), run(fresh, 1, c.p, columns[col], o1));
    }
    scattered_interpolator fresh2;
    EXPECT_EQ(run(kept, 2, c.p, columns[0], o2), run(fresh2, 1, c.p, columns[0], o2));
    scattered_interpolator fresh3;
    EXPECT_EQ(run(kept, 3, c.p, columns[1], o2), run(fresh3, 1, c.p, columns[1], o2));
  }
}

TEST(Idbvip, StateAfterModeOne) {
  const points p{{0, 1, 1, 0}, {0, 0, 1, 1}};
  const outputs o{{0.7, 0.5, 2.0}, {0.2, -1.0, 2.0}};
  scattered_interpolator s;
  std::vector<float> zi(3);
  const std::vector<float> z{1, 2, 3, 4};
  s.idbvip(1, 4, p.x, p.y, z, 3, o.x, o.y, zi);
  EXPECT_EQ(s.iwk()(1), 4);
  EXPECT_EQ(s.iwk()(3), 3);
  EXPECT_EQ(s.nt(), 2);
  EXPECT_EQ(s.nl(), 4);
  EXPECT_EQ(s.triangle(2, 1), 1);
  EXPECT_EQ(s.triangle(2, 2), 3);
  EXPECT_EQ(s.triangle(2, 3), 4);
  EXPECT_EQ(s.border(3, 1), 3);
  EXPECT_EQ(s.border(3, 2), 4);
  EXPECT_EQ(s.border(3, 3), 2);
  EXPECT_EQ(s.region(1), 1);
  EXPECT_EQ(s.region(2), 7);
  EXPECT_EQ(s.region(3), 15);
  EXPECT_EQ(s.idlc().itipv, 15);  // the last point's region
  // The values are not those of a plane; every derivative is finite.
  for (int32_t i = 1; i <= 4; ++i) {
    for (int32_t k = 1; k <= 5; ++k) EXPECT_TRUE(std::isfinite(s.derivative(i, k)));
  }
}

TEST(Idbvip, FatalErrors) {
  const std::string head = " \nIDBVIP - Fatal error!\n";
  const points p = interp_test::random_points(54, 10);
  const std::vector<float> z(10, 1.0f);
  const outputs o = output_points(p, 0.1, 69, 5, 0);
  std::vector<float> zi(5);
  scattered_interpolator s;
  auto call = [&](int32_t md, int32_t ndp, int32_t nip) {
    return interp_test::stop_text([&] { s.idbvip(md, ndp, p.x, p.y, z, nip, o.x, o.y, zi); });
  };
  // Before any successful call, modes 2 and 3 have nothing to reuse.
  EXPECT_EQ(call(2, 10, 5), head + "  MD = 2 or 3 but NDP was changed since last call.");
  EXPECT_EQ(call(3, 10, 5), head + "  MD = 2 or 3 but NDP was changed since last call.");
  // The checks in their order: MD before NDP before NIP.
  EXPECT_EQ(call(0, 3, 0), head + "  Input parameter MD out of range.");
  EXPECT_EQ(call(4, 10, 5), head + "  Input parameter MD out of range.");
  EXPECT_EQ(call(1, 3, 0), head + "  Input parameter NDP out of range.");
  EXPECT_EQ(call(1, 4, 0), head + "  Input parameter NIP out of range.");
  s.idbvip(1, 10, p.x, p.y, z, 5, o.x, o.y, zi);
  EXPECT_EQ(call(2, 9, 5), head + "  MD = 2 or 3 but NDP was changed since last call.");
  EXPECT_EQ(call(3, 9, 5), head + "  MD = 2 or 3 but NDP was changed since last call.");
  EXPECT_EQ(call(3, 10, 4), head + "  MD = 3 but NIP was changed since last call.");
  std::vector<float> big(6);
  outputs o6 = output_points(p, 0.1, 70, 6, 0);
  EXPECT_EQ(interp_test::stop_text([&] {
              s.idbvip(3, 10, p.x, p.y, z, 6, o6.x, o6.y, big);
            }),
            head + "  MD = 3 but NIP was changed since last call.");
  // Mode 2 takes the new NIP; mode 3 then accepts it.
  s.idbvip(2, 10, p.x, p.y, z, 4, o.x, o.y, zi);
  s.idbvip(3, 10, p.x, p.y, z, 4, o.x, o.y, zi);
}

TEST(Idbvip, TriangulationErrorsStopTheRun) {
  const std::string head = " \nIDTANG - Fatal error!\n";
  const points good = interp_test::random_points(55, 6);
  points twin = good;
  twin.x[4] = twin.x[1];
  twin.y[4] = twin.y[1];
  const points line{{0, 1, 2, 3, 4}, {1, 1, 1, 1, 1}};
  const std::vector<float> z(6, 1.0f);
  const std::vector<double> xi{0.5}, yi{0.5};
  std::vector<float> zi(1);
  scattered_interpolator s;
  s.idbvip(1, 6, good.x, good.y, z, 1, xi, yi, zi);
  EXPECT_EQ(interp_test::stop_text([&] { s.idbvip(1, 6, twin.x, twin.y, z, 1, xi, yi, zi); }),
            head + "  Two of the input data points are identical.");
  // The failed call leaves nothing to reuse.
  EXPECT_EQ(interp_test::stop_text([&] { s.idbvip(3, 6, good.x, good.y, z, 1, xi, yi, zi); }),
            " \nIDBVIP - Fatal error!\n  MD = 2 or 3 but NDP was changed since last call.");
  EXPECT_EQ(interp_test::stop_text([&] { s.idbvip(1, 5, line.x, line.y, z, 1, xi, yi, zi); }),
            head + "  All collinear data points.");
}

// Beyond the hull of a unit square with a centre point: a point in the
// wedge beyond a corner takes that corner's data value exactly, a point in
// the strip beyond a side the value on the side at the foot of its
// perpendicular (the interpolant's value there, approached from inside),
// and points inside keep their values bit for bit.
TEST(Idbvip, HoldBeyondHullTakesTheNearestHullValue) {
  points p;
  p.x = {0, 1, 1, 0, 0.5f};
  p.y = {0, 0, 1, 1, 0.4f};
  const std::vector<float> z = {1.0f, 3.5f, -2.0f, 0.25f, 4.0f};
  outputs o;
  o.x = {2.0, 0.3, 0.3, -0.7, 0.6, 0.3};
  o.y = {1.5, -2.0, 1e-9, 0.8, 0.7, 0.5};
  scattered_interpolator s;
  const std::vector<float> plain = run(s, 1, p, z, o);
  std::vector<float> held = plain;
  EXPECT_EQ(s.hold_beyond_hull(p.x, p.y, z, o.x, o.y, held), 3);
  EXPECT_EQ(held[0], z[2]);                       // wedge beyond (1, 1)
  EXPECT_NEAR(held[1], plain[2], 2e-6);           // strip beyond y = 0, foot (0.3, 0)
  EXPECT_NE(held[1], plain[1]);
  EXPECT_EQ(held[2], plain[2]);                   // inside, next to the side
  EXPECT_NE(held[3], plain[3]);                   // strip beyond x = 0, foot (0, 0.8)
  for (std::size_t k : {4u, 5u}) EXPECT_EQ(held[k], plain[k]);
  // The foot (0, 0.8) approached from inside.
  outputs foot;
  foot.x = {1e-9};
  foot.y = {0.8};
  const std::vector<float> at_foot = run(s, 2, p, z, foot);
  EXPECT_NEAR(held[3], at_foot[0], 2e-6);
}

}  // namespace
}  // namespace orvel
