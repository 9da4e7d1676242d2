// Current field records read from the files named in the current lists.
#pragma once

#include <cstdint>

namespace orvel {

// Reads current record i (1-based) of every layer into u_curr_read,
// v_curr_read (and w_curr_read when the files carry a vertical current),
// with the node coordinates; on a time-varying grid also indland and mask
// (allocated at the first mask read); in a 3-D run with depth-averaged
// input the next line of the depth-mean series; corrections added to
// layer 1 when switched on.
void lee_velocidad(int32_t i);

// Reads current record i of every layer into the start-of-interval fields
// u0, v0 (and w0 when the separate W files carry a vertical current),
// indland0 and mask0 (allocated at the first mask read), corrections added
// to layer 1; the joint files and the depth-mean series are not read.
void lee_velocidad0(int32_t i);

// Not used: reads nothing.
void lee_corrientes_hd();

// Closes the depth-mean current series "lstcurr_UVW_col.pre", the one input
// kept open between calls; the next read opens it again at its first line.
void close_depth_mean_series();

}  // namespace orvel
