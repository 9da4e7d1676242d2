#include "transport/rungekutta.hpp"

#include <cstdint>

#include "common/farray.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_rk.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

void rungek(int32_t spill, int32_t stage, int32_t k, const double* x0, const double* y0,
            double* xs, double* ys, double* u, double* v, current_blend blend) {
  auto& rk = var_rk;
  const auto& w = var_currwindwave;
  const int32_t np = var_run.particle_number;
  const float dt = var_run.deltat;
  for (int32_t i = 1; i <= np; ++i) {
    rk.fx(i, spill) = w.uadv(i, spill) * static_cast<double>(dt);
    rk.fy(i, spill) = w.vadv(i, spill) * static_cast<double>(dt);
  }
  // Keep this stage's displacements; only the spill's own column changes, the
  // other spills' columns are rewritten by their own stages before use.
  farray<double, 2>* keep_x[] = {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4};
  farray<double, 2>* keep_y[] = {&rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4};
  if (stage >= 1 && stage <= 4) {
    farray<double, 2>& kx = *keep_x[stage - 1];
    farray<double, 2>& ky = *keep_y[stage - 1];
    for (int32_t i = 1; i <= np; ++i) {
      kx(i, spill) = rk.fx(i, spill);
      ky(i, spill) = rk.fy(i, spill);
    }
  }
  const float interval = var_cfg.deltat_currents;
  if (stage == 1 || stage == 2) {
    rk.k_vtmed = (static_cast<float>(2 * k) * dt + dt) / (interval + interval);
    if (blend) blend(rk.k_vtmed, u, v);
    for (int32_t i = 1; i <= np; ++i) {
      xs[i - 1] = x0[i - 1] + 0.5 * rk.fx(i, spill);
      ys[i - 1] = y0[i - 1] + 0.5 * rk.fy(i, spill);
    }
  } else if (stage == 3) {
    rk.k_vtmed = (static_cast<float>(k) * dt + dt) / interval;
    if (blend) blend(rk.k_vtmed, u, v);
    for (int32_t i = 1; i <= np; ++i) {
      xs[i - 1] = x0[i - 1] + rk.fx(i, spill);
      ys[i - 1] = y0[i - 1] + rk.fy(i, spill);
    }
  }
}

}  // namespace orvel
