// The settings check made when an engine starts, and the clock arithmetic it
// shares with the frame.
#pragma once

#include <cstdint>
#include <iosfwd>

namespace orvel {

// The interval between current records that the engines use: deltat_currents,
// or the wind's interval when the currents come as a uniform series and the
// wind from files.
float current_record_interval();

// Number of sub-steps made in each current record: the count of k >= 0 with
// float(k) * deltat < interval, worked out without looping over k.
int64_t substeps_per_record(float interval, float deltat);

// Number of current records of a run: the single-precision quotient of the
// horizon by the record interval, truncated.
int32_t current_record_count(float horizon, float interval);

// Ends the run (run_stop, status 2, message on standard error) before the
// first step for settings that would hang it, crash it or let it run without
// effect, for an output schedule under which two particle files (or two grid
// files) of different step times would share a name, and for property rows
// closer than the model step; writes a warning line to `warnings` for each output kind whose
// schedule has an instant that no step time equals, after which no further
// output of that kind is written.
void check_engine_settings(std::ostream& warnings);

}  // namespace orvel
