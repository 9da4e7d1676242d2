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
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

constexpr double released_kg = 10000.0;

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
    EXPECT_NEAR(chemical_printed_total(r), released_kg, 2e-4) << t;
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

TEST(ScenarioChemical, BenzeneWithTheTextbookCoefficientEvaporatesWithinTheHour) {
  // The Mackay-Matsugu coefficient with its SI factor a = 0.0048 (record 4
  // of the calibration file), air at 15 C, no cap on evaporation; in a
  // 5 m/s wind alone, and in a 10 m/s wind with dissolution on.  A benzene
  // slick is gone to the air within minutes to a few hours: here within
  // the first hour, and far more of it evaporates than dissolves.  The
  // first step moves MW P A Km / (R Ta) dt, Km = a U^(7/9) d^(-1/9)
  // Sc^(-2/3) over the initial slick (d its equivalent diameter), Sc = 1.5e-5
  // / (sqrt(18 / MW) 2.3e-5) = 1.3586 the Schmidt number of benzene vapour
  // in air.
  struct row {
    std::string wind, dissolution;
    double u;
  };
  for (const row& r : {row{"5.0", "0", 5.0}, row{"10.0", "1", 10.0}}) {
    temp_dir dir;
    copy_scenario("chemical");
    replace_text("CHEM_HNS.calib", "0\n* k2 of the Fay-type spreading\n1.0\n",
                 "1\n* the Mackay-Matsugu factor a (SI)\n0.0048\n");
    replace_text("CHEM.cfg", " 78.11 1.0 50.0 0.0 0.0 1025.0 15.0 20.0", " 78.11 1.0 100.0 0.0 0.0 1025.0 15.0 15.0");
    replace_text("CHEM.cfg", "0 2 24\n1\n0\n0\n0 0 0 0\n", "0 2 24\n1\n0\n0\n" + r.dissolution + " 0 0 0\n");
    write_file("lstwinds.pre", lines(25, r.wind + " 270.0"));
    run_ok("CHEM");
    const auto rows = read_property_rows("CHEM_properties_001.txt");
    ASSERT_EQ(rows.size(), 13u);
    const double area = initial_area();
    const double sc = 1.5e-5 / (std::sqrt(18.0 / 78.11) * 2.3e-5);
    const double km = 0.0048 * std::pow(r.u, 0.77777) * std::pow(std::sqrt(4.0 * area / 3.141516), -0.111111) *
                      std::pow(sc, -0.666666);
    const double first = 78.11 * 12700.0 * area * km / (8314.0 * 288.0) * 600.0;
    EXPECT_NEAR(rows[1].at("evaporated (kg)"), first, 1e-5 * first) << r.wind;
    const auto& hour = rows[6];
    EXPECT_EQ(hour.at("time"), 1.0);
    EXPECT_EQ(hour.at("surface (kg)"), 0.0) << r.wind;
    EXPECT_GT(hour.at("evaporated (kg)"), 0.99 * released_kg) << r.wind;
    EXPECT_LT(hour.at("dissolved (kg)"), 0.01 * released_kg) << r.wind;
    EXPECT_NEAR(chemical_printed_total(hour), released_kg, 2e-4) << r.wind;
  }
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
    for (const char* c : chemical_mass_columns) EXPECT_EQ(r.at(c), 0.0) << c << " " << r.at("time");
    EXPECT_EQ(r.at("balance"), 0.0) << r.at("time");
  }
  // In the air from the release on (state 4), and held there.
  for (const char* file : {"CHEM_particles_000000.txt", "CHEM_particles_000120.txt"}) {
    const auto particles = read_particles(file);
    ASSERT_EQ(particles.size(), 20u) << file;
    for (const auto& p : particles) EXPECT_EQ(p.state, 4) << file;
  }
}


TEST(ScenarioChemical, TheStartUpLinesNameTheBehaviourClassAndWhatItMeans) {
  // The class follows from the vapour pressure, solubility and density;
  // the line after the banner names it and its fate in the run.
  struct row {
    const char* substance;  // density to vapour pressure of the spill line
    const char* dims;       // record 2 of CHEM.run
    const char* line;
  };
  const row rows[] = {
      {" 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 ", "1",
       " Spill 1: behaviour class 3, evaporator: it floats, and every process switched on acts on it at rates "
       "set by its vapour pressure, its solubility and the weather.\n"},
      {" 876.0 15.0 0.7 15.0 1780.0 25.0 200.0 25.0 ", "1",
       " Spill 1: behaviour class 1, gas: it goes into the air, where no process acts and no column of the "
       "property file shows it (its rows read 0 kg and a balance of 0.00).\n"},
      {" 1200.0 15.0 0.7 15.0 100.0 25.0 0.1 25.0 ", "1",
       " Spill 1: behaviour class 12, sinker: it starts on the sea floor, where only degradation acts on it.\n"},
      {" 1200.0 15.0 0.7 15.0 100.0 25.0 0.1 25.0 ", "2",
       " Spill 1: behaviour class 12, sinker: only degradation acts on it; its droplets settle at their own speed "
       "to the sea floor.\n"},
      {" 810.0 15.0 3.6 15.0 73000.0 25.0 0.9 25.0 ", "1",
       " Spill 1: behaviour class 10, dissolver: it floats, and every process switched on acts on it at rates "
       "set by its vapour pressure, its solubility and the weather.\n"},
      {" 810.0 15.0 3.6 15.0 73000.0 25.0 0.9 25.0 ", "2",
       " Spill 1: behaviour class 10, dissolver: released at the surface it floats, released at a depth its "
       "droplets start in the water column and rise at their own speed (never resting on the sea floor), and "
       "every process switched on acts on it at rates set by its vapour pressure, its solubility and the "
       "weather.\n"},
      // Ethylene glycol (1113 kg/m3, miscible) is a dissolver denser than
      // the water: it sinks whatever its class.
      {" 1113.0 15.0 14.4 15.0 1000000.0 25.0 0.0067 25.0 ", "1",
       " Spill 1: behaviour class 10, dissolver denser than the water: it starts on the sea floor as droplets of "
       "1 mm, where dissolution, sorption and degradation act on it as switched on, and what dissolves moves "
       "with the current.\n"},
      {" 1113.0 15.0 14.4 15.0 1000000.0 25.0 0.0067 25.0 ", "2",
       " Spill 1: behaviour class 10, dissolver denser than the water: its droplets sink at their own speed, "
       "dissolving on their way, and lie on the sea floor, where dissolution, sorption and degradation act on "
       "them as switched on.\n"},
      // Chlorine (a gas whose liquid is 1410 kg/m3) and ammonia (a
      // gas-dissolver) rise as bubbles under water.
      {" 1410.0 15.0 0.25 15.0 7300.0 25.0 680.0 25.0 ", "2",
       " Spill 1: behaviour class 1, gas: released at the surface it goes into the air, where no process acts and "
       "no column of the property file shows it; released at a depth it rises as bubbles of 5 mm (about 0.3 "
       "m/s) and goes into the air when it comes up.\n"},
      {" 682.0 15.0 0.25 15.0 482000.0 25.0 857.0 25.0 ", "2",
       " Spill 1: behaviour class 2, gas-dissolver: it floats and evaporates; released at the surface it does not "
       "dissolve or sorb; released at a depth it rises as a gas and dissolves on its way.\n"},
      // Styrene's 0.67 kPa makes it a floater-evaporator; the class says
      // nothing of how fast it evaporates.
      {" 906.0 15.0 0.7 15.0 310.0 25.0 0.67 25.0 ", "1",
       " Spill 1: behaviour class 5, floater-evaporator: it floats, and every process switched on acts on it at "
       "rates set by its vapour pressure, its solubility and the weather.\n"},
      // A sinker-dissolver denser than the water sinks in 2-D; one lighter
      // than the water floats.
      {" 1326.0 15.0 0.33 15.0 13000.0 25.0 47.0 25.0 ", "1",
       " Spill 1: behaviour class 11, sinker-dissolver: it starts on the sea floor as droplets of 1 mm, where "
       "dissolution, sorption and degradation act on it as switched on, and what dissolves moves with the "
       "current.\n"},
      {" 950.0 15.0 0.7 15.0 5000.0 25.0 0.2 25.0 ", "1",
       " Spill 1: behaviour class 11, sinker-dissolver not denser than the water: it floats, and every process "
       "switched on acts on it at rates set by its vapour pressure, its solubility and the weather.\n"},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.substance);
    temp_dir dir;
    copy_scenario("chemical");
    replace_text("CHEM.cfg", " 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 ", c.substance);
    if (std::string(c.dims) == "2") {
      // Three dimensions: the uniform current series of surface and column
      // values, and the computed evaporation coefficient.
      replace_text("CHEM.run", "forward\n1\n1\n0\n", "forward\n1\n2\n0\n");
      write_file("lstcurr3D.pre", "surface and column currents\n(m/s, degrees)\n" + lines(25, "0.0 0.0 0.0 0.0"));
      write_file("CHEM_HNS.calib", "2\n0.001\n1\n0.0048\n2.0\n0\n1.0e-5\n");
    }
    const auto r = run_orvel(dir.path(), "CHEM");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string banner_end = "-\n";
    const auto after_banner = r.out.rfind(banner_end, r.out.find("Spill 1:")) + banner_end.size();
    EXPECT_EQ(r.out.substr(after_banner, std::string(c.line).size()), c.line) << r.out;
  }
}

// The chemical in the water column: entrainment, dissolution, sorption,
// volatilisation and degradation.

// The scenario's switch records 10 to 14 (spreading, evaporation,
// emulsification, entrainment, the four water processes) as they stand.
const std::string switches = "0 2 24\n1\n0\n0\n0 0 0 0\n";

// The scenario with switch records `on`, a degradation rate of `rate` per
// day and `hours` of run with a property row every `row_s` seconds.
void chemical_scenario(const std::string& on, const std::string& rate, int hours, int row_s) {
  copy_scenario("chemical");
  replace_text("CHEM.cfg", switches, on);
  replace_line("CHEM.cfg", "10.0 2.13 0.0", "10.0 2.13 " + rate);
  replace_text("CHEM.cfg", "* two hours\n2\n", "* the horizon, hours\n" + std::to_string(hours) + "\n");
  replace_line("CHEM.run", "0. 3600. 3600. 600", "0. 3600. 3600. " + std::to_string(row_s));
}

TEST(ScenarioChemical, DegradationAloneDecaysTheFloatingMassExponentially) {
  // One day at 1 per day, hourly rows, steps of 600 s: the floating mass
  // is m0 e^-(t / 1 day); each step rounds the decayed compartment and
  // its factor to single precision, so the bound grows by 2^-23 of the mass
  // a step.
  temp_dir dir;
  chemical_scenario("0 2 24\n0\n0\n0\n0 0 0 1\n", "1.0", 24, 3600);
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  for (std::size_t h = 0; h < rows.size(); ++h) {
    const auto& r = rows[h];
    const double t = r.at("time");
    const double steps = 6.0 * static_cast<double>(h);
    const double afloat = released_kg * std::exp(-static_cast<double>(h) / 24.0);
    EXPECT_NEAR(r.at("surface (kg)"), afloat, steps * std::ldexp(released_kg, -23) + 5e-5) << t;
    EXPECT_NEAR(r.at("degraded (kg)"), released_kg - afloat, steps * std::ldexp(released_kg, -23) + 5e-5) << t;
    EXPECT_NEAR(chemical_printed_total(r), released_kg, steps * std::ldexp(released_kg, -23) + 2e-4) << t;
    EXPECT_EQ(r.at("balance"), 100.0) << t;
  }
  EXPECT_EQ(rows.back().at("surface (%)"), 36.79);
  EXPECT_EQ(rows.back().at("degraded (%)"), 63.21);
}

TEST(ScenarioChemical, DissolutionAloneWithAFixedCoefficientIsExponential) {
  // kd = 1e-5 m/s over the slick of A m2 at a solubility of 1.78 kg/m3:
  // A S kd dt of the release at the rate of the start, a rate that follows
  // the share of the release still afloat (the slick keeps its first area):
  // m(t) = m0 exp(-A S kd t / m0) while the slick stays thicker than its
  // minimum, whatever the step; the dissolved mass is the difference.  (Each
  // step taking the rate of its start, m0 (1 - A S kd dt / m0)^n, fell
  // short of it by 0.16 kg in the first hour with 600 s steps.)
  temp_dir dir;
  chemical_scenario("0 2 24\n0\n0\n0\n1 0 0 0\n", "0.0", 2, 600);
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 13u);
  const double share = initial_area() * 1780.0 * 0.001 * 1.0e-5 * 600.0 / released_kg;
  EXPECT_NEAR(share * released_kg, 23.03, 0.01);
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const auto& r = rows[n];
    const double t = r.at("time");
    const double afloat = released_kg * std::exp(-share * static_cast<double>(n));
    EXPECT_NEAR(r.at("surface (kg)"), afloat, 1e-6 * released_kg) << t;
    EXPECT_NEAR(r.at("dissolved (kg)"), released_kg - afloat, 1e-6 * released_kg) << t;
    EXPECT_NEAR(chemical_printed_total(r), released_kg, 2e-4) << t;
    EXPECT_EQ(r.at("balance"), 100.0) << t;
    EXPECT_GT(r.at("thickness"), 0.0005) << t;
  }
}

TEST(ScenarioChemical, ASinkerOnlyDegradesOnTheFloor) {
  // 0.1 kPa, 100 mg/L and 1200 kg/m3 make the chemical a sinker: with
  // every process switched on it lies on the sea floor and only degrades,
  // m0 e^-(t / 1 day) at 1 per day.
  temp_dir dir;
  chemical_scenario("0 2 24\n1\n0\n1\n1 1 1 1\n", "1.0", 24, 3600);
  replace_text("CHEM.cfg", " 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 ", " 1200.0 15.0 0.7 15.0 100.0 25.0 0.1 25.0 ");
  run_ok("CHEM");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_EQ(rows.size(), 25u);
  for (std::size_t h = 0; h < rows.size(); ++h) {
    const auto& r = rows[h];
    const double t = r.at("time");
    const double bound = 6.0 * static_cast<double>(h) * std::ldexp(released_kg, -23) + 5e-5;
    const double on_floor = released_kg * std::exp(-static_cast<double>(h) / 24.0);
    EXPECT_NEAR(r.at("floor (kg)"), on_floor, bound) << t;
    EXPECT_NEAR(r.at("degraded (kg)"), released_kg - on_floor, bound) << t;
    for (const char* c : chemical_mass_columns) {
      if (std::string(c) != "floor (kg)" && std::string(c) != "degraded (kg)") {
        EXPECT_EQ(r.at(c), 0.0) << c << " " << t;
      }
    }
    EXPECT_EQ(r.at("balance"), 100.0) << t;
  }
  EXPECT_EQ(rows.back().at("floor (%)"), 36.79);
  EXPECT_EQ(rows.back().at("degraded (%)"), 63.21);
}

TEST(ScenarioChemical, ADenseSinkerDissolverSinksAndDissolvesOnTheFloor) {
  // Dichloromethane (1326 kg/m3, 13,000 mg/L, 47 kPa, 84.93 g/mol) is a
  // sinker-dissolver denser than the water: with evaporation, entrainment
  // and dissolution on it leaves the surface at once and lies on the floor
  // as droplets of 1 mm, which dissolve by diffusion alone.  By hand: the
  // Hayduk-Laudie diffusivity 13.26e-5 / (mu^1.14 Vb^0.589) cm2/s with
  // Vb = 4.9807 MW^0.651 and mu = 1 cP is 9.4e-10 m2/s; a droplet's squared
  // diameter falls by 8 D S / rho a second, so the mass on the floor is
  // m0 (1 - t / T)^(3/2) with T = rho d^2 / (8 D S), about 3.8 h.
  // The same for steps of 600 s and of 30 s: the dissolution is integrated
  // exactly over the step.
  const double vb = 4.9807 * std::pow(84.93, 0.651);
  const double d = 13.26e-5 / std::pow(vb, 0.589) * 1e-4;
  const double t_gone = 1326.0 * 1e-6 / (8.0 * d * 13.0);
  EXPECT_NEAR(t_gone / 3600.0, 3.8, 0.1);
  for (const char* step : {"600.", "30."}) {
    SCOPED_TRACE(step);
    temp_dir dir;
    chemical_scenario("0 2 6\n1\n0\n1\n1 0 0 0\n", "0.0", 6, 1800);
    replace_text("CHEM.cfg", " 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 78.11 ",
                 " 1326.0 15.0 0.33 15.0 13000.0 25.0 47.0 25.0 84.93 ");
    replace_line("CHEM.run", "600.", step);
    const auto r = run_orvel(dir.path(), "CHEM");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Spill 1: behaviour class 11, sinker-dissolver: it starts on the sea floor"),
              std::string::npos)
        << r.out;
    const auto rows = read_property_rows("CHEM_properties_001.txt");
    ASSERT_EQ(rows.size(), 13u);
    double dissolved = -1.0;
    for (const auto& row : rows) {
      const double t = row.at("time");
      const double left = t * 3600.0 < t_gone ? std::pow(1.0 - t * 3600.0 / t_gone, 1.5) : 0.0;
      EXPECT_NEAR(row.at("floor (kg)"), released_kg * left, 1e-4 * released_kg) << t;
      EXPECT_NEAR(row.at("dissolved (kg)"), released_kg * (1.0 - left), 1e-4 * released_kg) << t;
      for (const char* c : {"surface (kg)", "evaporated (kg)", "beached (kg)", "dispersed (kg)"}) {
        EXPECT_EQ(row.at(c), 0.0) << c << " " << t;
      }
      EXPECT_EQ(row.at("balance"), 100.0) << t;
      if (t > 0.0 && t * 3600.0 < t_gone) {
        EXPECT_GT(row.at("dissolved (kg)"), dissolved) << t;
      }
      dissolved = row.at("dissolved (kg)");
    }
    EXPECT_EQ(rows.back().at("dissolved (%)"), 100.0);
  }
}

// The rows of a grid file, values by column (the header skipped).
std::vector<std::vector<double>> grid_rows(const std::string& file) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::vector<double> v;
    for (const auto& f : split_fields(line)) v.push_back(std::strtod(f.c_str(), nullptr));
    EXPECT_EQ(v.size(), 7u) << file << ": " << line;
    rows.push_back(v);
  }
  return rows;
}

TEST(ScenarioChemical, ContinuousReleaseGridsCarryTheDissolvedMassOfEveryPulse) {
  // Three pulses ten minutes apart on still water, dissolution alone, and a
  // concentration grid of its own (0.001 degrees) with hourly grid files:
  // each pulse's file carries its dissolved mass per area, and the file of
  // the whole release holds, cell by cell, the sums of the pulses' values.
  temp_dir dir;
  chemical_scenario("0 2 24\n0\n0\n0\n1 0 0 0\n", "0.0", 2, 600);
  replace_text("CHEM.cfg", "conc.dat\n1\n1\nnot read\n", "conc.dat\n0\n2\n-9.01 42.99 0.001 0.001 0.0 20 20 1 43.0\n");
  replace_text("CHEM.cfg", "1\n1\n0 0\n", "2\n1\n0.5 600\n");
  replace_line("CHEM.run", "0 0 1", "0 1 1");
  run_ok("CHEM");
  for (int minute : {60, 120}) {
    SCOPED_TRACE(minute);
    // (longitude, latitude) -> summed dissolved mass per area of the pulses.
    std::map<std::pair<double, double>, double> summed;
    int pulses_with_dissolved = 0;
    for (int pulse = 1; pulse <= 3; ++pulse) {
      char name[48];
      std::snprintf(name, sizeof name, "CHEM_grid_subspill_%03d_%06d.txt", pulse, minute);
      bool dissolved = false;
      for (const auto& r : grid_rows(name)) {
        summed[{r[1], r[2]}] += r[4];
        dissolved = dissolved || r[4] > 0.0;
      }
      pulses_with_dissolved += dissolved;
    }
    EXPECT_EQ(pulses_with_dissolved, 3);
    char all[40];
    std::snprintf(all, sizeof all, "CHEM_grid_001_%06d.txt", minute);
    const auto rows = grid_rows(all);
    EXPECT_EQ(rows.size(), summed.size());
    for (const auto& r : rows) {
      // Three printed values of 7 decimals, each within half a unit of
      // the last digit.
      const double pulses = summed[std::make_pair(r[1], r[2])];
      EXPECT_NEAR(r[4], pulses, 2e-7) << r[1] << " " << r[2];
    }
  }
}

TEST(ScenarioChemical, EveryProcessToTheCoastAndOutOfTheBoxConservesTheRelease) {
  // Two spills of 10 t in a current of 0.5 m/s from the south-west with a
  // random walk of 10 m2/s: the first, 0.1 degrees west of the coast, comes
  // ashore; the second, 0.1 degrees south of the box's northern edge,
  // leaves the box.  Spreading (Lehr), evaporation, entrainment by waves of
  // 1 m, dissolution, sorption, volatilisation and degradation at 0.5 per
  // day, hourly rows over a day.
  temp_dir dir;
  chemical_scenario("1 2 24\n1\n0\n1\n1 1 1 1\n", "0.5", 24, 3600);
  const std::string product = " 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 78.11 1.0 "
                              "50.0 0.0 0.0 1025.0 15.0 20.0\n";
  replace_text("CHEM.cfg", "1\n1\n0 0\n1 0.0 10000.0 -9.0 43.0" + product,
               "1\n2\n0 0\n1 0.0 10000.0 -8.8 43.0" + product + "2 0.0 10000.0 -9.5 43.9" + product);
  replace_line("CHEM.cfg", "10.0 2.13 0.5", "10.0 2.13 0.5\n10.0 2.13 0.5");
  replace_line("CHEM.cfg", "1.0 0.0 0.0 0.0 0 0.0 0.0 0.0", "1.0 0.0 0.0 0.0 1 10.0 0.0 0.0\n1.0 0.0 0.0 0.0 1 10.0 0.0 0.0");
  write_file("lstcurr.pre", lines(25, "0.5 225.0"));
  replace_line("CHEM.run", "0 0 1", "1 0 1");
  run_ok("CHEM");
  // Each step rounds the decayed compartments to single precision: at most
  // 2^-24 of the release for each of the ten compartments a step (six steps
  // an hour), and half the last printed digit of each of the eleven columns.
  for (const char* file : {"CHEM_properties_001.txt", "CHEM_properties_002.txt"}) {
    SCOPED_TRACE(file);
    const auto rows = read_property_rows(file);
    ASSERT_EQ(rows.size(), 25u);
    for (std::size_t h = 0; h < rows.size(); ++h) {
      const auto& r = rows[h];
      const double bound = 6.0 * static_cast<double>(h) * 10.0 * std::ldexp(released_kg, -24) + 11 * 5e-5;
      EXPECT_NEAR(chemical_printed_total(r), released_kg, bound) << r.at("time");
      EXPECT_EQ(r.at("balance"), 100.0) << r.at("time");
    }
    // Every process left its mark (the entrained droplets of this soluble
    // chemical dissolve within the step that entrains them, so the
    // dispersed column stays at 0).
    const auto& last = rows.back();
    for (const char* c : {"evaporated (kg)", "dissolved (kg)", "sedimented (kg)", "volatilized (kg)",
                          "degraded (kg)"}) {
      EXPECT_GT(last.at(c), 0.0) << c;
    }
    EXPECT_GT(rows[1].at("area"), rows[0].at("area"));
  }
  // Ashore, and out of the box.
  EXPECT_GT(read_property_rows("CHEM_properties_001.txt").back().at("beached (kg)"), 0.0);
  EXPECT_GT(read_property_rows("CHEM_properties_002.txt").back().at("outside (kg)"), 0.0);
}

}  // namespace
}  // namespace orvel
