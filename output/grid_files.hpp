// Grid files: for one spill at one concentration output time, a row per cell
// of the concentration grid holding counted particles of the spill (cell
// centre, masses per area by substance kind, presence percentage, particle
// count), and for a continuous release, at its last sub-spill, the file of
// all the sub-spills together.
#pragma once

#include <cstdint>
#include <string>

#include "output/grid_work.hpp"

namespace orvel {

// Writes the grid file of spill `spill` stamped with the instant of step
// `step` (0 at time 0); `counted` holds the spill's counted cells in
// increasing order.  No file is written when no cell is occupied (an older
// file of that name stays).  `sim` is not used: grid files carry no
// simulation number.
//
// Columns: floating object (five) time, longitude and latitude of the cell
// centre, presence percentage, particle count; oil (six) adds the surface
// mass per area; HNS (seven) also the dissolved mass per area, the spill's
// dissolved mass mass_diss_cumul shared equally over its particles, which
// is also summed over the sub-spills of the output time in conc_diss_tot.
//
// The all-sub-spill file takes the cells where particles of any started
// sub-spill are present, with the summed surface mass, dissolved mass and
// count, and the share of all started particles present (in 3-D, of those
// at the surface).  A release expanded into a single sub-spill repeats that
// sub-spill's grids there.
void esc_concentracion(int32_t spill, const std::string& clave, int32_t step, int32_t sim, const spill_grid& counted);

}  // namespace orvel
