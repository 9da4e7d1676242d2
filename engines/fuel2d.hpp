// The engine of a two-dimensional run of oil or of a floating object: the
// frame with its own set-up (placement, the initial slick or the area of the
// particle cloud, initial masses and properties), the choice between the
// spreading chain and the transport chain of each spill and sub-step, and
// the oil weathering sequence.  A floating object only drifts.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "engines/oil_frame.hpp"

namespace orvel {

class fuel2d_engine : public oil_frame {
 public:
  fuel2d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str);

  // Whether the spill takes the spreading chain in the sub-step of step
  // time t (the counts are those of the spill's last pass).
  bool spreads(int32_t spill, float t) const;

 protected:
  void allocate_engine_arrays() override;
  void set_up() override;
  void spill_chain(int32_t spill, float t) override;
  bool moves_in_phases() const override { return true; }
  // Weathering time, the choice of chain and, spreading, the slick's growth
  // and the spreading coefficients of the step.
  spill_move plan_move(int32_t spill, float t) override;
  // The oil weathering sequence after the move.
  void finish_move(int32_t spill, const spill_move& move) override;

 private:
  void hull_area(int32_t spill);
  void weathering(int32_t spill, bool spreading_chain);

  const farray<coast_polygon>& polygons_;
  farray<int32_t, 1> vertex_{"vertex"};  // (particle) indices of the hull corners in order
  farray<int32_t, 1> iwk_{"iwk"};        // (particle) work space of the hull
  farray<double, 1> x_hull_{"x_hull"};   // (corner) hull corner longitudes, deg + 360
  farray<double, 1> y_hull_{"y_hull"};   // (corner) hull corner latitudes, deg
  farray<double, 1> step_area_{"step_area"};  // (spill) slick area over the step, m2: the mean of its start and end
};

}  // namespace orvel
