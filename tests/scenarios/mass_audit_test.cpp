// The mass budget audited end to end: every row of every property file of
// a run accounts for its reference mass.  The printed compartment masses
// (afloat, beached, evaporated, dispersed, in the column, on the floor,
// outside) are summed here from the printed figures; the balance column is
// read only to see that it says what the sum says.
//
// The oil scenarios (tests/scenarios/audit_oil2d/ and audit_oil3d/): the
// 0.1-degree grid from 10 W, 42 N with a straight coast at 8.7 W; current,
// wind (3 % drift) and waves (Stokes drift) all from the north-west, a
// random walk, Runge-Kutta steps of 600 s, hourly rows over 48 h.
//   AUD2, AUD3: 1000 t released at 0 h and headed for the corner where the
//     coast meets the south edge of the grid (so some oil beaches and some
//     leaves the grid), and 2000 t released at 3 h farther west, which
//     leaves through the south edge.  2-D: spreading, evaporation,
//     emulsification, natural dispersion; 3-D: releases at 10 and 19 m in
//     20 m of water whose droplets rise, then the same weathering.
//   AUC2, AUC3: a continuous release of 4000 t from the first release
//     point in four pulses an hour apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"
#include "tests/support/property_table.hpp"

namespace orvel {
namespace {

using namespace testing;

// Every row: the printed compartments sum to `reference` kg within
// `tolerance` kg, and the balance column reads `balance`.
void expect_budget(const property_table& t, double reference, double tolerance, double balance = 100.0) {
  ASSERT_GT(t.size(), 0u) << t.file();
  for (std::size_t r = 0; r < t.size(); ++r) {
    const double time = t.at(r, "time (h)");
    EXPECT_NEAR(t.printed_mass(r), reference, tolerance) << t.file() << " at " << time << " h";
    EXPECT_EQ(t.at(r, "balance (%)"), balance) << t.file() << " at " << time << " h";
  }
}

// The largest value of a column over the rows.
double largest(const property_table& t, const std::string& label) {
  double m = 0.0;
  for (std::size_t r = 0; r < t.size(); ++r) m = std::max(m, t.at(r, label));
  return m;
}

// Per-spill files print in double precision: 1e-9 of a reference mass of
// 1000 t or more is 1 g, above the 7 x 0.05 g that rounding the printed
// masses to four decimals can add up to.
constexpr double oil_relative = 1e-9;

// Rows hourly over 48 h from each file's start.
void expect_hourly_rows(const property_table& t, int from_h) {
  ASSERT_EQ(t.size(), static_cast<std::size_t>(49 - from_h)) << t.file();
  for (std::size_t r = 0; r < t.size(); ++r) EXPECT_EQ(t.at(r, "time (h)"), from_h + static_cast<double>(r));
}

// The all-sub-spill file of four pulses of `pulse_kg`, started at 0, 1, 2
// and 3 h, rows every `deltat` x K: each row sums the pulses started by its
// time, which the file holds in single precision, so that its time can fall
// a hair short of a whole hour (with 600 s steps the row of 1 h is
// 7 x 600 / 3600 - 600 / 3600 = 0.99999994 h and the pulse of 1 h is not
// yet in it).  Every compartment is a single-precision sum of n terms: each
// of the n roundings is within 2^-24 of the column, so the printed masses of
// n pulses lie within n 2^-24 n pulse_kg, plus the 0.05 g of rounding each
// of the seven printed masses, of n pulse_kg.  The balance reads 25 n.
void expect_release_budget(const property_table& t, double pulse_kg, float deltat, int stride) {
  ASSERT_GT(t.size(), 0u) << t.file();
  for (std::size_t r = 0; r < t.size(); ++r) {
    const int32_t fe = 1 + static_cast<int32_t>(r) * stride;
    const float time = static_cast<float>(fe) * deltat / 3600.0f - deltat / 3600.0f;
    int n = 0;
    for (int p = 0; p < 4; ++p) n += static_cast<double>(time) >= p ? 1 : 0;
    const double reference = n * pulse_kg;
    const double tolerance = n * std::ldexp(reference, -24) + 7 * 0.5e-4;
    EXPECT_NEAR(t.printed_mass(r), reference, tolerance) << t.file() << " at " << time << " h, " << n << " pulses";
    EXPECT_EQ(t.at(r, "balance (%)"), 25.0 * n) << t.file() << " at " << time << " h";
  }
}

struct oil_mode {
  const char* folder;
  const char* instant_key;
  const char* continuous_key;
};
const oil_mode oil_modes[] = {{"audit_oil2d", "AUD2", "AUC2"}, {"audit_oil3d", "AUD3", "AUC3"}};

TEST(ScenarioMassAudit, OilTwoSpillsToTheCoastAndOutOfTheGrid) {
  for (const auto& mode : oil_modes) {
    SCOPED_TRACE(mode.folder);
    temp_dir dir;
    copy_scenario(mode.folder);
    run_ok(mode.instant_key);
    const std::string key = mode.instant_key;
    const property_table first(key + "_properties_001.txt");
    const property_table second(key + "_properties_002.txt");
    expect_hourly_rows(first, 0);
    expect_hourly_rows(second, 3);
    expect_budget(first, 1.0e6, oil_relative * 1.0e6);
    expect_budget(second, 2.0e6, oil_relative * 2.0e6);
    // The runs reach what they are built to reach: the first spill both the
    // coast and the edge, the second the edge; every weathering process
    // takes its share; in 3-D the droplets start in the column.
    const std::size_t last = first.size() - 1;
    EXPECT_GT(first.at(last, "beached (kg)"), 1.0e5);
    EXPECT_GT(first.at(last, "outside (kg)"), 1.0e5);
    EXPECT_EQ(first.at(last, "surface (kg)"), 0.0);
    EXPECT_GT(second.at(second.size() - 1, "outside (kg)"), 1.0e6);
    for (const auto* t : {&first, &second}) {
      EXPECT_GT(largest(*t, "evaporated (kg)"), 0.0) << t->file();
      EXPECT_GT(largest(*t, "dispersed (kg)"), 0.0) << t->file();
      EXPECT_GT(largest(*t, "emulsified (%)"), 0.0) << t->file();
    }
    if (key == "AUD3") {
      EXPECT_EQ(first.at(0, "column (kg)"), 1.0e6);
      EXPECT_EQ(second.at(0, "column (kg)"), 2.0e6);
    }
  }
}

TEST(ScenarioMassAudit, OilContinuousReleaseOfFourPulses) {
  for (const auto& mode : oil_modes) {
    SCOPED_TRACE(mode.folder);
    temp_dir dir;
    copy_scenario(mode.folder);
    run_ok(mode.continuous_key);
    const std::string key = mode.continuous_key;
    // Each pulse's file refers to its own 1000 t.
    for (int p = 1; p <= 4; ++p) {
      const property_table t(key + "_properties_subspill_00" + std::to_string(p) + ".txt");
      expect_hourly_rows(t, p - 1);
      expect_budget(t, 1.0e6, oil_relative * 1.0e6);
      EXPECT_GT(largest(t, "evaporated (kg)"), 0.0) << t.file();
    }
    const property_table all(key + "_properties_001.txt");
    ASSERT_EQ(all.size(), 49u);
    expect_release_budget(all, 1.0e6, 600.0f, 6);
    EXPECT_GT(all.at(48, "beached (kg)"), 1.0e5);
    EXPECT_GT(all.at(48, "outside (kg)"), 1.0e5);
  }
}

// By design the all-sub-spill file refers to the whole release, so that its
// balance climbs with the pulses: four pulses an hour apart of 1000 kg in
// all, weathered by emulsification alone (which takes up water and leaves
// the oil's mass afloat), steps of 60 s so that the rows fall on the whole
// hours: afloat and balance 25, 50, 75 and 100 % at 0, 1, 2 and 3 h, 100 %
// from then on, 250 kg afloat in every pulse's file.
TEST(ScenarioMassAudit, TheWholeReleaseBalanceClimbsWithThePulses) {
  temp_dir dir;
  copy_scenario("audit_oil2d");
  replace_text("AUC2.cfg", "2\n1 1 8\n1\n1\n1\n", "2\n0 1 8\n0\n1\n0\n");
  replace_text("AUC2.cfg", "1 0.0 4000000.0 -8.974 42.2 0.0 1000.0 1000.0 0.01 0.0001 4444.4444444",
               "1 0.0 1000.0 -8.974 42.2 0.0 1000.0 1000.0 0.01 0.0001 1.1111111");
  replace_text("AUC2.cfg", "\n48\n", "\n6\n");
  replace_text("AUC2.run", "\n600.\n", "\n60.\n");
  run_ok("AUC2");
  const property_table all("AUC2_properties_001.txt");
  ASSERT_EQ(all.size(), 7u);
  const double share[] = {25, 50, 75, 100, 100, 100, 100};
  for (std::size_t r = 0; r < all.size(); ++r) {
    EXPECT_EQ(all.at(r, "time (h)"), static_cast<double>(r));
    EXPECT_EQ(all.at(r, "surface (%)"), share[r]) << r;
    EXPECT_EQ(all.at(r, "balance (%)"), share[r]) << r;
    EXPECT_EQ(all.at(r, "surface (kg)"), 10.0 * share[r]) << r;
    EXPECT_GT(all.at(r, "emulsified (%)"), r == 0 ? -1.0 : 0.0) << r;
  }
  expect_release_budget(all, 250.0, 60.0f, 60);
  for (int p = 1; p <= 4; ++p) {
    const property_table t("AUC2_properties_subspill_00" + std::to_string(p) + ".txt");
    for (std::size_t r = 0; r < t.size(); ++r) EXPECT_EQ(t.at(r, "surface (kg)"), 250.0) << t.file() << " " << r;
    expect_budget(t, 250.0, 7 * 0.5e-4);
  }
}

// By design a paused particle, here one in a dry cell of a wet/dry current
// grid (state 3), is in no compartment until it moves again.  Twenty
// particles of 50 t (1000 t over a 1 km square astride the node at 9 W), no
// current, weathered by emulsification alone (which leaves the oil's mass
// afloat), rows and particle files every step of 600 s; the current grid's
// mask is dry west of 9 W for the first two hourly records and wet after.
// At each row with k particles in a dry cell the balance reads
// 100 (1 - k 50 t / 1000 t) = 100 - 5 k and the printed masses sum to
// 1000 t - k 50 t; from 2 h on, 100.00 with every particle afloat again.
TEST(ScenarioMassAudit, ParticlesInDryCellsLeaveTheBalanceWhilePaused) {
  temp_dir dir;
  copy_scenario("weathering");
  replace_text("WTHR.cfg", "2\n1 1 3\n1\n1\n1\n", "2\n0 1 3\n0\n1\n0\n");
  replace_text("WTHR.cfg", "\n24\n", "\n6\n");
  replace_text("WTHR.cfg", "2 0 0 0 0 0\n1\n1 1\n1 25 0\n0 0 0\n0 0 0 0 0 0\n0 0 0 0 0 0\n",
               "1 1 1 1 0 0\n1\n2 1\n1 7 0\n0 0 0\n-10.0 42.0 0.1 0.1 21 21\n-10.0 42.0 0.1 0.1 21 21\n");
  replace_text("WTHR.run", "0. 3600. 3600. 3600\n", "0. 600. 3600. 600\n");
  std::string zero, wet, dry;
  for (int j = 0; j < 21; ++j) {
    for (int i = 0; i < 21; ++i) {
      zero += i ? " 0.0" : "0.0";
      wet += i ? " 1" : "1";
      dry += i ? (i < 10 ? " 0" : " 1") : "0";
    }
    zero += "\n";
    wet += "\n";
    dry += "\n";
  }
  write_file("zero.grd", zero);
  write_file("wet.grd", wet);
  write_file("dry.grd", dry);
  write_file("U_lstcurr.pre", lines(7, "zero.grd"));
  write_file("V_lstcurr.pre", lines(7, "zero.grd"));
  write_file("Mask_lstcurr.pre", lines(2, "dry.grd") + lines(5, "wet.grd"));
  run_ok("WTHR");
  const property_table t("WTHR_properties_001.txt");
  ASSERT_EQ(t.size(), 37u);
  int rows_paused = 0;
  for (std::size_t r = 0; r < t.size(); ++r) {
    char name[40];
    std::snprintf(name, sizeof name, "WTHR_particles_%06d.txt", static_cast<int>(r) * 10);
    int paused = 0, afloat = 0;
    const auto particles = read_particles(name);
    ASSERT_EQ(particles.size(), 20u) << name;
    for (const auto& p : particles) {
      paused += p.state == 3 ? 1 : 0;
      afloat += p.state == 1 ? 1 : 0;
    }
    EXPECT_EQ(paused + afloat, 20) << name;
    rows_paused += paused > 0 ? 1 : 0;
    if (r > 12) {
      EXPECT_EQ(paused, 0) << name;
    }
    EXPECT_EQ(t.at(r, "balance (%)"), 100.0 - 5.0 * paused) << name;
    EXPECT_NEAR(t.printed_mass(r), 1.0e6 - 5.0e4 * paused, 1e-9 * 1.0e6) << name;
  }
  // Some particles, not all, paused in the first two hours.
  EXPECT_EQ(rows_paused, 12);
  const auto first = read_particles("WTHR_particles_000010.txt");
  EXPECT_LT(std::count_if(first.begin(), first.end(), [](const particle_row& p) { return p.state == 3; }), 20);
}

}  // namespace
}  // namespace orvel
