// The start-up check of the forcing options: combinations that the forcing
// readers cannot serve are rejected before the banner, with a message that
// names the option values.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Checks the forcing options of var_run, var_cfg, var_mallas and var_capas
// once, after the scenario file, the current layers and the regridding, and
// before the banner.  A rejection is an input_error naming the scenario file
// clave + ".cfg" (or "currents_layerDepths.pre" for the layer count).
void check_forcing_options(const std::string& clave);

// The highest current record index that a run reads (at least 1): record 1,
// then the records the engines advance to over int(horizon / record
// interval) records, held at the list length.
int32_t current_records_read();

}  // namespace orvel
