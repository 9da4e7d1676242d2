// Angles and small trigonometric functions: the angle at a vertex in the
// plane, in space and in N dimensions, the full-circle arctangent, the
// clamped inverse cosine and sine, degree trigonometry, degree-minute-second
// conversions, the haversine and the integral of a power of the sine.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Counterclockwise angle at p2 from the ray to p3 onto the ray to p1, in
// [0, 2 pi); 0 when p1 or p3 coincides with p2.
double angle_rad_2d(const double* p1, const double* p2, const double* p3);
double angle_deg_2d(const double* p1, const double* p2, const double* p3);
void angle_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p, bool& inside);
// The point at distance 1 from p2 on the bisector.  A straight angle gives
// p2 + the unit ray to p3 turned a quarter turn counterclockwise; one ray of
// length 0 gives p2 + the other unit ray; both give p2 + (1, 0).
void angle_half_2d(const double* p1, const double* p2, const double* p3, double* p4);
void angle_turn_2d(const double* p1, const double* p2, const double* p3, double& turn);
double angle_rad_3d(const double* p1, const double* p2, const double* p3);
double angle_rad_nd(int32_t dim_num, const double* v1, const double* v2);
// Polar angle of (x, y) in [0, 2 pi).
double atan4(double y, double x);
double arc_cosine(double c);
double arc_sine(double s);
double degrees_to_radians(double degrees);
double radians_to_degrees(double radians);
void dms_to_radians(int32_t degrees, int32_t minutes, int32_t seconds, double& radians);
// Seconds can come out as 60 (no carry into the minutes).
void radians_to_dms(double radians, int32_t& degrees, int32_t& minutes, int32_t& seconds);
double sin_deg(double angle);
double cos_deg(double angle);
double tan_deg(double angle);
double cot_deg(double angle);
double csc_deg(double angle);
double sec_deg(double angle);
double cot_rad(double angle);
double haversine(double a);
// Integral of sin(t)^n from a to b; n < 0 ends the run.
double sin_power_int(double a, double b, int32_t n);

}  // namespace orvel::geometry
