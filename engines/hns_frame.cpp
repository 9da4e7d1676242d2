#include "engines/hns_frame.hpp"

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "control/state/all.hpp"
#include "output/grid_work.hpp"
#include "transport/states.hpp"

namespace orvel {

void hns_frame::allocate_engine_arrays() {
  const int32_t ns = var_cfg.spills_number;
  auto& sp = var_spill;
  ensure(sp.area_hns, ns);
  ensure(sp.areahnsa, ns, series_records());
  ensure(sp.thickhnst, ns, series_records());
  ensure(sp.hnsbehaviourclass, ns);
  auto& m = var4;
  ensure(m.spreadingdiffcoef, ns);
  for (auto* a : {&m.mass_air_ini, &m.mass_columndisol_ini, &m.areaparticlesurf, &m.volumeparticle,
                  &m.areaparticlesurftotal}) {
    ensure(*a, ns);
  }
  for (auto* a : {&m.mass_diss_cumul, &m.mass_diss_surf_cumul, &m.mass_diss_column_cumul, &m.mass_vol_cumul,
                  &m.mass_sed_cumul, &m.mass_degr_cumul, &m.mass_diss_dt}) {
    ensure(*a, ns);
  }
  for (auto* a : chemical_series()) ensure(*a, ns, series_records());
  // One value per cell of the concentration grid (none without one).
  ensure(m.conc_diss_tot, conc_cells_number());
}

void hns_frame::start_simulation() { var4.conc_diss_tot.fill(0.0f); }

bool hns_frame::property_files_written() { return weathering_recorded() && var_run.outputpropierties__y_n == 1; }

void hns_frame::record_hns_cumulatives(int32_t spill, int32_t r, bool current) {
  auto& m = var4;
  m.mass_diss_cumul_c(spill, r) = current ? static_cast<double>(m.mass_diss_cumul(spill)) : 0.0;
  m.mass_vol_cumul_c(spill, r) = current ? static_cast<double>(m.mass_vol_cumul(spill)) : 0.0;
  m.mass_sed_cumul_c(spill, r) = current ? static_cast<double>(m.mass_sed_cumul(spill)) : 0.0;
  m.mass_degr_cumul_c(spill, r) = current ? static_cast<double>(m.mass_degr_cumul(spill)) : 0.0;
}

namespace {

// True when every particle of the spill starts on land (beached, or over
// land waiting for the coast).
bool all_on_land(int32_t spill) {
  const auto& indp = var_part.indp;
  const int32_t np = std::min(var_run.particle_number, indp.size(1));
  if (np < 1 || spill > indp.size(2)) return false;
  for (int32_t i = 1; i <= np; ++i) {
    const int32_t state = indp(i, spill);
    if (state != indp_beached && state != indp_land) return false;
  }
  return true;
}

// Chemical spills whose every particle starts on land: one warning names
// the first and counts the rest (a continuous release has a spill per
// pulse).
void warn_spills_on_land() {
  const auto& c = var_cfg;
  int32_t first = 0;
  int32_t count = 0;
  for (int32_t s = 1; s <= c.spills_number; ++s) {
    if (!all_on_land(s)) continue;
    if (count++ == 0) first = s;
  }
  if (count == 0) return;
  std::cerr << "orvel: warning: every particle of spill " << first;
  if (count > 1) std::cerr << " (and of " << count - 1 << " more spills or pulses)";
  std::cerr << " starts on land (release point at longitude " << c.spillposition_x(first) - 360.0 << ", latitude "
            << c.spillposition_y(first)
            << "): it is beached from the start and nothing of it floats; check the release position, and that the "
               "depths are positive downward\n";
}

}  // namespace

void hns_frame::series_first_record(int32_t s) {
  auto& sp = var_spill;
  if (s == 1 && var_part.indp.allocated()) warn_spills_on_land();
  var_part.xxc(s, 1) = var_part.x_cg(s);
  var_part.yyc(s, 1) = var_part.y_cg(s);
  // A release wholly on land has no slick from the start.
  const bool gone = weathering_recorded() && nothing_can_float(s);
  sp.areahnsa(s, 1) = gone ? 0.0f : sp.area_hns(s);
  sp.thickhnst(s, 1) = gone ? 0.0f : static_cast<float>(var_cfg.thick(s));
  if (weathering_recorded()) {
    record_properties(s, 1);
    record_compartments(s, 1, false);
    var4.mass_disp_cumul_c(s, 1) = 0.0;
    record_hns_cumulatives(s, 1, false);
  }
}

void hns_frame::record_slick(int32_t s, int32_t r) {
  auto& sp = var_spill;
  auto& p = var_part;
  const bool gone = slick_gone(s);
  sp.thickhnst(s, r) = gone ? 0.0f : static_cast<float>(var_cfg.thick(s));
  p.yyc(s, r) = p.y_cg(s);
  p.xxc(s, r) = p.x_cg(s);
  // The current slick area once there is one, otherwise the set-up area;
  // the share-back of the next sub-step reads it.
  if (slick_area(s) != 0.0) sp.area_hns(s) = static_cast<float>(slick_area(s));
  sp.areahnsa(s, r) = gone ? 0.0f : sp.area_hns(s);
}

}  // namespace orvel
