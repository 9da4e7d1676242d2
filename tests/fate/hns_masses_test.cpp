// Particle masses and initial compartment budgets of chemical spills.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "fate/hns_setup.hpp"
#include "tests/fate/hns_spill_state.hpp"

namespace orvel {
namespace {

using testing::hns_world;

// The seven initial budgets of spill s, in the order surface, beached, air,
// column, outside, floor, dissolved.
using budgets = std::array<double, 7>;

budgets budgets_of(int32_t s) {
  const auto& m = var4;
  return {m.mass_surf_ini(s),  m.mass_beached_ini(s), m.mass_air_ini(s),        m.mass_column_ini(s),
          m.mass_radar_ini(s), m.mass_floor_ini(s),   m.mass_columndisol_ini(s)};
}

TEST(HnsMasses2d, EqualSharesAndTheSlickPerSurfaceParticle) {
  // 1000 particles, 500 kg, 10 m3 over 2000 m2, all afloat.
  hns_world(1000, 1);
  var_cfg.spilledmass(1) = 500.0;
  var_cfg.spillvolume(1) = 10.0;
  var_spill.area_hns(1) = 2000.0f;
  var_spill.density(1) = 880.0f;
  var_spill.viscosity(1) = 0.6f;
  var_part.indp.fill(1);
  getparthnsproperties();
  const auto& m = var4;
  for (int32_t j = 1; j <= 1000; ++j) ASSERT_EQ(m.massparticle(j, 1), 0.5);
  EXPECT_EQ(m.volumeparticle(1), 0.01);
  EXPECT_EQ(m.areaparticlesurf(1), 2.0);
  EXPECT_EQ(m.areaparticlesurftotal(1), 2000.0);
  EXPECT_EQ(budgets_of(1), (budgets{500.0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(var_part.par_surf_ini(1), 1000);
  // The slick starts from the product: density, viscosity, nothing
  // evaporated, no water; no emulsion anywhere.
  EXPECT_EQ(m.dens(1), 880.0);
  EXPECT_EQ(m.visc(1), static_cast<double>(0.6f));
  EXPECT_EQ(m.per_evp(1), 0.0);
  EXPECT_EQ(m.agua(1), 0.0);
  for (int32_t j = 1; j <= 1000; ++j) ASSERT_EQ(m.massparticle_prod(j, 1), 0.0);
  EXPECT_TRUE(var_part.diam_part.allocated());
}

TEST(HnsMasses2d, BudgetsByStateSpillBySpill) {
  // Four spills of 10 particles, 100 kg each (10 kg a particle): a gas in
  // the air, a spill on land, one afloat with two particles over land and
  // one in a dry cell (paused: in no budget), and a sinker on the floor with
  // one particle lost.
  struct spill_case {
    std::vector<int32_t> states;
    budgets expected;
    int32_t surface_particles;
    double area_per_particle;  // m2, of 70 m2
  };
  const spill_case cases[] = {
      {{4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, {0, 0, 100, 0, 0, 0, 0}, 0, 0.0},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 100, 0, 0, 0, 0, 0}, 0, 0.0},
      {{1, 1, 2, 1, 1, 3, 1, 1, 2, 1}, {70, 0, 0, 0, 0, 0, 0}, 7, 10.0},
      {{-1, -1, -1, -2, -1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 10, 90, 0}, 0, 0.0},
  };
  hns_world(10, 4);
  for (int32_t s = 1; s <= 4; ++s) {
    var_cfg.spilledmass(s) = 100.0;
    var_spill.area_hns(s) = 70.0f;
    for (int32_t j = 1; j <= 10; ++j) var_part.indp(j, s) = cases[s - 1].states[j - 1];
  }
  // Values left by an earlier simulation are cleared.
  var4.mass_columndisol_ini.fill(3.0);
  var4.mass_beached_ini.fill(3.0);
  var_part.par_surf_ini.fill(4);
  getparthnsproperties();
  for (int32_t s = 1; s <= 4; ++s) {
    EXPECT_EQ(budgets_of(s), cases[s - 1].expected) << "spill " << s;
    EXPECT_EQ(var_part.par_surf_ini(s), cases[s - 1].surface_particles) << "spill " << s;
    EXPECT_EQ(var4.areaparticlesurf(s), cases[s - 1].area_per_particle) << "spill " << s;
    EXPECT_EQ(var4.areaparticlesurftotal(s), 70.0) << "spill " << s;
  }
}

TEST(HnsMasses2d, ALaterSimulationFindsTheSameValuesInTheSameArrays) {
  hns_world(20, 2);
  var_cfg.spilledmass(1) = 40.0;
  var_cfg.spilledmass(2) = 60.0;
  var_spill.area_hns.fill(10.0f);
  getparthnsproperties();
  const auto first = var4.massparticle;
  const double* storage = var4.massparticle.data();
  // Values that the fate processes write during a simulation.
  var4.massparticle_prod.fill(1.0);
  var4.per_evp.fill(0.5);
  var4.diff_evp.fill(2.0);
  var_currwindwave.wind10.fill(7.0);
  var_currwindwave.currmean.fill(0.1);
  var4.massparticle.fill(0.25);
  getparthnsproperties();
  EXPECT_EQ(var4.massparticle.data(), storage);
  for (int32_t s = 1; s <= 2; ++s) {
    for (int32_t j = 1; j <= 20; ++j) {
      EXPECT_EQ(var4.massparticle(j, s), first(j, s));
      EXPECT_EQ(var4.massparticle_prod(j, s), 0.0);
    }
    EXPECT_EQ(var4.per_evp(s), 0.0);
    EXPECT_EQ(var4.diff_evp(s), 0.0);
    EXPECT_EQ(var_currwindwave.wind10(s), 0.0);
    EXPECT_EQ(var_currwindwave.currmean(s), 0.0);
  }
}

TEST(HnsMasses3d, ParticleMassIsOneDroplet) {
  // A droplet of 50 micrometres at 1000 kg/m3: 1000 x 3.141516 x (2.5e-5)^3
  // = 4.9086e-11 kg (the mass routines leave out the 4/3 of a sphere); with
  // 3.141516 in single precision, 3.1415159702301025, it is
  // 4.90861870348454e-11 kg.
  hns_world(2, 1, 2);
  var_spill.density(1) = 1000.0f;
  var_part.diam_part(1, 1) = 5.0e-5;
  var_part.diam_part(2, 1) = 1.0e-4;
  var_part.indp.fill(5);
  var_hns_extra.equiv_part.allocate(2, 1);
  var_hns_extra.equiv_part(1, 1) = 1.0e10f;
  var_hns_extra.equiv_part(2, 1) = 0.0f;
  getparthnsproperties_3d();
  EXPECT_NEAR(var4.massparticle(1, 1), 4.90861870348454e-11, 1e-13 * 4.9e-11);
  EXPECT_NEAR(var4.massparticle(2, 1), 8.0 * 4.90861870348454e-11, 1e-13 * 3.9e-10);
  // The particle weighs its droplets: 1e10 of them, 0.4909 kg.
  EXPECT_NEAR(var4.mass_column_ini(1), 0.490861870348454, 1e-13);
  EXPECT_EQ(var4.dens(1), 1000.0);
}

TEST(HnsMasses3d, DropletClassesCarryTheSpilledMass) {
  // Five droplet classes dealt to 100 particles as 10, 40, 35, 12 and 3, of
  // 10, 25, 40, 55 and 70 micrometres, a product of 1000 kg/m3 and 2000 kg
  // spilled.  The real droplets of a class share out the spilled mass by the
  // class's mass among the particles; a particle stands for the real
  // droplets of its class over the class's particle count.
  const int32_t n[] = {10, 40, 35, 12, 3};
  const double diameter[] = {10e-6, 25e-6, 40e-6, 55e-6, 70e-6};
  const double spilled = 2000.0;
  float droplet[5], class_mass[5], total = 0.0f;
  for (int k = 0; k < 5; ++k) {
    const double r = diameter[k] / 2.0;
    droplet[k] = static_cast<float>(((1000.0 * static_cast<double>(3.141516f)) * r) * r * r);
    class_mass[k] = droplet[k] * static_cast<float>(n[k]);
    total += class_mass[k];
  }
  hns_world(100, 2, 2);
  var_spill.density.fill(1000.0f);
  var_hns_extra.equiv_part.allocate(100, 2);
  for (int32_t s = 1; s <= 2; ++s) {
    var_cfg.spilledmass(s) = spilled;
    int32_t j = 1;
    for (int k = 0; k < 5; ++k) {
      const float real = static_cast<float>(static_cast<double>(class_mass[k] / total) * spilled);
      const float droplets = real / droplet[k];
      for (int32_t i = 0; i < n[k]; ++i, ++j) {
        var_part.diam_part(j, s) = diameter[k];
        var_hns_extra.equiv_part(j, s) = droplets / static_cast<float>(n[k]);
      }
    }
  }
  // Spill 1 wholly in the column; spill 2 with its first class over a dry
  // cell (paused) and its largest class at the surface.
  var_part.indp.fill(5);
  for (int32_t j = 1; j <= 10; ++j) var_part.indp(j, 2) = 2;
  for (int32_t j = 98; j <= 100; ++j) var_part.indp(j, 2) = 1;
  getparthnsproperties_3d();
  // Single-precision class tables: the sum holds to a few parts in 1e7.
  EXPECT_NEAR(var4.mass_column_ini(1), spilled, 1e-6 * spilled);
  EXPECT_EQ(var4.mass_surf_ini(1), 0.0);
  const double share1 = static_cast<double>(class_mass[0]) / total * spilled;
  const double share5 = static_cast<double>(class_mass[4]) / total * spilled;
  EXPECT_NEAR(var4.mass_surf_ini(2), share5, 1e-6 * spilled);
  EXPECT_NEAR(var4.mass_column_ini(2), spilled - share1 - share5, 1e-6 * spilled);
  EXPECT_EQ(var_part.par_surf_ini(2), 3);
  const auto b = budgets_of(2);
  EXPECT_NEAR(b[0] + b[1] + b[2] + b[3] + b[4] + b[5], spilled - share1, 1e-6 * spilled);
}

TEST(HnsMasses3d, BlowoutParticlesEachCarryAnEqualShare) {
  // A blowout has no droplet classes: each particle is made of as many
  // droplets of its diameter (read from the droplet file) as weigh an equal
  // share of the spilled mass, 750 kg / 50 = 15 kg.
  const int32_t np = 50;
  auto blowout = [&](bool sizeless_last) {
    hns_world(np, 1, 2);
    var_run.blowout__y_n = 1;
    var_cfg.spilledmass(1) = 750.0;
    var_spill.density(1) = 1010.0f;
    for (int32_t j = 1; j <= np; ++j) {
      var_part.diam_part(j, 1) = 1.0e-5 * j;
      var_part.indp(j, 1) = j <= 40 ? 5 : 1;
    }
    if (sizeless_last) var_part.diam_part(np, 1) = 0.0;
    getparthnsproperties_3d();
  };
  blowout(false);
  ASSERT_TRUE(var_hns_extra.equiv_part.allocated());
  for (int32_t j = 1; j <= np; ++j) {
    const double weight = static_cast<double>(var_hns_extra.equiv_part(j, 1)) * var4.massparticle(j, 1);
    EXPECT_NEAR(weight, 15.0, 15.0 * 1e-7) << "particle " << j;
  }
  EXPECT_NEAR(var4.mass_column_ini(1), 40 * 15.0, 1e-6 * 750.0);
  EXPECT_NEAR(var4.mass_surf_ini(1), 10 * 15.0, 1e-6 * 750.0);
  EXPECT_NEAR(var4.mass_column_ini(1) + var4.mass_surf_ini(1), 750.0, 1e-6 * 750.0);
  EXPECT_EQ(var_part.par_surf_ini(1), 10);
  // A droplet of no size weighs nothing however many stand for it: it
  // carries no mass (and no undefined count), the others keep theirs.
  blowout(true);
  EXPECT_EQ(var_hns_extra.equiv_part(np, 1), 0.0f);
  EXPECT_NEAR(var4.mass_surf_ini(1), 9 * 15.0, 1e-6 * 750.0);
}

}  // namespace
}  // namespace orvel
