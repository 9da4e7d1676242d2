// Entrained oil as particles: the mass that breaking waves drive into the
// water column in a step, shared over the droplet classes of the step, goes
// with surface particles drawn at random to random depths below the surface.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "control/state/all.hpp"
#include "fate/oil_weathering.hpp"
#include "fate/wave_entrainment.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

// Indices (from 0) of the spill's particles in state 1, in index order.  The
// storage is kept from call to call: it grows at most to the particle count.
std::vector<int32_t>& surface_particles() {
  static std::vector<int32_t> v;
  return v;
}

// Whole number nearest to x, halves away from zero, in single precision.
float nint(float x) { return std::round(x); }

}  // namespace

void entrainedparticlesredistribution(int32_t spill, farray<double, 1>& slick_area) {
  auto& cw = var_currwindwave;
  const auto& vd = varverticaldispersion;
  const double h = wave_height_in_use();
  const double hb =
      h != 0.0 ? static_cast<double>(0.70710677f) * h : static_cast<double>(wind_breaking_height(cw.wind10(spill)));
  cw.hbreak = hb;

  // Nothing was entrained, or nothing floats: 0 / 0 is never formed.
  const double massdisp = var4.massdisp(spill);
  const double mass_surf = var4.mass_surf(spill);
  if (massdisp == 0.0 || mass_surf == 0.0) return;

  // The share of the floating mass entrained this step, in surface particles.
  const float total = nint(static_cast<float>(massdisp / mass_surf) * static_cast<float>(var_part.par_surf(spill)));
  const float depth_scale = static_cast<float>(1.5 * hb);
  const double area = slick_area(spill);
  const double dt = static_cast<double>(var_run.deltat);
  const double factor = var_mallas.factor;

  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  double* z = var_part.z_part.ptr(1, spill);
  double* mass = var4.massparticle.ptr(1, spill);
  double* diameter = var_part.diam_part.ptr(1, spill);
  // The particles to draw from, gathered at the first class that draws.
  auto& candidates = surface_particles();
  bool gathered = false;

  for (std::size_t k = 0; k < vd.qd.size(); ++k) {
    const double class_mass = static_cast<double>(vd.qd[k]) * dt * area;
    const float proportion = static_cast<float>(class_mass / massdisp);
    const float count = nint(proportion * total);
    // No draw for a count of 0 or less, or one that is not a finite number.
    if (!(count >= 1.0f && count < 9.0e18f)) continue;
    if (!gathered) {
      candidates.clear();
      candidates.reserve(static_cast<std::size_t>(np));
      for (int32_t p = 0; p < np; ++p) {
        if (state[p] == 1) candidates.push_back(p);
      }
      gathered = true;
    }
    // Without a particle at the surface there is nothing to draw.
    if (candidates.empty()) return;
    const double ns = static_cast<double>(candidates.size());
    const double particle_mass = class_mass / static_cast<double>(count);
    const double class_diameter = static_cast<double>(vd.dropdiam[k]);
    const auto draws = static_cast<int64_t>(count);
    for (int64_t m = 0; m < draws; ++m) {
      const auto pick = static_cast<std::size_t>(std::floor(static_cast<double>(rand(0)) * ns));
      const int32_t p = candidates[pick];
      z[p] = static_cast<double>(rand(0) * depth_scale) / factor;
      mass[p] = particle_mass;
      diameter[p] = class_diameter;
    }
  }
}

}  // namespace orvel
