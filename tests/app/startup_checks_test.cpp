// The start-up checks of the control files, in process.
//
// Every range of the control files walked at its bounds: for each entry of
// the table of input ranges, a scenario with the value just inside each
// bound passes the start-up checks of the control files, and one with the
// value just outside is refused, naming the value.  A bound that includes
// its value is probed at the value itself, one that excludes it at the
// value (refused) and just beyond it (passed).  The values are written into
// the control files and read back, as a user's would be.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/startup.hpp"
#include "app/validation.hpp"
#include "common/result_file.hpp"
#include "common/errors.hpp"
#include "control/control_files.hpp"
#include "control/input_ranges.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// A line of a control file to set before the probe: file ("run", "cfg",
// "calib"), line number, text.
struct line_edit {
  const char* file;
  int line;
  const char* text;
};

struct probe {
  const char* name;
  const char* objects;  // the entry's objects
  const char* scenario;  // "drift" (floating object), "drift3d", "oil", "chem"
  const char* file;      // the file of the value
  int line;              // its line
  int item;              // its item on the line, from 1
  std::vector<line_edit> base = {};
  int link_item = 0;        // an item set to link_factor x the value (a volume's mass)
  double link_factor = 0.0;
  bool skip_inside_low = false;  // the lowest value in range is refused by a rule of its own
};

const char* key_of(const std::string& scenario) { return scenario == "chem" ? "CHEM" : "DRFT"; }

std::string path_of(const std::string& scenario, const std::string& file) {
  const std::string key = key_of(scenario);
  if (file == "calib") return key + "_HNS.calib";
  return key + "." + file;
}

// Sets item `item` (from 1) of line `n` of `file`.
void set_item(const std::string& file, int n, int item, const std::string& value) {
  std::istringstream in(read_file(file));
  std::string out, line;
  for (int k = 1; std::getline(in, line); ++k) {
    if (k == n) {
      std::istringstream words(line);
      std::string w, changed;
      for (int i = 1; words >> w; ++i) changed += (changed.empty() ? "" : " ") + (i == item ? value : w);
      line = changed;
    }
    out += line + "\n";
  }
  write_file(file, out);
}

void set_line(const std::string& file, int n, const std::string& text) {
  std::istringstream in(read_file(file));
  std::string out, line;
  for (int k = 1; std::getline(in, line); ++k) out += (k == n ? text : line) + "\n";
  write_file(file, out);
}

void prepare(const std::string& scenario) {
  copy_scenario(scenario == "chem" ? "chemical" : "drift");
  if (scenario == "oil") {
    set_line("DRFT.cfg", 12, "2");  // oil
    set_line("DRFT.cfg", 14, "1");  // that evaporates
  }
  if (scenario == "drift3d") set_line("DRFT.run", 3, "2");
}

// Reads the control files as the start-up does and runs their checks.
void read_and_check(const std::string& key) {
  reset_state();
  run(key);
  leo_cfg(key);
  if (var_cfg.obj__floating_fuel_hns == 3) leo_param_calib(key);
  validate_control_files(key);
}

std::string number(double x) {
  char s[40];
  std::snprintf(s, sizeof s, "%.9g", x);
  return s;
}

// The probe's value `x` written into a fresh copy of its scenario; the
// error message when it is refused, "" when it passes.
std::string outcome(const probe& p, double x) {
  temp_dir dir;
  prepare(p.scenario);
  for (const auto& e : p.base) set_line(path_of(p.scenario, e.file), e.line, e.text);
  const std::string file = path_of(p.scenario, p.file);
  set_item(file, p.line, p.item, number(x));
  if (p.link_item > 0 && x > 0.0) set_item(file, p.line, p.link_item, number(x * p.link_factor));
  try {
    read_and_check(key_of(p.scenario));
  } catch (const input_error& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("(not an input error) ") + e.what();
  }
  return "";
}

const std::set<std::string> integers = {"particle_number", "deltatoutput_properties", "stoptimespreading",
                                        "xcells_number", "ycells_number"};

// A step from a bound: one in the last place of a whole number, a millionth
// of the bound's size otherwise (distinct in single precision).
double step_from(const std::string& name, double bound) {
  if (integers.count(name)) return 1.0;
  return std::fmax(std::fabs(bound), 1.0) * 1e-6;
}

const std::vector<probe>& probes() {
  static const std::vector<probe> p = {
      // KEY.run
      {"particle_number", "", "drift", "run", 12, 1},
      {"deltat", "", "drift", "run", 13, 1},
      {"firstoutput_time", "", "drift", "run", 18, 1},
      {"deltatoutput_parts", "", "drift", "run", 18, 2},
      {"deltatoutput_concs", "", "drift", "run", 18, 3, {{"run", 19, "1 1 1"}}},
      {"deltatoutput_properties", "", "drift", "run", 18, 4},
      // The grid line, with node counts that the bounds of the origin and
      // the spacings leave on the globe.
      {"grid0_x", "", "drift", "cfg", 4, 1},
      {"grid0_y", "", "drift", "cfg", 4, 2, {{"cfg", 4, "-10.0 42.0 0.1 0.1 0.0 21 1 1 43.0"}}},
      {"deltax", "", "drift", "cfg", 4, 3, {{"cfg", 4, "-10.0 42.0 0.1 0.1 0.0 2 21 1 43.0"}}},
      {"deltay", "", "drift", "cfg", 4, 4, {{"cfg", 4, "-10.0 -90.0 0.1 0.1 0.0 21 2 1 43.0"}}},
      {"xcells_number", "", "drift", "cfg", 4, 6},
      {"ycells_number", "", "drift", "cfg", 4, 7},
      {"conclatmean", "", "drift", "cfg", 9, 9,
       {{"cfg", 7, "0"}, {"cfg", 8, "2"}, {"cfg", 9, "-10.0 42.0 0.1 0.1 0.0 21 21 1 43.0"}}},
      {"stoptimespreading", "", "drift", "cfg", 13, 3, {{"cfg", 13, "1 1 24"}}},
      {"kinemviscosity_water", "oil and HNS", "chem", "cfg", 18, 1},
      {"kinemviscosity_water", "floating object", "drift", "cfg", 18, 1},
      // A continuous release of pulses every 600 s: shorter than one pulse
      // it has no pulse, a refusal of its own.
      {"spillduration", "", "drift", "cfg", 22, 1, {{"cfg", 20, "2"}, {"cfg", 22, "1 600"}}, 0, 0.0, true},
      // The spill line.
      {"spillstarttime", "", "drift", "cfg", 23, 2},
      {"spilledmass", "oil and HNS", "chem", "cfg", 24, 3},
      {"spilledmass", "floating object", "drift", "cfg", 23, 3},
      // An oil of the lightest density of the range (50 kg/m3): at the top of
      // the volume range its mass (0.9 x 50 kg/m3 x volume) stays within the
      // mass range, and the volume within a quarter of mass / density.
      {"spillvolume", "oil", "oil", "cfg", 23, 11,
       {{"cfg", 23, "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 50.0 15.0 100.0 15.0 0 25 0 25 0 0 "
                    "40.0 5.0 70.0 1025.0 15.0 20.0"}},
       3, 45.0},
      {"spillvolume", "floating object", "drift", "cfg", 23, 11},
      {"spillposition_x", "", "drift", "cfg", 23, 4},
      {"spillposition_y", "", "drift", "cfg", 23, 5},
      {"spillposition_z", "", "drift3d", "cfg", 23, 6},
      {"spillsize_sidex", "", "drift", "cfg", 23, 7},
      {"spillsize_sidey", "", "drift", "cfg", 23, 8},
      {"spillthickness", "", "drift", "cfg", 23, 9},
      {"minspillthickness", "", "drift", "cfg", 23, 10},
      {"density", "oil and HNS", "chem", "cfg", 24, 13},
      {"densityreferencetemperature", "oil and HNS", "chem", "cfg", 24, 14},
      {"viscosity", "oil and HNS", "chem", "cfg", 24, 15},
      {"viscosityreferencetemperature", "oil and HNS", "chem", "cfg", 24, 16},
      {"watersolubility", "HNS", "chem", "cfg", 24, 17},
      {"vaporpressure", "HNS", "chem", "cfg", 24, 19},
      {"hnsmolweight", "HNS", "chem", "cfg", 24, 21},
      {"maxevaporation", "oil and HNS", "chem", "cfg", 24, 23},
      {"minevaporation", "oil and HNS", "chem", "cfg", 24, 24},
      {"maxemulsification", "oil and HNS", "chem", "cfg", 24, 25},
      {"waterdensity", "oil and HNS", "chem", "cfg", 24, 26},
      {"watertemperature", "oil and HNS", "chem", "cfg", 24, 27},
      {"airtemperature", "oil and HNS", "chem", "cfg", 24, 28},
      {"sedimentsconcentration", "HNS", "chem", "cfg", 26, 1},
      {"logkow", "HNS", "chem", "cfg", 26, 2},
      {"degradation_rate", "HNS", "chem", "cfg", 26, 3},
      // Horizon and record intervals.
      {"simulationtimehorizon", "", "drift", "cfg", 26, 1},
      {"deltat_currents", "", "drift", "cfg", 31, 1},
      {"deltat_waves", "", "drift", "cfg", 37, 1},
      {"deltat_wind", "", "drift", "cfg", 42, 1},
      // Record 39.
      {"currentcoeff", "", "drift", "cfg", 46, 1},
      {"dragcoeff_a", "", "drift", "cfg", 46, 2},
      {"dragcoeff_b", "", "drift", "cfg", 46, 3},
      {"wavescoeff", "", "drift", "cfg", 46, 4},
      {"diffusioncoeff_kh", "", "drift", "cfg", 46, 6},
      {"diffusioncoeff_kz", "", "drift", "cfg", 46, 7},
      {"riverfreesurfaceslope", "", "drift", "cfg", 46, 8},
      // The calibration file: the constant that each record's option gives.
      {"spreadingrateconstant", "", "chem", "calib", 4, 1, {{"calib", 2, "3"}, {"calib", 6, "1"}}},
      {"km", "", "chem", "calib", 4, 1},
      {"a", "", "chem", "calib", 8, 1, {{"calib", 6, "1"}}},
      {"k2", "", "chem", "calib", 8, 1},
      {"wind_min", "", "chem", "calib", 10, 1},
      {"dissolparam", "", "chem", "calib", 14, 1, {{"calib", 12, "1"}}},
      {"kd", "", "chem", "calib", 14, 1},
  };
  return p;
}

// The values of the other files (forcing, blowout, restart) and the mean
// latitude of the model grid are checked after the geography is read:
// their own tests walk them.
bool walked_elsewhere(const input_range& e) {
  return !(e.file == "KEY.run" || e.file == "KEY.cfg" || e.file == "KEY_HNS.calib") || e.name == "latmean";
}

TEST(RangeWalk, EveryRangeOfTheControlFilesHasAProbe) {
  for (const auto& e : input_ranges()) {
    if (walked_elsewhere(e)) continue;
    bool found = false;
    for (const auto& p : probes()) found |= p.name == e.name && p.objects == e.objects;
    EXPECT_TRUE(found) << e.name << " (" << e.objects << ")";
  }
}

TEST(RangeWalk, JustInsideEachBoundPassesJustOutsideIsRefused) {
  for (const auto& p : probes()) {
    const input_range& e = input_range_of(p.name, p.objects);
    ASSERT_EQ(e.objects, std::string_view(p.objects)) << p.name;
    const std::string name(e.name);
    auto refused = [&](double x) {
      const std::string why = outcome(p, x);
      EXPECT_NE(why, "") << name << " = " << number(x) << " (" << p.objects << ") passes";
      EXPECT_NE(why.find(name), std::string::npos) << name << " = " << number(x) << ": " << why;
    };
    auto passes = [&](double x) {
      EXPECT_EQ(outcome(p, x), "") << name << " = " << number(x) << " (" << p.objects << ")";
    };
    if (std::isfinite(e.low)) {
      const double d = step_from(name, e.low);
      if (e.low_included) {
        if (!p.skip_inside_low) passes(e.low);
        refused(e.low - d);
      } else {
        refused(e.low);
        if (!p.skip_inside_low) passes(e.low + d);
      }
    }
    if (std::isfinite(e.high)) {
      const double d = step_from(name, e.high);
      if (e.high_included) {
        passes(e.high);
        refused(e.high + d);
      } else {
        refused(e.high);
        passes(e.high - d);
      }
    }
  }
}

// An oil's volume within a quarter of spilledmass / density, the mass and
// volume of the whole release as the line gives them: 900 kg of a product
// of 900 kg/m3 is 1 m3.
TEST(StartUpChecks, VolumeWithinAQuarterOfMassOverDensity) {
  const probe volume{"spillvolume", "oil", "oil", "cfg", 23, 11, {{"cfg", 23, "1 0.0 900.0 -9.0 43.0 0.0 1000.0 "
      "1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 15.0 20.0"}}};
  for (const double v : {1.0, 1.25, 0.75, 1.2499, 0.7501}) EXPECT_EQ(outcome(volume, v), "") << v;
  for (const double v : {1.2501, 0.7499, 1.3, 0.7, 2.0}) {
    EXPECT_NE(outcome(volume, v).find("spillvolume of spill line 1 = " + number(v) + " m3 does not match"),
              std::string::npos)
        << v;
  }
  // A continuous release of six pulses: each pulse carries a sixth of both,
  // and the file's totals agree.
  probe release = volume;
  release.base.push_back({"cfg", 20, "2"});
  release.base.push_back({"cfg", 22, "1 600"});
  EXPECT_EQ(outcome(release, 1.0), "");
  EXPECT_EQ(outcome(release, 1.25), "");
  EXPECT_NE(outcome(release, 1.3).find("does not match"), std::string::npos);
}

// The mass and volume ranges of an oil agree: the heaviest release the
// mass range allows, 1e10 kg, with the volume its density gives it
// (1e10 kg / density), passes at the lightest density of the range, a
// crude's and that of an oil just lighter than the sea water (a 2-D oil
// engine follows floating oil only); the volume range alone still refuses
// more.
TEST(StartUpChecks, AnOilAtTheTopOfTheMassRangeHasAVolumeInRange) {
  for (const double density : {50.0, 900.0, 1020.0}) {
    const std::string line = "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 " + number(density) +
                             " 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 15.0 20.0";
    const probe oil{"spillvolume", "oil", "oil", "cfg", 23, 11, {{"cfg", 23, line.c_str()}}, 3, density};
    // The mass written is the volume's nine digits times the density:
    // within a part in 1e8 of 1e10 kg and not above it.
    EXPECT_EQ(outcome(oil, 1.0e10 / density * (1.0 - 1e-9)), "") << density;
  }
  // 2.1e8 m3 of 45 x 2.1e8 kg at 50 kg/m3: mass in range, volume within a
  // quarter of mass / density (1.89e8 m3), but above the volume range.
  const probe beyond{"spillvolume", "oil", "oil", "cfg", 23, 11,
                     {{"cfg", 23, "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 50.0 15.0 100.0 "
                                  "15.0 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 15.0 20.0"}},
                     3, 45.0};
  const std::string why = outcome(beyond, 2.1e8);
  EXPECT_NE(why.find("spillvolume"), std::string::npos) << why;
  EXPECT_EQ(why.find("does not match"), std::string::npos) << why;
}

// An output interval that is not a finite number is refused with its output
// off as well as on, as a number too large for single precision is (by the
// reader); with its output off any finite number passes.
TEST(StartUpChecks, AnOutputIntervalIsFiniteWhateverItsSwitch) {
  struct interval_case {
    int item;           // of line 18
    const char* name;
    const char* off;    // line 19 with that output off
  };
  const interval_case cases[] = {{2, "deltatoutput_parts", "0 1 1"}, {3, "deltatoutput_concs", "1 0 1"}};
  for (const auto& c : cases) {
    for (const char* on_off : {c.off, "1 1 1"}) {
      const probe p{c.name, "", "drift", "run", 18, c.item, {{"run", 19, on_off}}};
      for (const double x : {double{NAN}, double{INFINITY}, -double{INFINITY}, 1e308}) {
        const std::string why = outcome(p, x);
        EXPECT_EQ(why.rfind("DRFT.run:18: ", 0), 0u) << c.name << " " << on_off << " " << x << ": " << why;
        EXPECT_NE(why.find(c.name), std::string::npos) << c.name << " " << on_off << " " << x << ": " << why;
      }
    }
    const probe off{c.name, "", "drift", "run", 18, c.item, {{"run", 19, c.off}}};
    for (const double x : {0.0, -600.0, 1e30}) EXPECT_EQ(outcome(off, x), "") << c.name << " " << x;
  }
}

// A backward run holds its drift coefficients negated, but they are
// checked against the ranges of the file as written (0 to 2 for the
// current and wave coefficients, 0 to 1 for dragcoeff_a, -0.01 to 0.01 for
// dragcoeff_b), the same as in a forward run.
TEST(StartUpChecks, ABackwardRunChecksItsDriftCoefficientsAsWritten) {
  const struct {
    const char* name;
    int item;
    double low, high;
  } coefficients[] = {
      {"currentcoeff", 1, 0.0, 2.0}, {"dragcoeff_a", 2, 0.0, 1.0}, {"dragcoeff_b", 3, -0.01, 0.01}, {"wavescoeff", 4, 0.0, 2.0}};
  for (const char* direction : {"1", "2"}) {
    for (const auto& c : coefficients) {
      const probe p{c.name, "", "drift", "cfg", 46, c.item, {{"run", 5, direction}}};
      const double width = c.high - c.low;
      for (const double x : {c.low, c.low + 0.25 * width, c.high}) {
        EXPECT_EQ(outcome(p, x), "") << c.name << " = " << x << ", run " << direction;
      }
      for (const double x : {c.low - 0.25 * width, c.high + 0.25 * width}) {
        EXPECT_NE(outcome(p, x).find(c.name), std::string::npos) << c.name << " = " << x << ", run " << direction;
      }
    }
  }
}

// The origin of a regular wave grid is checked as the file gives it (from
// -360 to 360 degrees), not as it is held (360 degrees further east): a grid
// at 120 E, or at -350, passes; one at 361 or -361 is refused.
TEST(StartUpChecks, AWaveGridOriginIsCheckedAsWritten) {
  const probe origin{"gridformatwaves_0x", "", "drift", "cfg", 39, 1,
                     {{"cfg", 35, "1 1"}, {"cfg", 36, "2"}, {"cfg", 39, "-10.0 42.0 0.1 0.1 21 21"}}};
  for (const double x : {-10.0, 120.0, 300.0, -350.0, 359.0}) EXPECT_EQ(outcome(origin, x), "") << x;
  for (const double x : {361.0, -361.0}) {
    EXPECT_NE(outcome(origin, x).find("gridformatwaves_0x"), std::string::npos) << x;
  }
}

// The type of an oil (item 12 of its spill line) is 0 (crude) or 1
// (refined); a chemical's line does not use the item, and any value there
// passes.
TEST(StartUpChecks, AnOilTypeIsZeroOrOne) {
  const probe oil{"oiltype__crude0_refined1", "oil", "oil", "cfg", 23, 12};
  for (const double x : {0.0, 1.0}) EXPECT_EQ(outcome(oil, x), "") << x;
  for (const double x : {2.0, 7.0, -1.0}) {
    EXPECT_NE(outcome(oil, x).find("oiltype__crude0_refined1"), std::string::npos) << x;
  }
  const probe chemical{"oiltype__crude0_refined1", "HNS", "chem", "cfg", 24, 12};
  for (const double x : {0.0, 1.0, 2.0, 7.0}) EXPECT_EQ(outcome(chemical, x), "") << x;
}

// A step out of its range is refused as such, before the rule that holds
// the pulse interval of a continuous release to the step.
TEST(StartUpChecks, AStepOutOfRangeIsRefusedBeforeThePulseInterval) {
  probe step{"deltat", "", "drift", "run", 13, 1, {{"cfg", 20, "2"}, {"cfg", 22, "1 600"}}};
  for (const double x : {double{INFINITY}, -double{INFINITY}, double{NAN}, 0.0, -600.0, 4e8}) {
    const std::string why = outcome(step, x);
    // The reader refuses a step of 0 or less itself.
    EXPECT_EQ(why.rfind("DRFT.run:13: deltat", 0), 0u) << x << ": " << why;
    EXPECT_NE(why.find("greater than 0"), std::string::npos) << x << ": " << why;
  }
  EXPECT_EQ(outcome(step, 600.0), "");
}

// Working names carry the key and the process, so that two runs of one key
// in one folder never write the same working file.
TEST(StartUpChecks, WorkingNamesCarryTheProcess) {
  temp_dir dir;
  prepare("drift");
  reset_state();
  main_program("DRFT");
  EXPECT_EQ(partial_name("DRFT_properties_001.txt"),
            "DRFT_properties_001.txt.DRFT." + std::to_string(::getpid()) + ".partial");
  set_partial_tag("");
  reset_state();
}

// The spill lines kept as read belong to the scenario read last: a reset
// state keeps none of them, so the checks of a later scenario see only its
// own values.
TEST(StartUpChecks, AResetStateKeepsNoSpillLineOfAnEarlierScenario) {
  temp_dir dir;
  prepare("oil");
  reset_state();
  run("DRFT");
  leo_cfg("DRFT");
  ASSERT_EQ(spill_lines_as_read().size(), 1u);
  EXPECT_EQ(spill_lines_as_read()[0].density, 900.0f);
  reset_state();
  EXPECT_TRUE(spill_lines_as_read().empty());
  // A scenario read after the reset is checked on its own lines: its
  // volume against its own mass and density.
  set_item("DRFT.cfg", 23, 13, "450.0");
  set_item("DRFT.cfg", 23, 3, "450.0");
  EXPECT_NO_THROW(read_and_check("DRFT"));
  ASSERT_EQ(spill_lines_as_read().size(), 1u);
  EXPECT_EQ(spill_lines_as_read()[0].density, 450.0f);
}

}  // namespace
}  // namespace orvel
