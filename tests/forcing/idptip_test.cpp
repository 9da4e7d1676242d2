#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "forcing/idbvip.hpp"
#include "tests/forcing/interp_support.hpp"

namespace orvel {
namespace {

using interp_test::locator;
using interp_test::points;
using interp_test::triangulation;

// A cubic c0 + c1 x + c2 y + c3 x^2 + c4 xy + c5 y^2 + c6 x^3 + c7 x^2 y +
// c8 x y^2 + c9 y^3 with its exact derivatives.
struct cubic {
  double c[10];
  double z(double x, double y) const {
    return c[0] + c[1] * x + c[2] * y + c[3] * x * x + c[4] * x * y + c[5] * y * y +
           c[6] * x * x * x + c[7] * x * x * y + c[8] * x * y * y + c[9] * y * y * y;
  }
  double zx(double x, double y) const {
    return c[1] + 2 * c[3] * x + c[4] * y + 3 * c[6] * x * x + 2 * c[7] * x * y + c[8] * y * y;
  }
  double zy(double x, double y) const {
    return c[2] + c[4] * x + 2 * c[5] * y + c[7] * x * x + 2 * c[8] * x * y + 3 * c[9] * y * y;
  }
  double zxx(double x, double y) const { return 2 * c[3] + 6 * c[6] * x + 2 * c[7] * y; }
  double zxy(double x, double y) const { return c[4] + 2 * c[7] * x + 2 * c[8] * y; }
  double zyy(double x, double y) const { return 2 * c[5] + 2 * c[8] * x + 6 * c[9] * y; }
};

struct surface {
  std::vector<float> z, pd;
};

// Data values and exact derivatives of f at the data points.
surface exact(const points& p, const cubic& f) {
  surface s;
  for (int32_t i = 0; i < p.n(); ++i) {
    const double x = p.x[i], y = p.y[i];
    s.z.push_back(static_cast<float>(f.z(x, y)));
    for (double d : {f.zx(x, y), f.zy(x, y), f.zxx(x, y), f.zxy(x, y), f.zyy(x, y)}) {
      s.pd.push_back(static_cast<float>(d));
    }
  }
  return s;
}

float value_at(const points& p, const triangulation& t, const surface& s, region_code r, double x,
               double y, idpt_record& idpt) {
  float v = 0.0f;
  idptip(p.x, p.y, s.z, t.nt, t.ipt, t.nl, t.ipl, s.pd, r, x, y, v, idpt);
  return v;
}

// With exact first and second derivatives, the triangle, strip and wedge
// polynomials all reproduce a quadratic.
TEST(Idptip, ReproducesAQuadraticWithExactDerivatives) {
  const points p = interp_test::random_points(41, 60);
  const triangulation t = interp_test::triangulate(p);
  const cubic f{{0.3, -1.2, 0.7, 0.9, -1.4, 0.6, 0, 0, 0, 0}};
  const surface s = exact(p, f);
  locator loc(p, t);
  idpt_record idpt;
  std::mt19937 g(5);
  int kinds[3] = {0, 0, 0};
  for (int k = 0; k < 3000; ++k) {
    const double x = -1.0 + 3.0 * interp_test::unit(g);
    const double y = -1.0 + 3.0 * interp_test::unit(g);
    const region_code r = loc(x, y);
    const region_code ntl = t.nt + t.nl;
    kinds[r <= t.nt ? 0 : (r / ntl == r % ntl ? 1 : 2)]++;
    const double want = f.z(x, y);
    EXPECT_NEAR(value_at(p, t, s, r, x, y, idpt), want, 2e-5 * (1.0 + std::fabs(want)))
        << "at " << x << ", " << y << " region " << r;
  }
  EXPECT_GT(kinds[0], 150);
  EXPECT_GT(kinds[1], 200);
  EXPECT_GT(kinds[2], 200);
}

// Inside the triangles the quintic reproduces a cubic too, which exercises
// every coefficient, the cross-boundary ones included.
TEST(Idptip, ReproducesACubicInsideTriangles) {
  const points p = interp_test::random_points(42, 60);
  const triangulation t = interp_test::triangulate(p);
  const cubic f{{0.3, -1.2, 0.7, 0.9, -1.4, 0.6, 1.1, -0.8, 0.5, -1.3}};
  const surface s = exact(p, f);
  locator loc(p, t);
  idpt_record idpt;
  std::mt19937 g(6);
  for (int k = 0; k < 3000; ++k) {
    const double x = interp_test::unit(g), y = interp_test::unit(g);
    const region_code r = loc(x, y);
    if (r > t.nt) continue;
    const double want = f.z(x, y);
    EXPECT_NEAR(value_at(p, t, s, r, x, y, idpt), want, 2e-5 * (1.0 + std::fabs(want)))
        << "at " << x << ", " << y << " triangle " << r;
  }
}

// For arbitrary data the value is continuous across every region border:
// along a shared edge both triangles' polynomials depend only on the data
// at the edge's ends, on a border segment the strip meets the triangle, and
// the strip meets the wedge on the normal line at its end.
TEST(Idptip, ContinuousAcrossRegionBorders) {
  const points p = interp_test::random_points(43, 50);
  const triangulation t = interp_test::triangulate(p);
  surface s;
  std::mt19937 g(7);
  for (int32_t i = 0; i < p.n(); ++i) {
    s.z.push_back(2.0f * interp_test::unit(g) - 1.0f);
    for (int k = 0; k < 5; ++k) s.pd.push_back(4.0f * interp_test::unit(g) - 2.0f);
  }
  const region_code ntl = t.nt + t.nl;
  idpt_record idpt;
  auto X = [&](int32_t i) { return static_cast<double>(p.x[i - 1]); };
  auto Y = [&](int32_t i) { return static_cast<double>(p.y[i - 1]); };
  // Edge -> triangle on its left.
  std::map<std::pair<int32_t, int32_t>, int32_t> left_of;
  for (int32_t k = 1; k <= t.nt; ++k) {
    for (int32_t e = 1; e <= 3; ++e) left_of[{t.tri(k, e), t.tri(k, e % 3 + 1)}] = k;
  }
  int shared = 0;
  for (const auto& [e, k1] : left_of) {
    for (double w : {0.2, 0.5, 0.9}) {
      const double x = X(e.first) + w * (X(e.second) - X(e.first));
      const double y = Y(e.first) + w * (Y(e.second) - Y(e.first));
      const float v1 = value_at(p, t, s, k1, x, y, idpt);
      auto it = left_of.find({e.second, e.first});
      region_code other = 0;
      if (it != left_of.end()) {
        other = it->second;
        ++shared;
      } else {
        for (int32_t sg = 1; sg <= t.nl; ++sg) {
          if (t.seg(sg, 1) == e.first && t.seg(sg, 2) == e.second) other = sg * ntl + sg;
        }
      }
      ASSERT_NE(other, 0);
      EXPECT_NEAR(value_at(p, t, s, other, x, y, idpt), v1, 2e-4)
          << "edge " << e.first << "-" << e.second << " at " << w;
    }
  }
  EXPECT_GT(shared, 100);
  // Strip s and the wedge after it, on the outward normal at the end of s.
  for (int32_t sg = 1; sg <= t.nl; ++sg) {
    const int32_t a = t.seg(sg, 1), b = t.seg(sg, 2);
    const double len = std::hypot(X(b) - X(a), Y(b) - Y(a));
    const double nx = (Y(b) - Y(a)) / len, ny = -(X(b) - X(a)) / len;
    for (double d : {0.05, 0.3}) {
      const double x = X(b) + d * nx, y = Y(b) + d * ny;
      const float strip = value_at(p, t, s, sg * ntl + sg, x, y, idpt);
      const float wedge = value_at(p, t, s, sg * ntl + sg % t.nl + 1, x, y, idpt);
      EXPECT_NEAR(strip, wedge, 2e-4 * (1.0 + d / len) * (1.0 + d / len)) << "segment " << sg;
    }
  }
}

// In a wedge the value is the second-order Taylor polynomial of its vertex.
TEST(Idptip, WedgeIsTheTaylorPolynomialOfItsVertex) {
  const points p{{0, 1, 1, 0}, {0, 0, 1, 1}};
  const triangulation t = interp_test::triangulate(p);
  surface s;
  s.z = {1.0f, 2.0f, -1.0f, 0.5f};
  s.pd.assign(20, 0.0f);
  // Vertex 3 at (1, 1): zx, zy, zxx, zxy, zyy.
  const float d3[5] = {0.5f, -0.25f, 1.0f, 0.75f, -2.0f};
  for (int k = 0; k < 5; ++k) s.pd[10 + k] = d3[k];
  idpt_record idpt;
  // Wedge beyond vertex 3: end of segment 2 (2-3), code 2*6 + 3.
  const double dx = 0.5, dy = 0.25;
  const double want = -1.0 + 0.5 * dx - 0.25 * dy + 0.5 * 1.0 * dx * dx + 0.75 * dx * dy -
                      0.5 * 2.0 * dy * dy;
  EXPECT_NEAR(value_at(p, t, s, 15, 1.0 + dx, 1.0 + dy, idpt), want, 1e-6);
  EXPECT_EQ(idpt.x0, 1.0f);
  EXPECT_EQ(idpt.y0, 1.0f);
}

// The coefficients cached for a region give the same values as coefficients
// computed afresh.
TEST(Idptip, CacheGivesTheSameValues) {
  const points p = interp_test::random_points(44, 40);
  const triangulation t = interp_test::triangulate(p);
  surface s;
  std::mt19937 g(8);
  for (int32_t i = 0; i < p.n(); ++i) {
    s.z.push_back(interp_test::unit(g));
    for (int k = 0; k < 5; ++k) s.pd.push_back(interp_test::unit(g) - 0.5f);
  }
  locator loc(p, t);
  idpt_record cached;
  int reused = 0;
  for (int j = 0; j < 30; ++j) {
    for (int i = 0; i < 30; ++i) {
      const double x = -0.3 + 1.6 * i / 29.0, y = -0.3 + 1.6 * j / 29.0;
      const region_code r = loc(x, y);
      if (cached.itpv == r) ++reused;
      const float v1 = value_at(p, t, s, r, x, y, cached);
      idpt_record fresh;
      const float v2 = value_at(p, t, s, r, x, y, fresh);
      EXPECT_EQ(v1, v2);
    }
  }
  EXPECT_GT(reused, 300);
}

TEST(Idpdrv, TwoTrianglesByHand) {
  // Triangles (1,2,3) and (1,3,4) meet at point 1 with plane gradients
  // (1, 0) and (-1, 0) and weights 1 and 0.5 there.
  const std::vector<float> x{0, 1, 0, -2}, y{0, 0, 1, 0}, z{0, 1, 0, 2};
  const std::vector<int32_t> ipt{1, 2, 3, 1, 3, 4};
  std::vector<float> pd(20, -9.0f), ws(4, -9.0f);
  idpdrv(4, x, y, z, 2, ipt, pd, ws);
  EXPECT_FLOAT_EQ(ws[0], 1.5f);
  EXPECT_FLOAT_EQ(ws[1], 1.0f / (std::sqrt(2.0f) * std::sqrt(2.0f) * std::sqrt(2.0f)));
  EXPECT_FLOAT_EQ(pd[0], 1.0f / 3.0f);  // zx at point 1
  EXPECT_FLOAT_EQ(pd[1], 0.0f);         // zy at point 1
  EXPECT_FLOAT_EQ(pd[5], 1.0f);         // zx at point 2: its only plane
  EXPECT_FLOAT_EQ(pd[15], -1.0f);       // zx at point 4
  // The second derivatives come from the planes of the first derivatives:
  // zx is 1/3, 1, zx(3) and -1 at the points.
  for (int i = 0; i < 4; ++i) {
    for (int k = 2; k < 5; ++k) EXPECT_TRUE(std::isfinite(pd[5 * i + k]));
  }
}

// z = x y on the quadrilateral (0,0), (1,0), (1,1), (0,2) cut into the
// triangles A = (1,2,3) and B = (1,3,4), worked out by hand.  The plane of A
// is z = y, of B z = x; a triangle weighs at a vertex nz^2 / (product of its
// two sides there)^3, nz being twice its area: A weighs 1/(2 sqrt2) at
// points 1 and 3, B 1/(4 sqrt2) at point 1 and 1/2 at point 3.  So the
// gradients are (1/3, 2/3) at point 1, (0, 1) at 2, (2 - sqrt2, sqrt2 - 1) at
// 3 and (1, 0) at 4.  The planes through these give, on A,
// d(zx)/dx = -1/3, d(zx)/dy = 2 - sqrt2, d(zy)/dx = 1/3, d(zy)/dy = sqrt2 - 2,
// and on B 4/3 - sqrt2, 1/3, sqrt2 - 4/3, -1/3.  At point 1, A counts 2/3 and
// B 1/3, at point 3 A counts sqrt2 - 1 and B 2 - sqrt2; zxy is the mean of
// d(zx)/dy and d(zy)/dx.
TEST(Idpdrv, SecondDerivativesOfXTimesYByHand) {
  const std::vector<float> x{0, 1, 1, 0}, y{0, 0, 1, 2}, z{0, 0, 1, 0};
  const std::vector<int32_t> ipt{1, 2, 3, 1, 3, 4};
  std::vector<float> pd(20, -9.0f), ws(4, -9.0f);
  idpdrv(4, x, y, z, 2, ipt, pd, ws);
  const double r2 = std::sqrt(2.0);
  const double want[4][5] = {
      {1.0 / 3, 2.0 / 3, 2.0 / 9 - r2 / 3, 11.0 / 18 - r2 / 6, 2 * r2 / 3 - 13.0 / 9},
      {0, 1, -1.0 / 3, 7.0 / 6 - r2 / 2, r2 - 2},
      {2 - r2, r2 - 1, 5 - 11 * r2 / 3, (19 * r2 - 25) / 6, 10.0 / 3 - 8 * r2 / 3},
      {1, 0, 4.0 / 3 - r2, (r2 - 1) / 2, -1.0 / 3},
  };
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 5; ++k) {
      EXPECT_NEAR(pd[5 * i + k], want[i][k], 2e-6) << "point " << i + 1 << ", derivative " << k + 1;
    }
  }
  EXPECT_NEAR(ws[0], 3 / (4 * r2), 1e-6);
}

TEST(Idpdrv, LinearFieldGivesItsGradient) {
  const points p = interp_test::random_points(45, 100);
  const triangulation t = interp_test::triangulate(p);
  std::vector<float> z, pd(500), ws(100);
  for (int32_t i = 0; i < p.n(); ++i) z.push_back(1.5f + 0.75f * p.x[i] - 2.25f * p.y[i]);
  idpdrv(p.n(), p.x, p.y, z, t.nt, t.ipt, pd, ws);
  for (int32_t i = 0; i < p.n(); ++i) {
    EXPECT_NEAR(pd[5 * i], 0.75f, 2e-4) << i;
    EXPECT_NEAR(pd[5 * i + 1], -2.25f, 2e-4) << i;
    for (int k = 2; k < 5; ++k) EXPECT_NEAR(pd[5 * i + k], 0.0f, 2e-2) << i;
    EXPECT_GT(ws[i], 0.0f);
  }
}

// A point whose triangles all fail the flatness test has no weight: it gets
// zero derivatives, not the quotient 0/0.
TEST(Idpdrv, PointOnlyInFlatTrianglesGetsZeroDerivatives) {
  const std::vector<float> x{0, 1, 0, 2}, y{0, 0, 1, 1e-7f}, z{1, 2, 3, 7};
  const std::vector<int32_t> ipt{1, 2, 3, 1, 2, 4};
  std::vector<float> pd(20, -9.0f), ws(4, -9.0f);
  idpdrv(4, x, y, z, 2, ipt, pd, ws);
  EXPECT_EQ(ws[3], 0.0f);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(pd[15 + k], 0.0f) << k;
  // The other points see the first triangle only: gradient (1, 2).
  EXPECT_FLOAT_EQ(pd[0], 1.0f);
  EXPECT_FLOAT_EQ(pd[1], 2.0f);
  EXPECT_FLOAT_EQ(pd[5], 1.0f);
  EXPECT_FLOAT_EQ(pd[6], 2.0f);
}

}  // namespace
}  // namespace orvel
