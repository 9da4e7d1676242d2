#include "geometry/solids.hpp"

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "common/format.hpp"
#include "geometry/reals.hpp"
#include "geometry/sorting.hpp"

namespace orvel::geometry {
namespace {

// The four counts of a solid.
void set_counts(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max, int32_t p, int32_t e,
                int32_t f, int32_t o) {
  point_num = p;
  edge_num = e;
  face_num = f;
  face_order_max = o;
}

// Copies a stored solid into the caller's arrays, dimensioned by the
// caller's counts.  A face's order is the number of its entries that are
// not the padding -1.
template <std::size_t P, std::size_t F, std::size_t O>
void copy_solid(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord, int32_t* face_order,
                int32_t* face_point, const double (&coord)[P][3], const int32_t (&face)[F][O]) {
  const mat_ref POINT_COORD(point_coord, 3, point_num);
  const vec_ref FACE_ORDER(face_order, face_num);
  const mat_ref FACE_POINT(face_point, face_order_max, face_num);
  for (std::size_t k = 0; k < P; ++k)
    for (int32_t i = 1; i <= 3; ++i) POINT_COORD(i, static_cast<int32_t>(k + 1)) = coord[k][i - 1];
  for (std::size_t f = 0; f < F; ++f) {
    int32_t order = 0;
    for (std::size_t j = 0; j < O; ++j) {
      FACE_POINT(static_cast<int32_t>(j + 1), static_cast<int32_t>(f + 1)) = face[f][j];
      if (face[f][j] != -1) ++order;
    }
    FACE_ORDER(static_cast<int32_t>(f + 1)) = order;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Cube

void cube_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 8, 12, 6, 4);
}

void cube_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                   int32_t* face_order, int32_t* face_point) {
  constexpr double a = 0.5773502691896257;
  static constexpr double coord[8][3] = {{-a, -a, -a}, {a, -a, -a}, {a, a, -a}, {-a, a, -a},
                                         {-a, -a, a},  {a, -a, a},  {a, a, a},  {-a, a, a}};
  static constexpr int32_t face[6][4] = {{1, 4, 3, 2}, {1, 2, 6, 5}, {2, 3, 7, 6},
                                         {3, 4, 8, 7}, {1, 5, 8, 4}, {5, 6, 7, 8}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Dodecahedron

void dodec_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 20, 30, 12, 5);
}

void dodec_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                    int32_t* face_order, int32_t* face_point) {
  constexpr double a = 0.5773502691896258;
  constexpr double b = 0.35682208977309;
  constexpr double c = 0.9341723589627158;
  static constexpr double coord[20][3] = {{a, a, a},   {a, a, -a},  {a, -a, a},   {a, -a, -a}, {-a, a, a},
                                          {-a, a, -a}, {-a, -a, a}, {-a, -a, -a}, {b, c, 0},   {-b, c, 0},
                                          {b, -c, 0},  {-b, -c, 0}, {c, 0, b},    {c, 0, -b},  {-c, 0, b},
                                          {-c, 0, -b}, {0, b, c},   {0, -b, c},   {0, b, -c},  {0, -b, -c}};
  static constexpr int32_t face[12][5] = {{2, 9, 1, 13, 14},  {5, 10, 6, 16, 15}, {3, 11, 4, 14, 13},
                                          {8, 12, 7, 15, 16}, {3, 13, 1, 17, 18}, {2, 14, 4, 20, 19},
                                          {5, 15, 7, 18, 17}, {8, 16, 6, 19, 20}, {5, 17, 1, 9, 10},
                                          {3, 18, 7, 12, 11}, {2, 19, 6, 10, 9},  {8, 20, 4, 11, 12}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Icosahedron

void icos_size(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 12, 30, 20, 3);
}

void icos_shape(int32_t point_num, int32_t edge_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                int32_t* edge_point, int32_t* face_order, int32_t* face_point) {
  const double a = 1.0 / std::sqrt(3.618033988749895);
  const double b = 1.618033988749895 * a;
  const double coord[12][3] = {{b, a, 0},  {b, -a, 0},  {a, 0, b},  {a, 0, -b},  {0, b, a},  {0, b, -a},
                               {0, -b, a}, {0, -b, -a}, {-a, 0, b}, {-a, 0, -b}, {-b, a, 0}, {-b, -a, 0}};
  static constexpr int32_t edge[30][2] = {{1, 2},  {1, 3},  {1, 4},  {1, 5},   {1, 6},   {2, 3},  {2, 4},  {2, 7},
                                          {2, 8},  {3, 5},  {3, 7},  {3, 9},   {4, 6},   {4, 8},  {4, 10}, {5, 6},
                                          {5, 9},  {5, 11}, {6, 10}, {6, 11},  {7, 8},   {7, 9},  {7, 12}, {8, 10},
                                          {8, 12}, {9, 11}, {9, 12}, {10, 11}, {10, 12}, {11, 12}};
  static constexpr int32_t face[20][3] = {{1, 2, 4},  {1, 3, 2},  {1, 4, 6},   {1, 5, 3},   {1, 6, 5},
                                          {2, 3, 7},  {2, 7, 8},  {2, 8, 4},   {3, 5, 9},   {3, 9, 7},
                                          {4, 8, 10}, {4, 10, 6}, {5, 6, 11},  {5, 11, 9},  {6, 10, 11},
                                          {7, 9, 12}, {7, 12, 8}, {8, 12, 10}, {9, 11, 12}, {10, 12, 11}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
  const mat_ref EDGE_POINT(edge_point, 2, edge_num);
  for (int32_t e = 1; e <= 30; ++e) {
    EDGE_POINT(1, e) = edge[e - 1][0];
    EDGE_POINT(2, e) = edge[e - 1][1];
  }
}

// ---------------------------------------------------------------------------
// Octahedron

void octahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 6, 12, 8, 3);
}

void octahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                         int32_t* face_order, int32_t* face_point) {
  static constexpr double coord[6][3] = {{0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
  static constexpr int32_t face[8][3] = {{1, 3, 2}, {1, 4, 3}, {1, 5, 4}, {1, 2, 5},
                                         {2, 3, 6}, {3, 4, 6}, {4, 5, 6}, {5, 2, 6}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Soccer ball (truncated icosahedron)

void soccer_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 60, 90, 32, 6);
}

void soccer_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                     int32_t* face_order, int32_t* face_point) {
  // Points 1 to 30 in increasing x; point 61 - k is the negative of point k.
  static constexpr double half[30][3] = {
      {-1.00714, 0.153552, 0.067258},    {-0.960284, 0.0848813, -0.33629},  {-0.95172, -0.153552, 0.33629},
      {-0.860021, 0.529326, 0.150394},   {-0.858, -0.290893, -0.470806},    {-0.849436, -0.529326, 0.201774},
      {-0.802576, -0.597996, -0.201774}, {-0.7842, 0.418215, -0.502561},    {-0.749174, -0.0848813, 0.688458},
      {-0.722234, 0.692896, -0.201774},  {-0.657475, 0.597996, 0.502561},   {-0.602051, 0.290893, 0.771593},
      {-0.583675, -0.692896, 0.470806},  {-0.579632, -0.333333, -0.771593}, {-0.52171, -0.418215, 0.771593},
      {-0.505832, 0.375774, -0.803348},  {-0.489955, -0.830237, -0.33629},  {-0.403548, 0, -0.937864},
      {-0.381901, 0.925138, -0.201774},  {-0.352168, -0.666667, -0.688458}, {-0.317142, 0.830237, 0.502561},
      {-0.271054, -0.925138, 0.33629},   {-0.227464, 0.333333, 0.937864},   {-0.224193, -0.993808, -0.067258},
      {-0.179355, 0.993808, 0.150394},   {-0.165499, 0.608015, -0.803348},  {-0.147123, -0.375774, 0.937864},
      {-0.103533, 0.882697, -0.502561},  {-0.0513806, 0.666667, 0.771593},  {0, 0, 1.021}};
  double coord[60][3];
  for (int k = 0; k < 30; ++k) {
    for (int i = 0; i < 3; ++i) {
      coord[k][i] = half[k][i];
      coord[59 - k][i] = -half[k][i];
    }
  }
  static constexpr int32_t face[32][6] = {
      {30, 43, 47, 41, 29, 23}, {30, 23, 12, 9, 15, 27},  {30, 27, 35, 45, 43, -1}, {43, 45, 53, 59, 56, 47},
      {23, 29, 21, 11, 12, -1}, {27, 15, 13, 22, 33, 35}, {47, 56, 54, 44, 41, -1}, {45, 35, 33, 42, 51, 53},
      {12, 11, 4, 1, 3, 9},     {29, 41, 44, 37, 25, 21}, {15, 9, 3, 6, 13, -1},    {56, 59, 60, 58, 55, 54},
      {53, 51, 57, 60, 59, -1}, {11, 21, 25, 19, 10, 4},  {33, 22, 24, 36, 42, -1}, {13, 6, 7, 17, 24, 22},
      {54, 55, 48, 39, 37, 44}, {51, 42, 36, 40, 50, 57}, {4, 10, 8, 2, 1, -1},     {3, 1, 2, 5, 7, 6},
      {25, 37, 39, 28, 19, -1}, {55, 58, 52, 46, 48, -1}, {60, 57, 50, 49, 52, 58}, {10, 19, 28, 26, 16, 8},
      {36, 24, 17, 20, 32, 40}, {7, 5, 14, 20, 17, -1},   {48, 46, 34, 26, 28, 39}, {50, 40, 32, 38, 49, -1},
      {8, 16, 18, 14, 5, 2},    {46, 52, 49, 38, 31, 34}, {16, 26, 34, 31, 18, -1}, {32, 20, 14, 18, 31, 38}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Regular tetrahedron

void tetrahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 4, 6, 4, 3);
}

void tetrahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                          int32_t* face_order, int32_t* face_point) {
  static constexpr double coord[4][3] = {
      {0.942809, 0.0, -0.333333}, {-0.471405, 0.816497, -0.333333}, {-0.471405, -0.816497, -0.333333}, {0.0, 0.0, 1.0}};
  static constexpr int32_t face[4][3] = {{1, 3, 2}, {1, 2, 4}, {1, 4, 3}, {2, 3, 4}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Rhombic tetrahedron

void tetrahedron_rhombic_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 10, 6, 4, 6);
}

void tetrahedron_rhombic_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                                  int32_t* face_order, int32_t* face_point) {
  constexpr double a = 0.8164965809277261;
  constexpr double b = 0.5773502691896258;
  constexpr double c = 0.4082482904638631;
  constexpr double d = 0.28867513459481287;
  // Vertices 1 to 4, then the midpoints of the edges 1-2, 1-3, 1-4, 2-3,
  // 2-4 and 3-4.
  static constexpr double coord[10][3] = {{-a, 0, 0}, {0, -b, 0}, {0, b, 0}, {0, 0, a},  {-c, -d, 0},
                                          {-c, d, 0}, {-c, 0, c}, {0, 0, 0}, {0, -d, c}, {0, d, c}};
  static constexpr int32_t face[4][6] = {
      {1, 5, 2, 9, 4, 7}, {2, 8, 3, 10, 4, 9}, {3, 6, 1, 7, 4, 10}, {1, 6, 3, 8, 2, 5}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Truncated octahedron

void truncated_octahedron_size_3d(int32_t& point_num, int32_t& edge_num, int32_t& face_num, int32_t& face_order_max) {
  set_counts(point_num, edge_num, face_num, face_order_max, 24, 36, 14, 6);
}

void truncated_octahedron_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, double* point_coord,
                                   int32_t* face_order, int32_t* face_point) {
  constexpr double c = 0.70710677;
  constexpr double d = 1.4142135;
  // In increasing order of x, then y, then z.
  static constexpr double coord[24][3] = {
      {-1.5, -0.5, 0}, {-1.5, 0.5, 0},   {-1, -1, -c},    {-1, -1, c},     {-1, 1, -c},    {-1, 1, c},
      {-0.5, -1.5, 0}, {-0.5, -0.5, -d}, {-0.5, -0.5, d}, {-0.5, 0.5, -d}, {-0.5, 0.5, d}, {-0.5, 1.5, 0},
      {0.5, -1.5, 0},  {0.5, -0.5, -d},  {0.5, -0.5, d},  {0.5, 0.5, -d},  {0.5, 0.5, d},  {0.5, 1.5, 0},
      {1, -1, -c},     {1, -1, c},       {1, 1, -c},      {1, 1, c},       {1.5, -0.5, 0}, {1.5, 0.5, 0}};
  static constexpr int32_t face[14][6] = {{17, 11, 9, 15, -1, -1}, {14, 8, 10, 16, -1, -1},  {22, 24, 21, 18, -1, -1},
                                          {12, 5, 2, 6, -1, -1},   {13, 19, 23, 20, -1, -1}, {4, 1, 3, 7, -1, -1},
                                          {19, 13, 7, 3, 8, 14},   {15, 9, 4, 7, 13, 20},    {16, 10, 5, 12, 18, 21},
                                          {22, 18, 12, 6, 11, 17}, {20, 23, 24, 22, 17, 15}, {14, 16, 21, 24, 23, 19},
                                          {9, 11, 6, 2, 1, 4},     {3, 1, 2, 5, 10, 8}};
  copy_solid(point_num, face_num, face_order_max, point_coord, face_order, face_point, coord, face);
}

// ---------------------------------------------------------------------------
// Duals

void dual_size_3d(int32_t point_num, int32_t edge_num, int32_t face_num, int32_t face_order_max,
                  const double* /*point_coord*/, const int32_t* face_order, const int32_t* face_point,
                  int32_t& point_num2, int32_t& edge_num2, int32_t& face_num2, int32_t& face_order_max2) {
  const vec_ref FACE_ORDER(face_order, face_num);
  const mat_ref FACE_POINT(face_point, face_order_max, face_num);
  // Faces met at each vertex.
  std::vector<int32_t> meets(point_num > 0 ? static_cast<std::size_t>(point_num) : 0, 0);
  for (int32_t f = 1; f <= face_num; ++f) {
    check_index("DUAL_SIZE_3D", FACE_ORDER(f), 0, face_order_max);
    for (int32_t j = 1; j <= FACE_ORDER(f); ++j) {
      const int32_t v = FACE_POINT(j, f);
      check_index("DUAL_SIZE_3D", v, 1, point_num);
      ++meets[static_cast<std::size_t>(v - 1)];
    }
  }
  face_order_max2 = std::numeric_limits<int32_t>::min();
  for (const int32_t m : meets)
    if (m > face_order_max2) face_order_max2 = m;
  point_num2 = face_num;
  edge_num2 = edge_num;
  face_num2 = point_num;
}

namespace {

// The first face holding vertex ITEM1 directly followed by ITEM2, each face
// closed at its own order (the last vertex followed by the first); ROW is
// ITEM1's place.  -1, -1 when none.
void find_directed_edge(int32_t face_num, const vec_ref<const int32_t>& FACE_ORDER,
                        const mat_ref<const int32_t>& FACE_POINT, int32_t item1, int32_t item2, int32_t& row,
                        int32_t& col) {
  for (int32_t f = 1; f <= face_num; ++f) {
    const int32_t order = FACE_ORDER(f);
    for (int32_t r = 1; r <= order; ++r) {
      if (FACE_POINT(r, f) == item1 && FACE_POINT(r == order ? 1 : r + 1, f) == item2) {
        row = r;
        col = f;
        return;
      }
    }
  }
  row = -1;
  col = -1;
}

}  // namespace

void dual_shape_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, const double* point_coord,
                   const int32_t* face_order, const int32_t* face_point, int32_t /*point_num2*/, int32_t face_num2,
                   int32_t face_order_max2, double* point_coord2, int32_t* face_order2, int32_t* face_point2) {
  constexpr std::string_view title = "DUAL_SHAPE_3D";
  const mat_ref POINT_COORD(point_coord, 3, point_num);
  const vec_ref FACE_ORDER(face_order, face_num);
  const mat_ref FACE_POINT(face_point, face_order_max, face_num);
  const mat_ref POINT_COORD2(point_coord2, 3, face_num);
  const vec_ref FACE_ORDER2(face_order2, face_num2);
  const mat_ref FACE_POINT2(face_point2, face_order_max2, face_num2);

  // Vertices: the directions of the face centroids.
  for (int32_t f = 1; f <= face_num; ++f) {
    check_index(title, FACE_ORDER(f), 0, face_order_max);
    double s[3] = {0.0, 0.0, 0.0};
    for (int32_t j = 1; j <= FACE_ORDER(f); ++j) {
      const int32_t v = FACE_POINT(j, f);
      check_index(title, v, 1, point_num);
      for (int32_t i = 1; i <= 3; ++i) s[i - 1] += POINT_COORD(i, v);
    }
    const double norm = r8vec_norm(3, s);
    for (int32_t i = 1; i <= 3; ++i) POINT_COORD2(i, f) = s[i - 1] / norm;
  }

  // Faces: the faces around each vertex, turning across its edges.
  for (int32_t i = 1; i <= face_num2; ++i) {
    FACE_ORDER2(i) = 0;
    int32_t row = 0, j = 0;
    i4col_find_item(face_order_max, face_num, face_point, i, row, j);
    if (row < 1) fatal(title, {"  Could not find an edge using node " + fmt_i(i, 8)});
    const int32_t inode2 = row + 1 > FACE_ORDER(j) ? FACE_POINT(1, j) : FACE_POINT(row + 1, j);
    for (;;) {
      if (row == 1) {
        row = FACE_ORDER(j);
        check_index(title, row, 1, face_order_max);
      } else {
        --row;
      }
      if (FACE_ORDER2(i) >= face_order_max2) fatal(title, {"  Too many faces around node " + fmt_i(i, 8)});
      ++FACE_ORDER2(i);
      FACE_POINT2(FACE_ORDER2(i), i) = j;
      const int32_t jj = FACE_POINT(row, j);
      if (jj == inode2) break;
      find_directed_edge(face_num, FACE_ORDER, FACE_POINT, i, jj, row, j);
      if (row < 1) fatal(title, {"  No edge from node " + fmt_i(jj, 8), "  to node " + fmt_i(i, 8)});
    }
  }
}

// ---------------------------------------------------------------------------
// Printed description

void shape_print_3d(int32_t point_num, int32_t face_num, int32_t face_order_max, const double* point_coord,
                    const int32_t* face_order, const int32_t* face_point) {
  const mat_ref POINT_COORD(point_coord, 3, point_num);
  const vec_ref FACE_ORDER(face_order, face_num);
  const mat_ref FACE_POINT(face_point, face_order_max, face_num);
  const std::string indent(22, ' ');

  print_lines({" ", "SHAPE_PRINT_3D", "  Information about a polytope.", " ",
               "  The number of vertices is " + fmt_i(point_num, 8), " ", "  Vertices:", " ",
               "     Index          X_part               Y_part               Z_part", " "});
  for (int32_t k = 1; k <= point_num; ++k) {
    std::string line = "  " + fmt_i(k, 8) + "  ";
    for (int32_t i = 1; i <= 3; ++i) line += fmt_f(POINT_COORD(i, k), 16, 8);
    print_lines({line});
  }
  print_lines({" ", "  The number of faces is " + fmt_i(face_num, 8),
               "  The maximum order of any face is " + fmt_i(face_order_max, 8), " ",
               "     Index     Order         Indices of Nodes in Face"});

  // Numbers as I8, ten to a line, after the line's own start.
  const auto put_numbered = [&](std::string line, int32_t count, auto number) {
    for (int32_t j = 1; j <= count; ++j) {
      line += fmt_i(number(j), 8);
      if (j % 10 == 0 && j < count) {
        print_lines({line});
        line = indent;
      }
    }
    print_lines({line});
  };
  put_numbered(indent, face_order_max, [](int32_t j) { return j; });
  print_lines({" "});
  for (int32_t f = 1; f <= face_num; ++f) {
    check_index("SHAPE_PRINT_3D", FACE_ORDER(f), 0, face_order_max);
    put_numbered("  " + fmt_i(f, 8) + "  " + fmt_i(FACE_ORDER(f), 8) + "  ", FACE_ORDER(f),
                 [&](int32_t j) { return FACE_POINT(j, f); });
  }
}

}  // namespace orvel::geometry
