// The initial slick of spreading oil and the particle masses, slick
// properties and initial compartment masses of every spill.
#include <gtest/gtest.h>

#include <cstdint>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "fate/initial_slick.hpp"

namespace orvel {
namespace {

TEST(InitialArea, SpreadingFormulaAndStartTime) {
  // A = 2.67 (V^5 g drho / nu^2)^(1/6): 1 m3 with drho 0.1 in water of
  // 1e-6 m2/s spreads to about 266.3 m2; 10 m3 with drho 0.15 to 1941.1 m2
  // (the constants in single precision move the values by under 1e-6).
  reset_state();
  auto& c = var_cfg;
  c.spills_number = 2;
  c.vol0.allocate(2);
  c.spillstarttime.allocate(2);
  var_spill.deltarho.allocate(2);
  var_spill.area_oil.allocate(2);
  var_spill.kinemviscosity_water = 1.0e-6;
  c.vol0(1) = 1.0;
  c.vol0(2) = 10.0;
  var_spill.deltarho(1) = 0.1f;
  var_spill.deltarho(2) = 0.15f;
  c.spillstarttime(1) = 1.5;
  c.spillstarttime(2) = 0.0;
  farray<double, 1> tstart;
  tstart.allocate(2);
  initialarea(1, tstart, 1);
  initialarea(2, tstart, 1);
  EXPECT_NEAR(var_spill.area_oil(1), 266.2952, 1e-6 * 266.3);
  EXPECT_NEAR(var_spill.area_oil(2), 1941.0883, 1e-6 * 1941.1);
  EXPECT_EQ(var_spill.area_oil(1), 266.2952880859375f);
  // 1.5 h becomes 5400 s, in place and in the start times.
  EXPECT_EQ(c.spillstarttime(1), 5400.0);
  EXPECT_EQ(tstart(1), 5400.0);
  // A later simulation finds it in seconds already.
  initialarea(1, tstart, 2);
  EXPECT_EQ(c.spillstarttime(1), 5400.0);
  EXPECT_EQ(tstart(1), 5400.0);
}

// Two spills of four particles, 1000 and 2000 kg.
void two_spills(int32_t emulsification) {
  reset_state();
  var_run.particle_number = 4;
  auto& c = var_cfg;
  c.spills_number = 2;
  c.emulsification__y_n = emulsification;
  c.spilledmass.allocate(2);
  c.spilledmass(1) = 1000.0;
  c.spilledmass(2) = 2000.0;
  for (auto* a : {&c.evaporo, &c.emulsiono, &c.flag_tierra}) a->allocate(2);
  c.evaporo.fill(1);
  c.emulsiono.fill(1);
  var_spill.density.allocate(2);
  var_spill.viscosity.allocate(2);
  var_spill.density(1) = 900.5f;
  var_spill.viscosity(2) = 120.25f;
  var_part.indp.allocate(4, 2);
  var_part.indp.fill(1);
  var_part.par_beached.allocate(2);
  auto& m = var4;
  for (auto* a : {&m.mass_surf_ini, &m.mass_beached_ini, &m.mass_column_ini, &m.mass_floor_ini, &m.mass_radar_ini}) {
    a->allocate(2);
  }
}

TEST(PartPro, MassesByParticleStateAndProperties) {
  two_spills(1);
  // Spill 1: surface, water column, floor, beached.  Spill 2: lost, in the
  // air, over land, surface.
  const int32_t states[2][4] = {{1, 5, -1, 0}, {-2, 4, 2, 1}};
  for (int32_t s = 1; s <= 2; ++s) {
    for (int32_t p = 1; p <= 4; ++p) var_part.indp(p, s) = states[s - 1][p - 1];
  }
  var_part.par_beached(1) = 1;
  part_pro();
  auto& m = var4;
  EXPECT_EQ(m.mass_surf_ini(1), 250.0);
  EXPECT_EQ(m.mass_column_ini(1), 250.0);
  EXPECT_EQ(m.mass_floor_ini(1), 250.0);
  EXPECT_EQ(m.mass_beached_ini(1), 250.0);
  EXPECT_EQ(m.mass_radar_ini(1), 0.0);
  // Paused particles (air, over land) are in no budget: spill 2's budgets
  // add up to half its mass.
  EXPECT_EQ(m.mass_radar_ini(2), 500.0);
  EXPECT_EQ(m.mass_surf_ini(2), 500.0);
  EXPECT_EQ(m.mass_beached_ini(2) + m.mass_column_ini(2) + m.mass_floor_ini(2), 0.0);
  for (int32_t p = 1; p <= 4; ++p) EXPECT_EQ(m.massparticle(p, 2), 500.0);
  // With emulsification only the beached particle carries emulsion.
  EXPECT_EQ(m.massparticle_prod(4, 1), 250.0);
  for (int32_t p = 1; p <= 3; ++p) EXPECT_EQ(m.massparticle_prod(p, 1), 0.0);
  EXPECT_EQ(m.dens(1), static_cast<double>(900.5f));
  EXPECT_EQ(m.visc(2), static_cast<double>(120.25f));
  EXPECT_EQ(m.per_evp(1), 0.0);
  EXPECT_EQ(m.agua(2), 0.0);
  EXPECT_EQ(var_currwindwave.wind10.size(), 2);
  EXPECT_EQ(m.diff_evp.size(), 2);
  // Switches untouched: neither spill is wholly on land.
  EXPECT_EQ(var_cfg.evaporo(1), 1);
  EXPECT_EQ(var_cfg.flag_tierra(1), 0);
}

TEST(PartPro, WithoutEmulsificationEveryParticleCarriesItsMass) {
  two_spills(0);
  var_part.indp(2, 1) = 0;
  var_part.par_beached(1) = 1;
  part_pro();
  for (int32_t s = 1; s <= 2; ++s) {
    for (int32_t p = 1; p <= 4; ++p) EXPECT_EQ(var4.massparticle_prod(p, s), var4.massparticle(p, s));
  }
}

TEST(PartPro, ASpillWhollyOnLandNeitherEvaporatesNorEmulsifies) {
  two_spills(1);
  for (int32_t p = 1; p <= 4; ++p) var_part.indp(p, 2) = 0;
  var_part.par_beached(2) = 4;
  part_pro();
  EXPECT_EQ(var_cfg.evaporo(2), 0);
  EXPECT_EQ(var_cfg.emulsiono(2), 0);
  EXPECT_EQ(var_cfg.flag_tierra(2), 1);
  EXPECT_EQ(var4.mass_beached_ini(2), 2000.0);
  EXPECT_EQ(var4.mass_surf_ini(2), 0.0);
  for (int32_t p = 1; p <= 4; ++p) EXPECT_EQ(var4.massparticle_prod(p, 2), 500.0);
  // The other spill keeps its switches and its own budgets.
  EXPECT_EQ(var_cfg.evaporo(1), 1);
  EXPECT_EQ(var4.mass_surf_ini(1), 1000.0);
  EXPECT_EQ(var4.mass_beached_ini(1), 0.0);
}

TEST(PartPro, ASecondSimulationStartsAfresh) {
  two_spills(1);
  part_pro();
  var4.massparticle_prod(1, 1) = 99.0;
  var4.per_evp(1) = 0.5;
  var4.diff_evp(2) = 0.25;
  part_pro();
  EXPECT_EQ(var4.massparticle_prod(1, 1), 0.0);
  EXPECT_EQ(var4.per_evp(1), 0.0);
  EXPECT_EQ(var4.diff_evp(2), 0.0);
  EXPECT_EQ(var4.mass_surf_ini(1), 1000.0);
}

TEST(PartPro, NoParticlesNoMasses) {
  two_spills(1);
  var_run.particle_number = 0;
  var_part.indp.deallocate();
  var_part.indp.allocate(0, 2);
  part_pro();
  EXPECT_EQ(var4.mass_surf_ini(1), 0.0);
  EXPECT_EQ(var4.massparticle.size(), 0);
  EXPECT_EQ(var4.dens(1), static_cast<double>(var_spill.density(1)));
}

}  // namespace
}  // namespace orvel
