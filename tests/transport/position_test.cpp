#include "transport/position.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "tests/transport/transport_setup.hpp"
#include "transport/coast_index.hpp"
#include "transport/position_detail.hpp"
#include "transport/random.hpp"
#include "transport/grid_cell.hpp"

namespace orvel {
namespace {

using testing::fresh_state;
using testing::set_coast;
using testing::set_diffusivities;
using testing::set_grid;
using testing::set_polygon;
using testing::set_rk;
using testing::set_spills;

constexpr double cell = 1.0 / 64.0;  // grid spacing, degrees
constexpr float dt = 512.0f;         // model step, s

// A 2 x 1 degree model grid from (300, 40) in 1/64-degree cells; the
// u-current grid is the same grid.
void grid() {
  set_grid(300.0, 40.0, cell, cell, 129, 65);
  auto& f = var_mallasforz;
  f.gridformatcurru_0x = 300.0;
  f.gridformatcurru_0y = 40.0;
  f.gridformatcurru_deltax = cell;
  f.gridformatcurru_deltay = cell;
  f.gridformatcurru_xcells = 129;
  f.gridformatcurru_ycells = 65;
}

void place(int32_t i, double x, double y, int32_t state = 1, double z = 0.0) {
  var_part.x_part(i, 1) = x;
  var_part.y_part(i, 1) = y;
  var_part.z_part(i, 1) = z;
  var_part.indp(i, 1) = state;
}

void velocity(double u, double v, double w = 0.0) {
  var_currwindwave.uadv.fill(u);
  var_currwindwave.vadv.fill(v);
  var_currwindwave.wadv.fill(w);
}

// Marks the particles east of x = xc as over land, as the state update of
// the engines does before each step over a fixed current grid.
void mark_land(double xc) {
  for (int32_t i = 1; i <= var_run.particle_number; ++i) {
    const int32_t s = var_part.indp(i, 1);
    if (s != 0 && s != -1 && var_part.x_part(i, 1) > xc) var_part.indp(i, 1) = 2;
  }
}

TEST(PositionUpdate, UniformDriftMovesEveryParticleByUdtPerStep) {
  // Speeds of exactly 1/256 degree east and 1/512 degree south per step.
  const double u = 1.0 / 256 / dt, v = -1.0 / 512 / dt;
  struct run {
    const char* name;
    std::function<void(int32_t)> update;
    bool three_d, rk;
    int draws;  // random numbers per particle and step
  };
  const std::vector<run> runs = {
      {"2-D Euler", [](int32_t n) { posicion_2d(1, n); }, false, false, 2},
      {"3-D Euler", [](int32_t n) { posicion_3d(1, n); }, true, false, 3},
      {"2-D Runge-Kutta", [](int32_t n) { posicion_2d(1, n); }, false, true, 2},
      {"3-D Runge-Kutta", [](int32_t n) { posicion_3d(1, n); }, true, true, 3},
      {"coast-polygon algorithm",
       [](int32_t n) {
         const farray<coast_polygon, 1> none{"coord_str"};
         busca_parts_intersect(1, n);
         posicion_2d_local(1, n, none);
       },
       false, false, 2},
  };
  for (const run& r : runs) {
    fresh_state fs;
    grid();
    const int32_t np = 40;
    set_spills(np, 1, dt);
    var_run.search_land__mask_maskandcoast = 2;
    var_run.numericalmethod__euler_rungekut = r.rk ? 2 : 1;
    set_rk(np, 1);
    for (int32_t i = 1; i <= np; ++i) place(i, 300.25 + i * cell / 8, 40.5 + i * cell / 16, r.three_d ? 5 : 1,
                                            r.three_d ? 10.0 / 111317.359375 : 0.0);
    velocity(u, v);
    // Runge-Kutta stages all equal to the step's displacement.
    var_rk.fx1.fill(u * dt), var_rk.fx2.fill(u * dt), var_rk.fx3.fill(u * dt), var_rk.fx4.fill(u * dt);
    var_rk.fy1.fill(v * dt), var_rk.fy2.fill(v * dt), var_rk.fy3.fill(v * dt), var_rk.fy4.fill(v * dt);
    std::vector<double> x0(np + 1), y0(np + 1);
    for (int32_t i = 1; i <= np; ++i) x0[i] = var_part.x_part(i, 1), y0[i] = var_part.y_part(i, 1);
    srand(0);
    const int steps = 20;
    for (int32_t n = 1; n <= steps; ++n) {
      set_diffusivities(np, 0.0, 0.0, r.three_d, 0.0);
      const double cgx = var_part.x_cg(1);
      r.update(n);
      EXPECT_FALSE(var2.dxx.allocated() || var2.dyy.allocated() || var2.dzz.allocated()) << r.name;
      if (n > 1) {
        EXPECT_NEAR(var_part.x_cg(1) - cgx, 1.0 / 256, 1e-12) << r.name;
      }
    }
    for (int32_t i = 1; i <= np; ++i) {
      EXPECT_NEAR(var_part.x_part(i, 1), x0[i] + steps / 256.0, 1e-11) << r.name << " particle " << i;
      EXPECT_NEAR(var_part.y_part(i, 1), y0[i] - steps / 512.0, 1e-11) << r.name << " particle " << i;
      EXPECT_EQ(var_part.z_part(i, 1), r.three_d ? 10.0 / 111317.359375 : 0.0) << r.name;
    }
    // The walk drew its numbers even with zero diffusivities.
    const int32_t after = rand_state();
    srand(0);
    for (int k = 0; k < steps * np * r.draws; ++k) rand(0);
    EXPECT_EQ(after, rand_state()) << r.name;
  }
}

TEST(PositionUpdate, RandomWalkDrawsXThenYThenZ) {
  // One particle, one step, by hand: w = 2 (R - 0.5) sqrt(C D / dt), C = 6 at
  // sea and 4 in a river; x draws first, then y, then (3-D) z.
  for (int river = 0; river <= 1; ++river) {
    fresh_state fs;
    grid();
    set_spills(1, 1, dt);
    var_run.simenvironment__sea_river = river ? 2 : 1;
    place(1, 300.5, 40.5, 5, 20.0 / 111317.359375);
    velocity(1e-6, 2e-6, 3e-9);
    const double dxx = 1e-9, dyy = 4e-9, dzz = 1e-15;
    set_diffusivities(1, dxx, dyy, true, dzz);
    srand(42);
    const float r1 = rand(0), r2 = rand(0), r3 = rand(0);
    const double c = river ? 4.0 : 6.0, d = dt;
    const double wx = 2.0 * double(r1 - 0.5f) * std::sqrt(c * dxx / d);
    const double wy = 2.0 * double(r2 - 0.5f) * std::sqrt(c * dyy / d);
    const double wz = 2.0 * double(r3 - 0.5f) * std::sqrt(c * dzz / d);
    srand(42);
    posicion_3d(1, 1);
    EXPECT_EQ(var_part.x_part(1, 1), (1e-6 + wx) * d + 300.5);
    EXPECT_EQ(var_part.y_part(1, 1), (2e-6 + wy) * d + 40.5);
    EXPECT_EQ(var_part.z_part(1, 1), 20.0 / 111317.359375 + (3e-9 + wz) * d);
    EXPECT_EQ(var_part.indp(1, 1), 5);
    // The walk stays within its bounds.
    EXPECT_LE(std::fabs(wx), std::sqrt(c * dxx / d));
  }
}

TEST(PositionUpdate, DepthNeverAboveTheSurface) {
  for (int rk = 0; rk <= 1; ++rk) {
    fresh_state fs;
    grid();
    set_spills(2, 1, dt);
    var_run.sim__2d_3d = 2;
    var_run.numericalmethod__euler_rungekut = rk ? 2 : 1;
    set_rk(2, 1);
    place(1, 300.5, 40.5, 5, 1.0 / 111317.359375);   // 1 m deep, rising 2 m
    place(2, 300.6, 40.5, 1, 0.0);                   // at the surface, sinking 1 m
    var_currwindwave.wadv(1, 1) = -2.0 / 111317.359375 / dt;
    var_currwindwave.wadv(2, 1) = 1.0 / 111317.359375 / dt;
    set_diffusivities(2, 0.0, 0.0, true, 0.0);
    posicion_3d(1, 1);
    // With Runge-Kutta the depth moves as with Euler.
    EXPECT_EQ(var_part.z_part(1, 1), 0.0);
    EXPECT_EQ(var_part.indp(1, 1), 1);
    EXPECT_NEAR(var_part.z_part(2, 1) * 111317.359375, 1.0, 1e-9);
    EXPECT_EQ(var_part.indp(2, 1), 5);
    EXPECT_NEAR(var_part.z_cg(1) * 111317.359375, 0.5, 1e-9);  // mean over every particle
  }
}

TEST(PositionUpdate, TheFloorEndsTheVerticalStep) {
  // Floor at 50 m.  Particles sinking 2 m in the step from 47.5 m (short of
  // the floor), 48 m (exactly to it) and 49 m (past it), with the transport
  // and the spreading walks: those that reach the floor stop on it in the
  // step, at the depth of the floor and in the floor state.  Over a
  // time-varying current grid the step leaves the floor to the state update.
  constexpr double f = 111317.359375;
  struct row {
    const char* what;
    bool spreading;
    int32_t variable_grid;
  };
  const std::vector<row> rows = {{"transport", false, 0}, {"spreading", true, 0}, {"transport, wet/dry grid", false, 1}};
  for (const auto& r : rows) {
    fresh_state fs;
    grid();
    set_spills(3, 1, dt);
    var_run.sim__2d_3d = 2;
    var_cfg.spreadalgorithm__adios2_leher_hns = 3;
    var_cfg.currentgrid_variable__y_n = r.variable_grid;
    const double from[] = {47.5, 48.0, 49.0};
    for (int32_t i = 1; i <= 3; ++i) place(i, 300.5, 40.5, 5, from[i - 1] / f);
    velocity(0.0, 0.0, 2.0 / f / dt);
    set_diffusivities(3, 0.0, 0.0, true, 0.0);
    if (r.spreading) {
      posicion_3d_spread(1, 2, 0.0, 0.0);
    } else {
      posicion_3d(1, 1);
    }
    EXPECT_NEAR(var_part.z_part(1, 1) * f, 49.5, 1e-9) << r.what;
    EXPECT_EQ(var_part.indp(1, 1), 5) << r.what;
    for (int32_t i = 2; i <= 3; ++i) {
      if (r.variable_grid == 1) {
        EXPECT_NEAR(var_part.z_part(i, 1) * f, from[i - 1] + 2.0, 1e-9) << r.what;
        EXPECT_EQ(var_part.indp(i, 1), 5) << r.what;
      } else {
        EXPECT_EQ(var_part.z_part(i, 1), 50.0f / f) << r.what << ", from " << from[i - 1] << " m";
        EXPECT_EQ(var_part.indp(i, 1), -1) << r.what << ", from " << from[i - 1] << " m";
      }
    }
  }
}

// A coastline along x = 300.5 (points every cell from 40 to 41) and the land
// east of it as a closed polygon.
void straight_coast(farray<coast_polygon, 1>& polys, int32_t stick = 0) {
  std::vector<double> x, y;
  std::vector<int32_t> s;
  for (int k = 0; k <= 64; ++k) {
    x.push_back(300.5);
    y.push_back(40.0 + k * cell);
    s.push_back(stick);
  }
  set_coast(x, y, s);
  polys.allocate(1);
  set_polygon(polys(1), {300.5, 301.5, 301.5, 300.5, 300.5}, {40.0, 40.0, 41.0, 41.0, 40.0});
}

TEST(PositionUpdate, BeachingAgainstAStraightCoastWithBothAlgorithms) {
  // Particles drift east by 1/256 degree per step from x = 300.25 + 1/1024:
  // they pass the coast at x = 300.5 during step 64.
  const double u = 1.0 / 256 / dt;
  for (int indexed = 0; indexed <= 1; ++indexed) {
    for (int hr = 0; hr <= 1; ++hr) {
      fresh_state fs;
      grid();
      const int32_t np = 9;
      set_spills(np, 1, dt);
      var_run.search_land__mask_maskandcoast = 2;
      farray<coast_polygon, 1> polys{"coord_str"};
      straight_coast(polys);
      if (indexed) coast_index::build(&polys);
      for (int32_t i = 1; i <= np; ++i) place(i, 300.25 + 1.0 / 1024, 40.25 + i * cell * 3 / 4);
      velocity(u, 0.0);
      std::vector<int32_t> beached_at(np + 1, 0);
      for (int32_t n = 1; n <= 80; ++n) {
        mark_land(300.5);
        set_diffusivities(np, 0.0, 0.0);
        if (hr) {
          busca_parts_intersect(1, n);
          posicion_2d_local(1, n, polys);
        } else {
          posicion_2d(1, n);
        }
        for (int32_t i = 1; i <= np; ++i)
          if (beached_at[i] == 0 && var_part.indp(i, 1) == 0) beached_at[i] = n;
      }
      for (int32_t i = 1; i <= np; ++i) {
        // The crossing test stops the path during the step that crosses; the
        // nearest-coast search puts the particle on the coast at the next
        // step, once it stands over land.
        EXPECT_EQ(beached_at[i], hr ? 64 : 65) << "particle " << i << (hr ? " polygons" : " points");
        EXPECT_EQ(var_part.x_part(i, 1), 300.5);
        const double y0 = 40.25 + i * cell * 3 / 4;
        EXPECT_EQ(var_part.y_part(i, 1), hr ? y0 : std::round((y0 - 40.0) / cell) * cell + 40.0);
      }
    }
  }
}

TEST(PositionUpdate, AThinHeadlandStopsThePathAtItsFirstCrossing) {
  fresh_state fs;
  grid();
  set_spills(1, 1, dt);
  var_run.search_land__mask_maskandcoast = 2;
  farray<coast_polygon, 1> polys{"coord_str"};
  polys.allocate(2);
  // A headland 1/256 degree wide between x = 300.5 and 300.50390625; its east
  // side is edge 1, its west side edge 3.  A second polygon farther east.
  const double w = 300.5, e = 300.5 + 1.0 / 256;
  set_polygon(polys(1), {e, e, w, w, e}, {40.25, 40.75, 40.75, 40.25, 40.25});
  set_polygon(polys(2), {300.515625, 300.515625}, {40.0, 41.0});
  place(1, 300.5 - 1.0 / 128, 40.5);
  velocity(1.0 / 32 / dt, 0.0);  // one step takes it across both, to 300.5234375
  set_diffusivities(1, 0.0, 0.0);
  busca_parts_intersect(1, 1);
  EXPECT_EQ(var_part.part_inter(1, 1), 1);
  EXPECT_EQ(var_part.xp1(1, 1), 300.5 - 1.0 / 128);
  posicion_2d_local(1, 1, polys);
  EXPECT_EQ(var_part.x_part(1, 1), w);
  EXPECT_EQ(var_part.y_part(1, 1), 40.5);
  // No coastline point within reach: it stays beached on the crossing.
  EXPECT_EQ(var_part.indp(1, 1), 0);
  EXPECT_EQ(var_part.x_cg(1), w);
}

TEST(PositionUpdate, CrossingThenTheStickRule) {
  // Transport phase: a non-sticking coast point near the crossing leaves the
  // particle afloat there; in the spreading phase it is always beached.
  for (int spreading = 0; spreading <= 1; ++spreading) {
    fresh_state fs;
    grid();
    set_spills(1, 1, dt);
    var_run.search_land__mask_maskandcoast = 2;
    var_cfg.coastline_sticknostick_option__y_n = 1;
    var_cfg.spreadalgorithm__adios2_leher_hns = 1;
    farray<coast_polygon, 1> polys{"coord_str"};
    straight_coast(polys, 1);
    place(1, 300.5 - 1.0 / 128, 40.5);
    velocity(1.0 / 64 / dt, 0.0);
    set_diffusivities(1, 0.0, 0.0);
    if (spreading) {
      busca_parts_inter_spread(1, 3, 0.0, 0.0);
      posicion_2d_local_spread(1, 3, polys);
    } else {
      busca_parts_intersect(1, 3);
      posicion_2d_local(1, 3, polys);
    }
    EXPECT_EQ(var_part.x_part(1, 1), 300.5);
    EXPECT_EQ(var_part.y_part(1, 1), 40.5);
    EXPECT_EQ(var_part.indp(1, 1), spreading ? 0 : 1);
    if (!spreading) {
      EXPECT_EQ(var_costa.y_costa_prox, 40.5);
    }
  }
}

TEST(PositionUpdate, CoastPolygonPathsOfParticlesNotMoved) {
  fresh_state fs;
  grid();
  set_spills(4, 1, dt);
  var_run.search_land__mask_maskandcoast = 2;
  var_cfg.coastline_sticknostick_option__y_n = 1;
  var_mallas.deltay = 2 * cell;
  farray<coast_polygon, 1> polys{"coord_str"};
  // Coast points: one non-sticking next to particle 2, one 1.75 cells east
  // of particle 3 (beyond deltax, within the radar reach of 1.5 cells once
  // scaled by cos(latmean)).
  set_coast({300.5 + cell / 2, 300.75 + 1.75 * cell}, {40.5, 40.5}, {1, 0});
  polys.allocate(1);
  set_polygon(polys(1), {300.875, 300.875}, {40.0, 41.0});
  place(1, 302.75, 40.5);          // state 1 outside the box: keeps its last path
  place(2, 300.5, 40.5, 2);        // over land: nearest coast point, stick rule
  place(3, 300.75, 40.5, -1);      // on the floor: radar too far to beach
  place(4, 300.25, 40.5, 2);       // over land, no coast point within five cells
  var_part.xp1(1, 1) = 300.75;
  var_part.yp1(1, 1) = 40.5;
  var_part.part_inter(1, 1) = 1;
  velocity(0.001, 0.0);
  set_diffusivities(4, 0.0, 0.0);
  busca_parts_intersect(1, 1);
  EXPECT_EQ(var_part.xp1(1, 1), 300.75);
  EXPECT_EQ(var_part.part_inter(1, 1), 1);
  for (int32_t i = 2; i <= 4; ++i) {
    EXPECT_EQ(var_part.part_inter(i, 1), 0);
    EXPECT_EQ(var_part.xp1(i, 1), var_part.x_part(i, 1));
  }
  posicion_2d_local(1, 1, polys);
  // Particle 1's old path (300.75 -> 302.75) crosses the polygon at
  // 300.875; no coast point within five cells: it stays beached there.
  EXPECT_EQ(var_part.x_part(1, 1), 300.875);
  EXPECT_EQ(var_part.indp(1, 1), 0);
  EXPECT_EQ(var_part.x_part(2, 1), 300.5 + cell / 2);
  EXPECT_EQ(var_part.indp(2, 1), 1);
  EXPECT_EQ(var_part.x_part(3, 1), 300.75);  // not moved onto the point
  EXPECT_EQ(var_part.indp(3, 1), -1);
  EXPECT_EQ(var_part.x_part(4, 1), 300.25);
  EXPECT_EQ(var_part.indp(4, 1), -2);
}

// The coast handling of the particles that are not moved, by update, mode,
// current grid and state, around one coast point at (300.5, 40.5).
TEST(PositionUpdate, CoastHandlingTable) {
  enum kind { d2, d3, s2, s3 };
  struct row {
    kind update;
    int32_t mode, grid, state;
    double px;  // particle longitude (latitude 40.5)
    int32_t stick, expected_state;
    double expected_x;
  };
  const double c = 300.5, near = c + cell / 4;
  const std::vector<row> rows = {
      {d2, 1, 0, 2, near, 0, 0, near},     // mode 1: beached where it stands
      {d2, 1, 1, 2, near, 0, 0, near},
      {d3, 1, 0, 2, near, 0, 0, near},
      {d3, 1, 1, 2, near, 0, 2, near},     // 3-D over a varying grid: left
      {s2, 1, 0, 2, near, 0, 2, near},     // spreading: left
      {d2, 2, 0, 2, near, 0, 0, c},        // nearest coast point
      {d2, 2, 0, 2, near, 1, 1, c},        // non-sticking point: afloat
      {d3, 2, 0, 2, near, 1, 0, c},        // no stick rule in 3-D transport
      {s2, 2, 0, 2, near, 1, 0, c},        // nor in 2-D spreading
      {s3, 2, 0, 2, near, 1, 1, c},        // but in 3-D spreading
      {d2, 2, 0, 2, c + 6 * cell, 0, -2, c + 6 * cell},  // none within five cells: lost
      {d2, 2, 0, -1, near, 0, -1, near},   // fixed grid: only land particles search
      {d2, 2, 0, -2, near, 0, -2, near},
      {s2, 2, 0, 5, near, 0, 5, near},
      {d2, 2, 1, 2, near, 0, 0, c},
      {d2, 2, 1, -1, near, 0, 0, c},       // radar: beached on the point
      {d3, 2, 1, -1, c, 0, -1, c},         // exactly on the point: not beached
      {d2, 2, 1, 3, near, 0, 3, near},
      {d2, 3, 0, 2, near, 0, 2, near},     // modes outside 1 and 2: nothing
      {d2, 2, 2, 2, near, 0, 2, near},
  };
  for (size_t r = 0; r < rows.size(); ++r) {
    const row& w = rows[r];
    fresh_state fs;
    grid();
    set_spills(2, 1, dt);
    var_run.search_land__mask_maskandcoast = w.mode;
    var_cfg.currentgrid_variable__y_n = w.grid;
    var_cfg.variablecurrgrid__wetdry_radar = 1;
    var_cfg.coastline_sticknostick_option__y_n = 1;
    var_cfg.spreadalgorithm__adios2_leher_hns = 1;
    set_coast({c}, {40.5}, {w.stick});
    place(1, w.px, 40.5, w.state);
    place(2, 300.25, 40.25, 0);
    velocity(0.0, 0.0);
    const bool three_d = w.update == d3 || w.update == s3;
    set_diffusivities(2, 0.0, 0.0, three_d, 0.0);
    switch (w.update) {
      case d2: posicion_2d(1, 1); break;
      case d3: posicion_3d(1, 1); break;
      case s2: posicion_2d_spread(1, 1, 0.0, 0.0); break;
      case s3: posicion_3d_spread(1, 1, 0.0, 0.0); break;
    }
    EXPECT_EQ(var_part.indp(1, 1), w.expected_state) << "row " << r;
    EXPECT_EQ(var_part.x_part(1, 1), w.expected_x) << "row " << r;
    // Every particle counts in the centre of mass.
    EXPECT_EQ(var_part.x_cg(1), (w.expected_x + 300.25) / 2) << "row " << r;
  }
}

TEST(PositionUpdate, RadarBeachesOnlyWithinOneCell) {
  // deltay = 3 deltax: the radar reach is 2 deltax, beaching needs < deltax.
  for (double off : {0.5, 1.5}) {
    fresh_state fs;
    grid();
    var_mallas.deltay = 3 * cell;
    set_spills(1, 1, dt);
    var_run.search_land__mask_maskandcoast = 2;
    var_cfg.currentgrid_variable__y_n = 1;
    var_cfg.variablecurrgrid__wetdry_radar = 2;
    set_coast({300.5 + off * cell}, {40.5});
    place(1, 300.5, 40.5, -1);
    set_diffusivities(1, 0.0, 0.0);
    posicion_2d(1, 1);
    EXPECT_EQ(var_part.indp(1, 1), off < 1 ? 0 : -1);
    EXPECT_EQ(var_part.x_part(1, 1), off < 1 ? 300.5 + off * cell : 300.5);
  }
}

// A move past a pole loses the particle (state -2), set at the pole it
// passed; a particle exactly at a pole, or anywhere between, is not moved
// nor lost, whatever its state.
TEST(PositionUpdate, PastAPoleIsLostAtThatPole) {
  const struct {
    double y;
    bool lost;
    double y_after;
  } cases[] = {{90.0, false, 90.0},  {-90.0, false, -90.0}, {89.999, false, 89.999}, {0.0, false, 0.0},
               {90.5, true, 90.0},   {-90.5, true, -90.0},  {179.0, true, 90.0},     {-135.0, true, -90.0}};
  for (const int32_t state : {1, 5, -1, 0}) {
    for (const auto& c : cases) {
      double y = c.y;
      int32_t s = state;
      EXPECT_EQ(position_detail::lose_past_pole(y, s), c.lost) << c.y << ", state " << state;
      EXPECT_EQ(y, c.y_after) << c.y << ", state " << state;
      EXPECT_EQ(s, c.lost ? -2 : state) << c.y << ", state " << state;
    }
  }
}

TEST(PositionUpdate, DomainBoxLimits) {
  fresh_state fs;
  grid();
  set_spills(6, 1, dt);
  var_run.search_land__mask_maskandcoast = 1;
  const double lons = var_mallas.lons, lats = var_mallas.lats;
  place(1, 300.0, 40.5);       // state 1 on loni: moved
  place(2, 300.5, lats);       // state 1 on lats: moved
  place(3, 300.0, 40.5, 2);    // state 2 on loni: only summed
  place(4, 300.5, 40.0, 2);    // state 2 on lati: only summed
  place(5, lons, 40.5, 2);     // state 2 on lons: coast handling (beached)
  place(6, 300.5, lats + 1, 2);  // state 2 north of the box: coast handling
  velocity(cell / dt, 0.0);
  set_diffusivities(6, 0.0, 0.0);
  posicion_2d(1, 1);
  EXPECT_EQ(var_part.x_part(1, 1), 300.0 + cell);
  EXPECT_EQ(var_part.x_part(2, 1), 300.5 + cell);
  EXPECT_EQ(var_part.indp(3, 1), 2);
  EXPECT_EQ(var_part.indp(4, 1), 2);
  EXPECT_EQ(var_part.indp(5, 1), 0);
  EXPECT_EQ(var_part.indp(6, 1), 0);
}

TEST(PositionUpdate, AParticleOnTheEastLimitIsMoved) {
  // Both coast algorithms move a surface particle standing on the east limit
  // of the box (lons), and leave one just east of it.
  const double lons = 302.0;
  for (bool polygons : {false, true}) {
    fresh_state fs;
    grid();
    ASSERT_EQ(var_mallas.lons, lons);
    set_spills(2, 1, dt);
    var_run.search_land__mask_maskandcoast = polygons ? 2 : 1;
    place(1, lons, 40.5);
    place(2, std::nextafter(lons, 400.0), 40.5);
    velocity(-cell / dt, 0.0);
    set_diffusivities(2, 0.0, 0.0);
    if (polygons) {
      busca_parts_intersect(1, 1);
      EXPECT_EQ(var_part.part_inter(1, 1), 1);
      EXPECT_EQ(var_part.xp1(1, 1), lons);
    } else {
      posicion_2d(1, 1);
    }
    EXPECT_EQ(var_part.x_part(1, 1), lons - cell) << (polygons ? "polygons" : "nearest point");
    EXPECT_EQ(var_part.x_part(2, 1), std::nextafter(lons, 400.0)) << (polygons ? "polygons" : "nearest point");
  }
}

TEST(PositionUpdate, DomainBoxFollowsTheCurrentGridWhenItCarriesTheLand) {
  struct row {
    int32_t mode, grid, kind;
    bool reset;
  };
  for (const row& w : {row{1, 1, 2, true}, row{2, 0, 1, true}, row{2, 1, 2, false}, row{1, 0, 1, false}}) {
    fresh_state fs;
    grid();
    var_run.search_land__mask_maskandcoast = w.mode;
    var_cfg.currentgrid_variable__y_n = w.grid;
    var_cfg.variablecurrgrid__wetdry_radar = w.kind;
    var_mallasforz.gridformatcurru_0x = 300.25;
    var_mallasforz.gridformatcurru_xcells = 9;
    reset_domain_box();
    EXPECT_EQ(var_mallas.loni, w.reset ? 300.25 : 300.0);
    EXPECT_EQ(var_mallas.lons, w.reset ? 300.25 + 8 * cell : 302.0);
  }
}

TEST(SpreadingUpdate, RandomSpreadingWalk) {
  // Algorithms 1 and 3 move alike: radius R1, angle 6.28318 R2, factor 2.
  std::vector<double> xs;
  for (int32_t algorithm : {1, 3}) {
    fresh_state fs;
    grid();
    set_spills(1, 1, dt);
    var_cfg.spreadalgorithm__adios2_leher_hns = algorithm;
    place(1, 300.5, 40.5);
    velocity(1e-6, 0.0);
    set_diffusivities(1, 1e-9, 3e-9);
    srand(7);
    const float r1 = rand(0), r2 = rand(0);
    const float th = 6.28318f * r2;
    const double wx = double(std::cos(th) * r1) * std::sqrt(2.0 * 1e-9 / dt);
    const double wy = double(r1 * std::sin(th)) * std::sqrt(2.0 * 3e-9 / dt);
    srand(7);
    posicion_2d_spread(1, 4, 0.0, 0.0);
    EXPECT_EQ(var_part.x_part(1, 1), 300.5 + (1e-6 + wx) * double(dt));
    EXPECT_EQ(var_part.y_part(1, 1), 40.5 + wy * double(dt));
    EXPECT_FALSE(var2.dxx.allocated());
    xs.push_back(var_part.x_part(1, 1));
  }
  EXPECT_EQ(xs[0], xs[1]);
}

TEST(SpreadingUpdate, ThreeDimensionalWalkKeepsTheDepthAtOrBelowTheSurface) {
  fresh_state fs;
  grid();
  var_mallas.d.fill(1.0e6f);  // the floor out of the walk's reach
  set_spills(200, 1, dt);
  var_run.sim__2d_3d = 2;
  var_cfg.spreadalgorithm__adios2_leher_hns = 3;
  for (int32_t i = 1; i <= 200; ++i) place(i, 300.5, 40.5, 5, 0.01 / 111317.359375);
  velocity(0.0, 0.0);
  set_diffusivities(200, 1e-9, 1e-9, true, 1e-9);
  posicion_3d_spread(1, 2, 0.0, 0.0);
  int at_surface = 0;
  for (int32_t i = 1; i <= 200; ++i) {
    EXPECT_GE(var_part.z_part(i, 1), 0.0);
    EXPECT_EQ(var_part.indp(i, 1), 5);  // the spreading walk changes no state
    at_surface += var_part.z_part(i, 1) == 0.0;
  }
  EXPECT_GT(at_surface, 20);
  EXPECT_FALSE(var2.dzz.allocated());
}

TEST(SpreadingUpdate, LehrGrowthFromTheReleasePointThenFromTheLastPush) {
  // Lehr: coef_r = 0.5 in x, coef_q = 0.25 in y; advection 1/256 degree east
  // per step.  Particle 1 at the release point, particle 2 one cell east and
  // north of it, particle 3 beached.
  for (int32_t first_step : {1, 5}) {
    fresh_state fs;
    grid();
    set_spills(3, 1, dt);
    var_cfg.spreadalgorithm__adios2_leher_hns = 2;
    var_part.x_oldpt.allocate(3, 1);
    var_part.y_oldpt.allocate(3, 1);
    var_cfg.spillposition_x(1) = 300.5;
    var_cfg.spillposition_y(1) = 40.5;
    place(1, 300.5, 40.5);
    place(2, 300.5 + cell, 40.5 + cell);
    place(3, 300.25, 40.25, 0);
    const double adv = 1.0 / 256;
    velocity(adv / dt, 0.0);
    // First spreading step of the spill (at step 1, or at step 5 for a spill
    // released later): growth from the release point.
    posicion_2d_spread(1, first_step, 0.5, 0.25);
    EXPECT_EQ(var_part.x_part(1, 1), 300.5 + adv);
    EXPECT_EQ(var_part.y_part(1, 1), 40.5);
    EXPECT_EQ(var_part.x_part(2, 1), 300.5 + cell + 0.5 * cell + adv);
    EXPECT_EQ(var_part.y_part(2, 1), 40.5 + cell + 0.25 * cell);
    EXPECT_EQ(var_part.x_part(3, 1), 300.25);
    // The references: entry position plus advection, beached particle too.
    EXPECT_EQ(var_part.x_oldpt(2, 1), 300.5 + cell + adv);
    EXPECT_EQ(var_part.x_oldpt(3, 1), 300.25 + adv);
    // Next step: the push is coef times the previous push.
    posicion_2d_spread(1, first_step + 1, 0.5, 0.25);
    EXPECT_EQ(var_part.x_part(2, 1), 300.5 + cell + 0.5 * cell + 0.25 * cell + 2 * adv);
    EXPECT_EQ(var_part.y_part(2, 1), 40.5 + cell + 0.25 * cell + 0.0625 * cell);
    EXPECT_EQ(var_part.x_part(1, 1), 300.5 + 2 * adv);
  }
}

// In 3-D the Lehr references follow the particles only while the spill is
// moved dispersed: two spreading steps grow as in 2-D (the second push a
// coefficient times the first), a dispersed step in between takes the
// references to where the particles are, and the spreading step after it
// starts from nothing.  Advection 1/256 degree east per step; coef_r 0.5,
// coef_q 0.25; particle 2 one cell east and north of the release point.
TEST(SpreadingUpdate, ThreeDimensionalLehrReferencesMoveOnlyOnDispersedSteps) {
  fresh_state fs;
  grid();
  var_mallas.d.fill(1.0e6f);
  set_spills(2, 1, dt);
  var_run.sim__2d_3d = 2;
  var_cfg.spreadalgorithm__adios2_leher_hns = 2;
  var_part.x_oldpt.allocate(2, 1);
  var_part.y_oldpt.allocate(2, 1);
  var_cfg.spillposition_x(1) = 300.5;
  var_cfg.spillposition_y(1) = 40.5;
  place(1, 300.5, 40.5);
  place(2, 300.5 + cell, 40.5 + cell);
  const double adv = 1.0 / 256;
  velocity(adv / dt, 0.0);
  set_diffusivities(2, 0.0, 0.0, true, 0.0);  // released after each step
  posicion_3d_spread(1, 1, 0.5, 0.25);
  EXPECT_EQ(var_part.x_part(2, 1), 300.5 + cell + 0.5 * cell + adv);
  EXPECT_EQ(var_part.y_part(2, 1), 40.5 + cell + 0.25 * cell);
  set_diffusivities(2, 0.0, 0.0, true, 0.0);
  posicion_3d_spread(1, 2, 0.5, 0.25);
  const double x2 = 300.5 + cell + 0.5 * cell + 0.25 * cell + 2 * adv;
  const double y2 = 40.5 + cell + 0.25 * cell + 0.0625 * cell;
  EXPECT_EQ(var_part.x_part(2, 1), x2);
  EXPECT_EQ(var_part.y_part(2, 1), y2);
  set_diffusivities(2, 0.0, 0.0, true, 0.0);
  posicion_3d(1, 3);
  EXPECT_EQ(var_part.x_part(2, 1), x2 + adv);
  EXPECT_EQ(var_part.x_oldpt(2, 1), x2 + adv);
  EXPECT_EQ(var_part.y_oldpt(2, 1), y2);
  set_diffusivities(2, 0.0, 0.0, true, 0.0);
  posicion_3d_spread(1, 4, 0.5, 0.25);
  EXPECT_EQ(var_part.x_part(2, 1), x2 + 2 * adv);
  EXPECT_EQ(var_part.y_part(2, 1), y2);
}

TEST(SpreadingUpdate, LehrPushIsHeldInSinglePrecision) {
  // After the first step the push is the last push, x - x_oldpt, rounded to
  // single precision, times the coefficient.  A push of 0.001 degree is not a
  // single-precision value: its rounding moves the particle by about 1e-11
  // degree, some 200 units in the last place of a longitude near 300.
  fresh_state fs;
  grid();
  set_spills(1, 1, dt);
  var_cfg.spreadalgorithm__adios2_leher_hns = 2;
  var_part.x_oldpt.allocate(1, 1);
  var_part.y_oldpt.allocate(1, 1);
  var_cfg.spillposition_x(1) = 300.5;
  var_cfg.spillposition_y(1) = 40.5;
  const double x = 300.501, y = 40.502;
  place(1, x, y);
  var_part.x_oldpt(1, 1) = 300.5;
  var_part.y_oldpt(1, 1) = 40.5;
  velocity(0.0, 0.0);
  posicion_2d_spread(1, 2, 0.5, 0.25);
  const double push_x = static_cast<float>(x - 300.5);
  const double push_y = static_cast<float>(y - 40.5);
  ASSERT_NE(x + push_x * 0.5, x + (x - 300.5) * 0.5);
  ASSERT_NE(y + push_y * 0.25, y + (y - 40.5) * 0.25);
  EXPECT_EQ(var_part.x_part(1, 1), x + push_x * 0.5);
  EXPECT_EQ(var_part.y_part(1, 1), y + push_y * 0.25);
}

TEST(SpreadingUpdate, LehrGrowthWithRungeKuttaMovesTheParticles) {
  fresh_state fs;
  grid();
  set_spills(1, 1, dt);
  var_run.numericalmethod__euler_rungekut = 2;
  set_rk(1, 1);
  var_cfg.spreadalgorithm__adios2_leher_hns = 2;
  var_part.x_oldpt.allocate(1, 1);
  var_part.y_oldpt.allocate(1, 1);
  var_cfg.spillposition_x(1) = 300.5;
  var_cfg.spillposition_y(1) = 40.5;
  place(1, 300.5 + cell, 40.5);
  // Runge-Kutta displacement of 1/256 degree east per step (stage values
  // whose weighted sum is exact).
  const double adv = 1.0 / 256;
  var_rk.fx1.fill(adv), var_rk.fx2.fill(adv), var_rk.fx3.fill(adv), var_rk.fx4.fill(adv);
  velocity(123.0, 0.0);  // the last stage's velocity is not used
  posicion_2d_spread(1, 1, 0.5, 0.5);
  EXPECT_NEAR(var_part.x_part(1, 1), 300.5 + cell + adv + 0.5 * cell, 1e-12);
  posicion_2d_spread(1, 2, 0.5, 0.5);
  EXPECT_NEAR(var_part.x_part(1, 1), 300.5 + cell + 2 * adv + 0.5 * cell + 0.25 * cell, 1e-12);
}

TEST(SpreadingUpdate, CoastPolygonMoveKeepsTheLehrReferences) {
  fresh_state fs;
  grid();
  set_spills(2, 1, dt);
  var_cfg.spreadalgorithm__adios2_leher_hns = 2;
  var_part.x_oldpt.allocate(2, 1);
  var_part.y_oldpt.allocate(2, 1);
  var_cfg.spillposition_x(1) = 300.5;
  var_cfg.spillposition_y(1) = 40.5;
  place(1, 300.5 + cell, 40.5);
  place(2, 300.25, 40.25, 2);
  velocity(0.0, 0.0);
  busca_parts_inter_spread(1, 1, 0.5, 0.5);
  EXPECT_EQ(var_part.x_part(1, 1), 300.5 + 1.5 * cell);
  EXPECT_EQ(var_part.xp1(1, 1), 300.5 + cell);
  EXPECT_EQ(var_part.part_inter(1, 1), 1);
  EXPECT_EQ(var_part.x_oldpt(1, 1), 300.5 + cell);
  EXPECT_EQ(var_part.x_oldpt(2, 1), 300.25);
  EXPECT_EQ(var_part.part_inter(2, 1), 0);
}

TEST(PositionUpdate, StartUpChecks) {
  fresh_state fs;
  struct row {
    int32_t algorithm, dims, mode;
    bool ok;
  };
  for (const row& w : {row{1, 2, 1, true}, row{2, 1, 2, true}, row{2, 2, 2, false}, row{2, 1, 1, false}}) {
    var_run.searchcoastalgorithm__lr_hr = w.algorithm;
    var_run.sim__2d_3d = w.dims;
    var_run.search_land__mask_maskandcoast = w.mode;
    if (w.ok) {
      EXPECT_NO_THROW(check_coast_algorithm("ABCD.run"));
    } else {
      try {
        check_coast_algorithm("ABCD.run");
        ADD_FAILURE() << "accepted";
      } catch (const input_error& e) {
        EXPECT_EQ(e.file(), "ABCD.run");
      }
    }
  }
}

}  // namespace
}  // namespace orvel
