// Where a plane (implicit A x + B y + C z + D = 0, or normal: point PP and
// normal NORMAL) meets a line, a segment, a triangle T (3 by 3) or a
// tetrahedron (3 by 4), and the points of a segment or triangle nearest to a
// plane.  Points come back in a fixed order that callers may rely on.  The
// crossing of an edge whose end values s_a, s_b have strictly opposite
// signs is alpha Pa + (1 - alpha) Pb, alpha = s_b / (s_b - s_a).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Base point before direction.  A direction within 0.00001 |normal|
// |direction| of the plane counts as parallel: FOUND only when the base
// point lies in the plane (P = base point), else P = 0.  A zero normal or
// direction ends the run.
void plane_imp_line_par_int_3d(double a, double b, double c, double d, double x0, double y0, double z0, double f,
                               double g, double h, bool& found, double* p);
// NORMAL is scaled to unit length in place.  CODE 1: one point; 0: parallel,
// P = the largest double three times; 2: the line lies in the plane, P = P1.
// P1 = P2 or a zero NORMAL ends the run.
void plane_normal_line_exp_int_3d(const double* pp, double* normal, const double* p1, const double* p2,
                                  int32_t& code, double* p);
// PT on the segment and P in the plane nearest to each other, DIST apart.
// A zero normal ends the run.
void plane_imp_segment_near_3d(const double* p1, const double* p2, double a, double b, double c, double d,
                               double& dist, double* p, double* pt);
// Appends at most one point of the edge (P1, P2) with values S1, S2 to P
// (3 by at least K + 1): P1 if S1 = 0, else P2 if S2 = 0, else the
// crossing.
void plane_imp_triangle_int_add_3d(const double* p1, const double* p2, double s1, double s2, int32_t& k,
                                   double* p);
// K = 0 .. 3 points of P (3 by 3): the vertices in the plane first, then the
// crossings.
void plane_imp_triangle_int_3d(double a, double b, double c, double d, const double* t, int32_t& k, double* p);
void plane_normal_triangle_int_3d(const double* pp, const double* normal, const double* t, int32_t& k, double* p);
// The nearest pairs (point of the edge, its foot in the plane) over the
// edges that share the least distance; a pair at distance 0 is one point.
// PN is 3 by 6.
void plane_imp_triangle_near_3d(const double* t, double a, double b, double c, double d, double& dist, int32_t& k,
                                double* pn);
// The section (K = 0, 3 or 4 points, up to 4 with vertices in the plane),
// unused columns of P zero; four points are put in the order of a simple
// quadrilateral.  NORMAL need not be a unit vector.
void plane_normal_tetrahedron_intersect(const double* pp, const double* normal, const double* t, int32_t& k,
                                        double* p);

}  // namespace orvel::geometry
