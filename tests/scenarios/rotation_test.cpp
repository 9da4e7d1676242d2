// Current fields on a regular grid, run end to end with the real forcing
// readers, interpolation, velocities, Runge-Kutta stages and position
// updates.
//
// The scenario (tests/scenarios/rotation/): open water on a 0.1-degree grid
// around 9 W, 43 N (mean latitude 43); three particles of a floating object
// read from the restart file; joint u, v current files on the same regular
// grid, one per hour, which the test writes: a solid-body rotation about
// 9 W, 43 N, or a spatially uniform current ramping up in time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double pi = 3.14159265358979323846;
constexpr double centre_lon = -9.0, centre_lat = 43.0;

// A joint current file over the 21 x 21 nodes, latitude fastest, with the
// current (u, v) in m/s given at each node.
template <typename F>
std::string current_field(F uv) {
  std::string s;
  char line[128];
  for (int i = 0; i <= 20; ++i) {
    for (int j = 0; j <= 20; ++j) {
      const double lon = -10.0 + 0.1 * i, lat = 42.0 + 0.1 * j;
      const auto [u, v] = uv(lon, lat);
      std::snprintf(line, sizeof line, "%.4f %.4f %.12f %.12f\n", lon, lat, u, v);
      s += line;
    }
  }
  return s;
}

// A U or V current file over the same nodes: longitude, latitude and the
// one component.
template <typename F>
std::string component_field(F value) {
  std::string s;
  char line[128];
  for (int i = 0; i <= 20; ++i) {
    for (int j = 0; j <= 20; ++j) {
      const double lon = -10.0 + 0.1 * i, lat = 42.0 + 0.1 * j;
      std::snprintf(line, sizeof line, "%.4f %.4f %.12f\n", lon, lat, value(lon, lat));
      s += line;
    }
  }
  return s;
}

// Restart positions: the particles r metres east of the centre.
void restart_positions(const std::vector<double>& radii) {
  std::string s = "particle longitude latitude depth state\n";
  char line[128];
  int k = 0;
  for (double r : radii) {
    std::snprintf(line, sizeof line, "%d %.12f %.12f 0.0 1\n", ++k, centre_lon + r / metres_per_degree_lon(43.0),
                  centre_lat);
    s += line;
  }
  write_file("Particle_positions_restart.txt", s);
}

void use_method(int method) {
  std::string run = read_file("ROTA.run");
  const auto pos = run.find("\n1\n* outputs");
  ASSERT_NE(pos, std::string::npos);
  run.replace(pos, 3, "\n" + std::to_string(method) + "\n");
  write_file("ROTA.run", run);
}

// Distances (metres) of every particle from the centre, and from where it
// started, after the run.
struct rotation_result {
  std::vector<double> radius;
  std::vector<double> from_start;
};

rotation_result rotate(int method) {
  // One revolution a day: Omega = 2 pi / 86400 s.  In the model's metres
  // (longitude scaled by cos(43) at the single-precision pi) the field
  // u = -Omega y, v = Omega x is linear in longitude and latitude, so the
  // bilinear interpolation gives it exactly.
  const double omega = 2.0 * pi / 86400.0;
  temp_dir dir;
  copy_scenario("rotation");
  write_file("rotation.txt", current_field([&](double lon, double lat) {
               const double x = (lon - centre_lon) * metres_per_degree_lon(43.0);
               const double y = (lat - centre_lat) * metres_per_degree;
               return std::pair{-omega * y, omega * x};
             }));
  write_file("lstcurr_UVW.pre", lines(24, "rotation.txt"));
  const std::vector<double> radii = {5000.0, 10000.0, 20000.0};
  restart_positions(radii);
  use_method(method);
  rotation_result r;
  const auto run = run_orvel(dir.path(), "ROTA");
  EXPECT_EQ(run.status, 0) << run.err;
  const auto start = read_particles("ROTA_particles_000000.txt");
  const auto end = read_particles("ROTA_particles_001440.txt");
  EXPECT_EQ(end.size(), radii.size());
  for (std::size_t i = 0; i < end.size() && i < start.size(); ++i) {
    const double x = (end[i].lon - centre_lon) * metres_per_degree_lon(43.0);
    const double y = (end[i].lat - centre_lat) * metres_per_degree;
    r.radius.push_back(std::hypot(x, y));
    r.from_start.push_back(std::hypot((end[i].lon - start[i].lon) * metres_per_degree_lon(43.0),
                                      (end[i].lat - start[i].lat) * metres_per_degree));
  }
  // A quarter of a revolution: the particles are north of the centre.
  const auto quarter = read_particles("ROTA_particles_000360.txt");
  for (std::size_t i = 0; i < quarter.size(); ++i) {
    EXPECT_GT((quarter[i].lat - centre_lat) * metres_per_degree, 0.9 * radii[i]);
    EXPECT_LT(std::fabs(quarter[i].lon - centre_lon) * metres_per_degree_lon(43.0), 0.2 * radii[i]);
  }
  return r;
}

TEST(ScenarioRotation, RungeKuttaReturnsToTheStartWhileEulerSpiralsOut) {
  // 144 steps of 600 s per revolution, Omega dt = 2 pi / 144.
  const double h = 2.0 * pi / 144.0;
  const std::vector<double> radii = {5000.0, 10000.0, 20000.0};
  // Runge-Kutta: back where it started within the centimetre of the
  // printed positions (measured: 0.000 m from the start for all three radii,
  // radius kept within 3 mm), under 2e-6 of the smallest radius.
  const auto rk = rotate(2);
  ASSERT_EQ(rk.from_start.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_LT(rk.from_start[i], 0.01) << radii[i];
    EXPECT_NEAR(rk.radius[i], radii[i], 0.02);
  }
  // Euler: each step multiplies the radius by sqrt(1 + (Omega dt)^2), so
  // after one revolution it has grown by (1 + h^2)^72 = 1.146768, 14.7 %
  // (measured: 1.146768 for every radius; 734 m, 1468 m and 2937 m from the
  // start for 5, 10 and 20 km).
  const double growth = std::pow(1.0 + h * h, 72.0);
  EXPECT_NEAR(growth, 1.1467, 1e-4);
  const auto euler = rotate(1);
  ASSERT_EQ(euler.radius.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(euler.radius[i], growth * radii[i], 0.02) << radii[i];
    EXPECT_GT(euler.from_start[i], 0.14 * radii[i]);
  }
}

TEST(ScenarioRotation, ACurrentRampGivesEulerItsLagAndRungeKuttaTheExactDrift) {
  // Two hourly records, 0 then 1 m/s eastward everywhere, blended in time
  // (separate U and V files, which the start-of-interval reader needs); four
  // steps of 900 s over the hour.  Exact drift: U D / 2 = 1800 m.
  // Euler takes each step's start: 900 (0 + 1/4 + 1/2 + 3/4) = 1350 m.
  // Runge-Kutta's stages at the start, middle and end of each step integrate
  // a linear ramp exactly.
  for (const auto& [method, expected] : {std::pair{1, 1350.0}, std::pair{2, 1800.0}}) {
    temp_dir dir;
    copy_scenario("rotation");
    write_file("u0.txt", component_field([](double, double) { return 0.0; }));
    write_file("u1.txt", component_field([](double, double) { return 1.0; }));
    write_file("v.txt", component_field([](double, double) { return 0.0; }));
    write_file("U_lstcurr.pre", "u0.txt\nu1.txt\n");
    write_file("V_lstcurr.pre", "v.txt\nv.txt\n");
    restart_positions({0.0, 5000.0, 10000.0});
    replace_line("ROTA.cfg", "1 1 0 0 0 1", "1 1 0 0 0 0");
    replace_line("ROTA.cfg", "1 24 0", "1 2 0");
    replace_line("ROTA.cfg", "24", "1");
    replace_line("ROTA.run", "600.", "900.");
    replace_line("ROTA.run", "0 0 0", "0 0 1");
    replace_line("ROTA.run", "0. 21600. 3600. 3600", "0. 3600. 3600. 3600");
    use_method(method);
    run_ok("ROTA");
    const auto a = read_particles("ROTA_particles_000000.txt");
    const auto b = read_particles("ROTA_particles_000060.txt");
    ASSERT_EQ(b.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR((b[i].lon - a[i].lon) * metres_per_degree_lon(43.0), expected, 0.02) << method;
      EXPECT_EQ(b[i].lat, a[i].lat);
    }
  }
}

}  // namespace
}  // namespace orvel
