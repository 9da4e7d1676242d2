// The thread pool of the per-particle loops.  ORVEL_THREADS sets the number
// of threads (1 = no threads); without it the run takes the machine's cores.
//
// A loop over n items is cut into blocks of a fixed size, whatever the
// thread count, and the blocks are shared among the threads.  Work that
// must not depend on the thread count (random draws, sums) is arranged by
// block: counts per block are added in block order, draws of a block start
// where those of the blocks before it end.  Idle threads sleep (they do not
// spin), so that a run on a busy machine does not fight for its cores.
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <vector>

namespace orvel {

// Threads of the per-particle loops: ORVEL_THREADS when it holds a whole
// number from 1 up, else the machine's cores.  Read once.
int thread_count();
// Sets the count for the rest of the run (tests; 0 goes back to the
// environment's).
void set_thread_count(int n);

// Items per block.
inline constexpr int64_t parallel_block = 8192;

inline int64_t block_count(int64_t n) { return n > 0 ? (n + parallel_block - 1) / parallel_block : 0; }

// Runs call(context, b) for b = 0 .. blocks - 1 on the pool's threads and
// the calling one, and returns when every block is done.
void run_blocks(int64_t blocks, void (*call)(void*, int64_t), void* context);

// f(block, first, last) for every block of 0 .. n - 1 (last exclusive), the
// blocks on the threads of the pool; with one thread or one block, in order
// on the calling thread.
template <typename F>
void parallel_blocks(int64_t n, F&& f) {
  const int64_t blocks = block_count(n);
  if (thread_count() <= 1 || blocks <= 1) {
    for (int64_t b = 0; b < blocks; ++b) f(b, b * parallel_block, std::min(n, (b + 1) * parallel_block));
    return;
  }
  // An exception cannot leave a thread of the pool: the first failed
  // block's is thrown again once every block is done.
  struct job {
    F& f;
    int64_t n;
    std::vector<std::exception_ptr> failed;
  } j{f, n, std::vector<std::exception_ptr>(static_cast<std::size_t>(blocks))};
  run_blocks(
      blocks,
      [](void* c, int64_t b) {
        auto& jb = *static_cast<job*>(c);
        try {
          jb.f(b, b * parallel_block, std::min(jb.n, (b + 1) * parallel_block));
        } catch (...) {
          jb.failed[static_cast<std::size_t>(b)] = std::current_exception();
        }
      },
      &j);
  for (const auto& e : j.failed) {
    if (e) std::rethrow_exception(e);
  }
}

}  // namespace orvel
