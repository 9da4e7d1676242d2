#include "forcing/dispatch.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/list_input.hpp"
#include "common/result_file.hpp"
#include "control/state/var1.hpp"
#include "control/state/var_cfg.hpp"
#include "forcing/currents.hpp"
#include "forcing/series.hpp"
#include "forcing/waves.hpp"
#include "forcing/wind.hpp"

namespace orvel {
namespace {

// Next record index, held at the record count.
void advance(int32_t& index, int32_t count) {
  if (index < count) ++index;
}

}  // namespace

void lee_forcings(int32_t kind) {
  switch (kind) {
    case 1:
      if (var_cfg.currenttype__file_constant == 1) {
        lee_velocidad(var1.i_vel);
      } else {
        lee_velcte();
        vel_part(var1.i_vel);
      }
      break;
    case 2:
      if (var_cfg.wavestype__file_constant == 1) {
        lee_ola(var1.i_ola);
      } else {
        lee_olacte();
        ola_part(var1.i_ola);
      }
      break;
    case 3:
      if (var_cfg.windtype__file_constant == 1) {
        lee_viento(var1.i_viento);
      } else {
        lee_vientocte();
        viento_part(var1.i_viento);
      }
      break;
    default:
      break;
  }
}

void lee_forcings_interp(int32_t kind) {
  switch (kind) {
    case 1:
      if (var_cfg.currenttype__file_constant == 1) {
        lee_velocidad0(var1.i_vel);
      } else {
        lee_velcte();
        vel_part0(var1.i_vel);
      }
      break;
    case 2:
      if (var_cfg.wavestype__file_constant == 1) {
        lee_ola0(var1.i_ola);
        advance(var1.i_ola, var_cfg.wavesfilesorlines_number);
        lee_ola(var1.i_ola);
      } else {
        lee_olacte();
        ola_part0(var1.i_ola);
        advance(var1.i_ola, var_cfg.wavesfilesorlines_number);
        ola_partinterp(var1.i_ola);
      }
      break;
    case 3:
      if (var_cfg.windtype__file_constant == 1) {
        lee_viento0(var1.i_viento);
        advance(var1.i_viento, var_cfg.windfilesorlines_number);
        lee_viento(var1.i_viento);
      } else {
        lee_vientocte();
        viento_part0(var1.i_viento);
        advance(var1.i_viento, var_cfg.windfilesorlines_number);
        viento_partinterp(var1.i_viento);
      }
      break;
    default:
      break;
  }
}

void mallas_forzamientos(const farray<double, 1>& x, const farray<double, 1>& y, int32_t n, double& x0,
                         double& y0, double& dx, double& dy, int32_t& nx, int32_t& ny) {
  if (n < 1) return;
  x0 = x(1);
  y0 = y(1);
  if (n >= 2) dy = y(2) - y(1);
  for (int32_t k = 1; k <= n - 1; ++k) {
    if (x(k + 1) != x(k)) {  // a longitude that is not a number differs too
      ny = k;
      dx = x(k + 1) - x(k);
      nx = n / k;
      return;
    }
  }
  // One column: its length is the incoming row count, or the whole list.
  if (ny < 1) ny = n;
  nx = n / ny;
}

void lee_listatablas(int32_t kind) {
  const char* name = nullptr;
  int32_t values = 0;
  int32_t* length = nullptr;
  float interval = 0.0f;
  switch (kind) {
    case 1:
      name = "lstwaves.pre";
      values = 3;
      length = &var_cfg.wavesfilesorlines_number;
      interval = var_cfg.deltat_waves;
      break;
    case 2:
      name = "lstwinds.pre";
      values = 2;
      length = &var_cfg.windfilesorlines_number;
      interval = var_cfg.deltat_wind;
      break;
    case 3:
      name = "lstcurr.pre";
      values = 2;
      length = &var_cfg.currentfilesorlines_number;
      interval = var_cfg.deltat_currents;
      break;
    default:
      return;
  }
  const auto& start = var_cfg.spillstarttime;
  if (var_cfg.spills_number < 1 || !start.allocated()) return;
  // Whole hours of a start time (truncated toward zero).
  auto hours = [](double h) -> double { return std::trunc(h); };
  if (hours(start(1)) == 0.0) return;
  double t = hours(start(1));
  for (int32_t s = 2; s <= var_cfg.spills_number; ++s) t = std::min(t, hours(start(s)));

  const float interval_hours = interval / 3600.0f;
  if (!(interval_hours > 0.0f)) return;
  const float q = std::floor(static_cast<float>(t) / interval_hours);
  const int32_t n = std::max(*length, 0);
  if (!(q < static_cast<float>(INT32_MAX - n))) {
    throw input_error(name, 0, "the earliest spill start lies too many record intervals ahead of the series");
  }
  const int32_t k_zero = q > 0.0f ? static_cast<int32_t>(q) : 0;

  std::vector<double> series(static_cast<std::size_t>(n) * values);
  {
    list_reader r(name);
    for (int32_t i = 0; i < n; ++i) {
      list_reader::record rec(r);
      rec.items(series.data() + static_cast<std::size_t>(i) * values, values, "series value");
    }
  }
  result_file out(name);
  auto write_line = [&](const double* v) {
    std::string line;
    for (int32_t j = 0; j < values; ++j) line += fmt_f(v[j], 8, 3);
    out.line(line);
  };
  const std::vector<double> zeros(values, 0.0);
  for (int32_t i = 0; i < k_zero; ++i) write_line(zeros.data());
  for (int32_t i = 0; i < n; ++i) write_line(series.data() + static_cast<std::size_t>(i) * values);
  out.commit();
  *length += k_zero;
}

}  // namespace orvel
