// Current fields as read (by node and layer), their corrections and node
// coordinates, the wet/dry or radar masks and the per-step diffusivities.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var2_block {
  farray<double, 2> u_curr_read{"u_curr_read"};  // (U node, layer) eastward current of the latest record, correction included, m/s
  farray<double, 2> v_curr_read{"v_curr_read"};  // (V node, layer) northward current of the latest record, correction included, m/s
  farray<double, 2> w_curr_read{"w_curr_read"};  // (W node, layer) vertical current of the latest record, m/s
  farray<double, 2> u0{"u0"};                    // (U node, layer) eastward current at the start of the interval, correction included, m/s
  farray<double, 2> v0{"v0"};                    // (V node, layer) northward current at the start of the interval, correction included, m/s
  farray<double, 2> w0{"w0"};                    // (W node, layer) vertical current at the start of the interval, m/s
  farray<double, 1> u_curr_read_colprom{"u_curr_read_colprom"};  // (layer) depth-mean eastward current of the record, m/s (element 1 used)
  farray<double, 1> v_curr_read_colprom{"v_curr_read_colprom"};  // (layer) depth-mean northward current of the record, m/s (element 1 used)
  farray<double, 2> ug{"ug"};                    // (U grid) latest U grid file, m/s
  farray<double, 2> vg{"vg"};                    // (V grid) latest V grid file, m/s
  farray<double, 2> ug0{"ug0"};                  // (U grid) start-of-interval U grid file, m/s
  farray<double, 2> vg0{"vg0"};                  // (V grid) start-of-interval V grid file, m/s
  farray<double, 1> ucp{"ucp"};                  // (U node) additive correction of the eastward current, m/s
  farray<double, 1> vcp{"vcp"};                  // (V node) additive correction of the northward current, m/s
  farray<double, 2> ucpg{"ucpg"};                // (U grid) gridded U correction file, m/s
  farray<double, 2> vcpg{"vcpg"};                // (V grid) gridded V correction file, m/s
  farray<double, 1> xcorr_u{"xcorr_u"};          // (U node) U node longitude (also the nodes of joint files), deg + 360
  farray<double, 1> ycorr_u{"ycorr_u"};          // (U node) U node latitude, deg
  farray<double, 1> xcorr_v{"xcorr_v"};          // (V node) V node longitude, deg + 360
  farray<double, 1> ycorr_v{"ycorr_v"};          // (V node) V node latitude, deg
  farray<double, 1> xcorr_w{"xcorr_w"};          // (W node) W node longitude, deg + 360
  farray<double, 1> ycorr_w{"ycorr_w"};          // (W node) W node latitude, deg
  farray<int32_t, 1> indland{"indland"};         // (U node) latest record: 1 wet or covered, 0 dry or not covered
  farray<int32_t, 1> indland0{"indland0"};       // (U node) the same for the first record read
  farray<int32_t, 2> mask{"mask"};               // (U grid) wet/dry or radar mask of the latest record
  farray<int32_t, 2> mask0{"mask0"};             // (U grid) wet/dry or radar mask at the start of the interval
  farray<double, 1> dxx{"dxx"};                  // (particle) horizontal diffusivity along x of the spill being moved, deg2/s
  farray<double, 1> dyy{"dyy"};                  // (particle) horizontal diffusivity along y of the spill being moved, deg2/s
  farray<double, 1> dzz{"dzz"};                  // (particle) vertical diffusivity, (m / factor)2/s
  double coef_r = 0.0;                           // spreading coefficient r of the spill being moved
  double coef_q = 0.0;                           // spreading coefficient q of the spill being moved
};
// The one instance, defined in control/state/instances.cpp.
extern var2_block var2;

}  // namespace orvel
