// Time blending of the forcing between the start and the end of a record.
#include "forcing/blend.hpp"

#include <algorithm>
#include <cstdint>

#include "control/state/var2.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_run.hpp"
#include "common/parallel.hpp"
#include "forcing/array_sizes.hpp"
#include "forcing/series.hpp"

namespace orvel {
namespace {

using forcing_detail::need;

// Weights of the two levels: the start weight is 1 - f in single precision.
struct weights {
  double start;
  double end;
  explicit weights(float f) : start(static_cast<double>(1.0f - f)), end(static_cast<double>(f)) {}
};

void blend(const double* s, const double* e, double* out, int64_t n, const weights& w) {
  for (int64_t k = 0; k < n; ++k) out[k] = s[k] * w.start + e[k] * w.end;
}

// Values per node (first extent) of an array: a column of a (node, layer)
// or (particle, 3) array, or the whole of a one-index array.
template <typename A>
std::size_t column_size(const A& a) {
  return a.allocated() ? static_cast<std::size_t>(a.size(1)) : 0;
}

// Blend of a uniform series at the particles into `out` (first column):
// one value when both levels hold one, else particle by particle.
template <typename A>
void blend_particles(const char* routine, const A& start, const A& end, A& out, int64_t n, const weights& w) {
  if (n < 1) return;
  need(column_size(start), n, routine, start.name());
  need(column_size(end), n, routine, end.name());
  need(column_size(out), n, routine, out.name());
  double s = 0.0, e = 0.0;
  if (uniform_value(start, s) && uniform_value(end, e)) {
    fill_uniform(out, s * w.start + e * w.end);
    return;
  }
  forget_uniform(out);
  const double* sp = start.data();
  const double* ep = end.data();
  double* op = out.data();
  parallel_blocks(n, [&](int64_t, int64_t first, int64_t last) {
    blend(sp + first, ep + first, op + first, last - first, w);
  });
}

// Blend of one field over n values, after checking its three arrays.
template <typename S, typename E>
void blend_checked(const char* routine, const S& start, const E& end, std::span<double> out,
                   int64_t n, const weights& w) {
  if (n < 1) return;
  need(column_size(start), n, routine, start.name());
  need(column_size(end), n, routine, end.name());
  need(out.size(), n, routine, "the output array");
  blend(start.data(), end.data(), out.data(), n, w);
}

// The radar-mask rule over n nodes: nodes 1..m have masks indland0 and
// indland; a node beyond them is blended.
void blend_radar(const double* s, const double* e, double* out, int64_t n, const int32_t* m0,
                 const int32_t* m1, int64_t m, const weights& w) {
  for (int64_t k = 0; k < n; ++k) {
    if (k < m && m0[k] != m1[k]) {
      // Coverage gained or lost between the two records: no current.
      // Any other change of code leaves the node as it was.
      if ((m0[k] == 0 && m1[k] == 1) || (m0[k] == 1 && m1[k] == 0)) out[k] = 0.0;
      continue;
    }
    out[k] = s[k] * w.start + e[k] * w.end;
  }
}

}  // namespace

void interp_corr(float f, std::span<double> u, std::span<double> v) {
  const weights w(f);
  auto& c = var2;
  const int64_t nu = var_cfg.xyzcurrentnodes_number[0];
  const int64_t nv = var_cfg.xyzcurrentnodes_number[1];
  const bool radar =
      var_cfg.currentgrid_variable__y_n == 1 && var_cfg.variablecurrgrid__wetdry_radar == 2;
  if (!radar) {
    blend_checked("interp_corr", c.u0, c.u_curr_read, u, nu, w);
    blend_checked("interp_corr", c.v0, c.v_curr_read, v, nv, w);
    return;
  }
  const int64_t masks = static_cast<int64_t>(std::min(column_size(c.indland0), column_size(c.indland)));
  if (nu >= 1) {
    need(column_size(c.u0), nu, "interp_corr", c.u0.name());
    need(column_size(c.u_curr_read), nu, "interp_corr", c.u_curr_read.name());
    need(u.size(), nu, "interp_corr", "the U output array");
    blend_radar(c.u0.data(), c.u_curr_read.data(), u.data(), nu, c.indland0.data(),
                c.indland.data(), masks, w);
  }
  if (nv >= 1) {
    need(column_size(c.v0), nv, "interp_corr", c.v0.name());
    need(column_size(c.v_curr_read), nv, "interp_corr", c.v_curr_read.name());
    need(v.size(), nv, "interp_corr", "the V output array");
    blend_radar(c.v0.data(), c.v_curr_read.data(), v.data(), nv, c.indland0.data(),
                c.indland.data(), masks, w);
  }
}

void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t) {
  const weights w(f);
  auto& s = var_currwindwave;
  const int64_t n = var_cfg.xyzwavesnodes_number;
  blend_checked("interp_ola", s.hwavex0, s.hwavex, hx, n, w);
  blend_checked("interp_ola", s.hwavey0, s.hwavey, hy, n, w);
  blend_checked("interp_ola", s.twave0, s.twave, t, n, w);
}

void interp_viento(float f, std::span<double> wx, std::span<double> wy) {
  const weights w(f);
  auto& s = var_currwindwave;
  const int64_t n = var_cfg.xyzwindnodes_number;
  blend_checked("interp_viento", s.windx0, s.windx, wx, n, w);
  blend_checked("interp_viento", s.windy0, s.windy, wy, n, w);
}

void interp_vel_part(float f) {
  const weights w(f);
  auto& s = var_currwindwave;
  const int64_t n = var_run.particle_number;
  if (n < 1) return;
  need(column_size(s.u_curr_int), n, "interp_vel_part", s.u_curr_int.name());
  need(column_size(s.v_curr_int), n, "interp_vel_part", s.v_curr_int.name());
  blend_particles("interp_vel_part", s.vuint0, s.vuint_t1, s.u_curr_int, n, w);
  blend_particles("interp_vel_part", s.vvint0, s.vvint_t1, s.v_curr_int, n, w);
}

void interp_ola_part(float f) {
  const weights w(f);
  auto& s = var_currwindwave;
  const int64_t n = var_run.particle_number;
  if (n < 1) return;
  need(column_size(s.hintx), n, "interp_ola_part", s.hintx.name());
  need(column_size(s.hinty), n, "interp_ola_part", s.hinty.name());
  need(column_size(s.tint), n, "interp_ola_part", s.tint.name());
  blend_particles("interp_ola_part", s.hintx0, s.hintx_t1, s.hintx, n, w);
  blend_particles("interp_ola_part", s.hinty0, s.hinty_t1, s.hinty, n, w);
  blend_particles("interp_ola_part", s.tint0, s.tint_t1, s.tint, n, w);
}

void interp_viento_part(float f) {
  const weights w(f);
  auto& s = var_currwindwave;
  const int64_t n = var_run.particle_number;
  if (n < 1) return;
  need(column_size(s.wintx), n, "interp_viento_part", s.wintx.name());
  need(column_size(s.winty), n, "interp_viento_part", s.winty.name());
  blend_particles("interp_viento_part", s.wintx0, s.wintx_t1, s.wintx, n, w);
  blend_particles("interp_viento_part", s.winty0, s.winty_t1, s.winty, n, w);
}

}  // namespace orvel
