// The pool of the per-particle loops: every block runs once whatever the
// thread count (a slow thread's blocks taken by the others), a loop takes
// no more threads than it has blocks or items for, the ordered
// tails run in block order and each after its own block, sums taken in the
// tails are those of one pass in item order, and an exception of a block or
// a tail reaches the caller once every block is done.  The thread count:
// ORVEL_THREADS read as written or refused, and a set count undone.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#if defined(__linux__)
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "common/errors.hpp"
#include "common/parallel.hpp"
#include "tests/support/test_support.hpp"

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

// Runs a loop of n items whose blocks wait (for at most a few seconds in
// all) until `want` threads have run blocks of it, and returns the threads
// that ran its blocks: a loop that can have `want` threads gets them all
// at once, whatever its threads were doing before.
std::size_t threads_meeting(int64_t n, std::size_t want) {
  std::mutex m;
  std::set<std::thread::id> ids;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  parallel_blocks(n, [&](int64_t, int64_t, int64_t) {
    {
      std::lock_guard<std::mutex> lock(m);
      ids.insert(std::this_thread::get_id());
    }
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(m);
        if (ids.size() >= want) break;
      }
      if (std::chrono::steady_clock::now() > until) break;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    // Time for any thread beyond those wanted to reach the loop.
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  });
  return ids.size();
}

// A pool of `count` threads built afresh (through a pool of another size),
// every seat offered, its workers asleep.
void fresh_pool(int count) {
  set_thread_count(count + 1);
  parallel_blocks(12 * items_per_thread, [](int64_t, int64_t, int64_t) {});
  set_thread_count(count);
  parallel_blocks(12 * items_per_thread, [](int64_t, int64_t, int64_t) {});
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// A loop takes one thread for each items_per_thread items or part of them,
// as many as it has blocks and the count allows: every one of them, and no
// more.  Before the loop the pool's workers have gone to sleep, so the loop
// must wake as many as it has seats for.  (On a busy machine a worker of
// the pool's first loop may be descheduled long enough for the pool to
// offer one seat fewer: each loop gets three tries on a fresh pool.)
TEST_P(thread_counts, ALoopGetsEveryThreadItMayTakeEvenFromSleep) {
  const struct {
    int64_t n;
    int threads;  // one for each items_per_thread items or part of them
  } loops[] = {{items_per_thread + 1, 2}, {2 * items_per_thread + 1, 3}, {3 * items_per_thread, 3},
               {12 * items_per_thread, 12}, {2 * parallel_block + 1, 1}};
  for (const auto& [n, threads] : loops) {
    const auto want = static_cast<std::size_t>(std::min(threads, GetParam()));
    std::size_t got = 0;
    for (int attempt = 0; attempt < 3 && got != want; ++attempt) {
      fresh_pool(GetParam());
      got = threads_meeting(n, want);
    }
    EXPECT_EQ(got, want) << n << " items";
  }
}

// A thread that does not run (descheduled, or slow) holds only the block
// it is on: while block 0 waits, every other block is run by the others,
// whatever share of the blocks it was dealt.
TEST_P(thread_counts, AHeldThreadHoldsOnlyItsBlock) {
  if (GetParam() < 2) return;
  const int64_t n = 12 * items_per_thread;
  const int64_t blocks = block_count(n);
  std::atomic<int64_t> others{0};
  std::atomic<bool> all_others_done{false};
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  parallel_blocks(n, [&](int64_t b, int64_t, int64_t) {
    if (b != 0) {
      others.fetch_add(1);
      return;
    }
    while (others.load() < blocks - 1 && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    all_others_done.store(others.load() == blocks - 1);
  });
  EXPECT_TRUE(all_others_done.load());
}

#if defined(__linux__)
// The voluntary context switches of every thread of this process but the
// calling one, by thread id, once every one of them is asleep and has
// stayed so for 20 ms (for at most 5 s): a sleeping worker that is woken
// adds one when it goes back to sleep.
std::map<std::string, long> others_switches_at_rest() {
  const std::string self = std::to_string(static_cast<long>(syscall(SYS_gettid)));
  auto read = [&](bool& all_asleep) {
    std::map<std::string, long> counts;
    all_asleep = true;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
      const std::string id = e.path().filename().string();
      if (id == self) continue;
      std::ifstream status(e.path() / "status");
      for (std::string line; std::getline(status, line);) {
        if (line.rfind("State:", 0) == 0) all_asleep = all_asleep && line.find('S') != std::string::npos;
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0) counts[id] = std::stol(line.substr(24));
      }
    }
    return counts;
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  bool asleep = false;
  auto last = read(asleep);
  while (std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bool still = false;
    auto now = read(still);
    if (asleep && still && now == last) return now;
    last = std::move(now);
    asleep = still;
  }
  return last;
}

// A job of b blocks has work for the posting thread and b - 1 others: with
// every worker of the pool asleep, it wakes at most b - 1 of them, however
// many threads it may take.
TEST(ParallelPool, AJobWakesNoWorkerItHasNoBlockFor) {
  for (const int64_t blocks : {2, 3, 4}) {
    fresh_pool(8);
    const auto before = others_switches_at_rest();
    run_blocks(
        blocks, [](void*, int64_t) { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }, nullptr);
    const auto after = others_switches_at_rest();
    int64_t woken = 0;
    for (const auto& [id, count] : after) {
      const auto was = before.find(id);
      if (was != before.end() && count != was->second) ++woken;
    }
    EXPECT_LE(woken, blocks - 1) << blocks << " blocks";
  }
  set_thread_count(0);
}
#endif

// The pool follows the thread count: more threads once it is raised, no
// more than the count once it is lowered.
TEST(ParallelPool, RebuiltWhenTheThreadCountChanges) {
  const int64_t n = 12 * items_per_thread;
  for (const int count : {3, 8, 2, 5}) {
    set_thread_count(count);
    EXPECT_EQ(threads_meeting(n, static_cast<std::size_t>(count)), static_cast<std::size_t>(count)) << count;
  }
  set_thread_count(0);
}

// The seats a job offers its workers: all while the posting thread's wait
// for the others' blocks is short against its own work, one fewer after a
// long wait (never below none), and one back after each run of quick jobs
// (never above the workers): a run that doubles with each seat taken away
// (up to 1024 jobs) and halves with each seat given back (down to 16).
TEST(ParallelPool, SeatsGoOnlyWhileThePostingThreadWaitsForThreadsThatDoNotRun) {
  using std::chrono::microseconds;
  parallel_detail::seat_count s(7);
  // Helpers that help: waits up to twice the work (and 20 us) keep every seat.
  const struct {
    int64_t working_us, waiting_us;
  } helping[] = {{0, 0}, {0, 20}, {1000, 0}, {1000, 2020}, {10, 40}, {5000, 9000}, {100000, 200000}};
  for (int round = 0; round < 20; ++round) {
    for (const auto& h : helping) {
      s.after_job(microseconds(h.working_us), microseconds(h.waiting_us));
      ASSERT_EQ(s.seats, 7) << h.working_us << " us working, " << h.waiting_us << " us waiting";
    }
  }
  // Quick jobs until the next seat comes back.
  const auto quick_jobs_for_a_seat = [&s] {
    const int before = s.seats;
    int jobs = 0;
    while (s.seats == before && jobs < 100000) {
      s.after_job(microseconds(100), microseconds(0));
      ++jobs;
    }
    EXPECT_EQ(s.seats, before + 1);
    return jobs;
  };
  // One long wait: a seat back after 32 quick jobs, the next wait alike.
  s.after_job(microseconds(1000), microseconds(2021));
  EXPECT_EQ(s.seats, 6);
  EXPECT_EQ(quick_jobs_for_a_seat(), 32);
  s.after_job(microseconds(1000), microseconds(2021));
  EXPECT_EQ(quick_jobs_for_a_seat(), 32);
  // Waits beyond it: one seat each, down to none.
  for (int k = 6; k >= 0; --k) {
    s.after_job(microseconds(1000), microseconds(2021));
    EXPECT_EQ(s.seats, k);
  }
  s.after_job(microseconds(0), microseconds(21));
  EXPECT_EQ(s.seats, 0);
  // A slow job in a run starts it again, longer.
  for (int k = 1; k < 1024; ++k) s.after_job(microseconds(100), microseconds(0));
  EXPECT_EQ(s.seats, 0);
  s.after_job(microseconds(100), microseconds(500));
  EXPECT_EQ(s.seats, 0);
  // Once the machine is quiet the seats come back, sooner and sooner.
  for (const int jobs : {1024, 512, 256, 128, 64, 32, 16}) EXPECT_EQ(quick_jobs_for_a_seat(), jobs);
  EXPECT_EQ(s.seats, 7);
  for (int k = 0; k < 1000; ++k) s.after_job(microseconds(100), microseconds(0));
  EXPECT_EQ(s.seats, 7);
}

// The terms of in_item_order wait in a buffer kept from call to call: a
// call with more items than any before it gets room for all of them (the
// sums match the loop's, the sanitizer build sees no overflow).
TEST_P(thread_counts, ItemOrderBufferGrowsWithTheItems) {
  for (const int64_t n : {items_per_thread + 1, 9 * items_per_thread + 3, 3 * items_per_thread, 40 * items_per_thread + 7}) {
    double sum = 0.0;
    in_item_order<double>(
        n, [](int64_t j) { return 1.0 / static_cast<double>(j + 1); }, [&](int64_t, double t) { sum += t; });
    double literal = 0.0;
    for (int64_t j = 0; j < n; ++j) literal += 1.0 / static_cast<double>(j + 1);
    EXPECT_EQ(std::bit_cast<uint64_t>(sum), std::bit_cast<uint64_t>(literal)) << n;
  }
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

// Without ORVEL_THREADS the run takes the cores it may use: those of its
// affinity, fewer under a cgroup quota.
TEST_F(environment_threads, UnsetMeansTheCoresThisProcessMayUse) {
  EXPECT_EQ(default_thread_count(), cores::usable(cores::affinity(), cores::cgroup_quota()));
  EXPECT_EQ(parse_thread_count(nullptr), default_thread_count());
#if defined(__linux__)
  cpu_set_t all;
  CPU_ZERO(&all);
  ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
  EXPECT_EQ(cores::affinity(), CPU_COUNT(&all));
  // This thread held to one core, then to two where it has them.
  std::vector<int> mine;
  for (int c = 0; c < CPU_SETSIZE; ++c) {
    if (CPU_ISSET(c, &all)) mine.push_back(c);
  }
  for (std::size_t k = 1; k <= std::min<std::size_t>(2, mine.size()); ++k) {
    cpu_set_t some;
    CPU_ZERO(&some);
    for (std::size_t i = 0; i < k; ++i) CPU_SET(mine[i], &some);
    ASSERT_EQ(sched_setaffinity(0, sizeof some, &some), 0);
    EXPECT_EQ(cores::affinity(), static_cast<int>(k));
    const int quota = cores::cgroup_quota();
    EXPECT_EQ(default_thread_count(), quota > 0 ? std::min(static_cast<int>(k), quota) : static_cast<int>(k));
  }
  ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
#endif
}

// The quota texts of cgroup v2 (cpu.max) and v1 (cfs quota and period), in
// cores rounded up; no limit, or a text that cannot be read, gives 0.
TEST(DefaultThreads, CgroupQuotaTexts) {
  const struct {
    const char* text;
    int cores;
  } v2[] = {{"max 100000\n", 0},      {"200000 100000\n", 2}, {"150000 100000\n", 2}, {"50000 100000", 1},
            {"100001 100000\n", 2},   {"800000 100000", 8},   {"1 100000", 1},        {"400000 50000\n", 8},
            {"", 0},                  {"garbage", 0},         {"200000", 0},          {"0 100000", 0},
            {"-1 100000", 0},         {"200000 0", 0},        {"999999999999 1", 1024}};
  for (const auto& c : v2) EXPECT_EQ(cores::from_cpu_max(c.text), c.cores) << "\"" << c.text << "\"";
  const struct {
    const char* quota;
    const char* period;
    int cores;
  } v1[] = {{"-1\n", "100000\n", 0}, {"300000\n", "100000\n", 3}, {"250000", "100000", 3},
            {"100000", "100000", 1}, {"", "100000", 0},          {"300000", "", 0}};
  for (const auto& c : v1) {
    EXPECT_EQ(cores::from_cfs_quota(c.quota, c.period), c.cores) << "\"" << c.quota << "\" / \"" << c.period << "\"";
  }
}

// The process's cgroups for the CPU controller from /proc/self/cgroup: the
// unified (v2) path, and the v1 line whose controllers include cpu (not
// cpuacct or cpuset alone).
TEST(DefaultThreads, CgroupPathsOfTheCpuController) {
  const auto hybrid = cores::cpu_cgroups(
      "12:cpuset:/a\n11:cpuacct:/b\n4:memory:/m\n3:cpu,cpuacct:/user.slice/job\n0::/user.slice/unified\n");
  EXPECT_EQ(hybrid.v2, "/user.slice/unified");
  EXPECT_EQ(hybrid.v1_cpu, "/user.slice/job");
  const auto v2 = cores::cpu_cgroups("0::/system.slice/run:1.scope\n");
  EXPECT_EQ(v2.v2, "/system.slice/run:1.scope");
  EXPECT_EQ(v2.v1_cpu, "");
  const auto v1 = cores::cpu_cgroups("2:cpuacct,cpu:/docker/abc\n1:name=systemd:/x");
  EXPECT_EQ(v1.v2, "");
  EXPECT_EQ(v1.v1_cpu, "/docker/abc");
  // cpu and cpuacct mounted apart: the cpu line's path, whichever line
  // comes last.
  for (const char* text : {"5:cpu:/batch/job\n6:cpuacct:/accounting/job\n", "6:cpuacct:/accounting/job\n5:cpu:/batch/job\n"}) {
    EXPECT_EQ(cores::cpu_cgroups(text).v1_cpu, "/batch/job") << text;
  }
  const auto none = cores::cpu_cgroups("");
  EXPECT_EQ(none.v2, "");
  EXPECT_EQ(none.v1_cpu, "");
}

// cores::cgroup_quota on a made-up /proc and /sys tree under `root`, or -1
// when it has not returned within ten seconds (a walk up the cgroup path
// that never reaches the top).  The walk runs on a thread of its own, left
// behind when it hangs, so that the hang fails this test alone.
int quota_of_tree(const std::string& root) {
  auto task = std::make_shared<std::packaged_task<int()>>([root] { return cores::cgroup_quota(root); });
  auto result = task->get_future();
  std::thread([task] { (*task)(); }).detach();
  if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) return -1;
  return result.get();
}

// The quota of a process in nested cgroups, v2 and v1 (cpu mounted alone or
// together with cpuacct), with limits at one or several levels: the
// tightest limit from the process's own cgroup up to the top holds, each
// level's quota over that level's own period, rounded up to whole cores.
// Every expected count is worked by hand from the files of its case.
TEST(DefaultThreads, CgroupQuotaAlongTheWholePath) {
  const struct {
    const char* what;
    const char* proc_self_cgroup;
    std::vector<std::pair<const char*, const char*>> files;  // under /sys/fs/cgroup
    int cores;
  } cases[] = {
      {"v2, a systemd session three levels down, limit on its own cgroup",
       "0::/user.slice/user-1000.slice/session-3.scope\n",
       {{"user.slice/user-1000.slice/session-3.scope/cpu.max", "300000 100000\n"},
        {"user.slice/user-1000.slice/cpu.max", "max 100000\n"},
        {"user.slice/cpu.max", "max 100000\n"}},
       3},
      {"v2, limit only at the top level, none below",
       "0::/user.slice/user-1000.slice/session-3.scope\n",
       {{"user.slice/user-1000.slice/session-3.scope/cpu.max", "max 100000\n"},
        {"user.slice/cpu.max", "200000 100000\n"}},
       2},
      {"v2, limits at three levels, the middle one tightest",
       "0::/a/b/c\n",
       {{"a/b/c/cpu.max", "600000 100000\n"}, {"a/b/cpu.max", "150000 100000\n"}, {"a/cpu.max", "400000 100000\n"}},
       2},
      {"v2, limits at two levels, the inner one tightest",
       "0::/a/b\n",
       {{"a/b/cpu.max", "50000 100000\n"}, {"a/cpu.max", "700000 100000\n"}},
       1},
      {"v2, a limit on the root of the tree itself",
       "0::/a/b\n",
       {{"cpu.max", "500000 100000\n"}},
       5},
      {"v2, the process in the root cgroup, no limit", "0::/\n", {{"cpu.max", "max 100000\n"}}, 0},
      {"v1, cpu mounted apart from cpuacct, in a cgroup of its own",
       "6:cpuacct:/accounting/job\n5:cpu:/batch/job\n1:name=systemd:/x\n",
       {{"cpu/batch/job/cpu.cfs_quota_us", "300000\n"},
        {"cpu/batch/job/cpu.cfs_period_us", "100000\n"},
        {"cpu/batch/cpu.cfs_quota_us", "-1\n"},
        {"cpu/batch/cpu.cfs_period_us", "100000\n"}},
       3},
      {"v1, cpu and cpuacct mounted together, limits at three levels with their own periods",
       "3:cpu,cpuacct:/docker/abc/inner\n",
       {{"cpu,cpuacct/docker/abc/inner/cpu.cfs_quota_us", "800000\n"},
        {"cpu,cpuacct/docker/abc/inner/cpu.cfs_period_us", "100000\n"},
        {"cpu,cpuacct/docker/abc/cpu.cfs_quota_us", "150000\n"},
        {"cpu,cpuacct/docker/abc/cpu.cfs_period_us", "50000\n"},
        {"cpu,cpuacct/docker/cpu.cfs_quota_us", "500000\n"},
        {"cpu,cpuacct/docker/cpu.cfs_period_us", "100000\n"}},
       3},
      {"v1 and v2 both, the v1 limit tighter",
       "4:cpu:/job\n0::/user.slice/job\n",
       {{"user.slice/job/cpu.max", "400000 100000\n"},
        {"cpu/job/cpu.cfs_quota_us", "200000\n"},
        {"cpu/job/cpu.cfs_period_us", "100000\n"}},
       2},
      {"no cgroup file at all", nullptr, {}, 0},
  };
  for (const auto& c : cases) {
    testing::temp_dir tree;
    const std::filesystem::path root = tree.path();
    if (c.proc_self_cgroup) {
      std::filesystem::create_directories(root / "proc/self");
      testing::write_file(root / "proc/self/cgroup", c.proc_self_cgroup);
    }
    for (const auto& [name, text] : c.files) {
      const std::filesystem::path file = root / "sys/fs/cgroup" / name;
      std::filesystem::create_directories(file.parent_path());
      testing::write_file(file, text);
    }
    EXPECT_EQ(quota_of_tree(root.string()), c.cores) << c.what;
  }
}

// The count from the affinity and the quota: the smaller, at least one,
// never beyond the cap; a count set by hand is capped as well.
TEST_F(environment_threads, TheCountIsCapped) {
  EXPECT_EQ(cores::usable(8, 0), 8);
  EXPECT_EQ(cores::usable(8, 3), 3);
  EXPECT_EQ(cores::usable(2, 6), 2);
  EXPECT_EQ(cores::usable(0, 0), 1);
  EXPECT_EQ(cores::usable(5000, 0), thread_cap);
  EXPECT_EQ(cores::usable(5000, 2000), thread_cap);
  set_thread_count(thread_cap + 1);
  EXPECT_EQ(thread_count(), thread_cap);
  set_thread_count(1 << 30);
  EXPECT_EQ(thread_count(), thread_cap);
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
