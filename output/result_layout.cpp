#include "output/result_layout.hpp"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/format.hpp"
#include "common/text.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

std::string digit_field(int64_t n, int w) {
  std::string s(static_cast<std::size_t>(w), '0');
  int64_t p = 1;
  for (int i = 1; i < w; ++i) p *= 10;
  // The leading place takes the whole quotient: past 9 it runs on through
  // the characters after "9".
  s[0] = static_cast<char>(static_cast<unsigned char>('0' + n / p));
  for (int i = 1; i < w; ++i) {
    p /= 10;
    s[static_cast<std::size_t>(i)] = static_cast<char>('0' + (n % (10 * p)) / p);
  }
  return s;
}

output_time output_time_of(int32_t step) {
  const float x = static_cast<float>(step) * var_run.deltat / 60.0f;
  return {static_cast<int64_t>(std::llround(x)), x / 60.0f};
}

namespace {

std::string key(const std::string& clave) { return fixlen(clave, 4); }

std::string minute6(int32_t step) { return digit_field(output_time_of(step).minute, 6); }

}  // namespace

std::string particle_file_name(const std::string& clave, int32_t step, int32_t sim) {
  if (var_run.simtype__operat_probabil == 2) {
    return key(clave) + "_particles_" + digit_field(sim, 5) + "_" + digit_field(output_time_of(step).minute, 5) +
           ".txt";
  }
  return key(clave) + "_particles_" + minute6(step) + ".txt";
}

std::string grid_file_name(const std::string& clave, int32_t spill, int32_t step) {
  return key(clave) + "_grid_" + digit_field(spill, 3) + "_" + minute6(step) + ".txt";
}

std::string subspill_grid_file_name(const std::string& clave, int32_t spill, int32_t step) {
  return key(clave) + "_grid_subspill_" + digit_field(spill, 3) + "_" + minute6(step) + ".txt";
}

std::string all_subspill_grid_file_name(const std::string& clave, int32_t step) {
  return key(clave) + "_grid_001_" + minute6(step) + ".txt";
}

std::string property_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_properties_" + digit_field(spill, 3) + ".txt";
}

std::string subspill_property_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_properties_subspill_" + digit_field(spill, 3) + ".txt";
}

std::string all_subspill_property_file_name(const std::string& clave) {
  return key(clave) + "_properties_001.txt";
}

std::string cf_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_CF_" + digit_field(spill, 3) + ".txt";
}

std::string subspill_cf_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_CF_subspill_" + digit_field(spill, 3) + ".txt";
}

result_table::result_table(std::string name, std::span<const result_column> columns)
    : file_(std::move(name)), columns_(columns) {
  line_.clear();
  for (const auto& c : columns_) line_ += fmt_a(c.label, c.header_width);
  file_.line(line_);
}

void result_table::row(std::initializer_list<double> values) {
  row(std::span<const double>(values.begin(), values.size()));
}

void result_table::row(std::span<const double> values) {
  if (values.size() != columns_.size()) {
    throw std::logic_error(file_.name() + ": a row of " + std::to_string(values.size()) + " values for " +
                           std::to_string(columns_.size()) + " columns");
  }
  // One line straight into a local buffer (a wider table into line_).
  const std::size_t width = row_width();
  char local[256];
  if (width > sizeof local) line_.resize(width);
  char* const start = width > sizeof local ? line_.data() : local;
  const char* end = format_row(values, start);
  file_.write(std::string_view(start, static_cast<std::size_t>(end - start)));
}

std::size_t result_table::row_width() const {
  std::size_t width = 0;
  for (const auto& c : columns_) width += static_cast<std::size_t>(c.w > 0 ? c.w : 0) + 1;
  return width;
}

char* result_table::format_row(std::span<const double> values, char* out) const {
  char* o = out;
  for (std::size_t i = 0; i < values.size() && i < columns_.size(); ++i) {
    const auto& c = columns_[i];
    if (i > 0) *o++ = ',';
    if (c.kind == 'I') {
      o += put_i(o, static_cast<int64_t>(values[i]), c.w);
    } else {
      o += put_f(o, values[i], c.w, c.d);
    }
  }
  *o++ = '\n';
  return o;
}

}  // namespace orvel
