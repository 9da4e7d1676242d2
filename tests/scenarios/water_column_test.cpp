// Transport in the water column end to end on the orvel binary, on the
// blowout scenario (tests/scenarios/blowout/: still water 500 m deep, a jet
// ending at 100 m, ten particles, steps of 600 s over 4 h, particle files
// every step): layered currents blended in time move every depth alike, the
// sea floor ends the vertical walk in the step that reaches it, a jet ending
// under the floor puts its particles on the floor (with a warning).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double released_kg = 1.0e6;

std::string particle_file(int seconds) {
  char name[40];
  std::snprintf(name, sizeof name, "BLOW_particles_%06d.txt", seconds / 60);
  return name;
}

// A file of the 21 x 21 rows of the scenario's grids, every value `value`.
void write_grid(const std::string& name, const std::string& value) {
  std::string text;
  for (int j = 0; j < 21; ++j) {
    for (int i = 0; i < 21; ++i) text += (i ? " " : "") + value;
    text += "\n";
  }
  write_file(name, text);
}

// The blowout scenario with its jet ending at `depth` m and ten droplets
// that neither rise nor sink.
void neutral_jet(const std::string& depth) {
  copy_scenario("blowout");
  write_file("FinalJetAxisPosition.txt", "jet end\n-9.0 43.0 " + depth + " 20.0\n");
  write_file("DropletDiametersAndFlotSpeed.txt", "diameter, speed\n" + lines(10, "0.0005 0.0"));
}

// Current files instead of the uniform series: grid files on the model grid,
// layers at 0 and 10 m, `records` hourly records.
void layered_current_files(int records) {
  replace_text("BLOW.cfg", "2 0 0 0 0 0\n1\n1 1\n1 5 0\n0 0 0\n0 0 0 0 0 0\n0 0 0 0 0 0\n",
               "1 1 0 0 0 0\n1\n2 1\n1 " + std::to_string(records) +
                   " 0\n0 0 0\n-10.0 42.0 0.1 0.1 21 21\n-10.0 42.0 0.1 0.1 21 21\n");
  write_file("currents_layerDepths.pre", "layer, depth (m)\n1 0.0\n2 10.0\n");
}

TEST(ScenarioWaterColumn, EveryLayerIsBlendedBetweenTheSameTwoRecords) {
  // Both layers carry the same northward series, 0.1 k m/s in record k:
  // without blending hour k moves 360 k m, 3600 m in 4 h; blended with Euler
  // steps the step starting at fraction f of hour k moves 60 (k + f) m, f =
  // 0, 1/6 .. 5/6: 4200 m; with Runge-Kutta the linear blend is integrated
  // exactly: 360 (k + 1/2) m an hour, 4320 m.  Particles at 5 m (between the
  // layers), at 10 m (on the deeper one) and at 25 m (below it) all move so.
  struct row {
    const char* blend;
    const char* method;
    double north_m;
  };
  const std::vector<row> rows = {{"0", "1", 3600.0}, {"1", "1", 4200.0}, {"1", "2", 4320.0}};
  for (const auto& r : rows) {
    for (const char* depth : {"5.0", "10.0", "25.0"}) {
      const std::string what = std::string("blend ") + r.blend + ", method " + r.method + ", at " + depth + " m";
      temp_dir dir;
      neutral_jet(depth);
      layered_current_files(5);
      write_grid("zero.grd", "0.0");
      std::string u, v;
      for (int k = 1; k <= 5; ++k) {
        const std::string name = "v" + std::to_string(k) + ".grd";
        write_grid(name, "0." + std::to_string(k));
        u += "zero.grd\nzero.grd\n";
        v += name + "\n" + name + "\n";
      }
      write_file("U_lstcurr.pre", u);
      write_file("V_lstcurr.pre", v);
      replace_text("BLOW.run", "0 0 0\n1\n", std::string("0 0 ") + r.blend + "\n" + r.method + "\n");
      run_ok("BLOW");
      const auto a = read_particles(particle_file(0));
      const auto b = read_particles(particle_file(4 * 3600));
      ASSERT_EQ(a.size(), 10u) << what;
      ASSERT_EQ(b.size(), 10u) << what;
      for (std::size_t p = 0; p < 10; ++p) {
        EXPECT_NEAR((b[p].lat - a[p].lat) * metres_per_degree, r.north_m, 0.05) << what << ", particle " << p;
        EXPECT_NEAR((b[p].lon - a[p].lon) * metres_per_degree_lon(43.0), 0.0, 0.05) << what;
        EXPECT_EQ(b[p].depth, std::stod(depth)) << what;
      }
    }
  }
}

TEST(ScenarioWaterColumn, TheFloorEndsTheVerticalWalkInTheStepThatReachesIt) {
  // A floor at 20 m, 200 particles from a jet ending at 10 m whose droplets
  // neither rise nor sink, Kz = 0.01 m2/s (a walk of up to 6 m a step): at
  // every output no particle lies below the floor, those on it are in the
  // floor state at exactly 20 m, those in the column between the surface and
  // the floor, and the floor mass of the property row counts them.
  temp_dir dir;
  copy_scenario("blowout");
  write_grid("grid.dat", "20.0");
  write_file("FinalJetAxisPosition.txt", "jet end\n-9.0 43.0 10.0 20.0\n");
  write_file("DropletDiametersAndFlotSpeed.txt", "diameter, speed\n" + lines(200, "0.0005 0.0"));
  replace_text("BLOW.run", "10 0\n", "200 0\n");
  replace_text("BLOW.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0\n", "1.0 0.0 0.0 0.0 0 0.0 0.01 0.0\n");
  run_ok("BLOW");
  const auto rows = read_property_rows("BLOW_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  int most_on_floor = 0;
  for (int i = 0; i <= 24; ++i) {
    const auto parts = read_particles(particle_file(600 * i));
    ASSERT_EQ(parts.size(), 200u) << i;
    int on_floor = 0;
    for (const auto& p : parts) {
      EXPECT_LE(p.depth, 20.0) << "at " << 600 * i << " s";
      if (p.state == -1) {
        ++on_floor;
        EXPECT_EQ(p.depth, 20.0) << "at " << 600 * i << " s";
      } else if (p.state == 5) {
        EXPECT_GT(p.depth, 0.0);
        EXPECT_LT(p.depth, 20.0) << "at " << 600 * i << " s";
      } else {
        EXPECT_EQ(p.state, 1) << "at " << 600 * i << " s";
        EXPECT_EQ(p.depth, 0.0);
      }
    }
    EXPECT_EQ(rows[static_cast<std::size_t>(i)].at("floor (kg)"), on_floor * (released_kg / 200.0)) << i;
    most_on_floor = std::max(most_on_floor, on_floor);
  }
  EXPECT_GT(most_on_floor, 20);
}

// A node list of the 21 x 21 nodes of the scenario's grids (latitude
// varying fastest), every value `value`.
void write_nodes(const std::string& name, const std::string& value) {
  std::string text;
  for (int i = 0; i < 21; ++i) {
    for (int j = 0; j < 21; ++j) {
      char line[80];
      std::snprintf(line, sizeof line, "%.1f %.1f %s\n", -10.0 + 0.1 * i, 42.0 + 0.1 * j, value.c_str());
      text += line;
    }
  }
  write_file(name, text);
}

// Layered current node lists (layers at 0 and 10 m, five hourly records)
// with still water, and the vertical current `w` in W files of the W list.
void vertical_current_files(const std::string& w) {
  replace_text("BLOW.cfg", "2 0 0 0 0 0\n1\n1 1\n1 5 0\n0 0 0\n0 0 0 0 0 0\n0 0 0 0 0 0\n",
               "1 1 0 0 0 0\n1\n1 1\n1 5 0\n441 441 441\n-10.0 42.0 0.1 0.1 21 21\n-10.0 42.0 0.1 0.1 21 21\n");
  write_file("currents_layerDepths.pre", "layer, depth (m)\n1 0.0\n2 10.0\n");
  write_nodes("zero.xyz", "0.0");
  write_nodes("w.xyz", w);
  write_file("U_lstcurr.pre", lines(10, "zero.xyz"));
  write_file("V_lstcurr.pre", lines(10, "zero.xyz"));
  write_file("W_lstcurr.pre", lines(10, "w.xyz"));
}

TEST(ScenarioWaterColumn, VerticalCurrentFromTheWFiles) {
  // w = -0.001 m/s (positive down, as depth) in the W files of both layers
  // lifts a particle from 50 m by 3.6 m an hour: 35.6 m after 4 h, with and
  // without blending in time (which blends the W records too).
  for (const char* blend : {"0", "1"}) {
    temp_dir dir;
    neutral_jet("50.0");
    vertical_current_files("-0.001");
    replace_text("BLOW.run", "0 0 0\n", std::string("0 0 ") + blend + "\n");
    run_ok("BLOW");
    for (int h = 0; h <= 4; ++h) {
      for (const auto& p : read_particles(particle_file(3600 * h))) {
        EXPECT_NEAR(p.depth, 50.0 - 3.6 * h, 1e-4) << "blend " << blend << ", " << h << " h";
        EXPECT_EQ(p.state, 5);
      }
    }
  }
}

TEST(ScenarioWaterColumn, AWListThatCannotBeReadIsRefused) {
  // Grid-format current files, depth-mean input and a W list without its
  // node count: refused at start-up, nothing written.
  struct row {
    const char* what;
    std::string from, to, message;
  };
  const std::vector<row> rows = {
      {"grid-format current files", "\n1 1\n1 5 0\n441", "\n2 1\n1 5 0\n441",
       "orvel: error: BLOW.cfg:31: the vertical-current list W_lstcurr.pre is given, but currentgridformat__xyz_grid "
       "= 2: vertical-current files are node lists (1), read beside U and V node lists\n"},
      {"depth-mean input", "1 1 0 0 0 0\n1\n", "1 1 0 0 0 0\n2\n",
       "orvel: error: BLOW.cfg:30: the vertical-current list W_lstcurr.pre is given, but "
       "current3dinputformat_layers_average = 2: a vertical current is used only with layered current files (1)\n"},
      {"no W node count", "441 441 441", "441 441 0",
       "orvel: error: BLOW.cfg:33: the vertical-current list W_lstcurr.pre is given, but xyzcurrentnodes_number = "
       "441 441 0: the W files need their node count, the third value\n"},
  };
  for (const auto& r : rows) {
    temp_dir dir;
    copy_scenario("blowout");
    vertical_current_files("-0.001");
    replace_text("BLOW.cfg", r.from, r.to);
    const auto inputs = dir.files();
    const auto result = run_orvel(dir.path(), "BLOW");
    EXPECT_EQ(result.status, 2) << r.what;
    EXPECT_EQ(result.err, r.message) << r.what;
    EXPECT_EQ(dir.files(), inputs) << r.what;
  }
}

TEST(ScenarioWaterColumn, AJetEndingUnderTheFloorPutsItsParticlesOnTheFloor) {
  // The jet ends at 600 m in water 500 m deep: the run warns once and every
  // particle lies on the floor, at 500 m, from time 0 to the end, with the
  // whole release in the floor compartment.
  temp_dir dir;
  copy_scenario("blowout");
  write_file("FinalJetAxisPosition.txt", "jet end\n-9.0 43.0 600.0 20.0\n");
  const auto r = run_orvel(std::filesystem::current_path(), "BLOW");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: the blowout jet ends at 600.0 m, at or below the sea floor (500.0 m deep there): its "
            "particles start on the floor\n");
  for (int t : {0, 600, 4 * 3600}) {
    const auto parts = read_particles(particle_file(t));
    ASSERT_EQ(parts.size(), 10u) << t;
    for (const auto& p : parts) {
      EXPECT_EQ(p.state, -1) << t;
      EXPECT_EQ(p.depth, 500.0) << t;
    }
  }
  const auto rows = read_property_rows("BLOW_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  for (const auto& row : rows) EXPECT_EQ(row.at("floor (kg)"), released_kg) << row.at("time");
}

}  // namespace
}  // namespace orvel
