// The engine of a three-dimensional run of a chemical (HNS): the HNS layer
// of the frame with the 3-D spill pass, its own set-up (behaviour classes;
// placement at the surface, at depth or at the end of a subsea blowout jet;
// droplet sizes, masses and process switches), the choice between the
// spreading path and the dispersed path of every active spill and step, the
// re-sum of the compartments from the particles' droplets, the fate
// sequence, and its own records of the property series.
//
// A release that gets no first slick thickness (at depth, or from a blowout)
// starts at thickness 0 and so takes the dispersed path from its first step;
// a blowout's slick area is the disc at the end of the jet.  The floating
// particles form the spill's slick; floating mass that appears while the
// spill has no slick (droplets coming up) forms one at its minimum
// thickness.  The pulses of a continuous release afloat at a time are one
// slick: they evaporate, dissolve and are entrained over shares of its area
// in proportion to their floating mass, with the transfer coefficients of
// the whole slick.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "engines/frame_3d.hpp"
#include "engines/hns_frame.hpp"

namespace orvel {

class hns3d_engine : public frame_3d<hns_frame> {
 public:
  hns3d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str);

  enum class path { spreading, dispersed, none };
  // The path of an active spill in this step, from its thickness and the
  // counts of its last pass: spreading while spreading is on and the slick
  // is thicker than its minimum and free of beached and paused particles;
  // dispersed when spreading is off or one of the others fails; neither
  // (not moved, not weathered) with a spreading switch other than 0 and 1.
  static path path_of(int32_t spill);

 protected:
  // The frame's HNS arrays, the air and dissolved-column compartments, the
  // start times of the surface placement and, for a blowout, the jet-disc
  // area of the placement.
  void allocate_engine_arrays() override;
  void set_up() override;
  void spill_chain(int32_t spill, float t) override;
  // concentracion.
  void grid_statistics(int32_t spill, int32_t stamp) override;
  void series_record(int32_t spill, int32_t r) override;
  // The pulses of a continuous release afloat are one slick.
  void before_spill_passes(float t) override;

 private:
  void fate(int32_t spill, bool dispersed_path);
  // The slick area of floating mass that has no slick yet: the floating
  // volume at the minimum thickness (also the area of the step's processes).
  void form_slick(int32_t spill);
  void share_the_slick(float t);

  // Area (m2) of the one slick of a continuous release's pulses afloat at
  // the start of the sub-step; 0 while none floats.  law_area_ is the area
  // its spreading law gives it at the time law_time_ (s), before the floor
  // of the pulses' own slicks and the minimum thickness.
  double release_area_ = 0.0;
  double law_area_ = 0.0;
  double law_time_ = 0.0;

  const farray<coast_polygon>& polygons_;
};

}  // namespace orvel
