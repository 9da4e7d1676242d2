// Placement of the particles of every spill at the start of a simulation:
// uniformly over a rectangle around the spill point, or over a disc whose
// area is the initial slick area of spreading oil.
#pragma once

#include <cstdint>

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

// The test of each placed particle against the ground under it: the
// bathymetry (a particle at the surface over land is beached; with the disc
// rules a column particle at or below the bottom lies on the sea floor) or the
// wet/dry or radar mask of the current grid (a dry or uncovered cell puts the
// particle over land).  Which test applies depends on the current grid and the
// land-search mode.  A position outside the grid of the test is not tested; a
// release point outside it is reported on standard error.
class release_test {
 public:
  enum class rules { rectangle, disc };  // the disc rules also serve the blowout placement
  explicit release_test(rules r);
  // Reports, once per spill, a release point that the test cannot see.
  void check_release_point(int32_t spill, double x, double y) const;
  // Tests particle `particle` of `spill` and updates par_beached, par_floor.
  void apply(int32_t particle, int32_t spill) const;

 private:
  enum class kind { none, depth, mask };
  bool mask_cell(double x, double y, int32_t& value) const;
  rules rules_;
  kind kind_ = kind::none;
  bool mask_grid_ = false;  // the mask grid could be located from the U nodes
  double mask_x0_ = 0.0, mask_y0_ = 0.0, mask_dx_ = 0.0, mask_dy_ = 0.0;
};

}  // namespace orvel
