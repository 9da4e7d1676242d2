// Natural dispersion: the breaking-wave state and the entrainment rates of
// ten droplet-size classes below 70 micrometres, shared by oil and chemical
// slicks, and the mass that breaking waves drive from an oil slick into the
// water column over one step.
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "common/repeated_sum.hpp"
#include "control/state/all.hpp"
#include "fate/oil_weathering.hpp"
#include "fate/wave_entrainment.hpp"

namespace orvel {

double wave_height_in_use() {
  const auto& h = var_currwindwave.hwavec;
  const int32_t i = var1.i_ola;
  return h.allocated() && i >= 1 && i <= h.size(1) ? h(i) : 0.0;
}

float wind_sea_height(double u) {
  return static_cast<float>(std::pow(u, static_cast<double>(1.23f)) * static_cast<double>(0.17253f) /
                            static_cast<double>(9.81f));
}

float wind_breaking_height(double u) { return 0.70710677f * wind_sea_height(u); }

void entrainment_rates(int32_t spill, largest_droplet largest) {
  auto& w = var_currwindwave;
  auto& vd = varverticaldispersion;
  const int32_t np = var_run.particle_number;

  // Dispersion coefficient C* from the slick's viscosity (cSt).
  const double nu = var4.visc(spill);
  const double cstar_d = nu < 132.0 ? std::exp(static_cast<double>(-0.1023f) * std::log(nu) + static_cast<double>(7.572f))
                                    : std::exp(static_cast<double>(-1.8927f) * std::log(nu) + static_cast<double>(16.313f));
  vd.cstar = static_cast<float>(cstar_d);

  // Mean wind over the surface particles, divided by all particles; 2 m/s
  // when there is no wind at the surface (or no surface particle).
  const double* wx = w.wintx.data();
  const double* wy = w.winty.data();
  const int32_t* indp = var_part.indp.ptr(1, spill);
  // The speeds on the threads, their sum in particle order (a speed is never
  // negative: -1 marks a particle off the surface).
  float sum = 0.0f;
  double speed = 0.0;
  if (one_wind_speed(wx, wy, np, speed)) {
    // One wind for every particle: the sum of as many equal speeds as there
    // are surface particles.
    sum = repeated_sum_single(speed, parallel_count(np, [indp](int64_t j) { return indp[j] == 1; }));
  } else {
    in_item_order<double>(
        np, [&](int64_t j) { return indp[j] == 1 ? std::sqrt(wx[j] * wx[j] + wy[j] * wy[j]) : -1.0; },
        [&](int64_t, double speed_j) {
          if (!(speed_j < 0.0)) sum = static_cast<float>(static_cast<double>(sum) + speed_j);
        });
  }
  if (sum == 0.0f) sum = static_cast<float>(2 * np);
  const float u = sum / static_cast<float>(np);
  w.wind10(spill) = static_cast<double>(u);

  // Breaking-wave height, dissipated energy, period and the fraction of the
  // surface hit per second.
  const double h = wave_height_in_use();
  const double hb = h != 0.0 ? static_cast<double>(0.70710677f) * h
                             : static_cast<double>(wind_breaking_height(static_cast<double>(u)));
  w.hbreak = hb;
  const double dbwe = static_cast<double>(0.033354003f * var_spill.waterdensity(spill)) * (hb * hb);
  w.dbwe = dbwe;
  const double ts = static_cast<double>(8.13f * u / 9.81f);
  w.ts = ts;
  const double f = u < 6.0f ? static_cast<double>(3.0e-6f * std::pow(u, 3.5f)) / ts
                            : static_cast<double>(0.032f * (u - 6.0f)) / ts;
  w.fracsurfacehit = f;

  // Droplet classes around the median size d50 (micrometres), from 0.1 d50
  // to the largest droplet.
  const float d50 = median_droplet(nu);
  const float dmax = largest == largest_droplet::twice_median ? (d50 + d50) * 1e-6f : 7e-5f;
  const float dd = store_droplet_classes(d50, dmax);
  const float dmin = vd.dmin_disp;
  const double k0 = ((static_cast<double>(vd.cstar) * 0.75) * f) * static_cast<double>(dd);
  const double d057 = std::pow(dbwe, static_cast<double>(0.57f));
  float qtot = 0.0f;
  for (int32_t k = 1; k <= 10; ++k) {
    const float d = static_cast<float>(k - 1) * dd + (0.5f * dd + dmin);
    // Droplets of 70 micrometres or more resurface: no entrainment.
    const float q = d < 7e-5f ? static_cast<float>(d057 * k0 * static_cast<double>(std::pow(d, 0.7f))) : 0.0f;
    vd.dropdiam[static_cast<std::size_t>(k - 1)] = d;
    vd.qd[static_cast<std::size_t>(k - 1)] = q;
    qtot += q;
  }
  vd.qtot = qtot;
}

void verticaldispersion(int32_t spill, farray<double, 1>& slick_area) {
  entrainment_rates(spill, largest_droplet::twice_median);
  const float a = static_cast<float>(var_cfg.spreading__y_n == 1 ? slick_area(spill) : rectangle_area(spill));
  var4.massdisp(spill) = static_cast<double>(weathering_seconds(spill) * varverticaldispersion.qtot * a);
}

}  // namespace orvel
