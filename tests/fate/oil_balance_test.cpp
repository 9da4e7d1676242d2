// Mass balance of an oil spill over its compartments and the slick
// properties: masses checked by conservation and by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fate/oil_weathering.hpp"
#include "tests/fate/oil_spill_state.hpp"

namespace orvel {
namespace {

using testing::one_oil_spill;

// 1000 kg over ten particles of 100 kg, states as given (all afloat when
// empty), evaporation, dispersion and emulsification on.
void balanced_spill(std::initializer_list<int32_t> states = {}) {
  one_oil_spill(10, 600.0f);
  var_cfg.masa0(1) = 1000.0;
  var_cfg.spilledmass(1) = 1000.0;
  var_cfg.evaporo(1) = 1;
  var_cfg.emulsiono(1) = 1;
  var_cfg.verticaldispersion__y_n = 1;
  var_spill.maxevaporation(1) = 40.0f;
  var4.massparticle.fill(100.0);
  var4.massparticle_prod.fill(100.0);
  int32_t j = 1;
  for (int32_t s : states) var_part.indp(j++, 1) = s;
}

double released_in_compartments() {
  const auto& m = var4;
  return m.mass_surf(1) + m.mass_beached(1) + m.mass_column(1) + m.mass_floor(1) + m.mass_radar(1) + m.masaevp(1) +
         m.mass_disp_cumul(1);
}

TEST(BalanceVertidoTierra, CompartmentsByParticleState) {
  // Two afloat, two beached (emulsion 150 kg each), column, floor, lost,
  // and three in states 2, 3, 4 that belong to no compartment.
  balanced_spill({1, 1, 0, 0, 5, -1, -2, 2, 3, 4});
  var4.massparticle_prod(3, 1) = 150.0;
  var4.massparticle_prod(4, 1) = 150.0;
  var4.massprodemuls_surf(1) = 77.0;
  balance_vertido_tierra(1);
  const auto& m = var4;
  EXPECT_EQ(m.mass_surf(1), 200.0);
  EXPECT_EQ(m.mass_beached(1), 200.0);
  EXPECT_EQ(m.massprodemuls_beach(1), 300.0);
  EXPECT_EQ(m.mass_column(1), 100.0);
  EXPECT_EQ(m.mass_floor(1), 100.0);
  EXPECT_EQ(m.mass_radar(1), 100.0);
  EXPECT_EQ(m.massprodemuls_surf(1), 0.0);
  // Without emulsification the beached emulsion is the beached oil.
  var_cfg.emulsiono(1) = 0;
  balance_vertido_tierra(1);
  EXPECT_EQ(m.massprodemuls_beach(1), 200.0);
}

TEST(BalanceMasa, EvaporationDispersionAndParticleShares) {
  // 1000 kg afloat: 5 % evaporates (50 kg), then 30 kg disperse; 920 kg
  // shared by the ten surface particles.
  balanced_spill();
  balance_vertido_tierra(1);
  var4.diff_evp(1) = 0.05;
  var4.massdisp(1) = 30.0;
  balance_masa(1);
  const auto& m = var4;
  EXPECT_EQ(m.masaevp(1), 50.0);
  EXPECT_EQ(m.per_evp(1), 0.05);
  EXPECT_EQ(m.mass_disp_cumul(1), 30.0);
  EXPECT_EQ(m.mass_surf(1), 920.0);
  for (int32_t j = 1; j <= 10; ++j) EXPECT_EQ(m.massparticle(j, 1), 92.0);
  EXPECT_EQ(released_in_compartments(), 1000.0);
  // The next step's re-sum finds the same floating mass.
  balance_vertido_tierra(1);
  EXPECT_DOUBLE_EQ(m.mass_surf(1), 920.0);
}

TEST(BalanceMasa, EvaporationStopsAtItsMaximum) {
  // 380 kg evaporated of 1000 (maximum 40 %): a step of 10 % of the 250 kg
  // afloat would reach 405 kg, so only the remaining 20 kg leave.
  balanced_spill({1, 1, 1, 1, 1, 0, 0, 0, 0, 0});
  var4.massparticle.fill(50.0);
  balance_vertido_tierra(1);
  var4.masaevp(1) = 380.0;
  var4.diff_evp(1) = 0.1;
  balance_masa(1);
  const auto& m = var4;
  EXPECT_EQ(m.per_evp(1), static_cast<double>(0.4f));
  EXPECT_NEAR(m.masaevp(1), 1000.0 * static_cast<double>(0.4f), 1e-9);
  EXPECT_NEAR(m.mass_surf(1), 250.0 - (1000.0 * static_cast<double>(0.4f) - 380.0), 1e-9);
  EXPECT_EQ(var_cfg.evaporo(1), 0);
  EXPECT_EQ(m.diff_evp(1), 0.0);
  // At the maximum with nothing afloat: the allowance is formed directly,
  // not as (x / 0) * 0.
  balanced_spill({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  balance_vertido_tierra(1);
  var4.masaevp(1) = 1000.0 * static_cast<double>(0.4f);
  var4.diff_evp(1) = 0.05;
  balance_masa(1);
  EXPECT_EQ(m.mass_surf(1), 0.0);
  EXPECT_EQ(m.masaevp(1), 1000.0 * static_cast<double>(0.4f));
  EXPECT_EQ(var_cfg.evaporo(1), 0);
}

TEST(BalanceMasa, EvaporatedFractionOfTheOilThatHasComeUp) {
  // 600 kg afloat, 300 kg rising and 100 kg on the floor: 10 % of the
  // floating 600 kg evaporates, a tenth of the oil that has come up (the
  // slick's fraction), while the oil below keeps its mass.
  balanced_spill({1, 1, 1, 1, 1, 1, 5, 5, 5, -1});
  var_cfg.verticaldispersion__y_n = 0;
  balance_vertido_tierra(1);
  var4.diff_evp(1) = 0.1;
  balance_masa(1);
  const auto& m = var4;
  EXPECT_DOUBLE_EQ(m.masaevp(1), 60.0);
  EXPECT_DOUBLE_EQ(m.per_evp(1), 0.1);
  EXPECT_DOUBLE_EQ(released_in_compartments(), 1000.0);
  for (int32_t j = 7; j <= 10; ++j) EXPECT_EQ(m.massparticle(j, 1), 100.0) << j;
  // 225 kg of the 600 kg come up evaporated, 375 kg afloat: a step of 10 %
  // would pass the maximum (40 % of 600 kg, 240 kg), so only the remaining
  // 15 kg leave, and evaporation goes on: the 400 kg still below will lower
  // the fraction when they come up.
  var4.masaevp(1) = 225.0;
  for (int32_t j = 1; j <= 6; ++j) var4.massparticle(j, 1) = 62.5;
  balance_vertido_tierra(1);
  balance_masa(1);
  EXPECT_NEAR(m.mass_surf(1), 360.0, 1e-5);  // 40 % in single precision
  EXPECT_DOUBLE_EQ(m.masaevp(1), 600.0 * static_cast<double>(0.4f));
  EXPECT_EQ(m.per_evp(1), static_cast<double>(0.4f));
  EXPECT_EQ(var_cfg.evaporo(1), 1);
  // They come up: 1000 kg of oil have, of which the 240 kg evaporated are
  // 24 %; the next step's 10 % of the 760 kg afloat makes it 31.6 %.
  for (int32_t j = 7; j <= 10; ++j) var_part.indp(j, 1) = 1;
  balance_vertido_tierra(1);
  var4.diff_evp(1) = 0.1;
  balance_masa(1);
  EXPECT_NEAR(m.per_evp(1), 0.316, 1e-8);
  EXPECT_NEAR(released_in_compartments(), 1000.0, 1e-9);
}

TEST(BalanceMasa, ReferenceMassOfInstantaneousAndContinuousReleases) {
  struct row {
    std::string what;
    int32_t instant_contin;
    double masa0, spilledmass;
    double per_evp;
  } rows[] = {
      {"instantaneous: the released mass", 1, 1000.0, 250.0, 0.1},
      {"a pulse: its own mass", 2, 4000.0, 1000.0, 0.1},
      {"no reference mass: nothing booked", 1, 0.0, 1000.0, 0.0},
  };
  for (const auto& r : rows) {
    balanced_spill();
    var_cfg.spill__instant_contin = r.instant_contin;
    var_cfg.masa0(1) = r.masa0;
    var_cfg.spilledmass(1) = r.spilledmass;
    balance_vertido_tierra(1);
    var4.diff_evp(1) = 0.1;
    var_cfg.verticaldispersion__y_n = 0;
    balance_masa(1);
    EXPECT_EQ(var4.per_evp(1), r.per_evp) << r.what;
    EXPECT_EQ(var4.mass_surf(1) + var4.masaevp(1), 1000.0) << r.what;
  }
}

TEST(BalanceMasa, DispersionLargerThanTheFloatingMass) {
  balanced_spill({1, 1, 0, 0, 0, 0, 0, 0, 0, 0});
  balance_vertido_tierra(1);
  var_cfg.evaporo(1) = 0;
  var4.mass_disp_cumul(1) = 10.0;
  var4.massdisp(1) = 500.0;
  balance_masa(1);
  EXPECT_EQ(var4.mass_surf(1), 0.0);
  EXPECT_EQ(var4.massdisp(1), 200.0);
  EXPECT_EQ(var4.mass_disp_cumul(1), 210.0);
  for (int32_t j = 1; j <= 2; ++j) EXPECT_EQ(var4.massparticle(j, 1), 0.0);
}

TEST(BalanceMasa, WaterAndEmulsionMasses) {
  // 600 kg afloat on six particles, four beached particles of 100 kg
  // carrying 150 kg of emulsion each; water content 0.6: 900 kg of water.
  balanced_spill({1, 1, 1, 1, 1, 1, 0, 0, 0, 0});
  for (int32_t j = 7; j <= 10; ++j) var4.massparticle_prod(j, 1) = 150.0;
  var_cfg.evaporo(1) = 0;
  var_cfg.verticaldispersion__y_n = 0;
  var4.agua(1) = 0.6;
  balance_vertido_tierra(1);
  balance_masa(1);
  const auto& m = var4;
  EXPECT_NEAR(m.mass_waterinemulsion(1), 900.0, 1e-9);
  EXPECT_NEAR(m.massprodemuls_surf(1), 1500.0, 1e-9);
  EXPECT_NEAR(m.mass_emulsion_surf_beach(1), 2100.0, 1e-9);
  // A floating particle carries the floating emulsion over the surface
  // particles, 250 kg; beached ones keep theirs.
  for (int32_t j = 1; j <= 6; ++j) EXPECT_NEAR(m.massparticle_prod(j, 1), 250.0, 1e-9) << j;
  for (int32_t j = 7; j <= 10; ++j) EXPECT_EQ(m.massparticle_prod(j, 1), 150.0) << j;
  // A particle that beaches brings its share, and the beached emulsion grows
  // by exactly that: no emulsion is counted twice.
  var_part.indp(1, 1) = 0;
  balance_vertido_tierra(1);
  balance_masa(1);
  EXPECT_NEAR(m.massprodemuls_beach(1), 850.0, 1e-9);
  EXPECT_NEAR(m.mass_emulsion_surf_beach(1), 850.0 + 500.0 * 2.5, 1e-9);

  // Emulsification off, or a water fraction of 1 or more: the stored water
  // mass stays.
  for (auto [emulsiono, y] : {std::pair{0, 0.6}, std::pair{1, 1.0}}) {
    balanced_spill();
    var_cfg.emulsiono(1) = emulsiono;
    var_cfg.evaporo(1) = 0;
    var_cfg.verticaldispersion__y_n = 0;
    var4.agua(1) = y;
    var4.mass_waterinemulsion(1) = 123.0;
    balance_vertido_tierra(1);
    balance_masa(1);
    EXPECT_EQ(m.mass_waterinemulsion(1), 123.0) << emulsiono;
    EXPECT_EQ(m.massprodemuls_surf(1), 1123.0) << emulsiono;
    EXPECT_TRUE(std::isfinite(m.massparticle_prod(1, 1))) << emulsiono;
    // Without emulsification the particles keep the emulsion mass they
    // started with (their own oil): no share of a water mass is written.
    if (emulsiono == 0) {
      for (int32_t j = 1; j <= 10; ++j) EXPECT_EQ(m.massparticle_prod(j, 1), 100.0) << j;
    }
  }
}

// Oil of 900 kg/m3 and 100 cSt at the water temperature (the scenario
// reader's reference temperatures), 1000 kg afloat.
void aged_slick(double agua, double per_evp, int32_t emulsiono) {
  balanced_spill();
  auto& sp = var_spill;
  sp.watertemperature(1) = 288.0f;
  sp.densityreferencetemperature(1) = 288.0f;
  sp.viscosityreferencetemperature(1) = 288.0f;
  sp.density(1) = 900.0f;
  sp.viscosity(1) = 100.0f;
  sp.waterdensity(1) = 1025.0f;
  sp.c6(1) = 10.0f;
  sp.deltarho(1) = 0.5f;
  var_cfg.emulsiono(1) = emulsiono;
  var4.agua(1) = agua;
  var4.per_evp(1) = per_evp;
  var4.mass_surf(1) = 1000.0;
  var4.massprodemuls_surf(1) = 2000.0;
}

TEST(Evaluo, DensityViscosityAndVolume) {
  // Y 0.5, 10 % evaporated: density 1025 * 0.5 + 0.5 * 900 * (1 + 0.18006 *
  // 0.1) = 970.6027; viscosity 100 * exp(2.5 * 0.5 / (1 - 0.65 * 0.5)) *
  // exp(10 * 0.1) = 100 * 6.371608 * 2.718282; volume of the 2000 kg of
  // emulsion.
  aged_slick(0.5, 0.1, 1);
  evaluo(1);
  const auto& m = var4;
  EXPECT_NEAR(m.dens(1), 970.6027, 1e-4);
  EXPECT_NEAR(m.visc(1), 100.0 * 6.371608 * std::exp(1.0), 1e-3);
  EXPECT_NEAR(m.visc_emul, 6.371608, 1e-6);
  EXPECT_NEAR(var_cfg.spillvolume(1), 2000.0 / 970.6027, 1e-6);
  EXPECT_EQ(var_spill.deltarho(1), 0.5f);  // only the spreading update sets it
  // Emulsification off: the volume of the floating oil.
  aged_slick(0.0, 0.0, 0);
  evaluo(1);
  EXPECT_NEAR(var_cfg.spillvolume(1), 1000.0 / 900.0, 1e-9);
}

TEST(Evaluo, SpreadingUpdateSetsThicknessAndFayDensityDifference) {
  farray<double, 1> area;
  area.allocate(1);
  area(1) = 500.0;
  for (int32_t algorithm : {1, 2}) {
    aged_slick(0.0, 0.0, 0);
    var_cfg.spreadalgorithm__adios2_leher_hns = algorithm;
    evaluo_spread(1, area);
    EXPECT_NEAR(var_cfg.thick(1), 1000.0 / 900.0 / 500.0, 1e-12) << algorithm;
    // (1025 - 900) / 1025 for Fay; Lehr leaves it.
    EXPECT_EQ(var_spill.deltarho(1), algorithm == 1 ? 125.0f / 1025.0f : 0.5f) << algorithm;
  }
}

}  // namespace
}  // namespace orvel
