#include "common/format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orvel {
namespace {

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

std::string right(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(w - s.size(), ' ') + s;
}

// Infinity and NaN as Fortran writes them, or asterisks when they don't fit.
std::string non_finite(double x, int w) {
  if (std::isnan(x)) return right("NaN", w);
  const char* sign = std::signbit(x) ? "-" : "";
  if (w >= 8 + (*sign ? 1 : 0)) return right(std::string(sign) + "Infinity", w);
  return right(std::string(sign) + "Inf", w);
}

std::string exponent_field(int exp10, int e) {
  const char sign = exp10 < 0 ? '-' : '+';
  const int a = std::abs(exp10);
  char buf[16];
  if (e > 0) {
    std::string digits = std::to_string(a);
    if (static_cast<int>(digits.size()) < e) digits.insert(0, e - digits.size(), '0');
    if (static_cast<int>(digits.size()) > e) return "";
    return std::string("E") + sign + digits;
  }
  if (a <= 99) {
    std::snprintf(buf, sizeof buf, "E%c%02d", sign, a);
  } else if (a <= 999) {
    std::snprintf(buf, sizeof buf, "%c%03d", sign, a);
  } else {
    return "";
  }
  return buf;
}

// Decimal digits of |x| rounded to `sig` significant digits and the decimal
// exponent of the first one (|x| = 0.d1d2... * 10^(exp10 + 1)).
void significant(double x, int sig, std::string& digits, int& exp10) {
  if (x == 0.0) {
    digits.assign(sig, '0');
    exp10 = 0;
    return;
  }
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*e", sig > 0 ? sig - 1 : 0, std::fabs(x));
  std::string s(buf);
  const auto epos = s.find('e');
  digits.clear();
  for (std::size_t i = 0; i < epos; ++i)
    if (s[i] != '.') digits += s[i];
  exp10 = std::atoi(s.c_str() + epos + 1);
}

}  // namespace

namespace {

// F w.d into `out`; a finite value too wide for w fills the field with
// asterisks, or with `fit` takes a field just wide enough for it.
int put_f_field(char* out, double x, int w, int d, bool fit) {
  if (w < 1 && !fit) return 0;
  if (!std::isfinite(x)) {
    if (w < 1) return 0;
    const std::string s = non_finite(x, w);
    std::memcpy(out, s.data(), static_cast<std::size_t>(w));
    return w;
  }
  // The digits of |x| rounded to d decimals, correctly rounded (ties to
  // even on the exact binary value).  A digit string longer than the local
  // buffer fits only a field nearly as wide: it gets a buffer of its own.
  char local[128];
  std::vector<char> wide;
  const char* p = local;
  auto r = std::to_chars(local, local + sizeof local, std::fabs(x), std::chars_format::fixed, d);
  if (r.ec != std::errc{}) {
    if (!fit && w < static_cast<int>(sizeof local) - 1) {
      std::memset(out, '*', static_cast<std::size_t>(w));
      return w;
    }
    wide.resize(static_cast<std::size_t>(d) + 400);
    r = std::to_chars(wide.data(), wide.data() + wide.size(), std::fabs(x), std::chars_format::fixed, d);
    p = wide.data();
  }
  int n = static_cast<int>(r.ptr - p);
  const bool negative = std::signbit(x);
  int len = (negative ? 1 : 0) + n + (d == 0 ? 1 : 0);
  if (len > w && d > 0 && n > 1 && p[0] == '0' && p[1] == '.') {
    ++p;
    --n;
    --len;
  }
  if (len > w) {
    if (!fit) {
      std::memset(out, '*', static_cast<std::size_t>(w));
      return w;
    }
    w = len;
  }
  char* o = out;
  std::memset(o, ' ', static_cast<std::size_t>(w - len));
  o += w - len;
  if (negative) *o++ = '-';
  std::memcpy(o, p, static_cast<std::size_t>(n));
  o += n;
  if (d == 0) *o = '.';
  return w;
}

int put_i_field(char* out, int64_t v, int w, bool fit) {
  char local[24];
  const auto r = std::to_chars(local, local + sizeof local, v);
  const int n = static_cast<int>(r.ptr - local);
  if (n > w && fit) w = n;
  if (w < 1) return 0;
  if (n > w) {
    std::memset(out, '*', static_cast<std::size_t>(w));
  } else {
    std::memset(out, ' ', static_cast<std::size_t>(w - n));
    std::memcpy(out + (w - n), local, static_cast<std::size_t>(n));
  }
  return w;
}

}  // namespace

int put_f(char* out, double x, int w, int d) { return put_f_field(out, x, w, d, false); }

int put_i(char* out, int64_t v, int w) { return put_i_field(out, v, w, false); }

std::string fit_f(double x, int w, int d) {
  char local[64];
  if (std::isfinite(x) && w < static_cast<int>(sizeof local) && std::fabs(x) < 1e40 && d < 16) {
    return std::string(local, static_cast<std::size_t>(put_f_field(local, x, w, d, true)));
  }
  std::string s(static_cast<std::size_t>(std::max(w, 0) + d + 320), ' ');
  s.resize(static_cast<std::size_t>(put_f_field(s.data(), x, w, d, true)));
  return s;
}

std::string fit_i(int64_t v, int w) {
  std::string s(static_cast<std::size_t>(std::max(w, 21)), ' ');
  s.resize(static_cast<std::size_t>(put_i_field(s.data(), v, w, true)));
  return s;
}

std::string fmt_f(double x, int w, int d) {
  std::string s(static_cast<std::size_t>(w > 0 ? w : 0), ' ');
  put_f(s.data(), x, w, d);
  return s;
}

std::string fmt_e(double x, int w, int d, int e) {
  if (!std::isfinite(x)) return non_finite(x, w);
  std::string digits;
  int exp10 = 0;
  significant(x, d, digits, exp10);
  const std::string ex = exponent_field(x == 0.0 ? 0 : exp10 + 1, e);
  if (ex.empty()) return stars(w);
  const std::string sign = std::signbit(x) ? "-" : "";
  std::string s = sign + "0." + digits + ex;
  if (static_cast<int>(s.size()) > w) s = sign + "." + digits + ex;
  return right(s, w);
}

std::string fmt_es(double x, int w, int d, int e) {
  if (!std::isfinite(x)) return non_finite(x, w);
  std::string digits;
  int exp10 = 0;
  significant(x, d + 1, digits, exp10);
  const std::string ex = exponent_field(exp10, e);
  if (ex.empty()) return stars(w);
  const std::string sign = std::signbit(x) ? "-" : "";
  return right(sign + digits.substr(0, 1) + "." + digits.substr(1) + ex, w);
}

std::string fmt_g(double x, int w, int d) {
  if (!std::isfinite(x)) return non_finite(x, w);
  const int fixed_w = w - 4;
  int decimals = d > 0 ? d - 1 : 0;
  if (x != 0.0) {
    // Fixed or exponent form is chosen on the value rounded to d digits, so
    // 999999.5 (which rounds to 1.00000E+06 in G14.6) takes the exponent.
    std::string digits;
    int exp10 = 0;
    significant(x, d, digits, exp10);
    const int s = exp10 + 1;
    if (s < 0 || s > d) return fmt_e(x, w, d);
    decimals = d - s;
  }
  if (fixed_w < 1) return stars(w);
  const std::string f = fmt_f(x, fixed_w, decimals);
  if (f[0] == '*') return stars(w);
  return f + "    ";
}

std::string fmt_i(int64_t v, int w) {
  std::string s(static_cast<std::size_t>(w > 0 ? w : 0), ' ');
  put_i(s.data(), v, w);
  return s;
}

std::string fmt_a(std::string_view s, int w) {
  if (static_cast<int>(s.size()) >= w) return std::string(s.substr(0, w));
  return std::string(w - s.size(), ' ') + std::string(s);
}

std::string free_line(std::string_view s) { return " " + std::string(s); }

std::string free_line(std::span<const float> v) {
  std::string s;
  for (const float x : v) s += fmt_es(x, 15, 8);
  return s;
}

std::string free_line(int32_t v) { return fmt_i(v, 12); }

}  // namespace orvel
