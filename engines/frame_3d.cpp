#include "engines/frame_3d.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "forcing/interp.hpp"

namespace orvel {
namespace {

std::span<double> all(farray<double, 1>& a) { return {a.data(), static_cast<std::size_t>(a.size())}; }

std::span<double> column(farray<double, 2>& a, int32_t j) {
  return {a.ptr(1, j), static_cast<std::size_t>(a.size(1))};
}

// The first layer whose depth is exactly d (layers of equal depth are
// represented by the first of them).
int32_t first_layer_at(const double* depth, int32_t nl, double d) {
  for (int32_t k = 0; k < nl; ++k) {
    if (depth[k] == d) return k;
  }
  return 0;  // not reached: d is always one of the layer depths
}

// Layered currents: the layer, or the pair of layers, around each particle's
// depth.
void layered(std::span<const double> z_pass, std::span<double> above, std::span<double> below) {
  auto& cw = var_currwindwave;
  const int32_t np = var_run.particle_number;
  const int32_t nl = var_capas.numcapascorr;
  const double* depth = var_capas.depth.data();
  const double factor = var_mallas.factor;
  const bool vertical = cw.wcurrentsflag != 0;
  const double dmin = *std::min_element(depth, depth + nl);
  const double dmax = *std::max_element(depth, depth + nl);
  const int64_t stride = cw.u_int_xypart.size(1);
  const double* uxy = cw.u_int_xypart.data();
  const double* vxy = cw.v_int_xypart.data();
  const double* wxy = cw.w_int_xypart.data();
  double* u = cw.u_curr_int.data();
  double* v = cw.v_curr_int.data();
  double* w = cw.w_curr_int.data();
  for (int32_t p = 0; p < np; ++p) {
    const double d = z_pass[p] * factor;
    double a = 0.0;
    double b = 0.0;
    if (dmin >= d) {
      a = b = dmin;
    } else if (dmax <= d) {
      a = b = dmax;
    } else {
      // The largest layer depth at or above the particle and the smallest
      // one below it: a particle exactly at a layer takes it as its upper.
      a = dmin;
      b = dmax;
      for (int32_t k = 0; k < nl; ++k) {
        const double dk = depth[k];
        if (dk <= d) {
          a = std::max(a, dk);
        } else {
          b = std::min(b, dk);
        }
      }
    }
    above[p] = a;
    below[p] = b;
    const int64_t la = first_layer_at(depth, nl, a) * stride + p;
    const int64_t lb = first_layer_at(depth, nl, b) * stride + p;
    if (la == lb) {
      u[p] = uxy[lb];
      v[p] = vxy[lb];
      w[p] = vertical ? wxy[lb] : 0.0;
    } else {
      interp_lin_1d(d, u[p], b, a, uxy[lb], uxy[la]);
      interp_lin_1d(d, v[p], b, a, vxy[lb], vxy[la]);
      if (vertical) {
        interp_lin_1d(d, w[p], b, a, wxy[lb], wxy[la]);
      } else {
        w[p] = 0.0;
      }
    }
  }
}

}  // namespace

void currents_at_depth(int32_t spill, std::span<const double> z_pass, std::span<double> depth_above,
                       std::span<double> depth_below) {
  auto& cw = var_currwindwave;
  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  double* u = cw.u_curr_int.data();
  double* v = cw.v_curr_int.data();
  double* w = cw.w_curr_int.data();
  switch (var_cfg.currenttype__file_constant) {
    case 1:
      if (var_cfg.current3dinputformat_layers_average == 1) {
        layered(z_pass, depth_above, depth_below);
      } else if (var_cfg.current3dinputformat_layers_average == 2) {
        // Surface field at the surface, the record's depth mean in the column.
        const double ucol = var2.u_curr_read_colprom(1);
        const double vcol = var2.v_curr_read_colprom(1);
        const double* usup = cw.u_int_xypart.data();
        const double* vsup = cw.v_int_xypart.data();
        for (int32_t p = 0; p < np; ++p) {
          const int32_t s = state[p];
          u[p] = s == 5 ? ucol : s == 1 ? usup[p] : 0.0;
          v[p] = s == 5 ? vcol : s == 1 ? vsup[p] : 0.0;
          w[p] = 0.0;
        }
      }
      break;
    case 2: {
      // The uniform series: the column value in the column, the surface
      // value in every other state.
      const double* usup = cw.u_curr_intsup.data();
      const double* vsup = cw.v_curr_intsup.data();
      const double* ucol = cw.u_curr_intcol.data();
      const double* vcol = cw.v_curr_intcol.data();
      for (int32_t p = 0; p < np; ++p) {
        const bool in_column = state[p] == 5;
        u[p] = in_column ? ucol[p] : usup[p];
        v[p] = in_column ? vcol[p] : vsup[p];
        w[p] = 0.0;
      }
      break;
    }
    default:
      break;
  }
}

pass_3d::pass_3d() {
  depth_above.allocate(var_run.particle_number);
  depth_below.allocate(var_run.particle_number);
}

void pass_3d::locate_w_grid(engine_calls& calls) {
  auto& g = var_mallasforz;
  if (var_cfg.currentgridformat__xyz_grid == 1 && var_cfg.currentfilesjointuvw__y_n != 1) {
    if (var_currwindwave.wcurrentsflag != 0) {
      calls.mallas_forzamientos(all(var2.xcorr_w), all(var2.ycorr_w), var_cfg.xyzcurrentnodes_number[2], g.orix_cw,
                                g.oriy_cw, g.deltax_cw, g.deltay_cw, g.celdax_cw, g.celday_cw);
    }
    return;
  }
  // Joint files give u, v and w at the same nodes; grid-format files give no
  // W grid of their own, so the vertical current lies on the U grid too.
  g.orix_cw = g.gridformatcurru_0x;
  g.oriy_cw = g.gridformatcurru_0y;
  g.deltax_cw = g.gridformatcurru_deltax;
  g.deltay_cw = g.gridformatcurru_deltay;
  g.celdax_cw = g.gridformatcurru_xcells;
  g.celday_cw = g.gridformatcurru_ycells;
}

void pass_3d::blend_layers(engine_calls& calls, const engine_frame& f) {
  const float weight = f.pass_current_weight();
  if (blend_kept_ && blend_sim_ == f.sim && blend_step_ == f.step &&
      std::bit_cast<uint32_t>(blend_weight_) == std::bit_cast<uint32_t>(weight)) {
    return;
  }
  const auto& n = var_cfg.xyzcurrentnodes_number;
  const int32_t layers = var_capas.numcapascorr;
  auto shape = [layers](farray<double, 2>& a, int32_t nodes) {
    if (a.allocated() && a.size(1) == nodes && a.size(2) == layers) return;
    if (a.allocated()) a.deallocate();
    a.allocate(nodes, layers);
  };
  shape(u_layers_blend, n[0]);
  shape(v_layers_blend, n[1]);
  shape(w_layers_blend, var_currwindwave.wcurrentsflag != 0 ? n[2] : 0);
  calls.interp_corr_capas(weight, u_layers_blend, v_layers_blend, w_layers_blend);
  blend_sim_ = f.sim;
  blend_step_ = f.step;
  blend_weight_ = weight;
  blend_kept_ = true;
}

void pass_3d::currents(engine_calls& calls, engine_frame& f, int32_t spill, bool locating) {
  auto& cw = var_currwindwave;
  auto& c2 = var2;
  auto& g = var_mallasforz;
  const auto& n = var_cfg.xyzcurrentnodes_number;
  const bool vertical = cw.wcurrentsflag != 0;
  const bool blended = var_run.temporalinterpcurr__y_n == 1;
  auto xp = all(f.x_pass);
  auto yp = all(f.y_pass);
  if (var_cfg.currenttype__file_constant == 1) {
    switch (var_mallas.currentgrid_regular__y_n) {
      case 1:
        if (locating) locate_w_grid(calls);
        // Every layer of the record; with time blending every layer (and the
        // vertical current) blended between the same two records as the
        // surface, at the same weight.
        if (blended) blend_layers(calls, f);
        calls.interp_lineal_mr_capas(all(c2.xcorr_u), all(c2.ycorr_u), xp, yp, n[0],
                                     blended ? u_layers_blend : c2.u_curr_read, cw.u_int_xypart,
                                     g.gridformatcurru_0x, g.gridformatcurru_0y, g.gridformatcurru_deltax,
                                     g.gridformatcurru_deltay, g.gridformatcurru_xcells, g.gridformatcurru_ycells);
        calls.interp_lineal_mr_capas(all(c2.xcorr_v), all(c2.ycorr_v), xp, yp, n[1],
                                     blended ? v_layers_blend : c2.v_curr_read, cw.v_int_xypart,
                                     g.gridformatcurrv_0x, g.gridformatcurrv_0y, g.gridformatcurrv_deltax,
                                     g.gridformatcurrv_deltay, g.gridformatcurrv_xcells, g.gridformatcurrv_ycells);
        if (vertical) {
          calls.interp_lineal_mr_capas(all(c2.xcorr_w), all(c2.ycorr_w), xp, yp, n[2],
                                       blended ? w_layers_blend : c2.w_curr_read, cw.w_int_xypart, g.orix_cw,
                                       g.oriy_cw, g.deltax_cw, g.deltay_cw, g.celdax_cw, g.celday_cw);
        }
        if (blended) {
          // The surface layer as the two-dimensional pass interpolates it
          // (the same blend, with the domain-box test of that interpolation).
          calls.interp_lineal_mr(all(c2.xcorr_u), all(c2.ycorr_u), xp, yp, n[0], all(f.u_blend),
                                 column(cw.u_int_xypart, 1), g.gridformatcurru_0x, g.gridformatcurru_0y,
                                 g.gridformatcurru_deltax, g.gridformatcurru_deltay, g.gridformatcurru_xcells,
                                 g.gridformatcurru_ycells);
          calls.interp_lineal_mr(all(c2.xcorr_v), all(c2.ycorr_v), xp, yp, n[1], all(f.v_blend),
                                 column(cw.v_int_xypart, 1), g.gridformatcurrv_0x, g.gridformatcurrv_0y,
                                 g.gridformatcurrv_deltax, g.gridformatcurrv_deltay, g.gridformatcurrv_xcells,
                                 g.gridformatcurrv_ycells);
        }
        break;
      case 0: {
        // Currents regridded onto the model grid have one layer: it stands
        // for every layer, and there is no vertical current.
        calls.interp_lineal(all(c2.xcorr_u), all(c2.ycorr_u), xp, yp, n[0],
                            blended ? all(f.u_blend) : column(c2.u_curr_read, 1), column(cw.u_int_xypart, 1));
        calls.interp_lineal(all(c2.xcorr_v), all(c2.ycorr_v), xp, yp, n[1],
                            blended ? all(f.v_blend) : column(c2.v_curr_read, 1), column(cw.v_int_xypart, 1));
        const int32_t np = var_run.particle_number;
        for (int32_t l = 2; l <= var_capas.numcapascorr; ++l) {
          std::copy_n(cw.u_int_xypart.ptr(1, 1), np, cw.u_int_xypart.ptr(1, l));
          std::copy_n(cw.v_int_xypart.ptr(1, 1), np, cw.v_int_xypart.ptr(1, l));
        }
        if (vertical) cw.w_int_xypart.fill(0.0);
        break;
      }
      default:
        break;
    }
  }
  currents_at_depth(spill, all(f.z_pass), all(depth_above), all(depth_below));
}

void pass_3d::velocities(engine_calls& calls, int32_t spill, int32_t step, int32_t& surface_exhausted) {
  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  surface_exhausted = std::find(state, state + np, 1) == state + np ? 1 : 0;
  calls.vel_adv_3d(spill, step);
  calls.vel_adv_2d(spill, step);
  auto& cw = var_currwindwave;
  const double* uc = cw.uadv_corrientes.ptr(1, spill);
  const double* vc = cw.vadv_corrientes.ptr(1, spill);
  const double* wc = cw.wadv_corrientes_y_float.ptr(1, spill);
  const double* uw = cw.uadv_viento_oleaje.ptr(1, spill);
  const double* vw = cw.vadv_viento_oleaje.ptr(1, spill);
  double* u = cw.uadv.ptr(1, spill);
  double* v = cw.vadv.ptr(1, spill);
  double* w = cw.wadv.ptr(1, spill);
  for (int32_t p = 0; p < np; ++p) {
    // Only surface and column particles move with the water.
    if (state[p] == 1 || state[p] == 5) {
      u[p] = uc[p] + uw[p];
      v[p] = vc[p] + vw[p];
      w[p] = wc[p];
    } else {
      u[p] = 0.0;
      v[p] = 0.0;
      w[p] = 0.0;
    }
  }
}

}  // namespace orvel
