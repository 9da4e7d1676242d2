// Size checks of the arrays handed to the per-step forcing routines: one
// comparison per array and call, so that a field or result shorter than the
// grid or the particle count it is used with is never read or written past
// its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvel::forcing_detail {

// Throws std::length_error when an array of `have` values is used for
// `want` (> 0) values.
inline void need(std::size_t have, int64_t want, const char* routine, const char* what) {
  if (want > 0 && static_cast<int64_t>(have) < want) {
    throw std::length_error(std::string(routine) + ": " + what + " holds " + std::to_string(have) +
                            " values where " + std::to_string(want) + " are needed");
  }
}

}  // namespace orvel::forcing_detail
