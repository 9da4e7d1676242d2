#include "control/geography.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "common/values_left.hpp"
#include "control/data_folder.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_costa.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasconc.hpp"
#include "control/state/var_run.hpp"

namespace orvel {
namespace {

// The lines of a file that hold anything but blanks, with their line numbers.
struct data_lines {
  std::string name;
  std::vector<std::string> lines;
  std::vector<int64_t> numbers;

  std::size_t size() const { return lines.size(); }

  // The values of line k, all on that line (values beyond those needed are
  // ignored).  A line holding fewer values is an error naming it.
  template <typename... T>
  void values(std::size_t k, std::string_view expected, std::initializer_list<std::string_view> what, T&... v) const {
    // The "/" line ends the record at the end of line k, so a short line
    // cannot take values from the next one.
    list_reader one(name, {lines[k], "/"}, {numbers[k], numbers[k]});
    if (!one.read(what, v...)) {
      throw input_error::mismatch(name, numbers[k], std::string(expected), "fewer values on the line");
    }
  }

  // The same for a line that holds a record of its own: values left over on
  // it are refused when a comma stands between two digits (a decimal comma)
  // and otherwise warned once for the file.
  template <typename... T>
  void record_values(std::size_t k, std::string_view expected, std::initializer_list<std::string_view> what,
                     T&... v) const {
    list_reader one(name, {lines[k], "/"}, {numbers[k], numbers[k]});
    const auto taken = static_cast<int32_t>(sizeof...(T));
    list_reader::record rec(one);
    bool whole = false;
    try {
      auto it = what.begin();
      auto next = [&]() { return it != what.end() ? *it++ : std::string_view{}; };
      whole = (rec.item(v, next()) && ...);
    } catch (const input_error&) {
      rethrow_naming_comma(one, rec, taken);
    }
    if (!whole) throw input_error::mismatch(name, numbers[k], std::string(expected), "fewer values on the line");
    check_values_left(one, rec, taken);
  }
};

// A coastline or polygon point must lie on the Earth: finite, the longitude
// within 360 degrees either way and the latitude within 90.  A wild value
// would otherwise stretch the coast indexes over a span that is infinite or
// far beyond any model grid.
void check_coast_point(const data_lines& t, std::size_t k, double lon, double lat) {
  auto bad = [&](const char* what, double v, const char* range) {
    std::ostringstream s;
    s << what << " " << v << " is out of range: expected a finite value from " << range << " degrees";
    throw input_error(t.name, t.numbers[k], s.str());
  };
  if (!(std::fabs(lon) <= 360.0)) bad("longitude", lon, "-360 to 360");
  if (!(std::fabs(lat) <= 90.0)) bad("latitude", lat, "-90 to 90");
}

// Reads `path` (a missing file is an input_error, nothing is created),
// passing over its first `header` lines and every blank line.
data_lines read_data_lines(const std::string& path, int header, std::string_view header_what = {}) {
  list_reader r(path);
  for (int h = 0; h < header; ++h) r.skip_line(header_what);
  data_lines t{path, {}, {}};
  while (!r.at_end()) {
    std::string s = r.read_line("a line");
    if (s.find_first_not_of(" \t") == std::string::npos) continue;
    t.lines.push_back(std::move(s));
    t.numbers.push_back(r.record_line());
  }
  return t;
}

// A node-list grid file: node k (latitude fastest) at x(k) (deg + 360),
// y(k), with the third value of its line in depth(k).
struct node_list {
  int32_t xcells = 0;
  int32_t ycells = 0;
  std::vector<double> x;
  std::vector<double> y;
  std::vector<float> depth;
};

// Reads a node-list grid file and checks its layout: complete columns of
// equal longitude, from west to east, the first column from south to north,
// at least 2 nodes along each axis.  `third` names the third value of a line.
node_list read_node_list(const std::string& path, std::string_view third) {
  const data_lines t = read_data_lines(path, 0);
  const std::string expected = "longitude, latitude and " + std::string(third);
  if (t.size() == 0) throw input_error(path, 1, "no node in the file: expected " + expected + " per line");

  // Nodes in the first column: the leading lines whose longitude, in single
  // precision, equals the previous line's.
  float lon_f = 0.0f;
  float lat_f = 0.0f;
  float third_f = 0.0f;
  t.values(0, expected, {"longitude", "latitude", third}, lon_f, lat_f, third_f);
  std::size_t k = 1;
  for (; k < t.size(); ++k) {
    float next = 0.0f;
    t.values(k, expected, {"longitude", "latitude", third}, next, lat_f, third_f);
    if (next != lon_f) break;
    lon_f = next;
  }
  if (k == t.size()) {
    throw input_error(path, t.numbers[0],
                      "every node has the longitude of the first: a node list needs at least 2 columns");
  }
  node_list g;
  g.ycells = static_cast<int32_t>(k);
  if (g.ycells < 2) {
    throw input_error(path, t.numbers[1],
                      "the longitude changes after the first node: a node list needs at least 2 nodes per "
                      "column");
  }
  g.xcells = static_cast<int32_t>(t.size() / k);
  if (g.xcells < 2) {
    throw input_error(path, t.numbers[k],
                      "the second column has fewer than " + std::to_string(g.ycells) +
                          " nodes: a node list needs at least 2 complete columns");
  }

  const std::size_t n = static_cast<std::size_t>(g.xcells) * static_cast<std::size_t>(g.ycells);
  g.x.resize(n);
  g.y.resize(n);
  g.depth.resize(n);
  for (std::size_t i = 0; i < static_cast<std::size_t>(g.xcells); ++i) {
    for (std::size_t j = 0; j < static_cast<std::size_t>(g.ycells); ++j) {
      const std::size_t m = i * static_cast<std::size_t>(g.ycells) + j;
      double lon = 0.0;
      double lat = 0.0;
      t.values(m, expected, {"longitude", "latitude", third}, lon, lat, g.depth[m]);
      if (third == "depth" && !std::isfinite(g.depth[m])) {
        throw input_error::mismatch(path, t.numbers[m], "a finite real number (" + std::string(third) + ")",
                                    std::to_string(g.depth[m]));
      }
      g.x[m] = lon + 360.0;
      g.y[m] = lat;
      if (j > 0 && g.x[m] != g.x[m - 1]) {
        throw input_error(path, t.numbers[m],
                          "longitude " + std::to_string(lon) + " differs from the rest of its column: the lines " +
                              "must form complete columns of " + std::to_string(g.ycells) +
                              " nodes of equal longitude");
      }
      if (j == 0 && i > 0 && !(g.x[m] > g.x[m - 1])) {
        throw input_error(path, t.numbers[m],
                          "column " + std::to_string(i + 1) + " is not east of column " + std::to_string(i) +
                              ": the lines must form complete columns of " + std::to_string(g.ycells) +
                              " nodes of equal longitude, from west to east");
      }
      if (i == 0 && j > 0 && !(g.y[m] > g.y[m - 1])) {
        throw input_error(
            path, t.numbers[m],
            "latitude " + std::to_string(lat) + " is not north of the node before: a column goes from south to north");
      }
    }
  }
  return g;
}

// Node coordinates, distinct column longitudes and first-column latitudes,
// south-west node, mean spacings and mean latitude of a node-list grid.
void node_list_grid(const node_list& g, farray<double>& xb, farray<double>& yb, farray<double>& xdum,
                    farray<double>& ydum, double& x0, double& y0, double& dx, double& dy, double& latm) {
  const int32_t n = g.xcells * g.ycells;
  xb.allocate(n);
  yb.allocate(n);
  xdum.allocate(g.xcells);
  ydum.allocate(g.ycells);
  for (int32_t k = 1; k <= n; ++k) {
    xb(k) = g.x[k - 1];
    yb(k) = g.y[k - 1];
  }
  // Distinct values in file order: a new column longitude at each change of
  // longitude, the latitudes until there are as many as nodes per column.
  int32_t nx = 1;
  int32_t ny = 1;
  xdum(1) = xb(1);
  ydum(1) = yb(1);
  for (int32_t k = 2; k <= n; ++k) {
    if (xb(k) != xb(k - 1)) xdum(++nx) = xb(k);
    if (yb(k) != yb(k - 1) && ny < g.ycells) ydum(++ny) = yb(k);
  }
  x0 = xb(1);
  y0 = yb(1);
  for (int32_t k = 2; k <= n; ++k) {
    if (xb(k) < x0) x0 = xb(k);
    if (yb(k) < y0) y0 = yb(k);
  }
  double sx = 0.0;
  for (int32_t i = 2; i <= g.xcells; ++i) sx += xdum(i) - xdum(i - 1);
  dx = sx / (g.xcells - 1);
  double sy = 0.0;
  for (int32_t j = 2; j <= g.ycells; ++j) sy += ydum(j) - ydum(j - 1);
  dy = sy / (g.ycells - 1);
  double sl = 0.0;
  for (int32_t j = 1; j <= g.ycells; ++j) sl += ydum(j);
  latm = sl / g.ycells;
}

// Node coordinates of a regular grid whose origin x0 is in degrees as read.
void regular_nodes(farray<double>& xb, farray<double>& yb, int32_t nx, int32_t ny, double x0, double y0, double dx,
                   double dy) {
  xb.allocate(nx * ny);
  yb.allocate(nx * ny);
  for (int32_t i = 1; i <= nx; ++i) {
    for (int32_t j = 1; j <= ny; ++j) {
      const int32_t k = (i - 1) * ny + j;
      xb(k) = (360.0 + x0) + (i - 1) * dx;
      yb(k) = (j - 1) * dy + y0;
    }
  }
}

// A regular grid needs a node along each axis, and its node count must be
// a 32-bit integer.
void check_regular_counts(const std::string& file, const char* what, int32_t nx, int32_t ny) {
  if (nx < 1 || ny < 1 || int64_t{nx} * ny > INT32_MAX) {
    throw input_error(file, 0,
                      std::string("the regular ") + what + " of the scenario file has " + std::to_string(nx) + " x " +
                          std::to_string(ny) +
                          " nodes: at least one node along each axis is needed, and at most 2147483647 in all");
  }
}

[[noreturn]] void bad_format(const std::string& file, const char* variable, int32_t value) {
  throw input_error(
      file, 0, std::string(variable) + " must be 1 (node list) or 2 (regular grid), found " + std::to_string(value));
}

}  // namespace

void leo_bat() {
  auto& g = var_mallas;
  auto& c = var_mallasconc;
  const auto& cfg = var_cfg;
  const std::string name = input_path(trimmed(g.gridname));

  if (cfg.gridformat__xyz_grid == 1) {
    const node_list nl = read_node_list(name, "depth");
    g.xcells_number = nl.xcells;
    g.ycells_number = nl.ycells;
    g.d.allocate(g.xcells_number, g.ycells_number);
    for (int32_t i = 1; i <= g.xcells_number; ++i) {
      for (int32_t j = 1; j <= g.ycells_number; ++j) g.d(i, j) = nl.depth[(i - 1) * g.ycells_number + (j - 1)];
    }
    node_list_grid(nl, g.xbat, g.ybat, g.xbatdum, g.ybatdum, g.grid0_x, g.grid0_y, g.deltax, g.deltay, g.latmean);
  } else if (cfg.gridformat__xyz_grid == 2) {
    check_regular_counts(name, "model grid", g.xcells_number, g.ycells_number);
    g.d.allocate(g.xcells_number, g.ycells_number);
    regular_nodes(g.xbat, g.ybat, g.xcells_number, g.ycells_number, g.grid0_x, g.grid0_y, g.deltax, g.deltay);
    // Rows of depths from west to east, the northernmost first.
    list_reader r(name);
    r.finite_only();
    const std::string counts = " (xcells_number = " + std::to_string(g.xcells_number) +
                               ", ycells_number = " + std::to_string(g.ycells_number) + ")";
    for (int32_t row = 1; row <= g.ycells_number; ++row) {
      list_reader::record rec(r);
      if (!rec.items(g.d.ptr(1, g.ycells_number - row + 1), g.xcells_number, "depth")) continue;
      // A row's last line ends with the row: values left over mean a
      // decimal comma or node counts that do not fit the file.
      const int32_t left = count_values(rec.rest_of_line());
      if (left == 0) continue;
      throw input_error(name, r.line_number(),
                        "row " + std::to_string(row) + " of the depths holds " + std::to_string(g.xcells_number) +
                            " values, but this line holds " + std::to_string(left) + " more after its last one" +
                            (comma_between_digits(rec.line())
                                 ? ": is the comma the decimal mark? Write decimals with a point (\"12.5\"); a "
                                   "comma, like a blank, separates two values"
                                 : ": the grid has " + std::to_string(g.xcells_number) + " nodes west-east" + counts));
    }
    while (!r.at_end()) {
      const int64_t line = r.line_number();
      if (count_values(r.read_line("a line")) == 0) continue;
      throw input_error(name, line,
                        "values after the last of the grid's " + std::to_string(g.ycells_number) +
                            " rows of depths: the file holds more rows than record 3 gives the grid" + counts);
    }
    g.grid0_x = g.grid0_x + 360.0;
  } else {
    bad_format(name, "gridformat__xyz_grid", cfg.gridformat__xyz_grid);
  }

  g.loni = g.grid0_x;
  g.lons = g.grid0_x + (g.xcells_number - 1) * g.deltax;
  g.lati = g.grid0_y;
  g.lats = g.grid0_y + (g.ycells_number - 1) * g.deltay;

  if (var_run.outputconcs__y_n == 1 && cfg.concgrid_same_grid__y_n == 0) {
    const std::string cname = input_path(trimmed(c.concgridname));
    if (cfg.concgridformat__xyz_grid == 1) {
      const node_list nl = read_node_list(cname, "a third value");
      c.concxcells_number = nl.xcells;
      c.concycells_number = nl.ycells;
      node_list_grid(nl, c.xbatcc, c.ybatcc, c.xbatccdum, c.ybatccdum, c.concgrid0_x, c.concgrid0_y, c.concdeltax,
                     c.concdeltay, c.conclatmean);
    } else if (cfg.concgridformat__xyz_grid == 2) {
      // Everything comes from the scenario file: the file itself holds
      // nothing to read and is not opened.
      check_regular_counts(cname, "concentration grid", c.concxcells_number, c.concycells_number);
      regular_nodes(c.xbatcc, c.ybatcc, c.concxcells_number, c.concycells_number, c.concgrid0_x, c.concgrid0_y,
                    c.concdeltax, c.concdeltay);
      c.concgrid0_x = c.concgrid0_x + 360.0;
    } else {
      bad_format(cname, "concgridformat__xyz_grid", cfg.concgridformat__xyz_grid);
    }
  } else {
    // Concentrations on the model grid.
    c.xbatcc.allocate(g.xbat.size());
    c.ybatcc.allocate(g.ybat.size());
    for (int32_t k = 1; k <= g.xbat.size(1); ++k) {
      c.xbatcc(k) = g.xbat(k);
      c.ybatcc(k) = g.ybat(k);
    }
    c.concdeltax = g.deltax;
    c.concdeltay = g.deltay;
    c.concxcells_number = g.xcells_number;
    c.concycells_number = g.ycells_number;
    c.concgrid0_x = g.grid0_x;
    c.concgrid0_y = g.grid0_y;
    c.conclatmean = g.latmean;
  }

  if (var_run.outputconcs__y_n == 1) {
    c.lonicc = c.concgrid0_x;
    c.lonscc = c.concgrid0_x + (c.concxcells_number - 1) * c.concdeltax;
    c.laticc = c.concgrid0_y;
    c.latscc = c.concgrid0_y + (c.concycells_number - 1) * c.concdeltay;
  }

  g.zcells_number = 1;
}

void leo_batconc() {}

void leo_capas() {
  const std::string name = "currents_layerDepths.pre";
  const data_lines t = read_data_lines(name, 1, "the header line");
  if (t.size() == 0) {
    throw input_error(name, 2, "no layer: after the header line, one line per layer (layer number, depth)");
  }
  auto& v = var_capas;
  v.numcapascorr = static_cast<int32_t>(t.size());
  v.layer.allocate(v.numcapascorr);
  v.depth.allocate(v.numcapascorr);
  for (int32_t j = 1; j <= v.numcapascorr; ++j) {
    t.record_values(j - 1, "layer number and depth", {"layer number", "depth"}, v.layer(j), v.depth(j));
    if (j > 1 && !(v.depth(j) > v.depth(j - 1))) {
      throw input_error(name, t.numbers[j - 1],
                        "layer depths must increase strictly from line to line: " + std::to_string(v.depth(j)) +
                            " m follows " + std::to_string(v.depth(j - 1)) + " m");
    }
  }
}

void leo_costa() {
  const std::string name = data_folder_path("costa.dat");
  const data_lines t = read_data_lines(name, 0);
  const bool stick = var_cfg.coastline_sticknostick_option__y_n == 1;
  const auto& g = var_mallas;

  std::vector<double> xs;
  std::vector<double> ys;
  std::vector<int32_t> is;
  double west = 0.0, east = 0.0, south = 0.0, north = 0.0;
  for (std::size_t k = 0; k < t.size(); ++k) {
    double lon = 0.0;
    double lat = 0.0;
    int32_t index = 0;
    if (stick) {
      t.values(k, "longitude, latitude and stick index", {"longitude", "latitude", "stick index"}, lon, lat, index);
    } else {
      t.values(k, "longitude and latitude", {"longitude", "latitude"}, lon, lat);
    }
    check_coast_point(t, k, lon, lat);
    const double x = lon + 360.0;
    west = k == 0 ? x : std::min(west, x);
    east = k == 0 ? x : std::max(east, x);
    south = k == 0 ? lat : std::min(south, lat);
    north = k == 0 ? lat : std::max(north, lat);
    if (g.loni <= x && x <= g.lons && g.lati <= lat && lat <= g.lats) {
      xs.push_back(x);
      ys.push_back(lat);
      is.push_back(index);
    }
  }

  // A coastline whose points all lie away from the model grid's box
  // belongs to another place, or has its coordinates mistyped.
  const bool box_known = g.lons > g.loni && g.lats > g.lati;
  if (box_known && t.size() > 0 && (west > g.lons || east < g.loni || south > g.lats || north < g.lati)) {
    auto extent = [](double w, double e, double so, double n) {
      return "longitudes " + value_text(w - 360.0) + " to " + value_text(e - 360.0) + ", latitudes " +
             value_text(so) + " to " + value_text(n);
    };
    auto overlaps = [&](double w, double e, double so, double n) {
      return w <= g.lons && e >= g.loni && so <= g.lats && n >= g.lati;
    };
    std::string hint =
        ": give the coastline of the grid's area (west and south negative), or choose land-search mode 1 "
        "(search_land__mask_maskandcoast = 1 in the run-control file) for a run without one";
    if (overlaps(west - 360.0, east - 360.0, south, north)) {
      hint = ": the longitudes run from 0 to 360 degrees east; give those west of Greenwich as negative (subtract "
             "360 from each longitude above 180)";
    } else if (overlaps(south + 360.0, north + 360.0, west - 360.0, east - 360.0)) {
      hint = ": longitude and latitude seem swapped; each line gives the longitude first";
    }
    throw input_error(name, 0,
                      "the coastline covers " + extent(west, east, south, north) + ", the model grid " +
                          extent(g.loni, g.lons, g.lati, g.lats) + ": no coast point lies near the grid" + hint);
  }

  auto& v = var_costa;
  v.ptos_lc = static_cast<int32_t>(xs.size());
  v.xlc.allocate(v.ptos_lc);
  v.ylc.allocate(v.ptos_lc);
  v.ind_coast.allocate(v.ptos_lc);
  for (int32_t k = 1; k <= v.ptos_lc; ++k) {
    v.xlc(k) = xs[k - 1];
    v.ylc(k) = ys[k - 1];
    v.ind_coast(k) = is[k - 1];
  }
}

void lee_poligonos(farray<coast_polygon>& polys) {
  for (int32_t j = 1; j <= var_run.coast_polygonnumber; ++j) {
    const std::string name = data_folder_path("costa_poligono" + std::to_string(j) + ".dat");
    const data_lines t = read_data_lines(name, 0);
    coast_polygon& p = polys(j);
    p.n = static_cast<int32_t>(t.size());
    p.x.allocate(p.n);
    p.y.allocate(p.n);
    for (int32_t k = 1; k <= p.n; ++k) {
      double lon = 0.0;
      double lat = 0.0;
      t.values(k - 1, "longitude and latitude", {"longitude", "latitude"}, lon, lat);
      check_coast_point(t, static_cast<std::size_t>(k - 1), lon, lat);
      p.x(k) = lon + 360.0;
      p.y(k) = lat;
    }
  }
}

void locpt(double x0, double y0, const farray<double>& x, const farray<double>& y, int32_t n, int32_t& l, int32_t& m) {
  constexpr float pi = 3.1415927f;
  constexpr float pi2 = 6.2831855f;
  constexpr float tol = 1.4980282e-6f;
  l = -1;
  m = 0;
  if (n < 1) return;
  int32_t n0 = n;
  if (x(1) == x(n) && y(1) == y(n)) n0 = n - 1;

  float u = static_cast<float>(x(1) - x0);
  float v = static_cast<float>(y(1) - y0);
  if (u == 0.0f && v == 0.0f) {
    l = 0;
    return;
  }
  if (n0 < 2) return;

  // Turn from the angle `from` to the angle `to`, or false when the point
  // lies on the edge between the two vertices.
  auto turn = [&](float from, float to, float& angle) {
    angle = std::fabs(to - from);
    if (std::fabs(angle - pi) < tol) return false;
    if (angle > pi) angle = angle - pi2;
    if (from > to) angle = -angle;
    return true;
  };

  const float theta1 = std::atan2(v, u);
  float theta = theta1;
  float sum = 0.0f;
  float angle = 0.0f;
  for (int32_t i = 2; i <= n0; ++i) {
    u = static_cast<float>(x(i) - x0);
    v = static_cast<float>(y(i) - y0);
    if (u == 0.0f && v == 0.0f) {
      l = 0;
      return;
    }
    const float thetai = std::atan2(v, u);
    if (!turn(theta, thetai, angle)) {
      l = 0;
      return;
    }
    sum = sum + angle;
    theta = thetai;
  }
  if (!turn(theta, theta1, angle)) {
    l = 0;
    return;
  }
  sum = sum + angle;

  m = static_cast<int32_t>(std::fabs(sum) / pi2 + 0.2f);
  if (m == 0) return;
  l = 1;
  if (sum < 0.0f) m = -m;
}

}  // namespace orvel
