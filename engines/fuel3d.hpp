// The engine of a three-dimensional run of oil or of a floating object: the
// frame with the 3-D spill pass, its own set-up (placement over the release
// rectangle or on the disc at the end of a subsea blowout jet, droplet
// sizes, initial masses and properties), the activity by release type, the
// 3-D moves of every active spill, and the oil weathering sequence: the oil
// afloat weathers while the rest of the spill rises or lies on the sea floor
// with its mass unchanged, and joins the slick when it comes up; the
// sequence is suspended only while nothing is afloat or beached.  There is
// no spreading in three dimensions: a slick weathers over the release
// rectangle, which the pulses of a continuous release afloat share as one
// slick.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "engines/frame_3d.hpp"
#include "engines/oil_frame.hpp"

namespace orvel {

class fuel3d_engine : public frame_3d<oil_frame> {
 public:
  fuel3d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str);

  // Where the spill's particles are: some afloat (state 1) or beached (0);
  // some in the water column (5) or on the sea floor (-1).  The weathering
  // sequence is suspended while some are below and none up.
  struct oil_presence {
    bool up = false, below = false;
  };
  static oil_presence where_is_the_oil(int32_t spill);

 protected:
  void set_up() override;
  bool spill_active(int32_t spill, float t) override;
  void spill_chain(int32_t spill, float t) override;
  // The pulses of a continuous release afloat share its rectangle.
  void before_spill_passes(float t) override;
  void pass_velocities(int32_t spill) override;
  void series_record(int32_t spill, int32_t r) override;
  bool property_files_written() override;

 private:
  void weathering(int32_t spill);
  void take_in_surfaced_oil(int32_t spill, double surfaced);
  void record_compartment_rows(int32_t spill, int32_t r);
  void share_the_rectangle(float t);

  const farray<coast_polygon>& polygons_;
  // (spill) density of the droplets still below the surface: the spill's
  // when its weathering began, kg/m3.
  farray<double, 1> droplet_density_{"droplet_density"};
};

}  // namespace orvel
