#include "control/startup.hpp"

#include "common/text.hpp"
#include "control/control_files.hpp"

namespace orvel {

std::string run_key(int argc, const char* const* argv) {
  return fixlen(argc > 1 ? argv[1] : "", 4);
}

void main_program(const std::string& clave) { run(clave); }

}  // namespace orvel
