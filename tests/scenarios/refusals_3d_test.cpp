// Three-dimensional runs that cannot be made are refused at start-up: a
// current input form that writes no current, a product that is not lighter
// than the water (its largest droplet has no size) and a chemical so viscous
// that its droplet size classes have no width.  Each ends with status 2, one
// message line and no file written.
//
// On the drift scenario of drift_test.cpp, made three-dimensional.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

TEST(ScenarioRefusals3d, RefusedBeforeAnythingIsWritten) {
  struct row {
    const char* what;
    std::vector<std::pair<std::string, std::string>> cfg_changes;
    std::string message;
    bool calibration = false;  // a chemical: its calibration file is read first
  };
  const std::vector<row> rows = {
      {"layer form 3 with current files",
       {{"hourly\n2 0 0 0 0 0\n1\n", "hourly\n1 1 0 0 0 0\n3\n"}},
       "orvel: error: DRFT.cfg:29: current3dinputformat_layers_average = 3: must be 1 (layered files) or 2 "
       "(surface fields and a depth-mean series)\n"},
      {"floating object denser than the water",
       {{" 900.0 15.0 100.0", " 1030.0 15.0 100.0"}},
       "orvel: error: DRFT.cfg:23: spill 1: the product density 1030 kg/m3 is not below the water density 1025 "
       "kg/m3: a 3-D run without blowout gives droplet sizes only to a product lighter than the water\n"},
      {"chemical of 17000 cSt",
       {{"* a floating object, no weathering\n1\n", "* a chemical\n3\n"}, {" 900.0 15.0 100.0", " 1000.0 15.0 17000.0"}, {"25 0 25 0 0 40.0", "25 0 25 78 0 40.0"}},
       "orvel: error: DRFT.cfg:23: spill 1: the viscosity 17000 cSt gives a smallest droplet (a tenth of the median "
       "size) of 7.05442e-05 m, not below the largest of 7e-05 m: the droplet size classes would have no width\n",
       true},
  };
  for (const auto& r : rows) {
    temp_dir dir;
    copy_scenario("drift");
    replace_text("DRFT.run", "forward\n1\n1\n0\n1\n", "forward\n1\n2\n0\n1\n");
    for (const auto& [from, to] : r.cfg_changes) replace_text("DRFT.cfg", from, to);
    if (r.calibration) write_file("DRFT_HNS.calib", "2\n0.002\n2\n1.21\n3.0\n0\n0.0001\n");
    const auto inputs = dir.files();
    const auto result = run_orvel(dir.path(), "DRFT");
    EXPECT_EQ(result.status, 2) << r.what;
    EXPECT_EQ(result.err, r.message) << r.what;
    EXPECT_EQ(dir.files(), inputs) << r.what;
  }
}

}  // namespace
}  // namespace orvel
