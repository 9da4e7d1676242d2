#include "geometry/voxels.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <vector>

#include "geometry/random.hpp"
#include "tests/geometry/geometry_support.hpp"

namespace orvel::geometry {
namespace {

using testing::expect_fatal;
using testing::icanaries;
using testing::icanary;
using testing::lines;
using testing::stdout_of;

using voxel = std::array<int32_t, 3>;

std::vector<voxel> path(const voxel& p1, const voxel& p2, int32_t n) {
  std::vector<int32_t> v(3 * std::max(n, 0) + 3, icanary);
  voxels_line_3d(p1.data(), p2.data(), n, v.data());
  std::vector<voxel> r;
  for (int32_t k = 0; k < n; ++k) r.push_back({v[3 * k], v[3 * k + 1], v[3 * k + 2]});
  EXPECT_EQ(v[3 * std::max(n, 0)], icanary);  // nothing past column N
  return r;
}

TEST(GeometryVoxels, Distance) {
  const int32_t a[3] = {1, 2, 3}, b[3] = {3, 0, 3};
  EXPECT_EQ(voxels_dist_l1_nd(3, a, b), 4);
  EXPECT_EQ(voxels_dist_l1_nd(3, b, a), 4);
  EXPECT_EQ(voxels_dist_l1_nd(0, a, b), 0);
  EXPECT_EQ(voxels_dist_l1_nd(-2, a, b), 0);
  EXPECT_EQ(voxels_dist_l1_nd(1, a, b), 2);
}

TEST(GeometryVoxels, LineExamples) {
  EXPECT_EQ(path({0, 0, 0}, {3, 2, 1}, 7),
            (std::vector<voxel>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {2, 1, 1}, {2, 2, 1}, {3, 2, 1}}));
  EXPECT_EQ(path({0, 0, 0}, {1, 1, 0}, 3), (std::vector<voxel>{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
  EXPECT_EQ(path({4, -5, 6}, {0, 0, 0}, 1), (std::vector<voxel>{{4, -5, 6}}));
  EXPECT_TRUE(path({4, -5, 6}, {0, 0, 0}, 0).empty());
}

// With N = the L1 distance + 1 every step moves one unit in one coordinate,
// closer to P2, and the path ends there.
TEST(GeometryVoxels, LinesOnRandomPairs) {
  int32_t seed = 86420;
  for (int trial = 0; trial < 200; ++trial) {
    voxel p1, p2;
    for (auto& x : p1) x = i4_uniform(-20, 20, seed);
    for (auto& x : p2) x = i4_uniform(-20, 20, seed);
    if (trial % 10 == 0) p2[trial % 3] = p1[trial % 3];  // a coordinate that stays
    const int32_t n = voxels_dist_l1_nd(3, p1.data(), p2.data()) + 1;
    const auto v = path(p1, p2, n);
    ASSERT_EQ(static_cast<int32_t>(v.size()), n);
    EXPECT_EQ(v.front(), p1);
    EXPECT_EQ(v.back(), p2);
    for (int32_t k = 1; k < n; ++k) {
      int32_t moved = 0;
      for (int i = 0; i < 3; ++i) moved += std::abs(v[k][i] - v[k - 1][i]);
      EXPECT_EQ(moved, 1);
      EXPECT_EQ(voxels_dist_l1_nd(3, v[k].data(), p2.data()), n - 1 - k);
    }
  }
}

TEST(GeometryVoxels, Steps) {
  const auto walk = [](voxel dir, int steps) {
    const voxel v1 = {0, 0, 0};
    voxel v2 = v1;
    std::vector<voxel> r;
    for (int s = 0; s < steps; ++s) {
      voxel v3 = {icanary, icanary, icanary};
      voxels_step_3d(v1.data(), v2.data(), dir[0], dir[1], dir[2], v3.data());
      r.push_back(v3);
      v2 = v3;
    }
    return r;
  };
  EXPECT_EQ(walk({2, 1, 0}, 6), (std::vector<voxel>{{1, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {3, 2, 0}, {4, 2, 0}}));
  EXPECT_EQ(walk({1, 1, 0}, 3), (std::vector<voxel>{{1, 1, 0}, {2, 2, 0}, {3, 3, 0}}));
  EXPECT_EQ(walk({0, 0, -1}, 2), (std::vector<voxel>{{0, 0, -1}, {0, 0, -2}}));
  EXPECT_EQ(walk({0, 0, 0}, 1), (std::vector<voxel>{{0, 0, 0}}));

  // V2 behind the ray's start: no face ahead, V3 = V2.
  const int32_t v1[3] = {0, 0, 0}, v2[3] = {-3, 0, 0};
  int32_t v3[3] = {icanary, icanary, icanary};
  voxels_step_3d(v1, v2, 1, 0, 0, v3);
  EXPECT_EQ((voxel{v3[0], v3[1], v3[2]}), (voxel{-3, 0, 0}));
}

// Regions by breadth-first search over the 26 neighbours, numbered in the
// order of their first voxel (k slowest, i fastest).
std::vector<int32_t> bfs_regions(int32_t nx, int32_t ny, int32_t nz, const std::vector<int32_t>& a,
                                 std::vector<std::vector<voxel>>& regions) {
  const auto at = [&](int32_t i, int32_t j, int32_t k) { return ((k - 1) * ny + (j - 1)) * nx + (i - 1); };
  std::vector<int32_t> label(a.size(), 0);
  for (int32_t k = 1; k <= nz; ++k)
    for (int32_t j = 1; j <= ny; ++j)
      for (int32_t i = 1; i <= nx; ++i) {
        if (a[at(i, j, k)] == 0 || label[at(i, j, k)] != 0) continue;
        regions.emplace_back();
        const int32_t r = static_cast<int32_t>(regions.size());
        std::deque<voxel> q = {{i, j, k}};
        label[at(i, j, k)] = r;
        while (!q.empty()) {
          const voxel v = q.front();
          q.pop_front();
          regions.back().push_back(v);
          for (int32_t di = -1; di <= 1; ++di)
            for (int32_t dj = -1; dj <= 1; ++dj)
              for (int32_t dk = -1; dk <= 1; ++dk) {
                const int32_t i2 = v[0] + di, j2 = v[1] + dj, k2 = v[2] + dk;
                if (i2 < 1 || i2 > nx || j2 < 1 || j2 > ny || k2 < 1 || k2 > nz) continue;
                if (a[at(i2, j2, k2)] == 0 || label[at(i2, j2, k2)] != 0) continue;
                label[at(i2, j2, k2)] = r;
                q.push_back({i2, j2, k2});
              }
        }
      }
  return label;
}

TEST(GeometryVoxels, RegionsMatchBreadthFirstLabelling) {
  int32_t seed = 13579;
  int tried = 0;
  for (int trial = 0; trial < 400 && tried < 60; ++trial) {
    const int32_t nx = i4_uniform(1, 6, seed), ny = i4_uniform(1, 6, seed), nz = i4_uniform(1, 5, seed);
    std::vector<int32_t> a(nx * ny * nz);
    for (auto& x : a) x = r8_uniform_01(seed) < 0.25 ? i4_uniform(-3, 9, seed) : 0;
    std::vector<std::vector<voxel>> regions;
    const auto want = bfs_regions(nx, ny, nz, a, regions);
    // Regions of at most 25 voxels stay within the work stack.
    if (std::any_of(regions.begin(), regions.end(), [](const auto& r) { return r.size() > 25; })) continue;
    ++tried;
    int32_t active = 0;
    for (const auto& r : regions) active += static_cast<int32_t>(r.size());
    const int32_t list_max = 3 * active + static_cast<int32_t>(regions.size());
    auto list = icanaries(list_max + 2);
    int32_t list_num = -1, region_num = -1;
    auto ishow = a;
    EXPECT_EQ(
        stdout_of([&] { voxels_region_3d(list_max, nx, ny, nz, ishow.data(), list_num, list.data(), region_num); }),
        "");
    EXPECT_EQ(ishow, want);
    EXPECT_EQ(region_num, static_cast<int32_t>(regions.size()));
    ASSERT_EQ(list_num, list_max);
    EXPECT_EQ(list[list_max], icanary);
    // Each region: its voxels in some order, its first voxel first, its count.
    int32_t pos = 0;
    for (const auto& r : regions) {
      const int32_t m = static_cast<int32_t>(r.size());
      std::vector<voxel> listed;
      for (int32_t v = 0; v < m; ++v)
        listed.push_back({list[pos + 3 * v], list[pos + 3 * v + 1], list[pos + 3 * v + 2]});
      EXPECT_EQ(listed.front(), r.front());
      auto sorted_r = r;
      std::sort(sorted_r.begin(), sorted_r.end());
      std::sort(listed.begin(), listed.end());
      EXPECT_EQ(listed, sorted_r);
      EXPECT_EQ(list[pos + 3 * m], m);
      pos += 3 * m + 1;
    }
  }
  EXPECT_GE(tried, 40);
}

TEST(GeometryVoxels, RegionExamples) {
  int32_t list_num = -1, region_num = -1;
  std::vector<int32_t> two(9, 0);
  two[0] = 5;  // (1,1,1)
  two[8] = 1;  // (3,3,1)
  auto list = icanaries(10);
  voxels_region_3d(10, 3, 3, 1, two.data(), list_num, list.data(), region_num);
  EXPECT_EQ(region_num, 2);
  EXPECT_EQ(list_num, 8);
  EXPECT_EQ(two, (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 9),
            (std::vector<int32_t>{1, 1, 1, 1, 3, 3, 1, 1, icanary}));

  std::vector<int32_t> corner(8, 0);
  corner[0] = 1;  // (1,1,1)
  corner[7] = 1;  // (2,2,2)
  list = icanaries(10);
  voxels_region_3d(10, 2, 2, 2, corner.data(), list_num, list.data(), region_num);
  EXPECT_EQ(region_num, 1);
  EXPECT_EQ(list_num, 7);
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 7), (std::vector<int32_t>{1, 1, 1, 2, 2, 2, 2}));

  std::vector<int32_t> empty(12, 0);
  voxels_region_3d(10, 2, 3, 2, empty.data(), list_num, list.data(), region_num);
  EXPECT_EQ(region_num, 0);
  EXPECT_EQ(list_num, 0);

  // A list too short: the warning; what fits is stored, ISHOW complete.
  const auto warned = lines({" ", "VOXELS_REGION - Warning!", "  LIST_MAX was too small to list the regions.",
                             "  Do not try to use the LIST array!", "  The ISHOW data is OK, however."});
  two = {1, 0, 0, 0, 0, 0, 0, 0, 1};
  list = icanaries(10);
  EXPECT_EQ(stdout_of([&] { voxels_region_3d(5, 3, 3, 1, two.data(), list_num, list.data(), region_num); }), warned);
  EXPECT_EQ(list_num, 8);
  EXPECT_EQ(region_num, 2);
  EXPECT_EQ(two, (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 6), (std::vector<int32_t>{1, 1, 1, 1, icanary, icanary}));
  std::vector<int32_t> one = {7};
  EXPECT_EQ(stdout_of([&] { voxels_region_3d(0, 1, 1, 1, one.data(), list_num, list.data(), region_num); }), warned);
  EXPECT_EQ(one[0], 1);
  EXPECT_EQ(list_num, 4);
}

// The 100-entry work stack: a straight row of 25 voxels fills it exactly;
// a row of 26, or a solid 4 x 4 x 4 block, overflows it.
TEST(GeometryVoxels, WorkStackLimit) {
  for (const auto& [nx, ny, nz] : std::vector<voxel>{{25, 1, 1}, {1, 25, 1}, {1, 1, 25}}) {
    std::vector<int32_t> row(25, 1);
    auto list = icanaries(76);
    int32_t list_num = 0, region_num = 0;
    voxels_region_3d(76, nx, ny, nz, row.data(), list_num, list.data(), region_num);
    EXPECT_EQ(region_num, 1);
    EXPECT_EQ(list_num, 76);
    EXPECT_EQ(list[75], 25);
  }
  const std::initializer_list<std::string_view> overflow = {
      " ", "VOXELS_REGION - Fatal error!", "  The internal stack overflowed.", "  The algorithm has failed."};
  for (const auto& [nx, ny, nz] : std::vector<voxel>{{26, 1, 1}, {1, 1, 26}, {4, 4, 4}}) {
    std::vector<int32_t> block(nx * ny * nz, 1);
    auto list = icanaries(200);
    int32_t list_num = 0, region_num = 0;
    expect_fatal([&] { voxels_region_3d(200, nx, ny, nz, block.data(), list_num, list.data(), region_num); }, overflow);
  }
}

}  // namespace
}  // namespace orvel::geometry
