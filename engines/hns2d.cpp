#include "engines/hns2d.hpp"

#include <cstdint>
#include <span>

#include "control/state/all.hpp"
#include "engines/engines.hpp"
#include "fate/initial_slick.hpp"

namespace orvel {

hns2d_engine::hns2d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str)
    : hns_frame(calls, clave,
                std::span<const coast_polygon>(coord_str.data(), static_cast<std::size_t>(coord_str.size()))),
      polygons_(coord_str) {}

void hns2d_engine::set_up() {
  auto& c = var_cfg;
  auto& sp = var_spill;
  const int32_t ns = c.spills_number;
  for (int32_t s = 1; s <= ns; ++s) {
    calls.findhnsbehaviourclass(s, sp.vaporpressure(s), sp.watersolubility(s), sp.density(s), sp.waterdensity(s),
                                sp.hnsbehaviourclass(s));
  }
  for (int32_t s = 1; s <= ns; ++s) {
    calls.initialareahns(s, spill_tstart, sim);
    // The slick spreads down to half a millimetre whatever the scenario
    // says (the single-precision constant, widened).
    c.minspillthickness(s) = static_cast<double>(0.0005f);
    c.thick(s) = slick_thickness(c.vol0(s), sp.area_hns(s));
    slick_area(s) = static_cast<double>(sp.area_hns(s));
  }
  calls.getparthnsinitialstate(sim);
  calls.getparthnsproperties();
  calls.getdegradationprocesses();
  auto& m = var4;
  for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_vol_cumul, &m.mass_sed_cumul,
                  &m.mass_degr_cumul, &m.mass_diss_dt}) {
    a->fill(0.0f);
  }
  m.masaevp.fill(0.0);
  m.mass_disp_cumul.fill(0.0);
}

bool hns2d_engine::spreads(int32_t s, float t) const {
  const auto& c = var_cfg;
  // No stop hour: a slick spreads while it is thicker than its minimum and
  // free of beached and paused particles.
  return c.spreading__y_n == 1 && spill_tstart(s) <= static_cast<double>(t) && c.thick(s) > c.minspillthickness(s) &&
         var_part.par_beached(s) == 0 && var_part.par_pause(s) == 0;
}

namespace {

// Mean area (m2) over a step of a slick that spreads from the area a0 to a1
// at an even rate, but no further than a volume v (m3) covers at the
// minimum thickness hmin (m): the area it reaches there it keeps (its loss
// of volume in the step then shrinks it in proportion, which the shared
// exponential loss of evaporation and dissolution accounts for).
double step_area(double a0, double a1, double v, double hmin) {
  const double widest = hmin > 0.0 ? v / hmin : a1;
  if (!(widest < a1)) return 0.5 * (a0 + a1);
  if (!(widest > a0)) return a0;
  // The share of the step spent spreading up to the widest area.
  const double spreading = (widest - a0) / (a1 - a0);
  return spreading * 0.5 * (a0 + widest) + (1.0 - spreading) * widest;
}

}  // namespace

void hns2d_engine::allocate_engine_arrays() {
  hns_frame::allocate_engine_arrays();
  ensure(start_area_, var_cfg.spills_number);
}

spill_move hns2d_engine::plan_move(int32_t s, float t) {
  start_area_(s) = slick_area(s);
  if (spreads(s, t)) {
    auto& c2 = var2;
    calls.spreadinghns(s, step, slick_area, c2.coef_r, c2.coef_q);
    const int32_t algorithm = var_cfg.spreadalgorithm__adios2_leher_hns;
    return {true, algorithm == 1 || algorithm == 3, c2.coef_r, c2.coef_q, false};
  }
  // The transport move, with the particles on the floor of a dissolving
  // chemical carried by the water between the diffusivities and the
  // position update.
  spill_move move;
  move.carry = true;
  return move;
}

void hns2d_engine::spill_chain(int32_t s, float t) { chain_in_phases(s, t, polygons_); }

void hns2d_engine::finish_move(int32_t s, const spill_move& move) {
  // The compartments follow the particles on every move, weathering or not.
  calls.balance_vertido_tierra_hns(s);
  if (!weathering_recorded()) return;
  // The slick evaporates, dissolves and is entrained over its area of this
  // step: while it spreads, its mean area over the step; else the area it
  // has, which follows its volume once it is at its minimum thickness; not
  // the share-back area of an earlier step, which would make the result
  // hang on the step.
  double area = slick_area(s);
  if (move.spreading) {
    area = step_area(start_area_(s), area, var_cfg.spillvolume(s), var_cfg.minspillthickness(s));
  }
  var4.areaparticlesurftotal(s) = area;
  fate(s, !move.spreading);
}

void hns2d_engine::fate(int32_t s, bool dispersed_path) {
  const auto& c = var_cfg;
  auto& m = var4;
  weathered_now(s) = 1;
  if (c.evaporo(s) == 1) calls.evaporacionhns(s, slick_area);
  if (c.entrainment(s) == 1) {
    if (surface_exhausted(s) == 0) {
      calls.verticaldispersion_hns(s, slick_area);
    } else if (surface_exhausted(s) == 1) {
      m.massdisp(s) = 0.0;
    }
  } else {
    m.massdisp(s) = 0.0;
  }
  // Sorption takes its mass from what dissolved in the step.
  if (c.dissolution(s) == 1) {
    calls.dissolve_2d(s, slick_area);
    if (c.sedimentation(s) == 1) calls.settling(s);
  }
  if (c.volatilization(s) == 1 && m.mass_diss_cumul(s) > 0.0f) calls.volatilize(s);
  if (c.degradation(s) == 1) calls.degrade(s);
  calls.updateparthnsproperties(s);
  if (dispersed_path && m.mass_surf(s) == 0.0) surface_exhausted(s) = 1;
  // A spill placed wholly on land keeps its initial properties.
  if (c.flag_tierra(s) != 1) calls.evaluo_hns(s, slick_area);
}

void hns2d_engine::grid_statistics(int32_t spill, int32_t stamp) {
  calls.concentracion_hns2d(spill, step, clave, sim, stamp);
}

void hns2d_engine::series_record(int32_t s, int32_t r) {
  record_slick(s, r);
  if (!weathering_recorded()) return;
  auto& m = var4;
  m.per_evpc(s, r) = m.per_evp(s);
  m.densc(s, r) = m.dens(s);
  m.viscc(s, r) = m.visc(s);
  m.masaevpc(s, r) = m.masaevp(s);
  // The current compartments once the fate sequence has run for the spill,
  // the initial ones before.
  const bool current = weathered_now(s) != 0;
  m.mass_surf_c(s, r) = current ? m.mass_surf(s) : m.mass_surf_ini(s);
  m.mass_beachedc(s, r) = current ? m.mass_beached(s) : m.mass_beached_ini(s);
  m.mass_columnc(s, r) = current ? m.mass_column(s) : m.mass_column_ini(s);
  m.mass_floorc(s, r) = current ? m.mass_floor(s) : m.mass_floor_ini(s);
  m.mass_radarc(s, r) = current ? m.mass_radar(s) : m.mass_radar_ini(s);
  m.mass_disp_cumul_c(s, r) = m.mass_disp_cumul(s);
  record_hns_cumulatives(s, r, true);
}

void hns2d(const std::string& clave, const farray<coast_polygon>& coord_str) {
  const auto calls = real_engine_calls();
  hns2d_engine engine(*calls, clave, coord_str);
  engine.run();
}

}  // namespace orvel
