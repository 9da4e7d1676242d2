#include "output/property_files.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/precision.hpp"
#include "common/result_file.hpp"
#include "control/state/all.hpp"
#include "control/substance.hpp"
#include "output/result_layout.hpp"

namespace orvel {
namespace {

constexpr result_column floating_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA),", 24, 'F', 23, 7},
    {"area (m2)", 11, 'F', 11, 3},
};

constexpr result_column oil_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA),", 24, 'F', 23, 7},
    {"area (m2),", 12, 'F', 11, 3},
    {"thickness (m),", 15, 'F', 14, 6},
    {"density (kg/m3),", 17, 'F', 16, 1},
    {"kinematic_viscosity (cst),", 27, 'F', 26, 1},
    {"surface (kg),", 17, 'F', 16, 4},
    {"beached (kg),", 17, 'F', 16, 4},
    {"evaporated (kg),", 17, 'F', 16, 4},
    {"dispersed (kg),", 17, 'F', 16, 4},
    {"column (kg),", 17, 'F', 16, 4},
    {"floor (kg),", 17, 'F', 16, 4},
    {"emulsified_water (kg),", 23, 'F', 22, 4},
    {"emulsified_beached (kg),", 25, 'F', 24, 4},
    {"outside (kg),", 17, 'F', 16, 4},
    {"balance (%),", 13, 'F', 12, 2},
    {"surface (%),", 13, 'F', 12, 2},
    {"beached (%),", 13, 'F', 12, 2},
    {"evaporated (%),", 16, 'F', 15, 2},
    {"dispersed (%),", 15, 'F', 14, 2},
    {"column (%),", 12, 'F', 11, 2},
    {"floor (%),", 11, 'F', 10, 2},
    {"emulsified (%),", 16, 'F', 15, 2},
    {"outside (%)", 12, 'F', 12, 2},
};

constexpr result_column hns_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA),", 24, 'F', 23, 7},
    {"area (m2),", 12, 'F', 11, 3},
    {"thickness (m),", 15, 'F', 14, 6},
    {"density (kg/m3),", 17, 'F', 16, 1},
    {"kinematic_viscosity (cst),", 27, 'F', 26, 1},
    {"surface (kg),", 17, 'F', 16, 4},
    {"beached (kg),", 17, 'F', 16, 4},
    {"evaporated (kg),", 17, 'F', 16, 4},
    {"dispersed (kg),", 17, 'F', 16, 4},
    {"volatilized (kg),", 18, 'F', 17, 4},
    {"column (kg),", 17, 'F', 16, 4},
    {"dissolved (kg),", 17, 'F', 16, 4},
    {"sedimented (kg),", 17, 'F', 16, 4},
    {"floor (kg),", 17, 'F', 16, 4},
    {"degraded (kg),", 17, 'F', 16, 4},
    {"outside (kg),", 17, 'F', 16, 4},
    {"balance (%),", 13, 'F', 12, 2},
    {"surface (%),", 13, 'F', 12, 2},
    {"beached (%),", 13, 'F', 12, 2},
    {"evaporated (%),", 16, 'F', 15, 2},
    {"dispersed (%),", 15, 'F', 14, 2},
    {"volatilized (%),", 17, 'F', 16, 2},
    {"column (%),", 12, 'F', 11, 2},
    {"dissolved (%),", 15, 'F', 14, 2},
    {"sedimented (%),", 16, 'F', 15, 2},
    {"floor (%),", 11, 'F', 10, 2},
    {"degraded (%),", 14, 'F', 13, 2},
    {"outside (%)", 12, 'F', 12, 2},
};

// The whole release of a continuous spill.
constexpr result_column all_floating_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA)", 23, 'F', 23, 7},
};

constexpr result_column all_oil_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA),", 24, 'F', 23, 7},
    {"surface (kg),", 17, 'F', 16, 4},
    {"beached (kg),", 17, 'F', 16, 4},
    {"evaporated (kg),", 17, 'F', 16, 4},
    {"dispersed (kg),", 17, 'F', 16, 4},
    {"column (kg),", 17, 'F', 16, 4},
    {"floor (kg),", 17, 'F', 16, 4},
    {"emulsified_water (kg),", 23, 'F', 22, 4},
    {"emulsified_beached (kg),", 25, 'F', 24, 4},
    {"outside (kg),", 17, 'F', 16, 4},
    {"balance (%),", 13, 'F', 12, 2},
    {"surface (%),", 13, 'F', 12, 2},
    {"beached (%),", 13, 'F', 12, 2},
    {"evaporated (%),", 16, 'F', 15, 2},
    {"dispersed (%),", 15, 'F', 14, 2},
    {"column (%),", 12, 'F', 11, 2},
    {"floor (%),", 11, 'F', 10, 2},
    {"emulsified (%),", 16, 'F', 15, 2},
    {"outside (%)", 12, 'F', 12, 2},
};

constexpr result_column all_hns_columns[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"centre_of_mass_lon (\xBA),", 24, 'F', 23, 7},
    {"centre_of_mass_lat (\xBA),", 24, 'F', 23, 7},
    {"surface (kg),", 17, 'F', 16, 4},
    {"beached (kg),", 17, 'F', 16, 4},
    {"evaporated (kg),", 17, 'F', 16, 4},
    {"dispersed (kg),", 17, 'F', 16, 4},
    {"volatilized (kg),", 18, 'F', 17, 4},
    {"column (kg),", 17, 'F', 16, 4},
    {"dissolved (kg),", 17, 'F', 16, 4},
    {"sedimented (kg),", 17, 'F', 16, 4},
    {"floor (kg),", 17, 'F', 16, 4},
    {"degraded (kg),", 17, 'F', 16, 4},
    {"outside (kg),", 17, 'F', 16, 4},
    {"balance (%),", 13, 'F', 12, 2},
    {"surface (%),", 13, 'F', 12, 2},
    {"beached (%),", 13, 'F', 12, 2},
    {"evaporated (%),", 16, 'F', 15, 2},
    {"dispersed (%),", 15, 'F', 14, 2},
    {"volatilized (%),", 17, 'F', 16, 2},
    {"column (%),", 12, 'F', 11, 2},
    {"dissolved (%),", 15, 'F', 14, 2},
    {"sedimented (%),", 16, 'F', 15, 2},
    {"floor (%),", 11, 'F', 10, 2},
    {"degraded (%),", 14, 'F', 13, 2},
    {"outside (%)", 12, 'F', 12, 2},
};

// The concentration-factor file of an HNS spill: upper-case labels whose
// widths are not those of the values below them.
constexpr result_column cf_columns[] = {
    {"TIME(h),", 9, 'F', 9, 2},
    {"DENS(kg/m3),", 14, 'F', 12, 1},
    {"KIN VISC(cst),", 14, 'F', 10, 1},
    {"HNS SURF(%),", 14, 'F', 14, 1},
    {"HNS EVAP(%),", 12, 'F', 11, 1},
    {"HNS COLUMN(%),", 14, 'F', 11, 1},
    {"HNS DISPERSED(%),", 17, 'F', 14, 1},
    {"HNS DISSOL(%),", 14, 'F', 15, 1},
    {"HNS SEDIM(%),", 14, 'F', 14, 1},
    {"HNS VOLAT(%),", 13, 'F', 13, 1},
    {"HNS FLOOR(%),", 13, 'F', 13, 1},
    {"HNS BEACHED(%),", 15, 'F', 13, 1},
    {"HNS DEGRAD(%),", 15, 'F', 13, 1},
    {"OIL OUTSIDE(%),", 15, 'F', 13, 1},
    {"BALANCE,", 9, 'F', 11, 2},
    {"HNS SURF(kg),", 15, 'F', 14, 2},
    {"HNS EVAP(kg),", 13, 'F', 13, 2},
    {"HNS COLUMN(kg),", 15, 'F', 14, 2},
    {"HNS DISPERSED(kg),", 18, 'F', 14, 2},
    {"HNS DISSOL(kg),", 15, 'F', 14, 2},
    {"HNS SEDIM(kg),", 14, 'F', 14, 2},
    {"HNS VOLAT(kg),", 14, 'F', 14, 2},
    {"HNS FLOOR(kg),", 14, 'F', 14, 2},
    {"HNS BEACHED(kg),", 16, 'F', 14, 2},
    {"HNS DEGRAD(kg),", 16, 'F', 14, 2},
    {"OIL OUTSIDE(kg)", 18, 'F', 16, 4},
};

std::span<const result_column> spill_columns(int32_t kind) {
  switch (kind) {
    case 1:
      return floating_columns;
    case 2:
      return oil_columns;
    case 3:
      return hns_columns;
    default:
      return {};
  }
}

std::span<const result_column> release_columns(int32_t kind) {
  switch (kind) {
    case 1:
      return all_floating_columns;
    case 2:
      return all_oil_columns;
    case 3:
      return all_hns_columns;
    default:
      return {};
  }
}

// Row time of record fe, in hours, single precision.
float row_time(int64_t fe) {
  const float dt = var_run.deltat;
  return static_cast<float>(fe) * dt / 3600.0f - dt / 3600.0f;
}

// The mass compartments of a property row, in the order of their columns.
enum class part { surf, beached, evaporated, disp, vol, column, diss, sed, floor, degr, emul_water, emul_beached, outside };

constexpr part oil_parts[] = {part::surf,   part::beached, part::evaporated, part::disp,         part::column,
                              part::floor,  part::emul_water, part::emul_beached, part::outside};
constexpr part hns_parts[] = {part::surf,   part::beached, part::evaporated, part::disp, part::vol,    part::column,
                              part::diss,   part::sed,     part::floor,      part::degr, part::outside};

std::span<const part> parts_of(int32_t kind) {
  if (kind == 2) return oil_parts;
  return hns_parts;
}

// Compartments counted in the balance besides the evaporated share.
bool in_balance(part p) { return p != part::evaporated && p != part::emul_water && p != part::emul_beached; }

double mass_of(part p, int32_t s, int32_t r) {
  const auto& m = var4;
  switch (p) {
    case part::surf:
      return m.mass_surf_c(s, r);
    case part::beached:
      return m.mass_beachedc(s, r);
    case part::evaporated:
      return m.masaevpc(s, r);
    case part::disp:
      return m.mass_disp_cumul_c(s, r);
    case part::vol:
      return m.mass_vol_cumul_c(s, r);
    case part::column:
      return m.mass_columnc(s, r);
    case part::diss:
      return m.mass_diss_cumul_c(s, r);
    case part::sed:
      return m.mass_sed_cumul_c(s, r);
    case part::floor:
      return m.mass_floorc(s, r);
    case part::degr:
      return m.mass_degr_cumul_c(s, r);
    case part::emul_water:
      return m.massprodemuls_surf_c(s, r);
    case part::emul_beached:
      return m.massprodemuls_beach_c(s, r);
    case part::outside:
      return m.mass_radarc(s, r);
  }
  return 0.0;
}

// Values of spill s at record r, the time column given, m0 the reference
// mass of the percentages: time, centre, slick, the masses, the balance and
// the shares, for oil and HNS alike but for their compartments.
void spill_row(int32_t kind, int32_t s, int32_t r, double time, double m0, std::vector<double>& v) {
  const auto& m = var4;
  const auto& sp = var_spill;
  const bool oil = kind == 2;
  v.clear();
  v.push_back(time);
  v.push_back(var_part.xxc(s, r) - 360.0);
  v.push_back(var_part.yyc(s, r));
  v.push_back(static_cast<double>(kind == 3 ? sp.areahnsa(s, r) : sp.areaoila(s, r)));
  if (kind == 1) return;
  v.push_back(static_cast<double>(oil ? sp.thickoilt(s, r) : sp.thickhnst(s, r)));
  v.push_back(m.densc(s, r));
  v.push_back(m.viscc(s, r));
  const auto parts = parts_of(kind);
  double sum = 0.0;
  bool first = true;
  for (const part p : parts) {
    const double mass = mass_of(p, s, r);
    v.push_back(mass);
    if (!in_balance(p)) continue;
    sum = first ? mass : sum + mass;
    first = false;
  }
  const double evp = m.per_evpc(s, r);
  v.push_back(static_cast<float>((sum / m0 + evp) * 100.0));
  for (const part p : parts) {
    if (p == part::emul_beached) continue;
    if (p == part::evaporated) {
      v.push_back(evp * 100.0);
    } else if (p == part::emul_water) {
      v.push_back(m.aguac(s, r) * 100.0);
    } else {
      v.push_back(mass_of(p, s, r) / m0 * 100.0);
    }
  }
}

// Adds a double-precision term to a single-precision running sum.
void add(float& sum, double term) { sum = static_cast<float>(static_cast<double>(sum) + term); }

// Values of the row of the whole of a continuous release at record fe, time
// t, from its first n pulses (pulses start in index order): their centres
// averaged and their masses summed, percentages as shares of the whole
// release; m0 is one pulse's mass.  The water content is that of the
// release's floating emulsion: the pulses' contents weighted by their
// floating oil, 0 once none floats.
void release_row(int32_t kind, int32_t n, int32_t fe, float t, double m0, std::vector<double>& v) {
  const auto& m = var4;
  const auto parts = kind == 1 ? std::span<const part>() : parts_of(kind);
  float lon = 0, lat = 0, balance = 0;
  float masses[std::size(hns_parts)] = {};
  float shares[std::size(hns_parts)] = {};
  double water = 0.0, afloat = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    add(lon, var_part.xxc(i, fe) - 360.0);
    add(lat, var_part.yyc(i, fe));
    if (kind == 1) continue;
    const double total = var_cfg.masa0(i);
    const double evp = m.per_evpc(i, fe);
    const double surf = mass_of(part::surf, i, fe);
    double kept = surf + evp * m0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
      const part p = parts[k];
      const double mass = mass_of(p, i, fe);
      add(masses[k], mass);
      if (p == part::evaporated) {
        add(shares[k], evp * m0 / total * 100.0);
      } else if (p == part::emul_water) {
        if (surf > 0.0) {
          water += m.aguac(i, fe) * surf;
          afloat += surf;
        }
      } else {
        add(shares[k], mass / total * 100.0);
      }
      if (p != part::surf && in_balance(p)) kept += mass;
    }
    add(balance, kept / total * 100.0);
  }
  const float nf = static_cast<float>(n);
  v = {t, lon / nf, lat / nf};
  if (kind == 1) return;
  for (std::size_t k = 0; k < parts.size(); ++k) v.push_back(masses[k]);
  v.push_back(balance);
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (parts[k] == part::emul_beached) continue;
    v.push_back(parts[k] == part::emul_water ? (afloat > 0.0 ? water / afloat * 100.0 : 0.0) : shares[k]);
  }
}

// Values of the concentration-factor row of spill s at record r.
void cf_row(int32_t s, int32_t r, double time, double m0, std::vector<double>& v) {
  const auto& m = var4;
  const double surf = m.mass_surf_c(s, r);
  const double column = m.mass_columnc(s, r);
  const double disp = m.mass_disp_cumul_c(s, r);
  const double diss = m.mass_diss_cumul_c(s, r);
  const double sed = m.mass_sed_cumul_c(s, r);
  const double vol = m.mass_vol_cumul_c(s, r);
  const double floor = m.mass_floorc(s, r);
  const double beached = m.mass_beachedc(s, r);
  const double degr = m.mass_degr_cumul_c(s, r);
  const double outside = m.mass_radarc(s, r);
  const double evp = m.per_evpc(s, r);
  auto pct = [m0](double mass) { return 100.0 * mass / m0; };
  const float balance = static_cast<float>(100.0 * (evp + surf / m0 + column / m0 + disp / m0 + diss / m0 +
                                                    sed / m0 + vol / m0 + floor / m0 + beached / m0 +
                                                    degr / m0 + outside / m0));
  v = {time,       m.densc(s, r), m.viscc(s, r), pct(surf), 100.0 * evp, pct(column),  pct(disp),
       pct(diss),  pct(sed),      pct(vol),      pct(floor), pct(beached), pct(degr),  pct(outside),
       balance,    surf,          m.masaevpc(s, r), column,  disp,         diss,       sed,
       vol,        floor,         beached,       degr,       outside};
}

}  // namespace

int64_t property_row_stride() {
  const float dt = var_run.deltat;
  const float q = dt / 3600.0f;
  const float h = dt < 3600.0f ? std::ceil(q) : std::floor(q);
  if (!(std::fabs(h) < 2147483648.0f)) return 0;
  const int64_t product = int64_t{static_cast<int32_t>(h)} * var_run.deltatoutput_properties;
  const float k = static_cast<float>(product) / dt;
  if (!(k > -9.0e18f && k < 9.0e18f)) return 0;
  return static_cast<int64_t>(k);
}

namespace {

// The row stride, which must be at least 1 (the start-up check refuses
// settings that give less, so this guards a direct call).
int64_t checked_row_stride() {
  const int64_t stride = property_row_stride();
  if (stride < 1) {
    throw run_stop("orvel: error: the property files need deltatoutput_properties of at least one model step",
                   run_stop::stream::err, 2);
  }
  return stride;
}

// One pulse's mass of a continuous release, rounded to single precision,
// the same for every sub-spill.
double pulse_mass() {
  const int32_t pulses = release_pulses();
  return pulses != 0 ? single_rounded(var_cfg.masa0(1) / pulses) : 0.0;
}

}  // namespace

// The tables of a simulation (property or concentration-factor files), their
// rows written as the records of the series are made.  A spill's first row
// (its start time with the values of record 1) waits until the run reaches
// the spill's start: a pulse that does not start within the run has no row.
// After it come the rows of the records on the row stride later than the
// start (by more than 1e-5 h, the constant in single precision).  The rows
// of each record are appended to the files under their real names as the
// record is made, each file's rows of the record in one write, so that the
// files hold every row up to the last record made, whatever stops the run.
class property_writer {
 public:
  enum class tables { properties, cf };

  property_writer(const std::string& clave, tables which)
      : which_(which),
        kind_(var_cfg.obj__floating_fuel_hns),
        instant_(var_cfg.spill__instant_contin == 1),
        stride_(checked_row_stride()),
        pulse_(instant_ ? 0.0 : pulse_mass()),
        spill_layout_(which == tables::cf ? std::span<const result_column>(cf_columns) : spill_columns(kind_)),
        release_layout_(release_columns(kind_)) {
    v_.reserve(32);
    const int32_t ns = var_cfg.spills_number;
    spills_.reserve(static_cast<std::size_t>(ns > 0 ? ns : 0));
    for (int32_t s = 1; s <= ns; ++s) {
      std::string name = which == tables::cf ? (instant_ ? cf_file_name(clave, s) : subspill_cf_file_name(clave, s))
                                             : (instant_ ? property_file_name(clave, s)
                                                         : subspill_property_file_name(clave, s));
      spills_.push_back(std::make_unique<table_out>(std::move(name), spill_layout_));
    }
    if (which == tables::properties && !instant_) {
      release_ = std::make_unique<table_out>(all_subspill_property_file_name(clave), release_layout_);
    }
  }

  int32_t last_record() const { return last_; }

  // Begins with record r, the records before it being no longer held: no
  // start row (it prints record 1) and no row of an earlier record.
  void begin_at(int32_t r) { last_ = r - 1; }

  // The rows of record r (the records come in order, from 1).
  void record(int32_t r) {
    last_ = r;
    if (spill_layout_.columns().empty()) return;
    const float t = row_time(r);
    const bool on_stride = (r - 1) % stride_ == 0;
    marks_.clear();
    for (const auto& o : spills_) marks_.push_back(o->rows.size());
    if (release_) marks_.push_back(release_->rows.size());
    double row_hours = 0.0;
    double kept = kept_hours_;  // the last row time once this record's rows stand
    std::string where;
    try {
      for (int32_t s = 1; s <= static_cast<int32_t>(spills_.size()); ++s) {
        auto& o = *spills_[static_cast<std::size_t>(s - 1)];
        const double start_h = var_cfg.spillstarttime(s) / 3600.0;
        where = (var_cfg.spill__instant_contin == 2 ? "sub-spill " : "spill ") + std::to_string(s);
        if (r == 1) {
          row_hours = start_h;
          row(s, 1, start_h, o.first_row);
        }
        if (!o.started && static_cast<double>(t) - start_h >= 0.0) {
          o.started = true;
          o.rows += o.first_row;
          std::string().swap(o.first_row);
          kept = std::max(kept, start_h);
        }
        if (on_stride && o.started && static_cast<double>(t) - start_h > 9.999999747378752e-6) {
          row_hours = t;
          row(s, r, t, o.rows);
          kept = std::max(kept, static_cast<double>(t));
        }
      }
      if (release_ && on_stride) release_rows(r, t, row_hours, where);
    } catch (const result_value_error& e) {
      // The record's rows go: every file keeps the rows of earlier records.
      for (std::size_t i = 0; i < spills_.size(); ++i) spills_[i]->rows.resize(marks_[i]);
      if (release_) release_->rows.resize(marks_.back());
      throw run_stop(value_stop_line(e, where, row_hours) + keep(), run_stop::stream::err, 1);
    }
    write_rows();
    kept_hours_ = kept;
  }

  // The files with their whole rows kept; the words a stop line adds.
  std::string keep() {
    if (kept_hours_ < 0.0) {
      drop();
      return "; no property row was due before it, so no property file is written";
    }
    return "; the property files keep their rows up to " + value_text(kept_hours_, 9) + " h";
  }

  // Writes the rows still in memory (the header of a table with no record);
  // a table without columns is an empty file.
  void finish() {
    write_rows();
    for (auto& o : spills_) {
      if (!o->file.started()) o->file.append({});
    }
    if (release_ && !release_->file.started()) release_->file.append({});
  }

  // Takes back every file.
  void drop() {
    for (auto& o : spills_) o->file.remove();
    if (release_) release_->file.remove();
    spills_.clear();
    release_.reset();
  }

 private:
  struct table_out {
    table_out(std::string name, const table_layout& layout) : file(std::move(name)) {
      if (!layout.columns().empty()) rows = layout.header() + "\n";
    }
    row_file file;
    std::string rows;       // rows not yet written to the file
    std::string first_row;  // the first row until the run reaches the start
    bool started = false;
  };

  void row(int32_t s, int32_t r, double time, std::string& out) {
    if (which_ == tables::cf) {
      cf_row(s, r, time, instant_ ? var_cfg.masa0(s) : pulse_, v_);
    } else {
      spill_row(kind_, s, r, time, instant_ ? var_cfg.masa0(s) : pulse_, v_);
    }
    spill_layout_.format_row(v_, out);
  }

  void release_rows(int32_t r, float t, double& row_hours, std::string& where) {
    if (release_layout_.columns().empty()) return;
    int32_t n = 0;
    for (int32_t i = 1; i <= var_cfg.spills_number; ++i) {
      if (static_cast<double>(t) - var_cfg.spillstarttime(i) / 3600.0 >= 0.0) ++n;
    }
    if (n == 0) return;
    where = "the whole continuous release";
    row_hours = t;
    const int32_t pulses = release_pulses();
    const double m0 = static_cast<float>(pulses > 0 ? var_cfg.masa0(1) / pulses : 0.0);
    release_row(kind_, n, r, t, m0, v_);
    release_layout_.format_row(v_, release_->rows);
  }

  // Appends each file's waiting rows in one write.  A file that cannot take
  // them takes back the rows of this write from every file that did, so
  // that all files end at the same record.
  void write_rows() {
    sizes_.clear();
    for (auto& o : spills_) sizes_.push_back(o->file.size());
    if (release_) sizes_.push_back(release_->file.size());
    std::size_t i = 0;
    try {
      for (; i < spills_.size(); ++i) write(*spills_[i]);
      if (release_) write(*release_);
    } catch (const environment_error&) {
      for (std::size_t j = 0; j < i && j < spills_.size(); ++j) spills_[j]->file.take_back(sizes_[j]);
      for (auto& o : spills_) o->rows.clear();
      if (release_) release_->rows.clear();
      throw;
    }
  }

  static void write(table_out& o) {
    if (o.rows.empty()) return;
    o.file.append(o.rows);
    o.rows.clear();
  }

  tables which_;
  int32_t kind_;
  bool instant_;
  int64_t stride_;
  double pulse_;
  table_layout spill_layout_;
  table_layout release_layout_;
  std::vector<std::unique_ptr<table_out>> spills_;
  std::unique_ptr<table_out> release_;
  std::vector<std::size_t> marks_;
  std::vector<std::uint64_t> sizes_;
  std::vector<double> v_;
  int32_t last_ = 0;
  double kept_hours_ = -1.0;  // time of the last row written, -1 before the first
};

namespace {

// Records up to `step` written into `w`, then its files finished.
void write_all(property_writer& w, int32_t step) {
  while (w.last_record() < step) w.record(w.last_record() + 1);
  w.finish();
}

}  // namespace

template <class F>
auto property_rows_writer::at_work(F f) {
  try {
    return f();
  } catch (const run_stop&) {
    // A stop for a value has already dealt with the files: what it kept
    // stays.  After any other failure the caller's end() decides.
    open_.reset();
    throw;
  }
}

property_rows_writer::property_rows_writer() = default;
property_rows_writer::~property_rows_writer() = default;

void property_rows_writer::rows(const std::string& clave, int32_t record) {
  if (record == 1 || !open_) {
    open_.reset();
    open_ = std::make_unique<property_writer>(clave, property_writer::tables::properties);
  }
  at_work([this, record] {
    while (open_->last_record() < record) open_->record(open_->last_record() + 1);
  });
}

std::string property_rows_writer::end(bool keep) {
  if (!open_) return {};
  std::string words;
  if (keep) {
    words = at_work([this] { return open_->keep(); });
  } else {
    open_->drop();
  }
  open_.reset();
  return words;
}

void property_rows_writer::finish(const std::string& clave, int32_t step) {
  if (!open_) open_ = std::make_unique<property_writer>(clave, property_writer::tables::properties);
  at_work([this, step] { write_all(*open_, step); });
  open_.reset();
}

void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t) {
  property_rows_writer w;
  w.finish(clave, step);
}

void esc_propiedades_hns(const std::string& clave, int32_t step) {
  property_writer w(clave, property_writer::tables::cf);
  // The records the series hold: 1 to step until their window slides, then
  // the window's.
  const auto& held = var4.mass_surf_c;
  const int32_t first = held.allocated() ? std::max(1, held.lbound(2)) : 1;
  const int32_t last = held.allocated() ? std::min(step, held.ubound(2)) : step;
  w.begin_at(first);
  write_all(w, last);
}

}  // namespace orvel
