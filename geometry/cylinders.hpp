// Solid circular cylinders in space, given by the centres P1 and P2 of their
// end disks and their radius R, and flat disks given by centre, radius and
// an axis of any nonzero length: distances to the surface (plain and
// signed, negative inside), containment, the nearest surface point, random
// points in the solid and the volume.
//
// A zero-length axis (P1 = P2) is the mark -largest double from the
// distance routines and from cylinder_point_near_3d (in all three
// coordinates), false from cylinder_point_inside_3d, and draws and writes
// nothing in cylinder_sample_3d.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// 0 when P = PC exactly, even for a zero axis.
void disk_point_dist_3d(const double* pc, double r, const double* axis, const double* p, double& dist);

void cylinder_point_dist_3d(const double* p1, const double* p2, double r, const double* p, double& distance);
void cylinder_point_dist_signed_3d(const double* p1, const double* p2, double r, const double* p, double& distance);
// The caps and the side count as inside.
void cylinder_point_inside_3d(const double* p1, const double* p2, double r, const double* p, bool& inside);
// Ties go to the side before the cap at P2, and to the choice made so far
// before the cap at P1; a point on the axis goes to the side along
// r8vec_any_normal of the axis.
void cylinder_point_near_3d(const double* p1, const double* p2, double r, const double* p, double* pn);
// N points uniform in the solid from RANDOM_NUMBER (seed it with
// random_initialize for a repeatable sample): all N radii are drawn first,
// then all angles, then all heights.  SEED is not used.
void cylinder_sample_3d(const double* p1, const double* p2, double r, int32_t n, int32_t& seed, double* p);
void cylinder_volume_3d(const double* p1, const double* p2, double r, double& volume);

}  // namespace orvel::geometry
