// A small world for the particle tests: a model grid of 4 x 3 nodes at 43 N
// (0.1 degree spacing, longitudes 356.0 to 356.3, latitudes 43.0 to 43.2),
// `np` particles per spill and `ns` spills, with every per-particle and
// per-spill array the transport routines read allocated and zeroed.
#pragma once

#include <cmath>
#include <cstdint>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel::testing {

inline constexpr double factor = 111317.359375;  // metres per degree of latitude

// Metres per degree of longitude at latitude `lat`, with the true pi: a value
// independent of the code's single-precision 3.1416 (they differ by 1.6e-6
// relative at 43 N).
inline double metres_per_degree_lon(double lat) {
  return std::cos(lat * 3.14159265358979323846 / 180.0) * factor;
}

inline void small_world(int32_t np, int32_t ns) {
  reset_state();
  auto& g = var_mallas;
  g.factor = factor;
  g.grid0_x = 356.0;
  g.grid0_y = 43.0;
  g.deltax = 0.1;
  g.deltay = 0.1;
  g.xcells_number = 4;
  g.ycells_number = 3;
  g.latmean = 43.0;
  g.d.allocate(4, 3);
  g.d.fill(20.0f);
  g.loni = g.grid0_x;
  g.lons = g.grid0_x + 3 * g.deltax;
  g.lati = g.grid0_y;
  g.lats = g.grid0_y + 2 * g.deltay;

  var_run.particle_number = np;
  var_run.sim__2d_3d = 1;
  var_run.search_land__mask_maskandcoast = 1;
  var_run.simenvironment__sea_river = 1;
  var_run.deltat = 600.0f;
  var_cfg.spills_number = ns;

  auto& p = var_part;
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part, &p.diam_part, &p.w_float}) a->allocate(np, ns);
  for (auto* a : {&p.par_surf, &p.par_column, &p.par_beached, &p.par_floor, &p.par_pause, &p.par_air})
    a->allocate(ns);
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) a->allocate(ns);

  auto& c = var_cfg;
  for (auto* a : {&c.spillstarttime, &c.spillposition_x, &c.spillposition_y, &c.spillposition_z,
                  &c.spillsize_sidex, &c.spillsize_sidey, &c.currentcoeff, &c.dragcoeff_a,
                  &c.dragcoeff_b, &c.wavescoeff})
    a->allocate(ns);
  for (auto* a : {&c.diffusioncoeff_kh, &c.diffusioncoeff_kz, &c.riverfreesurfaceslope}) a->allocate(ns);
  c.turbdiffusion__y_n.allocate(ns);
  var_spill.area_oil.allocate(ns);
  var_spill.waterdensity.allocate(ns);
  var4.dens.allocate(ns);

  auto& w = var_currwindwave;
  for (auto* a : {&w.wintx, &w.winty, &w.u_curr_int, &w.v_curr_int, &w.w_curr_int}) a->allocate(np);
  for (auto* a : {&w.hintx, &w.hinty, &w.tint}) a->allocate(np, 3);
  for (auto* a : {&w.uadv, &w.vadv, &w.wadv, &w.uadv_viento_oleaje, &w.vadv_viento_oleaje,
                  &w.uadv_corrientes, &w.vadv_corrientes, &w.wadv_corrientes_y_float})
    a->allocate(np, ns);
  w.uwind.allocate(ns);
}

}  // namespace orvel::testing
