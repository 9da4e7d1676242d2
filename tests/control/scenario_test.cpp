// The scenario reader: where every item lands, the repeated records, the
// reading rules and the errors.
#include "control/scenario.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/memory_estimate.hpp"
#include "control/state/all.hpp"
#include "tests/control/scenario_text.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::base_scenario;
using testing::read_file;
using testing::scenario_text;
using testing::spill_line;
using testing::write_file;

const std::string fixtures = ORVEL_FIXTURES;

// Calls f on every per-spill array that the scenario reader creates with
// spills_number elements.
template <typename F>
void for_each_spill_array(F f) {
  auto& c = var_cfg;
  auto& s = var_spill;
  auto& p = var_part;
  f(c.spillstarttime), f(c.spilledmass), f(c.spillposition_x), f(c.spillposition_y);
  f(c.spillposition_z), f(c.spillsize_sidex), f(c.spillsize_sidey), f(c.spillthickness);
  f(c.minspillthickness), f(c.spillvolume), f(c.masa0), f(c.vol0), f(c.area0);
  f(c.evaporo), f(c.emulsiono), f(c.entrainment), f(c.dissolution), f(c.volatilization);
  f(c.sedimentation), f(c.degradation), f(c.flag_tierra), f(c.flag_air);
  f(c.currentcoeff), f(c.dragcoeff_a), f(c.dragcoeff_b), f(c.wavescoeff), f(c.turbdiffusion__y_n);
  f(c.diffusioncoeff_kh), f(c.diffusioncoeff_kz), f(c.riverfreesurfaceslope);
  f(s.oiltype__crude0_refined1), f(s.density), f(s.densityreferencetemperature), f(s.viscosity);
  f(s.viscosityreferencetemperature), f(s.watersolubility), f(s.solubilityreferencetemperature);
  f(s.vaporpressure), f(s.vaporpressurereferencetemperature), f(s.hnsmolweight);
  f(s.hnsorganic__y_n), f(s.maxevaporation), f(s.minevaporation), f(s.maxemulsification);
  f(s.waterdensity), f(s.watertemperature), f(s.airtemperature), f(s.sedimentsconcentration);
  f(s.logkow), f(s.degradation_rate), f(s.area_maxima), f(s.t0), f(s.tg), f(s.api), f(s.densr0);
  f(s.deltarho), f(s.viscosity15), f(s.c6);
  f(p.par_beached), f(p.par_air), f(p.par_floor), f(p.par_surf), f(p.par_column), f(p.par_pause);
  f(p.par_surf_ini);
}

void expect_extents(int32_t n) {
  for_each_spill_array([&](const auto& a) {
    EXPECT_TRUE(a.allocated()) << a.name();
    EXPECT_EQ(a.size(), n) << a.name();
  });
}

// Values of the sentinel spill line s (items 19000 + 100 s + i) in element k:
// everything but the start time, mass and volume, which pulses share out.
void expect_sentinel_spill(int32_t k, int32_t s) {
  SCOPED_TRACE("element " + std::to_string(k) + ", spill line " + std::to_string(s));
  const auto& c = var_cfg;
  const auto& v = var_spill;
  const int32_t b = 19000 + 100 * s;
  EXPECT_EQ(c.spillposition_x(k), b + 4);
  EXPECT_EQ(c.spillposition_y(k), b + 5);
  EXPECT_EQ(c.spillposition_z(k), b + 6);  // a 3-D run keeps the depth
  EXPECT_EQ(c.spillsize_sidex(k), b + 7);
  EXPECT_EQ(c.spillsize_sidey(k), b + 8);
  EXPECT_EQ(c.spillthickness(k), b + 9);
  EXPECT_EQ(c.minspillthickness(k), b + 10);
  EXPECT_EQ(v.oiltype__crude0_refined1(k), b + 12);
  EXPECT_EQ(v.watersolubility(k), b + 17);
  EXPECT_EQ(v.solubilityreferencetemperature(k), b + 18);
  EXPECT_EQ(v.vaporpressure(k), b + 19);
  EXPECT_EQ(v.vaporpressurereferencetemperature(k), b + 20);
  EXPECT_EQ(v.hnsmolweight(k), b + 21);
  EXPECT_EQ(v.hnsorganic__y_n(k), b + 22);
  EXPECT_EQ(v.maxevaporation(k), b + 23);
  EXPECT_EQ(v.minevaporation(k), static_cast<float>(b + 24) / 100.0f);
  EXPECT_EQ(v.maxemulsification(k), b + 25);
  EXPECT_EQ(v.waterdensity(k), b + 26);
  // Temperatures in kelvin; both reference temperatures become the water's.
  const float tw = static_cast<float>(b + 27) + 273.0f;
  EXPECT_EQ(v.watertemperature(k), tw);
  EXPECT_EQ(v.airtemperature(k), static_cast<float>(b + 28) + 273.0f);
  EXPECT_EQ(v.densityreferencetemperature(k), tw);
  EXPECT_EQ(v.viscosityreferencetemperature(k), tw);
  // Items 13 to 16 through the quantities derived from them.
  const float density = static_cast<float>(b + 13);
  const float tdref = static_cast<float>(b + 14) + 273.0f;
  const float viscosity = static_cast<float>(b + 15);
  const float tvref = static_cast<float>(b + 16) + 273.0f;
  EXPECT_EQ(v.densr0(k), density / 999.0f);
  EXPECT_EQ(v.density(k), density * (1.0f - 0.0008f * (tw - tdref)));
  EXPECT_EQ(v.viscosity15(k), viscosity * std::exp(5000.0f * (1.0f / 288.0f - 1.0f / tvref)));
  EXPECT_EQ(v.viscosity(k), viscosity * std::exp(5000.0f * (1.0f / tw - 1.0f / tvref)));
  // Item 12 is not 0: the boiling-point curve of a refined product.
  EXPECT_EQ(v.t0(k), 654.45f - 4.6588f * v.api(k));
  // The volume (of the line, or of the pulse) at the minimum thickness.
  EXPECT_EQ(v.area_maxima(k), static_cast<float>(c.spillvolume(k) / double(b + 10)));
  EXPECT_EQ(c.area0(k), double(b + 7) * double(b + 8));
  // Process switches other than 1 leave every flag off.
  for (const auto* f : {&c.evaporo, &c.emulsiono, &c.entrainment, &c.dissolution, &c.volatilization,
                        &c.sedimentation, &c.degradation, &c.flag_tierra, &c.flag_air}) {
    EXPECT_EQ((*f)(k), 0) << f->name();
  }
  const int32_t sb = 20000 + 100 * s;
  EXPECT_EQ(v.sedimentsconcentration(k), sb + 1);
  EXPECT_EQ(v.logkow(k), sb + 2);
  EXPECT_EQ(v.degradation_rate(k), sb + 3);
  const int32_t cb = 39000 + 100 * s;
  EXPECT_EQ(c.currentcoeff(k), cb + 1);
  EXPECT_EQ(c.dragcoeff_a(k), cb + 2);
  EXPECT_EQ(c.dragcoeff_b(k), cb + 3);
  EXPECT_EQ(c.wavescoeff(k), cb + 4);
  EXPECT_EQ(c.turbdiffusion__y_n(k), cb + 5);
  EXPECT_EQ(c.diffusioncoeff_kh(k), cb + 6);
  EXPECT_EQ(c.diffusioncoeff_kz(k), cb + 7);
  EXPECT_EQ(c.riverfreesurfaceslope(k), cb + 8);
}

// Every item outside the repeated records of the sentinel scenario.
void expect_sentinel_scalars() {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  const auto& mc = var_mallasconc;
  const auto& f = var_mallasforz;
  EXPECT_EQ(m.gridname, "grid0100.dat");
  EXPECT_EQ(c.gridformat__xyz_grid, 2);
  EXPECT_EQ(m.grid0_x, 301);  // stored as read: the grid reader adds 360
  EXPECT_EQ(m.grid0_y, 302);
  EXPECT_EQ(m.deltax, 303);
  EXPECT_EQ(m.deltay, 304);
  EXPECT_EQ(m.deltaz, 305);
  EXPECT_EQ(m.xcells_number, 306);
  EXPECT_EQ(m.ycells_number, 307);
  EXPECT_EQ(m.zcells_number, 308);
  EXPECT_EQ(m.latmean, 309);
  EXPECT_EQ(mc.concgridname, "conc0400.dat");
  EXPECT_EQ(c.concgrid_same_grid__y_n, 501);
  EXPECT_EQ(c.concgridformat__xyz_grid, 2);
  EXPECT_EQ(mc.concgrid0_x, 701);
  EXPECT_EQ(mc.concgrid0_y, 702);
  EXPECT_EQ(mc.concdeltax, 703);
  EXPECT_EQ(mc.concdeltay, 704);
  EXPECT_EQ(mc.concdeltaz, 705);
  EXPECT_EQ(mc.concxcells_number, 706);
  EXPECT_EQ(mc.concycells_number, 707);
  EXPECT_EQ(mc.conczcells_number, 708);
  EXPECT_EQ(mc.conclatmean, 709);
  EXPECT_EQ(c.coastline_sticknostick_option__y_n, 801);
  EXPECT_EQ(c.obj__floating_fuel_hns, 1);
  EXPECT_EQ(c.obj__floating_fuel, 1);
  EXPECT_EQ(c.spreading__y_n, 1001);
  EXPECT_EQ(c.spreadalgorithm__adios2_leher_hns, 1002);
  EXPECT_EQ(c.stoptimespreading, 1003);  // stays in hours
  EXPECT_EQ(c.evaporation__y_n, 1101);
  EXPECT_EQ(c.emulsification__y_n, 1201);
  EXPECT_EQ(c.verticaldispersion__y_n, 1301);
  EXPECT_EQ(c.dissolution__y_n, 1401);
  EXPECT_EQ(c.volatilization__y_n, 1402);
  EXPECT_EQ(c.sedimentation__y_n, 1403);
  EXPECT_EQ(c.degradation__y_n, 1404);
  EXPECT_EQ(var_spill.kinemviscosity_water, 1501);
  EXPECT_EQ(c.simulationtimehorizon, 2101.0f * 3600.0f);
  EXPECT_EQ(c.currenttype__file_constant, 2201);
  EXPECT_EQ(m.currentgrid_regular__y_n, 2202);
  EXPECT_EQ(c.currentgrid_variable__y_n, 2203);
  EXPECT_EQ(c.variablecurrgrid__wetdry_radar, 2204);
  EXPECT_EQ(c.currentcorrection__y_n, 2205);
  EXPECT_EQ(c.currentfilesjointuvw__y_n, 2206);
  EXPECT_EQ(c.current3dinputformat_layers_average, 2301);
  EXPECT_EQ(c.currentgridformat__xyz_grid, 2401);
  EXPECT_EQ(c.currcorrectgridformat__xyz_grid, 2402);
  EXPECT_EQ(c.deltat_currents, 2501.0f * 3600.0f);
  EXPECT_EQ(c.currentfilesorlines_number, 2502);
  EXPECT_EQ(c.currentcorrectionfiles_number, 2503);
  EXPECT_EQ(c.xyzcurrentnodes_number[0], 2601);
  EXPECT_EQ(c.xyzcurrentnodes_number[1], 2602);
  EXPECT_EQ(c.xyzcurrentnodes_number[2], 2603);
  EXPECT_EQ(f.gridformatcurru_0x, 2701);
  EXPECT_EQ(f.gridformatcurru_0y, 2702);
  EXPECT_EQ(f.gridformatcurru_deltax, 2703);
  EXPECT_EQ(f.gridformatcurru_deltay, 2704);
  EXPECT_EQ(f.gridformatcurru_xcells, 2705);
  EXPECT_EQ(f.gridformatcurru_ycells, 2706);
  EXPECT_EQ(f.gridformatcurrv_0x, 2801);
  EXPECT_EQ(f.gridformatcurrv_0y, 2802);
  EXPECT_EQ(f.gridformatcurrv_deltax, 2803);
  EXPECT_EQ(f.gridformatcurrv_deltay, 2804);
  EXPECT_EQ(f.gridformatcurrv_xcells, 2805);
  EXPECT_EQ(f.gridformatcurrv_ycells, 2806);
  EXPECT_EQ(c.wavestype__file_constant, 2901);
  EXPECT_EQ(m.wavesgrid_regular__y_n, 2902);
  EXPECT_EQ(c.wavesgridformat__xyz_grid, 3001);
  EXPECT_EQ(c.deltat_waves, 3101.0f * 3600.0f);
  EXPECT_EQ(c.wavesfilesorlines_number, 3102);
  EXPECT_EQ(c.xyzwavesnodes_number, 3201);
  EXPECT_EQ(f.gridformatwaves_0x, 3301);
  EXPECT_EQ(f.gridformatwaves_0y, 3302);
  EXPECT_EQ(f.gridformatwaves_deltax, 3303);
  EXPECT_EQ(f.gridformatwaves_deltay, 3304);
  EXPECT_EQ(f.gridformatwaves_xcells, 3305);
  EXPECT_EQ(f.gridformatwaves_ycells, 3306);
  EXPECT_EQ(c.windtype__file_constant, 3401);
  EXPECT_EQ(m.windgrid_regular__y_n, 3402);
  EXPECT_EQ(c.windgridformat__xyz_grid, 3501);
  EXPECT_EQ(c.deltat_wind, 3601.0f * 3600.0f);
  EXPECT_EQ(c.windfilesorlines_number, 3602);
  EXPECT_EQ(c.xyzwindnodes_number, 3701);
  EXPECT_EQ(f.gridformatwind_0x, 3801);
  EXPECT_EQ(f.gridformatwind_0y, 3802);
  EXPECT_EQ(f.gridformatwind_deltax, 3803);
  EXPECT_EQ(f.gridformatwind_deltay, 3804);
  EXPECT_EQ(f.gridformatwind_xcells, 3805);
  EXPECT_EQ(f.gridformatwind_ycells, 3806);
  EXPECT_EQ(c.ruta, fixlen("data4000/", 256));
  // A floating object never weathers.
  EXPECT_EQ(c.degrado, 0);
  const auto& v = var_spill;
  EXPECT_EQ(v.ct, 0.0008f);
  EXPECT_EQ(v.ceva, 0.18006f);
  EXPECT_EQ(v.c3, 2.5f);
  EXPECT_EQ(v.c4, 0.65f);
  EXPECT_EQ(v.c5, 5000.0f);
}

class ScenarioFile : public testing::scenario_test {
 protected:
  void read_fixture(const std::string& name) {
    const std::string text = read_file(fixtures + "/scenario/" + name);
    write_file("SENT.cfg", text);
    var_run.sim__2d_3d = 2;
    leo_cfg("SENT");
    EXPECT_EQ(read_file("SENT.cfg"), text);  // the source stays as it is
    EXPECT_EQ(dir.files(), std::vector<std::string>{"SENT.cfg"});  // cfg.tmp is gone
  }
};

TEST_F(ScenarioFile, SentinelTwoInstantaneousSpills) {
  read_fixture("sentinel.cfg");
  expect_sentinel_scalars();
  const auto& c = var_cfg;
  EXPECT_EQ(c.spill__instant_contin, 1);
  EXPECT_EQ(c.spills_number, 2);
  EXPECT_EQ(c.iternumber, 2);
  EXPECT_EQ(c.spillduration, 1801);
  EXPECT_EQ(c.delta_vertidocontinuo, 1802);
  expect_extents(2);
  ASSERT_EQ(c.spill_id.size(), 2);
  for (int32_t k = 1; k <= 2; ++k) {
    const int32_t b = 19000 + 100 * k;
    EXPECT_EQ(c.spill_id(k), b + 1);
    EXPECT_EQ(c.spillstarttime(k), b + 2);  // stays in hours
    EXPECT_EQ(c.spilledmass(k), b + 3);
    EXPECT_EQ(c.masa0(k), b + 3);
    EXPECT_EQ(c.spillvolume(k), b + 11);
    EXPECT_EQ(c.vol0(k), b + 11);
    expect_sentinel_spill(k, k);
  }
}

TEST_F(ScenarioFile, SentinelContinuousRelease) {
  read_fixture("sentinel_continuous.cfg");
  expect_sentinel_scalars();
  const auto& c = var_cfg;
  EXPECT_EQ(c.spill__instant_contin, 2);
  EXPECT_EQ(c.spills_number, 3);  // 1.5 h in pulses of 1800 s; record 17 is discarded
  EXPECT_EQ(c.iternumber, 1);
  EXPECT_EQ(c.spillduration, 1.5);
  EXPECT_EQ(c.delta_vertidocontinuo, 1800);
  expect_extents(3);
  ASSERT_EQ(c.spill_id.size(), 1);
  EXPECT_EQ(c.spill_id(1), 19101);
  for (int32_t k = 1; k <= 3; ++k) {
    EXPECT_EQ(c.spillstarttime(k), 1902 + 0.5 * (k - 1));
    EXPECT_EQ(c.spilledmass(k), 19103 / 3.0);
    EXPECT_EQ(c.spillvolume(k), 19111 / 3.0);
    EXPECT_EQ(c.masa0(k), 19103);  // every pulse holds the total mass
    EXPECT_EQ(c.vol0(k), 19111 / 3.0);  // and its own share of the volume
    expect_sentinel_spill(k, 1);
  }
  // Pulses differ in nothing else.
  for_each_spill_array([](const auto& a) {
    const std::string n = a.name();
    if (n == "spillstarttime" || n == "spilledmass" || n == "spillvolume") return;
    for (int32_t k = 2; k <= 3; ++k) EXPECT_EQ(a(k), a(1)) << n << " of pulse " << k;
  });
}

// ---------------------------------------------------------------------------
// Reading rules.

using ScenarioReading = testing::scenario_test;

TEST_F(ScenarioReading, CommentsAndLayoutDoNotChangeTheValues) {
  scenario_text s = base_scenario();
  read(s);
  const float horizon = var_cfg.simulationtimehorizon;
  const double mass = var_cfg.spilledmass(1);
  const double coeff = var_cfg.dragcoeff_a(1);
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 900.0f;
  // A comment before every record, record 22 over two lines, remarks after
  // the values of record 21.
  std::string text;
  for (int r = 1; r <= 40; ++r) {
    std::string line = s.rec[r];
    if (r == 21) line += " hours of simulation";
    if (r == 22) line = "1 1 0\n1 0 0";
    text += (r % 2 ? "/ record " : "* record ") + std::to_string(r) + "\n" + line + "\n";
  }
  write_file("TEST.cfg", text);
  leo_cfg("TEST");
  EXPECT_EQ(var_cfg.simulationtimehorizon, horizon);
  EXPECT_EQ(var_cfg.spilledmass(1), mass);
  EXPECT_EQ(var_cfg.dragcoeff_a(1), coeff);
  EXPECT_EQ(var_cfg.currentfilesjointuvw__y_n, 0);
  EXPECT_EQ(var_cfg.variablecurrgrid__wetdry_radar, 1);
  EXPECT_EQ(var_cfg.ruta, fixlen("data/", 256));
}

TEST_F(ScenarioReading, SkippedGridLinesMayHoldAnything) {
  scenario_text s = base_scenario();
  s.rec[2] = "1";
  s.rec[3] = "";  // a blank line is the consumed line of a skipped record
  s.rec[6] = "1";
  s.rec[7] = "anything, even text";
  read(s);
  EXPECT_EQ(var_mallas.grid0_x, 0.0);
  EXPECT_EQ(var_mallas.xcells_number, 0);
  EXPECT_EQ(var_mallasconc.concgridname, fixlen("conc.dat", 12));
  EXPECT_EQ(var_cfg.coastline_sticknostick_option__y_n, 0);
  EXPECT_EQ(var_cfg.obj__floating_fuel_hns, 2);
}

TEST_F(ScenarioReading, RegularForcingGrids) {
  scenario_text s = base_scenario();
  s.rec[24] = "2 1";
  s.rec[26] = "7 8 9";
  s.rec[27] = "-10.0 42.5 0.1 0.1 16 12";
  s.rec[28] = "-10.05 42.55 0.1 0.1 15 11";
  s.rec[30] = "2";
  s.rec[32] = "77";
  s.rec[33] = "-5.5 40.0 0.25 0.25 40 30";
  s.rec[35] = "2";
  s.rec[37] = "66";
  s.rec[38] = "-12.0 41.0 0.5 0.5 10 8";
  read(s);
  const auto& f = var_mallasforz;
  const auto& c = var_cfg;
  EXPECT_EQ(f.gridformatcurru_0x, -10.0 + 360.0);
  EXPECT_EQ(f.gridformatcurrv_0x, -10.05 + 360.0);
  EXPECT_EQ(f.gridformatcurru_0y, 42.5);  // latitudes stay as read
  EXPECT_EQ(c.xyzcurrentnodes_number[0], 16 * 12);
  EXPECT_EQ(c.xyzcurrentnodes_number[1], 15 * 11);
  EXPECT_EQ(c.xyzcurrentnodes_number[2], 9);  // W keeps its count
  EXPECT_EQ(f.gridformatwaves_0x, 354.5);
  EXPECT_EQ(c.xyzwavesnodes_number, 1200);
  EXPECT_EQ(f.gridformatwind_0x, 348.0);
  EXPECT_EQ(c.xyzwindnodes_number, 80);

  // Node lists keep the origins and counts as read.
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 900.0f;
  s.rec[24] = "1 1";
  s.rec[30] = "1";
  s.rec[35] = "1";
  read(s);
  EXPECT_EQ(f.gridformatcurru_0x, -10.0);
  EXPECT_EQ(c.xyzcurrentnodes_number[0], 7);
  EXPECT_EQ(f.gridformatwaves_0x, -5.5);
  EXPECT_EQ(c.xyzwavesnodes_number, 77);
  EXPECT_EQ(c.xyzwindnodes_number, 66);
}

TEST_F(ScenarioReading, BackwardRunNegatesTheDriftCoefficients) {
  scenario_text s = base_scenario();
  s.rec[39] = "1.0 0.03 0.001 -1.0 1 -10.0 0.01 0.002";
  var_run.simdirection__fore_back = 2;
  read(s);
  const auto& c = var_cfg;
  EXPECT_EQ(c.currentcoeff(1), -1.0);
  EXPECT_EQ(c.dragcoeff_a(1), -0.03);
  EXPECT_EQ(c.dragcoeff_b(1), -0.001);
  EXPECT_EQ(c.wavescoeff(1), 1.0);
  EXPECT_EQ(c.turbdiffusion__y_n(1), 1);
  EXPECT_EQ(c.diffusioncoeff_kh(1), -10.0f);  // keeps its sign
  EXPECT_EQ(c.diffusioncoeff_kz(1), 0.01f);
  EXPECT_EQ(c.riverfreesurfaceslope(1), 0.002f);
}

TEST_F(ScenarioReading, DepthAndSpreadingByDimension) {
  struct row {
    int32_t dim, obj;
    double depth;
    int32_t spreading;
  };
  // 2-D puts every spill at the surface; 3-D oil does not spread, 3-D HNS does.
  for (const row& w : {row{1, 2, 0.0, 1}, row{2, 2, 25.0, 0}, row{2, 3, 25.0, 1}, row{2, 1, 25.0, 1}}) {
    SCOPED_TRACE("dimension " + std::to_string(w.dim) + ", object " + std::to_string(w.obj));
    reset_state();
    var_run.sim__2d_3d = w.dim;
    var_run.deltat = 900.0f;
    scenario_text s = base_scenario();
    s.rec[9] = std::to_string(w.obj);
    read(s);
    EXPECT_EQ(var_cfg.spillposition_z(1), w.depth);
    EXPECT_EQ(var_cfg.spreading__y_n, w.spreading);
  }
}

TEST_F(ScenarioReading, DataFolderLineIsKeptWhole) {
  scenario_text s = base_scenario();
  s.rec[40] = "  my data/run 1/";
  read(s);
  EXPECT_EQ(var_cfg.ruta, fixlen("  my data/run 1/", 256));
  // A data-folder line starting with "/" is a comment: the record is missing.
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 900.0f;
  s.rec[40] = "/data/";
  try {
    read(s);
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "TEST.cfg");
    EXPECT_NE(e.message().find("ruta"), std::string::npos) << e.what();
  }
}

TEST_F(ScenarioReading, KeyBlanksArePartOfTheName) {
  write_file("AB  .cfg", base_scenario().text());
  leo_cfg("AB  ");
  EXPECT_EQ(var_cfg.spills_number, 1);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"AB  .cfg"});
}

TEST_F(ScenarioReading, MissingOrShortFile) {
  EXPECT_THROW(leo_cfg("NONE"), input_error);
  EXPECT_TRUE(dir.files().empty());  // nothing created
  scenario_text s = base_scenario();
  s.rec[17] = "2";  // two spill lines expected, the second is the sediment line
  try {
    read(s);
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "TEST.cfg");
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST.cfg"});  // cfg.tmp removed
}

// ---------------------------------------------------------------------------
// Errors: each ends the run with an input_error naming the scenario file and
// the line of the faulty value (main prints it and exits with status 2).

struct error_case {
  const char* name;
  std::function<void(scenario_text&)> change;
  int64_t line;
  const char* message;
};

const std::vector<error_case>& error_cases() {
  static const std::vector<error_case> cases = {
      {"grid name of 13 characters", [](scenario_text& s) { s.rec[1] = "galicia_1.dat"; }, 1,
       "gridname \"galicia_1.dat\" is longer than 12 characters"},
      {"grid format 3", [](scenario_text& s) { s.rec[2] = "3"; }, 2,
       "gridformat__xyz_grid must be 1 (node list) or 2 (regular grid), found 3"},
      {"own concentration grid, name of 13 characters",
       [](scenario_text& s) {
         s.rec[4] = "concentr.grid";
         s.rec[5] = "0";
       },
       4, "concgridname \"concentr.grid\" is longer than 12 characters"},
      {"own concentration grid, format 0",
       [](scenario_text& s) {
         s.rec[5] = "0";
         s.rec[6] = "0";
       },
       6, "concgridformat__xyz_grid must be 1 (node list) or 2 (regular grid), found 0"},
      {"object type 4", [](scenario_text& s) { s.rec[9] = "4"; }, 9,
       "obj__floating_fuel_hns must be 1 (floating object), 2 (oil) or 3 (HNS), found 4"},
      {"object type 0", [](scenario_text& s) { s.rec[9] = "0"; }, 9,
       "obj__floating_fuel_hns must be 1 (floating object), 2 (oil) or 3 (HNS), found 0"},
      {"oil spreading with algorithm 3", [](scenario_text& s) { s.rec[10] = "1 3 24"; }, 10,
       "spreadalgorithm__adios2_leher_hns must be 1 or 2 when spreading is on, found 3"},
      {"floating object spreading with algorithm 0",
       [](scenario_text& s) {
         s.rec[9] = "1";
         s.rec[10] = "1 0 24";
       },
       10, "spreadalgorithm__adios2_leher_hns must be 1 or 2 when spreading is on, found 0"},
      {"release mode 3", [](scenario_text& s) { s.rec[16] = "3"; }, 16,
       "spill__instant_contin must be 1 (instantaneous) or 2 (continuous), found 3"},
      {"release mode 0", [](scenario_text& s) { s.rec[16] = "0"; }, 16,
       "spill__instant_contin must be 1 (instantaneous) or 2 (continuous), found 0"},
      {"no instantaneous spill", [](scenario_text& s) { s.rec[17] = "0"; }, 17,
       "spills_number must be at least 1, found 0"},
      {"negative spill count", [](scenario_text& s) { s.rec[17] = "-2"; }, 17,
       "spills_number must be at least 1, found -2"},
      {"pulse interval 0",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "2.0 0";
       },
       18,
       "delta_vertidocontinuo (pulse interval of the continuous release) must be greater than 0 "
       "seconds, found 0"},
      {"negative pulse interval",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "2.0 -900";
       },
       18,
       "delta_vertidocontinuo (pulse interval of the continuous release) must be greater than 0 "
       "seconds, found -900"},
      {"release shorter than one pulse",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "0.2 900";
       },
       18,
       "a continuous release of 0.2 h with a pulse every 900 s has no pulse: spillduration must "
       "cover at least one pulse interval"},
      {"negative release duration",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "-3 900";
       },
       18, "spillduration = -3: must be a finite number greater than 0 and at most 87600 h"},
      {"a release shorter than its pulse interval",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "0.2 900";
       },
       18,
       "a continuous release of 0.2 h with a pulse every 900 s has no pulse: spillduration must cover at least one "
       "pulse interval"},
      {"a release longer than ten years",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "1.0e9 900";
       },
       18, "spillduration = 1e+09: must be a finite number greater than 0 and at most 87600 h"},
      {"more spills than spill lines", [](scenario_text& s) { s.rec[17] = "2"; }, 17,
       "spills_number is 2 but the file holds at most 1 spill lines (each spill needs a spill line, a "
       "sediment line and a coefficient line, and 18 forcing records follow them)"},
      {"two thousand million spills", [](scenario_text& s) { s.rec[17] = "2000000000"; }, 17,
       "spills_number is 2000000000 but the file holds at most 1 spill lines (each spill needs a spill "
       "line, a sediment line and a coefficient line, and 18 forcing records follow them)"},
      {"three spill lines for four spills",
       [](scenario_text& s) {
         s.rec[17] = "4";
         s.rec[19] = testing::spill_line() + "\n" + testing::spill_line() + "\n" + testing::spill_line();
         s.rec[20] = "0 0 0\n0 0 0\n0 0 0";
         s.rec[39] = s.rec[39] + "\n" + s.rec[39] + "\n" + s.rec[39];
       },
       17,
       "spills_number is 4 but the file holds at most 3 spill lines (each spill needs a spill line, a "
       "sediment line and a coefficient line, and 18 forcing records follow them)"},
      {"oil density 0", [](scenario_text& s) { s.rec[19] = testing::spill_line(0, 1000, 0.0f); }, 19,
       "density of spill line 1 must be greater than 0 kg/m3, found 0"},
      {"HNS negative density",
       [](scenario_text& s) {
         s.rec[9] = "3";
         s.rec[19] = testing::spill_line(0, 1000, -800.0f);
       },
       19, "density of spill line 1 must be greater than 0 kg/m3, found -800"},
      {"water density 0 on the second spill line",
       [](scenario_text& s) {
         s.rec[17] = "2";
         std::string second = testing::spill_line();
         second.replace(second.find("1025.0"), 6, "0");
         s.rec[19] = testing::spill_line() + "\n" + second;
         s.rec[20] = "0 0 0\n0 0 0";
         s.rec[39] = s.rec[39] + "\n" + s.rec[39];
       },
       20, "waterdensity of spill line 2 must be greater than 0 kg/m3, found 0"},
      {"oil minimum thickness 0 with spreading on",
       [](scenario_text& s) {
         std::string line = testing::spill_line();
         line.replace(line.find("0.0001"), 6, "0");
         s.rec[19] = line;
       },
       19, "minspillthickness (spreading on) of spill line 1 must be greater than 0 m, found 0"},
      {"wave grid with more nodes than a 32-bit count",
       [](scenario_text& s) {
         s.rec[30] = "2";
         s.rec[33] = "-5.5 40.0 0.25 0.25 100000 100000";
       },
       33, "the wave grid of 100000 by 100000 nodes has more nodes than a 32-bit count holds"},
  };
  return cases;
}

TEST_F(ScenarioReading, ValueErrorsNameFileAndLine) {
  for (const error_case& c : error_cases()) {
    SCOPED_TRACE(c.name);
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.deltat = 900.0f;
    scenario_text s = base_scenario();
    c.change(s);
    try {
      read(s);
      ADD_FAILURE() << "no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "TEST.cfg");
      EXPECT_EQ(e.line(), c.line);
      EXPECT_EQ(e.message(), c.message);
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST.cfg"});  // cfg.tmp removed
  }
}

// The faults above only where they matter.
TEST_F(ScenarioReading, AcceptedNearTheErrors) {
  const std::vector<std::pair<const char*, std::function<void(scenario_text&)>>> cases = {
      {"long concentration grid name and format 0, concentrations on the model grid",
       [](scenario_text& s) {
         s.rec[4] = "concentr.grid";
         s.rec[5] = "1";
         s.rec[6] = "0";
       }},
      {"spreading off with algorithm 3", [](scenario_text& s) { s.rec[10] = "0 3 24"; }},
      {"HNS spreading with algorithm 9 (the calibration file gives the algorithm)",
       [](scenario_text& s) {
         s.rec[9] = "3";
         s.rec[10] = "1 9 24";
       }},
      {"oil minimum thickness 0 with spreading off",
       [](scenario_text& s) {
         s.rec[10] = "0 1 24";
         std::string line = testing::spill_line();
         line.replace(line.find("0.0001"), 6, "0");
         s.rec[19] = line;
       }},
      {"floating object of density 0",
       [](scenario_text& s) {
         s.rec[9] = "1";
         s.rec[19] = testing::spill_line(0, 1000, 0.0f);
       }},
      {"instantaneous release with pulse interval 0", [](scenario_text& s) { s.rec[18] = "0 0"; }},
      {"pulse interval equal to the model step",
       [](scenario_text& s) {
         s.rec[16] = "2";
         s.rec[18] = "1.0 900";
       }},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.deltat = 900.0f;
    scenario_text s = base_scenario();
    change(s);
    EXPECT_NO_THROW(read(s));
  }
}

// The pulses of a continuous release size the spill arrays: a count whose
// arrays would not fit the memory is refused on the line of the duration
// and interval, before any array exists.
TEST_F(ScenarioReading, PulseCountBeyondTheMemoryIsRefused) {
  var_run.deltat = 60.0f;
  scenario_text s = base_scenario();
  s.rec[16] = "2";
  s.rec[18] = "50000 60";  // one pulse a minute for 50,000 hours
  s.rec[21] = "50000";     // and a run long enough to start them all
  struct budget {
    budget() { set_memory_budget(uint64_t{1} << 30); }
    ~budget() { set_memory_budget(0); }
  };
  auto one_gigabyte = std::make_unique<budget>();
  try {
    read(s);
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "TEST.cfg");
    EXPECT_EQ(e.line(), 18);
    // Each pulse: 64 doubles of scenario arrays (512 bytes), 32 records of
    // the property series of 19 doubles and 2 floats (5120 bytes) and its
    // property file (1024 bytes): 3,000,000 x 6656 bytes = 18.60 GiB.
    EXPECT_EQ(e.message(),
              "a continuous release of 3000000 pulses would need about 18.60 GB of memory (6656 bytes each), more "
              "than the 1.00 GB this machine has");
  }
  EXPECT_FALSE(var_cfg.spilledmass.allocated());
  // Within the budget the release is read.
  s.rec[18] = "1000 60";
  s.rec[21] = "1000";
  EXPECT_NO_THROW(read(s));
  EXPECT_EQ(var_cfg.spills_number, 60000);
  one_gigabyte.reset();

  // Against the machine's own memory: a pulse every second for ten years,
  // 315,360,000 pulses of 6656 bytes, need 1,955 GB.
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 1.0f;
  s.rec[18] = "87600 1";
  s.rec[21] = "87600";
  try {
    read(s);
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.line(), 18);
    EXPECT_EQ(e.message().rfind("a continuous release of 315360000 pulses would need about 1954.88 GB", 0), 0u)
        << e.message();
  }
}

TEST_F(ScenarioReading, PulseIntervalBelowTheModelStepAborts) {
  scenario_text s = base_scenario();
  s.rec[16] = "2";
  s.rec[18] = "2.0 600";
  // Bad input: refused at record 18 (exit status 2), the stop's own words
  // first, then the two records and the fix.
  try {
    read(s);
    FAIL() << "no refusal";
  } catch (const input_error& e) {
    EXPECT_EQ(e.line(), 18);
    EXPECT_EQ(e.message().rfind("abort: DT_PULSOS (.cfg) has to be greater than or equal to DT_MODELO (.run): ", 0), 0u)
        << e.message();
    EXPECT_NE(e.message().find("delta_vertidocontinuo = 600 s (record 18"), std::string::npos) << e.message();
    EXPECT_NE(e.message().find("deltat = 900 s (record 10"), std::string::npos) << e.message();
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST.cfg"});
  // One second below the step is enough; the step itself is allowed.
  s.rec[18] = "2.0 899";
  EXPECT_THROW(read(s), input_error);
  s.rec[18] = "2.0 900";
  EXPECT_NO_THROW(read(s));
}

}  // namespace
}  // namespace orvel
