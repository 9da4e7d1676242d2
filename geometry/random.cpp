#include "geometry/random.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/platform.hpp"

namespace orvel::geometry {
namespace {

// 4.656612875E-10, slightly below 1 / (2^31 - 1); as a float it is 2^-31.
constexpr double scale = 4.656612875E-10;
constexpr float scale_f = 4.656612875E-10f;
constexpr double two_pi = 6.283185307179586;

// One step of the generator: seed = 16807 seed mod (2^31 - 1), by Schrage's
// decomposition so that nothing leaves the 4-byte range.
inline void step(int32_t& seed) {
  const int32_t k = seed / 127773;
  seed = 16807 * (seed - k * 127773) - k * 2836;
  if (seed < 0) seed = seed + 2147483647;
}

inline void check_seed(int32_t seed, std::string_view title) {
  if (seed == 0) fatal(title, {"  Input value of SEED = 0."});
}

inline double uniform_ab(double a, double b, int32_t& seed) {
  step(seed);
  return a + (b - a) * static_cast<double>(seed) * scale;
}

inline int32_t uniform_i(int32_t a, int32_t b, int32_t& seed) {
  step(seed);
  const float r = static_cast<float>(seed) * scale_f;
  const int32_t lo = std::min(a, b), hi = std::max(a, b);
  const float value = (1.0f - r) * (static_cast<float>(lo) - 0.5f) + r * (static_cast<float>(hi) + 0.5f);
  int32_t v = nint(value);
  if (v < lo) v = lo;
  if (hi < v) v = hi;
  return v;
}

// State of r8_normal_01.
struct normal_state {
  int32_t used = 0;
  int32_t seed2 = 0;
  double y = 0.0;
};
normal_state normal;

// State of r8vec_normal_01.
struct vec_normal_state {
  int32_t saved = 0;
  int32_t made = 0;
  double y = 0.0;
};
vec_normal_state vec_normal;

}  // namespace

double r8_uniform_01(int32_t& seed) {
  check_seed(seed, "R8_UNIFORM_01");
  step(seed);
  return static_cast<double>(seed) * scale;
}

float r4_uniform_01(int32_t& seed) {
  check_seed(seed, "R4_UNIFORM_01");
  step(seed);
  return static_cast<float>(seed) * scale_f;
}

double r8_uniform(double a, double b, int32_t& seed) {
  check_seed(seed, "R8_UNIFORM");
  return uniform_ab(a, b, seed);
}

int32_t i4_uniform(int32_t a, int32_t b, int32_t& seed) {
  check_seed(seed, "I4_UNIFORM");
  return uniform_i(a, b, seed);
}

void r8vec_uniform_01(int32_t n, int32_t& seed, double* r) {
  check_seed(seed, "R8VEC_UNIFORM_01");
  const vec_ref R(r, n);
  for (int32_t i = 1; i <= n; ++i) {
    step(seed);
    R(i) = static_cast<double>(seed) * scale;
  }
}

void r8vec_uniform(int32_t n, double a, double b, int32_t& seed, double* r) {
  check_seed(seed, "R8VEC_UNIFORM");
  const vec_ref R(r, n);
  for (int32_t i = 1; i <= n; ++i) R(i) = uniform_ab(a, b, seed);
}

void i4vec_uniform(int32_t n, int32_t a, int32_t b, int32_t& seed, int32_t* x) {
  check_seed(seed, "I4VEC_UNIFORM");
  const vec_ref X(x, n);
  for (int32_t i = 1; i <= n; ++i) X(i) = uniform_i(a, b, seed);
}

void r8mat_uniform_01(int32_t m, int32_t n, int32_t& seed, double* r) {
  check_seed(seed, "R8MAT_UNIFORM_01");
  const mat_ref R(r, m, n);
  for (int32_t j = 1; j <= n; ++j) {
    for (int32_t i = 1; i <= m; ++i) {
      step(seed);
      R(i, j) = static_cast<double>(seed) * scale;
    }
  }
}

void r8mat_uniform(int32_t m, int32_t n, double a, double b, int32_t& seed, double* r) {
  check_seed(seed, "R8MAT_UNIFORM");
  const mat_ref R(r, m, n);
  for (int32_t j = 1; j <= n; ++j)
    for (int32_t i = 1; i <= m; ++i) R(i, j) = uniform_ab(a, b, seed);
}

double r8_normal_01(int32_t& seed) {
  if (normal.used & 1) {
    seed = normal.seed2;
    normal.used = wrap_add(normal.used, 1);
    return normal.y;
  }
  const double r1 = r8_uniform_01(seed);
  if (r1 == 0.0) fatal("R8_NORMAL_01", {"  R8_UNIFORM_01 returned a value of 0."});
  normal.seed2 = seed;
  const double r2 = r8_uniform_01(normal.seed2);
  const double s = std::sqrt(-2.0 * std::log(r1));
  normal.y = s * std::sin(two_pi * r2);
  normal.used = wrap_add(normal.used, 1);
  return s * std::cos(two_pi * r2);
}

void r8vec_normal_01(int32_t& n, int32_t& seed, double* x) {
  if (n < 0) {
    n = vec_normal.made;
    vec_normal = vec_normal_state{};
    return;
  }
  if (n == 0) return;
  const vec_ref X(x, n);
  int32_t lo = 1;
  if (vec_normal.saved == 1) {
    X(1) = vec_normal.y;
    vec_normal.saved = 0;
    lo = 2;
  }
  const int32_t k = n - lo + 1;
  if (k == 0) return;
  if (k == 1) {
    const double r1 = r8_uniform_01(seed);
    if (r1 == 0.0) fatal("R8VEC_NORMAL_01", {"  R8_UNIFORM_01 returned a value of 0."});
    const double r2 = r8_uniform_01(seed);
    const double s = std::sqrt(-2.0 * std::log(r1));
    X(n) = s * std::cos(two_pi * r2);
    vec_normal.y = s * std::sin(two_pi * r2);
    vec_normal.saved = 1;
    vec_normal.made = wrap_add(vec_normal.made, 2);
    return;
  }
  // K even: K uniforms make K/2 pairs.  K odd: one more uniform, and the
  // sine of the last pair is held back.
  const int32_t pairs = k % 2 == 0 ? k / 2 : (k - 1) / 2 + 1;
  std::vector<double> r(static_cast<std::size_t>(2 * static_cast<int64_t>(pairs)));
  r8vec_uniform_01(2 * pairs, seed, r.data());
  const vec_ref R(r.data(), 2 * pairs);
  const int32_t full = k % 2 == 0 ? pairs : pairs - 1;
  for (int32_t i = 1; i <= full; ++i) {
    const double s = std::sqrt(-2.0 * std::log(R(2 * i - 1)));
    const double angle = two_pi * R(2 * i);
    X(lo + 2 * i - 2) = s * std::cos(angle);
    X(lo + 2 * i - 1) = s * std::sin(angle);
  }
  if (k % 2 == 1) {
    const double s = std::sqrt(-2.0 * std::log(R(2 * pairs - 1)));
    X(n) = s * std::cos(two_pi * R(2 * pairs));
    vec_normal.y = s * std::sin(two_pi * R(2 * pairs));
    vec_normal.saved = 1;
  }
  vec_normal.made = wrap_add(vec_normal.made, k);
}

void get_seed(int32_t& seed) {
  const calendar_reading c = local_calendar();
  double t = (static_cast<double>(c.month - 1) / 11.0 + static_cast<double>(c.day - 1) / 30.0 +
              static_cast<double>(c.hour) / 23.0 + static_cast<double>(c.minute) / 59.0 +
              static_cast<double>(c.second) / 59.0 + static_cast<double>(c.millisecond) / 999.0) /
             6.0;
  while (t <= 0.0) t = t + 1.0;
  while (1.0 < t) t = t - 1.0;
  seed = trunc(2147483647.0 * t);
  if (seed == 0) seed = 1;
  if (seed == 2147483647) seed = 2147483646;
}

void random_initialize(int32_t& seed) {
  random_number_init();
  std::vector<int32_t> seed_vector(static_cast<std::size_t>(random_number_seed_size()));
  if (seed != 0) {
    print_lines({" ", "RANDOM_INITIALIZE", "  Initialize RANDOM_NUMBER with user SEED = " + fmt_i(seed, 12)});
  } else {
    seed = tick_count();
    print_lines({" ", "RANDOM_INITIALIZE", "  Initialize RANDOM_NUMBER with arbitrary SEED = " + fmt_i(seed, 12)});
  }
  for (auto& s : seed_vector) s = seed;
  random_number_put_seed(seed_vector.data());
  for (int32_t i = 0; i < 100; ++i) random_number();
}

void random_reset_normal_state() {
  normal = normal_state{};
  vec_normal = vec_normal_state{};
}

}  // namespace orvel::geometry
