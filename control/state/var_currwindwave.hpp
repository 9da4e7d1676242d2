// Wind and wave fields at their nodes and two time levels, the uniform forcing
// series, the forcing at the particles of the spill being moved, the advection
// velocities and the wave-breaking scalars.  A name ending in 0 holds the
// start of the record interval, one ending in _t1 the end value at the
// particles; directions are degrees clockwise from north.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_currwindwave_block {
  farray<double, 1> windx{"windx"};    // (wind node) eastward wind of the latest record, m/s
  farray<double, 1> windy{"windy"};    // (wind node) northward wind of the latest record, m/s
  farray<double, 1> windx0{"windx0"};  // (wind node) eastward wind at the start of the interval, m/s
  farray<double, 1> windy0{"windy0"};  // (wind node) northward wind at the start of the interval, m/s
  farray<double, 1> xv{"xv"};          // (wind node) wind node longitude, deg + 360
  farray<double, 1> yv{"yv"};          // (wind node) wind node latitude, deg
  farray<double, 2> uwg{"uwg"};        // (wind grid) latest U wind grid file, m/s
  farray<double, 2> vwg{"vwg"};        // (wind grid) latest V wind grid file, m/s
  farray<double, 2> uwg0{"uwg0"};      // (wind grid) start-of-interval U wind grid file, m/s
  farray<double, 2> vwg0{"vwg0"};      // (wind grid) start-of-interval V wind grid file, m/s
  farray<double, 1> hwavex{"hwavex"};    // (wave node) Hs * sin(direction) of the latest record, m
  farray<double, 1> hwavey{"hwavey"};    // (wave node) Hs * cos(direction) of the latest record, m
  farray<double, 1> twave{"twave"};      // (wave node) wave period of the latest record, s (at least 2.5)
  farray<double, 1> hwavex0{"hwavex0"};  // (wave node) Hs * sin(direction) at the start of the interval, m
  farray<double, 1> hwavey0{"hwavey0"};  // (wave node) Hs * cos(direction) at the start of the interval, m
  farray<double, 1> twave0{"twave0"};    // (wave node) wave period at the start of the interval, s
  farray<double, 1> xh{"xh"};            // (wave node) wave node longitude, deg + 360
  farray<double, 1> yh{"yh"};            // (wave node) wave node latitude, deg
  farray<double, 2> hsg{"hsg"};          // (waves grid) latest Hs grid file, m
  farray<double, 2> tetahg{"tetahg"};    // (waves grid) latest wave direction grid file, deg
  farray<double, 2> t_g{"t_g"};          // (waves grid) latest wave period grid file, s
  farray<double, 2> hsg0{"hsg0"};        // (waves grid) start-of-interval Hs grid file, m
  farray<double, 2> tetahg0{"tetahg0"};  // (waves grid) start-of-interval wave direction grid file, deg
  farray<double, 2> t_g0{"t_g0"};        // (waves grid) start-of-interval wave period grid file, s
  farray<double, 1> windc{"windc"};      // (wind line) uniform wind series: speed, m/s
  farray<double, 1> angw{"angw"};        // (wind line) uniform wind series: direction it comes from, deg
  farray<double, 1> hwavec{"hwavec"};    // (wave line) uniform wave series: height, m
  farray<double, 1> angc{"angc"};        // (wave line) uniform wave series: direction they come from, deg
  farray<double, 1> twavec{"twavec"};    // (wave line) uniform wave series: period, s (at least 2.5)
  farray<double, 1> velcu{"velcu"};      // (current line) 2-D uniform current series: speed, m/s
  farray<double, 1> angcu{"angcu"};      // (current line) 2-D uniform current series: direction, deg
  farray<double, 1> velcusup{"velcusup"};  // (current line) 3-D uniform series: surface current speed, m/s
  farray<double, 1> angcusup{"angcusup"};  // (current line) 3-D uniform series: surface current direction, deg
  farray<double, 1> velcucol{"velcucol"};  // (current line) 3-D uniform series: water-column current speed, m/s
  farray<double, 1> angcucol{"angcucol"};  // (current line) 3-D uniform series: water-column current direction, deg
  farray<double, 1> wintx{"wintx"};        // (particle) eastward wind at the particles, m/s
  farray<double, 1> winty{"winty"};        // (particle) northward wind at the particles, m/s
  farray<double, 1> wintx0{"wintx0"};      // (particle) uniform-series eastward wind at the start of the interval, m/s
  farray<double, 1> winty0{"winty0"};      // (particle) uniform-series northward wind at the start of the interval, m/s
  farray<double, 1> wintx_t1{"wintx_t1"};  // (particle) uniform-series eastward wind at the end of the interval, m/s
  farray<double, 1> winty_t1{"winty_t1"};  // (particle) uniform-series northward wind at the end of the interval, m/s
  farray<double, 2> hintx{"hintx"};        // (particle, 3) eastward wave-height component at the particles, m (column 1 used)
  farray<double, 2> hinty{"hinty"};        // (particle, 3) northward wave-height component at the particles, m (column 1 used)
  farray<double, 2> tint{"tint"};          // (particle, 3) wave period at the particles, s (column 1 used)
  farray<double, 2> hintx0{"hintx0"};      // (particle, 3) uniform-series eastward wave height, start of the interval, m
  farray<double, 2> hinty0{"hinty0"};      // (particle, 3) uniform-series northward wave height, start of the interval, m
  farray<double, 2> tint0{"tint0"};        // (particle, 3) uniform-series wave period, start of the interval, s
  farray<double, 2> hintx_t1{"hintx_t1"};  // (particle, 3) uniform-series eastward wave height, end of the interval, m
  farray<double, 2> hinty_t1{"hinty_t1"};  // (particle, 3) uniform-series northward wave height, end of the interval, m
  farray<double, 2> tint_t1{"tint_t1"};    // (particle, 3) uniform-series wave period, end of the interval, s
  farray<double, 1> u_curr_int{"u_curr_int"};  // (particle) eastward current at the particles, m/s
  farray<double, 1> v_curr_int{"v_curr_int"};  // (particle) northward current at the particles, m/s
  farray<double, 1> w_curr_int{"w_curr_int"};  // (particle) vertical current at the particles (3-D), m/s
  farray<double, 1> u_curr_intsup{"u_curr_intsup"};  // (particle) 3-D uniform series: eastward surface current, m/s
  farray<double, 1> v_curr_intsup{"v_curr_intsup"};  // (particle) 3-D uniform series: northward surface current, m/s
  farray<double, 1> u_curr_intcol{"u_curr_intcol"};  // (particle) 3-D uniform series: eastward water-column current, m/s
  farray<double, 1> v_curr_intcol{"v_curr_intcol"};  // (particle) 3-D uniform series: northward water-column current, m/s
  farray<double, 1> vuint0{"vuint0"};      // (particle) 2-D uniform eastward current, start of the interval, m/s
  farray<double, 1> vvint0{"vvint0"};      // (particle) 2-D uniform northward current, start of the interval, m/s
  farray<double, 1> vuint_t1{"vuint_t1"};  // (particle) 2-D uniform eastward current, end of the interval, m/s
  farray<double, 1> vvint_t1{"vvint_t1"};  // (particle) 2-D uniform northward current, end of the interval, m/s
  farray<double, 2> u_int_xypart{"u_int_xypart"};  // (particle, layer) eastward current of every layer at the particle, m/s
  farray<double, 2> v_int_xypart{"v_int_xypart"};  // (particle, layer) northward current of every layer at the particle, m/s
  farray<double, 2> w_int_xypart{"w_int_xypart"};  // (particle, layer) vertical current of every layer at the particle, m/s
  farray<double, 2> uadv{"uadv"};          // (particle, spill) eastward advection velocity, deg/s
  farray<double, 2> vadv{"vadv"};          // (particle, spill) northward advection velocity, deg/s
  farray<double, 2> wadv{"wadv"};          // (particle, spill) vertical advection velocity, m / factor per s, positive down
  farray<double, 2> uadv_viento_oleaje{"uadv_viento_oleaje"};  // (particle, spill) wind and wave part of uadv, deg/s
  farray<double, 2> vadv_viento_oleaje{"vadv_viento_oleaje"};  // (particle, spill) wind and wave part of vadv, deg/s
  farray<double, 2> uadv_corrientes{"uadv_corrientes"};        // (particle, spill) current part of uadv (3-D), deg/s
  farray<double, 2> vadv_corrientes{"vadv_corrientes"};        // (particle, spill) current part of vadv (3-D), deg/s
  farray<double, 2> wadv_corrientes_y_float{"wadv_corrientes_y_float"};  // (particle, spill) vertical current + buoyancy, m / factor per s
  farray<double, 1> uwind{"uwind"};        // (spill) mean wind speed over the spill's particles, m/s
  farray<double, 1> wind10{"wind10"};      // (spill) mean wind speed used by the weathering routines, m/s
  farray<double, 1> currmean{"currmean"};  // (spill) mean advection speed of the spill's particles, deg/s
  int32_t wcurrentsflag = 0;               // 1 = the current input carries a vertical current, 0 = none

  // Scalars set and used within one call.
  double hs = 0.0;              // wave reader buffer: significant wave height, m
  double t = 0.0;               // wave reader buffer: wave period, s
  double tetah = 0.0;           // wave reader buffer: wave direction, deg
  double fracsurfacehit = 0.0;  // fraction of the surface hit by breaking waves per second
  double dbwe = 0.0;            // dissipated breaking-wave energy
  double ts = 0.0;              // wave period used for natural dispersion, s
  double hbreak = 0.0;          // breaking-wave height, m
};
// The one instance, defined in control/state/instances.cpp.
extern var_currwindwave_block var_currwindwave;

}  // namespace orvel
