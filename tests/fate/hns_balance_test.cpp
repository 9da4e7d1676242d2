// Mass of a chemical spill moved between its particles and its
// compartments, and the properties of its floating slick.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fate/hns_slick.hpp"
#include "tests/fate/hns_slick_state.hpp"

namespace orvel {
namespace {

using testing::hns_slick;
using testing::masses;
using testing::states;

// Surface, beached, column, floor, outside and air compartments of spill 1.
using compartments = std::array<double, 6>;

compartments compartments_now() {
  const auto& m = var4;
  return {m.mass_surf(1), m.mass_beached(1), m.mass_column(1), m.mass_floor(1), m.mass_radar(1), m.mass_air(1)};
}

void set_compartments(const compartments& c) {
  auto& m = var4;
  m.mass_surf(1) = c[0];
  m.mass_beached(1) = c[1];
  m.mass_column(1) = c[2];
  m.mass_floor(1) = c[3];
  m.mass_radar(1) = c[4];
  m.mass_air(1) = c[5];
}

std::vector<double> particle_masses(int32_t np) {
  std::vector<double> out;
  for (int32_t j = 1; j <= np; ++j) out.push_back(var4.massparticle(j, 1));
  return out;
}

TEST(HnsResum, TwoDimensionsSumsParticleMassesByState) {
  // Powers of two, so every sum shows which particles went into it: the
  // paused particles (over land, in the air) count nowhere, and the air
  // compartment is not touched in 2-D.
  hns_slick(8);
  states({1, 1, 0, 5, -1, -2, 2, 4});
  masses({1, 2, 4, 8, 16, 32, 64, 128});
  set_compartments({-1, -1, -1, -1, -1, 99});
  balance_vertido_tierra_hns(1);
  EXPECT_EQ(compartments_now(), (compartments{3, 4, 8, 16, 32, 99}));
}

TEST(HnsResum, ThreeDimensionsWeighsParticlesByTheirDroplets) {
  // Droplet masses 1..8 kg standing for 2 droplets each (0.5 for the beached
  // one).  The re-sum before the fate processes counts the surface
  // particles and leaves the air alone; the one after them fills the air and
  // leaves the outside mass and the count alone.
  hns_slick(8, 2);
  states({1, 1, 0, 5, -1, -2, 4, 2});
  masses({1, 2, 3, 4, 5, 6, 7, 8});
  var_hns_extra.equiv_part.fill(2.0f);
  var_hns_extra.equiv_part(3, 1) = 0.5f;
  set_compartments({-1, -1, -1, -1, -1, 99});
  balance_vertido_tierra_hns_3d(1);
  EXPECT_EQ(compartments_now(), (compartments{6, 1.5, 8, 10, 12, 99}));
  EXPECT_EQ(var_part.numpartsurfevap, 2);

  set_compartments({-1, -1, -1, -1, 77, -1});
  var_part.numpartsurfevap = 55;
  updateparthnsproperties_3d(1);
  EXPECT_EQ(compartments_now(), (compartments{6, 1.5, 8, 10, 77, 14}));
  EXPECT_EQ(var_part.numpartsurfevap, 55);
}

TEST(HnsShareBack, EachCompartmentSharedAmongItsOwnParticles) {
  struct row {
    std::string what;
    std::vector<int32_t> indp;
    compartments held;  // the compartments after the fate processes
    std::vector<double> expected;
    double area_each;  // -1: the slick shares are left as they were
  };
  // Particles start at 7 kg each; the slick area is 600 m2; 100 kg sorbed.
  const std::vector<row> rows = {
      {"every particle beached: no floating share", {0, 0, 0, 0}, {50, 10, 0, 0, 0, 0}, {2.5, 2.5, 2.5, 2.5}, -1},
      {"floor particles with sorbed mass present carry the floor alone",
       {-1, -1, 1, 1},
       {9, 0, 0, 6, 0, 0},
       {3, 3, 4.5, 4.5},
       300},
      {"a particle paused over land keeps its mass",
       {1, 2, 1, 0},
       {9, 5, 0, 0, 0, 0},
       {4.5, 7, 4.5, 5},
       300},
      {"column, outside and air particles keep their masses",
       {5, -2, 4, 1},
       {3, 0, 40, 0, 40, 40},
       {7, 7, 7, 3},
       600},
  };
  for (const auto& r : rows) {
    hns_slick(4);
    for (int32_t j = 1; j <= 4; ++j) var_part.indp(j, 1) = r.indp[j - 1];
    var4.massparticle.fill(7.0);
    var4.mass_sed_cumul(1) = 100.0f;
    var_spill.area_hns(1) = 600.0f;
    var4.areaparticlesurf(1) = -1.0;
    var4.areaparticlesurftotal(1) = -1.0;
    set_compartments(r.held);
    updateparthnsproperties(1);
    EXPECT_EQ(particle_masses(4), r.expected) << r.what;
    EXPECT_EQ(var4.areaparticlesurf(1), r.area_each) << r.what;
    EXPECT_EQ(var4.areaparticlesurftotal(1), r.area_each < 0 ? -1.0 : 600.0) << r.what;
  }
}

TEST(HnsShareBack, RepeatedStepsKeepTheMassOfEveryCompartment) {
  // Re-sum, share back, re-sum again, ten times over, with a paused
  // particle and sorbed mass present: the compartments are a fixed point,
  // so no mass is lost or made from one step to the next.
  hns_slick(9);
  states({1, 1, 2, 0, 0, -1, -1, 5, -2});
  masses({1, 2, 3, 4, 5, 6, 7, 8, 9});
  var4.mass_sed_cumul(1) = 50.0f;
  var_spill.area_hns(1) = 100.0f;
  balance_vertido_tierra_hns(1);
  const compartments first = compartments_now();
  EXPECT_EQ(first, (compartments{3, 9, 8, 13, 9, 0}));
  for (int step = 0; step < 10; ++step) {
    updateparthnsproperties(1);
    balance_vertido_tierra_hns(1);
    ASSERT_EQ(compartments_now(), first) << step;
  }
  EXPECT_EQ(var4.massparticle(3, 1), 3.0);  // the paused particle
}

// A slick at its reference temperatures, density 900 kg/m3, in sea water of
// 1025 kg/m3, with four surface particles (of np).
void slick_for_properties(int32_t np = 4) {
  hns_slick(np);
  auto& sp = var_spill;
  sp.density(1) = 900.0f;
  sp.viscosity(1) = 2.0f;
  sp.waterdensity(1) = 1025.0f;
  sp.watertemperature(1) = 288.0f;
  sp.densityreferencetemperature(1) = 288.0f;
  sp.viscosityreferencetemperature(1) = 288.0f;
  sp.ct = 0.0008f;
  sp.c5 = 5000.0f;
  sp.deltarho(1) = -7.0f;
  var_part.par_surf(1) = 4;
  var_cfg.minspillthickness(1) = 5.0e-4;
}

TEST(HnsProperties, ThicknessAndTheSlickHeldAtItsMinimum) {
  struct row {
    std::string what;
    double floating_kg, area, minimum;
    double thick, area_after;
  };
  // 900 kg of floating product is 1 m3.
  const std::vector<row> rows = {
      {"no slick area: no thickness, area kept", 900, 0, 5e-4, 0, 0},
      {"thicker than the minimum", 900, 1000, 5e-4, 1e-3, 1000},
      {"thinner than the minimum: held at it, area volume / minimum", 900, 10000, 5e-4, 5e-4, 2000},
      {"no floating mass: held at the minimum with no area", 0, 10000, 5e-4, 5e-4, 0},
      {"a minimum of 0 holds nothing", 0, 100, 0, 0, 100},
      {"a negative minimum holds nothing", 900, 1000, -1e-3, 1e-3, 1000},
  };
  for (const auto& r : rows) {
    slick_for_properties();
    var4.mass_surf(1) = r.floating_kg;
    var_cfg.minspillthickness(1) = r.minimum;
    farray<double, 1> slick;
    slick.allocate(1);
    slick(1) = r.area;
    evaluo_hns(1, slick);
    EXPECT_EQ(var_cfg.spillvolume(1), r.floating_kg / 900.0) << r.what;
    EXPECT_EQ(var4.volumeparticle(1), r.floating_kg / 900.0 / 4.0) << r.what;
    EXPECT_NEAR(var_cfg.thick(1), r.thick, 1e-15) << r.what;
    EXPECT_NEAR(slick(1), r.area_after, 1e-9) << r.what;
    EXPECT_TRUE(std::isfinite(slick(1)) && std::isfinite(var_cfg.thick(1))) << r.what;
  }
  // The held thickness is the minimum itself, to the last bit.
  slick_for_properties();
  var4.mass_surf(1) = 900.0;
  farray<double, 1> slick;
  slick.allocate(1);
  slick(1) = 1.0e4;
  evaluo_hns(1, slick);
  EXPECT_EQ(var_cfg.thick(1), 5.0e-4);
}

TEST(HnsProperties, DensityAndViscosityAtTheWaterTemperature) {
  // 10 K above the reference: density (1 - 10 * 8e-4) * 900 = 892.8 kg/m3;
  // viscosity 2 exp(10 c5) with c5 0.01 per K: 2 e^0.1 = 2.2103418 cSt.
  // With Fay spreading deltarho follows: (1025 - 892.8) / 1025.
  struct row {
    int32_t spreading, algorithm;
    float deltarho;
  };
  for (const row& r : {row{1, 1, 0.1289756f}, row{1, 3, -7.0f}, row{0, 1, -7.0f}}) {
    slick_for_properties();
    var_cfg.spreading__y_n = r.spreading;
    var_cfg.spreadalgorithm__adios2_leher_hns = r.algorithm;
    var_spill.watertemperature(1) = 298.0f;
    var_spill.c5 = 0.01f;
    var4.mass_surf(1) = 892.8;
    farray<double, 1> slick;
    slick.allocate(1);
    slick(1) = 1000.0;
    evaluo_hns(1, slick);
    EXPECT_NEAR(var4.dens(1), 892.8, 892.8 * 1e-6);
    EXPECT_NEAR(var4.visc(1), 2.2103418, 2.2103418 * 1e-6);
    EXPECT_NEAR(var_cfg.spillvolume(1), 1.0, 1e-6);
    EXPECT_NEAR(var_spill.deltarho(1), r.deltarho, 1e-6) << r.spreading << " " << r.algorithm;
  }
}

TEST(HnsProperties, TheThickSlickSharesItsVolumeAmongItsSurfaceParticles) {
  // 360 kg afloat (0.4 m3) on four surface particles of eight, the others
  // beached and on the floor, over 400 m2: each surface particle holds 0.1
  // m3, and the thick-slick growth (rate constant 2, 600 s) is that of four
  // particles of 0.1 m3, m = 2 * 100^(1/3) * (0.1 / 100)^(4/3) * 0.25^(2/3)
  // = 3.68403e-4 m2/s: 400.88417 m2 after the step.  (The floating volume
  // shared among all eight particles would give 400.35088 m2.)
  slick_for_properties(8);
  testing::states({1, 0, 1, -1, 1, 0, 1, -1});
  var4.mass_surf(1) = 360.0;
  var_cfg.spreading__y_n = 1;
  var_cfg.spreadalgorithm__adios2_leher_hns = 3;
  var_calib.spreadingrateconstant = 2.0;
  farray<double, 1> slick;
  slick.allocate(1);
  slick(1) = 400.0;
  evaluo_hns(1, slick);
  EXPECT_NEAR(var4.volumeparticle(1), 0.1, 1e-15);
  double r = 0.0, q = 0.0;
  spreadinghns(1, 3, slick, r, q);
  EXPECT_NEAR(slick(1), 400.88417, 1e-5);
}

TEST(HnsProperties, NoSurfaceParticleGivesNoVolumePerParticle) {
  slick_for_properties();
  var_part.par_surf(1) = 0;
  var4.mass_surf(1) = 450.0;
  farray<double, 1> slick;
  slick.allocate(1);
  slick(1) = 100.0;
  evaluo_hns(1, slick);
  EXPECT_EQ(var_cfg.spillvolume(1), 0.5);
  EXPECT_EQ(var4.volumeparticle(1), 0.0);
}

}  // namespace
}  // namespace orvel
