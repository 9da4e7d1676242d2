// Placement of the particles of every spill at the start of a simulation:
// uniformly over a rectangle around the spill point, or over a disc whose
// area is the initial slick area of spreading oil.
#pragma once

#include <cstdint>

#include "transport/grid_cell.hpp"

namespace orvel {

// Rectangle placement of every spill.  Seeds the random generator with 0,
// allocates indp, draws two numbers per particle (x, then y), gives every
// particle its first state and tests it against the bathymetry or the current
// mask, and sets the centre of mass.  In the first simulation (sim = 1) it also
// converts in place the start time to seconds, the spill longitude to degrees
// + 360 and the rectangle sides to degrees.
void part_ini_2d(int32_t sim);

// Disc placement of every spill (oil with spreading, after area_oil is set).
// As part_ini_2d, with radius sqrt(area_oil / pi) and a uniform angle and
// radius; allocates diam_part as well.  In the first simulation it converts
// only the spill longitude (the start time is already in seconds).
void part_ini_2d_circle(int32_t sim);

// The test that a placement makes of each placed particle against the ground
// under it: none, the depth of the model cell, or the wet/dry or radar mask of
// the current grid.  Which one applies depends on the current grid and the
// land-search mode; the disc rules test a wet/dry mask in land-search mode 2
// whatever the format of the current files, the rectangle rules only when they
// are node lists.
enum class ground_test { none, depth, mask };
ground_test ground_test_of(bool disc_rules);

// The U-current grid located from the U nodes (listed with latitude varying
// fastest): origin at node 1, latitude spacing between nodes 1 and 2,
// longitude spacing the first non-zero step between successive nodes.
// `located` is false when the nodes give no such grid (fewer than two nodes,
// or no non-zero longitude step up to the last node).
struct mask_frame {
  double x0 = 0.0, y0 = 0.0, dx = 0.0, dy = 0.0;
  bool located = false;
};
// How the node coordinates enter: all in double precision; the spacings
// from the coordinates rounded to single precision (origin in double); or
// origin and spacings all from the rounded coordinates.
enum class node_precision { double_nodes, single_spacings, single_nodes };
mask_frame locate_mask_frame(node_precision precision);

// The value of the land mask (land_mask()) in the cell under (x, y); false
// when the frame is not located, no mask is held or the cell lies outside it.
bool mask_at(const mask_frame& frame, double x, double y, int32_t& value);

// East and north offsets, in degrees rounded to single precision, of one
// particle drawn in a disc of `radius` metres: two draws, the angle and then
// the radius, the radius uniform (so half the particles lie within half of
// it).  mx and my are the metres per degree of longitude and latitude.
void disc_offset(float radius, double mx, double my, float& east, float& north);

// The test of each placed particle against the ground under it: the
// bathymetry (a particle at the surface over land is beached; with the disc
// rules a column particle at or below the bottom lies on the sea floor, at the
// floor's depth where the cell holds water) or the
// wet/dry or radar mask of the current grid (a dry or uncovered cell puts the
// particle over land).  Which test applies depends on the current grid and the
// land-search mode.  A position outside the grid of the test is not tested; a
// release point outside it is reported on standard error.
// A particle placed outside the domain box is never moved: in the sea (at
// the surface, in the column or on the floor) it is lost from the start
// (state -2), counted in the outside compartment, and nothing weathers it.
// True when it was.
bool lose_if_placed_outside(const domain_box& box, int32_t particle, int32_t spill);

class release_test {
 public:
  enum class rules { rectangle, disc };  // the disc rules also serve the blowout placement
  explicit release_test(rules r);
  // Reports, once per spill, a release point that the test cannot see.
  void check_release_point(int32_t spill, double x, double y) const;
  // Tests particle `particle` of `spill` and updates par_beached, par_floor.
  // A particle placed outside the domain box is lost first
  // (lose_if_placed_outside).
  void apply(int32_t particle, int32_t spill) const;

 private:
  domain_box box_;
  rules rules_;
  ground_test kind_ = ground_test::none;
  mask_frame frame_;
};

}  // namespace orvel
