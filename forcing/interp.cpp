// Bilinear interpolation of node fields to particle positions.
#include "forcing/interp.hpp"

#include "common/precision.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"
#include "forcing/array_sizes.hpp"

namespace orvel {
namespace {

using forcing_detail::need;

struct grid {
  double x0, y0, dx, dy;
  int32_t nx, ny;
};

// West, east, south and north limits of the positions that are interpolated.
struct box {
  double west, east, south, north;
};

// How the three procedures differ: offsets rounded to single precision,
// the domain-box test, and several layers per call.
enum class variant { model_grid, own_grid, layers };

// One pass over the particles.  f holds `layers` node fields of stride
// f_stride; out receives `layers` result columns of stride np.
template <variant V>
void bilinear(const double* xp, const double* yp, int32_t np, const double* f, int64_t f_stride,
              int32_t layers, double* out, const grid& g, const box& b) {
  const double nxd = g.nx;
  const double nyd = g.ny;
  const int64_t ny = g.ny;
  int32_t last_i = 0;
  int32_t last_j = 0;
  bool located = false;
  for (int32_t p = 0; p < np; ++p) {
    const double x = xp[p];
    const double y = yp[p];
    if constexpr (V == variant::own_grid) {
      if (x < b.west || x > b.east || y < b.south || y > b.north) {
        out[p] = 0.0;
        continue;
      }
    }
    const double fx = (x - g.x0) / g.dx;
    const double fy = (y - g.y0) / g.dy;
    // int(fx) + 1 lies in 1..nx exactly when -1 < fx < nx (false for NaN,
    // tested before the conversion).
    if (!(fx > -1.0 && fx < nxd && fy > -1.0 && fy < nyd)) {
      for (int32_t l = 0; l < layers; ++l) out[int64_t{l} * np + p] = 0.0;
      continue;
    }
    const int32_t i1 = static_cast<int32_t>(fx) + 1;
    const int32_t j1 = static_cast<int32_t>(fy) + 1;
    const int32_t i2 = i1 + 1 == g.nx + 1 ? i1 : i1 + 1;
    const int32_t j2 = j1 + 1 == g.ny + 1 ? j1 : j1 + 1;
    double wx = (1 - i1) + fx;
    double wy = (1 - j1) + fy;
    if constexpr (V == variant::model_grid) {
      wx = single_rounded(wx);
      wy = single_rounded(wy);
    }
    const int64_t k11 = (i1 - 1) * ny + (j1 - 1);
    const int64_t k21 = (i2 - 1) * ny + (j1 - 1);
    const int64_t k12 = (i1 - 1) * ny + (j2 - 1);
    const int64_t k22 = (i2 - 1) * ny + (j2 - 1);
    for (int32_t l = 0; l < layers; ++l) {
      const double* fl = f + l * f_stride;
      const double f11 = fl[k11];
      const double f21 = fl[k21];
      const double f12 = fl[k12];
      const double f22 = fl[k22];
      const double d = f12 - f11;
      out[int64_t{l} * np + p] = (d + wx * (f22 - d - f21)) * wy + (f11 + wx * (f21 - f11));
    }
    last_i = i1;
    last_j = j1;
    located = true;
  }
  if (located) {
    var_mallas.x_int = last_i;
    var_mallas.y_int = last_j;
  }
}

// Checks the arrays of a call over np particles and `layers` layers of a
// field with first extent n, and runs the pass.  A grid without nodes
// locates nothing.
template <variant V>
void run(const char* routine, std::span<const double> xp, std::span<const double> yp,
         std::span<const double> field, int64_t n, int32_t layers, std::span<double> out,
         const grid& g, const box& b) {
  const int32_t np = var_run.particle_number;
  if (np < 1 || layers < 1) return;
  need(xp.size(), np, routine, "the longitude array");
  need(yp.size(), np, routine, "the latitude array");
  need(out.size(), int64_t{np} * layers, routine, "the result array");
  if (g.nx < 1 || g.ny < 1) {
    for (int64_t k = 0; k < int64_t{np} * layers; ++k) out[k] = 0.0;
    return;
  }
  const int64_t nodes = int64_t{g.nx} * g.ny;
  if (layers > 1) need(static_cast<std::size_t>(n > 0 ? n : 0), nodes, routine, "a layer of the node field");
  need(field.size(), (layers - 1) * n + nodes, routine, "the node field");
  bilinear<V>(xp.data(), yp.data(), np, field.data(), n, layers, out.data(), g, b);
}

}  // namespace

void interp_lineal(std::span<const double>, std::span<const double>, std::span<const double> xp,
                   std::span<const double> yp, int32_t, std::span<const double> field,
                   std::span<double> out) {
  const grid g{var_mallas.grid0_x, var_mallas.grid0_y,     var_mallas.deltax,
               var_mallas.deltay,  var_mallas.xcells_number, var_mallas.ycells_number};
  run<variant::model_grid>("interp_lineal", xp, yp, field, 0, 1, out, g, box{});
}

void interp_lineal_mr(std::span<const double>, std::span<const double>, std::span<const double> xp,
                      std::span<const double> yp, int32_t, std::span<const double> field,
                      std::span<double> out, double x0, double y0, double dx, double dy, int32_t nx,
                      int32_t ny) {
  const box b{var_mallas.loni, var_mallas.lons, var_mallas.lati, var_mallas.lats};
  run<variant::own_grid>("interp_lineal_mr", xp, yp, field, 0, 1, out, grid{x0, y0, dx, dy, nx, ny}, b);
}

void interp_lineal_mr_capas(std::span<const double>, std::span<const double>,
                            std::span<const double> xp, std::span<const double> yp, int32_t n,
                            std::span<const double> field, std::span<double> out, double x0,
                            double y0, double dx, double dy, int32_t nx, int32_t ny) {
  run<variant::layers>("interp_lineal_mr_capas", xp, yp, field, n, var_capas.numcapascorr, out,
                       grid{x0, y0, dx, dy, nx, ny}, box{});
}

}  // namespace orvel
