// Spills of historic size run to the end: an area beyond 10 km2 is written
// in a field one character wider than its column, not a stop.  And a pulse
// of a continuous release that does not start within the run has no row.
//
// On the drift scenario of drift_test.cpp (ten particles, 600 s steps,
// hourly rows, no wind), so nothing evaporates.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

std::vector<std::string> lines_of(const std::string& file) {
  std::istringstream in(read_file(file));
  std::vector<std::string> r;
  for (std::string l; std::getline(in, l);) r.push_back(l);
  return r;
}

TEST(LargeSpill, TwentyThousandTonnesSpreadingForTwoDaysRunToTheEnd) {
  // 20,000 t of crude (900 kg/m3, 22,222.2 m3) spreading for the whole 48 h:
  // the slick passes 10 km2, the widest area F11.3 holds.
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n0 1 24\n0\n",
               "* crude oil spreading for 48 h, evaporating\n2\n1 1 48\n1\n");
  replace_text("DRFT.cfg", "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0",
               "1 0.0 2.0e7 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 22222.2 0 900.0");
  replace_text("DRFT.cfg", "* six hours\n6\n", "* two days\n48\n");
  const auto r = run_orvel(dir.path(), "DRFT");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("The simulation completed succesfully!"), std::string::npos);
  const auto rows = read_property_rows("DRFT_properties_001.txt");
  ASSERT_EQ(rows.size(), 49u);
  const auto text = lines_of("DRFT_properties_001.txt");
  const std::size_t width = text.at(1).size();
  int wide = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    EXPECT_EQ(row.at("time"), static_cast<double>(i)) << i;
    EXPECT_EQ(row.at("balance"), 100.0) << i;
    EXPECT_EQ(row.at("surface (kg)"), 2.0e7) << i;
    // The floating volume is the area times the thickness (6 decimals).
    EXPECT_NEAR(row.at("area") * row.at("thickness"), 22222.2, 0.5e-6 * row.at("area") + 1.0) << i;
    // Past 10 km2 the area is a number one character wider; the row grows by
    // that character and no other field moves.
    const bool over = row.at("area") >= 1.0e7;
    wide += over ? 1 : 0;
    EXPECT_EQ(text.at(i + 1).size(), width + (over ? 1 : 0)) << text.at(i + 1);
    EXPECT_EQ(text.at(i + 1).find('*'), std::string::npos);
  }
  EXPECT_GT(wide, 20);
  EXPECT_GT(rows.back().at("area"), 1.5e7);
}

TEST(LargeSpill, APulseThatDoesNotStartWithinTheRunHasNoRow) {
  // A 6 h run whose release of two hourly pulses starts at 6 h: the first
  // pulse starts at the run's last time (one row, at 6 h), the second at
  // 7 h, after the run (its file the header line alone).
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n0 1 24\n0\n", "* oil, evaporating\n2\n0 1 24\n1\n");
  replace_text("DRFT.cfg", "* one instantaneous spill at -9.0, 43.0: a 1 km square\n1\n1\n0 0\n1 0.0 1000.0",
               "* a release of two hourly pulses from 6 h\n2\n1\n2 3600\n1 6.0 1000.0");
  run_ok("DRFT");
  const auto first = read_property_rows("DRFT_properties_subspill_001.txt");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].at("time"), 6.0);
  EXPECT_EQ(first[0].at("surface (kg)"), 500.0);
  EXPECT_EQ(first[0].at("balance"), 100.0);
  EXPECT_EQ(lines_of("DRFT_properties_subspill_002.txt").size(), 1u);
  const auto all = read_property_rows("DRFT_properties_001.txt");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].at("time"), 6.0);
  EXPECT_EQ(all[0].at("surface (kg)"), 500.0);
  EXPECT_EQ(all[0].at("surface (%)"), 50.0);
}

#ifndef __SANITIZE_ADDRESS__
TEST(LargeSpill, ARunOutOfMemoryLeavesNoResultFile) {
  // Five million particles (3.5 GB by the start-up estimate, which the
  // machine has) in a process held to 1 GB of address space: the run ends
  // out of memory after grid_coordinates.txt, which it takes back.  (The
  // address sanitizer reserves more than such a limit, so its build skips
  // this test.)
  temp_dir dir;
  copy_scenario("drift");
  replace_line("DRFT.run", "10 0", "5000000 0");
  const std::string cmd = "cd '" + dir.path().string() + "' && ulimit -v 1000000 && '" + std::string(ORVEL_BINARY) +
                          "' DRFT >/dev/null 2>.stderr";
  const int rc = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(rc));
  EXPECT_EQ(WEXITSTATUS(rc), 3);  // the environment failed, not the input
  EXPECT_EQ(read_file(".stderr"),
            "orvel: error: out of memory: the run needs more memory than this machine can give it\n");
  std::filesystem::remove(".stderr");
  for (const auto& f : dir.files()) {
    EXPECT_TRUE(f == "DRFT.cfg" || f == "DRFT.run" || f == "grid.dat" || f.rfind("lst", 0) == 0) << f;
  }
}
#endif

}  // namespace
}  // namespace orvel
