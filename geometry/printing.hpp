// Titled tables of integer, real and logical vectors and of integer and real
// matrices on standard output.  Matrices print in bands of columns (10 for
// integers, 5 for reals), as stored (rows down the page) or transposed
// (columns down the page), whole or restricted to a rectangle of rows
// ILO..IHI and columns JLO..JHI (clipped to the matrix).  The title prints
// without its trailing blanks.  Nothing is changed or kept between calls.
#pragma once

#include <cstdint>
#include <string_view>

#include "geometry/support.hpp"

namespace orvel::geometry {

void i4vec_print(int32_t n, const int32_t* a, std::string_view title);
void r8vec_print(int32_t n, const double* a, std::string_view title);
void lvec_print(int32_t n, const bool* a, std::string_view title);

void i4mat_print(int32_t m, int32_t n, const int32_t* a, std::string_view title);
void i4mat_print_some(int32_t m, int32_t n, const int32_t* a, int32_t ilo, int32_t jlo, int32_t ihi, int32_t jhi,
                      std::string_view title);
void i4mat_transpose_print(int32_t m, int32_t n, const int32_t* a, std::string_view title);
void i4mat_transpose_print_some(int32_t m, int32_t n, const int32_t* a, int32_t ilo, int32_t jlo, int32_t ihi,
                                int32_t jhi, std::string_view title);

// Entries holding a whole number within the 4-byte range print as that
// number with a trailing point (F8.0 and 6 blanks); the others in G14.6.
void r8mat_print(int32_t m, int32_t n, const double* a, std::string_view title);
void r8mat_print_some(int32_t m, int32_t n, const double* a, int32_t ilo, int32_t jlo, int32_t ihi, int32_t jhi,
                      std::string_view title);
// Every entry in G14.6.
void r8mat_transpose_print(int32_t m, int32_t n, const double* a, std::string_view title);
void r8mat_transpose_print_some(int32_t m, int32_t n, const double* a, int32_t ilo, int32_t jlo, int32_t ihi,
                                int32_t jhi, std::string_view title);

}  // namespace orvel::geometry
