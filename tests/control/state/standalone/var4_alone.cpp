// Compiles control/state/var4.hpp on its own: it declares the block and its instance.
#include "control/state/var4.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var4), orvel::var4_block>);
