// Pairs of straight lines: intersection, angle, distance, nearest points
// and the exact tests for parallel and equal lines.  Lines are named
// (P1, P2) and (Q1, Q2) in explicit form, (A1, B1, C1) and (A2, B2, C2) in
// implicit form, direction first in parametric form.
//
// Intersection codes IVAL: -2 / -1 the second / first implicit line is
// degenerate, 0 no point, 1 one point, 2 the lines coincide; P is (0, 0)
// unless IVAL = 1.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Degenerate explicit lines are sorted out first: a single point on the
// other line (or equal to the other single point) gives IVAL = 1.  Whether a
// point lies on a line, and whether two lines are parallel (IVAL 0) or the
// same (IVAL 2), is decided from the given points by exact cross products;
// crossing lines are solved in their scaled implicit forms.
void lines_exp_int_2d(const double* p1, const double* p2, const double* q1, const double* q2, int32_t& ival,
                      double* p);
void lines_imp_int_2d(double a1, double b1, double c1, double a2, double b2, double c2, int32_t& ival, double* p);
// The crossing and its parameter on each line; parallel lines give
// t1 = t2 = 0 and pint = (0, 0).
void lines_par_int_2d(double f1, double g1, double x1, double y1, double f2, double g2, double x2, double y2,
                      double& t1, double& t2, double* pint);

// Angles in [0, pi] between the directions as oriented.  A degenerate line
// gives -1 (exp_angle_3d) or ends the run (exp_angle_nd); a zero normal or
// direction gives pi.
void lines_exp_angle_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& angle);
void lines_exp_angle_nd(int32_t dim_num, const double* p1, const double* p2, const double* q1, const double* q2,
                        double& angle);
void lines_imp_angle_2d(double a1, double b1, double c1, double a2, double b2, double c2, double& theta);
void lines_par_angle_2d(double f1, double g1, double x1, double y1, double f2, double g2, double x2, double y2,
                        double& theta);
void lines_par_angle_3d(double f1, double g1, double h1, double x1, double y1, double z1, double f2, double g2,
                        double h2, double x2, double y2, double z2, double& theta);

// Distances.  Parallel lines are measured from Q1 (explicit) or from
// (X2, Y2, Z2) (parametric) to the first line.
void lines_exp_dist_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& dist);
void lines_exp_dist_3d_2(const double* p1, const double* p2, const double* q1, const double* q2, double& dist);
// The nearest points pn of line P and qn of line Q.  Parallel lines give
// pn = P1; a degenerate line Q gives qn = Q1 and pn its nearest point on P.
void lines_exp_near_3d(const double* p1, const double* p2, const double* q1, const double* q2, double* pn,
                       double* qn);
// A degenerate line ends the run.
void lines_imp_dist_2d(double a1, double b1, double c1, double a2, double b2, double c2, double& dist);
void lines_par_dist_3d(double f1, double g1, double h1, double x1, double y1, double z1, double f2, double g2,
                       double h2, double x2, double y2, double z2, double& dist);

// Exact tests; a degenerate line is parallel to every line.
bool lines_exp_equal_2d(const double* p1, const double* p2, const double* q1, const double* q2);
bool lines_exp_parallel_2d(const double* p1, const double* p2, const double* q1, const double* q2);
bool lines_exp_parallel_3d(const double* p1, const double* p2, const double* q1, const double* q2);

namespace detail {
// Parameters s, t of the nearest points P1 + s (P2 - P1) and Q1 + t (Q2 - Q1)
// of two lines in space; for parallel lines s = 0.  False, with s and t
// unset, when t has no value (Q1 = Q2 and the lines are parallel in the
// degenerate sense); the caller decides.  Also gives the dot products
// a = U.U and d = U.(P1 - Q1).
bool lines_near_parameters_3d(const double* p1, const double* p2, const double* q1, const double* q2, double& s,
                              double& t, double& a, double& d);
}  // namespace detail

}  // namespace orvel::geometry
