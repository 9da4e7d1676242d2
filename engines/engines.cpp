#include "engines/engines.hpp"

#include "common/errors.hpp"

namespace orvel {

// Until an engine is built, a run that reaches it ends naming it.

void hns2d(const std::string&, const farray<coast_polygon>&) { not_built("hns2d"); }

}  // namespace orvel
