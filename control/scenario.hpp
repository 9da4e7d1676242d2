// The scenario file and the HNS calibration file.
#pragma once

#include <string>

namespace orvel {

// Reads the scenario file clave + ".cfg" into var_cfg and var_spill, derives
// the substance constants and splits continuous releases into pulses.
void leo_cfg(const std::string& clave);

// Reads the HNS calibration file (data folder + clave + "_HNS.calib").
void leo_param_calib(const std::string& clave);

}  // namespace orvel
