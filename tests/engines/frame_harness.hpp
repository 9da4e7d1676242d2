// A small run for the frame tests: settings, forcing arrays sized for a few
// nodes and particles, and an engine whose set-up places the particles and
// whose chain only records itself (or does what the test gives it).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "engines/oil_frame.hpp"
#include "tests/engines/recording_calls.hpp"

namespace orvel::testing {

constexpr int32_t kNodes = 4;

// One spill of three particles, model step 900 s, current, wave and wind
// records every hour as uniform series without time blending, 10 h,
// particle files every hour from time 0, Euler.  Every forcing array the
// frame may touch is allocated.
inline void small_run(int32_t spills = 1, int32_t particles = 3) {
  reset_state();
  auto& r = var_run;
  r.deltat = 900.0f;
  r.particle_number = particles;
  r.numericalmethod__euler_rungekut = 1;
  r.simnumber__1_n = 1;
  r.simtype__operat_probabil = 1;
  r.firstoutput_time = 0.0f;
  r.deltatoutput_parts = 3600.0f;
  r.deltatoutput_concs = 3600.0f;
  r.deltatoutput_properties = 3600;
  r.outputparts__y_n = 1;
  r.outputconcs__y_n = 0;
  r.outputpropierties__y_n = 0;
  r.search_land__mask_maskandcoast = 1;

  auto& c = var_cfg;
  c.currenttype__file_constant = 2;
  c.wavestype__file_constant = 2;
  c.windtype__file_constant = 2;
  c.deltat_currents = 3600.0f;
  c.deltat_waves = 3600.0f;
  c.deltat_wind = 3600.0f;
  c.simulationtimehorizon = 36000.0f;
  c.currentfilesorlines_number = 12;
  c.wavesfilesorlines_number = 12;
  c.windfilesorlines_number = 12;
  c.currentgridformat__xyz_grid = 1;
  c.windgridformat__xyz_grid = 1;
  c.wavesgridformat__xyz_grid = 1;
  c.spill__instant_contin = 1;
  c.spills_number = spills;
  c.obj__floating_fuel_hns = 2;
  c.obj__floating_fuel = 2;
  c.spillstarttime.allocate(spills);
  c.xyzcurrentnodes_number = {kNodes, kNodes, kNodes};
  c.xyzwindnodes_number = kNodes;
  c.xyzwavesnodes_number = kNodes;

  var_mallas.currentgrid_regular__y_n = 1;
  var_mallas.windgrid_regular__y_n = 1;
  var_mallas.wavesgrid_regular__y_n = 1;
  var_mallasforz.gridformatcurru_xcells = 2;
  var_mallasforz.gridformatcurru_ycells = 2;

  auto& c2 = var2;
  c2.u_curr_read.allocate(kNodes, 1);
  c2.v_curr_read.allocate(kNodes, 1);
  c2.u0.allocate(kNodes, 1);
  c2.v0.allocate(kNodes, 1);
  for (auto* a : {&c2.xcorr_u, &c2.ycorr_u, &c2.xcorr_v, &c2.ycorr_v}) a->allocate(kNodes);
  c2.indland.allocate(kNodes);
  c2.indland0.allocate(kNodes);
  c2.mask.allocate(2, 2);
  c2.mask0.allocate(2, 2);

  auto& cw = var_currwindwave;
  for (auto* a : {&cw.windx, &cw.windy, &cw.windx0, &cw.windy0, &cw.xv, &cw.yv, &cw.hwavex, &cw.hwavey, &cw.twave,
                  &cw.hwavex0, &cw.hwavey0, &cw.twave0, &cw.xh, &cw.yh}) {
    a->allocate(kNodes);
  }
  for (auto* a : {&cw.wintx, &cw.winty, &cw.wintx0, &cw.winty0, &cw.wintx_t1, &cw.winty_t1, &cw.u_curr_int,
                  &cw.v_curr_int, &cw.vuint0, &cw.vvint0, &cw.vuint_t1, &cw.vvint_t1}) {
    a->allocate(particles);
  }
  for (auto* a : {&cw.hintx, &cw.hinty, &cw.tint, &cw.hintx0, &cw.hinty0, &cw.tint0, &cw.hintx_t1, &cw.hinty_t1,
                  &cw.tint_t1}) {
    a->allocate(particles, 3);
  }
  cw.uadv.allocate(particles, spills);
  cw.vadv.allocate(particles, spills);
}

// Switches one forcing (1 currents, 2 waves, 3 wind) to field files with or
// without time blending.
inline void files(int32_t kind, bool blended) {
  const int32_t b = blended ? 1 : 0;
  if (kind == 1) {
    var_cfg.currenttype__file_constant = 1;
    var_run.temporalinterpcurr__y_n = b;
  } else if (kind == 2) {
    var_cfg.wavestype__file_constant = 1;
    var_run.temporalinterpwaves__y_n = b;
  } else {
    var_cfg.windtype__file_constant = 1;
    var_run.temporalinterpwind__y_n = b;
  }
}

template <typename Base = oil_frame>
class basic_test_engine : public Base {
 public:
  explicit basic_test_engine(recording_calls& rec) : Base(rec, "TEST", {}), rec(rec) { rec.frame = this; }

  // Extra work of the chain, after it has been recorded.
  std::function<void(int32_t spill, float t)> chain;
  // Extra set-up, after the particles are placed.
  std::function<void()> after_set_up;

 protected:
  // Every spill's particles on a line at longitude 370 + spill / 10,
  // latitude 40, at the surface; the centres at the first particle.
  void set_up() override {
    rec.note("set_up(" + std::to_string(this->sim) + ")");
    const int32_t np = var_run.particle_number;
    const int32_t ns = var_cfg.spills_number;
    auto& vp = var_part;
    if (!vp.x_part.allocated()) {
      vp.x_part.allocate(np, ns);
      vp.y_part.allocate(np, ns);
      vp.z_part.allocate(np, ns);
      vp.x_cg.allocate(ns);
      vp.y_cg.allocate(ns);
    }
    vp.indp.allocate(np, ns);
    vp.indp.fill(1);
    for (int32_t s = 1; s <= ns; ++s) {
      for (int32_t p = 1; p <= np; ++p) {
        vp.x_part(p, s) = 370.0 + 0.1 * s;
        vp.y_part(p, s) = 40.0 + 0.01 * p;
      }
      vp.x_cg(s) = vp.x_part(1, s);
      vp.y_cg(s) = vp.y_part(1, s);
    }
    if (after_set_up) after_set_up();
  }
  void spill_chain(int32_t spill, float t) override {
    rec.note("chain(" + std::to_string(spill) + ")");
    if (chain) chain(spill, t);
  }

  recording_calls& rec;
};

using test_engine = basic_test_engine<>;

}  // namespace orvel::testing
