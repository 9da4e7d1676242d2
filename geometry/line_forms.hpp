// Straight lines in their three forms and the distances from a point to
// them.
// - Explicit: two points P1, P2 of the line (degenerate when equal).
// - Implicit (plane): A x + B y + C = 0 (degenerate when A = B = 0).
// - Parametric: direction (F, G [, H]) first, then base point (X0, Y0 [, Z0]).
// Conversions that produce an implicit line from two points scale A, B, C
// by 1 / (A^2 + B^2 + C^2) and make A >= 0; those that produce a parametric
// line give a unit direction with F >= 0 (a zero F keeps G's sign).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Conversions.  A degenerate explicit line prints a warning and gives
// A = B = C = 0, or a zero direction with base point P1.
void line_exp2imp_2d(const double* p1, const double* p2, double& a, double& b, double& c);
void line_exp2par_2d(const double* p1, const double* p2, double& f, double& g, double& x0, double& y0);
void line_exp2par_3d(const double* p1, const double* p2, double& f, double& g, double& h, double& x0, double& y0,
                     double& z0);
// P1 is the point of the line nearest to the origin; for a line through the
// origin P2 = P1 + the unit direction of line_imp2par_2d.  A degenerate line
// ends the run.
void line_imp2exp_2d(double a, double b, double c, double* p1, double* p2);
void line_imp2par_2d(double a, double b, double c, double& f, double& g, double& x0, double& y0);
void line_par2exp_2d(double f, double g, double x0, double y0, double* p1, double* p2);
void line_par2imp_2d(double f, double g, double x0, double y0, double& a, double& b, double& c);

bool line_imp_is_degenerate_2d(double a, double b);
// True also for dim_num <= 0.
bool line_exp_is_degenerate_nd(int32_t dim_num, const double* p1, const double* p2);

// Unit normal, the direction P1 to P2 turned a quarter turn
// counterclockwise; a degenerate line gives (sqrt 2, sqrt 2).
void line_exp_normal_2d(const double* p1, const double* p2, double* normal);
// Foot p4 of the perpendicular from p3; a degenerate line gives flag = true
// and p4 = (r8_huge, r8_huge).
void line_exp_perp_2d(const double* p1, const double* p2, const double* p3, double* p4, bool& flag);

// Distances from a point.  The explicit routines measure a degenerate line
// as its single point P1 (the _near_ routines end the run instead); the
// parametric ones measure a zero direction as the base point.
void line_exp_point_dist_2d(const double* p1, const double* p2, const double* p, double& dist);
void line_exp_point_dist_3d(const double* p1, const double* p2, const double* p, double& dist);
// Positive to the right of the direction P1 to P2, negative to its left.
void line_exp_point_dist_signed_2d(const double* p1, const double* p2, const double* p, double& dist);
// The nearest point pn = P1 + t (P2 - P1) and its distance.
void line_exp_point_near_2d(const double* p1, const double* p2, const double* p, double* pn, double& dist,
                            double& t);
void line_exp_point_near_3d(const double* p1, const double* p2, const double* p, double* pn, double& dist,
                            double& t);
void line_imp_point_dist_2d(double a, double b, double c, const double* p, double& dist);
// Negative on the side of the origin when C is not 0; for C = 0 the sign of
// -(A x + B y).
void line_imp_point_dist_signed_2d(double a, double b, double c, const double* p, double& dist);
void line_par_point_dist_2d(double f, double g, double x0, double y0, const double* p, double& dist);
void line_par_point_dist_3d(double f, double g, double h, double x0, double y0, double z0, const double* p,
                            double& dist);

namespace detail {
// The parameter ((p - p1) . (p2 - p1)) / |p2 - p1|^2 of p on the line
// through p1 and p2 in n dimensions, 0 when |p2 - p1|^2 is 0.
double line_parameter(int32_t n, const double* p1, const double* p2, const double* p);
// pn = p1 + t (p2 - p1) in n dimensions.
void line_point(int32_t n, const double* p1, const double* p2, double t, double* pn);
}  // namespace detail

}  // namespace orvel::geometry
