// Compiles control/state/var_hns_extra.hpp on its own: it declares the block and its instance.
#include "control/state/var_hns_extra.hpp"

#include <type_traits>

static_assert(std::is_same_v<decltype(orvel::var_hns_extra), orvel::var_hns_extra_block>);
