// Mass of a chemical spill moved between its particles and its compartments,
// and the properties of its floating slick.
#include <atomic>
#include <cmath>
#include <cstdint>

#include "common/parallel.hpp"
#include "control/state/all.hpp"
#include "fate/hns_particle_mass.hpp"
#include "fate/hns_slick.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// The spill's particle masses summed by state, in double precision from 0,
// with the number of surface particles.
struct state_sums {
  double surf = 0.0, beached = 0.0, column = 0.0, floor = 0.0, outside = 0.0, air = 0.0;
  int32_t n_surf = 0;
};

// weight(j) is the mass of particle j (0-based) of the spill.
template <typename W>
state_sums sum_by_state(int32_t spill, W weight) {
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  state_sums s;
  for (int32_t j = 0; j < np; ++j) {
    switch (indp[j]) {
      case indp_surf:
        s.surf += weight(j);
        ++s.n_surf;
        break;
      case indp_beached:
        s.beached += weight(j);
        break;
      case indp_column:
        s.column += weight(j);
        break;
      case indp_floor:
        s.floor += weight(j);
        break;
      case indp_radar:
        s.outside += weight(j);
        break;
      case indp_air:
        s.air += weight(j);
        break;
      default:
        break;
    }
  }
  return s;
}

// The surface, beached, column and floor compartments of the spill from the
// sums.
void store_sums(int32_t spill, const state_sums& s) {
  auto& m = var4;
  m.mass_surf(spill) = s.surf;
  m.mass_beached(spill) = s.beached;
  m.mass_column(spill) = s.column;
  m.mass_floor(spill) = s.floor;
}

// Mass of particle j of the spill in 3-D: its droplet equivalents times the
// mass of one droplet.
struct droplet_mass {
  const double* mass;
  const float* equiv;
  droplet_mass(int32_t spill)
      : mass(var4.massparticle.ptr(1, spill)), equiv(var_hns_extra.equiv_part.ptr(1, spill)) {}
  double operator()(int32_t j) const { return static_cast<double>(equiv[j]) * mass[j]; }
};

// Gives every particle of the spill in state `state` the mass `share` (on
// the threads: each particle's alone).
void share_out(int32_t spill, int32_t state, double share) {
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  double* mass = var4.massparticle.ptr(1, spill);
  parallel_blocks(np, [=](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      if (indp[j] == state) mass[j] = share;
    }
  });
}

}  // namespace

void balance_vertido_tierra_hns(int32_t spill) {
  const double* mass = var4.massparticle.ptr(1, spill);
  const state_sums s = sum_by_state(spill, [mass](int32_t j) { return mass[j]; });
  store_sums(spill, s);
  var4.mass_radar(spill) = s.outside;
}

void balance_vertido_tierra_hns_3d(int32_t spill) {
  const state_sums s = sum_by_state(spill, droplet_mass(spill));
  store_sums(spill, s);
  var4.mass_radar(spill) = s.outside;
  var_part.numpartsurfevap = s.n_surf;
  // The floating particles form the slick: the processes of the step act
  // over its area, as in 2-D.
  if (s.n_surf > 0) var4.areaparticlesurftotal(spill) = static_cast<double>(var_spill.area_hns(spill));
}

double slick_share(int32_t spill) {
  const auto& share = var_spill.area_share;
  if (var_run.sim__2d_3d != 2 || var_cfg.spill__instant_contin != 2) return 1.0;
  if (!share.allocated() || spill < share.lbound(1) || spill > share.ubound(1)) return 1.0;
  return share(spill);
}

void take_from_surface(int32_t spill, double taken, double floating) {
  if (!(taken > 0.0)) return;
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  float* equiv = var_hns_extra.equiv_part.ptr(1, spill);
  double* droplet = var4.massparticle.ptr(1, spill);
  const bool all = !(taken < floating);
  const double kept = all ? 0.0 : 1.0 - taken / floating;
  parallel_blocks(np, [=](int64_t, int64_t first, int64_t last) {
    for (int64_t j = first; j < last; ++j) {
      if (indp[j] != indp_surf) continue;
      const double e = static_cast<double>(equiv[j]);
      // The particle keeps its share to double precision; one of droplets
      // of no mass carries nothing and only its number is scaled.
      if (droplet[j] > 0.0) {
        set_particle_mass(equiv[j], droplet[j], e * droplet[j] * kept);
      } else {
        equiv[j] = static_cast<float>(e * kept);
      }
    }
  });
}

void updateparthnsproperties_3d(int32_t spill) {
  const state_sums s = sum_by_state(spill, droplet_mass(spill));
  store_sums(spill, s);
  var4.mass_air(spill) = s.air;
}

void updateparthnsproperties(int32_t spill) {
  auto& m = var4;
  const int32_t np = var_run.particle_number;
  const int32_t* indp = var_part.indp.ptr(1, spill);
  // Counted on the threads (whole numbers: the same for any thread count).
  std::atomic<int32_t> surf{0}, beached{0}, floor{0};
  parallel_blocks(np, [&](int64_t, int64_t first, int64_t last) {
    int32_t s = 0, b = 0, f = 0;
    for (int64_t j = first; j < last; ++j) {
      s += indp[j] == indp_surf ? 1 : 0;
      b += indp[j] == indp_beached ? 1 : 0;
      f += indp[j] == indp_floor ? 1 : 0;
    }
    surf.fetch_add(s, std::memory_order_relaxed);
    beached.fetch_add(b, std::memory_order_relaxed);
    floor.fetch_add(f, std::memory_order_relaxed);
  });
  const int32_t n_surf = surf.load(), n_beached = beached.load(), n_floor = floor.load();
  // Only the particles that the next re-sum counts as floating share the
  // floating mass: a particle paused over land keeps its own mass, so no
  // share is handed to a particle that no compartment holds.
  if (n_surf > 0) {
    share_out(spill, indp_surf, m.mass_surf(spill) / n_surf);
    const float area = var_spill.area_hns(spill);
    m.areaparticlesurf(spill) = area / static_cast<float>(n_surf);
    m.areaparticlesurftotal(spill) = area;
  }
  if (n_beached > 0) share_out(spill, indp_beached, m.mass_beached(spill) / n_beached);
  // The sorbed mass stays in its own total (mass_sed_cumul): the floor
  // particles carry the floor compartment alone, or the next re-sum would
  // count the sorbed mass a second time.
  if (n_floor > 0) share_out(spill, indp_floor, m.mass_floor(spill) / n_floor);
}

void evaluo_hns(int32_t spill, farray<double, 1>& slick_area) {
  auto& m = var4;
  auto& c = var_cfg;
  const auto& sp = var_spill;
  const float tw = sp.watertemperature(spill);
  m.dens(spill) = (1.0f - (tw - sp.densityreferencetemperature(spill)) * sp.ct) * sp.density(spill);
  if (c.spreading__y_n == 1 && c.spreadalgorithm__adios2_leher_hns == 1) {
    const double wd = static_cast<double>(sp.waterdensity(spill));
    var_spill.deltarho(spill) = static_cast<float>((wd - m.dens(spill)) / wd);
  }
  const float temperature = std::exp((tw - sp.viscosityreferencetemperature(spill)) * sp.c5);
  m.visc(spill) = static_cast<double>(sp.viscosity(spill)) * static_cast<double>(temperature);

  const double volume = m.mass_surf(spill) / m.dens(spill);
  c.spillvolume(spill) = volume;
  // Without a surface particle there is no slick to share (only the thick-
  // slick spreading reads the volume per particle, and it needs one).
  const int32_t n_surf = var_part.par_surf(spill);
  m.volumeparticle(spill) = n_surf > 0 ? volume / n_surf : 0.0;

  const double area = slick_area(spill);
  const double minimum = c.minspillthickness(spill);
  if (area == 0.0) {
    c.thick(spill) = 0.0;
  } else if (minimum > 0.0 && minimum >= volume / area) {
    // The slick does not thin below its minimum: it shrinks instead.  A
    // minimum of 0 or less holds nothing (volume / minimum has no meaning).
    c.thick(spill) = minimum;
    slick_area(spill) = volume / minimum;
  } else {
    c.thick(spill) = volume / area;
  }
}

}  // namespace orvel
