// End-to-end runs of the orvel binary on the scenario folders under
// tests/scenarios/: copy a folder into a fresh temporary directory, change a
// line or two, run, and read the result files back.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace orvel::testing {

// Metres per degree of latitude used by the model.
inline constexpr double metres_per_degree = 111317.359375;

// Metres per degree of longitude at latitude `lat`, as the model reckons it
// (the single-precision 3.1416 in the conversion).
inline double metres_per_degree_lon(double lat) {
  return std::cos(lat * static_cast<double>(3.1416f) / 180.0) * metres_per_degree;
}

// Copies every file of tests/scenarios/<name>/ into the working directory.
inline void copy_scenario(const std::string& name) {
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "tests" / "scenarios" / name;
  for (const auto& e : std::filesystem::directory_iterator(src)) {
    if (e.is_regular_file()) write_file(e.path().filename(), read_file(e.path()));
  }
}

// Replaces the one line of `file` that reads `old_line` exactly.
inline void replace_line(const std::string& file, const std::string& old_line, const std::string& new_line) {
  std::istringstream in(read_file(file));
  std::string out, line;
  int found = 0;
  while (std::getline(in, line)) {
    if (line == old_line) {
      ++found;
      line = new_line;
    }
    out += line + "\n";
  }
  ASSERT_EQ(found, 1) << file << ": \"" << old_line << "\"";
  write_file(file, out);
}

// Replaces the one occurrence of `old_text` in `file`.
inline void replace_text(const std::string& file, const std::string& old_text, const std::string& new_text) {
  std::string s = read_file(file);
  const auto pos = s.find(old_text);
  ASSERT_NE(pos, std::string::npos) << file << ": \"" << old_text << "\"";
  ASSERT_EQ(s.find(old_text, pos + 1), std::string::npos) << file << ": \"" << old_text << "\" twice";
  s.replace(pos, old_text.size(), new_text);
  write_file(file, s);
}

// n lines of the same text.
inline std::string lines(int n, const std::string& text) {
  std::string s;
  for (int i = 0; i < n; ++i) s += text + "\n";
  return s;
}

// One row of a particle file.
struct particle_row {
  double hours;
  int spill_id;
  int subspill_id;
  double lon;
  double lat;
  double depth;
  int state;
};

// The rows of a particle file (the header line checked and skipped).
inline std::vector<particle_row> read_particles(const std::string& file) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.substr(0, 9), "time (h),") << file;
  std::vector<particle_row> rows;
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) v.push_back(std::strtod(f.c_str(), nullptr));
    EXPECT_EQ(v.size(), 7u) << file << ": " << line;
    if (v.size() != 7) continue;
    rows.push_back({v[0], static_cast<int>(v[1]), static_cast<int>(v[2]), v[3], v[4], v[5], static_cast<int>(v[6])});
  }
  return rows;
}

// Runs the scenario of key `key` in the working directory and expects it to
// complete.
inline void run_ok(const std::string& key) {
  const auto r = run_orvel(std::filesystem::current_path(), key);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(r.err, "");
  ASSERT_NE(r.out.find("The simulation completed succesfully!"), std::string::npos) << r.out;
}

}  // namespace orvel::testing
