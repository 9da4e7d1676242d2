// The transport of several spills of a two-dimensional run in one step, as
// one piece of work: the pulses of a continuous release are small (a few
// hundred particles each), too small for a loop of their own to take a
// second thread, but together they are as many particles as a spill
// released at once.  Each routine does for every spill of `spills` (in
// increasing order) what its one-spill routine does, each spill whole on one
// thread and the spills shared among the threads, and leaves what the
// one-spill routines called spill after spill would leave: the same
// particles, the same random draws (each spill starts where the draws of the
// spills before it end), the same per-spill results and the same last
// values of the shared ones.
//
// The work arrays of the step hold particle_number values per spill of the
// run: spill s uses values (s - 1) * particle_number + 1 onwards.
#pragma once

#include <cstdint>
#include <span>

namespace orvel {

// The counts of one spill's particles by state (see update_par).
struct state_counts {
  int32_t surf = 0, column = 0, floor = 0, beached = 0, pause = 0;
};

// How a spill moves in the step: its spreading motion (with the spreading
// diffusivity from coef_r when `diffusivity`, the random spreading walk, or
// else the Lehr growth by coef_r, coef_q), or its transport walk, before
// which, with `carry`, the particles on the floor of a dissolving chemical
// are carried by the current (carry_with_current_2d).
struct spill_move {
  bool spreading = false;
  bool diffusivity = false;
  double coef_r = 0.0, coef_q = 0.0;
  bool carry = false;
};

// update_indp of each spill, and its counts by state into counts (one per
// spill of `spills`); the counters of var_part are left alone.
void update_states_together(std::span<const int32_t> spills, int32_t step, std::span<state_counts> counts);

// Sets the state counters of var_part as update_par(spill) leaves them: the
// counts of `spill`, every other spill's 0 (`shown`, the spill whose counts
// they hold, or 0 for none known: every spill's are zeroed).
void show_state_counts(int32_t spill, const state_counts& counts, int32_t shown);

// vel_adv_2d of each spill.
void vel_adv_2d_together(std::span<const int32_t> spills, int32_t step);

// Stage `stage` of the Runge-Kutta step of each spill (currents not blended
// within the step): x0, y0 the positions at the start of the step, xs, ys
// those of the next stage, particle_number values per spill of the run.
void rungek_together(std::span<const int32_t> spills, int32_t stage, int32_t k, const double* x0, const double* y0,
                     double* xs, double* ys);

// The horizontal diffusivities of each spill moved as moves[i] says, into
// its stretch of dxx, dyy (none for the Lehr growth).
void diffusivities_2d_together(std::span<const int32_t> spills, std::span<const spill_move> moves);

// The diffusivities and the nearest-coast-point position update of each
// spill, moved as moves[i] says (the transport walk: dispersion_2d, the
// carry of the floor particles when asked for, then posicion_2d; the
// spreading motion: dispersion_2d_spread with coef_r when `diffusivity`,
// then posicion_2d_spread).
void moves_2d_together(std::span<const int32_t> spills, int32_t step, std::span<const spill_move> moves);

}  // namespace orvel
