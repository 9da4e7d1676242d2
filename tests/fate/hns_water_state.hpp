// One chemical spill of `np` particles in the sea, as the HNS engine holds it
// in its fate step: on top of the set-up arrays of hns_world, the
// compartments and the dissolved, sorbed, volatilised and degraded totals,
// the per-particle masses, diameters and droplet equivalents, the wind and
// wave state, all zero; benzene (78.11 g/mol, organic, 1780 mg/L, 12.7 kPa)
// in sea water of 1025 kg/m3 with a kinematic viscosity of 1e-6 m2/s, air at
// 293.15 K; every particle afloat, steps of 600 s.
#pragma once

#include <cstdint>

#include "control/state/all.hpp"
#include "tests/fate/hns_spill_state.hpp"

namespace orvel::testing {

inline void hns_water_spill(int32_t np, int32_t dims = 1) {
  hns_world(np, 1, dims);
  auto& s = var_spill;
  for (auto* a : {&s.hnsmolweight, &s.hnsorganic__y_n, &s.watersolubility, &s.vaporpressure, &s.airtemperature,
                  &s.logkow, &s.sedimentsconcentration, &s.degradation_rate}) {
    ensure(*a, 1);
  }
  s.hnsmolweight(1) = 78.11f;
  s.hnsorganic__y_n(1) = 1.0f;
  s.watersolubility(1) = 1780.0f;
  s.vaporpressure(1) = 12.7f;
  s.airtemperature(1) = 293.15f;
  s.waterdensity(1) = 1025.0f;
  auto& m = var4;
  for (auto* a : {&m.mass_surf, &m.mass_beached, &m.mass_column, &m.mass_floor, &m.mass_radar, &m.mass_air,
                  &m.masaevp, &m.massdisp, &m.mass_disp_cumul, &m.dens, &m.visc}) {
    ensure(*a, 1);
  }
  for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_diss_column_cumul, &m.mass_diss_dt,
                  &m.mass_sed_cumul, &m.mass_vol_cumul, &m.mass_degr_cumul, &m.slick_diss_share}) {
    ensure(*a, 1);
  }
  m.dens(1) = 876.5;
  m.visc(1) = 1.0;
  ensure(m.massparticle, np, 1);
  ensure(var_hns_extra.equiv_part, np, 1);
  auto& w = var_currwindwave;
  for (auto* a : {&w.wind10, &w.currmean}) ensure(*a, 1);
  ensure(w.hwavec, 1);
  var1.i_ola = 1;
  var_cfg.masa0.allocate(1);
  ensure(var_cfg.minspillthickness, 1);
}

// Waves of height h (m) in the record in use, and the same wind (m/s, east
// and north) at every particle.
inline void sea_state(double h, double wx, double wy = 0.0) {
  var_currwindwave.hwavec(1) = h;
  var_currwindwave.wintx.fill(wx);
  var_currwindwave.winty.fill(wy);
}

}  // namespace orvel::testing
