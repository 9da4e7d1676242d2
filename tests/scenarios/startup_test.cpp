// The orvel executable at start-up: run key, missing files, exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::run_orvel;
using testing::temp_dir;

TEST(Startup, EmptyFolderGivesOneErrorLineAndStatus2) {
  temp_dir dir;
  auto r = run_orvel(dir.path(), "TEST");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orvel: error: TEST.run:0: cannot open the control file (missing or unreadable)\n");
  EXPECT_TRUE(dir.files().empty());
}

TEST(Startup, KeyIsFourCharactersBlankPadded) {
  temp_dir dir;
  EXPECT_NE(run_orvel(dir.path(), "ABCDEFG").err.find("ABCD.run:"), std::string::npos);
  EXPECT_NE(run_orvel(dir.path(), "AB").err.find("AB  .run:"), std::string::npos);
  EXPECT_NE(run_orvel(dir.path(), "''").err.find("    .run:"), std::string::npos);
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// A two-dimensional oil run on a real grid extract: the start-up reads the
// control files and the grid, writes the grid coordinates, prints the banner
// and hands over to the oil 2-D engine, which reads two records of each
// uniform series and runs to the end.
TEST(Startup, FisterraRunReachesTheEngine) {
  testing::temp_dir dir;
  const std::string src = std::string(ORVEL_SOURCE_DIR) + "/tests/scenarios/startup_fisterra/";
  for (const char* f : {"FIST.run", "FIST.cfg", "fisterra.dat"})
    testing::write_file(f, testing::read_file(src + f));
  testing::write_file("lstcurr.pre", "0.1 90.\n0.1 90.\n");
  testing::write_file("lstwinds.pre", "5. 0.\n5. 0.\n");
  testing::write_file("lstwaves.pre", "1. 0. 5.\n1. 0. 5.\n");
  auto r = testing::run_orvel(dir.path(), "FIST");
  const std::string banner = testing::read_file(std::string(ORVEL_FIXTURES) + "/control/banner.txt");
  EXPECT_EQ(r.out.substr(0, banner.size()), banner);
  EXPECT_NE(r.out.find("The simulation completed succesfully!"), std::string::npos);
  // Two hourly records of each forcing for a run of six hours: warned about.
  std::string warnings;
  for (const char* kind : {"current", "wave", "wind"}) {
    warnings += std::string("orvel: warning: the run lasts 21600 s, but the 2 ") + kind + " records (" +
                (kind[1] == 'u' ? "currentfilesorlines_number" : kind[1] == 'a' ? "wavesfilesorlines_number"
                                                                                : "windfilesorlines_number") +
                ") every 3600 s cover only 7200 s: the last record is used for the rest of the run\n";
  }
  EXPECT_EQ(r.err, warnings);
  EXPECT_EQ(r.status, 0);
  const std::string coords = testing::read_file("grid_coordinates.txt");
  EXPECT_EQ(std::count(coords.begin(), coords.end(), '\n'), 1 + 11 * 9);
  // Node (1, 1) is the south-west node -9.30, 42.88; its cell centre lies
  // half a spacing (0.01 degrees) north-east of it.
  const auto first = coords.find('\n') + 1;
  EXPECT_EQ(coords.substr(first, 30), "    -9.2950000,    42.8850000\n");
  EXPECT_EQ(coords.substr(coords.size() - 30), "    -9.1950000,    42.9650000\n");
  // No temporary file is left.
  for (const auto& f : dir.files()) EXPECT_EQ(f.find(".partial"), std::string::npos) << f;
  EXPECT_TRUE(std::filesystem::exists("FIST_particles_000360.txt"));
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// Forcing options that no reader can serve stop the run before the banner,
// with the scenario file named and exit status 2.
TEST(Startup, ForcingOptionsRejectedBeforeTheBanner) {
  testing::temp_dir dir;
  const std::string src = std::string(ORVEL_SOURCE_DIR) + "/tests/scenarios/startup_fisterra/";
  for (const char* f : {"FIST.run", "fisterra.dat"}) testing::write_file(f, testing::read_file(src + f));
  std::string cfg = testing::read_file(src + "FIST.cfg");
  // The wind block (type 2, series): wind files on a regular grid, in a
  // format that is neither node list (1) nor grid (2).
  const auto wind = cfg.rfind("2 0\n1\n1 2\n");
  ASSERT_NE(wind, std::string::npos);
  cfg.replace(wind, 6, "1 1\n3\n");
  testing::write_file("FIST.cfg", cfg);
  auto r = testing::run_orvel(dir.path(), "FIST");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("orvel: error: FIST.cfg:", 0), 0u) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

}  // namespace
}  // namespace orvel
