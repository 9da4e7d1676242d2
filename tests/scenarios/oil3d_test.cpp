// The oil 3-D engine end to end on the orvel binary: particles at a depth
// between two current layers drift at the interpolated speed and keep their
// depth; blowout droplets rise to the surface in depth / speed and weather
// once afloat while the others still rise; particles that sink stay on the
// floor and in the budget; a surface release weathers exactly as the 2-D
// engine weathers it.  Every property row conserves the released mass.
//
// The blowout scenario (tests/scenarios/blowout/): 1000 t of a crude of 900
// kg/m3 and 300 cSt from a jet ending at 100 m below 9 W, 43 N (a disc of
// 20 m radius) in still water 500 m deep; ten particles, five of whose
// droplets rise at 0.01 m/s and five at 0.02 m/s (the droplet file); wind
// of 8 m/s and waves of 1.5 m that weather the oil but move nothing; steps
// of 600 s over 4 h, particle files and property rows every step.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double released_kg = 1.0e6;

// The compartments printed in kilograms, with the evaporated and dispersed
// masses.
double printed_total(const property_row& r) {
  return r.at("surface (kg)") + r.at("beached (kg)") + r.at("evaporated (kg)") + r.at("dispersed (kg)") +
         r.at("column (kg)") + r.at("floor (kg)") + r.at("outside (kg)");
}

void expect_mass_conserved(const std::vector<property_row>& rows, const std::string& what) {
  ASSERT_FALSE(rows.empty()) << what;
  for (const auto& r : rows) {
    EXPECT_NEAR(printed_total(r), released_kg, 1e-9 * released_kg) << what << " at " << r.at("time") << " h";
    EXPECT_EQ(r.at("balance"), 100.0) << what << " at " << r.at("time") << " h";
  }
}

// The particle file of the output at `seconds`.
std::string particle_file(const std::string& key, int seconds) {
  char name[40];
  std::snprintf(name, sizeof name, "%s_particles_%06d.txt", key.c_str(), seconds / 60);
  return name;
}

// The property rows of the blowout scenario with every droplet rising at
// 0.02 m/s, as the engine wrote them when it held a spill's weathering
// until none of its particles was left below the surface.  The binary
// wrote the file; its figures up to 1.67 h are worked by hand in
// TogetherRowsAgreeWithTheirHandWorkedValues, the later rows are held by
// the conservation of mass at every row.
std::filesystem::path together_rows() {
  return std::filesystem::path(ORVEL_SOURCE_DIR) / "tests" / "fixtures" / "blowout" / "together_properties_001.txt";
}

TEST(ScenarioOil3d, BlowoutDropletsSurfaceAfterDepthOverSpeedAndWeatherOnceAfloat) {
  temp_dir dir;
  copy_scenario("blowout");
  run_ok("BLOW");
  // Each particle surfaces in the step whose end first reaches depth /
  // speed: 100 m / 0.01 m/s = 10000 s (step ending at 10200 s) and
  // 100 m / 0.02 m/s = 5000 s (step ending at 5400 s).
  std::vector<int> surfaced(10, -1);
  for (int t = 0; t <= 4 * 3600; t += 600) {
    const auto rows = read_particles(particle_file("BLOW", t));
    ASSERT_EQ(rows.size(), 10u) << t;
    for (std::size_t p = 0; p < rows.size(); ++p) {
      if (surfaced[p] < 0 && rows[p].state == 1) {
        surfaced[p] = t;
        EXPECT_EQ(rows[p].depth, 0.0) << p;
      }
      if (surfaced[p] < 0) {
        EXPECT_EQ(rows[p].state, 5) << p << " at " << t;
        // Rising at its own speed from 100 m.
        const double speed = p < 5 ? 0.01 : 0.02;
        EXPECT_NEAR(rows[p].depth, 100.0 - speed * t, 1e-4) << p << " at " << t;
      }
    }
  }
  for (std::size_t p = 0; p < 10; ++p) {
    const double arrival = 100.0 / (p < 5 ? 0.01 : 0.02);
    EXPECT_GE(surfaced[p], arrival) << p;
    EXPECT_LT(surfaced[p], arrival + 600.0) << p;
  }
  // Nothing evaporates or disperses while every particle is in the column;
  // from the step that brings the first ones up the oil afloat weathers,
  // while the oil still rising keeps its mass until it comes up.
  const auto rows = read_property_rows("BLOW_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  expect_mass_conserved(rows, "blowout");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // Row i holds the state at i * 600 s.
    const auto& r = rows[i];
    const double t = 600.0 * static_cast<double>(i);
    EXPECT_NEAR(r.at("time"), t / 3600.0, 0.005);
    if (t < 5400.0) {
      EXPECT_EQ(r.at("evaporated (kg)"), 0.0) << t;
      EXPECT_EQ(r.at("dispersed (kg)"), 0.0) << t;
      EXPECT_EQ(r.at("emulsified (%)"), 0.0) << t;
      EXPECT_EQ(r.at("column (kg)"), released_kg) << t;
    } else if (t < 10200.0) {
      EXPECT_GT(r.at("evaporated (kg)"), 0.0) << t;
      EXPECT_EQ(r.at("column (kg)"), 0.5 * released_kg) << t;
      EXPECT_NEAR(r.at("surface (kg)") + r.at("evaporated (kg)") + r.at("dispersed (kg)"), 0.5 * released_kg,
                  1e-9 * released_kg)
          << t;
    } else {
      EXPECT_GT(r.at("evaporated (kg)"), rows[i - 1].at("evaporated (kg)")) << t;
      EXPECT_EQ(r.at("column (kg)"), 0.0) << t;
    }
  }
  // The slick's evaporated fraction refers to the oil that has come up, so
  // the first half evaporates as it would alone, unhurried by the half still
  // below: half the mass that the whole release, all of it come up in the
  // same step, evaporates in those steps (exactly in the first two; then to
  // 1e-4, as the dispersed mass, which does not scale with the slick's,
  // comes into the evaporated fraction).  The printed evaporated share is
  // of the release, so that the compartments add up to it.
  const auto together = read_property_rows(together_rows().string());
  ASSERT_EQ(together.size(), rows.size());
  for (std::size_t i = 9; i < 17; ++i) {
    const double half = 0.5 * together[i].at("evaporated (kg)");
    EXPECT_NEAR(rows[i].at("evaporated (kg)"), half, (i < 11 ? 1e-9 : 1e-4) * half) << i;
  }
  for (std::size_t i = 9; i < rows.size(); ++i) {
    EXPECT_NEAR(rows[i].at("evaporated (%)"), rows[i].at("evaporated (kg)") / released_kg * 100.0, 0.005) << i;
  }
}

TEST(ScenarioOil3d, DropletsThatAllComeUpTogetherWeatherAsBefore) {
  // Every droplet rises at 0.02 m/s: all come up in the step ending at
  // 5400 s, and nothing has weathered before.  The property rows are those
  // of the engine that held the weathering until no droplet was left below,
  // byte for byte.
  temp_dir dir;
  copy_scenario("blowout");
  std::string droplets = "diameter (m), rise speed (m/s)\n";
  for (int p = 1; p <= 10; ++p) droplets += "0.0005 0.02\n";
  write_file("DropletDiametersAndFlotSpeed.txt", droplets);
  run_ok("BLOW");
  EXPECT_EQ(read_file("BLOW_properties_001.txt"), read_file(together_rows()));
  const auto rows = read_property_rows("BLOW_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  expect_mass_conserved(rows, "together");
  EXPECT_EQ(rows[8].at("evaporated (kg)"), 0.0);
  EXPECT_EQ(rows[9].at("column (kg)"), 0.0);
  EXPECT_GT(rows[9].at("evaporated (kg)"), 0.0);
}

TEST(ScenarioOil3d, TogetherRowsAgreeWithTheirHandWorkedValues) {
  // The rows of the fixture checked against the laws worked by hand from
  // the scenario's inputs, in double precision (the model's single-
  // precision constants move them by a few parts in a million):
  //   1000 t of a crude of 900 kg/m3 and 300 cSt, both at the water's
  //   15 C (Tw = 288 K), so neither is corrected; at most 25 % evaporates
  //   and the emulsion holds at most 70 % water; sea water 1025 kg/m3;
  //   exposed area the release sides, A = 1000 m x 1000 m; V0 = 1111.111 m3;
  //   wind 8 m/s at every particle; waves 1.5 m; steps of 600 s.
  // Rows 0 to 1.33 h: every droplet still rises (100 m at 0.02 m/s takes
  // 5000 s), so the whole 1000 t is in the column and nothing weathers.
  // The droplets all come up in the step ending at 5400 s (row 1.50 h),
  // the first weathering step; its natural dispersion is 0, since the pass
  // that opened the step found no particle afloat.
  //   Boiling-point curve: specific gravity 900 / 999, API = 141.5 / SG -
  //   131.5 = 25.565; T0 = 532.98 - 3.1295 API = 452.974 K, TG = 985.62 -
  //   13.597 API = 638.013 K.
  //   Evaporation, dF/dh = E(F) = exp(6.3 - 10.3 (T0 + TG F) / Tw), over
  //   the exposure of a step h = dt A K / V0 with K = 0.0015 U^0.78 =
  //   0.0075945 m/s: h = 4101.05; integrated exactly, a step from F adds
  //   ln(1 + b E(F) h) / b, b = 10.3 TG / Tw = 22.818, of the oil afloat:
  //   F = 0.0762352 at 1.50 h (76,235 kg), and at 1.67 h 76,235 kg +
  //   0.026350 x 923,765 kg = 100,576 kg.
  //   Water uptake, dY/dt = 1.085e-6 (1 + U)^2 (1 - Y / 0.7), integrated:
  //   Y = 0.7 (1 - exp(-8.7885e-5 t / 0.7)), 0.050794 after one step and
  //   0.097902 after two.
  //   Emulsion afloat: the oil afloat / (1 - Y).  Density 1025 Y + (1 - Y)
  //   900 (1 + 0.18006 F); viscosity 300 exp(2.5 Y / (1 - 0.65 Y))
  //   exp(10 F) (10 for an oil of more than 38 cSt at 15 C).
  //   Natural dispersion at 1.67 h (Delvigne and Sweeney, over A, with the
  //   viscosity of 1.50 h, 733.23 cSt): C* = exp(-1.8927 ln 733.23 +
  //   16.313) = 45.879; breaking waves Hb = 1.5 / sqrt(2), dissipated energy
  //   0.033354 x 1025 Hb^2; 8.13 U / 9.81 s period; fraction of the sea hit
  //   0.032 (U - 6) / period; median droplet 733.23^0.34 x 25.71 = 242.3
  //   micrometres, ten classes from 0.1 to 2 x median of which those below
  //   70 micrometres count: 68.869 kg in the step.
  // The area column is the jet-end disc of 20 m radius, 3.14159 x 400 m2.
  struct hand_row {
    std::size_t row;
    double evaporated, dispersed, water, density, viscosity;
  };
  const double initial_evaporated = 76235.2287;
  const hand_row hand[] = {
      {9, initial_evaporated, 0.0, 0.0507938, 918.076, 733.227},
      {10, initial_evaporated + 0.0263500 * (1.0e6 - initial_evaporated), 68.86917, 0.0979019, 926.941, 1065.218},
  };
  const auto rows = read_property_rows(together_rows().string());
  ASSERT_EQ(rows.size(), 25u);
  for (std::size_t i = 0; i < 9; ++i) {
    const auto& r = rows[i];
    EXPECT_EQ(r.at("column (kg)"), released_kg) << i;
    EXPECT_EQ(r.at("column (%)"), 100.0) << i;
    for (const char* zero : {"surface (kg)", "evaporated (kg)", "dispersed (kg)", "emulsified_water", "emulsified (%)"}) {
      EXPECT_EQ(r.at(zero), 0.0) << zero << " at row " << i;
    }
    EXPECT_EQ(r.at("density"), 900.0) << i;
    EXPECT_EQ(r.at("kinematic_viscosity"), 300.0) << i;
  }
  for (const auto& r : rows) EXPECT_EQ(r.at("area"), 1256.636);
  for (const auto& h : hand) {
    SCOPED_TRACE("row " + std::to_string(h.row));
    const auto& r = rows[h.row];
    EXPECT_NEAR(r.at("time"), 600.0 * static_cast<double>(h.row) / 3600.0, 0.005);
    const double afloat = released_kg - h.evaporated - h.dispersed;
    EXPECT_NEAR(r.at("evaporated (kg)"), h.evaporated, 1e-5 * h.evaporated);
    EXPECT_NEAR(r.at("dispersed (kg)"), h.dispersed, 1e-5 * h.dispersed + 1e-4);
    EXPECT_NEAR(r.at("surface (kg)"), afloat, 1e-5 * h.evaporated);
    EXPECT_NEAR(r.at("emulsified_water"), afloat / (1.0 - h.water), 1e-5 * h.evaporated);
    EXPECT_NEAR(r.at("emulsified (%)"), 100.0 * h.water, 0.005);
    EXPECT_NEAR(r.at("density"), h.density, 0.05);
    EXPECT_NEAR(r.at("kinematic_viscosity"), h.viscosity, 0.05);
    EXPECT_NEAR(r.at("evaporated (%)"), 100.0 * h.evaporated / released_kg, 0.005);
    EXPECT_NEAR(r.at("surface (%)"), 100.0 * afloat / released_kg, 0.005);
    EXPECT_EQ(r.at("column (kg)"), 0.0);
    EXPECT_EQ(r.at("balance"), 100.0);
  }
}

TEST(ScenarioOil3d, ParticlesSettledOnTheFloorStayInTheBudget) {
  // Floor at 110 m; the droplets of particles 1 to 3 sink at 0.01 m/s and
  // reach it in the second step (112 m), which stops them on the floor; the
  // others rise, come up in the step ending at 5400 s and weather there
  // while the oil on the floor keeps its mass.
  temp_dir dir;
  copy_scenario("blowout");
  std::string grid;
  for (int j = 0; j < 21; ++j) {
    for (int i = 0; i < 21; ++i) grid += i ? " 110.0" : "110.0";
    grid += "\n";
  }
  write_file("grid.dat", grid);
  std::string droplets = "diameter (m), rise speed (m/s)\n";
  for (int p = 1; p <= 10; ++p) droplets += p <= 3 ? "0.0005 -0.01\n" : "0.0005 0.02\n";
  write_file("DropletDiametersAndFlotSpeed.txt", droplets);
  run_ok("BLOW");
  const auto rows = read_property_rows("BLOW_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  expect_mass_conserved(rows, "floor");
  EXPECT_EQ(rows[1].at("floor (kg)"), 0.0);
  for (std::size_t i = 2; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].at("floor (kg)"), 0.3 * released_kg) << i;
    EXPECT_EQ(rows[i].at("evaporated (kg)") > 0.0, i >= 9) << i;
    EXPECT_NEAR(rows[i].at("surface (kg)") + rows[i].at("evaporated (kg)") + rows[i].at("dispersed (kg)") +
                    rows[i].at("column (kg)"),
                0.7 * released_kg, 1e-9 * released_kg)
        << i;
  }
  EXPECT_LT(rows.back().at("surface (kg)"), 0.6 * released_kg);
  const auto last = read_particles(particle_file("BLOW", 4 * 3600));
  ASSERT_EQ(last.size(), 10u);
  for (std::size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(last[p].state, -1) << p;
    EXPECT_EQ(last[p].depth, 110.0) << p;
  }
}

TEST(ScenarioOil3d, ParticlesBetweenTwoCurrentLayersDriftAtTheInterpolatedSpeed) {
  // Layers at 0 and 10 m carrying 0 and 0.2 m/s eastward (grid files), a
  // jet ending at 5 m, droplets that neither rise nor sink, no vertical
  // diffusion: 0.1 m/s east for 4 h, 1440 m, at 5 m all the way.
  for (const char* method : {"1", "2"}) {
    temp_dir dir;
    copy_scenario("blowout");
    write_file("FinalJetAxisPosition.txt", "jet end\n-9.0 43.0 5.0 20.0\n");
    write_file("DropletDiametersAndFlotSpeed.txt", "diameter, speed\n" + lines(10, "0.0005 0.0"));
    replace_text("BLOW.cfg", "2 0 0 0 0 0\n1\n1 1\n1 5 0\n0 0 0\n0 0 0 0 0 0\n0 0 0 0 0 0\n",
                 "1 1 0 0 0 0\n1\n2 1\n1 5 0\n0 0 0\n-10.0 42.0 0.1 0.1 21 21\n-10.0 42.0 0.1 0.1 21 21\n");
    write_file("currents_layerDepths.pre", "layer, depth (m)\n1 0.0\n2 10.0\n");
    std::string zero, east;
    for (int j = 0; j < 21; ++j) {
      for (int i = 0; i < 21; ++i) {
        zero += i ? " 0.0" : "0.0";
        east += i ? " 0.2" : "0.2";
      }
      zero += "\n";
      east += "\n";
    }
    write_file("zero.grd", zero);
    write_file("east.grd", east);
    write_file("U_lstcurr.pre", lines(5, "zero.grd\neast.grd"));
    write_file("V_lstcurr.pre", lines(5, "zero.grd\nzero.grd"));
    replace_text("BLOW.run", "0 0 0\n1\n", std::string("0 0 0\n") + method + "\n");
    run_ok("BLOW");
    const auto a = read_particles(particle_file("BLOW", 0));
    const auto b = read_particles(particle_file("BLOW", 4 * 3600));
    ASSERT_EQ(a.size(), 10u);
    ASSERT_EQ(b.size(), 10u);
    for (std::size_t p = 0; p < 10; ++p) {
      EXPECT_NEAR((b[p].lon - a[p].lon) * metres_per_degree_lon(43.0), 1440.0, 0.02) << method << " " << p;
      EXPECT_NEAR((b[p].lat - a[p].lat) * metres_per_degree, 0.0, 0.02) << method << " " << p;
      EXPECT_EQ(a[p].depth, 5.0);
      EXPECT_EQ(b[p].depth, 5.0);
      EXPECT_EQ(b[p].state, 5);
    }
    // Hour by hour: 360 m each hour.
    const auto c = read_particles(particle_file("BLOW", 2 * 3600));
    const auto d = read_particles(particle_file("BLOW", 3 * 3600));
    for (std::size_t p = 0; p < 10; ++p) {
      EXPECT_NEAR((d[p].lon - c[p].lon) * metres_per_degree_lon(43.0), 360.0, 0.02) << method << " " << p;
    }
  }
}

TEST(ScenarioOil3d, SurfaceReleaseWeathersAsTheTwoDimensionalEngineDoes) {
  // The weathering scenario (1000 t of crude, every process on, no
  // diffusion) in open water without current and without spreading: the 3-D
  // run keeps every particle at the surface, conserves the released mass at
  // every row and evaporates and disperses, row by row, exactly the masses
  // of the 2-D run (both engines use the same weathering routines).
  std::vector<std::vector<property_row>> runs;
  for (const char* dimensions : {"1", "2"}) {
    temp_dir dir;
    copy_scenario("weathering");
    replace_text("WTHR.cfg", "2\n1 1 3\n", "2\n0 1 3\n");
    write_file("lstcurr.pre", lines(25, "0.0 270.0"));
    write_file("lstcurr3D.pre", "surface speed and direction, column speed and direction\n(m/s, degrees)\n" +
                                    lines(25, "0.0 270.0 0.0 270.0"));
    replace_text("WTHR.run", "1\n1\n0\n1\n", std::string("1\n") + dimensions + "\n0\n1\n");
    run_ok("WTHR");
    runs.push_back(read_property_rows("WTHR_properties_001.txt"));
    if (std::string(dimensions) == "2") {
      for (const auto& p : read_particles("WTHR_particles_001440.txt")) {
        EXPECT_EQ(p.state, 1);
        EXPECT_EQ(p.depth, 0.0);
      }
    }
  }
  const auto& two = runs[0];
  const auto& three = runs[1];
  ASSERT_EQ(two.size(), 25u);
  ASSERT_EQ(three.size(), 25u);
  expect_mass_conserved(three, "3-D surface release");
  for (std::size_t i = 0; i < three.size(); ++i) {
    for (const char* column : {"evaporated (kg)", "dispersed (kg)", "surface (kg)", "emulsified (%)", "density"}) {
      EXPECT_EQ(three[i].at(column), two[i].at(column)) << column << " at row " << i;
    }
  }
  // Every process left its mark.
  EXPECT_GT(three[1].at("evaporated (kg)"), 0.0);
  EXPECT_GT(three[1].at("dispersed (kg)"), 0.0);
  EXPECT_GT(three[1].at("emulsified (%)"), 0.0);
  // No slick is computed in 3-D: the area is the release rectangle's.
  EXPECT_EQ(three[5].at("area"), 1.0e6);
}

}  // namespace
}  // namespace orvel
