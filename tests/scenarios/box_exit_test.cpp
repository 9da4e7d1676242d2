// A surface particle that drifts out of the model box is lost (state -2) at
// the step it leaves and stays where that step put it, instead of floating
// on, unmoved, just outside the boundary.
//
// On the drift scenario of drift_test.cpp with a current of 10 m/s from the
// north: 6000 m (0.0539 degrees) a step of 600 s, so the release at 43 N
// leaves the box (south edge 42 N) after about 19 steps.
#include <gtest/gtest.h>

#include <string>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioBoxExit, ASurfaceParticleLeavingTheBoxIsLostWhereItLeft) {
  temp_dir dir;
  copy_scenario("drift");
  write_file("lstcurr.pre", lines(6, "10.0 0.0"));
  run_ok("DRFT");
  const double step_degrees = 6000.0 / metres_per_degree;
  // Within the box at 2 h (43 - 1.94 degrees at 6 h is beyond the edge).
  for (const auto& p : read_particles("DRFT_particles_000120.txt")) {
    EXPECT_EQ(p.state, 1);
    EXPECT_GT(p.lat, 42.0);
  }
  for (const char* f : {"DRFT_particles_000240.txt", "DRFT_particles_000360.txt"}) {
    for (const auto& p : read_particles(f)) {
      EXPECT_EQ(p.state, -2) << f;
      // Stopped by the step that took it out: less than one step beyond
      // the south edge.
      EXPECT_LT(p.lat, 42.0) << f;
      EXPECT_GT(p.lat, 42.0 - step_degrees - 1e-6) << f;
    }
  }
  // Lost where it left: not moved between 4 h and 6 h.
  const auto at4 = read_particles("DRFT_particles_000240.txt");
  const auto at6 = read_particles("DRFT_particles_000360.txt");
  ASSERT_EQ(at4.size(), at6.size());
  for (std::size_t k = 0; k < at4.size(); ++k) {
    EXPECT_EQ(at4[k].lon, at6[k].lon) << k;
    EXPECT_EQ(at4[k].lat, at6[k].lat) << k;
  }
}

}  // namespace
}  // namespace orvel
