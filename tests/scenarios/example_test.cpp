// The shipped examples run to the end: a floating object released 6.5 km
// off the coast drifts north and comes ashore within the 36 hours
// (examples/costa_da_morte); 300 t of crude released at the same place
// spreads, weathers and comes ashore with its mass accounted for
// (examples/costa_da_morte_oil).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioExample, CostaDaMorteDriftsAshore) {
  temp_dir dir;
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "examples" / "costa_da_morte";
  for (const auto& e : std::filesystem::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
  run_ok("GALI");
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
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "examples" / "costa_da_morte_oil";
  for (const auto& e : std::filesystem::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
  run_ok("MORT");
  const auto rows = read_property_rows("MORT_properties_001.txt");
  ASSERT_EQ(rows.size(), 49u);
  for (const auto& r : rows) {
    const double kg = r.at("surface (kg)") + r.at("beached (kg)") + r.at("evaporated (kg)") + r.at("dispersed (kg)") +
                      r.at("column (kg)") + r.at("floor (kg)") + r.at("outside (kg)");
    EXPECT_NEAR(kg, 3.0e5, 1e-9 * 3.0e5) << r.at("time");
    EXPECT_EQ(r.at("balance"), 100.0) << r.at("time");
  }
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
  // At the end: nothing afloat, the evaporation just short of its maximum
  // (29.98 % when the last oil comes ashore at 36 h), the water
  // content near its maximum, some oil dispersed and the rest ashore.
  const auto& last = rows.back();
  EXPECT_EQ(last.at("surface (kg)"), 0.0);
  EXPECT_GT(last.at("evaporated (%)"), 29.9);
  EXPECT_LE(last.at("evaporated (%)"), 30.0);
  EXPECT_GT(last.at("emulsified (%)"), 69.0);
  EXPECT_GT(last.at("dispersed (kg)"), 0.0);
  EXPECT_GT(last.at("beached (%)"), 69.0);
}

}  // namespace
}  // namespace orvel
