#include "geometry/polylines.hpp"

#include <vector>

#include "geometry/integers.hpp"
#include "geometry/reals.hpp"

namespace orvel::geometry {
namespace {

// The columns of a point list of dim_num coordinates by n points, as
// pointers.  Unlike mat_ref::col this also serves dim_num < 1, where every
// column is empty and no coordinate is ever read.
template <typename T>
class columns {
 public:
  columns(T* p, int32_t dim_num, int32_t n) : p_(p), dim_(dim_num > 0 ? dim_num : 0), n_(n) {}
  T* operator()(int32_t j) const {
#ifdef ORVEL_BOUNDS_CHECK
    if (j < 1 || j > n_) index_fault(j, 1, n_);
#endif
    return p_ + static_cast<int64_t>(j - 1) * dim_;
  }

 private:
  T* p_;
  int32_t dim_;
  int32_t n_;
};

// The point at arclength t on the segment from p0 (at arclength s0) to p1
// (at s1), extrapolated along its line outside [s0, s1].  A segment of length
// 0 gives its first point.
void interpolate(int32_t dim_num, const double* p0, const double* p1, double s0, double s1, double t, double* pt) {
  const vec_ref P0(p0, dim_num), P1(p1, dim_num);
  const vec_ref PT(pt, dim_num);
  if (s1 == s0) {
    for (int32_t k = 1; k <= dim_num; ++k) PT(k) = P0(k);
    return;
  }
  for (int32_t k = 1; k <= dim_num; ++k) PT(k) = ((s1 - t) * P0(k) + (t - s0) * P1(k)) / (s1 - s0);
}

// PT(j) = P(1) for j = 1 .. nt.
void repeat_first(int32_t dim_num, const columns<const double>& P, int32_t nt, const columns<double>& PT) {
  for (int32_t j = 1; j <= nt; ++j) interpolate(dim_num, P(1), P(1), 0.0, 0.0, 0.0, PT(j));
}

// Parameter of point j of nt equally spaced over [0, total].
inline double spaced(int32_t j, int32_t nt, double total) {
  return (static_cast<double>(j - 1) * total) / static_cast<double>(nt - 1);
}

}  // namespace

void polyline_arclength_nd(int32_t dim_num, int32_t n, const double* p, double* s) {
  const columns P(p, dim_num, n);
  const vec_ref S(s, n);
  if (n < 1) return;
  S(1) = 0.0;
  for (int32_t i = 2; i <= n; ++i) S(i) = S(i - 1) + r8vec_distance(dim_num, P(i), P(i - 1));
}

void polyline_length_nd(int32_t dim_num, int32_t n, const double* p, double& length) {
  const columns P(p, dim_num, n);
  length = 0.0;
  for (int32_t i = 2; i <= n; ++i) length += r8vec_distance(dim_num, P(i), P(i - 1));
}

void polyline_index_point_nd(int32_t dim_num, int32_t n, const double* p, double t, double* pt) {
  if (n < 1)
    fatal("POLYLINE_INDEX_POINT_ND", {"  The input quantity N is nonpositive.", "  N = " + fmt_i(n, 8)});
  const columns P(p, dim_num, n);
  if (n == 1) {
    interpolate(dim_num, P(1), P(1), 0.0, 0.0, t, pt);
    return;
  }
  // The first segment that reaches T, or the last one.
  double s0 = 0.0;
  for (int32_t i = 1; i <= n - 1; ++i) {
    const double s1 = s0 + r8vec_distance(dim_num, P(i + 1), P(i));
    if (t <= s1 || i == n - 1) {
      interpolate(dim_num, P(i), P(i + 1), s0, s1, t, pt);
      return;
    }
    s0 = s1;
  }
}

void polyline_points_nd(int32_t dim_num, int32_t n, const double* p, int32_t nt, double* pt) {
  const columns P(p, dim_num, n);
  const columns PT(pt, dim_num, nt);
  if (n < 1 || nt < 1) return;
  if (n == 1 || nt == 1) {
    repeat_first(dim_num, P, n == 1 ? nt : 1, PT);
    return;
  }
  std::vector<double> s(static_cast<std::size_t>(n));
  polyline_arclength_nd(dim_num, n, p, s.data());
  const vec_ref S(s.data(), n);
  // The segment only moves forward from one point to the next.
  int32_t i = 1;
  for (int32_t j = 1; j <= nt; ++j) {
    const double t = spaced(j, nt, S(n));
    while (!(S(i) <= t && t <= S(i + 1)) && i < n - 1) ++i;
    interpolate(dim_num, P(i), P(i + 1), S(i), S(i + 1), t, PT(j));
  }
}

void polyloop_arclength_nd(int32_t dim_num, int32_t nk, const double* pk, double* sk) {
  const columns PK(pk, dim_num, nk);
  const vec_ref SK(sk, wrap_add(nk, 1));
  if (nk < 0) return;
  SK(1) = 0.0;
  for (int32_t i = 1; i <= nk; ++i) SK(i + 1) = SK(i) + r8vec_distance(dim_num, PK(i4_wrap(i + 1, 1, nk)), PK(i));
}

void polyloop_length_nd(int32_t dim_num, int32_t nk, const double* pk, double& length) {
  const columns PK(pk, dim_num, nk);
  length = 0.0;
  for (int32_t i = 1; i <= nk; ++i) length += r8vec_distance(dim_num, PK(i4_wrap(i + 1, 1, nk)), PK(i));
}

void polyloop_points_nd(int32_t dim_num, int32_t nk, const double* pk, int32_t nt, double* pt) {
  const columns PK(pk, dim_num, nk);
  const columns PT(pt, dim_num, nt);
  if (nk < 1 || nt < 1) return;
  if (nt == 1) {
    repeat_first(dim_num, PK, 1, PT);
    return;
  }
  std::vector<double> sk(static_cast<std::size_t>(nk) + 1);
  polyloop_arclength_nd(dim_num, nk, pk, sk.data());
  const vec_ref SK(sk.data(), nk + 1);
  int32_t k = 1;
  for (int32_t j = 1; j <= nt; ++j) {
    const double t = spaced(j, nt, SK(nk + 1));
    while (!(SK(k) <= t && t <= SK(k + 1)) && k < nk) ++k;
    interpolate(dim_num, PK(k), PK(i4_wrap(k + 1, 1, nk)), SK(k), SK(k + 1), t, PT(j));
  }
}

}  // namespace orvel::geometry
