// The chemical 2-D engine on the recording double: the order of its set-up
// in every simulation, the choice between the spreading path and the
// dispersed path in each sub-step, the fate sequence with its switches, and
// its records of the property series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "engines/hns2d.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::recording_calls;
using testing::small_run;
using strings = std::vector<std::string>;

// The stored minimum thickness: 0.0005 in single precision, widened.
constexpr double stored_minimum = 5.000000237487257e-4;

// The small run of the frame tests as a chemical with weathering on and
// every process switched on, hourly steps over `hours`: `spills` spills of
// three particles, each of 1 m3 (an initial area of 100 m2 from the double,
// so 0.01 m thick) and a scenario minimum thickness of 0.0001 m.
void hns_run(int32_t spills = 1, int32_t hours = 1) {
  small_run(spills);
  auto& c = var_cfg;
  c.obj__floating_fuel_hns = c.obj__floating_fuel = 3;
  c.degrado = 1;
  var_run.deltat = 3600.0f;
  c.simulationtimehorizon = 3600.0f * static_cast<float>(hours);
  for (auto* a : {&c.vol0, &c.minspillthickness, &c.spillvolume}) a->allocate(spills);
  c.vol0.fill(1.0);
  c.minspillthickness.fill(0.0001);
  for (auto* a : {&c.evaporo, &c.entrainment, &c.dissolution, &c.volatilization, &c.sedimentation, &c.degradation,
                  &c.flag_tierra}) {
    a->allocate(spills);
    a->fill(1);
  }
  c.flag_tierra.fill(0);
  c.spreadalgorithm__adios2_leher_hns = 1;
  for (auto* a : {&var_spill.vaporpressure, &var_spill.watersolubility, &var_spill.density,
                  &var_spill.waterdensity}) {
    a->allocate(spills);
  }
  for (auto* a : {&var_part.par_beached, &var_part.par_pause}) a->allocate(spills);
  // The slick properties that getparthnsproperties would make.
  for (auto* a : {&var4.per_evp, &var4.agua, &var4.dens, &var4.visc}) a->allocate(spills);
  var_mallasconc.concxcells_number = 2;
  var_mallasconc.concycells_number = 3;
}

// The recording double with a placement that puts the particles on a line,
// an initial slick area of 100 m2, a hook after chosen calls and a
// dissolution that leaves `dissolved` kg dissolved.
class hns_calls : public recording_calls {
 public:
  std::function<void(const std::string& routine, int32_t spill)> hook;
  float dissolved = 1.0f;  // mass_diss_cumul after a dissolution
  farray<double, 1>* slick_area = nullptr;  // the engine's, once spreadinghns or evaluo_hns has had it

  void findhnsbehaviourclass(int32_t spill, float p, float s, float rho, float rhow, int32_t& cls) override {
    recording_calls::findhnsbehaviourclass(spill, p, s, rho, rhow, cls);
    then("findhnsbehaviourclass", spill);
  }
  void initialareahns(int32_t spill, farray<double, 1>& tstart, int32_t sim) override {
    recording_calls::initialareahns(spill, tstart, sim);
    var_spill.area_hns(spill) = 100.0f;
  }
  void getparthnsinitialstate(int32_t sim) override {
    recording_calls::getparthnsinitialstate(sim);
    place();
  }
  void getparthnsproperties() override {
    recording_calls::getparthnsproperties();
    then("getparthnsproperties", 0);
  }
  void update_par(int32_t spill, int32_t step) override {
    recording_calls::update_par(spill, step);
    then("update_par", spill);
  }
  void spreadinghns(int32_t spill, int32_t step, farray<double, 1>& a, double& r, double& q) override {
    recording_calls::spreadinghns(spill, step, a, r, q);
    slick_area = &a;
    then("spreadinghns", spill);
  }
  void balance_vertido_tierra_hns(int32_t spill) override {
    recording_calls::balance_vertido_tierra_hns(spill);
    then("balance_vertido_tierra_hns", spill);
  }
  void dissolve_2d(int32_t spill, farray<double, 1>& a) override {
    recording_calls::dissolve_2d(spill, a);
    var4.mass_diss_cumul(spill) = dissolved;
  }
  void updateparthnsproperties(int32_t spill) override {
    recording_calls::updateparthnsproperties(spill);
    then("updateparthnsproperties", spill);
  }
  void evaluo_hns(int32_t spill, farray<double, 1>& a) override {
    recording_calls::evaluo_hns(spill, a);
    slick_area = &a;
    then("evaluo_hns", spill);
  }
  void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps) override {
    recording_calls::esc_propiedades_fuel(clave, step, nsteps);
    then("esc_propiedades_fuel", 0);
  }

 private:
  void then(const std::string& routine, int32_t spill) {
    if (hook) hook(routine, spill);
  }
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
        vp.y_part(p, s) = 43.0 + 0.001 * p;
      }
      vp.x_cg(s) = vp.x_part(1, s);
      vp.y_cg(s) = vp.y_part(1, s);
    }
  }
};

strings run_engine(hns_calls& rec, const std::set<std::string>& routines, bool with_step = false) {
  farray<coast_polygon> polygons;
  hns2d_engine e(rec, "CHEM", polygons);
  rec.frame = &e;
  e.run();
  rec.frame = nullptr;
  return rec.of(routines, with_step);
}

const std::set<std::string> set_up_calls = {"findhnsbehaviourclass", "initialareahns", "getparthnsinitialstate",
                                            "getparthnsproperties", "getdegradationprocesses"};

TEST(Hns2d, SetUpInItsOrderInEverySimulationWhateverTheWeathering) {
  const strings one = {"findhnsbehaviourclass(1)", "findhnsbehaviourclass(2)", "initialareahns(1,1)",
                       "initialareahns(2,1)",      "getparthnsinitialstate(1)", "getparthnsproperties()",
                       "getdegradationprocesses()"};
  const strings two = {"findhnsbehaviourclass(1)", "findhnsbehaviourclass(2)", "initialareahns(1,2)",
                       "initialareahns(2,2)",      "getparthnsinitialstate(2)", "getparthnsproperties()",
                       "getdegradationprocesses()"};
  auto both = one;
  both.insert(both.end(), two.begin(), two.end());
  struct set_up_case {
    const char* what;
    int32_t degrado, simtype, simulations;
    strings calls;
  };
  const set_up_case cases[] = {
      {"weathering on", 1, 1, 1, one},
      {"weathering off", 0, 1, 1, one},
      {"probabilistic run of two simulations", 1, 2, 2, both},
      {"two simulations without weathering", 0, 1, 2, both},
  };
  for (const auto& c : cases) {
    hns_run(2);
    var_cfg.degrado = c.degrado;
    var_run.simtype__operat_probabil = c.simtype;
    var_run.simnumber__1_n = c.simulations;
    hns_calls rec;
    EXPECT_EQ(run_engine(rec, set_up_calls), c.calls) << c.what;
  }
}

TEST(Hns2d, SetUpValuesAndTheClearedBookkeeping) {
  // Two simulations.  Whatever the first one leaves (junk put into the
  // dissolved-mass grid and the thicknesses as it writes its property
  // files) and whatever the mass set-up gives the HNS totals, each
  // simulation starts from a clear grid, clear totals and the thickness of
  // its own set-up.
  hns_run(2, 1);
  var_cfg.vol0(2) = 3.0;
  var_cfg.minspillthickness(2) = 0.01;
  var_run.simnumber__1_n = 2;
  var_run.outputpropierties__y_n = 1;
  hns_calls rec;
  std::vector<float> grid_at_set_up;
  std::vector<double> thick_at_first_move;
  rec.hook = [&](const std::string& routine, int32_t spill) {
    auto& m = var4;
    if (routine == "findhnsbehaviourclass" && spill == 1) {
      grid_at_set_up.push_back(m.conc_diss_tot.size() == 6 ? m.conc_diss_tot(6) : -1.0f);
    }
    if (routine == "esc_propiedades_fuel") {
      m.conc_diss_tot.fill(7.0f);
      var_cfg.thick.fill(1.0);
    }
    if (routine == "getparthnsproperties") {
      for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_vol_cumul, &m.mass_sed_cumul,
                      &m.mass_degr_cumul, &m.mass_diss_dt, &m.mass_diss_column_cumul}) {
        a->fill(9.0f);
      }
      m.masaevp.fill(9.0);
      m.mass_disp_cumul.fill(9.0);
    }
    if (routine == "balance_vertido_tierra_hns") {
      thick_at_first_move.push_back(var_cfg.thick(spill));
      EXPECT_EQ(m.mass_diss_cumul(spill), 0.0f);
      EXPECT_EQ(m.mass_diss_surf_cumul(spill), 0.0f);
      EXPECT_EQ(m.mass_vol_cumul(spill), 0.0f);
      EXPECT_EQ(m.mass_sed_cumul(spill), 0.0f);
      EXPECT_EQ(m.mass_degr_cumul(spill), 0.0f);
      EXPECT_EQ(m.mass_diss_dt(spill), 0.0f);
      EXPECT_EQ(m.masaevp(spill), 0.0);
      EXPECT_EQ(m.mass_disp_cumul(spill), 0.0);
      // Left to the dissolution, which clears it at every call.
      EXPECT_EQ(m.mass_diss_column_cumul(spill), 9.0f);
    }
  };
  const strings files = run_engine(rec, {"esc_propiedades_fuel"});
  EXPECT_EQ(files.size(), 2u);
  EXPECT_EQ(grid_at_set_up, (std::vector<float>{0.0f, 0.0f}));
  // 1 m3 and 3 m3 over 100 m2, in both simulations.
  EXPECT_EQ(thick_at_first_move, (std::vector<double>{0.01, 0.03, 0.01, 0.03}));
  for (int32_t s = 1; s <= 2; ++s) {
    // The scenario's minima replaced by the stored 0.0005.
    EXPECT_EQ(var_cfg.minspillthickness(s), stored_minimum);
    EXPECT_EQ(var_spill.thickhnst(s, 1), static_cast<float>(var_cfg.vol0(s) / 100.0));
    EXPECT_EQ(var_spill.areahnsa(s, 1), 100.0f);
  }
}

// The path of each step: "spreadinghns" or "dispersion_2d", with the step.
const std::set<std::string> path_calls = {"spreadinghns", "dispersion_2d"};

TEST(Hns2d, PathChoice) {
  const double above_minimum = std::nextafter(stored_minimum, 1.0);
  struct path_case {
    const char* what;
    std::function<void()> change;
    // Called after the chosen routines, with the spill and the step.
    std::function<void(const std::string&, int32_t, int32_t)> hook;
    strings paths;
  };
  const std::vector<path_case> cases = {
      {"spreading off: dispersed from the first sub-step", [] { var_cfg.spreading__y_n = 0; }, nullptr,
       {"1:dispersion_2d(1)", "2:dispersion_2d(1)", "3:dispersion_2d(1)"}},
      {"thickness equal to the stored minimum: dispersed", nullptr,
       [](const std::string& r, int32_t s, int32_t) {
         if (r == "getparthnsproperties") var_cfg.thick.fill(stored_minimum);
         (void)s;
       },
       {"1:dispersion_2d(1)", "2:dispersion_2d(1)", "3:dispersion_2d(1)"}},
      {"thickness one step above the stored minimum: spreading", nullptr,
       [=](const std::string& r, int32_t, int32_t) {
         if (r == "getparthnsproperties") var_cfg.thick.fill(above_minimum);
       },
       {"1:spreadinghns(1,1)", "2:spreadinghns(1,2)", "3:spreadinghns(1,3)"}},
      {"a scenario minimum of 0.01 m is ignored: 0.001 m thick still spreads",
       [] {
         var_cfg.minspillthickness(1) = 0.01;
         var_cfg.vol0(1) = 0.1;
       },
       nullptr, {"1:spreadinghns(1,1)", "2:spreadinghns(1,2)", "3:spreadinghns(1,3)"}},
      {"one beached particle at step 2, one paused at step 3: dispersed in those steps", nullptr,
       [](const std::string& r, int32_t s, int32_t step) {
         if (r == "update_par") {
           var_part.par_beached(s) = step == 2 ? 1 : 0;
           var_part.par_pause(s) = step == 3 ? 1 : 0;
         }
       },
       {"1:spreadinghns(1,1)", "2:dispersion_2d(1)", "3:dispersion_2d(1)"}},
      {"no stop hour: a stop of 1 h is not consulted", [] { var_cfg.stoptimespreading = 1; }, nullptr,
       {"1:spreadinghns(1,1)", "2:spreadinghns(1,2)", "3:spreadinghns(1,3)"}},
      {"the slick thinned to its minimum by the spreading of step 2: dispersed from step 3", nullptr,
       [](const std::string& r, int32_t s, int32_t step) {
         if (r == "spreadinghns" && step == 2) var_cfg.thick(s) = var_cfg.minspillthickness(s);
       },
       {"1:spreadinghns(1,1)", "2:spreadinghns(1,2)", "3:dispersion_2d(1)"}},
      {"a spill starting at 1 h spreads from the sub-step ending at 2 h",
       [] { var_cfg.spillstarttime(1) = 3600.0; }, nullptr, {"2:spreadinghns(1,2)", "3:spreadinghns(1,3)"}},
  };
  for (const auto& c : cases) {
    hns_run(1, 3);
    var_cfg.spreading__y_n = 1;
    if (c.change) c.change();
    hns_calls rec;
    if (c.hook) {
      rec.hook = [&rec, &c](const std::string& routine, int32_t spill) {
        c.hook(routine, spill, rec.frame ? rec.frame->step : 0);
      };
    }
    EXPECT_EQ(run_engine(rec, path_calls, true), c.paths) << c.what;
  }
}

TEST(Hns2d, MovesOfEachPathByAlgorithmAndCoastSearch) {
  const std::set<std::string> calls = {"spreadinghns",   "dispersion_2d_spread",  "busca_parts_inter_spread",
                                       "posicion_2d_local_spread", "posicion_2d_spread", "dispersion_2d",
                                       "busca_parts_intersect",    "posicion_2d_local",  "posicion_2d",
                                       "balance_vertido_tierra_hns"};
  struct move_case {
    int32_t spreading, algorithm, coast;
    strings calls;
  };
  const move_case cases[] = {
      {1, 1, 1, {"spreadinghns(1,1)", "dispersion_2d_spread(1)", "posicion_2d_spread(1,1)",
                 "balance_vertido_tierra_hns(1)"}},
      {1, 2, 1, {"spreadinghns(1,1)", "posicion_2d_spread(1,1)", "balance_vertido_tierra_hns(1)"}},
      {1, 3, 1, {"spreadinghns(1,1)", "dispersion_2d_spread(1)", "posicion_2d_spread(1,1)",
                 "balance_vertido_tierra_hns(1)"}},
      {1, 3, 2, {"spreadinghns(1,1)", "dispersion_2d_spread(1)", "busca_parts_inter_spread(1,1)",
                 "posicion_2d_local_spread(1,1)", "balance_vertido_tierra_hns(1)"}},
      {1, 2, 2, {"spreadinghns(1,1)", "busca_parts_inter_spread(1,1)", "posicion_2d_local_spread(1,1)",
                 "balance_vertido_tierra_hns(1)"}},
      {0, 1, 1, {"dispersion_2d(1)", "posicion_2d(1,1)", "balance_vertido_tierra_hns(1)"}},
      {0, 1, 2, {"dispersion_2d(1)", "busca_parts_intersect(1,1)", "posicion_2d_local(1,1)",
                 "balance_vertido_tierra_hns(1)"}},
  };
  for (const auto& c : cases) {
    hns_run();
    var_cfg.spreading__y_n = c.spreading;
    var_cfg.spreadalgorithm__adios2_leher_hns = c.algorithm;
    var_run.searchcoastalgorithm__lr_hr = c.coast;
    hns_calls rec;
    EXPECT_EQ(run_engine(rec, calls), c.calls) << c.spreading << "," << c.algorithm << "," << c.coast;
  }
}

const std::set<std::string> fate_calls = {"balance_vertido_tierra_hns", "evaporacionhns", "verticaldispersion_hns",
                                          "dissolve_2d",    "settling",   "volatilize",
                                          "degrade",        "updateparthnsproperties", "evaluo_hns",
                                          "esc_propiedades_fuel"};

TEST(Hns2d, FateSequenceAndItsSwitches) {
  const strings all = {"balance_vertido_tierra_hns(1)", "evaporacionhns(1)", "verticaldispersion_hns(1)",
                       "dissolve_2d(1)", "settling(1)", "volatilize(1)", "degrade(1)",
                       "updateparthnsproperties(1)", "evaluo_hns(1)"};
  auto without = [&all](std::initializer_list<const char*> gone) {
    strings r;
    for (const auto& x : all) {
      bool keep = true;
      for (const char* g : gone) keep = keep && x.rfind(g, 0) != 0;
      if (keep) r.push_back(x);
    }
    return r;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct fate_case {
    const char* what;
    std::function<void()> change;
    float dissolved;
    strings calls;
    double massdisp;  // after the run; -1: not checked
  };
  const std::vector<fate_case> cases = {
      {"every process", nullptr, 1.0f, all, -1.0},
      {"entrainment off: massdisp 0, no call", [] { var_cfg.entrainment(1) = 0; }, 1.0f,
       without({"verticaldispersion_hns"}), 0.0},
      {"dissolution off, sorption on: no settling, nothing dissolved, no volatilisation",
       [] { var_cfg.dissolution(1) = 0; }, 1.0f, without({"dissolve_2d", "settling", "volatilize"}), -1.0},
      {"sorption off", [] { var_cfg.sedimentation(1) = 0; }, 1.0f, without({"settling"}), -1.0},
      {"volatilisation waits for dissolved mass above 0", nullptr, 0.0f, without({"volatilize"}), -1.0},
      {"a dissolved mass that is not a number is not above 0", nullptr, nan, without({"volatilize"}), -1.0},
      {"degradation off", [] { var_cfg.degradation(1) = 0; }, 1.0f, without({"degrade"}), -1.0},
      {"evaporation off", [] { var_cfg.evaporo(1) = 0; }, 1.0f, without({"evaporacionhns"}), -1.0},
      {"every switch off: the share-back and the properties still",
       [] {
         for (auto* a : {&var_cfg.evaporo, &var_cfg.entrainment, &var_cfg.dissolution, &var_cfg.volatilization,
                         &var_cfg.sedimentation, &var_cfg.degradation}) {
           a->fill(0);
         }
       },
       1.0f, {"balance_vertido_tierra_hns(1)", "updateparthnsproperties(1)", "evaluo_hns(1)"}, 0.0},
      {"spill wholly on land: no property update", [] { var_cfg.flag_tierra(1) = 1; }, 1.0f,
       without({"evaluo_hns"}), -1.0},
      {"weathering off: the re-sum only, no property file",
       [] {
         var_cfg.degrado = 0;
         var_run.outputpropierties__y_n = 1;
       },
       1.0f, {"balance_vertido_tierra_hns(1)"}, 7.0},
      {"probabilistic run: the re-sum only", [] { var_run.simtype__operat_probabil = 2; }, 1.0f,
       {"balance_vertido_tierra_hns(1)"}, 7.0},
  };
  for (const auto& c : cases) {
    hns_run();
    if (c.change) c.change();
    hns_calls rec;
    rec.dissolved = c.dissolved;
    rec.hook = [](const std::string& routine, int32_t s) {
      if (routine == "balance_vertido_tierra_hns") var4.massdisp(s) = 7.0;
    };
    EXPECT_EQ(run_engine(rec, fate_calls), c.calls) << c.what;
    if (c.massdisp >= 0.0) {
      EXPECT_EQ(var4.massdisp(1), c.massdisp) << c.what;
    }
  }
}

TEST(Hns2d, AnExhaustedSurfaceStopsEntrainmentOnTheDispersedPathOnly) {
  // The share-back of step 2 leaves exactly 0 kg afloat: from step 3 on no
  // entrainment is called and the dispersed mass of the step is 0.  Just
  // above 0, or on the spreading path, entrainment goes on.
  struct exhausted_case {
    const char* what;
    int32_t spreading;
    double surface;
    strings calls;
    double massdisp;
  };
  const exhausted_case cases[] = {
      {"dispersed path, exactly 0", 0, 0.0, {"1:verticaldispersion_hns(1)", "2:verticaldispersion_hns(1)"}, 0.0},
      {"dispersed path, just above 0", 0, std::numeric_limits<double>::denorm_min(),
       {"1:verticaldispersion_hns(1)", "2:verticaldispersion_hns(1)", "3:verticaldispersion_hns(1)",
        "4:verticaldispersion_hns(1)"},
       7.0},
      {"spreading path, exactly 0", 1, 0.0,
       {"1:verticaldispersion_hns(1)", "2:verticaldispersion_hns(1)", "3:verticaldispersion_hns(1)",
        "4:verticaldispersion_hns(1)"},
       7.0},
  };
  for (const auto& c : cases) {
    hns_run(1, 4);
    var_cfg.spreading__y_n = c.spreading;
    hns_calls rec;
    rec.hook = [&rec, &c](const std::string& routine, int32_t s) {
      if (routine == "update_par") var4.massdisp(s) = 7.0;
      if (routine == "updateparthnsproperties") var4.mass_surf(s) = rec.frame->step == 2 ? c.surface : 5.0;
    };
    EXPECT_EQ(run_engine(rec, {"verticaldispersion_hns"}, true), c.calls) << c.what;
    EXPECT_EQ(var4.massdisp(1), c.massdisp) << c.what;
  }
}

TEST(Hns2d, PropertyFilesOnlyWithWeatheringRecordedAndAskedFor) {
  struct file_case {
    int32_t degrado, simtype, asked;
    bool written;
  };
  const file_case cases[] = {{1, 1, 1, true}, {0, 1, 1, false}, {1, 1, 0, false}, {1, 2, 1, false}};
  for (const auto& c : cases) {
    hns_run(1, 2);
    var_cfg.degrado = c.degrado;
    var_run.simtype__operat_probabil = c.simtype;
    var_run.outputpropierties__y_n = c.asked;
    hns_calls rec;
    EXPECT_EQ(run_engine(rec, {"esc_propiedades_fuel"}),
              c.written ? strings{"esc_propiedades_fuel(CHEM,3,3)"} : strings{})
        << c.degrado << c.simtype << c.asked;
  }
}

TEST(Hns2d, GridOutputsThroughTheChemicalGridRoutine) {
  hns_run(2, 2);
  var_run.outputconcs__y_n = 1;
  hns_calls rec;
  EXPECT_EQ(run_engine(rec, {"concentracion_hns2d", "concentracion"}, true),
            (strings{"1:concentracion_hns2d(1,1,1,0)", "1:concentracion_hns2d(2,1,1,0)",
                     "1:concentracion_hns2d(1,1,1,1)", "1:concentracion_hns2d(2,1,1,1)",
                     "2:concentracion_hns2d(1,2,1,2)", "2:concentracion_hns2d(2,2,1,2)"}));
}

TEST(Hns2d, SeriesRecords) {
  // Spill 1 starts at time 0, spill 2 at 1 h.  The set-up gives initial
  // masses; the first re-sum of each spill replaces the current ones, and
  // the spreading of each step grows the slick area by 50 m2.
  hns_run(2, 2);
  var_cfg.spreading__y_n = 1;
  var_cfg.spillstarttime(2) = 3600.0;
  hns_calls rec;
  rec.hook = [&rec](const std::string& routine, int32_t s) {
    auto& m = var4;
    if (routine == "getparthnsproperties") {
      for (int32_t k = 1; k <= 2; ++k) {
        m.mass_surf_ini(k) = 1000.0 * k;
        m.mass_beached_ini(k) = 1.0;
        m.mass_column_ini(k) = 2.0;
        m.mass_floor_ini(k) = 3.0;
        m.mass_radar_ini(k) = 4.0;
        m.per_evp(k) = 0.0;
        m.dens(k) = 800.0;
        m.visc(k) = 1.5;
      }
    }
    if (routine == "spreadinghns") (*rec.slick_area)(s) += 50.0;
    if (routine == "updateparthnsproperties") {
      m.mass_surf(s) = 600.0;
      m.mass_beached(s) = 10.0;
      m.mass_column(s) = 20.0;
      m.mass_floor(s) = 30.0;
      m.mass_radar(s) = 40.0;
      m.masaevp(s) = 100.0;
      m.per_evp(s) = 0.1;
      m.mass_disp_cumul(s) = 5.0;
      m.mass_diss_cumul(s) = 0.1f;
      m.mass_vol_cumul(s) = 0.2f;
      m.mass_sed_cumul(s) = 0.3f;
      m.mass_degr_cumul(s) = 0.4f;
    }
  };
  run_engine(rec, {});
  const auto& m = var4;
  const auto& sp = var_spill;
  // Record 1: initial masses, mass_radar_ini, zero cumulatives, set-up area.
  for (int32_t s = 1; s <= 2; ++s) {
    EXPECT_EQ(m.mass_surf_c(s, 1), 1000.0 * s);
    EXPECT_EQ(m.mass_beachedc(s, 1), 1.0);
    EXPECT_EQ(m.mass_columnc(s, 1), 2.0);
    EXPECT_EQ(m.mass_floorc(s, 1), 3.0);
    EXPECT_EQ(m.mass_radarc(s, 1), 4.0);
    EXPECT_EQ(m.mass_disp_cumul_c(s, 1), 0.0);
    EXPECT_EQ(m.densc(s, 1), 800.0);
    for (const auto* a : {&m.mass_diss_cumul_c, &m.mass_vol_cumul_c, &m.mass_sed_cumul_c, &m.mass_degr_cumul_c}) {
      EXPECT_EQ((*a)(s, 1), 0.0);
    }
    EXPECT_EQ(sp.areahnsa(s, 1), 100.0f);
    EXPECT_EQ(sp.thickhnst(s, 1), 0.01f);
  }
  // Record 2 (after the step ending at 1 h): spill 1 weathered, spill 2 not
  // yet started (its initial masses, its set-up area).
  EXPECT_EQ(m.mass_surf_c(1, 2), 600.0);
  EXPECT_EQ(m.mass_radarc(1, 2), 40.0);
  EXPECT_EQ(m.masaevpc(1, 2), 100.0);
  EXPECT_EQ(m.per_evpc(1, 2), 0.1);
  EXPECT_EQ(m.mass_disp_cumul_c(1, 2), 5.0);
  EXPECT_EQ(m.mass_diss_cumul_c(1, 2), static_cast<double>(0.1f));
  EXPECT_EQ(m.mass_vol_cumul_c(1, 2), static_cast<double>(0.2f));
  EXPECT_EQ(m.mass_sed_cumul_c(1, 2), static_cast<double>(0.3f));
  EXPECT_EQ(m.mass_degr_cumul_c(1, 2), static_cast<double>(0.4f));
  EXPECT_EQ(sp.areahnsa(1, 2), 150.0f);
  EXPECT_EQ(m.mass_surf_c(2, 2), 2000.0);
  EXPECT_EQ(m.mass_radarc(2, 2), 4.0);
  EXPECT_EQ(sp.areahnsa(2, 2), 100.0f);
  // Record 3: both weathered, both areas grown.
  EXPECT_EQ(m.mass_surf_c(2, 3), 600.0);
  EXPECT_EQ(sp.areahnsa(1, 3), 200.0f);
  EXPECT_EQ(sp.areahnsa(2, 3), 150.0f);
  EXPECT_EQ(sp.area_hns(1), 200.0f);
}

TEST(Hns2d, ASlickAreaOfZeroKeepsTheLastArea) {
  // While mass floats.
  hns_run(1, 2);
  hns_calls rec;
  rec.hook = [&rec](const std::string& routine, int32_t s) {
    if (routine == "evaluo_hns") {
      (*rec.slick_area)(s) = rec.frame->step == 1 ? 250.0 : 0.0;
      var4.mass_surf(s) = 1.0;
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(var_spill.areahnsa(1, 1), 100.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 2), 250.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 3), 250.0f);
}

TEST(Hns2d, NothingAfloatPrintsNoArea) {
  // The floating mass gone after the first step: the printed area and
  // thickness are 0 from then on, while the slick area kept for the
  // spreading stays.
  hns_run(1, 2);
  hns_calls rec;
  rec.hook = [&rec](const std::string& routine, int32_t s) {
    if (routine == "evaluo_hns") {
      (*rec.slick_area)(s) = 250.0;
      var4.mass_surf(s) = rec.frame->step == 1 ? 1.0 : 0.0;
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(var_spill.areahnsa(1, 1), 100.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 2), 250.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 3), 0.0f);
  EXPECT_EQ(var_spill.thickhnst(1, 3), 0.0f);
  EXPECT_EQ(var_spill.area_hns(1), 250.0f);
}

}  // namespace
}  // namespace orvel
