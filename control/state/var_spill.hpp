// Substance of each spill, its derived constants and the slick area and
// thickness series.  Temperatures are held in K (degrees C + 273).
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

struct var_spill_block {
  farray<float, 1> density{"density"};                          // (spill) product density at the water temperature, kg/m3
  farray<float, 1> densityreferencetemperature{"densityreferencetemperature"};  // (spill) temperature of the density, K (water temperature after correction)
  farray<float, 1> viscosity{"viscosity"};                      // (spill) kinematic viscosity at the water temperature, cSt
  farray<float, 1> viscosityreferencetemperature{"viscosityreferencetemperature"};  // (spill) temperature of the viscosity, K (water temperature after correction)
  farray<float, 1> watersolubility{"watersolubility"};          // (spill) HNS water solubility, mg/L
  farray<float, 1> vaporpressure{"vaporpressure"};              // (spill) HNS vapour pressure, kPa
  farray<float, 1> hnsmolweight{"hnsmolweight"};                // (spill) HNS molecular weight, g/mol
  farray<float, 1> hnsorganic__y_n{"hnsorganic__y_n"};          // (spill) 1.0 = organic chemical, anything else = inorganic
  farray<float, 1> maxevaporation{"maxevaporation"};            // (spill) maximum evaporated fraction, percent
  farray<float, 1> maxemulsification{"maxemulsification"};      // (spill) maximum water content of the emulsion, percent
  farray<float, 1> waterdensity{"waterdensity"};                // (spill) sea-water density, kg/m3
  farray<float, 1> watertemperature{"watertemperature"};        // (spill) water temperature, K
  farray<float, 1> airtemperature{"airtemperature"};            // (spill) air temperature, K
  farray<float, 1> sedimentsconcentration{"sedimentsconcentration"};  // (spill) suspended sediment concentration, mg/L
  farray<float, 1> logkow{"logkow"};                            // (spill) log10 of the octanol-water partition coefficient
  farray<float, 1> degradation_rate{"degradation_rate"};        // (spill) HNS degradation rate, 1/day
  farray<float, 1> t0{"t0"};                                    // (spill) initial boiling point of the boiling-point curve, K
  farray<float, 1> tg{"tg"};                                    // (spill) slope of the boiling-point curve per evaporated fraction, K
  farray<float, 1> deltarho{"deltarho"};                        // (spill) (water density - product density) / water density
  farray<float, 1> area_maxima{"area_maxima"};                  // (spill) maximum slick area = volume / minimum thickness, m2
  farray<float, 1> api{"api"};                                  // (spill) API gravity 141.5 / specific gravity - 131.5
  double kinemviscosity_water = 0.0;                            // kinematic viscosity of sea water, m2/s
  float ct = 0.0f;                                              // thermal coefficient of the density (8e-4), 1/K
  float ceva = 0.0f;                                            // density increase per unit evaporated fraction (0.18006)
  float c3 = 0.0f;                                              // emulsion viscosity constant c3 of exp(c3 Y / (1 - c4 Y)) (2.5)
  float c4 = 0.0f;                                              // emulsion viscosity constant c4 of exp(c3 Y / (1 - c4 Y)) (0.65)
  float c5 = 0.0f;                                              // temperature coefficient of the viscosity (5000), K
  farray<float, 1> c6{"c6"};                                    // (spill) viscosity increase per unit evaporated fraction, factor exp(c6 F)
  farray<float, 1> area_oil{"area_oil"};                        // (spill) oil or floating-object slick area, m2
  farray<double, 1> area_share{"area_share"};                   // (spill) share of its slick's area a 3-D slick weathers over: of the release rectangle (oil) or of the one slick of a continuous release (chemical); 1, or a pulse's share of the release's floating mass
  farray<float, 1> area_hns{"area_hns"};                        // (spill) HNS slick area, m2
  farray<float, 2> areaoila{"areaoila"};                        // (spill, entry) series of area_oil, m2
  farray<float, 2> areahnsa{"areahnsa"};                        // (spill, entry) series of area_hns, m2
  farray<float, 2> thickoilt{"thickoilt"};                      // (spill, entry) series of the oil slick thickness, m
  farray<float, 2> thickhnst{"thickhnst"};                      // (spill, entry) series of the HNS slick thickness, m
  farray<int32_t, 1> hnsbehaviourclass{"hnsbehaviourclass"};    // (spill) HNS behaviour class 1 to 13

  // Used by the scenario reader alone.
  farray<int32_t, 1> oiltype__crude0_refined1{"oiltype__crude0_refined1"};  // (spill) 0 = crude, 1 = refined (boiling-point formulas)
  farray<float, 1> densr0{"densr0"};                            // (spill) specific gravity, density as read / 999
  farray<float, 1> viscosity15{"viscosity15"};                  // (spill) viscosity at 15 degrees C, cSt (for c6)

  // Written but never read.
  farray<float, 1> minevaporation{"minevaporation"};            // (spill) minimum evaporation, percent as read, then / 100
  farray<float, 1> vaporpressurereferencetemperature{"vaporpressurereferencetemperature"};  // (spill) temperature of the vapour pressure, degrees C
  farray<float, 1> solubilityreferencetemperature{"solubilityreferencetemperature"};        // (spill) temperature of the solubility, degrees C
};
// The one instance, defined in control/state/instances.cpp.
extern var_spill_block var_spill;

}  // namespace orvel
