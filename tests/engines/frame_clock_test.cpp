// The frame's clock and forcing records: record and series counts, the
// wave, wind and current record advance with and without time blending, the
// blend weights and the record-end copies.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engines/engine_settings.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::g;
using testing::recording_calls;
using testing::small_run;
using testing::test_engine;
using strings = std::vector<std::string>;

// The loop of the frame, counted one k at a time.
int64_t loop_count(float interval, float dt) {
  int64_t k = 0;
  while (interval > static_cast<float>(k) * dt) ++k;
  return k;
}

TEST(FrameClock, SubstepsPerRecordCountsTheLoop) {
  const float tenth = 0.1f;
  struct row {
    float interval, dt;
    int64_t expected;
  };
  const row rows[] = {
      {3600.0f, 900.0f, 4},   {3600.0f, 600.0f, 6}, {3600.0f, 3600.0f, 1}, {3600.0f, 2400.0f, 2},
      {3600.0f, 7200.0f, 1},  {0.0f, 900.0f, 0},    {-5.0f, 900.0f, 0},    {3600.0f, 0.1f, 36000},
      {13.0f * tenth, tenth, 13},  // single-precision ceiling 14
      {std::nextafter(19.0f * tenth, 2.0f), tenth, 20},  // ceiling 19: a series of that length would overflow
  };
  for (const auto& r : rows) {
    EXPECT_EQ(substeps_per_record(r.interval, r.dt), r.expected) << r.interval << " / " << r.dt;
    if (r.interval > 0.0f) {
      EXPECT_EQ(loop_count(r.interval, r.dt), r.expected);
    }
  }
  // The two rounding cases really differ from the single-precision ceiling.
  EXPECT_EQ(static_cast<int64_t>(std::ceil(13.0f * tenth / tenth)), 14);
  EXPECT_EQ(static_cast<int64_t>(std::ceil(std::nextafter(19.0f * tenth, 2.0f) / tenth)), 19);
  // A long record of small steps, against the loop itself.
  EXPECT_EQ(substeps_per_record(3600.0f, 0.001f), loop_count(3600.0f, 0.001f));
  EXPECT_EQ(substeps_per_record(86400.0f, 0.3f), loop_count(86400.0f, 0.3f));
}

TEST(FrameClock, RecordAndSeriesCounts) {
  struct row {
    float horizon, dc, dt;
    int32_t n_lista, nsteps;
  };
  const row rows[] = {
      {36000.0f, 3600.0f, 900.0f, 10, 41},   // 4 sub-steps per record, last record at 36000 s
      {37800.0f, 3600.0f, 900.0f, 10, 41},   // 10.5 h: cut to whole records
      {36000.0f, 3600.0f, 3600.0f, 10, 11},  // one sub-step per record
      {7200.0f, 1800.0f, 600.0f, 4, 13},
  };
  for (const auto& r : rows) {
    small_run();
    var_cfg.simulationtimehorizon = r.horizon;
    var_cfg.deltat_currents = r.dc;
    var_run.deltat = r.dt;
    recording_calls rec;
    test_engine e(rec);
    e.run();
    EXPECT_EQ(var1.n_lista, r.n_lista) << r.horizon;
    EXPECT_EQ(e.nsteps, r.nsteps) << r.horizon;
    EXPECT_EQ(e.step, r.nsteps) << "the last sub-step writes the last series record";
    // The series hold the last 32 records at most, the last one among them.
    EXPECT_EQ(var_part.xxc.size(2), std::min(r.nsteps, 32));
    EXPECT_EQ(var_part.xxc.ubound(2) >= r.nsteps && var_part.xxc.lbound(2) <= r.nsteps, true);
  }
}

TEST(FrameClock, HorizonShorterThanOneRecordRunsOnlySetUpAndTimeZero) {
  small_run();
  var_cfg.simulationtimehorizon = 1800.0f;
  var_run.outputpropierties__y_n = 1;
  var_cfg.obj__floating_fuel_hns = 1;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.all_calls(), (strings{"lee_forcings(1)", "set_up(1)", "esc_particulas(TEST,0,1)", "lee_forcings(2)",
                                      "lee_forcings(3)", "esc_propiedades_fuel(TEST,1,1)"}));
  EXPECT_EQ(var1.n_lista, 0);
  EXPECT_EQ(e.nsteps, 1);
}

TEST(FrameClock, UniformCurrentsWithWindFilesTakeTheWindInterval) {
  small_run();
  testing::files(3, false);
  var_cfg.deltat_wind = 1800.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(var_cfg.deltat_currents, 1800.0f);
  EXPECT_EQ(var1.n_lista, 20);
  EXPECT_EQ(e.nsteps, 41);
  EXPECT_EQ(rec.of({"lee_listafich"}, false), (strings{"lee_listafich(3,1)"}));
}

TEST(FrameClock, ListsAreReadForEachForcingGivenByFiles) {
  small_run();
  testing::files(1, false);
  testing::files(2, false);
  testing::files(3, false);
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"lee_listafich"}, false),
            (strings{"lee_listafich(1,1)", "lee_listafich(2,1)", "lee_listafich(3,1)"}));
}

// Names of the calls of one forcing kind.
struct kind_names {
  int32_t kind;
  std::string read, part, partinterp, blend, blend_part;
};
const kind_names waves{2, "lee_ola", "ola_part", "ola_partinterp", "interp_ola", "interp_ola_part"};
const kind_names wind{3, "lee_viento", "viento_part", "viento_partinterp", "interp_viento", "interp_viento_part"};

// Three records an hour apart, steps of 1800 s, four hours.
std::vector<std::string> three_record_run(const kind_names& n, int32_t type, bool blended) {
  small_run();
  var_run.deltat = 1800.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  if (n.kind == 2) {
    var_cfg.wavestype__file_constant = type;
    var_cfg.wavesfilesorlines_number = 3;
    var_run.temporalinterpwaves__y_n = blended ? 1 : 0;
  } else {
    var_cfg.windtype__file_constant = type;
    var_cfg.windfilesorlines_number = 3;
    var_run.temporalinterpwind__y_n = blended ? 1 : 0;
  }
  recording_calls rec;
  rec.show_levels = true;
  test_engine e(rec);
  e.run();
  return rec.of({"lee_forcings", "lee_forcings_interp", n.read, n.part, n.partinterp, n.blend, n.blend_part});
}

TEST(FrameClock, ThreeRecordListWithoutBlending) {
  for (const auto* n : {&waves, &wind}) {
    // Record i serves the step times in ((i - 1) h, i h]; past the list the
    // last record is read again at every sub-step.
    EXPECT_EQ(three_record_run(*n, 1, false),
              (strings{"1:lee_forcings(1)", "1:lee_forcings(2)", "1:lee_forcings(3)", "3:" + n->read + "(2)", "5:" + n->read + "(3)",
                       "7:" + n->read + "(3)", "8:" + n->read + "(3)"}));
    EXPECT_EQ(three_record_run(*n, 2, false),
              (strings{"1:lee_forcings(1)", "1:lee_forcings(2)", "1:lee_forcings(3)", "3:" + n->part + "(2)", "5:" + n->part + "(3)",
                       "7:" + n->part + "(3)", "8:" + n->part + "(3)"}));
  }
}

TEST(FrameClock, ThreeRecordListWithBlending) {
  for (const auto* n : {&waves, &wind}) {
    // Current record 1, then waves (kind 2), then wind (kind 3).
    const std::string first = n->kind == 2 ? "1:lee_forcings_interp(2)" : "1:lee_forcings(2)";
    const std::string second = n->kind == 3 ? "1:lee_forcings_interp(3)" : "1:lee_forcings(3)";
    // The levels are start > end.  The change due after two intervals finds
    // the last record in use: it is read once more as end of interval and
    // copied as start; later intervals restart the weight without a read.
    EXPECT_EQ(three_record_run(*n, 1, true),
              (strings{"1:lee_forcings(1)", first, second, "1:" + n->blend + "(0;1>2)", "2:" + n->blend + "(0.5;1>2)",
                       "3:" + n->read + "(3)", "3:" + n->blend + "(0;2>3)", "4:" + n->blend + "(0.5;2>3)",
                       "5:" + n->read + "(3)", "5:" + n->blend + "(0;3>3)", "6:" + n->blend + "(0.5;3>3)",
                       "7:" + n->blend + "(0;3>3)", "8:" + n->blend + "(0.5;3>3)"}));
    EXPECT_EQ(three_record_run(*n, 2, true),
              (strings{"1:lee_forcings(1)", first, second, "1:" + n->blend_part + "(0;1>2)",
                       "2:" + n->blend_part + "(0.5;1>2)", "3:" + n->partinterp + "(3)",
                       "3:" + n->blend_part + "(0;2>3)", "4:" + n->blend_part + "(0.5;2>3)",
                       "5:" + n->partinterp + "(3)", "5:" + n->blend_part + "(0;3>3)",
                       "6:" + n->blend_part + "(0.5;3>3)", "7:" + n->blend_part + "(0;3>3)",
                       "8:" + n->blend_part + "(0.5;3>3)"}));
  }
}

TEST(FrameClock, EndOfListCounters) {
  three_record_run(waves, 1, true);
  EXPECT_EQ(var1.i_ola, 3);
  EXPECT_EQ(var1.i_ola_flag, 2);
  three_record_run(wind, 1, true);
  EXPECT_EQ(var1.i_viento, 3);
  EXPECT_EQ(var1.i_viento_flag, 2);
}

TEST(FrameClock, WaveWeightFollowsTheWaveRecordsNotTheCurrentRecords) {
  small_run();
  var_run.deltat = 600.0f;
  var_cfg.deltat_currents = 1800.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  testing::files(2, true);
  recording_calls rec;
  test_engine e(rec);
  e.run();
  strings expected;
  for (int hour = 0; hour < 3; ++hour) {
    for (int i = 0; i < 6; ++i) expected.push_back("interp_ola(" + g(static_cast<float>(i * 600) / 3600.0f) + ")");
  }
  EXPECT_EQ(rec.of({"interp_ola"}, false), expected);
  EXPECT_EQ(rec.of({"lee_ola"}), (strings{"7:lee_ola(3)", "13:lee_ola(4)"}));
}

TEST(FrameClock, CurrentRecords) {
  struct row {
    int32_t type, blend;
    strings expected;
  };
  const std::vector<row> rows = {
      {1, 1, {"1:lee_forcings_interp(1)", "1:lee_velocidad(2)", "1:interp_corr(0;1>2)", "2:interp_corr(0.5;1>2)",
              "3:lee_velocidad(3)", "3:interp_corr(0;2>3)", "4:interp_corr(0.5;2>3)", "5:lee_velocidad(3)",
              "5:interp_corr(0;3>3)", "6:interp_corr(0.5;3>3)", "7:lee_velocidad(3)", "7:interp_corr(0;3>3)",
              "8:interp_corr(0.5;3>3)"}},
      {2, 1, {"1:lee_forcings_interp(1)", "1:vel_partinterp(2)", "1:interp_vel_part(0;1>2)",
              "2:interp_vel_part(0.5;1>2)", "3:vel_partinterp(3)", "3:interp_vel_part(0;2>3)",
              "4:interp_vel_part(0.5;2>3)", "5:vel_partinterp(3)", "5:interp_vel_part(0;3>3)",
              "6:interp_vel_part(0.5;3>3)", "7:vel_partinterp(3)", "7:interp_vel_part(0;3>3)",
              "8:interp_vel_part(0.5;3>3)"}},
      {1, 0, {"1:lee_forcings(1)", "3:lee_velocidad(2)", "5:lee_velocidad(3)", "7:lee_velocidad(3)"}},
      {2, 0, {"1:lee_forcings(1)", "3:vel_part(2)", "5:vel_part(3)", "7:vel_part(3)"}},
      // Any other value: record 1 for the whole run, no blend.
      {1, 2, {"1:lee_forcings(1)"}},
      {2, 2, {"1:lee_forcings(1)"}},
  };
  for (const auto& r : rows) {
    small_run();
    var_run.deltat = 1800.0f;
    var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
    var_cfg.currenttype__file_constant = r.type;
    var_cfg.currentfilesorlines_number = 3;
    var_run.temporalinterpcurr__y_n = r.blend;
    recording_calls rec;
    rec.show_levels = true;
    test_engine e(rec);
    e.run();
    strings seen;
    for (const auto& s : rec.of({"lee_forcings", "lee_forcings_interp", "lee_velocidad", "vel_part", "vel_partinterp",
                                 "interp_corr", "interp_vel_part"})) {
      if (s.find("forcings") == std::string::npos || s.find("(1)") != std::string::npos) seen.push_back(s);
    }
    EXPECT_EQ(seen, r.expected)
        << "type " << r.type << ", blend " << r.blend;
    if (r.blend == 2) {
      EXPECT_EQ(var1.i_vel, 5);
    }
  }
}

// The land flags and mask of the start of each interval, as the blend of its
// sub-steps sees them.  Records alternate between flags 1 and 0.
strings land_levels(int32_t variable_grid) {
  small_run();
  var_run.deltat = 1800.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  var_cfg.currentfilesorlines_number = 3;
  var_cfg.currentgrid_variable__y_n = variable_grid;
  var_cfg.currentgridformat__xyz_grid = 2;  // the 2 x 2 grid of the mask
  testing::files(1, true);
  recording_calls rec;
  test_engine e(rec);
  strings seen;
  e.chain = [&](int32_t, float) {
    if (e.k == 0) {
      seen.push_back(std::to_string(var2.indland0(1)) + ">" + std::to_string(var2.indland(1)) + " mask " +
                     std::to_string(var2.mask0(2, 2)) + ">" + std::to_string(var2.mask(2, 2)));
    }
  };
  e.run();
  return seen;
}

TEST(FrameClock, RecordEndCopiesTheLandFlagsWithTheMask) {
  // Record 1 (start 1, end 2), record 2 (start 2, end 3), record 3 (3, 3).
  EXPECT_EQ(land_levels(1), (strings{"1>0 mask 1>0", "0>1 mask 0>1", "1>1 mask 1>1"}));
  // Without a time-varying grid neither is copied.
  EXPECT_EQ(land_levels(0), (strings{"1>0 mask 1>0", "1>1 mask 1>1", "1>1 mask 1>1"}));
}

TEST(FrameClock, RecordEndCopiesTheSurfaceLayer) {
  small_run();
  var_run.deltat = 1800.0f;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  testing::files(1, true);
  recording_calls rec;
  test_engine e(rec);
  e.run();
  for (int32_t i = 1; i <= testing::kNodes; ++i) {
    EXPECT_EQ(var2.u0(i, 1), 3.0);  // record 3, the end of the second interval
    EXPECT_EQ(var2.v0(i, 1), var2.v_curr_read(i, 1));
  }
}

TEST(FrameClock, RecordEndCopiesTheVerticalCurrentOverItsOwnNodes) {
  // W nodes more and fewer than the V nodes (4): each of them starts the
  // next interval at the record that ended this one.
  for (const int32_t nw : {6, 2}) {
    small_run();
    var_run.deltat = 1800.0f;
    var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
    testing::files(1, true);
    var_cfg.xyzcurrentnodes_number[2] = nw;
    var_currwindwave.wcurrentsflag = 1;
    var2.w_curr_read.allocate(nw, 1);
    var2.w0.allocate(nw, 1);
    var2.w0.fill(-1.0);
    recording_calls rec;
    test_engine e(rec);
    e.run();
    for (int32_t i = 1; i <= nw; ++i) EXPECT_EQ(var2.w0(i, 1), 3.0) << nw << " W nodes, node " << i;
  }
}

TEST(FrameClock, SeveralSimulationsRestartTheClock) {
  small_run();
  testing::files(1, false);
  var_run.simnumber__1_n = 2;
  var_cfg.simulationtimehorizon = 7200.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"lee_listafich", "set_up", "mallas_forzamientos", "esc_particulas"}, false),
            (strings{"lee_listafich(1,1)", "set_up(1)", "esc_particulas(TEST,0,1)", "mallas_forzamientos(xcorr_u,4)",
                     "mallas_forzamientos(xcorr_v,4)", "esc_particulas(TEST,4,1)", "esc_particulas(TEST,8,1)",
                     "lee_listafich(1,2)", "set_up(2)", "esc_particulas(TEST,0,2)", "mallas_forzamientos(xcorr_u,4)",
                     "mallas_forzamientos(xcorr_v,4)", "esc_particulas(TEST,4,2)", "esc_particulas(TEST,8,2)"}));
  EXPECT_EQ(var_mallas.factor, 111317.359375);
  // The states are released at the end of each simulation, the run-wide
  // counts after the last.
  EXPECT_FALSE(var_part.indp.allocated());
}

}  // namespace
}  // namespace orvel
