// Particles stay on the globe.  On the drift scenario moved to a model grid
// whose north edge is the North Pole (88 to 90 N), a current of 1 m/s from
// the south carries the release at 89.95 N over the pole within two hours:
// the particles leave the grid there, lost (state -2, the outside
// compartment), at latitude 90 at most, and stay lost.
#include <gtest/gtest.h>

#include <string>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioPole, ParticlesCrossingThePoleLeaveTheGridOnTheGlobe) {
  temp_dir dir;
  copy_scenario("drift");
  replace_line("DRFT.cfg", "-10.0 42.0 0.1 0.1 0.0 21 21 1 43.0", "-10.0 88.0 0.1 0.1 0.0 21 21 1 89.0");
  replace_text("DRFT.cfg", "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 15.0 20.0",
           "1 0.0 1000.0 -9.0 89.95 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 "
           "40.0 5.0 70.0 1025.0 15.0 20.0");
  write_file("lstcurr.pre", lines(6, "1.0 180.0"));
  run_ok("DRFT");
  // 1 m/s for 600 s is 0.0054 degrees a step: the particles, within
  // 0.0045 degrees of 89.95 N, reach the pole after 9 to 11 steps.
  for (const auto& p : read_particles("DRFT_particles_000060.txt")) {
    EXPECT_EQ(p.state, 1);
    EXPECT_GT(p.lat, 89.95);
    EXPECT_LT(p.lat, 90.0);
  }
  for (const char* f : {"DRFT_particles_000120.txt", "DRFT_particles_000240.txt", "DRFT_particles_000360.txt"}) {
    for (const auto& p : read_particles(f)) {
      EXPECT_EQ(p.state, -2) << f;
      EXPECT_EQ(p.lat, 90.0) << f;
    }
  }
}

}  // namespace
}  // namespace orvel
