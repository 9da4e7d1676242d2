// Position updates of one spill per model step: advection plus a random walk
// (transport phase) or plus the spreading motion (spreading phase), then the
// coast: particles over land, on the floor or outside the radar coverage are
// put on the nearest coastline point, kept afloat there or declared lost, or
// (coast-crossing algorithm) a path that crosses a coast polygon is stopped on
// its first crossing.  Every update recomputes the spill's centre of mass and
// releases the diffusivities of the step.
//
// The diffusivities `dxx`, `dyy` (and `dzz` in 3-D) of the step must exist
// for the random walks; each update releases whichever of them exists.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel {

// Transport phase, nearest-coast-point algorithm.  `step` is not used.
void posicion_2d(int32_t spill, int32_t step);
void posicion_3d(int32_t spill, int32_t step);

// Spreading phase, nearest-coast-point algorithm: random spreading walk
// (spreading algorithms 1 and 3) or Lehr growth by coef_r (x) and coef_q (y).
void posicion_2d_spread(int32_t spill, int32_t step, double coef_r, double coef_q);
void posicion_3d_spread(int32_t spill, int32_t step, double coef_r, double coef_q);

// True when the Lehr growth of `spill` in the spreading step `step` is
// measured from the release point: at step 1, and at any later step while the
// spill's Lehr references were never written (they start at zero, and no
// longitude + 360 is zero).  The spreading routine forms its first-step
// coefficients on the same test.
bool lehr_from_release(int32_t spill, int32_t step);

// Coast-crossing algorithm: move the free surface particles and remember the
// start of each path (`xp1`, `yp1`, `part_inter`) ...
void busca_parts_intersect(int32_t spill, int32_t step);
void busca_parts_inter_spread(int32_t spill, int32_t step, double coef_r, double coef_q);
// ... then stop the paths on the coast polygons and handle the particles over
// land and on the floor.
void posicion_2d_local(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys);
void posicion_2d_local_spread(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys);

// Start-up checks of the run-control options (input_error naming
// `run_file` when they fail): the coast-crossing algorithm
// (`searchcoastalgorithm__lr_hr` = 2) works on two-dimensional runs in
// land-search mode 2 only.
void check_coast_algorithm(const std::string& run_file);

}  // namespace orvel
