// Shared state set-ups for the transport tests: a model grid, a spill of
// particles with their arrays, a coastline and coast polygons, and the
// diffusivities of one step, all filled by hand.
#pragma once

#include <cstdint>
#include <vector>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "transport/coast_index.hpp"

namespace orvel::testing {

// A regular model grid of nx by ny nodes from (x0, y0) with spacing (dx, dy),
// every depth `depth`, and the domain box on it.
inline void set_grid(double x0, double y0, double dx, double dy, int32_t nx, int32_t ny, float depth = 50.0f) {
  auto& g = var_mallas;
  g.grid0_x = x0;
  g.grid0_y = y0;
  g.deltax = dx;
  g.deltay = dy;
  g.xcells_number = nx;
  g.ycells_number = ny;
  g.latmean = y0 + 0.5 * (ny - 1) * dy;
  g.factor = 111317.359375;
  g.loni = x0;
  g.lons = x0 + (nx - 1) * dx;
  g.lati = y0;
  g.lats = y0 + (ny - 1) * dy;
  if (g.d.allocated()) g.d.deallocate();
  g.d.allocate(nx, ny);
  g.d.fill(depth);
}

// The particle arrays of `spills` spills of `np` particles (all at the
// surface, state 1), run settings for a 2-D Euler run at sea.
inline void set_spills(int32_t np, int32_t spills, float deltat = 600.0f) {
  var_run.particle_number = np;
  var_run.deltat = deltat;
  var_run.sim__2d_3d = 1;
  var_run.simenvironment__sea_river = 1;
  var_run.numericalmethod__euler_rungekut = 1;
  var_cfg.spills_number = spills;
  auto& p = var_part;
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part, &p.xp1, &p.yp1}) a->allocate(np, spills);
  p.indp.allocate(np, spills);
  p.part_inter.allocate(np, spills);
  p.indp.fill(1);
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) a->allocate(spills);
  for (auto* a : {&p.par_surf, &p.par_beached, &p.par_pause, &p.par_column, &p.par_floor}) a->allocate(spills);
  auto& w = var_currwindwave;
  for (auto* a : {&w.uadv, &w.vadv, &w.wadv}) a->allocate(np, spills);
  var_cfg.spillposition_x.allocate(spills);
  var_cfg.spillposition_y.allocate(spills);
  var_cfg.spillposition_z.allocate(spills);
  var_cfg.spillstarttime.allocate(spills);
}

// Runge-Kutta stage arrays, zero.
inline void set_rk(int32_t np, int32_t spills) {
  auto& r = var_rk;
  for (auto* a : {&r.fx1, &r.fx2, &r.fx3, &r.fx4, &r.fy1, &r.fy2, &r.fy3, &r.fy4}) a->allocate(np, spills);
}

// The diffusivities of one step, as the diffusivity routines leave them.
inline void set_diffusivities(int32_t np, double dxx, double dyy, bool with_dzz = false, double dzz = 0.0) {
  var2.dxx.allocate(np);
  var2.dyy.allocate(np);
  var2.dxx.fill(dxx);
  var2.dyy.fill(dyy);
  if (with_dzz) {
    var2.dzz.allocate(np);
    var2.dzz.fill(dzz);
  }
}

// Coastline points in file order, with their stick indices (0 when empty).
inline void set_coast(const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<int32_t>& stick = {}) {
  auto& c = var_costa;
  if (c.xlc.allocated()) {
    c.xlc.deallocate();
    c.ylc.deallocate();
    c.ind_coast.deallocate();
  }
  const int32_t n = static_cast<int32_t>(x.size());
  c.ptos_lc = n;
  c.xlc.allocate(n);
  c.ylc.allocate(n);
  c.ind_coast.allocate(n);
  for (int32_t k = 1; k <= n; ++k) {
    c.xlc(k) = x[k - 1];
    c.ylc(k) = y[k - 1];
    c.ind_coast(k) = stick.empty() ? 0 : stick[k - 1];
  }
}

// One coast polygon record from its points.
inline void set_polygon(coast_polygon& p, const std::vector<double>& x, const std::vector<double>& y) {
  p.n = static_cast<int32_t>(x.size());
  p.x.allocate(p.n);
  p.y.allocate(p.n);
  for (int32_t k = 1; k <= p.n; ++k) {
    p.x(k) = x[k - 1];
    p.y(k) = y[k - 1];
  }
}

// Starts from fresh state blocks and no coast index, and drops the index
// again at the end.
struct fresh_state {
  fresh_state() {
    reset_state();
    coast_index::release();
  }
  ~fresh_state() { coast_index::release(); }
};

}  // namespace orvel::testing
