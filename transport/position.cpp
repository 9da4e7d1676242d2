#include "transport/position.hpp"

#include "common/errors.hpp"
#include "control/input_places.hpp"
#include "transport/velocities.hpp"
#include "transport/position_detail.hpp"

namespace orvel {

using namespace position_detail;

namespace {

// The four updates of the nearest-coast-point algorithm.  They differ in
// what moves them (transport walk or spreading motion), in the depth (3-D),
// and in the coast handling of the particles that are not moved:
//
//   mode 1 (land from bathymetry or mask): transport 2-D beaches a particle
//     over land (state 2) where it stands, transport 3-D only over a fixed
//     current grid; the spreading updates leave it;
//   mode 2 (mask and coastline): a particle over land (2) goes to the nearest
//     coast point, and over a time-varying current grid a floor particle (-1)
//     to the radar search.  The stick rule applies in transport 2-D and in
//     spreading 3-D.
//
// Every particle counts in the centre of mass at its final position.
void low_resolution_update(int32_t s, int32_t step, bool three_d, bool spreading, double coef_r,
                           double coef_q) {
  reset_domain_box();
  const int32_t np = var_run.particle_number;
  if (np >= 1) {
    const step_settings c(s, step);
    const int32_t mode = var_run.search_land__mask_maskandcoast;
    const int32_t grid = var_cfg.currentgrid_variable__y_n;
    const bool stick = three_d == spreading;
    const bool reference = spreading && c.lehr && keeps_lehr_reference(c);
    const double loni = var_mallas.loni, lons = var_mallas.lons;
    const double lati = var_mallas.lati, lats = var_mallas.lats;
    for (int32_t i = 1; i <= np; ++i) {
      const double x = var_part.x_part(i, s), y = var_part.y_part(i, s);
      const int32_t st = var_part.indp(i, s);
      const bool inside = loni <= x && x <= lons && lati <= y && y <= lats;
      if (inside && (st == 1 || (three_d && st == 5))) {
        if (spreading) {
          spread_move(c, i, s, x, y, coef_r, coef_q, three_d && !c.lehr);
        } else {
          transport_move(c, i, s, x, y);
          if (three_d) transport_move_z(c, i, s);
        }
        lose_if_outside(i, s, loni, lons, lati, lats);
      } else if (st != 1 && loni < x && x <= lons && y > lati) {
        if (mode == 1) {
          if (st == 2 && !spreading && (!three_d || grid == 0)) var_part.indp(i, s) = 0;
        } else if (mode == 2 && (grid == 0 || grid == 1)) {
          if (st == 2) {
            nearest_coast(i, s, x, y, stick);
          } else if (st == -1 && grid == 1) {
            radar_coast(i, s, x, y);
          }
        }
      }
      if (reference) lehr_reference(c, i, s, x, y);
    }
    centre_of_mass(s, np);
    if (three_d) {
      const double z = mean_depth(s, np);
      var_part.z_cg(s) = spreading && z < 0.0 ? 0.0 : z;
    }
  }
  release_diffusivities();
}

}  // namespace

void posicion_2d(int32_t spill, int32_t step) { low_resolution_update(spill, step, false, false, 0.0, 0.0); }

void posicion_3d(int32_t spill, int32_t step) { low_resolution_update(spill, step, true, false, 0.0, 0.0); }

bool lehr_from_release(int32_t spill, int32_t step) {
  return step == 1 || !var_part.x_oldpt.allocated() || var_part.x_oldpt(1, spill) == 0.0;
}

void posicion_2d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) {
  low_resolution_update(spill, step, false, true, coef_r, coef_q);
}

void posicion_3d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) {
  low_resolution_update(spill, step, true, true, coef_r, coef_q);
}

void check_coast_algorithm(const std::string& run_file) {
  if (var_run.searchcoastalgorithm__lr_hr != 2) return;
  if (var_run.sim__2d_3d != 1) {
    throw refusal_at("searchcoastalgorithm__lr_hr", run_file,
                      "the coast-polygon algorithm (searchcoastalgorithm__lr_hr = 2) needs a two-dimensional "
                      "run (sim__2d_3d = 1), found sim__2d_3d = " +
                          std::to_string(var_run.sim__2d_3d));
  }
  if (var_run.search_land__mask_maskandcoast != 2) {
    throw refusal_at("searchcoastalgorithm__lr_hr", run_file,
                      "the coast-polygon algorithm (searchcoastalgorithm__lr_hr = 2) needs land-search mode 2 "
                      "(search_land__mask_maskandcoast = 2), found " +
                          std::to_string(var_run.search_land__mask_maskandcoast));
  }
}

}  // namespace orvel
