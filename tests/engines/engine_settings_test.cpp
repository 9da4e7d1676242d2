// The start-of-engine check: settings that would hang, crash or silently do
// nothing end the run before the first step; output schedules that stop at
// an instant no step time hits are warned about.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "control/input_places.hpp"
#include "engines/engine_settings.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::small_run;

// The message of the refusal, or "" when the settings pass; warnings into
// `warnings`.
std::string refusal(std::string* warnings = nullptr) {
  std::ostringstream w;
  try {
    check_engine_settings(w);
  } catch (const input_error& e) {
    return "orvel: error: " + e.message();
  }
  if (warnings) *warnings = w.str();
  return "";
}

struct row {
  const char* what;
  std::function<void()> change;
  std::string message;  // "" = accepted
};

TEST(EngineSettings, TheSmallRunPasses) {
  small_run();
  std::string warnings = "unset";
  EXPECT_EQ(refusal(&warnings), "");
  EXPECT_EQ(warnings, "");
}

TEST(EngineSettings, Refusals) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::string e = "orvel: error: ";
  const std::vector<row> rows = {
      {"zero step", [] { var_run.deltat = 0.0f; }, e + "the model time step deltat must be a finite number greater than 0; it is 0 s"},
      {"negative step", [] { var_run.deltat = -900.0f; },
       e + "the model time step deltat must be a finite number greater than 0; it is -900 s"},
      {"step not a number", [=] { var_run.deltat = nan; },
       e + "the model time step deltat must be a finite number greater than 0; it is nan s"},
      {"infinite step", [] { var_run.deltat = std::numeric_limits<float>::infinity(); },
       e + "the model time step deltat must be a finite number greater than 0; it is inf s"},
      {"current type", [] { var_cfg.currenttype__file_constant = 3; },
       e + "currenttype__file_constant must be 1 (field files) or 2 (uniform series), not 3"},
      {"wave type", [] { var_cfg.wavestype__file_constant = 0; },
       e + "wavestype__file_constant must be 1 (field files) or 2 (uniform series), not 0"},
      {"wind type", [] { var_cfg.windtype__file_constant = 3; },
       e + "windtype__file_constant must be 1 (field files) or 2 (uniform series), not 3"},
      {"zero record interval", [] { var_cfg.deltat_currents = 0.0f; },
       e + "the current record interval deltat_currents must be a finite number greater than 0; it is 0 s"},
      {"record not a whole number of steps", [] { var_run.deltat = 2400.0f; },
       e + "the current record interval deltat_currents of 3600 s is not a whole number of model steps of 2400 s"},
      {"step longer than the record", [] { var_run.deltat = 7200.0f; },
       e + "the current record interval deltat_currents of 3600 s is not a whole number of model steps of 7200 s"},
      {"record interval taken from the wind",
       [] {
         var_cfg.windtype__file_constant = 1;
         var_cfg.deltat_wind = 1000.0f;
       },
       e + "the current record interval (deltat_wind, since the currents are a uniform series and the wind comes "
           "from files) of 1000 s is not a whole number of model steps of 900 s"},
      {"negative horizon", [] { var_cfg.simulationtimehorizon = -1.0f; },
       e + "the simulated time must be a finite number of at least 0; it is -1 s"},
      {"horizon not a number", [=] { var_cfg.simulationtimehorizon = nan; },
       e + "the simulated time must be a finite number of at least 0; it is nan s"},
      {"too many steps",
       [] {
         var_run.deltat = 0.25f;
         var_cfg.deltat_currents = 1.0f;
         var_cfg.simulationtimehorizon = 1.0e9f;
       },
       e + "the run is too long: 1e+09 s in steps of 0.25 s"},
      {"integration method 0", [] { var_run.numericalmethod__euler_rungekut = 0; },
       e + "numericalmethod__euler_rungekut must be 1 (Euler) or 2 (Runge-Kutta), not 0"},
      {"integration method 3", [] { var_run.numericalmethod__euler_rungekut = 3; },
       e + "numericalmethod__euler_rungekut must be 1 (Euler) or 2 (Runge-Kutta), not 3"},
      {"release mode", [] { var_cfg.spill__instant_contin = 3; },
       e + "spill__instant_contin must be 1 (instantaneous) or 2 (continuous), not 3"},
      {"no current records", [] { var_cfg.currentfilesorlines_number = 0; },
       e + "the forcing has no records: currentfilesorlines_number = 0"},
      {"no wave records", [] { var_cfg.wavesfilesorlines_number = 0; },
       e + "the forcing has no records: wavesfilesorlines_number = 0"},
      {"no wind records", [] { var_cfg.windfilesorlines_number = -1; },
       e + "the forcing has no records: windfilesorlines_number = -1"},
      {"blended wind without an interval",
       [] {
         var_run.temporalinterpwind__y_n = 1;
         var_cfg.deltat_wind = 0.0f;
       },
       e + "deltat_wind must be positive when the forcing is blended in time; it is 0 s"},
      {"blended waves without an interval",
       [] {
         var_run.temporalinterpwaves__y_n = 1;
         var_cfg.deltat_waves = -3600.0f;
       },
       e + "deltat_waves must be positive when the forcing is blended in time; it is -3600 s"},
      {"box on an empty U grid, mask mode",
       [] {
         var_cfg.currentgrid_variable__y_n = 1;
         var_mallasforz.gridformatcurru_xcells = 0;
       },
       e + "the U-current grid has no cells (gridformatcurru_xcells = 0, gridformatcurru_ycells = 2), so the "
           "domain box, which follows that grid in this land-search mode, would be empty"},
      {"box on an empty U grid, mask and coast mode with a wet/dry mask",
       [] {
         var_run.search_land__mask_maskandcoast = 2;
         var_cfg.variablecurrgrid__wetdry_radar = 1;
         var_mallasforz.gridformatcurru_ycells = 0;
       },
       e + "the U-current grid has no cells (gridformatcurru_xcells = 2, gridformatcurru_ycells = 0), so the "
           "domain box, which follows that grid in this land-search mode, would be empty"},
      {"box on a U grid derived from no nodes",
       [] {
         testing::files(1, false);
         var_cfg.currentgrid_variable__y_n = 1;
         var_cfg.xyzcurrentnodes_number[0] = 0;
       },
       e + "the U-current grid has no nodes (xyzcurrentnodes_number(1) = 0), so the domain box, which follows "
           "that grid in this land-search mode, would be empty"},
  };
  for (const auto& r : rows) {
    small_run();
    r.change();
    EXPECT_EQ(refusal(), r.message) << r.what;
  }
}

TEST(EngineSettings, AcceptedNeighbours) {
  const std::vector<row> rows = {
      {"Runge-Kutta", [] { var_run.numericalmethod__euler_rungekut = 2; }, ""},
      {"continuous release", [] { var_cfg.spill__instant_contin = 2; }, ""},
      {"one step per record", [] { var_run.deltat = 3600.0f; }, ""},
      {"tenth of a second", [] { var_run.deltat = 0.1f; }, ""},
      {"zero horizon", [] { var_cfg.simulationtimehorizon = 0.0f; }, ""},
      {"one record of each forcing",
       [] {
         var_cfg.currentfilesorlines_number = 1;
         var_cfg.wavesfilesorlines_number = 1;
         var_cfg.windfilesorlines_number = 1;
       },
       ""},
      {"unblended wind with no interval", [] { var_cfg.deltat_wind = 0.0f; }, ""},
      {"U grid given, mask mode",
       [] { var_cfg.currentgrid_variable__y_n = 1; }, ""},
      {"empty U grid where the box keeps the model grid",
       [] {
         var_mallasforz.gridformatcurru_xcells = 0;
         var_cfg.variablecurrgrid__wetdry_radar = 1;  // mode 1 without a time-varying grid
       },
       ""},
      {"empty U grid, mask and coast mode with a radar mask",
       [] {
         var_run.search_land__mask_maskandcoast = 2;
         var_cfg.currentgrid_variable__y_n = 1;
         var_cfg.variablecurrgrid__wetdry_radar = 2;
         var_mallasforz.gridformatcurru_xcells = 0;
       },
       ""},
      {"U grid still to be derived from its nodes",
       [] {
         testing::files(1, false);
         var_cfg.currentgrid_variable__y_n = 1;
         var_mallasforz.gridformatcurru_xcells = 0;
       },
       ""},
  };
  for (const auto& r : rows) {
    small_run();
    r.change();
    EXPECT_EQ(refusal(), r.message) << r.what;
  }
}

TEST(EngineSettings, RefusalNamesTheLineOfTheValue) {
  // The start-up pass makes the check; its refusal points at the line of the
  // value that the control-file reader kept.
  small_run();
  note_places("T.run", {{"numericalmethod__euler_rungekut", 14}});
  var_run.numericalmethod__euler_rungekut = 3;
  std::ostringstream w;
  try {
    check_engine_settings(w);
    ADD_FAILURE() << "accepted";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "T.run");
    EXPECT_EQ(e.line(), 14);
  }
}

TEST(EngineSettings, WarningsForOutputSchedulesThatStop) {
  struct wrow {
    const char* what;
    std::function<void()> change;
    std::string warning;  // "" = none
  };
  const std::string parts = "orvel: warning: no model step ends exactly at the particle output time ";
  const std::string concs = "orvel: warning: no model step ends exactly at the concentration output time ";
  const std::vector<wrow> rows = {
      {"hourly", [] {}, ""},
      {"particles every 1000 s", [] { var_run.deltatoutput_parts = 1000.0f; },
       parts + "1000 s (deltatoutput_parts = 1000 s, deltat = 900 s), so no particle file is written from then on\n"},
      {"particles switched off", [] {
         var_run.deltatoutput_parts = 1000.0f;
         var_run.outputparts__y_n = 0;
       }, ""},
      {"concentrations every 1000 s", [] {
         var_run.outputconcs__y_n = 1;
         var_run.deltatoutput_concs = 1000.0f;
       },
       concs + "1000 s (deltatoutput_concs = 1000 s, deltat = 900 s), so no presence or grid output is made from "
               "then on\n"},
      {"concentrations switched off", [] { var_run.deltatoutput_concs = 1000.0f; }, ""},
      {"first output off the steps", [] { var_run.firstoutput_time = 100.0f; },
       parts + "3700 s (deltatoutput_parts = 3600 s, deltat = 900 s), so no particle file is written from then on\n"},
      // Eleven steps an hour, a file every fifth step: eight outputs hit the
      // step times, then 9 * (5 * deltat) rounds differently from 45 * deltat.
      {"a schedule that stops after eight outputs",
       [] {
         var_run.deltat = 3600.0f / 11.0f;
         var_run.deltatoutput_parts = 5.0f * var_run.deltat;
       },
       parts + "14727.2725 s (deltatoutput_parts = 1636.36365 s, deltat = 327.272736 s), so no particle file is "
               "written from then on\n"},
      {"zero interval", [] { var_run.deltatoutput_parts = 0.0f; },
       parts + "0 s (deltatoutput_parts = 0 s, deltat = 900 s), so no particle file is written from then on\n"},
      {"first instant after the end", [] { var_run.deltatoutput_parts = 50.0f * 3600.0f; }, ""},
      {"instant missed only past the end", [] { var_run.deltatoutput_parts = 36000.0f + 100.0f; }, ""},
  };
  for (const auto& r : rows) {
    small_run();
    r.change();
    std::string warnings;
    EXPECT_EQ(refusal(&warnings), "") << r.what;
    EXPECT_EQ(warnings, r.warning) << r.what;
  }
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// Two result files of one kind at different step times must not share a
// name: the rounded output minutes of the schedule are checked before the
// first step.  Property rows closer than the model step are refused too.
TEST(EngineSettings, OutputNamesThatWouldCollide) {
  const std::string e = "orvel: error: ";
  // 1000 days at 900 s a step with daily files: day 695 is minute
  // 695 x 1440 = 1000800, past six digits; the names take seven.
  auto long_run = [] {
    var_cfg.simulationtimehorizon = 1000.0f * 86400.0f;
    var_run.deltatoutput_parts = 86400.0f;
  };
  const std::string later = ", so the later file would replace the earlier one under the same name";
  auto step = [](float dt, float parts) {
    return [=] {
      var_run.deltat = dt;
      var_run.deltatoutput_parts = parts;
    };
  };
  const std::vector<row> rows = {
      {"20 s steps, files every step: 0 s and 20 s are both minute 0", step(20.0f, 20.0f),
       e + "particle files every 20 s (deltatoutput_parts) with a model step of 20 s: the outputs at 0 s and 20 s "
           "fall in the same output minute 0" + later},
      {"30 s steps, files every step: 30 s rounds up to minute 1, as 60 s is", step(30.0f, 30.0f),
       e + "particle files every 30 s (deltatoutput_parts) with a model step of 30 s: the outputs at 30 s and 60 s "
           "fall in the same output minute 1" + later},
      {"30 s steps, files every minute", step(30.0f, 60.0f), ""},
      {"daily files for 1000 days", long_run, ""},
      {"150 s steps, files every step: minutes 0, 3, 5, 8, 10", step(150.0f, 150.0f), ""},
      {"20 s steps, particle files switched off",
       [=] {
         step(20.0f, 20.0f)();
         var_run.outputparts__y_n = 0;
       },
       ""},
      {"grid files every 20 s",
       [] {
         var_run.deltat = 20.0f;
         var_run.outputconcs__y_n = 1;
         var_run.deltatoutput_concs = 20.0f;
       },
       e + "grid files every 20 s (deltatoutput_concs) with a model step of 20 s: the outputs at 0 s and 20 s fall "
           "in the same output minute 0" + later},
      {"first output at 30 s, then every 30 s",
       [] {
         var_run.deltat = 30.0f;
         var_run.firstoutput_time = 30.0f;
         var_run.deltatoutput_parts = 30.0f;
       },
       e + "particle files every 30 s (deltatoutput_parts) with a model step of 30 s: the outputs at 30 s and 60 s "
           "fall in the same output minute 1" + later},
      {"first output at 30 s, then hourly",
       [] {
         var_run.deltat = 30.0f;
         var_run.firstoutput_time = 30.0f;
       },
       ""},
      {"property rows every 600 s for a floating object with 900 s steps",
       [] {
         var_cfg.obj__floating_fuel_hns = 1;
         var_run.outputpropierties__y_n = 1;
         var_run.deltatoutput_properties = 600;
       },
       e + "property rows every 600 s (deltatoutput_properties) with a model step of 900 s: the rows must be at "
           "least one model step apart (for a step of an hour or more, at least one hour)"},
      {"the same for oil that writes no property file",
       [] {
         var_run.outputpropierties__y_n = 1;
         var_run.deltatoutput_properties = 600;
       },
       ""},
      {"property rows hourly with 5400 s steps (a stride of 0 records)",
       [] {
         var_cfg.obj__floating_fuel_hns = 1;
         var_run.outputpropierties__y_n = 1;
         var_run.deltat = 5400.0f;
         var_cfg.deltat_currents = 10800.0f;
       },
       e + "property rows every 3600 s (deltatoutput_properties) with a model step of 5400 s: the rows must be at "
           "least one model step apart (for a step of an hour or more, at least one hour)"},
      {"property rows hourly with 7200 s steps (a row every step)",
       [] {
         var_cfg.obj__floating_fuel_hns = 1;
         var_run.outputpropierties__y_n = 1;
         var_run.deltat = 7200.0f;
         var_cfg.deltat_currents = 7200.0f;
       },
       ""},
  };
  for (const auto& r : rows) {
    small_run();
    r.change();
    EXPECT_EQ(refusal(), r.message) << r.what;
  }
}

}  // namespace
}  // namespace orvel
