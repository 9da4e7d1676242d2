// The last processes of a chemical's step in the sea: sorption of dissolved
// mass to suspended sediment, volatilisation of dissolved mass to the air
// and first-order degradation, all in single precision.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "control/state/all.hpp"
#include "fate/hns_water.hpp"
#include "fate/wave_entrainment.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// x less its fraction f, in single precision.
float decayed(float x, float f) { return x - x * f; }

// A double-precision compartment rounded to single precision and decayed;
// returns its rounded value before the decay.
float decay(double& x, float f) {
  const float before = static_cast<float>(x);
  x = static_cast<double>(decayed(before, f));
  return before;
}

float decay(float& x, float f) {
  const float before = x;
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
  const float ms = mb.mass_diss_surf_cumul(spill);
  float v = 0.0f;
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
    v = h != 0.0f ? std::min(ms, -ms * std::expm1(-(kv / h * var_run.deltat))) : ms;
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
  const float f = 1.0f - std::exp(-(var_spill.degradation_rate(spill) / 86400.0f * var_run.deltat));
  const float surf = decay(mb.mass_surf(spill), f);
  const float beached = decay(mb.mass_beached(spill), f);
  const float column = decay(mb.mass_column(spill), f);
  const float floor = decay(mb.mass_floor(spill), f);
  const float dispersed = decay(mb.mass_disp_cumul(spill), f);
  const float dissolved = decay(mb.mass_diss_cumul(spill), f);
  const float sorbed = decay(mb.mass_sed_cumul(spill), f);
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
    for (int32_t j = 0; j < np; ++j) {
      const int32_t st = state[j];
      if (st == indp_surf || st == indp_beached || st == indp_column || st == indp_floor) {
        equiv[j] = decayed(equiv[j], f);
      }
    }
  }
}

}  // namespace orvel
