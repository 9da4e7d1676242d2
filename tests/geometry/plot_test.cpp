#include "geometry/plot.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/timestamp.hpp"
#include "tests/geometry/geometry_support.hpp"
#include "tests/support/test_support.hpp"

namespace orvel::geometry {
namespace {

namespace fs = std::filesystem;
using ::orvel::testing::read_file;
using ::orvel::testing::temp_dir;
using testing::expect_fatal;

std::vector<std::string> file_lines(const std::string& name) {
  std::vector<std::string> ls;
  std::istringstream in(read_file(name));
  for (std::string l; std::getline(in, l);) ls.push_back(l);
  return ls;
}

// The lines of a plot of `xy` (unlabelled) that depend on the data: the
// bounding box, the two boxes' first corners and the dots.
std::vector<std::string> plot_of(const std::vector<double>& xy, bool label = false) {
  points_plot("p.eps", static_cast<int32_t>(xy.size() / 2), xy.data(), label);
  return file_lines("p.eps");
}

std::string bounding_box(const std::vector<std::string>& ls) { return ls.at(4); }

TEST(GeometryPlot, HandWrittenFile) {
  const temp_dir dir;
  const double xy[6] = {0, 0, 10, 10, 5, 0};
  points_plot("three.eps", 3, xy, true);
  EXPECT_EQ(read_file("three.eps"), read_file(std::string(ORVEL_FIXTURES) + "/geometry/three_points.eps"));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"three.eps"}));

  // Without labels the label block is gone and nothing else changes.
  points_plot("three.eps", 3, xy, false);
  std::vector<std::string> want = file_lines(std::string(ORVEL_FIXTURES) + "/geometry/three_points.eps");
  want.erase(want.begin() + 62, want.begin() + 74);
  EXPECT_EQ(file_lines("three.eps"), want);
  EXPECT_EQ(want[61], "newpath  306   150     5  0 360 arc closepath fill");
  EXPECT_EQ(want[62], "%");
  EXPECT_EQ(want[63], "restore  showpage");
}

TEST(GeometryPlot, AspectKept) {
  const temp_dir dir;
  // Twice as wide as high: x keeps 36..576, y narrows by 135.
  const auto wide = plot_of({0, 0, 2, 1});
  EXPECT_EQ(bounding_box(wide), "%%BoundingBox:  36  261  576  531");
  EXPECT_EQ(wide[21], "   36  261   moveto");
  EXPECT_EQ(wide[23], "  576  531   lineto");
  EXPECT_EQ(wide[46], "   18  243   moveto");
  EXPECT_EQ(wide[48], "  594  549   lineto");
  // Twice as high as wide: y keeps 126..666, x narrows by 135.
  const auto tall = plot_of({0, 0, 1, 2});
  EXPECT_EQ(bounding_box(tall), "%%BoundingBox: 171  126  441  666");
  EXPECT_EQ(tall[46], "  153  108   moveto");
  // Each call starts from the fixed frame.
  const auto square_after = plot_of({0, 0, 10, 10});
  EXPECT_EQ(bounding_box(square_after), "%%BoundingBox:  36  126  576  666");
  EXPECT_EQ(square_after[46], "   18  108   moveto");
  EXPECT_EQ(square_after[48], "  594  684   lineto");
}

// Windows of zero width or height take the other extent (1 when both are
// zero), centred on the points.
TEST(GeometryPlot, DegenerateWindows) {
  const temp_dir dir;
  const struct {
    std::vector<double> xy;
    std::vector<std::string> dots;
  } rows[] = {
      {{3, -2}, {"newpath  306   396     5  0 360 arc closepath fill"}},
      {{2, 0, 2, 10},
       {"newpath  306   150     5  0 360 arc closepath fill", "newpath  306   641     5  0 360 arc closepath fill"}},
      {{0, 1, 10, 1},
       {"newpath   60   396     5  0 360 arc closepath fill", "newpath  551   396     5  0 360 arc closepath fill"}},
      {{4, 4, 4, 4},
       {"newpath  306   396     5  0 360 arc closepath fill", "newpath  306   396     5  0 360 arc closepath fill"}},
  };
  for (const auto& r : rows) {
    const auto ls = plot_of(r.xy);
    EXPECT_EQ(bounding_box(ls), "%%BoundingBox:  36  126  576  666");
    const std::vector<std::string> dots(ls.begin() + 59, ls.begin() + 59 + static_cast<long>(r.dots.size()));
    EXPECT_EQ(dots, r.dots);
  }
}

TEST(GeometryPlot, NoPointsAndManyLabels) {
  const temp_dir dir;
  // No points: the full frame, no dots; the label heading still stands.
  const auto none = plot_of({}, true);
  EXPECT_EQ(bounding_box(none), "%%BoundingBox:  36  126  576  666");
  ASSERT_EQ(none.size(), 81u - 6u);
  EXPECT_EQ(none[58], "%");
  EXPECT_EQ(none[59], "%");
  EXPECT_EQ(none[60], "%  Label the nodes:");
  EXPECT_EQ(none[67], "setfont");
  EXPECT_EQ(none[68], "%");
  EXPECT_EQ(none[69], "restore  showpage");

  // Numbers above 9999 do not fit their label.
  std::vector<double> xy(2 * 10000);
  int32_t seed = 17;
  for (double& v : xy) v = r8_uniform_01(seed);
  const auto many = plot_of(xy, true);
  const std::string& l9999 = many.at(59 + 10000 + 9 + 9998);
  const std::string& l10000 = many.at(59 + 10000 + 9 + 9999);
  EXPECT_EQ(l9999.substr(l9999.find(" moveto")), " moveto (9999) show");
  EXPECT_EQ(l10000.substr(l10000.find(" moveto")), " moveto (****) show");
}

TEST(GeometryPlot, FileNameAndReplacement) {
  const temp_dir dir;
  ::orvel::testing::write_file("p.eps", "old text that is much longer than nothing\n");
  const double xy[2] = {1, 1};
  points_plot("p.eps   ", 1, xy, false);
  const auto ls = file_lines("p.eps");
  EXPECT_EQ(ls[0], "%!PS-Adobe-3.0 EPSF-3.0");
  EXPECT_EQ(ls[2], "%%Title: p.eps");
  EXPECT_EQ(ls.back(), "%%EOF");
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"p.eps"}));
  // The unit is free again afterwards.
  int32_t unit = 0;
  get_unit(unit);
  EXPECT_EQ(unit, 1);
}

TEST(GeometryPlot, OpenFailures) {
  const temp_dir dir;
  const double xy[2] = {1, 1};
  expect_fatal([&] { points_plot("no/such/folder/p.eps", 1, xy, true); },
               {" ", "POINTS_PLOT - Fatal error!", "  Can not open output file."});
  EXPECT_TRUE(dir.files().empty());
  // No free unit.
  {
    struct all_taken {
      all_taken() {
        for (int32_t u = 1; u <= 99; ++u) set_unit_status(u, unit_status::connected);
      }
      ~all_taken() { reset_units(); }
    } taken;
    expect_fatal([&] { points_plot("p.eps", 1, xy, true); },
                 {" ", "POINTS_PLOT - Fatal error!", "  Can not open output file."});
  }
  EXPECT_TRUE(dir.files().empty());
  int32_t unit = 0;
  get_unit(unit);
  EXPECT_EQ(unit, 1);
}

}  // namespace
}  // namespace orvel::geometry
