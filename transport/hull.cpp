#include "transport/hull.hpp"

#include <cmath>
#include <vector>

namespace orvel {

namespace {

// Extremes of v(1..n) compared in single precision, starting from points 1
// and n; among equal values the earlier candidate stays.
void extremes(const double* v, int32_t n, int32_t& least, int32_t& greatest) {
  auto f = [v](int32_t i) { return static_cast<float>(v[i - 1]); };
  if (f(1) > f(n)) {
    least = n;
    greatest = 1;
  } else {
    least = 1;
    greatest = n;
  }
  for (int32_t i = 2; i <= n - 1; ++i) {
    if (f(i) < f(least)) {
      least = i;
    } else if (f(i) > f(greatest)) {
      greatest = i;
    }
  }
}

}  // namespace

void envelope(const double* x, const double* y, int32_t n, int32_t* vertex, int32_t& nvert, int32_t* iwk) {
  if (n < 1) {
    nvert = 0;
    return;
  }
  if (n == 1) {
    vertex[0] = 1;
    nvert = 1;
    return;
  }
  auto fx = [x](int32_t i) { return static_cast<float>(x[i - 1]); };
  auto fy = [y](int32_t i) { return static_cast<float>(y[i - 1]); };
  // Signed area of point q against the line from s to p: positive to the
  // left.  The line's points are taken in single precision, their
  // differences formed in single precision, the area in double precision
  // from q's own coordinates and then rounded to single precision.
  auto area = [&](int32_t q, int32_t s, int32_t p) {
    const float dxl = fx(p) - fx(s), dyl = fy(p) - fy(s);
    return static_cast<float>((y[q - 1] - static_cast<double>(fy(s))) * static_cast<double>(dxl) -
                              (x[q - 1] - static_cast<double>(fx(s))) * static_cast<double>(dyl));
  };
  // Chains of outside points live in iwk: iwk(v) of a hull vertex v heads
  // the chain of its edge, iwk(q) links q to the next point, -1 ends.
  auto link = [iwk](int32_t q) -> int32_t& { return iwk[q - 1]; };

  int32_t lo, hi;
  extremes(x, n, lo, hi);
  if (fx(lo) == fx(hi)) {
    int32_t ylo, yhi;
    extremes(y, n, ylo, yhi);
    vertex[0] = ylo;
    vertex[1] = yhi;
    nvert = fy(ylo) == fy(yhi) ? 1 : 2;
    return;
  }

  // Hull vertices as a list in clockwise order: point, next vertex (-1 after
  // the last, whose edge closes on the first) and the farthest outside point
  // of the edge that starts there (-1 when none is left).
  std::vector<int32_t> pt, next, gap;
  pt.reserve(n);
  next.reserve(n);
  gap.reserve(n);
  pt = {lo, hi};
  next = {1, -1};
  gap = {-1, -1};
  link(lo) = -1;
  link(hi) = -1;
  {
    int32_t tail_lo = -1, tail_hi = -1;
    float amax = 0.0f, amin = 0.0f;
    for (int32_t i = 1; i <= n; ++i) {
      if (i == lo || i == hi) continue;
      const float a = area(i, lo, hi);
      if (a > 0.0f) {
        if (tail_lo < 0) link(lo) = i; else link(tail_lo) = i;
        tail_lo = i;
        link(i) = -1;
        if (gap[0] < 0 || a > amax) {
          gap[0] = i;
          amax = a;
        }
      } else if (a < 0.0f) {
        if (tail_hi < 0) link(hi) = i; else link(tail_hi) = i;
        tail_hi = i;
        link(i) = -1;
        if (gap[1] < 0 || a < amin) {
          gap[1] = i;
          amin = a;
        }
      }
    }
  }

  int32_t k = 0;  // the vertex whose edge is being split
  for (;;) {
    if (gap[k] < 0) {
      if (next[k] < 0) break;
      k = next[k];
      continue;
    }
    const int32_t p = gap[k];
    const int32_t s = pt[k];
    const int32_t e = next[k] < 0 ? pt[0] : pt[next[k]];
    const int32_t kp = static_cast<int32_t>(pt.size());
    pt.push_back(p);
    next.push_back(next[k]);
    gap.push_back(-1);
    next[k] = kp;
    gap[k] = -1;
    // Split the outside points of s -> e between the edges s -> p and p -> e;
    // those in the triangle s, p, e (or on its sides) are dropped for good.
    int32_t head_s = -1, tail_s = -1, head_p = -1, tail_p = -1;
    float best_s = 0.0f, best_p = 0.0f;
    for (int32_t q = link(s); q >= 0;) {
      const int32_t after = link(q);
      if (q != p) {
        const float a1 = area(q, s, p);
        if (a1 > 0.0f) {
          if (tail_s < 0) head_s = q; else link(tail_s) = q;
          tail_s = q;
          link(q) = -1;
          if (gap[k] < 0 || a1 > best_s) {
            gap[k] = q;
            best_s = a1;
          }
        } else {
          const float a2 = area(q, p, e);
          if (a2 > 0.0f) {
            if (tail_p < 0) head_p = q; else link(tail_p) = q;
            tail_p = q;
            link(q) = -1;
            if (gap[kp] < 0 || a2 > best_p) {
              gap[kp] = q;
              best_p = a2;
            }
          }
        }
      }
      q = after;
    }
    link(s) = head_s;
    link(p) = head_p;
  }

  nvert = 0;
  for (int32_t v = 0; v >= 0; v = next[v]) vertex[nvert++] = pt[v];
}

void polyarea(const double* x, const double* y, int32_t n, float& area) {
  int32_t m = n;
  if (n >= 1 && x[0] == x[n - 1] && y[0] == y[n - 1]) m = n - 1;
  if (m < 3) {
    area = 0.0f;
    return;
  }
  auto X = [x](int32_t i) { return x[i - 1]; };
  auto Y = [y](int32_t i) { return y[i - 1]; };
  if (m == 3) {
    area = static_cast<float>(std::fabs((X(2) - X(1)) * (Y(3) - Y(1)) - (X(3) - X(1)) * (Y(2) - Y(1))) * 0.5);
    return;
  }
  float s = static_cast<float>(X(1) * (Y(2) - Y(m)) + X(m) * (Y(1) - Y(m - 1)));
  for (int32_t j = 2; j <= m - 1; ++j) {
    s = static_cast<float>(static_cast<double>(s) + X(j) * (Y(j + 1) - Y(j - 1)));
  }
  area = std::fabs(s) * 0.5f;
}

}  // namespace orvel
