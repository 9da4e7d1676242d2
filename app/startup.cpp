#include "app/startup.hpp"

#include "app/run_folder.hpp"
#include "app/validation.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include <unistd.h>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/parallel.hpp"
#include "common/result_file.hpp"
#include "common/run_stops.hpp"
#include "common/text.hpp"
#include "control/control_files.hpp"
#include "control/geography.hpp"
#include "control/run_rules.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"
#include "engines/engines.hpp"
#include "fate/droplets.hpp"
#include "fate/hns_setup.hpp"
#include "fate/hns_water.hpp"
#include "forcing/regrid.hpp"
#include "transport/coast_index.hpp"

namespace orvel {
namespace {

// a * b as an array extent (zero or negative gives an empty dimension).
int32_t extent(int32_t a, int32_t b) {
  const int64_t n = int64_t{a} * b;
  if (n > INT32_MAX) {
    throw std::length_error("array extent " + std::to_string(a) + " x " + std::to_string(b) +
                            " exceeds 2147483647 elements");
  }
  return static_cast<int32_t>(n);
}

// A list of n file names, each 256 blanks until a list reader fills it.
void allocate_names(farray<std::string>& a, int32_t n) {
  a.allocate(n);
  a.fill(blanks(256));
}

}  // namespace

std::string run_key(int argc, const char* const* argv) { return fixlen(argc > 1 ? argv[1] : "", 4); }

void main_program(const std::string& clave) {
  // A thread count the run cannot take (ORVEL_THREADS) is refused before
  // anything is read or written.
  thread_count();
  const key_lock lock(clave, std::cerr);
  // Working names carry the key and the process, so that no two runs ever
  // write the same working file.
  set_partial_tag(clave + "." + std::to_string(::getpid()));
  run(clave);
  leo_cfg(clave);
  start_up(clave);
}

void start_up(const std::string& clave) {
  // The calibration file is read with the other control files, so that the
  // one validation pass sees all of them before anything is written.
  const engine_choice engine = choose_engine(var_cfg.obj__floating_fuel_hns, var_run.sim__2d_3d);
  if (engine.calibration) leo_param_calib(clave);
  validate_control_files(clave);
  set_current_layers();
  // The coast polygons, owned here for the whole run and handed to the engine.
  farray<coast_polygon> coord_str{"coord_str"};
  read_geography(coord_str);
  validate_before_writing(clave, std::cerr);
  // The inputs are accepted: a stop asked for so far ends the run before it
  // touches the folder; then the results of earlier runs of the key go, so
  // that the folder only ever holds those of one run.
  stop_if_asked(-1.0);
  remove_earlier_results(clave);
  // A run that runs out of memory leaves none of its result files behind.
  commit_journal journal;
  try {
    write_start_up_files();
    allocate_run_arrays();
    print_banner();
    if (var_cfg.obj__floating_fuel_hns == 3) print_chemical_classes();
    if (engine.engine) engine.engine(clave, coord_str);
  } catch (const std::bad_alloc&) {
    journal.undo();
    throw;
  }
  std::cout << free_line("The simulation completed succesfully!") << '\n';
  std::cout.flush();
}

void write_start_up_files() {
  // All or nothing: a regridding that fails part way takes back the files
  // written before it, so a refused scenario leaves the folder as it was.
  commit_journal journal;
  try {
    write_grid_coordinates();
    regrid_forcing();
  } catch (...) {
    journal.undo();
    throw;
  }
}

void set_current_layers() {
  auto& v = var_capas;
  if (var_run.sim__2d_3d == 2 && var_cfg.currenttype__file_constant == 1) {
    if (var_cfg.current3dinputformat_layers_average == 1) {
      leo_capas();
      return;
    }
    // The depth-mean current series is not open yet.
    if (var_cfg.current3dinputformat_layers_average == 2) v.flag_currcol = 0;
  }
  v.numcapascorr = 1;
  v.layer.allocate(1);
  v.depth.allocate(1);
  v.layer(1) = 0;
  v.depth(1) = 0.0;
}

void read_geography(farray<coast_polygon>& coord_str) {
  switch (var_run.search_land__mask_maskandcoast) {
    case 1:
      // A time-varying current grid carries its own land mask.
      if (var_cfg.currentgrid_variable__y_n == 0) leo_bat();
      break;
    case 2:
      leo_bat();
      leo_costa();
      if (var_run.searchcoastalgorithm__lr_hr == 2) {
        coord_str.allocate(var_run.coast_polygonnumber);
        lee_poligonos(coord_str);
      }
      // Bucket indexes over the coast points and polygon edges, so that the
      // coast searches of every step need not scan the whole coast.
      coast_index::build(coord_str.allocated() ? &coord_str : nullptr);
      break;
    default:
      break;
  }
}

namespace {

// Whether the text written piece by piece is the whole content of a file
// that stood before.
class same_as_before {
 public:
  explicit same_as_before(const char* name) : in_(name, std::ios::binary), existed_(in_.is_open()) {}
  void add(std::string_view s) {
    if (!same_) return;
    piece_.resize(s.size());
    in_.read(piece_.data(), static_cast<std::streamsize>(s.size()));
    same_ = in_.gcount() == static_cast<std::streamsize>(s.size()) && piece_ == s;
  }
  // A file stood and held other text.
  bool replaced_other() {
    if (!existed_) return false;
    return !same_ || in_.peek() != std::char_traits<char>::eof();
  }

 private:
  std::ifstream in_;
  bool existed_;
  bool same_ = true;
  std::string piece_;
};

}  // namespace

void write_grid_coordinates() {
  const auto& g = var_mallas;
  const auto& c = var_mallasconc;
  // The file carries no key: a run of another key with another grid in this
  // folder wrote the one that stands, and loses it.
  same_as_before before("grid_coordinates.txt");
  result_file f("grid_coordinates.txt");
  auto line = [&](const std::string& text) {
    before.add(text);
    before.add("\n");
    f.line(text);
  };
  line(fmt_a("longitude (\xBA),", 15) + fmt_a("latitude (\xBA)", 14));
  // Without the model grid no node coordinates exist: the header alone.
  const int32_t nodes = model_grid_read() ? extent(c.concxcells_number, c.concycells_number) : 0;
  for (int32_t k = 1; k <= nodes; ++k) {
    double x = 0.0;
    double y = 0.0;
    if (var_cfg.concgrid_same_grid__y_n == 0) {
      x = c.xbatcc(k) - 360.0 + c.concdeltax / 2.0;
      y = c.ybatcc(k) + c.concdeltay / 2.0;
    } else {
      x = g.xbat(k) - 360.0 + g.deltax / 2.0;
      y = g.ybat(k) + g.deltay / 2.0;
    }
    line(fit_f(x, 14, 7) + "," + fit_f(y, 14, 7));
  }
  if (before.replaced_other()) {
    std::cerr << "orvel: warning: grid_coordinates.txt held the nodes of another grid (a run of another key in "
                 "this folder?): it is replaced by this run's grid, and the grid files of that run no longer "
                 "match it\n";
  }
  f.commit();
}

void regrid_forcing() {
  auto& c = var_cfg;
  if (regrids_currents()) interpola_malla_corrientes(c.xyzcurrentnodes_number, c.currentfilesorlines_number);
  if (regrids_wind()) interpola_malla(2, c.xyzwindnodes_number, c.windfilesorlines_number);
  if (regrids_waves()) interpola_malla(3, c.xyzwavesnodes_number, c.wavesfilesorlines_number);
}

void allocate_run_arrays() {
  const auto& c = var_cfg;
  const auto& fz = var_mallasforz;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  const int32_t nl = var_capas.numcapascorr;
  const int32_t nu = c.xyzcurrentnodes_number[0];
  const int32_t nv = c.xyzcurrentnodes_number[1];
  const int32_t nw = c.xyzcurrentnodes_number[2];
  const int32_t ncur = c.currentfilesorlines_number;
  const int32_t nwind = c.windfilesorlines_number;
  const int32_t nwave = c.wavesfilesorlines_number;

  auto& p = var_part;
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) a->allocate(ns);
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part, &p.xp1, &p.yp1, &p.xcirc, &p.ycirc}) a->allocate(np, ns);
  p.part_inter.allocate(np, ns);
  allocate_lehr_arrays();

  auto& f = var1;
  f.dispersioninit_flag.allocate(ns);
  if (c.windgridformat__xyz_grid == 2) {
    allocate_names(f.fichviento_u, nwind);
    allocate_names(f.fichviento_v, nwind);
  } else {
    allocate_names(f.fichviento, nwind);
  }
  if (c.wavesgridformat__xyz_grid == 2) {
    allocate_names(f.fichola_hs, nwave);
    allocate_names(f.fichola_t, nwave);
    allocate_names(f.fichola_dir, nwave);
  } else {
    allocate_names(f.fichola, nwave);
  }
  for (auto* a : {&f.fichvel_u, &f.fichvel_v, &f.fichvel_w, &f.fichvel_uvw}) allocate_names(*a, extent(nl, ncur));
  if (c.currentgridformat__xyz_grid == 2 && c.currentgrid_variable__y_n == 1) allocate_names(f.fichvel_mask, ncur);
  if (c.currentcorrection__y_n == 1) {
    allocate_names(f.fichvel_uc, c.currentcorrectionfiles_number);
    allocate_names(f.fichvel_vc, c.currentcorrectionfiles_number);
  }

  auto& w = var_currwindwave;
  for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) a->allocate(c.xyzwindnodes_number);
  if (c.windgridformat__xyz_grid == 2) {
    for (auto* a : {&w.uwg, &w.vwg, &w.uwg0, &w.vwg0}) a->allocate(fz.gridformatwind_xcells, fz.gridformatwind_ycells);
  }
  for (auto* a : {&w.hwavex, &w.hwavey, &w.twave, &w.hwavex0, &w.hwavey0, &w.twave0, &w.xh, &w.yh}) {
    a->allocate(c.xyzwavesnodes_number);
  }
  if (c.wavesgridformat__xyz_grid == 2) {
    for (auto* a : {&w.hsg, &w.tetahg, &w.t_g, &w.hsg0, &w.tetahg0, &w.t_g0}) {
      a->allocate(fz.gridformatwaves_xcells, fz.gridformatwaves_ycells);
    }
  }
  for (auto* a : {&w.hwavec, &w.angc, &w.twavec}) a->allocate(nwave);
  for (auto* a : {&w.windc, &w.angw}) a->allocate(nwind);
  for (auto* a : {&w.velcu, &w.angcu, &w.velcusup, &w.angcusup, &w.velcucol, &w.angcucol}) a->allocate(ncur);
  for (auto* a : {&w.u_int_xypart, &w.v_int_xypart, &w.w_int_xypart}) a->allocate(np, nl);
  for (auto* a : {&w.u_curr_int, &w.v_curr_int, &w.u_curr_intsup, &w.v_curr_intsup, &w.u_curr_intcol, &w.v_curr_intcol,
                  &w.w_curr_int, &w.vuint0, &w.vvint0, &w.vuint_t1, &w.vvint_t1, &w.wintx, &w.winty, &w.wintx0,
                  &w.winty0, &w.wintx_t1, &w.winty_t1}) {
    a->allocate(np);
  }
  for (auto* a : {&w.hintx, &w.hinty, &w.tint, &w.hintx0, &w.hinty0, &w.tint0, &w.hintx_t1, &w.hinty_t1, &w.tint_t1}) {
    a->allocate(np, 3);
  }
  for (auto* a : {&w.uadv_viento_oleaje, &w.vadv_viento_oleaje, &w.uadv_corrientes, &w.vadv_corrientes,
                  &w.wadv_corrientes_y_float, &w.uadv, &w.vadv, &w.wadv}) {
    a->allocate(np, ns);
  }
  w.uwind.allocate(ns);

  auto& v = var2;
  for (auto* a : {&v.xcorr_u, &v.ycorr_u}) a->allocate(nu);
  v.indland.allocate(nu);
  v.indland0.allocate(nu);
  for (auto* a : {&v.xcorr_v, &v.ycorr_v}) a->allocate(nv);
  v.xcorr_w.allocate(nw);
  v.ycorr_w.allocate(nw);
  // Both time levels of every layer: the start level is read and kept only
  // when currents are blended in time (untouched storage costs nothing).
  for (auto* a : {&v.u_curr_read, &v.u0}) a->allocate(nu, nl);
  for (auto* a : {&v.v_curr_read, &v.v0}) a->allocate(nv, nl);
  for (auto* a : {&v.w_curr_read, &v.w0}) a->allocate(nw, nl);
  v.u_curr_read_colprom.allocate(nl);
  v.v_curr_read_colprom.allocate(nl);
  if (c.currentgridformat__xyz_grid == 2) {
    v.ug.allocate(fz.gridformatcurru_xcells, fz.gridformatcurru_ycells);
    v.ug0.allocate(fz.gridformatcurru_xcells, fz.gridformatcurru_ycells);
    v.vg.allocate(fz.gridformatcurrv_xcells, fz.gridformatcurrv_ycells);
    v.vg0.allocate(fz.gridformatcurrv_xcells, fz.gridformatcurrv_ycells);
  }
  if (c.currentcorrection__y_n == 1) {
    v.ucp.allocate(nu);
    v.vcp.allocate(nv);
    if (c.currcorrectgridformat__xyz_grid == 2) {
      v.ucpg.allocate(fz.gridformatcurru_xcells, fz.gridformatcurru_ycells);
      v.vcpg.allocate(fz.gridformatcurrv_xcells, fz.gridformatcurrv_ycells);
    }
  }
}

void allocate_lehr_arrays() {
  auto& p = var_part;
  if (var_cfg.spreadalgorithm__adios2_leher_hns != 2 || p.x_oldpt.allocated()) return;
  p.x_oldpt.allocate(var_run.particle_number, var_cfg.spills_number);
  p.y_oldpt.allocate(var_run.particle_number, var_cfg.spills_number);
}

void print_banner() {
  const std::string rule(58, '-');
  const std::string empty = blanks(58);
  auto centred = [](int before, const char* text, int after) { return blanks(before) + text + blanks(after); };
  const std::string lines[14] = {
      empty,
      rule,
      empty,
      centred(23, "ORVEL v1.2.6", 23),
      empty,
      centred(16, "2D/3D OIL AND HNS TRANSPORT", 15),
      centred(27, "AND", 28),
      centred(21, "WEATHERING MODEL", 21),
      empty,
      empty,
      centred(17, "15/11/2021 - Quillanster", 17),
      empty,
      empty,
      rule,
  };
  for (const auto& l : lines) std::cout << free_line(l) << '\n';
  std::cout.flush();
}

std::string chemical_class_text(int32_t hnsclass, bool three_d, bool sinks) {
  // What the model does with the class.  The classes that float are told
  // apart by name only: how fast such a chemical evaporates and dissolves
  // follows from its vapour pressure, its solubility and the weather, not
  // from its class.  A liquid denser than the water sinks whatever its
  // class.
  const std::string rates = "every process switched on acts on it at rates set by its vapour pressure, its "
                            "solubility and the weather";
  const std::string floats = three_d ? "released at the surface it floats, released at a depth its droplets start "
                                       "in the water column and rise at their own speed (never resting on the sea "
                                       "floor), and " + rates
                                     : "it floats, and " + rates;
  const std::string on_floor =
      three_d ? "its droplets sink at their own speed, dissolving on their way, and lie on the sea floor, where "
                "dissolution, sorption and degradation act on them as switched on"
              : "it starts on the sea floor as droplets of 1 mm, where dissolution, sorption and degradation act on "
                "it as switched on, and what dissolves moves with the current";

  std::string name;
  switch (hnsclass) {
    case hnsclass_gas:
      return three_d ? "gas: released at the surface it goes into the air, where no process acts and no column of "
                       "the property file shows it; released at a depth it rises as bubbles of 5 mm (about 0.3 "
                       "m/s) and goes into the air when it comes up"
                     : "gas: it goes into the air, where no process acts and no column of the property file shows "
                       "it (its rows read 0 kg and a balance of 0.00)";
    case hnsclass_gas_dissolver:
      return three_d ? "gas-dissolver: it floats and evaporates; released at the surface it does not dissolve or "
                       "sorb; released at a depth it rises as a gas and dissolves on its way"
                     : "gas-dissolver: it floats and evaporates; released at the surface it does not dissolve or sorb";
    case hnsclass_evaporator:
      name = "evaporator";
      break;
    case hnsclass_evaporator_dissolver:
      name = "evaporator-dissolver";
      break;
    case hnsclass_floater_evaporator:
      name = "floater-evaporator";
      break;
    case hnsclass_floater_evaporator_dissolver:
      name = "floater-evaporator-dissolver";
      break;
    case hnsclass_floater:
      name = "floater";
      break;
    case hnsclass_floater_dissolver:
      name = "floater-dissolver";
      break;
    case hnsclass_dissolver_evaporator:
      name = "dissolver-evaporator";
      break;
    case hnsclass_dissolver:
      name = "dissolver";
      break;
    case hnsclass_sinker_dissolver:
      if (sinks) return "sinker-dissolver: " + on_floor;
      return "sinker-dissolver not denser than the water: " + floats;
    case hnsclass_sinker:
      return three_d ? "sinker: only degradation acts on it; its droplets settle at their own speed to the sea floor"
                     : "sinker: it starts on the sea floor, where only degradation acts on it";
    default:
      name = "unclassified (the solubility is not a number)";
      break;
  }
  if (sinks) return name + " denser than the water: " + on_floor;
  return name + ": " + floats;
}

namespace {

// A duration in seconds, minutes, hours or days, two figures.
std::string duration_text(double seconds) {
  if (!std::isfinite(seconds)) return "never (it does not dissolve)";
  char text[64];
  if (seconds < 120.0) {
    std::snprintf(text, sizeof text, "%.2g s", seconds);
  } else if (seconds < 7200.0) {
    std::snprintf(text, sizeof text, "%.2g min", seconds / 60.0);
  } else if (seconds < 2.0 * 86400.0) {
    std::snprintf(text, sizeof text, "%.2g h", seconds / 3600.0);
  } else {
    std::snprintf(text, sizeof text, "%.2g days", seconds / 86400.0);
  }
  return text;
}

// The droplet sizes of a 3-D release of `spill` at a depth and how long the
// largest takes to dissolve.
std::string depth_droplets_text(int32_t spill) {
  const auto& sp = var_spill;
  const hns_droplet_classes classes = hns_droplet_sizes(sp.viscosity(spill));
  const double smallest = classes.diameter.front(), largest = classes.diameter.back();
  char sizes[96];
  std::snprintf(sizes, sizeof sizes, "%.3g to %.3g micrometres", smallest * 1e6, largest * 1e6);
  return "released at " + value_text(var_cfg.spillposition_z(spill)) +
         " m, its droplets take the sizes of droplets entrained by breaking waves, " +
         std::to_string(classes.diameter.size()) + " classes from " + sizes + "; the largest dissolves in " +
         duration_text(droplet_dissolution_time(spill, largest)) +
         " in still water (rho d^2 / (8 D S)).  A slow leak of larger drops (a wreck) is given as a blowout "
         "release with its droplet file";
}

}  // namespace

void print_chemical_classes() {
  const auto& sp = var_spill;
  const bool three_d = var_run.sim__2d_3d == 2;
  for (int32_t s = 1; s <= var_cfg.spills_number; ++s) {
    int32_t hnsclass = 0;
    findhnsbehaviourclass(s, sp.vaporpressure(s), sp.watersolubility(s), sp.density(s), sp.waterdensity(s), hnsclass);
    const std::string spill = "Spill " + std::to_string(s) + ": ";
    std::cout << free_line(spill + "behaviour class " + std::to_string(hnsclass) + ", " +
                           chemical_class_text(hnsclass, three_d,
                                               sinks(hnsclass, sp.density(s), sp.waterdensity(s))) +
                           ".")
              << '\n';
    // A 3-D release at a depth (not a blowout, not a gas's bubbles) takes
    // the size law of entrained droplets: say what it means.
    if (three_d && var_run.blowout__y_n != 1 && var_cfg.spillposition_z(s) != 0.0 && hnsclass != hnsclass_gas) {
      std::cout << free_line(spill + depth_droplets_text(s) + ".") << '\n';
    }
  }
  std::cout.flush();
}

engine_choice choose_engine(int32_t obj__floating_fuel_hns, int32_t sim__2d_3d) {
  const bool two_d = sim__2d_3d == 1;
  switch (obj__floating_fuel_hns) {
    case 1:
    case 2:
      return {two_d ? &fuel2d : &fuel3d, false};
    case 3:
      return {two_d ? &hns2d : &hns3d, true};
    default:
      return {};
  }
}

void run_engine(const std::string& clave, const farray<coast_polygon>& coord_str) {
  const engine_choice e = choose_engine(var_cfg.obj__floating_fuel_hns, var_run.sim__2d_3d);
  if (e.calibration) {
    leo_param_calib(clave);
    // The calibration file may have chosen Lehr spreading.
    allocate_lehr_arrays();
  }
  if (e.engine) e.engine(clave, coord_str);
}

void comp_fichsforcings() {}

}  // namespace orvel
