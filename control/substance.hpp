// Quantities derived from the scenario while it is read: the substance
// constants of each spill, the pulses of a continuous release, the weathering
// switch of the run and the conversion of hour values to seconds.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// The run-wide weathering constants ct, ceva, c3 and c4.
void set_substance_constants();

// Number of pulses of a continuous release from its duration and pulse
// interval (var_cfg) and the model time step (var_run).  A pulse interval
// shorter than the model step stops the run with the abort message; an
// interval <= 0, a count below 1 or one beyond a 32-bit integer is an
// input_error on line `line` of `file` (the line of the duration and
// interval).
int32_t pulse_count(const std::string& file, int64_t line);

// Derives the values of spill line k, right after it is read: temperatures
// in kelvin, 2-D depth, initial mass and volume, maximum and initial area,
// process flags, specific and API gravity, boiling-point curve, viscosity at
// 15 degrees C and c6, density and viscosity at the water temperature and the
// density contrast.
void derive_spill(int32_t k);

// Splits the single spill line of a continuous release into spills_number
// identical pulses: each holds 1/n of the mass and volume (vol0 and the
// maximum slick area too), masa0 keeps the total, and pulse k starts (k - 1)
// pulse intervals after the first.
void fill_pulses();
// Copies the sediment line of pulse 1 to the other pulses.
void copy_sediment_to_pulses();
// Copies the drift and diffusion coefficients of pulse 1 to the other pulses.
void copy_coefficients_to_pulses();

// After the scenario is read: degrado, and the horizon and record intervals
// from hours to seconds.
void finish_scenario();

}  // namespace orvel
