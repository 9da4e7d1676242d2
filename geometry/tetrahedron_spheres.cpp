#include "geometry/tetrahedron_spheres.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/matrices.hpp"
#include "geometry/random.hpp"
#include "geometry/reals.hpp"
#include "geometry/simplices.hpp"
#include "geometry/tetrahedra.hpp"

namespace orvel::geometry {
namespace {

// |AB . (AC x AD)| / 6.
double triple_volume(const mat_ref<const double>& T) {
  double ab[3], ac[3], ad[3];
  for (int32_t i = 1; i <= 3; ++i) {
    ab[i - 1] = T(i, 2) - T(i, 1);
    ac[i - 1] = T(i, 3) - T(i, 1);
    ad[i - 1] = T(i, 4) - T(i, 1);
  }
  return std::fabs(r8vec_scalar_triple_product(ab, ac, ad)) / 6.0;
}

}  // namespace

void tetrahedron_circumsphere_3d(const double* tetra, double& r, double* pc) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref PC(pc, 3);
  double a[12];
  const mat_ref S(a, 3, 4);
  for (int32_t k = 1; k <= 3; ++k) {
    double w2 = 0.0;
    for (int32_t i = 1; i <= 3; ++i) {
      S(k, i) = TETRA(i, k + 1) - TETRA(i, 1);
      w2 = w2 + S(k, i) * S(k, i);
    }
    S(k, 4) = w2;
  }
  int32_t info;
  r8mat_solve(3, 1, a, info);
  if (info != 0) {
    r = -1.0;
    for (int32_t i = 1; i <= 3; ++i) PC(i) = 0.0;
    return;
  }
  const double x[3] = {S(1, 4), S(2, 4), S(3, 4)};
  r = 0.5 * r8vec_norm(3, x);
  for (int32_t i = 1; i <= 3; ++i) PC(i) = TETRA(i, 1) + 0.5 * x[i - 1];
}

void tetrahedron_insphere_3d(const double* tetra, double& r, double* pc) {
  const mat_ref TETRA(tetra, 3, 4);
  const vec_ref PC(pc, 3);
  const double* a = TETRA.col(1);
  const double* b = TETRA.col(2);
  const double* c = TETRA.col(3);
  const double* d = TETRA.col(4);
  double n123[3], n124[3], n134[3], n234[3];
  r8vec_cross_product_affine_3d(a, b, c, n123);
  r8vec_cross_product_affine_3d(a, d, b, n124);
  r8vec_cross_product_affine_3d(a, c, d, n134);
  r8vec_cross_product_affine_3d(b, d, c, n234);
  const double l123 = r8vec_norm(3, n123), l124 = r8vec_norm(3, n124);
  const double l134 = r8vec_norm(3, n134), l234 = r8vec_norm(3, n234);
  const double lsum = l123 + l124 + l134 + l234;
  // Four equal vertices: a sphere of radius 0 at them.
  if (lsum == 0.0) {
    r = 0.0;
    for (int32_t i = 1; i <= 3; ++i) PC(i) = TETRA(i, 1);
    return;
  }
  for (int32_t i = 1; i <= 3; ++i)
    PC(i) = (l234 * TETRA(i, 1) + l134 * TETRA(i, 2) + l124 * TETRA(i, 3) + l123 * TETRA(i, 4)) / lsum;
  double m[16];
  const mat_ref M(m, 4, 4);
  for (int32_t j = 1; j <= 4; ++j) {
    for (int32_t i = 1; i <= 3; ++i) M(i, j) = TETRA(i, j);
    M(4, j) = 1.0;
  }
  r = std::fabs(r8mat_det_4d(m)) / lsum;
}

void tetrahedron_quality1_3d(const double* tetra, double& quality) {
  double r_in, r_out, pc[3];
  tetrahedron_circumsphere_3d(tetra, r_out, pc);
  tetrahedron_insphere_3d(tetra, r_in, pc);
  quality = 3.0 * r_in / r_out;
}

void tetrahedron_quality2_3d(const double* tetra, double& quality) {
  double edge_length[6];
  tetrahedron_edge_length_3d(tetra, edge_length);
  const double l_max = *std::max_element(edge_length, edge_length + 6);
  // Four equal vertices: no shape at all.
  if (l_max == 0.0) {
    quality = 0.0;
    return;
  }
  double r_in, pc[3];
  tetrahedron_insphere_3d(tetra, r_in, pc);
  quality = 4.898979485566356 * r_in / l_max;
}

void tetrahedron_quality3_3d(const double* tetra, double& quality) {
  const mat_ref TETRA(tetra, 3, 4);
  double edge_length[6];
  tetrahedron_edge_length_3d(tetra, edge_length);
  double denom = 0.0;
  for (const double e : edge_length) denom = denom + e * e;
  const double volume = triple_volume(TETRA);
  if (denom == 0.0) {
    quality = 0.0;
    return;
  }
  quality = 12.0 * std::pow(3.0 * volume, 0.6666666666666666) / denom;
}

void tetrahedron_quality4_3d(const double* tetra, double& quality) {
  const mat_ref TETRA(tetra, 3, 4);
  double e[6];
  tetrahedron_edge_length_3d(tetra, e);
  const double l_ab = e[0], l_ac = e[1], l_ad = e[2], l_bc = e[3], l_bd = e[4], l_cd = e[5];
  const double volume = triple_volume(TETRA);
  // For each vertex, its three faces as (edge at the vertex, edge at the
  // vertex, opposite edge).
  const double faces[4][3][3] = {
      {{l_ab, l_ac, l_bc}, {l_ab, l_ad, l_bd}, {l_ac, l_ad, l_cd}},
      {{l_ab, l_bc, l_ac}, {l_ab, l_bd, l_ad}, {l_bc, l_bd, l_cd}},
      {{l_ac, l_bc, l_ab}, {l_ac, l_cd, l_ad}, {l_bc, l_cd, l_bd}},
      {{l_ad, l_bd, l_ab}, {l_ad, l_cd, l_ac}, {l_bd, l_cd, l_bc}},
  };
  double q = 1.0;
  for (const auto& vertex : faces) {
    double denom = 1.0;
    for (const auto& f : vertex) denom = denom * ((f[0] + f[1] + f[2]) * (f[0] + f[1] - f[2]));
    if (denom <= 0.0) {
      q = 0.0;
    } else {
      q = std::min(q, 12.0 * volume / std::sqrt(denom));
    }
  }
  quality = 3.674234614174767 * q;
}

void tetrahedron_contains_point_3d(const double* tetra, const double* p, bool& inside) {
  double xsi[4];
  tetrahedron_barycentric_3d(tetra, p, xsi);
  inside = xsi[0] >= 0.0 && xsi[1] >= 0.0 && xsi[2] >= 0.0 && xsi[3] >= 0.0;
}

void tetrahedron_sample_3d(const double* tetra, int32_t n, int32_t& seed, double* p) {
  const mat_ref TETRA(tetra, 3, 4);
  const mat_ref P(p, 3, n);
  for (int32_t j = 1; j <= n; ++j) {
    const double alpha = std::cbrt(r8_uniform_01(seed));
    const double beta = std::sqrt(r8_uniform_01(seed));
    const double gamma = r8_uniform_01(seed);
    for (int32_t i = 1; i <= 3; ++i) {
      // The section parallel to BCD at ALPHA, then a point of that triangle.
      const double a = TETRA(i, 1);
      const double tr1 = a + alpha * (TETRA(i, 2) - a);
      const double tr2 = a + alpha * (TETRA(i, 3) - a);
      const double tr3 = a + alpha * (TETRA(i, 4) - a);
      const double p12 = tr1 + beta * (tr2 - tr1);
      const double p13 = tr1 + beta * (tr3 - tr1);
      P(i, j) = (1.0 - gamma) * p12 + gamma * p13;
    }
  }
}

void tetrahedron_lattice_point_next(const int32_t* c, int32_t* v, bool& more) {
  simplex_lattice_point_next(3, c, v, more);
}

void tetrahedron_lattice_layer_point_next(const int32_t* c, int32_t* v, bool& more) {
  simplex_lattice_layer_point_next(3, c, v, more);
}

void tetrahedron_unit_lattice_point_num_3d(int32_t s, int32_t& n) {
  n = wrap_mul(wrap_mul(wrap_add(s, 1), wrap_add(s, 2)), wrap_add(s, 3)) / 6;
}

}  // namespace orvel::geometry
