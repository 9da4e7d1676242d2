// Compiles control/state/var_currwindwave.hpp on its own: it declares the block and its instance.
#include "control/state/var_currwindwave.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_currwindwave), orvel::var_currwindwave_block>);
