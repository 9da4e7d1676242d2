#include "forcing/series.hpp"

#include <cmath>

#include "common/list_input.hpp"
#include "control/data_folder.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_run.hpp"
#include "forcing/directions.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

void fill(farray<double, 1>& a, double v) {
  for (int32_t p = 1; p <= var_run.particle_number; ++p) a(p) = v;
}

void fill_column1(farray<double, 2>& a, double v) {
  for (int32_t p = 1; p <= var_run.particle_number; ++p) a(p, 1) = v;
}

void waves_to_particles(int32_t i, farray<double, 2>& hx, farray<double, 2>& hy, farray<double, 2>& t) {
  const auto& w = var_currwindwave;
  const east_north c = from_direction(w.hwavec(i), w.angc(i));
  fill_column1(hx, c.east);
  fill_column1(hy, c.north);
  fill_column1(t, w.twavec(i));
}

void pair_to_particles(double s, double theta, farray<double, 1>& x, farray<double, 1>& y) {
  const east_north c = from_direction(s, theta);
  fill(x, c.east);
  fill(y, c.north);
}

}  // namespace

void lee_velcte() {
  auto& w = var_currwindwave;
  const int32_t n = var_cfg.currentfilesorlines_number;
  if (n < 1) return;
  if (var_run.sim__2d_3d == 1) {
    list_reader r(input_path("lstcurr.pre"));
    r.finite_only();
    for (int32_t i = 1; i <= n; ++i) r.read({"current speed", "current direction"}, w.velcu(i), w.angcu(i));
  } else {
    list_reader r(input_path("lstcurr3D.pre"));
    r.finite_only();
    r.skip_line("the first header line");
    r.skip_line("the second header line");
    for (int32_t i = 1; i <= n; ++i) {
      r.read({"surface current speed", "surface current direction", "water-column current speed",
              "water-column current direction"},
             w.velcusup(i), w.angcusup(i), w.velcucol(i), w.angcucol(i));
    }
  }
}

void velcte() {}

void ola_part0(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx0, w.hinty0, w.tint0);
}

void ola_part(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx, w.hinty, w.tint);
}

void ola_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx_t1, w.hinty_t1, w.tint_t1);
}

void vel_part0(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.velcu(i), w.angcu(i), w.vuint0, w.vvint0);
}

void vel_part(int32_t i) {
  auto& w = var_currwindwave;
  if (var_run.sim__2d_3d == 1) {
    pair_to_particles(w.velcu(i), w.angcu(i), w.u_curr_int, w.v_curr_int);
  } else {
    pair_to_particles(w.velcusup(i), w.angcusup(i), w.u_curr_intsup, w.v_curr_intsup);
    pair_to_particles(w.velcucol(i), w.angcucol(i), w.u_curr_intcol, w.v_curr_intcol);
    pair_to_particles(w.velcucol(i), w.angcucol(i), w.u_curr_int, w.v_curr_int);
  }
}

void vel_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.velcu(i), w.angcu(i), w.vuint_t1, w.vvint_t1);
}

void viento_part0(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx0, w.winty0);
}

void viento_part(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx, w.winty);
}

void viento_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx_t1, w.winty_t1);
}

}  // namespace orvel
