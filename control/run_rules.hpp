// Rules derived from the run-control and scenario options that several
// subsystems apply: each written once here so that they always agree.
#pragma once

#include <cmath>

#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

// True when the land-search mode has the model grid (bathymetry) read: the
// coastline mode always, the mask mode only over a fixed current grid.
inline bool model_grid_read() {
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  return mode == 2 || (mode == 1 && var_cfg.currentgrid_variable__y_n == 0);
}

// True when the domain box follows the U-current grid instead of the model
// grid: a time-varying current grid in the mask mode, or a wet/dry current
// grid in the coastline mode.
inline bool box_follows_current_grid() {
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  return (mode == 1 && var_cfg.currentgrid_variable__y_n == 1) ||
         (mode == 2 && var_cfg.variablecurrgrid__wetdry_radar == 1);
}

// cos of the grid's mean latitude, with the model's single-precision 3.1416:
// the factor that turns degrees of longitude into degrees of latitude.
inline double cos_latmean() { return std::cos(var_mallas.latmean * static_cast<double>(3.1416f) / 180.0); }

// The mass a spill's evaporated fraction refers to: the release of an
// instantaneous spill, the pulse's own mass for a pulse of a continuous
// release (whose masa0 holds the whole release).
inline double reference_mass(int32_t spill) {
  return var_cfg.spill__instant_contin == 1 ? var_cfg.masa0(spill) : var_cfg.spilledmass(spill);
}

// Metres per degree of longitude at the grid's mean latitude.
inline double metres_per_degree_lon() { return cos_latmean() * var_mallas.factor; }

}  // namespace orvel
