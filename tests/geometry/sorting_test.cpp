#include "geometry/sorting.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;

struct request {
  int32_t indx, i, j;
  bool operator==(const request&) const = default;
};

// Drives sort_heap_external over `items` (1-based positions), recording
// every request, and sorts the items as asked.
std::vector<request> drive(std::vector<int32_t>& items) {
  std::vector<request> log;
  const int32_t n = static_cast<int32_t>(items.size());
  int32_t indx = 0, i = 0, j = 0, isgn = 0;
  for (;;) {
    sort_heap_external(n, indx, i, j, isgn);
    log.push_back({indx, i, j});
    if (indx > 0) {
      std::swap(items[i - 1], items[j - 1]);
    } else if (indx < 0) {
      isgn = items[i - 1] < items[j - 1] ? -1 : (items[i - 1] > items[j - 1] ? 1 : 0);
    } else {
      return log;
    }
  }
}

std::vector<int32_t> random_ints(int32_t n, int32_t lo, int32_t hi, int32_t& seed) {
  std::vector<int32_t> v(n);
  for (auto& x : v) x = i4_uniform(lo, hi, seed);
  return v;
}

TEST(GeometrySorting, ExternalSortRequests) {
  std::vector<int32_t> items = {3, 1, 2};
  const std::vector<request> three = {{-2, 2, 3}, {-1, 3, 1}, {1, 3, 1}, {-1, 2, 1}, {1, 2, 1}, {0, 0, 0}};
  EXPECT_EQ(drive(items), three);
  EXPECT_EQ(items, (std::vector<int32_t>{1, 2, 3}));

  std::vector<int32_t> two = {5, 4};
  EXPECT_EQ(drive(two).front(), (request{-1, 2, 1}));
  EXPECT_EQ(two, (std::vector<int32_t>{4, 5}));

  // Fewer than two items: finished at once, with no request.
  for (int32_t n : {1, 0, -3}) {
    int32_t indx = 0, i = 5, j = 6;
    sort_heap_external(n, indx, i, j, 0);
    EXPECT_EQ(indx, 0);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(j, 0);
  }
  // A start abandons the sort in progress: a new sort runs from scratch.
  int32_t indx = 0, i = 0, j = 0;
  sort_heap_external(9, indx, i, j, 0);
  sort_heap_external(9, indx, i, j, -1);
  items = {3, 1, 2};
  EXPECT_EQ(drive(items), three);
}

TEST(GeometrySorting, ExternalSortOrdersAnyData) {
  int32_t seed = 123456789;
  for (int32_t n : {2, 3, 4, 5, 8, 17, 64, 101}) {
    std::vector<std::vector<int32_t>> cases = {random_ints(n, -5, 5, seed), random_ints(n, -1000, 1000, seed)};
    std::vector<int32_t> up(n), down(n);
    for (int32_t k = 0; k < n; ++k) up[k] = k, down[k] = n - k;
    cases.push_back(up);
    cases.push_back(down);
    for (auto items : cases) {
      auto want = items;
      std::sort(want.begin(), want.end());
      drive(items);
      EXPECT_EQ(items, want) << n;
    }
    // All equal: the only exchanges are the N - 1 root-to-end ones.
    std::vector<int32_t> same(n, 7);
    const auto log = drive(same);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const request& r) { return r.indx > 1; }), 0);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const request& r) { return r.indx == 1; }), n - 1);
  }
}

// The driver gives sort_heap_external's requests, in order, to the
// comparison and the exchange: the same requests as the hand-driven loop,
// and sorted data.  Fewer than two items call neither.
TEST(GeometrySorting, ExternalSortDriver) {
  int32_t seed = 2718;
  for (int32_t n : {2, 3, 7, 40}) {
    auto items = random_ints(n, -9, 9, seed);
    auto by_hand = items;
    const auto want_log = drive(by_hand);
    std::vector<request> log;
    run_external_sort(
        n,
        [&](int32_t i, int32_t j) {
          log.push_back({-1, i, j});
          return items[i - 1] < items[j - 1] ? -1 : (items[i - 1] > items[j - 1] ? 1 : 0);
        },
        [&](int32_t i, int32_t j) {
          log.push_back({1, i, j});
          std::swap(items[i - 1], items[j - 1]);
        });
    log.push_back({0, 0, 0});
    EXPECT_EQ(items, by_hand) << n;
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end())) << n;
    ASSERT_EQ(log.size(), want_log.size()) << n;
    for (std::size_t k = 0; k < log.size(); ++k) {
      EXPECT_EQ(log[k].indx, want_log[k].indx < 0 ? -1 : want_log[k].indx > 0 ? 1 : 0) << n << " " << k;
      EXPECT_EQ(log[k].i, want_log[k].i) << n << " " << k;
      EXPECT_EQ(log[k].j, want_log[k].j) << n << " " << k;
    }
  }
  int calls = 0;
  for (int32_t n : {1, 0, -2})
    run_external_sort(
        n, [&](int32_t, int32_t) { return ++calls, 0; }, [&](int32_t, int32_t) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(GeometrySorting, IntegerVectorHeapAndSort) {
  int32_t seed = 2024;
  for (int32_t n : {0, 1, 2, 3, 10, 33, 200}) {
    for (int32_t hi : {3, 100000}) {
      std::vector<int32_t> a = random_ints(n, -hi, hi, seed);
      auto heap = a;
      i4vec_heap_d(n, heap.data());
      for (int32_t i = 1; 2 * i <= n; ++i) {
        EXPECT_GE(heap[i - 1], heap[2 * i - 1]);
        if (2 * i + 1 <= n) {
          EXPECT_GE(heap[i - 1], heap[2 * i]);
        }
      }
      auto want = a;
      std::sort(want.begin(), want.end());
      if (n > 0) {
        EXPECT_EQ(heap[0], want.back());
      }
      i4vec_sort_heap_a(n, a.data());
      EXPECT_EQ(a, want);
    }
  }
}

TEST(GeometrySorting, PairsSortAndUnique) {
  int32_t a1[3] = {2, 1, 1}, a2[3] = {1, 5, 2};
  i4vec2_sort_a(3, a1, a2);
  EXPECT_EQ((std::vector<int32_t>{a1, a1 + 3}), (std::vector<int32_t>{1, 1, 2}));
  EXPECT_EQ((std::vector<int32_t>{a2, a2 + 3}), (std::vector<int32_t>{2, 5, 1}));
  // One or no item: untouched.
  int32_t b1[2] = {9, 3}, b2[2] = {8, 1};
  i4vec2_sort_a(1, b1, b2);
  i4vec2_sort_a(0, b1, b2);
  EXPECT_EQ(b1[0], 9);
  EXPECT_EQ(b1[1], 3);

  int32_t seed = 77;
  for (int32_t n : {0, 1, 2, 9, 60}) {
    auto x = random_ints(n, 0, 3, seed), y = random_ints(n, 0, 3, seed);
    std::vector<std::pair<int32_t, int32_t>> want;
    for (int32_t k = 0; k < n; ++k) want.emplace_back(x[k], y[k]);
    std::sort(want.begin(), want.end());
    i4vec2_sort_a(n, x.data(), y.data());
    for (int32_t k = 0; k < n; ++k) EXPECT_EQ(std::make_pair(x[k], y[k]), want[k]);
    want.erase(std::unique(want.begin(), want.end()), want.end());
    int32_t unique_num = -1;
    i4vec2_sorted_unique(n, x.data(), y.data(), unique_num);
    ASSERT_EQ(unique_num, static_cast<int32_t>(want.size()));
    for (int32_t k = 0; k < unique_num; ++k) EXPECT_EQ(std::make_pair(x[k], y[k]), want[k]);
  }
}

TEST(GeometrySorting, UniqueValues) {
  int32_t a[6] = {1, 1, 2, 2, 2, 3};
  int32_t unique_num = -1;
  i4vec_sorted_unique(6, a, unique_num);
  EXPECT_EQ(unique_num, 3);
  EXPECT_EQ((std::vector<int32_t>{a, a + 6}), (std::vector<int32_t>{1, 2, 3, 2, 2, 3}));  // the rest keep theirs
  i4vec_sorted_unique(0, a, unique_num);
  EXPECT_EQ(unique_num, 0);

  int32_t seed = 5;
  for (int32_t n : {1, 2, 13, 80}) {
    auto v = random_ints(n, -4, 4, seed);
    std::sort(v.begin(), v.end());
    auto want = v;
    want.erase(std::unique(want.begin(), want.end()), want.end());
    i4vec_sorted_unique(n, v.data(), unique_num);
    ASSERT_EQ(unique_num, static_cast<int32_t>(want.size()));
    EXPECT_TRUE(std::equal(want.begin(), want.end(), v.begin()));
  }
}

// Columns (or rows) of random small matrices: sorted, the same multiset,
// and counted as std::unique counts them.
TEST(GeometrySorting, ColumnsAndRows) {
  int32_t seed = 31415;
  for (const auto& [m, n] : std::vector<std::pair<int32_t, int32_t>>{{1, 5}, {2, 2}, {3, 17}, {4, 40}, {2, 1}}) {
    std::vector<int32_t> a = random_ints(m * n, 0, 2, seed);
    const auto column = [&](const std::vector<int32_t>& x, int32_t j) {
      return std::vector<int32_t>(x.begin() + j * m, x.begin() + (j + 1) * m);
    };
    const auto row = [&](const std::vector<int32_t>& x, int32_t i) {
      std::vector<int32_t> r(n);
      for (int32_t j = 0; j < n; ++j) r[j] = x[j * m + i];
      return r;
    };
    std::vector<std::vector<int32_t>> cols, rows;
    for (int32_t j = 0; j < n; ++j) cols.push_back(column(a, j));
    for (int32_t i = 0; i < m; ++i) rows.push_back(row(a, i));
    std::sort(cols.begin(), cols.end());
    std::sort(rows.begin(), rows.end());

    auto c = a;
    i4col_sort_a(m, n, c.data());
    for (int32_t j = 0; j < n; ++j) EXPECT_EQ(column(c, j), cols[j]) << m << " " << n;
    auto r = a;
    i4row_sort_a(m, n, r.data());
    for (int32_t i = 0; i < m; ++i) EXPECT_EQ(row(r, i), rows[i]) << m << " " << n;

    int32_t unique_num = -1;
    i4col_sorted_unique_count(m, n, c.data(), unique_num);
    EXPECT_EQ(unique_num, std::unique(cols.begin(), cols.end()) - cols.begin());
    i4row_sorted_unique_count(m, n, r.data(), unique_num);
    EXPECT_EQ(unique_num, std::unique(rows.begin(), rows.end()) - rows.begin());
  }
  // Hand cases and the early returns.
  int32_t pairs[6] = {1, 2, 1, 2, 1, 3};
  int32_t unique_num = -1;
  i4col_sorted_unique_count(2, 3, pairs, unique_num);
  EXPECT_EQ(unique_num, 2);
  i4row_sorted_unique_count(0, 3, pairs, unique_num);
  EXPECT_EQ(unique_num, 0);
  i4col_sorted_unique_count(0, 3, pairs, unique_num);
  EXPECT_EQ(unique_num, 1);  // no rows: every column equal
  i4col_sorted_unique_count(2, 0, pairs, unique_num);
  EXPECT_EQ(unique_num, 0);
  int32_t untouched[4] = {4, 3, 2, 1};
  i4col_sort_a(4, 1, untouched);
  i4col_sort_a(0, 4, untouched);
  i4row_sort_a(1, 4, untouched);
  EXPECT_EQ((std::vector<int32_t>{untouched, untouched + 4}), (std::vector<int32_t>{4, 3, 2, 1}));
  int32_t isgn = 5;
  i4col_compare(0, 3, pairs, 2, 2, isgn);
  EXPECT_EQ(isgn, 0);
  i4col_swap(2, 3, pairs, 2, 2);
  i4col_swap(0, 3, pairs, 1, 3);
  EXPECT_EQ((std::vector<int32_t>{pairs, pairs + 6}), (std::vector<int32_t>{1, 2, 1, 2, 1, 3}));
}

TEST(GeometrySorting, ColumnSearches) {
  const int32_t col[3] = {4, 7, 9};
  int32_t row = 0, c = 0;
  i4col_find_pair_wrap(3, 1, col, 9, 4, row, c);
  EXPECT_EQ(std::make_pair(row, c), std::make_pair(3, 1));
  i4col_find_pair_wrap(3, 1, col, 4, 9, row, c);
  EXPECT_EQ(std::make_pair(row, c), std::make_pair(-1, -1));

  // Against a brute-force scan, column by column, row by row.
  int32_t seed = 99;
  const int32_t m = 4, n = 9;
  const auto a = random_ints(m * n, 1, 6, seed);
  for (int32_t item1 = 0; item1 <= 7; ++item1) {
    std::pair<int32_t, int32_t> want{-1, -1};
    for (int32_t j = n - 1; j >= 0; --j)
      for (int32_t i = m - 1; i >= 0; --i)
        if (a[j * m + i] == item1) want = {i + 1, j + 1};
    i4col_find_item(m, n, a.data(), item1, row, c);
    EXPECT_EQ(std::make_pair(row, c), want);
    for (int32_t item2 = 0; item2 <= 7; ++item2) {
      want = {-1, -1};
      for (int32_t j = n - 1; j >= 0; --j)
        for (int32_t i = m - 1; i >= 0; --i)
          if (a[j * m + i] == item1 && a[j * m + (i + 1) % m] == item2) want = {i + 1, j + 1};
      i4col_find_pair_wrap(m, n, a.data(), item1, item2, row, c);
      EXPECT_EQ(std::make_pair(row, c), want) << item1 << " " << item2;
    }
  }
}

TEST(GeometrySorting, RealPairIndexSortAndPermute) {
  const double hand[6] = {1, 2, 0, 5, 1, 1};
  int32_t indx[3] = {0, 0, 0};
  r82vec_sort_heap_index_a(3, hand, indx);
  EXPECT_EQ((std::vector<int32_t>{indx, indx + 3}), (std::vector<int32_t>{2, 3, 1}));
  int32_t kept[2] = {-4, -5};
  r82vec_sort_heap_index_a(0, hand, kept);
  EXPECT_EQ(kept[0], -4);
  r82vec_sort_heap_index_a(1, hand, kept);
  EXPECT_EQ(kept[0], 1);

  double abc[6] = {1, 10, 2, 20, 3, 30};
  int32_t p[3] = {2, 3, 1};
  r82vec_permute(3, abc, p);
  EXPECT_EQ((std::vector<double>{abc, abc + 6}), (std::vector<double>{2, 20, 3, 30, 1, 10}));
  EXPECT_EQ((std::vector<int32_t>{p, p + 3}), (std::vector<int32_t>{2, 3, 1}));

  // Index sort, then permuting by the index: sorted pairs, index unchanged.
  int32_t seed = 4242;
  for (int32_t n : {2, 3, 8, 31, 100}) {
    std::vector<double> a(2 * n);
    for (auto& x : a) x = static_cast<double>(i4_uniform(0, 4, seed)) / 2.0;
    std::vector<std::pair<double, double>> want;
    for (int32_t k = 0; k < n; ++k) want.emplace_back(a[2 * k], a[2 * k + 1]);
    std::sort(want.begin(), want.end());
    std::vector<int32_t> ix(n, 0);
    r82vec_sort_heap_index_a(n, a.data(), ix.data());
    auto sorted_ix = ix;
    std::sort(sorted_ix.begin(), sorted_ix.end());
    for (int32_t k = 0; k < n; ++k) ASSERT_EQ(sorted_ix[k], k + 1);  // a permutation
    const auto before = ix;
    r82vec_permute(n, a.data(), ix.data());
    EXPECT_EQ(ix, before);
    for (int32_t k = 0; k < n; ++k) EXPECT_EQ(std::make_pair(a[2 * k], a[2 * k + 1]), want[k]) << n;
  }
}

// The ten bounds failures of the comparisons and exchanges, and the one of
// the permutation; inside a sort the checks stay in force.
TEST(GeometrySorting, BoundsFailures) {
  int32_t a[6] = {1, 2, 3, 4, 5, 6};  // 2 by 3
  int32_t isgn = 0;
  expect_fatal([&] { i4col_compare(2, 3, a, 0, 1, isgn); },
               {" ", "I4COL_COMPARE - Fatal error!", "  Column index I is out of bounds."});
  expect_fatal([&] { i4col_compare(2, 3, a, 4, 9, isgn); },
               {" ", "I4COL_COMPARE - Fatal error!", "  Column index I is out of bounds."});
  expect_fatal([&] { i4col_compare(2, 3, a, 1, 4, isgn); },
               {" ", "I4COL_COMPARE - Fatal error!", "  Column index J is out of bounds."});
  expect_fatal([&] { i4col_swap(2, 3, a, 0, 2); }, {" ", "I4COL_SWAP - Fatal error!", "  I or J is out of bounds.",
                                                    "  I =           0", "  J =           2", "  N =           3"});
  expect_fatal([&] { i4col_swap(2, 3, a, 1, 4); }, {" ", "I4COL_SWAP - Fatal error!", "  I or J is out of bounds.",
                                                    "  I =           1", "  J =           4", "  N =           3"});
  expect_fatal([&] { i4row_compare(2, 3, a, 0, 1, isgn); },
               {" ", "I4ROW_COMPARE - Fatal error!", "  Row index I is less than 1.", "  I =        0"});
  expect_fatal([&] { i4row_compare(2, 3, a, 3, 1, isgn); },
               {" ", "I4ROW_COMPARE - Fatal error!", "  Row index I is out of bounds.", "  I =        3",
                "  Maximum legal value is M =        2"});
  expect_fatal([&] { i4row_compare(2, 3, a, 1, -7, isgn); },
               {" ", "I4ROW_COMPARE - Fatal error!", "  Row index J is less than 1.", "  J =       -7"});
  expect_fatal([&] { i4row_compare(2, 3, a, 2, 3, isgn); },
               {" ", "I4ROW_COMPARE - Fatal error!", "  Row index J is out of bounds.", "  J =        3",
                "  Maximum legal value is M =        2"});
  expect_fatal([&] { i4row_swap(2, 3, a, 3, 1); }, {" ", "I4ROW_SWAP - Fatal error!", "  IROW1 is out of range."});
  expect_fatal([&] { i4row_swap(2, 3, a, 1, 0); }, {" ", "I4ROW_SWAP - Fatal error!", "  IROW2 is out of range."});
  EXPECT_EQ((std::vector<int32_t>{a, a + 6}), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));

  // A permutation holding 0, or a repeated entry, is refused.
  double pairs[6] = {1, 2, 3, 4, 5, 6};
  int32_t zero[3] = {2, 0, 1};
  expect_fatal([&] { r82vec_permute(3, pairs, zero); }, {" ", "R82VEC_PERMUTE - Fatal error!"});
  int32_t repeated[3] = {2, 3, 2};
  expect_fatal([&] { r82vec_permute(3, pairs, repeated); }, {" ", "R82VEC_PERMUTE - Fatal error!"});
}

}  // namespace
}  // namespace orvel::geometry
