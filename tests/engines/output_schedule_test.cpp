// Output instants by exact single-precision equality with their own
// counters, the recount of started spills, the order of the statistics and
// writers, the property series and the property files.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "engines/engine_settings.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::recording_calls;
using testing::small_run;
using testing::test_engine;
using strings = std::vector<std::string>;

const std::set<std::string> writers = {"esc_particulas", "probabilidad", "concentracion", "esc_propiedades_fuel"};

// Output minute of a particle file: step time in minutes.
int minute(int32_t iteration) { return static_cast<int>(static_cast<float>(iteration) * var_run.deltat / 60.0f); }

// Record 1 of spill 1's centre as each record is made.
class series_calls : public recording_calls {
 public:
  std::vector<double> x;
  void property_rows(const std::string&, int32_t r) override { x.push_back(var_part.xxc(1, r)); }
};

TEST(OutputSchedule, HourlyParticleFilesOverTenHours) {
  small_run();
  var_run.outputpropierties__y_n = 1;
  var_cfg.obj__floating_fuel_hns = 1;
  series_calls rec;
  test_engine e(rec);
  e.chain = [](int32_t spill, float t) { var_part.x_cg(spill) = t; };
  e.run();
  strings expected;
  std::vector<int> minutes;
  for (int32_t it = 0; it <= 40; it += 4) expected.push_back("esc_particulas(TEST," + std::to_string(it) + ",1)");
  EXPECT_EQ(rec.of({"esc_particulas"}, false), expected);
  for (const auto& s : rec.of({"esc_particulas"}, false)) {
    minutes.push_back(minute(std::stoi(s.substr(s.find(',') + 1))));
  }
  EXPECT_EQ(minutes, (std::vector<int>{0, 60, 120, 180, 240, 300, 360, 420, 480, 540, 600}));
  // 41 series records: record 1 at time 0, record r at (r - 1) * 900 s,
  // each read as it is made; the series keep the last 32 (records 33 to 41
  // at the end, in the window from 33).
  EXPECT_EQ(e.nsteps, 41);
  ASSERT_EQ(rec.x.size(), 41u);
  EXPECT_EQ(rec.x[0], 370.0 + 0.1);
  for (int32_t r = 2; r <= 41; ++r) EXPECT_EQ(rec.x[static_cast<std::size_t>(r - 1)], 900.0 * (r - 1)) << r;
  EXPECT_EQ(var_part.xxc.size(2), 32);
  EXPECT_EQ(var_part.xxc.lbound(2), 33);
  for (int32_t r = 33; r <= 41; ++r) EXPECT_EQ(var_part.xxc(1, r), 900.0 * (r - 1)) << r;
  EXPECT_EQ(var1.c_esc, 11);
}

TEST(OutputSchedule, IntervalThatNoStepTimeHitsGivesTimeZeroOnlyWithAWarning) {
  small_run();
  var_run.deltatoutput_parts = 1000.0f;
  recording_calls rec;
  test_engine e(rec);
  ::testing::internal::CaptureStderr();
  // The start-up check warns about the schedule; the engine follows it.
  check_engine_settings(std::cerr);
  e.run();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(rec.of({"esc_particulas"}, false), (strings{"esc_particulas(TEST,0,1)"}));
  EXPECT_EQ(var1.c_esc, 1);
  EXPECT_EQ(err,
            "orvel: warning: no model step ends exactly at the particle output time 1000 s (deltatoutput_parts = "
            "1000 s, deltat = 900 s), so no particle file is written from then on\n");
}

TEST(OutputSchedule, ParticleIterationsWithTenMinuteSteps) {
  small_run();
  var_run.deltat = 600.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of({"esc_particulas"}),
            (strings{"1:esc_particulas(TEST,0,1)", "6:esc_particulas(TEST,6,1)", "12:esc_particulas(TEST,12,1)",
                     "18:esc_particulas(TEST,18,1)"}));
}

TEST(OutputSchedule, FirstOutputAfterTimeZero) {
  small_run();
  var_run.firstoutput_time = 3600.0f;
  var_run.outputconcs__y_n = 1;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.of(writers), (strings{"4:esc_particulas(TEST,4,1)", "4:probabilidad(1,4;cont_p=1)",
                                      "4:concentracion(1,4,1,4;cont_p=1)", "8:probabilidad(1,8;cont_p=1)",
                                      "8:concentracion(1,8,1,8;cont_p=1)", "8:esc_particulas(TEST,8,1)",
                                      "12:probabilidad(1,12;cont_p=1)", "12:concentracion(1,12,1,12;cont_p=1)",
                                      "12:esc_particulas(TEST,12,1)", "16:probabilidad(1,16;cont_p=1)",
                                      "16:concentracion(1,16,1,16;cont_p=1)", "16:esc_particulas(TEST,16,1)"}));
  // Nothing at time 0, but series record 1 is written.
  EXPECT_EQ(var_part.xxc(1, 1), 370.0 + 0.1);
}

TEST(OutputSchedule, ConcentrationIntervalThatNoStepTimeHits) {
  small_run();
  var_run.outputconcs__y_n = 1;
  var_run.deltatoutput_concs = 1000.0f;
  recording_calls rec;
  test_engine e(rec);
  ::testing::internal::CaptureStderr();
  // The start-up check warns about the schedule; the engine follows it.
  check_engine_settings(std::cerr);
  e.run();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(rec.of({"probabilidad", "concentracion"}),
            (strings{"1:probabilidad(1,1;cont_p=1)", "1:concentracion(1,1,1,0;cont_p=1)"}));
  EXPECT_EQ(var1.c_escd, 1);
  EXPECT_EQ(var1.c_escc, 1);
  EXPECT_NE(err.find("concentration output time 1000 s"), std::string::npos) << err;
  EXPECT_EQ(err.find("particle"), std::string::npos) << "the particle schedule is hit: " << err;
}

TEST(OutputSchedule, GridFilesCarryTheInstantOfTheirOutput) {
  // Grids every step: the time-0 output and the one at the end of the first
  // step are both made with step 1; the first is stamped 0, the second 1.
  // A first output time of 3600 s (step 4) is stamped 4, like its particles.
  struct schedule_case {
    float first;
    float interval;
    strings expected;
  };
  for (const auto& c : {schedule_case{0.0f, 900.0f,
                                      {"1:concentracion(1,1,1,0;cont_p=1)", "1:concentracion(1,1,1,1;cont_p=1)",
                                       "2:concentracion(1,2,1,2;cont_p=1)", "3:concentracion(1,3,1,3;cont_p=1)",
                                       "4:concentracion(1,4,1,4;cont_p=1)"}},
                        schedule_case{3600.0f, 3600.0f,
                                      {"4:esc_particulas(TEST,4,1)", "4:concentracion(1,4,1,4;cont_p=1)",
                                       "8:concentracion(1,8,1,8;cont_p=1)"}}}) {
    small_run();
    var_run.outputconcs__y_n = 1;
    var_run.firstoutput_time = c.first;
    var_run.deltatoutput_concs = c.interval;
    var_run.deltatoutput_parts = 36000.0f;
    var_cfg.simulationtimehorizon = c.first == 0.0f ? 3600.0f : 7200.0f;
    recording_calls rec;
    test_engine e(rec);
    ::testing::internal::CaptureStderr();
    e.run();
    const std::string err = ::testing::internal::GetCapturedStderr();
    std::set<std::string> routines = {"concentracion"};
    if (c.first != 0.0f) routines.insert("esc_particulas");
    EXPECT_EQ(rec.of(routines), c.expected) << c.first << err;
  }
}

TEST(OutputSchedule, OrderAtAnInstantAndStartedPulses) {
  // Five pulses an hour apart; presence and grids every 2 h.
  small_run(5);
  var_cfg.spill__instant_contin = 2;
  for (int32_t s = 1; s <= 5; ++s) var_cfg.spillstarttime(s) = 3600.0 * (s - 1);
  var_run.outputconcs__y_n = 1;
  var_run.deltatoutput_concs = 7200.0f;
  var_run.deltatoutput_parts = 7200.0f;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  strings expected;
  // Time 0: the pulses that start within the first step count as started.
  expected.push_back("1:esc_particulas(TEST,0,1)");
  for (int s = 1; s <= 5; ++s) expected.push_back("1:probabilidad(" + std::to_string(s) + ",1;cont_p=1)");
  for (int s = 1; s <= 5; ++s) expected.push_back("1:concentracion(" + std::to_string(s) + ",1,1,0;cont_p=1)");
  // 2 h: the pulses starting at 0, 1 and 2 h.
  for (int s = 1; s <= 5; ++s) expected.push_back("8:probabilidad(" + std::to_string(s) + ",8;cont_p=3)");
  for (int s = 1; s <= 5; ++s) expected.push_back("8:concentracion(" + std::to_string(s) + ",8,1,8;cont_p=3)");
  expected.push_back("8:esc_particulas(TEST,8,1)");
  EXPECT_EQ(rec.of(writers), expected);
}

TEST(OutputSchedule, TimeZeroCountsTheSpillsStartingWithinTheFirstStep) {
  // Spills at 0 s, at one step (900 s) and at two steps: the time-0
  // statistics count the first two as started.
  small_run(3);
  var_cfg.spillstarttime(1) = 0.0;
  var_cfg.spillstarttime(2) = 900.0;
  var_cfg.spillstarttime(3) = 1800.0;
  var_run.outputconcs__y_n = 1;
  var_cfg.simulationtimehorizon = 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  e.run();
  strings at_zero = rec.of({"probabilidad", "concentracion"});
  ASSERT_GE(at_zero.size(), 6u);
  at_zero.resize(6);
  EXPECT_EQ(at_zero, (strings{"1:probabilidad(1,1;cont_p=2)", "1:probabilidad(2,1;cont_p=2)",
                              "1:probabilidad(3,1;cont_p=2)", "1:concentracion(1,1,1,0;cont_p=2)",
                              "1:concentracion(2,1,1,0;cont_p=2)", "1:concentracion(3,1,1,0;cont_p=2)"}));
}

TEST(OutputSchedule, ParticleCounterAdvancesWithFilesSwitchedOff) {
  small_run();
  var_run.outputparts__y_n = 0;
  recording_calls rec;
  test_engine e(rec);
  ::testing::internal::CaptureStderr();
  e.run();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(rec.of({"esc_particulas"}).empty());
  EXPECT_EQ(var1.c_esc, 11);
}

TEST(OutputSchedule, PropertyFilesAtTheEndOfASimulation) {
  struct row {
    int32_t obj, degrado, simtype, output;
    bool written;
  };
  const row rows[] = {
      {1, 0, 1, 1, true},  {2, 1, 1, 1, true},  {2, 0, 1, 1, false}, {1, 0, 1, 0, false},
      {1, 0, 2, 1, false}, {3, 1, 1, 1, false},  // chemicals: the HNS engines decide
  };
  for (const auto& r : rows) {
    small_run();
    var_cfg.obj__floating_fuel_hns = r.obj;
    var_cfg.degrado = r.degrado;
    var_run.simtype__operat_probabil = r.simtype;
    var_run.outputpropierties__y_n = r.output;
    recording_calls rec;
    test_engine e(rec);
    e.after_set_up = [] {
      for (auto* a : {&var4.per_evp, &var4.agua, &var4.dens, &var4.visc}) a->allocate(1);
    };
    e.run();
    EXPECT_EQ(rec.of({"esc_propiedades_fuel"}),
              r.written ? strings{"41:esc_propiedades_fuel(TEST,41,41)"} : strings{})
        << r.obj << " " << r.degrado << " " << r.simtype << " " << r.output;
  }
}

// Oil with weathering on: per-spill values the test can follow.
void weathering_run() {
  small_run(2);
  var_cfg.degrado = 1;
  var_cfg.simulationtimehorizon = 3600.0f;
  var_cfg.spillstarttime(2) = 1.0e9;  // never starts
}

void set_masses() {
  auto& m = var4;
  for (auto* a : {&m.per_evp, &m.agua, &m.dens, &m.visc}) a->allocate(2);
  for (int32_t s = 1; s <= 2; ++s) {
    m.mass_surf_ini(s) = 100.0 * s;
    m.mass_beached_ini(s) = 10.0 * s;
    m.mass_column_ini(s) = 1.0 * s;
    m.mass_floor_ini(s) = 0.5 * s;
    m.mass_radar_ini(s) = 0.25 * s;
    m.per_evp(s) = 0.1 * s;
    m.agua(s) = 0.2 * s;
    m.dens(s) = 900.0 + s;
    m.visc(s) = 50.0 + s;
    var_spill.area_oil(s) = 1000.0f * s;
    var_cfg.thick(s) = 0.001 * s;
  }
}

TEST(PropertySeries, RecordOneHoldsTheInitialCompartments) {
  weathering_run();
  recording_calls rec;
  test_engine e(rec);
  e.after_set_up = set_masses;
  e.run();
  auto& m = var4;
  for (int32_t s = 1; s <= 2; ++s) {
    EXPECT_EQ(m.mass_surf_c(s, 1), 100.0 * s);
    EXPECT_EQ(m.mass_beachedc(s, 1), 10.0 * s);
    EXPECT_EQ(m.mass_columnc(s, 1), 1.0 * s);
    EXPECT_EQ(m.mass_floorc(s, 1), 0.5 * s);
    EXPECT_EQ(m.mass_radarc(s, 1), 0.25 * s);
    EXPECT_EQ(m.massprodemuls_surf_c(s, 1), 100.0 * s);
    EXPECT_EQ(m.massprodemuls_beach_c(s, 1), 10.0 * s);
    EXPECT_EQ(m.mass_disp_cumul_c(s, 1), 0.0);
    EXPECT_EQ(m.per_evpc(s, 1), 0.1 * s);
    EXPECT_EQ(m.densc(s, 1), 900.0 + s);
    EXPECT_EQ(var_spill.areaoila(s, 1), 1000.0f * s);
    EXPECT_EQ(var_spill.thickoilt(s, 1), static_cast<float>(0.001 * s));
  }
}

TEST(PropertySeries, CompartmentsFollowTheWeatheringOnceItHasRun) {
  weathering_run();
  recording_calls rec;
  test_engine e(rec);
  e.after_set_up = set_masses;
  // The weathering runs from the sub-step of step 3 on; the masses move every
  // sub-step.
  e.chain = [&](int32_t spill, float t) {
    auto& m = var4;
    m.mass_surf(spill) = t;
    m.mass_beached(spill) = t + 1;
    m.mass_column(spill) = t + 2;
    m.mass_floor(spill) = t + 3;
    m.mass_radar(spill) = t + 4;
    m.massprodemuls_surf(spill) = t + 5;
    m.massprodemuls_beach(spill) = t + 6;
    m.mass_disp_cumul(spill) = t + 7;
    m.per_evp(spill) = t + 8;
    if (e.step >= 3) e.weathered_now(spill) = 1;
  };
  e.run();
  auto& m = var4;
  // Records 2 and 3 (after steps 1 and 2): the initial masses, the current
  // properties and dispersed mass.
  for (int32_t r = 2; r <= 3; ++r) {
    const double t = 900.0 * (r - 1);
    EXPECT_EQ(m.mass_surf_c(1, r), 100.0);
    EXPECT_EQ(m.mass_beachedc(1, r), 10.0);
    EXPECT_EQ(m.mass_radarc(1, r), 0.25);
    EXPECT_EQ(m.massprodemuls_surf_c(1, r), 100.0);
    EXPECT_EQ(m.massprodemuls_beach_c(1, r), 10.0);
    EXPECT_EQ(m.mass_disp_cumul_c(1, r), t + 7);
    EXPECT_EQ(m.per_evpc(1, r), t + 8);
  }
  for (int32_t r = 4; r <= 5; ++r) {
    const double t = 900.0 * (r - 1);
    EXPECT_EQ(m.mass_surf_c(1, r), t);
    EXPECT_EQ(m.mass_beachedc(1, r), t + 1);
    EXPECT_EQ(m.mass_columnc(1, r), t + 2);
    EXPECT_EQ(m.mass_floorc(1, r), t + 3);
    EXPECT_EQ(m.mass_radarc(1, r), t + 4);
    EXPECT_EQ(m.massprodemuls_surf_c(1, r), t + 5);
    EXPECT_EQ(m.massprodemuls_beach_c(1, r), t + 6);
    EXPECT_EQ(m.mass_disp_cumul_c(1, r), t + 7);
  }
  // The spill that never starts: placement centre and initial masses in
  // every record.
  for (int32_t r = 1; r <= 5; ++r) {
    EXPECT_EQ(var_part.xxc(2, r), 370.0 + 0.1 * 2);
    EXPECT_EQ(m.mass_surf_c(2, r), 200.0);
    EXPECT_EQ(m.mass_disp_cumul_c(2, r), 0.0);
    EXPECT_EQ(var_spill.areaoila(2, r), 2000.0f);
  }
}

TEST(PropertySeries, AreaFollowsTheSlickAreaOnceKnown) {
  weathering_run();
  recording_calls rec;
  test_engine e(rec);
  e.after_set_up = set_masses;
  e.chain = [&](int32_t spill, float) {
    if (e.step == 2) e.slick_area(spill) = 1234.5678;
    var_cfg.thick(spill) = 0.1 * e.step;
  };
  e.run();
  EXPECT_EQ(var_spill.areaoila(1, 1), 1000.0f);
  EXPECT_EQ(var_spill.areaoila(1, 2), 1000.0f);
  for (int32_t r = 3; r <= 5; ++r) {
    EXPECT_EQ(var_spill.areaoila(1, r), 1234.5678f);
    EXPECT_EQ(var_spill.thickoilt(1, r), static_cast<float>(0.1 * (r - 1)));
  }
  EXPECT_EQ(var_spill.area_oil(1), 1234.5678f);
}

TEST(PropertySeries, NoWeatheringRowsWithoutWeatheringOrInAProbabilisticRun) {
  for (int32_t simtype : {1, 2}) {
    weathering_run();
    var_cfg.degrado = simtype == 1 ? 0 : 1;
    var_run.simtype__operat_probabil = simtype;
    recording_calls rec;
    test_engine e(rec);
    e.after_set_up = [] { var4.mass_surf_ini(1) = 5.0; };
    e.run();  // per_evp and the other properties are never allocated
    EXPECT_EQ(var4.mass_surf_c(1, 1), 0.0);
    EXPECT_EQ(var4.mass_surf_c(1, 5), 0.0);
  }
}

TEST(PropertySeries, WeatheredFlagsStartAtZeroInEachSimulation) {
  small_run();
  var_run.simnumber__1_n = 2;
  var_cfg.simulationtimehorizon = 3600.0f;
  recording_calls rec;
  test_engine e(rec);
  strings seen;
  e.chain = [&](int32_t spill, float) {
    if (e.k == 0) seen.push_back(std::to_string(e.sim) + ":" + std::to_string(e.weathered_now(spill)) +
                                 std::to_string(e.surface_exhausted(spill)));
    e.weathered_now(spill) = 1;
    e.surface_exhausted(spill) = 1;
  };
  e.run();
  EXPECT_EQ(seen, (strings{"1:00", "2:00"}));
}

}  // namespace
}  // namespace orvel
