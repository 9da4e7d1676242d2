// The routines of the forcing, transport and output subsystems that the
// engine frame calls, gathered behind one interface.  The frame and the
// engines call them only through an engine_calls object, so that a run can be
// driven by the real routines (real_engine_calls) or by a test double that
// records the sequence of calls.
//
// Every member is named after the routine it stands for and takes that
// routine's arguments in its order.  Scalars going in are passed by value,
// scalars coming out by reference.  Arrays are spans over contiguous
// storage: a whole one-dimensional array, or one column of a two-dimensional
// one (the surface layer of u_curr_read, the first column of hintx).
// Record and forcing kinds: 1 currents, 2 waves, 3 wind.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "common/farray.hpp"
#include "control/state/coast_polygon.hpp"
#include "transport/together.hpp"

namespace orvel {

struct engine_calls {
  virtual ~engine_calls() = default;

  // Forcing lists and records.
  virtual void lee_listafich(int32_t kind, int32_t sim, int32_t& wflag) = 0;
  virtual void lee_forcings(int32_t kind) = 0;
  virtual void lee_forcings_interp(int32_t kind) = 0;
  virtual void lee_velocidad(int32_t i) = 0;
  virtual void vel_part(int32_t i) = 0;
  virtual void vel_partinterp(int32_t i) = 0;
  virtual void lee_ola(int32_t i) = 0;
  virtual void ola_part(int32_t i) = 0;
  virtual void ola_partinterp(int32_t i) = 0;
  virtual void lee_viento(int32_t i) = 0;
  virtual void viento_part(int32_t i) = 0;
  virtual void viento_partinterp(int32_t i) = 0;

  // Time blending of the two record levels: node fields into the spans,
  // uniform series straight into the particle arrays.
  virtual void interp_corr(float f, std::span<double> u, std::span<double> v) = 0;
  // Every current layer (node, layer), and the vertical current when there
  // is one, at the same weight.
  virtual void interp_corr_capas(float f, farray<double, 2>& u, farray<double, 2>& v, farray<double, 2>& w) = 0;
  virtual void interp_vel_part(float f) = 0;
  virtual void interp_viento(float f, std::span<double> wx, std::span<double> wy) = 0;
  virtual void interp_viento_part(float f) = 0;
  virtual void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t) = 0;
  virtual void interp_ola_part(float f) = 0;

  // Forcing-grid geometry and spatial interpolation to the particles.
  virtual void mallas_forzamientos(std::span<const double> x, std::span<const double> y, int32_t n,
                                   double& x0, double& y0, double& dx, double& dy, int32_t& ncol,
                                   int32_t& nrow) = 0;
  virtual void interp_lineal(std::span<const double> xnodes, std::span<const double> ynodes,
                             std::span<const double> xp, std::span<const double> yp, int32_t n,
                             std::span<const double> field, std::span<double> out) = 0;
  virtual void interp_lineal_mr(std::span<const double> xnodes, std::span<const double> ynodes,
                                std::span<const double> xp, std::span<const double> yp, int32_t n,
                                std::span<const double> field, std::span<double> out, double x0, double y0,
                                double dx, double dy, int32_t ncol, int32_t nrow) = 0;
  // field (n, layer) and out (particle, layer), every layer 1 .. numcapascorr.
  virtual void interp_lineal_mr_capas(std::span<const double> xnodes, std::span<const double> ynodes,
                                      std::span<const double> xp, std::span<const double> yp, int32_t n,
                                      const farray<double, 2>& field, farray<double, 2>& out, double x0,
                                      double y0, double dx, double dy, int32_t ncol, int32_t nrow) = 0;
  virtual void interp_lin_1d(double x, double& out, double x1, double x2, double y1, double y2) = 0;

  // Particle states, counts and velocities; the Runge-Kutta stage.
  virtual void update_indp(int32_t spill, int32_t step) = 0;
  virtual void update_par(int32_t spill, int32_t step) = 0;
  virtual void vel_adv_2d(int32_t spill, int32_t step) = 0;
  virtual void vel_adv_3d(int32_t spill, int32_t step) = 0;
  virtual void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0,
                      std::span<const double> y0, std::span<double> xs, std::span<double> ys,
                      std::span<double> u, std::span<double> v) = 0;

  // Placement of the particles and the area of a particle cloud.
  virtual void part_ini_2d(int32_t sim) = 0;
  virtual void part_ini_2d_circle(int32_t sim) = 0;
  virtual void lee_particle_positions(int32_t sim) = 0;
  virtual void part_ini_blowout(int32_t spill) = 0;
  // Convex hull of n points: the indices of its corners in vertex(1..nvert),
  // iwk work space; both hold at least n values.
  virtual void envelope(std::span<const double> x, std::span<const double> y, int32_t n, std::span<int32_t> vertex,
                        int32_t& nvert, std::span<int32_t> iwk) = 0;
  // Area of the polygon of n vertices in order, square degrees.
  virtual void polyarea(std::span<const double> x, std::span<const double> y, int32_t n, float& area) = 0;

  // Oil initial slick and particle masses.
  virtual void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) = 0;
  virtual void part_pro() = 0;

  // Droplet sizes of a 3-D run: the oil and chemical distributions, or the
  // blowout's droplet file.
  virtual void dropletsizedistributionunified_li2017(int32_t spill) = 0;
  virtual void dropletsizedistribution(int32_t spill) = 0;
  virtual void read_droplets(int32_t spill) = 0;

  // A chemical in three dimensions: placement at the surface or at depth,
  // the droplet masses and initial budgets, the re-sum of the compartments
  // by droplet equivalents, the entrained particles sent into the water
  // column, dissolution particle by particle and the re-sum after the fate
  // processes.
  virtual void getparthnsinitialstate3d(int32_t sim) = 0;
  virtual void getparthnsproperties_3d() = 0;
  virtual void balance_vertido_tierra_hns_3d(int32_t spill) = 0;
  virtual void entrainedparticlesredistribution_hns3d(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void dissolve_3d(int32_t spill) = 0;
  virtual void updateparthnsproperties_3d(int32_t spill) = 0;
  // After a move: a chemical that does not sink is lifted off the floor, a
  // gas that has come up goes into the air.
  virtual void column_states_hns3d(int32_t spill) = 0;
  // A chemical in two dimensions: its particles on the floor carried with
  // the current at the particle and the diffusivities just built.
  virtual void carry_with_current_2d(int32_t spill) = 0;

  // Transport chain: diffusivities, then the position update (nearest coast
  // point, or the move and the resolve against the coast polygons).
  virtual void dispersion_2d(int32_t spill) = 0;
  virtual void busca_parts_intersect(int32_t spill, int32_t step) = 0;
  virtual void posicion_2d_local(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys) = 0;
  virtual void posicion_2d(int32_t spill, int32_t step) = 0;
  // The same in three dimensions, with the vertical diffusivities of the step.
  virtual void verticaldiffusionvelocity(int32_t spill, int32_t step) = 0;
  virtual void posicion_3d(int32_t spill, int32_t step) = 0;

  // Spreading chain: the slick's growth and the spreading coefficients of the
  // step, the spreading diffusivities and the spreading position updates.
  virtual void spreading(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r,
                         double& coef_q) = 0;
  virtual void dispersion_2d_spread(int32_t spill, double coef_r) = 0;
  virtual void busca_parts_inter_spread(int32_t spill, int32_t step, double coef_r, double coef_q) = 0;
  virtual void posicion_2d_local_spread(int32_t spill, int32_t step, const farray<coast_polygon, 1>& polys) = 0;
  virtual void posicion_2d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) = 0;
  virtual void posicion_3d_spread(int32_t spill, int32_t step, double coef_r, double coef_q) = 0;

  // Oil weathering.
  virtual void evaporacion(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void evaporacion_spread(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void verticaldispersion(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void entrainedparticlesredistribution(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void emulsion(int32_t spill) = 0;
  virtual void balance_vertido_tierra(int32_t spill) = 0;
  virtual void balance_masa(int32_t spill) = 0;
  virtual void evaluo(int32_t spill) = 0;
  virtual void evaluo_spread(int32_t spill, farray<double, 1>& slick_area) = 0;

  // Chemical (HNS) set-up: behaviour class, initial slick area and start
  // time, placement and states, particle masses, process switches.
  virtual void findhnsbehaviourclass(int32_t spill, float vaporpressure, float watersolubility, float density,
                                     float waterdensity, int32_t& hnsbehaviourclass) = 0;
  virtual void initialareahns(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) = 0;
  virtual void getparthnsinitialstate(int32_t sim) = 0;
  virtual void getparthnsproperties() = 0;
  virtual void getdegradationprocesses() = 0;

  // Chemical slick and fate: spreading, the re-sum of the compartments,
  // evaporation, entrainment, dissolution, sorption, volatilisation,
  // degradation, the share-back to the particles and the slick properties.
  virtual void spreadinghns(int32_t spill, int32_t step, farray<double, 1>& slick_area, double& coef_r,
                            double& coef_q) = 0;
  virtual void balance_vertido_tierra_hns(int32_t spill) = 0;
  virtual void evaporacionhns(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void verticaldispersion_hns(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void dissolve_2d(int32_t spill, farray<double, 1>& slick_area) = 0;
  virtual void settling(int32_t spill) = 0;
  virtual void volatilize(int32_t spill) = 0;
  virtual void degrade(int32_t spill) = 0;
  virtual void updateparthnsproperties(int32_t spill) = 0;
  virtual void evaluo_hns(int32_t spill, farray<double, 1>& slick_area) = 0;

  // Statistics and result writers.
  virtual void esc_particulas(const std::string& clave, int32_t iteration, int32_t sim) = 0;
  virtual void probabilidad(int32_t spill, int32_t step) = 0;
  virtual void probabilidad_3d(int32_t spill, int32_t step) = 0;
  // stamp: the step whose instant the grid files carry, 0 at time 0 (the
  // time-0 output is made with step 1, like an output at the end of step 1).
  virtual void concentracion(int32_t spill, int32_t step, const std::string& clave, int32_t sim,
                             int32_t stamp) = 0;
  virtual void concentracion_hns2d(int32_t spill, int32_t step, const std::string& clave, int32_t sim,
                                   int32_t stamp) = 0;
  virtual void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps) = 0;
  // The property rows of the records up to `record`, written as the series
  // is made, and the end of them at a stop (kept with `keep`, with the words
  // the stop line adds, or removed).  Nothing to do for a test double.  The
  // model's own calls keep the rows of the engine run that owns them.
  virtual void property_rows(const std::string&, int32_t) {}
  virtual std::string end_property_rows(bool) { return {}; }

  // Several spills of a two-dimensional run moved in one piece of work (the
  // pulses of a continuous release; see transport/together.hpp).  A test
  // double that does not offer them moves every spill on its own.
  virtual bool moves_spills_together() { return false; }
  virtual void update_states_together(std::span<const int32_t>, int32_t, std::span<state_counts>) { unoffered(); }
  virtual void vel_adv_2d_together(std::span<const int32_t>, int32_t) { unoffered(); }
  virtual void rungek_together(std::span<const int32_t>, int32_t, int32_t, const double*, const double*, double*,
                               double*) {
    unoffered();
  }
  virtual void moves_2d_together(std::span<const int32_t>, int32_t, std::span<const spill_move>) { unoffered(); }

 private:
  [[noreturn]] static void unoffered() { throw std::logic_error("spills moved together by calls that do not offer it"); }
};

// The calls bound to the model's own routines, for one engine run: they hold
// the state of its property files.
std::unique_ptr<engine_calls> real_engine_calls();

}  // namespace orvel
