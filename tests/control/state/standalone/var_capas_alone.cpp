// Compiles control/state/var_capas.hpp on its own: it declares the block and its instance.
#include "control/state/var_capas.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_capas), orvel::var_capas_block>);
