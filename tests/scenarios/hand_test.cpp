// A hand-sized run whose particle and property files are compared byte for
// byte with files written by hand from the result-file layout.
//
// The scenario (tests/scenarios/hand/): a floating object of two spills of
// three particles read from the restart file, spill identifier 7 from 0 h
// (its third particle beached) and identifier 8 from 1.5 h, on calm open
// water at mean latitude 43, two hours in steps of 1800 s, particle files
// and property rows hourly.  Each spill's particles form a right triangle
// with legs of 1/64 degree, so the positions print exactly and the hull area
// is 0.5 (1/64)^2 square degrees = cos(43 deg) 1.220703125e-4 factor^2 =
// 1106273.75 m2 in single precision.  Spill 8 is left out of the particle
// files before it starts; its property file starts with a row at 1.50 h
// holding the time-0 record.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioHand, ParticleAndPropertyFilesMatchTheHandWrittenOnes) {
  temp_dir dir;
  copy_scenario("hand");
  run_ok("HAND");
  const std::filesystem::path expected =
      std::filesystem::path(ORVEL_SOURCE_DIR) / "tests" / "scenarios" / "hand" / "expected";
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(expected)) names.push_back(e.path().filename());
  ASSERT_EQ(names.size(), 5u);
  for (const auto& n : names) EXPECT_EQ(read_file(n), read_file(expected / n)) << n;
  // Nothing else was written beside them, and no partial file is left.
  std::vector<std::string> results;
  for (const auto& f : dir.files()) {
    if (f.rfind("HAND_", 0) == 0 || f.find(".partial") != std::string::npos) results.push_back(f);
  }
  EXPECT_EQ(results.size(), 5u);
}

}  // namespace
}  // namespace orvel
