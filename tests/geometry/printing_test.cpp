#include "geometry/printing.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::lines;
using testing::stdout_of;

// A 2 by 3 matrix, rows (1, 2, 3) and (4, 5, -6), column by column.
const int32_t a23[6] = {1, 4, 2, 5, 3, -6};

TEST(GeometryPrinting, Vectors) {
  const int32_t iv[2] = {5, -12};
  EXPECT_EQ(stdout_of([&] { i4vec_print(2, iv, "  Vec  "); }), lines({" ", "  Vec", " ",            //
                                                                      "         1:             5",  //
                                                                      "         2:           -12"}));
  const double rv[3] = {0.25, -1.5e-3, 123456789.0};
  EXPECT_EQ(stdout_of([&] { r8vec_print(3, rv, "R"); }), lines({" ", "R", " ",                   //
                                                                "         1:   0.25000000    ",  //
                                                                "         2:  -0.15000000E-02",  //
                                                                "         3:   0.12345679E+09"}));
  const bool lv[3] = {true, false, true};
  EXPECT_EQ(stdout_of([&] { lvec_print(3, lv, "L"); }),
            lines({" ", "L", " ", "         1: T", "         2: F", "         3: T"}));
  // No entries: the three heading lines; a blank title prints as an empty line.
  EXPECT_EQ(stdout_of([&] { lvec_print(0, lv, "L"); }), lines({" ", "L", " "}));
  EXPECT_EQ(stdout_of([&] { i4vec_print(1, iv, "    "); }), lines({" ", "", " ", "         1:             5"}));
  // Entry 1 holding 5: 25 characters, the 1 at position 10, the colon at 11.
  const std::string one = "         1:             5";
  EXPECT_EQ(one.size(), 25u);
  EXPECT_EQ(one.find('1'), 9u);
}

TEST(GeometryPrinting, IntegerMatrixAsStoredAndTransposed) {
  const std::string stored = stdout_of([] { i4mat_print(2, 3, a23, "A  "); });
  EXPECT_EQ(stored, lines({" ", "A", " ",                     //
                           "  Col        1       2       3",  //
                           "  Row", " ",                      //
                           "    1:       1       2       3",  //
                           "    2:       4       5      -6"}));
  // The column numbers stand at positions 14, 22 and 30.
  const std::string header = "  Col        1       2       3";
  EXPECT_EQ(header.size(), 30u);
  EXPECT_EQ(header[13], '1');
  EXPECT_EQ(header[21], '2');
  EXPECT_EQ(header[29], '3');
  // The whole routines are the _some routines over the whole matrix.
  EXPECT_EQ(stdout_of([] { i4mat_print_some(2, 3, a23, -5, -5, 9, 9, "A"); }), stored);

  const std::string transposed = stdout_of([] { i4mat_transpose_print(2, 3, a23, "A"); });
  EXPECT_EQ(transposed, lines({" ", "A", " ",             //
                               "  Row        1       2",  //
                               "  Col", " ",              //
                               "    1:       1       4",  //
                               "    2:       2       5",  //
                               "    3:       3      -6"}));
  EXPECT_EQ(stdout_of([] { i4mat_transpose_print_some(2, 3, a23, 0, 0, 2, 3, "A"); }), transposed);
  // Transposing the matrix and printing it as stored gives the same lines
  // except for the header and label words.
  const int32_t t32[6] = {1, 2, 3, 4, 5, -6};
  std::string swapped = stdout_of([&] { i4mat_print(3, 2, t32, "A"); });
  swapped.replace(swapped.find("  Col "), 6, "  Row ");
  swapped.replace(swapped.find("  Row\n"), 6, "  Col\n");
  EXPECT_EQ(swapped, transposed);
}

TEST(GeometryPrinting, IntegerMatrixInTwoBands) {
  // 3 by 12, A(i, j) = 100 i + j; columns 0..25 clipped to 1..12, rows 2..3.
  std::vector<int32_t> a(36);
  for (int32_t j = 1; j <= 12; ++j)
    for (int32_t i = 1; i <= 3; ++i) a[(j - 1) * 3 + (i - 1)] = 100 * i + j;
  EXPECT_EQ(stdout_of([&] { i4mat_print_some(3, 12, a.data(), 2, 0, 3, 25, "Bands"); }),
            lines({" ", "Bands", " ",
                   "  Col        1       2       3       4       5       6       7       8       9      10", "  Row",
                   " ", "    2:     201     202     203     204     205     206     207     208     209     210",
                   "    3:     301     302     303     304     305     306     307     308     309     310", " ",
                   "  Col       11      12", "  Row", " ",  //
                   "    2:     211     212",                //
                   "    3:     311     312"}));
  // JHI ends a band early: columns 9..11 in bands 9..11 (one band).
  EXPECT_EQ(stdout_of([&] { i4mat_print_some(3, 12, a.data(), 1, 9, 1, 11, "B"); }),
            lines({" ", "B", " ", "  Col        9      10      11", "  Row", " ", "    1:     109     110     111"}));
}

TEST(GeometryPrinting, RealMatrixFields) {
  const double id[4] = {1.0, 0.0, 0.0, 1.0};
  EXPECT_EQ(stdout_of([&] { r8mat_print(2, 2, id, "I"); }), lines({" ", "I", " ",                           //
                                                                   "  Col          1             2      ",  //
                                                                   "  Row", " ",                            //
                                                                   "    1:      1.            0.      ",    //
                                                                   "    2:      0.            1.      "}));
  // Transposed, every entry takes the general form.
  EXPECT_EQ(stdout_of([&] { r8mat_transpose_print(2, 2, id, "I"); }), lines({" ", "I", " ",                           //
                                                                             "  Row          1             2      ",  //
                                                                             "  Col", " ",                            //
                                                                             "    1:   1.00000       0.00000    ",    //
                                                                             "    2:   0.00000       1.00000    "}));
  // Rows (0.5, 5e9, 12345678, 7) and (-123456, -1234567, 2^31, -2^31):
  // fixed general, exponent general (a whole number beyond the 4-byte
  // range), whole numbers too wide for 8 characters, whole numbers.
  const double mixed[8] = {0.5, -123456.0, 5.0e9, -1234567.0, 12345678.0, 2147483648.0, 7.0, -2147483648.0};
  EXPECT_EQ(stdout_of([&] { r8mat_print(2, 4, mixed, "Mixed"); }),
            lines({" ", "Mixed", " ",
                   "  Col          1             2             3             4      ",  //
                   "  Row", " ", "    1:  0.500000      0.500000E+10********            7.      ",
                   "    2:-123456.      ********        0.214748E+10********      "}));
}

TEST(GeometryPrinting, RealMatrixInBands) {
  // 1 by 7: bands of 5 columns; the transposed form of a 7 by 1 matrix
  // bands its rows the same way.
  const double a[7] = {1, 2, 3, 4, 5, 6, 7.5};
  EXPECT_EQ(stdout_of([&] { r8mat_print(1, 7, a, "W"); }),
            lines({" ", "W", " ",
                   "  Col          1             2             3             4             5      ",  //
                   "  Row", " ",
                   "    1:      1.            2.            3.            4.            5.      ",  //
                   " ", "  Col          6             7      ", "  Row", " ", "    1:      6.         7.50000    "}));
  EXPECT_EQ(stdout_of([&] { r8mat_transpose_print_some(7, 1, a, 6, 1, 9, 1, "W"); }),
            lines({" ", "W", " ", "  Row          6             7      ", "  Col", " ",
                   "    1:   6.00000       7.50000    "}));
  EXPECT_EQ(stdout_of([&] { r8mat_print_some(1, 7, a, 1, 7, 1, 7, "W"); }),
            lines({" ", "W", " ", "  Col          7      ", "  Row", " ", "    1:   7.50000    "}));
}

TEST(GeometryPrinting, RowNumberTooWide) {
  std::vector<int32_t> v(100000, 0);
  v.back() = 42;
  EXPECT_EQ(stdout_of([&] { i4mat_print_some(100000, 1, v.data(), 100000, 1, 100000, 1, "Far"); }),
            lines({" ", "Far", " ", "  Col        1", "  Row", " ", "*****:      42"}));
}

TEST(GeometryPrinting, EmptyRanges) {
  const double r23[6] = {1, 4, 2, 5, 3, -6};
  const std::string title_only = lines({" ", "T"});
  const struct {
    const char* what;
    std::function<void()> print;
    std::string want;
  } rows[] = {
      {"no columns", [] { i4mat_print(2, 0, a23, "T"); }, title_only},
      {"JLO above N", [] { i4mat_print_some(2, 3, a23, 1, 4, 2, 9, "T"); }, title_only},
      {"JLO above JHI", [] { i4mat_print_some(2, 3, a23, 1, 3, 2, 2, "T"); }, title_only},
      {"real, no columns", [&] { r8mat_print_some(2, 3, r23, 1, 3, 2, 0, "T"); }, title_only},
      {"transposed, no rows", [] { i4mat_transpose_print_some(2, 3, a23, 5, 1, 9, 3, "T"); }, title_only},
      {"real transposed, no rows", [&] { r8mat_transpose_print(0, 3, r23, "T"); }, title_only},
      {"no rows", [] { i4mat_print_some(2, 3, a23, 3, 1, 5, 2, "T"); },
       lines({" ", "T", " ", "  Col        1       2", "  Row", " "})},
      {"real, no rows", [&] { r8mat_print(0, 1, r23, "T"); },
       lines({" ", "T", " ", "  Col          1      ", "  Row", " "})},
      {"transposed, no columns", [] { i4mat_transpose_print_some(2, 3, a23, 1, 4, 1, 9, "T"); },
       lines({" ", "T", " ", "  Row        1", "  Col", " "})},
      {"real transposed, no columns", [&] { r8mat_transpose_print_some(2, 3, r23, 2, 2, 2, 1, "T"); },
       lines({" ", "T", " ", "  Row          2      ", "  Col", " "})},
  };
  for (const auto& r : rows) EXPECT_EQ(stdout_of(r.print), r.want) << r.what;
}

}  // namespace
}  // namespace orvel::geometry
