#include "control/input_places.hpp"

#include <map>

namespace orvel {
namespace {

std::map<std::string, std::vector<value_place>, std::less<>>& places() {
  static std::map<std::string, std::vector<value_place>, std::less<>> p;
  return p;
}

}  // namespace

void note_places(const std::string& file, const std::vector<list_reader::place>& read) {
  for (const auto& p : read) places()[p.name].push_back({file, p.line});
}

value_place place_of(std::string_view name, int32_t k, const std::string& fallback_file) {
  const auto it = places().find(name);
  if (it == places().end() || it->second.empty()) return {fallback_file, 0};
  const auto& v = it->second;
  if (k < 1 || static_cast<std::size_t>(k) > v.size()) return v.back();
  return v[static_cast<std::size_t>(k) - 1];
}

input_error refusal_at(std::string_view name, const std::string& fallback_file, const std::string& message,
                       int32_t k) {
  const value_place p = place_of(name, k, fallback_file);
  return input_error(p.file, p.line, message);
}

void forget_places() { places().clear(); }

}  // namespace orvel
