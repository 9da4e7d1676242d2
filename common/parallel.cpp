#include "common/parallel.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
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

// Workers that sleep until a job is posted, take its blocks one by one and
// sleep again.  The posting thread takes blocks too and waits for the last.
class pool {
 public:
  explicit pool(int workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }
  ~pool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (auto& t : threads_) t.join();
  }
  int workers() const { return static_cast<int>(threads_.size()); }

  void run(int64_t blocks, void (*call)(void*, int64_t), void* context) {
    {
      // No worker may still be inside the last job's blocks when this one
      // is posted.
      std::unique_lock<std::mutex> lock(mutex_);
      settled_.wait(lock, [this] { return active_ == 0; });
      call_ = call;
      context_ = context;
      blocks_ = blocks;
      next_.store(0);
      done_ = 0;
      ++generation_;
    }
    wake_.notify_all();
    const int64_t mine = take();
    std::unique_lock<std::mutex> lock(mutex_);
    done_ += mine;
    settled_.wait(lock, [this] { return done_ == blocks_; });
  }

 private:
  // Runs blocks until none is left; returns how many it ran.
  int64_t take() {
    int64_t ran = 0;
    for (;;) {
      const int64_t b = next_.fetch_add(1);
      if (b >= blocks_) return ran;
      call_(context_, b);
      ++ran;
    }
  }

  void work() {
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) return;
      seen = generation_;
      ++active_;
      lock.unlock();
      const int64_t ran = take();
      lock.lock();
      done_ += ran;
      --active_;
      if (done_ == blocks_ || active_ == 0) settled_.notify_all();
    }
  }

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable settled_;
  void (*call_)(void*, int64_t) = nullptr;
  void* context_ = nullptr;
  int64_t blocks_ = 0;
  std::atomic<int64_t> next_{0};
  int64_t done_ = 0;
  int active_ = 0;  // workers inside a job's blocks
  uint64_t generation_ = 0;
  bool stop_ = false;
};

std::unique_ptr<pool> the_pool;

}  // namespace

int thread_count() {
  if (chosen == 0) chosen = from_environment();
  return chosen;
}

void set_thread_count(int n) { chosen = n >= 1 ? n : 0; }

void run_blocks(int64_t blocks, void (*call)(void*, int64_t), void* context) {
  const int workers = thread_count() - 1;
  if (workers < 1 || blocks <= 1) {
    for (int64_t b = 0; b < blocks; ++b) call(context, b);
    return;
  }
  if (!the_pool || the_pool->workers() != workers) {
    the_pool.reset();
    the_pool = std::make_unique<pool>(workers);
  }
  the_pool->run(blocks, call, context);
}

}  // namespace orvel
