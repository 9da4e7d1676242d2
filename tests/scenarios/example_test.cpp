// The shipped examples run to the end with the headline figures their
// READMEs state: a floating object released 6.5 km off the coast drifts
// north and comes ashore within the 36 hours (examples/costa_da_morte);
// 300 t of crude released at the same place spreads, weathers and comes
// ashore with its mass accounted for (examples/costa_da_morte_oil); a
// subsea blowout whose droplets rise at the speeds of their file and weather
// once afloat, also while fine droplets still rise
// (examples/costa_da_morte_blowout); benzene near the coast that
// evaporates within the hour (examples/costa_da_morte_benzene); and a
// dissolving chemical in three dimensions (examples/costa_da_morte_dissolver).
// Every property row of an oil or chemical example adds up to the release.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// Copies examples/<name>/ into the working directory, lets `edit` change
// it, and runs it.
void run_example(const std::string& name, const std::string& key, const std::function<void()>& edit = {}) {
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "examples" / name;
  for (const auto& e : std::filesystem::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
  if (edit) edit();
  run_ok(key);
}

const char* const oil_masses[] = {"surface (kg)", "beached (kg)", "evaporated (kg)", "dispersed (kg)",
                                  "column (kg)",  "floor (kg)",   "outside (kg)"};
const char* const chemical_masses[] = {"surface (kg)",     "beached (kg)", "evaporated (kg)", "dispersed (kg)",
                                       "volatilized (kg)", "column (kg)",  "dissolved (kg)",  "sedimented (kg)",
                                       "floor (kg)",       "degraded (kg)", "outside (kg)"};

// Every row's compartments add up to the release, to `tolerance` of it,
// and its balance column reads 100.00.
template <std::size_t N>
void expect_balance_closed(const std::vector<property_row>& rows, const char* const (&masses)[N], double released,
                           double tolerance) {
  for (const auto& r : rows) {
    double kg = 0.0;
    for (const char* c : masses) kg += r.at(c);
    EXPECT_NEAR(kg, released, tolerance * released) << r.at("time");
    EXPECT_EQ(r.at("balance"), 100.0) << r.at("time");
  }
}

// Runs examples/<name>/ and returns the rows of its property file, which
// must number `count`, each closing its balance on `released` kg.
template <std::size_t N>
std::vector<property_row> example_rows(const std::string& name, const std::string& key, std::size_t count,
                                       const char* const (&masses)[N], double released, double tolerance,
                                       const std::function<void()>& edit = {}) {
  run_example(name, key, edit);
  const auto rows = read_property_rows(key + "_properties_001.txt");
  EXPECT_EQ(rows.size(), count);
  expect_balance_closed(rows, masses, released, tolerance);
  return rows;
}

// The first hour (of the particle files KEY_particles_MMMMMM.txt, every
// `minutes` up to `last`) at which a particle is ashore; -1 if none.
double first_ashore(const std::string& key, int minutes, int last) {
  for (int m = 0; m <= last; m += minutes) {
    char name[64];
    std::snprintf(name, sizeof name, "%s_particles_%06d.txt", key.c_str(), m);
    for (const auto& p : read_particles(name))
      if (p.state == 0) return m / 60.0;
  }
  return -1.0;
}

// A user starts from an example: before every record of each control file
// stands a comment that gives the record's number ("* 19 spill line ..."),
// and the file holds one line per record.
TEST(ScenarioExample, EveryRecordOfTheControlFilesHasItsNumberedComment) {
  int files = 0;
  for (const auto& example : std::filesystem::directory_iterator(std::filesystem::path(ORVEL_SOURCE_DIR) / "examples")) {
    for (const auto& e : std::filesystem::directory_iterator(example.path())) {
      const std::string ext = e.path().extension().string();
      if (ext != ".run" && ext != ".cfg") continue;
      ++files;
      const int records = ext == ".run" ? 14 : 40;
      std::istringstream in(read_file(e.path()));
      std::vector<std::string> comments;
      int record = 0;
      for (std::string line; std::getline(in, line);) {
        if (!line.empty() && (line[0] == '*' || line[0] == '/')) {
          comments.push_back(line);
          continue;
        }
        ++record;
        const std::string number = "* " + std::to_string(record) + " ";
        bool found = false;
        for (const auto& c : comments) found = found || (c + " ").rfind(number, 0) == 0;
        EXPECT_TRUE(found) << e.path() << ": record " << record << " (" << line << ") has no comment \"" << number
                           << "...\" before it";
        comments.clear();
      }
      EXPECT_EQ(record, records) << e.path();
    }
  }
  EXPECT_GE(files, 10);
}

TEST(ScenarioExample, CostaDaMorteDriftsAshore) {
  temp_dir dir;
  run_example("costa_da_morte", "GALI");
  int particle_files = 0;
  for (const auto& f : dir.files()) particle_files += f.rfind("GALI_particles_", 0) == 0 ? 1 : 0;
  EXPECT_EQ(particle_files, 37);
  const auto start = read_particles("GALI_particles_000000.txt");
  const auto end = read_particles("GALI_particles_002160.txt");
  ASSERT_EQ(start.size(), 200u);
  ASSERT_EQ(end.size(), 200u);
  for (const auto& p : start) {
    EXPECT_EQ(p.state, 1);
    EXPECT_NEAR(p.lon, -9.36, 0.002);
    EXPECT_NEAR(p.lat, 42.97, 0.002);
  }
  // Hourly grid files while particles float: at time 0 every particle is
  // counted, at 36 h none floats and there is no file.
  int grid_files = 0;
  for (const auto& f : dir.files()) grid_files += f.rfind("GALI_grid_001_", 0) == 0 ? 1 : 0;
  EXPECT_GE(grid_files, 30);
  EXPECT_LT(grid_files, 37);
  EXPECT_FALSE(std::filesystem::exists("GALI_grid_001_002160.txt"));
  std::istringstream grid(read_file("GALI_grid_001_000000.txt"));
  std::string line;
  std::getline(grid, line);
  int counted = 0;
  while (std::getline(grid, line)) counted += std::stoi(line.substr(line.rfind(',') + 1));
  EXPECT_EQ(counted, 200);
  // Ashore north of the release, on the coast south of Cabo Vilan.
  for (const auto& p : end) {
    EXPECT_EQ(p.state, 0);
    EXPECT_GT(p.lat, 43.1);
    EXPECT_LT(p.lat, 43.2);
    EXPECT_GT(p.lon, -9.3);
  }
}

TEST(ScenarioExample, CostaDaMorteOilWeathersAndComesAshoreWithItsMassAccountedFor) {
  temp_dir dir;
  const auto rows = example_rows("costa_da_morte_oil", "MORT", 49, oil_masses, 3.0e5, 1e-9);
  ASSERT_EQ(rows.size(), 49u);
  // Spreading for six hours, then a fixed area.
  EXPECT_GT(rows[6].at("area"), 5.0 * rows[0].at("area"));
  EXPECT_EQ(rows[7].at("area"), rows[6].at("area"));
  // Once nothing floats (the last oil ashore by 37 h) there is no slick:
  // area and thickness 0.
  for (std::size_t h = 7; h < rows.size(); ++h) {
    const bool afloat = rows[h].at("surface (kg)") > 0.0;
    EXPECT_EQ(rows[h].at("area"), afloat ? rows[6].at("area") : 0.0) << h;
    EXPECT_EQ(rows[h].at("thickness") == 0.0, !afloat) << h;
  }
  EXPECT_EQ(rows[37].at("surface (kg)"), 0.0);
  // At the end: nothing afloat, the evaporation at its maximum (30.00 %
  // when the last oil comes ashore at 36 h), the water content near its
  // maximum while oil floats and 0 once none does, some oil dispersed and
  // the rest ashore.
  const auto& last = rows.back();
  EXPECT_EQ(last.at("surface (kg)"), 0.0);
  EXPECT_GT(last.at("evaporated (%)"), 29.9);
  EXPECT_LE(last.at("evaporated (%)"), 30.0);
  EXPECT_GT(rows[36].at("emulsified (%)"), 69.0);
  EXPECT_EQ(last.at("emulsified (%)"), 0.0);
  EXPECT_GT(last.at("dispersed (kg)"), 0.0);
  EXPECT_GT(last.at("beached (%)"), 69.0);
  // Ashore from 35 hours.
  EXPECT_EQ(first_ashore("MORT", 60, 2880), 35.0);
  // Hourly grid files while oil floats (to 36 h): at 0 h the surface mass
  // per area of the cells, times the cells' areas, is the 300 t afloat, and
  // the cells count every particle.
  int grid_files = 0;
  for (const auto& f : dir.files()) grid_files += f.rfind("MORT_grid_001_", 0) == 0 ? 1 : 0;
  EXPECT_EQ(grid_files, 37);
  EXPECT_TRUE(std::filesystem::exists("MORT_grid_001_002160.txt"));
  std::istringstream grid(read_file("MORT_grid_001_000000.txt"));
  std::string line;
  std::getline(grid, line);
  EXPECT_NE(line.find(", surface_mass_per_area (kg/m2),"), std::string::npos) << line;
  const double cell_m2 = 0.01 * metres_per_degree_lon(43.05) * 0.01 * metres_per_degree;
  double kg = 0.0;
  int counted = 0;
  while (std::getline(grid, line)) {
    const auto f = split_fields(line);
    ASSERT_EQ(f.size(), 6u) << line;
    kg += std::strtod(f[3].c_str(), nullptr) * cell_m2;
    counted += std::stoi(f[5]);
  }
  EXPECT_EQ(counted, 500);
  EXPECT_NEAR(kg, 3.0e5, 0.005 * 3.0e5);
}

TEST(ScenarioExample, BlowoutDropletsRiseAtTheirSpeedsThenTheSlickWeathersAndComesAshore) {
  temp_dir dir;
  const auto rows = example_rows("costa_da_morte_blowout", "WELL", 49, oil_masses, 4.4e5, 1e-9);
  ASSERT_EQ(rows.size(), 49u);
  // Every particle starts at the jet end, 240 m deep, in the water column,
  // and rises at the speed of its line of the droplet file: at 1 and 2
  // hours it lies at 240 m - speed x time (to the vertical random walk of
  // 0.001 m2/s, a few metres) or, once that reaches the surface, afloat.
  std::vector<double> speed;
  std::istringstream drops(read_file("DropletDiametersAndFlotSpeed.txt"));
  std::string header;
  std::getline(drops, header);
  double diameter = 0.0;
  double w = 0.0;
  while (drops >> diameter >> w) speed.push_back(w);
  ASSERT_EQ(speed.size(), 200u);
  const auto start = read_particles("WELL_particles_000000.txt");
  ASSERT_EQ(start.size(), 200u);
  for (const auto& p : start) {
    EXPECT_EQ(p.state, 5);
    EXPECT_NEAR(p.depth, 240.0, 1e-6);
  }
  for (int hours : {1, 2}) {
    char name[64];
    std::snprintf(name, sizeof name, "WELL_particles_%06d.txt", hours * 60);
    const auto at = read_particles(name);
    ASSERT_EQ(at.size(), 200u);
    for (std::size_t k = 0; k < at.size(); ++k) {
      const double due = 240.0 - speed[k] * 3600.0 * hours;
      if (due > 15.0) {
        EXPECT_EQ(at[k].state, 5) << name << " particle " << k + 1;
        EXPECT_NEAR(at[k].depth, due, 15.0) << name << " particle " << k + 1;
      } else if (due < -15.0) {
        EXPECT_EQ(at[k].state, 1) << name << " particle " << k + 1;
      }
    }
  }
  // The oil weathers as it comes up: at 1 hour a fifth is afloat and has
  // begun to evaporate while most of it still rises; the slowest droplet,
  // 0.4 mm at 9.1 mm/s, reaches the surface after 7.3 hours.
  EXPECT_EQ(rows[0].at("evaporated (kg)"), 0.0);
  EXPECT_GT(rows[1].at("column (%)"), 50.0);
  EXPECT_GT(rows[1].at("evaporated (kg)"), 0.0);
  EXPECT_GT(rows[7].at("column (kg)"), 0.0);
  EXPECT_EQ(rows[8].at("column (kg)"), 0.0);
  // Ashore from 32 hours, north-east of the well.
  EXPECT_EQ(first_ashore("WELL", 60, 2880), 32.0);
  const auto& last = rows.back();
  EXPECT_GT(last.at("beached (%)"), 50.0);
  EXPECT_NEAR(rows[24].at("evaporated (%)"), 31.26, 0.005);
  EXPECT_NEAR(last.at("evaporated (%)"), 34.25, 0.005);
  EXPECT_GT(last.at("centre_of_mass_lat"), 43.2);
}

TEST(ScenarioExample, BlowoutWithFineDropletsStillRisingWeathersWhatIsAfloat) {
  // Every tenth droplet of the example made fine, 0.1 mm rising at 0.5
  // mm/s: 240 m take 133 hours, so a tenth of the oil stays in the column
  // over the 48 hours.  The rest comes up as in the example and weathers
  // meanwhile: at 24 hours more than 15 % of the release has evaporated,
  // and the oil that has come up has lost the share the example's oil has
  // at that hour (31.26 %) to within half a point.
  temp_dir dir;
  const auto rows = example_rows("costa_da_morte_blowout", "WELL", 49, oil_masses, 4.4e5, 1e-9, [] {
    std::istringstream in(read_file("DropletDiametersAndFlotSpeed.txt"));
    std::string out, line;
    for (int n = 0; std::getline(in, line); ++n) out += (n > 0 && n % 10 == 0 ? "0.0001 0.0005" : line) + "\n";
    write_file("DropletDiametersAndFlotSpeed.txt", out);
  });
  ASSERT_EQ(rows.size(), 49u);
  for (std::size_t h = 8; h < rows.size(); ++h) EXPECT_EQ(rows[h].at("column (%)"), 10.0) << h;
  const auto& day = rows[24];
  EXPECT_GE(day.at("evaporated (%)"), 15.0);
  const double come_up = 4.4e5 - day.at("column (kg)");
  EXPECT_NEAR(day.at("evaporated (kg)") / come_up * 100.0, 31.26, 0.5);
  EXPECT_GT(rows.back().at("evaporated (%)"), day.at("evaporated (%)"));
}

TEST(ScenarioExample, BenzeneEvaporatesWithinTheHour) {
  temp_dir dir;
  const auto rows = example_rows("costa_da_morte_benzene", "BENZ", 37, chemical_masses, 1.0e4, 1e-6);
  ASSERT_EQ(rows.size(), 37u);
  // Within the hour nearly all of it is gone to the air.
  EXPECT_NEAR(rows[6].at("evaporated (%)"), 99.56, 0.005);  // at 1 hour
  EXPECT_EQ(first_ashore("BENZ", 30, 360), 4.0);
}

TEST(ScenarioExample, ADissolverLeakingFromAWreckDissolvesInTheColumn) {
  temp_dir dir;
  const auto rows = example_rows("costa_da_morte_dissolver", "DISS", 25, chemical_masses, 2.0e4, 1e-6);
  ASSERT_EQ(rows.size(), 25u);
  // Released 95 m deep as droplets of 11 um, which dissolve in a fraction
  // of a second (rho d^2 / (8 D S) = 810 x (11e-6)^2 / (8 x 9.9e-10 x 73) =
  // 0.17 s): all of it within the first step.  The dissolved chemical then
  // degrades at 0.05 a day, so a day later exp(-0.05) = 95.12 % is still
  // dissolved (less the 1.4 kg sorbed); nothing surfaces or comes ashore.
  EXPECT_EQ(rows[0].at("column (%)"), 100.0);
  for (std::size_t h = 1; h < rows.size(); ++h) EXPECT_EQ(rows[h].at("column (kg)"), 0.0) << h;
  EXPECT_NEAR(rows[1].at("dissolved (%)"), 99.78, 0.005);
  EXPECT_NEAR(rows[24].at("dissolved (%)"), 95.12, 0.005);
  EXPECT_NEAR(rows[24].at("dissolved (%)") + rows[24].at("degraded (%)"), 100.0, 0.015);
  for (const auto& r : rows) {
    EXPECT_EQ(r.at("surface (kg)"), 0.0) << r.at("time");
    EXPECT_EQ(r.at("evaporated (kg)"), 0.0) << r.at("time");
  }
  EXPECT_EQ(first_ashore("DISS", 60, 1440), -1.0);
}

}  // namespace
}  // namespace orvel
