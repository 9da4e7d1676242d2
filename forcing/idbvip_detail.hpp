// Helpers shared by the routines of the scattered-data interpolator.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "common/errors.hpp"
#include "forcing/idbvip.hpp"

namespace orvel::idbvip_detail {

// 1-based view of a span, checked when ORVEL_BOUNDS_CHECK is defined.
template <typename T>
class one_based {
 public:
  one_based(std::span<T> s, const char* name) : s_(s), name_(name) {}
  T& operator()(int64_t i) const {
#ifdef ORVEL_BOUNDS_CHECK
    if (i < 1 || i > static_cast<int64_t>(s_.size())) {
      throw std::out_of_range(std::string("array ") + name_ + ": index " + std::to_string(i) +
                              " is outside 1:" + std::to_string(s_.size()));
    }
#endif
    return s_[static_cast<std::size_t>(i - 1)];
  }

 private:
  std::span<T> s_;
  const char* name_;
};

// Throws when an argument array is shorter than the routine needs: a
// programming error of the caller, not an input error.
inline void need(std::size_t have, int64_t want, const char* routine, const char* name) {
  if (want > 0 && static_cast<int64_t>(have) < want) {
    throw std::invalid_argument(std::string(routine) + ": array " + name + " holds " +
                                std::to_string(have) + " elements, " + std::to_string(want) +
                                " needed");
  }
}

// Ends the run with a fatal error of routine `head` ("IDBVIP - Fatal
// error!"): a line holding one blank, the head line and the reason line, on
// standard output.
[[noreturn]] inline void fatal(const char* head, const char* reason) {
  throw run_stop(std::string(" \n") + head + "\n" + reason, run_stop::stream::out,
                 interpolator_stop_status);
}

// cross(A, B; P) = (xA - xP)(yB - yP) - (xB - xP)(yA - yP)
inline float cross(float xa, float ya, float xb, float yb, float xp, float yp) {
  return (xa - xp) * (yb - yp) - (xb - xp) * (ya - yp);
}
// dot(A, B; P) = (xA - xP)(xB - xP) + (yA - yP)(yB - yP)
inline float dot(float xa, float ya, float xb, float yb, float xp, float yp) {
  return (xa - xp) * (xb - xp) + (ya - yp) * (yb - yp);
}

inline constexpr float ratio = 1.0e-6f;

// The triangle whose worst edge test at (x, y) is least negative, lowest
// number on ties: where a point that no region claims (rounding at region
// borders, or a coordinate that is not a number) is evaluated.
int32_t nearest_triangle(std::span<const float> xd, std::span<const float> yd, int32_t nt,
                         std::span<const int32_t> ipt, float x, float y);

}  // namespace orvel::idbvip_detail
