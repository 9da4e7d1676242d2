// The start-up validation pass: every refusal of an option or value that can
// be checked before the run starts, made before anything is written.  Each
// refusal is one input_error naming the file and line of the value, the
// variable, the value found and what is allowed.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace orvel {

// First half, after the run-control, scenario and (HNS) calibration files are
// read and before any other input is opened: option codes and switches in
// range, counts, spacings, times, coordinates and coefficients, the memory
// the particle and node arrays take, and the option combinations that the
// readers and the engines cannot serve.
void validate_control_files(const std::string& clave);

// The option combinations that would use data the run never reads: a
// land-search mode other than 1 or 2, the coast polygons without the
// coastline mode or in 3-D, and regridding or concentration output without
// the model grid.  Part of the first half.
void check_options(const std::string& clave);

// Second half, after the current layers and the geography are read and
// before the first file is written: the checks that need them, the input
// files the engine opens later (restart, blowout and droplet files), the
// start-of-engine settings and the warnings (on `warnings`) for a run that
// outlasts its forcing records, has no output time within it, or has a
// coastline with no point in the domain.
void validate_before_writing(const std::string& clave, std::ostream& warnings);

// Bytes that the run-wide and engine arrays take for each particle of each
// spill, and for each particle whatever the spill count, with `layers`
// current layers: the memory estimate of the particle count.
uint64_t bytes_per_particle_and_spill();
uint64_t bytes_per_particle(int32_t layers);

}  // namespace orvel
