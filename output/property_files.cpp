#include "output/property_files.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/precision.hpp"
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

// Row time of printed record fe, in hours, single precision.
float row_time(int64_t fe) {
  const float dt = var_run.deltat;
  return static_cast<float>(fe) * dt / 3600.0f - dt / 3600.0f;
}

// Values of spill s at record r, the time column given, m0 the reference
// mass of the percentages.
void spill_row(int32_t kind, int32_t s, int32_t r, double time, double m0, std::vector<double>& v) {
  const auto& m = var4;
  const auto& sp = var_spill;
  const double lon = var_part.xxc(s, r) - 360.0;
  const double lat = var_part.yyc(s, r);
  v.clear();
  if (kind == 1) {
    v = {time, lon, lat, static_cast<double>(sp.areaoila(s, r))};
    return;
  }
  const double surf = m.mass_surf_c(s, r);
  const double beached = m.mass_beachedc(s, r);
  const double disp = m.mass_disp_cumul_c(s, r);
  const double column = m.mass_columnc(s, r);
  const double floor = m.mass_floorc(s, r);
  const double outside = m.mass_radarc(s, r);
  const double evp = m.per_evpc(s, r);
  auto pct = [m0](double mass) { return mass / m0 * 100.0; };
  if (kind == 2) {
    const float balance = static_cast<float>(((surf + beached + disp + column + floor + outside) / m0 + evp) * 100.0);
    v = {time,
         lon,
         lat,
         static_cast<double>(sp.areaoila(s, r)),
         static_cast<double>(sp.thickoilt(s, r)),
         m.densc(s, r),
         m.viscc(s, r),
         surf,
         beached,
         m.masaevpc(s, r),
         disp,
         column,
         floor,
         m.massprodemuls_surf_c(s, r),
         m.massprodemuls_beach_c(s, r),
         outside,
         balance,
         pct(surf),
         pct(beached),
         evp * 100.0,
         pct(disp),
         pct(column),
         pct(floor),
         m.aguac(s, r) * 100.0,
         pct(outside)};
    return;
  }
  const double vol = m.mass_vol_cumul_c(s, r);
  const double diss = m.mass_diss_cumul_c(s, r);
  const double sed = m.mass_sed_cumul_c(s, r);
  const double degr = m.mass_degr_cumul_c(s, r);
  const float balance = static_cast<float>(
      ((surf + beached + disp + vol + column + diss + sed + floor + degr + outside) / m0 + evp) * 100.0);
  v = {time,
       lon,
       lat,
       static_cast<double>(sp.areahnsa(s, r)),
       static_cast<double>(sp.thickhnst(s, r)),
       m.densc(s, r),
       m.viscc(s, r),
       surf,
       beached,
       m.masaevpc(s, r),
       disp,
       vol,
       column,
       diss,
       sed,
       floor,
       degr,
       outside,
       balance,
       pct(surf),
       pct(beached),
       evp * 100.0,
       pct(disp),
       pct(vol),
       pct(column),
       pct(diss),
       pct(sed),
       pct(floor),
       pct(degr),
       pct(outside)};
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

// The rows of spill (or sub-spill) s: the spill's start time with the
// time-0 record, then the stride records later than the start (by more than
// 1e-5 h, the constant in single precision).  row(r, time) formats record r.
template <class Row>
void spill_rows(int32_t s, int32_t step, int64_t stride, Row row) {
  const double start_h = var_cfg.spillstarttime(s) / 3600.0;
  row(1, start_h);
  const int64_t rows = (stride + step - 1) / stride;
  for (int64_t j = 0; j < rows; ++j) {
    const int64_t fe = 1 + j * stride;
    const float t = row_time(fe);
    if (!(static_cast<double>(t) - start_h > 9.999999747378752e-6)) continue;
    row(static_cast<int32_t>(fe), t);
  }
}

// A row of spill (or sub-spill) s at `hours`; a value the table refuses
// stops the run.
void checked_row(result_table& f, const std::vector<double>& v, int32_t s, double hours) {
  try {
    f.row(v);
  } catch (const result_value_error& e) {
    stop_for_value(e, (var_cfg.spill__instant_contin == 2 ? "sub-spill " : "spill ") + std::to_string(s), hours);
  }
}

// The property file of spill (or sub-spill) s.
void spill_file(const std::string& name, int32_t kind, int32_t s, int32_t step, int64_t stride, double m0,
                std::vector<double>& v) {
  const auto columns = spill_columns(kind);
  if (columns.empty()) {
    // No engine runs for another kind: the file is made empty.
    result_file f(name);
    f.commit();
    return;
  }
  result_table f(name, columns);
  spill_rows(s, step, stride, [&](int32_t r, double time) {
    spill_row(kind, s, r, time, m0, v);
    checked_row(f, v, s, time);
  });
  f.commit();
}

// Adds a double-precision term to a single-precision running sum.
void add(float& sum, double term) { sum = static_cast<float>(static_cast<double>(sum) + term); }

// The property file of the whole of a continuous release: per printed
// record, the sub-spills started by its time, their centres averaged and
// their masses summed, percentages as shares of the whole release.
void release_file(const std::string& clave, int32_t kind, int32_t step, int64_t stride, std::vector<double>& v) {
  const auto columns = release_columns(kind);
  if (columns.empty()) {
    result_file f(all_subspill_property_file_name(clave));
    f.commit();
    return;
  }
  const auto& c = var_cfg;
  const auto& m = var4;
  result_table f(all_subspill_property_file_name(clave), columns);
  const int32_t ns = c.spills_number;
  const int32_t pulses = release_pulses();
  const float m0f = pulses > 0 ? static_cast<float>(c.masa0(1) / pulses) : 0.0f;
  const double m0 = m0f;
  const int64_t rows = (stride + step - 1) / stride;
  for (int64_t j = 0; j < rows; ++j) {
    const int32_t fe = static_cast<int32_t>(1 + j * stride);
    const float t = row_time(fe);
    int32_t n = 0;
    for (int32_t i = 1; i <= ns; ++i) {
      if (static_cast<double>(t) - c.spillstarttime(i) / 3600.0 >= 0.0) ++n;
    }
    if (n == 0) continue;
    // Pulses start in index order: the first n are the started ones.
    float lon = 0, lat = 0;
    float surf = 0, beached = 0, evp_mass = 0, disp = 0, column = 0, floor = 0, emul_surf = 0, emul_beach = 0,
          outside = 0, vol = 0, diss = 0, sed = 0, degr = 0;
    float balance = 0, p_surf = 0, p_beached = 0, p_evp = 0, p_disp = 0, p_column = 0, p_floor = 0, p_emul = 0,
          p_outside = 0, p_vol = 0, p_diss = 0, p_sed = 0, p_degr = 0;
    for (int32_t i = 1; i <= n; ++i) {
      add(lon, var_part.xxc(i, fe) - 360.0);
      add(lat, var_part.yyc(i, fe));
      if (kind == 1) continue;
      const double total = c.masa0(i);
      auto pct = [total](double mass) { return mass / total * 100.0; };
      add(surf, m.mass_surf_c(i, fe));
      add(beached, m.mass_beachedc(i, fe));
      add(evp_mass, m.masaevpc(i, fe));
      add(disp, m.mass_disp_cumul_c(i, fe));
      add(column, m.mass_columnc(i, fe));
      add(floor, m.mass_floorc(i, fe));
      add(outside, m.mass_radarc(i, fe));
      add(p_surf, pct(m.mass_surf_c(i, fe)));
      add(p_beached, pct(m.mass_beachedc(i, fe)));
      add(p_evp, m.per_evpc(i, fe) * m0 / total * 100.0);
      add(p_disp, pct(m.mass_disp_cumul_c(i, fe)));
      add(p_column, pct(m.mass_columnc(i, fe)));
      add(p_floor, pct(m.mass_floorc(i, fe)));
      add(p_outside, pct(m.mass_radarc(i, fe)));
      if (kind == 2) {
        add(emul_surf, m.massprodemuls_surf_c(i, fe));
        add(emul_beach, m.massprodemuls_beach_c(i, fe));
        add(p_emul, m.aguac(i, fe) * 100.0);
        add(balance, pct(m.mass_surf_c(i, fe) + m.per_evpc(i, fe) * m0 + m.mass_beachedc(i, fe) +
                         m.mass_disp_cumul_c(i, fe) + m.mass_columnc(i, fe) + m.mass_floorc(i, fe) +
                         m.mass_radarc(i, fe)));
      } else {
        add(vol, m.mass_vol_cumul_c(i, fe));
        add(diss, m.mass_diss_cumul_c(i, fe));
        add(sed, m.mass_sed_cumul_c(i, fe));
        add(degr, m.mass_degr_cumul_c(i, fe));
        add(p_vol, pct(m.mass_vol_cumul_c(i, fe)));
        add(p_diss, pct(m.mass_diss_cumul_c(i, fe)));
        add(p_sed, pct(m.mass_sed_cumul_c(i, fe)));
        add(p_degr, pct(m.mass_degr_cumul_c(i, fe)));
        add(balance, pct(m.mass_surf_c(i, fe) + m.per_evpc(i, fe) * m0 + m.mass_beachedc(i, fe) +
                         m.mass_disp_cumul_c(i, fe) + m.mass_vol_cumul_c(i, fe) + m.mass_columnc(i, fe) +
                         m.mass_diss_cumul_c(i, fe) + m.mass_sed_cumul_c(i, fe) + m.mass_floorc(i, fe) +
                         m.mass_degr_cumul_c(i, fe) + m.mass_radarc(i, fe)));
      }
    }
    const float nf = static_cast<float>(n);
    if (kind == 1) {
      v = {t, lon / nf, lat / nf};
    } else if (kind == 2) {
      v = {t,       lon / nf, lat / nf,  surf,     beached, evp_mass, disp,     column,        floor,   emul_surf, emul_beach,
           outside, balance,  p_surf,    p_beached, p_evp,  p_disp,   p_column, p_floor,       p_emul / nf, p_outside};
    } else {
      v = {t,      lon / nf, lat / nf, surf,   beached,   evp_mass, disp,   vol,     column,   diss,    sed,    floor,  degr,
           outside, balance, p_surf,   p_beached, p_evp, p_disp,    p_vol,  p_column, p_diss, p_sed,  p_floor, p_degr, p_outside};
    }
    try {
      f.row(v);
    } catch (const result_value_error& e) {
      stop_for_value(e, "the whole continuous release", t);
    }
  }
  f.commit();
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
  const auto& c = var_cfg;
  const int32_t pulses = release_pulses();
  return pulses != 0 ? single_rounded(c.masa0(1) / pulses) : 0.0;
}

}  // namespace

void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t) {
  const auto& c = var_cfg;
  const int64_t stride = checked_row_stride();
  const int32_t kind = c.obj__floating_fuel_hns;
  std::vector<double> v;
  v.reserve(32);
  if (c.spill__instant_contin == 1) {
    for (int32_t s = 1; s <= c.spills_number; ++s) {
      spill_file(property_file_name(clave, s), kind, s, step, stride, c.masa0(s), v);
    }
    return;
  }
  const double pulse = pulse_mass();
  for (int32_t s = 1; s <= c.spills_number; ++s) {
    spill_file(subspill_property_file_name(clave, s), kind, s, step, stride, pulse, v);
  }
  release_file(clave, kind, step, stride, v);
}

void esc_propiedades_hns(const std::string& clave, int32_t step) {
  const auto& c = var_cfg;
  const int64_t stride = checked_row_stride();
  const bool instant = c.spill__instant_contin == 1;
  const double pulse = instant ? 0.0 : pulse_mass();
  std::vector<double> v;
  v.reserve(32);
  for (int32_t s = 1; s <= c.spills_number; ++s) {
    const double m0 = instant ? c.masa0(s) : pulse;
    result_table f(instant ? cf_file_name(clave, s) : subspill_cf_file_name(clave, s), cf_columns);
    spill_rows(s, step, stride, [&](int32_t r, double time) {
      cf_row(s, r, time, m0, v);
      checked_row(f, v, s, time);
    });
    f.commit();
  }
}

}  // namespace orvel
