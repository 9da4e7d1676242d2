// Behaviour classes of chemicals and the process switches they prune.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "fate/hns_setup.hpp"
#include "tests/fate/hns_spill_state.hpp"

namespace orvel {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

TEST(HnsBehaviourClass, HandbookSubstancesAndBandEdges) {
  struct class_case {
    const char* what;
    float p, s, rho, rhow;  // kPa, mg/L, kg/m3, kg/m3
    int32_t hnsclass;
  };
  // Substances at 20 C from handbook data (vapour pressure, solubility in
  // water, liquid density): benzene 10 kPa, 1790 mg/L, 879 kg/m3; styrene
  // 0.67 kPa, 300 mg/L, 906 kg/m3; ammonia 857 kPa, 540 g/L, 682 kg/m3
  // (liquefied); methanol 12.9 kPa, miscible, 792 kg/m3.
  const class_case cases[] = {
      {"benzene: evaporator", 10.0f, 1790.0f, 879.0f, 1025.0f, 3},
      {"styrene: floater-evaporator", 0.67f, 300.0f, 906.0f, 1025.0f, 5},
      {"ammonia: gas-dissolver", 857.0f, 540000.0f, 682.0f, 1025.0f, 2},
      {"methanol: dissolver-evaporator", 12.9f, 1.0e6f, 792.0f, 1025.0f, 9},
      {"a gas of low solubility", 300.0f, 100.0f, 600.0f, 1025.0f, 1},
      // 101.3 and 0.3 are the single-precision values: a product whose
      // pressure is stored as exactly those is not above them (against the
      // double-precision 101.3 and 0.3 it would be).
      {"P = 101.3 exactly is no gas", 101.3f, 5000.0f, 900.0f, 1025.0f, 3},
      {"P just above 101.3", std::nextafter(101.3f, 200.0f), 5000.0f, 900.0f, 1025.0f, 1},
      {"P = 0.3 exactly is a floater", 0.3f, 500.0f, 900.0f, 1025.0f, 7},
      {"P just above 0.3", std::nextafter(0.3f, 1.0f), 500.0f, 900.0f, 1025.0f, 5},
      {"gap between the floater bands", 0.2f, 5000.0f, 950.0f, 1025.0f, 11},
      {"floater-dissolver", 0.2f, 20000.0f, 950.0f, 1025.0f, 8},
      {"floater-dissolver by the fixed 1025 limit", 0.2f, 20000.0f, 1020.0f, 1010.0f, 8},
      {"classes 5 and 6 fail: sinker-dissolver", 1.0f, 5000.0f, 1020.0f, 1010.0f, 11},
      {"floater-evaporator-dissolver", 1.0f, 5000.0f, 900.0f, 1025.0f, 6},
      {"evaporator-dissolver", 5.0f, 20000.0f, 1020.0f, 1010.0f, 4},
      {"as heavy as the water is light enough", 5.0f, 5000.0f, 1025.0f, 1025.0f, 3},
      {"heavier than the water", 5.0f, 5000.0f, 1026.0f, 1025.0f, 11},
      {"dissolver", 5.0f, 60000.0f, 1100.0f, 1025.0f, 10},
      // The limits themselves.  S = 10000 mg/L is still an evaporator; just
      // above it, an evaporator-dissolver.
      {"S = 10000 exactly: evaporator", 5.0f, 10000.0f, 900.0f, 1025.0f, 3},
      {"S just above 10000", 5.0f, std::nextafter(10000.0f, 2.0e4f), 900.0f, 1025.0f, 4},
      // A density equal to the fixed 1025 kg/m3 passes it (over a lighter
      // sea water, which the classes with the actual water density fail).
      {"rho = 1025 exactly: evaporator-dissolver", 5.0f, 20000.0f, 1025.0f, 1010.0f, 4},
      {"rho = 1025 exactly: floater-evaporator", 1.0f, 500.0f, 1025.0f, 1010.0f, 5},
      {"rho = 1025 exactly: floater-dissolver", 0.2f, 20000.0f, 1025.0f, 1010.0f, 8},
      {"rho just above 1025", 5.0f, 20000.0f, std::nextafter(1025.0f, 2000.0f), 1010.0f, 11},
      // P = 10 kPa is no dissolver-evaporator yet.
      {"P = 10 exactly: dissolver", 10.0f, 60000.0f, 900.0f, 1025.0f, 10},
      {"P just above 10: dissolver-evaporator", std::nextafter(10.0f, 20.0f), 60000.0f, 900.0f, 1025.0f, 9},
      {"heavy and volatile dissolver", 20.0f, 60000.0f, 1100.0f, 1025.0f, 11},
      {"sinker", 0.01f, 100.0f, 1100.0f, 1025.0f, 12},
      {"S not a number", 10.0f, nan, 879.0f, 1025.0f, 13},
      {"P not a number, insoluble", nan, 500.0f, 879.0f, 1025.0f, 12},
      {"P not a number, soluble", nan, 5000.0f, 879.0f, 1025.0f, 11},
      {"P not a number, miscible", nan, 1.0e6f, 879.0f, 1025.0f, 11},
  };
  for (const auto& c : cases) {
    int32_t hnsclass = 0;
    findhnsbehaviourclass(1, c.p, c.s, c.rho, c.rhow, hnsclass);
    EXPECT_EQ(hnsclass, c.hnsclass) << c.what;
  }
}

// The six switches in the order evaporo, volatilization, entrainment,
// dissolution, sedimentation, degradation.
using switches = std::array<int32_t, 6>;

switches switches_of(int32_t s) {
  const auto& c = var_cfg;
  return {c.evaporo(s), c.volatilization(s), c.entrainment(s), c.dissolution(s), c.sedimentation(s),
          c.degradation(s)};
}

TEST(HnsProcessSwitches, PrunedByClassAndStart) {
  struct switch_case {
    const char* what;
    int32_t hnsclass;
    double surf, column;       // initial surface and column masses, kg
    int32_t beached, air;      // particles on land, in the air (of 10)
    int32_t degradation;       // the scenario's degradation switch
    switches expected;
    int32_t flag_tierra, flag_air;
  };
  const switch_case cases[] = {
      {"class 1 at the surface", 1, 0.0, 0.0, 0, 10, 1, {0, 0, 0, 0, 0, 0}, 0, 1},
      {"class 1 at depth", 1, 0.0, 5.0, 0, 0, 1, {0, 0, 0, 0, 0, 0}, 0, 1},
      {"class 2 at the surface", 2, 5.0, 0.0, 0, 0, 1, {1, 1, 1, 0, 0, 1}, 0, 0},
      {"class 2 at depth", 2, 0.0, 5.0, 0, 0, 1, {1, 1, 1, 1, 1, 1}, 0, 0},
      {"class 12", 12, 0.0, 0.0, 0, 0, 1, {0, 0, 0, 0, 0, 1}, 0, 0},
      {"class 12 without degradation", 12, 0.0, 0.0, 0, 0, 0, {0, 0, 0, 0, 0, 0}, 0, 0},
      {"class 12 wholly on land: land first", 12, 0.0, 0.0, 10, 0, 1, {0, 0, 0, 0, 0, 0}, 1, 0},
      {"class 3 wholly in the air", 3, 0.0, 0.0, 0, 10, 1, {0, 0, 0, 0, 0, 0}, 0, 1},
      {"class 3 at the surface", 3, 5.0, 0.0, 0, 0, 1, {1, 1, 1, 1, 1, 1}, 0, 0},
      {"class 3 partly on land", 3, 5.0, 0.0, 9, 0, 1, {1, 1, 1, 1, 1, 1}, 0, 0},
      {"class 13 behaves as a floater", 13, 5.0, 0.0, 0, 0, 1, {1, 1, 1, 1, 1, 1}, 0, 0},
  };
  for (const auto& c : cases) {
    testing::hns_world(10, 1);
    var_spill.hnsbehaviourclass(1) = c.hnsclass;
    var4.mass_surf_ini(1) = c.surf;
    var4.mass_column_ini(1) = c.column;
    var_part.par_beached(1) = c.beached;
    var_part.par_air(1) = c.air;
    var_cfg.degradation(1) = c.degradation;
    getdegradationprocesses();
    EXPECT_EQ(switches_of(1), c.expected) << c.what;
    EXPECT_EQ(var_cfg.flag_tierra(1), c.flag_tierra) << c.what;
    EXPECT_EQ(var_cfg.flag_air(1), c.flag_air) << c.what;
  }
}

TEST(HnsProcessSwitches, EachSpillItsOwnAndOffForTheRun) {
  // A gas-dissolver at the surface beside the same product at depth: only
  // the first loses dissolution and sorption.
  testing::hns_world(10, 2);
  var_spill.hnsbehaviourclass.fill(2);
  var4.mass_surf_ini(1) = 5.0;
  var4.mass_column_ini(2) = 5.0;
  getdegradationprocesses();
  EXPECT_EQ(switches_of(1), (switches{1, 1, 1, 0, 0, 1}));
  EXPECT_EQ(switches_of(2), (switches{1, 1, 1, 1, 1, 1}));
  // A second simulation that finds spill 1 at depth does not give back what
  // the first took: the scenario's switches are not restored.
  var4.mass_surf_ini(1) = 0.0;
  var4.mass_column_ini(1) = 5.0;
  getdegradationprocesses();
  EXPECT_EQ(switches_of(1), (switches{1, 1, 1, 0, 0, 1}));
  EXPECT_EQ(switches_of(2), (switches{1, 1, 1, 1, 1, 1}));
}

}  // namespace
}  // namespace orvel
