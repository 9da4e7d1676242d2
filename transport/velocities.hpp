// Advection velocities of a spill's particles, in degrees per second, from the
// forcing interpolated to them: the surface drift (wind drag, wave drift and,
// in 2-D runs, the current) and, in 3-D runs, the current with the vertical
// velocity of droplets.
#pragma once

#include <cstdint>

namespace orvel {

// Over a current grid with a time-varying mask (land-search mode 1 with a
// time-varying grid, or mode 2 with a wet/dry mask) the domain box becomes the
// U-current grid; otherwise it stays the model grid.
void reset_domain_box();

// The domain box that reset_domain_box sets (longitudes + 360): particles
// inside it move, particles outside it never do.
struct domain_box {
  double loni, lons, lati, lats;
  bool holds(double x, double y) const { return loni <= x && x <= lons && lati <= y && y <= lats; }
};
domain_box current_domain_box();

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
