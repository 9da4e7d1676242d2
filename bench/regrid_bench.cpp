// Benchmark of the start-up regridding (not a test): a list of ten wave
// files of 20,000 scattered nodes (the same nodes in every file, three value
// columns) regridded onto a 300 x 300 model grid, once with a fresh
// triangulation for every value column and once with the triangulation
// reused across columns and files.  Prints the seconds of every file and
// checks that both ways write the same bytes.
//
// Usage: orvel_bench_regrid [nodes [files [grid side]]]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "common/format.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/regrid.hpp"
#include "forcing/regrid_detail.hpp"

namespace fs = std::filesystem;
using namespace orvel;

namespace {

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Processor time of the process: on a shared machine it varies far less
// than the elapsed time.
struct clock_point {
  std::clock_t cpu = std::clock();
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
};
struct span_seconds {
  double cpu, wall;
};
span_seconds seconds_since(const clock_point& t0) {
  return {static_cast<double>(std::clock() - t0.cpu) / CLOCKS_PER_SEC,
          std::chrono::duration<double>(std::chrono::steady_clock::now() - t0.wall).count()};
}

}  // namespace

int main(int argc, char** argv) {
  const int nodes = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int nfiles = argc > 2 ? std::atoi(argv[2]) : 10;
  const int side = argc > 3 ? std::atoi(argv[3]) : 300;

  const fs::path work =
      fs::temp_directory_path() / ("orvel-bench-regrid-" + std::to_string(::getpid()));
  fs::create_directories(work);
  fs::current_path(work);

  reset_state();
  // Model grid over 10W-8W, 43N-45N.
  var_mallas.xcells_number = side;
  var_mallas.ycells_number = side;
  var_mallas.xbat.allocate(side * side);
  var_mallas.ybat.allocate(side * side);
  for (int i = 1; i <= side; ++i) {
    for (int j = 1; j <= side; ++j) {
      var_mallas.xbat((i - 1) * side + j) = 350.0 + 2.0 * (i - 1) / (side - 1);
      var_mallas.ybat((i - 1) * side + j) = 43.0 + 2.0 * (j - 1) / (side - 1);
    }
  }

  // The same scattered nodes in every file, a little beyond the grid.
  std::mt19937 g(2024);
  std::uniform_real_distribution<double> ux(-10.1, -7.9), uy(42.9, 45.1);
  std::vector<double> lon(nodes), lat(nodes);
  for (int k = 0; k < nodes; ++k) {
    lon[k] = ux(g);
    lat[k] = uy(g);
  }
  std::string list;
  std::vector<std::string> names;
  for (int f = 1; f <= nfiles; ++f) {
    const std::string name = "waves_" + std::to_string(f) + ".txt";
    names.push_back(name);
    list += name + "\n";
    std::string text;
    for (int k = 0; k < nodes; ++k) {
      const double h = 1.5 + 0.5 * std::sin(3.0 * lon[k] + 0.2 * f) * std::cos(2.0 * lat[k]);
      const double dir =
          std::fmod(300.0 + 40.0 * std::sin(lon[k] - lat[k] + 0.1 * f) + 360.0, 360.0);
      const double per = 8.0 + std::cos(lat[k] * 4.0 - 0.3 * f);
      text += fmt_f(lon[k], 12, 6) + fmt_f(lat[k], 12, 6) + fmt_f(h, 8, 3) + fmt_f(dir, 9, 3) +
              fmt_f(per, 8, 3) + "\n";
    }
    std::ofstream(name) << text;
  }
  std::ofstream("lstwaves.pre") << list;

  std::printf("%d files of %d scattered nodes (three value columns) onto a %d x %d model grid\n",
              nfiles, nodes, side, side);
  std::vector<std::string> written[2];
  for (int pass = 0; pass < 2; ++pass) {
    const bool reuse = pass == 1;
    regrid_detail::file_regridder r(regrid_detail::forcing_kind::waves, 1, reuse);
    std::printf("%s\n",
                reuse ? "reused triangulation:" : "literal (a triangulation per value column):");
    span_seconds total{0.0, 0.0};
    for (int f = 0; f < nfiles; ++f) {
      const clock_point t0;
      r.read_and_interpolate(0, names[f], nodes);
      r.write(0);
      const span_seconds s = seconds_since(t0);
      total.cpu += s.cpu;
      total.wall += s.wall;
      std::printf("  file %2d: %8.3f s processor, %8.3f s elapsed\n", f + 1, s.cpu, s.wall);
      written[pass].push_back(slurp("INT_" + names[f]));
    }
    std::printf("  total:   %8.3f s processor, %8.3f s elapsed; triangulations: %d\n", total.cpu,
                total.wall, r.interpolator().triangulations());
  }
  std::printf("INT_ files identical: %s\n", written[0] == written[1] ? "yes" : "NO");

  // Where the time of a further file goes.
  {
    clock_point t0;
    const auto s =
        regrid_detail::read_scattered(names[0], nodes, regrid_detail::forcing_kind::waves);
    const double t_read = seconds_since(t0).cpu;
    const std::vector<std::vector<float>> columns = {s.values[0], s.values[1], s.values[1],
                                                     s.values[2]};
    regrid_detail::column_interpolator ci(1, true);
    std::vector<std::vector<float>> out;
    const std::span<const double> xi(var_mallas.xbat.data(), side * side);
    const std::span<const double> yi(var_mallas.ybat.data(), side * side);
    t0 = clock_point();
    ci.interpolate(0, s.x, s.y, columns, xi, yi, out);
    const double t_first = seconds_since(t0).cpu;
    t0 = clock_point();
    ci.interpolate(0, s.x, s.y, columns, xi, yi, out);
    const double t_reused = seconds_since(t0).cpu;
    regrid_detail::file_regridder r(regrid_detail::forcing_kind::waves, 1, true);
    r.read_and_interpolate(0, names[0], nodes);
    t0 = clock_point();
    r.write(0);
    const double t_write = seconds_since(t0).cpu;
    std::printf(
        "one file (processor time): reading %.3f s; four columns with triangulation %.3f s, reused "
        "%.3f s; "
        "writing %.3f s\n",
        t_read, t_first, t_reused, t_write);
  }

  // The whole call as the start-up makes it.
  int32_t n = nodes;
  const clock_point t0;
  interpola_malla(3, n, nfiles);
  const span_seconds s = seconds_since(t0);
  std::printf("interpola_malla, %d files: %.3f s processor, %.3f s elapsed\n", nfiles, s.cpu,
              s.wall);

  fs::current_path(fs::temp_directory_path());
  fs::remove_all(work);
  return written[0] == written[1] ? 0 : 1;
}
