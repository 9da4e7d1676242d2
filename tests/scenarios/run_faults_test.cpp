// How a run ends when it cannot do what it is asked: output names that
// would collide are refused before the first step.  Oil runs to the end
// with weathering off, with evaporation on and with spreading on.
//
// On the drift scenario of drift_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

std::vector<std::string> result_files(const temp_dir& dir) {
  std::vector<std::string> r;
  for (const auto& f : dir.files()) {
    if (f.rfind("DRFT_", 0) == 0 || f.find(".partial") != std::string::npos) r.push_back(f);
  }
  return r;
}

TEST(ScenarioFaults, CollidingParticleFileNamesAreRefusedBeforeTheFirstStep) {
  // Steps of 20 s with a file every step: 0 s and 20 s both round to
  // minute 0.
  temp_dir dir;
  copy_scenario("drift");
  replace_line("DRFT.run", "600.", "20.");
  replace_line("DRFT.run", "0. 3600. 3600. 3600", "0. 20. 3600. 3600");
  const auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "orvel: error: DRFT.run:18: particle files every 20 s (deltatoutput_parts) with a model step of 20 s: the outputs "
            "at 0 s and 20 s fall in the same output minute 0, so the later file would replace the earlier one "
            "under the same name\n");
  EXPECT_TRUE(result_files(dir).empty());
  // Every minute is fine.
  replace_line("DRFT.run", "0. 20. 3600. 3600", "0. 60. 3600. 3600");
  replace_line("DRFT.cfg", "6", "1");  // one hour: 61 files
  run_ok("DRFT");
  EXPECT_EQ(result_files(dir).size(), 62u);
}

TEST(ScenarioFaults, OilWithoutWeatheringRunsToTheEndWithoutPropertyFiles) {
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n", "* oil, no weathering\n2\n");
  run_ok("DRFT");
  const auto files = result_files(dir);
  EXPECT_EQ(files.size(), 7u);
  for (const auto& f : files) EXPECT_EQ(f.rfind("DRFT_particles_", 0), 0u) << f;
}

TEST(ScenarioFaults, EvaporatingOilRunsToTheEndWithItsPropertyFile) {
  // Oil with evaporation on: the particle files and the property file, whose
  // balance stays at 100 %.
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n0 1 24\n0\n", "* oil, evaporating\n2\n0 1 24\n1\n");
  run_ok("DRFT");
  const auto files = result_files(dir);
  EXPECT_EQ(files.size(), 8u);
  EXPECT_EQ(read_particles("DRFT_particles_000360.txt").size(), 10u);
  const auto rows = read_property_rows("DRFT_properties_001.txt");
  ASSERT_EQ(rows.size(), 7u);
  for (const auto& r : rows) EXPECT_EQ(r.at("balance"), 100.0) << r.at("time");
  // The scenario has no wind: nothing evaporates.
  EXPECT_EQ(rows.back().at("evaporated (kg)"), 0.0);
  EXPECT_EQ(rows.back().at("surface (kg)"), 1000.0);
}

TEST(ScenarioFaults, SpreadingOilRunsToTheEnd) {
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n0 1 24\n", "* spreading oil\n2\n1 1 24\n");
  run_ok("DRFT");
  EXPECT_EQ(read_particles("DRFT_particles_000360.txt").size(), 10u);
}

}  // namespace
}  // namespace orvel
