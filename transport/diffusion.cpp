#include "transport/diffusion.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/errors.hpp"
#include "common/parallel.hpp"
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
#include "transport/together.hpp"

namespace orvel {

namespace {

[[noreturn]] void invalid_option() { throw run_stop(diffusion_stop_text, run_stop::stream::out, 1); }

// c / d, where a zero component c of the direction contributes nothing even
// when the diffusivity d is 0 (motion exactly along an axis with no
// diffusion would otherwise give 0/0).
double share(double c, double d) { return c == 0.0 ? 0.0 : c / d; }

// East and north diffusivities of motion (u, v), from l = disp_l and t =
// disp_t in degrees of longitude squared per second.  The east value stays
// in degrees of longitude; the north value is applied to latitude, whose
// degree is 1/cos(latmean) times as long, so it is converted to degrees of
// latitude squared by cos^2(latmean).
struct along_across {
  float dx, dy;
};

inline along_across directional(double u, double v, double cos_lat, double factor, double l, double t) {
  const double theta = std::atan2(v * factor, u * factor * cos_lat);
  const double c = std::cos(theta);
  const double sn = std::sin(theta);
  const double ax = share(c, l), bx = share(sn, t);
  const double ay = share(sn, l), by = share(c, t);
  return {static_cast<float>(1.0 / std::sqrt(ax * ax + bx * bx)),
          static_cast<float>(cos_lat * cos_lat / std::sqrt(ay * ay + by * by))};
}

// disp_l and disp_t of coefficient k (m2/s).
struct along_scales {
  float l, t;
};

inline along_scales scales_of(double k, double scale, float orden_t) {
  const float l = static_cast<float>(k * scale * scale);
  return {l, orden_t * l};
}

// The settings of a fill of the horizontal diffusivities.
struct horizontal_setup {
  float orden_t = 0.1f;
  double cos_lat = cos_latmean();
  double factor = var_mallas.factor;
  double scale = 1.0 / (cos_lat * factor);
};

// dxx, dyy of particles first .. last - 1 (from 0) of the spill, into dxx[j],
// dyy[j], from the coefficient that `coefficient(particle)` gives (m2/s) for
// each moving particle (`fixed`: that of a constant coefficient).  Returns
// the last moving particle, -1 for none.
template <typename Coefficient>
int64_t fill_horizontal(int32_t spill, const horizontal_setup& h, Coefficient coefficient, bool k_constant,
                        const along_scales& fixed, int64_t first, int64_t last, double* dxx, double* dyy) {
  const auto& w = var_currwindwave;
  const double* u = w.uadv.ptr(1, spill);
  const double* v = w.vadv.ptr(1, spill);
  // With one coefficient the result depends on (u, v) alone: a particle
  // moving exactly as the one before it (a uniform forcing) takes its
  // result.
  uint64_t last_u = 0, last_v = 0;
  along_across last_d{0.0f, 0.0f};
  bool known = false;
  int64_t last_mover = -1;
  for (int64_t j = first; j < last; ++j) {
    if (u[j] == 0.0 && v[j] == 0.0) {
      dxx[j] = 0.0;
      dyy[j] = 0.0;
      continue;
    }
    const uint64_t bu = std::bit_cast<uint64_t>(u[j]), bv = std::bit_cast<uint64_t>(v[j]);
    if (!(k_constant && known && bu == last_u && bv == last_v)) {
      const along_scales a =
          k_constant ? fixed : scales_of(coefficient(static_cast<int32_t>(j + 1)), h.scale, h.orden_t);
      last_d = directional(u[j], v[j], h.cos_lat, h.factor, a.l, a.t);
      last_u = bu;
      last_v = bv;
      known = true;
    }
    dxx[j] = last_d.dx;
    dyy[j] = last_d.dy;
    last_mover = j;
  }
  return last_mover;
}

// var_disp as the moving particle j (from 0) of the spill leaves it.
template <typename Coefficient>
void keep_last_mover(int32_t spill, const horizontal_setup& h, Coefficient coefficient, int64_t j) {
  auto& s = var_disp;
  const auto& w = var_currwindwave;
  const double k = coefficient(static_cast<int32_t>(j + 1));
  const along_scales a = scales_of(k, h.scale, h.orden_t);
  const along_across d = directional(w.uadv.ptr(1, spill)[j], w.vadv.ptr(1, spill)[j], h.cos_lat, h.factor, a.l, a.t);
  s.disp_l = a.l;
  s.disp_t = a.t;
  s.dx = d.dx;
  s.dy = d.dy;
}

// Allocates dxx, dyy of the step and fills them from the coefficient that
// `coefficient(particle)` gives (m2/s) for each moving particle; a constant
// coefficient (`k_constant`) is turned into disp_l, disp_t once.  var_disp
// is left as the last moving particle leaves it.
template <typename Coefficient>
void horizontal(int32_t spill, Coefficient coefficient, bool k_constant) {
  auto& v2 = var2;
  const int32_t np = var_run.particle_number;
  v2.dxx.allocate_for_overwrite(np);  // every particle gets its value below
  v2.dyy.allocate_for_overwrite(np);
  var_disp.orden_t = 0.1f;
  if (np < 1) return;
  const horizontal_setup h;
  double* dxx = v2.dxx.data();
  double* dyy = v2.dyy.data();
  const along_scales fixed = k_constant ? scales_of(coefficient(1), h.scale, h.orden_t) : along_scales{0.0f, 0.0f};
  std::vector<int64_t> last_moving(static_cast<std::size_t>(block_count(np)), -1);
  parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
    // Stored once per block: the slots of the blocks share cache lines.
    last_moving[static_cast<std::size_t>(b)] =
        fill_horizontal(spill, h, coefficient, k_constant, fixed, first, last, dxx, dyy);
  });
  int64_t j = -1;
  for (const int64_t m : last_moving) j = m >= 0 ? m : j;
  if (j >= 0) keep_last_mover(spill, h, coefficient, j);
}

}  // namespace

float disp_x(double u, double v) {
  auto& s = var_disp;
  const along_across d = directional(u, v, cos_latmean(), var_mallas.factor, s.disp_l, s.disp_t);
  s.dx = d.dx;
  s.dy = d.dy;
  return s.dx;
}

float disp_y(double u, double v) {
  disp_x(u, v);
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
    // var_disp.e_t is left as the last moving particle's.
    horizontal(
        spill,
        [spill](int32_t i) {
          float e = 0.0f;
          calc_coefdisprios(spill, i, e);
          return static_cast<double>(e);
        },
        false);
    float e = var_disp.e_t;
    const auto& w = var_currwindwave;
    for (int32_t i = var_run.particle_number; i >= 1; --i) {
      if (w.uadv(i, spill) != 0.0 || w.vadv(i, spill) != 0.0) {
        calc_coefdisprios(spill, i, e);
        break;
      }
    }
    var_disp.e_t = e;
  } else {
    const double k = var_cfg.diffusioncoeff_kh(spill);
    horizontal(spill, [k](int32_t) { return k; }, true);
  }
}

void dispersion_2d_spread(int32_t spill, double k) {
  horizontal(spill, [k](int32_t) { return k; }, true);
}

void diffusivities_2d_together(std::span<const int32_t> spills, std::span<const spill_move> moves) {
  const int32_t np = var_run.particle_number;
  const int64_t n = static_cast<int64_t>(spills.size());
  if (n < 1) return;
  // The spills that take a diffusivity; a switch other than 0 and 1 stops
  // the run at the first of them, as dispersion_2d would.
  bool any = false;
  for (int64_t i = 0; i < n; ++i) {
    const auto& m = moves[static_cast<std::size_t>(i)];
    if (m.spreading && !m.diffusivity) continue;
    any = true;
    const int32_t option = var_cfg.turbdiffusion__y_n(spills[static_cast<std::size_t>(i)]);
    if (!m.spreading && option != 0 && option != 1 && np >= 1) invalid_option();
  }
  if (!any) return;
  auto& v2 = var2;
  const int64_t total = int64_t{np} * var_cfg.spills_number;
  v2.dxx.allocate_for_overwrite(static_cast<int32_t>(total));  // every moving spill's values are set below
  v2.dyy.allocate_for_overwrite(static_cast<int32_t>(total));
  var_disp.orden_t = 0.1f;
  if (np < 1) return;
  const horizontal_setup h;
  std::vector<int64_t> last_moving(static_cast<std::size_t>(n), -1);
  auto coefficient_of = [&](int64_t i) {
    const auto& m = moves[static_cast<std::size_t>(i)];
    return m.spreading ? m.coef_r : var_cfg.diffusioncoeff_kh(spills[static_cast<std::size_t>(i)]);
  };
  parallel_units(n, np, [&](int64_t i) {
    const auto& m = moves[static_cast<std::size_t>(i)];
    if (m.spreading && !m.diffusivity) return;
    const int32_t s = spills[static_cast<std::size_t>(i)];
    double* dxx = v2.dxx.data() + int64_t{s - 1} * np;
    double* dyy = v2.dyy.data() + int64_t{s - 1} * np;
    if (!m.spreading && var_cfg.turbdiffusion__y_n(s) != 1) {
      std::fill(dxx, dxx + np, 0.0);  // no random walk
      std::fill(dyy, dyy + np, 0.0);
      return;
    }
    const double k = coefficient_of(i);
    const auto constant = [k](int32_t) { return k; };
    last_moving[static_cast<std::size_t>(i)] =
        fill_horizontal(s, h, constant, true, scales_of(k, h.scale, h.orden_t), 0, np, dxx, dyy);
  });
  for (int64_t i = n - 1; i >= 0; --i) {
    const int64_t j = last_moving[static_cast<std::size_t>(i)];
    if (j < 0) continue;
    const double k = coefficient_of(i);
    keep_last_mover(spills[static_cast<std::size_t>(i)], h, [k](int32_t) { return k; }, j);
    break;
  }
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
  v2.dzz.allocate_for_overwrite(np);  // every particle gets its value below
  if (np < 1) return;
  (void)var_part.z_part(np, spill), (void)v2.dzz(np);
  const double* zs = var_part.z_part.ptr(1, spill);
  double* dzz = v2.dzz.data();
  parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      const double z = zs[j];
      dzz[j] = z == 0.0 ? 0.0 : z > limit ? lower : upper;
    }
  });
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
