// Spatially uniform forcing: the uniform current series and the procedures
// that give every particle the values of one line of a uniform series.
//
// Directions of the series are degrees clockwise from north and name where
// the current, wind or waves come from, so a speed or height S from
// direction theta becomes the components east = -(S sin a), north =
// -(S cos a), a = theta times the single-precision pi / 180.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// The arrays at the particles that the uniform series routines fill hold one
// value at every particle (1 .. particle_number, the first column of a
// (particle, 3) array).  The routines note that value, so that the particle
// loops can take it once instead of reading it particle by particle.  A
// value counts only while the array keeps its storage and its first and
// last particles still hold it; a routine that writes such an array particle
// by particle forgets it.
void note_uniform(const farray<double, 1>& a, double v);
void note_uniform(const farray<double, 2>& a, double v);
void forget_uniform(const farray<double, 1>& a);
void forget_uniform(const farray<double, 2>& a);
bool uniform_value(const farray<double, 1>& a, double& v);
bool uniform_value(const farray<double, 2>& a, double& v);

// Fills particles 1 .. particle_number of `a` (its first column) with v and
// notes the value.
void fill_uniform(farray<double, 1>& a, double v);
void fill_uniform(farray<double, 2>& a, double v);

// start := end over particles 1 .. particle_number (first columns): the
// end-of-interval values of a uniform series become those of the start.
void keep_end_values(farray<double, 1>& start, const farray<double, 1>& end);
void keep_end_values(farray<double, 2>& start, const farray<double, 2>& end);

// Reads the whole uniform current series: "lstcurr.pre" (speed, direction)
// into velcu, angcu in a 2-D run; otherwise "lstcurr3D.pre" (two header
// lines, then surface speed and direction, water-column speed and
// direction) into velcusup, angcusup, velcucol, angcucol.
void lee_velcte();

// Not used: does nothing.
void velcte();

// Line i of the wave series into column 1 of hintx0, hinty0, tint0 (start
// of the interval), hintx, hinty, tint, or hintx_t1, hinty_t1, tint_t1 (end
// of the interval), the same for every particle.
void ola_part0(int32_t i);
void ola_part(int32_t i);
void ola_partinterp(int32_t i);

// Line i of the 2-D current series into vuint0, vvint0 (start of the
// interval) or vuint_t1, vvint_t1 (end).
void vel_part0(int32_t i);
void vel_partinterp(int32_t i);

// Line i of the current series into u_curr_int, v_curr_int (2-D run), or
// into the surface and water-column values u_curr_intsup, v_curr_intsup,
// u_curr_intcol, v_curr_intcol, with u_curr_int, v_curr_int taking the
// water-column values.
void vel_part(int32_t i);

// Line i of the wind series into wintx0, winty0 (start of the interval),
// wintx, winty, or wintx_t1, winty_t1 (end).
void viento_part0(int32_t i);
void viento_part(int32_t i);
void viento_partinterp(int32_t i);

}  // namespace orvel
