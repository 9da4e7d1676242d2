#include "transport/states.hpp"

#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "control/input_places.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "transport/grid_cell.hpp"
#include "transport/together.hpp"

namespace orvel {

namespace {

// Over a fixed current grid: the state follows the depth of the particle and
// of its cell, for particles first .. last - 1 (from 0) of the spill.
// Returns the last of them that finds a model cell, -1 for none.
int64_t fixed_grid_states(int32_t spill, int64_t first, int64_t last, double loni, double lons, double lati,
                          double lats) {
  auto& p = var_part;
  auto& g = var_mallas;
  const double factor = g.factor;
  const double* xs = p.x_part.ptr(1, spill);
  const double* ys = p.y_part.ptr(1, spill);
  double* zs = p.z_part.ptr(1, spill);
  int32_t* states = p.indp.ptr(1, spill);
  int64_t found = -1;
  for (int64_t j = first; j < last; ++j) {
    const double x = xs[j];
    const double y = ys[j];
    if (!(loni <= x && x <= lons && lati <= y && y <= lats)) continue;
    int32_t& state = states[j];
    if (state == indp_beached || state == indp_floor || state == indp_air) continue;
    const double z = zs[j];
    if (z == 0.0) {
      state = indp_surf;
    } else if (z > 0.0) {
      state = indp_column;
    }
    int32_t ci = 0, cj = 0;
    if (!model_cell(x, y, ci, cj)) continue;
    found = j;
    const float depth = g.d(ci, cj);
    if (depth <= 0.0f) {
      state = indp_land;
    } else if (state == indp_column && z * factor >= depth) {
      state = indp_floor;
      zs[j] = depth / factor;
    }
  }
  return found;
}

// The model cell of particle j (from 0) of the spill, the last that found
// one, in x_int, y_int.
void keep_cell_of(int32_t spill, int64_t j) {
  int32_t ci = 0, cj = 0;
  if (j >= 0 && model_cell(var_part.x_part.ptr(1, spill)[j], var_part.y_part.ptr(1, spill)[j], ci, cj)) {
    var_mallas.x_int = ci;
    var_mallas.y_int = cj;
  }
}

void states_fixed_grid(int32_t spill, double loni, double lons, double lati, double lats) {
  auto& p = var_part;
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  (void)p.x_part(np, spill), (void)p.y_part(np, spill), (void)p.z_part(np, spill), (void)p.indp(np, spill);
  // The last particle that finds a model cell leaves it in x_int, y_int.
  std::vector<int64_t> last_cell(static_cast<std::size_t>(block_count(np)), -1);
  parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
    // Stored once per block: the slots of the blocks share cache lines.
    last_cell[static_cast<std::size_t>(b)] = fixed_grid_states(spill, first, last, loni, lons, lati, lats);
  });
  int64_t j = -1;
  for (const int64_t m : last_cell) j = m >= 0 ? m : j;
  keep_cell_of(spill, j);
}

// The counts by state of particles first .. last - 1 (from 0).
state_counts count_states(const int32_t* states, int64_t first, int64_t last) {
  state_counts c;
  for (int64_t j = first; j < last; ++j) {
    switch (states[j]) {
      case indp_surf: ++c.surf; break;
      case indp_column: ++c.column; break;
      case indp_floor: ++c.floor; break;
      case indp_beached: ++c.beached; break;
      default: ++c.pause; break;
    }
  }
  return c;
}

// Over a wet/dry current grid.
void states_wetdry_grid(int32_t spill, int32_t step, int32_t mode, double loni, double lons,
                        double lati, double lats) {
  if (mode != 1 && mode != 2) return;
  auto& p = var_part;
  auto& g = var_mallas;
  for (int32_t i = 1; i <= var_run.particle_number; ++i) {
    const double x = p.x_part(i, spill);
    const double y = p.y_part(i, spill);
    if (!(loni <= x && x <= lons && lati <= y && y <= lats)) continue;
    int32_t& state = p.indp(i, spill);
    if (state == indp_air) continue;
    int32_t mask = 0;
    if (!current_mask(x, y, mask)) continue;
    if (mode == 1) {
      if (mask == 0) {
        state = indp_dry;
      } else if (mask == 1 && step > 1) {
        state = indp_surf;
      }
      continue;
    }
    // Land-search mode 2: the model cell is clamped by one cell at each end.
    if (state == indp_beached || !g.d.allocated()) continue;
    int64_t ci = 0, cj = 0;
    if (!cell_raw(x, g.grid0_x, g.deltax, ci) || !cell_raw(y, g.grid0_y, g.deltay, cj)) continue;
    const int64_t nx = g.d.size(1), ny = g.d.size(2);
    if (ci == 0) ci = 1;
    if (ci == nx + 1) ci = nx;
    if (cj == 0) cj = 1;
    if (cj == ny + 1) cj = ny;
    if (ci < 1 || ci > nx || cj < 1 || cj > ny) continue;
    g.xint = static_cast<int32_t>(ci);
    g.yint = static_cast<int32_t>(cj);
    const float depth = g.d(ci, cj);
    if (mask == 0) {
      if (depth <= 0.0f) {
        if (state == indp_surf || state == indp_dry) state = indp_land;
      } else {
        state = indp_dry;
      }
    } else if (mask == 1) {
      if (depth > 0.0f) {
        state = indp_surf;
      } else if (depth < 0.0f && state == indp_surf) {
        state = indp_land;
      }
    }
  }
}

// Over a radar-coverage current grid: only surface particles change.
void states_radar_grid(int32_t spill, int32_t mode, double loni, double lons, double lati,
                       double lats) {
  if (mode != 1 && mode != 2) return;
  auto& p = var_part;
  for (int32_t i = 1; i <= var_run.particle_number; ++i) {
    int32_t& state = p.indp(i, spill);
    if (state != indp_surf) continue;
    const double x = p.x_part(i, spill);
    const double y = p.y_part(i, spill);
    if (!(loni <= x && x <= lons && lati <= y && y <= lats)) continue;
    int32_t mask = 0;
    if (!current_mask(x, y, mask)) continue;
    if (mode == 1) {
      if (mask == 0) state = indp_land;
      continue;
    }
    float depth = 0.0f;
    if (!model_depth(x, y, depth)) continue;
    if (mask == 0 && depth > 0.0f) {
      state = indp_radar;
    } else if ((mask == 0 || mask == 1) && depth <= 0.0f) {
      state = indp_land;
    }
  }
}

}  // namespace

void update_indp(int32_t spill, int32_t step) {
  const auto& g = var_mallas;
  const int32_t variable = var_cfg.currentgrid_variable__y_n;
  const int32_t kind = var_cfg.variablecurrgrid__wetdry_radar;
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  if (variable == 0) {
    states_fixed_grid(spill, g.loni, g.lons, g.lati, g.lats);
  } else if (variable == 1 && kind == 1) {
    states_wetdry_grid(spill, step, mode, g.loni, g.lons, g.lati, g.lats);
  } else if (variable == 1 && kind == 2) {
    states_radar_grid(spill, mode, g.loni, g.lons, g.lati, g.lats);
  }
}

void update_par(int32_t spill, int32_t /*step*/) {
  auto& p = var_part;
  for (auto* counter : {&p.par_surf, &p.par_column, &p.par_beached, &p.par_floor, &p.par_pause}) {
    counter->fill(0);
  }
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  (void)p.indp(np, spill), (void)p.par_surf(spill), (void)p.par_column(spill), (void)p.par_floor(spill),
      (void)p.par_beached(spill), (void)p.par_pause(spill);
  const int32_t* states = p.indp.ptr(1, spill);
  // Counts by block, added in block order (whole numbers: any order gives
  // the same sums).
  std::vector<state_counts> by_block(static_cast<std::size_t>(block_count(np)));
  parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
    by_block[static_cast<std::size_t>(b)] = count_states(states, first, last);
  });
  for (const auto& c : by_block) {
    p.par_surf(spill) += c.surf;
    p.par_column(spill) += c.column;
    p.par_floor(spill) += c.floor;
    p.par_beached(spill) += c.beached;
    p.par_pause(spill) += c.pause;
  }
}

void update_states_together(std::span<const int32_t> spills, int32_t step, std::span<state_counts> counts) {
  const int32_t np = var_run.particle_number;
  const int64_t n = static_cast<int64_t>(spills.size());
  if (np < 1 || n < 1) return;
  auto& p = var_part;
  for (const int32_t s : {spills.front(), spills.back()}) {
    (void)p.x_part(np, s), (void)p.y_part(np, s), (void)p.z_part(np, s), (void)p.indp(np, s);
  }
  const auto& g = var_mallas;
  const bool fixed = var_cfg.currentgrid_variable__y_n == 0;
  // Over a fixed grid, the last particle of the last spill that finds a
  // model cell leaves it in x_int, y_int; the other grids' updates go spill
  // after spill.
  std::vector<int64_t> found(static_cast<std::size_t>(n), -1);
  if (!fixed) {
    for (const int32_t s : spills) update_indp(s, step);
  }
  parallel_units(n, np, [&](int64_t i) {
    const int32_t s = spills[static_cast<std::size_t>(i)];
    if (fixed) found[static_cast<std::size_t>(i)] = fixed_grid_states(s, 0, np, g.loni, g.lons, g.lati, g.lats);
    counts[static_cast<std::size_t>(i)] = count_states(p.indp.ptr(1, s), 0, np);
  });
  for (int64_t i = n - 1; fixed && i >= 0; --i) {
    if (found[static_cast<std::size_t>(i)] >= 0) {
      keep_cell_of(spills[static_cast<std::size_t>(i)], found[static_cast<std::size_t>(i)]);
      break;
    }
  }
}

void show_state_counts(int32_t spill, const state_counts& counts, int32_t shown) {
  auto& p = var_part;
  farray<int32_t, 1>* counters[] = {&p.par_surf, &p.par_column, &p.par_beached, &p.par_floor, &p.par_pause};
  if (shown == 0) {
    for (auto* counter : counters) counter->fill(0);
  } else {
    for (auto* counter : counters) (*counter)(shown) = 0;
  }
  p.par_surf(spill) = counts.surf;
  p.par_column(spill) = counts.column;
  p.par_floor(spill) = counts.floor;
  p.par_beached(spill) = counts.beached;
  p.par_pause(spill) = counts.pause;
}

void centre_of_mass(int32_t spill) {
  auto& p = var_part;
  const int32_t n = var_run.particle_number;
  if (n < 1) return;
  double sx = 0.0, sy = 0.0, sz = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    sx += p.x_part(i, spill);
    sy += p.y_part(i, spill);
    sz += p.z_part(i, spill);
  }
  p.x_cg(spill) = sx / n;
  p.y_cg(spill) = sy / n;
  p.z_cg(spill) = sz / n;
}

void check_current_grid_in_model_grid(const std::string& scenario_file) {
  const auto& c = var_cfg;
  const auto& g = var_mallas;
  const auto& f = var_mallasforz;
  if (c.currentgrid_variable__y_n != 1 || var_run.search_land__mask_maskandcoast != 2) return;
  if (c.variablecurrgrid__wetdry_radar != 1 && c.variablecurrgrid__wetdry_radar != 2) return;
  // Only a grid given in the scenario file is known before the first record.
  if (c.currentgridformat__xyz_grid != 2) return;
  if (!g.d.allocated() || f.gridformatcurru_xcells < 1 || f.gridformatcurru_ycells < 1) return;
  const bool clamped = c.variablecurrgrid__wetdry_radar == 1;
  // The lookup is monotonic along each axis, so the two ends of each axis decide.
  auto axis_fits = [clamped](double first, double spacing, int32_t cells, double grid0,
                             double grid_spacing, int32_t grid_cells) {
    for (const double v : {first, first + (cells - 1) * spacing}) {
      int64_t k = 0;
      if (!cell_raw(v, grid0, grid_spacing, k)) return false;
      if (clamped && k == 0) k = 1;
      if (clamped && k == int64_t{grid_cells} + 1) k = grid_cells;
      if (k < 1 || k > grid_cells) return false;
    }
    return true;
  };
  if (axis_fits(f.gridformatcurru_0x, f.gridformatcurru_deltax, f.gridformatcurru_xcells, g.grid0_x,
                g.deltax, g.d.size(1)) &&
      axis_fits(f.gridformatcurru_0y, f.gridformatcurru_deltay, f.gridformatcurru_ycells, g.grid0_y,
                g.deltay, g.d.size(2))) {
    return;
  }
  throw refusal_at("gridformatcurru_0x", scenario_file,
                    std::string("the time-varying ") + (clamped ? "wet/dry" : "radar") +
                        " current grid reaches beyond the model grid, whose depths its land "
                        "tests read");
}

}  // namespace orvel
