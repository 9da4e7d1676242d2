#include "geometry/polyhedra.hpp"

#include <cmath>
#include <string_view>
#include <vector>

#include "geometry/polygons.hpp"
#include "geometry/reals.hpp"
#include "geometry/regular_polygons.hpp"
#include "geometry/tetrahedra.hpp"

namespace orvel::geometry {
namespace {

// The faces of the row layout, their vertex numbers checked.
class row_faces {
 public:
  row_faces(std::string_view title, const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
            int32_t node_num, const int32_t* order)
      : title_(title),
        coord_(coord, 3, node_num),
        node_(node, face_num, order_max),
        order_(order, face_num),
        order_max_(order_max),
        node_num_(node_num) {}

  // The number of vertices of face f.
  int32_t size(int32_t f) const {
    const int32_t n = order_(f);
    check_index(title_, n, 0, order_max_);
    return n;
  }
  // Vertex j of face f, j = n + 1 wrapping to 1.
  const double* point(int32_t f, int32_t j) const {
    const int32_t k = node_(f, j > order_(f) ? 1 : j);
    check_index(title_, k, 1, node_num_);
    return coord_.col(k);
  }

 private:
  std::string_view title_;
  mat_ref<const double> coord_;
  mat_ref<const int32_t> node_;
  vec_ref<const int32_t> order_;
  int32_t order_max_;
  int32_t node_num_;
};

// S = sum of Pj x P(j+1) over face f: twice its area vector.
void face_area_vector(const row_faces& faces, int32_t f, int32_t n, double* s) {
  s[0] = s[1] = s[2] = 0.0;
  for (int32_t j = 1; j <= n; ++j) {
    double c[3];
    r8vec_cross_product_3d(faces.point(f, j), faces.point(f, j + 1), c);
    for (int32_t i = 0; i < 3; ++i) s[i] = s[i] + c[i];
  }
}

}  // namespace

void polyhedron_area_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                        int32_t node_num, const int32_t* order, double& area) {
  const row_faces faces("POLYHEDRON_AREA_3D", coord, order_max, face_num, node, node_num, order);
  area = 0.0;
  for (int32_t f = 1; f <= face_num; ++f) {
    double s[3];
    face_area_vector(faces, f, faces.size(f), s);
    area = area + r8vec_norm(3, s);
  }
  area = 0.5 * area;
}

void polyhedron_centroid_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                            int32_t node_num, const int32_t* order, double* centroid) {
  const row_faces faces("POLYHEDRON_CENTROID_3D", coord, order_max, face_num, node, node_num, order);
  const vec_ref CENTROID(centroid, 3);
  if (node_num < 1) {
    for (int32_t i = 1; i <= 3; ++i) CENTROID(i) = 0.0;
    return;
  }
  const mat_ref COORD(coord, 3, node_num);
  const int32_t work = order_max > 0 ? order_max : 0;
  std::vector<double> polygon(3 * static_cast<std::size_t>(work));

  // A reference point inside: the face centroids weighted by the face areas.
  double area_sum = 0.0, q[3] = {0, 0, 0};
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t n = faces.size(f);
    const mat_ref POLYGON(polygon.data(), 3, work);
    for (int32_t j = 1; j <= n; ++j)
      for (int32_t i = 1; i <= 3; ++i) POLYGON(i, j) = faces.point(f, j)[i - 1];
    double area, normal[3], c[3];
    polygon_area_3d(n, polygon.data(), area, normal);
    polygon_centroid_3d(n, polygon.data(), c);
    area_sum = area_sum + area;
    for (int32_t i = 0; i < 3; ++i) q[i] = q[i] + area * c[i];
  }
  if (area_sum == 0.0) {
    for (int32_t i = 1; i <= 3; ++i) q[i - 1] = COORD(i, 1);
  } else {
    for (double& x : q) x = x / area_sum;
  }

  // The solid as the tetrahedra (Pj, P(j+1), Pn, Q).
  double volume_sum = 0.0, sum[3] = {0, 0, 0};
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t n = faces.size(f);
    for (int32_t j = 1; j <= n - 2; ++j) {
      double tetra[12];
      const mat_ref T(tetra, 3, 4);
      const double* corners[4] = {faces.point(f, j), faces.point(f, j + 1), faces.point(f, n), q};
      for (int32_t k = 1; k <= 4; ++k)
        for (int32_t i = 1; i <= 3; ++i) T(i, k) = corners[k - 1][i - 1];
      double volume, c[3];
      tetrahedron_volume_3d(tetra, volume);
      tetrahedron_centroid_3d(tetra, c);
      volume_sum = volume_sum + volume;
      for (int32_t i = 0; i < 3; ++i) sum[i] = sum[i] + volume * c[i];
    }
  }
  for (int32_t i = 1; i <= 3; ++i) CENTROID(i) = volume_sum == 0.0 ? q[i - 1] : sum[i - 1] / volume_sum;
}

void polyhedron_volume_3d(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                          int32_t node_num, const int32_t* order, double& volume) {
  const row_faces faces("POLYHEDRON_VOLUME_3D", coord, order_max, face_num, node, node_num, order);
  volume = 0.0;
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t n = faces.size(f);
    if (n < 3) continue;
    const double* last = faces.point(f, n);
    for (int32_t j = 1; j <= n - 2; ++j) {
      double c[3];
      r8vec_cross_product_3d(faces.point(f, j), faces.point(f, j + 1), c);
      volume = volume + r8vec_dot_product(3, last, c);
    }
  }
  volume = volume / 6.0;
}

void polyhedron_volume_3d_2(const double* coord, int32_t order_max, int32_t face_num, const int32_t* node,
                            int32_t node_num, const int32_t* order, double& volume) {
  const row_faces faces("POLYHEDRON_VOLUME_3D_2", coord, order_max, face_num, node, node_num, order);
  volume = 0.0;
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t n = faces.size(f);
    if (n < 1) continue;
    double s[3];
    face_area_vector(faces, f, n, s);
    volume = volume + r8vec_dot_product(3, faces.point(f, 1), s);
  }
  volume = volume / 6.0;
}

void polyhedron_contains_point_3d(int32_t node_num, int32_t face_num, int32_t face_order_max, const double* v,
                                  const int32_t* face_order, const int32_t* face_point, const double* p,
                                  bool& inside) {
  constexpr std::string_view title = "POLYHEDRON_CONTAINS_POINT_3D";
  const mat_ref V(v, 3, node_num);
  const vec_ref FACE_ORDER(face_order, face_num);
  const mat_ref FACE_POINT(face_point, face_order_max, face_num);
  const int32_t work = face_order_max > 0 ? face_order_max : 0;
  std::vector<double> polygon(3 * static_cast<std::size_t>(work));
  const mat_ref POLYGON(polygon.data(), 3, work);
  double total = 0.0;
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t n = FACE_ORDER(f);
    check_index(title, n, 0, face_order_max);
    for (int32_t j = 1; j <= n; ++j) {
      const int32_t k = FACE_POINT(j, f);
      check_index(title, k, 1, node_num);
      for (int32_t i = 1; i <= 3; ++i) POLYGON(i, j) = V(i, k);
    }
    double solid_angle;
    polygon_solid_angle_3d(n, polygon.data(), p, solid_angle);
    total = total + solid_angle;
  }
  const double two_pi = 6.283185307179586;
  inside = total < -two_pi || two_pi < total;
}

}  // namespace orvel::geometry
