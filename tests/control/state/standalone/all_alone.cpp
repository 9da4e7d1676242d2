// Compiles control/state/all.hpp on its own.
#include "control/state/all.hpp"
