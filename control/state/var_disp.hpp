// Horizontal diffusivity scalars, set and used within the diffusivity routines.
#pragma once

namespace orvel {

struct var_disp_block {
  float orden_t = 0.0f;  // ratio of transverse to longitudinal diffusivity (0.1 at each call)
  float disp_l = 0.0f;   // longitudinal diffusivity, degrees of longitude squared per second
  float disp_t = 0.0f;   // transverse diffusivity = orden_t * disp_l, degrees of longitude squared per second
  float dx = 0.0f;       // x diffusivity for the flow direction, degrees of longitude squared per second
  float dy = 0.0f;       // y diffusivity for the flow direction, degrees of latitude squared per second
  float e_t = 0.0f;      // river diffusion coefficient of the current particle, m2/s
};
// The one instance, defined in control/state/instances.cpp.
extern var_disp_block var_disp;

}  // namespace orvel
