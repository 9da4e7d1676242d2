// Breaking waves at the sea surface: the wave height in use, the height of a
// wind sea, and the entrainment rates of the ten droplet classes that the
// oil and the chemical natural-dispersion routines share.
#pragma once

#include <cmath>
#include <cstdint>

#include "control/state/varverticaldispersion.hpp"

namespace orvel {

// Wave height in use, m: record i_ola of the uniform wave series.  With wave
// fields from files the series holds zeros (or does not exist), so the height
// is 0 and the breaking height comes from the wind.
double wave_height_in_use();

// Significant height of a fully developed wind sea under a wind of u m/s:
// float(u^1.23 * 0.17253 / 9.81), the power and the quotient in double
// precision.
float wind_sea_height(double u);

// Breaking-wave height of a sea without waves under a mean wind of u m/s:
// 0.70710677 * wind_sea_height(u).
float wind_breaking_height(double u);

// Largest droplet of the entrainment classes: twice the median size (oil),
// or 70 micrometres whatever the median size (chemicals).
enum class largest_droplet { twice_median, seventy_micrometres };

// The wave-breaking state of the spill and its entrainment rates: the
// dispersion coefficient from the slick viscosity visc(spill); the mean wind
// of the surface particles over all the spill's particles (2 m/s when calm or
// when nothing floats) into wind10(spill); the breaking height (from the
// waves in use, else from the wind sea), the dissipated energy, the period
// and the fraction of the surface hit per second; then the ten droplet
// classes below the largest droplet and their rates qd, with qtot.  The
// results stand in var_currwindwave and varverticaldispersion.
void entrainment_rates(int32_t spill, largest_droplet largest);

// The median droplet size, micrometres, of a product of kinematic viscosity
// nu (cSt).
inline float median_droplet(double nu) {
  return static_cast<float>(std::pow(nu, static_cast<double>(0.34f)) * static_cast<double>(25.710402f));
}

// The ten droplet classes from a tenth of the median d50 (micrometres) to
// dmax (m), stored in varverticaldispersion; gives the class width, m.
inline float store_droplet_classes(float d50, float dmax) {
  auto& vd = varverticaldispersion;
  const float dmin = 1e-7f * d50;
  const float dd = (dmax - dmin) / 10.0f;
  vd.d50_disp = d50;
  vd.dmax_disp = dmax;
  vd.dmin_disp = dmin;
  vd.deltad_disp = dd;
  return dd;
}

}  // namespace orvel
