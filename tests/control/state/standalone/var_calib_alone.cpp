// Compiles control/state/var_calib.hpp on its own: it declares the block and its instance.
#include "control/state/var_calib.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_calib), orvel::var_calib_block>);
