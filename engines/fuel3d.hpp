// The engine of a three-dimensional run of oil or of a floating object: the
// frame with the 3-D spill pass, its own set-up (placement over the release
// rectangle or on the disc at the end of a subsea blowout jet, droplet
// sizes, initial masses and properties), the activity by release type, the
// 3-D moves of every active spill, and the oil weathering sequence, which is
// suspended while any particle of the spill is in the water column or on
// the sea floor.  There is no spreading in three dimensions.
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

  // True when the weathering sequence of the spill is suspended: one of its
  // particles is in the water column (state 5) or on the sea floor (-1).
  static bool below_surface(int32_t spill);

 protected:
  void set_up() override;
  bool spill_active(int32_t spill, float t) override;
  void spill_chain(int32_t spill, float t) override;
  void series_record(int32_t spill, int32_t r) override;
  bool property_files_written() override;

 private:
  void weathering(int32_t spill);
  void record_compartment_rows(int32_t spill, int32_t r);

  const farray<coast_polygon>& polygons_;
};

}  // namespace orvel
