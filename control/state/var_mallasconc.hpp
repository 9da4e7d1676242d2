// The concentration output grid and the concentration arrays of one output
// time.  Cell k = (ix - 1) * concycells_number + iy.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "common/text.hpp"

namespace orvel {

struct var_mallasconc_block {
  std::string concgridname = blanks(12);  // file name of the concentration grid
  double concgrid0_x = 0.0;               // longitude of the first node, deg + 360
  double concgrid0_y = 0.0;               // latitude of the first node, deg
  double concdeltax = 0.0;                // spacing in longitude, deg
  double concdeltay = 0.0;                // spacing in latitude, deg
  int32_t concxcells_number = 0;          // nodes (cells) along longitude
  int32_t concycells_number = 0;          // nodes (cells) along latitude
  double conclatmean = 0.0;               // mean latitude used for the cell area, deg
  farray<double, 1> xbatcc{"xbatcc"};     // (cell) node longitude in node order, deg + 360
  farray<double, 1> ybatcc{"ybatcc"};     // (cell) node latitude in node order, deg
  double lonicc = 0.0;                    // west limit of the counted positions, deg + 360
  double lonscc = 0.0;                    // east limit of the counted positions, deg + 360
  double laticc = 0.0;                    // south limit of the counted positions, deg
  double latscc = 0.0;                    // north limit of the counted positions, deg
  farray<float, 2> concver{"concver"};    // (cell, spill) surface mass per area of the spill, kg/m2
  farray<float, 1> conctot{"conctot"};    // (cell) surface mass per area summed over spills, kg/m2
  farray<int32_t, 1> concint{"concint"};  // (cell) particles of all spills counted in the cell

  farray<double, 1> xbatccdum{"xbatccdum"};  // distinct longitudes of a node-list concentration grid file, deg (reader scratch)
  farray<double, 1> ybatccdum{"ybatccdum"};  // distinct latitudes of a node-list concentration grid file, deg (reader scratch)
  double concdeltaz = 0.0;                   // vertical spacing from the scenario file; never read
  int32_t conczcells_number = 0;             // vertical cells from the scenario file; never read
  int32_t ind_cc = 0;                        // cell index written by the output routines; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var_mallasconc_block var_mallasconc;

}  // namespace orvel
