#include "geometry/printing.hpp"

#include <algorithm>
#include <string>

#include "common/format.hpp"
#include "common/text.hpp"

namespace orvel::geometry {
namespace {

// The shape of a banded table: which index runs along the page (in bands),
// and how its header and data lines are laid out.
struct band_layout {
  int32_t width;             // indexes per band
  std::string_view header;   // "  Col " and the like
  std::string_view trailer;  // written after each header number
  std::string_view label;    // "  Row" or "  Col"
};

// Prints a matrix in bands.  `along` indexes go across the page, ALO..AHI
// clipped to 1..ALONG_N; `down` indexes go down the page, DLO..DHI clipped
// to 1..DOWN_N.  entry(d, a) gives the field of one entry.
template <typename Entry>
void print_bands(const band_layout& layout, int32_t along_n, int32_t alo, int32_t ahi, int32_t down_n, int32_t dlo,
                 int32_t dhi, std::string_view title, Entry entry) {
  print_lines({" ", trimmed(title)});
  const int64_t afirst = std::max(alo, 1), alast = std::min(ahi, along_n);
  const int64_t dfirst = std::max(dlo, 1), dlast = std::min(dhi, down_n);
  for (int64_t a2lo = afirst; a2lo <= alast; a2lo += layout.width) {
    const int64_t a2hi = std::min(a2lo + layout.width - 1, alast);
    std::string line(layout.header);
    for (int64_t a = a2lo; a <= a2hi; ++a) {
      line += fmt_i(a, 8);
      line += layout.trailer;
    }
    print_lines({" ", line, layout.label, " "});
    for (int64_t d = dfirst; d <= dlast; ++d) {
      line = fmt_i(d, 5);
      line += ':';
      for (int64_t a = a2lo; a <= a2hi; ++a) line += entry(static_cast<int32_t>(d), static_cast<int32_t>(a));
      print_lines({line});
    }
  }
}

constexpr band_layout i4_stored{10, "  Col ", "", "  Row"};
constexpr band_layout i4_transposed{10, "  Row ", "", "  Col"};
constexpr band_layout r8_stored{5, "  Col   ", "      ", "  Row"};
constexpr band_layout r8_transposed{5, "  Row   ", "      ", "  Col"};

// An entry of an as-stored real table: a whole number in the 4-byte range
// as F8.0 and 6 blanks, anything else in G14.6.
std::string whole_or_general(double x) {
  const int32_t t = trunc(x);
  if (x == static_cast<double>(t)) return fmt_f(x, 8, 0) + "      ";
  return fmt_g(x, 14, 6);
}

// The three heading lines and one line per entry of a vector.
template <typename Entry>
void print_vector(int32_t n, std::string_view title, Entry entry) {
  print_lines({" ", trimmed(title), " "});
  for (int32_t i = 1; i <= n; ++i) print_lines({"  " + fmt_i(i, 8) + ":" + entry(i)});
}

}  // namespace

void i4vec_print(int32_t n, const int32_t* a, std::string_view title) {
  const vec_ref A(a, n);
  print_vector(n, title, [&](int32_t i) { return "  " + fmt_i(A(i), 12); });
}

void r8vec_print(int32_t n, const double* a, std::string_view title) {
  const vec_ref A(a, n);
  print_vector(n, title, [&](int32_t i) { return " " + fmt_g(A(i), 16, 8); });
}

void lvec_print(int32_t n, const bool* a, std::string_view title) {
  const vec_ref A(a, n);
  print_vector(n, title, [&](int32_t i) { return std::string(A(i) ? " T" : " F"); });
}

void i4mat_print(int32_t m, int32_t n, const int32_t* a, std::string_view title) {
  i4mat_print_some(m, n, a, 1, 1, m, n, title);
}

void i4mat_print_some(int32_t m, int32_t n, const int32_t* a, int32_t ilo, int32_t jlo, int32_t ihi, int32_t jhi,
                      std::string_view title) {
  const mat_ref A(a, m, n);
  print_bands(i4_stored, n, jlo, jhi, m, ilo, ihi, title, [&](int32_t i, int32_t j) { return fmt_i(A(i, j), 8); });
}

void i4mat_transpose_print(int32_t m, int32_t n, const int32_t* a, std::string_view title) {
  i4mat_transpose_print_some(m, n, a, 1, 1, m, n, title);
}

void i4mat_transpose_print_some(int32_t m, int32_t n, const int32_t* a, int32_t ilo, int32_t jlo, int32_t ihi,
                                int32_t jhi, std::string_view title) {
  const mat_ref A(a, m, n);
  print_bands(i4_transposed, m, ilo, ihi, n, jlo, jhi, title, [&](int32_t j, int32_t i) { return fmt_i(A(i, j), 8); });
}

void r8mat_print(int32_t m, int32_t n, const double* a, std::string_view title) {
  r8mat_print_some(m, n, a, 1, 1, m, n, title);
}

void r8mat_print_some(int32_t m, int32_t n, const double* a, int32_t ilo, int32_t jlo, int32_t ihi, int32_t jhi,
                      std::string_view title) {
  const mat_ref A(a, m, n);
  print_bands(r8_stored, n, jlo, jhi, m, ilo, ihi, title,
              [&](int32_t i, int32_t j) { return whole_or_general(A(i, j)); });
}

void r8mat_transpose_print(int32_t m, int32_t n, const double* a, std::string_view title) {
  r8mat_transpose_print_some(m, n, a, 1, 1, m, n, title);
}

void r8mat_transpose_print_some(int32_t m, int32_t n, const double* a, int32_t ilo, int32_t jlo, int32_t ihi,
                                int32_t jhi, std::string_view title) {
  const mat_ref A(a, m, n);
  print_bands(r8_transposed, m, ilo, ihi, n, jlo, jhi, title,
              [&](int32_t j, int32_t i) { return fmt_g(A(i, j), 14, 6); });
}

}  // namespace orvel::geometry
