// Runge-Kutta stage increments (fourth-order method only).  Displacements are
// advection velocity * deltat, deg, combined as 1/6, 1/3, 1/3, 1/6.
#pragma once

#include "common/farray.hpp"

namespace orvel {

struct var_rk_block {
  // fx, fy are left unallocated: each stage writes its increments once,
  // into its own arrays below.
  farray<double, 2> fx{"fx"};    // (particle, spill) eastward displacement of the current stage, deg
  farray<double, 2> fy{"fy"};    // (particle, spill) northward displacement of the current stage, deg
  farray<double, 2> fx1{"fx1"};  // (particle, spill) eastward displacement of stage 1, deg
  farray<double, 2> fx2{"fx2"};  // (particle, spill) eastward displacement of stage 2, deg
  farray<double, 2> fx3{"fx3"};  // (particle, spill) eastward displacement of stage 3, deg
  farray<double, 2> fx4{"fx4"};  // (particle, spill) eastward displacement of stage 4, deg
  farray<double, 2> fy1{"fy1"};  // (particle, spill) northward displacement of stage 1, deg
  farray<double, 2> fy2{"fy2"};  // (particle, spill) northward displacement of stage 2, deg
  farray<double, 2> fy3{"fy3"};  // (particle, spill) northward displacement of stage 3, deg
  farray<double, 2> fy4{"fy4"};  // (particle, spill) northward displacement of stage 4, deg
  float k_vtmed = 0.0f;          // stage time as a fraction of the current-record interval (blend weight)
};
// The one instance, defined in control/state/instances.cpp.
extern var_rk_block var_rk;

}  // namespace orvel
