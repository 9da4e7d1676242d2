// The one instance of every shared state block.

#include "control/state/all.hpp"

namespace orvel {

var1_block var1;
var2_block var2;
var4_block var4;
var_blowout_block var_blowout;
var_calib_block var_calib;
var_capas_block var_capas;
var_cfg_block var_cfg;
var_costa_block var_costa;
var_currwindwave_block var_currwindwave;
var_disp_block var_disp;
var_hns_extra_block var_hns_extra;
var_mallas_block var_mallas;
var_mallasconc_block var_mallasconc;
var_mallasforz_block var_mallasforz;
var_part_block var_part;
var_rk_block var_rk;
var_run_block var_run;
var_spill_block var_spill;
varverticaldispersion_block varverticaldispersion;

}  // namespace orvel
