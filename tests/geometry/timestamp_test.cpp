#include "geometry/timestamp.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/text.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::scoped_calendar;

calendar_reading at(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
                    int32_t ms) {
  calendar_reading c;
  c.year = year;
  c.month = month;
  c.day = day;
  c.utc_offset_minutes = 60;
  c.hour = hour;
  c.minute = minute;
  c.second = second;
  c.millisecond = ms;
  return c;
}

TEST(GeometryTimestamp, Stamps) {
  const struct {
    calendar_reading when;
    const char* want;
  } rows[] = {
      {at(2026, 5, 8, 9, 5, 7, 42), "May  8 2026   9:05:07.042 AM"},
      {at(2026, 9, 30, 12, 0, 0, 0), "September 30 2026  12:00:00.000 Noon"},
      {at(2026, 9, 30, 12, 0, 0, 999), "September 30 2026  12:00:00.999 Noon"},
      {at(2026, 1, 1, 12, 0, 1, 0), "January  1 2026  12:00:01.000 PM"},
      {at(2026, 2, 28, 12, 1, 0, 0), "February 28 2026  12:01:00.000 PM"},
      {at(2024, 2, 29, 0, 30, 0, 5), "February 29 2024   0:30:00.005 AM"},
      {at(2026, 7, 4, 13, 0, 0, 0), "July  4 2026   1:00:00.000 PM"},
      {at(1999, 12, 31, 23, 59, 59, 999), "December 31 1999  11:59:59.999 PM"},
      {at(987, 10, 10, 11, 9, 9, 90), "October 10  987  11:09:09.090 AM"},
  };
  for (const auto& r : rows) {
    const scoped_calendar clock(r.when);
    std::string s = blanks(40);
    timestring(s);
    EXPECT_EQ(s, fixlen(r.want, 40));
    std::string exact = blanks(std::string(r.want).size());
    timestring(exact);
    EXPECT_EQ(exact, r.want);
  }
  // The extremes: 28 characters (May with AM) and 36 (September with Noon).
  EXPECT_EQ(std::string("May  8 2026   9:05:07.042 AM").size(), 28u);
  EXPECT_EQ(std::string("September 30 2026  12:00:00.000 Noon").size(), 36u);
  // A shorter text gets the stamp cut to its length.
  const scoped_calendar clock(at(2026, 5, 8, 9, 5, 7, 42));
  std::string short_text = blanks(10);
  timestring(short_text);
  EXPECT_EQ(short_text, "May  8 202");
  std::string empty;
  timestring(empty);
  EXPECT_EQ(empty, "");
}

// Puts every unit back to free when the test ends.
struct fresh_units {
  fresh_units() { reset_units(); }
  ~fresh_units() { reset_units(); }
};

TEST(GeometryTimestamp, FreeUnits) {
  const fresh_units units;
  int32_t iunit = -1;
  get_unit(iunit);
  EXPECT_EQ(iunit, 1);
  for (int32_t u = 1; u <= 4; ++u) set_unit_status(u, unit_status::connected);
  get_unit(iunit);
  EXPECT_EQ(iunit, 7);  // 5 and 6 are never handed out
  set_unit_status(7, unit_status::inquiry_fails);
  get_unit(iunit);
  EXPECT_EQ(iunit, 8);
  for (int32_t u = 1; u <= 99; ++u) set_unit_status(u, unit_status::connected);
  get_unit(iunit);
  EXPECT_EQ(iunit, 0);
  set_unit_status(99, unit_status::free);
  get_unit(iunit);
  EXPECT_EQ(iunit, 99);

  // Standard input and output stay connected; numbers outside 1..99 cannot
  // be inquired about.
  set_unit_status(5, unit_status::free);
  EXPECT_EQ(unit_inquire(5), unit_status::connected);
  EXPECT_EQ(unit_inquire(6), unit_status::connected);
  EXPECT_EQ(unit_inquire(0), unit_status::inquiry_fails);
  EXPECT_EQ(unit_inquire(100), unit_status::inquiry_fails);

  reset_units();
  {
    const unit_connection held(1);
    get_unit(iunit);
    EXPECT_EQ(iunit, 2);
  }
  get_unit(iunit);
  EXPECT_EQ(iunit, 1);
}

}  // namespace
}  // namespace orvel::geometry
