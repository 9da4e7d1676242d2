#include "forcing/interp.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel {
namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

// A 3 x 2 grid from (10, 40) with spacings 0.5 and 0.25; node (i, j) holds
// its own index (i - 1)*2 + j, which is the plane 4(x - 10) + 4(y - 40) + 1.
constexpr double x0 = 10.0, y0 = 40.0, dx = 0.5, dy = 0.25;
constexpr int32_t nx = 3, ny = 2;
const std::vector<double> node_index{1, 2, 3, 4, 5, 6};

struct position {
  const char* what;
  double x, y;
  double expected;
};

// Worked by hand from the nodes around each position.
const position table[] = {
    {"south-west node", 10.0, 40.0, 1.0},
    {"node (2, 2)", 10.5, 40.25, 4.0},
    {"middle of cell (1, 1)", 10.25, 40.125, 2.5},
    {"middle of cell (2, 1)", 10.75, 40.125, 4.5},
    {"quarter of cell (1, 1)", 10.125, 40.0625, 1.75},
    {"last column", 11.0, 40.125, 5.5},
    {"strip east of the last column", 11.25, 40.125, 5.5},
    {"last row", 10.25, 40.25, 3.0},
    {"strip north of the last row", 10.25, 40.375, 3.0},
    {"north-east corner node", 11.0, 40.25, 6.0},
    {"strip north-east of the corner", 11.4, 40.45, 6.0},
    {"strip west of the origin", 9.75, 40.125, 0.5},
    {"strip south of the origin", 10.25, 39.875, 1.5},
    {"just outside east", 11.5, 40.125, 0.0},
    {"just outside north", 10.25, 40.5, 0.0},
    {"just outside west", 9.5, 40.125, 0.0},
    {"just outside south", 10.25, 39.75, 0.0},
    {"far outside", 1.0e12, -1.0e12, 0.0},
    {"longitude not a number", nan, 40.125, 0.0},
    {"latitude not a number", 10.25, nan, 0.0},
};

struct particles {
  std::vector<double> x, y;
};

particles table_positions() {
  particles p;
  for (const auto& t : table) {
    p.x.push_back(t.x);
    p.y.push_back(t.y);
  }
  return p;
}

class Interp : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_state();
    var_run.particle_number = static_cast<int32_t>(std::size(table));
    auto& m = var_mallas;
    m.grid0_x = x0;
    m.grid0_y = y0;
    m.deltax = dx;
    m.deltay = dy;
    m.xcells_number = nx;
    m.ycells_number = ny;
    // A model domain wider than every position of the table.
    m.loni = -1.0e13;
    m.lons = 1.0e13;
    m.lati = -1.0e13;
    m.lats = 1.0e13;
  }
  void TearDown() override { reset_state(); }

  const std::vector<double> none;  // node coordinates, not read
};

void expect_table(const std::vector<double>& out, double scale, int first = 0) {
  for (std::size_t p = 0; p < std::size(table); ++p) {
    EXPECT_EQ(out[first + p], scale * table[p].expected) << table[p].what;
  }
}

TEST_F(Interp, ModelGridTable) {
  const particles p = table_positions();
  std::vector<double> out(p.x.size(), -99.0);
  interp_lineal(none, none, p.x, p.y, 6, node_index, out);
  expect_table(out, 1.0);
}

TEST_F(Interp, OwnGridTable) {
  const particles p = table_positions();
  std::vector<double> out(p.x.size(), -99.0);
  interp_lineal_mr(none, none, p.x, p.y, 6, node_index, out, x0, y0, dx, dy, nx, ny);
  expect_table(out, 1.0);
}

TEST_F(Interp, LayersTable) {
  // Three layers of 8 nodes each (two unused nodes per layer): layer l holds
  // 10^(l-1) times the node index.
  var_capas.numcapascorr = 3;
  std::vector<double> field;
  for (double scale : {1.0, 10.0, 100.0}) {
    for (double v : node_index) field.push_back(scale * v);
    field.push_back(1.0e9);
    field.push_back(-1.0e9);
  }
  const particles p = table_positions();
  const int np = static_cast<int>(p.x.size());
  std::vector<double> out(3 * np + 1, -99.0);
  interp_lineal_mr_capas(none, none, p.x, p.y, 8, field, out, x0, y0, dx, dy, nx, ny);
  expect_table(out, 1.0, 0);
  expect_table(out, 10.0, np);
  expect_table(out, 100.0, 2 * np);
  EXPECT_EQ(out[3 * np], -99.0);  // past the last layer
}

TEST_F(Interp, LayersWithoutLayersWriteNothing) {
  var_capas.numcapascorr = 0;
  const particles p = table_positions();
  std::vector<double> out(p.x.size(), -99.0);
  interp_lineal_mr_capas(none, none, p.x, p.y, 6, node_index, out, x0, y0, dx, dy, nx, ny);
  for (double v : out) EXPECT_EQ(v, -99.0);
}

// A weight of 0.1 over a difference of 1e6: the model-grid variant weighs
// with 0.1 rounded to single precision (0.100000001490116119384765625), the
// own-grid variant with the double 0.1.
TEST_F(Interp, ModelGridWeightsAreSinglePrecision) {
  var_run.particle_number = 1;
  const std::vector<double> xp{0.1}, yp{0.0};
  std::vector<double> out(1);

  // Along x: 2 x 1 nodes, 0 then 1e6.
  auto& m = var_mallas;
  m.grid0_x = 0.0;
  m.grid0_y = 0.0;
  m.deltax = 1.0;
  m.deltay = 1.0;
  m.xcells_number = 2;
  m.ycells_number = 1;
  const std::vector<double> ramp{0.0, 1.0e6};
  interp_lineal(none, none, xp, yp, 2, ramp, out);
  EXPECT_EQ(out[0], 100000.001490116119384765625);
  interp_lineal_mr(none, none, xp, yp, 2, ramp, out, 0.0, 0.0, 1.0, 1.0, 2, 1);
  EXPECT_EQ(out[0], 100000.0);

  // Along y: 1 x 2 nodes.
  m.xcells_number = 1;
  m.ycells_number = 2;
  interp_lineal(none, none, yp, xp, 2, ramp, out);
  EXPECT_EQ(out[0], 100000.001490116119384765625);
  interp_lineal_mr(none, none, yp, xp, 2, ramp, out, 0.0, 0.0, 1.0, 1.0, 1, 2);
  EXPECT_EQ(out[0], 100000.0);
}

// The bilinear form is evaluated as (d + wx(f22 - d - f21))wy + (f11 +
// wx(f21 - f11)), d = f12 - f11.  With these corners and offsets 0.3 the
// expanded form f11 + wx(f21 - f11) + wy(f12 - f11) + wx wy(f22 - f21 - f12 +
// f11) rounds to 0.0809 (double offsets) and 0.08090000329017652 (single).
TEST_F(Interp, OrderOfEvaluation) {
  var_run.particle_number = 1;
  auto& m = var_mallas;
  m.grid0_x = 0.0;
  m.grid0_y = 0.0;
  m.deltax = 1.0;
  m.deltay = 1.0;
  m.xcells_number = 2;
  m.ycells_number = 2;
  // f11 = 0.08, f12 = -0.21, f21 = 0.1, f22 = 0.72 in node order.
  const std::vector<double> field{0.08, -0.21, 0.1, 0.72};
  const std::vector<double> xp{0.3}, yp{0.3};
  std::vector<double> out(1);
  interp_lineal_mr(none, none, xp, yp, 4, field, out, 0.0, 0.0, 1.0, 1.0, 2, 2);
  EXPECT_EQ(out[0], 0.08090000000000001);
  var_capas.numcapascorr = 1;
  interp_lineal_mr_capas(none, none, xp, yp, 4, field, out, 0.0, 0.0, 1.0, 1.0, 2, 2);
  EXPECT_EQ(out[0], 0.08090000000000001);
  interp_lineal(none, none, xp, yp, 4, field, out);
  EXPECT_EQ(out[0], 0.08090000329017653);
}

// The model domain box of the own-grid variant, limits included, here
// narrower than the forcing grid.
TEST_F(Interp, OwnGridDomainBox) {
  auto& m = var_mallas;
  m.loni = 10.0;
  m.lons = 10.75;
  m.lati = 40.0;
  m.lats = 40.25;
  const struct {
    const char* what;
    double x, y, expected;
  } cases[] = {
      {"on the east limit", 10.75, 40.125, 4.5},
      {"a millionth east of it", 10.750001, 40.125, 0.0},
      {"on the west limit", 10.0, 40.125, 1.5},
      {"a millionth west of it", 9.999999, 40.125, 0.0},
      {"on the north limit", 10.25, 40.25, 3.0},
      {"a millionth north of it", 10.25, 40.250001, 0.0},
      {"on the south limit", 10.25, 40.0, 2.0},
      {"a millionth south of it", 10.25, 39.999999, 0.0},
  };
  var_run.particle_number = static_cast<int32_t>(std::size(cases));
  std::vector<double> xp, yp, out(std::size(cases), -99.0);
  for (const auto& c : cases) {
    xp.push_back(c.x);
    yp.push_back(c.y);
  }
  interp_lineal_mr(none, none, xp, yp, 6, node_index, out, x0, y0, dx, dy, nx, ny);
  for (std::size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(out[k], cases[k].expected) << cases[k].what;
}

// The shared arrays as the engines pass them: positions from the column of
// spill 2, a node field of the state, and a three-column wave array of
// which only the first column is written.
TEST_F(Interp, StateArraysAndFirstColumn) {
  var_run.particle_number = 2;
  auto& part = var_part;
  part.x_part.allocate(2, 2);
  part.y_part.allocate(2, 2);
  part.x_part(1, 2) = 10.25;
  part.y_part(1, 2) = 40.125;
  part.x_part(2, 2) = 11.0;
  part.y_part(2, 2) = 40.25;
  auto& s = var_currwindwave;
  s.hwavex.allocate(6);
  for (int k = 1; k <= 6; ++k) s.hwavex(k) = node_index[k - 1];
  s.hintx.allocate(2, 3);
  s.hintx.fill(-55.0);
  const std::span<const double> xs(part.x_part.ptr(1, 2), 2), ys(part.y_part.ptr(1, 2), 2);
  interp_lineal(s.xh, s.yh, xs, ys, 6, s.hwavex, s.hintx);
  EXPECT_EQ(s.hintx(1, 1), 2.5);
  EXPECT_EQ(s.hintx(2, 1), 6.0);
  for (int p = 1; p <= 2; ++p) {
    EXPECT_EQ(s.hintx(p, 2), -55.0);
    EXPECT_EQ(s.hintx(p, 3), -55.0);
  }
}

// The scratch cell indices hold the cell of the last particle located.
TEST_F(Interp, ScratchCellOfLastLocatedParticle) {
  var_run.particle_number = 3;
  const std::vector<double> xp{10.25, 10.75, 20.0}, yp{40.125, 40.3, 40.0};
  std::vector<double> out(3);
  interp_lineal(none, none, xp, yp, 6, node_index, out);
  EXPECT_EQ(var_mallas.x_int, 2);
  EXPECT_EQ(var_mallas.y_int, 2);
}

TEST_F(Interp, NoParticlesWriteNothing) {
  var_run.particle_number = 0;
  const std::vector<double> empty;
  std::vector<double> out{-99.0};
  interp_lineal(none, none, empty, empty, 6, node_index, out);
  interp_lineal_mr(none, none, empty, empty, 6, node_index, out, x0, y0, dx, dy, nx, ny);
  var_capas.numcapascorr = 1;
  interp_lineal_mr_capas(none, none, empty, empty, 6, node_index, out, x0, y0, dx, dy, nx, ny);
  EXPECT_EQ(out[0], -99.0);
}

// A grid without nodes locates nothing: every particle gets 0.
TEST_F(Interp, EmptyGridGivesZero) {
  var_run.particle_number = 2;
  const std::vector<double> xp{10.0, 10.25}, yp{40.0, 40.1};
  std::vector<double> out(2, -99.0);
  var_mallas.xcells_number = 0;
  interp_lineal(none, none, xp, yp, 0, none, out);
  EXPECT_EQ(out, (std::vector<double>{0.0, 0.0}));
  out.assign(2, -99.0);
  interp_lineal_mr(none, none, xp, yp, 0, none, out, x0, y0, dx, dy, 3, 0);
  EXPECT_EQ(out, (std::vector<double>{0.0, 0.0}));
}

// Arrays shorter than the grid or the particle count are refused before
// anything is read or written.
TEST_F(Interp, ShortArraysAreRefused) {
  var_run.particle_number = 2;
  var_capas.numcapascorr = 2;
  const std::vector<double> two{10.0, 10.5}, one{10.0}, five{1, 2, 3, 4, 5};
  const std::vector<double> twelve(12, 1.0), eleven(11, 1.0);
  std::vector<double> out2(2), out1(1), out4(4), out3(3);
  const auto refused = [](auto call) { EXPECT_THROW(call(), std::length_error); };
  refused([&] { interp_lineal(none, none, one, two, 6, node_index, out2); });
  refused([&] { interp_lineal(none, none, two, one, 6, node_index, out2); });
  refused([&] { interp_lineal(none, none, two, two, 6, node_index, out1); });
  refused([&] { interp_lineal(none, none, two, two, 6, five, out2); });
  refused([&] { interp_lineal_mr(none, none, two, two, 6, five, out2, x0, y0, dx, dy, nx, ny); });
  refused([&] {
    interp_lineal_mr_capas(none, none, two, two, 6, eleven, out4, x0, y0, dx, dy, nx, ny);
  });
  refused([&] {
    interp_lineal_mr_capas(none, none, two, two, 6, twelve, out3, x0, y0, dx, dy, nx, ny);
  });
  // A layer stride below the grid's node count.
  refused([&] {
    interp_lineal_mr_capas(none, none, two, two, 5, twelve, out4, x0, y0, dx, dy, nx, ny);
  });
  EXPECT_NO_THROW(
      interp_lineal_mr_capas(none, none, two, two, 6, twelve, out4, x0, y0, dx, dy, nx, ny));
}

TEST(InterpLin1d, Table) {
  // Layer above at 4 m holding 3, layer below at 8 m holding 1, passed as
  // the three-dimensional engines pass them: x1, y1 below, x2, y2 above.
  const struct {
    const char* what;
    double x, x1, x2, y1, y2, expected;
  } cases[] = {
      {"at the lower depth", 8.0, 8.0, 4.0, 1.0, 3.0, 1.0},
      {"at the upper depth", 4.0, 8.0, 4.0, 1.0, 3.0, 3.0},
      {"midway", 6.0, 8.0, 4.0, 1.0, 3.0, 2.0},
      {"a quarter down", 5.0, 8.0, 4.0, 1.0, 3.0, 2.5},
      {"above the upper depth", 2.0, 8.0, 4.0, 1.0, 3.0, 4.0},
      {"below the lower depth", 10.0, 8.0, 4.0, 1.0, 3.0, 0.0},
      {"two layers at one depth", 5.0, 5.0, 5.0, 1.0, 3.0, 3.0},
      {"two layers at one depth, away from it", 7.0, 5.0, 5.0, 1.0, 3.0, 3.0},
  };
  for (const auto& c : cases) {
    double out = -99.0;
    interp_lin_1d(c.x, out, c.x1, c.x2, c.y1, c.y2);
    EXPECT_EQ(out, c.expected) << c.what;
  }
}

}  // namespace
}  // namespace orvel
