#include "transport/placement.hpp"

#include <cmath>
#include <cstdint>
#include <iostream>

#include "common/precision.hpp"
#include "control/run_rules.hpp"
#include "control/state/var2.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_part.hpp"
#include "control/state/var_run.hpp"
#include "control/state/var_spill.hpp"
#include "transport/grid_cell.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"

namespace orvel {

ground_test ground_test_of(bool disc_rules) {
  const auto& c = var_cfg;
  const int32_t variable = c.currentgrid_variable__y_n;
  const int32_t grid_kind = c.variablecurrgrid__wetdry_radar;
  const int32_t mode = var_run.search_land__mask_maskandcoast;
  if (variable == 0) return ground_test::depth;
  if (variable == 1 && mode == 2 && grid_kind == 2) return ground_test::depth;
  if (variable == 1 && mode == 2 && grid_kind == 1) {
    return (disc_rules || c.currentgridformat__xyz_grid == 1) ? ground_test::mask : ground_test::none;
  }
  if (variable == 1 && mode == 1) return ground_test::mask;
  return ground_test::none;
}

mask_frame locate_mask_frame(node_precision precision) {
  mask_frame f;
  const auto& v = var2;
  const int32_t n = var_cfg.xyzcurrentnodes_number[0];
  if (n < 2 || !v.xcorr_u.allocated() || !v.ycorr_u.allocated() || v.xcorr_u.size(1) < n ||
      v.ycorr_u.size(1) < n) {
    return f;
  }
  if (precision == node_precision::double_nodes) {
    f.x0 = v.xcorr_u(1);
    f.y0 = v.ycorr_u(1);
    f.dy = v.ycorr_u(2) - v.ycorr_u(1);
    for (int32_t k = 1; k < n; ++k) {
      const double step = v.xcorr_u(k + 1) - v.xcorr_u(k);
      if (step != 0.0) {
        f.dx = step;
        f.located = true;
        break;
      }
    }
    return f;
  }
  const bool single_origin = precision == node_precision::single_nodes;
  f.x0 = single_origin ? single_rounded(v.xcorr_u(1)) : v.xcorr_u(1);
  f.y0 = single_origin ? single_rounded(v.ycorr_u(1)) : v.ycorr_u(1);
  f.dy = single_rounded(static_cast<float>(v.ycorr_u(2)) - static_cast<float>(v.ycorr_u(1)));
  for (int32_t k = 1; k < n; ++k) {
    const float step = static_cast<float>(v.xcorr_u(k + 1)) - static_cast<float>(v.xcorr_u(k));
    if (step != 0.0f) {
      f.dx = single_rounded(step);
      f.located = true;
      break;
    }
  }
  return f;
}

bool mask_at(const mask_frame& frame, double x, double y, int32_t& value) {
  const auto& m = land_mask();
  if (!frame.located || !m.allocated()) return false;
  const int32_t ix = cell_in(x, frame.x0, frame.dx, m.size(1));
  const int32_t iy = cell_in(y, frame.y0, frame.dy, m.size(2));
  if (ix == 0 || iy == 0) return false;
  value = m(ix, iy);
  return true;
}

void disc_offset(float radius, double mx, double my, float& east, float& north) {
  const float r1 = rand(0);
  const float r2 = rand(0);
  const float theta = r1 * 6.28318f;
  const float r = r2 * radius;
  east = static_cast<float>(static_cast<double>(std::cos(theta) * r) / mx);
  north = static_cast<float>(static_cast<double>(std::sin(theta) * r) / my);
}

bool lose_if_placed_outside(const domain_box& box, int32_t particle, int32_t spill) {
  auto& p = var_part;
  int32_t& state = p.indp(particle, spill);
  // A box with no extent is one not yet known (no longitude + 360 is 0): it
  // loses nothing.
  if (!(box.lons > box.loni) || box.holds(p.x_part(particle, spill), p.y_part(particle, spill))) return false;
  if (state != indp_surf && state != indp_column && state != indp_floor) return false;
  state = indp_radar;
  return true;
}

release_test::release_test(rules r)
    : box_(current_domain_box()), rules_(r), kind_(ground_test_of(r == rules::disc)) {
  // The disc rules work on the node coordinates rounded to single precision.
  if (kind_ == ground_test::mask) {
    frame_ = locate_mask_frame(r == rules::disc ? node_precision::single_nodes : node_precision::double_nodes);
  }
}

void release_test::check_release_point(int32_t spill, double x, double y) const {
  if (kind_ == ground_test::depth) {
    // Without bathymetry (a land-search mode that loads none) nothing is tested.
    float depth = 0.0f;
    if (var_mallas.d.allocated() && !model_depth(x, y, depth)) {
      std::cerr << "orvel: warning: the release point of spill " << spill
                << " lies outside the model grid; its particles placed outside it are counted outside "
                   "(lost) from the start\n";
    }
  } else if (kind_ == ground_test::mask) {
    int32_t value = 0;
    if (!frame_.located) {
      std::cerr << "orvel: warning: the U-current nodes do not locate a grid; the particles of "
                   "spill "
                << spill << " are not tested against the current mask\n";
    } else if (!mask_at(frame_, x, y, value)) {
      std::cerr << "orvel: warning: the release point of spill " << spill
                << " lies outside the current grid; its particles are not tested against the "
                   "current mask there\n";
    }
  }
}

void release_test::apply(int32_t particle, int32_t spill) const {
  auto& p = var_part;
  const double x = p.x_part(particle, spill);
  const double y = p.y_part(particle, spill);
  int32_t& state = p.indp(particle, spill);
  if (lose_if_placed_outside(box_, particle, spill)) return;
  if (kind_ == ground_test::depth) {
    float depth = 0.0f;
    if (!model_depth(x, y, depth)) return;
    if (rules_ == rules::rectangle) {
      if (depth <= 0.0f && state == indp_surf) {
        state = indp_beached;
        ++p.par_beached(spill);
      }
      return;
    }
    // Disc rules: a cell depth of exactly 0 counts as water.
    if (depth < 0.0f && state == indp_surf) {
      state = indp_beached;
      ++p.par_beached(spill);
    }
    if (state == indp_column && p.z_part(particle, spill) * var_mallas.factor >= depth) {
      // Released at or below the floor: on the floor, as the state update
      // puts a particle that reaches it (a cell of land keeps the depth).
      state = indp_floor;
      ++p.par_floor(spill);
      if (depth > 0.0f) p.z_part(particle, spill) = depth / var_mallas.factor;
    }
  } else if (kind_ == ground_test::mask) {
    int32_t value = 0;
    if (mask_at(frame_, x, y, value) && value == 0) {
      state = indp_land;
      ++p.par_beached(spill);
    }
  }
}

namespace {

// First state of every particle of the spill: in the water column for a 3-D
// release below the surface, else at the surface.
void first_states(int32_t spill) {
  const int32_t state =
      (var_cfg.spillposition_z(spill) != 0.0 && var_run.sim__2d_3d != 1) ? indp_column : indp_surf;
  for (int32_t i = 1; i <= var_run.particle_number; ++i) var_part.indp(i, spill) = state;
}

// Spills whose every particle starts on land: beached from the start, so
// nothing of them floats.  One warning names the first and counts the rest
// (a continuous release has a spill per pulse).
class on_land_spills {
 public:
  void check(int32_t spill) {
    const int32_t np = var_run.particle_number;
    if (np < 1 || var_part.par_beached(spill) < np) return;
    if (count_++ == 0) first_ = spill;
  }
  ~on_land_spills() {
    if (count_ == 0) return;
    const auto& c = var_cfg;
    std::cerr << "orvel: warning: every particle of spill " << first_;
    if (count_ > 1) std::cerr << " (and of " << count_ - 1 << " more spills or pulses)";
    std::cerr << " starts on land (release point at longitude " << c.spillposition_x(first_) - 360.0
              << ", latitude " << c.spillposition_y(first_)
              << "): it is beached from the start and nothing of it floats; check the release position, and that "
                 "the depths are positive downward\n";
  }

 private:
  int32_t count_ = 0;
  int32_t first_ = 0;
};

}  // namespace

void part_ini_2d(int32_t sim) {
  auto& p = var_part;
  auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  const double factor = var_mallas.factor;
  srand(0);
  p.indp.allocate(np, ns);
  p.par_beached.fill(0);
  const release_test test(release_test::rules::rectangle);
  on_land_spills on_land;
  for (int32_t s = 1; s <= ns; ++s) {
    first_states(s);
    if (sim == 1) {
      c.spillstarttime(s) = c.spillstarttime(s) * 3600.0;
      c.spillposition_x(s) = c.spillposition_x(s) + 360.0;
      c.spillsize_sidex(s) = c.spillsize_sidex(s) / metres_per_degree_lon();
      c.spillsize_sidey(s) = c.spillsize_sidey(s) / factor;
    }
    const double x0 = c.spillposition_x(s);
    const double y0 = c.spillposition_y(s);
    const double z = c.spillposition_z(s) / factor;
    const double sx = c.spillsize_sidex(s);
    const double sy = c.spillsize_sidey(s);
    test.check_release_point(s, x0, y0);
    for (int32_t i = 1; i <= np; ++i) {
      const float r1 = rand(0);
      const float r2 = rand(0);
      p.x_part(i, s) = x0 + static_cast<double>(r1 - 0.5f) * sx;
      p.y_part(i, s) = y0 + static_cast<double>(r2 - 0.5f) * sy;
      p.z_part(i, s) = z;
      test.apply(i, s);
    }
    if (sim == 1) on_land.check(s);
    centre_of_mass(s);
  }
}

void part_ini_2d_circle(int32_t sim) {
  auto& p = var_part;
  auto& c = var_cfg;
  const int32_t np = var_run.particle_number;
  const int32_t ns = c.spills_number;
  const double factor = var_mallas.factor;
  srand(0);
  p.indp.allocate(np, ns);
  // The droplet sizes are filled later; a second simulation finds the array
  // of the first one and takes it afresh.
  if (p.diam_part.allocated()) p.diam_part.deallocate();
  p.diam_part.allocate(np, ns);
  const double mx = metres_per_degree_lon();
  const release_test test(release_test::rules::disc);
  on_land_spills on_land;
  for (int32_t s = 1; s <= ns; ++s) {
    first_states(s);
    p.par_beached(s) = 0;
    p.par_floor(s) = 0;
    if (sim == 1) c.spillposition_x(s) = c.spillposition_x(s) + 360.0;
    const double x0 = c.spillposition_x(s);
    const double y0 = c.spillposition_y(s);
    const double z = c.spillposition_z(s) / factor;
    const float radius = std::sqrt(var_spill.area_oil(s) / 3.14159f);
    test.check_release_point(s, x0, y0);
    for (int32_t i = 1; i <= np; ++i) {
      float east = 0.0f, north = 0.0f;
      disc_offset(radius, mx, factor, east, north);
      p.x_part(i, s) = x0 + east;
      p.y_part(i, s) = y0 + north;
      p.z_part(i, s) = z;
      test.apply(i, s);
    }
    if (sim == 1) on_land.check(s);
    centre_of_mass(s);
  }
}

}  // namespace orvel
