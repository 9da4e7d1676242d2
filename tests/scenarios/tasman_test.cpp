// A scenario written from docs/input-files.md alone, run end to end: two
// small crude-oil spills in the Tasman Sea off Sydney, released as discs of
// their initial slick area, drift for six hours under a current given as U
// and V grid files, a uniform wind series and a uniform wave series; each
// spill drifts by the velocity its own coefficient line gives.
//
// The scenario (tests/scenarios/tasman/): a 0.05-degree grid of open water
// 200 m deep from 151.0 E, 34.6 S (31 x 25 nodes, mean latitude 34.0 S);
// spills 7 (151.4 E, 34.0 S) and 8 (151.6 E, 34.2 S) of 10 m3 each, 50
// particles; steps of 900 s; particle files hourly.  The current is 0.25 m/s
// east and 0.15 m/s south on a 0.25-degree grid, three records 3 hours
// apart; the wind blows at 8 m/s from the south-west; the waves are 1.5 m,
// 6 s, from the east.  Spill 7 takes the current, a wind drag of
// 0.02 + 0.001 W and the Stokes drift of the waves; spill 8 the current only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double latmean = -34.0;
constexpr double hours = 6.0;

// The printed positions carry seven decimals of a degree: about 1.1 cm.
constexpr double printed = 0.03;

struct velocity {
  double east, north;
};

// Components (toward east and north) of a speed coming from `from` degrees.
velocity from_direction(double speed, double from) {
  const double a = from * std::numbers::pi / 180.0;
  return {-speed * std::sin(a), -speed * std::cos(a)};
}

// Drift velocity of each spill from the documented formula
// u = currentcoeff u_c + (a + b W) u_w + wavescoeff Hs g / (12.48 T) along
// the waves.
std::map<int, velocity> expected_velocities() {
  const velocity current{0.25, -0.15};
  const velocity wind = from_direction(8.0, 225.0);
  const double drag = 0.02 + 0.001 * 8.0;
  const velocity heading = from_direction(1.0, 90.0);
  const double stokes = 1.5 * 9.81 / (12.48 * 6.0);
  return {
      {7, {current.east + drag * wind.east + stokes * heading.east,
           current.north + drag * wind.north + stokes * heading.north}},
      {8, current},
  };
}

class ScenarioTasman : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_scenario("tasman");
    run_ok("TASM");
  }
  temp_dir dir_;
};

TEST_F(ScenarioTasman, EachSpillDriftsByTheVelocityOfItsCoefficientLine) {
  const auto v = expected_velocities();
  // Spill 7 goes about 4.6 km east and 180 m north, spill 8 5.4 km east and
  // 3.2 km south.
  ASSERT_NEAR(v.at(7).east * hours * 3600.0, 4576.6, 0.1);
  for (const auto& [from, to, span] : {std::tuple{"000000", "000360", hours}, std::tuple{"000120", "000180", 1.0}}) {
    const auto a = read_particles(std::string("TASM_particles_") + from + ".txt");
    const auto b = read_particles(std::string("TASM_particles_") + to + ".txt");
    ASSERT_EQ(a.size(), 100u);
    ASSERT_EQ(b.size(), 100u);
    for (std::size_t i = 0; i < a.size(); ++i) {
      ASSERT_EQ(a[i].spill_id, b[i].spill_id);
      const velocity& u = v.at(a[i].spill_id);
      const double east = (b[i].lon - a[i].lon) * metres_per_degree_lon(latmean);
      const double north = (b[i].lat - a[i].lat) * metres_per_degree;
      EXPECT_NEAR(east, u.east * span * 3600.0, printed) << "spill " << a[i].spill_id << ", " << from << " to " << to;
      EXPECT_NEAR(north, u.north * span * 3600.0, printed) << "spill " << a[i].spill_id << ", " << from << " to " << to;
      EXPECT_EQ(b[i].state, 1);
      EXPECT_EQ(b[i].depth, 0.0);
    }
  }
}

TEST_F(ScenarioTasman, OilIsReleasedOverADiscOfTheInitialSlickArea) {
  // A = 2.6714799 (V^5 g D / nu^2)^(1/6) with V = 10 m3, D = (1025 - 900) /
  // 1025, nu = 1e-6 m2/s: about 1875 m2, a radius of about 24.4 m.
  const double delta = (1025.0 - 900.0) / 1025.0;
  const double area = 2.6714799 * std::pow(std::pow(10.0, 5) * 9.81 * delta / 1.0e-12, 1.0 / 6.0);
  const double radius = std::sqrt(area / std::numbers::pi);
  ASSERT_NEAR(radius, 24.4, 0.1);
  const std::map<int, std::pair<double, double>> centre = {{7, {151.4, -34.0}}, {8, {151.6, -34.2}}};
  const auto rows = read_particles("TASM_particles_000000.txt");
  ASSERT_EQ(rows.size(), 100u);
  std::map<int, double> farthest;
  std::map<int, int> count;
  for (const auto& p : rows) {
    const auto [x, y] = centre.at(p.spill_id);
    const double r = std::hypot((p.lon - x) * metres_per_degree_lon(latmean), (p.lat - y) * metres_per_degree);
    EXPECT_LE(r, radius + printed) << "spill " << p.spill_id;
    farthest[p.spill_id] = std::max(farthest[p.spill_id], r);
    ++count[p.spill_id];
    EXPECT_EQ(p.hours, 0.0);
    EXPECT_EQ(p.subspill_id, 1);
    EXPECT_EQ(p.state, 1);
  }
  EXPECT_EQ(count, (std::map<int, int>{{7, 50}, {8, 50}}));
  for (const auto& [spill, r] : farthest) EXPECT_GT(r, 0.8 * radius) << "spill " << spill;
}

TEST_F(ScenarioTasman, HourlyParticleFilesAndTheGridCoordinates) {
  const auto files = dir_.files();
  std::vector<std::string> particles;
  for (const auto& f : files) {
    if (f.rfind("TASM_particles_", 0) == 0) particles.push_back(f);
  }
  EXPECT_EQ(particles, (std::vector<std::string>{"TASM_particles_000000.txt", "TASM_particles_000060.txt",
                                                 "TASM_particles_000120.txt", "TASM_particles_000180.txt",
                                                 "TASM_particles_000240.txt", "TASM_particles_000300.txt",
                                                 "TASM_particles_000360.txt"}));
  // One cell centre per model node, latitude fastest, in the Latin-1 header.
  const std::string g = read_file("grid_coordinates.txt");
  EXPECT_EQ(g.substr(0, g.find('\n')), " longitude (\xBA),  latitude (\xBA)");
  EXPECT_NE(g.find("\n   151.0250000,   -34.5750000\n   151.0250000,   -34.5250000\n"), std::string::npos);
  EXPECT_EQ(std::count(g.begin(), g.end(), '\n'), 1 + 31 * 25);
}

}  // namespace
}  // namespace orvel
