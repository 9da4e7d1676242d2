// Any scenario whose values lie within their documented ranges runs to the
// end with sound results: substance and release values drawn at random
// (fixed seed) for a weathering oil and a chemical with every process on.
// Every printed value is a finite number, every share lies within 0 to
// 100 % and the balance closes at 100 %.
//
// The products are drawn lighter than the water, and the chemical not a
// gas: a product denser than the water is refused (oil in 2-D) or sinks, a
// gas goes to the air; their own tests cover them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

class draws {
 public:
  explicit draws(uint32_t seed) : g_(seed) {}
  double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(g_); }
  // Uniform in the logarithm: magnitudes from a to b alike.
  double magnitude(double a, double b) { return std::exp(uniform(std::log(a), std::log(b))); }

 private:
  std::mt19937 g_;
};

std::string num(double x) {
  char s[40];
  std::snprintf(s, sizeof s, "%.6g", x);
  return s;
}

// The values of one drawn scenario, as the lines they go to.
struct drawn {
  std::string spill;     // record 19
  std::string sediment;  // record 20
  std::string water;     // record 15
  std::string drift;     // record 39
  double start = 0.0;    // hours
};

drawn draw(draws& d, bool chemical) {
  const double water_density = d.uniform(990.0, 1100.0);
  const double density = d.uniform(600.0, 0.97 * water_density);
  // Up to 100,000 t: the slick area of a spill above 1000 t outgrows the
  // 10 km2 that the area column holds within hours, and the column widens.
  const double mass = d.magnitude(1.0, 1e8);
  const double volume = mass / density * d.uniform(0.9, 1.1);
  const double max_evaporation = d.uniform(0.0, 100.0);
  const double start = std::round(d.uniform(0.0, 2.0) * 4.0) / 4.0;  // on a whole step
  std::vector<std::string> v = {
      "1",
      num(start),
      num(mass),
      num(d.uniform(-9.3, -8.7)),           // longitude
      num(d.uniform(42.7, 43.3)),           // latitude
      "0.0",                                // depth (2-D)
      num(d.uniform(0.0, 5000.0)),          // sides, m
      num(d.uniform(0.0, 5000.0)),
      num(d.uniform(0.0, 10.0)),            // thickness (no effect)
      num(d.magnitude(1e-6, 1e-2)),         // minimum thickness
      num(volume),
      chemical ? "0" : (d.uniform(0.0, 1.0) < 0.5 ? "0" : "1"),
      num(density),
      num(d.uniform(0.0, 30.0)),            // density reference, C
      num(chemical ? d.magnitude(0.3, 100.0) : d.magnitude(0.1, 1e7)),
      num(d.uniform(0.0, 30.0)),            // viscosity reference, C
      num(d.magnitude(1e-3, 3.5e6)),        // solubility, mg/L
      "25",
      // Vapour pressure, kPa: a gas (above 101.3 kPa) goes to the air, which
      // no printed compartment holds (a test of its own).
      num(d.magnitude(1e-4, 100.0)),
      "25",
      num(d.uniform(2.0, 2000.0)),          // molecular weight
      d.uniform(0.0, 1.0) < 0.5 ? "1.0" : "0.0",
      num(max_evaporation),
      num(d.uniform(0.0, max_evaporation)),
      num(d.uniform(0.0, 95.0)),            // water content of the emulsion, %
      num(water_density),
      num(d.uniform(-5.0, 35.0)),           // water, C
      num(d.uniform(-60.0, 60.0)),          // air, C
  };
  drawn r;
  r.start = start;
  for (const auto& s : v) r.spill += (r.spill.empty() ? "" : " ") + s;
  r.sediment = num(d.magnitude(1e-2, 1e5)) + " " + num(d.uniform(-10.0, 15.0)) + " " + num(d.uniform(0.0, 100.0));
  r.water = num(d.magnitude(5e-7, 2e-6));
  r.drift = num(d.uniform(0.0, 2.0)) + " " + num(d.uniform(0.0, 0.2)) + " " + num(d.uniform(-0.01, 0.01)) + " " +
            num(d.uniform(0.0, 2.0)) + " 1 " + num(d.magnitude(1e-3, 1000.0)) + " " + num(d.uniform(0.0, 1.0)) + " 0.0";
  return r;
}

// Every value of every row of every result file finite, every share within
// 0 to 100 % and the balance at 100 %.
void expect_sound_results(const std::string& key, const std::string& what, double start) {
  const auto rows = read_property_rows(key + "_properties_001.txt");
  ASSERT_FALSE(rows.empty()) << what;
  for (const auto& r : rows) {
    for (const auto& [column, value] : r) {
      EXPECT_TRUE(std::isfinite(value)) << what << ": " << column;
      if (column.find("(%)") != std::string::npos) {
        EXPECT_GE(value, 0.0) << what << ": " << column << " at " << r.at("time") << " h";
        EXPECT_LE(value, 100.0) << what << ": " << column << " at " << r.at("time") << " h";
      }
    }
    // Rows before the release hold nothing.
    if (r.at("time") >= start) {
      EXPECT_NEAR(r.at("balance"), 100.0, 0.011) << what << " at " << r.at("time") << " h";
    }
  }
  for (const auto& f : std::filesystem::directory_iterator(".")) {
    const std::string name = f.path().filename().string();
    if (name.rfind(key + "_particles_", 0) != 0) continue;
    for (const auto& p : read_particles(name)) {
      EXPECT_TRUE(std::isfinite(p.lon) && std::isfinite(p.lat) && std::isfinite(p.depth)) << what << ": " << name;
      EXPECT_TRUE(p.lat >= -90.0 && p.lat <= 90.0) << what << ": " << name;
    }
  }
}

// Ten runs of scenario `folder` (key `key`) with drawn values: its process
// switches `from` set `to`, and its record-15, spill, sediment and drift
// lines replaced.
void run_drawn(uint32_t seed, bool chemical, const char* folder, const std::string& key, const std::string& from,
               const std::string& to, const std::string& spill_line, const std::string& sediment_line) {
  draws d(seed);
  const std::string cfg = key + ".cfg";
  for (int trial = 0; trial < 10; ++trial) {
    temp_dir dir;
    copy_scenario(folder);
    const drawn v = draw(d, chemical);
    const std::string what = "trial " + std::to_string(trial) + ": " + v.spill + " / " + v.sediment + " / " +
                             v.water + " / " + v.drift;
    replace_text(cfg, from, to);
    replace_line(cfg, "1.0e-6", v.water);
    replace_line(cfg, spill_line, v.spill);
    replace_line(cfg, sediment_line, v.sediment);
    replace_line(cfg, "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", v.drift);
    const auto r = run_orvel(dir.path(), key);
    ASSERT_EQ(r.status, 0) << what << "\n" << r.err;
    expect_sound_results(key, what, v.start);
  }
}

TEST(RangeProperty, OilWithValuesDrawnWithinTheirRanges) {
  run_drawn(20261210, false, "drift", "DRFT", "* a floating object, no weathering\n1\n0 1 24\n0\n0\n0\n",
            "* oil, spreading, evaporation, emulsification, dispersion\n2\n1 1 24\n1\n1\n1\n",
            "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
            "70.0 1025.0 15.0 20.0",
            "10.0 2.5 0.1");
}

TEST(RangeProperty, AChemicalWithValuesDrawnWithinTheirRanges) {
  run_drawn(41, true, "chemical", "CHEM", "3\n0 2 24\n1\n0\n0\n0 0 0 0\n", "3\n1 2 24\n1\n0\n1\n1 1 1 1\n",
            "1 0.0 10000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 "
            "78.11 1.0 50.0 0.0 0.0 1025.0 15.0 20.0",
            "10.0 2.13 0.0");
}

}  // namespace
}  // namespace orvel
