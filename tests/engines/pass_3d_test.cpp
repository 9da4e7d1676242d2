// The three-dimensional spill pass: the current at each particle's depth
// (the vertical choice of layers, the depth-mean input and the uniform series
// by particle state), the horizontal interpolation of every layer and the
// location of the W grid, and the order of the pass with the surface flag and
// the velocity sums.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engines/frame_3d.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::g;
using testing::recording_calls;
using testing::small_run;
using strings = std::vector<std::string>;
using engine_3d = testing::basic_test_engine<frame_3d<oil_frame>>;

constexpr double factor = 111317.359375;

// The per-layer and per-particle current arrays of a 3-D run of np
// particles over the given layer depths.
void layers(const std::vector<double>& depths, int32_t np) {
  auto& cp = var_capas;
  const auto nl = static_cast<int32_t>(depths.size());
  cp.numcapascorr = nl;
  if (cp.depth.allocated()) cp.depth.deallocate();
  cp.depth.allocate(nl);
  for (int32_t k = 1; k <= nl; ++k) cp.depth(k) = depths[static_cast<std::size_t>(k - 1)];
  auto& cw = var_currwindwave;
  for (auto* a : {&cw.u_int_xypart, &cw.v_int_xypart, &cw.w_int_xypart}) {
    if (a->allocated()) a->deallocate();
    a->allocate(np, nl);
  }
  for (auto* a : {&cw.u_curr_int, &cw.v_curr_int, &cw.w_curr_int, &cw.u_curr_intsup, &cw.v_curr_intsup,
                  &cw.u_curr_intcol, &cw.v_curr_intcol}) {
    if (a->allocated()) a->deallocate();
    a->allocate(np);
  }
  var_mallas.factor = factor;
}

// Stage B alone, for one spill of particles at the given depths (m) and
// states.
struct vertical {
  std::vector<double> depths;
  std::vector<double> u_layer;  // u of every layer at every particle; v = 10 u, w = u / 10
  std::vector<double> particle_depth;
  std::vector<int32_t> state;
  farray<double, 1> z{"z"}, above{"above"}, below{"below"};

  // The arrays of the run (their values set to 0).
  void prepare() {
    var_run.particle_number = static_cast<int32_t>(particle_depth.size());
    layers(depths, var_run.particle_number);
  }
  void run() {
    const auto np = static_cast<int32_t>(particle_depth.size());
    auto& cw = var_currwindwave;
    for (int32_t l = 1; l <= var_capas.numcapascorr; ++l) {
      for (int32_t p = 1; p <= np; ++p) {
        const double u = u_layer[static_cast<std::size_t>(l - 1)];
        cw.u_int_xypart(p, l) = u;
        cw.v_int_xypart(p, l) = 10.0 * u;
        cw.w_int_xypart(p, l) = u / 10.0;
      }
    }
    cw.w_curr_int.fill(99.0);  // must be written
    z.allocate(np);
    above.allocate(np);
    below.allocate(np);
    if (var_part.indp.allocated()) var_part.indp.deallocate();
    var_part.indp.allocate(np, 1);
    for (int32_t p = 1; p <= np; ++p) {
      z(p) = particle_depth[static_cast<std::size_t>(p - 1)] / factor;
      var_part.indp(p, 1) = state.empty() ? 1 : state[static_cast<std::size_t>(p - 1)];
    }
    currents_at_depth(1, {z.data(), static_cast<std::size_t>(np)}, {above.data(), static_cast<std::size_t>(np)},
                      {below.data(), static_cast<std::size_t>(np)});
  }
};

TEST(CurrentsAtDepth, LayeredCurrentsByParticleDepth) {
  // Layer values u = 1, 2, 4 (3 for the second of two layers at one depth);
  // the expected currents are read off the straight line between the layers
  // around each depth.
  struct row {
    const char* what;
    std::vector<double> depths, u_layer, particle_depth, expected_u;
  };
  const std::vector<row> rows = {
      {"layers 0, 10, 20 m", {0, 10, 20}, {1, 2, 4}, {0, 5, 10, 25, 15}, {1, 1.5, 2, 4, 3}},
      {"one layer at 7 m", {7}, {2.5}, {0, 5, 7, 10, 25}, {2.5, 2.5, 2.5, 2.5, 2.5}},
      {"one layer at the surface", {0}, {2.5}, {0, 40}, {2.5, 2.5}},
      // Layers 1 and 2 are at 10 and 0 m: a particle at 5 m lies between
      // layer 2 (above) and layer 1 (below).
      {"layers listed 10, 0, 20 m", {10, 0, 20}, {2, 1, 4}, {0, 5, 10, 15, 25}, {1, 1.5, 2, 3, 4}},
      // The second layer at 10 m (u = 3) is never used: a particle at 15 m
      // lies between the first layer at 10 m and the one at 20 m.
      {"two layers at 10 m", {0, 10, 10, 20}, {1, 2, 3, 4}, {5, 10, 15}, {1.5, 2, 3}},
  };
  for (const auto& r : rows) {
    for (int32_t wflag : {0, 1}) {
      reset_state();
      var_cfg.currenttype__file_constant = 1;
      var_cfg.current3dinputformat_layers_average = 1;
      var_currwindwave.wcurrentsflag = wflag;
      vertical v{r.depths, r.u_layer, r.particle_depth, {}};
      v.prepare();
      v.run();
      const auto& cw = var_currwindwave;
      for (std::size_t p = 0; p < r.particle_depth.size(); ++p) {
        const auto i = static_cast<int32_t>(p + 1);
        const double u = r.expected_u[p];
        EXPECT_NEAR(cw.u_curr_int(i), u, 1e-12) << r.what << ", particle at " << r.particle_depth[p] << " m";
        EXPECT_NEAR(cw.v_curr_int(i), 10.0 * u, 1e-11) << r.what;
        EXPECT_NEAR(cw.w_curr_int(i), wflag ? u / 10.0 : 0.0, 1e-13) << r.what << " wflag " << wflag;
        // The chosen layers enclose the particle, or are the nearest layer
        // when it lies outside them.
        const double d = v.z(i) * factor;
        EXPECT_TRUE((v.above(i) <= d && d < v.below(i)) || v.above(i) == v.below(i)) << r.what;
      }
    }
  }
}

TEST(CurrentsAtDepth, LayerValuesAreCopiedAtAndBeyondTheEndLayers) {
  // At the shallowest layer, above it and below the deepest the values are
  // those of the layer itself, bit for bit.
  reset_state();
  var_cfg.currenttype__file_constant = 1;
  var_cfg.current3dinputformat_layers_average = 1;
  var_currwindwave.wcurrentsflag = 1;
  vertical v{{2, 10, 20}, {0.1, 0.2, 0.3}, {0, 2, 30}, {}};
  v.prepare();
  v.run();
  EXPECT_EQ(var_currwindwave.u_curr_int(1), 0.1);
  EXPECT_EQ(var_currwindwave.u_curr_int(2), 0.1);
  EXPECT_EQ(var_currwindwave.u_curr_int(3), 0.3);
  EXPECT_EQ(var_currwindwave.w_curr_int(3), 0.3 / 10.0);
  EXPECT_EQ(v.above(1), 2.0);
  EXPECT_EQ(v.below(3), 20.0);
}

TEST(CurrentsAtDepth, DepthMeanAndUniformSeriesByParticleState) {
  // Particles in the states 1, 5, 0, -1, 2, 3, -2 and 4, all at 12 m.
  const std::vector<int32_t> states = {1, 5, 0, -1, 2, 3, -2, 4};
  const std::vector<double> at(states.size(), 12.0);
  struct row {
    int32_t type;  // currenttype__file_constant
    int32_t form;  // current3dinputformat_layers_average
    std::vector<double> expected_u;
  };
  // Depth-mean input: the surface field 0.4 at the surface, the record's
  // depth mean 0.25 in the column, nothing elsewhere.  Uniform series: the
  // column value 0.7 in the column, the surface value 0.3 in every other state.
  const std::vector<row> rows = {
      {1, 2, {0.4, 0.25, 0, 0, 0, 0, 0, 0}},
      {2, 0, {0.3, 0.7, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3}},
      {2, 1, {0.3, 0.7, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3}},
  };
  for (const auto& r : rows) {
    for (int32_t wflag : {0, 1}) {
      reset_state();
      var_cfg.currenttype__file_constant = r.type;
      var_cfg.current3dinputformat_layers_average = r.form;
      var_currwindwave.wcurrentsflag = wflag;
      vertical v{{0}, {0.4}, at, states};
      v.prepare();
      auto& cw = var_currwindwave;
      cw.u_curr_intsup.fill(0.3);
      cw.v_curr_intsup.fill(3.0);
      cw.u_curr_intcol.fill(0.7);
      cw.v_curr_intcol.fill(7.0);
      var2.u_curr_read_colprom.allocate(1);
      var2.v_curr_read_colprom.allocate(1);
      var2.u_curr_read_colprom(1) = 0.25;
      var2.v_curr_read_colprom(1) = 2.5;
      v.run();
      for (std::size_t p = 0; p < states.size(); ++p) {
        const auto i = static_cast<int32_t>(p + 1);
        EXPECT_EQ(cw.u_curr_int(i), r.expected_u[p]) << "type " << r.type << " form " << r.form << " state "
                                                     << states[p];
        EXPECT_EQ(cw.v_curr_int(i), 10.0 * r.expected_u[p]) << "type " << r.type << " state " << states[p];
        EXPECT_EQ(cw.w_curr_int(i), 0.0) << "type " << r.type << " wflag " << wflag;
      }
    }
  }
}

// A small 3-D run of the frame harness: three particles at the surface,
// three layers at 0, 10 and 20 m, current files on a regular grid of their
// own, one hour of one step.
void run_3d(int32_t spills = 1) {
  small_run(spills);
  var_run.sim__2d_3d = 2;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
  testing::files(1, false);
  var_cfg.current3dinputformat_layers_average = 1;
  layers({0, 10, 20}, var_run.particle_number);
  auto& c2 = var2;
  for (auto* a : {&c2.u_curr_read, &c2.v_curr_read}) {
    a->deallocate();
    a->allocate(testing::kNodes, 3);
  }
  c2.w_curr_read.allocate(testing::kNodes, 3);
  c2.xcorr_w.allocate(testing::kNodes);
  c2.ycorr_w.allocate(testing::kNodes);
  auto& cw = var_currwindwave;
  for (auto* a : {&cw.uadv_corrientes, &cw.vadv_corrientes, &cw.wadv_corrientes_y_float, &cw.uadv_viento_oleaje,
                  &cw.vadv_viento_oleaje, &cw.wadv}) {
    a->allocate(var_run.particle_number, spills);
  }
  cw.wcurrentsflag = 1;
}

const std::set<std::string> stage_a_calls = {"mallas_forzamientos", "interp_corr_capas", "interp_lineal_mr_capas",
                                             "interp_lineal_mr", "interp_lineal", "update_indp"};

// The recording names the layer blends of the engine's pass.
void name_layer_blends(recording_calls& rec, engine_3d& e) {
  rec.named_arrays = {{&e.pass.u_layers_blend, "u_layers_blend"},
                      {&e.pass.v_layers_blend, "v_layers_blend"},
                      {&e.pass.w_layers_blend, "w_layers_blend"}};
}

TEST(Pass3d, HorizontalStageByCurrentInput) {
  struct row {
    const char* what;
    int32_t regular, blend, joint, format, wflag;
    strings expected;
  };
  const std::vector<row> rows = {
      {"regular grid, separate files",
       1, 0, 0, 1, 1,
       {"mallas_forzamientos(xcorr_u,4)", "mallas_forzamientos(xcorr_v,4)", "mallas_forzamientos(xcorr_w,4)",
        "interp_lineal_mr_capas(u_curr_read>u_int_xypart)", "interp_lineal_mr_capas(v_curr_read>v_int_xypart)",
        "interp_lineal_mr_capas(w_curr_read>w_int_xypart)"}},
      {"regular grid, no vertical current",
       1, 0, 0, 1, 0,
       {"mallas_forzamientos(xcorr_u,4)", "mallas_forzamientos(xcorr_v,4)",
        "interp_lineal_mr_capas(u_curr_read>u_int_xypart)", "interp_lineal_mr_capas(v_curr_read>v_int_xypart)"}},
      // Every layer blended at the weight of the pass, then the surface
      // layer from the surface blend.
      {"regular grid, blended",
       1, 1, 0, 1, 1,
       {"mallas_forzamientos(xcorr_u,4)", "mallas_forzamientos(xcorr_v,4)", "mallas_forzamientos(xcorr_w,4)",
        "interp_corr_capas(0)", "interp_lineal_mr_capas(u_layers_blend>u_int_xypart)",
        "interp_lineal_mr_capas(v_layers_blend>v_int_xypart)", "interp_lineal_mr_capas(w_layers_blend>w_int_xypart)",
        "interp_lineal_mr(u_blend>u_int_xypart)", "interp_lineal_mr(v_blend>v_int_xypart)"}},
      {"regular grid, joint files",
       1, 0, 1, 1, 1,
       {"mallas_forzamientos(xcorr_u,4)", "interp_lineal_mr_capas(u_curr_read>u_int_xypart)",
        "interp_lineal_mr_capas(v_curr_read>v_int_xypart)", "interp_lineal_mr_capas(w_curr_read>w_int_xypart)"}},
      {"regular grid, grid-format files",
       1, 0, 0, 2, 1,
       {"interp_lineal_mr_capas(u_curr_read>u_int_xypart)", "interp_lineal_mr_capas(v_curr_read>v_int_xypart)",
        "interp_lineal_mr_capas(w_curr_read>w_int_xypart)"}},
      {"model grid", 0, 0, 0, 1, 1,
       {"interp_lineal(u_curr_read>u_int_xypart)", "interp_lineal(v_curr_read>v_int_xypart)"}},
      {"model grid, blended", 0, 1, 0, 1, 1,
       {"interp_lineal(u_blend>u_int_xypart)", "interp_lineal(v_blend>v_int_xypart)"}},
  };
  for (const auto& r : rows) {
    run_3d();
    var_mallas.currentgrid_regular__y_n = r.regular;
    var_run.temporalinterpcurr__y_n = r.blend;
    var_cfg.currentfilesjointuvw__y_n = r.joint;
    var_cfg.currentgridformat__xyz_grid = r.format;
    var_currwindwave.wcurrentsflag = r.wflag;
    auto& fz = var_mallasforz;
    fz.gridformatcurru_0x = 366.5;
    fz.gridformatcurru_xcells = 2;
    fz.gridformatcurru_ycells = 3;
    fz.orix_cw = -1.0;
    // Layers 2 and 3 hold values that must not survive a model-grid pass.
    var_currwindwave.u_int_xypart.fill(-5.0);
    for (int32_t p = 1; p <= 3; ++p) var_currwindwave.u_int_xypart(p, 1) = 0.5;
    var_currwindwave.w_int_xypart.fill(-5.0);
    recording_calls rec;
    engine_3d e(rec);
    name_layer_blends(rec, e);
    e.run();
    strings expected = r.expected;
    expected.push_back("update_indp(1,1)");
    EXPECT_EQ(rec.of(stage_a_calls, false), expected) << r.what;
    if (r.joint == 1 || r.format == 2) {
      // The W grid is the U grid.
      EXPECT_EQ(fz.orix_cw, r.format == 2 ? 366.5 : 364.0) << r.what;
      EXPECT_EQ(fz.celdax_cw, r.format == 2 ? 2 : 4) << r.what;
      EXPECT_EQ(fz.celday_cw, r.format == 2 ? 3 : 1) << r.what;
    }
    if (r.regular == 0) {
      // Layer 1 (left at 0.5 by the recording interpolation) stands for every
      // layer; no vertical current is interpolated.
      for (int32_t l = 1; l <= 3; ++l) EXPECT_EQ(var_currwindwave.u_int_xypart(2, l), 0.5) << r.what;
      for (int32_t l = 1; l <= 3; ++l) EXPECT_EQ(var_currwindwave.w_int_xypart(2, l), 0.0) << r.what;
    }
  }
}

// rungek that sets the stage weights as the real stage does.
struct staged_calls : recording_calls {
  void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0, std::span<const double> y0,
              std::span<double> xs, std::span<double> ys, std::span<double> u, std::span<double> v) override {
    const float dt = var_run.deltat;
    const float d = var_cfg.deltat_currents;
    if (stage <= 2) var_rk.k_vtmed = (static_cast<float>(2 * k) * dt + dt) / (d + d);
    if (stage == 3) var_rk.k_vtmed = (static_cast<float>(k) * dt + dt) / d;
    recording_calls::rungek(spill, stage, k, x0, y0, xs, ys, u, v);
  }
};

TEST(Pass3d, EveryLayerIsBlendedAtTheWeightOfEachPass) {
  // Two spills, steps of 1800 s in hourly records: the sub-step weights 0
  // and 0.5; with Runge-Kutta the stages 2 and 3 at the middle of the step
  // and stage 4 at its end.  The blend of one time serves every spill and
  // stage at that time within the step.
  struct row {
    int32_t method;
    strings expected;
  };
  const std::vector<row> rows = {
      {1, {"1:interp_corr_capas(0)", "2:interp_corr_capas(0.5)"}},
      {2,
       {"1:interp_corr_capas(0)", "1:interp_corr_capas(0.25)", "1:interp_corr_capas(0.5)", "1:interp_corr_capas(0)",
        "1:interp_corr_capas(0.25)", "1:interp_corr_capas(0.5)", "2:interp_corr_capas(0.5)",
        "2:interp_corr_capas(0.75)", "2:interp_corr_capas(1)", "2:interp_corr_capas(0.5)",
        "2:interp_corr_capas(0.75)", "2:interp_corr_capas(1)"}},
  };
  for (const auto& r : rows) {
    run_3d(2);
    var_run.temporalinterpcurr__y_n = 1;
    var_run.numericalmethod__euler_rungekut = r.method;
    var_run.deltat = 1800.0f;
    staged_calls rec;
    engine_3d e(rec);
    name_layer_blends(rec, e);
    std::vector<double> deep;
    e.chain = [&](int32_t, float) { deep.push_back(var_currwindwave.u_int_xypart(1, 3)); };
    e.run();
    EXPECT_EQ(rec.of({"interp_corr_capas"}), r.expected) << "method " << r.method;
    // The deepest layer at the particles is the last blend of the spill's
    // passes (the recording blend writes its weight), not the record's.
    const std::vector<double> last = r.method == 1 ? std::vector<double>{0, 0, 0.5, 0.5}
                                                   : std::vector<double>{0.5, 0.5, 1, 1};
    EXPECT_EQ(deep, last) << "method " << r.method;
    ASSERT_TRUE(e.pass.w_layers_blend.allocated());
    EXPECT_EQ(e.pass.u_layers_blend.size(2), 3);
  }
}

TEST(Pass3d, WGridIsLocatedOncePerSimulation) {
  run_3d(2);
  var_run.simnumber__1_n = 2;
  var_run.numericalmethod__euler_rungekut = 2;
  var_run.deltat = 900.0f;
  recording_calls rec;
  engine_3d e(rec);
  e.run();
  EXPECT_EQ(rec.of({"mallas_forzamientos"}), (strings{"1:mallas_forzamientos(xcorr_u,4)",
                                                       "1:mallas_forzamientos(xcorr_v,4)",
                                                       "1:mallas_forzamientos(xcorr_w,4)",
                                                       "1:mallas_forzamientos(xcorr_u,4)",
                                                       "1:mallas_forzamientos(xcorr_v,4)",
                                                       "1:mallas_forzamientos(xcorr_w,4)"}));
  // Four Runge-Kutta passes of two spills in four steps, two simulations:
  // every pass interpolates every layer.
  EXPECT_EQ(rec.of({"interp_lineal_mr_capas"}).size(), 2u * 4u * 2u * 4u * 3u);
}

const std::set<std::string> pass_calls = {"interp_lineal_mr", "interp_lineal_mr_capas", "update_indp", "update_par",
                                          "vel_adv_3d", "vel_adv_2d", "rungek", "chain"};

TEST(Pass3d, PassOrderWithEulerAndRungeKutta) {
  for (int32_t method : {1, 2}) {
    run_3d();
    var_run.numericalmethod__euler_rungekut = method;
    testing::files(2, false);
    testing::files(3, false);
    var_currwindwave.wcurrentsflag = 0;
    recording_calls rec;
    engine_3d e(rec);
    e.run();
    strings one_pass = {"interp_lineal_mr(windx>wintx)",
                        "interp_lineal_mr(windy>winty)",
                        "interp_lineal_mr(hwavex>hintx)",
                        "interp_lineal_mr(hwavey>hinty)",
                        "interp_lineal_mr(twave>tint)",
                        "interp_lineal_mr_capas(u_curr_read>u_int_xypart)",
                        "interp_lineal_mr_capas(v_curr_read>v_int_xypart)",
                        "update_indp(1,1)",
                        "update_par(1,1)",
                        "vel_adv_3d(1,1)",
                        "vel_adv_2d(1,1)"};
    strings expected;
    const int passes = method == 2 ? 4 : 1;
    for (int stage = 1; stage <= passes; ++stage) {
      // The states follow the particles' positions, which the Runge-Kutta
      // stages leave alone: they are updated in the first stage only.
      for (const auto& call : one_pass) {
        if (stage == 1 || call.rfind("update_", 0) != 0) expected.push_back(call);
      }
      if (method == 2) expected.push_back("rungek(1," + std::to_string(stage) + ",0)");
    }
    expected.push_back("chain(1)");
    EXPECT_EQ(rec.of(pass_calls, false), expected) << "method " << method;
  }
}

TEST(Pass3d, SurfaceFlagAndVelocitySums) {
  // Particles at the surface, in the column and beached; the recording
  // velocity routines leave the parts the test puts in place.
  struct row {
    std::vector<int32_t> states;
    int32_t surface_exhausted;
  };
  const std::vector<row> rows = {{{1, 5, 0}, 0}, {{5, 5, -1}, 1}, {{0, 2, 4}, 1}, {{-2, 3, 1}, 0}};
  for (const auto& r : rows) {
    run_3d();
    recording_calls rec;
    engine_3d e(rec);
    std::vector<int32_t> flags;
    e.after_set_up = [&] {
      for (int32_t p = 1; p <= 3; ++p) var_part.indp(p, 1) = r.states[static_cast<std::size_t>(p - 1)];
      auto& cw = var_currwindwave;
      cw.uadv_corrientes.fill(1.0);
      cw.vadv_corrientes.fill(2.0);
      cw.wadv_corrientes_y_float.fill(3.0);
      cw.uadv_viento_oleaje.fill(0.25);
      cw.vadv_viento_oleaje.fill(0.5);
    };
    e.chain = [&](int32_t spill, float) { flags.push_back(e.surface_exhausted(spill)); };
    e.run();
    EXPECT_EQ(flags, std::vector<int32_t>{r.surface_exhausted});
    for (int32_t p = 1; p <= 3; ++p) {
      const int32_t s = r.states[static_cast<std::size_t>(p - 1)];
      const bool moves = s == 1 || s == 5;
      EXPECT_EQ(var_currwindwave.uadv(p, 1), moves ? 1.25 : 0.0) << "state " << s;
      EXPECT_EQ(var_currwindwave.vadv(p, 1), moves ? 2.5 : 0.0) << "state " << s;
      EXPECT_EQ(var_currwindwave.wadv(p, 1), moves ? 3.0 : 0.0) << "state " << s;
    }
  }
}

// update_indp that moves particle 1 into the column and notes the current it
// was given in the pass.
struct sinking_calls : recording_calls {
  void update_indp(int32_t spill, int32_t step) override {
    recording_calls::update_indp(spill, step);
    note("u_curr_int(1)=" + g(var_currwindwave.u_curr_int(1)));
    var_part.indp(1, spill) = 5;
  }
};

TEST(Pass3d, ParticleChangingStateTakesTheCurrentOfItsOldStateInThatPass) {
  run_3d();
  var_cfg.currenttype__file_constant = 2;
  var_cfg.simulationtimehorizon = 7200.0f;
  sinking_calls rec;
  engine_3d e(rec);
  e.after_set_up = [] {
    var_currwindwave.u_curr_intsup.fill(0.3);
    var_currwindwave.u_curr_intcol.fill(0.7);
  };
  e.run();
  // Step 1 at the surface, step 2 in the column.
  EXPECT_EQ(rec.of({"u_curr_int"}), (strings{"1:u_curr_int(1)=0.3", "2:u_curr_int(1)=0.7"}));
}

TEST(Pass3d, PresenceStatisticsAreThe3dOnes) {
  run_3d();
  var_run.outputconcs__y_n = 1;
  recording_calls rec;
  engine_3d e(rec);
  e.run();
  EXPECT_EQ(rec.of({"probabilidad_3d", "probabilidad"}, false),
            (strings{"probabilidad_3d(1,1;cont_p=1)", "probabilidad_3d(1,1;cont_p=1)"}));
}

}  // namespace
}  // namespace orvel
