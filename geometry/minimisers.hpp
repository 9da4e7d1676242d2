// One-dimensional tools on three samples (X1, Y1), (X2, Y2), (X3, Y3): the
// vertex of the parabola through them and two estimates of a minimiser.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// ierror: 0 success; 1 two X values equal (nothing written); 2 the points
// lie on a sloping line (vertex not written).  Three equal Y give the vertex
// (X1, Y1).
void parabola_ex(double x1, double y1, double x2, double y2, double x3, double y3, double& x, double& y,
                 int32_t& ierror);
// The same through the coefficients of Y = A X^2 + B X + C, which are
// written unless ierror is 1 or the Y values are all equal.
void parabola_ex2(double x1, double y1, double x2, double y2, double x3, double y3, double& x, double& y, double& a,
                  double& b, double& c, int32_t& ierror);
// The parabola's vertex when it lies in [min X, max X] and not above the
// best sample, else the best sample (ties to the earlier point).  Equal X
// values end the run.
void minquad(double x1, double y1, double x2, double y2, double x3, double y3, double& xmin, double& ymin);
// A minimiser under a V model.  Puts the caller's three points in order of
// X first.  Equal X values end the run.
void minabs(double& x1, double& y1, double& x2, double& y2, double& x3, double& y3, double& xmin, double& ymin);

}  // namespace orvel::geometry
