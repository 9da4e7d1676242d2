// Particle state codes, their update from depth, bathymetry and current masks
// at each model step, the counts by state and the centre of mass of a spill.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// State codes of indp.
inline constexpr int32_t indp_surf = 1;      // floating at the surface
inline constexpr int32_t indp_column = 5;    // in the water column
inline constexpr int32_t indp_floor = -1;    // on the sea floor
inline constexpr int32_t indp_beached = 0;   // stuck on the coast, or released on land
inline constexpr int32_t indp_land = 2;      // over land, waiting for the coast search
inline constexpr int32_t indp_dry = 3;       // in a dry cell of a wet/dry current grid
inline constexpr int32_t indp_radar = -2;    // lost (no coast in reach, or outside the radar coverage)
inline constexpr int32_t indp_air = 4;       // in the air (gas release of an HNS)

// Re-derives the states of the spill's particles from their depth, the
// bathymetry and (time-varying current grid) the wet/dry or radar mask.
// Beached, sea-floor and air particles keep their state over a fixed grid; air
// particles keep it in every mode.  Positions outside the bathymetry or the
// mask are not tested against them.
void update_indp(int32_t spill, int32_t step);

// Zeroes the five state counters of every spill, then counts the particles of
// `spill` by state: par_surf (1), par_column (5), par_floor (-1), par_beached
// (0), par_pause (any other code).  `step` is not used.
void update_par(int32_t spill, int32_t step);

// x_cg, y_cg, z_cg of the spill: the sums of x_part, y_part, z_part over every
// particle of the spill, whatever its state, divided by particle_number.
// Left unchanged when the spill has no particles.
void centre_of_mass(int32_t spill);

// Start-up check of a time-varying current grid in land-search mode 2, where
// the state and placement tests read the depth of the model cell under each
// position of the current grid: every position of the U-current grid must
// fall in a model-grid cell (a wet/dry grid may reach one cell beyond, since
// its lookup clamps that cell).  Throws input_error naming `scenario_file`
// otherwise.  Call it after the model grid is read.
void check_current_grid_in_model_grid(const std::string& scenario_file);

}  // namespace orvel
