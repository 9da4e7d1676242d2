#include "transport/blowout.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "control/data_folder.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_blowout.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"
#include "transport/random.hpp"

namespace orvel {

namespace {

// 1-based cell of v on an axis starting at v0 with spacing dv (truncation
// toward zero, as every cell lookup of the model), or false when the cell
// lies outside 1 .. count.
bool cell_of(double v, double v0, double dv, int32_t count, int32_t& cell) {
  const double t = (v - v0) / dv;
  if (!(t > -1.0) || !(t < static_cast<double>(count))) return false;
  cell = static_cast<int32_t>(t) + 1;
  return cell >= 1 && cell <= count;
}

// Release test of the disc placements against the bathymetry: a surface
// particle over a cell of negative depth is beached; a column particle at or
// below the cell depth lies on the floor.  Particles outside the model grid
// are not tested.
void depth_test(int32_t p, int32_t s) {
  const auto& g = var_mallas;
  int32_t i, j;
  if (!g.d.allocated() || !cell_of(var_part.x_part(p, s), g.grid0_x, g.deltax, g.d.size(1), i) ||
      !cell_of(var_part.y_part(p, s), g.grid0_y, g.deltay, g.d.size(2), j)) {
    return;
  }
  const double depth = g.d(i, j);
  if (depth < 0.0 && var_part.indp(p, s) == 1) {
    var_part.indp(p, s) = 0;
    ++var_part.par_beached(s);
  }
  if (var_part.indp(p, s) == 5 && var_part.z_part(p, s) * g.factor >= depth) {
    var_part.indp(p, s) = -1;
    ++var_part.par_floor(s);
  }
}

// Cell layout of the u-current mask from the node coordinates of the current
// record (single-precision values): origin, longitude spacing (the first
// non-zero step between consecutive nodes) and latitude spacing.  False
// when the nodes do not define a grid.
bool mask_layout(float& ox, float& oy, float& sx, float& sy) {
  const int32_t n = var_cfg.xyzcurrentnodes_number[0];
  const auto& xc = var2.xcorr_u;
  const auto& yc = var2.ycorr_u;
  if (n < 2 || !xc.allocated() || !yc.allocated() || xc.size(1) < n || yc.size(1) < n) return false;
  ox = static_cast<float>(xc(1));
  oy = static_cast<float>(yc(1));
  sy = static_cast<float>(yc(2)) - oy;
  sx = 0.0f;
  for (int32_t k = 1; k < n && sx == 0.0f; ++k) sx = static_cast<float>(xc(k + 1)) - static_cast<float>(xc(k));
  return sx != 0.0f && sy != 0.0f;
}

// Release test against the wet/dry or radar mask: a particle on a dry or
// uncovered cell goes over land (state 2) and is counted with the beached
// ones.  Cells outside the mask are not tested.
void mask_test(int32_t p, int32_t s, float ox, float oy, float sx, float sy) {
  const auto& m = var_run.temporalinterpcurr__y_n == 1 ? var2.mask0 : var2.mask;
  int32_t ix, iy;
  if (!m.allocated() || !cell_of(var_part.x_part(p, s), ox, sx, m.size(1), ix) ||
      !cell_of(var_part.y_part(p, s), oy, sy, m.size(2), iy)) {
    return;
  }
  if (m(ix, iy) == 0) {
    var_part.indp(p, s) = 2;
    ++var_part.par_beached(s);
  }
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
  const double east_scale = std::cos(var_mallas.latmean * static_cast<double>(3.1416f) / 180.0) * factor;
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  const int32_t grid = var_cfg.currentgrid_variable__y_n;
  const int32_t kind = var_cfg.variablecurrgrid__wetdry_radar;
  const bool depth = grid == 0 || (grid == 1 && kind == 2 && mode == 2);
  float ox = 0.0f, oy = 0.0f, sx = 0.0f, sy = 0.0f;
  const bool mask = grid == 1 && ((kind == 1 && mode == 2) || mode == 1) && mask_layout(ox, oy, sx, sy);

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
    if (depth) {
      depth_test(p, s);
    } else if (mask) {
      mask_test(p, s, ox, oy, sx, sy);
    }
  }

  if (np >= 1) {
    double sxp = 0.0, syp = 0.0, szp = 0.0;
    for (int32_t p = 1; p <= np; ++p) {
      sxp += var_part.x_part(p, s);
      syp += var_part.y_part(p, s);
      szp += var_part.z_part(p, s);
    }
    var_part.x_cg(s) = sxp / np;
    var_part.y_cg(s) = syp / np;
    var_part.z_cg(s) = szp / np;
  }
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
