// Wind forcing: field records named in the wind lists and the uniform wind
// series "lstwinds.pre".
#pragma once

#include <cstdint>

namespace orvel {

// Reads wind record i into windx, windy at the nodes xv, yv, as read; on a
// grid the node coordinates are built for record 1 only.
void lee_viento(int32_t i);

// The same into the start-of-interval fields windx0, windy0.
void lee_viento0(int32_t i);

// Reads the whole uniform wind series into windc and angw, as read.
void lee_vientocte();

}  // namespace orvel
