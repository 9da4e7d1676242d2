#include "forcing/forcing_options.hpp"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "common/errors.hpp"
#include "control/input_places.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "control/state/var_run.hpp"
#include "forcing/lists.hpp"

namespace orvel {
namespace {

std::string node_counts() {
  const auto& n = var_cfg.xyzcurrentnodes_number;
  return "xyzcurrentnodes_number = " + std::to_string(n[0]) + " " + std::to_string(n[1]) + " " +
         std::to_string(n[2]);
}

// Format codes of node lists (1) and grids (2).
bool format_code(int32_t v) { return v == 1 || v == 2; }

// A grid of nx by ny nodes stored into node arrays of `nodes` entries.
bool grid_fits(int32_t nx, int32_t ny, int32_t nodes) {
  return int64_t{std::max(nx, 0)} * std::max(ny, 0) <= int64_t{nodes};
}

void check_current_files(const std::string& cfg) {
  const auto& c = var_cfg;
  const auto& g = var_mallasforz;
  const int32_t nu = c.xyzcurrentnodes_number[0];
  const int32_t nv = c.xyzcurrentnodes_number[1];
  const int32_t regular = var_mallas.currentgrid_regular__y_n;
  const std::string joint = option_text("currentfilesjointuvw__y_n", c.currentfilesjointuvw__y_n);
  const std::string variable = option_text("currentgrid_variable__y_n", c.currentgrid_variable__y_n);

  if (!format_code(c.currentgridformat__xyz_grid)) {
    throw refusal_at("currentgridformat__xyz_grid", cfg,
                      option_text("currentgridformat__xyz_grid", c.currentgridformat__xyz_grid) +
                          ": current files are node lists (1) or grids (2)");
  }
  if (c.currentcorrection__y_n == 1 && !format_code(c.currcorrectgridformat__xyz_grid)) {
    throw refusal_at("currcorrectgridformat__xyz_grid", cfg,
                      option_text("currcorrectgridformat__xyz_grid", c.currcorrectgridformat__xyz_grid) +
                          ": correction files are node lists (1) or grids (2)");
  }

  if (c.currentfilesjointuvw__y_n == 1) {
    if (regular == 0) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg,
                        joint + ", " + option_text("currentgrid_regular__y_n", regular) +
                            ": joint current files are read only on a regular grid (no joint list is named "
                            "for regridded currents)");
    }
    if (var_run.simtype__operat_probabil == 2) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg,
                        joint + ", " + option_text("simtype__operat_probabil", var_run.simtype__operat_probabil) +
                            ": a probabilistic run names no joint current list");
    }
    if (c.currentgridformat__xyz_grid != 1) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg,
                        joint + ", " + option_text("currentgridformat__xyz_grid", c.currentgridformat__xyz_grid) +
                            ": joint current files are node lists");
    }
    if (c.currentgrid_variable__y_n == 1) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg, joint + ", " + variable + ": joint current files carry no wet/dry mask");
    }
    if (var_run.temporalinterpcurr__y_n == 1) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg,
                        joint + ", " + option_text("temporalinterpcurr__y_n", var_run.temporalinterpcurr__y_n) +
                            ": joint current files cannot be blended in time (the start-of-interval record "
                            "is read from separate U and V files)");
    }
    if (nv < nu) {
      throw refusal_at("currentfilesjointuvw__y_n", cfg,
                        joint + ", " + node_counts() +
                            ": a joint file gives u and v at every U node, so the V nodes must be at least "
                            "as many");
    }
  }

  if (c.currentgrid_variable__y_n == 1) {
    if (regular == 0) {
      throw refusal_at("currentgrid_variable__y_n", cfg,
                        variable + ", " + option_text("currentgrid_regular__y_n", regular) +
                            ": a time-varying current grid needs current files on a regular grid (regridded "
                            "files carry no wet/dry indicator and no mask list is named)");
    }
    if (c.currentgridformat__xyz_grid == 2 && var_capas.numcapascorr > 1) {
      throw refusal_at("currentgrid_variable__y_n", cfg,
                        variable + ", " + option_text("currentgridformat__xyz_grid", c.currentgridformat__xyz_grid) +
                            ", " + option_text("numcapascorr", var_capas.numcapascorr) +
                            ": the lists of a time-varying grid in grid format name one file per record, "
                            "so only one current layer is supported");
    }
    if (c.variablecurrgrid__wetdry_radar == 2 && nv > nu) {
      throw refusal_at("currentgrid_variable__y_n", cfg,
                        variable + ", " +
                            option_text("variablecurrgrid__wetdry_radar", c.variablecurrgrid__wetdry_radar) + ", " +
                            node_counts() +
                            ": a radar-coverage mask is given at the U nodes, so the V nodes must not "
                            "outnumber them");
    }
  }

  if (c.currentcorrection__y_n == 1) {
    const int32_t needed = current_records_read();
    if (c.currentcorrectionfiles_number < needed) {
      throw refusal_at("currentcorrectionfiles_number", cfg,
                        option_text("currentcorrection__y_n", c.currentcorrection__y_n) + ", " +
                            option_text("currentcorrectionfiles_number", c.currentcorrectionfiles_number) +
                            ": the run reads current records 1 to " + std::to_string(needed) + " (" +
                            option_text("currentfilesorlines_number", c.currentfilesorlines_number) + ", " +
                            option_text("simulationtimehorizon", c.simulationtimehorizon) + " s, " +
                            option_text("deltat_currents", c.deltat_currents) + " s, " +
                            option_text("temporalinterpcurr__y_n", var_run.temporalinterpcurr__y_n) +
                            "), each with its own correction file");
    }
  }

  // Separate vertical-current files: the W list is read in 3-D runs with
  // layered current files given as node lists on a regular grid of their
  // own; a W list that such a run cannot read is refused, not ignored.
  if (var_run.sim__2d_3d == 2 && c.currentfilesjointuvw__y_n != 1 && w_list_present(1)) {
    const std::string list = forcing_list_name("W_lstcurr", 1, true);
    auto refuse = [&](const char* name, const std::string& why) {
      throw refusal_at(name, cfg, "the vertical-current list " + list + " is given, but " + why);
    };
    if (c.current3dinputformat_layers_average != 1) {
      refuse("current3dinputformat_layers_average",
             option_text("current3dinputformat_layers_average", c.current3dinputformat_layers_average) +
                 ": a vertical current is used only with layered current files (1)");
    }
    if (c.currentgridformat__xyz_grid != 1) {
      refuse("currentgridformat__xyz_grid",
             option_text("currentgridformat__xyz_grid", c.currentgridformat__xyz_grid) +
                 ": vertical-current files are node lists (1), read beside U and V node lists");
    }
    if (regular != 1) {
      refuse("currentgrid_regular__y_n", option_text("currentgrid_regular__y_n", regular) +
                                             ": vertical-current files are not regridded; they need current "
                                             "files on a regular grid of their own (1)");
    }
    if (c.xyzcurrentnodes_number[2] < 1) {
      refuse("xyzcurrentnodes_number", node_counts() + ": the W files need their node count, the third value");
    }
  }

  // Grid rows are stored into the node arrays.
  auto check_grid = [&](const char* what, const char* cells_name, int32_t nx, int32_t ny, int32_t nodes,
                        const char* count) {
    if (!grid_fits(nx, ny, nodes)) {
      throw refusal_at(cells_name, cfg,
                        std::string(what) + " of " + std::to_string(nx) + " by " + std::to_string(ny) +
                            " nodes does not fit " + count + " = " + std::to_string(nodes) + " nodes");
    }
  };
  const bool grids = c.currentgridformat__xyz_grid == 2;
  const bool correction_grids = c.currentcorrection__y_n == 1 && c.currcorrectgridformat__xyz_grid == 2;
  if (grids || correction_grids) {
    check_grid("the U current grid", "gridformatcurru_xcells", g.gridformatcurru_xcells, g.gridformatcurru_ycells, nu,
               "xyzcurrentnodes_number(1)");
    check_grid("the V current grid", "gridformatcurrv_xcells", g.gridformatcurrv_xcells, g.gridformatcurrv_ycells, nv,
               "xyzcurrentnodes_number(2)");
  }
}

// Waves (kind "waves") or wind files: node lists or grids, grids only on a
// regular grid (only the single list is named for regridded files).
void check_field_files(const std::string& cfg, const char* kind, const char* format_name, int32_t format,
                       const char* regular_name, int32_t regular, const char* cells_name, int32_t nx, int32_t ny,
                       const char* nodes_name, int32_t nodes) {
  if (!format_code(format)) {
    throw refusal_at(format_name, cfg, option_text(format_name, format) + ": " + kind + " files are node lists (1) or grids (2)");
  }
  if (format == 2 && regular == 0) {
    throw refusal_at(format_name, cfg,
                      option_text(format_name, format) + ", " + option_text(regular_name, regular) + ": " + kind +
                          " grids need a regular grid (regridded files are node lists)");
  }
  if (format == 2 && !grid_fits(nx, ny, nodes)) {
    throw refusal_at(cells_name, cfg,
                      std::string("the ") + kind + " grid of " + std::to_string(nx) + " by " + std::to_string(ny) +
                          " nodes does not fit " + nodes_name + " = " + std::to_string(nodes) + " nodes");
  }
}

}  // namespace

int32_t current_records_read() {
  const auto& c = var_cfg;
  const int32_t n = c.currentfilesorlines_number;
  int32_t last = n;
  if (c.deltat_currents > 0.0f) {
    const float q = c.simulationtimehorizon / c.deltat_currents;
    const int32_t records = q >= 2147483647.0f ? INT32_MAX : q > 0.0f ? static_cast<int32_t>(q) : 0;
    switch (var_run.temporalinterpcurr__y_n) {
      case 1:
        last = records < INT32_MAX ? std::min(n, records + 1) : n;
        break;
      case 0:
        last = std::min(n, records);
        break;
      default:
        last = 1;
        break;
    }
  }
  return std::max(last, 1);
}

void check_forcing_options(const std::string& clave) {
  const std::string cfg = clave + ".cfg";
  const auto& c = var_cfg;

  if (var_capas.numcapascorr < 1) {
    throw input_error("currents_layerDepths.pre", 0,
                      option_text("numcapascorr", var_capas.numcapascorr) + " (" + option_text("sim__2d_3d", var_run.sim__2d_3d) +
                          ", " +
                          option_text("current3dinputformat_layers_average", c.current3dinputformat_layers_average) +
                          "): the current layer file gives no layer");
  }

  if (c.currenttype__file_constant == 1) {
    check_current_files(cfg);
  } else if (var_run.temporalinterpcurr__y_n == 1 && var_run.sim__2d_3d != 1) {
    throw refusal_at("temporalinterpcurr__y_n", cfg,
                      option_text("currenttype__file_constant", c.currenttype__file_constant) + ", " +
                          option_text("temporalinterpcurr__y_n", var_run.temporalinterpcurr__y_n) + ", " +
                          option_text("sim__2d_3d", var_run.sim__2d_3d) +
                          ": a uniform current series is blended in time only in 2-D runs");
  }

  const auto& g = var_mallasforz;
  if (c.wavestype__file_constant == 1) {
    check_field_files(cfg, "wave", "wavesgridformat__xyz_grid", c.wavesgridformat__xyz_grid,
                      "wavesgrid_regular__y_n", var_mallas.wavesgrid_regular__y_n, "gridformatwaves_xcells",
                      g.gridformatwaves_xcells,
                      g.gridformatwaves_ycells, "xyzwavesnodes_number", c.xyzwavesnodes_number);
  }
  if (c.windtype__file_constant == 1) {
    check_field_files(cfg, "wind", "windgridformat__xyz_grid", c.windgridformat__xyz_grid,
                      "windgrid_regular__y_n", var_mallas.windgrid_regular__y_n, "gridformatwind_xcells",
                      g.gridformatwind_xcells,
                      g.gridformatwind_ycells, "xyzwindnodes_number", c.xyzwindnodes_number);
  }
}

}  // namespace orvel
