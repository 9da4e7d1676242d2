// The geography read at start-up: the model grid with its bathymetry and the
// concentration grid, the current layers, the coastline points and the coast
// polygons.  Every reader fails with an input_error naming the file (and the
// line) when the file is missing or does not hold what it should; no reader
// ever creates a file.
#pragma once

#include <cstdint>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel {

// Model grid and bathymetry (var_mallas) from `gridname`, and the
// concentration grid (var_mallasconc), its own or the model grid's.  Needs
// the scenario's grid records, `datafolder__same_other` and `outputconcs__y_n`.
//
// Node-list files hold one node per line (longitude, latitude, depth), in
// complete columns of equal longitude from west to east, each column from
// south to north, with at least 2 nodes along each axis; lines after the last
// complete column are ignored.  Regular files hold the depth rows, the
// northernmost first.
void leo_bat();

// Kept for the concentration grid; it does nothing (leo_bat reads that grid).
void leo_batconc();

// Current layers (var_capas) from "currents_layerDepths.pre" in the working
// directory: a header line, then a layer number and a depth per line, at
// least one layer, depths strictly increasing.
void leo_capas();

// Coastline points (var_costa) from the data folder's "costa.dat": longitude
// and latitude per line, and a stick index when the scenario asks for one.
// Only points inside the model grid's box are kept, in file order.  An empty
// file gives no points.
void leo_costa();

// Coast polygon j from the data folder's "costa_poligono<j>.dat", for
// j = 1 .. coast_polygonnumber, into polys(j); longitude and latitude per
// line, every point kept.
void lee_poligonos(farray<coast_polygon>& polys);

// Where (x0, y0) lies with respect to the polygon x(1..n), y(1..n) (a last
// point equal to the first is ignored): l = -1 outside, 0 on the polygon,
// 1 inside; m = the signed winding number when inside, else 0.
void locpt(double x0, double y0, const farray<double>& x, const farray<double>& y, int32_t n, int32_t& l, int32_t& m);

}  // namespace orvel
