// The same run on 1, 2, 3 and 8 threads writes the same files, byte for
// byte: the shipped example, and random-walk drifts large enough to be cut
// into several blocks of particles (open water, and onto a coast with the
// nearest-coast-point search), with Euler and Runge-Kutta steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
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

// 20,000 particles (three blocks) with a random walk of 10 m2/s and a 3 %
// wind drag.
TEST(ScenarioThreads, RandomWalkIsTheSameOnEveryThreadCount) {
  for (const bool rk : {false, true}) {
    same_on_every_thread_count(
        "DRFT",
        [rk] {
          copy_scenario("drift");
          replace_line("DRFT.run", "10 0", "20000 0");
          if (rk) replace_text("DRFT.run", "0 0 0\n1\n", "0 0 0\n2\n");
          replace_line("DRFT.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0");
          write_file("lstwinds.pre", lines(30, "8.0 250.0"));
        },
        8);
  }
}

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

}  // namespace
}  // namespace orvel
