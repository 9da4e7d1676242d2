// Compiles control/state/var_costa.hpp on its own: it declares the block and its instance.
#include "control/state/var_costa.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_costa), orvel::var_costa_block>);
