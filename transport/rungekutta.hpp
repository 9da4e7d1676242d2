// Stage of the fourth-order Runge-Kutta integration of the horizontal
// advection: stores the stage displacement, gives the positions of the next
// stage and re-blends the current node fields for that stage's time.
#pragma once

#include <cstdint>

namespace orvel {

// Blend of the current node fields at fraction f of the record interval into
// u (U nodes) and v (V nodes): the forcing library's interp_corr, handed in
// by the engine.
using current_blend = void (*)(float f, double* u, double* v);

// Stage `stage` (1 to 4, in order) of spill `spill`; k is the number of model
// steps already completed in the current record of currents.  x0, y0: the
// spill's positions at the start of the step; xs, ys: the positions of the
// next stage (written at stages 1 to 3); all four hold particle_number values,
// particle 1 first.  u, v: the current node fields, blended by `blend` at
// k_vtmed (the middle of the step for stages 1 and 2, its end for stage 3);
// `blend` may be null when currents are not blended in time.
void rungek(int32_t spill, int32_t stage, int32_t k, const double* x0, const double* y0,
            double* xs, double* ys, double* u, double* v, current_blend blend);

}  // namespace orvel
