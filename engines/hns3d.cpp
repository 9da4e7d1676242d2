#include "engines/hns3d.hpp"

#include <algorithm>
#include <cstdint>
#include <span>

#include "control/state/all.hpp"
#include "engines/engines.hpp"
#include "fate/hns_slick.hpp"
#include "fate/oil_weathering.hpp"
#include "fate/wave_entrainment.hpp"

namespace orvel {

hns3d_engine::hns3d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str)
    : frame_3d<hns_frame>(calls, clave,
                          std::span<const coast_polygon>(coord_str.data(), static_cast<std::size_t>(coord_str.size()))),
      polygons_(coord_str) {}

void hns3d_engine::allocate_engine_arrays() {
  hns_frame::allocate_engine_arrays();
  const int32_t ns = var_cfg.spills_number;
  ensure(var4.mass_air, ns);
  ensure(var4.mass_columndisol, ns);
  ensure(var_hns_extra.fitime, ns);
  // The jet placement records the disc area in the oil area; the set-up
  // takes it from there as the spill's area.
  if (var_run.blowout__y_n == 1) ensure(var_spill.area_oil, ns);
}

void hns3d_engine::set_up() {
  auto& c = var_cfg;
  auto& sp = var_spill;
  const int32_t ns = c.spills_number;
  const int32_t np = var_run.particle_number;

  for (int32_t s = 1; s <= ns; ++s) {
    calls.findhnsbehaviourclass(s, sp.vaporpressure(s), sp.watersolubility(s), sp.density(s), sp.waterdensity(s),
                                sp.hnsbehaviourclass(s));
  }
  // Only a release at the surface gets a first thickness from its placement:
  // the others start at 0 and take the dispersed path from their first step.
  c.thick.fill(0.0);
  if (var_run.blowout__y_n == 1) {
    for (int32_t s = 1; s <= ns; ++s) {
      // Hours to seconds once per run: later simulations find seconds.
      if (sim == 1) c.spillstarttime(s) = c.spillstarttime(s) * 3600.0;
      calls.part_ini_blowout(s);
      calls.read_droplets(s);
      sp.area_hns(s) = sp.area_oil(s);
    }
  } else {
    calls.getparthnsinitialstate3d(sim);
    for (int32_t s = 1; s <= ns; ++s) slick_area(s) = static_cast<double>(sp.area_hns(s));
    if (sim == 1) {
      ensure(var_part.w_float, np, ns);
      ensure(var_part.diam_part, np, ns);
    }
    for (int32_t s = 1; s <= ns; ++s) calls.dropletsizedistribution(s);
  }
  calls.getparthnsproperties_3d();
  calls.getdegradationprocesses();

  auto& m = var4;
  for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_diss_column_cumul, &m.mass_vol_cumul,
                  &m.mass_sed_cumul, &m.mass_degr_cumul, &m.mass_diss_dt}) {
    a->fill(0.0f);
  }
  m.masaevp.fill(0.0);
  m.mass_disp_cumul.fill(0.0);
  // The emulsion-product rows stay 0 until a spill's fate sequence has run.
  m.massprodemuls_surf_c.fill(0.0);
  m.massprodemuls_beach_c.fill(0.0);
  ensure(var_spill.area_share, ns);
  var_spill.area_share.fill(1.0);
  release_area_ = 0.0;
  law_area_ = 0.0;
  law_time_ = 0.0;
}

void hns3d_engine::before_spill_passes(float t) {
  if (var_cfg.spill__instant_contin == 2) share_the_slick(t);
}

// The pulses of a continuous release afloat form one slick of one
// thickness: each weathers over the share of the slick's area that its
// floating mass at the start of the step is of the floating mass of every
// started pulse, with the transfer coefficients of the whole slick, so that
// the release weathers alike however many pulses it is cut into.  Released
// at the surface with Fay-type or Lehr spreading, the slick spreads by the
// law over each step from the area the law had given it, with the
// release's floating (Fay) or released (Lehr) volume: from the age at which
// the law gives that area for that volume, to one step later (a pulse
// joining the slick thickens it, and it spreads the faster, as one slick of
// that volume would; a pulse is not spread as if it were as old as the
// release).  It is never smaller than the largest pulse's own slick nor
// thinner than the minimum thickness, so that a release of one pulse is
// the slick of that pulse.  Otherwise (droplets come up from a release at a depth
// or a blowout and form slicks at the minimum thickness; the per-particle
// growth; no spreading) it is the pulses' slicks together.
void hns3d_engine::share_the_slick(float t) {
  const auto& c = var_cfg;
  const auto& m = var4;
  auto& share = var_spill.area_share;
  const int32_t ns = c.spills_number;
  // A started pulse's floating mass: its initial one until it weathers.
  auto afloat_of = [&](int32_t s) {
    if (!spill_active(s, t) || !(m.dens(s) > 0.0)) return 0.0;
    const double afloat = weathered_now(s) != 0 ? m.mass_surf(s) : m.mass_surf_ini(s);
    return afloat > 0.0 ? afloat : 0.0;
  };
  double mass = 0.0, volume = 0.0, released = 0.0, together = 0.0, largest = 0.0;
  int32_t first = 0, first_afloat = 0;
  for (int32_t s = 1; s <= ns; ++s) {
    if (!spill_active(s, t)) continue;
    if (first == 0) first = s;
    released += c.vol0(s);
    const double afloat = afloat_of(s);
    if (afloat == 0.0) continue;
    if (first_afloat == 0) first_afloat = s;
    mass += afloat;
    volume += afloat / m.dens(s);
    together += slick_area(s);
    largest = std::max(largest, slick_area(s));
  }
  // While nothing floats each pulse whose droplets come up forms its own
  // slick for the step.
  for (int32_t s = 1; s <= ns; ++s) share(s) = mass > 0.0 ? afloat_of(s) / mass : 1.0;
  release_area_ = 0.0;
  if (!(mass > 0.0)) {
    law_area_ = 0.0;
    return;
  }
  const bool spread = c.spreading__y_n == 1 && c.spreadalgorithm__adios2_leher_hns != 3 &&
                      var_run.blowout__y_n != 1 && c.spillposition_z(first) == 0.0;
  if (!spread) {
    release_area_ = together;
    law_area_ = 0.0;
    return;
  }
  // The law's slick at the start of the step, which ends at t, grown from
  // the start of the last step with the volume now afloat (or released);
  // the product's density and the wind over the slick are those of the
  // oldest pulse afloat.  A new slick has the age of that pulse.
  const int32_t s = first_afloat;
  const double start = static_cast<double>(t) - static_cast<double>(var_run.deltat);
  const double age = law_area_ > 0.0 ? hns_spread_age(s, volume, released, law_area_) + (start - law_time_)
                                     : start - c.spillstarttime(s);
  law_area_ = age > 0.0 ? hns_spread_area(s, volume, released, age) : 0.0;
  law_time_ = start;
  // As a pulse's own slick, the area over which it weathers in the step is
  // the one it had at the start of the step.
  double area = std::max(law_area_, largest);
  const double minimum = c.minspillthickness(first);
  if (minimum > 0.0) area = std::min(area, volume / minimum);
  release_area_ = area;
}

hns3d_engine::path hns3d_engine::path_of(int32_t s) {
  const auto& c = var_cfg;
  const int32_t spreading = c.spreading__y_n;
  const bool thick = c.thick(s) > c.minspillthickness(s);
  const bool free = var_part.par_beached(s) == 0 && var_part.par_pause(s) == 0;
  if (spreading == 1 && thick && free) return path::spreading;
  if (spreading == 0 || !thick || !free) return path::dispersed;
  return path::none;
}

void hns3d_engine::spill_chain(int32_t s, float) {
  vertical_diffusivities(s);
  const path chosen = path_of(s);
  switch (chosen) {
    case path::spreading: {
      auto& c2 = var2;
      calls.spreadinghns(s, step, slick_area, c2.coef_r, c2.coef_q);
      const int32_t algorithm = var_cfg.spreadalgorithm__adios2_leher_hns;
      spreading_move_3d(s, algorithm == 1 || algorithm == 3, polygons_);
      break;
    }
    case path::dispersed:
      transport_move_3d(s, polygons_);
      break;
    case path::none:
      return;
  }
  calls.column_states_hns3d(s);
  // The compartments follow the particles on every move, weathering or not.
  calls.balance_vertido_tierra_hns_3d(s);
  if (weathering_recorded()) fate(s, chosen == path::dispersed);
}

void hns3d_engine::fate(int32_t s, bool dispersed_path) {
  auto& c = var_cfg;
  auto& m = var4;
  weathered_now(s) = 1;
  form_slick(s);
  // A pulse of a continuous release afloat weathers on the one slick.
  if (release_area_ > 0.0 && m.mass_surf(s) > 0.0) m.areaparticlesurftotal(s) = release_area_;
  if (c.evaporo(s) == 1) {
    calls.evaporacionhns(s, slick_area);
    if (dispersed_path && m.mass_surf(s) == 0.0) surface_exhausted(s) = 1;
  } else {
    m.diff_evp(s) = 0.0;
  }
  // Breaking waves of the uniform series only: with wave fields from files
  // the height in use is 0 and nothing is entrained.
  if (c.entrainment(s) == 1 && surface_exhausted(s) == 0 && wave_height_in_use() != 0.0) {
    calls.verticaldispersion_hns(s, slick_area);
    calls.entrainedparticlesredistribution_hns3d(s, slick_area);
  } else {
    m.massdisp(s) = 0.0;
  }
  // Sorption takes its mass from what dissolved in the step.
  if (c.dissolution(s) == 1) {
    calls.dissolve_3d(s);
    if (c.sedimentation(s) == 1) calls.settling(s);
  }
  if (c.volatilization(s) == 1 && m.mass_diss_cumul(s) > 0.0f) calls.volatilize(s);
  if (c.degradation(s) == 1) calls.degrade(s);
  // The dispersed path leaves the compartments to the next step's re-sum.
  if (!dispersed_path) calls.updateparthnsproperties_3d(s);
  // A spill placed wholly on land keeps its initial properties.
  if (c.flag_tierra(s) != 1) calls.evaluo_hns(s, slick_area);
}

void hns3d_engine::form_slick(int32_t s) {
  auto& c = var_cfg;
  auto& m = var4;
  // A slick of no thickness has no floating mass yet (a release below the
  // surface, a blowout) or has lost it all.  Floating mass that appears
  // then, droplets come up one by one over the cloud, forms a slick at its
  // minimum thickness, from which it spreads; the set-up area of the cloud
  // (or none) says nothing of it.
  const double minimum = c.minspillthickness(s);
  if (c.thick(s) != 0.0 || !(minimum > 0.0) || !(m.mass_surf(s) > 0.0) || !(m.dens(s) > 0.0)) return;
  slick_area(s) = m.mass_surf(s) / m.dens(s) / minimum;
  m.areaparticlesurftotal(s) = slick_area(s);
}

void hns3d_engine::grid_statistics(int32_t spill, int32_t stamp) {
  calls.concentracion(spill, step, clave, sim, stamp);
}

void hns3d_engine::series_record(int32_t s, int32_t r) {
  record_slick(s, r);
  if (!weathering_recorded()) return;
  auto& m = var4;
  record_properties(s, r);
  // The current compartments once the fate sequence has run for the spill,
  // the initial ones before; the outside mass is always the current one and
  // the emulsion products stay 0 until then.
  const bool current = weathered_now(s) != 0;
  record_compartments(s, r, current);
  if (!current) {
    m.massprodemuls_surf_c(s, r) = 0.0;
    m.massprodemuls_beach_c(s, r) = 0.0;
    m.mass_radarc(s, r) = m.mass_radar(s);
  }
  m.mass_disp_cumul_c(s, r) = m.mass_disp_cumul(s);
  record_hns_cumulatives(s, r, true);
}

void hns3d(const std::string& clave, const farray<coast_polygon>& coord_str) {
  const auto calls = real_engine_calls();
  hns3d_engine engine(*calls, clave, coord_str);
  engine.run();
}

}  // namespace orvel
