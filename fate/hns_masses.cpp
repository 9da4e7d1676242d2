#include <cstdint>

#include "control/state/all.hpp"
#include "fate/hns_setup.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// `a` with the given extents, every element 0: made at the first call and
// cleared at the later ones, so that every simulation starts from the same
// values.
template <typename T, int R, typename... E>
void zeroed(farray<T, R>& a, E... extents) {
  ensure(a, extents...);
  a.fill(T{});
}

// The per-spill weathering state and the per-particle mass arrays of both
// dimensions, every element 0.
void weathering_arrays() {
  auto& m = var4;
  const int32_t ns = var_cfg.spills_number;
  const int32_t np = var_run.particle_number;
  for (auto* a : {&m.dens, &m.visc, &m.per_evp, &m.agua, &m.diff_evp, &var_currwindwave.wind10,
                  &var_currwindwave.currmean}) {
    zeroed(*a, ns);
  }
  zeroed(m.massparticle, np, ns);
  zeroed(m.massparticle_prod, np, ns);
}

// Starts spill s from its product's density and viscosity and its budgets
// from 0.
void start_spill(int32_t s) {
  auto& m = var4;
  m.per_evp(s) = 0.0;
  m.agua(s) = 0.0;
  m.dens(s) = var_spill.density(s);
  m.visc(s) = var_spill.viscosity(s);
  for (auto* a : {&m.mass_surf_ini, &m.mass_beached_ini, &m.mass_column_ini, &m.mass_floor_ini, &m.mass_radar_ini,
                  &m.mass_air_ini, &m.mass_columndisol_ini}) {
    (*a)(s) = 0.0;
  }
  var_part.par_surf_ini(s) = 0;
}

// Adds the weight of particle j of spill s to the initial budget of its
// state; the paused states (over land, in a dry cell) are in no budget.
void add_to_budget(int32_t j, int32_t s, double weight) {
  auto& m = var4;
  switch (var_part.indp(j, s)) {
    case indp_beached:
      m.mass_beached_ini(s) += weight;
      break;
    case indp_surf:
      m.mass_surf_ini(s) += weight;
      ++var_part.par_surf_ini(s);
      break;
    case indp_air:
      m.mass_air_ini(s) += weight;
      break;
    case indp_column:
      m.mass_column_ini(s) += weight;
      break;
    case indp_radar:
      m.mass_radar_ini(s) += weight;
      break;
    case indp_floor:
      m.mass_floor_ini(s) += weight;
      break;
    default:
      break;
  }
}

}  // namespace

void getparthnsproperties() {
  auto& m = var4;
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  weathering_arrays();
  zeroed(var_part.diam_part, np, c.spills_number);
  for (int32_t s = 1; s <= c.spills_number; ++s) {
    start_spill(s);
    for (int32_t j = 1; j <= np; ++j) {
      m.massparticle(j, s) = c.spilledmass(s) / np;
      add_to_budget(j, s, m.massparticle(j, s));
    }
    m.volumeparticle(s) = np > 0 ? c.spillvolume(s) / np : 0.0;
    // Without a surface particle there is no slick to share out.
    const float area = var_spill.area_hns(s);
    const int32_t surf = var_part.par_surf_ini(s);
    m.areaparticlesurf(s) = surf > 0 ? area / static_cast<float>(surf) : 0.0f;
    m.areaparticlesurftotal(s) = area;
  }
}

void getparthnsproperties_3d() {
  auto& m = var4;
  auto& h = var_hns_extra;
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  const bool blowout = var_run.blowout__y_n == 1;
  weathering_arrays();
  // A blowout has no droplet classes: its droplet counts are made here.
  if (blowout) ensure(h.equiv_part, np, ns);
  const double pi = 3.141516f;
  for (int32_t s = 1; s <= ns; ++s) {
    start_spill(s);
    // A gas released below the surface boils into bubbles of one size, each
    // particle an equal share of the release.
    const bool bubbles = gas_bubbles(s);
    if (bubbles) {
      for (int32_t j = 1; j <= np; ++j) var_part.diam_part(j, s) = gas_bubble_diameter;
    }
    const double dens = m.dens(s);
    for (int32_t j = 1; j <= np; ++j) {
      // The mass of one droplet: density times pi r^3, without the 4/3 of a
      // sphere, as the droplet classes weigh them.
      const double r = 0.5 * var_part.diam_part(j, s);
      m.massparticle(j, s) = ((dens * pi) * r) * r * r;
    }
    if (blowout || bubbles) {
      // Droplets of the particle's diameter that make up an equal share of
      // the released mass; a droplet without mass carries none.
      for (int32_t j = 1; j <= np; ++j) {
        const double droplet = m.massparticle(j, s);
        h.equiv_part(j, s) = droplet > 0.0 ? static_cast<float>(c.spilledmass(s) / (np * droplet)) : 0.0f;
      }
    }
    for (int32_t j = 1; j <= np; ++j) {
      add_to_budget(j, s, static_cast<double>(h.equiv_part(j, s)) * m.massparticle(j, s));
    }
  }
}

}  // namespace orvel
