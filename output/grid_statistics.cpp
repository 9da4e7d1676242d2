#include "output/grid_statistics.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "control/state/all.hpp"
#include "output/grid_files.hpp"
#include "output/grid_work.hpp"

namespace orvel {

grid_work_state& grid_work() {
  static grid_work_state w;
  return w;
}

int32_t conc_cells_number() {
  const auto& c = var_mallasconc;
  if (c.concxcells_number <= 0 || c.concycells_number <= 0) return 0;
  const int64_t n = int64_t{c.concxcells_number} * c.concycells_number;
  return n > INT32_MAX ? 0 : static_cast<int32_t>(n);
}

double conc_cell_area() {
  const auto& c = var_mallasconc;
  const double factor = var_mallas.factor;
  const double pi = static_cast<double>(3.1416f);
  return (std::cos(pi * c.conclatmean / 180.0) * c.concdeltax * factor) * (c.concdeltay * factor);
}

namespace {

// The grid geometry of one call, loaded once.
struct conc_grid {
  double lonicc, lonscc, laticc, latscc;
  double x0, y0, dx, dy;
  int32_t nx, ny;

  conc_grid() {
    const auto& c = var_mallasconc;
    lonicc = c.lonicc;
    lonscc = c.lonscc;
    laticc = c.laticc;
    latscc = c.latscc;
    x0 = c.concgrid0_x;
    y0 = c.concgrid0_y;
    dx = c.concdeltax;
    dy = c.concdeltay;
    nx = conc_cells_number() > 0 ? c.concxcells_number : 0;
    ny = c.concycells_number;
  }

  // The cell of a position in the window, or 0 outside the window.  At the
  // window's edge, rounding can put the truncated index one past the grid
  // (or the quotient is not a number when a spacing is 0): such a position
  // has no cell and is not counted.
  int32_t cell_of(double x, double y) const {
    if (!(lonicc <= x && x <= lonscc && laticc <= y && y <= latscc)) return 0;
    const double qx = (x - x0) / dx;
    const double qy = (y - y0) / dy;
    // int(q) + 1 lies in 1 .. n exactly when -1 < q < n.
    if (!(qx > -1.0 && qx < nx && qy > -1.0 && qy < ny)) return 0;
    const int32_t ix = static_cast<int32_t>(qx) + 1;
    const int32_t iy = static_cast<int32_t>(qy) + 1;
    return (ix - 1) * ny + iy;
  }
};

// Sizes the per-call arrays for n cells.
void size_work(grid_work_state& w, int32_t n) {
  if (w.ncell == n && w.count.size() == static_cast<std::size_t>(n)) return;
  w.ncell = n;
  w.count.assign(static_cast<std::size_t>(n), 0.0f);
  w.cell_count.assign(static_cast<std::size_t>(n), 0);
  w.mass_sum.assign(static_cast<std::size_t>(n), 0.0);
  w.call_cells.clear();
  w.occupied.clear();
}

bool started(int32_t spill, int32_t step) {
  const float t = static_cast<float>(step) * var_run.deltat;
  return var_cfg.spillstarttime(spill) <= static_cast<double>(t);
}

// Whether the presence grids of the output time in progress are in place
// (a state reset releases them).
bool presence_in_place(const grid_work_state& w, int32_t n, bool three_d) {
  const auto& g = var_mallas;
  const bool several = var_cfg.spills_number > 1;
  return w.ncell == n && w.presence.size() == static_cast<std::size_t>(std::max(var_cfg.spills_number, 0)) &&
         kept_grid(g.probint, n, w.probint_seen) &&
         (!several || kept_grid(g.probtot, n, w.probtot_seen)) &&
         (!three_d || kept_grid(g.probint_sup, n, w.probint_sup_seen)) &&
         (!three_d || !several || kept_grid(g.probtot_sup, n, w.probtot_sup_seen));
}

// The start of a presence output time: every grid back to 0.
void start_presence(grid_work_state& w, int32_t n, bool three_d) {
  auto& g = var_mallas;
  const bool several = var_cfg.spills_number > 1;
  size_work(w, n);
  clear_grid(g.probint, n, w.presence_cells, w.probint_seen);
  if (several) {
    clear_grid(g.probtot, n, w.presence_cells, w.probtot_seen);
  } else {
    drop_grid(g.probtot);
  }
  if (three_d) {
    clear_grid(g.probint_sup, n, w.presence_cells, w.probint_sup_seen);
  } else {
    drop_grid(g.probint_sup);
  }
  if (three_d && several) {
    clear_grid(g.probtot_sup, n, w.presence_cells, w.probtot_sup_seen);
  } else {
    drop_grid(g.probtot_sup);
  }
  w.presence_cells.clear();
  w.presence.resize(static_cast<std::size_t>(std::max(var_cfg.spills_number, 0)));
  for (auto& p : w.presence) {
    p.cell.clear();
    p.probver.clear();
  }
}

void presence(int32_t spill, int32_t step, bool three_d) {
  auto& w = grid_work();
  auto& g = var_mallas;
  const int32_t n = conc_cells_number();
  if (spill == 1 || !presence_in_place(w, n, three_d)) start_presence(w, n, three_d);
  float* const count = w.count.data();
  for (const int32_t k : w.call_cells) count[k - 1] = 0.0f;
  w.call_cells.clear();
  auto& mine = w.presence[static_cast<std::size_t>(spill - 1)];
  mine.cell.clear();
  mine.probver.clear();
  const int32_t np = var_run.particle_number;
  if (np <= 0 || !started(spill, step)) return;

  const auto& p = var_part;
  const conc_grid grid;
  const bool several = var_cfg.spills_number > 1;
  // The all-spill divisor particle_number * cont_p, formed in integers.
  const float total = static_cast<float>(int64_t{np} * g.cont_p);
  float* const probint = g.probint.data();
  float* const probtot = several ? g.probtot.data() : nullptr;
  float* const probint_sup = three_d ? g.probint_sup.data() : nullptr;
  float* const probtot_sup = three_d && several ? g.probtot_sup.data() : nullptr;
  const double* const xs = p.x_part.ptr(1, spill);
  const double* const ys = p.y_part.ptr(1, spill);
  const int32_t* const states = three_d ? p.indp.ptr(1, spill) : nullptr;
  int32_t last = g.ind_c;
  for (int32_t j = 0; j < np; ++j) {
    // Positions as single-precision values.
    const double x = static_cast<float>(xs[j]);
    const double y = static_cast<float>(ys[j]);
    const int32_t k = grid.cell_of(x, y);
    if (k == 0) continue;
    last = k;
    const std::size_t i = static_cast<std::size_t>(k - 1);
    if (count[i] == 0.0f) w.call_cells.push_back(k);
    count[i] += 1.0f;
    if (probint[i] == 0.0f) w.presence_cells.push_back(k);
    probint[i] += 1.0f;
    if (probtot) probtot[i] = probint[i] / total;
    if (three_d) {
      if (states[j] == 1) probint_sup[i] += 1.0f;
      if (probtot_sup) probtot_sup[i] = probint_sup[i] / total;
    }
  }
  g.ind_c = last;
  std::sort(w.call_cells.begin(), w.call_cells.end());
  const float fnp = static_cast<float>(np);
  mine.cell = w.call_cells;
  mine.probver.reserve(w.call_cells.size());
  for (const int32_t k : w.call_cells) mine.probver.push_back(count[k - 1] / fnp);
}

bool mass_grids_in_place(const grid_work_state& w, int32_t n) {
  const auto& c = var_mallasconc;
  return w.ncell == n && kept_grid(c.concint, n, w.concint_seen) &&
         (var_cfg.spills_number <= 1 || kept_grid(c.conctot, n, w.conctot_seen));
}

void start_mass(grid_work_state& w, int32_t n) {
  auto& c = var_mallasconc;
  size_work(w, n);
  clear_grid(c.concint, n, w.conc_cells, w.concint_seen);
  if (var_cfg.spills_number > 1) {
    clear_grid(c.conctot, n, w.conc_cells, w.conctot_seen);
  } else {
    drop_grid(c.conctot);
  }
  w.conc_cells.clear();
}

void mass(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp, bool every_state) {
  auto& w = grid_work();
  auto& c = var_mallasconc;
  const int32_t n = conc_cells_number();
  if (spill == 1 || !mass_grids_in_place(w, n)) start_mass(w, n);
  int32_t* const cell_count = w.cell_count.data();
  double* const mass_sum = w.mass_sum.data();
  for (const int32_t k : w.occupied) {
    cell_count[k - 1] = 0;
    mass_sum[k - 1] = 0.0;
  }
  w.occupied.clear();
  auto& out = w.counted;
  out.cell.clear();
  out.count.clear();
  out.concver.clear();

  const double area = conc_cell_area();
  const int32_t np = var_run.particle_number;
  if (np > 0 && started(spill, step)) {
    const auto& p = var_part;
    const conc_grid grid;
    const auto& cfg = var_cfg;
    // A floating object has no mass, nor has oil whose weathering is off
    // (its particle masses are never set); in a 3-D HNS run a particle
    // stands for equiv_part droplets of mass massparticle.
    const bool masses = (every_state || cfg.obj__floating_fuel_hns != 1) && var4.massparticle.allocated();
    const bool droplets = !every_state && cfg.obj__floating_fuel_hns == 3 && var_run.sim__2d_3d == 2;
    const bool several = cfg.spills_number > 1;
    int32_t* const concint = c.concint.data();
    float* const conctot = several && masses ? c.conctot.data() : nullptr;
    const double* const xs = p.x_part.ptr(1, spill);
    const double* const ys = p.y_part.ptr(1, spill);
    const int32_t* const states = p.indp.ptr(1, spill);
    const double* const m = masses ? var4.massparticle.ptr(1, spill) : nullptr;
    const float* const equiv = droplets ? var_hns_extra.equiv_part.ptr(1, spill) : nullptr;
    int32_t last = c.ind_cc;
    for (int32_t j = 0; j < np; ++j) {
      if (!every_state && states[j] != 1) continue;
      double x = xs[j];
      double y = ys[j];
      if (!every_state) {
        x = static_cast<float>(x);
        y = static_cast<float>(y);
      }
      const int32_t k = grid.cell_of(x, y);
      if (k == 0) continue;
      last = k;
      const std::size_t i = static_cast<std::size_t>(k - 1);
      if (cell_count[i]++ == 0) w.occupied.push_back(k);
      if (concint[i]++ == 0) w.conc_cells.push_back(k);
      if (masses) {
        const double mj = equiv ? static_cast<double>(equiv[j]) * m[j] : m[j];
        mass_sum[i] += mj;
        if (conctot) conctot[i] = static_cast<float>(mj / area + static_cast<double>(conctot[i]));
      }
    }
    c.ind_cc = last;
  }
  std::sort(w.occupied.begin(), w.occupied.end());
  out.cell = w.occupied;
  out.count.reserve(w.occupied.size());
  out.concver.reserve(w.occupied.size());
  for (const int32_t k : w.occupied) {
    out.count.push_back(cell_count[k - 1]);
    out.concver.push_back(static_cast<float>(mass_sum[k - 1] / area));
  }
  esc_concentracion(spill, clave, stamp, sim, out);
}

}  // namespace

void probabilidad(int32_t spill, int32_t step) { presence(spill, step, false); }

void probabilidad_3d(int32_t spill, int32_t step) { presence(spill, step, true); }

void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp) {
  mass(spill, step, clave, sim, stamp, false);
}

void concentracion_hns2d(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp) {
  mass(spill, step, clave, sim, stamp, true);
}

float presence_fraction(int32_t cell, int32_t spill) {
  const auto& w = grid_work();
  if (spill < 1 || static_cast<std::size_t>(spill) > w.presence.size()) return 0.0f;
  const auto& p = w.presence[static_cast<std::size_t>(spill - 1)];
  const auto it = std::lower_bound(p.cell.begin(), p.cell.end(), cell);
  if (it == p.cell.end() || *it != cell) return 0.0f;
  return p.probver[static_cast<std::size_t>(it - p.cell.begin())];
}

}  // namespace orvel
