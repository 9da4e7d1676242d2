// The three-dimensional spill pass, shared by the oil and HNS 3-D engines: in
// every pass the current at each particle's own depth (a horizontal stage
// that interpolates every current layer to the pass positions, then a
// vertical stage that picks the layer or the pair of layers around the
// particle), and after the state update the surface flag, the 3-D and
// surface velocities and their sums.  The presence statistics of the outputs
// are the 3-D ones.
//
// The Runge-Kutta stages move the horizontal pass positions only: the depth
// of every pass is z_pass, the depth at the start of the sub-step.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"
#include "engines/frame.hpp"

namespace orvel {

// Vertical stage for the particles of `spill` at depths z_pass (m / factor):
// u_curr_int, v_curr_int, w_curr_int from the per-layer values at the
// particles (u_int_xypart, ...), the depth-mean current or the uniform
// series, by the current input form.  depth_above and depth_below receive
// the depths of the layers chosen for each particle (layered input only).
void currents_at_depth(int32_t spill, std::span<const double> z_pass, std::span<double> depth_above,
                       std::span<double> depth_below);

// The work of the 3-D pass that does not depend on the engine's own layer.
class pass_3d {
 public:
  // Allocates the layer-search arrays for particle_number particles (engine
  // entry); they are released with the engine.
  pass_3d();

  // Horizontal stage (current files) then vertical stage.  `locating` is true
  // in the pass that has just located the regular U and V grids: the W grid
  // is located with them.
  void currents(engine_calls& calls, engine_frame& f, int32_t spill, bool locating);
  // Surface flag, vel_adv_3d, vel_adv_2d and the velocity sums.
  void velocities(engine_calls& calls, int32_t spill, int32_t step, int32_t& surface_exhausted);

  farray<double, 1> depth_above{"depth_above"};  // (particle) depth of the layer at or above, m
  farray<double, 1> depth_below{"depth_below"};  // (particle) depth of the layer below, m
  // Current files blended in time: every layer at the nodes, blended at the
  // weight of the pass (allocated at the first blended pass).
  farray<double, 2> u_layers_blend{"u_layers_blend"};  // (U node, layer) eastward current, m/s
  farray<double, 2> v_layers_blend{"v_layers_blend"};  // (V node, layer) northward current, m/s
  farray<double, 2> w_layers_blend{"w_layers_blend"};  // (W node, layer) vertical current, m/s

 private:
  void locate_w_grid(engine_calls& calls);
  // The layer blends of the pass of frame f; kept while the simulation, the
  // step and the weight stay the same (the records change only between
  // steps), so spills and stages at one time blend once.
  void blend_layers(engine_calls& calls, const engine_frame& f);
  int32_t blend_sim_ = 0;
  int32_t blend_step_ = 0;
  float blend_weight_ = 0.0f;
  bool blend_kept_ = false;
};

// A frame layer (oil_frame or the HNS one) with the 3-D pass and presence
// statistics; the 3-D engines derive from frame_3d<their layer>.
template <typename Base>
class frame_3d : public Base {
 public:
  using Base::Base;

  pass_3d pass;

 protected:
  void pass_currents(int32_t spill) override {
    const bool locating = var_cfg.currenttype__file_constant == 1 && var_mallas.currentgrid_regular__y_n == 1 &&
                          !this->current_grid_located;
    if (locating) this->locate_current_grid();
    pass.currents(this->calls, *this, spill, locating);
  }
  void pass_velocities(int32_t spill) override {
    pass.velocities(this->calls, spill, this->step, this->surface_exhausted(spill));
  }
  void presence_statistics(int32_t spill) override { this->calls.probabilidad_3d(spill, this->step); }
  // The moves of a spill after its passes.  The vertical diffusivities of
  // the step come first; then the transport move (the horizontal
  // diffusivities, then the position update) or the spreading move (the
  // spreading diffusivity from coef_r when `diffusivity`, then the spreading
  // position update by coef_r, coef_q).  The position updates work in three
  // dimensions (surface and column particles, the depth kept at or below the
  // surface; they use the vertical diffusivities of the step) or, with the
  // coast polygons (searchcoastalgorithm__lr_hr 2), search the crossings of
  // the surface particles and resolve them against `polygons` in the
  // horizontal only.  The vertical diffusivities are per-particle arrays
  // written again at every step, so nothing is left over on either route.
  void vertical_diffusivities(int32_t spill) { this->calls.verticaldiffusionvelocity(spill, this->step); }
  void transport_move_3d(int32_t spill, const farray<coast_polygon>& polygons) {
    this->calls.dispersion_2d(spill);
    if (var_run.searchcoastalgorithm__lr_hr == 2) {
      this->calls.busca_parts_intersect(spill, this->step);
      this->calls.posicion_2d_local(spill, this->step, polygons);
    } else {
      this->calls.posicion_3d(spill, this->step);
    }
  }
  void spreading_move_3d(int32_t spill, bool diffusivity, const farray<coast_polygon>& polygons) {
    auto& c2 = var2;
    if (diffusivity) this->calls.dispersion_2d_spread(spill, c2.coef_r);
    if (var_run.searchcoastalgorithm__lr_hr == 2) {
      this->calls.busca_parts_inter_spread(spill, this->step, c2.coef_r, c2.coef_q);
      this->calls.posicion_2d_local_spread(spill, this->step, polygons);
    } else {
      this->calls.posicion_3d_spread(spill, this->step, c2.coef_r, c2.coef_q);
    }
  }
  // Both: the vertical diffusivities, then the transport move.
  void move_3d(int32_t spill, const farray<coast_polygon>& polygons) {
    vertical_diffusivities(spill);
    transport_move_3d(spill, polygons);
  }
};

}  // namespace orvel
