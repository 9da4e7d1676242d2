// Compiles control/state/var1.hpp on its own: it declares the block and its instance.
#include "control/state/var1.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var1), orvel::var1_block>);
