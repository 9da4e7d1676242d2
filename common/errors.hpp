// The two ways a run ends early: a bad input file (input_error) and an
// explicit stop with a message of the model's own (run_stop).
#pragma once

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace orvel {

// A file that cannot be read as expected.  what() is "FILE:LINE: MESSAGE";
// line 0 means the error concerns the file as a whole.
class input_error : public std::runtime_error {
 public:
  input_error(const std::string& file, int64_t line, const std::string& message)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + message),
        file_(file),
        line_(line),
        message_(message) {}
  // A value other than the one expected.
  static input_error mismatch(const std::string& file, int64_t line, const std::string& expected,
                              const std::string& found) {
    return input_error(file, line, "expected " + expected + ", found " + found);
  }
  const std::string& file() const { return file_; }
  int64_t line() const { return line_; }
  const std::string& message() const { return message_; }

  // A stop whose own text the model prints on standard output: the text
  // stays, and the error line on standard error then names the file at
  // fault.
  input_error& with_stop_text(std::string text) {
    stop_text_ = std::move(text);
    return *this;
  }
  const std::string& stop_text() const { return stop_text_; }

 private:
  std::string file_;
  int64_t line_;
  std::string message_;
  std::string stop_text_;
};

// A failure of the machine rather than of the input: a result file that
// cannot be written (disk full, file too large, no permission).  what() is
// "FILE:0: MESSAGE" as for input_error, whose kind it extends, so that every
// place that takes back a half-made group of files for a refused input does
// the same for it; the run ends with its own status (environment_status).
class environment_error : public input_error {
 public:
  environment_error(const std::string& file, const std::string& message) : input_error(file, 0, message) {}
};

// The exit status of a run ended by its environment: a result that cannot be
// written, or memory that runs out after the start.
constexpr int environment_status = 3;

// An explicit stop of the run: the message is printed exactly as given (on
// standard output or standard error) and the process ends with `status`.
class run_stop : public std::runtime_error {
 public:
  enum class stream { out, err };
  run_stop(const std::string& line, stream where, int status)
      : std::runtime_error(line), where_(where), status_(status) {}
  stream where() const { return where_; }
  int status() const { return status_; }

 private:
  stream where_;
  int status_;
};

// A number as a message shows it: the shortest of fixed or exponent form
// with `digits` significant digits (6 unless asked).
inline std::string value_text(double x, int digits = 6) {
  std::ostringstream s;
  s.precision(digits);
  s << x;
  return s.str();
}

// "NAME = VALUE", the way messages name an option and its value.
inline std::string option_text(const char* name, int32_t v) { return std::string(name) + " = " + std::to_string(v); }
inline std::string option_text(const char* name, double v) { return std::string(name) + " = " + value_text(v); }

}  // namespace orvel
