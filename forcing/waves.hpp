// Wave forcing: field records named in the wave lists and the uniform wave
// series "lstwaves.pre".
#pragma once

#include <cstdint>

namespace orvel {

// Reads wave record i into hwavex, hwavey, twave (Hs times the sine and
// cosine of the direction read, and the period raised to at least 2.5 s) at
// the nodes xh, yh; on a grid the node coordinates are built for record 1
// only.
void lee_ola(int32_t i);

// The same into the start-of-interval fields hwavex0, hwavey0, twave0; on a
// grid the node coordinates are built at every call.
void lee_ola0(int32_t i);

// Reads the whole uniform wave series into hwavec, angc and twavec (period
// raised to at least 2.5 s).
void lee_olacte();

}  // namespace orvel
