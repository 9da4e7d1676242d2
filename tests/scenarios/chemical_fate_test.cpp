// Chemicals that sink, that are released at the sea floor, that are gases
// released under water, and the dissolved chemical moving with the water,
// end to end against hand-worked answers: the droplet dissolution time
// T = rho d^2 / (8 D S), the rise of a bubble sqrt(2 g d), the drift of the
// current, and the compartments adding up to the release.
//
// The scenarios: tests/scenarios/chemical/ (2-D, twenty particles of 10 t
// at 9 W, 43 N, water 100 m deep, steps of 600 s) and tests/scenarios/hns3d/
// (3-D, a hundred particles of 1 t, water 100 m deep, no drift and no
// diffusion, steps of 720 s).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// A substance: items 13 to 22 of the spill line (density to the organic
// flag) and its name.
struct substance {
  const char* name;
  const char* items;
};

const substance ethylene_glycol{"ethylene glycol", "1113.0 15.0 14.4 15.0 1000000.0 25.0 0.0067 25.0 62.07 1.0"};
const substance sulphuric_acid{"sulphuric acid", "1830.0 15.0 14.6 15.0 1000000.0 25.0 0.0001 25.0 98.08 0.0"};
const substance styrene{"styrene", "906.0 15.0 0.77 15.0 310.0 25.0 0.67 25.0 104.15 1.0"};
const substance dichloromethane{"dichloromethane", "1326.0 15.0 0.33 15.0 13000.0 25.0 47.0 25.0 84.93 1.0"};
const substance dichloroethane{"1,2-dichloroethane", "1253.0 15.0 0.67 15.0 8600.0 25.0 8.7 25.0 98.96 1.0"};
const substance propane{"propane", "493.0 15.0 0.2 15.0 62.0 25.0 953.0 25.0 44.1 1.0"};
const substance chlorine{"chlorine", "1410.0 15.0 0.25 15.0 7300.0 25.0 680.0 25.0 70.9 0.0"};

// Every process on: spreading (Lehr), evaporation, entrainment, and
// dissolution, sorption, volatilisation and degradation.
const std::string every_process = "1 2 24\n1\n0\n1\n1 1 1 1\n";

// n copies of the last line of `file`.
void extend_series(const std::string& file, int n) {
  std::string text = read_file(file);
  const auto last = text.rfind('\n', text.size() - 2);
  const std::string record = text.substr(last + 1);
  for (int i = 0; i < n; ++i) text += record;
  write_file(file, text);
}

// The 2-D scenario with `s` released (kg) at the surface, process switches
// `on`, `hours` of run and a property row every `row_s` seconds.
void chemical_2d(const substance& s, double kg, const std::string& on, int hours, int row_s) {
  copy_scenario("chemical");
  replace_text("CHEM.cfg", "1 0.0 10000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 876.0 15.0 0.7 15.0 1780.0 "
                           "25.0 12.7 25.0 78.11 1.0 ",
               "1 0.0 " + std::to_string(kg) + " -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 " + s.items + " ");
  replace_text("CHEM.cfg", "0 2 24\n1\n0\n0\n0 0 0 0\n", on);
  replace_text("CHEM.cfg", "* two hours\n2\n", "* the horizon, hours\n" + std::to_string(hours) + "\n");
  replace_line("CHEM.run", "0. 3600. 3600. 600", "0. 3600. 3600. " + std::to_string(row_s));
  if (hours > 24) {
    for (const char* f : {"lstcurr.pre", "lstwaves.pre", "lstwinds.pre"}) extend_series(f, hours - 24);
    replace_text("CHEM.cfg", "1 25 0\n", "1 " + std::to_string(hours + 1) + " 0\n");
    std::string cfg = read_file("CHEM.cfg");
    for (std::size_t at = cfg.find("\n1 25\n"); at != std::string::npos; at = cfg.find("\n1 25\n", at)) {
      cfg.replace(at, 6, "\n1 " + std::to_string(hours + 1) + "\n");
    }
    write_file("CHEM.cfg", cfg);
  }
}

// The 3-D scenario with `kg` of `s` released at `depth` m (the floor is
// 100 m deep), process switches `on`, steps of `step` s, a property row
// every `row_s` seconds and particle files hourly over `hours` hours.
void chemical_3d(const substance& s, double kg, double depth, const std::string& on, int hours, int step,
                 int row_s) {
  copy_scenario("hns3d");
  char release[96];
  std::snprintf(release, sizeof release, "1 0.0 %.1f -9.0 43.0 %.1f 0.0 0.0 0.01 0.0001 1.0 0 ", kg, depth);
  replace_text("HNS3.cfg", "1 0.0 1000.0 -9.0 43.0 20.0 0.0 0.0 0.01 0.0001 1.0 0 600.0 15.0 3000.0 15.0 100.0 "
                           "25.0 0.1 25.0 78.0 1.0 ",
               std::string(release) + s.items + " ");
  replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n0 0 0 0\n", "3\n" + on);
  if (hours != 16) {
    replace_text("HNS3.cfg", "\n16\n", "\n" + std::to_string(hours) + "\n");
    replace_text("HNS3.cfg", "1 16 0\n", "1 " + std::to_string(hours) + " 0\n");
    replace_text("HNS3.cfg", "\n1 16\n0\n0 0 0 0 0 0\n2 0\n1\n1 16\n",
                 "\n1 " + std::to_string(hours) + "\n0\n0 0 0 0 0 0\n2 0\n1\n1 " + std::to_string(hours) + "\n");
    if (hours > 16) {
      for (const char* f : {"lstcurr3D.pre", "lstwaves.pre", "lstwinds.pre"}) extend_series(f, hours - 16);
    }
  }
  replace_line("HNS3.run", "720.", std::to_string(step) + ".");
  replace_line("HNS3.run", "0. 720. 3600. 720", "0. 3600. 3600. " + std::to_string(row_s));
}

// The Hayduk-Laudie diffusivity (m2/s) of an organic chemical of molar
// mass mw in water of 1 cP: 13.26e-5 / Vb^0.589 cm2/s, Vb = 4.9807 mw^0.651.
double diffusivity(double mw) { return 13.26e-5 / std::pow(4.9807 * std::pow(mw, 0.651), 0.589) * 1e-4; }

TEST(ScenarioChemicalFate, ALiquidDenserThanTheWaterSinksAndDissolvesIn2dAsIn3d) {
  // 10 t of ethylene glycol (1113 kg/m3) and of sulphuric acid (1830
  // kg/m3), both miscible (class 10, dissolver), released at the surface
  // with every process on.  In 2-D they start on the sea floor as droplets
  // of 1 mm: glycol's is gone after rho d^2 / (8 D S) = 2.2 minutes (D =
  // 1.06e-9 m2/s, S = 1000 kg/m3), so at 1 h nothing floats and nearly
  // everything is dissolved (the rest sorbed); the same release in 3-D sinks
  // as droplets that dissolve on their way, within a point of 2-D.  The
  // compartments add up to the release on every row.
  const double t_glycol = 1113.0 * 1e-6 / (8.0 * diffusivity(62.07) * 1000.0);
  EXPECT_NEAR(t_glycol, 131.0, 1.0);
  for (const substance& s : {ethylene_glycol, sulphuric_acid}) {
    SCOPED_TRACE(s.name);
    double dissolved_2d = 0.0;
    {
      temp_dir dir;
      chemical_2d(s, 10000.0, every_process, 2, 600);
      const auto r = run_orvel(dir.path(), "CHEM");
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_NE(r.out.find("Spill 1: behaviour class 10, dissolver denser than the water: it starts on the sea floor"),
                std::string::npos)
          << r.out;
      const auto rows = read_property_rows("CHEM_properties_001.txt");
      ASSERT_EQ(rows.size(), 13u);
      EXPECT_EQ(rows[0].at("floor (%)"), 100.0);
      for (const auto& row : rows) {
        const double t = row.at("time");
        EXPECT_EQ(row.at("balance"), 100.0) << t;
        EXPECT_NEAR(chemical_printed_total(row), 10000.0, 2e-3) << t;
        EXPECT_EQ(row.at("surface (kg)"), 0.0) << t;
        EXPECT_EQ(row.at("evaporated (kg)"), 0.0) << t;
        EXPECT_EQ(row.at("area"), 0.0) << t;
      }
      const auto& hour = rows[6];
      EXPECT_EQ(hour.at("time"), 1.0);
      EXPECT_LE(hour.at("surface (%)"), 1.0);
      EXPECT_GE(hour.at("dissolved (%)"), 90.0);
      EXPECT_EQ(hour.at("floor (kg)"), 0.0);
      dissolved_2d = hour.at("dissolved (%)");
    }
    temp_dir dir;
    chemical_3d(s, 10000.0, 0.0, every_process, 2, 720, 720);
    const auto r = run_orvel(dir.path(), "HNS3");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = read_property_rows("HNS3_properties_001.txt");
    ASSERT_EQ(rows.size(), 11u);
    for (const auto& row : rows) EXPECT_EQ(row.at("balance"), 100.0) << row.at("time");
    EXPECT_EQ(rows[5].at("time"), 1.0);
    EXPECT_LE(rows[5].at("surface (%)"), 1.0);
    EXPECT_NEAR(rows[5].at("dissolved (%)"), dissolved_2d, 1.0);
  }
}

TEST(ScenarioChemicalFate, A2dDenseChemicalOnTheFloorDissolvesInTheTimeOfItsDroplets) {
  // Glycol alone on the floor, dissolution alone, steps of 30 s: the mass on
  // the floor is m0 (1 - t / T)^(3/2) with T = 131 s, so 35.3 % is left at
  // 60 s, 5.4 % at 120 s and none at 150 s.
  const double t_gone = 1113.0 * 1e-6 / (8.0 * diffusivity(62.07) * 1000.0);
  temp_dir dir;
  chemical_2d(ethylene_glycol, 10000.0, "0 2 24\n0\n0\n0\n1 0 0 0\n", 1, 30);
  replace_line("CHEM.run", "600.", "30.");
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 121u);
  for (std::size_t i = 0; i < 8; ++i) {
    const double t = 30.0 * static_cast<double>(i);
    const double left = t < t_gone ? std::pow(1.0 - t / t_gone, 1.5) : 0.0;
    EXPECT_NEAR(rows[i].at("floor (kg)"), 10000.0 * left, 1e-3 * 10000.0) << t;
    EXPECT_NEAR(rows[i].at("dissolved (kg)"), 10000.0 * (1.0 - left), 1e-3 * 10000.0) << t;
  }
}

TEST(ScenarioChemicalFate, AFloatingChemicalReleasedAtTheFloorRisesOffIt) {
  // 100 t of styrene (906 kg/m3, a floater-evaporator) leaking at 100 m
  // where the floor is 100 m deep: the start-up warns that the release lies
  // at the floor and the particles start just above it; none ever rests on
  // the floor, and the compartments add up to the release on every row.
  temp_dir dir;
  chemical_3d(styrene, 100000.0, 100.0, every_process, 24, 720, 3600);
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: the release depth 100 m of spill line 1 lies at or below the sea floor (100 m there): "
            "its particles start just above the floor\n");
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  for (const auto& row : rows) {
    const double t = row.at("time");
    EXPECT_EQ(row.at("floor (kg)"), 0.0) << t;
    EXPECT_EQ(row.at("balance"), 100.0) << t;
    EXPECT_NEAR(chemical_printed_total(row), 100000.0, 0.02) << t;
  }
  // Every particle in the water column at the release, just above the floor.
  const auto start = read_particles("HNS3_particles_000000.txt");
  ASSERT_EQ(start.size(), 100u);
  for (const auto& p : start) {
    EXPECT_EQ(p.state, 5);
    EXPECT_NEAR(p.depth, 99.99, 1e-4);
  }
}

TEST(ScenarioChemicalFate, A3dDenseChemicalOnTheFloorDissolvesAsIn2d) {
  // Dichloromethane (1326 kg/m3, 13,000 mg/L) from a leak that ends on the
  // floor (a jet end at 100 m, droplets of 1 mm settling at 7 cm/s): its
  // particles lie on the floor and dissolve there, each droplet shrinking,
  // as the 2-D floor does: m0 (1 - t / T)^(3/2), T = rho d^2 / (8 D S) =
  // 3.8 h.  Every process but degradation on; the compartments add up to
  // the release.
  const double t_gone = 1326.0 * 1e-6 / (8.0 * diffusivity(84.93) * 13.0);
  EXPECT_NEAR(t_gone / 3600.0, 3.8, 0.1);
  temp_dir dir;
  chemical_3d(dichloromethane, 1000.0, 0.0, "1 2 24\n1\n0\n1\n1 1 1 0\n", 6, 720, 720);
  replace_text("HNS3.run", "1\n2\n0\n1\n", "1\n2\n1\n1\n");
  write_file("FinalJetAxisPosition.txt", "jet-end longitude, latitude, depth (m), radius (m)\n-9.0 43.0 100.0 20.0\n");
  write_file("DropletDiametersAndFlotSpeed.txt", "diameter (m), rise speed (m/s)\n" + lines(100, "0.001 -0.07"));
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 31u);
  for (const auto& row : rows) {
    const double t = row.at("time") * 3600.0;
    const double left = t < t_gone ? std::pow(1.0 - t / t_gone, 1.5) : 0.0;
    EXPECT_NEAR(row.at("floor (kg)"), 1000.0 * left, 1e-4 * 1000.0) << t;
    EXPECT_NEAR(row.at("dissolved (kg)") + row.at("sedimented (kg)"), 1000.0 * (1.0 - left), 1e-4 * 1000.0) << t;
    EXPECT_EQ(row.at("balance"), 100.0) << t;
    EXPECT_NEAR(chemical_printed_total(row), 1000.0, 2e-3) << t;
  }
  EXPECT_GE(rows.back().at("dissolved (%)"), 90.0);
  // On the floor until their droplets are gone; then each particle is the
  // water that holds them, in the column just above the floor (1 cm), for
  // the current to carry.
  for (const auto& p : read_particles("HNS3_particles_000180.txt")) EXPECT_EQ(p.state, -1);
  for (const auto& p : read_particles("HNS3_particles_000360.txt")) {
    EXPECT_EQ(p.state, 5);
    EXPECT_NEAR(p.depth, 99.99, 1e-4);
  }
}

TEST(ScenarioChemicalFate, AGasReleasedUnderWaterRisesAsBubblesAndGoesIntoTheAir) {
  // Propane and chlorine (class 1: gases, chlorine's liquid denser than the
  // water) released 20 m down: their bubbles of 5 mm rise at sqrt(2 g d) =
  // 0.3132 m/s (no vertical diffusion here), so they are all still under
  // water after two steps of 30 s (18.8 m) and all up, and in the air, after
  // three (28.2 m).  Nothing is ever afloat; the air, which no column
  // prints, holds 100 less the balance.
  const double rise = std::sqrt(static_cast<double>(19.62f) * 5e-3);
  EXPECT_NEAR(rise, 0.3132, 1e-4);
  for (const substance& s : {propane, chlorine}) {
    SCOPED_TRACE(s.name);
    temp_dir dir;
    chemical_3d(s, 1000.0, 20.0, every_process, 2, 30, 30);
    const auto r = run_orvel(dir.path(), "HNS3");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = read_property_rows("HNS3_properties_001.txt");
    ASSERT_EQ(rows.size(), 241u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& row = rows[i];
      const double t = 30.0 * static_cast<double>(i);
      EXPECT_EQ(row.at("surface (kg)"), 0.0) << t;
      const bool under = t < 20.0 / rise;
      EXPECT_EQ(row.at("column (kg)"), under ? 1000.0 : 0.0) << t;
      EXPECT_EQ(row.at("balance"), under ? 100.0 : 0.0) << t;
      EXPECT_EQ(chemical_printed_total(row), under ? 1000.0 : 0.0) << t;
    }
  }
}

TEST(ScenarioChemicalFate, AGasDissolverReleasedUnderWaterDissolvesOnItsWay) {
  // Ammonia (class 2: 857 kPa, 482 g/L) released 20 m down rises as a gas
  // and dissolves on its way: its droplets of the size law (8 to 63
  // micrometres) are gone within a second (rho d^2 / (8 D S) = 0.3 s for
  // the largest), long before they could come up, so at 1 h nothing floats
  // or has evaporated and all of it is dissolved (or sorbed, degraded).
  const substance ammonia{"ammonia", "682.0 15.0 0.25 15.0 482000.0 25.0 857.0 25.0 17.03 0.0"};
  temp_dir dir;
  chemical_3d(ammonia, 1000.0, 20.0, every_process, 2, 720, 720);
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 11u);
  for (const auto& row : rows) {
    const double t = row.at("time");
    EXPECT_EQ(row.at("surface (kg)"), 0.0) << t;
    EXPECT_EQ(row.at("evaporated (kg)"), 0.0) << t;
    EXPECT_EQ(row.at("balance"), 100.0) << t;
  }
  // What has not degraded (0.1 a day) is dissolved or sorbed.
  const auto& hour = rows[5];
  EXPECT_EQ(hour.at("column (kg)"), 0.0);
  EXPECT_NEAR(hour.at("dissolved (kg)") + hour.at("sedimented (kg)") + hour.at("degraded (kg)") +
                  hour.at("volatilized (kg)"),
              1000.0, 2e-3);
  EXPECT_GE(hour.at("dissolved (%)"), 99.0);
}

TEST(ScenarioChemicalFate, AReleaseAtADepthSaysItsDropletSizesAndHowFastTheLargestDissolves) {
  // Styrene (0.77 cSt) released 55 m down: the size law of entrained
  // droplets gives a median of 2.5710402e-5 x 0.77^0.34 m, classes from a
  // tenth of it to 70 micrometres in five widths, centred in each: 9.12 to
  // 63.2 micrometres; the largest dissolves in rho d^2 / (8 D S) = 28 min.
  const double d50 = 2.5710402e-5 * std::pow(0.77, 0.34);
  const double width = (7e-5 - 0.1 * d50) / 5.0;
  const double smallest = 0.1 * d50 + 0.5 * width, largest = 0.1 * d50 + 4.5 * width;
  const double minutes = 906.0 * largest * largest / (8.0 * diffusivity(104.15) * 0.31) / 60.0;
  EXPECT_NEAR(smallest * 1e6, 9.12, 0.005);
  EXPECT_NEAR(largest * 1e6, 63.2, 0.05);
  EXPECT_NEAR(minutes, 28.0, 0.5);
  temp_dir dir;
  chemical_3d(styrene, 1000.0, 55.0, every_process, 2, 720, 720);
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(" Spill 1: released at 55 m, its droplets take the sizes of droplets entrained by breaking "
                       "waves, 5 classes from 9.12 to 63.2 micrometres; the largest dissolves in 28 min in still "
                       "water (rho d^2 / (8 D S)).  A slow leak of larger drops (a wreck) is given as a blowout "
                       "release with its droplet file.\n"),
            std::string::npos)
      << r.out;
}

TEST(ScenarioChemicalFate, AWreckLeakingDropsOfMillimetresIsABlowoutWithItsDropletFile) {
  // The slow leak of the documentation: styrene from a wreck 55 m down, as
  // a blowout whose jet ends at the wreck (a disc of 5 m) and a droplet file
  // of drops of 3 mm rising at the large-drop speed sqrt(2 g' g d) = 0.083
  // m/s (g' = 1 - 906 / 1025): they are up after 55 / 0.083 = 11 min, form
  // a slick that evaporates, and dissolve little on their way (a drop of
  // 3 mm takes 44 days to dissolve; in the 10 minutes under water it and
  // the degradation at 0.1 a day take 0.1 %).  No diffusion here.
  const double rise = std::sqrt(2.0 * (1.0 - 906.0 / 1025.0) * 9.81 * 3e-3);
  EXPECT_NEAR(rise, 0.083, 0.0005);
  const double days = 906.0 * 9e-6 / (8.0 * diffusivity(104.15) * 0.31) / 86400.0;
  EXPECT_NEAR(days, 44.0, 1.0);
  temp_dir dir;
  chemical_3d(styrene, 1000.0, 0.0, every_process, 2, 60, 600);
  replace_text("HNS3.run", "1\n2\n0\n1\n", "1\n2\n1\n1\n");
  write_file("FinalJetAxisPosition.txt", "jet-end longitude, latitude, depth (m), radius (m)\n-9.0 43.0 55.0 5.0\n");
  write_file("DropletDiametersAndFlotSpeed.txt", "diameter (m), rise speed (m/s)\n" + lines(100, "0.003 0.083"));
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_NEAR(rows[1].at("column (kg)"), 1000.0, 1.0);  // 10 min: 49.8 m up
  EXPECT_EQ(rows[2].at("column (kg)"), 0.0);     // 20 min: all up
  EXPECT_GT(rows[6].at("evaporated (%)"), 1.0);
  EXPECT_LT(rows[6].at("dissolved (%)"), 1.0);
  for (const auto& row : rows) EXPECT_EQ(row.at("balance"), 100.0) << row.at("time");
}

TEST(ScenarioChemicalFate, TheDissolvedPlumeMovesWithTheCurrentNotTheWind) {
  // 500 t of 1,2-dichloroethane (1253 kg/m3) at 9.5 W, 43 N in 2-D, under a
  // current of 0.1 m/s towards the east and a wind of 10 m/s from the
  // south, dissolution alone, three days.  It dissolves on the floor within
  // hours, and its dissolved share moves with the water: the centre goes
  // 0.1 m/s x 72 h = 25.92 km east and not north (the wind's drift carries
  // floating chemical only).  With a random walk of 10 m2/s it spreads over
  // several cells of the grid files, which hold the whole dissolved mass.
  for (const bool walk : {false, true}) {
    SCOPED_TRACE(walk ? "random walk" : "no random walk");
    temp_dir dir;
    chemical_2d(dichloroethane, 500000.0, "0 2 24\n0\n0\n0\n1 0 0 0\n", 72, 3600);
    replace_text("CHEM.cfg", " -9.0 43.0 0.0 ", " -9.5 43.0 0.0 ");
    write_file("lstcurr.pre", lines(73, "0.1 270.0"));
    write_file("lstwinds.pre", lines(73, "10.0 180.0"));
    // A wind drift of 3 % of the wind, which would take floating chemical
    // 78 km north in the three days.
    replace_text("CHEM.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0\n",
                 walk ? "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0\n" : "1.0 0.03 0.0 0.0 0 0.0 0.0 0.0\n");
    replace_line("CHEM.run", "0 0 1", "0 1 1");
    const auto r = run_orvel(dir.path(), "CHEM");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = read_property_rows("CHEM_properties_001.txt");
    ASSERT_EQ(rows.size(), 73u);
    const auto& last = rows.back();
    EXPECT_EQ(last.at("dissolved (%)"), 100.0);
    EXPECT_EQ(last.at("balance"), 100.0);
    const double east = 0.1 * 72.0 * 3600.0 / metres_per_degree_lon(43.0);
    EXPECT_NEAR(last.at("centre_of_mass_lon"), -9.5 + east, walk ? 0.02 : 1e-4);
    EXPECT_NEAR(last.at("centre_of_mass_lat"), 43.0, walk ? 0.02 : 1e-6);
    // The grid file of 72 h: the dissolved mass per area of its cells (0.1
    // degree square, their area from the latitude of each) adds up to the
    // dissolved total, spread over more than one cell with the walk.
    std::istringstream in(read_file("CHEM_grid_001_004320.txt"));
    std::string line;
    std::getline(in, line);
    double total = 0.0;
    int cells = 0;
    while (std::getline(in, line)) {
      const auto f = split_fields(line);
      ASSERT_EQ(f.size(), 7u) << line;
      const double lat = std::strtod(f[2].c_str(), nullptr);
      const double area = 0.1 * metres_per_degree_lon(lat) * 0.1 * metres_per_degree;
      total += std::strtod(f[4].c_str(), nullptr) * area;
      ++cells;
    }
    EXPECT_NEAR(total, last.at("dissolved (kg)"), 0.01 * last.at("dissolved (kg)"));
    if (walk) {
      EXPECT_GT(cells, 1);
    } else {
      EXPECT_EQ(cells, 1);
    }
  }
}

}  // namespace
}  // namespace orvel
