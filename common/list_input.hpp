// Free-format (list-directed) input of text files.
//
// One read takes one record: values are separated by blanks, commas or line
// ends; a read that needs more values than its line holds continues on the
// following lines, passing blank lines; values on its last line beyond those
// needed are ignored; a "/" met while values are still needed ends the read
// and leaves the remaining variables unchanged.  An unquoted text item is one
// word (it ends at a blank, comma or slash); a quoted one ('...' or "...")
// may hold blanks.  Integers are 32-bit; reals are converted straight to
// their own precision.  Every error is an input_error naming the file, the
// line, what was expected and what was found.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

class list_reader {
 public:
  // Reads the whole file; a missing or unreadable file is an input_error.
  explicit list_reader(const std::string& path);
  // Lines already in memory; `numbers` gives the line number each one had in
  // the file `name` (1, 2, 3, ... when empty).
  list_reader(std::string name, std::vector<std::string> lines, std::vector<int64_t> numbers = {});

  const std::string& name() const { return name_; }
  bool at_end() const { return pos_ >= lines_.size(); }
  // Lines not yet read (the current one included).
  std::size_t lines_left() const { return at_end() ? 0 : lines_.size() - pos_; }
  // Line number (in the file) of the next line to be read.
  int64_t line_number() const { return number_of(pos_); }
  // Line number of the first value (or "/") of the last record read.
  int64_t record_line() const { return record_line_; }

  // The line of each named value read after keep_places(), in read order:
  // checks made after the file is closed can then point at the line of the
  // value they refuse.
  struct place {
    std::string name;
    int64_t line = 0;
  };
  void keep_places() { keep_places_ = true; }

  // Refuses real values that are not finite (NaN, Inf) from now on: a data
  // file that moves particles holds numbers.
  void finite_only() { finite_only_ = true; }

  // The range of the real values read under a name (the `what` of a read):
  // from now on a value of that name outside its range is an input_error
  // naming the file, the line, the value and the range.  `ranges` must
  // outlive the reads.
  struct value_range {
    std::string_view name;
    double low;
    double high;
    std::string_view unit;
  };
  void limit_values(std::span<const value_range> ranges) { ranges_ = ranges; }

  // Lines that hold anything but blanks, and the file line of the n-th of
  // them (n from 1; 0 when there are fewer).
  int64_t value_lines() const;
  int64_t value_line_number(int64_t n) const;
  const std::vector<place>& places() const { return places_; }

  // One record of values read in order.  Returns false when a "/" ended the
  // read before every variable got a value.
  template <typename... T>
  bool read(T&... v) {
    record r(*this);
    return (r.item(v) && ...);
  }
  // The same, with the name of each variable for error messages.
  template <typename... T>
  bool read(std::initializer_list<std::string_view> names, T&... v) {
    record r(*this);
    auto it = names.begin();
    auto next = [&]() { return it != names.end() ? *it++ : std::string_view{}; };
    return (r.item(v, next()) && ...);
  }

  // The next line as it stands (a formatted "A" read), without its line end.
  // End of file is an input_error naming `what`.
  std::string read_line(std::string_view what);
  // Skips one line (end of file is an input_error naming `what`).
  void skip_line(std::string_view what);

  // A record read item by item; it ends, skipping the rest of its last line,
  // when the object goes out of scope.
  class record {
   public:
    explicit record(list_reader& r);
    ~record();
    record(const record&) = delete;
    record& operator=(const record&) = delete;

    bool item(int32_t& v, std::string_view what = {});
    bool item(float& v, std::string_view what = {});
    bool item(double& v, std::string_view what = {});
    bool item(std::string& v, std::string_view what = {});
    // n values in a row.
    template <typename T>
    bool items(T* v, int64_t n, std::string_view what = {}) {
      for (int64_t k = 0; k < n; ++k)
        if (!item(v[k], what)) return false;
      return true;
    }
    // True once a "/" has ended the record.
    bool ended() const { return ended_; }
    // The line the record stands on now (its last line once its values are
    // read), and what is left of it after the values read so far.
    std::string_view line() const;
    std::string_view rest_of_line() const;

   private:
    // Next value token; false at a "/" (the record then ends).
    bool next_token(std::string_view type, std::string_view what, std::string& tok, bool& quoted);
    [[noreturn]] void bad(std::string_view type, std::string_view what, const std::string& found) const;
    // A value of name `what` against its range, when the reader has one.
    void check_range(double v, std::string_view what) const;

    list_reader& r_;
    bool ended_ = false;
    bool started_ = false;
    bool found_ = false;
    int64_t tok_line_ = 0;
  };

 private:
  int64_t number_of(std::size_t index) const;

  std::string name_;
  std::vector<std::string> lines_;
  std::vector<int64_t> numbers_;
  std::size_t pos_ = 0;  // line being read
  std::size_t col_ = 0;  // column within it
  int64_t record_line_ = 0;
  bool keep_places_ = false;
  bool finite_only_ = false;
  std::span<const value_range> ranges_;
  std::vector<place> places_;
};

// The UTF-8 byte-order mark that some editors put at the start of a file:
// it is no part of the first value.
void drop_byte_order_mark(std::string& first_line);

// Values in a piece of a line, separated as a record's values are (blanks,
// tabs and commas); a "/" ends them.
int32_t count_values(std::string_view text);

// True when a comma joins two runs of digits without a decimal point
// ("8,0", "12,5" but not "8.0,190.0"): in a line of numbers, most likely a
// decimal comma.
bool comma_between_digits(std::string_view text);

// Conversions with the reader's rules; false when the text is not one whole
// value of the type.
bool parse_int32(std::string_view s, int32_t& v);
bool parse_float(std::string_view s, float& v);
bool parse_double(std::string_view s, double& v);

}  // namespace orvel
