#include "control/scenario.hpp"

#include "common/errors.hpp"

namespace orvel {

void leo_cfg(const std::string&) { not_built("leo_cfg"); }

void leo_param_calib(const std::string&) { not_built("leo_param_calib"); }

}  // namespace orvel
