// A spill whose release lies wholly outside the model grid would never
// enter the model's sea: the run is refused at its spill line, naming both
// positions, before anything is written (it used to run to a forecast of
// 100 % outside).
//
// The audit scenarios of mass_audit_test.cpp with the second spill moved
// 0.5 degrees west of the grid (grid 10 W to 8 W).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioOutsideRelease, ASpillReleasedWhollyOutsideTheGridIsRefused) {
  struct mode {
    const char* folder;
    const char* key;
    const char* release;  // the second spill's position as written
  };
  const mode modes[] = {
      {"audit_oil2d", "AUD2", " -9.5 42.4 "},
      {"audit_oil3d", "AUD3", " -9.5 42.4 "},
      {"audit_hns2d", "AUH2", " -9.5 43.9 "},
      {"audit_hns3d", "AUH3", " -9.5 43.9 "},
  };
  for (const mode& m : modes) {
    SCOPED_TRACE(m.key);
    temp_dir dir;
    copy_scenario(m.folder);
    const std::string cfg = std::string(m.key) + ".cfg";
    std::string moved = m.release;
    moved.replace(1, 4, "-10.5");
    replace_text(cfg, m.release, moved);
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(std::filesystem::current_path(), m.key);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err.rfind("orvel: error: " + cfg + ":", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("the release of spill line 2 at longitude -10.5, latitude " + std::string(m.release).substr(6, 4) +
                         " lies wholly outside the model grid (longitudes -10 to -8"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(dir.files(), before);
    // Moved back inside the grid's west edge it runs.
    replace_text(cfg, moved, " -9.95 " + std::string(m.release).substr(6));
    const auto ok = run_orvel(std::filesystem::current_path(), m.key);
    EXPECT_EQ(ok.status, 0) << ok.err;
  }
}

}  // namespace
}  // namespace orvel
