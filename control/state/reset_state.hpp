// Puts every shared state block back to its starting values.
#pragma once

namespace orvel {

void reset_state();

}  // namespace orvel
