// Wave and wind field readers and their uniform series.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "forcing/dispatch.hpp"
#include "forcing/waves.hpp"
#include "forcing/wind.hpp"
#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class Waves : public forcing_files {
 protected:
  void nodes(int32_t n, int32_t records) {
    var_cfg.wavesgridformat__xyz_grid = 1;
    var_cfg.xyzwavesnodes_number = n;
    var_cfg.wavesfilesorlines_number = records;
    var1.fichola.allocate(records);
    for (auto* a : {&w.hwavex, &w.hwavey, &w.twave, &w.hwavex0, &w.hwavey0, &w.twave0, &w.xh, &w.yh})
      a->allocate(n);
  }
  void grid(int32_t nx, int32_t ny, int32_t records) {
    var_cfg.wavesgridformat__xyz_grid = 2;
    var_cfg.xyzwavesnodes_number = nx * ny;
    var_cfg.wavesfilesorlines_number = records;
    auto& g = var_mallasforz;
    g.gridformatwaves_0x = 350.0;
    g.gridformatwaves_0y = 42.0;
    g.gridformatwaves_deltax = 0.25;
    g.gridformatwaves_deltay = 0.5;
    g.gridformatwaves_xcells = nx;
    g.gridformatwaves_ycells = ny;
    for (auto* a : {&var1.fichola_hs, &var1.fichola_t, &var1.fichola_dir}) a->allocate(records);
    for (auto* a : {&w.hwavex, &w.hwavey, &w.twave, &w.hwavex0, &w.hwavey0, &w.twave0, &w.xh, &w.yh})
      a->allocate(nx * ny);
    for (auto* a : {&w.hsg, &w.tetahg, &w.t_g, &w.hsg0, &w.tetahg0, &w.t_g0}) a->allocate(nx, ny);
  }
  var_currwindwave_block& w = var_currwindwave;
};

// Offset of 90 degrees times the single-precision pi / 180 from the true
// right angle; n times 90 degrees converts to n (pi/2 - delta90), whose sine
// and cosine the expectations take from their series in delta90.
const double delta90 = M_PI / 2 - 90 * static_cast<double>(3.14159f) / 180;

// Components along the direction read (+sin, +cos), period floored at 2.5 s,
// longitude + 360.
TEST_F(Waves, NodeFileComponentsAndPeriod) {
  nodes(4, 1);
  write("w1.txt",
        "-3.5 43.0 2.0 0.0 1.0\n"
        "-3.0 43.0 2.0 90.0 2.5\n"
        "-2.5 43.0 2.0 180.0 2.4999\n"
        "-2.0 43.0 2.0 270 8 surplus\n");
  var1.fichola(1) = name256("w1.txt");
  // A fifth node line that the node count does not take is refused, on its
  // line.
  write("w2.txt", "-3.5 43.0 2.0 0.0 1.0\n-3.0 43.0 2.0 90.0 2.5\n-2.5 43.0 2.0 180.0 2.4999\n"
                  "-2.0 43.0 2.0 270 8\n-1.5 43.0 2.0 270 8\n");
  var1.fichola(1) = name256("w2.txt");
  try {
    lee_ola(1);
    ADD_FAILURE() << "five node lines for four nodes accepted";
  } catch (const input_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "w2.txt:5: the file holds 5 node lines, but xyzwavesnodes_number = 4 nodes: each node has one line");
  }
  var1.fichola(1) = name256("w1.txt");
  lee_ola(1);
  EXPECT_EQ(w.hwavex(1), 0.0);
  EXPECT_EQ(w.hwavey(1), 2.0);
  EXPECT_NEAR(w.hwavex(2), 2.0 * (1 - delta90 * delta90 / 2), 1e-15);
  EXPECT_NEAR(w.hwavey(2), 2.0 * delta90, 1e-15);
  EXPECT_NEAR(w.hwavex(3), 2.0 * 2 * delta90, 1e-15);  // about 0, from the single-precision pi
  EXPECT_NEAR(w.hwavey(3), -2.0 * (1 - 2 * delta90 * delta90), 1e-15);
  EXPECT_NEAR(w.hwavex(4), -2.0 * (1 - 4.5 * delta90 * delta90), 1e-15);
  EXPECT_EQ(std::vector<double>(w.twave.begin(), w.twave.end()), (std::vector<double>{2.5, 2.5, 2.5, 8.0}));
  EXPECT_EQ(w.xh(1), 356.5);
  EXPECT_EQ(w.yh(1), 43.0);
  EXPECT_EQ(w.hs, 2.0);  // read buffers keep the last node
  EXPECT_EQ(w.t, 8.0);

  lee_ola0(1);
  EXPECT_EQ(w.hwavey0(1), 2.0);
  EXPECT_EQ(w.twave0(1), 2.5);
}

// Grid files: the first line is the northernmost row; direction and period
// files are read like the height file; node coordinates built for record 1
// by lee_ola, at every call by lee_ola0.
TEST_F(Waves, GridFiles) {
  grid(3, 2, 2);
  write("hs", "1 2 3\n4 5 6\n");
  write("dir", "0 0 0\n0 0 180\n");
  write("t", "1 2 3\n4\n5 6\n");  // a row may run over two lines
  for (int32_t k = 1; k <= 2; ++k) {
    var1.fichola_hs(k) = name256("hs");
    var1.fichola_dir(k) = name256("dir");
    var1.fichola_t(k) = name256("t");
  }
  lee_ola(1);
  EXPECT_EQ(std::vector<double>(w.hwavey.begin(), w.hwavey.begin() + 4), (std::vector<double>{4, 1, 5, 2}));
  EXPECT_NEAR(w.hwavey(5), -6.0 * (1 - 2 * delta90 * delta90), 1e-14);
  EXPECT_EQ(w.hwavey(6), 3.0);
  EXPECT_EQ(std::vector<double>(w.twave.begin(), w.twave.end()), (std::vector<double>{4, 2.5, 5, 2.5, 6, 3}));
  EXPECT_EQ(std::vector<double>(w.xh.begin(), w.xh.end()), (std::vector<double>{350, 350, 350.25, 350.25, 350.5, 350.5}));
  EXPECT_EQ(std::vector<double>(w.yh.begin(), w.yh.end()), (std::vector<double>{42, 42.5, 42, 42.5, 42, 42.5}));
  EXPECT_EQ(w.t_g(1, 2), 1.0);  // grid buffers hold the values as read
  EXPECT_EQ(w.tetahg(3, 1), 180.0);

  var_mallasforz.gridformatwaves_0x = 0.0;
  lee_ola(2);
  EXPECT_EQ(w.xh(1), 350.0);
  lee_ola0(2);
  EXPECT_EQ(w.xh(1), 0.0);
  EXPECT_EQ(w.hwavey0(1), 4.0);
  EXPECT_EQ(w.hsg0(2, 2), 2.0);
}

TEST_F(Waves, UniformSeriesAndDataFolder) {
  var_cfg.wavesfilesorlines_number = 2;
  for (auto* a : {&w.hwavec, &w.angc, &w.twavec}) a->allocate(2);
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = name256("data");  // no separator: joined as it stands
  write("datalstwaves.pre", "1.5 270 1.0\n2 90 9 9\n");
  lee_olacte();
  EXPECT_EQ(w.hwavec(1), 1.5);
  EXPECT_EQ(w.angc(1), 270.0);
  EXPECT_EQ(w.twavec(1), 2.5);
  EXPECT_EQ(w.twavec(2), 9.0);

  nodes(1, 1);
  write("dataw.txt", "-1 40 1 0 5\n");
  var1.fichola(1) = name256("w.txt");
  lee_ola(1);
  EXPECT_EQ(w.xh(1), 359.0);
}

class Wind : public forcing_files {
 protected:
  void nodes(int32_t n, int32_t records) {
    var_cfg.windgridformat__xyz_grid = 1;
    var_cfg.xyzwindnodes_number = n;
    var_cfg.windfilesorlines_number = records;
    var1.fichviento.allocate(records);
    for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) a->allocate(n);
  }
  var_currwindwave_block& w = var_currwindwave;
};

TEST_F(Wind, NodeFileAsRead) {
  nodes(1, 1);
  write("w.txt", "-3.5, 43.2, 5.0, -2.0\n");
  var1.fichviento(1) = name256("w.txt");
  lee_viento(1);
  EXPECT_EQ(w.xv(1), 356.5);
  EXPECT_EQ(w.yv(1), 43.2);
  EXPECT_EQ(w.windx(1), 5.0);
  EXPECT_EQ(w.windy(1), -2.0);
  lee_viento0(1);
  EXPECT_EQ(w.windy0(1), -2.0);
}

// A real wind field (January 1996, US east coast, 5 x 6 nodes) read once
// as a node file and once as U and V grid rows gives the same nodes and
// values, and the node list gives back the grid's geometry.
TEST_F(Wind, RealFieldAsNodesAndAsGridRows) {
  nodes(30, 2);
  fixture("wind_19960105T00_nodes.txt");
  fixture("wind_19960105T00_u_rows.txt");
  fixture("wind_19960105T00_v_rows.txt");
  var1.fichviento(1) = name256("wind_19960105T00_nodes.txt");
  lee_viento(1);
  const std::vector<double> x(w.xv.begin(), w.xv.end()), y(w.yv.begin(), w.yv.end());
  const std::vector<double> u(w.windx.begin(), w.windx.end()), v(w.windy.begin(), w.windy.end());
  EXPECT_EQ(w.windx(1), 0.110);  // -80, 33.75
  EXPECT_EQ(w.windy(30), -4.772);  // -70, 40

  auto& g = var_mallasforz;
  int32_t ny = 0;
  mallas_forzamientos(w.xv, w.yv, 30, g.gridformatwind_0x, g.gridformatwind_0y, g.gridformatwind_deltax,
                      g.gridformatwind_deltay, g.gridformatwind_xcells, ny);
  g.gridformatwind_ycells = ny;
  EXPECT_EQ(g.gridformatwind_0x, 280.0);
  EXPECT_EQ(g.gridformatwind_0y, 33.75);
  EXPECT_EQ(g.gridformatwind_deltax, 2.5);
  EXPECT_EQ(g.gridformatwind_deltay, 1.25);
  EXPECT_EQ(g.gridformatwind_xcells, 5);
  EXPECT_EQ(ny, 6);

  var_cfg.windgridformat__xyz_grid = 2;
  var1.fichviento_u.allocate(2);
  var1.fichviento_v.allocate(2);
  for (auto* a : {&w.uwg, &w.vwg, &w.uwg0, &w.vwg0}) a->allocate(5, 6);
  var1.fichviento_u(1) = name256("wind_19960105T00_u_rows.txt");
  var1.fichviento_v(1) = name256("wind_19960105T00_v_rows.txt");
  w.xv.fill(0.0);
  w.yv.fill(0.0);
  lee_viento0(1);
  EXPECT_EQ(std::vector<double>(w.xv.begin(), w.xv.end()), x);
  EXPECT_EQ(std::vector<double>(w.yv.begin(), w.yv.end()), y);
  EXPECT_EQ(std::vector<double>(w.windx0.begin(), w.windx0.end()), u);
  EXPECT_EQ(std::vector<double>(w.windy0.begin(), w.windy0.end()), v);

  // A later record leaves the grid node coordinates as they were.
  var1.fichviento_u(2) = name256("wind_19960105T00_v_rows.txt");
  var1.fichviento_v(2) = name256("wind_19960105T00_u_rows.txt");
  g.gridformatwind_0x = 0.0;
  lee_viento(2);
  EXPECT_EQ(std::vector<double>(w.xv.begin(), w.xv.end()), x);
  EXPECT_EQ(std::vector<double>(w.windx.begin(), w.windx.end()), v);
}

TEST_F(Wind, UniformSeriesAsRead) {
  var_cfg.windfilesorlines_number = 2;
  w.windc.allocate(2);
  w.angw.allocate(2);
  write("lstwinds.pre", "10 90\n-3 370\n");
  lee_vientocte();
  EXPECT_EQ(w.windc(2), -3.0);
  EXPECT_EQ(w.angw(2), 370.0);

  write("lstwinds.pre", "10 90\n");
  EXPECT_STREQ(input_error_of([] { lee_vientocte(); }).what(),
               "lstwinds.pre:2: expected a real number (wind speed), found end of file");
}

}  // namespace
}  // namespace orvel::forcing_test
