#include "common/parallel.hpp"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

#include "common/errors.hpp"

namespace orvel {
namespace {

int chosen = 0;

// A short pause of a spinning thread.
inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// Pauses the posting thread spins for blocks still running on other threads
// before it yields its core between checks.
constexpr int spin_pauses = 2000;

// Time a worker waits for the next job before it sleeps.  It must cover the
// serial work between the loops of a step (tens to hundreds of
// microseconds): a worker that has gone to sleep takes about as long again
// to wake on some machines (virtual ones most), and a loop that starts
// without its workers runs on the posting thread alone.  Timed by the clock,
// not by a count of pauses, whose length differs tenfold between processors.
constexpr std::chrono::microseconds worker_spin{500};
// Of that time, the first part is spun outright; after it the worker gives
// its core to any other thread that wants it between its looks at the
// job (sched_yield: nearly free when no other thread wants the core).
constexpr std::chrono::microseconds worker_pure_spin{50};
// A yield that returns this late has let another thread run on the core:
// the machine has more work than cores, and the worker sleeps at once
// rather than take the core back only to spin on it.
constexpr std::chrono::microseconds yield_given_away{40};

// Workers that wait for a job (spinning a little, then asleep), take its
// blocks one by one, and wait again.  The posting thread takes blocks too,
// and returns when every block and every tail is done.  The tails run in
// block order as the blocks finish, on whichever thread of the job holds
// the baton (run_tails).
//
// A job of b blocks for at most t threads has min(b, t) - 1 seats for
// workers (never more than there are workers): a worker takes a seat before
// it takes blocks, so that a job runs on no more threads than it asks for,
// and the posting thread wakes only
// as many sleeping workers as there are seats that the spinning ones will not
// take.  Seats and blocks are claimed with the job's generation, so that a
// worker still looking at a finished job can never take a seat or a block
// of the next: the posting thread need not wait for the workers to leave a
// job.
class pool {
 public:
  explicit pool(int workers) : ranges_(std::make_unique<range[]>(workers + 1)), offered_(workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this, i] { work(i + 1); });
  }
  ~pool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
      stopping_.store(true);
    }
    wake_.notify_all();
    for (auto& t : threads_) t.join();
  }
  int workers() const { return static_cast<int>(threads_.size()); }

  void run(int64_t blocks, void (*call)(void*, int64_t), void* context, void (*tail)(void*, int64_t),
           void* tail_context, int64_t threads) {
    if (capacity_ < blocks) {
      // The flags of earlier jobs stay allocated: a thread that has just
      // run the last tail of a job may still look at them.
      flag_arrays_.push_back(std::make_unique<std::atomic<uint8_t>[]>(static_cast<std::size_t>(blocks)));
      finished_.store(flag_arrays_.back().get(), std::memory_order_release);
      capacity_ = blocks;
    }
    std::atomic<uint8_t>* finished = finished_.load(std::memory_order_relaxed);
    for (int64_t b = 0; b < blocks; ++b) finished[b].store(0, std::memory_order_relaxed);
    done_.store(0, std::memory_order_relaxed);
    const int64_t seats = std::min<int64_t>({blocks - 1, offered_.seats, threads - 1});
    const job j{call, context, tail, tail_context, blocks, seats + 1, (posted_.generation + 1) & generation_mask};
    posted_ = j;
    tails_.store(j.generation << index_bits, std::memory_order_relaxed);
    // The blocks are dealt out to the threads of the job like cards: thread
    // k (0 the posting one) takes blocks k, k + n, k + 2n ... first, the
    // same blocks in every loop of the same size, so that what one loop
    // writes the next reads from the same core's cache, while the blocks
    // still finish roughly in order for the tails.
    for (int64_t r = 0; r < j.ranges; ++r) {
      const auto count = static_cast<uint64_t>((blocks - r + j.ranges - 1) / j.ranges);
      ranges_[r].end.store((j.generation << index_bits) | count, std::memory_order_relaxed);
      ranges_[r].next.store(j.generation << index_bits, std::memory_order_release);
    }
    seats_.store((j.generation << index_bits) | static_cast<uint64_t>(seats), std::memory_order_release);
    publish(j);
    // Spinning workers see the job by themselves; sleepers are woken for the
    // seats that the spinning ones will not take.  A worker counts itself
    // asleep before it looks at the generation for the last time, so that
    // either it sees this job or this thread sees it asleep.
    generation_.store(j.generation, std::memory_order_seq_cst);
    const int64_t sleeping = sleeping_.load(std::memory_order_seq_cst);
    if (sleeping > 0) {
      const int64_t spinning = spinning_.load(std::memory_order_acquire);
      const auto to_wake = std::min<int64_t>(sleeping, std::max<int64_t>(0, seats - spinning));
      if (to_wake > 0) {
        // Through the mutex: a worker between its last look and its wait
        // holds it, so the notification cannot fall between the two.
        { std::lock_guard<std::mutex> lock(mutex_); }
        for (int64_t k = 0; k < to_wake; ++k) wake_.notify_one();
      }
    }
    int idle = 0;
    const auto start = clock::now();
    clock::time_point waiting{};  // when this thread found no block left to take
    bool waited = false;
    for (;;) {
      if (run_one(j, 0)) {
        idle = 0;
        continue;
      }
      if (tail) run_tails(j);
      if (done_.load(std::memory_order_acquire) == blocks && (!tail || tails_done(j))) {
        if (waited) offered_.after_job(waiting - start, clock::now() - waiting);
        else offered_.after_job(clock::now() - start, clock::duration::zero());
        return;
      }
      // Blocks still running on other threads.
      if (!waited) {
        waited = true;
        waiting = clock::now();
      }
      if (++idle < spin_pauses) {
        relax();
      } else {
        std::this_thread::yield();
      }
    }
  }

 private:
  using clock = std::chrono::steady_clock;

  static constexpr int index_bits = 40;
  static constexpr uint64_t index_mask = (uint64_t{1} << index_bits) - 1;
  static constexpr uint64_t generation_mask = (uint64_t{1} << (64 - index_bits)) - 1;

  struct job {
    void (*call)(void*, int64_t) = nullptr;
    void* context = nullptr;
    void (*tail)(void*, int64_t) = nullptr;
    void* tail_context = nullptr;
    int64_t blocks = 0;
    int64_t ranges = 1;  // threads the job takes at most, one share of its blocks each
    uint64_t generation = 0;
  };

  // Takes a seat at job j; false when none is left or a later job has been
  // posted.
  bool take_seat(const job& j) {
    uint64_t s = seats_.load(std::memory_order_acquire);
    for (;;) {
      if ((s >> index_bits) != j.generation || (s & index_mask) == 0) return false;
      if (seats_.compare_exchange_weak(s, s - 1, std::memory_order_acq_rel)) return true;
    }
  }

  // Claims the next block of thread r's share of job j; false when the
  // share is used up or a later job has been posted.
  bool claim(const job& j, int64_t r, int64_t& b) {
    range& q = ranges_[r];
    uint64_t t = q.next.load(std::memory_order_acquire);
    for (;;) {
      if ((t >> index_bits) != j.generation) return false;
      const uint64_t e = q.end.load(std::memory_order_relaxed);
      if ((e >> index_bits) != j.generation || (t & index_mask) >= (e & index_mask)) return false;
      if (q.next.compare_exchange_weak(t, t + 1, std::memory_order_acq_rel)) {
        b = r + static_cast<int64_t>(t & index_mask) * j.ranges;
        return true;
      }
    }
  }

  // Claims a block of job j, from thread self's own share first and then
  // from the others', and runs it; false when none is left or a later job
  // has been posted.
  bool run_one(const job& j, int self) {
    int64_t b = 0;
    bool found = false;
    for (int64_t k = 0; k < j.ranges && !found; ++k) found = claim(j, (self + k) % j.ranges, b);
    if (!found) return false;
    finish(j, b);
    return true;
  }

  // Runs block b of job j and marks it done, then the tails that are due.
  void finish(const job& j, int64_t b) {
    j.call(j.context, b);
    finished_.load(std::memory_order_acquire)[b].store(1, std::memory_order_seq_cst);
    done_.fetch_add(1, std::memory_order_acq_rel);
    if (j.tail) run_tails(j);
  }

  // The tails of job j run in block order, each once its block is done, on
  // whichever thread holds the baton: the tails word (generation, next tail,
  // busy bit) is taken with the next tail's block done, and given back with
  // the tail after it.  Most often the thread that has just finished a
  // block runs its tail, with the block's items still in its cache.  A
  // thread that finds the baton taken leaves: the holder looks at the next
  // block again after giving the baton back (both sides in sequentially
  // consistent order), so no tail is left waiting.
  void run_tails(const job& j) {
    const uint64_t tag = j.generation << index_bits;
    for (;;) {
      uint64_t w = tails_.load(std::memory_order_seq_cst);
      if ((w & ~index_mask) != tag || (w & 1) != 0) return;
      const auto t = static_cast<int64_t>((w & index_mask) >> 1);
      if (t >= j.blocks || !finished_.load(std::memory_order_acquire)[t].load(std::memory_order_seq_cst)) return;
      if (!tails_.compare_exchange_strong(w, w | 1, std::memory_order_seq_cst)) continue;
      j.tail(j.tail_context, t);
      tails_.store(tag | (static_cast<uint64_t>(t + 1) << 1), std::memory_order_seq_cst);
    }
  }
  bool tails_done(const job& j) const {
    return tails_.load(std::memory_order_acquire) == ((j.generation << index_bits) | (static_cast<uint64_t>(j.blocks) << 1));
  }

  void work(int self) {
    uint64_t seen = 0;
    for (;;) {
      spinning_.fetch_add(1, std::memory_order_acq_rel);
      wait_for_job(seen);
      spinning_.fetch_sub(1, std::memory_order_acq_rel);
      if (generation_.load(std::memory_order_acquire) == seen) {
        std::unique_lock<std::mutex> lock(mutex_);
        sleeping_.fetch_add(1, std::memory_order_seq_cst);
        wake_.wait(lock, [&] { return stop_ || generation_.load(std::memory_order_seq_cst) != seen; });
        sleeping_.fetch_sub(1, std::memory_order_relaxed);
      }
      if (stopping_.load(std::memory_order_acquire)) return;
      const job j = latest();
      if (j.generation == seen) continue;
      seen = j.generation;
      if (!take_seat(j)) continue;
      while (run_one(j, self)) {
      }
    }
  }

  // Spins for a job after `seen` (or the pool's end): outright for a short
  // while, then yielding the core between looks, and returns once half a
  // millisecond has passed or a yield has let other work run.
  void wait_for_job(uint64_t seen) const {
    const auto start = clock::now();
    for (int i = 1; generation_.load(std::memory_order_acquire) == seen && !stopping_.load(std::memory_order_relaxed);
         ++i) {
      relax();
      if (i % 64 != 0) continue;
      const auto now = clock::now();
      if (now - start >= worker_spin) return;
      if (now - start < worker_pure_spin) continue;
      std::this_thread::yield();
      if (clock::now() - now >= yield_given_away) return;
    }
  }

  // The job is published under a sequence count, odd while it is being
  // written, so that a worker reads it whole without a lock: the posting
  // thread never waits for the workers, nor they for each other.
  void publish(const job& j) {
    const uint64_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    call_.store(j.call, std::memory_order_relaxed);
    context_.store(j.context, std::memory_order_relaxed);
    tail_.store(j.tail, std::memory_order_relaxed);
    tail_context_.store(j.tail_context, std::memory_order_relaxed);
    blocks_.store(j.blocks, std::memory_order_relaxed);
    job_ranges_.store(j.ranges, std::memory_order_relaxed);
    job_generation_.store(j.generation, std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
  }
  // The last job published, read whole.
  job latest() const {
    for (;;) {
      const uint64_t s = sequence_.load(std::memory_order_acquire);
      if ((s & 1) == 0) {
        job j;
        j.call = call_.load(std::memory_order_relaxed);
        j.context = context_.load(std::memory_order_relaxed);
        j.tail = tail_.load(std::memory_order_relaxed);
        j.tail_context = tail_context_.load(std::memory_order_relaxed);
        j.blocks = blocks_.load(std::memory_order_relaxed);
        j.ranges = job_ranges_.load(std::memory_order_relaxed);
        j.generation = job_generation_.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence_.load(std::memory_order_relaxed) == s) return j;
      }
      relax();
    }
  }

  // The blocks of one thread's share of a job: the end word is written
  // before the next word, each tagged with the job's generation.
  struct alignas(64) range {
    std::atomic<uint64_t> next{0};  // generation, blocks of the share taken so far
    std::atomic<uint64_t> end{0};   // generation, blocks in the share
  };

  std::vector<std::thread> threads_;
  std::mutex mutex_;  // of the sleepers' wait
  std::condition_variable wake_;
  job posted_;  // the last job posted (posting thread only)
  std::atomic<std::atomic<uint8_t>*> finished_{nullptr};  // (block) 1 once done
  std::vector<std::unique_ptr<std::atomic<uint8_t>[]>> flag_arrays_;  // every array finished_ has held
  int64_t capacity_ = 0;
  std::unique_ptr<range[]> ranges_;  // (thread) its share of the job: 0 the posting thread, k worker k
  // Each of the atomics the threads write on its own cache line.
  alignas(64) std::atomic<uint64_t> seats_{0};     // generation, seats left for workers
  alignas(64) std::atomic<uint64_t> generation_{0};  // of the last job, for the spinning workers
  alignas(64) std::atomic<int64_t> done_{0};
  alignas(64) std::atomic<uint64_t> tails_{0};  // generation, next tail (shifted by one), busy bit
  alignas(64) std::atomic<int64_t> spinning_{0};  // workers spinning for the next job
  alignas(64) std::atomic<int64_t> sleeping_{0};  // workers waiting on wake_, or about to
  // The last job posted, written by publish and read by latest.
  alignas(64) std::atomic<uint64_t> sequence_{0};
  std::atomic<void (*)(void*, int64_t)> call_{nullptr};
  std::atomic<void*> context_{nullptr};
  std::atomic<void (*)(void*, int64_t)> tail_{nullptr};
  std::atomic<void*> tail_context_{nullptr};
  std::atomic<int64_t> blocks_{0};
  std::atomic<int64_t> job_ranges_{1};
  std::atomic<uint64_t> job_generation_{0};
  parallel_detail::seat_count offered_;  // seats a job offers at most (posting thread only)
  bool stop_ = false;
  std::atomic<bool> stopping_{false};
};

std::unique_ptr<pool> the_pool;

// The whole text of a small system file; empty when it cannot be read.
std::string read_text(const std::string& path) {
  std::ifstream in(path);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A whole number at the start of `text` after blanks, the rest of the text
// after it; false when there is none.
bool leading_number(std::string_view& text, int64_t& value) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end == first) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

// Cores that a quota of CPU time per period gives, rounded up (a quota of
// one and a half cores keeps two threads busy part of the time); 0 for none.
int quota_cores(int64_t quota, int64_t period) {
  if (quota <= 0 || period <= 0) return 0;
  const int64_t n = quota / period + (quota % period != 0 ? 1 : 0);
  return n > thread_cap ? thread_cap : static_cast<int>(n);
}

// The smaller of two quotas in cores, 0 standing for none.
int tighter(int a, int b) { return a == 0 ? b : b == 0 ? a : std::min(a, b); }

}  // namespace

namespace cores {

int from_cpu_max(std::string_view text) {
  int64_t quota = 0, period = 0;
  if (!leading_number(text, quota)) return 0;  // "max": no limit
  if (!leading_number(text, period)) return 0;
  return quota_cores(quota, period);
}

int from_cfs_quota(std::string_view quota, std::string_view period) {
  int64_t q = 0, p = 0;
  if (!leading_number(quota, q) || !leading_number(period, p)) return 0;
  return quota_cores(q, p);
}

cgroup_paths cpu_cgroups(std::string_view text) {
  cgroup_paths paths;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    // ID:CONTROLLERS:PATH (the path may itself hold colons).
    const std::size_t a = line.find(':');
    const std::size_t b = a == std::string_view::npos ? a : line.find(':', a + 1);
    if (b == std::string_view::npos) continue;
    const std::string_view id = line.substr(0, a), controllers = line.substr(a + 1, b - a - 1), path = line.substr(b + 1);
    if (id == "0" && controllers.empty()) {
      paths.v2 = path;
      continue;
    }
    for (std::string_view list = controllers; !list.empty();) {
      const std::size_t comma = list.find(',');
      if (list.substr(0, comma) == "cpu") paths.v1_cpu = path;
      list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
  }
  return paths;
}

int usable(int affinity, int quota) {
  int n = affinity < 1 ? 1 : affinity;
  if (quota > 0) n = std::min(n, quota);
  return std::min(n, thread_cap);
}

int cgroup_quota() { return cgroup_quota(""); }

int cgroup_quota(const std::string& root) {
  const cgroup_paths paths = cpu_cgroups(read_text(root + "/proc/self/cgroup"));
  int quota = 0;
  // From the process's own cgroup up to the root: a limit set on any of
  // them holds.
  const auto walk = [&](std::string path, const auto& read) {
    for (;;) {
      quota = tighter(quota, read(path));
      const std::size_t slash = path.find_last_of('/');
      if (slash == std::string::npos || path.size() <= 1) return;
      path.resize(slash);
    }
  };
  if (!paths.v2.empty()) {
    walk(paths.v2, [&](const std::string& p) { return from_cpu_max(read_text(root + "/sys/fs/cgroup" + p + "/cpu.max")); });
  }
  if (!paths.v1_cpu.empty()) {
    walk(paths.v1_cpu, [&](const std::string& p) {
      for (const char* mount : {"/sys/fs/cgroup/cpu", "/sys/fs/cgroup/cpu,cpuacct"}) {
        const std::string dir = root + mount + p;
        const std::string quota_text = read_text(dir + "/cpu.cfs_quota_us");
        if (!quota_text.empty()) return from_cfs_quota(quota_text, read_text(dir + "/cpu.cfs_period_us"));
      }
      return 0;
    });
  }
  return quota;
}

int affinity() {
#if defined(__linux__)
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) return CPU_COUNT(&set);
#endif
  return static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace cores

int parse_thread_count(const char* text) {
  if (!text) return default_thread_count();
  const std::string shown = std::string("ORVEL_THREADS = \"") + text + "\"";
  // Digits only: no sign, blank, exponent or fraction.
  bool digits = *text != '\0';
  for (const char* c = text; *c; ++c) digits = digits && *c >= '0' && *c <= '9';
  errno = 0;
  const long n = digits ? std::strtol(text, nullptr, 10) : 0;
  if (!digits || errno == ERANGE || n < 1 || n > thread_cap) {
    throw input_error("environment", 0,
                      shown + ": the thread count must be a whole number from 1 to " + std::to_string(thread_cap) +
                          " (without ORVEL_THREADS the run takes the cores it may use, " +
                          std::to_string(default_thread_count()) + " here)");
  }
  return static_cast<int>(n);
}

int default_thread_count() { return cores::usable(cores::affinity(), cores::cgroup_quota()); }

int thread_count() {
  if (chosen == 0) chosen = parse_thread_count(std::getenv("ORVEL_THREADS"));
  return chosen;
}

void set_thread_count(int n) { chosen = n >= 1 ? std::min(n, thread_cap) : 0; }

void run_blocks(int64_t blocks, void (*call)(void*, int64_t), void* context, void (*tail)(void*, int64_t),
                void* tail_context, int64_t threads) {
  const int workers = thread_count() - 1;
  if (workers < 1 || blocks <= 1 || threads <= 1) {
    for (int64_t b = 0; b < blocks; ++b) {
      call(context, b);
      if (tail) tail(tail_context, b);
    }
    return;
  }
  if (!the_pool || the_pool->workers() != workers) {
    the_pool.reset();
    the_pool = std::make_unique<pool>(workers);
  }
  the_pool->run(blocks, call, context, tail, tail_context, threads);
}

}  // namespace orvel
