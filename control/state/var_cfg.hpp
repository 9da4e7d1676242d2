// Scenario settings, filled from the scenario file and its derivations; a few
// values are changed later in place (see the comments).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/farray.hpp"
#include "common/text.hpp"

namespace orvel {

struct var_cfg_block {
  int32_t gridformat__xyz_grid = 0;                // model grid file: 1 = node list, 2 = regular grid given in the scenario
  int32_t concgrid_same_grid__y_n = 0;             // non-zero = concentrations on the model grid, 0 = on a grid of their own
  int32_t concgridformat__xyz_grid = 0;            // concentration grid file: 1 = node list, 2 = regular grid
  int32_t coastline_sticknostick_option__y_n = 0;  // 1 = the coastline file carries a stick index per point
  int32_t obj__floating_fuel_hns = 0;              // what is released: 1 = floating object, 2 = oil, 3 = HNS
  int32_t obj__floating_fuel = 0;                  // copy of obj__floating_fuel_hns taken by the scenario reader
  int32_t spreading__y_n = 0;                      // 1 = slick spreading on (forced to 0 for 3-D oil runs)
  int32_t spreadalgorithm__adios2_leher_hns = 0;   // 1 = Fay-type area growth, 2 = Lehr, 3 = HNS thick slick
  int32_t stoptimespreading = 0;                   // time after which oil spreading stops, h (stays in hours)
  int32_t evaporation__y_n = 0;                    // 1 = evaporation on
  int32_t emulsification__y_n = 0;                 // 1 = oil emulsification on
  int32_t verticaldispersion__y_n = 0;             // 1 = natural dispersion (HNS entrainment) on
  int32_t dissolution__y_n = 0;                    // 1 = HNS dissolution on (seeds the per-spill flag)
  int32_t volatilization__y_n = 0;                 // 1 = HNS volatilisation on (seeds the per-spill flag)
  int32_t sedimentation__y_n = 0;                  // 1 = HNS sorption to sediment on (seeds the per-spill flag)
  int32_t degradation__y_n = 0;                    // 1 = HNS biodegradation on (seeds the per-spill flag)
  int32_t degrado = 0;                             // 1 = weathering runs (a process switch on, object oil or HNS)
  int32_t spill__instant_contin = 0;               // 1 = instantaneous spills, 2 = continuous release split into pulses
  int32_t spills_number = 0;                       // number of spills (pulses of a continuous release); per-spill extent
  int32_t iternumber = 0;                          // spill lines in the scenario file: spills_number, or 1 if continuous
  double spillduration = 0.0;                      // duration of a continuous release, h
  int32_t delta_vertidocontinuo = 0;               // pulse interval of a continuous release, s
  float simulationtimehorizon = 0.0f;              // simulated duration, s (hours in the file)
  int32_t currenttype__file_constant = 0;          // currents: 1 = field files, 2 = uniform series
  int32_t currentgrid_variable__y_n = 0;           // 1 = the current grid carries a time-varying wet/dry or radar mask
  int32_t variablecurrgrid__wetdry_radar = 0;      // kind of that mask: 1 = wet/dry cells, 2 = radar coverage
  int32_t currentcorrection__y_n = 0;              // 1 = additive correction fields are added to the currents
  int32_t currentfilesjointuvw__y_n = 0;           // 1 = one joint u, v (w) file per record, 0 = separate files
  int32_t current3dinputformat_layers_average = 0; // 3-D currents: 1 = layered files, 2 = surface fields + depth-mean series
  int32_t currentgridformat__xyz_grid = 0;         // current files: 1 = node lists, 2 = regular grids
  int32_t currcorrectgridformat__xyz_grid = 0;     // correction files: 1 = node lists, 2 = regular grids
  float deltat_currents = 0.0f;                    // time between current records, s (hours in the file)
  int32_t currentfilesorlines_number = 0;          // number of current records (names per list and layer, or series lines)
  int32_t currentcorrectionfiles_number = 0;       // number of names in each correction list
  std::array<int32_t, 3> xyzcurrentnodes_number{}; // node counts of the U, V, W current grids ([0] = U, [1] = V, [2] = W)
  int32_t wavestype__file_constant = 0;            // waves: 1 = field files, 2 = uniform series
  int32_t windtype__file_constant = 0;             // wind: 1 = field files, 2 = uniform series
  int32_t wavesgridformat__xyz_grid = 0;           // wave files: 1 = node files, 2 = regular grids, one file per component
  int32_t windgridformat__xyz_grid = 0;            // wind files: 1 = node files, 2 = regular grids, one file per component
  float deltat_waves = 0.0f;                       // time between wave records, s (hours in the file)
  float deltat_wind = 0.0f;                        // time between wind records, s (hours in the file)
  int32_t wavesfilesorlines_number = 0;            // number of wave records
  int32_t windfilesorlines_number = 0;             // number of wind records
  int32_t xyzwavesnodes_number = 0;                // number of wave nodes (the model grid's after regridding)
  int32_t xyzwindnodes_number = 0;                 // number of wind nodes (the model grid's after regridding)
  std::string ruta = blanks(256);                  // data folder, prefixed to names with its trailing blanks removed

  // Per-spill arrays, spills_number elements (spill_id: iternumber elements).
  farray<int32_t, 1> spill_id{"spill_id"};                // identifier of each spill line, written to the particle files
  farray<double, 1> spillstarttime{"spillstarttime"};     // release time: h as read, s after the spill's first placement
  farray<double, 1> spilledmass{"spilledmass"};           // released mass, kg (a pulse holds its share)
  farray<double, 1> spillposition_x{"spillposition_x"};   // release longitude, deg as read, deg + 360 after placement
  farray<double, 1> spillposition_y{"spillposition_y"};   // release latitude, deg
  farray<double, 1> spillposition_z{"spillposition_z"};   // release depth, m, positive down (0 in 2-D runs)
  farray<double, 1> spillsize_sidex{"spillsize_sidex"};   // east-west side of the release rectangle, m as read, deg after placement
  farray<double, 1> spillsize_sidey{"spillsize_sidey"};   // north-south side of the release rectangle, m as read, deg after placement
  farray<double, 1> minspillthickness{"minspillthickness"};  // minimum slick thickness where spreading stops, m
  farray<double, 1> spillvolume{"spillvolume"};           // released volume, m3 (pulse share); then the current slick volume
  farray<double, 1> area0{"area0"};                       // initial slick area = product of the two sides, m2
  farray<double, 1> masa0{"masa0"};                       // initial mass, kg (every pulse holds the total)
  farray<double, 1> vol0{"vol0"};                         // initial volume, m3 (a pulse holds its own share)
  farray<double, 1> thick{"thick"};                       // current slick thickness, m
  farray<double, 1> currentcoeff{"currentcoeff"};         // multiplier of the current in the drift velocity
  farray<double, 1> dragcoeff_a{"dragcoeff_a"};           // wind-drift factor a of a + b * wind speed, dimensionless
  farray<double, 1> dragcoeff_b{"dragcoeff_b"};           // wind-drift factor b of a + b * wind speed, s/m
  farray<double, 1> wavescoeff{"wavescoeff"};             // multiplier of the wave drift
  farray<int32_t, 1> turbdiffusion__y_n{"turbdiffusion__y_n"};  // 1 = horizontal random walk on, 0 = off
  farray<float, 1> diffusioncoeff_kh{"diffusioncoeff_kh"};      // horizontal diffusion coefficient, m2/s
  farray<float, 1> diffusioncoeff_kz{"diffusioncoeff_kz"};      // vertical diffusion coefficient, m2/s
  farray<float, 1> riverfreesurfaceslope{"riverfreesurfaceslope"};  // water-surface slope of a river run, dimensionless
  farray<int32_t, 1> evaporo{"evaporo"};                  // 1 = evaporation on for the spill
  farray<int32_t, 1> emulsiono{"emulsiono"};              // 1 = emulsification on for the spill
  farray<int32_t, 1> entrainment{"entrainment"};          // 1 = HNS entrainment on for the spill
  farray<int32_t, 1> dissolution{"dissolution"};          // 1 = HNS dissolution on for the spill
  farray<int32_t, 1> volatilization{"volatilization"};    // 1 = HNS volatilisation on for the spill
  farray<int32_t, 1> sedimentation{"sedimentation"};      // 1 = HNS sorption to sediment on for the spill
  farray<int32_t, 1> degradation{"degradation"};          // 1 = HNS degradation on for the spill
  farray<int32_t, 1> flag_tierra{"flag_tierra"};          // 1 = the whole spill is on land at release (no property update)

  // Written but never read.
  float vol0_aux = 0.0f;                                  // auxiliary volume written by the scenario reader
  double windcoeff = 0.0;                                 // wind coefficient written by the transport routines
  farray<double, 1> spillthickness{"spillthickness"};     // (spill) initial slick thickness as read, m
  farray<double, 1> area{"area"};                         // (spill) slick area, m2; allocated, never assigned
  farray<int32_t, 1> flag_air{"flag_air"};                // (spill) 1 = the HNS spill starts wholly in the air
};
// The one instance, defined in control/state/instances.cpp.
extern var_cfg_block var_cfg;

}  // namespace orvel
