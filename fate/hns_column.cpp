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
#include "transport/floor_carry.hpp"
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
  const bool walk = var2.dxx.allocated() && var2.dxx.size(1) >= np && var2.dyy.allocated() && var2.dyy.size(1) >= np;
  carry_floor_particles(spill, walk ? var2.dxx.data() : nullptr, walk ? var2.dyy.data() : nullptr,
                        [] { return rand(0); });
}

}  // namespace orvel
