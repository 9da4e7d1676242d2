#include "common/parallel.hpp"

#include <cstdlib>
#include <string>
#include <thread>

namespace orvel {
namespace {

int from_environment() {
  if (const char* v = std::getenv("ORVEL_THREADS")) {
    char* end = nullptr;
    const long n = std::strtol(v, &end, 10);
    if (end != v && *end == '\0' && n >= 1) return static_cast<int>(n > 1024 ? 1024 : n);
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return cores >= 1 ? static_cast<int>(cores) : 1;
}

int chosen = 0;

}  // namespace

int thread_count() {
  if (chosen == 0) chosen = from_environment();
  return chosen;
}

void set_thread_count(int n) { chosen = n >= 1 ? n : 0; }

}  // namespace orvel
