#include "forcing/blend.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/farray.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel {
namespace {

// start, end, f and the blend worked by hand with 1 - f in single
// precision: 1 - 0.1f rounds to 0.89999997615814208984375, so 10 and 20
// give 10.999999791383743 (a double 1 - f would give 11.000000014901161),
// and the two weights of 0.1f add up to less than 1; 1 - 1.0e-8f rounds to
// exactly 1, so the start level keeps its full weight.
struct blend_case {
  double start, end;
  float f;
  double expected;
};
const blend_case table[] = {
    {10.0, 20.0, 0.0f, 10.0},
    {10.0, 20.0, 1.0f, 20.0},
    {-3.25, 7.5, 0.0f, -3.25},
    {-3.25, 7.5, 1.0f, 7.5},
    {10.0, 20.0, 0.5f, 15.0},
    {10.0, 20.0, 0.1f, 10.999999791383743},
    {2.5, 2.5, 0.1f, 2.4999999441206455},
    {10.0, 20.0, 1.0e-8f, 10.000000199999999},
    {1.5, -3.0, 0.7f, -1.6499999463558197},
};
constexpr int n = static_cast<int>(std::size(table));

void fill_levels(farray<double, 1>& start, farray<double, 1>& end) {
  start.allocate(n);
  end.allocate(n);
  for (int k = 1; k <= n; ++k) {
    start(k) = table[k - 1].start;
    end(k) = table[k - 1].end;
  }
}

// (particle, 3) arrays: column 1 from the table, columns 2 and 3 marked.
void fill_levels(farray<double, 2>& start, farray<double, 2>& end) {
  start.allocate(n, 3);
  end.allocate(n, 3);
  start.fill(-77.0);
  end.fill(-77.0);
  for (int k = 1; k <= n; ++k) {
    start(k, 1) = table[k - 1].start;
    end(k, 1) = table[k - 1].end;
  }
}

// The two weights of f as the blends form them: 1 - f in single precision,
// both widened.
struct weights_of {
  double start, end;
  explicit weights_of(float f) : start(static_cast<double>(1.0f - f)), end(static_cast<double>(f)) {}
};

// The table's values and weights differ per element; each routine blends
// with one weight, so every row runs as its own call.
template <typename Call>
void for_each_row(Call call) {
  for (int k = 0; k < n; ++k) call(k, table[k].f);
}

class Blend : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(); }
  void TearDown() override { reset_state(); }
};

TEST_F(Blend, CurrentsAtNodes) {
  auto& c = var2;
  c.u0.allocate(n, 2);
  c.v0.allocate(n, 2);
  c.u0.fill(-77.0);
  c.v0.fill(-77.0);
  c.u_curr_read.allocate(n, 2);
  c.v_curr_read.allocate(n, 2);
  c.u_curr_read.fill(-77.0);  // layer 2 must not be read
  c.v_curr_read.fill(-77.0);
  for (int k = 1; k <= n; ++k) {
    c.u0(k, 1) = table[k - 1].start;
    c.v0(k, 1) = table[k - 1].start;
    c.u_curr_read(k, 1) = table[k - 1].end;
    c.v_curr_read(k, 1) = table[k - 1].end;
  }
  var_cfg.xyzcurrentnodes_number = {n, n, 0};
  std::vector<double> u(n), v(n);
  for_each_row([&](int k, float f) {
    interp_corr(f, u, v);
    EXPECT_EQ(u[k], table[k].expected) << "row " << k;
    EXPECT_EQ(v[k], table[k].expected) << "row " << k;
  });
}

// Every layer and the vertical current at the weight of the surface: layer
// l holds the table's levels times l (w: times -l / 1000), so each blend is
// the hand-worked one of the table scaled, formed with the same weights.
TEST_F(Blend, EveryLayerAndTheVerticalCurrentAtNodes) {
  constexpr int layers = 3;
  auto& c = var2;
  var_capas.numcapascorr = layers;
  var_cfg.xyzcurrentnodes_number = {n, n, n};
  for (auto* a : {&c.u0, &c.v0, &c.w0, &c.u_curr_read, &c.v_curr_read, &c.w_curr_read}) a->allocate(n, layers);
  auto scale = [](int l, bool w) { return w ? -l / 1000.0 : static_cast<double>(l); };
  for (int l = 1; l <= layers; ++l) {
    for (int k = 1; k <= n; ++k) {
      for (bool w : {false, true}) {
        const double m = scale(l, w);
        (w ? c.w0 : c.u0)(k, l) = table[k - 1].start * m;
        (w ? c.w_curr_read : c.u_curr_read)(k, l) = table[k - 1].end * m;
      }
      c.v0(k, l) = c.u0(k, l);
      c.v_curr_read(k, l) = c.u_curr_read(k, l);
    }
  }
  farray<double, 2> u{"u"}, v{"v"}, w{"w"};
  for (auto* a : {&u, &v, &w}) a->allocate(n, layers);
  for (int32_t flag : {1, 0}) {
    var_currwindwave.wcurrentsflag = flag;
    w.fill(99.0);
    for_each_row([&](int k, float f) {
      interp_corr_capas(f, u, v, w);
      std::vector<double> surface_u(n), surface_v(n);
      interp_corr(f, surface_u, surface_v);
      EXPECT_EQ(u(k + 1, 1), surface_u[k]) << "row " << k;
      for (int l = 1; l <= layers; ++l) {
        const weights_of wt(f);
        const double ul = table[k].start * l * wt.start + table[k].end * l * wt.end;
        const double wl = table[k].start * scale(l, true) * wt.start + table[k].end * scale(l, true) * wt.end;
        EXPECT_EQ(u(k + 1, l), ul) << "row " << k << " layer " << l;
        EXPECT_EQ(v(k + 1, l), ul) << "row " << k << " layer " << l;
        EXPECT_EQ(w(k + 1, l), flag ? wl : 99.0) << "row " << k << " layer " << l << " flag " << flag;
      }
    });
  }
}

TEST_F(Blend, WavesAndWindAtNodes) {
  auto& s = var_currwindwave;
  fill_levels(s.hwavex0, s.hwavex);
  fill_levels(s.hwavey0, s.hwavey);
  fill_levels(s.twave0, s.twave);
  fill_levels(s.windx0, s.windx);
  fill_levels(s.windy0, s.windy);
  var_cfg.xyzwavesnodes_number = n;
  var_cfg.xyzwindnodes_number = n;
  std::vector<double> hx(n), hy(n), t(n), wx(n), wy(n);
  for_each_row([&](int k, float f) {
    interp_ola(f, hx, hy, t);
    interp_viento(f, wx, wy);
    for (const auto* out : {&hx, &hy, &t, &wx, &wy}) {
      EXPECT_EQ((*out)[k], table[k].expected) << "row " << k;
    }
  });
}

TEST_F(Blend, SeriesAtParticles) {
  auto& s = var_currwindwave;
  var_run.particle_number = n;
  fill_levels(s.vuint0, s.vuint_t1);
  fill_levels(s.vvint0, s.vvint_t1);
  fill_levels(s.wintx0, s.wintx_t1);
  fill_levels(s.winty0, s.winty_t1);
  fill_levels(s.hintx0, s.hintx_t1);
  fill_levels(s.hinty0, s.hinty_t1);
  fill_levels(s.tint0, s.tint_t1);
  for (auto* a : {&s.u_curr_int, &s.v_curr_int, &s.wintx, &s.winty}) a->allocate(n);
  for (auto* a : {&s.hintx, &s.hinty, &s.tint}) {
    a->allocate(n, 3);
    a->fill(-55.0);
  }
  for_each_row([&](int k, float f) {
    interp_vel_part(f);
    interp_viento_part(f);
    interp_ola_part(f);
    const int p = k + 1;
    for (const auto* a : {&s.u_curr_int, &s.v_curr_int, &s.wintx, &s.winty}) {
      EXPECT_EQ((*a)(p), table[k].expected) << a->name() << " row " << k;
    }
    for (const auto* a : {&s.hintx, &s.hinty, &s.tint}) {
      EXPECT_EQ((*a)(p, 1), table[k].expected) << a->name() << " row " << k;
    }
  });
  // Only the first column of the wave arrays is written.
  for (const auto* a : {&s.hintx, &s.hinty, &s.tint}) {
    for (int p = 1; p <= n; ++p) {
      EXPECT_EQ((*a)(p, 2), -55.0);
      EXPECT_EQ((*a)(p, 3), -55.0);
    }
  }
}

// The radar-coverage rule: node k by its masks at the start and the end of
// the record, start level 10, end level 20, f = 0.5f, output 99 before the
// call.
struct mask_case {
  int32_t start_mask, end_mask;
  double expected;
};
const mask_case mask_table[] = {
    {1, 1, 15.0},   // covered at both ends: blended
    {0, 0, 15.0},   // uncovered at both ends: blended too
    {1, 0, 0.0},    // coverage lost
    {0, 1, 0.0},    // coverage gained
    {2, 1, 99.0},   // any other change: left as it was
    {1, 2, 99.0},
    {0, -1, 99.0},
    {3, 3, 15.0},   // an unusual code that does not change: blended
};
constexpr int nm = static_cast<int>(std::size(mask_table));

class RadarBlend : public Blend {
 protected:
  void SetUp() override {
    Blend::SetUp();
    auto& c = var2;
    var_cfg.currentgrid_variable__y_n = 1;
    var_cfg.variablecurrgrid__wetdry_radar = 2;
    // nm U nodes; one V node more than there are U-node masks.
    var_cfg.xyzcurrentnodes_number = {nm, nm + 1, 0};
    c.u0.allocate(nm, 1);
    c.u0.fill(10.0);
    c.v0.allocate(nm + 1, 1);
    c.v0.fill(10.0);
    c.u_curr_read.allocate(nm, 1);
    c.u_curr_read.fill(20.0);
    c.v_curr_read.allocate(nm + 1, 1);
    c.v_curr_read.fill(20.0);
    c.indland0.allocate(nm);
    c.indland.allocate(nm);
    for (int k = 1; k <= nm; ++k) {
      c.indland0(k) = mask_table[k - 1].start_mask;
      c.indland(k) = mask_table[k - 1].end_mask;
    }
  }
};

TEST_F(RadarBlend, MaskPairs) {
  std::vector<double> u(nm, 99.0), v(nm + 1, 99.0);
  interp_corr(0.5f, u, v);
  for (int k = 0; k < nm; ++k) {
    EXPECT_EQ(u[k], mask_table[k].expected) << "U node " << k + 1;
    EXPECT_EQ(v[k], mask_table[k].expected) << "V node " << k + 1;
  }
  // A V node past the U-node masks has no mask: it is blended.
  EXPECT_EQ(v[nm], 15.0);
}

// A wet/dry variable grid and a fixed grid blend every node, whatever the
// masks say.
TEST_F(RadarBlend, OtherGridsBlendEveryNode) {
  for (auto [variable, kind] : {std::pair{1, 1}, std::pair{0, 2}, std::pair{0, 0}}) {
    var_cfg.currentgrid_variable__y_n = variable;
    var_cfg.variablecurrgrid__wetdry_radar = kind;
    std::vector<double> u(nm, 99.0), v(nm + 1, 99.0);
    interp_corr(0.5f, u, v);
    for (double x : u) EXPECT_EQ(x, 15.0);
    for (double x : v) EXPECT_EQ(x, 15.0);
  }
}

TEST_F(Blend, CountsBelowOneWriteNothing) {
  // Nothing is allocated: with no nodes and no particles nothing is read.
  std::vector<double> a{99.0}, b{99.0}, c{99.0};
  interp_corr(0.5f, a, b);
  interp_ola(0.5f, a, b, c);
  interp_viento(0.5f, a, b);
  interp_vel_part(0.5f);
  interp_ola_part(0.5f);
  interp_viento_part(0.5f);
  EXPECT_EQ(a[0], 99.0);
  EXPECT_EQ(b[0], 99.0);
  EXPECT_EQ(c[0], 99.0);
}

TEST_F(Blend, ShortArraysAreRefused) {
  auto& s = var_currwindwave;
  var_cfg.xyzwindnodes_number = 3;
  s.windx0.allocate(3);
  s.windx.allocate(3);
  s.windy0.allocate(3);
  s.windy.allocate(2);
  std::vector<double> three(3), two(2);
  EXPECT_THROW(interp_viento(0.5f, three, three), std::length_error);  // windy
  EXPECT_THROW(interp_viento(0.5f, two, three), std::length_error);    // output

  var_run.particle_number = 4;
  s.wintx0.allocate(4);
  s.wintx_t1.allocate(4);
  s.winty0.allocate(4);
  s.winty_t1.allocate(4);
  s.wintx.allocate(4);
  s.winty.allocate(3);
  EXPECT_THROW(interp_viento_part(0.5f), std::length_error);
  s.winty.deallocate();
  s.winty.allocate(4);
  EXPECT_NO_THROW(interp_viento_part(0.5f));

  // Layer 1 of the current record shorter than the node count.
  var_cfg.xyzcurrentnodes_number = {4, 0, 0};
  var2.u0.allocate(4, 2);
  var2.u_curr_read.allocate(3, 2);
  std::vector<double> four(4);
  EXPECT_THROW(interp_corr(0.5f, four, two), std::length_error);
}

}  // namespace
}  // namespace orvel
