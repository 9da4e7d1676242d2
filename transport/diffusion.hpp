// Diffusivities of the random walk: horizontal ones per particle, split into
// a part along the particle's motion and a tenth of it across, in degrees
// squared per second (the east one in degrees of longitude, the north one in
// degrees of latitude, so that both are the same K in metres), and vertical
// ones by depth.  They live for one step:
// allocated here, read and released by the position update.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// dxx, dyy of the spill from its horizontal diffusion coefficient (at sea) or
// from the river coefficient at each particle (river runs); zero when the
// spill's turbulent diffusion is off or the particle is at rest.  A diffusion
// switch other than 0 or 1 stops the run with "OPCION NO VALIDA PARA
// DISPERSION" on standard output.
void dispersion_2d(int32_t spill);

// dxx, dyy of the spill from the spreading diffusivity k (m2/s) of the step.
void dispersion_2d_spread(int32_t spill, double k);

// East diffusivity (degrees of longitude squared per second) and north
// diffusivity (degrees of latitude squared per second) of motion (u, v)
// (deg/s) from disp_l and disp_t of var_disp, which are in degrees of
// longitude squared per second; also left in var_disp.dx and var_disp.dy.
float disp_x(double u, double v);
float disp_y(double u, double v);

// River diffusion coefficient (m2/s) at particle `particle` of `spill`:
// 0.6 h u*, u* = sqrt(g h slope), h the depth of its model cell; 0 over land
// or where the particle lies outside the model grid.
void calc_coefdisprios(int32_t spill, int32_t particle, float& coefficient);

// dzz of the spill, (metres/factor)^2 per second: 0 at the surface, the
// spill's vertical coefficient down to 30 m and a hundredth of it below.
// `step` is not used.
void verticaldiffusionvelocity(int32_t spill, int32_t step);

// The text with which dispersion_2d stops on a diffusion switch other than
// 0 and 1.
inline constexpr const char* diffusion_stop_text = " OPCION NO VALIDA PARA DISPERSION";

// Start-up check of the diffusion switch of every spill line: a value other
// than 0 or 1 stops the run before the simulation starts, with the stop text
// of dispersion_2d on standard output and an input_error naming the line of
// `scenario_file` that holds the switch.
void check_diffusion_option(const std::string& scenario_file);

}  // namespace orvel
