// The floating slick of a chemical (HNS) spill over one model step: the
// compartment masses re-summed from the particles and shared back to them,
// the slick's density, viscosity, volume and thickness, its spreading and its
// evaporation.
//
// The HNS engines call them per spill and step in their fixed order; each
// reads and writes the shared state.  `slick_area` is the engine's array of
// slick areas (m2, one per spill, 0 while no slick area is known), of which
// only element `spill` is used.  In 3-D a particle stands for equiv_part
// droplets of mass massparticle, so it carries their product.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Compartment masses of the spill replaced by the sums of its particles'
// masses by state: surface (1), beached (0), water column (5), sea floor (-1)
// and outside (-2).  The 3-D variant weighs each particle by equiv_part,
// counts the surface particles into numpartsurfevap and, while there are
// any, takes the slick area area_hns as their area areaparticlesurftotal.
void balance_vertido_tierra_hns(int32_t spill);
void balance_vertido_tierra_hns_3d(int32_t spill);

// 3-D: the surface particles of the spill lose `taken` kg of their floating
// mass `floating` (kg, their sum) in proportion to what each carries: each
// keeps 1 - taken / floating of its mass, to double precision
// (set_particle_mass), and all lose every droplet when taken reaches
// floating.  Nothing changes for taken <= 0.
void take_from_surface(int32_t spill, double taken, double floating);

// 2-D share-back after the fate processes: the floating mass and the slick
// area (area_hns) shared equally among the surface particles, the beached
// mass among the beached ones and the sea-floor mass among the floor ones;
// particles in any other state keep their masses.
void updateparthnsproperties(int32_t spill);

// 3-D re-sum after the fate processes: the air (4), sea-floor, column,
// surface and beached masses from the particles' droplet equivalents.  The
// outside mass and numpartsurfevap are left as they are.
void updateparthnsproperties_3d(int32_t spill);

// Density and viscosity at the water temperature, the floating volume and
// the volume per surface particle, and the thickness over the slick area.  A
// slick that would be thinner than its minimum thickness is held at exactly
// that thickness by shrinking slick_area(spill) to volume / minimum.  With
// Fay-type spreading (algorithm 1) deltarho follows the density.
void evaluo_hns(int32_t spill, farray<double, 1>& slick_area);

// Slick area after the step into slick_area(spill) and the spreading
// coefficients of the step.  Algorithm 1: Fay-type growth with the
// calibrated constant k2, no lower bound, coef_r from the spreading
// diffusivity.  Algorithm 3: each surface particle's area grows at the
// calibrated thick-slick rate (also stored in spreadingdiffcoef), coef_r from
// that rate.  Any other algorithm: Lehr's wind-elongated slick, never below
// area_hns(spill), as for oil.  coef_q is 0 except with Lehr.
void spreadinghns(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r, double& coef_q);

// Area (m2) by the spreading law of the chemical of `spill` (algorithm 1
// Fay-type, from the `floating` volume, m3; any algorithm but 1 and 3 Lehr,
// from the `released` volume, m3, and the spill's wind) of a slick `age`
// seconds old; 0 for the per-particle growth of algorithm 3, which has no
// area of its own.  hns_spread_age is its inverse: the age (s) at which the
// law gives `area` (0 where the law gives no area).  They serve for the one
// slick of the pulses of a continuous release, which spreads by the law
// from the area it has with the volume it holds.
double hns_spread_area(int32_t spill, double floating, double released, double age);
double hns_spread_age(int32_t spill, double floating, double released, double area);

// The part of the slick area areaparticlesurftotal(spill) over which the
// spill's floating mass weathers: 1, except for a pulse of a continuous 3-D
// release, whose pulses afloat are one slick and share its area by their
// floating mass at the start of the step (area_share).  The transfer
// coefficients keep the size of the whole slick.
double slick_share(int32_t spill);

// Evaporation of the floating mass over the step, from the vapour pressure,
// the molar mass, the air temperature, the mean wind of all the spill's
// particles (wind_min when calm; also into wind10) and the slick area
// areaparticlesurftotal; in 3-D the coefficient is always the computed one
// and the surface particles lose the evaporated mass through their droplet
// equivalents (take_from_surface).  The mass moves from mass_surf to
// masaevp; per_evp is the evaporated fraction of masa0.  Once that fraction
// would pass maxevaporation percent, only the remaining allowance moves and
// evaporation is switched off (evaporo 0).  diff_evp holds the step's mass.
// The slick areas are not read.
void evaporacionhns(int32_t spill, farray<double, 1>& slick_area);

}  // namespace orvel
