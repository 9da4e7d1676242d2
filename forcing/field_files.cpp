#include "forcing/field_files.hpp"

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "control/input_ranges.hpp"
#include "control/state/var1.hpp"
#include "control/state/var_capas.hpp"
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

// Ranges of the values of a forcing file, as the list reader takes them,
// from the table of input ranges.
class file_ranges {
 public:
  file_ranges(std::initializer_list<std::string_view> names) {
    units_.reserve(names.size());
    for (const auto name : names) {
      const input_range& e = input_range_of(name);
      units_.push_back(e.unit.empty() ? std::string() : " " + std::string(e.unit));
      ranges_.push_back({e.name, e.low, e.high, units_.back()});
    }
  }
  operator std::span<const list_reader::value_range>() const { return ranges_; }

 private:
  std::vector<std::string> units_;
  std::vector<list_reader::value_range> ranges_;
};

// The physical range of each value of a node-list field file.
const file_ranges& field_ranges() {
  static const file_ranges r{"longitude",     "latitude",       "u",           "v",
                             "w",             "correction",     "eastward wind", "northward wind",
                             "wave height",   "wave direction", "wave period"};
  return r;
}
// The nodes of a time-varying current grid may hold any number where they
// are dry: only their positions are held to a range.
const file_ranges& position_ranges() {
  static const file_ranges r{"longitude", "latitude"};
  return r;
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
    const bool masked = &names == &var1.fichvel_u && var_cfg.currentgrid_variable__y_n == 1;
    r.limit_values(masked ? position_ranges() : field_ranges());
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

// A uniform series: its numbers finite, `count` records after `headers`
// header lines, each value of each record within its range.  The engine
// reads the series at its first step: a missing or short file is an error
// now, before anything is written.
void check_series_file(const std::string& path, int32_t headers, int32_t count,
                       std::initializer_list<std::string_view> values) {
  {
    list_reader r(path);
    std::vector<std::string> lines;
    while (!r.at_end()) lines.push_back(r.read_line("a line"));
    check_finite_numbers(r, lines);
  }
  list_reader r(path);
  for (int32_t h = 1; h <= headers; ++h) r.skip_line("header line " + std::to_string(h));
  for (int32_t i = 1; i <= count; ++i) {
    if (r.at_end()) {
      throw input_error(path, r.line_number() - 1,
                        "the series ends after " + std::to_string(i - 1) + " records, but its count (" +
                            std::to_string(count) + ") needs " + std::to_string(count));
    }
    list_reader::record rec(r);
    for (const auto name : values) {
      const input_range& v = input_range_of(name);
      double x = 0.0;
      if (!rec.item(x, name)) {
        throw input_error(path, r.record_line(), "record " + std::to_string(i) + " ends before its " + std::string(name));
      }
      if (!in_range(v, x)) {
        throw input_error(path, r.record_line(), std::string(name) + " = " + value_text(x) + ": must be " + allowed_text(v));
      }
    }
  }
}

// The names of `lines` records of a forcing list: the list exists, holds
// them, no line is blank and every file named exists.
void check_list(const std::string& list, int64_t lines, const char* count_name) {
  list_reader r(list);
  std::error_code ec;
  for (int64_t k = 1; k <= lines; ++k) {
    if (r.at_end()) {
      throw input_error(list, r.line_number() - 1,
                        "the list holds " + std::to_string(k - 1) + " file names, but " + count_name + " needs " +
                            std::to_string(lines));
    }
    const std::string line = r.read_line("a file name");
    const std::string name(trimmed(fixlen(line, forcing_name_length)));
    if (name.empty()) {
      throw input_error(list, r.record_line(), "blank line where the file name of record " + std::to_string(k) + " belongs");
    }
    const std::string path = input_path(name);
    if (!std::filesystem::is_regular_file(path, ec)) {
      throw input_error(list, r.record_line(), "names the file \"" + path + "\", which does not exist");
    }
  }
}

// The first file of a node-list forcing: its node lines against the count,
// its numbers finite and the values of its `columns` (by name, in order)
// within their ranges.
void check_first_node_file(const std::string& list, int64_t nodes, const char* count_name,
                           std::initializer_list<std::string_view> columns) {
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
  list_reader values(path);
  values.limit_values(field_ranges());
  for (int64_t k = 1; k <= nodes; ++k) {
    list_reader::record rec(values);
    for (const auto column : columns) {
      double x = 0.0;
      if (!rec.item(x, column)) break;
    }
  }
}

}  // namespace

void check_forcing_lists() {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  const int64_t layers = var_capas.numcapascorr > 0 ? var_capas.numcapascorr : 1;
  auto list = [](const char* base) { return forcing_list_name(base, 1, true); };
  if (c.currenttype__file_constant == 1 && m.currentgrid_regular__y_n != 0) {
    const int64_t n = c.currentfilesorlines_number;
    const char* count = "currentfilesorlines_number";
    if (c.currentgrid_variable__y_n == 1 && c.currentgridformat__xyz_grid == 2) {
      for (const char* base : {"U_lstcurr", "V_lstcurr", "Mask_lstcurr"}) check_list(list(base), n, count);
    } else if (c.currentfilesjointuvw__y_n == 1) {
      check_list(list("lstcurr_UVW"), n * layers, count);
    } else {
      for (const char* base : {"U_lstcurr", "V_lstcurr"}) check_list(list(base), n * layers, count);
    }
  }
  if (c.currenttype__file_constant == 1 && c.currentcorrection__y_n == 1) {
    for (const char* base : {"U_lstcorrectcurr", "V_lstcorrectcurr"}) {
      check_list(list(base), c.currentcorrectionfiles_number, "currentcorrectionfiles_number");
    }
  }
  if (c.wavestype__file_constant == 1 && m.wavesgrid_regular__y_n != 0) {
    const int64_t n = c.wavesfilesorlines_number;
    if (c.wavesgridformat__xyz_grid == 2) {
      for (const char* base : {"Hs_lstwaves", "T_lstwaves", "Dir_lstwaves"}) {
        check_list(list(base), n, "wavesfilesorlines_number");
      }
    } else {
      check_list(list("lstwaves"), n, "wavesfilesorlines_number");
    }
  }
  if (c.windtype__file_constant == 1 && m.windgrid_regular__y_n != 0) {
    const int64_t n = c.windfilesorlines_number;
    if (c.windgridformat__xyz_grid == 2) {
      for (const char* base : {"U_lstwinds", "V_lstwinds"}) check_list(list(base), n, "windfilesorlines_number");
    } else {
      check_list(list("lstwinds"), n, "windfilesorlines_number");
    }
  }
}

void check_first_node_files() {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  constexpr std::string_view direction = "direction";
  if (c.currenttype__file_constant == 2) {
    const int32_t n = c.currentfilesorlines_number;
    if (var_run.sim__2d_3d == 1) {
      check_series_file(input_path("lstcurr.pre"), 0, n, {"current speed", direction});
    } else {
      check_series_file(input_path("lstcurr3D.pre"), 2, n,
                        {"surface current speed", direction, "water-column current speed", direction});
    }
  }
  if (c.windtype__file_constant == 2) {
    check_series_file(input_path("lstwinds.pre"), 0, c.windfilesorlines_number,
                      {"wind speed", direction});
  }
  if (c.wavestype__file_constant == 2) {
    check_series_file(input_path("lstwaves.pre"), 0, c.wavesfilesorlines_number,
                      {"wave height", direction, "wave period"});
  }
  if (c.currenttype__file_constant == 1 && m.currentgrid_regular__y_n == 1 && c.currentgridformat__xyz_grid == 1) {
    if (c.currentfilesjointuvw__y_n == 1) {
      check_first_node_file(forcing_list_name("lstcurr_UVW", 1, true), c.xyzcurrentnodes_number[0],
                            "xyzcurrentnodes_number(1)", {"longitude", "latitude", "u", "v"});
    } else {
      // Dry nodes of a time-varying grid may hold any number.
      check_first_node_file(forcing_list_name("U_lstcurr", 1, true), c.xyzcurrentnodes_number[0],
                            "xyzcurrentnodes_number(1)",
                            c.currentgrid_variable__y_n == 1 ? std::initializer_list<std::string_view>{"longitude", "latitude"}
                                                             : std::initializer_list<std::string_view>{"longitude", "latitude", "u"});
      check_first_node_file(forcing_list_name("V_lstcurr", 1, true), c.xyzcurrentnodes_number[1],
                            "xyzcurrentnodes_number(2)", {"longitude", "latitude", "v"});
      if (reads_w_files(1)) {
        check_first_node_file(forcing_list_name("W_lstcurr", 1, true), c.xyzcurrentnodes_number[2],
                              "xyzcurrentnodes_number(3)", {"longitude", "latitude", "w"});
      }
    }
  }
  if (c.windtype__file_constant == 1 && m.windgrid_regular__y_n == 1 && c.windgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwinds", 1, true), c.xyzwindnodes_number, "xyzwindnodes_number",
                          {"longitude", "latitude", "eastward wind", "northward wind"});
  }
  if (c.wavestype__file_constant == 1 && m.wavesgrid_regular__y_n == 1 && c.wavesgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwaves", 1, true), c.xyzwavesnodes_number, "xyzwavesnodes_number",
                          {"longitude", "latitude", "wave height", "wave direction", "wave period"});
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
