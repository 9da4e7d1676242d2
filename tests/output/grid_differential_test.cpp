// The model's grid statistics and files (sparse: only the cells that hold
// particles are visited, cleared or kept per spill) against the literal
// full-grid computation: identical files on random and adversarial clouds,
// over several output times in a row.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "control/state/all.hpp"
#include "output/grid_statistics.hpp"
#include "tests/output/grid_reference.hpp"
#include "tests/output/grid_setup.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::grid_case;
using testing::temp_dir;

enum class cloud { random, edges, one_cell, every_cell };

struct diff_case {
  const char* what;
  int32_t object;  // 1 floating object, 2 oil, 3 HNS
  int32_t dims;
  int32_t release;
  int32_t spills;
  int32_t particles;
  cloud kind;
};

// Positions on and around the window's limits and the grid nodes: exactly
// on a node, one double or one single-precision step either side, a little
// outside, or anywhere.
double edge_coordinate(std::mt19937& rng, double lo, double d, int32_t n) {
  std::uniform_int_distribution<int> pick(0, 6);
  std::uniform_int_distribution<int32_t> node(0, n - 1);
  const double on = lo + node(rng) * d;
  switch (pick(rng)) {
    case 0:
      return on;
    case 1:
      return std::nextafter(on, 1e9);
    case 2:
      return std::nextafter(on, -1e9);
    case 3:
      return std::nextafter(static_cast<float>(on), 1e9f);
    case 4:
      return std::nextafter(static_cast<float>(on), -1e9f);
    case 5:
      return rng() % 2 ? lo - 1e-9 : lo + (n - 1) * d + 1e-9;
    default:
      return lo + std::uniform_real_distribution<double>(-0.05, 1.05)(rng) * (n - 1) * d;
  }
}

void place(const diff_case& c, std::mt19937& rng) {
  const auto& g = var_mallasconc;
  const int32_t nx = g.concxcells_number;
  const int32_t ny = g.concycells_number;
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const int32_t states[] = {1, 1, 1, 1, 5, 0, -1, 2, 3, 4, -2};
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
    for (int32_t j = 1; j <= var_run.particle_number; ++j) {
      double x = 0.0;
      double y = 0.0;
      switch (c.kind) {
        case cloud::random:
          x = g.lonicc + (u(rng) * 1.2 - 0.1) * (g.lonscc - g.lonicc);
          y = g.laticc + (u(rng) * 1.2 - 0.1) * (g.latscc - g.laticc);
          break;
        case cloud::edges:
          x = edge_coordinate(rng, g.lonicc, g.concdeltax, nx);
          y = edge_coordinate(rng, g.laticc, g.concdeltay, ny);
          break;
        case cloud::one_cell:
          x = g.concgrid0_x + (5.0 + u(rng)) * g.concdeltax;
          y = g.concgrid0_y + (3.0 + u(rng)) * g.concdeltay;
          break;
        case cloud::every_cell: {
          // Node by node, the last column and row on the limits.
          const int32_t k = (j - 1 + s) % (nx * ny);
          x = g.concgrid0_x + (k / ny) * g.concdeltax;
          y = g.concgrid0_y + (k % ny) * g.concdeltay;
          break;
        }
      }
      var_part.x_part(j, s) = x;
      var_part.y_part(j, s) = y;
      var_part.indp(j, s) = states[rng() % 11];
      var4.massparticle(j, s) = 1.0 + 1.0e4 * u(rng);
      var_hns_extra.equiv_part(j, s) = static_cast<float>(1 + rng() % 1000);
    }
    var4.mass_diss_cumul(s) = static_cast<float>(1.0e6 * u(rng));
  }
}

// Runs four output times (time 0, the end of step 1, 1 h and 2 h) with a new
// cloud each, by the model's routines or the literal ones, and returns the
// files written.
std::map<std::string, std::string> run(const diff_case& c, bool literal) {
  temp_dir dir;
  grid_case g;
  g.nx = 23;
  g.ny = 17;
  g.x0 = 351.3;
  g.y0 = 42.91;
  g.dx = 0.037;
  g.dy = 0.029;
  g.latmean = 43.1;
  g.spills = c.spills;
  g.particles = c.particles;
  g.object = c.object;
  g.release = c.release;
  g.dims = c.dims;
  testing::set_grid(g);
  // Staggered starts: a sub-spill every 30 minutes, so some have not
  // started at the early outputs.
  for (int32_t s = 1; s <= c.spills; ++s) var_cfg.spillstarttime(s) = c.release == 2 ? 1800.0 * (s - 1) : 0.0;
  const bool three_d = c.dims == 2;
  const bool hns2d = c.object == 3 && c.dims == 1;
  std::mt19937 rng(17);
  testing::literal_grids ref;
  for (const auto& [step, stamp] : {std::pair{1, 0}, std::pair{1, 1}, std::pair{4, 4}, std::pair{8, 8}}) {
    place(c, rng);
    int32_t started = 0;
    for (int32_t s = 1; s <= c.spills; ++s) {
      started += var_cfg.spillstarttime(s) <= static_cast<double>(static_cast<float>(step) * var_run.deltat);
    }
    var_mallas.cont_p = started;
    for (int32_t s = 1; s <= c.spills; ++s) {
      if (literal) {
        ref.presence(s, step, three_d);
      } else {
        three_d ? probabilidad_3d(s, step) : probabilidad(s, step);
      }
    }
    for (int32_t s = 1; s <= c.spills; ++s) {
      if (literal) {
        ref.mass(s, step, stamp, hns2d);
      } else if (hns2d) {
        concentracion_hns2d(s, step, "TEST", 1, stamp);
      } else {
        concentracion(s, step, "TEST", 1, stamp);
      }
    }
  }
  std::map<std::string, std::string> files;
  for (const auto& f : dir.files()) files[f] = testing::read_file(f);
  return files;
}

TEST(GridDifferential, SparseAndFullScanWriteTheSameFiles) {
  const diff_case cases[] = {
      {"oil 2-D, random, three spills", 2, 1, 1, 3, 400, cloud::random},
      {"oil 2-D, edges", 2, 1, 1, 2, 600, cloud::edges},
      {"oil 2-D, one cell", 2, 1, 1, 2, 50, cloud::one_cell},
      {"oil 2-D, every cell", 2, 1, 1, 2, 23 * 17 + 5, cloud::every_cell},
      {"oil 2-D, continuous", 2, 1, 2, 6, 200, cloud::random},
      {"oil 2-D, continuous, edges", 2, 1, 2, 4, 300, cloud::edges},
      {"oil 2-D, a single sub-spill", 2, 1, 2, 1, 300, cloud::random},
      {"oil 3-D, continuous", 2, 2, 2, 5, 300, cloud::random},
      {"oil 3-D, continuous, every cell", 2, 2, 2, 3, 23 * 17, cloud::every_cell},
      {"oil 3-D, a single sub-spill", 2, 2, 2, 1, 300, cloud::edges},
      {"floating object, continuous", 1, 1, 2, 4, 300, cloud::random},
      {"floating object, one spill", 1, 1, 1, 1, 300, cloud::edges},
      {"HNS 2-D, continuous", 3, 1, 2, 5, 300, cloud::random},
      {"HNS 2-D, a single sub-spill, edges", 3, 1, 2, 1, 400, cloud::edges},
      {"HNS 2-D, instantaneous, every cell", 3, 1, 1, 2, 23 * 17, cloud::every_cell},
      {"HNS 3-D, continuous", 3, 2, 2, 4, 300, cloud::random},
      {"HNS 3-D, one cell", 3, 2, 2, 3, 80, cloud::one_cell},
  };
  for (const auto& c : cases) {
    const auto fast = run(c, false);
    const auto full = run(c, true);
    EXPECT_FALSE(fast.empty()) << c.what;
    EXPECT_EQ(fast.size(), full.size()) << c.what;
    for (const auto& [name, text] : full) {
      const auto it = fast.find(name);
      ASSERT_NE(it, fast.end()) << c.what << ": " << name;
      EXPECT_EQ(it->second, text) << c.what << ": " << name;
    }
  }
}

}  // namespace
}  // namespace orvel
