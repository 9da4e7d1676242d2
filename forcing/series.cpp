#include "forcing/series.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/parallel.hpp"

#include "common/list_input.hpp"
#include "control/data_folder.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_currwindwave.hpp"
#include "control/state/var_run.hpp"
#include "forcing/array_sizes.hpp"
#include "forcing/directions.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// One noted array: its identity, storage and value.
struct noted {
  const void* array = nullptr;
  const double* data = nullptr;
  int64_t size = 0;
  double value = 0.0;
};

// The arrays a run fills from its series: a few dozen at most.
noted notes[64];

noted* find_note(const void* a) {
  for (auto& n : notes) {
    if (n.array == a) return &n;
  }
  return nullptr;
}

template <typename A>
void note(const A& a, double v) {
  noted* n = find_note(&a);
  if (!n) n = find_note(nullptr);
  if (!n) return;  // table full: the value is simply not known
  *n = noted{&a, a.data(), a.size(), v};
}

template <typename A>
void forget(const A& a) {
  if (noted* n = find_note(&a)) *n = noted{};
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

template <typename A>
bool value_of(const A& a, double& v) {
  const noted* n = find_note(&a);
  const int32_t np = var_run.particle_number;
  if (!n || !a.allocated() || a.data() != n->data || a.size() != n->size || np < 1 || a.size(1) < np) return false;
  const double* d = a.data();
  if (!same_bits(d[0], n->value) || !same_bits(d[np - 1], n->value)) return false;
  v = n->value;
  return true;
}

template <typename A>
void fill_first(A& a, double v) {
  const int32_t np = var_run.particle_number;
  if (np < 1) return;
  forcing_detail::need(a.allocated() ? static_cast<std::size_t>(a.size(1)) : 0, np, "the uniform series", a.name());
  double* d = a.data();
  parallel_blocks(np, [d, v](int64_t, int64_t first, int64_t last) { std::fill(d + first, d + last, v); });
}

template <typename A>
void keep(A& start, const A& end) {
  const int32_t np = var_run.particle_number;
  double v = 0.0;
  if (uniform_value(end, v)) {
    fill_uniform(start, v);
    return;
  }
  forget(start);
  if (np < 1) return;
  forcing_detail::need(start.allocated() ? static_cast<std::size_t>(start.size(1)) : 0, np, "the uniform series",
                       start.name());
  forcing_detail::need(end.allocated() ? static_cast<std::size_t>(end.size(1)) : 0, np, "the uniform series",
                       end.name());
  std::copy_n(end.data(), np, start.data());
}

void fill(farray<double, 1>& a, double v) { fill_uniform(a, v); }

void fill_column1(farray<double, 2>& a, double v) { fill_uniform(a, v); }

void waves_to_particles(int32_t i, farray<double, 2>& hx, farray<double, 2>& hy, farray<double, 2>& t) {
  const auto& w = var_currwindwave;
  const east_north c = from_direction(w.hwavec(i), w.angc(i));
  fill_column1(hx, c.east);
  fill_column1(hy, c.north);
  fill_column1(t, w.twavec(i));
}

void pair_to_particles(double s, double theta, farray<double, 1>& x, farray<double, 1>& y) {
  const east_north c = from_direction(s, theta);
  fill(x, c.east);
  fill(y, c.north);
}

}  // namespace

void note_uniform(const farray<double, 1>& a, double v) { note(a, v); }
void note_uniform(const farray<double, 2>& a, double v) { note(a, v); }
void forget_uniform(const farray<double, 1>& a) { forget(a); }
void forget_uniform(const farray<double, 2>& a) { forget(a); }
bool uniform_value(const farray<double, 1>& a, double& v) { return value_of(a, v); }
bool uniform_value(const farray<double, 2>& a, double& v) { return value_of(a, v); }

void fill_uniform(farray<double, 1>& a, double v) {
  fill_first(a, v);
  note(a, v);
}

void fill_uniform(farray<double, 2>& a, double v) {
  fill_first(a, v);
  note(a, v);
}

void keep_end_values(farray<double, 1>& start, const farray<double, 1>& end) { keep(start, end); }
void keep_end_values(farray<double, 2>& start, const farray<double, 2>& end) { keep(start, end); }

void lee_velcte() {
  auto& w = var_currwindwave;
  const int32_t n = var_cfg.currentfilesorlines_number;
  if (n < 1) return;
  if (var_run.sim__2d_3d == 1) {
    list_reader r(input_path("lstcurr.pre"));
    r.finite_only();
    for (int32_t i = 1; i <= n; ++i) r.read({"current speed", "current direction"}, w.velcu(i), w.angcu(i));
  } else {
    list_reader r(input_path("lstcurr3D.pre"));
    r.finite_only();
    r.skip_line("the first header line");
    r.skip_line("the second header line");
    for (int32_t i = 1; i <= n; ++i) {
      r.read({"surface current speed", "surface current direction", "water-column current speed",
              "water-column current direction"},
             w.velcusup(i), w.angcusup(i), w.velcucol(i), w.angcucol(i));
    }
  }
}

void velcte() {}

void ola_part0(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx0, w.hinty0, w.tint0);
}

void ola_part(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx, w.hinty, w.tint);
}

void ola_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  waves_to_particles(i, w.hintx_t1, w.hinty_t1, w.tint_t1);
}

void vel_part0(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.velcu(i), w.angcu(i), w.vuint0, w.vvint0);
}

void vel_part(int32_t i) {
  auto& w = var_currwindwave;
  if (var_run.sim__2d_3d == 1) {
    pair_to_particles(w.velcu(i), w.angcu(i), w.u_curr_int, w.v_curr_int);
  } else {
    pair_to_particles(w.velcusup(i), w.angcusup(i), w.u_curr_intsup, w.v_curr_intsup);
    pair_to_particles(w.velcucol(i), w.angcucol(i), w.u_curr_intcol, w.v_curr_intcol);
    pair_to_particles(w.velcucol(i), w.angcucol(i), w.u_curr_int, w.v_curr_int);
  }
}

void vel_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.velcu(i), w.angcu(i), w.vuint_t1, w.vvint_t1);
}

void viento_part0(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx0, w.winty0);
}

void viento_part(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx, w.winty);
}

void viento_partinterp(int32_t i) {
  auto& w = var_currwindwave;
  pair_to_particles(w.windc(i), w.angw(i), w.wintx_t1, w.winty_t1);
}

}  // namespace orvel
