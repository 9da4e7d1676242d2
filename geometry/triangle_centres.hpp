// Centres and characteristic circles of a triangle T (vertices P1, P2, P3 as
// columns): circumcentre, circumscribed circle and radius, incentre,
// inscribed circle and radius, orthocentre.  Degenerate triangles are
// reported through the outputs only:
// - collinear vertices give non-finite centres from the closed formula
//   (triangle_circumcenter_2d, triangle_circumcenter);
// - the linear-system routines give PC = (0, 0) (and R = -1);
// - the closed circumcircle and circumradius give R = -1 (and PC = (0, 0));
// - all three vertices equal give the incentre P1 and inradius 0, a flat
//   triangle inradius 0;
// - an orthocentre that does not exist is (1.0e30, 1.0e30).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void triangle_circumcenter_2d(const double* t, double* pc);
void triangle_circumcenter_2d_2(const double* t, double* pc);
// In dim_num dimensions (t is dim_num by 3); dim_num < 1 writes nothing.
void triangle_circumcenter(int32_t dim_num, const double* t, double* pc);
void triangle_circumcircle_2d(const double* t, double& r, double* pc);
void triangle_circumcircle_2d_2(const double* t, double& r, double* pc);
void triangle_circumradius_2d(const double* t, double& r);
void triangle_incenter_2d(const double* t, double* pc);
void triangle_incircle_2d(const double* t, double& r, double* pc);
void triangle_inradius_2d(const double* t, double& r);
void triangle_orthocenter_2d(const double* t, double* pc);

}  // namespace orvel::geometry
