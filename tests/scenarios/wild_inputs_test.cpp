// Inputs that once hung the start-up or exhausted the memory end the run at
// once, with exit status 2, one error line naming the file and line, and no
// result file.  On the coast scenario of coast_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// Line number of the one line of `file` that reads `text`.
int line_of(const std::string& file, const std::string& text) {
  std::istringstream in(read_file(file));
  int n = 0;
  for (std::string l; std::getline(in, l);) {
    ++n;
    if (l == text) return n;
  }
  return 0;
}

bool no_results(const temp_dir& dir) {
  for (const auto& f : dir.files()) {
    if (f.rfind("COST_", 0) == 0 || f == "grid_coordinates.txt") return false;
  }
  return true;
}

TEST(WildInputs, PolygonVertexAtMinus1e308EndsTheStartUp) {
  temp_dir dir;
  copy_scenario("coast");
  // Land search with the coastline, crossing search over one polygon.
  replace_text("COST.run", "the coastline\n1\n2\n1\n0\n", "the coastline\n1\n2\n2\n1\n");
  write_file("costa_poligono1.dat", "-9.30 43.00\n-9.30 -1e308\n");
  const auto start = std::chrono::steady_clock::now();
  const auto r = run_orvel(dir.path(), "COST");
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "orvel: error: ./costa_poligono1.dat:2: latitude -1e+308 is out of range: expected a finite value from -90 "
            "to 90 degrees\n");
  // A guard against the hang this input once caused, not a timing: wide
  // enough for a busy machine under the sanitizers.
  EXPECT_LT(took.count(), 10.0);
  EXPECT_TRUE(no_results(dir));
}

TEST(WildInputs, SpillCountsBeyondTheFileOrTheMemoryEndTheRun) {
  temp_dir dir;
  copy_scenario("coast");
  replace_text("COST.cfg", "a 1 km square\n1\n1\n", "a 1 km square\n1\n2000000000\n");
  auto r = run_orvel(dir.path(), "COST");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orvel: error: COST.cfg:" + std::to_string(line_of("COST.cfg", "2000000000")) +
                       ": spills_number is 2000000000 but the file holds at most 1 spill lines (each spill needs a "
                       "spill line, a sediment line and a coefficient line, and 18 forcing records follow them)\n");
  EXPECT_TRUE(no_results(dir));

  // A continuous release of a pulse every 600 s for 333,333,334 hours:
  // 2,000,000,004 pulses, of which only those that start within the run
  // are sized; the duration itself is beyond any real release.
  replace_text("COST.cfg", "a 1 km square\n1\n2000000000\n0 0\n", "a 1 km square\n2\n1\n333333334 600\n");
  r = run_orvel(dir.path(), "COST");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orvel: error: COST.cfg:" + std::to_string(line_of("COST.cfg", "333333334 600")) +
                       ": spillduration = 3.33333e+08: must be a finite number greater than 0 and at most 87600 h\n");
  EXPECT_TRUE(no_results(dir));
}

TEST(WildInputs, AMillionPulsesSizeOnlyThoseThatStart) {
  // A pulse every 10 s for 2777.8 hours (1,000,000 pulses, one particle
  // each) in a run of 3 hours: the 1081 pulses that start, and one spare,
  // are sized; the names of the sub-spills take four digits, never a ':'.
  temp_dir dir;
  copy_scenario("drift");
  replace_text("DRFT.cfg", "a 1 km square\n1\n1\n0 0\n", "a 1 km square\n2\n1\n2777.7778 10\n");
  replace_text("DRFT.cfg", "* six hours\n6\n", "* three hours\n3\n");
  replace_line("DRFT.run", "10 0", "1 0");
  replace_line("DRFT.run", "600.", "10.");
  run_ok("DRFT");
  std::vector<std::string> subspills;
  for (const auto& f : dir.files()) {
    EXPECT_EQ(f.find(':'), std::string::npos) << f;
    if (f.rfind("DRFT_properties_subspill_", 0) == 0) subspills.push_back(f);
  }
  ASSERT_EQ(subspills.size(), 1082u);
  EXPECT_EQ(subspills.front(), "DRFT_properties_subspill_0001.txt");
  EXPECT_EQ(subspills.back(), "DRFT_properties_subspill_1082.txt");
  const auto rows = read_particles("DRFT_particles_000180.txt");
  ASSERT_EQ(rows.size(), 1081u);
  EXPECT_EQ(rows.back().subspill_id, 1081);
}

}  // namespace
}  // namespace orvel
