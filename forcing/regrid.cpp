#include "forcing/regrid.hpp"

#include "common/errors.hpp"

namespace orvel {

// Until the regridding is built, a run that needs it ends naming it.

void interpola_malla_corrientes(std::array<int32_t, 3>&, int32_t) { not_built("interpola_malla_corrientes"); }

void interpola_malla(int32_t, int32_t&, int32_t) { not_built("interpola_malla"); }

}  // namespace orvel
