#include "control/substance.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "common/errors.hpp"
#include "common/farray.hpp"
#include "control/input_ranges.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"

namespace orvel {
namespace {

// Element 1 of each array copied to elements 2 to n.
template <typename... A>
void copy_first(int32_t n, A&... a) {
  for (int32_t k = 2; k <= n; ++k) ((a(k) = a(1)), ...);
}

}  // namespace

void set_substance_constants() {
  auto& s = var_spill;
  s.ct = 0.0008f;
  s.ceva = 0.18006f;
  s.c3 = 2.5f;
  s.c4 = 0.65f;
}

int32_t pulse_count(const std::string& file, int64_t line) {
  const auto& c = var_cfg;
  // The model step and the duration are held to their own ranges before
  // any rule that combines them: a value out of range is refused as such.
  check_range("deltat", var_run.deltat, c.obj__floating_fuel_hns, file);
  const input_range& duration = input_range_for("spillduration", c.obj__floating_fuel_hns);
  if (!in_range(duration, c.spillduration)) {
    throw input_error(file, line, "spillduration = " + value_text(c.spillduration) + ": must be " + allowed_text(duration));
  }
  // Checked before the step comparison: it guards the division below and
  // names the real fault.
  if (c.delta_vertidocontinuo <= 0) {
    throw input_error(file, line,
                      "delta_vertidocontinuo (pulse interval of the continuous release) must be "
                      "greater than 0 seconds, found " +
                          std::to_string(c.delta_vertidocontinuo));
  }
  if (var_run.deltat > static_cast<float>(c.delta_vertidocontinuo)) {
    // Bad input like any other: refused with the file, the line and the
    // fix; the message keeps the stop's own words first.
    throw input_error(file, line,
                      "abort: DT_PULSOS (.cfg) has to be greater than or equal to DT_MODELO (.run): the pulse "
                      "interval delta_vertidocontinuo = " +
                          std::to_string(c.delta_vertidocontinuo) +
                          " s (record 18 of the scenario file) is shorter than the model time step deltat = " +
                          value_text(var_run.deltat) +
                          " s (record 10 of the run-control file): make the pulse interval at least the time step");
  }
  const double n = 3600.0 * c.spillduration / static_cast<double>(c.delta_vertidocontinuo);
  if (!(n >= 1.0)) {
    throw input_error(file, line,
                      "a continuous release of " + value_text(c.spillduration) + " h with a pulse every " +
                          std::to_string(c.delta_vertidocontinuo) +
                          " s has no pulse: spillduration must cover at least one pulse interval");
  }
  if (n >= 2147483648.0) {
    throw input_error(file, line,
                      "a continuous release of " + value_text(c.spillduration) + " h with a pulse every " +
                          std::to_string(c.delta_vertidocontinuo) + " s has " + value_text(std::trunc(n)) +
                          " pulses, more than a 32-bit count holds");
  }
  return static_cast<int32_t>(n);
}

int32_t release_pulses() {
  const auto& c = var_cfg;
  // The release has at least the pulses that are sized (a state set up
  // without a duration gives no more).
  if (c.delta_vertidocontinuo <= 0) return c.spills_number;
  const double n = 3600.0 * c.spillduration / static_cast<double>(c.delta_vertidocontinuo);
  return n >= 1.0 && n < 2147483648.0 ? std::max(static_cast<int32_t>(n), c.spills_number) : c.spills_number;
}

void derive_spill(int32_t k) {
  auto& c = var_cfg;
  auto& s = var_spill;

  s.watertemperature(k) = s.watertemperature(k) + 273.0f;
  s.airtemperature(k) = s.airtemperature(k) + 273.0f;
  const float tw = s.watertemperature(k);

  if (var_run.sim__2d_3d == 1) c.spillposition_z(k) = 0.0;

  c.masa0(k) = c.spilledmass(k);

  const float density_read = s.density(k);
  const float viscosity_read = s.viscosity(k);

  if (c.obj__floating_fuel_hns == 3) {
    // The volume of an HNS follows from its mass; the line's volume is not used.
    const float v = static_cast<float>(c.spilledmass(k) / static_cast<double>(density_read));
    c.spillvolume(k) = v;
    c.vol0(k) = v;
  } else {
    c.vol0(k) = c.spillvolume(k);
  }

  s.area_maxima(k) = static_cast<float>(c.spillvolume(k) / c.minspillthickness(k));
  c.area0(k) = c.spillsize_sidex(k) * c.spillsize_sidey(k);

  if (c.evaporation__y_n == 1) c.evaporo(k) = 1;
  if (c.emulsification__y_n == 1) c.emulsiono(k) = 1;
  if (c.verticaldispersion__y_n == 1) c.entrainment(k) = 1;
  if (c.dissolution__y_n == 1) c.dissolution(k) = 1;
  if (c.volatilization__y_n == 1) c.volatilization(k) = 1;
  if (c.sedimentation__y_n == 1) c.sedimentation(k) = 1;
  if (c.degradation__y_n == 1) c.degradation(k) = 1;

  // Specific gravity against 999 kg/m3, and API gravity.
  s.densr0(k) = density_read / 999.0f;
  s.api(k) = 141.5f / s.densr0(k) - 131.5f;

  s.minevaporation(k) = s.minevaporation(k) / 100.0f;

  // Boiling-point curve T0 + TG * evaporated fraction of the evaporation model.
  if (s.oiltype__crude0_refined1(k) == 0) {
    s.t0(k) = 532.98f - 3.1295f * s.api(k);
    s.tg(k) = 985.62f - 13.597f * s.api(k);
  } else {
    s.t0(k) = 654.45f - 4.6588f * s.api(k);
    s.tg(k) = 388.19f - 3.8725f * s.api(k);
  }

  const float tdref = s.densityreferencetemperature(k) + 273.0f;
  const float tvref = s.viscosityreferencetemperature(k) + 273.0f;

  s.c5 = 5000.0f;
  constexpr float inv288 = 1.0f / 288.0f;
  s.viscosity15(k) = viscosity_read * std::exp(5000.0f * (inv288 - 1.0f / tvref));

  // Viscosity growth with the evaporated fraction; a viscosity that is not a
  // number leaves c6 as it was.
  const float v15 = s.viscosity15(k);
  if (v15 > 38.0f) s.c6(k) = 10.0f;
  if (v15 <= 38.0f) s.c6(k) = 1.413f + 0.4461f * v15 - 0.0059f * (v15 * v15);

  // Viscosity and density at the water temperature.  The density grows as
  // the water is colder than its reference temperature and falls as it is
  // warmer.
  s.viscosity(k) = viscosity_read * std::exp(5000.0f * (1.0f / tw - 1.0f / tvref));
  s.density(k) = density_read * (1.0f - s.ct * (tw - tdref));
  s.deltarho(k) = (s.waterdensity(k) - s.density(k)) / s.waterdensity(k);

  // Later temperature corrections start from the water temperature.
  s.viscosityreferencetemperature(k) = tw;
  s.densityreferencetemperature(k) = tw;
}

void fill_pulses() {
  auto& c = var_cfg;
  auto& s = var_spill;
  const int32_t n = c.spills_number;
  const double mass = c.spilledmass(1);
  const double volume = c.spillvolume(1);
  const double start = c.spillstarttime(1);

  const int32_t all = release_pulses();
  for (int32_t k = 1; k <= n; ++k) {
    c.spilledmass(k) = mass / static_cast<double>(all);
    c.spillvolume(k) = volume / static_cast<double>(all);
  }
  for (int32_t k = 2; k <= n; ++k) {
    // The offset in seconds is formed in 64 bits: a long release of many
    // pulses would overflow a 32-bit product.
    const int64_t offset = static_cast<int64_t>(k - 1) * c.delta_vertidocontinuo;
    c.spillstarttime(k) = (static_cast<double>(offset) + 3600.0 * start) / 3600.0;
  }
  // Every pulse holds the total mass of the release (the whole-release
  // figures refer to it) but its own share of the volume: its slick, its
  // spreading and its evaporation are those of the pulse's volume, as is
  // the area at which its slick reaches the minimum thickness.
  for (int32_t k = 1; k <= n; ++k) {
    c.masa0(k) = mass;
    c.vol0(k) = c.spillvolume(k);
  }
  if (n >= 1) s.area_maxima(1) = static_cast<float>(c.spillvolume(1) / c.minspillthickness(1));

  copy_first(n, c.spillposition_x, c.spillposition_y, c.spillposition_z, c.spillsize_sidex,
             c.spillsize_sidey, c.spillthickness, c.minspillthickness, c.area0);
  copy_first(n, s.oiltype__crude0_refined1, s.density, s.densityreferencetemperature, s.viscosity,
             s.viscosityreferencetemperature, s.watersolubility, s.solubilityreferencetemperature,
             s.vaporpressure, s.vaporpressurereferencetemperature, s.hnsmolweight, s.hnsorganic__y_n,
             s.maxevaporation, s.minevaporation, s.maxemulsification, s.waterdensity,
             s.watertemperature, s.airtemperature);
  copy_first(n, s.area_maxima, s.viscosity15, s.c6, s.t0, s.tg, s.api, s.densr0, s.deltarho);
  copy_first(n, c.evaporo, c.emulsiono, c.entrainment, c.dissolution, c.volatilization,
             c.sedimentation, c.degradation);
}

void copy_sediment_to_pulses() {
  auto& s = var_spill;
  copy_first(var_cfg.spills_number, s.sedimentsconcentration, s.logkow, s.degradation_rate);
}

void copy_coefficients_to_pulses() {
  auto& c = var_cfg;
  copy_first(c.spills_number, c.currentcoeff, c.dragcoeff_a, c.dragcoeff_b, c.wavescoeff,
             c.turbdiffusion__y_n, c.diffusioncoeff_kh, c.diffusioncoeff_kz, c.riverfreesurfaceslope);
}

void finish_scenario() {
  auto& c = var_cfg;
  // Sorption to sediment alone does not weather anything, and a floating
  // object never weathers.
  const bool process_on = c.evaporation__y_n == 1 || c.emulsification__y_n == 1 ||
                          c.verticaldispersion__y_n == 1 || c.dissolution__y_n == 1 ||
                          c.volatilization__y_n == 1 || c.degradation__y_n == 1;
  const bool weathers = c.obj__floating_fuel_hns == 2 || c.obj__floating_fuel_hns == 3;
  c.degrado = process_on && weathers ? 1 : 0;

  c.simulationtimehorizon = c.simulationtimehorizon * 3600.0f;
  c.deltat_currents = c.deltat_currents * 3600.0f;
  c.deltat_waves = c.deltat_waves * 3600.0f;
  c.deltat_wind = c.deltat_wind * 3600.0f;
}

}  // namespace orvel
