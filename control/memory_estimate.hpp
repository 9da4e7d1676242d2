// Memory estimates: counts read from input files (spills, pulses,
// particles) size arrays long before those arrays are filled, so a wild
// count is refused by an estimate, naming the record, instead of ending the
// run out of memory.
#pragma once

#include <cstdint>
#include <string>

#include "control/state/var4.hpp"

namespace orvel {

// A record of the property series (series_window of them a spill) holds
// nineteen doubles and two floats.
inline constexpr uint64_t bytes_per_series_record = 19 * sizeof(double) + 2 * sizeof(float);

// The property rows of a record are written to their files as the record
// is made; the first row of a pulse waits in memory until the run reaches
// the pulse's start, and each file has its name: about a kilobyte a spill.
inline constexpr uint64_t bytes_per_property_file = 1024;

// What each spill or pulse takes: the scenario arrays that hold one value per
// spill or pulse (about sixty, none wider than a double), its window of the
// property series and its property file.
inline constexpr uint64_t bytes_per_spill =
    64 * sizeof(double) + series_window * bytes_per_series_record + bytes_per_property_file;

// Physical memory of this machine in bytes (0 when the system does not say).
uint64_t physical_memory_bytes();

// The memory the estimates compare with: the physical memory, or the budget
// given to set_memory_budget.  A fuzzing harness sets a budget below its own
// memory limit; 0 goes back to the physical memory.
uint64_t memory_budget_bytes();
void set_memory_budget(uint64_t bytes);

// Refuses `count` items of `bytes_each` bytes when they would take more than
// the memory budget: an input_error on `line` of `file`, whose message starts
// with `what` (for example "3000000 pulses") and gives both sizes.  Counts
// below 1 pass (they size nothing).
void check_fits_in_memory(const std::string& file, int64_t line, const std::string& what, int64_t count,
                          uint64_t bytes_each);

}  // namespace orvel
