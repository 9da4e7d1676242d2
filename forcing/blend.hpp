// Blending of the two time levels of a forcing: start*(1 - f) + end*f, f the
// elapsed fraction of the record interval (single precision), 1 - f formed
// in single precision, both weights then widened to double precision.
//
// The node blends read the start and end levels of the shared state and
// write arrays supplied by the caller (at least as many values as there are
// nodes); the particle blends write the at-particle arrays of
// `var_currwindwave` over `particle_number` values.  A count below 1 writes
// nothing.  An array shorter than its count throws std::length_error.
#pragma once

#include <span>

#include "common/farray.hpp"

namespace orvel {

// Currents at the nodes: u from layer 1 of u0 and of u_curr_read over the U
// nodes, v from layer 1 of v0 and of v_curr_read over the V nodes.  On a grid
// with a radar coverage mask (currentgrid_variable__y_n = 1,
// variablecurrgrid__wetdry_radar = 2) node k compares indland0(k) with
// indland(k): equal codes blend, 0 against 1 gives exactly 0, any other
// change leaves the output element as it was.  The V nodes use the masks of
// the U node of the same index; a node beyond the masks is blended.
void interp_corr(float f, std::span<double> u, std::span<double> v);

// Currents of every layer at the nodes, at the same weight as interp_corr:
// layer l of u (U node, layer) from layer l of u0 and u_curr_read, of v
// likewise, each with the mask rule of interp_corr, for l = 1 ..
// numcapascorr; when wcurrentsflag is not 0 also layer l of w (W node,
// layer) from w0 and w_curr_read by the plain blend.
void interp_corr_capas(float f, farray<double, 2>& u, farray<double, 2>& v, farray<double, 2>& w);

// Waves at the nodes: hwavex0/hwavex, hwavey0/hwavey, twave0/twave.
void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t);

// Wind at the nodes: windx0/windx, windy0/windy.
void interp_viento(float f, std::span<double> wx, std::span<double> wy);

// Uniform-series currents at the particles: vuint0/vuint_t1 into u_curr_int,
// vvint0/vvint_t1 into v_curr_int.
void interp_vel_part(float f);

// Uniform-series waves at the particles, column 1 only: hintx0/hintx_t1 into
// hintx, hinty0/hinty_t1 into hinty, tint0/tint_t1 into tint.
void interp_ola_part(float f);

// Uniform-series wind at the particles: wintx0/wintx_t1 into wintx,
// winty0/winty_t1 into winty.
void interp_viento_part(float f);

}  // namespace orvel
