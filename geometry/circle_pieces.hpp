// Points spaced around circles and along arcs, the nearest point of an arc,
// and the measures of the pieces cut from a circle (radius R, then centre
// PC): the sector between two radii, the lune between a chord and its arc,
// the triangle of the centre and the chord, the annulus between two radii
// R1 <= R2 and its sector; and the printed description of a circle or a
// sector.
//
// Angles THETA1, THETA2 are radians counterclockwise from the x axis.  The
// area and centroid routines use the plain difference t = THETA2 - THETA1;
// the arc routines reduce differences modulo 2 pi (r8_modp), so for them
// the arc runs counterclockwise from THETA1 to THETA2 whatever the values.
#pragma once

#include <cstdint>
#include <string_view>

#include "geometry/support.hpp"

namespace orvel::geometry {

void circle_area_2d(double r, double& area);
// N points from angle 0 counterclockwise, the last one step short of the
// first; N < 1 writes nothing.
void circle_imp_points_2d(double r, const double* pc, int32_t n, double* p);
// The same in the plane normal to NORMAL, from the basis of
// plane_normal_basis_3d (a zero NORMAL ends the run before N is looked at).
void circle_imp_points_3d(double r, const double* pc, const double* normal, int32_t n, double* p);
// N points from THETA1 to the reduced end angle, both ends included; one
// point lies at the middle of the arc.
void circle_imp_points_arc_2d(double r, const double* pc, double theta1, double theta2, int32_t n, double* p);
// The nearest point of the arc and its distance.  R = 0 gives PC; P = PC
// gives the THETA1 end at distance |R|.
void circle_arc_point_near_2d(double r, const double* pc, double theta1, double theta2, const double* p, double* pn,
                              double& dist);

// PC does not enter the areas.
void circle_sector_area_2d(double r, const double* pc, double theta1, double theta2, double& area);
void circle_sector_centroid_2d(double r, const double* pc, double theta1, double theta2, double* centroid);
// Both bounds inclusive; points on the circle are inside.
void circle_sector_contains_point_2d(double r, const double* pc, double theta1, double theta2, const double* p,
                                     bool& inside);
// Signed: negative for pi < t < 2 pi.
void circle_triangle_area_2d(double r, const double* pc, double theta1, double theta2, double& area);
void circle_lune_area_2d(double r, const double* pc, double theta1, double theta2, double& area);
void circle_lune_centroid_2d(double r, const double* pc, double theta1, double theta2, double* centroid);
void annulus_area_2d(double r1, double r2, double& area);
void annulus_sector_area_2d(double r1, double r2, double theta1, double theta2, double& area);
// t = 0 takes the limit of the angular factor; R1 + R2 = 0 gives PC.
void annulus_sector_centroid_2d(const double* pc, double r1, double r2, double theta1, double theta2,
                                double* centroid);

// Numbers in G14.6 straight after their labels.  The plane circle prints its
// title only when it has a non-blank character; the circle in space always.
void circle_imp_print_2d(double r, const double* pc, std::string_view title);
void circle_imp_print_3d(double r, const double* pc, const double* normal, std::string_view title);
void circle_sector_print_2d(double r, const double* pc, double theta1, double theta2);

}  // namespace orvel::geometry
