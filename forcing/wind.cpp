#include "forcing/wind.hpp"

#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "control/data_folder.hpp"
#include "control/state/var1.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_mallasforz.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

void read_wind_record(farray<double, 1>& wx, farray<double, 1>& wy, farray<double, 2>& ugrid,
                      farray<double, 2>& vgrid, int32_t i) {
  auto& w = var_currwindwave;
  if (var_cfg.windgridformat__xyz_grid == 1) {
    list_reader r = open_listed_file(var1.fichviento, i);
    const int32_t n = var_cfg.xyzwindnodes_number;
    check_node_lines(r, n, "xyzwindnodes_number");
    std::vector<int64_t> lines;
    for (int32_t k = 1; k <= n; ++k) {
      list_reader::record rec(r);
      bool whole = false;
      try {
        whole = rec.item(w.xv(k), "longitude") && rec.item(w.yv(k), "latitude") &&
                rec.item(wx(k), "eastward wind") && rec.item(wy(k), "northward wind");
      } catch (const input_error&) {
        rethrow_naming_comma(r, rec, 4);
      }
      if (whole) check_values_left(r, rec, 4);
      lines.push_back(r.record_line());
      w.xv(k) += 360.0;
    }
    // On a regular grid the nodes are placed by their coordinates; scattered
    // nodes were regridded and are read in the model grid's order.
    if (var_mallas.windgrid_regular__y_n == 1 && n >= 1) {
      const auto order = place_nodes_on_grid(r.name(), w.xv.ptr(1), w.yv.ptr(1), lines, n, "windgrid_regular__y_n");
      put_in_grid_order(wx.ptr(1), order);
      put_in_grid_order(wy.ptr(1), order);
    }
  } else if (var_cfg.windgridformat__xyz_grid == 2) {
    const auto& g = var_mallasforz;
    const int32_t nx = g.gridformatwind_xcells;
    const int32_t ny = g.gridformatwind_ycells;
    if (i == 1) {
      grid_nodes(w.xv, w.yv, g.gridformatwind_0x, g.gridformatwind_0y, g.gridformatwind_deltax,
                 g.gridformatwind_deltay, nx, ny);
    }
    {
      list_reader r = open_listed_file(var1.fichviento_u, i);
      read_rows(r, ugrid, nx, ny);
    }
    {
      list_reader r = open_listed_file(var1.fichviento_v, i);
      read_rows(r, vgrid, nx, ny);
    }
    for (int32_t ix = 1; ix <= nx; ++ix) {
      for (int32_t iy = 1; iy <= ny; ++iy) {
        const int32_t k = (ix - 1) * ny + iy;
        wx(k) = ugrid(ix, iy);
        wy(k) = vgrid(ix, iy);
      }
    }
  }
}

}  // namespace

void lee_viento(int32_t i) {
  auto& w = var_currwindwave;
  read_wind_record(w.windx, w.windy, w.uwg, w.vwg, i);
}

void lee_viento0(int32_t i) {
  auto& w = var_currwindwave;
  read_wind_record(w.windx0, w.windy0, w.uwg0, w.vwg0, i);
}

void lee_vientocte() {
  auto& w = var_currwindwave;
  const int32_t n = var_cfg.windfilesorlines_number;
  if (n < 1) return;
  list_reader r(input_path("lstwinds.pre"));
  r.finite_only();
  for (int32_t i = 1; i <= n; ++i) r.read({"wind speed", "wind direction"}, w.windc(i), w.angw(i));
}

}  // namespace orvel
