#include "geometry/support.hpp"

#include <iostream>

#include "common/errors.hpp"
#include "common/text.hpp"

namespace orvel::geometry {

void index_fault(int64_t i, int64_t lo, int64_t hi) {
  throw std::out_of_range("geometry: index " + std::to_string(i) + " outside " + std::to_string(lo) + ":" +
                          std::to_string(hi));
}

namespace {

std::string message(std::string_view title, std::string_view kind, std::initializer_list<std::string_view> details) {
  std::string text = " \n";
  text += title;
  text += kind;
  for (const auto line : details) {
    text += '\n';
    text += line;
  }
  return text;
}

}  // namespace

void fatal(std::string_view title, std::initializer_list<std::string_view> details) {
  throw run_stop(message(title, " - Fatal error!", details), run_stop::stream::out, fatal_status);
}

void warning(std::string_view title, std::initializer_list<std::string_view> details) {
  std::cout << message(title, " - Warning!", details) << '\n';
}

void print_lines(std::initializer_list<std::string_view> lines) {
  for (const auto line : lines) std::cout << line << '\n';
}

void put_text(std::string& out, std::string_view s, std::size_t len) { out = fixlen(s, len); }

}  // namespace orvel::geometry
