// The entry point's start-up sequence: run key, control files, geography,
// concentration-grid coordinates, regridding of scattered forcing, run-wide
// arrays, banner, engine and final message.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel {

// The run key: the first four characters of the first command-line
// argument, padded with blanks (four blanks without an argument).
std::string run_key(int argc, const char* const* argv);

// Runs the whole start-up sequence and the engine for run key `clave`: the
// run-control file, the scenario file, then start_up.
void main_program(const std::string& clave);

// Everything after the scenario file, in order: the calibration file (HNS),
// the validation of the control files, current layers, geography, the rest
// of the validation, "grid_coordinates.txt" and regridding, run-wide arrays,
// banner, engine and final message.  Nothing is written before the whole
// validation has passed.
void start_up(const std::string& clave);

// "grid_coordinates.txt" and the regridded forcing, all or nothing: when one
// of them fails, those already written are removed.
void write_start_up_files();

// The current layers: from the layer file for a 3-D run with layered current
// files, otherwise one layer (number 0) at depth 0.
void set_current_layers();

// A chemical's behaviour class (from its vapour pressure, solubility and
// density) and what the class means for its fate in this run, a line per
// spill on standard output.
void print_chemical_classes();
// `sinks` is true for a sinker-dissolver denser than the water.
std::string chemical_class_text(int32_t hnsclass, bool three_d, bool sinks);

// The model grid, coastline and coast polygons that the land-search mode
// and the coast algorithm ask for.
void read_geography(farray<coast_polygon>& coord_str);

// "grid_coordinates.txt": the centre of every concentration-grid cell.
void write_grid_coordinates();

// Has every scattered forcing given by files regridded onto the model grid.
void regrid_forcing();

// The run-wide arrays of the state blocks, sized by the final counts.
void allocate_run_arrays();

// The Lehr spreading reference positions, when the spreading algorithm is 2
// and they do not exist yet.
void allocate_lehr_arrays();

// The 14 banner lines on standard output.
void print_banner();

// The engine for an object type and dimension: null for an object type that
// runs none; `calibration` when the calibration file comes first.
using engine_routine = void (*)(const std::string&, const farray<coast_polygon>&);
struct engine_choice {
  engine_routine engine = nullptr;
  bool calibration = false;
};
engine_choice choose_engine(int32_t obj__floating_fuel_hns, int32_t sim__2d_3d);

// Runs the engine that the scenario asks for, after the calibration file for
// an HNS (the start-up itself reads that file before the banner).
void run_engine(const std::string& clave, const farray<coast_polygon>& coord_str);

// Kept beside the start-up for the forcing files; it does nothing and
// nothing calls it.
void comp_fichsforcings();

}  // namespace orvel
