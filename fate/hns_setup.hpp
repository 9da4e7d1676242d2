// Set-up of a chemical (HNS) spill before the first time step of a
// simulation: its behaviour class and the process switches that the class
// prunes, the first states and positions of its particles and its initial
// slick area, and the particle masses with the initial compartment budgets.
// The HNS engines call them in this order: classes, placement, (3-D) droplet
// sizes, masses, switches.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Behaviour classes of chemicals spilled at sea.  The gas (1), the
// gas-dissolver (2) and the sinker (12) change what a run does, and so does
// the density of any other class against the water's (sinks); the other
// classes are recorded.
inline constexpr int32_t hnsclass_gas = 1;
inline constexpr int32_t hnsclass_gas_dissolver = 2;
inline constexpr int32_t hnsclass_evaporator = 3;
inline constexpr int32_t hnsclass_evaporator_dissolver = 4;
inline constexpr int32_t hnsclass_floater_evaporator = 5;
inline constexpr int32_t hnsclass_floater_evaporator_dissolver = 6;
inline constexpr int32_t hnsclass_floater = 7;
inline constexpr int32_t hnsclass_floater_dissolver = 8;
inline constexpr int32_t hnsclass_dissolver_evaporator = 9;
inline constexpr int32_t hnsclass_dissolver = 10;
inline constexpr int32_t hnsclass_sinker_dissolver = 11;
inline constexpr int32_t hnsclass_sinker = 12;
inline constexpr int32_t hnsclass_unclassified = 13;

// Behaviour class of a product of vapour pressure `p` (kPa), water
// solubility `s` (mg/L) and density `rho` in sea water of density `rhow`
// (kg/m3): the first class of the table whose conditions all hold.  A vapour
// pressure that is not a number passes no pressure test; a solubility that is
// not a number gives class 13.  `spill` is not used.
void findhnsbehaviourclass(int32_t spill, float p, float s, float rho, float rhow, int32_t& hnsclass);

// True for the gases, the gas (1) and the gas-dissolver (2): they boil at
// the sea's pressure, so under water they are bubbles, lighter than the
// water whatever the density of their liquid.
bool is_gas(int32_t hnsclass);

// Diameter (m) of the bubbles of a gas released below the surface without
// a droplet file: a few millimetres, as from a leak, rising at about
// sqrt(2 g d) = 0.31 m/s.
inline constexpr double gas_bubble_diameter = 5e-3;

// True for a 3-D release of a gas (class 1) below the surface without a
// blowout: its particles are bubbles of gas_bubble_diameter, each an equal
// share of the release (getparthnsproperties_3d), whatever the size law of
// liquid droplets gave them.  A gas-dissolver (class 2, more soluble than
// 100 g/L) keeps the droplets of the size law, which dissolve within
// seconds, as bubbles of so soluble a gas do within metres of the release.
bool gas_bubbles(int32_t spill);

// True for a chemical of class `hnsclass` and density `rho` that sinks in
// sea water of density `rhow` (kg/m3): any liquid denser than the water,
// whatever its class; a gas does not sink.
bool sinks(int32_t hnsclass, float rho, float rhow);

// Prunes the process switches of every spill from its class, its initial
// surface and column masses and where its particles start: a gas (class 1)
// or a spill wholly in the air runs no process (flag_air 1), a spill wholly on
// land none either (flag_tierra 1), a sinker (class 12) only degrades, and a
// gas or gas-dissolver at the surface neither dissolves nor sorbs.  Switches
// turned off stay off for the rest of the run.
void getdegradationprocesses();

// Initial slick area area_hns(spill): a disc of radius 2.81 sqrt(V) for the
// HNS spreading algorithm, else the oil slick's initial area.  In simulation
// 1 the spill's start time is converted from hours to seconds in place; its
// value in seconds is copied into tstart(spill).
void initialareahns(int32_t spill, farray<double, 1>& tstart, int32_t sim);

// Two-dimensional placement of every spill: seeds the generator with 0,
// gives every particle its first state (a release point on land: beached,
// state 0; a gas: in the air; a sinker, or a liquid denser than the water: on the sea floor; else afloat),
// places the particles in the disc of the initial slick area (a surface
// particle drawn onto land, or any particle drawn onto a dry mask cell, is
// put at the release point instead) and sets the centres of mass.  In
// simulation 1 the release longitude gets its + 360 in place.
void getparthnsinitialstate(int32_t sim);

// Three-dimensional placement of every spill without a blowout.  A surface
// release is placed as in 2-D, after its initial area and thickness are set
// (a gas in the air, anything else afloat).  A release at depth puts every
// particle in the water column, uniformly in the release rectangle at the
// release depth; a particle over a dry mask cell is held there in state 2
// and counted in par_beached; the spill's initial area is the area of the
// convex hull of its particles.  In simulation 1 the start time, the release
// longitude and (at depth) the rectangle sides are converted in place.
void getparthnsinitialstate3d(int32_t sim);

// Two-dimensional masses of every spill: each particle carries an equal
// share of the released mass; the slick volume per particle, the slick area
// per surface particle and the total floating area; the weathering state of
// the slick (dens, visc, per_evp, agua) and the initial compartment budgets by
// the states of the particles.
void getparthnsproperties();

// Three-dimensional masses of every spill: massparticle holds the mass of
// one droplet of the particle's diameter and the particle weighs equiv_part
// such droplets in the initial budgets.  A blowout release, which has no
// droplet classes, gives each particle as many droplets of its diameter as
// make up an equal share of the released mass.
void getparthnsproperties_3d();

}  // namespace orvel
