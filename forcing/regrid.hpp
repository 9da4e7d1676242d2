// Start-up regridding of scattered forcing: every scattered current, wind
// and wave field file named in a ".pre" list is interpolated onto the nodes
// of the model grid, written as "INT_" + its listed name, and the new names
// are listed in the matching ".txt" list, so that the readers only ever meet
// forcing on the model grid's nodes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvel {

// Regrids the U files of "U_lstcurr.pre" and the V files of
// "V_lstcurr.pre", nfiles of each, writing "U_lstcurr.txt" and
// "V_lstcurr.txt".  nodes holds the U, V and W node counts; the U and V
// counts become the model grid's node count (W is left as it is).
void interpola_malla_corrientes(std::array<int32_t, 3>& nodes, int32_t nfiles);

// option 2: regrids the wind files of "lstwinds.pre" into "lstwinds.txt";
// option 3: the wave files of "lstwaves.pre" into "lstwaves.txt" (the wave
// direction through its sine and cosine); any other option does nothing.
// nodes, the node count per file, becomes the model grid's node count.
void interpola_malla(int32_t option, int32_t& nodes, int32_t nfiles);

// Whether the start-up regrids each forcing: given by files (type 1) as
// scattered node lists (format 1) off any regular grid of its own.
bool regrids_currents();
bool regrids_wind();
bool regrids_waves();

// Rejects, before anything is read, a scenario whose scattered forcing
// cannot be regridded: currents given as layered 3-D files or as joint
// u, v, w files (vertical currents), or any scattered forcing by files when
// the run reads no model grid.  Needs the run-control and scenario files
// read; the error names the scenario file of the key `clave`.
void check_regridding(const std::string& clave);

}  // namespace orvel
