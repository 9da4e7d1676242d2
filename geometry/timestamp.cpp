#include "geometry/timestamp.hpp"

#include <array>
#include <string_view>

#include "common/format.hpp"
#include "geometry/platform.hpp"

namespace orvel::geometry {
namespace {

constexpr int32_t first_unit = 1;
constexpr int32_t last_unit = 99;

std::array<unit_status, last_unit + 1>& units() {
  static std::array<unit_status, last_unit + 1> table = [] {
    std::array<unit_status, last_unit + 1> t{};
    t.fill(unit_status::free);
    return t;
  }();
  return table;
}

bool standard_unit(int32_t unit) { return unit == 5 || unit == 6; }

// An integer as exactly w digits with leading zeros (I w.w), asterisks when
// it does not fit.
std::string zero_padded(int32_t v, int w) {
  std::string s = fmt_i(v, w);
  if (v >= 0)
    for (char& c : s)
      if (c == ' ') c = '0';
  return s;
}

}  // namespace

void timestring(std::string& string) {
  static constexpr std::string_view month_name[12] = {"January",   "February", "March",    "April",
                                                      "May",       "June",     "July",     "August",
                                                      "September", "October",  "November", "December"};
  const calendar_reading c = local_calendar();
  check_index("TIMESTRING", c.month, 1, 12);
  int32_t hour = c.hour;
  std::string_view word;
  if (c.hour < 12) {
    word = "AM";
  } else if (c.hour == 12) {
    word = c.minute == 0 && c.second == 0 ? "Noon" : "PM";
  } else {
    hour = c.hour - 12;
    word = "PM";
  }
  std::string stamp(month_name[c.month - 1]);
  stamp += ' ';
  stamp += fmt_i(c.day, 2);
  stamp += ' ';
  stamp += fmt_i(c.year, 4);
  stamp += "  ";
  stamp += fmt_i(hour, 2);
  stamp += ':';
  stamp += zero_padded(c.minute, 2);
  stamp += ':';
  stamp += zero_padded(c.second, 2);
  stamp += '.';
  stamp += zero_padded(c.millisecond, 3);
  stamp += ' ';
  stamp += word;
  put_text(string, stamp, string.size());
}

void get_unit(int32_t& iunit) {
  iunit = 0;
  for (int32_t i = first_unit; i <= last_unit; ++i) {
    if (standard_unit(i)) continue;
    if (unit_inquire(i) == unit_status::free) {
      iunit = i;
      return;
    }
  }
}

unit_status unit_inquire(int32_t unit) {
  if (unit < first_unit || unit > last_unit) return unit_status::inquiry_fails;
  if (standard_unit(unit)) return unit_status::connected;
  return units()[static_cast<std::size_t>(unit)];
}

void set_unit_status(int32_t unit, unit_status status) {
  if (unit < first_unit || unit > last_unit || standard_unit(unit)) return;
  units()[static_cast<std::size_t>(unit)] = status;
}

void reset_units() { units().fill(unit_status::free); }

}  // namespace orvel::geometry
