// A straight coast beaches the particles that the current carries onto it.
//
// The scenario (tests/scenarios/coast/): the open-water grid of the drift
// scenario with every node from 8.7 W eastwards on land, and a coastline of
// points along 8.7 W every 0.005 degrees of latitude; land search with the
// bathymetry and the coastline (nearest coast point).  Twenty particles of a
// floating object start over a 1 km square at 9 W, 43 N, 24 km west of the
// coast, and a uniform current of 1 m/s from the west carries them east for
// 12 hours.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioCoast, AStraightCoastBeachesTheParticlesOnItsPoints) {
  temp_dir dir;
  copy_scenario("coast");
  run_ok("COST");
  // At 6 h every particle is still afloat west of the coast.
  const auto before = read_particles("COST_particles_000360.txt");
  ASSERT_EQ(before.size(), 20u);
  for (const auto& p : before) {
    EXPECT_EQ(p.state, 1);
    EXPECT_LT(p.lon, -8.7);
  }
  // At 12 h every particle is beached on a coast point: on 8.7 W, at a
  // latitude of the coastline, near the latitude it drifted along.
  const auto after = read_particles("COST_particles_000720.txt");
  ASSERT_EQ(after.size(), 20u);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const auto& p = after[i];
    EXPECT_EQ(p.state, 0);
    EXPECT_EQ(p.lon, -8.7);
    EXPECT_NEAR(p.lat / 0.005, std::round(p.lat / 0.005), 1e-6) << p.lat;
    EXPECT_NEAR(p.lat, before[i].lat, 0.005);
  }
  // Beached particles stay put: the last two hourly files are the same
  // apart from the time column.
  const std::string a = read_file("COST_particles_000660.txt");
  const std::string b = read_file("COST_particles_000720.txt");
  EXPECT_EQ(a.size(), b.size());
  EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), 21);
  const auto rows_a = read_particles("COST_particles_000660.txt");
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(rows_a[i].lon, after[i].lon);
    EXPECT_EQ(rows_a[i].lat, after[i].lat);
    EXPECT_EQ(rows_a[i].state, 0);
  }
}

}  // namespace
}  // namespace orvel
