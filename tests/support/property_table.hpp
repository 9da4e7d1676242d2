// A property file taken apart by its header labels, for audits of the mass
// budget: the printed compartment masses are summed here, from the printed
// figures, and never taken from the file's own balance column.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.hpp"

namespace orvel::testing {

class property_table {
 public:
  explicit property_table(std::string file) : file_(std::move(file)) {
    std::istringstream in(read_file(file_));
    std::string line;
    std::getline(in, line);
    for (const auto& f : fields(line)) labels_.push_back(trimmed(f));
    while (std::getline(in, line)) {
      const auto f = fields(line);
      EXPECT_EQ(f.size(), labels_.size()) << file_ << ": " << line;
      std::vector<double> row;
      for (const auto& s : f) {
        char* end = nullptr;
        const std::string t = trimmed(s);
        row.push_back(std::strtod(t.c_str(), &end));
        EXPECT_TRUE(!t.empty() && *end == '\0') << file_ << ": \"" << s << "\" is not a number";
      }
      rows_.push_back(row);
    }
  }

  const std::string& file() const { return file_; }
  const std::vector<std::string>& labels() const { return labels_; }
  std::size_t size() const { return rows_.size(); }

  // Index of the column of that label (its trailing "," not part of it).
  std::size_t column(const std::string& label) const {
    for (std::size_t i = 0; i < labels_.size(); ++i) {
      if (labels_[i] == label) return i;
    }
    ADD_FAILURE() << file_ << ": no column \"" << label << "\"";
    return 0;
  }
  bool has(const std::string& label) const {
    for (const auto& l : labels_) {
      if (l == label) return true;
    }
    return false;
  }
  double at(std::size_t row, const std::string& label) const { return rows_.at(row).at(column(label)); }

  // The compartments of the budget printed in kilograms in this file, in
  // their printed order: every "(kg)" column but the emulsion masses (oil
  // and the water it holds, not a compartment of the released mass).  The
  // evaporated mass is one of them.
  std::vector<std::size_t> mass_columns() const {
    std::vector<std::size_t> r;
    for (std::size_t i = 0; i < labels_.size(); ++i) {
      const auto& l = labels_[i];
      if (l.size() < 4 || l.compare(l.size() - 4, 4, "(kg)") != 0) continue;
      if (l.rfind("emulsified", 0) == 0) continue;
      r.push_back(i);
    }
    return r;
  }
  // The printed compartment masses of a row, summed.
  double printed_mass(std::size_t row) const {
    double sum = 0.0;
    for (const auto i : mass_columns()) sum += rows_.at(row).at(i);
    return sum;
  }

 private:
  static std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string s; std::getline(in, s, ',');) f.push_back(s);
    return f;
  }
  static std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
  }

  std::string file_;
  std::vector<std::string> labels_;
  std::vector<std::vector<double>> rows_;
};

}  // namespace orvel::testing
