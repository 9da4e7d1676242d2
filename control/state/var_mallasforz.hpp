// Geometry of the regular forcing grids: south-west node, spacing and node
// counts.  Node (ix, iy) lies at (x0 + (ix - 1) * dx, y0 + (iy - 1) * dy) and
// has index (ix - 1) * ycells + iy.
#pragma once

#include <cstdint>

namespace orvel {

struct var_mallasforz_block {
  double gridformatcurru_0x = 0.0;      // U-current grid: south-west node longitude, deg + 360
  double gridformatcurru_0y = 0.0;      // U-current grid: south-west node latitude, deg
  double gridformatcurru_deltax = 0.0;  // U-current grid: spacing in longitude, deg
  double gridformatcurru_deltay = 0.0;  // U-current grid: spacing in latitude, deg
  int32_t gridformatcurru_xcells = 0;   // U-current grid: nodes along longitude
  int32_t gridformatcurru_ycells = 0;   // U-current grid: nodes along latitude
  double gridformatcurrv_0x = 0.0;      // V-current grid: south-west node longitude, deg + 360
  double gridformatcurrv_0y = 0.0;      // V-current grid: south-west node latitude, deg
  double gridformatcurrv_deltax = 0.0;  // V-current grid: spacing in longitude, deg
  double gridformatcurrv_deltay = 0.0;  // V-current grid: spacing in latitude, deg
  int32_t gridformatcurrv_xcells = 0;   // V-current grid: nodes along longitude
  int32_t gridformatcurrv_ycells = 0;   // V-current grid: nodes along latitude
  double gridformatwind_0x = 0.0;       // wind grid: south-west node longitude, deg + 360
  double gridformatwind_0y = 0.0;       // wind grid: south-west node latitude, deg
  double gridformatwind_deltax = 0.0;   // wind grid: spacing in longitude, deg
  double gridformatwind_deltay = 0.0;   // wind grid: spacing in latitude, deg
  int32_t gridformatwind_xcells = 0;    // wind grid: nodes along longitude
  int32_t gridformatwind_ycells = 0;    // wind grid: nodes along latitude
  double gridformatwaves_0x = 0.0;      // wave grid: south-west node longitude, deg + 360
  double gridformatwaves_0y = 0.0;      // wave grid: south-west node latitude, deg
  double gridformatwaves_deltax = 0.0;  // wave grid: spacing in longitude, deg
  double gridformatwaves_deltay = 0.0;  // wave grid: spacing in latitude, deg
  int32_t gridformatwaves_xcells = 0;   // wave grid: nodes along longitude
  int32_t gridformatwaves_ycells = 0;   // wave grid: nodes along latitude
  double orix_cw = 0.0;                 // vertical-current grid: south-west node longitude, deg + 360
  double oriy_cw = 0.0;                 // vertical-current grid: south-west node latitude, deg
  double deltax_cw = 0.0;               // vertical-current grid: spacing in longitude, deg
  double deltay_cw = 0.0;               // vertical-current grid: spacing in latitude, deg
  int32_t celdax_cw = 0;                // vertical-current grid: nodes along longitude
  int32_t celday_cw = 0;                // vertical-current grid: nodes along latitude
};
// The one instance, defined in control/state/instances.cpp.
extern var_mallasforz_block var_mallasforz;

}  // namespace orvel
