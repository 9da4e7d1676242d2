// Where a chemical's particles may rest in the sea: a chemical that does not
// sink never lies on the sea floor, a gas that comes up goes into the air,
// and in two dimensions the particles on the floor of a chemical that
// dissolves move with the water that carries its dissolved share.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "fate/hns_setup.hpp"
#include "fate/hns_water.hpp"
#include "transport/grid_cell.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"
#include "transport/velocities.hpp"

namespace orvel {

double above_floor(float depth) {
  const double d = static_cast<double>(depth);
  return d - std::min(static_cast<double>(floor_clearance), 0.5 * d);
}

bool rises_off_floor(int32_t spill) {
  const int32_t hnsclass = var_spill.hnsbehaviourclass(spill);
  return is_gas(hnsclass) || !(var4.dens(spill) > static_cast<double>(var_spill.waterdensity(spill)));
}

void column_states_hns3d(int32_t spill) {
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  const bool lift = rises_off_floor(spill);
  const bool to_air = var_spill.hnsbehaviourclass(spill) == hnsclass_gas;
  auto& p = var_part;
  const float* equiv = var_hns_extra.equiv_part.ptr(1, spill);
  int32_t* state = p.indp.ptr(1, spill);
  const double* x = p.x_part.ptr(1, spill);
  const double* y = p.y_part.ptr(1, spill);
  double* z = p.z_part.ptr(1, spill);
  const double factor = var_mallas.factor;
  int32_t in_air = 0;
  for (int32_t j = 0; j < np; ++j) {
    // A particle whose droplets have all dissolved on the floor is a parcel
    // of the water above it, which the current carries.
    if (state[j] == indp_floor && (lift || !(equiv[j] > 0.0f))) {
      // Its droplets rise from just above the floor of the cell where it
      // stands (the floor's depth is where the state update left it).
      float depth = 0.0f;
      const double floor_depth = model_depth(x[j], y[j], depth) && depth > 0.0f ? depth : z[j] * factor;
      z[j] = above_floor(static_cast<float>(floor_depth)) / factor;
      state[j] = indp_column;
    } else if (to_air && state[j] == indp_surf) {
      // A gas that comes up boils off, as one released at the surface.
      state[j] = indp_air;
      z[j] = 0.0;
      ++in_air;
    }
  }
  p.par_air(spill) += in_air;
}

void carry_with_current_2d(int32_t spill) {
  const int32_t np = var_run.particle_number;
  if (np < 1 || var_cfg.dissolution(spill) != 1) return;
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
  const bool walk = var2.dxx.allocated() && var2.dxx.size(1) >= np && var2.dyy.allocated() && var2.dyy.size(1) >= np;
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
      ex = 2.0 * static_cast<double>(rand(0) - 0.5f) * std::sqrt(walk_c * var2.dxx(j) / dt);
      ey = 2.0 * static_cast<double>(rand(0) - 0.5f) * std::sqrt(walk_c * var2.dyy(j) / dt);
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
