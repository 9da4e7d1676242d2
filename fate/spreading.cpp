// Growth of an oil or chemical slick over one step: Fay-type gravity-viscous
// spreading with its random-walk diffusivity, Lehr's wind-elongated slick,
// or (chemicals) the thick-slick growth of each surface particle's area.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "control/state/all.hpp"
#include "fate/hns_slick.hpp"
#include "fate/oil_weathering.hpp"
#include "transport/position.hpp"

namespace orvel {
namespace {

constexpr double third = static_cast<double>(0.33333334f);
constexpr double two_thirds = static_cast<double>(0.6666667f);
constexpr double four_thirds = static_cast<double>(1.3333334f);

// The gravity term V^2 g delta / sqrt(nu) of Fay-type spreading for a slick
// of v m3 with relative density difference delta.  A slick denser than the
// water (a heavy emulsion) does not spread by gravity: the term is 0, where
// a negative one would make the fractional powers NaN.
double fay_gravity(double v, float delta) {
  const double x = ((v * v) * static_cast<double>(9.81f)) * static_cast<double>(delta) /
                   std::sqrt(var_spill.kinemviscosity_water);
  return x < 0.0 ? 0.0 : x;
}

// Fay-type area (m2) tau seconds after the release, for gravity term x.
double fay_area(double area_factor, double x, double tau) {
  return area_factor * std::pow((std::sqrt(tau) * tau) * x, third);
}

// Fay-type spreading: area and diffusivity from the time since the spill's
// release (a spill or pulse that starts late spreads as one released at 0
// would at the same age).  For a spreading constant k, area_factor
// is pi k^2 and k_factor k^2 / 16; the area is held at no less than *floor
// when a floor is given.
void fay(int32_t s, float t, double area_factor, double k_factor, const float* floor, farray<double, 1>& slick_area,
         double& coef_r, double& coef_q) {
  const auto& c = var_cfg;
  const double tau = static_cast<double>(t) - c.spillstarttime(s);
  const double x = fay_gravity(c.spillvolume(s), var_spill.deltarho(s));
  const double x13 = std::pow(x, third);
  const double a_fay = fay_area(area_factor, x, tau);
  slick_area(s) = floor ? std::max(static_cast<double>(*floor), a_fay) : a_fay;
  const float age = static_cast<float>(tau);
  const float k1 = 0.033f * std::pow(age, 0.16f);
  const float rsqrt_t = 1.0f / std::sqrt(age);
  const double k = static_cast<double>(k1) + (k_factor * x13) * static_cast<double>(rsqrt_t);
  coef_r = std::sqrt(2.0 * k / static_cast<double>(var_run.deltat));
  coef_q = 0.0;
}

// Lehr's axes R (cross-wind) and Q (along the wind) at time tm minutes, in
// double precision, for the ratio of their increments.
struct lehr_axes {
  double r_factor;  // 1.7 Vb^(1/3) r^(1/3)
  double q_factor;  // 0.03 U^(4/3)
  double r(double tm) const { return tm > 0.0 ? r_factor * std::sqrt(std::sqrt(tm)) : 0.0; }
  double q(double tm) const { return (tm > 0.0 ? q_factor * std::pow(tm, 0.75) : 0.0) + r(tm); }
};

// Ratio of the last two increments of f at tm, tm - d, tm - 2d; 0 when the
// older increment is 0.
template <typename F>
double increment_ratio(F f, double tm, double d) {
  const double f0 = f(tm), f1 = f(tm - d), f2 = f(tm - 2.0 * d);
  const double older = f1 - f2;
  return older == 0.0 ? 0.0 : (f0 - f1) / older;
}

// Lehr's area is 1000 (p sqrt(tm) + q tm) m2 tm minutes after the release,
// for the density ratio r ((water - product) / product), vb barrels released
// and a wind of u knots.
struct lehr_terms {
  double p, q;
};
lehr_terms lehr_of(float r, double vb, double u) {
  const float r23 = std::pow(r, 0.6666667f);
  const float r13 = std::pow(r, 0.33333334f);
  return {static_cast<double>(2.27f * r23) * std::pow(vb, two_thirds),
          ((static_cast<double>(0.04f) * static_cast<double>(r13)) * std::pow(vb, third)) * std::pow(u, four_thirds)};
}

double lehr_area(float r, double vb, double u, float tm) {
  const lehr_terms l = lehr_of(r, vb, u);
  return 1000.0 * (l.p * static_cast<double>(std::sqrt(tm)) + l.q * static_cast<double>(tm));
}

// Lehr's density ratio of spill s, 0 for a product denser than the water
// (no gravity spreading, and no NaN powers).
float lehr_ratio(int32_t s) {
  const auto& sp = var_spill;
  const float r = sp.deltarho(s) * sp.waterdensity(s) / sp.density(s);
  return r < 0.0f ? 0.0f : r;
}

// Lehr's slick against the reference area a0 (the initial area until the
// slick area is first set, then the previous step's), from the time since the
// spill's release.
void lehr(int32_t s, int32_t step, float t, float a0, farray<double, 1>& slick_area, double& coef_r,
          double& coef_q) {
  const float r = lehr_ratio(s);
  const double vb = static_cast<double>(6.29f) * var_cfg.vol0(s);
  const double u = static_cast<double>(1.942615f) * var_currwindwave.uwind(s);
  const double age = static_cast<double>(t) - var_cfg.spillstarttime(s);
  const float tm = static_cast<float>(age) / 60.0f;
  const float r13 = std::pow(r, 0.33333334f);
  const float sqrt_tm = std::sqrt(tm);
  const double vb13 = std::pow(vb, third);
  const double u43 = std::pow(u, four_thirds);
  slick_area(s) = std::max(static_cast<double>(a0), lehr_area(r, vb, u, tm));

  const lehr_axes axes{(static_cast<double>(1.7f) * vb13) * static_cast<double>(r13),
                       static_cast<double>(0.03f) * u43};
  if (lehr_from_release(s, step)) {
    // The spill's first spreading step: the offsets from the release point
    // scaled by the axes over the squared radius of the initial slick.
    const double big_r = axes.r_factor * std::sqrt(static_cast<double>(sqrt_tm));
    const double big_q = axes.q_factor * static_cast<double>(std::pow(tm, 0.75f)) + big_r;
    const float s0 = a0 / 3.14159f;
    if (s0 > 0.0f) {
      coef_q = 10.0 * big_r / static_cast<double>(s0);
      coef_r = 100.0 * big_q / static_cast<double>(s0);
    } else {
      coef_q = 0.0;
      coef_r = 0.0;
    }
    return;
  }
  // Later steps: each particle's last growth scaled by the ratio of the last
  // two increments of the axes, so that the cloud follows the Lehr ellipse.
  const double tmd = age / 60.0;
  const double d = static_cast<double>(var_run.deltat) / 60.0;
  coef_r = increment_ratio([&](double x) { return axes.q(x); }, tmd, d);
  coef_q = increment_ratio([&](double x) { return axes.r(x); }, tmd, d);
}

// Thick-slick growth of a chemical: each surface particle's share of the
// slick grows at the calibrated rate m (m2/s); coef_r from m.
void thick_slick(int32_t s, farray<double, 1>& slick_area, double& coef_r, double& coef_q) {
  coef_q = 0.0;
  const int32_t n = var_part.par_surf(s);
  if (n <= 0) {
    // No surface particle: no slick to grow.
    coef_r = 0.0;
    var4.spreadingdiffcoef(s) = 0.0f;
    return;
  }
  const double a = slick_area(s);
  const double ap = a / static_cast<double>(n);
  // A slick of no area has nothing to grow from (the shares would be 0/0).
  float m = 0.0f;
  if (ap > 0.0) {
    m = static_cast<float>(((var_calib.spreadingrateconstant * std::pow(ap, static_cast<double>(0.3333333f))) *
                            std::pow(var4.volumeparticle(s) / ap, static_cast<double>(1.3333333f))) *
                           std::pow(ap / a, static_cast<double>(0.6666667f)));
  }
  const float dt = var_run.deltat;
  var4.areaparticlesurf(s) = ap + static_cast<double>(dt * m);
  slick_area(s) = var4.areaparticlesurf(s) * static_cast<double>(n);
  var4.spreadingdiffcoef(s) = m;
  coef_r = static_cast<double>(std::sqrt(6.0f * m / dt));
}

}  // namespace

double hns_spread_area(int32_t spill, double floating, double released, double age) {
  switch (var_cfg.spreadalgorithm__adios2_leher_hns) {
    case 1: {
      const double k2sq = var_calib.k2 * var_calib.k2;
      return fay_area(k2sq * static_cast<double>(3.14159f), fay_gravity(floating, var_spill.deltarho(spill)), age);
    }
    case 3:
      return 0.0;
    default: {
      const double vb = static_cast<double>(6.29f) * released;
      const double u = static_cast<double>(1.942615f) * var_currwindwave.uwind(spill);
      return lehr_area(lehr_ratio(spill), vb, u, static_cast<float>(age) / 60.0f);
    }
  }
}

double hns_spread_age(int32_t spill, double floating, double released, double area) {
  if (!(area > 0.0)) return 0.0;
  switch (var_cfg.spreadalgorithm__adios2_leher_hns) {
    case 1: {
      // A = F x^(1/3) tau^(1/2).
      const double k2sq = var_calib.k2 * var_calib.k2;
      const double scale = k2sq * static_cast<double>(3.14159f) *
                           std::pow(fay_gravity(floating, var_spill.deltarho(spill)), third);
      return scale > 0.0 ? (area / scale) * (area / scale) : 0.0;
    }
    case 3:
      return 0.0;
    default: {
      // A / 1000 = p s + q s^2 with s = sqrt(tm): the positive root.
      const lehr_terms l = lehr_of(lehr_ratio(spill), static_cast<double>(6.29f) * released,
                                   static_cast<double>(1.942615f) * var_currwindwave.uwind(spill));
      const double a = area / 1000.0;
      double root = 0.0;
      if (l.q > 0.0) {
        root = 2.0 * a / (l.p + std::sqrt(l.p * l.p + 4.0 * l.q * a));
      } else if (l.p > 0.0) {
        root = a / l.p;
      }
      return 60.0 * root * root;
    }
  }
}

void spreading(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r, double& coef_q) {
  const float t = static_cast<float>(step) * var_run.deltat;
  if (var_cfg.spreadalgorithm__adios2_leher_hns == 1) {
    fay(spill, t, static_cast<double>(4.5996027f), static_cast<double>(0.09150626f), &var_spill.area_oil(spill),
        slick_area, coef_r, coef_q);
  } else {
    lehr(spill, step, t, var_spill.area_oil(spill), slick_area, coef_r, coef_q);
  }
}

void spreadinghns(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r, double& coef_q) {
  const float t = static_cast<float>(step) * var_run.deltat;
  switch (var_cfg.spreadalgorithm__adios2_leher_hns) {
    case 1: {
      // The calibrated constant k2 in place of oil's 1.21, and no floor.
      const double k2sq = var_calib.k2 * var_calib.k2;
      fay(spill, t, k2sq * static_cast<double>(3.14159f), k2sq * 0.0625, nullptr, slick_area, coef_r, coef_q);
      break;
    }
    case 3:
      thick_slick(spill, slick_area, coef_r, coef_q);
      break;
    default:
      lehr(spill, step, t, var_spill.area_hns(spill), slick_area, coef_r, coef_q);
      break;
  }
}

}  // namespace orvel
