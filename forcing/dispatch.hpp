// Between the engines and the forcing readers: loading the record of one
// forcing kind (1 currents, 2 waves, 3 wind) from field files or from a
// uniform series, and the geometry of a regular forcing grid given as a
// node list.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// Loads the record that i_vel, i_ola or i_viento points at into the fields
// in use: lee_velocidad, lee_ola, lee_viento for field files (type option
// 1), otherwise the whole series and then vel_part, ola_part, viento_part.
// Any other kind does nothing.
void lee_forcings(int32_t kind);

// The first load of a kind blended in time: the start-of-interval record
// and, for waves and wind, the index advanced once (held at the record
// count) and the end-of-interval record.  Currents load only the start of
// the interval and keep i_vel.  Any other kind does nothing.
void lee_forcings_interp(int32_t kind);

// Origin, spacing and node counts of a regular grid whose n nodes (x =
// longitude + 360, y = latitude) go column by column, latitude fastest: ny
// is the length of the first column (the first change of longitude), nx =
// n div ny.  A node list of one column keeps the incoming dx and ny (ny = n
// when the incoming ny is below 1) and dy (n below 2); n below 1 changes
// nothing.
void mallas_forzamientos(const farray<double, 1>& x, const farray<double, 1>& y, int32_t n, double& x0,
                         double& y0, double& dx, double& dy, int32_t& nx, int32_t& ny);

// Not used.  Prepends to a uniform series in the working directory (kind 1
// waves "lstwaves.pre", 2 wind "lstwinds.pre", 3 currents "lstcurr.pre")
// one line of zeros per whole record interval before the earliest spill
// start, rewriting the file through a temporary file, and adds their count
// to the series length.  Nothing happens when the first spill starts in
// hour 0 or the record interval is not positive.
void lee_listatablas(int32_t kind);

}  // namespace orvel
