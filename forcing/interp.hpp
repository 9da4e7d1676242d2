// Forcing at the particles of one spill: bilinear interpolation of a field
// held at the nodes of a regular grid, and the two-point rule in depth.
//
// A node field holds one value per node, latitude fastest: node (i, j), i
// the column along longitude (1..nx) and j the row along latitude (1..ny),
// is element (i - 1)*ny + j.  A position lies in cell column int(fx) + 1 and
// row int(fy) + 1 with fx = (x - x0)/dx, fy = (y - y0)/dy, truncated toward
// zero, so the strip up to one cell west of (south of) the origin belongs
// to the first column (row) and is extrapolated from it, and the strip up to
// one cell east of (north of) the last column (row) takes the values of that
// column (row).  A position whose cell is outside the grid (or that is not a
// number) gets 0 and no node is read.
//
// The particle count is `particle_number`; the position arrays hold at least
// that many values, and so does a result array (only its first
// `particle_number` values are written: a wider array, such as a wave array
// with three columns or a layered array, receives its first column).  A
// column j of a (particle, spill) array is passed as
// std::span(a.ptr(1, j), particle_number).  The node-coordinate arguments
// and node counts marked "not read" keep the engines' calling sequence.
// Array sizes shorter than the call needs throw std::length_error.
#pragma once

#include <cstdint>
#include <span>

namespace orvel {

// Bilinear interpolation of a field laid on the model grid of `var_mallas`
// (grid0_x, grid0_y, deltax, deltay, xcells_number, ycells_number).  The two
// cell offsets are rounded to single precision before they weigh the nodes.
void interp_lineal(std::span<const double> xnodes, std::span<const double> ynodes,
                   std::span<const double> xp, std::span<const double> yp, int32_t n,
                   std::span<const double> field, std::span<double> out);

// Bilinear interpolation of a field laid on the regular grid (x0, y0, dx,
// dy, nx, ny), in double precision.  A position outside the model domain
// box loni..lons, lati..lats of `var_mallas` (the limits are inside) gets 0.
void interp_lineal_mr(std::span<const double> xnodes, std::span<const double> ynodes,
                      std::span<const double> xp, std::span<const double> yp, int32_t n,
                      std::span<const double> field, std::span<double> out, double x0, double y0,
                      double dx, double dy, int32_t nx, int32_t ny);

// interp_lineal_mr for layers 1..numcapascorr of `var_capas` at once, with
// the same cell and weights for every layer and no domain-box test.  Layer
// l of node k is field((l - 1)*n + k) (n = the field's first extent); layer
// l of particle p goes to out((l - 1)*particle_number + p).
void interp_lineal_mr_capas(std::span<const double> xnodes, std::span<const double> ynodes,
                            std::span<const double> xp, std::span<const double> yp, int32_t n,
                            std::span<const double> field, std::span<double> out, double x0,
                            double y0, double dx, double dy, int32_t nx, int32_t ny);

// Value at x on the line through (x1, y1) and (x2, y2), extrapolated outside
// [x1, x2].  With x1 = x2 (two layers at one depth) it is y2: the engines
// pass the upper layer's depth and value as x2, y2.
inline void interp_lin_1d(double x, double& result, double x1, double x2, double y1, double y2) {
  if (x2 == x1) {
    result = y2;
    return;
  }
  result = y1 + ((y2 - y1) * (x - x1)) / (x2 - x1);
}

}  // namespace orvel
