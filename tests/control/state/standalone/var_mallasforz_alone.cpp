// Compiles control/state/var_mallasforz.hpp on its own: it declares the block and its instance.
#include "control/state/var_mallasforz.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_mallasforz), orvel::var_mallasforz_block>);
