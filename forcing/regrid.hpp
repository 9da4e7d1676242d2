// Start-up regridding of scattered forcing files onto the model grid: each
// listed field file is interpolated onto every model-grid node and written
// as "INT_" + its name, the new names go to a ".txt" list, and the forcing's
// node count becomes the model grid's.
#pragma once

#include <array>
#include <cstdint>

namespace orvel {

// Currents: U files listed in "U_lstcurr.pre", V files in "V_lstcurr.pre",
// `nfiles` of each.  nodes = the U, V, W node counts; U and V become the
// model grid's node count, W is left unchanged.
void interpola_malla_corrientes(std::array<int32_t, 3>& nodes, int32_t nfiles);

// Wind (option 2, "lstwinds.pre") or waves (option 3, "lstwaves.pre"),
// `nfiles` files of `nodes` nodes each; `nodes` becomes the model grid's node
// count.  Any other option does nothing.
void interpola_malla(int32_t option, int32_t& nodes, int32_t nfiles);

}  // namespace orvel
