#include "forcing/currents.hpp"

#include <memory>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "control/state/var1.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_run.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// The latest record (lee_velocidad) or the start of the interval
// (lee_velocidad0): the same files and steps, different arrays.
enum class level { latest, start };

int32_t nodes_u() { return var_cfg.xyzcurrentnodes_number[0]; }
int32_t nodes_v() { return var_cfg.xyzcurrentnodes_number[1]; }
int32_t nodes_w() { return var_cfg.xyzcurrentnodes_number[2]; }

double& u_value(level lv, int32_t k, int32_t l) { return lv == level::start ? var2.u0(k, l) : var2.u_curr_read(k, l); }
double& v_value(level lv, int32_t k, int32_t l) { return lv == level::start ? var2.v0(k, l) : var2.v_curr_read(k, l); }
double& w_value(level lv, int32_t k, int32_t l) { return lv == level::start ? var2.w0(k, l) : var2.w_curr_read(k, l); }

void u_grid_nodes() {
  const auto& g = var_mallasforz;
  grid_nodes(var2.xcorr_u, var2.ycorr_u, g.gridformatcurru_0x, g.gridformatcurru_0y, g.gridformatcurru_deltax,
             g.gridformatcurru_deltay, g.gridformatcurru_xcells, g.gridformatcurru_ycells);
}

void v_grid_nodes() {
  const auto& g = var_mallasforz;
  grid_nodes(var2.xcorr_v, var2.ycorr_v, g.gridformatcurrv_0x, g.gridformatcurrv_0y, g.gridformatcurrv_deltax,
             g.gridformatcurrv_deltay, g.gridformatcurrv_xcells, g.gridformatcurrv_ycells);
}

// Node lists of a regular current grid are placed by their coordinates;
// scattered nodes are regridded first and read in the model grid's order.
bool placed_on_grid() { return var_mallas.currentgrid_regular__y_n == 1; }
constexpr const char* grid_switch = "currentgrid_regular__y_n";

// node(k) = grid(ix, iy) over a grid of nx by ny nodes.
template <typename T, typename F>
void grid_to_nodes(const farray<T, 2>& grid, int32_t nx, int32_t ny, F&& node) {
  for (int32_t ix = 1; ix <= nx; ++ix)
    for (int32_t iy = 1; iy <= ny; ++iy) node((ix - 1) * ny + iy) = grid(ix, iy);
}

// Values on a line: the items a free-format read finds there.
int32_t values_on_line(const std::string& file, int64_t line, const std::string& text) {
  list_reader one(file, {text}, {line});
  list_reader::record rec(one);
  int32_t n = 0;
  std::string item;
  try {
    while (rec.item(item)) ++n;
  } catch (const input_error&) {
    // The end of the line ends the count.
  }
  return n;
}

// A joint file of record entry e into layer l: longitude, latitude, u, v
// and, when its first line holds five values, w of every U node.
void read_joint_file(int32_t e, int32_t l) {
  const int32_t nu = nodes_u();
  int32_t columns = 0;
  int64_t first_line = 1;
  std::string path;
  {
    list_reader r = open_listed_file(var1.fichvel_uvw, e);
    path = r.name();
    while (columns == 0) {
      const std::string text = r.read_line("the first node of a joint current file");
      first_line = r.record_line();
      columns = values_on_line(path, first_line, text);
    }
  }
  if (columns < 4) {
    throw input_error::mismatch(path, first_line, "4 or 5 values (longitude, latitude, u, v and maybe w)",
                                std::to_string(columns));
  }
  var_currwindwave.wcurrentsflag = columns >= 5 ? 1 : 0;
  const bool with_w = var_currwindwave.wcurrentsflag == 1;
  if (with_w && nodes_w() < nu) {
    throw input_error(path, first_line,
                      "a five-column joint current file gives a vertical current at each of its " +
                          std::to_string(nu) + " nodes, but xyzcurrentnodes_number(3) = " +
                          std::to_string(nodes_w()) + " W nodes");
  }
  list_reader r = open_listed_file(var1.fichvel_uvw, e);
  check_node_lines(r, nu, "xyzcurrentnodes_number(1)");
  std::vector<int64_t> lines;
  lines.reserve(static_cast<std::size_t>(nu > 0 ? nu : 0));
  for (int32_t k = 1; k <= nu; ++k) {
    list_reader::record rec(r);
    try {
      if (rec.item(var2.xcorr_u(k), "longitude") && rec.item(var2.ycorr_u(k), "latitude") &&
          rec.item(var2.u_curr_read(k, l), "u") && rec.item(var2.v_curr_read(k, l), "v") && with_w) {
        rec.item(var2.w_curr_read(k, l), "w");
      }
    } catch (const input_error&) {
      rethrow_naming_comma(r, rec, with_w ? 5 : 4);
    }
    if (!rec.ended()) check_values_left(r, rec, with_w ? 5 : 4);
    lines.push_back(r.record_line());
    var2.xcorr_u(k) += 360.0;
  }
  if (placed_on_grid() && nu >= 1) {
    const auto order = place_nodes_on_grid(path, var2.xcorr_u.ptr(1), var2.ycorr_u.ptr(1), lines, nu, grid_switch);
    put_in_grid_order(var2.u_curr_read.ptr(1, l), order);
    put_in_grid_order(var2.v_curr_read.ptr(1, l), order);
    if (with_w) put_in_grid_order(var2.w_curr_read.ptr(1, l), order);
  }
}

// The U file of entry e: a node list (with the wet/dry indicator on a
// time-varying grid) or grid rows, northern row first.
void read_u_file(level lv, int32_t i, int32_t e, int32_t l) {
  list_reader r = open_listed_file(var1.fichvel_u, e);
  if (var_cfg.currentgridformat__xyz_grid == 1) {
    check_node_lines(r, nodes_u(), "xyzcurrentnodes_number(1)");
    const bool indicator = var_cfg.currentgrid_variable__y_n == 1;
    std::vector<int64_t> lines;
    for (int32_t k = 1; k <= nodes_u(); ++k) {
      list_reader::record rec(r);
      try {
        if (rec.item(var2.xcorr_u(k), "longitude") && rec.item(var2.ycorr_u(k), "latitude") &&
            rec.item(u_value(lv, k, l), "u") && indicator) {
          int32_t& ind = lv == level::start ? var2.indland0(k) : var2.indland(k);
          if (rec.item(ind, "wet/dry indicator")) check_mask_value(r, ind);
        }
      } catch (const input_error&) {
        rethrow_naming_comma(r, rec, indicator ? 4 : 3);
      }
      if (!rec.ended()) check_values_left(r, rec, indicator ? 4 : 3);
      lines.push_back(r.record_line());
      var2.xcorr_u(k) += 360.0;
    }
    if (placed_on_grid() && nodes_u() >= 1) {
      const auto order =
          place_nodes_on_grid(r.name(), var2.xcorr_u.ptr(1), var2.ycorr_u.ptr(1), lines, nodes_u(), grid_switch);
      put_in_grid_order(&u_value(lv, 1, l), order);
      if (indicator) put_in_grid_order(lv == level::start ? var2.indland0.ptr(1) : var2.indland.ptr(1), order);
    }
  } else {
    if (lv == level::start || i == 1) u_grid_nodes();
    read_rows(r, lv == level::start ? var2.ug0 : var2.ug, var_mallasforz.gridformatcurru_xcells,
              var_mallasforz.gridformatcurru_ycells);
  }
}

// The mask is allocated at its first read and keeps its shape.
void shape_mask(farray<int32_t, 2>& m, int32_t nx, int32_t ny, const std::string& file) {
  if (!m.allocated()) {
    m.allocate(nx, ny);
  } else if (m.size(1) != nx || m.size(2) != ny) {
    throw input_error(file, 0,
                      "the current mask of this record has " + std::to_string(nx) + " by " + std::to_string(ny) +
                          " cells, the first one read had " + std::to_string(m.size(1)) + " by " +
                          std::to_string(m.size(2)));
  }
}

// Mask of a time-varying grid: from the fourth column of the U node list
// (columns of ny nodes, ny the length of the first column) or from the
// mask grid file of record i.
void read_mask(level lv, int32_t i, int32_t e) {
  farray<int32_t, 2>& m = lv == level::start ? var2.mask0 : var2.mask;
  if (var_cfg.currentgridformat__xyz_grid == 1) {
    const int32_t nu = nodes_u();
    int32_t ny = 0;
    for (int32_t k = 1; k < nu; ++k) {
      if (static_cast<float>(var2.xcorr_u(k)) != static_cast<float>(var2.xcorr_u(k + 1))) {
        ny = k;
        break;
      }
    }
    const std::string path = listed_path(var1.fichvel_u, e);
    if (ny == 0) {
      throw input_error(path, 0,
                        "a time-varying current grid given as a node list needs at least two longitudes to "
                        "find its columns; its " +
                            std::to_string(nu) + " nodes lie at one longitude");
    }
    const int32_t nx = nu / ny;
    shape_mask(m, nx, ny, path);
    if (placed_on_grid()) {
      // The U nodes and their indicators are in the grid's order by now.
      const farray<int32_t, 1>& ind = lv == level::start ? var2.indland0 : var2.indland;
      for (int32_t ix = 1; ix <= nx; ++ix)
        for (int32_t iy = 1; iy <= ny; ++iy) m(ix, iy) = ind((ix - 1) * ny + iy);
      return;
    }
    list_reader r = open_listed_file(var1.fichvel_u, e);
    for (int32_t ix = 1; ix <= nx; ++ix) {
      for (int32_t iy = 1; iy <= ny; ++iy) {
        list_reader::record rec(r);
        float lon = 0.0f, lat = 0.0f, u = 0.0f;
        if (rec.item(lon, "longitude") && rec.item(lat, "latitude") && rec.item(u, "u") &&
            rec.item(m(ix, iy), "wet/dry indicator")) {
          check_mask_value(r, m(ix, iy));
        }
      }
    }
  } else {
    const int32_t nx = var_mallasforz.gridformatcurru_xcells;
    const int32_t ny = var_mallasforz.gridformatcurru_ycells;
    shape_mask(m, nx, ny, listed_path(var1.fichvel_mask, i));
    list_reader r = open_listed_file(var1.fichvel_mask, i);
    read_mask_rows(r, m, nx, ny);
  }
}

// The V file of entry e: node list or grid rows.
void read_v_file(level lv, int32_t i, int32_t e, int32_t l) {
  list_reader r = open_listed_file(var1.fichvel_v, e);
  if (var_cfg.currentgridformat__xyz_grid == 1) {
    check_node_lines(r, nodes_v(), "xyzcurrentnodes_number(2)");
    std::vector<int64_t> lines;
    for (int32_t k = 1; k <= nodes_v(); ++k) {
      list_reader::record rec(r);
      try {
        if (rec.item(var2.xcorr_v(k), "longitude") && rec.item(var2.ycorr_v(k), "latitude")) {
          rec.item(v_value(lv, k, l), "v");
        }
      } catch (const input_error&) {
        rethrow_naming_comma(r, rec, 3);
      }
      if (!rec.ended()) check_values_left(r, rec, 3);
      lines.push_back(r.record_line());
      var2.xcorr_v(k) += 360.0;
    }
    if (placed_on_grid() && nodes_v() >= 1) {
      const auto order =
          place_nodes_on_grid(r.name(), var2.xcorr_v.ptr(1), var2.ycorr_v.ptr(1), lines, nodes_v(), grid_switch);
      put_in_grid_order(&v_value(lv, 1, l), order);
    }
  } else {
    if (lv == level::start || i == 1) v_grid_nodes();
    read_rows(r, lv == level::start ? var2.vg0 : var2.vg, var_mallasforz.gridformatcurrv_xcells,
              var_mallasforz.gridformatcurrv_ycells);
  }
}

// The W node list of entry e into layer l.
void read_w_file(level lv, int32_t e, int32_t l) {
  list_reader r = open_listed_file(var1.fichvel_w, e);
  check_node_lines(r, nodes_w(), "xyzcurrentnodes_number(3)");
  std::vector<int64_t> lines;
  for (int32_t k = 1; k <= nodes_w(); ++k) {
    list_reader::record rec(r);
    if (rec.item(var2.xcorr_w(k), "longitude") && rec.item(var2.ycorr_w(k), "latitude")) {
      rec.item(w_value(lv, k, l), "w");
    }
    if (!rec.ended()) check_values_left(r, rec, 3);
    lines.push_back(r.record_line());
    var2.xcorr_w(k) += 360.0;
  }
  if (placed_on_grid() && nodes_w() >= 1) {
    const auto order =
        place_nodes_on_grid(r.name(), var2.xcorr_w.ptr(1), var2.ycorr_w.ptr(1), lines, nodes_w(), grid_switch);
    put_in_grid_order(&w_value(lv, 1, l), order);
  }
}

// U and V grids of layer l into the node values, each over its own size.
void store_grids(level lv, int32_t l) {
  const auto& g = var_mallasforz;
  const bool start = lv == level::start;
  grid_to_nodes(start ? var2.ug0 : var2.ug, g.gridformatcurru_xcells, g.gridformatcurru_ycells,
                [&](int32_t k) -> double& { return u_value(lv, k, l); });
  grid_to_nodes(start ? var2.vg0 : var2.vg, g.gridformatcurrv_xcells, g.gridformatcurrv_ycells,
                [&](int32_t k) -> double& { return v_value(lv, k, l); });
}

// One correction file: a node list (longitude and latitude read in single
// precision and discarded) or grid rows of that component's grid.
void read_correction(const farray<std::string, 1>& names, int32_t i, int32_t nodes, farray<double, 1>& cp,
                     farray<double, 2>& cpg, int32_t nx, int32_t ny) {
  list_reader r = open_listed_file(names, i);
  if (var_cfg.currcorrectgridformat__xyz_grid == 1) {
    check_node_lines(r, nodes, "xyzcurrentnodes_number");
    // On a regular grid the corrections follow the current nodes, which
    // are in the grid's order: they are placed by their own coordinates.
    // Otherwise the coordinates are read in single precision and not used.
    const bool placed = placed_on_grid();
    std::vector<double> lon(static_cast<std::size_t>(nodes > 0 ? nodes : 0), 0.0), lat(lon);
    std::vector<int64_t> lines;
    for (int32_t k = 1; k <= nodes; ++k) {
      list_reader::record rec(r);
      const auto at = static_cast<std::size_t>(k - 1);
      bool whole = false;
      if (placed) {
        whole = rec.item(lon[at], "longitude") && rec.item(lat[at], "latitude") && rec.item(cp(k), "correction");
      } else {
        float x = 0.0f, y = 0.0f;
        whole = rec.item(x, "longitude") && rec.item(y, "latitude") && rec.item(cp(k), "correction");
      }
      if (whole) check_values_left(r, rec, 3);
      lon[at] += 360.0;
      lines.push_back(r.record_line());
    }
    if (placed && nodes >= 1) {
      put_in_grid_order(cp.ptr(1), place_nodes_on_grid(r.name(), lon.data(), lat.data(), lines, nodes, grid_switch));
    }
  } else {
    read_rows(r, cpg, nx, ny);
    grid_to_nodes(cpg, nx, ny, [&](int32_t k) -> double& { return cp(k); });
  }
}

// The depth-mean current series: opened at the first read of the run and
// read one line per call.  Once its lines are used up the last one stays in
// force, so a run longer than the series goes on with its last values.
struct depth_mean_series {
  std::unique_ptr<list_reader> reader;  // the lines that hold values
  bool read_any = false;
  double u = 0.0;
  double v = 0.0;
};

depth_mean_series& series() {
  static depth_mean_series s;
  return s;
}

void open_depth_mean_series() {
  const std::string path = input_path("lstcurr_UVW_col.pre");
  list_reader file(path);
  std::vector<std::string> lines;
  std::vector<int64_t> numbers;
  while (!file.at_end()) {
    numbers.push_back(file.line_number());
    lines.push_back(file.read_line("a line"));
  }
  // Blank lines after the last values hold no record.
  while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) {
    lines.pop_back();
    numbers.pop_back();
  }
  // Every record of the series before the run reads the first: values
  // left over on a record's line are refused when a comma stands between
  // two digits (a decimal comma) and warned once otherwise.  Other faults
  // are reported when the run reaches their record.
  {
    list_reader scan(path, lines, numbers);
    scan.finite_only();
    while (!scan.at_end()) {
      list_reader::record rec(scan);
      bool whole = false;
      try {
        double u = 0.0, v = 0.0;
        whole = rec.item(u, "depth-mean u") && rec.item(v, "depth-mean v");
      } catch (const input_error&) {
        if (comma_between_digits(rec.line()) && count_values(rec.line()) > 2) rethrow_naming_comma(scan, rec, 2);
        break;
      }
      if (whole) check_values_left(scan, rec, 2);
    }
  }
  auto& s = series();
  s.reader = std::make_unique<list_reader>(path, std::move(lines), std::move(numbers));
  s.reader->finite_only();
  s.read_any = false;
}

void read_depth_mean() {
  auto& s = series();
  if (var_capas.flag_currcol == 0 || !s.reader) {
    open_depth_mean_series();
    var_capas.flag_currcol = 1;
  }
  if (s.reader->at_end() && s.read_any) {
    var2.u_curr_read_colprom(1) = s.u;
    var2.v_curr_read_colprom(1) = s.v;
    return;
  }
  s.reader->read({"depth-mean u", "depth-mean v"}, var2.u_curr_read_colprom(1), var2.v_curr_read_colprom(1));
  s.read_any = true;
  s.u = var2.u_curr_read_colprom(1);
  s.v = var2.v_curr_read_colprom(1);
}

void read_current_record(level lv, int32_t i) {
  const bool start = lv == level::start;
  const int32_t layers = var_capas.numcapascorr;
  const int32_t joint = var_cfg.currentfilesjointuvw__y_n;
  const int32_t format = var_cfg.currentgridformat__xyz_grid;

  // Both levels read every layer of the record (and its vertical current),
  // so that every layer is blended between the same two records.
  for (int32_t l = 1; l <= layers; ++l) {
    const int32_t e = (i - 1) * layers + l;
    if (!start && joint == 1) {
      read_joint_file(e, l);
      continue;
    }
    read_u_file(lv, i, e, l);
    if (var_cfg.currentgrid_variable__y_n == 1) read_mask(lv, i, e);
    if (start || joint == 0) {
      read_v_file(lv, i, e, l);
      if (var_currwindwave.wcurrentsflag != 0 && format == 1) read_w_file(lv, e, l);
    }
    if (format == 2) store_grids(lv, l);
  }

  if (!start && var_run.sim__2d_3d == 2 && var_cfg.current3dinputformat_layers_average == 2) read_depth_mean();

  if (var_cfg.currentcorrection__y_n == 1) {
    const auto& g = var_mallasforz;
    read_correction(var1.fichvel_uc, i, nodes_u(), var2.ucp, var2.ucpg, g.gridformatcurru_xcells,
                    g.gridformatcurru_ycells);
    read_correction(var1.fichvel_vc, i, nodes_v(), var2.vcp, var2.vcpg, g.gridformatcurrv_xcells,
                    g.gridformatcurrv_ycells);
    // Added to the surface layer (nothing to add to without layers).
    if (start || layers >= 1) {
      for (int32_t k = 1; k <= nodes_u(); ++k) u_value(lv, k, 1) += var2.ucp(k);
      for (int32_t k = 1; k <= nodes_v(); ++k) v_value(lv, k, 1) += var2.vcp(k);
    }
  }

  if (var_cfg.currentgrid_variable__y_n == 1 && format == 2) {
    const farray<int32_t, 2>& m = start ? var2.mask0 : var2.mask;
    farray<int32_t, 1>& ind = start ? var2.indland0 : var2.indland;
    if (m.allocated()) {
      grid_to_nodes(m, var_mallasforz.gridformatcurru_xcells, var_mallasforz.gridformatcurru_ycells,
                    [&](int32_t k) -> int32_t& { return ind(k); });
    }
  }
}

}  // namespace

void lee_velocidad(int32_t i) { read_current_record(level::latest, i); }

void lee_velocidad0(int32_t i) { read_current_record(level::start, i); }

void lee_corrientes_hd() {}

void close_depth_mean_series() { series() = depth_mean_series{}; }

}  // namespace orvel
