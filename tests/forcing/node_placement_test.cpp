// Node lists on a regular grid placed by the coordinates of their nodes,
// and the values a record leaves on its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// A 4 x 3 grid from 9.6 W, 42.7 N every 0.05 degrees (longitudes + 360).
struct listed {
  std::vector<double> x, y, value;
  std::vector<int64_t> lines;
};

// A value that tells the node it belongs to, whatever the order.
double value_at(double x, double y) { return std::round((x - 350.0) * 1000.0) * 1000.0 + std::round(y * 100.0); }

listed grid_nodes_in(const std::vector<std::pair<int, int>>& order) {
  listed l;
  int64_t line = 1;
  for (const auto& [i, j] : order) {
    const double x = -9.6 + 0.05 * i + 360.0;
    const double y = 42.7 + 0.05 * j;
    l.x.push_back(x);
    l.y.push_back(y);
    l.value.push_back(value_at(x, y));
    l.lines.push_back(line++);
  }
  return l;
}

std::vector<std::pair<int, int>> longitude_outer() {
  std::vector<std::pair<int, int>> o;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 3; ++j) o.emplace_back(i, j);
  return o;
}

TEST(NodePlacement, AnyOrderGivesTheGridOrderWithItsValues) {
  auto lat_outer = longitude_outer();
  std::stable_sort(lat_outer.begin(), lat_outer.end(),
                   [](auto a, auto b) { return std::make_pair(a.second, a.first) < std::make_pair(b.second, b.first); });
  auto shuffled = longitude_outer();
  std::mt19937 g(3);
  std::shuffle(shuffled.begin(), shuffled.end(), g);
  auto north_first = longitude_outer();
  std::reverse(north_first.begin(), north_first.end());
  const std::vector<std::pair<int, int>> orders[] = {longitude_outer(), lat_outer, shuffled, north_first};
  const listed reference = grid_nodes_in(longitude_outer());
  for (const auto& o : orders) {
    listed l = grid_nodes_in(o);
    const auto order = place_nodes_on_grid("f.txt", l.x.data(), l.y.data(), l.lines, 12, "windgrid_regular__y_n");
    put_in_grid_order(l.value.data(), order);
    // Columns from west to east, each from south to north, exactly the
    // coordinates of the longitude-outer file; each value at its own node.
    for (std::size_t c = 0; c < 12; ++c) {
      EXPECT_EQ(l.x[c], reference.x[c]) << c;
      EXPECT_EQ(l.y[c], reference.y[c]) << c;
      EXPECT_EQ(l.value[c], value_at(l.x[c], l.y[c])) << c;
    }
  }
}

TEST(NodePlacement, RoundingInTheLastDigitsKeepsAColumnWhole) {
  listed l = grid_nodes_in(longitude_outer());
  l.x[1] += 4e-6;  // one node of the first column printed a little off
  l.y[5] -= 0.0005;  // 1 % of a spacing off its row (rounded printing)
  const auto order = place_nodes_on_grid("f.txt", l.x.data(), l.y.data(), l.lines, 12, "windgrid_regular__y_n");
  const listed reference = grid_nodes_in(longitude_outer());
  EXPECT_EQ(l.x[1], reference.x[1]);
  for (std::size_t c = 0; c < 12; ++c) EXPECT_EQ(order[c], static_cast<int32_t>(c));
  // Each row takes the southernmost latitude its nodes give.
  EXPECT_DOUBLE_EQ(l.y[2], reference.y[2] - 0.0005);
  EXPECT_EQ(l.y[5], l.y[2]);
}

TEST(NodePlacement, NodesThatAreNotOneRegularGridAreRefused) {
  struct refusal {
    const char* what;
    void (*change)(listed&);
    int64_t line;
    const char* says;
  };
  const refusal cases[] = {
      {"a node given twice",
       [](listed& l) {
         l.x[7] = l.x[4];
         l.y[7] = l.y[4];
       },
       8, "the node at longitude -9.55, latitude 42.75 is given a second time (first on line 5)"},
      {"a node between two columns", [](listed& l) { l.x[7] -= 0.025; }, 8,
       "the node at longitude -9.525, latitude 42.75 does not fall on a node of the regular grid that the other nodes "
       "describe (longitudes from -9.6 every 0.05, latitudes from 42.7 every 0.05 degrees): a node list on a regular "
       "grid (currentgrid_regular__y_n = 1) gives the nodes of that grid and no others"},
      {"a node far east of the others, its place left empty", [](listed& l) { l.x[3] = 359.5; }, 0,
       "no line gives the grid node at longitude -9.55, latitude 42.7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    listed l = grid_nodes_in(longitude_outer());
    c.change(l);
    try {
      place_nodes_on_grid("U.txt", l.x.data(), l.y.data(), l.lines, 12, "currentgrid_regular__y_n");
      ADD_FAILURE() << "not refused";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "U.txt");
      EXPECT_EQ(e.line(), c.line);
      EXPECT_NE(e.message().find(c.says), std::string::npos) << e.message();
    }
  }
}

TEST(ValuesLeftOver, CountsAndDecimalCommas) {
  struct row {
    const char* text;
    int32_t values;
    bool comma;
  };
  const row rows[] = {
      {"8.0 190.0", 2, false},        {"8.0,190.0", 2, false},   {"8,0 190,0", 4, true},
      {"  8.0\t190.0  ", 2, false},   {"8.0, 190.0", 2, false},  {"8.0 ,190.0", 2, false},
      {"1 2 / 3 4", 2, false},        {"", 0, false},            {"a,b 1", 3, false},
      {"-9.6 42.7 0,01", 4, true},    {"8.0,190.0,1013.0", 3, false}, {"1e3,5", 2, false},
      {"12,5", 2, true},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(count_values(r.text), r.values) << r.text;
    EXPECT_EQ(comma_between_digits(r.text), r.comma) << r.text;
  }
}

TEST(ValuesLeftOver, ARecordLeavesTheRestOfItsLine) {
  list_reader r("s.pre", {"8.0 190.0 1013.0", "9,0 200,0"});
  {
    list_reader::record rec(r);
    double a = 0.0, b = 0.0;
    ASSERT_TRUE(rec.item(a) && rec.item(b));
    EXPECT_EQ(rec.rest_of_line(), " 1013.0");
    EXPECT_EQ(rec.line(), "8.0 190.0 1013.0");
  }
  {
    list_reader::record rec(r);
    double a = 0.0, b = 0.0;
    ASSERT_TRUE(rec.item(a) && rec.item(b));
    EXPECT_EQ(a, 9.0);
    EXPECT_EQ(b, 0.0);
    EXPECT_EQ(count_values(rec.rest_of_line()), 2);
    try {
      check_values_left(r, rec, 2);
      ADD_FAILURE() << "not refused";
    } catch (const input_error& e) {
      EXPECT_EQ(e.line(), 2);
      EXPECT_EQ(e.message().rfind("the line holds 4 values, but its record takes 2: is the comma the decimal mark?", 0),
                0u)
          << e.message();
    }
  }
}

}  // namespace
}  // namespace orvel
