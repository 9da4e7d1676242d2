// Reader dispatch, forcing-grid geometry and the series-rewriting procedure.
#include "forcing/dispatch.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class Dispatch : public forcing_files {
 protected:
  void particles(int32_t n) {
    var_run.particle_number = n;
    for (auto* a : {&w.wintx, &w.winty, &w.wintx0, &w.winty0, &w.wintx_t1, &w.winty_t1, &w.u_curr_int,
                    &w.v_curr_int, &w.vuint0, &w.vvint0, &w.vuint_t1, &w.vvint_t1})
      a->allocate(n);
    for (auto* a : {&w.hintx, &w.hinty, &w.tint, &w.hintx0, &w.hinty0, &w.tint0, &w.hintx_t1, &w.hinty_t1,
                    &w.tint_t1})
      a->allocate(n, 3);
  }
  void wave_files(int32_t records) {
    var_cfg.wavestype__file_constant = 1;
    var_cfg.wavesgridformat__xyz_grid = 1;
    var_cfg.xyzwavesnodes_number = 1;
    var_cfg.wavesfilesorlines_number = records;
    var1.fichola.allocate(records);
    for (auto* a : {&w.hwavex, &w.hwavey, &w.twave, &w.hwavex0, &w.hwavey0, &w.twave0, &w.xh, &w.yh})
      a->allocate(1);
    for (int32_t k = 1; k <= records; ++k) {
      const std::string name = "w" + std::to_string(k);
      write(name, "-9 42 " + std::to_string(k) + " 0 10\n");
      var1.fichola(k) = name256(name);
    }
  }
  var_currwindwave_block& w = var_currwindwave;
};

// Waves from 5 files blended in time: record 1 as the start, the index
// advanced to 2 and record 2 as the end of the interval.
TEST_F(Dispatch, WaveFilesBlendedInTime) {
  wave_files(5);
  var1.i_ola = 1;
  lee_forcings_interp(2);
  EXPECT_EQ(var1.i_ola, 2);
  EXPECT_EQ(w.hwavey0(1), 1.0);
  EXPECT_EQ(w.hwavey(1), 2.0);

  // Without blending, the record of the index.
  var1.i_ola = 4;
  lee_forcings(2);
  EXPECT_EQ(w.hwavey(1), 4.0);
  EXPECT_EQ(var1.i_ola, 4);

  // At the last record the index stays.
  var1.i_ola = 5;
  lee_forcings_interp(2);
  EXPECT_EQ(var1.i_ola, 5);
  EXPECT_EQ(w.hwavey0(1), 5.0);
  EXPECT_EQ(w.hwavey(1), 5.0);
}

// Wind as a one-line series: both levels hold line 1 and the index stays.
// Type options 2 and 3 both mean a series.
TEST_F(Dispatch, WindSeriesOfOneLine) {
  particles(2);
  var_cfg.windfilesorlines_number = 1;
  w.windc.allocate(1);
  w.angw.allocate(1);
  write("lstwinds.pre", "10 0\n");
  for (int32_t type : {2, 3}) {
    var_cfg.windtype__file_constant = type;
    var1.i_viento = 1;
    w.winty0.fill(0.0);
    w.winty_t1.fill(0.0);
    lee_forcings_interp(3);
    EXPECT_EQ(var1.i_viento, 1);
    EXPECT_EQ(w.winty0(2), -10.0);
    EXPECT_EQ(w.winty_t1(2), -10.0);
    lee_forcings(3);
    EXPECT_EQ(w.winty(1), -10.0);
  }
}

TEST_F(Dispatch, CurrentsKeepTheirIndex) {
  particles(1);
  var_cfg.currenttype__file_constant = 2;
  var_run.sim__2d_3d = 1;
  var_cfg.currentfilesorlines_number = 2;
  w.velcu.allocate(2);
  w.angcu.allocate(2);
  write("lstcurr.pre", "1 0\n2 0\n");
  var1.i_vel = 2;
  lee_forcings_interp(1);
  EXPECT_EQ(var1.i_vel, 2);
  EXPECT_EQ(w.vvint0(1), -2.0);
  EXPECT_EQ(w.vvint_t1(1), 0.0);
  lee_forcings(1);
  EXPECT_EQ(w.v_curr_int(1), -2.0);

  // Field files: the start-of-interval record only.
  allocate_currents(1, 1, 0, 1, 2);
  write("u1", "-9 42 0.5\n");
  write("v1", "-9 42 0.25\n");
  var1.fichvel_u(1) = name256("u1");
  var1.fichvel_v(1) = name256("v1");
  var1.i_vel = 1;
  lee_forcings_interp(1);
  EXPECT_EQ(var1.i_vel, 1);
  EXPECT_EQ(var2.u0(1, 1), 0.5);
  EXPECT_EQ(var2.u_curr_read(1, 1), 0.0);
  lee_forcings(1);
  EXPECT_EQ(var2.u_curr_read(1, 1), 0.5);
}

TEST_F(Dispatch, OtherKindsDoNothing) {
  var1.i_ola = 3;
  var1.i_viento = 3;
  var1.i_vel = 3;
  lee_forcings(0);
  lee_forcings_interp(4);
  EXPECT_EQ(var1.i_ola, 3);
  EXPECT_EQ(var1.i_viento, 3);
  EXPECT_EQ(var1.i_vel, 3);
  EXPECT_TRUE(dir_.files().empty());
}

struct grid_case {
  std::vector<double> x, y;
  int32_t ny_in;
  double x0, y0, dx, dy;
  int32_t nx, ny;
};

TEST(MallasForzamientos, GeometryFromNodeLists) {
  std::vector<double> x12, y12;
  for (double lon : {370.0, 371.0, 372.0, 373.0}) {
    for (double lat : {40.0, 40.5, 41.0}) {
      x12.push_back(lon);
      y12.push_back(lat);
    }
  }
  std::vector<double> x13 = x12, y13 = y12;
  x13.push_back(374.0);
  y13.push_back(40.0);
  const grid_case cases[] = {
      {x12, y12, 0, 370, 40, 1, 0.5, 4, 3},                          // 4 columns of 3
      {x13, y13, 0, 370, 40, 1, 0.5, 4, 3},                          // a node beyond the last column
      {{370, 371, 372, 373}, {40, 41, 42, 43}, 0, 370, 40, 1, 1, 4, 1},  // one node per column
      {{370, 370, 370, 370}, {40, 40.5, 41, 41.5}, 2, 370, 40, -7, 0.5, 2, 2},  // one column: incoming ny
      {{370, 370, 370}, {40, 40.5, 41}, 0, 370, 40, -7, 0.5, 1, 3},   // one column, no incoming ny
      {{370}, {40}, 0, 370, 40, -7, -7, 1, 1},                         // one node
  };
  for (const grid_case& c : cases) {
    farray<double, 1> x, y;
    const int32_t n = static_cast<int32_t>(c.x.size());
    x.allocate(n);
    y.allocate(n);
    for (int32_t k = 1; k <= n; ++k) {
      x(k) = c.x[k - 1];
      y(k) = c.y[k - 1];
    }
    double x0 = -7, y0 = -7, dx = -7, dy = -7;
    int32_t nx = -7, ny = c.ny_in;
    mallas_forzamientos(x, y, n, x0, y0, dx, dy, nx, ny);
    EXPECT_EQ(x0, c.x0) << n;
    EXPECT_EQ(y0, c.y0) << n;
    EXPECT_EQ(dx, c.dx) << n;
    EXPECT_EQ(dy, c.dy) << n;
    EXPECT_EQ(nx, c.nx) << n;
    EXPECT_EQ(ny, c.ny) << n;
  }
  // No node: nothing changes.
  farray<double, 1> none;
  none.allocate(0);
  double x0 = 1, y0 = 2, dx = 3, dy = 4;
  int32_t nx = 5, ny = 6;
  mallas_forzamientos(none, none, 0, x0, y0, dx, dy, nx, ny);
  EXPECT_EQ(nx, 5);
  EXPECT_EQ(ny, 6);
  EXPECT_EQ(x0, 1);
}

class ListaTablas : public forcing_files {
 protected:
  void spills(std::vector<double> hours) {
    var_cfg.spills_number = static_cast<int32_t>(hours.size());
    if (var_cfg.spillstarttime.allocated()) var_cfg.spillstarttime.deallocate();
    var_cfg.spillstarttime.allocate(var_cfg.spills_number);
    for (int32_t s = 1; s <= var_cfg.spills_number; ++s) var_cfg.spillstarttime(s) = hours[s - 1];
  }
};

// Spills from 7.5 h and 5.2 h: t = 5 whole hours; 2-hour wind records give
// floor(5 / 2) = 2 lines of zeros before the series, which is rewritten in
// the layout 3F8.3 (two fields here).
TEST_F(ListaTablas, PrependsZeroLines) {
  spills({7.5, 5.2});
  var_cfg.windfilesorlines_number = 2;
  var_cfg.deltat_wind = 7200.0f;
  var_run.datafolder__same_other = 2;  // always the working directory
  var_cfg.ruta = name256("data/");
  write("lstwinds.pre", "10 90\n5.25 180 extra\n");
  lee_listatablas(2);
  EXPECT_EQ(read("lstwinds.pre"),
            "   0.000   0.000\n"
            "   0.000   0.000\n"
            "  10.000  90.000\n"
            "   5.250 180.000\n");
  EXPECT_EQ(var_cfg.windfilesorlines_number, 4);
  EXPECT_EQ(dir_.files(), (std::vector<std::string>{"lstwinds.pre"}));

  // Waves: three values per line.
  spills({3.0});
  var_cfg.wavesfilesorlines_number = 1;
  var_cfg.deltat_waves = 3600.0f;
  write("lstwaves.pre", "1 2 3\n");
  lee_listatablas(1);
  EXPECT_EQ(read("lstwaves.pre"),
            "   0.000   0.000   0.000\n   0.000   0.000   0.000\n   0.000   0.000   0.000\n"
            "   1.000   2.000   3.000\n");
  EXPECT_EQ(var_cfg.wavesfilesorlines_number, 4);
}

TEST_F(ListaTablas, NothingWhenTheFirstSpillStartsInHourZero) {
  spills({0.9, 5.0});
  var_cfg.currentfilesorlines_number = 1;
  var_cfg.deltat_currents = 3600.0f;
  write("lstcurr.pre", "1 2\n");
  lee_listatablas(3);
  lee_listatablas(4);
  EXPECT_EQ(read("lstcurr.pre"), "1 2\n");
  EXPECT_EQ(var_cfg.currentfilesorlines_number, 1);
}

// A series too short for its length: the error leaves the file as it was.
TEST_F(ListaTablas, FailureLeavesTheSeriesIntact) {
  spills({4.0});
  var_cfg.currentfilesorlines_number = 3;
  var_cfg.deltat_currents = 3600.0f;
  write("lstcurr.pre", "1 2\n3 4\n");
  EXPECT_STREQ(input_error_of([] { lee_listatablas(3); }).what(),
               "lstcurr.pre:3: expected a real number (series value), found end of file");
  EXPECT_EQ(read("lstcurr.pre"), "1 2\n3 4\n");
  EXPECT_EQ(var_cfg.currentfilesorlines_number, 3);
  EXPECT_EQ(dir_.files(), (std::vector<std::string>{"lstcurr.pre"}));
}

}  // namespace
}  // namespace orvel::forcing_test
