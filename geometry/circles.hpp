// Circles in the plane (radius R then centre PC) and the circle in space
// through given points: forms, containment, distances, intersections with
// lines and circles, and the angles between three mutually tangent circles.
// R is used as given: zero and negative radii go through the formulas.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void circle_dia2imp_2d(const double* p1, const double* p2, double& r, double* pc);
// Through three points; two equal points give the circle on the other two as
// diameter, three equal points R = 0, three distinct collinear points
// R = -1 and PC = (0, 0).
void circle_exp2imp_2d(const double* p1, const double* p2, const double* p3, double& r, double* pc);
// The points at the angles 0, 2 pi / 3 and 4 pi / 3.
void circle_imp2exp_2d(double r, const double* pc, double* p1, double* p2, double* p3);
// Centres (columns of pc, 2 by 4) of the circles of radius R touching both
// lines, one per side of each line.
void circle_llr2imp_2d(const double* p1, const double* p2, const double* q1, const double* q2, double r, double* pc);
// Centres (columns of pc, 2 by 2) of the two circles of radius R through P1
// and P2, the first to the right of P1 -> P2.  Points more than 2 R apart,
// or equal, give the midpoint twice.
void circle_ppr2imp_2d(const double* p1, const double* p2, double r, double* pc);
// The same in the plane of P1, P2, P3 (pc 3 by 2), the first centre on P3's
// side, and the plane's unit normal (unwritten when the points are more than
// 2 R apart).  Collinear points end the run.
void circle_pppr2imp_3d(const double* p1, const double* p2, const double* p3, double r, double* pc, double* normal);

// Codes: -1 / 0 / 1 inside / on / outside the circle through counterclockwise
// P1, P2, P3 (reversed for clockwise); 2 / 3 on / off the line of three
// collinear points; 4 / 5 on / off the line of two distinct points; 6 / 7
// equal / not equal to three equal points.
void circle_exp_contains_point_2d(const double* p1, const double* p2, const double* p3, const double* p,
                                  int32_t& inside);
// Inside or on the circle.
void circle_imp_contains_point_2d(double r, const double* pc, const double* p, bool& inside);
void circle_imp_point_dist_2d(double r, const double* pc, const double* p, double& dist);
// Negative inside.
void circle_imp_point_dist_signed_2d(double r, const double* pc, const double* p, double& dist);
// P at the centre gives PN = PC + (R / sqrt 2) (1, 1).
void circle_imp_point_near_2d(double r, const double* pc, const double* p, double* pn, double& dist);
// Distance from the disc to the line through P1 and P2 (0 when they meet).
void circle_imp_line_exp_dist_2d(double r, const double* pc, const double* p1, const double* p2, double& dist);
// Base point first, then direction.  Columns of p (2 by 2) beyond int_num
// are not written.  A zero direction is the single point (X0, Y0).
void circle_imp_line_par_int_2d(double r, const double* pc, double x0, double y0, double f, double g,
                                int32_t& int_num, double* p);
// int_num 0, 1, 2, or 3 for the same circle; p is 2 by 2.
void circles_imp_int_2d(double r1, const double* pc1, double r2, const double* pc2, int32_t& int_num, double* p);
// Angles of the triangle of centres of three circles touching one another
// from outside.
void circle_triple_angles_2d(double r1, double r2, double r3, double& angle1, double& angle2, double& angle3);

}  // namespace orvel::geometry
