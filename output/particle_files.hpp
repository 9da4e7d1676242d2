// Particle files: the position, depth and state of every particle of every
// spill that has started, at one output instant.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Writes the particle file of output step `step` (0 at time 0; the output
// time is float(step) * deltat).  `sim` names the file of a probabilistic
// run only.  A spill is written when the output time has reached its start
// time, every one of its particles whatever its state.  When the model grid
// has not been read (zcells_number other than 1) the file takes the
// alternative layout: spill identifier, longitude, latitude, state code and
// droplet diameter, without the time column.
void esc_particulas(const std::string& clave, int32_t step, int32_t sim);

}  // namespace orvel
