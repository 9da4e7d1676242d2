#include "forcing/field_files.hpp"

#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"
#include "forcing/currents.hpp"
#include "forcing/lists.hpp"

namespace orvel {
namespace {

// Name array (by address) -> list file it was filled from.
std::vector<std::pair<const void*, std::string>>& origins() {
  static std::vector<std::pair<const void*, std::string>> o;
  return o;
}

std::string named_by(const farray<std::string, 1>& names, int32_t k) {
  const std::string list = list_origin(names);
  if (list.empty()) return " (entry " + std::to_string(k) + " of " + names.name() + ")";
  return " (named on line " + std::to_string(k) + " of " + list + ")";
}

}  // namespace

void note_list_origin(const farray<std::string, 1>& names, const std::string& list) {
  for (auto& [array, file] : origins()) {
    if (array == &names) {
      file = list;
      return;
    }
  }
  origins().emplace_back(&names, list);
}

std::string list_origin(const farray<std::string, 1>& names) {
  for (const auto& [array, file] : origins())
    if (array == &names) return file;
  return {};
}

std::string listed_path(const farray<std::string, 1>& names, int32_t k) {
  return input_path(trimmed(names(k)));
}

list_reader open_listed_file(const farray<std::string, 1>& names, int32_t k) {
  if (!names.allocated() || k < names.lbound(1) || k > names.ubound(1)) {
    const std::string list = list_origin(names);
    throw input_error(list.empty() ? std::string(names.name()) : list, 0,
                      "record " + std::to_string(k) + " has no file name: the list gives " +
                          std::to_string(names.allocated() ? names.size(1) : 0) + " names");
  }
  if (trimmed(names(k)).empty()) {
    const std::string list = list_origin(names);
    if (list.empty()) throw input_error(names.name(), 0, "entry " + std::to_string(k) + " holds no file name");
    throw input_error(list, k, "blank line where the file name of record " + std::to_string(k) + " belongs");
  }
  const std::string path = listed_path(names, k);
  try {
    list_reader r(path);
    r.finite_only();
    return r;
  } catch (const input_error& e) {
    if (e.line() != 0 || e.file() != path) throw;
    throw input_error(path, 0, e.message() + named_by(names, k));
  }
}

void check_node_lines(const list_reader& r, int64_t nodes, const char* count_name) {
  const int64_t lines = r.value_lines();
  if (lines == nodes) return;
  // Point at the first node line beyond the count, or at the last line.
  const int64_t line = lines > nodes ? r.value_line_number(nodes + 1) : r.value_line_number(lines);
  throw input_error(r.name(), line,
                    "the file holds " + std::to_string(lines) + " node lines, but " + count_name + " = " +
                        std::to_string(nodes) + " nodes: each node has one line");
}

namespace {

// Refuses the first token of `r` that reads as a number but not a finite one.
void check_finite_numbers(const list_reader& r, const std::vector<std::string>& lines) {
  for (std::size_t k = 0; k < lines.size(); ++k) {
    std::size_t c = 0;
    const std::string& l = lines[k];
    while (c < l.size()) {
      while (c < l.size() && (l[c] == ' ' || l[c] == ',' || l[c] == '\t' || l[c] == '\r')) ++c;
      std::size_t e = c;
      while (e < l.size() && !(l[e] == ' ' || l[e] == ',' || l[e] == '\t' || l[e] == '\r')) ++e;
      double v = 0.0;
      if (e > c && parse_double(std::string_view(l).substr(c, e - c), v) && !std::isfinite(v)) {
        throw input_error::mismatch(r.name(), static_cast<int64_t>(k) + 1, "a finite real number",
                                    "\"" + l.substr(c, e - c) + "\"");
      }
      c = e;
    }
  }
}

// The numbers of a uniform series, when its file is there.
void check_series_file(const std::string& path) {
  // The engine reads the series at its first step: a missing file is an
  // error now, before anything is written.
  list_reader r(path);
  std::vector<std::string> lines;
  while (!r.at_end()) lines.push_back(r.read_line("a line"));
  check_finite_numbers(r, lines);
}

void check_first_node_file(const std::string& list, int64_t nodes, const char* count_name) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(list, ec)) return;
  list_reader names(list);
  if (names.at_end()) return;
  const std::string name(trimmed(fixlen(names.read_line("a file name"), forcing_name_length)));
  if (name.empty()) return;
  const std::string path = input_path(name);
  if (!std::filesystem::is_regular_file(path, ec)) return;
  list_reader r(path);
  check_node_lines(r, nodes, count_name);
  std::vector<std::string> lines;
  while (!r.at_end()) lines.push_back(r.read_line("a line"));
  check_finite_numbers(r, lines);
}

}  // namespace

void check_first_node_files() {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  if (c.currenttype__file_constant == 2) {
    check_series_file(input_path(var_run.sim__2d_3d == 1 ? "lstcurr.pre" : "lstcurr3D.pre"));
  }
  if (c.windtype__file_constant == 2) check_series_file(input_path("lstwinds.pre"));
  if (c.wavestype__file_constant == 2) check_series_file(input_path("lstwaves.pre"));
  if (c.currenttype__file_constant == 1 && m.currentgrid_regular__y_n == 1 && c.currentgridformat__xyz_grid == 1) {
    if (c.currentfilesjointuvw__y_n == 1) {
      check_first_node_file(forcing_list_name("lstcurr_UVW", 1, true), c.xyzcurrentnodes_number[0],
                            "xyzcurrentnodes_number(1)");
    } else {
      check_first_node_file(forcing_list_name("U_lstcurr", 1, true), c.xyzcurrentnodes_number[0],
                            "xyzcurrentnodes_number(1)");
      check_first_node_file(forcing_list_name("V_lstcurr", 1, true), c.xyzcurrentnodes_number[1],
                            "xyzcurrentnodes_number(2)");
      if (reads_w_files(1)) {
        check_first_node_file(forcing_list_name("W_lstcurr", 1, true), c.xyzcurrentnodes_number[2],
                              "xyzcurrentnodes_number(3)");
      }
    }
  }
  if (c.windtype__file_constant == 1 && m.windgrid_regular__y_n == 1 && c.windgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwinds", 1, true), c.xyzwindnodes_number, "xyzwindnodes_number");
  }
  if (c.wavestype__file_constant == 1 && m.wavesgrid_regular__y_n == 1 && c.wavesgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwaves", 1, true), c.xyzwavesnodes_number, "xyzwavesnodes_number");
  }
}

void read_rows(list_reader& r, farray<double, 2>& g, int32_t nx, int32_t ny) {
  for (int32_t iy = ny; iy >= 1; --iy) {
    list_reader::record rec(r);
    if (nx >= 1) rec.items(g.ptr(1, iy), nx);
  }
}

void check_mask_value(const list_reader& r, int32_t v) {
  if (v != 0 && v != 1) {
    throw input_error::mismatch(r.name(), r.line_number(), "a mask value of 0 or 1", std::to_string(v));
  }
}

void read_mask_rows(list_reader& r, farray<int32_t, 2>& g, int32_t nx, int32_t ny) {
  for (int32_t iy = ny; iy >= 1; --iy) {
    list_reader::record rec(r);
    for (int32_t ix = 1; ix <= nx; ++ix) {
      if (!rec.item(g(ix, iy))) break;
      check_mask_value(r, g(ix, iy));
    }
  }
}

void grid_nodes(farray<double, 1>& x, farray<double, 1>& y, double x0, double y0, double dx, double dy, int32_t nx,
                int32_t ny) {
  for (int32_t ix = 1; ix <= nx; ++ix) {
    for (int32_t iy = 1; iy <= ny; ++iy) {
      const int32_t k = (ix - 1) * ny + iy;
      x(k) = x0 + (ix - 1) * dx;
      y(k) = y0 + (iy - 1) * dy;
    }
  }
}

void reset_forcing_readers() {
  origins().clear();
  close_depth_mean_series();
}

}  // namespace orvel
