// The oil 3-D engine on the recording double: its set-up with and without a
// blowout, the activity by release type, the chain after the passes, the
// weathering sequence, its suspension while nothing is afloat or beached and
// the water of oil that comes up, the compartment rows of the property
// series and the property files.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engines/fuel3d.hpp"
#include "fate/oil_weathering.hpp"
#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::recording_calls;
using testing::small_run;
using strings = std::vector<std::string>;

// The small run of the frame tests as three-dimensional oil with uniform
// current series, and the scenario arrays the engine reads.
void oil3d_run(int32_t spills = 1, int32_t particles = 3) {
  small_run(spills, particles);
  var_run.sim__2d_3d = 2;
  auto& c = var_cfg;
  for (auto* a : {&c.area0, &c.thick, &c.masa0, &c.spilledmass}) a->allocate(spills);
  for (auto* a : {&c.evaporo, &c.emulsiono, &c.flag_tierra}) a->allocate(spills);
  auto& s = var_spill;
  for (auto* a : {&s.maxemulsification, &s.density, &s.viscosity, &s.waterdensity}) a->allocate(spills);
  s.maxemulsification.fill(70.0f);
  s.density.fill(900.0f);
  s.viscosity.fill(300.0f);
  s.waterdensity.fill(1025.0f);
  for (auto* a : {&var_part.par_beached, &var_part.par_pause, &var_part.par_surf}) a->allocate(spills);
  auto& cw = var_currwindwave;
  for (auto* a : {&cw.w_curr_int, &cw.u_curr_intsup, &cw.v_curr_intsup, &cw.u_curr_intcol, &cw.v_curr_intcol}) {
    a->allocate(particles);
  }
  for (auto* a : {&cw.uadv_corrientes, &cw.vadv_corrientes, &cw.wadv_corrientes_y_float, &cw.uadv_viento_oleaje,
                  &cw.vadv_viento_oleaje, &cw.wadv}) {
    a->allocate(particles, spills);
  }
  var_mallas.factor = 111317.359375;
}

// Oil with every process on.
void weathering_run(int32_t spills = 1) {
  oil3d_run(spills);
  auto& c = var_cfg;
  c.degrado = 1;
  c.evaporo.fill(1);
  c.emulsiono.fill(1);
  c.verticaldispersion__y_n = 1;
}

// The recording double with placements: particles on a line at the surface
// (rectangle) or at 5 m in the water column (blowout), and the oil set-up's
// arrays.  `hook` runs after a recorded call and may change the state.
class oil3d_calls : public recording_calls {
 public:
  std::function<void(const std::string& routine, int32_t spill)> hook;

  void part_ini_2d(int32_t sim) override {
    recording_calls::part_ini_2d(sim);
    for (int32_t s = 1; s <= var_cfg.spills_number; ++s) place(s, 1);
    after("part_ini_2d", 0);
  }
  void part_ini_blowout(int32_t spill) override {
    recording_calls::part_ini_blowout(spill);
    place(spill, 5);
    var_spill.area_oil(spill) = 250.0f;
    after("part_ini_blowout", spill);
  }
  void part_pro() override {
    recording_calls::part_pro();
    const int32_t ns = var_cfg.spills_number;
    auto& m = var4;
    for (auto* a : {&m.dens, &m.visc, &m.per_evp, &m.agua, &m.diff_evp}) {
      if (!a->allocated()) a->allocate(ns);
    }
    after("part_pro", 0);
  }
  void update_par(int32_t spill, int32_t step) override {
    recording_calls::update_par(spill, step);
    after("update_par", spill);
  }
  void posicion_3d(int32_t spill, int32_t step) override {
    recording_calls::posicion_3d(spill, step);
    after("posicion_3d", spill);
  }
  void balance_vertido_tierra(int32_t spill) override {
    recording_calls::balance_vertido_tierra(spill);
    after("balance_vertido_tierra", spill);
  }
  void vel_adv_3d(int32_t spill, int32_t step) override {
    recording_calls::vel_adv_3d(spill, step);
    after("vel_adv_3d", spill);
  }
  void evaporacion(int32_t spill, farray<double, 1>& slick_area) override {
    recording_calls::evaporacion(spill, slick_area);
    after("evaporacion", spill);
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
      vp.z_part(p, s) = state == 5 ? 5.0 / var_mallas.factor : 0.0;
    }
    vp.x_cg(s) = vp.x_part(1, s);
    vp.y_cg(s) = vp.y_part(1, s);
  }
};

strings run_engine(oil3d_calls& rec, const std::set<std::string>& routines, bool with_step = false) {
  farray<coast_polygon> polygons;
  fuel3d_engine e(rec, "OIL3", polygons);
  rec.frame = &e;
  e.run();
  rec.frame = nullptr;
  return rec.of(routines, with_step);
}

const std::set<std::string> set_up_calls = {"part_ini_2d", "part_ini_blowout", "read_droplets", "part_pro",
                                            "dropletsizedistributionunified_li2017"};

TEST(Fuel3d, SetUpWithAndWithoutABlowout) {
  struct set_up_case {
    const char* what;
    int32_t blowout, degrado, simtype;
    strings calls;
  };
  const std::vector<set_up_case> cases = {
      {"rectangle, weathering on", 0, 1, 1,
       {"part_ini_2d(1)", "part_pro()", "dropletsizedistributionunified_li2017(1)",
        "dropletsizedistributionunified_li2017(2)"}},
      {"rectangle, no weathering", 0, 0, 1,
       {"part_ini_2d(1)", "dropletsizedistributionunified_li2017(1)", "dropletsizedistributionunified_li2017(2)"}},
      {"blowout, spill by spill, weathering on", 1, 1, 1,
       {"part_ini_blowout(1)", "read_droplets(1)", "part_ini_blowout(2)", "read_droplets(2)", "part_pro()"}},
      {"blowout, no weathering", 1, 0, 1,
       {"part_ini_blowout(1)", "read_droplets(1)", "part_ini_blowout(2)", "read_droplets(2)"}},
      {"probabilistic run: no oil set-up", 0, 1, 2,
       {"part_ini_2d(1)", "dropletsizedistributionunified_li2017(1)", "dropletsizedistributionunified_li2017(2)"}},
  };
  for (const auto& c : cases) {
    oil3d_run(2);
    var_run.blowout__y_n = c.blowout;
    var_cfg.degrado = c.degrado;
    var_run.simtype__operat_probabil = c.simtype;
    var_cfg.simulationtimehorizon = 0.0f;
    oil3d_calls rec;
    EXPECT_EQ(run_engine(rec, set_up_calls), c.calls) << c.what;
    // The droplet arrays of a run without blowout are the engine's.
    if (c.blowout == 0) {
      EXPECT_EQ(var_part.diam_part.size(1), 3) << c.what;
      EXPECT_EQ(var_part.w_float.size(2), 2) << c.what;
    }
  }
}

TEST(Fuel3d, BlowoutStartTimesAreConvertedInTheFirstSimulationOnly) {
  oil3d_run(2);
  var_run.blowout__y_n = 1;
  var_run.simnumber__1_n = 2;
  var_cfg.simulationtimehorizon = 0.0f;
  var_cfg.spillstarttime(1) = 0.5;
  var_cfg.spillstarttime(2) = 2.0;
  oil3d_calls rec;
  EXPECT_EQ(run_engine(rec, {"part_ini_blowout"}),
            (strings{"part_ini_blowout(1)", "part_ini_blowout(2)", "part_ini_blowout(1)", "part_ini_blowout(2)"}));
  EXPECT_EQ(var_cfg.spillstarttime(1), 1800.0);
  EXPECT_EQ(var_cfg.spillstarttime(2), 7200.0);
}

TEST(Fuel3d, SetUpGivesDefinedAreaThicknessAndProductProperties) {
  // Without the oil set-up (a floating object) density and viscosity are the
  // product's; the area series starts from the release rectangle, or from
  // the jet-end disc of a blowout, and the thickness series from 0.
  for (int32_t blowout : {0, 1}) {
    oil3d_run(2);
    var_cfg.obj__floating_fuel = var_cfg.obj__floating_fuel_hns = 1;
    var_run.blowout__y_n = blowout;
    var_cfg.simulationtimehorizon = 0.0f;
    var_cfg.area0(1) = 1000.0 * 1000.0;
    var_cfg.area0(2) = 0.1;  // not a single-precision number
    var_cfg.thick.fill(7.0);
    var_spill.viscosity(2) = 0.1f;
    oil3d_calls rec;
    run_engine(rec, {});
    EXPECT_EQ(var4.dens(1), 900.0);
    EXPECT_EQ(var4.visc(1), 300.0);
    EXPECT_EQ(var4.visc(2), static_cast<double>(0.1f));
    EXPECT_EQ(var_spill.areaoila(1, 1), blowout ? 250.0f : 1.0e6f);
    EXPECT_EQ(var_spill.areaoila(2, 1), blowout ? 250.0f : 0.1f);
    EXPECT_EQ(var_spill.thickoilt(1, 1), 0.0f);
    EXPECT_EQ(var_cfg.thick(2), 0.0);
  }
}

TEST(Fuel3d, ActivityByReleaseType) {
  // Spills starting at 0 and at 1 h, steps of 1800 s over 2 h: a spill is
  // moved from the first sub-step whose time is strictly after its start.
  struct activity_case {
    int32_t kind;
    strings moves;
  };
  const activity_case cases[] = {
      {1, {"1:posicion_3d(1,1)", "2:posicion_3d(1,2)", "3:posicion_3d(1,3)", "3:posicion_3d(2,3)",
           "4:posicion_3d(1,4)", "4:posicion_3d(2,4)"}},
      {2, {"1:posicion_3d(1,1)", "2:posicion_3d(1,2)", "3:posicion_3d(1,3)", "3:posicion_3d(2,3)",
           "4:posicion_3d(1,4)", "4:posicion_3d(2,4)"}},
      {3, {}},
  };
  for (const auto& c : cases) {
    oil3d_run(2);
    var_cfg.spill__instant_contin = c.kind;
    var_cfg.spillstarttime(2) = 3600.0;
    var_run.deltat = 1800.0f;
    var_cfg.simulationtimehorizon = 7200.0f;
    oil3d_calls rec;
    EXPECT_EQ(run_engine(rec, {"posicion_3d"}, true), c.moves) << "release type " << c.kind;
  }
}

const std::set<std::string> chain_calls = {"update_par",      "vel_adv_3d",        "rungek",
                                           "verticaldiffusionvelocity", "dispersion_2d", "posicion_3d",
                                           "evaporacion",     "verticaldispersion", "entrainedparticlesredistribution",
                                           "emulsion",        "balance_vertido_tierra", "balance_masa",
                                           "evaluo"};

TEST(Fuel3d, ChainAfterThePassesWithEulerAndRungeKutta) {
  for (int32_t method : {1, 2}) {
    weathering_run();
    var_run.numericalmethod__euler_rungekut = method;
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    oil3d_calls rec;
    strings expected;
    if (method == 1) {
      expected = {"update_par(1,1)", "vel_adv_3d(1,1)"};
    } else {
      // The states are updated in the first stage only: the stages move the
      // pass positions, not the particles.
      for (int stage = 1; stage <= 4; ++stage) {
        if (stage == 1) expected.push_back("update_par(1,1)");
        expected.push_back("vel_adv_3d(1,1)");
        expected.push_back("rungek(1," + std::to_string(stage) + ",0)");
      }
    }
    for (const char* s : {"verticaldiffusionvelocity(1,1)", "dispersion_2d(1)", "posicion_3d(1,1)", "evaporacion(1)",
                          "verticaldispersion(1)", "entrainedparticlesredistribution(1)", "balance_vertido_tierra(1)",
                          "emulsion(1)", "balance_masa(1)", "evaluo(1)"}) {
      expected.push_back(s);
    }
    EXPECT_EQ(run_engine(rec, chain_calls), expected) << "method " << method;
  }
}

const std::set<std::string> fate_calls = {"evaporacion",  "verticaldispersion",     "entrainedparticlesredistribution",
                                          "emulsion",     "balance_vertido_tierra", "balance_masa",
                                          "evaluo"};

TEST(Fuel3d, WeatheringSwitchesAndTheRedistributionWhateverTheDispersion) {
  struct switch_case {
    const char* what;
    std::function<void()> change;
    strings calls;
  };
  const std::vector<switch_case> cases = {
      {"no natural dispersion: the redistribution still runs", [] { var_cfg.verticaldispersion__y_n = 0; },
       {"evaporacion(1)", "entrainedparticlesredistribution(1)", "balance_vertido_tierra(1)", "emulsion(1)",
        "balance_masa(1)", "evaluo(1)"}},
      {"evaporation and emulsification off",
       [] {
         var_cfg.evaporo(1) = 0;
         var_cfg.emulsiono(1) = 0;
       },
       {"verticaldispersion(1)", "entrainedparticlesredistribution(1)", "balance_vertido_tierra(1)",
        "balance_masa(1)", "evaluo(1)"}},
      {"maximum water content 0", [] { var_spill.maxemulsification(1) = 0.0f; },
       {"evaporacion(1)", "verticaldispersion(1)", "entrainedparticlesredistribution(1)",
        "balance_vertido_tierra(1)", "balance_masa(1)", "evaluo(1)"}},
      {"spill wholly on land", [] { var_cfg.flag_tierra(1) = 1; },
       {"evaporacion(1)", "verticaldispersion(1)", "entrainedparticlesredistribution(1)", "balance_vertido_tierra(1)",
        "emulsion(1)", "balance_masa(1)"}},
      {"no weathering", [] { var_cfg.degrado = 0; }, {}},
      {"probabilistic run", [] { var_run.simtype__operat_probabil = 2; }, {}},
  };
  for (const auto& c : cases) {
    weathering_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    c.change();
    oil3d_calls rec;
    EXPECT_EQ(run_engine(rec, fate_calls), c.calls) << c.what;
  }
}

TEST(Fuel3d, WeatheringIsSuspendedOnlyWhileNothingIsAfloatOrBeached) {
  // Hourly steps over 5 h.  The position update leaves the three particles
  // all in the column in step 1; one afloat, one in the column and one on
  // the floor in step 2; one beached and two on the floor in step 3; all on
  // the floor in step 4; one outside the grid and two in the column in step
  // 5; all outside the grid in step 6.  The suspended steps (1, 4, 5) zero
  // the water content, the evaporated fraction and the dispersed mass of the
  // step and run only the balances and the property update; the others
  // weather the oil afloat (steps 2 and 6 without dispersion: their pass,
  // before the move, found nothing afloat).  Oil that is all lost has
  // nothing below to wait for: its slick keeps its water.
  weathering_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 6.0f * 3600.0f;
  const std::vector<std::vector<int32_t>> states = {{5, 5, 5},    {1, 5, -1}, {0, -1, -1},
                                                    {-1, -1, -1}, {-2, 5, 5}, {-2, -2, -2}};
  const std::vector<bool> suspended = {true, false, false, true, true, false};
  oil3d_calls rec;
  std::vector<int32_t> weathered;
  rec.hook = [&](const std::string& routine, int32_t s) {
    const int32_t step = rec.frame ? rec.frame->step : 0;
    if (routine == "posicion_3d") {
      for (int32_t p = 1; p <= 3; ++p) var_part.indp(p, s) = states[static_cast<std::size_t>(step - 1)][static_cast<std::size_t>(p - 1)];
      var4.agua(s) = 0.5;
      var4.diff_evp(s) = 0.25;
      var4.massdisp(s) = 9.0;
    }
    if (routine == "balance_vertido_tierra") {
      const bool held = suspended[static_cast<std::size_t>(step - 1)];
      EXPECT_EQ(var4.agua(s) == 0.0, held) << step;
      EXPECT_EQ(var4.diff_evp(s) == 0.0, held) << step;
      EXPECT_EQ(var4.massdisp(s) == 0.0, held || step == 2 || step == 6) << step;
      weathered.push_back(rec.frame->weathered_now(s));
    }
  };
  const strings full = {"evaporacion(1)", "verticaldispersion(1)", "entrainedparticlesredistribution(1)",
                        "balance_vertido_tierra(1)", "emulsion(1)", "balance_masa(1)", "evaluo(1)"};
  const strings held = {"balance_vertido_tierra(1)", "balance_masa(1)", "evaluo(1)"};
  strings expected;
  for (int32_t step = 1; step <= 6; ++step) {
    for (const auto& c : suspended[static_cast<std::size_t>(step - 1)] ? held : full) {
      if ((step == 2 || step == 6) && c == "verticaldispersion(1)") continue;
      expected.push_back(std::to_string(step) + ":" + c);
    }
  }
  EXPECT_EQ(run_engine(rec, fate_calls, true), expected);
  // Once weathered, the spill records its current masses.
  EXPECT_EQ(weathered, (std::vector<int32_t>{0, 1, 1, 1, 1, 1}));
}

TEST(Fuel3d, OilThatComesUpBringsNoWater) {
  // Before the step 40 kg are below the surface and the slick's emulsion
  // holds half water; the balance then finds 100 kg afloat, nothing below:
  // 60 kg of the slick carried 60 kg of water, which now emulsify 100 kg of
  // oil, 60 / 160 = 0.375.  Oil that comes up to no slick starts dry; a step
  // in which nothing comes up (or oil goes down) leaves the water content.
  // Oil that settles from the column on the floor has not come up; oil
  // that leaves the floor for the surface has: 10 kg of it join 30 kg that
  // carried 30 kg of water, 30 / 70 = 0.4285714.
  struct water_case {
    const char* what;
    double below_before, surf_after, below_after;
    float y, want;
    double floor_before = 0.0, floor_after = 0.0;
  };
  const water_case cases[] = {
      {"40 kg join 60 kg", 40.0, 100.0, 0.0, 0.5f, 0.375f},
      {"10 kg join 30 kg, 5 kg still below", 15.0, 40.0, 5.0, 0.6f, 0.5294118f},  // 45 / (45 + 40)
      {"up to no slick", 40.0, 40.0, 0.0, 0.7f, 0.0f},
      {"nothing comes up", 40.0, 60.0, 40.0, 0.5f, 0.5f},
      {"oil goes down", 40.0, 50.0, 50.0, 0.5f, 0.5f},
      {"all water", 40.0, 100.0, 0.0, 1.0f, 1.0f},
      {"20 kg settle on the floor", 40.0, 60.0, 20.0, 0.5f, 0.5f, 0.0, 20.0},
      {"10 kg come up from the floor", 0.0, 40.0, 0.0, 0.5f, 0.4285714f, 30.0, 20.0},
  };
  for (const auto& c : cases) {
    weathering_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    oil3d_calls rec;
    rec.hook = [&](const std::string& routine, int32_t s) {
      if (routine == "posicion_3d") {
        for (int32_t p = 1; p <= 3; ++p) var_part.indp(p, s) = p == 1 ? 1 : 5;
        var4.mass_column(s) = c.below_before;
        var4.mass_floor(s) = c.floor_before;
        var4.aguatot(s) = c.y;
        var4.agua(s) = static_cast<double>(c.y);
      }
      if (routine == "balance_vertido_tierra") {
        var4.mass_surf(s) = c.surf_after;
        var4.mass_column(s) = c.below_after;
        var4.mass_floor(s) = c.floor_after;
      }
    };
    run_engine(rec, fate_calls);
    EXPECT_FLOAT_EQ(var4.aguatot(1), c.want) << c.what;
    EXPECT_EQ(var4.agua(1), static_cast<double>(var4.aguatot(1))) << c.what;
  }
}

TEST(Fuel3d, DropletsBelowRiseWithTheDensityOfTheOilAsItWasWhenTheSlickBeganToWeather) {
  // Hourly steps over 4 h; particle 1 afloat, 2 and 3 in the column until
  // the move of step 3 brings them up.  The oil's density is 850 kg/m3 at
  // the set-up; each step's weathering makes the slick denser (910, 920,
  // ...).  The droplets' velocities take 850 while some are below (steps 2
  // and 3, after the weathering began in step 1), the slick's density once
  // none is (step 4), and the slick keeps its own density throughout.
  weathering_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  oil3d_calls rec;
  std::vector<double> rising, slick;
  rec.hook = [&](const std::string& routine, int32_t s) {
    const int32_t step = rec.frame ? rec.frame->step : 0;
    if (routine == "part_pro") var4.dens.fill(850.0);
    if (routine == "posicion_3d") {
      for (int32_t p = 2; p <= 3; ++p) var_part.indp(p, s) = step < 3 ? 5 : 1;
    }
    if (routine == "vel_adv_3d") rising.push_back(var4.dens(s));
    if (routine == "balance_vertido_tierra") {
      slick.push_back(var4.dens(s));
      var4.dens(s) = 900.0 + 10.0 * step;
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(rising, (std::vector<double>{850.0, 850.0, 850.0, 930.0}));
  EXPECT_EQ(slick, (std::vector<double>{850.0, 910.0, 920.0, 930.0}));
}

TEST(Fuel3d, ARefusalWhileDropletsRiseLeavesTheSlickItsOwnDensity) {
  // As above, but the velocities of step 2 throw (a forcing refused
  // mid-run): the slick's density is 910 kg/m3 after step 1 and must still
  // be 910 after the throw, not the droplets' 850.
  weathering_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  oil3d_calls rec;
  std::vector<double> rising;
  rec.hook = [&](const std::string& routine, int32_t s) {
    const int32_t step = rec.frame ? rec.frame->step : 0;
    if (routine == "part_pro") var4.dens.fill(850.0);
    if (routine == "posicion_3d") {
      for (int32_t p = 2; p <= 3; ++p) var_part.indp(p, s) = 5;
    }
    if (routine == "vel_adv_3d") {
      rising.push_back(var4.dens(s));
      if (step == 2) throw std::runtime_error("refused");
    }
    if (routine == "balance_vertido_tierra") var4.dens(s) = 900.0 + 10.0 * step;
  };
  EXPECT_THROW(run_engine(rec, {}), std::runtime_error);
  EXPECT_EQ(rising, (std::vector<double>{850.0, 850.0}));
  EXPECT_EQ(var4.dens(1), 910.0);
}

TEST(Fuel3d, ThePulsesAfloatShareTheRectangleByTheirFloatingMassAtTheStartOfTheStep) {
  // Three pulses of a continuous release started at 0, 1 and 2 h, hourly
  // steps, a rectangle of 1000 m2.  The balance of each step leaves the
  // floating masses of the table; each pulse of the next step weathers over
  // the rectangle times its share of what floats, and the shares of the
  // started pulses cover the rectangle once.  Nothing afloat yet (step 1):
  // the started pulses share it equally.
  weathering_run(3);
  var_cfg.spill__instant_contin = 2;
  var_cfg.area0.fill(1000.0);
  for (int32_t s = 1; s <= 3; ++s) var_cfg.spillstarttime(s) = 3600.0 * (s - 1);
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 4.0f * 3600.0f;
  const double afloat[4][3] = {{400.0, 0.0, 0.0}, {300.0, 100.0, 0.0}, {200.0, 200.0, 400.0}, {0.0, 0.0, 0.0}};
  const double expected[4][3] = {{1000.0, 0.0, 0.0}, {1000.0, 0.0, 0.0}, {750.0, 250.0, 0.0}, {250.0, 250.0, 500.0}};
  double seen[4][3] = {};
  oil3d_calls rec;
  rec.hook = [&](const std::string& routine, int32_t s) {
    const int32_t step = rec.frame ? rec.frame->step : 0;
    if (step < 1 || step > 4) return;
    if (routine == "evaporacion") seen[step - 1][s - 1] = rectangle_area(s);
    if (routine == "balance_vertido_tierra") var4.mass_surf(s) = afloat[step - 1][s - 1];
  };
  run_engine(rec, {});
  for (int k = 0; k < 4; ++k) {
    double sum = 0.0;
    for (int s = 0; s < 3; ++s) {
      EXPECT_NEAR(seen[k][s], expected[k][s], 1e-9) << "step " << k + 1 << ", pulse " << s + 1;
      sum += seen[k][s];
    }
    EXPECT_NEAR(sum, 1000.0, 1e-9) << "step " << k + 1;
  }
}

TEST(Fuel3d, AVanishedSlickPrintsNoArea) {
  // Hourly steps over 3 h, the release rectangle 250 m2.  The balance of
  // each step leaves the floating mass of the case; a slick that had oil
  // afloat, at its release or after a step, and has none left prints an
  // area of 0 from then on; one that has not come up yet keeps the area.
  struct gone_case {
    const char* what;
    double afloat_at_release;
    std::vector<double> afloat;  // after steps 1, 2, 3
    std::vector<float> area;     // records 2, 3, 4
  };
  const gone_case cases[] = {
      {"afloat at the release, gone in the first step", 10.0, {0.0, 0.0, 0.0}, {0.0f, 0.0f, 0.0f}},
      {"afloat after the first step, gone in the second", 0.0, {5.0, 0.0, 0.0}, {250.0f, 0.0f, 0.0f}},
      {"not come up before the third step", 0.0, {0.0, 0.0, 5.0}, {250.0f, 250.0f, 250.0f}},
  };
  for (const auto& c : cases) {
    weathering_run();
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
    var_cfg.area0(1) = 250.0;
    oil3d_calls rec;
    rec.hook = [&](const std::string& routine, int32_t s) {
      if (routine == "part_pro") var4.mass_surf_ini.fill(c.afloat_at_release);
      if (routine == "balance_vertido_tierra") {
        var4.mass_surf(s) = c.afloat[static_cast<std::size_t>(rec.frame->step - 1)];
      }
    };
    run_engine(rec, {});
    for (int32_t r = 2; r <= 4; ++r) {
      EXPECT_EQ(var_spill.areaoila(1, r), c.area[static_cast<std::size_t>(r - 2)]) << c.what << ", record " << r;
      EXPECT_EQ(var_spill.thickoilt(1, r), 0.0f) << c.what << ", record " << r;
    }
  }
}

TEST(Fuel3d, SurfaceFlagOfThePassDecidesTheNaturalDispersion) {
  // Every particle beached after step 1: the sequence is not suspended,
  // evaporation runs, the pass of step 2 finds no particle at the surface
  // and the dispersed mass of the step is 0 without a dispersion call.
  weathering_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "posicion_3d") {
      for (int32_t p = 1; p <= 3; ++p) var_part.indp(p, s) = 0;
    }
    if (routine == "update_par") var4.massdisp(s) = 9.0;
  };
  EXPECT_EQ(run_engine(rec, {"evaporacion", "verticaldispersion"}, true),
            (strings{"1:evaporacion(1)", "1:verticaldispersion(1)", "2:evaporacion(1)"}));
  EXPECT_EQ(var4.massdisp(1), 0.0);
}

// Current masses 1 .. 7 and initial masses 11 .. 15 (surface, beached,
// column, floor, outside), marked per spill (+ 100 s).
void current_masses(int32_t s) {
  auto& m = var4;
  m.mass_surf(s) = 1 + 100 * s;
  m.mass_beached(s) = 2 + 100 * s;
  m.mass_column(s) = 3 + 100 * s;
  m.mass_floor(s) = 4 + 100 * s;
  m.massprodemuls_surf(s) = 5 + 100 * s;
  m.massprodemuls_beach(s) = 6 + 100 * s;
  m.mass_disp_cumul(s) = 7 + 100 * s;
  m.mass_radar(s) = 8 + 100 * s;
}
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

// The compartment entries of record r of spill s: surface, beached, column,
// floor, emulsion afloat, emulsion beached, dispersed, outside.
std::vector<double> record(int32_t s, int32_t r) {
  const auto& m = var4;
  return {m.mass_surf_c(s, r),          m.mass_beachedc(s, r),         m.mass_columnc(s, r),
          m.mass_floorc(s, r),          m.massprodemuls_surf_c(s, r),  m.massprodemuls_beach_c(s, r),
          m.mass_disp_cumul_c(s, r),    m.mass_radarc(s, r)};
}

TEST(Fuel3d, CompartmentRowsOfASpillThatHasNotWeathered) {
  // An instantaneous blowout spill suspended for the whole run (its
  // particles stay in the column): the records take the current surface,
  // beached, column and outside masses, the current floor mass once the
  // spill has been active, and the initial emulsion masses with nothing
  // dispersed.
  weathering_run();
  var_run.blowout__y_n = 1;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "part_pro") initial_masses();
    if (routine == "balance_vertido_tierra") current_masses(s);
  };
  run_engine(rec, {});
  EXPECT_EQ(record(1, 1), (std::vector<double>{111, 112, 113, 114, 111, 112, 0, 115}));
  for (int32_t r : {2, 3}) {
    EXPECT_EQ(record(1, r), (std::vector<double>{101, 102, 103, 104, 111, 112, 0, 108})) << r;
  }
}

TEST(Fuel3d, CompartmentRowsOfPulsesAnHourApart) {
  // Two pulses starting at 0 and 3600 s, 600 s steps, 2 h; every particle
  // in the column, so no pulse weathers.  Pulse 2 is not moved in the
  // sub-step ending at 3600 s: record 7 (3600 s) holds its initial budgets;
  // it moves from the sub-step ending at 4200 s (step 7, record 8) on.
  // Records before its start are not written.
  weathering_run(2);
  var_cfg.spill__instant_contin = 2;
  var_run.blowout__y_n = 1;
  var_run.deltat = 600.0f;
  var_cfg.simulationtimehorizon = 7200.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "part_pro") {
      initial_masses();
      for (auto* a : {&var4.mass_surf_c, &var4.mass_beachedc, &var4.mass_floorc}) a->fill(-1.0);
    }
    if (routine == "balance_vertido_tierra") current_masses(s);
  };
  // The blowout placement converts hours: give the second start in hours.
  var_cfg.spillstarttime(2) = 1.0;
  const auto moves = run_engine(rec, {"posicion_3d"}, true);
  EXPECT_EQ(moves.at(6), "7:posicion_3d(1,7)");
  EXPECT_EQ(moves.at(7), "7:posicion_3d(2,7)");
  EXPECT_EQ(moves.size(), 12u + 6u);
  for (int32_t r = 2; r <= 6; ++r) EXPECT_EQ(var4.mass_surf_c(2, r), -1.0) << r;
  // The outside mass is the current one in every row: 0 before the pulse's
  // first balance.
  EXPECT_EQ(record(2, 7), (std::vector<double>{211, 212, 213, 214, 211, 212, 0, 0}));
  for (int32_t r = 8; r <= 13; ++r) {
    EXPECT_EQ(record(2, r), (std::vector<double>{201, 202, 203, 204, 211, 212, 0, 208})) << r;
  }
  // Pulse 1, active from the first sub-step.
  EXPECT_EQ(record(1, 2), (std::vector<double>{101, 102, 103, 104, 111, 112, 0, 108}));
}

TEST(Fuel3d, FloorMassOfAnInstantaneousSpillBeforeItsStart) {
  // A spill starting at 1 h keeps its initial floor mass in the records of
  // the steps before it has moved, and takes the current one from then on.
  weathering_run();
  var_run.blowout__y_n = 1;
  var_cfg.spillstarttime(1) = 1.0;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3.0f * 3600.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "part_pro") {
      initial_masses();
      current_masses(1);
    }
    if (routine == "balance_vertido_tierra") var4.mass_floor(s) = 50.0;
  };
  run_engine(rec, {});
  EXPECT_EQ(var4.mass_floorc(1, 2), 114.0);  // 3600 s: not yet moved
  EXPECT_EQ(var4.mass_floorc(1, 3), 50.0);
  EXPECT_EQ(var4.mass_floorc(1, 4), 50.0);
}

TEST(Fuel3d, WeatheredSpillRecordsEveryCurrentMass) {
  weathering_run();
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 3600.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t s) {
    if (routine == "part_pro") initial_masses();
    if (routine == "balance_vertido_tierra") current_masses(s);
  };
  run_engine(rec, {});
  EXPECT_EQ(record(1, 2), (std::vector<double>{101, 102, 103, 104, 105, 106, 107, 108}));
}

TEST(Fuel3d, ReleaseTypeThatNeverStartsWritesNoCompartmentRecordAfterTheFirst) {
  weathering_run();
  var_cfg.spill__instant_contin = 3;
  var_run.deltat = 3600.0f;
  var_cfg.simulationtimehorizon = 2.0f * 3600.0f;
  oil3d_calls rec;
  rec.hook = [](const std::string& routine, int32_t) {
    if (routine == "part_pro") {
      initial_masses();
      var4.mass_surf_c.fill(-1.0);
    }
  };
  run_engine(rec, {});
  EXPECT_EQ(var4.mass_surf_c(1, 1), 111.0);
  EXPECT_EQ(var4.mass_surf_c(1, 2), -1.0);
  EXPECT_EQ(var4.mass_surf_c(1, 3), -1.0);
  // The centre stays where it was placed.
  EXPECT_EQ(var_part.xxc(1, 3), var_part.xxc(1, 1));
}

TEST(Fuel3d, PropertyFilesOnlyForOilThatWeathers) {
  struct file_case {
    const char* what;
    int32_t obj, degrado;
    bool file;
  };
  const file_case cases[] = {
      {"oil that weathers", 2, 1, true},
      {"oil without weathering", 2, 0, false},
      {"floating object", 1, 0, false},
  };
  for (const auto& c : cases) {
    oil3d_run();
    var_cfg.obj__floating_fuel = var_cfg.obj__floating_fuel_hns = c.obj;
    var_cfg.degrado = c.degrado;
    var_run.outputpropierties__y_n = 1;
    var_run.deltat = 3600.0f;
    var_cfg.simulationtimehorizon = 3600.0f;
    oil3d_calls rec;
    EXPECT_EQ(run_engine(rec, {"esc_propiedades_fuel"}),
              c.file ? strings{"esc_propiedades_fuel(OIL3,2,2)"} : strings{})
        << c.what;
  }
}

}  // namespace
}  // namespace orvel
