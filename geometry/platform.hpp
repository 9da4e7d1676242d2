// What the geometry library reads from outside itself: the local calendar,
// the tick counter and the run-time uniform generator RANDOM_NUMBER.  The
// calendar and the tick counter can be replaced (tests pin them to given
// instants); an empty function restores the real clock.
#pragma once

#include <cstdint>
#include <functional>

namespace orvel::geometry {

// The local date and time of a moment.
struct calendar_reading {
  int32_t year = 0;
  int32_t month = 0;  // 1-12
  int32_t day = 0;    // 1-31
  int32_t utc_offset_minutes = 0;
  int32_t hour = 0;    // 0-23
  int32_t minute = 0;  // 0-59
  int32_t second = 0;  // 0-60
  int32_t millisecond = 0;
};

calendar_reading local_calendar();
void set_calendar_source(std::function<calendar_reading()> source);

// The system tick counter: steady_clock ticks modulo 2^32, as a 4-byte integer.
int32_t tick_count();
void set_tick_source(std::function<int32_t()> source);

// RANDOM_NUMBER: xoshiro256**.  Its seed is a vector of
// random_number_seed_size() 4-byte integers, folded in order into one
// splitmix64 state whose next four outputs make the generator's state.
// random_number_init() gives the state of the seed vector of zeros.
void random_number_init();
int32_t random_number_seed_size();
void random_number_put_seed(const int32_t* seed);  // random_number_seed_size() values
// A uniform double in [0, 1): the top 53 bits of the next output times 2^-53.
double random_number();

}  // namespace orvel::geometry
