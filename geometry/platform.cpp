#include "geometry/platform.hpp"

#include <array>
#include <chrono>
#include <ctime>

namespace orvel::geometry {
namespace {

std::function<calendar_reading()>& calendar_source() {
  static std::function<calendar_reading()> f;
  return f;
}

std::function<int32_t()>& tick_source() {
  static std::function<int32_t()> f;
  return f;
}

calendar_reading system_calendar() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&t, &local);
  calendar_reading c;
  c.year = local.tm_year + 1900;
  c.month = local.tm_mon + 1;
  c.day = local.tm_mday;
  c.utc_offset_minutes = static_cast<int32_t>(local.tm_gmtoff / 60);
  c.hour = local.tm_hour;
  c.minute = local.tm_min;
  c.second = local.tm_sec;
  c.millisecond = static_cast<int32_t>(ms < 0 ? ms + 1000 : ms);
  return c;
}

constexpr int32_t seed_size = 8;

struct xoshiro256ss {
  std::array<uint64_t, 4> s{};
};
xoshiro256ss generator;
bool generator_ready = false;

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

uint64_t splitmix64(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

void seed_generator(const int32_t* seed) {
  uint64_t state = 0;
  for (int32_t i = 0; i < seed_size; ++i) {
    state ^= static_cast<uint32_t>(seed[i]);
    state = splitmix64(state);
  }
  // splitmix64 is a bijection of its counter, so four successive outputs are
  // never all zero, the one state xoshiro must avoid.
  for (auto& w : generator.s) w = splitmix64(state);
  generator_ready = true;
}

uint64_t next() {
  auto& s = generator.s;
  const uint64_t result = rotl(s[1] * 5, 7) * 9;
  const uint64_t t = s[1] << 17;
  s[2] ^= s[0];
  s[3] ^= s[1];
  s[1] ^= s[2];
  s[0] ^= s[3];
  s[2] ^= t;
  s[3] = rotl(s[3], 45);
  return result;
}

}  // namespace

calendar_reading local_calendar() {
  const auto& f = calendar_source();
  return f ? f() : system_calendar();
}

void set_calendar_source(std::function<calendar_reading()> source) { calendar_source() = std::move(source); }

int32_t tick_count() {
  const auto& f = tick_source();
  if (f) return f();
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ticks)));
}

void set_tick_source(std::function<int32_t()> source) { tick_source() = std::move(source); }

void random_number_init() {
  const std::array<int32_t, seed_size> zeros{};
  seed_generator(zeros.data());
}

int32_t random_number_seed_size() { return seed_size; }

void random_number_put_seed(const int32_t* seed) { seed_generator(seed); }

double random_number() {
  if (!generator_ready) random_number_init();
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

}  // namespace orvel::geometry
