// Values derived from the spill lines, the pulses of a continuous release,
// the weathering switch and the hour conversions.
//
// The single-precision expectations are given as bit patterns worked out
// apart from this code: in Python, rounding every intermediate result to
// IEEE single precision (struct.pack("f")), with the exponential taken in
// double precision and then rounded.  One rounding per operation is what
// single-precision arithmetic does, so equal bits mean the derivation does
// each step in single precision and in the stated order.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "control/state/all.hpp"
#include "common/errors.hpp"
#include "control/substance.hpp"
#include "tests/control/scenario_text.hpp"

namespace orvel {
namespace {

using testing::base_scenario;
using testing::scenario_text;
using testing::spill_line;

uint32_t bits(float x) { return std::bit_cast<uint32_t>(x); }

class Substance : public testing::scenario_test {
 protected:
  // Reads the base scenario with the given spill lines (instantaneous spills).
  void read_spills(const std::vector<std::string>& lines, int32_t obj = 2) {
    scenario_text s = base_scenario();
    s.rec[9] = std::to_string(obj);
    s.rec[17] = std::to_string(lines.size());
    s.rec[19] = s.rec[20] = s.rec[39] = "";
    const std::string sediment = base_scenario().rec[20];
    const std::string coefficients = base_scenario().rec[39];
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string sep = i ? "\n" : "";
      s.rec[19] += sep + lines[i];
      s.rec[20] += sep + sediment;
      s.rec[39] += sep + coefficients;
    }
    read(s);
  }
};

TEST_F(Substance, GravityAndBoilingPointCurve) {
  // Density 999 kg/m3 given at 15 degrees C: a crude oil, then a refined product.
  read_spills({spill_line(0, 1000, 999.0f, 15.0f, 100.0f, 15.0f, 15.0f, 0),
               spill_line(0, 1000, 999.0f, 15.0f, 100.0f, 15.0f, 15.0f, 1)});
  const auto& s = var_spill;
  for (int32_t k = 1; k <= 2; ++k) {
    EXPECT_EQ(s.densr0(k), 1.0f);
    EXPECT_EQ(s.api(k), 10.0f);
  }
  EXPECT_EQ(bits(s.t0(1)), 0x43fad7aeu);  // 501.685
  EXPECT_EQ(bits(s.tg(1)), 0x4454699au);  // 849.65
  EXPECT_EQ(bits(s.t0(2)), 0x4417f72bu);  // 607.862
  EXPECT_EQ(bits(s.tg(2)), 0x43aebb85u);  // 349.465
  EXPECT_NEAR(s.t0(1), 501.685f, 1e-3f);
  EXPECT_NEAR(s.tg(1), 849.65f, 1e-3f);
}

TEST_F(Substance, ViscosityAt15DegreesAndC6PerSpill) {
  read_spills({spill_line(0, 1000, 900.0f, 15.0f, 100.0f, 25.0f, 15.0f),    // 100 cSt at 25 C
               spill_line(0, 1000, 900.0f, 15.0f, 100.0f, 15.0f, 15.0f),    // 100 cSt at 15 C
               spill_line(0, 1000, 900.0f, 15.0f, 38.0f, 15.0f, 15.0f)});   // 38 cSt at 15 C
  const auto& s = var_spill;
  // 100 x exp(5000 (1/288 - 1/298)) ~ 179.07; in water at 15 C the viscosity
  // is the same value.
  EXPECT_EQ(bits(s.viscosity15(1)), 0x4333110du);
  EXPECT_NEAR(s.viscosity15(1), 179.07f, 0.01f);
  EXPECT_EQ(bits(s.viscosity(1)), 0x4333110du);
  EXPECT_EQ(s.viscosity15(2), 100.0f);
  EXPECT_EQ(s.viscosity(2), 100.0f);
  EXPECT_EQ(s.viscosity15(3), 38.0f);
  // Above 38 cSt c6 is 10; at exactly 38 the quadratic gives ~9.845.  Each
  // spill keeps its own value.
  EXPECT_EQ(s.c6(1), 10.0f);
  EXPECT_EQ(s.c6(2), 10.0f);
  EXPECT_EQ(bits(s.c6(3)), 0x411d85f0u);
  EXPECT_NEAR(s.c6(3), 9.845f, 1e-3f);
  EXPECT_EQ(s.c5, 5000.0f);
  // Later corrections start from the water temperature.
  for (int32_t k = 1; k <= 3; ++k) {
    EXPECT_EQ(s.viscosityreferencetemperature(k), 288.0f);
    EXPECT_EQ(s.densityreferencetemperature(k), 288.0f);
  }
}

TEST_F(Substance, DensityFollowsTheSignOfTheTemperatureDifference) {
  // 900 kg/m3 at 25 C in water at 15 C: colder water, denser oil.
  read_spills({spill_line(0, 1000, 900.0f, 25.0f, 100.0f, 15.0f, 15.0f),
               spill_line(0, 1000, 900.0f, 5.0f, 100.0f, 15.0f, 15.0f),
               spill_line(0, 1000, 900.0f, 15.0f, 100.0f, 15.0f, 15.0f)});
  const auto& s = var_spill;
  EXPECT_EQ(bits(s.density(1)), 0x4462cccdu);  // 907.2
  EXPECT_NEAR(s.density(1), 907.2f, 1e-3f);
  EXPECT_EQ(bits(s.density(2)), 0x445f3333u);  // 892.8
  EXPECT_NEAR(s.density(2), 892.8f, 1e-3f);
  EXPECT_EQ(s.density(3), 900.0f);
  // Contrast with water of 1025 kg/m3, from the corrected density.
  EXPECT_EQ(bits(s.deltarho(1)), 0x3deb5ec0u);
  // Specific gravity from the density as read.
  EXPECT_EQ(s.densr0(1), 900.0f / 999.0f);
  EXPECT_EQ(s.watertemperature(1), 288.0f);
  EXPECT_EQ(s.airtemperature(1), 293.0f);
}

TEST_F(Substance, VolumeAreaAndMass) {
  // The line gives 1 m3 and a 100 m by 200 m rectangle; minimum thickness 0.0001 m.
  read_spills({spill_line(0, 1000, 800.0f)}, 3);
  const auto& c = var_cfg;
  // An HNS takes its volume from mass and density.
  EXPECT_EQ(c.spillvolume(1), 1.25);
  EXPECT_EQ(c.vol0(1), 1.25);
  EXPECT_EQ(var_spill.area_maxima(1), 12500.0f);
  EXPECT_EQ(c.area0(1), 20000.0);
  EXPECT_EQ(c.masa0(1), 1000.0);
  EXPECT_EQ(c.spillposition_z(1), 0.0);  // 2-D run
  EXPECT_EQ(var_spill.minevaporation(1), 0.05f);

  // An HNS volume is rounded to single precision: 1000/3 kg/m3.
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 900.0f;
  read_spills({spill_line(0, 1000, 3.0f)}, 3);
  EXPECT_EQ(c.spillvolume(1), static_cast<double>(static_cast<float>(1000.0 / 3.0)));
  EXPECT_NE(c.spillvolume(1), 1000.0 / 3.0);

  // Oil keeps the volume of its line.
  reset_state();
  var_run.sim__2d_3d = 1;
  var_run.deltat = 900.0f;
  read_spills({spill_line(0, 1000, 800.0f)}, 2);
  EXPECT_EQ(c.spillvolume(1), 1.0);
  EXPECT_EQ(c.vol0(1), 1.0);
  EXPECT_EQ(var_spill.area_maxima(1), 10000.0f);
}

TEST_F(Substance, ProcessFlagsNeedTheExactValue1) {
  scenario_text s = base_scenario();
  s.rec[11] = "1";
  s.rec[12] = "2";
  s.rec[13] = "1";
  s.rec[14] = "1 0 1 -1";
  read(s);
  const auto& c = var_cfg;
  EXPECT_EQ(c.evaporo(1), 1);
  EXPECT_EQ(c.emulsiono(1), 0);
  EXPECT_EQ(c.entrainment(1), 1);
  EXPECT_EQ(c.dissolution(1), 1);
  EXPECT_EQ(c.volatilization(1), 0);
  EXPECT_EQ(c.sedimentation(1), 1);
  EXPECT_EQ(c.degradation(1), 0);
  EXPECT_EQ(c.flag_tierra(1), 0);
  EXPECT_EQ(c.flag_air(1), 0);
}

TEST_F(Substance, WeatheringSwitch) {
  struct row {
    const char* name;
    int32_t obj;
    const char* evaporation;
    const char* emulsification;
    const char* dispersion;
    const char* hns;  // dissolution, volatilisation, sedimentation, degradation
    int32_t degrado;
  };
  const row rows[] = {
      {"sedimentation alone", 3, "0", "0", "0", "0 0 1 0", 0},
      {"oil evaporation", 2, "1", "0", "0", "0 0 0 0", 1},
      {"oil, switches 2", 2, "2", "2", "2", "2 2 2 2", 0},
      {"HNS dissolution", 3, "0", "0", "0", "1 0 0 0", 1},
      {"HNS degradation", 3, "0", "0", "0", "0 0 0 1", 1},
      {"oil dispersion", 2, "0", "0", "1", "0 0 0 0", 1},
      {"floating object, every switch on", 1, "1", "1", "1", "1 1 1 1", 0},
  };
  for (const row& w : rows) {
    SCOPED_TRACE(w.name);
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.deltat = 900.0f;
    scenario_text s = base_scenario();
    s.rec[9] = std::to_string(w.obj);
    s.rec[10] = "0 1 24";
    s.rec[11] = w.evaporation;
    s.rec[12] = w.emulsification;
    s.rec[13] = w.dispersion;
    s.rec[14] = w.hns;
    read(s);
    EXPECT_EQ(var_cfg.degrado, w.degrado);
  }
}

TEST_F(Substance, HoursBecomeSeconds) {
  scenario_text s = base_scenario();
  s.rec[21] = "48";
  s.rec[25] = "1.5 49 0";
  s.rec[31] = "3 17";
  s.rec[36] = "0.25 9";
  read(s);
  const auto& c = var_cfg;
  EXPECT_EQ(c.simulationtimehorizon, 172800.0f);
  EXPECT_EQ(c.deltat_currents, 5400.0f);
  EXPECT_EQ(c.deltat_waves, 10800.0f);
  EXPECT_EQ(c.deltat_wind, 900.0f);
  EXPECT_EQ(c.stoptimespreading, 24);  // stays in hours
  EXPECT_EQ(c.spillstarttime(1), 0.0);
}

// ---------------------------------------------------------------------------
// Continuous releases.

class Pulses : public testing::scenario_test {
 protected:
  void read_release(const std::string& record18, const std::string& line, int32_t obj = 2,
                    const std::string& horizon = "") {
    scenario_text s = base_scenario();
    if (!horizon.empty()) s.rec[21] = horizon;
    s.rec[9] = std::to_string(obj);
    s.rec[16] = "2";
    s.rec[17] = "7";  // replaced by the pulse count
    s.rec[18] = record18;
    s.rec[19] = line;
    read(s);
  }
};

TEST_F(Pulses, TwoHoursEvery1800SecondsFrom1Point5Hours) {
  read_release("2.0 1800", spill_line(1.5, 1000.0));
  const auto& c = var_cfg;
  ASSERT_EQ(c.spills_number, 4);
  EXPECT_EQ(c.iternumber, 1);
  const double start[] = {1.5, 2.0, 2.5, 3.0};
  for (int32_t k = 1; k <= 4; ++k) {
    EXPECT_EQ(c.spillstarttime(k), start[k - 1]);
    EXPECT_EQ(c.spilledmass(k), 250.0);
    EXPECT_EQ(c.masa0(k), 1000.0);
    EXPECT_EQ(c.spillvolume(k), 0.25);
    EXPECT_EQ(c.vol0(k), 0.25);  // the pulse's own volume; masa0 keeps the release's mass
    EXPECT_EQ(var_spill.density(k), 900.0f);
    EXPECT_EQ(var_spill.c6(k), 10.0f);
    EXPECT_EQ(c.currentcoeff(k), 1.0);
    EXPECT_EQ(var_spill.sedimentsconcentration(k), 10.0f);
  }
  // The mass of the pulses adds up to the release.
  double total = 0.0;
  for (int32_t k = 1; k <= 4; ++k) total += c.spilledmass(k);
  EXPECT_EQ(total, 1000.0);
}

TEST_F(Pulses, CountIsTruncated) {
  struct row {
    const char* record18;
    int32_t pulses;
  };
  for (const row& w : {row{"6 900", 24}, row{"1.1 1800", 2}, row{"0.25 900", 1}, row{"1 3600", 1}}) {
    SCOPED_TRACE(w.record18);
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.deltat = 900.0f;
    read_release(w.record18, spill_line());
    EXPECT_EQ(var_cfg.spills_number, w.pulses);
    EXPECT_EQ(var_cfg.spilledmass.size(), w.pulses);
    EXPECT_EQ(var_cfg.spill_id.size(), 1);
  }
}

TEST_F(Pulses, HnsReleaseSharesTheVolumeFromMassAndDensity) {
  read_release("1 1800", spill_line(0.0, 1000.0, 800.0f), 3);
  const auto& c = var_cfg;
  ASSERT_EQ(c.spills_number, 2);
  for (int32_t k = 1; k <= 2; ++k) {
    EXPECT_EQ(c.spillvolume(k), 0.625);
    EXPECT_EQ(c.vol0(k), 0.625);
    EXPECT_EQ(var_spill.area_maxima(k), 6250.0f);  // the pulse's volume at the minimum thickness
  }
}

TEST_F(Pulses, LateStartsOfTheLongestRelease) {
  // Ten years in pulses of 10^8 s: three pulses, the last 2 x 10^8 s after
  // the first.  A release longer than ten years is refused by its range
  // before the pulses are counted.
  var_run.deltat = 900.0f;
  read_release("87600 100000000", spill_line(0.0, 3.0), 2, "87600");
  const auto& c = var_cfg;
  ASSERT_EQ(c.spills_number, 3);
  EXPECT_EQ(c.spillstarttime(1), 0.0);
  EXPECT_EQ(c.spillstarttime(2), 100000000.0 / 3600.0);
  EXPECT_EQ(c.spillstarttime(3), 200000000.0 / 3600.0);
  EXPECT_EQ(c.spilledmass(3), 1.0);
  reset_state();
  var_run.deltat = 900.0f;
  try {
    read_release("894785 1073741824", spill_line(0.0, 3.0), 2, "600000");
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.message(), "spillduration = 894785: must be a finite number greater than 0 and at most 87600 h");
  }
}

// A continuous release of no time, or of a duration that is not a number,
// is refused by the duration's range, before the pulses are counted (which
// would find none and blame the pulse interval).
TEST_F(Pulses, ADurationOfNoTimeIsRefusedByItsRange) {
  for (const char* duration : {"0", "-1", "nan"}) {
    reset_state();
    var_run.deltat = 600.0f;
    try {
      read_release(std::string(duration) + " 600", spill_line(0.0, 3.0), 2, "24");
      ADD_FAILURE() << duration << ": no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.message(), std::string("spillduration = ") + duration +
                                 ": must be a finite number greater than 0 and at most 87600 h");
    }
  }
}

TEST_F(Pulses, OnlyThePulsesThatCanStartAreSized) {
  // A million pulses of 10 s from 2 h; a run of 3 h starts those of 2 h to
  // 3 h: 361 of them, and one spare.  Each still carries a millionth of
  // the release.
  var_run.deltat = 10.0f;
  read_release("2777.7778 10", spill_line(2.0, 1000000.0), 2, "3");
  const auto& c = var_cfg;
  ASSERT_EQ(c.spills_number, 362);
  EXPECT_EQ(c.spilledmass.size(), 362);
  EXPECT_EQ(c.spilledmass(1), 1.0);
  EXPECT_EQ(c.masa0(362), 1000000.0);
  EXPECT_EQ(c.spillstarttime(361), 3.0);
  EXPECT_EQ(release_pulses(), 1000000);
  // A release that starts exactly at the end of the run sizes its first
  // pulse and the spare: two.
  reset_state();
  var_run.deltat = 10.0f;
  read_release("2777.7778 10", spill_line(3.0, 1000000.0), 2, "3");
  EXPECT_EQ(c.spills_number, 2);
  // A release that starts after the end of the run sizes one pulse.
  reset_state();
  var_run.deltat = 10.0f;
  read_release("2777.7778 10", spill_line(5.0, 1000000.0), 2, "3");
  EXPECT_EQ(c.spills_number, 1);
}

}  // namespace
}  // namespace orvel
