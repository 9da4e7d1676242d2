// Compiles control/state/var_blowout.hpp on its own: it declares the block and its instance.
#include "control/state/var_blowout.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_blowout), orvel::var_blowout_block>);
