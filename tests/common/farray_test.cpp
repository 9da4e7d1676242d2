#include "common/farray.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace orvel {
namespace {

TEST(Farray, NotAllocatedDiffersFromEmpty) {
  farray<double> a("a");
  EXPECT_FALSE(a.allocated());
  a.allocate(0);
  EXPECT_TRUE(a.allocated());
  EXPECT_EQ(a.size(1), 0);
  a.deallocate();
  a.allocate(-3);
  EXPECT_TRUE(a.allocated());
  EXPECT_EQ(a.size(), 0);
}

TEST(Farray, FirstIndexFastestFromOne) {
  farray<int32_t, 2> a("a");
  a.allocate(3, 2);
  int32_t v = 0;
  for (int32_t j = 1; j <= 2; ++j)
    for (int32_t i = 1; i <= 3; ++i) a(i, j) = ++v;
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(a.data()[k], k + 1);
  EXPECT_EQ(a.ptr(1, 2), a.data() + 3);
  EXPECT_EQ(a.size(1), 3);
  EXPECT_EQ(a.size(2), 2);
}

TEST(Farray, OtherLowerBounds) {
  farray<float, 2> a("a");
  a.allocate(bounds{0, 2}, bounds{-1, 1});
  EXPECT_EQ(a.lbound(1), 0);
  EXPECT_EQ(a.ubound(2), 1);
  a(0, -1) = 1.0f;
  a(2, 1) = 9.0f;
  EXPECT_EQ(a.data()[0], 1.0f);
  EXPECT_EQ(a.data()[8], 9.0f);
}

TEST(Farray, ZeroedAtAllocation) {
  farray<double> a("a");
  a.allocate(4);
  for (double x : a) EXPECT_EQ(x, 0.0);
}

// Fresh storage (large arrays take zero pages from the system) and storage
// kept from an earlier allocation both read zero after allocate; only
// allocate_for_overwrite leaves kept storage as it was.
TEST(Farray, ZeroedAgainOnKeptStorage) {
  for (const int32_t n : {5, 3000000}) {
    farray<double> a("a");
    a.allocate(n);
    for (int32_t i = 1; i <= n; i += 997) ASSERT_EQ(a(i), 0.0);
    a.fill(7.5);
    a.deallocate_keep_storage();
    a.allocate(n - 1);
    for (int32_t i = 1; i <= n - 1; ++i) ASSERT_EQ(a(i), 0.0);
    a.fill(2.5);
    a.deallocate_keep_storage();
    a.allocate_for_overwrite(n);
    EXPECT_EQ(a.size(), n);
    EXPECT_EQ(a(1), 2.5);
    a.deallocate_keep_storage();
    farray<int32_t, 2> b("b");
    b.allocate(n, 2);
    EXPECT_EQ(b(n, 2), 0);
  }
  farray<std::string> t("t");
  t.allocate(3);
  t(2) = "x";
  t.deallocate_keep_storage();
  t.allocate(3);
  EXPECT_EQ(t(2), "");
}

#ifdef ORVEL_BOUNDS_CHECK
// Large arrays start on a 2 MiB boundary (huge pages), are zeroed like the
// others, and go back to the allocator whole: allocated and released many
// times over, written to the last element, they neither leak nor corrupt
// the heap (the sanitizer build checks).
TEST(Farray, LargeArraysAlignedZeroedAndReleased) {
  const auto mib2 = std::uintptr_t{2} << 20;
  for (const int32_t n : {1 << 19, (1 << 19) + 7, 3 << 20}) {
    for (int round = 0; round < 20; ++round) {
      farray<double, 2> a("a");
      a.allocate(n, 2);
      if (static_cast<std::size_t>(n) * 2 * sizeof(double) >= farray_detail::huge_array) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.data()) % mib2, 0u) << n;
      }
      ASSERT_EQ(a(1, 1), 0.0);
      ASSERT_EQ(a(n, 2), 0.0);
      ASSERT_EQ(a(n / 2, 2), 0.0);
      a(1, 1) = 1.0;
      a(n, 2) = 2.0;
      a.deallocate();
      a.allocate(n, 2);
      ASSERT_EQ(a(1, 1), 0.0);
      ASSERT_EQ(a(n, 2), 0.0);
    }
  }
  // A size beyond the address space is refused, not wrapped round.
  EXPECT_EQ(farray_detail::calloc_array(SIZE_MAX / 4, 8), nullptr);
}

TEST(Farray, BoundsCheckNamesTheArray) {
  farray<double, 2> x_part("x_part");
  EXPECT_THROW(x_part(1, 1), std::out_of_range);  // not allocated
  x_part.allocate(2, 3);
  EXPECT_NO_THROW(x_part(2, 3));
  for (auto [i, j] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 4}}) {
    try {
      x_part(i, j);
      FAIL() << i << "," << j;
    } catch (const std::out_of_range& e) {
      EXPECT_NE(std::string(e.what()).find("x_part"), std::string::npos);
    }
  }
}
#endif

// An array of exactly 4 MiB is the smallest that is aligned: it starts on
// a 2 MiB boundary and goes back whole (released as a plain array, or one
// below the size released as aligned, the heap breaks); a little smaller
// stays plain.
TEST(Farray, AnArrayOfExactlyTheAlignedSize) {
  const auto mib2 = std::uintptr_t{2} << 20;
  const auto exact = static_cast<int32_t>(farray_detail::huge_array / sizeof(double));
  for (int round = 0; round < 50; ++round) {
    farray<double, 1> a("a");
    a.allocate(exact);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.data()) % mib2, 0u);
#endif
    a(1) = 1.0;
    a(exact) = 2.0;
    farray<double, 1> b("b");
    b.allocate(exact - 1);
    b(exact - 1) = 3.0;
    a.deallocate();
    b.deallocate();
  }
}

#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
// Arrays of exactly the aligned size, and one byte more, go back whole: a
// hundred of them made and released leave the heap (mapped blocks
// included) no larger than one of them.  Released as plain arrays, the
// block behind each aligned one would stay taken, 400 MiB in all.
TEST(Farray, ArraysOfTheAlignedSizeGoBackWhole) {
  auto taken = [] {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
  };
  for (const std::size_t bytes : {farray_detail::huge_array, farray_detail::huge_array + 1}) {
    const std::size_t before = taken();
    for (int round = 0; round < 100; ++round) {
      farray<char, 1> a("a");
      a.allocate(static_cast<int32_t>(bytes));
      a(1) = 'x';
      a.deallocate();
    }
    EXPECT_LT(taken(), before + farray_detail::huge_array) << bytes << " bytes";
  }
}
#endif

// An aligned array keeps the address of its block in the 8 bytes before it:// An aligned array keeps the address of its block in the 8 bytes before it:
// wherever calloc puts the block (on a boundary itself, or just below one),
// the array starts at least 8 bytes into it, on a boundary, and ends within
// the block's extra bytes.
TEST(Farray, AlignedArraysKeepRoomForTheirBlocksAddress) {
  const std::uintptr_t mib2 = farray_detail::huge_page;
  for (const std::uintptr_t block : {std::uintptr_t{64} * mib2, 64 * mib2 - 8, 64 * mib2 - 16, 64 * mib2 + 8,
                                     64 * mib2 + 16, 64 * mib2 + 4096, 65 * mib2 - 1}) {
    const std::uintptr_t first = farray_detail::aligned_start(block);
    EXPECT_EQ(first % mib2, 0u) << block;
    EXPECT_GE(first, block + sizeof(void*)) << block;
    EXPECT_LE(first + farray_detail::huge_array, block + farray_detail::huge_array + farray_detail::huge_slack)
        << block;
  }
}

TEST(Farray, AllocateTwiceIsAnError) {
  farray<double> a("a");
  a.allocate(2);
  EXPECT_THROW(a.allocate(2), std::logic_error);
  a.deallocate();
  EXPECT_THROW(a.deallocate(), std::logic_error);
}

}  // namespace
}  // namespace orvel
