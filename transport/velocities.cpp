#include "transport/velocities.hpp"

#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "common/repeated_sum.hpp"
#include "control/run_rules.hpp"
#include "control/state/var4.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"
#include "forcing/series.hpp"
#include "transport/grid_cell.hpp"
#include "transport/together.hpp"

namespace orvel {

namespace {

// Column `spill` of a (particle, spill) array over np particles.
template <typename T>
T* spill_column(farray<T, 2>& a, int32_t spill, int32_t np) {
  (void)a(np, spill);
  return a.ptr(1, spill);
}

// A forcing value at the particles: an array read particle by particle, or
// one value for all (`one`, stride 0).
struct at_particles {
  const double* p;
  int64_t stride;
  double one;
  bool uniform() const { return stride == 0; }
  double operator[](int64_t j) const { return stride != 0 ? p[j] : one; }
};

template <typename A>
at_particles forcing_at(const A& a, bool series) {
  double v = 0.0;
  if (series && uniform_value(a, v)) return {nullptr, 0, v};
  return {a.data(), 1, 0.0};
}

// Surface drift of one particle from its forcing.
struct drift_constants {
  double a, b, waves, current, mx, factor;
  bool two_d;
};

struct drift {
  double u, v;
};

inline drift surface_drift(const drift_constants& k, double wx, double wy, double speed, double t, double hx,
                           double hy, double uc, double vc) {
  const double f = k.a + k.b * speed;
  // Stokes drift of the waves; a period of 0 (no waves at the particle)
  // gives none.
  const double period = t * static_cast<double>(12.48f);
  double east = 0.0, north = 0.0;
  if (period != 0.0) {
    east = hx * static_cast<double>(9.81f) / period * k.waves;
    north = hy * static_cast<double>(9.81f) / period * k.waves;
  }
  double u, v;
  if (k.two_d) {
    u = east + (wx * f + uc * k.current);
    v = north + (wy * f + vc * k.current);
  } else {
    u = wx * f + east;
    v = wy * f + north;
  }
  return {u / k.mx, v / k.factor};
}

}  // namespace

void vel_adv_2d(int32_t spill, int32_t /*step*/) {
  reset_domain_box();
  auto& w = var_currwindwave;
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const double factor = var_mallas.factor;
  const drift_constants k{c.dragcoeff_a(spill), c.dragcoeff_b(spill), c.wavescoeff(spill), c.currentcoeff(spill),
                          cos_latmean() * factor, factor, var_run.sim__2d_3d == 1};
  if (np < 1) return;
  // The spill's columns, and the arrays at the particles, over particles 1
  // and np (index checks of the checked builds once per call).
  const double* z = spill_column(var_part.z_part, spill, np);
  double* uadv = spill_column(w.uadv, spill, np);
  double* vadv = spill_column(w.vadv, spill, np);
  double* uvo = spill_column(w.uadv_viento_oleaje, spill, np);
  double* vvo = spill_column(w.vadv_viento_oleaje, spill, np);
  for (const int32_t p : {1, np}) {
    (void)w.wintx(p), (void)w.winty(p), (void)w.tint(p, 1), (void)w.hintx(p, 1), (void)w.hinty(p, 1);
    if (k.two_d) (void)w.u_curr_int(p), (void)w.v_curr_int(p);
  }
  // Forcing from a uniform series is one value for every particle.
  const bool wind_series = c.windtype__file_constant == 2;
  const bool waves_series = c.wavestype__file_constant == 2;
  const bool current_series = c.currenttype__file_constant == 2;
  const at_particles wx = forcing_at(w.wintx, wind_series), wy = forcing_at(w.winty, wind_series);
  const at_particles t = forcing_at(w.tint, waves_series), hx = forcing_at(w.hintx, waves_series),
                     hy = forcing_at(w.hinty, waves_series);
  at_particles uc{nullptr, 0, 0.0}, vc{nullptr, 0, 0.0};
  if (k.two_d) {
    uc = forcing_at(w.u_curr_int, current_series);
    vc = forcing_at(w.v_curr_int, current_series);
  }
  const bool wind_uniform = wx.uniform() && wy.uniform();
  const bool all_uniform = wind_uniform && t.uniform() && hx.uniform() && hy.uniform() && uc.uniform() && vc.uniform();
  // The mean wind speed: the sum runs in particle order.
  double wind_sum = 0.0;
  if (all_uniform) {
    wind_sum = repeated_sum(std::sqrt(wx.one * wx.one + wy.one * wy.one), np);
    const double speed = std::sqrt(wx.one * wx.one + wy.one * wy.one);
    const drift d = surface_drift(k, wx.one, wy.one, speed, t.one, hx.one, hy.one, uc.one, vc.one);
    parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
      for (int64_t j = first; j < last; ++j) {
        if (z[j] != 0.0) {
          uvo[j] = 0.0;
          vvo[j] = 0.0;
          continue;
        }
        uadv[j] = uvo[j] = d.u;
        vadv[j] = vvo[j] = d.v;
      }
    });
  } else {
    // Each particle's wind speed, found on the threads with its drift, is
    // added in particle order.
    auto speed_and_drift = [&](int64_t j) {
      const double x = wx[j], y = wy[j];
      const double speed = std::sqrt(x * x + y * y);
      if (z[j] != 0.0) {
        uvo[j] = 0.0;
        vvo[j] = 0.0;
      } else {
        const drift d = surface_drift(k, x, y, speed, t[j], hx[j], hy[j], uc[j], vc[j]);
        uadv[j] = uvo[j] = d.u;
        vadv[j] = vvo[j] = d.v;
      }
      return speed;
    };
    if (wind_uniform) {
      wind_sum = repeated_sum(std::sqrt(wx.one * wx.one + wy.one * wy.one), np);
      parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
        for (int64_t j = first; j < last; ++j) speed_and_drift(j);
      });
    } else {
      in_item_order<double>(np, speed_and_drift, [&](int64_t, double speed) { wind_sum += speed; });
    }
  }
  w.uwind(spill) = wind_sum / np;
}

void vel_adv_2d_together(std::span<const int32_t> spills, int32_t step) {
  parallel_units(static_cast<int64_t>(spills.size()), var_run.particle_number,
                 [&](int64_t i) { vel_adv_2d(spills[static_cast<std::size_t>(i)], step); });
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
  // of g', the large-drop law takes it explicitly.  The critical diameter is
  // where the two laws give the same speed, g' g d^2 / (18 nu) =
  // sqrt(2 g' g d): dc^3 = 2 (18 nu)^2 / (g' g), so that the speed is
  // continuous.
  const double stokes = static_cast<double>(2.07e-5f);  // 18 nu, m2/s
  double gp = 0.0, g_abs = 0.0, dc = 0.0, sign = 1.0;
  if (!blowout) {
    gp = 1.0 - var4.dens(spill) / static_cast<double>(var_spill.waterdensity(spill));
    // A chemical of behaviour class 1 or 2 boils at the sea's pressure:
    // under water it is bubbles of gas, whose density is nothing beside the
    // water's, whatever that of its liquid.
    const auto& hc = var_spill.hnsbehaviourclass;
    if (c.obj__floating_fuel_hns == 3 && hc.allocated() && hc.size(1) >= spill && (hc(spill) == 1 || hc(spill) == 2)) {
      gp = 1.0;
    }
    g_abs = std::fabs(gp);
    sign = gp < 0.0 ? -1.0 : 1.0;
    dc = std::cbrt(2.0 * (stokes * stokes) / (g_abs * static_cast<double>(9.81f)));
  }
  if (np < 1) return;
  const double* diam = blowout ? nullptr : spill_column(p.diam_part, spill, np);
  double* w_float = spill_column(p.w_float, spill, np);
  double* uc = spill_column(w.uadv_corrientes, spill, np);
  double* vc = spill_column(w.vadv_corrientes, spill, np);
  double* wc = spill_column(w.wadv_corrientes_y_float, spill, np);
  (void)w.u_curr_int(np), (void)w.v_curr_int(np), (void)w.w_curr_int(np);
  const double* u = w.u_curr_int.data();
  const double* v = w.v_curr_int.data();
  const double* wz = w.w_curr_int.data();
  parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      if (!blowout) {
        const double d = diam[j];
        if (d <= dc) {
          w_float[j] = gp * static_cast<double>(9.81f) * (d * d) / -stokes;
        } else {
          w_float[j] = -sign * std::sqrt(g_abs * static_cast<double>(19.62f) * d);
        }
      }
      uc[j] = u[j] * current / mx;
      vc[j] = v[j] * current / factor;
      wc[j] = (wz[j] + w_float[j]) / factor;
    }
  });
}

}  // namespace orvel
