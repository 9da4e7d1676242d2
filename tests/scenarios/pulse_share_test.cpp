// A pulse of a continuous release weathers as its own mass spilled alone:
// its slick, its spreading and its evaporation follow its share of the
// release's volume, not the whole release's.
//
// Oil: the weathering scenario (tests/scenarios/weathering/) on still water,
// 250 t of its crude alone against 1000 t released in four pulses an hour
// apart; Fay spreading for 3 h, evaporation, emulsification and natural
// dispersion.  Chemical: the chemical scenario (tests/scenarios/chemical/),
// 10 t of its benzene-like evaporator alone against 40 t in four pulses;
// evaporation with the fixed coefficient from the initial slick.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

struct pulse_case {
  std::string what;
  std::string folder, key;
  std::function<void()> common;  // edits of both runs
  std::string fixture;           // the release records 16 to 19 as they stand
  std::string alone, release;    // the pulse's mass alone; four pulses
  double pulse_kg, density;
  std::vector<std::string> columns;  // compared row by row
};

// Initial slick area of V m3 of a substance of the given density on water of
// 1025 kg/m3 (nu = 1e-6 m2/s): 2.6714799 (V^5 g D / nu^2)^(1/6).
double initial_area(double volume, double density) {
  const double d = (1025.0 - density) / 1025.0;
  return 2.6714799 * std::pow(std::pow(volume, 5.0) * 9.81 * d / 1.0e-12, 1.0 / 6.0);
}

std::vector<property_row> run_rows(const pulse_case& c, const std::string& release, const std::string& file) {
  temp_dir dir;
  copy_scenario(c.folder);
  c.common();
  replace_text(c.key + ".cfg", c.fixture, release);
  run_ok(c.key);
  return read_property_rows(file);
}

TEST(ScenarioPulseShare, PulseOneWeathersAsItsMassSpilledAlone) {
  const std::string oil_tail = " -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 ";
  const std::string chem_tail = " -9.0 43.0 0.0 1000.0 1000.0 ";
  const std::vector<pulse_case> cases = {
      {"oil 2-D, Fay spreading", "weathering", "WTHR", [] { write_file("lstcurr.pre", lines(25, "0.0 270.0")); },
       "1\n1\n0 0\n1 0.0 1000000.0" + oil_tail + "1111.1111111 ",
       "1\n1\n0 0\n1 0.0 250000.0" + oil_tail + "277.777777775 ",
       "2\n1\n4.0 3600\n1 0.0 1000000.0" + oil_tail + "1111.1111111 ", 250000.0, 900.0,
       {"area", "thickness", "density", "kinematic_viscosity", "evaporated (%)", "emulsified_water", "dispersed (%)",
        "surface (%)"}},
      {"chemical 2-D, fixed coefficient", "chemical", "CHEM", [] {}, "1\n1\n0 0\n1 0.0 10000.0" + chem_tail,
       "1\n1\n0 0\n1 0.0 10000.0" + chem_tail, "2\n1\n4.0 3600\n1 0.0 40000.0" + chem_tail, 10000.0, 876.0,
       {"area", "thickness", "evaporated (%)", "surface (%)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto alone = run_rows(c, c.alone, c.key + "_properties_001.txt");
    const auto pulse = run_rows(c, c.release, c.key + "_properties_subspill_001.txt");
    ASSERT_GT(alone.size(), 1u);
    ASSERT_EQ(pulse.size(), alone.size());
    // The initial slick of the pulse's own volume.
    const double area = initial_area(c.pulse_kg / c.density, c.density);
    EXPECT_NEAR(pulse[0].at("area"), area, 1e-6 * area + 1e-3);
    for (std::size_t r = 0; r < alone.size(); ++r) {
      for (const auto& col : c.columns) {
        EXPECT_EQ(pulse[r].at(col), alone[r].at(col)) << col << " at " << alone[r].at("time") << " h";
      }
    }
    // Something happened to compare.
    EXPECT_GT(pulse[1].at("evaporated (%)"), 0.0);
  }
}

}  // namespace
}  // namespace orvel
