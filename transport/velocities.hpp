// Advection velocities of a spill's particles, in degrees per second, from the
// forcing interpolated to them: the surface drift (wind drag, wave drift and,
// in 2-D runs, the current) and, in 3-D runs, the current with the vertical
// velocity of droplets.
#pragma once

#include <cstdint>

namespace orvel {

// Surface drift of the spill: uadv, vadv and their wind-and-wave parts for
// particles at the surface (0 wind-and-wave part below it, uadv untouched),
// and uwind(spill), the mean wind speed over the spill's particles.  A wave
// period of 0 gives no wave drift.  `step` is not used.
void vel_adv_2d(int32_t spill, int32_t step);

// Current part of the velocity (uadv_corrientes, vadv_corrientes) and the
// vertical velocity, vertical current plus droplet rise velocity
// (wadv_corrientes_y_float, in metres/factor per second).  Outside a blowout
// the rise velocity w_float follows the Stokes law up to the critical
// diameter and the large-drop law above it; a substance denser than the water
// sinks by the same laws.  `step` is not used.
void vel_adv_3d(int32_t spill, int32_t step);

}  // namespace orvel
