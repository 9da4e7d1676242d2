// A spill released outside the model grid (the run warns of it) never
// enters the sea of the model: its particles are outside from the start,
// counted in the outside compartment of its balance, and nothing weathers.
//
// The audit scenarios of mass_audit_test.cpp with the second spill moved
// 0.5 degrees west of the grid (grid 10 W to 8 W): every row of its
// property file holds its whole mass outside, with the balance at 100 %.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/scenarios/scenario_support.hpp"
#include "tests/support/property_table.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioOutsideRelease, ASpillReleasedOutsideTheGridIsCountedOutside) {
  struct mode {
    const char* folder;
    const char* key;
    const char* release;  // the second spill's position as written
    double kg;            // its mass
  };
  const mode modes[] = {
      {"audit_oil2d", "AUD2", " -9.5 42.4 ", 2.0e6},
      {"audit_oil3d", "AUD3", " -9.5 42.4 ", 2.0e6},
      {"audit_hns2d", "AUH2", " -9.5 43.9 ", 20000.0},
      {"audit_hns3d", "AUH3", " -9.5 43.9 ", 2000.0},
  };
  for (const mode& m : modes) {
    SCOPED_TRACE(m.key);
    temp_dir dir;
    copy_scenario(m.folder);
    const std::string cfg = std::string(m.key) + ".cfg";
    std::string moved = m.release;
    moved.replace(1, 4, "-10.5");
    replace_text(cfg, m.release, moved);
    const auto r = run_orvel(std::filesystem::current_path(), m.key);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.find("spill 2 ") != std::string::npos || r.err.find("spill line 2 ") != std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("counted outside (lost) from the start"), std::string::npos) << r.err;
    const property_table t(std::string(m.key) + "_properties_002.txt");
    ASSERT_GT(t.size(), 0u);
    for (std::size_t row = 0; row < t.size(); ++row) {
      const double time = t.at(row, "time (h)");
      // All of it outside: every other compartment, evaporated included, 0.
      // (A 3-D chemical's file sums in single precision: within 1e-7.)
      EXPECT_NEAR(t.at(row, "outside (kg)"), m.kg, 1e-7 * m.kg) << time << " h";
      EXPECT_NEAR(t.printed_mass(row), m.kg, 1e-7 * m.kg) << time << " h";
      EXPECT_EQ(t.at(row, "balance (%)"), 100.0) << time << " h";
    }
  }
}

}  // namespace
}  // namespace orvel
