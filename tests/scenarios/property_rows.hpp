// The rows of an oil property file, by column name.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace orvel::testing {

// One row: the value of each column, keyed by its label without the unit
// ("time", "area", "surface (kg)" ...: the label up to its unit for the
// columns printed once, the whole label where kilograms and percentages
// share a name).
using property_row = std::map<std::string, double>;

inline std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> f;
  std::istringstream in(line);
  std::string s;
  while (std::getline(in, s, ',')) f.push_back(s);
  return f;
}

inline std::string column_key(std::string label) {
  const auto b = label.find_first_not_of(' ');
  label = b == std::string::npos ? "" : label.substr(b);
  while (!label.empty() && label.back() == ' ') label.pop_back();
  for (const char* once : {"time", "area", "thickness", "density", "kinematic_viscosity", "balance",
                           "emulsified_water", "emulsified_beached", "centre_of_mass_lon", "centre_of_mass_lat"}) {
    if (label.rfind(std::string(once) + " (", 0) == 0) return once;
  }
  return label;
}

inline std::vector<property_row> read_property_rows(const std::string& file) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  std::vector<std::string> keys;
  for (const auto& f : split_fields(line)) keys.push_back(column_key(f));
  std::vector<property_row> rows;
  while (std::getline(in, line)) {
    const auto f = split_fields(line);
    EXPECT_EQ(f.size(), keys.size()) << file << ": " << line;
    property_row r;
    for (std::size_t i = 0; i < f.size() && i < keys.size(); ++i) r[keys[i]] = std::strtod(f[i].c_str(), nullptr);
    rows.push_back(r);
  }
  return rows;
}

// Every mass column of a chemical's property row, and their printed total
// (the compartments that add up to the release, the air share aside).
inline const char* const chemical_mass_columns[] = {
    "surface (kg)",   "beached (kg)", "evaporated (kg)", "dispersed (kg)", "volatilized (kg)", "column (kg)",
    "dissolved (kg)", "sedimented (kg)", "floor (kg)",   "degraded (kg)",  "outside (kg)"};

inline double chemical_printed_total(const property_row& r) {
  double t = 0.0;
  for (const char* c : chemical_mass_columns) t += r.at(c);
  return t;
}

}  // namespace orvel::testing
