// Planes in space in three forms and the conversions between them.
// - Explicit: three points P1, P2, P3; normal direction (P2 - P1) x (P3 - P1).
// - Implicit: A x + B y + C z + D = 0 (degenerate when A = B = C = 0).
// - Normal: a point PP and a normal NORMAL (unit length when produced here),
//   with an in-plane basis PQ, PR such that PQ, PR, NORMAL is a right-handed
//   orthonormal frame.
#pragma once

#include "geometry/support.hpp"

namespace orvel::geometry {

// Not normalised; D is taken at P2.  Collinear points give A = B = C = D = 0.
void plane_exp2imp_3d(const double* p1, const double* p2, const double* p3, double& a, double& b, double& c,
                      double& d);
// PP = P1 and the unit normal; collinear points end the run.
void plane_exp2normal_3d(const double* p1, const double* p2, const double* p3, double* pp, double* normal);
void plane_exp_normal_3d(const double* p1, const double* p2, const double* p3, double* normal);
// PP on the first coordinate axis whose coefficient is not 0; a degenerate
// plane ends the run.
void plane_imp2normal_3d(double a, double b, double c, double d, double* pp, double* normal);
// A, B, C = NORMAL as given (not normalised).
void plane_normal2imp_3d(const double* pp, const double* normal, double& a, double& b, double& c, double& d);
bool plane_imp_is_degenerate_3d(double a, double b, double c);
// PP is not used; a zero NORMAL ends the run.
void plane_normal_basis_3d(const double* pp, const double* normal, double* pq, double* pr);
// P1 = PP, P2 = PP + PQ, P3 = PP + PR.
void plane_normal2exp_3d(const double* pp, const double* normal, double* p1, double* p2, double* p3);
void plane_imp2exp_3d(double a, double b, double c, double d, double* p1, double* p2, double* p3);

}  // namespace orvel::geometry
