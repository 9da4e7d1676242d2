// The pool of the per-particle loops: every block runs once whatever the
// thread count, the ordered tails run in block order and each after its own
// block, sums taken in the tails are those of one pass in item order, and an
// exception of a block or a tail reaches the caller once every block is
// done.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "common/parallel.hpp"

namespace orvel {
namespace {

struct thread_counts : ::testing::TestWithParam<int> {
  void SetUp() override { set_thread_count(GetParam()); }
  void TearDown() override { set_thread_count(0); }
};

TEST_P(thread_counts, EveryBlockRunsOnce) {
  const int64_t n = 10 * parallel_block + 17;
  std::vector<int> seen(static_cast<std::size_t>(n), 0);
  for (int round = 0; round < 50; ++round) {
    parallel_blocks(n, [&](int64_t, int64_t first, int64_t last) {
      for (int64_t j = first; j < last; ++j) ++seen[static_cast<std::size_t>(j)];
    });
  }
  for (const int s : seen) ASSERT_EQ(s, 50);
}

TEST_P(thread_counts, TailsRunInOrderAfterTheirBlock) {
  const int64_t n = 37 * parallel_block + 5;
  std::vector<double> v(static_cast<std::size_t>(n), 0.0);
  for (int round = 0; round < 20; ++round) {
    std::vector<int64_t> order;
    double sum = 0.0;
    parallel_blocks_ordered(
        n,
        [&](int64_t, int64_t first, int64_t last) {
          for (int64_t j = first; j < last; ++j) v[static_cast<std::size_t>(j)] = 1.0 / static_cast<double>(j + round + 1);
        },
        [&](int64_t b, int64_t first, int64_t last) {
          order.push_back(b);
          for (int64_t j = first; j < last; ++j) sum += v[static_cast<std::size_t>(j)];
        });
    double literal = 0.0;
    for (int64_t j = 0; j < n; ++j) literal += 1.0 / static_cast<double>(j + round + 1);
    ASSERT_EQ(std::bit_cast<uint64_t>(sum), std::bit_cast<uint64_t>(literal));
    ASSERT_EQ(order.size(), static_cast<std::size_t>(block_count(n)));
    for (std::size_t b = 0; b < order.size(); ++b) ASSERT_EQ(order[b], static_cast<int64_t>(b));
  }
}

TEST_P(thread_counts, ExceptionsReachTheCaller) {
  const int64_t n = 12 * parallel_block;
  EXPECT_THROW(parallel_blocks(n,
                               [](int64_t b, int64_t, int64_t) {
                                 if (b == 7) throw std::runtime_error("block 7");
                               }),
               std::runtime_error);
  // A failed block stops the tails at it.
  std::vector<int64_t> tails;
  EXPECT_THROW(parallel_blocks_ordered(
                   n,
                   [](int64_t b, int64_t, int64_t) {
                     if (b == 5) throw std::runtime_error("block 5");
                   },
                   [&](int64_t b, int64_t, int64_t) { tails.push_back(b); }),
               std::runtime_error);
  EXPECT_EQ(tails, (std::vector<int64_t>{0, 1, 2, 3, 4}));
  tails.clear();
  EXPECT_THROW(parallel_blocks_ordered(
                   n, [](int64_t, int64_t, int64_t) {},
                   [&](int64_t b, int64_t, int64_t) {
                     tails.push_back(b);
                     if (b == 3) throw std::logic_error("tail 3");
                   }),
               std::logic_error);
  EXPECT_EQ(tails, (std::vector<int64_t>{0, 1, 2, 3}));
  // The pool goes on working after the failures.
  int64_t count = 0;
  parallel_blocks_ordered(n, [](int64_t, int64_t, int64_t) {}, [&](int64_t, int64_t first, int64_t last) {
    count += last - first;
  });
  EXPECT_EQ(count, n);
}

INSTANTIATE_TEST_SUITE_P(Parallel, thread_counts, ::testing::Values(1, 2, 3, 8));

}  // namespace
}  // namespace orvel
