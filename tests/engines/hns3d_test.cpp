// The chemical 3-D engine on the recording double: its set-up with and
// without a blowout and over two simulations, the vertical diffusivities and
// the path choice after the passes, the moves of each path, the fate
// sequence and its switches, the series records and the property files.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engines/hns3d.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::recording_calls;
using testing::small_run;
using strings = std::vector<std::string>;

// The small run of the frame tests as a three-dimensional chemical with
// uniform current and wave series (waves 1 m high), spreading on with a
// minimum thickness of 1 mm, and the scenario arrays the engine reads.
void hns3d_run(int32_t spills = 1, int32_t particles = 3) {
  small_run(spills, particles);
  var_run.sim__2d_3d = 2;
  auto& c = var_cfg;
  c.obj__floating_fuel_hns = 3;
  c.obj__floating_fuel = 3;
  c.spreading__y_n = 1;
  c.spreadalgorithm__adios2_leher_hns = 3;
  for (auto* a : {&c.minspillthickness, &c.spillposition_z}) a->allocate(spills);
  c.minspillthickness.fill(0.001);
  for (auto* a : {&c.evaporo, &c.entrainment, &c.dissolution, &c.volatilization, &c.sedimentation, &c.degradation,
                  &c.flag_tierra}) {
    a->allocate(spills);
  }
  auto& s = var_spill;
  for (auto* a : {&s.vaporpressure, &s.watersolubility, &s.density, &s.waterdensity}) a->allocate(spills);
  for (auto* a : {&var_part.par_beached, &var_part.par_pause, &var_part.par_surf}) a->allocate(spills);
  auto& cw = var_currwindwave;
  for (auto* a : {&cw.w_curr_int, &cw.u_curr_intsup, &cw.v_curr_intsup, &cw.u_curr_intcol, &cw.v_curr_intcol}) {
    a->allocate(particles);
  }
  for (auto* a : {&cw.uadv_corrientes, &cw.vadv_corrientes, &cw.wadv_corrientes_y_float, &cw.uadv_viento_oleaje,
                  &cw.vadv_viento_oleaje, &cw.wadv}) {
    a->allocate(particles, spills);
  }
  cw.hwavec.allocate(c.wavesfilesorlines_number);
  cw.hwavec.fill(1.0);
  var_mallas.factor = 111317.359375;
}

// Every fate process on.
void fate_run(int32_t spills = 1) {
  hns3d_run(spills);
  auto& c = var_cfg;
  c.degrado = 1;
  for (auto* a : {&c.evaporo, &c.entrainment, &c.dissolution, &c.volatilization, &c.sedimentation, &c.degradation}) {
    a->fill(1);
  }
}

// The recording double with the chemical placements: at the surface with an
// area of 100 m2 per spill number and a 1 cm slick (a release at depth: in
// the column, an area and no thickness), or on the jet disc of 250 m2 in
// the column.  The masses routine makes the weathering arrays.  `hook` runs
// after a recorded call and may change the state.
class hns3d_calls : public recording_calls {
 public:
  std::function<void(const std::string& routine, int32_t spill)> hook;

  void findhnsbehaviourclass(int32_t spill, float p, float s, float rho, float rhow, int32_t& cls) override {
    recording_calls::findhnsbehaviourclass(spill, p, s, rho, rhow, cls);
    after("findhnsbehaviourclass", spill);
  }
  void getparthnsinitialstate3d(int32_t sim) override {
    recording_calls::getparthnsinitialstate3d(sim);
    for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
      const bool at_depth = var_cfg.spillposition_z(s) != 0.0;
      place(s, at_depth ? 5 : 1);
      var_spill.area_hns(s) = 100.0f * static_cast<float>(s);
      if (!at_depth) var_cfg.thick(s) = 0.01;
    }
    after("getparthnsinitialstate3d", 0);
  }
  void part_ini_blowout(int32_t spill) override {
    recording_calls::part_ini_blowout(spill);
    place(spill, 5);
    var_spill.area_oil(spill) = 250.0f;
    after("part_ini_blowout", spill);
  }
  void dropletsizedistribution(int32_t spill) override {
    recording_calls::dropletsizedistribution(spill);
    after("dropletsizedistribution", spill);
  }
  void getparthnsproperties_3d() override {
    recording_calls::getparthnsproperties_3d();
    const int32_t ns = var_cfg.spills_number;
    auto& m = var4;
    for (auto* a : {&m.dens, &m.visc, &m.per_evp, &m.agua, &m.diff_evp}) ensure(*a, ns);
    after("getparthnsproperties_3d", 0);
  }
  void update_par(int32_t spill, int32_t step) override {
    recording_calls::update_par(spill, step);
    after("update_par", spill);
  }
  void posicion_3d(int32_t spill, int32_t step) override {
    recording_calls::posicion_3d(spill, step);
    after("posicion_3d", spill);
  }
  void posicion_3d_spread(int32_t spill, int32_t step, double r, double q) override {
    recording_calls::posicion_3d_spread(spill, step, r, q);
    after("posicion_3d_spread", spill);
  }
  void balance_vertido_tierra_hns_3d(int32_t spill) override {
    recording_calls::balance_vertido_tierra_hns_3d(spill);
    after("balance_vertido_tierra_hns_3d", spill);
  }
  void evaporacionhns(int32_t spill, farray<double, 1>& slick_area) override {
    recording_calls::evaporacionhns(spill, slick_area);
    after("evaporacionhns", spill);
  }
  void evaluo_hns(int32_t spill, farray<double, 1>& slick_area) override {
    recording_calls::evaluo_hns(spill, slick_area);
    after("evaluo_hns", spill);
  }
  void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp) override {
    recording_calls::concentracion(spill, step, clave, sim, stamp);
    after("concentracion", spill);
  }

 private:
  void after(const std::string& routine, int32_t spill) {
    if (hook) hook(routine, spill);
  }
  static void place(int32_t s, int32_t state) {
    const int32_t np = var_run.particle_number;
    const int32_t ns = var_cfg.spills_number;
    auto& vp = var_part;
    if (!vp.x_part.allocated()) {
      for (auto* a : {&vp.x_part, &vp.y_part, &vp.z_part}) a->allocate(np, ns);
      vp.x_cg.allocate(ns);
      vp.y_cg.allocate(ns);
    }
    if (!vp.indp.allocated()) vp.indp.allocate(np, ns);
    for (int32_t p = 1; p <= np; ++p) {
      vp.indp(p, s) = state;
      vp.x_part(p, s) = 351.0 + 0.1 * s + 0.001 * p;
      vp.y_part(p, s) = 43.0;
      vp.z_part(p, s) = state == 5 ? 20.0 / var_mallas.factor : 0.0;
    }
    vp.x_cg(s) = vp.x_part(1, s) + 0.5;
    vp.y_cg(s) = vp.y_part(1, s);
  }
};

strings run_engine(hns3d_calls& rec, const std::set<std::string>& routines, bool with_step = false) {
  farray<coast_polygon> polygons;
  hns3d_engine e(rec, "HNS3", polygons);
  rec.frame = &e;
  e.run();
  rec.frame = nullptr;
  return rec.of(routines, with_step);
}

const std::set<std::string> set_up_calls = {
    "findhnsbehaviourclass",   "part_ini_blowout",        "read_droplets",   "getparthnsinitialstate3d",
    "dropletsizedistribution", "getparthnsproperties_3d", "getdegradationprocesses", "probabilidad_3d",
    "concentracion"};

TEST(Hns3d, SetUpWithAndWithoutABlowout) {
  // Two spills, concentration outputs at time 0 only.  The set-up runs in
  // full whatever the weathering switch and the run type.
  struct set_up_case {
    const char* what;
    int32_t blowout, degrado, simtype;
    strings calls;
  };
  const strings placed = {"findhnsbehaviourclass(1)", "findhnsbehaviourclass(2)", "getparthnsinitialstate3d(1)",
                          "dropletsizedistribution(1)", "dropletsizedistribution(2)"};
  const strings blown = {"findhnsbehaviourclass(1)", "findhnsbehaviourclass(2)", "part_ini_blowout(1)",
                         "read_droplets(1)",         "part_ini_blowout(2)",      "read_droplets(2)"};
  const strings after = {"getparthnsproperties_3d()", "getdegradationprocesses()", "probabilidad_3d(1,1;cont_p=2)",
                         "probabilidad_3d(2,1;cont_p=2)", "concentracion(1,1,1,0;cont_p=2)",
                         "concentracion(2,1,1,0;cont_p=2)"};
  auto join = [](strings a, const strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<set_up_case> cases = {
      {"surface release, weathering on", 0, 1, 1, join(placed, after)},
      {"surface release, weathering off", 0, 0, 1, join(placed, after)},
      {"surface release, probabilistic run", 0, 1, 2, join(placed, after)},
      {"blowout, spill by spill", 1, 1, 1, join(blown, after)},
  };
  for (const auto& c : cases) {
    hns3d_run(2);
    var_run.blowout__y_n = c.blowout;
    var_cfg.degrado = c.degrado;
    var_run.simtype__operat_probabil = c.simtype;
    var_run.outputconcs__y_n = 1;
    var_run.deltatoutput_concs = 7200.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    hns3d_calls rec;
    EXPECT_EQ(run_engine(rec, set_up_calls), c.calls) << c.what;
    // Without a blowout the droplet arrays are the engine's.
    if (c.blowout == 0) {
      EXPECT_EQ(var_part.diam_part.size(1), 3) << c.what;
      EXPECT_EQ(var_part.w_float.size(2), 2) << c.what;
    }
  }
}

TEST(Hns3d, SetUpAreasThicknessesAndTheZeroedMasses) {
  // A surface spill and a spill released at 20 m, then a blowout.  The
  // scenario's thickness of 7 m is not a slick's: only the surface release
  // gets a first thickness, so the others take the dispersed path from
  // their first step.  The slick area starts at the placement's area, and
  // at 0 for a blowout, whose area is the jet disc.  The HNS masses left
  // from before the set-up are zeroed.
  for (int32_t blowout : {0, 1}) {
    hns3d_run(2);
    var_run.blowout__y_n = blowout;
    var_cfg.spillposition_z(2) = 20.0;
    var_cfg.simulationtimehorizon = 3600.0f;
    var_run.deltat = 3600.0f;
    var_cfg.thick.allocate(2);
    var_cfg.thick.fill(7.0);
    hns3d_calls rec;
    std::vector<double> zeroed;
    rec.hook = [&](const std::string& routine, int32_t) {
      auto& m = var4;
      if (routine == "findhnsbehaviourclass") {
        for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_diss_column_cumul, &m.mass_vol_cumul,
                        &m.mass_sed_cumul, &m.mass_degr_cumul, &m.mass_diss_dt}) {
          a->fill(3.0f);
        }
        m.masaevp.fill(3.0);
        m.mass_disp_cumul.fill(3.0);
      }
      if (routine == "dropletsizedistribution" || routine == "part_ini_blowout") {
        zeroed.push_back(rec.frame->slick_area(1));
        zeroed.push_back(rec.frame->slick_area(2));
      }
    };
    const auto moves = run_engine(rec, {"spreadinghns", "posicion_3d_spread", "posicion_3d"});
    const auto& m = var4;
    for (double v : {double(m.mass_diss_cumul(1)), double(m.mass_diss_surf_cumul(2)),
                     double(m.mass_diss_column_cumul(1)), double(m.mass_vol_cumul(2)), double(m.mass_sed_cumul(1)),
                     double(m.mass_degr_cumul(2)), double(m.mass_diss_dt(1)), m.masaevp(2), m.mass_disp_cumul(1)}) {
      EXPECT_EQ(v, 0.0) << "blowout " << blowout;
    }
    if (blowout == 0) {
      EXPECT_EQ(zeroed, (std::vector<double>{100.0, 200.0, 100.0, 200.0}));
      EXPECT_EQ(var_spill.areahnsa(1, 1), 100.0f);
      EXPECT_EQ(var_spill.areahnsa(2, 2), 200.0f);
      EXPECT_EQ(var_spill.thickhnst(1, 1), 0.01f);
      EXPECT_EQ(var_spill.thickhnst(2, 1), 0.0f);
      EXPECT_EQ(moves, (strings{"spreadinghns(1,1)", "posicion_3d_spread(1,1)", "posicion_3d(2,1)"}));
    } else {
      // The slick area stays 0: the series keeps the disc area.
      EXPECT_EQ(zeroed, (std::vector<double>{0.0, 0.0, 0.0, 0.0}));
      for (int32_t s : {1, 2}) {
        EXPECT_EQ(var_spill.areahnsa(s, 1), 250.0f) << s;
        EXPECT_EQ(var_spill.areahnsa(s, 2), 250.0f) << s;
        EXPECT_EQ(var_spill.thickhnst(s, 1), 0.0f) << s;
      }
      EXPECT_EQ(moves, (strings{"posicion_3d(1,1)", "posicion_3d(2,1)"}));
    }
  }
}

TEST(Hns3d, TwoSimulationsConvertAndAllocateInTheFirstOnly) {
  // Blowout: start times from hours to seconds once.  Surface release: the
  // droplet arrays are made once and kept; the dissolved-mass grid is
  // cleared at the start of each simulation.
  {
    hns3d_run(2);
    var_run.blowout__y_n = 1;
    var_run.simnumber__1_n = 2;
    var_cfg.simulationtimehorizon = 0.0f;
    var_cfg.spillstarttime(1) = 0.5;
    var_cfg.spillstarttime(2) = 2.0;
    hns3d_calls rec;
    EXPECT_EQ(run_engine(rec, {"part_ini_blowout", "getparthnsinitialstate3d"}),
              (strings{"part_ini_blowout(1)", "part_ini_blowout(2)", "part_ini_blowout(1)", "part_ini_blowout(2)"}));
    EXPECT_EQ(var_cfg.spillstarttime(1), 1800.0);
    EXPECT_EQ(var_cfg.spillstarttime(2), 7200.0);
  }
  hns3d_run(2);
  var_run.simnumber__1_n = 2;
  var_cfg.simulationtimehorizon = 3600.0f;
  var_mallasconc.concxcells_number = 2;
  var_mallasconc.concycells_number = 3;
  hns3d_calls rec;
  std::vector<const double*> storage;
  std::vector<float> grid_at_set_up;
  rec.hook = [&](const std::string& routine, int32_t spill) {
    if (routine == "dropletsizedistribution" && spill == 1) {
      storage.push_back(var_part.diam_part.data());
      storage.push_back(var_part.w_float.data());
    }
    if (routine == "findhnsbehaviourclass" && spill == 1) {
      grid_at_set_up.push_back(var4.conc_diss_tot(6));
      var4.conc_diss_tot.fill(4.0f);  // as a grid output leaves it
    }
  };
  EXPECT_EQ(run_engine(rec, {"getparthnsinitialstate3d", "getparthnsproperties_3d"}),
            (strings{"getparthnsinitialstate3d(1)", "getparthnsproperties_3d()", "getparthnsinitialstate3d(2)",
                     "getparthnsproperties_3d()"}));
  ASSERT_EQ(storage.size(), 4u);
  EXPECT_EQ(storage[0], storage[2]);
  EXPECT_EQ(storage[1], storage[3]);
  EXPECT_EQ(var4.conc_diss_tot.size(), 6);
  EXPECT_EQ(grid_at_set_up, (std::vector<float>{0.0f, 0.0f}));
}

const std::set<std::string> chain_calls = {
    "update_par",        "vel_adv_3d",           "rungek",
    "verticaldiffusionvelocity", "spreadinghns", "dispersion_2d_spread",
    "busca_parts_inter_spread", "posicion_2d_local_spread", "posicion_3d_spread",
    "dispersion_2d",     "busca_parts_intersect", "posicion_2d_local",
    "posicion_3d",       "balance_vertido_tierra_hns_3d"};

TEST(Hns3d, VerticalDiffusivitiesThenThePathOfTheStep) {
  // One hourly step of one spill with weathering off.  The counts are those
  // the last pass left (update_par); the thickness is the set-up's.
  struct path_case {
    const char* what;
    std::function<void()> change;
    strings calls;
  };
  const strings pass = {"update_par(1,1)", "vel_adv_3d(1,1)", "verticaldiffusionvelocity(1,1)"};
  const strings spreading = {"spreadinghns(1,1)", "dispersion_2d_spread(1)", "posicion_3d_spread(1,1)",
                             "balance_vertido_tierra_hns_3d(1)"};
  const strings dispersed = {"dispersion_2d(1)", "posicion_3d(1,1)", "balance_vertido_tierra_hns_3d(1)"};
  auto join = [](strings a, const strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<path_case> cases = {
      {"thicker than the minimum, free: spreading", [] {}, join(pass, spreading)},
      {"thickness equal to the minimum: dispersed", [] { var_cfg.minspillthickness(1) = 0.01; },
       join(pass, dispersed)},
      {"one particle beached: dispersed", [] { var_part.par_beached(1) = 1; }, join(pass, dispersed)},
      {"one particle paused: dispersed", [] { var_part.par_pause(1) = 1; }, join(pass, dispersed)},
      {"spreading off: dispersed", [] { var_cfg.spreading__y_n = 0; }, join(pass, dispersed)},
      {"released below the surface: dispersed from the first step", [] { var_cfg.spillposition_z(1) = 20.0; },
       join(pass, dispersed)},
      {"spreading algorithm 2: no spreading diffusivity",
       [] { var_cfg.spreadalgorithm__adios2_leher_hns = 2; },
       join(pass, {"spreadinghns(1,1)", "posicion_3d_spread(1,1)", "balance_vertido_tierra_hns_3d(1)"})},
      {"spreading algorithm 1", [] { var_cfg.spreadalgorithm__adios2_leher_hns = 1; }, join(pass, spreading)},
      {"spreading switch 2, thick and free: neither moved nor re-summed", [] { var_cfg.spreading__y_n = 2; }, pass},
      {"spreading switch 2, one particle beached: dispersed",
       [] {
         var_cfg.spreading__y_n = 2;
         var_part.par_beached(1) = 1;
       },
       join(pass, dispersed)},
      {"coast polygons, spreading", [] { var_run.searchcoastalgorithm__lr_hr = 2; },
       join(pass, {"spreadinghns(1,1)", "dispersion_2d_spread(1)", "busca_parts_inter_spread(1,1)",
                   "posicion_2d_local_spread(1,1)", "balance_vertido_tierra_hns_3d(1)"})},
      {"coast polygons, dispersed",
       [] {
         var_run.searchcoastalgorithm__lr_hr = 2;
         var_cfg.spreading__y_n = 0;
       },
       join(pass, {"dispersion_2d(1)", "busca_parts_intersect(1,1)", "posicion_2d_local(1,1)",
                   "balance_vertido_tierra_hns_3d(1)"})},
  };
  for (const auto& c : cases) {
    hns3d_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    c.change();
    const int32_t beached = var_part.par_beached(1);
    const int32_t paused = var_part.par_pause(1);
    hns3d_calls rec;
    rec.hook = [&](const std::string& routine, int32_t s) {
      if (routine == "update_par") {
        var_part.par_beached(s) = beached;
        var_part.par_pause(s) = paused;
      }
    };
    EXPECT_EQ(run_engine(rec, chain_calls), c.calls) << c.what;
  }
}

TEST(Hns3d, RungeKuttaStagesComeBeforeTheDiffusivities) {
  hns3d_run();
  var_run.numericalmethod__euler_rungekut = 2;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
  hns3d_calls rec;
  EXPECT_EQ(run_engine(rec, {"update_par", "vel_adv_3d", "rungek", "verticaldiffusionvelocity", "spreadinghns"}),
            (strings{"update_par(1,1)", "vel_adv_3d(1,1)", "rungek(1,1,0)", "vel_adv_3d(1,1)", "rungek(1,2,0)",
                     "vel_adv_3d(1,1)", "rungek(1,3,0)", "vel_adv_3d(1,1)", "rungek(1,4,0)",
                     "verticaldiffusionvelocity(1,1)", "spreadinghns(1,1)"}));
}

TEST(Hns3d, SpillThatThinsToItsMinimumTurnsToTheDispersedPath) {
  // The slick property update of step 2 holds the thickness at the minimum:
  // from step 3 on the spill is moved as dispersed, weathered and
  // re-evaluated, and the thickness series shows the minimum.
  fate_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  hns3d_calls rec;
  rec.hook = [&](const std::string& routine, int32_t s) {
    if (routine == "evaluo_hns") {
      if (rec.frame->step == 2) var_cfg.thick(s) = var_cfg.minspillthickness(s);
    }
  };
  EXPECT_EQ(run_engine(rec, {"posicion_3d_spread", "posicion_3d", "evaluo_hns"}, true),
            (strings{"1:posicion_3d_spread(1,1)", "1:evaluo_hns(1)", "2:posicion_3d_spread(1,2)", "2:evaluo_hns(1)",
                     "3:posicion_3d(1,3)", "3:evaluo_hns(1)", "4:posicion_3d(1,4)", "4:evaluo_hns(1)"}));
  EXPECT_EQ(var_spill.thickhnst(1, 1), 0.01f);
  EXPECT_EQ(var_spill.thickhnst(1, 2), 0.01f);
  EXPECT_EQ(var_spill.thickhnst(1, 3), 0.001f);
  EXPECT_EQ(var_spill.thickhnst(1, 5), 0.001f);
}

const std::set<std::string> fate_calls = {
    "evaporacionhns", "verticaldispersion_hns", "entrainedparticlesredistribution_hns3d",
    "dissolve_3d",    "settling",               "volatilize",
    "degrade",        "updateparthnsproperties_3d", "evaluo_hns"};

TEST(Hns3d, FateSequenceAndItsSwitches) {
  // One hourly step; something floats and the dissolved total is above 0
  // unless the case says otherwise.  massdisp starts at 9 to show where the
  // engine zeroes it.
  struct fate_case {
    const char* what;
    std::function<void()> change;
    strings calls;
    double massdisp;         // after the step
    float dissolved = 2.0f;  // mass_diss_cumul before the step's processes
  };
  const strings dispersed_all = {"evaporacionhns(1)", "verticaldispersion_hns(1)",
                                 "entrainedparticlesredistribution_hns3d(1)", "dissolve_3d(1)", "settling(1)",
                                 "volatilize(1)", "degrade(1)", "evaluo_hns(1)"};
  const std::vector<fate_case> cases = {
      {"spreading path: the re-sum after the processes",
       [] {},
       {"evaporacionhns(1)", "verticaldispersion_hns(1)", "entrainedparticlesredistribution_hns3d(1)",
        "dissolve_3d(1)", "settling(1)", "volatilize(1)", "degrade(1)", "updateparthnsproperties_3d(1)",
        "evaluo_hns(1)"},
       9.0},
      {"dispersed path: no re-sum", [] { var_cfg.spreading__y_n = 0; }, dispersed_all, 9.0},
      {"wave height exactly 0: no entrainment",
       [] {
         var_cfg.spreading__y_n = 0;
         var_currwindwave.hwavec.fill(0.0);
       },
       {"evaporacionhns(1)", "dissolve_3d(1)", "settling(1)", "volatilize(1)", "degrade(1)", "evaluo_hns(1)"}, 0.0},
      {"wave fields from files: the height in use is 0",
       [] {
         var_cfg.spreading__y_n = 0;
         var_cfg.wavestype__file_constant = 1;
         var_currwindwave.hwavec.fill(0.0);
       },
       {"evaporacionhns(1)", "dissolve_3d(1)", "settling(1)", "volatilize(1)", "degrade(1)", "evaluo_hns(1)"}, 0.0},
      {"entrainment off",
       [] {
         var_cfg.spreading__y_n = 0;
         var_cfg.entrainment(1) = 0;
       },
       {"evaporacionhns(1)", "dissolve_3d(1)", "settling(1)", "volatilize(1)", "degrade(1)", "evaluo_hns(1)"}, 0.0},
      {"dissolution off, sedimentation on: no settling",
       [] {
         var_cfg.spreading__y_n = 0;
         var_cfg.dissolution(1) = 0;
       },
       {"evaporacionhns(1)", "verticaldispersion_hns(1)", "entrainedparticlesredistribution_hns3d(1)",
        "volatilize(1)", "degrade(1)", "evaluo_hns(1)"},
       9.0},
      {"volatilisation waits for dissolved mass", [] { var_cfg.spreading__y_n = 0; },
       {"evaporacionhns(1)", "verticaldispersion_hns(1)", "entrainedparticlesredistribution_hns3d(1)",
        "dissolve_3d(1)", "settling(1)", "degrade(1)", "evaluo_hns(1)"},
       9.0, 0.0f},
      {"spill wholly on land: no property update",
       [] {
         var_cfg.spreading__y_n = 0;
         var_cfg.flag_tierra(1) = 1;
       },
       {"evaporacionhns(1)", "verticaldispersion_hns(1)", "entrainedparticlesredistribution_hns3d(1)",
        "dissolve_3d(1)", "settling(1)", "volatilize(1)", "degrade(1)"},
       9.0},
      {"weathering off", [] { var_cfg.degrado = 0; }, {}, 9.0},
      {"probabilistic run", [] { var_run.simtype__operat_probabil = 2; }, {}, 9.0},
  };
  for (const auto& c : cases) {
    fate_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    c.change();
    hns3d_calls rec;
    rec.hook = [&](const std::string& routine, int32_t s) {
      if (routine == "update_par") {
        var4.mass_surf(s) = 1.0;
        var4.massdisp(s) = 9.0;
        var4.mass_diss_cumul(s) = c.dissolved;
      }
    };
    EXPECT_EQ(run_engine(rec, fate_calls), c.calls) << c.what;
    EXPECT_EQ(var4.massdisp(1), c.massdisp) << c.what;
  }
}

TEST(Hns3d, EvaporationOffClearsTheStepsEvaporation) {
  fate_run();
  var_cfg.evaporo(1) = 0;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
  hns3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "update_par") var4.diff_evp(s) = 5.0;
  };
  EXPECT_EQ(run_engine(rec, {"evaporacionhns"}), strings{});
  EXPECT_EQ(var4.diff_evp(1), 0.0);
}

// A chemical released at depth has no slick; the first mass that comes up
// forms one at the minimum thickness, and that step's evaporation acts over
// it: 2 kg of 800 kg/m3 at 1 mm is 2 / 800 / 0.001 = 2.5 m2, not the 100 m2
// of the release's set-up.  The slick's area is also the area of its
// surface particles.
TEST(Hns3d, ASlickFormedBySurfacingMassEvaporatesOverItsOwnArea) {
  class area_calls : public hns3d_calls {
   public:
    std::vector<double> passed, particles;
    void evaporacionhns(int32_t spill, farray<double, 1>& slick_area) override {
      passed.push_back(slick_area(spill));
      particles.push_back(var4.areaparticlesurftotal(spill));
      hns3d_calls::evaporacionhns(spill, slick_area);
    }
  };
  fate_run();
  var_cfg.spillposition_z(1) = 50.0;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
  area_calls rec;
  rec.hook = [&](const std::string& routine, int32_t s) {
    if (routine == "update_par") {
      var4.mass_surf(s) = 2.0;
      var4.dens(s) = 800.0;
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(rec.passed, std::vector<double>{2.5});
  EXPECT_EQ(rec.particles, std::vector<double>{2.5});
}

TEST(Hns3d, EmptySurfaceStopsTheEntrainmentOfTheStep) {
  // Evaporation takes the last surface mass in step 1.  On the dispersed
  // path the surface is then exhausted and nothing is entrained in that
  // step; the next pass finds particles at the surface again and
  // entrainment resumes.  On the spreading path the flag is not set by
  // evaporation.  A pass that finds no particle at the surface (all in the
  // column) also stops it.
  struct empty_case {
    const char* what;
    int32_t spreading;
    bool all_in_column;
    strings calls;
  };
  const empty_case cases[] = {
      {"dispersed path", 0, false, {"1:evaporacionhns(1)", "2:evaporacionhns(1)", "2:verticaldispersion_hns(1)"}},
      {"spreading path", 1, false,
       {"1:evaporacionhns(1)", "1:verticaldispersion_hns(1)", "2:evaporacionhns(1)", "2:verticaldispersion_hns(1)"}},
      {"no particle at the surface in the pass", 0, true, {"1:evaporacionhns(1)", "2:evaporacionhns(1)"}},
  };
  for (const auto& c : cases) {
    fate_run();
    var_cfg.spreading__y_n = c.spreading;
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
    hns3d_calls rec;
    std::vector<int32_t> flags;
    rec.hook = [&](const std::string& routine, int32_t s) {
      if (routine == "getparthnsinitialstate3d" && c.all_in_column) {
        for (int32_t p = 1; p <= 3; ++p) var_part.indp(p, s == 0 ? 1 : s) = 5;
      }
      if (routine == "update_par") var4.mass_surf(s) = 1.0;
      if (routine == "evaporacionhns") {
        if (rec.frame->step == 1) var4.mass_surf(s) = 0.0;
      }
      if (routine == "evaluo_hns") flags.push_back(rec.frame->surface_exhausted(s));
    };
    EXPECT_EQ(run_engine(rec, {"evaporacionhns", "verticaldispersion_hns"}, true), c.calls) << c.what;
    const std::vector<int32_t> expected =
        c.all_in_column ? std::vector<int32_t>{1, 1} : std::vector<int32_t>{c.spreading == 0 ? 1 : 0, 0};
    EXPECT_EQ(flags, expected) << c.what;
  }
}

// Initial masses 11 .. 15 (surface, beached, column, floor, outside) and
// current masses 1 .. 5 with emulsion products 6, 7 and dispersed 8, marked
// per spill (+ 100 s); cumulatives 21 .. 24 (dissolved, volatilised,
// sedimented, degraded).
void initial_masses() {
  auto& m = var4;
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
    m.mass_surf_ini(s) = 11 + 100 * s;
    m.mass_beached_ini(s) = 12 + 100 * s;
    m.mass_column_ini(s) = 13 + 100 * s;
    m.mass_floor_ini(s) = 14 + 100 * s;
    m.mass_radar_ini(s) = 15 + 100 * s;
  }
}
void current_masses(int32_t s) {
  auto& m = var4;
  m.mass_surf(s) = 1 + 100 * s;
  m.mass_beached(s) = 2 + 100 * s;
  m.mass_column(s) = 3 + 100 * s;
  m.mass_floor(s) = 4 + 100 * s;
  m.mass_radar(s) = 5 + 100 * s;
  m.massprodemuls_surf(s) = 6 + 100 * s;
  m.massprodemuls_beach(s) = 7 + 100 * s;
  m.mass_disp_cumul(s) = 8 + 100 * s;
  m.mass_diss_cumul(s) = static_cast<float>(21 + 100 * s);
  m.mass_vol_cumul(s) = static_cast<float>(22 + 100 * s);
  m.mass_sed_cumul(s) = static_cast<float>(23 + 100 * s);
  m.mass_degr_cumul(s) = static_cast<float>(24 + 100 * s);
}

// The mass entries of record r of spill s: surface, beached, column, floor,
// outside, emulsion afloat and beached, dispersed, then the four HNS
// cumulatives.
std::vector<double> record(int32_t s, int32_t r) {
  const auto& m = var4;
  return {m.mass_surf_c(s, r),          m.mass_beachedc(s, r),         m.mass_columnc(s, r),
          m.mass_floorc(s, r),          m.mass_radarc(s, r),           m.massprodemuls_surf_c(s, r),
          m.massprodemuls_beach_c(s, r), m.mass_disp_cumul_c(s, r),    m.mass_diss_cumul_c(s, r),
          m.mass_vol_cumul_c(s, r),     m.mass_sed_cumul_c(s, r),      m.mass_degr_cumul_c(s, r)};
}

TEST(Hns3d, SeriesRecordsOfASpillStartingLater) {
  // Spill 1 from time 0, spill 2 from 1 h; hourly steps over 3 h.  Spill 2
  // is recorded at every step: from its placed centre, set-up area and
  // thickness and initial masses before its first fate sequence, with the
  // current outside mass and the cumulatives the set-up zeroed; then from
  // the current values.  The slick area of spill 1 grows at step 2 and is 0
  // at step 3: the area series keeps the last area known.
  fate_run(2);
  var_cfg.spillstarttime(2) = 3600.0;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  hns3d_calls rec;
  rec.hook = [&](const std::string& routine, int32_t s) {
    if (routine == "getparthnsproperties_3d") initial_masses();
    if (routine == "balance_vertido_tierra_hns_3d") current_masses(s);
    if (routine == "evaluo_hns" && s == 1) {
      const int32_t step = rec.frame->step;
      const_cast<engine_frame*>(rec.frame)->slick_area(1) =
          step == 2 ? 450.0 : step == 3 ? 0.0 : 300.0;
      var_cfg.thick(1) = 0.002 * step;
    }
  };
  const auto fates = run_engine(rec, {"evaporacionhns"}, true);
  EXPECT_EQ(fates, (strings{"1:evaporacionhns(1)", "2:evaporacionhns(1)", "2:evaporacionhns(2)",
                            "3:evaporacionhns(1)", "3:evaporacionhns(2)"}));
  const std::vector<double> before_start = {211, 212, 213, 214, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(record(2, 1), (std::vector<double>{211, 212, 213, 214, 215, 211, 212, 0, 0, 0, 0, 0}));
  EXPECT_EQ(record(2, 2), before_start);
  for (int32_t r : {3, 4}) {
    EXPECT_EQ(record(2, r), (std::vector<double>{201, 202, 203, 204, 205, 206, 207, 208, 221, 222, 223, 224})) << r;
  }
  EXPECT_EQ(record(1, 2), (std::vector<double>{101, 102, 103, 104, 105, 106, 107, 108, 121, 122, 123, 124}));
  // The centre of spill 2 is its placement's until it moves; its area and
  // thickness are the set-up's.
  for (int32_t r = 1; r <= 4; ++r) {
    EXPECT_EQ(var_part.xxc(2, r), var_part.xxc(2, 1)) << r;
    EXPECT_EQ(var_spill.areahnsa(2, r), 200.0f) << r;
    EXPECT_EQ(var_spill.thickhnst(2, r), 0.01f) << r;
  }
  EXPECT_EQ(var_part.xxc(2, 1), 351.0 + 0.2 + 0.001 + 0.5);
  EXPECT_EQ(var_spill.areahnsa(1, 1), 100.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 2), 300.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 3), 450.0f);
  EXPECT_EQ(var_spill.areahnsa(1, 4), 450.0f);
  EXPECT_EQ(var_spill.thickhnst(1, 2), static_cast<float>(0.002));
  EXPECT_EQ(var_spill.thickhnst(1, 4), static_cast<float>(0.006));
}

TEST(Hns3d, PropertyFilesOnlyWithWeatheringInAnOperationalRun) {
  struct file_case {
    const char* what;
    int32_t degrado, simtype, files;
    bool written;
  };
  const file_case cases[] = {
      {"weathering on", 1, 1, 1, true},
      {"weathering off", 0, 1, 1, false},
      {"files not asked for", 1, 1, 0, false},
      {"probabilistic run", 1, 2, 1, false},
  };
  for (const auto& c : cases) {
    hns3d_run();
    var_cfg.degrado = c.degrado;
    var_run.simtype__operat_probabil = c.simtype;
    var_run.outputpropierties__y_n = c.files;
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    hns3d_calls rec;
    EXPECT_EQ(run_engine(rec, {"esc_propiedades_fuel"}),
              c.written ? strings{"esc_propiedades_fuel(HNS3,2,2)"} : strings{})
        << c.what;
  }
}

}  // namespace
}  // namespace orvel
