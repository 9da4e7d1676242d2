#include "transport/velocities.hpp"

#include <cmath>
#include <cstdint>

#include "control/run_rules.hpp"
#include "control/state/var4.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"

namespace orvel {

void reset_domain_box() {
  if (box_follows_current_grid()) {
    const auto& f = var_mallasforz;
    auto& g = var_mallas;
    g.loni = f.gridformatcurru_0x;
    g.lons = f.gridformatcurru_0x + (f.gridformatcurru_xcells - 1) * f.gridformatcurru_deltax;
    g.lati = f.gridformatcurru_0y;
    g.lats = f.gridformatcurru_0y + (f.gridformatcurru_ycells - 1) * f.gridformatcurru_deltay;
  }
}

void vel_adv_2d(int32_t spill, int32_t /*step*/) {
  reset_domain_box();
  auto& w = var_currwindwave;
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const double factor = var_mallas.factor;
  const double mx = cos_latmean() * factor;
  const double a = c.dragcoeff_a(spill);
  const double b = c.dragcoeff_b(spill);
  const double waves = c.wavescoeff(spill);
  const double current = c.currentcoeff(spill);
  const bool two_d = var_run.sim__2d_3d == 1;
  double wind_sum = 0.0;
  for (int32_t i = 1; i <= np; ++i) {
    const double wx = w.wintx(i);
    const double wy = w.winty(i);
    const double speed = std::sqrt(wx * wx + wy * wy);
    wind_sum += speed;
    if (var_part.z_part(i, spill) != 0.0) {
      w.uadv_viento_oleaje(i, spill) = 0.0;
      w.vadv_viento_oleaje(i, spill) = 0.0;
      continue;
    }
    const double f = a + b * speed;
    // Stokes drift of the waves; a period of 0 (no waves at the particle)
    // gives none.
    const double period = w.tint(i, 1) * static_cast<double>(12.48f);
    double east = 0.0, north = 0.0;
    if (period != 0.0) {
      east = w.hintx(i, 1) * static_cast<double>(9.81f) / period * waves;
      north = w.hinty(i, 1) * static_cast<double>(9.81f) / period * waves;
    }
    double u, v;
    if (two_d) {
      u = east + (wx * f + w.u_curr_int(i) * current);
      v = north + (wy * f + w.v_curr_int(i) * current);
    } else {
      u = wx * f + east;
      v = wy * f + north;
    }
    w.uadv(i, spill) = w.uadv_viento_oleaje(i, spill) = u / mx;
    w.vadv(i, spill) = w.vadv_viento_oleaje(i, spill) = v / factor;
  }
  if (np >= 1) w.uwind(spill) = wind_sum / np;
}

void vel_adv_3d(int32_t spill, int32_t /*step*/) {
  reset_domain_box();
  auto& w = var_currwindwave;
  auto& p = var_part;
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const double factor = var_mallas.factor;
  const double mx = cos_latmean() * factor;
  const double current = c.currentcoeff(spill);
  const bool blowout = var_run.blowout__y_n == 1;

  // Density term g' and critical diameter.  A substance denser than the water
  // (g' < 0) takes the laws with |g'| and sinks: the Stokes law keeps the sign
  // of g', the large-drop law takes it explicitly.
  double gp = 0.0, g_abs = 0.0, dc = 0.0, sign = 1.0;
  if (!blowout) {
    gp = 1.0 - var4.dens(spill) / static_cast<double>(var_spill.waterdensity(spill));
    g_abs = std::fabs(gp);
    sign = gp < 0.0 ? -1.0 : 1.0;
    dc = std::pow(static_cast<double>(1.25902015e-11f) / (g_abs * static_cast<double>(9.81f)),
                  static_cast<double>(0.333f));
  }
  for (int32_t i = 1; i <= np; ++i) {
    if (!blowout) {
      const double d = p.diam_part(i, spill);
      if (d <= dc) {
        p.w_float(i, spill) =
            gp * static_cast<double>(9.81f) * (d * d) / static_cast<double>(-2.07e-5f);
      } else {
        p.w_float(i, spill) = -sign * std::sqrt(g_abs * static_cast<double>(19.62f) * d);
      }
    }
    w.uadv_corrientes(i, spill) = w.u_curr_int(i) * current / mx;
    w.vadv_corrientes(i, spill) = w.v_curr_int(i) * current / factor;
    w.wadv_corrientes_y_float(i, spill) = (w.w_curr_int(i) + p.w_float(i, spill)) / factor;
  }
}

}  // namespace orvel
