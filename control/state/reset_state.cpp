#include "control/state/reset_state.hpp"

#include "control/state/var_run.hpp"

namespace orvel {

void reset_state() {
  var_run = var_run_block{};
}

}  // namespace orvel
