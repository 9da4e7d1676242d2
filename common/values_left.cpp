#include "common/values_left.hpp"

#include <iostream>
#include <vector>

#include "common/errors.hpp"

namespace orvel {
namespace {

// Files whose values left over on a line have been warned about.
std::vector<std::string>& warned_files() {
  static std::vector<std::string> w;
  return w;
}

}  // namespace

std::string decimal_comma_text(std::string_view line) {
  return comma_between_digits(line)
             ? ": is the comma the decimal mark? Write decimals with a point (\"8.0 190.0\"); a comma, like a "
               "blank, separates two values"
             : "";
}

std::string too_many_values_text(std::string_view line, int32_t taken) {
  return "the line holds " + std::to_string(count_values(line)) + " values, but its record takes " +
         std::to_string(taken) + decimal_comma_text(line);
}

void check_values_left(const list_reader& r, const list_reader::record& rec, int32_t taken) {
  const int32_t left = count_values(rec.rest_of_line());
  if (left == 0) return;
  const std::string counts = too_many_values_text(rec.line(), taken);
  if (comma_between_digits(rec.line())) throw input_error(r.name(), r.record_line(), counts);
  for (const auto& f : warned_files())
    if (f == r.name()) return;
  warned_files().push_back(r.name());
  std::cerr << "orvel: warning: " << r.name() << ":" << r.record_line() << ": " << counts
            << ": the values beyond the first " << taken
            << " are not read (said once for this file; a file written for another tool may carry extra columns)\n";
}

void rethrow_naming_comma(const list_reader& r, const list_reader::record& rec, int32_t taken) {
  if (comma_between_digits(rec.line()) && count_values(rec.line()) > taken) {
    throw input_error(r.name(), r.line_number(), too_many_values_text(rec.line(), taken));
  }
  throw;
}

void forget_values_left_warnings() { warned_files().clear(); }

}  // namespace orvel
