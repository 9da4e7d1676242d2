// The last processes of a chemical's step in the sea: sorption of dissolved
// mass to suspended sediment, volatilisation of dissolved mass to the air
// and first-order degradation; the running totals are kept in double
// precision.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "control/state/all.hpp"
#include "fate/hns_particle_mass.hpp"
#include "fate/hns_water.hpp"
#include "fate/wave_entrainment.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// x less its fraction f, in double precision: a step's loss can be far below
// the resolution of single precision (a rate of 0.01 per day over 1 s steps
// takes 1.2e-7 of the mass per step), and millions of such steps must add up
// to the decay over the whole run.
double decayed(double x, double f) { return x - x * f; }

// Decays a compartment; returns its value before the decay.
double decay(double& x, double f) {
  const double before = x;
  x = decayed(before, f);
  return before;
}

}  // namespace

void settling(int32_t spill) {
  auto& mb = var4;
  // Partition coefficient 10^(0.983 log Kow + 0.00028) in L/kg times the
  // sediment load in kg/L (mg/L times 1e-6).
  const float kp = std::pow(10.0f, 0.983f * var_spill.logkow(spill) + 0.00028f);
  const float k = kp * (var_spill.sedimentsconcentration(spill) * 1e-6f);
  const float step = mb.mass_diss_dt(spill);
  const float ms = k * (step / (1.0f + k));
  mb.mass_diss_cumul(spill) -= ms;
  // The sorbed mass leaves the slick-borne and column-borne parts in
  // proportion to the step's dissolution.
  if (step != 0.0f) {
    mb.mass_diss_surf_cumul(spill) -= mb.mdissolved_surf * ms / step;
    mb.mass_diss_column_cumul(spill) -= mb.mdissolved_col * ms / step;
  }
  mb.mass_sed_cumul(spill) += ms;
}

void volatilize(int32_t spill) {
  auto& mb = var4;
  const auto& sp = var_spill;
  // Mixing depth: half the wave height, else half the wind-sea height, else
  // the vertical diffusion length of the step.
  const float h_wave = static_cast<float>(wave_height_in_use());
  const double wind = var_currwindwave.wind10(spill);
  float h;
  if (h_wave != 0.0f) {
    h = 0.5f * h_wave;
  } else if (wind != 0.0) {
    h = 0.5f * wind_sea_height(wind);
  } else {
    h = std::sqrt(2.0f * var_cfg.diffusioncoeff_kz(spill) * var_run.deltat);
  }

  // Henry constant, Pa m3/mol.
  const float mw = sp.hnsmolweight(spill);
  const float hc = (1000.0f * sp.vaporpressure(spill)) / ((sp.watersolubility(spill) * 0.001f) / mw);
  const double ms = mb.mass_diss_surf_cumul(spill);
  double v = 0.0;
  if (hc > 30.3975f) {
    // Liquid- and gas-film coefficients of 20 and 3000 cm/h scaled by the
    // molar mass, in m/s; the dimensionless Henry constant.
    const float kl = std::sqrt(44.0f / mw) * 20.0f * 2.7777778e-6f;
    const float kg = std::sqrt(18.0f / mw) * 3000.0f * 2.7777778e-6f;
    const float hd = hc / (8314.0f * sp.airtemperature(spill));
    const float kv = kl * hd * kg / (kl + hd * kg);
    // dMs/dt = -(Kv / h) Ms, integrated exactly over the step so that the
    // result does not depend on the step.  A layer of no depth (no waves,
    // wind or vertical diffusion) holds nothing back: the limit of the
    // exchange is the whole slick-borne part.
    v = h != 0.0f ? std::min(ms, -ms * std::expm1(-static_cast<double>(kv / h * var_run.deltat))) : ms;
  }
  mb.mass_diss_surf_cumul(spill) = ms - v;
  if (var_run.sim__2d_3d == 1) {
    mb.mass_diss_cumul(spill) -= v;
  } else {
    mb.mass_diss_cumul(spill) = mb.mass_diss_surf_cumul(spill) + mb.mass_diss_column_cumul(spill);
  }
  mb.mass_vol_cumul(spill) += v;
}

void degrade(int32_t spill) {
  auto& mb = var4;
  // The share of the mass that decays over the step, 1 - e^(-k dt), in
  // double precision: exact for any step, so that a day of 1 s steps decays
  // as much as one step of a day.
  const double f = -std::expm1(-(static_cast<double>(var_spill.degradation_rate(spill)) / 86400.0 *
                                 static_cast<double>(var_run.deltat)));
  const double surf = decay(mb.mass_surf(spill), f);
  const double beached = decay(mb.mass_beached(spill), f);
  const double column = decay(mb.mass_column(spill), f);
  const double floor = decay(mb.mass_floor(spill), f);
  const double dispersed = decay(mb.mass_disp_cumul(spill), f);
  const double dissolved = decay(mb.mass_diss_cumul(spill), f);
  const double sorbed = decay(mb.mass_sed_cumul(spill), f);
  mb.mass_degr_cumul(spill) += (surf + column + dispersed + dissolved + (beached + floor + sorbed)) * f;

  // The two parts of the dissolved mass decay with it: dissolution and
  // volatilisation rebuild the 3-D total from them.
  decay(mb.mass_diss_surf_cumul(spill), f);
  decay(mb.mass_diss_column_cumul(spill), f);

  // The particles carry the 3-D compartments from one step to the next: the
  // droplets of those in a decaying compartment decay too, or the next
  // re-sum would bring the lost mass back.
  if (var_run.sim__2d_3d == 2) {
    const int32_t np = var_run.particle_number;
    const int32_t* state = var_part.indp.ptr(1, spill);
    float* equiv = var_hns_extra.equiv_part.ptr(1, spill);
    double* mass = mb.massparticle.ptr(1, spill);
    parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
      for (int64_t j = first; j < last; ++j) {
        const int32_t st = state[j];
        if (st == indp_surf || st == indp_beached || st == indp_column || st == indp_floor) {
          set_particle_mass(equiv[j], mass[j], decayed(static_cast<double>(equiv[j]) * mass[j], f));
        }
      }
    });
  }
}

}  // namespace orvel
