// Heap sorting, searching and counting of distinct items.
//
// sort_heap_external sorts data it never sees: the caller starts it with
// INDX = 0 and then, while INDX comes back nonzero, exchanges items I and J
// (INDX > 0) or compares them (INDX < 0: ISGN negative when item I comes
// first, positive when it comes later, 0 when equal) and calls again with
// INDX as returned.  INDX = 0 on return means the items are in ascending
// order.  Its state (five integers) is shared by the whole program, so only
// one such sort can be in progress; a start abandons any sort in progress.
// Started with N < 2 it ends at once (INDX = I = J = 0).
//
// Comparison codes are -1 (item I first), 0 (equal) or +1 (item I later);
// columns, rows and pairs compare lexicographically.  Integer matrices are
// M by N, column by column.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

void sort_heap_external(int32_t n, int32_t& indx, int32_t& i, int32_t& j, int32_t isgn);

// Drives sort_heap_external over N items to the end with the caller's
// comparison (compare(i, j) gives -1, 0 or +1 for items I, J) and exchange
// (exchange(i, j) swaps items I and J).
template <typename Compare, typename Exchange>
void run_external_sort(int32_t n, Compare compare, Exchange exchange) {
  int32_t indx = 0, i = 0, j = 0, isgn = 0;
  for (;;) {
    sort_heap_external(n, indx, i, j, isgn);
    if (indx > 0) {
      exchange(i, j);
    } else if (indx < 0) {
      isgn = compare(i, j);
    } else {
      return;
    }
  }
}

// Integer vectors and pairs.
void i4vec_heap_d(int32_t n, int32_t* a);
// Ascending; rebuilds the whole heap before every extraction (O(N^2)).
void i4vec_sort_heap_a(int32_t n, int32_t* a);
// A ascending: its distinct values move to A(1..UNIQUE_NUM).
void i4vec_sorted_unique(int32_t n, int32_t* a, int32_t& unique_num);
void i4vec2_compare(int32_t n, const int32_t* a1, const int32_t* a2, int32_t i, int32_t j, int32_t& isgn);
void i4vec2_sort_a(int32_t n, int32_t* a1, int32_t* a2);
void i4vec2_sorted_unique(int32_t n, int32_t* a1, int32_t* a2, int32_t& unique_num);

// Columns and rows of an integer matrix.  The comparisons and exchanges end
// the run on an index outside the matrix.
void i4col_compare(int32_t m, int32_t n, const int32_t* a, int32_t i, int32_t j, int32_t& isgn);
void i4col_swap(int32_t m, int32_t n, int32_t* a, int32_t i, int32_t j);
void i4col_sort_a(int32_t m, int32_t n, int32_t* a);
void i4col_sorted_unique_count(int32_t m, int32_t n, const int32_t* a, int32_t& unique_num);
// The first (ROW, COL), column by column and row by row within a column,
// where ITEM stands; -1, -1 when none.
void i4col_find_item(int32_t m, int32_t n, const int32_t* a, int32_t item, int32_t& row, int32_t& col);
// The first (ROW, COL) where ITEM1 stands with ITEM2 in the next row, the
// last row of a column being followed by its first; -1, -1 when none.
void i4col_find_pair_wrap(int32_t m, int32_t n, const int32_t* a, int32_t item1, int32_t item2, int32_t& row,
                          int32_t& col);
void i4row_compare(int32_t m, int32_t n, const int32_t* a, int32_t i, int32_t j, int32_t& isgn);
void i4row_swap(int32_t m, int32_t n, int32_t* a, int32_t irow1, int32_t irow2);
void i4row_sort_a(int32_t m, int32_t n, int32_t* a);
void i4row_sorted_unique_count(int32_t m, int32_t n, const int32_t* a, int32_t& unique_num);

// Real pair lists A(2, N).  The index sort leaves A alone and gives INDX
// with A(:, INDX(1)), A(:, INDX(2)), ... ascending; the permutation makes
// pair i of the result pair P(i) of the input and gives P back unchanged.
void r82vec_sort_heap_index_a(int32_t n, const double* a, int32_t* indx);
void r82vec_permute(int32_t n, double* a, int32_t* p);

}  // namespace orvel::geometry
