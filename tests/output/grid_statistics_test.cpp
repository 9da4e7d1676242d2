// Counting particles into the concentration grid: presence fractions, the
// all-spill counts and fractions, the surface mass per area, which particles
// count (window limits, cells past the grid, start times, states, substance
// kinds), and conservation on random clouds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "control/state/all.hpp"
#include "output/grid_statistics.hpp"
#include "output/grid_work.hpp"
#include "tests/output/grid_setup.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::cell;
using testing::grid_case;
using testing::put;
using testing::set_grid;
using testing::temp_dir;

// Presence of every spill, then the mass of every spill, at step `step`.
void output_at(int32_t step, bool three_d = false, bool hns2d = false) {
  const int32_t ns = var_cfg.spills_number;
  for (int32_t s = 1; s <= ns; ++s) three_d ? probabilidad_3d(s, step) : probabilidad(s, step);
  for (int32_t s = 1; s <= ns; ++s) {
    hns2d ? concentracion_hns2d(s, step, "TEST", 1, step) : concentracion(s, step, "TEST", 1, step);
  }
}

// The counted cells of the last mass call.
const spill_grid& counted() { return grid_work().counted; }

TEST(GridStatistics, TwoSpillsSharingACell) {
  temp_dir dir;
  grid_case g;
  g.spills = 2;
  g.particles = 100;
  set_grid(g);
  // The last row and column of cells take only particles on the window's
  // north and east limits: the cells used here lie inside.
  for (int32_t j = 1; j <= 30; ++j) put(j, 1, 2, 2);
  for (int32_t j = 1; j <= 10; ++j) put(j, 2, 2, 2);
  put(31, 1, 3, 1);
  output_at(4);
  const int32_t k = cell(2, 2);
  EXPECT_EQ(presence_fraction(k, 1), 0.3f);
  EXPECT_EQ(presence_fraction(k, 2), 0.1f);
  EXPECT_EQ(var_mallas.probint(k), 40.0f);
  EXPECT_EQ(var_mallas.probtot(k), 0.2f);
  EXPECT_EQ(presence_fraction(cell(3, 1), 1), 0.01f);
  EXPECT_EQ(var_mallas.probtot(cell(3, 1)), 0.005f);
  EXPECT_EQ(var_mallasconc.concint(k), 40);

  // The next output time starts from empty grids: the cells of the previous
  // one are cleared.
  for (int32_t j = 1; j <= 30; ++j) put(j, 1, 1, 1);
  for (int32_t j = 1; j <= 10; ++j) var_part.x_part(j, 2) = 300.0;
  output_at(8);
  EXPECT_EQ(var_mallas.probint(k), 0.0f);
  EXPECT_EQ(var_mallas.probtot(k), 0.0f);
  EXPECT_EQ(var_mallasconc.concint(k), 0);
  EXPECT_EQ(var_mallasconc.conctot(k), 0.0f);
  EXPECT_EQ(presence_fraction(k, 1), 0.0f);
  EXPECT_EQ(var_mallas.probint(cell(1, 1)), 30.0f);
  EXPECT_EQ(var_mallas.probint(cell(3, 1)), 1.0f);
  for (float v : var_mallas.probint) EXPECT_TRUE(v == 0.0f || v == 30.0f || v == 1.0f);
}

TEST(GridStatistics, SurfaceMassPerAreaInEveryOrder) {
  // Three 2-kg and one 5-kg particle in a cell of 1e6 m2 (1000 m sides at
  // the equator): 11 kg / 1e6 m2.
  temp_dir dir;
  grid_case g;
  g.dx = g.dy = 1000.0 / testing::factor;
  set_grid(g);
  std::vector<double> masses = {2.0, 2.0, 2.0, 5.0};
  std::sort(masses.begin(), masses.end());
  int orders = 0;
  do {
    for (int32_t j = 1; j <= 4; ++j) {
      put(j, 1, 3, 2);
      var4.massparticle(j, 1) = masses[static_cast<std::size_t>(j - 1)];
    }
    output_at(1);
    ASSERT_EQ(counted().cell, std::vector<int32_t>{cell(3, 2)});
    EXPECT_EQ(counted().count[0], 4);
    EXPECT_FLOAT_EQ(counted().concver[0], 1.1e-5f);
    EXPECT_EQ(counted().concver[0], static_cast<float>(11.0 / testing::cell_area()));
    ++orders;
  } while (std::next_permutation(masses.begin(), masses.end()));
  EXPECT_EQ(orders, 4);
}

TEST(GridStatistics, WindowLimitsAndCellsPastTheGrid) {
  // Grid 350 .. 350.75 by 43 .. 43.5 (4 x 3 nodes, 0.25 degrees): every
  // value below is exact in single precision.
  struct position_case {
    const char* what;
    double x;
    double y;
    int32_t expected_cell;  // 0: not counted
  };
  const double below_x = std::nextafter(350.0f, 0.0f);
  const double above_y = std::nextafter(43.5f, 100.0f);
  const position_case cases[] = {
      {"south-west corner", 350.0, 43.0, 1},
      {"east limit", 350.75, 43.1, 10},
      {"north limit", 350.3, 43.5, 6},
      {"north-east corner", 350.75, 43.5, 12},
      {"just west", below_x, 43.1, 0},
      {"just north", 350.3, above_y, 0},
      {"far outside", 340.0, 10.0, 0},
  };
  for (const auto& c : cases) {
    for (const bool hns2d : {false, true}) {
      temp_dir dir;
      grid_case g;
      g.particles = 1;
      g.object = hns2d ? 3 : 2;
      set_grid(g);
      var_part.x_part(1, 1) = c.x;
      var_part.y_part(1, 1) = c.y;
      output_at(1, false, hns2d);
      const std::vector<int32_t> expected = c.expected_cell ? std::vector<int32_t>{c.expected_cell}
                                                            : std::vector<int32_t>{};
      EXPECT_EQ(counted().cell, expected) << c.what;
      for (int32_t k = 1; k <= 12; ++k) {
        EXPECT_EQ(var_mallas.probint(k), k == c.expected_cell ? 1.0f : 0.0f) << c.what << " cell " << k;
      }
    }
  }
}

TEST(GridStatistics, AnEdgeParticleWhoseCellFallsPastTheGridIsSkipped) {
  // The window reaches a rounding error past the last row and column: a
  // particle there would be counted in row ny + 1, which is the first cell
  // of the next column, or in a column past the grid.
  temp_dir dir;
  grid_case g;
  g.particles = 3;
  g.spills = 2;
  set_grid(g);
  auto& c = var_mallasconc;
  c.latscc = 43.75;
  c.lonscc = 351.0;
  var_part.x_part(1, 1) = 350.3;  // column 2, row 4
  var_part.y_part(1, 1) = 43.75;
  var_part.x_part(2, 1) = 351.0;  // column 5
  var_part.y_part(2, 1) = 43.1;
  put(3, 1, 1, 2);
  output_at(1);
  for (int32_t k = 1; k <= 12; ++k) EXPECT_EQ(var_mallas.probint(k), k == cell(1, 2) ? 1.0f : 0.0f) << k;
  EXPECT_EQ(presence_fraction(cell(1, 2), 1), 1.0f / 3.0f);
  EXPECT_EQ(presence_fraction(cell(3, 1), 1), 0.0f);  // (2, 4) read as the cell after (2, 3)
  for (int32_t k = 1; k <= 12; ++k) EXPECT_EQ(var_mallasconc.concint(k), k == cell(1, 2) ? 1 : 0) << k;
}

TEST(GridStatistics, SpillsCountFromTheirStart) {
  // Steps of 900 s.  At the time-0 output (step 1) a spill starting within
  // the first step counts; one starting later counts from its first output.
  struct start_case {
    double start;
    int32_t step;
    bool counts;
  };
  for (const auto& c : {start_case{0.0, 1, true}, start_case{600.0, 1, true}, start_case{900.0, 1, true},
                        start_case{901.0, 1, false}, start_case{901.0, 2, true}, start_case{7200.0, 7, false}}) {
    temp_dir dir;
    grid_case g;
    g.spills = 2;
    set_grid(g);
    var_cfg.spillstarttime(2) = c.start;
    put(1, 1, 1, 1);
    put(1, 2, 2, 2);
    output_at(c.step);
    EXPECT_EQ(presence_fraction(cell(2, 2), 2), c.counts ? 0.25f : 0.0f) << c.start << " " << c.step;
    EXPECT_EQ(var_mallasconc.concint(cell(2, 2)), c.counts ? 1 : 0) << c.start << " " << c.step;
    EXPECT_EQ(counted().cell.size(), c.counts ? 1u : 0u);
  }
}

TEST(GridStatistics, WhichParticlesCountByStateAndSubstance) {
  // One particle of each state in its own cell of row 1: 1 at the surface,
  // 5 in the water column, -1 on the floor, 0 beached, 2 and 3 over dry
  // cells, 4 in the air, -2 lost; particle j in cell (j, 1) of a 9 x 2
  // grid, 3 kg each.
  const int32_t states[] = {1, 5, -1, 0, 2, 3, 4, -2};
  struct kind_case {
    const char* what;
    int32_t object;
    int32_t dims;
    bool hns2d;
    std::vector<int32_t> counted_states;  // counted for mass and count
    bool masses;
  };
  const kind_case cases[] = {
      {"oil 2-D", 2, 1, false, {1}, true},
      {"oil 3-D", 2, 2, false, {1}, true},
      {"floating object", 1, 1, false, {1}, false},
      {"HNS 2-D", 3, 1, true, {1, 5, -1, 0, 2, 3, 4, -2}, true},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    grid_case g;
    g.nx = 9;
    g.ny = 2;
    g.particles = 8;
    g.spills = 2;
    g.object = c.object;
    g.dims = c.dims;
    set_grid(g);
    for (int32_t j = 1; j <= 8; ++j) {
      put(j, 1, j, 1, states[j - 1]);
      var4.massparticle(j, 1) = 3.0;
    }
    output_at(1, c.dims == 2, c.hns2d);
    const double area = testing::cell_area();
    for (int32_t j = 1; j <= 8; ++j) {
      const bool counts =
          std::find(c.counted_states.begin(), c.counted_states.end(), states[j - 1]) != c.counted_states.end();
      // Presence counts every particle in the window.
      const int32_t k = cell(j, 1);
      EXPECT_EQ(var_mallas.probint(k), 1.0f) << c.what << " state " << states[j - 1];
      EXPECT_EQ(var_mallasconc.concint(k), counts ? 1 : 0) << c.what << " state " << states[j - 1];
      EXPECT_EQ(var_mallasconc.conctot(k), counts && c.masses ? static_cast<float>(3.0 / area) : 0.0f)
          << c.what << " state " << states[j - 1];
      if (c.dims == 2) {
        // Only the surface class is kept beside the all-state grid: states
        // 4 and -2 (and the other classes) raise the all-state grid only.
        EXPECT_EQ(var_mallas.probint_sup(k), states[j - 1] == 1 ? 1.0f : 0.0f) << c.what << " " << states[j - 1];
        EXPECT_EQ(var_mallas.probtot_sup(k), states[j - 1] == 1 ? 1.0f / 16.0f : 0.0f) << c.what;
      }
    }
  }
}

TEST(GridStatistics, HnsThreeDimensionalMassCountsEveryDropletOfAParticle) {
  temp_dir dir;
  grid_case g;
  g.object = 3;
  g.dims = 2;
  g.particles = 2;
  set_grid(g);
  put(1, 1, 1, 1);
  put(2, 1, 1, 1, 5);  // below the surface: not counted
  var4.massparticle(1, 1) = 2.5e-6;  // one droplet
  var_hns_extra.equiv_part(1, 1) = 4.0e5f;
  output_at(1, true);
  ASSERT_EQ(counted().cell, std::vector<int32_t>{1});
  EXPECT_FLOAT_EQ(counted().concver[0], static_cast<float>(1.0 / testing::cell_area()));
}

// A random cloud: `spills` spills of `particles`, most inside the window,
// a few outside, random states and masses.
void random_cloud(std::mt19937& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const auto& c = var_mallasconc;
  const int32_t states[] = {1, 1, 1, 5, 0, -1, 4};
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
    for (int32_t j = 1; j <= var_run.particle_number; ++j) {
      const bool inside = u(rng) < 0.9;
      // Inside, clear of the limits by more than a single-precision rounding.
      const double fx = 0.001 + 0.998 * u(rng);
      const double fy = 0.001 + 0.998 * u(rng);
      var_part.x_part(j, s) = inside ? c.lonicc + fx * (c.lonscc - c.lonicc) : c.lonscc + 0.1 + u(rng);
      var_part.y_part(j, s) = c.laticc + fy * (c.latscc - c.laticc);
      var_part.indp(j, s) = states[static_cast<std::size_t>(u(rng) * 7.0)];
      var4.massparticle(j, s) = 10.0 + 90.0 * u(rng);
    }
    var4.mass_diss_cumul(s) = static_cast<float>(1.0e8 * (1.0 + u(rng)));
  }
}

// Reads the rows of a grid file: column values by cell centre.
std::vector<std::vector<double>> rows_of(const std::string& file) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(testing::read_file(file));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) v.push_back(std::strtod(f.c_str(), nullptr));
    rows.push_back(v);
  }
  return rows;
}

TEST(GridStatistics, ConservationOnRandomClouds) {
  // Three sub-spills of 500 particles of an HNS (2-D: every particle counts)
  // and of oil (surface particles only), on a 20 x 15 grid, two output
  // times.
  for (const int32_t object : {2, 3}) {
    temp_dir dir;
    std::mt19937 rng(7 + object);
    grid_case g;
    g.nx = 20;
    g.ny = 15;
    g.dx = g.dy = 0.01;
    g.spills = 3;
    g.particles = 500;
    g.object = object;
    g.release = 2;
    g.latmean = 43.0;
    set_grid(g);
    const bool hns2d = object == 3;
    const double area = testing::cell_area();
    for (const int32_t step : {4, 8}) {
      random_cloud(rng);
      const int32_t ns = var_cfg.spills_number;
      const int32_t np = var_run.particle_number;
      for (int32_t s = 1; s <= ns; ++s) probabilidad(s, step);
      std::map<int32_t, double> diss_sum;  // summed dissolved per cell of the sub-spill files
      for (int32_t s = 1; s <= ns; ++s) {
        // Presence fractions add up to the share of particles inside the window.
        int32_t inside = 0;
        const auto& c = var_mallasconc;
        for (int32_t j = 1; j <= np; ++j) inside += var_part.x_part(j, s) < c.lonscc ? 1 : 0;
        double fractions = 0.0;
        for (int32_t k = 1; k <= g.nx * g.ny; ++k) fractions += presence_fraction(k, s);
        EXPECT_NEAR(fractions, static_cast<double>(inside) / np, 1e-5) << object << " " << s;

        hns2d ? concentracion_hns2d(s, step, "TEST", 1, step) : concentracion(s, step, "TEST", 1, step);
        // Mass per area times the cell area gives the mass of the counted particles.
        double counted_mass = 0.0;
        int32_t counted_particles = 0;
        for (int32_t j = 1; j <= np; ++j) {
          const bool in = var_part.x_part(j, s) < c.lonscc;
          if (in && (hns2d || var_part.indp(j, s) == 1)) {
            counted_mass += var4.massparticle(j, s);
            ++counted_particles;
          }
        }
        double gridded = 0.0;
        int32_t gridded_particles = 0;
        for (std::size_t i = 0; i < counted().cell.size(); ++i) {
          gridded += static_cast<double>(counted().concver[i]) * area;
          gridded_particles += counted().count[i];
        }
        EXPECT_NEAR(gridded, counted_mass, 1e-6 * counted_mass) << object << " " << s;
        EXPECT_EQ(gridded_particles, counted_particles);
        if (hns2d) {
          // The dissolved column, summed the same way: the spill's dissolved
          // mass in proportion to its counted particles.
          double dissolved = 0.0;
          char name[64];
          std::snprintf(name, sizeof name, "TEST_grid_subspill_%03d_%06d.txt", s, step * 15);
          for (const auto& r : rows_of(name)) {
            dissolved += r[4] * area;
            diss_sum[static_cast<int32_t>(std::lround((r[1] + 10.0) / g.dx - 0.5)) * 1000 +
                     static_cast<int32_t>(std::lround((r[2] - 43.0) / g.dy - 0.5))] += r[4];
          }
          const double expected = static_cast<double>(var4.mass_diss_cumul(s)) * counted_particles / np;
          EXPECT_NEAR(dissolved, expected, 1e-6 * expected + 1e-7 * area * counted().cell.size()) << s;
        }
      }
      if (hns2d) {
        // The all-sub-spill dissolved value of each cell is the sum of the
        // sub-spills' values at this output time.
        char name[64];
        std::snprintf(name, sizeof name, "TEST_grid_001_%06d.txt", step * 15);
        int32_t rows_with_mass = 0;
        for (const auto& r : rows_of(name)) {
          const int32_t key = static_cast<int32_t>(std::lround((r[1] + 10.0) / g.dx - 0.5)) * 1000 +
                              static_cast<int32_t>(std::lround((r[2] - 43.0) / g.dy - 0.5));
          EXPECT_NEAR(r[4], diss_sum[key], 5e-7) << key;
          rows_with_mass += diss_sum[key] > 0.0 ? 1 : 0;
        }
        EXPECT_GT(rows_with_mass, 100);
      }
    }
  }
}

}  // namespace
}  // namespace orvel
