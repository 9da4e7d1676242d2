// The layer of the frame shared by the oil and floating-object engines: the
// slick area and thickness series, the oil rows of the property series, the
// surface mass per area of the grid outputs and the oil or floating-object
// property files.  Only the oil engines derive from it.
#pragma once

#include <span>
#include <string>

#include "engines/frame.hpp"

namespace orvel {

class oil_frame : public engine_frame {
 public:
  using engine_frame::engine_frame;

 protected:
  // The oil area area_oil and the series areaoila, thickoilt.
  void allocate_engine_arrays() override;
  // concentracion.
  void grid_statistics(int32_t spill, int32_t stamp) override;
  // Centre of mass, area, thickness and, with weathering recorded, the
  // properties and compartments of record 1 (initial masses) and record r.
  void series_first_record(int32_t spill) override;
  void series_record(int32_t spill, int32_t r) override;
  // The oil or floating-object property files of an operational run.
  bool property_files_written() override;
  // The weathering masses of a new simulation: evaporated, dispersed, the
  // water and emulsion masses and their emulsion-product series at 0.
  static void zero_weathering_masses();
  // weathering_dt(spill) for the sub-step of step time t: the model step, or
  // the time from the spill's start when it starts within the step.
  static void weathering_time(int32_t spill, float t);
};

}  // namespace orvel
