#include <cstdint>

#include "control/state/all.hpp"
#include "fate/hns_setup.hpp"

namespace orvel {

void findhnsbehaviourclass(int32_t, float p, float s, float rho, float rhow, int32_t& hnsclass) {
  // Pressure and solubility are compared in double precision, against the
  // single-precision 101.3 and 0.3 and the exact solubility bands; densities
  // in single precision.  Every test is written as a comparison that a value
  // that is not a number fails.
  const double pp = p;
  const double ss = s;
  const double gas_limit = 101.3f;
  const double floater_limit = 0.3f;
  const bool lighter = rhow >= rho;          // not heavier than the actual sea water
  const bool below_1025 = rho <= 1025.0f;    // not heavier than a fixed sea water
  if (pp > gas_limit && ss <= 100000.0) {
    hnsclass = hnsclass_gas;
  } else if (pp > gas_limit && ss > 100000.0) {
    hnsclass = hnsclass_gas_dissolver;
  } else if (pp > 3.0 && ss <= 10000.0 && lighter) {
    hnsclass = hnsclass_evaporator;
  } else if (pp > 3.0 && ss > 10000.0 && ss <= 50000.0 && below_1025) {
    hnsclass = hnsclass_evaporator_dissolver;
  } else if (pp > floater_limit && pp <= 3.0 && ss <= 1000.0 && below_1025) {
    hnsclass = hnsclass_floater_evaporator;
  } else if (pp > floater_limit && pp <= 3.0 && ss > 1000.0 && ss <= 50000.0 && lighter) {
    hnsclass = hnsclass_floater_evaporator_dissolver;
  } else if (pp <= floater_limit && ss <= 1000.0 && lighter) {
    hnsclass = hnsclass_floater;
  } else if (pp <= floater_limit && ss > 10000.0 && ss <= 50000.0 && below_1025) {
    hnsclass = hnsclass_floater_dissolver;
  } else if (pp > 10.0 && ss > 50000.0 && lighter) {
    hnsclass = hnsclass_dissolver_evaporator;
  } else if (pp <= 10.0 && ss > 50000.0) {
    hnsclass = hnsclass_dissolver;
  } else if (ss > 1000.0) {
    hnsclass = hnsclass_sinker_dissolver;
  } else if (ss <= 1000.0) {
    hnsclass = hnsclass_sinker;
  } else {
    hnsclass = hnsclass_unclassified;
  }
}

bool is_gas(int32_t hnsclass) { return hnsclass == hnsclass_gas || hnsclass == hnsclass_gas_dissolver; }

bool gas_bubbles(int32_t spill) {
  return var_run.sim__2d_3d == 2 && var_run.blowout__y_n != 1 && var_cfg.spillposition_z(spill) != 0.0 &&
         var_spill.hnsbehaviourclass(spill) == hnsclass_gas;
}

bool sinks(int32_t hnsclass, float rho, float rhow) { return !is_gas(hnsclass) && rho > rhow; }

void getdegradationprocesses() {
  auto& c = var_cfg;
  const auto& p = var_part;
  const int32_t np = var_run.particle_number;
  auto all_off = [&c](int32_t i) {
    c.evaporo(i) = 0;
    c.volatilization(i) = 0;
    c.entrainment(i) = 0;
    c.dissolution(i) = 0;
    c.sedimentation(i) = 0;
    c.degradation(i) = 0;
  };
  for (int32_t i = 1; i <= c.spills_number; ++i) {
    const int32_t hnsclass = var_spill.hnsbehaviourclass(i);
    // A gas or gas-dissolver released at the surface goes to the air before
    // it can dissolve.  A release without surface mass (at depth) keeps its
    // switches.
    if (var4.mass_surf_ini(i) != 0.0 && (hnsclass == hnsclass_gas || hnsclass == hnsclass_gas_dissolver)) {
      c.dissolution(i) = 0;
      c.sedimentation(i) = 0;
    }
    if (p.par_beached(i) == np) {
      all_off(i);
      c.flag_tierra(i) = 1;
    } else if (p.par_air(i) == np || hnsclass == hnsclass_gas) {
      all_off(i);
      c.flag_air(i) = 1;
    } else if (hnsclass == hnsclass_sinker) {
      const int32_t degradation = c.degradation(i);
      all_off(i);
      c.degradation(i) = degradation;
      c.flag_tierra(i) = 0;
    }
  }
}

}  // namespace orvel
