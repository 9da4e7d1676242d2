// The scenario file and the HNS calibration file.
#pragma once

#include <string>
#include <vector>

namespace orvel {

// The values of a spill line that the scenario reader replaces by derived
// ones (temperatures to kelvin, density and viscosity to the water
// temperature, the minimum evaporation to a fraction, the mass and volume
// of a continuous release to each pulse's share), as they stand in the file: the start-up checks hold these against their ranges.
struct spill_line_values {
  double spilledmass = 0.0;  // the whole release's, as read
  double spillvolume = 0.0;
  float density = 0.0f;
  float densityreferencetemperature = 0.0f;
  float viscosity = 0.0f;
  float viscosityreferencetemperature = 0.0f;
  float minevaporation = 0.0f;
  float watertemperature = 0.0f;
  float airtemperature = 0.0f;
};

// One entry per spill line of the last scenario file read (empty before,
// and after forget_spill_lines, which reset_state calls).
const std::vector<spill_line_values>& spill_lines_as_read();
void forget_spill_lines();

// Reads the scenario file clave + ".cfg" into var_cfg and var_spill, derives
// the substance constants and splits continuous releases into pulses.
void leo_cfg(const std::string& clave);

// Reads the HNS calibration file (data folder + clave + "_HNS.calib").
void leo_param_calib(const std::string& clave);

}  // namespace orvel
