#include "app/validation.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#include "common/errors.hpp"
#include "common/farray.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "control/input_places.hpp"
#include "control/input_ranges.hpp"
#include "control/memory_estimate.hpp"
#include "control/run_rules.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"
#include "engines/engine_settings.hpp"
#include "forcing/field_files.hpp"
#include "fate/droplets.hpp"
#include "forcing/forcing_options.hpp"
#include "forcing/regrid.hpp"
#include "transport/diffusion.hpp"
#include "transport/grid_cell.hpp"
#include "transport/position.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// Checks of single values.  Each refusal names the line of the value (its
// k-th reading for the values of the spill lines), the variable, the value
// and what is allowed.
class value_checks {
 public:
  explicit value_checks(const std::string& clave) : run_(clave + ".run"), cfg_(clave + ".cfg") {}

  const std::string& run_file() const { return run_; }
  const std::string& cfg_file() const { return cfg_; }

  [[noreturn]] void refuse(std::string_view name, int32_t k, const std::string& message) const {
    throw refusal_at(name, fallback(name), message, k);
  }

  // A code among `allowed`, described by `meaning` ("0 (no) or 1 (yes)").
  void code(const char* name, int32_t v, std::initializer_list<int32_t> allowed, const char* meaning,
            int32_t k = 0) const {
    for (int32_t a : allowed)
      if (v == a) return;
    refuse(name, k, option_text(name, v) + ": must be " + meaning);
  }
  void yes_no(const char* name, int32_t v, int32_t k = 0) const { code(name, v, {0, 1}, "0 (no) or 1 (yes)", k); }
  void one_two(const char* name, int32_t v, const char* meaning) const { code(name, v, {1, 2}, meaning); }

  void at_least(const char* name, int32_t v, int32_t low, const char* why = "") const {
    if (v < low) refuse(name, 0, option_text(name, v) + ": must be at least " + std::to_string(low) + why);
  }

  void finite(const char* name, double v, int32_t k = 0, const char* unit = "") const {
    if (!std::isfinite(v)) refuse(name, k, value_of(name, v, k) + ": must be a finite number" + unit);
  }
  // A value against its range in the table (the entry for the run's
  // object), compared in the precision it is held in.  `shown` names the
  // value in the message when the entry serves several (the grids).
  void range(const char* name, double x, int32_t k = 0, const char* shown = nullptr) const {
    check_range(name, x, var_cfg.obj__floating_fuel_hns, fallback(shown ? shown : name), k, shown ? shown : "");
  }
  void range(const char* name, float x, int32_t k = 0, const char* shown = nullptr) const {
    check_range(name, x, var_cfg.obj__floating_fuel_hns, fallback(shown ? shown : name), k, shown ? shown : "");
  }
  // A count against the lower bound of its range.
  void count(const char* name, int32_t x, const char* shown = nullptr) const {
    at_least(shown ? shown : name, x, static_cast<int32_t>(input_range_for(name, var_cfg.obj__floating_fuel_hns).low));
  }

  // Each of the first n values of a per-spill array.
  template <typename T, typename F>
  void each(const farray<T, 1>& a, int32_t n, F&& check) const {
    if (!a.allocated()) return;
    for (int32_t k = 1; k <= n && k <= a.ubound(1); ++k) check(a(k), k);
  }

 private:
  std::string value_of(const char* name, double v, int32_t k) const {
    return k >= 1 ? std::string(name) + " of spill line " + std::to_string(k) + " = " + value_text(v)
                  : option_text(name, v);
  }
  // The file that holds a value: the run-control file for its own options.
  const std::string& fallback(std::string_view name) const {
    static constexpr std::string_view run_values[] = {
        "simenvironment__sea_river", "sim__2d_3d", "blowout__y_n", "simdirection__fore_back",
        "datafolder__same_other", "search_land__mask_maskandcoast", "searchcoastalgorithm__lr_hr",
        "coast_polygonnumber", "particle_number", "particle_inipositions__y_n", "deltat",
        "temporalinterpwind__y_n", "temporalinterpwaves__y_n", "temporalinterpcurr__y_n",
        "numericalmethod__euler_rungekut", "firstoutput_time", "deltatoutput_parts", "deltatoutput_concs",
        "deltatoutput_properties", "outputparts__y_n", "outputconcs__y_n", "outputpropierties__y_n"};
    for (auto r : run_values)
      if (r == name) return run_;
    return cfg_;
  }

  std::string run_;
  std::string cfg_;
};

// The run-control file.
void check_run_options(const value_checks& v) {
  const auto& r = var_run;
  v.one_two("simenvironment__sea_river", r.simenvironment__sea_river, "1 (sea) or 2 (river)");
  v.one_two("sim__2d_3d", r.sim__2d_3d, "1 (two dimensions) or 2 (three dimensions)");
  v.yes_no("blowout__y_n", r.blowout__y_n);
  v.one_two("simdirection__fore_back", r.simdirection__fore_back, "1 (forward) or 2 (backward)");
  v.one_two("datafolder__same_other", r.datafolder__same_other,
            "1 (inputs in the working directory) or 2 (inputs in the data folder)");
  v.one_two("searchcoastalgorithm__lr_hr", r.searchcoastalgorithm__lr_hr,
            "1 (nearest coast point) or 2 (coast polygons)");
  if (r.search_land__mask_maskandcoast == 2 && r.searchcoastalgorithm__lr_hr == 2) {
    v.at_least("coast_polygonnumber", r.coast_polygonnumber, 0);
  }
  v.count("particle_number", r.particle_number);
  v.yes_no("particle_inipositions__y_n", r.particle_inipositions__y_n);
  v.range("deltat", r.deltat);
  v.yes_no("temporalinterpwind__y_n", r.temporalinterpwind__y_n);
  v.yes_no("temporalinterpwaves__y_n", r.temporalinterpwaves__y_n);
  v.yes_no("temporalinterpcurr__y_n", r.temporalinterpcurr__y_n);
  v.one_two("numericalmethod__euler_rungekut", r.numericalmethod__euler_rungekut, "1 (Euler) or 2 (Runge-Kutta)");
  // The first output time is read in hours and held in seconds.
  v.range("firstoutput_time", static_cast<double>(r.firstoutput_time) / 3600.0);
  v.yes_no("outputparts__y_n", r.outputparts__y_n);
  v.yes_no("outputconcs__y_n", r.outputconcs__y_n);
  v.yes_no("outputpropierties__y_n", r.outputpropierties__y_n);
  // An output interval is held to its range when its output is on, and to
  // a finite number whatever the switch (as the reader holds a number too
  // large for single precision).
  if (r.outputparts__y_n == 1) {
    v.range("deltatoutput_parts", r.deltatoutput_parts);
  } else {
    v.finite("deltatoutput_parts", r.deltatoutput_parts);
  }
  if (r.outputconcs__y_n == 1) {
    v.range("deltatoutput_concs", r.deltatoutput_concs);
  } else {
    v.finite("deltatoutput_concs", r.deltatoutput_concs);
  }
  if (r.outputpropierties__y_n == 1) v.range("deltatoutput_properties", static_cast<double>(r.deltatoutput_properties));
}

// A regular grid given in the scenario file: origin, spacing and node
// counts.  `names` are those of x0, y0, dx, dy, nx, ny.
struct grid_names {
  const char* x0;
  const char* y0;
  const char* dx;
  const char* dy;
  const char* nx;
  const char* ny;
};
// `x0` is the origin's longitude as the file gives it (the forcing grids
// hold it + 360 by now).  The grid spans at most the globe: its last row at
// most at 90 degrees, its columns at most 360 degrees.
void check_regular_grid(const value_checks& v, const grid_names& n, double x0, double y0, double dx, double dy,
                        int32_t nx, int32_t ny) {
  v.range("grid0_x", x0, 0, n.x0);
  v.range("grid0_y", y0, 0, n.y0);
  v.range("deltax", dx, 0, n.dx);
  v.range("deltay", dy, 0, n.dy);
  v.count("xcells_number", nx, n.nx);
  v.count("ycells_number", ny, n.ny);
  if (static_cast<double>(nx - 1) * dx > 360.0) {
    v.refuse(n.nx, 0,
             option_text(n.nx, nx) + ": " + std::to_string(nx) + " nodes " + value_text(dx) +
                 " degrees apart span more than 360 degrees of longitude");
  }
  if (y0 + static_cast<double>(ny - 1) * dy > 90.0) {
    v.refuse(n.ny, 0,
             option_text(n.ny, ny) + ": " + std::to_string(ny) + " rows " + value_text(dy) + " degrees apart from " +
                 value_text(y0) + " reach beyond latitude 90");
  }
}

// Records 1 to 18 of the scenario file.
void check_scenario_head(const value_checks& v) {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  const auto& mc = var_mallasconc;
  if (c.gridformat__xyz_grid == 2) {
    check_regular_grid(v, {"grid0_x", "grid0_y", "deltax", "deltay", "xcells_number", "ycells_number"}, m.grid0_x,
                       m.grid0_y, m.deltax, m.deltay, m.xcells_number, m.ycells_number);
  }
  v.yes_no("concgrid_same_grid__y_n", c.concgrid_same_grid__y_n);
  if (c.concgrid_same_grid__y_n == 0 && c.concgridformat__xyz_grid == 2) {
    check_regular_grid(v,
                       {"concgrid0_x", "concgrid0_y", "concdeltax", "concdeltay", "concxcells_number",
                        "concycells_number"},
                       mc.concgrid0_x, mc.concgrid0_y, mc.concdeltax, mc.concdeltay, mc.concxcells_number,
                       mc.concycells_number);
    v.range("conclatmean", mc.conclatmean);
  }
  v.yes_no("coastline_sticknostick_option__y_n", c.coastline_sticknostick_option__y_n);
  v.yes_no("spreading__y_n", c.spreading__y_n);
  if (c.spreading__y_n == 1) v.range("stoptimespreading", static_cast<double>(c.stoptimespreading));
  v.yes_no("evaporation__y_n", c.evaporation__y_n);
  v.yes_no("emulsification__y_n", c.emulsification__y_n);
  v.yes_no("verticaldispersion__y_n", c.verticaldispersion__y_n);
  v.yes_no("dissolution__y_n", c.dissolution__y_n);
  v.yes_no("volatilization__y_n", c.volatilization__y_n);
  v.yes_no("sedimentation__y_n", c.sedimentation__y_n);
  v.yes_no("degradation__y_n", c.degradation__y_n);
  // Oil spreading and the HNS slick divide by the water's viscosity.
  v.range("kinemviscosity_water", var_spill.kinemviscosity_water);
  if (c.spill__instant_contin == 2) v.range("spillduration", c.spillduration);
}

// An oil spill's volume further than this share from mass / density (at
// the density's reference temperature) is a slip of a unit or a digit, not
// a difference of temperature, measurement or rounding.
constexpr double volume_tolerance = 0.25;

// The substance values of spill line k as they stand in the file, when the
// scenario reader kept them.
const spill_line_values* as_read(int32_t k) {
  const auto& lines = spill_lines_as_read();
  if (k < 1 || static_cast<std::size_t>(k) > lines.size()) return nullptr;
  return &lines[static_cast<std::size_t>(k) - 1];
}

// The substance of oil and HNS spill lines (record 19, items 12 to 28) and
// their sediment lines (record 20).
void check_substance(const value_checks& v, int32_t k) {
  const auto& c = var_cfg;
  const auto& s = var_spill;
  const bool hns = c.obj__floating_fuel_hns == 3;
  if (const spill_line_values* r = as_read(k)) {
    v.range("density", r->density, k);
    v.range("densityreferencetemperature", r->densityreferencetemperature, k);
    v.range("viscosity", r->viscosity, k);
    v.range("viscosityreferencetemperature", r->viscosityreferencetemperature, k);
    v.range("minevaporation", r->minevaporation, k);
    v.range("watertemperature", r->watertemperature, k);
    v.range("airtemperature", r->airtemperature, k);
  }
  v.range("maxevaporation", s.maxevaporation(k), k);
  v.range("maxemulsification", s.maxemulsification(k), k);
  v.range("waterdensity", s.waterdensity(k), k);
  v.finite("hnsorganic__y_n", s.hnsorganic__y_n(k), k);
  // Derived from the values above: finite once they are in range, checked
  // for the scenarios that did not come through the reader.
  v.finite("density", s.density(k), k, " (at the water temperature)");
  v.finite("viscosity", s.viscosity(k), k, " (at the water temperature)");
  // The chemical's own values: in range for an HNS, finite for oil.
  for (const auto& [name, a] : std::initializer_list<std::pair<const char*, const farray<float, 1>*>>{
           {"watersolubility", &s.watersolubility},
           {"vaporpressure", &s.vaporpressure},
           {"hnsmolweight", &s.hnsmolweight},
           {"sedimentsconcentration", &s.sedimentsconcentration},
           {"logkow", &s.logkow},
           {"degradation_rate", &s.degradation_rate}}) {
    if (hns) {
      v.range(name, (*a)(k), k);
    } else {
      v.finite(name, (*a)(k), k);
    }
  }
  if (!hns) v.code("oiltype__crude0_refined1", s.oiltype__crude0_refined1(k), {0, 1}, "0 (crude) or 1 (refined)", k);
}

// An oil spill's volume against its mass and density (an HNS takes its
// volume from them, a floating object has no density), as the spill line
// gives them: the whole release's.
void check_volume(const value_checks& v, int32_t k) {
  const spill_line_values* r = as_read(k);
  if (var_cfg.obj__floating_fuel_hns != 2 || r == nullptr) return;
  const double mass = r->spilledmass;
  const double volume = r->spillvolume;
  const double expected = mass / static_cast<double>(r->density);
  if (std::fabs(volume - expected) <= volume_tolerance * expected) return;
  v.refuse("spillvolume", k,
           "spillvolume of spill line " + std::to_string(k) + " = " + value_text(volume) +
               " m3 does not match spilledmass / density = " + value_text(mass) + " kg / " +
               value_text(r->density) + " kg/m3 = " + value_text(expected) +
               " m3: the two may differ by at most 25 %");
}

// The spill lines (record 19), the sediment lines (20) and the drift and
// diffusion coefficients (39), as many of each as the file holds.
void check_spill_lines(const value_checks& v) {
  const auto& c = var_cfg;
  const int32_t n = c.iternumber;
  const bool substance = c.obj__floating_fuel_hns == 2 || c.obj__floating_fuel_hns == 3;
  auto each = [&](const char* name, const auto& a) {
    v.each(a, n, [&v, name](auto x, int32_t k) { v.range(name, x, k); });
  };
  for (const auto& [name, a] : std::initializer_list<std::pair<const char*, const farray<double, 1>*>>{
           {"spillstarttime", &c.spillstarttime},
           {"spillposition_x", &c.spillposition_x},
           {"spillposition_y", &c.spillposition_y},
           {"spillposition_z", &c.spillposition_z},
           {"spillsize_sidex", &c.spillsize_sidex},
           {"spillsize_sidey", &c.spillsize_sidey}}) {
    each(name, *a);
  }
  // The whole release's mass and volume as the line gives them (a
  // continuous release shares them among its pulses).
  for (int32_t k = 1; k <= n; ++k) {
    const spill_line_values* r = as_read(k);
    if (c.masa0.allocated() && k <= c.masa0.ubound(1)) v.range("spilledmass", r ? r->spilledmass : c.masa0(k), k);
    if (c.obj__floating_fuel_hns != 3 && c.vol0.allocated() && k <= c.vol0.ubound(1)) {
      v.range("spillvolume", r ? r->spillvolume : c.vol0(k), k);
    }
  }
  each("spillthickness", c.spillthickness);
  each("minspillthickness", c.minspillthickness);
  if (substance) {
    for (int32_t k = 1; k <= n; ++k) {
      check_substance(v, k);
      check_volume(v, k);
    }
  }
  // The drift coefficients are held negated in a backward run; their range
  // is that of the file.
  const double sign = var_run.simdirection__fore_back == 2 ? -1.0 : 1.0;
  auto drift = [&](const char* name, const farray<double, 1>& a) {
    v.each(a, n, [&v, name, sign](double x, int32_t k) { v.range(name, sign * x, k); });
  };
  for (const auto& [name, a] : std::initializer_list<std::pair<const char*, const farray<double, 1>*>>{
           {"currentcoeff", &c.currentcoeff},
           {"dragcoeff_a", &c.dragcoeff_a},
           {"dragcoeff_b", &c.dragcoeff_b},
           {"wavescoeff", &c.wavescoeff}}) {
    drift(name, *a);
  }
  for (const auto& [name, a] : std::initializer_list<std::pair<const char*, const farray<float, 1>*>>{
           {"diffusioncoeff_kh", &c.diffusioncoeff_kh},
           {"diffusioncoeff_kz", &c.diffusioncoeff_kz},
           {"riverfreesurfaceslope", &c.riverfreesurfaceslope}}) {
    each(name, *a);
  }
  // The diffusion switch keeps the stop text of the diffusion routine.
  check_diffusion_option(v.cfg_file());
}

// The 2-D oil engine follows floating oil only: an oil as dense as the water
// or denser (at the water temperature) would have no slick.  The 3-D engine
// refuses it with its droplet sizes.
void check_floating_oil(const value_checks& v) {
  const auto& c = var_cfg;
  const auto& s = var_spill;
  if (var_run.sim__2d_3d != 1 || c.obj__floating_fuel_hns != 2) return;
  v.each(s.density, c.spills_number, [&](float rho, int32_t k) {
    if (!(rho < s.waterdensity(k))) {
      v.refuse("density", k,
               "spill " + std::to_string(k) + ": the product density " + value_text(rho) +
                   " kg/m3 is not below the water density " + value_text(s.waterdensity(k)) +
                   " kg/m3: the 2-D oil engine follows floating oil only");
    }
  });
}

// One forcing (currents, waves or wind): its type, switches, record interval
// and count, node count or grid.
void check_field_forcing(const value_checks& v, const char* kind, const char* type_name, int32_t type,
                         const char* regular_name, int32_t regular, const char* format_name, int32_t format,
                         const char* interval_name, float interval, const char* count_name, int32_t count) {
  v.one_two(type_name, type, (std::string("1 (") + kind + " files) or 2 (a uniform series)").c_str());
  v.yes_no(regular_name, regular);
  if (type == 1) v.one_two(format_name, format, "1 (node lists) or 2 (regular grids)");
  v.range(interval_name, static_cast<double>(interval) / 3600.0);
  v.at_least(count_name, count, 1, " record");
}

void check_forcing(const value_checks& v) {
  const auto& c = var_cfg;
  const auto& m = var_mallas;
  const auto& f = var_mallasforz;
  v.range("simulationtimehorizon", static_cast<double>(c.simulationtimehorizon) / 3600.0);

  check_field_forcing(v, "current", "currenttype__file_constant", c.currenttype__file_constant,
                      "currentgrid_regular__y_n", m.currentgrid_regular__y_n, "currentgridformat__xyz_grid",
                      c.currentgridformat__xyz_grid, "deltat_currents", c.deltat_currents,
                      "currentfilesorlines_number", c.currentfilesorlines_number);
  v.yes_no("currentgrid_variable__y_n", c.currentgrid_variable__y_n);
  if (c.currentgrid_variable__y_n == 1) {
    v.one_two("variablecurrgrid__wetdry_radar", c.variablecurrgrid__wetdry_radar,
              "1 (wet/dry cells) or 2 (radar coverage)");
  }
  v.yes_no("currentcorrection__y_n", c.currentcorrection__y_n);
  v.yes_no("currentfilesjointuvw__y_n", c.currentfilesjointuvw__y_n);
  if (c.currenttype__file_constant == 1) {
    if (var_run.sim__2d_3d == 2) {
      v.one_two("current3dinputformat_layers_average", c.current3dinputformat_layers_average,
                "1 (layered files) or 2 (surface fields and a depth-mean series)");
    }
    if (c.currentcorrection__y_n == 1) {
      v.one_two("currcorrectgridformat__xyz_grid", c.currcorrectgridformat__xyz_grid,
                "1 (node lists) or 2 (regular grids)");
      v.at_least("currentcorrectionfiles_number", c.currentcorrectionfiles_number, 1);
    }
    const bool grids = c.currentgridformat__xyz_grid == 2 ||
                       (c.currentcorrection__y_n == 1 && c.currcorrectgridformat__xyz_grid == 2);
    // The reader moves the origins to the internal longitude for current
    // grids only.
    const double shift = c.currentgridformat__xyz_grid == 2 ? 360.0 : 0.0;
    if (grids) {
      check_regular_grid(v,
                         {"gridformatcurru_0x", "gridformatcurru_0y", "gridformatcurru_deltax",
                          "gridformatcurru_deltay", "gridformatcurru_xcells", "gridformatcurru_ycells"},
                         f.gridformatcurru_0x - shift, f.gridformatcurru_0y, f.gridformatcurru_deltax,
                         f.gridformatcurru_deltay, f.gridformatcurru_xcells, f.gridformatcurru_ycells);
      check_regular_grid(v,
                         {"gridformatcurrv_0x", "gridformatcurrv_0y", "gridformatcurrv_deltax",
                          "gridformatcurrv_deltay", "gridformatcurrv_xcells", "gridformatcurrv_ycells"},
                         f.gridformatcurrv_0x - shift, f.gridformatcurrv_0y, f.gridformatcurrv_deltax,
                         f.gridformatcurrv_deltay, f.gridformatcurrv_xcells, f.gridformatcurrv_ycells);
    }
    if (c.currentgridformat__xyz_grid == 1) {
      // Node lists: the U nodes always, the V nodes unless a joint file
      // gives both at the U nodes.
      const auto& n = c.xyzcurrentnodes_number;
      if (n[0] < 1) v.refuse("xyzcurrentnodes_number", 0, "xyzcurrentnodes_number(1) = " + std::to_string(n[0]) + ": the U current nodes must be at least 1");
      if (n[1] < 1) v.refuse("xyzcurrentnodes_number", 0, "xyzcurrentnodes_number(2) = " + std::to_string(n[1]) + ": the V current nodes must be at least 1");
      if (n[2] < 0) v.refuse("xyzcurrentnodes_number", 0, "xyzcurrentnodes_number(3) = " + std::to_string(n[2]) + ": the W current nodes must be at least 0");
    }
  }

  check_field_forcing(v, "wave", "wavestype__file_constant", c.wavestype__file_constant, "wavesgrid_regular__y_n",
                      m.wavesgrid_regular__y_n, "wavesgridformat__xyz_grid", c.wavesgridformat__xyz_grid,
                      "deltat_waves", c.deltat_waves, "wavesfilesorlines_number", c.wavesfilesorlines_number);
  if (c.wavestype__file_constant == 1) {
    if (c.wavesgridformat__xyz_grid == 2) {
      check_regular_grid(v,
                         {"gridformatwaves_0x", "gridformatwaves_0y", "gridformatwaves_deltax",
                          "gridformatwaves_deltay", "gridformatwaves_xcells", "gridformatwaves_ycells"},
                         f.gridformatwaves_0x - 360.0, f.gridformatwaves_0y, f.gridformatwaves_deltax,
                         f.gridformatwaves_deltay, f.gridformatwaves_xcells, f.gridformatwaves_ycells);
    } else {
      v.at_least("xyzwavesnodes_number", c.xyzwavesnodes_number, 1);
    }
  }

  check_field_forcing(v, "wind", "windtype__file_constant", c.windtype__file_constant, "windgrid_regular__y_n",
                      m.windgrid_regular__y_n, "windgridformat__xyz_grid", c.windgridformat__xyz_grid, "deltat_wind",
                      c.deltat_wind, "windfilesorlines_number", c.windfilesorlines_number);
  if (c.windtype__file_constant == 1) {
    if (c.windgridformat__xyz_grid == 2) {
      check_regular_grid(v,
                         {"gridformatwind_0x", "gridformatwind_0y", "gridformatwind_deltax", "gridformatwind_deltay",
                          "gridformatwind_xcells", "gridformatwind_ycells"},
                         f.gridformatwind_0x - 360.0, f.gridformatwind_0y, f.gridformatwind_deltax, f.gridformatwind_deltay,
                         f.gridformatwind_xcells, f.gridformatwind_ycells);
    } else {
      v.at_least("xyzwindnodes_number", c.xyzwindnodes_number, 1);
    }
  }
}

// The HNS calibration file, when it was read.
void check_calibration(const value_checks& v) {
  if (var_cfg.obj__floating_fuel_hns != 3) return;
  const auto& c = var_calib;
  // Each record carries one of two constants; the one not read stays 0.
  v.range("spreadingrateconstant", c.spreadingrateconstant);
  v.range("km", c.km);
  v.range("a", c.a);
  v.range("k2", c.k2);
  v.range("wind_min", c.wind_min);
  v.range("dissolparam", c.dissolparam);
  v.range("kd", c.kd);
}

// The memory that the particle count and the node counts ask for, before
// any of it is allocated.
void check_memory(const value_checks& v) {
  const auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  const auto where = place_of("particle_number", 0, v.run_file());
  const uint64_t each = static_cast<uint64_t>(ns > 0 ? ns : 0) * bytes_per_particle_and_spill() +
                        bytes_per_particle(var_capas.numcapascorr > 0 ? var_capas.numcapascorr : 1);
  check_fits_in_memory(where.file, where.line,
                       std::to_string(np) + " particles for each of " + std::to_string(ns) + " spills", np, each);
  // The node arrays of each forcing: coordinates, two time levels and blends.
  const auto nodes = place_of("xyzcurrentnodes_number", 0, v.cfg_file());
  const int64_t current_nodes = int64_t{c.xyzcurrentnodes_number[0]} + c.xyzcurrentnodes_number[1];
  check_fits_in_memory(nodes.file, nodes.line, std::to_string(current_nodes) + " current nodes", current_nodes,
                       (8 + 2 * static_cast<uint64_t>(var_capas.numcapascorr > 0 ? var_capas.numcapascorr : 1)) *
                           sizeof(double));
  const auto wind = place_of("xyzwindnodes_number", 0, v.cfg_file());
  check_fits_in_memory(wind.file, wind.line, std::to_string(c.xyzwindnodes_number) + " wind nodes",
                       c.xyzwindnodes_number, 10 * sizeof(double));
  const auto waves = place_of("xyzwavesnodes_number", 0, v.cfg_file());
  check_fits_in_memory(waves.file, waves.line, std::to_string(c.xyzwavesnodes_number) + " wave nodes",
                       c.xyzwavesnodes_number, 12 * sizeof(double));
}

bool exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// A value of a file read outside the control files, against its range.
void check_file_value(const list_reader& r, const char* name, double x) {
  const input_range& e = input_range_of(name);
  if (in_range(e, x)) return;
  throw input_error(r.name(), r.record_line(), std::string(name) + " = " + value_text(x) + ": must be " + allowed_text(e));
}

// The end of the blowout jet: on the globe, in the water column and not
// on land.  A jet end at or below the sea floor is placed on the floor by
// the engine.
void check_jet_end() {
  list_reader r("FinalJetAxisPosition.txt");
  r.skip_line("a header line");
  double x = 0.0, y = 0.0, depth = 0.0, radius = 0.0;
  if (!r.read({"jet-end longitude", "jet-end latitude", "jet-end depth", "jet-end radius"}, x, y, depth, radius)) {
    throw input_error(r.name(), r.record_line(), "the jet-end record ends before its four values");
  }
  check_file_value(r, "jet-end longitude", x);
  check_file_value(r, "jet-end latitude", y);
  if (std::isfinite(depth) && depth < 0.0) {
    throw input_error(r.name(), r.record_line(),
                      "jet-end depth = " + value_text(depth) + ": the jet ends above the sea surface (depths are "
                      "positive down)");
  }
  check_file_value(r, "jet-end depth", depth);
  check_file_value(r, "jet-end radius", radius);
  float bottom = 0.0f;
  if (model_depth(x + 360.0, y, bottom) && bottom <= 0.0f) {
    throw input_error(r.name(), r.record_line(),
                      "the jet end at longitude " + value_text(x) + ", latitude " + value_text(y) +
                          " lies on land (model depth " + value_text(bottom) + " m)");
  }
}

// Every particle's droplet diameter and rise speed, before the first spill
// reads them.
void check_droplet_file() {
  const std::string name = "DropletDiametersAndFlotSpeed.txt";
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  list_reader r(name);
  for (int32_t s = 1; s <= ns; ++s) {
    r.skip_line("the heading line of spill " + std::to_string(s));
    for (int32_t p = 1; p <= np; ++p) {
      double diameter = 0.0, speed = 0.0;
      if (r.at_end()) {
        throw input_error(name, r.line_number(),
                          "end of file: expected the diameter and rise speed of particle " + std::to_string(p) +
                              " of spill " + std::to_string(s) + " (" + std::to_string(np) +
                              " particles per spill, " + std::to_string(ns) + " spills)");
      }
      if (!r.read({"diameter", "rise speed"}, diameter, speed)) {
        throw input_error(name, r.record_line(), "the droplet record ends before its two values");
      }
      check_file_value(r, "diameter", diameter);
      check_file_value(r, "rise speed", speed);
    }
  }
}

// Every particle of every spill in the restart file, on the globe and in
// the water column, with a state code the model knows.
void check_restart_file(const std::string& path) {
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  list_reader r(path);
  r.skip_line("a header line");
  for (int32_t s = 1; s <= ns; ++s) {
    for (int32_t p = 1; p <= np; ++p) {
      if (r.at_end()) {
        throw input_error(path, r.line_number(),
                          "end of file: expected the record of particle " + std::to_string(p) + " of spill " +
                              std::to_string(s) + " (" + std::to_string(np) + " particles per spill, " +
                              std::to_string(ns) + " spills)");
      }
      double unused = 0.0, x = 0.0, y = 0.0, depth = 0.0, code = 0.0;
      if (!r.read({"value", "longitude", "latitude", "depth", "state code"}, unused, x, y, depth, code)) {
        throw input_error(path, r.record_line(), "the particle record ends before its five values");
      }
      check_file_value(r, "longitude", x);
      check_file_value(r, "latitude", y);
      check_file_value(r, "depth", depth);
      check_file_value(r, "state code", code);
      if (code != std::trunc(code)) {
        throw input_error(path, r.record_line(), "state code = " + value_text(code) + ": must be a whole number");
      }
    }
  }
}

// The input files that the engine opens after the banner.
void check_engine_inputs(const value_checks& v) {
  const auto& r = var_run;
  if (var_cfg.obj__floating_fuel_hns == 1 && r.particle_inipositions__y_n == 1) {
    const std::string restart = input_path("Particle_positions_restart.txt");
    if (!exists(restart)) {
      v.refuse("particle_inipositions__y_n", 0,
               "particle_inipositions__y_n = 1 takes the particles from the restart file \"" + restart +
                   "\", which does not exist");
    }
    check_restart_file(restart);
  }
  if (r.blowout__y_n == 1 && r.sim__2d_3d != 1) {
    for (const char* name : {"FinalJetAxisPosition.txt", "DropletDiametersAndFlotSpeed.txt"}) {
      if (!exists(name)) {
        v.refuse("blowout__y_n", 0,
                 std::string("blowout__y_n = 1 reads the blowout file \"") + name + "\", which does not exist");
      }
    }
    check_jet_end();
    check_droplet_file();
  }
}

// A result name of this run taken by a folder (or anything but a file)
// would stop the run when that result is written: refused now.
void check_result_names(const std::string& clave) {
  const std::string key = fixlen(clave, 4);
  auto is_result = [&](const std::string& n) {
    if (n == "grid_coordinates.txt" || n == "diameter_distribution.txt") return true;
    if (n.size() < 4 || n.compare(n.size() - 4, 4, ".txt") != 0) return false;
    for (const char* kind : {"_particles_", "_properties_", "_grid_"}) {
      if (n.rfind(key + kind, 0) == 0) return true;
    }
    return false;
  };
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(".", ec)) {
    const std::string n = e.path().filename().string();
    std::error_code type_ec;
    if (is_result(n) && !e.is_regular_file(type_ec)) {
      throw input_error(n, 0, "this run writes a result under this name, which is taken by a folder (or another "
                              "kind of entry that is not a file): move it away");
    }
  }
}

// The current inputs that only a three-dimensional run reads: a missing one
// is refused at record 2 of KEY.run, the reason it is wanted, and the
// message names the file and the record of KEY.cfg that chose it.  The
// layer file is read with the control files (`layers` true), the two
// series after the forcing options have been checked.
void check_three_d_current_inputs(const value_checks& v, bool layers) {
  const auto& c = var_cfg;
  if (var_run.sim__2d_3d != 2) return;
  std::string file;
  std::string chosen;
  std::string two_d;
  const bool layered = c.currenttype__file_constant == 1 && c.current3dinputformat_layers_average == 1;
  if (layers != layered) return;
  if (c.currenttype__file_constant == 2) {
    file = input_path("lstcurr3D.pre");
    chosen = "the uniform current series of currenttype__file_constant = 2";
    two_d = "; a two-dimensional run reads \"" + input_path("lstcurr.pre") + "\" instead";
  } else if (c.currenttype__file_constant == 1 && c.current3dinputformat_layers_average == 1) {
    file = "currents_layerDepths.pre";
    chosen = "the depths of the current layers of current3dinputformat_layers_average = 1";
  } else if (c.currenttype__file_constant == 1 && c.current3dinputformat_layers_average == 2) {
    file = input_path("lstcurr_UVW_col.pre");
    chosen = "the depth-mean current series of current3dinputformat_layers_average = 2";
  } else {
    return;
  }
  if (exists(file)) return;
  v.refuse("sim__2d_3d", 0,
           "sim__2d_3d = 2 (a three-dimensional run) reads " + chosen + " (" + v.cfg_file() + ") from \"" + file +
               "\", which does not exist" + two_d);
}

// A forcing of `count` records every `interval` seconds whose records end
// before the run does: the engines then hold the last record.
void warn_short_records(std::ostream& warnings, const char* kind, const char* count_name, int32_t count,
                        float interval) {
  if (!(interval > 0.0f)) return;
  if (static_cast<double>(var_cfg.simulationtimehorizon) <= static_cast<double>(count) * interval) return;
  warnings << "orvel: warning: the run lasts " << value_text(var_cfg.simulationtimehorizon, 9) << " s, but the "
           << count << " " << kind << " records (" << count_name << ") every " << value_text(interval, 9)
           << " s cover only " << value_text(static_cast<double>(count) * interval, 9)
           << " s: the last record is used for the rest of the run\n";
}

// A forcing of `count` records every `interval` seconds of which the run
// uses only the first one or two, the interval being longer than the whole
// run: most likely an interval typed in seconds where hours are read.
void warn_far_records(std::ostream& warnings, const char* kind, const char* interval_name, const char* count_name,
                      int32_t count, float interval) {
  const double horizon = var_cfg.simulationtimehorizon;
  if (!(interval > 0.0f) || !(horizon > 0.0) || !(static_cast<double>(interval) > horizon)) return;
  const int32_t used = 1 + static_cast<int32_t>(horizon / static_cast<double>(interval));
  if (count <= used) return;
  const double h = 3600.0;
  warnings << "orvel: warning: the " << kind << " records come every " << value_text(static_cast<double>(interval) / h, 9)
           << " h (" << interval_name << "), longer than the whole run of " << value_text(horizon / h, 9)
           << " h: the run uses " << used << " of the " << count << " records given (" << count_name
           << "); record intervals are in hours (was this one typed in seconds?)\n";
}

// A horizon that ends within a current record interval: the run is made of
// whole current record intervals, so it ends at the last whole one before
// the horizon.  The results up to there are complete; the warning says
// where the run ends and which horizon would cover the one asked for.
void warn_partial_record(std::ostream& warnings) {
  const float horizon = var_cfg.simulationtimehorizon;
  const float interval = current_record_interval();
  if (!(interval > 0.0f)) return;
  const int32_t n = current_record_count(horizon, interval);
  const double run_s = static_cast<double>(n) * static_cast<double>(interval);
  if (!(run_s < static_cast<double>(horizon))) return;
  const double h = 3600.0;
  warnings << "orvel: warning: the horizon of " << value_text(static_cast<double>(horizon) / h, 9)
           << " h (simulationtimehorizon) is not a whole number of current record intervals of "
           << value_text(static_cast<double>(interval) / h, 9) << " h: the run ends after " << n
           << " records, at " << value_text(run_s / h, 9) << " h; a horizon of "
           << value_text((run_s + static_cast<double>(interval)) / h, 9) << " h would cover it\n";
}

// Releases that the run carries out but that cannot do what the scenario
// asks of them.
void warn_idle_releases(std::ostream& warnings) {
  const auto& c = var_cfg;
  const auto& r = var_run;
  for (int32_t k = 1; k <= c.iternumber; ++k) {
    const double x = c.spillposition_x(k) + 360.0;
    const double y = c.spillposition_y(k);
    const std::string spill = "spill line " + std::to_string(k);
    float depth = 0.0f;
    const bool in_grid = model_depth(x, y, depth);
    // The oil and floating-object placements warn of their own.
    if (c.obj__floating_fuel_hns == 3 && var_mallas.d.allocated() && !in_grid && r.blowout__y_n != 1) {
      warnings << "orvel: warning: the chemical of " << spill << " is released at longitude "
               << value_text(c.spillposition_x(k)) << ", latitude " << value_text(y)
               << ", outside the model grid: its particles placed outside it are counted outside (lost) from the start\n";
    }
    if (r.sim__2d_3d == 2 && r.blowout__y_n != 1 && in_grid && depth > 0.0f) {
      // A chemical's particles drawn at or below the floor start just above
      // it; oil's start on it.
      const bool chemical = c.obj__floating_fuel_hns == 3;
      const double z = c.spillposition_z(k);
      if (chemical && z >= depth) {
        warnings << "orvel: warning: the release depth " << value_text(z) << " m of " << spill
                 << " lies at or below the sea floor (" << value_text(depth)
                 << " m there): its particles start just above the floor\n";
      } else if (!chemical && z > depth) {
        warnings << "orvel: warning: the release depth " << value_text(z) << " m of " << spill
                 << " lies below the sea floor (" << value_text(depth)
                 << " m there): its particles are on the floor from the first step\n";
      }
    }
    // Oil weathers over its slick's area (an HNS has processes of its own).
    const bool weathers = c.evaporo(k) == 1 || c.entrainment(k) == 1;
    if (c.obj__floating_fuel_hns == 2 && weathers && c.spreading__y_n != 1 && r.blowout__y_n != 1 && !(c.area0(k) > 0.0)) {
      warnings << "orvel: warning: the oil of " << spill << " is released at a point (spillsize_sidex x spillsize_sidey = 0) "
               << "and does not spread: its slick has no area, so it neither evaporates nor disperses\n";
    }
  }
}

void warnings_of_the_run(std::ostream& warnings) {
  const auto& c = var_cfg;
  const auto& r = var_run;
  warn_idle_releases(warnings);
  warn_partial_record(warnings);
  warn_far_records(warnings, "current", "deltat_currents", "currentfilesorlines_number", c.currentfilesorlines_number,
                   c.deltat_currents);
  warn_far_records(warnings, "wave", "deltat_waves", "wavesfilesorlines_number", c.wavesfilesorlines_number,
                   c.deltat_waves);
  warn_far_records(warnings, "wind", "deltat_wind", "windfilesorlines_number", c.windfilesorlines_number,
                   c.deltat_wind);
  // A uniform series of one record is a constant: one warning names every
  // such series.  Other forcings are warned about one by one when their
  // records end before the run does.
  struct forcing {
    const char* kind;
    const char* count_name;
    int32_t type;
    int32_t count;
    float interval;
  };
  const forcing forcings[] = {
      {"current", "currentfilesorlines_number", c.currenttype__file_constant, c.currentfilesorlines_number,
       current_record_interval()},
      {"wave", "wavesfilesorlines_number", c.wavestype__file_constant, c.wavesfilesorlines_number, c.deltat_waves},
      {"wind", "windfilesorlines_number", c.windtype__file_constant, c.windfilesorlines_number, c.deltat_wind},
  };
  std::string constant;
  std::string constant_counts;
  int32_t constants = 0;
  for (const auto& f : forcings) {
    if (f.type == 2 && f.count == 1) {
      constant += std::string(constant.empty() ? "" : ", ") + f.kind;
      constant_counts += std::string(constant_counts.empty() ? "" : ", ") + f.count_name;
      ++constants;
    } else {
      warn_short_records(warnings, f.kind, f.count_name, f.count, f.interval);
    }
  }
  if (constants > 0) {
    const auto last = constant.rfind(", ");
    if (last != std::string::npos) constant.replace(last, 2, " and ");
    warnings << "orvel: warning: the " << constant << (constants == 1 ? " series has" : " series have")
             << " one record (" << constant_counts << " = 1): "
             << (constants == 1 ? "it is" : "each is") << " held constant for the whole run\n";
  }
  const bool outputs = r.outputparts__y_n == 1 || r.outputconcs__y_n == 1;
  if (outputs && r.firstoutput_time > c.simulationtimehorizon) {
    warnings << "orvel: warning: the first output time " << value_text(r.firstoutput_time, 9)
             << " s (firstoutput_time) comes after the end of the run at " << value_text(c.simulationtimehorizon, 9)
             << " s, so no particle or grid file is written\n";
  }
  // A chemical in 3-D is entrained by the waves of the uniform series only:
  // with wave fields from files the wave height in use is 0.
  if (c.obj__floating_fuel_hns == 3 && r.sim__2d_3d == 2 && c.wavestype__file_constant == 1) {
    bool entrained = false;
    for (int32_t k = 1; k <= c.spills_number && k <= c.entrainment.ubound(1); ++k) entrained |= c.entrainment(k) == 1;
    if (entrained) {
      warnings << "orvel: warning: a chemical in three dimensions is entrained (verticaldispersion__y_n = 1) by the "
                  "waves of a uniform wave series, but the waves come from field files (wavestype__file_constant = "
                  "1): the wave height in use is 0, so no chemical is entrained into the water column\n";
    }
  }
  if (r.search_land__mask_maskandcoast == 2 && var_costa.ptos_lc == 0) {
    warnings << "orvel: warning: the coastline file has no point inside the model grid, so particles that reach "
                "land are lost (state -2) instead of beaching\n";
  }
}

// A model grid with no water node: every particle would be beached at
// once.  Depths are positive downward; a file of elevations has them the
// other way.
void check_grid_has_water() {
  const auto& g = var_mallas;
  if (!g.d.allocated() || g.d.size(1) < 1 || g.d.size(2) < 1) return;
  float deepest = g.d(1, 1);
  for (int32_t j = 1; j <= g.d.size(2); ++j) {
    for (int32_t i = 1; i <= g.d.size(1); ++i) {
      if (g.d(i, j) > 0.0f) return;
      deepest = std::max(deepest, g.d(i, j));
    }
  }
  throw input_error(input_path(trimmed(g.gridname)), 0,
                    "no node of the model grid holds water: every depth is 0 or less (the largest is " +
                        value_text(deepest) +
                        " m); depths are positive downward (water 0 m deep or less is land), so a file of "
                        "elevations (sea negative) needs its signs turned");
}

// A spill whose release area lies wholly outside the model grid would
// never enter the model's sea: refused at its spill line.  (A blowout
// starts at the jet end, a restart at its own positions.)
void check_spills_meet_grid(const value_checks& v) {
  const auto& c = var_cfg;
  const auto& g = var_mallas;
  if (!g.d.allocated() || !(g.lons > g.loni) || !(g.lats > g.lati)) return;
  if (var_run.blowout__y_n == 1 || var_run.particle_inipositions__y_n == 1) return;
  if (!c.spillposition_x.allocated() || !c.spillposition_y.allocated()) return;
  const double metres_lon = 111317.36 * std::cos(g.latmean * 3.14159265358979 / 180.0);
  for (int32_t k = 1; k <= c.iternumber && k <= c.spillposition_x.ubound(1); ++k) {
    const double x = c.spillposition_x(k) + 360.0;
    const double y = c.spillposition_y(k);
    double hx = 0.0, hy = 0.0;
    if (c.spillsize_sidex.allocated() && k <= c.spillsize_sidex.ubound(1) && metres_lon > 0.0) {
      hx = 0.5 * std::fabs(c.spillsize_sidex(k)) / metres_lon;
    }
    if (c.spillsize_sidey.allocated() && k <= c.spillsize_sidey.ubound(1)) hy = 0.5 * std::fabs(c.spillsize_sidey(k)) / 111317.36;
    if (!(x + hx < g.loni || x - hx > g.lons || y + hy < g.lati || y - hy > g.lats)) continue;
    std::string hint = ": check the release position (degrees, west and south negative)";
    if (x - 360.0 >= g.loni && x - 360.0 <= g.lons && y >= g.lati && y <= g.lats) {
      hint = ": the longitude is given from 0 to 360 degrees east; give one west of Greenwich as negative";
    } else if (y + 360.0 >= g.loni && y + 360.0 <= g.lons && x - 360.0 >= g.lati && x - 360.0 <= g.lats) {
      hint = ": longitude and latitude seem swapped; the spill line gives the longitude first";
    }
    v.refuse("spillposition_x", k,
             "the release of spill line " + std::to_string(k) + " at longitude " + value_text(x - 360.0) +
                 ", latitude " + value_text(y) + " lies wholly outside the model grid (longitudes " +
                 value_text(g.loni - 360.0) + " to " + value_text(g.lons - 360.0) + ", latitudes " +
                 value_text(g.lati) + " to " + value_text(g.lats) + "): nothing of it would enter the model's sea" +
                 hint);
  }
}

// The mean latitude of a regular model grid (record 3) turns eastward
// metres into degrees for the whole grid: one outside the grid's own
// latitudes (0 typed for a grid at 43 N) bends every east-west drift.
void check_latmean_in_grid(const value_checks& v) {
  const auto& m = var_mallas;
  if (var_cfg.gridformat__xyz_grid != 2 || m.ycells_number < 1) return;
  const double south = m.grid0_y;
  const double north = m.grid0_y + static_cast<double>(m.ycells_number - 1) * m.deltay;
  const double low = std::min(south, north);
  const double high = std::max(south, north);
  // A hundredth of a spacing of slack for the rounding of a typed value.
  const double slack = 0.01 * std::fabs(m.deltay);
  if (m.latmean >= low - slack && m.latmean <= high + slack) return;
  v.refuse("latmean", 0,
           "latmean = " + value_text(m.latmean) + ": the mean latitude must lie within the grid's own latitudes, " +
               value_text(low) + " to " + value_text(high) +
               " (it turns eastward metres into degrees of longitude for the whole grid; the middle is " +
               value_text(0.5 * (low + high)) + ")");
}

}  // namespace

uint64_t bytes_per_particle_and_spill() {
  // Positions, start-of-step and circle positions, the Lehr reference (7 + 2
  // doubles); the crossing flag and the state (2 integers); the eight
  // velocity arrays; the engine's per-particle masses and droplet values
  // (about 12 doubles); and, where the spills move together, each spill's
  // own stage positions and diffusivities (4 doubles).
  return (7 + 2 + 8 + 12 + 4) * sizeof(double) + 2 * sizeof(int32_t);
}

uint64_t bytes_per_particle(int32_t layers) {
  // The forcing at the particles: three values per layer, 17 single values,
  // nine three-column arrays; the engine's pass and stage copies (about 10).
  return (3 * static_cast<uint64_t>(layers) + 17 + 27 + 10) * sizeof(double);
}

void validate_control_files(const std::string& clave) {
  const value_checks v(clave);
  check_run_options(v);
  check_scenario_head(v);
  check_spill_lines(v);
  check_forcing(v);
  check_calibration(v);
  check_memory(v);
  check_droplet_inputs(clave);
  check_floating_oil(v);
  check_three_d_current_inputs(v, true);

  check_options(clave);
}

void check_options(const std::string& clave) {
  const value_checks v(clave);
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  if (mode != 1 && mode != 2) {
    v.refuse("search_land__mask_maskandcoast", 0,
             "search_land__mask_maskandcoast must be 1 (mask) or 2 (mask and coastline), found " +
                 std::to_string(mode));
  }
  // The coast polygons exist only in land-search mode 2, and their crossing
  // test is two-dimensional.
  check_coast_algorithm(v.run_file());
  if (!model_grid_read() && var_run.outputconcs__y_n == 1) {
    v.refuse("outputconcs__y_n", 0,
             "outputconcs__y_n 1 (concentration output) needs the model grid, which is not read with "
             "search_land__mask_maskandcoast 1 and a time-varying current grid (currentgrid_variable__y_n 1 in " +
                 v.cfg_file() + ")");
  }
  // Scattered forcing is regridded onto the model grid, one layer of
  // separate U and V files.
  check_regridding(clave);
}

void validate_before_writing(const std::string& clave, std::ostream& warnings) {
  const value_checks v(clave);
  const auto& m = var_mallas;
  if (model_grid_read() || var_cfg.gridformat__xyz_grid == 2) {
    v.range("latmean", m.latmean);
    check_latmean_in_grid(v);
  }
  check_forcing_options(clave);
  check_three_d_current_inputs(v, false);
  check_current_grid_in_model_grid(v.cfg_file());
  check_engine_inputs(v);
  check_grid_has_water();
  check_spills_meet_grid(v);
  check_result_names(clave);
  check_forcing_lists();
  check_first_node_files();
  check_engine_settings(warnings);
  warnings_of_the_run(warnings);
}

}  // namespace orvel
