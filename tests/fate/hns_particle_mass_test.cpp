// The mass of a 3-D chemical particle (droplets times droplet mass) over
// many small steps: what dissolution, evaporation and degradation take from
// the particles is what their totals gain, to double precision, however
// small each step's share.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "fate/hns_particle_mass.hpp"
#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"

namespace orvel {
namespace {

using testing::hns_water_spill;

TEST(HnsParticleMass, ASmallLossIsKeptWhereTheNumberOfDropletsCannotHoldIt) {
  // 1000 droplets of 2e-3 kg: a loss of 1e-9 of the mass is far below the
  // resolution of the single-precision number (6e-8); the particle's mass
  // still falls by exactly that, and a million such losses add up to
  // 1 - e^-0.001 of it.
  float equiv = 1000.0f;
  double droplet = 2.0e-3;
  double mass = 2.0;
  for (int i = 0; i < 1000000; ++i) {
    mass -= mass * 1e-9;
    set_particle_mass(equiv, droplet, mass);
    ASSERT_NEAR(static_cast<double>(equiv) * droplet, mass, 1e-15) << i;
  }
  EXPECT_NEAR(static_cast<double>(equiv) * droplet, 2.0 * std::exp(-1e-3), 1e-9);
  // A large loss takes droplets: half the mass, about half the droplets.
  set_particle_mass(equiv, droplet, 0.5 * mass);
  EXPECT_NEAR(static_cast<double>(equiv) * droplet, 0.5 * mass, 1e-15);
  EXPECT_NEAR(equiv, 500.0f, 1.0f);
  // All of it: no droplet left, the droplet mass kept.
  const double kept = droplet;
  set_particle_mass(equiv, droplet, 0.0);
  EXPECT_EQ(equiv, 0.0f);
  EXPECT_EQ(droplet, kept);
}

TEST(HnsParticleMass, ThreeDimensionalDissolutionAndDegradationInOneSecondStepsKeepTheBalance) {
  // Two particles of 1 mm droplets, one afloat (a slick of 0.01 m2 in a
  // 5 m/s wind) and one in the column, dissolving and degrading (0.05 per
  // day) for an hour of 1 s steps: each step takes a tiny share of a
  // particle, and the particles, the dissolved and the degraded totals still
  // add up to the start.
  hns_water_spill(2, 2);
  var_run.deltat = 1.0f;
  var_spill.degradation_rate(1) = 0.05f;
  const int32_t states[] = {1, 5};
  for (int32_t j = 1; j <= 2; ++j) {
    var_part.indp(j, 1) = states[j - 1];
    var_part.diam_part(j, 1) = 1e-3;
    var4.massparticle(j, 1) = 876.5 * 3.141516 * 1.25e-10;
    var_hns_extra.equiv_part(j, 1) = 1.0e6f;
    var_currwindwave.wintx(j) = 5.0;
  }
  auto particles = [] {
    double m = 0.0;
    for (int32_t j = 1; j <= 2; ++j) m += static_cast<double>(var_hns_extra.equiv_part(j, 1)) * var4.massparticle(j, 1);
    return m;
  };
  const double start = particles();
  var4.mass_surf(1) = static_cast<double>(var_hns_extra.equiv_part(1, 1)) * var4.massparticle(1, 1);
  var4.mass_column(1) = static_cast<double>(var_hns_extra.equiv_part(2, 1)) * var4.massparticle(2, 1);
  var4.areaparticlesurftotal(1) = 0.01;
  var_currwindwave.wind10(1) = 5.0;
  for (int i = 0; i < 3600; ++i) {
    dissolve_3d(1);
    degrade(1);
  }
  const auto& m = var4;
  EXPECT_GT(m.mass_diss_surf_cumul(1), 0.0);
  EXPECT_GT(m.mass_diss_column_cumul(1), 0.0);
  EXPECT_GT(m.mass_degr_cumul(1), 0.0);
  EXPECT_NEAR(particles() + m.mass_diss_cumul(1) + m.mass_degr_cumul(1), start, 1e-12 * start);
  // The compartments follow the particles.
  EXPECT_NEAR(m.mass_surf(1) + m.mass_column(1), particles(), 1e-12 * start);
}

TEST(HnsParticleMass, ColumnDropletsDissolvedWhollyInOneStepGiveTheirExactMass) {
  // Droplets of 11 micrometres dissolve in a fraction of a second: in one
  // 600 s step three column particles lose all they carry, and the
  // dissolved total gains exactly that, not its single-precision rounding.
  hns_water_spill(3, 2);
  double carried = 0.0;
  const float equivs[] = {1.0e12f, 3.3e12f, 7.7e11f};
  for (int32_t j = 1; j <= 3; ++j) {
    var_part.indp(j, 1) = 5;
    var_part.diam_part(j, 1) = 11e-6;
    var4.massparticle(j, 1) = 810.0 * 3.141516 * (5.5e-6 * 5.5e-6 * 5.5e-6) * (1.0 + 1e-3 * j);
    var_hns_extra.equiv_part(j, 1) = equivs[j - 1];
    carried += static_cast<double>(var_hns_extra.equiv_part(j, 1)) * var4.massparticle(j, 1);
  }
  var4.mass_column(1) = carried;
  dissolve_3d(1);
  for (int32_t j = 1; j <= 3; ++j) EXPECT_EQ(var_hns_extra.equiv_part(j, 1), 0.0f) << j;
  EXPECT_EQ(var4.mass_diss_column_cumul(1), carried);
  EXPECT_EQ(var4.mass_diss_cumul(1), carried);
  EXPECT_EQ(var4.mass_column(1), 0.0);
}

}  // namespace
}  // namespace orvel
