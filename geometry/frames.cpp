#include "geometry/frames.hpp"

#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/matrices.hpp"

namespace orvel::geometry {
namespace {

// The frame matrix of the angles a, b, c (turn by c about z, then by a about
// the new y axis, then by b about the new x axis), column by column.
struct frame {
  double r[9];
  frame(double ca, double cb, double cc, double sa, double sb, double sc) {
    const mat_ref R(r, 3, 3);
    R(1, 1) = ca * cc;
    R(1, 2) = ca * sc;
    R(1, 3) = -sa;
    R(2, 1) = sb * sa * cc - cb * sc;
    R(2, 2) = cb * cc + sb * sa * sc;
    R(2, 3) = sb * ca;
    R(3, 1) = cb * sa * cc + sb * sc;
    R(3, 2) = cb * sa * sc - sb * cc;
    R(3, 3) = cb * ca;
  }
};

}  // namespace

void polar_to_xy(double r, double t, double* xy) {
  const vec_ref XY(xy, 2);
  XY(1) = r * std::cos(t);
  XY(2) = r * std::sin(t);
}

void xy_to_polar(const double* xy, double& r, double& t) {
  const vec_ref XY(xy, 2);
  r = std::sqrt(XY(1) * XY(1) + XY(2) * XY(2));
  t = r == 0.0 ? 0.0 : atan4(XY(2), XY(1));
}

void rtp_to_xyz(double r, double theta, double phi, double* xyz) {
  const vec_ref XYZ(xyz, 3);
  XYZ(1) = r * std::cos(theta) * std::sin(phi);
  XYZ(2) = r * std::sin(theta) * std::sin(phi);
  XYZ(3) = r * std::cos(phi);
}

void xyz_to_rtp(const double* xyz, double& r, double& theta, double& phi) {
  const vec_ref XYZ(xyz, 3);
  r = std::sqrt(XYZ(1) * XYZ(1) + XYZ(2) * XYZ(2) + XYZ(3) * XYZ(3));
  if (r == 0.0) {
    theta = 0.0;
    phi = 0.0;
    return;
  }
  phi = arc_cosine(XYZ(3) / r);
  theta = atan4(XYZ(2), XYZ(1));
}

void tp_to_xyz(double theta, double phi, double* v) {
  const vec_ref V(v, 3);
  V(1) = std::cos(theta) * std::sin(phi);
  V(2) = std::sin(theta) * std::sin(phi);
  V(3) = std::cos(phi);
}

void xyz_to_tp(const double* xyz, double& theta, double& phi) {
  double r;
  xyz_to_rtp(xyz, r, theta, phi);
}

void radec_to_xyz(double ra, double dec, double* p) {
  const vec_ref P(p, 3);
  const double theta = degrees_to_radians(15.0 * ra);
  const double phi = degrees_to_radians(dec);
  P(1) = std::cos(theta) * std::cos(phi);
  P(2) = std::sin(theta) * std::cos(phi);
  P(3) = std::sin(phi);
}

void xyz_to_radec(const double* p, double& ra, double& dec) {
  const vec_ref P(p, 3);
  const double norm = std::sqrt(P(1) * P(1) + P(2) * P(2) + P(3) * P(3));
  if (norm == 0.0) {
    ra = 0.0;
    dec = 0.0;
    return;
  }
  const double phi = arc_sine(P(3) / norm);
  const double theta = std::cos(phi) == 0.0 ? 0.0 : atan4(P(2), P(1));
  dec = radians_to_degrees(phi);
  ra = radians_to_degrees(theta) / 15.0;
}

double radec_distance_3d(double ra1, double dec1, double ra2, double dec2) {
  double v1[3], v2[3];
  radec_to_xyz(ra1, dec1, v1);
  radec_to_xyz(ra2, dec2, v2);
  const double n1 = std::sqrt(v1[0] * v1[0] + v1[1] * v1[1] + v1[2] * v1[2]);
  const double n2 = std::sqrt(v2[0] * v2[0] + v2[1] * v2[1] + v2[2] * v2[2]);
  const double dot = v1[0] * v2[0] + v1[1] * v2[1] + v1[2] * v2[2];
  return arc_cosine(dot / (n1 * n2));
}

void basis_map_3d(const double* u, const double* v, double* a, int32_t& ierror) {
  const mat_ref U(u, 3, 3), V(v, 3, 3);
  double u_copy[9], c[9], det;
  for (int32_t j = 1; j <= 3; ++j)
    for (int32_t i = 1; i <= 3; ++i) u_copy[3 * (j - 1) + i - 1] = U(i, j);
  r8mat_inverse_3d(u_copy, c, det);
  if (det == 0.0) {
    ierror = 1;
    return;
  }
  ierror = 0;
  const mat_ref C(c, 3, 3);
  const mat_ref A(a, 3, 3);
  for (int32_t j = 1; j <= 3; ++j) {
    for (int32_t i = 1; i <= 3; ++i) {
      double sum = 0.0;
      for (int32_t k = 1; k <= 3; ++k) sum += V(i, k) * C(k, j);
      A(i, j) = sum;
    }
  }
}

void glob2loc_3d(double cosa, double cosb, double cosc, double sina, double sinb, double sinc,
                 const double* origin, const double* global, double* local) {
  const frame f(cosa, cosb, cosc, sina, sinb, sinc);
  const mat_ref R(f.r, 3, 3);
  const vec_ref O(origin, 3), G(global, 3);
  const double d[3] = {G(1) - O(1), G(2) - O(2), G(3) - O(3)};
  const vec_ref L(local, 3);
  for (int32_t i = 1; i <= 3; ++i) L(i) = R(i, 1) * d[0] + R(i, 2) * d[1] + R(i, 3) * d[2];
}

void loc2glob_3d(double cosa, double cosb, double cosc, double sina, double sinb, double sinc,
                 const double* origin, const double* local, double* global) {
  const frame f(cosa, cosb, cosc, sina, sinb, sinc);
  const mat_ref R(f.r, 3, 3);
  const vec_ref O(origin, 3), L(local, 3);
  const double l[3] = {L(1), L(2), L(3)};
  const vec_ref G(global, 3);
  for (int32_t i = 1; i <= 3; ++i) G(i) = O(i) + (R(1, i) * l[0] + R(2, i) * l[1] + R(3, i) * l[2]);
}

}  // namespace orvel::geometry
