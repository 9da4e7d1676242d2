// The frame shared by the four engines: the loop over simulations, the
// current-record and sub-step clock, the advance and time blending of the
// current, wave and wind records, the record-end copies, the spill pass
// (forcing at the particles, states, velocities, Euler or Runge-Kutta
// passes), the output instants and the per-step property series.
//
// An engine derives from engine_frame and supplies its set-up and its
// per-spill chain; where it differs from the two-dimensional oil engine it
// overrides the other hooks (activity test, currents and velocities of the
// pass, statistics routines, series records, property files, its own
// arrays).  Every routine of another subsystem is reached through the
// engine_calls given at construction.
//
// Times are seconds from the start of the simulation in single precision.
// The step counter is 1 at time 0; the sub-step made while it holds n ends at
// the step time float(n) * deltat; record r of the series holds the state at
// time (r - 1) * deltat.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "engines/engine_calls.hpp"

namespace orvel {

// The per-step property series (spill, record) that every engine keeps, and
// those that only a chemical keeps: one list each, for their allocation and
// for sliding their window of records.
std::array<farray<double, 2>*, 15> engine_series();
std::array<farray<double, 2>*, 4> chemical_series();

// Whether runs may move the spills of a sub-step together (the default);
// tests set it off to compare with every spill moved on its own.
void allow_spills_together(bool allowed);

class engine_frame {
 public:
  engine_frame(engine_calls& calls, const std::string& clave, std::span<const coast_polygon> coord_str);
  virtual ~engine_frame() = default;
  engine_frame(const engine_frame&) = delete;
  engine_frame& operator=(const engine_frame&) = delete;

  // The whole run: the settings check (warnings on standard error), then
  // simulations 1 .. simnumber__1_n.
  void run();

  // Step time of the sub-step made while the step counter holds its present
  // value.
  float step_time() const;
  // Blend weight of the currents in the pass being made: the sub-step's, or
  // at Runge-Kutta stages 2 to 4 that of the stage's own time, which the
  // stage before has set (k_vtmed).
  float pass_current_weight() const;

  // Engine-local counters.
  int32_t sim = 0;     // simulation number
  int32_t step = 0;    // step counter, 1 at time 0; numbers the series records
  int32_t k = 0;       // sub-step within the current record, from 0
  int32_t kw = 0;      // sub-steps since the wave record in use began
  int32_t kwind = 0;   // sub-steps since the wind record in use began
  int32_t nsteps = 0;  // records of the property series of a simulation
  int32_t stage = 1;   // Runge-Kutta stage of the spill pass, 1 .. 4
  bool current_grid_located = false;  // regular current grids derived in this simulation
  bool waves_grid_located = false;    // regular wave grid derived in this simulation
  bool wind_grid_located = false;     // regular wind grid derived in this simulation

  // Engine-local per-spill arrays, allocated in the first simulation.
  farray<double, 1> slick_area{"slick_area"};           // (spill) current slick area, m2; 0 = none known
  farray<double, 1> spill_tstart{"spill_tstart"};       // (spill) start time, s, from the initial-area routines
  farray<int32_t, 1> weathered_now{"weathered_now"};    // (spill) 1 once the weathering sequence has run
  farray<int32_t, 1> surface_exhausted{"surface_exhausted"};  // (spill) 1 = no natural dispersion, massdisp 0
  farray<int32_t, 1> afloat_seen{"afloat_seen"};        // (spill) 1 once mass floated after the fate sequence ran

  // Work arrays, allocated in the first simulation.
  farray<double, 1> x_pass{"x_pass"};  // (particle) longitudes at which a pass interpolates, deg + 360
  farray<double, 1> y_pass{"y_pass"};  // (particle) latitudes at which a pass interpolates, deg
  farray<double, 1> z_pass{"z_pass"};  // (particle) depths of the pass, m / factor
  farray<double, 1> x_rk0{"x_rk0"};    // (particle) Runge-Kutta start longitudes, deg + 360
  farray<double, 1> y_rk0{"y_rk0"};    // (particle) Runge-Kutta start latitudes, deg
  farray<double, 1> u_blend{"u_blend"};            // (U node) eastward current blended in time, m/s
  farray<double, 1> v_blend{"v_blend"};            // (V node) northward current blended in time, m/s
  farray<double, 1> windx_blend{"windx_blend"};    // (wind node) eastward wind blended in time, m/s
  farray<double, 1> windy_blend{"windy_blend"};    // (wind node) northward wind blended in time, m/s
  farray<double, 1> hwavex_blend{"hwavex_blend"};  // (wave node) Hs * sin(direction) blended in time, m
  farray<double, 1> hwavey_blend{"hwavey_blend"};  // (wave node) Hs * cos(direction) blended in time, m
  farray<double, 1> twave_blend{"twave_blend"};    // (wave node) wave period blended in time, s

 protected:
  // Hooks.  Set-up, chain, the engine's own arrays, grid statistics, series
  // records and property files belong to every engine (the oil engines take
  // theirs from oil_frame); the others have defaults that suit every
  // two-dimensional engine.

  // First simulation, after the frame's allocations: the engine's own shared
  // arrays.
  virtual void allocate_engine_arrays() = 0;
  // Every simulation, after the first simulation's allocations and before the
  // counters are reset.
  virtual void start_simulation() {}
  // Placement, initial areas, masses and properties (after current record 1).
  virtual void set_up() = 0;
  // Whether the spill moves in the sub-step of step time t (default: its start
  // time lies strictly before t).
  virtual bool spill_active(int32_t spill, float t);
  // Currents at the particles in each pass (default: the surface current at
  // x_pass, y_pass when it comes from files).
  virtual void pass_currents(int32_t spill);
  // Velocities in each pass, after the state update (default: vel_adv_2d).
  virtual void pass_velocities(int32_t spill);
  // Transport and weathering of an active spill after its passes.
  virtual void spill_chain(int32_t spill, float t) = 0;
  // An engine whose chain is the frame's 2-D move between a part before it
  // and a part after it (the two-dimensional oil and floating-object
  // engine) may have its spills moved together: plan_move makes the first
  // part of the chain of the spill in the sub-step of step time t and tells
  // how it moves, finish_move the rest after the move.  The finish of one
  // spill may run on any thread beside those of others: it reads and writes
  // the values of its own spill only, and leaves the values that all the
  // spills share alone while among_units() (common/parallel.hpp).
  virtual bool moves_in_phases() const { return false; }
  // Whether the finishes of the spills moved together may share the threads
  // (else they run one after the other, each seeing the state counts of its
  // own pass).
  virtual bool finishes_apart() const { return true; }
  virtual spill_move plan_move(int32_t /*spill*/, float /*t*/) { return {}; }
  virtual void finish_move(int32_t /*spill*/, const spill_move& /*move*/) {}
  // Once per sub-step of step time t, before any spill's passes: what the
  // spills of the sub-step share (default: nothing).
  virtual void before_spill_passes(float /*t*/) {}
  // Statistics of the concentration outputs: presence (default:
  // probabilidad) and the grid of mass per area.  The grid files carry the
  // instant of step `stamp`: 0 for the time-0 output, else the step counter.
  virtual void presence_statistics(int32_t spill);
  virtual void grid_statistics(int32_t spill, int32_t stamp) = 0;
  // Series record 1 at time 0 and record r after a sub-step.
  virtual void series_first_record(int32_t spill) = 0;
  virtual void series_record(int32_t spill, int32_t r) = 0;
  // Whether the simulation writes property files (by the engine's kind of
  // release and its weathering).
  virtual bool property_files_written() = 0;
  // Records the series arrays hold: the last series_window records made
  // (the whole series when it is shorter), the property rows being written
  // as the records are made.
  int32_t series_records() const;

  // Pieces of the hooks for the engines that override them.
  // True in an operational run with weathering on: the weathering rows of
  // the series are recorded.
  static bool weathering_recorded();
  // True once the floating mass of the spill is gone (evaporated, dissolved,
  // dispersed, beached) after its fate sequence ran: the series then records
  // no slick area or thickness (the reference area of the spreading is kept).
  bool slick_gone(int32_t spill);
  // True when every particle of the spill is beached, on the floor or lost
  // outside: nothing of it can float again, as for a spill released wholly
  // on land.
  static bool nothing_can_float(int32_t spill);
  // per_evpc, aguac, densc, viscc, masaevpc of record r from the current values.
  static void record_properties(int32_t spill, int32_t r);
  // The compartment rows of record r from the current masses (true) or from
  // the initial ones (false); the emulsion products take the initial surface
  // and beached masses in the second case.
  static void record_compartments(int32_t spill, int32_t r, bool current);
  // The regular current grids of the pass: derived from the U and V node
  // lists the first time in a simulation (node-list files only).
  void locate_current_grid();
  // The move of a two-dimensional spill after its passes, as `move` asks,
  // shared by the 2-D engines.  The spreading move: the spreading
  // diffusivity from coef_r when `diffusivity`, then the spreading position
  // update; the transport move: the diffusivity, the carry of the floor
  // particles when `carry`, then the position update.  Each update goes to
  // the nearest coast point, or with the coast polygons
  // (searchcoastalgorithm__lr_hr 2) searches the crossings and resolves the
  // move against `polygons`.
  void move_2d(int32_t spill, const spill_move& move, const farray<coast_polygon>& polygons);
  // The chain of an engine that moves in phases, for one spill in the
  // sub-step of step time t: plan_move, its move, finish_move.
  void chain_in_phases(int32_t spill, float t, const farray<coast_polygon>& polygons);
  // Whole-array and column views for the calls.
  static std::span<double> all(farray<double, 1>& a);
  static std::span<double> column(farray<double, 2>& a, int32_t j);

  engine_calls& calls;
  std::string clave;
  std::span<const coast_polygon> coord_str;

 private:
  void simulation();
  void forcing_lists();
  void allocate_run_arrays();
  void reset_counters();
  void time_zero();
  // The property rows of record r once every spill has recorded it, then the
  // window of the series moved on when it is full.
  void series_made(int32_t r);
  // The window of the series from record `first` on.
  static void place_series(int32_t first);
  // End of a simulation: the property files.
  void property_files();
  void first_wave_and_wind_records();
  void advance_current_record();
  void substeps();
  // One forcing read record by record (waves or wind): its list position,
  // end-of-list flag and sub-steps since its record began, its list, and
  // the reads and record-end copy of its kind.
  struct record_advance {
    int32_t& index;
    int32_t& flag;
    int32_t& since;
    int32_t records;     // records in the list
    float interval;      // s between records
    bool from_files;     // node fields from files (else a uniform series)
    bool blended;        // blended in time between consecutive records
    void (engine_calls::*read_record)(int32_t);   // node field of record i
    void (engine_calls::*series_value)(int32_t);  // series value i at the particles
    void (engine_calls::*series_blend)(int32_t);  // series value i as the end of a blend interval
  };
  // keep_end() makes the end-of-interval values the start of the next.
  template <typename KeepEnd>
  void advance_record(const record_advance& r, float th, KeepEnd keep_end);
  void advance_waves(float th);
  void advance_wind(float th);
  void blend_currents();
  void blend_wind();
  void blend_waves();
  void spill_pass(int32_t spill, float t);
  // The passes and chains of every spill in the sub-step of step time t:
  // the active spills together where they may move together and would
  // share more threads so than each spill's own loops take, otherwise one
  // spill after the other.
  void spill_passes(float t);
  // Whether this simulation may move its spills together: an engine that
  // moves in phases, two dimensions, the nearest-coast-point algorithm at
  // sea over a fixed grid, and forcing that is the same at every particle.
  bool spills_may_move_together() const;
  // The passes and chains of the active spills together_spills_.
  void spills_together(float t);
  void pass_wind();
  void pass_waves();
  void outputs(float t);
  void write_outputs(float t);
  void record_end_copies();
  void count_started(float t);

  float current_weight_ = 0.0f;  // blend weight of the currents in this sub-step
  bool together_ = false;        // the simulation moves its active spills together
  std::vector<int32_t> together_spills_;        // the active spills of the sub-step
  std::vector<state_counts> together_counts_;   // their counts by state
  std::vector<spill_move> together_moves_;      // how each moves
  bool blend_moved_ = false;     // rungek has re-blended u_blend, v_blend since the sub-step's blend
};

}  // namespace orvel
