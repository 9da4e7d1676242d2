#include "tests/fuzz/targets.hpp"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/farray.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "control/control_files.hpp"
#include "control/geography.hpp"
#include "control/memory_estimate.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/field_files.hpp"
#include "forcing/wind.hpp"
#include "transport/coast.hpp"
#include "transport/coast_index.hpp"

namespace orvel::fuzz {
namespace {

void write(const std::string& name, const char* data, std::size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + name);
}

void write(const std::string& name, const std::string& text) { write(name, text.data(), text.size()); }

// The input's lines, without their line ends.
std::vector<std::string> split_lines(const uint8_t* data, std::size_t size) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t k = 0; k < size; ++k) {
    const char c = static_cast<char>(data[k]);
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// Runs f; a refusal of the input (input_error) or an explicit stop of the
// model (run_stop) is an accepted outcome, anything else goes on up.
template <typename F>
void refusal_allowed(F&& f) {
  try {
    f();
  } catch (const input_error&) {
  } catch (const run_stop&) {
  }
}

// The memory estimates compare with this budget while a target runs, so
// that a count the estimate lets through fits the harness's memory limit.
class memory_budget {
 public:
  explicit memory_budget(uint64_t bytes) { set_memory_budget(bytes); }
  ~memory_budget() { set_memory_budget(0); }
  memory_budget(const memory_budget&) = delete;
  memory_budget& operator=(const memory_budget&) = delete;
};

constexpr uint64_t harness_memory = uint64_t{256} << 20;

[[noreturn]] void disagree(const char* search, double x, double y) {
  char s[160];
  std::snprintf(s, sizeof s, "%s at (%.17g, %.17g): the index and the linear scan disagree", search, x, y);
  throw std::logic_error(s);
}

// The nearest-point searches at (x, y), through the index and linearly.
void compare_nearest(double x, double y) {
  double xo1 = 0, yo1 = 0, d1 = 100000.0, xo2 = 0, yo2 = 0, d2 = 100000.0;
  int32_t k1 = 0, k2 = 0;
  const bool f1 = buscacosta(x, y, xo1, yo1, k1, d1);
  const bool f2 = buscacosta_linear(x, y, xo2, yo2, k2, d2);
  if (f1 != f2 || xo1 != xo2 || yo1 != yo2 || k1 != k2 || d1 != d2) disagree("buscacosta", x, y);
  double rx1 = 0, ry1 = 0, rd1 = 0, rx2 = 0, ry2 = 0, rd2 = 0;
  const bool r1 = buscacosta_radar(x, y, rx1, ry1, rd1);
  const bool r2 = buscacosta_radar_linear(x, y, rx2, ry2, rd2);
  if (r1 != r2 || rx1 != rx2 || ry1 != ry2 || rd1 != rd2) disagree("buscacosta_radar", x, y);
}

void compare_crossing(double x1, double y1, double x2, double y2, const farray<coast_polygon>& polys) {
  double xo1 = 0, yo1 = 0, xo2 = 0, yo2 = 0;
  int32_t s1 = 1, s2 = 1, n1 = 0, n2 = 0;
  busca_costa_interseccion_str(x1, y1, x2, y2, polys, xo1, yo1, s1, n1);
  busca_costa_interseccion_linear(x1, y1, x2, y2, polys, xo2, yo2, s2, n2);
  if (xo1 != xo2 || yo1 != yo2 || s1 != s2 || n1 != n2) disagree("busca_costa_interseccion_str", x1, y1);
}

// Forgets the coast index, which points into the polygons of one input.
struct index_release {
  ~index_release() { coast_index::release(); }
};

}  // namespace

void list_input(const uint8_t* data, std::size_t size) {
  std::vector<std::string> lines = split_lines(data, size);
  std::string program = lines.empty() || lines[0].empty() ? "ifdt|" : lines[0].substr(0, 64);
  if (!lines.empty()) lines.erase(lines.begin());
  list_reader r("fuzz.txt", std::move(lines));
  std::size_t pc = 0;
  // Every pass takes at least one line, so the loop ends with the lines.
  while (!r.at_end()) {
    const char op = program[pc % program.size()];
    if (op == 'l' || op == 's') {
      ++pc;
      refusal_allowed([&] {
        if (op == 'l') {
          (void)r.read_line("a line");
        } else {
          r.skip_line("a line");
        }
      });
      continue;
    }
    refusal_allowed([&] {
      list_reader::record rec(r);
      for (int k = 0; k < 64 && !rec.ended(); ++k) {
        const char c = program[pc++ % program.size()];
        if (c == '|' || c == 'l' || c == 's') break;
        int32_t i = 0;
        float f = 0.0f;
        double d[3] = {};
        std::string t;
        switch (c) {
          case 'i': rec.item(i, "i"); break;
          case 'f': rec.item(f, "f"); break;
          case 'd': rec.item(d[0], "d"); break;
          case 't': rec.item(t, "t"); break;
          case 'n': rec.items(d, 3, "n"); break;
          default: break;
        }
      }
    });
  }
}

void run_control(const uint8_t* data, std::size_t size) {
  reset_state();
  write("FUZZ.run", reinterpret_cast<const char*>(data), size);
  refusal_allowed([] { run("FUZZ"); });
  std::remove("FUZZ.run");
}

void scenario(const uint8_t* data, std::size_t size) {
  const memory_budget budget(harness_memory);
  reset_state();
  auto& v = var_run;
  v.simenvironment__sea_river = 1;
  v.sim__2d_3d = 1;
  v.simdirection__fore_back = 1;
  v.datafolder__same_other = 1;
  v.search_land__mask_maskandcoast = 2;
  v.searchcoastalgorithm__lr_hr = 1;
  v.particle_number = 200;
  v.deltat = 600.0f;
  v.outputparts__y_n = 1;
  v.outputpropierties__y_n = 1;
  write("FUZZ.cfg", reinterpret_cast<const char*>(data), size);
  refusal_allowed([] { leo_cfg("FUZZ"); });
  std::remove("FUZZ.cfg");
}

void wind_field(const uint8_t* data, std::size_t size) {
  write("w.txt", reinterpret_cast<const char*>(data), size);
  const std::string name = fixlen("w.txt", 256);
  auto& w = var_currwindwave;
  auto& c = var_cfg;

  reset_state();
  reset_forcing_readers();
  c.windgridformat__xyz_grid = 1;
  c.xyzwindnodes_number = 30;
  c.windfilesorlines_number = 1;
  var1.fichviento.allocate(1);
  var1.fichviento(1) = name;
  for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) a->allocate(30);
  refusal_allowed([] { lee_viento(1); });

  reset_state();
  reset_forcing_readers();
  c.windgridformat__xyz_grid = 2;
  c.xyzwindnodes_number = 30;
  c.windfilesorlines_number = 1;
  auto& g = var_mallasforz;
  g.gridformatwind_0x = 280.0;
  g.gridformatwind_0y = 33.75;
  g.gridformatwind_deltax = 2.5;
  g.gridformatwind_deltay = 1.25;
  g.gridformatwind_xcells = 5;
  g.gridformatwind_ycells = 6;
  var1.fichviento_u.allocate(1);
  var1.fichviento_v.allocate(1);
  var1.fichviento_u(1) = name;
  var1.fichviento_v(1) = name;
  for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) a->allocate(30);
  for (auto* a : {&w.uwg, &w.vwg, &w.uwg0, &w.vwg0}) a->allocate(5, 6);
  refusal_allowed([] { lee_viento0(1); });
  reset_forcing_readers();
  std::remove("w.txt");
}

void coast(const uint8_t* data, std::size_t size) {
  // The coastline, then the polygons, split at lines "%%".
  std::vector<std::string> parts(1);
  for (const std::string& line : split_lines(data, size)) {
    if (line == "%%" && parts.size() < 5) {
      parts.emplace_back();
    } else {
      parts.back() += line + "\n";
    }
  }
  if (parts.size() == 1) parts.push_back(parts[0]);
  const int32_t npoly = static_cast<int32_t>(parts.size()) - 1;
  write("costa.dat", parts[0]);
  for (int32_t j = 1; j <= npoly; ++j) write("costa_poligono" + std::to_string(j) + ".dat", parts[j]);

  reset_state();
  // A model grid of 0.01-degree cells whose box takes in the whole Earth.
  auto& g = var_mallas;
  g.loni = 0.0;
  g.lons = 720.0;
  g.lati = -90.0;
  g.lats = 90.0;
  g.deltax = 0.01;
  g.deltay = 0.01;
  g.latmean = 43.0;
  var_run.coast_polygonnumber = npoly;
  farray<coast_polygon> polys{"coord_str"};
  polys.allocate(npoly);
  const index_release release;
  bool read = false;
  refusal_allowed([&] {
    leo_costa();
    lee_poligonos(polys);
    read = true;
  });
  if (read) {
    coast_index::build(&polys);
    // Searches near the first points and along paths between them.
    const auto& cp = var_costa;
    for (int32_t k = 1; k <= std::min(cp.ptos_lc, 32); ++k) {
      compare_nearest(cp.xlc(k), cp.ylc(k));
      compare_nearest(cp.xlc(k) + 0.003, cp.ylc(k) - 0.002);
    }
    for (int32_t j = 1; j <= npoly; ++j) {
      const coast_polygon& p = polys(j);
      for (int32_t k = 1; k <= std::min(p.n, 32); ++k) {
        const double x = p.x(k) + 0.004, y = p.y(k) + 0.001;
        compare_nearest(x, y);
        const int32_t m = k % p.n + 1;
        compare_crossing(x, y, p.x(m) - 0.002, p.y(m) - 0.003, polys);
        compare_crossing(p.x(k), p.y(k), x - 0.01, y + 0.02, polys);
      }
    }
  }
  std::remove("costa.dat");
  for (int32_t j = 1; j <= npoly; ++j) std::remove(("costa_poligono" + std::to_string(j) + ".dat").c_str());
}

}  // namespace orvel::fuzz
