// The frame's clock, blends and Runge-Kutta stages against analytic drift.
// The subsystem routines are stood in for by the simplest physics that keeps
// their contracts: spatially uniform current fields, the two-level blend
// with 1 - f in single precision, a velocity of current / factor degrees per
// second, the stage times and increments of the Runge-Kutta stage, and a
// chain that adds the Euler or Runge-Kutta increment.  What is under test is
// the timing the frame gives them: the blend weight of each sub-step, the
// stage order and times, and the record advance.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "tests/engines/frame_harness.hpp"

namespace orvel {
namespace {

using testing::small_run;
using testing::test_engine;

class drift_calls : public testing::recording_calls {
 public:
  std::vector<double> records;  // eastward current of records 1, 2, ..., m/s

  void lee_forcings(int32_t kind) override {
    recording_calls::lee_forcings(kind);
    if (kind == 1) put(var1.i_vel);
  }
  void lee_forcings_interp(int32_t kind) override {
    recording_calls::lee_forcings_interp(kind);
    if (kind == 1) {
      for (int32_t i = 1; i <= var2.u0.size(1); ++i) var2.u0(i, 1) = value(var1.i_vel);
      var2.v0.fill(0.0);
    }
  }
  void lee_velocidad(int32_t i) override {
    recording_calls::lee_velocidad(i);
    put(i);
  }
  void interp_corr(float f, std::span<double> u, std::span<double> v) override {
    add("interp_corr");
    const double a = 1.0f - f;
    for (std::size_t i = 0; i < u.size(); ++i) u[i] = a * var2.u0(i + 1, 1) + f * var2.u_curr_read(i + 1, 1);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = a * var2.v0(i + 1, 1) + f * var2.v_curr_read(i + 1, 1);
  }
  void interp_lineal_mr(std::span<const double>, std::span<const double>, std::span<const double>,
                        std::span<const double>, int32_t, std::span<const double> field, std::span<double> out,
                        double, double, double, double, int32_t, int32_t) override {
    for (auto& o : out) o = field[0];
  }
  void vel_adv_2d(int32_t spill, int32_t) override {
    auto& cw = var_currwindwave;
    for (int32_t p = 1; p <= var_run.particle_number; ++p) {
      cw.uadv(p, spill) = cw.u_curr_int(p) / var_mallas.factor;
      cw.vadv(p, spill) = cw.v_curr_int(p) / var_mallas.factor;
    }
  }
  void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0, std::span<const double> y0,
              std::span<double> xs, std::span<double> ys, std::span<double> u, std::span<double> v) override {
    add("rungek");
    auto& rk = var_rk;
    const float dt = var_run.deltat;
    const float dc = var_cfg.deltat_currents;
    farray<double, 2>* fxs[] = {&rk.fx1, &rk.fx2, &rk.fx3, &rk.fx4};
    farray<double, 2>* fys[] = {&rk.fy1, &rk.fy2, &rk.fy3, &rk.fy4};
    for (int32_t p = 1; p <= var_run.particle_number; ++p) {
      rk.fx(p, spill) = var_currwindwave.uadv(p, spill) * static_cast<double>(dt);
      rk.fy(p, spill) = var_currwindwave.vadv(p, spill) * static_cast<double>(dt);
      (*fxs[stage - 1])(p, spill) = rk.fx(p, spill);
      (*fys[stage - 1])(p, spill) = rk.fy(p, spill);
    }
    if (stage == 4) return;
    const float when = stage <= 2 ? (static_cast<float>(2 * k) * dt + dt) / (dc + dc)
                                  : (static_cast<float>(k) * dt + dt) / dc;
    interp_corr(when, u, v);
    const double share = stage <= 2 ? 0.5 : 1.0;
    for (std::size_t p = 0; p < xs.size(); ++p) {
      xs[p] = x0[p] + share * rk.fx(static_cast<int32_t>(p) + 1, spill);
      ys[p] = y0[p] + share * rk.fy(static_cast<int32_t>(p) + 1, spill);
    }
  }

 private:
  double value(int32_t i) const { return records.at(static_cast<std::size_t>(i - 1)); }
  void put(int32_t i) const {
    for (int32_t n = 1; n <= var2.u_curr_read.size(1); ++n) var2.u_curr_read(n, 1) = value(i);
    var2.v_curr_read.fill(0.0);
  }
};

// Moves the particles by the step's increments, as the position updates do.
void move(int32_t spill, float) {
  auto& vp = var_part;
  const bool rk = var_run.numericalmethod__euler_rungekut == 2;
  for (int32_t p = 1; p <= var_run.particle_number; ++p) {
    if (rk) {
      const auto& r = var_rk;
      vp.x_part(p, spill) += r.fx1(p, spill) / 6.0 + r.fx2(p, spill) / 3.0 + r.fx3(p, spill) / 3.0 +
                             r.fx4(p, spill) / 6.0;
    } else {
      vp.x_part(p, spill) += var_currwindwave.uadv(p, spill) * static_cast<double>(var_run.deltat);
    }
  }
}

// Eastward displacement of every particle of every spill, in metres.
std::vector<double> run_drift(int32_t method, bool blended, std::vector<double> records, float horizon,
                              int32_t spills = 1) {
  small_run(spills);
  testing::files(1, blended);
  var_run.numericalmethod__euler_rungekut = method;
  var_cfg.simulationtimehorizon = horizon;
  var_cfg.currentfilesorlines_number = static_cast<int32_t>(records.size());
  drift_calls calls;
  calls.records = std::move(records);
  test_engine e(calls);
  e.chain = move;
  e.run();
  std::vector<double> d;
  for (int32_t s = 1; s <= spills; ++s) {
    for (int32_t p = 1; p <= var_run.particle_number; ++p) {
      d.push_back((var_part.x_part(p, s) - (370.0 + 0.1 * s)) * var_mallas.factor);
    }
  }
  return d;
}

TEST(FrameDrift, UniformCurrentMovesByTheAnalyticDistance) {
  // 0.5 m/s for 10 h: 18 km, whatever the method and the blending.
  for (int32_t method : {1, 2}) {
    for (bool blended : {false, true}) {
      for (double d : run_drift(method, blended, std::vector<double>(12, 0.5), 36000.0f)) {
        EXPECT_NEAR(d, 18000.0, 1e-6) << "method " << method << " blended " << blended;
      }
    }
  }
}

TEST(FrameDrift, RampOverOneRecordEulerAgainstRungeKutta) {
  // The current grows linearly from 0 to 1 m/s over one hour of four steps.
  // Exact: U D / 2 = 1800 m.  Euler takes the start of each step:
  // 900 (0 + 1/4 + 1/2 + 3/4) = 1350 m.  Runge-Kutta's stages at the start,
  // middle and end of each step integrate a ramp exactly.
  for (double d : run_drift(1, true, {0.0, 1.0}, 3600.0f)) EXPECT_NEAR(d, 1350.0, 1e-6);
  for (double d : run_drift(2, true, {0.0, 1.0}, 3600.0f)) EXPECT_NEAR(d, 1800.0, 1e-6);
}

TEST(FrameDrift, RampOverTwoRecordsWithTheRecordEndCopy) {
  // 0 -> 1 -> 3 m/s over two hours: the second interval blends from the
  // record copied at the end of the first.  Exact: 1800 + 7200 = 9000 m.
  for (double d : run_drift(2, true, {0.0, 1.0, 3.0}, 7200.0f)) EXPECT_NEAR(d, 9000.0, 1e-6);
  // Euler: 1350 + 900 (1 + 1.5 + 2 + 2.5) = 7650 m.
  for (double d : run_drift(1, true, {0.0, 1.0, 3.0}, 7200.0f)) EXPECT_NEAR(d, 7650.0, 1e-6);
}

TEST(FrameDrift, EverySpillOfARampGetsTheSameRungeKuttaDrift) {
  // The second spill's stages start from the sub-step's blend, not from the
  // end-of-step blend the first spill's stages left.
  for (double d : run_drift(2, true, {0.0, 1.0}, 3600.0f, 3)) EXPECT_NEAR(d, 1800.0, 1e-6);
}

}  // namespace
}  // namespace orvel
