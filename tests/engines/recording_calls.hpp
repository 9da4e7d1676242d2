// A stand-in for the subsystem routines that records every call the frame
// makes, with the step counter at the time of the call and its key
// arguments, so that tests can compare call sequences as tables.
//
// It does what the frame relies on from the readers and nothing more: the
// first blended wave and wind read advances its record index (held at the
// list length); record reads put the record number into the fields they
// fill, so that the levels seen by a blend show which records are in use.
// The blends write their weight into the node fields, and rungek marks them
// with minus the stage, as the real stage re-blends them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "control/state/all.hpp"
#include "engines/engine_calls.hpp"
#include "engines/frame.hpp"

namespace orvel::testing {

// A float as the shortest text that reads back to it (0.5, 0.25, 0.166666672).
inline std::string g(double v) {
  char b[40];
  for (int prec = 1; prec <= 17; ++prec) {
    std::snprintf(b, sizeof b, "%.*g", prec, v);
    if (std::stod(b) == v) break;
  }
  return b;
}
inline std::string g(float v) {
  char b[40];
  for (int prec = 1; prec <= 9; ++prec) {
    std::snprintf(b, sizeof b, "%.*g", prec, static_cast<double>(v));
    if (std::stof(b) == v) break;
  }
  return b;
}

class recording_calls : public engine_calls {
 public:
  struct entry {
    int32_t step;
    std::string text;
  };
  std::vector<entry> log;
  const engine_frame* frame = nullptr;  // names the frame's arrays and gives the step counter
  bool show_levels = false;             // add the start > end levels to the blend entries
  bool show_fields = false;             // add the first value of the field to the interpolation entries
  bool show_positions = false;          // add the first particle's longitude to the interpolation entries
  // Arrays of an engine's own that the entries name (the 3-D pass's blends).
  std::vector<std::pair<const farray<double, 2>*, std::string>> named_arrays;

  // The entries of the given routines, as "step:call" (or "call" with
  // with_step false), in the order they were made.
  std::vector<std::string> of(const std::set<std::string>& routines, bool with_step = true) const {
    std::vector<std::string> r;
    for (const auto& e : log) {
      const std::string name = e.text.substr(0, e.text.find('('));
      if (routines.count(name)) r.push_back(with_step ? std::to_string(e.step) + ":" + e.text : e.text);
    }
    return r;
  }
  std::vector<std::string> all_calls() const {
    std::vector<std::string> r;
    for (const auto& e : log) r.push_back(e.text);
    return r;
  }
  // Records a call made by the test engine's hooks.
  void note(const std::string& text) { log.push_back({frame ? frame->step : 0, text}); }

  // Name of the array whose storage starts at p (column 1 for two-dimensional
  // arrays).
  std::string name(const double* p) const {
    std::string found = "?";
    auto check = [&](const auto& a, const char* n) {
      if (a.allocated() && a.size() > 0 && a.data() == p) found = n;
    };
    if (frame) {
      check(frame->x_pass, "x_pass");
      check(frame->y_pass, "y_pass");
      check(frame->x_rk0, "x_rk0");
      check(frame->y_rk0, "y_rk0");
      check(frame->u_blend, "u_blend");
      check(frame->v_blend, "v_blend");
      check(frame->windx_blend, "windx_blend");
      check(frame->windy_blend, "windy_blend");
      check(frame->hwavex_blend, "hwavex_blend");
      check(frame->hwavey_blend, "hwavey_blend");
      check(frame->twave_blend, "twave_blend");
    }
    for (const auto& [a, n] : named_arrays) check(*a, n.c_str());
    const auto& cw = var_currwindwave;
    check(cw.windx, "windx");
    check(cw.windy, "windy");
    check(cw.xv, "xv");
    check(cw.yv, "yv");
    check(cw.hwavex, "hwavex");
    check(cw.hwavey, "hwavey");
    check(cw.twave, "twave");
    check(cw.xh, "xh");
    check(cw.yh, "yh");
    check(cw.wintx, "wintx");
    check(cw.winty, "winty");
    check(cw.hintx, "hintx");
    check(cw.hinty, "hinty");
    check(cw.tint, "tint");
    check(cw.u_curr_int, "u_curr_int");
    check(cw.v_curr_int, "v_curr_int");
    const auto& c2 = var2;
    check(c2.u_curr_read, "u_curr_read");
    check(c2.v_curr_read, "v_curr_read");
    check(c2.xcorr_u, "xcorr_u");
    check(c2.ycorr_u, "ycorr_u");
    check(c2.xcorr_v, "xcorr_v");
    check(c2.ycorr_v, "ycorr_v");
    check(c2.w_curr_read, "w_curr_read");
    check(c2.xcorr_w, "xcorr_w");
    check(c2.ycorr_w, "ycorr_w");
    check(cw.u_int_xypart, "u_int_xypart");
    check(cw.v_int_xypart, "v_int_xypart");
    check(cw.w_int_xypart, "w_int_xypart");
    return found;
  }

  // Forcing lists and records.
  void lee_listafich(int32_t kind, int32_t sim, int32_t&) override {
    add("lee_listafich(" + std::to_string(kind) + "," + std::to_string(sim) + ")");
  }
  void lee_forcings(int32_t kind) override {
    add("lee_forcings(" + std::to_string(kind) + ")");
    if (kind == 1) current_record(var1.i_vel, var_run.temporalinterpcurr__y_n == 1);
    if (kind == 2) put_waves(var1.i_ola);
    if (kind == 3) put_wind(var1.i_viento);
  }
  void lee_forcings_interp(int32_t kind) override {
    add("lee_forcings_interp(" + std::to_string(kind) + ")");
    auto advance = [](int32_t& i, int32_t n) {
      if (i != n) ++i;
    };
    if (kind == 1) {
      current_start(var1.i_vel);
    } else if (kind == 2) {
      put_waves_start(var1.i_ola);
      advance(var1.i_ola, var_cfg.wavesfilesorlines_number);
      put_waves(var1.i_ola);
    } else if (kind == 3) {
      put_wind_start(var1.i_viento);
      advance(var1.i_viento, var_cfg.windfilesorlines_number);
      put_wind(var1.i_viento);
    }
  }
  void lee_velocidad(int32_t i) override {
    add("lee_velocidad(" + std::to_string(i) + ")");
    current_record(i, true);
  }
  void vel_part(int32_t i) override {
    add("vel_part(" + std::to_string(i) + ")");
    current_record(i, false);
  }
  void vel_partinterp(int32_t i) override {
    add("vel_partinterp(" + std::to_string(i) + ")");
    current_record(i, true);
  }
  void lee_ola(int32_t i) override {
    add("lee_ola(" + std::to_string(i) + ")");
    put_waves(i);
  }
  void ola_part(int32_t i) override {
    add("ola_part(" + std::to_string(i) + ")");
    put_waves(i);
  }
  void ola_partinterp(int32_t i) override {
    add("ola_partinterp(" + std::to_string(i) + ")");
    put_waves(i);
  }
  void lee_viento(int32_t i) override {
    add("lee_viento(" + std::to_string(i) + ")");
    put_wind(i);
  }
  void viento_part(int32_t i) override {
    add("viento_part(" + std::to_string(i) + ")");
    put_wind(i);
  }
  void viento_partinterp(int32_t i) override {
    add("viento_partinterp(" + std::to_string(i) + ")");
    put_wind(i);
  }

  // Blends: the weight goes into the node fields.
  void interp_corr(float f, std::span<double> u, std::span<double> v) override {
    add("interp_corr(" + g(f) + levels(first(var2.u0), first(var2.u_curr_read)) + ")");
    fill(u, f);
    fill(v, f);
  }
  // Every layer: the weight into every node of every layer.
  void interp_corr_capas(float f, farray<double, 2>& u, farray<double, 2>& v, farray<double, 2>& w) override {
    add("interp_corr_capas(" + g(f) + ")");
    u.fill(f);
    v.fill(f);
    w.fill(f);
  }
  void interp_vel_part(float f) override {
    add("interp_vel_part(" + g(f) + levels(first(var_currwindwave.vuint0), first(var_currwindwave.vuint_t1)) +
        ")");
  }
  void interp_viento(float f, std::span<double> wx, std::span<double> wy) override {
    add("interp_viento(" + g(f) + levels(first(var_currwindwave.windx0), first(var_currwindwave.windx)) + ")");
    fill(wx, f);
    fill(wy, f);
  }
  void interp_viento_part(float f) override {
    add("interp_viento_part(" + g(f) + levels(first(var_currwindwave.wintx0), first(var_currwindwave.wintx_t1)) +
        ")");
  }
  void interp_ola(float f, std::span<double> hx, std::span<double> hy, std::span<double> t) override {
    add("interp_ola(" + g(f) + levels(first(var_currwindwave.hwavex0), first(var_currwindwave.hwavex)) + ")");
    fill(hx, f);
    fill(hy, f);
    fill(t, f);
  }
  void interp_ola_part(float f) override {
    add("interp_ola_part(" + g(f) + levels(first(var_currwindwave.hintx0), first(var_currwindwave.hintx_t1)) +
        ")");
  }

  void mallas_forzamientos(std::span<const double> x, std::span<const double>, int32_t n, double& x0, double&,
                           double&, double&, int32_t& ncol, int32_t& nrow) override {
    add("mallas_forzamientos(" + name(x.data()) + "," + std::to_string(n) + ")");
    // A recognisable grid: origin 360 + n, n nodes in one row.
    x0 = 360.0 + n;
    ncol = n;
    nrow = 1;
  }
  void interp_lineal(std::span<const double>, std::span<const double>, std::span<const double> xp,
                     std::span<const double>, int32_t, std::span<const double> field,
                     std::span<double> out) override {
    add("interp_lineal(" + field_text(field) + ">" + name(out.data()) + at(xp) + ")");
  }
  void interp_lineal_mr(std::span<const double>, std::span<const double>, std::span<const double> xp,
                        std::span<const double>, int32_t, std::span<const double> field, std::span<double> out,
                        double x0, double, double, double, int32_t, int32_t) override {
    add("interp_lineal_mr(" + field_text(field) + ">" + name(out.data()) + at(xp) +
        (show_fields ? ";x0=" + g(x0) : "") + ")");
  }
  // Layer l of every particle takes the layer's first node value.
  void interp_lineal_mr_capas(std::span<const double>, std::span<const double>, std::span<const double>,
                              std::span<const double>, int32_t, const farray<double, 2>& field,
                              farray<double, 2>& out, double x0, double, double, double, int32_t,
                              int32_t) override {
    add("interp_lineal_mr_capas(" + name(field.data()) + ">" + name(out.data()) + (show_fields ? ";x0=" + g(x0) : "") +
        ")");
    for (int32_t l = 1; l <= out.size(2) && l <= field.size(2); ++l) {
      for (int32_t p = 1; p <= out.size(1); ++p) out(p, l) = field.size(1) > 0 ? field(1, l) : 0.0;
    }
  }
  void interp_lin_1d(double x, double& out, double x1, double x2, double y1, double y2) override {
    add("interp_lin_1d(" + g(x) + ")");
    out = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
  }

  void update_indp(int32_t spill, int32_t step) override { add("update_indp(" + two(spill, step) + ")"); }
  void update_par(int32_t spill, int32_t step) override { add("update_par(" + two(spill, step) + ")"); }
  void vel_adv_2d(int32_t spill, int32_t step) override { add("vel_adv_2d(" + two(spill, step) + ")"); }
  void vel_adv_3d(int32_t spill, int32_t step) override { add("vel_adv_3d(" + two(spill, step) + ")"); }
  void rungek(int32_t spill, int32_t stage, int32_t k, std::span<const double> x0, std::span<const double>,
              std::span<double> xs, std::span<double>, std::span<double> u, std::span<double> v) override {
    add("rungek(" + std::to_string(spill) + "," + std::to_string(stage) + "," + std::to_string(k) + ")");
    if (stage <= 3) {
      fill(u, -stage);
      fill(v, -stage);
      // The next stage is interpolated at a position of its own.
      for (std::size_t p = 0; p < xs.size(); ++p) xs[p] = x0[p] + 0.001 * stage;
    }
  }

  // Placement and the cloud's area: the hull is the first min(n, 3) points
  // and its area hull_area.
  float hull_area = 1.0e-6f;
  void part_ini_2d(int32_t sim) override { add("part_ini_2d(" + std::to_string(sim) + ")"); }
  void part_ini_2d_circle(int32_t sim) override { add("part_ini_2d_circle(" + std::to_string(sim) + ")"); }
  void lee_particle_positions(int32_t sim) override { add("lee_particle_positions(" + std::to_string(sim) + ")"); }
  void envelope(std::span<const double>, std::span<const double>, int32_t n, std::span<int32_t> vertex,
                int32_t& nvert, std::span<int32_t>) override {
    add("envelope(" + std::to_string(n) + ")");
    nvert = n < 3 ? n : 3;
    for (int32_t i = 0; i < nvert; ++i) vertex[static_cast<std::size_t>(i)] = i + 1;
  }
  void polyarea(std::span<const double>, std::span<const double>, int32_t n, float& area) override {
    add("polyarea(" + std::to_string(n) + ")");
    area = hull_area;
  }
  void initialarea(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) override {
    add("initialarea(" + two(spill, sim) + ")");
    spill_tstart(spill) = var_cfg.spillstarttime(spill);
  }
  void part_pro() override { add("part_pro()"); }
  void part_ini_blowout(int32_t spill) override { add("part_ini_blowout(" + std::to_string(spill) + ")"); }
  void dropletsizedistributionunified_li2017(int32_t spill) override {
    add("dropletsizedistributionunified_li2017(" + std::to_string(spill) + ")");
  }
  void dropletsizedistribution(int32_t spill) override {
    add("dropletsizedistribution(" + std::to_string(spill) + ")");
  }
  void read_droplets(int32_t spill) override { add("read_droplets(" + std::to_string(spill) + ")"); }
  void getparthnsinitialstate3d(int32_t sim) override {
    add("getparthnsinitialstate3d(" + std::to_string(sim) + ")");
  }
  void getparthnsproperties_3d() override { add("getparthnsproperties_3d()"); }
  void balance_vertido_tierra_hns_3d(int32_t spill) override {
    add("balance_vertido_tierra_hns_3d(" + std::to_string(spill) + ")");
  }
  void entrainedparticlesredistribution_hns3d(int32_t spill, farray<double, 1>&) override {
    add("entrainedparticlesredistribution_hns3d(" + std::to_string(spill) + ")");
  }
  void dissolve_3d(int32_t spill) override { add("dissolve_3d(" + std::to_string(spill) + ")"); }
  void updateparthnsproperties_3d(int32_t spill) override {
    add("updateparthnsproperties_3d(" + std::to_string(spill) + ")");
  }
  void column_states_hns3d(int32_t spill) override { add("column_states_hns3d(" + std::to_string(spill) + ")"); }
  void carry_with_current_2d(int32_t spill) override {
    add("carry_with_current_2d(" + std::to_string(spill) + ")");
  }

  void dispersion_2d(int32_t spill) override { add("dispersion_2d(" + std::to_string(spill) + ")"); }
  void busca_parts_intersect(int32_t spill, int32_t step) override {
    add("busca_parts_intersect(" + two(spill, step) + ")");
  }
  void posicion_2d_local(int32_t spill, int32_t step, const farray<coast_polygon, 1>&) override {
    add("posicion_2d_local(" + two(spill, step) + ")");
  }
  void posicion_2d(int32_t spill, int32_t step) override { add("posicion_2d(" + two(spill, step) + ")"); }
  void verticaldiffusionvelocity(int32_t spill, int32_t step) override {
    add("verticaldiffusionvelocity(" + two(spill, step) + ")");
  }
  void posicion_3d(int32_t spill, int32_t step) override { add("posicion_3d(" + two(spill, step) + ")"); }
  void posicion_3d_spread(int32_t spill, int32_t step, double, double) override {
    add("posicion_3d_spread(" + two(spill, step) + ")");
  }
  void spreading(int32_t spill, int32_t step, farray<double, 1>&, double&, double&) override {
    add("spreading(" + two(spill, step) + ")");
  }
  void dispersion_2d_spread(int32_t spill, double) override {
    add("dispersion_2d_spread(" + std::to_string(spill) + ")");
  }
  void busca_parts_inter_spread(int32_t spill, int32_t step, double, double) override {
    add("busca_parts_inter_spread(" + two(spill, step) + ")");
  }
  void posicion_2d_local_spread(int32_t spill, int32_t step, const farray<coast_polygon, 1>&) override {
    add("posicion_2d_local_spread(" + two(spill, step) + ")");
  }
  void posicion_2d_spread(int32_t spill, int32_t step, double, double) override {
    add("posicion_2d_spread(" + two(spill, step) + ")");
  }
  void evaporacion(int32_t spill, farray<double, 1>&) override { add("evaporacion(" + std::to_string(spill) + ")"); }
  void evaporacion_spread(int32_t spill, farray<double, 1>&) override {
    add("evaporacion_spread(" + std::to_string(spill) + ")");
  }
  void verticaldispersion(int32_t spill, farray<double, 1>&) override {
    add("verticaldispersion(" + std::to_string(spill) + ")");
  }
  void entrainedparticlesredistribution(int32_t spill, farray<double, 1>&) override {
    add("entrainedparticlesredistribution(" + std::to_string(spill) + ")");
  }
  void emulsion(int32_t spill) override { add("emulsion(" + std::to_string(spill) + ")"); }
  void balance_vertido_tierra(int32_t spill) override {
    add("balance_vertido_tierra(" + std::to_string(spill) + ")");
  }
  void balance_masa(int32_t spill) override { add("balance_masa(" + std::to_string(spill) + ")"); }
  void evaluo(int32_t spill) override { add("evaluo(" + std::to_string(spill) + ")"); }
  void evaluo_spread(int32_t spill, farray<double, 1>&) override {
    add("evaluo_spread(" + std::to_string(spill) + ")");
  }

  void findhnsbehaviourclass(int32_t spill, float, float, float, float, int32_t&) override {
    add("findhnsbehaviourclass(" + std::to_string(spill) + ")");
  }
  void initialareahns(int32_t spill, farray<double, 1>& spill_tstart, int32_t sim) override {
    add("initialareahns(" + two(spill, sim) + ")");
    spill_tstart(spill) = var_cfg.spillstarttime(spill);
  }
  void getparthnsinitialstate(int32_t sim) override { add("getparthnsinitialstate(" + std::to_string(sim) + ")"); }
  void getparthnsproperties() override { add("getparthnsproperties()"); }
  void getdegradationprocesses() override { add("getdegradationprocesses()"); }
  void spreadinghns(int32_t spill, int32_t step, farray<double, 1>&, double&, double&) override {
    add("spreadinghns(" + two(spill, step) + ")");
  }
  void balance_vertido_tierra_hns(int32_t spill) override {
    add("balance_vertido_tierra_hns(" + std::to_string(spill) + ")");
  }
  void evaporacionhns(int32_t spill, farray<double, 1>&) override {
    add("evaporacionhns(" + std::to_string(spill) + ")");
  }
  void verticaldispersion_hns(int32_t spill, farray<double, 1>&) override {
    add("verticaldispersion_hns(" + std::to_string(spill) + ")");
  }
  void dissolve_2d(int32_t spill, farray<double, 1>&) override { add("dissolve_2d(" + std::to_string(spill) + ")"); }
  void settling(int32_t spill) override { add("settling(" + std::to_string(spill) + ")"); }
  void volatilize(int32_t spill) override { add("volatilize(" + std::to_string(spill) + ")"); }
  void degrade(int32_t spill) override { add("degrade(" + std::to_string(spill) + ")"); }
  void updateparthnsproperties(int32_t spill) override {
    add("updateparthnsproperties(" + std::to_string(spill) + ")");
  }
  void evaluo_hns(int32_t spill, farray<double, 1>&) override { add("evaluo_hns(" + std::to_string(spill) + ")"); }

  void esc_particulas(const std::string& clave, int32_t iteration, int32_t sim) override {
    add("esc_particulas(" + clave + "," + std::to_string(iteration) + "," + std::to_string(sim) + ")");
  }
  void probabilidad(int32_t spill, int32_t step) override {
    add("probabilidad(" + two(spill, step) + ";cont_p=" + std::to_string(var_mallas.cont_p) + ")");
  }
  void probabilidad_3d(int32_t spill, int32_t step) override {
    add("probabilidad_3d(" + two(spill, step) + ";cont_p=" + std::to_string(var_mallas.cont_p) + ")");
  }
  void concentracion(int32_t spill, int32_t step, const std::string&, int32_t sim, int32_t stamp) override {
    add("concentracion(" + two(spill, step) + "," + two(sim, stamp) + ";cont_p=" +
        std::to_string(var_mallas.cont_p) + ")");
  }
  void concentracion_hns2d(int32_t spill, int32_t step, const std::string&, int32_t sim, int32_t stamp) override {
    add("concentracion_hns2d(" + two(spill, step) + "," + two(sim, stamp) + ")");
  }
  void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps) override {
    add("esc_propiedades_fuel(" + clave + "," + two(step, nsteps) + ")");
  }

 protected:
  void add(const std::string& text) { log.push_back({frame ? frame->step : 0, text}); }

 private:
  static std::string two(int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); }
  static void fill(std::span<double> a, double v) {
    for (auto& x : a) x = v;
  }
  template <typename A>
  static double first(const A& a) {
    return a.allocated() && a.size() > 0 ? a.data()[0] : -99.0;
  }
  std::string levels(double start, double end) const {
    return show_levels ? ";" + g(start) + ">" + g(end) : "";
  }
  std::string field_text(std::span<const double> field) const {
    return name(field.data()) + (show_fields && !field.empty() ? "=" + g(field[0]) : "");
  }
  std::string at(std::span<const double> xp) const {
    return show_positions && !xp.empty() ? "@" + g(xp[0]) : "";
  }

  // Record i of the currents into the fields in use (files or series).
  static void current_record(int32_t i, bool end_of_interval) {
    auto& c2 = var2;
    auto& cw = var_currwindwave;
    if (c2.u_curr_read.allocated()) {
      for (int32_t n = 1; n <= c2.u_curr_read.size(1); ++n) c2.u_curr_read(n, 1) = i;
    }
    if (c2.w_curr_read.allocated()) c2.w_curr_read.fill(i);
    if (c2.indland.allocated()) c2.indland.fill(i % 2);
    if (c2.mask.allocated()) c2.mask.fill(i % 2);
    if (end_of_interval && cw.vuint_t1.allocated()) cw.vuint_t1.fill(i);
  }
  static void current_start(int32_t i) {
    auto& c2 = var2;
    if (c2.u0.allocated()) c2.u0.fill(i);
    if (c2.indland0.allocated()) c2.indland0.fill(i % 2);
    if (c2.mask0.allocated()) c2.mask0.fill(i % 2);
    if (var_currwindwave.vuint0.allocated()) var_currwindwave.vuint0.fill(i);
  }
  static void put_waves(int32_t i) {
    auto& cw = var_currwindwave;
    if (cw.hwavex.allocated()) cw.hwavex.fill(i);
    if (cw.hintx_t1.allocated()) cw.hintx_t1.fill(i);
  }
  static void put_waves_start(int32_t i) {
    auto& cw = var_currwindwave;
    if (cw.hwavex0.allocated()) cw.hwavex0.fill(i);
    if (cw.hintx0.allocated()) cw.hintx0.fill(i);
  }
  static void put_wind(int32_t i) {
    auto& cw = var_currwindwave;
    if (cw.windx.allocated()) cw.windx.fill(i);
    if (cw.wintx_t1.allocated()) cw.wintx_t1.fill(i);
  }
  static void put_wind_start(int32_t i) {
    auto& cw = var_currwindwave;
    if (cw.windx0.allocated()) cw.windx0.fill(i);
    if (cw.wintx0.allocated()) cw.wintx0.fill(i);
  }
};

}  // namespace orvel::testing
