#include "forcing/field_files.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iostream>
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
#include "control/state/var_mallasforz.hpp"
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

void check_row_end(const list_reader& r, const list_reader::record& rec, int32_t row_values) {
  const int32_t left = count_values(rec.rest_of_line());
  if (left == 0) return;
  throw input_error(r.name(), r.line_number(),
                    "a grid row holds " + std::to_string(row_values) + " values, but this line holds " +
                        std::to_string(left) + " more after the row's last one" + decimal_comma_text(rec.line()) +
                        (comma_between_digits(rec.line()) ? "" : ": check the node counts of the grid"));
}

void check_no_more_rows(list_reader& r, int32_t rows) {
  while (!r.at_end()) {
    const int64_t line = r.line_number();
    const std::string text = r.read_line("a line");
    if (count_values(text) == 0) continue;
    throw input_error(r.name(), line,
                      "values after the last of the grid's " + std::to_string(rows) +
                          " rows: the file holds more rows than the grid has (check the node counts of the grid)");
  }
}

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
        // A decimal comma splits a value in two: say so rather than
        // refusing the half that lands on the next value.
        const auto taken = static_cast<int32_t>(values.size());
        if (comma_between_digits(rec.line()) && count_values(rec.line()) > taken) {
          throw input_error(path, r.record_line(), too_many_values_text(rec.line(), taken));
        }
        throw input_error(path, r.record_line(), std::string(name) + " = " + value_text(x) + ": must be " + allowed_text(v));
      }
    }
    check_values_left(r, rec, static_cast<int32_t>(values.size()));
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
// within their ranges, and its nodes those of a regular grid (the caller
// checks the files of regular grids only).  A record takes `taken` values
// (the columns when 0; four or five, as the first line has, when -1).
void check_first_node_file(const std::string& list, int64_t nodes, const char* count_name,
                           std::initializer_list<std::string_view> columns, const char* grid_switch,
                           const char* kind, int32_t taken = 0) {
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
  if (taken == 0) taken = static_cast<int32_t>(columns.size());
  if (taken < 0) {
    // A joint file: four or five values, as its first line has.
    taken = 4;
    for (const auto& l : lines) {
      if (count_values(l) == 0) continue;
      // A decimal comma adds values: the line does not then decide.
      taken = count_values(l) >= 5 && !comma_between_digits(l) ? 5 : 4;
      break;
    }
  }
  std::vector<double> lon, lat;
  std::vector<int64_t> node_lines;
  for (int64_t k = 1; k <= nodes; ++k) {
    list_reader::record rec(values);
    int32_t c = 0;
    try {
      for (const auto column : columns) {
        double x = 0.0;
        if (!rec.item(x, column)) break;
        if (c == 0) lon.push_back(x + 360.0);
        if (c == 1) lat.push_back(x);
        ++c;
      }
    } catch (const input_error&) {
      rethrow_naming_comma(values, rec, taken);
    }
    node_lines.push_back(values.record_line());
    // The values of the record beyond the columns checked here.
    std::string more;
    int32_t read = c == static_cast<int32_t>(columns.size()) ? c : taken + 1;
    while (read < taken && rec.item(more)) ++read;
    if (read == taken) check_values_left(values, rec, taken);
  }
  if (lon.size() == static_cast<std::size_t>(nodes) && lat.size() == lon.size() && nodes >= 1) {
    const auto n = static_cast<int32_t>(nodes);
    place_nodes_on_grid(path, lon.data(), lat.data(), node_lines, n, grid_switch);
    // The grid the nodes describe, as the engine derives it.
    int32_t ny = n;
    for (int32_t k = 1; k < n; ++k) {
      if (lon[static_cast<std::size_t>(k)] != lon[0]) {
        ny = k;
        break;
      }
    }
    const int32_t nx = n / ny;
    const double dx = nx > 1 ? lon[static_cast<std::size_t>(ny)] - lon[0] : 0.0;
    const double dy = ny > 1 ? lat[1] - lat[0] : 0.0;
    check_field_cover(path, kind, lon[0], lat[0], dx, dy, nx, ny);
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
                            "xyzcurrentnodes_number(1)", {"longitude", "latitude", "u", "v"}, "currentgrid_regular__y_n", "current", -1);
    } else {
      // Dry nodes of a time-varying grid may hold any number.
      check_first_node_file(forcing_list_name("U_lstcurr", 1, true), c.xyzcurrentnodes_number[0],
                            "xyzcurrentnodes_number(1)",
                            c.currentgrid_variable__y_n == 1 ? std::initializer_list<std::string_view>{"longitude", "latitude"}
                                                             : std::initializer_list<std::string_view>{"longitude", "latitude", "u"},
                            "currentgrid_regular__y_n", "current", c.currentgrid_variable__y_n == 1 ? 4 : 3);
      check_first_node_file(forcing_list_name("V_lstcurr", 1, true), c.xyzcurrentnodes_number[1],
                            "xyzcurrentnodes_number(2)", {"longitude", "latitude", "v"}, "currentgrid_regular__y_n", "current");
      if (reads_w_files(1)) {
        check_first_node_file(forcing_list_name("W_lstcurr", 1, true), c.xyzcurrentnodes_number[2],
                              "xyzcurrentnodes_number(3)", {"longitude", "latitude", "w"}, "currentgrid_regular__y_n", "vertical current");
      }
    }
  }
  // Grids described by the scenario file (records 27, 33, 38).
  const auto& f = var_mallasforz;
  if (c.currenttype__file_constant == 1 && m.currentgrid_regular__y_n == 1 && c.currentgridformat__xyz_grid == 2) {
    check_field_cover(forcing_list_name("U_lstcurr", 1, true), "current",
                      f.gridformatcurru_0x, f.gridformatcurru_0y, f.gridformatcurru_deltax, f.gridformatcurru_deltay,
                      f.gridformatcurru_xcells, f.gridformatcurru_ycells, " (the U grid of record 27)");
  }
  if (c.windtype__file_constant == 1 && m.windgrid_regular__y_n == 1 && c.windgridformat__xyz_grid == 2) {
    check_field_cover(forcing_list_name("U_lstwinds", 1, true), "wind", f.gridformatwind_0x,
                      f.gridformatwind_0y, f.gridformatwind_deltax, f.gridformatwind_deltay, f.gridformatwind_xcells,
                      f.gridformatwind_ycells, " (the grid of record 38)");
  }
  if (c.wavestype__file_constant == 1 && m.wavesgrid_regular__y_n == 1 && c.wavesgridformat__xyz_grid == 2) {
    check_field_cover(forcing_list_name("Hs_lstwaves", 1, true), "wave",
                      f.gridformatwaves_0x, f.gridformatwaves_0y, f.gridformatwaves_deltax, f.gridformatwaves_deltay,
                      f.gridformatwaves_xcells, f.gridformatwaves_ycells, " (the grid of record 33)");
  }
  if (c.windtype__file_constant == 1 && m.windgrid_regular__y_n == 1 && c.windgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwinds", 1, true), c.xyzwindnodes_number, "xyzwindnodes_number",
                          {"longitude", "latitude", "eastward wind", "northward wind"}, "windgrid_regular__y_n", "wind");
  }
  if (c.wavestype__file_constant == 1 && m.wavesgrid_regular__y_n == 1 && c.wavesgridformat__xyz_grid == 1) {
    check_first_node_file(forcing_list_name("lstwaves", 1, true), c.xyzwavesnodes_number, "xyzwavesnodes_number",
                          {"longitude", "latitude", "wave height", "wave direction", "wave period"}, "wavesgrid_regular__y_n", "wave");
  }
}

namespace {

// Coordinates of one grid line may differ by this much (degrees, about a
// metre): the rounding of single precision, not another line.
constexpr double coordinate_noise = 1e-5;
// A node may lie this share of a spacing off its grid line (printed
// coordinates are rounded); further off it is not a node of the grid.
constexpr double grid_tolerance = 0.05;

// The spacing of a grid's lines from the coordinates of its nodes: the
// median of the gaps between neighbouring values, gaps within the noise left
// out (0 when every value is one).  The median passes over a node or two
// off the grid, so that the message can name them.
double line_spacing(const double* v, int32_t n) {
  std::vector<double> s(v, v + n);
  std::sort(s.begin(), s.end());
  std::vector<double> gaps;
  for (std::size_t k = 1; k < s.size(); ++k) {
    if (s[k] - s[k - 1] > coordinate_noise) gaps.push_back(s[k] - s[k - 1]);
  }
  if (gaps.empty()) return 0.0;
  const auto mid = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
  std::nth_element(gaps.begin(), mid, gaps.end());
  return *mid;
}

std::string where_text(double x, double y) {
  return "longitude " + value_text(x - 360.0) + ", latitude " + value_text(y);
}

}  // namespace

std::vector<int32_t> place_nodes_on_grid(const std::string& file, double* x, double* y,
                                         const std::vector<int64_t>& lines, int32_t n, const char* grid_switch) {
  if (n < 1) return {};
  auto line_of = [&](int32_t k) -> int64_t {
    return static_cast<std::size_t>(k) < lines.size() ? lines[static_cast<std::size_t>(k)] : 0;
  };
  const double x0 = *std::min_element(x, x + n);
  const double y0 = *std::min_element(y, y + n);
  const double dx = line_spacing(x, n);
  const double dy = line_spacing(y, n);
  auto grid_text = [&]() {
    return "longitudes from " + value_text(x0 - 360.0) + (dx > 0.0 ? " every " + value_text(dx) : std::string()) +
           ", latitudes from " + value_text(y0) + (dy > 0.0 ? " every " + value_text(dy) : std::string()) +
           " degrees";
  };
  // Column and row of each node.
  std::vector<int64_t> col(static_cast<std::size_t>(n)), row(static_cast<std::size_t>(n));
  int64_t nx = 1, ny = 1;
  for (int32_t k = 0; k < n; ++k) {
    const double fx = dx > 0.0 ? (x[k] - x0) / dx : 0.0;
    const double fy = dy > 0.0 ? (y[k] - y0) / dy : 0.0;
    const double ix = std::round(fx);
    const double iy = std::round(fy);
    const bool on_x = dx > 0.0 ? std::fabs(fx - ix) <= grid_tolerance : x[k] - x0 <= coordinate_noise;
    const bool on_y = dy > 0.0 ? std::fabs(fy - iy) <= grid_tolerance : y[k] - y0 <= coordinate_noise;
    if (!on_x || !on_y) {
      throw input_error(file, line_of(k),
                        "the node at " + where_text(x[k], y[k]) + " does not fall on a node of the regular grid that "
                        "the other nodes describe (" + grid_text() + "): a node list on a regular grid (" +
                        grid_switch + " = 1) gives the nodes of that grid and no others");
    }
    col[static_cast<std::size_t>(k)] = static_cast<int64_t>(ix);
    row[static_cast<std::size_t>(k)] = static_cast<int64_t>(iy);
    nx = std::max(nx, col[static_cast<std::size_t>(k)] + 1);
    ny = std::max(ny, row[static_cast<std::size_t>(k)] + 1);
  }
  // Nodes by column, then row; a node given twice sits beside its twin.
  std::vector<int32_t> order(static_cast<std::size_t>(n));
  for (int32_t k = 0; k < n; ++k) order[static_cast<std::size_t>(k)] = k;
  auto key = [&](int32_t k) { return col[static_cast<std::size_t>(k)] * ny + row[static_cast<std::size_t>(k)]; };
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return key(a) < key(b); });
  for (std::size_t c = 1; c < order.size(); ++c) {
    if (key(order[c]) == key(order[c - 1])) {
      const int32_t k = std::max(order[c], order[c - 1]);
      const int32_t first = std::min(order[c], order[c - 1]);
      throw input_error(file, line_of(k),
                        "the node at " + where_text(x[k], y[k]) + " is given a second time (first on line " +
                            std::to_string(line_of(first)) + "): each node of the grid has one line");
    }
  }
  if (nx * ny != n) {
    int64_t missing = 0;
    while (static_cast<std::size_t>(missing) < order.size() && key(order[static_cast<std::size_t>(missing)]) == missing) ++missing;
    const double mx = x0 + static_cast<double>(missing / ny) * dx;
    const double my = y0 + static_cast<double>(missing % ny) * dy;
    throw input_error(file, 0,
                      "no line gives the grid node at " + where_text(mx, my) + ": the " + std::to_string(n) +
                          " nodes describe a regular grid of " + std::to_string(nx) + " by " + std::to_string(ny) +
                          " nodes (" + grid_text() + "), and each of its nodes needs one line (a node on land "
                          "with values of 0); nodes that form no complete grid are read as scattered nodes with " +
                          grid_switch + " = 0");
  }
  // Every node of a column (row) at the column's westernmost (row's
  // southernmost) coordinate.
  std::vector<double> cx(static_cast<std::size_t>(nx), 0.0), cy(static_cast<std::size_t>(ny), 0.0);
  std::vector<char> seen_x(static_cast<std::size_t>(nx), 0), seen_y(static_cast<std::size_t>(ny), 0);
  for (int32_t k = 0; k < n; ++k) {
    const auto i = static_cast<std::size_t>(col[static_cast<std::size_t>(k)]);
    const auto j = static_cast<std::size_t>(row[static_cast<std::size_t>(k)]);
    if (!seen_x[i] || x[k] < cx[i]) cx[i] = x[k];
    if (!seen_y[j] || y[k] < cy[j]) cy[j] = y[k];
    seen_x[i] = seen_y[j] = 1;
  }
  for (std::size_t c = 0; c < order.size(); ++c) {
    x[c] = cx[static_cast<std::size_t>(c / static_cast<std::size_t>(ny))];
    y[c] = cy[static_cast<std::size_t>(c % static_cast<std::size_t>(ny))];
  }
  return order;
}

std::string extent_text(double west, double east, double south, double north) {
  return "longitudes " + value_text(west - 360.0) + " to " + value_text(east - 360.0) + ", latitudes " +
         value_text(south) + " to " + value_text(north);
}

std::string missed_grid_hint(double west, double east, double south, double north, double gwest, double geast,
                             double gsouth, double gnorth) {
  auto overlaps = [&](double w, double e, double s, double n) {
    return w <= geast && e >= gwest && s <= gnorth && n >= gsouth;
  };
  if (overlaps(west - 360.0, east - 360.0, south, north)) {
    return ": the longitudes run from 0 to 360 degrees east; give those west of Greenwich as negative "
           "(subtract 360 from each longitude above 180)";
  }
  if (overlaps(south + 360.0, north + 360.0, west - 360.0, east - 360.0)) {
    return ": longitude and latitude seem swapped; each line gives the longitude first";
  }
  return ": check the positions (degrees, west and south negative) and that the file belongs to this area";
}

void check_field_cover(const std::string& file, const char* kind, double x0, double y0, double dx, double dy,
                       int32_t nx, int32_t ny, const std::string& source) {
  const auto& g = var_mallas;
  if (!g.d.allocated() || g.xcells_number < 1 || g.ycells_number < 1 || nx < 1 || ny < 1) return;
  // Covered as the interpolation covers it: up to one cell west (south) of
  // the first node and east (north) of the last.
  auto covered = [&](double x, double y) {
    const double fx = dx != 0.0 ? (x - x0) / dx : (x == x0 ? 0.0 : -2.0);
    const double fy = dy != 0.0 ? (y - y0) / dy : (y == y0 ? 0.0 : -2.0);
    return fx > -1.0 && fx < static_cast<double>(nx) && fy > -1.0 && fy < static_cast<double>(ny);
  };
  int64_t water = 0;
  int64_t outside = 0;
  for (int32_t i = 1; i <= g.xcells_number; ++i) {
    for (int32_t j = 1; j <= g.ycells_number; ++j) {
      if (!(g.d(i, j) > 0.0f)) continue;
      ++water;
      if (!covered(g.grid0_x + (i - 1) * g.deltax, g.grid0_y + (j - 1) * g.deltay)) ++outside;
    }
  }
  if (water == 0 || outside == 0) return;
  const double x1 = x0 + static_cast<double>(nx - 1) * dx;
  const double y1 = y0 + static_cast<double>(ny - 1) * dy;
  const double west = std::min(x0, x1), east = std::max(x0, x1);
  const double south = std::min(y0, y1), north = std::max(y0, y1);
  const std::string field = extent_text(west, east, south, north);
  const std::string grid = extent_text(g.loni, g.lons, g.lati, g.lats);
  if (outside == water) {
    throw input_error(file, 0,
                      std::string("the ") + kind + " field" + source + " covers " + field + ", the model grid " + grid +
                          ": it covers no water node of the model grid" +
                          missed_grid_hint(west, east, south, north, g.loni, g.lons, g.lati, g.lats));
  }
  std::cerr << "orvel: warning: " << file << ": the " << kind << " field" << source << " covers " << field << " and leaves "
            << outside << " of the " << water << " water nodes of the model grid (" << grid << ") outside it ("
            << value_text(100.0 * static_cast<double>(outside) / static_cast<double>(water), 3)
            << " %): the " << kind << " there is taken as 0\n";
}

void read_rows(list_reader& r, farray<double, 2>& g, int32_t nx, int32_t ny) {
  for (int32_t iy = ny; iy >= 1; --iy) {
    list_reader::record rec(r);
    if (nx >= 1 && rec.items(g.ptr(1, iy), nx)) check_row_end(r, rec, nx);
  }
  check_no_more_rows(r, ny);
}

void check_mask_value(const list_reader& r, int32_t v) {
  if (v != 0 && v != 1) {
    throw input_error::mismatch(r.name(), r.line_number(), "a mask value of 0 or 1", std::to_string(v));
  }
}

void read_mask_rows(list_reader& r, farray<int32_t, 2>& g, int32_t nx, int32_t ny) {
  for (int32_t iy = ny; iy >= 1; --iy) {
    list_reader::record rec(r);
    bool whole = true;
    for (int32_t ix = 1; ix <= nx && whole; ++ix) {
      whole = rec.item(g(ix, iy));
      if (whole) check_mask_value(r, g(ix, iy));
    }
    if (whole && nx >= 1) check_row_end(r, rec, nx);
  }
  check_no_more_rows(r, ny);
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
  forget_values_left_warnings();
  close_depth_mean_series();
}

}  // namespace orvel
