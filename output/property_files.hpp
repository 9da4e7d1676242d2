// Property files: the per-step property series of each spill of an
// operational simulation printed as a table on a fixed stride of records,
// row by row as the run makes the records: time, centre of mass and, by
// what is released, the slick area (floating object) or the slick
// properties and the mass balance (oil, HNS).  A continuous release gets
// one file per sub-spill and then one file for the whole release.  The
// concentration-factor files print an HNS spill's compartments on the same
// rows with a column layout of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace orvel {

// Records between two printed rows: the property interval over the model
// step, the interval being counted in whole hours of model steps when the
// step is an hour or longer.  Below 1 for an interval shorter than the step
// (or, for steps of an hour or more, shorter than an hour).
int64_t property_row_stride();

class property_writer;

// The property files of the simulation being run, their rows written as the
// records of the series are made; one per engine run, which owns it.
// rows() writes the rows of the records up to `record` (record 1 begins the
// files of a new simulation), finish() those up to `step` (the last record
// written) and closes the files.  A spill's first row (its start time with
// the values of record 1) comes once the run has reached the spill's start:
// a pulse of a continuous release that does not start within the run has a
// file with the header line only.  A stride below 1 ends the run (the
// start-up check refuses such settings before the first step).  A value the
// rows refuse stops the run with every file holding the whole rows of the
// records before.  The files stand under their real names from the first
// record on and grow by the whole rows of each record (one write a file).
class property_rows_writer {
 public:
  property_rows_writer();
  ~property_rows_writer();
  property_rows_writer(const property_rows_writer&) = delete;
  property_rows_writer& operator=(const property_rows_writer&) = delete;

  void rows(const std::string& clave, int32_t record);
  void finish(const std::string& clave, int32_t step);
  // At a stop of the run: with `keep` the property files stay with the whole
  // rows written so far, and the words that the stop line adds to say so
  // are returned; without, they are removed.  Nothing when no rows have
  // begun.
  std::string end(bool keep);

 private:
  template <class F>
  auto at_work(F f);
  std::unique_ptr<property_writer> open_;
};

// The property files of a simulation written whole: every record from 1 up
// to `step`.  `nsteps`, the capacity of the series, is not used.
void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps);

// Concentration-factor files of an HNS release: per spill (or sub-spill) the
// density, viscosity and eleven compartments in percent of the reference
// mass and in kilograms, with their balance, on the rows of the property
// files.  No engine calls it.  It writes the rows of the records that the
// series hold, up to `step`: every record while the run has not outlasted
// their window of series_window records; after that only the window's
// records, without the start rows (which print record 1).  A stride below 1
// ends the run as in esc_propiedades_fuel; a reference mass of 0 gives
// non-finite percentages.
void esc_propiedades_hns(const std::string& clave, int32_t step);

}  // namespace orvel
