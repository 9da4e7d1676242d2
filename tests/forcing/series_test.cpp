// Uniform series: the current series reader and the values of one series
// line at every particle (directions name where the forcing comes from).
#include "forcing/series.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class Series : public forcing_files {
 protected:
  void particles(int32_t n, int32_t lines) {
    var_run.particle_number = n;
    for (auto* a : {&w.wintx, &w.winty, &w.wintx0, &w.winty0, &w.wintx_t1, &w.winty_t1, &w.u_curr_int,
                    &w.v_curr_int, &w.u_curr_intsup, &w.v_curr_intsup, &w.u_curr_intcol, &w.v_curr_intcol,
                    &w.vuint0, &w.vvint0, &w.vuint_t1, &w.vvint_t1})
      a->allocate(n);
    for (auto* a : {&w.hintx, &w.hinty, &w.tint, &w.hintx0, &w.hinty0, &w.tint0, &w.hintx_t1, &w.hinty_t1,
                    &w.tint_t1})
      a->allocate(n, 3);
    for (auto* a : {&w.windc, &w.angw, &w.hwavec, &w.angc, &w.twavec, &w.velcu, &w.angcu, &w.velcusup,
                    &w.angcusup, &w.velcucol, &w.angcucol})
      a->allocate(lines);
  }
  var_currwindwave_block& w = var_currwindwave;
};

// delta = pi/2 - 90 * 3.14159f / 180: the single-precision pi leaves the
// converted right angle short by about 1.27e-6 rad.
const double delta90 = M_PI / 2 - 90 * static_cast<double>(3.14159f) / 180;
// (Good to about 1e-16 absolute: the small components are checked to 1e-14.)

// A wind of 10 m/s from the east (90) blows toward the west: east =
// -10 sin(pi/2 - delta) = -10 (1 - delta^2/2), north = -10 cos(pi/2 - delta)
// = -10 delta, at every particle; from the north (0): (0, -10).
TEST_F(Series, WindFromTheEastAndFromTheNorth) {
  particles(3, 2);
  w.windc(1) = 10.0;
  w.angw(1) = 90.0;
  w.windc(2) = 10.0;
  w.angw(2) = 0.0;
  viento_part(1);
  for (int32_t p = 1; p <= 3; ++p) {
    EXPECT_NEAR(w.wintx(p), -10.0 * (1 - delta90 * delta90 / 2), 1e-14);
    EXPECT_NEAR(w.winty(p), -10.0 * delta90, 1e-14);
    EXPECT_NEAR(w.winty(p), -1.2675908e-5, 1e-12);
  }
  viento_part0(2);
  viento_partinterp(1);
  EXPECT_EQ(w.wintx0(2), 0.0);
  EXPECT_EQ(w.winty0(2), -10.0);
  EXPECT_EQ(w.wintx_t1(3), w.wintx(3));
  EXPECT_EQ(w.winty_t1(3), w.winty(3));
}

// A current of 0.5 m/s from 180 sets north; east is -0.5 sin(pi - 2 delta).
TEST_F(Series, CurrentsTwoAndThreeDimensions) {
  particles(2, 1);
  var_run.sim__2d_3d = 1;
  w.velcu(1) = 0.5;
  w.angcu(1) = 180.0;
  vel_part(1);
  EXPECT_NEAR(w.u_curr_int(2), -0.5 * 2 * delta90, 1e-15);
  EXPECT_NEAR(w.v_curr_int(2), 0.5 * (1 - 2 * delta90 * delta90), 1e-15);
  vel_part0(1);
  vel_partinterp(1);
  EXPECT_EQ(w.vvint0(1), w.v_curr_int(1));
  EXPECT_EQ(w.vuint_t1(1), w.u_curr_int(1));

  // 3-D: u_curr_int takes the water-column value, not the surface one.
  var_run.sim__2d_3d = 2;
  w.velcusup(1) = 1.0;
  w.angcusup(1) = 0.0;
  w.velcucol(1) = 0.25;
  w.angcucol(1) = 0.0;
  vel_part(1);
  EXPECT_EQ(w.v_curr_intsup(1), -1.0);
  EXPECT_EQ(w.v_curr_intcol(2), -0.25);
  EXPECT_EQ(w.v_curr_int(2), -0.25);
  EXPECT_EQ(w.u_curr_int(1), w.u_curr_intcol(1));
}

// Waves of 2 m from 270 (from the west) go east: hintx about +2, hinty
// about +7.6e-6; period unchanged; columns 2 and 3 untouched.
TEST_F(Series, WavesColumnOne) {
  particles(2, 1);
  w.hintx.fill(-9.0);
  w.hwavec(1) = 2.0;
  w.angc(1) = 270.0;
  w.twavec(1) = 8.0;
  ola_part(1);
  for (int32_t p = 1; p <= 2; ++p) {
    EXPECT_NEAR(w.hintx(p, 1), 2.0 * (1 - 4.5 * delta90 * delta90), 1e-15);
    EXPECT_NEAR(w.hinty(p, 1), 2.0 * 3 * delta90, 1e-14);
    EXPECT_EQ(w.tint(p, 1), 8.0);
    EXPECT_EQ(w.hintx(p, 2), -9.0);
    EXPECT_EQ(w.hintx(p, 3), -9.0);
  }
  ola_part0(1);
  ola_partinterp(1);
  EXPECT_EQ(w.hintx0(1, 1), w.hintx(1, 1));
  EXPECT_EQ(w.tint_t1(2, 1), 8.0);

  var_run.particle_number = 0;  // no particle: nothing written
  w.hwavec(1) = 5.0;
  ola_part(1);
  EXPECT_EQ(w.tint(1, 1), 8.0);
}

TEST_F(Series, CurrentSeriesFiles) {
  particles(1, 2);
  var_cfg.currentfilesorlines_number = 2;
  var_run.sim__2d_3d = 1;
  write("lstcurr.pre", "0.5 270 extra\n0.25,90\n");
  lee_velcte();
  EXPECT_EQ(w.velcu(1), 0.5);
  EXPECT_EQ(w.angcu(1), 270.0);
  EXPECT_EQ(w.angcu(2), 90.0);

  // 3-D: two header lines skipped whatever they hold.
  var_run.sim__2d_3d = 2;
  write("lstcurr3D.pre", "1 2 3 4\nsurface column\n0.5 10 0.1 20\n0.6 30 0.2 40\n");
  lee_velcte();
  EXPECT_EQ(w.velcusup(1), 0.5);
  EXPECT_EQ(w.angcucol(2), 40.0);
  EXPECT_EQ(w.velcu(1), 0.5);  // the 2-D series is left as it was

  write("lstcurr3D.pre", "header\n");
  EXPECT_STREQ(input_error_of([] { lee_velcte(); }).what(),
               "lstcurr3D.pre:2: expected the second header line, found end of file");

  // No series lines: nothing is needed.
  var_cfg.currentfilesorlines_number = 0;
  std::filesystem::remove(dir_.path() / "lstcurr3D.pre");
  lee_velcte();
  velcte();
}

}  // namespace
}  // namespace orvel::forcing_test
