// A horizon that is not a whole number of current record intervals: the run
// is made of whole intervals, so it ends at the last one before the horizon,
// and the start-up says so.
#include <gtest/gtest.h>

#include <string>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioHorizon, AHorizonWithinACurrentRecordIntervalWarnsWhereTheRunEnds) {
  // 75 h with current records every 6 h: twelve records, 72 h, and the
  // warning names the 78 h that would cover the horizon.  A horizon of 78 h
  // runs without a word.
  struct row {
    const char* horizon;
    std::size_t rows;
    std::string warning;
  } cases[] = {
      {"75", 73,
       "orvel: warning: the horizon of 75 h (simulationtimehorizon) is not a whole number of current record "
       "intervals of 6 h: the run ends after 12 records, at 72 h; a horizon of 78 h would cover it\n"},
      {"78", 79, ""},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    copy_scenario("weathering");
    replace_text("WTHR.cfg", "* a day\n24\n", "* hours\n" + std::string(c.horizon) + "\n");
    replace_text("WTHR.cfg", "\n1 25 0\n", "\n6 14 0\n");
    write_file("lstcurr.pre", lines(14, "0.0 270.0"));
    replace_text("WTHR.cfg", "2 0\n1\n1 25\n0\n0 0 0 0 0 0\n2 0\n1\n1 25\n", "2 0\n1\n1 79\n0\n0 0 0 0 0 0\n2 0\n1\n1 79\n");
    write_file("lstwinds.pre", lines(79, "8.0 270.0"));
    write_file("lstwaves.pre", lines(79, "1.5 270.0 6.0"));
    const auto r = run_orvel(dir.path(), "WTHR");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, c.warning) << c.horizon;
    EXPECT_EQ(read_property_rows("WTHR_properties_001.txt").size(), c.rows) << c.horizon;
  }
}

}  // namespace
}  // namespace orvel
