// A concentration grid and particles placed by hand for the tests of the
// grid statistics and grid files.
#pragma once

#include <cmath>
#include <cstdint>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel::testing {

struct grid_case {
  int32_t nx = 4;            // cells along longitude
  int32_t ny = 3;            // cells along latitude
  double x0 = 350.0;         // 10 W
  double y0 = 43.0;
  double dx = 0.25;
  double dy = 0.25;
  double latmean = 0.0;      // cos 0 = 1: the cell area is (dx * factor) * (dy * factor)
  int32_t spills = 1;
  int32_t particles = 4;
  int32_t object = 2;        // 1 floating object, 2 oil, 3 HNS
  int32_t release = 1;       // 1 instantaneous, 2 continuous
  int32_t dims = 1;          // 1 = 2-D, 2 = 3-D
};

// Metres per degree.
inline constexpr double factor = 111317.359375;

// Sets up the grid and every particle of every spill outside the window, at
// the surface, with 1 kg; spills start at time 0 and all have started
// (cont_p = spills).  Steps of 900 s.
inline void set_grid(const grid_case& g) {
  reset_state();
  auto& c = var_mallasconc;
  c.concgrid0_x = g.x0;
  c.concgrid0_y = g.y0;
  c.concdeltax = g.dx;
  c.concdeltay = g.dy;
  c.concxcells_number = g.nx;
  c.concycells_number = g.ny;
  c.conclatmean = g.latmean;
  c.xbatcc.allocate(g.nx * g.ny);
  c.ybatcc.allocate(g.nx * g.ny);
  for (int32_t i = 1; i <= g.nx; ++i) {
    for (int32_t j = 1; j <= g.ny; ++j) {
      c.xbatcc((i - 1) * g.ny + j) = g.x0 + (i - 1) * g.dx;
      c.ybatcc((i - 1) * g.ny + j) = g.y0 + (j - 1) * g.dy;
    }
  }
  c.lonicc = g.x0;
  c.lonscc = g.x0 + (g.nx - 1) * g.dx;
  c.laticc = g.y0;
  c.latscc = g.y0 + (g.ny - 1) * g.dy;
  var_mallas.factor = factor;
  var_mallas.cont_p = g.spills;

  var_run.deltat = 900.0f;
  var_run.particle_number = g.particles;
  var_run.sim__2d_3d = g.dims;
  var_run.simtype__operat_probabil = 1;
  auto& f = var_cfg;
  f.spills_number = g.spills;
  f.spill__instant_contin = g.release;
  f.obj__floating_fuel_hns = g.object;
  f.concgrid_same_grid__y_n = 0;
  f.spillstarttime.allocate(g.spills);

  auto& p = var_part;
  p.x_part.allocate(g.particles, g.spills);
  p.y_part.allocate(g.particles, g.spills);
  p.z_part.allocate(g.particles, g.spills);
  p.indp.allocate(g.particles, g.spills);
  var4.massparticle.allocate(g.particles, g.spills);
  var4.mass_diss_cumul.allocate(g.spills);
  var_hns_extra.equiv_part.allocate(g.particles, g.spills);
  for (int32_t s = 1; s <= g.spills; ++s) {
    for (int32_t j = 1; j <= g.particles; ++j) {
      p.x_part(j, s) = 300.0;
      p.y_part(j, s) = 0.0;
      p.indp(j, s) = 1;
      var4.massparticle(j, s) = 1.0;
      var_hns_extra.equiv_part(j, s) = 1.0f;
    }
  }
  if (g.object == 3) var4.conc_diss_tot.allocate(g.nx * g.ny);
}

// Puts particle j of spill s in the middle of cell (ix, iy).
inline void put(int32_t j, int32_t s, int32_t ix, int32_t iy, int32_t state = 1) {
  const auto& c = var_mallasconc;
  var_part.x_part(j, s) = c.concgrid0_x + (ix - 0.5) * c.concdeltax;
  var_part.y_part(j, s) = c.concgrid0_y + (iy - 0.5) * c.concdeltay;
  var_part.indp(j, s) = state;
}

// The cell number of (ix, iy).
inline int32_t cell(int32_t ix, int32_t iy) { return (ix - 1) * var_mallasconc.concycells_number + iy; }

// The cell area in m2, from the grid's spacings and mean latitude.
inline double cell_area() {
  const auto& c = var_mallasconc;
  return std::cos(static_cast<double>(3.1416f) * c.conclatmean / 180.0) * c.concdeltax * factor *
         (c.concdeltay * factor);
}

}  // namespace orvel::testing
