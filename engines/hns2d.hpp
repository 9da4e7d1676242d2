// The engine of a two-dimensional run of a chemical (HNS): the HNS layer of
// the frame with its own set-up (behaviour classes, initial slick, placement
// and states, masses, process switches), the choice between the spreading
// path and the dispersed path of each spill and sub-step, the re-sum of the
// compartments from the particles, the fate sequence, the grid of surface
// and dissolved mass per area and its own records of the property series.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "engines/hns_frame.hpp"

namespace orvel {

class hns2d_engine : public hns_frame {
 public:
  hns2d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str);

  // Whether the spill takes the spreading path in the sub-step of step time
  // t (the counts are those of its last pass); otherwise it takes the
  // dispersed path.
  bool spreads(int32_t spill, float t) const;

 protected:
  void allocate_engine_arrays() override;
  void set_up() override;
  void spill_chain(int32_t spill, float t) override;
  bool moves_in_phases() const override { return true; }
  // The chemical's fate reads values that all the spills share: the spills
  // moved together finish one after the other.
  bool finishes_apart() const override { return false; }
  // The choice of path and, spreading, the slick's growth and the spreading
  // coefficients of the step.
  spill_move plan_move(int32_t spill, float t) override;
  // The re-sum of the compartments and the fate sequence after the move.
  void finish_move(int32_t spill, const spill_move& move) override;
  // concentracion_hns2d.
  void grid_statistics(int32_t spill, int32_t stamp) override;
  void series_record(int32_t spill, int32_t r) override;

 private:
  void fate(int32_t spill, bool dispersed_path);

  const farray<coast_polygon>& polygons_;
  farray<double, 1> start_area_{"start_area"};  // (spill) slick area at the start of the step, m2
};

}  // namespace orvel
