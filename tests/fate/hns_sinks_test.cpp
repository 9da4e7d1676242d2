// Sorption, volatilisation and degradation of a dissolved chemical, against
// published constants and values worked out by hand, and first-order decay
// against the exponential law.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fate/hns_water.hpp"
#include "tests/fate/hns_water_state.hpp"

namespace orvel {
namespace {

using testing::hns_water_spill;
using testing::sea_state;

TEST(HnsSettling, ShareOfTheStepsDissolvedMassSorbs) {
  // log Kow 2.13: partition coefficient 10^(0.983 * 2.13 + 0.00028) =
  // 124.185 L/kg; at 10 mg/L of sediment (1e-5 kg/L) k = 1.24185e-3, and
  // k / (1 + k) = 1.240312e-3 of the step's dissolved mass sorbs.  The
  // step's 1 kg came 0.6 from the slick and 0.4 from the column.
  struct row {
    std::string what;
    float sediment, step;
    double sorbed;
  } rows[] = {
      {"10 mg/L", 10.0f, 1.0f, 1.240312e-3},
      {"no sediment", 0.0f, 1.0f, 0.0},
      {"nothing dissolved in the step", 10.0f, 0.0f, 0.0},
  };
  for (const auto& r : rows) {
    hns_water_spill(2, 2);
    var_spill.logkow(1) = 2.13f;
    var_spill.sedimentsconcentration(1) = r.sediment;
    var4.mass_diss_dt(1) = r.step;
    var4.mdissolved_surf = 0.6f;
    var4.mdissolved_col = 0.4f;
    var4.mass_diss_cumul(1) = 5.0f;
    var4.mass_diss_surf_cumul(1) = 3.0f;
    var4.mass_diss_column_cumul(1) = 2.0f;
    var4.mass_sed_cumul(1) = 0.5f;
    settling(1);
    const double tol = 1e-6;
    EXPECT_NEAR(var4.mass_sed_cumul(1), 0.5 + r.sorbed, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_cumul(1), 5.0 - r.sorbed, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_surf_cumul(1), 3.0 - 0.6 * r.sorbed, tol) << r.what;
    EXPECT_NEAR(var4.mass_diss_column_cumul(1), 2.0 - 0.4 * r.sorbed, tol) << r.what;
  }
  // The coefficient itself, where the sorbed share shows it to 7 digits.
  hns_water_spill(2, 2);
  var_spill.logkow(1) = 2.13f;
  var_spill.sedimentsconcentration(1) = 10.0f;
  var4.mass_diss_dt(1) = 1000.0f;
  settling(1);
  EXPECT_NEAR(var4.mass_sed_cumul(1), 1000.0 * 1.24185e-3 / (1.0 + 1.24185e-3), 1e-5);
}

TEST(HnsVolatilisation, TwoFilmExchangeAcrossTheMixingLayer) {
  // Benzene at 293.15 K: Hc = 12700 Pa / (1.78 kg/m3 / 78.11 g/mol) =
  // 557302 Pa m3/mol, H' = Hc / (8314 * 293.15) = 0.22866; kL = sqrt(44 /
  // 78.11) * 20 cm/h = 4.16966e-5 m/s and kG = sqrt(18 / 78.11) * 3000 cm/h
  // = 4.00038e-3 m/s, so Kv = kL H' kG / (kL + H' kG) = 3.98788e-5 m/s.
  // From 2 kg of slick-borne dissolved mass over 600 s the exchange dM/dt =
  // -(Kv / h) M leaves v = 2 (1 - exp(-Kv 600 / h)): waves of 2 m, h = 1 m,
  // Kv 600 / h = 0.0239273; a 5 m/s wind sea, h = 0.5 * 0.17253 * 5^1.23 /
  // 9.81 = 0.0636647 m, 0.375833 (where the step's starting rate applied to
  // the whole step took 0.751665 kg, not 0.626566); neither, with Kz = 0.01
  // m2/s, h = sqrt(2 * 0.01 * 600) = 3.46410 m, 0.00690719.
  struct row {
    std::string what;
    double waves, wind;
    float kz, pressure;
    double gone;
  } rows[] = {
      {"waves", 2.0, 5.0, 0.01f, 12.7f, 2.0 * -std::expm1(-0.0239273)},
      {"wind sea", 0.0, 5.0, 0.01f, 12.7f, 0.626566},
      {"vertical diffusion", 0.0, 0.0, 0.01f, 12.7f, 2.0 * -std::expm1(-0.00690719)},
      // A layer far thinner than Kv * dt: all the slick-borne part.
      {"shallow wind sea", 0.0, 0.1, 0.01f, 12.7f, 2.0},
      // No layer at all: the limit of the exchange, all of it.
      {"no mixing layer", 0.0, 0.0, 0.0f, 12.7f, 2.0},
      // Hc = 600 Pa / 0.022788 = 26.3 Pa m3/mol, not above 30.3975.
      {"low Henry constant", 2.0, 5.0, 0.01f, 6.0e-4f, 0.0},
  };
  EXPECT_NEAR(2.0 * -std::expm1(-0.375833), 0.626566, 1e-6);
  for (int32_t dims : {1, 2}) {
    for (const auto& r : rows) {
      hns_water_spill(2, dims);
      sea_state(r.waves, 0.0);
      var_currwindwave.wind10(1) = r.wind;
      var_cfg.diffusioncoeff_kz(1) = r.kz;
      var_spill.vaporpressure(1) = r.pressure;
      var4.mass_diss_surf_cumul(1) = 2.0f;
      var4.mass_diss_column_cumul(1) = 1.5f;
      var4.mass_diss_cumul(1) = 5.0f;  // in 2-D also droplet-borne mass
      var4.mass_vol_cumul(1) = 0.25f;
      volatilize(1);
      const std::string what = r.what + (dims == 1 ? " (2-D)" : " (3-D)");
      const double tol = 2e-6 * (r.gone + 1.0);
      EXPECT_NEAR(var4.mass_vol_cumul(1), 0.25 + r.gone, tol) << what;
      EXPECT_NEAR(var4.mass_diss_surf_cumul(1), 2.0 - r.gone, tol) << what;
      EXPECT_EQ(var4.mass_diss_column_cumul(1), 1.5f) << what;
      // 2-D takes it from the total; 3-D rebuilds the total from its parts.
      EXPECT_NEAR(var4.mass_diss_cumul(1), dims == 1 ? 5.0 - r.gone : 3.5 - r.gone, tol) << what;
    }
  }
}

// Every decaying compartment of a spill, with values that single precision
// cannot hold exactly, and the totals that do not decay.
void loaded_spill(int32_t dims, float rate) {
  hns_water_spill(8, dims);
  var_spill.degradation_rate(1) = rate;
  auto& m = var4;
  m.mass_surf(1) = 100.1;
  m.mass_beached(1) = 20.3;
  m.mass_column(1) = 30.7;
  m.mass_floor(1) = 5.9;
  m.mass_disp_cumul(1) = 7.1;
  m.mass_diss_cumul(1) = 11.3f;
  m.mass_diss_surf_cumul(1) = 6.1f;
  m.mass_diss_column_cumul(1) = 4.1f;
  m.mass_sed_cumul(1) = 1.7f;
  m.mass_vol_cumul(1) = 2.2f;
  m.masaevp(1) = 9.9;
  m.mass_air(1) = 3.3;
  m.mass_radar(1) = 0.7;
}

TEST(HnsDegradation, ADayAtOnePerDayLeavesOneOverE) {
  // 144 steps of 600 s at 1 per day: e^-1 of each decaying compartment.
  // The kept share e^(-600/86400) is exact to double precision: the result
  // is e^-1 to 1e-7 of the value (the first values held in single precision
  // differ by that from the decimal ones); the degraded total is the loss.
  for (int32_t dims : {1, 2}) {
    loaded_spill(dims, 1.0f);
    const double e1 = std::exp(-1.0);
    const double decaying = 100.1 + 20.3 + 30.7 + 5.9 + 7.1 + 11.3 + 1.7;
    for (int i = 0; i < 144; ++i) degrade(1);
    const auto& m = var4;
    const double tol = 1e-7;
    struct { const char* what; double now, first; } rows[] = {
        {"surface", m.mass_surf(1), 100.1},
        {"beached", m.mass_beached(1), 20.3},
        {"column", m.mass_column(1), 30.7},
        {"floor", m.mass_floor(1), 5.9},
        {"dispersed", m.mass_disp_cumul(1), 7.1},
        {"dissolved", m.mass_diss_cumul(1), 11.3},
        {"slick-borne", m.mass_diss_surf_cumul(1), 6.1},
        {"column-borne", m.mass_diss_column_cumul(1), 4.1},
        {"sorbed", m.mass_sed_cumul(1), 1.7},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.now, r.first * e1, tol * r.first) << r.what << " " << dims;
    const double left = m.mass_surf(1) + m.mass_beached(1) + m.mass_column(1) + m.mass_floor(1) +
                        m.mass_disp_cumul(1) + m.mass_diss_cumul(1) + m.mass_sed_cumul(1);
    EXPECT_NEAR(m.mass_degr_cumul(1), decaying - left, tol * decaying) << dims;
    EXPECT_NEAR(m.mass_degr_cumul(1), decaying * (1.0 - e1), tol * decaying) << dims;
    // Not decayed: volatilised, evaporated, air and outside.
    EXPECT_EQ(m.mass_vol_cumul(1), 2.2f);
    EXPECT_EQ(m.masaevp(1), 9.9);
    EXPECT_EQ(m.mass_air(1), 3.3);
    EXPECT_EQ(m.mass_radar(1), 0.7);
  }
}

TEST(HnsDegradation, RateZeroChangesNothing) {
  loaded_spill(1, 0.0f);
  degrade(1);
  const auto& m = var4;
  EXPECT_EQ(m.mass_surf(1), 100.1);
  EXPECT_EQ(m.mass_beached(1), 20.3);
  EXPECT_EQ(m.mass_column(1), 30.7);
  EXPECT_EQ(m.mass_floor(1), 5.9);
  EXPECT_EQ(m.mass_disp_cumul(1), 7.1);
  EXPECT_EQ(m.mass_diss_cumul(1), static_cast<double>(11.3f));
  EXPECT_EQ(m.mass_sed_cumul(1), static_cast<double>(1.7f));
  EXPECT_EQ(m.mass_degr_cumul(1), 0.0);
  EXPECT_EQ(m.masaevp(1), 9.9);
}

TEST(HnsDegradation, ParticleMassesDecayWithTheirCompartmentsIn3D) {
  // At 1 per day over 600 s the particles afloat, beached, in the column
  // and on the floor keep e^(-1/144) of their mass (droplets times droplet
  // mass); those in the air, outside or paused keep all.  In 2-D the
  // particles are left to the share-back.
  const int32_t states[] = {1, 0, 5, -1, 4, -2, 2, 3};
  const bool decays[] = {true, true, true, true, false, false, false, false};
  const double keep = std::exp(-1.0 / 144.0);
  for (int32_t dims : {1, 2}) {
    loaded_spill(dims, 1.0f);
    for (int32_t j = 1; j <= 8; ++j) {
      var_part.indp(j, 1) = states[j - 1];
      var_hns_extra.equiv_part(j, 1) = 1000.0f;
      var4.massparticle(j, 1) = 2.0e-3;
    }
    degrade(1);
    for (int32_t j = 1; j <= 8; ++j) {
      const double want = dims == 2 && decays[j - 1] ? 2.0 * keep : 2.0;
      const double mass = static_cast<double>(var_hns_extra.equiv_part(j, 1)) * var4.massparticle(j, 1);
      EXPECT_NEAR(mass, want, 1e-14) << "state " << states[j - 1] << " dims " << dims;
    }
  }
}

TEST(HnsDegradation, ManySmallStepsDecayAsOneLongStep) {
  // First-order decay leaves e^(-k t) of the mass whatever the step: 0.01
  // per day over 10 days in 1 s steps (864,000 steps, each taking 1.2e-7 of
  // the mass, far below the resolution of single precision) and in one
  // step of 10 days.  Every decaying compartment, the 3-D particles'
  // masses and the degraded total agree with 1 - e^(-0.1), and the
  // degraded total is what the compartments lost.
  const double kept = std::exp(-static_cast<double>(0.01f) * 10.0);  // the rate as held
  for (int32_t dims : {1, 2}) {
    for (float dt : {1.0f, 864000.0f}) {
      loaded_spill(dims, 0.01f);
      var_run.deltat = dt;
      for (int32_t j = 1; j <= 8; ++j) {
        var_part.indp(j, 1) = 5;
        var_hns_extra.equiv_part(j, 1) = 1000.0f;
        var4.massparticle(j, 1) = 2.0e-3;
      }
      const double decaying = 100.1 + 20.3 + 30.7 + 5.9 + 7.1 + static_cast<double>(11.3f) +
                              static_cast<double>(1.7f);
      const auto steps = static_cast<int32_t>(864000.0f / dt);
      for (int32_t i = 0; i < steps; ++i) degrade(1);
      const auto& m = var4;
      const std::string what = "dims " + std::to_string(dims) + " dt " + std::to_string(dt);
      EXPECT_NEAR(m.mass_surf(1), 100.1 * kept, 1e-9 * 100.1) << what;
      EXPECT_NEAR(m.mass_floor(1), 5.9 * kept, 1e-9 * 5.9) << what;
      EXPECT_NEAR(m.mass_diss_cumul(1), static_cast<double>(11.3f) * kept, 1e-9 * 11.3) << what;
      EXPECT_NEAR(m.mass_degr_cumul(1), decaying * (1.0 - kept), 1e-9 * decaying) << what;
      const double left = m.mass_surf(1) + m.mass_beached(1) + m.mass_column(1) + m.mass_floor(1) +
                          m.mass_disp_cumul(1) + m.mass_diss_cumul(1) + m.mass_sed_cumul(1);
      EXPECT_NEAR(m.mass_degr_cumul(1) + left, decaying, 1e-9 * decaying) << what;
      if (dims == 2) {
        const double particle = static_cast<double>(var_hns_extra.equiv_part(1, 1)) * var4.massparticle(1, 1);
        EXPECT_NEAR(particle, 2.0 * kept, 1e-9 * 2.0) << what;
      }
    }
  }
}

}  // namespace
}  // namespace orvel
