// The fixed-point and integer writers against the literal printf-based
// conversion they replaced, on random values, widths and decimals, with
// exact ties, values one step either side of a tie, overflowing fields and
// non-finite values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "common/format.hpp"

namespace orvel {
namespace {

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

std::string right(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(w - s.size(), ' ') + s;
}

// The earlier writer, literally: printf digits, then the field rules.
std::string literal_f(double x, int w, int d) {
  if (std::isnan(x)) return right("NaN", w);
  if (!std::isfinite(x)) {
    const char* sign = std::signbit(x) ? "-" : "";
    if (w >= 8 + (*sign ? 1 : 0)) return right(std::string(sign) + "Infinity", w);
    return right(std::string(sign) + "Inf", w);
  }
  const int n = std::snprintf(nullptr, 0, "%.*f", d, std::fabs(x));
  std::string buf(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(buf.data(), buf.size(), "%.*f", d, std::fabs(x));
  std::string_view digits(buf.data(), static_cast<std::size_t>(n));
  const bool negative = std::signbit(x);
  int len = (negative ? 1 : 0) + n + (d == 0 ? 1 : 0);
  if (len > w && d > 0 && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
    digits.remove_prefix(1);
    --len;
  }
  if (len > w) return stars(w);
  std::string s(static_cast<std::size_t>(w - len), ' ');
  if (negative) s += '-';
  s += digits;
  if (d == 0) s += '.';
  return s;
}

std::string literal_i(int64_t v, int w) { return right(std::to_string(v), w); }

// put_f into a guarded buffer: exactly w characters, nothing beyond.
std::string put_f_text(double x, int w, int d) {
  std::string buf(static_cast<std::size_t>(w > 0 ? w : 0) + 8, '#');
  const int n = put_f(buf.data(), x, w, d);
  EXPECT_EQ(n, w > 0 ? w : 0);
  EXPECT_EQ(buf.substr(static_cast<std::size_t>(n)), std::string(8, '#'));
  return buf.substr(0, static_cast<std::size_t>(n));
}

std::string put_i_text(int64_t v, int w) {
  std::string buf(static_cast<std::size_t>(w > 0 ? w : 0) + 8, '#');
  const int n = put_i(buf.data(), v, w);
  EXPECT_EQ(n, w > 0 ? w : 0);
  EXPECT_EQ(buf.substr(static_cast<std::size_t>(n)), std::string(8, '#'));
  return buf.substr(0, static_cast<std::size_t>(n));
}

TEST(FormatDifferential, FixedPointOnRandomValuesWidthsAndDecimals) {
  std::mt19937_64 gen(20240611);
  std::uniform_int_distribution<int> width(0, 24), decimals(0, 12), exponent(-12, 12), kind(0, 5);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  int mismatches = 0;
  for (int n = 0; n < 400000 && mismatches < 10; ++n) {
    const int w = width(gen), d = decimals(gen);
    double x = 0.0;
    switch (kind(gen)) {
      case 0:  // any magnitude
        x = mantissa(gen) * std::pow(10.0, exponent(gen));
        break;
      case 1: {  // an exact or near tie at the last decimal kept
        const double unit = std::pow(10.0, -d);
        x = (std::floor(mantissa(gen) * 1000.0) + 0.5) * unit;
        const int nudge = static_cast<int>(gen() % 3);
        if (nudge == 1) x = std::nextafter(x, 1e300);
        if (nudge == 2) x = std::nextafter(x, -1e300);
        break;
      }
      case 2:  // binary ties: k / 2^m
        x = static_cast<double>(static_cast<int64_t>(gen() % 20001) - 10000) / std::ldexp(1.0, static_cast<int>(gen() % 12));
        break;
      case 3:  // single-precision values, as the time and depth columns hold
        x = static_cast<double>(static_cast<float>(mantissa(gen) * std::pow(10.0, exponent(gen) / 3)));
        break;
      case 4:  // longitudes and latitudes
        x = mantissa(gen) * 18.0;
        break;
      default:  // signed zeros, huge and tiny values
        switch (gen() % 6) {
          case 0: x = 0.0; break;
          case 1: x = -0.0; break;
          case 2: x = 1e300 * mantissa(gen); break;
          case 3: x = 1e-300 * mantissa(gen); break;
          case 4: x = std::numeric_limits<double>::denorm_min(); break;
          default: x = -std::numeric_limits<double>::max(); break;
        }
    }
    const std::string want = literal_f(x, w, d);
    const std::string got = put_f_text(x, w, d);
    if (got != want) {
      ++mismatches;
      ADD_FAILURE() << "x = " << std::hexfloat << x << " F" << w << "." << d << ": \"" << got << "\", literal \""
                    << want << "\"";
    }
    EXPECT_EQ(fmt_f(x, w, d), want);
  }
}

TEST(FormatDifferential, FixedPointEdges) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {std::nan(""), inf, -inf, 0.5, -0.5, 0.05, 9.95, -9.96, 99.5, 1e22, 123456789.125,
                           std::nextafter(0.125, 1.0), std::nextafter(0.125, 0.0), 1e-200, -1e-200};
  for (const double x : values) {
    for (int w = 0; w <= 12; ++w) {
      for (int d = 0; d <= 4; ++d) EXPECT_EQ(put_f_text(x, w, d), literal_f(x, w, d)) << x << " F" << w << "." << d;
    }
  }
  // Digit strings longer than the writer's own buffer, in a field wide
  // enough for them and in one just too narrow.
  for (const double x : {1e200, -3.5e150, 0.25}) {
    for (const int d : {0, 7, 140}) {
      const int n = std::snprintf(nullptr, 0, "%.*f", d, std::fabs(x));
      for (const int w : {n - 1, n, n + 2, 126, 127, 128}) {
        EXPECT_EQ(put_f_text(x, w, d), literal_f(x, w, d)) << x << " F" << w << "." << d;
      }
    }
  }
}

TEST(FormatDifferential, IntegersOnRandomValuesAndWidths) {
  std::mt19937_64 gen(7);
  for (int n = 0; n < 100000; ++n) {
    const int w = static_cast<int>(gen() % 22);
    const int digits = static_cast<int>(gen() % 19);
    int64_t v = static_cast<int64_t>(gen() % 1000000000000000000ULL);
    for (int k = digits; k < 18; ++k) v /= 10;
    if (gen() % 2) v = -v;
    ASSERT_EQ(put_i_text(v, w), literal_i(v, w)) << v << " I" << w;
    ASSERT_EQ(fmt_i(v, w), literal_i(v, w));
  }
  for (const int64_t v : {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), int64_t{0},
                          int64_t{-1}}) {
    for (int w = 0; w <= 21; ++w) EXPECT_EQ(put_i_text(v, w), literal_i(v, w)) << v << " I" << w;
  }
}

}  // namespace
}  // namespace orvel
