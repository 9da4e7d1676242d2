// The four simulation engines.  Each runs the whole simulation of its mode
// (every simulation, forcing record, model step and spill, with the fate
// processes and the result files, whose names begin with `clave`) and
// returns when the run is complete.  `coord_str` holds the coast polygons
// when the land-search mode and the coast algorithm are both 2, and is empty
// otherwise; the engines only read it.
#pragma once

#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel {

// Oil or floating object, two dimensions.
void fuel2d(const std::string& clave, const farray<coast_polygon>& coord_str);

// Oil or floating object, three dimensions.
void fuel3d(const std::string& clave, const farray<coast_polygon>& coord_str);

// HNS, two dimensions (after the calibration file).
void hns2d(const std::string& clave, const farray<coast_polygon>& coord_str);

// HNS, three dimensions (after the calibration file).
void hns3d(const std::string& clave, const farray<coast_polygon>& coord_str);

}  // namespace orvel
