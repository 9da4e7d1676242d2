// The physical range of every input value, in one table: the start-up
// checks and the readers of the forcing, blowout and restart files take
// their bounds from it, and docs/input-files.md states the same ranges
// (a test compares them).
//
// A range refuses only what cannot be real, or what the model cannot
// compute (the reason is given beside the entry): every value of standard
// chemical and physical tables and of real places passes.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace orvel {

struct input_range {
  std::string_view file;     // where the value is read: "KEY.run", "KEY.cfg", ...
  std::string_view name;     // the value's name, as messages and the docs give it
  std::string_view objects;  // "" for every object, else "oil and HNS", "oil", "HNS" or "floating object"
  double low;                // -infinity when there is no lower bound
  double high;               // +infinity when there is no upper bound
  bool low_included;
  bool high_included;
  std::string_view unit;     // as messages print it ("kg/m3", "degrees C"), "" for none
};

namespace range_bounds {
inline constexpr double none = std::numeric_limits<double>::infinity();
// The longest time a run, a release or a spreading may last: ten years.
inline constexpr double longest_hours = 87600.0;
inline constexpr double longest_seconds = longest_hours * 3600.0;
}  // namespace range_bounds

// Every entry of the table.
std::span<const input_range> input_ranges();

// The entry of `name` for `objects` (the entry for every object when there
// is none of its own).  Throws std::logic_error for a name not in the table.
const input_range& input_range_of(std::string_view name, std::string_view objects = {});

// The objects of the run's object code (1 floating object, 2 oil, 3 HNS)
// whose entry applies: "oil and HNS" covers 2 and 3.
bool range_applies(const input_range& r, int32_t object);

// The entry of `name` for the run's object code.
const input_range& input_range_for(std::string_view name, int32_t object);

// True when `x` lies within the range.  A value held in single precision is
// compared with the bounds rounded to single precision, so that a bound
// written in the file (0.1) is met by the value read (0.1f).
bool in_range(const input_range& r, double x);
bool in_range(const input_range& r, float x);

// What the range allows, as messages say it: "a finite number from 0 to
// 100 %", "a finite number greater than 0 and at most 86400 s", "a finite
// number of at least 1".
std::string allowed_text(const input_range& r);

// Refuses value `name` of a control file (its k-th reading for the values
// of the spill lines, k = 0 for the others) when `x` lies outside the
// range that applies to the run's object code: an input_error on the line
// of the value (line 0 of `fallback_file` when it was never read) naming
// the value and what is allowed.  `shown` names the value when the entry
// serves several (the grids).
void check_range(std::string_view name, double x, int32_t object, const std::string& fallback_file, int32_t k = 0,
                 std::string_view shown = {});
void check_range(std::string_view name, float x, int32_t object, const std::string& fallback_file, int32_t k = 0,
                 std::string_view shown = {});

}  // namespace orvel
