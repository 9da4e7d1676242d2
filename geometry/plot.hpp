// The point-set plot file: a one-page Encapsulated PostScript picture of
// points of the plane, a blue dot at each and, on request, its number.
#pragma once

#include <cstdint>
#include <string_view>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Writes FILE_NAME (replacing a file of that name) with the NODE_NUM points
// NODE_XY(2, NODE_NUM).  The data window is the points' bounding box widened
// by 5 % each way and fitted into a 540-point square with its aspect kept;
// a window of zero width (or height) takes the other extent (1 when both are
// 0) centred on the points.  No free unit, or a file that cannot be created,
// ends the run with "POINTS_PLOT - Fatal error!" and writes nothing.
void points_plot(std::string_view file_name, int32_t node_num, const double* node_xy, bool node_label);

}  // namespace orvel::geometry
