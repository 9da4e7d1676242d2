// The grid statistics and grid files as a literal full-grid computation: the
// presence and mass grids over every cell and every spill, zeroed at each
// output time, and the files written by scanning every cell in order.  It is
// the reference of the differential test of the model's sparse version; the
// faults mended in the model are mended here the same way (no cell past the
// grid, a single sub-spill's own grids for the all-sub-spill file, droplet
// weights of 3-D HNS particles).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/farray.hpp"
#include "control/state/all.hpp"
#include "output/result_layout.hpp"

namespace orvel::testing {

class literal_grids {
 public:
  void presence(int32_t s, int32_t step, bool three_d) {
    const int32_t n = cells();
    const int32_t ns = var_cfg.spills_number;
    if (s == 1) {
      fresh(probver, n, ns);
      fresh(probver_sup, n, ns);
      fresh(probint, n);
      fresh(probint_sup, n);
      fresh(probtot, n);
      fresh(probtot_sup, n);
    }
    farray<float, 1> count{"count"}, count_sup{"count_sup"};
    count.allocate(n);
    count_sup.allocate(n);
    if (!started(s, step)) return;
    const int32_t np = var_run.particle_number;
    for (int32_t j = 1; j <= np; ++j) {
      const double x = static_cast<float>(var_part.x_part(j, s));
      const double y = static_cast<float>(var_part.y_part(j, s));
      const int32_t k = cell_of(x, y);
      if (k == 0) continue;
      count(k) += 1.0f;
      probver(k, s) = count(k) / static_cast<float>(np);
      probint(k) += 1.0f;
      if (three_d && var_part.indp(j, s) == 1) {
        count_sup(k) += 1.0f;
        probint_sup(k) += 1.0f;
        probver_sup(k, s) = count_sup(k) / static_cast<float>(np);
      }
      if (ns > 1) {
        const float total = static_cast<float>(np * var_mallas.cont_p);
        probtot(k) = probint(k) / total;
        if (three_d) probtot_sup(k) = probint_sup(k) / total;
      }
    }
  }

  void mass(int32_t s, int32_t step, int32_t stamp, bool every_state) {
    const int32_t n = cells();
    const int32_t ns = var_cfg.spills_number;
    const int32_t obj = var_cfg.obj__floating_fuel_hns;
    if (s == 1) {
      fresh(concver, n, ns);
      fresh(concint, n);
      fresh(conctot, n);
    }
    farray<int32_t, 1> cell_count{"cell_count"};
    farray<double, 1> sum{"sum"};
    cell_count.allocate(n);
    sum.allocate(n);
    const double a = area();
    if (started(s, step)) {
      for (int32_t j = 1; j <= var_run.particle_number; ++j) {
        if (!every_state && var_part.indp(j, s) != 1) continue;
        double x = var_part.x_part(j, s);
        double y = var_part.y_part(j, s);
        if (!every_state) {
          x = static_cast<float>(x);
          y = static_cast<float>(y);
        }
        const int32_t k = cell_of(x, y);
        if (k == 0) continue;
        cell_count(k) += 1;
        concint(k) += 1;
        if (!every_state && obj == 1) continue;
        double m = var4.massparticle(j, s);
        if (!every_state && obj == 3 && var_run.sim__2d_3d == 2) m = var_hns_extra.equiv_part(j, s) * m;
        sum(k) += m;
        concver(k, s) = static_cast<float>(sum(k) / a);
        if (ns > 1) conctot(k) = static_cast<float>(m / a + static_cast<double>(conctot(k)));
      }
    }
    write(s, stamp, cell_count);
  }

 private:
  static int32_t cells() { return var_mallasconc.concxcells_number * var_mallasconc.concycells_number; }

  static bool started(int32_t s, int32_t step) {
    return var_cfg.spillstarttime(s) <= static_cast<double>(static_cast<float>(step) * var_run.deltat);
  }

  static double area() {
    const auto& c = var_mallasconc;
    const double f = var_mallas.factor;
    return std::cos(static_cast<double>(3.1416f) * c.conclatmean / 180.0) * c.concdeltax * f * (c.concdeltay * f);
  }

  static int32_t cell_of(double x, double y) {
    const auto& c = var_mallasconc;
    if (!(c.lonicc <= x && x <= c.lonscc && c.laticc <= y && y <= c.latscc)) return 0;
    const double qx = (x - c.concgrid0_x) / c.concdeltax;
    const double qy = (y - c.concgrid0_y) / c.concdeltay;
    if (!(qx > -1.0 && qx < c.concxcells_number && qy > -1.0 && qy < c.concycells_number)) return 0;
    const int32_t ix = static_cast<int32_t>(qx) + 1;
    const int32_t iy = static_cast<int32_t>(qy) + 1;
    return (ix - 1) * c.concycells_number + iy;
  }

  template <typename T>
  static void fresh(farray<T, 1>& a, int32_t n) {
    if (a.allocated()) a.deallocate();
    a.allocate(n);
  }
  template <typename T>
  static void fresh(farray<T, 2>& a, int32_t n, int32_t ns) {
    if (a.allocated()) a.deallocate();
    a.allocate(n, ns);
  }

  void write(int32_t s, int32_t step, const farray<int32_t, 1>& cell_count) {
    static constexpr result_column all[] = {
        {"time (h),", 9, 'F', 8, 2},
        {"longitude (\xBA),", 15, 'F', 14, 7},
        {"latitude (\xBA),", 14, 'F', 13, 7},
        {"surface_mass_per_area (kg/m2),", 31, 'F', 30, 4},
        {"dissolved_mass_per_area (kg/m2),", 33, 'F', 32, 7},
        {"presence_probability (%),", 26, 'F', 25, 2},
        {"particles_per_cell (-)", 23, 'I', 23, 0},
    };
    const int32_t obj = var_cfg.obj__floating_fuel_hns;
    const int32_t n = cells();
    const int32_t ns = var_cfg.spills_number;
    const bool continuous = var_cfg.spill__instant_contin == 2;
    const bool three_d = var_run.sim__2d_3d == 2;
    const double a = area();
    if (obj == 3 && s == 1) fresh(diss, n);
    // The column set: floating object without the masses, oil without the
    // dissolved mass.
    result_column cols[7];
    int nc = 0;
    for (int i = 0; i < 7; ++i) {
      if ((i == 3 && obj == 1) || (i == 4 && obj != 3)) continue;
      cols[nc++] = all[i];
    }
    const std::span<const result_column> columns(cols, static_cast<std::size_t>(nc));
    const float hours = output_time_of(step).hours;
    auto row = [&](result_table& f, int32_t k, double surface, double dissolved, float presence, int32_t count) {
      double v[7];
      int m = 0;
      v[m++] = hours;
      if (var_cfg.concgrid_same_grid__y_n != 0) {
        v[m++] = var_mallas.xbat(k) - 360.0 + var_mallas.deltax * 0.5;
        v[m++] = var_mallas.ybat(k) + var_mallas.deltay * 0.5;
      } else {
        v[m++] = var_mallasconc.xbatcc(k) - 360.0 + var_mallasconc.concdeltax * 0.5;
        v[m++] = var_mallasconc.ybatcc(k) + var_mallasconc.concdeltay * 0.5;
      }
      if (obj != 1) v[m++] = surface;
      if (obj == 3) v[m++] = dissolved;
      v[m++] = 100.0f * presence;
      v[m++] = count;
      f.row(std::span<const double>(v, static_cast<std::size_t>(m)));
    };

    std::optional<result_table> f;
    for (int32_t k = 1; k <= n; ++k) {
      if (cell_count(k) == 0) continue;
      if (!f) f.emplace(continuous ? subspill_grid_file_name("TEST", s, step) : grid_file_name("TEST", s, step), columns);
      double d = 0.0;
      if (obj == 3) {
        d = static_cast<double>(var4.mass_diss_cumul(s) / static_cast<float>(var_run.particle_number) *
                                static_cast<float>(cell_count(k))) /
            a;
        diss(k) = static_cast<float>(static_cast<double>(diss(k)) + d);
      }
      row(*f, k, concver(k, s), d, probver(k, s), cell_count(k));
    }
    if (f) f->commit();

    if (!continuous || s != ns) return;
    std::optional<result_table> t;
    for (int32_t k = 1; k <= n; ++k) {
      const float select = ns > 1 ? probtot(k) : probver(k, 1);
      if (select == 0.0f) continue;
      if (!t) t.emplace(all_subspill_grid_file_name("TEST", step), columns);
      const double dissolved = obj == 3 ? diss(k) : 0.0;
      if (ns > 1) {
        row(*t, k, conctot(k), dissolved, three_d ? probtot_sup(k) : probtot(k), concint(k));
      } else {
        row(*t, k, concver(k, 1), dissolved, three_d ? probver_sup(k, 1) : probver(k, 1), concint(k));
      }
    }
    if (t) t->commit();
  }

  farray<float, 2> probver{"probver"}, probver_sup{"probver_sup"}, concver{"concver"};
  farray<float, 1> probint{"probint"}, probint_sup{"probint_sup"}, probtot{"probtot"}, probtot_sup{"probtot_sup"};
  farray<float, 1> conctot{"conctot"}, diss{"diss"};
  farray<int32_t, 1> concint{"concint"};
};

}  // namespace orvel::testing
