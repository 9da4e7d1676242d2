#include "transport/position.hpp"

#include <cstdint>
#include <vector>

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "control/input_places.hpp"
#include "transport/floor_carry.hpp"
#include "transport/grid_cell.hpp"
#include "transport/position_detail.hpp"
#include "transport/together.hpp"

namespace orvel {

using namespace position_detail;

namespace {

// The four updates of the nearest-coast-point algorithm.  They differ in
// what moves them (transport walk or spreading motion), in the depth (3-D),
// and in the coast handling of the particles that are not moved:
//
//   mode 1 (land from bathymetry or mask): transport 2-D beaches a particle
//     over land (state 2) where it stands, transport 3-D only over a fixed
//     current grid; the spreading updates leave it;
//   mode 2 (mask and coastline): a particle over land (2) goes to the nearest
//     coast point, and over a time-varying current grid a floor particle (-1)
//     to the radar search.  The stick rule applies in transport 2-D and in
//     spreading 3-D.
//
// Every particle counts in the centre of mass at its final position.
// The coast rules of particle i, which does not move, from its entry
// position and state (a particle the coast test selected).
void coast_step(int32_t s, int32_t i, double x, double y, int32_t st, int32_t mode, bool stick) {
  if (mode == 1) {
    var_part.indp(i, s) = 0;  // over land (2) in the transport phase: beached where it stands
  } else if (st == 2) {
    nearest_coast(i, s, x, y, stick);
  } else {
    radar_coast(i, s, x, y);
  }
}

// One spill's update by the nearest-coast-point algorithm: the settings of
// the call and what each particle does, from its position and state on
// entry (move, go to the coast searches, or nothing).
struct spill_update {
  int32_t s;
  const step_settings c;
  spill_view v;
  bool three_d, spreading;
  double coef_r, coef_q;
  int32_t mode, grid;
  bool stick, reference, move_z, walk;
  double loni, lons, lati, lats;
  bool checked = false;  // the arrays of a move have been checked

  spill_update(int32_t s_, int32_t step, int32_t np, bool three_d_, bool spreading_, double coef_r_, double coef_q_,
               int64_t scratch = 0)
      : s(s_),
        c(s_, step),
        v(s_, np, scratch),
        three_d(three_d_),
        spreading(spreading_),
        coef_r(coef_r_),
        coef_q(coef_q_),
        mode(var_run.search_land__mask_maskandcoast),
        grid(var_cfg.currentgrid_variable__y_n),
        stick(three_d_ == spreading_),
        reference(spreading_ && c.lehr && keeps_lehr_reference(c)),
        move_z(three_d_ && !c.lehr),
        walk(!spreading_ || !c.lehr),
        loni(var_mallas.loni),
        lons(var_mallas.lons),
        lati(var_mallas.lati),
        lats(var_mallas.lats) {}

  bool moves(double x, double y, int32_t st) const {
    return loni <= x && x <= lons && lati <= y && y <= lats && (st == 1 || (three_d && st == 5));
  }
  bool coast(double x, double y, int32_t st) const {
    if (st == 1 || !(loni < x && x <= lons && y > lati)) return false;
    if (mode == 1) return st == 2 && !spreading && (!three_d || grid == 0);
    return mode == 2 && (grid == 0 || grid == 1) && (st == 2 || (st == -1 && grid == 1));
  }
  int64_t movers(int64_t first, int64_t last) const {
    int64_t n = 0;
    for (int64_t j = first; j < last; ++j) n += moves(v.x[j], v.y[j], v.indp[j]) ? 1 : 0;
    return n;
  }
  int32_t per_move() const { return draws_per_move(c, spreading, three_d); }
  // One pass over particles first .. last - 1 drawing from r; the coast
  // searches of the pass are made in place, or flagged in to_coast for the
  // block's tail, which makes them in particle order.
  void pass(int64_t first, int64_t last, draws& r, uint8_t* to_coast) {
    for (int64_t j = first; j < last; ++j) {
      const double x = v.x[j], y = v.y[j];
      const int32_t st = v.indp[j];
      if (to_coast) to_coast[j] = 0;
      if (moves(x, y, st)) {
        if (!to_coast && !checked) {
          v.need_motion(c, walk, three_d);
          checked = true;
        }
        if (spreading) {
          spread_move(c, v, j, x, y, coef_r, coef_q, move_z, r);
        } else {
          transport_move(c, v, j, x, y, r);
          if (three_d) transport_move_z(c, v, j, r);
        }
        lose_if_outside(v, j, loni, lons, lati, lats);
      } else if (coast(x, y, st)) {
        if (to_coast) {
          to_coast[j] = 1;
        } else {
          coast_step(s, static_cast<int32_t>(j + 1), x, y, st, mode, stick);
        }
      }
      if (reference) lehr_reference(c, v, j, x, y);
    }
  }
};

void low_resolution_update(int32_t s, int32_t step, bool three_d, bool spreading, double coef_r,
                           double coef_q) {
  reset_domain_box();
  const int32_t np = var_run.particle_number;
  if (np >= 1) {
    spill_update u(s, step, np, three_d, spreading, coef_r, coef_q);
    auto& v = u.v;
    const auto& c = u.c;
    // The flags are kept from call to call (one position update runs at a
    // time): no allocation per step.
    static std::vector<uint8_t> to_coast;
    const int64_t blocks = block_count(np);
    const bool threaded = on_threads(np);
    // Moving particles before each block (threads only: one pass in order
    // needs no count).
    std::vector<int64_t> movers(static_cast<std::size_t>(blocks) + 1, 0);
    if (threaded) {
      parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
        movers[static_cast<std::size_t>(b) + 1] = u.movers(first, last);
      });
      for (int64_t b = 0; b < blocks; ++b) movers[b + 1] += movers[b];
      if (movers[static_cast<std::size_t>(blocks)] > 0) v.need_motion(c, u.walk, three_d);
    }
    const int32_t per_move = u.per_move();
    const int32_t state0 = rand_state();
    int32_t end_state = state0;
    // Sums of the final positions in particle order: in the threaded pass
    // they run block after block in the tails, after the block's coast
    // searches, while later blocks still move.
    position_sums sum;
    if (threaded) {
      to_coast.resize(static_cast<std::size_t>(np));  // each pass sets the flags of its block
      parallel_blocks_ordered(
          np,
          [&](int64_t b, int64_t first, int64_t last) {
            draws r{rand_state_after(state0, movers[static_cast<std::size_t>(b)] * per_move)};
            u.pass(first, last, r, to_coast.data());
          },
          [&](int64_t, int64_t first, int64_t last) {
            // Coast particles have not moved: their entry position and
            // state are still in place.
            for (int64_t j = first; j < last; ++j) {
              if (to_coast[static_cast<std::size_t>(j)]) {
                coast_step(s, static_cast<int32_t>(j + 1), v.x[j], v.y[j], v.indp[j], u.mode, u.stick);
              }
            }
            sum.add(v, first, last);
            if (three_d) sum.add_depth(v, first, last);
          });
      end_state = rand_state_after(state0, movers[static_cast<std::size_t>(blocks)] * per_move);
    } else {
      draws r{state0};
      u.pass(0, np, r, nullptr);
      end_state = r.state;
      sum.add(v, 0, np);
      if (three_d) sum.add_depth(v, 0, np);
    }
    srand(end_state);
    centre_of_mass(v, sum, np);
    // In 3-D a spill moved dispersed can spread again (its droplets come
    // back to the surface, or first reach it): its Lehr references follow
    // the particles meanwhile, so that the growth of its next spreading step
    // starts from nothing where they are, not from the release point nor
    // from where an earlier spreading step left them.
    if (three_d && !spreading && c.lehr && keeps_lehr_reference(c)) {
      parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
        for (int64_t j = first; j < last; ++j) {
          v.x_old[j] = v.x[j];
          v.y_old[j] = v.y[j];
        }
      });
    }
    if (three_d) {
      const double z = sum.z / np;
      var_part.z_cg(s) = spreading && z < 0.0 ? 0.0 : z;
    }
  }
  release_diffusivities();
}

}  // namespace

void posicion_2d(int32_t spill, int32_t step) { low_resolution_update(spill, step, false, false, 0.0, 0.0); }

void posicion_3d(int32_t spill, int32_t step) { low_resolution_update(spill, step, true, false, 0.0, 0.0); }

void moves_2d_together(std::span<const int32_t> spills, int32_t step, std::span<const spill_move> moves) {
  diffusivities_2d_together(spills, moves);
  reset_domain_box();
  const int32_t np = var_run.particle_number;
  const int64_t n = static_cast<int64_t>(spills.size());
  if (np >= 1 && n >= 1) {
    // Each spill draws after the spills before it: its moving particles,
    // counted first, set where its draws start.
    std::vector<int64_t> draws_before(static_cast<std::size_t>(n) + 1, 0);
    auto update_of = [&](int64_t i) {
      const int32_t s = spills[static_cast<std::size_t>(i)];
      const auto& m = moves[static_cast<std::size_t>(i)];
      return spill_update(s, step, np, false, m.spreading, m.coef_r, m.coef_q, int64_t{s - 1} * np);
    };
    // The floor particles a spill carries (two draws each with the walk's
    // diffusivities) draw before its moving particles.
    const bool walk = var2.dxx.allocated() && var2.dyy.allocated();
    auto carries = [&](int64_t i) {
      return moves[static_cast<std::size_t>(i)].carry &&
             var_cfg.dissolution(spills[static_cast<std::size_t>(i)]) == 1;
    };
    parallel_units(n, np, [&](int64_t i) {
      const spill_update u = update_of(i);
      const int64_t carried = carries(i) && walk ? 2 * floor_particles(u.s) : 0;
      draws_before[static_cast<std::size_t>(i) + 1] = carried + u.movers(0, np) * u.per_move();
    });
    for (int64_t i = 0; i < n; ++i) draws_before[i + 1] += draws_before[i];
    const int32_t state0 = rand_state();
    parallel_units(n, np, [&](int64_t i) {
      spill_update u = update_of(i);
      draws r{rand_state_after(state0, draws_before[static_cast<std::size_t>(i)])};
      if (carries(i)) {
        const int64_t from = int64_t{u.s - 1} * np;
        carry_floor_particles(u.s, walk ? var2.dxx.data() + from : nullptr, walk ? var2.dyy.data() + from : nullptr,
                              r);
      }
      u.pass(0, np, r, nullptr);
      centre_of_mass(u.v, np);
    });
    srand(rand_state_after(state0, draws_before[static_cast<std::size_t>(n)]));
  }
  release_diffusivities();
}

bool lehr_from_release(int32_t spill, int32_t step) {
  return step == 1 || !var_part.x_oldpt.allocated() || var_part.x_oldpt(1, spill) == 0.0;
}

void posicion_2d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) {
  low_resolution_update(spill, step, false, true, coef_r, coef_q);
}

void posicion_3d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) {
  low_resolution_update(spill, step, true, true, coef_r, coef_q);
}

void check_coast_algorithm(const std::string& run_file) {
  if (var_run.searchcoastalgorithm__lr_hr != 2) return;
  if (var_run.sim__2d_3d != 1) {
    throw refusal_at("searchcoastalgorithm__lr_hr", run_file,
                      "the coast-polygon algorithm (searchcoastalgorithm__lr_hr = 2) needs a two-dimensional "
                      "run (sim__2d_3d = 1), found sim__2d_3d = " +
                          std::to_string(var_run.sim__2d_3d));
  }
  if (var_run.search_land__mask_maskandcoast != 2) {
    throw refusal_at("searchcoastalgorithm__lr_hr", run_file,
                      "the coast-polygon algorithm (searchcoastalgorithm__lr_hr = 2) needs land-search mode 2 "
                      "(search_land__mask_maskandcoast = 2), found " +
                          std::to_string(var_run.search_land__mask_maskandcoast));
  }
}

}  // namespace orvel
