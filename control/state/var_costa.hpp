// Coastline points inside the model grid's box, in file order.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_costa_block {
  int32_t ptos_lc = 0;                        // number of coast points kept (inside the model grid's box)
  farray<double, 1> xlc{"xlc"};               // (point) coast point longitude, deg + 360
  farray<double, 1> ylc{"ylc"};               // (point) coast point latitude, deg
  farray<int32_t, 1> ind_coast{"ind_coast"};  // (point) stick index: 1 = non-sticking point, 0 otherwise
  double x_costa_prox = 0.0;                  // longitude of the coast point found after an intersection, deg + 360; never read
  double y_costa_prox = 0.0;                  // latitude of the coast point found after an intersection, deg; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var_costa_block var_costa;

}  // namespace orvel
