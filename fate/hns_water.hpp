// A chemical (HNS) in the water over one model step: wave entrainment of the
// floating slick (and, in 3-D, its particles sent into the water column),
// dissolution from the slick and from the droplets in the water, sorption of
// dissolved mass to suspended sediment, volatilisation of dissolved mass and
// first-order degradation.
//
// The HNS engines call them per spill and step in their fixed order, each
// under its process switch; they read and write the shared state.
// `slick_area` is the engine's array of slick areas (m2, one per spill), of
// which only element `spill` is used, and only where said.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Mass that breaking waves entrain from the floating slick in the step, over
// ten droplet classes from a tenth of the median size to 70 micrometres:
// massdisp(spill), at most the floating mass, taken from mass_surf.  The
// entraining area is the slick area that the 3-D re-sum left in
// areaparticlesurftotal in 3-D while the spill has surface particles, else
// slick_area(spill).  In 2-D the mass is added to the dispersed total
// mass_disp_cumul; in 3-D it is not: the particles that
// entrainedparticlesredistribution_hns3d sends down carry it into the column.
// Leaves the wave-breaking state, the class table and wind10 for the spill.
void verticaldispersion_hns(int32_t spill, farray<double, 1>& slick_area);

// Entrained chemical as particles (3-D), right after verticaldispersion_hns:
// class by class of its droplet table, the share of the step's dispersed
// mass in surface particles goes into the water column (state 5) at a random
// depth within one and a half breaking-wave heights; mass and diameter stay.
// Draw r picks the (floor(r * Ns) + 1)-th of the Ns particles still in state
// 1, in index order, then a second draw gives its depth; a moved particle
// cannot be drawn again, and drawing stops when none is left.  The move is
// booked at once: mass_surf gets back the step's entrained mass less the
// weight of the moved particles (equiv_part * massparticle), which goes to
// mass_column.  Nothing moves when massdisp or mass_surf is 0.  The slick
// areas are not read.
void entrainedparticlesredistribution_hns3d(int32_t spill, farray<double, 1>& slick_area);

// Dissolution of the step, 2-D: from the slick (a wind-driven mass-transfer
// coefficient over the slick area areaparticlesurftotal, or the calibrated
// kd) and from the dispersed mass mass_disp_cumul shared over ten droplet
// classes (a current-driven Sherwood number), and from the mass on the sea
// floor as droplets of 1 mm in still water (diffusion alone, integrated
// exactly over the step).  The dissolved mass leaves mass_surf,
// mass_disp_cumul and mass_floor for mass_diss_cumul; mass_diss_dt,
// mdissolved_surf, mass_diss_surf_cumul; mass_diss_column_cumul is 0.  Also
// currmean(spill), wind10(spill) when evaporation is off, and the droplet
// class diameters of varverticaldispersion.  The slick areas are not read.
void dissolve_2d(int32_t spill, farray<double, 1>& slick_area);

// Dissolution of the step, 3-D: the floating particles form the slick,
// which dissolves as the 2-D slick does over areaparticlesurftotal (always
// the computed coefficient), its loss shared among them by their mass.  The
// droplets of the column particles, and of the particles on the sea floor,
// dissolve over their own surface and shrink: the squared diameter falls by
// 4 Sh D S / rho a second (Sh from the current past the droplet in the
// column, 2 in the still water of the floor), integrated exactly over the
// step with Sh held; the particle keeps its number of droplets, smaller
// (diam_part, massparticle), until they are gone: equiv_part 0, and a
// diameter and a rise speed (w_float) of 0, a parcel of the water that
// holds them.  The
// diffusivity is taken in m2/s.  The dissolved mass leaves mass_surf,
// mass_column and mass_floor; what leaves the column and the floor is booked
// in the column's dissolved part (mdissolved_col, mass_diss_column_cumul);
// the step's amounts are added up in double precision.  Particles in other
// states, and droplets of diameter 0 or of mass 0, dissolve nothing.
void dissolve_3d(int32_t spill);

// Time (s) in which a droplet of diameter d (m) of the chemical of `spill`
// dissolves wholly in still water, rho d^2 / (8 D S): the product's density,
// its diffusivity in the water as the 3-D dissolution takes it and its
// solubility.  Infinite for a chemical that does not dissolve.
double droplet_dissolution_time(int32_t spill, double d);

// Sorption to suspended sediment of the share k / (1 + k) of the step's
// dissolved mass, k the partition coefficient from log Kow times the
// sediment load: from mass_diss_cumul (and its slick-borne and column-borne
// parts in proportion to the step's dissolution) to mass_sed_cumul.
void settling(int32_t spill);

// Two-film volatilisation of the slick-borne dissolved mass across a mixing
// layer of half the wave height (else half the wind-sea height, else the
// vertical diffusion length of the step), when the Henry constant is above
// 30.3975 Pa m3/mol: from mass_diss_surf_cumul and mass_diss_cumul to
// mass_vol_cumul.  With a mixing depth of 0 the whole slick-borne part goes.
void volatilize(int32_t spill);

// Clearance (m) above the sea floor at which a particle of a chemical that
// does not sink is kept: it stays in the water column just above the floor.
inline constexpr float floor_clearance = 0.01f;

// Depth (m) just above a floor `depth` m deep (depth > 0): floor_clearance
// above it, or half way up a floor shallower than twice that.
double above_floor(float depth);

// True when the chemical of `spill` does not sink: a gas (bubbles under
// water), or a liquid not denser than the water (dens against waterdensity,
// as the rise speed of its droplets takes them).
bool rises_off_floor(int32_t spill);

// States of a 3-D chemical after a move.  A chemical that does not sink
// never rests on the sea floor: a particle of it that the move (or the state
// update) put on the floor goes back into the water column just above the
// floor of its cell, from where its droplets rise.  So does a particle on
// the floor whose droplets have all dissolved (equiv_part 0): it is the
// water that holds them, carried by the current.  A gas (class 1) that has
// come up to the surface goes into the air (state 4, counted in par_air), as
// one released at the surface does.
void column_states_hns3d(int32_t spill);

// Dissolved chemical moves with the water.  In 2-D the particles of a
// dissolving chemical (dissolution on) that lie on the sea floor also carry
// its dissolved share: each moves with the current at the particle (times
// currentcoeff, without the wind's or the waves' drift) and the transport
// random walk of the diffusivities dxx, dyy just built (two draws, x first,
// particle by particle in order; none without diffusivities).  A move that
// would end on land or outside the model's box leaves the particle where it
// is.  Call it after the diffusivities and before the position update,
// which then takes the centre of mass.
void carry_with_current_2d(int32_t spill);

// First-order decay over the step at degradation_rate per day of every
// compartment that holds the substance in the sea (floating, beached, water
// column, sea floor, dispersed, dissolved with its two parts, sorbed), in
// double precision with the exact share 1 - e^(-k dt), into mass_degr_cumul.
// In 3-D the particles afloat, beached, in the column and on the floor lose
// their share of droplets with them (set_particle_mass), so that the next
// re-sum from the particles keeps the loss.
void degrade(int32_t spill);

}  // namespace orvel
