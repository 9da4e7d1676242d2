// The layer of the frame shared by the chemical (HNS) engines: the HNS slick
// area and thickness series in place of the oil ones, the behaviour classes,
// the HNS compartments and cumulative masses with their series, the grid of
// dissolved mass per area (cleared at the start of every simulation) and the
// property files of an operational run with weathering on.  The HNS engines
// derive from it.
#pragma once

#include <cstdint>

#include "engines/frame.hpp"

namespace orvel {

class hns_frame : public engine_frame {
 public:
  using engine_frame::engine_frame;

 protected:
  void allocate_engine_arrays() override;
  // conc_diss_tot := 0 in every cell.
  void start_simulation() override;
  // The chemical property files, when weathering is recorded and the files
  // are asked for.  A run with weathering off writes none.
  bool property_files_written() override;

  // The four HNS cumulative series (dissolved, volatilised, sedimented,
  // degraded) of record r: the single-precision totals widened, or 0.
  static void record_hns_cumulatives(int32_t spill, int32_t r, bool current);

  // Record 1 at time 0: centre, set-up area and thickness and, with
  // weathering recorded, the properties, the initial compartments, nothing
  // dispersed and 0 in the four HNS cumulative series.
  void series_first_record(int32_t spill) override;
  // The slick rows of record r: centre, thickness and the current slick
  // area once there is one (else the area kept so far).
  void record_slick(int32_t spill, int32_t r);
};

}  // namespace orvel
