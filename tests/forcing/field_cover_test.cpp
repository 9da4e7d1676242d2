// A forcing field on a regular grid held against the water nodes of the
// model grid: covered, partly covered (warned, with the count and share
// left out), or not at all (refused, with both extents and the likely slip).
#include <gtest/gtest.h>

#include <string>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// Model grid of 5 x 4 nodes from 9 W, 43 N every 0.1 degrees; the eastern
// column is land, so 16 nodes hold water.
void model_grid() {
  reset_state();
  auto& g = var_mallas;
  g.grid0_x = 351.0;
  g.grid0_y = 43.0;
  g.deltax = 0.1;
  g.deltay = 0.1;
  g.xcells_number = 5;
  g.ycells_number = 4;
  g.loni = 351.0;
  g.lons = 351.4;
  g.lati = 43.0;
  g.lats = 43.3;
  g.d.allocate(5, 4);
  for (int32_t i = 1; i <= 5; ++i)
    for (int32_t j = 1; j <= 4; ++j) g.d(i, j) = i == 5 ? 0.0f : 10.0f;
}

struct field {
  double x0, y0, dx, dy;
  int32_t nx, ny;
};

std::string warning_of(const field& f) {
  ::testing::internal::CaptureStderr();
  check_field_cover("f.txt", "current", f.x0, f.y0, f.dx, f.dy, f.nx, f.ny);
  return ::testing::internal::GetCapturedStderr();
}

TEST(FieldCover, AFieldOverTheWholeGridPassesSilently) {
  model_grid();
  // Up to one cell beyond the first and last nodes counts, as the
  // interpolation reaches: a field from 8.9 W to 8.3 W covers 9 W.
  EXPECT_EQ(warning_of({351.1, 43.1, 0.2, 0.2, 4, 2}), "");
  EXPECT_EQ(warning_of({350.9, 42.9, 0.2, 0.2, 5, 4}), "");
}

TEST(FieldCover, APartlyCoveringFieldIsWarnedWithTheShareLeftOut) {
  model_grid();
  // Columns at 9.05 and 8.95 W: the water nodes at 8.8 W and 8.7 W (8 of
  // the 16) lie beyond the cell that follows the last column.
  EXPECT_EQ(warning_of({350.95, 43.0, 0.1, 0.1, 2, 4}),
            "orvel: warning: f.txt: the current field covers longitudes -9.05 to -8.95, latitudes 43 to 43.3 and leaves 8 "
            "of the 16 water nodes of the model grid (longitudes -9 to -8.6, latitudes 43 to 43.3) outside it (50 %): "
            "the current there is taken as 0\n");
  // Land left out is no matter: the eastern column alone is outside.
  EXPECT_EQ(warning_of({350.95, 43.0, 0.1, 0.1, 4, 4}), "");
}

TEST(FieldCover, AFieldThatMissesTheGridIsRefusedWithTheLikelySlip) {
  struct row {
    const char* what;
    field f;
    const char* says;
  };
  const row rows[] = {
      {"longitudes 0 to 360", {351.0 + 360.0, 43.0, 0.1, 0.1, 5, 4},
       "the current field covers longitudes 351 to 351.4, latitudes 43 to 43.3, the model grid longitudes -9 to "
       "-8.6, latitudes 43 to 43.3: it covers no water node of the model grid: the longitudes run from 0 to 360 "
       "degrees east; give those west of Greenwich as negative (subtract 360 from each longitude above 180)"},
      {"longitude and latitude swapped", {403.0, -9.0, 0.1, 0.1, 4, 5},
       "longitude and latitude seem swapped; each line gives the longitude first"},
      {"another place", {371.0, 43.0, 0.1, 0.1, 5, 4},
       "check the positions (degrees, west and south negative) and that the file belongs to this area"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    model_grid();
    try {
      check_field_cover("f.txt", "current", r.f.x0, r.f.y0, r.f.dx, r.f.dy, r.f.nx, r.f.ny);
      ADD_FAILURE() << "not refused";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "f.txt");
      EXPECT_EQ(e.line(), 0);
      EXPECT_NE(e.message().find(r.says), std::string::npos) << e.message();
    }
  }
}

TEST(FieldCover, WithoutAModelGridNothingIsHeldAgainstIt) {
  reset_state();
  EXPECT_EQ(warning_of({371.0, 43.0, 0.1, 0.1, 5, 4}), "");
}

}  // namespace
}  // namespace orvel
