// The oil 2-D engine on the recording double: its set-up by release kind,
// the area of the particle cloud, the choice between the spreading chain and
// the transport chain in each sub-step, and the order and conditions of the
// weathering sequence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "engines/fuel2d.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::recording_calls;
using testing::small_run;
using strings = std::vector<std::string>;

// The small run of the frame tests as oil, with the scenario arrays the
// engine reads: two spills of three particles unless told otherwise.
void fuel_run(int32_t spills = 1) {
  small_run(spills);
  auto& c = var_cfg;
  for (auto* a : {&c.vol0, &c.minspillthickness}) a->allocate(spills);
  c.vol0.fill(1.0);
  c.minspillthickness.fill(0.0001);
  for (auto* a : {&c.evaporo, &c.emulsiono, &c.flag_tierra}) a->allocate(spills);
  var_spill.maxemulsification.allocate(spills);
  var_spill.maxemulsification.fill(70.0f);
  for (auto* a : {&var_part.par_beached, &var_part.par_pause}) a->allocate(spills);
  // The slick properties that part_pro would make.
  for (auto* a : {&var4.per_evp, &var4.agua, &var4.dens, &var4.visc}) a->allocate(spills);
  var_mallas.latmean = 43.0;
  c.spreadalgorithm__adios2_leher_hns = 1;
  c.stoptimespreading = 24;
}

// The recording double with placements that put the particles on a line
// (as the frame harness does) and an initial area of 100 m2.
class fuel_calls : public recording_calls {
 public:
  std::function<void(const std::string& routine, int32_t spill, int32_t step)> hook;

  void part_ini_2d(int32_t sim) override {
    recording_calls::part_ini_2d(sim);
    place();
  }
  void part_ini_2d_circle(int32_t sim) override {
    recording_calls::part_ini_2d_circle(sim);
    place();
  }
  void lee_particle_positions(int32_t sim) override {
    recording_calls::lee_particle_positions(sim);
    place();
  }
  void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) override {
    recording_calls::initialarea(spill, spill_tstart, sim);
    var_spill.area_oil(spill) = 100.0f;
  }
  void part_pro() override {
    recording_calls::part_pro();
    if (hook) hook("part_pro", 0, 0);
  }
  void update_par(int32_t spill, int32_t step) override {
    recording_calls::update_par(spill, step);
    if (hook) hook("update_par", spill, step);
  }
  void spreading(int32_t spill, int32_t step, farray<double, 1>& a, double& r, double& q) override {
    recording_calls::spreading(spill, step, a, r, q);
    if (hook) hook("spreading", spill, step);
  }
  void balance_masa(int32_t spill) override {
    recording_calls::balance_masa(spill);
    if (hook) hook("balance_masa", spill, frame ? frame->step : 0);
  }

 private:
  static void place() {
    const int32_t np = var_run.particle_number;
    const int32_t ns = var_cfg.spills_number;
    auto& vp = var_part;
    if (!vp.x_part.allocated()) {
      for (auto* a : {&vp.x_part, &vp.y_part, &vp.z_part}) a->allocate(np, ns);
      vp.x_cg.allocate(ns);
      vp.y_cg.allocate(ns);
    }
    vp.indp.allocate(np, ns);
    vp.indp.fill(1);
    for (int32_t s = 1; s <= ns; ++s) {
      for (int32_t p = 1; p <= np; ++p) {
        vp.x_part(p, s) = 351.0 + 0.1 * s + 0.001 * p;
        vp.y_part(p, s) = 43.0 + 0.001 * p * p;
      }
    }
  }
};

strings run_engine(fuel_calls& rec, const std::set<std::string>& routines, bool with_step = false) {
  farray<coast_polygon> polygons;
  fuel2d_engine e(rec, "FUEL", polygons);
  rec.frame = &e;
  e.run();
  rec.frame = nullptr;
  return rec.of(routines, with_step);
}

const std::set<std::string> set_up_calls = {"part_ini_2d", "part_ini_2d_circle", "lee_particle_positions",
                                            "envelope",    "polyarea",           "initialarea",
                                            "part_pro"};

TEST(Fuel2d, SetUpByReleaseKind) {
  struct set_up_case {
    const char* what;
    std::function<void()> change;
    strings calls;
  };
  const strings hulls = {"envelope(3)", "polyarea(3)", "envelope(3)", "polyarea(3)"};
  auto with = [](strings a, const strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<set_up_case> cases = {
      {"floating object from the restart file",
       [] {
         var_cfg.obj__floating_fuel = 1;
         var_run.particle_inipositions__y_n = 1;
       },
       with({"lee_particle_positions(1)"}, hulls)},
      {"floating object over the rectangle", [] { var_cfg.obj__floating_fuel = 1; },
       with({"part_ini_2d(1)"}, hulls)},
      {"floating object with spreading switched on",
       [] {
         var_cfg.obj__floating_fuel = 1;
         var_cfg.spreading__y_n = 1;
       },
       with({"part_ini_2d(1)"}, hulls)},
      {"oil without weathering", [] {}, with({"part_ini_2d(1)"}, hulls)},
      {"oil with weathering", [] { var_cfg.degrado = 1; }, with(with({"part_ini_2d(1)"}, hulls), {"part_pro()"})},
      {"oil restart switch is for floating objects only", [] { var_run.particle_inipositions__y_n = 1; },
       with({"part_ini_2d(1)"}, hulls)},
      {"spreading oil: initial areas, then the discs; no hull", [] { var_cfg.spreading__y_n = 1; },
       {"initialarea(1,1)", "initialarea(2,1)", "part_ini_2d_circle(1)"}},
      {"spreading oil with weathering",
       [] {
         var_cfg.spreading__y_n = 1;
         var_cfg.degrado = 1;
       },
       {"initialarea(1,1)", "initialarea(2,1)", "part_ini_2d_circle(1)", "part_pro()"}},
  };
  for (const auto& c : cases) {
    fuel_run(2);
    c.change();
    var_cfg.obj__floating_fuel_hns = var_cfg.obj__floating_fuel;
    fuel_calls rec;
    EXPECT_EQ(run_engine(rec, set_up_calls), c.calls) << c.what;
  }
}

TEST(Fuel2d, SpreadingSetUpGivesThicknessFromVolumeOverArea) {
  fuel_run(2);
  var_cfg.spreading__y_n = 1;
  var_cfg.vol0(2) = 3.0;
  var_cfg.simulationtimehorizon = 0.0f;  // set-up and time 0 only
  fuel_calls rec;
  run_engine(rec, {});
  EXPECT_EQ(var_cfg.thick(1), 1.0 / 100.0);
  EXPECT_EQ(var_cfg.thick(2), 3.0 / 100.0);
  EXPECT_EQ(var_spill.thickoilt(2, 1), static_cast<float>(0.03));
  EXPECT_EQ(var_spill.areaoila(2, 1), 100.0f);
}

TEST(Fuel2d, HullAreaInSquareMetresAtTheMeanLatitude) {
  fuel_run(2);
  var_cfg.obj__floating_fuel = var_cfg.obj__floating_fuel_hns = 1;
  var_cfg.simulationtimehorizon = 0.0f;
  fuel_calls rec;
  rec.hull_area = 2.5e-6f;
  run_engine(rec, {});
  // 2.5e-6 square degrees at 43 N: cos(43 deg) * 2.5e-6 * 111317.359375^2.
  const double f = 111317.359375;
  const float expected = static_cast<float>(((std::cos(43.0 * 3.1415998935699463 / 180.0) * 2.5e-6f) * f) * f);
  EXPECT_NEAR(expected, 22656.49f, 0.01f);
  for (int32_t s = 1; s <= 2; ++s) {
    EXPECT_EQ(var_spill.area_oil(s), expected);
    EXPECT_EQ(var_spill.areaoila(s, 1), expected);
    // No initial slick: no thickness.
    EXPECT_EQ(var_cfg.thick(s), 0.0);
  }
}

// The chain of each step: "spreading" or "dispersion_2d" with the step.
const std::set<std::string> chain_calls = {"spreading", "dispersion_2d"};

strings chains(int32_t from, int32_t to, const char* routine) {
  strings r;
  for (int32_t n = from; n <= to; ++n) {
    const std::string args = routine[0] == 's' ? "(1," + std::to_string(n) + ")" : "(1)";
    r.push_back(std::to_string(n) + ":" + routine + args);
  }
  return r;
}

TEST(Fuel2d, SpreadingStopsAtTheStopHour) {
  // Stop at 3 h with 600 s steps: the step ending at 10200 s (2.833 h) still
  // spreads; the one ending at 10800 s (exactly 3 h) and every later one
  // takes the transport chain.
  fuel_run();
  var_cfg.spreading__y_n = 1;
  var_cfg.stoptimespreading = 3;
  var_run.deltat = 600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  fuel_calls rec;
  auto expected = chains(1, 17, "spreading");
  const auto transport = chains(18, 24, "dispersion_2d");
  expected.insert(expected.end(), transport.begin(), transport.end());
  EXPECT_EQ(run_engine(rec, chain_calls, true), expected);
}

TEST(Fuel2d, SpreadingChainCallsByAlgorithmAndCoastSearch) {
  const std::set<std::string> calls = {"spreading", "dispersion_2d_spread", "busca_parts_inter_spread",
                                       "posicion_2d_local_spread", "posicion_2d_spread"};
  struct spread_case {
    int32_t algorithm, coast;
    strings calls;
  };
  const spread_case cases[] = {
      {1, 1, {"spreading(1,1)", "dispersion_2d_spread(1)", "posicion_2d_spread(1,1)"}},
      {2, 1, {"spreading(1,1)", "posicion_2d_spread(1,1)"}},
      {1, 2, {"spreading(1,1)", "dispersion_2d_spread(1)", "busca_parts_inter_spread(1,1)",
              "posicion_2d_local_spread(1,1)"}},
      {2, 2, {"spreading(1,1)", "busca_parts_inter_spread(1,1)", "posicion_2d_local_spread(1,1)"}},
  };
  for (const auto& c : cases) {
    fuel_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    var_cfg.spreading__y_n = 1;
    var_cfg.spreadalgorithm__adios2_leher_hns = c.algorithm;
    var_run.searchcoastalgorithm__lr_hr = c.coast;
    fuel_calls rec;
    EXPECT_EQ(run_engine(rec, calls), c.calls) << c.algorithm << "," << c.coast;
  }
}

TEST(Fuel2d, TransportChainCallsByCoastSearch) {
  const std::set<std::string> calls = {"dispersion_2d", "busca_parts_intersect", "posicion_2d_local", "posicion_2d"};
  for (int32_t coast : {1, 2}) {
    fuel_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    var_run.searchcoastalgorithm__lr_hr = coast;
    fuel_calls rec;
    const strings expected = coast == 1 ? strings{"dispersion_2d(1)", "posicion_2d(1,1)"}
                                        : strings{"dispersion_2d(1)", "busca_parts_intersect(1,1)",
                                                  "posicion_2d_local(1,1)"};
    EXPECT_EQ(run_engine(rec, calls), expected);
  }
}

TEST(Fuel2d, SpreadingTestEachStep) {
  // Hourly steps.  Step 2: one beached particle (counted by the pass) sends
  // the whole spill to the transport chain for that step only.  Step 3: one
  // paused particle, the same.  The spreading at step 4 brings the thickness
  // down to exactly its minimum: transport from step 5 on.
  fuel_run();
  var_cfg.spreading__y_n = 1;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 7.0f * 3600.0f;
  fuel_calls rec;
  rec.hook = [](const std::string& routine, int32_t s, int32_t step) {
    if (routine == "update_par") {
      var_part.par_beached(s) = step == 2 ? 1 : 0;
      var_part.par_pause(s) = step == 3 ? 1 : 0;
    }
    if (routine == "spreading" && step == 4) var_cfg.thick(s) = var_cfg.minspillthickness(s);
  };
  EXPECT_EQ(run_engine(rec, chain_calls, true),
            (strings{"1:spreading(1,1)", "2:dispersion_2d(1)", "3:dispersion_2d(1)", "4:spreading(1,4)",
                     "5:dispersion_2d(1)", "6:dispersion_2d(1)", "7:dispersion_2d(1)"}));
}

TEST(Fuel2d, ASpillNotYetStartedAtTheSpreadingTest) {
  // The spreading test compares the start time with the step time: a spill
  // starting at 1 h spreads from the step ending at 2 h (the step ending at
  // 1 h does not move it).
  fuel_run();
  var_cfg.spreading__y_n = 1;
  var_cfg.spillstarttime(1) = 3600.0;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  fuel_calls rec;
  EXPECT_EQ(run_engine(rec, chain_calls, true), (strings{"2:spreading(1,2)", "3:spreading(1,3)"}));
}

const std::set<std::string> weathering_calls = {
    "spreading",          "dispersion_2d",          "evaporacion",  "evaporacion_spread", "verticaldispersion",
    "emulsion",           "balance_vertido_tierra", "balance_masa", "evaluo",             "evaluo_spread"};

// Oil with every process on, one hourly step.
void weathering_run() {
  fuel_run();
  var_cfg.degrado = 1;
  var_cfg.evaporo(1) = 1;
  var_cfg.emulsiono(1) = 1;
  var_cfg.verticaldispersion__y_n = 1;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
}

// The area a slick weathers over in a step: while it spreads, the mean of
// its areas at the step's start and end; once spreading has stopped, the
// area it has reached.  A slick of 100 m2 that grows by 100 m2 a step over
// the 3 h of spreading (600 s steps: steps 1 to 17 spread, as in
// SpreadingStopsAtTheStopHour) evaporates and disperses over 150, 250, ...,
// 1750 m2, then over its 1800 m2 in steps 18 to 24.
TEST(Fuel2d, TheAreaEachStepWeathersOver) {
  class area_calls : public fuel_calls {
   public:
    std::vector<double> evaporation, dispersion;
    void spreading(int32_t spill, int32_t step, farray<double, 1>& a, double& r, double& q) override {
      fuel_calls::spreading(spill, step, a, r, q);
      a(spill) += 100.0;
    }
    void evaporacion(int32_t spill, farray<double, 1>& a) override {
      fuel_calls::evaporacion(spill, a);
      evaporation.push_back(a(spill));
    }
    void evaporacion_spread(int32_t spill, farray<double, 1>& a) override {
      fuel_calls::evaporacion_spread(spill, a);
      evaporation.push_back(a(spill));
    }
    void verticaldispersion(int32_t spill, farray<double, 1>& a) override {
      fuel_calls::verticaldispersion(spill, a);
      dispersion.push_back(a(spill));
    }
  };
  weathering_run();
  var_cfg.spreading__y_n = 1;
  var_cfg.stoptimespreading = 3;
  var_run.deltat = 600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  area_calls rec;
  run_engine(rec, {});
  std::vector<double> expected;
  for (int k = 1; k <= 17; ++k) expected.push_back(50.0 + 100.0 * k);
  for (int k = 18; k <= 24; ++k) expected.push_back(1800.0);
  EXPECT_EQ(rec.evaporation, expected);
  // Dispersion stops once the (here massless) surface is found exhausted,
  // after the first step of the transport chain.
  EXPECT_EQ(rec.dispersion, std::vector<double>(expected.begin(), expected.begin() + 18));
}

TEST(Fuel2d, WeatheringSequenceInItsOrder) {
  weathering_run();
  {
    fuel_calls rec;
    EXPECT_EQ(run_engine(rec, weathering_calls),
              (strings{"dispersion_2d(1)", "evaporacion(1)", "verticaldispersion(1)", "balance_vertido_tierra(1)",
                       "emulsion(1)", "balance_masa(1)", "evaluo(1)"}));
  }
  weathering_run();
  var_cfg.spreading__y_n = 1;
  {
    fuel_calls rec;
    EXPECT_EQ(run_engine(rec, weathering_calls),
              (strings{"spreading(1,1)", "evaporacion_spread(1)", "verticaldispersion(1)", "balance_vertido_tierra(1)",
                       "emulsion(1)", "balance_masa(1)", "evaluo_spread(1)"}));
  }
}

TEST(Fuel2d, WeatheringSwitches) {
  const std::set<std::string> fate = {"evaporacion", "verticaldispersion", "emulsion", "balance_vertido_tierra",
                                      "balance_masa", "evaluo"};
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct switch_case {
    const char* what;
    std::function<void()> change;
    strings calls;
  };
  const std::vector<switch_case> cases = {
      {"evaporation off for the spill", [] { var_cfg.evaporo(1) = 0; },
       {"verticaldispersion(1)", "balance_vertido_tierra(1)", "emulsion(1)", "balance_masa(1)", "evaluo(1)"}},
      {"no natural dispersion", [] { var_cfg.verticaldispersion__y_n = 0; },
       {"evaporacion(1)", "balance_vertido_tierra(1)", "emulsion(1)", "balance_masa(1)", "evaluo(1)"}},
      {"emulsification off for the spill", [] { var_cfg.emulsiono(1) = 0; },
       {"evaporacion(1)", "verticaldispersion(1)", "balance_vertido_tierra(1)", "balance_masa(1)", "evaluo(1)"}},
      {"maximum water content 0", [] { var_spill.maxemulsification(1) = 0.0f; },
       {"evaporacion(1)", "verticaldispersion(1)", "balance_vertido_tierra(1)", "balance_masa(1)", "evaluo(1)"}},
      {"maximum water content not a number", [=] { var_spill.maxemulsification(1) = nan; },
       {"evaporacion(1)", "verticaldispersion(1)", "balance_vertido_tierra(1)", "emulsion(1)", "balance_masa(1)",
        "evaluo(1)"}},
      {"spill wholly on land: no evaporation, no property update, the balances still",
       [] {
         var_cfg.evaporo(1) = 0;
         var_cfg.emulsiono(1) = 0;
         var_cfg.flag_tierra(1) = 1;
       },
       {"verticaldispersion(1)", "balance_vertido_tierra(1)", "balance_masa(1)"}},
      {"no weathering", [] { var_cfg.degrado = 0; }, {}},
      {"probabilistic run", [] { var_run.simtype__operat_probabil = 2; }, {}},
  };
  for (const auto& c : cases) {
    weathering_run();
    c.change();
    fuel_calls rec;
    EXPECT_EQ(run_engine(rec, fate), c.calls) << c.what;
  }
}

TEST(Fuel2d, SurfaceExhaustedInTheTransportChainOnly) {
  // The balance of step 2 leaves exactly 0 kg afloat: from step 3 natural
  // dispersion is no longer called and the dispersed mass of the step is 0.
  const std::set<std::string> calls = {"verticaldispersion"};
  weathering_run();
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  fuel_calls rec;
  rec.hook = [](const std::string& routine, int32_t s, int32_t step) {
    if (routine == "balance_masa") var4.mass_surf(s) = step == 2 ? 0.0 : 5.0;
    if (routine == "update_par") var4.massdisp(s) = 7.0;
  };
  EXPECT_EQ(run_engine(rec, calls, true), (strings{"1:verticaldispersion(1)", "2:verticaldispersion(1)"}));
  EXPECT_EQ(var4.massdisp(1), 0.0);

  // A surface mass just above 0 does not stop it.
  weathering_run();
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  fuel_calls above;
  above.hook = [](const std::string& routine, int32_t s, int32_t) {
    if (routine == "balance_masa") var4.mass_surf(s) = std::numeric_limits<double>::denorm_min();
  };
  EXPECT_EQ(run_engine(above, calls).size(), 3u);

  // The spreading chain never sets it.
  weathering_run();
  var_cfg.spreading__y_n = 1;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  fuel_calls spreading;
  spreading.hook = [](const std::string& routine, int32_t s, int32_t) {
    if (routine == "balance_masa") var4.mass_surf(s) = 0.0;
  };
  EXPECT_EQ(run_engine(spreading, calls).size(), 3u);
}

TEST(Fuel2d, WeatheredSpillsRecordTheirCurrentMasses) {
  // Before the sequence has run the series holds the initial masses; once it
  // has run, the current ones.
  weathering_run();
  var_cfg.spillstarttime(1) = 3600.0;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  fuel_calls rec;
  rec.hook = [](const std::string& routine, int32_t, int32_t) {
    if (routine == "part_pro") {
      var4.mass_surf_ini(1) = 1000.0;
      var4.mass_surf(1) = 600.0;
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(var4.mass_surf_c(1, 2), 1000.0);  // after step 1: not started
  EXPECT_EQ(var4.mass_surf_c(1, 3), 600.0);   // after step 2: weathered
}

}  // namespace
}  // namespace orvel
