// The particle motions shared by the position updates: the transport random
// walk, the random spreading walk, the Lehr growth, the Runge-Kutta
// combination, and the beaching rules after a coast search.
//
// The motions work on a view of one spill's columns (pointers loaded once
// per call) and draw from a local copy of the generator, so that blocks of
// particles can move on several threads: each block starts its copy where
// the draws of the particles before it end.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

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
#include "transport/grid_cell.hpp"
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
  bool floor;         // the sea floor ends a vertical step (over a fixed current grid, as in the state update)
  double factor;      // metres per model depth unit

  step_settings(int32_t spill, int32_t step) {
    dt = static_cast<double>(var_run.deltat);
    walk_c = var_run.simenvironment__sea_river == 2 ? 4.0 : 6.0;
    euler = var_run.numericalmethod__euler_rungekut == 1;
    algorithm = var_cfg.spreadalgorithm__adios2_leher_hns;
    lehr = algorithm != 1 && algorithm != 3;
    // A spill whose references were never written takes its first growth
    // from the release point, whatever the step at which it starts spreading.
    lehr_first = lehr_from_release(spill, step);
    floor = var_cfg.currentgrid_variable__y_n == 0;
    factor = var_mallas.factor;
  }
};

// Column s of a (particle, spill) array over np particles, or null when the
// array does not exist.
template <typename T>
T* spill_column(farray<T, 2>& a, int32_t s, int32_t np) {
  if (!a.allocated()) return nullptr;
  if (a.size(1) < np || s < a.lbound(2) || s > a.ubound(2)) {
    throw std::out_of_range(std::string("array ") + a.name() + " has no column " + std::to_string(s) + " of " +
                            std::to_string(np) + " particles");
  }
  return a.ptr(a.lbound(1), s);
}

// Particles `from` .. `from` + np - 1 (from 0) of a particle array, or null
// when the array does not exist.
template <typename T>
T* particle_array(farray<T, 1>& a, int32_t np, int64_t from = 0) {
  if (!a.allocated()) return nullptr;
  if (a.size(1) < from + np) {
    throw std::out_of_range(std::string("array ") + a.name() + " holds fewer than " + std::to_string(from + np) +
                            " particles");
  }
  return a.ptr(a.lbound(1)) + from;
}

// An array that a motion reads and the step has not set up.
[[noreturn]] inline void missing(const char* name) {
  throw std::out_of_range(std::string("array ") + name + " is used while not allocated");
}

// The arrays of spill s that the motions read and write, index i - 1 for
// particle i.  The diffusivities of the step are those from particle
// `scratch` on (a spill moved with others has its own stretch of them).
struct spill_view {
  int32_t s;
  double* x;
  double* y;
  double* z;
  int32_t* indp;
  const double* uadv;
  const double* vadv;
  const double* wadv;
  const double* dxx;
  const double* dyy;
  const double* dzz;
  const double* fx[4];
  const double* fy[4];
  double* x_old;
  double* y_old;
  double* xp1;
  double* yp1;
  int32_t* part_inter;

  spill_view(int32_t spill, int32_t np, int64_t scratch = 0) : s(spill) {
    auto& p = var_part;
    auto& w = var_currwindwave;
    auto& rk = var_rk;
    x = spill_column(p.x_part, s, np);
    y = spill_column(p.y_part, s, np);
    z = spill_column(p.z_part, s, np);
    indp = spill_column(p.indp, s, np);
    if (!x || !y || !indp) missing(!x ? "x_part" : !y ? "y_part" : "indp");
    uadv = spill_column(w.uadv, s, np);
    vadv = spill_column(w.vadv, s, np);
    wadv = spill_column(w.wadv, s, np);
    dxx = particle_array(var2.dxx, np, scratch);
    dyy = particle_array(var2.dyy, np, scratch);
    dzz = particle_array(var2.dzz, np, scratch);
    farray<double, 2>* kx[] = {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4};
    farray<double, 2>* ky[] = {&rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4};
    for (int k = 0; k < 4; ++k) {
      fx[k] = spill_column(*kx[k], s, np);
      fy[k] = spill_column(*ky[k], s, np);
    }
    x_old = spill_column(p.x_oldpt, s, np);
    y_old = spill_column(p.y_oldpt, s, np);
    xp1 = spill_column(p.xp1, s, np);
    yp1 = spill_column(p.yp1, s, np);
    part_inter = spill_column(p.part_inter, s, np);
  }

  // The arrays that the motions of this call read, checked once before the
  // particle loop when a particle may move.
  void need_motion(const step_settings& c, bool walk, bool three_d) const {
    if (!uadv || !vadv) missing(!uadv ? "uadv" : "vadv");
    if (walk && (!dxx || !dyy)) missing(!dxx ? "dxx" : "dyy");
    if (three_d && (!z || !wadv)) missing(!z ? "z_part" : "wadv");
    if (three_d && walk && !dzz) missing("dzz");
    if (!c.euler) {
      for (int k = 0; k < 4; ++k) {
        if (!fx[k] || !fy[k]) missing("the Runge-Kutta stages");
      }
    }
  }
};

// A copy of the generator for one block of draws, with the last root of the
// walk along each axis: particles with the diffusivity of the one before
// them (a uniform forcing) take its root.
struct draws {
  int32_t state;
  uint64_t last_d[3] = {0, 0, 0};
  double last_root[3] = {0.0, 0.0, 0.0};
  bool known[3] = {false, false, false};
  float operator()() {
    state = random_detail::next(state);
    return random_detail::value(state);
  }
};

// One component (axis 0, 1, 2: x, y, z) of the transport walk: a velocity
// uniform in +-sqrt(C D / dt), drawing one number.
inline double walk(const step_settings& c, double d, draws& r, int axis) {
  const float v = r();
  const uint64_t bits = std::bit_cast<uint64_t>(d);
  if (!r.known[axis] || bits != r.last_d[axis]) {
    r.last_root[axis] = std::sqrt(c.walk_c * d / c.dt);
    r.last_d[axis] = bits;
    r.known[axis] = true;
  }
  return 2.0 * static_cast<double>(v - 0.5f) * r.last_root[axis];
}

// Runge-Kutta displacement of particle index j over the step.
inline double rk_x(const spill_view& v, int64_t j) {
  return ((v.fx[0][j] / 6.0 + v.fx[1][j] / 3.0) + v.fx[2][j] / 3.0) + v.fx[3][j] / 6.0;
}
inline double rk_y(const spill_view& v, int64_t j) {
  return ((v.fy[0][j] / 6.0 + v.fy[1][j] / 3.0) + v.fy[2][j] / 3.0) + v.fy[3][j] / 6.0;
}

// Horizontal transport step of particle index j from (x, y): advection plus
// walk, x drawn first, then y.
inline void transport_move(const step_settings& c, spill_view& v, int64_t j, double x, double y, draws& r) {
  const double wx = walk(c, v.dxx[j], r, 0);
  const double wy = walk(c, v.dyy[j], r, 1);
  if (c.euler) {
    v.x[j] = (v.uadv[j] + wx) * c.dt + x;
    v.y[j] = (v.vadv[j] + wy) * c.dt + y;
  } else {
    v.x[j] = (rk_x(v, j) + x) + wx * c.dt;
    v.y[j] = (rk_y(v, j) + y) + wy * c.dt;
  }
}

// A particle that a move took past a pole has left a grid that reaches it
// (no grid reaches beyond): it is lost (state -2, the outside compartment),
// whatever its state, at the pole, so that every position stays on the
// globe.  True when it was.
inline bool lose_past_pole(double& y, int32_t& state) {
  if (!(y > 90.0 || y < -90.0)) return false;
  y = y > 0.0 ? 90.0 : -90.0;
  state = -2;
  return true;
}

// A surface particle that a move took out of the domain box is lost (state
// -2, the outside compartment) where it stands: nothing moves it again, and
// afloat its mass would go on weathering as if it were still in the sea.
inline void lose_if_outside(int32_t i, int32_t s, double loni, double lons, double lati, double lats) {
  if (lose_past_pole(var_part.y_part(i, s), var_part.indp(i, s))) return;
  if (var_part.indp(i, s) != 1) return;
  const double x = var_part.x_part(i, s), y = var_part.y_part(i, s);
  if (!(loni <= x && x <= lons && lati <= y && y <= lats)) var_part.indp(i, s) = -2;
}
inline void lose_if_outside(spill_view& v, int64_t j, double loni, double lons, double lati, double lats) {
  if (lose_past_pole(v.y[j], v.indp[j])) return;
  if (v.indp[j] != 1) return;
  const double x = v.x[j], y = v.y[j];
  if (!(loni <= x && x <= lons && lati <= y && y <= lats)) v.indp[j] = -2;
}

// The sea floor ends a vertical step: particle index j, moved to depth z
// (below the surface) at its new position, stops on the floor of its
// model cell (state -1, at the cell's depth) when z reaches it.  The test
// and the depth are those of the state update; a cell of land or outside
// the model grid is left to it.
inline bool stop_on_floor(const step_settings& c, spill_view& v, int64_t j, double z) {
  if (!c.floor) return false;
  float depth = 0.0f;
  if (!model_depth(v.x[j], v.y[j], depth) || !(depth > 0.0f) || !(z * c.factor >= depth)) return false;
  v.z[j] = depth / c.factor;
  v.indp[j] = -1;
  return true;
}

// Vertical transport step (3-D): advection plus walk (third draw), the depth
// never above the surface nor below the floor; state 1 at the surface, -1
// on the floor, 5 between.
inline void transport_move_z(const step_settings& c, spill_view& v, int64_t j, draws& r) {
  const double wz = walk(c, v.dzz[j], r, 2);
  const double zn = v.z[j] + (v.wadv[j] + wz) * c.dt;
  const double z = zn < 0.0 ? 0.0 : zn;
  if (z > 0.0 && stop_on_floor(c, v, j, z)) return;
  v.z[j] = z;
  if (z == 0.0) {
    v.indp[j] = 1;
  } else if (z > 0.0) {
    v.indp[j] = 5;
  }
}

// Draws of one moving particle: two for the transport walk (three in 3-D),
// two for the random spreading walk, none for the Lehr growth.
inline int32_t draws_per_move(const step_settings& c, bool spreading, bool three_d) {
  if (spreading) return c.lehr ? 0 : 2;
  return three_d ? 3 : 2;
}

// Spreading step of particle index j from (x, y): the random spreading walk
// (two draws: radius R1, then angle from R2) or the Lehr growth, plus
// advection.  With `move_z` the walk also moves the depth (3-D), without
// changing state unless it reaches the floor.
inline void spread_move(const step_settings& c, spill_view& v, int64_t j, double x, double y, double coef_r,
                        double coef_q, bool move_z, draws& r) {
  if (!c.lehr) {
    const float r1 = r();
    const float r2 = r();
    const float theta = 6.28318f * r2;
    const float ct = std::cos(theta), st = std::sin(theta);
    const double ax = static_cast<double>(ct * r1);
    const double ay = static_cast<double>(r1 * st);
    const double wx = ax * std::sqrt(2.0 * v.dxx[j] / c.dt);
    const double wy = ay * std::sqrt(2.0 * v.dyy[j] / c.dt);
    if (c.euler) {
      v.x[j] = x + (v.uadv[j] + wx) * c.dt;
      v.y[j] = y + (v.vadv[j] + wy) * c.dt;
    } else {
      v.x[j] = (rk_x(v, j) + x) + wx * c.dt;
      v.y[j] = (rk_y(v, j) + y) + wy * c.dt;
    }
    if (move_z) {
      const double wz = ay * std::sqrt(2.0 * v.dzz[j] / c.dt);
      const double zn = v.z[j] + (v.wadv[j] + wz) * c.dt;
      const double z = zn < 0.0 ? 0.0 : zn;
      if (!(z > 0.0 && stop_on_floor(c, v, j, z))) v.z[j] = z;
    }
    return;
  }
  double gx, gy;
  if (c.lehr_first) {
    gx = (x - var_cfg.spillposition_x(v.s)) * coef_r;
    gy = (y - var_cfg.spillposition_y(v.s)) * coef_q;
  } else {
    gx = single_rounded(x - v.x_old[j]) * coef_r;
    gy = single_rounded(y - v.y_old[j]) * coef_q;
  }
  if (c.euler) {
    v.x[j] = (x + gx) + v.uadv[j] * c.dt;
    v.y[j] = (y + gy) + v.vadv[j] * c.dt;
  } else {
    v.x[j] = (rk_x(v, j) + x) + gx;
    v.y[j] = (rk_y(v, j) + y) + gy;
  }
}

// Lehr reference of particle index j: its entry position advanced by the
// step's advection, so that the next step's difference is this step's
// growth.
inline void lehr_reference(const step_settings& c, spill_view& v, int64_t j, double x, double y) {
  if (c.euler) {
    v.x_old[j] = x + v.uadv[j] * c.dt;
    v.y_old[j] = y + v.vadv[j] * c.dt;
  } else {
    v.x_old[j] = rk_x(v, j) + x;
    v.y_old[j] = rk_y(v, j) + y;
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

// Releases the diffusivities of the step that exist; their storage stays for
// the next step's.
inline void release_diffusivities() {
  if (var2.dxx.allocated()) var2.dxx.deallocate_keep_storage();
  if (var2.dyy.allocated()) var2.dyy.deallocate_keep_storage();
  if (var2.dzz.allocated()) var2.dzz.deallocate_keep_storage();
}

// Sums of the positions of spill s in particle order, taken over
// consecutive ranges of particles: the centre of mass and the mean depth.
struct position_sums {
  double x = 0.0, y = 0.0, z = 0.0;
  // The running sums in locals: through the members the compiler would
  // store and reload them at every particle (a position might be the sum).
  void add(const spill_view& v, int64_t first, int64_t last) {
    const double* px = v.x;
    const double* py = v.y;
    double sx = x, sy = y;
    for (int64_t j = first; j < last; ++j) {
      sx += px[j];
      sy += py[j];
    }
    x = sx;
    y = sy;
  }
  void add_depth(const spill_view& v, int64_t first, int64_t last) {
    if (!v.z) missing("z_part");
    const double* pz = v.z;
    double sz = z;
    for (int64_t j = first; j < last; ++j) sz += pz[j];
    z = sz;
  }
};

// Centre of mass of spill s over all its np particles from their sums.
inline void centre_of_mass(const spill_view& v, const position_sums& sum, int32_t np) {
  var_part.x_cg(v.s) = sum.x / np;
  var_part.y_cg(v.s) = sum.y / np;
}

// Centre of mass of spill s over all its particles, summed in particle
// order.
inline void centre_of_mass(const spill_view& v, int32_t np) {
  position_sums sum;
  sum.add(v, 0, np);
  centre_of_mass(v, sum, np);
}

}  // namespace orvel::position_detail
