#include "forcing/waves.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "control/data_folder.hpp"
#include "control/state/var1.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "forcing/directions.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// Shortest period kept, s.
constexpr double min_period = 2.5;

struct wave_fields {
  farray<double, 1>& x;  // Hs * sin(direction)
  farray<double, 1>& y;  // Hs * cos(direction)
  farray<double, 1>& period;
  farray<double, 2>& hs_grid;
  farray<double, 2>& dir_grid;
  farray<double, 2>& period_grid;
};

// Height and direction (degrees clockwise from north) as the components
// along the direction read, and the period floored.
void store_wave(const wave_fields& f, int32_t k, double hs, double dir, double t) {
  const east_north c = towards_direction(hs, dir);
  f.x(k) = c.east;
  f.y(k) = c.north;
  f.period(k) = std::max(t, min_period);
}

void read_wave_record(const wave_fields& f, int32_t i, bool build_nodes) {
  auto& w = var_currwindwave;
  if (var_cfg.wavesgridformat__xyz_grid == 1) {
    list_reader r = open_listed_file(var1.fichola, i);
    const int32_t n = var_cfg.xyzwavesnodes_number;
    check_node_lines(r, n, "xyzwavesnodes_number");
    std::vector<int64_t> lines;
    for (int32_t k = 1; k <= n; ++k) {
      {
        list_reader::record rec(r);
        bool whole = false;
        try {
          whole = rec.item(w.xh(k), "longitude") && rec.item(w.yh(k), "latitude") && rec.item(w.hs, "wave height") &&
                  rec.item(w.tetah, "wave direction") && rec.item(w.t, "wave period");
        } catch (const input_error&) {
          rethrow_naming_comma(r, rec, 5);
        }
        if (whole) check_values_left(r, rec, 5);
      }
      lines.push_back(r.record_line());
      store_wave(f, k, w.hs, w.tetah, w.t);
      w.xh(k) += 360.0;
    }
    // On a regular grid the nodes are placed by their coordinates; scattered
    // nodes were regridded and are read in the model grid's order.
    if (var_mallas.wavesgrid_regular__y_n == 1 && n >= 1) {
      const auto order = place_nodes_on_grid(r.name(), w.xh.ptr(1), w.yh.ptr(1), lines, n, "wavesgrid_regular__y_n");
      put_in_grid_order(f.x.ptr(1), order);
      put_in_grid_order(f.y.ptr(1), order);
      put_in_grid_order(f.period.ptr(1), order);
    }
  } else if (var_cfg.wavesgridformat__xyz_grid == 2) {
    const auto& g = var_mallasforz;
    const int32_t nx = g.gridformatwaves_xcells;
    const int32_t ny = g.gridformatwaves_ycells;
    if (build_nodes) {
      grid_nodes(w.xh, w.yh, g.gridformatwaves_0x, g.gridformatwaves_0y, g.gridformatwaves_deltax,
                 g.gridformatwaves_deltay, nx, ny);
    }
    {
      list_reader r = open_listed_file(var1.fichola_hs, i);
      read_rows(r, f.hs_grid, nx, ny);
    }
    {
      list_reader r = open_listed_file(var1.fichola_dir, i);
      read_rows(r, f.dir_grid, nx, ny);
    }
    {
      list_reader r = open_listed_file(var1.fichola_t, i);
      read_rows(r, f.period_grid, nx, ny);
    }
    for (int32_t ix = 1; ix <= nx; ++ix) {
      for (int32_t iy = 1; iy <= ny; ++iy) {
        store_wave(f, (ix - 1) * ny + iy, f.hs_grid(ix, iy), f.dir_grid(ix, iy), f.period_grid(ix, iy));
      }
    }
  }
}

}  // namespace

void lee_ola(int32_t i) {
  auto& w = var_currwindwave;
  read_wave_record({w.hwavex, w.hwavey, w.twave, w.hsg, w.tetahg, w.t_g}, i, i == 1);
}

void lee_ola0(int32_t i) {
  auto& w = var_currwindwave;
  read_wave_record({w.hwavex0, w.hwavey0, w.twave0, w.hsg0, w.tetahg0, w.t_g0}, i, true);
}

void lee_olacte() {
  auto& w = var_currwindwave;
  const int32_t n = var_cfg.wavesfilesorlines_number;
  if (n < 1) return;
  list_reader r(input_path("lstwaves.pre"));
  r.finite_only();
  for (int32_t i = 1; i <= n; ++i) {
    r.read({"wave height", "wave direction", "wave period"}, w.hwavec(i), w.angc(i), w.twavec(i));
    w.twavec(i) = std::max(w.twavec(i), min_period);
  }
}

}  // namespace orvel
