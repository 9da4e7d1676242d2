#include "control/memory_estimate.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "common/errors.hpp"

namespace orvel {
namespace {

struct budget {
  explicit budget(uint64_t bytes) { set_memory_budget(bytes); }
  ~budget() { set_memory_budget(0); }
};

// Counts at, below and beyond a budget of 1 MiB, and products that would
// overflow 64 bits.
TEST(MemoryEstimate, CountsAgainstTheBudget) {
  const budget b(uint64_t{1} << 20);
  struct estimate_case {
    int64_t count;
    uint64_t bytes_each;
    bool fits;
  };
  const int64_t big = std::numeric_limits<int64_t>::max();
  const std::vector<estimate_case> cases = {
      {2048, 512, true},       // exactly 1 MiB
      {2049, 512, false},      // 512 bytes over
      {1048576, 1, true},      // exactly 1 MiB in bytes
      {0, 1u << 30, true},     // no item
      {-5, 1u << 30, true},    // a negative count sizes nothing
      {big, UINT64_MAX, false},  // the product passes 2^64
      {1, 0, true},
  };
  for (const estimate_case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " x " + std::to_string(c.bytes_each));
    if (c.fits) {
      EXPECT_NO_THROW(check_fits_in_memory("f.cfg", 7, "items", c.count, c.bytes_each));
    } else {
      try {
        check_fits_in_memory("f.cfg", 7, "items", c.count, c.bytes_each);
        ADD_FAILURE() << "no error";
      } catch (const input_error& e) {
        EXPECT_EQ(e.file(), "f.cfg");
        EXPECT_EQ(e.line(), 7);
        EXPECT_EQ(e.message().rfind("items would need about ", 0), 0u) << e.message();
      }
    }
  }
}

TEST(MemoryEstimate, BudgetIsThePhysicalMemoryUnlessSet) {
  const uint64_t physical = physical_memory_bytes();
  EXPECT_GT(physical, uint64_t{1} << 26);  // no machine that runs the suite has less than 64 MiB
  EXPECT_EQ(memory_budget_bytes(), physical);
  {
    const budget b(12345);
    EXPECT_EQ(memory_budget_bytes(), 12345u);
  }
  EXPECT_EQ(memory_budget_bytes(), physical);
}

}  // namespace
}  // namespace orvel
