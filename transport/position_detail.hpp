// The particle motions shared by the position updates: the transport random
// walk, the random spreading walk, the Lehr growth, the Runge-Kutta
// combination, and the beaching rules after a coast search.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/precision.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_costa.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_rk.hpp"
#include "control/state/var_run.hpp"
#include "transport/coast.hpp"
#include "transport/position.hpp"
#include "transport/random.hpp"

namespace orvel::position_detail {

// Settings of one call, read once.
struct step_settings {
  double dt;          // model time step, s, widened to double precision
  double walk_c;      // factor of the transport walk: 4 in a river, 6 at sea
  bool euler;         // Euler step, else the Runge-Kutta combination
  int32_t algorithm;  // spreading algorithm
  bool lehr;          // spreading by Lehr growth (algorithms other than 1 and 3)
  bool lehr_first;    // Lehr growth measured from the release point this step

  step_settings(int32_t spill, int32_t step) {
    dt = static_cast<double>(var_run.deltat);
    walk_c = var_run.simenvironment__sea_river == 2 ? 4.0 : 6.0;
    euler = var_run.numericalmethod__euler_rungekut == 1;
    algorithm = var_cfg.spreadalgorithm__adios2_leher_hns;
    lehr = algorithm != 1 && algorithm != 3;
    // A spill whose references were never written takes its first growth
    // from the release point, whatever the step at which it starts spreading.
    lehr_first = lehr_from_release(spill, step);
  }
};

// One component of the transport walk: a velocity uniform in
// +-sqrt(C D / dt), drawing one number.
inline double walk(const step_settings& c, double d) {
  const float r = rand(0);
  return 2.0 * static_cast<double>(r - 0.5f) * std::sqrt(c.walk_c * d / c.dt);
}

// Runge-Kutta displacement of particle i over the step.
inline double rk_x(int32_t i, int32_t s) {
  return ((var_rk.fx1(i, s) / 6.0 + var_rk.fx2(i, s) / 3.0) + var_rk.fx3(i, s) / 3.0) + var_rk.fx4(i, s) / 6.0;
}
inline double rk_y(int32_t i, int32_t s) {
  return ((var_rk.fy1(i, s) / 6.0 + var_rk.fy2(i, s) / 3.0) + var_rk.fy3(i, s) / 3.0) + var_rk.fy4(i, s) / 6.0;
}

// Horizontal transport step of particle i from (x, y): advection plus walk,
// x drawn first, then y.
inline void transport_move(const step_settings& c, int32_t i, int32_t s, double x, double y) {
  const double wx = walk(c, var2.dxx(i));
  const double wy = walk(c, var2.dyy(i));
  if (c.euler) {
    var_part.x_part(i, s) = (var_currwindwave.uadv(i, s) + wx) * c.dt + x;
    var_part.y_part(i, s) = (var_currwindwave.vadv(i, s) + wy) * c.dt + y;
  } else {
    var_part.x_part(i, s) = (rk_x(i, s) + x) + wx * c.dt;
    var_part.y_part(i, s) = (rk_y(i, s) + y) + wy * c.dt;
  }
}

// A surface particle that a move took out of the domain box is lost (state
// -2, the outside compartment) where it stands: nothing moves it again, and
// afloat its mass would go on weathering as if it were still in the sea.
inline void lose_if_outside(int32_t i, int32_t s, double loni, double lons, double lati, double lats) {
  if (var_part.indp(i, s) != 1) return;
  const double x = var_part.x_part(i, s), y = var_part.y_part(i, s);
  if (!(loni <= x && x <= lons && lati <= y && y <= lats)) var_part.indp(i, s) = -2;
}

// Vertical transport step (3-D): advection plus walk (third draw), the depth
// never above the surface; state 1 at the surface, 5 below.
inline void transport_move_z(const step_settings& c, int32_t i, int32_t s) {
  const double wz = walk(c, var2.dzz(i));
  const double zn = var_part.z_part(i, s) + (var_currwindwave.wadv(i, s) + wz) * c.dt;
  const double z = zn < 0.0 ? 0.0 : zn;
  var_part.z_part(i, s) = z;
  if (z == 0.0) {
    var_part.indp(i, s) = 1;
  } else if (z > 0.0) {
    var_part.indp(i, s) = 5;
  }
}

// Spreading step of particle i from (x, y): the random spreading walk (two
// draws: radius R1, then angle from R2) or the Lehr growth, plus advection.
// With `move_z` the walk also moves the depth (3-D), without changing state.
inline void spread_move(const step_settings& c, int32_t i, int32_t s, double x, double y, double coef_r,
                        double coef_q, bool move_z) {
  if (!c.lehr) {
    const float r1 = rand(0);
    const float r2 = rand(0);
    const float theta = 6.28318f * r2;
    const float ct = std::cos(theta), st = std::sin(theta);
    const double ax = static_cast<double>(ct * r1);
    const double ay = static_cast<double>(r1 * st);
    const double wx = ax * std::sqrt(2.0 * var2.dxx(i) / c.dt);
    const double wy = ay * std::sqrt(2.0 * var2.dyy(i) / c.dt);
    if (c.euler) {
      var_part.x_part(i, s) = x + (var_currwindwave.uadv(i, s) + wx) * c.dt;
      var_part.y_part(i, s) = y + (var_currwindwave.vadv(i, s) + wy) * c.dt;
    } else {
      var_part.x_part(i, s) = (rk_x(i, s) + x) + wx * c.dt;
      var_part.y_part(i, s) = (rk_y(i, s) + y) + wy * c.dt;
    }
    if (move_z) {
      const double wz = ay * std::sqrt(2.0 * var2.dzz(i) / c.dt);
      const double zn = var_part.z_part(i, s) + (var_currwindwave.wadv(i, s) + wz) * c.dt;
      var_part.z_part(i, s) = zn < 0.0 ? 0.0 : zn;
    }
    return;
  }
  double gx, gy;
  if (c.lehr_first) {
    gx = (x - var_cfg.spillposition_x(s)) * coef_r;
    gy = (y - var_cfg.spillposition_y(s)) * coef_q;
  } else {
    gx = single_rounded(x - var_part.x_oldpt(i, s)) * coef_r;
    gy = single_rounded(y - var_part.y_oldpt(i, s)) * coef_q;
  }
  if (c.euler) {
    var_part.x_part(i, s) = (x + gx) + var_currwindwave.uadv(i, s) * c.dt;
    var_part.y_part(i, s) = (y + gy) + var_currwindwave.vadv(i, s) * c.dt;
  } else {
    var_part.x_part(i, s) = (rk_x(i, s) + x) + gx;
    var_part.y_part(i, s) = (rk_y(i, s) + y) + gy;
  }
}

// Lehr reference of particle i: its entry position advanced by the step's
// advection, so that the next step's difference is this step's growth.
inline void lehr_reference(const step_settings& c, int32_t i, int32_t s, double x, double y) {
  if (c.euler) {
    var_part.x_oldpt(i, s) = x + var_currwindwave.uadv(i, s) * c.dt;
    var_part.y_oldpt(i, s) = y + var_currwindwave.vadv(i, s) * c.dt;
  } else {
    var_part.x_oldpt(i, s) = rk_x(i, s) + x;
    var_part.y_oldpt(i, s) = rk_y(i, s) + y;
  }
}

// True when the Lehr references are kept (algorithm 2; its arrays exist).
inline bool keeps_lehr_reference(const step_settings& c) {
  return c.algorithm == 2 && var_part.x_oldpt.allocated() && var_part.y_oldpt.allocated();
}

// Nearest-coast search from (x, y) for particle i: onto the coast point and
// beached (afloat under the stick rule), or lost (-2) where it stands when no
// point lies within five cells.
inline void nearest_coast(int32_t i, int32_t s, double x, double y, bool stick) {
  double dist = 100000.0;
  int32_t k = 0;
  if (!buscacosta(x, y, var_part.x_part(i, s), var_part.y_part(i, s), k, dist)) {
    var_part.indp(i, s) = -2;
    return;
  }
  var_part.indp(i, s) =
      stick && var_cfg.coastline_sticknostick_option__y_n == 1 && var_costa.ind_coast(k) == 1 ? 1 : 0;
}

// Radar search from (x, y) for floor particle i: beached on the coast point
// found when it lies closer than one cell (deltax) but not exactly under the
// particle; otherwise the particle stays where it is, on the floor.
inline void radar_coast(int32_t i, int32_t s, double x, double y) {
  double xo = 0.0, yo = 0.0, dist = 0.0;
  if (buscacosta_radar(x, y, xo, yo, dist) && dist > 0.0 && dist < var_mallas.deltax) {
    var_part.x_part(i, s) = xo;
    var_part.y_part(i, s) = yo;
    var_part.indp(i, s) = 0;
  }
}

// Releases the diffusivities of the step that exist.
inline void release_diffusivities() {
  if (var2.dxx.allocated()) var2.dxx.deallocate();
  if (var2.dyy.allocated()) var2.dyy.deallocate();
  if (var2.dzz.allocated()) var2.dzz.deallocate();
}

// Centre of mass of spill s over all its particles.
inline void centre_of_mass(int32_t s, int32_t np) {
  double sx = 0.0, sy = 0.0;
  for (int32_t i = 1; i <= np; ++i) {
    sx += var_part.x_part(i, s);
    sy += var_part.y_part(i, s);
  }
  var_part.x_cg(s) = sx / np;
  var_part.y_cg(s) = sy / np;
}

inline double mean_depth(int32_t s, int32_t np) {
  double sz = 0.0;
  for (int32_t i = 1; i <= np; ++i) sz += var_part.z_part(i, s);
  return sz / np;
}

}  // namespace orvel::position_detail
