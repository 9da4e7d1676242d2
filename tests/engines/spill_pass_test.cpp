// The spill pass: activation, forcing interpolation at the pass positions,
// state and velocity calls, Euler as one pass and Runge-Kutta as four, the
// location of the regular forcing grids, and the blended currents that each
// spill's first stage starts from.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::g;
using testing::recording_calls;
using testing::small_run;
using testing::test_engine;
using strings = std::vector<std::string>;

const std::set<std::string> pass_calls = {"interp_lineal",       "interp_lineal_mr", "mallas_forzamientos",
                                          "update_indp",         "update_par",       "vel_adv_2d",
                                          "rungek",              "chain",            "interp_corr"};

// One sub-step of one hour.
void one_step() {
  small_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
}

strings pass_of(const recording_calls& rec) { return rec.of(pass_calls, false); }

TEST(SpillPass, EulerIsOnePass) {
  one_step();
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(pass_of(rec), (strings{"update_indp(1,1)", "update_par(1,1)", "vel_adv_2d(1,1)", "chain(1)"}));
}

TEST(SpillPass, RungeKuttaIsFourPassesAtTheStagePositions) {
  one_step();
  var_run.numericalmethod__euler_rungekut = 2;
  testing::files(3, false);
  recording_calls rec;
  rec.show_positions = true;
  test_engine e(rec);
  e.run();
  const double x0 = 370.0 + 0.1;
  strings expected;
  for (int stage = 1; stage <= 4; ++stage) {
    // The recording rungek moves each stage position by 0.001 deg per stage.
    const std::string at = "@" + g(stage == 1 ? x0 : x0 + 0.001 * (stage - 1));
    if (stage == 1) expected.push_back("mallas_forzamientos(xv,4)");
    expected.push_back("interp_lineal_mr(windx>wintx" + at + ")");
    expected.push_back("interp_lineal_mr(windy>winty" + at + ")");
    // The states follow x_part, which the stages do not move: they are
    // derived once, in the first stage.
    if (stage == 1) {
      expected.push_back("update_indp(1,1)");
      expected.push_back("update_par(1,1)");
    }
    expected.push_back("vel_adv_2d(1,1)");
    expected.push_back("rungek(1," + std::to_string(stage) + ",0)");
  }
  expected.push_back("chain(1)");
  EXPECT_EQ(pass_of(rec), expected);
  EXPECT_EQ(e.stage, 1);
  // The stage start positions are the positions at the start of the step,
  // and the stored positions are left to the chain.
  EXPECT_EQ(e.x_rk0(1), x0);
  EXPECT_EQ(var_part.x_part(1, 1), x0);
}

TEST(SpillPass, RungeKuttaStagesOfEverySpillAndSubStep) {
  small_run(2);
  var_run.numericalmethod__euler_rungekut = 2;
  var_cfg.simulationtimehorizon = 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  strings expected;
  for (int k = 0; k < 4; ++k) {
    for (int s = 1; s <= 2; ++s) {
      for (int stage = 1; stage <= 4; ++stage) {
        expected.push_back(std::to_string(k + 1) + ":rungek(" + std::to_string(s) + "," + std::to_string(stage) +
                           "," + std::to_string(k) + ")");
      }
    }
  }
  EXPECT_EQ(rec.of({"rungek"}), expected);
  EXPECT_EQ(var_rk.fx1.size(1), 3);
  EXPECT_EQ(var_rk.fy4.size(2), 2);
}

TEST(SpillPass, SpillStartingExactlyAtAStepTimeWaitsForTheNextStep) {
  // Step times are 900, 1800, 2700 s: a spill is moved from the first step
  // whose time lies strictly after its start.
  struct row {
    double start;
    int32_t first_step;
  };
  const row rows[] = {{0.0, 1}, {900.0, 2}, {1000.0, 2}, {1800.0, 3}, {1799.0, 2}};
  for (const auto& r : rows) {
    small_run(2);
    var_cfg.simulationtimehorizon = 3600.0f;
    var_cfg.spillstarttime(2) = r.start;
    recording_calls rec;
    test_engine e(rec);
    e.run();
    const strings moved = rec.of({"chain"});
    strings expected;
    for (int32_t step = 1; step <= 4; ++step) {
      expected.push_back(std::to_string(step) + ":chain(1)");
      if (step >= r.first_step) expected.push_back(std::to_string(step) + ":chain(2)");
    }
    EXPECT_EQ(moved, expected) << "start " << r.start;
    // Nothing is interpolated, updated or moved for it before.
    EXPECT_EQ(rec.of({"update_indp"}).size(), moved.size());
  }
}

TEST(SpillPass, InactiveSpillGetsNoForcing) {
  small_run(2);
  testing::files(1, false);
  var_cfg.simulationtimehorizon = 1800.0f + 1800.0f;
  var_cfg.spillstarttime(1) = 1.0e9;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  // Spill 1 never starts; spill 2 locates the grids at its first pass.
  EXPECT_EQ(rec.of({"mallas_forzamientos", "update_indp"}).front(), "1:mallas_forzamientos(xcorr_u,4)");
  EXPECT_EQ(rec.of({"update_indp"}).front(), "1:update_indp(2,1)");
  EXPECT_EQ(rec.of({"mallas_forzamientos"}).size(), 2u);
  EXPECT_EQ(rec.of({"update_indp"}).size(), 4u);
}

// The forcing calls of the first pass for each forcing setting.
TEST(SpillPass, ForcingAtTheParticles) {
  struct row {
    int32_t kind, type, blend, regular;
    strings expected;
  };
  const std::vector<row> rows = {
      {3, 1, 1, 1, {"mallas_forzamientos(xv,4)", "interp_lineal_mr(windx_blend>wintx)", "interp_lineal_mr(windy_blend>winty)"}},
      {3, 1, 0, 1, {"mallas_forzamientos(xv,4)", "interp_lineal_mr(windx>wintx)", "interp_lineal_mr(windy>winty)"}},
      {3, 1, 1, 0, {"interp_lineal(windx_blend>wintx)", "interp_lineal(windy_blend>winty)"}},
      {3, 1, 0, 0, {"interp_lineal(windx>wintx)", "interp_lineal(windy>winty)"}},
      {3, 1, 0, 2, {}},
      {3, 2, 1, 1, {}},  // a uniform series is already at the particles
      {2, 1, 1, 1, {"mallas_forzamientos(xh,4)", "interp_lineal_mr(hwavex_blend>hintx)",
                    "interp_lineal_mr(hwavey_blend>hinty)", "interp_lineal_mr(twave_blend>tint)"}},
      {2, 1, 0, 0, {"interp_lineal(hwavex>hintx)", "interp_lineal(hwavey>hinty)", "interp_lineal(twave>tint)"}},
      {2, 2, 0, 1, {}},
      {1, 1, 1, 1, {"mallas_forzamientos(xcorr_u,4)", "mallas_forzamientos(xcorr_v,4)",
                    "interp_lineal_mr(u_blend>u_curr_int)", "interp_lineal_mr(v_blend>v_curr_int)"}},
      {1, 1, 0, 1, {"mallas_forzamientos(xcorr_u,4)", "mallas_forzamientos(xcorr_v,4)",
                    "interp_lineal_mr(u_curr_read>u_curr_int)", "interp_lineal_mr(v_curr_read>v_curr_int)"}},
      {1, 1, 0, 0, {"interp_lineal(u_curr_read>u_curr_int)", "interp_lineal(v_curr_read>v_curr_int)"}},
      {1, 1, 1, 0, {"interp_lineal(u_blend>u_curr_int)", "interp_lineal(v_blend>v_curr_int)"}},
      {1, 1, 0, 3, {}},
      {1, 2, 0, 1, {}},
  };
  for (const auto& r : rows) {
    one_step();
    if (r.kind == 1) {
      var_cfg.currenttype__file_constant = r.type;
      var_run.temporalinterpcurr__y_n = r.blend;
      var_mallas.currentgrid_regular__y_n = r.regular;
    } else if (r.kind == 2) {
      var_cfg.wavestype__file_constant = r.type;
      var_run.temporalinterpwaves__y_n = r.blend;
      var_mallas.wavesgrid_regular__y_n = r.regular;
    } else {
      var_cfg.windtype__file_constant = r.type;
      var_run.temporalinterpwind__y_n = r.blend;
      var_mallas.windgrid_regular__y_n = r.regular;
    }
    recording_calls rec;
    test_engine e(rec);
    e.run();
    strings expected = r.expected;
    expected.push_back("update_indp(1,1)");
    EXPECT_EQ(rec.of({"interp_lineal", "interp_lineal_mr", "mallas_forzamientos", "update_indp"}, false), expected)
        << "kind " << r.kind << " type " << r.type << " blend " << r.blend << " regular " << r.regular;
  }
}

TEST(SpillPass, WindThenWavesThenCurrentsThenStatesAndVelocity) {
  one_step();
  testing::files(1, false);
  testing::files(2, false);
  testing::files(3, false);
  var_mallas.currentgrid_regular__y_n = 0;
  var_mallas.wavesgrid_regular__y_n = 0;
  var_mallas.windgrid_regular__y_n = 0;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(pass_of(rec), (strings{"interp_lineal(windx>wintx)", "interp_lineal(windy>winty)",
                                   "interp_lineal(hwavex>hintx)", "interp_lineal(hwavey>hinty)",
                                   "interp_lineal(twave>tint)", "interp_lineal(u_curr_read>u_curr_int)",
                                   "interp_lineal(v_curr_read>v_curr_int)", "update_indp(1,1)", "update_par(1,1)",
                                   "vel_adv_2d(1,1)", "chain(1)"}));
}

TEST(SpillPass, RegularGridLocation) {
  // Joint u, v files: the v grid takes the u grid's values.
  one_step();
  testing::files(1, false);
  var_cfg.currentfilesjointuvw__y_n = 1;
  recording_calls rec;
  rec.show_fields = true;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"mallas_forzamientos", "interp_lineal_mr"}, false),
            (strings{"mallas_forzamientos(xcorr_u,4)", "interp_lineal_mr(u_curr_read=1>u_curr_int;x0=364)",
                     "interp_lineal_mr(v_curr_read=0>v_curr_int;x0=364)"}));
  EXPECT_EQ(var_mallasforz.gridformatcurrv_xcells, 4);
  EXPECT_EQ(var_mallasforz.gridformatcurrv_ycells, 1);

  // Grids given by the scenario (format 2): nothing is derived.
  one_step();
  testing::files(1, false);
  testing::files(3, false);
  var_cfg.currentgridformat__xyz_grid = 2;
  var_cfg.windgridformat__xyz_grid = 2;
  var_mallasforz.gridformatwind_0x = 365.5;
  var_mallasforz.gridformatcurru_0x = 366.5;
  var_mallasforz.gridformatcurrv_0x = 367.5;
  recording_calls rec2;
  rec2.show_fields = true;
  test_engine e2(rec2);
  e2.run();
  EXPECT_EQ(rec2.of({"mallas_forzamientos", "interp_lineal_mr"}, false),
            (strings{"interp_lineal_mr(windx=1>wintx;x0=365.5)", "interp_lineal_mr(windy=0>winty;x0=365.5)",
                     "interp_lineal_mr(u_curr_read=1>u_curr_int;x0=366.5)",
                     "interp_lineal_mr(v_curr_read=0>v_curr_int;x0=367.5)"}));
  EXPECT_TRUE(e2.current_grid_located);
  EXPECT_TRUE(e2.wind_grid_located);
  EXPECT_FALSE(e2.waves_grid_located);  // waves come as a series
}

TEST(SpillPass, GridsAreLocatedOncePerSimulationByTheFirstActiveSpill) {
  small_run(3);
  testing::files(1, false);
  testing::files(2, false);
  testing::files(3, false);
  var_run.numericalmethod__euler_rungekut = 2;
  var_cfg.spillstarttime(1) = 2000.0;
  var_cfg.simulationtimehorizon = 7200.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"mallas_forzamientos", "update_indp"}).at(4), "1:update_indp(2,1)");
  EXPECT_EQ(rec.of({"mallas_forzamientos"}), (strings{"1:mallas_forzamientos(xv,4)", "1:mallas_forzamientos(xh,4)",
                                                       "1:mallas_forzamientos(xcorr_u,4)",
                                                       "1:mallas_forzamientos(xcorr_v,4)"}));
}

// Runge-Kutta stages re-blend u_blend, v_blend at their stage times (the
// recording rungek writes minus the stage into them): every spill's first
// stage must still see the blend of the sub-step.
TEST(SpillPass, EachSpillStartsFromTheBlendOfTheSubStep) {
  small_run(2);
  testing::files(1, true);
  var_run.numericalmethod__euler_rungekut = 2;
  var_cfg.simulationtimehorizon = 3600.0f;
  recording_calls rec;
  rec.show_fields = true;
  test_engine e(rec);
  e.run();
  strings step2;
  for (const auto& s : rec.of({"interp_corr", "interp_lineal_mr", "rungek"})) {
    if (s.rfind("2:", 0) == 0 && s.find("v_") == std::string::npos) step2.push_back(s.substr(2));
  }
  const std::string f = g(0.25f);
  strings expected;
  for (int spill = 1; spill <= 2; ++spill) {
    expected.push_back("interp_corr(" + f + ")");
    for (int stage = 1; stage <= 4; ++stage) {
      const std::string blend = stage == 1 ? f : g(static_cast<double>(-(stage - 1)));
      expected.push_back("interp_lineal_mr(u_blend=" + blend + ">u_curr_int;x0=364)");
      expected.push_back("rungek(" + std::to_string(spill) + "," + std::to_string(stage) + ",1)");
    }
  }
  EXPECT_EQ(step2, expected);
}

TEST(SpillPass, OneSpillRunsBlendOncePerSubStep) {
  for (int32_t method : {1, 2}) {
    small_run(1);
    testing::files(1, true);
    var_run.numericalmethod__euler_rungekut = method;
    recording_calls rec;
    test_engine e(rec);
    e.run();
    EXPECT_EQ(rec.of({"interp_corr"}).size(), 40u) << "method " << method;
  }
  // Two spills with Euler: no stage touches the blends.
  small_run(2);
  testing::files(1, true);
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"interp_corr"}).size(), 40u);
}

TEST(SpillPass, PassPositionsAreCopiedForEverySpill) {
  small_run(2);
  testing::files(3, false);
  var_cfg.simulationtimehorizon = 3600.0f;
  var_cfg.spillstarttime(2) = 1.0e9;
  recording_calls rec;
  rec.show_positions = true;
  test_engine e(rec);
  e.after_set_up = [] { var_part.z_part(2, 2) = 0.5; };
  e.run();
  // The last spill's positions, copied although it never starts.
  EXPECT_EQ(e.x_pass(1), 370.0 + 0.1 * 2);
  EXPECT_EQ(e.z_pass(2), 0.5);
  for (const auto& s : rec.of({"interp_lineal_mr"}, false)) EXPECT_NE(s.find("@" + g(370.0 + 0.1)), std::string::npos);
}

}  // namespace
}  // namespace orvel
