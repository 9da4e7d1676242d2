#include "control/control_files.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/state/reset_state.hpp"
#include "control/state/var_run.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;
using testing::write_file;

const std::string fixtures = ORVEL_FIXTURES;

TEST(Linfm1, DropsCommentsAndPadsLinesTo256) {
  temp_dir dir;
  const std::string long_line = std::string(256, 'x') + "     ";
  write_file("a.run", "/ comment\n* comment\n *not a comment\n\n1 2\n" + long_line + "\n /x\n");
  linfm1("copy.tmp", "a.run");
  const std::string want = fixlen(" *not a comment", 256) + "\n" + std::string(256, ' ') + "\n" +
                           fixlen("1 2", 256) + "\n" + std::string(256, 'x') + "\n" + fixlen(" /x", 256) + "\n";
  EXPECT_EQ(read_file("copy.tmp"), want);
  EXPECT_EQ(read_file("a.run").substr(0, 9), "/ comment");  // source untouched
}

TEST(Linfm1, ErrorsLeaveNoCopy) {
  temp_dir dir;
  // A missing source is not created.
  EXPECT_THROW(linfm1("copy.tmp", "missing.run"), input_error);
  EXPECT_TRUE(dir.files().empty());
  // Values beyond the 256th character would be lost.
  write_file("long.run", "1\n" + std::string(256, ' ') + "7\n");
  try {
    linfm1("copy.tmp", "long.run");
    FAIL();
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "long.run");
    EXPECT_EQ(e.line(), 2);
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"long.run"});
}

TEST(RunControl, ReadsEveryRecord) {
  temp_dir dir;
  reset_state();
  write_file("AB  .run", read_file(fixtures + "/control/plain.run"));
  run("AB  ");
  const auto& v = var_run;
  EXPECT_EQ(v.simenvironment__sea_river, 1);
  EXPECT_EQ(v.sim__2d_3d, 2);
  EXPECT_EQ(v.blowout__y_n, 0);
  EXPECT_EQ(v.simdirection__fore_back, 1);
  EXPECT_EQ(v.datafolder__same_other, 2);
  EXPECT_EQ(v.search_land__mask_maskandcoast, 2);
  EXPECT_EQ(v.searchcoastalgorithm__lr_hr, 1);
  EXPECT_EQ(v.coast_polygonnumber, 3);
  EXPECT_EQ(v.particle_number, 500);
  EXPECT_EQ(v.particle_inipositions__y_n, 0);
  EXPECT_EQ(v.deltat, 900.0f);
  EXPECT_EQ(v.temporalinterpwind__y_n, 1);
  EXPECT_EQ(v.temporalinterpwaves__y_n, 0);
  EXPECT_EQ(v.temporalinterpcurr__y_n, 1);
  EXPECT_EQ(v.numericalmethod__euler_rungekut, 2);
  EXPECT_EQ(v.firstoutput_time, 1800.0f);  // hours to seconds
  EXPECT_EQ(v.deltatoutput_parts, 3600.0f);
  EXPECT_EQ(v.deltatoutput_concs, 7200.0f);
  EXPECT_EQ(v.deltatoutput_properties, 1800);
  EXPECT_EQ(v.outputparts__y_n, 1);
  EXPECT_EQ(v.outputconcs__y_n, 1);
  EXPECT_EQ(v.outputpropierties__y_n, 0);
  EXPECT_EQ(v.simtype__operat_probabil, 1);
  EXPECT_EQ(v.simnumber__1_n, 1);
  EXPECT_TRUE(dir.files() == std::vector<std::string>{"AB  .run"});  // run.tmp removed
}

TEST(RunControl, CommentsAndBlankLinesChangeNothing) {
  temp_dir dir;
  reset_state();
  write_file("K.run", read_file(fixtures + "/control/plain.run"));
  run("K");
  const var_run_block plain = var_run;
  reset_state();
  write_file("C.run", read_file(fixtures + "/control/commented.run"));
  run("C");
  EXPECT_EQ(std::memcmp(&plain, &var_run, sizeof plain), 0);
}

std::string plain_with(int line, const std::string& text) {
  std::string s = read_file(fixtures + "/control/plain.run");
  std::vector<std::string> lines;
  std::size_t p = 0;
  while (p < s.size()) {
    auto q = s.find('\n', p);
    lines.push_back(s.substr(p, q - p));
    p = q + 1;
  }
  lines[line - 1] = text;
  std::string r;
  for (auto& l : lines) r += l + "\n";
  return r;
}

TEST(RunControl, SlashLeavesTheRecordAtZero) {
  temp_dir dir;
  reset_state();
  write_file("K.run", plain_with(11, " / interpolation left as it is"));
  run("K");
  EXPECT_EQ(var_run.temporalinterpwind__y_n, 0);
  EXPECT_EQ(var_run.temporalinterpcurr__y_n, 0);
  EXPECT_EQ(var_run.numericalmethod__euler_rungekut, 2);
}

TEST(RunControl, BadFilesNameSourceAndLine) {
  struct bad {
    int line;
    std::string text;
    int64_t error_line;
    std::string part;
  } cases[] = {
      {3, " * blowout", 3, "\"*\""},
      {10, "fast", 10, "\"fast\""},
      {9, "0 0", 9, "particle_number must be at least 1"},
      {10, "0.", 10, "deltat must be greater than 0"},
      {10, "-5", 10, "deltat"},
      {14, "", 15, "end of file"},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    reset_state();
    write_file("K.run", plain_with(c.line, c.text));
    try {
      run("K");
      FAIL() << c.text;
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "K.run");
      EXPECT_EQ(e.line(), c.error_line) << e.what();
      EXPECT_NE(e.message().find(c.part), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"K.run"}) << c.text;  // run.tmp removed
  }
}

}  // namespace
}  // namespace orvel
