#include "geometry/sorting.hpp"

#include <utility>

#include "common/format.hpp"
#include "geometry/integers.hpp"

namespace orvel::geometry {
namespace {

// The saved state of sort_heap_external: the child and parent in hand, the
// next heap position to sift from, the position being sifted and the size
// of the heap.
struct external_sort_state {
  int32_t i_save = 0;
  int32_t j_save = 0;
  int32_t k = 0;
  int32_t k1 = 0;
  int32_t n1 = 0;
};
external_sort_state sort_state;

}  // namespace

void sort_heap_external(int32_t n, int32_t& indx, int32_t& i, int32_t& j, int32_t isgn) {
  auto& s = sort_state;
  bool sift = true;
  if (indx == 0) {
    if (n < 2) {
      // Nothing to order: finished at once, the state as after any sort.
      s = external_sort_state{0, 0, 0, 0, 1};
      indx = i = j = 0;
      return;
    }
    s.k = n / 2;
    s.k1 = s.k;
    s.n1 = n;
  } else if (indx == -2) {
    // The two children I_SAVE and I_SAVE + 1 were compared: go on with the
    // larger one against its parent.
    if (isgn < 0) ++s.i_save;
    s.j_save = s.k1;
    s.k1 = s.i_save;
    indx = -1;
    i = s.i_save;
    j = s.j_save;
    return;
  } else if (indx < 0) {
    // A child was compared with its parent.
    if (isgn > 0) {
      indx = 2;
      i = s.i_save;
      j = s.j_save;
      return;
    }
    if (s.k <= 1) {
      sift = false;
    } else {
      --s.k;
      s.k1 = s.k;
    }
  } else if (indx == 1) {
    // The root went to the end of the heap: sift the new root.
    s.k1 = s.k;
  }
  // indx > 1: a parent and child were exchanged; the sift goes on from the
  // child's place, K1.
  while (sift) {
    const int64_t child = 2 * static_cast<int64_t>(s.k1);
    if (child == s.n1) {
      s.i_save = s.n1;
      s.j_save = s.k1;
      s.k1 = s.i_save;
      indx = -1;
      i = s.i_save;
      j = s.j_save;
      return;
    }
    if (child < s.n1) {
      s.i_save = static_cast<int32_t>(child);
      s.j_save = s.i_save + 1;
      indx = -2;
      i = s.i_save;
      j = s.j_save;
      return;
    }
    if (s.k <= 1) break;
    --s.k;
    s.k1 = s.k;
  }
  // Extraction: the root goes to the end of the shrinking heap.
  if (s.n1 == 1) {
    s.i_save = 0;
    s.j_save = 0;
    indx = i = j = 0;
    return;
  }
  s.i_save = s.n1;
  --s.n1;
  s.j_save = 1;
  indx = 1;
  i = s.i_save;
  j = s.j_save;
}

void i4vec_heap_d(int32_t n, int32_t* a) {
  const vec_ref A(a, n);
  for (int32_t i = n / 2; i >= 1; --i) {
    const int32_t key = A(i);
    int32_t ifree = i;
    for (;;) {
      int64_t m = 2 * static_cast<int64_t>(ifree);
      if (m > n) break;
      if (m + 1 <= n && A(static_cast<int32_t>(m)) < A(static_cast<int32_t>(m + 1))) ++m;
      const int32_t child = static_cast<int32_t>(m);
      if (key >= A(child)) break;
      A(ifree) = A(child);
      ifree = child;
    }
    A(ifree) = key;
  }
}

void i4vec_sort_heap_a(int32_t n, int32_t* a) {
  if (n < 2) return;
  const vec_ref A(a, n);
  i4vec_heap_d(n, a);
  std::swap(A(1), A(n));
  for (int32_t n1 = n - 1; n1 >= 2; --n1) {
    i4vec_heap_d(n1, a);
    std::swap(A(1), A(n1));
  }
}

void i4vec_sorted_unique(int32_t n, int32_t* a, int32_t& unique_num) {
  if (n <= 0) {
    unique_num = 0;
    return;
  }
  const vec_ref A(a, n);
  unique_num = 1;
  for (int32_t i = 2; i <= n; ++i) {
    if (A(i) != A(unique_num)) {
      ++unique_num;
      A(unique_num) = A(i);
    }
  }
}

void i4vec2_compare(int32_t n, const int32_t* a1, const int32_t* a2, int32_t i, int32_t j, int32_t& isgn) {
  const vec_ref A1(a1, n), A2(a2, n);
  isgn = 0;
  if (A1(i) < A1(j)) {
    isgn = -1;
  } else if (A1(i) == A1(j)) {
    if (A2(i) < A2(j)) {
      isgn = -1;
    } else if (A2(i) > A2(j)) {
      isgn = 1;
    }
  } else {
    isgn = 1;
  }
}

void i4vec2_sort_a(int32_t n, int32_t* a1, int32_t* a2) {
  if (n < 2) return;
  const vec_ref A1(a1, n), A2(a2, n);
  run_external_sort(
      n,
      [&](int32_t i, int32_t j) {
        int32_t isgn = 0;
        i4vec2_compare(n, a1, a2, i, j, isgn);
        return isgn;
      },
      [&](int32_t i, int32_t j) {
        std::swap(A1(i), A1(j));
        std::swap(A2(i), A2(j));
      });
}

void i4vec2_sorted_unique(int32_t n, int32_t* a1, int32_t* a2, int32_t& unique_num) {
  if (n <= 0) {
    unique_num = 0;
    return;
  }
  const vec_ref A1(a1, n), A2(a2, n);
  unique_num = 1;
  for (int32_t i = 2; i <= n; ++i) {
    if (A1(i) != A1(unique_num) || A2(i) != A2(unique_num)) {
      ++unique_num;
      A1(unique_num) = A1(i);
      A2(unique_num) = A2(i);
    }
  }
}

void i4col_compare(int32_t m, int32_t n, const int32_t* a, int32_t i, int32_t j, int32_t& isgn) {
  if (i < 1 || i > n) fatal("I4COL_COMPARE", {"  Column index I is out of bounds."});
  if (j < 1 || j > n) fatal("I4COL_COMPARE", {"  Column index J is out of bounds."});
  isgn = 0;
  if (i == j) return;
  const mat_ref A(a, m, n);
  for (int32_t k = 1; k <= m; ++k) {
    if (A(k, i) < A(k, j)) {
      isgn = -1;
      return;
    }
    if (A(k, i) > A(k, j)) {
      isgn = 1;
      return;
    }
  }
}

void i4col_swap(int32_t m, int32_t n, int32_t* a, int32_t i, int32_t j) {
  if (i < 1 || i > n || j < 1 || j > n) {
    fatal("I4COL_SWAP", {"  I or J is out of bounds.", "  I =    " + fmt_i(i, 8), "  J =    " + fmt_i(j, 8),
                         "  N =    " + fmt_i(n, 8)});
  }
  if (i == j || m < 1) return;
  const mat_ref A(a, m, n);
  for (int32_t k = 1; k <= m; ++k) std::swap(A(k, i), A(k, j));
}

void i4col_sort_a(int32_t m, int32_t n, int32_t* a) {
  if (m < 1 || n < 2) return;
  run_external_sort(
      n,
      [&](int32_t i, int32_t j) {
        int32_t isgn = 0;
        i4col_compare(m, n, a, i, j, isgn);
        return isgn;
      },
      [&](int32_t i, int32_t j) { i4col_swap(m, n, a, i, j); });
}

void i4col_sorted_unique_count(int32_t m, int32_t n, const int32_t* a, int32_t& unique_num) {
  if (n <= 0) {
    unique_num = 0;
    return;
  }
  const mat_ref A(a, m, n);
  unique_num = 1;
  int32_t last = 1;
  for (int32_t j = 2; j <= n; ++j) {
    for (int32_t i = 1; i <= m; ++i) {
      if (A(i, j) != A(i, last)) {
        ++unique_num;
        last = j;
        break;
      }
    }
  }
}

void i4col_find_item(int32_t m, int32_t n, const int32_t* a, int32_t item, int32_t& row, int32_t& col) {
  const mat_ref A(a, m, n);
  for (int32_t j = 1; j <= n; ++j) {
    for (int32_t i = 1; i <= m; ++i) {
      if (A(i, j) == item) {
        row = i;
        col = j;
        return;
      }
    }
  }
  row = -1;
  col = -1;
}

void i4col_find_pair_wrap(int32_t m, int32_t n, const int32_t* a, int32_t item1, int32_t item2, int32_t& row,
                          int32_t& col) {
  const mat_ref A(a, m, n);
  for (int32_t j = 1; j <= n; ++j) {
    for (int32_t i = 1; i <= m; ++i) {
      if (A(i, j) == item1 && A(i == m ? 1 : i + 1, j) == item2) {
        row = i;
        col = j;
        return;
      }
    }
  }
  row = -1;
  col = -1;
}

void i4row_compare(int32_t m, int32_t n, const int32_t* a, int32_t i, int32_t j, int32_t& isgn) {
  if (i < 1) fatal("I4ROW_COMPARE", {"  Row index I is less than 1.", "  I = " + fmt_i(i, 8)});
  if (i > m) {
    fatal("I4ROW_COMPARE",
          {"  Row index I is out of bounds.", "  I = " + fmt_i(i, 8), "  Maximum legal value is M = " + fmt_i(m, 8)});
  }
  if (j < 1) fatal("I4ROW_COMPARE", {"  Row index J is less than 1.", "  J = " + fmt_i(j, 8)});
  if (j > m) {
    fatal("I4ROW_COMPARE",
          {"  Row index J is out of bounds.", "  J = " + fmt_i(j, 8), "  Maximum legal value is M = " + fmt_i(m, 8)});
  }
  isgn = 0;
  if (i == j) return;
  const mat_ref A(a, m, n);
  for (int32_t k = 1; k <= n; ++k) {
    if (A(i, k) < A(j, k)) {
      isgn = -1;
      return;
    }
    if (A(i, k) > A(j, k)) {
      isgn = 1;
      return;
    }
  }
}

void i4row_swap(int32_t m, int32_t n, int32_t* a, int32_t irow1, int32_t irow2) {
  if (irow1 < 1 || irow1 > m) fatal("I4ROW_SWAP", {"  IROW1 is out of range."});
  if (irow2 < 1 || irow2 > m) fatal("I4ROW_SWAP", {"  IROW2 is out of range."});
  if (irow1 == irow2 || n < 1) return;
  const mat_ref A(a, m, n);
  for (int32_t k = 1; k <= n; ++k) std::swap(A(irow1, k), A(irow2, k));
}

void i4row_sort_a(int32_t m, int32_t n, int32_t* a) {
  if (m < 2) return;
  run_external_sort(
      m,
      [&](int32_t i, int32_t j) {
        int32_t isgn = 0;
        i4row_compare(m, n, a, i, j, isgn);
        return isgn;
      },
      [&](int32_t i, int32_t j) { i4row_swap(m, n, a, i, j); });
}

void i4row_sorted_unique_count(int32_t m, int32_t n, const int32_t* a, int32_t& unique_num) {
  if (m <= 0) {
    unique_num = 0;
    return;
  }
  const mat_ref A(a, m, n);
  unique_num = 1;
  int32_t last = 1;
  for (int32_t i = 2; i <= m; ++i) {
    for (int32_t j = 1; j <= n; ++j) {
      if (A(i, j) != A(last, j)) {
        ++unique_num;
        last = i;
        break;
      }
    }
  }
}

void r82vec_sort_heap_index_a(int32_t n, const double* a, int32_t* indx) {
  if (n < 1) return;
  const mat_ref A(a, 2, n);
  const vec_ref INDX(indx, n);
  if (n == 1) {
    INDX(1) = 1;
    return;
  }
  i4vec_indicator(n, indx);
  // Pair p precedes pair q.
  const auto precedes = [&](int32_t p, int32_t q) {
    return A(1, p) < A(1, q) || (A(1, p) == A(1, q) && A(2, p) < A(2, q));
  };
  int32_t l = n / 2 + 1;
  int32_t ir = n;
  for (;;) {
    int32_t indxt = 0;
    if (l > 1) {
      --l;
      indxt = INDX(l);
    } else {
      indxt = INDX(ir);
      INDX(ir) = INDX(1);
      --ir;
      if (ir == 1) {
        INDX(1) = indxt;
        return;
      }
    }
    int32_t i = l;
    int64_t j = 2 * static_cast<int64_t>(l);
    while (j <= ir) {
      int32_t jj = static_cast<int32_t>(j);
      if (jj < ir && precedes(INDX(jj), INDX(jj + 1))) ++jj;
      if (precedes(indxt, INDX(jj))) {
        INDX(i) = INDX(jj);
        i = jj;
        j = 2 * static_cast<int64_t>(jj);
      } else {
        j = static_cast<int64_t>(ir) + 1;
      }
    }
    INDX(i) = indxt;
  }
}

void r82vec_permute(int32_t n, double* a, int32_t* p) {
  if (n < 1) return;
  const mat_ref A(a, 2, n);
  const vec_ref P(p, n);
  for (int32_t istart = 1; istart <= n; ++istart) {
    if (P(istart) < 0) continue;
    if (P(istart) == istart) {
      P(istart) = -P(istart);
      continue;
    }
    const double a1 = A(1, istart), a2 = A(2, istart);
    int32_t iget = istart;
    for (;;) {
      const int32_t iput = iget;
      iget = P(iget);
      P(iput) = wrap_neg(P(iput));
      if (iget < 1 || iget > n) fatal("R82VEC_PERMUTE", {});
      if (iget == istart) {
        A(1, iput) = a1;
        A(2, iput) = a2;
        break;
      }
      A(1, iput) = A(1, iget);
      A(2, iput) = A(2, iget);
    }
  }
  for (int32_t i = 1; i <= n; ++i) P(i) = wrap_neg(P(i));
}

}  // namespace orvel::geometry
