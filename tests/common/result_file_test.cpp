#include "common/result_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

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

using strings = std::vector<std::string>;

// A file-size limit of `bytes` on this process while it lives, with SIGXFSZ
// ignored (as the run does): a write past the limit fails with EFBIG, a
// write across it is cut at the limit.
class file_size_limit {
 public:
  explicit file_size_limit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = old_;
    r.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &r);
  }
  ~file_size_limit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = SIG_DFL;
};

TEST(ResultFile, AFailedWriteIsAnEnvironmentFailureAndLeavesNoWorkingFile) {
  // 1 MiB of lines under a limit of 4 kB: the buffer's first flush fails.
  testing::temp_dir dir;
  file_size_limit limit(4096);
  try {
    result_file f("big.txt");
    for (int i = 0; i < 40000; ++i) f.line("a line of thirty characters...");
    f.commit();
    ADD_FAILURE() << "no failure";
  } catch (const environment_error& e) {
    EXPECT_EQ(std::string(e.what()), "big.txt:0: cannot write the file: File too large");
  }
  EXPECT_TRUE(dir.files().empty());
}

TEST(RowFile, GrowsByWholeBlocksUnderItsName) {
  testing::temp_dir dir;
  testing::write_file("t.txt", "rows of an earlier run\n");
  row_file f("t.txt");
  EXPECT_FALSE(f.started());
  f.append("header\nrow 1\n");  // the first block replaces what stood
  EXPECT_EQ(testing::read_file("t.txt"), "header\nrow 1\n");
  f.append("row 2\n");
  EXPECT_EQ(testing::read_file("t.txt"), "header\nrow 1\nrow 2\n");
  EXPECT_EQ(f.size(), 19u);
  f.take_back(13);
  EXPECT_EQ(testing::read_file("t.txt"), "header\nrow 1\n");
  f.append("row 2'\n");
  EXPECT_EQ(testing::read_file("t.txt"), "header\nrow 1\nrow 2'\n");
  f.remove();
  EXPECT_TRUE(dir.files().empty());
}

TEST(RowFile, ABlockThatDoesNotFitIsTakenBackWhole) {
  // A limit of 20 bytes: the second block (12 bytes onto 13) would be cut at
  // byte 20; the file goes back to its first block, and the error says why.
  // A failure at the very first block leaves an empty file.
  testing::temp_dir dir;
  file_size_limit limit(20);
  row_file f("t.txt");
  f.append("header\nrow 1\n");
  try {
    f.append("row 2 .....\n");
    ADD_FAILURE() << "no failure";
  } catch (const environment_error& e) {
    EXPECT_EQ(std::string(e.what()), "t.txt:0: cannot write the file: File too large");
  }
  EXPECT_EQ(testing::read_file("t.txt"), "header\nrow 1\n");
  EXPECT_EQ(f.size(), 13u);
  row_file g("u.txt");
  EXPECT_THROW(g.append(std::string(30, 'x') + "\n"), environment_error);
  EXPECT_EQ(testing::read_file("u.txt"), "");
}

TEST(StalePartials, OnlyTheWorkingFilesOfTheKeyGo) {
  // Working files are NAME.KEY.PID.partial.  Those of the key go, whatever
  // their process (a container may give a killed run and the next one the
  // same number); those of another key, of a key that only ends like this
  // one, or not made of a process number stay.
  testing::temp_dir dir;
  const strings gone = {"AB  _properties_001.txt.AB  .4242.partial", "AB  _grid_001_000060.txt.AB  .7.partial",
                        "AB  _particles_000060.txt.AB  ." + std::to_string(::getpid()) + ".partial"};
  const strings kept = {"AB  _grid_001_000060.txt.CD  .7.partial", "x.txt.XAB  .7.partial",
                        "x.txt.AB  .7a.partial", "x.txt.AB  ..partial", "AB  _properties_001.txt",
                        "x.txt.AB  .7.partial.txt"};
  for (const auto& n : gone) testing::write_file(n, "cut ro");
  for (const auto& n : kept) testing::write_file(n, "x\n");
  std::filesystem::create_directory("y.txt.AB  .8.partial");  // not a file: stays
  set_partial_tag("");
  const stale_files s = remove_stale_partials("AB  ");
  EXPECT_EQ(s.removed, 3);
  EXPECT_EQ(s.processes, (std::vector<long>{7, ::getpid(), 4242}));
  strings left = kept;
  left.push_back("y.txt.AB  .8.partial");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(dir.files(), left);
}

TEST(StalePartials, ARunRemovesItsOwnWorkingFilesWhenStoppedAtOnce) {
  testing::temp_dir dir;
  set_partial_tag("AB  .77");
  for (const char* n : {"a.txt.AB  .77.partial", "b.txt.AB  .78.partial", "a.txt"}) testing::write_file(n, "");
  remove_own_partials();
  set_partial_tag("");
  EXPECT_EQ(dir.files(), (strings{"a.txt", "b.txt.AB  .78.partial"}));
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
