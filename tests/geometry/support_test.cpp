#include "geometry/support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::lines;
using testing::stdout_of;

constexpr int32_t imin = std::numeric_limits<int32_t>::min();
constexpr int32_t imax = std::numeric_limits<int32_t>::max();

TEST(GeometryViews, OneBasedColumnByColumn) {
  double a[6] = {11, 21, 12, 22, 13, 23};  // 2 by 3, column by column
  const mat_ref A(a, 2, 3);
  EXPECT_EQ(A(1, 1), 11);
  EXPECT_EQ(A(2, 1), 21);
  EXPECT_EQ(A(1, 3), 13);
  EXPECT_EQ(A(2, 3), 23);
  EXPECT_EQ(A.col(2), a + 2);
  const vec_ref V(a, 6);
  V(6) = 99;
  EXPECT_EQ(a[5], 99);
  EXPECT_EQ(vec_ref(a, -4).size(), 0);  // a negative extent is empty
}

#ifdef ORVEL_BOUNDS_CHECK
TEST(GeometryViews, IndicesCheckedInTestBuilds) {
  double a[6] = {};
  const vec_ref V(a, 3);
  const mat_ref A(a, 2, 3);
  EXPECT_THROW(V(0), std::out_of_range);
  EXPECT_THROW(V(4), std::out_of_range);
  EXPECT_THROW(A(3, 1), std::out_of_range);
  EXPECT_THROW(A(1, 4), std::out_of_range);
  EXPECT_THROW(A(0, 2), std::out_of_range);
  EXPECT_NO_THROW(A(2, 3));
}
#endif

TEST(GeometryMessages, FatalAndWarningLines) {
  expect_fatal(
      [] {
        fatal("SOME_ROUTINE", {"  Detail one.", "  N = " + fmt_i(-3, 8)});
      },
      {" ", "SOME_ROUTINE - Fatal error!", "  Detail one.", "  N =       -3"});
  expect_fatal([] { check_index("R_TITLE", 0, 1, 4); }, {" ", "R_TITLE - Fatal error!", "  Index out of range."});
  EXPECT_NO_THROW(check_index("R_TITLE", 4, 1, 4));
  EXPECT_EQ(stdout_of([] { warning("DGE_FA", {"  Zero pivot on step " + fmt_i(2, 8)}); }),
            lines({" ", "DGE_FA - Warning!", "  Zero pivot on step        2"}));
}

TEST(GeometryText, PutTextPadsAndCuts) {
  std::string s = "old";
  put_text(s, "ab", 5);
  EXPECT_EQ(s, "ab   ");
  put_text(s, "abcdef", 4);
  EXPECT_EQ(s, "abcd");
}

// Expected values worked out modulo 2^32.
TEST(GeometryWrap, ArithmeticModulo2To32) {
  struct row {
    int32_t a, b, add, sub, mul;
  };
  const row rows[] = {
      {imax, 1, imin, imax - 1, imax}, {imin, -1, imax, imin + 1, imin}, {imin, imin, 0, 0, 0},
      {imax, imax, -2, 0, 1},          {65536, 65536, 131072, 0, 0},     {-7, 3, -4, -10, -21},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(wrap_add(r.a, r.b), r.add) << r.a << " " << r.b;
    EXPECT_EQ(wrap_sub(r.a, r.b), r.sub) << r.a << " " << r.b;
    EXPECT_EQ(wrap_mul(r.a, r.b), r.mul) << r.a << " " << r.b;
  }
  EXPECT_EQ(wrap_neg(imin), imin);
  EXPECT_EQ(wrap_neg(imax), imin + 1);
  EXPECT_EQ(wrap_abs(imin), imin);  // stays negative
  EXPECT_EQ(wrap_abs(-5), 5);
  EXPECT_EQ(wrap_div(imin, -1), imin);
  EXPECT_EQ(wrap_rem(imin, -1), 0);
  EXPECT_EQ(wrap_div(-7, 2), -3);  // truncation toward zero
  EXPECT_EQ(wrap_rem(-7, 2), -1);  // sign of the dividend
  EXPECT_EQ(wrap_div(7, -1), -7);
}

TEST(GeometryWrap, RealsToIntegers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct row {
    double x;
    int32_t t, n;
  };
  const row rows[] = {
      {2.5, 2, 3},
      {-2.5, -2, -3},
      {0.49999999999999994, 0, 0},
      {-0.5, 0, -1},
      {2147483647.4, imax, imax},
      {2147483647.5, imax, imin},  // rounds beyond the range
      {2147483648.0, imin, imin},
      {-2147483648.4, imin, imin},
      {-2147483648.6, imin, imin},
      {-2147483649.0, imin, imin},
      {1e300, imin, imin},
      {nan, imin, imin},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(trunc(r.x), r.t) << r.x;
    EXPECT_EQ(nint(r.x), r.n) << r.x;
  }
  EXPECT_EQ(nint(2.5f), 3);
  EXPECT_EQ(nint(-1.5f), -2);
  EXPECT_EQ(nint(2147483648.0f), imin);
}

TEST(GeometryWrap, ClampUnit) {
  EXPECT_EQ(clamp_unit(1.0000000001), 1.0);
  EXPECT_EQ(clamp_unit(-1.5), -1.0);
  EXPECT_EQ(clamp_unit(0.25), 0.25);
  EXPECT_EQ(clamp_unit(std::numeric_limits<double>::quiet_NaN()), -1.0);
  EXPECT_EQ(r8_largest(), 1.7976931348623157e308);
}

}  // namespace
}  // namespace orvel::geometry
