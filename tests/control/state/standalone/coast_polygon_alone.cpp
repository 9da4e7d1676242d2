// Compiles control/state/coast_polygon.hpp on its own.
#include "control/state/coast_polygon.hpp"

#include <type_traits>

static_assert(std::is_aggregate_v<orvel::coast_polygon>);
