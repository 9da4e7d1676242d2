// Run-time arrays with Fortran-like indexing: lower bound 1 by default,
// first index varying fastest, "not allocated" distinct from "allocated with
// zero elements".  Indices are checked when ORVEL_BOUNDS_CHECK is defined.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orvel {

namespace farray_detail {

// Large arrays start on a 2 MiB boundary, and the system is asked to back
// them with huge pages: a run's arrays of particles are first written page
// by page, and on some machines (virtual ones most) each fault of a 4 KiB
// page costs some microseconds, hundreds of milliseconds over a million
// particles.  Only a request: where huge pages are not to be had the array
// keeps small ones.  The block from calloc is 4 MiB longer than the array
// (address space only: its fresh pages are never touched), and the address
// calloc gave is kept in the 8 bytes before the array.
inline constexpr std::size_t huge_page = std::size_t{2} << 20;
inline constexpr std::size_t huge_array = 2 * huge_page;  // bytes from which an array is aligned
inline constexpr std::size_t huge_slack = 2 * huge_page + 64;  // extra bytes of an aligned array's block

// Where an aligned array starts in a block from calloc at `block`: the first
// 2 MiB boundary that leaves room before it for the block's address.
inline std::uintptr_t aligned_start(std::uintptr_t block) {
  return (block + 16 + huge_page - 1) & ~(huge_page - 1);
}

inline void* calloc_array(std::size_t n, std::size_t size) {
  if (size != 0 && n > (SIZE_MAX - huge_slack) / size) return nullptr;
  const std::size_t bytes = n * size;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (bytes >= huge_array) {
    void* block = std::calloc(bytes + huge_slack, 1);
    if (!block) return nullptr;
    const auto first = aligned_start(reinterpret_cast<std::uintptr_t>(block));
    const auto last = (first + bytes + huge_page - 1) & ~(huge_page - 1);
    (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    reinterpret_cast<void**>(first)[-1] = block;
    return reinterpret_cast<void*>(first);
  }
#endif
  return std::calloc(n, size);
}

inline void free_array(void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (p && bytes >= huge_array) {
    std::free(static_cast<void**>(p)[-1]);
    return;
  }
#endif
  std::free(p);
}

// Storage of the arrays of numbers: zeroed by calloc, which takes large
// blocks as fresh pages from the system that are zero already, and elements
// value-initialised by leaving them as they are.  A large array costs no
// time and no memory at allocation: its pages come into being as they are
// first written (an array a run never touches is never held).
template <typename T>
struct zeroed_allocator {
  using value_type = T;
  zeroed_allocator() = default;
  template <typename U>
  zeroed_allocator(const zeroed_allocator<U>&) {}
  T* allocate(std::size_t n) {
    if (void* p = calloc_array(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t n) { free_array(p, n * sizeof(T)); }
  // Value-initialisation of a number in zeroed storage: nothing to do.
  template <typename U>
  void construct(U*) {}
  template <typename U, typename... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
  template <typename U>
  bool operator==(const zeroed_allocator<U>&) const {
    return true;
  }
};

template <typename T>
using storage = std::conditional_t<std::is_arithmetic_v<T>, std::vector<T, zeroed_allocator<T>>, std::vector<T>>;

}  // namespace farray_detail

// Lower and upper bound of one dimension, for arrays that do not start at 1.
struct bounds {
  int32_t lower;
  int32_t upper;
};

template <typename T, int Rank = 1>
class farray {
  static_assert(Rank >= 1 && Rank <= 4, "farray supports ranks 1 to 4");

 public:
  farray() = default;
  explicit farray(const char* name) : name_(name) {}

  // Allocates with lower bound 1 and the given extents (an extent of zero or
  // less gives an empty dimension).  Every element is value-initialised.
  template <typename... E>
    requires(sizeof...(E) == Rank && (std::is_integral_v<E> && ...))
  void allocate(E... extents) {
    std::array<bounds, Rank> b{bounds{1, static_cast<int32_t>(extents)}...};
    allocate_bounds(b);
  }

  // Allocates with lower bound 1 and the given extents for a caller that
  // writes every element before it reads any: storage kept from an earlier
  // allocation is taken as it is, not set to zero again.
  template <typename... E>
    requires(sizeof...(E) == Rank && (std::is_integral_v<E> && ...))
  void allocate_for_overwrite(E... extents) {
    std::array<bounds, Rank> b{bounds{1, static_cast<int32_t>(extents)}...};
    allocate_bounds(b, false);
  }

  // Allocates with explicit lower and upper bounds per dimension.
  template <typename... B>
    requires(sizeof...(B) == Rank && (std::is_same_v<B, bounds> && ...))
  void allocate(B... b) {
    allocate_bounds(std::array<bounds, Rank>{b...});
  }

  void allocate_bounds(const std::array<bounds, Rank>& b, bool zero = true) {
    if (allocated_) {
      throw std::logic_error(std::string("array ") + name_ + " is already allocated");
    }
    std::size_t n = 1;
    for (int d = 0; d < Rank; ++d) {
      lb_[d] = b[d].lower;
      int64_t e = int64_t{b[d].upper} - b[d].lower + 1;
      ext_[d] = e > 0 ? static_cast<int32_t>(e) : 0;
      stride_[d] = static_cast<int64_t>(n);
      n *= static_cast<std::size_t>(ext_[d]);
    }
    if (data_.capacity() >= n) {
      // Storage kept from an earlier allocation.
      if (zero) {
        data_.assign(n, T{});
      } else {
        data_.resize(n);  // numbers keep what they held
      }
    } else {
      data_ = farray_detail::storage<T>();
      data_.resize(n);  // fresh zeroed storage for numbers
    }
    allocated_ = true;
    compute_offset();
  }

  void deallocate() {
    if (!allocated_) {
      throw std::logic_error(std::string("array ") + name_ + " is not allocated");
    }
    data_.clear();
    data_.shrink_to_fit();
    allocated_ = false;
    lb_.fill(1);
    ext_.fill(0);
  }

  // Deallocates but keeps the storage, so that allocating again with no more
  // elements takes no new memory (arrays allocated and released every
  // model step).
  void deallocate_keep_storage() {
    if (!allocated_) {
      throw std::logic_error(std::string("array ") + name_ + " is not allocated");
    }
    data_.clear();
    allocated_ = false;
    lb_.fill(1);
    ext_.fill(0);
  }

  // Moves the bounds of dimension dim (1-based) to start at `lower`, keeping
  // the extent and the storage: element (.., lower + k, ..) is the one that
  // (.., old lower + k, ..) was.  For a window that slides along a series.
  void rebase(int dim, int32_t lower) {
    lb_[dim - 1] = lower;
    compute_offset();
  }

  bool allocated() const { return allocated_; }
  const char* name() const { return name_; }

  // Number of elements along dimension dim (1-based), or in total.
  int32_t size(int dim) const { return ext_[dim - 1]; }
  int64_t size() const { return static_cast<int64_t>(data_.size()); }
  int32_t lbound(int dim) const { return lb_[dim - 1]; }
  int32_t ubound(int dim) const { return lb_[dim - 1] + ext_[dim - 1] - 1; }

  template <typename... I>
    requires(sizeof...(I) == Rank)
  T& operator()(I... idx) {
    return data_[index(static_cast<int32_t>(idx)...)];
  }
  template <typename... I>
    requires(sizeof...(I) == Rank)
  const T& operator()(I... idx) const {
    return data_[index(static_cast<int32_t>(idx)...)];
  }

  // Address of one element: the start of a column for contiguous work on it.
  template <typename... I>
  T* ptr(I... idx) {
    return &(*this)(idx...);
  }
  template <typename... I>
  const T* ptr(I... idx) const {
    return &(*this)(idx...);
  }

  // The elements in storage order.
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }

  void fill(const T& v) {
    for (auto& x : data_) x = v;
  }

 private:
  void compute_offset() {
    offset_ = 0;
    for (int d = 0; d < Rank; ++d) offset_ += int64_t{lb_[d]} * stride_[d];
  }

  template <typename... I>
  std::size_t index(I... idx) const {
    const std::array<int32_t, Rank> i{idx...};
#ifdef ORVEL_BOUNDS_CHECK
    check(i);
#endif
    int64_t k = -offset_;
    for (int d = 0; d < Rank; ++d) k += int64_t{i[d]} * stride_[d];
    return static_cast<std::size_t>(k);
  }

  [[maybe_unused]] void check(const std::array<int32_t, Rank>& i) const {
    if (!allocated_) {
      throw std::out_of_range(std::string("array ") + name_ + " is used while not allocated");
    }
    for (int d = 0; d < Rank; ++d) {
      if (i[d] < lb_[d] || i[d] > lb_[d] + ext_[d] - 1) {
        throw std::out_of_range(std::string("array ") + name_ + ": index " + std::to_string(i[d]) +
                                " of dimension " + std::to_string(d + 1) + " is outside " +
                                std::to_string(lb_[d]) + ":" + std::to_string(lb_[d] + ext_[d] - 1));
      }
    }
  }

  farray_detail::storage<T> data_;
  std::array<int32_t, Rank> lb_{};
  std::array<int32_t, Rank> ext_{};
  std::array<int64_t, Rank> stride_{};
  int64_t offset_ = 0;
  bool allocated_ = false;
  const char* name_ = "";
};

// Allocates `a` with the given extents unless it already has exactly them
// (an array allocated earlier with the run's sizes keeps its values).
template <typename T, int R, typename... E>
  requires(sizeof...(E) == R && (std::is_integral_v<E> && ...))
void ensure(farray<T, R>& a, E... extents) {
  if (a.allocated()) {
    const int32_t want[] = {static_cast<int32_t>(extents)...};
    bool same = true;
    for (int d = 0; d < R; ++d) same = same && a.lbound(d + 1) == 1 && a.size(d + 1) == (want[d] > 0 ? want[d] : 0);
    if (same) return;
    a.deallocate();
  }
  a.allocate(extents...);
}

}  // namespace orvel
