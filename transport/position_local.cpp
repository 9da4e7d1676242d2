// The coast-polygon algorithm: a move call that moves the free surface
// particles and remembers where each path started, and a resolve call that
// stops every path crossing a coast polygon on its first crossing.

#include <cstdint>
#include <vector>

#include "common/parallel.hpp"
#include "transport/grid_cell.hpp"
#include "transport/position.hpp"
#include "transport/position_detail.hpp"

namespace orvel {

using namespace position_detail;

namespace {

// Moves the state-1 particles inside the domain box (transport walk or
// spreading motion); every moved path is marked for the crossing test.
// Particles in other states start a path of zero length where they stand;
// a state-1 particle outside the box keeps the path of its last move.
void move_and_mark(int32_t s, int32_t step, bool spreading, double coef_r, double coef_q) {
  const int32_t np = var_run.particle_number;
  if (np >= 1) {
    const step_settings c(s, step);
    spill_view v(s, np);
    if (!v.xp1 || !v.yp1 || !v.part_inter) missing(!v.xp1 ? "xp1" : !v.yp1 ? "yp1" : "part_inter");
    const bool reference = spreading && c.lehr && keeps_lehr_reference(c);
    const bool walk = !spreading || !c.lehr;
    const double loni = var_mallas.loni, lons = var_mallas.lons;
    const double lati = var_mallas.lati, lats = var_mallas.lats;
    auto moves = [&](double x, double y, int32_t st) {
      return st == 1 && loni <= x && x <= lons && lati <= y && y <= lats;
    };
    bool checked = false;
    auto pass = [&](int64_t first, int64_t last, draws& r, bool threaded) {
      for (int64_t j = first; j < last; ++j) {
        const double x = v.x[j], y = v.y[j];
        const int32_t st = v.indp[j];
        if (st == 1) {
          if (moves(x, y, st)) {
            if (!threaded && !checked) {
              v.need_motion(c, walk, false);
              checked = true;
            }
            if (spreading) {
              spread_move(c, v, j, x, y, coef_r, coef_q, false, r);
            } else {
              transport_move(c, v, j, x, y, r);
            }
            v.xp1[j] = x;
            v.yp1[j] = y;
            v.part_inter[j] = 1;
          }
        } else {
          v.xp1[j] = x;
          v.yp1[j] = y;
          v.part_inter[j] = 0;
        }
        if (reference) lehr_reference(c, v, j, x, y);
      }
    };
    const int64_t blocks = block_count(np);
    const int32_t state0 = rand_state();
    if (on_threads(np)) {
      const int32_t per_move = draws_per_move(c, spreading, false);
      std::vector<int64_t> movers(static_cast<std::size_t>(blocks) + 1, 0);
      parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
        int64_t n = 0;
        for (int64_t j = first; j < last; ++j) n += moves(v.x[j], v.y[j], v.indp[j]) ? 1 : 0;
        movers[static_cast<std::size_t>(b) + 1] = n;
      });
      for (int64_t b = 0; b < blocks; ++b) movers[b + 1] += movers[b];
      if (movers[static_cast<std::size_t>(blocks)] > 0) v.need_motion(c, walk, false);
      parallel_blocks(np, [&](int64_t b, int64_t first, int64_t last) {
        draws r{rand_state_after(state0, movers[static_cast<std::size_t>(b)] * per_move)};
        pass(first, last, r, true);
      });
      srand(rand_state_after(state0, movers[static_cast<std::size_t>(blocks)] * per_move));
    } else {
      draws r{state0};
      pass(0, np, r, false);
      srand(r.state);
    }
  }
  release_diffusivities();
}

// Stops the marked paths on the coast polygons, then handles the particles
// over land (nearest coast point) and on the floor (radar search), whatever
// the land-search mode.  In the transport phase a particle stopped on a
// polygon stays afloat there when the nearest coast point does not stick.
void resolve(int32_t s, bool spreading, const farray<coast_polygon, 1>& polys) {
  reset_domain_box();
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  for (int32_t i = 1; i <= np; ++i) {
    const int32_t st = var_part.indp(i, s);
    const double xs = var_part.xp1(i, s), ys = var_part.yp1(i, s);
    if (st == 1) {
      if (var_part.part_inter(i, s) == 0) continue;
      int32_t num = 0;
      busca_costa_interseccion_str(xs, ys, var_part.x_part(i, s), var_part.y_part(i, s), polys,
                                   var_part.x_part(i, s), var_part.y_part(i, s), var_part.indp(i, s), num);
      // A path that crosses no coast and leaves the box is lost.
      if (num == 0) lose_if_outside(i, s, var_mallas.loni, var_mallas.lons, var_mallas.lati, var_mallas.lats);
      if (num == 0 || spreading) continue;
      // Stopped on the crossing (state 0): the nearest coast point decides
      // only whether it sticks; with none within reach it stays beached.
      double dist = 100000.0;
      int32_t k = 0;
      if (buscacosta(var_part.x_part(i, s), var_part.y_part(i, s), var_costa.x_costa_prox,
                     var_costa.y_costa_prox, k, dist) &&
          var_cfg.coastline_sticknostick_option__y_n == 1 && var_costa.ind_coast(k) == 1) {
        var_part.indp(i, s) = 1;
      }
    } else if (st == -1) {
      radar_coast(i, s, xs, ys);
    } else if (st == 2) {
      nearest_coast(i, s, xs, ys, true);
    }
  }
  centre_of_mass(spill_view(s, np), np);
}

}  // namespace

void busca_parts_intersect(int32_t spill, int32_t step) { move_and_mark(spill, step, false, 0.0, 0.0); }

void busca_parts_inter_spread(int32_t spill, int32_t step, double coef_r, double coef_q) {
  move_and_mark(spill, step, true, coef_r, coef_q);
}

void posicion_2d_local(int32_t spill, int32_t, const farray<coast_polygon, 1>& polys) {
  resolve(spill, false, polys);
}

void posicion_2d_local_spread(int32_t spill, int32_t, const farray<coast_polygon, 1>& polys) {
  resolve(spill, true, polys);
}

}  // namespace orvel
