#include "geometry/plane_measures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/directions.hpp"
#include "geometry/plane_forms.hpp"
#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::canaries;
using testing::canary;
using testing::expect_fatal;
using testing::icanaries;
using testing::icanary;
using testing::random_points;
using testing::rel_near;
using testing::vec_rel_near;

constexpr double pi = 3.141592653589793;

double dot3(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void cross3(const double* a, const double* b, double* c) {
  c[0] = a[1] * b[2] - a[2] * b[1];
  c[1] = a[2] * b[0] - a[0] * b[2];
  c[2] = a[0] * b[1] - a[1] * b[0];
}

TEST(GeometryPlaneMeasures, SignedDistanceSideRule) {
  const struct {
    double a, b, c, d, p[3], signed_dist;
  } rows[] = {
      {0, 0, 1, -1, {0, 0, 0}, -1},  // z = 1: the origin's side is negative
      {0, 0, 1, -1, {0, 0, 2}, 1},
      {0, 0, 1, 1, {0, 0, 0}, -1},  // z = -1
      {0, 0, 1, 1, {0, 0, -2}, 1},
      {0, 0, 1, 0, {0, 0, 1}, -1},  // through the origin: the normal's side is negative
      {0, 0, 1, 0, {0, 0, -1}, 1},
      {0, 0, 2, -2, {5, 5, 3}, 2},
  };
  for (const auto& r : rows) {
    double s, u;
    plane_imp_point_dist_signed_3d(r.a, r.b, r.c, r.d, r.p, s);
    plane_imp_point_dist_3d(r.a, r.b, r.c, r.d, r.p, u);
    EXPECT_EQ(s, r.signed_dist) << r.d << " " << r.p[2];
    EXPECT_EQ(u, std::fabs(r.signed_dist));
  }

  // Random planes and points: negative exactly on the origin's side, the
  // magnitude the distance measured along the unit normal.
  int32_t seed = 4711;
  for (int k = 0; k < 200; ++k) {
    const std::vector<double> c = random_points(4, 1, -3.0, 3.0, seed);
    const std::vector<double> p = random_points(3, 1, -5.0, 5.0, seed);
    double s, u;
    plane_imp_point_dist_signed_3d(c[0], c[1], c[2], c[3], p.data(), s);
    plane_imp_point_dist_3d(c[0], c[1], c[2], c[3], p.data(), u);
    const double v = dot3(c.data(), p.data()) + c[3];
    EXPECT_EQ(s < 0.0, v * c[3] > 0.0);
    EXPECT_EQ(std::fabs(s), u);
    EXPECT_TRUE(rel_near(u, std::fabs(v) / std::sqrt(dot3(c.data(), c.data())), 1e-13));
  }
}

TEST(GeometryPlaneMeasures, ExplicitDistanceAndNearestPoints) {
  int32_t seed = 99;
  for (int k = 0; k < 100; ++k) {
    const std::vector<double> t = testing::random_triangle_3d(seed);
    const double *p1 = &t[0], *p2 = &t[3], *p3 = &t[6];
    const std::vector<double> x = random_points(3, 4, -20.0, 20.0, seed);
    double e1[3], e2[3], n[3];
    for (int i = 0; i < 3; ++i) {
      e1[i] = p2[i] - p1[i];
      e2[i] = p3[i] - p1[i];
    }
    cross3(e1, e2, n);
    const double nn = std::sqrt(dot3(n, n));
    double a, b, c, d;
    plane_exp2imp_3d(p1, p2, p3, a, b, c, d);
    std::vector<double> y = canaries(12);
    plane_exp_pro3(p1, p2, p3, 4, x.data(), y.data());
    for (int j = 0; j < 4; ++j) {
      const double* p = &x[3 * j];
      double diff[3], dist;
      for (int i = 0; i < 3; ++i) diff[i] = p[i] - p1[i];
      plane_exp_point_dist_3d(p1, p2, p3, p, dist);
      EXPECT_TRUE(rel_near(dist, std::fabs(dot3(diff, n)) / nn, 1e-12));

      double pn[3];
      plane_imp_point_near_3d(a, b, c, d, p, pn);
      double pp[3], off[3], along[3];
      for (int i = 0; i < 3; ++i) {
        pp[i] = pn[i] - p1[i];
        off[i] = p[i] - pn[i];
      }
      EXPECT_TRUE(rel_near(dot3(pp, n) / nn, 0.0, 1e-12));  // PN lies in the plane
      cross3(off, n, along);                                   // P - PN along the normal
      EXPECT_TRUE(rel_near(std::sqrt(dot3(along, along)) / nn, 0.0, 1e-12));
      EXPECT_TRUE(rel_near(std::sqrt(dot3(off, off)), dist, 1e-12));
      for (int i = 0; i < 3; ++i) EXPECT_EQ(y[3 * j + i], pn[i]);  // column by column
    }
  }
  const double p[3] = {5, 5, 3};
  double pn[3];
  plane_imp_point_near_3d(0, 0, 2, -2, p, pn);
  EXPECT_TRUE(vec_rel_near({pn[0], pn[1], pn[2]}, {5, 5, 1}, 0.0));
}

TEST(GeometryPlaneMeasures, DegeneratePlanesEndTheRun) {
  const double p[3] = {1, 2, 3}, o[3] = {0, 0, 0}, q[3] = {1, 1, 1}, r[3] = {2, 2, 2};
  double dist, pn[3];
  const std::initializer_list<std::string_view> null_normal = {" ", "PLANE_IMP_POINT_DIST_3D - Fatal error!",
                                                                "  The plane normal vector is null."};
  expect_fatal([&] { plane_imp_point_dist_3d(0, 0, 0, 1, p, dist); }, null_normal);
  expect_fatal([&] { plane_exp_point_dist_3d(o, q, r, p, dist); }, null_normal);
  expect_fatal([&] { plane_imp_point_dist_signed_3d(0, 0, 0, 1, p, dist); },
               {" ", "PLANE_IMP_POINT_DIST_SIGNED_3D - Fatal error!", "  The plane normal vector is null."});
  const std::initializer_list<std::string_view> abc = {" ", "PLANE_IMP_POINT_NEAR_3D - Fatal error!",
                                                       "  A = B = C = 0."};
  expect_fatal([&] { plane_imp_point_near_3d(0, 0, 0, 5, p, pn); }, abc);
  std::vector<double> y = canaries(3);
  std::vector<int32_t> code = icanaries(1);
  expect_fatal([&] { plane_exp_pro3(o, q, r, 1, p, y.data()); }, abc);
  plane_exp_pro3(o, q, r, 0, p, y.data());  // no points: nothing tested
  EXPECT_EQ(y[0], canary);
  expect_fatal([&] { plane_exp_project_3d(o, q, r, p, 0, p, y.data(), code.data()); }, abc);
}

TEST(GeometryPlaneMeasures, PlaneCoordinatesRebuildPoints) {
  int32_t seed = 2024;
  for (int k = 0; k < 50; ++k) {
    const std::vector<double> t = testing::random_triangle_3d(seed);
    const double *p1 = &t[0], *p2 = &t[3], *p3 = &t[6];
    // Points of the plane, P1, P2 and P3 first: pairwise distances survive.
    std::vector<double> x(t);
    for (int j = 0; j < 5; ++j) {
      const double s = r8_uniform(-2.0, 2.0, seed), u = r8_uniform(-2.0, 2.0, seed);
      for (int i = 0; i < 3; ++i) x.push_back(p1[i] + s * (p2[i] - p1[i]) + u * (p3[i] - p1[i]));
    }
    const int32_t n = static_cast<int32_t>(x.size() / 3);
    std::vector<double> y(2 * n);
    plane_exp_pro2(p1, p2, p3, n, x.data(), y.data());
    EXPECT_TRUE(rel_near(y[0], 0.0, 1e-12));
    EXPECT_TRUE(rel_near(y[1], 0.0, 1e-12));
    EXPECT_TRUE(rel_near(y[2], std::sqrt((p2[0] - p1[0]) * (p2[0] - p1[0]) + (p2[1] - p1[1]) * (p2[1] - p1[1]) +
                                         (p2[2] - p1[2]) * (p2[2] - p1[2])),
                         1e-12));
    EXPECT_TRUE(rel_near(y[3], 0.0, 1e-12));
    EXPECT_GT(y[5], 0.0);  // P3 on the positive side of the second axis
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < i; ++j) {
        const double dx = std::hypot(y[2 * i] - y[2 * j], y[2 * i + 1] - y[2 * j + 1]);
        double d3 = 0.0;
        for (int c = 0; c < 3; ++c) d3 += (x[3 * i + c] - x[3 * j + c]) * (x[3 * i + c] - x[3 * j + c]);
        EXPECT_TRUE(rel_near(dx, std::sqrt(d3), 1e-11));
      }
  }
  // P1 = P2: the first coordinate is 0, the second along P3 - P1.
  const double a[3] = {1, 1, 1}, c[3] = {1, 1, 3}, x[6] = {5, 5, 2, 1, 1, -4};
  double y[4];
  plane_exp_pro2(a, a, c, 2, x, y);
  EXPECT_TRUE(vec_rel_near({y[0], y[1], y[2], y[3]}, {0, 1, 0, -5}, 0.0));
}

TEST(GeometryPlaneMeasures, NormalPlaneCoordinatesRoundTrip) {
  int32_t seed = 31;
  for (int k = 0; k < 50; ++k) {
    const std::vector<double> pp = random_points(3, 1, -5.0, 5.0, seed);
    const std::vector<double> normal = testing::random_direction(3, seed);
    double pq[3], pr[3];
    plane_normal_basis_3d(pp.data(), normal.data(), pq, pr);
    const std::vector<double> qr = random_points(2, 6, -10.0, 10.0, seed);
    std::vector<double> xyz(18), back(12);
    plane_normal_qr_to_xyz(pp.data(), normal.data(), pq, pr, 6, qr.data(), xyz.data());
    plane_normal_xyz_to_qr(pp.data(), normal.data(), pq, pr, 6, xyz.data(), back.data());
    EXPECT_TRUE(vec_rel_near(back, qr, 1e-12));
    for (int j = 0; j < 6; ++j) {  // the points lie in the plane
      double d[3];
      for (int i = 0; i < 3; ++i) d[i] = xyz[3 * j + i] - pp[i];
      EXPECT_TRUE(rel_near(dot3(d, normal.data()), 0.0, 1e-12));
    }
    // A point off the plane has the coordinates of its foot.
    double off[3], foot_qr[2];
    for (int i = 0; i < 3; ++i) off[i] = xyz[i] + 3.5 * normal[i];
    plane_normal_xyz_to_qr(pp.data(), normal.data(), pq, pr, 1, off, foot_qr);
    EXPECT_TRUE(vec_rel_near({foot_qr[0], foot_qr[1]}, {qr[0], qr[1]}, 1e-12));
  }
  const double z[3] = {0, 0, 0}, e1[3] = {1, 0, 0}, e2[3] = {0, 1, 0};
  std::vector<double> out = canaries(3);
  plane_normal_qr_to_xyz(z, z, e1, e2, 0, z, out.data());
  plane_normal_xyz_to_qr(z, z, e1, e2, -1, z, out.data());
  EXPECT_EQ(out, canaries(3));
}

TEST(GeometryPlaneMeasures, CentralProjectionCodes) {
  const double p1[3] = {0, 0, 0}, p2[3] = {1, 0, 0}, p3[3] = {0, 1, 0}, f[3] = {0, 0, 2};
  const struct {
    double x[3];
    int32_t code;
    double y[3];
  } rows[] = {
      {{1, 1, 1}, 1, {2, 2, 0}},              // between the focus and the plane
      {{1, 1, -1}, 3, {2. / 3, 2. / 3, 0}},   // beyond the plane
      {{1, 1, 3}, -1, {-2, -2, 0}},           // behind the focus
      {{0, 0, 2}, 0, {0, 0, 0}},              // the focus itself
      {{0, 0, 0}, 2, {0, 0, 0}},              // in the plane
  };
  for (const auto& r : rows) {
    double y[3];
    int32_t code;
    plane_exp_project_3d(p1, p2, p3, f, 1, r.x, y, &code);
    EXPECT_EQ(code, r.code) << r.x[2];
    EXPECT_TRUE(vec_rel_near({y[0], y[1], y[2]}, {r.y[0], r.y[1], r.y[2]}, 1e-15)) << r.x[2];
  }
  // A point level with the focus: the angle is pi/2 in double precision,
  // whose cosine is not 0, so the ratio is huge and the code 1.
  const double level[3] = {1, 0, 2};
  double y[3];
  int32_t code;
  plane_exp_project_3d(p1, p2, p3, f, 1, level, y, &code);
  EXPECT_EQ(code, 1);
  EXPECT_GT(std::fabs(y[0]), 1e15);

  // A focus in the plane: every point projects to the focus with code 0.
  const double g[3] = {0.5, 0.25, 0}, xs[6] = {1, 2, 3, -4, 5, -6};
  std::vector<double> ys(6);
  std::vector<int32_t> codes = icanaries(2);
  plane_exp_project_3d(p1, p2, p3, g, 2, xs, ys.data(), codes.data());
  EXPECT_EQ(codes, std::vector<int32_t>({0, 0}));
  EXPECT_EQ(ys, std::vector<double>({0.5, 0.25, 0, 0.5, 0.25, 0}));
}

TEST(GeometryPlaneMeasures, GridPointsAndLines) {
  const double p1[3] = {0, 0, 0}, p2[3] = {1, 0, 0}, p3[3] = {0, 1, 0};
  std::vector<int32_t> want_lines;
  for (int i = 1; i <= 5; ++i) {
    for (int j = 0; j < 5; ++j) want_lines.push_back(i + 5 * j);
    want_lines.push_back(0);
  }
  for (int j = 0; j < 5; ++j) {
    for (int i = 1; i <= 5; ++i) want_lines.push_back(5 * j + i);
    want_lines.push_back(0);
  }
  for (double z : {0.0, 5.0}) {  // the grid lies in z = 0 either way
    const double q1[3] = {p1[0], p1[1], z}, q2[3] = {p2[0], p2[1], z}, q3[3] = {p3[0], p3[1], z};
    int32_t npoint = 0, nline = 0, status = icanary;
    std::vector<double> point = canaries(3 * 26);
    std::vector<int32_t> line = icanaries(61);
    plane_exp_grid_3d(q1, q2, q3, npoint, nline, point.data(), line.data(), 26, 61, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(npoint, 25);
    EXPECT_EQ(nline, 60);
    for (int j = 0; j < 5; ++j)
      for (int i = 0; i < 5; ++i) {
        const int k = 5 * j + i;
        EXPECT_EQ(point[3 * k], i / 4.0);
        EXPECT_EQ(point[3 * k + 1], j / 4.0);
        EXPECT_EQ(point[3 * k + 2], 0.0);
      }
    EXPECT_EQ(point[75], canary);
    EXPECT_EQ(std::vector<int32_t>(line.begin(), line.begin() + 60), want_lines);
    EXPECT_EQ(line[60], icanary);
  }

  // Two points already listed set the extent: a in [-1, 3], b in [-2, 2];
  // negative counts start from 0 only where they are below 1.
  {
    std::vector<double> point = {-1, 2, 0, 3, -2, 7};
    point.resize(3 * 27, canary);
    int32_t npoint = 2, nline = -4, status = icanary;
    std::vector<int32_t> line = icanaries(60);
    plane_exp_grid_3d(p1, p2, p3, npoint, nline, point.data(), line.data(), 27, 60, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(npoint, 27);
    EXPECT_EQ(nline, 60);
    for (int j = 0; j < 5; ++j)
      for (int i = 0; i < 5; ++i) {
        const int k = 2 + 5 * j + i;
        EXPECT_TRUE(vec_rel_near({point[3 * k], point[3 * k + 1], point[3 * k + 2]}, {-1.0 + i, -2.0 + j, 0}, 0.0));
      }
    EXPECT_EQ(line[0], 3);
    EXPECT_EQ(line[59], 0);
    EXPECT_EQ(line[58], 27);
  }

  // No room for 25 points: STATUS 1, nothing appended.
  {
    int32_t npoint = 3, nline = 2, status = icanary;
    int32_t seed = 5;
    std::vector<double> point = random_points(3, 27, 0.0, 1.0, seed);
    const std::vector<double> before = point;
    std::vector<int32_t> line = icanaries(100);
    plane_exp_grid_3d(p1, p2, p3, npoint, nline, point.data(), line.data(), 27, 100, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(npoint, 3);
    EXPECT_EQ(nline, 2);
    EXPECT_EQ(point, before);
    EXPECT_EQ(line, icanaries(100));
  }

  // The line list fills up after 7 entries: the points stay appended.
  {
    int32_t npoint = 0, nline = 3, status = icanary;
    std::vector<double> point(75);
    std::vector<int32_t> line = icanaries(11);
    plane_exp_grid_3d(p1, p2, p3, npoint, nline, point.data(), line.data(), 25, 10, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(npoint, 25);
    EXPECT_EQ(nline, 10);
    EXPECT_EQ(std::vector<int32_t>(line.begin() + 3, line.end()),
              std::vector<int32_t>({1, 6, 11, 16, 21, 0, 2, icanary}));
    EXPECT_EQ(line[0], icanary);
  }
}

TEST(GeometryPlaneMeasures, RandomPlanes) {
  for (int32_t start : {1, 123456789, -42}) {
    int32_t s1 = start, s2 = start, s3 = start;
    double pp1[3], n1[3], pp2[3], n2[3];
    testing::reset_normals();
    plane_normal_uniform_3d(s1, pp1, n1);
    testing::reset_normals();
    plane_normal_uniform_3d(s2, pp2, n2);
    EXPECT_EQ(s1, s2);
    EXPECT_TRUE(vec_rel_near({pp1[0], pp1[1], pp1[2], n1[0], n1[1], n1[2]},
                             {pp2[0], pp2[1], pp2[2], n2[0], n2[1], n2[2]}, 0.0));
    EXPECT_TRUE(rel_near(dot3(n1, n1), 1.0, 1e-15));
    EXPECT_LE(dot3(pp1, pp1), 1.0);
    // The point is drawn first, as ball_unit_sample_3d draws it; the normal
    // after it, as the normal generator draws it.
    double ball[3], g[3];
    testing::reset_normals();
    ball_unit_sample_3d(s3, ball);
    int32_t three = 3;
    r8vec_normal_01(three, s3, g);
    EXPECT_TRUE(vec_rel_near({ball[0], ball[1], ball[2]}, {pp1[0], pp1[1], pp1[2]}, 0.0));
    const double gn = std::sqrt(dot3(g, g));
    EXPECT_TRUE(vec_rel_near({g[0] / gn, g[1] / gn, g[2] / gn}, {n1[0], n1[1], n1[2]}, 1e-15));
    EXPECT_EQ(s3, s1);
  }
  int32_t sa = 77, sb = 77;
  std::vector<double> ppa(5), na(5), ppb(5), nb(5);
  testing::reset_normals();
  plane_normal_uniform_nd(5, sa, ppa.data(), na.data());
  testing::reset_normals();
  plane_normal_uniform_nd(5, sb, ppb.data(), nb.data());
  EXPECT_EQ(ppa, ppb);
  EXPECT_EQ(na, nb);
  double s = 0.0, q = 0.0;
  for (int i = 0; i < 5; ++i) {
    s += na[i] * na[i];
    q += ppa[i] * ppa[i];
  }
  EXPECT_TRUE(rel_near(s, 1.0, 1e-15));
  EXPECT_LE(q, 1.0);
  testing::reset_normals();
}

TEST(GeometryPlaneMeasures, AngleBetweenImplicitPlanes) {
  const struct {
    double p[8], angle;
  } rows[] = {
      {{0, 0, 0, 1, 1, 2, 3, 4}, 1.7976931348623157e308},
      {{1, 2, 3, 4, 0, 0, 0, 0}, 1.7976931348623157e308},
      {{0, 0, 1, 0, 0, 0, -1, 9}, pi},  // not folded into [0, pi/2]
      {{0, 0, 1, 5, 0, 0, 3, -5}, 0},
      {{1, 0, 0, 0, 0, 1, 0, 0}, pi / 2},
      {{1, 1, 0, 0, 2, 0, 0, 7}, pi / 4},
  };
  for (const auto& r : rows) {
    double angle;
    planes_imp_angle_3d(r.p[0], r.p[1], r.p[2], r.p[3], r.p[4], r.p[5], r.p[6], r.p[7], angle);
    EXPECT_TRUE(rel_near(angle, r.angle, 1e-15)) << r.p[0] << r.p[4];
  }
}

}  // namespace
}  // namespace orvel::geometry
