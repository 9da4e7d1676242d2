// Compiles control/state/var_disp.hpp on its own: it declares the block and its instance.
#include "control/state/var_disp.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_disp), orvel::var_disp_block>);
