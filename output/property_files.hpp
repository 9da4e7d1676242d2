// Property files: at the end of an operational simulation, the per-step
// property series of each spill printed as a table on a fixed stride of
// records: time, centre of mass and, by what is released, the slick area
// (floating object) or the slick properties and the mass balance (oil, HNS).
// A continuous release gets one file per sub-spill and then one file for the
// whole release.  The concentration-factor files print an HNS spill's
// compartments on the same rows with a column layout of their own.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Records between two printed rows: the property interval over the model
// step, the interval being counted in whole hours of model steps when the
// step is an hour or longer.  Below 1 for an interval shorter than the step
// (or, for steps of an hour or more, shorter than an hour).
int64_t property_row_stride();

// Writes the property files from records 1 .. step of the series (step = the
// last record written).  `nsteps`, the capacity of the series, is not used.
// A stride below 1 ends the run (the start-up check refuses such settings
// before the first step).
void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps);

// Concentration-factor files of an HNS release: per spill (or sub-spill) the
// density, viscosity and eleven compartments in percent of the reference
// mass and in kilograms, with their balance, on the rows of the property
// files.  No engine calls it.  A stride below 1 ends the run as in
// esc_propiedades_fuel; a reference mass of 0 gives non-finite percentages.
void esc_propiedades_hns(const std::string& clave, int32_t step);

}  // namespace orvel
