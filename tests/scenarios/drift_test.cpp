// Drift on open water under spatially uniform forcing, run end to end: a
// uniform current and a uniform wind move every particle by the analytic
// distance, a late spill first moves in the step that ends after its start,
// and a run with the random walk gives the same files twice.
//
// The scenario (tests/scenarios/drift/): a floating object of ten particles
// released over a 1 km square at 9 W, 43 N, on a 0.1-degree grid of open
// water with mean latitude 43; six hours in steps of 600 s; particle files
// hourly.  Currents, waves and wind are uniform series of six hourly lines;
// the current comes from the north at 0.5 m/s (a direction of 0 gives
// exactly southward components), the wind and waves are calm.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// The printed positions carry seven decimals of a degree: 1.1 cm in
// latitude.
constexpr double printed = 0.02;

// Displacements (east, north) in metres of every particle between two
// particle files.
std::vector<std::pair<double, double>> displacements(const std::string& from, const std::string& to) {
  const auto a = read_particles(from);
  const auto b = read_particles(to);
  EXPECT_EQ(a.size(), b.size());
  std::vector<std::pair<double, double>> d;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    d.emplace_back((b[i].lon - a[i].lon) * metres_per_degree_lon(43.0), (b[i].lat - a[i].lat) * metres_per_degree);
  }
  return d;
}

TEST(ScenarioDrift, UniformCurrentMovesEveryParticleByTheAnalyticDistance) {
  // 0.5 m/s for 6 h: 10800 m south, with Euler, with Runge-Kutta, and with
  // Runge-Kutta on currents blended in time.
  struct method_case {
    const char* what;
    const char* method;
    const char* interpolation;
  };
  for (const auto& m : {method_case{"Euler", "1", "0 0 0"}, method_case{"Runge-Kutta", "2", "0 0 0"},
                        method_case{"Runge-Kutta, blended", "2", "0 0 1"}}) {
    temp_dir dir;
    copy_scenario("drift");
    std::string run = read_file("DRFT.run");
    const auto pos = run.find("0 0 0\n1\n");
    ASSERT_NE(pos, std::string::npos);
    run.replace(pos, 8, std::string(m.interpolation) + "\n" + m.method + "\n");
    write_file("DRFT.run", run);
    run_ok("DRFT");
    const auto d = displacements("DRFT_particles_000000.txt", "DRFT_particles_000360.txt");
    ASSERT_EQ(d.size(), 10u);
    for (const auto& [east, north] : d) {
      EXPECT_EQ(east, 0.0) << m.what;
      EXPECT_NEAR(north, -10800.0, printed) << m.what;
    }
    // Hourly: 1800 m per hour, every hour.
    const auto h = displacements("DRFT_particles_000180.txt", "DRFT_particles_000240.txt");
    for (const auto& [east, north] : h) EXPECT_NEAR(north, -1800.0, printed) << m.what;
  }
}

TEST(ScenarioDrift, UniformWindFromTheNorthMovesParticlesSouthAtItsDragSpeed) {
  // No current; wind 10 m/s from the north with a = 0.03, b = 0.001: the
  // drift is (a + b W) W = 0.4 m/s south, 8640 m in 6 h.
  temp_dir dir;
  copy_scenario("drift");
  write_file("lstcurr.pre", lines(6, "0.0 0.0"));
  write_file("lstwinds.pre", lines(6, "10.0 0.0"));
  replace_line("DRFT.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.001 0.0 0 0.0 0.0 0.0");
  run_ok("DRFT");
  const auto d = displacements("DRFT_particles_000000.txt", "DRFT_particles_000360.txt");
  ASSERT_EQ(d.size(), 10u);
  const double drift = (0.03 + 0.001 * 10.0) * 10.0 * 6.0 * 3600.0;
  for (const auto& [east, north] : d) {
    EXPECT_EQ(east, 0.0);
    EXPECT_NEAR(north, -drift, printed);
  }
}

TEST(ScenarioDrift, ASpillStartingAtOneAndAHalfHoursFirstMovesInTheStepEndingAfterIt) {
  // Start 1.5 h = 5400 s, steps of 600 s: the step ending at 5400 s does not
  // move it (its start is not before the step time); the step ending at
  // 6000 s moves it by 300 m.  Particle files every step.
  temp_dir dir;
  copy_scenario("drift");
  replace_line("DRFT.cfg",
               "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 "
               "40.0 5.0 70.0 1025.0 15.0 20.0",
               "1 1.5 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 "
               "40.0 5.0 70.0 1025.0 15.0 20.0");
  replace_line("DRFT.run", "0. 3600. 3600. 3600", "0. 600. 3600. 3600");
  run_ok("DRFT");
  // Before the start the files hold the header only.
  for (const char* f : {"DRFT_particles_000000.txt", "DRFT_particles_000080.txt"}) {
    EXPECT_TRUE(read_particles(f).empty()) << f;
  }
  // At 1.5 h the spill is written where it was placed: its centre is the
  // time-0 record of the property series, printed in the first property row,
  // which carries the start time.
  const auto placed = read_particles("DRFT_particles_000090.txt");
  ASSERT_EQ(placed.size(), 10u);
  double lon = 0.0, lat = 0.0;
  for (const auto& p : placed) {
    lon += p.lon / 10.0;
    lat += p.lat / 10.0;
  }
  const std::string props = read_file("DRFT_properties_001.txt");
  const auto first_row = props.substr(props.find('\n') + 1, props.find('\n', props.find('\n') + 1) - props.find('\n') - 1);
  EXPECT_EQ(first_row.substr(0, 9), "    1.50,");
  EXPECT_NEAR(std::strtod(first_row.substr(9, 23).c_str(), nullptr), lon, 1e-7);
  EXPECT_NEAR(std::strtod(first_row.substr(33, 23).c_str(), nullptr), lat, 1e-7);
  // The next row is at 2.00: rows at or before the start are left out.
  EXPECT_NE(props.find("\n    2.00,"), std::string::npos);
  EXPECT_EQ(props.find("\n    1.00,"), std::string::npos);
  // One step later: 300 m south.
  for (const auto& [east, north] : displacements("DRFT_particles_000090.txt", "DRFT_particles_000100.txt")) {
    EXPECT_EQ(east, 0.0);
    EXPECT_NEAR(north, -300.0, printed);
  }
  for (const auto& [east, north] : displacements("DRFT_particles_000100.txt", "DRFT_particles_000360.txt")) {
    EXPECT_NEAR(north, -300.0 * 26, printed);
  }
}

TEST(ScenarioDrift, TheSameRunTwiceGivesByteIdenticalFiles) {
  // With the random walk on (10 m2/s), Runge-Kutta and wind.
  std::vector<std::vector<std::pair<std::string, std::string>>> runs;
  for (int k = 0; k < 2; ++k) {
    temp_dir dir;
    copy_scenario("drift");
    write_file("lstwinds.pre", lines(6, "8.0 45.0"));
    replace_line("DRFT.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.03 0.0 0.0 1 10.0 0.0 0.0");
    std::string run = read_file("DRFT.run");
    run.replace(run.find("0 0 0\n1\n"), 8, "0 0 0\n2\n");
    write_file("DRFT.run", run);
    run_ok("DRFT");
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& f : dir.files()) {
      if (f.rfind("DRFT_", 0) == 0) files.emplace_back(f, read_file(f));
    }
    runs.push_back(files);
  }
  ASSERT_EQ(runs[0].size(), 8u);  // seven particle files and the property file
  EXPECT_EQ(runs[0], runs[1]);
  // The walk did spread the particles: their spacing changed.
  const auto& a = runs[0].front().second;
  const auto& b = runs[0][runs[0].size() - 2].second;
  EXPECT_NE(a.substr(a.find('\n')), b.substr(b.find('\n')));
}

}  // namespace
}  // namespace orvel
