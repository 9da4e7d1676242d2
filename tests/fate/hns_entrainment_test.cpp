// Wave entrainment of a chemical slick, against values worked out by hand
// from Delvigne and Sweeney's entrainment rate over ten droplet classes up to
// 70 micrometres, and the particles it sends into the water column, against a
// plain list of the surface particles drawn from in index order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::factor;
using testing::hns_water_spill;
using testing::sea_state;

farray<double, 1> slick(double area) {
  farray<double, 1> a;
  a.allocate(1);
  a(1) = area;
  return a;
}

// 1 cSt chemical (d50 = 25.710402 um), 10 m/s wind, waves of 2 m: C* =
// exp(7.572) = 1943.022; D = 0.033354003 * 1025 * 2 * 0.70710677^2 = 68.37570;
// T = 8.13 * 10 / 9.81 s; F = 0.032 * 4 / T = 0.0154450; classes from
// 2.5710402 um to 70 um in steps of 6.74289598 um, the last centre 66.63 um,
// all entraining: qtot = sum of C* D^0.57 F 0.75 dd d^0.7 = 1.268157e-5
// kg/m2/s, so 7.608945 kg from 1000 m2 in 600 s.
constexpr double qtot_by_hand = 1.2681574e-5;
constexpr double mass_by_hand = 7.6089446;

TEST(HnsEntrainment, RatesWithTheClassesUpTo70Micrometres) {
  hns_water_spill(4);
  sea_state(2.0, 10.0);
  var4.mass_surf(1) = 100.0;
  auto area = slick(1000.0);
  verticaldispersion_hns(1, area);
  const auto& vd = varverticaldispersion;
  EXPECT_NEAR(vd.qtot, qtot_by_hand, 2e-5 * qtot_by_hand);
  EXPECT_FLOAT_EQ(vd.dmax_disp, 7e-5f);
  EXPECT_NEAR(vd.dmin_disp, 2.5710402e-6, 1e-12);
  EXPECT_NEAR(vd.deltad_disp, 6.74289598e-6, 1e-12);
  for (int k = 0; k < 10; ++k) {
    EXPECT_NEAR(vd.dropdiam[static_cast<std::size_t>(k)], 2.5710402e-6 + (k + 0.5) * 6.74289598e-6, 1e-11) << k;
    EXPECT_GT(vd.qd[static_cast<std::size_t>(k)], 0.0f) << k;
  }
  EXPECT_NEAR(var4.massdisp(1), mass_by_hand, 2e-5 * mass_by_hand);
  EXPECT_EQ(var_currwindwave.wind10(1), 10.0);
  EXPECT_NEAR(var_currwindwave.hbreak, std::sqrt(2.0), 1e-7);
}

TEST(HnsEntrainment, AreaAndTheDispersedTotalIn2DAnd3D) {
  // The computed mass is 7.6089 kg over 1000 m2 (the engine's slick area, or
  // in 3-D the droplet area of the surface particles while there are any).
  struct row {
    std::string what;
    int32_t dims, counted_surface;
    double floating, droplet_area;
    double massdisp, mass_surf, mass_disp_cumul;
  } rows[] = {
      {"2-D, less than afloat", 1, 4, 100.0, 5.0e5, mass_by_hand, 100.0 - mass_by_hand, 1.0 + mass_by_hand},
      // All of the floating mass goes and the surface is exactly empty.
      {"2-D, more than afloat", 1, 4, 3.0, 5.0e5, 3.0, 0.0, 4.0},
      // 3-D: the droplet area (here 500 m2) replaces the slick area, and the
      // dispersed total is left to the particles.
      {"3-D, droplet area", 2, 4, 100.0, 500.0, mass_by_hand / 2, 100.0 - mass_by_hand / 2, 1.0},
      {"3-D, no surface particle counted", 2, 0, 100.0, 500.0, mass_by_hand, 100.0 - mass_by_hand, 1.0},
      {"3-D, more than afloat", 2, 4, 3.0, 1000.0, 3.0, 0.0, 1.0},
  };
  for (const auto& r : rows) {
    hns_water_spill(4, r.dims);
    sea_state(2.0, 10.0);
    var_part.numpartsurfevap = r.counted_surface;
    var4.areaparticlesurftotal(1) = r.droplet_area;
    var4.mass_surf(1) = r.floating;
    var4.mass_disp_cumul(1) = 1.0;
    auto area = slick(1000.0);
    verticaldispersion_hns(1, area);
    const double tol = 2e-5 * mass_by_hand;
    EXPECT_NEAR(var4.massdisp(1), r.massdisp, tol) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), r.mass_surf, tol) << r.what;
    EXPECT_NEAR(var4.mass_disp_cumul(1), r.mass_disp_cumul, tol) << r.what;
    // Nothing is lost or made: floating + entrained is what floated.
    EXPECT_DOUBLE_EQ(var4.mass_surf(1) + var4.massdisp(1), r.floating) << r.what;
    if (r.floating == 3.0) {
      EXPECT_EQ(var4.mass_surf(1), 0.0) << r.what;
    }
  }
}

TEST(HnsEntrainment, CalmSurfaceFallsBackTo2MetresPerSecond) {
  // No particle afloat (or no wind at them) and no waves: U = 2 m/s, Hb =
  // 0.70710677 * 0.17253 * 2^1.23 / 9.81 = 0.0291707 m, and qtot =
  // 2.014246e-10 kg/m2/s: 1.2085e-4 kg over 1000 m2 and 600 s.
  for (bool afloat : {false, true}) {
    hns_water_spill(4);
    sea_state(0.0, afloat ? 0.0 : 7.0);
    if (!afloat) var_part.indp.fill(0);
    var4.mass_surf(1) = 100.0;
    auto area = slick(1000.0);
    verticaldispersion_hns(1, area);
    EXPECT_EQ(var_currwindwave.wind10(1), 2.0) << afloat;
    EXPECT_NEAR(var_currwindwave.hbreak, 0.0291707, 1e-7) << afloat;
    EXPECT_NEAR(var4.massdisp(1), 1.2085476e-4, 2e-5 * 1.2085e-4) << afloat;
  }
}

// The literal redistribution: a list of the surface particles in index
// order, from which each drawn particle is erased.  Returns the particles
// moved, in draw order, with their depths (in the model's depth unit).
struct moved_particle {
  int32_t index;  // 1-based
  double z;
};
std::vector<moved_particle> literal_draws(const std::vector<int32_t>& states, const std::vector<float>& counts,
                                          float depth_scale) {
  std::vector<int32_t> left;
  for (std::size_t j = 0; j < states.size(); ++j) {
    if (states[j] == 1) left.push_back(static_cast<int32_t>(j) + 1);
  }
  std::vector<moved_particle> out;
  for (float n : counts) {
    for (int m = 0; m < static_cast<int>(n) && !left.empty(); ++m) {
      const auto pick = static_cast<std::size_t>(static_cast<double>(rand(0)) * static_cast<double>(left.size()));
      const int32_t p = left[pick];
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(pick));
      out.push_back({p, static_cast<double>(rand(0) * depth_scale) / factor});
    }
  }
  return out;
}

// A 3-D spill of np particles whose surface mass M0 has lost `entrained`
// to verticaldispersion_hns: classes 1 and 2 hold a quarter and three
// quarters of it over the droplet area of 0.04 m2 (100 s steps), waves of
// 2 m (depths below 1.5 * 0.70710677 * 2 m).
void entrained_spill(int32_t np, double floating_after, double entrained) {
  hns_water_spill(np, 2);
  sea_state(2.0, 0.0);
  var_run.deltat = 100.0f;
  var4.areaparticlesurftotal(1) = 0.04;
  auto& vd = varverticaldispersion;
  vd.qd = {};
  vd.qd[0] = static_cast<float>(0.25 * entrained / 4.0);
  vd.qd[1] = static_cast<float>(0.75 * entrained / 4.0);
  var4.massdisp(1) = entrained;
  var4.mass_surf(1) = floating_after;
  for (int32_t j = 1; j <= np; ++j) {
    var4.massparticle(j, 1) = 1.0e-3 * j;
    var_hns_extra.equiv_part(j, 1) = 2.0f;
  }
}

void count_surface() {
  int32_t n = 0;
  for (int32_t j = 1; j <= var_run.particle_number; ++j) n += var_part.indp(j, 1) == 1 ? 1 : 0;
  var_part.par_surf(1) = n;
}

TEST(HnsEntrainment, ParticlesDrawnFromThoseLeftAfloatAndBooked) {
  struct row {
    std::string what;
    int32_t np;
    double floating_after, entrained;
    int32_t pause_every;  // every n-th particle starts beached or in the column
  } rows[] = {
      // 8 of 10 afloat, half the floating mass entrained: N = 4, one
      // particle of class 1 and three of class 2.
      {"ten particles", 10, 8.0, 4.0, 4},
      // 1500 of 2000 afloat, a tenth entrained: N = 150, counts 38 and 113.
      {"two thousand particles", 2000, 10.0, 1.0, 4},
      // A class share that asks for more than is afloat: 6 of 6 go (N = 12,
      // counts 3 and 9), and the drawing stops there.
      {"more asked than afloat", 6, 3.0, 6.0, 1000},
  };
  for (const auto& r : rows) {
    entrained_spill(r.np, r.floating_after, r.entrained);
    std::vector<int32_t> states(static_cast<std::size_t>(r.np), 1);
    for (int32_t j = r.pause_every; j <= r.np; j += r.pause_every) {
      states[static_cast<std::size_t>(j - 1)] = j % 2 == 0 ? 0 : 5;
      var_part.indp(j, 1) = states[static_cast<std::size_t>(j - 1)];
    }
    count_surface();
    const float total = std::round(static_cast<float>(r.entrained / r.floating_after) *
                                   static_cast<float>(var_part.par_surf(1)));
    const std::vector<float> counts = {std::round(0.25f * total), std::round(0.75f * total)};
    const float depth_scale = static_cast<float>(1.5 * (0.70710677f * 2.0));

    srand(7);
    const auto expected = literal_draws(states, counts, depth_scale);
    const int32_t after_literal = rand_state();
    srand(7);
    const double column_before = 0.25;
    var4.mass_column(1) = column_before;
    auto area = slick(0.0);
    entrainedparticlesredistribution_hns3d(1, area);
    EXPECT_EQ(rand_state(), after_literal) << r.what;  // two draws per particle moved, no more

    std::vector<int32_t> moved_state(states);
    double weight = 0.0;
    for (const auto& m : expected) {
      moved_state[static_cast<std::size_t>(m.index - 1)] = 5;
      EXPECT_EQ(var_part.z_part(m.index, 1), m.z) << r.what << " particle " << m.index;
      EXPECT_GE(m.z, 0.0);
      EXPECT_LT(m.z * factor, 1.5 * std::sqrt(2.0));
      weight += 2.0 * 1.0e-3 * m.index;
    }
    for (int32_t j = 1; j <= r.np; ++j) EXPECT_EQ(var_part.indp(j, 1), moved_state[static_cast<std::size_t>(j - 1)]) << r.what << j;
    EXPECT_NEAR(var_currwindwave.hbreak, std::sqrt(2.0), 1e-7) << r.what;
    // The moved particles' weight goes to the column; the rest of the
    // entrained mass floats on.
    EXPECT_NEAR(var4.mass_column(1), column_before + weight, 1e-12) << r.what;
    EXPECT_NEAR(var4.mass_surf(1), r.floating_after + r.entrained - weight, 1e-12) << r.what;
  }
  // The small case by hand: particles 1, 2, 3, 5, 6, 7, 9, 10 afloat.
  entrained_spill(10, 8.0, 4.0);
  for (int32_t j : {4, 8}) var_part.indp(j, 1) = 0;
  count_surface();
  srand(7);
  std::vector<float> r;
  for (int i = 0; i < 8; ++i) r.push_back(rand(0));
  std::vector<int32_t> left = {1, 2, 3, 5, 6, 7, 9, 10};
  std::vector<int32_t> by_hand;
  for (int i = 0; i < 4; ++i) {
    const auto pick = static_cast<std::size_t>(r[static_cast<std::size_t>(2 * i)] * (8.0 - i));
    by_hand.push_back(left[pick]);
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(pick));
  }
  srand(7);
  auto area = slick(0.0);
  entrainedparticlesredistribution_hns3d(1, area);
  for (int32_t p : by_hand) EXPECT_EQ(var_part.indp(p, 1), 5) << p;
  int32_t in_column = 0;
  for (int32_t j = 1; j <= 10; ++j) in_column += var_part.indp(j, 1) == 5 ? 1 : 0;
  EXPECT_EQ(in_column, 4);
}

TEST(HnsEntrainment, NothingMovesWhenNothingWasEntrainedOrNothingFloats) {
  // verticaldispersion_hns took the whole floating mass (mass_surf 0): no
  // particle moves and the surface keeps its mass.  Nothing entrained:
  // nothing changes.
  struct row {
    std::string what;
    double floating_after, entrained;
  } rows[] = {{"everything entrained", 0.0, 3.0}, {"nothing entrained", 5.0, 0.0}};
  for (const auto& r : rows) {
    entrained_spill(6, r.floating_after, r.entrained);
    count_surface();
    var4.mass_column(1) = 0.5;
    srand(3);
    auto area = slick(0.0);
    entrainedparticlesredistribution_hns3d(1, area);
    EXPECT_EQ(rand_state(), 3) << r.what;
    for (int32_t j = 1; j <= 6; ++j) EXPECT_EQ(var_part.indp(j, 1), 1) << r.what;
    EXPECT_EQ(var4.mass_surf(1), r.floating_after + r.entrained) << r.what;
    EXPECT_EQ(var4.mass_column(1), 0.5) << r.what;
  }
}

TEST(HnsEntrainment, ThreeDimensionalStepMovesMassFromSurfaceToColumn) {
  // The two routines together on 200 particles afloat, 7.6089 kg computed
  // over the droplet area of 1000 m2.  With 10 kg afloat, N = nint(7.6089 /
  // 2.3911 * 200) = 636 are asked for and every particle goes down: the
  // entrained mass leaves the surface with the particles that carry it, and
  // surface + column stays 10 kg.  With 5 kg afloat the computed mass is
  // more than floats: verticaldispersion_hns takes it all, no particle is
  // left to carry it and the surface keeps its 5 kg.  The dispersed total
  // stays 0.
  struct row {
    double floating;
    int32_t moved;
  } rows[] = {{10.0, 200}, {5.0, 0}};
  for (const auto& r : rows) {
    hns_water_spill(200, 2);
    sea_state(2.0, 10.0);
    for (int32_t j = 1; j <= 200; ++j) {
      var4.massparticle(j, 1) = r.floating / 200.0;
      var_hns_extra.equiv_part(j, 1) = 1.0f;
    }
    var4.mass_surf(1) = r.floating;
    var_part.par_surf(1) = 200;
    var_part.numpartsurfevap = 200;
    var4.areaparticlesurftotal(1) = 1000.0;
    srand(11);
    auto area = slick(1.0e6);
    verticaldispersion_hns(1, area);
    entrainedparticlesredistribution_hns3d(1, area);
    double column = 0.0;
    int32_t moved = 0;
    for (int32_t j = 1; j <= 200; ++j) {
      if (var_part.indp(j, 1) == 5) {
        column += r.floating / 200.0;
        ++moved;
      }
    }
    EXPECT_EQ(moved, r.moved) << r.floating;
    EXPECT_NEAR(var4.mass_column(1), column, 1e-12) << r.floating;
    EXPECT_NEAR(var4.mass_surf(1), r.floating - column, 1e-12) << r.floating;
    EXPECT_EQ(var4.mass_disp_cumul(1), 0.0) << r.floating;
  }
}

}  // namespace
}  // namespace orvel
