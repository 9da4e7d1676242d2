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
// a probabilistic run.  With separate current files (and at least one name
// to read) `wflag` (the engines pass wcurrentsflag) is set to 1 when the run
// reads vertical-current files (reads_w_files), whose names then come from
// the W list as the U and V names from theirs, and to 0 otherwise.
//
// A list is opened only when a line is taken from it; a missing list, a
// list with too few lines and an entry longer than 256 characters are input
// errors naming the list (and line).
void lee_listafich(int32_t kind, int32_t simulation, int32_t& wflag);

// Whether the user's vertical-current list "W_lstcurr" (with the data
// folder and run suffix, extension ".pre") exists.
bool w_list_present(int32_t simulation);

// Whether the run reads vertical currents from separate W files: a 3-D run
// with layered current files given as separate node lists on a regular grid
// of their own, and the W list present.
bool reads_w_files(int32_t simulation);

// Full name of a forcing list: the data folder (when the run has one), the
// base name, the run suffix of a probabilistic run and the extension.
std::string forcing_list_name(const std::string& base, int32_t simulation, bool raw);

}  // namespace orvel
