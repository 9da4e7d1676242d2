#include "transport/rungekutta.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/transport/particles_fixture.hpp"

namespace orvel {
namespace {

using testing::small_world;

// Records the blend calls the stage makes.
std::vector<float> blend_fractions;
void record_blend(float f, double* u, double* v) {
  blend_fractions.push_back(f);
  u[0] = f;
  v[0] = -f;
}

void rk_world(int32_t np, int32_t ns, float dt, float interval) {
  small_world(np, ns);
  var_run.deltat = dt;
  var_cfg.deltat_currents = interval;
  auto& rk = var_rk;
  for (auto* a : {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4, &rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4})
    a->allocate(np, ns);
  blend_fractions.clear();
}

TEST(Rungek, BlendFractionOfEachStage) {
  struct fraction_case {
    int32_t k;
    float dt, interval;
    float middle, end;  // stages 1 and 2, stage 3
  };
  const fraction_case cases[] = {
      {0, 600.0f, 3600.0f, static_cast<float>(1.0 / 12), static_cast<float>(1.0 / 6)},
      {0, 3600.0f, 3600.0f, 0.5f, 1.0f},
      {2, 600.0f, 3600.0f, static_cast<float>(3000.0 / 7200), 0.5f},
      {5, 600.0f, 3600.0f, static_cast<float>(6600.0 / 7200), 1.0f},
  };
  for (const auto& c : cases) {
    rk_world(2, 1, c.dt, c.interval);
    std::vector<double> x0(2, 356.0), y0(2, 43.0), xs(2), ys(2), u(1), v(1);
    for (int32_t stage = 1; stage <= 4; ++stage) {
      rungek(1, stage, c.k, x0.data(), y0.data(), xs.data(), ys.data(), u.data(), v.data(), record_blend);
      if (stage <= 3) {
        EXPECT_EQ(var_rk.k_vtmed, stage == 3 ? c.end : c.middle) << "k " << c.k << " stage " << stage;
        EXPECT_EQ(u[0], var_rk.k_vtmed);
      }
    }
    // Stage 4 blends nothing.
    ASSERT_EQ(blend_fractions.size(), 3u);
    EXPECT_EQ(blend_fractions[0], c.middle);
    EXPECT_EQ(blend_fractions[1], c.middle);
    EXPECT_EQ(blend_fractions[2], c.end);
  }
}

TEST(Rungek, DisplacementsStagePositionsAndTheSpillsColumn) {
  const int32_t np = 3;
  rk_world(np, 2, 600.0f, 3600.0f);
  auto& w = var_currwindwave;
  auto& rk = var_rk;
  for (int32_t i = 1; i <= np; ++i) {
    w.uadv(i, 2) = 1e-5 * i;
    w.vadv(i, 2) = -2e-5 * i;
    rk.fx1(i, 1) = rk.fx4(i, 1) = rk.fy2(i, 1) = 99.0;  // another spill's stages
  }
  w.uadv(3, 2) = 0.0;
  w.vadv(3, 2) = 0.0;
  std::vector<double> x0 = {356.1, 356.2, 356.3}, y0 = {43.0, 43.1, 43.2};
  std::vector<double> xs(np, -1.0), ys(np, -1.0), u(1), v(1);
  farray<double, 2>* kept_x[] = {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4};
  farray<double, 2>* kept_y[] = {&rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4};
  for (int32_t stage = 1; stage <= 4; ++stage) {
    for (int32_t i = 1; i <= np; ++i) w.uadv(i, 2) *= 2.0;  // each stage sees new velocities
    std::fill(xs.begin(), xs.end(), -1.0);
    rungek(2, stage, 0, x0.data(), y0.data(), xs.data(), ys.data(), u.data(), v.data(), nullptr);
    for (int32_t i = 1; i <= np; ++i) {
      const double fx = w.uadv(i, 2) * 600.0, fy = w.vadv(i, 2) * 600.0;
      EXPECT_EQ((*kept_x[stage - 1])(i, 2), fx);
      EXPECT_EQ((*kept_y[stage - 1])(i, 2), fy);
      const double share = stage <= 2 ? 0.5 : 1.0;
      if (stage <= 3) {
        EXPECT_EQ(xs[i - 1], x0[i - 1] + share * fx);
        EXPECT_EQ(ys[i - 1], y0[i - 1] + share * fy);
      } else {
        EXPECT_EQ(xs[i - 1], -1.0);  // stage 4 gives no further position
      }
    }
    if (stage <= 3) {
      EXPECT_EQ(xs[2], x0[2]);  // a particle at rest stays where it started
    }
  }
  for (int32_t i = 1; i <= np; ++i) {
    EXPECT_EQ(rk.fx1(i, 1), 99.0);
    EXPECT_EQ(rk.fx4(i, 1), 99.0);
    EXPECT_EQ(rk.fy2(i, 1), 99.0);
  }
}

TEST(Rungek, FourStagesAreTheClassicalScheme) {
  // dx/dt = c (x - xc): the classical fourth-order scheme advances the offset
  // by exactly 1 + h + h^2/2 + h^3/6 + h^4/24, h = c dt.
  const int32_t np = 4;
  const float dt = 600.0f;
  rk_world(np, 1, dt, 3600.0f);
  const double xc = 356.0, c = 1.0e-4;
  std::vector<double> x0 = {356.01, 356.1, 355.9, 356.0}, y0(np, 43.0), xs(x0), ys(y0), u(1), v(1);
  auto& w = var_currwindwave;
  for (int32_t stage = 1; stage <= 4; ++stage) {
    for (int32_t i = 1; i <= np; ++i) {
      w.uadv(i, 1) = c * (xs[i - 1] - xc);
      w.vadv(i, 1) = 0.0;
    }
    rungek(1, stage, 0, x0.data(), y0.data(), xs.data(), ys.data(), u.data(), v.data(), nullptr);
  }
  const auto& rk = var_rk;
  const double h = c * dt;
  const double growth = 1.0 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
  for (int32_t i = 1; i <= np; ++i) {
    const double x = x0[i - 1] + rk.fx1(i, 1) / 6.0 + rk.fx2(i, 1) / 3.0 + rk.fx3(i, 1) / 3.0 +
                     rk.fx4(i, 1) / 6.0;
    EXPECT_NEAR(x - xc, (x0[i - 1] - xc) * growth, 1e-13) << i;
    // and within the scheme's h^5/120 of the exact exponential growth
    EXPECT_NEAR(x - xc, (x0[i - 1] - xc) * std::exp(h), std::fabs(x0[i - 1] - xc) * h * h * h * h * h / 100);
  }
}

}  // namespace
}  // namespace orvel
