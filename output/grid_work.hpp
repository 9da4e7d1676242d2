// Work state shared by the grid statistics and the grid-file writer.
//
// A concentration grid has 10^5 to 10^6 cells while one output time touches
// only the cells that hold particles, so nothing here is allocated or zeroed
// per output time or per spill: the per-cell arrays are kept for the run and
// cleared again only in the cells that the previous output (or call) wrote,
// and the per-spill results hold only the cells each spill occupies, in
// increasing cell order (the order in which a full scan of the grid meets
// them).
#pragma once

#include <cstdint>
#include <vector>

#include "common/farray.hpp"

namespace orvel {

// One spill's presence at one output time: the cells holding any of its
// particles, in increasing order, with the fraction of its particles there.
struct spill_presence {
  std::vector<int32_t> cell;
  std::vector<float> probver;
};

// One spill's counted particles at one output time: the cells holding them,
// in increasing order, with their number and their mass per area (kg/m2).
struct spill_grid {
  std::vector<int32_t> cell;
  std::vector<int32_t> count;
  std::vector<float> concver;
};

struct grid_work_state {
  int32_t ncell = 0;  // cells the per-call arrays below are sized for

  // Presence.  `count` is the present call's particles per cell (0 outside
  // call_cells); presence(spill) the finished spills of this output time;
  // presence_cells the cells whose all-spill count is not 0 at this output
  // time, in the order they were first counted.
  std::vector<float> count;
  std::vector<int32_t> call_cells;
  std::vector<spill_presence> presence;
  std::vector<int32_t> presence_cells;

  // Surface mass.  cell_count and mass_sum belong to the present call (0
  // outside occupied); counted is the finished spill handed to the writer;
  // conc_cells the cells whose all-spill count is not 0 at this output time;
  // diss_cells the cells of conc_diss_tot written at this output time.
  std::vector<int32_t> cell_count;
  std::vector<double> mass_sum;
  std::vector<int32_t> occupied;
  spill_grid counted;
  std::vector<int32_t> conc_cells;
  std::vector<int32_t> diss_cells;

  // The storage of each kept grid as last prepared: a grid found elsewhere
  // (reallocated, or released by a state reset) is cleared whole.
  const void* probint_seen = nullptr;
  const void* probtot_seen = nullptr;
  const void* probint_sup_seen = nullptr;
  const void* probtot_sup_seen = nullptr;
  const void* concint_seen = nullptr;
  const void* conctot_seen = nullptr;
  const void* diss_seen = nullptr;
};

grid_work_state& grid_work();

// Number of cells of the concentration grid (0 when either count is not
// positive or the product leaves 32 bits).
int32_t conc_cells_number();

// Area of a concentration-grid cell, m2.
double conc_cell_area();

// Makes `a` a grid of n cells holding 0 everywhere.  When `a` is the
// storage `seen` of the last preparation, only the cells in `written` are
// cleared; otherwise it is (re)allocated or cleared whole.  `seen` is
// updated.
template <typename T>
void clear_grid(farray<T, 1>& a, int32_t n, const std::vector<int32_t>& written, const void*& seen) {
  if (a.allocated() && a.size() == n && static_cast<const void*>(a.data()) == seen) {
    T* p = a.data();
    for (const int32_t k : written) p[k - 1] = T{};
    return;
  }
  if (a.allocated() && a.size() != n) a.deallocate();
  if (a.allocated()) {
    a.fill(T{});
  } else {
    a.allocate(n);
  }
  seen = a.data();
}

// True when `a` is the grid of n cells last prepared as `seen`.
template <typename T>
bool kept_grid(const farray<T, 1>& a, int32_t n, const void* seen) {
  return a.allocated() && a.size() == n && static_cast<const void*>(a.data()) == seen;
}

// Releases a grid that this output time does not use, so that a later use
// starts from a clean one.
template <typename T>
void drop_grid(farray<T, 1>& a) {
  if (a.allocated()) a.deallocate();
}

}  // namespace orvel
