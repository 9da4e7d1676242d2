#include "output/grid_files.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "control/state/all.hpp"
#include "output/grid_statistics.hpp"
#include "output/result_layout.hpp"

namespace orvel {
namespace {

// Each label as wide as its value field and the comma.
constexpr result_column time_col = {"time (h),", 9, 'F', 8, 2};
constexpr result_column lon_col = {"longitude (\xBA),", 15, 'F', 14, 7};
constexpr result_column lat_col = {"latitude (\xBA),", 14, 'F', 13, 7};
constexpr result_column surface_col = {"surface_mass_per_area (kg/m2),", 31, 'F', 30, 4};
constexpr result_column dissolved_col = {"dissolved_mass_per_area (kg/m2),", 33, 'F', 32, 7};
constexpr result_column presence_col = {"presence_probability (%),", 26, 'F', 25, 2};
constexpr result_column count_col = {"particles_per_cell (-)", 23, 'I', 23, 0};

constexpr result_column floating_columns[] = {time_col, lon_col, lat_col, presence_col, count_col};
constexpr result_column oil_columns[] = {time_col, lon_col, lat_col, surface_col, presence_col, count_col};
constexpr result_column hns_columns[] = {time_col,         lon_col,      lat_col,  surface_col,
                                         dissolved_col,    presence_col, count_col};

enum class kind { floating, oil, hns };

kind substance() {
  switch (var_cfg.obj__floating_fuel_hns) {
    case 1:
      return kind::floating;
    case 3:
      return kind::hns;
    default:
      return kind::oil;
  }
}

std::span<const result_column> columns_of(kind k) {
  switch (k) {
    case kind::floating:
      return floating_columns;
    case kind::hns:
      return hns_columns;
    default:
      return oil_columns;
  }
}

// One row: time, cell centre, then surface mass, dissolved mass (as the
// column set has them), presence and count.
struct row_writer {
  kind k;
  double hours;
  bool model_grid;  // cells are the model grid's nodes
  double values[7];
  std::string owner;  // the spill or sub-spill the rows belong to

  void write(result_table& f, int32_t cell, float surface, double dissolved, float presence, int32_t count) {
    int n = 0;
    values[n++] = hours;
    if (model_grid) {
      const auto& g = var_mallas;
      values[n++] = g.xbat(cell) - 360.0 + g.deltax * 0.5;
      values[n++] = g.ybat(cell) + g.deltay * 0.5;
    } else {
      const auto& c = var_mallasconc;
      values[n++] = c.xbatcc(cell) - 360.0 + c.concdeltax * 0.5;
      values[n++] = c.ybatcc(cell) + c.concdeltay * 0.5;
    }
    if (k != kind::floating) values[n++] = surface;
    if (k == kind::hns) values[n++] = dissolved;
    values[n++] = 100.0f * presence;
    values[n++] = count;
    try {
      f.row(std::span<const double>(values, static_cast<std::size_t>(n)));
    } catch (const result_value_error& e) {
      stop_for_value(e, "cell " + std::to_string(cell) + " of " + owner, hours);
    }
  }
};

// Walks a spill's presence cells alongside cells visited in increasing
// order: the spill's presence fraction of each (0 where it has none).
class presence_walk {
 public:
  explicit presence_walk(const spill_presence* p) : p_(p) {}
  float at(int32_t cell) {
    if (!p_) return 0.0f;
    while (i_ < p_->cell.size() && p_->cell[i_] < cell) ++i_;
    return i_ < p_->cell.size() && p_->cell[i_] == cell ? p_->probver[i_] : 0.0f;
  }

 private:
  const spill_presence* p_;
  std::size_t i_ = 0;
};

const spill_presence* presence_of(const grid_work_state& w, int32_t spill) {
  if (spill < 1 || static_cast<std::size_t>(spill) > w.presence.size()) return nullptr;
  return &w.presence[static_cast<std::size_t>(spill - 1)];
}

// The all-sub-spill file of a continuous release.
void all_subspills(grid_work_state& w, const std::string& clave, int32_t step, row_writer& r,
                   const spill_grid& last) {
  const auto& g = var_mallas;
  const auto& c = var_mallasconc;
  const int32_t n = conc_cells_number();
  const bool three_d = var_run.sim__2d_3d == 2;
  const int32_t ns = var_cfg.spills_number;
  const float* diss = r.k == kind::hns ? var4.conc_diss_tot.data() : nullptr;
  // The presence grids of this output time (none when the presence
  // statistics have not run since the state was set up).
  if (!kept_grid(g.probint, n, w.probint_seen)) return;
  std::optional<result_table> f;
  auto open = [&] {
    if (!f) f.emplace(all_subspill_grid_file_name(clave, step), columns_of(r.k));
  };
  if (ns > 1) {
    if (!kept_grid(g.probtot, n, w.probtot_seen)) return;
    if (three_d && !kept_grid(g.probint_sup, n, w.probint_sup_seen)) return;
    // The cells where particles of any started sub-spill are present.
    std::sort(w.presence_cells.begin(), w.presence_cells.end());
    for (const int32_t k : w.presence_cells) {
      const float p = g.probtot(k);
      if (p == 0.0f) continue;  // a value that is not a number counts as not 0
      open();
      r.write(*f, k, c.conctot(k), diss ? diss[k - 1] : 0.0, three_d ? g.probtot_sup(k) : p, c.concint(k));
    }
  } else {
    // A single sub-spill: its own grids.
    const spill_presence* own = presence_of(w, 1);
    if (!own) return;
    const float fnp = static_cast<float>(var_run.particle_number);
    std::size_t j = 0;
    for (std::size_t i = 0; i < own->cell.size(); ++i) {
      const int32_t k = own->cell[i];
      if (own->probver[i] == 0.0f) continue;
      while (j < last.cell.size() && last.cell[j] < k) ++j;
      const float surface = j < last.cell.size() && last.cell[j] == k ? last.concver[j] : 0.0f;
      open();
      r.write(*f, k, surface, diss ? diss[k - 1] : 0.0, three_d ? g.probint_sup(k) / fnp : own->probver[i],
              c.concint(k));
    }
  }
  if (f) f->commit();
}

}  // namespace

void esc_concentracion(int32_t spill, const std::string& clave, int32_t step, int32_t /*sim*/,
                       const spill_grid& counted) {
  auto& w = grid_work();
  const auto& cfg = var_cfg;
  const kind k = substance();
  const int32_t n = conc_cells_number();
  // The dissolved mass per area of the sub-spills of this output time only.
  if (k == kind::hns && (spill == 1 || !kept_grid(var4.conc_diss_tot, n, w.diss_seen))) {
    clear_grid(var4.conc_diss_tot, n, w.diss_cells, w.diss_seen);
    w.diss_cells.clear();
  }
  const double area = conc_cell_area();
  const bool continuous = cfg.spill__instant_contin == 2;
  row_writer r{k, output_time_of(step).hours, cfg.concgrid_same_grid__y_n != 0, {}, {}};
  r.owner = (continuous ? "sub-spill " : "spill ") + std::to_string(spill);

  if (!counted.cell.empty()) {
    result_table f(continuous ? subspill_grid_file_name(clave, spill, step) : grid_file_name(clave, spill, step),
                   columns_of(k));
    presence_walk presence(presence_of(w, spill));
    // The spill's dissolved mass per particle.
    const float per_particle =
        k == kind::hns ? static_cast<float>(var4.mass_diss_cumul(spill)) / static_cast<float>(var_run.particle_number)
                      : 0.0f;
    float* const diss = k == kind::hns ? var4.conc_diss_tot.data() : nullptr;
    for (std::size_t i = 0; i < counted.cell.size(); ++i) {
      const int32_t cell = counted.cell[i];
      double d = 0.0;
      if (diss) {
        d = static_cast<double>(per_particle * static_cast<float>(counted.count[i])) / area;
        float& tot = diss[cell - 1];
        if (tot == 0.0f) w.diss_cells.push_back(cell);
        tot = static_cast<float>(static_cast<double>(tot) + d);
      }
      r.write(f, cell, counted.concver[i], d, presence.at(cell), counted.count[i]);
    }
    f.commit();
  }

  if (continuous && spill == cfg.spills_number) {
    r.owner = "the whole continuous release";
    all_subspills(w, clave, step, r, counted);
  }
}

}  // namespace orvel
