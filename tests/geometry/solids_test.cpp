#include "geometry/solids.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/sorting.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::icanary;
using testing::lines;
using testing::rel_near;
using testing::stdout_of;

// A polyhedron description with the arrays it owns.
struct solid {
  int32_t point_num = 0, edge_num = 0, face_num = 0, face_order_max = 0;
  std::vector<double> coord;
  std::vector<int32_t> order, face;
  double point(int32_t k, int32_t i) const { return coord[3 * (k - 1) + (i - 1)]; }
  int32_t vertex(int32_t f, int32_t j) const { return face[face_order_max * (f - 1) + (j - 1)]; }
};

using size_fn = void (*)(int32_t&, int32_t&, int32_t&, int32_t&);
using shape_fn = void (*)(int32_t, int32_t, int32_t, double*, int32_t*, int32_t*);

void icos_without_edges(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                        int32_t* face_order, int32_t* face_point) {
  std::vector<int32_t> edges(60);
  icos_shape(point_num, 30, face_num, face_order_max, point_coord, edges.data(), face_order, face_point);
}

// The solid, its arrays first filled with values no routine writes.
solid make(size_fn size, shape_fn shape) {
  solid s;
  size(s.point_num, s.edge_num, s.face_num, s.face_order_max);
  s.coord.assign(3 * s.point_num, testing::canary);
  s.order.assign(s.face_num, icanary);
  s.face.assign(s.face_order_max * s.face_num, icanary);
  shape(s.point_num, s.face_num, s.face_order_max, s.coord.data(), s.order.data(), s.face.data());
  return s;
}

struct solid_case {
  const char* name;
  size_fn size;
  shape_fn shape;
  int32_t points, edges, faces, order_max;
  double radius;           // of the vertices about the origin; 0: not on a sphere
  double radius_tol;       // how closely the stored decimals hold it
  int32_t corners;         // vertices that count in V - E + F
  int32_t edge_pairs;      // undirected edges of the face lists
  int32_t dual_order_max;  // the most faces meeting at one vertex
};

const solid_case solids[] = {
    {"cube", cube_size_3d, cube_shape_3d, 8, 12, 6, 4, 1.0, 1e-15, 8, 12, 3},
    {"dodecahedron", dodec_size_3d, dodec_shape_3d, 20, 30, 12, 5, 1.0, 1e-14, 20, 30, 3},
    {"icosahedron", icos_size, icos_without_edges, 12, 30, 20, 3, 1.0, 1e-15, 12, 30, 5},
    {"octahedron", octahedron_size_3d, octahedron_shape_3d, 6, 12, 8, 3, 1.0, 0.0, 6, 12, 4},
    {"soccer ball", soccer_size_3d, soccer_shape_3d, 60, 90, 32, 6, 1.021, 5e-6, 60, 90, 3},
    {"tetrahedron", tetrahedron_size_3d, tetrahedron_shape_3d, 4, 6, 4, 3, 1.0, 1e-6, 4, 6, 3},
    {"rhombic tetrahedron", tetrahedron_rhombic_size_3d, tetrahedron_rhombic_shape_3d, 10, 6, 4, 6, 0.0, 0.0, 4, 12, 3},
    {"truncated octahedron", truncated_octahedron_size_3d, truncated_octahedron_shape_3d, 24, 36, 14, 6, std::sqrt(2.5),
     1e-7, 24, 36, 3},
};

// Each directed edge (a, b) of the face lists and how often it occurs.
std::map<std::pair<int32_t, int32_t>, int> directed_edges(const solid& s) {
  std::map<std::pair<int32_t, int32_t>, int> e;
  for (int32_t f = 1; f <= s.face_num; ++f) {
    const int32_t n = s.order[f - 1];
    for (int32_t j = 1; j <= n; ++j) ++e[{s.vertex(f, j), s.vertex(f, j % n + 1)}];
  }
  return e;
}

// Every directed edge once and its reverse once: the faces close up and are
// consistently oriented.
::testing::AssertionResult closed_and_oriented(const solid& s) {
  const auto e = directed_edges(s);
  for (const auto& [ab, count] : e) {
    if (count != 1) return ::testing::AssertionFailure() << "edge " << ab.first << "-" << ab.second << " twice";
    if (!e.count({ab.second, ab.first}))
      return ::testing::AssertionFailure() << "edge " << ab.first << "-" << ab.second << " has no reverse";
  }
  return ::testing::AssertionSuccess();
}

// Newell's normal of face f points away from the point c.
::testing::AssertionResult faces_outward(const solid& s, const double c[3]) {
  for (int32_t f = 1; f <= s.face_num; ++f) {
    const int32_t n = s.order[f - 1];
    double nrm[3] = {0, 0, 0}, mid[3] = {0, 0, 0};
    for (int32_t j = 1; j <= n; ++j) {
      const int32_t p = s.vertex(f, j), q = s.vertex(f, j % n + 1);
      for (int i = 0; i < 3; ++i) {
        const int i1 = (i + 1) % 3 + 1, i2 = (i + 2) % 3 + 1;
        nrm[i] += (s.point(p, i1) - s.point(q, i1)) * (s.point(p, i2) + s.point(q, i2));
        mid[i] += s.point(p, i + 1) / n;
      }
    }
    double dot = 0.0;
    for (int i = 0; i < 3; ++i) dot += nrm[i] * (mid[i] - c[i]);
    if (!(dot > 0.0)) return ::testing::AssertionFailure() << "face " << f << " faces inward";
  }
  return ::testing::AssertionSuccess();
}

TEST(GeometrySolids, StoredSolidsAreClosed) {
  for (const auto& c : solids) {
    SCOPED_TRACE(c.name);
    const solid s = make(c.size, c.shape);
    EXPECT_EQ(s.point_num, c.points);
    EXPECT_EQ(s.edge_num, c.edges);
    EXPECT_EQ(s.face_num, c.faces);
    EXPECT_EQ(s.face_order_max, c.order_max);
    EXPECT_EQ(std::count(s.coord.begin(), s.coord.end(), testing::canary), 0);
    EXPECT_EQ(std::count(s.face.begin(), s.face.end(), icanary), 0);
    // Vertices in range up to each face's order, -1 past it.
    for (int32_t f = 1; f <= s.face_num; ++f) {
      ASSERT_GE(s.order[f - 1], 3);
      ASSERT_LE(s.order[f - 1], s.face_order_max);
      for (int32_t j = 1; j <= s.face_order_max; ++j) {
        if (j <= s.order[f - 1]) {
          EXPECT_GE(s.vertex(f, j), 1);
          EXPECT_LE(s.vertex(f, j), s.point_num);
        } else {
          EXPECT_EQ(s.vertex(f, j), -1);
        }
      }
    }
    EXPECT_TRUE(closed_and_oriented(s));
    EXPECT_EQ(static_cast<int32_t>(directed_edges(s).size()), 2 * c.edge_pairs);
    EXPECT_EQ(c.corners - c.edges + c.faces, 2);
    // Faces counterclockwise seen from outside (from the vertices' centroid).
    double centre[3] = {0, 0, 0};
    for (int32_t k = 1; k <= s.point_num; ++k)
      for (int i = 0; i < 3; ++i) centre[i] += s.point(k, i + 1) / s.point_num;
    EXPECT_TRUE(faces_outward(s, centre));
    if (c.radius > 0.0) {
      for (int32_t k = 1; k <= s.point_num; ++k) {
        const double r =
            std::sqrt(s.point(k, 1) * s.point(k, 1) + s.point(k, 2) * s.point(k, 2) + s.point(k, 3) * s.point(k, 3));
        EXPECT_NEAR(r, c.radius, c.radius_tol + 1e-15) << "vertex " << k;
      }
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(centre[i], 0.0, 1e-6);
    }
  }
}

// Edge lengths of the semi-regular solids, faces of the soccer ball and
// its symmetry, the icosahedron's edge list, the rhombic tetrahedron's
// midpoints.
TEST(GeometrySolids, ShapesInDetail) {
  const auto length = [](const solid& s, int32_t p, int32_t q) {
    double d = 0;
    for (int i = 1; i <= 3; ++i) d += (s.point(p, i) - s.point(q, i)) * (s.point(p, i) - s.point(q, i));
    return std::sqrt(d);
  };
  const solid ball = make(soccer_size_3d, soccer_shape_3d);
  const auto ball_edges = directed_edges(ball);
  const double edge0 = length(ball, ball_edges.begin()->first.first, ball_edges.begin()->first.second);
  for (const auto& [ab, count] : ball_edges) EXPECT_TRUE(rel_near(length(ball, ab.first, ab.second), edge0, 1e-5));
  EXPECT_EQ(std::count(ball.order.begin(), ball.order.end(), 5), 12);
  EXPECT_EQ(std::count(ball.order.begin(), ball.order.end(), 6), 20);
  for (int32_t k = 1; k <= 60; ++k)
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(ball.point(61 - k, i), -ball.point(k, i));
  EXPECT_EQ(ball.point(30, 3), 1.021);
  EXPECT_EQ(ball.point(1, 1), -1.00714);
  for (int32_t k = 2; k <= 60; ++k) EXPECT_LE(ball.point(k - 1, 1), ball.point(k, 1));

  const solid trunc = make(truncated_octahedron_size_3d, truncated_octahedron_shape_3d);
  for (const auto& [ab, count] : directed_edges(trunc)) EXPECT_NEAR(length(trunc, ab.first, ab.second), 1.0, 1e-7);
  EXPECT_EQ(trunc.point(3, 3), -0.70710677);
  EXPECT_EQ(trunc.point(8, 3), -1.4142135);
  EXPECT_EQ((std::vector<int32_t>(trunc.order.begin(), trunc.order.end())),
            (std::vector<int32_t>{4, 4, 4, 4, 4, 4, 6, 6, 6, 6, 6, 6, 6, 6}));

  const solid tet = make(tetrahedron_size_3d, tetrahedron_shape_3d);
  EXPECT_EQ(tet.point(1, 1), 0.942809);
  EXPECT_EQ(tet.point(2, 2), 0.816497);

  // The icosahedron's edges: those of its faces, lower vertex first, in
  // increasing order.
  int32_t pn, en, fn, om;
  icos_size(pn, en, fn, om);
  std::vector<double> coord(3 * pn);
  std::vector<int32_t> edges(2 * en, icanary), order(fn), face(om * fn);
  icos_shape(pn, en, fn, om, coord.data(), edges.data(), order.data(), face.data());
  std::set<std::pair<int32_t, int32_t>> from_faces;
  for (int32_t f = 0; f < fn; ++f)
    for (int32_t j = 0; j < 3; ++j) {
      const int32_t p = face[3 * f + j], q = face[3 * f + (j + 1) % 3];
      from_faces.insert({std::min(p, q), std::max(p, q)});
    }
  std::vector<std::pair<int32_t, int32_t>> listed;
  for (int32_t e = 0; e < en; ++e) listed.emplace_back(edges[2 * e], edges[2 * e + 1]);
  EXPECT_EQ(listed, (std::vector<std::pair<int32_t, int32_t>>(from_faces.begin(), from_faces.end())));
  EXPECT_TRUE(rel_near(coord[0], 0.85065080835204, 1e-13));
  EXPECT_TRUE(rel_near(coord[1], 0.5257311121191336, 1e-15));

  // Points 5 to 10 of the rhombic tetrahedron are its edge midpoints; the
  // midpoint of edge 2-3 is the origin.
  const solid rh = make(tetrahedron_rhombic_size_3d, tetrahedron_rhombic_shape_3d);
  const int32_t ends[6][2] = {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}};
  for (int32_t m = 0; m < 6; ++m)
    for (int i = 1; i <= 3; ++i)
      EXPECT_NEAR(rh.point(5 + m, i), 0.5 * (rh.point(ends[m][0], i) + rh.point(ends[m][1], i)), 1e-16);
}

// The dual of s, built through dual_size_3d and dual_shape_3d; `printed`
// gets whatever they wrote.
solid dual_of(const solid& s, std::string* printed = nullptr) {
  solid d;
  dual_size_3d(s.point_num, s.edge_num, s.face_num, s.face_order_max, s.coord.data(), s.order.data(), s.face.data(),
               d.point_num, d.edge_num, d.face_num, d.face_order_max);
  d.coord.assign(3 * d.point_num, testing::canary);
  d.order.assign(d.face_num, icanary);
  d.face.assign(static_cast<std::size_t>(d.face_order_max) * d.face_num, icanary);
  const std::string out = stdout_of([&] {
    dual_shape_3d(s.point_num, s.face_num, s.face_order_max, s.coord.data(), s.order.data(), s.face.data(), d.point_num,
                  d.face_num, d.face_order_max, d.coord.data(), d.order.data(), d.face.data());
  });
  if (printed) *printed = out;
  return d;
}

// Face f of a, as a cyclic rotation of face g of b.
bool cyclic_rotation(const solid& a, int32_t f, const solid& b, int32_t g) {
  const int32_t n = a.order[f - 1];
  if (b.order[g - 1] != n) return false;
  for (int32_t shift = 0; shift < n; ++shift) {
    bool same = true;
    for (int32_t j = 0; j < n && same; ++j) same = a.vertex(f, j + 1) == b.vertex(g, (j + shift) % n + 1);
    if (same) return true;
  }
  return false;
}

TEST(GeometrySolids, DualsOfEveryStoredSolid) {
  for (const auto& c : solids) {
    SCOPED_TRACE(c.name);
    const solid s = make(c.size, c.shape);
    std::string printed;
    const solid d = dual_of(s, &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(d.point_num, c.faces);
    EXPECT_EQ(d.edge_num, c.edges);
    EXPECT_EQ(d.face_num, c.points);
    EXPECT_EQ(d.face_order_max, c.dual_order_max);
    // Each vertex-face incidence appears once on each side.
    int32_t incidences = 0, dual_incidences = 0;
    for (int32_t o : s.order) incidences += o;
    for (int32_t o : d.order) dual_incidences += o;
    EXPECT_EQ(dual_incidences, incidences);
    for (int32_t f = 1; f <= d.point_num; ++f) {
      const double r =
          std::sqrt(d.point(f, 1) * d.point(f, 1) + d.point(f, 2) * d.point(f, 2) + d.point(f, 3) * d.point(f, 3));
      EXPECT_NEAR(r, 1.0, 1e-15);
    }
    if (std::string(c.name) == "rhombic tetrahedron") continue;
    EXPECT_TRUE(closed_and_oriented(d));
    const double origin[3] = {0, 0, 0};
    EXPECT_TRUE(faces_outward(d, origin));
    const solid dd = dual_of(d);
    ASSERT_EQ(dd.face_num, s.face_num);
    for (int32_t f = 1; f <= s.face_num; ++f) EXPECT_TRUE(cyclic_rotation(dd, f, s, f)) << "face " << f;
  }
}

TEST(GeometrySolids, DualsByHand) {
  const solid cube = make(cube_size_3d, cube_shape_3d);
  const solid octa = dual_of(cube);
  const std::vector<double> want = {0, 0, -1, 0, -1, 0, 1, 0, 0, 0, 1, 0, -1, 0, 0, 0, 0, 1};
  ASSERT_EQ(octa.coord.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(octa.coord[k], want[k], 1e-16) << k;
  EXPECT_EQ((std::vector<int32_t>{octa.vertex(1, 1), octa.vertex(1, 2), octa.vertex(1, 3)}),
            (std::vector<int32_t>{1, 2, 5}));
  const solid back = dual_of(make(octahedron_size_3d, octahedron_shape_3d));
  EXPECT_EQ((std::vector<int32_t>{back.vertex(1, 1), back.vertex(1, 2), back.vertex(1, 3), back.vertex(1, 4)}),
            (std::vector<int32_t>{1, 4, 3, 2}));

  // The column search that wraps after FACE_ORDER_MAX entries cannot see
  // the edge closing a padded pentagon of the soccer ball; the dual walk
  // closes each face at its own order and builds it all the same.
  const solid ball = make(soccer_size_3d, soccer_shape_3d);
  int32_t row = 0, col = 0;
  i4col_find_pair_wrap(ball.face_order_max, ball.face_num, ball.face.data(), 1, 4, row, col);
  EXPECT_EQ(std::make_pair(row, col), std::make_pair(-1, -1));
  const solid ball_dual = dual_of(ball);
  EXPECT_EQ(ball_dual.order[0], 3);

  // No vertex: the largest count stays the most negative integer.
  int32_t p2 = 0, e2 = 0, f2 = 0, o2 = 0;
  dual_size_3d(0, 0, 0, 3, nullptr, nullptr, nullptr, p2, e2, f2, o2);
  EXPECT_EQ(o2, -2147483647 - 1);
}

// Two squares back to back: each face's vertices sum to zero, so the dual
// vertices are not finite; the dual faces are still found.
TEST(GeometrySolids, DualOfFacesSummingToZero) {
  solid pillow;
  pillow.point_num = 4;
  pillow.edge_num = 4;
  pillow.face_num = 2;
  pillow.face_order_max = 4;
  pillow.coord = {1, 0, 0, 0, 1, 0, -1, 0, 0, 0, -1, 0};
  pillow.order = {4, 4};
  pillow.face = {1, 2, 3, 4, 4, 3, 2, 1};
  const solid d = dual_of(pillow);
  EXPECT_EQ(d.face_order_max, 2);
  for (double x : d.coord) EXPECT_FALSE(std::isfinite(x));
  for (int32_t i = 1; i <= 4; ++i) EXPECT_EQ(d.order[i - 1], 2);
  EXPECT_EQ((std::vector<int32_t>{d.vertex(1, 1), d.vertex(1, 2)}), (std::vector<int32_t>{1, 2}));
}

TEST(GeometrySolids, DualFailures) {
  const solid cube = make(cube_size_3d, cube_shape_3d);
  std::vector<double> coord2(3 * 6);
  std::vector<int32_t> order2(9, icanary), face2(9 * 3);
  // A vertex that no face names.
  expect_fatal(
      [&] {
        dual_shape_3d(8, 6, 4, cube.coord.data(), cube.order.data(), cube.face.data(), 6, 9, 3, coord2.data(),
                      order2.data(), face2.data());
      },
      {" ", "DUAL_SHAPE_3D - Fatal error!", "  Could not find an edge using node        9"});
  // More faces around a vertex than the dual's faces can hold.
  expect_fatal(
      [&] {
        dual_shape_3d(8, 6, 4, cube.coord.data(), cube.order.data(), cube.face.data(), 6, 8, 2, coord2.data(),
                      order2.data(), face2.data());
      },
      {" ", "DUAL_SHAPE_3D - Fatal error!", "  Too many faces around node        1"});
  // An open surface: the edge from vertex 1 to 4 has no face beyond it.
  const double square[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  const int32_t one_order[1] = {4}, one_face[4] = {1, 2, 3, 4};
  expect_fatal(
      [&] { dual_shape_3d(4, 1, 4, square, one_order, one_face, 1, 4, 4, coord2.data(), order2.data(), face2.data()); },
      {" ", "DUAL_SHAPE_3D - Fatal error!", "  No edge from node        4", "  to node        1"});
  EXPECT_EQ(order2[0], 1);  // the count reached
  // A vertex number outside the solid.
  const int32_t bad_face[4] = {1, 2, 3, 5};
  int32_t p2, e2, f2, o2;
  expect_fatal([&] { dual_size_3d(4, 4, 1, 4, square, one_order, bad_face, p2, e2, f2, o2); },
               {" ", "DUAL_SIZE_3D - Fatal error!", "  Index out of range."});
  expect_fatal(
      [&] { dual_shape_3d(4, 1, 4, square, one_order, bad_face, 1, 4, 4, coord2.data(), order2.data(), face2.data()); },
      {" ", "DUAL_SHAPE_3D - Fatal error!", "  Index out of range."});
}

TEST(GeometrySolids, PrintedDescription) {
  const solid cube = make(cube_size_3d, cube_shape_3d);
  EXPECT_EQ(stdout_of([&] {
              shape_print_3d(cube.point_num, cube.face_num, cube.face_order_max, cube.coord.data(), cube.order.data(),
                             cube.face.data());
            }),
            lines({" ",
                   "SHAPE_PRINT_3D",
                   "  Information about a polytope.",
                   " ",
                   "  The number of vertices is        8",
                   " ",
                   "  Vertices:",
                   " ",
                   "     Index          X_part               Y_part               Z_part",
                   " ",
                   "         1       -0.57735027     -0.57735027     -0.57735027",
                   "         2        0.57735027     -0.57735027     -0.57735027",
                   "         3        0.57735027      0.57735027     -0.57735027",
                   "         4       -0.57735027      0.57735027     -0.57735027",
                   "         5       -0.57735027     -0.57735027      0.57735027",
                   "         6        0.57735027     -0.57735027      0.57735027",
                   "         7        0.57735027      0.57735027      0.57735027",
                   "         8       -0.57735027      0.57735027      0.57735027",
                   " ",
                   "  The number of faces is        6",
                   "  The maximum order of any face is        4",
                   " ",
                   "     Index     Order         Indices of Nodes in Face",
                   "                             1       2       3       4",
                   " ",
                   "         1         4         1       4       3       2",
                   "         2         4         1       2       6       5",
                   "         3         4         2       3       7       6",
                   "         4         4         3       4       8       7",
                   "         5         4         1       5       8       4",
                   "         6         4         5       6       7       8"}));

  // Ten numbers to a line; entries past a face's order are not printed.
  const double point[3] = {0, 0, 0};
  const int32_t order[2] = {12, 2};
  std::vector<int32_t> face(24, -1);
  for (int32_t j = 0; j < 12; ++j) face[j] = j + 1;
  face[12] = 7;
  face[13] = 8;
  const std::string printed = stdout_of([&] { shape_print_3d(1, 2, 12, point, order, face.data()); });
  const std::string tail = printed.substr(printed.find("     Index     Order"));
  EXPECT_EQ(tail, lines({"     Index     Order         Indices of Nodes in Face",
                         "                             1       2       3       4       5       6       7       8"
                         "       9      10",
                         "                            11      12", " ",
                         "         1        12         1       2       3       4       5       6       7       8"
                         "       9      10",
                         "                            11      12", "         2         2         7       8"}));
}

}  // namespace
}  // namespace orvel::geometry
