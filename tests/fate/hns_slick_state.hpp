// One chemical spill of `np` particles, as the HNS engine holds it during a
// step: on top of the set-up arrays of hns_world, the compartments, the
// evaporation bookkeeping, the slick quantities and (3-D) the droplet
// equivalents, all zero; every particle afloat, no wind.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "control/state/all.hpp"
#include "tests/fate/hns_spill_state.hpp"

namespace orvel::testing {

inline void hns_slick(int32_t np, int32_t dims = 1) {
  hns_world(np, 1, dims);
  auto& c = var_cfg;
  for (auto* a : {&c.masa0, &c.minspillthickness}) ensure(*a, 1);
  // One instantaneous spill: its evaporated share refers to masa0.
  c.spill__instant_contin = 1;
  // The slick's own processes: no dissolution to share its loss with.
  c.dissolution.fill(0);
  auto& s = var_spill;
  for (auto* a : {&s.vaporpressure, &s.hnsmolweight, &s.airtemperature, &s.maxevaporation, &s.watertemperature,
                  &s.densityreferencetemperature, &s.viscosityreferencetemperature}) {
    ensure(*a, 1);
  }
  auto& m = var4;
  for (auto* a : {&m.mass_surf, &m.mass_beached, &m.mass_column, &m.mass_floor, &m.mass_radar, &m.mass_air,
                  &m.masaevp, &m.per_evp, &m.diff_evp, &m.slick_diss_share, &m.dens, &m.visc, &m.mass_sed_cumul}) {
    ensure(*a, 1);
  }
  ensure(m.spreadingdiffcoef, 1);
  ensure(m.massparticle, np, 1);
  ensure(var_currwindwave.wind10, 1);
  ensure(var_hns_extra.equiv_part, np, 1);
}

// Particle states of spill 1, one per particle.
inline void states(std::initializer_list<int32_t> codes) {
  int32_t j = 1;
  for (int32_t code : codes) var_part.indp(j++, 1) = code;
}

// Particle masses of spill 1, one per particle.
inline void masses(std::initializer_list<double> kg) {
  int32_t j = 1;
  for (double x : kg) var4.massparticle(j++, 1) = x;
}

}  // namespace orvel::testing
