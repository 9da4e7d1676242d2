#include "geometry/transforms.hpp"

#include <cmath>
#include <string>

#include "common/text.hpp"
#include "geometry/angles.hpp"
#include "geometry/reals.hpp"
#include "geometry/rotations.hpp"

namespace orvel::geometry {
namespace {

// The 4 by 4 identity, column by column.
struct elementary {
  double c[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Y = the image of X under A, each row summed from 0 in column order and the
// translation added last.
void image(const mat_ref<const double>& A, const double* x, double* y) {
  const vec_ref X(x, 3);
  const double x1 = X(1), x2 = X(2), x3 = X(3);
  const vec_ref Y(y, 3);
  for (int32_t i = 1; i <= 3; ++i) {
    double sum = 0.0;
    sum += A(i, 1) * x1;
    sum += A(i, 2) * x2;
    sum += A(i, 3) * x3;
    Y(i) = sum + A(i, 4);
  }
}

}  // namespace

void tmat_init(double* a) {
  const mat_ref A(a, 4, 4);
  for (int32_t j = 1; j <= 4; ++j)
    for (int32_t i = 1; i <= 4; ++i) A(i, j) = i == j ? 1.0 : 0.0;
}

void tmat_mxm(const double* a, const double* b, double* c) {
  const mat_ref A(a, 4, 4), B(b, 4, 4);
  // The product goes through a local matrix, so C may be A or B.
  double t[16];
  const mat_ref T(t, 4, 4);
  for (int32_t j = 1; j <= 4; ++j) {
    for (int32_t i = 1; i <= 4; ++i) {
      double sum = 0.0;
      for (int32_t k = 1; k <= 4; ++k) sum += A(i, k) * B(k, j);
      T(i, j) = sum;
    }
  }
  const mat_ref C(c, 4, 4);
  for (int32_t j = 1; j <= 4; ++j)
    for (int32_t i = 1; i <= 4; ++i) C(i, j) = T(i, j);
}

void tmat_mxp(const double* a, const double* x, double* y) { image(mat_ref(a, 4, 4), x, y); }

void tmat_mxv(const double* a, const double* x, double* y) { image(mat_ref(a, 4, 4), x, y); }

void tmat_mxp2(const double* a, int32_t n, const double* p, double* p2) {
  const mat_ref A(a, 4, 4);
  const mat_ref P(p, 3, n);
  const mat_ref P2(p2, 3, n);
  for (int32_t k = 1; k <= n; ++k) image(A, P.col(k), P2.col(k));
}

void tmat_rot_axis(const double* a, double angle, std::string_view axis, double* b) {
  const std::string code = fixlen(axis, 1);
  const double t = degrees_to_radians(angle);
  const double co = std::cos(t), si = std::sin(t);
  elementary e;
  const mat_ref C(e.c, 4, 4);
  if (code == "X" || code == "x") {
    C(2, 2) = co;
    C(2, 3) = -si;
    C(3, 2) = si;
    C(3, 3) = co;
  } else if (code == "Y" || code == "y") {
    C(1, 1) = co;
    C(1, 3) = si;
    C(3, 1) = -si;
    C(3, 3) = co;
  } else if (code == "Z" || code == "z") {
    C(1, 1) = co;
    C(1, 2) = -si;
    C(2, 1) = si;
    C(2, 2) = co;
  } else {
    fatal("TMAT_ROT_AXIS", {"  Illegal rotation axis: " + code});
  }
  tmat_mxm(e.c, a, b);
}

void tmat_rot_vector(const double* a, double angle, const double* axis, double* b) {
  const double norm = r8vec_norm(3, axis);
  if (norm == 0.0) return;
  const vec_ref AXIS(axis, 3);
  const double t = degrees_to_radians(angle);
  elementary e;
  axis_matrix(AXIS(1) / norm, AXIS(2) / norm, AXIS(3) / norm, t, mat_ref(e.c, 4, 4));
  tmat_mxm(e.c, a, b);
}

void tmat_scale(const double* a, const double* s, double* b) {
  const vec_ref S(s, 3);
  elementary e;
  const mat_ref C(e.c, 4, 4);
  C(1, 1) = S(1);
  C(2, 2) = S(2);
  C(3, 3) = S(3);
  tmat_mxm(e.c, a, b);
}

void tmat_shear(const double* a, std::string_view axis, double s, double* b) {
  const std::string code = fixlen(axis, 2);
  elementary e;
  const mat_ref C(e.c, 4, 4);
  if (code == "XY" || code == "xy") {
    C(1, 2) = s;
  } else if (code == "XZ" || code == "xz") {
    C(1, 3) = s;
  } else if (code == "YX" || code == "yx") {
    C(2, 1) = s;
  } else if (code == "YZ" || code == "yz") {
    C(2, 3) = s;
  } else if (code == "ZX" || code == "zx") {
    C(3, 1) = s;
  } else if (code == "ZY" || code == "zy") {
    C(3, 2) = s;
  } else {
    fatal("TMAT_SHEAR",
          {"  Illegal shear axis: \"" + code + "\".", "  Legal choices are XY, XZ, YX, YZ, ZX, or ZY."});
  }
  tmat_mxm(e.c, a, b);
}

void tmat_trans(const double* a, const double* v, double* b) {
  const mat_ref A(a, 4, 4);
  const vec_ref V(v, 3);
  const mat_ref B(b, 4, 4);
  for (int32_t j = 1; j <= 4; ++j)
    for (int32_t i = 1; i <= 4; ++i) B(i, j) = A(i, j);
  for (int32_t i = 1; i <= 3; ++i) B(i, 4) = A(i, 4) + V(i);
}

}  // namespace orvel::geometry
