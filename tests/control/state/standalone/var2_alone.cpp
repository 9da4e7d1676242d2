// Compiles control/state/var2.hpp on its own: it declares the block and its instance.
#include "control/state/var2.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var2), orvel::var2_block>);
