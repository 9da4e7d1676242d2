#include "transport/blowout.hpp"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/list_input.hpp"
#include "control/run_rules.hpp"
#include "control/data_folder.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_blowout.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"
#include "transport/grid_cell.hpp"
#include "transport/placement.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// The jet may end at or below the sea floor of its cell (bathymetry of a
// different resolution than the jet model's): its particles then start on
// the floor, which the run says once.
void warn_jet_below_floor(double x, double y, double level) {
  if (ground_test_of(true) != ground_test::depth) return;
  float depth = 0.0f;
  if (!model_depth(x, y, depth) || !(depth > 0.0f) || !(level >= depth)) return;
  auto metres = [](double v) {
    const std::string f = fmt_f(v, 14, 1);
    return f.substr(f.find_first_not_of(' '));
  };
  std::cerr << "orvel: warning: the blowout jet ends at " << metres(level) << " m, at or below the sea floor ("
            << metres(depth) << " m deep there): its particles start on the floor\n";
}

}  // namespace

void part_ini_blowout(int32_t spill) {
  const int32_t s = spill;
  const int32_t np = var_run.particle_number;
  srand(0);
  if (s == 1) var_part.indp.allocate(np, var_cfg.spills_number);

  auto& jet = var_blowout;
  {
    list_reader r("FinalJetAxisPosition.txt");
    r.skip_line("a header line");
    if (!r.read({"jet-end longitude", "jet-end latitude", "jet-end depth", "jet-end radius"},
                jet.jetterminalcenterx, jet.jetterminalcentery, jet.jetterminallevel, jet.jetterminalradius)) {
      throw input_error(r.name(), r.record_line(), "the jet-end record ends before its four values");
    }
  }
  jet.jetterminalcenterx = jet.jetterminalcenterx + 360.0;
  const double radius = jet.jetterminalradius;
  if (var_spill.area_oil.allocated() && s <= var_spill.area_oil.ubound(1)) {
    var_spill.area_oil(s) = static_cast<float>(static_cast<double>(3.14159f) * (radius * radius));
  }

  for (int32_t p = 1; p <= np; ++p) var_part.indp(p, s) = 5;
  var_part.par_beached(s) = 0;
  var_part.par_floor(s) = 0;

  const double factor = var_mallas.factor;
  const double east_scale = cos_latmean() * factor;
  // The disc placement's release tests (bathymetry or current mask).
  const release_test test(release_test::rules::disc);
  test.check_release_point(s, jet.jetterminalcenterx, jet.jetterminalcentery);
  if (s == 1) warn_jet_below_floor(jet.jetterminalcenterx, jet.jetterminalcentery, jet.jetterminallevel);

  for (int32_t p = 1; p <= np; ++p) {
    const float r1 = rand(0);
    const float r2 = rand(0);
    const float theta = r1 * 6.28318f;
    const float r = static_cast<float>(static_cast<double>(r2) * radius);
    const float east = static_cast<float>(static_cast<double>(std::cos(theta) * r) / east_scale);
    const float north = static_cast<float>(static_cast<double>(std::sin(theta) * r) / factor);
    var_part.x_part(p, s) = jet.jetterminalcenterx + east;
    var_part.y_part(p, s) = jet.jetterminalcentery + north;
    var_part.z_part(p, s) = jet.jetterminallevel / factor;
    test.apply(p, s);
  }
  centre_of_mass(s);
}

void lee_particle_positions(int32_t sim) {
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  var_part.indp.allocate(np, ns);

  list_reader r(input_path("Particle_positions_restart.txt"));
  r.skip_line("a header line");
  const double factor = var_mallas.factor;
  for (int32_t s = 1; s <= ns; ++s) {
    for (int32_t p = 1; p <= np; ++p) {
      double unused = 0.0, lon = 0.0, lat = 0.0, depth = 0.0, code = 0.0;
      if (!r.read({"value", "longitude", "latitude", "depth", "state code"}, unused, lon, lat, depth, code)) {
        throw input_error(r.name(), r.record_line(), "the particle record ends before its five values");
      }
      if (!(code == std::trunc(code) && code >= -2.0 && code <= 5.0)) {
        char text[40];
        std::snprintf(text, sizeof text, "%g", code);
        throw input_error::mismatch(r.name(), r.record_line(), "a state code from -2 to 5", text);
      }
      var_part.indp(p, s) = static_cast<int32_t>(code);
      var_part.z_part(p, s) = depth / factor;
      var_part.y_part(p, s) = lat;
      var_part.x_part(p, s) = lon + 360.0;
    }
  }

  for (int32_t s = 1; s <= ns; ++s) {
    int32_t surf = 0, column = 0, floor = 0, beached = 0;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (int32_t p = 1; p <= np; ++p) {
      switch (var_part.indp(p, s)) {
        case 1: ++surf; break;
        case 5: ++column; break;
        case -1: ++floor; break;
        case 0: ++beached; break;
        default: break;
      }
      sx += var_part.x_part(p, s);
      sy += var_part.y_part(p, s);
      sz += var_part.z_part(p, s);
    }
    var_part.par_surf(s) = surf;
    var_part.par_column(s) = column;
    var_part.par_floor(s) = floor;
    var_part.par_beached(s) = beached;
    if (np >= 1) {
      var_part.x_cg(s) = sx / np;
      var_part.y_cg(s) = sy / np;
      var_part.z_cg(s) = sz / np;
    }
  }

  if (sim == 1) {
    for (int32_t s = 1; s <= ns; ++s) var_cfg.spillstarttime(s) = var_cfg.spillstarttime(s) * 3600.0;
  }
}

}  // namespace orvel
