// The particles of a spill that lie on the sea floor carried by the current
// at the particle over one step, with the transport random walk: in 2-D the
// floor particles of a dissolving chemical carry its dissolved share.
#pragma once

#include <cmath>
#include <cstdint>

#include "control/run_rules.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "transport/grid_cell.hpp"
#include "transport/states.hpp"

namespace orvel {

// The floor particles of the spill that the carry moves (and draws for).
inline int64_t floor_particles(int32_t spill) {
  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  int64_t n = 0;
  for (int32_t j = 0; j < np; ++j) n += state[j] == indp_floor ? 1 : 0;
  return n;
}

// Moves each floor particle of the spill with the current at the particle
// (times currentcoeff) and, with diffusivities dxx, dyy (particle j at
// index j - 1; null for none), a velocity uniform in +-sqrt(C D / dt) along
// each axis, drawn from `draw` (x first, particle by particle in order).  A
// move that would end on land or outside the model's box leaves the
// particle where it is.
template <typename Draw>
void carry_floor_particles(int32_t spill, const double* dxx, const double* dyy, Draw&& draw) {
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  auto& p = var_part;
  const auto& w = var_currwindwave;
  int32_t* state = p.indp.ptr(1, spill);
  double* x = p.x_part.ptr(1, spill);
  double* y = p.y_part.ptr(1, spill);
  const double dt = static_cast<double>(var_run.deltat);
  const double factor = var_mallas.factor;
  const double mx = cos_latmean() * factor;
  const double current = var_cfg.currentcoeff(spill);
  const double walk_c = var_run.simenvironment__sea_river == 2 ? 4.0 : 6.0;
  // The current at the particles of the last pass: one value for all when
  // the pass kept a single one (a uniform series), none without currents.
  const bool currents = w.u_curr_int.allocated() && w.v_curr_int.allocated() && w.u_curr_int.size(1) >= 1 &&
                        w.v_curr_int.size(1) >= 1;
  const bool uniform = currents && (w.u_curr_int.size(1) < np || w.v_curr_int.size(1) < np);
  const bool walk = dxx != nullptr && dyy != nullptr;
  const bool depths = model_grid_read();
  const domain_box box = current_domain_box();
  for (int32_t j = 1; j <= np; ++j) {
    if (state[j - 1] != indp_floor) continue;
    const double u = !currents ? 0.0 : uniform ? w.u_curr_int(1) : w.u_curr_int(j);
    const double v = !currents ? 0.0 : uniform ? w.v_curr_int(1) : w.v_curr_int(j);
    double ex = 0.0, ey = 0.0;
    if (walk) {
      // The transport walk of the surface particles: a velocity uniform in
      // +-sqrt(C D / dt) along each axis, x drawn first.
      ex = 2.0 * static_cast<double>(draw() - 0.5f) * std::sqrt(walk_c * dxx[j - 1] / dt);
      ey = 2.0 * static_cast<double>(draw() - 0.5f) * std::sqrt(walk_c * dyy[j - 1] / dt);
    }
    const double xn = x[j - 1] + (u * current / mx + ex) * dt;
    const double yn = y[j - 1] + (v * current / factor + ey) * dt;
    // The water carries it only over water: a step that would end on land
    // or outside the model's box leaves it where it is.
    if (!(box.loni <= xn && xn <= box.lons && box.lati <= yn && yn <= box.lats)) continue;
    float depth = 0.0f;
    if (depths && model_depth(xn, yn, depth) && !(depth > 0.0f)) continue;
    x[j - 1] = xn;
    y[j - 1] = yn;
  }
}

}  // namespace orvel
