// Run-control options, filled once from the run-control file.
#pragma once

#include <cstdint>

namespace orvel {

struct var_run_block {
  int32_t simenvironment__sea_river = 0;       // 1 = sea, 2 = river (river diffusion)
  int32_t sim__2d_3d = 0;                      // 1 = two-dimensional, 2 = three-dimensional run
  int32_t blowout__y_n = 0;                    // 1 = subsea blowout release (3-D runs)
  int32_t simdirection__fore_back = 0;         // 1 = forward, 2 = backward (drift coefficients negated)
  int32_t datafolder__same_other = 0;          // 2 = input names take the data folder as prefix
  int32_t search_land__mask_maskandcoast = 0;  // 1 = land from bathymetry or mask, 2 = mask and coastline
  int32_t searchcoastalgorithm__lr_hr = 0;     // 1 = nearest coast point, 2 = crossing of coast polygons
  int32_t coast_polygonnumber = 0;             // number of coast polygon files
  int32_t particle_number = 0;                 // particles per spill (per pulse)
  int32_t particle_inipositions__y_n = 0;      // 1 = initial positions from the restart file
  float deltat = 0.0f;                         // model time step, s
  int32_t temporalinterpwind__y_n = 0;         // 1 = wind blended in time between records
  int32_t temporalinterpwaves__y_n = 0;        // 1 = waves blended in time between records
  int32_t temporalinterpcurr__y_n = 0;         // 1 = currents blended in time (start-of-interval mask for land)
  int32_t numericalmethod__euler_rungekut = 0; // 1 = Euler, 2 = fourth-order Runge-Kutta
  float firstoutput_time = 0.0f;               // time of the first output, s (hours in the file)
  float deltatoutput_parts = 0.0f;             // interval of the particle files, s
  float deltatoutput_concs = 0.0f;             // interval of the concentration and presence outputs, s
  int32_t deltatoutput_properties = 0;         // interval between property-file rows, s
  int32_t outputparts__y_n = 0;                // 1 = write the particle files
  int32_t outputconcs__y_n = 0;                // 1 = compute and write the concentration grids
  int32_t outputpropierties__y_n = 0;          // 1 = write the property and mass-balance files
  int32_t simtype__operat_probabil = 0;        // 1 = operational, 2 = probabilistic; fixed to 1
  int32_t simnumber__1_n = 0;                  // simulations of the engines' outer loop; fixed to 1
};
// The one instance, defined in control/state/instances.cpp.
extern var_run_block var_run;

}  // namespace orvel
