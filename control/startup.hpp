// The entry point's start-up sequence.
#pragma once

#include <string>

namespace orvel {

// The run key: the first four characters of the first command-line
// argument, padded with blanks (four blanks without an argument).
std::string run_key(int argc, const char* const* argv);

// Runs the whole start-up sequence and the engine for run key `clave`.
void main_program(const std::string& clave);

}  // namespace orvel
