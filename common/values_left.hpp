// Values left over on the line of a record: a comma between two digits
// there is most likely a decimal mark, anything else extra columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/list_input.hpp"

namespace orvel {

// The values a series or node-list record of `r` leaves on its last line,
// once the `taken` values of the record are read.  With a comma between two
// digits on that line it is refused (file, line, the counts found and
// taken): the comma is most likely a decimal mark.  Otherwise the first
// such line of each file is named in a warning on standard error (files
// written for other tools may carry extra columns).
void check_values_left(const list_reader& r, const list_reader::record& rec, int32_t taken);

// Rethrows the error being handled while a record of `r` was read, unless
// the record's line holds more than `taken` values with a comma between two
// digits: then the comma, the likely cause of a value out of range or out
// of place, is named instead.  Call it inside a catch block.
[[noreturn]] void rethrow_naming_comma(const list_reader& r, const list_reader::record& rec, int32_t taken);

// The question whether the comma is the decimal mark, when `line` has a
// comma between two digits ("" otherwise).
std::string decimal_comma_text(std::string_view line);

// "the line holds N values, but its record takes `taken`", and the question
// of the decimal comma when it applies.
std::string too_many_values_text(std::string_view line, int32_t taken);

// Forgets which files have been warned about (a new run warns again).
void forget_values_left_warnings();

}  // namespace orvel
