// Droplet classes of natural dispersion, for the spill last processed.
#pragma once

#include <array>

namespace orvel {

struct varverticaldispersion_block {
  std::array<float, 10> dropdiam{};  // class centre diameters dmin + (k - 0.5) * class width, m ([k - 1] holds class k)
  std::array<float, 10> qd{};        // dispersed mass rate per unit slick area of each class, kg/m2/s ([k - 1] holds class k)

  // Written but never read back from the block.
  float cstar = 0.0f;        // dispersion coefficient C*
  float d50_disp = 0.0f;     // median droplet size, micrometres
  float dmin_disp = 0.0f;    // smallest droplet diameter, m
  float dmax_disp = 0.0f;    // largest droplet diameter, m
  float deltad_disp = 0.0f;  // class width, m
  float qtot = 0.0f;         // sum of the ten qd, kg/m2/s
};
// The one instance, defined in control/state/instances.cpp.
extern varverticaldispersion_block varverticaldispersion;

}  // namespace orvel
