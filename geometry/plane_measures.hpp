// Measures and maps between a plane and points in space: distances (plain
// and signed), the nearest point, orthogonal and central projections of
// point lists, plane coordinates and back, a 5 by 5 grid laid in a plane,
// random planes and the angle between two implicit planes.  Point lists are
// 3 by N, one point per column.  The plane forms are those of
// geometry/plane_forms.hpp.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// A degenerate plane (A = B = C = 0) ends the run.
void plane_imp_point_dist_3d(double a, double b, double c, double d, const double* p, double& dist);
// Negative on the origin's side of the plane, positive on the other; for a
// plane through the origin, negative on the side into which (A, B, C) points.
void plane_imp_point_dist_signed_3d(double a, double b, double c, double d, const double* p, double& dist);
// Collinear points end the run as a null normal.
void plane_exp_point_dist_3d(const double* p1, const double* p2, const double* p3, const double* p, double& dist);
void plane_imp_point_near_3d(double a, double b, double c, double d, const double* p, double* pn);

// Y(:, j) the nearest point of the plane to X(:, j).  A degenerate plane
// ends the run at the first point (N < 1 tests nothing).
void plane_exp_pro3(const double* p1, const double* p2, const double* p3, int32_t n, const double* x, double* y);
// Y (2 by N): coordinates along the unit direction V1 of P2 - P1 (from P1)
// and along the unit part V2 of P3 - P1 normal to it (from P2).  Zero
// directions stay zero; nothing is tested.
void plane_exp_pro2(const double* p1, const double* p2, const double* p3, int32_t n, const double* x, double* y);
// Central projection from the focus F along the line through F and each
// point.  CODE: 1 the point lies between F and the plane, 2 in the plane,
// 3 beyond the plane, -1 the line meets the plane behind F, 0 F in the plane
// (Y = F), the point at F or a line parallel to the plane (Y = the foot of F).
void plane_exp_project_3d(const double* p1, const double* p2, const double* p3, const double* f, int32_t n,
                          const double* x, double* y, int32_t* code);

// Plane coordinates (Q, R) <-> points PP + Q PQ + R PR; NORMAL is not used.
void plane_normal_qr_to_xyz(const double* pp, const double* normal, const double* pq, const double* pr, int32_t n,
                            const double* qr, double* xyz);
void plane_normal_xyz_to_qr(const double* pp, const double* normal, const double* pq, const double* pr, int32_t n,
                            const double* xyz, double* qr);

// Appends 25 points (a 5 by 5 grid in the plane through the origin parallel
// to the given one, spanning the extent of the points already listed, or
// the unit square when there are none) and ten lines of point indices, each
// ended by a 0.  STATUS: 0 done, 1 no room for 25 points (nothing appended),
// 2 the line list filled up (NLINE counts the entries written).
void plane_exp_grid_3d(const double* p1, const double* p2, const double* p3, int32_t& npoint, int32_t& nline,
                       double* point, int32_t* line, int32_t maxpoint, int32_t maxline, int32_t& status);

// A random point of the unit ball, then a random unit normal.
void plane_normal_uniform_3d(int32_t& seed, double* pp, double* normal);
void plane_normal_uniform_nd(int32_t dim_num, int32_t& seed, double* pp, double* normal);

// The angle in [0, pi] between the normals; a degenerate plane gives the
// largest double.
void planes_imp_angle_3d(double a1, double b1, double c1, double d1, double a2, double b2, double c2, double d2,
                         double& angle);

}  // namespace orvel::geometry
