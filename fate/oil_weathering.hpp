// Oil weathering of one spill over one model step: the growth of a spreading
// slick, evaporation, water uptake (emulsification), natural dispersion by
// breaking waves, the mass balance over the compartments and the update of
// the slick's density, viscosity, volume and thickness.
//
// The engine calls them per spill and step in its fixed order; each reads and
// writes the shared state.  `slick_area` is the engine's array of slick areas
// (m2, one per spill, 0 while no spreading area is known), of which only
// element `spill` is used.  Results that describe "the spill processed last"
// (the wave-breaking scalars, the droplet-class table) are overwritten at
// every call.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Slick area after the step into slick_area(spill) and the spreading
// coefficients of the step.  Algorithm 1 (Fay-type growth): the area from the
// time since the spill's release, coef_r from the spreading diffusivity,
// coef_q 0.  Every other algorithm (Lehr): the wind-elongated area, and
// coef_r, coef_q the factors of the east-west and north-south growth of the
// particle offsets.  The area never falls below area_oil(spill).
void spreading(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r, double& coef_q);

// Seconds of the current step over which `spill` weathers: weathering_dt
// when the engine keeps it (a spill that starts within a step weathers from
// its own start), else the model step.
float weathering_seconds(int32_t spill);

// Area (m2) over which a slick that does not spread evaporates and
// disperses: the release rectangle area0, times area_share(spill) when the
// engine keeps one (a pulse of a continuous 3-D release weathers over its
// share of the rectangle).
double rectangle_area(int32_t spill);

// Evaporated fraction of the step into diff_evp(spill), and the mean wind of
// all the spill's particles into wind10(spill).  The plain routine takes the
// slick area when spreading is on, else rectangle_area; the spreading
// variant takes the slick area up to area_maxima.
void evaporacion(int32_t spill, farray<double, 1>& slick_area);
void evaporacion_spread(int32_t spill, farray<double, 1>& slick_area);

// Water uptake of the floating slick over the step (weathering_seconds):
// aguatot and agua.
void emulsion(int32_t spill);

// Mass entrained by breaking waves in the step into massdisp(spill), with
// the droplet-class table of the step and the wave-breaking scalars; over
// the slick area when spreading is on, else over rectangle_area.
void verticaldispersion(int32_t spill, farray<double, 1>& slick_area);

// Entrained oil as particles (3-D): the step's dispersed mass, class by
// class of the droplet table left by verticaldispersion, is given to
// surface particles drawn at random, each sent to a random depth within one
// and a half breaking-wave heights with its class's diameter and mass share.
// The particles keep state 1 (the state update of the next pass puts them
// in the column), so a particle can be drawn again and keeps its later
// class.  Draw r picks the (floor(r * Ns) + 1)-th particle in state 1 in
// index order (Ns of them), before the draw of its depth.  The class shares
// take slick_area(spill): an area of 0 moves no particle.  Nothing but the
// breaking-wave height changes when massdisp or mass_surf is 0.
void entrainedparticlesredistribution(int32_t spill, farray<double, 1>& slick_area);

// Compartment masses of the spill re-summed from its particles by state.
void balance_vertido_tierra(int32_t spill);

// The step's evaporation and dispersion taken from the floating mass, the
// water and emulsion masses, and the floating mass shared out equally among
// the surface particles.
void balance_masa(int32_t spill);

// Slick density, viscosity and volume from the water content and the
// evaporated fraction; the spreading variant also updates deltarho (Fay
// spreading) and the thickness over the slick area.
void evaluo(int32_t spill);
void evaluo_spread(int32_t spill, farray<double, 1>& slick_area);

// Mean wind speed over all `n` particles of a spill from its wind columns:
// each speed in double precision, the running sum and the quotient in single
// precision.
float mean_wind_all(const double* wx, const double* wy, int32_t n);

// Whether the `n` (at least 1) particles all have the same wind (a series
// gives every particle one value), and then their speed in double precision.
bool one_wind_speed(const double* wx, const double* wy, int32_t n, double& speed);

}  // namespace orvel
