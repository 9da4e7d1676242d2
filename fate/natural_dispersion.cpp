// Natural dispersion: the breaking-wave state and the entrainment rates of
// ten droplet-size classes below 70 micrometres, shared by oil and chemical
// slicks, and the mass that breaking waves drive from an oil slick into the
// water column over one step, as the slick's viscosity rises within it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "common/repeated_sum.hpp"
#include "control/state/all.hpp"
#include "fate/oil_step_laws.hpp"
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

namespace {

// The breaking sea of a step, as the droplet classes need it: the mean wind
// and the fraction of the surface hit per second, and the dissipated energy
// raised to the power 0.57.
struct breaking_sea {
  float u = 0.0f;
  double f = 0.0;
  double d057 = 0.0;
};

// The mean wind of the surface particles over all the spill's particles
// (2 m/s when calm or when nothing floats) into wind10(spill); the breaking
// height (from the waves in use, else from the wind sea), the dissipated
// energy, the period and the fraction of the surface hit per second into
// var_currwindwave.
breaking_sea breaking_waves(int32_t spill) {
  auto& w = var_currwindwave;
  const int32_t np = var_run.particle_number;

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
  const double dbwe = static_cast<double>(0.033354003f * var_spill.waterdensity(spill)) * (hb * hb);
  const double ts = static_cast<double>(8.13f * u / 9.81f);
  const double f = u < 6.0f ? static_cast<double>(3.0e-6f * std::pow(u, 3.5f)) / ts
                            : static_cast<double>(0.032f * (u - 6.0f)) / ts;
  if (!among_units()) {
    w.hbreak = hb;
    w.dbwe = dbwe;
    w.ts = ts;
    w.fracsurfacehit = f;
  }
  return {u, f, std::pow(dbwe, static_cast<double>(0.57f))};
}

// The ten droplet classes of a slick of kinematic viscosity nu (cSt) under
// the breaking sea: their centres d (m) and entrainment rates q (kg/m2/s),
// and the sum of the rates.
struct droplet_classes {
  std::array<float, 10> d{};
  std::array<float, 10> q{};
  float qtot = 0.0f;
};

// The classes from the dispersion coefficient C* of the viscosity and the
// droplet sizes around the median d50 (micrometres), from 0.1 d50 to the
// largest droplet; with `store`, C* and the sizes into varverticaldispersion.
droplet_classes classes_at(double nu, largest_droplet largest, const breaking_sea& sea, bool store) {
  const double cstar_d = nu < 132.0 ? std::exp(static_cast<double>(-0.1023f) * std::log(nu) + static_cast<double>(7.572f))
                                    : std::exp(static_cast<double>(-1.8927f) * std::log(nu) + static_cast<double>(16.313f));
  const float cstar = static_cast<float>(cstar_d);
  const float d50 = median_droplet(nu);
  const float dmax = largest == largest_droplet::twice_median ? (d50 + d50) * 1e-6f : 7e-5f;
  const float dmin = 1e-7f * d50;
  const float dd = (dmax - dmin) / 10.0f;
  if (store && !among_units()) {
    varverticaldispersion.cstar = cstar;
    store_droplet_classes(d50, dmax);
  }
  const double k0 = ((static_cast<double>(cstar) * 0.75) * sea.f) * static_cast<double>(dd);
  droplet_classes c;
  for (std::size_t k = 0; k < c.d.size(); ++k) {
    const float d = static_cast<float>(k) * dd + (0.5f * dd + dmin);
    // Droplets of 70 micrometres or more resurface: no entrainment.
    const float q = d < 7e-5f ? static_cast<float>(sea.d057 * k0 * static_cast<double>(std::pow(d, 0.7f))) : 0.0f;
    c.d[k] = d;
    c.q[k] = q;
    c.qtot += q;
  }
  return c;
}

void store_classes(const droplet_classes& c) {
  if (among_units()) return;
  auto& vd = varverticaldispersion;
  for (std::size_t k = 0; k < c.d.size(); ++k) {
    vd.dropdiam[k] = c.d[k];
    vd.qd[k] = c.q[k];
  }
  vd.qtot = c.qtot;
}

// How the viscosity of an oil slick rises within the step: as its water
// uptake and its evaporation of the step go on (the laws of
// oil_step_laws.hpp), from the viscosity visc(spill) that the slick has at
// the start of the step.  Each rises the viscosity by its own factor, the
// emulsion's exp(c3 Y / (1 - c4 Y)) and the evaporation's exp(c6 F).
class viscosity_within_step {
 public:
  viscosity_within_step(int32_t spill, const breaking_sea& sea) : nu0_(var4.visc(spill)) {
    const auto& c = var_cfg;
    const auto& sp = var_spill;
    const auto& m = var4;
    c3_ = static_cast<double>(sp.c3);
    c4_ = static_cast<double>(sp.c4);
    c6_ = static_cast<double>(sp.c6(spill));
    // The water uptake that follows in the step, with the wind it will
    // take: the one just set, or with evaporation off the mean of all the
    // particles.
    const float ymax = sp.maxemulsification(spill) / 100.0f;
    if (c.emulsiono(spill) == 1 && ymax > 0.0f && m.agua(spill) < static_cast<double>(ymax)) {
      emulsifies_ = true;
      ymax_ = static_cast<double>(ymax);
      y0_ = static_cast<double>(m.aguatot(spill));
      wind_ = c.evaporo(spill) == 0 ? static_cast<double>(mean_wind_all(var_currwindwave.wintx.data(),
                                                                        var_currwindwave.winty.data(),
                                                                        var_run.particle_number))
                                    : static_cast<double>(sea.u);
      mooney0_ = mooney(m.agua(spill));
    }
    // The evaporation of the step, which has just run.
    if (c.evaporo(spill) == 1 && m.evp_exposure(spill) > 0.0) {
      evaporates_ = true;
      law_ = evaporation_law_of(spill);
      exposure_ = m.evp_exposure(spill);
      f0_ = m.per_evp(spill);
      fmax_ = static_cast<double>(sp.maxevaporation(spill) / 100.0f);
      f_ = f0_;
    }
  }

  // Whether the viscosity changes within the step at all.
  bool changes() const { return emulsifies_ || evaporates_; }

  // The viscosity at the times t of the step, called in increasing order
  // from 0 up to the step: the evaporation is carried on from the last time
  // asked for, the water uptake is exact at any time.
  double at(double t, double dt) {
    double factor = 0.0;
    if (emulsifies_) {
      const double y = y0_ + water_gain(y0_, ymax_, wind_, t);
      factor += mooney(std::min(y, ymax_)) - mooney0_;
    }
    if (evaporates_) {
      if (t > t_ && f_ < fmax_) {
        f_ = law_.advance(f_, exposure_ * (t - t_) / dt, pieces_of_step(t - t_, evaporation_piece_s));
      }
      t_ = t;
      factor += c6_ * (std::max(std::min(f_, fmax_), f0_) - f0_);
    }
    return nu0_ * std::exp(factor);
  }

 private:
  double mooney(double y) const { return c3_ * y / (1.0 - c4_ * y); }

  double nu0_;
  double c3_ = 0.0, c4_ = 0.0, c6_ = 0.0;
  bool emulsifies_ = false;
  double ymax_ = 0.0, y0_ = 0.0, wind_ = 0.0, mooney0_ = 0.0;
  bool evaporates_ = false;
  evaporation_law law_;
  double exposure_ = 0.0, f0_ = 0.0, fmax_ = 0.0, f_ = 0.0, t_ = 0.0;
};

}  // namespace

void entrainment_rates(int32_t spill, largest_droplet largest) {
  const breaking_sea sea = breaking_waves(spill);
  store_classes(classes_at(var4.visc(spill), largest, sea, true));
}

void verticaldispersion(int32_t spill, farray<double, 1>& slick_area) {
  const breaking_sea sea = breaking_waves(spill);
  // C* and the droplet sizes stored are those of the start of the step.
  const droplet_classes start = classes_at(var4.visc(spill), largest_droplet::twice_median, sea, true);
  viscosity_within_step visc(spill, sea);
  float qtot = start.qtot;
  if (!visc.changes()) {
    store_classes(start);
  } else {
    // The rates of the step are their means over it (Simpson's rule over
    // pieces of at most 10 s) as the viscosity rises: each class's rate the
    // mean of its rates, its diameter the mean of its diameters weighted by
    // its rates (the first diameter while it entrains nothing).
    const double dt = static_cast<double>(weathering_seconds(spill));
    const int32_t n = 2 * pieces_of_step(0.5 * dt, 10.0);
    std::array<double, 10> rate{}, rate_diameter{};
    for (int32_t j = 0; j <= n; ++j) {
      const double t = dt * static_cast<double>(j) / static_cast<double>(n);
      const droplet_classes c =
          j == 0 ? start : classes_at(visc.at(t, dt), largest_droplet::twice_median, sea, false);
      const double weight = j == 0 || j == n ? 1.0 : (j % 2 == 1 ? 4.0 : 2.0);
      for (std::size_t k = 0; k < c.q.size(); ++k) {
        rate[k] += weight * static_cast<double>(c.q[k]);
        rate_diameter[k] += weight * static_cast<double>(c.q[k]) * static_cast<double>(c.d[k]);
      }
    }
    droplet_classes mean;
    for (std::size_t k = 0; k < mean.q.size(); ++k) {
      mean.q[k] = static_cast<float>(rate[k] / (3.0 * static_cast<double>(n)));
      mean.d[k] = rate[k] > 0.0 ? static_cast<float>(rate_diameter[k] / rate[k]) : start.d[k];
      mean.qtot += mean.q[k];
    }
    store_classes(mean);
    qtot = mean.qtot;
  }
  const float a = static_cast<float>(var_cfg.spreading__y_n == 1 ? slick_area(spill) : rectangle_area(spill));
  var4.massdisp(spill) = static_cast<double>(weathering_seconds(spill) * qtot * a);
}

}  // namespace orvel
