// The random walk measured from the particles, run end to end at several
// latitudes: the spread it gives in metres must not depend on where on the
// globe the run is, nor on whether the current runs north-south or east-west.
//
// The scenario is the drift folder (tests/scenarios/drift/: a floating
// object on open water, steps of 600 s, a uniform 0.5 m/s current, no wind)
// moved to the latitude under test, with 4000 particles released at a point
// (a spread of its own would drown the across-flow growth in its sampling
// noise), Kh = 2 m2/s and three hours.  K is measured from the growth of the particles' variance in
// metres between 1 h and 3 h: a walk of diffusivity K adds 2 K t to it.
// Along the motion the walk uses Kh, across it Kh / 10.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

struct spread {
  double east = 0.0, north = 0.0;  // variance, m2
};

spread variances(const std::vector<particle_row>& rows, double lat) {
  const double mx = metres_per_degree_lon(lat);
  double se = 0.0, sn = 0.0, see = 0.0, snn = 0.0;
  for (const auto& r : rows) {
    const double e = r.lon * mx, n = r.lat * metres_per_degree;
    se += e;
    sn += n;
    see += e * e;
    snn += n * n;
  }
  const double count = static_cast<double>(rows.size());
  return {(see - se * se / count) / (count - 1.0), (snn - sn * sn / count) / (count - 1.0)};
}

// Diffusivities (east, north) in m2/s measured at latitude `lat` with the
// current from direction `direction` (0 from the north, 90 from the east).
spread measured_k(double lat, int direction) {
  temp_dir dir;
  copy_scenario("drift");
  char grid[128], spill[256], current[32];
  std::snprintf(grid, sizeof grid, "-10.0 %.1f 0.1 0.1 0.0 21 21 1 %.1f", lat - 1.0, lat);
  replace_line("DRFT.cfg", "-10.0 42.0 0.1 0.1 0.0 21 21 1 43.0", grid);
  std::snprintf(spill, sizeof spill,
                "1 0.0 1000.0 -9.0 %.1f 0.0 0.0 0.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 "
                "40.0 5.0 70.0 1025.0 15.0 20.0",
                lat);
  replace_line("DRFT.cfg",
               "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 "
               "40.0 5.0 70.0 1025.0 15.0 20.0",
               spill);
  replace_line("DRFT.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.0 0.0 0.0 1 2.0 0.0 0.0");
  std::snprintf(current, sizeof current, "0.5 %d.0", direction);
  write_file("lstcurr.pre", lines(6, current));
  replace_line("DRFT.run", "10 0", "4000 0");
  run_ok("DRFT");
  const auto a = variances(read_particles("DRFT_particles_000060.txt"), lat);
  const auto b = variances(read_particles("DRFT_particles_000180.txt"), lat);
  const double t = 2.0 * 3600.0;
  return {(b.east - a.east) / (2.0 * t), (b.north - a.north) / (2.0 * t)};
}

TEST(ScenarioRandomWalk, AlongAndAcrossTheCurrentTheSameInMetresAtEveryLatitude) {
  const double kh = 2.0;
  for (const double lat : {43.0, 60.0, 80.0}) {
    for (const int direction : {0, 90}) {
      const spread k = measured_k(lat, direction);
      const bool north_south = direction == 0;
      const double along = north_south ? k.north : k.east;
      const double across = north_south ? k.east : k.north;
      const std::string what = std::to_string(lat) + (north_south ? " N, current north-south" : " N, current east-west");
      EXPECT_NEAR(along, kh, 0.1 * kh) << what;
      EXPECT_NEAR(across, kh / 10.0, 0.1 * kh / 10.0) << what;
    }
  }
}

}  // namespace
}  // namespace orvel
