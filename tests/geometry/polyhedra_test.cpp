#include "geometry/polyhedra.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "geometry/polygons.hpp"
#include "geometry/reals.hpp"
#include "geometry/simplices.hpp"
#include "geometry/solids.hpp"
#include "geometry/tetrahedra.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::rel_near;
using testing::vec_rel_near;

// A solid in both layouts.
struct solid {
  const char* name = "";
  int32_t point_num = 0, face_num = 0, order_max = 0;
  std::vector<double> coord;
  std::vector<int32_t> order, face_point, node;  // columns, rows

  void make_rows() {
    node.assign(static_cast<std::size_t>(face_num) * order_max, -1);
    for (int32_t f = 0; f < face_num; ++f)
      for (int32_t j = 0; j < order_max; ++j) node[static_cast<std::size_t>(j) * face_num + f] = face_point[j + f * order_max];
  }
  void reverse_faces() {
    for (int32_t f = 0; f < face_num; ++f) std::reverse(&face_point[f * order_max], &face_point[f * order_max] + order[f]);
    make_rows();
  }
  double area() const {
    double a;
    polyhedron_area_3d(coord.data(), order_max, face_num, node.data(), point_num, order.data(), a);
    return a;
  }
  double volume() const {
    double v;
    polyhedron_volume_3d(coord.data(), order_max, face_num, node.data(), point_num, order.data(), v);
    return v;
  }
  double volume_2() const {
    double v;
    polyhedron_volume_3d_2(coord.data(), order_max, face_num, node.data(), point_num, order.data(), v);
    return v;
  }
  std::vector<double> centroid() const {
    std::vector<double> c(3);
    polyhedron_centroid_3d(coord.data(), order_max, face_num, node.data(), point_num, order.data(), c.data());
    return c;
  }
  bool contains(const double* p) const {
    bool inside;
    polyhedron_contains_point_3d(point_num, face_num, order_max, coord.data(), order.data(), face_point.data(), p,
                                 inside);
    return inside;
  }
};

using shape_fn = std::function<void(int32_t, int32_t, int32_t, double*, int32_t*, int32_t*)>;
using size_fn = void (*)(int32_t&, int32_t&, int32_t&, int32_t&);

solid stored(const char* name, size_fn size, const shape_fn& shape) {
  solid s;
  s.name = name;
  int32_t edge_num;
  size(s.point_num, edge_num, s.face_num, s.order_max);
  s.coord.resize(3 * s.point_num);
  s.order.resize(s.face_num);
  s.face_point.resize(static_cast<std::size_t>(s.order_max) * s.face_num);
  shape(s.point_num, s.face_num, s.order_max, s.coord.data(), s.order.data(), s.face_point.data());
  s.make_rows();
  return s;
}

std::vector<solid> stored_solids() {
  return {
      stored("cube", cube_size_3d, cube_shape_3d),
      stored("dodecahedron", dodec_size_3d, dodec_shape_3d),
      stored("icosahedron", icos_size,
             [](int32_t p, int32_t f, int32_t m, double* c, int32_t* o, int32_t* fp) {
               std::vector<int32_t> edges(2 * 30);
               icos_shape(p, 30, f, m, c, edges.data(), o, fp);
             }),
      stored("octahedron", octahedron_size_3d, octahedron_shape_3d),
      stored("soccer ball", soccer_size_3d, soccer_shape_3d),
      stored("tetrahedron", tetrahedron_size_3d, tetrahedron_shape_3d),
      stored("rhombic tetrahedron", tetrahedron_rhombic_size_3d, tetrahedron_rhombic_shape_3d),
      stored("truncated octahedron", truncated_octahedron_size_3d, truncated_octahedron_shape_3d),
  };
}

solid unit_cube() {
  solid s;
  s.name = "unit cube";
  s.point_num = 8;
  s.face_num = 6;
  s.order_max = 4;
  s.coord = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1};
  s.order = {4, 4, 4, 4, 4, 4};
  s.face_point = {1, 4, 3, 2, 5, 6, 7, 8, 1, 2, 6, 5, 2, 3, 7, 6, 3, 4, 8, 7, 4, 1, 5, 8};
  s.make_rows();
  return s;
}

TEST(GeometryPolyhedra, CubesByHand) {
  const solid cube = stored_solids()[0];
  EXPECT_TRUE(rel_near(cube.area(), 8.0, 1e-14));
  EXPECT_TRUE(rel_near(cube.volume(), 8.0 / (3.0 * std::sqrt(3.0)), 1e-14));
  EXPECT_TRUE(rel_near(cube.volume_2(), 8.0 / (3.0 * std::sqrt(3.0)), 1e-14));
  for (double x : cube.centroid()) EXPECT_NEAR(x, 0.0, 1e-15);
  const double origin[] = {0, 0, 0}, out[] = {1, 0, 0};
  EXPECT_TRUE(cube.contains(origin));
  EXPECT_FALSE(cube.contains(out));

  solid unit = unit_cube();
  EXPECT_EQ(unit.area(), 6.0);
  EXPECT_EQ(unit.volume(), 1.0);
  EXPECT_EQ(unit.volume_2(), 1.0);
  EXPECT_TRUE(vec_rel_near(unit.centroid(), {0.5, 0.5, 0.5}, 1e-15));
  const double in[] = {0.5, 0.5, 0.5}, beside[] = {1.5, 0.5, 0.5};
  EXPECT_TRUE(unit.contains(in));
  EXPECT_FALSE(unit.contains(beside));
}

// The eight stored solids in row layout: both volumes positive and equal
// (the soccer ball's six-digit coordinates bend its faces a little), the
// area the sum of the face areas, the centroid at the mean of the vertices
// (the origin, but for the rhombic tetrahedron) and inside, a far point
// outside.  Reversing every face negates the volumes and changes nothing
// else; a shift moves the centroid with it.
TEST(GeometryPolyhedra, StoredSolids) {
  for (solid s : stored_solids()) {
    const double v1 = s.volume(), v2 = s.volume_2(), area = s.area();
    const std::string name = s.name;
    // Solids stored with six- to eight-digit coordinates are only that
    // symmetric.
    const double tol =
        name == "soccer ball" || name == "tetrahedron" || name == "truncated octahedron" ? 1e-6 : 1e-13;
    EXPECT_GT(v1, 0.0) << s.name;
    EXPECT_TRUE(rel_near(v1, v2, name == "soccer ball" ? 1e-6 : 1e-13)) << s.name;
    double faces = 0.0;
    for (int32_t f = 0; f < s.face_num; ++f) {
      std::vector<double> polygon;
      for (int32_t j = 0; j < s.order[f]; ++j) {
        const int32_t k = s.face_point[j + f * s.order_max] - 1;
        polygon.insert(polygon.end(), &s.coord[3 * k], &s.coord[3 * k] + 3);
      }
      double a, normal[3];
      polygon_area_3d(s.order[f], polygon.data(), a, normal);
      faces += a;
    }
    EXPECT_TRUE(rel_near(area, faces, 1e-13)) << s.name;
    const auto c = s.centroid();
    std::vector<double> mean(3, 0.0);
    for (int32_t k = 0; k < s.point_num; ++k)
      for (int i = 0; i < 3; ++i) mean[i] += s.coord[3 * k + i] / s.point_num;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(c[i], mean[i], tol) << s.name;
    if (name != "rhombic tetrahedron") {
      for (double x : mean) EXPECT_NEAR(x, 0.0, tol) << s.name;
    }
    const double far[] = {3, -4, 12};
    EXPECT_TRUE(s.contains(c.data())) << s.name;
    EXPECT_FALSE(s.contains(far)) << s.name;

    solid r = s;
    r.reverse_faces();
    EXPECT_TRUE(rel_near(r.volume(), -v1, name == "soccer ball" ? 1e-6 : 1e-14)) << s.name;
    EXPECT_TRUE(rel_near(r.volume_2(), -v2, name == "soccer ball" ? 1e-6 : 1e-14)) << s.name;
    EXPECT_TRUE(rel_near(r.area(), area, 1e-14)) << s.name;
    EXPECT_TRUE(vec_rel_near(r.centroid(), c, tol)) << s.name;
    EXPECT_TRUE(r.contains(c.data())) << s.name;
    EXPECT_FALSE(r.contains(far)) << s.name;

    solid m = s;
    const double t[] = {2.5, -1.0, 7.0};
    for (int32_t k = 0; k < m.point_num; ++k)
      for (int i = 0; i < 3; ++i) m.coord[3 * k + i] += t[i];
    const auto cm = m.centroid();
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(cm[i], c[i] + t[i], 1e-12) << s.name;
    EXPECT_TRUE(rel_near(m.volume(), v1, 1e-12)) << s.name;
    EXPECT_TRUE(rel_near(m.volume_2(), v2, 1e-12)) << s.name;
    EXPECT_TRUE(rel_near(m.area(), area, 1e-12)) << s.name;
    EXPECT_TRUE(m.contains(cm.data())) << s.name;
  }
}

// A random tetrahedron as a polyhedron: the simplex volume, the tetrahedron
// volume and both polyhedron volumes agree; the centroid is the mean of the
// vertices.
TEST(GeometryPolyhedra, TetrahedronVolumesAgree) {
  int32_t seed = 1730;
  for (int k = 0; k < 200; ++k) {
    solid s;
    s.name = "tetrahedron";
    s.point_num = 4;
    s.face_num = 4;
    s.order_max = 3;
    s.coord = testing::random_tetrahedron(seed);
    s.order = {3, 3, 3, 3};
    s.face_point = {1, 3, 2, 1, 2, 4, 1, 4, 3, 2, 3, 4};
    s.make_rows();
    double vs, vt, c[3];
    simplex_volume_nd(3, s.coord.data(), vs);
    tetrahedron_volume_3d(s.coord.data(), vt);
    tetrahedron_centroid_3d(s.coord.data(), c);
    EXPECT_TRUE(rel_near(vs, vt, 1e-12));
    EXPECT_TRUE(rel_near(s.volume(), vt, 1e-11));
    EXPECT_TRUE(rel_near(s.volume_2(), vt, 1e-11));
    EXPECT_TRUE(vec_rel_near(s.centroid(), {c[0], c[1], c[2]}, 1e-11));
  }
}

TEST(GeometryPolyhedra, DegenerateAndBadInput) {
  solid unit = unit_cube();
  // No faces: area and volumes 0, nothing inside, the centroid falls back
  // to vertex 1.
  double a, v, c[3];
  polyhedron_area_3d(unit.coord.data(), 4, 0, unit.node.data(), 8, unit.order.data(), a);
  polyhedron_volume_3d(unit.coord.data(), 4, 0, unit.node.data(), 8, unit.order.data(), v);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(v, 0.0);
  polyhedron_volume_3d_2(unit.coord.data(), 4, 0, unit.node.data(), 8, unit.order.data(), v);
  EXPECT_EQ(v, 0.0);
  polyhedron_centroid_3d(unit.coord.data(), 4, 0, unit.node.data(), 8, unit.order.data(), c);
  EXPECT_TRUE(vec_rel_near({c[0], c[1], c[2]}, {0, 0, 0}, 0));
  const double in[] = {0.5, 0.5, 0.5};
  bool inside = true;
  polyhedron_contains_point_3d(8, 0, 4, unit.coord.data(), unit.order.data(), unit.face_point.data(), in, inside);
  EXPECT_FALSE(inside);
  // Faces of area 0 (every vertex the same point): the reference point is
  // vertex 1 and, with no volume, the centroid too.
  const std::vector<double> same(24, 2.0);
  polyhedron_centroid_3d(same.data(), 4, 6, unit.node.data(), 8, unit.order.data(), c);
  EXPECT_TRUE(vec_rel_near({c[0], c[1], c[2]}, {2, 2, 2}, 0));
  // No vertex: 0.
  c[0] = c[1] = c[2] = 9;
  polyhedron_centroid_3d(unit.coord.data(), 4, 0, unit.node.data(), 0, unit.order.data(), c);
  EXPECT_TRUE(vec_rel_near({c[0], c[1], c[2]}, {0, 0, 0}, 0));

  // A vertex number or a face order out of range ends the run.
  solid bad = unit;
  bad.node[3] = 9;
  expect_fatal([&] { (void)bad.volume(); }, {" ", "POLYHEDRON_VOLUME_3D - Fatal error!", "  Index out of range."});
  expect_fatal([&] { (void)bad.area(); }, {" ", "POLYHEDRON_AREA_3D - Fatal error!", "  Index out of range."});
  bad = unit;
  bad.order[2] = 5;
  expect_fatal([&] { (void)bad.centroid(); }, {" ", "POLYHEDRON_CENTROID_3D - Fatal error!", "  Index out of range."});
  expect_fatal([&] { (void)bad.volume_2(); }, {" ", "POLYHEDRON_VOLUME_3D_2 - Fatal error!", "  Index out of range."});
  expect_fatal([&] { (void)bad.contains(in); },
               {" ", "POLYHEDRON_CONTAINS_POINT_3D - Fatal error!", "  Index out of range."});
  bad = unit;
  bad.face_point[5] = 0;
  expect_fatal([&] { (void)bad.contains(in); },
               {" ", "POLYHEDRON_CONTAINS_POINT_3D - Fatal error!", "  Index out of range."});
}

}  // namespace
}  // namespace orvel::geometry
