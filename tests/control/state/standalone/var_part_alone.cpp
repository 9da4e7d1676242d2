// Compiles control/state/var_part.hpp on its own: it declares the block and its instance.
#include "control/state/var_part.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_part), orvel::var_part_block>);
