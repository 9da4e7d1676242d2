// Forcing lists: plain text files with one field-file name per line, one
// line per time record (and layer), read into the name arrays of var1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvel {

// Length of a name in the name arrays.
inline constexpr std::size_t forcing_name_length = 256;

// Reads the forcing lists of one forcing kind (1 currents, 2 waves, 3 wind;
// any other value does nothing) into the name arrays of var1, which the
// start-up has allocated.  `simulation` (1 to 99999) gives the run suffix of
// a probabilistic run.  `wflag` (the engines pass wcurrentsflag) is set to 0
// when no vertical-current file goes with the first U current file.
//
// A list is opened only when a line is taken from it; a missing list, a
// list with too few lines and an entry longer than 256 characters are input
// errors naming the list (and line).
void lee_listafich(int32_t kind, int32_t simulation, int32_t& wflag);

// Full name of a forcing list: the data folder (when the run has one), the
// base name, the run suffix of a probabilistic run and the extension.
std::string forcing_list_name(const std::string& base, int32_t simulation, bool raw);

}  // namespace orvel
