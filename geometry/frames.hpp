// Coordinate conversions and local frames: polar, spherical and celestial
// coordinates, the angle between two celestial directions, the linear map
// that carries one basis onto another, and the change between a global frame
// and a local frame given by an origin and three rotation angles (passed as
// their cosines and sines).  Angles in radians, except right ascension in
// hours and declination in degrees.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void polar_to_xy(double r, double t, double* xy);
// T in [0, 2 pi); the origin gives R = T = 0.
void xy_to_polar(const double* xy, double& r, double& t);
void rtp_to_xyz(double r, double theta, double phi, double* xyz);
// THETA in [0, 2 pi), PHI in [0, pi]; the origin gives 0, 0, 0.
void xyz_to_rtp(const double* xyz, double& r, double& theta, double& phi);
void tp_to_xyz(double theta, double phi, double* v);
void xyz_to_tp(const double* xyz, double& theta, double& phi);
// RA in hours, DEC in degrees.
void radec_to_xyz(double ra, double dec, double* p);
void xyz_to_radec(const double* p, double& ra, double& dec);
double radec_distance_3d(double ra1, double dec1, double ra2, double dec2);
// A with A U = V; a singular U gives ierror = 1 and leaves A unwritten.
void basis_map_3d(const double* u, const double* v, double* a, int32_t& ierror);
void glob2loc_3d(double cosa, double cosb, double cosc, double sina, double sinb, double sinc,
                 const double* origin, const double* global, double* local);
void loc2glob_3d(double cosa, double cosb, double cosc, double sina, double sinb, double sinc,
                 const double* origin, const double* local, double* global);

}  // namespace orvel::geometry
