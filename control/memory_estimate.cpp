#include "control/memory_estimate.hpp"

#include <unistd.h>

#include <cstdio>

#include "common/errors.hpp"

namespace orvel {
namespace {

uint64_t budget = 0;

// Bytes as gigabytes with two decimals.
std::string gigabytes(double bytes) {
  char s[64];
  std::snprintf(s, sizeof s, "%.2f GB", bytes / 1073741824.0);
  return s;
}

}  // namespace

uint64_t physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page <= 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page);
}

uint64_t memory_budget_bytes() { return budget != 0 ? budget : physical_memory_bytes(); }

void set_memory_budget(uint64_t bytes) { budget = bytes; }

void check_fits_in_memory(const std::string& file, int64_t line, const std::string& what, int64_t count,
                          uint64_t bytes_each) {
  if (count < 1) return;
  const uint64_t available = memory_budget_bytes();
  // A system that does not tell its memory gets no estimate.
  if (available == 0) return;
  // In double precision: the product of two 64-bit values may not fit one.
  const double need = static_cast<double>(count) * static_cast<double>(bytes_each);
  if (need <= static_cast<double>(available)) return;
  throw input_error(file, line,
                    what + " would need about " + gigabytes(need) + " of memory (" + std::to_string(bytes_each) +
                        " bytes each), more than the " + gigabytes(static_cast<double>(available)) +
                        " this machine has");
}

}  // namespace orvel
