#include "geometry/rotations.hpp"

#include <cmath>
#include <string_view>

#include "geometry/angles.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

// Unit axis and angle of the rotation matrix A from its antisymmetric part
// and its trace; a zero antisymmetric part ends the run under TITLE.
void matrix_axis(std::string_view title, const double* a, double* axis, double& angle) {
  const mat_ref A(a, 3, 3);
  const vec_ref AXIS(axis, 3);
  const double w[3] = {A(3, 2) - A(2, 3), A(1, 3) - A(3, 1), A(2, 1) - A(1, 2)};
  const double norm = r8vec_norm(3, w);
  if (norm == 0.0) fatal(title, {"  A is not a rotation matrix,", "  or there are multiple axes of rotation."});
  for (int32_t i = 1; i <= 3; ++i) AXIS(i) = w[i - 1] / norm;
  angle = arc_cosine(0.5 * (A(1, 1) + A(2, 2) + A(3, 3) - 1.0));
}

}  // namespace

void axis_matrix(double x, double y, double z, double angle, const mat_ref<double>& m) {
  const double co = std::cos(angle), si = std::sin(angle);
  m(1, 1) = x * x + (1.0 - x * x) * co;
  m(1, 2) = (1.0 - co) * x * y - si * z;
  m(1, 3) = (1.0 - co) * x * z + si * y;
  m(2, 1) = (1.0 - co) * x * y + si * z;
  m(2, 2) = y * y + (1.0 - y * y) * co;
  m(2, 3) = (1.0 - co) * y * z - si * x;
  m(3, 1) = (1.0 - co) * x * z - si * y;
  m(3, 2) = (1.0 - co) * y * z + si * x;
  m(3, 3) = z * z + (1.0 - z * z) * co;
}

void turn_normal_part(const double* axis, const double* parallel, double* normal, double normal_norm, double angle,
                      double* w) {
  const vec_ref PARALLEL(parallel, 3);
  const vec_ref NORMAL(normal, 3);
  for (int32_t i = 1; i <= 3; ++i) NORMAL(i) = NORMAL(i) / normal_norm;
  double normal2[3];
  r8vec_cross_product_3d(axis, normal, normal2);
  const double normal2_norm = r8vec_norm(3, normal2);
  for (double& x : normal2) x = x / normal2_norm;
  const double co = std::cos(angle), si = std::sin(angle);
  const vec_ref W(w, 3);
  for (int32_t i = 1; i <= 3; ++i) W(i) = PARALLEL(i) + normal_norm * (co * NORMAL(i) + si * normal2[i - 1]);
}

void quat_conj(const double* q, double* q2) {
  const vec_ref Q(q, 4);
  const double q1 = Q(1), qi = Q(2), qj = Q(3), qk = Q(4);
  const vec_ref Q2(q2, 4);
  Q2(1) = q1;
  Q2(2) = -qi;
  Q2(3) = -qj;
  Q2(4) = -qk;
}

void quat_inv(const double* q, double* q2) {
  const vec_ref Q(q, 4);
  const double q1 = Q(1), qi = Q(2), qj = Q(3), qk = Q(4);
  const double normsq = q1 * q1 + qi * qi + qj * qj + qk * qk;
  const vec_ref Q2(q2, 4);
  if (normsq == 0.0) {
    // No inverse: zero, as the matrix inverses give for a zero determinant.
    for (int32_t i = 1; i <= 4; ++i) Q2(i) = 0.0;
    return;
  }
  Q2(1) = q1 / normsq;
  Q2(2) = -qi / normsq;
  Q2(3) = -qj / normsq;
  Q2(4) = -qk / normsq;
}

void quat_mul(const double* q1, const double* q2, double* q3) {
  const vec_ref Q1(q1, 4), Q2(q2, 4);
  const double a1 = Q1(1), b1 = Q1(2), c1 = Q1(3), d1 = Q1(4);
  const double a2 = Q2(1), b2 = Q2(2), c2 = Q2(3), d2 = Q2(4);
  const vec_ref Q3(q3, 4);
  Q3(1) = a1 * a2 - b1 * b2 - c1 * c2 - d1 * d2;
  Q3(2) = a1 * b2 + a2 * b1 + c1 * d2 - c2 * d1;
  Q3(3) = a1 * c2 - b1 * d2 + a2 * c1 + b2 * d1;
  Q3(4) = a1 * d2 + b1 * c2 - b2 * c1 + a2 * d1;
}

double quat_norm(const double* q) { return r8vec_norm(4, q); }

void rotation_axis2mat_3d(const double* axis, double angle, double* a) {
  const vec_ref AXIS(axis, 3);
  const mat_ref A(a, 3, 3);
  const double norm = r8vec_norm(3, axis);
  if (norm == 0.0) {
    for (int32_t j = 1; j <= 3; ++j)
      for (int32_t i = 1; i <= 3; ++i) A(i, j) = 0.0;
    return;
  }
  axis_matrix(AXIS(1) / norm, AXIS(2) / norm, AXIS(3) / norm, angle, A);
}

void rotation_axis2quat_3d(const double* axis, double angle, double* q) {
  const vec_ref AXIS(axis, 3);
  const double norm = r8vec_norm(3, axis);
  if (norm == 0.0) fatal("ROTATION_AXIS2QUAT_3D", {"  The axis vector is null."});
  const double u[3] = {AXIS(1), AXIS(2), AXIS(3)};
  const vec_ref Q(q, 4);
  Q(1) = std::cos(0.5 * angle);
  for (int32_t i = 1; i <= 3; ++i) Q(i + 1) = std::sin(0.5 * angle) * u[i - 1] / norm;
}

void rotation_axis_vector_3d(const double* axis, double angle, const double* v, double* w) {
  const vec_ref AXIS(axis, 3), V(v, 3);
  const vec_ref W(w, 3);
  const double norm = r8vec_norm(3, axis);
  if (norm == 0.0) {
    for (int32_t i = 1; i <= 3; ++i) W(i) = 0.0;
    return;
  }
  const double u[3] = {AXIS(1) / norm, AXIS(2) / norm, AXIS(3) / norm};
  const double dot = u[0] * V(1) + u[1] * V(2) + u[2] * V(3);
  const double parallel[3] = {dot * u[0], dot * u[1], dot * u[2]};
  double normal[3] = {V(1) - parallel[0], V(2) - parallel[1], V(3) - parallel[2]};
  const double normal_norm = r8vec_norm(3, normal);
  if (normal_norm == 0.0) {
    for (int32_t i = 1; i <= 3; ++i) W(i) = parallel[i - 1];
    return;
  }
  turn_normal_part(u, parallel, normal, normal_norm, angle, w);
}

void rotation_mat2axis_3d(const double* a, double* axis, double& angle) {
  matrix_axis("ROTATION_MAT2AXIS_3D", a, axis, angle);
}

void rotation_mat2quat_3d(const double* a, double* q) {
  double axis[3], angle;
  matrix_axis("ROTATION_MAT2QUAT_3D", a, axis, angle);
  const double c = std::cos(0.5 * angle);
  const double s = std::sqrt(1.0 - c * c);
  const vec_ref Q(q, 4);
  Q(1) = c;
  for (int32_t i = 1; i <= 3; ++i) Q(i + 1) = s * axis[i - 1];
}

void rotation_mat_vector_3d(const double* a, const double* v, double* w) {
  const mat_ref A(a, 3, 3);
  const vec_ref V(v, 3);
  const double v1 = V(1), v2 = V(2), v3 = V(3);
  const vec_ref W(w, 3);
  for (int32_t i = 1; i <= 3; ++i) W(i) = A(i, 1) * v1 + A(i, 2) * v2 + A(i, 3) * v3;
}

void rotation_quat2axis_3d(const double* q, double* axis, double& angle) {
  const vec_ref Q(q, 4);
  const double q1 = Q(1), qi = Q(2), qj = Q(3), qk = Q(4);
  const double s = std::sqrt(qi * qi + qj * qj + qk * qk);
  angle = 2.0 * std::atan2(s, q1);
  const vec_ref AXIS(axis, 3);
  if (s != 0.0) {
    AXIS(1) = qi / s;
    AXIS(2) = qj / s;
    AXIS(3) = qk / s;
  } else {
    AXIS(1) = 1.0;
    AXIS(2) = 0.0;
    AXIS(3) = 0.0;
  }
}

void rotation_quat2mat_3d(const double* q, double* a) {
  double axis[3], angle;
  rotation_quat2axis_3d(q, axis, angle);
  axis_matrix(axis[0], axis[1], axis[2], angle, mat_ref(a, 3, 3));
}

void rotation_quat_vector_3d(const double* q, const double* v, double* w) {
  const vec_ref Q(q, 4), V(v, 3);
  const double q0 = Q(1), q1 = Q(2), q2 = Q(3), q3 = Q(4);
  const double v1 = V(1), v2 = V(2), v3 = V(3);
  const vec_ref W(w, 3);
  W(1) = 2.0 * ((q1 * q2 - q0 * q3) * v2 + (q1 * q3 + q0 * q2) * v3) + (2.0 * (q0 * q0 + q1 * q1) - 1.0) * v1;
  W(2) = 2.0 * ((q1 * q2 + q0 * q3) * v1 + (q2 * q3 - q0 * q1) * v3) + (2.0 * (q0 * q0 + q2 * q2) - 1.0) * v2;
  W(3) = 2.0 * ((q1 * q3 - q0 * q2) * v1 + (q2 * q3 + q0 * q1) * v2) + (2.0 * (q0 * q0 + q3 * q3) - 1.0) * v3;
}

}  // namespace orvel::geometry
