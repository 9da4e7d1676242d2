// Placements read from files: the disc at the end of a subsea blowout jet
// ("FinalJetAxisPosition.txt") and the positions and states of a restart
// ("Particle_positions_restart.txt").
#pragma once

#include <cstdint>

namespace orvel {

// Places every particle of `spill` in the water column (state 5) on a disc
// at the end of the blowout jet, seeding the random generator with 0 first;
// allocates `indp` for spill 1; stores the disc area in `area_oil`(spill)
// when that array exists (the oil engines); marks particles below the sea
// floor (-1) or on a dry cell (2); sets the spill's centre of mass.
void part_ini_blowout(int32_t spill);

// Reads the position and state of every particle of every spill from the
// restart file (under the data folder when the run asks for one), allocates
// `indp`, counts the states and sets the centres of mass; for simulation 1
// converts `spillstarttime` from hours to seconds.  A missing or short file,
// or a state code that is not a whole number from -2 to 5, is an
// input_error naming the file (and the line).
void lee_particle_positions(int32_t sim);

}  // namespace orvel
