// The chemical 3-D engine end to end on the orvel binary.
//
// The scenario (tests/scenarios/hns3d/): one tonne of a floating chemical
// (600 kg/m3 at the water temperature, 3000 cSt, 100 mg/L, 0.1 kPa)
// released at a point 20 m below 9 W, 43 N in still water 100 m deep;
// a hundred particles; no drift and no diffusion; every process off; steps
// of 720 s over 16 h with particle files every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double step_s = 720.0;
constexpr double depth_m = 20.0;

// The five droplet classes of a chemical of 3000 cSt, worked by hand: median
// diameter 2.5710402e-5 m x 3000^0.34 = 3.9113808e-4 m; the classes span a
// tenth of it, 3.9113809e-5 m, to 70 micrometres in five widths of
// (7e-5 - 3.9113809e-5) / 5 = 6.1772384e-6 m, each class at the middle of
// its width.
std::array<double, 5> class_diameters() {
  const double d_min = 3.9113809e-5;
  const double width = 6.1772384e-6;
  std::array<double, 5> d{};
  for (int k = 0; k < 5; ++k) d[k] = d_min + (k + 0.5) * width;
  return d;
}

// Rise speed (m/s, upward) of a droplet of diameter d: g' = 1 - 600/1025,
// and every class lies below the critical diameter
// (1.259e-11 / (g' 9.81))^0.333 = 1.47e-4 m of the Stokes law, so
// w = g' 9.81 d^2 / 2.07e-5.
double rise_speed(double d) {
  const double g_prime = 1.0 - 600.0 / 1025.0;
  return g_prime * 9.81 * d * d / 2.07e-5;
}

// The class (0 .. 4) of each particle, from "diameter_distribution.txt"
// (diameters printed to 1e-7 m, the classes 6e-6 m apart).
std::vector<int> particle_classes() {
  std::istringstream in(read_file("diameter_distribution.txt"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "particle_id (-), diameter (m)");
  const auto d = class_diameters();
  std::vector<int> classes;
  while (std::getline(in, line)) {
    const double di = std::strtod(line.substr(line.find(',') + 1).c_str(), nullptr);
    int best = 0;
    for (int k = 1; k < 5; ++k) {
      if (std::fabs(di - d[k]) < std::fabs(di - d[best])) best = k;
    }
    EXPECT_NEAR(di, d[best], 1e-7) << line;
    classes.push_back(best);
  }
  return classes;
}

std::string particle_file(const std::string& key, double seconds) {
  char name[40];
  std::snprintf(name, sizeof name, "%s_particles_%06d.txt", key.c_str(), static_cast<int>(std::lround(seconds / 60.0)));
  return name;
}

TEST(ScenarioHns3d, EachDropletClassSurfacesAfterDepthOverItsRiseSpeed) {
  temp_dir dir;
  copy_scenario("hns3d");
  run_ok("HNS3");
  const auto classes = particle_classes();
  ASSERT_EQ(classes.size(), 100u);
  std::array<int, 5> members{};
  for (int k : classes) ++members[k];
  for (int k = 0; k < 5; ++k) EXPECT_GT(members[k], 0) << "class " << k + 1;

  const auto d = class_diameters();
  std::vector<double> surfaced(100, -1.0);
  for (int n = 0; n <= 80; ++n) {
    const double t = n * step_s;
    const auto rows = read_particles(particle_file("HNS3", t));
    ASSERT_EQ(rows.size(), 100u) << t;
    for (std::size_t p = 0; p < rows.size(); ++p) {
      if (surfaced[p] < 0.0 && rows[p].state == 1) {
        surfaced[p] = t;
        EXPECT_EQ(rows[p].depth, 0.0) << p;
      }
      if (surfaced[p] < 0.0) {
        // Rising at its class's speed from 20 m (depths printed to 0.1 mm).
        EXPECT_EQ(rows[p].state, 5) << p << " at " << t;
        EXPECT_NEAR(rows[p].depth, depth_m - rise_speed(d[classes[p]]) * t, 1.5e-4) << p << " at " << t;
      }
      EXPECT_EQ(rows[p].lon, -9.0) << p;
      EXPECT_EQ(rows[p].lat, 43.0) << p;
    }
  }
  for (std::size_t p = 0; p < 100; ++p) {
    const double arrival = depth_m / rise_speed(d[classes[p]]);
    EXPECT_GE(surfaced[p], arrival) << p;
    EXPECT_LT(surfaced[p], arrival + step_s) << p;
  }
}

// The rows of a grid file, values by column (the header checked and skipped).
std::vector<std::vector<double>> grid_rows(const std::string& file) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.substr(0, 9), "time (h),") << file;
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) v.push_back(std::strtod(f.c_str(), nullptr));
    EXPECT_EQ(v.size(), 7u) << file << ": " << line;
    rows.push_back(v);
  }
  return rows;
}

TEST(ScenarioHns3d, GridSurfaceMassIsTheWeightedMassOfTheSurfaceParticles) {
  // A million tonnes, hourly grid files on the model grid.  A particle
  // stands for droplets of its class, and the classes share the released
  // mass by the particles dealt to them times their droplet mass, so a
  // particle of class k weighs M d_k^3 / sum over all particles of d^3.  At
  // every hour the surface mass per area times the cell area, summed over
  // the file, is the weight of the particles afloat in the particle file of
  // the same instant (all of them at the release point, inside the window).
  temp_dir dir;
  copy_scenario("hns3d");
  replace_line("HNS3.run", "1 0 1", "1 1 1");
  replace_text("HNS3.cfg", "1 0.0 1000.0 -9.0", "1 0.0 1.0e9 -9.0");
  run_ok("HNS3");
  const auto classes = particle_classes();
  ASSERT_EQ(classes.size(), 100u);
  const auto d = class_diameters();
  double all = 0.0;
  for (int k : classes) all += d[k] * d[k] * d[k];
  // The cell of the model grid at 43 N: 0.1 degrees each way, the
  // longitude shortened by cos(43 degrees) (pi as 3.1416).
  const double m = 111317.359375;
  const double cell = std::cos(static_cast<double>(3.1416f) * 43.0 / 180.0) * 0.1 * m * (0.1 * m);
  int afloat_files = 0;
  for (int hour = 0; hour <= 16; ++hour) {
    double afloat = 0.0;
    const auto parts = read_particles(particle_file("HNS3", hour * 3600.0));
    for (std::size_t p = 0; p < parts.size(); ++p) {
      if (parts[p].state == 1) afloat += 1.0e9 * std::pow(d[classes[p]], 3) / all;
    }
    char grid[40];
    std::snprintf(grid, sizeof grid, "HNS3_grid_001_%06d.txt", hour * 60);
    double gridded = 0.0;
    if (std::filesystem::exists(grid)) {
      for (const auto& r : grid_rows(grid)) {
        EXPECT_NEAR(r[0], hour, 1e-9) << grid;
        gridded += r[3] * cell;
      }
    }
    // Printed to 1e-4 kg/m2 in a cell of about 9e7 m2.
    EXPECT_NEAR(gridded, afloat, 1.0e4) << grid;
    afloat_files += afloat > 0.0;
  }
  EXPECT_EQ(afloat_files, 10);  // from 7 h (the largest class is up at 6.3 h)
}

TEST(ScenarioHns3d, ABlowoutWeighsItsParticlesEquallyAndFormsASlickWhereTheySurface) {
  // The tonne from a jet ending 20 m down (a disc of 20 m radius); droplets
  // of 0.5 mm rising at 0.02 m/s (particles 1 to 50) and of 1 mm rising at
  // 0.01 m/s (51 to 100); spreading and evaporation on.  Each particle
  // carries a hundredth of the mass whatever its droplet size, so the
  // column holds half the tonne once the small droplets are up (1000 s, in
  // the step ending at 1440 s) and nothing once the large ones are (2000 s,
  // 2160 s).  The spill has no slick thickness: it takes the dispersed path
  // from its first step, and its area stays the jet disc and its thickness
  // 0 until droplets surface.  They form a slick at its minimum thickness
  // (0.1 mm), which evaporates.  The balance holds at every row.
  temp_dir dir;
  copy_scenario("hns3d");
  replace_text("HNS3.run", "1\n2\n0\n1\n", "1\n2\n1\n1\n");
  replace_text("HNS3.cfg", "3\n0 2 0\n0\n", "3\n1 2 0\n1\n");
  write_file("FinalJetAxisPosition.txt", "jet-end longitude, latitude, depth (m), radius (m)\n-9.0 43.0 20.0 20.0\n");
  write_file("DropletDiametersAndFlotSpeed.txt",
             "diameter (m), rise speed (m/s)\n" + lines(50, "0.0005 0.02") + lines(50, "0.001 0.01"));
  run_ok("HNS3");
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 81u);
  const double disc = static_cast<double>(static_cast<float>(static_cast<double>(3.14159f) * 400.0));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    const double t = step_s * static_cast<double>(i);
    EXPECT_EQ(r.at("balance"), 100.0) << t;
    if (t < 1440.0) {
      EXPECT_NEAR(r.at("area"), disc, 5e-4) << t;
      EXPECT_EQ(r.at("thickness"), 0.0) << t;
    } else {
      EXPECT_GE(r.at("thickness"), 0.0001) << t;
      EXPECT_GT(r.at("area"), 0.0) << t;
    }
    const double column = t < 1440.0 ? 1000.0 : t < 2160.0 ? 500.0 : 0.0;
    EXPECT_NEAR(r.at("column (kg)"), column, 1e-3) << t;
    if (t < 1440.0) {
      EXPECT_EQ(r.at("surface (kg)"), 0.0) << t;
      EXPECT_EQ(r.at("evaporated (kg)"), 0.0) << t;
    }
  }
  EXPECT_GT(rows.back().at("evaporated (kg)"), 0.0);
}

// Turns the sixteen-hour scenario into one of a whole day: the forcing
// series get eight more hourly records, the same as their last.
void make_it_a_day() {
  replace_text("HNS3.cfg", "\n16\n", "\n24\n");
  replace_text("HNS3.cfg", "1 16 0\n", "1 24 0\n");
  replace_text("HNS3.cfg", "\n1 16\n0\n0 0 0 0 0 0\n2 0\n1\n1 16\n", "\n1 24\n0\n0 0 0 0 0 0\n2 0\n1\n1 24\n");
  for (const char* f : {"lstcurr3D.pre", "lstwaves.pre", "lstwinds.pre"}) {
    std::string text = read_file(f);
    const auto last = text.rfind('\n', text.size() - 2);
    const std::string record = text.substr(last + 1);
    for (int i = 0; i < 8; ++i) text += record;
    write_file(f, text);
  }
}

TEST(ScenarioHns3d, ADayOfDegradationAtOnePerDayLeavesOneOverEOfTheMass) {
  // The tonne released at the surface, degradation alone at 1 per day over
  // 24 h: the mass afloat decays as M exp(-t / 1 day) and the rest is
  // degraded, through the re-sums of the compartments from the particles in
  // every step.  The decay of each of the 120 steps is taken in single
  // precision, a few roundings of 6e-8 each, so the test allows 2e-5 of the
  // mass (0.02 kg).  After the day: exp(-1) = 36.79 % afloat, 63.21 %
  // degraded, and the balance reads 100.00 at every row.
  temp_dir dir;
  copy_scenario("hns3d");
  replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
  replace_text("HNS3.cfg", "0\n0 0 0 0\n1.0e-6\n", "0\n0 0 0 1\n1.0e-6\n");
  replace_text("HNS3.cfg", "10.0 2.5 0.1\n", "10.0 2.5 1.0\n");
  make_it_a_day();
  run_ok("HNS3");
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 121u);
  const double released = rows.front().at("surface (kg)");
  EXPECT_NEAR(released, 1000.0, 1e-3);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    const double t = step_s * static_cast<double>(i);
    EXPECT_NEAR(r.at("time"), t / 3600.0, 1e-9);
    EXPECT_NEAR(r.at("surface (kg)"), released * std::exp(-t / 86400.0), 0.02) << t;
    EXPECT_NEAR(r.at("degraded (kg)"), released * (1.0 - std::exp(-t / 86400.0)), 0.02) << t;
    for (const char* none : {"beached (kg)", "evaporated (kg)", "dispersed (kg)", "volatilized (kg)", "column (kg)",
                             "dissolved (kg)", "sedimented (kg)", "floor (kg)", "outside (kg)"}) {
      EXPECT_EQ(r.at(none), 0.0) << none << " at " << t;
    }
    EXPECT_EQ(r.at("balance"), 100.0) << t;
  }
  EXPECT_EQ(rows.back().at("surface (%)"), 36.79);
  EXPECT_EQ(rows.back().at("degraded (%)"), 63.21);
}

TEST(ScenarioHns3d, EveryProcessAgainstAStraightCoastKeepsTheReleasedMass) {
  // The tonne (5 cSt, a thousand particles) released at the surface and
  // carried east by a current of 1 m/s at every depth onto land from 8.7 W
  // (the bathymetry: 100 m of water west of it, land east); wind of 5 m/s,
  // uniform waves of 3 m; spreading, evaporation (at most 20 %),
  // entrainment, dissolution, volatilisation, sorption and degradation on,
  // with diffusion.  Whatever
  // the processes do, the printed compartments add up to the released mass:
  // the masses near 1000 kg are single precision (a rounding is at most
  // 3.1e-5 kg, a few per step over 80 steps) and each of the eleven columns
  // is printed to 1e-4 kg, so the test allows 0.01 kg.  Entrained chemical is
  // in the water column, never in the dispersed column.
  temp_dir dir;
  copy_scenario("hns3d");
  write_file("grid.dat", lines(21, "100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 "
                                   "-10.0 -10.0 -10.0 -10.0 -10.0 -10.0 -10.0 -10.0"));
  replace_line("HNS3.run", "100 0", "1000 0");
  replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n0 0 0 0\n", "3\n1 2 0\n1\n0\n1\n1 1 1 1\n");
  replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
  replace_text("HNS3.cfg", " 3000.0 15.0 ", " 5.0 15.0 ");
  replace_text("HNS3.cfg", " 78.0 1.0 100.0 ", " 78.0 1.0 20.0 ");
  replace_text("HNS3.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0\n", "1.0 0.03 0.0 0.0 1 1.0 0.001 0.0\n");
  const std::string currents = read_file("lstcurr3D.pre");
  write_file("lstcurr3D.pre", currents.substr(0, currents.find("0.0 270.0")) + lines(16, "1.0 270.0 1.0 270.0"));
  write_file("lstwaves.pre", lines(16, "3.0 270.0 8.0"));
  write_file("lstwinds.pre", lines(16, "5.0 270.0"));
  run_ok("HNS3");
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 81u);
  const double released = rows.front().at("surface (kg)");
  EXPECT_NEAR(released, 1000.0, 1e-3);
  const char* compartments[] = {"surface (kg)", "beached (kg)", "evaporated (kg)", "dispersed (kg)",
                                "volatilized (kg)", "column (kg)", "dissolved (kg)", "sedimented (kg)",
                                "floor (kg)", "degraded (kg)", "outside (kg)"};
  for (const auto& r : rows) {
    double sum = 0.0;
    for (const char* k : compartments) sum += r.at(k);
    EXPECT_NEAR(sum, released, 0.01) << r.at("time");
    EXPECT_EQ(r.at("balance"), 100.0) << r.at("time");
    EXPECT_EQ(r.at("dispersed (kg)"), 0.0) << r.at("time");
  }
  // Every process had its share; the coast took the rest.
  for (const char* k : {"beached (kg)", "evaporated (kg)", "volatilized (kg)", "dissolved (kg)", "sedimented (kg)",
                        "degraded (kg)"}) {
    EXPECT_GT(rows.back().at(k), 0.0) << k;
  }
  EXPECT_EQ(rows.back().at("surface (kg)"), 0.0);
}

TEST(ScenarioHns3d, EvaporationOfTheSlickDoesNotDependOnTheStep) {
  // The tonne (5 cSt, 0.003 kPa) released at the surface in calm (the
  // calibration's 3 m/s), evaporation alone, with steps of 60, 720 and
  // 3600 s: the floating particles form the slick, whose evaporated mass at
  // 1, 3 and 6 h agrees within 5 % whatever the step.
  std::vector<std::vector<property_row>> runs;
  for (const char* step : {"60.", "720.", "3600."}) {
    temp_dir dir;
    copy_scenario("hns3d");
    replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n0 0 0 0\n", "3\n0 2 0\n1\n0\n0\n0 0 0 0\n");
    replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
    replace_text("HNS3.cfg", " 3000.0 15.0 100.0 25.0 0.1 25.0 ", " 5.0 15.0 100.0 25.0 0.003 25.0 ");
    replace_line("HNS3.run", "720.", step);
    replace_line("HNS3.run", "0. 720. 3600. 720", "0. 3600. 3600. 3600");
    run_ok("HNS3");
    runs.push_back(read_property_rows("HNS3_properties_001.txt"));
    ASSERT_EQ(runs.back().size(), 17u) << step;
  }
  for (std::size_t h : {1, 3, 6}) {
    const double first = runs[0][h].at("evaporated (kg)");
    EXPECT_GT(first, 1.0) << h;
    for (const auto& rows : runs) EXPECT_NEAR(rows[h].at("evaporated (kg)"), first, 0.05 * first) << h;
  }
}

TEST(ScenarioHns3d, BreakingWavesSendSurfaceParticlesIntoTheColumnWithTheirWeight) {
  // The tonne (5 cSt, a thousand particles) released at the surface under
  // uniform waves of 10 m and a wind of 5 m/s, spreading, evaporation (at
  // most 20 %) and entrainment on, everything else off.  The waves work on
  // the slick's area: its first area of 517 m2 entrains less than a
  // particle's weight in the first step, its spread area of 1.6 ha does in
  // the second.  Waves of 10 m break at Hb = 0.70710677 x 10 m, so the
  // particles sent down in the second step lie no deeper than 1.5 Hb =
  // 10.606602 m.  The particles keep their weights, M d^3 over the sum of
  // d^3 of all particles, d the centre of the particle's droplet class
  // (median 2.5710402e-5 m x 5^0.34, classes from a tenth of it to 70
  // micrometres in five widths), less what evaporated before they went
  // down: by the end of the second step's evaporation the 20 % cap is
  // reached, taken from every surface particle alike in proportion to its
  // mass, so each keeps 80 % of its weight.  The column gains, and the
  // surface loses, exactly that weight.
  temp_dir dir;
  copy_scenario("hns3d");
  replace_line("HNS3.run", "100 0", "1000 0");
  replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n0 0 0 0\n", "3\n1 2 0\n1\n0\n1\n0 0 0 0\n");
  replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
  replace_text("HNS3.cfg", " 3000.0 15.0 ", " 5.0 15.0 ");
  replace_text("HNS3.cfg", " 78.0 1.0 100.0 ", " 78.0 1.0 20.0 ");
  write_file("lstwaves.pre", lines(16, "10.0 270.0 8.0"));
  write_file("lstwinds.pre", lines(16, "5.0 270.0"));
  run_ok("HNS3");
  const double d50 = 2.5710402e-5 * std::pow(5.0, 0.34);
  const double width = (7e-5 - 0.1 * d50) / 5.0;
  std::vector<double> d;
  {
    std::istringstream in(read_file("diameter_distribution.txt"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      const double di = std::strtod(line.substr(line.find(',') + 1).c_str(), nullptr);
      const double k = std::round((di - 0.1 * d50) / width - 0.5);
      const double centre = 0.1 * d50 + (k + 0.5) * width;
      EXPECT_NEAR(di, centre, 1e-7) << line;  // printed to 1e-7 m
      d.push_back(centre);
    }
  }
  ASSERT_EQ(d.size(), 1000u);
  double all = 0.0;
  for (double di : d) all += di * di * di;
  const auto parts = read_particles(particle_file("HNS3", 2.0 * step_s));
  ASSERT_EQ(parts.size(), 1000u);
  double sent = 0.0;
  int down = 0;
  for (std::size_t p = 0; p < parts.size(); ++p) {
    if (parts[p].state == 5) {
      ++down;
      sent += 1000.0 * d[p] * d[p] * d[p] / all;
      EXPECT_GT(parts[p].depth, 0.0) << p;
      EXPECT_LE(parts[p].depth, 10.606602 + 1e-4) << p;  // depths printed to 0.1 mm
    } else {
      EXPECT_EQ(parts[p].state, 1) << p;
      EXPECT_EQ(parts[p].depth, 0.0) << p;
    }
  }
  EXPECT_GT(down, 5);
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_GE(rows.size(), 3u);
  const double released = rows[0].at("surface (kg)");
  EXPECT_EQ(rows[1].at("column (kg)"), 0.0);
  EXPECT_EQ(rows[2].at("evaporated (kg)"), 200.0);
  // Weights from diameters rounded to single precision: 1e-5 of the tonne.
  EXPECT_NEAR(rows[2].at("column (kg)"), 0.8 * sent, 0.01);
  EXPECT_NEAR(rows[2].at("surface (kg)") + rows[2].at("evaporated (kg)"), released - 0.8 * sent, 0.01);
  EXPECT_EQ(rows[2].at("dispersed (kg)"), 0.0);
  EXPECT_EQ(rows[2].at("balance"), 100.0);
}

TEST(ScenarioHns3d, WaveFieldsFromFilesEntrainNothingAndTheRunSaysSo) {
  // Released at the surface, evaporation and entrainment on, waves of 1.5 m
  // from field files (a regular 2 x 2 node list).  Entrainment takes the
  // wave height of the uniform series, which holds nothing here: the start-up
  // warns, the run goes on and no chemical reaches the water column.
  temp_dir dir;
  copy_scenario("hns3d");
  replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
  replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n", "3\n0 2 0\n1\n0\n1\n");
  replace_text("HNS3.cfg", "0 0 0 0 0 0\n0 0 0 0 0 0\n2 0\n1\n1 16\n0\n",
               "0 0 0 0 0 0\n0 0 0 0 0 0\n1 1\n1\n1 16\n4\n");
  write_file("w.txt", "-10.0 42.0 1.5 90.0 6.0\n-10.0 44.0 1.5 90.0 6.0\n-8.0 42.0 1.5 90.0 6.0\n-8.0 44.0 1.5 90.0 6.0\n");
  write_file("lstwaves.pre", lines(16, "w.txt"));
  const auto r = run_orvel(dir.path(), "HNS3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: a chemical in three dimensions is entrained (verticaldispersion__y_n = 1) by the waves "
            "of a uniform wave series, but the waves come from field files (wavestype__file_constant = 1): the wave "
            "height in use is 0, so no chemical is entrained into the water column\n");
  const auto rows = read_property_rows("HNS3_properties_001.txt");
  ASSERT_EQ(rows.size(), 81u);
  for (const auto& row : rows) {
    EXPECT_EQ(row.at("column (kg)"), 0.0) << row.at("time");
    EXPECT_EQ(row.at("dispersed (kg)"), 0.0) << row.at("time");
    EXPECT_EQ(row.at("balance"), 100.0) << row.at("time");
  }
  EXPECT_GT(rows.back().at("evaporated (kg)"), 0.0);
}

}  // namespace
}  // namespace orvel
