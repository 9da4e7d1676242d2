// Compiles control/state/var_rk.hpp on its own: it declares the block and its instance.
#include "control/state/var_rk.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_rk), orvel::var_rk_block>);
