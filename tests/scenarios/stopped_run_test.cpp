// A run that stops before its end, however it stops, keeps what it
// computed and leaves a folder a user can read; a re-run in the folder never
// mixes with the run before.
//
// The scenario is the oil audit of tests/scenarios/audit_oil2d/ (two spills,
// 48 h, 10 min steps) with 20,000 particles a spill and particle files every
// hour: long enough (a second or more) for a signal sent once the files of
// 24 h exist to land in the middle of the run.  Every folder a stopped run
// leaves is compared with an undisturbed run of the same scenario: each
// result file there is byte for byte that of the undisturbed run, and each
// property file is a head of it cut after a whole row.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using strings = std::vector<std::string>;
using file_map = std::map<std::string, std::string>;

const char* const key = "AUD2";

void stop_scenario() {
  copy_scenario("audit_oil2d");
  replace_line("AUD2.run", "50 0", "20000 0");
  replace_line("AUD2.run", "0. 43200. 3600. 3600", "0. 3600. 3600. 3600");
}

// A run of orvel started in the working directory, its standard output and
// error in .stdout and .stderr; `fsize` limits the size of every file it
// writes (0: no limit).
struct child_run {
  pid_t pid = -1;
  int raw = 0;  // the wait status
};

child_run start_orvel(rlim_t fsize = 0) {
  child_run c;
  c.pid = ::fork();
  if (c.pid == 0) {
    const int out = ::open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (fsize > 0) {
      rlimit r{fsize, fsize};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ::setenv("ORVEL_THREADS", "2", 1);
    ::execl(ORVEL_BINARY, ORVEL_BINARY, key, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return c;
}

void finish(child_run& c) {
  while (::waitpid(c.pid, &c.raw, 0) < 0 && errno == EINTR) {
  }
}

// Waits until `name` exists (and differs from `old`, the text of an earlier
// run's file of that name); false when the run ended first (or after five
// minutes, for a machine far too loaded).
bool wait_for(child_run& c, const std::string& name, const std::string& old = "") {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(5);
  auto made = [&] {
    std::error_code ec;
    if (!fs::exists(name, ec)) return false;
    if (old.empty()) return true;
    try {
      return read_file(name) != old;
    } catch (const std::exception&) {
      return false;  // renamed over or removed while read
    }
  };
  while (!made()) {
    if (::waitpid(c.pid, &c.raw, WNOHANG) == c.pid) return false;
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// The result files of the folder (not the inputs, not the run's output).
file_map results() {
  file_map m;
  for (const auto& e : fs::directory_iterator(".")) {
    const std::string n = e.path().filename().string();
    if (n.rfind("AUD2_", 0) == 0 || n.rfind("AUD2.", 0) == 0 || n.find(".partial") != std::string::npos ||
        n == "grid_coordinates.txt") {
      if (n != "AUD2.run" && n != "AUD2.cfg") m[n] = read_file(n);
    }
  }
  return m;
}

// The result files of an undisturbed run of the scenario (made once).
const file_map& undisturbed() {
  static const file_map files = [] {
    temp_dir dir;
    stop_scenario();
    const auto r = run_orvel(dir.path(), key);
    EXPECT_EQ(r.status, 0) << r.err;
    return results();
  }();
  return files;
}

// The time column of the last row of a property file.
double last_row_time(const std::string& text) {
  const std::size_t end = text.rfind('\n', text.size() - 2);
  return std::strtod(text.c_str() + end + 1, nullptr);
}

// Checks a stopped run's folder against the undisturbed run: no working
// file, every particle and grid file whole, each property file a head of
// the undisturbed one ending after a whole row at `rows_to` h or later.
void expect_whole_results(const file_map& stopped, double rows_to) {
  const file_map& full = undisturbed();
  int particle_files = 0;
  for (const auto& [name, text] : stopped) {
    if (name == "AUD2.lock") continue;
    EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
    ASSERT_TRUE(full.count(name)) << name;
    if (name.find("_properties_") != std::string::npos) {
      ASSERT_FALSE(text.empty()) << name;
      EXPECT_EQ(text.back(), '\n') << name;
      EXPECT_EQ(full.at(name).compare(0, text.size(), text), 0) << name << " is not a head of the whole file";
      EXPECT_GE(last_row_time(text), rows_to) << name;
    } else {
      EXPECT_TRUE(text == full.at(name)) << name << " differs from the undisturbed run";
      if (name.find("_particles_") != std::string::npos) ++particle_files;
    }
  }
  EXPECT_GE(particle_files, static_cast<int>(rows_to) + 1);  // hourly, from 0 h
  EXPECT_EQ(stopped.count("AUD2_properties_001.txt") + stopped.count("AUD2_properties_002.txt"), 2u);
}

struct signal_case {
  int signal;
  int count;
  const char* wait_file;
  const char* name;
};

std::ostream& operator<<(std::ostream& out, const signal_case& c) { return out << c.name << " x" << c.count; }

class SignalStop : public ::testing::TestWithParam<signal_case> {};

TEST_P(SignalStop, TheRunStopsAtTheEndOfAStepWithWholeFilesAndRows) {
  // SIGTERM, SIGINT and SIGHUP once the files of 24 h exist: the run ends
  // with 128 + the signal and one line saying where, the property files
  // keep every row up to that time, the lock and working files are gone.
  // SIGTERM twice hurries the run (it may end either way: the files stay
  // whole).  SIGKILL, sent once the files of 25 h exist (the property rows
  // of a time follow its particle and grid files in the same step), leaves
  // whole rows up to 24 h at least, and the lock, which the next run of the
  // key takes over.  After each, a re-run in the folder gives every file of
  // the undisturbed run, byte for byte, and nothing else.
  const signal_case& c = GetParam();
  undisturbed();
  {
    temp_dir dir;
    stop_scenario();
    child_run run = start_orvel();
    ASSERT_TRUE(wait_for(run, c.wait_file)) << "the run ended before its 24 h files: " << read_file(".stderr");
    for (int i = 0; i < c.count; ++i) ::kill(run.pid, c.signal);
    finish(run);
    const file_map left = results();
    const std::string err = read_file(".stderr");
    if (c.signal == SIGKILL) {
      ASSERT_TRUE(WIFSIGNALED(run.raw));
      expect_whole_results(left, 24.0);
      EXPECT_TRUE(left.count("AUD2.lock"));
    } else {
      ASSERT_TRUE(WIFEXITED(run.raw)) << err;
      EXPECT_EQ(WEXITSTATUS(run.raw), 128 + c.signal);
      EXPECT_EQ(left.count("AUD2.lock"), 0u);
      const std::regex line(std::string("orvel: stopped by ") + c.name +
                            " at ([0-9.]+) h of model time(.*): the result files of every output time up to then "
                            "are written(; the property files keep their rows up to ([0-9.]+) h|.*)\n");
      std::smatch m;
      ASSERT_TRUE(std::regex_match(err, m, line)) << err;
      const double at = std::stod(m[1]);
      EXPECT_GE(at, 24.0);
      EXPECT_LT(at, 48.0);
      if (c.count == 1) {
        // The step of the signal ends; the last row is the last whole hour.
        ASSERT_TRUE(m[4].matched) << err;
        const double rows = std::stod(m[4]);
        EXPECT_EQ(rows, std::floor(at));
        EXPECT_EQ(last_row_time(left.at("AUD2_properties_001.txt")), rows);
        EXPECT_EQ(last_row_time(left.at("AUD2_properties_002.txt")), rows);
        EXPECT_TRUE(left.count("AUD2_particles_" + std::string(6 - std::to_string(static_cast<int>(rows * 60)).size(), '0') +
                               std::to_string(static_cast<int>(rows * 60)) + ".txt"));
      }
      expect_whole_results(left, 24.0);
    }
    // The re-run cleans up and writes the undisturbed run's files alone.
    const auto again = run_orvel(dir.path(), key);
    EXPECT_EQ(again.status, 0) << again.err;
    if (c.signal == SIGKILL) {
      EXPECT_NE(again.err.find("ended without its clean-up and no longer runs: its lock file"), std::string::npos)
          << again.err;
    } else {
      EXPECT_EQ(again.err, "");
    }
    EXPECT_TRUE(results() == undisturbed()) << "the re-run differs from the undisturbed run";
  }
}

INSTANTIATE_TEST_SUITE_P(StoppedRun, SignalStop,
                         ::testing::Values(signal_case{SIGTERM, 1, "AUD2_particles_001440.txt", "SIGTERM"},
                                           signal_case{SIGINT, 1, "AUD2_particles_001440.txt", "SIGINT"},
                                           signal_case{SIGHUP, 1, "AUD2_particles_001440.txt", "SIGHUP"},
                                           signal_case{SIGTERM, 2, "AUD2_particles_001440.txt", "SIGTERM"},
                                           signal_case{SIGKILL, 1, "AUD2_particles_001500.txt", "SIGKILL"}));

TEST(StoppedRun, AFileThatCannotGrowEndsTheRunWithItsWholeRows) {
  // A file-size limit (as a full disk) that the first property file reaches
  // at its row of 40 h: the run ends with the environment status and one
  // error line naming the file, both property files keep their rows up to
  // 39 h, and nothing else is left but whole files.  (Without a handler the
  // limit killed the run by SIGXFSZ, its working file cut at the limit.)
  undisturbed();
  const std::string whole = undisturbed().at("AUD2_properties_001.txt");
  std::size_t end_39 = 0;  // the end of the header and the rows up to 39 h
  for (int line = 0; line < 41; ++line) end_39 = whole.find('\n', end_39) + 1;
  temp_dir dir;
  stop_scenario();
  replace_line("AUD2.run", "1 0 1", "0 0 1");  // no particle files
  child_run run = start_orvel(end_39 + 100);
  finish(run);
  ASSERT_TRUE(WIFEXITED(run.raw));
  EXPECT_EQ(WEXITSTATUS(run.raw), 3);
  EXPECT_EQ(read_file(".stderr"),
            "orvel: error: AUD2_properties_001.txt:0: cannot write the file: File too large; the property files "
            "keep their rows up to 39 h\n");
  const file_map left = results();
  EXPECT_EQ(left.size(), 3u);
  EXPECT_EQ(left.at("AUD2_properties_001.txt"), whole.substr(0, end_39));
  const std::string& second = left.at("AUD2_properties_002.txt");
  EXPECT_EQ(undisturbed().at("AUD2_properties_002.txt").compare(0, second.size(), second), 0);
  EXPECT_EQ(last_row_time(second), 39.0);
  EXPECT_TRUE(left.count("grid_coordinates.txt"));
}

TEST(StoppedRun, AFullDiskEndsTheRunWithWholeFilesAndRows) {
  // The audit scenario as it stands (50 particles a spill), particle files
  // every hour, run on a private 256 kB file system that fills after about
  // 20 h: status 3, one line naming the file that did not fit and the time
  // of the last property rows; every particle file there is that of the
  // undisturbed run, both property files are heads of theirs ending at that
  // time, and no working file or lock is left.  Needs a private mount
  // namespace (unshare); the file-size limit test stands for it elsewhere.
  if (std::system("unshare -rm true >/dev/null 2>&1") != 0) GTEST_SKIP() << "no private mount namespace";
  file_map full;
  {
    temp_dir ref;
    copy_scenario("audit_oil2d");
    replace_line("AUD2.run", "0. 43200. 3600. 3600", "0. 3600. 3600. 3600");
    ASSERT_EQ(run_orvel(ref.path(), key).status, 0);
    full = results();
  }
  temp_dir dir;
  fs::create_directory("in");
  fs::create_directory("disk");
  fs::create_directory("out");
  fs::current_path("in");
  copy_scenario("audit_oil2d");
  replace_line("AUD2.run", "0. 43200. 3600. 3600", "0. 3600. 3600. 3600");
  fs::current_path(dir.path());
  const std::string cmd = "cd '" + dir.path().string() +
                          "' && unshare -rm sh -c 'mount -t tmpfs -o size=256k tmpfs disk && cp in/* disk/ && "
                          "cd disk && ORVEL_THREADS=2 \"$0\" AUD2 >.stdout 2>.stderr; echo $? >.status; cp -a . ../out/' '" +
                          std::string(ORVEL_BINARY) + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  fs::current_path("out");
  EXPECT_EQ(read_file(".status"), "3\n");
  const std::string err = read_file(".stderr");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(err, m,
                               std::regex("orvel: error: AUD2_[a-z_0-9]+\\.txt:0: cannot write the file: No space left "
                                          "on device; the property files keep their rows up to ([0-9]+) h\n")))
      << err;
  const double rows = std::stod(m[1]);
  EXPECT_GE(rows, 5.0);
  EXPECT_LT(rows, 47.0);
  const file_map left = results();
  int last_minute = -1;
  for (const auto& [name, text] : left) {
    EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
    EXPECT_NE(name, "AUD2.lock");
    if (name == "AUD2.lock" || name.find(".partial") != std::string::npos) continue;
    ASSERT_TRUE(full.count(name)) << name;
    if (name.find("_properties_") != std::string::npos) {
      EXPECT_EQ(full.at(name).compare(0, text.size(), text), 0) << name;
      EXPECT_EQ(last_row_time(text), rows) << name;
    } else {
      EXPECT_TRUE(text == full.at(name)) << name;
      if (name.find("_particles_") != std::string::npos) last_minute = std::max(last_minute, std::stoi(name.substr(15, 6)));
    }
  }
  // The files of the time that failed are gone; its rows follow its files.
  EXPECT_GE(last_minute, static_cast<int>(rows) * 60);
  EXPECT_LE(last_minute, static_cast<int>(rows) * 60 + 60);
  EXPECT_EQ(left.count("AUD2_properties_001.txt") + left.count("AUD2_properties_002.txt"), 2u);
  fs::current_path(dir.path());
}

TEST(StoppedRun, ARunStartsFromAFolderWithoutTheResultsOfEarlierRunsOfItsKey) {
  // A folder with the whole results of a run, plus what a killed run left:
  // a working file, a lock with its process number, a property file with a
  // cut row, and results of another key and an input named like nothing the
  // run writes.  A refused re-run (bad input, status 2) leaves all of it as
  // it was; a run that starts removes the key's earlier results and the
  // killed run's leftovers first, saying so, and ends with the undisturbed
  // run's files alone.  A run of a changed scenario stopped part way leaves
  // only its own files: none of the earlier run's later times.
  temp_dir dir;
  stop_scenario();
  for (const auto& [name, text] : undisturbed()) write_file(name, text);
  write_file("AUD2_particles_003000.txt.AUD2.999999.partial", "    50.00,  -9.5");
  write_file("AUD2.lock", "999999\n");
  write_file("AUD2_properties_001.txt", undisturbed().at("AUD2_properties_001.txt") + "    49.00,      -9.1");
  write_file("AUD3_properties_001.txt", "another key\n");
  write_file("AUD2_particles_notes.txt", "not a result name\n");
  const std::string cfg = read_file("AUD2.cfg");
  replace_line("AUD2.cfg", "48", "-48");
  file_map before = results();
  before.erase("AUD2.lock");
  before.erase("AUD2_particles_003000.txt.AUD2.999999.partial");
  auto refused = run_orvel(dir.path(), key);
  EXPECT_EQ(refused.status, 2) << refused.err;
  // Taking the lock already clears what the killed run left.
  EXPECT_EQ(refused.err.substr(0, refused.err.find('\n') + 1),
            "orvel: note: a run of key \"AUD2\" (process 999999) ended without its clean-up and no longer runs: its "
            "lock file and 1 working file are removed\n");
  EXPECT_TRUE(results() == before);
  write_file("AUD2.cfg", cfg);
  auto r = run_orvel(dir.path(), key);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  file_map after = results();
  after.erase("AUD3_properties_001.txt");
  after.erase("AUD2_particles_notes.txt");
  EXPECT_TRUE(after == undisturbed());
  EXPECT_EQ(read_file("AUD3_properties_001.txt"), "another key\n");
  EXPECT_EQ(read_file("AUD2_particles_notes.txt"), "not a result name\n");

  // The changed scenario (the wind's coefficient halved), stopped after 17 h.
  std::string halved = read_file("AUD2.cfg");
  for (std::size_t at; (at = halved.find("1.0 0.03 0.0")) != std::string::npos;) halved.replace(at, 12, "1.0 0.015 0.0");
  write_file("AUD2.cfg", halved);
  child_run run = start_orvel();
  ASSERT_TRUE(wait_for(run, "AUD2_particles_001020.txt", undisturbed().at("AUD2_particles_001020.txt")));
  ::kill(run.pid, SIGTERM);
  finish(run);
  ASSERT_TRUE(WIFEXITED(run.raw));
  EXPECT_EQ(WEXITSTATUS(run.raw), 128 + SIGTERM);
  const file_map stopped = results();
  const double rows = last_row_time(stopped.at("AUD2_properties_001.txt"));
  EXPECT_LT(rows, 48.0);
  EXPECT_EQ(last_row_time(stopped.at("AUD2_properties_002.txt")), rows);
  int particle_files = 0;
  for (const auto& [name, text] : stopped) {
    if (name.rfind("AUD2_particles_", 0) != 0 || name == "AUD2_particles_notes.txt") continue;
    ++particle_files;
    EXPECT_LE(std::stoi(name.substr(15, 6)), static_cast<int>(rows) * 60) << name << " of the earlier run";
  }
  EXPECT_EQ(particle_files, static_cast<int>(rows) + 1);
  EXPECT_NE(stopped.at("AUD2_particles_000600.txt"), undisturbed().at("AUD2_particles_000600.txt"));
}

TEST(StoppedRun, AGridCoordinatesFileOfAnotherGridIsReplacedWithAWarning) {
  // grid_coordinates.txt carries no key: a run of another key with another
  // grid in the same folder replaces it, and says so; the same grid again
  // replaces it silently.
  temp_dir dir;
  copy_scenario("drift");
  auto first = run_orvel(dir.path(), "DRFT");
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string grid = read_file("grid_coordinates.txt");
  auto same = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(same.err, "");
  write_file("grid_coordinates.txt", grid.substr(0, grid.size() / 2));
  auto other = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(other.status, 0);
  EXPECT_EQ(other.err,
            "orvel: warning: grid_coordinates.txt held the nodes of another grid (a run of another key in this "
            "folder?): it is replaced by this run's grid, and the grid files of that run no longer match it\n");
  EXPECT_EQ(read_file("grid_coordinates.txt"), grid);
}

}  // namespace
}  // namespace orvel
