#include "engines/frame.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "common/result_file.hpp"
#include "common/run_stops.hpp"
#include "control/state/all.hpp"
#include "engines/engine_settings.hpp"
#include "forcing/series.hpp"
#include "transport/states.hpp"
#include "control/run_rules.hpp"

namespace orvel {

std::array<farray<double, 2>*, 15> engine_series() {
  auto& m = var4;
  return {&var_part.xxc, &var_part.yyc, &m.per_evpc, &m.aguac, &m.densc, &m.viscc, &m.masaevpc,
          &m.mass_surf_c, &m.mass_beachedc, &m.mass_columnc, &m.mass_floorc, &m.mass_disp_cumul_c,
          &m.massprodemuls_surf_c, &m.massprodemuls_beach_c, &m.mass_radarc};
}

std::array<farray<double, 2>*, 4> chemical_series() {
  auto& m = var4;
  return {&m.mass_diss_cumul_c, &m.mass_vol_cumul_c, &m.mass_sed_cumul_c, &m.mass_degr_cumul_c};
}

namespace {

bool together_allowed = true;

template <typename T, int R>
void release(farray<T, R>& a) {
  if (a.allocated()) a.deallocate();
}

// to[0 .. n - 1] = from[0 .. n - 1], by blocks on the threads.
void copy_particles(const double* from, int32_t n, double* to) {
  parallel_blocks(n, [from, to](int64_t, int64_t first, int64_t last) { std::copy(from + first, from + last, to + first); });
}

}  // namespace

void allow_spills_together(bool allowed) { together_allowed = allowed; }

engine_frame::engine_frame(engine_calls& calls, const std::string& clave, std::span<const coast_polygon> coord_str)
    : calls(calls), clave(clave), coord_str(coord_str) {}

float engine_frame::step_time() const { return static_cast<float>(step) * var_run.deltat; }

std::span<double> engine_frame::all(farray<double, 1>& a) {
  return {a.data(), static_cast<std::size_t>(a.size())};
}

std::span<double> engine_frame::column(farray<double, 2>& a, int32_t j) {
  return {a.ptr(1, j), static_cast<std::size_t>(a.size(1))};
}

void engine_frame::run() {
  for (sim = 1; sim <= var_run.simnumber__1_n; ++sim) simulation();
  // The state counts of beached and floor particles belong to the whole run.
  release(var_part.par_beached);
  release(var_part.par_floor);
}

void engine_frame::simulation() {
  forcing_lists();
  // Record counts; the series length is the number of sub-steps the record
  // loop makes, so a record is never written past the end of the series.
  var1.n_lista = current_record_count(var_cfg.simulationtimehorizon, var_cfg.deltat_currents);
  nsteps = static_cast<int32_t>(int64_t{var1.n_lista} * substeps_per_record(var_cfg.deltat_currents, var_run.deltat) +
                                1);
  together_ = spills_may_move_together();
  if (sim == 1) {
    allocate_run_arrays();
    var_mallas.factor = 111317.359375;
  }
  start_simulation();
  reset_counters();
  if (var_run.temporalinterpcurr__y_n == 1) {
    calls.lee_forcings_interp(1);
  } else {
    calls.lee_forcings(1);
  }
  set_up();
  try {
    time_zero();
    first_wave_and_wind_records();
    for (var1.i_lista = 1; var1.i_lista <= var1.n_lista; ++var1.i_lista) {
      stage = 1;
      advance_current_record();
      substeps();
      record_end_copies();
    }
    property_files();
  } catch (...) {
    end_rows_and_rethrow([this](bool keep) { return calls.end_property_rows(keep); });
  }
  // The next simulation's placement allocates the states again.
  release(var_part.indp);
}

void engine_frame::forcing_lists() {
  auto& wflag = var_currwindwave.wcurrentsflag;
  if (var_cfg.currenttype__file_constant == 1) {
    calls.lee_listafich(1, sim, wflag);
  } else if (var_cfg.currenttype__file_constant == 2 && var_cfg.windtype__file_constant == 1) {
    var_cfg.deltat_currents = var_cfg.deltat_wind;
  }
  if (var_cfg.wavestype__file_constant == 1) calls.lee_listafich(2, sim, wflag);
  if (var_cfg.windtype__file_constant == 1) calls.lee_listafich(3, sim, wflag);
}

void engine_frame::allocate_run_arrays() {
  const int32_t ns = var_cfg.spills_number;
  const int32_t np = var_run.particle_number;
  ensure(slick_area, ns);
  ensure(spill_tstart, ns);
  ensure(weathered_now, ns);
  ensure(surface_exhausted, ns);
  ensure(afloat_seen, ns);
  // Spills moved together keep the stage positions of each spill apart.
  const int32_t passes = together_ ? np * ns : np;
  ensure(x_pass, passes);
  ensure(y_pass, passes);
  ensure(z_pass, np);
  ensure(x_rk0, np);
  ensure(y_rk0, np);
  ensure(u_blend, var_cfg.xyzcurrentnodes_number[0]);
  ensure(v_blend, var_cfg.xyzcurrentnodes_number[1]);
  ensure(windx_blend, var_cfg.xyzwindnodes_number);
  ensure(windy_blend, var_cfg.xyzwindnodes_number);
  ensure(hwavex_blend, var_cfg.xyzwavesnodes_number);
  ensure(hwavey_blend, var_cfg.xyzwavesnodes_number);
  ensure(twave_blend, var_cfg.xyzwavesnodes_number);

  ensure(var_cfg.thick, ns);
  auto& m = var4;
  for (auto* a : {&m.masaevp, &m.mass_surf, &m.mass_beached, &m.mass_column, &m.mass_floor, &m.mass_radar,
                  &m.mass_surf_ini, &m.mass_beached_ini, &m.mass_column_ini, &m.mass_floor_ini,
                  &m.mass_radar_ini, &m.mass_disp_cumul, &m.massdisp, &m.mass_waterinemulsion,
                  &m.mass_emulsion_surf_beach, &m.massprodemuls_surf, &m.massprodemuls_beach}) {
    ensure(*a, ns);
  }
  ensure(m.aguatot, ns);
  for (auto* a : engine_series()) ensure(*a, ns, series_records());
  if (var_run.numericalmethod__euler_rungekut == 2) {
    auto& r = var_rk;
    for (auto* a : {&r.fx1, &r.fx2, &r.fx3, &r.fx4, &r.fy1, &r.fy2, &r.fy3, &r.fy4}) {
      ensure(*a, np, ns);
    }
  }
  allocate_engine_arrays();
}

void engine_frame::reset_counters() {
  var1.i_ola_flag = 0;
  var1.i_viento_flag = 0;
  kw = 0;
  kwind = 0;
  current_grid_located = false;
  waves_grid_located = false;
  wind_grid_located = false;
  var1.i_vel = 1;
  var1.i_ola = 1;
  var1.i_viento = 1;
  var1.c_esc = 1;
  var1.c_escc = 1;
  var1.c_escd = 1;
  step = 1;
  stage = 1;
  blend_moved_ = false;
  weathered_now.fill(0);
  surface_exhausted.fill(0);
  afloat_seen.fill(0);
}

void engine_frame::count_started(float t) {
  const double td = t;
  int32_t n = 0;
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
    if (var_cfg.spillstarttime(s) <= td) ++n;
  }
  var_mallas.cont_p = n;
}

void engine_frame::time_zero() {
  const std::lock_guard<std::mutex> whole(output_guard());  // see substeps
  var_mallas.cont_p = 0;
  const bool at_zero = var_run.firstoutput_time == 0.0f;
  commit_journal journal;  // the files of time 0 together or not at all
  try {
    if (at_zero && var_run.outputparts__y_n == 1) calls.esc_particulas(clave, 0, sim);
    // The spills that start within the first step count as started.
    count_started(static_cast<float>(1) * var_run.deltat);
    if (at_zero && var_run.outputconcs__y_n == 1) {
      for (int32_t s = 1; s <= var_cfg.spills_number; ++s) presence_statistics(s);
      for (int32_t s = 1; s <= var_cfg.spills_number; ++s) grid_statistics(s, 0);
    }
  } catch (...) {
    journal.undo();
    throw;
  }
  place_series(1);
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) series_first_record(s);
  series_made(1);
}

int32_t engine_frame::series_records() const { return std::min(nsteps, series_window); }

void engine_frame::place_series(int32_t first) {
  for (auto* a : engine_series()) {
    if (a->allocated()) a->rebase(2, first);
  }
  for (auto* a : chemical_series()) {
    if (a->allocated()) a->rebase(2, first);
  }
  auto& sp = var_spill;
  for (auto* a : {&sp.areaoila, &sp.thickoilt, &sp.areahnsa, &sp.thickhnst}) {
    if (a->allocated()) a->rebase(2, first);
  }
}

void engine_frame::series_made(int32_t r) {
  if (property_files_written()) calls.property_rows(clave, r);
  // Every record up to r has its rows: the window starts again at r + 1.
  if (var_part.xxc.allocated() && r == var_part.xxc.ubound(2) && r < nsteps) place_series(r + 1);
}

void engine_frame::property_files() {
  if (property_files_written()) calls.esc_propiedades_fuel(clave, step, nsteps);
}

void engine_frame::first_wave_and_wind_records() {
  if (var_run.temporalinterpwaves__y_n == 1) {
    calls.lee_forcings_interp(2);
  } else {
    calls.lee_forcings(2);
  }
  if (var_run.temporalinterpwind__y_n == 1) {
    calls.lee_forcings_interp(3);
  } else {
    calls.lee_forcings(3);
  }
}

void engine_frame::advance_current_record() {
  const int32_t n = var_cfg.currentfilesorlines_number;
  const bool files = var_cfg.currenttype__file_constant == 1;
  auto& i_vel = var1.i_vel;
  switch (var_run.temporalinterpcurr__y_n) {
    case 1:
      // The next record becomes the end of the interval; the last one stays.
      i_vel = std::min(i_vel + 1, n);
      if (files) {
        calls.lee_velocidad(i_vel);
      } else {
        calls.vel_partinterp(i_vel);
      }
      break;
    case 0:
      if (var1.i_lista == 1) {
        ++i_vel;  // record 1 was read at the start of the simulation
      } else {
        i_vel = std::min(var1.i_lista, n);
        if (files) {
          calls.lee_velocidad(i_vel);
        } else {
          calls.vel_part(i_vel);
        }
      }
      break;
    default:
      // The currents of record 1 stay in use for the whole run.
      ++i_vel;
      break;
  }
}

void engine_frame::substeps() {
  const float dt = var_run.deltat;
  k = 0;
  while (var_cfg.deltat_currents > static_cast<float>(k) * dt) {
    const float t = step_time();
    const float th = t / 3600.0f;
    advance_waves(th);
    advance_wind(th);
    blend_currents();
    blend_wind();
    blend_waves();
    before_spill_passes(t);
    spill_passes(t);
    {
      // The files and the property rows of the step are written whole
      // before a stop that does not wait for the end of the step.
      const std::lock_guard<std::mutex> whole(output_guard());
      outputs(t);
      ++kwind;
      ++k;
      ++kw;
      ++step;
      for (int32_t s = 1; s <= var_cfg.spills_number; ++s) series_record(s, step);
      series_made(step);
    }
    stop_if_asked(static_cast<double>(t) / 3600.0);
  }
}

template <typename KeepEnd>
void engine_frame::advance_record(const record_advance& r, float th, KeepEnd keep_end) {
  int32_t& i = r.index;
  int32_t& flag = r.flag;
  const float d = r.interval;
  if (!r.blended) {
    // Record i holds for the step times in ((i - 1) * D, i * D].
    if (th > (d * static_cast<float>(i)) / 3600.0f) {
      if (i != r.records) ++i;
      (calls.*(r.from_files ? r.read_record : r.series_value))(i);
    }
    return;
  }
  if (th > (static_cast<float>(i - 1) * d) / 3600.0f && flag == 0) {
    // The time has passed the record held as end of interval: it becomes the
    // start of the next interval.
    if (d <= static_cast<float>(r.since) * var_run.deltat) keep_end();
    if (i == r.records) {
      flag = 1;
    } else {
      ++i;
    }
    r.since = 0;
    (calls.*(r.from_files ? r.read_record : r.series_blend))(i);
  } else if (th > (static_cast<float>(i + flag - 1) * d) / 3600.0f) {
    // Past the end of the list: a new interval begins without a record.
    r.since = 0;
    ++flag;
  }
}

void engine_frame::advance_waves(float th) {
  auto& cw = var_currwindwave;
  const int32_t type = var_cfg.wavestype__file_constant;
  const record_advance r{var1.i_ola,
                         var1.i_ola_flag,
                         kw,
                         var_cfg.wavesfilesorlines_number,
                         var_cfg.deltat_waves,
                         type == 1,
                         var_run.temporalinterpwaves__y_n == 1,
                         &engine_calls::lee_ola,
                         &engine_calls::ola_part,
                         &engine_calls::ola_partinterp};
  advance_record(r, th, [&cw, type] {
    if (type == 1) {
      for (int32_t i = 1; i <= var_cfg.xyzwavesnodes_number; ++i) {
        cw.hwavex0(i) = cw.hwavex(i);
        cw.hwavey0(i) = cw.hwavey(i);
        cw.twave0(i) = cw.twave(i);
      }
    } else if (type == 2) {
      keep_end_values(cw.hintx0, cw.hintx_t1);
      keep_end_values(cw.hinty0, cw.hinty_t1);
      keep_end_values(cw.tint0, cw.tint_t1);
    }
  });
}

void engine_frame::advance_wind(float th) {
  auto& cw = var_currwindwave;
  const int32_t type = var_cfg.windtype__file_constant;
  const record_advance r{var1.i_viento,
                         var1.i_viento_flag,
                         kwind,
                         var_cfg.windfilesorlines_number,
                         var_cfg.deltat_wind,
                         type == 1,
                         var_run.temporalinterpwind__y_n == 1,
                         &engine_calls::lee_viento,
                         &engine_calls::viento_part,
                         &engine_calls::viento_partinterp};
  advance_record(r, th, [&cw, type] {
    if (type == 1) {
      for (int32_t i = 1; i <= var_cfg.xyzwindnodes_number; ++i) {
        cw.windx0(i) = cw.windx(i);
        cw.windy0(i) = cw.windy(i);
      }
    } else if (type == 2) {
      keep_end_values(cw.wintx0, cw.wintx_t1);
      keep_end_values(cw.winty0, cw.winty_t1);
    }
  });
}

float engine_frame::pass_current_weight() const { return stage == 1 ? current_weight_ : var_rk.k_vtmed; }

void engine_frame::blend_currents() {
  if (var_run.temporalinterpcurr__y_n != 1) return;
  current_weight_ = (static_cast<float>(k) * var_run.deltat) / var_cfg.deltat_currents;
  if (var_cfg.currenttype__file_constant == 1) {
    calls.interp_corr(current_weight_, all(u_blend), all(v_blend));
  } else {
    calls.interp_vel_part(current_weight_);
  }
  blend_moved_ = false;
}

void engine_frame::blend_wind() {
  if (var_run.temporalinterpwind__y_n != 1) return;
  const float elapsed = static_cast<float>(kwind) * var_run.deltat;
  const float f = elapsed / var_cfg.deltat_wind;
  if (!(var_cfg.deltat_wind > elapsed)) return;  // the last blend stays
  if (var_cfg.windtype__file_constant == 1) {
    calls.interp_viento(f, all(windx_blend), all(windy_blend));
  } else {
    calls.interp_viento_part(f);
  }
}

void engine_frame::blend_waves() {
  if (var_run.temporalinterpwaves__y_n != 1) return;
  const float elapsed = static_cast<float>(kw) * var_run.deltat;
  const float f = elapsed / var_cfg.deltat_waves;
  if (!(var_cfg.deltat_waves > elapsed)) return;
  if (var_cfg.wavestype__file_constant == 1) {
    calls.interp_ola(f, all(hwavex_blend), all(hwavey_blend), all(twave_blend));
  } else {
    calls.interp_ola_part(f);
  }
}

bool engine_frame::spill_active(int32_t spill, float t) {
  return var_cfg.spillstarttime(spill) < static_cast<double>(t);
}

void engine_frame::spill_pass(int32_t spill, float t) {
  const int32_t np = var_run.particle_number;
  auto& vp = var_part;
  const bool runge_kutta = var_run.numericalmethod__euler_rungekut == 2;
  // The pass positions are read by the interpolation of forcing from files
  // and by the Runge-Kutta stages; an Euler step whose forcing is all
  // uniform series reads none of them, and is spared two copies of the
  // spill's positions (two of a step's largest streams through memory).
  const bool positions_read = runge_kutta || var_cfg.windtype__file_constant == 1 ||
                              var_cfg.wavestype__file_constant == 1 || var_cfg.currenttype__file_constant == 1;
  if (positions_read) {
    copy_particles(vp.x_part.ptr(1, spill), np, x_pass.data());
    copy_particles(vp.y_part.ptr(1, spill), np, y_pass.data());
  }
  if (vp.z_part.allocated()) copy_particles(vp.z_part.ptr(1, spill), np, z_pass.data());
  if (!spill_active(spill, t)) return;

  for (;;) {
    if (runge_kutta && stage == 1 && blend_moved_ && var_run.temporalinterpcurr__y_n == 1 &&
        var_cfg.currenttype__file_constant == 1) {
      // An earlier spill's stages left the blends of their stage times in
      // u_blend, v_blend: every spill starts from the sub-step's blend.
      calls.interp_corr(current_weight_, all(u_blend), all(v_blend));
      blend_moved_ = false;
    }
    pass_wind();
    pass_waves();
    pass_currents(spill);
    if (stage == 1) {
      // The states follow the particle positions of the step, which the
      // Runge-Kutta stages leave alone: later stages would find them again.
      calls.update_indp(spill, step);
      calls.update_par(spill, step);
    }
    pass_velocities(spill);
    if (!runge_kutta) break;
    if (stage == 1) {
      copy_particles(x_pass.data(), np, x_rk0.data());
      copy_particles(y_pass.data(), np, y_rk0.data());
    }
    calls.rungek(spill, stage, k, all(x_rk0), all(y_rk0), all(x_pass), all(y_pass), all(u_blend), all(v_blend));
    blend_moved_ = true;
    if (stage <= 3) {
      ++stage;  // the next pass interpolates at the stage positions
    } else {
      stage = 1;
      break;
    }
  }
  spill_chain(spill, t);
}

bool engine_frame::spills_may_move_together() const {
  const auto& c = var_cfg;
  const auto& r = var_run;
  return together_allowed && calls.moves_spills_together() && moves_in_phases() && c.spills_number >= 2 &&
         r.sim__2d_3d == 1 && r.searchcoastalgorithm__lr_hr != 2 && r.simenvironment__sea_river == 1 &&
         c.currenttype__file_constant != 1 && c.windtype__file_constant != 1 && c.wavestype__file_constant != 1 &&
         c.currentgrid_variable__y_n == 0 && !box_follows_current_grid() && var_part.x_part.allocated() &&
         var_part.x_part.size(1) == r.particle_number;
}

void engine_frame::spill_passes(float t) {
  const int32_t ns = var_cfg.spills_number;
  if (together_) {
    together_spills_.clear();
    for (int32_t s = 1; s <= ns; ++s) {
      if (spill_active(s, t)) together_spills_.push_back(s);
    }
    // Together when the spills share more threads than one spill's loops
    // take (many small pulses; not a few large spills).
    const auto n = static_cast<int64_t>(together_spills_.size());
    const int32_t np = var_run.particle_number;
    if (n >= 2 && unit_threads(n, np) > loop_threads(np)) {
      spills_together(t);
      return;
    }
  }
  for (int32_t s = 1; s <= ns; ++s) spill_pass(s, t);
}

void engine_frame::spills_together(float t) {
  const std::span<const int32_t> spills(together_spills_);
  const std::size_t n = spills.size();
  together_counts_.resize(n);
  together_moves_.resize(n);
  const bool runge_kutta = var_run.numericalmethod__euler_rungekut == 2;
  // The forcing is the same at every particle: no pass reads the pass
  // positions but the Runge-Kutta stages, which start from the spills'
  // positions, kept apart spill by spill in x_part, y_part.
  for (;;) {
    if (stage == 1) calls.update_states_together(spills, step, together_counts_);
    calls.vel_adv_2d_together(spills, step);
    if (!runge_kutta) break;
    calls.rungek_together(spills, stage, k, var_part.x_part.data(), var_part.y_part.data(), x_pass.data(),
                          y_pass.data());
    blend_moved_ = true;
    if (stage <= 3) {
      ++stage;
    } else {
      stage = 1;
      break;
    }
  }
  // Each spill's chain sees the state counts of its own pass, as when the
  // spills move one after the other.
  auto in_turn = [&](auto part_of_chain) {
    int32_t shown = 0;
    for (std::size_t i = 0; i < n; ++i) {
      show_state_counts(spills[i], together_counts_[i], shown);
      shown = spills[i];
      part_of_chain(i);
    }
  };
  in_turn([&](std::size_t i) { together_moves_[i] = plan_move(spills[i], t); });
  calls.moves_2d_together(spills, step, together_moves_);
  if (!finishes_apart()) {
    in_turn([&](std::size_t i) { finish_move(spills[i], together_moves_[i]); });
    return;
  }
  // The rest of each chain touches its own spill only: the spills share the
  // threads, the last on its own after the others, so that what the chains
  // leave in values shared by all is the last spill's.  No chain reads the
  // state counts: they are left as the last spill's pass leaves them.
  show_state_counts(spills[n - 1], together_counts_[n - 1], 0);
  parallel_units(static_cast<int64_t>(n - 1), var_run.particle_number, [&](int64_t i) {
    const auto u = static_cast<std::size_t>(i);
    finish_move(spills[u], together_moves_[u]);
  });
  finish_move(spills[n - 1], together_moves_[n - 1]);
}

void engine_frame::pass_wind() {
  if (var_cfg.windtype__file_constant != 1) return;
  auto& cw = var_currwindwave;
  auto& g = var_mallasforz;
  const int32_t n = var_cfg.xyzwindnodes_number;
  const bool blended = var_run.temporalinterpwind__y_n == 1;
  auto fx = blended ? all(windx_blend) : all(cw.windx);
  auto fy = blended ? all(windy_blend) : all(cw.windy);
  switch (var_mallas.windgrid_regular__y_n) {
    case 1:
      if (!wind_grid_located) {
        if (var_cfg.windgridformat__xyz_grid == 1) {
          calls.mallas_forzamientos(all(cw.xv), all(cw.yv), n, g.gridformatwind_0x, g.gridformatwind_0y,
                                    g.gridformatwind_deltax, g.gridformatwind_deltay, g.gridformatwind_xcells,
                                    g.gridformatwind_ycells);
        }
        wind_grid_located = true;
      }
      calls.interp_lineal_mr(all(cw.xv), all(cw.yv), all(x_pass), all(y_pass), n, fx, all(cw.wintx),
                             g.gridformatwind_0x, g.gridformatwind_0y, g.gridformatwind_deltax,
                             g.gridformatwind_deltay, g.gridformatwind_xcells, g.gridformatwind_ycells);
      calls.interp_lineal_mr(all(cw.xv), all(cw.yv), all(x_pass), all(y_pass), n, fy, all(cw.winty),
                             g.gridformatwind_0x, g.gridformatwind_0y, g.gridformatwind_deltax,
                             g.gridformatwind_deltay, g.gridformatwind_xcells, g.gridformatwind_ycells);
      break;
    case 0:
      calls.interp_lineal(all(cw.xv), all(cw.yv), all(x_pass), all(y_pass), n, fx, all(cw.wintx));
      calls.interp_lineal(all(cw.xv), all(cw.yv), all(x_pass), all(y_pass), n, fy, all(cw.winty));
      break;
    default:
      break;
  }
}

void engine_frame::pass_waves() {
  if (var_cfg.wavestype__file_constant != 1) return;
  auto& cw = var_currwindwave;
  auto& g = var_mallasforz;
  const int32_t n = var_cfg.xyzwavesnodes_number;
  const bool blended = var_run.temporalinterpwaves__y_n == 1;
  std::span<double> fields[] = {blended ? all(hwavex_blend) : all(cw.hwavex),
                                blended ? all(hwavey_blend) : all(cw.hwavey),
                                blended ? all(twave_blend) : all(cw.twave)};
  std::span<double> outs[] = {column(cw.hintx, 1), column(cw.hinty, 1), column(cw.tint, 1)};
  switch (var_mallas.wavesgrid_regular__y_n) {
    case 1:
      if (!waves_grid_located) {
        if (var_cfg.wavesgridformat__xyz_grid == 1) {
          calls.mallas_forzamientos(all(cw.xh), all(cw.yh), n, g.gridformatwaves_0x, g.gridformatwaves_0y,
                                    g.gridformatwaves_deltax, g.gridformatwaves_deltay, g.gridformatwaves_xcells,
                                    g.gridformatwaves_ycells);
        }
        waves_grid_located = true;
      }
      for (int c = 0; c < 3; ++c) {
        calls.interp_lineal_mr(all(cw.xh), all(cw.yh), all(x_pass), all(y_pass), n, fields[c], outs[c],
                               g.gridformatwaves_0x, g.gridformatwaves_0y, g.gridformatwaves_deltax,
                               g.gridformatwaves_deltay, g.gridformatwaves_xcells, g.gridformatwaves_ycells);
      }
      break;
    case 0:
      for (int c = 0; c < 3; ++c) {
        calls.interp_lineal(all(cw.xh), all(cw.yh), all(x_pass), all(y_pass), n, fields[c], outs[c]);
      }
      break;
    default:
      break;
  }
}

void engine_frame::locate_current_grid() {
  if (current_grid_located) return;
  auto& g = var_mallasforz;
  auto& c2 = var2;
  if (var_cfg.currentgridformat__xyz_grid == 1) {
    calls.mallas_forzamientos(all(c2.xcorr_u), all(c2.ycorr_u), var_cfg.xyzcurrentnodes_number[0],
                              g.gridformatcurru_0x, g.gridformatcurru_0y, g.gridformatcurru_deltax,
                              g.gridformatcurru_deltay, g.gridformatcurru_xcells, g.gridformatcurru_ycells);
    if (var_cfg.currentfilesjointuvw__y_n == 1) {
      g.gridformatcurrv_0x = g.gridformatcurru_0x;
      g.gridformatcurrv_0y = g.gridformatcurru_0y;
      g.gridformatcurrv_deltax = g.gridformatcurru_deltax;
      g.gridformatcurrv_deltay = g.gridformatcurru_deltay;
      g.gridformatcurrv_xcells = g.gridformatcurru_xcells;
      g.gridformatcurrv_ycells = g.gridformatcurru_ycells;
    } else {
      calls.mallas_forzamientos(all(c2.xcorr_v), all(c2.ycorr_v), var_cfg.xyzcurrentnodes_number[1],
                                g.gridformatcurrv_0x, g.gridformatcurrv_0y, g.gridformatcurrv_deltax,
                                g.gridformatcurrv_deltay, g.gridformatcurrv_xcells, g.gridformatcurrv_ycells);
    }
  }
  current_grid_located = true;
}

void engine_frame::pass_currents(int32_t) {
  if (var_cfg.currenttype__file_constant != 1) return;
  auto& cw = var_currwindwave;
  auto& c2 = var2;
  auto& g = var_mallasforz;
  const int32_t nu = var_cfg.xyzcurrentnodes_number[0];
  const int32_t nv = var_cfg.xyzcurrentnodes_number[1];
  const bool blended = var_run.temporalinterpcurr__y_n == 1;
  auto fu = blended ? all(u_blend) : column(c2.u_curr_read, 1);
  auto fv = blended ? all(v_blend) : column(c2.v_curr_read, 1);
  switch (var_mallas.currentgrid_regular__y_n) {
    case 1:
      locate_current_grid();
      calls.interp_lineal_mr(all(c2.xcorr_u), all(c2.ycorr_u), all(x_pass), all(y_pass), nu, fu,
                             all(cw.u_curr_int), g.gridformatcurru_0x, g.gridformatcurru_0y,
                             g.gridformatcurru_deltax, g.gridformatcurru_deltay, g.gridformatcurru_xcells,
                             g.gridformatcurru_ycells);
      calls.interp_lineal_mr(all(c2.xcorr_v), all(c2.ycorr_v), all(x_pass), all(y_pass), nv, fv,
                             all(cw.v_curr_int), g.gridformatcurrv_0x, g.gridformatcurrv_0y,
                             g.gridformatcurrv_deltax, g.gridformatcurrv_deltay, g.gridformatcurrv_xcells,
                             g.gridformatcurrv_ycells);
      break;
    case 0:
      calls.interp_lineal(all(c2.xcorr_u), all(c2.ycorr_u), all(x_pass), all(y_pass), nu, fu, all(cw.u_curr_int));
      calls.interp_lineal(all(c2.xcorr_v), all(c2.ycorr_v), all(x_pass), all(y_pass), nv, fv, all(cw.v_curr_int));
      break;
    default:
      break;
  }
}

void engine_frame::pass_velocities(int32_t spill) { calls.vel_adv_2d(spill, step); }

void engine_frame::move_2d(int32_t spill, const spill_move& move, const farray<coast_polygon>& polygons) {
  const bool polygon_search = var_run.searchcoastalgorithm__lr_hr == 2;
  if (move.spreading) {
    auto& c2 = var2;
    if (move.diffusivity) calls.dispersion_2d_spread(spill, c2.coef_r);
    if (polygon_search) {
      calls.busca_parts_inter_spread(spill, step, c2.coef_r, c2.coef_q);
      calls.posicion_2d_local_spread(spill, step, polygons);
    } else {
      calls.posicion_2d_spread(spill, step, c2.coef_r, c2.coef_q);
    }
    return;
  }
  calls.dispersion_2d(spill);
  if (move.carry) calls.carry_with_current_2d(spill);
  if (polygon_search) {
    calls.busca_parts_intersect(spill, step);
    calls.posicion_2d_local(spill, step, polygons);
  } else {
    calls.posicion_2d(spill, step);
  }
}

void engine_frame::chain_in_phases(int32_t spill, float t, const farray<coast_polygon>& polygons) {
  const spill_move move = plan_move(spill, t);
  move_2d(spill, move, polygons);
  finish_move(spill, move);
}

void engine_frame::presence_statistics(int32_t spill) { calls.probabilidad(spill, step); }

void engine_frame::outputs(float t) {
  // The files of one output time appear together or not at all: a result
  // value refused part way takes back those of that time already written.
  commit_journal journal;
  try {
    write_outputs(t);
  } catch (...) {
    journal.undo();
    throw;
  }
}

void engine_frame::write_outputs(float t) {
  const float first = var_run.firstoutput_time;
  const float dtc = var_run.deltatoutput_concs;
  const float dtp = var_run.deltatoutput_parts;
  const bool parts = var_run.outputparts__y_n == 1;
  const bool concs = var_run.outputconcs__y_n == 1;
  const int32_t ns = var_cfg.spills_number;
  auto& v1 = var1;

  if (first != 0.0f && t == first) {
    if (parts) calls.esc_particulas(clave, step, sim);
    if (concs) {
      count_started(t);
      for (int32_t s = 1; s <= ns; ++s) presence_statistics(s);
      count_started(t);
      for (int32_t s = 1; s <= ns; ++s) grid_statistics(s, step);
    }
  }
  const float presence_at = static_cast<float>(v1.c_escd) * dtc + first;
  if (t == presence_at && concs) {
    count_started(t);
    for (int32_t s = 1; s <= ns; ++s) presence_statistics(s);
    ++v1.c_escd;
  }
  const float grids_at = static_cast<float>(v1.c_escc) * dtc + first;
  if (t == grids_at && concs) {
    count_started(t);
    for (int32_t s = 1; s <= ns; ++s) grid_statistics(s, step);
    ++v1.c_escc;
  }
  const float particles_at = static_cast<float>(v1.c_esc) * dtp + first;
  if (t == particles_at) {
    if (parts) calls.esc_particulas(clave, step, sim);
    ++v1.c_esc;  // also when the files are switched off
  }
}

bool engine_frame::weathering_recorded() {
  return var_cfg.degrado == 1 && var_run.simtype__operat_probabil == 1;
}

bool engine_frame::slick_gone(int32_t spill) {
  if (!weathering_recorded() || weathered_now(spill) == 0) return false;
  if (var4.mass_surf(spill) != 0.0) {
    afloat_seen(spill) = 1;
    return false;
  }
  return afloat_seen(spill) != 0 || var4.mass_surf_ini(spill) != 0.0 || nothing_can_float(spill);
}

bool engine_frame::nothing_can_float(int32_t spill) {
  const auto& indp = var_part.indp;
  if (!indp.allocated() || spill < 1 || spill > indp.size(2)) return false;
  const int32_t np = std::min(var_run.particle_number, indp.size(1));
  for (int32_t i = 1; i <= np; ++i) {
    // Over land or in a dry cell a particle may still be put back in the
    // water, and a gas may come down: only these three states are final.
    const int32_t state = indp(i, spill);
    if (state != indp_beached && state != indp_floor && state != indp_radar) return false;
  }
  return np >= 1;
}

void engine_frame::record_properties(int32_t spill, int32_t r) {
  auto& m = var4;
  m.per_evpc(spill, r) = m.per_evp(spill);
  m.aguac(spill, r) = m.agua(spill);
  m.densc(spill, r) = m.dens(spill);
  m.viscc(spill, r) = m.visc(spill);
  m.masaevpc(spill, r) = m.masaevp(spill);
}

void engine_frame::record_compartments(int32_t spill, int32_t r, bool current) {
  auto& m = var4;
  if (current) {
    m.mass_surf_c(spill, r) = m.mass_surf(spill);
    m.mass_beachedc(spill, r) = m.mass_beached(spill);
    m.mass_columnc(spill, r) = m.mass_column(spill);
    m.mass_floorc(spill, r) = m.mass_floor(spill);
    m.massprodemuls_surf_c(spill, r) = m.massprodemuls_surf(spill);
    m.massprodemuls_beach_c(spill, r) = m.massprodemuls_beach(spill);
    m.mass_radarc(spill, r) = m.mass_radar(spill);
  } else {
    m.mass_surf_c(spill, r) = m.mass_surf_ini(spill);
    m.mass_beachedc(spill, r) = m.mass_beached_ini(spill);
    m.mass_columnc(spill, r) = m.mass_column_ini(spill);
    m.mass_floorc(spill, r) = m.mass_floor_ini(spill);
    m.massprodemuls_surf_c(spill, r) = m.mass_surf_ini(spill);
    m.massprodemuls_beach_c(spill, r) = m.mass_beached_ini(spill);
    m.mass_radarc(spill, r) = m.mass_radar_ini(spill);
  }
}

void engine_frame::record_end_copies() {
  if (var_run.temporalinterpcurr__y_n != 1) return;
  auto& c2 = var2;
  auto& cw = var_currwindwave;
  if (var_cfg.currenttype__file_constant == 1) {
    // Every layer (and the vertical current) starts the next interval at the
    // record that ended this one.
    const auto& n = var_cfg.xyzcurrentnodes_number;
    auto keep = [](farray<double, 2>& start, const farray<double, 2>& end, int32_t nodes) {
      const int32_t layers = start.allocated() && end.allocated() ? std::min(start.size(2), end.size(2)) : 0;
      for (int32_t l = 1; l <= layers; ++l) {
        for (int32_t i = 1; i <= nodes; ++i) start(i, l) = end(i, l);
      }
    };
    keep(c2.u0, c2.u_curr_read, n[0]);
    keep(c2.v0, c2.v_curr_read, n[1]);
    if (cw.wcurrentsflag != 0) keep(c2.w0, c2.w_curr_read, n[2]);
    if (var_cfg.currentgrid_variable__y_n == 1) {
      // The end-of-interval mask and land flags become those of the start of
      // the next interval, so that the radar rule compares consecutive
      // records.  Copied over the extents both arrays have.
      if (c2.mask.allocated() && c2.mask0.allocated()) {
        const int32_t nx = std::min({var_mallasforz.gridformatcurru_xcells, c2.mask.size(1), c2.mask0.size(1)});
        const int32_t ny = std::min({var_mallasforz.gridformatcurru_ycells, c2.mask.size(2), c2.mask0.size(2)});
        for (int32_t j = 1; j <= ny; ++j) {
          for (int32_t i = 1; i <= nx; ++i) c2.mask0(i, j) = c2.mask(i, j);
        }
      }
      if (c2.indland.allocated() && c2.indland0.allocated()) {
        const int32_t n = std::min({var_cfg.xyzcurrentnodes_number[0], c2.indland.size(1), c2.indland0.size(1)});
        for (int32_t i = 1; i <= n; ++i) c2.indland0(i) = c2.indland(i);
      }
    }
  } else if (var_cfg.currenttype__file_constant == 2) {
    keep_end_values(cw.vuint0, cw.vuint_t1);
    keep_end_values(cw.vvint0, cw.vvint_t1);
  }
}

}  // namespace orvel
