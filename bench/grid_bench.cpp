// Timing of one presence and grid output: 100,000 particles in 24 sub-spills
// of a continuous release, 2-D oil, over the same cloud on a 100 x 100 and
// on a 2000 x 2000 concentration grid of 0.001-degree cells (the cloud
// covers the south-west 0.1 x 0.1 degree of both).  The time of an output
// follows the particles counted and the cells they touch, not the size of
// the grid.  The files go to a temporary folder.
//
//   orvel_bench_grid

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "output/grid_statistics.hpp"

using namespace orvel;

namespace {

constexpr int32_t spills = 24;
constexpr int32_t particles = 100000 / spills;

void set_up(int32_t side) {
  reset_state();
  auto& c = var_mallasconc;
  const double d = 0.001;
  c.concgrid0_x = 351.0;
  c.concgrid0_y = 43.0;
  c.concdeltax = d;
  c.concdeltay = d;
  c.concxcells_number = side;
  c.concycells_number = side;
  c.conclatmean = 43.0 + side * d / 2;
  c.xbatcc.allocate(side * side);
  c.ybatcc.allocate(side * side);
  for (int32_t i = 1; i <= side; ++i) {
    for (int32_t j = 1; j <= side; ++j) {
      c.xbatcc((i - 1) * side + j) = c.concgrid0_x + (i - 1) * d;
      c.ybatcc((i - 1) * side + j) = c.concgrid0_y + (j - 1) * d;
    }
  }
  c.lonicc = c.concgrid0_x;
  c.lonscc = c.concgrid0_x + (side - 1) * d;
  c.laticc = c.concgrid0_y;
  c.latscc = c.concgrid0_y + (side - 1) * d;
  var_mallas.factor = 111317.359375;
  var_mallas.cont_p = spills;
  var_run.deltat = 600.0f;
  var_run.particle_number = particles;
  var_run.sim__2d_3d = 1;
  var_cfg.spills_number = spills;
  var_cfg.spill__instant_contin = 2;
  var_cfg.obj__floating_fuel_hns = 2;
  var_cfg.spillstarttime.allocate(spills);
  auto& p = var_part;
  p.x_part.allocate(particles, spills);
  p.y_part.allocate(particles, spills);
  p.indp.allocate(particles, spills);
  var4.massparticle.allocate(particles, spills);
  std::mt19937 rng(1);
  std::normal_distribution<double> spread(0.0, 0.015);
  for (int32_t s = 1; s <= spills; ++s) {
    for (int32_t j = 1; j <= particles; ++j) {
      p.x_part(j, s) = 351.05 + spread(rng);
      p.y_part(j, s) = 43.05 + spread(rng);
      p.indp(j, s) = rng() % 10 == 0 ? 0 : 1;
      var4.massparticle(j, s) = 10.0;
    }
  }
}

double one_output(int32_t step) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int32_t s = 1; s <= spills; ++s) probabilidad(s, step);
  for (int32_t s = 1; s <= spills; ++s) concentracion(s, step, "BNCH", 1, step);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  const auto dir = std::filesystem::temp_directory_path() / "orvel-grid-bench";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::printf("%d particles in %d sub-spills, one presence and grid output\n", particles * spills, spills);
  for (const int32_t side : {100, 2000}) {
    set_up(side);
    // The first output of a run sets up the kept grids; the later ones
    // clear only the cells written before.
    const double first = one_output(6);
    double best = 1e300;
    for (int32_t k = 2; k <= 6; ++k) best = std::min(best, one_output(6 * k));
    std::printf("  %4d x %4d cells: first output %8.2f ms, later outputs %8.2f ms\n", side, side, first, best);
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(dir);
  return 0;
}
