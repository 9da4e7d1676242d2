// Dissolution of a chemical into the sea over one step, from its floating
// slick and from its droplets in the water: a mass-transfer coefficient per
// unit area (from a Sherwood number and the Hayduk-Laudie diffusivity)
// times the solubility.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/parallel.hpp"
#include "control/state/all.hpp"
#include "fate/hns_slick.hpp"
#include "fate/hns_water.hpp"
#include "fate/oil_weathering.hpp"
#include "fate/wave_entrainment.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// Molecular diffusivity of the chemical of spill s in sea water, cm2/s, by
// the Hayduk-Laudie form c / (mu^1.14 Vb^0.589): Vb the molar volume at the
// boiling point from the molar mass (organic or inorganic), mu the water's
// viscosity in centipoise.
float diffusivity(int32_t s, float c) {
  const float mw = var_spill.hnsmolweight(s);
  const float vb = var_spill.hnsorganic__y_n(s) == 1.0f ? 4.9807f * std::pow(mw, 0.651f)
                                                       : 2.8047f * std::pow(mw, 0.6963f);
  const float mu = static_cast<float>(1000.0 * var_spill.kinemviscosity_water) * 1000.0f;
  return c / (std::pow(mu, 1.14f) * std::pow(vb, 0.589f));
}

// Mean advection speed of the spill's particles, as held (degrees per
// second): the speeds in double precision, the running sum and the quotient
// in single precision.
float mean_current(int32_t s) {
  const auto& w = var_currwindwave;
  return mean_wind_all(w.uadv.ptr(1, s), w.vadv.ptr(1, s), var_run.particle_number);
}

// Wind over the slick: the evaporation of the step left it in wind10
// unless evaporation is off; then the mean wind of all the particles.
float slick_wind(int32_t spill) {
  auto& w = var_currwindwave;
  if (var_cfg.evaporo(spill) == 0) {
    w.wind10(spill) = static_cast<double>(mean_wind_all(w.wintx.data(), w.winty.data(), var_run.particle_number));
  }
  return static_cast<float>(w.wind10(spill));
}

// Mass (kg) that the floating slick of the spill gives to the sea in the
// step, not yet limited to the floating mass: a flat plate of the slick's
// diameter over the slick area areaparticlesurftotal, with the coefficient
// computed from diffusivity d (cm2/s) and the wind u when `computed`, else
// the calibrated kd.  A slick of no area (or no floating mass) dissolves
// nothing; the computed coefficient would be 0/0.
float slick_dissolution(int32_t spill, float d, bool computed, float u) {
  const auto& mb = var4;
  const double floating = mb.mass_surf(spill);
  if (floating == 0.0) return 0.0f;
  const float nuf = static_cast<float>(var_spill.kinemviscosity_water);
  const float a = static_cast<float>(mb.areaparticlesurftotal(spill));
  const float l = std::sqrt(4.0f * a / 3.14159f);
  if (!(l > 0.0f)) return 0.0f;
  float kd = var_calib.kd;
  if (computed) {
    const float sc = 10000.0f * nuf / d;
    const float v = std::pow(sc, 0.3333333f) * 0.578f * std::sqrt(u * l / nuf);
    kd = v * (d * 1e-4f) / l;
  }
  // A pulse of a continuous 3-D release dissolves over its share of the one
  // slick, with the coefficient of the whole slick.
  const float part = static_cast<float>(static_cast<double>(a) * slick_share(spill));
  float m_s = part * (var_spill.watersolubility(spill) * 0.001f) * kd * var_run.deltat;
  // Without spreading the slick keeps its first area: dissolution follows
  // the share of the first floating mass still afloat.
  const double first = mb.mass_surf_ini(spill);
  if (var_cfg.spreading__y_n == 0 && first != 0.0) {
    m_s = static_cast<float>(static_cast<double>(static_cast<float>(static_cast<double>(m_s) / first)) * floating);
  }
  return m_s;
}

// Fall (m2) over a step of dt seconds of the squared diameter of a droplet
// of density rho (kg/m3), molecular diffusivity dm (m2/s) and solubility sol
// (kg/m3) dissolving in still water: 8 dm sol dt / rho.
double still_water_shrink(double rho, double dm, double sol, double dt) { return 8.0 * dm * sol * dt / rho; }

// Share of a droplet's mass left once its squared diameter d2 (m2) has
// fallen by `shrink`: (1 - shrink / d2)^(3/2), 0 once it is gone.
double still_water_left(double d2, double shrink) {
  if (!(shrink < d2)) return 0.0;
  return std::pow(1.0 - shrink / d2, 1.5);
}

// Diameter (m) of the droplets into which a chemical denser than the water
// breaks as it sinks, and in which it lies on the sea floor.
constexpr double floor_droplet_diameter = 1e-3;

// Mass (kg) that dissolves over a step of dt seconds from `mass` kg of
// droplets on the sea floor, first `first` kg of droplets of
// floor_droplet_diameter, of density rho (kg/m3), molecular diffusivity
// dm (m2/s) and solubility sol (kg/m3).  In still water a droplet dissolves
// by diffusion alone (Sherwood number 2): its mass falls as
// 2 pi dm sol d, so the square of its diameter falls linearly, by
// 8 dm sol / rho per second, and it is gone after rho d^2 / (8 dm sol).
// Integrated exactly over the step (the droplets' present diameter follows
// from their present mass), the result does not depend on the step.
double floor_dissolution(double mass, double first, double rho, double dm, double sol, double dt) {
  if (!(mass > 0.0) || !(first > 0.0) || !(rho > 0.0)) return 0.0;
  const double d0 = floor_droplet_diameter;
  const double d2 = d0 * d0 * std::cbrt((mass / first) * (mass / first));
  return mass - mass * still_water_left(d2, still_water_shrink(rho, dm, sol, dt));
}

}  // namespace

void dissolve_2d(int32_t spill, farray<double, 1>& /*slick_area*/) {
  auto& mb = var4;
  auto& w = var_currwindwave;
  auto& vd = varverticaldispersion;
  const auto& cal = var_calib;
  const bool calibrated = cal.calibdisol_option == 1;
  const float d = diffusivity(spill, calibrated ? cal.dissolparam * 1e-5f : 1.326e-4f);
  const float nuf = static_cast<float>(var_spill.kinemviscosity_water);
  const float s_kgm3 = var_spill.watersolubility(spill) * 0.001f;
  const float dt = var_run.deltat;

  // Wind over the slick and current past the droplets.
  const float u = slick_wind(spill);
  const float uc = mean_current(spill);
  w.currmean(spill) = static_cast<double>(uc);
  const float sc = 10000.0f * nuf / d;
  const float d_si = d * 1e-4f;

  const double floating = mb.mass_surf(spill);
  float m_s = slick_dissolution(spill, d, calibrated, u);

  // Droplets: the dispersed volume shared equally over ten size classes,
  // each droplet a sphere past which the current flows.
  const float d50 = median_droplet(mb.visc(spill));
  const float dmax = std::min(1e-6f * d50, 7e-5f);
  const float dd = store_droplet_classes(d50, dmax);
  const float dmin = vd.dmin_disp;
  const float vd_class = static_cast<float>(mb.mass_disp_cumul(spill) / mb.dens(spill)) / 10.0f;
  const float sc_third = std::pow(sc, 0.333333f);
  double droplet_sum = 0.0;
  for (std::size_t k = 0; k < vd.dropdiam.size(); ++k) {
    const float dk = static_cast<float>(k) * dd + (0.5f * dd + dmin);
    vd.dropdiam[k] = dk;
    const float reynolds = dk * uc / nuf;
    const float sherwood = 2.0f + 0.552f * sc_third * std::sqrt(reynolds);
    // Droplets of the class, each of volume pi r^3 as in the droplet tables;
    // counted in double precision, as a gram of micrometre droplets already
    // numbers more than 2^31.  A class of no size holds none.
    const float r = dk / 2.0f;
    if (!(dk > 0.0f)) continue;
    const double n = std::round(static_cast<double>(vd_class / (3.14159f * (r * r * r))));
    droplet_sum += static_cast<double>(sherwood * d_si / dk) * n * static_cast<double>(3.14159f) *
                   static_cast<double>(dk * dk);
  }
  float m_d = static_cast<float>(static_cast<double>(s_kgm3 * dt) * droplet_sum);

  // Never more than there is.
  if (m_s < 0.0f) {
    m_s = 0.0f;
  } else if (static_cast<double>(m_s) > floating) {
    m_s = static_cast<float>(floating);
  }
  const double dispersed = mb.mass_disp_cumul(spill);
  if (m_d < 0.0f) {
    m_d = 0.0f;
  } else if (static_cast<double>(m_d) > dispersed) {
    m_d = static_cast<float>(dispersed);
  }
  mb.mdissolved_surf = m_s;

  // Droplets on the sea floor (a chemical denser than the water).
  const double lying = mb.mass_floor(spill);
  const double m_f = floor_dissolution(lying, mb.mass_floor_ini(spill), mb.dens(spill), static_cast<double>(d_si),
                                       static_cast<double>(s_kgm3), static_cast<double>(dt));
  mb.mass_floor(spill) = std::max(0.0, lying - m_f);

  mb.mass_disp_cumul(spill) = std::max(0.0, dispersed - static_cast<double>(m_d));
  mb.mass_surf(spill) = std::max(0.0, floating - static_cast<double>(m_s));
  mb.mass_diss_dt(spill) = static_cast<double>(m_s + m_d) + m_f;
  mb.mass_diss_cumul(spill) += mb.mass_diss_dt(spill);
  mb.mass_diss_column_cumul(spill) = 0.0f;
  mb.mass_diss_surf_cumul(spill) += m_s;
}

double droplet_dissolution_time(int32_t spill, double d) {
  const double dm = static_cast<double>(diffusivity(spill, 1.326e-4f) * 1e-4f);
  const double sol = static_cast<double>(0.001f * var_spill.watersolubility(spill));
  const double rho = static_cast<double>(var_spill.density(spill));
  if (!(dm > 0.0) || !(sol > 0.0)) return std::numeric_limits<double>::infinity();
  return rho * d * d / (8.0 * dm * sol);
}

void dissolve_3d(int32_t spill) {
  auto& mb = var4;
  const float d = diffusivity(spill, 1.326e-4f);
  const float nuf = static_cast<float>(var_spill.kinemviscosity_water);
  // The diffusivity in m2/s, and the cube root of the Schmidt number.
  const float d_si = d * 1e-4f;
  const float c = std::pow(10000.0f * nuf / d, 1.0f / 3.0f);
  const double factor = var_mallas.factor;
  const double coslat = std::cos(var_mallas.latmean * static_cast<double>(3.1416f) / 180.0);

  // The floating particles form the slick: it dissolves over its area as in
  // 2-D, always with the computed coefficient, and its loss is shared among
  // them by their mass.
  const double floating = mb.mass_surf(spill);
  const double taken =
      std::min(static_cast<double>(std::max(0.0f, slick_dissolution(spill, d, true, slick_wind(spill)))), floating);
  take_from_surface(spill, taken, floating);

  // Every droplet in the water or on the floor dissolves over its surface
  // and shrinks: its mass falls as pi d^2 k S, k = Sh D / d the mass-transfer
  // coefficient, so its squared diameter falls by 4 Sh D S / rho a second
  // (8 D S / rho in still water, Sh = 2, where it is gone after
  // rho d^2 / (8 D S)).  The droplets keep their number; over a step the
  // fall is exact for a Sherwood number held at its value of the start of
  // the step.
  const double still_fall = still_water_shrink(mb.dens(spill), static_cast<double>(d_si),
                                               static_cast<double>(0.001f * var_spill.watersolubility(spill)),
                                               static_cast<double>(var_run.deltat));
  const bool dissolving = still_fall > 0.0 && mb.dens(spill) > 0.0;

  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  double* diam = var_part.diam_part.ptr(1, spill);
  double* rise = var_part.w_float.allocated() ? var_part.w_float.ptr(1, spill) : nullptr;
  double* mass = var4.massparticle.ptr(1, spill);
  float* equiv = var_hns_extra.equiv_part.ptr(1, spill);
  const double* ux = var_currwindwave.uadv.ptr(1, spill);
  const double* uy = var_currwindwave.vadv.ptr(1, spill);
  // Each droplet's dissolved mass in the water column and on the floor,
  // found on the threads, is added in particle order.
  struct dissolved {
    double column = 0.0, floor = 0.0;
  };
  // Particle j's droplets with their squared diameter fallen by `fall`;
  // returns the mass it loses.  A droplet of no size or no mass has nothing
  // to dissolve.
  auto shrink = [&](int64_t j, double fall) -> double {
    if (!dissolving || !(diam[j] > 0.0) || !(mass[j] > 0.0)) return 0.0;
    const double carried = static_cast<double>(equiv[j]) * mass[j];
    const double d2 = diam[j] * diam[j];
    const double left = still_water_left(d2, fall);
    if (!(left > 0.0)) {
      // Its droplets are gone: what is left is a parcel of the water that
      // holds them dissolved, which neither rises nor settles.
      equiv[j] = 0.0f;
      diam[j] = 0.0;
      if (rise) rise[j] = 0.0;
      return carried;
    }
    diam[j] = std::sqrt(d2 - fall);
    mass[j] *= left;
    return carried - static_cast<double>(equiv[j]) * mass[j];
  };
  // On the floor the water is still.
  auto on_floor = [&](int64_t j) -> double { return shrink(j, still_fall); };
  // In the column the current past the droplet raises its Sherwood number.
  auto in_column = [&](int64_t j) -> double {
    if (!(diam[j] > 0.0)) return 0.0;
    const double cx = ux[j] * coslat * factor;
    const double cy = uy[j] * factor;
    const float uc = static_cast<float>(std::sqrt(cx * cx + cy * cy));
    const float dj = static_cast<float>(diam[j]);
    const float sherwood = 0.552f * c * std::sqrt(uc * dj / nuf) + 2.0f;
    return shrink(j, 0.5 * static_cast<double>(sherwood) * still_fall);
  };
  auto dissolve = [&](int64_t j) -> dissolved {
    dissolved d;
    if (state[j] == indp_column) d.column = in_column(j);
    if (state[j] == indp_floor) d.floor = on_floor(j);
    return d;
  };
  double from_column = 0.0, from_floor = 0.0;
  in_item_order<dissolved>(np, dissolve, [&](int64_t, const dissolved& m) {
    from_column += m.column;
    from_floor += m.floor;
  });

  // What leaves the floor dissolves into the water above it: it is booked
  // with the column's dissolved part.
  const double below = from_column + from_floor;
  mb.mdissolved_surf = static_cast<float>(taken);
  mb.mdissolved_col = static_cast<float>(below);
  mb.mass_diss_surf_cumul(spill) += taken;
  mb.mass_diss_column_cumul(spill) += below;
  mb.mass_surf(spill) -= taken;
  mb.mass_column(spill) -= from_column;
  mb.mass_floor(spill) -= from_floor;
  mb.mass_diss_dt(spill) = taken + below;
  mb.mass_diss_cumul(spill) = mb.mass_diss_surf_cumul(spill) + mb.mass_diss_column_cumul(spill);
}

}  // namespace orvel
