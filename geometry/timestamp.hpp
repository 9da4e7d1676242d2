// The time stamp and the library's file units.
//
// timestring writes the local date and time to the millisecond into a text,
// "May  8 2026   9:05:07.042 AM": month name, day, year, the hour of a
// 12-hour clock (0 for the first hour after midnight), minutes, seconds and
// milliseconds, and AM, PM or Noon (12:00:00 exactly).
//
// File units are the numbers 1 to 99 by which the library's file output
// names an open file.  The registry below records which are connected;
// 5 and 6 (standard input and output) always are.  get_unit hands out the
// lowest free one.
#pragma once

#include <cstdint>
#include <string>

#include "geometry/support.hpp"

namespace orvel::geometry {

// STRING keeps its length: the stamp (28 to 36 characters) is blank-padded
// to it, or cut to it when STRING is shorter.
void timestring(std::string& string);

// A free unit number from 1 to 99 (never 5 or 6), the lowest first; 0 when
// none is free.  A unit whose inquiry fails counts as not free.
void get_unit(int32_t& iunit);

// What an inquiry about a unit answers.
enum class unit_status { free, connected, inquiry_fails };

// The registry.  Numbers outside 1..99 answer inquiry_fails; 5 and 6 answer
// connected and cannot be changed.
unit_status unit_inquire(int32_t unit);
void set_unit_status(int32_t unit, unit_status status);
// Every unit free again (5 and 6 stay connected).
void reset_units();

// Holds a unit connected while it lives, then frees it.
class unit_connection {
 public:
  explicit unit_connection(int32_t unit) : unit_(unit) { set_unit_status(unit_, unit_status::connected); }
  ~unit_connection() { set_unit_status(unit_, unit_status::free); }
  unit_connection(const unit_connection&) = delete;
  unit_connection& operator=(const unit_connection&) = delete;

 private:
  int32_t unit_;
};

}  // namespace orvel::geometry
