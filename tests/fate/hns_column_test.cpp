// Where a chemical's particles may rest: a chemical that does not sink is
// lifted off the sea floor, a gas that comes up goes into the air, droplets
// wholly dissolved on the floor rejoin the water; in 2-D the particles on
// the floor of a dissolving chemical move with the current.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "control/state/all.hpp"
#include "fate/hns_setup.hpp"
#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::hns_water_spill;

TEST(HnsColumnStates, WhatStaysOnTheFloorAndWhatGoesIntoTheAir) {
  // The world's floor is 20 m deep everywhere (one cell, 0.5 m, made
  // shallow); particles on it (state -1, at its depth), one afloat.
  struct row {
    const char* what;
    int32_t hnsclass;
    double dens;     // kg/m3, in water of 1025
    float equiv;     // droplets left on the floor particles
    int32_t floor;   // state of a particle on the floor after the call
    double depth;    // its depth then, m
    int32_t afloat;  // state of a particle afloat after the call
  };
  const row rows[] = {
      {"floater: lifted 1 cm", 5, 906.0, 1000.0f, 5, 19.99, 1},
      {"as dense as the water: lifted", 10, 1025.0, 1000.0f, 5, 19.99, 1},
      {"denser: stays on the floor", 11, 1326.0, 1000.0f, -1, 20.0, 1},
      {"denser, droplets all dissolved: the water above", 11, 1326.0, 0.0f, 5, 19.99, 1},
      {"gas: lifted, and into the air at the surface", 1, 1410.0, 1000.0f, 5, 19.99, 4},
      {"gas-dissolver: lifted, afloat stays afloat", 2, 1190.0, 1000.0f, 5, 19.99, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    hns_water_spill(3, 2);
    var_spill.hnsbehaviourclass(1) = r.hnsclass;
    var4.dens(1) = r.dens;
    var_part.par_air(1) = 2;
    for (int32_t j = 1; j <= 3; ++j) {
      var_part.x_part(j, 1) = 356.05;
      var_part.y_part(j, 1) = 43.05;
      var_part.indp(j, 1) = -1;
      var_part.z_part(j, 1) = 20.0 / factor;
      var_hns_extra.equiv_part(j, 1) = r.equiv;
    }
    // Particle 2 on a floor 0.5 cm deep: half way up it; particle 3 afloat.
    var_part.x_part(2, 1) = 356.15;
    var_mallas.d(2, 1) = 0.005f;
    var_part.z_part(2, 1) = 0.005 / factor;
    var_part.indp(3, 1) = 1;
    var_part.z_part(3, 1) = 0.0;
    column_states_hns3d(1);
    EXPECT_EQ(var_part.indp(1, 1), r.floor);
    EXPECT_NEAR(var_part.z_part(1, 1) * factor, r.depth, 1e-9);
    EXPECT_EQ(var_part.indp(2, 1), r.floor);
    // The depths of the floor are single-precision values.
    EXPECT_NEAR(var_part.z_part(2, 1) * factor, r.floor == 5 ? 0.0025 : 0.005, 1e-9);
    EXPECT_EQ(var_part.indp(3, 1), r.afloat);
    EXPECT_EQ(var_part.par_air(1), r.afloat == 4 ? 3 : 2);
  }
}

TEST(HnsColumnStates, AboveTheFloor) {
  EXPECT_DOUBLE_EQ(above_floor(100.0f), 100.0 - static_cast<double>(0.01f));
  EXPECT_DOUBLE_EQ(above_floor(0.01f), 0.5 * static_cast<double>(0.01f));
}

TEST(HnsCarry2d, FloorParticlesOfADissolvingChemicalMoveWithTheCurrentOnly) {
  // Three particles on the floor and one afloat; a current of 0.2 m/s east
  // and 0.1 m/s north at the particles, currentcoeff 0.5, steps of 600 s,
  // no diffusivities: each floor particle moves 60 m east and 30 m north,
  // the one afloat (moved by the position update) not here.  Particle 3
  // would end outside the model's box: it stays.  With dissolution off
  // nothing moves.
  for (const int32_t dissolution : {1, 0}) {
    SCOPED_TRACE(dissolution);
    hns_water_spill(4, 1);
    var_cfg.dissolution(1) = dissolution;
    ensure(var_cfg.currentcoeff, 1);
    var_cfg.currentcoeff(1) = 0.5;
    ensure(var_currwindwave.u_curr_int, 4);
    ensure(var_currwindwave.v_curr_int, 4);
    var_currwindwave.u_curr_int.fill(0.2);
    var_currwindwave.v_curr_int.fill(0.1);
    const double x0[] = {356.05, 356.15, 356.2999999, 356.05};
    for (int32_t j = 1; j <= 4; ++j) {
      var_part.x_part(j, 1) = x0[j - 1];
      var_part.y_part(j, 1) = 43.05;
      var_part.indp(j, 1) = j == 4 ? 1 : -1;
    }
    carry_with_current_2d(1);
    const double mx = std::cos(43.0 * static_cast<double>(3.1416f) / 180.0) * factor;
    for (int32_t j = 1; j <= 4; ++j) {
      const bool moves = dissolution == 1 && j < 3;
      EXPECT_NEAR(var_part.x_part(j, 1), x0[j - 1] + (moves ? 0.2 * 0.5 * 600.0 / mx : 0.0), 1e-12) << j;
      EXPECT_NEAR(var_part.y_part(j, 1), 43.05 + (moves ? 0.1 * 0.5 * 600.0 / factor : 0.0), 1e-12) << j;
    }
  }
}

TEST(HnsCarry2d, TheRandomWalkOfTheDiffusivitiesTwoDrawsAParticle) {
  // With diffusivities the walk adds a velocity uniform in +-sqrt(6 D / dt)
  // along each axis, x drawn first, particle by particle: the draws are
  // those of the generator from its state, and only floor particles draw.
  hns_water_spill(3, 1);
  ensure(var_cfg.currentcoeff, 1);
  var_cfg.currentcoeff(1) = 1.0;
  ensure(var_currwindwave.u_curr_int, 3);
  ensure(var_currwindwave.v_curr_int, 3);
  ensure(var2.dxx, 3);
  ensure(var2.dyy, 3);
  var2.dxx.fill(1e-9);
  var2.dyy.fill(4e-9);
  for (int32_t j = 1; j <= 3; ++j) {
    var_part.x_part(j, 1) = 356.15;
    var_part.y_part(j, 1) = 43.1;
    var_part.indp(j, 1) = j == 2 ? 1 : -1;
  }
  srand(7);
  const float r1 = rand(0), r2 = rand(0), r3 = rand(0), r4 = rand(0);
  srand(7);
  carry_with_current_2d(1);
  const double sx = std::sqrt(6.0 * 1e-9 / 600.0), sy = std::sqrt(6.0 * 4e-9 / 600.0);
  EXPECT_NEAR(var_part.x_part(1, 1), 356.15 + 2.0 * (r1 - 0.5f) * sx * 600.0, 1e-12);
  EXPECT_NEAR(var_part.y_part(1, 1), 43.1 + 2.0 * (r2 - 0.5f) * sy * 600.0, 1e-12);
  EXPECT_EQ(var_part.x_part(2, 1), 356.15);
  EXPECT_NEAR(var_part.x_part(3, 1), 356.15 + 2.0 * (r3 - 0.5f) * sx * 600.0, 1e-12);
  EXPECT_NEAR(var_part.y_part(3, 1), 43.1 + 2.0 * (r4 - 0.5f) * sy * 600.0, 1e-12);
}

}  // namespace
}  // namespace orvel
