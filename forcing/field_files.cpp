#include "forcing/field_files.hpp"

#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "forcing/currents.hpp"

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
