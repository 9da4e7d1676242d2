#include "fate/initial_slick.hpp"

#include <cmath>
#include <cstdint>

#include "control/state/all.hpp"

namespace orvel {
namespace {

// A fresh array of the given extents, every element 0.
template <typename T, int R, typename... E>
void fresh(farray<T, R>& a, E... extents) {
  if (a.allocated()) a.deallocate();
  a.allocate(extents...);
}

}  // namespace

float initial_slick_area(int32_t spill) {
  const double v = var_cfg.vol0(spill);
  const double delta = var_spill.deltarho(spill);
  const double nu = var_spill.kinemviscosity_water;
  const double v5 = ((v * v) * (v * v)) * v;
  // A substance as dense as the water or denser does not spread by gravity:
  // its slick has no area (a negative term would make the root NaN).
  double x = v5 * static_cast<double>(9.81f) * delta / (nu * nu);
  if (x < 0.0) x = 0.0;
  return static_cast<float>(static_cast<double>(2.6714799f) * std::pow(x, static_cast<double>(1.0f / 6.0f)));
}

void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) {
  auto& c = var_cfg;
  var_spill.area_oil(spill) = initial_slick_area(spill);
  if (sim == 1) c.spillstarttime(spill) = c.spillstarttime(spill) * 3600.0;
  spill_tstart(spill) = c.spillstarttime(spill);
}

void part_pro() {
  const auto& c = var_cfg;
  auto& m = var4;
  const int32_t ns = c.spills_number;
  const int32_t np = var_run.particle_number;
  fresh(m.dens, ns);
  fresh(m.visc, ns);
  fresh(m.per_evp, ns);
  fresh(m.agua, ns);
  fresh(m.diff_evp, ns);
  fresh(m.evp_exposure, ns);
  fresh(var_currwindwave.wind10, ns);
  fresh(m.massparticle, np, ns);
  fresh(m.massparticle_prod, np, ns);

  for (int32_t i = 1; i <= ns; ++i) {
    m.per_evp(i) = 0.0;
    m.agua(i) = 0.0;
    m.dens(i) = var_spill.density(i);
    m.visc(i) = var_spill.viscosity(i);
    m.mass_surf_ini(i) = 0.0;
    m.mass_beached_ini(i) = 0.0;
    m.mass_column_ini(i) = 0.0;
    m.mass_floor_ini(i) = 0.0;
    m.mass_radar_ini(i) = 0.0;
    if (np <= 0) continue;
    for (int32_t j = 1; j <= np; ++j) m.massparticle(j, i) = c.spilledmass(i) / np;
    // A spill placed wholly on land neither evaporates nor emulsifies, and
    // keeps its initial properties.
    const bool on_land = var_part.par_beached(i) == np;
    if (on_land) {
      var_cfg.evaporo(i) = 0;
      var_cfg.emulsiono(i) = 0;
      var_cfg.flag_tierra(i) = 1;
    }
    for (int32_t j = 1; j <= np; ++j) {
      const double mass = m.massparticle(j, i);
      switch (var_part.indp(j, i)) {
        case 0:
          m.massparticle_prod(j, i) = mass;
          m.mass_beached_ini(i) += mass;
          break;
        case 1:
          m.mass_surf_ini(i) += mass;
          break;
        case 5:
          m.mass_column_ini(i) += mass;
          break;
        case -1:
          m.mass_floor_ini(i) += mass;
          break;
        case -2:
          m.mass_radar_ini(i) += mass;
          break;
        default:
          break;
      }
    }
    // Without emulsification every particle carries its own mass as
    // emulsion; with it only the beached ones do until the mass balance
    // shares the emulsion out.
    if (on_land || c.emulsification__y_n == 0) {
      for (int32_t j = 1; j <= np; ++j) m.massparticle_prod(j, i) = m.massparticle(j, i);
    }
  }
}

}  // namespace orvel
