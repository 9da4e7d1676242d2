// Water uptake of a floating oil slick over one step (water-in-oil
// emulsion), towards the oil's maximum water content.
#include <algorithm>
#include <cstdint>

#include "control/state/all.hpp"
#include "fate/oil_weathering.hpp"

namespace orvel {

void emulsion(int32_t spill) {
  auto& w = var_currwindwave;
  auto& m = var4;
  // With evaporation off nothing earlier in the step has set the wind.
  if (var_cfg.evaporo(spill) == 0) {
    w.wind10(spill) = static_cast<double>(mean_wind_all(w.wintx.data(), w.winty.data(), var_run.particle_number));
  }
  const float ymax = var_spill.maxemulsification(spill) / 100.0f;
  if (m.agua(spill) >= static_cast<double>(ymax)) return;
  if (m.mass_surf(spill) == 0.0) return;
  const double u1 = 1.0 + w.wind10(spill);
  const double dy = static_cast<double>(var_run.deltat) * static_cast<double>(1.085e-6f) * (u1 * u1) *
                    (1.0 - static_cast<double>(m.aguatot(spill)) / static_cast<double>(ymax));
  // The increment is capped at the maximum, so one step can carry the total
  // past it (then uptake stops).  A total of 1 or more would leave no oil in
  // the emulsion: it is held at the maximum instead.
  const float total = static_cast<float>(std::min(static_cast<double>(ymax), dy) + static_cast<double>(m.aguatot(spill)));
  m.aguatot(spill) = total >= 1.0f ? ymax : total;
  m.agua(spill) = static_cast<double>(m.aguatot(spill));
}

}  // namespace orvel
