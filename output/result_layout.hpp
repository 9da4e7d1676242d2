// What every result file of a run shares: names built from the run key and
// fixed-width digit fields, the output minute and the time in hours of a
// step, and one table writer (a header line of right-justified labels, then
// rows of fixed-width values separated by commas) on top of result_file, so
// that a file appears under its real name only once it is complete.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>

#include "common/result_file.hpp"

namespace orvel {

// A value n written as w characters: the zero-padded decimal number for 0 to
// 10^w - 1; from 10^w on the first character is "0" + n div 10^(w-1), a
// character past "9" (1,000,000 in six characters gives ":00000").
std::string digit_field(int64_t n, int w);

// The time of output step `step` (0 at time 0): x = float(step) * deltat / 60
// in single precision, the output minute is x rounded to the nearest whole
// number (halves away from zero) and the time column x / 60 in hours.
struct output_time {
  int64_t minute;  // output minute of the file name
  float hours;     // time column of particle and grid files
};
output_time output_time_of(int32_t step);

// Digits of the output minute in the names of the particle and grid files:
// six, or as many as the minute of the run's horizon needs beyond 999999
// (a run of ten years ends at minute 5256000), the same for every file of
// the run.
int minute_digits();

// Result file names.  `clave` contributes exactly its first four characters
// (blank-padded).
std::string particle_file_name(const std::string& clave, int32_t step, int32_t sim);
// Grid file of a spill (instantaneous release), of one sub-spill, or of all
// the sub-spills of a continuous release.
std::string grid_file_name(const std::string& clave, int32_t spill, int32_t step);
std::string subspill_grid_file_name(const std::string& clave, int32_t spill, int32_t step);
std::string all_subspill_grid_file_name(const std::string& clave, int32_t step);
// Property file of a spill, of one sub-spill, and of all the sub-spills.
std::string property_file_name(const std::string& clave, int32_t spill);
std::string subspill_property_file_name(const std::string& clave, int32_t spill);
std::string all_subspill_property_file_name(const std::string& clave);
// Concentration-factor property file of a spill and of one sub-spill.
std::string cf_file_name(const std::string& clave, int32_t spill);
std::string subspill_cf_file_name(const std::string& clave, int32_t spill);

// One column of a result table: its label (with the "," that separates it
// from the next one, none on the last) right-justified in header_width
// characters, and its values in a fixed-point field Fw.d or an integer field
// Iw.
struct result_column {
  const char* label;
  int header_width;
  char kind;  // 'F' or 'I'
  int w;
  int d;
};

// A value that a result table refuses to write: not a finite number, or a
// value an integer column cannot hold (beyond 64-bit integers).  The writer
// that knows the row turns it into the stop of the run (stop_for_value).
class result_value_error : public std::runtime_error {
 public:
  result_value_error(std::string quantity, double value, const result_column& column);
  const std::string& quantity() const { return quantity_; }
  double value() const { return value_; }

 private:
  std::string quantity_;
  double value_;
};

// The line that stops the run for a refused value: it names the quantity,
// `where` (the spill and the particle or cell), the time in hours and the
// value, and says that the result files of that output time are not written.
std::string value_stop_line(const result_value_error& e, const std::string& where, double hours);

// The stop of the run for a refused value: status 1 and value_stop_line.
[[noreturn]] void stop_for_value(const result_value_error& e, const std::string& where, double hours);

// The layout of a result table: a header line of right-justified labels,
// then rows of values in the columns' fixed fields, each followed by ","
// except the last.  A value that fits its field keeps the field's width; a
// finite value too wide for it takes a field just wide enough (the row
// grows by the characters it needs).  A value that is not finite, or that an
// integer column cannot hold, is a result_value_error: no result holds NaN,
// Infinity or asterisks.
class table_layout {
 public:
  explicit table_layout(std::span<const result_column> columns) : columns_(columns) {}
  // The header line without its line end.
  std::string header() const;
  // Characters of one row whose values all fit, with its line end.
  std::size_t row_width() const;
  // One row with its line end appended to `out`; as many values as columns
  // (integer columns take whole values).  On a refused value `out` is left
  // as it was.
  void format_row(std::span<const double> values, std::string& out) const;
  std::span<const result_column> columns() const { return columns_; }

 private:
  std::span<const result_column> columns_;
};

// A result file holding a table: the header line written at construction,
// then one line per row().  Nothing appears under the file's name until
// commit().
class result_table {
 public:
  result_table(std::string name, std::span<const result_column> columns);
  // One row; as many values as columns (integer columns take whole values).
  void row(std::initializer_list<double> values);
  void row(std::span<const double> values);
  // Characters of one row whose values all fit, with its line end.
  std::size_t row_width() const { return layout_.row_width(); }
  // One row with its line end appended to `out`.  For rows formatted apart
  // (on several threads) and written in order by lines().
  void format_row(std::span<const double> values, std::string& out) const { layout_.format_row(values, out); }
  // Whole rows formatted by format_row, written as they stand.
  void lines(std::string_view rows) { file_.write(rows); }
  void commit() { file_.commit(); }
  const std::string& name() const { return file_.name(); }

 private:
  result_file file_;
  table_layout layout_;
  std::string line_;
};

}  // namespace orvel
