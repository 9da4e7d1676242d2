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

// A file written in pieces: the first piece starts the partial file afresh,
// even where a run killed earlier left one of the same name (a process id
// used again, as in containers), later pieces go after it, and the file
// appears under its real name only when committed.
TEST(PiecewiseFile, FirstPieceStartsAfreshOverAStalePartial) {
  testing::temp_dir dir;
  testing::write_file(partial_name("rows.txt"), "stale row 1\nstale row 2\n");
  {
    piecewise_file f("rows.txt");
    f.append("row 1\n");
    f.append("row 2\n");
    EXPECT_FALSE(std::filesystem::exists("rows.txt"));
    f.commit();
  }
  EXPECT_EQ(testing::read_file("rows.txt"), "row 1\nrow 2\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"rows.txt"});
}

// A file written in pieces and never committed leaves nothing behind, nor
// does one that was never started; a committed one leaves only itself.
TEST(PiecewiseFile, AnUncommittedFileLeavesNothing) {
  testing::temp_dir dir;
  {
    piecewise_file started("a.txt");
    started.append("row 1\n");
    started.append("row 2\n");
    piecewise_file idle("b.txt");
    piecewise_file done("c.txt");
    done.append("row\n");
    done.commit();
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"c.txt"});
  EXPECT_EQ(testing::read_file("c.txt"), "row\n");
}

}  // namespace
}  // namespace orvel
