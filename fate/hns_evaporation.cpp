// Evaporation of the floating mass of a chemical spill over one step: a
// mass-transfer law driven by the vapour pressure, the molar mass, the air
// temperature, the wind and the evaporating area, with a cap on the total
// evaporated fraction.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "fate/hns_slick.hpp"
#include "fate/oil_weathering.hpp"

namespace orvel {
namespace {

constexpr float atmosphere = 101325.0f;  // Pa

// Mass-transfer coefficient (m/s) of the computed form over an evaporating
// area whose equivalent diameter is ld (m), at wind u (m/s) and Schmidt
// number sc.
float computed_coefficient(float u, float ld, float sc) {
  return static_cast<float>(((static_cast<double>(var_calib.a) *
                              std::pow(static_cast<double>(u), static_cast<double>(0.77777f))) *
                             static_cast<double>(std::pow(ld, -0.111111f))) *
                            static_cast<double>(std::pow(sc, -0.666666f)));
}

// Equivalent diameter of an evaporating area (m2): sqrt(4 A / pi).
float equivalent_diameter(double area) {
  return static_cast<float>(std::sqrt(4.0 * area / static_cast<double>(3.141516f)));
}

// Molar flux times the molar mass, kg/s, over area (m2) with coefficient km
// (m/s), vapour pressure p (Pa), molar mass mw (kg/kmol) and air temperature
// ta (K); the gas constant is 8314 J/(kmol K).  Above atmospheric pressure
// the substance boils: the flux is scaled by -(patm/p) ln(1 - patm/p).
float evaporative_flux(float mw, float p, double area, float km, float ta) {
  float nf = static_cast<float>(((static_cast<double>(mw) * static_cast<double>(p)) * area) *
                                static_cast<double>(km) / static_cast<double>(8314.0f * ta));
  if (p > atmosphere) nf = nf * (-atmosphere / p) * std::log(1.0f - atmosphere / p);
  return nf;
}

// The step's mass m = min(floating mass, step) into diff_evp, or the whole
// allowance m0 fmax when m alone reaches it.
void step_mass(int32_t s, double step, double m0, float fmax) {
  auto& m = var4;
  const double mass = std::min(m.mass_surf(s), step);
  if (mass / m0 >= static_cast<double>(fmax)) {
    m.diff_evp(s) = m0 * static_cast<double>(fmax);
    m.per_evp(s) = static_cast<double>(fmax);
  } else {
    m.diff_evp(s) = mass;
  }
}

// The step's mass moved from the floating compartment to the evaporated one,
// up to the total allowance m0 fmax, at which evaporation stops for the rest
// of the simulation.  Returns the mass moved.
double transfer(int32_t s, double m0, float fmax) {
  auto& m = var4;
  const double before = m.masaevp(s);
  const double d = m.diff_evp(s);
  const double fraction = (before + d) / m0;
  double moved;
  if (fraction > static_cast<double>(fmax)) {
    m.per_evp(s) = static_cast<double>(fmax);
    moved = static_cast<double>(fmax) * m0 - before;
    var_cfg.evaporo(s) = 0;
    m.diff_evp(s) = 0.0;
  } else {
    m.per_evp(s) = fraction;
    moved = m.mass_surf(s) >= d ? d : m.mass_surf(s);
  }
  m.masaevp(s) = before + moved;
  m.mass_surf(s) = m.mass_surf(s) - moved;
  return moved;
}

}  // namespace

void evaporacionhns(int32_t spill, farray<double, 1>&) {
  auto& m = var4;
  const auto& sp = var_spill;
  const auto& cal = var_calib;
  const int32_t np = var_run.particle_number;

  const auto& w = var_currwindwave;
  float u = mean_wind_all(w.wintx.data(), w.winty.data(), np);
  if (u == 0.0f) u = cal.wind_min;
  var_currwindwave.wind10(spill) = static_cast<double>(u);

  // A spill of no mass has nothing to evaporate, and no fraction of it.
  // The fraction and the cap refer to the spill's own mass (a pulse's, in a
  // continuous release).
  const double m0 = reference_mass(spill);
  if (!(m0 > 0.0)) {
    m.diff_evp(spill) = 0.0;
    return;
  }

  const float p = 1000.0f * sp.vaporpressure(spill);
  const float mw = sp.hnsmolweight(spill);
  const float ta = sp.airtemperature(spill);
  const float fmax = sp.maxevaporation(spill) / 100.0f;
  // Schmidt number of the vapour in air: the kinematic viscosity of air over
  // the vapour's diffusivity in air, that of water vapour (2.3e-5 m2/s)
  // scaled by sqrt(18 / MW).
  const float sc = 1.5e-5f / (std::sqrt(18.0f / mw) * 2.3e-5f);

  const bool three_d = var_run.sim__2d_3d == 2;
  // A 3-D spill with no particle afloat has no slick: its floating mass
  // would have no particle to leave.
  if (three_d && var_part.numpartsurfevap <= 0) {
    m.diff_evp(spill) = 0.0;
    return;
  }
  // The slick area: in 3-D the floating particles form the slick, as in 2-D.
  const double area = m.areaparticlesurftotal(spill);
  float km = cal.km;
  if (cal.calibevap_option == 1 || three_d) {
    // A slick of no area gives no coefficient (its diameter's negative
    // power would be infinite and the flux 0 times infinity).
    const float ld = equivalent_diameter(area);
    km = ld != 0.0f ? computed_coefficient(u, ld, sc) : 0.0f;
  }
  // A pulse of a continuous release evaporates over its share of the one
  // slick, with the coefficient of the whole slick.
  const double part = area * slick_share(spill);
  step_mass(spill, static_cast<double>(evaporative_flux(mw, p, part, km, ta) * var_run.deltat), m0, fmax);

  const double floating = m.mass_surf(spill);
  const double moved = transfer(spill, m0, fmax);
  if (three_d) take_from_surface(spill, moved, floating);
}

}  // namespace orvel
