// Counting the particles of each spill into the concentration grid at an
// output time: presence fractions (any state, and in 3-D the surface class),
// and the surface mass per area that the grid files print.
//
// At one output time the engine calls the presence routine for spills
// 1 .. spills_number in order, then the mass routine for the same spills in
// order; each mass call writes the spill's grid file (and, at the last
// sub-spill of a continuous release, the all-sub-spill file).
//
// A particle is counted when its position lies in the window lonicc ..
// lonscc, laticc .. latscc (limits included) and its cell
// ix = int((x - concgrid0_x) / concdeltax) + 1, iy likewise, lies in the
// grid; cell k = (ix - 1) * concycells_number + iy.  A spill counts once its
// start time is reached: spillstarttime <= float(step) * deltat.
//
// Results, kept until the next output time:
// - var_mallas.probint(k): particles of all spills in cell k, any state;
//   probtot(k) = probint(k) / (particle_number * cont_p) when there are
//   several spills; in 3-D probint_sup and probtot_sup for the particles at
//   the surface (state 1).  The other state classes are printed nowhere
//   and not kept.
// - var_mallasconc.concint(k): counted particles of all spills; conctot(k)
//   the mass per area summed over the spills (several spills only).
// - the presence fraction of each spill at the cells it occupies
//   (presence_fraction below).
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Presence of spill `spill` at the output of step `step` (1 at time 0), 2-D
// and 3-D runs.  The call for spill 1 starts the output time.
void probabilidad(int32_t spill, int32_t step);
void probabilidad_3d(int32_t spill, int32_t step);

// Surface mass per area of spill `spill` at the output of step `step` and
// its grid file, stamped with the instant of step `stamp` (0 for the
// time-0 output, else the step).  concentracion counts the particles at the
// surface (state 1) at their positions rounded to single precision, with no
// mass for a floating object and, in a 3-D HNS run, each particle with the
// mass of the droplets it stands for (equiv_part * massparticle);
// concentracion_hns2d counts every particle at its position as held.
void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp);
void concentracion_hns2d(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp);

// The presence fraction of spill `spill` in cell `cell` at the last output
// time (0 where it has no particle).
float presence_fraction(int32_t cell, int32_t spill);

}  // namespace orvel
