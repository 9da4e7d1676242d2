// Compiles control/state/var_spill.hpp on its own: it declares the block and its instance.
#include "control/state/var_spill.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_spill), orvel::var_spill_block>);
