// The orvel executable at start-up: run key, missing files, exit status.
#include <gtest/gtest.h>

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
  EXPECT_NE(run_orvel(dir.path(), "").err.find("    .run:"), std::string::npos);
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace orvel
