#include "transport/rungekutta.hpp"

#include <cstdint>

#include "common/farray.hpp"
#include "common/parallel.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_rk.hpp"
#include "control/state/var_run.hpp"
#include "transport/together.hpp"

namespace orvel {

namespace {

// The time of the next stage as a fraction of the record interval: the
// middle of the step after stages 1 and 2, its end after stage 3.
float stage_time(int32_t stage, int32_t k) {
  const float dt = var_run.deltat;
  const float interval = var_cfg.deltat_currents;
  if (stage == 3) return (static_cast<float>(k) * dt + dt) / interval;
  return (static_cast<float>(2 * k) * dt + dt) / (interval + interval);
}

// The stage arithmetic of the spill's np particles: the stage's
// displacements, kept in the stage's own arrays (only the spill's own column
// changes, the other spills' columns are rewritten by their own stages
// before use), and the next stage's positions.
void stage_of(int32_t spill, int32_t stage, int32_t np, const double* x0, const double* y0, double* xs, double* ys) {
  auto& rk = var_rk;
  auto& w = var_currwindwave;
  const double ddt = static_cast<double>(var_run.deltat);
  const double* ua = &w.uadv(1, spill);
  const double* va = &w.vadv(1, spill);
  farray<double, 2>* keep_x[] = {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4};
  farray<double, 2>* keep_y[] = {&rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4};
  (void)w.uadv(np, spill), (void)w.vadv(np, spill);
  (void)(*keep_x[stage - 1])(np, spill), (void)(*keep_y[stage - 1])(np, spill);
  double* kx = keep_x[stage - 1]->ptr(1, spill);
  double* ky = keep_y[stage - 1]->ptr(1, spill);
  if (stage == 4) {
    parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
      for (int64_t j = first; j < last; ++j) {
        kx[j] = ua[j] * ddt;
        ky[j] = va[j] * ddt;
      }
    });
    return;
  }
  // x0 + 0.5 * f at stages 1 and 2, x0 + f at stage 3 (1.0 * f = f).
  const double h = stage <= 2 ? 0.5 : 1.0;
  parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      const double dx = ua[j] * ddt;
      const double dy = va[j] * ddt;
      kx[j] = dx;
      ky[j] = dy;
      xs[j] = x0[j] + h * dx;
      ys[j] = y0[j] + h * dy;
    }
  });
}

}  // namespace

void rungek(int32_t spill, int32_t stage, int32_t k, const double* x0, const double* y0,
            double* xs, double* ys, double* u, double* v, current_blend blend) {
  const int32_t np = var_run.particle_number;
  // The blend of the next stage's time comes first: the stage arithmetic
  // below does not read the node fields.
  if (stage == 1 || stage == 2 || stage == 3) {
    var_rk.k_vtmed = stage_time(stage, k);
    if (blend) blend(var_rk.k_vtmed, u, v);
  }
  if (np < 1 || stage < 1 || stage > 4) return;
  stage_of(spill, stage, np, x0, y0, xs, ys);
}

void rungek_together(std::span<const int32_t> spills, int32_t stage, int32_t k, const double* x0, const double* y0,
                     double* xs, double* ys) {
  const int32_t np = var_run.particle_number;
  if (stage == 1 || stage == 2 || stage == 3) var_rk.k_vtmed = stage_time(stage, k);
  if (np < 1 || stage < 1 || stage > 4) return;
  parallel_units(static_cast<int64_t>(spills.size()), np, [&](int64_t i) {
    const int32_t s = spills[static_cast<std::size_t>(i)];
    const int64_t from = int64_t{s - 1} * np;
    stage_of(s, stage, np, x0 + from, y0 + from, xs + from, ys + from);
  });
}

}  // namespace orvel
