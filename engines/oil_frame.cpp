#include "engines/oil_frame.hpp"

#include "control/state/all.hpp"

namespace orvel {

void oil_frame::allocate_engine_arrays() {
  ensure(var_spill.area_oil, var_cfg.spills_number);
  ensure(var_spill.areaoila, var_cfg.spills_number, series_records());
  ensure(var_spill.thickoilt, var_cfg.spills_number, series_records());
  ensure(var4.weathering_dt, var_cfg.spills_number);
}

void oil_frame::grid_statistics(int32_t spill, int32_t stamp) {
  calls.concentracion(spill, step, clave, sim, stamp);
}

void oil_frame::series_first_record(int32_t spill) {
  var_part.xxc(spill, 1) = var_part.x_cg(spill);
  var_part.yyc(spill, 1) = var_part.y_cg(spill);
  // A spill released wholly on land has no slick from the start.
  const bool gone = weathering_recorded() && nothing_can_float(spill);
  var_spill.areaoila(spill, 1) = gone ? 0.0f : var_spill.area_oil(spill);
  var_spill.thickoilt(spill, 1) = gone ? 0.0f : static_cast<float>(var_cfg.thick(spill));
  if (weathering_recorded()) {
    record_properties(spill, 1);
    record_compartments(spill, 1, false);
    var4.mass_disp_cumul_c(spill, 1) = 0.0;
  }
}

void oil_frame::series_record(int32_t spill, int32_t r) {
  const bool gone = slick_gone(spill);
  var_spill.thickoilt(spill, r) = gone ? 0.0f : static_cast<float>(var_cfg.thick(spill));
  var_part.yyc(spill, r) = var_part.y_cg(spill);
  var_part.xxc(spill, r) = var_part.x_cg(spill);
  // The spreading area once there is one, otherwise the set-up area.
  if (slick_area(spill) != 0.0) var_spill.area_oil(spill) = static_cast<float>(slick_area(spill));
  var_spill.areaoila(spill, r) = gone ? 0.0f : var_spill.area_oil(spill);
  if (weathering_recorded()) {
    record_properties(spill, r);
    // No slick, no emulsion: the water content reads 0 once nothing floats.
    if (gone) var4.aguac(spill, r) = 0.0;
    record_compartments(spill, r, weathered_now(spill) != 0);
    var4.mass_disp_cumul_c(spill, r) = var4.mass_disp_cumul(spill);
  }
}

bool oil_frame::property_files_written() {
  const int32_t obj = var_cfg.obj__floating_fuel_hns;
  return var_run.simtype__operat_probabil == 1 && var_run.outputpropierties__y_n == 1 &&
         (obj == 1 || (obj == 2 && var_cfg.degrado == 1));
}

void oil_frame::zero_weathering_masses() {
  auto& m = var4;
  for (auto* a : {&m.masaevp, &m.mass_disp_cumul, &m.mass_waterinemulsion, &m.mass_emulsion_surf_beach,
                  &m.massprodemuls_surf, &m.massprodemuls_beach}) {
    a->fill(0.0);
  }
  m.massprodemuls_surf_c.fill(0.0);
  m.massprodemuls_beach_c.fill(0.0);
}

void oil_frame::weathering_time(int32_t spill, float t) {
  // The step ends at t and began deltat before it; a spill that started
  // within it has been out for t - start only.
  const float dt = var_run.deltat;
  const double age = static_cast<double>(t) - var_cfg.spillstarttime(spill);
  var4.weathering_dt(spill) = age < static_cast<double>(dt) ? static_cast<float>(age) : dt;
}

}  // namespace orvel
