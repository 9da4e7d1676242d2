// Compiles control/state/var_run.hpp on its own: it declares the block and its instance.
#include "control/state/var_run.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_run), orvel::var_run_block>);
