#include "output/result_layout.hpp"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/text.hpp"
#include "control/state/var_cfg.hpp"
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

int minute_digits() {
  const float x = var_cfg.simulationtimehorizon / 60.0f;
  const int64_t last = std::isfinite(x) && x > 0.0f ? std::llround(x) : 0;
  int w = 6;
  for (int64_t p = 1000000; p <= last && w < 18; p *= 10) ++w;
  return w;
}

namespace {

std::string key(const std::string& clave) { return fixlen(clave, 4); }

std::string minute6(int32_t step) { return digit_field(output_time_of(step).minute, minute_digits()); }

// The number of a spill or sub-spill in a file name: three digits, or as
// many as the run's largest spill number needs beyond 999.
std::string spill_field(int32_t n) {
  int w = 3;
  for (int64_t p = 1000; p <= var_cfg.spills_number; p *= 10) ++w;
  return digit_field(n, w);
}

}  // namespace

std::string particle_file_name(const std::string& clave, int32_t step, int32_t sim) {
  if (var_run.simtype__operat_probabil == 2) {
    return key(clave) + "_particles_" + digit_field(sim, 5) + "_" + digit_field(output_time_of(step).minute, 5) +
           ".txt";
  }
  return key(clave) + "_particles_" + minute6(step) + ".txt";
}

std::string grid_file_name(const std::string& clave, int32_t spill, int32_t step) {
  return key(clave) + "_grid_" + spill_field(spill) + "_" + minute6(step) + ".txt";
}

std::string subspill_grid_file_name(const std::string& clave, int32_t spill, int32_t step) {
  return key(clave) + "_grid_subspill_" + spill_field(spill) + "_" + minute6(step) + ".txt";
}

std::string all_subspill_grid_file_name(const std::string& clave, int32_t step) {
  return key(clave) + "_grid_001_" + minute6(step) + ".txt";
}

std::string property_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_properties_" + spill_field(spill) + ".txt";
}

std::string subspill_property_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_properties_subspill_" + spill_field(spill) + ".txt";
}

std::string all_subspill_property_file_name(const std::string& clave) {
  return key(clave) + "_properties_001.txt";
}

std::string cf_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_CF_" + spill_field(spill) + ".txt";
}

std::string subspill_cf_file_name(const std::string& clave, int32_t spill) {
  return key(clave) + "_CF_subspill_" + spill_field(spill) + ".txt";
}

namespace {

// The label of a column without its separating comma and blanks.
std::string quantity_of(const result_column& c) {
  std::string q(trimmed(c.label));
  if (!q.empty() && q.back() == ',') q.pop_back();
  return q;
}

std::string field_text(const result_column& c) {
  return c.kind == 'I' ? "I" + std::to_string(c.w) : "F" + std::to_string(c.w) + "." + std::to_string(c.d);
}

}  // namespace

result_value_error::result_value_error(std::string quantity, double value, const result_column& column)
    : std::runtime_error(quantity + " = " + value_text(value, 9) +
                         (std::isfinite(value) ? " is too wide for its field " + field_text(column)
                                               : " is not a finite number")),
      quantity_(std::move(quantity)),
      value_(value) {}

void stop_for_value(const result_value_error& e, const std::string& where, double hours) {
  throw run_stop("orvel: error: the result " + std::string(e.what()) + ", for " + where + " at " +
                     value_text(hours, 9) + " h: the run stops and the result files of that time are not written",
                 run_stop::stream::err, 1);
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
    const double x = values[i];
    // An integer column takes whole values well inside 64 bits.
    if (!std::isfinite(x) || (c.kind == 'I' && std::fabs(x) >= 1e18)) throw result_value_error(quantity_of(c), x, c);
    const int n = c.kind == 'I' ? put_i(o, static_cast<int64_t>(x), c.w) : put_f(o, x, c.w, c.d);
    if (n > 0 && *o == '*') throw result_value_error(quantity_of(c), x, c);
    o += n;
  }
  *o++ = '\n';
  return o;
}

}  // namespace orvel
