// Water uptake of a floating oil slick over one step (water-in-oil
// emulsion), towards the oil's maximum water content.
#include <cmath>
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
  // dY/dt = k (1 - Y / Ymax), k = 1.085e-6 (1 + U)^2 per second, integrated
  // exactly over the step (from the spill's start in its first step) so
  // that the result does not depend on the step: the water fraction closes
  // the share 1 - exp(-k dt / Ymax) of its gap to the maximum, and never
  // passes it.  A total of 1 or more (a maximum of
  // 100 %) would leave no oil in the emulsion: it is held at the maximum.
  const double u1 = 1.0 + w.wind10(spill);
  const double k = static_cast<double>(1.085e-6f) * (u1 * u1);
  const double y = static_cast<double>(m.aguatot(spill));
  const double gap = static_cast<double>(ymax) - y;
  const double dy = -gap * std::expm1(-k * static_cast<double>(weathering_seconds(spill)) / static_cast<double>(ymax));
  const float total = static_cast<float>(y + dy);
  m.aguatot(spill) = total >= 1.0f ? ymax : total;
  m.agua(spill) = static_cast<double>(m.aguatot(spill));
}

}  // namespace orvel
