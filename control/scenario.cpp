#include "control/scenario.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/control_files.hpp"
#include "control/data_folder.hpp"
#include "control/memory_estimate.hpp"
#include "control/state/var_calib.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasconc.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"
#include "control/substance.hpp"

namespace orvel {
namespace {

std::vector<spill_line_values>& lines_as_read() {
  static std::vector<spill_line_values> v;
  return v;
}

// Longest grid file name.
constexpr std::size_t grid_name_length = 12;

// A grid file name (a text item of its own record).
std::string read_name(list_reader& r, const char* what, const std::string& current) {
  std::string name(trimmed(current));
  r.read({what}, name);
  return std::string(trimmed(name));
}

// A grid file name is at most 12 characters: a longer one would be cut and
// name another file.
void check_grid_name(const std::string& name, const char* what, const std::string& source,
                     int64_t line) {
  if (name.size() > grid_name_length) {
    throw input_error(source, line, std::string(what) + " \"" + name + "\" is longer than 12 characters");
  }
}

// Node count of a regular forcing grid, which must fit a 32-bit integer.
int32_t node_count(int32_t xcells, int32_t ycells, const std::string& source, int64_t line,
                   const char* grid) {
  const int64_t n = static_cast<int64_t>(xcells) * ycells;
  if (n > INT32_MAX || n < INT32_MIN) {
    throw input_error(source, line,
                      std::string("the ") + grid + " grid of " + std::to_string(xcells) + " by " +
                          std::to_string(ycells) + " nodes has more nodes than a 32-bit count holds");
  }
  return static_cast<int32_t>(n);
}

// Value that must be positive for an oil or HNS spill line.
void require_positive(float v, const char* what, const char* unit, const std::string& source,
                      int64_t line, int32_t k) {
  if (!(v > 0.0f)) {
    throw input_error(source, line,
                      std::string(what) + " of spill line " + std::to_string(k) +
                          " must be greater than 0 " + unit + ", found " + value_text(v));
  }
}

void require_positive(double v, const char* what, const char* unit, const std::string& source,
                      int64_t line, int32_t k) {
  if (!(v > 0.0)) {
    throw input_error(source, line,
                      std::string(what) + " of spill line " + std::to_string(k) +
                          " must be greater than 0 " + unit + ", found " + value_text(v));
  }
}

// Records after the spill lines, one line at least each: a sediment line and
// a coefficient line per spill and 18 forcing records.  The data-folder line
// is left out of the count, so that a file without it gets the error of its
// own reader.
constexpr int64_t lines_per_spill = 3;
constexpr int64_t lines_after_spills = 18;

// An instantaneous release needs a spill line per spill: a count beyond
// what the rest of the file can hold is refused before it sizes anything.
void check_spill_lines(const list_reader& r, const std::string& source, int64_t line) {
  const int64_t left = static_cast<int64_t>(r.lines_left());
  const int64_t room = left > lines_after_spills ? (left - lines_after_spills) / lines_per_spill : 0;
  const int32_t n = var_cfg.spills_number;
  if (n > room) {
    throw input_error(source, line,
                      "spills_number is " + std::to_string(n) + " but the file holds at most " +
                          std::to_string(room) +
                          " spill lines (each spill needs a spill line, a sediment line and a coefficient "
                          "line, and 18 forcing records follow them)");
  }
}

// The pulses of a continuous release that can start within the run, one
// spare for the rounding of the start times: the spill line's start time and
// the horizon are read ahead (the spill and sediment lines, then record 21).
// Without both as finite numbers every pulse counts; the readers then
// report what is wrong where they meet it.
int32_t pulses_that_can_start(const list_reader& r) {
  const auto& c = var_cfg;
  const int32_t all = release_pulses();
  double spill[28] = {};
  double sediment[3] = {};
  double horizon = 0.0;
  try {
    list_reader ahead = r;
    {
      list_reader::record line(ahead);
      if (!line.items(spill, 28)) return all;
    }
    {
      list_reader::record line(ahead);
      if (!line.items(sediment, 3)) return all;
    }
    if (!ahead.read(horizon)) return all;
  } catch (const input_error&) {
    return all;
  }
  const double start = 3600.0 * spill[1];
  const double end = static_cast<double>(static_cast<float>(horizon) * 3600.0f);
  if (!(std::isfinite(start) && std::isfinite(end) && start >= 0.0 && end >= 0.0)) return all;
  if (end < start) return std::min(all, 1);
  const double can = std::floor((end - start) / static_cast<double>(c.delta_vertidocontinuo)) + 2.0;
  return can < static_cast<double>(all) ? static_cast<int32_t>(can) : all;
}

// Records 1 to 18: grids, object, processes, release mode and spill count.
void read_head(list_reader& r, const std::string& source) {
  auto& c = var_cfg;
  auto& m = var_mallas;
  auto& mc = var_mallasconc;

  const std::string grid = read_name(r, "gridname", m.gridname);
  check_grid_name(grid, "gridname", source, r.record_line());
  m.gridname = fixlen(grid, grid_name_length);
  r.read({"gridformat__xyz_grid"}, c.gridformat__xyz_grid);
  if (c.gridformat__xyz_grid != 1 && c.gridformat__xyz_grid != 2) {
    throw input_error(source, r.record_line(),
                      "gridformat__xyz_grid must be 1 (node list) or 2 (regular grid), found " +
                          std::to_string(c.gridformat__xyz_grid));
  }
  if (c.gridformat__xyz_grid == 2) {
    r.read({"grid0_x", "grid0_y", "deltax", "deltay", "deltaz", "xcells_number", "ycells_number",
            "zcells_number", "latmean"},
           m.grid0_x, m.grid0_y, m.deltax, m.deltay, m.deltaz, m.xcells_number, m.ycells_number,
           m.zcells_number, m.latmean);
  } else {
    r.skip_line("the line of the regular model grid (record 3)");
  }

  const std::string concgrid = read_name(r, "concgridname", mc.concgridname);
  const int64_t concgrid_line = r.record_line();
  mc.concgridname = fixlen(concgrid, grid_name_length);
  r.read({"concgrid_same_grid__y_n"}, c.concgrid_same_grid__y_n);
  r.read({"concgridformat__xyz_grid"}, c.concgridformat__xyz_grid);
  // The concentration grid's own file name and format matter only when
  // concentrations are not counted on the model grid.
  if (c.concgrid_same_grid__y_n == 0) {
    check_grid_name(concgrid, "concgridname", source, concgrid_line);
    if (c.concgridformat__xyz_grid != 1 && c.concgridformat__xyz_grid != 2) {
      throw input_error(source, r.record_line(),
                        "concgridformat__xyz_grid must be 1 (node list) or 2 (regular grid), found " +
                            std::to_string(c.concgridformat__xyz_grid));
    }
  }
  if (c.concgridformat__xyz_grid == 2) {
    r.read({"concgrid0_x", "concgrid0_y", "concdeltax", "concdeltay", "concdeltaz",
            "concxcells_number", "concycells_number", "conczcells_number", "conclatmean"},
           mc.concgrid0_x, mc.concgrid0_y, mc.concdeltax, mc.concdeltay, mc.concdeltaz,
           mc.concxcells_number, mc.concycells_number, mc.conczcells_number, mc.conclatmean);
  } else {
    r.skip_line("the line of the regular concentration grid (record 7)");
  }

  r.read({"coastline_sticknostick_option__y_n"}, c.coastline_sticknostick_option__y_n);

  r.read({"obj__floating_fuel_hns"}, c.obj__floating_fuel_hns);
  const int32_t obj = c.obj__floating_fuel_hns;
  if (obj != 1 && obj != 2 && obj != 3) {
    throw input_error(source, r.record_line(),
                      "obj__floating_fuel_hns must be 1 (floating object), 2 (oil) or 3 (HNS), found " +
                          std::to_string(obj));
  }
  c.obj__floating_fuel = obj;

  r.read({"spreading__y_n", "spreadalgorithm__adios2_leher_hns", "stoptimespreading"}, c.spreading__y_n,
         c.spreadalgorithm__adios2_leher_hns, c.stoptimespreading);
  // Oil does not spread in 3-D runs.
  if (var_run.sim__2d_3d == 2 && obj == 2) c.spreading__y_n = 0;
  // An HNS takes its algorithm from the calibration file, checked there.
  if (obj != 3 && c.spreading__y_n == 1 && c.spreadalgorithm__adios2_leher_hns != 1 &&
      c.spreadalgorithm__adios2_leher_hns != 2) {
    throw input_error(source, r.record_line(),
                      "spreadalgorithm__adios2_leher_hns must be 1 or 2 when spreading is on, found " +
                          std::to_string(c.spreadalgorithm__adios2_leher_hns));
  }

  r.read({"evaporation__y_n"}, c.evaporation__y_n);
  r.read({"emulsification__y_n"}, c.emulsification__y_n);
  r.read({"verticaldispersion__y_n"}, c.verticaldispersion__y_n);
  r.read({"dissolution__y_n", "volatilization__y_n", "sedimentation__y_n", "degradation__y_n"},
         c.dissolution__y_n, c.volatilization__y_n, c.sedimentation__y_n, c.degradation__y_n);
  r.read({"kinemviscosity_water"}, var_spill.kinemviscosity_water);

  r.read({"spill__instant_contin"}, c.spill__instant_contin);
  if (c.spill__instant_contin != 1 && c.spill__instant_contin != 2) {
    throw input_error(source, r.record_line(),
                      "spill__instant_contin must be 1 (instantaneous) or 2 (continuous), found " +
                          std::to_string(c.spill__instant_contin));
  }
  r.read({"spills_number"}, c.spills_number);
  const int64_t count_line = r.record_line();
  if (c.spill__instant_contin == 1 && c.spills_number < 1) {
    throw input_error(source, count_line,
                      "spills_number must be at least 1, found " + std::to_string(c.spills_number));
  }
  r.read({"spillduration", "delta_vertidocontinuo"}, c.spillduration, c.delta_vertidocontinuo);
  // The count sizes every per-spill array: it is checked before any of them.
  if (c.spill__instant_contin == 2) {
    c.spills_number = std::min(pulse_count(source, r.record_line()), pulses_that_can_start(r));
    check_fits_in_memory(source, r.record_line(),
                         "a continuous release of " + std::to_string(c.spills_number) + " pulses",
                         c.spills_number, bytes_per_spill);
  } else {
    check_spill_lines(r, source, count_line);
  }
}

// The per-spill arrays of the scenario, spills_number elements each; the
// flags start at 0.
void allocate_spill_arrays() {
  auto& c = var_cfg;
  auto& s = var_spill;
  auto& p = var_part;
  const int32_t n = c.spills_number;

  for (auto* a : {&c.spillstarttime, &c.spilledmass, &c.spillposition_x, &c.spillposition_y,
                  &c.spillposition_z, &c.spillsize_sidex, &c.spillsize_sidey, &c.spillthickness,
                  &c.minspillthickness, &c.spillvolume, &c.masa0, &c.vol0, &c.area0}) {
    a->allocate(n);
  }
  for (auto* a : {&c.evaporo, &c.emulsiono, &c.entrainment, &c.dissolution, &c.volatilization,
                  &c.sedimentation, &c.degradation, &c.flag_tierra, &c.flag_air}) {
    a->allocate(n);
    a->fill(0);
  }
  s.oiltype__crude0_refined1.allocate(n);
  for (auto* a : {&s.density, &s.densityreferencetemperature, &s.viscosity,
                  &s.viscosityreferencetemperature, &s.watersolubility,
                  &s.solubilityreferencetemperature, &s.vaporpressure,
                  &s.vaporpressurereferencetemperature, &s.hnsmolweight, &s.hnsorganic__y_n,
                  &s.maxevaporation, &s.minevaporation, &s.maxemulsification, &s.waterdensity,
                  &s.watertemperature, &s.airtemperature, &s.sedimentsconcentration, &s.logkow,
                  &s.degradation_rate, &s.area_maxima, &s.t0, &s.tg, &s.api, &s.densr0,
                  &s.deltarho, &s.viscosity15, &s.c6}) {
    a->allocate(n);
  }
  for (auto* a : {&p.par_beached, &p.par_air, &p.par_floor, &p.par_surf, &p.par_column,
                  &p.par_pause, &p.par_surf_ini}) {
    a->allocate(n);
  }
}

// Record 19, spill line k.
void read_spill_line(list_reader& r, const std::string& source, int32_t k) {
  auto& c = var_cfg;
  auto& s = var_spill;
  {
    // A decimal comma splits each value in two and shifts the rest of the
    // line: refused as such, before any shifted value is judged.
    list_reader ahead = r;
    list_reader::record line(ahead);
    double values[28] = {};
    try {
      if (line.items(values, 28) && count_values(line.rest_of_line()) > 0 && comma_between_digits(line.line())) {
        throw input_error(source, ahead.record_line(),
                          "spill line " + std::to_string(k) + " holds " + std::to_string(count_values(line.line())) +
                              " values, but a spill line takes 28: is the comma the decimal mark? Write decimals "
                              "with a point (\"900.0\"); a comma, like a blank, separates two values");
      }
    } catch (const input_error& e) {
      if (e.message().rfind("spill line ", 0) == 0) throw;
      // Anything else is refused by the read itself, with its own words.
    }
  }
  r.read({"spill_id", "spillstarttime", "spilledmass", "spillposition_x", "spillposition_y",
          "spillposition_z", "spillsize_sidex", "spillsize_sidey", "spillthickness",
          "minspillthickness", "spillvolume", "oiltype__crude0_refined1", "density",
          "densityreferencetemperature", "viscosity", "viscosityreferencetemperature",
          "watersolubility", "solubilityreferencetemperature", "vaporpressure",
          "vaporpressurereferencetemperature", "hnsmolweight", "hnsorganic__y_n", "maxevaporation",
          "minevaporation", "maxemulsification", "waterdensity", "watertemperature",
          "airtemperature"},
         c.spill_id(k), c.spillstarttime(k), c.spilledmass(k), c.spillposition_x(k),
         c.spillposition_y(k), c.spillposition_z(k), c.spillsize_sidex(k), c.spillsize_sidey(k),
         c.spillthickness(k), c.minspillthickness(k), c.spillvolume(k), s.oiltype__crude0_refined1(k),
         s.density(k), s.densityreferencetemperature(k), s.viscosity(k),
         s.viscosityreferencetemperature(k), s.watersolubility(k), s.solubilityreferencetemperature(k),
         s.vaporpressure(k), s.vaporpressurereferencetemperature(k), s.hnsmolweight(k),
         s.hnsorganic__y_n(k), s.maxevaporation(k), s.minevaporation(k), s.maxemulsification(k),
         s.waterdensity(k), s.watertemperature(k), s.airtemperature(k));

  // Densities and the minimum thickness divide the derived values of oil and
  // HNS; a floating object has none of them.
  if (c.obj__floating_fuel_hns == 2 || c.obj__floating_fuel_hns == 3) {
    const int64_t line = r.record_line();
    require_positive(s.density(k), "density", "kg/m3", source, line, k);
    require_positive(s.waterdensity(k), "waterdensity", "kg/m3", source, line, k);
    if (c.spreading__y_n == 1) {
      require_positive(c.minspillthickness(k), "minspillthickness (spreading on)", "m", source, line, k);
    }
  }
}

// Records 21 to 38: horizon and forcings.
void read_forcing(list_reader& r, const std::string& source) {
  auto& c = var_cfg;
  auto& m = var_mallas;
  auto& f = var_mallasforz;

  r.read({"simulationtimehorizon"}, c.simulationtimehorizon);

  r.read({"currenttype__file_constant", "currentgrid_regular__y_n", "currentgrid_variable__y_n",
          "variablecurrgrid__wetdry_radar", "currentcorrection__y_n", "currentfilesjointuvw__y_n"},
         c.currenttype__file_constant, m.currentgrid_regular__y_n, c.currentgrid_variable__y_n,
         c.variablecurrgrid__wetdry_radar, c.currentcorrection__y_n, c.currentfilesjointuvw__y_n);
  r.read({"current3dinputformat_layers_average"}, c.current3dinputformat_layers_average);
  r.read({"currentgridformat__xyz_grid", "currcorrectgridformat__xyz_grid"},
         c.currentgridformat__xyz_grid, c.currcorrectgridformat__xyz_grid);
  r.read({"deltat_currents", "currentfilesorlines_number", "currentcorrectionfiles_number"},
         c.deltat_currents, c.currentfilesorlines_number, c.currentcorrectionfiles_number);
  r.read({"xyzcurrentnodes_number", "xyzcurrentnodes_number", "xyzcurrentnodes_number"},
         c.xyzcurrentnodes_number[0], c.xyzcurrentnodes_number[1], c.xyzcurrentnodes_number[2]);
  r.read({"gridformatcurru_0x", "gridformatcurru_0y", "gridformatcurru_deltax", "gridformatcurru_deltay",
          "gridformatcurru_xcells", "gridformatcurru_ycells"},
         f.gridformatcurru_0x, f.gridformatcurru_0y, f.gridformatcurru_deltax, f.gridformatcurru_deltay,
         f.gridformatcurru_xcells, f.gridformatcurru_ycells);
  const int64_t u_line = r.record_line();
  r.read({"gridformatcurrv_0x", "gridformatcurrv_0y", "gridformatcurrv_deltax", "gridformatcurrv_deltay",
          "gridformatcurrv_xcells", "gridformatcurrv_ycells"},
         f.gridformatcurrv_0x, f.gridformatcurrv_0y, f.gridformatcurrv_deltax, f.gridformatcurrv_deltay,
         f.gridformatcurrv_xcells, f.gridformatcurrv_ycells);
  // A regular grid: origin to the internal longitude + 360, node counts from
  // the cell counts (the W count stays as read).
  if (c.currentgridformat__xyz_grid == 2) {
    f.gridformatcurru_0x = f.gridformatcurru_0x + 360.0;
    f.gridformatcurrv_0x = f.gridformatcurrv_0x + 360.0;
    c.xyzcurrentnodes_number[0] =
        node_count(f.gridformatcurru_xcells, f.gridformatcurru_ycells, source, u_line, "U-current");
    c.xyzcurrentnodes_number[1] =
        node_count(f.gridformatcurrv_xcells, f.gridformatcurrv_ycells, source, r.record_line(), "V-current");
  }

  r.read({"wavestype__file_constant", "wavesgrid_regular__y_n"}, c.wavestype__file_constant,
         m.wavesgrid_regular__y_n);
  r.read({"wavesgridformat__xyz_grid"}, c.wavesgridformat__xyz_grid);
  r.read({"deltat_waves", "wavesfilesorlines_number"}, c.deltat_waves, c.wavesfilesorlines_number);
  r.read({"xyzwavesnodes_number"}, c.xyzwavesnodes_number);
  r.read({"gridformatwaves_0x", "gridformatwaves_0y", "gridformatwaves_deltax", "gridformatwaves_deltay",
          "gridformatwaves_xcells", "gridformatwaves_ycells"},
         f.gridformatwaves_0x, f.gridformatwaves_0y, f.gridformatwaves_deltax, f.gridformatwaves_deltay,
         f.gridformatwaves_xcells, f.gridformatwaves_ycells);
  if (c.wavesgridformat__xyz_grid == 2) {
    f.gridformatwaves_0x = f.gridformatwaves_0x + 360.0;
    c.xyzwavesnodes_number =
        node_count(f.gridformatwaves_xcells, f.gridformatwaves_ycells, source, r.record_line(), "wave");
  }

  r.read({"windtype__file_constant", "windgrid_regular__y_n"}, c.windtype__file_constant,
         m.windgrid_regular__y_n);
  r.read({"windgridformat__xyz_grid"}, c.windgridformat__xyz_grid);
  r.read({"deltat_wind", "windfilesorlines_number"}, c.deltat_wind, c.windfilesorlines_number);
  r.read({"xyzwindnodes_number"}, c.xyzwindnodes_number);
  r.read({"gridformatwind_0x", "gridformatwind_0y", "gridformatwind_deltax", "gridformatwind_deltay",
          "gridformatwind_xcells", "gridformatwind_ycells"},
         f.gridformatwind_0x, f.gridformatwind_0y, f.gridformatwind_deltax, f.gridformatwind_deltay,
         f.gridformatwind_xcells, f.gridformatwind_ycells);
  if (c.windgridformat__xyz_grid == 2) {
    f.gridformatwind_0x = f.gridformatwind_0x + 360.0;
    c.xyzwindnodes_number =
        node_count(f.gridformatwind_xcells, f.gridformatwind_ycells, source, r.record_line(), "wind");
  }
}

// Record 39: the drift and diffusion coefficients of every spill line.
void read_coefficients(list_reader& r) {
  auto& c = var_cfg;
  const int32_t n = c.spills_number;
  for (auto* a : {&c.currentcoeff, &c.dragcoeff_a, &c.dragcoeff_b, &c.wavescoeff}) a->allocate(n);
  c.turbdiffusion__y_n.allocate(n);
  for (auto* a : {&c.diffusioncoeff_kh, &c.diffusioncoeff_kz, &c.riverfreesurfaceslope}) a->allocate(n);

  for (int32_t k = 1; k <= c.iternumber; ++k) {
    r.read({"currentcoeff", "dragcoeff_a", "dragcoeff_b", "wavescoeff", "turbdiffusion__y_n",
            "diffusioncoeff_kh", "diffusioncoeff_kz", "riverfreesurfaceslope"},
           c.currentcoeff(k), c.dragcoeff_a(k), c.dragcoeff_b(k), c.wavescoeff(k),
           c.turbdiffusion__y_n(k), c.diffusioncoeff_kh(k), c.diffusioncoeff_kz(k),
           c.riverfreesurfaceslope(k));
    // A backward run drifts against the forcing.
    if (var_run.simdirection__fore_back == 2) {
      c.currentcoeff(k) = -c.currentcoeff(k);
      c.dragcoeff_a(k) = -c.dragcoeff_a(k);
      c.dragcoeff_b(k) = -c.dragcoeff_b(k);
      c.wavescoeff(k) = -c.wavescoeff(k);
    }
  }
}

}  // namespace

const std::vector<spill_line_values>& spill_lines_as_read() { return lines_as_read(); }
void forget_spill_lines() { lines_as_read().clear(); }

void leo_cfg(const std::string& clave) {
  auto& c = var_cfg;
  auto& s = var_spill;
  const std::string source = clave + ".cfg";
  {
    control_file cf(source);
    list_reader& r = cf.reader();

    read_head(r, source);

    allocate_spill_arrays();
    set_substance_constants();
    c.iternumber = c.spill__instant_contin == 1 ? c.spills_number : 1;
    c.spill_id.allocate(c.iternumber);

    lines_as_read().clear();
    for (int32_t k = 1; k <= c.iternumber; ++k) {
      read_spill_line(r, source, k);
      lines_as_read().push_back({c.spilledmass(k), c.spillvolume(k), s.density(k), s.densityreferencetemperature(k), s.viscosity(k),
                                 s.viscosityreferencetemperature(k), s.minevaporation(k), s.watertemperature(k),
                                 s.airtemperature(k)});
      derive_spill(k);
    }
    if (c.spill__instant_contin == 2) fill_pulses();

    for (int32_t k = 1; k <= c.iternumber; ++k) {
      r.read({"sedimentsconcentration", "logkow", "degradation_rate"}, s.sedimentsconcentration(k),
             s.logkow(k), s.degradation_rate(k));
    }
    if (c.spill__instant_contin == 2) copy_sediment_to_pulses();

    read_forcing(r, source);

    read_coefficients(r);
    if (c.spill__instant_contin == 2) copy_coefficients_to_pulses();

    // The data folder is the whole line, blanks included.
    c.ruta = fixlen(r.read_line("the data folder line (ruta)"), control_line_length);
  }
  finish_scenario();
}

void leo_param_calib(const std::string& clave) {
  auto& c = var_calib;
  auto& cfg = var_cfg;
  const std::string source = data_folder_path(clave + "_HNS.calib");
  control_file cf(source);
  list_reader& r = cf.reader();

  r.read({"spreadalgorithm__adios2_leher_hns"}, cfg.spreadalgorithm__adios2_leher_hns);
  const int32_t algorithm = cfg.spreadalgorithm__adios2_leher_hns;
  const int64_t algorithm_line = r.record_line();
  if (algorithm == 3) {
    r.read({"spreadingrateconstant"}, c.spreadingrateconstant);
  } else {
    r.read({"km"}, c.km);
  }
  const int64_t km_line = r.record_line();
  r.read({"calibevap_option"}, c.calibevap_option);
  if (c.calibevap_option == 1) {
    r.read({"a"}, c.a);
  } else {
    r.read({"k2"}, c.k2);
  }
  const int64_t a_k2_line = r.record_line();
  r.read({"wind_min"}, c.wind_min);
  r.read({"calibdisol_option"}, c.calibdisol_option);
  if (c.calibdisol_option == 1) {
    r.read({"dissolparam"}, c.dissolparam);
  } else {
    r.read({"kd"}, c.kd);
  }

  // The other algorithm codes would use arrays that are never built.
  const bool spreading = cfg.spreading__y_n == 1;
  if (spreading && algorithm != 1 && algorithm != 2 && algorithm != 3) {
    throw input_error(source, algorithm_line,
                      "spreadalgorithm__adios2_leher_hns must be 1, 2 or 3 when spreading is on, found " +
                          std::to_string(algorithm));
  }

  // Records 2 and 4 each carry one of two constants; a process whose constant
  // the file does not give would run with 0.
  const bool evaporation = cfg.evaporation__y_n == 1;
  const bool three_d = var_run.sim__2d_3d != 1;
  if (spreading && algorithm == 1 && c.calibevap_option == 1) {
    throw input_error(source, a_k2_line,
                      "spreading algorithm 1 needs k2, but calibevap_option 1 makes this record the "
                      "evaporation coefficient a: k2 would be left at 0");
  }
  if (evaporation && !three_d && c.calibevap_option != 1 && algorithm == 3) {
    throw input_error(source, km_line,
                      "evaporation with calibevap_option " + std::to_string(c.calibevap_option) +
                          " needs km, but spreading algorithm 3 makes this record the spreading rate "
                          "constant: km would be left at 0");
  }
  if (evaporation && three_d && c.calibevap_option != 1) {
    throw input_error(source, a_k2_line,
                      "evaporation in a 3-D run computes its coefficient from a, but calibevap_option " +
                          std::to_string(c.calibevap_option) +
                          " makes this record k2: a would be left at 0");
  }
}

}  // namespace orvel
