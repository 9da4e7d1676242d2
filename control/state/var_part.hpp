// Particles: positions, states, droplet sizes, per-spill state counts and
// centres of mass.  Per-particle arrays are (particle, spill).
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_part_block {
  farray<double, 2> x_part{"x_part"};          // (particle, spill) particle longitude, deg + 360
  farray<double, 2> y_part{"y_part"};          // (particle, spill) particle latitude, deg
  farray<double, 2> z_part{"z_part"};          // (particle, spill) depth below the surface, m / factor, positive down
  farray<int32_t, 2> indp{"indp"};             // (particle, spill) particle state code
  farray<double, 1> x_cg{"x_cg"};              // (spill) centre of gravity of all the spill's particles, deg + 360
  farray<double, 1> y_cg{"y_cg"};              // (spill) centre of gravity of all the spill's particles, deg
  farray<double, 1> z_cg{"z_cg"};              // (spill) mean depth of the spill's particles, m / factor
  farray<double, 2> xxc{"xxc"};                // (spill, entry) series of x_cg, one entry per step
  farray<double, 2> yyc{"yyc"};                // (spill, entry) series of y_cg, one entry per step
  farray<double, 2> xp1{"xp1"};                // (particle, spill) start of the last path segment, deg + 360
  farray<double, 2> yp1{"yp1"};                // (particle, spill) start of the last path segment, deg
  farray<int32_t, 2> part_inter{"part_inter"};  // (particle, spill) 1 = the last move may have crossed the coast
  farray<double, 2> x_oldpt{"x_oldpt"};        // (particle, spill) reference position of Lehr spreading, deg + 360
  farray<double, 2> y_oldpt{"y_oldpt"};        // (particle, spill) reference position of Lehr spreading, deg
  farray<double, 2> diam_part{"diam_part"};    // (particle, spill) droplet diameter, m
  farray<double, 2> w_float{"w_float"};        // (particle, spill) droplet buoyancy velocity, m/s, negative = rising
  farray<int32_t, 1> par_surf{"par_surf"};     // (spill) particles in state 1 (surface)
  farray<int32_t, 1> par_beached{"par_beached"};  // (spill) particles in state 0 (beached; placements count land too)
  farray<int32_t, 1> par_pause{"par_pause"};   // (spill) particles in any other state (2, 3, -2, 4)
  farray<int32_t, 1> par_air{"par_air"};       // (spill) particles placed in the air (gas-class HNS)
  farray<int32_t, 1> par_surf_ini{"par_surf_ini"};  // (spill) surface particles at the start
  int32_t numpartsurfevap = 0;                 // surface particles of the spill being processed (3-D HNS)

  // Written but never read.
  farray<int32_t, 1> par_column{"par_column"};  // (spill) particles in state 5 (water column)
  farray<int32_t, 1> par_floor{"par_floor"};    // (spill) particles in state -1 (sea floor)
  farray<double, 2> xcirc{"xcirc"};             // (particle, spill) initial longitude of the disc placements, deg + 360
  farray<double, 2> ycirc{"ycirc"};             // (particle, spill) initial latitude of the disc placements, deg
  farray<double, 2> zzc{"zzc"};                 // (spill, entry) series of z_cg
};
// The one instance, defined in control/state/instances.cpp.
extern var_part_block var_part;

}  // namespace orvel
