// Compiles control/state/reset_state.hpp on its own.
#include "control/state/reset_state.hpp"
