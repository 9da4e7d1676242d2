// Spills of historic size run to the end: an area beyond 10 km2 is written
// in a field one character wider than its column, not a stop.  And a pulse
// of a continuous release that does not start within the run has no row.
//
// On the drift scenario of drift_test.cpp (ten particles, 600 s steps,
// hourly rows, no wind), so nothing evaporates.
#include <gtest/gtest.h>

#include <cmath>
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

}  // namespace
}  // namespace orvel
