// The same run on 1, 2, 3 and 8 threads writes the same files, byte for
// byte: the shipped example, random-walk drifts large enough to be cut into
// several blocks of particles (open water, and onto a coast with the
// nearest-coast-point search), with Euler and Runge-Kutta steps, and each of
// the four engines with every weathering process on.  A thread count that
// is not a whole number from 1 to the cap is refused before anything is
// written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// Every file of the working directory after a run on `threads` threads, by
// name.  The scenario is prepared afresh in a sub-folder each time.
template <typename Prepare>
std::map<std::string, std::string> run_on(int threads, const std::string& key, Prepare prepare) {
  const fs::path top = fs::current_path();
  const fs::path dir = top / ("threads" + std::to_string(threads));
  fs::create_directory(dir);
  fs::current_path(dir);
  prepare();
  setenv("ORVEL_THREADS", std::to_string(threads).c_str(), 1);
  const auto r = run_orvel(dir, key);
  unsetenv("ORVEL_THREADS");
  EXPECT_EQ(r.status, 0) << r.err;
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = read_file(e.path());
  fs::current_path(top);
  return files;
}

template <typename Prepare>
void same_on_every_thread_count(const std::string& key, Prepare prepare, std::size_t at_least_files) {
  temp_dir dir;
  const auto one = run_on(1, key, prepare);
  EXPECT_GE(one.size(), at_least_files);
  for (const int threads : {2, 3, 8}) {
    const auto many = run_on(threads, key, prepare);
    ASSERT_EQ(many.size(), one.size()) << threads << " threads";
    for (const auto& [name, text] : one) {
      const auto it = many.find(name);
      ASSERT_NE(it, many.end()) << name << " missing on " << threads << " threads";
      EXPECT_TRUE(it->second == text) << name << " differs on " << threads << " threads";
    }
  }
}

TEST(ScenarioThreads, ExampleIsTheSameOnEveryThreadCount) {
  same_on_every_thread_count(
      "GALI",
      [] {
        const fs::path src = fs::path(ORVEL_SOURCE_DIR) / "examples" / "costa_da_morte";
        for (const auto& e : fs::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
      },
      40);
}

// A drift of `particles` particles with a random walk of 10 m2/s and a 3 %
// wind drag, Euler or Runge-Kutta steps, on every thread count.
void drift_on_every_thread_count(const char* particles, bool rk) {
  same_on_every_thread_count(
      "DRFT",
      [particles, rk] {
        copy_scenario("drift");
        replace_line("DRFT.run", "10 0", std::string(particles) + " 0");
        if (rk) replace_text("DRFT.run", "0 0 0\n1\n", "0 0 0\n2\n");
        replace_line("DRFT.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0");
        write_file("lstwinds.pre", lines(30, "8.0 250.0"));
      },
      8);
}

// 20,000 particles: five blocks on two threads.
TEST(ScenarioThreads, RandomWalkIsTheSameOnEveryThreadCount) {
  for (const bool rk : {false, true}) drift_on_every_thread_count("20000", rk);
}

// 140,000 particles: every one of 8 threads has its own share of each loop,
// 35 blocks dealt out, and the threads that finish first take blocks from
// the shares of the others.
TEST(ScenarioThreads, ALargeRandomWalkIsTheSameOnEveryThreadCount) { drift_on_every_thread_count("140000", false); }

// A random walk of 50 m2/s in a current onto the coast: particles beach at
// the nearest coast point, searched after the blocks in particle order.
TEST(ScenarioThreads, RandomWalkOntoACoastIsTheSameOnEveryThreadCount) {
  same_on_every_thread_count(
      "COST",
      [] {
        copy_scenario("coast");
        replace_line("COST.run", "20 0", "20000 0");
        replace_line("COST.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.0 0.0 0.0 1 50.0 0.0 0.0");
      },
      8);
}

// The mass-budget audits of the four engines (two spills, or the four
// pulses of a continuous release; coast, random walk, Runge-Kutta steps,
// every weathering or fate process on) with 33,000 particles a spill or
// pulse: nine blocks on three threads, the last of a few particles.
struct audit_engine {
  const char* folder;
  const char* key;
  const char* particles;
  const char* horizon;  // hours, cut to keep the test short
  const char* hours;
  friend void PrintTo(const audit_engine& e, std::ostream* os) { *os << e.key; }
};

struct engine_threads : ::testing::TestWithParam<audit_engine> {};

TEST_P(engine_threads, WithWeatheringTheSameOnEveryThreadCount) {
  const audit_engine e = GetParam();
  same_on_every_thread_count(
      e.key,
      [&e] {
        copy_scenario(e.folder);
        replace_line(std::string(e.key) + ".run", e.particles, "33000 0");
        replace_line(std::string(e.key) + ".cfg", e.horizon, e.hours);
      },
      8);
}

INSTANTIATE_TEST_SUITE_P(ScenarioThreads, engine_threads,
                         ::testing::Values(audit_engine{"audit_oil2d", "AUD2", "50 0", "48", "12"},
                                           // a continuous release: four pulses an hour apart
                                           audit_engine{"audit_oil2d", "AUC2", "50 0", "48", "12"},
                                           audit_engine{"audit_oil3d", "AUD3", "50 0", "48", "12"},
                                           audit_engine{"audit_hns2d", "AUH2", "50 0", "24", "12"},
                                           audit_engine{"audit_hns3d", "AUH3", "100 0", "16", "8"}),
                         [](const ::testing::TestParamInfo<audit_engine>& i) { return std::string(i.param.key); });

TEST(ScenarioThreads, AThreadCountThatIsNotAWholeNumberFromOneToTheCapIsRefused) {
  temp_dir dir;
  copy_scenario("drift");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(fs::current_path())) ++files;
  for (const char* value : {"0", "-1", "abc", "1e3", "", "1025"}) {
    setenv("ORVEL_THREADS", value, 1);
    const auto r = run_orvel(fs::current_path(), "DRFT");
    unsetenv("ORVEL_THREADS");
    EXPECT_EQ(r.status, 2) << value;
    EXPECT_NE(r.err.find(std::string("orvel: error: environment:0: ORVEL_THREADS = \"") + value + "\""),
              std::string::npos)
        << r.err;
    std::size_t now = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(fs::current_path())) ++now;
    EXPECT_EQ(now, files) << value << ": a file was written";
  }
}

}  // namespace
}  // namespace orvel
