// Start-up regridding of scattered forcing onto the model grid.
#include "forcing/regrid.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <utility>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/list_input.hpp"
#include "common/result_file.hpp"
#include "common/text.hpp"
#include "control/run_rules.hpp"
#include "control/data_folder.hpp"
#include "control/input_places.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"
#include "forcing/field_files.hpp"
#include "forcing/regrid_detail.hpp"

namespace orvel {

namespace {
// Characters of a listed name kept in its INT_ name.
constexpr std::size_t int_name_length = 100;
// Characters of a list line taken as the name.
constexpr std::size_t list_line_length = 256;

// The text without its leading blanks.
std::string left_aligned(const std::string& s) {
  const std::size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}
}  // namespace

namespace regrid_detail {

namespace {

// Model grid node count, a 32-bit product.
int32_t model_node_count() {
  const int64_t m = int64_t{var_mallas.xcells_number} * var_mallas.ycells_number;
  if (m > std::numeric_limits<int32_t>::max()) {
    throw std::length_error("the model grid of " + std::to_string(var_mallas.xcells_number) +
                            " x " + std::to_string(var_mallas.ycells_number) +
                            " nodes has more nodes than a 32-bit count holds");
  }
  return static_cast<int32_t>(m);
}

// Output field width and decimals of the values of a kind.
int value_decimals(forcing_kind kind) { return kind == forcing_kind::waves ? 3 : 6; }
constexpr int value_width = 14;

const char* column_name(forcing_kind kind, int c) {
  switch (kind) {
    case forcing_kind::current:
      return "current";
    case forcing_kind::wind:
      return c == 0 ? "u" : "v";
    case forcing_kind::waves:
      return c == 0 ? "wave height" : (c == 1 ? "direction" : "period");
  }
  return "value";
}

// Wave directions are interpolated through their sine and cosine: the
// angle itself would turn 350 and 10 degrees into about 180.
constexpr int direction_column = 1;
constexpr double radians_per_degree = std::numbers::pi / 180.0;

const char* kind_name(forcing_kind kind) {
  switch (kind) {
    case forcing_kind::current:
      return "current";
    case forcing_kind::wind:
      return "wind";
    case forcing_kind::waves:
      return "wave";
  }
  return "";
}

// Why the interpolator stopped, from the reason line of its fatal error.
std::string stop_cause(const std::string& stop, std::size_t nodes) {
  if (stop.find("All collinear data points.") != std::string::npos) {
    return "all " + std::to_string(nodes) +
           " nodes lie on one straight line (their coordinates in single precision, longitudes + 360), "
           "so they span no area to interpolate over";
  }
  if (stop.find("Two of the input data points are identical.") != std::string::npos) {
    return "two nodes are at the same place (their coordinates in single precision, longitudes + 360)";
  }
  if (stop.find("NDP out of range.") != std::string::npos) {
    return "the file has " + std::to_string(nodes) + " nodes; interpolation needs at least 4";
  }
  return "see its message above";
}

// Where a value far outside its data's range comes from: the triangle of
// nodes that holds the model node, with its smallest angle.
std::string triangle_cause(const scattered_interpolator& g, int32_t k, const scattered_nodes& s) {
  const region_code r = g.region(k);
  if (r < 1 || r > g.nt()) return "the nodes give an ill-conditioned triangulation";
  int32_t v[3];
  double x[3], y[3];
  for (int i = 0; i < 3; ++i) {
    v[i] = g.triangle(static_cast<int32_t>(r), i + 1);
    x[i] = s.x[static_cast<std::size_t>(v[i] - 1)];
    y[i] = s.y[static_cast<std::size_t>(v[i] - 1)];
  }
  double smallest = 180.0;
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, l = (i + 2) % 3;
    const double a = std::atan2(std::fabs((x[j] - x[i]) * (y[l] - y[i]) - (x[l] - x[i]) * (y[j] - y[i])),
                                (x[j] - x[i]) * (x[l] - x[i]) + (y[j] - y[i]) * (y[l] - y[i]));
    smallest = std::min(smallest, a / radians_per_degree);
  }
  return "the model node lies in the triangle of nodes " + std::to_string(v[0]) + ", " +
         std::to_string(v[1]) + " and " + std::to_string(v[2]) + " of this file, whose smallest angle is " +
         value_text(smallest, 3) +
         " degrees: thin triangles of nearly collinear nodes make the interpolation ill-conditioned";
}

}  // namespace

int value_columns(forcing_kind kind) {
  switch (kind) {
    case forcing_kind::current:
      return 1;
    case forcing_kind::wind:
      return 2;
    case forcing_kind::waves:
      return 3;
  }
  return 0;
}

std::string int_name(std::string_view listed) {
  return "INT_" + std::string(trimmed(listed.substr(0, int_name_length)));
}

scattered_nodes read_scattered(const std::string& path, int32_t nodes, forcing_kind kind) {
  list_reader r(path);
  r.finite_only();
  check_node_lines(r, nodes, kind == forcing_kind::current ? "xyzcurrentnodes_number"
                             : kind == forcing_kind::wind  ? "xyzwindnodes_number"
                                                           : "xyzwavesnodes_number");
  const std::size_t n = nodes > 0 ? static_cast<std::size_t>(nodes) : 0;
  const int ncol = value_columns(kind);
  scattered_nodes s;
  s.x.assign(n, 0.0f);
  s.y.assign(n, 0.0f);
  s.values.assign(static_cast<std::size_t>(ncol), std::vector<float>(n, 0.0f));
  for (std::size_t k = 0; k < n; ++k) {
    // One record per node; a "/" leaves the rest of the node's values at 0.
    list_reader::record rec(r);
    int c = -2;
    try {
      if (rec.item(s.x[k], "longitude") && rec.item(s.y[k], "latitude")) {
        for (c = 0; c < ncol; ++c) {
          if (!rec.item(s.values[static_cast<std::size_t>(c)][k], column_name(kind, c))) break;
        }
      }
    } catch (const input_error&) {
      rethrow_naming_comma(r, rec, 2 + ncol);
    }
    // Values beyond the record's own on its last line: refused when a comma
    // stands between two digits, else warned once for the file.
    if (c == ncol) check_values_left(r, rec, 2 + ncol);
    s.x[k] = s.x[k] + 360.0f;
  }
  return s;
}

// ---------------------------------------------------------------------------

column_interpolator::column_interpolator(int slots, bool reuse)
    : slots_(static_cast<std::size_t>(slots)), reuse_(reuse) {}

void column_interpolator::interpolate(int slot, std::span<const float> xd,
                                      std::span<const float> yd,
                                      std::span<const std::vector<float>> columns,
                                      std::span<const double> xi, std::span<const double> yi,
                                      std::vector<std::vector<float>>& out) {
  const auto ndp = static_cast<int32_t>(xd.size());
  const auto nip = static_cast<int32_t>(xi.size());
  out.resize(columns.size());
  for (auto& o : out) o.assign(xi.size(), 0.0f);

  // The triangulation and the located output points depend only on the
  // data coordinates: a slot that holds the same coordinates, byte for
  // byte, evaluates every column over them.
  auto same_nodes = [&](const slot_state& s) {
    return s.valid && s.x.size() == xd.size() && s.y.size() == yd.size() &&
           (xd.empty() || (std::memcmp(s.x.data(), xd.data(), xd.size_bytes()) == 0 &&
                           std::memcmp(s.y.data(), yd.data(), yd.size_bytes()) == 0));
  };
  slot_state* use = nullptr;
  if (reuse_) {
    for (auto& s : slots_) {
      if (same_nodes(s)) {
        use = &s;
        break;
      }
    }
  }
  std::size_t first = 0;
  if (use == nullptr) {
    use = &slots_.at(static_cast<std::size_t>(slot));
    use->valid = false;
    if (!use->interp) use->interp = std::make_unique<scattered_interpolator>();
    if (!columns.empty()) {
      ++triangulations_;
      use->interp->idbvip(1, ndp, xd, yd, columns[0], nip, xi, yi, out[0]);
      use->x.assign(xd.begin(), xd.end());
      use->y.assign(yd.begin(), yd.end());
      use->valid = true;
      first = 1;
    }
  }
  beyond_hull_ = 0;
  last_ = use->interp.get();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c >= first) {
      if (reuse_) {
        use->interp->idbvip(3, ndp, xd, yd, columns[c], nip, xi, yi, out[c]);
      } else {
        ++triangulations_;
        use->interp->idbvip(1, ndp, xd, yd, columns[c], nip, xi, yi, out[c]);
      }
    }
    beyond_hull_ = hold_beyond_hull(*use->interp, xd, yd, columns[c], xi, yi, out[c]);
  }
}

int32_t column_interpolator::hold_beyond_hull(const scattered_interpolator& interp,
                                              std::span<const float> xd,
                                              std::span<const float> yd,
                                              std::span<const float> zd,
                                              std::span<const double> xi,
                                              std::span<const double> yi, std::span<float> zi) {
  const int32_t n = interp.hold_beyond_hull(xd, yd, zd, xi, yi, zi);
  if (n == 0 || zd.empty()) return n;
  const auto [lo, hi] = std::minmax_element(zd.begin(), zd.end());
  const region_code ntl = region_code{interp.nt()} + interp.nl();
  for (std::size_t k = 0; k < zi.size(); ++k) {
    if (interp.region(static_cast<int32_t>(k) + 1) > ntl) zi[k] = std::clamp(zi[k], *lo, *hi);
  }
  return n;
}

// ---------------------------------------------------------------------------

file_regridder::file_regridder(forcing_kind kind, int slots, bool reuse)
    : kind_(kind),
      m_(model_node_count()),
      interp_(slots, reuse),
      pending_(static_cast<std::size_t>(slots)) {
  if (m_ >= 1) {
    if (!var_mallas.xbat.allocated() || !var_mallas.ybat.allocated() ||
        var_mallas.xbat.size() < m_ || var_mallas.ybat.size() < m_) {
      throw std::logic_error(
          "scattered forcing is regridded onto a model grid whose node coordinates were not read");
    }
    xi_ = std::span<const double>(var_mallas.xbat.data(), static_cast<std::size_t>(m_));
    yi_ = std::span<const double>(var_mallas.ybat.data(), static_cast<std::size_t>(m_));
    coords_.reserve(20 * static_cast<std::size_t>(m_));
    for (int32_t k = 0; k < m_; ++k) {
      coords_ += fmt_f(xi_[k] - 360.0, 10, 4);
      coords_ += fmt_f(yi_[k], 10, 4);
    }
  }
}

void file_regridder::read_and_interpolate(int slot, const std::string& listed, int32_t nodes) {
  pending_file& p = pending_.at(static_cast<std::size_t>(slot));
  p.listed = listed;
  p.source = input_path(listed);
  scattered_nodes s = read_scattered(p.source, nodes, kind_);

  if (kind_ == forcing_kind::waves) {
    // Height, sine and cosine of the direction, period.
    const std::size_t n = s.x.size();
    columns_.resize(4);
    columns_[0] = std::move(s.values[0]);
    columns_[1].resize(n);
    columns_[2].resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      const double a = static_cast<double>(s.values[direction_column][k]) * radians_per_degree;
      columns_[1][k] = static_cast<float>(std::sin(a));
      columns_[2][k] = static_cast<float>(std::cos(a));
    }
    columns_[3] = std::move(s.values[2]);
  } else {
    columns_ = std::move(s.values);
  }

  // The range of each column's data, for the check of the regridded values.
  auto range_of = [](const std::vector<float>& c) {
    pending_file::data_range r;
    r.checked = !c.empty();
    if (r.checked) {
      const auto [lo, hi] = std::minmax_element(c.begin(), c.end());
      r.low = *lo;
      r.high = *hi;
    }
    return r;
  };
  p.ranges.clear();
  if (kind_ == forcing_kind::waves) {
    p.ranges = {range_of(columns_[0]), pending_file::data_range{}, range_of(columns_[3])};
  } else {
    for (const auto& c : columns_) p.ranges.push_back(range_of(c));
  }

  // With no model node the interpolator itself reports the empty output.
  const std::span<const double> xi = m_ >= 1 ? xi_ : std::span<const double>();
  const std::span<const double> yi = m_ >= 1 ? yi_ : std::span<const double>();
  std::vector<std::vector<float>> out;
  try {
    interp_.interpolate(slot, s.x, s.y, columns_, xi, yi, out);
  } catch (const run_stop& e) {
    // The interpolator's own lines stay on standard output; the error line
    // names the file whose nodes it stopped on and why.
    throw input_error(p.source, 0,
                      "the scattered-data interpolator stopped on the nodes of this file (" +
                          std::string(p.listed) + ", named in a forcing list): " +
                          stop_cause(e.what(), s.x.size()))
        .with_stop_text(e.what());
  }
  check_spread(p, interp_.last(), s);
  if (interp_.beyond_hull() > 0 && !warned_beyond_hull_) {
    warned_beyond_hull_ = true;
    std::cerr << "orvel: warning: " << interp_.beyond_hull() << " of the " << m_
              << " model grid nodes lie outside the area of the scattered " << kind_name(kind_)
              << " nodes of " << p.source
              << (p.source == p.listed ? std::string() : " (" + p.listed + ")")
              << ", beyond their convex hull: they take the value at the nearest point of the hull, "
                 "held within the data's range (further files are not reported)\n";
  }

  if (kind_ == forcing_kind::waves) {
    std::vector<float>& dir = out[1];
    for (std::size_t k = 0; k < dir.size(); ++k) {
      double deg = std::atan2(static_cast<double>(out[1][k]), static_cast<double>(out[2][k])) /
                   radians_per_degree;
      if (deg < 0.0) deg += 360.0;
      float d = static_cast<float>(deg);
      // Just below 360 the written direction would read 360.000: north is 0.
      if (d >= 360.0f || (d > 359.99f && fmt_f(d, value_width, 3) == "       360.000")) d = 0.0f;
      // Either component not finite gives a direction that is not either.
      if (!std::isfinite(out[1][k]) || !std::isfinite(out[2][k])) {
        d = std::numeric_limits<float>::quiet_NaN();
      }
      dir[k] = d;
    }
    out[2] = std::move(out[3]);
    out.pop_back();
  }
  check_ranges(p, out, s);
  p.out = std::move(out);
}

void file_regridder::check_spread(const pending_file& p, const scattered_interpolator& g,
                                  const scattered_nodes& s) const {
  // The narrowest width of the nodes' hull (rotating calipers over its
  // counter-clockwise border) against the rounding unit of the nodes'
  // single-precision coordinates.  Triangles across a hull a few units wide
  // have the shapes of the rounding, not of the stations: the derivatives
  // across the line come out of noise.
  const int32_t nl = g.nl();
  if (nl < 3) return;
  auto vx = [&](int32_t i) { return static_cast<double>(s.x[static_cast<std::size_t>(g.border((i % nl) + 1, 1) - 1)]); };
  auto vy = [&](int32_t i) { return static_cast<double>(s.y[static_cast<std::size_t>(g.border((i % nl) + 1, 1) - 1)]); };
  auto area2 = [&](int32_t a, int32_t b, int32_t c) {
    return std::fabs((vx(b) - vx(a)) * (vy(c) - vy(a)) - (vx(c) - vx(a)) * (vy(b) - vy(a)));
  };
  double width = std::numeric_limits<double>::infinity();
  int32_t j = 1;
  for (int32_t i = 0; i < nl; ++i) {
    if (j == i + 1) ++j;
    while (j < i + 2 * nl && area2(i, i + 1, j + 1) >= area2(i, i + 1, j)) ++j;
    width = std::min(width, area2(i, i + 1, j) / std::hypot(vx(i + 1) - vx(i), vy(i + 1) - vy(i)));
  }
  float largest = 0.0f;
  for (std::size_t k = 0; k < s.x.size(); ++k) largest = std::max({largest, std::fabs(s.x[k]), std::fabs(s.y[k])});
  const double unit = std::nextafter(largest, std::numeric_limits<float>::infinity()) - largest;
  constexpr double units = 16.0;
  if (width >= units * unit) return;
  throw input_error(p.source, 0,
                    "the " + std::to_string(s.x.size()) + " nodes of this file lie within " + value_text(width, 3) +
                        " degrees of one straight line, less than " + value_text(units, 3) +
                        " times the rounding of their single-precision coordinates (" + value_text(unit, 3) +
                        " degrees, longitudes + 360): they are collinear to the precision of their positions "
                        "and span no area to interpolate over");
}

void file_regridder::check_ranges(const pending_file& p, const std::vector<std::vector<float>>& out,
                                  const scattered_nodes& s) const {
  for (int32_t k = 0; k < m_; ++k) {
    for (std::size_t c = 0; c < out.size(); ++c) {
      const auto& r = p.ranges[c];
      if (!r.checked) continue;
      // Values beyond the nodes' hull are held within the data's range.
      // Inside it an honest interpolation of noisy data overshoots the
      // data's range by a fraction of its width; thin triangles of nearly
      // collinear nodes magnify the noise thousands of times.  Four widths
      // (or a small floor) is the margin.
      const double v = out[c][static_cast<std::size_t>(k)];
      const double w = 4.0 * std::max(static_cast<double>(r.high) - r.low,
                                      1.0e-3 * std::max({1.0, std::fabs(double{r.low}), std::fabs(double{r.high})}));
      if (!(v < r.low - w || v > r.high + w)) continue;
      throw input_error(p.source, 0,
                        std::string("the ") + column_name(kind_, static_cast<int>(c)) +
                            " regridded onto model node " + std::to_string(k + 1) + " (longitude" +
                            fmt_f(xi_[k] - 360.0, 10, 4) + ", latitude" + fmt_f(yi_[k], 10, 4) + ") is " +
                            value_text(v) + ", far outside the data's range " + value_text(r.low) + " to " +
                            value_text(r.high) + ": " + triangle_cause(interp_.last(), k + 1, s));
    }
  }
}

void file_regridder::write(int slot) {
  const pending_file& p = pending_.at(static_cast<std::size_t>(slot));
  const int d = value_decimals(kind_);
  const std::size_t ncol = p.out.size();
  result_file f(input_path(int_name(p.listed)));
  std::string line;
  line.reserve(20 + value_width * ncol);
  for (int32_t k = 0; k < m_; ++k) {
    line.assign(coords_, 20 * static_cast<std::size_t>(k), 20);
    for (std::size_t c = 0; c < ncol; ++c) {
      const float v = p.out[c][static_cast<std::size_t>(k)];
      std::string field = fmt_f(v, value_width, d);
      if (!std::isfinite(v) || field.front() == '*') {
        // The reader would fail on this line later, or read asterisks.
        throw input_error(
            p.source, 0,
            std::string("the ") + column_name(kind_, static_cast<int>(c)) +
                " regridded onto model node " + std::to_string(k + 1) + " (longitude" +
                fmt_f(xi_[k] - 360.0, 10, 4) + ", latitude" + fmt_f(yi_[k], 10, 4) + ") is " +
                left_aligned(std::isfinite(v) ? fmt_es(v, 14, 6) : field) +
                (std::isfinite(v)
                     ? ", which does not fit the field F" + std::to_string(value_width) + "." +
                           std::to_string(d) + " of the regridded file"
                     : ", not a finite number"));
      }
      line += field;
    }
    f.line(line);
  }
  f.commit();
}

}  // namespace regrid_detail

namespace {

using regrid_detail::forcing_kind;

// One forcing list: its names and the INT_ names they give.
struct source_list {
  std::string path;                 // the ".pre" list as opened
  std::vector<std::string> listed;  // the names, trailing blanks removed
};

// Reads nfiles names, one per line, each line taken as its first 256
// characters.
source_list read_names(const std::string& list_name, int32_t nfiles) {
  source_list s;
  s.path = input_path(list_name);
  if (nfiles < 1) return s;
  list_reader r(s.path);
  for (int32_t k = 1; k <= nfiles; ++k) {
    const std::string line = r.read_line("a file name");
    std::string name(trimmed(fixlen(line, list_line_length)));
    if (name.empty()) {
      throw input_error::mismatch(s.path, r.record_line(), "a file name", "a blank line");
    }
    s.listed.push_back(std::move(name));
  }
  return s;
}

// Two listed files whose INT_ names agree would write the same file: an
// error unless they are the same file read the same way (the same name and
// node count), which gives the same content.
void check_int_names(std::span<const source_list* const> lists,
                     std::span<const int32_t> node_counts) {
  struct origin {
    std::size_t list;
    std::size_t entry;
  };
  std::map<std::string, origin> seen;
  for (std::size_t l = 0; l < lists.size(); ++l) {
    const source_list& s = *lists[l];
    for (std::size_t k = 0; k < s.listed.size(); ++k) {
      const std::string name = regrid_detail::int_name(s.listed[k]);
      auto [it, inserted] = seen.try_emplace(name, origin{l, k});
      if (inserted) continue;
      const origin& o = it->second;
      const source_list& so = *lists[o.list];
      if (so.listed[o.entry] == s.listed[k] && node_counts[o.list] == node_counts[l]) continue;
      throw input_error(
          s.path, static_cast<int64_t>(k) + 1,
          "the regridded name " + name + " of this line is also that of line " +
              std::to_string(o.entry + 1) + " of " + so.path +
              " (a regridded name keeps the first " + std::to_string(int_name_length) +
              " characters of the listed name): the two would overwrite each other");
    }
  }
}

void progress(const char* text) { std::cout << free_line(text) << '\n'; }

}  // namespace

void interpola_malla_corrientes(std::array<int32_t, 3>& nodes, int32_t nfiles) {
  const int32_t m = regrid_detail::model_node_count();
  progress("INTERPOLANDO DATOS DE CORRIENTES");
  const source_list u = read_names("U_lstcurr.pre", nfiles);
  const source_list v = read_names("V_lstcurr.pre", nfiles);
  const source_list* lists[] = {&u, &v};
  const int32_t counts[] = {nodes[0], nodes[1]};
  check_int_names(lists, counts);

  if (nfiles >= 1) {
    regrid_detail::file_regridder g(forcing_kind::current, 2, true);
    result_file ulist(input_path("U_lstcurr.txt"));
    result_file vlist(input_path("V_lstcurr.txt"));
    for (std::size_t k = 0; k < u.listed.size(); ++k) {
      g.read_and_interpolate(0, u.listed[k], nodes[0]);
      g.read_and_interpolate(1, v.listed[k], nodes[1]);
      ulist.line(regrid_detail::int_name(u.listed[k]));
      vlist.line(regrid_detail::int_name(v.listed[k]));
      g.write(0);
      g.write(1);
    }
    ulist.commit();
    vlist.commit();
  }
  nodes[0] = m;
  nodes[1] = m;
}

void interpola_malla(int32_t option, int32_t& nodes, int32_t nfiles) {
  if (option != 2 && option != 3) return;
  const bool wind = option == 2;
  const int32_t m = regrid_detail::model_node_count();
  progress(wind ? "INTERPOLANDO DATOS DE VIENTO" : "INTERPOLANDO DATOS DE OLEAJE");
  const source_list s = read_names(wind ? "lstwinds.pre" : "lstwaves.pre", nfiles);
  const source_list* lists[] = {&s};
  const int32_t counts[] = {nodes};
  check_int_names(lists, counts);

  if (nfiles >= 1) {
    regrid_detail::file_regridder g(wind ? forcing_kind::wind : forcing_kind::waves, 1, true);
    result_file list(input_path(wind ? "lstwinds.txt" : "lstwaves.txt"));
    for (const std::string& name : s.listed) {
      g.read_and_interpolate(0, name, nodes);
      list.line(regrid_detail::int_name(name));
      g.write(0);
    }
    list.commit();
  }
  nodes = m;
}

bool regrids_currents() {
  return var_cfg.currenttype__file_constant == 1 && var_mallas.currentgrid_regular__y_n == 0 &&
         var_cfg.currentgridformat__xyz_grid == 1;
}

bool regrids_wind() {
  return var_cfg.windtype__file_constant == 1 && var_mallas.windgrid_regular__y_n == 0 &&
         var_cfg.windgridformat__xyz_grid == 1;
}

bool regrids_waves() {
  return var_cfg.wavestype__file_constant == 1 && var_mallas.wavesgrid_regular__y_n == 0 &&
         var_cfg.wavesgridformat__xyz_grid == 1;
}

void check_regridding(const std::string& clave) {
  const auto& c = var_cfg;
  const bool currents = regrids_currents();
  const bool wind = regrids_wind();
  const bool waves = regrids_waves();
  const std::string cfg = clave + ".cfg";
  if (currents && var_run.sim__2d_3d == 2 && c.current3dinputformat_layers_average == 1) {
    throw refusal_at("current3dinputformat_layers_average", cfg,
                      "scattered current files are regridded onto the model grid one layer "
                      "only: layered 3-D current files must be given on a regular grid");
  }
  if (currents && c.currentfilesjointuvw__y_n == 1) {
    throw refusal_at("currentfilesjointuvw__y_n", cfg,
                      "scattered current files are regridded onto the model grid as separate "
                      "U and V files: joint u, v, w files (vertical currents) must be given "
                      "on a regular grid");
  }
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  if ((currents || wind || waves) && !model_grid_read()) {
    std::string what = currents ? "current" : (wind ? "wind" : "wave");
    throw refusal_at(currents ? "currentgrid_regular__y_n" : (wind ? "windgrid_regular__y_n" : "wavesgrid_regular__y_n"),
                     cfg,
                      "scattered " + what +
                          " files are regridded onto the model grid, but this run reads no "
                          "model grid (land-search mode " +
                          std::to_string(mode) +
                          (mode == 1 ? " with a time-varying current grid" : "") + ")");
  }
}

}  // namespace orvel
