#include "common/result_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/errors.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

TEST(ResultFile, AppearsOnlyWhenCommitted) {
  testing::temp_dir dir;
  testing::write_file("out.txt", "old contents\n");
  {
    result_file f("out.txt");
    f.line("first");
    f.write("sec");
    f.line("ond");
    EXPECT_EQ(testing::read_file("out.txt"), "old contents\n");
    f.commit();
  }
  EXPECT_EQ(testing::read_file("out.txt"), "first\nsecond\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"out.txt"});
}

TEST(ResultFile, AbandonedFileLeavesNothing) {
  testing::temp_dir dir;
  {
    result_file f("res.txt");
    for (int i = 0; i < 200000; ++i) f.line("a line long enough to pass the flush size");
  }
  EXPECT_TRUE(dir.files().empty());
}

TEST(ResultFile, UnwritableFolderIsAnError) {
  testing::temp_dir dir;
  EXPECT_THROW(result_file("no/such/folder/x.txt"), input_error);
}

}  // namespace
}  // namespace orvel
