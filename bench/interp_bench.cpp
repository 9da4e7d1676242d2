// Timing of the per-step forcing interpolation: a 500 x 500 node field
// interpolated to 100,000 particles, reported as nanoseconds per particle
// (per node for the time blend).  Not a test: run orvel_bench_interp.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/blend.hpp"
#include "forcing/interp.hpp"

namespace {

using namespace orvel;

constexpr int32_t nx = 500, ny = 500, np = 100000, layers = 10;
constexpr double x0 = 357.0, y0 = 42.0, dx = 0.01, dy = 0.01;

struct setup {
  std::vector<double> field, layered, xs, ys, xc, yc, out, out_layers;
  setup() {
    reset_state();
    var_run.particle_number = np;
    auto& m = var_mallas;
    m.grid0_x = x0;
    m.grid0_y = y0;
    m.deltax = dx;
    m.deltay = dy;
    m.xcells_number = nx;
    m.ycells_number = ny;
    m.loni = x0;
    m.lons = x0 + (nx - 1) * dx;
    m.lati = y0;
    m.lats = y0 + (ny - 1) * dy;
    var_capas.numcapascorr = layers;
    const int64_t nodes = int64_t{nx} * ny;
    field.resize(nodes);
    for (int64_t k = 0; k < nodes; ++k) field[k] = std::sin(0.001 * static_cast<double>(k));
    layered.resize(nodes * layers);
    for (int64_t k = 0; k < nodes * layers; ++k) layered[k] = std::cos(0.001 * static_cast<double>(k));
    std::mt19937_64 g(12345);
    std::uniform_real_distribution<double> ux(m.loni, m.lons), uy(m.lati, m.lats);
    // Scattered over the whole grid, and a spill-like patch of 20 x 20 cells.
    std::normal_distribution<double> px(x0 + 2.5, 0.05), py(y0 + 2.5, 0.05);
    for (int32_t p = 0; p < np; ++p) {
      xs.push_back(ux(g));
      ys.push_back(uy(g));
      xc.push_back(px(g));
      yc.push_back(py(g));
    }
    out.resize(np);
    out_layers.resize(int64_t{np} * layers);
  }
};

setup& data() {
  static setup s;
  return s;
}

const std::vector<double> none;

// Runs call once per iteration and reports its mean time per item.
template <typename Call>
void timed(benchmark::State& state, int64_t items, const char* name, Call call) {
  using clock = std::chrono::steady_clock;
  double total_ns = 0.0;
  for (auto _ : state) {
    const auto t0 = clock::now();
    call();
    const auto t1 = clock::now();
    total_ns += std::chrono::duration<double, std::nano>(t1 - t0).count();
  }
  state.counters[name] =
      total_ns / (static_cast<double>(state.iterations()) * static_cast<double>(items));
}

void model_grid_scattered(benchmark::State& state) {
  auto& d = data();
  timed(state, np, "ns_per_particle", [&] {
    interp_lineal(none, none, d.xs, d.ys, nx * ny, d.field, d.out);
    benchmark::DoNotOptimize(d.out.data());
  });
}

void model_grid_patch(benchmark::State& state) {
  auto& d = data();
  timed(state, np, "ns_per_particle", [&] {
    interp_lineal(none, none, d.xc, d.yc, nx * ny, d.field, d.out);
    benchmark::DoNotOptimize(d.out.data());
  });
}

void own_grid_scattered(benchmark::State& state) {
  auto& d = data();
  timed(state, np, "ns_per_particle", [&] {
    interp_lineal_mr(none, none, d.xs, d.ys, nx * ny, d.field, d.out, x0, y0, dx, dy, nx, ny);
    benchmark::DoNotOptimize(d.out.data());
  });
}

void own_grid_patch(benchmark::State& state) {
  auto& d = data();
  timed(state, np, "ns_per_particle", [&] {
    interp_lineal_mr(none, none, d.xc, d.yc, nx * ny, d.field, d.out, x0, y0, dx, dy, nx, ny);
    benchmark::DoNotOptimize(d.out.data());
  });
}

// All ten layers at each particle.
void ten_layers_patch(benchmark::State& state) {
  auto& d = data();
  timed(state, np, "ns_per_particle", [&] {
    interp_lineal_mr_capas(none, none, d.xc, d.yc, nx * ny, d.layered, d.out_layers, x0, y0, dx,
                           dy, nx, ny);
    benchmark::DoNotOptimize(d.out_layers.data());
  });
}

// Time blend of both current components over the 250,000 nodes.
void blend_nodes(benchmark::State& state) {
  data();
  const int32_t nodes = nx * ny;
  var_cfg.xyzcurrentnodes_number = {nodes, nodes, 0};
  auto& c = var2;
  if (!c.u0.allocated()) {
    for (auto* a : {&c.u0, &c.v0, &c.u_curr_read, &c.v_curr_read}) a->allocate(nodes, 1);
  }
  std::vector<double> u(nodes), v(nodes);
  float f = 0.0f;
  timed(state, 2 * int64_t{nodes}, "ns_per_node", [&] {
    f = f < 1.0f ? f + 0.01f : 0.0f;
    interp_corr(f, u, v);
    benchmark::DoNotOptimize(u.data());
    benchmark::DoNotOptimize(v.data());
  });
}

BENCHMARK(model_grid_scattered);
BENCHMARK(model_grid_patch);
BENCHMARK(own_grid_scattered);
BENCHMARK(own_grid_patch);
BENCHMARK(ten_layers_patch);
BENCHMARK(blend_nodes);

}  // namespace

BENCHMARK_MAIN();
