// The laws by which a floating oil slick weathers within one model step,
// shared by the routines that advance it (evaporation, water uptake) and by
// natural dispersion, which follows the viscosity they give the slick along
// the step.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "control/state/all.hpp"

namespace orvel {

// Number of pieces of at most `longest` seconds into which a step of dt
// seconds is cut where a law has no closed form over it (at least 1, at
// most 1,000,000).
inline int32_t pieces_of_step(double dt, double longest) {
  const double n = std::ceil(std::fabs(dt) / longest);
  if (!(n >= 1.0)) return 1;
  return n > 1.0e6 ? 1000000 : static_cast<int32_t>(n);
}

// The evaporation law is integrated in pieces of at most 10 s: the step's
// fraction is then within about 1e-8 of the law's.
constexpr double evaporation_piece_s = 10.0;

// Evaporation of a slick over an exposure h = dt A K / V0 (the step's
// area-time-coefficient product over the spilled volume): the evaporated
// fraction F of the oil grows as dF/dh = (1 - F) E(F), E(F) = exp(6.3 -
// 10.3 (T0 + TG F) / Tw), in double precision.  The factor 1 - F is the
// floating share of the oil, which shrinks as it evaporates; E falls
// steeply as the boiling point T0 + TG F rises.
struct evaporation_law {
  double t0 = 0.0, tg = 0.0, tw = 0.0;

  double rate(double f) const {
    return std::exp(static_cast<double>(6.3f) - static_cast<double>(10.3f) * (t0 + tg * f) / tw);
  }
  double slope() const { return static_cast<double>(10.3f) * tg / tw; }

  // The fraction reached from f over the exposure h, cut into `pieces`
  // equal pieces; +infinity when the law runs away (TG < 0 makes the rate
  // grow with the fraction without bound).  Over a piece the law
  // dF/dh = (1 - F) E(Fs) exp(-b (F - Fs)), b = 10.3 TG / Tw, is integrated
  // exactly for E, ln(1 + b (1 - F) E h) / b (or (1 - F) E h when b = 0),
  // with the floating share 1 - F of the middle of the piece, where the
  // same form with the share of its start puts F.
  double advance(double f, double h, int32_t pieces) const {
    const double b = slope();
    const double hp = h / static_cast<double>(pieces);
    auto piece = [b](double x) {
      if (b == 0.0) return x;
      if (b * x <= -1.0) return std::numeric_limits<double>::infinity();
      return std::log1p(b * x) / b;
    };
    for (int32_t i = 0; i < pieces && f < 1.0; ++i) {
      const double e = rate(f) * hp;
      const double half = piece(0.5 * (1.0 - f) * e);
      if (!(half < std::numeric_limits<double>::infinity())) return half;
      const double d = piece(std::max(0.0, 1.0 - (f + half)) * e);
      if (!(d < std::numeric_limits<double>::infinity())) return d;
      f = std::min(1.0, f + d);
    }
    return f;
  }
};

// The evaporation law of spill s, from its distillation curve and the water
// temperature.
inline evaporation_law evaporation_law_of(int32_t s) {
  const auto& sp = var_spill;
  return {static_cast<double>(sp.t0(s)), static_cast<double>(sp.tg(s)), static_cast<double>(sp.watertemperature(s))};
}

// Water-in-oil emulsion: dY/dt = k (1 - Y / Ymax), k = 1.085e-6 (1 + U)^2
// per second, integrated exactly: over t seconds the water fraction y closes
// the share 1 - exp(-k t / Ymax) of its gap to ymax.  Gives the gain.
inline double water_gain(double y, double ymax, double wind, double t) {
  const double u1 = 1.0 + wind;
  const double k = static_cast<double>(1.085e-6f) * (u1 * u1);
  return -(ymax - y) * std::expm1(-k * t / ymax);
}

}  // namespace orvel
