#include "output/particle_files.hpp"

#include <cstdint>
#include <string>
#include <vector>

#include "common/parallel.hpp"

#include "control/state/all.hpp"
#include "output/result_layout.hpp"

namespace orvel {
namespace {

// The standard layout: each label as wide as its value field and the comma.
constexpr result_column standard[] = {
    {"time (h),", 9, 'F', 8, 2},
    {"spill_id (-),", 14, 'I', 13, 0},
    {"subspill_id (-),", 17, 'I', 16, 0},
    {"longitude (\xBA),", 15, 'F', 14, 7},
    {"latitude (\xBA),", 15, 'F', 14, 7},
    {"depth (m),", 11, 'F', 10, 4},
    {"status_index (-)", 17, 'I', 17, 0},
};

// The layout used without a model grid.  Its rows are aligned under the
// labels: spill identifier, longitude, latitude, state code and droplet
// diameter in metres (0 where no diameter has been given).
constexpr result_column alternative[] = {
    {"VERTIDO,", 8, 'I', 7, 0},
    {"LONGITUD,", 10, 'F', 9, 4},
    {"LATITUD,", 12, 'F', 11, 6},
    {"INDICE,", 10, 'I', 9, 0},
    {"DIAMETRO PARTICULA", 20, 'F', 20, 8},
};

}  // namespace

void esc_particulas(const std::string& clave, int32_t step, int32_t sim) {
  const auto& c = var_cfg;
  const auto& p = var_part;
  const int32_t np = var_run.particle_number;
  const output_time at = output_time_of(step);
  const bool standard_layout = var_mallas.zcells_number == 1;
  result_table f(particle_file_name(clave, step, sim), standard_layout ? std::span<const result_column>(standard) : std::span<const result_column>(alternative));
  const double now = static_cast<double>(static_cast<float>(step) * var_run.deltat);
  const bool continuous = c.spill__instant_contin != 1;
  const bool diameters = p.diam_part.allocated();
  for (int32_t i = 1; i <= c.spills_number; ++i) {
    if (!(now >= c.spillstarttime(i))) continue;
    // A continuous release has one spill line: every sub-spill carries its
    // identifier and its own number.
    const double id = continuous ? c.spill_id(c.iternumber) : c.spill_id(i);
    const double sub = continuous ? i : 1;
    if (np < 1) continue;
    (void)p.x_part(np, i), (void)p.y_part(np, i), (void)p.indp(np, i);
    if (standard_layout) (void)p.z_part(np, i);
    if (diameters && !standard_layout) (void)p.diam_part(np, i);
    const double* xs = p.x_part.ptr(1, i);
    const double* ys = p.y_part.ptr(1, i);
    const double* zs = standard_layout ? p.z_part.ptr(1, i) : nullptr;
    const int32_t* states = p.indp.ptr(1, i);
    const double* ds = diameters && !standard_layout ? p.diam_part.ptr(1, i) : nullptr;
    const double factor = var_mallas.factor;
    const double hours = at.hours;
    // The rows by blocks, formatted on the threads, written in block order
    // while later blocks are still being formatted.
    const std::size_t width = f.row_width();
    std::vector<std::string> blocks(static_cast<std::size_t>(block_count(np)));
    auto format = [&](int64_t b, int64_t first, int64_t last) {
      std::string& text = blocks[static_cast<std::size_t>(b)];
      text.clear();
      text.reserve(width * static_cast<std::size_t>(last - first));
      int64_t j = first;
      try {
        for (; j < last; ++j) {
          if (standard_layout) {
            const double row[] = {hours, id, sub, xs[j] - 360.0, ys[j], zs[j] * factor, static_cast<double>(states[j])};
            f.format_row(row, text);
          } else {
            const double row[] = {id, xs[j] - 360.0, ys[j], static_cast<double>(states[j]), ds ? ds[j] : 0.0};
            f.format_row(row, text);
          }
        }
      } catch (const result_value_error& e) {
        stop_for_value(e,
                       "particle " + std::to_string(j + 1) + " of " + (continuous ? "sub-spill " : "spill ") +
                           std::to_string(i),
                       hours);
      }
    };
    parallel_blocks_ordered(np, format, [&](int64_t b, int64_t, int64_t) {
      std::string& text = blocks[static_cast<std::size_t>(b)];
      f.lines(text);
      std::string().swap(text);
    });
  }
  f.commit();
}

}  // namespace orvel
