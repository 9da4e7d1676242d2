#include "common/list_input.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/errors.hpp"

namespace orvel {
namespace {

list_reader lines(std::vector<std::string> l) { return list_reader("f.txt", std::move(l)); }

TEST(ListInput, RecordRules) {
  // Continuation over lines, blank lines passed over, surplus values and
  // remarks ignored, comma and blank separators.
  auto r = lines({"1 2", "", "   ", "3, 4.5 remark here", "7,8", "  9 / 10", "11"});
  int32_t a = 0, b = 0, c = 0;
  float x = 0;
  EXPECT_TRUE(r.read(a, b, c));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);  // continued past two blank lines; "4.5 remark here" ignored
  EXPECT_TRUE(r.read(a));
  EXPECT_EQ(a, 7);  // 8 is surplus
  // "/" ends the record: the remaining variables keep their values.
  a = -1, b = -2;
  EXPECT_FALSE(r.read(a, b));
  EXPECT_EQ(a, 9);
  EXPECT_EQ(b, -2);
  EXPECT_TRUE(r.read(x));
  EXPECT_EQ(x, 11.0f);
  EXPECT_TRUE(r.at_end());
}

// A tab separates values like a blank: before, between and after them, and
// ending a text item.
TEST(ListInput, TabsSeparateValues) {
  auto r = lines({"1\t2,3", "\t4.5\t\t-6\t", "name\tnext"});
  int32_t a = 0, b = 0, c = 0, e = 0;
  double x = 0;
  std::string s;
  EXPECT_TRUE(r.read(a, b, c));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_TRUE(r.read(x, e));
  EXPECT_EQ(x, 4.5);
  EXPECT_EQ(e, -6);
  EXPECT_TRUE(r.read(s));
  EXPECT_EQ(s, "name");
}

TEST(ListInput, SlashAloneLeavesEverythingUnchanged) {
  auto r = lines({" /", "5"});
  int32_t a = 42;
  EXPECT_FALSE(r.read(a));
  EXPECT_EQ(a, 42);
  EXPECT_TRUE(r.read(a));
  EXPECT_EQ(a, 5);
}

TEST(ListInput, SlashRightAfterAValue) {
  auto r = lines({"3/4", "6"});
  int32_t a = 0, b = 0;
  EXPECT_FALSE(r.read(a, b));
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, 0);
  EXPECT_TRUE(r.read(b));
  EXPECT_EQ(b, 6);
}

TEST(ListInput, TextItems) {
  auto r = lines({"bathy.dat  next", "'a name with blanks' 3", "name/rest", "x,y"});
  std::string s;
  int32_t n = 0;
  r.read(s);
  EXPECT_EQ(s, "bathy.dat");
  r.read(s, n);
  EXPECT_EQ(s, "a name with blanks");
  EXPECT_EQ(n, 3);
  r.read(s);
  EXPECT_EQ(s, "name");
  r.read(s);
  EXPECT_EQ(s, "x");
}

TEST(ListInput, RealsParsedStraightToTheirPrecision) {
  // This value lies just above the midpoint of two floats, and its nearest
  // double is that midpoint: rounding through double would tie to the lower.
  const char* tricky = "0.100000012665987014770507812501";
  float f = 0;
  ASSERT_TRUE(parse_float(tricky, f));
  EXPECT_EQ(f, 0.100000016391277313232421875f);
  EXPECT_NE(f, static_cast<float>(std::strtod(tricky, nullptr)));

  double d = 0;
  struct c {
    const char* s;
    double v;
  } cases[] = {{"1.5", 1.5}, {"+2", 2}, {"-3.", -3}, {".25", 0.25}, {"1d2", 100}, {"1.5D-1", 0.15}, {"2E1", 20}};
  for (auto& k : cases) {
    ASSERT_TRUE(parse_double(k.s, d)) << k.s;
    EXPECT_EQ(d, k.v) << k.s;
  }
  for (const char* bad : {"", "abc", "1.5x", "1..2", "++1", "1e", "1e999"}) {
    EXPECT_FALSE(parse_double(bad, d)) << bad;
  }
}

TEST(ListInput, Integers) {
  int32_t v = 0;
  EXPECT_TRUE(parse_int32("2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(parse_int32("+12", v));
  EXPECT_EQ(v, 12);
  for (const char* bad : {"2147483648", "1.0", "1e3", "x", "", "-"}) EXPECT_FALSE(parse_int32(bad, v)) << bad;
}

void expect_error(list_reader& r, auto& v, int64_t line, const char* found_part) {
  try {
    r.read(v);
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "f.txt");
    EXPECT_EQ(e.line(), line) << e.what();
    EXPECT_NE(e.message().find(found_part), std::string::npos) << e.what();
    EXPECT_NE(e.message().find("expected"), std::string::npos) << e.what();
  }
}

TEST(ListInput, ErrorsNameFileLineExpectedAndFound) {
  {
    auto r = lines({"1", "", "abc"});
    int32_t a = 0;
    r.read(a);
    expect_error(r, a, 3, "\"abc\"");
  }
  {
    auto r = lines({" * 5"});  // a blank then "*" is a value, not a comment
    float x = 0;
    expect_error(r, x, 1, "\"*\"");
  }
  {
    auto r = lines({"1"});
    int32_t a = 0, b = 0;
    try {
      r.read(a, b);
      FAIL();
    } catch (const input_error& e) {
      EXPECT_EQ(e.line(), 2);
      EXPECT_NE(e.message().find("end of file"), std::string::npos);
    }
  }
  {
    auto r = lines({"3.5"});
    int32_t a = 0;
    expect_error(r, a, 1, "\"3.5\"");
  }
}

TEST(ListInput, NamedValuesHeldToTheirRanges) {
  static constexpr list_reader::value_range ranges[] = {{"u", -15.0, 15.0, " m/s"}, {"lat", -90.0, 90.0, ""}};
  list_reader r("f.txt", {"1 2 3", "40 16 0", "-90 -15 91"});
  r.limit_values(ranges);
  double lat = 0.0, u = 0.0;
  float other = 0.0f;
  // Values of other names, and of no name, are not held.
  EXPECT_TRUE(r.read({"lat", "u", "other"}, lat, u, other));
  try {
    r.read({"lat", "u", "other"}, lat, u, other);
    ADD_FAILURE() << "accepted";
  } catch (const input_error& e) {
    EXPECT_STREQ(e.what(), "f.txt:2: u = 16: must be from -15 to 15 m/s");
  }
  list_reader::record rec(r);
  EXPECT_TRUE(rec.item(lat, "lat") && rec.item(u, "u"));  // the limits belong to the range
  EXPECT_EQ(lat, -90.0);
  EXPECT_EQ(u, -15.0);
  EXPECT_THROW(rec.item(other, "lat"), input_error);
}

TEST(ListInput, LineNumbersMappedToTheSource) {
  list_reader r("x.run", {"1", "zz"}, {3, 7});
  int32_t a = 0;
  r.read(a);
  EXPECT_EQ(r.record_line(), 3);
  try {
    r.read(a);
    FAIL();
  } catch (const input_error& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 8), "x.run:7:");
  }
}

TEST(ListInput, ItemsAndLines) {
  auto r = lines({"header line", "1 2", "3", "tail"});
  EXPECT_EQ(r.read_line("header"), "header line");
  double v[3] = {};
  {
    list_reader::record rec(r);
    EXPECT_TRUE(rec.items(v, 3));
  }
  EXPECT_EQ(v[2], 3.0);
  EXPECT_EQ(r.read_line("tail"), "tail");
  EXPECT_THROW(r.read_line("more"), input_error);
}

}  // namespace
}  // namespace orvel
