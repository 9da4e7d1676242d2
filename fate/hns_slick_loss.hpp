// The loss of a chemical's floating slick to the air and to the sea within
// one step.  Evaporation and dissolution both draw on the slick's mass at
// rates set by its area: while the slick is thicker than its minimum its
// area holds and so do their rates; once it is as thin as it gets, its area
// follows its volume and both rates fall with its mass, so that the slick
// decays exponentially.  Each process takes its own rate's share of the
// loss all along the step, so the split hangs neither on the order in
// which they run nor on the step.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvel {

struct slick_loss {
  double evaporated = 0.0;
  double dissolved = 0.0;
};

// The slick's loss over the step from its floating mass m (kg) and the
// masses e and d (kg) that evaporation and dissolution would take over the
// whole step at their rates of its start.  Below the floating mass m_thin
// (kg; 0 for none) the slick is at its minimum thickness and its area falls
// in proportion to its mass; with d_follows_mass the dissolution's rate
// also follows the floating share (a slick that keeps its first area
// dissolves in proportion to what still floats).  In closed form, or with
// a dissolution that follows the mass by fourth-order Runge-Kutta over
// `pieces` equal pieces of the step; the loss never passes what floats.  Nothing is lost
// from no mass or at no rate; negative or non-number rates count as 0.
inline slick_loss shared_slick_loss(double m, double e, double d, double m_thin, bool d_follows_mass,
                                    int32_t pieces) {
  if (!(e > 0.0)) e = 0.0;
  if (!(d > 0.0)) d = 0.0;
  if (!(m > 0.0) || !(e + d > 0.0)) return {};
  const double thin = m_thin > 0.0 ? m_thin : 0.0;
  const double rates_sum = e + d;
  // Split of a loss by the rates (all of it, exactly, to a single process).
  auto split = [&](double lost) -> slick_loss {
    if (d == 0.0) return {lost, 0.0};
    if (e == 0.0) return {0.0, lost};
    const double evaporated = lost * (e / rates_sum);
    return {evaporated, lost - evaporated};
  };
  if (!(d_follows_mass && d > 0.0)) {
    // Closed forms: the rates hold while the slick is thicker than its
    // minimum (at most all that floats goes); from there on the slick
    // decays exponentially over the rest of the step.
    if (!(m - rates_sum < thin)) return {e, d};
    if (thin == 0.0) return split(m);
    const double linear = m > thin ? m - thin : 0.0;
    const double rest = 1.0 - linear / rates_sum;  // the share of the step left
    const double from = m > thin ? thin : m;
    return split(linear - from * std::expm1(-rest * rates_sum / from));
  }
  // The area at floating mass x over that of the start of the step.
  const double start_area = thin > 0.0 ? std::min(m, thin) : 1.0;
  auto area = [&](double x) { return thin > 0.0 ? std::min(x, thin) / start_area : 1.0; };
  struct rates {
    double e, d;
  };
  auto at = [&](double x) {
    x = std::max(x, 0.0);
    const double a = area(x);
    return rates{e * a, d * a * (d_follows_mass ? x / m : 1.0)};
  };
  const int32_t n = std::max<int32_t>(pieces, 1);
  const double h = 1.0 / static_cast<double>(n);
  double x = m;
  slick_loss lost;
  for (int32_t i = 0; i < n && x > 0.0; ++i) {
    const rates k1 = at(x);
    const rates k2 = at(x - 0.5 * h * (k1.e + k1.d));
    const rates k3 = at(x - 0.5 * h * (k2.e + k2.d));
    const rates k4 = at(x - h * (k3.e + k3.d));
    double de = h / 6.0 * (k1.e + 2.0 * k2.e + 2.0 * k3.e + k4.e);
    double dd = h / 6.0 * (k1.d + 2.0 * k2.d + 2.0 * k3.d + k4.d);
    if (!(de + dd < x)) {
      // The rest goes, in the shares of the rates of the piece.
      const double share = de + dd > 0.0 ? x / (de + dd) : 0.0;
      de *= share;
      dd = x - de;
    }
    lost.evaporated += de;
    lost.dissolved += dd;
    x -= de + dd;
  }
  if (d == 0.0) lost.dissolved = 0.0;
  return lost;
}

// The slick of the spill as the loss of the step sees it: the floating mass
// below which it is at its minimum thickness over its present area, and
// whether its dissolution follows its floating share.
double thin_slick_mass(int32_t spill);
bool dissolution_follows_mass(int32_t spill);

// Pieces of at most 10 s into which the step is cut for the loss.
int32_t slick_loss_pieces();

// The mass (kg) that the slick of the spill would give to the sea over the
// step at the dissolution rate of its present state (the 2-D routine's
// coefficient, or in 3-D the computed one), with the wind its evaporation
// has just set.
float slick_dissolution_at_rate(int32_t spill);

// The slick's dissolution of the step from its floating mass `floating`
// and the mass `at_rate` of its rate over the step: the share its
// evaporation of the step left it (slick_diss_share, then cleared), or when
// the evaporation has not shared the step's loss with it, its own loss
// floating (1 - exp(-at_rate / floating)).
double slick_dissolution_of_step(int32_t spill, double at_rate, double floating);

}  // namespace orvel
