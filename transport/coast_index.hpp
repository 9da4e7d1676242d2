// Bucket grids over the coastline points and over the coast polygon edges,
// so that a coast search looks only at the points and edges near the
// particle instead of scanning the whole coast.
//
// The indexes are built once, after the coastline points (`var_costa`) and
// the coast polygons have been read and the model grid is known, by
// coast_index::build; the coast does not change afterwards.  The searches of
// coast.hpp use them whenever they were built for the coast arrays in use
// (same arrays, same counts), and fall back to the linear scans otherwise, so
// a missing build costs time but never changes a result.  Every search
// through an index returns exactly what the linear scan returns: the same
// point or crossing, the same distance, the same tie rules.
//
// Building allocates; a search allocates nothing.
#pragma once

#include <cstdint>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"

namespace orvel::coast_index {

// Builds the point index over `var_costa` (bucket size from the model grid's
// `deltax`, `deltay`) and, when polys is given, the edge index over its
// polygons.  Replaces any index built before.
void build(const farray<coast_polygon, 1>* polys);

// Forgets both indexes (the searches then scan linearly).
void release();

// True when the point index matches the coastline points in `var_costa`.
bool points_ready();
// True when the edge index was built from this polygon array.
bool edges_ready(const farray<coast_polygon, 1>& polys);

// The searches through the indexes, with the contracts of buscacosta,
// buscacosta_radar and busca_costa_interseccion_str (coast.hpp).  They need
// a finite query and a ready index.
bool nearest(double x, double y, double& xo, double& yo, int32_t& k, double& dist);
bool nearest_radar(double x, double y, double& xo, double& yo, double& dist);
void crossing(double x1, double y1, double x2, double y2, double& xo, double& yo, int32_t& state,
              int32_t& num);

}  // namespace orvel::coast_index
