// Directions in degrees clockwise from north turned into east and north
// components, with the single-precision pi of the model's constants.
#pragma once

#include <cmath>

namespace orvel {

// Single-precision pi of the direction conversions, as a double.
inline constexpr double pi_direction = static_cast<double>(3.14159f);

struct east_north {
  double east;
  double north;
};

// A speed or height s going towards direction theta.
inline east_north towards_direction(double s, double theta) {
  const double a = theta * pi_direction / 180.0;
  return {s * std::sin(a), s * std::cos(a)};
}

// A speed or height s coming from direction theta: the components of where
// it goes.
inline east_north from_direction(double s, double theta) {
  const east_north t = towards_direction(s, theta);
  return {-t.east, -t.north};
}

}  // namespace orvel
