// The table of input ranges against docs/input-files.md: every "| Value |
// Range |" table of the reference states each range of the table (the
// bounds, whether each is included, the unit and the objects it applies
// to), and every range it states is in the table.  And the comparison of a
// value with its range, bound by bound.
#include "control/input_ranges.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

// One range as the reference states it.
struct stated {
  std::string name;
  std::string objects;
  double low;
  double high;
  bool low_included;
  bool high_included;
  std::string unit;
  std::string row;
};

std::string trim(std::string s) {
  const auto a = s.find_first_not_of(' ');
  const auto b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// The doc's units as the table writes them.
std::string plain_unit(std::string u) {
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"\xC2\xB3", "3"}, {"\xC2\xB2", "2"}, {"\xC2\xB0" "C", "degrees C"}}) {
    for (auto p = u.find(from); p != std::string::npos; p = u.find(from)) u.replace(p, from.size(), to);
  }
  return u;
}

// The parts of a range cell separated by "; " outside parentheses.
std::vector<std::string> parts_of(const std::string& cell) {
  std::vector<std::string> parts;
  std::string part;
  int depth = 0;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const char c = cell[i];
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (c == ';' && depth == 0) {
      parts.push_back(trim(part));
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(trim(part));
  return parts;
}

// Every range of every "| Value | Range |" table of the reference.
std::vector<stated> ranges_in_the_reference() {
  std::istringstream in(testing::read_file(std::string(ORVEL_SOURCE_DIR) + "/docs/input-files.md"));
  const std::string num = R"((-?[0-9.]+(?:e[-+]?[0-9]+)?))";
  const std::string unit = R"(\s*([^(,]*))";
  const std::regex both("^" + num + " to " + num + unit);
  const std::regex open_low("^greater than " + num + ", at most " + num + unit);
  const std::regex only_open_low("^greater than " + num + unit);
  const std::regex only_low("^at least " + num + unit);
  const std::regex names("`([^`]+)`");
  std::vector<stated> found;
  std::string line;
  bool in_table = false;
  while (std::getline(in, line)) {
    if (line == "| Value | Range |") {
      in_table = true;
      continue;
    }
    if (!in_table || line.rfind("|---", 0) == 0) continue;
    if (line.empty() || line[0] != '|') {
      in_table = false;
      continue;
    }
    const auto second = line.find('|', 1);
    const std::string value_cell = line.substr(1, second - 1);
    const std::string range_cell = line.substr(second + 1, line.rfind('|') - second - 1);
    std::vector<std::string> value_names;
    for (std::sregex_iterator m(value_cell.begin(), value_cell.end(), names), end; m != end; ++m) {
      value_names.push_back((*m)[1]);
    }
    EXPECT_FALSE(value_names.empty()) << line;
    for (std::string part : parts_of(trim(range_cell))) {
      std::string objects;
      for (const char* o : {"oil and HNS", "floating object", "oil", "HNS"}) {
        const std::string prefix = std::string(o) + ": ";
        if (part.rfind(prefix, 0) == 0) {
          objects = o;
          part = part.substr(prefix.size());
          break;
        }
      }
      std::smatch m;
      stated s{"", objects, -INFINITY, INFINITY, false, false, "", line};
      if (std::regex_search(part, m, open_low)) {
        s.low = std::strtod(m[1].str().c_str(), nullptr);
        s.high = std::strtod(m[2].str().c_str(), nullptr);
        s.high_included = true;
        s.unit = m[3];
      } else if (std::regex_search(part, m, only_open_low)) {
        s.low = std::strtod(m[1].str().c_str(), nullptr);
        s.unit = m[2];
      } else if (std::regex_search(part, m, both)) {
        s.low = std::strtod(m[1].str().c_str(), nullptr);
        s.high = std::strtod(m[2].str().c_str(), nullptr);
        s.low_included = s.high_included = true;
        s.unit = m[3];
      } else if (std::regex_search(part, m, only_low)) {
        s.low = std::strtod(m[1].str().c_str(), nullptr);
        s.low_included = true;
        s.unit = m[2];
      } else {
        ADD_FAILURE() << "a range the test cannot read: \"" << part << "\" in " << line;
        continue;
      }
      s.unit = plain_unit(trim(s.unit));
      for (const auto& n : value_names) {
        s.name = n;
        found.push_back(s);
      }
    }
  }
  return found;
}

TEST(InputRanges, TheReferenceStatesEveryRangeAsTheTableHoldsIt) {
  const auto doc = ranges_in_the_reference();
  ASSERT_GT(doc.size(), 50u);
  std::set<std::pair<std::string, std::string>> stated_names;
  for (const auto& d : doc) {
    SCOPED_TRACE(d.row);
    const input_range* e = nullptr;
    for (const auto& r : input_ranges()) {
      if (r.name == d.name && r.objects == d.objects) e = &r;
    }
    if (e == nullptr) {
      ADD_FAILURE() << d.name << " (" << d.objects << ") is not in the table of ranges";
      continue;
    }
    stated_names.insert({d.name, d.objects});
    EXPECT_EQ(d.low, e->low) << d.name;
    EXPECT_EQ(d.high, e->high) << d.name;
    EXPECT_EQ(d.low_included, e->low_included && std::isfinite(e->low)) << d.name;
    EXPECT_EQ(d.high_included, e->high_included && std::isfinite(e->high)) << d.name;
    EXPECT_EQ(d.unit, e->unit) << d.name;
  }
  for (const auto& r : input_ranges()) {
    EXPECT_TRUE(stated_names.count({std::string(r.name), std::string(r.objects)}))
        << r.name << " (" << r.objects << ") is not stated in docs/input-files.md";
  }
}

TEST(InputRanges, EachBoundIncludedOrNotAndComparedInTheValuesPrecision) {
  const input_range& step = input_range_of("deltat");  // greater than 0, at most ten years
  EXPECT_FALSE(in_range(step, 0.0));
  EXPECT_TRUE(in_range(step, 1e-30));
  EXPECT_TRUE(in_range(step, 315360000.0));
  EXPECT_FALSE(in_range(step, 315360001.0));
  EXPECT_FALSE(in_range(step, NAN));
  EXPECT_FALSE(in_range(step, INFINITY));
  const input_range& start = input_range_of("spillstarttime");  // 0 to 87600 h, both included
  EXPECT_TRUE(in_range(start, 0.0));
  EXPECT_FALSE(in_range(start, -1e-300));
  EXPECT_TRUE(in_range(start, 87600.0));
  EXPECT_FALSE(in_range(start, std::nextafter(87600.0, 1e6)));
  // 0.1f is above 0.1: a bound written in the file is met by the value read.
  const input_range slope{"KEY.cfg", "s", "", -0.1, 0.1, true, true, ""};
  EXPECT_TRUE(in_range(slope, 0.1f));
  EXPECT_TRUE(in_range(slope, -0.1f));
  EXPECT_FALSE(in_range(slope, std::nextafter(0.1f, 1.0f)));
  EXPECT_FALSE(in_range(slope, static_cast<double>(0.1f)));
  // The entry of the run's object.
  EXPECT_EQ(input_range_for("spilledmass", 1).low_included, true);
  EXPECT_EQ(input_range_for("spilledmass", 2).low_included, false);
  EXPECT_EQ(input_range_for("spilledmass", 3).low_included, false);
  EXPECT_EQ(input_range_for("kinemviscosity_water", 1).high, INFINITY);
  EXPECT_EQ(input_range_for("kinemviscosity_water", 3).high, 1e-4);
  EXPECT_EQ(allowed_text(step), "a finite number greater than 0 and at most 315360000 s");
  EXPECT_EQ(allowed_text(start), "a finite number from 0 to 87600 h");
  EXPECT_EQ(allowed_text(input_range_for("kinemviscosity_water", 1)), "a finite number of at least 0 m2/s");
}

// The values of real substances and places that the ranges once refused.
TEST(InputRanges, RealSubstancesAndPlacesPass) {
  struct real {
    const char* name;
    int32_t object;
    double value;
    const char* what;
  };
  const real cases[] = {
      {"density", 3, 450.0, "LNG"},
      {"density", 3, 493.0, "LPG"},
      {"densityreferencetemperature", 3, -162.0, "LNG data sheet"},
      {"densityreferencetemperature", 3, -253.0, "liquid hydrogen"},
      {"viscosityreferencetemperature", 3, -104.0, "ethylene"},
      {"viscosityreferencetemperature", 2, 135.0, "heated bitumen"},
      {"viscosity", 2, 1e8, "bitumen at 15 C"},
      {"watersolubility", 3, 4.32e6, "zinc chloride"},
      {"watersolubility", 3, 5.48e6, "phosphoric acid"},
      {"hnsmolweight", 3, 2300.0, "polyisobutylene"},
      {"logkow", 3, 23.0, "triolein"},
      {"sedimentsconcentration", 3, 3e5, "a hyperconcentrated river"},
      {"waterdensity", 3, 1240.0, "a salt lake"},
      {"spillsize_sidex", 2, 2e5, "a slick seen from a satellite"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(in_range(input_range_for(c.name, c.object), c.value)) << c.name << " " << c.value << " " << c.what;
    EXPECT_TRUE(in_range(input_range_for(c.name, c.object), static_cast<float>(c.value))) << c.name << " " << c.what;
  }
  EXPECT_TRUE(in_range(input_range_of("riverfreesurfaceslope"), 0.1f));
}

}  // namespace
}  // namespace orvel
