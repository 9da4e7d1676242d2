// HNS calibration constants, filled from the calibration file on the HNS
// branch only and read by the HNS fate routines.
#pragma once

#include <cstdint>

namespace orvel {

struct var_calib_block {
  double spreadingrateconstant = 0.0;  // rate constant of HNS spreading algorithm 3
  double k2 = 0.0;                     // constant of HNS spreading algorithm 1
  int32_t calibevap_option = 0;        // 1 = evaporation mass-transfer coefficient from the formula with a, else km
  float a = 0.0f;                      // coefficient of the evaporation mass-transfer formula
  float km = 0.0f;                     // fixed evaporation mass-transfer coefficient, m/s
  float wind_min = 0.0f;               // wind speed used when the mean wind at the particles is 0, m/s
  int32_t calibdisol_option = 0;       // 1 = dissolution mass-transfer coefficient from the Sherwood number, else kd
  float dissolparam = 0.0f;            // dissolution calibration factor
  float kd = 0.0f;                     // fixed dissolution mass-transfer coefficient, m/s
};
// The one instance, defined in control/state/instances.cpp.
extern var_calib_block var_calib;

}  // namespace orvel
