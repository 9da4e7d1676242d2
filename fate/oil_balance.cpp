// Mass balance of an oil spill over its compartments, and the slick
// properties that follow from its water content and evaporated fraction.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "fate/oil_weathering.hpp"

namespace orvel {

void balance_vertido_tierra(int32_t spill) {
  auto& m = var4;
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  const double* mass = m.massparticle.ptr(1, spill);
  const double* prod = m.massparticle_prod.ptr(1, spill);
  const bool emulsifies = var_cfg.emulsiono(spill) == 1;
  double surf = 0.0, beached = 0.0, beached_emulsion = 0.0, column = 0.0, floor = 0.0, outside = 0.0;
  // Each sum adds its particles' masses in particle order and 0 for the
  // others: the same sums (x + 0 is x, the sums start at +0), without a
  // branch on the state that particles of mixed states would mispredict.
  for (int32_t j = 0; j < np; ++j) {
    const int32_t st = indp[j];
    const double mj = mass[j];
    beached += st == 0 ? mj : 0.0;
    beached_emulsion += st == 0 ? (emulsifies ? prod[j] : mj) : 0.0;
    surf += st == 1 ? mj : 0.0;
    column += st == 5 ? mj : 0.0;
    floor += st == -1 ? mj : 0.0;
    outside += st == -2 ? mj : 0.0;
  }
  m.massprodemuls_surf(spill) = 0.0;
  m.mass_beached(spill) = beached;
  m.massprodemuls_beach(spill) = beached_emulsion;
  m.mass_surf(spill) = surf;
  m.mass_column(spill) = column;
  m.mass_radar(spill) = outside;
  m.mass_floor(spill) = floor;
}

void balance_masa(int32_t spill) {
  auto& m = var4;
  auto& c = var_cfg;
  double surf = m.mass_surf(spill);

  // Evaporation: the step's fraction of the floating mass, up to the
  // maximum fraction of the oil that has come to the surface: the reference
  // mass (the release, or this pulse of a continuous release) less the oil
  // still below it (3-D droplets rising or on the floor, which keep their
  // mass until they come up).  Oil that comes up thus joins the slick's
  // evaporated fraction as oil that has lost nothing.
  const double below = m.mass_column(spill) + m.mass_floor(spill);
  const double ref = reference_mass(spill) - below;
  if (c.evaporo(spill) == 1 && ref > 0.0) {
    const double d = m.diff_evp(spill) * surf;
    const double g = m.masaevp(spill) + d;
    const float fmax = var_spill.maxevaporation(spill) / 100.0f;
    if (g / ref >= static_cast<double>(fmax)) {
      // The maximum is reached: only the remaining allowance leaves the
      // surface, and evaporation stops for the rest of the simulation once
      // no oil is left below to come up and lower the fraction again.
      m.per_evp(spill) = static_cast<double>(fmax);
      if (!(below > 0.0)) c.evaporo(spill) = 0;
      m.diff_evp(spill) = 0.0;
      const double allowance = std::max(ref * static_cast<double>(fmax) - m.masaevp(spill), 0.0);
      const double x = surf == 0.0 ? allowance : (allowance / surf) * surf;
      m.masaevp(spill) = m.masaevp(spill) + x;
      surf = surf - x;
    } else {
      m.per_evp(spill) = g / ref;
      m.masaevp(spill) = g;
      surf = surf - d;
    }
    m.mass_surf(spill) = surf;
  }

  // Dispersion: at most what floats.
  if (c.verticaldispersion__y_n == 1) {
    surf = surf - m.massdisp(spill);
    if (surf < 0.0) {
      m.massdisp(spill) = m.massdisp(spill) + surf;
      surf = 0.0;
    }
    m.mass_disp_cumul(spill) = m.mass_disp_cumul(spill) + m.massdisp(spill);
    m.mass_surf(spill) = surf;
  }

  // Water and emulsion masses.  A water fraction of 1 or more (only with a
  // configured maximum of 100 % or more) keeps the stored water mass.
  const double y = m.agua(spill);
  if (c.emulsiono(spill) == 1 && y < 1.0) m.mass_waterinemulsion(spill) = surf * y / (1.0 - y);
  m.massprodemuls_surf(spill) = m.mass_waterinemulsion(spill) + surf;
  m.mass_emulsion_surf_beach(spill) = m.massprodemuls_beach(spill) + m.massprodemuls_surf(spill);

  // The floating oil and emulsion shared out equally among the surface
  // particles; the others keep their masses.
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  // On the threads: a count, and each particle's own masses.
  const auto ns = static_cast<int32_t>(parallel_count(np, [indp](int64_t j) { return indp[j] == 1; }));
  if (ns == 0) return;
  double* mass = m.massparticle.ptr(1, spill);
  double* prod = m.massparticle_prod.ptr(1, spill);
  const double share = surf / static_cast<double>(ns);
  const bool emulsifies = c.emulsiono(spill) == 1;
  const double emulsion_share = m.massprodemuls_surf(spill) / static_cast<double>(ns);
  parallel_blocks(np, [=](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      if (indp[j] != 1) continue;
      mass[j] = share;
      if (emulsifies) prod[j] = emulsion_share;
    }
  });
}

namespace {

// Density, viscosity and volume of the slick (the part shared by both
// property updates); `after_density` runs between the density and the
// viscosity.
template <typename F>
void update_properties(int32_t s, F after_density) {
  auto& m = var4;
  const auto& sp = var_spill;
  const float tw = sp.watertemperature(s);
  const double y = m.agua(s);
  const double fe = m.per_evp(s);
  const float ft = 1.0f - (tw - sp.densityreferencetemperature(s)) * sp.ct;
  m.dens(s) = static_cast<double>(sp.waterdensity(s)) * y +
              (((1.0 - y) * static_cast<double>(sp.density(s))) * static_cast<double>(ft)) *
                  (1.0 + static_cast<double>(sp.ceva) * fe);
  after_density();
  const float temperature = std::exp((tw - sp.viscosityreferencetemperature(s)) * sp.c5);
  const double mooney = std::exp(static_cast<double>(sp.c3) * y / (1.0 - static_cast<double>(sp.c4) * y));
  const double evaporation = std::exp(static_cast<double>(sp.c6(s)) * fe);
  if (!among_units()) {
    m.visc_temp = static_cast<double>(temperature);
    m.visc_emul = mooney;
    m.visc_evap = evaporation;
  }
  m.visc(s) = ((static_cast<double>(sp.viscosity(s)) * static_cast<double>(temperature)) * mooney) * evaporation;
  var_cfg.spillvolume(s) = (var_cfg.emulsiono(s) == 1 ? m.massprodemuls_surf(s) : m.mass_surf(s)) / m.dens(s);
}

}  // namespace

void evaluo(int32_t spill) {
  update_properties(spill, [] {});
}

void evaluo_spread(int32_t spill, farray<double, 1>& slick_area) {
  update_properties(spill, [spill] {
    if (var_cfg.spreadalgorithm__adios2_leher_hns == 1) {
      const double wd = static_cast<double>(var_spill.waterdensity(spill));
      var_spill.deltarho(spill) = static_cast<float>((wd - var4.dens(spill)) / wd);
    }
  });
  var_cfg.thick(spill) = var_cfg.spillvolume(spill) / slick_area(spill);
}

}  // namespace orvel
