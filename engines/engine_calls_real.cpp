// The engine calls bound to the model's routines.  This is the one place
// where the frame meets the forcing readers and interpolators, the particle
// routines and the result writers.
//
// A routine that this build does not yet provide is reached through
// unbound(), which ends the run with a "not built yet" error naming it; the
// line above each such call shows the forwarding it stands for, with the same
// arguments, to be put in its place once the routine is in the tree.
#include <cstdint>
#include <span>
#include <string>

#include "common/errors.hpp"
#include "engines/engine_calls.hpp"

namespace orvel {
namespace {

template <typename... A>
[[noreturn]] void unbound(const char* routine, const A&...) {
  not_built(routine);
}

struct real_calls final : engine_calls {
  // Forcing lists and records: bound with the forcing readers.
  void lee_listafich(int32_t kind, int32_t sim, int32_t& wflag) override {
    // lee_listafich(kind, sim, wflag);
    unbound("lee_listafich", kind, sim, wflag);
  }
  void lee_forcings(int32_t kind) override {
    // lee_forcings(kind);
    unbound("lee_forcings", kind);
  }
  void lee_forcings_interp(int32_t kind) override {
    // lee_forcings_interp(kind);
    unbound("lee_forcings_interp", kind);
  }
  void lee_velocidad(int32_t i) override {
    // lee_velocidad(i);
    unbound("lee_velocidad", i);
  }
  void vel_part(int32_t i) override {
    // vel_part(i);
    unbound("vel_part", i);
  }
  void vel_partinterp(int32_t i) override {
    // vel_partinterp(i);
    unbound("vel_partinterp", i);
  }
  void lee_ola(int32_t i) override {
    // lee_ola(i);
    unbound("lee_ola", i);
  }
  void ola_part(int32_t i) override {
    // ola_part(i);
    unbound("ola_part", i);
  }
  void ola_partinterp(int32_t i) override {
    // ola_partinterp(i);
    unbound("ola_partinterp", i);
  }
  void lee_viento(int32_t i) override {
    // lee_viento(i);
    unbound("lee_viento", i);
  }
  void viento_part(int32_t i) override {
    // viento_part(i);
    unbound("viento_part", i);
  }
  void viento_partinterp(int32_t i) override {
    // viento_partinterp(i);
    unbound("viento_partinterp", i);
  }

  // Time blending and spatial interpolation: bound with the interpolators.
  void interp_corr(float f, std::span<double> u, std::span<double> v) override {
    // interp_corr(f, u, v);
    unbound("interp_corr", f, u, v);
  }
  void interp_vel_part(float f) override {
    // interp_vel_part(f);
    unbound("interp_vel_part", f);
  }
  void interp_viento(float f, std::span<double> wx, std::span<double> wy) override {
    // interp_viento(f, wx, wy);
    unbound("interp_viento", f, wx, wy);
  }
  void interp_viento_part(float f) override {
    // interp_viento_part(f);
    unbound("interp_viento_part", f);
  }
  void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t) override {
    // interp_ola(f, hx, hy, t);
    unbound("interp_ola", f, hx, hy, t);
  }
  void interp_ola_part(float f) override {
    // interp_ola_part(f);
    unbound("interp_ola_part", f);
  }
  void mallas_forzamientos(std::span<const double> x, std::span<const double> y, int32_t n, double& x0,
                           double& y0, double& dx, double& dy, int32_t& ncol, int32_t& nrow) override {
    // mallas_forzamientos(x, y, n, x0, y0, dx, dy, ncol, nrow);
    unbound("mallas_forzamientos", x, y, n, x0, y0, dx, dy, ncol, nrow);
  }
  void interp_lineal(std::span<const double> xnodes, std::span<const double> ynodes, std::span<const double> xp,
                     std::span<const double> yp, int32_t n, std::span<const double> field,
                     std::span<double> out) override {
    // interp_lineal(xnodes, ynodes, xp, yp, n, field, out);
    unbound("interp_lineal", xnodes, ynodes, xp, yp, n, field, out);
  }
  void interp_lineal_mr(std::span<const double> xnodes, std::span<const double> ynodes,
                        std::span<const double> xp, std::span<const double> yp, int32_t n,
                        std::span<const double> field, std::span<double> out, double x0, double y0, double dx,
                        double dy, int32_t ncol, int32_t nrow) override {
    // interp_lineal_mr(xnodes, ynodes, xp, yp, n, field, out, x0, y0, dx, dy, ncol, nrow);
    unbound("interp_lineal_mr", xnodes, ynodes, xp, yp, n, field, out, x0, y0, dx, dy, ncol, nrow);
  }
  void interp_lineal_mr_capas(std::span<const double> xnodes, std::span<const double> ynodes,
                              std::span<const double> xp, std::span<const double> yp, int32_t n,
                              const farray<double, 2>& field, farray<double, 2>& out, double x0, double y0,
                              double dx, double dy, int32_t ncol, int32_t nrow) override {
    // interp_lineal_mr_capas(xnodes, ynodes, xp, yp, n, field, out, x0, y0, dx, dy, ncol, nrow);
    unbound("interp_lineal_mr_capas", xnodes, ynodes, xp, yp, n, field, out, x0, y0, dx, dy, ncol, nrow);
  }
  void interp_lin_1d(double x, double& out, double x1, double x2, double y1, double y2) override {
    // interp_lin_1d(x, out, x1, x2, y1, y2);
    unbound("interp_lin_1d", x, out, x1, x2, y1, y2);
  }

  // Particle states, velocities and the Runge-Kutta stage: bound with the
  // particle routines.
  void update_indp(int32_t spill, int32_t step) override {
    // update_indp(spill, step);
    unbound("update_indp", spill, step);
  }
  void update_par(int32_t spill, int32_t step) override {
    // update_par(spill, step);
    unbound("update_par", spill, step);
  }
  void vel_adv_2d(int32_t spill, int32_t step) override {
    // vel_adv_2d(spill, step);
    unbound("vel_adv_2d", spill, step);
  }
  void vel_adv_3d(int32_t spill, int32_t step) override {
    // vel_adv_3d(spill, step);
    unbound("vel_adv_3d", spill, step);
  }
  void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0, std::span<const double> y0,
              std::span<double> xs, std::span<double> ys, std::span<double> u, std::span<double> v) override {
    // rungek(spill, stage, k, x0, y0, xs, ys, u, v);
    unbound("rungek", spill, stage, k, x0, y0, xs, ys, u, v);
  }

  // Statistics and writers: bound with the output routines.
  void esc_particulas(const std::string& clave, int32_t iteration, int32_t sim) override {
    // esc_particulas(clave, iteration, sim);
    unbound("esc_particulas", clave, iteration, sim);
  }
  void probabilidad(int32_t spill, int32_t step) override {
    // probabilidad(spill, step);
    unbound("probabilidad", spill, step);
  }
  void probabilidad_3d(int32_t spill, int32_t step) override {
    // probabilidad_3d(spill, step);
    unbound("probabilidad_3d", spill, step);
  }
  void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim) override {
    // concentracion(spill, step, clave, sim);
    unbound("concentracion", spill, step, clave, sim);
  }
  void concentracion_hns2d(int32_t spill, int32_t step, const std::string& clave, int32_t sim) override {
    // concentracion_hns2d(spill, step, clave, sim);
    unbound("concentracion_hns2d", spill, step, clave, sim);
  }
  void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps) override {
    // esc_propiedades_fuel(clave, step, nsteps);
    unbound("esc_propiedades_fuel", clave, step, nsteps);
  }
};

}  // namespace

engine_calls& real_engine_calls() {
  static real_calls calls;
  return calls;
}

}  // namespace orvel
