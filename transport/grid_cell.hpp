// Cell lookups of particle positions on the model grid and on the U-current
// grid, and the domain box, the extent of the one of them inside which
// particles move.  A cell index is int((x - x0)/dx) + 1, the integer part
// truncated toward zero; a lookup that falls outside the grid (or that
// cannot be formed: a position or spacing that is not a number) reports
// "no cell", so that no array is read outside its bounds.
#pragma once

#include <cstdint>

#include "common/farray.hpp"
#include "control/run_rules.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

// The domain box (longitudes + 360): particles inside it move, particles
// outside it never do.  Over a current grid with a time-varying mask
// (land-search mode 1 with a time-varying grid, or mode 2 with a wet/dry
// mask) it is the U-current grid; otherwise the model grid.
struct domain_box {
  double loni, lons, lati, lats;
  bool holds(double x, double y) const { return loni <= x && x <= lons && lati <= y && y <= lats; }
};

inline domain_box current_domain_box() {
  if (box_follows_current_grid()) {
    const auto& f = var_mallasforz;
    return {f.gridformatcurru_0x, f.gridformatcurru_0x + (f.gridformatcurru_xcells - 1) * f.gridformatcurru_deltax,
            f.gridformatcurru_0y, f.gridformatcurru_0y + (f.gridformatcurru_ycells - 1) * f.gridformatcurru_deltay};
  }
  const auto& g = var_mallas;
  return {g.loni, g.lons, g.lati, g.lats};
}

// Over a current grid with a time-varying mask, sets the model grid's box
// (loni, lons, lati, lats) to the U-current grid's; otherwise leaves it.
inline void reset_domain_box() {
  if (box_follows_current_grid()) {
    const domain_box b = current_domain_box();
    auto& g = var_mallas;
    g.loni = b.loni;
    g.lons = b.lons;
    g.lati = b.lati;
    g.lats = b.lats;
  }
}

// Index int((x - x0)/dx) + 1 when it lies in 1..n, else 0.
inline int32_t cell_in(double x, double x0, double dx, int32_t n) {
  const double q = (x - x0) / dx;
  if (!(q > -1.0 && q < static_cast<double>(n))) return 0;
  return static_cast<int32_t>(q) + 1;
}

// Index int((x - x0)/dx) + 1 without a range test, for lookups that clamp the
// index first; false when the index cannot be formed.
inline bool cell_raw(double x, double x0, double dx, int64_t& index) {
  const double q = (x - x0) / dx;
  if (!(q > -2.0e9 && q < 2.0e9)) return false;
  index = static_cast<int64_t>(q) + 1;
  return true;
}

// Model-grid cell (i, j) of a position, and its depth; false when no
// bathymetry is loaded or the position lies outside it.
inline bool model_cell(double x, double y, int32_t& i, int32_t& j) {
  const auto& g = var_mallas;
  if (!g.d.allocated()) return false;
  i = cell_in(x, g.grid0_x, g.deltax, g.d.size(1));
  j = cell_in(y, g.grid0_y, g.deltay, g.d.size(2));
  return i != 0 && j != 0;
}

inline bool model_depth(double x, double y, float& depth) {
  int32_t i = 0, j = 0;
  if (!model_cell(x, y, i, j)) return false;
  depth = var_mallas.d(i, j);
  return true;
}

// The mask of the current grid that the land tests read: the start-of-interval
// mask when currents are blended in time, else the latest record's.
inline const farray<int32_t, 2>& land_mask() {
  return var_run.temporalinterpcurr__y_n == 1 ? var2.mask0 : var2.mask;
}

// U-current grid cell (ix, iy) of a position, from the grid geometry of
// var_mallasforz, and its mask value; false when the mask does not cover it.
inline bool current_mask(double x, double y, int32_t& value) {
  const auto& f = var_mallasforz;
  const auto& m = land_mask();
  if (!m.allocated()) return false;
  const int32_t ix = cell_in(x, f.gridformatcurru_0x, f.gridformatcurru_deltax, m.size(1));
  const int32_t iy = cell_in(y, f.gridformatcurru_0y, f.gridformatcurru_deltay, m.size(2));
  if (ix == 0 || iy == 0) return false;
  value = m(ix, iy);
  return true;
}

}  // namespace orvel
