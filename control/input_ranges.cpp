#include "control/input_ranges.hpp"

#include <cmath>
#include <stdexcept>

#include "common/errors.hpp"
#include "control/input_places.hpp"

namespace orvel {
namespace {

using range_bounds::longest_hours;
using range_bounds::longest_seconds;
using range_bounds::none;

constexpr bool in = true;    // bound included
constexpr bool out = false;  // bound excluded

// Why each bound stands where it does is said beside it: a bound that no
// real value reaches (a physical limit, the largest case known, with a wide
// margin), or the edge of what the model can compute.
constexpr input_range table[] = {
    // KEY.run.  Counts reach as far as the memory (checked on its own).
    {"KEY.run", "particle_number", "", 1.0, none, in, out, ""},
    // A run of ten years may take it in one step.
    {"KEY.run", "deltat", "", 0.0, longest_seconds, out, in, "s"},
    {"KEY.run", "firstoutput_time", "", 0.0, longest_hours, in, in, "h"},
    {"KEY.run", "deltatoutput_parts", "", 0.0, longest_seconds, out, in, "s"},
    {"KEY.run", "deltatoutput_concs", "", 0.0, longest_seconds, out, in, "s"},
    {"KEY.run", "deltatoutput_properties", "", 1.0, longest_seconds, in, in, "s"},

    // A regular grid (records 3, 7, 27, 28, 33, 38 of KEY.cfg): on the
    // globe.  The mean latitude turns eastward metres into degrees through
    // its cosine (pi taken as 3.1416), which is 0 at 89.9998 degrees.
    {"KEY.cfg", "grid0_x", "", -360.0, 360.0, in, in, "degrees"},
    {"KEY.cfg", "grid0_y", "", -90.0, 90.0, in, in, "degrees"},
    {"KEY.cfg", "deltax", "", 0.0, 360.0, out, in, "degrees"},
    {"KEY.cfg", "deltay", "", 0.0, 180.0, out, in, "degrees"},
    {"KEY.cfg", "xcells_number", "", 1.0, none, in, out, ""},
    {"KEY.cfg", "ycells_number", "", 1.0, none, in, out, ""},
    {"KEY.cfg", "latmean", "", -89.99, 89.99, in, in, "degrees"},
    {"KEY.cfg", "conclatmean", "", -89.99, 89.99, in, in, "degrees"},

    // Records 10, 15 and 18.  Water's kinematic viscosity lies between
    // 0.3e-6 (boiling) and about 3e-6 m2/s (cold brines); oil spreading and
    // the HNS slick divide by it.
    {"KEY.cfg", "stoptimespreading", "", 0.0, longest_hours, in, in, "h"},
    {"KEY.cfg", "kinemviscosity_water", "oil and HNS", 1.0e-7, 1.0e-4, in, in, "m2/s"},
    {"KEY.cfg", "kinemviscosity_water", "floating object", 0.0, none, in, out, "m2/s"},
    {"KEY.cfg", "spillduration", "", 0.0, longest_hours, out, in, "h"},

    // The spill line (record 19).  Ten million tonnes (1e10 kg, 1e7 m3) is
    // ten times the largest spill known (the Gulf War, 1991).  An oil's
    // volume follows from its mass and density (within a quarter of mass /
    // density): its range is the top of the mass range at the lowest
    // density of the range, so that no mass in range is refused for its
    // volume.
    {"KEY.cfg", "spillstarttime", "", 0.0, longest_hours, in, in, "h"},
    {"KEY.cfg", "spilledmass", "oil and HNS", 0.0, 1.0e10, out, in, "kg"},
    {"KEY.cfg", "spilledmass", "floating object", 0.0, 1.0e10, in, in, "kg"},
    {"KEY.cfg", "spillvolume", "oil", 0.0, 1.0e10 / 50.0, out, in, "m3"},
    {"KEY.cfg", "spillvolume", "floating object", 0.0, 1.0e7, in, in, "m3"},
    {"KEY.cfg", "spillposition_x", "", -360.0, 360.0, in, in, "degrees"},
    {"KEY.cfg", "spillposition_y", "", -90.0, 90.0, in, in, "degrees"},
    // The deepest sea, the Challenger Deep, is 10,935 m.
    {"KEY.cfg", "spillposition_z", "", 0.0, 11000.0, in, in, "m"},
    // A release area seen from a satellite: the largest slicks mapped span
    // a few hundred kilometres.
    {"KEY.cfg", "spillsize_sidex", "", 0.0, 1.0e6, in, in, "m"},
    {"KEY.cfg", "spillsize_sidey", "", 0.0, 1.0e6, in, in, "m"},
    {"KEY.cfg", "spillthickness", "", 0.0, 10.0, in, in, "m"},
    {"KEY.cfg", "minspillthickness", "", 0.0, 1.0, in, in, "m"},
    // From liquid hydrogen (71 kg/m3) to osmium (22,590 kg/m3), the
    // lightest cargo liquid and the densest substance.
    {"KEY.cfg", "density", "oil and HNS", 50.0, 22600.0, in, in, "kg/m3"},
    // Reference temperatures of data sheets: refrigerated gases (liquid
    // hydrogen at -253 C) to hot cargoes (bitumen, sulphur).  Below absolute
    // zero nothing is real; below -220 C the viscosity correction to the
    // water temperature, exp(5000 (1/Tw - 1/Tref)), falls below the
    // smallest single-precision number.
    {"KEY.cfg", "densityreferencetemperature", "oil and HNS", -273.15, 1000.0, out, in, "degrees C"},
    {"KEY.cfg", "viscosityreferencetemperature", "oil and HNS", -220.0, 1000.0, in, in, "degrees C"},
    // From liquid helium (0.02 cSt) to pitch (about 2e11 cSt).
    {"KEY.cfg", "viscosity", "oil and HNS", 0.01, 1.0e12, in, in, "cSt"},
    // Up to a hundred kilograms in a litre: the most soluble salts take
    // about ten.
    {"KEY.cfg", "watersolubility", "HNS", 0.0, 1.0e8, in, in, "mg/L"},
    // Above the critical pressure of every substance (mercury's, about
    // 170 MPa, is the highest).
    {"KEY.cfg", "vaporpressure", "HNS", 0.0, 2.0e5, in, in, "kPa"},
    // From hydrogen (2.016 g/mol) to the largest synthetic polymers.
    {"KEY.cfg", "hnsmolweight", "HNS", 2.0, 1.0e7, in, in, "g/mol"},
    {"KEY.cfg", "maxevaporation", "oil and HNS", 0.0, 100.0, in, in, "%"},
    {"KEY.cfg", "minevaporation", "oil and HNS", 0.0, 100.0, in, in, "%"},
    // Beyond about 90 % water an emulsion turns over into oil dispersed in
    // water, which the emulsion laws do not describe; at 100 % the
    // emulsion's mass, oil / (1 - water content), has no value.
    {"KEY.cfg", "maxemulsification", "oil and HNS", 0.0, 95.0, in, in, "%"},
    // Fresh water near boiling (958 kg/m3) to the saturated brines of salt
    // lakes (calcium chloride, about 1400 kg/m3).
    {"KEY.cfg", "waterdensity", "oil and HNS", 950.0, 1500.0, in, in, "kg/m3"},
    // Liquid water at the surface: brines stay liquid far below 0 C (Don
    // Juan Pond to about -50 C), and water boils at 100 C.
    {"KEY.cfg", "watertemperature", "oil and HNS", -50.0, 100.0, in, in, "degrees C"},
    // The records of the Earth: -89.2 C (Vostok) and 56.7 C (Death Valley).
    {"KEY.cfg", "airtemperature", "oil and HNS", -90.0, 60.0, in, in, "degrees C"},
    // Record 20.  Sediment cannot be denser in the water than the grains
    // themselves (2650 kg/m3); 10^(0.983 logkow) stays a finite single-
    // precision number up to logkow 39, and the most lipophilic substances
    // (triglycerides) lie near 23; a rate of a million per day is a
    // half-life of a twentieth of a second.
    {"KEY.cfg", "sedimentsconcentration", "HNS", 0.0, 2.65e6, in, in, "mg/L"},
    {"KEY.cfg", "logkow", "HNS", -10.0, 30.0, in, in, ""},
    {"KEY.cfg", "degradation_rate", "HNS", 0.0, 1.0e6, in, in, "per day"},

    // Record 21 and the forcing record intervals.
    {"KEY.cfg", "simulationtimehorizon", "", 0.0, longest_hours, in, in, "h"},
    {"KEY.cfg", "deltat_currents", "", 0.0, longest_hours, out, in, "h"},
    {"KEY.cfg", "deltat_waves", "", 0.0, longest_hours, out, in, "h"},
    {"KEY.cfg", "deltat_wind", "", 0.0, longest_hours, out, in, "h"},

    // Record 39 as written in the file.  The factors on the current and
    // the waves are calibration factors; a floating object cannot drift
    // faster than the wind (a + b W at most 1); eddy diffusivities of the
    // ocean's mesoscale reach 1e4 m2/s; the river's friction velocity,
    // sqrt(g h S), has no value for a negative slope, and a channel steeper
    // than 45 degrees is a fall.
    {"KEY.cfg", "currentcoeff", "", 0.0, 2.0, in, in, ""},
    {"KEY.cfg", "dragcoeff_a", "", 0.0, 1.0, in, in, ""},
    {"KEY.cfg", "dragcoeff_b", "", -0.01, 0.01, in, in, "s/m"},
    {"KEY.cfg", "wavescoeff", "", 0.0, 2.0, in, in, ""},
    {"KEY.cfg", "diffusioncoeff_kh", "", 0.0, 1.0e5, in, in, "m2/s"},
    {"KEY.cfg", "diffusioncoeff_kz", "", 0.0, 1.0, in, in, "m2/s"},
    {"KEY.cfg", "riverfreesurfaceslope", "", 0.0, 1.0, in, in, ""},

    // KEY_HNS.calib: the constant that each record gives.
    {"KEY_HNS.calib", "spreadingrateconstant", "", 0.0, 100.0, in, in, ""},
    {"KEY_HNS.calib", "km", "", 0.0, 1.0, in, in, "m/s"},
    {"KEY_HNS.calib", "a", "", 0.0, 100.0, in, in, ""},
    {"KEY_HNS.calib", "k2", "", 0.0, 100.0, in, in, ""},
    {"KEY_HNS.calib", "wind_min", "", 0.0, 50.0, in, in, "m/s"},
    {"KEY_HNS.calib", "dissolparam", "", 0.0, 100.0, in, in, ""},
    {"KEY_HNS.calib", "kd", "", 0.0, 1.0, in, in, "m/s"},

    // Uniform series.  The fastest tidal currents (Saltstraumen) run at
    // about 11 m/s; tornado winds reach about 135 m/s; the highest waves
    // measured about 30 m, swell periods about 30 s.
    {"uniform series", "current speed", "", 0.0, 15.0, in, in, "m/s"},
    {"uniform series", "surface current speed", "", 0.0, 15.0, in, in, "m/s"},
    {"uniform series", "water-column current speed", "", 0.0, 15.0, in, in, "m/s"},
    {"uniform series", "wind speed", "", 0.0, 150.0, in, in, "m/s"},
    {"uniform series", "direction", "", -360.0, 360.0, in, in, "degrees"},

    // Node-list field files (and the restart file's positions).
    {"field files", "longitude", "", -360.0, 360.0, in, in, "degrees"},
    {"field files", "latitude", "", -90.0, 90.0, in, in, "degrees"},
    {"field files", "u", "", -15.0, 15.0, in, in, "m/s"},
    {"field files", "v", "", -15.0, 15.0, in, in, "m/s"},
    {"field files", "w", "", -1.0, 1.0, in, in, "m/s"},
    {"field files", "correction", "", -15.0, 15.0, in, in, "m/s"},
    {"field files", "eastward wind", "", -150.0, 150.0, in, in, "m/s"},
    {"field files", "northward wind", "", -150.0, 150.0, in, in, "m/s"},
    {"field files", "wave height", "", 0.0, 35.0, in, in, "m"},
    {"field files", "wave direction", "", -360.0, 360.0, in, in, "degrees"},
    {"field files", "wave period", "", 0.0, 40.0, in, in, "s"},

    // Blowout files and the restart file.
    {"FinalJetAxisPosition.txt", "jet-end longitude", "", -360.0, 360.0, in, in, "degrees"},
    {"FinalJetAxisPosition.txt", "jet-end latitude", "", -90.0, 90.0, in, in, "degrees"},
    {"FinalJetAxisPosition.txt", "jet-end depth", "", 0.0, 11000.0, in, in, "m"},
    {"FinalJetAxisPosition.txt", "jet-end radius", "", 0.0, 10000.0, out, in, "m"},
    {"DropletDiametersAndFlotSpeed.txt", "diameter", "", 0.0, 0.1, out, in, "m"},
    {"DropletDiametersAndFlotSpeed.txt", "rise speed", "", -10.0, 10.0, in, in, "m/s"},
    {"Particle_positions_restart.txt", "depth", "", 0.0, 11000.0, in, in, "m"},
    {"Particle_positions_restart.txt", "state code", "", -2.0, 5.0, in, in, ""},
};

bool matches(std::string_view objects, int32_t object) {
  if (objects.empty()) return true;
  if (objects == "oil and HNS") return object == 2 || object == 3;
  if (objects == "oil") return object == 2;
  if (objects == "HNS") return object == 3;
  if (objects == "floating object") return object == 1;
  return false;
}

}  // namespace

std::span<const input_range> input_ranges() { return table; }

const input_range& input_range_of(std::string_view name, std::string_view objects) {
  const input_range* any = nullptr;
  for (const auto& r : table) {
    if (r.name != name) continue;
    if (r.objects == objects) return r;
    if (r.objects.empty()) any = &r;
  }
  if (any) return *any;
  throw std::logic_error("no range for " + std::string(name) + " (" + std::string(objects) + ")");
}

bool range_applies(const input_range& r, int32_t object) { return matches(r.objects, object); }

const input_range& input_range_for(std::string_view name, int32_t object) {
  const input_range* first = nullptr;
  for (const auto& r : table) {
    if (r.name != name) continue;
    if (matches(r.objects, object)) return r;
    if (!first) first = &r;
  }
  if (first) return *first;
  throw std::logic_error("no range for " + std::string(name));
}

namespace {

// Compared in the precision T of the value, the bounds rounded to it.
template <typename T>
bool inside(const input_range& r, T x) {
  if (!std::isfinite(x)) return false;
  const T low = static_cast<T>(r.low);
  const T high = static_cast<T>(r.high);
  if (r.low_included ? x < low : x <= low) return false;
  if (r.high_included ? x > high : x >= high) return false;
  return true;
}

}  // namespace

bool in_range(const input_range& r, double x) { return inside(r, x); }
bool in_range(const input_range& r, float x) { return inside(r, x); }

std::string allowed_text(const input_range& r) {
  const std::string unit = r.unit.empty() ? "" : " " + std::string(r.unit);
  const bool low = std::isfinite(r.low);
  const bool high = std::isfinite(r.high);
  std::string s = "a finite number";
  if (low && high && r.low_included && r.high_included) {
    return s + " from " + value_text(r.low, 10) + " to " + value_text(r.high, 10) + unit;
  }
  if (low) s += r.low_included ? " of at least " + value_text(r.low, 10) : " greater than " + value_text(r.low, 10);
  if (low && high) s += " and";
  if (high) s += r.high_included ? " at most " + value_text(r.high, 10) : " less than " + value_text(r.high, 10);
  return s + unit;
}

namespace {

template <typename T>
void check_value(std::string_view name, T x, int32_t object, const std::string& fallback_file, int32_t k,
                 std::string_view shown) {
  const input_range& e = input_range_for(name, object);
  if (inside(e, x)) return;
  const std::string_view n = shown.empty() ? name : shown;
  const std::string value = k >= 1 ? std::string(n) + " of spill line " + std::to_string(k) : std::string(n);
  throw refusal_at(n, fallback_file, value + " = " + value_text(x) + ": must be " + allowed_text(e), k);
}

}  // namespace

void check_range(std::string_view name, double x, int32_t object, const std::string& fallback_file, int32_t k,
                 std::string_view shown) {
  check_value(name, x, object, fallback_file, k, shown);
}

void check_range(std::string_view name, float x, int32_t object, const std::string& fallback_file, int32_t k,
                 std::string_view shown) {
  check_value(name, x, object, fallback_file, k, shown);
}

}  // namespace orvel
