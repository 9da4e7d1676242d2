// A continuous 3-D oil release weathers as one slick over its release
// rectangle, however many pulses it is cut into: the pulses afloat share the
// rectangle in proportion to their floating mass.  (Each pulse over the
// whole rectangle made a pulse of 1/72 of the release 72 times too thin,
// and the release evaporated and dispersed the faster the more pulses it
// was cut into.)
//
// The blowout scenario (tests/scenarios/blowout/) as a continuous release:
// 24,300 t of a light crude (850 kg/m3, 10 cSt, at most 40 % evaporates)
// over 72 h from a jet ending 1400 m deep in water 2000 m deep, a 2 km
// square rectangle, droplets rising at 1 to 10 cm/s, 10 m/s of wind and
// 3 m waves, 120 hours in steps of 600 s; cut into 72 hourly pulses and
// into 18 four-hourly ones.  Before the pulses shared the rectangle the
// 72 pulses had 17.00 % afloat and 43.00 % dispersed at 120 h against
// 47.26 % and 12.74 % for the 18.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

void replace_all(std::string& s, const std::string& from, const std::string& to) {
  for (auto p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
}

// The rows of the whole release cut into pulses `interval` seconds apart.
std::vector<property_row> release_rows(int interval) {
  temp_dir dir;
  copy_scenario("blowout");
  std::string grid = read_file("grid.dat");
  replace_all(grid, "500.0", "2000.0");
  write_file("grid.dat", grid);
  replace_text("BLOW.cfg",
               "\n1\n1\n0 0\n1 0.0 1000000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1111.1111111 0 900.0 15.0 "
               "300.0 15.0 0 25 0 25 0 0 25.0 5.0 70.0 ",
               "\n2\n1\n72 " + std::to_string(interval) +
                   "\n1 0.0 24300000.0 -9.0 43.0 0.0 2000.0 2000.0 0.01 0.0001 28588.2352941 0 850.0 15.0 10.0 15.0 "
                   "0 25 0 25 0 0 40.0 5.0 70.0 ");
  std::string cfg = read_file("BLOW.cfg");
  replace_all(cfg, "* four hours\n4\n", "* five days\n120\n");
  replace_all(cfg, "\n1 5 0\n", "\n1 121 0\n");
  replace_all(cfg, "\n1 5\n", "\n1 121\n");
  write_file("BLOW.cfg", cfg);
  replace_text("BLOW.run", "0. 600. 3600. 600\n1 0 1", "0. 3600. 3600. 3600\n0 0 1");
  write_file("FinalJetAxisPosition.txt", "jet-end longitude, latitude, depth (m), radius (m)\n-9.0 43.0 1400.0 20.0\n");
  // The droplet list of each pulse in turn.
  std::string droplets;
  for (int pulse = 1; pulse <= 72 * 3600 / interval; ++pulse) {
    droplets += "diameter (m), rise speed (m/s)\n";
    for (int i = 1; i <= 10; ++i) droplets += std::to_string(0.0005 * i) + " " + std::to_string(0.01 * i) + "\n";
  }
  write_file("DropletDiametersAndFlotSpeed.txt", droplets);
  write_file("lstcurr3D.pre", "surface and column current\n(m/s, from)\n" + lines(121, "0.0 270.0 0.0 270.0"));
  write_file("lstwaves.pre", lines(121, "3.0 270.0 8.0"));
  write_file("lstwinds.pre", lines(121, "10.0 270.0"));
  run_ok("BLOW");
  return read_property_rows("BLOW_properties_001.txt");
}

const property_row* row_at(const std::vector<property_row>& rows, double t) {
  for (const auto& r : rows) {
    if (r.at("time") == t) return &r;
  }
  return nullptr;
}

TEST(ScenarioBlowoutPulses, TheReleaseWeathersAlikeInSeventyTwoOrEighteenPulses) {
  const auto hourly = release_rows(3600);
  const auto four_hourly = release_rows(14400);
  for (const double t : {24.0, 72.0, 120.0}) {
    const property_row* a = row_at(hourly, t);
    const property_row* b = row_at(four_hourly, t);
    ASSERT_NE(a, nullptr) << t;
    ASSERT_NE(b, nullptr) << t;
    for (const char* column : {"surface (%)", "evaporated (%)", "dispersed (%)"}) {
      EXPECT_NEAR(a->at(column), b->at(column), 3.0) << column << " at " << t << " h";
    }
  }
  // Once all is released both keep the whole release, and it did weather:
  // evaporation and dispersion both took a share.
  for (const auto* rows : {&hourly, &four_hourly}) {
    const property_row* end = row_at(*rows, 120.0);
    ASSERT_NE(end, nullptr);
    EXPECT_NEAR(end->at("balance"), 100.0, 0.011);
    EXPECT_GT(end->at("evaporated (%)"), 20.0);
    EXPECT_GT(end->at("dispersed (%)"), 1.0);
  }
}

}  // namespace
}  // namespace orvel
