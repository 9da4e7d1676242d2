// A scenario file built record by record, for tests that change one or two
// records of a working scenario.  Without comment lines, record r of the
// base scenario stands on line r of the file.
#pragma once

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "control/scenario.hpp"
#include "control/state/reset_state.hpp"
#include "control/state/var_run.hpp"
#include "tests/support/test_support.hpp"

namespace orvel::testing {

struct scenario_text {
  // rec[r] is the text of record r (1 to 40); a repeated record holds its
  // lines joined by "\n".
  std::array<std::string, 41> rec;

  std::string text() const {
    std::string t;
    for (int r = 1; r <= 40; ++r) t += rec[r] + "\n";
    return t;
  }
};

// Spill line (record 19) of an oil: item 2 start time (h), 3 mass (kg),
// 13/14 density and its temperature, 15/16 viscosity and its temperature,
// 27 water temperature (degrees C).
inline std::string spill_line(double start = 0.0, double mass = 1000.0, float density = 900.0f,
                              float density_t = 15.0f, float viscosity = 100.0f,
                              float viscosity_t = 15.0f, float water_t = 15.0f, int crude = 0) {
  auto s = [](double v) { return std::to_string(v); };
  return "1 " + s(start) + " " + s(mass) + " -9.5 43.0 25.0 100.0 200.0 0.01 0.0001 1.0 " +
         std::to_string(crude) + " " + s(density) + " " + s(density_t) + " " + s(viscosity) + " " +
         s(viscosity_t) + " 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 " + s(water_t) + " 20.0";
}

// A 2-D oil spill off Galicia (model grid of 151 by 151 nodes at 0.01
// degrees), one instantaneous spill, currents, waves and wind from files.
inline scenario_text base_scenario() {
  scenario_text s;
  s.rec[1] = "galicia.dat";
  s.rec[2] = "2";
  s.rec[3] = "-10.0 42.5 0.01 0.01 1.0 151 151 1 43.25";
  s.rec[4] = "conc.dat";
  s.rec[5] = "1";
  s.rec[6] = "1";
  s.rec[7] = "not read: the concentration grid is a node list";
  s.rec[8] = "0";
  s.rec[9] = "2";
  s.rec[10] = "1 1 24";
  s.rec[11] = "1";
  s.rec[12] = "1";
  s.rec[13] = "0";
  s.rec[14] = "0 0 0 0";
  s.rec[15] = "1.0e-6";
  s.rec[16] = "1";
  s.rec[17] = "1";
  s.rec[18] = "0 0";
  s.rec[19] = spill_line();
  s.rec[20] = "10.0 2.5 0.1";
  s.rec[21] = "48";
  s.rec[22] = "1 1 0 1 0 0";
  s.rec[23] = "1";
  s.rec[24] = "1 1";
  s.rec[25] = "1 49 0";
  s.rec[26] = "100 100 0";
  s.rec[27] = "0 0 0 0 0 0";
  s.rec[28] = "0 0 0 0 0 0";
  s.rec[29] = "1 1";
  s.rec[30] = "1";
  s.rec[31] = "3 17";
  s.rec[32] = "50";
  s.rec[33] = "0 0 0 0 0 0";
  s.rec[34] = "1 1";
  s.rec[35] = "1";
  s.rec[36] = "6 9";
  s.rec[37] = "30";
  s.rec[38] = "0 0 0 0 0 0";
  s.rec[39] = "1.0 0.03 0.0 1.0 1 10.0 0.01 0.0";
  s.rec[40] = "data/";
  return s;
}

// A fresh folder and state with the run-control values the scenario reader
// uses: a forward 2-D run with a 900 s step.
class scenario_test : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_state();
    var_run.sim__2d_3d = 1;
    var_run.simdirection__fore_back = 1;
    var_run.deltat = 900.0f;
  }
  void TearDown() override { reset_state(); }

  // Writes `s` as "TEST.cfg" and reads it.
  void read(const scenario_text& s) {
    write_file("TEST.cfg", s.text());
    leo_cfg("TEST");
  }

  temp_dir dir;
};

}  // namespace orvel::testing
