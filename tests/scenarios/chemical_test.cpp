// The chemical 2-D engine end to end: property files of a chemical spill
// against hand-worked evaporation and conservation of the released mass.
//
// The scenario (tests/scenarios/chemical/): the weathering scenario's grid
// and straight coast at 8.7 W, twenty particles of 10 t of a benzene-like
// evaporator (876 kg/m3, 1780 mg/L, 12.7 kPa, 78.11 g/mol) released at 9 W,
// 43 N on still water with water at 15 C and air at 20 C; no spreading,
// evaporation only with the fixed coefficient km = 0.001 m/s of the
// calibration file, at most 50 % evaporated; steps of 600 s and a property
// row every step over two hours.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double released_kg = 10000.0;

// Every mass column of a chemical's property row.
const char* const mass_columns[] = {"surface (kg)", "beached (kg)",   "evaporated (kg)", "dispersed (kg)",
                                    "volatilized (kg)", "column (kg)", "dissolved (kg)", "sedimented (kg)",
                                    "floor (kg)",       "degraded (kg)", "outside (kg)"};

double printed_total(const property_row& r) {
  double t = 0.0;
  for (const char* c : mass_columns) t += r.at(c);
  return t;
}

// Initial slick area of the scenario's chemical, m2: 2.6714799 (V^5 g D /
// nu^2)^(1/6), V = 10000 / 876 m3, D = (1025 - 876) / 1025, nu = 1e-6 m2/s.
double initial_area() {
  const double v = released_kg / 876.0;
  const double d = (1025.0 - 876.0) / 1025.0;
  return 2.6714799 * std::pow(std::pow(v, 5.0) * 9.81 * d / 1.0e-12, 1.0 / 6.0);
}

TEST(ScenarioChemical, EvaporationAloneGrowsByTheHandFluxUntilItsCap) {
  temp_dir dir;
  copy_scenario("chemical");
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 13u);
  // The slick keeps its initial area (it stays thicker than 0.5 mm): each
  // step moves MW P A km / (R Ta) dt from the surface, R = 8314 J/(kmol K),
  // Ta = 293 K.
  const double area = initial_area();
  const double per_step = 78.11 * 12700.0 * area * 0.001 / (8314.0 * 293.0) * 600.0;
  EXPECT_NEAR(per_step, 526.8306, 1e-4);
  const double cap = 0.5 * released_kg;
  int capped = 0;
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const auto& r = rows[n];
    const double t = r.at("time");
    EXPECT_NEAR(r.at("area"), area, 1e-3 + 1e-6 * area) << t;
    // The printed compartments add up to the release, within their last
    // printed digits.
    EXPECT_NEAR(printed_total(r), released_kg, 2e-4) << t;
    EXPECT_EQ(r.at("balance"), 100.0) << t;
    const double law = static_cast<double>(n) * per_step;
    if (law < cap) {
      // The flux is formed in single precision: within 1e-6 of each step's
      // mass, and the last printed digit.
      EXPECT_NEAR(r.at("evaporated (kg)"), law, 1e-6 * law + 5e-5) << t;
      EXPECT_NEAR(r.at("evaporated (%)"), law / released_kg * 100.0, 0.005 + 1e-6) << t;
    } else {
      EXPECT_EQ(r.at("evaporated (kg)"), cap) << t;
      EXPECT_EQ(r.at("evaporated (%)"), 50.0) << t;
      ++capped;
    }
    for (const char* c : {"dispersed (kg)", "volatilized (kg)", "dissolved (kg)", "degraded (kg)"}) {
      EXPECT_EQ(r.at(c), 0.0) << c << " " << t;
    }
  }
  // Ten steps reach the cap: the tenth moves only what is left of it.
  EXPECT_EQ(capped, 3);
}

TEST(ScenarioChemical, AGasGoesToTheAirWhichIsNotPrinted) {
  // A vapour pressure of 200 kPa makes the chemical a gas: every particle
  // starts in the air, no process runs, and no printed compartment holds
  // the mass.
  temp_dir dir;
  copy_scenario("chemical");
  replace_text("CHEM.cfg", " 12.7 25.0 ", " 200.0 25.0 ");
  replace_line("CHEM.run", "0 0 1", "1 0 1");
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 13u);
  for (const auto& r : rows) {
    for (const char* c : mass_columns) EXPECT_EQ(r.at(c), 0.0) << c << " " << r.at("time");
    EXPECT_EQ(r.at("balance"), 0.0) << r.at("time");
  }
  // In the air from the release on (state 4), and held there.
  for (const char* file : {"CHEM_particles_000000.txt", "CHEM_particles_000120.txt"}) {
    const auto particles = read_particles(file);
    ASSERT_EQ(particles.size(), 20u) << file;
    for (const auto& p : particles) EXPECT_EQ(p.state, 4) << file;
  }
}

}  // namespace
}  // namespace orvel
