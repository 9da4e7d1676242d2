// End of a subsea blowout jet, overwritten each time a blowout spill is placed.
#pragma once

namespace orvel {

struct var_blowout_block {
  double jetterminalcenterx = 0.0;  // longitude of the jet end, deg + 360
  double jetterminalcentery = 0.0;  // latitude of the jet end, deg
  double jetterminallevel = 0.0;    // depth of the jet end, m, positive down
  double jetterminalradius = 0.0;   // radius of the jet end, m
};
// The one instance, defined in control/state/instances.cpp.
extern var_blowout_block var_blowout;

}  // namespace orvel
