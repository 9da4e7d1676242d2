// What every routine of the geometry library shares.
//
// Calling convention
// - Everything lives in namespace orvel::geometry, under the routine names of
//   the library, with the arguments in the library's order.
// - Types: int32_t for integers, double for reals (float only where a routine
//   works in 4-byte reals), bool for logicals.
// - Scalars come in by value and go out by reference (`double& det`).  A
//   routine that gives one value returns it.
// - Arrays are pointers to their first element (`const double* a` in,
//   `double* b` out); matrices are stored column by column, element (i, j) of
//   an m by n matrix at a[(j - 1) m + i - 1].  The routine reads them 1-based
//   through a view of the same name in capitals:
//       const vec_ref A(a, n);      A(i),    1 <= i <= n
//       const mat_ref B(b, m, n);   B(i, j), 1 <= i <= m, 1 <= j <= n
//   Under ORVEL_BOUNDS_CHECK every index is checked against the extent that
//   the routine gives the view.
// - Texts come in as std::string_view and go out through a std::string& that
//   put_text sets to its declared length.
// - Output arrays are written only as far as the case needs; the caller's
//   values stay elsewhere.
//
// Failures
// - fatal(title, {lines}) ends the run: " ", "TITLE - Fatal error!" and the
//   detail lines on standard output, status 1 (thrown as orvel::run_stop).
// - warning(title, {lines}) prints " ", "TITLE - Warning!" and the lines on
//   standard output; the routine goes on.
// - The title is passed explicitly, in capitals (usually the routine's name).
//   Numbers in detail lines are fmt_i(v, 8) or fmt_g(x, 14, 6) directly after
//   their text.
// - An index read from a caller's data that would reach outside an array goes
//   through check_index (title, "  Index out of range.").
//
// Arithmetic
// - Integer formulas that can overflow on a caller's values use the wrap_
//   functions (modulo 2^32, like the 4-byte hardware), never plain int32_t
//   arithmetic: the sanitizer build catches a miss.
// - trunc and nint turn reals into int32_t (NaN and values beyond the 4-byte
//   range give -2147483648); clamp_unit precedes every arccosine and arcsine.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/format.hpp"

namespace orvel::geometry {

// ---------------------------------------------------------------------------
// 1-based views of a caller's arrays

[[noreturn]] void index_fault(int64_t i, int64_t lo, int64_t hi);

// A vector of n elements (n of 0 or less: empty), read as V(1) .. V(n).
template <typename T>
class vec_ref {
 public:
  vec_ref(T* p, int32_t n) : p_(p), n_(n > 0 ? n : 0) {}
  T& operator()(int32_t i) const {
#ifdef ORVEL_BOUNDS_CHECK
    if (i < 1 || i > n_) index_fault(i, 1, n_);
#endif
    return p_[i - 1];
  }
  int32_t size() const { return n_; }
  T* data() const { return p_; }

 private:
  T* p_;
  int32_t n_;
};

// An m by n matrix stored column by column, read as A(i, j).
template <typename T>
class mat_ref {
 public:
  mat_ref(T* p, int32_t m, int32_t n) : p_(p), m_(m > 0 ? m : 0), n_(n > 0 ? n : 0) {}
  T& operator()(int32_t i, int32_t j) const {
#ifdef ORVEL_BOUNDS_CHECK
    if (i < 1 || i > m_) index_fault(i, 1, m_);
    if (j < 1 || j > n_) index_fault(j, 1, n_);
#endif
    return p_[static_cast<int64_t>(j - 1) * m_ + (i - 1)];
  }
  // Column j as a pointer, for handing one point of a list to a routine.
  T* col(int32_t j) const { return &(*this)(1, j); }
  int32_t rows() const { return m_; }
  int32_t cols() const { return n_; }

 private:
  T* p_;
  int32_t m_;
  int32_t n_;
};

// ---------------------------------------------------------------------------
// Failures

// Ends the run with " ", "TITLE - Fatal error!" and the detail lines.
[[noreturn]] void fatal(std::string_view title, std::initializer_list<std::string_view> details);

// Prints " ", "TITLE - Warning!" and the detail lines; the caller goes on.
void warning(std::string_view title, std::initializer_list<std::string_view> details);

// Prints the lines as they stand on standard output.
void print_lines(std::initializer_list<std::string_view> lines);

// Ends the run with "  Index out of range." unless lo <= i <= hi.
inline void check_index(std::string_view title, int32_t i, int32_t lo, int32_t hi) {
  if (i < lo || i > hi) fatal(title, {"  Index out of range."});
}

// The status with which a fatal error ends the run.
inline constexpr int fatal_status = 1;

// ---------------------------------------------------------------------------
// Texts

// Sets out to s cut or blank-padded to len characters.
void put_text(std::string& out, std::string_view s, std::size_t len);

// ---------------------------------------------------------------------------
// 4-byte integer arithmetic that wraps modulo 2^32

inline int32_t wrap_add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrap_sub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrap_mul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t wrap_neg(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }
// |a|; the smallest integer stays negative.
inline int32_t wrap_abs(int32_t a) { return a < 0 ? wrap_neg(a) : a; }
// a / b truncated toward zero and its remainder (sign of a); b must not be 0.
// The smallest integer divided by -1 wraps to itself with remainder 0.
inline int32_t wrap_div(int32_t a, int32_t b) { return b == -1 ? wrap_neg(a) : a / b; }
inline int32_t wrap_rem(int32_t a, int32_t b) { return b == -1 ? 0 : a % b; }

// ---------------------------------------------------------------------------
// Reals to integers and clamping

// x truncated toward zero; NaN and values beyond the 4-byte range give
// -2147483648.
inline int32_t trunc(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}
// x rounded to the nearest integer, halves away from zero; NaN and values
// beyond the 4-byte range give -2147483648.
inline int32_t nint(double x) {
  if (!(x > -2147483648.5 && x < 2147483647.5)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::round(x));
}
inline int32_t nint(float x) { return nint(static_cast<double>(x)); }

// x raised to at least -1, then lowered to at most 1 (NaN gives -1).
inline double clamp_unit(double x) {
  const double r = x >= -1.0 ? x : -1.0;
  return r <= 1.0 ? r : 1.0;
}

// The largest finite double, the second sentinel of the library (distinct
// from r8_huge).
constexpr double r8_largest() { return std::numeric_limits<double>::max(); }

}  // namespace orvel::geometry
