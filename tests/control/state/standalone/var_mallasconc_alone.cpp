// Compiles control/state/var_mallasconc.hpp on its own: it declares the block and its instance.
#include "control/state/var_mallasconc.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_mallasconc), orvel::var_mallasconc_block>);
