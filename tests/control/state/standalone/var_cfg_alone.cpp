// Compiles control/state/var_cfg.hpp on its own: it declares the block and its instance.
#include "control/state/var_cfg.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_cfg), orvel::var_cfg_block>);
