// Fixed-format text output with the rules of Fortran edit descriptors:
// F w.d, E w.d, ES w.d, G w.d, I w, A w and bare A.  A value that does not fit its
// field is written as w asterisks; fit_f and fit_i, which the result files
// use, give a finite value too wide for its field a field just wide enough.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvel {

// F w.d: fixed point, d decimals, right-aligned in w characters.  Rounds the
// exact binary value to nearest (ties to even); the leading zero of |x| < 1
// is dropped when the field has no room for it.  Negative values that round
// to zero keep their sign ("-0.00").
std::string fmt_f(double x, int w, int d);

// E w.d: 0.ddddE+xx (leading zero dropped when there is no room for it);
// ES w.d: d.dddE+xx.  Exponents beyond two digits are written +xxx without
// the letter E, as Fortran does.  `e` > 0 fixes the exponent digits (Ew.dEe).
std::string fmt_e(double x, int w, int d, int e = 0);
std::string fmt_es(double x, int w, int d, int e = 0);

// G w.d: d significant digits.  With s digits before the point of |x|
// rounded to d digits (s = 0 from 0.1 up to 1): fixed with d - s decimals in
// w - 4 characters and 4 blanks when 0 <= s <= d, else the E w.d form.  Zero
// is fixed with d - 1 decimals ("   0.00000    " in G14.6).  A fixed part
// that does not fit fills the whole field with asterisks.
std::string fmt_g(double x, int w, int d);

// I w: integer right-aligned in w characters.
std::string fmt_i(int64_t v, int w);

// fmt_f and fmt_i written straight into `out`, which has room for w
// characters (none for w < 1): exactly w characters are written and w is
// returned.  No allocation on the way, for the large result files.
int put_f(char* out, double x, int w, int d);
int put_i(char* out, int64_t v, int w);

// F w.d and I w of the result files: a value that fits is written exactly as
// fmt_f and fmt_i write it; a finite value too wide for w is written in a
// field just wide enough for it (no leading blank), never as asterisks.  A
// value that is not finite is written as fmt_f writes it.
std::string fit_f(double x, int w, int d);
std::string fit_i(int64_t v, int w);

// A w: text right-aligned in w characters; a longer text keeps its first w.
std::string fmt_a(std::string_view s, int w);

// A free-format (list-directed) output line of one text: a leading blank.
std::string free_line(std::string_view s);
// A free-format output line of single-precision reals, each as ES15.8
// (" 2.57104016E-05"), or of one integer as I12.
std::string free_line(std::span<const float> v);
std::string free_line(int32_t v);

}  // namespace orvel
