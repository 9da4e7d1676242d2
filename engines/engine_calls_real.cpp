// The engine calls bound to the model's routines.  This is the one place
// where the engines meet the forcing readers and interpolators, the particle
// routines, the fate routines and the result writers.
#include <cstdint>
#include <span>
#include <string>

#include "control/state/all.hpp"
#include "engines/engine_calls.hpp"
#include "fate/droplets.hpp"
#include "fate/hns_setup.hpp"
#include "fate/hns_slick.hpp"
#include "fate/hns_water.hpp"
#include "fate/initial_slick.hpp"
#include "fate/oil_weathering.hpp"
#include "forcing/blend.hpp"
#include "forcing/currents.hpp"
#include "forcing/dispatch.hpp"
#include "forcing/interp.hpp"
#include "forcing/lists.hpp"
#include "forcing/series.hpp"
#include "forcing/waves.hpp"
#include "forcing/wind.hpp"
#include "output/grid_statistics.hpp"
#include "output/particle_files.hpp"
#include "output/property_files.hpp"
#include "transport/blowout.hpp"
#include "transport/diffusion.hpp"
#include "transport/hull.hpp"
#include "transport/placement.hpp"
#include "transport/position.hpp"
#include "transport/rungekutta.hpp"
#include "transport/states.hpp"
#include "transport/velocities.hpp"

namespace orvel {
namespace {

// The current blend of the Runge-Kutta stages: the node fields of the U and V
// currents, sized by their node counts.
void blend_current_nodes(float f, double* u, double* v) {
  const auto& n = var_cfg.xyzcurrentnodes_number;
  ::orvel::interp_corr(f, std::span<double>(u, static_cast<std::size_t>(n[0] > 0 ? n[0] : 0)),
                       std::span<double>(v, static_cast<std::size_t>(n[1] > 0 ? n[1] : 0)));
}

// A node list as an array of its own, for the grid geometry (called once
// per simulation and grid).
farray<double, 1> copy_of(std::span<const double> a) {
  farray<double, 1> r{"nodes"};
  r.allocate(static_cast<int32_t>(a.size()));
  for (std::size_t i = 0; i < a.size(); ++i) r.data()[i] = a[i];
  return r;
}

struct real_calls final : engine_calls {
  // Forcing lists and records.
  void lee_listafich(int32_t kind, int32_t sim, int32_t& wflag) override { ::orvel::lee_listafich(kind, sim, wflag); }
  void lee_forcings(int32_t kind) override { ::orvel::lee_forcings(kind); }
  void lee_forcings_interp(int32_t kind) override { ::orvel::lee_forcings_interp(kind); }
  void lee_velocidad(int32_t i) override { ::orvel::lee_velocidad(i); }
  void vel_part(int32_t i) override { ::orvel::vel_part(i); }
  void vel_partinterp(int32_t i) override { ::orvel::vel_partinterp(i); }
  void lee_ola(int32_t i) override { ::orvel::lee_ola(i); }
  void ola_part(int32_t i) override { ::orvel::ola_part(i); }
  void ola_partinterp(int32_t i) override { ::orvel::ola_partinterp(i); }
  void lee_viento(int32_t i) override { ::orvel::lee_viento(i); }
  void viento_part(int32_t i) override { ::orvel::viento_part(i); }
  void viento_partinterp(int32_t i) override { ::orvel::viento_partinterp(i); }

  // Time blending and spatial interpolation.
  void interp_corr(float f, std::span<double> u, std::span<double> v) override { ::orvel::interp_corr(f, u, v); }
  void interp_corr_capas(float f, farray<double, 2>& u, farray<double, 2>& v, farray<double, 2>& w) override {
    ::orvel::interp_corr_capas(f, u, v, w);
  }
  void interp_vel_part(float f) override { ::orvel::interp_vel_part(f); }
  void interp_viento(float f, std::span<double> wx, std::span<double> wy) override {
    ::orvel::interp_viento(f, wx, wy);
  }
  void interp_viento_part(float f) override { ::orvel::interp_viento_part(f); }
  void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t) override {
    ::orvel::interp_ola(f, hx, hy, t);
  }
  void interp_ola_part(float f) override { ::orvel::interp_ola_part(f); }
  void mallas_forzamientos(std::span<const double> x, std::span<const double> y, int32_t n, double& x0,
                           double& y0, double& dx, double& dy, int32_t& ncol, int32_t& nrow) override {
    ::orvel::mallas_forzamientos(copy_of(x), copy_of(y), n, x0, y0, dx, dy, ncol, nrow);
  }
  void interp_lineal(std::span<const double> xnodes, std::span<const double> ynodes, std::span<const double> xp,
                     std::span<const double> yp, int32_t n, std::span<const double> field,
                     std::span<double> out) override {
    ::orvel::interp_lineal(xnodes, ynodes, xp, yp, n, field, out);
  }
  void interp_lineal_mr(std::span<const double> xnodes, std::span<const double> ynodes,
                        std::span<const double> xp, std::span<const double> yp, int32_t n,
                        std::span<const double> field, std::span<double> out, double x0, double y0, double dx,
                        double dy, int32_t ncol, int32_t nrow) override {
    ::orvel::interp_lineal_mr(xnodes, ynodes, xp, yp, n, field, out, x0, y0, dx, dy, ncol, nrow);
  }
  void interp_lineal_mr_capas(std::span<const double> xnodes, std::span<const double> ynodes,
                              std::span<const double> xp, std::span<const double> yp, int32_t n,
                              const farray<double, 2>& field, farray<double, 2>& out, double x0, double y0,
                              double dx, double dy, int32_t ncol, int32_t nrow) override {
    ::orvel::interp_lineal_mr_capas(xnodes, ynodes, xp, yp, n,
                                    std::span<const double>(field.data(), static_cast<std::size_t>(field.size())),
                                    std::span<double>(out.data(), static_cast<std::size_t>(out.size())), x0, y0, dx,
                                    dy, ncol, nrow);
  }
  void interp_lin_1d(double x, double& out, double x1, double x2, double y1, double y2) override {
    ::orvel::interp_lin_1d(x, out, x1, x2, y1, y2);
  }

  // Particle states, velocities and the Runge-Kutta stage.
  void update_indp(int32_t spill, int32_t step) override { ::orvel::update_indp(spill, step); }
  void update_par(int32_t spill, int32_t step) override { ::orvel::update_par(spill, step); }
  void vel_adv_2d(int32_t spill, int32_t step) override { ::orvel::vel_adv_2d(spill, step); }
  void vel_adv_3d(int32_t spill, int32_t step) override { ::orvel::vel_adv_3d(spill, step); }
  void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0, std::span<const double> y0,
              std::span<double> xs, std::span<double> ys, std::span<double> u, std::span<double> v) override {
    // The stage blends are used only when current files are blended in time.
    const bool blended = var_run.temporalinterpcurr__y_n == 1 && var_cfg.currenttype__file_constant == 1;
    ::orvel::rungek(spill, stage, k, x0.data(), y0.data(), xs.data(), ys.data(), u.data(), v.data(),
                    blended ? &blend_current_nodes : nullptr);
  }

  // Placement and the area of the particle cloud.
  void part_ini_2d(int32_t sim) override { ::orvel::part_ini_2d(sim); }
  void part_ini_2d_circle(int32_t sim) override { ::orvel::part_ini_2d_circle(sim); }
  void lee_particle_positions(int32_t sim) override {
    ::orvel::lee_particle_positions(sim);
  }
  void part_ini_blowout(int32_t spill) override { ::orvel::part_ini_blowout(spill); }
  void envelope(std::span<const double> x, std::span<const double> y, int32_t n, std::span<int32_t> vertex,
                int32_t& nvert, std::span<int32_t> iwk) override {
    ::orvel::envelope(x.data(), y.data(), n, vertex.data(), nvert, iwk.data());
  }
  void polyarea(std::span<const double> x, std::span<const double> y, int32_t n, float& area) override {
    ::orvel::polyarea(x.data(), y.data(), n, area);
  }

  // Oil initial slick and particle masses.
  void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) override {
    ::orvel::initialarea(spill, spill_tstart, sim);
  }
  void part_pro() override { ::orvel::part_pro(); }

  // Droplet sizes.
  void dropletsizedistributionunified_li2017(int32_t spill) override {
    ::orvel::dropletsizedistributionunified_li2017(spill);
  }
  void dropletsizedistribution(int32_t spill) override { ::orvel::dropletsizedistribution(spill); }
  void read_droplets(int32_t spill) override { ::orvel::read_droplets(spill); }

  // A chemical in three dimensions.
  void getparthnsinitialstate3d(int32_t sim) override { ::orvel::getparthnsinitialstate3d(sim); }
  void getparthnsproperties_3d() override { ::orvel::getparthnsproperties_3d(); }
  void balance_vertido_tierra_hns_3d(int32_t spill) override { ::orvel::balance_vertido_tierra_hns_3d(spill); }
  void entrainedparticlesredistribution_hns3d(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::entrainedparticlesredistribution_hns3d(spill, slick_area);
  }
  void dissolve_3d(int32_t spill) override {
    ::orvel::dissolve_3d(spill);
  }
  void updateparthnsproperties_3d(int32_t spill) override { ::orvel::updateparthnsproperties_3d(spill); }
  void column_states_hns3d(int32_t spill) override { ::orvel::column_states_hns3d(spill); }
  void carry_with_current_2d(int32_t spill) override { ::orvel::carry_with_current_2d(spill); }

  // Transport chain.
  void dispersion_2d(int32_t spill) override { ::orvel::dispersion_2d(spill); }
  void busca_parts_intersect(int32_t spill, int32_t step) override {
    ::orvel::busca_parts_intersect(spill, step);
  }
  void posicion_2d_local(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys) override {
    ::orvel::posicion_2d_local(spill, step, polys);
  }
  void posicion_2d(int32_t spill, int32_t step) override {
    ::orvel::posicion_2d(spill, step);
  }
  void verticaldiffusionvelocity(int32_t spill, int32_t step) override {
    ::orvel::verticaldiffusionvelocity(spill, step);
  }
  void posicion_3d(int32_t spill, int32_t step) override { ::orvel::posicion_3d(spill, step); }

  // Spreading chain.
  void spreading(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r,
                 double& coef_q) override {
    ::orvel::spreading(spill, step, slick_area, coef_r, coef_q);
  }
  void dispersion_2d_spread(int32_t spill, double coef_r) override { ::orvel::dispersion_2d_spread(spill, coef_r); }
  void busca_parts_inter_spread(int32_t spill, int32_t step, double coef_r, double coef_q) override {
    ::orvel::busca_parts_inter_spread(spill, step, coef_r, coef_q);
  }
  void posicion_2d_local_spread(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys) override {
    ::orvel::posicion_2d_local_spread(spill, step, polys);
  }
  bool moves_spills_together() override { return true; }
  void update_states_together(std::span<const int32_t> spills, int32_t step,
                              std::span<state_counts> counts) override {
    ::orvel::update_states_together(spills, step, counts);
  }
  void vel_adv_2d_together(std::span<const int32_t> spills, int32_t step) override {
    ::orvel::vel_adv_2d_together(spills, step);
  }
  void rungek_together(std::span<const int32_t> spills, int32_t stage, int32_t k, const double* x0, const double* y0,
                       double* xs, double* ys) override {
    ::orvel::rungek_together(spills, stage, k, x0, y0, xs, ys);
  }
  void moves_2d_together(std::span<const int32_t> spills, int32_t step, std::span<const spill_move> moves) override {
    ::orvel::moves_2d_together(spills, step, moves);
  }
  void posicion_2d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) override {
    ::orvel::posicion_2d_spread(spill, step, coef_r, coef_q);
  }
  void posicion_3d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) override {
    ::orvel::posicion_3d_spread(spill, step, coef_r, coef_q);
  }

  // Oil weathering.
  void evaporacion(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::evaporacion(spill, slick_area);
  }
  void evaporacion_spread(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::evaporacion_spread(spill, slick_area);
  }
  void verticaldispersion(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::verticaldispersion(spill, slick_area);
  }
  void entrainedparticlesredistribution(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::entrainedparticlesredistribution(spill, slick_area);
  }
  void emulsion(int32_t spill) override {
    ::orvel::emulsion(spill);
  }
  void balance_vertido_tierra(int32_t spill) override {
    ::orvel::balance_vertido_tierra(spill);
  }
  void balance_masa(int32_t spill) override {
    ::orvel::balance_masa(spill);
  }
  void evaluo(int32_t spill) override {
    ::orvel::evaluo(spill);
  }
  void evaluo_spread(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::evaluo_spread(spill, slick_area);
  }

  // Chemical set-up.
  void findhnsbehaviourclass(int32_t spill, float vaporpressure, float watersolubility, float density,
                             float waterdensity, int32_t& hnsbehaviourclass) override {
    ::orvel::findhnsbehaviourclass(spill, vaporpressure, watersolubility, density, waterdensity, hnsbehaviourclass);
  }
  void initialareahns(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) override {
    ::orvel::initialareahns(spill, spill_tstart, sim);
  }
  void getparthnsinitialstate(int32_t sim) override { ::orvel::getparthnsinitialstate(sim); }
  void getparthnsproperties() override { ::orvel::getparthnsproperties(); }
  void getdegradationprocesses() override { ::orvel::getdegradationprocesses(); }

  // Chemical slick and fate.
  void spreadinghns(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r,
                    double& coef_q) override {
    ::orvel::spreadinghns(spill, step, slick_area, coef_r, coef_q);
  }
  void balance_vertido_tierra_hns(int32_t spill) override { ::orvel::balance_vertido_tierra_hns(spill); }
  void evaporacionhns(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::evaporacionhns(spill, slick_area);
  }
  void verticaldispersion_hns(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::verticaldispersion_hns(spill, slick_area);
  }
  void dissolve_2d(int32_t spill, farray<double, 1>& slick_area) override {
    ::orvel::dissolve_2d(spill, slick_area);
  }
  void settling(int32_t spill) override {
    ::orvel::settling(spill);
  }
  void volatilize(int32_t spill) override {
    ::orvel::volatilize(spill);
  }
  void degrade(int32_t spill) override {
    ::orvel::degrade(spill);
  }
  void updateparthnsproperties(int32_t spill) override { ::orvel::updateparthnsproperties(spill); }
  void evaluo_hns(int32_t spill, farray<double, 1>& slick_area) override { ::orvel::evaluo_hns(spill, slick_area); }

  // Statistics and writers.
  void esc_particulas(const std::string& clave, int32_t iteration, int32_t sim) override {
    ::orvel::esc_particulas(clave, iteration, sim);
  }
  void probabilidad(int32_t spill, int32_t step) override { ::orvel::probabilidad(spill, step); }
  void probabilidad_3d(int32_t spill, int32_t step) override { ::orvel::probabilidad_3d(spill, step); }
  void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim, int32_t stamp) override {
    ::orvel::concentracion(spill, step, clave, sim, stamp);
  }
  void concentracion_hns2d(int32_t spill, int32_t step, const std::string& clave, int32_t sim,
                           int32_t stamp) override {
    ::orvel::concentracion_hns2d(spill, step, clave, sim, stamp);
  }
  void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t) override {
    property_rows_.finish(clave, step);
  }
  void property_rows(const std::string& clave, int32_t record) override { property_rows_.rows(clave, record); }
  std::string end_property_rows(bool keep) override { return property_rows_.end(keep); }

 private:
  property_rows_writer property_rows_;
};

}  // namespace

std::unique_ptr<engine_calls> real_engine_calls() { return std::make_unique<real_calls>(); }

}  // namespace orvel
