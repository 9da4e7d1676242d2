// Surface areas and volumes of spheres in any dimension, of caps in 2, 3 and
// N dimensions and of zones in 3 dimensions, with the stored reference
// values for the unit sphere and their row iterators.  In the plane the area
// is the length of the circle and the volume the area of the disk; a cap of
// height H is the part beyond the plane at distance R - H from the centre
// (H <= 0: empty, H >= 2R: the whole sphere).
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

double sphere_unit_area_nd(int32_t dim_num);
double sphere_unit_volume_nd(int32_t dim_num);
// The sphere factor, equal to the area of the unit sphere for dim_num >= 1.
double sphere_k(int32_t dim_num);
void sphere_imp_area_3d(double r, double& area);
void sphere_imp_volume_3d(double r, double& volume);
void sphere_imp_area_nd(int32_t dim_num, double r, double& area);
void sphere_imp_volume_nd(int32_t dim_num, double r, double& volume);
void sphere_cap_area_2d(double r, double h, double& area);
void sphere_cap_area_3d(double r, double h, double& area);
// -1 for dim_num < 1 when 0 < H < 2R.
void sphere_cap_area_nd(int32_t dim_num, double r, double h, double& area);
void sphere_cap_volume_2d(double r, double h, double& volume);
void sphere_cap_volume_3d(double r, double h, double& volume);
// -1 for dim_num < 1 when 0 < H < 2R.
void sphere_cap_volume_nd(int32_t dim_num, double r, double h, double& volume);
// The zone between the heights H1 and H2 above the bottom of the sphere.
void sphere_imp_zone_area_3d(double r, double h1, double h2, double& area);
void sphere_imp_zone_volume_3d(double r, double h1, double h2, double& volume);
// The next row of the stored table: start with k = 0 and call until k comes
// back 0 (dim_num and the value then 0).
void sphere_unit_area_values(int32_t& k, int32_t& dim_num, double& area);
void sphere_unit_volume_values(int32_t& k, int32_t& dim_num, double& volume);

}  // namespace orvel::geometry
