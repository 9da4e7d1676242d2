// The thread pool of the per-particle loops.  ORVEL_THREADS sets the number
// of threads (1 = no threads), a whole number from 1 to thread_cap; without
// it the run takes the cores it may use: those of its CPU affinity, fewer
// where the cgroup's CPU quota allows fewer (at most thread_cap).
//
// A loop over n items is cut into blocks of a fixed size, whatever the
// thread count, and the blocks are shared among the threads: a loop runs on
// no more threads than it has blocks, nor more than one thread for each
// items_per_thread items, so that a short loop runs on the calling thread
// alone.  Each thread takes its own share of the blocks first (every n-th
// block, the same in every loop), then helps with the others'.  Work that
// must not depend on the thread count (random draws, sums) is arranged by
// block: counts per block are added in block order, draws of a block start
// where those of the blocks before it end, and a sum in item order runs
// block after block as the blocks finish, one thread at a time (most often
// the one that has just finished the block).  A thread that the machine
// has descheduled holds at most the block it is on: the others take the
// rest of its share.  Idle threads spin briefly (the loops of a step follow
// one another closely), then give their core to any other work that wants
// it between looks, and sleep once the core has gone to other work or half
// a millisecond has passed; a loop wakes only the sleeping threads it needs.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace orvel {

// Most threads a run takes.
inline constexpr int thread_cap = 1024;

// Threads of the per-particle loops: ORVEL_THREADS, else the default.  Read
// once; an ORVEL_THREADS that is not a whole number from 1 to thread_cap is
// refused (input_error).
int thread_count();
// The count without ORVEL_THREADS: the cores this process may use (its CPU
// affinity, and the cgroup's CPU quota where one is set), at least 1 and at
// most thread_cap.
int default_thread_count();

// The parts of the default count, apart for their tests.
namespace cores {
// Cores that a cgroup v2 cpu.max text ("QUOTA PERIOD", or "max PERIOD")
// allows, rounded up; 0 when it sets no limit or cannot be read.
int from_cpu_max(std::string_view text);
// The same from cgroup v1's cpu.cfs_quota_us and cpu.cfs_period_us texts
// (a quota of -1: no limit).
int from_cfs_quota(std::string_view quota, std::string_view period);
// The cgroup of this process for the CPU controller, from the text of
// /proc/self/cgroup: the v2 path (line "0::PATH") and the v1 path of the
// line whose controllers include "cpu"; empty where there is none.
struct cgroup_paths {
  std::string v2;
  std::string v1_cpu;
};
cgroup_paths cpu_cgroups(std::string_view proc_self_cgroup);
// The thread count for `affinity` usable cores and a quota of `quota` cores
// (0: none): the smaller, at least 1, at most thread_cap.
int usable(int affinity, int quota);
// The quota of this process's cgroups in cores (the smallest along the
// path to the root, v2 or v1), 0 where none is set.
int cgroup_quota();
// The same with /proc and /sys read under the folder `root` ("" for the
// machine's own).
int cgroup_quota(const std::string& root);
// The cores of this thread's CPU affinity (the machine's where it cannot
// be read).
int affinity();
}  // namespace cores
// The count that the text of ORVEL_THREADS gives (null: unset, the
// default); input_error naming the text when it is not a whole number from
// 1 to thread_cap.
int parse_thread_count(const char* text);
// Sets the count for the rest of the run (tests; 0 goes back to the
// environment's).
void set_thread_count(int n);

// Items per block, the unit of work a thread takes: small enough that the
// blocks of a loop share out evenly among the threads.
inline constexpr int64_t parallel_block = 4096;

inline int64_t block_count(int64_t n) { return n > 0 ? (n + parallel_block - 1) / parallel_block : 0; }

// Items per thread: a loop takes one thread for each this many items, so
// that a loop of a few thousand particles (a few tens of microseconds)
// stays on the calling thread, and a loop of some tens of thousands on a
// few threads, where waking more would cost more than it saves.
inline constexpr int64_t items_per_thread = 16384;

inline int64_t threads_for(int64_t n) { return n > 0 ? (n + items_per_thread - 1) / items_per_thread : 0; }

namespace parallel_detail {
// True on a thread while it works through a block of parallel_units: the
// loops that the unit's work starts stay on that thread.
inline thread_local bool within_unit = false;
}  // namespace parallel_detail

// Whether the calling thread does one unit of parallel_units among others on
// the threads.  Work that leaves values shared by every unit (the last
// unit's when the units run in order) leaves them alone then: its caller
// runs the last unit on its own, after the others.
inline bool among_units() { return parallel_detail::within_unit; }

// Whether a loop over n items runs on more than one thread; otherwise its
// blocks run in order on the calling thread.
inline bool on_threads(int64_t n) {
  return thread_count() > 1 && threads_for(n) > 1 && !parallel_detail::within_unit;
}

// Runs call(context, b) for b = 0 .. blocks - 1 on at most `threads` of the
// pool's threads (the calling one included), and returns when every block
// is done.  With a `tail`, tail(tail_context, b) runs for b = 0 .. blocks - 1
// in that order, one at a time, each once block b is done, while later
// blocks may still run: on any of the job's threads, each tail seeing what
// the tails before it wrote.
void run_blocks(int64_t blocks, void (*call)(void*, int64_t), void* context, void (*tail)(void*, int64_t) = nullptr,
                void* tail_context = nullptr, int64_t threads = INT64_MAX);

namespace parallel_detail {

// Seats a job offers its workers: all of them while they help, fewer while
// the posting thread waits for blocks held by threads that do not run (a
// machine with more work than cores), then all again step by step.  After
// a job in which the posting thread worked for `working` and then waited
// for `waiting` for the blocks of other threads: a wait longer than twice
// its own share of the work (and 20 microseconds) takes one seat away;
// every run of quick jobs gives one back.  A seat taken away doubles the
// run that gives one back (up to longest_run jobs, some tens of steps),
// and a seat given back halves it (down to quick_run): on a machine that
// stays busy a seat given back too soon costs a wait of a scheduler's time
// slice again, while once the machine is quiet the seats come back within
// a few steps.
struct seat_count {
  static constexpr int quick_run = 16;
  static constexpr int longest_run = 1024;
  int seats;
  int workers;
  int quick = 0;        // quick jobs since the last change
  int run = quick_run;  // quick jobs that give a seat back
  explicit seat_count(int workers_) : seats(workers_), workers(workers_) {}
  void after_job(std::chrono::nanoseconds working, std::chrono::nanoseconds waiting) {
    if (waiting > 2 * working + std::chrono::microseconds(20)) {
      seats = std::max(0, seats - 1);
      quick = 0;
      run = std::min(longest_run, 2 * run);
    } else if (++quick >= run) {
      seats = std::min(workers, seats + 1);
      quick = 0;
      run = std::max(quick_run, run / 2);
    }
  }
};

// A job of parallel_blocks: the loop body, and the exception of the first
// block that failed, thrown again once every block is done (an exception
// cannot leave a thread of the pool).
template <typename F, typename G>
struct job {
  F& f;
  G* then;
  int64_t n;
  int64_t blocks;
  std::atomic<int64_t> first_failed;  // the lowest failed block, `blocks` while none
  std::mutex failing;
  std::exception_ptr failed;  // of block first_failed (under `failing`)
  std::exception_ptr tail_failed;
  bool tails_stopped = false;

  job(F& f_, G* then_, int64_t n_, int64_t blocks_) : f(f_), then(then_), n(n_), blocks(blocks_), first_failed(blocks_) {}

  static void block(void* c, int64_t b) {
    auto& jb = *static_cast<job*>(c);
    try {
      jb.f(b, b * parallel_block, std::min(jb.n, (b + 1) * parallel_block));
    } catch (...) {
      std::lock_guard<std::mutex> lock(jb.failing);
      if (b < jb.first_failed.load()) {
        jb.first_failed.store(b);
        jb.failed = std::current_exception();
      }
    }
  }
  // The tails stop at the first failed block or tail.  Block b is done when
  // its tail runs, so a failure of b is already recorded.
  static void tail(void* c, int64_t b) {
    auto& jb = *static_cast<job*>(c);
    if (jb.tails_stopped || jb.first_failed.load() <= b) {
      jb.tails_stopped = true;
      return;
    }
    try {
      (*jb.then)(b, b * parallel_block, std::min(jb.n, (b + 1) * parallel_block));
    } catch (...) {
      jb.tail_failed = std::current_exception();
      jb.tails_stopped = true;
    }
  }
  void rethrow() const {
    if (failed) std::rethrow_exception(failed);
    if (tail_failed) std::rethrow_exception(tail_failed);
  }
};

struct no_tail {
  void operator()(int64_t, int64_t, int64_t) const {}
};

}  // namespace parallel_detail

// f(block, first, last) for every block of 0 .. n - 1 (last exclusive), the
// blocks on the threads of the pool; with one thread or one block, in order
// on the calling thread.
template <typename F>
void parallel_blocks(int64_t n, F&& f) {
  const int64_t blocks = block_count(n);
  if (!on_threads(n)) {
    for (int64_t b = 0; b < blocks; ++b) f(b, b * parallel_block, std::min(n, (b + 1) * parallel_block));
    return;
  }
  using job = parallel_detail::job<F, parallel_detail::no_tail>;
  job j(f, nullptr, n, blocks);
  run_blocks(blocks, &job::block, &j, nullptr, nullptr, threads_for(n));
  j.rethrow();
}

// As parallel_blocks, and then(block, first, last) for every block in block
// order, one at a time (on any thread of the loop, each seeing what the ones
// before it wrote), block b's after f's and before then's of block b + 1.
// `then` may read and write what f wrote in its own block only, and must not
// rely on running on the calling thread.  With one thread or one block, f
// and then alternate block by block.
template <typename F, typename G>
void parallel_blocks_ordered(int64_t n, F&& f, G&& then) {
  const int64_t blocks = block_count(n);
  if (!on_threads(n)) {
    for (int64_t b = 0; b < blocks; ++b) {
      const int64_t first = b * parallel_block, last = std::min(n, (b + 1) * parallel_block);
      f(b, first, last);
      then(b, first, last);
    }
    return;
  }
  using job = parallel_detail::job<F, std::remove_reference_t<G>>;
  job j(f, &then, n, blocks);
  run_blocks(blocks, &job::block, &j, &job::tail, &j, threads_for(n));
  j.rethrow();
}

// The threads that a loop over n items takes.
inline int64_t loop_threads(int64_t n) {
  return std::max<int64_t>(1, std::min<int64_t>(threads_for(n), thread_count()));
}

// The threads that parallel_units(units, size, ...) below takes: one for
// each block of units, at most one for each items_per_thread items.
inline int64_t unit_threads(int64_t units, int64_t size) {
  if (units < 1) return 1;
  const int64_t per_block = std::max<int64_t>(1, parallel_block / std::max<int64_t>(1, size));
  const int64_t blocks = (units + per_block - 1) / per_block;
  return std::max<int64_t>(1, std::min(blocks, loop_threads(units * std::max<int64_t>(1, size))));
}

// f(u) for every unit u of 0 .. units - 1, where a unit is `size` items of
// work that must be done whole by one thread (a pulse of a release, with its
// own sums and random draws): the units are dealt to the threads in blocks
// of consecutive units of about parallel_block items, each block's units in
// order on one thread, and any loop that f starts runs on that thread alone.
// With one thread, or too few items to share, every unit runs in order on
// the calling thread.
template <typename F>
void parallel_units(int64_t units, int64_t size, F&& f) {
  if (units < 1) return;
  const int64_t per_block = std::max<int64_t>(1, parallel_block / std::max<int64_t>(1, size));
  const int64_t blocks = (units + per_block - 1) / per_block;
  const int64_t items = units * std::max<int64_t>(1, size);
  if (!on_threads(items) || blocks < 2) {
    for (int64_t u = 0; u < units; ++u) f(u);
    return;
  }
  auto block = [&](int64_t b, int64_t, int64_t) {
    const bool outer = parallel_detail::within_unit;
    parallel_detail::within_unit = true;
    try {
      for (int64_t u = b * per_block; u < std::min(units, (b + 1) * per_block); ++u) f(u);
    } catch (...) {
      parallel_detail::within_unit = outer;
      throw;
    }
    parallel_detail::within_unit = outer;
  };
  using job = parallel_detail::job<decltype(block), parallel_detail::no_tail>;
  job j(block, nullptr, blocks * parallel_block, blocks);
  run_blocks(blocks, &job::block, &j, nullptr, nullptr, threads_for(items));
  j.rethrow();
}

// Whether pred(j) holds for every j of 0 .. n - 1, looked at on the threads
// of the pool, a whole block at a time (no branch per item); blocks that
// start after a failure is seen are skipped.
template <typename P>
bool parallel_all(int64_t n, P&& pred) {
  std::atomic<bool> all{true};
  parallel_blocks(n, [&](int64_t, int64_t first, int64_t last) {
    if (!all.load(std::memory_order_relaxed)) return;
    bool ok = true;
    for (int64_t j = first; j < last; ++j) ok &= static_cast<bool>(pred(j));
    if (!ok) all.store(false, std::memory_order_relaxed);
  });
  return all.load();
}

// The number of j of 0 .. n - 1 for which pred(j) holds, counted on the
// threads of the pool (whole numbers: the same for any thread count).
template <typename P>
int64_t parallel_count(int64_t n, P&& pred) {
  std::atomic<int64_t> count{0};
  parallel_blocks(n, [&](int64_t, int64_t first, int64_t last) {
    int64_t c = 0;
    for (int64_t j = first; j < last; ++j) c += pred(j) ? 1 : 0;
    count.fetch_add(c, std::memory_order_relaxed);
  });
  return count.load();
}

// For every item j of 0 .. n - 1, t = term(j) on the threads of the pool and
// then add(j, t) in item order, one at a time: a sum (or any accumulation)
// that must not depend on the thread count, with the work of its terms
// shared.  term may also write what belongs to item j alone.  The terms
// wait in a buffer of the calling thread, kept from call to call.
template <typename T, typename Term, typename Add>
void in_item_order(int64_t n, Term&& term, Add&& add) {
  if (!on_threads(n)) {
    for (int64_t j = 0; j < n; ++j) add(j, term(j));
    return;
  }
  static thread_local std::vector<T> terms;
  if (static_cast<int64_t>(terms.size()) < n) terms.resize(static_cast<std::size_t>(n));
  T* t = terms.data();
  parallel_blocks_ordered(
      n,
      [&](int64_t, int64_t first, int64_t last) {
        for (int64_t j = first; j < last; ++j) t[j] = term(j);
      },
      [&](int64_t, int64_t first, int64_t last) {
        for (int64_t j = first; j < last; ++j) add(j, static_cast<const T&>(t[j]));
      });
}

}  // namespace orvel
