// Evaporated fraction of an oil slick over one step, from the distillation
// curve, the water temperature, the wind and the exposed area.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/parallel.hpp"
#include "common/repeated_sum.hpp"
#include "control/state/all.hpp"
#include "fate/oil_step_laws.hpp"
#include "fate/oil_weathering.hpp"

namespace orvel {

bool one_wind_speed(const double* wx, const double* wy, int32_t n, double& speed) {
  if (n < 1) return false;
  // On the threads: the columns were written there, a block by the thread
  // that reads it here.  A NaN equals nothing.
  const double x0 = wx[0], y0 = wy[0];
  if (!parallel_all(n, [=](int64_t j) { return wx[j] == x0 && wy[j] == y0; })) return false;
  // Equal components give equal speeds (a zero's sign is lost in the square).
  speed = std::sqrt(wx[0] * wx[0] + wy[0] * wy[0]);
  return true;
}

float mean_wind_all(const double* wx, const double* wy, int32_t n) {
  // One wind for every particle: the sum of n equal speeds, without the n
  // dependent additions.
  double speed = 0.0;
  if (one_wind_speed(wx, wy, n, speed)) return repeated_sum_single(speed, n) / static_cast<float>(n);
  // The speeds on the threads, their sum in particle order.
  float sum = 0.0f;
  in_item_order<double>(
      n, [&](int64_t j) { return std::sqrt(wx[j] * wx[j] + wy[j] * wy[j]); },
      [&](int64_t, double speed) { sum = static_cast<float>(static_cast<double>(sum) + speed); });
  return sum / static_cast<float>(n);
}

namespace {

// Mean wind of the spill's particles into wind10; returns the mass-transfer
// coefficient K = 0.0015 U^0.78 (m/s).
float transfer_coefficient(int32_t s) {
  const auto& w = var_currwindwave;
  const float u = mean_wind_all(w.wintx.data(), w.winty.data(), var_run.particle_number);
  var_currwindwave.wind10(s) = static_cast<double>(u);
  return static_cast<float>(static_cast<double>(0.0015f) * std::pow(static_cast<double>(u), static_cast<double>(0.78f)));
}

// diff_evp from the exposure per unit volume h of the step: the law of
// oil_step_laws.hpp, dF/dh = (1 - F) E(F), E(F) = exp(6.3 - 10.3 (T0 + TG F)
// / T), integrated over the step from the fraction F0 at its start, so that
// the result does not depend on the step: the oil's fraction grows to F1,
// and the floating oil loses (F1 - F0) / (1 - F0) of itself, at most the
// maximum fraction (which it reaches at once when TG < 0 makes the law run
// away within the step).  The exposure is kept for the dispersion of the
// step, which follows the viscosity along it.  A spill of no volume has no
// exposure (h is 0, not 0/0).
void evaporated_fraction(int32_t s, float h) {
  const double fmax = static_cast<double>(var_spill.maxevaporation(s) / 100.0f);
  const double f0 = var4.per_evp(s);
  var4.evp_exposure(s) = static_cast<double>(h);
  double d = 0.0;
  if (f0 < 1.0) {
    const int32_t pieces = pieces_of_step(static_cast<double>(weathering_seconds(s)), evaporation_piece_s);
    const double f1 = evaporation_law_of(s).advance(f0, static_cast<double>(h), pieces);
    d = f1 < std::numeric_limits<double>::infinity() ? (f1 - f0) / (1.0 - f0) : fmax;
  }
  var4.diff_evp(s) = std::min(d, fmax);
}

// Exposure h = (area-time-coefficient product) / vol0, rounded to single
// precision; 0 for a spill of no volume.
float exposure(int32_t s, double product) {
  const double v = var_cfg.vol0(s);
  return v == 0.0 ? 0.0f : static_cast<float>(product / v);
}

}  // namespace

float weathering_seconds(int32_t spill) {
  const auto& dt = var4.weathering_dt;
  if (!dt.allocated() || spill < dt.lbound(1) || spill > dt.ubound(1)) return var_run.deltat;
  return dt(spill);
}

double rectangle_area(int32_t spill) {
  const double a = var_cfg.area0(spill);
  const auto& share = var_spill.area_share;
  if (!share.allocated() || spill < share.lbound(1) || spill > share.ubound(1)) return a;
  return a * share(spill);
}

void evaporacion(int32_t spill, farray<double, 1>& slick_area) {
  const float k = transfer_coefficient(spill);
  const float dt = weathering_seconds(spill);
  float h;
  if (var_cfg.spreading__y_n == 1) {
    const float a = static_cast<float>(slick_area(spill));
    h = exposure(spill, static_cast<double>(dt * a * k));
  } else {
    h = exposure(spill, static_cast<double>(dt) * rectangle_area(spill) * static_cast<double>(k));
  }
  evaporated_fraction(spill, h);
}

void evaporacion_spread(int32_t spill, farray<double, 1>& slick_area) {
  const float k = transfer_coefficient(spill);
  const float a = static_cast<float>(std::min(slick_area(spill), static_cast<double>(var_spill.area_maxima(spill))));
  evaporated_fraction(spill, exposure(spill, static_cast<double>(a * weathering_seconds(spill) * k)));
}

}  // namespace orvel
