#include "transport/coast_index.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "control/state/var_costa.hpp"
#include "control/state/var_mallas.hpp"
#include "transport/coast.hpp"

namespace orvel::coast_index {
namespace {

using coast_detail::box;

// One axis of a bucket grid: cell(v) = floor((v - origin) / width), clamped
// to 0 .. count - 1.  cell() never decreases as v grows, so every value
// inside [lo, hi] falls in a cell between cell(lo) and cell(hi): a search
// that visits those cells and then applies the exact test of the linear scan
// finds every candidate the scan finds.
struct axis {
  double origin = 0.0;
  double inv = 1.0;
  int32_t count = 1;

  int32_t cell(double v) const {
    const double t = std::floor((v - origin) * inv);
    if (!(t > 0.0)) return 0;
    if (t >= static_cast<double>(count - 1)) return count - 1;
    return static_cast<int32_t>(t);
  }
};

// One cell covering everything: the layout for spans too wide to divide.
void single_cell(double xlo, double ylo, axis& ax, axis& ay) {
  ax = {std::isfinite(xlo) ? xlo : 0.0, 0.0, 1};
  ay = {std::isfinite(ylo) ? ylo : 0.0, 0.0, 1};
}

// Axes over [xlo, xhi] x [ylo, yhi] with cells of about wx by wy, and no more
// than max_cells cells in all (wider cells otherwise).  The widening is
// bounded by a count, not by the cell-count test alone: a span that
// overflows, or a width that underflows, would make that test NaN and never
// true.  Such layouts get a single cell, which keeps every search exact.
void make_axes(double xlo, double xhi, double ylo, double yhi, double wx, double wy, int64_t max_cells,
               axis& ax, axis& ay) {
  const double spanx = xhi - xlo, spany = yhi - ylo;
  if (!std::isfinite(spanx) || !std::isfinite(spany)) {
    single_cell(xlo, ylo, ax, ay);
    return;
  }
  if (!(wx > 0.0) || !std::isfinite(wx)) wx = spanx > 0.0 ? spanx / 64.0 : 1.0;
  if (!(wy > 0.0) || !std::isfinite(wy)) wy = spany > 0.0 ? spany / 64.0 : 1.0;
  // 1.5^2000 passes the double range, so the count never stops a widening
  // that could still succeed.
  for (int32_t widenings = 0; widenings < 2000; ++widenings) {
    const double nx = std::floor(spanx / wx) + 1.0, ny = std::floor(spany / wy) + 1.0;
    if (nx * ny <= static_cast<double>(max_cells)) {
      ax = {xlo, 1.0 / wx, static_cast<int32_t>(nx)};
      ay = {ylo, 1.0 / wy, static_cast<int32_t>(ny)};
      return;
    }
    wx *= 1.5;
    wy *= 1.5;
  }
  single_cell(xlo, ylo, ax, ay);
}

// Cell sizes of the indexes, in model-grid cells.  The point searches visit
// the cells in rings outward from the query and stop early, so small cells
// pay; a particle path is usually shorter than a model-grid cell.
constexpr double point_cells = 0.5;
constexpr double edge_cells = 0.5;

struct point_index {
  bool built = false;
  const double* srcx = nullptr;  // the coastline arrays the index was built from
  const double* srcy = nullptr;
  int32_t n = 0;
  axis ax, ay;
  std::vector<int32_t> start;  // first entry of each cell (x fastest), one past the end last
  std::vector<double> px, py;  // points by cell, in index order within a cell
  std::vector<int32_t> pk;     // their indices in xlc, ylc
};

struct edge {
  double x1, y1, x2, y2;
  box b;  // widened box (coast_detail::segment_box)
};

struct edge_index {
  bool built = false;
  const coast_polygon* src = nullptr;  // the polygon array the index was built from
  int32_t npoly = 0;
  axis ax, ay;
  std::vector<edge> edges;       // every usable edge, polygon by polygon, in edge order
  std::vector<int32_t> start;    // first entry of each cell, one past the end last
  std::vector<int32_t> ids;      // edges by cell, ascending within a cell
  std::vector<uint32_t> stamp;   // last query that looked at each edge
  uint32_t clock = 0;
};

point_index pts;
edge_index eds;

void build_points() {
  pts = point_index{};
  const int32_t n = var_costa.ptos_lc;
  if (n < 1 || !var_costa.xlc.allocated() || !var_costa.ylc.allocated()) return;
  const double* xl = var_costa.xlc.ptr(1);
  const double* yl = var_costa.ylc.ptr(1);
  // Points that are not finite never pass a window test: they are left out.
  double xlo = HUGE_VAL, xhi = -HUGE_VAL, ylo = HUGE_VAL, yhi = -HUGE_VAL;
  int32_t used = 0;
  for (int32_t j = 0; j < n; ++j) {
    if (!std::isfinite(xl[j]) || !std::isfinite(yl[j])) continue;
    xlo = std::min(xlo, xl[j]);
    xhi = std::max(xhi, xl[j]);
    ylo = std::min(ylo, yl[j]);
    yhi = std::max(yhi, yl[j]);
    ++used;
  }
  if (used == 0) xlo = xhi = ylo = yhi = 0.0;
  make_axes(xlo, xhi, ylo, yhi, point_cells * var_mallas.deltax, point_cells * var_mallas.deltay,
            std::max<int64_t>(int64_t{1} << 16, int64_t{4} * used), pts.ax, pts.ay);
  const int32_t nb = pts.ax.count * pts.ay.count;
  pts.start.assign(static_cast<size_t>(nb) + 1, 0);
  std::vector<int32_t> cell(static_cast<size_t>(n), -1);
  for (int32_t j = 0; j < n; ++j) {
    if (!std::isfinite(xl[j]) || !std::isfinite(yl[j])) continue;
    cell[j] = pts.ay.cell(yl[j]) * pts.ax.count + pts.ax.cell(xl[j]);
    ++pts.start[cell[j] + 1];
  }
  for (int32_t b = 0; b < nb; ++b) pts.start[b + 1] += pts.start[b];
  pts.px.resize(used);
  pts.py.resize(used);
  pts.pk.resize(used);
  std::vector<int32_t> fill(pts.start.begin(), pts.start.end() - 1);
  for (int32_t j = 0; j < n; ++j) {
    if (cell[j] < 0) continue;
    const int32_t at = fill[cell[j]]++;
    pts.px[at] = xl[j];
    pts.py[at] = yl[j];
    pts.pk[at] = j + 1;
  }
  pts.srcx = xl;
  pts.srcy = yl;
  pts.n = n;
  pts.built = true;
}

void build_edges(const farray<coast_polygon, 1>& polys) {
  eds = edge_index{};
  if (!polys.allocated()) return;
  const int32_t np = polys.size(1);
  // Edges of zero length or with a coordinate that is not finite never give
  // a crossing: they are left out.
  for (int32_t j = 1; j <= np; ++j) {
    const coast_polygon& pg = polys(j);
    for (int32_t i = 1; i < pg.n; ++i) {
      const double x1 = pg.x(i), y1 = pg.y(i), x2 = pg.x(i + 1), y2 = pg.y(i + 1);
      if (x2 - x1 == 0.0 && y2 - y1 == 0.0) continue;
      if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) continue;
      eds.edges.push_back({x1, y1, x2, y2, coast_detail::segment_box(x1, y1, x2, y2)});
    }
  }
  double xlo = 0.0, xhi = 0.0, ylo = 0.0, yhi = 0.0;
  if (!eds.edges.empty()) {
    xlo = ylo = HUGE_VAL;
    xhi = yhi = -HUGE_VAL;
    for (const edge& e : eds.edges) {
      xlo = std::min(xlo, e.b.xlo);
      xhi = std::max(xhi, e.b.xhi);
      ylo = std::min(ylo, e.b.ylo);
      yhi = std::max(yhi, e.b.yhi);
    }
  }
  const int64_t ne = static_cast<int64_t>(eds.edges.size());
  double wx = edge_cells * var_mallas.deltax, wy = edge_cells * var_mallas.deltay;
  // Long edges go into every cell their box covers: widen the cells while the
  // entries would pass sixteen per edge on average (or 2^26 in all).
  int64_t entries = 0;
  // Each pass doubles the cell widths; the count bounds the passes even when
  // a width overflows and make_axes starts again from the span.
  for (int32_t pass = 0;; ++pass) {
    if (pass == 64) {
      single_cell(xlo, ylo, eds.ax, eds.ay);
      entries = ne;
      break;
    }
    make_axes(xlo, xhi, ylo, yhi, wx, wy, std::max<int64_t>(int64_t{1} << 16, 4 * ne), eds.ax, eds.ay);
    entries = 0;
    for (const edge& e : eds.edges) {
      entries += int64_t{eds.ax.cell(e.b.xhi) - eds.ax.cell(e.b.xlo) + 1} *
                 (eds.ay.cell(e.b.yhi) - eds.ay.cell(e.b.ylo) + 1);
    }
    if (entries <= std::max<int64_t>(16 * ne, 1024) && entries <= (int64_t{1} << 26)) break;
    if (eds.ax.count == 1 && eds.ay.count == 1) break;
    wx = 2.0 / eds.ax.inv;
    wy = 2.0 / eds.ay.inv;
  }
  const int32_t nb = eds.ax.count * eds.ay.count;
  eds.start.assign(static_cast<size_t>(nb) + 1, 0);
  for (const edge& e : eds.edges) {
    for (int32_t by = eds.ay.cell(e.b.ylo); by <= eds.ay.cell(e.b.yhi); ++by)
      for (int32_t bx = eds.ax.cell(e.b.xlo); bx <= eds.ax.cell(e.b.xhi); ++bx)
        ++eds.start[by * eds.ax.count + bx + 1];
  }
  for (int32_t b = 0; b < nb; ++b) eds.start[b + 1] += eds.start[b];
  eds.ids.resize(static_cast<size_t>(entries));
  std::vector<int32_t> fill(eds.start.begin(), eds.start.end() - 1);
  for (int32_t id = 0; id < static_cast<int32_t>(ne); ++id) {
    const edge& e = eds.edges[id];
    for (int32_t by = eds.ay.cell(e.b.ylo); by <= eds.ay.cell(e.b.yhi); ++by)
      for (int32_t bx = eds.ax.cell(e.b.xlo); bx <= eds.ax.cell(e.b.xhi); ++bx)
        eds.ids[fill[by * eds.ax.count + bx]++] = id;
  }
  eds.stamp.assign(static_cast<size_t>(ne), 0);
  eds.src = polys.data();
  eds.npoly = np;
  eds.built = true;
}

}  // namespace

void build(const farray<coast_polygon, 1>* polys) {
  build_points();
  eds = edge_index{};
  if (polys) build_edges(*polys);
}

void release() {
  pts = point_index{};
  eds = edge_index{};
}

bool points_ready() {
  return pts.built && var_costa.ptos_lc == pts.n && var_costa.xlc.allocated() &&
         var_costa.ylc.allocated() && var_costa.xlc.data() == pts.srcx && var_costa.ylc.data() == pts.srcy;
}

bool edges_ready(const farray<coast_polygon, 1>& polys) {
  return eds.built && polys.allocated() && polys.data() == eds.src && polys.size(1) == eds.npoly;
}

namespace {

// Nearest point search over the cells that the window [xlo, xhi] x [ylo,
// yhi] covers, visiting them in rings around the query's cell and stopping
// once every cell left lies farther than the best distance found.  `take`
// decides, for a point in the window at distance d, whether it replaces the
// best so far (the scan's rule); the stop is strict, so every point at the
// best distance is seen and the tie rule holds.
template <typename Take>
int32_t ring_search(double x, double y, double xlo, double xhi, double ylo, double yhi, double& best, Take take) {
  const double cs = coast_distance_scale(), c = std::fabs(cs);
  const axis& ax = pts.ax;
  const axis& ay = pts.ay;
  const int32_t bx0 = ax.cell(xlo), bx1 = ax.cell(xhi), by0 = ay.cell(ylo), by1 = ay.cell(yhi);
  const int32_t qx = ax.cell(x), qy = ay.cell(y);
  const int32_t rmax = std::max(std::max(qx - bx0, bx1 - qx), std::max(qy - by0, by1 - qy));
  // Cell limits are origin + n * width, up to rounding in the cell lookup.
  const double wx = 1.0 / ax.inv, wy = 1.0 / ay.inv;
  const double fuzz = 1e-9 + 1e-12 * (std::fabs(ax.origin) + std::fabs(ay.origin) + wx * ax.count + wy * ay.count);
  const double* px = pts.px.data();
  const double* py = pts.py.data();
  int32_t at = -1;
  auto scan = [&](int32_t by, int32_t from, int32_t to) {
    const int32_t row = by * ax.count;
    const int32_t end = pts.start[row + to + 1];
    for (int32_t j = pts.start[row + from]; j < end; ++j) {
      if (xlo <= px[j] && px[j] <= xhi && ylo <= py[j] && py[j] <= yhi) {
        const double ex = (x - px[j]) * cs, ey = y - py[j];
        const double d = std::sqrt(ex * ex + ey * ey);
        if (take(d, j, at >= 0)) {
          best = d;
          at = j;
        }
      }
    }
  };
  for (int32_t r = 0; r <= rmax; ++r) {
    const int32_t xa = std::max(bx0, qx - r), xb = std::min(bx1, qx + r);
    for (int32_t by = std::max(by0, qy - r); by <= std::min(by1, qy + r); ++by) {
      if (by == qy - r || by == qy + r) {
        scan(by, xa, xb);
      } else {
        if (qx - r >= bx0) scan(by, qx - r, qx - r);
        if (r > 0 && qx + r <= bx1) scan(by, qx + r, qx + r);
      }
    }
    // Every cell not yet visited lies beyond the block of rings 0 .. r on a
    // side where the window goes on: the nearest such side bounds its points'
    // distance from below.
    double lb = HUGE_VAL;
    if (qx - r > bx0) lb = std::min(lb, (x - (ax.origin + (qx - r) * wx) - fuzz) * c);
    if (qx + r < bx1) lb = std::min(lb, ((ax.origin + (qx + r + 1) * wx) - x - fuzz) * c);
    if (qy - r > by0) lb = std::min(lb, y - (ay.origin + (qy - r) * wy) - fuzz);
    if (qy + r < by1) lb = std::min(lb, (ay.origin + (qy + r + 1) * wy) - y - fuzz);
    if (lb * (1.0 - 1e-12) > best) break;
  }
  return at;
}

}  // namespace

bool nearest(double x, double y, double& xo, double& yo, int32_t& k, double& dist) {
  const double xlo = x - 5.0 * var_mallas.deltax, xhi = x + 5.0 * var_mallas.deltax;
  const double ylo = y - 5.0 * var_mallas.deltay, yhi = y + 5.0 * var_mallas.deltay;
  if (!(xlo <= xhi && ylo <= yhi)) return false;  // an empty window
  double best = dist;
  int32_t kbest = 0;
  // The scan takes a point at least as near as the best so far: the highest
  // index among the nearest wins.
  const int32_t at = ring_search(x, y, xlo, xhi, ylo, yhi, best, [&](double d, int32_t j, bool) {
    if (d < best || (d == best && pts.pk[j] > kbest)) {
      kbest = pts.pk[j];
      return true;
    }
    return false;
  });
  if (at < 0) return false;
  xo = pts.px[at];
  yo = pts.py[at];
  k = kbest;
  dist = best;
  return true;
}

bool nearest_radar(double x, double y, double& xo, double& yo, double& dist) {
  const double xlo = x - 3.0 * var_mallas.deltax, xhi = x + 3.0 * var_mallas.deltax;
  const double ylo = y - 3.0 * var_mallas.deltay, yhi = y + 3.0 * var_mallas.deltay;
  if (!(xlo <= xhi && ylo <= yhi)) return false;
  double best = (var_mallas.deltax + var_mallas.deltay) * 0.5;
  int32_t kbest = 0;
  // The scan takes strictly nearer points only: the lowest index among the
  // nearest wins.
  const int32_t at = ring_search(x, y, xlo, xhi, ylo, yhi, best, [&](double d, int32_t j, bool found) {
    if (d < best || (found && d == best && pts.pk[j] < kbest)) {
      kbest = pts.pk[j];
      return true;
    }
    return false;
  });
  if (at < 0) return false;
  xo = pts.px[at];
  yo = pts.py[at];
  dist = best;
  return true;
}

void crossing(double x1, double y1, double x2, double y2, double& xo, double& yo, int32_t& state,
              int32_t& num) {
  num = 0;
  if (x2 - x1 == 0.0 && y2 - y1 == 0.0) return;
  const box path = coast_detail::segment_box(x1, y1, x2, y2);
  if (++eds.clock == 0) {  // the stamps wrapped round: start them again
    std::fill(eds.stamp.begin(), eds.stamp.end(), 0u);
    eds.clock = 1;
  }
  const uint32_t now = eds.clock;
  const int32_t bx0 = eds.ax.cell(path.xlo), bx1 = eds.ax.cell(path.xhi);
  const int32_t by0 = eds.ay.cell(path.ylo), by1 = eds.ay.cell(path.yhi);
  bool found = false;
  double best = 0.0, bu = 0.0, bv = 0.0;
  int32_t best_id = 0;
  for (int32_t by = by0; by <= by1; ++by) {
    const int32_t row = by * eds.ax.count;
    const int32_t end = eds.start[row + bx1 + 1];
    for (int32_t j = eds.start[row + bx0]; j < end; ++j) {
      const int32_t id = eds.ids[j];
      if (eds.stamp[id] == now) continue;
      eds.stamp[id] = now;
      const edge& e = eds.edges[id];
      if (!coast_detail::overlap(path, e.b)) continue;
      double s, u, v;
      bool at_start;
      if (coast_detail::edge_crossing(x1, y1, x2, y2, e.x1, e.y1, e.x2, e.y2, s, u, v, at_start) !=
          coast_detail::edge_result::point) {
        continue;
      }
      ++num;
      // The scan keeps the first of the nearest crossings in polygon and edge
      // order, which is the order of the edge numbers.
      if (!found || s < best || (s == best && id < best_id)) {
        found = true;
        best = s;
        bu = u;
        bv = v;
        best_id = id;
      }
    }
  }
  if (found) {
    xo = bu;
    yo = bv;
    state = 0;
  }
}

}  // namespace orvel::coast_index
