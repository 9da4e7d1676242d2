// Bad input never runs silently: mutations of small scenarios, each refused
// at start-up with exit status 2, one error line naming the file and the
// line of the value at fault, and the folder left as it was (no result
// file, no "grid_coordinates.txt", no INT_ file, no working file).
//
// On the drift scenario of drift_test.cpp (uniform series) and on a
// current-file variant of the rotation scenario (joint u, v files of 441
// nodes on a regular grid).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "control/input_ranges.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// Replaces line n (from 1) of `file`.
void set_line(const std::string& file, int n, const std::string& text) {
  std::istringstream in(read_file(file));
  std::string out, line;
  int k = 0;
  while (std::getline(in, line)) out += (++k == n ? text : line) + "\n";
  ASSERT_GE(k, n) << file;
  write_file(file, out);
}

struct mutation {
  const char* what;
  const char* file;      // file changed
  int line;              // line changed
  const char* text;      // its new text
  const char* where;     // "FILE:LINE" the error must name
  const char* message;   // part of the message
};

// Runs the mutated scenario and checks the refusal and the untouched folder.
void expect_refused(const temp_dir& dir, const std::string& key, const mutation& m) {
  SCOPED_TRACE(m.what);
  set_line(m.file, m.line, m.text);
  const std::vector<std::string> before = dir.files();
  const auto r = run_orvel(dir.path(), key);
  EXPECT_EQ(r.status, 2);
  const std::string head = std::string("orvel: error: ") + m.where + ": ";
  EXPECT_EQ(r.err.rfind(head, 0), 0u) << r.err;
  EXPECT_NE(r.err.find(m.message), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_EQ(r.out.find("ORVEL"), std::string::npos) << "banner printed";
  EXPECT_EQ(dir.files(), before);
}

TEST(StartUpValidation, MutationsOfTheDriftScenario) {
  const mutation rows[] = {
      // Run-control file: switches and codes out of range.
      {"environment 3", "DRFT.run", 2, "3", "DRFT.run:2", "simenvironment__sea_river = 3"},
      {"dimension 0", "DRFT.run", 3, "0", "DRFT.run:3", "sim__2d_3d = 0"},
      {"blowout 2", "DRFT.run", 4, "2", "DRFT.run:4", "blowout__y_n = 2"},
      {"direction 0", "DRFT.run", 5, "0", "DRFT.run:5", "simdirection__fore_back = 0"},
      {"data folder 3", "DRFT.run", 7, "3", "DRFT.run:7", "datafolder__same_other = 3"},
      {"land search 0", "DRFT.run", 8, "0", "DRFT.run:8", "search_land__mask_maskandcoast"},
      {"coast algorithm 5", "DRFT.run", 9, "5", "DRFT.run:9", "searchcoastalgorithm__lr_hr = 5"},
      {"no particles", "DRFT.run", 12, "0 0", "DRFT.run:12", "particle_number"},
      {"negative particles", "DRFT.run", 12, "-5 0", "DRFT.run:12", "particle_number"},
      {"absurd particle count", "DRFT.run", 12, "2000000000 0", "DRFT.run:12", "of memory"},
      {"restart switch 2", "DRFT.run", 12, "10 2", "DRFT.run:12", "particle_inipositions__y_n = 2"},
      {"missing restart file", "DRFT.run", 12, "10 1", "DRFT.run:12", "Particle_positions_restart.txt"},
      {"step 0", "DRFT.run", 13, "0.", "DRFT.run:13", "deltat"},
      {"step not a number", "DRFT.run", 13, "nan", "DRFT.run:13", "deltat"},
      {"infinite step", "DRFT.run", 13, "inf", "DRFT.run:13", "deltat = inf"},
      {"blending switch 2", "DRFT.run", 15, "0 2 0", "DRFT.run:15", "temporalinterpwaves__y_n = 2"},
      {"method 3", "DRFT.run", 16, "3", "DRFT.run:16", "numericalmethod__euler_rungekut = 3"},
      {"first output not a number", "DRFT.run", 18, "nan 3600. 3600. 3600", "DRFT.run:18", "firstoutput_time"},
      {"output interval 0", "DRFT.run", 18, "0. 0. 3600. 3600", "DRFT.run:18", "deltatoutput_parts = 0"},
      {"infinite output interval", "DRFT.run", 18, "0. inf 3600. 3600", "DRFT.run:18", "deltatoutput_parts"},
      {"output switch 2", "DRFT.run", 19, "1 0 2", "DRFT.run:19", "outputpropierties__y_n = 2"},
      // Scenario file: the model grid.
      {"spacing 0", "DRFT.cfg", 4, "-10.0 42.0 0.0 0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "deltax = 0"},
      {"negative spacing", "DRFT.cfg", 4, "-10.0 42.0 0.1 -0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "deltay = -0.1"},
      {"spacing not a number", "DRFT.cfg", 4, "-10.0 42.0 nan 0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "deltax"},
      {"infinite origin", "DRFT.cfg", 4, "inf 42.0 0.1 0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "grid0_x"},
      {"no columns", "DRFT.cfg", 4, "-10.0 42.0 0.1 0.1 0.0 0 21 1 43.0", "DRFT.cfg:4", "xcells_number = 0"},
      {"negative rows", "DRFT.cfg", 4, "-10.0 42.0 0.1 0.1 0.0 21 -3 1 43.0", "DRFT.cfg:4", "ycells_number = -3"},
      {"mean latitude not a number", "DRFT.cfg", 4, "-10.0 42.0 0.1 0.1 0.0 21 21 1 nan", "DRFT.cfg:4", "latmean"},
      {"absurd mean latitude", "DRFT.cfg", 4, "-10.0 42.0 0.1 0.1 0.0 21 21 1 4300", "DRFT.cfg:4", "latmean"},
      {"concentration grid switch 2", "DRFT.cfg", 7, "2", "DRFT.cfg:7", "concgrid_same_grid__y_n = 2"},
      {"stick switch 2", "DRFT.cfg", 10, "2", "DRFT.cfg:10", "coastline_sticknostick_option__y_n = 2"},
      {"spreading switch 2", "DRFT.cfg", 13, "2 1 24", "DRFT.cfg:13", "spreading__y_n = 2"},
      {"evaporation switch 3", "DRFT.cfg", 14, "3", "DRFT.cfg:14", "evaporation__y_n = 3"},
      // The spill line.
      {"release longitude not a number", "DRFT.cfg", 23,
       "1 0.0 1000.0 nan 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
       "70.0 1025.0 15.0 20.0",
       "DRFT.cfg:23", "spillposition_x of spill line 1"},
      {"release latitude 95", "DRFT.cfg", 23,
       "1 0.0 1000.0 -9.0 95.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
       "70.0 1025.0 15.0 20.0",
       "DRFT.cfg:23", "spillposition_y of spill line 1 = 95"},
      {"infinite start time", "DRFT.cfg", 23,
       "1 inf 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
       "70.0 1025.0 15.0 20.0",
       "DRFT.cfg:23", "spillstarttime"},
      {"negative side", "DRFT.cfg", 23,
       "1 0.0 1000.0 -9.0 43.0 0.0 -1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
       "70.0 1025.0 15.0 20.0",
       "DRFT.cfg:23", "spillsize_sidex"},
      // Horizon and forcing.
      {"horizon not a number", "DRFT.cfg", 26, "nan", "DRFT.cfg:26", "simulationtimehorizon"},
      {"negative horizon", "DRFT.cfg", 26, "-6", "DRFT.cfg:26", "simulationtimehorizon"},
      {"infinite horizon", "DRFT.cfg", 26, "inf", "DRFT.cfg:26", "simulationtimehorizon"},
      {"past ten years", "DRFT.cfg", 26, "87601", "DRFT.cfg:26",
       "simulationtimehorizon = 87601: must be a finite number from 0 to 87600 h"},
      {"current type 3", "DRFT.cfg", 28, "3 0 0 0 0 0", "DRFT.cfg:28", "currenttype__file_constant = 3"},
      {"regular-grid switch 2", "DRFT.cfg", 28, "2 2 0 0 0 0", "DRFT.cfg:28", "currentgrid_regular__y_n = 2"},
      {"varying-grid switch 3", "DRFT.cfg", 28, "2 0 3 0 0 0", "DRFT.cfg:28", "currentgrid_variable__y_n = 3"},
      {"joint-file switch 5", "DRFT.cfg", 28, "2 0 0 0 0 5", "DRFT.cfg:28", "currentfilesjointuvw__y_n = 5"},
      {"current interval 0", "DRFT.cfg", 31, "0 6 0", "DRFT.cfg:31", "deltat_currents = 0"},
      {"current interval not a number", "DRFT.cfg", 31, "nan 6 0", "DRFT.cfg:31", "deltat_currents"},
      {"no current records", "DRFT.cfg", 31, "1 0 0", "DRFT.cfg:31", "currentfilesorlines_number = 0"},
      {"negative current records", "DRFT.cfg", 31, "1 -2 0", "DRFT.cfg:31", "currentfilesorlines_number = -2"},
      {"wave type 5", "DRFT.cfg", 35, "5 0", "DRFT.cfg:35", "wavestype__file_constant = 5"},
      {"wave interval 0", "DRFT.cfg", 37, "0 6", "DRFT.cfg:37", "deltat_waves = 0"},
      {"no wave records", "DRFT.cfg", 37, "1 0", "DRFT.cfg:37", "wavesfilesorlines_number = 0"},
      {"wind regular-grid switch 7", "DRFT.cfg", 40, "2 7", "DRFT.cfg:40", "windgrid_regular__y_n = 7"},
      {"infinite wind interval", "DRFT.cfg", 42, "inf 6", "DRFT.cfg:42", "deltat_wind"},
      // Drift and diffusion coefficients.
      {"current coefficient not a number", "DRFT.cfg", 46, "nan 0.0 0.0 0.0 0 0.0 0.0 0.0", "DRFT.cfg:46",
       "currentcoeff of spill line 1"},
      {"infinite wind drag", "DRFT.cfg", 46, "1.0 inf 0.0 0.0 0 0.0 0.0 0.0", "DRFT.cfg:46", "dragcoeff_a"},
      {"diffusion switch 2", "DRFT.cfg", 46, "1.0 0.0 0.0 0.0 2 0.0 0.0 0.0", "DRFT.cfg:46",
       "turbdiffusion__y_n of spill line 1 = 2"},
      {"K_h not a number", "DRFT.cfg", 46, "1.0 0.0 0.0 0.0 1 nan 0.0 0.0", "DRFT.cfg:46", "diffusioncoeff_kh"},
      {"negative K_h", "DRFT.cfg", 46, "1.0 0.0 0.0 0.0 1 -2.0 0.0 0.0", "DRFT.cfg:46", "diffusioncoeff_kh"},
      // Series values.
      {"current speed not a number", "lstcurr.pre", 3, "nan 0.0", "lstcurr.pre:3", "a finite real number"},
  };
  for (const auto& m : rows) {
    temp_dir dir;
    copy_scenario("drift");
    expect_refused(dir, "DRFT", m);
  }
}

void current_file_scenario();

// Line `text` with its whitespace-separated item `item` (from 1) replaced.
std::string with_item(const std::string& text, int item, const std::string& value) {
  std::istringstream in(text);
  std::string out, word;
  for (int k = 1; in >> word; ++k) out += (out.empty() ? "" : " ") + (k == item ? value : word);
  return out;
}

// The drift scenario's spill as weathering oil (evaporation on), or the
// chemical scenario, each as it stands a valid run.
const std::string drift_spill =
    "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 "
    "70.0 1025.0 15.0 20.0";
const std::string chemical_spill =
    "1 0.0 10000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 0.0 0 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 78.11 "
    "1.0 50.0 0.0 0.0 1025.0 15.0 20.0";
void oil_scenario() {
  copy_scenario("drift");
  set_line("DRFT.cfg", 12, "2");
  set_line("DRFT.cfg", 14, "1");
}

// One value at a time out of its range: each refused with exit status 2,
// one line naming the file, the line, the value and the range, and the
// folder as it was.  Oil, a chemical, a blowout and a current-file run.
TEST(StartUpValidation, ValuesOutOfTheirPhysicalRange) {
  struct row {
    const char* scenario;  // "oil", "chemical", "blowout"
    mutation m;
    std::string text;  // the new line when the mutation's text is empty
  };
  const auto oil = [](int item, const char* v) { return with_item(drift_spill, item, v); };
  const auto chem = [](int item, const char* v) { return with_item(chemical_spill, item, v); };
  const row rows[] = {
      // Substance values (spill line items 13 to 28, record 20).
      {"oil", {"viscosity 0", "DRFT.cfg", 23, "", "DRFT.cfg:23", "viscosity of spill line 1 = 0: must be a finite number from 0.01 to 1e+12 cSt"}, oil(15, "0")},
      {"oil", {"negative viscosity", "DRFT.cfg", 23, "", "DRFT.cfg:23", "viscosity of spill line 1 = -5"}, oil(15, "-5")},
      {"oil", {"evaporation cap -30 %", "DRFT.cfg", 23, "", "DRFT.cfg:23", "maxevaporation of spill line 1 = -30: must be a finite number from 0 to 100 %"}, oil(23, "-30")},
      {"oil", {"evaporation cap 150 %", "DRFT.cfg", 23, "", "DRFT.cfg:23", "maxevaporation of spill line 1 = 150"}, oil(23, "150")},
      {"oil", {"water content 150 %", "DRFT.cfg", 23, "", "DRFT.cfg:23", "maxemulsification of spill line 1 = 150: must be a finite number from 0 to 95 %"}, oil(25, "150")},
      {"oil", {"density reference not a number", "DRFT.cfg", 23, "", "DRFT.cfg:23", "densityreferencetemperature of spill line 1 = nan"}, oil(14, "nan")},
      {"oil", {"water at 1e11 C", "DRFT.cfg", 23, "", "DRFT.cfg:23", "watertemperature of spill line 1 = 1e+11: must be a finite number from -50 to 100 degrees C"}, oil(27, "1e11")},
      {"oil", {"infinite air temperature", "DRFT.cfg", 23, "", "DRFT.cfg:23", "airtemperature of spill line 1 = inf"}, oil(28, "inf")},
      {"oil", {"water viscosity 0", "DRFT.cfg", 18, "0", "DRFT.cfg:18", "kinemviscosity_water = 0: must be a finite number from 1e-07 to 0.0001 m2/s"}, ""},
      {"chemical", {"negative vapour pressure", "CHEM.cfg", 24, "", "CHEM.cfg:24", "vaporpressure of spill line 1 = -12.7"}, chem(19, "-12.7")},
      {"chemical", {"negative solubility", "CHEM.cfg", 24, "", "CHEM.cfg:24", "watersolubility of spill line 1 = -1"}, chem(17, "-1")},
      {"chemical", {"infinite molecular weight", "CHEM.cfg", 24, "", "CHEM.cfg:24", "hnsmolweight of spill line 1 = inf"}, chem(21, "inf")},
      {"chemical", {"negative sediment", "CHEM.cfg", 26, "-10.0 2.13 0.0", "CHEM.cfg:26", "sedimentsconcentration of spill line 1 = -10"}, ""},
      {"chemical", {"negative degradation", "CHEM.cfg", 26, "10.0 2.13 -1", "CHEM.cfg:26", "degradation_rate of spill line 1 = -1"}, ""},
      {"chemical", {"negative calibration factor", "CHEM_HNS.calib", 8, "-1.0", "./CHEM_HNS.calib:8", "k2 = -1: must be a finite number from 0 to 100"}, ""},
      {"chemical", {"infinite km", "CHEM_HNS.calib", 4, "inf", "./CHEM_HNS.calib:4", "km = inf"}, ""},
      // Mass and volume.
      {"oil", {"mass 0", "DRFT.cfg", 23, "", "DRFT.cfg:23", "spilledmass of spill line 1 = 0: must be a finite number greater than 0"}, oil(3, "0")},
      {"oil", {"volume 0", "DRFT.cfg", 23, "", "DRFT.cfg:23", "spillvolume of spill line 1 = 0"}, oil(11, "0")},
      {"oil", {"1000 t in 1 m3", "DRFT.cfg", 23, "", "DRFT.cfg:23", "spillvolume of spill line 1 = 1 m3 does not match spilledmass / density = 1e+06 kg / 900 kg/m3 = 1111.11 m3"}, oil(3, "1000000.0")},
      {"chemical", {"chemical mass 0", "CHEM.cfg", 24, "", "CHEM.cfg:24", "spilledmass of spill line 1 = 0"}, chem(3, "0")},
      // Finite but absurd magnitudes.
      {"oil", {"start at 1e308 s", "DRFT.cfg", 23, "", "DRFT.cfg:23", "spillstarttime of spill line 1 = 1e+308: must be a finite number from 0 to 87600 h"}, oil(2, "1e308")},
      {"oil", {"side of 1e11 m", "DRFT.cfg", 23, "", "DRFT.cfg:23", "spillsize_sidey of spill line 1 = 1e+11"}, oil(8, "1e11")},
      {"oil", {"spacing of 1e11 degrees", "DRFT.cfg", 4, "-10.0 42.0 1e11 0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "deltax = 1e+11: must be a finite number greater than 0 and at most 360 degrees"}, ""},
      {"oil", {"origin at 1e11 degrees", "DRFT.cfg", 4, "1e11 42.0 0.1 0.1 0.0 21 21 1 43.0", "DRFT.cfg:4", "grid0_x = 1e+11"}, ""},
      {"oil", {"rows past the pole", "DRFT.cfg", 4, "-10.0 42.0 0.1 5.0 0.0 21 21 1 43.0", "DRFT.cfg:4", "ycells_number = 21: 21 rows 5 degrees apart from 42 reach beyond latitude 90"}, ""},
      {"oil", {"drift factor 1e11", "DRFT.cfg", 46, "1.0 1e11 0.0 0.0 0 0.0 0.0 0.0", "DRFT.cfg:46", "dragcoeff_a of spill line 1 = 1e+11"}, ""},
      {"oil", {"diffusivity 1e11", "DRFT.cfg", 46, "1.0 0.0 0.0 0.0 1 1e11 0.0 0.0", "DRFT.cfg:46", "diffusioncoeff_kh of spill line 1 = 1e+11: must be a finite number from 0 to 100000 m2/s"}, ""},
      {"oil", {"horizon of 1e6 h", "DRFT.cfg", 26, "1e6", "DRFT.cfg:26", "simulationtimehorizon = 1e+06"}, ""},
      {"oil", {"step of eleven years", "DRFT.run", 13, "3.5e8", "DRFT.run:13", "deltat = 3.5e+08: must be a finite number greater than 0 and at most 315360000 s"}, ""},
      {"oil", {"series line at 1e308", "lstcurr.pre", 3, "1e308 0.0", "lstcurr.pre:3", "current speed = 1e+308: must be a finite number from 0 to 15 m/s"}, ""},
      {"oil", {"wind of 1000 m/s", "lstwinds.pre", 2, "1000 270", "lstwinds.pre:2", "wind speed = 1000"}, ""},
      // Blowout files.
      {"blowout", {"jet end not a number", "FinalJetAxisPosition.txt", 2, "nan 43.0 100.0 20.0", "FinalJetAxisPosition.txt:2", "jet-end longitude = nan"}, ""},
      {"blowout", {"jet end above the surface", "FinalJetAxisPosition.txt", 2, "-9.0 43.0 -5.0 20.0", "FinalJetAxisPosition.txt:2", "jet-end depth = -5: the jet ends above the sea surface"}, ""},
      {"blowout", {"infinite jet radius", "FinalJetAxisPosition.txt", 2, "-9.0 43.0 100.0 inf", "FinalJetAxisPosition.txt:2", "jet-end radius = inf"}, ""},
      {"blowout", {"diameter 0", "DropletDiametersAndFlotSpeed.txt", 4, "0.0 0.01", "DropletDiametersAndFlotSpeed.txt:4", "diameter = 0: must be a finite number greater than 0"}, ""},
      {"blowout", {"negative diameter", "DropletDiametersAndFlotSpeed.txt", 2, "-0.0005 0.01", "DropletDiametersAndFlotSpeed.txt:2", "diameter = -0.0005"}, ""},
      {"blowout", {"rise speed not a number", "DropletDiametersAndFlotSpeed.txt", 11, "0.0005 nan", "DropletDiametersAndFlotSpeed.txt:11", "rise speed = nan: must be a finite number from -10 to 10 m/s"}, ""},
      {"blowout", {"short droplet file", "DropletDiametersAndFlotSpeed.txt", 11, "", "DropletDiametersAndFlotSpeed.txt:11", "end of file: expected the diameter and rise speed of particle 10 of spill 1"}, ""},
      {"blowout", {"3-D surface current from 400 degrees", "lstcurr3D.pre", 4, "0.0 400.0 0.0 270.0", "lstcurr3D.pre:4", "direction = 400"}, ""},
      {"blowout", {"3-D column current from 400 degrees", "lstcurr3D.pre", 4, "0.0 270.0 0.0 400.0", "lstcurr3D.pre:4", "direction = 400"}, ""},
      {"blowout", {"3-D column current at 20 m/s", "lstcurr3D.pre", 4, "0.0 270.0 20.0 270.0", "lstcurr3D.pre:4", "water-column current speed = 20"}, ""},
      {"blowout", {"short 3-D series", "lstcurr3D.pre", 7, "", "lstcurr3D.pre:6", "the series ends after 4 records, but its count (5) needs 5"}, ""},
  };
  for (const auto& r : rows) {
    temp_dir dir;
    std::string key;
    if (std::string(r.scenario) == "oil") {
      oil_scenario();
      key = "DRFT";
    } else if (std::string(r.scenario) == "chemical") {
      copy_scenario("chemical");
      key = "CHEM";
    } else {
      copy_scenario("blowout");
      key = "BLOW";
    }
    mutation m = r.m;
    m.text = r.text.empty() ? m.text : r.text.c_str();
    if (std::string(m.what) == "short droplet file" || std::string(m.what) == "short 3-D series") {
      // The last line taken away.
      std::string t = read_file(m.file);
      t.erase(t.rfind('\n', t.size() - 2) + 1);
      write_file(m.file, t);
      m.line = 1;
      m.text = nullptr;
    }
    if (m.text == nullptr) {
      SCOPED_TRACE(m.what);
      const std::vector<std::string> before = dir.files();
      const auto res = run_orvel(dir.path(), key);
      EXPECT_EQ(res.status, 2);
      EXPECT_EQ(res.err.rfind(std::string("orvel: error: ") + m.where + ": ", 0), 0u) << res.err;
      EXPECT_NE(res.err.find(m.message), std::string::npos) << res.err;
      EXPECT_EQ(dir.files(), before);
      continue;
    }
    expect_refused(dir, key, m);
  }
}

TEST(StartUpValidation, TheScenariosOfTheRangeTableRunAsTheyStand) {
  // Every mutation above starts from a run that is accepted as it stands.
  {
    temp_dir dir;
    oil_scenario();
    run_ok("DRFT");
  }
  for (const char* s : {"chemical", "blowout"}) {
    temp_dir dir;
    copy_scenario(s);
    const auto r = run_orvel(dir.path(), std::string(s) == "chemical" ? "CHEM" : "BLOW");
    EXPECT_EQ(r.status, 0) << r.err;
  }
}

TEST(StartUpValidation, AJetEndOnLandIsRefused) {
  temp_dir dir;
  copy_scenario("blowout");
  std::string grid = read_file("grid.dat");
  for (std::size_t p = grid.find("500.0"); p != std::string::npos; p = grid.find("500.0", p)) grid.replace(p, 5, "-5.0");
  write_file("grid.dat", grid);
  const std::vector<std::string> before = dir.files();
  const auto r = run_orvel(dir.path(), "BLOW");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "orvel: error: FinalJetAxisPosition.txt:2: the jet end at longitude -9, latitude 43 lies on land (model "
            "depth -5 m)\n");
  EXPECT_EQ(dir.files(), before);
}

// Files that the run would meet only after its first results: found at
// start-up instead.
TEST(StartUpValidation, ListsSeriesAndResultNamesAreCheckedBeforeAnythingIsWritten) {
  {
    // A current file named in the list that does not exist.
    temp_dir dir;
    current_file_scenario();
    expect_refused(dir, "ROTA",
                   {"missing current file", "lstcurr_UVW.pre", 5, "gone.txt", "lstcurr_UVW.pre:5",
                    "names the file \"gone.txt\", which does not exist"});
  }
  {
    // A restart position off the globe, and a restart file one particle
    // short (three particles).
    temp_dir dir;
    current_file_scenario();
    expect_refused(dir, "ROTA",
                   {"restart latitude 95", "Particle_positions_restart.txt", 3, "2 -9.0 95.0 0.0 1",
                    "Particle_positions_restart.txt:3", "latitude = 95: must be a finite number from -90 to 90"});
  }
  for (const mutation& m :
       {mutation{"restart state 6", "Particle_positions_restart.txt", 4, "3 -9.0 42.9 0.0 6",
                 "Particle_positions_restart.txt:4", "state code = 6: must be a finite number from -2 to 5"},
        mutation{"restart state 1.5", "Particle_positions_restart.txt", 2, "1 -9.0 43.0 0.0 1.5",
                 "Particle_positions_restart.txt:2", "state code = 1.5: must be a whole number"}}) {
    temp_dir dir;
    current_file_scenario();
    expect_refused(dir, "ROTA", m);
  }
  {
    temp_dir dir;
    current_file_scenario();
    write_file("Particle_positions_restart.txt",
               "particle longitude latitude depth state\n1 -9.0 43.0 0.0 1\n2 -9.0 43.1 0.0 1\n");
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "ROTA");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("orvel: error: Particle_positions_restart.txt:", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("end of file: expected the record of particle 3 of spill 1"), std::string::npos) << r.err;
    EXPECT_EQ(dir.files(), before);
  }
  {
    // A list shorter than its count: 24 records, 20 names.
    temp_dir dir;
    current_file_scenario();
    write_file("lstcurr_UVW.pre", lines(20, "c.txt"));
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "ROTA");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("orvel: error: lstcurr_UVW.pre:20: the list holds 20 file names, but "
                          "currentfilesorlines_number needs ", 0),
              0u)
        << r.err;
    EXPECT_EQ(dir.files(), before);
  }
  {
    // A uniform series shorter than its count (6 records, 5 lines).
    temp_dir dir;
    copy_scenario("drift");
    write_file("lstwaves.pre", lines(5, "0.5 0.0 4.0"));
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "DRFT");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "orvel: error: lstwaves.pre:5: the series ends after 5 records, but its count (6) needs 6\n");
    EXPECT_EQ(dir.files(), before);
  }
  {
    // A result name taken by a folder.
    temp_dir dir;
    copy_scenario("drift");
    std::filesystem::create_directory("DRFT_particles_000120.txt");
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "DRFT");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("orvel: error: DRFT_particles_000120.txt:0: this run writes a result under this name, "
                          "which is taken by a folder",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(dir.files(), before);
  }
  for (const char* taken : {"DRFT_properties_001.txt", "DRFT_grid_001_000060.txt"}) {
    // A property or grid file name of a run that writes both, taken by a
    // folder: refused before the first result is written.
    temp_dir dir;
    copy_scenario("drift");
    set_line("DRFT.run", 19, "1 1 1");
    std::filesystem::create_directory(taken);
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "DRFT");
    EXPECT_EQ(r.status, 2) << taken;
    EXPECT_EQ(r.err.rfind(std::string("orvel: error: ") + taken + ":0: this run writes a result under this name", 0), 0u)
        << r.err;
    EXPECT_EQ(dir.files(), before) << taken;
  }
  {
    // No run writes a concentration-factor file: a folder named like one
    // (and like the property files of a floating object that are written)
    // is no result name of the run.
    temp_dir dir;
    copy_scenario("drift");
    std::filesystem::create_directory("DRFT_CF_001.txt");
    std::filesystem::create_directory("DRFT_CF_subspill_001.txt");
    run_ok("DRFT");
    EXPECT_TRUE(std::filesystem::is_directory("DRFT_CF_001.txt"));
  }
}

TEST(StartUpValidation, ReleasesThatDoNothingAreWarnedOf) {
  struct row {
    const char* what;
    const char* scenario;
    int line;
    std::string text;
    const char* warning;
  };
  const row rows[] = {
      // The release point 0.11 degrees west of the grid's edge, the east
      // end of its 20 km wide rectangle over the grid: the release is not
      // wholly outside (that is refused) and the particles placed outside
      // are lost.
      {"chemical released across the grid's edge", "chemical", 24,
       with_item(with_item(chemical_spill, 4, "-10.11"), 7, "20000.0"),
       "orvel: warning: the chemical of spill line 1 is released at longitude -10.11, latitude 43, outside the "
       "model grid"},
      {"oil at a point without spreading", "oil", 23, with_item(with_item(drift_spill, 7, "0.0"), 8, "0.0"),
       "orvel: warning: the oil of spill line 1 is released at a point (spillsize_sidex x spillsize_sidey = 0) and "
       "does not spread: its slick has no area, so it neither evaporates nor disperses\n"},
      {"release below the sea floor", "hns3d", 24,
       "1 0.0 1000.0 -9.0 43.0 150.0 0.0 0.0 0.01 0.0001 1.0 0 600.0 15.0 3000.0 15.0 100.0 25.0 0.1 25.0 78.0 1.0 "
       "100.0 0.0 0.0 1025.0 15.0 20.0",
       "orvel: warning: the release depth 150 m of spill line 1 lies at or below the sea floor (100 m there): "
       "its particles start just above the floor\n"},
      {"chemical released at the sea floor", "hns3d", 24,
       "1 0.0 1000.0 -9.0 43.0 100.0 0.0 0.0 0.01 0.0001 1.0 0 600.0 15.0 3000.0 15.0 100.0 25.0 0.1 25.0 78.0 1.0 "
       "100.0 0.0 0.0 1025.0 15.0 20.0",
       "orvel: warning: the release depth 100 m of spill line 1 lies at or below the sea floor (100 m there): "
       "its particles start just above the floor\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    temp_dir dir;
    std::string key = "CHEM";
    if (std::string(r.scenario) == "oil") {
      oil_scenario();
      key = "DRFT";
      set_line("DRFT.cfg", r.line, r.text);
    } else if (std::string(r.scenario) == "hns3d") {
      copy_scenario("hns3d");
      key = "HNS3";
      set_line("HNS3.cfg", r.line, r.text);
    } else {
      copy_scenario("chemical");
      set_line("CHEM.cfg", r.line, r.text);
    }
    const auto res = run_orvel(dir.path(), key);
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.err.rfind(r.warning, 0), 0u) << res.err;
  }
}

// The same key run twice at once in one folder: the second is refused while
// the first holds the key's lock; the lock goes with the process.
TEST(StartUpValidation, OneRunOfAKeyAtATime) {
  temp_dir dir;
  copy_scenario("drift");
  const int fd = ::open("DRFT.lock", O_RDWR | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "orvel: error: DRFT.lock:0: another run of key \"DRFT\" is running in this folder: two runs of one key "
            "would write the same files\n");
  EXPECT_EQ(r.out.find("ORVEL"), std::string::npos);
  ::close(fd);  // the first run ends
  run_ok("DRFT");
  EXPECT_FALSE(std::filesystem::exists("DRFT.lock"));
  // Twenty runs of one key started together: each ends completed or
  // refused by the lock, never with a file of another's.
  const std::string bin = ORVEL_BINARY;
  std::string cmd = "cd '" + dir.path().string() + "' && (";
  for (int i = 0; i < 20; ++i) cmd += "('" + bin + "' DRFT >/dev/null 2>.e" + std::to_string(i) + "; echo $? >.s" + std::to_string(i) + ") & ";
  cmd += "wait)";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  int completed = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string status = read_file(".s" + std::to_string(i));
    const std::string err = read_file(".e" + std::to_string(i));
    if (status == "0\n") {
      ++completed;
      EXPECT_EQ(err, "");
    } else {
      EXPECT_EQ(status, "2\n");
      EXPECT_NE(err.find("another run of key"), std::string::npos) << err;
    }
    std::filesystem::remove(".s" + std::to_string(i));
    std::filesystem::remove(".e" + std::to_string(i));
  }
  EXPECT_GE(completed, 1);
  for (const auto& f : dir.files()) EXPECT_EQ(f.find("partial"), std::string::npos) << f;
  EXPECT_FALSE(std::filesystem::exists("DRFT.lock"));
}

TEST(StartUpValidation, AMissingSeriesFileIsRefusedBeforeAnythingIsWritten) {
  for (const char* series : {"lstcurr.pre", "lstwinds.pre", "lstwaves.pre"}) {
    SCOPED_TRACE(series);
    temp_dir dir;
    copy_scenario("drift");
    std::filesystem::remove(series);
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "DRFT");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, std::string("orvel: error: ") + series + ":0: cannot open the file (missing or unreadable)\n");
    EXPECT_EQ(r.out.find("ORVEL"), std::string::npos) << "banner printed";
    EXPECT_EQ(dir.files(), before);
  }
}

TEST(StartUpValidation, ACoastlineAroundButNotInsideTheGridIsAcceptedWithAWarning) {
  // An open-sea run (grid 10 W to 8 W, 42 N to 44 N) whose coastline
  // reaches past the grid on both sides but has no point inside it.
  temp_dir dir;
  copy_scenario("coast");
  write_file("costa.dat", "-20.0 43.0\n0.0 43.1\n");
  const auto r = run_orvel(dir.path(), "COST");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("The simulation completed succesfully!"), std::string::npos);
  EXPECT_EQ(r.err,
            "orvel: warning: the coastline file has no point inside the model grid, so particles that reach land "
            "are lost (state -2) instead of beaching\n");
}

TEST(StartUpValidation, ACoastlineThatMissesTheGridIsRefusedWithBothExtents) {
  // Grid 10 W to 8 W, 42 N to 44 N.  Each coastline lies wholly beside it;
  // the message names the file, both extents and the likely slip.
  struct coast_case {
    const char* what;
    const char* text;
    const char* says;
  };
  const coast_case cases[] = {
      {"another place", "-20.0 10.0\n-20.0 10.1\n", "longitudes -20 to -20, latitudes 10 to 10.1"},
      {"0 to 360", "351.0 43.0\n351.5 43.2\n", "the longitudes run from 0 to 360 degrees east"},
      {"swapped", "43.0 -9.0\n43.2 -9.5\n", "longitude and latitude seem swapped"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    temp_dir dir;
    copy_scenario("coast");
    write_file("costa.dat", c.text);
    const std::vector<std::string> before = dir.files();
    const auto r = run_orvel(dir.path(), "COST");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err.rfind("orvel: error: ./costa.dat:0: the coastline covers ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("the model grid longitudes -10 to -8, latitudes 42 to 44"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(dir.files(), before);
  }
}

TEST(StartUpValidation, AChemicalNeedsAPositiveMolecularWeightAndAirTemperature) {
  // The drift scenario's spill as a chemical (molecular weight 78 g/mol, air
  // at 20 C), then each value made impossible on the spill line (line 23).
  const std::string head = "1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 ";
  const mutation rows[] = {
      {"molecular weight 0", "DRFT.cfg", 23, "", "DRFT.cfg:23", "hnsmolweight"},
      {"air below absolute zero", "DRFT.cfg", 23, "", "DRFT.cfg:23", "airtemperature"},
  };
  const std::string lines[] = {head + "0 0 40.0 5.0 70.0 1025.0 15.0 20.0", head + "78 0 40.0 5.0 70.0 1025.0 15.0 -300.0"};
  for (int i = 0; i < 2; ++i) {
    temp_dir dir;
    copy_scenario("drift");
    replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n", "* a chemical\n3\n");
    write_file("DRFT_HNS.calib", "2\n0.002\n2\n1.21\n3.0\n0\n0.0001\n");
    mutation m = rows[i];
    m.text = lines[i].c_str();
    expect_refused(dir, "DRFT", m);
  }
}

TEST(StartUpValidation, AChemicalSpreadsOrNot) {
  // A spreading switch other than 0 or 1 would leave a thick chemical slick
  // neither moved nor weathered: refused for both chemical engines, whatever
  // the calibration file's spreading algorithm.
  for (const char* dims : {"1", "2"}) {
    SCOPED_TRACE(dims);
    temp_dir dir;
    copy_scenario("drift");
    replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n", "* a chemical\n3\n");
    set_line("DRFT.run", 3, dims);
    write_file("DRFT_HNS.calib", "2\n0.002\n2\n1.21\n3.0\n0\n0.0001\n");
    expect_refused(dir, "DRFT",
                   {"spreading switch 2", "DRFT.cfg", 13, "2 1 24", "DRFT.cfg:13",
                    "spreading__y_n = 2: must be 0 (no) or 1 (yes)"});
  }
}

TEST(StartUpValidation, ACurrentInputThatOnlyThreeDimensionsReadIsMissing) {
  // The drift scenario made three-dimensional: each current input form
  // reads a file of its own that the two-dimensional run does not; a
  // missing one is refused at record 2 of DRFT.run, the reason it is
  // wanted, before anything is written.
  struct row {
    const char* currents;  // record 22
    const char* input_3d;  // record 23
    const char* file;
    const char* chosen;
  };
  const row rows[] = {
      {"2 0 0 0 0 0", "1", "\"lstcurr3D.pre\"", "the uniform current series of currenttype__file_constant = 2"},
      {"1 1 0 0 0 1", "1", "\"currents_layerDepths.pre\"",
       "the depths of the current layers of current3dinputformat_layers_average = 1"},
      {"1 1 0 0 0 1", "2", "\"./lstcurr_UVW_col.pre\"",
       "the depth-mean current series of current3dinputformat_layers_average = 2"},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.file);
    temp_dir dir;
    copy_scenario("drift");
    set_line("DRFT.cfg", 28, c.currents);
    set_line("DRFT.cfg", 29, c.input_3d);
    set_line("DRFT.cfg", 32, "4 4 4");
    // The data folder makes the depth-mean series' name differ from its bare name.
    if (std::string(c.input_3d) == "2") set_line("DRFT.run", 7, "2");
    const std::string message = std::string("sim__2d_3d = 2 (a three-dimensional run) reads ") + c.chosen +
                                " (DRFT.cfg) from " + c.file + ", which does not exist";
    expect_refused(dir, "DRFT", {"three dimensions", "DRFT.run", 3, "2", "DRFT.run:3", message.c_str()});
  }
  // The uniform series' message also names the two-dimensional series.
  temp_dir dir;
  copy_scenario("drift");
  set_line("DRFT.run", 3, "2");
  const auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("; a two-dimensional run reads \"lstcurr.pre\" instead\n"), std::string::npos) << r.err;
}

TEST(StartUpValidation, ConstantSeriesOfOneRecordWarnOnce) {
  // Uniform series of one record each hold their value for the whole run:
  // one warning names them all; a forcing of several records that end
  // before the run keeps its own warning.
  temp_dir dir;
  copy_scenario("drift");
  set_line("DRFT.cfg", 31, "1 1 0");
  set_line("DRFT.cfg", 37, "1 1");
  set_line("DRFT.cfg", 42, "1 1");
  auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: the current, wave and wind series have one record (currentfilesorlines_number, "
            "wavesfilesorlines_number, windfilesorlines_number = 1): each is held constant for the whole run\n");
  // One constant series, and two series of two hourly records for six hours.
  set_line("DRFT.cfg", 37, "1 2");
  set_line("DRFT.cfg", 42, "1 2");
  r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: the run lasts 21600 s, but the 2 wave records (wavesfilesorlines_number) every 3600 s "
            "cover only 7200 s: the last record is used for the rest of the run\n"
            "orvel: warning: the run lasts 21600 s, but the 2 wind records (windfilesorlines_number) every 3600 s "
            "cover only 7200 s: the last record is used for the rest of the run\n"
            "orvel: warning: the current series has one record (currentfilesorlines_number = 1): it is held "
            "constant for the whole run\n");
}

TEST(StartUpValidation, NearlyCollinearScatteredWindIsRefused) {
  // The drift scenario's wind as five scattered nodes regridded onto the
  // model grid: four on a diagonal and one 2e-5 degrees off it.  The
  // triangulation accepts them, but they are collinear within the rounding
  // of their single-precision coordinates (inside their sliver of a hull the
  // regridded winds would be hundreds of m/s from data of 0.6 to 2.6 m/s).
  temp_dir dir;
  copy_scenario("drift");
  set_line("DRFT.cfg", 40, "1 0");
  set_line("DRFT.cfg", 43, "5");
  write_file("w.txt",
             "-9.500000 42.500000 0.6 0.5\n-9.000000 43.000000 1.1 0.5\n-8.500000 43.500020 2.6 0.5\n"
             "-8.000000 44.000000 1.9 0.5\n-9.250000 42.750000 1.4 0.5\n");
  write_file("lstwinds.pre", lines(6, "w.txt"));
  const std::vector<std::string> before = dir.files();
  const auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("orvel: error: w.txt:0: the 5 nodes of this file lie within ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("collinear to the precision of their positions"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_EQ(r.out.find("ORVEL"), std::string::npos) << "banner printed";
  EXPECT_EQ(dir.files(), before);  // no INT_ file, no list, no grid_coordinates.txt
}

TEST(StartUpValidation, TheDiffusionStopKeepsItsTextAndNamesTheLine) {
  temp_dir dir;
  copy_scenario("drift");
  set_line("DRFT.cfg", 46, "1.0 0.0 0.0 0.0 2 0.0 0.0 0.0");
  const auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, " OPCION NO VALIDA PARA DISPERSION\n");
  EXPECT_EQ(r.err,
            "orvel: error: DRFT.cfg:46: turbdiffusion__y_n of spill line 1 = 2: must be 0 (no random walk) or 1 "
            "(random walk)\n");
}

// The rotation scenario with one joint current file of its 441 nodes named
// for every hour.
void current_file_scenario() {
  copy_scenario("rotation");
  std::string field;
  char line[96];
  for (int i = 0; i <= 20; ++i) {
    for (int j = 0; j <= 20; ++j) {
      std::snprintf(line, sizeof line, "%.4f %.4f 0.1 0.0\n", -10.0 + 0.1 * i, 42.0 + 0.1 * j);
      field += line;
    }
  }
  write_file("c.txt", field);
  write_file("lstcurr_UVW.pre", lines(24, "c.txt"));
  write_file("Particle_positions_restart.txt",
             "particle longitude latitude depth state\n1 -9.0 43.0 0.0 1\n2 -9.0 43.1 0.0 1\n3 -9.0 42.9 0.0 1\n");
}

TEST(StartUpValidation, MutationsOfACurrentFileScenario) {
  {
    // The scenario as it stands runs.
    temp_dir dir;
    current_file_scenario();
    run_ok("ROTA");
  }
  const mutation rows[] = {
      {"node count short of its file", "ROTA.cfg", 32, "440 440 440", "c.txt:441", "441 node lines"},
      {"node count beyond its file", "ROTA.cfg", 32, "442 442 442", "c.txt:441", "xyzcurrentnodes_number(1) = 442"},
      {"no current nodes", "ROTA.cfg", 32, "0 441 441", "ROTA.cfg:32", "xyzcurrentnodes_number(1) = 0"},
      {"negative current nodes", "ROTA.cfg", 32, "441 -1 441", "ROTA.cfg:32", "xyzcurrentnodes_number(2) = -1"},
      {"current value not a number", "c.txt", 5, "-10.0000 42.4000 nan 0.0", "c.txt:5", "a finite real number"},
      {"infinite current value", "c.txt", 7, "-10.0000 42.6000 0.1 -inf", "c.txt:7", "a finite real number"},
      {"current of 20 m/s", "c.txt", 5, "-10.0000 42.4000 20.0 0.0", "c.txt:5", "u = 20: must be from -15 to 15 m/s"},
      {"node at latitude 142", "c.txt", 9, "-10.0000 142.8000 0.1 0.0", "c.txt:9", "latitude = 142.8: must be from -90 to 90 degrees"},
      // The last node of the file and the last name of the list are checked too.
      {"last node at 20 m/s", "c.txt", 441, "-8.0000 44.0000 0.1 20.0", "c.txt:441", "v = 20: must be from -15 to 15 m/s"},
      {"last file of the list missing", "lstcurr_UVW.pre", 24, "missing.txt", "lstcurr_UVW.pre:24",
       "names the file \"missing.txt\", which does not exist"},
  };
  for (const auto& m : rows) {
    temp_dir dir;
    current_file_scenario();
    expect_refused(dir, "ROTA", m);
  }
}

TEST(StartUpValidation, UsageAndHelp) {
  temp_dir dir;
  struct row {
    const char* args;
    int status;
    bool on_stdout;
  };
  for (const row& c : {row{"", 2, false}, row{"A B", 2, false}, row{"-h", 0, true}, row{"--help", 0, true}}) {
    const auto r = run_orvel(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    const std::string& text = c.on_stdout ? r.out : r.err;
    EXPECT_EQ(text.rfind("usage: orvel KEY\n", 0), 0u) << c.args << ": " << text;
    EXPECT_NE(text.find("KEY names the run"), std::string::npos) << text;
  }
  EXPECT_TRUE(dir.files().empty());
}

TEST(StartUpValidation, AByteOrderMarkIsSkipped) {
  temp_dir dir;
  copy_scenario("drift");
  write_file("DRFT.run", "\xEF\xBB\xBF" + read_file("DRFT.run"));
  write_file("DRFT.cfg", "\xEF\xBB\xBF" + read_file("DRFT.cfg"));
  run_ok("DRFT");
}

TEST(StartUpValidation, WarningsForForcingThatEndsEarlyAndOutputsAfterTheEnd) {
  temp_dir dir;
  copy_scenario("drift");
  set_line("DRFT.cfg", 26, "8");  // eight hours of six hourly records
  set_line("DRFT.run", 18, "9. 3600. 3600. 3600");  // first output after the end
  const auto r = run_orvel(dir.path(), "DRFT");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: the run lasts 28800 s, but the 6 current records (currentfilesorlines_number) every "
            "3600 s cover only 21600 s: the last record is used for the rest of the run\n"
            "orvel: warning: the run lasts 28800 s, but the 6 wave records (wavesfilesorlines_number) every 3600 s "
            "cover only 21600 s: the last record is used for the rest of the run\n"
            "orvel: warning: the run lasts 28800 s, but the 6 wind records (windfilesorlines_number) every 3600 s "
            "cover only 21600 s: the last record is used for the rest of the run\n"
            "orvel: warning: the first output time 32400 s (firstoutput_time) comes after the end of the run at "
            "28800 s, so no particle or grid file is written\n");
}

// Two keys in one folder, run at the same time: each reads its own control
// files and writes its own results, byte for byte those of its solo run.
TEST(StartUpValidation, TwoKeysInOneFolderRunTogetherAsAlone) {
  temp_dir dir;
  copy_scenario("drift");
  // A second key with its own current (northward, 0.3 m/s from the south).
  write_file("DRF2.run", read_file("DRFT.run"));
  write_file("DRF2.cfg", read_file("DRFT.cfg"));
  auto results = [&](const std::string& key) {
    std::vector<std::pair<std::string, std::string>> r;
    for (const auto& f : dir.files())
      if (f.rfind(key + "_", 0) == 0) r.emplace_back(f, read_file(f));
    return r;
  };
  auto clear = [&] {
    for (const auto& f : dir.files())
      if (f.rfind("DRFT_", 0) == 0 || f.rfind("DRF2_", 0) == 0) std::filesystem::remove(f);
  };
  set_line("DRF2.cfg", 46, "2.0 0.0 0.0 0.0 0 0.0 0.0 0.0");  // twice the current
  run_ok("DRFT");
  const auto solo1 = results("DRFT");
  run_ok("DRF2");
  const auto solo2 = results("DRF2");
  // Seven particle files and a property file each; the drifts differ.
  ASSERT_EQ(solo1.size(), 8u);
  ASSERT_EQ(solo2.size(), 8u);
  ASSERT_EQ(solo1[6].first, "DRFT_particles_000360.txt");
  ASSERT_NE(solo1[6].second.substr(30), solo2[6].second.substr(30));
  const std::string bin = ORVEL_BINARY;
  for (int trial = 0; trial < 50; ++trial) {
    clear();
    const std::string cmd = "cd '" + dir.path().string() + "' && ('" + bin + "' DRFT >/dev/null 2>.e1 & '" + bin +
                            "' DRF2 >/dev/null 2>.e2 & wait) && test ! -s .e1 && test ! -s .e2";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << "trial " << trial;
    ASSERT_EQ(results("DRFT"), solo1) << "trial " << trial;
    ASSERT_EQ(results("DRF2"), solo2) << "trial " << trial;
  }
  std::filesystem::remove(".e1");
  std::filesystem::remove(".e2");
  for (const auto& f : dir.files()) EXPECT_EQ(f.find("partial"), std::string::npos) << f;
}

// The values of the forcing, blowout and restart files walked at the
// bounds of their ranges (from the table of input ranges): just inside each
// bound the scenario runs, just outside it is refused at start-up naming
// the value.
TEST(StartUpValidation, FileValuesAtTheBoundsOfTheirRanges) {
  struct probe {
    const char* name;
    const char* scenario;  // "drift", "current files", "blowout"
    const char* file;
    int line;
    int item;
  };
  const probe probes[] = {
      {"current speed", "drift", "lstcurr.pre", 2, 1},
      {"direction", "drift", "lstcurr.pre", 2, 2},
      {"wind speed", "drift", "lstwinds.pre", 2, 1},
      {"wave height", "drift", "lstwaves.pre", 2, 1},
      {"wave period", "drift", "lstwaves.pre", 2, 3},
      {"u", "current files", "c.txt", 441, 3},
      {"v", "current files", "c.txt", 1, 4},
      {"depth", "current files", "Particle_positions_restart.txt", 3, 4},
      {"state code", "current files", "Particle_positions_restart.txt", 4, 5},
      {"jet-end depth", "blowout", "FinalJetAxisPosition.txt", 2, 3},
      // A disc of 10 km radius has an area of 3.1e8 m2, wider than the area
      // column of the property file: the column widens for it.
      {"jet-end radius", "blowout", "FinalJetAxisPosition.txt", 2, 4},
      {"diameter", "blowout", "DropletDiametersAndFlotSpeed.txt", 3, 1},
      {"rise speed", "blowout", "DropletDiametersAndFlotSpeed.txt", 3, 2},
  };
  auto run_with = [](const probe& p, double x) {
    temp_dir dir;
    const std::string scenario = p.scenario;
    if (scenario == "current files") {
      current_file_scenario();
    } else {
      copy_scenario(scenario);
    }
    std::istringstream in(read_file(p.file));
    std::string line;
    for (int k = 1; k <= p.line; ++k) std::getline(in, line);
    char value[40];
    std::snprintf(value, sizeof value, "%.9g", x);
    set_line(p.file, p.line, with_item(line, p.item, value));
    const std::string key = scenario == "drift" ? "DRFT" : scenario == "blowout" ? "BLOW" : "ROTA";
    return run_orvel(dir.path(), key);
  };
  for (const auto& p : probes) {
    const input_range& e = input_range_of(p.name);
    const bool whole = std::string(p.name) == "state code";
    auto passes = [&](double x) {
      const auto r = run_with(p, x);
      EXPECT_EQ(r.status, 0) << p.name << " = " << x << ": " << r.err;
    };
    auto refused = [&](double x) {
      const auto r = run_with(p, x);
      EXPECT_EQ(r.status, 2) << p.name << " = " << x;
      EXPECT_NE(r.err.find(std::string(p.name) + " = "), std::string::npos) << p.name << " = " << x << ": " << r.err;
    };
    for (const bool high : {false, true}) {
      const double bound = high ? e.high : e.low;
      const bool included = high ? e.high_included : e.low_included;
      const double out = high ? 1.0 : -1.0;
      const double d = whole ? 1.0 : std::fmax(std::fabs(bound), 1.0) * 1e-6;
      if (included) {
        passes(bound);
        refused(bound + out * d);
      } else {
        refused(bound);
        passes(bound - out * d);
      }
    }
  }
}

}  // namespace
}  // namespace orvel
