// Chemical spills in the small world of the particle tests (a 4 x 3 node
// model grid at 43 N, 0.1 degree spacing, 20 m deep): every array that the
// HNS set-up reads or writes and that the start-up or the engine would have
// made, allocated and zeroed; every process switch on; a floating product
// (class 3) released at the surface in the middle of the grid, its particles
// afloat.
#pragma once

#include <cstdint>

#include "control/state/all.hpp"
#include "tests/transport/particles_fixture.hpp"

namespace orvel::testing {

inline constexpr double release_x = -3.85;  // degrees east, as read
inline constexpr double release_y = 43.15;

inline void hns_world(int32_t np, int32_t ns, int32_t dims = 1) {
  small_world(np, ns);
  var_run.sim__2d_3d = dims;
  auto& c = var_cfg;
  c.obj__floating_fuel_hns = 3;
  for (auto* a : {&c.vol0, &c.thick, &c.spillvolume, &c.spilledmass}) a->allocate(ns);
  for (auto* a : {&c.evaporo, &c.entrainment, &c.dissolution, &c.volatilization, &c.sedimentation, &c.degradation,
                  &c.flag_tierra, &c.flag_air}) {
    a->allocate(ns);
  }
  for (auto* a : {&c.evaporo, &c.entrainment, &c.dissolution, &c.volatilization, &c.sedimentation, &c.degradation})
    a->fill(1);
  auto& s = var_spill;
  for (auto* a : {&s.area_hns, &s.density, &s.viscosity, &s.deltarho}) a->allocate(ns);
  s.hnsbehaviourclass.allocate(ns);
  s.hnsbehaviourclass.fill(3);
  s.kinemviscosity_water = 1.0e-6;
  var_part.par_surf_ini.allocate(ns);
  var_part.indp.allocate(np, ns);
  var_part.indp.fill(1);
  auto& m = var4;
  for (auto* a : {&m.mass_surf_ini, &m.mass_beached_ini, &m.mass_column_ini, &m.mass_floor_ini, &m.mass_radar_ini,
                  &m.mass_air_ini, &m.mass_columndisol_ini, &m.volumeparticle, &m.areaparticlesurf,
                  &m.areaparticlesurftotal}) {
    a->allocate(ns);
  }
  for (int32_t k = 1; k <= ns; ++k) {
    c.spillposition_x(k) = release_x;
    c.spillposition_y(k) = release_y;
    c.spillstarttime(k) = 1.5;
  }
}

}  // namespace orvel::testing
