// Grid files byte for byte against files written by hand: the column sets of
// a floating object, oil and an HNS, the all-sub-spill file of a continuous
// release, the time stamp, cell centres on the model grid, and no file for a
// spill with no counted particle.
//
// The grid: 4 x 3 nodes of 0.25 degrees from 10 W, 43 N, mean latitude 0, so
// a cell is (0.25 * 111317.359375 m)^2 = 774472156.14 m2; 1e9 kg in a cell
// is 1.2912020 kg/m2.  Particles sit in cell centres; the last row and
// column of cells take only particles on the window limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "output/grid_statistics.hpp"
#include "tests/output/grid_setup.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::grid_case;
using testing::put;
using testing::read_file;
using testing::set_grid;
using testing::temp_dir;

const std::string floating_header =
    "time (h), longitude (\xBA), latitude (\xBA), presence_probability (%), particles_per_cell (-)\n";
const std::string oil_header =
    "time (h), longitude (\xBA), latitude (\xBA), surface_mass_per_area (kg/m2), presence_probability (%), "
    "particles_per_cell (-)\n";
const std::string hns_header =
    "time (h), longitude (\xBA), latitude (\xBA), surface_mass_per_area (kg/m2), dissolved_mass_per_area (kg/m2), "
    "presence_probability (%), particles_per_cell (-)\n";

// Presence of every spill, then the grids of every spill.
void output_at(int32_t step, int32_t stamp, bool three_d = false, bool hns2d = false) {
  const int32_t ns = var_cfg.spills_number;
  for (int32_t s = 1; s <= ns; ++s) three_d ? probabilidad_3d(s, step) : probabilidad(s, step);
  for (int32_t s = 1; s <= ns; ++s) {
    hns2d ? concentracion_hns2d(s, step, "TEST", 1, stamp) : concentracion(s, step, "TEST", 1, stamp);
  }
}

// One spill of four particles: two (1e9 and 1.5e9 kg) in cell (2, 1), one
// (2e9 kg) in cell (1, 2), one beached (3e9 kg) in cell (3, 1).
void one_spill(int32_t object) {
  grid_case g;
  g.object = object;
  set_grid(g);
  put(1, 1, 2, 1);
  put(2, 1, 2, 1);
  put(3, 1, 1, 2);
  put(4, 1, 3, 1, 0);
  const double m[] = {1.0e9, 1.5e9, 2.0e9, 3.0e9};
  for (int32_t j = 1; j <= 4; ++j) var4.massparticle(j, 1) = m[j - 1];
  var4.mass_diss_cumul(1) = 8.0e8f;
}

TEST(GridFiles, ColumnSetsOfEachSubstance) {
  {
    temp_dir dir;
    one_spill(2);
    output_at(4, 4);
    EXPECT_EQ(read_file("TEST_grid_001_000060.txt"),
              oil_header +
                  "    1.00,    -9.8750000,   43.3750000,                        2.5824,                    25.00,"
                  "                      1\n"
                  "    1.00,    -9.6250000,   43.1250000,                        3.2280,                    50.00,"
                  "                      2\n");
    EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST_grid_001_000060.txt"});
  }
  {
    // Every HNS particle counts in 2-D, the beached one too; the dissolved
    // 8e8 kg is 2e8 kg per particle.
    temp_dir dir;
    one_spill(3);
    output_at(4, 4, false, true);
    EXPECT_EQ(read_file("TEST_grid_001_000060.txt"),
              hns_header +
                  "    1.00,    -9.8750000,   43.3750000,                        2.5824,                       "
                  "0.2582404,                    25.00,                      1\n"
                  "    1.00,    -9.6250000,   43.1250000,                        3.2280,                       "
                  "0.5164808,                    50.00,                      2\n"
                  "    1.00,    -9.3750000,   43.1250000,                        3.8736,                       "
                  "0.2582404,                    25.00,                      1\n");
  }
  {
    temp_dir dir;
    one_spill(1);
    output_at(4, 4);
    EXPECT_EQ(read_file("TEST_grid_001_000060.txt"),
              floating_header +
                  "    1.00,    -9.8750000,   43.3750000,                    25.00,                      1\n"
                  "    1.00,    -9.6250000,   43.1250000,                    50.00,                      2\n");
  }
}

// Three sub-spills of four particles, the third not started at 2 h (cont_p
// 2): sub-spill 1 has two 1e9-kg particles in cell (1, 1) and one beached
// in (2, 1); sub-spill 2 one 1e9-kg particle in (1, 1) and a 2e9-kg one in
// (2, 2).
void three_subspills(int32_t dims) {
  grid_case g;
  g.spills = 3;
  g.release = 2;
  g.dims = dims;
  set_grid(g);
  var_mallas.cont_p = 2;
  var_cfg.spillstarttime(2) = 3600.0;
  var_cfg.spillstarttime(3) = 10800.0;
  put(1, 1, 1, 1);
  put(2, 1, 1, 1);
  put(3, 1, 2, 1, 0);
  put(1, 2, 1, 1);
  put(2, 2, 2, 2);
  put(1, 3, 1, 1);
  for (int32_t s = 1; s <= 3; ++s) {
    for (int32_t j = 1; j <= 4; ++j) var4.massparticle(j, s) = 1.0e9;
  }
  var4.massparticle(2, 2) = 2.0e9;
}

TEST(GridFiles, AllSubSpillFileOfAContinuousRelease) {
  // Rows by presence: the cell of the beached particle has a row with no
  // particle counted; in 3-D its surface presence reads 0.00.
  struct dims_case {
    int32_t dims;
    const char* beached_presence;
  };
  for (const auto& c : {dims_case{1, "12.50"}, dims_case{2, " 0.00"}}) {
    temp_dir dir;
    three_subspills(c.dims);
    output_at(8, 8, c.dims == 2);
    EXPECT_EQ(read_file("TEST_grid_001_000120.txt"),
              oil_header +
                  "    2.00,    -9.8750000,   43.1250000,                        3.8736,                    37.50,"
                  "                      3\n"
                  "    2.00,    -9.6250000,   43.1250000,                        0.0000,                    " +
                  c.beached_presence +
                  ",                      0\n"
                  "    2.00,    -9.6250000,   43.3750000,                        2.5824,                    12.50,"
                  "                      1\n")
        << c.dims;
    EXPECT_EQ(read_file("TEST_grid_subspill_001_000120.txt"),
              oil_header +
                  "    2.00,    -9.8750000,   43.1250000,                        2.5824,                    50.00,"
                  "                      2\n");
    EXPECT_EQ(read_file("TEST_grid_subspill_002_000120.txt"),
              oil_header +
                  "    2.00,    -9.8750000,   43.1250000,                        1.2912,                    25.00,"
                  "                      1\n"
                  "    2.00,    -9.6250000,   43.3750000,                        2.5824,                    25.00,"
                  "                      1\n");
    // The third sub-spill has not started: no file.
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"TEST_grid_001_000120.txt", "TEST_grid_subspill_001_000120.txt",
                                                     "TEST_grid_subspill_002_000120.txt"}));
  }
}

// A grid value that is not a number stops the run, naming the spill of an
// instantaneous release, the sub-spill of a continuous one; no grid file of
// that time is left.
TEST(GridFiles, ARefusedValueNamesItsSpillOrSubSpill) {
  for (const int32_t release : {1, 2}) {
    temp_dir dir;
    grid_case g;
    g.spills = 2;
    g.release = release;
    set_grid(g);
    var_mallas.cont_p = 2;
    for (int32_t s = 1; s <= 2; ++s) {
      put(1, s, 1, 1);
      put(2, s, 2, 1);
      for (int32_t j = 1; j <= 4; ++j) var4.massparticle(j, s) = 1.0e9;
    }
    var4.massparticle(2, 2) = std::nan("");
    try {
      output_at(4, 4);
      ADD_FAILURE() << "no stop";
    } catch (const run_stop& e) {
      const std::string what = e.what();
      EXPECT_EQ(what, std::string("orvel: error: the result surface_mass_per_area (kg/m2) = nan is not a finite number, "
                                  "for cell 4 of ") +
                          (release == 1 ? "spill 2" : "sub-spill 2") +
                          " at 1 h: the run stops and the result files of that time are not written");
    }
    for (const auto& f : dir.files()) EXPECT_EQ(f.find("_002_"), std::string::npos) << f;
  }
}

TEST(GridFiles, ASingleSubSpillRepeatsItsFileOverAllSubSpills) {
  for (const bool hns : {false, true}) {
    temp_dir dir;
    one_spill(hns ? 3 : 2);
    var_cfg.spill__instant_contin = 2;
    var_part.indp(4, 1) = 1;  // all afloat: presence and counts agree
    output_at(4, 4, false, hns);
    const std::string own = read_file("TEST_grid_subspill_001_000060.txt");
    EXPECT_EQ(std::count(own.begin(), own.end(), '\n'), 4);
    EXPECT_EQ(read_file("TEST_grid_001_000060.txt"), own) << hns;
  }
}

TEST(GridFiles, NoFileWithoutCountedParticlesAndOlderFileKept) {
  temp_dir dir;
  one_spill(2);
  for (int32_t j = 1; j <= 4; ++j) var_part.indp(j, 1) = 0;  // all beached
  testing::write_file("TEST_grid_001_000060.txt", "an older file\n");
  output_at(4, 4);
  EXPECT_EQ(read_file("TEST_grid_001_000060.txt"), "an older file\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST_grid_001_000060.txt"});
  // An instantaneous release of several spills never writes an all-spill
  // file.
  grid_case g;
  g.spills = 3;
  set_grid(g);
  for (int32_t s = 1; s <= 3; ++s) put(1, s, 1, 1);
  output_at(4, 4);
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"TEST_grid_001_000060.txt", "TEST_grid_002_000060.txt",
                                                   "TEST_grid_003_000060.txt"}));
}

TEST(GridFiles, TimeStamps) {
  // Both made with step 1: the time-0 output (stamp 0) and, with a grid
  // interval equal to deltat (900 s), the one at the end of the first step.
  struct stamp_case {
    int32_t stamp;
    const char* file;
    const char* hours;
  };
  for (const auto& c : {stamp_case{0, "TEST_grid_001_000000.txt", "    0.00"},
                        stamp_case{1, "TEST_grid_001_000015.txt", "    0.25"}}) {
    temp_dir dir;
    grid_case g;
    g.particles = 1;
    set_grid(g);
    put(1, 1, 1, 2);
    output_at(1, c.stamp);
    EXPECT_EQ(read_file(c.file), oil_header + c.hours +
                                     ",    -9.8750000,   43.3750000,                        0.0000,                   "
                                     "100.00,                      1\n");
  }
}

TEST(GridFiles, OilWithoutParticleMassesCountsWithNoMass) {
  // With weathering off an oil run never sets its particle masses: the
  // particles are counted and the surface mass per area is 0.
  temp_dir dir;
  one_spill(2);
  var4.massparticle.deallocate();
  output_at(4, 4);
  EXPECT_EQ(read_file("TEST_grid_001_000060.txt"),
            oil_header +
                "    1.00,    -9.8750000,   43.3750000,                        0.0000,                    25.00,"
                "                      1\n"
                "    1.00,    -9.6250000,   43.1250000,                        0.0000,                    50.00,"
                "                      2\n");
}

TEST(GridFiles, CellCentresOnTheModelGrid) {
  // Results on the model grid: the centre takes the model grid's spacing;
  // the area still the concentration grid's.
  temp_dir dir;
  one_spill(2);
  var_cfg.concgrid_same_grid__y_n = 1;
  auto& g = var_mallas;
  g.xbat.allocate(12);
  g.ybat.allocate(12);
  for (int32_t k = 1; k <= 12; ++k) {
    g.xbat(k) = var_mallasconc.xbatcc(k);
    g.ybat(k) = var_mallasconc.ybatcc(k);
  }
  g.deltax = 0.5;
  g.deltay = 0.5;
  output_at(4, 4);
  const std::string f = read_file("TEST_grid_001_000060.txt");
  EXPECT_EQ(f.substr(oil_header.size(), f.find('\n', oil_header.size()) - oil_header.size()),
            "    1.00,    -9.7500000,   43.5000000,                        2.5824,                    25.00,"
            "                      1");
}

}  // namespace
}  // namespace orvel
