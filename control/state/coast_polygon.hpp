// One coast polygon: a polyline of points read from its own file.  Consecutive
// points form the edges; a closed polygon repeats its first point at the end.
// The main program owns the array of them and hands it to the engine.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct coast_polygon {
  farray<double, 1> x{"coast_polygon.x"};  // (n) longitudes of the points, deg + 360
  farray<double, 1> y{"coast_polygon.y"};  // (n) latitudes of the points, deg
  int32_t n = 0;                           // number of points
};

}  // namespace orvel
