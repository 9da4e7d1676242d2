// Names, digit fields, output minutes and the table writer shared by every
// result file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <stdexcept>
#include <string>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "common/errors.hpp"
#include "output/result_layout.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

TEST(ResultLayout, DigitFields) {
  struct digit_case {
    int64_t n;
    int w;
    const char* text;
  };
  const digit_case cases[] = {
      {0, 6, "000000"},       {360, 6, "000360"},     {7, 3, "007"},          {999, 3, "999"},
      {999999, 6, "999999"},  {1000000, 6, ":00000"}, {1100000, 6, ";00000"}, {1234567, 6, "<34567"},
      {1000, 3, ":00"},       {100000, 5, ":0000"},   {12, 5, "00012"},
  };
  for (const auto& c : cases) EXPECT_EQ(digit_field(c.n, c.w), c.text) << c.n << " in " << c.w;
}

TEST(ResultLayout, OutputMinuteAndHours) {
  struct minute_case {
    float deltat;
    int32_t step;
    int64_t minute;
    float hours;
  };
  const minute_case cases[] = {
      {600.0f, 0, 0, 0.0f},
      {600.0f, 6, 60, 1.0f},
      {30.0f, 1, 1, 0.5f / 60.0f},    // 0.5 min rounds up
      {150.0f, 1, 3, 2.5f / 60.0f},   // 2.5 min rounds away from zero, not to 2
      {20.0f, 1, 0, (20.0f / 60.0f) / 60.0f},
      {20.0f, 2, 1, (40.0f / 60.0f) / 60.0f},
      {20.0f, 3, 1, 1.0f / 60.0f},
      {210.0f, 1, 4, 3.5f / 60.0f},
  };
  for (const auto& c : cases) {
    reset_state();
    var_run.deltat = c.deltat;
    const auto t = output_time_of(c.step);
    EXPECT_EQ(t.minute, c.minute) << c.deltat << " s, step " << c.step;
    EXPECT_EQ(t.hours, c.hours) << c.deltat << " s, step " << c.step;
  }
  // The time column comes from the unrounded minutes divided by 60: for
  // 300 s and step 23, (23 * 300 / 60) / 60 in single precision.
  var_run.deltat = 300.0f;
  EXPECT_EQ(output_time_of(23).hours, (23.0f * 300.0f / 60.0f) / 60.0f);
}

// Past minute 999999 (694 days) every particle and grid name of the run
// takes as many digits as the horizon's last minute needs; a run of ten
// years ends at minute 5256000.
TEST(ResultLayout, OutputMinutesPastSixDigits) {
  reset_state();
  var_run.deltat = 3600.0f;
  var_run.simtype__operat_probabil = 1;
  var_cfg.simulationtimehorizon = 16666.0f * 3600.0f;  // minute 999960
  EXPECT_EQ(particle_file_name("ABCD", 16666, 1), "ABCD_particles_999960.txt");
  EXPECT_EQ(particle_file_name("ABCD", 1, 1), "ABCD_particles_000060.txt");
  var_cfg.simulationtimehorizon = 17000.0f * 3600.0f;  // minute 1020000
  EXPECT_EQ(particle_file_name("ABCD", 0, 1), "ABCD_particles_0000000.txt");
  EXPECT_EQ(particle_file_name("ABCD", 17000, 1), "ABCD_particles_1020000.txt");
  EXPECT_EQ(grid_file_name("ABCD", 7, 16667), "ABCD_grid_007_1000020.txt");
  EXPECT_EQ(subspill_grid_file_name("ABCD", 2, 1), "ABCD_grid_subspill_002_0000060.txt");
  EXPECT_EQ(all_subspill_grid_file_name("ABCD", 1), "ABCD_grid_001_0000060.txt");
  var_cfg.simulationtimehorizon = 87600.0f * 3600.0f;
  EXPECT_EQ(minute_digits(), 7);
  EXPECT_EQ(particle_file_name("ABCD", 87600, 1), "ABCD_particles_5256000.txt");
  reset_state();
}

// The digits of an output minute, by the horizon's last minute: six up to
// 999999, one more at each power of ten from 10^6 on, the power itself
// included (a horizon of exactly 10^6 minutes ends at minute 1000000).
TEST(ResultLayout, MinuteDigitsAtThePowersOfTen) {
  const struct {
    float horizon_s;
    int digits;
  } cases[] = {{60.0f, 6},        {999999.0f * 60.0f, 6}, {1.0e6f * 60.0f, 7}, {1000001.0f * 60.0f, 7},
               {9999990.0f * 60.0f, 7}, {1.0e7f * 60.0f, 8}, {1.0e8f * 60.0f, 9}};
  for (const auto& c : cases) {
    reset_state();
    var_cfg.simulationtimehorizon = c.horizon_s;
    EXPECT_EQ(minute_digits(), c.digits) << c.horizon_s << " s";
  }
  reset_state();
}

TEST(ResultLayout, FileNames) {
  reset_state();
  var_run.deltat = 600.0f;
  var_run.simtype__operat_probabil = 1;
  EXPECT_EQ(particle_file_name("ABCD", 0, 1), "ABCD_particles_000000.txt");
  EXPECT_EQ(particle_file_name("ABCD", 36, 1), "ABCD_particles_000360.txt");
  EXPECT_EQ(particle_file_name("AB", 6, 1), "AB  _particles_000060.txt");
  EXPECT_EQ(grid_file_name("ABCD", 7, 6), "ABCD_grid_007_000060.txt");
  EXPECT_EQ(subspill_grid_file_name("ABCD", 12, 6), "ABCD_grid_subspill_012_000060.txt");
  EXPECT_EQ(all_subspill_grid_file_name("ABCD", 6), "ABCD_grid_001_000060.txt");
  EXPECT_EQ(property_file_name("ABCD", 7), "ABCD_properties_007.txt");
  EXPECT_EQ(subspill_property_file_name("ABCD", 12), "ABCD_properties_subspill_012.txt");
  EXPECT_EQ(subspill_property_file_name("ABCD", 1000), "ABCD_properties_subspill_:00.txt");
  EXPECT_EQ(all_subspill_property_file_name("ABCD"), "ABCD_properties_001.txt");
  EXPECT_EQ(cf_file_name("AB", 7), "AB  _CF_007.txt");
  EXPECT_EQ(subspill_cf_file_name("ABCD", 12), "ABCD_CF_subspill_012.txt");
  EXPECT_EQ(subspill_cf_file_name("ABCD", 1000), "ABCD_CF_subspill_:00.txt");
  // A probabilistic run: the simulation number, and five digits of minute.
  var_run.simtype__operat_probabil = 2;
  EXPECT_EQ(particle_file_name("ABCD", 36, 12), "ABCD_particles_00012_00360.txt");
  // A run longer than 999,999 minutes.
  var_run.simtype__operat_probabil = 1;
  var_run.deltat = 3600.0f;
  EXPECT_EQ(particle_file_name("ABCD", 16667, 1), "ABCD_particles_:00020.txt");
}

TEST(ResultLayout, SpillNumbersWidenBeyond999) {
  // Three digits up to 999 spills or pulses; beyond, every name takes the
  // digits of the largest number (no ':' or '/' in a name).
  reset_state();
  var_run.deltat = 60.0f;
  var_cfg.spills_number = 999;
  EXPECT_EQ(subspill_property_file_name("ABCD", 7), "ABCD_properties_subspill_007.txt");
  EXPECT_EQ(subspill_grid_file_name("ABCD", 999, 2), "ABCD_grid_subspill_999_000002.txt");
  var_cfg.spills_number = 1000;
  EXPECT_EQ(subspill_property_file_name("ABCD", 1000), "ABCD_properties_subspill_1000.txt");
  EXPECT_EQ(property_file_name("ABCD", 1), "ABCD_properties_0001.txt");
  var_cfg.spills_number = 1500;
  EXPECT_EQ(subspill_property_file_name("ABCD", 7), "ABCD_properties_subspill_0007.txt");
  EXPECT_EQ(subspill_property_file_name("ABCD", 1500), "ABCD_properties_subspill_1500.txt");
  EXPECT_EQ(property_file_name("ABCD", 1000), "ABCD_properties_1000.txt");
  EXPECT_EQ(subspill_cf_file_name("ABCD", 1234), "ABCD_CF_subspill_1234.txt");
  var_cfg.spills_number = 123456;
  EXPECT_EQ(grid_file_name("ABCD", 42, 1), "ABCD_grid_000042_000001.txt");
  reset_state();
}

constexpr result_column columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"n (-),", 7, 'I', 6, 0},
    {"value (\xBA)", 12, 'F', 12, 3},
};

TEST(ResultLayout, TableHeaderAndRows) {
  testing::temp_dir dir;
  {
    result_table t("table.txt", columns);
    t.row({0.0, 7, -1.5});
    t.row({-0.004, -12, 0.0005});  // 0.0005 is a little above the half in binary
    t.row({99999.99, 999999, 99999999.999});  // the widest values that fit
    // Nothing under the real name before the commit.
    EXPECT_EQ(dir.files(), std::vector<std::string>{"table.txt.partial"});
    t.commit();
  }
  EXPECT_EQ(testing::read_file("table.txt"),
            "time (h), n (-),   value (\xBA)\n"
            "    0.00,     7,      -1.500\n"
            "   -0.00,   -12,       0.001\n"
            "99999.99,999999,99999999.999\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"table.txt"});
}

TEST(ResultLayout, AValueTooWideForItsFieldWidensItsField) {
  // A finite value that does not fit takes a field just wide enough; the
  // other fields of the row keep their widths.  A one-character field too.
  constexpr result_column narrow[] = {
      {"k,", 2, 'I', 1, 0},
      {"a,", 2, 'F', 4, 1},
      {"n", 1, 'I', 3, 0},
  };
  struct wide_row {
    std::vector<double> values;
    const char* line;
  };
  const wide_row rows[] = {
      {{7, 1.5, 12}, "7, 1.5, 12\n"},                                    // every value fits
      {{10, 1.5, 12}, "10, 1.5, 12\n"},                                  // two characters in one
      {{-1, 1.5, 12}, "-1, 1.5, 12\n"},                                  // the sign needs the second
      {{7, 12345.25, 12}, "7,12345.2, 12\n"},                            // ties to even on the binary value
      {{7, -99.96, 12}, "7,-100.0, 12\n"},                               // rounds up into a wider number
      {{7, 1e20, -1000}, "7,100000000000000000000.0,-1000\n"},           // far too wide
      {{9, 0.25, 9223372036854774784.0}, "9, 0.2,9223372036854774784\n"}  // the widest whole number of an I field
  };
  for (const auto& r : rows) {
    std::string out = "x";
    table_layout(narrow).format_row(r.values, out);
    EXPECT_EQ(out, std::string("x") + r.line) << r.line;
  }
}

TEST(ResultLayout, NoResultHoldsAsterisksOrValuesThatAreNotNumbers) {
  // A value that is not finite, or a whole number an integer field cannot
  // hold, is refused by name; a finite value too wide for its field is
  // written in a wider field.
  const double inf = std::numeric_limits<double>::infinity();
  struct bad_row {
    std::vector<double> values;
    const char* message;
  };
  const bad_row rows[] = {
      {{1.0, 9223372036854775808.0, 1.0}, "n (-) = 9.22337204e+18 is beyond the whole numbers of its integer field I6"},
      {{1.0, -1e19, 1.0}, "n (-) = -1e+19 is beyond the whole numbers of its integer field I6"},
      {{1.0, 1e300, 1.0}, "n (-) = 1e+300 is beyond the whole numbers of its integer field I6"},
      {{std::nan(""), 1, 1.0}, "time (h) = nan is not a finite number"},
      {{1.0, -inf, 1.0}, "n (-) = -inf is not a finite number"},
      {{1.0, 1, inf}, "value (\xBA) = inf is not a finite number"},
      {{1e300, 1, inf}, "value (\xBA) = inf is not a finite number"},
  };
  testing::temp_dir dir;
  result_table t("table.txt", columns);
  for (const auto& r : rows) {
    try {
      t.row(std::span<const double>(r.values));
      ADD_FAILURE() << r.message << ": accepted";
    } catch (const result_value_error& e) {
      EXPECT_STREQ(e.what(), r.message);
    }
  }
  t.row({100000.0, 1234567, -123456789.0});
  t.row({-9223372036854775808.0, -9223372036854775808.0, 0.0});
  t.commit();
  EXPECT_EQ(testing::read_file("table.txt"),
            "time (h), n (-),   value (\xBA)\n"
            "100000.00,1234567,-123456789.000\n"
            "-9223372036854775808.00,-9223372036854775808,       0.000\n");
}

TEST(ResultLayout, ARefusedValueStopsTheRunNamingWhereAndWhen) {
  try {
    stop_for_value(result_value_error("latitude (\xBA)", std::nan(""), columns[2]), "particle 7 of spill 2", 1.5);
    ADD_FAILURE() << "no stop";
  } catch (const run_stop& e) {
    EXPECT_EQ(e.status(), 1);
    EXPECT_EQ(std::string(e.what()),
              "orvel: error: the result latitude (\xBA) = nan is not a finite number, for particle 7 of spill 2 at "
              "1.5 h: the run stops and the result files of that time are not written");
  }
}

TEST(ResultLayout, ARowOfTheWrongLengthIsAProgrammingError) {
  testing::temp_dir dir;
  result_table t("table.txt", columns);
  EXPECT_THROW(t.row({1.0, 2.0}), std::logic_error);
}

TEST(ResultLayout, AnUnfinishedTableLeavesNoFile) {
  testing::temp_dir dir;
  try {
    result_table t("table.txt", columns);
    t.row({1.0, 2.0, 3.0});
    throw std::runtime_error("the run stops while the file is being written");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace orvel
