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
  // The last two-digit exponents keep their letter; the next ones drop it.
  EXPECT_EQ(fmt_es(1e99, 12, 3), "   1.000E+99");
  EXPECT_EQ(fmt_es(-2.5e-99, 12, 3), "  -2.500E-99");
  EXPECT_EQ(fmt_es(1e100, 12, 3), "   1.000+100");
  EXPECT_EQ(fmt_es(1e-100, 12, 3), "   1.000-100");
  EXPECT_EQ(fmt_e(1e98, 12, 4), "  0.1000E+99");
  EXPECT_EQ(fmt_e(1.5e-100, 12, 4), "  0.1500E-99");
  EXPECT_EQ(fmt_e(1e99, 12, 4), "  0.1000+100");
}

// G w.d: fixed notation in w - 4 characters and 4 blanks while the value
// rounded to d digits has 0 to d digits before the point, E w.d otherwise.
TEST(FormatG, Table) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const fcase cases[] = {
      {0.0, 14, 6, "   0.00000    "},  // zero: fixed with d - 1 decimals
      {0.5, 14, 6, "  0.500000    "},
      {0.09999999, 14, 6, "  0.100000    "},  // rounds up to 0.1: fixed
      {123456.4, 14, 6, "   123456.    "},
      {999999.5, 14, 6, "  0.100000E+07"},  // rounds up to seven digits
      {-1.5e10, 14, 6, " -0.150000E+11"},
      {1e-5, 14, 6, "  0.100000E-04"},
      {1e100, 14, 6, "  0.100000+101"},  // three exponent digits, no E
      {nan, 14, 6, "           NaN"},
      {0.0, 16, 8, "   0.0000000    "},
      {0.5, 16, 8, "  0.50000000    "},
      {0.09999999, 16, 8, "  0.99999990E-01"},  // below 0.1 at 8 digits
      {123456.4, 16, 8, "   123456.40    "},
      {999999.5, 16, 8, "   999999.50    "},
      {-1.5e10, 16, 8, " -0.15000000E+11"},
      {1e-5, 16, 8, "  0.10000000E-04"},
      {1e100, 16, 8, "  0.10000000+101"},
      {nan, 16, 8, "             NaN"},
      {123456.4, 10, 6, "**********"},  // fixed part wider than w - 4
      {-1.5e10, 11, 6, "***********"},  // exponent form wider than w
      {-2.5, 14, 6, "  -2.50000    "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fmt_g(c.x, c.w, c.d), c.want) << c.x << " G" << c.w << "." << c.d;
  }
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
