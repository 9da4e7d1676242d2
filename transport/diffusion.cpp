#include "transport/diffusion.hpp"

#include <cmath>
#include <cstdint>

#include "common/errors.hpp"
#include "control/input_places.hpp"
#include "control/run_rules.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_disp.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "transport/grid_cell.hpp"

namespace orvel {

namespace {

[[noreturn]] void invalid_option() { throw run_stop(diffusion_stop_text, run_stop::stream::out, 1); }

// c / d, where a zero component c of the direction contributes nothing even
// when the diffusivity d is 0 (motion exactly along an axis with no
// diffusion would otherwise give 0/0).
double share(double c, double d) { return c == 0.0 ? 0.0 : c / d; }

// Diffusivities along x and y of motion (u, v), from disp_l and disp_t.
void directional(double u, double v, double cos_lat) {
  auto& s = var_disp;
  const double factor = var_mallas.factor;
  const double theta = std::atan2(v * factor, u * factor * cos_lat);
  const double c = std::cos(theta);
  const double sn = std::sin(theta);
  const double l = s.disp_l;
  const double t = s.disp_t;
  const double ax = share(c, l), bx = share(sn, t);
  const double ay = share(sn, l), by = share(c, t);
  s.dx = static_cast<float>(1.0 / std::sqrt(ax * ax + bx * bx));
  s.dy = static_cast<float>(1.0 / std::sqrt(ay * ay + by * by));
}

// Allocates dxx, dyy of the step and fills them from the coefficient that
// `coefficient(particle)` gives (m2/s) for each moving particle.
template <typename Coefficient>
void horizontal(int32_t spill, Coefficient coefficient) {
  auto& v2 = var2;
  auto& s = var_disp;
  const auto& w = var_currwindwave;
  const int32_t np = var_run.particle_number;
  v2.dxx.allocate(np);
  v2.dyy.allocate(np);
  s.orden_t = 0.1f;
  const double cos_lat = cos_latmean();
  const double scale = 1.0 / (cos_lat * var_mallas.factor);
  for (int32_t i = 1; i <= np; ++i) {
    const double u = w.uadv(i, spill);
    const double v = w.vadv(i, spill);
    if (u == 0.0 && v == 0.0) {
      v2.dxx(i) = 0.0;
      v2.dyy(i) = 0.0;
      continue;
    }
    const double k = coefficient(i);
    s.disp_l = static_cast<float>(k * scale * scale);
    s.disp_t = s.orden_t * s.disp_l;
    directional(u, v, cos_lat);
    v2.dxx(i) = s.dx;
    v2.dyy(i) = s.dy;
  }
}

}  // namespace

float disp_x(double u, double v) {
  directional(u, v, cos_latmean());
  return var_disp.dx;
}

float disp_y(double u, double v) {
  directional(u, v, cos_latmean());
  return var_disp.dy;
}

void calc_coefdisprios(int32_t spill, int32_t particle, float& coefficient) {
  float h = 0.0f;
  if (!model_depth(var_part.x_part(particle, spill), var_part.y_part(particle, spill), h)) {
    coefficient = 0.0f;
    return;
  }
  const float friction = h > 0.0f ? std::sqrt(9.81f * h * var_cfg.riverfreesurfaceslope(spill)) : 0.0f;
  coefficient = 0.6f * h * friction;
}

void dispersion_2d(int32_t spill) {
  const int32_t option = var_cfg.turbdiffusion__y_n(spill);
  if (option != 0 && option != 1) {
    // Reported at the first particle, before any diffusivity is used.
    if (var_run.particle_number >= 1) invalid_option();
  }
  if (option != 1) {
    const int32_t np = var_run.particle_number;
    var2.dxx.allocate(np);
    var2.dyy.allocate(np);
    var_disp.orden_t = 0.1f;
    return;  // allocated zero: no random walk
  }
  if (var_run.simenvironment__sea_river == 2) {
    // The river coefficient at each particle; the spill's own coefficient is
    // left as the scenario gave it.
    horizontal(spill, [spill](int32_t i) {
      calc_coefdisprios(spill, i, var_disp.e_t);
      return static_cast<double>(var_disp.e_t);
    });
  } else {
    const double k = var_cfg.diffusioncoeff_kh(spill);
    horizontal(spill, [k](int32_t) { return k; });
  }
}

void dispersion_2d_spread(int32_t spill, double k) {
  horizontal(spill, [k](int32_t) { return k; });
}

void verticaldiffusionvelocity(int32_t spill, int32_t /*step*/) {
  auto& v2 = var2;
  const int32_t np = var_run.particle_number;
  const double factor = var_mallas.factor;
  const double f2 = factor * factor;
  const float kz = var_cfg.diffusioncoeff_kz(spill);
  const double upper = static_cast<double>(kz) / f2;
  const double lower = static_cast<double>(kz / 100.0f) / f2;
  const double limit = 30.0 / factor;
  v2.dzz.allocate(np);
  for (int32_t i = 1; i <= np; ++i) {
    const double z = var_part.z_part(i, spill);
    if (z == 0.0) {
      v2.dzz(i) = 0.0;
    } else if (z > limit) {
      v2.dzz(i) = lower;
    } else {
      v2.dzz(i) = upper;
    }
  }
}

void check_diffusion_option(const std::string& scenario_file) {
  const auto& option = var_cfg.turbdiffusion__y_n;
  if (!option.allocated()) return;
  // Pulses copy the switch of the one spill line of a continuous release.
  const int32_t lines = var_cfg.spill__instant_contin == 2 ? 1 : option.ubound(1);
  for (int32_t s = option.lbound(1); s <= lines; ++s) {
    if (option(s) != 0 && option(s) != 1) {
      throw refusal_at("turbdiffusion__y_n", scenario_file,
                       "turbdiffusion__y_n of spill line " + std::to_string(s) + " = " + std::to_string(option(s)) +
                           ": must be 0 (no random walk) or 1 (random walk)",
                       s)
          .with_stop_text(diffusion_stop_text);
    }
  }
}

}  // namespace orvel
