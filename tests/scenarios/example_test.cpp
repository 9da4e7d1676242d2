// The shipped example (examples/costa_da_morte) runs to the end: a floating
// object released 6.5 km off the coast drifts north and comes ashore within
// the 36 hours.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace orvel
