#include "engines/fuel2d.hpp"

#include <cmath>
#include <cstdint>
#include <span>

#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "engines/engines.hpp"
#include "fate/initial_slick.hpp"

namespace orvel {

fuel2d_engine::fuel2d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str)
    : oil_frame(calls, clave,
                   std::span<const coast_polygon>(coord_str.data(), static_cast<std::size_t>(coord_str.size()))),
      polygons_(coord_str) {}

void fuel2d_engine::allocate_engine_arrays() {
  oil_frame::allocate_engine_arrays();
  const int32_t np = var_run.particle_number;
  for (auto* a : {&vertex_, &iwk_}) {
    if (a->allocated()) a->deallocate();
    a->allocate(np);
  }
  for (auto* a : {&x_hull_, &y_hull_}) {
    if (a->allocated()) a->deallocate();
    a->allocate(np);
  }
  ensure(step_area_, var_cfg.spills_number);
}

void fuel2d_engine::set_up() {
  auto& c = var_cfg;
  const int32_t ns = c.spills_number;
  const bool floating = c.obj__floating_fuel == 1;
  const bool oil = c.obj__floating_fuel == 2;
  const bool spreading_set_up = c.spreading__y_n == 1 && oil;

  if (floating && var_run.particle_inipositions__y_n == 1) {
    calls.lee_particle_positions(sim);
  } else if (spreading_set_up) {
    for (int32_t s = 1; s <= ns; ++s) {
      calls.initialarea(s, spill_tstart, sim);
      c.thick(s) = slick_thickness(c.vol0(s), var_spill.area_oil(s));
      // Every slick floats over its initial area from its start, whether it
      // then spreads or not: evaporation and dispersion act on it.
      slick_area(s) = static_cast<double>(var_spill.area_oil(s));
    }
    calls.part_ini_2d_circle(sim);
  } else {
    calls.part_ini_2d(sim);
  }
  if (!spreading_set_up) {
    for (int32_t s = 1; s <= ns; ++s) hull_area(s);
    // No initial slick: no thickness, so the spreading test never holds,
    // and the start time is the spill's own (seconds since the placement).
    for (int32_t s = 1; s <= ns; ++s) {
      c.thick(s) = 0.0;
      spill_tstart(s) = c.spillstarttime(s);
    }
  }

  if (c.degrado == 1 && var_run.simtype__operat_probabil == 1 && oil) calls.part_pro();
  var4.aguatot.fill(0.0f);
  if (c.degrado == 1 && oil) zero_weathering_masses();
}

void fuel2d_engine::hull_area(int32_t s) {
  const int32_t np = var_run.particle_number;
  auto& p = var_part;
  const auto n = static_cast<std::size_t>(np > 0 ? np : 0);
  int32_t nvert = 0;
  calls.envelope(std::span<const double>(p.x_part.ptr(1, s), n), std::span<const double>(p.y_part.ptr(1, s), n), np,
                 std::span<int32_t>(vertex_.data(), n), nvert, std::span<int32_t>(iwk_.data(), n));
  for (int32_t v = 1; v <= nvert; ++v) {
    x_hull_(v) = p.x_part(vertex_(v), s);
    y_hull_(v) = p.y_part(vertex_(v), s);
  }
  float a = 0.0f;
  const auto nv = static_cast<std::size_t>(nvert);
  calls.polyarea(std::span<const double>(x_hull_.data(), nv), std::span<const double>(y_hull_.data(), nv), nvert, a);
  // Square degrees to square metres at the grid's mean latitude.
  const double f = var_mallas.factor;
  var_spill.area_oil(s) =
      static_cast<float>(((cos_latmean() * a) * f) * f);
}

bool fuel2d_engine::spreads(int32_t s, float t) const {
  const auto& c = var_cfg;
  if (c.spreading__y_n != 1) return false;
  // The stop hour counts from the spill's own start (each pulse's, for a
  // continuous release), not from the start of the run.
  const float age_h = static_cast<float>(static_cast<double>(t) - spill_tstart(s)) / 3600.0f;
  return spill_tstart(s) <= static_cast<double>(t) && c.thick(s) > c.minspillthickness(s) &&
         var_part.par_beached(s) == 0 && var_part.par_pause(s) == 0 && static_cast<float>(c.stoptimespreading) > age_h;
}

spill_move fuel2d_engine::plan_move(int32_t s, float t) {
  auto& c2 = var2;
  weathering_time(s, t);
  if (spreads(s, t)) {
    const double start_area = slick_area(s);
    calls.spreading(s, step, slick_area, c2.coef_r, c2.coef_q);
    // Evaporation and dispersion act over the step on the mean of the
    // slick's areas at its start and end (the trapezoidal rule over the
    // step), so that a long step does not weather its whole length at the
    // area the slick reaches only at its end.
    step_area_(s) = 0.5 * (start_area + slick_area(s));
    return {true, var_cfg.spreadalgorithm__adios2_leher_hns == 1, c2.coef_r, c2.coef_q};
  }
  step_area_(s) = slick_area(s);
  return {};
}

void fuel2d_engine::finish_move(int32_t s, const spill_move& move) { weathering(s, move.spreading); }

void fuel2d_engine::spill_chain(int32_t s, float t) { chain_in_phases(s, t, polygons_); }

void fuel2d_engine::weathering(int32_t s, bool spreading_chain) {
  const auto& c = var_cfg;
  if (c.degrado != 1 || var_run.simtype__operat_probabil != 1) return;
  weathered_now(s) = 1;
  if (c.evaporo(s) == 1) {
    if (spreading_chain) {
      calls.evaporacion_spread(s, step_area_);
    } else {
      calls.evaporacion(s, step_area_);
    }
  }
  if (c.verticaldispersion__y_n == 1) {
    if (surface_exhausted(s) == 0) {
      calls.verticaldispersion(s, step_area_);
    } else if (surface_exhausted(s) == 1) {
      var4.massdisp(s) = 0.0;
    }
  }
  // The step's floating mass is summed before the water uptake, which only
  // acts on a slick that floats (the first step's included).
  calls.balance_vertido_tierra(s);
  // A maximum water content that is not a number counts as not 0.
  if (c.emulsiono(s) == 1 && var_spill.maxemulsification(s) != 0.0f) calls.emulsion(s);
  calls.balance_masa(s);
  if (!spreading_chain && var4.mass_surf(s) == 0.0) surface_exhausted(s) = 1;
  // A spill placed wholly on land keeps its initial properties.
  if (c.flag_tierra(s) != 1) {
    if (spreading_chain) {
      calls.evaluo_spread(s, slick_area);
    } else {
      calls.evaluo(s);
    }
  }
}

void fuel2d(const std::string& clave, const farray<coast_polygon>& coord_str) {
  const auto calls = real_engine_calls();
  fuel2d_engine engine(*calls, clave, coord_str);
  engine.run();
}

}  // namespace orvel
