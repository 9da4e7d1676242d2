#include "output/result_layout.hpp"

#include <algorithm>
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
                         (std::isfinite(value) ? " is beyond the whole numbers of its integer field " + field_text(column)
                                               : " is not a finite number")),
      quantity_(std::move(quantity)),
      value_(value) {}

std::string value_stop_line(const result_value_error& e, const std::string& where, double hours) {
  return "orvel: error: the result " + std::string(e.what()) + ", for " + where + " at " + value_text(hours, 9) +
         " h: the run stops and the result files of that time are not written";
}

void stop_for_value(const result_value_error& e, const std::string& where, double hours) {
  throw run_stop(value_stop_line(e, where, hours), run_stop::stream::err, 1);
}

std::string table_layout::header() const {
  std::string line;
  for (const auto& c : columns_) line += fmt_a(c.label, c.header_width);
  return line;
}

std::size_t table_layout::row_width() const {
  std::size_t width = 0;
  for (const auto& c : columns_) width += static_cast<std::size_t>(c.w > 0 ? c.w : 0) + 1;
  return width;
}

namespace {

// An integer column holds whole values of 64-bit integers: from -2^63 up to
// (not including) 2^63.
bool integer_holds(double x) { return x >= -9223372036854775808.0 && x < 9223372036854775808.0; }

void check_value(const result_column& c, double x) {
  if (!std::isfinite(x) || (c.kind == 'I' && !integer_holds(x))) throw result_value_error(quantity_of(c), x, c);
}

}  // namespace

void table_layout::format_row(std::span<const double> values, std::string& out) const {
  const std::size_t start = out.size();
  const std::size_t count = std::min(values.size(), columns_.size());
  for (std::size_t i = 0; i < count; ++i) {
    try {
      check_value(columns_[i], values[i]);
    } catch (...) {
      out.resize(start);
      throw;
    }
  }
  // Every field in its width straight into the row; a value too wide for
  // its field (asterisks) has the rest of the row written again in fields
  // wide enough.
  out.resize(start + row_width());
  char* o = out.data() + start;
  for (std::size_t i = 0; i < count; ++i) {
    const auto& c = columns_[i];
    if (i > 0) *o++ = ',';
    const double x = values[i];
    const int n = c.kind == 'I' ? put_i(o, static_cast<int64_t>(x), c.w) : put_f(o, x, c.w, c.d);
    if (n > 0 && *o == '*') {
      out.resize(static_cast<std::size_t>(o - out.data()));
      for (std::size_t j = i; j < count; ++j) {
        const auto& cj = columns_[j];
        if (j > i) out += ',';
        out += cj.kind == 'I' ? fit_i(static_cast<int64_t>(values[j]), cj.w) : fit_f(values[j], cj.w, cj.d);
      }
      out += '\n';
      return;
    }
    o += n;
  }
  *o++ = '\n';
  out.resize(static_cast<std::size_t>(o - out.data()));
}

result_table::result_table(std::string name, std::span<const result_column> columns)
    : file_(std::move(name)), layout_(columns) {
  file_.line(layout_.header());
}

void result_table::row(std::initializer_list<double> values) {
  row(std::span<const double>(values.begin(), values.size()));
}

void result_table::row(std::span<const double> values) {
  if (values.size() != layout_.columns().size()) {
    throw std::logic_error(file_.name() + ": a row of " + std::to_string(values.size()) + " values for " +
                           std::to_string(layout_.columns().size()) + " columns");
  }
  line_.clear();
  layout_.format_row(values, line_);
  file_.write(line_);
}

}  // namespace orvel
