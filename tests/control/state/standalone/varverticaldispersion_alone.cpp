// Compiles control/state/varverticaldispersion.hpp on its own: it declares the block and its instance.
#include "control/state/varverticaldispersion.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::varverticaldispersion), orvel::varverticaldispersion_block>);
