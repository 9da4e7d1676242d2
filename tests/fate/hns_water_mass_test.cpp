// Conservation of a chemical's mass through its processes in the sea: over
// a hundred steps of entrainment, dissolution, sorption, volatilisation and
// degradation, the compartments and the dispersed, dissolved, sorbed,
// volatilised and degraded totals add up to the released mass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::hns_water_spill;
using testing::sea_state;

constexpr double released = 10000.0;  // kg
constexpr int32_t steps = 100;

// Every compartment and every total the mass can go to.
double accounted() {
  const auto& m = var4;
  return m.mass_surf(1) + m.mass_beached(1) + m.mass_column(1) + m.mass_floor(1) + m.mass_radar(1) +
         m.mass_air(1) + m.masaevp(1) + m.mass_disp_cumul(1) + static_cast<double>(m.mass_diss_cumul(1)) +
         static_cast<double>(m.mass_sed_cumul(1)) + static_cast<double>(m.mass_vol_cumul(1)) +
         static_cast<double>(m.mass_degr_cumul(1));
}

// Every process switched on, all at a pace that leaves mass in each
// compartment after 100 steps of 600 s: benzene under 10 m/s of wind and
// 1 m waves, a current of 0.01 deg/s, 10 mg/L of sediment, degradation at 0.5
// per day.
void busy_sea(int32_t np, int32_t dims) {
  hns_water_spill(np, dims);
  sea_state(1.0, 10.0);
  var_currwindwave.uadv.fill(1.0e-6);
  var_currwindwave.vadv.fill(0.5e-6);
  var_spill.logkow(1) = 2.13f;
  var_spill.sedimentsconcentration(1) = 10.0f;
  var_spill.degradation_rate(1) = 0.5f;
  var_cfg.diffusioncoeff_kz(1) = 0.01f;
  var_cfg.spreading__y_n = 1;
  var_calib.calibdisol_option = 1;
  var_calib.dissolparam = 13.26f;
  var_cfg.masa0(1) = released;
}

// The bound on the rounding of the budget: each step moves the mass through
// single-precision totals (dissolved, sorbed, volatilised, degraded) and
// degradation rounds every compartment to single precision and decays it;
// each of these passes over the budget can be off by half a unit in the
// last place, 2^-24 of the mass it holds, and they come to fewer than 8
// passes over the whole mass per step.
constexpr double bound = steps * 8 * 5.9604645e-8 * released;

TEST(HnsWaterMass, TwoDimensionalBudgetCloses) {
  // 30 particles afloat, 5 beached, 5 on the sea floor; the 2-D engine
  // shares the compartments back to them and re-sums them unchanged, so the
  // compartments carry over from step to step.
  busy_sea(40, 1);
  for (int32_t j = 31; j <= 40; ++j) var_part.indp(j, 1) = j <= 35 ? 0 : -1;
  var4.mass_surf(1) = 9000.0;
  var4.mass_beached(1) = 500.0;
  var4.mass_floor(1) = 500.0;
  var4.mass_surf_ini(1) = 9000.0;
  var4.areaparticlesurftotal(1) = 2.0e3;
  farray<double, 1> area;
  area.allocate(1);
  area(1) = 2.0e3;
  double worst = 0.0, entrained = 0.0;
  for (int32_t i = 0; i < steps; ++i) {
    verticaldispersion_hns(1, area);
    entrained += var4.massdisp(1);
    dissolve_2d(1, area);
    settling(1);
    volatilize(1);
    degrade(1);
    worst = std::max(worst, std::abs(accounted() - released));
  }
  // Every process has had its share (the droplets dissolve as fast as they
  // are entrained).
  const auto& m = var4;
  for (double x : {m.mass_surf(1), entrained, static_cast<double>(m.mass_diss_cumul(1)),
                   static_cast<double>(m.mass_sed_cumul(1)), static_cast<double>(m.mass_vol_cumul(1)),
                   static_cast<double>(m.mass_degr_cumul(1))}) {
    EXPECT_GT(x, 1e-3) << x;
  }
  EXPECT_LE(worst, bound);
}

// The 3-D engine's re-sum: the compartments from the particles by state,
// each particle weighing equiv_part droplets of massparticle; the surface
// particles counted; they form a slick of 1 km2.
void resum() {
  auto& m = var4;
  double sum[6] = {};
  int32_t afloat = 0;
  for (int32_t j = 1; j <= var_run.particle_number; ++j) {
    const double w = static_cast<double>(var_hns_extra.equiv_part(j, 1)) * m.massparticle(j, 1);
    switch (var_part.indp(j, 1)) {
      case 1:
        sum[0] += w;
        ++afloat;
        break;
      case 0: sum[1] += w; break;
      case 5: sum[2] += w; break;
      case -1: sum[3] += w; break;
      case -2: sum[4] += w; break;
      case 4: sum[5] += w; break;
      default: break;
    }
  }
  m.mass_surf(1) = sum[0];
  m.mass_beached(1) = sum[1];
  m.mass_column(1) = sum[2];
  m.mass_floor(1) = sum[3];
  m.mass_radar(1) = sum[4];
  m.mass_air(1) = sum[5];
  var_part.numpartsurfevap = afloat;
  var_part.par_surf(1) = afloat;
  m.areaparticlesurftotal(1) = 1.0e6;
}

TEST(HnsWaterMass, ThreeDimensionalBudgetClosesAlsoAfterAReSum) {
  // 400 particles of 50 um droplets: 320 afloat, 40 beached, 40 on the
  // floor, each of 25 kg.
  busy_sea(400, 2);
  const double droplet = 876.5 * 3.141516 * std::pow(25e-6, 3.0);
  for (int32_t j = 1; j <= 400; ++j) {
    var_part.indp(j, 1) = j <= 320 ? 1 : (j <= 360 ? 0 : -1);
    var_part.diam_part(j, 1) = 50e-6;
    var4.massparticle(j, 1) = droplet;
    var_hns_extra.equiv_part(j, 1) = static_cast<float>(25.0 / droplet);
  }
  resum();
  const double start = accounted();
  EXPECT_NEAR(start, released, 1e-7 * released);
  farray<double, 1> area;
  area.allocate(1);
  area(1) = 1.0e4;
  srand(5);
  double worst = 0.0, worst_resummed = 0.0;
  for (int32_t i = 0; i < steps; ++i) {
    resum();
    worst_resummed = std::max(worst_resummed, std::abs(accounted() - start));
    verticaldispersion_hns(1, area);
    entrainedparticlesredistribution_hns3d(1, area);
    dissolve_3d(1);
    settling(1);
    volatilize(1);
    degrade(1);
    worst = std::max(worst, std::abs(accounted() - start));
  }
  resum();
  worst_resummed = std::max(worst_resummed, std::abs(accounted() - start));
  const auto& m = var4;
  // Entrained droplets of 50 um dissolve within their step (in about a
  // minute): what went down shows in the mass dissolved in the column; the
  // slick of a square kilometre has dissolved too.
  EXPECT_GT(m.mass_diss_column_cumul(1), 1.0f);
  EXPECT_GT(m.mass_diss_surf_cumul(1), 1.0f);
  for (double x : {static_cast<double>(m.mass_diss_cumul(1)), static_cast<double>(m.mass_sed_cumul(1)),
                   static_cast<double>(m.mass_vol_cumul(1)), static_cast<double>(m.mass_degr_cumul(1))}) {
    EXPECT_GT(x, 1e-3) << x;
  }
  EXPECT_EQ(m.mass_disp_cumul(1), 0.0);
  EXPECT_LE(worst, bound);
  EXPECT_LE(worst_resummed, bound);
}

}  // namespace
}  // namespace orvel
