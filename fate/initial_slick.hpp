// Starting state of an oil spill before the first step: the initial area of a
// spreading slick, and the particle masses, slick properties and initial
// compartment masses of every spill.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Initial area, m2 rounded to single precision, of the spreading slick of
// `spill`: 2.67 (V^5 g drho / nu^2)^(1/6) from its volume vol0, relative
// density difference deltarho and the water's kinematic viscosity; 0 when
// deltarho is 0 or below (a substance as dense as the water or denser).
float initial_slick_area(int32_t spill);

// Thickness, m, of a slick of `volume` m3 over `area` m2; 0 for a slick of
// no area (a substance as dense as the water or denser).
inline double slick_thickness(double volume, float area) {
  return area != 0.0f ? volume / static_cast<double>(area) : 0.0;
}

// Initial area of the spreading slick of `spill` into area_oil(spill), from
// its volume, relative density difference and the water's kinematic
// viscosity.  In simulation 1 it converts the spill's start time from hours
// to seconds in place (later simulations find it in seconds); it copies the
// start time in seconds into spill_tstart(spill).
void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim);

// Slick properties (dens, visc, per_evp, agua), particle masses
// (massparticle, and massparticle_prod for the emulsion) and the initial
// compartment masses of every spill by the states of its particles.  A spill
// placed wholly on land has its evaporation and emulsification switched off
// and flag_tierra set.  The per-spill and per-particle arrays are made at the
// first call and reused by later simulations.
void part_pro();

}  // namespace orvel
