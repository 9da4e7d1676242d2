// Evaporated fraction of an oil slick over one step, from the distillation
// curve, the water temperature, the wind and the exposed area.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "common/repeated_sum.hpp"
#include "control/state/all.hpp"
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

// diff_evp from the exposure per unit volume h of the step: the law dF/dh =
// E(F) = exp(6.3 - 10.3 (T0 + TG F) / T), integrated exactly over the step
// from the fraction F at its start, so that the result does not depend on
// the step: F + (1 / b) ln(1 + b E(F) h) with b = 10.3 TG / T (E(F) h
// itself when TG is 0; without bound when TG < 0 makes the law explode
// within the step), at most the maximum fraction.  Formed in double
// precision.  A spill of no volume has no exposure (h is 0, not 0/0).
void evaporated_fraction(int32_t s, float h) {
  const auto& sp = var_spill;
  const double tw = static_cast<double>(sp.watertemperature(s));
  const double e = std::exp(static_cast<double>(6.3f) -
                            static_cast<double>(10.3f) *
                                (static_cast<double>(sp.t0(s)) + static_cast<double>(sp.tg(s)) * var4.per_evp(s)) / tw);
  const double b = static_cast<double>(10.3f) * static_cast<double>(sp.tg(s)) / tw;
  const double x = e * static_cast<double>(h);
  const double fmax = static_cast<double>(sp.maxevaporation(s) / 100.0f);
  double d;
  if (b == 0.0) {
    d = x;
  } else if (b * x <= -1.0) {
    d = fmax;
  } else {
    d = std::log1p(b * x) / b;
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
