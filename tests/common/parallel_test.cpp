// The pool of the per-particle loops: every block runs once whatever the
// thread count (a slow thread's blocks taken by the others), a loop takes
// no more threads than it has blocks or items for, the ordered
// tails run in block order and each after its own block, sums taken in the
// tails are those of one pass in item order, and an exception of a block or
// a tail reaches the caller once every block is done.  The thread count:
// ORVEL_THREADS read as written or refused, and a set count undone.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/errors.hpp"
#include "common/parallel.hpp"

namespace orvel {
namespace {

struct thread_counts : ::testing::TestWithParam<int> {
  void SetUp() override { set_thread_count(GetParam()); }
  void TearDown() override { set_thread_count(0); }
};

// Enough items for every thread, the last block short; in some rounds the
// blocks at the start of the loop are slow, so that the other threads take
// blocks from the slow thread's part.
TEST_P(thread_counts, EveryBlockRunsOnce) {
  const int64_t n = 9 * items_per_thread + 17;
  std::vector<int> seen(static_cast<std::size_t>(n), 0);
  for (int round = 0; round < 50; ++round) {
    parallel_blocks(n, [&](int64_t b, int64_t first, int64_t last) {
      if (round % 10 == 0 && b < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      for (int64_t j = first; j < last; ++j) ++seen[static_cast<std::size_t>(j)];
    });
  }
  for (const int s : seen) ASSERT_EQ(s, 50);
}

// Threads that ran the blocks of one loop of n items.
std::set<std::thread::id> threads_of(int64_t n) {
  std::mutex m;
  std::set<std::thread::id> ids;
  parallel_blocks(n, [&](int64_t, int64_t, int64_t) {
    // Long enough for every woken thread to reach the loop.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::lock_guard<std::mutex> lock(m);
    ids.insert(std::this_thread::get_id());
  });
  return ids;
}

TEST_P(thread_counts, ALoopTakesNoMoreThreadsThanItHasBlocksOrItemsForThem) {
  const std::set<std::thread::id> caller{std::this_thread::get_id()};
  for (int round = 0; round < 5; ++round) {
    // One block, or a few blocks of no more items than one thread takes:
    // the calling thread alone.
    EXPECT_EQ(threads_of(parallel_block), caller);
    EXPECT_EQ(threads_of(items_per_thread), caller);
    for (const int64_t n : {items_per_thread + 1, 2 * items_per_thread + 1, 12 * items_per_thread}) {
      const auto ids = threads_of(n);
      const int64_t most = std::min<int64_t>({block_count(n), threads_for(n), GetParam()});
      EXPECT_GE(ids.size(), 1u);
      EXPECT_LE(ids.size(), static_cast<std::size_t>(most)) << n << " items";
    }
  }
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

// ORVEL_THREADS as the environment holds it for the test, put back after.
struct environment_threads : ::testing::Test {
  std::string saved;
  bool had = false;
  void SetUp() override {
    if (const char* v = std::getenv("ORVEL_THREADS")) {
      had = true;
      saved = v;
    }
  }
  void TearDown() override {
    if (had) {
      setenv("ORVEL_THREADS", saved.c_str(), 1);
    } else {
      unsetenv("ORVEL_THREADS");
    }
    set_thread_count(0);
  }
};

TEST_F(environment_threads, WholeNumbersFromOneToTheCapAreTakenAsWritten) {
  const struct {
    const char* text;
    int count;
  } cases[] = {{"1", 1}, {"2", 2}, {"8", 8}, {"3", 3}, {"0016", 16}, {"1024", 1024}};
  for (const auto& c : cases) EXPECT_EQ(parse_thread_count(c.text), c.count) << c.text;
  EXPECT_EQ(thread_cap, 1024);
}

TEST_F(environment_threads, AnythingElseIsRefusedNamingTheValue) {
  for (const char* text : {"0", "-1", "abc", "1e3", "", " 4", "4 ", "+4", "4.0", "0x8", "1025", "99999999999999999999"}) {
    try {
      parse_thread_count(text);
      ADD_FAILURE() << "\"" << text << "\" taken";
    } catch (const input_error& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(std::string("ORVEL_THREADS = \"") + text + "\""), std::string::npos) << what;
      EXPECT_NE(what.find("from 1 to 1024"), std::string::npos) << what;
    }
  }
}

TEST_F(environment_threads, UnsetMeansTheMachinesCores) {
  const unsigned cores = std::thread::hardware_concurrency();
  EXPECT_EQ(default_thread_count(), cores < 1 ? 1 : std::min<int>(static_cast<int>(cores), thread_cap));
  EXPECT_EQ(parse_thread_count(nullptr), default_thread_count());
}

// The count follows the environment, a set count overrides it, and setting 0
// goes back to the environment's (read again), not to a count of one or to
// the last one set.
TEST_F(environment_threads, ASetCountGoesBackToTheEnvironments) {
  unsetenv("ORVEL_THREADS");
  set_thread_count(0);
  EXPECT_EQ(thread_count(), default_thread_count());
  set_thread_count(3);
  EXPECT_EQ(thread_count(), 3);
  setenv("ORVEL_THREADS", "1", 1);
  EXPECT_EQ(thread_count(), 3);  // a set count holds until undone
  set_thread_count(0);
  EXPECT_EQ(thread_count(), 1);  // one thread as asked, not the default
  setenv("ORVEL_THREADS", "5", 1);
  EXPECT_EQ(thread_count(), 1);  // read once
  set_thread_count(0);
  EXPECT_EQ(thread_count(), 5);
  unsetenv("ORVEL_THREADS");
  set_thread_count(0);
  EXPECT_EQ(thread_count(), default_thread_count());
  setenv("ORVEL_THREADS", "abc", 1);
  set_thread_count(0);
  EXPECT_THROW(thread_count(), input_error);
}

}  // namespace
}  // namespace orvel
