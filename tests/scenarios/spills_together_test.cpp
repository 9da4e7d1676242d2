// The spills of a two-dimensional oil, drift or chemical run move together
// in each step (the pulses of a continuous release share the threads a whole pulse
// at a time).  The files they write are those of the same run with every
// spill moved on its own, pulse after pulse on one thread, byte for byte:
// the run is made both ways, by the orvel executable on 1, 3 and 8 threads
// (on more than one thread the spills move together), and one spill after
// the other in a child of the test process with moving together switched
// off.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <ostream>
#include <string>
#include <vector>
#include <array>

#include "app/startup.hpp"
#include "common/parallel.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/field_files.hpp"
#include "engines/frame.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;
namespace fs = std::filesystem;

using folder_files = std::map<std::string, std::string>;

folder_files files_of(const fs::path& dir) {
  folder_files files;
  for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = read_file(e.path());
  return files;
}

// The run of `key` in folder `dir` with every spill moved on its own, on one
// thread, in a child process (the model's state is the process's own): its
// exit status and what it wrote on standard error.
run_result run_one_spill_at_a_time(const fs::path& dir, const std::string& key) {
  std::cout.flush();
  const pid_t child = fork();
  if (child == 0) {
    int status = 0;
    if (std::freopen((dir / ".stdout").c_str(), "w", stdout) == nullptr ||
        std::freopen((dir / ".stderr").c_str(), "w", stderr) == nullptr || chdir(dir.c_str()) != 0) {
      _exit(3);
    }
    try {
      // A fresh model, whatever the tests before this one left.
      reset_state();
      reset_forcing_readers();
      set_thread_count(1);
      allow_spills_together(false);
      main_program(key);
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      status = 1;
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(status);
  }
  int rc = 0;
  run_result r;
  if (child < 0 || waitpid(child, &rc, 0) != child) return r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = read_file(dir / ".stdout");
  r.err = read_file(dir / ".stderr");
  fs::remove(dir / ".stdout");
  fs::remove(dir / ".stderr");
  return r;
}

struct together_case {
  const char* name;
  const char* folder;  // the audit scenario
  const char* key;
  // Edits of the audit scenario's run and configuration files: a file
  // ending, and a text (whole lines) that occurs once and what replaces it.
  std::vector<std::array<const char*, 3>> edits;
  friend void PrintTo(const together_case& c, std::ostream* os) { *os << c.name; }
};

struct spills_together : ::testing::TestWithParam<together_case> {};

TEST_P(spills_together, WriteTheFilesOfEverySpillMovedOnItsOwn) {
  const together_case& c = GetParam();
  temp_dir top;
  auto prepare = [&c](const fs::path& dir) {
    fs::create_directory(dir);
    const fs::path back = fs::current_path();
    fs::current_path(dir);
    copy_scenario(c.folder);
    for (const auto& [file, old_text, new_text] : c.edits) {
      replace_text(std::string(c.key) + file, std::string("\n") + old_text + "\n", std::string("\n") + new_text + "\n");
    }
    fs::current_path(back);
  };
  const fs::path apart = fs::current_path() / "apart";
  prepare(apart);
  const auto one = run_one_spill_at_a_time(apart, c.key);
  ASSERT_EQ(one.status, 0) << one.err;
  const folder_files reference = files_of(apart);
  EXPECT_GE(reference.size(), 10u);
  for (const int threads : {1, 3, 8}) {
    const fs::path dir = fs::current_path() / ("together" + std::to_string(threads));
    prepare(dir);
    setenv("ORVEL_THREADS", std::to_string(threads).c_str(), 1);
    const auto r = run_orvel(dir, c.key);
    unsetenv("ORVEL_THREADS");
    ASSERT_EQ(r.status, 0) << r.err;
    const folder_files together = files_of(dir);
    ASSERT_EQ(together.size(), reference.size()) << threads << " threads";
    for (const auto& [name, text] : reference) {
      const auto it = together.find(name);
      ASSERT_NE(it, together.end()) << name << " missing on " << threads << " threads";
      EXPECT_TRUE(it->second == text) << name << " differs on " << threads << " threads";
    }
  }
}

// The continuous release of the audit (coast, random walk of 20 m2/s,
// Runge-Kutta steps, spreading by the random spreading walk for 8 hours,
// every weathering process) cut into 18 pulses of 2,000 particles over 3
// hours, 12 hours long: 36,000 particles, three threads' worth.
constexpr std::array<const char*, 3> pulses_run{".run", "50 0", "2000 0"};
constexpr std::array<const char*, 3> pulses_line{".cfg", "4.0 3600", "3.0 600"};
constexpr std::array<const char*, 3> twelve_hours{".cfg", "48", "12"};

// The chemical's continuous release of its audit (Lehr spreading, every
// fate process) cut the same way; and the same release of a chemical denser
// than the water, which lies on the floor and whose floor particles the
// current carries with the random walk.
constexpr std::array<const char*, 3> chemical_pulses_line{".cfg", "4.0 3600", "3.0 600"};
constexpr const char* chemical_line =
    "1 0.0 40000.0 -8.8 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 78.11 1.0 "
    "50.0 0.0 0.0 1025.0 15.0 20.0";
constexpr const char* dense_chemical_line =
    "1 0.0 40000.0 -8.8 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 1330.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 78.11 1.0 "
    "50.0 0.0 0.0 1025.0 15.0 20.0";
constexpr std::array<const char*, 3> chemical_twelve_hours{".cfg", "24", "12"};

INSTANTIATE_TEST_SUITE_P(
    ScenarioSpillsTogether, spills_together,
    ::testing::Values(
        together_case{"PulsesRungeKuttaSpreading", "audit_oil2d", "AUC2", {pulses_run, pulses_line, twelve_hours}},
        together_case{"PulsesEuler",
                      "audit_oil2d",
                      "AUC2",
                      {pulses_run, pulses_line, twelve_hours, {".run", "0 0 0\n2", "0 0 0\n1"}}},
        // Lehr growth (no spreading diffusivity) and no random walk: the
        // pulses draw nothing while they spread.
        together_case{"PulsesLehrWithoutRandomWalk",
                      "audit_oil2d",
                      "AUC2",
                      {pulses_run, pulses_line, twelve_hours, {".cfg", "1 1 8", "1 2 8"},
                       {".cfg", "1.0 0.03 0.0 1.0 1 20.0 0.0 0.0", "1.0 0.03 0.0 1.0 0 20.0 0.0 0.0"}}},
        // Two spills released at once at different times and places, each
        // too small for its loops to take a second thread.
        together_case{"TwoSpills", "audit_oil2d", "AUD2", {{".run", "50 0", "12000 0"}, twelve_hours}},
        together_case{"ChemicalPulses",
                      "audit_hns2d",
                      "AUP2",
                      {pulses_run, chemical_pulses_line, chemical_twelve_hours}},
        together_case{"DenseChemicalPulsesOnTheFloor",
                      "audit_hns2d",
                      "AUP2",
                      {pulses_run, chemical_pulses_line, chemical_twelve_hours,
                       {".cfg", chemical_line, dense_chemical_line}}}),
    [](const ::testing::TestParamInfo<together_case>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace orvel
