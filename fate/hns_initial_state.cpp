#include <cmath>
#include <cstdint>

#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "fate/hns_setup.hpp"
#include "fate/hns_water.hpp"
#include "fate/initial_slick.hpp"
#include "transport/grid_cell.hpp"
#include "transport/hull.hpp"
#include "transport/placement.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// The ground test of one placement and the grids it reads.  The mask grid is
// located from the U nodes with single-precision spacings; depths are tested
// only where the run has read them.
struct ground {
  ground_test kind = ground_test::none;
  mask_frame frame;
  bool depths = false;
  domain_box box = current_domain_box();

  explicit ground(bool disc_rules) : kind(ground_test_of(disc_rules)), depths(model_grid_read()) {
    if (kind == ground_test::mask) frame = locate_mask_frame(node_precision::single_spacings);
  }

  // True when the model cell under (x, y) is land (depth below 0).  A
  // position outside the model grid, or a run without depths, is not tested.
  bool land(double x, double y) const {
    float depth = 0.0f;
    return depths && model_depth(x, y, depth) && depth < 0.0f;
  }

  // True when the current-grid cell under (x, y) is dry.  A position outside
  // the current grid or its mask is not tested.
  bool dry(double x, double y) const {
    int32_t value = 0;
    return kind == ground_test::mask && mask_at(frame, x, y, value) && value == 0;
  }
};

void set_states(int32_t spill, int32_t state) {
  for (int32_t j = 1; j <= var_run.particle_number; ++j) var_part.indp(j, spill) = state;
}

// Places the particles of `spill` in the disc of its initial slick area
// around the release point.  A surface particle drawn onto land, and any
// particle drawn onto a dry cell of the current grid, is put at the release
// point instead, whatever its state.
void place_in_disc(int32_t spill, const ground& g) {
  auto& p = var_part;
  const auto& c = var_cfg;
  const double factor = var_mallas.factor;
  const double mx = metres_per_degree_lon();
  const double x0 = c.spillposition_x(spill);
  const double y0 = c.spillposition_y(spill);
  const double z = c.spillposition_z(spill) / factor;
  const float radius = std::sqrt(var_spill.area_hns(spill) / 3.14159f);
  for (int32_t j = 1; j <= var_run.particle_number; ++j) {
    float east = 0.0f, north = 0.0f;
    disc_offset(radius, mx, factor, east, north);
    double x = x0 + east;
    double y = y0 + north;
    const bool held = g.kind == ground_test::depth ? p.indp(j, spill) == indp_surf && g.land(x, y) : g.dry(x, y);
    if (held) {
      x = x0;
      y = y0;
    }
    p.x_part(j, spill) = x;
    p.y_part(j, spill) = y;
    p.z_part(j, spill) = z;
    lose_if_placed_outside(g.box, j, spill);
  }
  centre_of_mass(spill);
}

// Places the particles of `spill` uniformly in its release rectangle (sides
// already in degrees) at the release depth, in the water column; a particle
// over a dry cell of the current grid stays where it was drawn in state 2
// and is counted in par_beached.  The depth test concerns surface particles
// only, so it leaves these alone.
void place_in_rectangle(int32_t spill, const ground& g) {
  auto& p = var_part;
  const auto& c = var_cfg;
  const double x0 = c.spillposition_x(spill);
  const double y0 = c.spillposition_y(spill);
  const double z = c.spillposition_z(spill) / var_mallas.factor;
  const double sx = c.spillsize_sidex(spill);
  const double sy = c.spillsize_sidey(spill);
  for (int32_t j = 1; j <= var_run.particle_number; ++j) {
    const double x = static_cast<double>(rand(0) - 0.5f) * sx + x0;
    const double y = static_cast<double>(rand(0) - 0.5f) * sy + y0;
    p.x_part(j, spill) = x;
    p.y_part(j, spill) = y;
    p.z_part(j, spill) = z;
    p.indp(j, spill) = indp_column;
    // A particle drawn at or below the sea floor of its cell starts just
    // above it, in the water column (a chemical that sinks settles on the
    // floor in its first step).
    float depth = 0.0f;
    if (g.depths && model_depth(x, y, depth) && depth > 0.0f && z * var_mallas.factor >= depth) {
      p.z_part(j, spill) = above_floor(depth) / var_mallas.factor;
    }
    if (lose_if_placed_outside(g.box, j, spill)) continue;
    if (g.dry(x, y)) {
      p.indp(j, spill) = indp_land;
      ++p.par_beached(spill);
    }
  }
  centre_of_mass(spill);
}

// Area in m2 of the convex hull of the particles of `spill`: 0 when they
// span fewer than three distinct corners.
float hull_area(int32_t spill) {
  auto& h = var_hns_extra;
  const int32_t np = var_run.particle_number;
  h.nvert = 0;
  if (np >= 1) {
    envelope(var_part.x_part.ptr(1, spill), var_part.y_part.ptr(1, spill), np, h.vertex.data(), h.nvert,
             h.iwk.data());
  }
  for (int32_t k = 1; k <= h.nvert; ++k) {
    h.x_hull(k) = var_part.x_part(h.vertex(k), spill);
    h.y_hull(k) = var_part.y_part(h.vertex(k), spill);
  }
  polyarea(h.x_hull.data(), h.y_hull.data(), h.nvert, h.areahull);
  const double factor = var_mallas.factor;
  return static_cast<float>(static_cast<double>(h.areahull) * cos_latmean() * factor * factor);
}

}  // namespace

void initialareahns(int32_t spill, farray<double, 1>& tstart, int32_t sim) {
  auto& c = var_cfg;
  if (c.spreading__y_n == 1 && c.spreadalgorithm__adios2_leher_hns == 3) {
    // A disc of radius 2.81 sqrt(V).
    const double r = static_cast<double>(2.81f) * std::sqrt(c.vol0(spill));
    var_spill.area_hns(spill) = static_cast<float>(static_cast<double>(3.14159f) * (r * r));
  } else {
    var_spill.area_hns(spill) = initial_slick_area(spill);
  }
  if (sim == 1) c.spillstarttime(spill) = c.spillstarttime(spill) * 3600.0;
  tstart(spill) = c.spillstarttime(spill);
}

void getparthnsinitialstate(int32_t sim) {
  auto& p = var_part;
  auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  srand(0);
  ensure(p.indp, np, c.spills_number);
  const ground g(true);
  for (int32_t s = 1; s <= c.spills_number; ++s) {
    if (sim == 1) c.spillposition_x(s) = c.spillposition_x(s) + 360.0;
    // The counts start afresh in every simulation.
    p.par_beached(s) = 0;
    p.par_air(s) = 0;
    const int32_t hnsclass = var_spill.hnsbehaviourclass(s);
    if (g.land(c.spillposition_x(s), c.spillposition_y(s))) {
      set_states(s, indp_beached);
      p.par_beached(s) = np;
    } else if (hnsclass == hnsclass_gas) {
      set_states(s, indp_air);
      p.par_air(s) = np;
    } else if (hnsclass == hnsclass_sinker || sinks(hnsclass, var_spill.density(s), var_spill.waterdensity(s))) {
      // A 2-D run has no depth to fall through: a sinker, and any liquid
      // denser than the water whatever its class, starts on the sea floor
      // (a dense dissolver falls through a coastal depth in minutes).
      set_states(s, indp_floor);
    } else {
      set_states(s, indp_surf);
    }
    place_in_disc(s, g);
  }
}

void getparthnsinitialstate3d(int32_t sim) {
  auto& p = var_part;
  auto& c = var_cfg;
  auto& h = var_hns_extra;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  srand(0);
  ensure(p.indp, np, ns);
  ensure(h.vertex, np);
  ensure(h.iwk, np);
  ensure(h.x_hull, np);
  ensure(h.y_hull, np);
  ensure(h.fitime, ns);
  const ground disc(true);
  const ground rectangle(false);
  for (int32_t s = 1; s <= ns; ++s) {
    p.par_beached(s) = 0;
    p.par_air(s) = 0;
    const bool gas = var_spill.hnsbehaviourclass(s) == hnsclass_gas;
    if (c.spillposition_z(s) != 0.0) {
      // Released at depth: in the water column, whatever the class.
      if (sim == 1) {
        c.spillstarttime(s) = c.spillstarttime(s) * 3600.0;
        c.spillposition_x(s) = c.spillposition_x(s) + 360.0;
        c.spillsize_sidex(s) = c.spillsize_sidex(s) / metres_per_degree_lon();
        c.spillsize_sidey(s) = c.spillsize_sidey(s) / var_mallas.factor;
      }
      place_in_rectangle(s, rectangle);
      var_spill.area_hns(s) = hull_area(s);
    } else {
      set_states(s, gas ? indp_air : indp_surf);
      if (gas) p.par_air(s) = np;
      initialareahns(s, h.fitime, sim);
      c.thick(s) = slick_thickness(c.vol0(s), var_spill.area_hns(s));
      if (sim == 1) c.spillposition_x(s) = c.spillposition_x(s) + 360.0;
      place_in_disc(s, disc);
    }
  }
}

}  // namespace orvel
