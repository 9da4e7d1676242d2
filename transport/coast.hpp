// Coast searches: the nearest coastline point of a particle (within five grid
// cells, or within half a cell for a floor particle over a radar grid), and
// the crossing of a particle's path with the coast polygons.
//
// Each search has a linear scan (the reference, kept for tests) and runs
// through the bucket indexes of coast_index.hpp when they have been built for
// the coast in use; both give the same result bit for bit.
#pragma once

#include <cstdint>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel {

// Nearest coastline point (`xlc`, `ylc`) to (x, y) inside the window of five
// cells each way (limits included), distance measured in degrees of latitude
// with the longitude difference scaled by cos(latmean).  A point is taken
// when its distance is at most the best so far (starting from `dist`), so
// among equal distances the highest index wins.  xo, yo, k and dist are
// written only when a point is found; x and y are read at entry, so xo, yo
// may be the caller's own position.  Returns true when a point was found.
bool buscacosta(double x, double y, double& xo, double& yo, int32_t& k, double& dist);

// Nearest coastline point closer than (deltax + deltay) / 2, within three
// cells each way; strictly nearer points only, so among equal distances the
// lowest index wins.  xo, yo and dist are written only when a point is found.
bool buscacosta_radar(double x, double y, double& xo, double& yo, double& dist);

// The same two searches as linear scans over every coastline point.
bool buscacosta_linear(double x, double y, double& xo, double& yo, int32_t& k, double& dist);
bool buscacosta_radar_linear(double x, double y, double& xo, double& yo, double& dist);

// cos(latmean * 3.1416 / 180) with the single-precision 3.1416: the scale
// of a longitude difference in the coast distances.
double coast_distance_scale();

// Crossing of the path (x1, y1) -> (x2, y2) with the coast polygons.  Every
// edge of every polygon is tried; the crossing kept is the one nearest to the
// start of the path (the lowest position along it; on equal positions the
// first polygon, then the first edge).  An edge that the path overlaps is
// passed over.  When a crossing is found, xo, yo get its point and state 0;
// num = the number of crossing points found over all polygons (0 when none,
// and then nothing else is written).
void busca_costa_interseccion_str(double x1, double y1, double x2, double y2,
                                  const farray<coast_polygon, 1>& polys, double& xo, double& yo,
                                  int32_t& state, int32_t& num);

// The same search as a linear scan over every edge.
void busca_costa_interseccion_linear(double x1, double y1, double x2, double y2,
                                     const farray<coast_polygon, 1>& polys, double& xo, double& yo,
                                     int32_t& state, int32_t& num);

// Intersections of the segment a -> b with the polyline x(1..n), y(1..n)
// (x, y, u, v point to element 1), in edge order, into u(1..m), v(1..m).
// ierr: 0 success; 1 for n < 2, a = b or only zero-length edges; 2 for more
// than m intersections (the first m kept); -i when the segment overlaps edge
// i (num = the points recorded before it).  A crossing at the start of an
// edge counts only when no point has been recorded yet, and a last point
// equal to the first vertex is dropped when another one precedes it.
void poly_intercept(double a1, double a2, double b1, double b2, const double* x, const double* y,
                    int32_t n, double* u, double* v, int32_t m, int32_t& num, int32_t& ierr);

namespace coast_detail {

// Axis-aligned box.
struct box {
  double xlo, xhi, ylo, yhi;
};

// Box of a segment widened by a margin of 2^-18 times its width plus height
// plus its largest coordinate magnitude.  The tolerances of the crossing
// test are relative (2^-21 of the quantities compared), so a crossing it
// reports lies within these margins of both the path and the edge: an edge
// whose widened box misses the path's gives no crossing, and the searches
// skip it without running the test (this is what lets the edge index look
// only at nearby edges).
inline box segment_box(double x1, double y1, double x2, double y2) {
  const double xlo = x1 < x2 ? x1 : x2, xhi = x1 < x2 ? x2 : x1;
  const double ylo = y1 < y2 ? y1 : y2, yhi = y1 < y2 ? y2 : y1;
  const double ax = xhi > -xlo ? xhi : -xlo, ay = yhi > -ylo ? yhi : -ylo;
  const double mag = ax > ay ? ax : ay;
  const double m = 0x1p-18 * (((xhi - xlo) + (yhi - ylo)) + mag);
  return {xlo - m, xhi + m, ylo - m, yhi + m};
}

inline bool overlap(const box& a, const box& b) {
  return a.xlo <= b.xhi && b.xlo <= a.xhi && a.ylo <= b.yhi && b.ylo <= a.yhi;
}

// Outcome of one edge against a path.
enum class edge_result { none, point, overlap };

// The path a -> b (d = b - a) against the edge (x1, y1) -> (x2, y2) of
// non-zero length.  For a point: s = its position along the path (1 for a
// path whose end touches the edge along its line), (u, v) the point, and
// at_start true when it lies at the start of the edge.
edge_result edge_crossing(double a1, double a2, double b1, double b2, double x1, double y1, double x2,
                          double y2, double& s, double& u, double& v, bool& at_start);

}  // namespace coast_detail

}  // namespace orvel
