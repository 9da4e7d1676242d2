#include "common/format.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvel {
namespace {

struct fcase {
  double x;
  int w, d;
  const char* want;
};

// Expected texts are those of a Fortran compiler's F edit descriptor.
TEST(FormatF, Table) {
  const fcase cases[] = {
      {0.125, 5, 2, " 0.12"},   // exact tie: to even
      {0.375, 5, 2, " 0.38"},   // exact tie: to even
      {2.5, 4, 0, "  2."},      // F w.0 keeps the point
      {3.5, 4, 0, "  4."},
      {0.5, 3, 2, ".50"},       // no room for the leading zero
      {-0.5, 4, 2, "-.50"},
      {-0.5, 5, 2, "-0.50"},
      {-0.001, 5, 2, "-0.00"},  // sign kept when rounding to zero
      {-0.0, 5, 2, "-0.00"},
      {12.5, 4, 2, "****"},     // too wide
      {-9.96, 4, 1, "****"},    // rounds up into a wider number
      {0.0, 6, 0, "    0."},
      {0.4, 2, 0, "0."},
      {0.4, 1, 0, "*"},
      {10.05, 14, 7, "    10.0500000"},
      {1.0e300, 10, 3, "**********"},
      {0.0005, 8, 3, "   0.001"},  // binary value lies above the tie
      {2.0005, 8, 3, "   2.001"},
      {0.25, 8, 1, "     0.2"},
      {static_cast<double>(0.35f), 8, 1, "     0.3"},  // single 0.35 lies below
      {-123.456, 10, 2, "   -123.46"},
      {std::numeric_limits<double>::quiet_NaN(), 6, 2, "   NaN"},
      {std::numeric_limits<double>::infinity(), 10, 2, "  Infinity"},
      {-std::numeric_limits<double>::infinity(), 5, 2, " -Inf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fmt_f(c.x, c.w, c.d), c.want) << c.x << " F" << c.w << "." << c.d;
  }
}

TEST(FormatE, Table) {
  EXPECT_EQ(fmt_es(1234.5678, 12, 4), "  1.2346E+03");
  EXPECT_EQ(fmt_es(-1234.5678, 12, 4), " -1.2346E+03");
  EXPECT_EQ(fmt_es(0.0, 10, 3), " 0.000E+00");
  EXPECT_EQ(fmt_es(9.9996, 10, 3), " 1.000E+01");
  EXPECT_EQ(fmt_es(1.5e-120, 12, 3), "   1.500-120");
  EXPECT_EQ(fmt_es(-1234.5678, 9, 3), "*********");
  EXPECT_EQ(fmt_es(1234.5678, 12, 4, 3), " 1.2346E+003");
  EXPECT_EQ(fmt_e(1234.5678, 12, 4), "  0.1235E+04");
  EXPECT_EQ(fmt_e(0.0, 12, 4), "  0.0000E+00");
  EXPECT_EQ(fmt_e(-0.00012345, 12, 4), " -0.1234E-03");
  EXPECT_EQ(fmt_e(-0.00012345, 11, 4), "-0.1234E-03");
  EXPECT_EQ(fmt_e(-0.00012345, 10, 4), "-.1234E-03");
  EXPECT_EQ(fmt_e(1.5e120, 12, 4), "  0.1500+121");
  EXPECT_EQ(fmt_e(0.99995, 12, 4), "  0.1000E+01");
  EXPECT_EQ(fmt_e(0.125, 12, 4), "  0.1250E+00");
}

TEST(FormatIA, Table) {
  EXPECT_EQ(fmt_i(-12, 3), "-12");
  EXPECT_EQ(fmt_i(-123, 3), "***");
  EXPECT_EQ(fmt_i(7, 5), "    7");
  EXPECT_EQ(fmt_i(0, 1), "0");
  EXPECT_EQ(fmt_a("abc", 6), "   abc");
  EXPECT_EQ(fmt_a("abc", 2), "ab");
  EXPECT_EQ(fmt_a("abc", 3), "abc");
  EXPECT_EQ(fmt_a("ab  ", 6), "  ab  ");  // blank padding is part of the text
  EXPECT_EQ(free_line("The simulation completed succesfully!"),
            " The simulation completed succesfully!");
  const float reals[] = {0.15625f, 0.0f, -1.5f};
  EXPECT_EQ(free_line(std::span<const float>(reals)), " 1.56250000E-01 0.00000000E+00-1.50000000E+00");
  EXPECT_EQ(free_line(int32_t{5}), "           5");
}

}  // namespace
}  // namespace orvel
