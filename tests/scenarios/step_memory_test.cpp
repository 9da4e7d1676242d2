// The arrays that live for one step keep their storage from step to step: a
// run takes its memory from the system in its first steps, and a longer run
// of the same scenario takes no more.  Measured by the minor page faults of
// the orvel process (each first write to a page the system has not yet
// given the process is one): the same scenario run for a short and for a
// three times longer horizon must differ by little more than the pages of
// the longer series and result rows, and the run-to-run spread of the count
// on threads (some thousands: which thread first writes which page).  An
// array of one value a particle allocated afresh every step (100,000
// particles: 800 kB, 200 pages) would add some ten thousand faults over the
// longer run's extra steps (24 to 48).
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// Minor faults of the children waited for so far (the orvel runs).
long child_minor_faults() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return u.ru_minflt;
}

struct long_run {
  const char* name;
  const char* folder;
  const char* key;
  const char* particles_line;  // the scenario's particle line
  const char* particles;       // replaced by this
  const char* horizon_line;    // the scenario's horizon (hours)
  const char* short_hours;
  const char* long_hours;
  bool runge_kutta;            // the drift scenario switched from Euler steps
  const char* extra_from;      // optional: a line of the configuration replaced ...
  const char* extra_to;        // ... by this
  friend void PrintTo(const long_run& r, std::ostream* os) { *os << r.name; }
};

// Minor faults of one run of the case with `hours` hours on `threads`
// threads, in its own sub-folder.
long faults_of_run(const long_run& c, const char* hours, int threads) {
  const fs::path top = fs::current_path();
  const fs::path dir = top / (std::string(hours) + "h" + std::to_string(threads));
  fs::create_directory(dir);
  fs::current_path(dir);
  copy_scenario(c.folder);
  const std::string run = std::string(c.key) + ".run", cfg = std::string(c.key) + ".cfg";
  replace_line(run, c.particles_line, c.particles);
  replace_line(cfg, c.horizon_line, hours);
  if (c.runge_kutta) replace_text(run, "0 0 0\n1\n", "0 0 0\n2\n");
  if (c.extra_from) replace_line(cfg, c.extra_from, c.extra_to);
  setenv("ORVEL_THREADS", std::to_string(threads).c_str(), 1);
  const long before = child_minor_faults();
  const auto r = run_orvel(dir, c.key);
  const long faults = child_minor_faults() - before;
  unsetenv("ORVEL_THREADS");
  EXPECT_EQ(r.status, 0) << r.err;
  fs::current_path(top);
  return faults;
}

struct step_memory : ::testing::TestWithParam<long_run> {};

TEST_P(step_memory, ALongerRunTakesNoFreshMemoryPerStep) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the address sanitizer's allocator holds freed memory back from reuse";
#endif
  const long_run c = GetParam();
  temp_dir dir;
  for (const int threads : {1, 3}) {
    const long short_run = faults_of_run(c, c.short_hours, threads);
    const long longer_run = faults_of_run(c, c.long_hours, threads);
    ASSERT_GT(short_run, 0) << "no page faults counted";
    // The longer run's extra steps may add the pages of its longer series
    // and property rows (a few hundred), not a page per particle and step.
    // On threads the count spreads from run to run by up to a fifth.
    const long spread = threads == 1 ? 600 + short_run / 50 : 3000 + short_run / 4;
    EXPECT_LT(longer_run - short_run, spread)
        << c.name << " on " << threads << " threads: " << short_run << " faults in " << c.short_hours << " h, "
        << longer_run << " in " << c.long_hours << " h";
  }
}

INSTANTIATE_TEST_SUITE_P(
    ScenarioStepMemory, step_memory,
    ::testing::Values(
        // 200,000 particles in a random walk with a wind drag: 1.6 MB per
        // array of one value a particle.
        long_run{"EulerDrift", "drift", "DRFT", "10 0", "200000 0", "6", "2", "6", false,
                 "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0"},
        long_run{"RungeKuttaDrift", "drift", "DRFT", "10 0", "200000 0", "6", "2", "6", true,
                 "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0"},
        // The oil engine with every weathering process, two spills.
        long_run{"Oil2D", "audit_oil2d", "AUD2", "50 0", "100000 0", "48", "4", "12", false, nullptr, nullptr},
        // A continuous release: four pulses.  Each case: 100,000 particles a
        // spill or pulse.
        long_run{"Oil2DPulses", "audit_oil2d", "AUC2", "50 0", "100000 0", "48", "4", "12", false, nullptr, nullptr},
        long_run{"Oil3D", "audit_oil3d", "AUD3", "50 0", "100000 0", "48", "4", "12", false, nullptr, nullptr},
        long_run{"Chemical2D", "audit_hns2d", "AUH2", "50 0", "100000 0", "24", "4", "12", false, nullptr, nullptr},
        long_run{"Chemical3D", "audit_hns3d", "AUH3", "100 0", "100000 0", "16", "4", "12", false, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<long_run>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace orvel
