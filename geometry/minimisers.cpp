#include "geometry/minimisers.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/matrices.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

bool x_values_meet(double x1, double x2, double x3) { return x1 == x2 || x2 == x3 || x3 == x1; }

bool y_values_equal(double y1, double y2, double y3) { return y1 == y2 && y2 == y3 && y1 == y3; }

}  // namespace

void parabola_ex(double x1, double y1, double x2, double y2, double x3, double y3, double& x, double& y,
                 int32_t& ierror) {
  if (x_values_meet(x1, x2, x3)) {
    ierror = 1;
    return;
  }
  if (y_values_equal(y1, y2, y3)) {
    x = x1;
    y = y1;
    ierror = 0;
    return;
  }
  const double bot = (x2 - x3) * y1 - (x1 - x3) * y2 + (x1 - x2) * y3;
  if (bot == 0.0) {
    ierror = 2;
    return;
  }
  const double xv = 0.5 * ((x1 * x1) * (y3 - y2) + (x2 * x2) * (y1 - y3) + (x3 * x3) * (y2 - y1)) / bot;
  y = ((xv - x2) * (xv - x3) * (x2 - x3) * y1 - (xv - x1) * (xv - x3) * (x1 - x3) * y2 +
       (xv - x1) * (xv - x2) * (x1 - x2) * y3) /
      ((x1 - x2) * (x2 - x3) * (x1 - x3));
  x = xv;
  ierror = 0;
}

void parabola_ex2(double x1, double y1, double x2, double y2, double x3, double y3, double& x, double& y, double& a,
                  double& b, double& c, int32_t& ierror) {
  if (x_values_meet(x1, x2, x3)) {
    ierror = 1;
    return;
  }
  if (y_values_equal(y1, y2, y3)) {
    x = x1;
    y = y1;
    ierror = 0;
    return;
  }
  // Row i of V is (1, Xi, Xi^2).
  const double v[9] = {1.0, 1.0, 1.0, x1, x2, x3, x1 * x1, x2 * x2, x3 * x3};
  double w[9], det;
  r8mat_inverse_3d(v, w, det);
  const mat_ref W(w, 3, 3);
  c = W(1, 1) * y1 + W(1, 2) * y2 + W(1, 3) * y3;
  b = W(2, 1) * y1 + W(2, 2) * y2 + W(2, 3) * y3;
  a = W(3, 1) * y1 + W(3, 2) * y2 + W(3, 3) * y3;
  if (a == 0.0) {
    ierror = 2;
    return;
  }
  const double xv = -b / (2.0 * a);
  y = a * (xv * xv) + b * xv + c;
  x = xv;
  ierror = 0;
}

void minquad(double x1, double y1, double x2, double y2, double x3, double y3, double& xmin, double& ymin) {
  if (x_values_meet(x1, x2, x3)) fatal("MINQUAD", {"  X_part values are equal."});
  double xb, yb;
  if (y1 <= y2 && y1 <= y3) {
    xb = x1;
    yb = y1;
  } else if (y2 <= y1 && y2 <= y3) {
    xb = x2;
    yb = y2;
  } else {
    xb = x3;
    yb = y3;
  }
  double x = 0.0, y = 0.0;
  int32_t ierror;
  parabola_ex(x1, y1, x2, y2, x3, y3, x, y, ierror);
  if (ierror != 2 && y <= yb && std::min({x1, x2, x3}) <= x && x <= std::max({x1, x2, x3})) {
    xb = x;
    yb = y;
  }
  xmin = xb;
  ymin = yb;
}

void minabs(double& x1, double& y1, double& x2, double& y2, double& x3, double& y3, double& xmin, double& ymin) {
  if (x_values_meet(x1, x2, x3)) fatal("MINABS", {"  X_part values are equal."});
  if (x1 > x2) {
    r8_swap(x1, x2);
    r8_swap(y1, y2);
  }
  if (x1 > x3) {
    r8_swap(x1, x3);
    r8_swap(y1, y3);
  }
  if (x2 > x3) {
    r8_swap(x2, x3);
    r8_swap(y2, y3);
  }
  const double slope12 = (y2 - y1) / (x2 - x1);
  const double slope13 = (y3 - y1) / (x3 - x1);
  if (slope13 <= slope12 || 0.0 <= slope12) {
    // The middle point is not below the chord, or the samples do not fall
    // from the left: the lower end (the right one on a tie).
    if (y1 < y3) {
      xmin = x1;
      ymin = y1;
    } else {
      xmin = x3;
      ymin = y3;
    }
    return;
  }
  const double slope23 = (y3 - y2) / (x3 - x2);
  const double slope = std::max(std::fabs(slope12), slope23);
  const double xv = 0.5 * (x1 + x3 + (y1 - y3) / slope);
  ymin = y1 - slope * (xv - x1);
  xmin = xv;
}

}  // namespace orvel::geometry
