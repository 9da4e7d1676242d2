// Puts every shared state block back to its starting values.  Subsystems
// that hold open input files offer resets of their own (the forcing
// readers: reset_forcing_readers); the start-up and the tests call them.
#pragma once

namespace orvel {

void reset_state();

}  // namespace orvel
