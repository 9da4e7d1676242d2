// Grid files of a whole run: the drift scenario (ten particles carried
// south by a uniform current on open water, concentrations on the model
// grid) with hourly grid files.  In every grid file the particle counts add
// up to the spill's particles afloat inside the window in the particle file
// of the same instant, and the presence percentages add up to at most 100:
// exactly 100 while every particle floats inside the window.  Released
// 5.5 km north of the grid's southern edge, the spill leaves the window
// after three hours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// The rows of a grid file, values by column (the header checked and skipped).
std::vector<std::vector<double>> grid_rows(const std::string& file, std::size_t columns) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.substr(0, 9), "time (h),") << file;
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) v.push_back(std::strtod(f.c_str(), nullptr));
    EXPECT_EQ(v.size(), columns) << file << ": " << line;
    rows.push_back(v);
  }
  return rows;
}

TEST(ScenarioGridFiles, CountsAndPresenceAddUpInEveryFile) {
  struct kind_case {
    const char* what;
    const char* object;
    std::size_t columns;
    const char* latitude;
  };
  for (const auto& c : {kind_case{"floating object", "1", 5, "43.0"}, kind_case{"oil without weathering", "2", 6, "43.0"},
                        kind_case{"leaving the window", "1", 5, "42.05"}}) {
    temp_dir dir;
    copy_scenario("drift");
    replace_line("DRFT.run", "1 0 1", "1 1 1");
    replace_text("DRFT.cfg", "* a floating object, no weathering\n1\n", std::string("* the release\n") + c.object + "\n");
    replace_text("DRFT.cfg", " -9.0 43.0 ", std::string(" -9.0 ") + c.latitude + " ");
    run_ok("DRFT");
    int files = 0;
    int full = 0;
    for (int minute = 0; minute <= 360; minute += 60) {
      char grid[40];
      char parts[40];
      std::snprintf(grid, sizeof grid, "DRFT_grid_001_%06d.txt", minute);
      std::snprintf(parts, sizeof parts, "DRFT_particles_%06d.txt", minute);
      // The window: the model grid's nodes, 10 W .. 8 W, 42 N .. 44 N.
      int afloat_inside = 0;
      for (const auto& p : read_particles(parts)) {
        afloat_inside += p.state == 1 && p.lon >= -10.0 && p.lon <= -8.0 && p.lat >= 42.0 && p.lat <= 44.0;
      }
      int counted = 0;
      double presence = 0.0;
      if (afloat_inside == 0) {
        // Nothing to count: no file.
        EXPECT_FALSE(std::filesystem::exists(grid)) << c.what << " " << grid;
        continue;
      }
      for (const auto& r : grid_rows(grid, c.columns)) {
        EXPECT_NEAR(r[0], minute / 60.0, 1e-9) << grid;
        counted += static_cast<int>(r[c.columns - 1]);
        presence += r[c.columns - 2];
      }
      EXPECT_EQ(counted, afloat_inside) << c.what << " " << grid;
      EXPECT_NEAR(presence, 10.0 * afloat_inside, 1e-9) << c.what << " " << grid;
      EXPECT_LE(presence, 100.0 + 1e-9);
      full += afloat_inside == 10;
      ++files;
    }
    if (std::string(c.latitude) == "43.0") {
      EXPECT_EQ(files, 7) << c.what;
      EXPECT_EQ(full, 7) << c.what;
    } else {
      EXPECT_GE(files, 3) << c.what;
      EXPECT_LT(files, 7) << c.what;
    }
  }
}

}  // namespace
}  // namespace orvel
