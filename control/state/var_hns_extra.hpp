// Droplet-size classes and convex-hull work of three-dimensional HNS runs.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_hns_extra_block {
  int32_t nclases = 5;                                    // number of droplet-size classes; 5, never assigned
  farray<float, 2> partclass{"partclass"};                // (particle, spill) class number of each particle, held as a real
  farray<float, 2> equiv_part{"equiv_part"};              // (particle, spill) real droplets one model particle stands for
  farray<float, 2> massclass_particle{"massclass_particle"};  // (class, spill) mass of one droplet of the class, kg
  farray<float, 2> massclass_npart{"massclass_npart"};    // (class, spill) droplet mass times the class's particle count, kg
  farray<float, 1> masstotal_npart{"masstotal_npart"};    // (spill) sum of massclass_npart over the classes, kg
  farray<float, 2> massclass_real{"massclass_real"};      // (class, spill) real mass per class, kg
  farray<float, 2> numpartclass_npart{"numpartclass_npart"};  // (class, spill) model particles in each class
  farray<float, 2> numpartclass_real{"numpartclass_real"};    // (class, spill) real droplets in each class
  farray<int32_t, 1> vertex{"vertex"};                    // (particle) hull vertex indices
  farray<int32_t, 1> iwk{"iwk"};                          // (particle) work array of the convex-hull routine
  int32_t nvert = 0;                                      // number of hull vertices
  farray<double, 1> x_hull{"x_hull"};                     // (nvert) hull vertex longitudes, deg + 360
  farray<double, 1> y_hull{"y_hull"};                     // (nvert) hull vertex latitudes, deg
  float areahull = 0.0f;                                  // hull area, square degrees
  farray<double, 1> fitime{"fitime"};                     // (spill) start times, s; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var_hns_extra_block var_hns_extra;

}  // namespace orvel
