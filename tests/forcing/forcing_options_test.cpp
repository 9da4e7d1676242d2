// The start-up check of the forcing options.  Every rejection is an
// input_error (which the entry point reports as "orvel: error: FILE:LINE:
// MESSAGE" with exit status 2) naming the option values.
#include "forcing/forcing_options.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

// Currents from separate node lists on a regular grid, waves regridded from
// node files, wind on a regular grid of 5 x 6 nodes: a scenario that passes.
void valid_options() {
  reset_state();
  var_capas.numcapascorr = 1;
  var_run.sim__2d_3d = 1;
  var_run.simtype__operat_probabil = 1;
  var_cfg.currenttype__file_constant = 1;
  var_mallas.currentgrid_regular__y_n = 1;
  var_cfg.currentgridformat__xyz_grid = 1;
  var_cfg.variablecurrgrid__wetdry_radar = 1;
  var_cfg.xyzcurrentnodes_number = {10, 10, 0};
  var_cfg.currentfilesorlines_number = 5;
  var_cfg.simulationtimehorizon = 14400.0f;
  var_cfg.deltat_currents = 3600.0f;
  var_cfg.wavestype__file_constant = 1;
  var_cfg.wavesgridformat__xyz_grid = 1;
  var_mallas.wavesgrid_regular__y_n = 0;
  var_cfg.windtype__file_constant = 1;
  var_cfg.windgridformat__xyz_grid = 2;
  var_mallas.windgrid_regular__y_n = 1;
  var_mallasforz.gridformatwind_xcells = 5;
  var_mallasforz.gridformatwind_ycells = 6;
  var_cfg.xyzwindnodes_number = 30;
}

struct rejection {
  const char* what;
  std::function<void()> change;
  const char* message;  // what() of the input_error
};

TEST(ForcingOptions, ValidScenariosPass) {
  valid_options();
  EXPECT_NO_THROW(check_forcing_options("KEY1"));

  // Settings next to the rejected ones that are fine.
  valid_options();
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.variablecurrgrid__wetdry_radar = 2;
  var_cfg.xyzcurrentnodes_number = {10, 10, 0};  // as many V nodes as U nodes
  EXPECT_NO_THROW(check_forcing_options("KEY1"));
  var_cfg.variablecurrgrid__wetdry_radar = 1;  // a wet/dry mask has no such rule
  var_cfg.xyzcurrentnodes_number = {10, 12, 0};
  EXPECT_NO_THROW(check_forcing_options("KEY1"));

  valid_options();
  var_cfg.currentcorrection__y_n = 1;
  var_cfg.currcorrectgridformat__xyz_grid = 1;
  var_cfg.currentcorrectionfiles_number = 4;  // records 1 to 4 of the 4-hour run
  EXPECT_NO_THROW(check_forcing_options("KEY1"));

  valid_options();
  var_cfg.currenttype__file_constant = 2;  // a series: file options do not matter
  var_cfg.currentgridformat__xyz_grid = 7;
  var_cfg.wavestype__file_constant = 2;
  var_cfg.wavesgridformat__xyz_grid = 2;
  var_run.temporalinterpcurr__y_n = 1;
  EXPECT_NO_THROW(check_forcing_options("KEY1"));
}

TEST(ForcingOptions, Rejections) {
  const rejection rows[] = {
      {"no current layer",
       [] {
         var_capas.numcapascorr = 0;
         var_run.sim__2d_3d = 2;
         var_cfg.current3dinputformat_layers_average = 1;
       },
       "currents_layerDepths.pre:0: numcapascorr = 0 (sim__2d_3d = 2, current3dinputformat_layers_average = 1): "
       "the current layer file gives no layer"},
      {"radar mask with more V than U nodes",
       [] {
         var_cfg.currentgrid_variable__y_n = 1;
         var_cfg.variablecurrgrid__wetdry_radar = 2;
         var_cfg.xyzcurrentnodes_number = {10, 12, 0};
       },
       "KEY1.cfg:0: currentgrid_variable__y_n = 1, variablecurrgrid__wetdry_radar = 2, xyzcurrentnodes_number = "
       "10 12 0: a radar-coverage mask is given at the U nodes, so the V nodes must not outnumber them"},
      {"fewer correction files than records read",
       [] {
         var_cfg.currentcorrection__y_n = 1;
         var_cfg.currcorrectgridformat__xyz_grid = 1;
         var_cfg.currentcorrectionfiles_number = 3;
       },
       "KEY1.cfg:0: currentcorrection__y_n = 1, currentcorrectionfiles_number = 3: the run reads current records 1 "
       "to 4 (currentfilesorlines_number = 5, simulationtimehorizon = 14400 s, deltat_currents = 3600 s, "
       "temporalinterpcurr__y_n = 0), each with its own correction file"},
      {"correction files with blending read one record more",
       [] {
         var_cfg.currentcorrection__y_n = 1;
         var_cfg.currcorrectgridformat__xyz_grid = 1;
         var_cfg.currentcorrectionfiles_number = 4;
         var_run.temporalinterpcurr__y_n = 1;
       },
       "KEY1.cfg:0: currentcorrection__y_n = 1, currentcorrectionfiles_number = 4: the run reads current records 1 "
       "to 5 (currentfilesorlines_number = 5, simulationtimehorizon = 14400 s, deltat_currents = 3600 s, "
       "temporalinterpcurr__y_n = 1), each with its own correction file"},
      {"current format code",
       [] { var_cfg.currentgridformat__xyz_grid = 3; },
       "KEY1.cfg:0: currentgridformat__xyz_grid = 3: current files are node lists (1) or grids (2)"},
      {"correction format code",
       [] {
         var_cfg.currentcorrection__y_n = 1;
         var_cfg.currentcorrectionfiles_number = 5;
         var_cfg.currcorrectgridformat__xyz_grid = 0;
       },
       "KEY1.cfg:0: currcorrectgridformat__xyz_grid = 0: correction files are node lists (1) or grids (2)"},
      {"joint files of regridded currents",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_mallas.currentgrid_regular__y_n = 0;
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, currentgrid_regular__y_n = 0: joint current files are read only "
       "on a regular grid (no joint list is named for regridded currents)"},
      {"joint files in a probabilistic run",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_run.simtype__operat_probabil = 2;
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, simtype__operat_probabil = 2: a probabilistic run names no joint "
       "current list"},
      {"joint files as grids",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_cfg.currentgridformat__xyz_grid = 2;
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, currentgridformat__xyz_grid = 2: joint current files are node "
       "lists"},
      {"joint files with a mask",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_cfg.currentgrid_variable__y_n = 1;
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, currentgrid_variable__y_n = 1: joint current files carry no "
       "wet/dry mask"},
      {"joint files blended in time",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_run.temporalinterpcurr__y_n = 1;
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, temporalinterpcurr__y_n = 1: joint current files cannot be "
       "blended in time (the start-of-interval record is read from separate U and V files)"},
      {"joint files with fewer V than U nodes",
       [] {
         var_cfg.currentfilesjointuvw__y_n = 1;
         var_cfg.xyzcurrentnodes_number = {10, 9, 10};
       },
       "KEY1.cfg:0: currentfilesjointuvw__y_n = 1, xyzcurrentnodes_number = 10 9 10: a joint file gives u and v at "
       "every U node, so the V nodes must be at least as many"},
      {"time-varying grid of regridded currents",
       [] {
         var_cfg.currentgrid_variable__y_n = 1;
         var_mallas.currentgrid_regular__y_n = 0;
       },
       "KEY1.cfg:0: currentgrid_variable__y_n = 1, currentgrid_regular__y_n = 0: a time-varying current grid "
       "needs current files on a regular grid (regridded files carry no wet/dry indicator and no mask list is "
       "named)"},
      {"time-varying grid in grid format with layers",
       [] {
         var_cfg.currentgrid_variable__y_n = 1;
         var_cfg.currentgridformat__xyz_grid = 2;
         var_capas.numcapascorr = 3;
       },
       "KEY1.cfg:0: currentgrid_variable__y_n = 1, currentgridformat__xyz_grid = 2, numcapascorr = 3: the lists of "
       "a time-varying grid in grid format name one file per record, so only one current layer is supported"},
      {"U grid larger than the U nodes",
       [] {
         var_cfg.currentgridformat__xyz_grid = 2;
         var_mallasforz.gridformatcurru_xcells = 4;
         var_mallasforz.gridformatcurru_ycells = 3;
       },
       "KEY1.cfg:0: the U current grid of 4 by 3 nodes does not fit xyzcurrentnodes_number(1) = 10 nodes"},
      {"uniform current blended in time in 3-D",
       [] {
         var_cfg.currenttype__file_constant = 2;
         var_run.temporalinterpcurr__y_n = 1;
         var_run.sim__2d_3d = 2;
       },
       "KEY1.cfg:0: currenttype__file_constant = 2, temporalinterpcurr__y_n = 1, sim__2d_3d = 2: a uniform current "
       "series is blended in time only in 2-D runs"},
      {"wave format code",
       [] { var_cfg.wavesgridformat__xyz_grid = 0; },
       "KEY1.cfg:0: wavesgridformat__xyz_grid = 0: wave files are node lists (1) or grids (2)"},
      {"wave grids of regridded waves",
       [] { var_cfg.wavesgridformat__xyz_grid = 2; },
       "KEY1.cfg:0: wavesgridformat__xyz_grid = 2, wavesgrid_regular__y_n = 0: wave grids need a regular grid "
       "(regridded files are node lists)"},
      {"wind grid larger than the wind nodes",
       [] { var_cfg.xyzwindnodes_number = 29; },
       "KEY1.cfg:0: the wind grid of 5 by 6 nodes does not fit xyzwindnodes_number = 29 nodes"},
  };
  for (const rejection& r : rows) {
    valid_options();
    r.change();
    const input_error e = input_error_of([] { check_forcing_options("KEY1"); });
    EXPECT_STREQ(e.what(), r.message) << r.what;
    EXPECT_EQ(e.line(), 0) << r.what;
  }
}

TEST(ForcingOptions, CurrentRecordsRead) {
  struct row {
    int32_t n;
    float horizon, interval;
    int32_t blend;
    int32_t expected;
  };
  const row rows[] = {
      {5, 14400, 3600, 0, 4},  // records 1 .. int(horizon / interval)
      {5, 14400, 3600, 1, 5},  // blending reads one record ahead
      {3, 14400, 3600, 1, 3},  // held at the list length
      {5, 14400, 3600, 2, 1},  // no advance is read: record 1 only
      {5, 1800, 3600, 0, 1},   // a horizon shorter than a record: record 1
      {5, 16200, 3600, 0, 4},  // 4.5 records: cut to 4
      {5, 14400, 0, 0, 5},     // no valid interval: the whole list
      {0, 14400, 3600, 0, 1},
  };
  for (const row& r : rows) {
    reset_state();
    var_cfg.currentfilesorlines_number = r.n;
    var_cfg.simulationtimehorizon = r.horizon;
    var_cfg.deltat_currents = r.interval;
    var_run.temporalinterpcurr__y_n = r.blend;
    EXPECT_EQ(current_records_read(), r.expected) << r.n << " " << r.horizon << " " << r.interval << " " << r.blend;
  }
  reset_state();
}

}  // namespace
}  // namespace orvel::forcing_test
