// Names of input files under the scenario's data folder.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// The data folder as it prefixes names: `ruta` without its leading and
// trailing blanks (a leading blank lets a control-file line start an
// absolute folder, since a line starting with "/" is a comment).
std::string data_folder();

// `name` with the data folder before it (coastline, polygon and calibration
// files always take it).
std::string data_folder_path(std::string_view name);

// `name` with the data folder before it when the run-control file asks for
// a separate data folder (`datafolder__same_other` = 2), else unchanged.
std::string input_path(std::string_view name);

}  // namespace orvel
