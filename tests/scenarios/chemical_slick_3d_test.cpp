// The slick of a three-dimensional chemical run, on the orvel binary, from
// the dissolver example (examples/costa_da_morte_dissolver: 0.01-degree grid
// off the Costa da Morte, 3-D, 300 s steps, 24 hours, hourly rows):
//
// - released at the surface in a calm sea (no waves, so nothing entrained),
//   the same chemical gives the same compartments in 2-D and in 3-D, its
//   floating particles forming the slick;
// - released just under the surface, its droplets come up and form a slick
//   in the middle of the run, which spreads without throwing a particle out
//   of the sea or the grid, and every result stays a number.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr const char* release =
    "1 0.0 20000.0 -9.36 42.97 95.0 50.0 50.0 0.01 0.0005 24.691 0 810.0 20.0 3.6 20.0 73000.0 20.0 0.9 20.0 "
    "74.12 1.0";

// Copies the dissolver example into the working directory.
void copy_example() {
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "examples" / "costa_da_morte_dissolver";
  for (const auto& e : std::filesystem::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
}

// The example's run with `dims` dimensions (1 or 2), the release line
// replaced by `spill`, a uniform wind of `wind` m/s and waves of `waves` m.
void set_up(int dims, const std::string& spill, double wind, double waves) {
  copy_example();
  replace_text("DISS.cfg", release, spill);
  replace_text("DISS.run", "three-dimensional\n2\n", "three-dimensional\n" + std::to_string(dims) + "\n");
  char line[64];
  std::snprintf(line, sizeof line, "%.1f 240.0", wind);
  write_file("lstwinds.pre", lines(9, line));
  std::snprintf(line, sizeof line, "%.1f 240.0 7.0", waves);
  write_file("lstwaves.pre", lines(9, line));
}

TEST(ScenarioChemicalSlick3d, ASurfaceReleaseInACalmSeaGivesTheTwoDimensionalCompartments) {
  // 20 t at the surface, no waves (nothing entrained), a wind of 8 m/s.
  // n-butanol (0.9 kPa, 73,000 mg/L) evaporates about 79 % and dissolves
  // about 20 % within the hour in 2-D; benzene (12.7 kPa, 1780 mg/L) goes
  // to the air.  In 3-D the floating particles form the same slick: the
  // shares at 1 and 24 hours agree within 3 points.  (With the droplets'
  // surface in place of the slick's area, 3-D took 100 % of either to the
  // air in the first hour and dissolved nothing.)
  struct substance {
    const char* name;
    const char* properties;  // density, viscosity, solubility, vapour pressure, molar mass with their temperatures
    double evaporated_1h;    // 2-D, %, at least
  };
  const substance substances[] = {
      {"n-butanol", "810.0 20.0 3.6 20.0 73000.0 20.0 0.9 20.0 74.12", 70.0},
      {"benzene", "876.0 20.0 0.7 20.0 1780.0 25.0 12.7 25.0 78.11", 99.0},
  };
  for (const auto& s : substances) {
    std::vector<property_row> rows[2];
    for (int dims = 1; dims <= 2; ++dims) {
      temp_dir dir;
      set_up(dims,
             std::string("1 0.0 20000.0 -9.36 42.97 0.0 0.0 0.0 0.01 0.0005 24.691 0 ") + s.properties + " 1.0",
             8.0, 0.0);
      run_ok("DISS");
      rows[dims - 1] = read_property_rows("DISS_properties_001.txt");
      ASSERT_EQ(rows[dims - 1].size(), 25u) << s.name;
    }
    EXPECT_GT(rows[0][1].at("evaporated (%)"), s.evaporated_1h) << s.name;
    for (std::size_t h : {1, 24}) {
      for (const char* c : {"evaporated (%)", "dissolved (%)", "surface (%)"}) {
        EXPECT_NEAR(rows[1][h].at(c), rows[0][h].at(c), 3.0) << s.name << " " << c << " at " << h << " h";
      }
      EXPECT_EQ(rows[1][h].at("column (%)"), 0.0) << s.name;
      EXPECT_EQ(rows[1][h].at("balance"), 100.0) << s.name;
    }
  }
  // n-butanol in 2-D dissolves a fifth of itself within the hour.
}

TEST(ScenarioChemicalSlick3d, ASlickFormedByDropletsComingUpStaysInTheSeaAndFinite) {
  // 870 kg/m3, 1 cSt, 500 mg/L, 3 kPa, 100 g/mol released over a 50 m
  // square 0.5 to 30 m down, dissolution off (its fine droplets would
  // dissolve within minutes): its droplets reach the surface in the middle
  // of the run and form a slick there, which spreads (Lehr, or the
  // per-particle spreading of algorithm 3) and weathers.  Before the mend
  // the first spreading step of such a slick took Lehr's growth from the
  // release point at the time of the run: 1000 t at 1 m ended "completed"
  // with every particle out of the grid (longitude 37,170 at 1 h), 10 t at
  // 0.5 m (dissolution on) stopped with a longitude of 1.5 million.  Every
  // run completes; every particle at every hour lies in the grid (9.6 to
  // 8.7 W, 42.7 to 43.4 N) and above the floor, and every property value is
  // a number with the compartments adding up to the release; from 2 m up
  // the droplets do come up.
  struct shallow {
    double depth, tonnes, wind;
    int algorithm;
  };
  const shallow cases[] = {{0.5, 10.0, 3.0, 2},   {0.5, 10.0, 15.0, 2}, {1.0, 1000.0, 8.0, 2}, {1.0, 1.0, 8.0, 2},
                           {5.0, 10.0, 8.0, 2},   {30.0, 10.0, 8.0, 2}, {0.5, 10.0, 8.0, 3},  {1.0, 1000.0, 3.0, 3},
                           {2.0, 1.0, 15.0, 3}};
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.depth) + " m, " + std::to_string(c.tonnes) + " t, " +
                             std::to_string(c.wind) + " m/s, algorithm " + std::to_string(c.algorithm);
    temp_dir dir;
    char spill[200];
    std::snprintf(spill, sizeof spill,
                  "1 0.0 %.1f -9.36 42.97 %.1f 50.0 50.0 0.01 0.0005 1.0 0 870.0 20.0 1.0 20.0 500.0 20.0 3.0 20.0 "
                  "100.0 1.0",
                  c.tonnes * 1000.0, c.depth);
    set_up(2, spill, c.wind, 1.5);
    replace_line("DISS.run", "200 0", "100 0");
    replace_line("DISS.cfg", "1 1 1 1", "0 0 0 0");
    if (c.algorithm == 3) {
      replace_line("DISS_HNS.calib", "2", "3");
      replace_line("DISS_HNS.calib", "0.002", "0.01");
    }
    run_ok("DISS");
    const auto rows = read_property_rows("DISS_properties_001.txt");
    ASSERT_EQ(rows.size(), 25u) << what;
    bool afloat = false;
    for (const auto& r : rows) {
      double kg = 0.0;
      for (const auto& [k, v] : r) {
        EXPECT_TRUE(std::isfinite(v)) << what << " " << k << " at " << r.at("time");
        if (k.find("(kg)") != std::string::npos) kg += v;
      }
      EXPECT_NEAR(kg, c.tonnes * 1000.0, 1e-5 * c.tonnes * 1000.0) << what << " at " << r.at("time");
      EXPECT_GE(r.at("thickness"), 0.0) << what;
      EXPECT_LT(r.at("thickness"), 1.0) << what;
      afloat = afloat || r.at("surface (kg)") > 0.0 || r.at("evaporated (kg)") > 0.0;
    }
    if (c.depth <= 2.0) {
      EXPECT_TRUE(afloat) << what;  // the droplets did come up
    }
    for (int h = 0; h <= 24; ++h) {
      char name[40];
      std::snprintf(name, sizeof name, "DISS_particles_%06d.txt", h * 60);
      const auto parts = read_particles(name);
      ASSERT_EQ(parts.size(), 100u) << what << " " << name;
      for (const auto& p : parts) {
        EXPECT_TRUE(-9.6 <= p.lon && p.lon <= -8.7 && 42.7 <= p.lat && p.lat <= 43.4)
            << what << " " << name << ": " << p.lon << ", " << p.lat;
        EXPECT_TRUE(std::isfinite(p.depth) && p.depth >= 0.0 && p.depth < 200.0) << what << " " << name;
      }
    }
  }
}

}  // namespace
}  // namespace orvel
