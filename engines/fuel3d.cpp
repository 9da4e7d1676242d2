#include "engines/fuel3d.hpp"

#include <algorithm>
#include <cstdint>
#include <span>

#include "control/run_rules.hpp"
#include "control/state/all.hpp"
#include "engines/engines.hpp"

namespace orvel {

fuel3d_engine::fuel3d_engine(engine_calls& calls, const std::string& clave, const farray<coast_polygon>& coord_str)
    : frame_3d<oil_frame>(calls, clave,
                          std::span<const coast_polygon>(coord_str.data(), static_cast<std::size_t>(coord_str.size()))),
      polygons_(coord_str) {}

void fuel3d_engine::set_up() {
  auto& c = var_cfg;
  const int32_t ns = c.spills_number;
  const int32_t np = var_run.particle_number;
  const bool blowout = var_run.blowout__y_n == 1;
  const bool operational = var_run.simtype__operat_probabil == 1;

  if (blowout) {
    for (int32_t s = 1; s <= ns; ++s) {
      // Hours to seconds once per run: later simulations find seconds.
      if (sim == 1) c.spillstarttime(s) = c.spillstarttime(s) * 3600.0;
      calls.part_ini_blowout(s);
      calls.read_droplets(s);
    }
  } else {
    calls.part_ini_2d(sim);
  }

  if (c.degrado == 1 && operational) {
    calls.part_pro();
  } else {
    // Without the oil set-up the droplet sizes and rise speeds take the
    // product's own density and viscosity, as the oil set-up starts them.
    auto& m = var4;
    ensure(m.dens, ns);
    ensure(m.visc, ns);
    for (int32_t s = 1; s <= ns; ++s) {
      m.dens(s) = static_cast<double>(var_spill.density(s));
      m.visc(s) = static_cast<double>(var_spill.viscosity(s));
    }
  }

  if (!blowout) {
    if (sim == 1) {
      ensure(var_part.w_float, np, ns);
      ensure(var_part.diam_part, np, ns);
    }
    for (int32_t s = 1; s <= ns; ++s) calls.dropletsizedistributionunified_li2017(s);
  }

  // No slick is computed in three dimensions: the area series starts from
  // the release rectangle (or the jet-end disc of a blowout), the thickness
  // series from 0.
  for (int32_t s = 1; s <= ns; ++s) {
    if (!blowout) var_spill.area_oil(s) = static_cast<float>(c.area0(s));
    c.thick(s) = 0.0;
  }

  var4.aguatot.fill(0.0f);
  if (c.degrado == 1 && c.obj__floating_fuel == 2) zero_weathering_masses();
  ensure(droplet_density_, ns);
  ensure(var_spill.area_share, ns);
  var_spill.area_share.fill(1.0);
}

void fuel3d_engine::before_spill_passes(float t) {
  if (var_cfg.spill__instant_contin == 2) share_the_rectangle(t);
}

// The pulses of a continuous release are one slick of one thickness: each
// pulse that has started weathers over the share of the release rectangle
// that its floating mass at the start of the step is of the floating mass of
// every started pulse, so that the release evaporates and disperses over the
// rectangle once, however many pulses it is cut into.  While nothing floats
// the started pulses share it equally (oil that comes up in the step is
// exposed over the rectangle once).
void fuel3d_engine::share_the_rectangle(float t) {
  const int32_t ns = var_cfg.spills_number;
  auto& share = var_spill.area_share;
  const auto& afloat = var4.mass_surf;
  if (!share.allocated() || !afloat.allocated()) return;
  double total = 0.0;
  int32_t started = 0;
  for (int32_t s = 1; s <= ns; ++s) {
    if (!spill_active(s, t)) continue;
    ++started;
    total += std::max(afloat(s), 0.0);
  }
  for (int32_t s = 1; s <= ns; ++s) {
    if (!spill_active(s, t)) {
      share(s) = 0.0;
    } else if (total > 0.0) {
      share(s) = std::max(afloat(s), 0.0) / total;
    } else {
      share(s) = 1.0 / static_cast<double>(started);
    }
  }
}

bool fuel3d_engine::spill_active(int32_t spill, float t) {
  const int32_t kind = var_cfg.spill__instant_contin;
  return (kind == 1 || kind == 2) && var_cfg.spillstarttime(spill) < static_cast<double>(t);
}

void fuel3d_engine::spill_chain(int32_t spill, float t) {
  weathering_time(spill, t);
  move_3d(spill, polygons_);
  if (var_run.simtype__operat_probabil == 1 && var_cfg.degrado == 1) weathering(spill);
}

namespace {

// Holds `value` at `held` for its lifetime and puts the value it found back
// however the scope ends, an exception included.
class hold_value {
 public:
  hold_value(double& value, double held) : value_(value), saved_(value) { value_ = held; }
  ~hold_value() { value_ = saved_; }
  hold_value(const hold_value&) = delete;
  hold_value& operator=(const hold_value&) = delete;

 private:
  double& value_;
  double saved_;
};

}  // namespace

void fuel3d_engine::pass_velocities(int32_t spill) {
  // Droplets below the surface rise with the density the oil had when its
  // weathering began, not with the weathering slick's.  The velocities read
  // the spill's density, so it is held at the droplets' for the call and the
  // slick gets its own back after it, also when the call throws.
  if (!(weathered_now(spill) != 0 && where_is_the_oil(spill).below)) {
    frame_3d<oil_frame>::pass_velocities(spill);
    return;
  }
  const hold_value droplets(var4.dens(spill), droplet_density_(spill));
  frame_3d<oil_frame>::pass_velocities(spill);
}

fuel3d_engine::oil_presence fuel3d_engine::where_is_the_oil(int32_t spill) {
  const int32_t np = var_run.particle_number;
  const int32_t* state = var_part.indp.ptr(1, spill);
  oil_presence p;
  for (int32_t j = 0; j < np; ++j) {
    const int32_t s = state[j];
    p.up = p.up || s == 1 || s == 0;
    p.below = p.below || s == 5 || s == -1;
    if (p.up && p.below) break;
  }
  return p;
}

void fuel3d_engine::weathering(int32_t s) {
  const auto& c = var_cfg;
  auto& m = var4;
  // Oil still below the surface before this step's balance: what has left
  // it since has come up.
  const double below_before = m.mass_column(s) + m.mass_floor(s);
  const oil_presence oil = where_is_the_oil(s);
  const bool suspended = oil.below && !oil.up;
  if (suspended) {
    // Nothing afloat or beached: no water uptake, evaporation or dispersion
    // in this step; the balances still follow the particles.
    m.agua(s) = 0.0;
    m.diff_evp(s) = 0.0;
    m.massdisp(s) = 0.0;
  } else {
    // The oil afloat weathers while the rest keeps its mass and density
    // below.
    if (weathered_now(s) == 0) droplet_density_(s) = m.dens(s);
    weathered_now(s) = 1;
    if (c.evaporo(s) == 1) calls.evaporacion(s, slick_area);
    if (c.verticaldispersion__y_n == 1) {
      if (surface_exhausted(s) == 0) {
        calls.verticaldispersion(s, slick_area);
      } else if (surface_exhausted(s) == 1) {
        m.massdisp(s) = 0.0;
      }
    }
    // With the slick area of 0 that this engine holds, no particle is moved:
    // the entrained mass is booked as dispersed by the balance only.
    calls.entrainedparticlesredistribution(s, slick_area);
    // The floating mass summed before the water uptake (the first step's
    // too), with the oil that has come up in the step, which brings no water.
    calls.balance_vertido_tierra(s);
    take_in_surfaced_oil(s, below_before - (m.mass_column(s) + m.mass_floor(s)));
    // A maximum water content that is not a number counts as not 0.
    if (c.emulsiono(s) == 1 && var_spill.maxemulsification(s) != 0.0f) calls.emulsion(s);
  }
  if (suspended) calls.balance_vertido_tierra(s);
  calls.balance_masa(s);
  if (c.flag_tierra(s) != 1) calls.evaluo(s);
}

// Oil that has just come up joins the slick.  Its mass is pooled with the
// floating oil, which the balance shares out equally among the surface
// particles; its evaporated fraction is pooled by the balance too (the
// slick's fraction is the evaporated mass over all the oil that has come
// up); here its water is: fresh oil brings none, so the slick keeps its
// water mass W = S y / (1 - y) over more oil, y' = S y / (S + m (1 - y)),
// with S the oil that was already afloat and m the oil that has come up.
void fuel3d_engine::take_in_surfaced_oil(int32_t s, double surfaced) {
  auto& m = var4;
  if (!(surfaced > 0.0)) return;
  const double afloat = m.mass_surf(s) - surfaced;
  const double y = static_cast<double>(m.aguatot(s));
  m.aguatot(s) = afloat > 0.0 ? static_cast<float>(afloat * y / (afloat + surfaced * (1.0 - y))) : 0.0f;
  m.agua(s) = static_cast<double>(m.aguatot(s));
}

void fuel3d_engine::series_record(int32_t spill, int32_t r) {
  var_part.xxc(spill, r) = var_part.x_cg(spill);
  var_part.yyc(spill, r) = var_part.y_cg(spill);
  if (slick_area(spill) != 0.0) var_spill.area_oil(spill) = static_cast<float>(slick_area(spill));
  const bool gone = slick_gone(spill);
  var_spill.areaoila(spill, r) = gone ? 0.0f : var_spill.area_oil(spill);
  var_spill.thickoilt(spill, r) = gone ? 0.0f : static_cast<float>(var_cfg.thick(spill));
  if (!weathering_recorded()) return;
  record_properties(spill, r);
  // No slick, no emulsion: the water content reads 0 once nothing floats.
  if (gone) var4.aguac(spill, r) = 0.0;
  // The slick's evaporated fraction refers to the oil that has come up; the
  // series refers to the release, so that the compartments add up to it.
  const double ref = reference_mass(spill);
  if (var4.mass_column(spill) + var4.mass_floor(spill) > 0.0 && ref > 0.0) {
    var4.per_evpc(spill, r) = var4.masaevp(spill) / ref;
  }
  var4.mass_radarc(spill, r) = var4.mass_radar(spill);
  record_compartment_rows(spill, r);
}

// The compartments of record r by the first row that applies.  A spill that
// has not weathered yet records the surface and column masses the balances
// keep current, and the initial emulsion masses; once it has been active its
// beached and floor masses are the current ones too (the balances run in
// every step, suspended or not), so that a particle on the floor before the
// first full weathering step is not left out of the budget.
void fuel3d_engine::record_compartment_rows(int32_t s, int32_t r) {
  auto& m = var4;
  const int32_t kind = var_cfg.spill__instant_contin;
  const double start = var_cfg.spillstarttime(s);
  const double t = static_cast<double>(static_cast<float>(r - 1) * var_run.deltat);
  const double t_next = static_cast<double>(static_cast<float>(r) * var_run.deltat);
  const bool has_been_active = start < t;
  auto since_active = [has_been_active](double current, double initial) {
    return has_been_active ? current : initial;
  };
  if (weathered_now(s) != 0) {
    record_compartments(s, r, true);
    m.mass_disp_cumul_c(s, r) = m.mass_disp_cumul(s);
    return;
  }
  if (kind == 1) {
    m.mass_surf_c(s, r) = m.mass_surf(s);
    m.mass_beachedc(s, r) = m.mass_beached(s);
    m.mass_columnc(s, r) = m.mass_column(s);
    m.mass_floorc(s, r) = since_active(m.mass_floor(s), m.mass_floor_ini(s));
  } else if (kind == 2 && start == t) {
    m.mass_surf_c(s, r) = m.mass_surf_ini(s);
    m.mass_beachedc(s, r) = m.mass_beached_ini(s);
    m.mass_columnc(s, r) = m.mass_column_ini(s);
    m.mass_floorc(s, r) = m.mass_floor_ini(s);
  } else if (kind == 2 && start < t_next) {
    m.mass_surf_c(s, r) = m.mass_surf(s);
    m.mass_beachedc(s, r) = since_active(m.mass_beached(s), m.mass_beached_ini(s));
    m.mass_columnc(s, r) = m.mass_column(s);
    m.mass_floorc(s, r) = since_active(m.mass_floor(s), m.mass_floor_ini(s));
  } else {
    return;  // a record before the pulse's start: never printed
  }
  m.massprodemuls_surf_c(s, r) = m.mass_surf_ini(s);
  m.massprodemuls_beach_c(s, r) = m.mass_beached_ini(s);
  m.mass_disp_cumul_c(s, r) = 0.0;
}

bool fuel3d_engine::property_files_written() {
  // Oil that weathers only: a floating object has no weathering.
  return var_run.simtype__operat_probabil == 1 && var_cfg.degrado == 1 && var_run.outputpropierties__y_n == 1;
}

void fuel3d(const std::string& clave, const farray<coast_polygon>& coord_str) {
  const auto calls = real_engine_calls();
  fuel3d_engine engine(*calls, clave, coord_str);
  engine.run();
}

}  // namespace orvel
