// Time blending of the forcing between the start and the end of a record.
#include "forcing/blend.hpp"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "control/state/var2.hpp"
#include "control/state/var_capas.hpp"
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

// Column l of a (node, layer) array over n nodes; an array without that
// column or with fewer nodes throws std::length_error.
const double* column_of(const farray<double, 2>& a, int32_t l, int64_t n, const char* routine) {
  need(column_size(a), n, routine, a.name());
  if (!a.allocated() || l < 1 || l > a.size(2)) {
    throw std::length_error(std::string(routine) + ": " + a.name() + " has no layer " + std::to_string(l));
  }
  return a.ptr(1, l);
}

// Layer l of the U and V currents at the nodes into u and v: the plain
// blend, or on a grid with a radar coverage mask the mask rule.
void blend_layer(const weights& w, int32_t l, std::span<double> u, std::span<double> v) {
  auto& c = var2;
  const int64_t nu = var_cfg.xyzcurrentnodes_number[0];
  const int64_t nv = var_cfg.xyzcurrentnodes_number[1];
  const bool radar =
      var_cfg.currentgrid_variable__y_n == 1 && var_cfg.variablecurrgrid__wetdry_radar == 2;
  const int64_t masks = static_cast<int64_t>(std::min(column_size(c.indland0), column_size(c.indland)));
  auto one = [&](const farray<double, 2>& start, const farray<double, 2>& end, std::span<double> out, int64_t n,
                 const char* what) {
    if (n < 1) return;
    const double* s = column_of(start, l, n, "interp_corr");
    const double* e = column_of(end, l, n, "interp_corr");
    need(out.size(), n, "interp_corr", what);
    if (radar) {
      blend_radar(s, e, out.data(), n, c.indland0.data(), c.indland.data(), masks, w);
    } else {
      blend(s, e, out.data(), n, w);
    }
  };
  one(c.u0, c.u_curr_read, u, nu, "the U output array");
  one(c.v0, c.v_curr_read, v, nv, "the V output array");
}

std::span<double> layer_of(farray<double, 2>& a, int32_t l) {
  if (!a.allocated() || a.size(1) < 1 || l < 1 || l > a.size(2)) return {};
  return {a.ptr(1, l), static_cast<std::size_t>(a.size(1))};
}

}  // namespace

void interp_corr(float f, std::span<double> u, std::span<double> v) { blend_layer(weights(f), 1, u, v); }

void interp_corr_capas(float f, farray<double, 2>& u, farray<double, 2>& v, farray<double, 2>& w) {
  const weights wt(f);
  auto& c = var2;
  const int32_t layers = var_capas.numcapascorr;
  for (int32_t l = 1; l <= layers; ++l) blend_layer(wt, l, layer_of(u, l), layer_of(v, l));
  if (var_currwindwave.wcurrentsflag == 0) return;
  // The vertical current has no radar coverage of its own: the plain blend.
  const int64_t nw = var_cfg.xyzcurrentnodes_number[2];
  if (nw < 1) return;
  for (int32_t l = 1; l <= layers; ++l) {
    const double* s = column_of(c.w0, l, nw, "interp_corr_capas");
    const double* e = column_of(c.w_curr_read, l, nw, "interp_corr_capas");
    const std::span<double> out = layer_of(w, l);
    need(out.size(), nw, "interp_corr_capas", "the W output array");
    blend(s, e, out.data(), nw, wt);
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
