#include "geometry/voxels.hpp"

#include <algorithm>

namespace orvel::geometry {

int32_t voxels_dist_l1_nd(int32_t dim_num, const int32_t* v1, const int32_t* v2) {
  const vec_ref V1(v1, dim_num), V2(v2, dim_num);
  int32_t sum = 0;
  for (int32_t i = 1; i <= dim_num; ++i) sum = wrap_add(sum, wrap_abs(wrap_sub(V1(i), V2(i))));
  return sum;
}

void voxels_line_3d(const int32_t* p1, const int32_t* p2, int32_t n, int32_t* v) {
  if (n <= 0) return;
  const vec_ref P1(p1, 3), P2(p2, 3);
  const mat_ref V(v, 3, n);
  int32_t s[3], a[3];
  for (int32_t i = 1; i <= 3; ++i) {
    const int32_t d = wrap_sub(P2(i), P1(i));
    s[i - 1] = d < 0 ? -1 : 1;
    a[i - 1] = wrap_abs(d);
  }
  int32_t exy = wrap_sub(a[1], a[0]);
  int32_t exz = wrap_sub(a[2], a[0]);
  int32_t ezy = wrap_sub(a[1], a[2]);
  const int32_t twice[3] = {wrap_mul(2, a[0]), wrap_mul(2, a[1]), wrap_mul(2, a[2])};
  for (int32_t i = 1; i <= 3; ++i) V(i, 1) = P1(i);
  for (int32_t k = 2; k <= n; ++k) {
    for (int32_t i = 1; i <= 3; ++i) V(i, k) = V(i, k - 1);
    if (exy < 0 && exz < 0) {
      V(1, k) = wrap_add(V(1, k), s[0]);
      exy = wrap_add(exy, twice[1]);
      exz = wrap_add(exz, twice[2]);
    } else if ((exy < 0 && exz >= 0) || (exy >= 0 && ezy < 0)) {
      V(3, k) = wrap_add(V(3, k), s[2]);
      exz = wrap_sub(exz, twice[0]);
      ezy = wrap_add(ezy, twice[1]);
    } else {
      V(2, k) = wrap_add(V(2, k), s[1]);
      exy = wrap_sub(exy, twice[0]);
      ezy = wrap_sub(ezy, twice[2]);
    }
  }
}

void voxels_step_3d(const int32_t* v1, const int32_t* v2, int32_t inc, int32_t jnc, int32_t knc, int32_t* v3) {
  const vec_ref V1(v1, 3), V2(v2, 3);
  const vec_ref V3(v3, 3);
  if (inc == 0 && jnc == 0 && knc == 0) {
    for (int32_t i = 1; i <= 3; ++i) V3(i) = V2(i);
    return;
  }
  // The ray parameter at which the ray leaves V2 across a face normal to
  // axis i; the largest double when it runs parallel to those faces.
  const auto leave = [&](int32_t i, int32_t step) {
    const double d = static_cast<double>(wrap_sub(V2(i), V1(i)));
    if (step > 0) return (d + 0.5) / step;
    if (step < 0) return (d - 0.5) / step;
    return r8_largest();
  };
  const double alpha = leave(1, inc), beta = leave(2, jnc), gamma = leave(3, knc);
  double amin = r8_largest();
  if (alpha > 0.0) amin = std::min(amin, alpha);
  if (beta > 0.0) amin = std::min(amin, beta);
  if (gamma > 0.0) amin = std::min(amin, gamma);
  const auto sign = [](int32_t d) { return d < 0 ? -1 : 1; };
  if (amin == r8_largest()) {
    // No face of V2 lies ahead on the ray.
    for (int32_t i = 1; i <= 3; ++i) V3(i) = V2(i);
  } else if (amin == alpha) {
    V3(1) = wrap_add(V2(1), sign(inc));
    V3(2) = wrap_add(V1(2), nint(jnc * amin));
    V3(3) = wrap_add(V1(3), nint(knc * amin));
  } else if (amin == beta) {
    V3(1) = wrap_add(V1(1), nint(inc * amin));
    V3(2) = wrap_add(V2(2), sign(jnc));
    V3(3) = wrap_add(V1(3), nint(knc * amin));
  } else if (amin == gamma) {
    V3(1) = wrap_add(V1(1), nint(inc * amin));
    V3(2) = wrap_add(V1(2), nint(jnc * amin));
    V3(3) = wrap_add(V2(3), sign(knc));
  } else {
    for (int32_t i = 1; i <= 3; ++i) V3(i) = V2(i);
  }
}

namespace {

// An NX by NY by NZ integer array, i fastest, read as A(i, j, k).
class cube_ref {
 public:
  cube_ref(int32_t* p, int32_t nx, int32_t ny, int32_t nz)
      : p_(p), nx_(std::max(nx, 0)), ny_(std::max(ny, 0)), nz_(std::max(nz, 0)) {}
  int32_t& operator()(int32_t i, int32_t j, int32_t k) const {
#ifdef ORVEL_BOUNDS_CHECK
    if (i < 1 || i > nx_) index_fault(i, 1, nx_);
    if (j < 1 || j > ny_) index_fault(j, 1, ny_);
    if (k < 1 || k > nz_) index_fault(k, 1, nz_);
#endif
    return p_[(static_cast<int64_t>(k - 1) * ny_ + (j - 1)) * nx_ + (i - 1)];
  }

 private:
  int32_t* p_;
  int64_t nx_, ny_, nz_;
};

// The work stack of the region labelling: groups of (i, j, k) triples, each
// group followed by its count.  Its capacity is fixed.
class voxel_stack {
 public:
  static constexpr int32_t capacity = 100;
  bool empty() const { return top_ == 0; }
  // Room for `entries` more, or the run ends.
  void need(int32_t entries) const {
    if (top_ + entries > capacity) {
      fatal("VOXELS_REGION", {"  The internal stack overflowed.", "  The algorithm has failed."});
    }
  }
  void push(int32_t v) { s_[top_++] = v; }
  int32_t& at_top(int32_t below = 0) { return s_[top_ - 1 - below]; }
  void drop(int32_t entries) { top_ -= entries; }

 private:
  int32_t s_[capacity] = {};
  int32_t top_ = 0;
};

}  // namespace

void voxels_region_3d(int32_t list_max, int32_t nx, int32_t ny, int32_t nz, int32_t* ishow, int32_t& list_num,
                      int32_t* list, int32_t& region_num) {
  const cube_ref SHOW(ishow, nx, ny, nz);
  const vec_ref LIST(list, list_max);
  for (int32_t k = 1; k <= nz; ++k)
    for (int32_t j = 1; j <= ny; ++j)
      for (int32_t i = 1; i <= nx; ++i)
        if (SHOW(i, j, k) != 0) SHOW(i, j, k) = -1;

  region_num = 0;
  list_num = 0;
  // Appends one entry to the list when it fits; LIST_NUM counts it anyway.
  const auto append = [&](int32_t v) {
    list_num = wrap_add(list_num, 1);
    if (list_num >= 1 && list_num <= list_max) LIST(list_num) = v;
  };
  const auto append_voxel = [&](int32_t i, int32_t j, int32_t k) {
    if (static_cast<int64_t>(list_num) + 3 <= list_max) {
      append(i);
      append(j);
      append(k);
    } else {
      list_num = wrap_add(list_num, 3);
    }
  };

  voxel_stack stack;
  for (int32_t k = 1; k <= nz; ++k) {
    for (int32_t j = 1; j <= ny; ++j) {
      for (int32_t i = 1; i <= nx; ++i) {
        if (SHOW(i, j, k) != -1) continue;
        region_num = wrap_add(region_num, 1);
        SHOW(i, j, k) = region_num;
        stack.need(4);
        stack.push(i);
        stack.push(j);
        stack.push(k);
        stack.push(1);
        append_voxel(i, j, k);
        int32_t count = 1;
        while (!stack.empty()) {
          // The last voxel of the top group.
          const int32_t i0 = stack.at_top(3), j0 = stack.at_top(2), k0 = stack.at_top(1);
          int32_t found = 0;
          const int32_t ihi = i0 < nx ? i0 + 1 : nx, jhi = j0 < ny ? j0 + 1 : ny, khi = k0 < nz ? k0 + 1 : nz;
          for (int32_t i2 = std::max(1, i0 - 1); i2 <= ihi; ++i2) {
            for (int32_t j2 = std::max(1, j0 - 1); j2 <= jhi; ++j2) {
              for (int32_t k2 = std::max(1, k0 - 1); k2 <= khi; ++k2) {
                if (SHOW(i2, j2, k2) != -1) continue;
                SHOW(i2, j2, k2) = region_num;
                stack.need(3);
                stack.push(i2);
                stack.push(j2);
                stack.push(k2);
                append_voxel(i2, j2, k2);
                ++count;
                ++found;
              }
            }
          }
          if (found > 0) {
            stack.need(1);
            stack.push(found);
            continue;
          }
          // The voxel is finished: its triple goes, its group shrinks.
          const int32_t left = stack.at_top() - 1;
          stack.drop(3);
          stack.at_top() = left;
          if (left == 0) stack.drop(1);
        }
        append(count);
      }
    }
  }
  if (list_num > list_max) {
    warning("VOXELS_REGION", {"  LIST_MAX was too small to list the regions.", "  Do not try to use the LIST array!",
                              "  The ISHOW data is OK, however."});
  }
}

}  // namespace orvel::geometry
