// Compiles control/state/var_mallas.hpp on its own: it declares the block and its instance.
#include "control/state/var_mallas.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_mallas), orvel::var_mallas_block>);
