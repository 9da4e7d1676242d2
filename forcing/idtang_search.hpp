// The three searches of the triangulation that a plain scan makes in time
// quadratic in the number of data points: the closest pair of points, the
// order in which the points are added, and the triangles that share an
// edge.  Each comes as the plain scan and as an indexed search that gives
// the same answer, bit for bit; the triangulation uses the indexed ones.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvel::idtang_search {

// The closest pair of data points (1-based, i < j) by the single-precision
// squared distance (x(j) - x(i))^2 + (y(j) - y(i))^2; among equal distances
// the first pair in the order (1,2), (1,3), ..., (1,n), (2,3), ...
// `distinct` is false when two points lie at squared distance exactly 0
// (the pair is then not defined).  At least two points.
struct closest_pair {
  int32_t i = 1;
  int32_t j = 2;
  bool distinct = true;
};
closest_pair closest_pair_scan(std::span<const float> x, std::span<const float> y);
// The same by a sweep over the points sorted by x, which stops for each
// point where the x distance alone exceeds the best squared distance.
// Coordinates that are not finite fall back to the scan.
closest_pair closest_pair_sweep(std::span<const float> x, std::span<const float> y);

// Selection sort of positions 3 to n (1-based) of the point order `iwp` by
// the squared distances `wk`: for p = 3 to n - 1 the first position q >= p
// holding the smallest distance is swapped into p, and wk(q) takes wk(p)
// (wk(p) itself is left as it was).
void selection_order_scan(std::span<int32_t> iwp, std::span<float> wk);
// The same with a tournament tree over the positions; a distance that is
// not a number falls back to the scan.
void selection_order_indexed(std::span<int32_t> iwp, std::span<float> wk);

// Triangles of the triangulation by vertex, kept up to date as triangles
// are set, so that the two highest-numbered triangles having both ends of
// an edge are found without scanning the whole triangle list.
class triangles_by_vertex {
 public:
  explicit triangles_by_vertex(int32_t ndp);
  // Triangle t now has the vertices a, b, c (old: its previous vertices,
  // or none for a new triangle).
  void set(int32_t t, std::span<const int32_t> old, int32_t a, int32_t b, int32_t c);
  // The highest (it1) and second highest (it2) numbers of the triangles of
  // ipt (three vertices each, 1-based) having both e1 and e2 as vertices,
  // 0 where there is none.
  void find(int32_t e1, int32_t e2, std::span<const int32_t> ipt, int32_t& it1, int32_t& it2) const;

 private:
  std::vector<std::vector<int32_t>> of_vertex_;
};

// The triangulation with the plain scans: the reference of the indexed one.
// Arguments as idtang.
void idtang_literal(int32_t ndp, std::span<const float> xd, std::span<const float> yd, int32_t& nt,
                    std::span<int32_t> ipt, int32_t& nl, std::span<int32_t> ipl,
                    std::vector<int32_t>& iwl, std::span<int32_t> iwp, std::span<float> wk);

}  // namespace orvel::idtang_search
