#include "engines/engine_settings.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "common/errors.hpp"
#include "control/input_places.hpp"
#include "control/run_rules.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_run.hpp"
#include "output/property_files.hpp"
#include "output/result_layout.hpp"

namespace orvel {

float current_record_interval() {
  if (var_cfg.currenttype__file_constant == 2 && var_cfg.windtype__file_constant == 1) {
    return var_cfg.deltat_wind;
  }
  return var_cfg.deltat_currents;
}

int64_t substeps_per_record(float interval, float deltat) {
  if (!(interval > 0.0f) || !(deltat > 0.0f)) return 0;
  const double q = std::ceil(static_cast<double>(interval) / static_cast<double>(deltat));
  // Runs this long are refused by the settings check; the estimate is enough
  // to tell them.
  if (!(q < 2147483648.0)) return static_cast<int64_t>(std::fmin(q, 9.0e15));
  // float(k) * deltat grows with k, so the k that satisfy the test are 0 .. n-1
  // for the first n whose step time reaches the interval.
  auto reaches = [&](int64_t k) { return static_cast<float>(k) * deltat >= interval; };
  int64_t n = static_cast<int64_t>(q);
  while (n > 0 && reaches(n - 1)) --n;
  while (!reaches(n)) ++n;
  return n;
}

int32_t current_record_count(float horizon, float interval) {
  const float q = horizon / interval;
  if (!(q > -2147483648.0f)) return 0;  // not a number, or off the scale: refused by the check
  if (!(q < 2147483648.0f)) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(q);
}

namespace {

// A refusal on the line of the value `name` that the message is about.
[[noreturn]] void refuse(std::string_view name, const std::string& what) { throw refusal_at(name, "", what); }

void check_type(const char* name, int32_t value) {
  if (value != 1 && value != 2) {
    refuse(name, std::string(name) + " must be 1 (field files) or 2 (uniform series), not " + std::to_string(value));
  }
}

void check_records(const char* name, int32_t value) {
  if (value < 1) refuse(name, std::string("the forcing has no records: ") + name + " = " + std::to_string(value));
}

void check_blend_interval(const char* name, int32_t blended, float interval) {
  if (blended == 1 && !(interval > 0.0f)) {
    refuse(name, std::string(name) + " must be positive when the forcing is blended in time; it is " + value_text(interval, 9) +
           " s");
  }
}

void check_box() {
  if (!box_follows_current_grid()) return;
  const bool derived = var_cfg.currenttype__file_constant == 1 && var_mallas.currentgrid_regular__y_n == 1 &&
                       var_cfg.currentgridformat__xyz_grid == 1;
  if (derived) {
    // The grid is derived from the U nodes at the first pass.
    if (var_cfg.xyzcurrentnodes_number[0] < 1) {
      refuse("xyzcurrentnodes_number", "the U-current grid has no nodes (xyzcurrentnodes_number(1) = " +
             std::to_string(var_cfg.xyzcurrentnodes_number[0]) +
             "), so the domain box, which follows that grid in this land-search mode, would be empty");
    }
    return;
  }
  if (var_mallasforz.gridformatcurru_xcells < 1 || var_mallasforz.gridformatcurru_ycells < 1) {
    refuse("gridformatcurru_xcells", "the U-current grid has no cells (gridformatcurru_xcells = " +
           std::to_string(var_mallasforz.gridformatcurru_xcells) +
           ", gridformatcurru_ycells = " + std::to_string(var_mallasforz.gridformatcurru_ycells) +
           "), so the domain box, which follows that grid in this land-search mode, would be empty");
  }
}

// Follows one output counter over the step times of the run: it advances
// only when a step time equals its next instant exactly.  True, with the
// instant in `stuck`, when the counter is left waiting for an instant that
// lies within the run.
bool stuck_instant(float first, float interval, int64_t last_step, float& stuck) {
  const float dt = var_run.deltat;
  int32_t c = 1;
  float next = static_cast<float>(c) * interval + first;
  for (int64_t n = 1; n <= last_step; ++n) {
    const float t = static_cast<float>(n) * dt;
    if (t == next) {
      ++c;
      next = static_cast<float>(c) * interval + first;
    }
  }
  const float end = static_cast<float>(last_step) * dt;
  if (last_step >= 1 && next <= end) {
    stuck = next;
    return true;
  }
  return false;
}

void warn_schedule(std::ostream& warnings, int64_t last_step) {
  float t = 0.0f;
  if (var_run.outputparts__y_n == 1 &&
      stuck_instant(var_run.firstoutput_time, var_run.deltatoutput_parts, last_step, t)) {
    warnings << "orvel: warning: no model step ends exactly at the particle output time " << value_text(t, 9)
             << " s (deltatoutput_parts = " << value_text(var_run.deltatoutput_parts, 9) << " s, deltat = "
             << value_text(var_run.deltat, 9) << " s), so no particle file is written from then on\n";
  }
  if (var_run.outputconcs__y_n == 1 &&
      stuck_instant(var_run.firstoutput_time, var_run.deltatoutput_concs, last_step, t)) {
    warnings << "orvel: warning: no model step ends exactly at the concentration output time " << value_text(t, 9)
             << " s (deltatoutput_concs = " << value_text(var_run.deltatoutput_concs, 9) << " s, deltat = "
             << value_text(var_run.deltat, 9) << " s), so no presence or grid output is made from then on\n";
  }
}

// Follows the instants of one output kind (time 0 when the first output is
// at 0, the first-output instant, then the scheduled ones) and refuses the
// schedule when two of them, at different step times, round to the same
// output minute: their files would have one name and the later would replace
// the earlier.
void check_distinct_minutes(const char* files, const char* interval_name, float interval, int64_t last_step) {
  const float dt = var_run.deltat;
  const float first = var_run.firstoutput_time;
  int64_t previous_step = -1;
  int64_t previous_minute = 0;
  int64_t limit = 1;
  for (int d = minute_digits(); d > 0; --d) limit *= 10;
  // The names carry the minute and nothing else that changes: files of
  // different minutes have different names.
  auto output_at = [&](int64_t n) {
    const int64_t minute = output_time_of(static_cast<int32_t>(n)).minute;
    if (minute >= limit || minute < 0) {
      refuse(interval_name, std::string(files) + " every " + value_text(interval, 9) + " s (" + interval_name +
                                "): the output at " + value_text(static_cast<float>(n) * dt, 9) +
                                " s falls in output minute " + std::to_string(minute) + ", which does not fit the " +
                                std::to_string(minute_digits()) + " digits of the file names");
    }
    if (previous_step >= 0 && minute == previous_minute) {
      refuse(interval_name, std::string(files) + " every " + value_text(interval, 9) + " s (" + interval_name + ") with a model step of " +
             value_text(dt, 9) + " s: the outputs at " + value_text(static_cast<float>(previous_step) * dt, 9) + " s and " +
             value_text(static_cast<float>(n) * dt, 9) + " s fall in the same output minute " + std::to_string(minute) +
             ", so the later file would replace the earlier one under the same name");
    }
    previous_step = n;
    previous_minute = minute;
  };
  if (first == 0.0f) output_at(0);
  int32_t c = 1;
  float next = static_cast<float>(c) * interval + first;
  for (int64_t n = 1; n <= last_step; ++n) {
    const float t = static_cast<float>(n) * dt;
    bool due = first != 0.0f && t == first;
    if (t == next) {
      due = true;
      ++c;
      next = static_cast<float>(c) * interval + first;
    }
    if (due) output_at(n);
  }
}

// The engines that write property files: a floating object, oil that
// weathers, and HNS.
bool property_files_written() {
  const int32_t obj = var_cfg.obj__floating_fuel_hns;
  return var_run.simtype__operat_probabil == 1 && var_run.outputpropierties__y_n == 1 &&
         (obj == 1 || obj == 3 || (obj == 2 && var_cfg.degrado == 1));
}

}  // namespace

void check_engine_settings(std::ostream& warnings) {
  const float dt = var_run.deltat;
  if (!(dt > 0.0f && std::isfinite(dt))) refuse("deltat", "the model time step deltat must be a finite number greater than 0; it is " + value_text(dt, 9) + " s");

  check_type("currenttype__file_constant", var_cfg.currenttype__file_constant);
  check_type("wavestype__file_constant", var_cfg.wavestype__file_constant);
  check_type("windtype__file_constant", var_cfg.windtype__file_constant);

  const float dc = current_record_interval();
  const bool wind_interval = var_cfg.currenttype__file_constant == 2 && var_cfg.windtype__file_constant == 1;
  const char* dc_var = wind_interval ? "deltat_wind" : "deltat_currents";
  const char* dc_name =
      var_cfg.currenttype__file_constant == 2 && var_cfg.windtype__file_constant == 1
          ? "the current record interval (deltat_wind, since the currents are a uniform series and the wind "
            "comes from files)"
          : "the current record interval deltat_currents";
  if (!(dc > 0.0f && std::isfinite(dc))) refuse(dc_var, std::string(dc_name) + " must be a finite number greater than 0; it is " + value_text(dc, 9) + " s");
  const int64_t nsub = substeps_per_record(dc, dt);
  if (!(static_cast<float>(nsub) * dt == dc)) {
    refuse(dc_var, std::string(dc_name) + " of " + value_text(dc, 9) + " s is not a whole number of model steps of " + value_text(dt, 9) +
           " s");
  }

  const float horizon = var_cfg.simulationtimehorizon;
  if (!(horizon >= 0.0f && std::isfinite(horizon))) refuse("simulationtimehorizon", "the simulated time must be a finite number of at least 0; it is " + value_text(horizon, 9) + " s");
  const int64_t n_lista = current_record_count(horizon, dc);
  if (n_lista == 0 && horizon > 0.0f) {
    // Nothing would move: the run is made of whole record intervals.
    refuse(dc_var, "the horizon of " + value_text(static_cast<double>(horizon) / 3600.0, 9) +
                       " h (simulationtimehorizon) is shorter than " + dc_name + " of " +
                       value_text(static_cast<double>(dc) / 3600.0, 9) +
                       " h: the run would cover 0 h; record intervals are in hours (was this one typed in seconds?)");
  }
  const int64_t nsteps = n_lista * nsub + 1;
  if (!(horizon / dc < 2147483648.0f) || nsteps > std::numeric_limits<int32_t>::max()) {
    refuse("simulationtimehorizon", "the run is too long: " + value_text(horizon, 9) + " s in steps of " + value_text(dt, 9) + " s");
  }

  if (var_run.numericalmethod__euler_rungekut != 1 && var_run.numericalmethod__euler_rungekut != 2) {
    refuse("numericalmethod__euler_rungekut", "numericalmethod__euler_rungekut must be 1 (Euler) or 2 (Runge-Kutta), not " +
           std::to_string(var_run.numericalmethod__euler_rungekut));
  }
  if (var_cfg.spill__instant_contin != 1 && var_cfg.spill__instant_contin != 2) {
    refuse("spill__instant_contin", "spill__instant_contin must be 1 (instantaneous) or 2 (continuous), not " +
           std::to_string(var_cfg.spill__instant_contin));
  }

  check_records("currentfilesorlines_number", var_cfg.currentfilesorlines_number);
  check_records("wavesfilesorlines_number", var_cfg.wavesfilesorlines_number);
  check_records("windfilesorlines_number", var_cfg.windfilesorlines_number);
  check_blend_interval("deltat_wind", var_run.temporalinterpwind__y_n, var_cfg.deltat_wind);
  check_blend_interval("deltat_waves", var_run.temporalinterpwaves__y_n, var_cfg.deltat_waves);

  check_box();

  const int64_t last_step = n_lista * nsub;
  if (var_run.outputparts__y_n == 1) {
    check_distinct_minutes("particle files", "deltatoutput_parts", var_run.deltatoutput_parts, last_step);
  }
  if (var_run.outputconcs__y_n == 1) {
    check_distinct_minutes("grid files", "deltatoutput_concs", var_run.deltatoutput_concs, last_step);
  }
  if (property_files_written() && property_row_stride() < 1) {
    refuse("deltatoutput_properties", "property rows every " + std::to_string(var_run.deltatoutput_properties) +
           " s (deltatoutput_properties) with a model step of " + value_text(dt, 9) +
           " s: the rows must be at least one model step apart (for a step of an hour or more, at least "
           "one hour)");
  }

  warn_schedule(warnings, last_step);
}

}  // namespace orvel
