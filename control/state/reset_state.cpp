#include "control/state/reset_state.hpp"

#include "control/input_places.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"

namespace orvel {

// Each block back to its starting values: scalars and fixed-size arrays zero
// (texts blank, nclases 5), run-time arrays released.
void reset_state() {
  var_run = var_run_block{};
  var_cfg = var_cfg_block{};
  var_calib = var_calib_block{};
  var_capas = var_capas_block{};
  var_costa = var_costa_block{};
  var_blowout = var_blowout_block{};
  var_mallas = var_mallas_block{};
  var_mallasconc = var_mallasconc_block{};
  var_mallasforz = var_mallasforz_block{};
  var_part = var_part_block{};
  var_spill = var_spill_block{};
  var4 = var4_block{};
  var_hns_extra = var_hns_extra_block{};
  varverticaldispersion = varverticaldispersion_block{};
  var_disp = var_disp_block{};
  var_rk = var_rk_block{};
  var_currwindwave = var_currwindwave_block{};
  var1 = var1_block{};
  var2 = var2_block{};
  forget_places();
  forget_spill_lines();
}

}  // namespace orvel
