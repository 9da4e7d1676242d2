// Where each value of the control files was read: the file and the line of
// every named value, kept so that the start-up checks, which run after the
// files are closed, name the line of the value they refuse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.hpp"
#include "common/list_input.hpp"

namespace orvel {

struct value_place {
  std::string file;
  int64_t line = 0;
};

// Adds the places that a reader of `file` kept.
void note_places(const std::string& file, const std::vector<list_reader::place>& places);

// The place of value `name`: its k-th reading for k >= 1 (the last one when
// it was read fewer times), the last reading for k = 0.  A value never read
// gives `fallback_file` and line 0.
value_place place_of(std::string_view name, int32_t k = 0, const std::string& fallback_file = {});

// An input_error on the line of value `name` (its k-th reading, as
// place_of), or on line 0 of `fallback_file` when it was never read.
input_error refusal_at(std::string_view name, const std::string& fallback_file, const std::string& message,
                       int32_t k = 0);

// Forgets every place (reset_state calls it).
void forget_places();

}  // namespace orvel
