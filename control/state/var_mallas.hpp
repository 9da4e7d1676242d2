// The model grid with its bathymetry, domain box and metres-per-degree
// factor, and the presence grids of one output time.  Gridded node vectors
// hold latitude fastest: node (i, j) is element (i - 1) * ycells_number + j.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "common/text.hpp"

namespace orvel {

struct var_mallas_block {
  std::string gridname = blanks(12);       // file name of the model grid and bathymetry
  double grid0_x = 0.0;                    // longitude of the south-west node, deg + 360
  double grid0_y = 0.0;                    // latitude of the south-west node, deg
  double deltax = 0.0;                     // node spacing in longitude, deg
  double deltay = 0.0;                     // node spacing in latitude, deg
  int32_t xcells_number = 0;               // number of nodes along longitude
  int32_t ycells_number = 0;               // number of nodes along latitude
  int32_t zcells_number = 0;               // vertical cells: the scenario's value, 1 once the grid reader has run
  double latmean = 0.0;                    // mean latitude of the grid, deg
  farray<double, 1> xbat{"xbat"};          // (node) node longitude in node order, deg + 360
  farray<double, 1> ybat{"ybat"};          // (node) node latitude in node order, deg
  farray<float, 2> d{"d"};                 // (xcells_number, ycells_number) water depth at the node, m, positive down; <= 0 is land
  double loni = 0.0;                       // west limit of the domain, deg + 360
  double lons = 0.0;                       // east limit of the domain, deg + 360
  double lati = 0.0;                       // south limit of the domain, deg
  double lats = 0.0;                       // north limit of the domain, deg
  double factor = 0.0;                     // metres per degree of latitude (111317.359375), set by the engine at its start
  int32_t currentgrid_regular__y_n = 0;    // 1 = current files on a regular grid, 0 = scattered, regridded at start-up
  int32_t windgrid_regular__y_n = 0;       // 1 = wind files on a regular grid, 0 = scattered, regridded at start-up
  int32_t wavesgrid_regular__y_n = 0;      // 1 = wave files on a regular grid, 0 = scattered, regridded at start-up
  int32_t cont_p = 0;                      // number of spills started so far; divisor of the all-spill presence

  // Presence grids of one output time, over the concentration grid's cells.
  farray<float, 2> probver{"probver"};              // (cell, spill) presence fraction of the spill's particles, any state
  farray<float, 1> probint{"probint"};              // (cell) particles of all spills counted in the cell, any state
  farray<float, 1> probtot{"probtot"};              // (cell) all-spill presence fraction probint / (particle_number * cont_p)
  farray<float, 2> probver_sup{"probver_sup"};      // (cell, spill) presence fraction at the surface (state 1)
  farray<float, 2> probver_col{"probver_col"};      // (cell, spill) presence fraction in the water column (state 5)
  farray<float, 2> probver_fondo{"probver_fondo"};  // (cell, spill) presence fraction on the sea floor (state -1)
  farray<float, 2> probver_beach{"probver_beach"};  // (cell, spill) presence fraction on the coast (states 0, 2, 3)
  farray<float, 1> probint_sup{"probint_sup"};      // (cell) surface particles of all spills
  farray<float, 1> probint_col{"probint_col"};      // (cell) water-column particles of all spills
  farray<float, 1> probint_fondo{"probint_fondo"};  // (cell) sea-floor particles of all spills
  farray<float, 1> probint_beach{"probint_beach"};  // (cell) coast particles of all spills
  farray<float, 1> probtot_sup{"probtot_sup"};      // (cell) all-spill surface presence fraction
  farray<float, 1> probtot_col{"probtot_col"};      // (cell) all-spill water-column presence fraction
  farray<float, 1> probtot_fondo{"probtot_fondo"};  // (cell) all-spill sea-floor presence fraction
  farray<float, 1> probtot_beach{"probtot_beach"};  // (cell) all-spill coast presence fraction

  // Scratch cell indices, set and used at once by the procedure that writes them.
  int32_t x_int = 0;  // cell column of the last position looked up
  int32_t y_int = 0;  // cell row of the last position looked up
  int32_t xint = 0;   // cell column, transport scratch
  int32_t yint = 0;   // cell row, transport scratch
  int32_t ind_c = 0;  // cell index, output scratch

  farray<double, 1> xbatdum{"xbatdum"};  // distinct longitudes of a node-list grid file, deg (grid reader scratch)
  farray<double, 1> ybatdum{"ybatdum"};  // distinct latitudes of a node-list grid file, deg (grid reader scratch)
  double deltaz = 0.0;                   // vertical spacing from the scenario file; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var_mallas_block var_mallas;

}  // namespace orvel
