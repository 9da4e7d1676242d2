// Mass bookkeeping by compartment (kg per spill), its per-step series
// (spill, entry) and the per-particle masses and slick properties.
#pragma once

#include <cstdint>

#include "common/farray.hpp"

namespace orvel {

// The per-step property series (spill, entry) here and in var_part and
// var_spill keep the last series_window records of each spill or pulse
// (fewer when the run has fewer): the property rows are written as the
// records are made, so no record is needed once the next one is there.
inline constexpr int32_t series_window = 32;

struct var4_block {
  farray<double, 1> mass_surf{"mass_surf"};            // (spill) mass of the particles at the surface (state 1), kg
  farray<double, 1> mass_beached{"mass_beached"};      // (spill) mass of the beached particles (state 0), kg
  farray<double, 1> mass_column{"mass_column"};        // (spill) mass in the water column (state 5), kg
  farray<double, 1> mass_floor{"mass_floor"};          // (spill) mass on the sea floor (state -1), kg
  farray<double, 1> mass_radar{"mass_radar"};          // (spill) mass outside (state -2), kg
  farray<double, 1> mass_surf_ini{"mass_surf_ini"};    // (spill) surface mass at the release, kg
  farray<double, 1> mass_beached_ini{"mass_beached_ini"};  // (spill) beached mass at the release, kg
  farray<double, 1> mass_column_ini{"mass_column_ini"};    // (spill) water-column mass at the release, kg
  farray<double, 1> mass_floor_ini{"mass_floor_ini"};      // (spill) sea-floor mass at the release, kg
  farray<double, 1> mass_radar_ini{"mass_radar_ini"};      // (spill) outside mass at the release, kg
  farray<double, 2> mass_surf_c{"mass_surf_c"};        // (spill, entry) series of mass_surf, kg
  farray<double, 2> mass_beachedc{"mass_beachedc"};    // (spill, entry) series of mass_beached, kg
  farray<double, 2> mass_columnc{"mass_columnc"};      // (spill, entry) series of mass_column, kg
  farray<double, 2> mass_floorc{"mass_floorc"};        // (spill, entry) series of mass_floor, kg
  farray<double, 2> mass_radarc{"mass_radarc"};        // (spill, entry) series of mass_radar, kg
  farray<double, 1> masaevp{"masaevp"};                // (spill) cumulative evaporated mass, capped at maxevaporation percent, kg
  farray<double, 2> masaevpc{"masaevpc"};              // (spill, entry) series of masaevp, kg
  farray<double, 1> massdisp{"massdisp"};              // (spill) mass dispersed in the current step, kg
  farray<float, 1> weathering_dt{"weathering_dt"};     // (spill) seconds of the current step an oil spill weathers: deltat, less in the step in which it starts
  farray<double, 1> mass_disp_cumul{"mass_disp_cumul"};      // (spill) cumulative dispersed mass (decayed by degradation), kg
  farray<double, 2> mass_disp_cumul_c{"mass_disp_cumul_c"};  // (spill, entry) series of mass_disp_cumul, kg
  farray<double, 1> mass_waterinemulsion{"mass_waterinemulsion"};  // (spill) water held in the surface emulsion, kg
  farray<double, 1> massprodemuls_surf{"massprodemuls_surf"};      // (spill) emulsion mass (oil + water) at the surface, kg
  farray<double, 1> massprodemuls_beach{"massprodemuls_beach"};    // (spill) emulsion mass (oil + water) on the coast, kg
  farray<double, 2> massprodemuls_surf_c{"massprodemuls_surf_c"};    // (spill, entry) series of massprodemuls_surf, kg
  farray<double, 2> massprodemuls_beach_c{"massprodemuls_beach_c"};  // (spill, entry) series of massprodemuls_beach, kg
  farray<double, 1> mass_emulsion_surf_beach{"mass_emulsion_surf_beach"};  // (spill) emulsion mass at the surface and on the coast, kg
  farray<double, 1> agua{"agua"};                      // (spill) water fraction of the surface emulsion (0 to maxemulsification / 100)
  farray<double, 2> aguac{"aguac"};                    // (spill, entry) series of agua
  farray<float, 1> aguatot{"aguatot"};                 // (spill) accumulated water fraction of the emulsion
  farray<double, 1> per_evp{"per_evp"};                // (spill) evaporated fraction of the oil that has come to the surface, the initial mass once none is below (0 to maxevaporation / 100)
  farray<double, 2> per_evpc{"per_evpc"};              // (spill, entry) evaporated fraction of the initial mass
  farray<double, 1> diff_evp{"diff_evp"};              // (spill) evaporation of the step: fraction of the surface mass (oil), kg (HNS)
  farray<double, 1> dens{"dens"};                      // (spill) current slick density, kg/m3
  farray<double, 2> densc{"densc"};                    // (spill, entry) series of dens, kg/m3
  farray<double, 1> visc{"visc"};                      // (spill) current slick kinematic viscosity, cSt
  farray<double, 2> viscc{"viscc"};                    // (spill, entry) series of visc, cSt
  farray<double, 2> massparticle{"massparticle"};      // (particle, spill) mass of each particle (3-D HNS: of one droplet), kg
  farray<double, 2> massparticle_prod{"massparticle_prod"};  // (particle, spill) emulsion mass carried by each particle, kg
  farray<double, 1> mass_diss_cumul{"mass_diss_cumul"};       // (spill) dissolved HNS mass now in the water, kg
  farray<double, 2> mass_diss_cumul_c{"mass_diss_cumul_c"};  // (spill, entry) series of mass_diss_cumul, kg
  farray<double, 1> mass_diss_surf_cumul{"mass_diss_surf_cumul"};      // (spill) part of the dissolved mass that came from the slick, kg
  farray<double, 1> mass_diss_column_cumul{"mass_diss_column_cumul"};  // (spill) part of the dissolved mass that came from column particles, kg
  farray<double, 1> mass_diss_dt{"mass_diss_dt"};             // (spill) HNS mass dissolved in the current step, kg
  float mdissolved_surf = 0.0f;                              // HNS mass dissolved in the current step from the slick, kg
  float mdissolved_col = 0.0f;                               // HNS mass dissolved in the current step from column particles, kg
  farray<double, 1> mass_sed_cumul{"mass_sed_cumul"};         // (spill) cumulative dissolved mass sorbed to sediment, kg
  farray<double, 2> mass_sed_cumul_c{"mass_sed_cumul_c"};    // (spill, entry) series of mass_sed_cumul, kg
  farray<double, 1> mass_vol_cumul{"mass_vol_cumul"};         // (spill) cumulative volatilised mass, kg
  farray<double, 2> mass_vol_cumul_c{"mass_vol_cumul_c"};    // (spill, entry) series of mass_vol_cumul, kg
  farray<double, 1> mass_degr_cumul{"mass_degr_cumul"};       // (spill) cumulative degraded mass, kg
  farray<double, 2> mass_degr_cumul_c{"mass_degr_cumul_c"};  // (spill, entry) series of mass_degr_cumul, kg
  farray<float, 1> conc_diss_tot{"conc_diss_tot"};           // (cell) dissolved HNS mass per area summed over spills, kg/m2
  farray<double, 1> areaparticlesurftotal{"areaparticlesurftotal"};  // (spill) total area of the floating HNS, m2
  farray<double, 1> volumeparticle{"volumeparticle"};        // (spill) HNS slick volume per surface particle, m3
  farray<double, 1> mass_columndisol_ini{"mass_columndisol_ini"};  // (spill) initial dissolved mass in the column (0 at release), kg

  // Written but never read.
  farray<double, 1> mass_air{"mass_air"};                    // (spill) mass in the air (state 4), kg
  farray<double, 1> mass_air_ini{"mass_air_ini"};            // (spill) mass in the air at the release, kg
  farray<double, 1> areaparticlesurf{"areaparticlesurf"};    // (spill) HNS slick area per surface particle, m2
  farray<float, 1> spreadingdiffcoef{"spreadingdiffcoef"};   // (spill) HNS spreading rate per surface particle
  double visc_temp = 0.0;                                    // temperature factor of the last viscosity update
  double visc_evap = 0.0;                                    // evaporation factor of the last viscosity update
  double visc_emul = 0.0;                                    // emulsification factor of the last viscosity update
  farray<double, 1> mass_columndisol{"mass_columndisol"};    // (spill) dissolved mass in the column, kg
  farray<double, 1> mdissolved_surftot{"mdissolved_surftot"};  // (spill) total mass dissolved from the slick, kg
  farray<double, 1> mdissolved_disptot{"mdissolved_disptot"};  // (spill) total mass dissolved from dispersed particles, kg
  farray<double, 2> masac{"masac"};                          // (spill, entry) mass series allocated by the engines, kg
};
// The one instance, defined in control/state/instances.cpp.
extern var4_block var4;

}  // namespace orvel
