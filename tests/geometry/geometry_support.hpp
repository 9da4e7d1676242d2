// Test kit of the geometry library.
// - expect_fatal(f, {lines}): f ends the run with exactly these lines on
//   standard output (status 1) and prints nothing before.
// - stdout_of(f) / capture_stdout: what f prints on std::cout; lines({...})
//   builds the expected text, each line ended by '\n'.
// - canary / icanary fill outputs whose entries must stay "not written".
// - rel_near(got, want, tol): |got - want| <= tol * max(1, |want|).
// - Random fixtures drawn with the library's own r8_uniform_01 from a seed
//   the test fixes (never std:: distributions, which differ between
//   standard libraries): points, directions, well-shaped triangles and
//   tetrahedra, convex polygons, rotations.  All arrays are column by column.
// - for_each_integer_line enumerates lines through integer points with
//   integer steps, for brute-force checks against integer arithmetic.
// - scoped_calendar / scoped_ticks pin the platform clock; reset_normals()
//   puts the normal generators back to their starting state.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iostream>
#include <source_location>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.hpp"
#include "geometry/platform.hpp"
#include "geometry/random.hpp"

namespace orvel::geometry::testing {

// ---------------------------------------------------------------------------
// Standard output and fatal errors

inline std::string lines(std::initializer_list<std::string_view> ls) {
  std::string s;
  for (const auto l : ls) {
    s += l;
    s += '\n';
  }
  return s;
}

// Redirects std::cout while it lives.
class capture_stdout {
 public:
  capture_stdout() : old_(std::cout.rdbuf(buf_.rdbuf())) {}
  ~capture_stdout() { std::cout.rdbuf(old_); }
  capture_stdout(const capture_stdout&) = delete;
  capture_stdout& operator=(const capture_stdout&) = delete;
  std::string text() const { return buf_.str(); }

 private:
  std::ostringstream buf_;
  std::streambuf* old_;
};

template <typename F>
std::string stdout_of(F&& f) {
  capture_stdout cap;
  f();
  return cap.text();
}

// f must end the run with `expected` (one entry per line) on standard output
// and status 1, having printed nothing before.
template <typename F>
void expect_fatal(F&& f, std::initializer_list<std::string_view> expected,
                  std::source_location where = std::source_location::current()) {
  const std::string want = lines(expected);
  std::string printed;
  try {
    capture_stdout cap;
    try {
      f();
    } catch (...) {
      printed = cap.text();
      throw;
    }
  } catch (const run_stop& e) {
    const std::string got = std::string(e.what()) + "\n";
    if (got != want) ADD_FAILURE_AT(where.file_name(), where.line()) << "lines:\n" << got << "wanted:\n" << want;
    if (e.where() != run_stop::stream::out) ADD_FAILURE_AT(where.file_name(), where.line()) << "not on standard output";
    if (e.status() != 1) ADD_FAILURE_AT(where.file_name(), where.line()) << "status " << e.status();
    if (!printed.empty()) ADD_FAILURE_AT(where.file_name(), where.line()) << "printed before: " << printed;
    return;
  }
  ADD_FAILURE_AT(where.file_name(), where.line()) << "the run did not end; wanted:\n" << want;
}

// ---------------------------------------------------------------------------
// Comparisons and canaries

inline ::testing::AssertionResult rel_near(double got, double want, double tol) {
  const double scale = std::fabs(want) > 1.0 ? std::fabs(want) : 1.0;
  if (std::fabs(got - want) <= tol * scale) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << got << ", want " << want << " (difference " << got - want
                                       << ", tolerance " << tol * scale << ")";
}

inline ::testing::AssertionResult vec_rel_near(const std::vector<double>& got, const std::vector<double>& want,
                                               double tol) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (std::size_t i = 0; i < got.size(); ++i) {
    auto r = rel_near(got[i], want[i], tol);
    if (!r) return r << " at entry " << i + 1;
  }
  return ::testing::AssertionSuccess();
}

// Values that no routine computes: an entry still holding one was not written.
inline constexpr double canary = -7.25e77;
inline constexpr int32_t icanary = -77777777;
inline std::vector<double> canaries(std::size_t n) { return std::vector<double>(n, canary); }
inline std::vector<int32_t> icanaries(std::size_t n) { return std::vector<int32_t>(n, icanary); }

// ---------------------------------------------------------------------------
// Platform and generator state

class scoped_calendar {
 public:
  explicit scoped_calendar(calendar_reading c) {
    set_calendar_source([c] { return c; });
  }
  ~scoped_calendar() { set_calendar_source({}); }
  scoped_calendar(const scoped_calendar&) = delete;
  scoped_calendar& operator=(const scoped_calendar&) = delete;
};

class scoped_ticks {
 public:
  explicit scoped_ticks(int32_t t) {
    set_tick_source([t] { return t; });
  }
  ~scoped_ticks() { set_tick_source({}); }
  scoped_ticks(const scoped_ticks&) = delete;
  scoped_ticks& operator=(const scoped_ticks&) = delete;
};

inline void reset_normals() { random_reset_normal_state(); }

// ---------------------------------------------------------------------------
// Random fixtures

inline constexpr double two_pi = 6.283185307179586;

// n points of dim coordinates, each uniform in [lo, hi].
inline std::vector<double> random_points(int32_t dim, int32_t n, double lo, double hi, int32_t& seed) {
  std::vector<double> p(static_cast<std::size_t>(dim) * n);
  for (auto& x : p) x = r8_uniform(lo, hi, seed);
  return p;
}

// A matrix of m by n entries uniform in [lo, hi].
inline std::vector<double> random_matrix(int32_t m, int32_t n, double lo, double hi, int32_t& seed) {
  return random_points(m, n, lo, hi, seed);
}

// A unit vector of dim coordinates (a point of the unit ball, away from the
// centre, scaled to length 1).
inline std::vector<double> random_direction(int32_t dim, int32_t& seed) {
  for (;;) {
    std::vector<double> v = random_points(dim, 1, -1.0, 1.0, seed);
    double s = 0.0;
    for (double x : v) s += x * x;
    if (s > 0.01 && s <= 1.0) {
      for (double& x : v) x /= std::sqrt(s);
      return v;
    }
  }
}

// A counterclockwise triangle in the plane: an equilateral one with each
// vertex moved by less than a fifth of the circumradius along the circle,
// scaled to a radius in [0.5, 5] and centred in [-10, 10]^2.  Every angle
// lies well away from 0 and pi.
inline std::vector<double> random_triangle_2d(int32_t& seed) {
  const double cx = r8_uniform(-10.0, 10.0, seed), cy = r8_uniform(-10.0, 10.0, seed);
  const double r = r8_uniform(0.5, 5.0, seed);
  const double t0 = r8_uniform(0.0, two_pi, seed);
  std::vector<double> t(6);
  for (int k = 0; k < 3; ++k) {
    const double a = t0 + k * two_pi / 3.0 + r8_uniform(-0.2, 0.2, seed);
    t[2 * k] = cx + r * std::cos(a);
    t[2 * k + 1] = cy + r * std::sin(a);
  }
  return t;
}

// A rotation matrix (3 by 3, determinant +1): angle in [0, 2 pi) about a
// random axis, by Rodrigues' formula.
inline std::vector<double> random_rotation(int32_t& seed) {
  const std::vector<double> u = random_direction(3, seed);
  const double a = r8_uniform(0.0, two_pi, seed);
  const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
  const double x = u[0], y = u[1], z = u[2];
  // Column by column.
  return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y,  //
          t * x * y - s * z, t * y * y + c,     t * y * z + s * x,  //
          t * x * z + s * y, t * y * z - s * x, t * z * z + c};
}

// Columns of p (3 by n) rotated by r and moved by d.
inline std::vector<double> place_3d(const std::vector<double>& p, const std::vector<double>& r,
                                    const std::vector<double>& d) {
  std::vector<double> q(p.size());
  for (std::size_t j = 0; j < p.size() / 3; ++j)
    for (int i = 0; i < 3; ++i)
      q[3 * j + i] = r[i] * p[3 * j] + r[3 + i] * p[3 * j + 1] + r[6 + i] * p[3 * j + 2] + d[i];
  return q;
}

// A well-shaped triangle in space: a random plane triangle rotated and moved.
inline std::vector<double> random_triangle_3d(int32_t& seed) {
  const std::vector<double> t2 = random_triangle_2d(seed);
  const std::vector<double> t = {t2[0], t2[1], 0.0, t2[2], t2[3], 0.0, t2[4], t2[5], 0.0};
  const std::vector<double> r = random_rotation(seed);
  return place_3d(t, r, random_points(3, 1, -10.0, 10.0, seed));
}

// A well-shaped tetrahedron of positive orientation ((B - A) x (C - A) . (D - A)
// > 0): a regular one with every coordinate moved by at most a tenth of
// its edge, scaled to an edge in [1, 6], rotated and moved.
inline std::vector<double> random_tetrahedron(int32_t& seed) {
  const double size = r8_uniform(0.5, 3.0, seed) / std::sqrt(2.0);
  std::vector<double> t = {1, 1, 1, -1, 1, -1, 1, -1, -1, -1, -1, 1};
  for (double& x : t) x = size * (x + r8_uniform(-0.28, 0.28, seed));
  return place_3d(t, random_rotation(seed), random_points(3, 1, -10.0, 10.0, seed));
}

// A strictly convex polygon of n >= 3 vertices, counterclockwise: points of
// a circle of radius in [1, 5] about a centre in [-10, 10]^2, vertex k at an
// angle in [2 pi k / n, 2 pi (k + 0.6) / n).
inline std::vector<double> random_convex_polygon(int32_t n, int32_t& seed) {
  const double cx = r8_uniform(-10.0, 10.0, seed), cy = r8_uniform(-10.0, 10.0, seed);
  const double r = r8_uniform(1.0, 5.0, seed);
  std::vector<double> p(2 * static_cast<std::size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    const double a = two_pi * (k + 0.6 * r8_uniform_01(seed)) / n;
    p[2 * k] = cx + r * std::cos(a);
    p[2 * k + 1] = cy + r * std::sin(a);
  }
  return p;
}

// ---------------------------------------------------------------------------
// Integer lines

// f(x, y, dx, dy) for every integer point (x, y) of [-r, r]^2 and every
// integer step (dx, dy) of [-s, s]^2 other than (0, 0): the lines and
// segments whose answers exact integer arithmetic gives.
template <typename F>
void for_each_integer_line(int r, int s, F&& f) {
  for (int x = -r; x <= r; ++x)
    for (int y = -r; y <= r; ++y)
      for (int dx = -s; dx <= s; ++dx)
        for (int dy = -s; dy <= s; ++dy)
          if (dx != 0 || dy != 0) f(x, y, dx, dy);
}

}  // namespace orvel::geometry::testing
