// Current layers: the layer count and depths of layered three-dimensional
// current input (one layer at depth 0 otherwise).
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_capas_block {
  int32_t numcapascorr = 0;          // number of current layers; extent of the layered current arrays and lists
  farray<double, 1> depth{"depth"};  // (layer) depth of each layer, m, positive down
  int32_t flag_currcol = 0;          // 1 once the depth-mean current series is open, 0 before
  farray<int32_t, 1> layer{"layer"};  // (layer) layer numbers of the layer file, 0 for the default layer; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var_capas_block var_capas;

}  // namespace orvel
