// One oil spill of n particles, every state array that the weathering
// routines read or write allocated and zeroed, all particles afloat, with the
// constants of the scenario reader.
#pragma once

#include <cstdint>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel::testing {

inline void one_oil_spill(int32_t np, float deltat = 600.0f) {
  reset_state();
  var_run.particle_number = np;
  var_run.deltat = deltat;
  auto& c = var_cfg;
  c.spills_number = 1;
  c.spill__instant_contin = 1;
  for (auto* a : {&c.spillstarttime, &c.spillvolume, &c.vol0, &c.area0, &c.masa0, &c.spilledmass, &c.thick}) {
    a->allocate(1);
  }
  for (auto* a : {&c.evaporo, &c.emulsiono, &c.flag_tierra}) a->allocate(1);
  auto& s = var_spill;
  for (auto* a : {&s.deltarho, &s.waterdensity, &s.density, &s.area_oil, &s.t0, &s.tg, &s.watertemperature,
                  &s.maxevaporation, &s.area_maxima, &s.maxemulsification, &s.densityreferencetemperature,
                  &s.viscosityreferencetemperature, &s.viscosity, &s.c6}) {
    a->allocate(1);
  }
  s.ct = 0.0008f;
  s.ceva = 0.18006f;
  s.c3 = 2.5f;
  s.c4 = 0.65f;
  s.c5 = 5000.0f;
  s.kinemviscosity_water = 1.0e-6;
  auto& w = var_currwindwave;
  for (auto* a : {&w.uwind, &w.wind10}) a->allocate(1);
  for (auto* a : {&w.wintx, &w.winty}) a->allocate(np);
  var_part.indp.allocate(np, 1);
  var_part.indp.fill(1);
  auto& m = var4;
  for (auto* a : {&m.diff_evp, &m.evp_exposure, &m.per_evp, &m.agua, &m.mass_surf, &m.mass_beached, &m.mass_column,
                  &m.mass_floor, &m.mass_radar, &m.masaevp, &m.massdisp, &m.mass_disp_cumul, &m.mass_waterinemulsion,
                  &m.massprodemuls_surf, &m.massprodemuls_beach, &m.mass_emulsion_surf_beach, &m.dens, &m.visc}) {
    a->allocate(1);
  }
  m.aguatot.allocate(1);
  m.massparticle.allocate(np, 1);
  m.massparticle_prod.allocate(np, 1);
}

// The same wind (east, north components, m/s) at every particle.
inline void uniform_wind(double wx, double wy) {
  var_currwindwave.wintx.fill(wx);
  var_currwindwave.winty.fill(wy);
}

}  // namespace orvel::testing
