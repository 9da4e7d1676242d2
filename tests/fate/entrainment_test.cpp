// Entrained oil sent into the water column as particles: how many surface
// particles a step's dispersed mass asks for, the mass each class hands to
// its particles, the depths within one and a half breaking-wave heights, a
// particle drawn twice, and the cases that draw nothing.  The number of
// draws is read off the random generator: two values per particle moved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "fate/oil_weathering.hpp"
#include "tests/fate/oil_spill_state.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::one_oil_spill;

constexpr double factor = 111317.359375;
constexpr double step_s = 600.0;

// np surface particles at the surface, steps of 600 s, waves of height h
// (0: none) and a mean wind of 10 m/s; three droplet classes of diameters
// 20, 40 and 60 micrometres whose rates give the shares 0.6, 0.3 and 0.1 of
// `massdisp` over `area` (the other seven classes entrain nothing).
void entraining_spill(int32_t np, double massdisp, double mass_surf, int32_t par_surf, double area, double h = 2.0) {
  one_oil_spill(np, static_cast<float>(step_s));
  var_mallas.factor = factor;
  var_part.z_part.allocate(np, 1);
  var_part.diam_part.allocate(np, 1);
  var_part.par_surf.allocate(1);
  var_part.par_surf(1) = par_surf;
  var4.massdisp(1) = massdisp;
  var4.mass_surf(1) = mass_surf;
  var_currwindwave.wind10(1) = 10.0;
  var_currwindwave.hwavec.allocate(1);
  var_currwindwave.hwavec(1) = h;
  var1.i_ola = 1;
  auto& vd = varverticaldispersion;
  vd.qd.fill(0.0f);
  vd.dropdiam.fill(0.0f);
  const double shares[] = {0.6, 0.3, 0.1};
  for (int k = 0; k < 3; ++k) {
    // Rates over the area that make the shares (when the area is not 0).
    const double rate = area > 0.0 ? shares[k] * massdisp / (step_s * area) : 1.0e-6;
    vd.qd[static_cast<std::size_t>(k)] = static_cast<float>(rate);
    vd.dropdiam[static_cast<std::size_t>(k)] = static_cast<float>(20e-6 * (k + 1));
  }
}

void redistribute(double area) {
  farray<double, 1> a;
  a.allocate(1);
  a(1) = area;
  srand(0);
  entrainedparticlesredistribution(1, a);
}

// The generator's state after n values from seed 0.
int32_t state_after(int64_t n) {
  srand(0);
  for (int64_t i = 0; i < n; ++i) rand(0);
  return rand_state();
}

TEST(EntrainedParticles, ParticlesAskedForByTheDispersedShareOfTheFloatingMass) {
  // N = nint(float(massdisp / mass_surf) * par_surf), halves away from zero;
  // classes of shares 0.6, 0.3, 0.1 then ask for nint(share * N) each.
  struct row {
    const char* what;
    double massdisp, mass_surf;
    int32_t par_surf;
    int64_t draws;  // the sum of the class counts
  };
  const std::vector<row> rows = {
      {"1 % of 1000 particles: 6 + 3 + 1", 10.0, 1000.0, 1000, 10},
      {"N = 2.5 rounds to 3: nint(1.8) + nint(0.9) + nint(0.3)", 2.5, 100.0, 100, 2 + 1 + 0},
      {"N = 7/3 rounds to 2: nint(1.2) + nint(0.6) + nint(0.2)", 1.0, 3.0, 7, 1 + 1 + 0},
      {"the whole floating mass: 20 particles, 12 + 6 + 2", 5.0, 5.0, 20, 20},
      {"N = 0.4 rounds to 0", 0.4, 100.0, 100, 0},
      {"nothing dispersed", 0.0, 100.0, 100, 0},
      {"nothing afloat: no 0 / 0", 3.0, 0.0, 100, 0},
  };
  for (const auto& r : rows) {
    entraining_spill(1000, r.massdisp, r.mass_surf, r.par_surf, 1.0e4);
    redistribute(1.0e4);
    EXPECT_EQ(rand_state(), state_after(2 * r.draws)) << r.what;
    // The breaking-wave height is set in every case.
    EXPECT_EQ(var_currwindwave.hbreak, static_cast<double>(0.70710677f) * 2.0) << r.what;
  }
}

TEST(EntrainedParticles, EachClassHandsItsWholeMassToItsParticles) {
  // Whatever the class counts, each moved particle of class k carries
  // qd_k * dt * A / n_k, so that the n_k particles of the class carry
  // qd_k * dt * A.  Counts 60, 30, 10 and (after rounding) 4, 2, 1.
  struct row {
    double massdisp;
    int32_t par_surf;
    std::vector<int64_t> counts;
  };
  for (const auto& r : {row{100.0, 1000, {60, 30, 10}}, row{7.0, 1000, {4, 2, 1}}}) {
    entraining_spill(1000, r.massdisp, 1000.0, r.par_surf, 500.0);
    redistribute(500.0);
    const auto& vd = varverticaldispersion;
    for (std::size_t k = 0; k < 3; ++k) {
      const double class_mass = static_cast<double>(vd.qd[k]) * step_s * 500.0;
      std::set<int32_t> moved;
      for (int32_t p = 1; p <= 1000; ++p) {
        if (var_part.diam_part(p, 1) != static_cast<double>(vd.dropdiam[k])) continue;
        moved.insert(p);
        EXPECT_NEAR(var4.massparticle(p, 1) * static_cast<double>(r.counts[k]), class_mass, 1e-12 * class_mass)
            << "class " << k + 1;
      }
      // Drawn with replacement: at most n_k particles.
      EXPECT_GE(moved.size(), 1u);
      EXPECT_LE(moved.size(), static_cast<std::size_t>(r.counts[k]));
    }
    // The shares add up to the step's dispersed mass.
    double total = 0.0;
    for (std::size_t k = 0; k < 3; ++k) total += static_cast<double>(vd.qd[k]) * step_s * 500.0;
    EXPECT_NEAR(total, r.massdisp, 1e-6 * r.massdisp);
  }
}

TEST(EntrainedParticles, DepthsWithinOneAndAHalfBreakingWaveHeights) {
  // Waves of 2 m: Hb = 2 / sqrt(2).  No waves: Hb from the mean wind of
  // 10 m/s, 0.70710677 * 10^1.23 * 0.17253 / 9.81 = 0.2111935 m.
  struct row {
    const char* what;
    double h;
    double hb;
  };
  for (const auto& r : {row{"waves of 2 m", 2.0, std::sqrt(2.0)}, row{"no waves, wind 10 m/s", 0.0, 0.2111935}}) {
    entraining_spill(2000, 200.0, 1000.0, 2000, 1.0e4, r.h);
    var4.massparticle.fill(7.0);
    redistribute(1.0e4);
    EXPECT_NEAR(var_currwindwave.hbreak, r.hb, 1e-6) << r.what;
    const double limit = 1.5 * r.hb;
    double deepest = 0.0;
    int32_t moved = 0;
    for (int32_t p = 1; p <= 2000; ++p) {
      const double z = var_part.z_part(p, 1) * factor;
      if (var4.massparticle(p, 1) == 7.0) {
        EXPECT_EQ(z, 0.0) << r.what;  // not drawn: left at the surface
        continue;
      }
      ++moved;
      EXPECT_GE(z, 0.0) << r.what;
      EXPECT_LT(z, limit * (1.0 + 1e-6)) << r.what;
      deepest = std::max(deepest, z);
      // The state stays 1: the next state update puts it in the column.
      EXPECT_EQ(var_part.indp(p, 1), 1);
    }
    // 400 draws (with replacement) spread over the whole range.
    EXPECT_GT(moved, 300) << r.what;
    EXPECT_GT(deepest, 0.95 * limit) << r.what;
  }
}

TEST(EntrainedParticles, AParticleDrawnTwiceKeepsItsLaterClass) {
  // One particle afloat among beached ones, N = 4 * 1 = 4: the classes of
  // 2 and 1 particles all fall on it; it ends with the second class (the
  // third asks for nint(0.4) = 0).
  entraining_spill(5, 4.0, 1.0, 1, 100.0);
  for (int32_t p : {1, 2, 4, 5}) var_part.indp(p, 1) = 0;
  var4.massparticle.fill(9.0);
  redistribute(100.0);
  EXPECT_EQ(rand_state(), state_after(2 * (2 + 1)));
  const auto& vd = varverticaldispersion;
  EXPECT_EQ(var_part.diam_part(3, 1), static_cast<double>(vd.dropdiam[1]));
  EXPECT_EQ(var4.massparticle(3, 1), static_cast<double>(vd.qd[1]) * step_s * 100.0 / 1.0);
  EXPECT_GT(var_part.z_part(3, 1), 0.0);
  for (int32_t p : {1, 2, 4, 5}) {
    EXPECT_EQ(var4.massparticle(p, 1), 9.0);
    EXPECT_EQ(var_part.z_part(p, 1), 0.0);
    EXPECT_EQ(var_part.diam_part(p, 1), 0.0);
  }
}

TEST(EntrainedParticles, NoDrawWithAnAreaOfZeroOrNoParticleAfloat) {
  // The engine's slick area of 0 gives shares of 0: nothing is moved and no
  // number drawn.  A class that asks for particles when none is afloat
  // draws none either.
  for (bool afloat : {true, false}) {
    entraining_spill(10, 5.0, 10.0, 10, 0.0);
    if (!afloat) var_part.indp.fill(0);
    var4.massparticle.fill(3.0);
    redistribute(afloat ? 0.0 : 1.0e4);
    EXPECT_EQ(rand_state(), state_after(0)) << afloat;
    for (int32_t p = 1; p <= 10; ++p) {
      EXPECT_EQ(var4.massparticle(p, 1), 3.0);
      EXPECT_EQ(var_part.z_part(p, 1), 0.0);
    }
  }
}

}  // namespace
}  // namespace orvel
